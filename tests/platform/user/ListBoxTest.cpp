#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/ListBox.h"
#include "tests/support/Gui.h"

namespace {

std::vector<std::string> g_log;  // owner-draw messages the parent received

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DELETEITEM: {
            auto* dis = reinterpret_cast<DELETEITEMSTRUCT*>(lp);
            g_log.push_back("delete " + std::to_string(dis->itemID) + ":" + std::to_string(dis->itemData));
            return TRUE;
        }
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            mis->itemHeight = 10 + mis->itemID;
            return TRUE;
        }
        case WM_COMPAREITEM: {
            auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(lp);
            return cis->itemData1 < cis->itemData2 ? -1 : (cis->itemData1 > cis->itemData2 ? 1 : 0);
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            g_log.push_back("draw " + std::to_string(dis->itemID) + " top " + std::to_string(dis->rcItem.top));
            return TRUE;
        }
        default:
            return DefWindowProc(hwnd, msg, wp, lp);
    }
}

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ListBoxOwner", OwnerProc, COLOR_BTNFACE);
        parent = CreateWindowEx(0, "ListBoxOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                nullptr, nullptr);
        g_log.clear();
    }
    void TearDown() override {
        DestroyWindow(parent);
        Pump();
    }
    HWND Make(DWORD style) {
        return CreateWindowEx(0, WC_LISTBOX, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 100, parent, (HMENU)7,
                              nullptr, nullptr);
    }
    HWND parent = nullptr;
};

TEST_F(ListBoxTest, StringsSortAndAreFoundWithoutRegardToCase) {
    HWND list = Make(LBS_SORT | LBS_HASSTRINGS);
    ASSERT_NE(list, nullptr);
    for (const char* s : {"pear", "Apple", "fig"})
        SendMessage(list, LB_ADDSTRING, 0, (LPARAM)s);
    char text[16];
    SendMessage(list, LB_GETTEXT, 0, (LPARAM)text);
    EXPECT_STREQ(text, "Apple");
    EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)"FIG"), 1);
    EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)"fi"), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 0, (LPARAM)"zebra"), 0);  // inserting does not sort
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 2, 0), 1);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreMeasuredComparedDrawnAndDeleted) {
    HWND list = Make(LBS_SORT | LBS_OWNERDRAWVARIABLE);
    for (LPARAM data : {30, 10, 20})
        SendMessage(list, LB_ADDSTRING, 0, data);
    EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 0, 0), 10);
    EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 2, 0), 30);
    RECT rc{};
    SendMessage(list, LB_GETITEMRECT, 1, (LPARAM)&rc);
    EXPECT_EQ(rc.top, SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_EQ(SendMessage(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(25, 0)), 0);
    SendMessage(list, LB_GETITEMRECT, 1, (LPARAM)&rc);
    EXPECT_EQ(rc.top, 25);

    g_log.clear();
    UpdateWindow(list);
    ASSERT_GE(g_log.size(), 3u);
    EXPECT_EQ(g_log[0], "draw 0 top 0");
    EXPECT_EQ(g_log[1], "draw 1 top 25");

    g_log.clear();
    SendMessage(list, LB_DELETESTRING, 1, 0);
    SendMessage(list, LB_ADDSTRING, 0, 5);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    SendMessage(list, LB_ADDSTRING, 0, 7);
    DestroyWindow(list);
    EXPECT_EQ(g_log, (std::vector<std::string>{"delete 1:20", "delete 2:30", "delete 1:10", "delete 0:5",
                                               "delete 0:7"}));
}

TEST_F(ListBoxTest, ColumnsWheelAndMultipleSelection) {
    HWND list = Make(LBS_MULTICOLUMN | LBS_MULTIPLESEL | LBS_OWNERDRAWFIXED);
    // A fixed list asks its height once, at creation.
    EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 10);
    SendMessage(list, LB_SETCOLUMNWIDTH, 30, 0);
    for (int i = 0; i < 25; ++i)
        SendMessage(list, LB_ADDSTRING, 0, i);
    RECT rc{};
    SendMessage(list, LB_GETITEMRECT, 12, (LPARAM)&rc);  // 10 rows a column: column 1, row 2
    EXPECT_EQ(rc.left, 30);
    EXPECT_EQ(rc.top, 20);
    SendMessage(list, LB_SETSEL, TRUE, 3);
    SendMessage(list, LB_SETSEL, TRUE, 5);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETCARETINDEX, 0, 0), 5);
    SendMessage(list, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 0);
}

}  // namespace
