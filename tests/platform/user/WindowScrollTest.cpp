#include <gtest/gtest.h>

#include <vector>

#include "platform/user/ListView.h"
#include "tests/support/Gui.h"

namespace {
struct Log {
    std::vector<std::pair<UINT, WPARAM>> scrolls;
    std::vector<SIZE> sizes;
    std::vector<int> trackPositions;  // SIF_TRACKPOS read during SB_THUMBTRACK
    int wheels = 0;
};
Log* g_log = nullptr;

LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_log) {
        switch (msg) {
            case WM_HSCROLL:
            case WM_VSCROLL:
                g_log->scrolls.push_back({msg, wp});
                if (LOWORD(wp) == SB_THUMBTRACK) {
                    SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
                    GetScrollInfo(h, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
                    g_log->trackPositions.push_back(si.nTrackPos);
                }
                return 0;
            case WM_SIZE:
                g_log->sizes.push_back(SIZE{(short)LOWORD(lp), (short)HIWORD(lp)});
                break;
            case WM_MOUSEWHEEL:
                ++g_log->wheels;
                return 0;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(h, &ps);
                FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
                EndPaint(h, &ps);
                return 0;
            }
            default:
                break;
        }
    }
    return DefWindowProc(h, msg, wp, lp);
}

class WindowScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc{};
            wc.lpfnWndProc = Proc;
            wc.lpszClassName = "WindowScrollTest";
            RegisterClass(&wc);
            registered = true;
        }
        g_log = &log;
        top = CreateWindowEx(0, "WindowScrollTest", "top", WS_POPUP | WS_VISIBLE, 0, 0, 300, 240, nullptr, nullptr,
                             nullptr, nullptr);
        view = CreateWindowEx(WS_EX_CLIENTEDGE, "WindowScrollTest", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 150, top,
                              (HMENU)1, nullptr, nullptr);
        UpdateWindow(top);
        log = Log{};
    }
    void TearDown() override {
        DestroyWindow(top);
        g_log = nullptr;
        Pump();
    }
    void SetVert(int min, int max, UINT page, int pos, UINT extra = 0) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | extra, min, max, page, pos, 0};
        SetScrollInfo(view, SB_VERT, &si, TRUE);
    }
    // A point of the vertical bar, `along` pixels down from its top, in screen coordinates.
    POINT OnBar(int along) const {
        RECT wr;
        GetWindowRect(view, &wr);
        return POINT{wr.right - 2 - 8, wr.top + 2 + along};
    }
    Log log;
    HWND top = nullptr, view = nullptr;
};

TEST_F(WindowScrollTest, ARangeToScrollShowsTheBarAndTakesItsWidthFromTheClientArea) {
    RECT before;
    GetClientRect(view, &before);
    SetVert(0, 99, 20, 500);
    EXPECT_TRUE(GetWindowLongPtr(view, GWL_STYLE) & WS_VSCROLL);
    RECT after;
    GetClientRect(view, &after);
    EXPECT_EQ(after.right, before.right - GetSystemMetrics(SM_CXVSCROLL));
    ASSERT_FALSE(log.sizes.empty());
    EXPECT_EQ(log.sizes.back().cx, after.right);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 20u);
    EXPECT_EQ(si.nPos, 80) << "the position stops where the last page shows";
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 80);
    EXPECT_EQ(SetScrollPos(view, SB_VERT, 10, TRUE), 80);

    // The bar shows inside the client edge, drawn in the Classic look.
    UpdateWindow(top);
    PixelProbe probe(top);
    RECT wr;
    GetWindowRect(view, &wr);
    int barLeft = wr.right - 2 - GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(probe.At(wr.right - 1, wr.top + 40), GetSysColor(COLOR_3DHILIGHT)) << "the edge's outer line";
    EXPECT_EQ(probe.At(barLeft, wr.top + 2), GetSysColor(COLOR_3DLIGHT)) << "the up arrow's raised edge";
    EXPECT_EQ(probe.At(barLeft + 8, wr.top + 2 + 7), GetSysColor(COLOR_BTNTEXT)) << "the up arrow's glyph";

    // Nothing left to scroll: the bar goes, unless asked to stay disabled.
    log.sizes.clear();
    SetVert(0, 10, 20, 0);
    EXPECT_FALSE(GetWindowLongPtr(view, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(log.sizes.size(), 1u);
    SetVert(0, 10, 20, 0, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(GetWindowLongPtr(view, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(ShowScrollBar(view, SB_BOTH, FALSE));
    EXPECT_FALSE(GetWindowLongPtr(view, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_FALSE(GetScrollInfo(view, 7, &si));
}

TEST_F(WindowScrollTest, ArrowsPagesAndTheThumbTellTheWindow) {
    SetVert(0, 99, 20, 0);
    UpdateWindow(top);
    // The lower arrow: one line down, then the end of the scroll; lParam 0 names the frame's bar.
    int length = 150 - 4;
    POINT down = OnBar(length - 5);
    PostMouseInput(WM_LBUTTONDOWN, down, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, down, 0);
    Pump();
    EXPECT_EQ(log.scrolls, (std::vector<std::pair<UINT, WPARAM>>{{WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_ENDSCROLL}}));
    // Below the thumb: a page.
    log.scrolls.clear();
    POINT page = OnBar(length - 30);
    PostMouseInput(WM_LBUTTONDOWN, page, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, page, 0);
    Pump();
    ASSERT_FALSE(log.scrolls.empty());
    EXPECT_EQ(log.scrolls[0].second, (WPARAM)SB_PAGEDOWN);

    // The thumb dragged to the bottom: track positions as it moves, read back while tracking, then the
    // final position.
    log.scrolls.clear();
    POINT thumb = OnBar(16 + 5);
    PostMouseInput(WM_LBUTTONDOWN, thumb, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{thumb.x, thumb.y + 30}, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{thumb.x, thumb.y + 200}, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, POINT{thumb.x, thumb.y + 200}, 0);
    Pump();
    ASSERT_GE(log.scrolls.size(), 4u);
    EXPECT_EQ(LOWORD(log.scrolls[0].second), SB_THUMBTRACK);
    ASSERT_EQ(log.trackPositions.size(), 2u);
    EXPECT_GT(log.trackPositions[0], 0);
    EXPECT_EQ(log.trackPositions[1], 80);
    EXPECT_EQ(log.scrolls[log.scrolls.size() - 2], (std::pair<UINT, WPARAM>{WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 80)}));
    EXPECT_EQ(LOWORD(log.scrolls.back().second), SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 0) << "the window moves the position itself";

    // A disabled arrow tells nothing.
    log.scrolls.clear();
    EXPECT_TRUE(EnableScrollBar(view, SB_VERT, ESB_DISABLE_DOWN));
    PostMouseInput(WM_LBUTTONDOWN, down, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, down, 0);
    Pump();
    EXPECT_TRUE(log.scrolls.empty());
}

TEST_F(WindowScrollTest, ScrollWindowExMovesThePixelsAndReturnsWhatTheyUncover) {
    // Paint a band, scroll it up by 10: it lands 10 higher and the bottom strip is to be painted again.
    HDC dc = GetDC(view);
    RECT band{0, 40, 50, 50};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &band, red);
    DeleteObject(red);
    ReleaseDC(view, dc);
    RECT client;
    GetClientRect(view, &client);
    RECT updated;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ScrollWindowEx(view, 0, -10, nullptr, nullptr, rgn, &updated, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(updated.top, client.bottom - 10);
    EXPECT_EQ(updated.bottom, client.bottom);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_TRUE(EqualRect(&box, &updated));
    DeleteObject(rgn);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(view, &pending, FALSE));
    EXPECT_TRUE(EqualRect(&pending, &updated));
    PixelProbe probe(view);
    EXPECT_EQ(probe.At(2 + 10, 2 + 35), RGB(255, 0, 0));
    EXPECT_EQ(probe.At(2 + 10, 2 + 45), GetSysColor(COLOR_WINDOW));
    // Children move along with SW_SCROLLCHILDREN.
    HWND child = CreateWindowEx(0, WC_STATIC, "", WS_CHILD | WS_VISIBLE, 5, 60, 20, 20, view, nullptr, nullptr, nullptr);
    ScrollWindow(view, 0, -10, nullptr, nullptr);
    RECT cr;
    GetWindowRect(child, &cr);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&cr), 2);
    EXPECT_EQ(cr.top, 50);
}

TEST_F(WindowScrollTest, AWheelTurnNobodyTakesGoesToTheParent) {
    HWND button = CreateWindowEx(0, WC_STATIC, "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, view, nullptr, nullptr, nullptr);
    SendMessage(button, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA), 0);
    EXPECT_EQ(log.wheels, 1);
}
}  // namespace

TEST_F(WindowScrollTest, OnlyAWindowWithTheBarOrItsValuesAnswersForIt) {
    HWND styled = CreateWindowEx(0, "WindowScrollTest", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL, 10, 170, 100, 40, top,
                                 nullptr, nullptr, nullptr);
    HWND control = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 120, 170, 100, 16, top,
                                  nullptr, nullptr, nullptr);
    struct Case {
        const char* name;
        HWND hwnd;
        int bar;
        BOOL answers;
    } cases[] = {
        {"plain window", view, SB_VERT, FALSE},
        {"with WS_HSCROLL", styled, SB_HORZ, TRUE},
        {"with WS_HSCROLL, other bar", styled, SB_VERT, FALSE},
        {"scroll bar control, its frame bar", control, SB_HORZ, FALSE},
        {"scroll bar control itself", control, SB_CTL, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        SetLastError(0);
        EXPECT_EQ(GetScrollInfo(c.hwnd, c.bar, &si), c.answers);
        if (!c.answers) {
            EXPECT_EQ(GetLastError(), 1447u);  // ERROR_NO_SCROLLBARS
        }
    }
    // Values given once are kept, even with nothing to scroll (the bar stays hidden).
    SetVert(0, 10, 20, 0);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(view, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 10);
}
