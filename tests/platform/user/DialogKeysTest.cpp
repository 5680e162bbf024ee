// The dialog manager's keys driven through real key input: arrows within a radio group, Tab and
// Shift+Tab, Alt with a label's '&' letter, and the key state read in the order the keys came.
#include <gtest/gtest.h>

#include <vector>

#include "platform/user/Resources.h"

namespace {
enum { kName = 10, kNameEdit, kGo, kR1, kR2, kR3, kR4, kAfter, kAmp, kAmpEdit };

std::vector<int> g_commands;

INT_PTR RecordCommands(HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        g_commands.push_back(LOWORD(wParam));
    return msg == WM_INITDIALOG;
}

const DWORD kVis = WS_VISIBLE;
const DialogTemplate kDialog{
    1,
    WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT,
    0,
    0,
    0,
    200,
    150,
    "Keys",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "&Name", kName, 5, 5, 40, 8, kVis, 0},
        {WC_EDIT, "", kNameEdit, 50, 5, 80, 12, kVis | WS_TABSTOP | WS_BORDER, 0},
        {WC_BUTTON, "&Go", kGo, 140, 5, 40, 14, kVis | WS_TABSTOP | BS_PUSHBUTTON, 0},
        {WC_BUTTON, "One", kR1, 5, 30, 60, 10, kVis | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "Two", kR2, 5, 42, 60, 10, kVis | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "Three", kR3, 5, 54, 60, 10, kVis | WS_DISABLED | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "Four", kR4, 5, 66, 60, 10, kVis | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "After", kAfter, 5, 80, 60, 14, kVis | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0},
        {WC_STATIC, "Fish && &Chips", kAmp, 5, 100, 60, 8, kVis, 0},
        {WC_EDIT, "", kAmpEdit, 70, 100, 80, 12, kVis | WS_TABSTOP | WS_BORDER, 0},
    }};

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        dialog = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, RecordCommands, 0);
        ASSERT_TRUE(dialog);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(dialog);
        Pump();
    }
    void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessage(dialog, &m)) {
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
    }
    // Key presses posted all at once, as a fast typist's reach the queue before the program reads them.
    void Keys(std::initializer_list<std::pair<UINT, UINT>> keys) {
        for (auto [message, vk] : keys)
            PostKeyInput(message, vk,
                         (message == WM_KEYUP || message == WM_SYSKEYUP ? (LPARAM)0xC0000001 : 1) |
                             (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ? 1 << 29 : 0));
        Pump();
    }
    void Press(UINT vk) { Keys({{WM_KEYDOWN, vk}, {WM_KEYUP, vk}}); }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
    int Checked() {
        for (int id = kR1; id <= kR4; ++id)
            if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
                return id;
        return 0;
    }
    HWND dialog = nullptr;
};

TEST_F(DialogKeysTest, ArrowsCheckTheNextRadioButtonOfTheGroupSkippingDisabledAndWrapping) {
    SetFocus(Item(kR1));
    SendMessage(Item(kR1), BM_CLICK, 0, 0);
    g_commands.clear();
    const struct {
        UINT key;
        int checked;
    } steps[] = {
        {VK_DOWN, kR2}, {VK_DOWN, kR4}, {VK_RIGHT, kR1},  // Three is disabled; the group ends before After
        {VK_UP, kR4},   {VK_LEFT, kR2},
    };
    std::vector<int> clicked;
    for (const auto& s : steps) {
        Press(s.key);
        EXPECT_EQ(Checked(), s.checked);
        EXPECT_EQ(GetFocus(), Item(s.checked));
        clicked.push_back(s.checked);
    }
    EXPECT_EQ(g_commands, clicked);  // each move tells the dialog as a click does
}

TEST_F(DialogKeysTest, TabAndShiftTabWalkTheTabStopsWhateverTheSpeed) {
    SetFocus(Item(kNameEdit));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kGo));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kR1));
    // Shift is let go before the program reads the Tab: the Tab still counts as Shift+Tab.
    Keys({{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, VK_TAB}, {WM_KEYUP, VK_TAB}, {WM_KEYUP, VK_SHIFT}});
    EXPECT_EQ(GetFocus(), Item(kGo));
    Keys({{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, VK_TAB}, {WM_KEYUP, VK_TAB}, {WM_KEYUP, VK_SHIFT}});
    Keys({{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, VK_TAB}, {WM_KEYUP, VK_TAB}, {WM_KEYUP, VK_SHIFT}});
    EXPECT_EQ(GetFocus(), Item(kAmpEdit));  // wraps from the first to the last
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(DialogKeysTest, AltWithALabelsLetterFocusesTheControlAfterItAndAButtonsLetterClicksIt) {
    SetFocus(Item(kAfter));
    Keys({{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'N'}, {WM_SYSKEYUP, 'N'}, {WM_KEYUP, VK_MENU}});
    EXPECT_EQ(GetFocus(), Item(kNameEdit));
    Keys({{WM_SYSKEYDOWN, 'C'}, {WM_SYSKEYUP, 'C'}});  // "&&" is a plain '&'; '&C' is the letter
    EXPECT_EQ(GetFocus(), Item(kAmpEdit));
    g_commands.clear();
    Keys({{WM_SYSKEYDOWN, 'G'}, {WM_SYSKEYUP, 'G'}});
    EXPECT_EQ(g_commands, std::vector<int>{kGo});
    Keys({{WM_SYSKEYDOWN, 'F'}, {WM_SYSKEYUP, 'F'}});  // "Fish" has no '&' before its F
    EXPECT_EQ(GetFocus(), Item(kGo));
}

std::vector<bool> g_shiftAtEnd;
LRESULT RecordShiftAtEnd(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_END)
        g_shiftAtEnd.push_back((GetKeyState(VK_SHIFT) & 0x8000) != 0);
    return DefWindowProc(h, msg, wParam, lParam);
}

TEST(KeyState, FollowsTheKeyMessagesInTheOrderTheThreadTakesThem) {
    WNDCLASS wc{};
    wc.lpfnWndProc = RecordShiftAtEnd;
    wc.lpszClassName = "KeyStateProbe";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "KeyStateProbe", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                            nullptr, nullptr);
    SetFocus(w);
    g_shiftAtEnd.clear();
    // End typed with Shift, then alone; every key reaches the queue before any is read.
    PostKeyInput(WM_KEYDOWN, VK_SHIFT, 1);
    PostKeyInput(WM_KEYDOWN, VK_END, 1);
    PostKeyInput(WM_KEYUP, VK_END, (LPARAM)0xC0000001);
    PostKeyInput(WM_KEYUP, VK_SHIFT, (LPARAM)0xC0000001);
    PostKeyInput(WM_KEYDOWN, VK_END, 1);
    PostKeyInput(WM_KEYUP, VK_END, (LPARAM)0xC0000001);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);  // the keyboard itself has moved on
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&m);
    EXPECT_EQ(g_shiftAtEnd, (std::vector<bool>{true, false}));
    DestroyWindow(w);
}
}  // namespace

// An activation that finds the focus on one of the dialog's controls leaves it there: a dialog that put
// the caret into its field before it became active keeps it, wherever its first tab stop is.
TEST_F(DialogKeysTest, ActivationKeepsTheFocusOfAControlThatHasIt) {
    HWND other = CreateWindowEx(0, WC_STATIC, "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
    SetActiveWindow(other);
    Pump();
    SetFocus(Item(kAmpEdit));
    SetActiveWindow(dialog);
    Pump();
    EXPECT_EQ(GetFocus(), Item(kAmpEdit));
    DestroyWindow(other);
}
