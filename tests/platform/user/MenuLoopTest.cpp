#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/Menu.h"

namespace {
struct Note {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool operator==(const Note& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};
std::ostream& operator<<(std::ostream& os, const Note& n) {
    return os << "{0x" << std::hex << n.msg << ", 0x" << n.wp << ", 0x" << n.lp << std::dec << "}";
}

// What the owner of the menus is told, and the steps a test runs each time the menu loop is idle.
struct Owner {
    std::vector<Note> notes;
    std::deque<std::function<void()>> steps;
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<HGDIOBJ> drawnFonts;  // the font selected in each DC handed to WM_DRAWITEM
    LRESULT menuChar = 0;
    int measureHeight = 30;
} g_owner;

LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
        case WM_INITMENU:
        case WM_INITMENUPOPUP:
        case WM_MENUSELECT:
        case WM_COMMAND:
        case WM_SYSCOMMAND:
            g_owner.notes.push_back(Note{msg, wp, lp});
            return 0;
        case WM_MENUCHAR:
            g_owner.notes.push_back(Note{msg, wp, lp});
            return g_owner.menuChar;
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            mis->itemWidth = 120;
            mis->itemHeight = (UINT)g_owner.measureHeight;
            g_owner.measured.push_back(*mis);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            g_owner.drawn.push_back(*dis);
            g_owner.drawnFonts.push_back(GetCurrentObject(dis->hDC, OBJ_FONT));
            FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(COLOR_WINDOW));
            return TRUE;
        }
        case WM_ENTERIDLE:
            // The next step runs once the loop has handled everything the last one caused; with none
            // left the menu ends, so a test never hangs.
            if (g_owner.steps.empty()) {
                EndMenu();
            } else {
                auto step = std::move(g_owner.steps.front());
                g_owner.steps.pop_front();
                step();
                PostMessage(h, WM_NULL, 0, 0);
            }
            return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

std::vector<UINT> g_clicks;
LRESULT OtherProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        g_clicks.push_back(msg);
    return DefWindowProc(h, msg, wp, lp);
}

class MenuLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "MenuLoopOwner";
        RegisterClass(&wc);
        wc.lpfnWndProc = OtherProc;
        wc.lpszClassName = "MenuLoopOther";
        RegisterClass(&wc);
        owner = CreateWindowEx(0, "MenuLoopOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
        SetActiveWindow(owner);
        SetFocus(owner);
        g_owner = Owner{};
        g_clicks.clear();

        // [New, Recent > [One, Two], separator, Exit]
        sub = CreatePopupMenu();
        AppendMenu(sub, MF_STRING, 201, "&One");
        AppendMenu(sub, MF_STRING, 202, "&Two");
        menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, 100, "&New\tCtrl+N");
        AppendMenu(menu, MF_POPUP, (UINT_PTR)sub, "&Recent");
        AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(menu, MF_STRING, 102, "E&xit");
    }
    void TearDown() override {
        DestroyMenu(menu);
        DestroyWindow(owner);
        UnregisterClass("MenuLoopOwner", nullptr);
        UnregisterClass("MenuLoopOther", nullptr);
    }
    UINT Track(std::vector<std::function<void()>> steps, UINT flags = TPM_RETURNCMD, int x = 50, int y = 40,
               HMENU which = nullptr) {
        g_owner.steps.assign(steps.begin(), steps.end());
        return (UINT)TrackPopupMenu(which ? which : menu, flags, x, y, 0, owner, nullptr);
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
    }
    static std::vector<Note> Only(UINT msg) {
        std::vector<Note> out;
        for (const Note& n : g_owner.notes)
            if (n.msg == msg)
                out.push_back(n);
        return out;
    }
    // The client point of the middle of item `index` of a popup whose rows are text items and separators.
    static POINT RowCentre(HMENU m, int index) {
        int top = 0;
        for (int i = 0; i < index; ++i)
            top += MenuItemHeight(GetMenuState(m, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR);
        return POINT{30, top + MenuItemHeight(false) / 2};
    }
    static void Click(HWND popup, POINT p) { SimulateClick(popup, p.x, p.y); }
    static void Hover(HWND popup, POINT p) {
        ClientToScreen(popup, &p);
        PostMouseInput(WM_MOUSEMOVE, p, 0);
    }

    HWND owner = nullptr;
    HMENU menu = nullptr;
    HMENU sub = nullptr;
};
}  // namespace

TEST(MenuEditTest, InsertModifyDeleteAndItemInfo) {
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 10, "&Open");
    AppendMenu(file, MF_STRING, 12, "&Close");
    EXPECT_TRUE(InsertMenu(file, 12, MF_BYCOMMAND | MF_STRING, 11, "&Save"));
    EXPECT_TRUE(InsertMenu(file, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(InsertMenu(file, (UINT)-1, MF_BYPOSITION, 13, "E&xit"));
    HMENU bar = CreateMenu();
    EXPECT_TRUE(AppendMenu(bar, MF_POPUP, (UINT_PTR)file, "&File"));
    // By command, the search reaches into the sub-menu and inserts there.
    EXPECT_TRUE(InsertMenu(bar, 13, MF_BYCOMMAND, 14, "Recent"));
    EXPECT_FALSE(InsertMenu(bar, 999, MF_BYCOMMAND, 15, "nowhere"));
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(file); ++i)
        ids.push_back(GetMenuItemID(file, i));
    EXPECT_EQ(ids, (std::vector<UINT>{0, 10, 11, 12, 14, 13}));
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), (6u << 8) | MF_POPUP);
    EXPECT_EQ(GetMenuItemID(bar, 0), (UINT)-1);

    EXPECT_TRUE(HiliteMenuItem(nullptr, bar, 0, MF_BYPOSITION | MF_HILITE));
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE, (UINT)MF_HILITE);
    HiliteMenuItem(nullptr, bar, 0, MF_BYPOSITION | MF_UNHILITE);
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE, 0u);

    // An owner-drawn item with its data, inserted from an item record.
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    info.fType = MFT_OWNERDRAW;
    info.fState = MFS_CHECKED | MFS_GRAYED;
    info.wID = 30;
    info.dwItemData = 0xBEEF;
    EXPECT_TRUE(InsertMenuItem(file, 1, TRUE, &info));
    MENUITEMINFO got{};
    got.cbSize = sizeof got;
    got.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE | MIIM_SUBMENU;
    EXPECT_TRUE(GetMenuItemInfo(bar, 30, FALSE, &got));
    EXPECT_EQ(got.fType, (UINT)MFT_OWNERDRAW);
    EXPECT_EQ(got.fState, (UINT)(MFS_CHECKED | MFS_GRAYED));
    EXPECT_EQ(got.wID, 30u);
    EXPECT_EQ(got.dwItemData, 0xBEEFu);
    EXPECT_EQ(got.hSubMenu, nullptr);

    // Text: the length alone, then copies cut to the buffer.
    char buffer[16];
    MENUITEMINFO text{};
    text.cbSize = sizeof text;
    text.fMask = MIIM_STRING;
    EXPECT_TRUE(GetMenuItemInfo(file, 10, FALSE, &text));
    EXPECT_EQ(text.cch, 5u);
    text.dwTypeData = buffer;
    text.cch = 4;
    EXPECT_TRUE(GetMenuItemInfo(file, 10, FALSE, &text));
    EXPECT_STREQ(buffer, "&Op");
    EXPECT_EQ(text.cch, 3u);
    MENUITEMINFO rename{};
    rename.cbSize = sizeof rename;
    rename.fMask = MIIM_STRING | MIIM_DATA;
    rename.dwTypeData = const_cast<char*>("&Open...\tCtrl+O");
    rename.dwItemData = 7;
    EXPECT_TRUE(SetMenuItemInfo(file, 10, FALSE, &rename));
    EXPECT_EQ(GetMenuString(bar, 10, buffer, sizeof buffer, MF_BYCOMMAND), 15);
    EXPECT_STREQ(buffer, "&Open...\tCtrl+O");

    // A menu never goes under itself or its own sub-menus.
    MENUITEMINFO loop{};
    loop.cbSize = sizeof loop;
    loop.fMask = MIIM_SUBMENU;
    loop.hSubMenu = bar;
    EXPECT_FALSE(SetMenuItemInfo(file, 10, FALSE, &loop));
    EXPECT_FALSE(AppendMenu(file, MF_POPUP, (UINT_PTR)bar, "loop"));
    EXPECT_FALSE(AppendMenu(file, MF_POPUP, (UINT_PTR)file, "self"));
    EXPECT_FALSE(InsertMenu(bar, 12, MF_BYCOMMAND | MF_POPUP, (UINT_PTR)file, "into its own list"));

    // RemoveMenu leaves a sub-menu to the caller, DeleteMenu and ModifyMenu destroy it.
    HMENU a = CreatePopupMenu(), b = CreatePopupMenu(), c = CreatePopupMenu();
    AppendMenu(bar, MF_POPUP, (UINT_PTR)a, "A");
    AppendMenu(bar, MF_POPUP, (UINT_PTR)b, "B");
    AppendMenu(bar, MF_POPUP, (UINT_PTR)c, "C");
    EXPECT_TRUE(RemoveMenu(bar, 1, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(a));
    EXPECT_TRUE(DeleteMenu(bar, 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(b));
    EXPECT_TRUE(ModifyMenu(bar, 1, MF_BYPOSITION | MF_STRING, 40, "&Help"));
    EXPECT_FALSE(IsMenu(c));
    EXPECT_EQ(GetMenuItemID(bar, 1), 40u);
    EXPECT_FALSE(DeleteMenu(bar, 5, MF_BYPOSITION));
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(file));
    EXPECT_FALSE(DestroyMenu(file));  // stale: fails harmlessly
    EXPECT_FALSE(AppendMenu(file, MF_STRING, 1, "x"));
    EXPECT_EQ(GetMenuState(file, 0, MF_BYPOSITION), (UINT)-1);
    DestroyMenu(a);
}

TEST(MenuEditTest, SystemMenusPerWindow) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "SysMenuHost";
    RegisterClass(&wc);
    HWND frame = CreateWindowEx(0, "SysMenuHost", "f", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    HWND child = CreateWindowEx(WS_EX_MDICHILD, "SysMenuHost", "c", WS_CHILD | WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                50, frame, nullptr, nullptr, nullptr);
    HMENU sys = GetSystemMenu(frame, FALSE);
    ASSERT_TRUE(sys);
    EXPECT_EQ(GetSystemMenu(frame, FALSE), sys);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(sys); ++i)
        ids.push_back(GetMenuItemID(sys, i));
    EXPECT_EQ(ids, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE}));
    char text[32];
    GetMenuString(sys, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Close\tAlt+F4");
    HMENU childSys = GetSystemMenu(child, FALSE);
    ASSERT_NE(childSys, sys);
    EXPECT_EQ(GetMenuItemCount(childSys), 9);
    EXPECT_EQ(GetMenuItemID(childSys, 8), (UINT)SC_NEXTWINDOW);
    GetMenuString(childSys, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Close\tCtrl+F4");

    EXPECT_EQ(GetSystemMenu(frame, TRUE), nullptr);  // revert: the copy goes
    EXPECT_FALSE(IsMenu(sys));
    EXPECT_NE(GetSystemMenu(frame, FALSE), nullptr);
    DestroyWindow(frame);
    GetSystemMenu(nullptr, FALSE);  // copies of destroyed windows are dropped
    EXPECT_FALSE(IsMenu(childSys));
    UnregisterClass("SysMenuHost", nullptr);
}

TEST_F(MenuLoopTest, KeysCascadeAndTheOwnerHearsEachStep) {
    HWND popup = nullptr;
    COLORREF hotPixel = 0;
    UINT chosen = Track({[] { SimulateKey(VK_DOWN); },  // New
                         [] { SimulateKey(VK_DOWN); },  // Recent (opens only on Right or Enter)
                         [&] {
                             popup = GetTrackedPopupWindow();
                             hotPixel = GetWindowPixel(popup, 3 + 4, 3 + MenuItemHeight(false) + 4);
                             SimulateKey(VK_RIGHT);  // opens Recent with One highlighted
                         },
                         [] { SimulateKey(VK_DOWN); },  // Two
                         [] { SimulateKey(VK_RETURN); }},
                        0);
    EXPECT_EQ(chosen, 1u);
    EXPECT_EQ(hotPixel, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_FALSE(IsWindow(popup));
    Pump();
    const WPARAM hilite = MF_HILITE;
    std::vector<Note> expected{
        {WM_ENTERMENULOOP, TRUE, 0},
        {WM_INITMENU, (WPARAM)menu, 0},
        {WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(0, 0)},
        {WM_MENUSELECT, MAKEWPARAM(100, hilite), (LPARAM)menu},
        {WM_MENUSELECT, MAKEWPARAM(1, hilite | MF_POPUP), (LPARAM)menu},
        {WM_INITMENUPOPUP, (WPARAM)sub, MAKELPARAM(1, 0)},
        {WM_MENUSELECT, MAKEWPARAM(201, hilite), (LPARAM)sub},
        {WM_MENUSELECT, MAKEWPARAM(202, hilite), (LPARAM)sub},
        {WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0},
        {WM_EXITMENULOOP, TRUE, 0},
        {WM_COMMAND, MAKEWPARAM(202, 0), 0},
    };
    EXPECT_EQ(g_owner.notes, expected);
    // The highlight does not outlive the menu.
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_HILITE, 0u);
}

TEST_F(MenuLoopTest, EscapeClosesOneLevelAndSentOrPostedKeysReachTheirPopup) {
    HMENU innermost = nullptr;
    UINT chosen = Track({[] { SimulateKey(VK_DOWN); }, [] { SimulateKey(VK_DOWN); },
                         [] { SimulateKey(VK_RETURN); },  // Enter opens Recent too
                         [&] {
                             innermost = GetTrackedPopupMenu();
                             SimulateKey(VK_ESCAPE);  // closes Recent only
                         },
                         [&] {
                             EXPECT_EQ(GetTrackedPopupMenu(), menu);
                             SimulateKey(VK_RIGHT);  // opens it again
                         },
                         [&] {
                             HWND subWindow = GetTrackedPopupWindow();
                             SendMessage(subWindow, WM_KEYDOWN, VK_ESCAPE, 0x10001);
                             EXPECT_FALSE(IsWindow(subWindow));
                             EXPECT_EQ(GetTrackedPopupMenu(), menu);
                             PostMessage(GetTrackedPopupWindow(), WM_KEYDOWN, VK_RETURN, 0x1C0001);
                         },
                         [] { SimulateKey(VK_RETURN); }});  // One, highlighted on opening
    EXPECT_EQ(innermost, sub);
    EXPECT_EQ(chosen, 201u);
    EXPECT_EQ(Only(WM_INITMENUPOPUP).size(), 4u);

    // Escape on the first popup ends the menu; nothing is chosen.
    g_owner.notes.clear();
    EXPECT_EQ(Track({[] { SimulateKey(VK_ESCAPE); }}), 0u);
    EXPECT_EQ(g_owner.notes.back(), (Note{WM_EXITMENULOOP, TRUE, 0}));
}

TEST_F(MenuLoopTest, MouseHoverCascadesAndAClickElsewhereReachesItsWindow) {
    HWND other = CreateWindowEx(0, "MenuLoopOther", "other", WS_POPUP | WS_VISIBLE, 300, 250, 80, 40, nullptr,
                                nullptr, nullptr, nullptr);
    int fromPoint = -2;
    UINT chosen = Track({[&] { Hover(GetTrackedPopupWindow(), RowCentre(menu, 1)); },
                         [&] {
                             EXPECT_EQ(GetTrackedPopupMenu(), sub);
                             POINT p = RowCentre(sub, 1);
                             ClientToScreen(GetTrackedPopupWindow(), &p);
                             fromPoint = MenuItemFromPoint(owner, sub, p);
                             Click(GetTrackedPopupWindow(), RowCentre(sub, 1));
                         }});
    EXPECT_EQ(fromPoint, 1);
    EXPECT_EQ(chosen, 202u);
    EXPECT_EQ(MenuItemFromPoint(owner, sub, POINT{0, 0}), -1);  // no menu open

    // A click on another window ends the menu and that window gets the click.
    EXPECT_EQ(Track({[&] { SimulateClick(other, 5, 5); }}), 0u);
    Pump();
    EXPECT_EQ(g_clicks, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    DestroyWindow(other);
}

TEST_F(MenuLoopTest, OwnerDrawnItemsAreMeasuredOnceAndDrawnWithTheirStates) {
    HMENU drawn = CreatePopupMenu();
    AppendMenu(drawn, MF_OWNERDRAW, 301, (LPCTSTR)(ULONG_PTR)7);
    AppendMenu(drawn, MF_OWNERDRAW | MF_GRAYED | MF_DISABLED | MF_CHECKED, 302, (LPCTSTR)(ULONG_PTR)8);
    AppendMenu(drawn, MF_STRING, 303, "Plain");
    RECT window{};
    Track({[&] {
               GetWindowRect(GetTrackedPopupWindow(), &window);
               g_owner.drawn.clear();
               SimulateKey(VK_DOWN);
           },
           [] { SimulateKey(VK_ESCAPE); }},
          TPM_RETURNCMD, 50, 40, drawn);
    ASSERT_EQ(g_owner.measured.size(), 2u);
    EXPECT_EQ(g_owner.measured[0].CtlType, (UINT)ODT_MENU);
    EXPECT_EQ(g_owner.measured[0].itemID, 301u);
    EXPECT_EQ(g_owner.measured[1].itemData, 8u);
    // The popup holds the measured items and the text row inside its 3-pixel frame.
    EXPECT_EQ(window.bottom - window.top, 30 + 30 + MenuItemHeight(false) + 6);
    EXPECT_GE(window.right - window.left, 120 + 6);
    // Down skips the disabled item: the first item is drawn selected.
    ASSERT_EQ(g_owner.drawn.size(), 1u);
    const DRAWITEMSTRUCT& selected = g_owner.drawn[0];
    EXPECT_EQ(selected.itemID, 301u);
    EXPECT_EQ(selected.itemAction, (UINT)ODA_SELECT);
    EXPECT_EQ(selected.itemState, (UINT)ODS_SELECTED);
    EXPECT_EQ(selected.hwndItem, (HWND)drawn);
    EXPECT_EQ(selected.rcItem.top, 0);
    EXPECT_EQ(selected.rcItem.bottom, 30);
    EXPECT_EQ(selected.itemData, 7u);
    // The owner draws with the menu font selected, as the plain items are drawn.
    EXPECT_EQ(g_owner.drawnFonts.back(), GetStockObject(DEFAULT_GUI_FONT));

    // Shown again: no new measuring; the whole popup is drawn with each item's state.
    g_owner.measured.clear();
    g_owner.drawn.clear();
    Track({[] { SimulateKey(VK_ESCAPE); }}, TPM_RETURNCMD, 50, 40, drawn);
    EXPECT_TRUE(g_owner.measured.empty());
    ASSERT_GE(g_owner.drawn.size(), 2u);
    EXPECT_EQ(g_owner.drawn[1].itemAction, (UINT)ODA_DRAWENTIRE);
    EXPECT_EQ(g_owner.drawn[1].itemState, (UINT)(ODS_GRAYED | ODS_DISABLED | ODS_CHECKED));
    EXPECT_EQ(g_owner.drawn[1].rcItem.top, 30);

    // A changed item is measured again.
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_OWNERDRAW;
    SetMenuItemInfo(drawn, 0, TRUE, &info);
    Track({[] { SimulateKey(VK_ESCAPE); }}, TPM_RETURNCMD, 50, 40, drawn);
    EXPECT_EQ(g_owner.measured.size(), 1u);
    DestroyMenu(drawn);
}

TEST_F(MenuLoopTest, MnemonicsAndMenuChar) {
    HMENU m = CreatePopupMenu();
    AppendMenu(m, MF_STRING, 1, "&Alpha");
    AppendMenu(m, MF_STRING, 2, "&Beta");
    AppendMenu(m, MF_STRING, 3, "Gamma && Co");
    AppendMenu(m, MF_STRING, 4, "&big");
    EXPECT_EQ(Track({[] { SimulateChars("A"); }}, TPM_RETURNCMD, 50, 40, m), 1u);
    // Two items answer to 'b': each press highlights the next; Enter chooses.
    EXPECT_EQ(Track({[] { SimulateChars("bb"); }, [] { SimulateKey(VK_RETURN); }}, TPM_RETURNCMD, 50, 40, m),
              4u);
    // "&&" is no mnemonic: the owner is asked and executes the item at position 2.
    g_owner.notes.clear();
    g_owner.menuChar = MAKELRESULT(2, MNC_EXECUTE);
    EXPECT_EQ(Track({[] { SimulateChars("g"); }}, TPM_RETURNCMD, 50, 40, m), 3u);
    std::vector<Note> asked = Only(WM_MENUCHAR);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (Note{WM_MENUCHAR, MAKEWPARAM('g', MF_POPUP), (LPARAM)m}));
    g_owner.menuChar = MAKELRESULT(0, MNC_CLOSE);
    EXPECT_EQ(Track({[] { SimulateChars("z"); }}, TPM_RETURNCMD, 50, 40, m), 0u);
    DestroyMenu(m);
}

TEST_F(MenuLoopTest, AlignmentKeepsPopupsOnTheScreenAndOutOfTheExclusion) {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int w = 0, h = 0;
    Track({[&] {
        RECT r;
        GetWindowRect(GetTrackedPopupWindow(), &r);
        w = r.right - r.left;
        h = r.bottom - r.top;
    }});
    ASSERT_GT(w, 0);
    struct Case {
        UINT flags;
        int x, y;
        RECT exclude;
        POINT topLeft;
    } cases[] = {
        {0, 100, 100, {}, {100, 100}},
        {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 300, 300, {}, {300 - w, 300 - h}},
        {TPM_CENTERALIGN, 300, 100, {}, {300 - w / 2, 100}},
        {0, sw - 5, sh - 5, {}, {sw - 5 - w, sh - 5 - h}},  // flipped to the other side of the point
        {TPM_RIGHTALIGN, 5, 10, {}, {0, 10}},               // kept on the screen
        {TPM_VERTICAL, 100, 100, {90, 90, 200, 120}, {100, 120}},
        {TPM_HORIZONTAL, 100, 100, {90, 90, 200, 120}, {200, 100}},
        {TPM_VERTICAL, 100, sh - 20, {90, sh - 30, 200, sh - 10}, {100, sh - 30 - h}},
    };
    for (const Case& c : cases) {
        RECT got{};
        g_owner.steps.assign({[&] { GetWindowRect(GetTrackedPopupWindow(), &got); }});
        TPMPARAMS params{sizeof params, c.exclude};
        TrackPopupMenuEx(menu, c.flags | TPM_RETURNCMD, c.x, c.y, owner, c.exclude.right ? &params : nullptr);
        EXPECT_EQ(got.left, c.topLeft.x) << c.flags << " " << c.x << "," << c.y;
        EXPECT_EQ(got.top, c.topLeft.y) << c.flags << " " << c.x << "," << c.y;
    }
}

namespace {
WNDPROC g_menuProc = nullptr;
std::vector<UINT> g_wrapped;
LRESULT WrappingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    g_wrapped.push_back(msg);
    return CallWindowProc(g_menuProc, h, msg, wp, lp);
}
}  // namespace

TEST_F(MenuLoopTest, PopupsUseTheClassRegisteredUnderTheirName) {
    WNDCLASS original{};
    ASSERT_TRUE(GetClassInfo(nullptr, WC_MENU, &original));
    g_menuProc = original.lpfnWndProc;
    g_wrapped.clear();
    WNDCLASS wc = original;
    wc.lpfnWndProc = WrappingProc;
    wc.style = (original.style & ~0x20000u) | CS_SAVEBITS;
    wc.lpszClassName = WC_MENU;
    ASSERT_TRUE(RegisterClass(&wc));
    ULONG_PTR proc = 0;
    UINT chosen = Track({[&] {
                             proc = GetClassLongPtr(GetTrackedPopupWindow(), GCLP_WNDPROC);
                             SimulateKey(VK_DOWN);
                         },
                         [] { SimulateKey(VK_RETURN); }});
    EXPECT_EQ(proc, (ULONG_PTR)WrappingProc);
    EXPECT_EQ(chosen, 100u);  // the wrapped procedure still runs the menu
    EXPECT_NE(std::find(g_wrapped.begin(), g_wrapped.end(), (UINT)WM_CREATE), g_wrapped.end());
    EXPECT_NE(std::find(g_wrapped.begin(), g_wrapped.end(), (UINT)WM_KEYDOWN), g_wrapped.end());

    // Unregistering the program's class brings the system's back.
    EXPECT_TRUE(UnregisterClass(WC_MENU, nullptr));
    WNDCLASS back{};
    ASSERT_TRUE(GetClassInfo(nullptr, WC_MENU, &back));
    EXPECT_EQ(back.lpfnWndProc, g_menuProc);
    g_wrapped.clear();
    EXPECT_EQ(Track({[] { SimulateKey(VK_DOWN); }, [] { SimulateKey(VK_RETURN); }}), 100u);
    EXPECT_TRUE(g_wrapped.empty());
}

namespace {
HHOOK g_keyHook = nullptr;
LRESULT EatDown(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == VK_DOWN)
        return 1;
    return CallNextHookEx(g_keyHook, code, wp, lp);
}
}  // namespace

TEST_F(MenuLoopTest, HooksQuitAndVanishingMenusEndTheLoopSafely) {
    // A key the keyboard hook consumes never reaches the menu.
    g_keyHook = SetWindowsHookEx(WH_KEYBOARD, EatDown, nullptr, 0);
    EXPECT_EQ(Track({[] { SimulateKey(VK_DOWN); }, [] { SimulateKey(VK_RETURN); }}), 0u);
    UnhookWindowsHookEx(g_keyHook);
    EXPECT_TRUE(Only(WM_MENUSELECT).size() == 1u);  // only the closing form

    // A quit ends the menu and is posted again.
    EXPECT_EQ(Track({[] { PostQuitMessage(3); }}), 0u);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);

    // The menu destroyed while it shows.
    HMENU doomed = CreatePopupMenu();
    AppendMenu(doomed, MF_STRING, 1, "x");
    EXPECT_EQ(Track({[&] { DestroyMenu(doomed); }}, TPM_RETURNCMD, 50, 40, doomed), 0u);
    EXPECT_EQ(GetTrackedPopupWindow(), nullptr);
    // A menu loop does not nest; EndMenu outside one fails.
    UINT nested = 1;
    Track({[&] { nested = (UINT)TrackPopupMenu(sub, TPM_RETURNCMD, 0, 0, 0, owner, nullptr); }});
    EXPECT_EQ(nested, 0u);
    EXPECT_FALSE(EndMenu());
}

TEST_F(MenuLoopTest, SystemMenuChoicesAreSystemCommands) {
    HMENU sys = GetSystemMenu(owner, FALSE);
    SetCursorPos(123, 45);
    Track({[] { SimulateKey(VK_UP); }, [] { SimulateKey(VK_RETURN); }}, 0, 50, 40, sys);
    Pump();
    std::vector<Note> init = Only(WM_INITMENUPOPUP);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(HIWORD(init[0].lp), 1);  // the system-menu flag
    std::vector<Note> select = Only(WM_MENUSELECT);
    ASSERT_FALSE(select.empty());
    EXPECT_EQ(select[0].wp, MAKEWPARAM(SC_CLOSE, MF_HILITE | MF_SYSMENU));
    // Chosen by key, the command still carries where the pointer is.
    EXPECT_EQ(g_owner.notes.back(), (Note{WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(123, 45)}));
}
