// A window's menu bar: opened by a click, by Alt or F10 alone, and by Alt+letter; Left and Right move
// between the popups; the chosen command goes to the window.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/user/Menu.h"
#include "platform/user/Resources.h"

namespace {
const MenuTemplate kBar{800,
                        {{"&File", 0, MF_POPUP, {{"&Open", 801, 0, {}}, {"E&xit", 802, 0, {}}}},
                         {"&Edit", 0, MF_POPUP, {{"&Copy", 811, 0, {}}, {"&Paste", 812, 0, {}}}},
                         {"&View", 0, MF_POPUP, {{"&Status Bar", 821, 0, {}}}}}};

class BarModule : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override { return id == kBar.id ? &kBar : nullptr; }
};

std::vector<UINT> g_commands;
std::vector<UINT> g_loop;  // menu-loop messages
LRESULT BarOwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_commands.push_back(LOWORD(wp));
    if (msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP || msg == WM_INITMENU)
        g_loop.push_back(msg);
    return DefWindowProc(h, msg, wp, lp);
}

std::function<void()> g_onPopup;  // runs once when a popup is being tracked
HHOOK g_hook = nullptr;
LRESULT PopupHook(int code, WPARAM wp, LPARAM lp) {
    if (g_onPopup && GetTrackedPopupWindow()) {
        auto f = g_onPopup;
        g_onPopup = nullptr;
        f();
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&module);
        WNDCLASS wc{};
        wc.lpfnWndProc = BarOwnerProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = "MenuBarOwner";
        RegisterClass(&wc);
        menu = LoadMenu(nullptr, MAKEINTRESOURCE(800));
        hwnd = CreateWindowEx(0, "MenuBarOwner", "Bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300,
                              nullptr, menu, nullptr, nullptr);
        g_commands.clear();
        g_loop.clear();
        g_onPopup = nullptr;
        g_hook = SetWindowsHookEx(WH_MSGFILTER, PopupHook, nullptr, 0);
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_hook);
        DestroyWindow(hwnd);
        DestroyMenu(menu);
        RemoveResourceModule(&module);
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    // The screen point of the bar item at `x` pixels from the client's left edge.
    POINT BarPoint(int x) {
        POINT p{x, -10};
        ClientToScreen(hwnd, &p);
        return p;
    }
    BarModule module;
    HMENU menu = nullptr;
    HWND hwnd = nullptr;
};
}  // namespace

TEST_F(MenuBarTest, TheBarTakesARowAboveTheClientArea) {
    EXPECT_EQ(GetMenu(hwnd), menu);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.bottom, 300 - 8 - 19 - 19);
    EXPECT_EQ(SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(BarPoint(10).x, BarPoint(10).y)), HTMENU);
    // Taking the menu away gives the row back.
    SetMenu(hwnd, nullptr);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.bottom, 300 - 8 - 19);
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    SetMenu(hwnd, menu);
}

TEST_F(MenuBarTest, AClickOpensAPopupAndRightMovesToTheNext) {
    // Open "File", move right to "Edit", take its first item.
    g_onPopup = [] {
        SimulateKey(VK_RIGHT);
        g_onPopup = [] {
            SimulateKey(VK_DOWN);
            SimulateKey(VK_RETURN);
        };
    };
    PostMouseInput(WM_LBUTTONDOWN, BarPoint(10), MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, BarPoint(10), 0);
    Pump();
    EXPECT_EQ(g_commands, std::vector<UINT>{811});
    ASSERT_GE(g_loop.size(), 3u);
    EXPECT_EQ(g_loop.front(), (UINT)WM_ENTERMENULOOP);
    EXPECT_EQ(g_loop[1], (UINT)WM_INITMENU);
    EXPECT_EQ(g_loop.back(), (UINT)WM_EXITMENULOOP);
}

TEST_F(MenuBarTest, AltF10AndMnemonicsOpenTheBarFromTheKeyboard) {
    // Alt alone: the first item is selected; Right, Right and Down open "View".
    g_onPopup = [] {
        SimulateKey(VK_DOWN);
        SimulateKey(VK_RETURN);
    };
    PostKeyInput(WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    PostKeyInput(WM_SYSKEYUP, VK_MENU, (LPARAM)0xC0000001);
    SimulateKey(VK_RIGHT);
    SimulateKey(VK_RIGHT);
    SimulateKey(VK_DOWN);
    PostMessage(hwnd, WM_NULL, 0, 0);  // wakes the popup's loop, which then drives it
    Pump();
    EXPECT_EQ(g_commands, std::vector<UINT>{821});

    // F10, then Left wraps round to "View" too; Escape leaves without a command.
    g_commands.clear();
    PostKeyInput(WM_SYSKEYDOWN, VK_F10, 1);
    SimulateKey(VK_LEFT);
    SimulateKey(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(g_commands.empty());

    // Alt+E opens "Edit"; Alt+Q, no such menu, beeps.
    g_onPopup = [] {
        SimulateKey(VK_DOWN);
        SimulateKey(VK_DOWN);
        SimulateKey(VK_RETURN);
    };
    PostKeyInput(WM_SYSCHAR, 'e', 0x20000001);
    PostMessage(hwnd, WM_NULL, 0, 0);
    Pump();
    EXPECT_EQ(g_commands, std::vector<UINT>{812});
    int beeps = GetMessageBeepCount();
    PostKeyInput(WM_SYSCHAR, 'q', 0x20000001);
    Pump();
    EXPECT_EQ(GetMessageBeepCount(), beeps + 1);
}
