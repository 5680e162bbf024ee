#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/Clock.h"
#include "res/veltrin/VeltrinResources.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
class VeltrinViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        app.SetRegistryKey("VeltrinTest");
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
        app.m_pMainWnd = &main;
        frame.CreateEx(0, nullptr, "Child", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, main.m_hWnd, nullptr);
        for (CString* s : {&_csListKey, &_csReportName, &_csItemKind, &_csLogType, &_csReportType, &_csBaseFolder,
                           &_csCommand, &_csAction, &_csDocToOpen})
            *s = "";
    }
    void TearDown() override {
        if (view && view->m_hWnd)
            view->DestroyWindow();
        frame.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // A view made as the document template makes it; null when its creation failed.
    CVeltrinView* Make(const char* listKey, const char* reportName, const char* reportType = "") {
        _csListKey = listKey;
        _csReportName = reportName;
        _csReportType = reportType;
        view = new CVeltrinView;
        RECT rc{0, 0, 600, 400};
        // A view whose window was made deletes itself when its creation fails.
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, &frame, 0xE900))
            view = nullptr;
        return view;
    }
    void Fill(const std::vector<std::vector<const char*>>& rows) {
        gxListModel& list = view->GetList();
        list.ResetList();
        list.m_csNames = "Rec|File|Row|";
        list.m_csTypes = "N|S|N|";
        list.SetColumns(3);
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                list.AddItem((int)r, (int)c, rows[r][c]);
    }

    TempRegistry registry;
    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    CWnd frame;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    DrivenClock clock;
    CVeltrinView* view = nullptr;
};

TEST_F(VeltrinViewTest, CreationTakesItsKeyAndLayoutFromTheRequest) {
    struct Case {
        const char* listKey;
        const char* reportName;
        const char* reportType;
        bool created;
        const char* key;
        const char* layout;
    } cases[] = {
        {"A_TA", "a.log", "ANALYZETA", true, "A_TA", "ANALYZETA"},
        {"", "b.log", "", true, "b.log", "b.log"},
        {"C", "", "", true, "C", "C"},
        {"", "", "X", false, "", ""},
    };
    for (const Case& c : cases) {
        link.calls.clear();
        CVeltrinView* v = Make(c.listKey, c.reportName, c.reportType);
        ASSERT_EQ(v != nullptr, c.created) << c.reportName;
        EXPECT_TRUE(boxes.Calls().empty());
        if (!v)
            continue;
        EXPECT_EQ(v->m_csListKey, CString(c.key));
        EXPECT_EQ(v->m_csLayout, CString(c.layout));
        EXPECT_EQ(::GetDlgCtrlID(v->m_List.m_hWnd), 1018);
        EXPECT_EQ(link.calls, (std::vector<std::string>{std::string("AddPadPage:") + c.key}));
        EXPECT_EQ(v->m_nPadPage, (int)link.pages.size() - 1);
        link.calls.clear();
        v->DestroyWindow();
        view = nullptr;
        EXPECT_EQ(link.calls, (std::vector<std::string>{std::string("ClosePadPage:") + c.key}));
    }
}

TEST_F(VeltrinViewTest, ContextMenuByListKeyAndRow) {
    struct Case {
        const char* key;
        const char* exe;
        const char* column0;  // the focused row's first cell; null for an empty list
        bool select;
        UINT menu;
        std::vector<UINT> enabled;
    } cases[] = {
        {"20230502QBroker.log", "ITEMIZE", nullptr, false, 162, {32787}},
        {"20230502QBroker.log_T20Xact", "", "3", true, 163, {4009, 32793, 32794, 32795, 32786}},
        {"TOP20_XACT_ALL", "", "3", false, 163, {4009}},
        {"TOP20_XACT_ALL", "", "TOP20LOG", false, 151, {4009}},
        {"TOP20_XACT_ALL", "", nullptr, false, 0, {}},
        {"x_SQLHISTOGRAM", "", "1", false, 151, {4009}},
        {"x_SQLSUMMARY", "", "1", true, 191, {1101, 32786}},
        {"TOP20_SQL_ALL", "", "TOP20LOG", false, 166, {4009, 32796}},
        {"a.log_T20Sql", "", "2", false, 151, {4009}},
        {"STATS_CM1", "", nullptr, false, 164, {4013, 4014}},
        {"STATS_CM1", "", "1", true, 164, {4013, 4014, 32794, 32786}},
        {"Import_1", "", nullptr, false, 165, {4009}},
        {"20230502QBroker.log_TA", "", "1", true, 163, {4009, 32793, 32794, 32795, 32786}},
        {"SQL_ANALYSIS_ALL_TA", "", nullptr, false, 0, {}},
        {"20230502QServer1.log_TA", "", nullptr, false, 151, {4009}},
    };
    ASSERT_TRUE(Make("start", "start.log"));
    for (const Case& c : cases) {
        view->m_csListKey = c.key;
        view->m_csExe = c.exe;
        if (c.column0) {
            Fill({{c.column0, "f.log", "10"}});
            view->m_List.SetItemState(0, LVIS_FOCUSED | (c.select ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
        } else {
            Fill({});
        }
        std::vector<UINT> enabled;
        EXPECT_EQ(view->ChooseContextMenu(view->GetFocusedItem(), enabled), c.menu) << c.key << " " << (c.column0 ? c.column0 : "");
        EXPECT_EQ(enabled, c.enabled) << c.key;
    }
}

TEST_F(VeltrinViewTest, RowCommandsPostTheFollowUpReport) {
    struct Case {
        const char* key;
        bool sqlSum;
        const char* command;
        const char* reportName;
        UINT posted;
    } cases[] = {
        {"TOP20_XACT_ALL", false, "NAME=f.log|TYPE=SUBITEM|EXE=10", "XACT_T20SQL7", WM_RUNXACTREPORT},
        {"a.log_T20Xact", true, "NAME=f.log|TYPE=SUBITEM|EXE=10", "XACT_SUM7", WM_RUNXACTSQLSUMREPORT},
        {"20230502QBroker.log_TA", false, "NAME=10|TYPE=SUBITEM|EXE=f.log", "XACT_TA_T20SQL7", WM_RUNXACTREPORT},
        {"SQL_ANALYSIS_ALL_TA", true, "NAME=10|TYPE=SUBITEM|EXE=f.log", "XACT_TA_SUM7", WM_RUNXACTSQLSUMREPORT},
    };
    ASSERT_TRUE(Make("start", "start.log"));
    Fill({{"7", "f.log", "10"}, {"TOP20LOG", "g.log", "1"}});
    const CString layout = view->m_csLayout;
    for (const Case& c : cases) {
        view->m_csListKey = c.key;
        _csItemKind = "SUBITEM";
        _csCommand = "";
        if (c.sqlSum)
            view->OnRunSubitemSQLSum(0);
        else
            view->OnRunSubitemT20(0);
        EXPECT_EQ(_csCommand, CString(c.command)) << c.key;
        EXPECT_EQ(_csReportName, CString(c.reportName));
        EXPECT_EQ(_csListKey, _csReportName);
        EXPECT_EQ(_csDocToOpen, _csReportName);
        // The new report's layout is its prefix; the list it came from keeps its own.
        EXPECT_EQ(_csReportType, CString(c.reportName).Left(CString(c.reportName).GetLength() - 1));
        EXPECT_EQ(view->m_csLayout, layout);
        EXPECT_EQ(main.TakePosted(), std::vector<UINT>{c.posted});
    }
    // The marker row of a top-20 list and lists of other kinds start nothing.
    for (const char* key : {"TOP20_XACT_ALL", "Import_1"}) {
        view->m_csListKey = key;
        _csCommand = "unchanged";
        view->OnRunSubitemT20(key == std::string("Import_1") ? 0 : 1);
        EXPECT_EQ(_csCommand, CString("unchanged"));
        EXPECT_TRUE(main.TakePosted().empty());
    }
}

TEST_F(VeltrinViewTest, ActivationFollowsTheLinkSetting) {
    ASSERT_TRUE(Make("a.log_TA", "a.log"));
    Fill({{"1", "f.log", "2"}, {"2", "f.log", "3"}});
    link.calls.clear();
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"ActivatePadPage:a.log_TA", "SelectTreeItem:a.log_TA",
                                                    "Pane3200:a.log_TA", "Pane3201: Records: 2"}));
    app.WriteProfileInt("Settings", "LinkLowerTabWithUpperTabOnActivate", 0);
    link.calls.clear();
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"Pane3200:a.log_TA", "Pane3201: Records: 2"}));
}

TEST_F(VeltrinViewTest, ClosedForAMissingLogOnlyWhenIdleAndEmpty) {
    ASSERT_TRUE(Make("a.log", "a.log"));
    EXPECT_TRUE(view->CanCloseForMissingLog());
    Fill({{"1", "f.log", "2"}});
    EXPECT_FALSE(view->CanCloseForMissingLog());
    Fill({});
    view->m_bRunFinished = FALSE;  // workers of a statistics report still run
    EXPECT_FALSE(view->CanCloseForMissingLog());
}

TEST_F(VeltrinViewTest, WorkersSendToTheViewUntilItCloses) {
    ASSERT_TRUE(Make("STATS_CM1", "a.log"));
    HWND hwnd = view->m_hWnd;
    // A worker's send is handled by the waiting view; once the window is gone the send fails.
    std::atomic<int> answered{-1};
    auto worker = view->StartWorker([&] { answered = view->SendToView(WM_SETITEMCOUNT, 0, 0); });
    ASSERT_TRUE(worker);
    IAnalysisWorker* list[] = {worker.get()};
    view->WaitForWorkers(list, 1);
    EXPECT_NE(answered.load(), -1);
    view->DestroyWindow();
    view = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(VeltrinViewTest, AStatisticsReportClosedMidRunLeavesNoWorkerNorBuffer) {
    TempFolder dir;
    std::string big = "2009/01/31 10:00:01.000 | Start login /pt_QClient://ws01/1111 \r\n";
    for (int i = 2; i <= 120000; ++i)
        big += "2009/01/31 10:00:02.000 | SQL\r\n";
    dir.Write("big.log", big);
    _csBaseFolder = dir.Path().c_str();
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1"));
    gxListModel& list = view->GetList();
    list.ResetList();
    list.m_csNames = " Records | ClientMachine | Transaction | Date | Time | ElapsedTime | QBroker Line |"
                     " QServer Filename | QServerLine | TID |";
    list.m_csTypes = "N|S|S|S|S|S|S|S|N|S|";
    list.SetColumns(10);
    const char* row[] = {"1", "WS01", "login", "2009/01/31", "10:00:01", "", "broker.log: 1", "big.log", "", "//ws01/1111(1)"};
    for (int c = 0; c < 10; ++c)
        list.AddItem(0, c, row[c]);
    HWND hwnd = view->m_hWnd;
    ::SendMessage(hwnd, WM_RUNETTHREADS, 0, 0);
    bool started = false;
    for (const auto& slot : view->m_workerSlots)
        started = started || slot != nullptr;
    EXPECT_TRUE(started);
    view->DestroyWindow();
    view = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(g_nRunningWorkers, 0);
    EXPECT_EQ(CVeltrinAnalysis::LiveResultBuffers(), 0);
}
}  // namespace
