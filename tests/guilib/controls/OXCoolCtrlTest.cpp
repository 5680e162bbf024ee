#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/base/Clock.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/ListBox.h"
#include "platform/framework/controls/SpinButtonCtrl.h"
#include "tests/support/Gui.h"

// Every generic form compiles.
template class COXCoolCtrl<CListBox>;
template class COXCoolCtrl<CWnd>;

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(128, 128, 128), kDark = RGB(64, 64, 64),
               kFace = RGB(212, 208, 200);

class CoolEdit : public COXCoolCtrl<CEdit> {
public:
    UINT_PTR HoverTimer() const { return m_nHoverTimer; }
};

class CoolCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("CoolParent", ::DefWindowProc, COLOR_BTNFACE);
        parent = CreateWindowEx(0, "CoolParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        edit = CreateWindowEx(WS_EX_CLIENTEDGE, "Edit", "text", WS_CHILD | WS_VISIBLE, 20, 20, 100, 24, parent,
                              (HMENU)(UINT_PTR)101, nullptr, nullptr);
        other = CreateWindowEx(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 20, 100, 100, 24, parent,
                               (HMENU)(UINT_PTR)102, nullptr, nullptr);
        SetCursorPos(5, 5);
        SetFocus(other);
        Pump();
    }
    void TearDown() override {
        if (cool.GetSafeHwnd())
            cool.UnsubclassWindow();
        if (spin.GetSafeHwnd())
            spin.DestroyWindow();
        DestroyWindow(parent);
        Pump();
    }
    void Attach() {
        ASSERT_TRUE(cool.SubclassWindow(edit));
        Repaint();
    }
    void Repaint() {
        RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    // The pointer comes over a window: a move as the display delivers it.
    void MouseOver(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        SetCursorPos(r.left + 3, r.top + 3);
        POINT c{3, 3};
        SendMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(c.x, c.y));
        Pump();
    }
    struct Rings {
        COLORREF outerTL, outerBR, innerTL, innerBR;
    };
    Rings Read(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        PixelProbe px(hwnd);
        return Rings{px.At(0, h / 2), px.At(w - 1, h / 2), px.At(1, h / 2), px.At(w - 2, h / 2)};
    }

    DrivenClock clock;
    HWND parent = nullptr, edit = nullptr, other = nullptr;
    CoolEdit cool;
    CSpinButtonCtrl spin;
};

TEST_F(CoolCtrlTest, BorderColoursFollowTheState) {
    Attach();
    struct Case {
        const char* name;
        std::function<void()> enter;
        Rings expected;
    } cases[] = {
        {"flat", [] {}, {kWhite, kWhite, kWhite, kWhite}},
        {"focused", [&] { SetFocus(edit); }, {kGrey, kWhite, kDark, kFace}},
        {"hot", [&] { MouseOver(edit); }, {kGrey, kWhite, kDark, kFace}},
        {"disabled", [&] { EnableWindow(edit, FALSE); }, {kWhite, kWhite, kGrey, kGrey}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.enter();
        Repaint();
        Rings got = Read(edit);
        EXPECT_EQ(got.outerTL, c.expected.outerTL);
        EXPECT_EQ(got.outerBR, c.expected.outerBR);
        EXPECT_EQ(got.innerTL, c.expected.innerTL);
        EXPECT_EQ(got.innerBR, c.expected.innerBR);
        // Back to the flat start.
        EnableWindow(edit, TRUE);
        SetFocus(other);
        SetCursorPos(5, 5);
        clock.Advance(150);
        Pump();
    }
    WriteScreenshot(parent, "CoolEditFlat");
}

TEST_F(CoolCtrlTest, ABorderlessControlIsLeftAsTheSystemDrawsIt) {
    HWND plain = CreateWindowEx(0, "Edit", "plain", WS_CHILD | WS_VISIBLE, 150, 20, 100, 24, parent, nullptr,
                                nullptr, nullptr);
    Repaint();
    std::vector<COLORREF> before;
    PixelProbe px(plain);
    for (int y = 0; y < 24; y += 3)
        for (int x = 0; x < 100; x += 3)
            before.push_back(px.At(x, y));
    CoolEdit borderless;
    ASSERT_TRUE(borderless.SubclassWindow(plain));
    Repaint();
    size_t i = 0;
    for (int y = 0; y < 24; y += 3)
        for (int x = 0; x < 100; x += 3)
            ASSERT_EQ(px.At(x, y), before[i++]) << x << "," << y;
    borderless.UnsubclassWindow();
}

TEST_F(CoolCtrlTest, HoverIsTrackedByTheTimerAndTheAttachedSpinCountsAsTheControl) {
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT, RECT{0, 0, 16, 24}, CWnd::FromHandle(parent), 103));
    spin.SetBuddy(CWnd::FromHandle(edit));
    Attach();
    MouseOver(edit);
    EXPECT_TRUE(cool.IsInFocusState());
    EXPECT_EQ(cool.HoverTimer(), (UINT_PTR)ID_OXCOOLCTRL_HOVERTIMER);

    // Onto the spin: still active at the next tick.
    RECT s;
    spin.GetWindowRect(&s);
    SetCursorPos(s.right - 3, s.top + 5);
    clock.Advance(150);
    Pump();
    EXPECT_TRUE(cool.IsInFocusState());

    // Off both, without a mouse message: flat at the next tick.
    SetCursorPos(5, 5);
    clock.Advance(149);
    Pump();
    EXPECT_TRUE(cool.IsInFocusState());
    clock.Advance(1);
    Pump();
    EXPECT_FALSE(cool.IsInFocusState());
    EXPECT_EQ(cool.HoverTimer(), 0u);
}

TEST_F(CoolCtrlTest, AFocusedControlStaysActiveUntilTheFocusLeavesForAnotherWindow) {
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT, RECT{0, 0, 16, 24}, CWnd::FromHandle(parent), 103));
    spin.SetBuddy(CWnd::FromHandle(edit));
    Attach();
    SetFocus(edit);
    EXPECT_TRUE(cool.IsInFocusState());
    MouseOver(edit);
    SetCursorPos(5, 5);
    clock.Advance(150);
    Pump();
    EXPECT_TRUE(cool.IsInFocusState());  // the mouse left, the focus stays
    SetFocus(spin.GetSafeHwnd());
    EXPECT_TRUE(cool.IsInFocusState());  // its own spin
    SetFocus(edit);
    SetFocus(other);
    EXPECT_FALSE(cool.IsInFocusState());
}

TEST_F(CoolCtrlTest, TooltipTextKeepsRemovesAndFollowsTheSize) {
    Attach();
    CString text;
    ASSERT_TRUE(cool.GetTooltipText(text));
    EXPECT_EQ(std::string(text), "");
    ASSERT_TRUE(cool.SetTooltipText("Name"));
    EXPECT_EQ(cool.GetToolTip().GetToolCount(), 1);
    ASSERT_TRUE(cool.SetTooltipText("Name"));
    EXPECT_EQ(cool.GetToolTip().GetToolCount(), 1);
    cool.GetTooltipText(text);
    EXPECT_EQ(std::string(text), "Name");

    // A resize puts the tool over the new client area, with its text.
    cool.MoveWindow(20, 20, 160, 40);
    TOOLINFO info;
    ASSERT_TRUE(cool.GetToolTip().GetToolInfo(info, &cool, ID_OXCOOLCTRL_TOOLTIP));
    RECT client;
    cool.GetClientRect(&client);
    EXPECT_EQ(info.rect.right, client.right);
    EXPECT_EQ(info.rect.bottom, client.bottom);
    cool.GetTooltipText(text);
    EXPECT_EQ(std::string(text), "Name");

    ASSERT_TRUE(cool.SetTooltipText(""));
    EXPECT_EQ(cool.GetToolTip().GetToolCount(), 0);
}

TEST(CoolThumb, PlacementAndLimits) {
    struct Case {
        const char* name;
        int track;
        int maximum;
        UINT page;
        int pos;
        BOOL thumb;
        int offset, length;
    } cases[] = {
        {"short track", 7, 100, 10, 0, FALSE, 0, 0},
        {"no page", 100, 100, 0, 0, FALSE, 0, 0},
        {"page over maximum", 100, 100, 101, 0, FALSE, 0, 0},
        {"page equal to maximum", 100, 99, 99, 0, TRUE, 0, 99},
        {"start", 100, 99, 10, 0, TRUE, 0, 10},
        {"middle", 100, 99, 10, 45, TRUE, 45, 10},
        {"last position ends at the end", 100, 99, 10, 90, TRUE, 90, 10},
        {"never shorter than 8", 100, 999, 10, 0, TRUE, 0, 8},
        {"small thumb at the end", 100, 999, 10, 990, TRUE, 92, 8},
        {"whole int range", 200, INT_MAX, 1000, INT_MAX - 999, TRUE, 192, 8},
        {"whole int range, half way", 200, INT_MAX, (UINT)(INT_MAX / 2), INT_MAX / 4, TRUE, 50, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.nMax = c.maximum;
        si.nPage = c.page;
        si.nPos = c.pos;
        int offset = -1, length = -1;
        EXPECT_EQ(oxcool::CalcThumb(c.track, si, offset, length), c.thumb);
        if (c.thumb) {
            EXPECT_EQ(offset, c.offset);
            EXPECT_EQ(length, c.length);
        }
    }
}

}  // namespace
