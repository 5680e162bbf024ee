// The window menu (Alt+Space, a press on the menu box) is the window's own system menu as the program
// changed it, its items enabled by the window's state, and the command chosen carries the pointer.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/Menu.h"
#include "platform/user/User.h"

namespace window_menu_test {

struct Item {
    UINT id;
    UINT state;  // MF_GRAYED or 0
    std::string text;
    bool operator==(const Item& o) const { return id == o.id && state == o.state && text == o.text; }
};
std::ostream& operator<<(std::ostream& os, const Item& i) {
    return os << "{0x" << std::hex << i.id << ", " << i.state << std::dec << ", \"" << i.text << "\"}";
}

struct Shown {
    HMENU menu;
    LPARAM lp;
    std::vector<Item> items;
};

std::vector<Shown> g_shown;
std::vector<std::pair<WPARAM, LPARAM>> g_commands;
std::deque<std::function<void()>> g_steps;  // run one each time the menu loop is idle
POINT g_moveBy{0, 0};                       // the pointer's movement once a move starts

LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITMENUPOPUP: {
            HMENU menu = (HMENU)wp;
            Shown s{menu, lp, {}};
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[64] = "";
                GetMenuString(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
                s.items.push_back(Item{GetMenuItemID(menu, i),
                                       (UINT)(GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_GRAYED), text});
            }
            g_shown.push_back(s);
            return 0;
        }
        case WM_ENTERIDLE:
            if (g_steps.empty()) {
                EndMenu();
            } else {
                auto step = std::move(g_steps.front());
                g_steps.pop_front();
                step();
            }
            return 0;
        case WM_SYSCOMMAND:
            g_commands.emplace_back(wp, lp);
            if ((wp & 0xFFF0) == SC_MOVE) {
                // The user moves the pointer on from where it is and lets go; the window follows by as much.
                POINT to;
                GetCursorPos(&to);
                to.x += g_moveBy.x;
                to.y += g_moveBy.y;
                PostMouseInput(WM_MOUSEMOVE, to, 0);
                PostMouseInput(WM_LBUTTONUP, to, 0);
                break;
            }
            if ((wp & 0xFFF0) < SC_SIZE)
                return 0;  // the program's own item
            break;
        default:
            break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

constexpr UINT kOwnItem = 0x1230;

class WindowMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "WindowMenuTest";
        RegisterClass(&wc);
        g_shown.clear();
        g_commands.clear();
        g_steps.clear();
        g_moveBy = POINT{0, 0};
        hwnd = CreateWindowEx(0, "WindowMenuTest", "Window menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 100,
                              400, 300, nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(hwnd);
        SetFocus(hwnd);
        Pump();
    }
    void TearDown() override {
        // The button goes up over the window, so no later test sees it held.
        PostMouseInput(WM_LBUTTONUP, POINT{400, 250}, 0);
        Pump();
        DestroyWindow(hwnd);
        Pump();
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
    void OpenByKey() {
        SendMessage(hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        Pump();
    }
    // A press on the menu box at the caption's left end.
    void OpenByPress() {
        RECT wr;
        GetWindowRect(hwnd, &wr);
        POINT box{-1, -1};
        for (int x = 0; x < 40 && box.x < 0; ++x)
            for (int y = 0; y < 30 && box.x < 0; ++y)
                if (SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)) == HTSYSMENU)
                    box = POINT{wr.left + x, wr.top + y};
        ASSERT_GE(box.x, 0) << "no menu box";
        PostMouseInput(WM_LBUTTONDOWN, box, MK_LBUTTON);
        Pump();
    }
    HWND hwnd = nullptr;
};

TEST_F(WindowMenuTest, ShowsTheProgramsChangesAndSendsTheChoiceWithThePointer) {
    for (bool byPress : {false, true}) {
        SCOPED_TRACE(byPress ? "menu box" : "Alt+Space");
        GetSystemMenu(hwnd, TRUE);
        HMENU sys = GetSystemMenu(hwnd, FALSE);
        DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
        ModifyMenu(sys, SC_MOVE, MF_BYCOMMAND | MF_STRING, SC_MOVE, "Shi&ft it");
        AppendMenu(sys, MF_STRING, kOwnItem, "&Own item");
        EnableMenuItem(sys, SC_RESTORE, MF_BYCOMMAND | MF_ENABLED);  // the window's state decides again
        EnableMenuItem(sys, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);     // stays as the program left it
        g_shown.clear();
        g_commands.clear();
        SetCursorPos(250, 400);
        g_steps = {[] { SimulateKey(VK_UP); }, [] { SimulateKey(VK_RETURN); }};
        if (byPress)
            OpenByPress();
        else
            OpenByKey();
        POINT at;
        GetCursorPos(&at);

        ASSERT_EQ(g_shown.size(), 1u);
        EXPECT_EQ(g_shown[0].menu, sys);
        EXPECT_EQ(HIWORD(g_shown[0].lp), 1);  // the window menu's flag
        EXPECT_EQ(g_shown[0].items, (std::vector<Item>{{SC_RESTORE, MF_GRAYED, "&Restore"},
                                                       {SC_MOVE, 0, "Shi&ft it"},
                                                       {SC_MINIMIZE, 0, "Mi&nimize"},
                                                       {SC_MAXIMIZE, 0, "Ma&ximize"},
                                                       {0, 0, ""},
                                                       {SC_CLOSE, MF_GRAYED, "&Close\tAlt+F4"},
                                                       {kOwnItem, 0, "&Own item"}}));
        EXPECT_EQ(g_commands.back(), (std::pair<WPARAM, LPARAM>{kOwnItem, MAKELPARAM(at.x, at.y)}));
    }
}

TEST_F(WindowMenuTest, ItemsFollowTheWindowsStateAndARevertBringsBackTheStandardMenu) {
    AppendMenu(GetSystemMenu(hwnd, FALSE), MF_STRING, kOwnItem, "&Own item");
    ShowWindow(hwnd, SW_MAXIMIZE);
    OpenByKey();
    ShowWindow(hwnd, SW_RESTORE);
    GetSystemMenu(hwnd, TRUE);
    OpenByKey();

    ASSERT_EQ(g_shown.size(), 2u);
    std::vector<Item> maximized = g_shown[0].items;
    ASSERT_EQ(maximized.size(), 8u);
    EXPECT_EQ(maximized[0], (Item{SC_RESTORE, 0, "&Restore"}));
    EXPECT_EQ(maximized[1], (Item{SC_MOVE, MF_GRAYED, "&Move"}));
    EXPECT_EQ(maximized[2], (Item{SC_SIZE, MF_GRAYED, "&Size"}));
    EXPECT_EQ(maximized[3], (Item{SC_MINIMIZE, 0, "Mi&nimize"}));
    EXPECT_EQ(maximized[4], (Item{SC_MAXIMIZE, MF_GRAYED, "Ma&ximize"}));
    EXPECT_EQ(maximized[7].id, kOwnItem);

    std::vector<Item> reverted = g_shown[1].items;
    EXPECT_NE(g_shown[1].menu, g_shown[0].menu);
    ASSERT_EQ(reverted.size(), 7u);
    EXPECT_EQ(reverted[0], (Item{SC_RESTORE, MF_GRAYED, "&Restore"}));
    EXPECT_EQ(reverted[2], (Item{SC_SIZE, 0, "&Size"}));
    EXPECT_EQ(reverted[6], (Item{SC_CLOSE, 0, "&Close\tAlt+F4"}));
    for (const auto& [wp, lp] : g_commands)
        EXPECT_EQ(wp & 0xFFF0, (WPARAM)SC_KEYMENU);  // nothing chosen
}

TEST_F(WindowMenuTest, MoveChosenByKeyStartsFromThePointerSoTheWindowDoesNotJump) {
    SetCursorPos(300, 200);
    g_moveBy = POINT{10, 5};
    g_steps = {[] { SimulateChars("m"); }};
    RECT before;
    GetWindowRect(hwnd, &before);
    OpenByKey();
    ASSERT_FALSE(g_commands.empty());
    EXPECT_EQ(g_commands.back(), (std::pair<WPARAM, LPARAM>{SC_MOVE, MAKELPARAM(300, 200)}));
    RECT after;
    GetWindowRect(hwnd, &after);
    EXPECT_EQ(after.left - before.left, 10);
    EXPECT_EQ(after.top - before.top, 5);
}

}  // namespace window_menu_test
