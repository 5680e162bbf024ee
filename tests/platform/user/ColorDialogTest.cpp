// The colour dialog driven by its control ids: steps run one per timer tick inside its modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/user/ColorDialog.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/Controls.h"
#include "tests/support/Gui.h"

namespace {

class ColorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ColorDialogOwner", ::DefWindowProc, COLOR_BTNFACE);
        owner = CreateWindowEx(0, "ColorDialogOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
        for (COLORREF& c : custom)
            c = RGB(255, 255, 255);
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = owner;
        cc.lpCustColors = custom;
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
    }
    BOOL Run(std::vector<ModalSteps::Step> script) {
        ModalSteps steps;
        steps.Start(std::move(script));
        return ChooseColor(&cc);
    }
    static ModalSteps::Step Type(int id, const char* text) {
        return [id, text](HWND dialog) { SetDlgItemText(dialog, id, text); };
    }
    HWND owner = nullptr;
    COLORREF custom[16];
    CHOOSECOLOR cc{};
};

TEST_F(ColorDialogTest, ABasicColourChosenAndConfirmed) {
    EXPECT_TRUE(Run({ModalSteps::ClickItem(IDC_COLOR_BASIC_FIRST + 8), ModalSteps::ClickItem(IDOK)}));
    EXPECT_EQ(cc.rgbResult, RGB(255, 0, 0));
}

TEST_F(ColorDialogTest, OpenedFullyTheFieldsStartAtTheColourAndDefineANewOne) {
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    cc.rgbResult = RGB(1, 2, 3);
    int red = -1;
    bool fieldsShown = false;
    EXPECT_TRUE(Run({[&](HWND dialog) {
                         red = (int)GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE);
                         fieldsShown = IsWindowVisible(GetDlgItem(dialog, COLOR_BLUE)) != 0;
                         WriteScreenshot(dialog, "ColorDialogFullOpen");
                     },
                     Type(COLOR_RED, "10"), Type(COLOR_GREEN, "300"), Type(COLOR_BLUE, "30"),
                     ModalSteps::ClickItem(COLOR_ADD), ModalSteps::ClickItem(IDOK)}));
    EXPECT_EQ(red, 1);
    EXPECT_TRUE(fieldsShown);
    EXPECT_EQ(cc.rgbResult, RGB(10, 255, 30));  // a field beyond 255 counts as 255
    EXPECT_EQ(custom[0], RGB(10, 255, 30));
    EXPECT_EQ(custom[1], RGB(255, 255, 255));
}

TEST_F(ColorDialogTest, CancelAndABadStructureLeaveEverythingAsItWas) {
    cc.rgbResult = RGB(7, 8, 9);
    EXPECT_FALSE(Run({ModalSteps::ClickItem(IDC_COLOR_BASIC_FIRST), ModalSteps::ClickItem(COLOR_MIX),
                      ModalSteps::ClickItem(COLOR_ADD), ModalSteps::ClickItem(IDCANCEL)}));
    EXPECT_EQ(cc.rgbResult, RGB(7, 8, 9));
    EXPECT_EQ(custom[0], RGB(255, 255, 255));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    cc.lStructSize = 4;
    EXPECT_FALSE(ChooseColor(&cc));
    EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_STRUCTSIZE);
}

}  // namespace
