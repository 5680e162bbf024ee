#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"
#include "tests/support/TempFolder.h"

namespace {
const char kFixtures[] = VELTRIN_FIXTURES "/itemize";
constexpr COLORREF kRed = 0x0000C0;

// A row as one text line: cells escaped (backslash, tab, bytes outside 32-126) and joined by tabs, then
// the colours the row was given ("-" for none). The expected-row files hold the same form.
std::string Escape(const std::string& cell) {
    std::string out;
    for (unsigned char c : cell) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c < 32 || c > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else
            out += (char)c;
    }
    return out;
}

std::string Colours(const gxListModel& list, int row) {
    std::string out;
    char text[32];
    if (list.GetRowTextColor(row) != gxListModel::kNoColor) {
        std::snprintf(text, sizeof text, "text=%06X", (unsigned)list.GetRowTextColor(row));
        out += text;
    }
    if (list.GetRowColor(row) != gxListModel::kNoColor) {
        std::snprintf(text, sizeof text, "%sbk=%06X", out.empty() ? "" : ",",
                      (unsigned)list.GetRowColor(row));
        out += text;
    }
    return out.empty() ? "-" : out;
}

std::vector<std::string> FormatRows(const gxListModel& list) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.GetItemCount(); ++r) {
        std::string line;
        for (int c = 0; c < list.GetColumnCount(); ++c)
            line += Escape(list.GetItemText(r, c).str()) + "\t";
        rows.push_back(line + Colours(list, r));
    }
    return rows;
}

std::vector<std::string> ReadExpectedRows(const std::string& name) {
    std::ifstream in(std::string(kFixtures) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> rows;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            rows.push_back(line);
    return rows;
}

class Itemize : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = tmp_.Path();
        view_.m_csBaseFolder = dir_.c_str();
        view_.m_csReportType = "ITEMIZE";
        savedFilter_ = g_nFilterQTrace;
        g_nFilterQTrace = 1;
    }
    void TearDown() override {
        g_nFilterQTrace = savedFilter_;
    }
    void CopyFixture(const std::string& name) {
        std::filesystem::copy_file(std::string(kFixtures) + "/" + name, dir_ + "/" + name);
    }
    // Writes the lines, each ending in CR LF.
    void WriteLog(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(dir_ + "/" + name, std::ios::binary);
        for (const std::string& line : lines)
            out << line << "\r\n";
    }
    int32_t Broker(const std::string& name, const char* search = "") {
        host_.ClearRecords();
        return view_.PopulateGridQBrokerItemizeEx(name.c_str(), "ROOTITEM", "ITEMIZE", search);
    }
    int32_t Server(const std::string& name, const char* search = "") {
        host_.ClearRecords();
        return view_.PopulateGridQServerItemizeEx(name.c_str(), "ROOTITEM", "QSVRITEMIZE", search);
    }
    // Line number and item text of each row.
    std::vector<std::pair<std::string, std::string>> LinesAndTexts() const {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const auto& r : host_.Rows())
            rows.emplace_back(r[1], r[2]);
        return rows;
    }

    TempFolder tmp_{"veltrin_itemize"};
    std::string dir_;
    int savedFilter_ = 1;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};

using Rows = std::vector<std::pair<std::string, std::string>>;
}  // namespace

// ---- The fixture logs, row for row ----

TEST_F(Itemize, QBrokerFixtureWithFilterAndSearch) {
    CopyFixture("qbroker.log");
    EXPECT_EQ(Broker("qbroker.log", "timeout"), 13);
    EXPECT_EQ(FormatRows(host_.GetList()), ReadExpectedRows("qbroker.filter_search.rows"));
}

TEST_F(Itemize, QBrokerFixtureWithoutFilterOrSearch) {
    CopyFixture("qbroker.log");
    g_nFilterQTrace = 0;
    EXPECT_EQ(Broker("qbroker.log"), 19);
    EXPECT_EQ(FormatRows(host_.GetList()), ReadExpectedRows("qbroker.nofilter.rows"));
}

TEST_F(Itemize, QServerFixtureWithSearch) {
    CopyFixture("qserver.log");
    EXPECT_EQ(Server("qserver.log", "deadlock"), 33);
    EXPECT_EQ(FormatRows(host_.GetList()), ReadExpectedRows("qserver.search.rows"));
    // Itemizing again starts from an empty list and gives the same rows.
    EXPECT_EQ(Server("qserver.log", "deadlock"), 33);
    EXPECT_EQ(FormatRows(host_.GetList()), ReadExpectedRows("qserver.search.rows"));
}

// ---- QBroker rules ----

TEST_F(Itemize, QBrokerRules) {
    struct Case {
        const char* what;
        int filter;
        const char* search;
        std::vector<std::string> log;
        Rows rows;
    } cases[] = {
        {"a server registering gives no row; the next request does",
         1,
         "",
         {"QB: On Request - On Server Register 08:00", "Type: Init", "Action : process",
          "QB: On Request - 08:01", "Type: Payment", "Action : sent to /pt_QServer://QS1"},
         {{"4", "QB: On Request - 08:01 Type: Payment  Action : sent to /pt_QServer://QS1"}}},
        {"a request without its action swallows the lines after it",
         1,
         "",
         {"QB: On Request - 08:00", "Type: A", "loose line", "QB: On Request - 08:01", "Type: B"},
         {}},
        {"a matching line inside a block lists the block so far; the action lists the rest",
         1,
         "Retry",
         {"QB: On Request - 08:00", "Type: A", "RETRY 1", "User  : u1", "Action : process"},
         {{"3", "QB: On Request - 08:00 Type: ARETRY 1"}, {"1", " User  : u1  Action : process"}}},
        {"the filter leaves out server counts and traces",
         1,
         "",
         {"Free Server Count: 1", "x Active Server Count: 2", "*** note", "/pt_QServer://S1", "kept"},
         {{"5", "kept"}}},
        {"without the filter they are listed",
         0,
         "",
         {"Free Server Count: 1", "*** note", "/pt_QServer://S1"},
         {{"1", "Free Server Count: 1"}, {"2", "*** note"}, {"3", "/pt_QServer://S1"}}},
        {"with the filter a filtered line is not searched",
         1,
         "count",
         {"Free Server Count: 1", "count me"},
         {{"2", "count me"}}},
        {"without the filter a matching count line is coloured",
         0,
         "count",
         {"Free Server Count: 1"},
         {{"1", "Free Server Count: 1"}}},
        {"header blanks: a run after \" -\" shrinks to one, none stays none",
         1,
         "",
         {"QB: On Request -     08:00   x", "Action : a", "QB: On Request -08:01", "Action : b"},
         {{"1", "QB: On Request - 08:00   x  Action : a"}, {"3", "QB: On Request -08:01  Action : b"}}},
        {"header: only the first \" -\" is rebuilt; a header ending in \" -\" is kept",
         1,
         "",
         {"QB -   main: On Request -   08:00", "Action : a", "QB: On Request -", "Action : b"},
         {{"1", "QB - main: On Request -   08:00  Action : a"}, {"3", "QB: On Request -  Action : b"}}},
        {"dots, empty lines and tab-only lines",
         1,
         "",
         {".", "..", "", "...", "\t"},
         {{"4", "..."}, {"5", "       "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_nFilterQTrace = c.filter;
        WriteLog("broker.log", c.log);
        EXPECT_EQ(Broker("broker.log", c.search), (int32_t)c.rows.size());
        EXPECT_EQ(LinesAndTexts(), c.rows);
    }
}

TEST_F(Itemize, QBrokerSearchIsCaseBlindAndColoursTheText) {
    WriteLog("broker.log",
             {"plain", "Connection TimeOut", "QB: On Request - 1", "ERROR: timeout", "Action : a"});
    EXPECT_EQ(Broker("broker.log", "tImEoUt"), 4);
    const gxListModel& list = host_.GetList();
    EXPECT_EQ(LinesAndTexts(), (Rows{{"1", "plain"},
                                     {"2", "Connection TimeOut"},
                                     {"4", "QB: On Request - 1ERROR: timeout"},
                                     {"3", "  Action : a"}}));
    EXPECT_EQ(list.GetRowTextColor(0), gxListModel::kNoColor);
    EXPECT_EQ(list.GetRowTextColor(1), kRed);
    EXPECT_EQ(list.GetRowTextColor(2), kRed);
    EXPECT_EQ(list.GetRowTextColor(3), gxListModel::kNoColor);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(list.GetRowColor(r), gxListModel::kNoColor);
}

// ---- QServer rules ----

TEST_F(Itemize, QServerRules) {
    struct Case {
        const char* what;
        std::vector<std::string> log;
        std::vector<std::vector<std::string>> rows;  // all five cells
    } cases[] = {
        {"the first start has no gap; an end measures from it, a second end too",
         {"2023/05/01 10:00:00.000 | Start A", "2023/05/01 10:00:00.250 | End A",
          "2023/05/01 10:00:03.000 | End again", "2023/05/01 10:01:03.000 | Start B"},
         {{"1", "1", "2023/05/01 10:00:00.000 | Start A", "", "00:00:00"},
          {"2", "2", "2023/05/01 10:00:00.250 | End A", "00:00:00 (250 msec)", ""},
          {"3", "3", "2023/05/01 10:00:03.000 | End again", "00:00:03 (3000 msec)", ""},
          {"4", "4", "2023/05/01 10:01:03.000 | Start B", "", "00:01:00"}}},
        {"an end before any start cannot be measured",
         {"2023/05/01 10:00:00.000 | End A"},
         {{"1", "1", "2023/05/01 10:00:00.000 | End A", "Unable to Calculate - Missing StartTime", ""}}},
        {"an end before its start in time measures 0",
         {"2023/05/01 10:00:05.000 | Start A", "2023/05/01 10:00:01.000 | End A"},
         {{"1", "1", "2023/05/01 10:00:05.000 | Start A", "", "00:00:00"},
          {"2", "2", "2023/05/01 10:00:01.000 | End A", "00:00:00 (0 msec)", ""}}},
        {"a statement previews its first text line, without \". . .\" for one word",
         {"-- START: s", "  SINGLEWORD", "-- RETURN CODE: 0", "-- END: e"},
         {{"1", "1", "-- START: s", "", ""},
          {"2", "2", "        SINGLEWORD", "", ""},
          {"3", "3", "-- RETURN CODE: 0", "", ""},
          {"4", "4", "-- END: e", "", ""}}},
        {"a skipped detail line is no statement text",
         {"-- START: s", "  x -- FETCH TIME: 1", "  SELECT A", "-- RETURN CODE: 0"},
         {{"1", "1", "-- START: s", "", ""},
          {"2", "3", "        SELECT A. . .", "", ""},
          {"3", "4", "-- RETURN CODE: 0", "", ""}}},
        {"every SQL detail marker is skipped, also inside a server trace",
         {"-- SQLFreeStmt", "-- Bind", "-- SEND CONTAINER", "-- CLIENT", "-- CONTAINER CONTENTS",
          "-- FETCH TIME: 1", "-- SEND TIME: 1", "-- ROWS FETCHED: 1", "-- SINCE LAST SQL: 1",
          "-- SQLAllocStmt", "-- SEND OK", "-- SEND MORE", "x QServer | -- Bind 1", "--- Bind"},
         {}},
        {"dash lines and other \"-- \" lines are listed; other lines are not",
         {"-- SEND X", "-x", "--x", " -- START: not at the start", "QServer|no blank"},
         {{"1", "1", "-- SEND X", "", ""}, {"2", "2", "-x", "", ""}, {"3", "3", "--x", "", ""}}},
        {"a NUL byte ends the listed text",
         {std::string("-- SEND X\0tail", 14), std::string("-x\0", 3)},
         {{"1", "1", "-- SEND X", "", ""}, {"2", "2", "-x", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteLog("server.log", c.log);
        EXPECT_EQ(Server("server.log"), (int32_t)c.rows.size());
        std::vector<std::vector<std::string>> expected = c.rows;
        EXPECT_EQ(host_.Rows(), expected);
    }
}

TEST_F(Itemize, QServerSearchIsCaseBlindAndColoursTheBackground) {
    WriteLog("server.log", {"-- Bind 1 = 'ABC'", "nothing", "-- Bind 2 = 'x'"});
    EXPECT_EQ(Server("server.log", "abc"), 1);  // the search comes before the skipped markers
    const gxListModel& list = host_.GetList();
    EXPECT_EQ(LinesAndTexts(), (Rows{{"1", "-- Bind 1 = 'ABC'"}}));
    EXPECT_EQ(list.GetRowColor(0), kRed);
    EXPECT_EQ(list.GetRowTextColor(0), gxListModel::kNoColor);
}

TEST_F(Itemize, QServerSkippedLinesDoNotReachTheProgressStep) {
    std::vector<std::string> log(250, "text");
    log[199] = "text -- Bind 1";  // line 200
    log[99] = "-- START: x";      // line 100 is listed and reports progress
    WriteLog("server.log", log);
    Server("server.log");
    std::vector<int32_t> done;
    for (const auto& call : host_.ProgressCalls())
        done.push_back(call.done);
    EXPECT_EQ(done, (std::vector<int32_t>{100, 250, 250}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Itemizing QServer Content...\n100 lines processed");
}

// ---- The frame around both passes ----

TEST_F(Itemize, FrameTextsAndColumns) {
    WriteLog("broker.log", {"one"});
    Broker("broker.log");
    EXPECT_EQ(host_.Traces().front(), "Start CVeltrinView::PopulateGridQBrokerItemizeEx");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PopulateGridQBrokerItemizeEx");
    EXPECT_EQ(host_.StatusTexts().front(), "Processing QBroker content...");
    EXPECT_EQ(host_.WaitTexts().front(), "Itemizing QBroker Content...");
    EXPECT_EQ(host_.ProgressCalls().front().text, "Itemizing QBroker Content...\n1 lines processed");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 1");
    const gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "ITEMIZE");
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnName(2), "        Itemized One-Line Content               ");

    WriteLog("server.log", {"-x"});
    Server("server.log");
    EXPECT_EQ(host_.Traces().front(), "Start CVeltrinView::PopulateGridQServerItemizeEx");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PopulateGridQServerItemizeEx");
    EXPECT_EQ(host_.StatusTexts().front(), "Processing QServer content...");
    EXPECT_EQ(host_.WaitTexts().front(), "Itemizing QServer Content...");
    EXPECT_EQ(list.GetCaption(), "QSVRITEMIZE");
    ASSERT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetColumnName(3), "   Elapsed  (CT)  ");
    EXPECT_EQ(list.GetColumnName(4), "   Gap   ");
}

TEST_F(Itemize, PathRulesDifferBetweenThePasses) {
    // The QServer pass appends ".log" to a name without '.'; the QBroker pass uses the name as it is.
    WriteLog("server1.log", {"-x"});
    EXPECT_EQ(Server("server1"), 1);
    WriteLog("broker1", {"x"});
    EXPECT_EQ(Broker("broker1"), 1);
    EXPECT_EQ(Broker("server1"), 0);  // no "server1" file
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");

    // " - N/A": the QServer pass says so and moves the frame on; the QBroker pass just finds no file.
    EXPECT_EQ(Server("20230501QServer3 - N/A"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This file is not available!\r\n" + dir_ + "/20230501QServer3 - N/A");
    ASSERT_EQ(host_.PostedLog().size(), 1u);
    EXPECT_EQ(host_.PostedLog()[0].message, (UINT)WM_LOGNOTAVAILABLE);

    EXPECT_EQ(Broker("20230501QBroker - N/A"), 0);
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_TRUE(host_.PostedLog().empty());
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
}

TEST_F(Itemize, NoDataAvailable) {
    WriteLog("server.log", {"plain", "", "-- Bind 1"});
    EXPECT_EQ(Server("server.log"), 0);
    EXPECT_EQ(host_.LastPadText(), "\r\n No Data Available in " + dir_ + "/server.log for Itemize Criteria.");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PopulateGridQServerItemizeEx");

    WriteLog("broker.log", {"QB: On Request - 1", "Type: x"});
    EXPECT_EQ(Broker("broker.log"), 0);
    EXPECT_EQ(host_.LastPadText(), "\r\n No Data Available in " + dir_ + "/broker.log for Itemize Criteria.");
}

TEST_F(Itemize, DispatchHandsOnTheSearchText) {
    CopyFixture("qserver.log");
    view_.m_csLogType = "QSERVER";
    _csCommand = "NAME=qserver.log|TYPE=ROOTITEM|EXE=ITEMIZE|SEARCH=DeadLock";
    EXPECT_EQ(view_.OnViewData(0, 0), 33);
    EXPECT_EQ(host_.GetList().GetCaption(), "QSVRITEMIZE");
    EXPECT_EQ(host_.GetList().GetRowColor(18), kRed);

    CopyFixture("qbroker.log");
    view_.m_csLogType = "QBROKER";
    _csCommand = "NAME=qbroker.log|TYPE=ROOTITEM|EXE=ITEMIZE|SEARCH=timeout";
    EXPECT_EQ(view_.OnViewData(0, 0), 13);
    EXPECT_EQ(FormatRows(host_.GetList()), ReadExpectedRows("qbroker.filter_search.rows"));
    _csCommand.Empty();
}
