// Tool bars from resources, the status bar's panes, docking, floating and the dock state.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/base/Profile.h"
#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/DockState.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"
#include "platform/framework/bars/StatusBar.h"
#include "platform/framework/bars/ToolBar.h"
#include "platform/user/ToolTip.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace {
constexpr UINT kToolsBar = 0xE810;  // a second tool bar
constexpr UINT kExtraBar = 0xE811;  // a third one

// Toolbar 300: | 100 | sep | 101 | 102 | with the three images of bitmap 300.
class BarResources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate tb{300, 16, 15, {100, 0, 101, 102}};
        return id == 300 ? &tb : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource bitmap{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &bitmap : nullptr;
    }
    const char* FindString(UINT id) const override { return id == 100 ? "Runs the first command\nRun" : nullptr; }
};

RECT InParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A frame whose commands 100 and 101 have handlers: 100 runs, 101 is disabled by its update handler.
class CTestFrame : public CFrameWnd {
public:
    int ran100 = 0;

protected:
    void OnCommand100() { ++ran100; }
    void OnUpdate101(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdate100(CCmdUI* ui) { ui->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_COMMAND(100, OnCommand100)
ON_UPDATE_COMMAND_UI(100, OnUpdate100)
ON_UPDATE_COMMAND_UI(101, OnUpdate101)
END_MESSAGE_MAP()

// A frame with a client, a status bar and tool bars, docked as a program does it.
struct Window {
    CTestFrame* frame = nullptr;
    CWnd client;
    CStatusBar status;
    CToolBar toolbar, tools, extra;

    void Make(bool withTools = true, bool withExtra = true) {
        frame = new CTestFrame;
        ASSERT_TRUE(frame->Create(nullptr, "App", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 600}));
        AfxGetApp()->m_pMainWnd = frame;
        RECT zero{0, 0, 0, 0};
        ASSERT_TRUE(client.Create(nullptr, nullptr, WS_VISIBLE, zero, frame, AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(toolbar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
        ASSERT_TRUE(toolbar.LoadToolBar(300));
        ASSERT_TRUE(status.Create(frame));
        UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        ASSERT_TRUE(status.SetIndicators(panes, 4));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&toolbar);
        if (withTools)
            MakeTools();
        if (withExtra) {
            ASSERT_TRUE(extra.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, RECT{}, kExtraBar));
            ASSERT_TRUE(extra.LoadToolBar(300));
            extra.EnableDocking(CBRS_ALIGN_ANY);
            frame->DockControlBar(&extra);
        }
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
    }
    // Docked on the left, or with no side named (0).
    void MakeTools(UINT side = AFX_IDW_DOCKBAR_LEFT) {
        ASSERT_TRUE(tools.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, RECT{}, kToolsBar));
        ASSERT_TRUE(tools.LoadToolBar(300));
        tools.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&tools, side);
    }
    CDockBar* Side(UINT id) { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
    // The dock bar's list as ids: 0 row ends, negative placeholders.
    std::vector<int> List(UINT id) {
        std::vector<int> out;
        CDockBar* d = Side(id);
        for (INT_PTR i = 0; d && i < d->m_arrBars.GetSize(); ++i) {
            void* e = d->m_arrBars[i];
            out.push_back(!e ? 0 : CDockBar::IsPlaceholder(e) ? -(int)(UINT_PTR)e : (int)static_cast<CControlBar*>(e)->GetDlgCtrlID());
        }
        return out;
    }
    void Destroy() {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame = nullptr;
        Pump();
    }
};

// The comparable part of a dock state: each bar's info, floating dock bars by their place.
std::vector<std::string> Describe(CFrameWnd* frame) {
    CDockState state;
    frame->GetDockState(state);
    std::vector<std::string> out;
    for (const CControlBarInfo* b : state.m_arrBarInfo) {
        std::string s = std::to_string(b->m_nBarID) + (b->m_bVisible ? " shown" : " hidden") +
                        (b->m_bFloating ? " floating" : "") + " at " + std::to_string(b->m_pointPos.x) + "," +
                        std::to_string(b->m_pointPos.y);
        if (b->m_bDockBar) {
            s += " [";
            for (UINT id : b->m_arrBarID)
                s += std::to_string(id) + " ";
            s += "]";
        }
        out.push_back(s);
    }
    std::sort(out.begin(), out.end());
    return out;
}

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        AfxGetProfile().SetRegistryKey("Test");
        AfxGetProfile().SetProfileName("Bars");
        SetKeyToggleForTest(VK_CAPITAL, FALSE);
    }
    void TearDown() override {
        a.Destroy();
        b.Destroy();
        RemoveResourceModule(&resources);
        AfxGetProfile().SetRegistryKey("");
        AfxGetProfile().SetProfileName("");
    }
    // Floats the extra bar and hides the tools bar: a layout other than the one a frame starts with.
    void Rearrange(Window& w) {
        w.frame->FloatControlBar(&w.extra, POINT{400, 300});
        w.frame->ShowControlBar(&w.tools, FALSE, FALSE);
        w.frame->RecalcLayout();
    }
    CMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar) {
        return dynamic_cast<CMiniDockFrameWnd*>(bar.GetParentFrame());
    }

    TempRegistry registry;
    BarResources resources;
    CWinApp app{"BarsApp"};
    Window a, b;
};
}  // namespace

TEST_F(BarsTest, AToolBarFromAResourceDocksOnTopAndHitTestsItsButtons) {
    a.Make(false, false);
    EXPECT_EQ(a.toolbar.GetCount(), 4);
    EXPECT_EQ(a.toolbar.m_sizeButton.cx, 23);
    EXPECT_EQ(a.toolbar.m_sizeButton.cy, 22);
    RECT sep, first;
    a.toolbar.GetItemRect(1, &sep);
    a.toolbar.GetItemRect(0, &first);
    POINT onSep{(sep.left + sep.right) / 2, 5}, onFirst{5, 5};
    EXPECT_LT(a.toolbar.GetToolBarCtrl().HitTest(&onSep), 0);
    EXPECT_EQ(a.toolbar.OnToolHitTest(onSep, nullptr), -1);
    EXPECT_EQ(a.toolbar.OnToolHitTest(onFirst, nullptr), 100);

    // The top dock bar spans the frame above the client; the status bar lies along the bottom.
    RECT fc;
    a.frame->GetClientRect(&fc);
    RECT top = InParent(a.Side(AFX_IDW_DOCKBAR_TOP)->m_hWnd);
    EXPECT_EQ(top.left, 0);
    EXPECT_EQ(top.top, 0);
    EXPECT_EQ(top.right, fc.right);
    RECT bar = InParent(a.toolbar.m_hWnd);
    EXPECT_EQ(bar.bottom - bar.top, top.bottom - top.top);
    RECT inside{0, 0, 0, 0};
    a.toolbar.CalcInsideRect(inside, TRUE);
    EXPECT_EQ(bar.bottom - bar.top, 22 - (inside.bottom - inside.top));
    RECT status = InParent(a.status.m_hWnd), client = InParent(a.client.m_hWnd);
    EXPECT_EQ(status.bottom, fc.bottom);
    EXPECT_EQ(Str(client), Str(RECT{0, top.bottom, fc.right, status.top}));

    // At idle the buttons follow their commands: a handler enables, an update handler disables, and a
    // command nobody handles is disabled.
    app.OnIdle(0);
    EXPECT_TRUE(a.toolbar.GetToolBarCtrl().IsButtonEnabled(100));
    EXPECT_FALSE(a.toolbar.GetToolBarCtrl().IsButtonEnabled(101));
    EXPECT_FALSE(a.toolbar.GetToolBarCtrl().IsButtonEnabled(102));
    SimulateClick(a.toolbar.m_hWnd, first.left + 4, first.top + 4);
    Pump();
    EXPECT_EQ(a.frame->ran100, 1);

    // The View menu's commands hide and show the tool bar and the status bar by their ids.
    for (CControlBar* b : {static_cast<CControlBar*>(&a.toolbar), static_cast<CControlBar*>(&a.status)}) {
        UINT id = b == &a.toolbar ? ID_VIEW_TOOLBAR : ID_VIEW_STATUS_BAR;
        a.frame->SendMessage(WM_COMMAND, id);
        EXPECT_FALSE(b->IsWindowVisible()) << id;
        a.frame->SendMessage(WM_COMMAND, id);
        EXPECT_TRUE(b->IsWindowVisible()) << id;
    }
}

TEST_F(BarsTest, TheStatusBarSaysReadyAndItsIndicatorsFollowTheLockKeys) {
    a.Make(false, false);
    Pump();  // the frame's first prompt
    CStatusBarCtrl& ctrl = a.status.GetStatusBarCtrl();
    EXPECT_EQ(std::string(ctrl.GetText(0)), "Ready");
    app.OnIdle(0);
    EXPECT_EQ(std::string(ctrl.GetText(1)), "");
    EXPECT_EQ(std::string(a.status.GetPaneText(1)), "CAP");  // kept, only not shown
    SetFocus(a.frame->m_hWnd);
    SimulateKey(VK_CAPITAL);
    Pump();
    app.OnIdle(0);
    EXPECT_EQ(std::string(ctrl.GetText(1)), "CAP");
    EXPECT_EQ(std::string(ctrl.GetText(2)), "");
    SimulateKey(VK_CAPITAL);
    Pump();
    app.OnIdle(0);
    EXPECT_EQ(std::string(ctrl.GetText(1)), "");

    // The message pane stretches; each indicator is its text's width and 6 more.
    RECT client, caps;
    a.status.GetClientRect(&client);
    a.status.GetItemRect(3, &caps);
    EXPECT_EQ(caps.right, client.right);
    a.frame->SetMessageText("Loading");
    EXPECT_EQ(std::string(ctrl.GetText(0)), "Loading");
}

TEST_F(BarsTest, ABarFloatsAtAPointAndADoubleClickDocksItBackInItsPlace) {
    a.Make();
    std::vector<int> topBefore = a.List(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(topBefore, (std::vector<int>{0, AFX_IDW_TOOLBAR, 0, (int)kExtraBar, 0}));
    a.frame->FloatControlBar(&a.toolbar, POINT{300, 200});
    ASSERT_TRUE(a.toolbar.IsFloating());
    CMiniDockFrameWnd* mini = FloatingFrameOf(a.toolbar);
    ASSERT_NE(mini, nullptr);
    RECT mr;
    mini->GetWindowRect(&mr);
    EXPECT_EQ(mr.left, 300);
    EXPECT_EQ(mr.top, 200);
    EXPECT_TRUE(mini->IsWindowVisible());
    // The frame fits the bar; the side it left keeps its place.
    RECT mc, br;
    mini->GetClientRect(&mc);
    a.toolbar.GetWindowRect(&br);
    EXPECT_EQ(mc.right, br.right - br.left);
    EXPECT_EQ(a.List(AFX_IDW_DOCKBAR_TOP), (std::vector<int>{0, -(int)AFX_IDW_TOOLBAR, 0, (int)kExtraBar, 0}));
    // Floating, its buttons still follow their commands at idle.
    a.toolbar.GetToolBarCtrl().EnableButton(101, TRUE);
    app.OnIdle(0);
    EXPECT_FALSE(a.toolbar.GetToolBarCtrl().IsButtonEnabled(101));

    // A double click on its caption: back in the first row, and the floating frame goes.
    HWND miniHwnd = mini->m_hWnd;
    SendMessage(miniHwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(mr.left + 20, mr.top + 5));
    Pump();
    EXPECT_FALSE(a.toolbar.IsFloating());
    EXPECT_FALSE(IsWindow(miniHwnd));
    EXPECT_EQ(a.List(AFX_IDW_DOCKBAR_TOP), topBefore);

    // A double click on the docked bar's gripper (left of its client area, which its buttons fill) floats it
    // where it floated last.
    a.frame->RecalcLayout();
    SendMessage(a.toolbar.m_hWnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(-2, 2));
    ASSERT_TRUE(a.toolbar.IsFloating());
    FloatingFrameOf(a.toolbar)->GetWindowRect(&mr);
    EXPECT_EQ(mr.left, 300);
    EXPECT_EQ(mr.top, 200);
}

TEST_F(BarsTest, DraggingDocksOnTheSideUnderTheMouseCtrlFloatsAndEscapeCancels) {
    a.Make(false, false);
    RECT left, bar;
    GetWindowRect(a.Side(AFX_IDW_DOCKBAR_LEFT)->m_hWnd, &left);
    GetWindowRect(a.toolbar.m_hWnd, &bar);
    POINT grab{bar.left + 2, bar.top + 5};
    auto queueMove = [&](POINT screen, UINT msg, WPARAM keys) {
        POINT c = screen;
        ScreenToClient(a.toolbar.m_hWnd, &c);
        PostMessage(a.toolbar.m_hWnd, msg, keys, MAKELPARAM(c.x, c.y));
    };

    // Escape: nothing changes.
    queueMove(POINT{left.left + 5, left.top + 200}, WM_MOUSEMOVE, MK_LBUTTON);
    PostMessage(a.toolbar.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    a.toolbar.m_pDockContext->StartDrag(grab);
    EXPECT_EQ(a.toolbar.m_pDockBar, a.Side(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(GetCapture(), nullptr);

    // Dropped with its frame over the left side: docked there, upright.
    queueMove(POINT{left.left + 1, left.top + 200}, WM_MOUSEMOVE, MK_LBUTTON);
    queueMove(POINT{left.left + 1, left.top + 200}, WM_LBUTTONUP, 0);
    a.toolbar.m_pDockContext->StartDrag(grab);
    EXPECT_EQ(a.toolbar.m_pDockBar, a.Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_TRUE(a.toolbar.GetBarStyle() & CBRS_ALIGN_LEFT);
    a.frame->RecalcLayout();
    RECT upright;
    a.toolbar.GetWindowRect(&upright);
    EXPECT_GT(upright.bottom - upright.top, upright.right - upright.left);

    // With Ctrl held the same drop floats it.
    GetWindowRect(a.toolbar.m_hWnd, &bar);
    grab = POINT{bar.left + 5, bar.top + 2};
    PostMessage(a.toolbar.m_hWnd, WM_KEYDOWN, VK_CONTROL, 0);
    queueMove(POINT{left.left + 1, left.top + 220}, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL);
    queueMove(POINT{left.left + 1, left.top + 220}, WM_LBUTTONUP, MK_CONTROL);
    a.toolbar.m_pDockContext->StartDrag(grab);
    EXPECT_TRUE(a.toolbar.IsFloating());
}

TEST_F(BarsTest, TheDockStateThroughTheProfileOrAnArchiveGivesAnotherFrameTheSameLayout) {
    a.Make();
    Rearrange(a);
    std::vector<std::string> layout = Describe(a.frame);
    a.frame->SaveBarState("Layout");
    CMemFile file;
    {
        CDockState state;
        a.frame->GetDockState(state);
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(&state);
        ar.Close();
    }
    a.Destroy();

    b.Make();
    b.extra.SetWindowText("Extra");
    EXPECT_NE(Describe(b.frame), layout);
    ASSERT_TRUE(b.frame->LoadBarState("Layout"));
    EXPECT_EQ(Describe(b.frame), layout);
    EXPECT_TRUE(b.extra.IsFloating());
    EXPECT_FALSE(b.tools.IsWindowVisible());
    RECT mr;
    FloatingFrameOf(b.extra)->GetWindowRect(&mr);
    EXPECT_EQ(mr.left, 400);
    EXPECT_EQ(mr.top, 300);
    // The remade floating frame is titled after its bar, as one the user floats.
    EXPECT_EQ(GetWindowTextString(FloatingFrameOf(b.extra)->m_hWnd), CString("Extra"));
    b.Destroy();

    b.Make();
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(CDockState)));
    auto* state = dynamic_cast<CDockState*>(object.get());
    ASSERT_NE(state, nullptr);
    b.frame->SetDockState(*state);
    EXPECT_EQ(Describe(b.frame), layout);
}

TEST_F(BarsTest, ABarMadeLaterTakesThePlaceholderTheLoadedStateLeftForIt) {
    a.Make(true, false);
    a.frame->SaveBarState("Layout");
    a.Destroy();

    b.Make(false, false);  // no tools bar yet
    ASSERT_TRUE(b.frame->LoadBarState("Layout"));
    EXPECT_EQ(b.List(AFX_IDW_DOCKBAR_LEFT), (std::vector<int>{0, -(int)kToolsBar, 0}));
    b.MakeTools(0);  // docked with no side named: it goes where its placeholder is, not on top
    EXPECT_EQ(b.tools.m_pDockBar, b.Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(b.List(AFX_IDW_DOCKBAR_LEFT), (std::vector<int>{0, (int)kToolsBar, 0}));
}

TEST_F(BarsTest, ADamagedStateFailsAndLeavesTheLayoutAsItWas) {
    a.Make();
    Rearrange(a);
    CMemFile file;
    {
        CDockState state;
        a.frame->GetDockState(state);
        CArchive ar(&file, CArchive::store);
        state.Serialize(ar);
        ar.Close();
    }
    a.frame->SaveBarState("Layout");  // saved while the tool bar was docked
    ULONGLONG length = file.GetLength();
    std::vector<BYTE> blob((size_t)length);
    file.SeekToBegin();
    file.Read(blob.data(), (UINT)length);
    a.frame->FloatControlBar(&a.toolbar, POINT{50, 60});
    std::vector<std::string> now = Describe(a.frame);

    // Every truncation of the archive form.
    for (size_t cut = 0; cut < blob.size(); ++cut) {
        CMemFile part;
        part.Write(blob.data(), (UINT)cut);
        part.SeekToBegin();
        CArchive ar(&part, CArchive::load);
        CDockState state;
        bool thrown = false;
        try {
            state.Serialize(ar);
        } catch (CException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << cut;
        EXPECT_TRUE(state.m_arrBarInfo.empty()) << cut;
    }

    // Damaged profile values: nothing is applied.
    const CProfile& p = AfxGetProfile();
    struct Damage {
        const char* section;
        const char* entry;
        int value;
    } damages[] = {
        {"Layout-Summary", "Bars", 100000}, {"Layout-Summary", "Bars", -1}, {"Layout-Bar0", "BarID", 0},
        {"Layout-Bar0", "BarID", 0x12345},  {"Layout-Bar2", "Bars", 99999},  // the top dock bar's list
    };
    for (const Damage& d : damages) {
        int good = (int)p.GetProfileInt(d.section, d.entry, 0);
        p.WriteProfileInt(d.section, d.entry, d.value);
        EXPECT_FALSE(a.frame->LoadBarState("Layout")) << d.section << " " << d.entry;
        EXPECT_EQ(Describe(a.frame), now);
        p.WriteProfileInt(d.section, d.entry, good);
    }
    p.WriteProfileString("Layout-Bar0", "MRUWidth", nullptr);  // a missing value
    EXPECT_FALSE(a.frame->LoadBarState("Layout"));
    EXPECT_EQ(Describe(a.frame), now);
}

namespace {
// A program's loop: each message passes the windows' PreTranslateMessage first.
void LoopWithPreTranslate() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        for (HWND h = m.hwnd; h; h = GetParent(h))
            if (CWnd* w = CWnd::FromHandlePermanent(h))
                w->PreTranslateMessage(&m);
        DispatchMessage(&m);
    }
}

HWND ShownTip() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM out) -> BOOL {
            char cls[64];
            GetClassName(h, cls, sizeof cls);
            if (std::string(cls) == TOOLTIPS_CLASS && IsWindowVisible(h))
                *reinterpret_cast<HWND*>(out) = h;
            return TRUE;
        },
        (LPARAM)&found);
    return found;
}

TEST_F(BarsTest, AToolBarButtonsTipShowsAfterTheDelayAndGoesWhenThePointerLeaves) {
    DrivenClock clock;
    a.Make(false, false);
    a.toolbar.SetBarStyle(a.toolbar.GetBarStyle() | CBRS_TOOLTIPS);
    RECT first;
    a.toolbar.GetItemRect(0, &first);
    POINT p{first.left + 4, first.top + 4};
    ClientToScreen(a.toolbar.m_hWnd, &p);
    PostMouseInput(WM_MOUSEMOVE, p, 0);
    LoopWithPreTranslate();
    clock.Advance(499);
    LoopWithPreTranslate();
    EXPECT_EQ(ShownTip(), nullptr);
    clock.Advance(1);
    LoopWithPreTranslate();
    HWND tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ASSERT_TRUE(SendMessage(tip, TTM_GETCURRENTTOOL, 0, (LPARAM)&ti));
    EXPECT_EQ(ti.uId, 100u);
    char text[80] = "";
    ti.lpszText = text;
    SendMessage(tip, TTM_GETTEXT, sizeof text, (LPARAM)&ti);
    EXPECT_STREQ(text, "Run");
    // Off the bar, the tip goes.
    RECT client;
    GetWindowRect(a.client.m_hWnd, &client);
    PostMouseInput(WM_MOUSEMOVE, POINT{client.left + 50, client.top + 50}, 0);
    LoopWithPreTranslate();
    clock.Advance(100);
    LoopWithPreTranslate();
    EXPECT_EQ(ShownTip(), nullptr);
}
}  // namespace
