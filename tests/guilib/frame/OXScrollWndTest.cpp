// The scroll and zoom window: zoom limits and fitting, bars, the content offset, scroll requests, keys,
// the wheel, smooth scrolling on the driven clock, track zoom's smallest band and the context menu; and
// the history control on top of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/frame/OXHistoryCtrl.h"
#include "guilib/frame/OXScrollWnd.h"
#include "platform/base/Clock.h"
#include "tests/support/Gui.h"

namespace {
// Records every scroll of the window and the time it happened.
class RecordingScrollWnd : public COXScrollWnd {
public:
    std::vector<std::pair<int, DWORD>> scrolls;  // vertical position after each step, tick count
    BOOL OnScrollBy(SIZE size, BOOL doScroll) override {
        BOOL moved = COXScrollWnd::OnScrollBy(size, doScroll);
        if (moved)
            scrolls.push_back({GetScrollPosition().y, GetTickCount()});
        return moved;
    }
};

class ScrollWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ScrollHost", DefWindowProc, COLOR_WINDOW);
        host = CreateWindowEx(0, "ScrollHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                              nullptr, nullptr, nullptr);
        RegisterTestWindowClass("ScrollChild", DefWindowProc, COLOR_WINDOW);
        ASSERT_TRUE(wnd.CreateEx(0, "ScrollChild", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, RECT{0, 0, 200, 100},
                                 CWnd::FromHandle(host), 1));
    }
    void TearDown() override { DestroyWindow(host); }
    SIZE Client() {
        RECT r;
        wnd.GetClientRect(&r);
        return SIZE{r.right, r.bottom};
    }
    HWND host = nullptr;
    RecordingScrollWnd wnd;
};
}  // namespace

TEST_F(ScrollWndTest, ZoomIsLimitedAndAnUnchangedZoomRepaintsNothing) {
    wnd.SetScrollSizes(MM_TEXT, SIZE{1000, 800});
    struct {
        int asked, got;
    } cases[] = {{5, 10}, {2000, 1000}, {150, 150}};
    for (auto c : cases) {
        wnd.SetZoom(c.asked);
        EXPECT_EQ(wnd.GetZoom(), c.got) << c.asked;
    }
    Pump();
    ValidateRect(wnd.m_hWnd, nullptr);
    wnd.SendMessage(WM_COMMAND, 26790 + 3);  // 100%
    EXPECT_EQ(wnd.GetZoom(), 100);
    ValidateRect(wnd.m_hWnd, nullptr);
    wnd.SendMessage(WM_COMMAND, 26790 + 3);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, &update, FALSE));
}

TEST_F(ScrollWndTest, ZoomToFitIgnoresEmptyDirectionsAndKeepsTheZoomWhenBothAre) {
    // Each total is a multiple of the client size it gets once the bars have settled.
    struct {
        int wide, high;  // the total in client widths and heights, as percentages; -1 for a total of 0
        int startZoom, expected;
    } cases[] = {{200, 400, 100, 25}, {50, -1, 100, 200}, {-1, -1, 300, 300}, {10000, 100, 100, 10}};
    for (auto c : cases) {
        wnd.SetScrollSizes(MM_TEXT, SIZE{0, 0});
        SIZE client = Client();
        SIZE total{c.wide < 0 ? 0 : client.cx * c.wide / 100, c.high < 0 ? 0 : client.cy * c.high / 100};
        wnd.SetScrollSizes(MM_TEXT, total);
        wnd.SetZoom(c.startZoom);
        // Fitting measures the client area without bars.
        wnd.ShowScrollBar(SB_BOTH, FALSE);
        EXPECT_EQ(wnd.ZoomToFit(), c.expected) << c.wide << "x" << c.high;
    }
}

TEST_F(ScrollWndTest, DefaultPageAndLineAndTheContentOffset) {
    wnd.SetScrollSizes(MM_TEXT, SIZE{1000, 500});
    EXPECT_EQ(wnd.GetPageDeviceSize().cx, 100);
    EXPECT_EQ(wnd.GetPageDeviceSize().cy, 50);
    EXPECT_EQ(wnd.GetLineDeviceSize().cx, 10);
    EXPECT_EQ(wnd.GetLineDeviceSize().cy, 5);
    wnd.SetScrollSizes(MM_LOMETRIC, SIZE{254, -254});
    EXPECT_EQ(wnd.GetTotalDeviceSize().cy, 96);  // made positive

    // Content of 40 x 30 in the client area, for each alignment.
    wnd.SetScrollSizes(MM_TEXT, SIZE{40, 30});
    SIZE c = Client();
    int cx = (c.cx - 40) / 2, cy = (c.cy - 30) / 2;
    POINT expected[9] = {{0, 0},      {cx, 0},      {c.cx - 40, 0},  {0, cy},          {cx, cy},
                         {c.cx - 40, cy}, {0, c.cy - 30}, {cx, c.cy - 30}, {c.cx - 40, c.cy - 30}};
    for (int a = 0; a < 9; ++a) {
        wnd.SetContentAlignment(a);
        POINT o = wnd.GetContentOffset();
        EXPECT_EQ(o.x, expected[a].x) << a;
        EXPECT_EQ(o.y, expected[a].y) << a;
    }
}

TEST_F(ScrollWndTest, BarsRequestsKeysAndWheel) {
    SIZE c = Client();
    wnd.SetScrollSizes(MM_TEXT, SIZE{c.cx / 2, c.cy / 2});
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(wnd.GetStyle() & WS_HSCROLL);
    wnd.SetScrollSizes(MM_TEXT, SIZE{c.cx / 2, 1000}, SIZE{0, 50}, SIZE{0, 7});
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(wnd.GetStyle() & WS_HSCROLL);
    // Only as wide as the client less the vertical bar: the horizontal bar is needed after all.
    SIZE now = Client();
    wnd.SetScrollSizes(MM_TEXT, SIZE{now.cx + 2, 1000}, SIZE{0, 50}, SIZE{0, 7});
    EXPECT_TRUE(wnd.GetStyle() & WS_HSCROLL);

    struct {
        UINT message, code;
        int expectedY;
    } requests[] = {{WM_VSCROLL, SB_LINEDOWN, 7},   {WM_VSCROLL, SB_PAGEDOWN, 57}, {WM_VSCROLL, SB_LINEUP, 50},
                    {WM_VSCROLL, SB_PAGEUP, 0},     {WM_VSCROLL, SB_LINEUP, 0},    {WM_VSCROLL, SB_THUMBTRACK, 0},
                    {WM_VSCROLL, SB_BOTTOM, -1},    {WM_VSCROLL, SB_TOP, 0}};
    int limit = wnd.GetScrollLimit(SB_VERT);
    for (auto r : requests) {
        wnd.SendMessage(r.message, MAKEWPARAM(r.code, 0), 0);
        EXPECT_EQ(wnd.GetScrollPosition().y, r.expectedY < 0 ? limit : r.expectedY) << r.code;
    }

    struct {
        UINT vk;
        bool ctrl;
        int y;
    } keys[] = {{VK_DOWN, false, 7}, {VK_NEXT, false, 57}, {VK_UP, false, 50}, {VK_END, true, -1}, {VK_HOME, true, 0}};
    for (auto k : keys) {
        if (k.ctrl)
            PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
        MSG m{wnd.m_hWnd, WM_KEYDOWN, k.vk, 1, 0, {0, 0}};
        Pump();
        EXPECT_TRUE(wnd.PreTranslateMessage(&m));
        if (k.ctrl) {
            PostKeyInput(WM_KEYUP, VK_CONTROL, (LPARAM)0xC0000001);
            Pump();
        }
        EXPECT_EQ(wnd.GetScrollPosition().y, k.y < 0 ? limit : k.y) << k.vk;
    }
    MSG other{wnd.m_hWnd, WM_KEYDOWN, 'A', 1, 0, {0, 0}};
    EXPECT_FALSE(wnd.OnKeyScroll('A'));
    (void)other;

    // The wheel: three lines a notch downward; nothing while Ctrl is held.
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), 0);
    EXPECT_EQ(wnd.GetScrollPosition().y, 21);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)(short)-120), 0);
    EXPECT_EQ(wnd.GetScrollPosition().y, 21);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)120), 0);
    EXPECT_EQ(wnd.GetScrollPosition().y, 0);
}

TEST_F(ScrollWndTest, SmoothPageDownMovesInTwelveStepsTenMillisecondsApartAndStopsAtTheEnd) {
    DrivenClock clock;
    SIZE c = Client();
    wnd.SetScrollSizes(MM_TEXT, SIZE{c.cx / 2, 10000}, SIZE{0, 120}, SIZE{0, 10});
    wnd.SetSmoothScrolling(TRUE);
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_EQ(wnd.scrolls.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(wnd.scrolls[i].first, (int)(i + 1) * 10);
        if (i > 0) {
            EXPECT_GE(wnd.scrolls[i].second - wnd.scrolls[i - 1].second, 10u);
        }
    }
    EXPECT_EQ(wnd.GetLineDeviceSize().cy, 10);
    // Near the end the run stops when a step no longer moves.
    wnd.scrolls.clear();
    int limit = wnd.GetScrollLimit(SB_VERT);
    wnd.ScrollToPosition(POINT{0, limit - 25});
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(wnd.scrolls.size(), 3u);
    EXPECT_EQ(wnd.GetScrollPosition().y, limit);
    // A page smaller than its steps moves by 1 each step.
    wnd.scrolls.clear();
    wnd.SetScrollSizes(MM_TEXT, SIZE{c.cx / 2, 10000}, SIZE{0, 5}, SIZE{0, 1});
    wnd.ScrollToPosition(POINT{0, 0});
    wnd.scrolls.clear();
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(wnd.scrolls.size(), 5u);
}

TEST_F(ScrollWndTest, ContextMenuChecksAndGreysWithAlwaysFit) {
    wnd.SetScrollSizes(MM_TEXT, SIZE{1000, 1000});
    wnd.SetZoom(200);
    HMENU menu = wnd.BuildContextMenu();
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    HMENU zoom = GetSubMenu(menu, 0);
    EXPECT_TRUE(GetMenuState(zoom, 26794, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(menu);
    wnd.SendMessage(WM_COMMAND, 26804);  // always fit on: zooms to fit
    EXPECT_TRUE(wnd.IsAlwaysFitWindow());
    EXPECT_NE(wnd.GetZoom(), 200);
    menu = wnd.BuildContextMenu();
    EXPECT_EQ(GetMenuItemCount(menu), 6);  // no "100%"
    EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 26803, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 26804, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, 26805, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
}

TEST(HistoryCtrl, EmptyListPaintsTheWindowColourAndScrollsInWholeLines) {
    RegisterTestWindowClass("HistoryHost", DefWindowProc, COLOR_BTNFACE);
    HWND host = CreateWindowEx(0, "HistoryHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
    COXHistoryCtrl history;
    RegisterTestWindowClass("ScrollChild", DefWindowProc, COLOR_WINDOW);
    ASSERT_TRUE(history.CreateEx(0, "ScrollChild", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                 RECT{10, 10, 210, 110}, CWnd::FromHandle(host), 1));
    history.Invalidate();
    UpdateWindow(history.m_hWnd);
    PixelProbe probe(host);
    RECT r;
    GetWindowRect(history.m_hWnd, &r);
    RECT hostRect;
    GetWindowRect(host, &hostRect);
    EXPECT_EQ(probe.At(r.left - hostRect.left + 5, r.top - hostRect.top + 5), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(probe.At(r.right - hostRect.left - 5, r.bottom - hostRect.top - 5), GetSysColor(COLOR_WINDOW));

    LOGFONT lf{};
    lf.lfHeight = -15;
    lf.lfPitchAndFamily = FIXED_PITCH;
    CFont font;
    font.CreateFontIndirect(&lf);
    history.SetHistoryFont(&font);
    SIZE ch = history.GetCharSize();
    ASSERT_GT(ch.cy, 0);
    EXPECT_EQ(history.GetLineDeviceSize().cy, ch.cy);
    EXPECT_EQ(history.GetPageDeviceSize().cy % ch.cy, 0);
    EXPECT_EQ(history.GetEntryCount(), 0);
    DestroyWindow(host);
}
