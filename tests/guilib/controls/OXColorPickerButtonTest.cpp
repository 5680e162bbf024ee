#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "guilib/controls/OXColorPickerButton.h"
#include "platform/user/ColorDialog.h"
#include "tests/support/Gui.h"

namespace {

struct Message {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Message> g_picked;

LRESULT PickerParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_POPUPBAR_PICKED) {
        g_picked.push_back({wp, lp});
        return 0;
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

HIMAGELIST GreenSquares(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, 1, 1);
    std::vector<DWORD> pixels((size_t)size * size, 0xFF00FF00u);
    HBITMAP bitmap = CreateBitmap(size, size, 1, 32, pixels.data());
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

class ProbeButton : public COXColorPickerButton {
public:
    using COXColorPickerButton::COXColorPickerButton;
    using COXColorPickerButton::GetImageSize;
};

// A 300 x 200 parent at the screen's origin; a 60 x 40 picker button with a 16 x 16 image at (10, 10),
// its picker's default colour blue.
class ColorPickerButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_picked.clear();
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_BTNSHADOW, RGB(128, 128, 128));
        RegisterTestWindowClass("ColorPickerButtonParent", PickerParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "ColorPickerButtonParent", "colours", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                    nullptr, nullptr));
        SetActiveWindow(parent.GetSafeHwnd());
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 10, 70, 50}, &parent, 31));
        images = GreenSquares(16);
        button.SetImageList(images);
    }
    void TearDown() override {
        button.DestroyWindow();
        parent.DestroyWindow();
        Pump();
        ImageList_Destroy(images);
        ResetSysColors();
    }
    // The bar as drawn now, in parent coordinates.
    RECT Bar(UINT state = 0) {
        RECT client{}, image{}, text{};
        GetClientRect(button.GetSafeHwnd(), &client);
        RECT drawing = client;
        drawing.right -= button.GetDropDownArrowSize().cx;
        button.CalcLayoutRects(state, drawing, image, text);
        RECT bar = button.CalcColorBarRect(state, image, client);
        OffsetRect(&bar, 10, 10);
        return bar;
    }
    void Repaint() {
        RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    static POINT Centre(HWND hwnd, RECT rc) {
        POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(hwnd, &p);
        return p;
    }
    // A step that clicks a place of the dropped-down picker.
    ModalSteps::Step ClickPicker(std::function<RECT(COXColorPickerCtrl&)> where) {
        return [this, where](HWND) {
            COXColorPickerCtrl& picker = *button.GetColorPickerCtrl();
            POINT p = Centre(picker.GetSafeHwnd(), where(picker));
            PostMouseInput(WM_MOUSEMOVE, p, 0);
            PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
            PostMouseInput(WM_LBUTTONUP, p, 0);
        };
    }
    void Press(ModalSteps& steps, std::vector<ModalSteps::Step> script) {
        steps.Start(std::move(script));
        ClickCentre(button.GetSafeHwnd());
        Pump();
    }
    CWnd parent;
    ProbeButton button{OX_COLORPICKER_COLORS, 5, RGB(0, 0, 255)};
    HIMAGELIST images = nullptr;
};

TEST_F(ColorPickerButtonTest, CreationMakesThePickerAndTheArrowStyle) {
    HWND picker = button.GetColorPickerCtrl()->GetSafeHwnd();
    ASSERT_TRUE(IsWindow(picker));
    EXPECT_EQ(GetWindow(picker, GW_OWNER), parent.GetSafeHwnd()) << "a popup is owned by the top-level window";
    EXPECT_TRUE(button.HasDropDownArrow());
    EXPECT_EQ(button.GetColor(), 0xFFFFFFFFu) << "no colour at construction";
    // A button subclassed after its creation gets its picker too.
    HWND plain = CreateWindowEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 80, 10, 60, 40,
                                parent.GetSafeHwnd(), (HMENU)32, nullptr, nullptr);
    COXColorPickerButton later;
    ASSERT_TRUE(later.SubclassDlgItem(32, &parent));
    EXPECT_TRUE(IsWindow(later.GetColorPickerCtrl()->GetSafeHwnd()));
    later.DestroyWindow();
    EXPECT_FALSE(IsWindow(plain));
}

TEST_F(ColorPickerButtonTest, ImageSizeGrowsByTheBarAndTwo) {
    EXPECT_EQ(button.GetImageSize().cx, 16);
    EXPECT_EQ(button.GetImageSize().cy, 16 + 7);
    button.SetColorBarHeight(0, FALSE);
    EXPECT_EQ(button.GetImageSize().cy, 16);
    button.SetColorBarHeight(9, FALSE);
    EXPECT_EQ(button.GetImageSize().cy, 16 + 11);
}

TEST_F(ColorPickerButtonTest, TheBarShowsTheColourFramedInShadow) {
    const COLORREF face = RGB(212, 208, 200), shadow = RGB(128, 128, 128);
    struct Case {
        const char* what;
        COLORREF colour;
        bool enabled;
        COLORREF inside;
    } cases[] = {
        {"a colour", RGB(255, 0, 0), true, RGB(255, 0, 0)},
        {"CLR_DEFAULT shows the picker's default", CLR_DEFAULT, true, RGB(0, 0, 255)},
        {"none", 0xFFFFFFFF, true, face},
        {"disabled: empty", RGB(255, 0, 0), false, face},
    };
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        button.SetColor(c.colour);
        button.EnableWindow(c.enabled);
        Repaint();
        RECT bar = Bar();
        ASSERT_EQ(bar.bottom - bar.top, OX_COLORPICKER_BARHEIGHT);
        PixelProbe px(parent.GetSafeHwnd());
        EXPECT_EQ(px.At(bar.left, bar.top), shadow);
        EXPECT_EQ(px.At(bar.right - 1, bar.bottom - 1), shadow);
        EXPECT_EQ(px.At((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2), c.inside);
        if (c.enabled) {
            EXPECT_EQ(px.At(bar.left + 8, bar.top - 3 - 8), RGB(0, 255, 0)) << "the image above the bar";
        }
    }
    EXPECT_EQ(button.GetColor(), RGB(255, 0, 0)) << "the colour is kept while disabled";
    // Without an image the bar lies under the text; with neither, across the face.
    button.EnableWindow(TRUE);
    button.SetImageList(nullptr);
    button.SetColor(RGB(0, 128, 0));
    Repaint();
    RECT bar = Bar();
    EXPECT_EQ(bar.bottom - bar.top, OX_COLORPICKER_BARHEIGHT);
    EXPECT_EQ(PixelProbe(parent.GetSafeHwnd()).At((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2),
              RGB(0, 128, 0));
}

TEST_F(ColorPickerButtonTest, PressingDropsThePickerDownAndTakesTheChosenColour) {
    button.SetColor(RGB(255, 0, 0));
    button.GetColorPickerCtrl()->SetDefaultButtonText("Automatic");
    button.GetColorPickerCtrl()->SetCustomButtonText("More Colors...");
    int selectedWhileOpen = -1;
    RECT pickerRect{};
    {
        ModalSteps steps;
        Press(steps, {[&](HWND) {
                          selectedWhileOpen = button.GetColorPickerCtrl()->GetSelectedIndex();
                          GetWindowRect(button.GetColorPickerCtrl()->GetSafeHwnd(), &pickerRect);
                          WriteScreenshot(button.GetColorPickerCtrl()->GetSafeHwnd(), "Gallery_ColorPickerDropped");
                          WriteScreenshot(parent.GetSafeHwnd(), "Gallery_ColorPickerButtonPressed");
                      },
                      ClickPicker([](COXColorPickerCtrl& p) { return p.GetButtonRect(13); })});
    }
    EXPECT_EQ(selectedWhileOpen, 16 + 1) << "the button's red is the picker's selection";
    EXPECT_GE(pickerRect.top, 50) << "below the button";
    EXPECT_EQ(button.GetColor(), RGB(0, 0, 255));
    Repaint();
    RECT bar = Bar();
    EXPECT_EQ(PixelProbe(parent.GetSafeHwnd()).At((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2),
              RGB(0, 0, 255));

    // Beside the button with the right-hand style; Escape keeps the colour.
    button.SetStyleEx(button.GetStyleEx() | OXBB_EX_DROPDOWNRIGHT, FALSE);
    {
        ModalSteps steps;
        Press(steps, {[&](HWND) { GetWindowRect(button.GetColorPickerCtrl()->GetSafeHwnd(), &pickerRect); },
                      ModalSteps::Key(VK_ESCAPE)});
    }
    EXPECT_GE(pickerRect.left, 70) << "right of the button";
    EXPECT_EQ(button.GetColor(), RGB(0, 0, 255));

    // CLR_DEFAULT opens on the default button; the colour dialog's Cancel keeps the colour.
    button.SetColor(CLR_DEFAULT);
    {
        ModalSteps steps;
        Press(steps, {[&](HWND) { selectedWhileOpen = button.GetColorPickerCtrl()->GetSelectedIndex(); },
                      ClickPicker([](COXColorPickerCtrl& p) { return p.GetCustomButtonRect(); }),
                      ModalSteps::ClickItem(IDCANCEL)});
    }
    EXPECT_EQ(selectedWhileOpen, 0);
    EXPECT_EQ(button.GetColor(), CLR_DEFAULT);
    // OK takes the dialog's colour.
    {
        ModalSteps steps;
        Press(steps, {ClickPicker([](COXColorPickerCtrl& p) { return p.GetCustomButtonRect(); }),
                      [](HWND dialog) {
                          SetDlgItemText(dialog, COLOR_RED, "10");
                          SetDlgItemText(dialog, COLOR_GREEN, "20");
                          SetDlgItemText(dialog, COLOR_BLUE, "30");
                      },
                      ModalSteps::ClickItem(IDOK)});
    }
    EXPECT_EQ(button.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(button.GetColorPickerCtrl()->GetSelectedIndex(), OX_COLORPICKER_COLORS + 1);
}

TEST_F(ColorPickerButtonTest, APickerReportReachesTheParentFromTheButton) {
    COXColorPickerCtrl& picker = *button.GetColorPickerCtrl();
    picker.SetSelectedValue(RGB(1, 2, 3));
    // Another window's report is not the picker's.
    SendMessage(button.GetSafeHwnd(), WM_POPUPBAR_PICKED, 0, (LPARAM)parent.GetSafeHwnd());
    EXPECT_TRUE(g_picked.empty());
    EXPECT_EQ(button.GetColor(), 0xFFFFFFFFu);
    SendMessage(button.GetSafeHwnd(), WM_POPUPBAR_PICKED, 0, (LPARAM)picker.GetSafeHwnd());
    EXPECT_EQ(button.GetColor(), RGB(1, 2, 3));
    ASSERT_EQ(g_picked.size(), 1u);
    EXPECT_EQ(g_picked[0].wParam, 0u);
    EXPECT_EQ((HWND)g_picked[0].lParam, button.GetSafeHwnd());
}

TEST_F(ColorPickerButtonTest, DataExchangeRoundTrip) {
    COLORREF value = RGB(9, 8, 7);
    CDataExchange load(&parent, FALSE);
    DDX_ColorPicker(&load, 31, value);
    EXPECT_EQ(button.GetColor(), RGB(9, 8, 7));
    button.SetColor(CLR_DEFAULT);
    CDataExchange save(&parent, TRUE);
    DDX_ColorPicker(&save, 31, value);
    EXPECT_EQ(value, CLR_DEFAULT);
    // A control that is no picker button leaves the value alone.
    DDX_ColorPicker(&save, 99, value);
    EXPECT_EQ(value, CLR_DEFAULT);
}

TEST_F(ColorPickerButtonTest, GalleryShowsButtonsWithAndWithoutImageAndText) {
    button.SetColor(RGB(255, 0, 0));
    COXColorPickerButton text;
    ASSERT_TRUE(text.Create("Fill", WS_CHILD | WS_VISIBLE, RECT{80, 10, 160, 50}, &parent, 33));
    text.SetColor(RGB(0, 128, 0));
    COXColorPickerButton plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, RECT{170, 10, 230, 34}, &parent, 34));
    plain.SetColor(RGB(255, 255, 0));
    COXColorPickerButton off;
    ASSERT_TRUE(off.Create("", WS_CHILD | WS_VISIBLE | WS_DISABLED, RECT{240, 10, 290, 50}, &parent, 35));
    off.SetImageList(images);
    off.SetColor(RGB(255, 0, 0));
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    Repaint();
    PixelProbe px(parent.GetSafeHwnd());
    EXPECT_TRUE(px.Any(RECT{80, 10, 160, 50}, [](COLORREF c) { return c == RGB(0, 128, 0); }));
    EXPECT_TRUE(px.Any(RECT{170, 10, 230, 34}, [](COLORREF c) { return c == RGB(255, 255, 0); }));
    EXPECT_FALSE(px.Any(RECT{240, 10, 290, 50}, [](COLORREF c) { return c == RGB(255, 0, 0); }));
    EXPECT_FALSE(WriteScreenshot(parent.GetSafeHwnd(), "Gallery_ColorPickerButton").empty());
}

}  // namespace
