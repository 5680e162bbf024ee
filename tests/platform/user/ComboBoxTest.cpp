#include <gtest/gtest.h>

#include <vector>

#include "platform/user/ComboBox.h"
#include "tests/support/Gui.h"

namespace {
std::vector<int>* g_codes = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && g_codes && LOWORD(wp) == 100)
        g_codes->push_back(HIWORD(wp));
    return DefWindowProc(h, msg, wp, lp);
}

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ComboTestParent", ParentProc, COLOR_3DFACE);
        g_codes = &codes;
        top = CreateWindowEx(0, "ComboTestParent", "combo", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
        SetActiveWindow(top);
    }
    void TearDown() override {
        DestroyWindow(top);
        g_codes = nullptr;
        Pump();
    }
    HWND Make(DWORD kind, std::vector<const char*> items = {"Alpha", "beta", "Gamma", "Betamax"}) {
        HWND c = CreateWindowEx(0, WC_COMBOBOX, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 10, 10, 150,
                                120, top, (HMENU)100, nullptr, nullptr);
        for (const char* s : items)
            SendMessage(c, CB_ADDSTRING, 0, (LPARAM)s);
        return c;
    }
    static HWND List(HWND combo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    static CString Text(HWND combo) { return GetWindowTextString(combo); }
    std::vector<int> codes;
    HWND top = nullptr;
};

TEST_F(ComboBoxTest, ItemsAreFoundCaseBlindByPrefixAndKeepTheirData) {
    HWND c = Make(CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessage(c, CB_GETCOUNT, 0, 0), 4);
    struct Case {
        int start;
        const char* text;
        UINT msg;
        int expected;
    } cases[] = {
        {-1, "BETA", CB_FINDSTRING, 1},        {1, "beta", CB_FINDSTRING, 3},
        {3, "beta", CB_FINDSTRING, 1},  // wraps round
        {-1, "gam", CB_FINDSTRING, 2},         {-1, "delta", CB_FINDSTRING, CB_ERR},
        {-1, "betamax", CB_FINDSTRINGEXACT, 3}, {-1, "Beta", CB_FINDSTRINGEXACT, 1},
        {-1, "bet", CB_FINDSTRINGEXACT, CB_ERR}, {-1, "", CB_FINDSTRING, 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SendMessage(c, k.msg, (WPARAM)k.start, (LPARAM)k.text), k.expected) << k.text << " after " << k.start;

    EXPECT_EQ(SendMessage(c, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)"g"), 2);
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Text(c), CString("Gamma"));
    EXPECT_EQ(SendMessage(c, CB_INSERTSTRING, 0, (LPARAM)"First"), 0);
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 3) << "the selected item stays selected";
    EXPECT_EQ(SendMessage(c, CB_SETITEMDATA, 3, 77), CB_OKAY);
    EXPECT_EQ(SendMessage(c, CB_GETITEMDATA, 3, 0), 77);
    EXPECT_EQ(SendMessage(c, CB_GETITEMDATA, 9, 0), CB_ERR);
    char buf[16];
    EXPECT_EQ(SendMessage(c, CB_GETLBTEXT, 4, (LPARAM)buf), 7);
    EXPECT_STREQ(buf, "Betamax");
    EXPECT_EQ(SendMessage(c, CB_DELETESTRING, 3, 0), 4);
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessage(c, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_TRUE(codes.empty()) << "calls tell nobody";

    HWND sorted = Make(CBS_DROPDOWNLIST | CBS_SORT);
    char first[16];
    SendMessage(sorted, CB_GETLBTEXT, 1, (LPARAM)first);
    EXPECT_STREQ(first, "beta");
    EXPECT_EQ(SendMessage(sorted, CB_ADDSTRING, 0, (LPARAM)"b"), 1);
}

TEST_F(ComboBoxTest, TheWindowIsAsHighAsItsFieldAndTheListTakesTheRest) {
    HWND c = Make(CBS_DROPDOWNLIST);
    RECT wr, dropped;
    GetWindowRect(c, &wr);
    EXPECT_LT(wr.bottom - wr.top, 40);
    EXPECT_EQ(SendMessage(c, CB_GETITEMHEIGHT, (WPARAM)-1, 0) + 8, wr.bottom - wr.top);
    SendMessage(c, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
    EXPECT_EQ(dropped.bottom - dropped.top, 120);
    MoveWindow(c, 10, 10, 150, 200, TRUE);
    GetWindowRect(c, &wr);
    EXPECT_LT(wr.bottom - wr.top, 40);
    SendMessage(c, CB_SHOWDROPDOWN, TRUE, 0);
    RECT lr;
    GetWindowRect(List(c), &lr);
    EXPECT_EQ(lr.top, wr.bottom);
    EXPECT_EQ(lr.left, wr.left);
    EXPECT_EQ(lr.bottom - lr.top, 4 * SendMessage(c, CB_GETITEMHEIGHT, 0, 0) + 2) << "as many rows as items";
}

TEST_F(ComboBoxTest, OpensByClickF4AndAltDownAndAClickOnAnItemChoosesIt) {
    HWND c = Make(CBS_DROPDOWNLIST);
    ScreenshotOnFailure shot(top);
    ClickCentre(c);
    Pump();
    ASSERT_TRUE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), c);
    EXPECT_EQ(GetActiveWindow(), top) << "the list never takes the activation";
    EXPECT_EQ(codes, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));
    HWND list = List(c);
    EXPECT_TRUE(IsWindowVisible(list));
    int h = (int)SendMessage(c, CB_GETITEMHEIGHT, 0, 0);
    codes.clear();
    SimulateClick(list, 20, 2 * h + h / 2);
    Pump();
    EXPECT_FALSE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(GetFocus(), c) << "closing leaves the focus in the combo";
    EXPECT_EQ(GetActiveWindow(), top);

    // F4 and Alt+Down open it too; Escape and a click elsewhere close it without choosing.
    struct Opener {
        const char* name;
        UINT msg;
    } openers[] = {{"F4", WM_KEYDOWN}, {"Alt+Down", WM_SYSKEYDOWN}};
    for (const Opener& o : openers) {
        SCOPED_TRACE(o.name);
        codes.clear();
        PostKeyInput(o.msg, o.msg == WM_KEYDOWN ? VK_F4 : VK_DOWN, o.msg == WM_SYSKEYDOWN ? (1 << 29) | 1 : 1);
        Pump();
        ASSERT_TRUE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
        SimulateKey(VK_ESCAPE);
        Pump();
        EXPECT_FALSE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(codes, (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    }
    SendMessage(c, CB_SHOWDROPDOWN, TRUE, 0);
    codes.clear();
    SimulateClick(top, 250, 150);
    Pump();
    EXPECT_FALSE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ComboBoxTest, ArrowsMoveTheSelectionOpenOrClosed) {
    HWND c = Make(CBS_DROPDOWNLIST);
    SetFocus(c);
    codes.clear();
    SimulateKey(VK_DOWN);
    SimulateKey(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE, CBN_SELCHANGE}));
    SimulateKey(VK_UP);
    SimulateKey(VK_UP);  // already at the first: nothing to tell
    Pump();
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(codes.size(), 3u);
    // Dropped, an arrow moves the highlight and the selection; Enter keeps it.
    SendMessage(c, CB_SHOWDROPDOWN, TRUE, 0);
    codes.clear();
    SimulateKey(VK_DOWN);
    SimulateKey(VK_RETURN);
    Pump();
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    // A letter picks the next item starting with it.
    codes.clear();
    SimulateChars("b");
    Pump();
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, ADropDownHasAnEditWhoseTypingIsTold) {
    HWND c = Make(CBS_DROPDOWN);
    COMBOBOXINFO info{};
        info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(c, &info));
    HWND edit = info.hwndItem;
    ASSERT_TRUE(IsWindow(edit));
    EXPECT_EQ(GetParent(edit), c);
    SendMessage(c, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(GetWindowTextString(edit), CString("Gamma"));
    EXPECT_TRUE(codes.empty()) << "a selection set by a call is not typing";

    SetFocus(c);
    EXPECT_EQ(GetFocus(), edit);
    codes.clear();
    SimulateChars("x");
    Pump(true);
    EXPECT_EQ(codes, (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(Text(c), CString("x")) << "typing replaced the selected text";

    // The arrows still walk the list, putting the item into the edit.
    codes.clear();
    SimulateKey(VK_DOWN);
    Pump(true);
    EXPECT_EQ(SendMessage(c, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Text(c), CString("Betamax"));
    EXPECT_EQ(codes, (std::vector<int>{CBN_SELCHANGE}));
    // The button opens the list; the edit keeps the focus.
    RECT b = info.rcButton;
    SimulateClick(c, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    Pump();
    EXPECT_TRUE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(SendMessage(edit, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    SimulateKey(VK_ESCAPE);
    Pump(true);
    EXPECT_FALSE(SendMessage(c, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(ComboBoxTest, AParentMayDestroyTheComboWhileItTells) {
    HWND c = Make(CBS_DROPDOWNLIST);
    static HWND victim;
    victim = c;
    SetFocus(c);
    g_codes = nullptr;
    // The parent destroys the combo on CBN_SELCHANGE from a chosen item.
    WNDPROC old = (WNDPROC)GetWindowLongPtr(top, GWLP_WNDPROC);
    static WNDPROC s_old;
    s_old = old;
    SetWindowLongPtr(top, GWLP_WNDPROC, (LONG_PTR)+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && HIWORD(w) == CBN_SELCHANGE && IsWindow(victim))
            DestroyWindow(victim);
        return CallWindowProc(s_old, h, m, w, l);
    });
    SendMessage(c, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = List(c);
    SimulateClick(list, 10, 3);
    Pump();
    EXPECT_FALSE(IsWindow(c));
    EXPECT_FALSE(IsWindow(list));
    SetWindowLongPtr(top, GWLP_WNDPROC, (LONG_PTR)old);
}
}  // namespace
