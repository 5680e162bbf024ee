// Dialog data exchange: values into the controls and back, a control bound to its object once, and a
// value that does not parse or lies outside its range told to the user with the focus back on it.
#include <gtest/gtest.h>

#include "platform/base/MessageBox.h"
#include "platform/framework/window/Dialog.h"
#include "platform/user/ComboBox.h"
#include "platform/user/ListBox.h"
#include "tests/support/Gui.h"

namespace {
enum : int { IDC_NUMBER = 100, IDC_COUNT, IDC_NAME, IDC_CHECK, IDC_FIRST, IDC_SECOND, IDC_THIRD, IDC_AFTER, IDC_COMBO, IDC_LIST };

const DialogTemplate kTemplate{
    900, WS_POPUP | WS_CAPTION, 0, 0, 0, 200, 160, "Exchange", nullptr, 0,
    {{WC_EDIT, "", IDC_NUMBER, 5, 5, 60, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
     {WC_EDIT, "", IDC_COUNT, 5, 20, 60, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
     {WC_EDIT, "", IDC_NAME, 5, 35, 60, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
     {WC_BUTTON, "Check", IDC_CHECK, 5, 50, 60, 10, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
     {WC_BUTTON, "One", IDC_FIRST, 5, 62, 60, 10, WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0},
     {WC_BUTTON, "Two", IDC_SECOND, 5, 74, 60, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
     {WC_BUTTON, "Three", IDC_THIRD, 5, 86, 60, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
     {WC_BUTTON, "Other group", IDC_AFTER, 5, 98, 60, 10, WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, 0},
     {WC_COMBOBOX, "", IDC_COMBO, 80, 5, 60, 60, WS_VISIBLE | CBS_DROPDOWNLIST, 0},
     {WC_LISTBOX, "", IDC_LIST, 80, 70, 60, 40, WS_VISIBLE | WS_BORDER, 0}}};

class ExchangeDialog : public CDialog {
public:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_NAME, name);
        DDX_Text(pDX, IDC_NUMBER, number);
        DDV_MinMaxInt(pDX, number, -5, 100);
        DDX_Text(pDX, IDC_COUNT, count);
        DDV_MinMaxUInt(pDX, count, 1, 9);
        DDX_Text(pDX, IDC_NAME, text);
        DDX_Check(pDX, IDC_CHECK, check);
        DDX_Radio(pDX, IDC_FIRST, radio);
        DDX_CBIndex(pDX, IDC_COMBO, comboIndex);
        DDX_LBIndex(pDX, IDC_LIST, listIndex);
    }
    CWnd name;
    int number = 42, check = 1, radio = 2, comboIndex = 1, listIndex = 0;
    UINT count = 3;
    CString text = "first";
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.CreateIndirect(&kTemplate));
        for (const char* item : {"a", "b", "c"}) {
            ::SendDlgItemMessage(dialog.m_hWnd, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)item);
            ::SendDlgItemMessage(dialog.m_hWnd, IDC_LIST, LB_ADDSTRING, 0, (LPARAM)item);
        }
        dialog.ShowWindow(SW_SHOW);
        ::SetActiveWindow(dialog.m_hWnd);
    }
    void TearDown() override {
        if (dialog.m_hWnd)
            dialog.DestroyWindow();
    }
    std::string Text(int id) { return (const char*)GetWindowTextString(::GetDlgItem(dialog.m_hWnd, id)); }
    ExchangeDialog dialog;
    MessageBoxRecorder boxes;
};
}  // namespace

TEST_F(DataExchangeTest, ValuesGoIntoTheControlsAndComeBack) {
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(dialog.name.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDC_NAME));
    EXPECT_EQ(Text(IDC_NUMBER), "42");
    EXPECT_EQ(Text(IDC_COUNT), "3");
    EXPECT_EQ(Text(IDC_NAME), "first");
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_CHECK), (UINT)BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_THIRD), (UINT)BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_FIRST), (UINT)BST_UNCHECKED);
    EXPECT_EQ(::SendDlgItemMessage(dialog.m_hWnd, IDC_COMBO, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(::SendDlgItemMessage(dialog.m_hWnd, IDC_LIST, LB_GETCURSEL, 0, 0), 0);

    ::SetDlgItemText(dialog.m_hWnd, IDC_NUMBER, "-5");
    ::SetDlgItemText(dialog.m_hWnd, IDC_COUNT, "9");
    ::SetDlgItemText(dialog.m_hWnd, IDC_NAME, "typed");
    ::CheckDlgButton(dialog.m_hWnd, IDC_CHECK, BST_UNCHECKED);
    ::CheckDlgButton(dialog.m_hWnd, IDC_THIRD, BST_UNCHECKED);
    ::CheckDlgButton(dialog.m_hWnd, IDC_AFTER, BST_CHECKED);  // another group: the first has none checked
    ::SendDlgItemMessage(dialog.m_hWnd, IDC_COMBO, CB_SETCURSEL, 2, 0);
    ::SendDlgItemMessage(dialog.m_hWnd, IDC_LIST, LB_SETCURSEL, (WPARAM)-1, 0);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.number, -5);
    EXPECT_EQ(dialog.count, 9u);
    EXPECT_EQ(dialog.text, CString("typed"));
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.radio, -1);
    EXPECT_EQ(dialog.comboIndex, 2);
    EXPECT_EQ(dialog.listIndex, -1);
    EXPECT_TRUE(boxes.Calls().empty());

    ::CheckDlgButton(dialog.m_hWnd, IDC_SECOND, BST_CHECKED);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.radio, 1);
}

TEST_F(DataExchangeTest, ABadValueIsToldAndTheFocusGoesBackWithItsTextSelected) {
    struct Case {
        const char* number;
        const char* count;
        int failing;
        const char* prompt;
    } cases[] = {
        {"abc", "3", IDC_NUMBER, "Please enter an integer."},
        {"101", "3", IDC_NUMBER, "Please enter an integer between -5 and 100."},
        {"-6", "3", IDC_NUMBER, "Please enter an integer between -5 and 100."},
        {"7", "-1", IDC_COUNT, "Please enter a positive integer."},
        {"7", "10", IDC_COUNT, "Please enter an integer between 1 and 9."},
        {"7", "", IDC_COUNT, "Please enter a positive integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + " / " + c.count);
        boxes.Clear();
        dialog.text = "kept";
        ::SetDlgItemText(dialog.m_hWnd, IDC_NUMBER, c.number);
        ::SetDlgItemText(dialog.m_hWnd, IDC_COUNT, c.count);
        ::SetDlgItemText(dialog.m_hWnd, IDC_NAME, "not read");
        ::SetFocus(::GetDlgItem(dialog.m_hWnd, IDC_CHECK));
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, CString(c.prompt));
        EXPECT_TRUE(boxes.Calls()[0].type & MB_ICONEXCLAMATION);
        HWND failing = ::GetDlgItem(dialog.m_hWnd, c.failing);
        EXPECT_EQ(::GetFocus(), failing);
        DWORD start = 0, end = 0;
        ::SendMessage(failing, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, (DWORD)strlen(failing == ::GetDlgItem(dialog.m_hWnd, IDC_NUMBER) ? c.number : c.count));
        EXPECT_EQ(dialog.text, CString("kept"));  // the exchange stopped at the bad value
    }
}
