// Bitmap menus and their organizer: measuring, popup placement, conversion of a frame's popups with
// tool bar images, mnemonics, recently used items and their saved state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Profile.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace {
constexpr UINT ID_A = 100, ID_B = 101, ID_C = 102, ID_NOWHERE = 555;

class Resources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate first{300, 16, 15, {ID_A, 0, ID_B, ID_C}};
        static const ToolbarTemplate second{301, 16, 15, {ID_C, ID_A}};
        return id == 300 ? &first : id == 301 ? &second : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource a{300, test_toolbar3_png, test_toolbar3_png_size};
        static const BitmapResource b{301, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &a : id == 301 ? &b : nullptr;
    }
};

// A frame that counts the organizer's "recently used changed" messages.
class CCountingFrame : public CFrameWnd {
public:
    int changed = 0;

protected:
    LRESULT OnChanged(WPARAM, LPARAM) {
        ++changed;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingFrame, CFrameWnd)
ON_MESSAGE(WM_OX_RECENTLY_USED_CHANGED, OnChanged)
END_MESSAGE_MAP()

struct Item {
    UINT id;  // 0 separator
    const char* text;
};

HMENU MakePopup(const std::vector<Item>& items) {
    HMENU menu = CreatePopupMenu();
    for (const Item& item : items)
        AppendMenu(menu, item.id ? MF_STRING : MF_SEPARATOR, item.id, item.text);
    return menu;
}

// The ids of the items as the menu stands (0 for a separator).
std::vector<UINT> Ids(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

struct Snapshot {
    UINT id, type;
    std::string text;
    bool operator==(const Snapshot&) const = default;
};
std::vector<Snapshot> Snap(HMENU menu) {
    std::vector<Snapshot> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char buffer[256] = "";
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = buffer;
        info.cch = sizeof buffer;
        GetMenuItemInfo(menu, (UINT)i, TRUE, &info);
        items.push_back(Snapshot{info.wID, info.fType, buffer});
    }
    return items;
}

std::string Int(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[(size_t)i] = (char)((uint32_t)v >> (8 * i));
    return s;
}

std::string Blob(const char* section) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (!AfxGetProfile().GetProfileBinary(section, "RUContents", &data, &size))
        return "<none>";
    std::string bytes(reinterpret_cast<char*>(data), size);
    delete[] data;
    return bytes;
}

void PutBlob(const char* section, const std::string& bytes) {
    AfxGetProfile().WriteProfileBinary(section, "RUContents", (BYTE*)bytes.data(), (UINT)bytes.size());
    AfxGetProfile().WriteProfileInt(section, "RUItemsDataSize", (int)bytes.size());
}

class BitmapMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        AfxGetProfile().SetRegistryKey("Tests");
        AfxGetProfile().SetProfileName("Menus");
        frame = new CCountingFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
    }
    void TearDown() override {
        organizer.reset();
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow();
        for (HMENU m : menus)
            DestroyMenu(m);
        RemoveResourceModule(&resources);
    }
    HMENU Popup(const std::vector<Item>& items) {
        menus.push_back(MakePopup(items));
        return menus.back();
    }
    COXBitmapMenuOrganizer& Organizer() {
        if (!organizer) {
            organizer = std::make_unique<COXBitmapMenuOrganizer>();
            EXPECT_TRUE(organizer->AttachFrameWnd(frame));
        }
        return *organizer;
    }
    // Opens the popup as the platform's menu loop does: the frame is told before it is shown.
    void Open(HMENU popup) { SendMessage(frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)popup, 0); }
    COXBitmapMenu* Converted(HMENU popup) {
        return dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(popup));
    }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"MenusApp"};
    CCountingFrame* frame = nullptr;
    std::unique_ptr<COXBitmapMenuOrganizer> organizer;
    std::vector<HMENU> menus;
};
}  // namespace

TEST_F(BitmapMenuTest, ItemsMeasureByTheExtentsAndTheClassicMetrics) {
    Organizer().SetShowOnlyRecentlyUsed(FALSE);
    HMENU withKeys = Popup({{ID_A, "&Open...\tCtrl+O"}, {0, nullptr}, {ID_B, "&Save"}});
    HMENU plain = Popup({{ID_A, "&Open..."}, {ID_B, "&Save"}});
    Open(withKeys);
    Open(plain);
    COXBitmapMenu* keys = Converted(withKeys);
    COXBitmapMenu* none = Converted(plain);
    ASSERT_TRUE(keys && none);
    EXPECT_GT(keys->m_nAcceleratorExtent, 0);
    EXPECT_EQ(none->m_nAcceleratorExtent, 0);
    EXPECT_EQ(keys->m_nStringExtent, none->m_nStringExtent);

    MEASUREITEMSTRUCT save{ODT_MENU, 0, ID_B, 0, 0, 0};
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfo(withKeys, 2, TRUE, &info);
    save.itemData = info.dwItemData;
    keys->MeasureItem(&save);
    // Gaps 2, 8 and 3, and 2 more before a shortcut.
    EXPECT_EQ((int)save.itemWidth,
              keys->m_nStringExtent + keys->m_nBitmapExtent + keys->m_nAcceleratorExtent + 2 + 8 + 3 + 2);
    int check = GetSystemMetrics(SM_CYMENUCHECK);
    EXPECT_EQ((int)save.itemHeight, std::max(keys->m_nTextHeight + 4, check + 2 + 3));

    MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, 0};
    GetMenuItemInfo(withKeys, 1, TRUE, &info);
    separator.itemData = info.dwItemData;
    keys->MeasureItem(&separator);
    EXPECT_EQ(separator.itemHeight, 8u);

    MEASUREITEMSTRUCT open{ODT_MENU, 0, ID_A, 0, 0, 0};
    GetMenuItemInfo(plain, 0, TRUE, &info);
    open.itemData = info.dwItemData;
    none->MeasureItem(&open);
    EXPECT_EQ((int)open.itemWidth, none->m_nStringExtent + none->m_nBitmapExtent + 2 + 8 + 3);

    // Hit testing stacks the measured heights; below the last item there is none.
    int total = (int)save.itemHeight * 2 + 8;
    EXPECT_EQ(keys->HitTest(POINT{5, 1}), 0);
    EXPECT_EQ(keys->HitTest(POINT{5, (int)save.itemHeight + 2}), 1);
    EXPECT_EQ(keys->HitTest(POINT{5, total}), 2);
    EXPECT_EQ(keys->HitTest(POINT{5, total + 1}), -1);
}

TEST_F(BitmapMenuTest, PopupPositionBesideTheButtonStaysOnTheMonitor) {
    HMENU popup = Popup({{ID_A, "&Open"}, {ID_B, "&Save"}});
    Organizer().SetShowOnlyRecentlyUsed(FALSE);
    Open(popup);
    COXBitmapMenu* menu = Converted(popup);
    ASSERT_TRUE(menu);
    SIZE size = menu->CalcPopupSize();
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT probe{10, 10, 20, 20};
    GetMonitorInfo(MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT m = mi.rcMonitor;
    struct Case {
        const char* name;
        DWORD barStyle;
        RECT button;
        LONG x, y;
        UINT flags;
        int side;
    };
    const Case cases[] = {
        {"below", CBRS_ALIGN_TOP, {100, 20, 140, 44}, 100, 43, 0, 1},
        {"above when no room below", CBRS_ALIGN_BOTTOM, {100, m.bottom - 30, 140, m.bottom - 6}, 100,
         m.bottom - 29, TPM_BOTTOMALIGN, 8},
        {"below, pulled onto the monitor", CBRS_ALIGN_TOP, {m.right - 20, 20, m.right, 44}, m.right - size.cx, 43, 0,
         1},
        {"right", CBRS_ALIGN_LEFT, {0, 100, 30, 124}, 30, 101, 0, 2},
        {"left when no room right", CBRS_ALIGN_RIGHT, {m.right - 30, 100, m.right, 124}, m.right - 30, 101,
         TPM_RIGHTALIGN, 4},
        {"right, moved up from the bottom", CBRS_ALIGN_LEFT, {0, m.bottom - 10, 30, m.bottom}, 30,
         m.bottom - size.cy - 1, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CToolBar bar;
        bar.m_dwStyle = c.barStyle;
        UINT flags = 0;
        int side = 0;
        POINT p = menu->CalcPopupPosition(&bar, c.button, flags, side);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(side, c.side);
    }
}

TEST_F(BitmapMenuTest, OrganizerAttachesOnceAndTakesTheImagesOfTheBarMetLast) {
    COXBitmapMenuOrganizer& org = Organizer();
    CCountingFrame other;
    EXPECT_FALSE(org.AttachFrameWnd(&other));
    EXPECT_EQ(org.GetFrameWnd(), frame);
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(frame->m_hWnd), &org);

    CToolBar first, second;
    ASSERT_TRUE(first.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
    ASSERT_TRUE(first.LoadToolBar(300));
    ASSERT_TRUE(second.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE801));
    ASSERT_TRUE(second.LoadToolBar(301));
    ASSERT_TRUE(org.CollectToolbarImages());
    COXImageInfo* a = org.GetImageInfo(ID_A);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->index, 1);  // second in bar 301
    EXPECT_FALSE(a->defaultImage);
    EXPECT_EQ(a->hotIndex, -1);
    COXImageInfo* b = org.GetImageInfo(ID_B);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->index, 1);  // only in bar 300, after the separator
    EXPECT_NE(a->imageList, b->imageList);

    // A command on no tool bar draws with the organizer's default image.
    org.SetShowOnlyRecentlyUsed(FALSE);
    HMENU popup = Popup({{ID_NOWHERE, "&Nowhere"}});
    Open(popup);
    COXImageInfo* nowhere = org.GetImageInfo(ID_NOWHERE);
    ASSERT_TRUE(nowhere);
    EXPECT_TRUE(nowhere->defaultImage);
    EXPECT_EQ(nowhere->index, 0);

    // Detaching gives the frame its own procedure back.
    EXPECT_EQ(org.DetachFrameWnd(), frame);
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(frame->m_hWnd), nullptr);
    EXPECT_TRUE(org.AttachFrameWnd(frame));
}

TEST_F(BitmapMenuTest, ConversionRenumbersSystemCommandsAndRestoringGivesTheOriginal) {
    Organizer().SetShowOnlyRecentlyUsed(FALSE);
    HMENU popup = Popup({{SC_RESTORE, "&Restore"}, {SC_MINIMIZE, "Mi&nimize"}, {0, nullptr}, {SC_CLOSE, "&Close\tAlt+F4"}});
    std::vector<Snapshot> before = Snap(popup);
    Open(popup);
    COXBitmapMenu* menu = Converted(popup);
    ASSERT_TRUE(menu);
    EXPECT_EQ(Ids(popup), (std::vector<UINT>{ID_OX_SC_RESTORE, ID_OX_SC_MINIMIZE, 0, ID_OX_SC_CLOSE}));
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    Organizer().RestoreMenu(menu, TRUE);
    EXPECT_EQ(CMenu::FromHandlePermanent(popup), nullptr);
    EXPECT_EQ(Snap(popup), before);
}

TEST_F(BitmapMenuTest, MenuCharAnswersTheMnemonicsPosition) {
    Organizer().SetShowOnlyRecentlyUsed(FALSE);
    HMENU popup = Popup({{ID_A, "&Edit"}, {ID_B, "&View"}, {ID_C, "&File"}, {ID_NOWHERE, "Fish && &Chips"}});
    Open(popup);
    EXPECT_EQ(SendMessage(frame->m_hWnd, WM_MENUCHAR, MAKEWPARAM('F', MF_POPUP), (LPARAM)popup),
              (LRESULT)((2 << 16) | 2));
    EXPECT_EQ(SendMessage(frame->m_hWnd, WM_MENUCHAR, MAKEWPARAM('v', MF_POPUP), (LPARAM)popup),
              (LRESULT)((2 << 16) | 1));
    // The character after the first "&", also when that is "&&".
    EXPECT_EQ(SendMessage(frame->m_hWnd, WM_MENUCHAR, MAKEWPARAM('&', MF_POPUP), (LPARAM)popup),
              (LRESULT)((2 << 16) | 3));
    EXPECT_EQ(SendMessage(frame->m_hWnd, WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), (LPARAM)popup), 0);
}

TEST_F(BitmapMenuTest, RecentlyUsedFilteringHidesItemsAndTheirSeparators) {
    struct Case {
        const char* name;
        std::vector<Item> items;
        std::vector<UINT> hidden;
        std::vector<UINT> shown;
    };
    const Case cases[] = {
        {"nothing hidden", {{ID_A, "A"}, {0, nullptr}, {ID_C, "C"}}, {}, {ID_A, 0, ID_C}},
        {"a hidden item takes the separator after it",
         {{ID_A, "A"}, {0, nullptr}, {ID_B, "B"}, {0, nullptr}, {ID_C, "C"}},
         {ID_B},
         {ID_A, 0, ID_C, ID_OX_SHOWALLITEMS}},
        {"a leading separator", {{0, nullptr}, {ID_A, "A"}}, {}, {ID_A, ID_OX_SHOWALLITEMS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        organizer.reset();
        Organizer();
        for (UINT id : c.hidden)
            Organizer().ExcludeFromRecentlyUsed(id);
        HMENU popup = Popup(c.items);
        std::vector<Snapshot> before = Snap(popup);
        Open(popup);
        EXPECT_EQ(Ids(popup), c.shown);
        // Restoring puts every item back where it was.
        COXBitmapMenu* menu = Converted(popup);
        ASSERT_TRUE(menu);
        Organizer().RestoreMenu(menu, TRUE);
        EXPECT_EQ(Snap(popup), before);
    }
}

TEST_F(BitmapMenuTest, ChoosingAHiddenCommandAfterExpandingPromotesIt) {
    COXBitmapMenuOrganizer& org = Organizer();
    org.ExcludeFromRecentlyUsed(ID_B);
    HMENU popup = Popup({{ID_A, "A"}, {ID_B, "B"}});
    SendMessage(frame->m_hWnd, WM_ENTERMENULOOP, FALSE, 0);
    Open(popup);
    EXPECT_EQ(Ids(popup), (std::vector<UINT>{ID_A, ID_OX_SHOWALLITEMS}));
    // The expand item shows every item; B is chosen there.
    SendMessage(frame->m_hWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
    EXPECT_TRUE(org.IsExpanded());
    Open(popup);
    EXPECT_EQ(Ids(popup), (std::vector<UINT>{ID_A, ID_B}));
    SendMessage(frame->m_hWnd, WM_COMMAND, ID_B, 0);
    SendMessage(frame->m_hWnd, WM_COMMAND, ID_B, 0);
    EXPECT_TRUE(org.IsCommandRecentlyUsed(ID_B));
    EXPECT_EQ(frame->changed, 1);
    SendMessage(frame->m_hWnd, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_FALSE(org.IsExpanded());
    EXPECT_TRUE(org.GetConvertedMenus().empty());

    // The next time the menu opens, B shows without expanding.
    SendMessage(frame->m_hWnd, WM_ENTERMENULOOP, FALSE, 0);
    Open(popup);
    EXPECT_EQ(Ids(popup), (std::vector<UINT>{ID_A, ID_B}));
    SendMessage(frame->m_hWnd, WM_EXITMENULOOP, FALSE, 0);
}

TEST_F(BitmapMenuTest, RecentlyUsedStateInTheProfile) {
    COXBitmapMenuOrganizer& org = Organizer();
    for (UINT id : {57606u, 57601u, 58118u, 58114u})
        EXPECT_TRUE(org.ExcludeFromRecentlyUsed(id));
    EXPECT_FALSE(org.ExcludeFromRecentlyUsed(57601));
    EXPECT_FALSE(org.ExcludeFromRecentlyUsed(0));
    ASSERT_TRUE(org.SaveRUState());
    const std::string golden = Int(4) + Int(57601) + Int(57606) + Int(58114) + Int(58118);
    EXPECT_EQ(Blob("RecentlyUsedMenuItems"), golden);
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("RecentlyUsedMenuItems", "RUItemsDataSize", 0), 20);

    COXBitmapMenuOrganizer other;
    other.ExcludeFromRecentlyUsed(ID_A);
    // No size: nothing loads and the set stays.
    EXPECT_TRUE(other.LoadRUState("Elsewhere"));
    EXPECT_FALSE(other.IsCommandRecentlyUsed(ID_A));
    // Damaged: the set stays.
    PutBlob("Damaged", Int(3) + Int(57601));
    EXPECT_TRUE(other.LoadRUState("Damaged"));
    EXPECT_FALSE(other.IsCommandRecentlyUsed(ID_A));
    EXPECT_TRUE(other.IsCommandRecentlyUsed(57601));
    // Whole: the saved set replaces it.
    EXPECT_TRUE(other.LoadRUState());
    EXPECT_TRUE(other.IsCommandRecentlyUsed(ID_A));
    EXPECT_FALSE(other.IsCommandRecentlyUsed(58118));
}

TEST_F(BitmapMenuTest, SubmenuStateIsAPathBelowTheRoot) {
    HMENU recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, ID_C, "One");
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, ID_A, "&New");
    AppendMenu(file, MF_POPUP, (UINT_PTR)recent, "&Recent");
    HMENU root = CreateMenu();
    AppendMenu(root, MF_POPUP, (UINT_PTR)file, "&File");
    menus.push_back(root);

    COXBitmapMenuOrganizer& org = Organizer();
    org.ExcludePopupFromRecentlyUsed(recent);
    ASSERT_TRUE(org.SaveRUSubmenuState(root, "Main_Menu_Default_RecentlyUsedSubmenuItems"));
    EXPECT_EQ(Blob("Main_Menu_Default_RecentlyUsedSubmenuItems"), Int(1) + Int(0) + Int(1) + Int(-1));

    org.AddPopupToRecentlyUsed(recent);
    EXPECT_TRUE(org.IsPopupRecentlyUsed(recent));
    char name[] = "Main_Menu_Default";
    SendMessage(frame->m_hWnd, WM_OX_LOAD_RU_SUBMENUS, (WPARAM)root, (LPARAM)name);
    EXPECT_FALSE(org.IsPopupRecentlyUsed(recent));

    // A menu of another shape loads nothing for that path.
    HMENU flat = CreateMenu();
    AppendMenu(flat, MF_STRING, ID_A, "&File");
    menus.push_back(flat);
    org.AddPopupToRecentlyUsed(recent);
    EXPECT_TRUE(org.LoadRUSubmenuState(flat, "Main_Menu_Default_RecentlyUsedSubmenuItems"));
    EXPECT_TRUE(org.IsPopupRecentlyUsed(recent));
}

TEST_F(BitmapMenuTest, AFrameDestroyedWhileAttachedLeavesTheOrganizer) {
    auto* other = new CCountingFrame;
    ASSERT_TRUE(other->Create(nullptr, "Other", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}));
    HWND hwnd = other->m_hWnd;
    {
        COXBitmapMenuOrganizer org;
        ASSERT_TRUE(org.AttachFrameWnd(other));
        other->DestroyWindow();
        EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(hwnd), nullptr);
        EXPECT_EQ(org.GetFrameWnd(), nullptr);
    }  // the organizer goes afterwards without touching the frame
    SUCCEED();
}
