// The hot-key control driven by real key input inside a dialog: any key with its modifiers, shown by
// key names, Backspace clearing, Tab still moving on, and the value set and read by message.
#include <gtest/gtest.h>

#include <vector>

#include "platform/user/HotKey.h"
#include "platform/user/Resources.h"

namespace hot_key_test {
enum { kEdit = 10, kHotKey, kButton };

std::vector<int> g_changes;

INT_PTR RecordChanges(HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == kHotKey)
        g_changes.push_back(LOWORD(wParam));
    return msg == WM_INITDIALOG;
}

const DialogTemplate kDialog{
    1, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 200, 80, "Keys", "MS Sans Serif", 8,
    {{WC_EDIT, "", kEdit, 5, 5, 80, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
     {HOTKEY_CLASS, "", kHotKey, 5, 25, 120, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
     {WC_BUTTON, "Go", kButton, 5, 45, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0}}};

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_changes.clear();
        dialog = CreateDialogIndirectParam(nullptr, &kDialog, nullptr, RecordChanges, 0);
        ASSERT_TRUE(dialog);
        Pump();
        SetFocus(Item(kHotKey));
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
    struct Key {
        UINT message, vk;
        bool extended = false;
    };
    void Keys(std::initializer_list<Key> keys) {
        for (const Key& k : keys) {
            const bool up = k.message == WM_KEYUP || k.message == WM_SYSKEYUP;
            const bool sys = k.message == WM_SYSKEYDOWN || k.message == WM_SYSKEYUP;
            PostKeyInput(k.message, k.vk,
                         (up ? (LPARAM)0xC0000001 : 1) | (sys ? 1 << 29 : 0) | (k.extended ? 1 << 24 : 0));
        }
        Pump();
    }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
    WORD Value() { return (WORD)SendMessage(Item(kHotKey), HKM_GETHOTKEY, 0, 0); }
    HWND dialog = nullptr;
};

TEST_F(HotKeyTest, TakesAnyKeyWithItsModifiersAndNamesIt) {
    const struct Case {
        const char* name;
        std::initializer_list<Key> keys;
        WORD value;
        const char* text;
    } cases[] = {
        {"ctrl shift f9",
         {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, VK_F9}, {WM_KEYUP, VK_F9},
          {WM_KEYUP, VK_SHIFT}, {WM_KEYUP, VK_CONTROL}},
         MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT), "Ctrl + Shift + F9"},
        {"alt k", {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'K'}, {WM_SYSKEYUP, 'K'}, {WM_KEYUP, VK_MENU}},
         MAKEWORD('K', HOTKEYF_ALT), "Alt + K"},
        {"plain letter", {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}}, MAKEWORD('A', 0), "A"},
        {"extended delete", {{WM_KEYDOWN, VK_DELETE, true}, {WM_KEYUP, VK_DELETE, true}},
         MAKEWORD(VK_DELETE, HOTKEYF_EXT), "Del"},
        {"arrow", {{WM_KEYDOWN, VK_UP, true}, {WM_KEYUP, VK_UP, true}}, MAKEWORD(VK_UP, HOTKEYF_EXT), "Up"},
        {"backspace clears", {{WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessage(Item(kHotKey), HKM_SETHOTKEY, MAKEWORD('Z', HOTKEYF_SHIFT), 0);
        g_changes.clear();
        Keys(c.keys);
        EXPECT_EQ(Value(), c.value);
        EXPECT_EQ(user::HotKeyText(Value()), c.text);
        EXPECT_FALSE(g_changes.empty());
        EXPECT_EQ(GetFocus(), Item(kHotKey));
    }
}

TEST_F(HotKeyTest, TabMovesOnAndASetValueTellsNobody) {
    EXPECT_EQ(SendMessage(Item(kHotKey), WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_WANTARROWS);
    SendMessage(Item(kHotKey), HKM_SETHOTKEY, MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    EXPECT_EQ(Value(), MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT));
    EXPECT_EQ(user::HotKeyText(Value()), "Ctrl + Alt + F5");
    EXPECT_TRUE(g_changes.empty());
    Keys({{WM_KEYDOWN, VK_TAB}, {WM_KEYUP, VK_TAB}});
    EXPECT_EQ(GetFocus(), Item(kButton));
    EXPECT_EQ(Value(), MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT));
}
}  // namespace hot_key_test
