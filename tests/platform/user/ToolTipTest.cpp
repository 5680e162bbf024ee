#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/user/ToolTip.h"
#include "tests/support/Gui.h"

namespace {
struct Owner {
    std::vector<UINT> codes;
    const char* callbackText = "From the owner";
};
Owner* g_owner = nullptr;

LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && g_owner) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        g_owner->codes.push_back(hdr->code);
        if (hdr->code == TTN_GETDISPINFO) {
            auto* info = reinterpret_cast<NMTTDISPINFO*>(lp);
            std::strcpy(info->szText, g_owner->callbackText);
        }
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ToolTipTestOwner", OwnerProc, COLOR_3DFACE);
        g_owner = &owner;
        top = CreateWindowEx(0, "ToolTipTestOwner", "tips", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                             nullptr, nullptr, nullptr);
        SetActiveWindow(top);
        button = CreateWindowEx(0, WC_BUTTON, "Save", WS_CHILD | WS_VISIBLE, 20, 20, 80, 24, top, (HMENU)7,
                                nullptr, nullptr);
        tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, top, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(tip);
        DestroyWindow(top);
        g_owner = nullptr;
        Pump();
    }
    void MoveTo(HWND hwnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        PostMouseInput(WM_MOUSEMOVE, p, 0);
        Pump();
    }
    void Wait(ULONGLONG ms) {
        clock.Advance(ms);
        Pump();
    }
    bool Shown() const { return IsWindowVisible(tip) != FALSE; }
    DrivenClock clock;
    Owner owner;
    HWND top = nullptr, button = nullptr, tip = nullptr;
};

TEST_F(ToolTipTest, ASubclassedToolShowsAfterTheDelayAndHidesWhenThePointerLeaves) {
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = top;
    ti.uId = (UINT_PTR)button;
    ti.lpszText = const_cast<LPSTR>("Save the file");
    ASSERT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, (LPARAM)&ti));
    EXPECT_EQ(SendMessage(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);

    MoveTo(button, 10, 10);
    Wait(499);
    EXPECT_FALSE(Shown());
    Wait(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(owner.codes, (std::vector<UINT>{TTN_SHOW}));
    // Below the pointer, in the Classic info colours, framed.
    RECT r;
    GetWindowRect(tip, &r);
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_GT(r.top, pointer.y);
    PixelProbe probe(tip);
    EXPECT_EQ(probe.At(0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(probe.At(2, 2), GetSysColor(COLOR_INFOBK));
    EXPECT_TRUE(probe.Any(RECT{1, 1, r.right - r.left - 1, r.bottom - r.top - 1},
                          [](COLORREF c) { return PixelProbe::Dark(c); }));
    char text[80];
    TOOLINFO get = ti;
    get.lpszText = text;
    EXPECT_EQ(SendMessage(tip, TTM_GETTEXT, sizeof text, (LPARAM)&get), 13);
    EXPECT_STREQ(text, "Save the file");

    // The owner's own area is no tool: leaving the button hides the tip within a watch interval.
    MoveTo(top, 300, 200);
    Wait(100);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(owner.codes, (std::vector<UINT>{TTN_SHOW, TTN_POP}));

    // Back on the button it shows again; a press hides it until the pointer leaves.
    MoveTo(button, 12, 12);
    Wait(500);
    ASSERT_TRUE(Shown());
    POINT p{12, 12};
    ClientToScreen(button, &p);
    PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, p, 0);
    Pump();
    EXPECT_FALSE(Shown());
    Wait(2000);
    EXPECT_FALSE(Shown());
    // Left alone, a shown tip goes after the auto-pop delay.
    MoveTo(top, 300, 200);
    Wait(100);
    MoveTo(button, 10, 10);
    Wait(500);
    ASSERT_TRUE(Shown());
    Wait(5000);
    EXPECT_FALSE(Shown());

    // Deleted, the tool is gone and the button's own procedure is back.
    SendMessage(tip, TTM_DELTOOL, 0, (LPARAM)&ti);
    EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtr(button, GWLP_WNDPROC), (LONG_PTR)GetClassLongPtr(button, GCLP_WNDPROC));
}

TEST_F(ToolTipTest, RelayedRectangleToolsAskTheirOwnerForText) {
    TOOLINFO a{};
    a.cbSize = sizeof a;
    a.hwnd = top;
    a.uId = 1;
    a.rect = RECT{200, 100, 260, 160};
    a.lpszText = LPSTR_TEXTCALLBACK;
    SendMessage(tip, TTM_ADDTOOL, 0, (LPARAM)&a);
    TOOLINFO b = a;
    b.uId = 2;
    b.rect = RECT{260, 100, 320, 160};
    b.lpszText = const_cast<LPSTR>("Second");
    SendMessage(tip, TTM_ADDTOOL, 0, (LPARAM)&b);

    TTHITTESTINFO hit{};
    hit.hwnd = top;
    hit.pt = POINT{270, 120};
    ASSERT_TRUE(SendMessage(tip, TTM_HITTEST, 0, (LPARAM)&hit));
    EXPECT_EQ(hit.ti.uId, 2u);

    auto relay = [&](int x, int y) {
        MSG m{top, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, {}};
        POINT s{x, y};
        ClientToScreen(top, &s);
        SetCursorPos(s.x, s.y);
        SendMessage(tip, TTM_RELAYEVENT, 0, (LPARAM)&m);
    };
    relay(210, 110);
    Wait(500);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(owner.codes, (std::vector<UINT>{TTN_GETDISPINFO, TTN_SHOW}));
    TOOLINFO current{};
    current.cbSize = sizeof current;
    ASSERT_TRUE(SendMessage(tip, TTM_GETCURRENTTOOL, 0, (LPARAM)&current));
    EXPECT_EQ(current.uId, 1u);
    // The next tool soon after takes only the reshow delay.
    relay(270, 110);
    EXPECT_FALSE(Shown());
    Wait(100);
    EXPECT_TRUE(Shown());
    ASSERT_TRUE(SendMessage(tip, TTM_GETCURRENTTOOL, 0, (LPARAM)&current));
    EXPECT_EQ(current.uId, 2u);
    // Deactivated, nothing shows.
    SendMessage(tip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_FALSE(Shown());
    relay(210, 110);
    Wait(1000);
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, WithoutAlwaysTipAnInactiveWindowShowsNone) {
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = top;
    ti.uId = (UINT_PTR)button;
    ti.lpszText = const_cast<LPSTR>("Save");
    SendMessage(tip, TTM_ADDTOOL, 0, (LPARAM)&ti);
    HWND other = CreateWindowEx(0, "ToolTipTestOwner", "other", WS_POPUP | WS_VISIBLE, 500, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    MoveTo(button, 10, 10);
    Wait(600);
    EXPECT_FALSE(Shown());
    DestroyWindow(other);
}
}  // namespace
