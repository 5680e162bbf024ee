// The skinned tab control: items clipped beside its scroll arrows, and the spin controls' mouse hook.
#include <gtest/gtest.h>

#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "tests/support/Gui.h"

namespace {

class SkinnedTab : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("SkinnedTabParent", DefWindowProc, COLOR_BTNFACE);
        parent = CreateWindowEx(0, "SkinnedTabParent", "tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 160,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, CWnd::FromHandle(parent), 7));
    }
    void TearDown() override { DestroyWindow(parent); }

    // The up-down child the tab control made, attached as the embedded spin.
    COXSkinnedSpinCtrl* AttachSpin() {
        for (int i = 0; i < 12; ++i)
            tab.InsertItem(i, "A rather long tab label");
        COXSkinnedSpinCtrl* spin = COXSkinnedTabCtrl::GetEmbeddedSpin(&tab);
        for (HWND c = GetWindow(tab.GetSafeHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            spin->SubclassWindow(c);
        return spin;
    }

    HWND parent = nullptr;
    COXSkinnedTabCtrl tab;
};

TEST_F(SkinnedTab, ItemsBesideTheVisibleSpinAreCutAtItsLeftEdgeOrLeftOut) {
    RECT whole{10, 0, 60, 20};
    EXPECT_TRUE(COXTabSkinXP::ClipItemToSpin(0, whole, &tab));  // no spin: everything shows
    EXPECT_EQ(whole.right, 60);

    COXSkinnedSpinCtrl* spin = AttachSpin();
    ASSERT_NE(spin->GetSafeHwnd(), nullptr);
    ASSERT_TRUE(IsWindowVisible(spin->GetSafeHwnd()));
    RECT spinRect{};
    GetWindowRect(spin->GetSafeHwnd(), &spinRect);
    int limit = 200 - (spinRect.right - spinRect.left);

    struct Case {
        RECT item;
        BOOL shows;
        LONG right;
    } cases[] = {
        {{10, 0, 60, 20}, TRUE, 60},
        {{limit - 20, 0, limit + 20, 20}, TRUE, limit},
        {{limit + 1, 0, limit + 40, 20}, FALSE, limit + 40},
        {{0, 0, 3, 20}, FALSE, 3},
    };
    for (auto c : cases) {
        RECT r = c.item;
        EXPECT_EQ(COXTabSkinXP::ClipItemToSpin(0, r, &tab), c.shows) << c.item.left;
        EXPECT_EQ(r.right, c.right) << c.item.left;
    }
    EXPECT_EQ(COXSkinnedTabCtrl::GetEmbeddedSpin(CWnd::FromHandle(parent)), nullptr);
}

// A spin control counting the plain WM_MOUSEMOVE the hook sends when the mouse leaves it.
class CountingSpin : public COXSkinnedSpinCtrl {
public:
    int leaves = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_MOUSEMOVE && wParam == 0 && lParam == 0)
            ++leaves;
        return COXSkinnedSpinCtrl::WindowProc(msg, wParam, lParam);
    }
};

TEST_F(SkinnedTab, LeavingASpinSendsItOneMouseMoveAndTheHookGoesWithTheLastSpin) {
    CWinApp app("Tabs");
    CountingSpin first, second;
    ASSERT_TRUE(first.Create(WS_CHILD | WS_VISIBLE, RECT{0, 110, 40, 130}, CWnd::FromHandle(parent), 8));
    ASSERT_NE(COXSkinnedSpinCtrl::GetMouseHook(), nullptr);
    ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, RECT{50, 110, 90, 130}, CWnd::FromHandle(parent), 9));

    PostMessage(first.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    PostMessage(first.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
    Pump();
    EXPECT_EQ(first.leaves, 0);
    PostMessage(parent, WM_MOUSEMOVE, 0, MAKELPARAM(150, 150));
    PostMessage(parent, WM_MOUSEMOVE, 0, MAKELPARAM(151, 150));
    Pump();
    EXPECT_EQ(first.leaves, 1);

    first.DestroyWindow();
    EXPECT_NE(COXSkinnedSpinCtrl::GetMouseHook(), nullptr);
    second.DestroyWindow();
    EXPECT_EQ(COXSkinnedSpinCtrl::GetMouseHook(), nullptr);
}

TEST_F(SkinnedTab, AnOfficeLookPaintsTheTabsThroughItsSkin) {
    COXSkinnedApp app;
    ASSERT_TRUE(app.SetCurrentSkin("Office XP"));
    tab.InsertItem(0, "One");
    tab.InsertItem(1, "Two");
    tab.SetCurSel(0);
    EXPECT_EQ(tab.GetTabSkin(), app.GetCurrentSkin()->GetTabSkin());
    Pump();
    RedrawWindow(tab.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT display{0, 0, 200, 100};
    tab.AdjustRect(FALSE, &display);
    PixelProbe probe(tab.GetSafeHwnd());
    // The strip above the tabs is the face lightened by 1.2, a white line under it.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(probe.At(198, 1), COXSkinXP::ScaleColor(face, 1.2f, 1.2f, 1.2f));
    EXPECT_EQ(probe.At(198, display.top - 3), RGB(255, 255, 255));
}

}  // namespace
