#include <gtest/gtest.h>

#include <sys/stat.h>

#include "QServerLogFixture.h"
#include "core/PrivateMessages.h"
#include "controls/model/gxListModel.h"
#include "platform/base/MessageBox.h"

namespace {
const char kNoSqlNote[] = "\r\nNo SQL data found, suspect QServer logging level < 4.\r\n\r\n";

class TimeAnalysis : public QServerLogFixture {
protected:
    int32_t Single(const char* name) { return view_.PerformTimeAnalysis(name, "ROOTITEM", "ANALYZETA"); }
    int32_t Batch(const char* name) { return view_.PerformTimeAnalysisAll(name, "SUBITEM", "ANALYZETAALL"); }
    void StartWholeTreeBatch() {
        _csDocToOpen = "SQLTimeAnalysisAllTreeview";
        _csListKey = "SQL_ANALYSIS_ALL_TA";
        g_bWaitForUpdate = 1;
        g_nBatchRecordCount = 0;
    }
};
}  // namespace

TEST_F(TimeAnalysis, SinglePassListsReportsAndSummarisesTheLog) {
    Copy("qserver_ta.log");
    EXPECT_EQ(Single("qserver_ta.log"), 21);

    EXPECT_EQ(host_.Rows(), ExpectedRows("qserver_ta.rows"));
    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "ANALYZETA");
    EXPECT_EQ(list.GetColumnCount(), 6);
    EXPECT_EQ(list.GetColumnName(3), "        Analyzed Time Latency Content               ");
    for (int r = 0; r < list.GetItemCount(); ++r)
        EXPECT_EQ(list.GetRowColor(r), (COLORREF)0xF9F7F0) << r;

    EXPECT_EQ(ReadBytes(InDir("qserver_ta_TA.log")), Expected("qserver_ta_TA.log"));
    EXPECT_EQ(host_.LastPadText(), Expected("qserver_ta.pad"));
    EXPECT_EQ(view_.m_csPadText, Expected("qserver_ta.pad"));

    EXPECT_EQ(host_.Traces().front(), "Start CVeltrinView::PerformTimeAnalysis (TA)");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTimeAnalysis (TA)");
    EXPECT_EQ(host_.StatusTexts(),
              (std::vector<CString>{"Processing (TA) Time Analysis Report...", "Ready"}));
    EXPECT_EQ(host_.WaitTexts().front(), "Itemizing QServer Content...");
    EXPECT_EQ(host_.RecordsTexts().front(), " Records: 0");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 21");
    // 28 lines: no step at 100; the bar goes to the total once at the end.
    EXPECT_EQ(ProgressDone(), std::vector<int32_t>{28});
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(Posted(WM_HIGHLIGHTROW), 1);
    EXPECT_TRUE(host_.Boxes().empty());
}

TEST_F(TimeAnalysis, SecondsModeReadsEveryLaterTimeInTheSecondsForm) {
    Copy("qserver_sec.log");
    EXPECT_EQ(Single("qserver_sec.log"), 12);
    EXPECT_EQ(host_.Rows(), ExpectedRows("qserver_sec.rows"));
    EXPECT_EQ(host_.LastPadText(), Expected("qserver_sec.pad"));
}

TEST_F(TimeAnalysis, MinMillisecondsCountsDigitsOfTheTimeText) {
    Write("digits.log",
          "1 -- START: x\r\n"
          "a **** SQL Milliseconds: 9\r\n"
          "b **** SQL Milliseconds: 10\r\n"
          "c **** SQL Milliseconds: 9999\r\n"
          "d **** SQL Milliseconds: 10000\r\n");
    struct Case {
        const char* setting;  // nullptr: not in the profile (4)
        std::vector<int> longLines;
    };
    for (const Case& c : {Case{nullptr, {5}}, Case{"6", {}}, Case{"1", {3, 4, 5}}, Case{"4", {5}}}) {
        host_.ClearRecords();
        if (c.setting)
            host_.SetProfile("Settings", "MinMilliseconds", c.setting);
        Single("digits.log");
        std::string pad = host_.LastPadText().str();
        for (int n = 2; n <= 5; ++n) {
            bool expected = std::find(c.longLines.begin(), c.longLines.end(), n) != c.longLines.end();
            EXPECT_EQ(pad.find("\r\nLine  " + std::to_string(n) + " ") != std::string::npos, expected)
                << (c.setting ? c.setting : "default") << " line " << n;
        }
    }
    // The long line names the time and its duration.
    EXPECT_NE(host_.LastPadText().Find("\r\nLine  5             **** SQL Milliseconds:  10000      00:00:10 "
                                       "(10000 msec)"),
              -1);
}

TEST_F(TimeAnalysis, LogWithoutAnyMatchingLine) {
    Write("quiet.log", "nothing here\r\n\r\nnor here\r\n");
    EXPECT_EQ(Single("quiet.log"), 0);
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 6);
    EXPECT_FALSE(Exists(InDir("quiet_TA.log")));
    EXPECT_EQ(host_.LastPadText(),
              std::string("quiet.log"
                          "\r\nLog Summary:"
                          "\r\nLongest                **** SQL Milliseconds:  0          00:00:00"
                          "\r\nLongest                     TRANSACTION TIME:  0          00:00:00"
                          "\r\nLongest                                   CT:             00:00:00\r\n") +
                  kNoSqlNote);
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTimeAnalysis (TA)");
}

TEST_F(TimeAnalysis, ProgressFollowsTheLinesAndShowsTheRowCount) {
    Write("long.log", EveryOtherLine(2500, "x -- START: y"));
    EXPECT_EQ(Single("long.log"), 1250);
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{1000, 2000, 2500}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Analyzing Time Latency (TA)...\n500");
    EXPECT_EQ(host_.ProgressCalls()[1].text, "Analyzing Time Latency (TA)...\n1000");
    EXPECT_EQ(host_.RecordsTexts()[1], " Records: 500");

    host_.ClearRecords();
    Write("short.log", EveryOtherLine(250, "x -- START: y"));
    Single("short.log");
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{100, 200, 250}));
    EXPECT_EQ(host_.ProgressCalls()[1].text, "Analyzing Time Latency (TA)...\n100");
}

TEST_F(TimeAnalysis, CancelEndsThePassWithTheRowsSoFar) {
    Write("long.log", EveryOtherLine(2500, "x -- START: y"));
    host_.CancelAtProgress(1);
    EXPECT_EQ(Single("long.log"), 500);
    EXPECT_EQ(host_.GetList().GetItemCount(), 500);
    std::string report = ReadBytes(InDir("long_TA.log"));
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 501);
    EXPECT_EQ(host_.LastPadText().Find("\r\nLog Summary:"), (int)strlen("long.log"));
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTimeAnalysis (TA)");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
}

TEST_F(TimeAnalysis, SinglePassFailures) {
    MessageBoxRecorder unexpected;
    // Not available: message, the main frame moves on, the list keeps its empty columns.
    EXPECT_EQ(Single("qserver9.log - N/A"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This file is not available!\r\n" + dir_ + "/qserver9.log - N/A");
    EXPECT_EQ(Posted(WM_LOGNOTAVAILABLE), 1);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 6);
    EXPECT_EQ(host_.WaitDialogsOpened(), 0);

    // Missing log: the fresh report log keeps its header line, no message.
    host_.ClearRecords();
    EXPECT_EQ(Single("missing.log"), 0);
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(ReadBytes(InDir("missing_TA.log")),
              "Records     Line        Tag           Analyzed Time Latency Content" + std::string(61, ' ') +
                  "  Elapsed (CT)              Gap\r\n");

    // The report log cannot be opened: nothing more happens.
    host_.ClearRecords();
    int opened = host_.WaitDialogsOpened();
    Copy("qserver_ta.log");
    ASSERT_EQ(mkdir(InDir("qserver_ta_TA.log").c_str(), 0755), 0);
    EXPECT_EQ(Single("qserver_ta.log"), 0);
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.WaitDialogsOpened(), opened);
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);
    EXPECT_TRUE(unexpected.Calls().empty());
}

TEST_F(TimeAnalysis, BatchOverTwoLogsFillsOneListOneReportLogAndOnePad) {
    Copy("qserver_ta.log");
    Copy("qserver_ta2.log");
    Write("SQLTimeAnalysisAllTreeview_TA.log", "left from an earlier report\r\n");
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("qserver_ta.log"), 6);  // five rows; transaction 5 had no time
    g_bWaitForUpdate = 0;
    EXPECT_EQ(Batch("qserver_ta2.log"), 2);

    EXPECT_EQ(host_.Rows(), ExpectedRows("batch_ta.rows"));  // the later log's rows first
    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "ANALYZETAALL");
    EXPECT_EQ(list.GetColumnCount(), 10);
    EXPECT_EQ(list.GetColumnWidth(0), 0);
    EXPECT_EQ(list.GetRowColor(0), gxListModel::kNoColor);
    EXPECT_EQ(ReadBytes(InDir("SQLTimeAnalysisAllTreeview_TA.log")),
              Expected("SQLTimeAnalysisAllTreeview_TA.log"));
    EXPECT_EQ(host_.LastPadText(), Expected("batch_ta.pad"));
    // The records count is the list's rows, not the transactions ended (transaction 5 has no row).
    EXPECT_EQ(g_nBatchRecordCount, list.GetItemCount());
    EXPECT_EQ(g_nBatchRecordCount, 7);

    EXPECT_EQ(host_.PadActivations(), 2);
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 0");
    EXPECT_EQ(host_.LogNameTexts().back(), "");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Time Analysis Report...");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTimeAnalysisAll");
    EXPECT_EQ(Posted(WM_HIGHLIGHTROW), 0);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
}

TEST_F(TimeAnalysis, BatchReportLogKeepsItsHeaderWhateverLogHasTheRows) {
    // First log without a completed transaction time: its request leaves no header-only file behind,
    // and the next request starts the file again with its header.
    Write("notimes.log",
          "2023/05/04 10:00:00.000 | Start X /pt_QClient://C/1\r\n"
          "2023/05/04 10:00:01.000 | End   X\r\n");
    Copy("qserver_ta2.log");
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("notimes.log"), 1);
    EXPECT_FALSE(Exists(InDir("SQLTimeAnalysisAllTreeview_TA.log")));
    g_bWaitForUpdate = 0;
    EXPECT_EQ(Batch("qserver_ta2.log"), 2);
    std::string expected = Expected("SQLTimeAnalysisAllTreeview_TA.log");
    std::string header = expected.substr(0, expected.find('\n') + 1);
    std::string log2Rows = expected.substr(expected.find("1           1           qserver_ta2.log"));
    EXPECT_EQ(ReadBytes(InDir("SQLTimeAnalysisAllTreeview_TA.log")), header + log2Rows);
    EXPECT_EQ(g_nBatchRecordCount, 2);  // notimes.log ended a transaction but gave no row

    // A batch without any row leaves no report log.
    host_.ClearRecords();
    StartWholeTreeBatch();
    Batch("notimes.log");
    g_bWaitForUpdate = 0;
    Batch("notimes.log");
    EXPECT_FALSE(Exists(InDir("SQLTimeAnalysisAllTreeview_TA.log")));
}

TEST_F(TimeAnalysis, BatchLogNotAvailableOrMissing) {
    StartWholeTreeBatch();
    view_.m_csPadText = "earlier\r\n";
    EXPECT_EQ(Batch("qserver9.log - N/A"), 0);
    EXPECT_EQ(host_.LastPadText(), "earlier\r\n" + dir_ + "/qserver9.log - N/A No Data Available\r\n\r\n");
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.WaitDialogsOpened(), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 10);

    host_.ClearRecords();
    EXPECT_EQ(Batch("missing.log"), 0);
    EXPECT_EQ(host_.WaitDialogsOpened(), 1);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_FALSE(Exists(InDir("SQLTimeAnalysisAllTreeview_TA.log")));
    EXPECT_EQ(g_nBatchRecordCount, 0);
}

TEST_F(TimeAnalysis, BatchKeepsAUsersShortReportLog) {
    // A two-line file of the user's under the batch report log's name is not a header-only log.
    const std::string mine = "row one\r\nrow two\r\n";
    Write("norows.log", "2023/05/04 10:00:00.000 | nothing to report\r\n");
    for (const char* log : {"missing.log", "norows.log"}) {
        SCOPED_TRACE(log);
        Write("SQLTimeAnalysisAllTreeview_TA.log", mine);
        StartWholeTreeBatch();
        g_bWaitForUpdate = 0;  // a later request of the batch: the file is not started afresh
        EXPECT_EQ(Batch(log), 0);
        EXPECT_EQ(ReadBytes(InDir("SQLTimeAnalysisAllTreeview_TA.log")), mine);
    }
}

TEST_F(TimeAnalysis, BatchProgressEveryThousandLines) {
    Write("long.log", EveryOtherLine(2500, "2023/05/01 10:00:00.000 | End   X TRANSACTION TIME: 5"));
    Write("short.log", EveryOtherLine(250, "plain"));
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("long.log"), 1250);
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{1000, 2000, 2500}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Time Analysis...\n1000");
    EXPECT_EQ(host_.RecordsTexts()[1], " Records: 500");

    host_.ClearRecords();
    g_bWaitForUpdate = 0;
    Batch("short.log");
    EXPECT_EQ(ProgressDone(), std::vector<int32_t>{250});
}

TEST_F(TimeAnalysis, ReportLogNames) {
    struct Case {
        const char* name;
        const char* expected;
    };
    for (const Case& c : {Case{"20230501QServer3.log", "20230501QServer3_TA.log"},
                          Case{"QServer3", "QServer3_TA.log"}, Case{"a.b.log", "a_TA.log"}})
        EXPECT_EQ(CVeltrinAnalysis::SingleReportLogName(c.name, "_TA.log"), c.expected) << c.name;

    struct BatchCase {
        const char* docToOpen;
        const char* listKey;
        const char* expected;
    };
    for (const BatchCase& c :
         {BatchCase{"SQLTimeAnalysisAllTreeview", "SQL_ANALYSIS_ALL_TA", "SQLTimeAnalysisAllTreeview_TA.log"},
          BatchCase{"", "20230501QBroker.log_TA", "20230501QBroker_TA.log"},
          BatchCase{"", "QBroker_TA", "QBroker_TA"}})
        EXPECT_EQ(CVeltrinAnalysis::BatchReportLogName(c.docToOpen, c.listKey, "_TA.log"), c.expected)
            << c.listKey;
}

// ---- The excerpt of a row's transaction ----

TEST_F(TimeAnalysis, ExcerptRunsFromTheRowsLineToTheEndOfItsTransaction) {
    Copy("qserver_ta.log");
    DWORD before = host_.GetTickCount();
    view_.LoadQServerExcerpt("qserver_ta.log", "4");
    std::string log = ReadBytes(FixturePath("qserver_ta.log"));
    size_t from = 0;
    for (int i = 1; i < 4; ++i)
        from = log.find("\r\n", from) + 2;
    size_t to = log.find("TRANSACTION TIME (msec): 1250\r\n") + strlen("TRANSACTION TIME (msec): 1250\r\n");
    EXPECT_EQ(host_.LastPadText(), log.substr(from, to - from));
    EXPECT_EQ(host_.PadTexts().front(), "");  // the page is cleared first
    EXPECT_EQ(host_.GetTickCount() - before, 100u);
    EXPECT_EQ(host_.OutputBarShows(), 1);

    // The output bar is shown once per view; a number with trailing text still counts.
    view_.LoadQServerExcerpt("qserver_ta.log", "20 rows");
    EXPECT_EQ(host_.OutputBarShows(), 1);
    std::string pad = host_.LastPadText().str();
    EXPECT_EQ(pad.substr(0, 34), "2023/05/01 10:00:18.400 | Start In");
    EXPECT_EQ(std::count(pad.begin(), pad.end(), '\n'), 2);
}

TEST_F(TimeAnalysis, ExcerptEdgeCases) {
    const CString notAvailable = "<N/A> - QServer Log information not available.";
    Copy("qserver_ta.log");
    view_.LoadQServerExcerpt("", "4");
    EXPECT_EQ(host_.LastPadText(), notAvailable);
    EXPECT_EQ(host_.OutputBarShows(), 0);

    view_.LoadQServerExcerpt("qserver_ta.log", "999");
    EXPECT_EQ(host_.LastPadText(), notAvailable);

    host_.ClearRecords();
    view_.LoadQServerExcerpt("missing.log", "1");
    EXPECT_EQ(host_.PadTexts(), std::vector<CString>{""});

    // Tabs are expanded; "| End" without the blank behind it does not end the excerpt.
    Write("tabs.log", "a\tb\r\nx | End\r\ny | End z\r\nafter\r\n");
    view_.LoadQServerExcerpt("tabs.log", "1");
    EXPECT_EQ(host_.LastPadText(), "a      b\r\nx | End\r\ny | End z\r\n");

    // At most 2,000 lines, then a mark that the excerpt goes on.
    std::string many;
    for (int i = 1; i <= 2100; ++i)
        many += "line " + std::to_string(i) + "\r\n";
    Write("many.log", many);
    view_.LoadQServerExcerpt("many.log", "1");
    std::string pad = host_.LastPadText().str();
    const std::string tail = "line 2000\r\n\r\n    :\r\n    :\r\n    :\r\n";
    ASSERT_GE(pad.size(), tail.size());
    EXPECT_EQ(pad.substr(pad.size() - tail.size()), tail);
    EXPECT_EQ(pad.find("line 2001"), std::string::npos);
}
