#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/StatusBar.h"
#include "tests/support/Gui.h"

namespace {
struct Drawn {
    UINT part;
    ULONG_PTR data;
    RECT rc;
};
std::vector<Drawn>* g_drawn = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DRAWITEM && g_drawn) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        g_drawn->push_back(Drawn{dis->itemID, dis->itemData, dis->rcItem});
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
        return TRUE;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("StatusBarTestParent", ParentProc, COLOR_WINDOW);
        g_drawn = &drawn;
        top = CreateWindowEx(0, "StatusBarTestParent", "sb", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                             nullptr, nullptr, nullptr);
        bar = CreateWindowEx(0, STATUSCLASSNAME, "Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, top,
                             (HMENU)59393, nullptr, nullptr);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
        g_drawn = nullptr;
    }
    std::string Text(int part) {
        char buf[256] = "?";
        SendMessage(bar, SB_GETTEXT, part, (LPARAM)buf);
        return buf;
    }
    RECT Part(int i) {
        RECT r{-1, -1, -1, -1};
        SendMessage(bar, SB_GETRECT, i, (LPARAM)&r);
        return r;
    }

    std::vector<Drawn> drawn;
    HWND top = nullptr, bar = nullptr;
};

TEST_F(StatusBarTest, SitsAlongTheParentsBottomAndFollowsItsSize) {
    RECT rc;
    GetWindowRect(bar, &rc);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.right, 400);
    EXPECT_EQ(rc.bottom, 200);
    int height = rc.bottom - rc.top;
    EXPECT_GE(height, 18);
    EXPECT_EQ(Text(0), "Ready");  // the window text is the first part's

    MoveWindow(top, 0, 0, 300, 150, TRUE);
    SendMessage(bar, WM_SIZE, 0, 0);  // as the parent forwards its own
    GetWindowRect(bar, &rc);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, 150);
    EXPECT_EQ(rc.bottom - rc.top, height);
    // The grip corner answers as the bottom-right sizing border.
    POINT corner{rc.right - 3, rc.bottom - 3};
    ClientToScreen(top, &corner);
    EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
}

TEST_F(StatusBarTest, PartsHoldTextsTypesAndOwnerDrawnData) {
    int rights[] = {100, 160, -1};
    ASSERT_TRUE(SendMessage(bar, SB_SETPARTS, 3, (LPARAM)rights));
    int back[3] = {};
    EXPECT_EQ(SendMessage(bar, SB_GETPARTS, 3, (LPARAM)back), 3);
    EXPECT_EQ(back[2], -1);
    SendMessage(bar, SB_SETTEXT, 0, (LPARAM) "Ready");
    SendMessage(bar, SB_SETTEXT, 1 | SBT_POPOUT, (LPARAM) "CAP");
    SendMessage(bar, SB_SETTEXT, 2 | SBT_OWNERDRAW, (LPARAM)0x1234);
    EXPECT_EQ(Text(0), "Ready");
    EXPECT_EQ(SendMessage(bar, SB_GETTEXTLENGTH, 1, 0), MAKELONG(3, SBT_POPOUT));
    EXPECT_EQ(SendMessage(bar, SB_GETTEXT, 2, 0), 0x1234);
    EXPECT_FALSE(SendMessage(bar, SB_SETTEXT, 5, (LPARAM) "none"));

    int borders[3];
    SendMessage(bar, SB_GETBORDERS, 0, (LPARAM)borders);
    EXPECT_EQ(Part(0).left, borders[0]);
    EXPECT_EQ(Part(0).right, 100);
    EXPECT_EQ(Part(1).left, 100 + borders[2]);
    RECT client;
    GetClientRect(bar, &client);
    EXPECT_EQ(Part(2).right, client.right);

    UpdateWindow(top);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].part, 2u);
    EXPECT_EQ(drawn[0].data, 0x1234u);
    RECT r = drawn[0].rc;
    EXPECT_EQ(GetWindowPixel(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
    // The sunken part's edge: shadow on its top line.
    EXPECT_EQ(GetWindowPixel(bar, 50, Part(0).top), GetSysColor(COLOR_3DSHADOW));

    // Simple mode shows one part over the whole bar and keeps the others for later.
    SendMessage(bar, SB_SIMPLE, TRUE, 0);
    SendMessage(bar, SB_SETTEXT, SB_SIMPLEID, (LPARAM) "Menu prompt");
    EXPECT_TRUE(SendMessage(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Part(0).right, client.right);
    EXPECT_EQ(Text(SB_SIMPLEID), "Menu prompt");
    SendMessage(bar, SB_SIMPLE, FALSE, 0);
    EXPECT_EQ(Text(1), "CAP");
}

TEST(LockKeys, EachPressOfALockKeyFlipsItsToggledState) {
    HWND w = CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetFocus(w);
    SetKeyToggleForTest(VK_CAPITAL, FALSE);
    SimulateKey(VK_CAPITAL);
    Pump();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    BYTE keys[256];
    GetKeyboardState(keys);
    EXPECT_EQ(keys[VK_CAPITAL], 1);  // toggled, not down
    SimulateKey(VK_CAPITAL);
    Pump();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    DestroyWindow(w);
}

TEST(SystemParameters, ClassicMetricsTheWorkAreaAndTheOneMonitor) {
    NONCLIENTMETRICS ncm{};
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));  // no size given
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    EXPECT_EQ(std::string(ncm.lfMenuFont.lfFaceName), "Tahoma");
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, -11);
    EXPECT_EQ(ncm.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    RECT work{};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));

    RECT on{10, 10, 50, 50}, off{-500, -500, -400, -400};
    HMONITOR m = MonitorFromRect(&on, MONITOR_DEFAULTTONULL);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(MonitorFromRect(&off, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromRect(&off, MONITOR_DEFAULTTONEAREST), m);
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfo(m, &mi));
    EXPECT_EQ(mi.dwFlags, (DWORD)MONITORINFOF_PRIMARY);
    EXPECT_TRUE(EqualRect(&mi.rcWork, &work));
}

TEST(LockWindowUpdate, OneWindowAtATime) {
    HWND a = CreateWindowEx(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowEx(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(LockWindowUpdate(a));
    EXPECT_FALSE(LockWindowUpdate(b));
    EXPECT_EQ(GetLockedWindow(), a);
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    EXPECT_TRUE(LockWindowUpdate(b));
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    DestroyWindow(a);
    DestroyWindow(b);
}

int g_paints = 0;
LRESULT CountPaints(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT)
        ++g_paints;
    return DefWindowProc(h, m, w, l);
}

TEST(LockWindowUpdate, HoldsPaintingOfTheWindowAndItsChildrenUntilUnlocked) {
    RegisterTestWindowClass("LockPaintTest", CountPaints, COLOR_WINDOW);
    HWND top = CreateWindowEx(0, "LockPaintTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr, nullptr,
                              nullptr, nullptr);
    HWND child = CreateWindowEx(0, "LockPaintTest", "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, top, nullptr,
                                nullptr, nullptr);
    Pump();
    g_paints = 0;
    ASSERT_TRUE(LockWindowUpdate(top));
    InvalidateRect(child, nullptr, TRUE);
    InvalidateRect(top, nullptr, TRUE);
    Pump();
    UpdateWindow(top);
    EXPECT_EQ(g_paints, 0);
    // Unlocked: the window and its children are painted again.
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    Pump();
    EXPECT_EQ(g_paints, 2);
    DestroyWindow(top);
}
}  // namespace
