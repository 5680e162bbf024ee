// Sizing bars stacked behind the tab strip of a sizing dock bar: joining and leaving the stack, switching
// tabs, hiding and showing a stacked bar, and tearing a bar off by its tab.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "guilib/frame/OXDockTabCtrl.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/frame/OXWorkspaceState.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "tests/guilib/frame/DockFrameTestSupport.h"

namespace {
constexpr UINT kBarA = 59522, kBarB = 59523, kBarC = 59524;

int Height(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r.bottom - r.top;
}

class DockTabTest : public DockFrameTest {
protected:
    void TearDown() override {
        DockFrameTest::TearDown();
        bars.clear();
    }
    COXSizeControlBar* AddBar(UINT id, UINT side, const char* title) {
        bars.push_back(std::make_unique<COXSizeControlBar>(0x214));
        COXSizeControlBar* bar = bars.back().get();
        RECT r{0, 0, 200, 150};
        EXPECT_TRUE(bar->Create(nullptr, title, WS_CHILD | WS_VISIBLE | CBRS_TOP, r, frame, id));
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(bar, side);
        frame->RecalcLayout();
        return bar;
    }
    COXSizeDockBar* Side(UINT id) { return dynamic_cast<COXSizeDockBar*>(frame->GetControlBar(id)); }
    // A point on the dock bar's tab band: `x` in from its left edge, 20 up from its bottom.
    POINT OnBand(COXSizeDockBar* dock, int x = 10) {
        RECT r;
        GetWindowRect(dock->m_hWnd, &r);
        return POINT{r.left + x, r.bottom - 20};
    }
    // Drops a bar on a point of a dock bar, as a live drag does.
    void DropAt(COXSizeControlBar* bar, COXSizeDockBar* dock, POINT at) {
        RECT now;
        GetWindowRect(bar->m_hWnd, &now);
        RECT drop{at.x, at.y, at.x + now.right - now.left, at.y + now.bottom - now.top};
        frame->DockControlBar(bar, dock, &drop);
        frame->RecalcLayout();
        Pump();
    }
    std::vector<CControlBar*> Tabs(COXSizeDockBar* dock) {
        std::vector<CControlBar*> tabs;
        for (int i = 0; i < dock->m_wndDockTabCtrl.GetItemCount(); ++i)
            tabs.push_back(dock->m_wndDockTabCtrl.GetTabBar(i));
        return tabs;
    }
    std::vector<bool> Shown(std::vector<COXSizeControlBar*> list) {
        std::vector<bool> shown;
        for (auto* b : list)
            shown.push_back(b->IsWindowVisible() != FALSE);
        return shown;
    }
    // A stack of A and B on the left dock bar: B dropped on the band takes the first tab, selected.
    void StackOfTwo() {
        a = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, "A");
        b = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, "B");
        left = Side(AFX_IDW_DOCKBAR_LEFT);
        DropAt(b, left, OnBand(left));
    }

    std::vector<std::unique_ptr<COXSizeControlBar>> bars;
    COXSizeControlBar *a = nullptr, *b = nullptr;
    COXSizeDockBar* left = nullptr;
};
}  // namespace

TEST_F(DockTabTest, ABarDroppedOnTheBandStacksAndAThirdTakesTheTabUnderTheCursor) {
    StackOfTwo();
    ASSERT_EQ(Tabs(left), (std::vector<CControlBar*>{b, a}));
    EXPECT_EQ(left->m_wndDockTabCtrl.GetCurSel(), 0);
    EXPECT_EQ(Shown({a, b}), (std::vector<bool>{false, true}));
    EXPECT_EQ(left->GetTabAreaHeight(), 28);
    EXPECT_FALSE(b->CanMaximizeInRow());
    // The strip lies along the dock bar's bottom edge, 28 high, and the bar above it.
    RECT strip, dock, bar;
    GetWindowRect(left->m_wndDockTabCtrl.m_hWnd, &strip);
    GetClientRect(left->m_hWnd, &dock);
    MapWindowPoints(left->m_hWnd, nullptr, reinterpret_cast<POINT*>(&dock), 2);
    GetWindowRect(b->m_hWnd, &bar);
    EXPECT_EQ(strip.bottom, dock.bottom);
    EXPECT_EQ(strip.bottom - strip.top, 28);
    EXPECT_LE(bar.bottom, strip.top + 1);  // a border's share may reach under the strip

    // The band: -1 above it, the tab under the point, 0 beside the last tab.
    RECT tab0;
    left->m_wndDockTabCtrl.GetItemRect(0, &tab0);
    MapWindowPoints(left->m_wndDockTabCtrl.m_hWnd, nullptr, reinterpret_cast<POINT*>(&tab0), 2);
    RECT tab1;
    left->m_wndDockTabCtrl.GetItemRect(1, &tab1);
    MapWindowPoints(left->m_wndDockTabCtrl.m_hWnd, nullptr, reinterpret_cast<POINT*>(&tab1), 2);
    POINT onTab1{(tab1.left + tab1.right) / 2, (tab1.top + tab1.bottom) / 2};
    EXPECT_EQ(left->m_wndDockTabCtrl.HitTestTabs(onTab1.x, strip.top - 40, b), -1);
    EXPECT_EQ(left->m_wndDockTabCtrl.HitTestTabs(onTab1.x, onTab1.y, b), 1);
    EXPECT_EQ(left->m_wndDockTabCtrl.HitTestTabs(tab1.right + 3, onTab1.y, b), 0);
    ASSERT_LT(tab1.right + 3, dock.right);

    // A third bar dropped on tab 1 takes that place, selected and shown alone.
    COXSizeControlBar* c = AddBar(kBarC, AFX_IDW_DOCKBAR_RIGHT, "C");
    DropAt(c, left, onTab1);
    EXPECT_EQ(Tabs(left), (std::vector<CControlBar*>{b, c, a}));
    EXPECT_EQ(left->m_wndDockTabCtrl.GetCurSel(), 1);
    EXPECT_EQ(Shown({a, b, c}), (std::vector<bool>{false, false, true}));
}

TEST_F(DockTabTest, ATopDockBarIsTallerByTheTabAreaAndATabClickSwitchesBarsKeepingTheWidth) {
    a = AddBar(kBarA, AFX_IDW_DOCKBAR_TOP, "A");
    COXSizeDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    int before = Height(top->m_hWnd);
    b = AddBar(kBarB, AFX_IDW_DOCKBAR_BOTTOM, "B");
    DropAt(b, top, OnBand(top));
    ASSERT_EQ(Tabs(top).size(), 2u);
    EXPECT_EQ(Height(top->m_hWnd), before + 28);

    // Clicking tab A shows A with the width B had, and hides B.
    ASSERT_EQ(Tabs(top), (std::vector<CControlBar*>{b, a}));
    b->m_HorzDockSize.cx = 333;
    RECT tab;
    top->m_wndDockTabCtrl.GetItemRect(1, &tab);
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessage(top->m_wndDockTabCtrl.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessage(top->m_wndDockTabCtrl.m_hWnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(top->m_wndDockTabCtrl.GetCurSel(), 1);
    EXPECT_EQ(a->m_HorzDockSize.cx, 333);
    frame->RecalcLayout();
    EXPECT_EQ(Shown({a, b}), (std::vector<bool>{true, false}));
}

TEST_F(DockTabTest, LeavingAStackOfTwoDissolvesItAndAHiddenBarComesBackAtItsTab) {
    StackOfTwo();
    COXSizeControlBar* c = AddBar(kBarC, AFX_IDW_DOCKBAR_RIGHT, "C");
    DropAt(c, left, OnBand(left));
    ASSERT_EQ(Tabs(left), (std::vector<CControlBar*>{c, b, a}));

    // Shown, a tabbed bar is selected; hidden by its close button's road, its tab goes and the one
    // before it shows.
    b->ShowBar(TRUE);
    EXPECT_EQ(left->m_wndDockTabCtrl.GetCurSel(), 1);
    frame->RecalcLayout();
    b->ShowBar(FALSE);
    frame->RecalcLayout();
    EXPECT_EQ(Tabs(left), (std::vector<CControlBar*>{c, a}));
    EXPECT_EQ(b->m_nTabIndex, 1);
    EXPECT_EQ(Shown({a, b, c}), (std::vector<bool>{false, false, true}));
    b->ShowBar(TRUE);
    frame->RecalcLayout();
    EXPECT_EQ(Tabs(left), (std::vector<CControlBar*>{c, b, a}));
    EXPECT_EQ(left->m_wndDockTabCtrl.GetCurSel(), 1);
    EXPECT_EQ(Shown({a, b, c}), (std::vector<bool>{false, true, false}));

    // Two bars float away: the last one stays untabbed and shown, the strip gone.
    frame->FloatControlBar(c, POINT{300, 300}, CBRS_ALIGN_TOP);
    frame->RecalcLayout();
    EXPECT_EQ(Tabs(left), (std::vector<CControlBar*>{b, a}));
    frame->FloatControlBar(b, POINT{350, 350}, CBRS_ALIGN_TOP);
    frame->RecalcLayout();
    frame->RecalcLayout();
    EXPECT_TRUE(Tabs(left).empty());
    EXPECT_EQ(left->GetTabAreaHeight(), 0);
    EXPECT_TRUE(a->IsWindowVisible());
}

TEST_F(DockTabTest, ATabDraggedThreePixelsStaysAndFourPixelsTearsItsBarOff) {
    StackOfTwo();
    HWND strip = left->m_wndDockTabCtrl.m_hWnd;
    RECT tab;
    left->m_wndDockTabCtrl.GetItemRect(0, &tab);
    POINT at{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    SendMessage(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessage(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 3, at.y - 3));
    EXPECT_FALSE(b->m_bDragging);
    EXPECT_NE(GetCapture(), b->m_hWnd);
    SendMessage(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y - 4));
    EXPECT_TRUE(b->m_bDragging);
    EXPECT_EQ(GetCapture(), b->m_hWnd);

    // Dragged into the frame's middle, the bar floats and leaves the stack.
    RECT client;
    GetClientRect(frame->m_hWnd, &client);
    POINT middle{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(frame->m_hWnd, &middle);
    ScreenToClient(b->m_hWnd, &middle);
    SendMessage(b->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    SendMessage(b->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
    frame->RecalcLayout();
    EXPECT_TRUE(b->IsFloating());
    EXPECT_TRUE(Tabs(left).empty());
    EXPECT_EQ(Shown({a, b}), (std::vector<bool>{true, true}));
}

TEST_F(DockTabTest, ATabOfACoolToolBarStartsTheToolBarsOwnDragAndNoTabStartsNothing) {
    StackOfTwo();
    COXCoolToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE810));
    COXDockTabCtrl& strip = left->m_wndDockTabCtrl;
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>("Tools");
    item.lParam = (LPARAM)(CControlBar*)&toolBar;
    ASSERT_EQ(strip.InsertItem(2, &item), 2);
    RECT tab, last;
    strip.GetItemRect(2, &tab);
    POINT at{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    SendMessage(strip.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessage(strip.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 4, at.y));
    EXPECT_EQ(GetCapture(), toolBar.m_hWnd);
    EXPECT_FALSE(a->m_bDragging || b->m_bDragging);
    ReleaseCapture();
    strip.DeleteItem(2);

    // Beside the last tab no bar is dragged.
    strip.GetItemRect(strip.GetItemCount() - 1, &last);
    POINT beside{last.right + 20, (last.top + last.bottom) / 2};
    SendMessage(strip.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(beside.x, beside.y));
    SendMessage(strip.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(beside.x + 6, beside.y));
    EXPECT_FALSE(a->m_bDragging || b->m_bDragging);
    EXPECT_NE(GetCapture(), toolBar.m_hWnd);
    toolBar.DestroyWindow();
}

TEST_F(DockTabTest, AStackStoredWithTheWorkspaceComesBackInItsOrderWithItsTabSelected) {
    StackOfTwo();
    COXSizeControlBar* c = AddBar(kBarC, AFX_IDW_DOCKBAR_RIGHT, "C");
    DropAt(c, left, OnBand(left));
    ASSERT_EQ(Tabs(left), (std::vector<CControlBar*>{c, b, a}));
    left->m_wndDockTabCtrl.SetCurSel(1);  // neither the first nor the last tab
    left->m_wndDockTabCtrl.ShowSelectedBar();
    auto barsOnly = [](COXWorkspaceState& state) {
        state.m_bIncludeMainWindow = state.m_bIncludeChildFrames = state.m_bIncludeSplitterPanes = FALSE;
    };
    COXWorkspaceState stored;
    barsOnly(stored);
    ASSERT_TRUE(stored.ComputeState());
    const OXDOCKTABPOSITION& second = stored.m_mapTabPositions[kBarB];
    EXPECT_EQ((std::vector<int>{second.nBarID, second.nDockBarID, second.nTabIndex, second.bCurrentTab}),
              (std::vector<int>{(int)kBarB, (int)AFX_IDW_DOCKBAR_LEFT, 1, 1}));
    CByteArray blob;
    ASSERT_TRUE(stored.StoreToByteArray(blob));

    // The next start: the same bars, docked apart, none tabbed.
    DockTabTest::TearDown();
    DockFrameTest::SetUp();
    a = AddBar(kBarA, AFX_IDW_DOCKBAR_LEFT, "A");
    b = AddBar(kBarB, AFX_IDW_DOCKBAR_TOP, "B");
    c = AddBar(kBarC, AFX_IDW_DOCKBAR_RIGHT, "C");
    left = Side(AFX_IDW_DOCKBAR_LEFT);
    COXWorkspaceState apart;
    barsOnly(apart);
    ASSERT_TRUE(apart.ComputeState());
    EXPECT_EQ(apart.m_mapTabPositions[kBarA].nTabIndex, -1);

    COXWorkspaceState restored;
    ASSERT_TRUE(restored.LoadFromByteArray(blob));
    ASSERT_TRUE(restored.ApplyState());
    frame->RecalcLayout();
    Pump();
    EXPECT_EQ(Tabs(left), (std::vector<CControlBar*>{c, b, a}));
    EXPECT_EQ(left->m_wndDockTabCtrl.GetCurSel(), 1);
    EXPECT_EQ(Shown({a, b, c}), (std::vector<bool>{false, true, false}));

    // A state with the bars untabbed takes them out of the strip again.
    ASSERT_TRUE(apart.ApplyState());
    frame->RecalcLayout();
    Pump();
    EXPECT_TRUE(Tabs(left).empty());
    EXPECT_EQ(Shown({a, b, c}), (std::vector<bool>{true, true, true}));
}
