// CWnd's scroll calls: to the frame's bars, or to the control GetScrollBarCtrl names.
#include <gtest/gtest.h>

#include "platform/framework/controls/ScrollBar.h"
#include "tests/support/Gui.h"

namespace {
class CSplitView : public CWnd {
public:
    CScrollBar* m_vert = nullptr;
    CScrollBar* GetScrollBarCtrl(int bar) const override { return bar == SB_VERT ? m_vert : nullptr; }
};

TEST(ScrollRoutingTest, CallsReachTheNamedControlOrTheFrame) {
    CSplitView view;
    ASSERT_TRUE(view.CreateEx(0, AfxWndClassName(), "view", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{280, 0, 296, 200}, &view, 5));

    // Without a control the frame's bar takes the range and shows.
    SCROLLINFO si{};
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 99;
    si.nPage = 10;
    view.SetScrollInfo(SB_VERT, &si);
    EXPECT_TRUE(view.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(view.GetScrollLimit(SB_VERT), 90);
    view.SetScrollPos(SB_VERT, 95);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 90);

    // Named, the control takes them and the frame's bar keeps what it had.
    view.m_vert = &bar;
    si.nMax = 49;
    view.SetScrollInfo(SB_VERT, &si);
    view.SetScrollPos(SB_VERT, 7);
    EXPECT_EQ(bar.GetScrollPos(), 7);
    EXPECT_EQ(view.GetScrollLimit(SB_VERT), 40);
    EXPECT_EQ(::GetScrollPos(view.m_hWnd, SB_VERT), 90);
    int lo = -1, hi = -1;
    view.GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(hi, 49);
    view.EnableScrollBarCtrl(SB_VERT, FALSE);
    EXPECT_FALSE(bar.IsWindowEnabled());
    view.m_vert = nullptr;
    view.EnableScrollBarCtrl(SB_VERT, FALSE);
    EXPECT_FALSE(view.GetStyle() & WS_VSCROLL);
    view.DestroyWindow();
}
}  // namespace
