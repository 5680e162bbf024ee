// The main frame's start and close as a returning user meets them: the limit of running copies, the saved
// shortcut keys, the logs reopened where they were, and the pad's "Output" history page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis/AppMaps.h"
#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/MyPadView.h"
#include "app/MyTreeView.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "guilib/frame/OXInstanceManager.h"
#include "guilib/frame/OXTabViewContainer.h"
#include "platform/base/Process.h"
#include "platform/base/Profile.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/user/Accelerators.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
const ResourceModule* const kModules[] = {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(),
                                          &VeltrinPadResources()};

class MainFrmWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m : kModules)
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.LoadStdProfileSettings(8);
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        m_previousEnd = g_endVeltrinProcess;
        g_endVeltrinProcess = [this](int status) { ended.push_back(status); };
        g_mapLoadedLogs.RemoveAll();
        MSG stale;  // messages an earlier test left for windows now gone
        while (PeekMessage(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        g_endVeltrinProcess = m_previousEnd;
        g_mapLoadedLogs.RemoveAll();
        for (const ResourceModule* m : kModules)
            RemoveResourceModule(m);
    }
    CMainFrame* NewFrame() {
        frame = new CMainFrame;
        EXPECT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = frame;
        return frame;
    }
    // The frame closed as the user closes it; the process would end here.
    void Close() {
        frame->SendMessage(WM_CLOSE, 0, 0);
        Pump();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
    std::string CopySample(const char* name) {
        std::string path = dir / name;
        std::ifstream in(std::string(VELTRIN_SAMPLES) + "/" + name, std::ios::binary);
        std::ofstream out(path, std::ios::binary);
        out << in.rdbuf();
        return path;
    }
    static CString ModulePath() {
        char path[4096] = "";
        GetModuleFileName(nullptr, path, sizeof path);
        return path;
    }

    TempRegistry registry;
    TempFolder dir;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    CMainFrame* frame = nullptr;
    std::vector<int> ended;
    std::function<void(int)> m_previousEnd;
};

std::vector<CMDIChildWnd*> Children(CMainFrame* frame) {
    std::vector<CMDIChildWnd*> out;  // top first
    for (HWND h = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h)))
            out.push_back(child);
    return out;
}
}  // namespace

TEST_F(MainFrmWorkspaceTest, TheSavedLimitOfCopiesIsSetWhenTheFrameIsMade) {
    struct Case {
        int saved;  // -1: none saved
        DWORD limit;
    } cases[] = {{-1, 1000}, {5, 5}, {1, 1}, {1000, 1000}, {0, 1000}, {1001, 1000}};
    for (const Case& c : cases) {
        if (c.saved >= 0)
            app.WriteProfileInt("CustomizeInstanceManager", "MaxAllowedInstanceNumber", c.saved);
        NewFrame();
        EXPECT_EQ(frame->GetInstanceManager().GetMaxAllowedInstances(), c.limit) << c.saved;
        // This copy alone: no limit closes it.
        EXPECT_EQ(frame->GetInstanceManager().GetInstanceCount(), 1);
        frame->DestroyWindow();
        Pump();
        EXPECT_TRUE(ended.empty());
    }
    frame = nullptr;
}

TEST_F(MainFrmWorkspaceTest, ACopyBeyondTheLimitIsNotCreated) {
    // Another registration of this program with a limit of 1: the frame's own makes two.
    COXInstanceManager earlier(ModulePath());
    earlier.SetMaxAllowedInstances(1);
    auto* refused = new CMainFrame;
    EXPECT_FALSE(refused->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    EXPECT_EQ(refused->m_hWnd, nullptr);
    delete refused;
    EXPECT_EQ(earlier.GetInstanceCount(), 1);
    // Within the limit the frame is made.
    earlier.SetMaxAllowedInstances(2);
    NewFrame();
    EXPECT_NE(frame->m_hWnd, nullptr);
}

TEST_F(MainFrmWorkspaceTest, SavedShortcutKeysAreInForceFromTheStart) {
    NewFrame();
    frame->LoadWorkspace();
    COXShortkeysOrganizer& keys = frame->GetShortkeysOrganizer();
    ASSERT_EQ(keys.GetFrameWnd(), frame);
    ASSERT_TRUE(keys.SetAccelerator(FVIRTKEY | FCONTROL | FSHIFT, VK_F3, ID_STATS));
    ASSERT_TRUE(keys.SaveState("CustomizeShortkeys"));
    Close();

    NewFrame();
    auto inForce = [this] {
        int count = CopyAcceleratorTable(frame->m_hAccelTable, nullptr, 0);
        std::vector<ACCEL> table((size_t)count);
        CopyAcceleratorTable(frame->m_hAccelTable, table.data(), count);
        for (const ACCEL& a : table)
            if (a.cmd == ID_STATS && a.key == VK_F3 && (a.fVirt & (FCONTROL | FSHIFT)) == (FCONTROL | FSHIFT))
                return true;
        return false;
    };
    EXPECT_FALSE(inForce());
    frame->LoadWorkspace();
    EXPECT_TRUE(inForce());
}

TEST_F(MainFrmWorkspaceTest, OpenLogsComeBackWhereTheyWereAtTheNextStart) {
    std::string broker = CopySample("20230502QBroker.log");
    std::string server = CopySample("20230502QServer7001.log");
    // As after opening a log: the working folder is the logs' (report documents are named there).
    std::filesystem::path startFolder = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    struct Back {
        std::filesystem::path folder;
        ~Back() { std::filesystem::current_path(folder); }
    } back{startFolder};
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->LoadWorkspace();
    CMyTreeCtrl& tree = frame->GetTreeView()->GetTreeCtrl();
    const RECT places[] = {{10, 10, 410, 260}, {60, 40, 500, 330}};
    const char* names[] = {"20230502QBroker.log", "20230502QServer7001.log"};
    int rows[2] = {};
    for (int i = 0; i < 2; ++i) {
        frame->GetTreeView()->PopulateTreeEx((i == 0 ? broker : server).c_str());
        tree.SetCurrentItem(tree.FindItemByText(names[i]));
        tree.OnItemize();
        Pump();
        auto* view = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->m_csListKey, CString(names[i]));
        rows[i] = view->m_List.GetItemCount();
        ASSERT_GT(rows[i], 0);
        CFrameWnd* child = view->GetParentFrame();
        frame->MDIRestore(child);
        child->MoveWindow(places[i].left, places[i].top, places[i].right - places[i].left,
                          places[i].bottom - places[i].top);
    }
    // The pad floated.
    frame->FloatControlBar(frame->GetPadView(), POINT{200, 220});
    Pump();
    ASSERT_TRUE(frame->GetPadView()->IsFloating());
    RECT padFrame;
    frame->GetPadView()->GetParentFrame()->GetWindowRect(&padFrame);
    Close();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\VeltrinEx\\Veltrin\\WorkspaceState", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Main", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_GT(size, 8u);
    RegCloseKey(key);

    // The next start, without arguments and from another folder: both reports, filled, at their places,
    // the one active last on top.
    std::filesystem::current_path(startFolder);
    NewFrame();
    frame->LoadWorkspace();
    frame->ShowWindow(SW_SHOW);
    Pump();
    std::vector<CMDIChildWnd*> children = Children(frame);
    ASSERT_EQ(children.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        CMDIChildWnd* child = children[1 - i];
        auto* view = dynamic_cast<CVeltrinView*>(child->GetActiveView());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->m_csListKey, CString(names[i]));
        EXPECT_EQ(view->m_List.GetItemCount(), rows[i]) << names[i];
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        child->GetWindowPlacement(&wp);
        EXPECT_EQ(wp.rcNormalPosition.left, places[i].left) << names[i];
        EXPECT_EQ(wp.rcNormalPosition.bottom, places[i].bottom) << names[i];
        EXPECT_TRUE(frame->IsPadPage(names[i]));
    }
    EXPECT_EQ(frame->MDIGetActive(), children[0]);
    // The pad floats where it was.
    CMyPadView* pad = frame->GetPadView();
    ASSERT_TRUE(pad->IsFloating());
    EXPECT_TRUE(pad->IsWindowVisible());
    EXPECT_TRUE(pad->GetParentFrame()->IsWindowVisible());
    RECT again;
    pad->GetParentFrame()->GetWindowRect(&again);
    EXPECT_EQ(again.left, padFrame.left);
    EXPECT_EQ(again.top, padFrame.top);
    // Not a pixel larger: the pad does not grow from one start to the next.
    EXPECT_EQ(again.right, padFrame.right);
    EXPECT_EQ(again.bottom, padFrame.bottom);
    EXPECT_EQ(GetWindowTextString(pad->GetParentFrame()->m_hWnd), GetWindowTextString(pad->m_hWnd));
}

TEST_F(MainFrmWorkspaceTest, ThePadsOutputPageIsAnEmptyHistory) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    CMyPadView* pad = frame->GetPadView();
    COXTabViewContainer* container = pad->GetContainer();
    ASSERT_EQ(container->GetPageCount(), 1);
    COXHistoryCtrl& history = pad->GetOutputPage();
    EXPECT_EQ(container->GetPage(0), &history);
    EXPECT_EQ(container->GetActivePageIndex(), 0);
    EXPECT_EQ(history.GetEntryCount(), 0);

    // Empty, it paints its whole area in the window colour.
    frame->RecalcLayout();
    RECT r;
    history.GetClientRect(&r);
    ASSERT_GT(r.right, 20);
    ASSERT_GT(r.bottom, 20);
    ::RedrawWindow(history.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PixelProbe probe(history.m_hWnd);
    for (POINT p : {POINT{2, 2}, POINT{r.right / 2, r.bottom / 2}, POINT{r.right - 3, r.bottom - 3}})
        EXPECT_EQ(probe.At(p), GetSysColor(COLOR_WINDOW)) << p.x << "," << p.y;

    // After a font change it scrolls by lines of the font's height, a page being whole lines.
    LOGFONT lf{};
    lf.lfHeight = -13;
    lf.lfPitchAndFamily = FIXED_PITCH;
    CFont font;
    font.CreateFontIndirect(&lf);
    history.SetHistoryFont(&font);
    SIZE ch = history.GetCharSize();
    ASSERT_GT(ch.cy, 0);
    EXPECT_EQ(history.GetLineDeviceSize().cy, ch.cy);
    EXPECT_EQ(history.GetPageDeviceSize().cy % ch.cy, 0);
    EXPECT_GT(history.GetPageDeviceSize().cy, 0);
}
