#include "tests/analysis/ReportTestSupport.h"

#include "controls/model/gxListModel.h"
#include "platform/base/MessageBox.h"

using namespace reports;

namespace {
class Top20Transactions : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        view_.m_csListKey = "20230501QServer1_T20Xact";
        view_.m_csReportType = "TOP20XACT";
        _csDocToOpen = "20230501QServer1_T20Xact";
    }
};
}  // namespace

// A QBroker series of two QServer logs: one header, the detail lines of both logs in End order, one
// count line, the summaries over both, and one top-20 list; the list by rank with its marker row.
TEST_F(Top20Transactions, SeriesOverTwoLogs) {
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "20230501QServer1.log", "TOP20XACT", true), 31);
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "20230501QServer2.log", "TOP20XACT"), 22);
    EXPECT_EQ(view_.m_nXactCount, 7);
    EXPECT_EQ(Send(WM_POPULATETOP20XACT, "20230501QServer2.log", "TOP20XACT"), 7);

    ExpectGolden(ReadFile(InDir("20230501QServer1_T20Xact.log")), "top20xact_series.golden");

    const Rows expected = {
        {"1", "20230501QServer1.log", "26", "30", "2023/05/01", "08:00:04.000", "08:00:09.005",
         "00:00:05 (5005 msec)", "NewOrder", "QClient", "WS0101"},
        {"2", "20230501QServer2.log", "1", "5", "2023/05/01", "01:00:00 PM", "01:00:02 PM",
         "00:00:02 (2000 msec)", "Delivery", "QClient", "LAB17"},
        {"3", "20230501QServer1.log", "2", "15", "2023/05/01", "08:00:01.000", "08:00:02.250",
         "00:00:01 (1250 msec)", "NewOrder", "QClient", "WS0101"},
        {"4", "20230501QServer2.log", "8", "10", "2023/05/01", "08:20:00.000", "08:20:00.700",
         "00:00:00 (700 msec)", "Logout", "QClient", "OPS-PC4"},
        {"5", "20230501QServer1.log", "16", "25", "2023/05/01", "08:00:03.000", "08:00:03.500",
         "00:00:00 (500 msec)", "Payment", "QClient", "WS0102"},
        {"6", "20230501QServer2.log", "12", "20", "2023/05/01", "08:30:01.000", "08:30:01.070",
         "00:00:00 (70 msec)", "Payment", "QClient", "WS0203"},
        {"7", "20230501QServer2.log", "6", "7", "2023/05/01", "08:10:00.000", "08:10:00.060",
         "00:00:00 (60 msec)", "LoginWithAVeryLongTransactionNameForColumns", "BATCH01", ""},
        {"TOP20LOG", "20230501QServer1_T20Xact.log", "", "", "", "", "", "", "", "", ""},
    };
    EXPECT_EQ(host_.Rows(), expected);
    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetColumnCount(), 11);
    EXPECT_EQ(list.GetColumnName(7), "  Elapsed (CT)  ");
    EXPECT_EQ(list.GetCaption(), "TOP20XACT");

    // Payment ran 500 msec, then 70 msec in the same second: 70 is the smaller.
    CTransaction payment;
    ASSERT_TRUE(view_.m_aXact.Get("Payment", payment));
    EXPECT_EQ(payment.m_nCount, 2);
    EXPECT_EQ(payment.m_csMinElapsed, "00:00:00 (70 msec)");
    EXPECT_EQ(payment.m_csMaxElapsed, "00:00:00 (500 msec)");
    EXPECT_TRUE(Traced("End CVeltrinView::OnCompileTop20Transx"));
    EXPECT_TRUE(Traced("End CVeltrinView::OnPopulateTop20TransxSummary"));
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_TRUE(host_.Boxes().empty());
}

TEST_F(Top20Transactions, ReportWithoutTransactions) {
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "20230501QServer3.log", "TOP20XACT", true), 2);
    EXPECT_EQ(
        host_.LastPadText(),
        ("\r\n No Data Available in " + InDir("20230501QServer3.log") + " for Itemize Criteria.").c_str());
    EXPECT_EQ(Send(WM_POPULATETOP20XACT, "20230501QServer3.log", "TOP20XACT"), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 11);
    EXPECT_EQ(host_.GetList().GetItemCount(), 0);  // no rows, no marker row
    ExpectGolden(ReadFile(InDir("20230501QServer1_T20Xact.log")), "top20xact_empty.golden");
}

TEST_F(Top20Transactions, FailuresAndWaitForUpdate) {
    // The main frame is still opening the view: nothing happens.
    _csCommand = WAIT_FOR_UPDATE;
    g_bWaitForUpdate = 1;
    EXPECT_EQ(view_.OnCompileTop20Transx(0, 0), 0);
    EXPECT_EQ(host_.Traces().size(), 1u);
    EXPECT_EQ(host_.WaitDialogsOpened(), 0);

    // A missing log in a new series: the old report log is replaced by the header line alone.
    WriteFile(InDir("20230501QServer1_T20Xact.log"), "old report\r\n");
    view_.AddTransaction("Old", "00:00:01 (1000 msec)");
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "missing.log", "TOP20XACT", true), 0);
    std::string log = ReadFile(InDir("20230501QServer1_T20Xact.log"));
    EXPECT_EQ(log.rfind("Filename ", 0), 0u);
    EXPECT_EQ(log.find("\r\n"), log.size() - 2);
    EXPECT_EQ(view_.m_aXact.GetCount(), 0);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");

    // The report log cannot be opened: the file-error message, and the log is not read.
    host_.ClearRecords();
    const int opened = host_.WaitDialogsOpened();
    view_.m_csBaseFolder = (dir_ + "/no such folder").c_str();
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "20230501QServer1.log", "TOP20XACT", true), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text,
              (dir_ + "/no such folder/20230501QServer1_T20Xact.log: The file was not found.").c_str());
    EXPECT_EQ(host_.WaitDialogsOpened(), opened);
    EXPECT_EQ(Send(WM_POPULATETOP20XACT, "20230501QServer1.log", "TOP20XACT"), 0);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 0);  // the list is not touched
}

TEST_F(Top20Transactions, CancelKeepsWhatWasRead) {
    std::string big;
    for (int i = 0; i < 1500; ++i)
        big +=
            "2023/05/01 08:00:00.000 | Start Xact QClient:M:1 Port 1\r\n"
            "2023/05/01 08:00:00.010 | End Xact TRANSACTION TIME (msec): 10\r\n";
    WriteFile(InDir("big.log"), big);
    host_.CancelAtProgress(1);  // at line 1,000
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "big.log", "TOP20XACT", true), 1000);
    EXPECT_EQ(view_.m_nXactCount, 500);
    EXPECT_TRUE(Traced("End CVeltrinView::OnCompileTop20Transx"));
    ASSERT_FALSE(host_.ProgressCalls().empty());
    EXPECT_EQ(host_.ProgressCalls()[0].text, "big.log...\n1000 lines processed");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
}

// Short Start lines read their missing fields as empty; client fields split with empty parts dropped.
TEST_F(Top20Transactions, ShortStartLinesAndClientFields) {
    WriteFile(InDir("short.log"),
              "2023/05/01 08:00:00.000 | Start A\r\n"
              "2023/05/01 08:00:00.010 | End A TRANSACTION TIME (msec): 10\r\n"
              "2023/05/01 01:00:00 PM | Start B\r\n"
              "2023/05/01 01:00:00 PM | End B TRANSACTION TIME (msec): 0\r\n"
              "2023/05/01 08:00:01.000 | Start C QClient:://M9//1 Port 1\r\n"
              "2023/05/01 08:00:01.020 | End C TRANSACTION TIME (msec): 20\r\n");
    EXPECT_EQ(Send(WM_COMPILETOP20XACT, "short.log", "TOP20XACT", true), 6);
    EXPECT_EQ(view_.m_nXactCount, 3);
    EXPECT_EQ(Send(WM_POPULATETOP20XACT, "short.log", "TOP20XACT"), 3);
    std::vector<std::vector<std::string>> cells;
    for (const auto& r : host_.Rows())
        if (r[0] != "TOP20LOG")
            cells.push_back({r[5], r[8], r[9], r[10]});
    EXPECT_EQ(cells, (std::vector<std::vector<std::string>>{{"08:00:01.000", "C", "QClient", "M9"},
                                                            {"08:00:00.000", "A", "", ""},
                                                            {"01:00:00 PM", "B", "", ""}}));
}
