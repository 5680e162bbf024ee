// The Classic non-client area: hit codes, caption buttons, moving and sizing by dragging with the
// message-filter hooks called, minimise/maximise/restore and the window placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/Display.h"
#include "platform/user/User.h"

namespace {
std::vector<UINT> g_messages;
LRESULT RecordingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERSIZEMOVE || msg == WM_EXITSIZEMOVE || msg == WM_CLOSE || msg == WM_SIZE)
        g_messages.push_back(msg == WM_SIZE ? 0x10000 + (UINT)wp : msg);
    return DefWindowProc(h, msg, wp, lp);
}

std::vector<int> g_filterCodes;
HHOOK g_hook = nullptr;
std::function<void()> g_drive;  // runs once inside the next modal loop
LRESULT FilterHook(int code, WPARAM wp, LPARAM lp) {
    g_filterCodes.push_back(code);
    if (g_drive) {
        auto drive = g_drive;
        g_drive = nullptr;
        drive();
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

class NonClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = "NonClientTest";
        RegisterClass(&wc);
        g_messages.clear();
        g_filterCodes.clear();
        g_drive = nullptr;
        g_hook = SetWindowsHookEx(WH_MSGFILTER, FilterHook, nullptr, 0);
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_hook);
        for (HWND h : made)
            if (IsWindow(h))
                DestroyWindow(h);
    }
    HWND Make(DWORD style, DWORD exStyle, int x, int y, int cx, int cy) {
        HWND h = CreateWindowEx(exStyle, "NonClientTest", "Test", style | WS_VISIBLE, x, y, cx, cy, nullptr,
                                nullptr, nullptr, nullptr);
        made.push_back(h);
        return h;
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    static LRESULT Hit(HWND h, int x, int y) {
        RECT wr;
        GetWindowRect(h, &wr);
        return SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
    }
    static RECT Rect(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return r;
    }
    static std::string Str(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    // A press in window coordinates of `h`; the move and the release come once the loop it starts
    // runs, as a user's would (the loop has the capture by then).
    static void Drag(HWND h, POINT from, POINT to) {
        RECT wr = Rect(h);
        POINT a{wr.left + from.x, wr.top + from.y}, b{wr.left + to.x, wr.top + to.y};
        PostMouseInput(WM_LBUTTONDOWN, a, MK_LBUTTON);
        PostMessage(h, WM_NULL, 0, 0);
        g_drive = [b] {
            PostMouseInput(WM_MOUSEMOVE, b, MK_LBUTTON);
            PostMouseInput(WM_LBUTTONUP, b, 0);
        };
    }
    std::vector<HWND> made;
};
}  // namespace

TEST_F(NonClientTest, HitCodesOfAnOverlappedAndAToolWindow) {
    // 300 x 200: frame 4, caption 18 from y 4, buttons 16 x 14 from y 6: close 278..294, max 260..276,
    // min 244..260; the icon 6..22.
    HWND w = Make(WS_OVERLAPPEDWINDOW, 0, 100, 100, 300, 200);
    struct Case {
        int x, y;
        LRESULT code;
    } cases[] = {
        {150, 100, HTCLIENT},   {150, 10, HTCAPTION},   {10, 10, HTSYSMENU},    {285, 12, HTCLOSE},
        {268, 12, HTMAXBUTTON}, {250, 12, HTMINBUTTON}, {1, 100, HTLEFT},       {298, 100, HTRIGHT},
        {150, 1, HTTOP},        {150, 198, HTBOTTOM},   {1, 1, HTTOPLEFT},      {298, 198, HTBOTTOMRIGHT},
        {1, 198, HTBOTTOMLEFT}, {298, 2, HTTOPRIGHT},   {2, 180, HTBOTTOMLEFT}, {400, 100, HTNOWHERE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hit(w, c.x, c.y), c.code) << c.x << "," << c.y;
    // A tool window: a 15-pixel caption with only a close button (13 x 11), no icon.
    HWND tool = Make(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, 100, 400, 200, 120);
    EXPECT_EQ(Hit(tool, 10, 10), HTCAPTION);
    EXPECT_EQ(Hit(tool, 188, 10), HTCLOSE);
    EXPECT_EQ(Hit(tool, 170, 10), HTCAPTION);
    EXPECT_EQ(Hit(tool, 100, 4 + 15 + 1), HTCLIENT);
    RECT client;
    GetClientRect(tool, &client);
    EXPECT_EQ(client.bottom, 120 - 8 - 16);
}

TEST_F(NonClientTest, CaptionDragMovesBorderDragSizesEscapeRestores) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 0, 100, 100, 300, 200);
    Drag(w, POINT{150, 10}, POINT{170, 40});
    Pump();
    EXPECT_EQ(Str(Rect(w)), Str(RECT{120, 130, 420, 330}));
    EXPECT_GE(std::count(g_filterCodes.begin(), g_filterCodes.end(), 3), 3);  // the move loop's filter code
    EXPECT_NE(std::find(g_messages.begin(), g_messages.end(), (UINT)WM_ENTERSIZEMOVE), g_messages.end());
    EXPECT_EQ(g_messages.back(), (UINT)WM_EXITSIZEMOVE);

    // The bottom-right corner: the size follows, but not below the minimum tracking size.
    Drag(w, POINT{298, 198}, POINT{338, 228});
    Pump();
    EXPECT_EQ(Str(Rect(w)), Str(RECT{120, 130, 460, 360}));
    Drag(w, POINT{338, 228}, POINT{0, 0});
    Pump();
    EXPECT_EQ(Rect(w).right - Rect(w).left, GetSystemMetrics(SM_CXMIN));
    EXPECT_EQ(Rect(w).bottom - Rect(w).top, GetSystemMetrics(SM_CYMIN));

    // Escape during a move puts the window back.
    RECT before = Rect(w);
    RECT wr = Rect(w);
    PostMouseInput(WM_LBUTTONDOWN, POINT{wr.left + 50, wr.top + 10}, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{wr.left + 90, wr.top + 60}, MK_LBUTTON);
    SimulateKey(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Str(Rect(w)), Str(before));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NonClientTest, CaptionButtonsMinimiseMaximiseRestoreAndClose) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 0, 100, 100, 300, 200);
    RECT normal = Rect(w);
    // Maximise: the screen, with the sizing frame just outside it.
    Drag(w, POINT{268, 12}, POINT{268, 12});
    Pump();
    EXPECT_TRUE(IsZoomed(w));
    SIZE screen = GetDisplayBackend()->ScreenSize();
    EXPECT_EQ(Str(Rect(w)), Str(RECT{-4, -4, screen.cx + 4, screen.cy + 4}));
    EXPECT_EQ(g_messages.back(), 0x10000u + SIZE_MAXIMIZED);
    WINDOWPLACEMENT wp{};
    ASSERT_TRUE(GetWindowPlacement(w, &wp));
    EXPECT_EQ(wp.showCmd, (UINT)SW_SHOWMAXIMIZED);
    EXPECT_EQ(Str(wp.rcNormalPosition), Str(normal));
    // Minimised from maximised, it restores to maximised; restored again, to its normal place.
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    ASSERT_TRUE(GetWindowPlacement(w, &wp));
    EXPECT_EQ(wp.flags, (UINT)WPF_RESTORETOMAXIMIZED);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsZoomed(w));
    // The max button shows "restore" now and restores.
    RECT wr = Rect(w);
    PostMouseInput(WM_LBUTTONDOWN, POINT{wr.left + (wr.right - wr.left) - 4 - 2 - 16 - 2 - 8, wr.top + 12},
                   MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, POINT{wr.left + (wr.right - wr.left) - 4 - 2 - 16 - 2 - 8, wr.top + 12}, 0);
    Pump();
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_EQ(Str(Rect(w)), Str(normal));

    // A press on close released elsewhere does nothing; released on it, it closes.
    Drag(w, POINT{285, 12}, POINT{150, 100});
    Pump();
    EXPECT_TRUE(IsWindow(w));
    Drag(w, POINT{285, 12}, POINT{286, 13});
    Pump();
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(NonClientTest, PlacementRoundTripsAndBadRectanglesAreSafe) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 0, 10, 10, 300, 200);
    WINDOWPLACEMENT wp{sizeof(WINDOWPLACEMENT), 0, SW_SHOWMAXIMIZED, POINT{-1, -1}, POINT{-1, -1},
                       RECT{50, 60, 450, 360}};
    ASSERT_TRUE(SetWindowPlacement(w, &wp));
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(Str(Rect(w)), Str(RECT{50, 60, 450, 360}));
    WINDOWPLACEMENT back{};
    ASSERT_TRUE(GetWindowPlacement(w, &back));
    EXPECT_EQ(back.showCmd, (UINT)SW_SHOWNORMAL);
    EXPECT_EQ(Str(back.rcNormalPosition), Str(RECT{50, 60, 450, 360}));
    // An inside-out rectangle and an unknown show command neither crash nor leave a negative size.
    WINDOWPLACEMENT bad{sizeof(WINDOWPLACEMENT), 0, 99, POINT{0, 0}, POINT{0, 0}, RECT{300, 300, 100, 100}};
    EXPECT_TRUE(SetWindowPlacement(w, &bad));
    RECT r = Rect(w);
    EXPECT_GE(r.right, r.left);
    EXPECT_GE(r.bottom, r.top);
    EXPECT_FALSE(SetWindowPlacement(w, nullptr));
    EXPECT_FALSE(GetWindowPlacement((HWND)0x7000123, &back));
}
