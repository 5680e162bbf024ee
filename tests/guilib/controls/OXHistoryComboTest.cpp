#include <gtest/gtest.h>

#include <vector>

#include "guilib/controls/OXHistoryCombo.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {

std::vector<UINT> g_comboCommands;

LRESULT ComboParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp)
        g_comboCommands.push_back(HIWORD(wp));
    return DefWindowProc(hwnd, msg, wp, lp);
}

// An editable combo in a parent, with a registry file and an application of its own.
class HistoryComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_comboCommands.clear();
        app.SetRegistryKey("Veltrin");
        RegisterTestWindowClass("HistoryComboParent", ComboParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "HistoryComboParent", "combo", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr));
    }
    void TearDown() override {
        parent.DestroyWindow();
        Pump();
    }
    void Create(COXHistoryCombo& combo) {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{10, 10, 200, 150}, &parent, 31));
    }
    std::vector<CString> Items(COXHistoryCombo& combo) {
        std::vector<CString> items;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString t;
            combo.GetLBText(i, t);
            items.push_back(t);
        }
        return items;
    }
    CString Stored() {
        HKEY key = nullptr;
        CString value;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin\\HistoryTest\\HistoryCombo", 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            char buffer[256] = {0};
            DWORD size = sizeof buffer, type = 0;
            if (RegQueryValueEx(key, "Files", nullptr, &type, (LPBYTE)buffer, &size) == ERROR_SUCCESS)
                value = buffer;
            else
                value = "<none>";
            RegCloseKey(key);
        }
        return value;
    }
    void Store(const char* text) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin\\HistoryTest\\HistoryCombo", 0, nullptr, 0,
                                 KEY_READ | KEY_WRITE, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "Files", 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
        RegCloseKey(key);
    }
    TempRegistry registry;
    CWinApp app{"HistoryTest"};
    CWnd parent;
};

TEST_F(HistoryComboTest, AddingKeepsSixMostRecentTextsWithoutRegardToCase) {
    COXHistoryCombo combo;
    Create(combo);
    EXPECT_EQ(combo.GetToolbarPosition(), 12);
    EXPECT_FALSE(combo.AddItem()) << "an empty edit field adds nothing";
    for (const char* t : {"one", "two", "ABC"})
        EXPECT_TRUE(combo.AddItem(t));
    EXPECT_FALSE(combo.AddItem("abc")) << "only moved to the top";
    EXPECT_EQ(Items(combo), (std::vector<CString>{"abc", "two", "one"}));
    for (const char* t : {"d", "e", "f", "g"})
        combo.AddItem(t);
    EXPECT_EQ(Items(combo), (std::vector<CString>{"g", "f", "e", "d", "abc", "two"}));
    EXPECT_EQ(combo.GetJoinedItems(), "g|f|e|d|abc|two");
    combo.SetWindowText("typed");
    EXPECT_TRUE(combo.CanAdd());
    EXPECT_TRUE(combo.AddItem());
    EXPECT_EQ(Items(combo).front(), "typed");
}

TEST_F(HistoryComboTest, DeletingSelectsTheNextAndNotifiesUnlessItWasTheLast) {
    COXHistoryCombo combo;
    Create(combo);
    for (const char* t : {"c", "b", "a"})
        combo.AddItem(t);
    combo.SetCurSel(0);
    g_comboCommands.clear();
    EXPECT_TRUE(combo.DeleteItem());
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(g_comboCommands, (std::vector<UINT>{CBN_SELCHANGE}));
    g_comboCommands.clear();
    EXPECT_TRUE(combo.DeleteItem(1));
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_TRUE(g_comboCommands.empty());
    EXPECT_FALSE(combo.DeleteItem(5));
}

TEST_F(HistoryComboTest, TheRegistryValueIsTheJoinedItems) {
    {
        COXHistoryCombo combo;
        Create(combo);
        ASSERT_TRUE(combo.SetAutoPersistent("Files"));
        for (const char* t : {"a", "b"})
            combo.AddItem(t);
        combo.SetWindowText("c");
        combo.DestroyWindow();  // saves with the current text
    }
    EXPECT_EQ(Stored(), "c|b|a");
    // Empty pieces are skipped; at most six pieces come back.
    Store("x||y|1|2|3|4|5|6");
    COXHistoryCombo combo;
    Create(combo);
    ASSERT_TRUE(combo.SetAutoPersistent("Files"));
    EXPECT_EQ(Items(combo), (std::vector<CString>{"x", "y", "1", "2", "3", "4"}));
    EXPECT_EQ(combo.GetCurSel(), 0);
    // An empty list deletes the value.
    combo.ResetContent();
    combo.SetWindowText("");
    EXPECT_TRUE(combo.SaveContents("Files", "", "", HKEY_CURRENT_USER, FALSE));
    EXPECT_EQ(Stored(), "<none>");
    EXPECT_FALSE(combo.SaveContents("", "", ""));
    EXPECT_FALSE(combo.RestoreContents("", "", ""));
}

}  // namespace
