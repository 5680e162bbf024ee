// Termination signals close the program's main window as its close box does; a second one ends the
// process at once.
#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

#include "platform/user/CloseSignals.h"

namespace {
std::vector<std::pair<HWND, WPARAM>> g_closes;

LRESULT RecordClose(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND)
        g_closes.emplace_back(h, wParam & 0xFFF0);
    if (msg == WM_SYSCOMMAND || msg == WM_CLOSE)
        return 0;
    return DefWindowProc(h, msg, wParam, lParam);
}

HWND MakeWindow(HWND owner) {
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.lpfnWndProc = RecordClose;
        wc.lpszClassName = "CloseProbe";
        RegisterClass(&wc);
        registered = true;
    }
    return CreateWindowEx(0, "CloseProbe", "", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 80, 60, owner,
                          nullptr, nullptr, nullptr);
}

// Handles messages until `count` closes have arrived (the signal's message wakes the wait).
void WaitForCloses(size_t count) {
    MSG m;
    while (g_closes.size() < count && GetMessage(&m, nullptr, 0, 0))
        DispatchMessage(&m);
}

class CloseSignalsTest : public ::testing::Test {
protected:
    void SetUp() override { g_closes.clear(); }
    void TearDown() override { StopHandlingCloseSignals(); }
};

TEST_F(CloseSignalsTest, EachSignalClosesTheMainWindowAsItsCloseBoxDoes) {
    HWND main = MakeWindow(nullptr);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        g_closes.clear();
        HandleCloseSignals([main] { return main; });
        raise(sig);
        WaitForCloses(1);
        ASSERT_EQ(g_closes.size(), 1u);
        EXPECT_EQ(g_closes[0], std::make_pair(main, (WPARAM)SC_CLOSE));
    }
    DestroyWindow(main);
}

TEST_F(CloseSignalsTest, AModalWindowOnTopClosesBeforeTheMainWindow) {
    HWND main = MakeWindow(nullptr);
    HWND modal = MakeWindow(main);
    EnableWindow(main, FALSE);
    HandleCloseSignals([main] { return main; });
    raise(SIGTERM);
    WaitForCloses(2);
    ASSERT_EQ(g_closes.size(), 2u);
    EXPECT_EQ(g_closes[0].first, modal);
    EXPECT_EQ(g_closes[1].first, main);
    DestroyWindow(modal);
    DestroyWindow(main);
}

TEST_F(CloseSignalsTest, WithoutAMainWindowTheLoopQuits) {
    HandleCloseSignals([] { return (HWND) nullptr; });
    raise(SIGTERM);
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0))
        DispatchMessage(&m);
    EXPECT_EQ(m.message, (UINT)WM_QUIT);
}

TEST(CloseSignalsDeathTest, ASecondSignalDuringTheCloseEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            HandleCloseSignals([] { return (HWND) nullptr; });
            raise(SIGTERM);
            raise(SIGTERM);
            std::exit(0);  // not reached
        },
        ::testing::KilledBySignal(SIGTERM), "");
}
}  // namespace
