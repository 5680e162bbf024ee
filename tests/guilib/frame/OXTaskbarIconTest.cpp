// The tray icon: shown once, hidden once, its tooltip updated at once or at the next showing and cut to
// what the shell keeps, and the shell's callback passed to the owner.
#include <gtest/gtest.h>

#include <string>

#include "guilib/frame/OXTaskbarIcon.h"
#include "tests/support/Gui.h"

namespace {
UINT g_lastMessage = 0;
WPARAM g_lastW = 0;
LPARAM g_lastL = 0;
LRESULT OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == OX_TASKBARICON_CALLBACK) {
        g_lastMessage = m;
        g_lastW = w;
        g_lastL = l;
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

std::string ShownTip(HWND h, UINT id) {
    NOTIFYICONDATA data{};
    return FindNotifyIcon(h, id, &data) ? std::string(data.szTip) : std::string("<none>");
}
}  // namespace

TEST(TaskbarIcon, ShowHideAndTooltip) {
    COXTaskbarIcon icon;
    ASSERT_TRUE(icon.Create(7));
    icon.SetTooltipText("first");
    EXPECT_FALSE(icon.Hide());
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), "<none>");
    EXPECT_TRUE(icon.Show());
    EXPECT_FALSE(icon.Show());
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), "first");
    icon.SetTooltipText("second");
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), "second");
    icon.SetTooltipText("quiet", FALSE);
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), "second");
    EXPECT_TRUE(icon.Hide());
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), "<none>");
    icon.SetTooltipText(std::string(200, 'x').c_str());
    EXPECT_TRUE(icon.Show());
    EXPECT_EQ(ShownTip(icon.m_hWnd, 7), std::string(127, 'x'));
    CString text;
    icon.GetTooltipText(text);
    EXPECT_EQ(text.GetLength(), 200);
    HWND h = icon.m_hWnd;
    icon.Destroy();
    EXPECT_EQ(ShownTip(h, 7), "<none>");
    EXPECT_FALSE(IsWindow(h));
}

TEST(TaskbarIcon, CallbackReachesTheOwnerUnchanged) {
    RegisterTestWindowClass("TrayOwner", OwnerProc, COLOR_WINDOW);
    HWND owner = CreateWindowEx(0, "TrayOwner", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    COXTaskbarIcon icon;
    ASSERT_TRUE(icon.Create(3));
    SetWindowLongPtr(icon.m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)owner);
    ASSERT_EQ(GetWindow(icon.m_hWnd, GW_OWNER), owner);
    ASSERT_TRUE(icon.Show());
    EXPECT_EQ(SendMessage(icon.m_hWnd, OX_TASKBARICON_CALLBACK, 3, WM_RBUTTONUP), -1);
    Pump();
    EXPECT_EQ(g_lastMessage, (UINT)OX_TASKBARICON_CALLBACK);
    EXPECT_EQ(g_lastW, (WPARAM)3);
    EXPECT_EQ(g_lastL, (LPARAM)WM_RBUTTONUP);
    g_lastMessage = 0;
    EXPECT_TRUE(SimulateNotifyIconMouse(icon.m_hWnd, 3, WM_LBUTTONDBLCLK));
    Pump();
    EXPECT_EQ(g_lastL, (LPARAM)WM_LBUTTONDBLCLK);
    icon.Destroy();
    DestroyWindow(owner);
}
