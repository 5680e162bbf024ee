#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/controls/OXOptionTreeCtrl.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {

struct Change {
    int id, oldCheck, newCheck;
    bool operator==(const Change& o) const { return id == o.id && oldCheck == o.oldCheck && newCheck == o.newCheck; }
};
std::vector<Change> g_changes;

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMOPTIONTREE*>(lp);
        if (nm->hdr.code == OTN_OPTIONCHANGED)
            g_changes.push_back({nm->nItemID, nm->nOldCheck, nm->nNewCheck});
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

class OptionTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("OptionTreeParent", ParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "OptionTreeParent", "options", WS_POPUP | WS_VISIBLE, 0, 0, 240, 200, nullptr,
                                    nullptr));
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, RECT{0, 0, 240, 200}, &parent,
                                9));
        HTREEITEM group = tree.InsertOptionItem("Look");
        tree.AddRadioButton(1, "Classic", group, 1);
        tree.AddRadioButton(2, "Office XP", group);
        tree.AddRadioButton(3, "Office 2003", group);
        tree.AddCheckBox(4, "Gradients", group, 1);
        tree.AddRadioButton(5, "Small", group, 1);
        tree.AddCheckBox(6, "Locked", group, 0, TVI_LAST, 1);
        g_changes.clear();
    }
    void TearDown() override {
        tree.DestroyWindow();
        parent.DestroyWindow();
        Pump();
    }
    void ClickLabel(int id) {
        RECT rc{};
        ASSERT_TRUE(tree.GetItemRect(tree.GetItemFromID(id), &rc, TRUE));
        SendMessage(tree.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 3, (rc.top + rc.bottom) / 2));
        SendMessage(tree.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 3, (rc.top + rc.bottom) / 2));
    }
    CWnd parent;
    COXOptionTreeCtrl tree;
};

TEST_F(OptionTreeTest, RadioGroupsStayExclusiveAndEveryChangeIsTold) {
    EXPECT_EQ(tree.AddCheckBox(4, "again"), nullptr);  // ids are unique
    EXPECT_EQ(tree.AddCheckBox(0, "none"), nullptr);
    tree.SetOptionState(3, 1);
    // Classic goes off (its own notice), Office 2003 on; Small, past the check box, stays.
    EXPECT_EQ(g_changes, (std::vector<Change>{{1, 1, 0}, {3, 0, 1}}));
    EXPECT_EQ(tree.GetOptionState(1), 0);
    EXPECT_EQ(tree.GetOptionState(5), 1);
    EXPECT_EQ(tree.GetCheckedRadioButton(1, 3), 3);

    // Clicking a checked radio button leaves it and says nothing; a check box toggles; a locked one stays.
    g_changes.clear();
    ClickLabel(3);
    ClickLabel(4);
    ClickLabel(6);
    EXPECT_EQ(g_changes, (std::vector<Change>{{4, 1, 0}}));
    EXPECT_EQ(tree.GetOptionState(6), 0);

    // Space toggles the selected item.
    g_changes.clear();
    tree.SelectItem(tree.GetItemFromID(2));
    SetFocus(tree.GetSafeHwnd());
    SendMessage(tree.GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(g_changes, (std::vector<Change>{{3, 1, 0}, {2, 0, 1}}));
    EXPECT_EQ(tree.GetOptionState(99), -1);
}

TEST_F(OptionTreeTest, DarkBackgroundsTakeTheDarkImages) {
    struct Case {
        COLORREF back;
        bool dark;
    } cases[] = {{RGB(100, 100, 99), true}, {RGB(100, 100, 100), false}, {RGB(255, 255, 255), false}};
    for (const Case& c : cases) {
        SendMessage(tree.GetSafeHwnd(), TVM_SETBKCOLOR, 0, (LPARAM)c.back);
        EXPECT_EQ(tree.IsDarkBackground() != FALSE, c.dark) << c.back;
        EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), c.dark ? tree.GetDarkImages() : tree.GetLightImages());
    }
    EXPECT_EQ(ImageList_GetImageCount(tree.GetLightImages()), 4);

    SendMessage(tree.GetSafeHwnd(), TVM_SETBKCOLOR, 0, (LPARAM)RGB(100, 100, 99));
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    PixelProbe px(parent.GetSafeHwnd());
    EXPECT_EQ(px.At(230, 190), RGB(100, 100, 99));
    WriteScreenshot(parent.GetSafeHwnd(), "Gallery_OptionTree");
}

TEST_F(OptionTreeTest, StatesRoundTripThroughTheProfile) {
    TempRegistry registry;
    CWinApp app("OptionTreeTest");
    app.SetRegistryKey("Veltrin");
    tree.SetOptionState(2, 1);
    ASSERT_TRUE(tree.SaveState("Page", "TreeControlTypes"));
    EXPECT_EQ(app.GetProfileInt("Page_TreeControlTypes", "2", -5), 1u);
    EXPECT_EQ(app.GetProfileInt("Page_TreeControlTypes", "1", -5), 0u);

    tree.SetOptionState(1, 1);
    tree.SetOptionState(4, 0);
    app.WriteProfileInt("Page_TreeControlTypes", "4", -1);  // an entry of -1 leaves the option alone
    ASSERT_TRUE(tree.LoadState("Page", "TreeControlTypes"));
    EXPECT_EQ(tree.GetOptionState(2), 1);
    EXPECT_EQ(tree.GetOptionState(1), 0);
    EXPECT_EQ(tree.GetOptionState(4), 0);

    // Deleted items leave both maps.
    tree.DeleteAllOptions();
    EXPECT_EQ(tree.GetItemFromID(2), nullptr);
    EXPECT_NE(tree.AddCheckBox(2, "again"), nullptr);
}

}  // namespace
