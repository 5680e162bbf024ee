#include <gtest/gtest.h>

#include "app/WaitDlg.h"
#include "platform/base/Clock.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"

namespace {
class WaitDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr);
        app.m_pMainWnd = &main;
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    int Bar(CWaitDlg& dlg) {
        return (int)SendDlgItemMessage(dlg.m_hWnd, IDC_WAIT_PROGRESS, PBM_GETPOS, 0, 0);
    }
    CWinApp app{"Veltrin"};
    CWnd main;
    DrivenClock clock;
};

TEST_F(WaitDlgTest, DisablesTheMainWindowWhileOpenAndClosesTwiceSafely) {
    BOOL go = TRUE;
    {
        CWaitDlg dlg(&go, 100, &main);
        ASSERT_TRUE(IsWindow(dlg.m_hWnd));
        EXPECT_FALSE(main.IsWindowEnabled());
        EXPECT_EQ(GetWindowTextString(dlg.m_hWnd), CString("Please Wait..."));
        EXPECT_EQ(GetWindowTextString(GetDlgItem(dlg.m_hWnd, IDC_WAIT_MESSAGE)), CString("Working."));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg.m_hWnd, IDCANCEL)));
        dlg.Close();
        EXPECT_TRUE(main.IsWindowEnabled());
        dlg.Close();
        EXPECT_TRUE(main.IsWindowEnabled());
    }
    EXPECT_TRUE(go);
}

TEST_F(WaitDlgTest, BarMovesForwardOnlyAndPausesOnceAtFull) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    struct Step {
        int percent, bar;
    } steps[] = {{10, 10}, {5, 10}, {0, 10}, {20, 20}, {150, 100}, {120, 100}};
    for (const Step& s : steps) {
        dlg.SetPercent(s.percent);
        EXPECT_EQ(Bar(dlg), s.bar) << s.percent;
    }
    EXPECT_EQ(clock.SleptMilliseconds(), 500u);
}

TEST_F(WaitDlgTest, ProgressIsTruncatedPercentOfTotalAndZeroTotalOnlyPumps) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 3, &main);
    EXPECT_TRUE(dlg.SetProgress(1));
    EXPECT_EQ(Bar(dlg), 33);
    CWaitDlg none(&go, 0, &main);
    EXPECT_TRUE(none.SetProgress(50));
    EXPECT_EQ((int)SendDlgItemMessage(none.m_hWnd, IDC_WAIT_PROGRESS, PBM_GETPOS, 0, 0), 0);
}

TEST_F(WaitDlgTest, EscapeCancelsShowsCancelledAndClearsTheFlag) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    HWND msg = GetDlgItem(dlg.m_hWnd, IDC_WAIT_MESSAGE);
    SimulateKey(VK_ESCAPE);
    while (dlg.m_hWnd && dlg.Pump()) {
    }
    EXPECT_FALSE(go);
    EXPECT_TRUE(dlg.IsCancelled());
    EXPECT_FALSE(IsWindow(msg));
    EXPECT_TRUE(main.IsWindowEnabled());
}

TEST_F(WaitDlgTest, CancelCommandShowsCancelled) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    CString seen;
    // The message line reads CANCELLED while the dialog still stands.
    dlg.SetMessageText("x");
    SendMessage(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(go);
    EXPECT_FALSE(IsWindow(dlg.m_hWnd));
}

TEST_F(WaitDlgTest, ClosingMessageCancelsAndStaysQueued) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    PostMessage(main.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(dlg.SetProgress(10));
    EXPECT_FALSE(go);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, main.m_hWnd);
}

TEST_F(WaitDlgTest, QuitCancelsAndIsKept) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    PostQuitMessage(3);
    EXPECT_FALSE(dlg.Pump());
    EXPECT_FALSE(go);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    while (m.message != WM_QUIT && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(m.message, (UINT)WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WaitDlgTest, AtMostOneWaitingMessagePerPump) {
    BOOL go = TRUE;
    CWaitDlg dlg(&go, 100, &main);
    PostMessage(main.m_hWnd, WM_USER + 7, 0, 0);
    PostMessage(main.m_hWnd, WM_USER + 8, 0, 0);
    EXPECT_TRUE(dlg.Pump());
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER, WM_USER + 100, PM_NOREMOVE));
    EXPECT_EQ(m.message, (UINT)(WM_USER + 8));
}
}  // namespace
