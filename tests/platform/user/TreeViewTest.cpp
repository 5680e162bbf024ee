#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/ImageList.h"
#include "platform/user/TreeView.h"
#include "tests/support/Gui.h"

namespace {
// The tree's parent: records the notifications and answers them as a test scripts.
struct Parent {
    std::vector<NMTREEVIEW> tree;  // tree notifications as sent
    std::vector<UINT> codes;
    std::function<LRESULT(NMHDR*)> answer;
    int count(UINT code) const {
        int n = 0;
        for (UINT c : codes)
            n += c == code;
        return n;
    }
    const NMTREEVIEW* last(UINT code) const {
        for (auto it = tree.rbegin(); it != tree.rend(); ++it)
            if (it->hdr.code == code)
                return &*it;
        return nullptr;
    }
};
Parent* g_parent = nullptr;

LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && g_parent) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        g_parent->codes.push_back(hdr->code);
        if (hdr->code <= TVN_FIRST && hdr->code > TVN_FIRST - 20 && hdr->code != TVN_KEYDOWN &&
            hdr->code != TVN_BEGINLABELEDIT && hdr->code != TVN_ENDLABELEDIT)
            g_parent->tree.push_back(*reinterpret_cast<NMTREEVIEW*>(lp));
        return g_parent->answer ? g_parent->answer(hdr) : 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("TreeViewTestParent", ParentProc, COLOR_3DFACE);
        g_parent = &parent;
        top = CreateWindowEx(0, "TreeViewTestParent", "tv", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
        tree = CreateWindowEx(0, WC_TREEVIEW, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                              300, 200, top, (HMENU)9, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(top);
        Pump();
        g_parent = nullptr;
    }
    HTREEITEM Add(HTREEITEM under, const char* text, LPARAM param, int children = 0,
                  HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCT ins{};
        ins.hParent = under;
        ins.hInsertAfter = after;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
        ins.item.pszText = const_cast<char*>(text);
        ins.item.lParam = param;
        ins.item.cChildren = children;
        return (HTREEITEM)SendMessage(tree, TVM_INSERTITEM, 0, (LPARAM)&ins);
    }
    HTREEITEM Next(UINT code, HTREEITEM item = nullptr) {
        return (HTREEITEM)SendMessage(tree, TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    std::string Text(HTREEITEM item) {
        char buf[64] = "?";
        TVITEM it{};
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        if (!SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it))
            return "<none>";
        return buf;
    }
    UINT State(HTREEITEM item) {
        TVITEM it{};
        it.mask = TVIF_STATE;
        it.hItem = item;
        it.stateMask = 0xFFFF;
        SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it);
        return it.state;
    }
    int Children(HTREEITEM item) {
        TVITEM it{};
        it.mask = TVIF_CHILDREN;
        it.hItem = item;
        SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it);
        return it.cChildren;
    }
    // The texts of the rows as shown, top to bottom.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (HTREEITEM i = Next(TVGN_ROOT); i; i = Next(TVGN_NEXTVISIBLE, i))
            rows.push_back(Text(i));
        return rows;
    }
    RECT Rect(HTREEITEM item, bool textOnly) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);
        if (!SendMessage(tree, TVM_GETITEMRECT, textOnly, (LPARAM)&r))
            return RECT{-1, -1, -1, -1};
        return r;
    }
    void ClickLabel(HTREEITEM item, UINT down = WM_LBUTTONDOWN) {
        RECT r = Rect(item, true);
        SimulateMouseButton(tree, r.left + 3, (r.top + r.bottom) / 2, down, WM_LBUTTONUP);
        Pump();
    }
    void ClickButton(HTREEITEM item) {
        RECT r = Rect(item, true);
        int indent = (int)SendMessage(tree, TVM_GETINDENT, 0, 0);
        SimulateClick(tree, r.left - indent / 2, (r.top + r.bottom) / 2);
        Pump();
    }
    void Key(UINT vk) {
        SimulateKey(vk);
        Pump();
    }

    Parent parent;
    HWND top = nullptr;
    HWND tree = nullptr;
};

TEST_F(TreeViewTest, InsertedItemsFormTheTreeAndDeletingTellsEachGoneItem) {
    HTREEITEM b = Add(TVI_ROOT, "b", 2);
    HTREEITEM a = Add(TVI_ROOT, "a", 1, 0, TVI_FIRST);
    HTREEITEM d = Add(TVI_ROOT, "d", 4);
    HTREEITEM c = Add(TVI_ROOT, "C", 3, 0, TVI_SORT);  // sorted without regard to case
    HTREEITEM b1 = Add(b, "b1", 21);
    HTREEITEM b2 = Add(b, "b2", 22, 0, b1);
    HTREEITEM b0 = Add(b, "b0", 20, 0, TVI_FIRST);
    EXPECT_EQ(Add((HTREEITEM)0x7777, "orphan", 0), nullptr);  // a parent that does not exist

    EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "C", "d"}));  // b is not open
    EXPECT_EQ(Next(TVGN_ROOT), a);
    EXPECT_EQ(Next(TVGN_NEXT, a), b);
    EXPECT_EQ(Next(TVGN_NEXT, b), c);
    EXPECT_EQ(Next(TVGN_PREVIOUS, d), c);
    EXPECT_EQ(Next(TVGN_NEXT, d), nullptr);
    EXPECT_EQ(Next(TVGN_CHILD, b), b0);
    EXPECT_EQ(Next(TVGN_NEXT, b0), b1);
    EXPECT_EQ(Next(TVGN_NEXT, b1), b2);
    EXPECT_EQ(Next(TVGN_PARENT, b2), b);
    EXPECT_EQ(Next(TVGN_PARENT, b), nullptr);
    EXPECT_EQ(Next(TVGN_CHILD, TVI_ROOT), a);
    EXPECT_EQ(Children(b), 1);  // it has children although it said none
    EXPECT_EQ(Children(a), 0);

    TVITEM it{};
    it.mask = TVIF_PARAM;
    it.hItem = b2;
    ASSERT_TRUE(SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it));
    EXPECT_EQ(it.lParam, 22);
    it.mask = TVIF_TEXT;
    it.pszText = const_cast<char*>("b2 renamed");
    EXPECT_TRUE(SendMessage(tree, TVM_SETITEM, 0, (LPARAM)&it));
    EXPECT_EQ(Text(b2), "b2 renamed");

    parent.tree.clear();
    EXPECT_TRUE(SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)b));
    std::vector<LPARAM> gone;
    for (const NMTREEVIEW& nm : parent.tree) {
        EXPECT_EQ(nm.hdr.code, TVN_DELETEITEM);
        EXPECT_EQ(nm.hdr.hwndFrom, tree);
        EXPECT_EQ(nm.hdr.idFrom, 9u);
        gone.push_back(nm.itemOld.lParam);
    }
    std::sort(gone.begin(), gone.end());
    EXPECT_EQ(gone, (std::vector<LPARAM>{2, 20, 21, 22}));
    // The gone handles fail safely; the rest stays.
    EXPECT_EQ(Text(b1), "<none>");
    EXPECT_FALSE(SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)b1));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "C", "d"}));
    EXPECT_TRUE(SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT));
    EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Next(TVGN_ROOT), nullptr);
}

TEST_F(TreeViewTest, ExpandingAsksTheParentWhichMayFillTheChildrenOrRefuse) {
    HTREEITEM lazy = Add(TVI_ROOT, "lazy", 1, 1);
    HTREEITEM empty = Add(TVI_ROOT, "empty", 2, 1);
    bool refuse = false;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
        if (hdr->code != TVN_ITEMEXPANDING)
            return 0;
        if (refuse)
            return TRUE;
        if (nm->action == TVE_EXPAND && nm->itemNew.hItem == lazy && !Next(TVGN_CHILD, lazy)) {
            Add(lazy, "x", 10);
            Add(lazy, "y", 11);
        }
        return 0;
    };
    EXPECT_EQ(Children(lazy), 1);
    EXPECT_TRUE(SendMessage(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)lazy));
    ASSERT_NE(parent.last(TVN_ITEMEXPANDING), nullptr);
    EXPECT_EQ(parent.last(TVN_ITEMEXPANDING)->itemNew.lParam, 1);
    EXPECT_EQ(parent.last(TVN_ITEMEXPANDED)->action, (UINT)TVE_EXPAND);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"lazy", "x", "y", "empty"}));
    EXPECT_EQ(State(lazy) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), (UINT)(TVIS_EXPANDED | TVIS_EXPANDEDONCE));

    // Once opened, the program's own expand and collapse are no longer told; the user's still are.
    parent.codes.clear();
    EXPECT_TRUE(SendMessage(tree, TVM_EXPAND, TVE_COLLAPSE, (LPARAM)lazy));
    EXPECT_EQ(parent.count(TVN_ITEMEXPANDING), 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"lazy", "empty"}));
    ClickButton(lazy);
    EXPECT_EQ(parent.count(TVN_ITEMEXPANDING), 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"lazy", "x", "y", "empty"}));

    // An item that turns out to have nothing loses its button.
    EXPECT_TRUE(SendMessage(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)empty));
    EXPECT_EQ(Children(empty), 0);
    EXPECT_EQ(State(empty) & TVIS_EXPANDED, 0u);

    // The parent may refuse; a reset collapse drops the children so they are asked for again.
    refuse = true;
    ClickButton(lazy);
    EXPECT_TRUE(State(lazy) & TVIS_EXPANDED);
    refuse = false;
    EXPECT_TRUE(SendMessage(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, (LPARAM)lazy));
    EXPECT_EQ(Next(TVGN_CHILD, lazy), nullptr);
    EXPECT_EQ(Children(lazy), 1);
    parent.codes.clear();
    EXPECT_TRUE(SendMessage(tree, TVM_EXPAND, TVE_TOGGLE, (LPARAM)lazy));
    EXPECT_EQ(parent.count(TVN_ITEMEXPANDING), 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"lazy", "x", "y", "empty"}));
}

TEST_F(TreeViewTest, SelectionIsToldBeforeAndAfterAndFollowsCollapseAndDelete) {
    HTREEITEM a = Add(TVI_ROOT, "a", 1);
    HTREEITEM b = Add(TVI_ROOT, "b", 2);
    HTREEITEM b1 = Add(b, "b1", 21);
    HTREEITEM b2 = Add(b, "b2", 22);
    EXPECT_EQ(Next(TVGN_CARET), nullptr);

    // Selecting a hidden item opens its parent.
    EXPECT_TRUE(SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)b2));
    EXPECT_EQ(Next(TVGN_CARET), b2);
    EXPECT_TRUE(State(b) & TVIS_EXPANDED);
    EXPECT_TRUE(State(b2) & TVIS_SELECTED);
    const NMTREEVIEW* changed = parent.last(TVN_SELCHANGED);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->action, (UINT)TVC_UNKNOWN);
    EXPECT_EQ(changed->itemOld.hItem, nullptr);
    EXPECT_EQ(changed->itemNew.hItem, b2);
    EXPECT_EQ(changed->itemNew.lParam, 22);

    // A refused change leaves the selection.
    parent.answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGING; };
    EXPECT_FALSE(SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)a));
    EXPECT_EQ(Next(TVGN_CARET), b2);
    parent.answer = nullptr;

    // Collapsing its parent moves the selection up; deleting it moves it to a neighbour.
    SendMessage(tree, TVM_EXPAND, TVE_COLLAPSE, (LPARAM)b);
    EXPECT_EQ(Next(TVGN_CARET), b);
    EXPECT_FALSE(State(b2) & TVIS_SELECTED);
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)b1);
    SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)b1);
    EXPECT_EQ(Next(TVGN_CARET), b2);
    EXPECT_EQ(parent.last(TVN_SELCHANGED)->itemNew.hItem, b2);
    SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)b);
    EXPECT_EQ(Next(TVGN_CARET), a);
}

TEST_F(TreeViewTest, MouseSelectsOnTheLabelAndTogglesOnTheButtonOrADoubleClick) {
    HTREEITEM a = Add(TVI_ROOT, "alpha", 1);
    HTREEITEM b = Add(TVI_ROOT, "beta", 2);
    Add(b, "b1", 21);
    ClickLabel(a);
    EXPECT_EQ(GetFocus(), tree);
    EXPECT_EQ(Next(TVGN_CARET), a);
    EXPECT_EQ(parent.last(TVN_SELCHANGED)->action, (UINT)TVC_BYMOUSE);
    EXPECT_EQ(parent.count(NM_CLICK), 1);

    // Far right of a label is not on the item.
    RECT r = Rect(b, true);
    SimulateClick(tree, r.right + 40, (r.top + r.bottom) / 2);
    Pump();
    EXPECT_EQ(Next(TVGN_CARET), a);

    ClickButton(b);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta", "b1"}));
    EXPECT_EQ(Next(TVGN_CARET), a);  // the button does not select
    ClickLabel(b, WM_LBUTTONDBLCLK);
    EXPECT_EQ(Next(TVGN_CARET), b);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta"}));
    // A parent that handles the double click keeps the item as it is.
    parent.answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == NM_DBLCLK; };
    ClickLabel(b, WM_LBUTTONDBLCLK);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta"}));
}

TEST_F(TreeViewTest, AParentMayDestroyTheTreeWhileItIsTold) {
    struct Case {
        UINT code;
        bool byKey;  // else by a double click on the label
    } cases[] = {{TVN_SELCHANGING, false}, {TVN_SELCHANGED, false}, {TVN_ITEMEXPANDING, false},
                 {NM_DBLCLK, false},       {TVN_KEYDOWN, true},     {TVN_SELCHANGED, true},
                 {TVN_ITEMEXPANDING, true}};
    for (const Case& c : cases) {
        if (!IsWindow(tree))
            tree =
                CreateWindowEx(0, WC_TREEVIEW, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT,
                               0, 0, 300, 200, top, (HMENU)9, nullptr, nullptr);
        HTREEITEM a = Add(TVI_ROOT, "a", 1, 1);
        Add(a, "a1", 11);
        parent.answer = [&](NMHDR* hdr) -> LRESULT {
            if (hdr->code == c.code && IsWindow(hdr->hwndFrom))
                DestroyWindow(hdr->hwndFrom);
            return 0;
        };
        if (c.byKey) {
            SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)a);
            SetFocus(tree);
            Key(c.code == TVN_SELCHANGED ? VK_DOWN : VK_RIGHT);
        } else {
            ClickLabel(a, WM_LBUTTONDBLCLK);
        }
        EXPECT_FALSE(IsWindow(tree)) << c.code;
        parent.answer = nullptr;
    }
}

TEST_F(TreeViewTest, KeysMoveOpenAndCloseLikeTheArrowsSay) {
    HTREEITEM a = Add(TVI_ROOT, "a", 1);
    HTREEITEM b = Add(TVI_ROOT, "b", 2, 1);
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_ITEMEXPANDING && !Next(TVGN_CHILD, b)) {
            Add(b, "b1", 21);
            Add(b, "b2", 22);
        }
        return 0;
    };
    HTREEITEM c = Add(TVI_ROOT, "c", 3);
    SetFocus(tree);
    Key(VK_DOWN);  // nothing selected: the first row
    EXPECT_EQ(Next(TVGN_CARET), a);
    Key(VK_DOWN);
    EXPECT_EQ(Next(TVGN_CARET), b);
    EXPECT_EQ(parent.last(TVN_SELCHANGED)->action, (UINT)TVC_BYKEYBOARD);
    Key(VK_RIGHT);  // opens
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "b1", "b2", "c"}));
    EXPECT_EQ(Next(TVGN_CARET), b);
    Key(VK_RIGHT);  // into the first child
    EXPECT_EQ(Text(Next(TVGN_CARET)), "b1");
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Next(TVGN_CARET), c);
    Key(VK_UP);
    EXPECT_EQ(Text(Next(TVGN_CARET)), "b2");
    Key(VK_LEFT);  // to the parent
    EXPECT_EQ(Next(TVGN_CARET), b);
    Key(VK_LEFT);  // closes
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "c"}));
    Key(VK_END);
    EXPECT_EQ(Next(TVGN_CARET), c);
    Key(VK_HOME);
    EXPECT_EQ(Next(TVGN_CARET), a);
    Key(VK_UP);  // stays at the top
    EXPECT_EQ(Next(TVGN_CARET), a);
    parent.codes.clear();
    Key(VK_RETURN);
    EXPECT_EQ(parent.count(NM_RETURN), 1);
    EXPECT_EQ(parent.count(TVN_KEYDOWN), 1);
}

HWND g_earlyTree = nullptr;
LRESULT EarlyParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE)
        g_earlyTree = CreateWindowEx(0, WC_TREEVIEW, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, h, (HMENU)3,
                                     nullptr, nullptr);
    return DefWindowProc(h, msg, wp, lp);
}

TEST_F(TreeViewTest, ATreeMadeWhileItsTopLevelIsCreatedHasTheRowsOfItsFont) {
    // The top-level has no surface while it handles WM_CREATE: the tree measures its font all the same.
    RegisterTestWindowClass("TreeViewEarlyParent", EarlyParentProc, COLOR_3DFACE);
    HWND early = CreateWindowEx(0, "TreeViewEarlyParent", "early", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(g_earlyTree, nullptr);
    EXPECT_EQ(SendMessage(g_earlyTree, TVM_GETITEMHEIGHT, 0, 0), SendMessage(tree, TVM_GETITEMHEIGHT, 0, 0));
    DestroyWindow(early);
    g_earlyTree = nullptr;
}

TEST_F(TreeViewTest, ALongTreeScrollsToTheSelectionAndHitTestingFollowsTheScroll) {
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 40; ++i)
        items.push_back(Add(TVI_ROOT, ("item " + std::to_string(i)).c_str(), i));
    Pump();
    int height = (int)SendMessage(tree, TVM_GETITEMHEIGHT, 0, 0);
    int perPage = (int)SendMessage(tree, TVM_GETVISIBLECOUNT, 0, 0);
    EXPECT_EQ(perPage, 200 / height);
    // The scroll bar control appears, so the rows get narrower than the client.
    EXPECT_LT(Rect(items[0], false).right, 300);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[0]);

    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)items[39]);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[40 - perPage]);
    RECT r = Rect(items[39], true);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, 200);
    TVHITTESTINFO ht{};
    ht.pt = POINT{r.left + 3, (r.top + r.bottom) / 2};
    EXPECT_EQ((HTREEITEM)SendMessage(tree, TVM_HITTEST, 0, (LPARAM)&ht), items[39]);
    EXPECT_EQ(ht.flags, (UINT)TVHT_ONITEMLABEL);

    SendMessage(tree, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[0]);
    SendMessage(tree, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[1]);
    SendMessage(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)items[30]);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[31 - perPage]);

    // Home and End select the first and the last item and bring it into view.
    SetFocus(tree);
    Key(VK_HOME);
    EXPECT_EQ(Next(TVGN_CARET), items[0]);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[0]);
    Key(VK_END);
    EXPECT_EQ(Next(TVGN_CARET), items[39]);
    EXPECT_EQ(Next(TVGN_FIRSTVISIBLE), items[40 - perPage]);
}

TEST_F(TreeViewTest, DrawsTheSelectionHighlightAndTheButtons) {
    HTREEITEM a = Add(TVI_ROOT, "alpha", 1, 1);
    HTREEITEM b = Add(TVI_ROOT, "beta", 2);
    SetFocus(tree);
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)b);
    UpdateWindow(top);
    Pump();
    RECT label = Rect(b, true);
    EXPECT_EQ(GetWindowPixel(tree, label.right - 2, (label.top + label.bottom) / 2),
              GetSysColor(COLOR_HIGHLIGHT));
    RECT other = Rect(a, true);
    EXPECT_EQ(GetWindowPixel(tree, other.right - 2, (other.top + other.bottom) / 2),
              GetSysColor(COLOR_WINDOW));
    // The button box of the item with children: its frame, and the '+' across its middle.
    int indent = (int)SendMessage(tree, TVM_GETINDENT, 0, 0);
    int cx = other.left - indent / 2 - 1, cy = (other.top + other.bottom) / 2;
    EXPECT_EQ(GetWindowPixel(tree, cx - 4, cy), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetWindowPixel(tree, cx, cy - 2), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetWindowPixel(tree, cx - 2, cy), GetSysColor(COLOR_WINDOWTEXT));
    // The item without children has no box, only its line.
    int by = (label.top + label.bottom) / 2;
    EXPECT_NE(GetWindowPixel(tree, cx - 4, by - 3), GetSysColor(COLOR_3DSHADOW));
}

// A list of 16x16 images each filled with one colour.
HIMAGELIST SolidImages(const std::vector<COLORREF>& colours) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, (int)colours.size(), 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 16 * (int)colours.size(), 16);
    HGDIOBJ old = SelectObject(dc, strip);
    for (size_t i = 0; i < colours.size(); ++i) {
        RECT r{(LONG)(16 * i), 0, (LONG)(16 * i + 16), 16};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}

TEST_F(TreeViewTest, ImagesComeBeforeTheLabelAndHitTestsNameWhatIsUnderThePoint) {
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    HIMAGELIST normal = SolidImages({red, green});
    HIMAGELIST states = SolidImages({blue, blue});
    TVINSERTSTRUCT ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    ins.item.pszText = const_cast<char*>("alpha");
    ins.item.iImage = 0;
    ins.item.iSelectedImage = 1;
    ins.item.state = 1u << 12;
    ins.item.stateMask = TVIS_STATEIMAGEMASK;
    HTREEITEM a = (HTREEITEM)SendMessage(tree, TVM_INSERTITEM, 0, (LPARAM)&ins);
    RECT bare = Rect(a, true);
    EXPECT_EQ(SendMessage(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)normal), 0);
    SendMessage(tree, TVM_SETIMAGELIST, TVSIL_STATE, (LPARAM)states);
    EXPECT_EQ((HIMAGELIST)SendMessage(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), normal);
    RECT label = Rect(a, true);
    EXPECT_EQ(label.left, bare.left + 16 + 16 + 3);

    TVITEM it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = a;
    ASSERT_TRUE(SendMessage(tree, TVM_GETITEM, 0, (LPARAM)&it));
    EXPECT_EQ(it.iImage, 0);
    EXPECT_EQ(it.iSelectedImage, 1);

    int y = (label.top + label.bottom) / 2;
    struct Case {
        int x;
        UINT flags;
    } cases[] = {
        {bare.left + 2, TVHT_ONITEMSTATEICON},
        {bare.left + 16 + 2, TVHT_ONITEMICON},
        {label.left + 2, TVHT_ONITEMLABEL},
        {label.right + 5, TVHT_ONITEMRIGHT},
        {bare.left - 4, TVHT_ONITEMINDENT},
    };
    for (const Case& c : cases) {
        TVHITTESTINFO info{};
        info.pt = POINT{c.x, y};
        HTREEITEM hit = (HTREEITEM)SendMessage(tree, TVM_HITTEST, 0, (LPARAM)&info);
        EXPECT_EQ(info.flags, c.flags) << c.x;
        EXPECT_EQ(hit, a) << c.x;
    }
    UpdateWindow(top);
    Pump();
    EXPECT_EQ(GetWindowPixel(tree, bare.left + 8, y), blue);
    EXPECT_EQ(GetWindowPixel(tree, bare.left + 16 + 8, y), red);
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)a);
    UpdateWindow(top);
    Pump();
    EXPECT_EQ(GetWindowPixel(tree, bare.left + 16 + 8, y), green);  // the selected image
    DestroyWindow(tree);
    ImageList_Destroy(normal);
    ImageList_Destroy(states);
}

TEST_F(TreeViewTest, BoldItemsAreWider) {
    HTREEITEM a = Add(TVI_ROOT, "QBroker log name", 1);
    HTREEITEM b = Add(TVI_ROOT, "QBroker log name", 2);
    TVITEM it{};
    it.mask = TVIF_STATE;
    it.hItem = b;
    it.state = TVIS_BOLD;
    it.stateMask = TVIS_BOLD;
    SendMessage(tree, TVM_SETITEM, 0, (LPARAM)&it);
    EXPECT_EQ(State(b) & TVIS_BOLD, (UINT)TVIS_BOLD);
    RECT normal = Rect(a, true), bold = Rect(b, true);
    EXPECT_GT(bold.right - bold.left, normal.right - normal.left);
}

// Setting state changes only the bits in the mask; an item marked open before it has children shows them
// once they come.
TEST_F(TreeViewTest, SettingStateKeepsTheBitsOutsideTheMaskEvenBeforeChildrenCome) {
    struct Case {
        UINT inserted, state, mask, expected;
    } cases[] = {
        {TVIS_EXPANDED, TVIS_BOLD, TVIS_BOLD, TVIS_EXPANDED | TVIS_BOLD},
        {TVIS_EXPANDED | TVIS_BOLD, 0, TVIS_BOLD, TVIS_EXPANDED},
        {TVIS_EXPANDED | TVIS_BOLD, TVIS_CUT, TVIS_CUT, TVIS_EXPANDED | TVIS_BOLD | TVIS_CUT},
        {TVIS_EXPANDED, INDEXTOSTATEIMAGEMASK(2), TVIS_STATEIMAGEMASK, TVIS_EXPANDED | INDEXTOSTATEIMAGEMASK(2)},
        {0, TVIS_EXPANDED | TVIS_BOLD, TVIS_EXPANDED | TVIS_BOLD, TVIS_EXPANDED | TVIS_BOLD},
        {TVIS_EXPANDED | TVIS_BOLD, 0, TVIS_EXPANDED, TVIS_BOLD},
    };
    const UINT kBits = TVIS_EXPANDED | TVIS_BOLD | TVIS_CUT | TVIS_STATEIMAGEMASK;
    for (const Case& c : cases) {
        SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
        TVINSERTSTRUCT ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_STATE;
        ins.item.pszText = const_cast<char*>("root");
        ins.item.state = ins.item.stateMask = c.inserted;
        HTREEITEM root = (HTREEITEM)SendMessage(tree, TVM_INSERTITEM, 0, (LPARAM)&ins);
        TVITEM it{};
        it.mask = TVIF_STATE;
        it.hItem = root;
        it.state = c.state;
        it.stateMask = c.mask;
        ASSERT_TRUE(SendMessage(tree, TVM_SETITEM, 0, (LPARAM)&it));
        Add(root, "child", 1);
        SCOPED_TRACE(testing::Message() << std::hex << "inserted 0x" << c.inserted << " state 0x" << c.state
                                        << " mask 0x" << c.mask);
        EXPECT_EQ(State(root) & kBits, c.expected);
        std::vector<std::string> rows{"root"};
        if (c.expected & TVIS_EXPANDED)
            rows.push_back("child");
        EXPECT_EQ(Rows(), rows);
    }
}

TEST_F(TreeViewTest, SingleExpandKeepsOneBranchOpenAsTheUserSelects) {
    SetWindowLongPtr(tree, GWL_STYLE, GetWindowLongPtr(tree, GWL_STYLE) | TVS_SINGLEEXPAND);
    HTREEITEM a = Add(TVI_ROOT, "a", 1);
    Add(a, "a1", 11);
    HTREEITEM b = Add(TVI_ROOT, "b", 2);
    HTREEITEM b1 = Add(b, "b1", 21);
    ClickLabel(a);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "a1", "b"}));
    ClickLabel(b);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "b1"}));
    ClickLabel(b1);  // inside the open branch: it stays open
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "b1"}));
    // A program's own selection opens nothing.
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)a);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "b1"}));
}

TEST_F(TreeViewTest, ShowSelAlwaysKeepsTheSelectionVisibleWithoutFocus) {
    HTREEITEM a = Add(TVI_ROOT, "alpha", 1);
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)a);
    SetFocus(top);
    for (bool always : {false, true}) {
        LONG_PTR style = GetWindowLongPtr(tree, GWL_STYLE);
        SetWindowLongPtr(tree, GWL_STYLE, always ? (style | TVS_SHOWSELALWAYS) : (style & ~TVS_SHOWSELALWAYS));
        InvalidateRect(tree, nullptr, TRUE);
        UpdateWindow(top);
        Pump();
        RECT label = Rect(a, true);
        EXPECT_EQ(GetWindowPixel(tree, label.right - 2, (label.top + label.bottom) / 2),
                  GetSysColor(always ? COLOR_3DFACE : COLOR_WINDOW))
            << always;
    }
}
}  // namespace

TEST_F(TreeViewTest, MovingAPressedItemBeyondTheDragDistanceBeginsADragOnce) {
    Add(TVI_ROOT, "alpha", 1);
    HTREEITEM b = Add(TVI_ROOT, "beta", 2);
    RECT r = Rect(b, true);
    int x = r.left + 3, y = (r.top + r.bottom) / 2;
    auto press = [&] { SendMessage(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); };
    auto move = [&](int dx, WPARAM keys) { SendMessage(tree, WM_MOUSEMOVE, keys, MAKELPARAM(x + dx, y)); };
    struct Case {
        const char* what;
        DWORD extraStyle;
        int dx;
        WPARAM keys;
        int drags;
    } cases[] = {{"within the drag distance", 0, 2, MK_LBUTTON, 0},
                 {"beyond it", 0, 6, MK_LBUTTON, 1},
                 {"after the button came up", 0, 6, 0, 0},
                 {"drag and drop switched off", TVS_DISABLEDRAGDROP, 6, MK_LBUTTON, 0}};
    for (const Case& c : cases) {
        SetWindowLong(tree, GWL_STYLE, (LONG)((GetWindowLong(tree, GWL_STYLE) & ~TVS_DISABLEDRAGDROP) | c.extraStyle));
        parent.codes.clear();
        parent.tree.clear();
        press();
        move(c.dx, c.keys);
        if (c.drags)
            move(c.dx + 10, MK_LBUTTON);  // one drag per press at most
        SendMessage(tree, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        EXPECT_EQ(parent.count(TVN_BEGINDRAG), c.drags) << c.what;
        if (c.drags) {
            EXPECT_EQ(parent.last(TVN_BEGINDRAG)->itemNew.hItem, b) << c.what;
            EXPECT_EQ(parent.last(TVN_BEGINDRAG)->itemNew.lParam, 2) << c.what;
        }
    }
}

TEST_F(TreeViewTest, LabelEditingAsksBeforeAndAfterAndEndsByEnterEscapeOrFocusLoss) {
    SetWindowLongPtr(tree, GWL_STYLE, GetWindowLongPtr(tree, GWL_STYLE) | TVS_EDITLABELS);
    HTREEITEM a = Add(TVI_ROOT, "alpha", 1);
    HTREEITEM b = Add(TVI_ROOT, "beta", 2);
    LRESULT refuseBegin = FALSE, acceptEnd = TRUE;
    std::string began, ended;
    parent.answer = [&](NMHDR* hdr) -> LRESULT {
        auto* di = reinterpret_cast<NMTVDISPINFO*>(hdr);
        if (hdr->code == TVN_BEGINLABELEDIT) {
            began = di->item.pszText;
            return refuseBegin;
        }
        if (hdr->code == TVN_ENDLABELEDIT) {
            ended = di->item.pszText ? di->item.pszText : "(cancelled)";
            return acceptEnd;
        }
        return 0;
    };
    auto edit = [&](HTREEITEM item) { return (HWND)SendMessage(tree, TVM_EDITLABEL, 0, (LPARAM)item); };

    // Enter keeps the typed text; the edit stands over the label.
    HWND e = edit(a);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(began, "alpha");
    EXPECT_EQ((HWND)SendMessage(tree, TVM_GETEDITCONTROL, 0, 0), e);
    EXPECT_EQ(GetFocus(), e);
    RECT er, label = Rect(a, true);
    GetWindowRect(e, &er);
    POINT o{label.left, label.top};
    ClientToScreen(tree, &o);
    EXPECT_EQ(er.left, o.x);
    EXPECT_EQ(er.top, o.y);
    SimulateChars("gamma");
    Key(VK_RETURN);
    EXPECT_EQ(ended, "gamma");
    EXPECT_EQ(Text(a), "gamma");
    EXPECT_FALSE(IsWindow(e));
    EXPECT_EQ(SendMessage(tree, TVM_GETEDITCONTROL, 0, 0), 0);

    // A text the parent turns down, Escape, and focus loss (which keeps the text).
    acceptEnd = FALSE;
    edit(b);
    SimulateChars("no");
    Key(VK_RETURN);
    EXPECT_EQ(ended, "no");
    EXPECT_EQ(Text(b), "beta");
    acceptEnd = TRUE;
    edit(b);
    SimulateChars("esc");
    Key(VK_ESCAPE);
    EXPECT_EQ(ended, "(cancelled)");
    EXPECT_EQ(Text(b), "beta");
    edit(b);
    SimulateChars("delta");
    Pump();
    SetFocus(tree);
    Pump();
    EXPECT_EQ(ended, "delta");
    EXPECT_EQ(Text(b), "delta");

    // F2 edits the selection; deleting the edited item cancels the edit.
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)b);
    SetFocus(tree);
    Key(VK_F2);
    e = (HWND)SendMessage(tree, TVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(e, nullptr);
    ended.clear();
    SendMessage(tree, TVM_DELETEITEM, 0, (LPARAM)b);
    Pump();
    EXPECT_EQ(SendMessage(tree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_FALSE(IsWindow(e));
    EXPECT_EQ(ended, "(cancelled)");

    // A refused begin makes no edit.
    refuseBegin = TRUE;
    EXPECT_EQ(edit(a), nullptr);
    EXPECT_EQ(SendMessage(tree, TVM_GETEDITCONTROL, 0, 0), 0);
}
