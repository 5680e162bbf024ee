// The button appearance dialog: which controls its switches enable, and what it gives back.
#include <gtest/gtest.h>

#include "guilib/customize/OXButtonAppearanceDlg.h"
#include "guilib/customize/OXCommandsPageResources.h"
#include "platform/base/MessageBox.h"
#include "platform/user/ImageList.h"
#include "tests/support/Gui.h"

// One namespace per test file: the test program compiles its files in batches.
namespace ox_button_appearance_dlg_test {
namespace {

struct Switches {
    const char* name;
    BOOL textOnly, noDropDown, noAccelerator, customButton;
    int display;
    // Expected enabled states: text, radios, images, drop-down, accelerator, custom-button controls.
    bool text, radios, images, dropDown, accelerator, custom;
};

const Switches kCases[] = {
    {"plain button image only", FALSE, FALSE, TRUE, FALSE, 0, false, true, true, true, false, false},
    {"plain button image and text", FALSE, FALSE, TRUE, FALSE, 1, true, true, true, true, false, false},
    {"custom button", FALSE, TRUE, TRUE, TRUE, 1, false, false, true, false, false, true},
    {"menu item", TRUE, TRUE, FALSE, FALSE, -1, true, false, false, false, true, false},
    {"menu-bar item", TRUE, TRUE, TRUE, FALSE, -1, true, false, false, false, false, false},
};

class ButtonAppearanceDlgTest : public ::testing::TestWithParam<Switches> {
protected:
    void SetUp() override { OXRegisterCommandsPageResources(); }
    void TearDown() override {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    BOOL Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, id)); }
    COXButtonAppearanceDlg dlg;
};

}  // namespace

TEST_P(ButtonAppearanceDlgTest, SwitchesEnableTheirControls) {
    const Switches& s = GetParam();
    dlg.m_bTextOnly = s.textOnly;
    dlg.m_bNoDropDown = s.noDropDown;
    dlg.m_bNoAccelerator = s.noAccelerator;
    dlg.m_bCustomButton = s.customButton;
    dlg.m_nDisplay = s.display;
    ASSERT_TRUE(dlg.Create(IDD_OX_BUTTON_APPEARANCE, nullptr));
    EXPECT_EQ(Enabled(IDC_OX_EDIT_TEXT), s.text);
    EXPECT_EQ(Enabled(IDC_OX_RADIO_IMAGE_ONLY), s.radios);
    EXPECT_EQ(Enabled(IDC_OX_RADIO_IMAGE_TEXT), s.radios);
    EXPECT_EQ(Enabled(IDC_OX_LIST_IMAGES), s.images);
    EXPECT_EQ(Enabled(IDC_OX_CHECK_DROPDOWN), s.dropDown);
    EXPECT_EQ(Enabled(IDC_OX_COMBO_ACCELERATOR), s.accelerator);
    for (int id : {IDC_OX_EDIT_HEIGHT, IDC_OX_SPIN_HEIGHT, IDC_OX_EDIT_WIDTH, IDC_OX_SPIN_WIDTH,
                   IDC_OX_CHECK_HORZ_DOCKED, IDC_OX_CHECK_VERT_DOCKED, IDC_OX_CHECK_FLOATING})
        EXPECT_EQ(Enabled(id), s.custom) << id;
}

INSTANTIATE_TEST_SUITE_P(Table, ButtonAppearanceDlgTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (c == ' ' || c == '-')
                                     c = '_';
                             return n;
                         });

TEST(ButtonAppearanceDlg, ImageAndTextClickedEnablesTheTextAtOnce) {
    OXRegisterCommandsPageResources();
    COXButtonAppearanceDlg dlg;
    dlg.m_nDisplay = 0;
    dlg.m_sText = "Open";
    ASSERT_TRUE(dlg.Create(IDD_OX_BUTTON_APPEARANCE, nullptr));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_OX_EDIT_TEXT)));
    ClickDlgItem(dlg.m_hWnd, IDC_OX_RADIO_IMAGE_TEXT);
    Pump();
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_OX_EDIT_TEXT)));
    EXPECT_EQ(dlg.m_nDisplay, 1);
    dlg.DestroyWindow();
}

TEST(ButtonAppearanceDlg, OkGivesTheFieldsBackAndNoneIsAnEmptyAccelerator) {
    OXRegisterCommandsPageResources();
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    HICON icon = LoadIconResource(IDI_OX_CUSTOMIZE_COMMAND);
    for (int i = 0; i < 3; ++i)
        ImageList_AddIcon(images, icon);
    COXButtonAppearanceDlg dlg;
    dlg.m_bTextOnly = TRUE;
    dlg.m_bNoAccelerator = FALSE;
    dlg.m_sText = "&Open...";
    dlg.m_arrAccelerators.Add("Ctrl+O");
    dlg.m_arrAccelerators.Add("F3");
    dlg.m_nAcceleratorIndex = 1;
    dlg.m_hImageList = images;
    dlg.m_nImageIndex = 0;
    ModalSteps steps;
    steps.Start({[](HWND d) {
                     ::SetDlgItemText(d, IDC_OX_EDIT_TEXT, "&Open a file");
                     ::SendDlgItemMessage(d, IDC_OX_COMBO_ACCELERATOR, CB_SETCURSEL, 2, 0);
                     ::SendDlgItemMessage(d, IDC_OX_LIST_IMAGES, LB_SETCURSEL, 2, 0);
                     EXPECT_EQ(::SendDlgItemMessage(d, IDC_OX_COMBO_ACCELERATOR, CB_GETCOUNT, 0, 0), 3);
                 },
                 ModalSteps::ClickItem(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_sText, "&Open a file");
    EXPECT_EQ(dlg.GetAcceleratorText(), "F3");
    EXPECT_EQ(dlg.m_nImageIndex, 2);
    dlg.m_nAcceleratorIndex = 0;
    EXPECT_EQ(dlg.GetAcceleratorText(), "");
    ImageList_Destroy(images);
}

TEST(ButtonAppearanceDlg, AWrongSizeIsToldAndKeepsTheDialogOpen) {
    OXRegisterCommandsPageResources();
    MessageBoxRecorder recorder;
    COXButtonAppearanceDlg dlg;
    dlg.m_bCustomButton = TRUE;
    dlg.m_nHeight = 22;
    dlg.m_nWidth = 100;
    ModalSteps steps;
    steps.Start({[](HWND d) { ::SetDlgItemText(d, IDC_OX_EDIT_WIDTH, "wide"); }, ModalSteps::ClickItem(IDOK),
                 [](HWND d) {
                     EXPECT_TRUE(::IsWindow(d));
                     ::SetDlgItemText(d, IDC_OX_EDIT_WIDTH, "1001");
                 },
                 ModalSteps::ClickItem(IDOK),
                 [](HWND d) { ::SetDlgItemText(d, IDC_OX_EDIT_WIDTH, "120"); }, ModalSteps::ClickItem(IDOK)});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(recorder.Calls().size(), 2u);
    EXPECT_EQ(recorder.Calls()[0].text, "Please enter an integer.");
    EXPECT_EQ(recorder.Calls()[1].text, "Please enter an integer between 0 and 1000.");
    EXPECT_EQ(dlg.m_nWidth, 120);
    EXPECT_EQ(dlg.m_nHeight, 22);
}
}  // namespace ox_button_appearance_dlg_test
