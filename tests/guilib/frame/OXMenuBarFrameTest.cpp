// The menu-bar frame over the docking MDI frame: the bar docks on menu dock bars in a row of its own,
// menus the MDI machinery sets go to the bar and never to the frame window, and framework callers of
// GetMenu reach the bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXMenuBarFrame.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "platform/base/Profile.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
const MenuTemplate kMenu{710,
                         {{"&File", 0, MF_POPUP, {{"&New", 100, 0, {}}}},
                          {"&Edit", 0, MF_POPUP, {{"&Undo", 101, 0, {}}}},
                          {"&Window", 0, MF_POPUP, {{"&Cascade", 102, 0, {}}}},
                          {"&Help", 0, MF_POPUP, {{"&About", 103, 0, {}}}}}};
const MenuTemplate kOtherMenu{711, {{"&Log", 0, MF_POPUP, {{"&Open", 104, 0, {}}}}}};

class Resources : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override {
        return id == 710 ? &kMenu : id == 711 ? &kOtherMenu : nullptr;
    }
};

using MenuDockBar = COXMenuDockBar<COXSizeDockBar>;

class CDockFrame : public COXMenuBarFrame<COXMDIFrameWndSizeDock, COXSizeDockBar> {
public:
    CDockFrame()
        : COXMenuBarFrame<COXMDIFrameWndSizeDock, COXSizeDockBar>(CBRS_ALIGN_ANY,
                                                                  RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}
    // "&New" (100) has a handler, which counts its runs; the default help is counted too.
    int newRuns = 0, defaultHelps = 0;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override {
        if ((id == 100 || id == ID_DEFAULT_HELP) && code == CN_COMMAND) {
            if (!info)
                ++(id == 100 ? newRuns : defaultHelps);
            return TRUE;
        }
        return COXMenuBarFrame::OnCmdMsg(id, code, extra, info);
    }
};

// Records the help asked for.
class CHelpApp : public CWinApp {
public:
    using CWinApp::CWinApp;
    std::vector<DWORD_PTR> help;
    void WinHelp(DWORD_PTR data, UINT) override { help.push_back(data); }
};

// A child window with a help context of its own.
LRESULT HelpContextProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_HELPHITTEST ? 4242 : DefWindowProc(hwnd, message, wParam, lParam);
}

RECT InParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MenuBarFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        AfxGetProfile().SetRegistryKey("Tests");
        AfxGetProfile().SetProfileName("MenuFrame");
        frame = new CDockFrame;
        ASSERT_TRUE(frame->LoadFrame(710, WS_OVERLAPPEDWINDOW));
        frame->SetWindowPos(nullptr, 0, 0, 800, 500, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        RemoveResourceModule(&resources);
    }

    TempRegistry registry;
    Resources resources;
    CHelpApp app{"MenuFrameApp"};
    CDockFrame* frame = nullptr;
};
}  // namespace

TEST_F(MenuBarFrameTest, TheBarDocksOnAMenuDockBarInARowOfItsOwn) {
    COXMenuBar& bar = frame->GetMenuBar();
    auto* top = dynamic_cast<MenuDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ASSERT_TRUE(top);
    for (UINT side : {AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        EXPECT_TRUE(dynamic_cast<MenuDockBar*>(frame->GetControlBar(side))) << side;
    EXPECT_EQ(bar.m_pDockBar, top);
    EXPECT_EQ(frame->m_pFloatingFrameClass, RUNTIME_CLASS(COXSizableMiniDockFrameWnd));
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    EXPECT_EQ(frame->m_hMenuDefault, bar.GetMenuHandle());
    // The framework's own callers reach the host through the base class.
    CWnd* asWindow = frame;
    ASSERT_TRUE(asWindow->GetMenu());
    EXPECT_EQ(asWindow->GetMenu()->m_hMenu, bar.GetMenuHandle());
    EXPECT_EQ(SendMessage(frame->m_hWnd, WM_OX_QUERY_LIVE_DRAGGING, 0, 0), 0);
    // Only a frame that is not MDI makes itself the main window; the application sets an MDI frame.
    EXPECT_EQ(app.m_pMainWnd, nullptr);

    // A tool bar put in the bar's row: the menu bar is given a row alone, over the whole frame width.
    COXCoolToolBar tools;
    ASSERT_TRUE(tools.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59392));
    TBBUTTON button{0, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
    tools.GetToolBarCtrl().AddButtons(1, &button);
    tools.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&tools, AFX_IDW_DOCKBAR_TOP);
    top->m_arrBars.RemoveAll();
    for (void* entry : {(void*)nullptr, (void*)&tools, (void*)&bar, (void*)nullptr})
        top->m_arrBars.Add(entry);
    frame->RecalcLayout();
    RECT client, menuRect = InParent(bar.m_hWnd), toolRect = InParent(tools.m_hWnd);
    GetClientRect(frame->m_hWnd, &client);
    EXPECT_EQ(menuRect.right - menuRect.left, client.right);
    EXPECT_GE(menuRect.top, toolRect.bottom);
    tools.DestroyWindow();
}

TEST_F(MenuBarFrameTest, MDIMenusGoToTheBarAndNeverToTheFrameWindow) {
    COXMenuBar& bar = frame->GetMenuBar();
    HMENU other = LoadMenu(nullptr, MAKEINTRESOURCE(711));
    frame->MDISetMenu(other, nullptr);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    EXPECT_EQ(bar.GetMenuHandle(), other);
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 1);

    // Another subclass drops ours and a menu lands on the frame window: the idle check mends both.
    HWND client = frame->m_hWndMDIClient;
    auto ours = (WNDPROC)GetWindowLongPtr(client, GWLP_WNDPROC);
    auto previous = (WNDPROC)GetProp(client, COXMDIClientHook::kPreviousProc);
    ASSERT_TRUE(previous);
    SetWindowLongPtr(client, GWLP_WNDPROC, (LONG_PTR)previous);
    HMENU stray = CreateMenu();
    SetMenu(frame->m_hWnd, stray);
    SendMessage(frame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ((WNDPROC)GetWindowLongPtr(client, GWLP_WNDPROC), ours);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    frame->MDISetMenu(frame->m_hMenuDefault, nullptr);
    EXPECT_EQ(bar.GetMenuHandle(), frame->m_hMenuDefault);
    DestroyMenu(stray);
    DestroyMenu(other);

    // The client outlives the frame's host entry as the frame goes; the hooks go with the last host.
    frame->DestroyWindow();
    frame = nullptr;
    EXPECT_FALSE(COXMenuBarHostBase::HooksInstalled());
}

TEST_F(MenuBarFrameTest, AMaximisedChildShowsItsIconAndButtonsOnTheBar) {
    COXMenuBar& bar = frame->GetMenuBar();
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200},
                              frame));
    HWND childHwnd = child->m_hWnd;
    SendMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(bar.GetSystemIcon(), nullptr);

    frame->MDIMaximize(child);
    SendMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    ASSERT_TRUE(bar.GetSystemIcon());
    auto centre = [](RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
    RECT first{}, client{};
    bar.GetToolBarCtrl().GetItemRect(0, &first);
    GetClientRect(bar.m_hWnd, &client);
    EXPECT_GE(first.left, bar.GetIconRect().right);
    struct {
        POINT point;
        int hit;
    } cases[] = {{centre(bar.GetIconRect()), -5},   {centre(bar.GetCloseRect()), -4},
                 {centre(bar.GetRestoreRect()), -3}, {centre(bar.GetMinimizeRect()), -2},
                 {POINT{client.right + 5, 2}, -1},   {centre(first), 0}};
    for (auto& c : cases)
        EXPECT_EQ(bar.HitTest(c.point), c.hit) << c.point.x << "," << c.point.y;
    // Close outermost, then restore and minimise, each 18 pixels square within the bar.
    EXPECT_EQ(bar.GetCloseRect().right - bar.GetCloseRect().left, std::min<LONG>(18, client.bottom - 2));
    EXPECT_LT(bar.GetRestoreRect().right, bar.GetCloseRect().left);
    EXPECT_LT(bar.GetMinimizeRect().right, bar.GetRestoreRect().left);

    // A press and release on the close button closes the child.
    POINT close = centre(bar.GetCloseRect());
    SendMessage(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x, close.y));
    EXPECT_EQ(bar.GetPressedMDIButton(), -4);
    SendMessage(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(close.x, close.y));
    EXPECT_EQ(bar.GetPressedMDIButton(), -1);
    Pump();
    EXPECT_FALSE(IsWindow(childHwnd));
    SendMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(bar.GetSystemIcon(), nullptr);
    RECT closed = bar.GetCloseRect();
    EXPECT_TRUE(IsRectEmpty(&closed));
}

// Context help: entered in two steps with the mouse captured; the menu bar keeps working, so that a
// command chosen from its popup gives help on itself instead of running, and the mode ends.
TEST_F(MenuBarFrameTest, InContextHelpTheMenuBarOpensAndAChosenCommandGivesHelpInsteadOfRunning) {
    COXMenuBar& bar = frame->GetMenuBar();
    UpdateWindow(frame->m_hWnd);
    RECT file{}, edit{};
    bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&file);
    bar.SendMessage(TB_GETITEMRECT, 1, (LPARAM)&edit);
    int mode = 0, hotAfterMove = 0;
    UINT prompt = 0;
    HWND captured = nullptr;
    ModalSteps steps;
    steps.Start({[&](HWND) {
                     mode = frame->m_bHelpMode;
                     prompt = frame->m_nIDLastMessage;
                     captured = GetCapture();
                     POINT over{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2};
                     ClientToScreen(bar.m_hWnd, &over);
                     PostMouseInput(WM_MOUSEMOVE, over, 0);
                 },
                 [&](HWND) {
                     hotAfterMove = (int)bar.SendMessage(TB_GETHOTITEM);
                     SimulateClick(bar.m_hWnd, (file.left + file.right) / 2, (file.top + file.bottom) / 2);
                 },
                 ModalSteps::Key(VK_DOWN), ModalSteps::Key(VK_RETURN),
                 // Never left waiting: whatever happened, the mode ends here.
                 [&](HWND) { frame->ExitHelpMode(); }});
    frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_EQ(frame->m_bHelpMode, CFrameWnd::HELP_ENTERING);
    Pump();
    EXPECT_EQ(mode, CFrameWnd::HELP_ACTIVE);
    EXPECT_EQ(prompt, (UINT)AFX_IDS_HELPMODEMESSAGE);
    EXPECT_EQ(captured, frame->m_hWnd);
    EXPECT_EQ(hotAfterMove, -1) << "a move over the bar with no popup open reached it";
    EXPECT_EQ(app.help, std::vector<DWORD_PTR>{HID_BASE_COMMAND + 100});
    EXPECT_EQ(frame->newRuns, 0);
    EXPECT_EQ(frame->m_bHelpMode, CFrameWnd::HELP_INACTIVE);
    EXPECT_EQ(GetCapture(), nullptr);
    // Out of the mode the command runs.
    frame->SendMessage(WM_COMMAND, 100);
    EXPECT_EQ(frame->newRuns, 1);
}

// Clicks elsewhere in the mode: a window that names a context gets that help, one that names none the
// default help; Escape and WM_EXITHELPMODE end the mode with no help.
TEST_F(MenuBarFrameTest, ContextHelpClicksNameAContextOrTheDefaultHelpAndEscapeEndsIt) {
    RegisterTestWindowClass("HelpContextChild", HelpContextProc, COLOR_WINDOW);
    HWND client = frame->m_hWndMDIClient;
    HWND named = CreateWindow("HelpContextChild", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 40, client, nullptr,
                              nullptr, nullptr);
    ASSERT_TRUE(named);
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<DWORD_PTR> help;
        int defaultHelps;
    };
    const Case cases[] = {
        {"a click on a window with a context", [&] { SimulateClick(named, 5, 5); }, {4242}, 0},
        {"a click on the client", [&] { SimulateClick(client, 200, 150); }, {}, 1},
        {"Escape", [] { SimulateKey(VK_ESCAPE); }, {}, 0},
        {"WM_EXITHELPMODE", [&] { frame->PostMessage(WM_EXITHELPMODE); }, {}, 0},
    };
    for (const Case& c : cases) {
        app.help.clear();
        frame->defaultHelps = 0;
        ModalSteps steps;
        steps.Start({[&](HWND) { c.act(); }, [&](HWND) { frame->ExitHelpMode(); }});
        frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
        Pump();
        EXPECT_EQ(app.help, c.help) << c.what;
        EXPECT_EQ(frame->defaultHelps, c.defaultHelps) << c.what;
        EXPECT_EQ(frame->m_bHelpMode, CFrameWnd::HELP_INACTIVE) << c.what;
        EXPECT_EQ(GetCapture(), nullptr) << c.what;
    }
    DestroyWindow(named);
}
