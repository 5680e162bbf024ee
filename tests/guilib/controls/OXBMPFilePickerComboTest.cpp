#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "guilib/controls/OXBMPFilePickerCombo.h"
#include "platform/user/CommonDialogs.h"
#include "tests/support/Gui.h"

namespace {

struct Command {
    UINT id, code;
    HWND from;
};
std::vector<Command> g_commands;

LRESULT PickerComboParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp != 0)
        g_commands.push_back({LOWORD(wp), HIWORD(wp), (HWND)lp});
    return DefWindowProc(hwnd, msg, wp, lp);
}

std::vector<std::string> ListedFiles(HWND dialog) {
    // The preview dialog holds its list inside the shell view.
    HWND list = GetDlgItem(GetDlgItem(dialog, IDC_FILE_VIEW), IDC_FILE_LIST);
    std::vector<std::string> rows;
    int count = (int)SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        LVITEM item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessage(list, LVM_GETITEMTEXT, (WPARAM)i, (LPARAM)&item);
        rows.push_back(text);
    }
    return rows;
}

// A folder with a.bmp, a.dib and a.txt; a combo in a parent that records its commands.
class BMPFilePickerComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        char pattern[] = "/tmp/bmppickerXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        for (const char* name : {"a.bmp", "a.dib", "a.txt"})
            std::ofstream(folder + "/" + name) << "x";
        RegisterTestWindowClass("BMPPickerParent", PickerComboParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "BMPPickerParent", "pages", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                    nullptr));
        SetActiveWindow(parent.GetSafeHwnd());
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{10, 10, 250, 120}, &parent, 41));
        combo.SetWindowText((folder + "/a.txt").c_str());
        g_commands.clear();
    }
    void TearDown() override {
        combo.DestroyWindow();
        parent.DestroyWindow();
        Pump();
        for (const char* name : {"a.bmp", "a.dib", "a.txt"})
            unlink((folder + "/" + name).c_str());
        rmdir(folder.c_str());
    }
    std::string Text() {
        CString text;
        combo.GetWindowText(text);
        return (const char*)text;
    }
    std::string folder;
    CWnd parent;
    COXBMPFilePickerCombo combo;
};

TEST_F(BMPFilePickerComboTest, TheDialogListsBitmapsAndCancelChangesNothing) {
    EXPECT_EQ(std::string(combo.GetFileFilter()), "Bitmap file (*.bmp;*.dib)|*.bmp; *.dib||");
    std::vector<std::string> listed;
    BOOL changed = TRUE;
    {
        ModalSteps steps;
        steps.Start({[&](HWND dialog) {
                         listed = ListedFiles(dialog);
                         WriteScreenshot(dialog, "Gallery_BMPFilePickerDialog");
                     },
                     ModalSteps::ClickItem(IDCANCEL)});
        changed = combo.Browse();
    }
    EXPECT_FALSE(changed);
    EXPECT_EQ(listed, (std::vector<std::string>{"..", "a.bmp", "a.dib"}));  // the folder up, no a.txt
    EXPECT_EQ(Text(), folder + "/a.txt");
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(BMPFilePickerComboTest, ChoosingAFileSetsThePathAndTheParentSeesAnEditChange) {
    BOOL changed = FALSE;
    {
        ModalSteps steps;
        steps.Start({[](HWND dialog) { SetDlgItemText(dialog, IDC_FILE_NAME, "a.dib"); }, ModalSteps::ClickItem(IDOK)});
        changed = combo.Browse();
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(Text(), folder + "/a.dib");
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].id, 41u);
    EXPECT_EQ(g_commands[0].code, (UINT)CBN_EDITCHANGE);
    EXPECT_EQ(g_commands[0].from, combo.GetSafeHwnd());
}

}  // namespace
