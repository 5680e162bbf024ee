// Sizing bars in the rows of sizing dock bars: sizes, sharing, splitters, maximizing, the caption
// buttons, live dragging, the context menu, the shared hooks and the saved bar state.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "guilib/frame/OXDragDockContext.h"
#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXMDIFloatWnd.h"
#include "guilib/frame/OXRectTracker.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
constexpr UINT kBarA = 59522, kBarB = 59523, kBarC = 59524;

RECT InParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
int Width(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r.right - r.left;
}
int Height(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r.bottom - r.top;
}

class SizeDockTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetProfile().SetRegistryKey("Test");
        AfxGetProfile().SetProfileName("DockApp");
    }
    void TearDown() override {
        DestroyFrame();
        AfxGetProfile().SetRegistryKey("");
    }
    void MakeFrame(int width = 1000, int height = 700) {
        frame = new COXMDIFrameWndSizeDock;
        ASSERT_TRUE(frame->Create(nullptr, "Dock", WS_OVERLAPPEDWINDOW, RECT{0, 0, width, height}));
        app.m_pMainWnd = frame;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->ShowWindow(SW_SHOW);
    }
    void DestroyFrame() {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
        bars.clear();
    }
    // A sizing bar of that id docked on a side; `rect` sets its sizes (the default rectangle when null).
    COXSizeControlBar* AddBar(UINT id, UINT side, const RECT* rect = nullptr, int flags = 0x214) {
        bars.push_back(std::make_unique<COXSizeControlBar>(flags));
        COXSizeControlBar* bar = bars.back().get();
        EXPECT_TRUE(bar->Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                rect ? *rect : CFrameWnd::rectDefault, frame, id));
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(bar, side);
        return bar;
    }
    COXSizeDockBar* Side(UINT id) { return dynamic_cast<COXSizeDockBar*>(frame->GetControlBar(id)); }
    // Puts the bars in one row of the dock bar, in this order.
    void OneRow(COXSizeDockBar* dock, std::vector<COXSizeControlBar*> row) {
        dock->m_arrBars.RemoveAll();
        dock->m_arrBars.Add(nullptr);
        for (auto* b : row)
            dock->m_arrBars.Add(b);
        dock->m_arrBars.Add(nullptr);
    }

    TempRegistry registry;
    CWinApp app{"DockApp"};
    COXMDIFrameWndSizeDock* frame = nullptr;
    std::vector<std::unique_ptr<COXSizeControlBar>> bars;
};
}  // namespace

TEST_F(SizeDockTest, TheDefaultRectangleTakesTheParentsBottomRightQuarterRow) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxWndClassName(), "p", WS_POPUP, 0, 0, 1000, 600, nullptr, nullptr));
    COXSizeControlBar bar(0);
    ASSERT_TRUE(bar.CreateBar(&parent, "Bar", 1, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_EQ(bar.m_FloatSize.cx, 500);
    EXPECT_EQ(bar.m_FloatSize.cy, 150);
    EXPECT_EQ(bar.m_HorzDockSize.cx, 500);
    EXPECT_EQ(bar.m_HorzDockSize.cy, 150);
    EXPECT_EQ(bar.m_VertDockSize.cx, 150);
    EXPECT_EQ(bar.m_VertDockSize.cy, 500);
    EXPECT_EQ(InParent(bar.m_hWnd).left, 500);
    EXPECT_EQ(InParent(bar.m_hWnd).top, 450);
    bar.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(SizeDockTest, GrabOffsetsFollowTheCursorWithinLimits) {
    MakeFrame();
    RECT r{0, 0, 100, 300};
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, &r);
    frame->RecalcLayout();
    RECT w;
    GetWindowRect(bar->m_hWnd, &w);
    struct Case {
        int floatWidth;
        POINT at;
        int x;
    } cases[] = {
        {Width(bar->m_hWnd), {w.left + 2, w.top + 5}, 5},  // 2 pixels in: at least 5
        {100, {w.right - 1, w.top + 5}, 80},               // never past the width less 20
        {400, {w.left + Width(bar->m_hWnd) / 2, w.top}, 200},
        {10, {w.left + 5, w.top}, 5},  // width - 20 below 5: 5
    };
    for (const Case& c : cases) {
        bar->m_FloatSize.cx = c.floatWidth;
        POINT off = bar->CalcGrabOffset(c.at);
        EXPECT_EQ(off.x, c.x) << c.floatWidth;
        EXPECT_EQ(off.y, 10);
    }
    // A bar of height 0 docked along a horizontal edge: no division.
    COXSizeControlBar* flat = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP);
    SetWindowPos(flat->m_hWnd, nullptr, 0, 0, 300, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(flat->CalcGrabOffset(POINT{10, 10}).x, 5);
}

TEST_F(SizeDockTest, BarsOfARowShareAGrowingLengthInProportion) {
    MakeFrame();
    RECT a{0, 0, 100, 120}, b{0, 0, 300, 120};
    COXSizeControlBar* barA = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, &a);
    COXSizeControlBar* barB = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, &b);
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    OneRow(top, {barA, barB});
    SetWindowPos(barA->m_hWnd, nullptr, 0, 0, 100, 120, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(barB->m_hWnd, nullptr, 0, 0, 300, 120, SWP_NOMOVE | SWP_NOZORDER);
    // 406 is exactly their lengths plus the splitter less a border per bar: 200 more grows them by half.
    top->SetRowSizes(1, 606);
    EXPECT_EQ(barA->m_HorzDockSize.cx, 150);
    EXPECT_EQ(barB->m_HorzDockSize.cx, 450);
    EXPECT_EQ(Width(barA->m_hWnd), 150);
    EXPECT_EQ(barA->m_HorzDockSize.cy, 120);

    // Both of length 0: equal parts, the remainder to the last (no division by zero).
    SetWindowPos(barA->m_hWnd, nullptr, 0, 0, 0, 120, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(barB->m_hWnd, nullptr, 0, 0, 0, 120, SWP_NOMOVE | SWP_NOZORDER);
    top->SetRowSizes(1, 207);
    EXPECT_EQ(barA->m_HorzDockSize.cx, 100);
    EXPECT_EQ(barB->m_HorzDockSize.cx, 101);
}

TEST_F(SizeDockTest, RowsGetSplittersAndTheDockBarsGrowAfterTheirLastRow) {
    MakeFrame();
    RECT a{0, 0, 300, 100}, b{0, 0, 300, 100};
    COXSizeControlBar* barA = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, &a);
    COXSizeControlBar* barB = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, &b);
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    OneRow(top, {barA, barB});
    RECT l{0, 0, 100, 200};
    COXSizeControlBar* left = AddBar(kBarC, AFX_IDW_DOCKBAR_LEFT, &l);
    frame->RecalcLayout();

    EXPECT_EQ(Height(top->m_hWnd), Height(barA->m_hWnd) + 8);
    EXPECT_EQ(Width(Side(AFX_IDW_DOCKBAR_LEFT)->m_hWnd), Width(left->m_hWnd) + 7);
    // One in-row splitter, 8 wide, between the two bars; one row splitter below the row.
    std::vector<int> kinds;
    for (INT_PTR i = 0; i < top->m_SplitArr.GetSize(); ++i)
        kinds.push_back(static_cast<COXSplitterRect*>(top->m_SplitArr[i])->m_type);
    ASSERT_EQ(kinds, (std::vector<int>{1, 2}));
    auto* inRow = static_cast<COXSplitterRect*>(top->m_SplitArr[0]);
    EXPECT_EQ(inRow->m_rect.left, InParent(barA->m_hWnd).right);
    EXPECT_EQ(inRow->m_rect.right - inRow->m_rect.left, 8);
    EXPECT_EQ(InParent(barB->m_hWnd).left, inRow->m_rect.right);
    // The row fills the frame's width, plus a border share per bar.
    RECT client;
    frame->GetClientRect(&client);
    EXPECT_EQ(InParent(barB->m_hWnd).right, client.right + 2);
}

TEST_F(SizeDockTest, MaximizingInARowShrinksTheOthersAndRestoringGivesTheSizesBack) {
    MakeFrame();
    COXSizeControlBar* row[3];
    RECT r{0, 0, 200, 100};
    for (int i = 0; i < 3; ++i)
        row[i] = AddBar(kBarA + i, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    OneRow(top, {row[0], row[1], row[2]});
    frame->RecalcLayout();
    int before[3] = {Width(row[0]->m_hWnd), Width(row[1]->m_hWnd), Width(row[2]->m_hWnd)};
    EXPECT_TRUE(row[0]->CanMaximizeInRow());

    top->MaximizeInRow(row[0], TRUE);
    EXPECT_TRUE(row[0]->IsMaximized());
    EXPECT_EQ(Width(row[1]->m_hWnd), 21);
    EXPECT_EQ(Width(row[2]->m_hWnd), 21);
    EXPECT_EQ(Width(row[0]->m_hWnd), before[0] + before[1] + before[2] - 42);

    // A second maximize keeps the sizes the first one saved.
    top->MaximizeInRow(row[1], TRUE);
    EXPECT_FALSE(row[0]->IsMaximized());
    EXPECT_EQ(Width(row[0]->m_hWnd), 21);
    top->MaximizeInRow(row[1], FALSE);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Width(row[i]->m_hWnd), before[i]) << i;
}

TEST_F(SizeDockTest, TheCloseButtonHidesOnlyWhenReleasedOverIt) {
    MakeFrame();
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    RedrawWindow(bar->m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT close = bar->m_rectCloseBtn;
    ASSERT_FALSE(IsRectEmpty(&close));
    POINT on{(close.left + close.right) / 2, (close.top + close.bottom) / 2};
    POINT off{on.x - 40, on.y + 40};
    SendMessage(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    EXPECT_EQ(bar->GetPressedButton(), -3);
    SendMessage(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(off.x, off.y));
    EXPECT_EQ(bar->GetPressedButton(), -1);
    SendMessage(bar->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(off.x, off.y));
    frame->RecalcLayout();
    EXPECT_TRUE(bar->IsWindowVisible());

    SendMessage(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    SendMessage(bar->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    frame->RecalcLayout();
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeDockTest, TheContextMenuOffersFloatingAsMdiWindowDockingAndHide) {
    MakeFrame();
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
    auto items = [&] {
        HMENU menu = CreatePopupMenu();
        SendMessage(bar->m_hWnd, WM_OX_APPENDCONTEXTMENU, 0, (LPARAM)menu);
        std::vector<std::string> out;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuString(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
            bool checked = GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_CHECKED;
            out.push_back(std::string(text) + (checked ? "*" : ""));
        }
        DestroyMenu(menu);
        return out;
    };
    EXPECT_EQ(items(), (std::vector<std::string>{"Float as MDI Window", "Allow docking*", "Hide"}));

    // Docking off floats the bar; on again gives back the same sides.
    SendMessage(bar->m_hWnd, WM_COMMAND, ID_OX_SHOWRESIZEBAR_ALLOWDOCKING, 0);
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
    EXPECT_EQ(items(), (std::vector<std::string>{"Float as MDI Window", "Allow docking", "Hide"}));
    SendMessage(bar->m_hWnd, WM_COMMAND, ID_OX_SHOWRESIZEBAR_ALLOWDOCKING, 0);
    EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_ANY);

    // Float as an MDI window near the client's right edge: moved inside the client.
    RECT mdi;
    GetWindowRect(frame->m_hWndMDIClient, &mdi);
    bar->m_pDockContext->m_ptMRUFloatPos = POINT{mdi.right - 10, mdi.top + 10};
    SendMessage(bar->m_hWnd, WM_COMMAND, ID_OX_SHOWRESIZEBAR_MDIFLOAT, 0);
    ASSERT_TRUE(frame->IsInMDIFloat(bar));
    auto* floatWnd = dynamic_cast<COXMDIFloatWnd*>(bar->m_pDockBar->GetParent());
    ASSERT_NE(floatWnd, nullptr);
    RECT fw, client;
    GetWindowRect(floatWnd->m_hWnd, &fw);
    RECT barClient;
    GetClientRect(bar->m_hWnd, &barClient);
    GetClientRect(frame->m_hWndMDIClient, &client);
    POINT corner{fw.left, fw.top};
    ScreenToClient(frame->m_hWndMDIClient, &corner);
    EXPECT_LE(corner.x + barClient.right, client.right);
    EXPECT_EQ(items(), (std::vector<std::string>{"Float as MDI Window*", "Hide"}));
    // Closing the float window hides the bar.
    SendMessage(floatWnd->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(bar->IsWindowVisible());
}

TEST_F(SizeDockTest, OneMouseHookServesAllBarsAndGoesWithTheLast) {
    MakeFrame();
    EXPECT_EQ(COXSizeControlBar::GetMouseHook(), nullptr);
    COXSizeControlBar* a = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
    HHOOK hook = COXSizeControlBar::GetMouseHook();
    EXPECT_NE(hook, nullptr);
    COXSizeControlBar* b = AddBar(kBarB, AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(COXSizeControlBar::GetMouseHook(), hook);
    a->DestroyWindow();
    EXPECT_EQ(COXSizeControlBar::GetMouseHook(), hook);  // still serves b
    b->DestroyWindow();
    EXPECT_EQ(COXSizeControlBar::GetMouseHook(), nullptr);
}

TEST_F(SizeDockTest, TheRectTrackerKeepsLimitsAndItsAxisLock) {
    struct Case {
        UINT style;
        RECT limit, in, out;
    } cases[] = {
        {COXRectTracker::lockVertical, {}, {50, 70, 58, 170}, {50, 10, 58, 110}},
        {COXRectTracker::lockHorizontal, {}, {50, 70, 58, 170}, {10, 70, 18, 170}},
        {0, {0, 0, 40, 300}, {50, 70, 58, 170}, {40, 70, 48, 170}},
        {0, {0, 0, 300, 100}, {5, 95, 13, 195}, {5, 90, 13, 190}},  // top at least 10 above the bottom
    };
    for (const Case& c : cases) {
        COXRectTracker t;
        t.m_nStyle = c.style;
        t.m_rectLimit = c.limit;
        t.m_rectStart = RECT{10, 10, 18, 110};
        t.m_sizeMin = SIZE{0, 0};
        RECT r = c.in;
        t.AdjustRect(CRectTracker::hitMiddle, &r);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST_F(SizeDockTest, ASplitterDragBetweenRowsResizesTheRow) {
    MakeFrame();
    RECT r{0, 0, 120, 300};
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, &r);
    frame->RecalcLayout();
    COXSizeDockBar* left = Side(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_EQ(left->m_SplitArr.GetSize(), 1);
    auto* s = static_cast<COXSplitterRect*>(left->m_SplitArr[0]);
    int width = Width(bar->m_hWnd), height = Height(bar->m_hWnd);
    POINT at{(s->m_rect.left + s->m_rect.right) / 2, 100};
    // The tracker's loop takes the queued moves and the release.
    PostMessage(left->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 30, at.y + 50));
    PostMessage(left->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 60, at.y + 50));
    SendMessage(left->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(Width(bar->m_hWnd), width + 60);
    EXPECT_EQ(bar->m_VertDockSize.cx, width + 60);
    EXPECT_EQ(Height(bar->m_hWnd), height);  // the lock kept the length
}

TEST_F(SizeDockTest, ADropJustBeforeTheLeftEdgeLandsTwoPixelsBeforeIt) {
    MakeFrame();
    RECT r{0, 0, 200, 100};
    COXSizeControlBar* a = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeControlBar* b = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    frame->RecalcLayout();
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    RECT edge;
    GetWindowRect(top->m_hWnd, &edge);
    RECT drop{edge.left - 5, edge.top + 2, edge.left - 5 + 200, edge.top + 102};
    top->DockControlBar(b, &drop);
    EXPECT_EQ(b->m_pDockBar, top);
    EXPECT_EQ(top->FindBar(b), 1);  // first in its row: before a
    (void)a;
}

TEST_F(SizeDockTest, ASizableMiniFramesSizeBecomesTheFloatingSize) {
    MakeFrame();
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
    frame->FloatControlBar(bar, POINT{100, 100});
    auto* mini = dynamic_cast<COXSizableMiniDockFrameWnd*>(bar->GetParentFrame());
    ASSERT_NE(mini, nullptr);
    EXPECT_TRUE(mini->GetStyle() & WS_THICKFRAME);
    EXPECT_NE(COXSizableMiniDockFrameWnd::GetMouseHook(), nullptr);
    RECT w;
    GetWindowRect(mini->m_hWnd, &w);
    SetWindowPos(mini->m_hWnd, nullptr, 0, 0, 340, 260, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(mini->m_hWnd, &client);
    EXPECT_EQ(bar->m_FloatSize.cx, client.right);
    EXPECT_EQ(bar->m_FloatSize.cy, client.bottom);
    EXPECT_EQ(Width(bar->m_hWnd), client.right);
}

TEST_F(SizeDockTest, TheBarStateComesBackInANewFrame) {
    MakeFrame();
    RECT r{0, 0, 160, 120};
    COXSizeControlBar* tree = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    COXSizeControlBar* pad = AddBar(kBarA, AFX_IDW_DOCKBAR_BOTTOM, &r);
    frame->RecalcLayout();
    tree->m_VertDockSize = SIZE{210, 400};
    frame->FloatControlBar(pad, POINT{300, 250});
    pad->m_FloatSize = SIZE{333, 144};
    frame->SaveSizeBarState("SizeBarState");

    const CProfile& p = AfxGetProfile();
    EXPECT_EQ(p.GetProfileInt("SizeBarState", "Version", 0), 2u);
    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(p.GetProfileBinary("SizeBarState", "BarSize_59523", &data, &bytes));
    ASSERT_EQ(bytes, 28u);
    const BYTE expected[28] = {160, 0, 0, 0, 120, 0, 0, 0, 160, 0, 0, 0, 120, 0, 0, 0, 210, 0, 0, 0, 144, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<BYTE>(data, data + 28), std::vector<BYTE>(expected, expected + 28));
    delete[] data;

    DestroyFrame();
    MakeFrame();
    COXSizeControlBar* tree2 = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    COXSizeControlBar* pad2 = AddBar(kBarA, AFX_IDW_DOCKBAR_BOTTOM, &r);
    frame->LoadSizeBarState("SizeBarState");
    frame->RecalcLayout();
    EXPECT_EQ(tree2->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(Width(tree2->m_hWnd), 210);
    ASSERT_TRUE(pad2->IsFloating());
    EXPECT_EQ(pad2->m_FloatSize.cx, 333);
    RECT mini;
    GetWindowRect(pad2->GetParentFrame()->m_hWnd, &mini);
    EXPECT_EQ(mini.left, 300);
    EXPECT_EQ(mini.top, 250);
}

TEST_F(SizeDockTest, BarsSavedFloatingAsMdiWindowsComeBackAsThemHiddenIfTheyWere) {
    MakeFrame();
    RECT r{0, 0, 160, 120};
    COXSizeControlBar* tree = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    COXSizeControlBar* pad = AddBar(kBarA, AFX_IDW_DOCKBAR_BOTTOM, &r);
    frame->RecalcLayout();
    RECT mdi;
    GetWindowRect(frame->m_hWndMDIClient, &mdi);
    frame->FloatControlBarInMDIChild(tree, POINT{mdi.left + 40, mdi.top + 30}, CBRS_ALIGN_TOP, TRUE);
    frame->FloatControlBarInMDIChild(pad, POINT{mdi.left + 200, mdi.top + 100}, CBRS_ALIGN_TOP, TRUE);
    frame->ShowControlBar(pad, FALSE, FALSE);
    ASSERT_TRUE(frame->IsInMDIFloat(tree) && frame->IsInMDIFloat(pad));
    frame->RecalcLayout();
    Pump();
    // Where they are once the MDI client has taken the room the tree left (clamped inside it).
    auto corner = [](COXSizeControlBar* b) {
        RECT w;
        GetWindowRect(b->m_pDockBar->GetParent()->m_hWnd, &w);
        return POINT{w.left, w.top};
    };
    const POINT treeAt = corner(tree), padAt = corner(pad);
    frame->SaveSizeBarState("SizeBarState");

    DestroyFrame();
    MakeFrame();
    COXSizeControlBar* tree2 = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    COXSizeControlBar* pad2 = AddBar(kBarA, AFX_IDW_DOCKBAR_BOTTOM, &r);
    frame->LoadSizeBarState("SizeBarState");
    frame->RecalcLayout();
    Pump();
    struct Case {
        const char* name;
        COXSizeControlBar* bar;
        POINT at;
        bool visible;
    } cases[] = {{"shown", tree2, treeAt, true}, {"hidden", pad2, padAt, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(frame->IsInMDIFloat(c.bar));
        HWND floatWnd = c.bar->m_pDockBar->GetParent()->m_hWnd;
        EXPECT_EQ(GetParent(floatWnd), frame->m_hWndMDIClient);
        EXPECT_EQ(IsWindowVisible(floatWnd) != FALSE, c.visible);
        EXPECT_EQ(c.bar->IsWindowVisible() != FALSE, c.visible);
        POINT at = corner(c.bar);
        EXPECT_EQ(at.x, c.at.x);
        EXPECT_EQ(at.y, c.at.y);
    }
}

TEST_F(SizeDockTest, AnotherVersionOrADamagedRecordLeavesTheCreationLayout) {
    const CProfile& p = AfxGetProfile();
    MakeFrame();
    RECT r{0, 0, 160, 120};
    COXSizeControlBar* tree = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT, &r);
    frame->SaveSizeBarState("SizeBarState");

    // A 27-byte record, and one with a negative size: skipped.
    for (UINT len : {27u, 28u}) {
        BYTE rec[28] = {};
        rec[0] = 77;
        if (len == 28)
            rec[7] = 0x80;  // floating height negative
        p.WriteProfileBinary("SizeBarState", "BarSize_59523", rec, len);
        tree->m_FloatSize = SIZE{160, 120};
        frame->LoadSizeBarState("SizeBarState");
        EXPECT_EQ(tree->m_FloatSize.cx, 160) << len;
    }

    // Version 1: the section and its dock state go, and nothing changes.
    p.WriteProfileInt("SizeBarState", "Version", 1);
    tree->m_VertDockSize = SIZE{99, 300};
    frame->LoadSizeBarState("SizeBarState");
    EXPECT_EQ(tree->m_VertDockSize.cx, 99);
    EXPECT_EQ(p.GetProfileInt("SizeBarState", "Version", 0), 0u);
    EXPECT_EQ(p.GetProfileInt("SizeBarState-Summary", "Bars", -1), (UINT)-1);
}

TEST_F(SizeDockTest, ABarWithAPendingFrameIsPaintedByOneWmPaint) {
    MakeFrame();
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
    Pump();
    RedrawWindow(bar->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    MSG msg;
    int paints = 0;
    while (paints < 10 && PeekMessage(&msg, bar->m_hWnd, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessage(&msg);
        ++paints;
    }
    EXPECT_EQ(paints, 1);
}

namespace {
// A modeless window that takes the focus back whenever it loses it, as a wait window does.
class FocusKeeper : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_KILLFOCUS && ++kills < 50)
            ::SetFocus(m_hWnd);
        return r;
    }
    int kills = 0;
};
}  // namespace

TEST_F(SizeDockTest, ActivatingADisabledFrameLeavesTheFocusWithTheWindowThatHasIt) {
    // The frame is disabled while such a window is up; activating the frame must not start a focus fight.
    {
        MakeFrame();
        COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT);
        frame->RecalcLayout();
        bar->SetActive(TRUE, TRUE);
        FocusKeeper keeper;
        ASSERT_TRUE(keeper.CreateEx(0, AfxWndClassName(), "Wait", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50,
                                    nullptr, nullptr));
        keeper.SetFocus();
        frame->EnableWindow(FALSE);
        keeper.kills = 0;
        SetActiveWindow(frame->m_hWnd);
        EXPECT_LT(keeper.kills, 10);
        EXPECT_EQ(GetFocus(), keeper.m_hWnd);
        EXPECT_EQ(frame->m_pActiveSizeBar, bar);
        keeper.DestroyWindow();
        frame->EnableWindow(TRUE);
        DestroyFrame();
    }
}

namespace {
enum class Finish { Release, Escape, RightButton };
// Drags the bar by its caption from `from` to `to` (screen) through the framework's tracking loop, which
// takes the queued input; Ctrl held from the start when `ctrl`.
void TrackDrag(COXSizeControlBar* bar, POINT from, POINT to, Finish finish, bool ctrl = false) {
    POINT a = from, b = to;
    ScreenToClient(bar->m_hWnd, &a);
    ScreenToClient(bar->m_hWnd, &b);
    if (ctrl)
        PostMessage(bar->m_hWnd, WM_KEYDOWN, VK_CONTROL, 0);
    PostMessage(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
    switch (finish) {
        case Finish::Release:
            PostMessage(bar->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
            break;
        case Finish::Escape:
            PostMessage(bar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case Finish::RightButton:
            PostMessage(bar->m_hWnd, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(b.x, b.y));
            break;
    }
    SendMessage(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
    if (ctrl)  // let go, so that the key is not held for the drags that follow
        PostMessage(bar->m_hWnd, WM_KEYUP, VK_CONTROL, 0);
    Pump();
}
}  // namespace

TEST_F(SizeDockTest, ATrackingDragDocksOnAnotherEdgeFloatsWithCtrlAndOtherwiseChangesNothing) {
    enum class Outcome { Right, Floating, Unchanged };
    struct Case {
        const char* name;
        int dx;  // cursor movement; the target is the frame's right edge when dx < 0
        Finish finish;
        bool ctrl;
        Outcome outcome;
    } cases[] = {
        {"to the right edge", -1, Finish::Release, false, Outcome::Right},
        {"Ctrl held", 300, Finish::Release, true, Outcome::Floating},
        {"Escape", -1, Finish::Escape, false, Outcome::Unchanged},
        {"right button", -1, Finish::RightButton, false, Outcome::Unchanged},
        {"a click without movement", 0, Finish::Release, false, Outcome::Unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeFrame();
        RECT r{0, 0, 150, 400};
        COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, &r);
        frame->RecalcLayout();
        Pump();
        RECT before;
        GetWindowRect(bar->m_hWnd, &before);
        POINT from{before.left + 20, before.top + 6};  // on the caption
        RECT client;
        GetClientRect(frame->m_hWnd, &client);
        MapWindowPoints(frame->m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
        POINT to = c.dx < 0    ? POINT{client.right - 10, from.y + 50}
                   : c.dx == 0 ? from
                               : POINT{from.x + c.dx, from.y + 100};
        TrackDrag(bar, from, to, c.finish, c.ctrl);
        EXPECT_EQ(GetCapture(), nullptr);
        RECT after;
        GetWindowRect(bar->m_hWnd, &after);
        switch (c.outcome) {
            case Outcome::Right:
                EXPECT_EQ(bar->m_pDockBar, Side(AFX_IDW_DOCKBAR_RIGHT));
                EXPECT_GT(after.left, (client.left + client.right) / 2);
                break;
            case Outcome::Floating: {
                EXPECT_TRUE(bar->IsFloating());
                CFrameWnd* mini = bar->GetParentFrame();
                ASSERT_NE(mini, nullptr);
                EXPECT_NE(dynamic_cast<COXSizableMiniDockFrameWnd*>(mini), nullptr);
                EXPECT_TRUE(mini->GetStyle() & COXDragDockContext::kDraggedFloatStyle);
                RECT w;
                GetWindowRect(mini->m_hWnd, &w);
                EXPECT_TRUE(PtInRect(&w, to)) << w.left << "," << w.top << " " << w.right << "," << w.bottom;
                break;
            }
            case Outcome::Unchanged:
                EXPECT_EQ(bar->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
                EXPECT_TRUE(EqualRect(&after, &before));
                break;
        }
        DestroyFrame();
    }
}

TEST_F(SizeDockTest, ADraggedBarAsLongAsTheRoomTheOtherBarsLeavePreviewsAThirdOfIt) {
    MakeFrame();
    RECT padRect{0, 0, 300, 200};
    AddBar(kBarA, AFX_IDW_DOCKBAR_BOTTOM, &padRect);
    COXSizeControlBar* tree = AddBar(kBarB, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    Pump();
    // The room between the bottom bar and the top: the MDI client's height.
    RECT rest;
    GetWindowRect(frame->m_hWndMDIClient, &rest);
    const int room = rest.bottom - rest.top;
    struct Case {
        int length;
        int previewed;
    } cases[] = {{room - 10, room / 3}, {room - 16, room / 3}, {room - 17, room - 17}};
    auto* context = static_cast<COXDragDockContext*>(tree->m_pDockContext);
    for (const Case& c : cases) {
        tree->m_VertDockSize = SIZE{150, c.length};
        RECT r;
        GetWindowRect(tree->m_hWnd, &r);
        POINT grab{r.left + 20, r.top + 6};
        TrackDrag(tree, grab, grab, Finish::Escape);
        EXPECT_EQ(context->m_rectDragVert.bottom - context->m_rectDragVert.top, c.previewed) << c.length;
    }
}

TEST_F(SizeDockTest, ABarDroppedIntoARowOfTwoTakesAThirdOfIt) {
    MakeFrame();
    RECT r{0, 0, 300, 100};
    COXSizeControlBar* a = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeControlBar* b = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    OneRow(top, {a, b});
    RECT small{0, 0, 150, 100};
    COXSizeControlBar* c = AddBar(kBarC, AFX_IDW_DOCKBAR_LEFT, &small);
    frame->RecalcLayout();
    Pump();
    RECT row, bRect, from;
    GetWindowRect(top->m_hWnd, &row);
    GetWindowRect(b->m_hWnd, &bRect);
    GetWindowRect(c->m_hWnd, &from);
    const int rowLength = row.right - row.left;
    POINT grab{from.left + 20, from.top + 6};
    // Onto the second bar of the row, near its top: the dragged rectangle's centre lies in the row.
    POINT drop{bRect.left + 40, bRect.top + 10};
    TrackDrag(c, grab, drop, Finish::Release);

    ASSERT_EQ(c->m_pDockBar, top);
    // One row: no row end between the three bars.
    INT_PTR ia = top->FindBar(a), ib = top->FindBar(b), ic = top->FindBar(c);
    for (INT_PTR i = std::min({ia, ib, ic}); i <= std::max({ia, ib, ic}); ++i)
        EXPECT_NE(top->m_arrBars[i], nullptr) << i;
    // Laid out, the three share the row's length: the dropped bar keeps its third (give or take the
    // splitters and the border shares).
    int total = Width(a->m_hWnd) + Width(b->m_hWnd) + Width(c->m_hWnd);
    EXPECT_NEAR(Width(c->m_hWnd), total / 3, 8);
    EXPECT_NEAR(Width(c->m_hWnd), rowLength / 3, 8);
    EXPECT_NEAR(Width(a->m_hWnd), Width(b->m_hWnd), 2);
    EXPECT_EQ(Height(c->m_hWnd), Height(a->m_hWnd));
}

namespace {
// Reads the main frame's pixels under the drag frame each time it is posted WM_APP, from inside the
// tracking loop (which dispatches the messages it does not take).
class DragFrameProbe : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            auto* context = static_cast<COXDragDockContext*>(bar->m_pDockContext);
            Seen seen{context->m_dwOverDockStyle, context->m_rectLast, {}};
            for (int i = 0; i < 4; ++i)
                seen.pixels[i] = GetWindowPixel(frame, Corner(context->m_rectLast, i).x, Corner(context->m_rectLast, i).y);
            if (!seenList.empty()) {
                POINT p = Corner(seenList.back().rect, 0);
                seen.previous = GetWindowPixel(frame, p.x, p.y);
            }
            seenList.push_back(seen);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    // The four pixels at the top-left corner of a frame drawn at `r` (screen; the frame window at 0,0).
    static POINT Corner(const RECT& r, int i) { return POINT{r.left + (i & 1), r.top + (i >> 1)}; }
    struct Seen {
        DWORD side;
        RECT rect;
        COLORREF pixels[4];
        COLORREF previous = 0;  // at the previous frame's corner
    };
    COXSizeControlBar* bar = nullptr;
    HWND frame = nullptr;
    std::vector<Seen> seenList;
};
COLORREF Inverted(COLORREF c) {
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}
}  // namespace

TEST_F(SizeDockTest, TheDragFrameIsInvertedIntoTheWindowsItCrossesAndErasedAfter) {
    MakeFrame();
    RECT r{0, 0, 150, 400};
    COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, &r);
    frame->RecalcLayout();
    Pump();
    ScreenshotOnFailure shot(frame->m_hWnd);
    RECT w, client;
    GetWindowRect(frame->m_hWnd, &w);
    ASSERT_EQ(w.left, 0);
    ASSERT_EQ(w.top, 0);
    GetClientRect(frame->m_hWnd, &client);
    MapWindowPoints(frame->m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    // What the frame shows before: a copy of its pixels.
    std::vector<COLORREF> before((size_t)(w.right * w.bottom));
    for (int y = 0; y < w.bottom; ++y)
        for (int x = 0; x < w.right; ++x)
            before[(size_t)y * w.right + x] = GetWindowPixel(frame->m_hWnd, x, y);
    auto was = [&](POINT p) {
        return p.x >= 0 && p.y >= 0 && p.x < w.right && p.y < w.bottom ? before[(size_t)p.y * w.right + p.x] : CLR_INVALID;
    };

    DragFrameProbe probe;
    probe.bar = bar;
    probe.frame = frame->m_hWnd;
    ASSERT_TRUE(probe.CreateEx(0, AfxWndClassName(), "probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    RECT barRect;
    GetWindowRect(bar->m_hWnd, &barRect);
    POINT from{barRect.left + 20, barRect.top + 6};
    POINT overRight{client.right - 10, from.y + 50}, overMiddle{(client.left + client.right) / 2, from.y + 150};
    auto post = [&](POINT screen, UINT message, WPARAM wParam) {
        ScreenToClient(bar->m_hWnd, &screen);
        PostMessage(bar->m_hWnd, message, wParam, MAKELPARAM(screen.x, screen.y));
    };
    post(overRight, WM_MOUSEMOVE, MK_LBUTTON);
    PostMessage(probe.m_hWnd, WM_APP, 0, 0);
    post(overMiddle, WM_MOUSEMOVE, MK_LBUTTON);
    PostMessage(probe.m_hWnd, WM_APP, 0, 0);
    PostMessage(bar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    POINT start = from;
    ScreenToClient(bar->m_hWnd, &start);
    SendMessage(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));

    ASSERT_EQ(probe.seenList.size(), 2u);
    // Over the right edge: the preview inverted 1 pixel thick, one pixel inside its rectangle.
    const auto& docked = probe.seenList[0];
    EXPECT_EQ(docked.side, (DWORD)CBRS_ALIGN_RIGHT);
    EXPECT_EQ(docked.pixels[0], Inverted(was(DragFrameProbe::Corner(docked.rect, 0))));
    EXPECT_EQ(docked.pixels[1], Inverted(was(DragFrameProbe::Corner(docked.rect, 1))));
    EXPECT_EQ(docked.pixels[3], was(DragFrameProbe::Corner(docked.rect, 3)));  // 1 thick
    // Over the middle: floating, the frame is 3 thick in the halftone (every other pixel inverted).
    const auto& floating = probe.seenList[1];
    EXPECT_EQ(floating.side, 0u);
    int inverted = 0;
    for (int i = 0; i < 4; ++i)
        inverted += floating.pixels[i] == Inverted(was(DragFrameProbe::Corner(floating.rect, i)));
    EXPECT_EQ(inverted, 2);
    // The first frame was inverted back when the second was drawn.
    EXPECT_EQ(floating.previous, was(DragFrameProbe::Corner(docked.rect, 0)));
    // Cancelled: erased, before any repaint, and nothing moved.
    for (const auto& seen : probe.seenList)
        for (int i = 0; i < 4; ++i) {
            POINT p = DragFrameProbe::Corner(seen.rect, i);
            EXPECT_EQ(GetWindowPixel(frame->m_hWnd, p.x, p.y), was(p)) << p.x << "," << p.y;
        }
    EXPECT_EQ(GetLockedWindow(), nullptr);
    EXPECT_EQ(bar->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    probe.DestroyWindow();
}

namespace {
// A caption button's glyph as DrawFrameControl draws it, `size` square.
std::vector<COLORREF> ButtonGlyph(UINT state, int size) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(size, size, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, size, size};
    DrawFrameControl(dc, &r, DFC_CAPTION, state);
    std::vector<COLORREF> out;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}
// A rectangle of a bar's client coordinates in screen coordinates.
RECT OnScreen(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
std::vector<COLORREF> Shown(HWND topLevel, const RECT& screen) {
    RECT w;
    GetWindowRect(topLevel, &w);
    std::vector<COLORREF> out;
    for (int y = screen.top; y < screen.bottom; ++y)
        for (int x = screen.left; x < screen.right; ++x)
            out.push_back(GetWindowPixel(topLevel, x - w.left, y - w.top));
    return out;
}
// How many raised 3-pixel lines (highlight, face, shadow) a run of pixels crosses.
int RaisedLines(const std::vector<COLORREF>& run) {
    int n = 0;
    for (size_t i = 0; i + 2 < run.size(); ++i)
        if (run[i] == GetSysColor(COLOR_BTNHIGHLIGHT) && run[i + 1] == GetSysColor(COLOR_BTNFACE) &&
            run[i + 2] == GetSysColor(COLOR_BTNSHADOW))
            ++n;
    return n;
}
}  // namespace

TEST_F(SizeDockTest, DockedMaximizedAndFloatingBarsShowTheirCaptionsAndSplitters) {
    MakeFrame();
    RECT r{0, 0, 200, 120};
    // Without the solid-caption flag the strip shows gripper lines; the bottom bars have it.
    COXSizeControlBar* left = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, &r, 0x014);
    COXSizeControlBar* bottom1 = AddBar(kBarB, AFX_IDW_DOCKBAR_BOTTOM, &r);
    COXSizeControlBar* bottom2 = AddBar(kBarC, AFX_IDW_DOCKBAR_BOTTOM, &r);
    COXSizeDockBar* bottomDock = Side(AFX_IDW_DOCKBAR_BOTTOM);
    OneRow(bottomDock, {bottom1, bottom2});
    bars.push_back(std::make_unique<COXSizeControlBar>(0x214));
    COXSizeControlBar* floating = bars.back().get();
    ASSERT_TRUE(floating->Create(nullptr, "Floating", WS_CHILD | WS_VISIBLE | CBRS_TOP, r, frame, kBarC + 1));
    floating->EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(floating, POINT{400, 200});
    frame->RecalcLayout();
    bottomDock->MaximizeInRow(bottom1, TRUE);
    Pump();
    RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    HWND top = frame->m_hWnd;
    ScreenshotOnFailure shot(top);
    RECT w;
    GetWindowRect(top, &w);
    auto at = [&](int x, int y) { return GetWindowPixel(top, x - w.left, y - w.top); };

    // Splitters: across a row splitter and an in-row one, face, highlight ... shadow, window frame.
    struct Strip {
        COXSizeDockBar* dock;
        int kind;
        size_t shown;  // the left dock bar grows by 7 after its last row: its splitter's last column is cut
    } strips[] = {{Side(AFX_IDW_DOCKBAR_LEFT), 1, 3}, {bottomDock, 2, 4}, {bottomDock, 1, 4}};
    for (const Strip& s : strips) {
        COXSplitterRect* found = nullptr;
        for (INT_PTR i = 0; i < s.dock->m_SplitArr.GetSize(); ++i)
            if (auto* sp = static_cast<COXSplitterRect*>(s.dock->m_SplitArr[i]); sp->m_type == s.kind)
                found = sp;
        ASSERT_NE(found, nullptr) << s.kind;
        RECT sr = OnScreen(s.dock->m_hWnd, found->m_rect);
        std::vector<COLORREF> across;
        for (int i = 1; i <= 2; ++i)
            across.push_back(s.kind == 1 ? at(sr.left + i, (sr.top + sr.bottom) / 2) : at((sr.left + sr.right) / 2, sr.top + i));
        for (int i = 2; i >= 1; --i)
            across.push_back(s.kind == 1 ? at(sr.right - i, (sr.top + sr.bottom) / 2) : at((sr.left + sr.right) / 2, sr.bottom - i));
        std::vector<COLORREF> colours{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT),
                                      GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_WINDOWFRAME)};
        across.resize(s.shown);
        colours.resize(s.shown);
        EXPECT_EQ(across, colours) << "splitter of kind " << s.kind;
    }

    // The caption strips: both buttons as the frame control draws them (the maximized bar's second
    // button restores), and two raised gripper lines along the strip.
    struct Caption {
        COXSizeControlBar* bar;
        UINT second;
    } captions[] = {{left, DFCS_CAPTIONMAX | DFCS_INACTIVE},
                    {bottom1, DFCS_CAPTIONMIN},
                    {bottom2, DFCS_CAPTIONMAX}};
    for (const Caption& c : captions) {
        SCOPED_TRACE(c.bar->GetDlgCtrlID());
        RECT close = OnScreen(c.bar->m_hWnd, c.bar->m_rectCloseBtn);
        RECT second = OnScreen(c.bar->m_hWnd, c.bar->m_rectSecondBtn);
        ASSERT_EQ(close.right - close.left, 11);
        EXPECT_EQ(Shown(top, close), ButtonGlyph(DFCS_CAPTIONCLOSE, 11));
        EXPECT_EQ(Shown(top, second), ButtonGlyph(c.second, 11));
        RECT grip = OnScreen(c.bar->m_hWnd, c.bar->m_rectGripper);
        bool horizontal = c.bar->m_pDockBar == bottomDock;
        std::vector<COLORREF> run;
        if (horizontal)  // a strip on the left: lines side by side, read near its bottom
            for (int x = grip.left; x < grip.right; ++x)
                run.push_back(at(x, grip.bottom - 5));
        else  // a strip on top: lines under each other, read near its right end
            for (int y = grip.top; y < grip.bottom; ++y)
                run.push_back(at(grip.right - 5, y));
        if (c.bar->GetSizeBarFlags() & SZBAR_SKIN_CAPTION) {  // a solid strip in the inactive caption colour
            EXPECT_EQ(RaisedLines(run), 0);
            EXPECT_EQ(at(grip.left + 3, grip.top + 3), GetSysColor(COLOR_INACTIVECAPTION));
        } else {
            EXPECT_EQ(RaisedLines(run), 2);
        }
    }

    // The floating bar's mini frame: a caption in the caption colour.
    CFrameWnd* mini = floating->GetParentFrame();
    ASSERT_NE(mini, nullptr);
    RECT mw, mc;
    GetWindowRect(mini->m_hWnd, &mw);
    GetClientRect(mini->m_hWnd, &mc);
    MapWindowPoints(mini->m_hWnd, nullptr, reinterpret_cast<POINT*>(&mc), 2);
    ASSERT_GT(mc.top - mw.top, 10);
    COLORREF captionColour = GetWindowPixel(mini->m_hWnd, mc.left - mw.left + 2, (mc.top - mw.top) / 2 + 1);
    EXPECT_TRUE(captionColour == GetSysColor(COLOR_ACTIVECAPTION) || captionColour == GetSysColor(COLOR_INACTIVECAPTION))
        << std::hex << captionColour;
}

TEST_F(SizeDockTest, TheMiniFrameOfOneSizingBarOffersOnlyMovingSizingAndHidingOrClosing) {
    struct Case {
        int flags;
        const char* close;
    } cases[] = {{0x214, "&Hide"}, {0x214 | SZBAR_DELETE_ON_CLOSE, "&Close\tAlt+F4"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        MakeFrame();
        COXSizeControlBar* bar = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, nullptr, c.flags);
        frame->FloatControlBar(bar, POINT{200, 200});
        auto* mini = dynamic_cast<COXSizableMiniDockFrameWnd*>(bar->GetParentFrame());
        ASSERT_NE(mini, nullptr);
        SendMessage(mini->m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
        EXPECT_EQ(mini->m_nContainedBarType, 2);
        HMENU menu = GetSystemMenu(mini->m_hWnd, FALSE);
        std::vector<std::string> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuString(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
            items.push_back(GetMenuItemID(menu, i) == SC_CLOSE ? std::string("close:") + text : text);
        }
        EXPECT_EQ(items, (std::vector<std::string>{"&Move", "&Size", std::string("close:") + c.close}));
        // Settled once: a second request changes nothing.
        ModifyMenu(menu, SC_MOVE, MF_BYCOMMAND | MF_STRING, SC_MOVE, "kept");
        SendMessage(mini->m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
        char text[64] = {};
        GetMenuString(menu, SC_MOVE, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "kept");
        DestroyFrame();
    }
}

TEST_F(SizeDockTest, SplittersShowTheSystemSizingCursorsWithoutTheLibrarysCursorResources) {
    MakeFrame();
    RECT r{0, 0, 200, 100};
    COXSizeControlBar* a = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeControlBar* b = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, &r);
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    OneRow(top, {a, b});
    frame->RecalcLayout();
    ASSERT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(IDC_OX_SPLITTER_WE)), nullptr);
    for (INT_PTR i = 0; i < top->m_SplitArr.GetSize(); ++i) {
        auto* s = static_cast<COXSplitterRect*>(top->m_SplitArr[i]);
        POINT p{(s->m_rect.left + s->m_rect.right) / 2, (s->m_rect.top + s->m_rect.bottom) / 2};
        SetCursor(nullptr);
        SendMessage(top->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, s->m_type == 1 ? IDC_SIZEWE : IDC_SIZENS)) << s->m_type;
    }
}
