// A frame lays out its bars with WM_SIZEPARENT and gives the rest to its client window; a delayed
// layout waits for the next idle time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/docview/View.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/frames/SplitterWnd.h"

namespace {
std::vector<UINT> g_sizeParentOrder;

// A bar stand-in: takes `size` pixels off one side of what the layout has left.
class CBarStandIn : public CWnd {
public:
    enum Side { Top, Bottom, Left };
    CBarStandIn(Side side, int size) : m_side(side), m_size(size) {}
    BOOL m_visible = TRUE;
    int m_calls = 0;

protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        ++m_calls;
        g_sizeParentOrder.push_back((UINT)GetDlgCtrlID());
        if (!m_visible)
            return 0;
        RECT r = layout->rect;
        switch (m_side) {
            case Top:
                r.bottom = r.top + m_size;
                layout->rect.top += m_size;
                break;
            case Bottom:
                r.top = r.bottom - m_size;
                layout->rect.bottom -= m_size;
                break;
            case Left:
                r.right = r.left + m_size;
                layout->rect.left += m_size;
                break;
        }
        layout->sizeTotal.cy += m_side == Left ? 0 : m_size;
        layout->sizeTotal.cx += m_side == Left ? m_size : 0;
        AfxRepositionWindow(layout, m_hWnd, &r);
        return 0;
    }
    Side m_side;
    int m_size;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBarStandIn, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT tl{r.left, r.top}, br{r.right, r.bottom};
    ScreenToClient(GetParent(child), &tl);
    ScreenToClient(GetParent(child), &br);
    return RECT{tl.x, tl.y, br.x, br.y};
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class FrameLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_sizeParentOrder.clear();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "App", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 600}));
        app.m_pMainWnd = frame;
        RECT zero{0, 0, 0, 0};
        // Made in the order a frame makes them: the client first, then the bars.
        ASSERT_TRUE(client.Create(nullptr, nullptr, WS_VISIBLE, zero, frame, AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(top.Create(nullptr, nullptr, WS_VISIBLE, zero, frame, AFX_IDW_TOOLBAR));
        ASSERT_TRUE(bottom.Create(nullptr, nullptr, WS_VISIBLE, zero, frame, AFX_IDW_STATUS_BAR));
        ASSERT_TRUE(left.Create(nullptr, nullptr, WS_VISIBLE, zero, frame, AFX_IDW_DOCKBAR_LEFT));
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (IsWindow(frameHwnd()))
            frame->DestroyWindow();
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND frameHwnd() { return frame ? frame->m_hWnd : nullptr; }

    CWinApp app{"LayoutApp"};
    CFrameWnd* frame = nullptr;
    CWnd client;
    CBarStandIn top{CBarStandIn::Top, 26};
    CBarStandIn bottom{CBarStandIn::Bottom, 20};
    CBarStandIn left{CBarStandIn::Left, 150};
};
}  // namespace

TEST_F(FrameLayoutTest, BarsTakeTheirSidesInZOrderAndTheClientGetsTheRest) {
    g_sizeParentOrder.clear();
    frame->RecalcLayout();
    EXPECT_EQ(g_sizeParentOrder,
              (std::vector<UINT>{AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR, AFX_IDW_DOCKBAR_LEFT}));
    RECT fc;
    frame->GetClientRect(&fc);
    // 800 x 600 less the frame's border and caption.
    EXPECT_EQ(fc.right, 800 - 8);
    EXPECT_EQ(fc.bottom, 600 - 8 - 19);
    EXPECT_EQ(Str(ChildRect(top)), Str(RECT{0, 0, fc.right, 26}));
    EXPECT_EQ(Str(ChildRect(bottom)), Str(RECT{0, fc.bottom - 20, fc.right, fc.bottom}));
    EXPECT_EQ(Str(ChildRect(left)), Str(RECT{0, 26, 150, fc.bottom - 20}));
    EXPECT_EQ(Str(ChildRect(client)), Str(RECT{150, 26, fc.right, fc.bottom - 20}));

    // Query mode computes the rest and moves nothing.
    RECT rest{};
    RECT before = ChildRect(client);
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rest);
    EXPECT_EQ(Str(rest), Str(before));
    EXPECT_TRUE(Same(ChildRect(client), before));

    // A resized frame lays out again at once.
    frame->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
    frame->GetClientRect(&fc);
    EXPECT_EQ(Str(ChildRect(client)), Str(RECT{150, 26, fc.right, fc.bottom - 20}));
}

TEST_F(FrameLayoutTest, DelayedLayoutWaitsForTheNextIdleTime) {
    frame->RecalcLayout();
    RECT before = ChildRect(client);
    left.m_visible = FALSE;  // a bar that hides itself asks for the layout later
    frame->DelayRecalcLayout();
    EXPECT_TRUE(Same(ChildRect(client), before));
    app.OnIdle(0);
    RECT fc;
    frame->GetClientRect(&fc);
    EXPECT_EQ(Str(ChildRect(client)), Str(RECT{0, 26, fc.right, fc.bottom - 20}));
    EXPECT_EQ(frame->m_nIdleFlags, 0u);
}

namespace {
class CPaneView : public CView {
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(HDC) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)
}  // namespace

TEST(SplitterTest, StaticPanesTakeTheirRowsAndTheFirstPaneIsTheFramesView) {
    CWinApp app{"SplitterApp"};
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "App", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}));
    app.m_pMainWnd = frame;
    CSplitterWnd bad;
    EXPECT_FALSE(bad.CreateStatic(frame, 0, 1));
    EXPECT_FALSE(bad.CreateStatic(frame, 1, 17));

    auto* splitter = new CSplitterWnd;  // a plain window object: deleted below with the frame's end
    ASSERT_TRUE(splitter->CreateStatic(frame, 2, 1));
    ASSERT_TRUE(splitter->CreateView(0, 0, RUNTIME_CLASS(CPaneView), SIZE{0, 100}, nullptr));
    ASSERT_TRUE(splitter->CreateView(1, 0, RUNTIME_CLASS(CPaneView), SIZE{0, 0}, nullptr));
    EXPECT_FALSE(splitter->CreateView(1, 0, RUNTIME_CLASS(CPaneView), SIZE{0, 0}, nullptr));  // taken
    EXPECT_FALSE(splitter->CreateView(2, 0, RUNTIME_CLASS(CPaneView), SIZE{0, 0}, nullptr));  // no such row
    frame->RecalcLayout();
    RECT fc;
    frame->GetClientRect(&fc);
    EXPECT_EQ(Str(ChildRect(*splitter)), Str(fc));

    int current = -1, minimum = -1;
    splitter->GetRowInfo(0, current, minimum);
    EXPECT_EQ(current, 100);
    splitter->GetRowInfo(1, current, minimum);
    EXPECT_EQ(current, fc.bottom - 100 - splitter->m_cySplitterGap);
    EXPECT_EQ(Str(ChildRect(*splitter->GetPane(1, 0))),
              Str(RECT{0, 100 + splitter->m_cySplitterGap, fc.right, fc.bottom}));
    splitter->GetColumnInfo(5, current, minimum);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(splitter->GetPane(0, 1), nullptr);

    // Below its minimum a row collapses and its pane hides.
    splitter->SetRowInfo(0, 30, 50);
    splitter->RecalcLayout();
    splitter->GetRowInfo(0, current, minimum);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(minimum, 50);
    EXPECT_FALSE(splitter->GetPane(0, 0)->IsWindowVisible());

    // The splitter sits in the first pane's place; the frame's view is its first pane.
    frame->InitialUpdateFrame(nullptr, TRUE);
    EXPECT_EQ(frame->GetActiveView(), splitter->GetPane(0, 0));
    EXPECT_TRUE(splitter->IsKindOf(RUNTIME_CLASS(CSplitterWnd)));
    frame->DestroyWindow();
    delete splitter;
}
