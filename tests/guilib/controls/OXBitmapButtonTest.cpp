#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "guilib/controls/OXBitmapButton.h"
#include "tests/support/Gui.h"

namespace {

std::vector<UINT> g_buttonCodes;
LRESULT g_buttonAnswer = 0;

LRESULT ButtonParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        UINT code = reinterpret_cast<NMHDR*>(lp)->code;
        if (code == OXBBN_DROPDOWN || code == OXBBN_TOGGLE) {
            g_buttonCodes.push_back(code);
            return g_buttonAnswer;
        }
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

// A button that counts the default steps its parent may veto.
class CountingButton : public COXBitmapButton {
public:
    int dropDowns = 0, toggles = 0;
    void OnDropDown() override { ++dropDowns; }
    void OnToggle() override { ++toggles; }
    using COXBitmapButton::CalcTextSize;
};

HIMAGELIST RedSquares(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, 1, 1);
    std::vector<DWORD> pixels((size_t)size * size, 0xFFFF0000u);
    HBITMAP bitmap = CreateBitmap(size, size, 1, 32, pixels.data());
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

// A 240 x 100 parent at the screen's origin with a 100 x 30 button at (10, 10).
class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_buttonCodes.clear();
        g_buttonAnswer = 0;
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_BTNHIGHLIGHT, RGB(255, 255, 255));
        RegisterTestWindowClass("BitmapButtonParent", ButtonParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "BitmapButtonParent", "buttons", WS_POPUP | WS_VISIBLE, 0, 0, 240, 100,
                                    nullptr, nullptr));
        ASSERT_TRUE(button.Create("Save\nSave the file", WS_CHILD | WS_VISIBLE | BS_CENTER | BS_VCENTER,
                                  RECT{10, 10, 110, 40}, &parent, 21));
        images = RedSquares(16);
        button.SetImageList(images);
    }
    void TearDown() override {
        button.DestroyWindow();
        parent.DestroyWindow();
        Pump();
        ImageList_Destroy(images);
        ResetSysColors();
    }
    CWnd parent;
    CountingButton button;
    HIMAGELIST images = nullptr;
};

TEST_F(BitmapButtonTest, LaysOutImageBesideTextAndFitsThem) {
    EXPECT_EQ(button.GetText(), "Save");
    EXPECT_EQ(button.GetToolTipText(), "Save the file");
    EXPECT_EQ(GetWindowLongPtr(button.GetSafeHwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    RECT image{}, text{};
    button.CalcLayoutRects(0, RECT{0, 0, 100, 30}, image, text);
    EXPECT_EQ(image.left, 5);
    EXPECT_EQ(image.top, 7);
    EXPECT_EQ(image.right, 21);
    EXPECT_EQ(image.bottom, 23);
    EXPECT_EQ(text.left, 26);
    SIZE t = button.CalcTextSize(TRUE, SIZE{16, 16});
    SIZE fit = button.GetFitButtonSize();
    EXPECT_EQ(fit.cx, 33 + t.cx);
    EXPECT_EQ(fit.cy, std::max(26, (int)t.cy + 12));
    // Pressed, the image and text move by two pixels.
    button.CalcLayoutRects(ODS_SELECTED, RECT{0, 0, 100, 30}, image, text);
    EXPECT_EQ(image.left, 7);
    EXPECT_EQ(image.top, 9);
    // A drop-down button without its arrow has no arrow area.
    button.SetStyleEx(OXBB_EX_DROPDOWN | OXBB_EX_DROPDOWNNOARROW, FALSE);
    EXPECT_FALSE(button.HasDropDownArrow());
    EXPECT_EQ(button.GetDropDownArrowSize().cx, 0);
    button.SetStyleEx(OXBB_EX_DROPDOWN, FALSE);
    EXPECT_EQ(button.GetDropDownArrowSize().cx, button.GetDropDownArrowWidth() + 2);
    EXPECT_EQ(button.GetFitButtonSize().cx, fit.cx + button.GetDropDownArrowWidth() + 2);
    button.SizeToContent();
    RECT window{};
    GetWindowRect(button.GetSafeHwnd(), &window);
    EXPECT_EQ(window.right - window.left, fit.cx + button.GetDropDownArrowWidth() + 2);
    EXPECT_EQ(window.left, 10);
}

TEST_F(BitmapButtonTest, ThreeStateToggleCyclesAndTheParentCanVeto) {
    button.SetStyleEx(OXBB_EX_TOGGLE | OXBB_EX_TOGGLE3STATE, FALSE);
    std::vector<DWORD> states;
    for (int i = 0; i < 3; ++i) {
        ClickCentre(button.GetSafeHwnd());
        Pump();
        states.push_back(button.GetStateEx());
    }
    EXPECT_EQ(states, (std::vector<DWORD>{OXBB_STATE_CHECKED, OXBB_STATE_INDETERMINATE, 0}));
    EXPECT_EQ(button.toggles, 3);
    g_buttonAnswer = 1;
    ClickCentre(button.GetSafeHwnd());
    Pump();
    EXPECT_EQ(button.toggles, 3) << "32871 vetoed";
    button.SetStyleEx(OXBB_EX_DROPDOWN, FALSE);
    ClickCentre(button.GetSafeHwnd());
    Pump();
    EXPECT_EQ(button.dropDowns, 0) << "32870 vetoed";
    g_buttonAnswer = 0;
    ClickCentre(button.GetSafeHwnd());
    Pump();
    EXPECT_EQ(button.dropDowns, 1);
    EXPECT_EQ(g_buttonCodes,
              (std::vector<UINT>{OXBBN_TOGGLE, OXBBN_TOGGLE, OXBBN_TOGGLE, OXBBN_TOGGLE, OXBBN_DROPDOWN, OXBBN_DROPDOWN}));
    // Disabled by its own state: clicks do nothing.
    button.SetOwnEnabledState(TRUE);
    EXPECT_TRUE(button.EnableWindow(FALSE));
    EXPECT_FALSE(button.IsWindowEnabled());
    ClickCentre(button.GetSafeHwnd());
    Pump();
    EXPECT_EQ(button.dropDowns, 1);
}

TEST_F(BitmapButtonTest, ToolTipFollowsTheSecondLine) {
    ASSERT_TRUE(button.EnableToolTip(TRUE));
    EXPECT_EQ(button.GetToolTip()->GetToolCount(), 1);
    button.SetWindowText("Open");
    EXPECT_EQ(button.GetToolTip()->GetToolCount(), 0);
    button.SetWindowText("Open\nOpen a file");
    EXPECT_EQ(button.GetToolTip()->GetToolCount(), 1);
    button.EnableToolTip(FALSE);
    EXPECT_EQ(button.GetToolTip()->GetSafeHwnd(), nullptr);
}

TEST_F(BitmapButtonTest, MultilineCaptionsWrapToAModerateBlock) {
    LONG_PTR style = GetWindowLongPtr(button.GetSafeHwnd(), GWL_STYLE);
    SetWindowLongPtr(button.GetSafeHwnd(), GWL_STYLE, style | BS_MULTILINE);
    button.SetWindowText("A rather long caption for a small button that wraps");
    SIZE block = button.CalcTextSize(TRUE, SIZE{0, 0});
    EXPECT_GT(block.cy, 0);
    EXPECT_LT(block.cx, 2.6 * block.cy + 20);
    EXPECT_GE(block.cx, block.cy);
}

TEST_F(BitmapButtonTest, GalleryShowsTheButtonRaisedAndChecked) {
    COXBitmapButton checked;
    ASSERT_TRUE(checked.Create("Bold", WS_CHILD | WS_VISIBLE | BS_CENTER | BS_VCENTER, RECT{120, 10, 220, 40}, &parent,
                               22));
    checked.SetImageList(images);
    checked.SetStyleEx(OXBB_EX_TOGGLE, FALSE);
    checked.SetStateEx(OXBB_STATE_CHECKED, FALSE);
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    PixelProbe px(parent.GetSafeHwnd());
    EXPECT_EQ(px.At(10 + 5 + 8, 10 + 7 + 8), RGB(255, 0, 0)) << "the image at (5,7)";
    EXPECT_EQ(px.At(10 + 1, 10 + 1), RGB(255, 255, 255)) << "a raised frame";
    EXPECT_EQ(px.At(120 + 5 + 8 + 1, 10 + 7 + 8 + 1), RGB(255, 0, 0)) << "checked: one pixel further";
    EXPECT_EQ(px.At(120, 10) == RGB(255, 255, 255), false) << "a checked frame is sunken";
    EXPECT_TRUE(px.Any(RECT{10 + 26, 15, 10 + 90, 35}, [](COLORREF c) { return PixelProbe::Dark(c); }))
        << "the caption";
    EXPECT_FALSE(WriteScreenshot(parent.GetSafeHwnd(), "Gallery_BitmapButton").empty());
}

TEST_F(BitmapButtonTest, TheCaptionIsDrawnWholeInTheFontTheParentGaveTheButton) {
    // A large font of the parent's: measured and drawn in it, the caption is as wide and high as the font
    // makes it (drawn in another font it came out small, or clipped to the measured width).
    LOGFONT lf{};
    lf.lfHeight = -27;
    lf.lfWeight = FW_BOLD;
    strcpy(lf.lfFaceName, "MS Sans Serif");
    CFont large;
    ASSERT_TRUE(large.CreateFontIndirect(&lf));
    COXBitmapButton caption;
    ASSERT_TRUE(caption.Create("Modify", WS_CHILD | WS_VISIBLE | BS_CENTER | BS_VCENTER, RECT{10, 45, 230, 95},
                               &parent, 23));
    caption.SendMessage(WM_SETFONT, (WPARAM)large.GetSafeHandle(), FALSE);
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();

    HDC dc = GetDC(parent.GetSafeHwnd());
    HGDIOBJ old = SelectObject(dc, large.GetSafeHandle());
    SIZE extent{};
    GetTextExtentPoint32(dc, "Modify", 6, &extent);
    SelectObject(dc, old);
    ReleaseDC(parent.GetSafeHwnd(), dc);

    PixelProbe px(parent.GetSafeHwnd());
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 47; y < 93; ++y)
        for (int x = 12; x < 228; ++x)
            if (PixelProbe::Dark(px.At(x, y), 96)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left) << "no caption drawn";
    EXPECT_GE(right - left + 1, extent.cx * 85 / 100);
    EXPECT_LE(right - left + 1, extent.cx + 2);
    EXPECT_GE(bottom - top + 1, 16) << "the letters as high as the large font's";
    caption.DestroyWindow();
}

}  // namespace
