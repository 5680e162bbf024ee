#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Clock.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

namespace {
std::vector<HWND> g_painted;
COLORREF g_fill = RGB(0, 0, 255);

LRESULT PaintProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{-100, -100, 1000, 1000};
        HBRUSH b = CreateSolidBrush(g_fill);
        FillRect(dc, &all, b);  // deliberately bigger than the window: the clip keeps it inside
        DeleteObject(b);
        EndPaint(h, &ps);
        g_painted.push_back(h);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterOnce() {
    static bool done = false;
    if (done)
        return;
    WNDCLASS wc{};
    wc.lpfnWndProc = PaintProc;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "TestPaint";
    RegisterClass(&wc);
    done = true;
}


TEST(Window, PaintsOnlyInvalidWindowsAndClipsChildren) {
    RegisterOnce();
    HWND top = CreateWindowEx(0, "TestPaint", "top", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 100, 80,
                              nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowEx(0, "TestPaint", "", WS_CHILD | WS_VISIBLE, 20, 20, 30, 20, top, (HMENU)5,
                                nullptr, nullptr);
    g_fill = RGB(0, 0, 255);
    Pump();
    EXPECT_EQ(GetWindowPixel(top, 5, 5), RGB(0, 0, 255));
    g_painted.clear();
    g_fill = RGB(0, 255, 0);
    InvalidateRect(child, nullptr, TRUE);
    Pump();
    ASSERT_EQ(g_painted.size(), 1u);
    EXPECT_EQ(g_painted[0], child);
    EXPECT_EQ(GetWindowPixel(top, 25, 25), RGB(0, 255, 0));
    EXPECT_EQ(GetWindowPixel(top, 49, 39), RGB(0, 255, 0));
    EXPECT_EQ(GetWindowPixel(top, 50, 25), RGB(0, 0, 255));  // outside the child stays
    EXPECT_EQ(GetWindowPixel(top, 19, 25), RGB(0, 0, 255));
    // A part of the parent: only that part changes, and the child is left alone.
    g_painted.clear();
    g_fill = RGB(255, 0, 0);
    RECT part{60, 60, 70, 70};
    InvalidateRect(top, &part, TRUE);
    Pump();
    ASSERT_EQ(g_painted.size(), 1u);
    EXPECT_EQ(GetWindowPixel(top, 65, 65), RGB(255, 0, 0));
    EXPECT_EQ(GetWindowPixel(top, 59, 65), RGB(0, 0, 255));
    EXPECT_EQ(GetWindowPixel(top, 25, 25), RGB(0, 255, 0));
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(SendMessage(top, WM_USER, 0, 0), 0);  // a stale handle fails safely
}

// Redrawing the caption leaves the client alone: a later erase of a part of a parent that does not clip
// its children covers that part only, not children it was never asked to repaint.
TEST(Window, ACaptionRedrawLeavesTheClientAndItsChildrenAsTheyAre) {
    RegisterOnce();
    const struct {
        const char* name;
        void (*redrawCaption)(HWND);
    } cases[] = {
        {"activation", [](HWND h) { SendMessage(h, WM_NCACTIVATE, FALSE, 0); }},
        {"caption text", [](HWND h) { SetWindowText(h, "renamed"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND top = CreateWindowEx(0, "TestPaint", "top", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 120, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        HWND child = CreateWindowEx(0, "TestPaint", "", WS_CHILD | WS_VISIBLE, 20, 20, 30, 20, top, (HMENU)5,
                                    nullptr, nullptr);
        auto clientPixel = [top](int x, int y) {
            POINT p{x, y};
            ClientToScreen(top, &p);
            RECT w{};
            GetWindowRect(top, &w);
            return GetWindowPixel(top, p.x - w.left, p.y - w.top);
        };
        g_fill = RGB(0, 0, 255);
        Pump();
        g_fill = RGB(0, 255, 0);
        InvalidateRect(child, nullptr, TRUE);
        Pump();
        ASSERT_EQ(clientPixel(25, 25), RGB(0, 255, 0));

        g_fill = RGB(255, 0, 0);
        c.redrawCaption(top);
        RECT part{60, 60, 70, 70};
        InvalidateRect(top, &part, TRUE);
        Pump();
        EXPECT_EQ(clientPixel(65, 65), RGB(255, 0, 0));
        EXPECT_EQ(clientPixel(5, 5), RGB(0, 0, 255)) << "the client outside the invalid part";
        EXPECT_EQ(clientPixel(25, 25), RGB(0, 255, 0)) << "the child";
        DestroyWindow(top);
    }
}

// A transparent top-level window that paints nothing shows the window beneath it, also where that
// window changed before it painted again; an opaque one over the same place shows its own erase.
TEST(Window, ATransparentTopLevelWindowShowsWhatLiesBeneathWhereItDoesNotPaint) {
    RegisterOnce();
    g_fill = RGB(0, 0, 255);
    HWND below = CreateWindowEx(0, "TestPaint", "below", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, nullptr,
                                nullptr, nullptr, nullptr);
    Pump();
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "BarePaint";
    RegisterClass(&wc);
    // Over the lower window as an open menu-bar item's window is: a visible child of the desktop.
    HWND clear = CreateWindowEx(WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW, "BarePaint", "", WS_CHILD | WS_VISIBLE, 40, 30,
                                30, 20, GetDesktopWindow(), nullptr, nullptr, nullptr);
    HWND opaque = CreateWindowEx(WS_EX_TOOLWINDOW, "BarePaint", "", WS_CHILD | WS_VISIBLE, 80, 30, 20, 20,
                                 GetDesktopWindow(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(clear && opaque);
    Pump();
    EXPECT_EQ(GetWindowPixel(clear, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetWindowPixel(clear, 29, 19), RGB(0, 0, 255));
    EXPECT_EQ(GetWindowPixel(opaque, 5, 5), GetSysColor(COLOR_3DFACE));
    g_fill = RGB(255, 0, 0);
    InvalidateRect(below, nullptr, TRUE);
    UpdateWindow(below);
    InvalidateRect(clear, nullptr, TRUE);
    Pump();
    EXPECT_EQ(GetWindowPixel(clear, 5, 5), RGB(255, 0, 0));
    for (HWND h : {clear, opaque, below})
        DestroyWindow(h);
}

LRESULT CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
struct Received {
    DWORD thread;
    int sender;
    int seq;
};
std::vector<Received> g_received;
LRESULT CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 1) {
        g_received.push_back({GetCurrentThreadId(), (int)wp, (int)lp});
        return lp + 1;
    }
    return DefWindowProc(h, msg, wp, lp);
}

struct SenderArgs {
    HWND target;
    int index;
    int failures;
};

DWORD Sender(LPVOID p) {
    auto* a = static_cast<SenderArgs*>(p);
    for (int i = 0; i < 1000; ++i)
        if (SendMessage(a->target, WM_USER + 1, (WPARAM)a->index, i) != i + 1)
            ++a->failures;
    return 0;
}

TEST(Messages, CrossThreadSendsAreHandledOnTheOwnerThreadInOrder) {
    WNDCLASS wc{};
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "TestCounting";
    RegisterClass(&wc);
    HWND target =
        CreateWindowEx(0, "TestCounting", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_received.clear();
    SenderArgs args[10];
    HANDLE threads[10];
    for (int i = 0; i < 10; ++i) {
        args[i] = {target, i, 0};
        threads[i] = CreateThread(nullptr, 0, Sender, &args[i], 0, nullptr);
    }
    // A send ends the wait; the next PeekMessage handles it.
    DWORD waited;
    while ((waited = MsgWaitForMultipleObjects(10, threads, TRUE, INFINITE, QS_ALLINPUT)) ==
           WAIT_OBJECT_0 + 10) {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    ASSERT_EQ(g_received.size(), 10000u);
    std::vector<int> next(10, 0);
    for (const Received& r : g_received) {
        EXPECT_EQ(r.thread, GetCurrentThreadId());
        EXPECT_EQ(r.seq, next[(size_t)r.sender]++);
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(args[i].failures, 0);
        CloseHandle(threads[i]);
    }
    // A send to a window destroyed meanwhile returns 0 at once.
    DestroyWindow(target);
    args[0] = {target, 0, 0};
    HANDLE late = CreateThread(nullptr, 0, Sender, &args[0], 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(late, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(args[0].failures, 1000);
    CloseHandle(late);
}

int g_ticks = 0;
void CALLBACK_Tick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
}

TEST(Messages, TimersFireOnTheDrivenClock) {
    DrivenClock clock;
    g_ticks = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 1000, CALLBACK_Tick);
    Pump();
    EXPECT_EQ(g_ticks, 0);
    clock.Advance(999);
    Pump();
    EXPECT_EQ(g_ticks, 0);
    clock.Advance(1);
    Pump();
    EXPECT_EQ(g_ticks, 1);
    clock.Advance(1000);
    Pump();
    EXPECT_EQ(g_ticks, 2);
    KillTimer(nullptr, id);
    clock.Advance(5000);
    Pump();
    EXPECT_EQ(g_ticks, 2);
}

int g_hookCalls = 0;
HHOOK g_hook = nullptr;
LRESULT GetMsgHook(int code, WPARAM wp, LPARAM lp) {
    ++g_hookCalls;
    return CallNextHookEx(g_hook, code, wp, lp);
}

void CALLBACK_EndDialogTick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
    if (HWND dlg = GetActiveWindow())
        EndDialog(dlg, 42);
}

TEST(Dialogs, ModalLoopRunsTimersAndHooks) {
    DrivenClock clock;
    g_ticks = 0;
    g_hookCalls = 0;
    g_hook = SetWindowsHookEx(WH_GETMESSAGE, GetMsgHook, nullptr, 0);
    DialogTemplate t{1,
                     WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                     0,
                     0,
                     0,
                     100,
                     40,
                     "Modal",
                     "MS Sans Serif",
                     8,
                     {{WC_BUTTON, "OK", IDOK, 20, 10, 50, 14, WS_VISIBLE | BS_DEFPUSHBUTTON, 0}}};
    // The clock moves before the loop starts, so the timer is due at once inside it.
    SetTimer(nullptr, 0, 100, CALLBACK_EndDialogTick);
    clock.Advance(100);
    INT_PTR r = DialogBoxIndirectParam(nullptr, &t, nullptr, nullptr, 0);
    EXPECT_EQ(r, 42);
    EXPECT_GE(g_ticks, 1);
    EXPECT_GT(g_hookCalls, 0);
    UnhookWindowsHookEx(g_hook);
}
}  // namespace

namespace {
struct ContextMenuCall {
    HWND receiver;
    WPARAM from;
    POINT screen;
};
std::vector<ContextMenuCall> g_contextMenus;

LRESULT ContextProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CONTEXTMENU)
        g_contextMenus.push_back({h, wp, POINT{(short)LOWORD(lp), (short)HIWORD(lp)}});
    return DefWindowProc(h, msg, wp, lp);
}
}  // namespace

TEST(Window, ARightClickAsksTheChildAndThenItsParentForAContextMenu) {
    WNDCLASS wc{};
    wc.lpfnWndProc = ContextProc;
    wc.lpszClassName = "TestContext";
    RegisterClass(&wc);
    HWND top = CreateWindowEx(0, "TestContext", "top", WS_POPUP | WS_VISIBLE, 40, 30, 200, 150, nullptr,
                              nullptr, nullptr, nullptr);
    HWND child = CreateWindowEx(0, "TestContext", "", WS_CHILD | WS_VISIBLE, 10, 20, 80, 60, top, (HMENU)7,
                                nullptr, nullptr);
    Pump();
    g_contextMenus.clear();
    SimulateMouseButton(child, 5, 6, WM_RBUTTONDOWN, WM_RBUTTONUP);
    Pump();
    ASSERT_EQ(g_contextMenus.size(), 2u);
    EXPECT_EQ(g_contextMenus[0].receiver, child);
    EXPECT_EQ(g_contextMenus[1].receiver, top);  // the child's default passes it up
    EXPECT_EQ(g_contextMenus[1].from, (WPARAM)child);
    POINT expected{5, 6};
    ClientToScreen(child, &expected);
    EXPECT_EQ(g_contextMenus[1].screen.x, expected.x);
    EXPECT_EQ(g_contextMenus[1].screen.y, expected.y);
    DestroyWindow(top);
}
