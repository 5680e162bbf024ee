#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "tests/analysis/ImportTestSupport.h"

using importtest::Fixture;
using importtest::WriteFile;

namespace {
using Rows = std::vector<std::vector<std::string>>;

const char kLog1[] = "20090131QBroker.log";
const char kLog2[] = "20090201QBroker.log";

class Statistics : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMaps();
        WriteFile(dir_ / kLog1, Fixture(std::string("stats/") + kLog1));
        WriteFile(dir_ / kLog2, Fixture(std::string("stats/") + kLog2));
        // The server list names "...QServer12" before "...QServer1": server 1 must still get its own.
        AddLog(kLog1, "QBROKER", 1,
               "20090131QServer12>20090131100000|20090131QServer1>20090131100000|"
               "20090131QServer2 - N/A>20090131100000|");
        AddLog("20090131QBrokerB.log", "QBROKER", 0, "");  // not chosen, and missing: never opened
        AddLog("20090131QServer1.log", "QSERVER", 1, "");  // chosen but not a broker log
        AddLog(kLog2, "QBROKER", 1, "20090201QServer1>20090201090000|");
        for (const char* t : {"LOGIN", "PAYMENT", "LOGIN_QUILLAN", "ON CLIENT UNREGISTER"})
            g_mapStatsTransactions.Add(t, TObj());
        _csCommand = "NAME=STATS|TYPE=ROOTITEM|EXE=RUNSTATSREPORT";
        host_.SetProfile("Settings", "EnableETCalculationsInStats", "1");
    }
    void TearDown() override { ClearMaps(); }
    static void ClearMaps() {
        g_mapLoadedLogs.RemoveAll();
        g_mapStatsClientIds.RemoveAll();
        g_mapStatsServerIds.RemoveAll();
        g_mapStatsTransactions.RemoveAll();
    }
    void AddLog(const char* name, const char* type, BYTE chosen, const char* servers) {
        HObj rec;
        rec.m_csName = name;
        rec.m_csFolder = dir_.Path().c_str();
        rec.m_csLogType = type;
        rec.m_csServerList = servers;
        rec.m_bChosen = chosen;
        g_mapLoadedLogs.Add(name, rec);
    }
    int32_t Run(const char* listKind) {
        _csReportName = listKind;
        view_.m_csListKey = listKind;
        view_.m_csReportType = CString(listKind).Left(8);
        return (int32_t)view_.OnRunStatsReport(0, 0);
    }
    std::vector<UINT> PostedToView() const {
        std::vector<UINT> v;
        for (const auto& p : host_.PostedLog())
            if (!p.toMainWindow)
                v.push_back(p.message);
        return v;
    }

    importtest::TempFolder dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};

const std::string kB1 = "20090131QBroker.log: ";
const std::string kS1 = "20090131QServer1.log";
const std::string kS2 = "20090131QServer2 - N/A.log";
const std::string kS12 = "20090131QServer12.log";
const std::string kW1 = "//ws01/1111(";
const std::string kD = "2009/01/31";
}  // namespace

TEST_F(Statistics, ClientMachineList) {
    g_mapStatsClientIds.Add("WS01", CMObj());
    g_mapStatsClientIds.Add("WS02", CMObj());
    EXPECT_EQ(Run("STATS_CM1"), 10);

    // Sorted by client machine, ascending, stably. A queued request keeps the transaction of its queue
    // line and shows that line; a server without a list entry and a block whose client line comes
    // before its server line show no file and "N/A".
    const Rows expected = {
        {"1", "WS01", "login", kD, "10:00:01", "", kB1 + "2", kS1, "", kW1 + "1)"},
        {"3", "WS01", "LOGIN_QUILLAN : alice", kD, "10:00:05", "", kB1 + "15", kS12, "", kW1 + "1)"},
        {"4", "WS01", "LOGIN", kD, "10:00:08", "N/A", kB1 + "27", "", "", kW1 + "1)"},
        {"6", "WS01", "ON CLIENT UNREGISTER", kD, "10:00:10", "", kB1 + "35", kS1, "", kW1 + "1)"},
        {"7", "WS01", "PAYMENT", kD, "10:00:11", "", kB1 + "38", kS1, "", kW1 + "1)"},
        {"8", "WS01", "PAYMENT", kD, "10:00:11", "", kB1 + "42", kS1, "", kW1 + "2)"},
        {"9", "WS01", "LOGIN_QUILLAN", kD, "10:00:13", "", kB1 + "47", kS1, "", kW1 + "1)"},
        {"2", "WS02", "PAYMENT", kD, "10:00:04", "", kB1 + "7 [Q] 11", kS2, "", "//ws02/2222(1)"},
        {"5", "WS02", "LOGIN", kD, "10:00:09", "N/A", kB1 + "31", "", "", "//ws02/2222(1)"},
        {"10", "WS02", "LOGIN", "2009/02/01", "09:00:00", "", "20090201QBroker.log: 1",
         "20090201QServer1.log", "", "//ws02/5555(1)"},
    };
    EXPECT_EQ(host_.Rows(), expected);

    gxListModel& list = host_.GetList();
    EXPECT_EQ(list.GetCaption(), "STATS_CM1");
    EXPECT_EQ(list.GetColumnName(6), "    QBroker Line             ");
    EXPECT_EQ(view_.m_csListKind, "STATS_CM1");
    EXPECT_EQ(view_.m_csCurItemKind, "ROOTITEM");
    // Only the chosen broker logs were opened, in the map's order; the elapsed-time run is asked once.
    EXPECT_EQ(host_.TreeSelections(), (std::vector<CString>{kLog1, kLog2}));
    EXPECT_EQ(PostedToView(), (std::vector<UINT>{WM_RUNETTHREADS}));
    EXPECT_EQ(host_.Traces().front(),
              "CVeltrinView::OnRunStatsReport: _csCommand=NAME=STATS|TYPE=ROOTITEM|EXE=RUNSTATSREPORT");
    EXPECT_EQ(host_.Traces()[1], "Start CVeltrinView::OnRunCMStatsReport");
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::OnRunCMStatsReport");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 10");
    EXPECT_EQ(host_.WaitDialogsOpened(), 2);
    EXPECT_EQ(host_.WaitTexts().front(), "Analyzing QBroker Content...");
    // Logs under 1,000 lines report every 30 lines, then once more at the end with the last text.
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Analysing QBroker Content...\n30 lines processed");
    EXPECT_EQ(host_.ProgressCalls()[1].text, "Itemizing QBroker Content...\n50 lines processed");
}

TEST_F(Statistics, ServerIdList) {
    for (const char* id : {"1", "2", "12"})
        g_mapStatsServerIds.Add(id, HObj());
    g_mapStatsTransactions.RemoveAll();
    for (const char* t :
         {"login", "Payment", "LOGIN_QUILLAN", "ON CLIENT UNREGISTER"})  // case does not matter
        g_mapStatsTransactions.Add(t, TObj());
    EXPECT_EQ(Run("STATS_HS1"), 10);

    // By server id (a number column), ascending. The queued request pairs with its dispatch; a client
    // line before the server line emits the row at the server line.
    const Rows expected = {
        {"1", "1", "login", "WS01", kD, "10:00:01", "", kB1 + "2", kS1, "", kW1 + "1)"},
        {"4", "1", "LOGIN", "WS03", kD, "10:00:06", "", kB1 + "19", kS1, "", "//ws03/3333(1)"},
        {"6", "1", "ON CLIENT UNREGISTER", "WS01", kD, "10:00:10", "", kB1 + "35", kS1, "", kW1 + "1)"},
        {"7", "1", "PAYMENT", "WS01", kD, "10:00:11", "", kB1 + "38", kS1, "", kW1 + "1)"},
        {"8", "1", "PAYMENT", "WS01", kD, "10:00:11", "", kB1 + "42", kS1, "", kW1 + "2)"},
        {"9", "1", "LOGIN_QUILLAN", "WS01", kD, "10:00:13", "", kB1 + "47", kS1, "", kW1 + "1)"},
        {"10", "1", "LOGIN", "WS02", "2009/02/01", "09:00:00", "", "20090201QBroker.log: 1",
         "20090201QServer1.log", "", "//ws02/5555(1)"},
        {"2", "2", "PAYMENT", "WS02", kD, "10:00:04", "", kB1 + "7 [Q] 11", kS2, "", "//ws02/2222(1)"},
        {"5", "2", "LOGIN", "WS02", kD, "10:00:09", "", kB1 + "31", kS2, "", "//ws02/2222(1)"},
        {"3", "12", "LOGIN_QUILLAN : alice", "WS01", kD, "10:00:05", "", kB1 + "15", kS12, "", kW1 + "1)"},
    };
    EXPECT_EQ(host_.Rows(), expected);
    EXPECT_EQ(host_.GetList().GetColumnCount(), 11);
    EXPECT_EQ(host_.Traces().back(), "End CVeltrinView::OnRunHSStatsReport");
    EXPECT_EQ(PostedToView(), (std::vector<UINT>{WM_RUNETTHREADS}));
}

TEST_F(Statistics, AQueuedRequestTakesItsOwnBlocksTransaction) {
    // PC2's request is queued and then sent to server 1; both its blocks say GetB. Whatever came
    // before it must not lend it a transaction.
    const std::string sentElsewhere =
        "2009/01/31 10:00:01 : On Request - 10:00:01\r\nID : /pt_QClient://PC1/11\r\nType: GetA\r\n"
        "Action : sent to /pt_QServer://S/9\r\n";
    const std::string queuedThenSent =
        "2009/01/31 10:00:02 : On Request - 10:00:02\r\nID : /pt_QClient://PC2/22\r\nType: GetB\r\n"
        "Request PC2/22 put in waiting queue\r\n"
        "2009/01/31 10:00:03 : On Request - 10:00:03\r\nID : /pt_QClient://PC2/22\r\nType: GetB\r\n"
        "Action : sent to /pt_QServer://S/1\r\n";
    const std::string processDies = "2009/01/31 10:00:01 - On Process Dies - pid 7 10:00:01\r\n";
    const struct {
        const char* what;
        std::string log1, log2;
        std::string brokerLine;
    } cases[] = {
        {"a block the server filter refused", sentElsewhere + queuedThenSent, "", kB1 + "5 [Q] 9"},
        {"an On Process Dies header", processDies + queuedThenSent, "", kB1 + "2 [Q] 6"},
        {"the previous log", sentElsewhere, queuedThenSent, "20090201QBroker.log: 1 [Q] 5"},
    };
    for (const char* mode : {"STATS_HS1", "STATS_CM1"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(mode) + ": " + c.what);
            ClearMaps();
            host_.ClearRecords();
            WriteFile(dir_ / kLog1, c.log1);
            WriteFile(dir_ / kLog2, c.log2);
            AddLog(kLog1, "QBROKER", 1, "20090131QServer1>20090131100000|");
            AddLog(kLog2, "QBROKER", 1, "20090201QServer1>20090201090000|");
            g_mapStatsServerIds.Add("1", HObj());
            g_mapStatsClientIds.Add("PC2", CMObj());
            for (const char* t : {"GetA", "GetB"})
                g_mapStatsTransactions.Add(t, TObj());
            ASSERT_EQ(Run(mode), 1);
            const bool hs = std::string(mode) == "STATS_HS1";
            EXPECT_EQ(host_.Rows()[0][2], "GetB");
            EXPECT_EQ(host_.Rows()[0][hs ? 7 : 6], c.brokerLine);
        }
    }
}

TEST_F(Statistics, SettingOffShowsDisabledAndPostsNothing) {
    host_.SetProfile("Settings", "EnableETCalculationsInStats", "0");
    g_mapStatsClientIds.Add("WS01", CMObj());  // one client: ordered by time
    EXPECT_EQ(Run("STATS_CM2"), 7);
    std::vector<std::string> elapsed, times;
    for (const auto& row : host_.Rows()) {
        elapsed.push_back(row[5]);
        times.push_back(row[4]);
    }
    EXPECT_EQ(elapsed, std::vector<std::string>(7, "disabled"));
    EXPECT_EQ(times, (std::vector<std::string>{"10:00:01", "10:00:05", "10:00:08", "10:00:10", "10:00:11",
                                               "10:00:11", "10:00:13"}));
    EXPECT_TRUE(PostedToView().empty());
}

TEST_F(Statistics, NoDataPadTextAfterEachEmptyLog) {
    g_mapStatsClientIds.Add("WS02", CMObj());
    WriteFile(dir_ / kLog1, "2009/01/31 10:00:00 : On Request - 10:00:00\r\nType: REPORT\r\n");
    EXPECT_EQ(Run("STATS_CM3"), 1);
    ASSERT_EQ(host_.PadTexts().size(), 1u);
    EXPECT_EQ(host_.PadTexts()[0],
              ("\r\n No Data Available in " + (dir_ / kLog1) + " for Itemize Criteria.").c_str());
}

TEST_F(Statistics, MissingChosenLogEndsThePass) {
    g_mapStatsClientIds.Add("WS02", CMObj());
    std::remove((dir_ / kLog2).c_str());
    EXPECT_EQ(Run("STATS_CM4"), 0);
    EXPECT_EQ(host_.GetList().GetItemCount(), 2);  // the first log's rows stay
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.Traces().back(), "Start CVeltrinView::OnRunCMStatsReport");
    EXPECT_TRUE(PostedToView().empty());
}
