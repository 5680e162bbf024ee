#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/controls/OXHookWnd.h"
#include "platform/base/Clock.h"
#include "tests/support/Gui.h"

namespace {

const UINT kProbe = WM_USER + 7;
std::vector<std::string> g_log;
int g_ncDestroys = 0;
int g_leaves = 0, g_enters = 0;

LRESULT TargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kProbe)
        g_log.push_back("window");
    if (msg == WM_NCDESTROY)
        ++g_ncDestroys;
    if (msg == HWM_MOUSELEAVE)
        ++g_leaves;
    if (msg == HWM_MOUSEENTER)
        ++g_enters;
    return DefWindowProc(hwnd, msg, wp, lp);
}

class NamedHook : public COXHookWnd {
public:
    explicit NamedHook(std::string name) : m_name(std::move(name)) {}
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kProbe)
            g_log.push_back(m_name);
        return COXHookWnd::WindowProc(msg, wp, lp);
    }

private:
    std::string m_name;
};

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("HookTarget", TargetProc, COLOR_WINDOW);
        hwnd = CreateWindowEx(0, "HookTarget", "", WS_POPUP | WS_VISIBLE, 100, 100, 50, 40, nullptr, nullptr,
                              nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        g_log.clear();
        g_ncDestroys = g_leaves = g_enters = 0;
    }
    void TearDown() override {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
        Pump();
    }
    HWND hwnd = nullptr;
};

TEST_F(HookTest, HooksSeeMessagesNewestFirstThenTheWindow) {
    WNDPROC original = (WNDPROC)GetWindowLongPtr(hwnd, GWLP_WNDPROC);
    NamedHook older("older"), newer("newer");
    older.HookWindow(hwnd);
    newer.HookWindow(hwnd);
    SendMessage(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"newer", "older", "window"}));

    // The older one leaves: the newer still works.
    older.UnhookWindow();
    g_log.clear();
    SendMessage(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"newer", "window"}));

    // The last one leaves: the window's own procedure is back exactly.
    newer.UnhookWindow();
    EXPECT_EQ((WNDPROC)GetWindowLongPtr(hwnd, GWLP_WNDPROC), original);
    g_log.clear();
    SendMessage(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"window"}));
}

TEST_F(HookTest, UnhookingTheNewestMakesTheOlderTheHeadAndRehookingMovesAHook) {
    WNDPROC original = (WNDPROC)GetWindowLongPtr(hwnd, GWLP_WNDPROC);
    NamedHook older("older"), newer("newer");
    older.HookWindow(hwnd);
    newer.HookWindow(hwnd);
    WNDPROC hooked = (WNDPROC)GetWindowLongPtr(hwnd, GWLP_WNDPROC);
    EXPECT_NE(hooked, original);
    newer.UnhookWindow();
    EXPECT_EQ((WNDPROC)GetWindowLongPtr(hwnd, GWLP_WNDPROC), hooked);
    SendMessage(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"older", "window"}));

    // Hooking a hooked object onto another window takes it out of the first chain.
    HWND other = CreateWindowEx(0, "HookTarget", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    newer.HookWindow(hwnd);
    newer.HookWindow(other);
    g_log.clear();
    SendMessage(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"older", "window"}));
    g_log.clear();
    SendMessage(other, kProbe, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"newer", "window"}));
    DestroyWindow(other);
    EXPECT_FALSE(newer.IsHooked());
}

TEST_F(HookTest, DestroyingTheWindowUnhooksEveryHookAndItsNcDestroyRunsOnce) {
    NamedHook a("a"), b("b");
    a.HookWindow(hwnd);
    b.HookWindow(hwnd);
    DestroyWindow(hwnd);
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
    EXPECT_EQ(g_ncDestroys, 1);
}

TEST_F(HookTest, TrackingPostsLeaveOnceWithinOneTimerPeriod) {
    DrivenClock clock;
    NamedHook hook("h");
    hook.HookWindow(hwnd);
    ASSERT_TRUE(hook.StartMouseTracking());
    SetCursorPos(120, 120);
    SendMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    Pump();
    EXPECT_EQ(g_enters, 1);
    EXPECT_TRUE(hook.IsMouseInside());

    SetCursorPos(10, 10);
    clock.Advance(99);
    Pump();
    EXPECT_EQ(g_leaves, 0);
    clock.Advance(1);
    Pump();
    EXPECT_EQ(g_leaves, 1);
    clock.Advance(300);
    Pump();
    EXPECT_EQ(g_leaves, 1);
    hook.StopMouseTracking();
}

}  // namespace
