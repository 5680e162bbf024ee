// Message order and answers around creation, placement, showing, activation and waits, as Windows
// has them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/User.h"

namespace {
std::vector<std::string> g_log;
int g_ncInset = 0;      // WM_NCCALCSIZE answers with this inset when non-zero
int g_forceCx = 0;      // WM_WINDOWPOSCHANGING sets cx to this when non-zero
LRESULT g_dlgCode = 0;  // WM_GETDLGCODE answer
NCCALCSIZE_PARAMS g_lastParams{};
WINDOWPOS g_lastPos{};

std::string Name(HWND h) {
    return StoredWindowText(h).GetString();
}

LRESULT LogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    std::string n = Name(h) + " ";
    switch (msg) {
        case WM_GETMINMAXINFO:
            g_log.push_back(n + "GETMINMAXINFO");
            break;
        case WM_NCCREATE:
            g_log.push_back(n + "NCCREATE");
            break;
        case WM_CREATE:
            g_log.push_back(n + "CREATE");
            break;
        case WM_NCCALCSIZE: {
            g_log.push_back(n + "NCCALCSIZE " + std::to_string(wp));
            if (wp) {
                g_lastParams = *reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
                g_lastPos = *g_lastParams.lppos;
            }
            if (g_ncInset) {
                InflateRect(reinterpret_cast<RECT*>(lp), -g_ncInset, -g_ncInset);
                return 0;
            }
            break;
        }
        case WM_WINDOWPOSCHANGING:
            g_log.push_back(n + "POSCHANGING");
            if (g_forceCx)
                reinterpret_cast<WINDOWPOS*>(lp)->cx = g_forceCx;
            break;
        case WM_WINDOWPOSCHANGED:
            g_log.push_back(n + "POSCHANGED");
            break;
        case WM_SIZE:
            g_log.push_back(n + "SIZE " + std::to_string(LOWORD(lp)) + "x" + std::to_string(HIWORD(lp)));
            break;
        case WM_MOVE:
            g_log.push_back(n + "MOVE " + std::to_string((short)LOWORD(lp)) + "," +
                            std::to_string((short)HIWORD(lp)));
            break;
        case WM_SHOWWINDOW:
            g_log.push_back(n + "SHOWWINDOW " + std::to_string(wp));
            break;
        case WM_ACTIVATEAPP:
            g_log.push_back(n + "ACTIVATEAPP " + std::to_string(wp));
            break;
        case WM_NCACTIVATE:
            g_log.push_back(n + "NCACTIVATE " + std::to_string(wp));
            break;
        case WM_ACTIVATE:
            g_log.push_back(n + "ACTIVATE " + std::to_string(LOWORD(wp)) + " other=" + Name((HWND)lp));
            break;
        case WM_SETFOCUS:
            g_log.push_back(n + "SETFOCUS");
            break;
        case WM_KILLFOCUS:
            g_log.push_back(n + "KILLFOCUS");
            break;
        case WM_DESTROY:
            g_log.push_back(n + "DESTROY");
            break;
        case WM_GETDLGCODE:
            g_log.push_back(n + "GETDLGCODE");
            return g_dlgCode;
        case WM_KEYDOWN:
            g_log.push_back(n + "KEYDOWN");
            break;
        case WM_COMMAND:
            g_log.push_back(n + "COMMAND " + std::to_string(LOWORD(wp)));
            return 0;
        case WM_APP:
            g_log.push_back(n + "APP");
            return 42;
        default:
            break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class WindowPos : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc{};
            wc.lpfnWndProc = LogProc;
            wc.lpszClassName = "TestLogPos";
            RegisterClass(&wc);
            registered = true;
        }
        g_log.clear();
        g_ncInset = g_forceCx = 0;
        g_dlgCode = 0;
    }
    void TearDown() override {
        for (HWND h : m_windows)
            if (IsWindow(h))
                DestroyWindow(h);
        Pump();
    }
    HWND Make(const char* name, DWORD style, HWND parent = nullptr, int x = 10, int y = 10, int cx = 200,
              int cy = 150) {
        HWND h =
            CreateWindowEx(0, "TestLogPos", name, style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
        m_windows.push_back(h);
        return h;
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
    }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(g_log);
        return out;
    }
    std::vector<HWND> m_windows;
};

using Log = std::vector<std::string>;

TEST_F(WindowPos, OverlappedWindowsAskMinMaxFirstAndHearOfTheirSizeWhenFirstShown) {
    // Default frame: 4 pixels, caption 19.
    HWND a = Make("A", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(Take(), (Log{"A GETMINMAXINFO", "A NCCREATE", "A NCCALCSIZE 0", "A CREATE"}));
    ShowWindow(a, SW_SHOW);
    EXPECT_EQ(Take(),
              (Log{"A SHOWWINDOW 1", "A POSCHANGING", "A ACTIVATEAPP 1", "A NCACTIVATE 1",
                   "A ACTIVATE 1 other=", "A SETFOCUS", "A POSCHANGED", "A SIZE 192x123", "A MOVE 14,33"}));
    ShowWindow(a, SW_HIDE);
    ShowWindow(a, SW_SHOW);
    for (const std::string& m : Take())
        EXPECT_EQ(m.find("SIZE "), std::string::npos) << m;  // only the first show tells the size

    // Popups and children hear of it at once; a popup with a sizing border also has tracking sizes.
    Make("P", WS_POPUP);
    EXPECT_EQ(Take(), (Log{"P NCCREATE", "P NCCALCSIZE 0", "P CREATE", "P SIZE 200x150", "P MOVE 10,10"}));
    Make("T", WS_POPUP | WS_THICKFRAME);
    EXPECT_EQ(Take(), (Log{"T GETMINMAXINFO", "T NCCREATE", "T NCCALCSIZE 0", "T CREATE", "T SIZE 192x142",
                           "T MOVE 14,14"}));
}

TEST_F(WindowPos, PlacementSendsChangingThenClientSizeThenChangedAndHonoursTheAnswers) {
    HWND p = Make("P", WS_POPUP | WS_VISIBLE);
    Take();
    // A size change: asked, constrained, the client area computed, then told.
    SetWindowPos(p, nullptr, 0, 0, 220, 170, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Take(), (Log{"P POSCHANGING", "P NCCALCSIZE 1", "P POSCHANGED", "P SIZE 220x170"}));
    EXPECT_EQ(g_lastParams.rgrc[1].right - g_lastParams.rgrc[1].left, 200);  // old window
    EXPECT_EQ(g_lastParams.rgrc[2].bottom - g_lastParams.rgrc[2].top, 150);  // old client
    EXPECT_EQ(g_lastPos.cx, 220);
    // A move alone keeps the client area: no WM_NCCALCSIZE.
    SetWindowPos(p, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Take(), (Log{"P POSCHANGING", "P POSCHANGED", "P MOVE 30,40"}));
    // Nothing changes: only the question.
    SetWindowPos(p, nullptr, 30, 40, 220, 170, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Take(), (Log{"P POSCHANGING"}));

    // A changed WINDOWPOS wins.
    g_forceCx = 250;
    SetWindowPos(p, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_forceCx = 0;
    RECT r;
    GetWindowRect(p, &r);
    EXPECT_EQ(r.right - r.left, 250);
    EXPECT_EQ(r.bottom - r.top, 200);

    // A client area smaller than the window: its size, its origin, the hit test and WM_MOVE follow it.
    Take();
    g_ncInset = 10;
    SetWindowPos(p, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_ncInset = 0;
    EXPECT_EQ(Take(),
              (Log{"P POSCHANGING", "P NCCALCSIZE 1", "P POSCHANGED", "P MOVE 40,50", "P SIZE 240x160"}));
    RECT c;
    GetClientRect(p, &c);
    EXPECT_EQ(c.right, 240);
    EXPECT_EQ(c.bottom, 160);
    POINT o{0, 0};
    ClientToScreen(p, &o);
    EXPECT_EQ(o.x, 40);
    EXPECT_EQ(o.y, 50);
    EXPECT_EQ(SendMessage(p, WM_NCHITTEST, 0, MAKELPARAM(35, 45)), HTBORDER);
    EXPECT_EQ(SendMessage(p, WM_NCHITTEST, 0, MAKELPARAM(45, 55)), HTCLIENT);
    // The frame is asked again only when it may have changed.
    SetWindowPos(p, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    GetClientRect(p, &c);
    EXPECT_EQ(c.right, 260);

    // The first client area is the answer at creation too.
    g_ncInset = 5;
    HWND k = Make("K", WS_CHILD | WS_VISIBLE, p, 3, 4, 100, 60);
    g_ncInset = 0;
    GetClientRect(k, &c);
    EXPECT_EQ(c.right, 90);
    EXPECT_EQ(c.bottom, 50);
}

TEST_F(WindowPos, MinMaxInfoBoundsSizingOfOverlappedAndSizingBorderWindowsOnly) {
    struct Case {
        const char* name;
        DWORD style;
        bool asks;
    } cases[] = {{"O", WS_OVERLAPPEDWINDOW, true},
                 {"T", WS_POPUP | WS_THICKFRAME, true},
                 {"B", WS_POPUP | WS_BORDER, false}};
    for (const Case& c : cases) {
        HWND h = Make(c.name, c.style);
        Take();
        SetWindowPos(h, nullptr, 0, 0, 220, 170, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Log log = Take();
        ASSERT_GE(log.size(), 2u) << c.name;
        EXPECT_EQ(log[1] == std::string(c.name) + " GETMINMAXINFO", c.asks) << c.name;
    }
}

TEST_F(WindowPos, HidingOrDestroyingTheActiveWindowPassesTheActivationOnOrEndsIt) {
    HWND a = Make("A", WS_POPUP | WS_VISIBLE);
    HWND b = Make("B", WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetActiveWindow(), b);
    Take();
    // B hides: A, the next visible window, takes the activation.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(Take(), (Log{"B SHOWWINDOW 0", "B POSCHANGING", "B POSCHANGED", "B NCACTIVATE 0",
                           "B ACTIVATE 0 other=A", "A NCACTIVATE 1", "A ACTIVATE 1 other=B", "B KILLFOCUS",
                           "A SETFOCUS"}));
    // The last one hides: the program is no longer active; every top-level window hears of it.
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(Take(), (Log{"A SHOWWINDOW 0", "A POSCHANGING", "A POSCHANGED", "A NCACTIVATE 0",
                           "A ACTIVATE 0 other=", "A ACTIVATEAPP 0", "B ACTIVATEAPP 0", "A KILLFOCUS"}));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    // Destroying the active window hides it first, and the activation moves on before WM_DESTROY.
    ShowWindow(a, SW_SHOW);
    ShowWindow(b, SW_SHOWNA);
    Take();
    DestroyWindow(a);
    EXPECT_EQ(Take(),
              (Log{"A POSCHANGING", "A POSCHANGED", "A NCACTIVATE 0", "A ACTIVATE 0 other=B",
                   "B NCACTIVATE 1", "B ACTIVATE 1 other=A", "A KILLFOCUS", "B SETFOCUS", "A DESTROY"}));
}

TEST_F(WindowPos, IsDialogMessageAsksTheMessagesOwnWindowForItsKeys) {
    HWND dlg = CreateWindowEx(WS_EX_CONTROLPARENT, "TestLogPos", "D", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(dlg);
    HWND k1 = Make("k1", WS_CHILD | WS_VISIBLE | WS_TABSTOP, dlg, 0, 0, 20, 20);
    HWND k2 = Make("k2", WS_CHILD | WS_VISIBLE | WS_TABSTOP, dlg, 30, 0, 20, 20);
    SetFocus(k1);
    Take();
    // k2 keeps every key, so Enter goes to it, though k1 has the focus.
    g_dlgCode = DLGC_WANTALLKEYS;
    MSG km{k2, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessage(dlg, &km));
    EXPECT_EQ(Take(), (Log{"k2 GETDLGCODE", "k2 KEYDOWN"}));
    // Mouse messages ask nobody.
    MSG mm{k2, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    IsDialogMessage(dlg, &mm);
    for (const std::string& m : Take())
        EXPECT_EQ(m.find("GETDLGCODE"), std::string::npos) << m;
}

HWND g_target;
HANDLE g_sent;
DWORD SendFromThread(LPVOID) {
    SendMessage(g_target, WM_APP, 0, 0);
    SetEvent(g_sent);
    return 0;
}

TEST_F(WindowPos, MessageWaitEndsOnASendThatTheNextPeekHandles) {
    g_target = Make("R", WS_POPUP);
    g_sent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    Take();
    HANDLE thread = CreateThread(nullptr, 0, SendFromThread, nullptr, 0, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &never, FALSE, INFINITE, QS_SENDMESSAGE), WAIT_OBJECT_0 + 1);
    // The wait handled nothing, and neither does a wait that does not ask for sends.
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &never, FALSE, 0, QS_POSTMESSAGE), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(g_sent, 0), (DWORD)WAIT_TIMEOUT);
    MSG m;
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(Take(), (Log{"R APP"}));
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(g_sent, 0), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(never);
    CloseHandle(g_sent);
}
}  // namespace
