#include <gtest/gtest.h>

#include <cstring>

#include "guilib/controls/OXSeparator.h"
#include "guilib/controls/OXStatic.h"
#include "tests/support/Gui.h"

namespace {

LRESULT GalleryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(hwnd, msg, wp, lp);
}

const COLORREF kShadow = RGB(128, 128, 128), kHighlight = RGB(255, 255, 255), kFace = RGB(212, 208, 200);

// A 240 x 160 parent at the screen's origin (window and client coordinates agree), painted in the button face.
class StaticGallery : public ::testing::Test {
protected:
    void SetUp() override {
        SetSysColorForTest(COLOR_BTNSHADOW, kShadow);
        SetSysColorForTest(COLOR_BTNHIGHLIGHT, kHighlight);
        SetSysColorForTest(COLOR_BTNFACE, kFace);
        RegisterTestWindowClass("StaticGallery", GalleryProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "StaticGallery", "statics", WS_POPUP | WS_VISIBLE, 0, 0, 240, 160, nullptr,
                                    nullptr));
    }
    void TearDown() override {
        parent.DestroyWindow();
        Pump();
        ResetSysColors();
    }
    void Show() {
        ::RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN |
                                                                   RDW_UPDATENOW);
        Pump();
    }
    CWnd parent;
};

TEST_F(StaticGallery, SeparatorDrawsAnEtchedLineBrokenByItsCaption) {
    COXSeparator plain, captioned, vertical;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 10}, &parent, 11));
    ASSERT_TRUE(captioned.Create("Options", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER, RECT{0, 20, 200, 40},
                                 &parent, 12));
    vertical.SetVertOriented(TRUE, FALSE);
    ASSERT_TRUE(vertical.Create("", WS_CHILD | WS_VISIBLE, RECT{210, 0, 220, 100}, &parent, 13));
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    Show();
    PixelProbe px(parent.GetSafeHwnd());

    // 100 x 10: the band is rows 4 and 5; Draw3dRect leaves the top row's last pixel to the highlight.
    for (int x : {0, 50, 98})
        EXPECT_EQ(px.At(x, 4), kShadow) << x;
    EXPECT_EQ(px.At(99, 4), kHighlight);
    for (int x : {0, 50, 99})
        EXPECT_EQ(px.At(x, 5), kHighlight) << x;
    EXPECT_EQ(px.At(50, 3), kFace);
    EXPECT_EQ(px.At(50, 6), kFace);

    // The caption sits in the middle; the line stops short of it on both sides.
    EXPECT_EQ(px.At(2, 29), kShadow);
    EXPECT_EQ(px.At(197, 29), kShadow);
    EXPECT_EQ(px.At(100, 29) == kShadow, false);
    EXPECT_FALSE(GetWindowLongPtr(captioned.GetSafeHwnd(), GWL_STYLE) & WS_BORDER);

    // A vertical one runs down the middle of its width.
    EXPECT_EQ(px.At(214, 50), kShadow);
    EXPECT_EQ(px.At(215, 50), kHighlight);
    WriteScreenshot(parent.GetSafeHwnd(), "Gallery_Separator");

    // Its text is the caption, copied whole or bounded by the buffer.
    char text[32];
    EXPECT_EQ(GetWindowText(captioned.GetSafeHwnd(), text, sizeof(text)), 7);
    EXPECT_STREQ(text, "Options");
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(SendMessage(captioned.GetSafeHwnd(), WM_GETTEXT, 4, (LPARAM)text), 3);
    EXPECT_STREQ(text, "Opt");
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(SendMessage(captioned.GetSafeHwnd(), WM_GETTEXT, 0, (LPARAM)text), 0);
    EXPECT_EQ(text[0], 'x');
    SetWindowText(captioned.GetSafeHwnd(), "Operations");
    EXPECT_EQ(GetWindowTextLength(captioned.GetSafeHwnd()), 10);
}

TEST_F(StaticGallery, StaticBackgroundsByFillType) {
    const COLORREF blue = RGB(0, 0, 255);
    struct Case {
        int fill;
        COLORREF back;
        int atLeft, atMiddle, atRight;  // expected blue component, -1: the parent's face shows
    } cases[] = {
        {OXSTATIC_SOLID, blue, 255, 255, 255},
        // c - c*d*d/(D*D) with D 100: at x 0 (d 99) 255 - 255*9801/10000 = 6; at x 50 (d 49) 194.
        {OXSTATIC_GRADIENT_LEFT, blue, 6, 194, 255},
        {OXSTATIC_GRADIENT_RIGHT, blue, 255, 192, 6},
        // D 50, from the middle: d 50 at x 0, 49 at x 99.
        {OXSTATIC_GRADIENT_CENTER, blue, 11, 255, 11},
        {OXSTATIC_SOLID, CLR_NONE, -1, -1, -1},
    };
    int row = 0;
    COXStatic statics[5];
    for (const Case& c : cases) {
        int top = row * 12;
        ASSERT_TRUE(statics[row].Create("", WS_CHILD | WS_VISIBLE | SS_LEFT, RECT{0, top, 100, top + 10},
                                        &parent, 20 + row));
        statics[row].SetBkColor(c.back, FALSE);
        statics[row].SetDisplayFlag(c.fill, FALSE);
        ++row;
    }
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    Show();
    PixelProbe px(parent.GetSafeHwnd());
    row = 0;
    for (const Case& c : cases) {
        int y = row * 12 + 5;
        int xs[3] = {0, 50, 99};
        int want[3] = {c.atLeft, c.atMiddle, c.atRight};
        for (int i = 0; i < 3; ++i) {
            COLORREF got = px.At(xs[i], y);
            if (want[i] < 0)
                EXPECT_EQ(got, kFace) << "row " << row << " x " << xs[i];
            else
                EXPECT_EQ(got, RGB(0, 0, want[i])) << "row " << row << " x " << xs[i];
        }
        ++row;
    }
    WriteScreenshot(parent.GetSafeHwnd(), "Gallery_StaticBackgrounds");
}

TEST_F(StaticGallery, FitToTextKeepsTheAlignedEdge) {
    COXStatic right, left;
    ASSERT_TRUE(right.Create("Fit me", WS_CHILD | WS_VISIBLE | SS_RIGHT, RECT{20, 20, 220, 60}, &parent, 31));
    ASSERT_TRUE(left.Create("Fit me", WS_CHILD | WS_VISIBLE | SS_LEFT, RECT{20, 80, 220, 120}, &parent, 32));
    right.SetFitToText(TRUE);
    left.SetFitToText(TRUE);
    RECT r{}, l{};
    GetWindowRect(right.GetSafeHwnd(), &r);
    GetWindowRect(left.GetSafeHwnd(), &l);
    EXPECT_EQ(r.right, 220);
    EXPECT_EQ(r.top, 20);
    EXPECT_LT(r.right - r.left, 100);
    EXPECT_GT(r.right - r.left, 10);
    EXPECT_EQ(l.left, 20);
    EXPECT_EQ(l.right - l.left, r.right - r.left);
    EXPECT_LT(l.bottom - l.top, 40);

    // Fitting off: back to the rectangle it had.
    right.SetFitToText(FALSE);
    GetWindowRect(right.GetSafeHwnd(), &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 60);

    // The tooltip follows the text unless its owner gives one.
    left.SetShowToolTip(TRUE);
    EXPECT_STREQ(left.GetToolTipText(), "Fit me");
    SetWindowText(left.GetSafeHwnd(), "Longer text");
    EXPECT_STREQ(left.GetToolTipText(), "Longer text");
    left.SetToolTipText("Mine");
    SetWindowText(left.GetSafeHwnd(), "Again");
    EXPECT_STREQ(left.GetToolTipText(), "Mine");
}

}  // namespace
