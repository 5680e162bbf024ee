#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/RequestStrings.h"
#include "tests/analysis/ImportTestSupport.h"

using importtest::Fixture;
using importtest::ReadFile;
using importtest::WriteFile;

namespace {
using Rows = std::vector<std::vector<std::string>>;
using Handler = LRESULT (CVeltrinAnalysis::*)(WPARAM, LPARAM);

class Reimport : public ::testing::Test {
protected:
    void SetUp() override { g_mapImportedLists.RemoveAll(); }
    void TearDown() override { g_mapImportedLists.RemoveAll(); }

    // Copies a report log into the temporary folder (or writes the bytes given) and runs the reader
    // the way the main frame asks for it.
    int32_t Run(Handler handler, const std::string& file, const std::string& doc,
                const std::string* bytes = nullptr) {
        WriteFile(dir_ / file, bytes ? *bytes : Fixture("stats/reportlogs/" + file));
        _csReportName = (dir_ / file).c_str();
        _csDocToOpen = doc.c_str();
        _csListKey = doc.c_str();
        return (int32_t)(view_.*handler)(0, 0);
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> v;
        for (int c = 0; c < host_.GetList().GetColumnCount(); ++c)
            v.push_back(host_.GetList().GetColumnName(c).str());
        return v;
    }
    // The captions as the list holds them; a reader that numbers its rows puts " Records  " first.
    static std::vector<std::string> Padded(const std::vector<std::string>& captions, bool numbered = false) {
        std::vector<std::string> v;
        if (numbered)
            v.push_back(" Records  ");
        for (const auto& c : captions)
            v.push_back("  " + c + "  ");
        return v;
    }
    IMPObj Record(const char* key) {
        IMPObj rec;
        EXPECT_TRUE(g_mapImportedLists.Lookup(key, rec)) << key;
        return rec;
    }

    importtest::TempFolder dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};

const Rows kTaAllRows = {
    {"1", "3", "20090131QServer1.log", "LOGIN", "ws01", "5001", "2009/01/31 10:00:01.000",
     "2009/01/31 10:00:03.250", "00:00:02 (2250 msec)", "00:00:00"},
    {"2", "9", "20090131QServer1.log", "PAYMENT", "ws02", "5002", "2009/01/31 10:00:11.000",
     "2009/01/31 10:00:11.500", "00:00:00 (500 msec)", "00:00:07"},
    {"1", "2", "20090131QServer2.log", "LOGOUT", "ws01", "5001", "2009/01/31 11:00:00.000",
     "2009/01/31 11:00:00.040", "00:00:00 (40 msec)", "00:00:00"},
};
const std::vector<std::string> kTaAllCaptions = {"Records",      "Line", "File",       "Transaction",
                                                 "Client",       "Port", "Start Date", "End Date",
                                                 "Elapsed (CT)", "Gap"};
}  // namespace

TEST_F(Reimport, TimeAnalysisOfAllLogs) {
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTaAllLog, "SQLTimeAnalysisAllTreeview_TA.log",
                  "SQLTimeAnalysisAllTreeview"),
              3);
    EXPECT_EQ(Captions(), Padded(kTaAllCaptions));
    EXPECT_EQ(host_.Rows(), kTaAllRows);
    EXPECT_EQ(host_.OutputBarHides(), 1);
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Import TAAnalysisAllTreeview_TA.log...");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 3");
    EXPECT_EQ(_csAction, "ImportCsvToListView_SQLTimeAnalysisAllTreeview_TA.log");
    EXPECT_EQ(host_.GetList().GetCaption(), "ImportCsvToListView_SQLTimeAnalysisAllTreeview_TA.log");
    EXPECT_EQ(_csReportName, "SQLTimeAnalysisAllTreeview_TA.log");
    EXPECT_EQ(_csLogNameText, "SQLTimeAnalysisAllTreeview_TA.log");
    EXPECT_EQ(_csBaseFolder, dir_.Path().c_str());
    EXPECT_EQ(view_.m_csImportFolder, dir_.Path().c_str());
    IMPObj rec = Record("SQLTimeAnalysisAllTreeview");
    EXPECT_EQ(rec.m_csFile, "SQLTimeAnalysisAllTreeview_TA.log");
    EXPECT_EQ(rec.m_csFolder, dir_.Path().c_str());

    // The reader named by the request differs only in its status text.
    CRecordingHost host;
    CVeltrinAnalysis view(&host);
    _csReportName = (dir_ / "SQLTimeAnalysisAllTreeview_TA.log").c_str();
    EXPECT_EQ(view.ImportTaLog(0, 0), 3);
    EXPECT_EQ(host.Rows(), kTaAllRows);
    EXPECT_EQ(host.StatusTexts().front(),
              ("Processing Import " + (dir_ / "SQLTimeAnalysisAllTreeview_TA.log") + "...").c_str());
}

TEST_F(Reimport, EveryImportShowsTheZeroRecordCountOnce) {
    const struct {
        Handler handler;
        const char* file;
        const char* doc;
    } cases[] = {
        {&CVeltrinAnalysis::ImportTaAllLog, "SQLTimeAnalysisAllTreeview_TA.log",
         "SQLTimeAnalysisAllTreeview"},
        {&CVeltrinAnalysis::ImportTaLog, "SQLTimeAnalysisAllTreeview_TA.log", "SQLTimeAnalysisAllTreeview"},
        {&CVeltrinAnalysis::ImportAnalyzedLog, "20090131QServer1_TA.log", "20090131QServer1_TA"},
        {&CVeltrinAnalysis::ImportTicAllLog, "TICAnalysisAllTreeview_TIC.log", "TICAnalysisAllTreeview"},
        {&CVeltrinAnalysis::ImportTicLog, "TICAnalysisAllTreeview_TIC.log", "TICAnalysisAllTreeview"},
        {&CVeltrinAnalysis::ImportTicReportLog, "20090131QServer1_TIC.log", "20090131QServer1_TIC"},
        {&CVeltrinAnalysis::ImportTop20TransactionsLog, "20090131QServer1_T20Xact.log", "T20"},
        {&CVeltrinAnalysis::ImportTop20SqlLog, "20090131QServer1_T20Sql.log", "T20SQL"},
        {&CVeltrinAnalysis::ImportSqlSummaryLog, "20090131QServer1_T20Sql.log_SQLSUMMARY.log",
         "20090131QServer1_T20Sql.log_SQLSUMMARY"},
    };
    auto zeros = [this] {
        const auto& texts = host_.RecordsTexts();
        return std::count(texts.begin(), texts.end(), CString(" Records: 0"));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        host_.ClearRecords();
        EXPECT_GT(Run(c.handler, c.file, c.doc), 0);
        EXPECT_EQ(zeros(), 1);
    }
    // The CSV import.
    host_.ClearRecords();
    WriteFile(dir_ / "list.csv", "A,B\r\n1,2\r\n");
    host_.ScriptFileDialog(TRUE, (dir_ / "list.csv").c_str());
    view_.m_csListKey = "Import_1";
    EXPECT_GT(view_.ImportCsvToListView(0, 0), 0);
    EXPECT_EQ(zeros(), 1);
}

TEST_F(Reimport, TimeAnalysisLimitsAndLinesAfterTheTable) {
    // Lines after the table have no end mark: they become rows, cut like the table's.
    std::string bytes =
        Fixture("stats/reportlogs/SQLTimeAnalysisAllTreeview_TA.log") + "\r\nLongest CT: 2250 of all\r\n";
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTaAllLog, "a_TA.log", "A", &bytes), 4);
    EXPECT_EQ(host_.Rows().back(),
              (std::vector<std::string>{"Longest", "CT:", "2250", "of", "all", "", "", "", "", ""}));

    host_.ClearRecords();
    bytes = "Records A B C D E F G H I J K\r\n1 2 3\r\n";  // twelve captions
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTaAllLog, "b_TA.log", "B", &bytes), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This File Exceeds Eleven(11) Columns of Data!");
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);

    host_.ClearRecords();
    bytes = "no captions here\r\n1 2 3\r\n";
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTaAllLog, "c_TA.log", "C", &bytes), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 0);
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 0");
    EXPECT_TRUE(host_.Boxes().empty());
}

TEST_F(Reimport, TimeAnalysisOfOneLog) {
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportAnalyzedLog, "20090131QServer1_TA.log", "20090131QServer1_TA"), 5);
    EXPECT_EQ(Captions(),
              Padded({"Records", "Line", "Tag", "Analyzed Time Latency Content", "Elapsed (CT)", "Gap"}));
    // A row without a tag gives its first content word to the Tag column; a content that starts with
    // "--" leaves the Tag empty.
    EXPECT_EQ(host_.Rows(),
              (Rows{{"1", "3", "START:",
                     "2009/01/31 10:00:01.000 | -- START: LOGIN TID=1001 Client: ws01(1111)#0 Port: 5001 ",
                     "", "00:00:00"},
                    {"2", "4", "2009/01/31", "10:00:01.100 | **** SQL Start: SELECT C1 FROM T WHERE ID = :1 ",
                     "", ""},
                    {"3", "5", "2009/01/31", "10:00:01.300 | **** SQL Milliseconds: 200 ", "", ""},
                    {"4", "6", "END:", "2009/01/31 10:00:03.250 | TRANSACTION TIME (msec): 2250 ",
                     "00:00:02 (2250 msec) ", ""},
                    {"5", "7", "", "-- orphan line ", "", ""}}));
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Import 20090131QServer1_TA.log...");
    EXPECT_EQ(_csAction, "ImportCsvToListView_20090131QServer1_TA");
    EXPECT_EQ(_csLogNameText, "20090131QServer1_TA");
    // The per-log record names the file that was read.
    IMPObj rec = Record("20090131QServer1_TA");
    EXPECT_EQ(rec.m_csFile, "20090131QServer1_TA.log");
    EXPECT_EQ(rec.m_csFolder, dir_.Path().c_str());

    host_.ClearRecords();
    std::string bytes = "Records Line Tag Analyzed Time Latency Content Elapsed (CT) Gap More\r\n";
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportAnalyzedLog, "x_TA.log", "x_TA", &bytes), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This File Exceeds Eleven(6) Columns of Data!");
}

TEST_F(Reimport, IntegrityChecks) {
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTicReportLog, "20090131QServer1_TIC.log", "20090131QServer1_TIC"),
              2);
    EXPECT_EQ(Captions(), Padded({"Records", "Line", "Tag", "ErrorType"}));
    EXPECT_EQ(host_.Rows(), (Rows{{"1", "10", "| START", "No '| End' Transaction tag found "},
                                  {"2", "12", "-- START", "No '-- End' SQL tag found "}}));
    EXPECT_EQ(Record("20090131QServer1_TIC").m_csFile, "20090131QServer1_TIC.log");

    const Rows all = {{"1", "10", "20090131QServer1.log", "| START", "No '| End' Transaction tag found "},
                      {"2", "12", "20090131QServer1.log", "-- START", "No '-- End' SQL tag found "},
                      {"1", "4", "20090131QServer2.log", "| START", "No '| End' Transaction tag found "}};
    for (Handler handler : {&CVeltrinAnalysis::ImportTicAllLog, &CVeltrinAnalysis::ImportTicLog}) {
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        WriteFile(dir_ / "TICAnalysisAllTreeview_TIC.log",
                  Fixture("stats/reportlogs/TICAnalysisAllTreeview_TIC.log"));
        _csReportName = (dir_ / "TICAnalysisAllTreeview_TIC.log").c_str();
        _csDocToOpen = "TICAnalysisAllTreeview";
        EXPECT_EQ((view.*handler)(0, 0), 3);
        EXPECT_EQ(host.Rows(), all);
        EXPECT_EQ(host.GetList().GetColumnCount(), 5);
    }
}

TEST_F(Reimport, Top20Transactions) {
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTop20TransactionsLog, "20090131QServer1_T20Xact.log", "T20"), 20);
    EXPECT_EQ(Captions(), Padded({"Filename", "StartRow", "EndRow", "Date", "StartTime", "EndTime", "Elapsed",
                                  "Transaction", "ClientType", "ClientMachine"},
                                 true));
    Rows rows = host_.Rows();
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"1", "20090131QServer1.log", "3", "5", "2009/01/31", "10:00:01.000",
                                        "10:00:03.250", "00:00:02 (2250 msec)", "TX00", "QClient", "WS00"}));
    // A time followed by a word without ':' keeps it.
    EXPECT_EQ(rows[1][5], "10:01:01 PM");
    EXPECT_EQ(rows[1][6], "10:01:03 PM");
    EXPECT_EQ(rows[1][7], "00:00:02 (2240 msec)");
    EXPECT_EQ(rows[19][0], "20");
    // Exactly twenty rows: the marker row names the file that was read.
    EXPECT_EQ(rows[20][0], "TOP20LOG");
    EXPECT_EQ(rows[20][1], "20090131QServer1_T20Xact.log");
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Import Top20Transactions.log...");

    // Nineteen rows: no marker.
    host_.ClearRecords();
    std::string bytes = Fixture("stats/reportlogs/20090131QServer1_T20Xact.log");
    bytes.erase(bytes.rfind("20090131QServer1.log"));
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTop20TransactionsLog, "n_T20Xact.log", "N", &bytes), 19);
    EXPECT_EQ(host_.GetList().GetItemCount(), 19);
}

TEST_F(Reimport, Top20SqlStatements) {
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTop20SqlLog, "20090131QServer1_T20Sql.log", "T20SQL"), 3);
    EXPECT_EQ(Captions(), Padded({"Filename", "StartRow", "EndRow", "StartBindRow", "Date", "StartTime",
                                  "EndTime", "ElapsedTime", "SQL Statement"},
                                 true));
    EXPECT_EQ(host_.Rows(),
              (Rows{{"1", "20090131QServer1.log", "24", "25", "24", "2009/01/31", "10:01:01 PM",
                     "10:01:02 PM", "00:00:01 (1000 msec)", "DELETE FROM T"},
                    {"2", "20090131QServer1.log", "14", "16", "15", "2009/01/31", "10:00:11.100",
                     "10:00:11.400", "00:00:00 (300 msec)", "UPDATE T SET C1 = :1"},
                    {"3", "20090131QServer1.log", "4", "5", "4", "2009/01/31", "10:00:01.100", "10:00:01.300",
                     "00:00:00 (200 msec)", "SELECT  C1,  C2 FROM T WHERE ID = :1"}}));
}

TEST_F(Reimport, SqlSummary) {
    std::string bytes = Fixture("stats/reportlogs/20090131QServer1_T20Sql.log_SQLSUMMARY.log") + "\r\n";
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportSqlSummaryLog, "20090131QServer1_T20Sql.log_SQLSUMMARY.log",
                  "20090131QServer1_T20Sql.log_SQLSUMMARY", &bytes),
              3);
    EXPECT_EQ(Captions(),
              Padded({"Count", "TotalMillis", "MinMillis", "MaxMillis", "AvgMillis", "SQL Statement"}, true));
    // A blank line after the table is a row holding only its number.
    EXPECT_EQ(host_.Rows(),
              (Rows{{"1", "2", "00:00:01 (1200 msec)", "200", "1000", "600",
                     "SELECT  C1,  C2 FROM T WHERE ID = :1"},
                    {"2", "1", "00:00:00 (300 msec)", "300", "300", "300", "UPDATE T SET C1 = :1"},
                    {"3", "", "", "", "", "", ""}}));
    // The histogram of this view reads the top-20 SQL report the summary came from.
    EXPECT_EQ(view_.m_csSqlSummaryLogName, "20090131QServer1_T20Sql.log");
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Import SqlSummary...");

    host_.ClearRecords();
    bytes = "Count TotalMillis MinMillis MaxMillis AvgMillis Statement Extra\r\n";  // seven words: six used
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportSqlSummaryLog, "SQLSUMMARY_ALL.log", "SQLSUMMARY_ALL", &bytes), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 7);
    EXPECT_EQ(view_.m_csSqlSummaryLogName, "Top20SqlStatements.log");
}

TEST_F(Reimport, UnreadableFiles) {
    static const char kNul[] = "Records Line\r\n\0x\r\n";
    std::string bytes(kNul, sizeof kNul - 1);
    EXPECT_EQ(Run(&CVeltrinAnalysis::ImportTicReportLog, "nul_TIC.log", "nul_TIC", &bytes), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text,
              ("Unable to read the file (not ANSI text format)!\r\n" + (dir_ / "nul_TIC.log")).c_str());
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");

    host_.ClearRecords();
    _csReportName = (dir_ / "gone_TIC.log").c_str();
    EXPECT_EQ(view_.ImportTicAllLog(0, 0), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_NE(host_.Boxes()[0].text.Find("not found"), -1);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(g_mapImportedLists.GetCount(), 0);
}
