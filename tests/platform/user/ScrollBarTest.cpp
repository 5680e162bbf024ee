#include <gtest/gtest.h>

#include <vector>

#include "platform/user/ListView.h"
#include "tests/support/Gui.h"

namespace {
std::vector<WPARAM> g_scrolls;  // WM_HSCROLL / WM_VSCROLL wParams the parent heard

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
        g_scrolls.push_back(wp);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class ScrollBarControl : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = "ScrollBarTestParent";
        RegisterClass(&wc);
        top = CreateWindowEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr,
                             nullptr, nullptr);
        bar = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 200, 16, top,
                             nullptr, nullptr, nullptr);
        g_scrolls.clear();
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
    }
    SCROLLINFO Info() {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(bar, SB_CTL, &si);
        return si;
    }
    int Set(UINT mask, int min, int max, UINT page, int pos) {
        SCROLLINFO si{sizeof si, mask, min, max, page, pos, 0};
        return SetScrollInfo(bar, SB_CTL, &si, FALSE);
    }
    HWND top = nullptr;
    HWND bar = nullptr;
};
}  // namespace

TEST_F(ScrollBarControl, APageLargerThanTheRangeOrAMinimumAboveTheMaximumIsBroughtIntoRange) {
    EXPECT_EQ(Set(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 95), 90);
    EXPECT_EQ(Set(SIF_PAGE, 0, 0, 200, 0), 0);  // the page is the whole range: no room to move
    EXPECT_EQ(Info().nPage, 100u);
    EXPECT_EQ(Info().nPos, 0);
    Set(SIF_RANGE, 10, 5, 0, 0);  // an upside-down range is none
    SCROLLINFO si = Info();
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 0);
    EXPECT_EQ(si.nPage, 1u);
    EXPECT_EQ(si.nPos, 0);
}

TEST_F(ScrollBarControl, KeysAskTheParentToScrollAndLeaveTheBarWhereItIs) {
    Set(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 90);
    struct Case {
        UINT vk;
        WORD code;
    } cases[] = {
        {VK_RIGHT, SB_LINERIGHT}, {VK_DOWN, SB_LINEDOWN}, {VK_LEFT, SB_LINELEFT}, {VK_UP, SB_LINEUP},
        {VK_NEXT, SB_PAGEDOWN},   {VK_PRIOR, SB_PAGEUP},  {VK_HOME, SB_TOP},      {VK_END, SB_BOTTOM},
    };
    for (const Case& c : cases) {
        g_scrolls.clear();
        SendMessage(bar, WM_KEYDOWN, c.vk, 1);
        SendMessage(bar, WM_KEYUP, c.vk, 0xC0000001);
        ASSERT_EQ(g_scrolls.size(), 2u) << c.vk;
        EXPECT_EQ(LOWORD(g_scrolls[0]), c.code) << c.vk;
        EXPECT_EQ(LOWORD(g_scrolls[1]), SB_ENDSCROLL) << c.vk;
    }
    g_scrolls.clear();
    SendMessage(bar, WM_KEYDOWN, 'A', 1);
    EXPECT_TRUE(g_scrolls.empty());
    EXPECT_EQ(Info().nPos, 90);
}
