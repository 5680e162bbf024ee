#include <gtest/gtest.h>

#include <fstream>

#include "analysis/AppMaps.h"
#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/MyPadView.h"
#include "app/MyTreeView.h"
#include "core/PrivateMessages.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Profile.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/docview/Document.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
// Lets the tests reach the search helpers.
class TestFrame : public CMainFrame {
public:
    using CMainFrame::SearchWithSifter;
    using CMainFrame::m_customizeManager;
};

class MainFrmTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m :
             {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(), &VeltrinPadResources()})
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.LoadStdProfileSettings(8);
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        m_previousEnd = g_endVeltrinProcess;
        g_endVeltrinProcess = [this](int status) { ended.push_back(status); };
        g_mapLoadedLogs.RemoveAll();
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        g_endVeltrinProcess = m_previousEnd;
        g_mapLoadedLogs.RemoveAll();
        for (const ResourceModule* m :
             {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(), &VeltrinPadResources()})
            RemoveResourceModule(m);
    }
    TestFrame* NewFrame() {
        frame = new TestFrame;
        EXPECT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = frame;
        return frame;
    }
    void Close() {
        frame->SendMessage(WM_CLOSE, 0, 0);
        Pump();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
    CString Setting(const char* entry) { return app.GetProfileString("Settings", entry, "<none>"); }

    TempRegistry registry;
    TempFolder dir;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    TestFrame* frame = nullptr;
    std::vector<int> ended;
    std::function<void(int)> m_previousEnd;
};

const char* const kWrittenAtStart[] = {"MinMilliseconds", "StartSqlSumRptOnT20", "LinkLowerTabWithUpperTabOnActivate",
                                       "TreeViewUseSearchOption"};
}  // namespace

TEST_F(MainFrmTest, CreatesItsBarsPanesAndTitle) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    EXPECT_TRUE(frame->GetPadView() && frame->GetPadView()->m_hWnd);
    EXPECT_TRUE(frame->GetTreeView() && frame->GetTreeView()->m_hWnd);
    CString text;
    frame->GetToolBar().GetWindowText(text);
    EXPECT_EQ(text, CString("Toolbar"));
    frame->GetWindowBar().GetWindowText(text);
    EXPECT_EQ(text, CString("Window"));
    EXPECT_EQ(frame->m_csPane0Text, CString("Ready"));
    EXPECT_EQ(frame->m_csPane3200Text, CString("LogName"));
    frame->UpdateTitle();
    frame->GetWindowText(text);
    EXPECT_EQ(text, CString("Veltrin V4.21b"));
    // Toggling a bar by its id hides and shows it.
    EXPECT_TRUE(frame->OnToggleControlBar(ID_VIEW_WINDOWBAR));
    EXPECT_FALSE(frame->GetWindowBar().IsWindowVisible());
    frame->OnToggleControlBar(ID_VIEW_WINDOWBAR);
    EXPECT_TRUE(frame->GetWindowBar().IsWindowVisible());

    // The menu lives in the menu bar, which its bar id does not hide; the frame has bitmap menus.
    COXMenuBar& menuBar = frame->GetMenuBar();
    EXPECT_EQ(GetMenu(frame->m_hWnd), nullptr);
    ASSERT_TRUE(menuBar.GetMenuHandle());
    EXPECT_EQ(menuBar.GetToolBarCtrl().GetButtonCount(), GetMenuItemCount(menuBar.GetMenuHandle()));
    RECT file{};
    menuBar.GetToolBarCtrl().GetItemRect(0, &file);
    EXPECT_GT(file.right - file.left, 20);  // wide enough for "File", laid out before the frame shows
    EXPECT_TRUE(menuBar.IsWindowVisible());
    frame->OnToggleControlBar((UINT)menuBar.GetDlgCtrlID());
    EXPECT_TRUE(menuBar.IsWindowVisible());
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(frame->m_hWnd), &frame->GetBitmapMenuOrganizer());
}

TEST_F(MainFrmTest, RecentlyUsedCommandsSurviveARestart) {
    NewFrame();
    COXBitmapMenuOrganizer* organizer = &frame->GetBitmapMenuOrganizer();
    // The start-up commands are not recently used until chosen.
    EXPECT_FALSE(organizer->IsCommandRecentlyUsed(57606));
    EXPECT_FALSE(organizer->IsCommandRecentlyUsed(58114));
    organizer->AddToRecentlyUsed(57606);
    Close();
    NewFrame();
    organizer = &frame->GetBitmapMenuOrganizer();
    EXPECT_TRUE(organizer->IsCommandRecentlyUsed(57606));
    EXPECT_FALSE(organizer->IsCommandRecentlyUsed(58114));
}

TEST_F(MainFrmTest, TheTreeAndPadBarsLayoutIsSavedOnCloseAndComesBackAtTheNextStart) {
    auto width = [](CWnd* w) {
        RECT r;
        w->GetWindowRect(&r);
        return r.right - r.left;
    };
    // First start: the creation layout, the tree on the left and the pad at the bottom.
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->LoadWorkspace();
    CMyTreeView* tree = frame->GetTreeView();
    CMyPadView* pad = frame->GetPadView();
    EXPECT_EQ(tree->GetSizeBarFlags(), 0x214u);
    EXPECT_EQ(pad->GetSizeBarFlags(), 0x214u);
    EXPECT_EQ((CControlBar*)tree->m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ((CControlBar*)pad->m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    // The user widens the tree and floats the pad.
    tree->m_VertDockSize.cx = 260;
    frame->RecalcLayout();
    int treeWidth = width(tree);
    frame->FloatControlBar(pad, POINT{200, 220});
    Pump();
    ASSERT_TRUE(pad->IsFloating());
    RECT padFrame;
    pad->GetParentFrame()->GetWindowRect(&padFrame);
    Close();

    EXPECT_EQ(app.GetProfileInt("SizeBarState", "Version", 0), 2u);
    for (UINT id : {59522u, 59523u}) {
        CString entry;
        entry.Format("BarSize_%u", id);
        BYTE* data = nullptr;
        UINT bytes = 0;
        ASSERT_TRUE(AfxGetProfile().GetProfileBinary("SizeBarState", entry, &data, &bytes)) << (LPCTSTR)entry;
        EXPECT_EQ(bytes, 28u);
        if (id == 59523u && bytes == 28) {  // the vertical docked width, little-endian
            EXPECT_EQ(data[16] | data[17] << 8, 260);
        }
        delete[] data;
    }

    // Second start: the same layout.
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->LoadWorkspace();
    Pump();
    tree = frame->GetTreeView();
    pad = frame->GetPadView();
    EXPECT_EQ((CControlBar*)tree->m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(width(tree), treeWidth);
    ASSERT_TRUE(pad->IsFloating());
    RECT again;
    pad->GetParentFrame()->GetWindowRect(&again);
    EXPECT_EQ(again.left, padFrame.left);
    EXPECT_EQ(again.top, padFrame.top);
}

TEST_F(MainFrmTest, ThePadAndTreeCommandsHideAndShowAStackedBarWithItsTab) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->LoadWorkspace();
    CMyTreeView* tree = frame->GetTreeView();
    CMyPadView* pad = frame->GetPadView();
    auto* left = dynamic_cast<COXSizeDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    ASSERT_NE(left, nullptr);
    // The pad dropped on the tree's tab band: a stack of two, the pad's tab selected.
    frame->RecalcLayout();
    RECT band, now;
    left->GetWindowRect(&band);
    pad->GetWindowRect(&now);
    RECT drop{band.left + 10, band.bottom - 20, band.left + 10 + now.right - now.left, band.bottom - 20 + now.bottom - now.top};
    frame->DockControlBar(pad, left, &drop);
    frame->RecalcLayout();
    Pump();
    COXDockTabCtrl& tabs = left->m_wndDockTabCtrl;
    auto tabBars = [&] {
        std::vector<CControlBar*> out;
        for (int i = 0; i < tabs.GetItemCount(); ++i)
            out.push_back(tabs.GetTabBar(i));
        return out;
    };
    ASSERT_EQ(tabBars().size(), 2u);
    const int padTab = tabs.FindTab(pad);

    // Hidden by its command, the pad leaves the stack: the tree shows alone, untabbed.
    frame->SendMessage(WM_COMMAND, ID_VIEW_PADBAR, 0);
    Pump();
    EXPECT_FALSE(pad->IsWindowVisible());
    EXPECT_TRUE(tree->IsWindowVisible());
    EXPECT_TRUE(tabBars().empty());
    // Shown again, it takes its tab back, selected, over the tree.
    frame->SendMessage(WM_COMMAND, ID_VIEW_PADBAR, 0);
    Pump();
    ASSERT_EQ(tabBars().size(), 2u);
    EXPECT_EQ(tabs.FindTab(pad), padTab);
    EXPECT_EQ(tabs.GetCurSel(), padTab);
    EXPECT_TRUE(pad->IsWindowVisible());
    EXPECT_FALSE(tree->IsWindowVisible());
}

TEST_F(MainFrmTest, PlacementIsSavedOnCloseAndRestoredAtTheNextStart) {
    // First start: nothing saved, nothing of the four values written.
    NewFrame();
    EXPECT_FALSE(frame->ShowWithSavedPlacement(SW_SHOWNORMAL));
    for (const char* entry : kWrittenAtStart)
        EXPECT_EQ(Setting(entry), CString("<none>")) << entry;
    frame->SetWindowPos(nullptr, 30, 40, 700, 500, SWP_NOZORDER);
    Close();
    EXPECT_EQ(ended, std::vector<int>{0});
    CString saved = Setting("WindowPos");
    EXPECT_EQ(saved.Left(4), CString("0,1,"));
    EXPECT_NE(saved.Find(",30,40,730,540"), -1) << (LPCTSTR)saved;

    // Second start: the same rectangle, and the four values written back with their defaults.
    NewFrame();
    EXPECT_TRUE(frame->ShowWithSavedPlacement(SW_SHOWNORMAL));
    RECT r;
    frame->GetWindowRect(&r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.bottom, 540);
    EXPECT_EQ(app.GetProfileInt("Settings", "MinMilliseconds", -1), 4u);
    EXPECT_EQ(app.GetProfileInt("Settings", "TreeViewUseSearchOption", -1), 1u);
    // A maximised frame stores flags 2.
    frame->ShowWindow(SW_MAXIMIZE);
    Close();
    EXPECT_EQ(Setting("WindowPos").Left(4), CString("2,3,"));

    // A placement saved minimised comes back normal.
    app.WriteProfileString("Settings", "WindowPos", "0,2,-1,-1,-1,-1,10,10,400,300");
    NewFrame();
    EXPECT_TRUE(frame->ShowWithSavedPlacement(SW_SHOWNORMAL));
    EXPECT_FALSE(frame->IsIconic());
    EXPECT_FALSE(frame->IsZoomed());
    // A damaged value counts as none.
    app.WriteProfileString("Settings", "WindowPos", "0,1,2,3");
    EXPECT_FALSE(frame->ShowWithSavedPlacement(SW_SHOWNORMAL));
}

TEST_F(MainFrmTest, SavePadAsWritesTheActivePageOrSaysThereIsNothing) {
    NewFrame();
    std::vector<CString> offered;
    CString target = (dir / "out.txt").c_str();
    auto previous = g_choosePadSaveFile;
    g_choosePadSaveFile = [&](LPCTSTR name, CString& path) {
        offered.push_back(name);
        path = target;
        return TRUE;
    };
    frame->SendMessage(WM_SAVEPADAS, 0, 0);  // the empty "Output" page
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("Nothing in the Edit Pane to Save!"));
    EXPECT_EQ(boxes.Calls()[0].type & MB_ICONINFORMATION, (UINT)MB_ICONINFORMATION);

    frame->AddPadPage("20230502QBroker.log");
    frame->ReplacePadPageText("20230502QBroker.log", "line 1\r\nline 2\r\n");
    frame->SendMessage(WM_SAVEPADAS, 0, 0);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], CString("20230502QBroker.txt"));
    EXPECT_EQ(ReadFileBytes(target.GetString()), "line 1\r\nline 2\r\n");

    boxes.Clear();
    target = (dir / "no/such/folder/out.txt").c_str();
    frame->SendMessage(WM_SAVEPADAS, 0, 0);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].type & MB_ICONSTOP, (UINT)MB_ICONSTOP);
    g_choosePadSaveFile = previous;
}

TEST_F(MainFrmTest, FindInTreeWritesTheListFileAndStartsSifter) {
    NewFrame();
    HObj broker;
    broker.m_csName = "20230502QBroker.log";
    broker.m_csServerList = "20230502QServer7003>20230502075957|20230502QServer7002>20230502075957|";
    g_mapLoadedLogs.Add("20230502QBroker.log", broker);
    HObj other;
    other.m_csName = "abcQBroker.log";
    g_mapLoadedLogs.Add("abcQBroker.log", other);
    _csBaseFolder = dir.Path().c_str();
    std::vector<CString> started;
    auto previous = g_launchSifter;
    g_launchSifter = [&](LPCTSTR line) {
        started.push_back(line);
        return 1;
    };
    EXPECT_TRUE(frame->SearchWithSifter("select a|b"));
    EXPECT_EQ(ReadFileBytes(dir / "_FF_.lst"),
              "20230502QBroker.log,20230502QServer7003.log,20230502QServer7002.log,abcQBroker.log,");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], CString("Sifter BASEPATH=") + dir.Path().c_str() +
                              "|FILEMASK=_FF_.lst|FINDTEXT=select a|b|SUBDIRS=N|EXECNOW=Y|");
    // An unwritable folder: no list, no start.
    _csBaseFolder = (dir / "missing").c_str();
    EXPECT_FALSE(frame->SearchWithSifter("x"));
    EXPECT_EQ(started.size(), 1u);
    g_launchSifter = previous;
}

TEST_F(MainFrmTest, EachImportOpensAChildFrameWithAReportViewNamedAfterIt) {
    NewFrame();
    // What the report opened before left in the request.
    _csReportName = "";
    _csListKey = "20230502QBroker.log";
    _csReportType = "QBROKERITEMIZE";
    std::vector<CView*> views;
    std::vector<CString> names;
    for (int i = 0; i < 2; ++i) {
        CString name;
        name.Format("Import_%d", g_nImportCount + 1);
        frame->SendMessage(WM_COMMAND, ID_IMPORT, 0);
        CView* view = frame->GetActiveLogView();
        ASSERT_NE(view, nullptr) << name.GetString();
        EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CVeltrinView)));
        EXPECT_TRUE(view->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CChildFrame)));
        EXPECT_EQ(view->GetDocument()->GetTitle(), name);
        EXPECT_EQ(static_cast<CVeltrinView*>(view)->m_csListKey, name);
        views.push_back(view);
        names.push_back(name);
    }
    // The second import is a report of its own beside the first, each with its pad page.
    EXPECT_NE(views[0], views[1]);
    EXPECT_NE(views[0]->GetDocument(), views[1]->GetDocument());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(frame->IsPadPage(names[i])) << names[i].GetString();
        EXPECT_EQ(frame->FindDocumentView(names[i]), views[i]) << names[i].GetString();
    }
}

namespace {
TEST_F(MainFrmTest, TreeCommandsReachTheirViewsThroughTheFrame) {
    MSG stale;  // messages an earlier test left for windows now gone
    while (PeekMessage(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    NewFrame();
    std::string log = dir / "20230502QServer7001.log";
    {
        std::ifstream in(std::string(VELTRIN_FIXTURES) + "/../../samples/20230502QServer7001.log", std::ios::binary);
        std::ofstream out(log, std::ios::binary);
        out << in.rdbuf();
    }
    frame->GetTreeView()->PopulateTreeEx(log.c_str());
    CMyTreeCtrl& tree = frame->GetTreeView()->GetTreeCtrl();
    tree.SetCurrentItem(tree.FindItemByText("20230502QServer7001.log"));

    // Goto Line in List: the itemize view opens, fills and shows the row of that line.
    {
        ModalSteps modal;
        modal.Start({[](HWND dlg) { ::SetDlgItemText(dlg, IDC_GOTO_LINE, "5"); },
                     [](HWND dlg) { ::SendMessage(dlg, WM_COMMAND, IDOK, 0); }});
        tree.OnGotoLineInList();
    }
    Pump();
    auto* view = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_csListKey, CString("20230502QServer7001.log"));
    ASSERT_GT(view->m_List.GetItemCount(), 1);
    int selected = view->m_List.GetNextSelected(-1);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(view->m_List.GetItemText(selected, 1), CString("5"));
    EXPECT_EQ(view->m_csLastNav, CString("WM_GOTOLINE"));

    // A time analysis, then its view closed and the analysis asked for again: "Use Existing" loads the
    // report log into a view of its own.
    tree.SetCurrentItem(tree.FindItemByText("20230502QServer7001.log"));
    tree.OnRunTAServer();
    Pump();
    auto* ta = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
    ASSERT_NE(ta, nullptr);
    EXPECT_EQ(ta->m_csListKey, CString("20230502QServer7001.log_TA"));
    const int rows = ta->m_List.GetItemCount();
    ASSERT_GT(rows, 0);
    // A row's follow-up report: the frame opens its view while the request waits, then hands it the
    // request back with the message.
    _csReportName = "XACT_TA_T20SQL1";
    _csListKey = "XACT_TA_T20SQL1";
    _csAction = "RUNXACTREPORT";
    _csCommand = "NAME=20230502QServer7001.log|TYPE=SUBITEM|EXE=1";
    frame->SendMessage(WM_RUNXACTREPORT, 0, 0);
    auto* followUp = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
    ASSERT_NE(followUp, nullptr);
    EXPECT_EQ(followUp->m_csListKey, CString("XACT_TA_T20SQL1"));
    EXPECT_EQ(_csCommand, CString("NAME=20230502QServer7001.log|TYPE=SUBITEM|EXE=1"));
    EXPECT_EQ(g_bWaitForUpdate, 0);
    frame->FindDocumentView("20230502QServer7001.log_TA");
    ta->GetParentFrame()->DestroyWindow();
    Pump();
    EXPECT_FALSE(frame->IsPadPage("20230502QServer7001.log_TA"));
    {
        ModalSteps modal;
        modal.Start({ModalSteps::ClickItem(IDC_USE_EXISTING)});
        tree.SetCurrentItem(tree.FindItemByText("20230502QServer7001.log"));
        tree.OnRunTAServer();
    }
    Pump();
    auto* reused = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(reused->m_csListKey, CString("20230502QServer7001_TA"));
    EXPECT_EQ(reused->m_List.GetItemCount(), rows);
}
}  // namespace
TEST_F(MainFrmTest, FindInTreeSearchesTheLogsItselfForATextWithABar) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    const std::string sentTo = "Action : sent to /pt_QServer://APPSRV1/";
    std::string broker = dir.Write("20230502QBroker.log", "HandleServerRequest(): On Request - 07:59:57\n" + sentTo +
                                                              "1\n" + sentTo + "2\nselect a|b from t\n");
    dir.Write("20230502QServer1.log", "2023/05/02 08:00:05.000 QServer | select a|b from t\n");
    dir.Write("20230502QServer2.log", "2023/05/02 08:00:06.000 QServer | select a from t\n");
    // A report log holding the text is no log of the tree.
    dir.Write("20230502QServer1_TA.log", "select a|b from t\n");
    frame->GetTreeView()->PopulateTreeEx(broker.c_str());
    Pump();
    // Sifter is chosen, but its line would cut the text at the bar.
    app.WriteProfileInt("Settings", "TreeViewUseSearchOption", 1);
    std::vector<CString> started;
    auto previous = g_launchSifter;
    g_launchSifter = [&](LPCTSTR line) {
        started.push_back(line);
        return 1;
    };
    auto find = [&](const char* text) {
        ModalSteps steps;
        steps.Start({[text](HWND dialog) { SetDlgItemText(dialog, IDC_FIND_TEXT, text); },
                     ModalSteps::ClickItem(IDOK)});
        frame->OnFindInTree();
        Pump();
    };

    find("a|b");
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(frame->IsPadPage("20230502QBroker.log"));
    EXPECT_TRUE(frame->IsPadPage("20230502QServer1.log"));
    EXPECT_FALSE(frame->IsPadPage("20230502QServer2.log"));
    EXPECT_FALSE(frame->IsPadPage("20230502QServer1_TA.log"));
    auto* view = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_csListKey, CString("20230502QServer1.log"));
    for (const auto& call : boxes.Calls())
        EXPECT_NE(call.text, CString("End of TreeView Search."));

    // Without the setting the search is the internal one; found nowhere: said once, and no report more.
    app.WriteProfileString("Settings", "TreeViewUseSearchOption", nullptr);
    boxes.Clear();
    find("nowhere at all");
    ASSERT_FALSE(boxes.Calls().empty());
    EXPECT_EQ(boxes.Calls().back().text, CString("End of TreeView Search."));
    EXPECT_EQ(boxes.Calls().back().type & MB_ICONINFORMATION, (UINT)MB_ICONINFORMATION);
    EXPECT_FALSE(frame->IsPadPage("20230502QServer2.log"));
    EXPECT_TRUE(started.empty());
    g_launchSifter = previous;
}

TEST_F(MainFrmTest, CustomizeIsEnabledAndTwiceMakesOneDialogOwnedByTheFrame) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    struct StateOf : CCmdUI {
        void Enable(BOOL on) override { enabled = on; }
        BOOL enabled = -1;
    } state;
    state.m_nID = ID_CUSTOMIZE;
    state.DoUpdate(frame, TRUE);
    EXPECT_EQ(state.enabled, TRUE);

    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    HWND dialog = frame->m_customizeManager.GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(dialog));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), frame->m_hWnd);
    EXPECT_EQ(::GetActiveWindow(), dialog);
    EXPECT_EQ(GetWindowTextString(dialog), CString("Customize"));

    frame->SetActiveWindow();
    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    EXPECT_EQ(frame->m_customizeManager.GetSafeHwnd(), dialog);
    EXPECT_EQ(::GetActiveWindow(), dialog);

    frame->m_customizeManager.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(::IsWindow(dialog));
    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    EXPECT_TRUE(::IsWindow(frame->m_customizeManager.GetSafeHwnd()));
}
