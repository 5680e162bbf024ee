#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/user/Trackbar.h"
#include "tests/support/Gui.h"

namespace {
struct Heard {
    UINT msg;
    int code;
    int pos;
};
std::vector<Heard> g_heard;  // the scroll messages the parent got

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
        g_heard.push_back(Heard{msg, LOWORD(wp), (int)(short)HIWORD(wp)});
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class Trackbar : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "TrackbarTestParent";
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        RegisterClass(&wc);
        top = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                             nullptr, nullptr);
        g_heard.clear();
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
    }
    HWND Make(DWORD style, int x, int y, int w, int h) {
        return CreateWindowEx(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, top, nullptr,
                              nullptr, nullptr);
    }
    static RECT Thumb(HWND tb) {
        RECT r{};
        SendMessage(tb, TBM_GETTHUMBRECT, 0, (LPARAM)&r);
        return r;
    }
    HWND top = nullptr;
};
}  // namespace

TEST_F(Trackbar, RangePositionAndTheThumbRunningFromMinimumToMaximum) {
    HWND tb = Make(0, 10, 10, 200, 30);
    EXPECT_EQ(SendMessage(tb, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessage(tb, TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessage(tb, TBM_GETPAGESIZE, 0, 0), 20);
    SendMessage(tb, TBM_SETRANGE, TRUE, MAKELPARAM(10, 20));
    SendMessage(tb, TBM_SETPOS, TRUE, 50);  // clamped into the range
    EXPECT_EQ(SendMessage(tb, TBM_GETPOS, 0, 0), 20);
    RECT atMax = Thumb(tb);
    SendMessage(tb, TBM_SETPOS, TRUE, 10);
    RECT atMin = Thumb(tb);
    EXPECT_LT(atMin.left, atMax.left);
    EXPECT_EQ(atMin.top, atMax.top);
    EXPECT_LE(atMax.right, 200);
    EXPECT_GE(atMin.left, 0);
    // The full range in 32 bits does not overflow the placement.
    SendMessage(tb, TBM_SETRANGEMIN, FALSE, INT_MIN / 2);
    SendMessage(tb, TBM_SETRANGEMAX, FALSE, INT_MAX / 2);
    SendMessage(tb, TBM_SETPOS, FALSE, INT_MAX / 2);
    EXPECT_EQ(Thumb(tb).left, atMax.left);
}

TEST_F(Trackbar, AVerticalChannelIsReportedWithXAndYExchanged) {
    struct Case {
        DWORD style;
        int w, h;
    } cases[] = {{0, 200, 30}, {TBS_VERT, 30, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        HWND tb = Make(c.style, 10, 10, c.w, c.h);
        RECT channel{};
        SendMessage(tb, TBM_GETCHANNELRECT, 0, (LPARAM)&channel);
        // Both come back long in x: the vertical one as if it lay on its side.
        EXPECT_GT(channel.right - channel.left, channel.bottom - channel.top);
        RECT thumb = Thumb(tb);
        if (c.style & TBS_VERT) {
            EXPECT_GT(thumb.bottom - thumb.top, 0);
            EXPECT_LT(thumb.bottom - thumb.top, thumb.right - thumb.left);
            // The real channel runs down the middle of the thumb's breadth.
            EXPECT_GE(channel.top, thumb.left);
            EXPECT_LE(channel.bottom, thumb.right);
        } else {
            EXPECT_GE(channel.top, thumb.top);
            EXPECT_LE(channel.bottom, thumb.bottom);
        }
        DestroyWindow(tb);
    }
}

TEST_F(Trackbar, KeysClicksAndDragsTellTheParent) {
    HWND tb = Make(0, 10, 10, 200, 30);
    SetFocus(tb);
    struct Case {
        UINT key;
        int code, pos;
    } keys[] = {{VK_RIGHT, TB_LINEDOWN, 1}, {VK_NEXT, TB_PAGEDOWN, 21}, {VK_LEFT, TB_LINEUP, 20},
                {VK_END, TB_BOTTOM, 100},   {VK_PRIOR, TB_PAGEUP, 80},  {VK_HOME, TB_TOP, 0}};
    for (const Case& k : keys) {
        SCOPED_TRACE(k.key);
        g_heard.clear();
        SendMessage(tb, WM_KEYDOWN, k.key, 0);
        SendMessage(tb, WM_KEYUP, k.key, 0);
        ASSERT_EQ(g_heard.size(), 2u);
        EXPECT_EQ(g_heard[0].msg, (UINT)WM_HSCROLL);
        EXPECT_EQ(g_heard[0].code, k.code);
        EXPECT_EQ(g_heard[1].code, TB_ENDTRACK);
        EXPECT_EQ(SendMessage(tb, TBM_GETPOS, 0, 0), k.pos);
    }
    // A click right of the thumb pages; a drag of the thumb tracks and ends with its position.
    g_heard.clear();
    SendMessage(tb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 15));
    SendMessage(tb, WM_LBUTTONUP, 0, MAKELPARAM(150, 15));
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0].code, TB_PAGEDOWN);
    EXPECT_EQ(g_heard[1].code, TB_ENDTRACK);
    RECT thumb = Thumb(tb);
    int grabX = thumb.left + 2, grabY = (thumb.top + thumb.bottom) / 2;
    g_heard.clear();
    SendMessage(tb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grabX, grabY));
    SendMessage(tb, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grabX + 500, grabY));
    SendMessage(tb, WM_LBUTTONUP, 0, MAKELPARAM(grabX + 500, grabY));
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[0].code, TB_THUMBTRACK);
    EXPECT_EQ(g_heard[0].pos, 100);
    EXPECT_EQ(g_heard[1].code, TB_THUMBPOSITION);
    EXPECT_EQ(g_heard[1].pos, 100);
    EXPECT_EQ(g_heard[2].code, TB_ENDTRACK);

    HWND vert = Make(TBS_VERT, 250, 10, 30, 200);
    g_heard.clear();
    SendMessage(vert, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].msg, (UINT)WM_VSCROLL);
    EXPECT_EQ(g_heard[0].code, TB_LINEDOWN);
}
