#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "tests/analysis/ImportTestSupport.h"

using importtest::Fixture;
using importtest::WriteFile;

namespace {
const char kServerLog[] = "20090131QServer1.log";
const std::vector<std::string> kCMCaptions = {
    " Records ",     " ClientMachine ", " Transaction ",      " Date ",        " Time ",
    " ElapsedTime ", " QBroker Line ",  " QServer Filename ", " QServerLine ", " TID "};

// One client-machine row: records, transaction, time, TID and the QServer log it names.
std::vector<std::string> CMRow(int records, const std::string& transaction, const std::string& time,
                               const std::string& tid, const std::string& log = kServerLog) {
    return {std::to_string(records), "WS01", transaction, "2009/01/31", time, "",
            "broker.log: 1",         log,    "",          tid};
}

class ElapsedTime : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir_ / kServerLog, Fixture(std::string("stats/") + kServerLog));
        view_.m_csBaseFolder = dir_.Path().c_str();
        view_.m_csListKey = "STATS_CM1";
        host_.SetDeliverer([this](const CRecordingHost::Posted& p) {
            if (p.message != WM_ELAPSEDTIMERESULT)
                return;
            sent_.push_back(reinterpret_cast<const char*>(p.lParam));
            view_.OnThreadElapsedResult(p.wParam, p.lParam);
        });
    }
    void TearDown() override {
        view_.StopWorkerThreads();
        EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
    }
    std::string Cell(int row, int col) { return host_.GetList().GetItemText(row, col).str(); }

    importtest::TempFolder dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
    std::vector<std::string> sent_;  // result texts in the order the view received them
};
}  // namespace

TEST_F(ElapsedTime, LookupFindsStartAndEnd) {
    struct Case {
        const char* transaction;
        const char* tid;
        const char* time;
        const char* elapsed;
        const char* line;
    };
    const Case cases[] = {
        {"login", "//ws01/1111(1)", "10:00:01", "00:00:02 (2250 msec)", "3"},  // an earlier End is ignored
        {"PAYMENT", "//ws01/1111(1)", "10:00:11", "00:00:00 (500 msec)", "6"},
        {"PAYMENT", "//ws01/1111(2)", "10:00:11", "00:00:00 (500 msec)", "7"},  // the second candidate
        {"PAYMENT", "//ws01/1111#4", "10:00:11", "00:00:00 (500 msec)", "6"},
        {"REPORT", "//ws01/1111(1)", "10:02:00", "00:00:59 (59000 msec)", "11"},  // any End ends it
        {"AUDIT", "//ws01/1111(1)", "10:04:00", "N/A", "14"},                     // no end line
        {"CLOCK", "//ws01/1111(1)", "10:03:00", "00:00:00 (0 msec)", "12"},       // an end before the start
        {"LOGIN", "//ws05/5555(1)", "10:00:59", "N/A", ""},                       // no start line
    };
    for (const Case& c : cases) {
        CString line;
        CString elapsed =
            CVeltrinAnalysis::ThreadGetElapsedTime(&host_, nullptr, "1", dir_.Path().c_str(), kServerLog,
                                                   c.transaction, c.tid, "2009/01/31", c.time, line);
        EXPECT_EQ(elapsed, c.elapsed) << c.transaction << " " << c.tid;
        EXPECT_EQ(line, c.line) << c.transaction << " " << c.tid;
    }
    EXPECT_TRUE(sent_.empty());

    // Empty inputs, a missing log and one marked " - N/A".
    CString line;
    host_.ClearRecords();
    EXPECT_EQ(CVeltrinAnalysis::ThreadGetElapsedTime(&host_, nullptr, "1", dir_.Path().c_str(), kServerLog,
                                                     "", "//ws01/1111(1)", "2009/01/31", "10:00:01", line),
              "N/A");
    EXPECT_EQ(host_.Traces(), (std::vector<CString>{"Start CVeltrinView::ThreadGetElapsedTime",
                                                    "Abort CVeltrinView::ThreadGetElapsedTime"}));
    for (const char* log : {"missing.log", "20090131QServer2 - N/A.log"})
        EXPECT_EQ(
            CVeltrinAnalysis::ThreadGetElapsedTime(&host_, nullptr, "1", dir_.Path().c_str(), log, "login",
                                                   "//ws01/1111(1)", "2009/01/31", "10:00:01", line),
            "N/A");
}

TEST_F(ElapsedTime, RetryTimeCarries) {
    const std::pair<const char*, const char*> cases[] = {
        {"09:00:08", "09:00:09"},
        {"10:00:59", "10:01:00"},
        {"10:59:59", "11:00:00"},
        {"23:59:59", "24:00:00"},
        {"9:5:7", "09:05:08"},
        {"10:00:01.5", "10:00:02"},
        // Not a time: no retry.
        {"noon", ""},
        {"09:00:9999999999999999999999", ""},
        {"99999999999999999999:00:00", ""},
        {"10:9999999999999999999:00", ""},
        {"10:60:00", ""},
        {"10:00:60", ""},
        {"-1:00:00", ""},
        {"10:00:", ""},
        {"10:00:0x", ""},
        {"2023/05/01 08:00:03 Type: x", ""},
        {"", ""},
    };
    for (const auto& [time, later] : cases)
        EXPECT_EQ(CVeltrinAnalysis::RetryTime(time), later) << time;
}

TEST_F(ElapsedTime, ATimeThatIsNotATimeGivesNoRetry) {
    // A broker line "... : On Request - 09:00:9999999999999999999999" gives this time to its row.
    importtest::FillList(host_.GetList(), kCMCaptions,
                         {CMRow(1, "login", "09:00:9999999999999999999999", "//ws01/1111(1)")});
    view_.OnRunETCalculationThreads(0, 0);
    EXPECT_EQ(Cell(0, 5), "N/A");
    int lookups = 0;
    for (const CString& trace : host_.Traces())
        lookups += trace == "Start CVeltrinView::ThreadGetElapsedTime";
    EXPECT_EQ(lookups, 1);
}

TEST_F(ElapsedTime, RunFillsRowsOnTheViewThread) {
    importtest::FillList(
        host_.GetList(), kCMCaptions,
        {CMRow(1, "login", "10:00:01", "//ws01/1111(1)"), CMRow(2, "PAYMENT", "10:00:11", "//ws01/1111(2)"),
         // Nothing at 10:00:59; one second later, without the suffix, the first candidate.
         CMRow(3, "LOGIN", "10:00:59", "//ws05/5555(2)"),
         CMRow(4, "login", "10:00:01", "//ws01/1111(1)", ""),  // no QServer log: skipped
         CMRow(5, "AUDIT", "10:04:00", "//ws01/1111(1)")});
    host_.GetList().SetItemText(3, 5, "N/A");
    EXPECT_EQ(view_.OnRunETCalculationThreads(0, 0), 0);

    EXPECT_EQ(Cell(0, 5), "00:00:02 (2250 msec)");
    EXPECT_EQ(Cell(0, 8), "3");
    EXPECT_EQ(Cell(1, 5), "00:00:00 (500 msec)");
    EXPECT_EQ(Cell(1, 8), "7");
    EXPECT_EQ(Cell(2, 5), "00:00:04 (4000 msec)");
    EXPECT_EQ(Cell(2, 8), "9");
    EXPECT_EQ(Cell(3, 5), "N/A");
    // The retry found no start line either: "N/A" and no line.
    EXPECT_EQ(Cell(4, 5), "N/A");
    EXPECT_EQ(Cell(4, 8), "");
    EXPECT_EQ(host_.WorkersStarted(), 4);
    EXPECT_EQ(g_nRunningWorkers, 4);
    EXPECT_EQ(host_.StatusTexts().front(), "Running Elapsed Time Worker Threads");
    EXPECT_EQ(host_.StatusTexts()[1], "Running ElapsedTime Threads: 0   Closed: 0");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.Traces().front(), "Start CVeltrinView::OnRunETCalculationThreads");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::OnRunETCalculationThreads");
    ASSERT_EQ(host_.TimerCalls().size(), 1u);
    EXPECT_EQ(host_.TimerCalls()[0].id, CVeltrinAnalysis::kPumpTimerId);
    EXPECT_EQ(host_.TimerCalls()[0].milliseconds, 1000u);
    // The run is over: the next tick pumps once and does not start the timer again.
    view_.OnPumpTimer();
    EXPECT_EQ(host_.TimerCalls().size(), 2u);
    EXPECT_EQ(host_.TimerCalls()[1].milliseconds, 0u);
    EXPECT_EQ(host_.PumpCalls(), 1);
}

TEST_F(ElapsedTime, ResultHandling) {
    importtest::FillList(host_.GetList(), kCMCaptions,
                         {CMRow(7, "login", "10:00:01", "x"), CMRow(7, "login", "10:00:01", "x")});
    auto deliver = [&](const char* records, const char* text) {
        view_.OnThreadElapsedResult((WPARAM)CVeltrinAnalysis::NewResultBuffer(records),
                                    (LPARAM)CVeltrinAnalysis::NewResultBuffer(text));
    };
    view_.m_nRunningCount = 2;
    host_.GetList().SetItemText(0, 8, "old line");
    deliver("7", "..");  // progress: dots, the line cell and the running count untouched
    EXPECT_EQ(Cell(0, 5), "..");
    EXPECT_EQ(Cell(0, 8), "old line");
    EXPECT_EQ(view_.m_nRunningCount, 2);
    deliver("7", "00:00:01 (1000 msec)|42");  // client-machine list: the first such row only
    EXPECT_EQ(Cell(0, 5), "00:00:01 (1000 msec)");
    EXPECT_EQ(Cell(0, 8), "42");
    EXPECT_EQ(view_.m_nRunningCount, 1);  // a result ends one worker
    EXPECT_EQ(Cell(1, 5), "");
    deliver("99", "N/A|");  // no such row: nothing changes
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);

    // The server-id list: every row with that number.
    view_.m_csListKey = "STATS_HS1";
    importtest::FillList(host_.GetList(), {"R", "S", "T", "C", "D", "Ti", "E", "B", "F", "L", "I"},
                         {{"3"}, {"3"}, {"4"}});
    deliver("3", "N/A|12");
    EXPECT_EQ(Cell(0, 6), "N/A");
    EXPECT_EQ(Cell(1, 6), "N/A");
    EXPECT_EQ(Cell(1, 9), "12");
    EXPECT_EQ(Cell(2, 6), "");
}

TEST_F(ElapsedTime, ProgressEveryFiftyThousandLines) {
    std::string big = "2009/01/31 10:00:01.000 | Start login /pt_QClient://ws01/1111 \r\n";
    for (int i = 2; i < 100010; ++i)
        big += "2009/01/31 10:00:02.000 | SQL\r\n";
    big += "2009/01/31 10:00:05.000 | End login\r\n";
    WriteFile(dir_ / "big.log", big);
    importtest::FillList(host_.GetList(), kCMCaptions,
                         {CMRow(1, "login", "10:00:01", "//ws01/1111(1)", "big.log")});
    view_.OnRunETCalculationThreads(0, 0);
    EXPECT_EQ(sent_, (std::vector<std::string>{"..", "...", "00:00:04 (4000 msec)|1"}));
    EXPECT_EQ(Cell(0, 5), "00:00:04 (4000 msec)");
}

TEST_F(ElapsedTime, FailedStartAndFailedSend) {
    importtest::FillList(
        host_.GetList(), kCMCaptions,
        {CMRow(1, "login", "10:00:01", "//ws01/1111(1)"), CMRow(2, "login", "10:00:01", "//ws01/1111(1)")});
    host_.FailWorkerStartsFrom(2);
    host_.CloseView();  // the window is gone: the first worker's send fails and frees its buffers
    view_.OnRunETCalculationThreads(0, 0);
    EXPECT_EQ(Cell(0, 5), "computing");
    EXPECT_EQ(Cell(1, 5), "computing");  // could not be started
    EXPECT_EQ(host_.WorkersStarted(), 1);
    EXPECT_EQ(host_.SendsFailed(), 1);
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
}

TEST_F(ElapsedTime, AResultNoViewTakesIsFreedBySender) {
    // A window whose procedure takes no result message answers 0: the worker frees its buffers.
    host_.SetWindowProc([](const CRecordingHost::Posted&) -> LRESULT { return 0; });
    importtest::FillList(host_.GetList(), kCMCaptions, {CMRow(1, "login", "10:00:01", "//ws01/1111(1)")});
    view_.OnRunETCalculationThreads(0, 0);
    EXPECT_EQ(host_.SendsFailed(), 1);
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
}

TEST_F(ElapsedTime, SynchronousLookup) {
    MessageBoxRecorder unexpected;
    EXPECT_EQ(view_.GetElapsedTime(kServerLog, "PAYMENT", "//ws01/1111(2)", "2009/01/31", "10:00:11"),
              "00:00:00 (500 msec)");
    EXPECT_EQ(_csLastQServerLine, "7");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::GetElapsedTime");
    EXPECT_EQ(host_.RecordsTexts().front(), " Records: 0");

    EXPECT_EQ(view_.GetElapsedTime(kServerLog, "LOGIN", "//ws05/5555(1)", "2009/01/31", "10:00:59"), "N/A");
    EXPECT_EQ(_csLastQServerLine, "");

    EXPECT_EQ(view_.GetElapsedTime("20090131QServer2 - N/A.log", "login", "//ws01/1111(1)", "2009/01/31",
                                   "10:00:01"),
              "N/A");
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text,
              ("This file is not available!\r\n" + (dir_ / "20090131QServer2 - N/A.log")).c_str());
    ASSERT_EQ(host_.PostedLog().size(), 1u);
    EXPECT_EQ(host_.PostedLog()[0].message, (UINT)WM_LOGNOTAVAILABLE);
    EXPECT_TRUE(unexpected.Calls().empty());
}

// ---- Real threads ----

TEST_F(ElapsedTime, AtMostTenWorkersAndEveryResultLands) {
    host_.SetWorkerMode(CRecordingHost::ThreadedWorkers);
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= 25; ++i)
        rows.push_back(CMRow(i, "login", "10:00:01", "//ws01/1111(1)"));
    importtest::FillList(host_.GetList(), kCMCaptions, rows);

    view_.OnRunETCalculationThreads(0, 0);
    // A worker cannot end before the view handles its send, so each batch of ten was alive at once and
    // the last five are still waiting for the view.
    EXPECT_EQ(host_.PeakWorkers(), 10);
    EXPECT_EQ(host_.UnfinishedWorkers(), 5);
    EXPECT_EQ(sent_.size(), 20u);
    std::vector<CString> closes;
    for (const CString& s : host_.StatusTexts())
        if (s.Find("Closed") >= 0 && s.Find("Closed: 0") < 0)
            closes.push_back(s);
    EXPECT_EQ(closes.front(), "Running ElapsedTime Threads: 10   Closed: 10");
    EXPECT_EQ(closes.back(), "Running ElapsedTime Threads: 24   Closed: 20");

    host_.WaitForAllWorkers();
    EXPECT_EQ(sent_.size(), 25u);
    for (int r = 0; r < 25; ++r) {
        EXPECT_EQ(Cell(r, 5), "00:00:02 (2250 msec)") << r;
        EXPECT_EQ(Cell(r, 8), "3") << r;
    }
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
}

TEST_F(ElapsedTime, NewRunWaitsForTheWorkersOfTheLastOne) {
    host_.SetWorkerMode(CRecordingHost::ThreadedWorkers);
    importtest::FillList(
        host_.GetList(), kCMCaptions,
        {CMRow(1, "login", "10:00:01", "//ws01/1111(1)"), CMRow(2, "PAYMENT", "10:00:11", "//ws01/1111(2)"),
         CMRow(3, "login", "10:00:01", "//ws01/1111(1)")});
    view_.OnRunETCalculationThreads(0, 0);
    EXPECT_EQ(host_.UnfinishedWorkers(), 3);
    view_.OnRunETCalculationThreads(0, 0);  // first takes the three results, then starts three more
    EXPECT_EQ(sent_.size(), 3u);
    EXPECT_EQ(host_.PeakWorkers(), 3);
    host_.WaitForAllWorkers();
    EXPECT_EQ(host_.WorkersStarted(), 6);
    EXPECT_EQ(sent_.size(), 6u);
    EXPECT_EQ(Cell(1, 8), "7");
}

TEST_F(ElapsedTime, ClosingTheViewStopsWorkersMidScan) {
    host_.SetWorkerMode(CRecordingHost::ThreadedWorkers);
    std::string big = "2009/01/31 10:00:01.000 | Start login /pt_QClient://ws01/1111 \r\n";
    for (int i = 2; i <= 120000; ++i)
        big += "2009/01/31 10:00:02.000 | SQL\r\n";
    WriteFile(dir_ / "big.log", big);
    importtest::FillList(host_.GetList(), kCMCaptions,
                         {CMRow(1, "login", "10:00:01", "//ws01/1111(1)", "big.log")});
    view_.OnRunETCalculationThreads(0, 0);

    // The worker is at line 50,000, blocked in its progress send, when the view goes.
    ASSERT_TRUE(host_.WaitForSend());
    view_.StopWorkerThreads();
    host_.CloseView();
    EXPECT_EQ(host_.UnfinishedWorkers(), 0);
    EXPECT_EQ(sent_, (std::vector<std::string>{".."}));  // the progress, then nothing
    EXPECT_EQ(Cell(0, 5), "..");
    EXPECT_EQ(host_.SendsAfterClose(), 0);
    EXPECT_EQ(host_.SendsFailed(), 0);
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
    for (const auto& slot : view_.m_workerSlots)
        EXPECT_FALSE(slot);
}
