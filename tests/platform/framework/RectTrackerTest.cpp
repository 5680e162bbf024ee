#include <gtest/gtest.h>

#include "platform/framework/bars/RectTracker.h"
#include "tests/support/Gui.h"

namespace {
int g_mouseHookCalls = 0;
HHOOK g_hook = nullptr;
LRESULT CountMouse(int code, WPARAM wp, LPARAM lp) {
    ++g_mouseHookCalls;
    return CallNextHookEx(g_hook, code, wp, lp);
}

class RectTrackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wnd.CreateEx(0, AfxWndClassName(), "tracker", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                 nullptr));
        SetFocus(wnd.m_hWnd);
        Pump();
    }
    void TearDown() override {
        wnd.DestroyWindow();
        Pump();
    }
    // Queues mouse moves to the points (client coordinates), then a left button release at the last.
    void Queue(std::initializer_list<POINT> points, bool release) {
        POINT last{};
        for (POINT p : points) {
            PostMessage(wnd.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            last = p;
        }
        if (release)
            PostMessage(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
    }
    CWnd wnd;
};

TEST_F(RectTrackerTest, HandlesHitAndDragResizesOrMoves) {
    RECT r{20, 20, 120, 80};
    CRectTracker t(&r, CRectTracker::resizeInside | CRectTracker::solidLine);
    struct Case {
        POINT p;
        int hit;
    } cases[] = {{{21, 21}, CRectTracker::hitTopLeft},     {{118, 78}, CRectTracker::hitBottomRight},
                 {{70, 21}, CRectTracker::hitTop},         {{21, 50}, CRectTracker::hitLeft},
                 {{70, 50}, CRectTracker::hitMiddle},      {{5, 5}, CRectTracker::hitNothing}};
    for (const Case& c : cases)
        EXPECT_EQ(t.HitTest(c.p), c.hit) << c.p.x << "," << c.p.y;

    Queue({{130, 90}, {140, 100}}, true);  // the bottom-right handle, 22 right and 22 down
    EXPECT_TRUE(t.Track(&wnd, POINT{118, 78}));
    EXPECT_EQ(t.m_rect.right, 142);
    EXPECT_EQ(t.m_rect.bottom, 102);
    EXPECT_EQ(t.m_rect.left, 20);

    Queue({{80, 60}}, true);  // the middle moves the whole rectangle
    EXPECT_TRUE(t.Track(&wnd, POINT{70, 50}));
    EXPECT_EQ(t.m_rect.left, 30);
    EXPECT_EQ(t.m_rect.top, 30);
    EXPECT_EQ(t.m_rect.right - t.m_rect.left, 122);
    EXPECT_EQ(GetCapture(), nullptr);

    // A resize never goes below the minimum size.
    RECT before = t.m_rect;
    Queue({{before.left + 1, before.top + 1}}, true);
    EXPECT_TRUE(t.Track(&wnd, POINT{before.right - 2, before.bottom - 2}));
    EXPECT_EQ(t.m_rect.right - t.m_rect.left, t.m_sizeMin.cx);
}

TEST_F(RectTrackerTest, EscapeOrTheRightButtonPutTheRectangleBack) {
    RECT r{20, 20, 120, 80};
    CRectTracker t(&r, CRectTracker::resizeOutside);
    g_hook = SetWindowsHookEx(WH_MOUSE, CountMouse, nullptr, GetCurrentThreadId());
    g_mouseHookCalls = 0;
    Queue({{150, 150}, {160, 160}}, false);
    PostMessage(wnd.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(t.Track(&wnd, POINT{70, 50}));
    EXPECT_TRUE(EqualRect(&t.m_rect, &r));
    EXPECT_GE(g_mouseHookCalls, 2);  // the loop's messages went through the thread's hooks
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(GetCapture(), nullptr);

    Queue({{150, 150}}, false);
    PostMessage(wnd.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(150, 150));
    EXPECT_FALSE(t.Track(&wnd, POINT{70, 50}));
    EXPECT_TRUE(EqualRect(&t.m_rect, &r));
}

TEST_F(RectTrackerTest, ARubberBandIsNormalisedUnlessInversionIsAllowed) {
    CRectTracker t;
    Queue({{40, 30}}, true);
    EXPECT_TRUE(t.TrackRubberBand(&wnd, POINT{100, 90}, FALSE));
    EXPECT_EQ(t.m_rect.left, 40);
    EXPECT_EQ(t.m_rect.top, 30);
    EXPECT_EQ(t.m_rect.right, 100);
    EXPECT_EQ(t.m_rect.bottom, 90);

    Queue({{40, 30}}, true);
    EXPECT_TRUE(t.TrackRubberBand(&wnd, POINT{100, 90}, TRUE));
    EXPECT_EQ(t.m_rect.left, 100);
    EXPECT_EQ(t.m_rect.right, 40);
    // The mirrored handle of an inverted rectangle.
    EXPECT_EQ(t.NormalizeHit(CRectTracker::hitBottomRight), CRectTracker::hitTopLeft);
}
}  // namespace
