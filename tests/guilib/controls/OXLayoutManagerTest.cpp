#include <gtest/gtest.h>

#include <vector>

#include "guilib/controls/OXLayoutManager.h"
#include "tests/support/Gui.h"

namespace {

std::vector<RECT> g_childAtSize;  // where child 101 was when the container's own WM_SIZE ran
int g_watchId = 0;

LRESULT ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE && g_watchId) {
        RECT rc{};
        HWND child = GetDlgItem(hwnd, g_watchId);
        if (child) {
            GetWindowRect(child, &rc);
            MapWindowPoints(nullptr, hwnd, (LPPOINT)&rc, 2);
            g_childAtSize.push_back(rc);
        }
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("LayoutContainer", ContainerProc, COLOR_BTNFACE);
        HWND hwnd = CreateWindowEx(0, "LayoutContainer", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        container.Attach(hwnd);
        g_childAtSize.clear();
        g_watchId = 0;
    }
    void TearDown() override {
        HWND hwnd = container.Detach();
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
        Pump();
    }
    HWND Child(int id, int l, int t, int r, int b) {
        return CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, l, t, r - l, b - t,
                              container.GetSafeHwnd(), (HMENU)(INT_PTR)id, nullptr, nullptr);
    }
    RECT RectOf(int id) {
        RECT rc{};
        GetWindowRect(GetDlgItem(container.GetSafeHwnd(), id), &rc);
        MapWindowPoints(nullptr, container.GetSafeHwnd(), (LPPOINT)&rc, 2);
        return rc;
    }
    void Resize(int w, int h) {
        SetWindowPos(container.GetSafeHwnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    }
    CWnd container;
};

TEST_F(LayoutTest, TiedSidesFollowTheContainerAndFreeSidesKeepTheSize) {
    Child(101, 10, 10, 290, 30);    // stretches across
    Child(102, 200, 150, 290, 190); // follows the lower right corner
    Child(103, 20, 50, 60, 70);     // never tied
    Child(104, 100, 100, 200, 150); // grows both ways
    Child(105, 250, 40, 280, 60);   // right side only: moves
    COXLayoutManager lm(&container);
    ASSERT_TRUE(lm.ConstrainChild(101, OX_LMS_LEFT | OX_LMS_RIGHT, OX_LMT_SAME));
    ASSERT_TRUE(lm.ConstrainChild(102, OX_LMS_BOTTOM | OX_LMS_RIGHT, OX_LMT_SAME));
    ASSERT_TRUE(lm.ConstrainChild(104, OX_LMS_ANY, OX_LMT_SAME));
    ASSERT_TRUE(lm.ConstrainChild(105, OX_LMS_RIGHT, OX_LMT_SAME));
    g_watchId = 101;
    Resize(400, 260);

    struct Case {
        int id;
        RECT expected;
    } cases[] = {
        {101, {10, 10, 390, 30}}, {102, {300, 210, 390, 250}}, {103, {20, 50, 60, 70}},
        {104, {100, 100, 300, 210}}, {105, {350, 40, 380, 60}},
    };
    for (const Case& c : cases) {
        RECT rc = RectOf(c.id);
        EXPECT_TRUE(SameRect(rc, c.expected)) << c.id << ": " << rc.left << "," << rc.top << "-" << rc.right << ","
                                              << rc.bottom;
    }
    // The container's own size handler already saw the children placed.
    ASSERT_FALSE(g_childAtSize.empty());
    EXPECT_TRUE(SameRect(g_childAtSize.back(), RECT{10, 10, 390, 30}));

    // Minimised: nothing moves.
    EXPECT_TRUE(lm.OnSize(0, 0));
    EXPECT_TRUE(SameRect(RectOf(101), RECT{10, 10, 390, 30}));
}

TEST_F(LayoutTest, ProportionalAndSiblingConstraints) {
    Child(201, 0, 0, 20, 20);
    Child(202, 100, 10, 150, 30);  // a sibling never tied itself
    Child(203, 0, 40, 10, 60);
    COXLayoutManager lm(&container);
    ASSERT_TRUE(lm.SetConstraint(201, OX_LMS_LEFT, OX_LMT_POSITION, 50));
    // 203's left is 5 px right of the sibling's right edge.
    ASSERT_TRUE(lm.SetConstraint(203, OX_LMS_LEFT, OX_LMT_OPPOSITE, 5, 202));
    ASSERT_TRUE(lm.OnSize(401, 200));
    EXPECT_EQ(RectOf(201).left, 200);
    EXPECT_EQ(RectOf(201).right, 220);  // the free right side keeps the width
    EXPECT_TRUE(SameRect(RectOf(203), RECT{155, 40, 165, 60}));
}

TEST_F(LayoutTest, ACycleOrAMissingBaseMovesNothing) {
    Child(301, 10, 10, 50, 30);
    Child(302, 60, 10, 100, 30);
    COXLayoutManager lm(&container);
    ASSERT_TRUE(lm.SetConstraint(301, OX_LMS_LEFT, OX_LMT_OPPOSITE, 5, 302));
    ASSERT_TRUE(lm.SetConstraint(302, OX_LMS_LEFT, OX_LMT_OPPOSITE, 5, 301));
    EXPECT_FALSE(lm.OnSize(400, 260));
    EXPECT_TRUE(SameRect(RectOf(301), RECT{10, 10, 50, 30}));
    EXPECT_TRUE(SameRect(RectOf(302), RECT{60, 10, 100, 30}));

    // Tying to controls that do not exist is refused and records nothing.
    COXLayoutManager other(nullptr);
    EXPECT_FALSE(other.Attach(nullptr));
    CWnd unborn;
    EXPECT_FALSE(other.Attach(&unborn));
    EXPECT_FALSE(lm.ConstrainChild(399, OX_LMS_LEFT, OX_LMT_SAME));
    EXPECT_FALSE(lm.ConstrainChild(301, OX_LMS_LEFT, OX_LMT_SAME, 398));
    EXPECT_FALSE(lm.ConstrainChild(301, OX_LMS_LEFT, 3));
    EXPECT_EQ(lm.GetChildCount(), 2);
}

TEST_F(LayoutTest, OneWindowOneManager) {
    WNDPROC original = (WNDPROC)GetWindowLongPtr(container.GetSafeHwnd(), GWLP_WNDPROC);
    HWND second = CreateWindowEx(0, "LayoutContainer", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
    CWnd secondWnd;
    secondWnd.Attach(second);
    {
        COXLayoutManager lm(&container);
        WNDPROC ours = (WNDPROC)GetWindowLongPtr(container.GetSafeHwnd(), GWLP_WNDPROC);
        EXPECT_NE(ours, original);
        EXPECT_FALSE(lm.Attach(&secondWnd));
        EXPECT_EQ((WNDPROC)GetWindowLongPtr(container.GetSafeHwnd(), GWLP_WNDPROC), ours);
        EXPECT_EQ(lm.GetContainer(), &container);
        EXPECT_TRUE(lm.Attach(&container));

        // A second manager on the same window is refused.
        COXLayoutManager another;
        EXPECT_FALSE(another.Attach(&container));

        lm.Detach();
        EXPECT_EQ((WNDPROC)GetWindowLongPtr(container.GetSafeHwnd(), GWLP_WNDPROC), original);
        EXPECT_TRUE(lm.Attach(&secondWnd));
    }
    EXPECT_EQ((WNDPROC)GetWindowLongPtr(second, GWLP_WNDPROC), original);

    // A container destroyed under its manager leaves it detached, not dangling.
    COXLayoutManager lm(&secondWnd);
    DestroyWindow(secondWnd.Detach());
    EXPECT_EQ(lm.GetContainer(), nullptr);
    EXPECT_FALSE(lm.RedrawLayout());
}

TEST_F(LayoutTest, SizeLimitsHoldTheLayoutBack) {
    Child(501, 10, 10, 290, 30);
    COXLayoutManager lm(&container);
    ASSERT_TRUE(lm.ConstrainChild(501, OX_LMS_LEFT | OX_LMS_RIGHT, OX_LMT_SAME));
    ASSERT_TRUE(lm.SetMinMax(501, SIZE{200, 0}, SIZE{300, 0}));
    ASSERT_TRUE(lm.OnSize(100, 200));  // would be 80 wide
    EXPECT_EQ(RectOf(501).right - RectOf(501).left, 200);
    ASSERT_TRUE(lm.OnSize(1000, 200));
    EXPECT_EQ(RectOf(501).right - RectOf(501).left, 300);
}

}  // namespace
