// The SQL report compilers and the handlers that list what they compiled.
#include "tests/analysis/ReportTestSupport.h"

#include <unistd.h>

#include "controls/model/gxListModel.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"

using namespace reports;

namespace {
class SqlReports : public ReportTest {
protected:
    // The top-20 SQL report over both fixture logs, as the tree runs it over every loaded log.
    void CompileTop20Sql() {
        view_.m_csListKey = "TOP20_SQL_ALL";
        _csDocToOpen = "TOP20_SQL_ALL";
        EXPECT_EQ(Send(WM_COMPILETOP20SQL, "20230501QServer1.log", "TOP20SQL", true), 31);
        EXPECT_EQ(Send(WM_COMPILETOP20SQL, "20230501QServer2.log", "TOP20SQL"), 22);
    }
};
}  // namespace

TEST_F(SqlReports, Top20SqlSeriesAndItsList) {
    CompileTop20Sql();
    EXPECT_TRUE(PostedToView().empty());  // the sender asks for the list itself
    EXPECT_EQ(view_.m_nSqlCount, 8);
    // The malformed START and END lines of the second log are passed over and traced.
    EXPECT_TRUE(Traced("CVeltrinView::OnCompileTop20SQL: START line 13 skipped: too few fields"));
    EXPECT_TRUE(Traced("CVeltrinView::OnCompileTop20SQL: END line 16 skipped: too few fields"));

    EXPECT_EQ(Send(WM_POPULATETOP20SQL, "20230501QServer2.log", "TOP20_SQL_ALL"), 8);
    ExpectGolden(ReadFile(InDir("TOP20_SQL_ALL.log")), "top20sql_series.golden");
    const Rows rows = host_.Rows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "20230501QServer2.log", "2", "4", "2", "2023/05/01",
                                                 "01:00:00 PM", "01:00:02 PM", "00:00:02 (2000 msec)",
                                                 "SELECT C1, C2 FROM ORDERS WHERE ID = :1"}));
    EXPECT_EQ(rows[1][9], "UPDATE STOCK SET Q = :1,WHERE ID = :2");  // lines join with nothing between
    EXPECT_EQ(rows[2][9], "");  // a leading comment ends the statement of the whole-log compile
    EXPECT_EQ(rows[8],
              (std::vector<std::string>{"TOP20LOG", "TOP20_SQL_ALL.log", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(host_.GetList().GetColumnCount(), 10);
    // "StartSqlSumRptOnT20" is not set: nothing else starts.
    EXPECT_TRUE(host_.Queue().empty());
}

TEST_F(SqlReports, StartSqlSumRptOnT20StartsTheSummary) {
    CompileTop20Sql();
    host_.SetProfile("Settings", "StartSqlSumRptOnT20", "1");
    Send(WM_POPULATETOP20SQL, "20230501QServer2.log", "TOP20_SQL_ALL");
    ASSERT_EQ(host_.PostedLog().size(), 1u);
    EXPECT_TRUE(host_.PostedLog()[0].toMainWindow);
    EXPECT_EQ(host_.PostedLog()[0].message, (UINT)WM_RUNT20SQLSUMREPORT);
    EXPECT_EQ(_csCommand, "NAME=TOP20_SQL_ALL.log|TYPE=SUBITEM|EXE=TOP20_SQL_ALL");
    EXPECT_EQ(_csDocToOpen, "SQLSUMMARY_ALL");

    // An empty report does not start it.
    host_.ClearRecords();
    view_.m_aTop20Sql.DeleteAll();
    EXPECT_EQ(Send(WM_POPULATETOP20SQL, "20230501QServer2.log", "TOP20_SQL_ALL"), 0);
    EXPECT_TRUE(host_.PostedLog().empty());
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
}

// The report log is written on a thread of its own; a write that fails at the end of the report still
// gives the message of the file's own error.
TEST_F(SqlReports, ReportLogWriteErrorGivesTheFileErrorMessage) {
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    CompileTop20Sql();
    const std::string log = InDir("TOP20_SQL_ALL.log");
    ASSERT_EQ(::unlink(log.c_str()), 0);
    ASSERT_EQ(::symlink("/dev/full", log.c_str()), 0);
    // The message a failing write of that file gives when it is closed.
    CString expected;
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(
            log.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeText));
        file.WriteString("x\n");
        try {
            file.Close();
            FAIL() << "a write to /dev/full succeeded";
        } catch (CFileException* e) {
            char text[1024];
            e->GetErrorMessage(text, sizeof text);
            expected = text;
            e->Delete();
        }
    }
    host_.ClearRecords();
    Send(WM_COMPILETOP20SQL, "20230501QServer1.log", "TOP20SQL");
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, expected);
    EXPECT_TRUE(host_.Boxes()[0].type & MB_ICONEXCLAMATION);
}

// The SQL statement count summary read back from the top-20 report log, its list and its own report
// log, then the histogram of one of its statements.
TEST_F(SqlReports, SummaryOfATop20ReportThenItsHistogram) {
    CompileTop20Sql();
    Send(WM_POPULATETOP20SQL, "20230501QServer2.log", "TOP20_SQL_ALL");

    CVeltrinAnalysis summary(&host_);
    summary.m_csBaseFolder = dir_.c_str();
    summary.m_csListKey = "SQLSUMMARY_ALL";
    summary.m_csReportType = "SQLSUMMARY";
    host_.ClearRecords();
    host_.SetDeliverer([&](const CRecordingHost::Posted& p) {
        bool handled = false;
        if (!p.toMainWindow)
            summary.HandleViewMessage(p.message, p.wParam, p.lParam, handled);
    });
    _csDocToOpen = "SQLSUMMARY_ALL";
    _csCommand = "NAME=TOP20_SQL_ALL.log|TYPE=SUBITEM|EXE=TOP20_SQL_ALL";
    EXPECT_GT(summary.OnRunT20SqlSumReport(0, 0), 0);
    EXPECT_TRUE(Traced("CVeltrinView::OnRunT20SqlSumReport: Found Title - SQL Statement Count Summary"));
    EXPECT_EQ(summary.m_csSqlSummaryLogName, InDir("TOP20_SQL_ALL.log").c_str());
    _csDocToOpen = "SOMETHING_ELSE";  // the summary writes the log named when it was compiled
    EXPECT_EQ(host_.DeliverAll(), 1);

    const Rows expected = {
        {"1", "3", "00:00:02 (2090 msec)", "40", "2000", "696", "SELECT C1, C2 FROM ORDERS WHERE ID = :1"},
        {"2", "1", "00:00:00 (300 msec)", "300", "300", "300", "UPDATE STOCK SET Q = :1,WHERE ID = :2"},
        {"3", "1", "00:00:00 (40 msec)", "40", "40", "40", "select c1, c2 from orders where id = :1"},
        {"4", "1", "00:00:00 (10 msec)", "10", "10", "10", "SELECT X FROM DUAL"},
        {"5", "1", "00:00:00 (10 msec)", "10", "10", "10", "SELECT Y FROM DUAL"},
    };
    // No marker row; the summary line of the empty statement has four fields and is passed over.
    EXPECT_EQ(host_.Rows(), expected);
    EXPECT_EQ(host_.GetList().GetColumnWidth(0), 0);
    ExpectGolden(ReadFile(InDir("SQLSUMMARY_ALL.log")), "sqlsummary.golden");
    EXPECT_FALSE(std::ifstream(InDir("SOMETHING_ELSE.log")).good());

    // The histogram request a summary row makes, in the new view it opens.
    _csItemKind = "SUBITEM";
    summary.OnRunSubitemItemize(0);
    ASSERT_FALSE(host_.PostedLog().empty());
    EXPECT_EQ(host_.PostedLog().back().message, (UINT)WM_RUNSQLHISTOGRAMREPORT);
    CVeltrinAnalysis histogram(&host_);
    histogram.m_csBaseFolder = "/elsewhere";  // the request names the report log by its full path
    histogram.m_csListKey = _csListKey;
    host_.ClearRecords();
    host_.SetDeliverer([&](const CRecordingHost::Posted& p) {
        bool handled = false;
        if (!p.toMainWindow)
            histogram.HandleViewMessage(p.message, p.wParam, p.lParam, handled);
    });
    EXPECT_GT(histogram.OnRunSqlHistogramReport(0, 0), 0);
    EXPECT_EQ(host_.DeliverAll(), 1);
    // Every execution of the statement in the report log, in file order, whichever layout its time has.
    const Rows found = {
        {"1", "20230501QServer1.log", "3", "7", "6", "2023/05/01", "08:00:01.100", "08:00:01.150",
         "00:00:00 (50 msec)", "SELECT C1, C2 FROM ORDERS WHERE ID = :1"},
        {"2", "20230501QServer1.log", "27", "29", "27", "2023/05/01", "08:00:04.000", "08:00:04.040",
         "00:00:00 (40 msec)", "SELECT C1, C2 FROM ORDERS WHERE ID = :1"},
        {"3", "20230501QServer2.log", "2", "4", "2", "2023/05/01", "01:00:00 PM", "01:00:02 PM",
         "00:00:02 (2000 msec)", "SELECT C1, C2 FROM ORDERS WHERE ID = :1"},
    };
    EXPECT_EQ(host_.Rows(), found);
    EXPECT_EQ(host_.GetList().GetColumnWidth(2), 0);
    EXPECT_EQ(host_.ListRedraws(), (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_EQ(host_.WaitTexts().back(), "TOP20_SQL_ALL.log...\n3 lines processed");
}

// A transaction's SQL report: from its start line to its End line, into the report log and a list
// that ends with the "%s_LOG" marker.
TEST_F(SqlReports, TransactionReport) {
    view_.m_csListKey = "XACT_TR5";
    _csDocToOpen = "XACT_TR5";
    EXPECT_EQ(Send(WM_RUNXACTREPORT, "20230501QServer1.log", "16", true), 25);
    EXPECT_EQ(PostedToView(), (std::vector<UINT>{WM_POPULATEXACTREPORT}));
    EXPECT_EQ(host_.DeliverAll(), 1);
    ExpectGolden(ReadFile(InDir("XACT_TR5.log")), "xactreport.golden");
    const Rows rows = host_.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], "1");
    EXPECT_EQ(rows[0][10], "-- a leading comment lineSELECT C1, C2 FROM ORDERS WHERE ID = :1");
    EXPECT_EQ(rows[1][10], "QServer1 -- START: 2023/05/01 08:00:03.110 TID=1002 SQL: 10SELECT X FROM DUAL");
    EXPECT_EQ(rows[2][0], "XACT_TR5_LOG");
    EXPECT_EQ(rows[2][1], "XACT_TR5.log");

    // A transaction without statements: no row, no marker, the pad says so.
    host_.ClearRecords();
    _csDocToOpen = "XACT_TR6";
    EXPECT_EQ(Send(WM_RUNXACTREPORT, "20230501QServer2.log", "6", true), 7);
    host_.DeliverAll();
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
    EXPECT_EQ(host_.LastPadText(), "\r\n No SQL Transactions Found in this Transaction.");
}

TEST_F(SqlReports, TransactionItemizeSqlReport) {
    view_.m_csListKey = "XACT_IMZ_TR5";
    view_.m_csReportType = "XACT_IMZ_TR";
    _csDocToOpen = "XACT_IMZ_TR5";
    EXPECT_EQ(Send(WM_RUNXACTIMZREPORT, "20230501QServer1.log", "16", true), 25);
    EXPECT_EQ(host_.DeliverAll(), 1);
    ExpectGolden(ReadFile(InDir("XACT_IMZ_TR5.log")), "xactimz.golden");
    const Rows expected = {
        {"1", "17", "20", "17", "2023/05/01", "08:00:03.010", "08:00:03.080", "00:00:00 (70 msec)",
         "00:00:01 (1510 msec)", "-- a leading comment lineSELECT C1, C2 FROM ORDERS WHERE ID = :1",
         "20230501QServer1.log"},
        {"2", "22", "24", "21", "2023/05/01", "08:00:03.110", "08:00:03.120", "00:00:00 (10 msec)",
         "00:00:00 (10 msec)",
         "QServer1 -- START: 2023/05/01 08:00:03.110 TID=1002 SQL: 10SELECT X FROM DUAL",
         "20230501QServer1.log"},
        {"XACTIMZSQL", "XACT_IMZ_TR5.log", "", "", "", "", "", "", "", "", ""},
    };
    EXPECT_EQ(host_.Rows(), expected);
    EXPECT_EQ(host_.GetList().GetColumnWidth(10), 0);  // "File" is hidden while no layout is saved

    // A saved layout shows it again.
    host_.SetProfile("XACT_IMZ_TR", "ColumnCount", "11");
    view_.OnPopulateXactImzSqlReport(0, 0);
    EXPECT_EQ(host_.GetList().GetColumnWidth(10), 45);
}

TEST_F(SqlReports, TransactionSqlSummary) {
    view_.m_csListKey = "XACT_SQLSUM_TR1";
    _csDocToOpen = "XACT_SQLSUM_TR1";
    EXPECT_EQ(Send(WM_RUNXACTSQLSUMREPORT, "20230501QServer1.log", "2", true), 15);
    EXPECT_EQ(host_.DeliverAll(), 1);
    // Statements that differ only in letter case are one.
    const Rows expected = {
        {"1", "1", "00:00:00 (300 msec)", "300", "300", "UPDATE STOCK SET Q = :1,WHERE ID = :2"},
        {"2", "2", "00:00:00 (90 msec)", "40", "50", "SELECT C1, C2 FROM ORDERS WHERE ID = :1"},
        {"XACTSQLSUM", "XACT_SQLSUM_TR1.log", "", "", "", ""},
    };
    EXPECT_EQ(host_.Rows(), expected);
    EXPECT_EQ(ReadFile(InDir("XACT_SQLSUM_TR1.log")),
              "Count       TotalMillis               MinMillis   MaxMillis   Statement\r\n"
              "1           00:00:00 (300 msec)       300         300         UPDATE STOCK SET Q = :1,WHERE "
              "ID = :2\r\n"
              "2           00:00:00 (90 msec)        40          50          SELECT C1, C2 FROM ORDERS WHERE "
              "ID = :1\r\n");
    EXPECT_EQ(host_.WaitTexts()[0], "20230501QServer1.log...");
    EXPECT_EQ(host_.WaitTexts()[2], "Reordering SqlSummary Report");
}

TEST_F(SqlReports, NoSqlDataAndAppendingRequests) {
    view_.m_csListKey = "X";
    _csDocToOpen = "T20";
    EXPECT_EQ(Send(WM_COMPILETOP20SQL, "20230501QServer3.log", "TOP20SQL", true), 2);
    EXPECT_EQ(host_.LastPadText(),
              ("\r\n No Data Available in " + InDir("20230501QServer3.log") +
               " for Itemize Criteria.\r\n\r\n No SQL data found, suspect QServer logging level < 4.")
                  .c_str());
    const std::string header = ReadFile(InDir("T20.log"));
    EXPECT_EQ(header,
              "Filename                     StartRow    EndRow      BindRow     Date        StartTime     "
              "EndTime        "
              "ElapsedTime   Statement\r\n");

    // A request without the new-report flag appends, without a header, to the same log and sets.
    EXPECT_EQ(Send(WM_COMPILETOP20SQL, "20230501QServer1.log", "TOP20SQL"), 31);
    const std::string log = ReadFile(InDir("T20.log"));
    EXPECT_EQ(log.rfind(header, 0), 0u);
    EXPECT_EQ(log.find("Filename", 1), std::string::npos);
    EXPECT_EQ(view_.m_nSqlCount, 6);

    // An END line after a START but too short to read: "No Data", without the logging-level note.
    host_.ClearRecords();
    WriteFile(InDir("short.log"),
              "Q -- START: 2023/05/01 08:00:00.000 T SQL: 1\r\nSELECT 1\r\n"
              "Q -- END: **** SQL Milliseconds: 5\r\n");
    EXPECT_EQ(Send(WM_COMPILETOP20SQL, "short.log", "TOP20SQL", true), 3);
    EXPECT_EQ(host_.LastPadText(),
              ("\r\n No Data Available in " + InDir("short.log") + " for Itemize Criteria.").c_str());
}

TEST_F(SqlReports, MissingInputPostsNothing) {
    view_.m_csListKey = "X";
    _csDocToOpen = "XACT_TR9";
    WriteFile(InDir("XACT_TR9.log"), "an old report\r\n");
    EXPECT_EQ(Send(WM_RUNXACTREPORT, "missing.log", "5", true), 0);
    EXPECT_TRUE(host_.Queue().empty());
    EXPECT_EQ(ReadFile(InDir("XACT_TR9.log")),
              "Filename                     StartRow    EndRow      BindRow     Date        StartTime     "
              "EndTime        "
              "Milliseconds  Statement\r\n");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");

    _csCommand = "NAME=missing.log|TYPE=SUBITEM|EXE=X";
    EXPECT_EQ(view_.OnRunT20SqlSumReport(0, 0), 0);
    EXPECT_TRUE(Traced("CVeltrinView::OnRunT20SqlSumReport: GetFileAttributes failed"));
    EXPECT_TRUE(host_.Queue().empty());

    _csCommand = WAIT_FOR_UPDATE;
    for (UINT m : {WM_COMPILETOP20SQL, WM_RUNXACTREPORT, WM_RUNXACTIMZREPORT, WM_RUNXACTSQLSUMREPORT,
                   WM_RUNT20SQLSUMREPORT, WM_RUNSQLHISTOGRAMREPORT}) {
        bool handled = false;
        EXPECT_EQ(view_.HandleViewMessage(m, 0, 0, handled), 0);
        EXPECT_TRUE(handled);
    }
    EXPECT_TRUE(host_.Queue().empty());
}

// A tab between "--" and a tag counts only where it expands to a single blank, as the tag's blank.
TEST_F(SqlReports, TabBeforeATagCountsWhereItExpandsToOneBlank) {
    view_.m_csListKey = "X";
    _csDocToOpen = "T20TAB";
    WriteFile(InDir("tabs.log"),
              "xxxx--\tSTART: 0x1 2023/05/01 08:00:00.000 Cursor 1\r\nSELECT 1\r\n"
              "xxxx--\tEND: 0x1 2023/05/01 08:00:00.005 **** SQL Milliseconds: 5\r\n"
              "--\tSTART: 0x2 2023/05/01 08:00:01.000 Cursor 2\r\nSELECT 2\r\n"
              "--\tEND: 0x2 2023/05/01 08:00:01.007 **** SQL Milliseconds: 7\r\n");
    EXPECT_EQ(Send(WM_COMPILETOP20SQL, "tabs.log", "TOP20SQL", true), 6);
    EXPECT_EQ(view_.m_nSqlCount, 1);
    const std::string log = ReadFile(InDir("T20TAB.log"));
    EXPECT_NE(log.find("SELECT 1\r\n"), std::string::npos);
    EXPECT_EQ(log.find("SELECT 2"), std::string::npos);
}

// A server that logs its SQL times in seconds: its statements count, with their times in milliseconds.
TEST_F(SqlReports, SqlTimesInSecondsAreRecordedInMilliseconds) {
    WriteFile(InDir("seconds.log"),
              "2023/05/02 08:00:03.400 | Start PAYMENT /pt_QClient://WS0104/1\r\n"
              "-- START: 0x00A1 2023/05/02 08:00:03.458 Cursor 1\r\n"
              "SELECT 1 FROM DUAL\r\n"
              "-- END: 0x00A1 2023/05/02 08:00:03.460 **** SQL Seconds: 0.002\r\n"
              "-- START: 0x00A2 2023/05/02 08:00:04.000 Cursor 2\r\n"
              "SELECT 2 FROM DUAL\r\n"
              "-- END: 0x00A2 2023/05/02 08:00:23.815 **** SQL Seconds: 19.815\r\n"
              "-- START: 0x00A3 2023/05/02 08:00:24.000 Cursor 3\r\n"
              "SELECT 3 FROM DUAL\r\n"
              "-- END: 0x00A3 2023/05/02 08:00:24.000 **** SQL Seconds: n/a\r\n"
              "2023/05/02 08:00:24.100 | End PAYMENT /pt_QClient://WS0104/1 TRANSACTION TIME (sec): 20.7\r\n");
    view_.m_csListKey = "XACT_SQLSUM_TR1";
    _csDocToOpen = "XACT_SQLSUM_TR1";
    EXPECT_EQ(Send(WM_RUNXACTSQLSUMREPORT, "seconds.log", "1", true), 11);
    EXPECT_EQ(host_.DeliverAll(), 1);
    const Rows expected = {
        {"1", "1", "00:00:19 (19815 msec)", "19815", "19815", "SELECT 2 FROM DUAL"},
        {"2", "1", "00:00:00 (2 msec)", "2", "2", "SELECT 1 FROM DUAL"},
        {"3", "1", "00:00:00 (0 msec)", "0", "0", "SELECT 3 FROM DUAL"},
        {"XACTSQLSUM", "XACT_SQLSUM_TR1.log", "", "", "", ""},
    };
    EXPECT_EQ(host_.Rows(), expected);

    // The whole-log compile ranks them by those milliseconds and says nothing of a logging level.
    host_.ClearRecords();
    view_.m_csListKey = "T20";
    _csDocToOpen = "T20";
    EXPECT_EQ(Send(WM_COMPILETOP20SQL, "seconds.log", "TOP20SQL", true), 11);
    EXPECT_EQ(view_.m_nSqlCount, 3);
    EXPECT_EQ(host_.LastPadText(), "");
    const std::string log = ReadFile(InDir("T20.log"));
    EXPECT_NE(log.find("08:00:23.815   00:00:19 (19815 msec) SELECT 2 FROM DUAL"), std::string::npos) << log;
}
