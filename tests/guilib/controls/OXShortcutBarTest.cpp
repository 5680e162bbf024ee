#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/controls/OXShortcutBar.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "tests/support/Gui.h"

namespace {

// What the owner saw and how it answers, by notification code.
std::vector<UINT> g_codes;
std::map<UINT, LRESULT> g_answers;
std::vector<CString> g_menu;  // the texts of the last context menu

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMSHORTCUTBAR*>(lp);
        if (nm->hdr.code >= 0x80A0 && nm->hdr.code <= 0x80FF) {
            g_codes.push_back(nm->hdr.code);
            if (nm->hdr.code == SHBN_CONTEXTMENU) {
                g_menu.clear();
                CMenu* menu = reinterpret_cast<SHBCONTEXTMENU*>(nm->lParam)->pMenu;
                for (int i = 0; i < (int)menu->GetMenuItemCount(); ++i) {
                    char text[64] = {0};
                    ::GetMenuString(menu->GetSafeHmenu(), (UINT)i, text, sizeof text, MF_BYPOSITION);
                    g_menu.push_back(text);
                }
                return 1;
            }
            auto it = g_answers.find(nm->hdr.code);
            return it == g_answers.end() ? 0 : it->second;
        }
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

int Count(UINT code) {
    return (int)std::count(g_codes.begin(), g_codes.end(), code);
}

// A 400 x 320 owner at the screen's origin and a 200 x 300 bar at its top-left corner.
class ShortcutBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_codes.clear();
        g_answers.clear();
        g_menu.clear();
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_BTNSHADOW, RGB(128, 128, 128));
        RegisterTestWindowClass("ShortcutBarOwner", OwnerProc, COLOR_WINDOW);
        ASSERT_TRUE(owner.CreateEx(0, "ShortcutBarOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 320, nullptr,
                                   nullptr));
    }
    void TearDown() override {
        bar.reset();
        owner.DestroyWindow();
        Pump();
        app.reset();
        ResetSysColors();
    }
    void MakeBar(DWORD style = 0, RECT rect = RECT{0, 0, 200, 300}) {
        bar = std::make_unique<COXShortcutBar>();
        ASSERT_TRUE(bar->Create(&owner, rect, style, 100));
    }
    std::vector<int> Orders(const std::vector<HSHBGROUP>& groups) {
        std::vector<int> orders;
        for (HSHBGROUP g : groups)
            orders.push_back(bar->GetGroupOrder(g));
        return orders;
    }
    RECT Header(HSHBGROUP g) {
        RECT r{};
        bar->GetGroupHeaderRect(g, &r);
        return r;
    }
    void Click(int x, int y) {
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    CWnd owner;
    std::unique_ptr<COXShortcutBar> bar;
    std::unique_ptr<COXSkinnedApp> app;
};

TEST_F(ShortcutBarTest, InsertedGroupsTakeTheirOrders) {
    MakeBar();
    HSHBGROUP a = bar->InsertGroup("Charlie", -2), b = bar->InsertGroup("alpha", -2), c = bar->InsertGroup("Bravo", -2);
    EXPECT_EQ(Orders({a, b, c}), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(a, (HSHBGROUP)1);
    EXPECT_EQ(c, (HSHBGROUP)3);
    HSHBGROUP first = bar->InsertGroup("First", -1);
    EXPECT_EQ(Orders({first, a, b, c}), (std::vector<int>{0, 1, 2, 3}));
    HSHBGROUP second = bar->InsertGroup("Second", 1);
    EXPECT_EQ(Orders({first, second, a, b, c}), (std::vector<int>{0, 1, 2, 3, 4}));
    // -3 sorts every group by text, case-blind.
    HSHBGROUP delta = bar->InsertGroup("delta", -3);
    EXPECT_EQ(Orders({b, c, a, delta, first, second}), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(bar->GetGroupListCtrl(delta)->GetGroup(), delta);
    EXPECT_EQ(::GetParent(bar->GetGroupChildWindow(delta)), bar->GetSafeHwnd());

    // Refused records change nothing; the owner's veto inserts nothing.
    EXPECT_EQ(bar->InsertGroup("Image", -2, 0), nullptr) << "an image index without an image list";
    EXPECT_EQ(bar->InsertGroup("Order", 17), nullptr);
    SHB_GROUPINFO bad;
    bad.nMask = SHBIF_TEXT | 0x1;
    EXPECT_EQ(bar->InsertGroup(&bad), nullptr);
    g_answers[SHBN_INSERTGROUP] = 1;
    EXPECT_EQ(bar->InsertGroup("Vetoed", -2), nullptr);
    EXPECT_EQ(bar->GetGroupCount(), 6);

    // Whole texts only, and by order.
    EXPECT_EQ(bar->FindGroupByText("Bravo"), c);
    HSHBGROUP abc = bar->InsertGroup("Abc", -2);
    EXPECT_EQ(abc, nullptr) << "vetoed still";
    g_answers.clear();
    abc = bar->InsertGroup("Abc", -2);
    EXPECT_EQ(bar->FindGroupByText("Ab"), nullptr);
    EXPECT_EQ(bar->FindGroupByText("Abc"), abc);
    EXPECT_EQ(bar->FindGroupByOrder(0), b);
}

TEST_F(ShortcutBarTest, DeletingGroupsMovesTheOthersAndTheExpansion) {
    MakeBar();
    HSHBGROUP a = bar->InsertGroup("A", -2), b = bar->InsertGroup("B", -2), c = bar->InsertGroup("C", -2);
    bar->ExpandGroup(c);
    g_answers[SHBN_DELETEGROUP] = 1;
    EXPECT_FALSE(bar->DeleteGroup(c));
    g_answers.clear();
    EXPECT_TRUE(bar->DeleteGroup(c));
    EXPECT_EQ(bar->GetExpandedGroupHandle(), a) << "the last one went: order 0 expands";
    EXPECT_TRUE(bar->DeleteGroup(a));
    EXPECT_EQ(bar->GetGroupOrder(b), 0);
    EXPECT_EQ(bar->GetExpandedGroupHandle(), b);
    EXPECT_TRUE(bar->DeleteGroup(b));
    EXPECT_EQ(bar->GetExpandedGroupHandle(), nullptr);
    EXPECT_FALSE(bar->DeleteGroup(b));
    EXPECT_EQ(bar->InsertGroup("D", -2), (HSHBGROUP)4) << "handles are never reused";
}

TEST_F(ShortcutBarTest, ClassicLayoutStacksTheExpandedChildUnderItsHeader) {
    MakeBar();
    HSHBGROUP a = bar->InsertGroup("A", -2), b = bar->InsertGroup("B", -2), c = bar->InsertGroup("C", -2);
    bar->ExpandGroup(a);
    EXPECT_EQ(Header(a).top, 0);
    EXPECT_EQ(Header(a).bottom, 18);
    EXPECT_EQ(Header(b).top, 264);
    EXPECT_EQ(Header(c).top, 282);
    RECT child = bar->GetChildWndRect();
    EXPECT_EQ(child.left, 5);
    EXPECT_EQ(child.top, 23);
    EXPECT_EQ(child.right, 195);
    EXPECT_EQ(child.bottom, 259);
    RECT placed{};
    ::GetWindowRect(bar->GetGroupChildWindow(a), &placed);
    EXPECT_EQ(placed.top, 23);
    EXPECT_TRUE(::IsWindowVisible(bar->GetGroupChildWindow(a)));
    EXPECT_FALSE(::IsWindowVisible(bar->GetGroupChildWindow(b)));
    int place = 0;
    EXPECT_EQ(bar->HitTest(POINT{10, 270}, &place), b);
    EXPECT_EQ(place, 1);
    EXPECT_EQ(bar->HitTest(POINT{10, 100}, &place), a);
    EXPECT_EQ(place, 2);
    // A click on a header expands its group; the owner hears of it and may veto.
    Click(10, 270);
    EXPECT_EQ(bar->GetExpandedGroupHandle(), b);
    EXPECT_EQ(Header(b).top, 18);
    EXPECT_EQ(Count(SHBN_GROUPEXPANDING), 2);
    EXPECT_EQ(Count(SHBN_GROUPEXPANDED), 2);
    g_answers[SHBN_GROUPEXPANDING] = 1;
    Click(10, 5);
    EXPECT_EQ(bar->GetExpandedGroupHandle(), b);
}

TEST_F(ShortcutBarTest, Office2003LayoutPutsTheHeadersTogetherAtTheBottom) {
    app = std::make_unique<COXSkinnedApp>();
    ASSERT_TRUE(app->SetCurrentSkin("Office 2003"));
    MakeBar();
    HSHBGROUP a = bar->InsertGroup("A", -2), b = bar->InsertGroup("B", -2), c = bar->InsertGroup("C", -2);
    bar->ExpandGroup(a);
    EXPECT_EQ(Header(a).top, 204);
    EXPECT_EQ(Header(b).top, 236);
    EXPECT_EQ(Header(c).top, 268);
    RECT child = bar->GetChildWndRect();
    EXPECT_EQ(child.left, 5);
    EXPECT_EQ(child.top, 30);
    EXPECT_EQ(child.right, 195);
    EXPECT_EQ(child.bottom, 199);
}

TEST_F(ShortcutBarTest, HotTrackingExpandsOnReleaseOverTheSameHeader) {
    MakeBar(SHBS_FLATGROUPBUTTON | SHBS_DISABLEDRAGDROPHEADER);
    HSHBGROUP a = bar->InsertGroup("A", -2), b = bar->InsertGroup("B", -2);
    bar->ExpandGroup(a);
    int y = Header(b).top + 5;
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
    EXPECT_EQ(bar->GetExpandedGroupHandle(), a);
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 100));
    EXPECT_EQ(bar->GetExpandedGroupHandle(), a) << "released elsewhere";
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
    bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, y));
    EXPECT_EQ(bar->GetExpandedGroupHandle(), b);
}

TEST_F(ShortcutBarTest, DraggedHeadersTakeTheTargetsOrderUnlessTheOwnerSaysNo) {
    DrivenClock clock;
    MakeBar();
    HSHBGROUP a = bar->InsertGroup("A", -2), b = bar->InsertGroup("B", -2), c = bar->InsertGroup("C", -2);
    bar->ExpandGroup(a);
    auto drag = [&](HSHBGROUP from, HSHBGROUP to) {
        RECT f = Header(from), t = Header(to);
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, f.top + 5));
        clock.Advance(150);
        Pump();
        bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, f.top + 6));
        bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, t.top + 5));
        bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, t.top + 5));
    };
    drag(c, c);
    EXPECT_EQ(Orders({a, b, c}), (std::vector<int>{0, 1, 2})) << "onto itself";
    EXPECT_EQ(Count(SHBN_DROPGROUP), 0);
    g_answers[SHBN_DROPGROUP] = 1;
    drag(c, b);
    EXPECT_EQ(Orders({a, b, c}), (std::vector<int>{0, 1, 2}));
    g_answers.clear();
    drag(c, b);
    EXPECT_EQ(Orders({a, b, c}), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(Count(SHBN_BEGINDRAGHEADER), 3);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ShortcutBarTest, ContextMenuOfTheCustomizeDialogsStyle) {
    MakeBar(0x05D3);
    HSHBGROUP a = bar->InsertGroup("A", -2);
    bar->ExpandGroup(a);
    bar->SendMessage(WM_CONTEXTMENU, (WPARAM)bar->GetSafeHwnd(), MAKELPARAM(10, 5));
    EXPECT_EQ(g_menu, (std::vector<CString>{"Large Icons", "Small Icons"}));
    bar->SetBarStyle(SHBS_EDITHEADERS | SHBS_EDITITEMS);
    bar->InsertGroupItem(a, LVIF_TEXT, 0, "Item", 0, 0, 0, 0);
    RECT item{};
    bar->GetGroupListCtrl(a)->GetItemRectangle(0, LVIR_BOUNDS, &item);
    POINT onItem{item.left + 23 + 2, item.top + 23 + 2};
    bar->SendMessage(WM_CONTEXTMENU, (WPARAM)bar->GetSafeHwnd(), MAKELPARAM(onItem.x, onItem.y));
    EXPECT_EQ(g_menu, (std::vector<CString>{"Add New Group", "", "Large Icons", "Small Icons", "", "Remove Group",
                                            "Rename Group", "", "Rename Item", "Remove Item"}));
    EXPECT_FALSE(bar->SetBarStyle(0x10000));
}

TEST_F(ShortcutBarTest, HeaderEditingRenamesUnlessTheOwnerRefuses) {
    MakeBar(SHBS_EDITHEADERS);
    HSHBGROUP a = bar->InsertGroup("Old", -2);
    ASSERT_TRUE(bar->EditGroupHeader(a));
    COXSHBEdit* edit = bar->GetEditControl();
    RECT r{};
    ::GetWindowRect(edit->GetSafeHwnd(), &r);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 200);
    edit->SetWindowText("New");
    SimulateKey(VK_RETURN);
    Pump(true);
    EXPECT_EQ(bar->GetGroupText(a), "New");
    g_answers[SHBN_ENDHEADEREDIT] = 1;
    ASSERT_TRUE(bar->EditGroupHeader(a));
    edit->SetWindowText("Refused");
    SimulateKey(VK_RETURN);
    Pump(true);
    EXPECT_EQ(bar->GetGroupText(a), "New");
    g_answers[SHBN_BEGINHEADEREDIT] = 1;
    EXPECT_FALSE(bar->EditGroupHeader(a));
    bar->SetBarStyle(0);
    g_answers.clear();
    EXPECT_FALSE(bar->EditGroupHeader(a));
}

TEST(ShortcutBarColours, AdjustInvertAndCloseness) {
    EXPECT_EQ(COXShortcutBar::AdjustColor(RGB(10, 200, 100), -300), RGB(0, 0, 0));
    EXPECT_EQ(COXShortcutBar::AdjustColor(RGB(10, 200, 100), 300), RGB(255, 255, 255));
    EXPECT_EQ(COXShortcutBar::AdjustColor(RGB(212, 208, 200), -128), RGB(84, 80, 72));
    EXPECT_EQ(COXShortcutBar::InvertColor(RGB(0, 45, 255)), RGB(255, 210, 0));
    EXPECT_TRUE(COXShortcutBar::IsColorClose(RGB(20, 20, 20), RGB(0, 0, 0), 20));
    EXPECT_FALSE(COXShortcutBar::IsColorClose(RGB(200, 0, 0), RGB(0, 0, 0), 64));
}

TEST_F(ShortcutBarTest, SortingByDirection) {
    MakeBar();
    HSHBGROUP b = bar->InsertGroup("b", -2), a = bar->InsertGroup("A", -2), c = bar->InsertGroup("C", -2);
    EXPECT_TRUE(bar->SortGroupsByText(0));
    EXPECT_EQ(Orders({b, a, c}), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(bar->SortGroupsByText(-1));
    EXPECT_EQ(Orders({c, b, a}), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(bar->GetSortOrder(), -1);
    // Items: case-sensitive, ascending, with new indexes.
    for (const char* t : {"beta", "Alpha", "alpha"})
        bar->InsertGroupItem(a, LVIF_TEXT, bar->GetGroupItemCount(a), t, 0, 0, 0, 0);
    ASSERT_TRUE(bar->SortGroupItems(a));
    COXSHBListCtrl* list = bar->GetGroupListCtrl(a);
    EXPECT_EQ(list->GetItemText(0, 0), "Alpha");
    EXPECT_EQ(list->GetItemText(1, 0), "alpha");
    EXPECT_EQ(list->GetItemText(2, 0), "beta");
}

}  // namespace
