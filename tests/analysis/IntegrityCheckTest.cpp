#include <gtest/gtest.h>

#include <sys/stat.h>

#include "QServerLogFixture.h"
#include "core/PrivateMessages.h"
#include "controls/model/gxListModel.h"

namespace {
const char kErrorsFound[] = "Integrity Check:  There were errors found.\r\n\r\n";
const char kNoErrors[] = "No Errors found.";
const char kNoSqlNote[] = "\r\nNo SQL data found, suspect QServer logging level < 4.\r\n\r\n";

class IntegrityCheck : public QServerLogFixture {
protected:
    int32_t Single(const char* name) { return view_.PerformTICAnalysis(name, "ROOTITEM", "ANALYZETIC"); }
    int32_t Batch(const char* name) { return view_.PerformTICAnalysisAll(name, "SUBITEM", "ANALYZETICALL"); }
    void StartWholeTreeBatch() {
        _csDocToOpen = "TICAnalysisAllTreeview";
        _csListKey = "SQL_ANALYSIS_ALL_TIC";
        g_bWaitForUpdate = 1;
        g_nBatchRecordCount = 0;
    }
};
}  // namespace

TEST_F(IntegrityCheck, SinglePassListsEveryStartLeftOpen) {
    Copy("qserver_tic.log");
    EXPECT_EQ(Single("qserver_tic.log"), 3);

    EXPECT_EQ(host_.Rows(), ExpectedRows("qserver_tic.rows"));
    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "ANALYZETIC");
    EXPECT_EQ(list.GetColumnCount(), 4);
    for (int r = 0; r < list.GetItemCount(); ++r)
        EXPECT_EQ(list.GetRowColor(r), (COLORREF)0xF9F7F0) << r;
    EXPECT_EQ(ReadBytes(InDir("qserver_tic_TIC.log")), Expected("qserver_tic_TIC.log"));
    EXPECT_EQ(host_.LastPadText(), kErrorsFound);

    EXPECT_EQ(host_.Traces().front(), "Start CVeltrinView::PerformTICAnalysis");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTICAnalysis");
    EXPECT_EQ(host_.StatusTexts(), (std::vector<CString>{"Processing TIC Analysis Report...", "Ready"}));
    EXPECT_EQ(host_.WaitTexts().front(), "Analyzing QServer Content...");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 3");
    EXPECT_EQ(ProgressDone(), std::vector<int32_t>{17});
    EXPECT_EQ(Posted(WM_HIGHLIGHTROW), 1);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
}

TEST_F(IntegrityCheck, PadTextAndReportLogByOutcome) {
    Copy("qserver_ta2.log");    // clean, with SQL
    Copy("qserver_nosql.log");  // a transaction error, no SQL
    Write("quiet.log",
          "2023/05/03 07:00:00.000 | Start A\r\n2023/05/03 07:00:01.000 | End A TRANSACTION TIME: 1\r\n");
    struct Case {
        const char* log;
        int32_t errors;
        std::string pad;
        const char* report;
    };
    const Case cases[] = {
        {"qserver_ta2.log", 0, kNoErrors, "qserver_ta2_TIC.log"},
        {"qserver_nosql.log", 1, std::string(kErrorsFound) + kNoSqlNote, "qserver_nosql_TIC.log"},
        {"quiet.log", 0, std::string(kNoErrors) + kNoSqlNote, "quiet_TIC.log"},
    };
    for (const Case& c : cases) {
        host_.ClearRecords();
        EXPECT_EQ(Single(c.log), c.errors) << c.log;
        EXPECT_EQ(host_.LastPadText(), c.pad) << c.log;
        EXPECT_EQ(Exists(InDir(c.report)), c.errors > 0) << c.log;
    }
}

TEST_F(IntegrityCheck, TagsAreFoundAfterTabsAndControlBytesAreBlanked) {
    // Each line twice: a start tag reports the start before it.
    struct Case {
        std::string line;
        bool start;
    };
    const Case cases[] = {
        {"12345|\tStart X", true},  // six columns, then a tab that expands to one blank
        {"1234|\tStart X", false},  // a tab of two blanks
        {"2023/05/01 10:00:00 |\x01Start X", true},
        {"abcdefghijklmnop|\x7fStart", true},
        {"|\xe9Start", true},
        {"0123456789ABCDEF|\xe9Start Y", true},
        {"0123456789ABCDEF|Start Y", false},
    };
    for (const Case& c : cases) {
        host_.ClearRecords();
        Write("bytes.log", c.line + "\r\n" + c.line + "\r\n");
        EXPECT_EQ(Single("bytes.log"), c.start ? 1 : 0) << c.line;
        Rows expected;
        if (c.start)
            expected = {{"1", "1", "| START", "No '| End' Transaction tag found"}};
        EXPECT_EQ(host_.Rows(), expected) << c.line;
    }
}

TEST_F(IntegrityCheck, ProgressShowsTheLineNumber) {
    Write("long.log", EveryOtherLine(2500, "x -- START: y"));
    EXPECT_EQ(Single("long.log"), 1249);
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{1000, 2000, 2500}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Analyzing TIC...\n1000");
    EXPECT_EQ(host_.RecordsTexts()[1], " Records: 1000");

    host_.ClearRecords();
    Write("short.log", EveryOtherLine(250, "plain"));
    Single("short.log");
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{100, 200, 250}));
}

TEST_F(IntegrityCheck, SinglePassFailures) {
    EXPECT_EQ(Single("qserver9.log - N/A"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This file is not available!\r\n" + dir_ + "/qserver9.log - N/A");
    EXPECT_EQ(Posted(WM_LOGNOTAVAILABLE), 1);

    host_.ClearRecords();
    EXPECT_EQ(Single("missing.log"), 0);
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(ReadBytes(InDir("missing_TIC.log")),
              "Records     Line        Tag                       ErrorType\r\n");

    host_.ClearRecords();
    int opened = host_.WaitDialogsOpened();
    Copy("qserver_tic.log");
    ASSERT_EQ(mkdir(InDir("qserver_tic_TIC.log").c_str(), 0755), 0);
    EXPECT_EQ(Single("qserver_tic.log"), 0);
    EXPECT_EQ(host_.WaitDialogsOpened(), opened);
    EXPECT_TRUE(host_.Boxes().empty());
}

TEST_F(IntegrityCheck, BatchOverTwoLogs) {
    Copy("qserver_tic.log");
    Copy("qserver_tic2.log");
    Write("TICAnalysisAllTreeview_TIC.log", "left from an earlier report\r\n");
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("qserver_tic.log"), 3);
    g_bWaitForUpdate = 0;
    EXPECT_EQ(Batch("qserver_tic2.log"), 1);

    EXPECT_EQ(host_.Rows(), ExpectedRows("batch_tic.rows"));  // the later log's rows first
    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "ANALYZETICALL");
    EXPECT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetRowColor(0), gxListModel::kNoColor);
    EXPECT_EQ(ReadBytes(InDir("TICAnalysisAllTreeview_TIC.log")), Expected("TICAnalysisAllTreeview_TIC.log"));
    EXPECT_EQ(host_.LastPadText(), kErrorsFound);
    EXPECT_EQ(view_.m_csPadText, kErrorsFound);  // each log's text replaces the path it began with
    EXPECT_EQ(g_nBatchRecordCount, 4);

    EXPECT_EQ(host_.PadActivations(), 2);
    EXPECT_EQ(host_.StatusTexts().front(), "Processing Time Analysis Report...");
    EXPECT_EQ(host_.WaitTexts().front(), "Itemizing QServer Content...");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 0");
    EXPECT_EQ(host_.LogNameTexts().back(), "");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::PerformTICAnalysisAll");
    EXPECT_EQ(Posted(WM_HIGHLIGHTROW), 0);
}

TEST_F(IntegrityCheck, BatchReportLogKeepsItsHeaderWhateverLogHasTheErrors) {
    Copy("qserver_ta2.log");
    Copy("qserver_nosql.log");
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("qserver_ta2.log"), 0);
    EXPECT_EQ(host_.LastPadText(), kNoErrors);
    EXPECT_FALSE(Exists(InDir("TICAnalysisAllTreeview_TIC.log")));
    g_bWaitForUpdate = 0;
    EXPECT_EQ(Batch("qserver_nosql.log"), 1);
    EXPECT_EQ(host_.LastPadText(), std::string(kErrorsFound) + kNoSqlNote);
    const char* format = "%-10s  %-10s  %-48s  %-24s  %s\r\n";
    EXPECT_EQ(ReadBytes(InDir("TICAnalysisAllTreeview_TIC.log")),
              FormatString(format, "Records", "Line", "File", "Tag", "ErrorType") +
                  FormatString(format, "1", "1", "qserver_nosql.log", "| START",
                               "No '| End' Transaction tag found"));
}

TEST_F(IntegrityCheck, BatchLogNotAvailableOrMissing) {
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("qserver9.log - N/A"), 0);
    EXPECT_EQ(host_.LastPadText(), dir_ + "/qserver9.log - N/A No Data Available\r\n\r\n");
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.WaitDialogsOpened(), 0);

    EXPECT_EQ(Batch("missing.log"), 0);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_FALSE(Exists(InDir("TICAnalysisAllTreeview_TIC.log")));
}

TEST_F(IntegrityCheck, BatchKeepsAUsersShortReportLog) {
    // A two-line file of the user's under the batch report log's name is not a header-only log.
    const std::string mine = "row one\r\nrow two\r\n";
    Write("norows.log", "2023/05/04 10:00:00.000 | nothing to report\r\n");
    for (const char* log : {"missing.log", "norows.log"}) {
        SCOPED_TRACE(log);
        Write("TICAnalysisAllTreeview_TIC.log", mine);
        StartWholeTreeBatch();
        g_bWaitForUpdate = 0;  // a later request of the batch: the file is not started afresh
        EXPECT_EQ(Batch(log), 0);
        EXPECT_EQ(ReadBytes(InDir("TICAnalysisAllTreeview_TIC.log")), mine);
    }
}

TEST_F(IntegrityCheck, BatchProgressEveryThousandLines) {
    Write("long.log", EveryOtherLine(2500, "| Start"));
    StartWholeTreeBatch();
    EXPECT_EQ(Batch("long.log"), 1249);
    EXPECT_EQ(ProgressDone(), (std::vector<int32_t>{1000, 2000, 2500}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "TIC Analysis...\n1000");
    EXPECT_EQ(host_.RecordsTexts()[1], " Records: 499");
}
