#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "guilib/controls/OXColorPickerCtrl.h"
#include "platform/user/ColorDialog.h"
#include "tests/support/Gui.h"

namespace {

class ProbePicker : public COXColorPickerCtrl {
public:
    using COXColorPickerCtrl::COXColorPickerCtrl;
    DWORD Value(int i) const { return m_arrValues[i]; }
    INT_PTR ValueCount() const { return m_arrValues.GetSize(); }
    CString Tip(DWORD value) {
        CString text;
        m_mapToolTips.Lookup(value, text);
        return text;
    }
};

class ColorPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ColorPickerOwner", ::DefWindowProc, COLOR_WINDOW);
        ASSERT_TRUE(owner.CreateEx(0, "ColorPickerOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                   nullptr));
        SetActiveWindow(owner.GetSafeHwnd());
    }
    void TearDown() override {
        owner.DestroyWindow();
        Pump();
    }
    static POINT Centre(const COXPopupBarCtrl& bar, RECT rc) {
        POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(bar.GetSafeHwnd(), &p);
        return p;
    }
    static ModalSteps::Step Click(COXPopupBarCtrl& bar, std::function<RECT()> where) {
        return [&bar, where](HWND) {
            POINT p = Centre(bar, where());
            PostMouseInput(WM_MOUSEMOVE, p, 0);
            PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
            PostMouseInput(WM_LBUTTONUP, p, 0);
        };
    }
    CWnd owner;
    RECT base{50, 50, 80, 70};
};

TEST_F(ColorPickerTest, TheFirstPickShowsTheFortyNamedColoursInTableOrder) {
    ProbePicker picker(OX_COLORPICKER_COLORS, 5, RGB(0, 0, 255));
    ASSERT_TRUE(picker.Create(&owner, POPUPBAR_NOTEAROFF));
    picker.SetDefaultButtonText("Automatic");
    picker.SetCustomButtonText("More Colors...");
    COLORREF shown13 = CLR_INVALID;
    {
        ModalSteps steps;
        steps.Start({[&](HWND) {
                         RECT r = picker.GetButtonRect(13);
                         PixelProbe px(picker.GetSafeHwnd());
                         shown13 = px.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                         WriteScreenshot(picker.GetSafeHwnd(), "ColorPickerOpen");
                     },
                     ModalSteps::Key(VK_ESCAPE)});
        EXPECT_FALSE(picker.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    }
    ASSERT_EQ(picker.ValueCount(), OX_COLORPICKER_COLORS);
    struct Case {
        int index;
        COLORREF colour;
        const char* name;
    } cases[] = {
        {0, RGB(0, 0, 0), "Black"},          {13, RGB(0, 0, 255), "Blue"},
        {15, RGB(102, 102, 102), "Grey - 60"}, {35, RGB(152, 251, 152), "Pale green "},
        {39, RGB(255, 255, 255), "White"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(picker.Value(c.index), c.colour);
        EXPECT_EQ(std::string(picker.Tip(c.colour)), c.name);
    }
    for (int i = 0; i < OX_COLORPICKER_COLORS; ++i)
        EXPECT_EQ(picker.Value(i), COXColorPickerCtrl::GetDefaultColors()[i].dwValue) << i;
    EXPECT_EQ(shown13, RGB(0, 0, 255));
}

TEST_F(ColorPickerTest, MoreColoursPicksFromTheDialogAsTheCustomButton) {
    COXColorPickerCtrl picker;
    ASSERT_TRUE(picker.Create(&owner, POPUPBAR_NOTEAROFF));
    picker.SetCustomButtonText("More Colors...");
    picker.SetSelectedValue(RGB(1, 2, 3));
    auto custom = [&] { return picker.GetCustomButtonRect(); };
    // Cancel keeps the colour.
    {
        ModalSteps steps;
        steps.Start({Click(picker, custom), ModalSteps::ClickItem(IDCANCEL)});
        EXPECT_FALSE(picker.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    }
    EXPECT_EQ(picker.GetSelectedValue(), RGB(1, 2, 3));
    // OK takes the dialog's colour; the dialog started at the selected one, opened fully.
    int startRed = -1;
    {
        ModalSteps steps;
        steps.Start({Click(picker, custom),
                     [&](HWND dialog) {
                         startRed = (int)GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE);
                         SetDlgItemText(dialog, COLOR_GREEN, "200");
                     },
                     ModalSteps::ClickItem(IDOK)});
        EXPECT_TRUE(picker.Pick(ID_POPUPBAR_ALIGNBOTTOM, &base));
    }
    EXPECT_EQ(startRed, 1);
    EXPECT_EQ(picker.GetSelectedValue(), RGB(1, 200, 3));
    EXPECT_EQ(picker.GetSelectedIndex(), OX_COLORPICKER_COLORS + 1);
}

}  // namespace
