// The top-20 transaction, top-20 SQL and SQL summary report logs written by the compilers and the
// population handlers, read back by their importers: the re-imported rows are the rows the handler
// listed.
#include "tests/analysis/ReportTestSupport.h"

#include <cstdio>

#include "analysis/AppMaps.h"
#include "controls/model/gxListModel.h"

using namespace reports;

namespace {
using Handler = LRESULT (CVeltrinAnalysis::*)(WPARAM, LPARAM);

// A QServer log of n transactions, each with one statement; later ones run longer. A statement holds
// two blanks in a row, which the SQL lists keep.
std::string ManyTransactions(int n) {
    std::string log;
    char line[512];
    for (int i = 0; i < n; ++i) {
        const int sqlMs = 100 + 10 * i, xactMs = 500 + 10 * i;
        std::snprintf(line, sizeof line,
                      "2023/05/02 09:00:%02d.000 | Start Xact%02d QClient:M%02d:1 Port 1\r\n"
                      "QS -- START: 2023/05/02 09:00:%02d.100 TID=%d SQL: %d\r\n"
                      "SELECT  C%d FROM T%d\r\n"
                      "QS -- END: 2023/05/02 09:00:%02d.%03d **** SQL Milliseconds: %d\r\n"
                      "2023/05/02 09:00:%02d.%03d | End Xact%02d TRANSACTION TIME (msec): %d\r\n",
                      i, i, i, i, 1000 + i, sqlMs, i, i, i, 100 + sqlMs, sqlMs, i, xactMs, i, xactMs);
        log += line;
    }
    return log;
}

class ReimportReportLogs : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        savedFolder_ = _csBaseFolder;
    }
    void TearDown() override {
        g_mapImportedLists.RemoveAll();
        _csBaseFolder = savedFolder_;  // a re-import moves it to the folder of the log read
        ReportTest::TearDown();
    }
    // Reads a report log of the folder back into a fresh view, as the main frame asks for it.
    Rows Reimport(Handler handler, const std::string& file, const char* doc, LRESULT expected) {
        readerHost_.ClearRecords();
        _csReportName = InDir(file).c_str();
        _csDocToOpen = doc;
        EXPECT_EQ((reader_.*handler)(0, 0), expected) << file;
        EXPECT_TRUE(readerHost_.Boxes().empty());
        return readerHost_.Rows();
    }
    static Rows WithoutMarker(Rows rows, const char* marker) {
        if (!rows.empty() && rows.back()[0] == marker)
            rows.pop_back();
        return rows;
    }
    void PopulateTop20Xact(const std::vector<std::string>& logs) {
        view_.m_csListKey = "20230501QServer1_T20Xact";
        view_.m_csReportType = "TOP20XACT";
        _csDocToOpen = "20230501QServer1_T20Xact";
        for (size_t i = 0; i < logs.size(); ++i)
            Send(WM_COMPILETOP20XACT, logs[i], "TOP20XACT", i == 0);
        Send(WM_POPULATETOP20XACT, logs.back(), "TOP20XACT");
    }
    void PopulateTop20Sql(const std::vector<std::string>& logs) {
        view_.m_csListKey = "TOP20_SQL_ALL";
        _csDocToOpen = "TOP20_SQL_ALL";
        for (size_t i = 0; i < logs.size(); ++i)
            Send(WM_COMPILETOP20SQL, logs[i], "TOP20SQL", i == 0);
        Send(WM_POPULATETOP20SQL, logs.back(), "TOP20_SQL_ALL");
    }
    // The SQL statement count summary of the top-20 SQL report log, listed and written to its own log.
    Rows RunSqlSummary() {
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
        EXPECT_EQ(host_.DeliverAll(), 1);
        return host_.Rows();
    }

    CString savedFolder_;
    CRecordingHost readerHost_;
    CVeltrinAnalysis reader_{&readerHost_};
};
}  // namespace

// Every cell of the top-20 transactions comes back, a time with its "PM" and an empty last cell
// included. Seven rows make no complete list, so the importer adds no marker row.
TEST_F(ReimportReportLogs, Top20TransactionsOfTwoLogs) {
    PopulateTop20Xact({"20230501QServer1.log", "20230501QServer2.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 8u);
    ASSERT_EQ(written.back()[0], "TOP20LOG");

    const Rows read = Reimport(&CVeltrinAnalysis::ImportTop20TransactionsLog, "20230501QServer1_T20Xact.log",
                               "TOP20_XACT_ALL", 7);
    EXPECT_EQ(read, WithoutMarker(written, "TOP20LOG"));
    EXPECT_EQ(readerHost_.GetList().GetColumnCount(), 11);
    // The caption line holds words: the list's "Elapsed (CT)" is written, and read back, as "Elapsed".
    EXPECT_EQ(readerHost_.GetList().GetColumnName(7), "  Elapsed  ");
}

// Start lines without a client leave the last cells empty; the row still comes back whole.
TEST_F(ReimportReportLogs, Top20TransactionsWithoutClients) {
    WriteFile(InDir("short.log"),
              "2023/05/01 08:00:00.000 | Start A\r\n"
              "2023/05/01 08:00:00.010 | End A TRANSACTION TIME (msec): 10\r\n"
              "2023/05/01 01:00:00 PM | Start B\r\n"
              "2023/05/01 01:00:00 PM | End B TRANSACTION TIME (msec): 0\r\n"
              "2023/05/01 08:00:01.000 | Start C QClient:://M9//1 Port 1\r\n"
              "2023/05/01 08:00:01.020 | End C TRANSACTION TIME (msec): 20\r\n");
    PopulateTop20Xact({"short.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20TransactionsLog, "20230501QServer1_T20Xact.log",
                       "TOP20_XACT_ALL", 3),
              WithoutMarker(written, "TOP20LOG"));
}

// A complete list: twenty rows and the marker row, which names the file that was read.
TEST_F(ReimportReportLogs, CompleteTop20TransactionsListNamesTheFileRead) {
    WriteFile(InDir("many.log"), ManyTransactions(22));
    PopulateTop20Xact({"many.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 21u);
    ASSERT_EQ(written[20][1], "20230501QServer1_T20Xact.log");

    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20TransactionsLog, "20230501QServer1_T20Xact.log",
                       "TOP20_XACT_ALL", 20),
              written);

    // The same report saved under the whole tree's name: the marker follows the file.
    WriteFile(InDir("Top20Transactions.log"), ReadFile(InDir("20230501QServer1_T20Xact.log")));
    Rows renamed = written;
    renamed[20][1] = "Top20Transactions.log";
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20TransactionsLog, "Top20Transactions.log",
                       "TOP20_XACT_ALL", 20),
              renamed);
}

// The statement is the rest of the line: an empty one stays empty, inner blanks stay.
TEST_F(ReimportReportLogs, Top20SqlOfTwoLogs) {
    PopulateTop20Sql({"20230501QServer1.log", "20230501QServer2.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 9u);

    const Rows read = Reimport(&CVeltrinAnalysis::ImportTop20SqlLog, "TOP20_SQL_ALL.log", "TOP20_SQL_ALL", 8);
    EXPECT_EQ(read, WithoutMarker(written, "TOP20LOG"));
    EXPECT_EQ(readerHost_.GetList().GetColumnCount(), 10);
    EXPECT_EQ(readerHost_.GetList().GetColumnName(9), "  SQL Statement  ");
}

TEST_F(ReimportReportLogs, CompleteTop20SqlListNamesTheFileRead) {
    WriteFile(InDir("many.log"), ManyTransactions(22));
    PopulateTop20Sql({"many.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 21u);
    EXPECT_EQ(written[0][9], "SELECT  C21 FROM T21");

    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20SqlLog, "TOP20_SQL_ALL.log", "TOP20_SQL_ALL", 20),
              written);

    WriteFile(InDir("Top20SqlStatements.log"), ReadFile(InDir("TOP20_SQL_ALL.log")));
    Rows renamed = written;
    renamed[20][1] = "Top20SqlStatements.log";
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20SqlLog, "Top20SqlStatements.log", "TOP20_SQL_ALL", 20),
              renamed);
}

// The summary's own report log read from its first line: the same rows, and the histogram of the
// re-imported view reads the whole tree's top-20 SQL report log.
TEST_F(ReimportReportLogs, SqlSummary) {
    PopulateTop20Sql({"20230501QServer1.log", "20230501QServer2.log"});
    const Rows written = RunSqlSummary();
    ASSERT_EQ(written.size(), 5u);

    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportSqlSummaryLog, "SQLSUMMARY_ALL.log", "SQLSUMMARY_ALL", 5),
              written);
    EXPECT_EQ(readerHost_.GetList().GetColumnCount(), 7);
    EXPECT_EQ(readerHost_.GetList().GetColumnName(6), "  SQL Statement  ");
    EXPECT_EQ(reader_.m_csSqlSummaryLogName, "Top20SqlStatements.log");

    // A row's histogram request, in the view it opens, reads that log beside the one re-imported.
    WriteFile(InDir("Top20SqlStatements.log"), ReadFile(InDir("TOP20_SQL_ALL.log")));
    reader_.m_csListKey = "SQLSUMMARY_ALL";
    _csItemKind = "SUBITEM";
    readerHost_.ClearRecords();
    reader_.OnRunSubitemItemize(0);
    ASSERT_FALSE(readerHost_.PostedLog().empty());
    EXPECT_EQ(readerHost_.PostedLog().back().message, (UINT)WM_RUNSQLHISTOGRAMREPORT);
    CVeltrinAnalysis histogram(&readerHost_);
    histogram.CopyRequestStrings();  // as a new view does: the folder is that of the re-imported log
    readerHost_.ClearRecords();
    readerHost_.SetDeliverer([&](const CRecordingHost::Posted& p) {
        bool handled = false;
        if (!p.toMainWindow)
            histogram.HandleViewMessage(p.message, p.wParam, p.lParam, handled);
    });
    EXPECT_GT(histogram.OnRunSqlHistogramReport(0, 0), 0);
    EXPECT_EQ(readerHost_.DeliverAll(), 1);
    const Rows found = readerHost_.Rows();
    ASSERT_EQ(found.size(), 3u);  // the three runs of the first statement
    EXPECT_EQ(found[2][1], "20230501QServer2.log");

    // A summary of a single log's top-20 SQL report names that report.
    WriteFile(InDir("20230501QServer1_T20Sql.log_SQLSUMMARY.log"), ReadFile(InDir("SQLSUMMARY_ALL.log")));
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportSqlSummaryLog, "20230501QServer1_T20Sql.log_SQLSUMMARY.log",
                       "20230501QServer1_T20Sql.log_SQLSUMMARY", 5),
              written);
    EXPECT_EQ(reader_.m_csSqlSummaryLogName, "20230501QServer1_T20Sql.log");
}

TEST_F(ReimportReportLogs, SqlSummaryOfTwentyStatements) {
    WriteFile(InDir("many.log"), ManyTransactions(22));
    PopulateTop20Sql({"many.log"});
    const Rows written = RunSqlSummary();
    ASSERT_EQ(written.size(), 22u);  // every statement of the report log, not only the top 20
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportSqlSummaryLog, "SQLSUMMARY_ALL.log", "SQLSUMMARY_ALL", 22),
              written);  // no marker row: the summary is not a top-20 list
}

// A statement of more than 8,191 characters comes back whole, in both lists.
TEST_F(ReimportReportLogs, LongStatement) {
    std::string statement = "SELECT A";
    while (statement.size() < 10000)
        statement += ", COLUMN_" + std::to_string(statement.size());
    statement += " FROM T";
    WriteFile(InDir("long.log"),
              "2023/05/02 09:00:00.000 | Start X QClient:M1:1 Port 1\r\n"
              "QS -- START: 2023/05/02 09:00:00.100 TID=1 SQL: 5\r\n" +
                  statement +
                  "\r\n"
                  "QS -- END: 2023/05/02 09:00:00.105 **** SQL Milliseconds: 5\r\n"
                  "2023/05/02 09:00:00.200 | End X TRANSACTION TIME (msec): 200\r\n");
    PopulateTop20Sql({"long.log"});
    const Rows written = host_.Rows();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0][9], statement);
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTop20SqlLog, "TOP20_SQL_ALL.log", "TOP20_SQL_ALL", 1),
              WithoutMarker(written, "TOP20LOG"));

    const Rows summary = RunSqlSummary();
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0][6], statement);
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportSqlSummaryLog, "SQLSUMMARY_ALL.log", "SQLSUMMARY_ALL", 1),
              summary);
}
