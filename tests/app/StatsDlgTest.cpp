// The statistics dialog driven as a user drives it: steps run one per timer tick in its modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/StatsDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "res/veltrin/resource_stats.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
const char kBroker1[] =
    "HandleClientRequest(): On Request - 08:00:00\n"
    "ID  : /pt_QClient://WS0104/10505#4\n"
    "Type: LOGIN_QUILLAN\n"
    "Action : sent to /pt_QServer://APPSRV1/7002\n";
const char kBroker2[] =
    "HandleClientRequest(): On Request - 09:00:00\n"
    "ID  : /pt_QClient://BATCH01/26890#9\n"
    "Type: PAYMENT\n"
    "Action : sent to /pt_QServer://APPSRV2/7003\n";

class StatsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m : {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinStatsResources()})
            AddResourceModule(m);
        app.SetRegistryKey("VeltrinEx");
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr);
        app.m_pMainWnd = &main;
        g_mapLoadedLogs.RemoveAll();
        Load("20230502QBroker.log", "QBROKER", kBroker1);
        Load("20230503QBroker.log", "QBROKER", kBroker2);
        Load("20230502QServer7002.log", "QSERVER", "x\n");
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        g_mapLoadedLogs.RemoveAll();
        Pump();
    }
    void Load(const std::string& name, const char* type, const std::string& text) {
        dir.Write(name, text);
        HObj rec;
        rec.m_csName = name.c_str();
        rec.m_csFolder = dir.Path().c_str();
        rec.m_csLogType = type;
        g_mapLoadedLogs.Add(name.c_str(), rec);
    }
    // The steps capture the dialog: none may outlive its modal loop.
    INT_PTR Run(CStatsDlg& dlg, std::vector<ModalSteps::Step> steps) {
        modal.Start(std::move(steps));
        INT_PTR result = dlg.DoModal();
        modal.Stop();
        return result;
    }
    static std::vector<std::string> Rows(CReportCtrl& list) {
        std::vector<std::string> out;
        for (int i = 0; i < list.GetItemCount(); ++i)
            out.push_back(list.GetItemText(i, 0).GetString());
        return out;
    }
    bool Posted(UINT message) {
        std::vector<UINT> posted = main.TakePosted();
        return std::count(posted.begin(), posted.end(), message) > 0 ||
               std::any_of(main.messages.begin(), main.messages.end(),
                           [&](const RecordingMainWnd::Message& m) { return m.message == message; });
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const auto& c : boxes.Calls())
            out.push_back(c.text.GetString());
        return out;
    }

    TempRegistry registry;
    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    ModalSteps modal;
    TempFolder dir;
};

std::vector<std::string> ClientKeys() {
    std::vector<std::string> out;
    g_mapStatsClientIds.ForEach([&](const CString& k, const CMObj&) { out.push_back(k.GetString()); });
    return out;
}
std::vector<std::string> TransactionKeys() {
    std::vector<std::string> out;
    g_mapStatsTransactions.ForEach([&](const CString& k, const TObj&) { out.push_back(k.GetString()); });
    return out;
}
}  // namespace

TEST_F(StatsDlgTest, TickedLogsFillTheListsAndOkOpensTheNextReport) {
    link.pages = {"STATS_CM1", "STATS_CM2"};
    _csBaseFolder = "/an/import/folder";  // left by the report opened before
    CStatsDlg dlg;
    std::vector<std::string> ids, transactions;
    CString idCount, caption;
    BOOL okEnabled = FALSE;
    int logRows = 0;
    INT_PTR result = Run(dlg, {[&](HWND d) {
                                   caption = GetWindowTextString(d);
                                   ids = Rows(dlg.GetIdList());
                                   transactions = Rows(dlg.GetTransactionList());
                                   idCount = GetWindowTextString(GetDlgItem(d, IDC_STATS_ID_COUNT));
                                   okEnabled = IsWindowEnabled(GetDlgItem(d, IDOK));
                                   logRows = dlg.GetLogGrid().GetItemCount();
                                   WriteScreenshot(d, "StatsDialog");
                               },
                               ModalSteps::ClickItem(IDOK)});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, "Stats");
    EXPECT_EQ(logRows, 2);  // the broker logs only
    EXPECT_EQ(ids, (std::vector<std::string>{"BATCH01", "WS0104"}));
    EXPECT_EQ(transactions, (std::vector<std::string>{"LOGIN_QUILLAN", "PAYMENT"}));
    EXPECT_EQ(idCount, "2");
    EXPECT_TRUE(okEnabled);

    EXPECT_EQ(dlg.GetReportName(), "STATS_CM3");
    EXPECT_EQ(_csReportName, "STATS_CM3");
    EXPECT_EQ(_csListKey, "STATS_CM3");
    EXPECT_EQ(_csReportType, "STATS_CM");
    EXPECT_EQ(_csAction, "RUNSTATSREPORT");
    EXPECT_EQ(_csBaseFolder, CString(dir.Path().c_str()));
    EXPECT_NE(std::find(link.calls.begin(), link.calls.end(), "OpenReportDocument:STATS_CM3"), link.calls.end());
    EXPECT_TRUE(Posted(WM_RUNSTATSREPORT));
    HObj rec;
    ASSERT_TRUE(g_mapLoadedLogs.Get("20230503QBroker.log", rec));
    EXPECT_EQ(rec.m_bChosen, 1);
    EXPECT_EQ(app.GetProfileInt("Settings", "SelectClientMachines", -1), 1);
    EXPECT_EQ(app.GetProfileInt("Settings", "SelectQServers", -1), 0);
}

TEST_F(StatsDlgTest, ASecondOkReplacesTheChoices) {
    CStatsDlg first;
    ASSERT_EQ(Run(first, {ModalSteps::ClickItem(IDOK)}), IDOK);
    EXPECT_EQ(TransactionKeys(), (std::vector<std::string>{"LOGIN_QUILLAN", "PAYMENT"}));

    CStatsDlg second;
    ASSERT_EQ(Run(second, {[&](HWND) {
                               second.GetTransactionList().SetItemChecked(0, FALSE);
                               second.GetIdList().SetItemChecked(1, FALSE);
                           },
                           ModalSteps::ClickItem(IDOK)}),
              IDOK);
    EXPECT_EQ(TransactionKeys(), (std::vector<std::string>{"PAYMENT"}));
    EXPECT_EQ(ClientKeys(), (std::vector<std::string>{"BATCH01"}));
}

TEST_F(StatsDlgTest, NothingTickedKeepsTheDialogOpenWithItsMessage) {
    struct Case {
        const char* what;
        std::vector<int> clicks;  // one step each
        const char* message;
    } cases[] = {
        {"logs", {IDC_STATS_SELECT_ALL_LOGS}, "No QBroker logs were selected !!!"},
        {"ids", {IDC_STATS_SELECT_ALL_IDS}, "No ClientMachine selection data available !!!"},
        {"server ids", {IDC_STATS_FILTER_HS, IDC_STATS_SELECT_ALL_IDS}, "No QServer IDs selection data available !!!"},
        {"transactions", {IDC_STATS_SELECT_ALL_XACTS}, "No Transaction selection data available !!!"},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        main.TakePosted();
        main.messages.clear();
        // A refused OK still stores the choices: each case starts from everything ticked.
        for (const char* entry : {"SelectAll", "SelectAllCM", "SelectAllT", "SelectClientMachines"})
            app.WriteProfileInt("Settings", entry, 1);
        CStatsDlg dlg;
        bool openAfter = false;
        std::vector<ModalSteps::Step> steps;
        for (int id : c.clicks)
            steps.push_back(ModalSteps::ClickItem(id));
        steps.push_back(ModalSteps::ClickItem(IDOK));
        steps.push_back([&](HWND d) { openAfter = IsWindow(d) && IsWindowVisible(d); });
        steps.push_back(ModalSteps::ClickItem(IDCANCEL));
        INT_PTR result = Run(dlg, steps);
        EXPECT_EQ(result, IDCANCEL) << c.what;
        EXPECT_TRUE(openAfter) << c.what;
        EXPECT_EQ(Boxes(), (std::vector<std::string>{c.message})) << c.what;
        EXPECT_FALSE(Posted(WM_RUNSTATSREPORT)) << c.what;
    }
}

TEST_F(StatsDlgTest, ServerModeListsServerIdsAndTheSwitchIsWrittenAtOnce) {
    CStatsDlg dlg;
    std::vector<std::string> ids;
    int written = -1;
    ASSERT_EQ(Run(dlg, {[](HWND d) { ClickDlgItem(d, IDC_STATS_FILTER_HS); },
                        [&](HWND d) {
                            ids = Rows(dlg.GetIdList());
                            ClickDlgItem(d, IDC_STATS_ENABLE_ET);
                        },
                        [&](HWND) { written = app.GetProfileInt("Settings", "EnableETCalculationsInStats", -1); },
                        ModalSteps::ClickItem(IDOK)}),
              IDOK);
    EXPECT_EQ(ids, (std::vector<std::string>{"7002", "7003"}));
    EXPECT_EQ(written, 1);
    EXPECT_EQ(dlg.GetReportName(), "STATS_HS1");
    EXPECT_EQ(_csReportType, "STATS_HS");
    EXPECT_EQ(g_mapStatsServerIds.GetCount(), 2);
    EXPECT_EQ(app.GetProfileInt("Settings", "SelectQServers", -1), 1);
}

TEST_F(StatsDlgTest, OkStaysDisabledWithoutABrokerLog) {
    g_mapLoadedLogs.RemoveAll();
    Load("20230502QServer7002.log", "QSERVER", "x\n");
    CStatsDlg dlg;
    BOOL okEnabled = TRUE;
    EXPECT_EQ(Run(dlg, {[&](HWND d) { okEnabled = IsWindowEnabled(GetDlgItem(d, IDOK)); },
                        ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    EXPECT_FALSE(okEnabled);
}

TEST_F(StatsDlgTest, OkWaitsForTheListsToBeFilled) {
    CStatsDlg dlg(&main);
    ASSERT_TRUE(dlg.Create(IDD_STATS, &main));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg.m_hWnd, IDOK)));  // before its first message
    Pump();
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg.m_hWnd, IDOK)));
    EXPECT_EQ(dlg.GetTransactionList().GetItemCount(), 2);
    dlg.DestroyWindow();
}
