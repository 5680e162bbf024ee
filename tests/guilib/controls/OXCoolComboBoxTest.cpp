#include <gtest/gtest.h>

#include <string>

#include "guilib/controls/OXCoolComboBox.h"
#include "platform/base/Clock.h"
#include "tests/support/Gui.h"

namespace {

int g_closeUps = 0;
HWND g_listColourFrom = nullptr;  // the window a WM_CTLCOLORLISTBOX reaching the parent was about

// A framework parent, so that notifications are reflected to the combo box first.
class Parent : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == CBN_CLOSEUP)
            ++g_closeUps;
        return CWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CTLCOLORLISTBOX)
            g_listColourFrom = (HWND)lParam;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CoolComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("CoolComboParent", ::DefWindowProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "CoolComboParent", "", WS_POPUP | WS_VISIBLE, 80, 80, 300, 220, nullptr,
                                    nullptr));
        other = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 150, 80, 20, parent.GetSafeHwnd(),
                               nullptr, nullptr, nullptr);
        SetCursorPos(1, 1);
        SetFocus(other);
        g_closeUps = 0;
    }
    void TearDown() override {
        if (combo.GetSafeHwnd())
            combo.UnsubclassWindow();
        parent.DestroyWindow();
        Pump();
    }
    HWND Make(DWORD kind) {
        HWND h = CreateWindowEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | kind, 10, 10, 150, 120,
                                parent.GetSafeHwnd(), (HMENU)(UINT_PTR)300, nullptr, nullptr);
        SendMessage(h, CB_ADDSTRING, 0, (LPARAM)"First");
        SendMessage(h, CB_ADDSTRING, 0, (LPARAM)"Second");
        return h;
    }
    void Repaint() {
        RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }

    DrivenClock clock;
    Parent parent;
    HWND other = nullptr;
    COXCoolComboBox combo;
};

TEST_F(CoolComboTest, TheEditSharesTheTooltipAndKeepsTheComboActiveWhileFocused) {
    HWND h = Make(CBS_DROPDOWN);
    ASSERT_TRUE(combo.SubclassWindow(h));
    ASSERT_NE(combo.GetEdit().GetSafeHwnd(), nullptr);
    EXPECT_EQ(combo.GetEdit().m_pCombo, &combo);
    ASSERT_TRUE(combo.SetTooltipText("Pick one"));
    CString text;
    combo.GetEdit().GetTooltipText(text);
    EXPECT_EQ(std::string(text), "Pick one");

    combo.GetEdit().SetFocus();
    EXPECT_TRUE(combo.IsInFocusState());
    // The mouse passes over and leaves: the focused edit keeps the combo box active.
    RECT r;
    combo.GetWindowRect(&r);
    SetCursorPos(r.right - 5, r.top + 5);
    SendMessage(h, WM_MOUSEMOVE, 0, MAKELPARAM(140, 5));
    SetCursorPos(1, 1);
    clock.Advance(150);
    Pump();
    EXPECT_TRUE(combo.IsInFocusState());
    SetFocus(other);
    EXPECT_FALSE(combo.IsInFocusState());
}

TEST_F(CoolComboTest, TheDropDownListIsTakenAtItsFirstColourRequest) {
    HWND h = Make(CBS_DROPDOWN);
    ASSERT_TRUE(combo.SubclassWindow(h));
    ASSERT_TRUE(combo.SetTooltipText("Pick one"));
    EXPECT_EQ(combo.GetListBox().GetSafeHwnd(), nullptr);
    g_listColourFrom = nullptr;
    combo.ShowDropDown(TRUE);
    Pump();
    HWND list = combo.GetListBox().GetSafeHwnd();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    // The request passed through the combo box on to its parent, naming the list.
    EXPECT_EQ(g_listColourFrom, list);
    CString text;
    combo.GetListBox().GetTooltipText(text);
    EXPECT_EQ(std::string(text), "Pick one");
    combo.ShowDropDown(FALSE);
    Pump();
}

TEST_F(CoolComboTest, AnOwnerDrawListIsNeverTaken) {
    HWND h = Make(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    ASSERT_TRUE(combo.SubclassWindow(h));
    combo.ShowDropDown(TRUE);
    Pump();
    EXPECT_EQ(combo.GetListBox().GetSafeHwnd(), nullptr);
    combo.ShowDropDown(FALSE);
    Pump();
}

TEST_F(CoolComboTest, AFontChangeSetsTheSelectionHeightToTheFontHeightPlusOne) {
    HWND h = Make(CBS_DROPDOWNLIST);
    ASSERT_TRUE(combo.SubclassWindow(h));
    HFONT font = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessage(h, WM_SETFONT, (WPARAM)font, TRUE);
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    EXPECT_EQ(combo.GetItemHeight(-1), (int)tm.tmHeight + 1);
    combo.UnsubclassWindow();
    DeleteObject(font);
}

TEST_F(CoolComboTest, TheFlatFaceEmptyWithoutSelectionPressedWhenDropped) {
    HWND h = Make(CBS_DROPDOWNLIST);
    ASSERT_TRUE(combo.SubclassWindow(h));
    Repaint();
    PixelProbe px(h);
    RECT button;
    combo.GetDropDownButtonRect(button);
    // No selection: the field is empty, window coloured.
    for (int x = 4; x < button.left - 2; x += 7)
        EXPECT_EQ(px.At(x, 10), RGB(255, 255, 255)) << x;
    // Flat: a face frame and a highlight-outlined button.
    EXPECT_EQ(px.At(0, 0), RGB(212, 208, 200));
    EXPECT_EQ(px.At(button.left, button.top), RGB(255, 255, 255));
    WriteScreenshot(parent.GetSafeHwnd(), "CoolComboFlat");

    combo.ShowDropDown(TRUE);
    Pump();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Pressed: shadow along the top and left of the button.
    EXPECT_EQ(px.At(button.left + 4, button.top), RGB(128, 128, 128));
    EXPECT_EQ(px.At(button.left, button.top + 4), RGB(128, 128, 128));
    // The arrow moved one pixel right and down: its first row starts one lower.
    const int w = button.right - button.left;
    int x1 = button.left + w / 3, x2 = button.left + 2 * w / 3 + 1;
    if ((x2 - x1) % 2)
        --x2;
    const int y = button.top + button.bottom / 2 - (x2 - x1) / 4 - 1;
    EXPECT_EQ(px.At(x1 + 2, y + 1), RGB(64, 64, 64));
    EXPECT_NE(px.At(x1 + 2, y), RGB(64, 64, 64));
    combo.ShowDropDown(FALSE);
    Pump();
}

}  // namespace
