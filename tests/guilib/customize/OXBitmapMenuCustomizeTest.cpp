// A bitmap menu being customised in its tool window: layout, context menus, the default edits and an
// owner's veto, the insert mark and drops of commands and whole popups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

// One namespace per test file: the test program compiles its files in batches.
namespace ox_bitmap_menu_customize_test {
namespace {
constexpr UINT ID_OPEN = 100, ID_SAVE = 101, ID_CLOSE = 102, ID_PRINT = 103, ID_MRU = 57616;

class Strings : public ResourceModule {
public:
    const char* FindString(UINT id) const override { return id == ID_PRINT ? "Prints\n&Print" : nullptr; }
};

// The owner of the customised menu: records the notifications and answers `veto`.
std::vector<UINT> g_notified;
LRESULT g_answer = 0;
LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* record = reinterpret_cast<NMBMCUSTOMIZE*>(lParam);
        if (record->nmhdr.code == OX_CUSTOMIZE_NOTIFY) {
            g_notified.push_back(record->nCustomizeEventID);
            return g_answer;
        }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct Entry {
    UINT id;  // 0 separator
    const char* text;
};

struct Shown {
    UINT id;
    std::string text;
    bool operator==(const Shown&) const = default;
};

class MenuCustomizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_notified.clear();
        g_answer = 0;
        AddResourceModule(&strings);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        ASSERT_TRUE(organizer.AttachFrameWnd(frame));
        organizer.SetShowOnlyRecentlyUsed(FALSE);
        RegisterTestWindowClass("CustomizeOwner", OwnerProc, COLOR_WINDOW);
        owner = CWnd::FromHandle(CreateWindow("CustomizeOwner", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                              nullptr, nullptr));
    }
    void TearDown() override {
        window.reset();
        organizer.DetachFrameWnd();
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow();
        DestroyWindow(owner->m_hWnd);
        for (HMENU m : menus)
            DestroyMenu(m);
        RemoveResourceModule(&strings);
    }
    // A converted menu shown in its tool window.
    COXBitmapMenu* Show(const std::vector<Entry>& entries) {
        HMENU menu = CreatePopupMenu();
        for (const Entry& e : entries)
            AppendMenu(menu, e.id ? MF_STRING : MF_SEPARATOR, e.id, e.text);
        menus.push_back(menu);
        SendMessage(frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)menu, 0);
        auto* bitmapMenu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(menu));
        window = std::make_unique<COXBitmapMenuPopupWnd>();
        EXPECT_TRUE(window->TrackPopupMenu(bitmapMenu, 0, 100, 100, owner));
        return bitmapMenu;
    }
    std::vector<Shown> Items(HMENU menu) {
        std::vector<Shown> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            auto* bitmap = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(menu));
            MENUITEMINFO info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_SUBMENU | MIIM_ID;
            GetMenuItemInfo(menu, (UINT)i, TRUE, &info);
            std::string text;
            if (bitmap && info.dwItemData)
                text = reinterpret_cast<COXItemInfo*>(info.dwItemData)->GetText().GetString();
            else {
                char buffer[256] = "";
                GetMenuString(menu, (UINT)i, buffer, sizeof buffer, MF_BYPOSITION);
                text = buffer;
            }
            items.push_back(Shown{info.hSubMenu ? (UINT)-1 : info.wID, text});
        }
        return items;
    }
    POINT Inside(int position, bool upper) {
        const RECT& r = window->GetItemRects()[(size_t)position];
        return POINT{5, upper ? r.top + 1 : r.bottom - 1};
    }
    // Drags `source` over the menu at `point` and drops it with the effect the menu offers.
    BOOL Drop(COXBitmapMenu* menu, COleDataSource* source, POINT point, DWORD keys = 0) {
        COleDataObject data;
        data.Attach(source);
        DROPEFFECT effect = menu->OnDragEnter(&data, keys, point);
        return menu->OnDrop(&data, effect, point);
    }

    TempRegistry registry;
    Strings strings;
    CWinApp app{"CustomizeApp"};
    CFrameWnd* frame = nullptr;
    CWnd* owner = nullptr;
    COXBitmapMenuOrganizer organizer;
    std::unique_ptr<COXBitmapMenuPopupWnd> window;
    std::vector<HMENU> menus;
};
}  // namespace

TEST_F(MenuCustomizeTest, LayoutOfTheToolWindow) {
    COXBitmapMenu* empty = Show({});
    RECT client;
    GetClientRect(window->m_hWnd, &client);
    EXPECT_EQ(client.right, 50);
    EXPECT_EQ(client.bottom, 18);
    POINT origin{0, 0};
    ClientToScreen(window->m_hWnd, &origin);
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 100);

    COXBitmapMenu* menu = Show({{ID_OPEN, "&Open...\tCtrl+O"}, {0, nullptr}, {ID_SAVE, "&Save"}});
    ASSERT_NE(menu, empty);
    const std::vector<RECT>& rects = window->GetItemRects();
    ASSERT_EQ(rects.size(), 3u);
    int width = rects[0].right;
    for (const RECT& r : rects)
        EXPECT_EQ(r.right, width);  // widened to the widest item
    EXPECT_EQ(rects[1].top, rects[0].bottom);
    // Left, centre and right alignment about x.
    for (auto [flags, left] : {std::pair{0u, 200}, {4u, 200 - width / 2}, {8u, 200 - width}}) {
        window->CalcLayout(flags, 200, 50);
        RECT expected{left, 50, left + width, 50 + rects.back().bottom};
        window->CalcWindowRect(&expected);
        EXPECT_EQ(window->GetWindowRectangle().left, expected.left) << flags;
        EXPECT_EQ(window->GetWindowRectangle().top, expected.top) << flags;
    }
}

TEST_F(MenuCustomizeTest, ContextMenusAndTheirDisabledItems) {
    COXBitmapMenu* menu =
        Show({{ID_OPEN, "&Open"}, {0, nullptr}, {ID_SAVE, "&Save"}, {ID_CLOSE, "&Close"}, {ID_MRU, "1 a.log"}});
    auto texts = [](HMENU popup) {
        std::vector<std::string> t;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            char buffer[64] = "";
            GetMenuString(popup, (UINT)i, buffer, sizeof buffer, MF_BYPOSITION);
            UINT state = GetMenuState(popup, (UINT)i, MF_BYPOSITION);
            t.push_back(state & MF_SEPARATOR ? "-" : std::string(buffer) + (state & MF_GRAYED ? " (grey)" : "") +
                                                         (state & MF_CHECKED ? " (checked)" : ""));
        }
        DestroyMenu(popup);
        return t;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(texts(menu->CreateCustomizeContextMenu(0)),
              (V{"Delete", "-", "Appearance...", "-", "Put Separator Before (grey)", "Put Separator After (grey)"}));
    EXPECT_EQ(texts(menu->CreateCustomizeContextMenu(1)), (V{"Delete"}));
    EXPECT_EQ(texts(menu->CreateCustomizeContextMenu(2)),
              (V{"Delete", "-", "Appearance...", "-", "Put Separator Before (grey)", "Put Separator After"}));
    // With only recently used items shown, the item's state can be switched.
    organizer.SetShowOnlyRecentlyUsed(TRUE);
    organizer.ExcludeFromRecentlyUsed(ID_CLOSE);
    EXPECT_EQ(texts(menu->CreateCustomizeContextMenu(3)),
              (V{"Delete", "-", "Appearance...", "-", "Recently Used", "-", "Put Separator Before",
                 "Put Separator After"}));
    EXPECT_EQ(texts(menu->CreateCustomizeContextMenu(2))[4], "Recently Used (checked)");
    // A recent-file entry gets no menu and is not dragged; the menu is not left marked as dragging.
    EXPECT_EQ(menu->CreateCustomizeContextMenu(4), nullptr);
    EXPECT_FALSE(menu->ShowCustomizeContextMenu(4, 0, 0));
    menu->BeginDragItem(4);
    EXPECT_FALSE(menu->IsDraggingOut());
    EXPECT_EQ(GetMenuItemCount(menu->m_hMenu), 5);
}

TEST_F(MenuCustomizeTest, DefaultEditsAndTheOwnersVeto) {
    using V = std::vector<Shown>;
    COXBitmapMenu* menu = Show({{ID_OPEN, "&Open"}, {ID_SAVE, "&Save"}, {ID_CLOSE, "&Close"}});
    HWND wnd = window->m_hWnd;
    struct Case {
        UINT command;
        int selection;
        V after;
        int selectionAfter;
    } cases[] = {
        {ID_OX_CUSTOMIZE_SEPARATOR_BEFORE, 1, V{{ID_OPEN, "&Open"}, {0, ""}, {ID_SAVE, "&Save"}, {ID_CLOSE, "&Close"}}, 2},
        {ID_OX_CUSTOMIZE_SEPARATOR_AFTER, 2, V{{ID_OPEN, "&Open"}, {0, ""}, {ID_SAVE, "&Save"}, {0, ""}, {ID_CLOSE, "&Close"}}, 2},
        {ID_OX_CUSTOMIZE_DELETE, 4, V{{ID_OPEN, "&Open"}, {0, ""}, {ID_SAVE, "&Save"}, {0, ""}}, -1},
    };
    for (const Case& c : cases) {
        menu->SetCustomizeSelection(c.selection);
        // An owner that answers takes the edit over.
        g_answer = 1;
        g_notified.clear();
        SendMessage(wnd, WM_COMMAND, c.command, 0);
        EXPECT_EQ(g_notified, std::vector<UINT>{c.command});
        g_answer = 0;
        SendMessage(wnd, WM_COMMAND, c.command, 0);
        EXPECT_EQ(Items(menu->m_hMenu), c.after) << c.command;
        EXPECT_EQ(menu->GetCustomizeSelection(), c.selectionAfter) << c.command;
        EXPECT_EQ(window->GetItemRects().size(), c.after.size()) << c.command;  // laid out again
    }
    // "Recently Used" switches the command's state in the organizer.
    menu->SetCustomizeSelection(0);
    SendMessage(wnd, WM_COMMAND, ID_OX_CUSTOMIZE_RECENTLY_USED, 0);
    EXPECT_FALSE(organizer.IsCommandRecentlyUsed(ID_OPEN));
    SendMessage(wnd, WM_COMMAND, ID_OX_CUSTOMIZE_RECENTLY_USED, 0);
    EXPECT_TRUE(organizer.IsCommandRecentlyUsed(ID_OPEN));
    // "Appearance..." is only told.
    g_notified.clear();
    SendMessage(wnd, WM_COMMAND, ID_OX_CUSTOMIZE_APPEARANCE, 0);
    EXPECT_EQ(g_notified, std::vector<UINT>{ID_OX_CUSTOMIZE_APPEARANCE});
}

TEST_F(MenuCustomizeTest, DropsGoByTheUpperOrLowerHalfOfTheItem) {
    using V = std::vector<Shown>;
    COXBitmapMenu* menu = Show({{ID_OPEN, "&Open"}, {ID_SAVE, "&Save"}});
    std::unique_ptr<COleDataSource> print(CreateCommandDataSource("", -1, ID_PRINT, 0));
    COleDataObject data;
    data.Attach(print.get());
    EXPECT_EQ(menu->OnDragOver(&data, 0, Inside(1, true)), (DROPEFFECT)DROPEFFECT_MOVE);
    EXPECT_EQ(menu->GetInsertMark(), 1);
    EXPECT_EQ(menu->OnDragOver(&data, MK_CONTROL, Inside(1, false)), (DROPEFFECT)DROPEFFECT_COPY);
    EXPECT_EQ(menu->GetInsertMark(), 2);
    menu->OnDragLeave();
    EXPECT_EQ(menu->GetInsertMark(), -1);

    // An empty text takes the string after the command's newline.
    EXPECT_TRUE(Drop(menu, print.get(), Inside(0, false)));
    EXPECT_EQ(Items(menu->m_hMenu), (V{{ID_OPEN, "&Open"}, {ID_PRINT, "&Print"}, {ID_SAVE, "&Save"}}));
    EXPECT_EQ(menu->GetInsertMark(), -1);
    // Below the last item there is no mark, and a drop there changes nothing.
    EXPECT_FALSE(Drop(menu, print.get(), POINT{5, 500}));
    EXPECT_EQ(GetMenuItemCount(menu->m_hMenu), 3);
    // Another format is not taken.
    COleDataSource other;
    other.CacheGlobalData(CommandDragFormat + 1, GlobalAlloc(GMEM_FIXED, 4));
    COleDataObject otherData;
    otherData.Attach(&other);
    EXPECT_EQ(menu->OnDragOver(&otherData, 0, Inside(0, true)), (DROPEFFECT)DROPEFFECT_NONE);
    // The owner can take the drop over.
    g_answer = 1;
    EXPECT_TRUE(Drop(menu, print.get(), Inside(0, true)));
    EXPECT_EQ(GetMenuItemCount(menu->m_hMenu), 3);
}

TEST_F(MenuCustomizeTest, ANestedPopupIsDroppedAndFilled) {
    HMENU inner = CreatePopupMenu();
    AppendMenu(inner, MF_STRING, ID_CLOSE, "&Close");
    HMENU dragged = CreatePopupMenu();
    AppendMenu(dragged, MF_STRING, ID_SAVE, "&Save");
    AppendMenu(dragged, MF_SEPARATOR, 0, nullptr);
    AppendMenu(dragged, MF_POPUP, (UINT_PTR)inner, "&More");
    menus.push_back(dragged);
    std::unique_ptr<COleDataSource> source(CreateCommandDataSource("&Edit", -1, OX_DRAG_POPUP, 0, dragged));

    // Onto an empty menu: appended.
    COXBitmapMenu* menu = Show({});
    EXPECT_TRUE(Drop(menu, source.get(), POINT{5, 5}));
    ASSERT_EQ(GetMenuItemCount(menu->m_hMenu), 1);
    HMENU edit = GetSubMenu(menu->m_hMenu, 0);
    ASSERT_TRUE(edit);
    using V = std::vector<Shown>;
    EXPECT_EQ(Items(menu->m_hMenu), (V{{(UINT)-1, "&Edit"}}));
    EXPECT_EQ(Items(edit), (V{{ID_SAVE, "&Save"}, {0, ""}, {(UINT)-1, "&More"}}));
    HMENU more = GetSubMenu(edit, 2);
    ASSERT_TRUE(more);
    EXPECT_EQ(Items(more), (V{{ID_CLOSE, "&Close"}}));
    EXPECT_EQ(window->GetItemRects().size(), 1u);
}

TEST_F(MenuCustomizeTest, AnItemDraggedOffIsRemovedAndOneDraggedWithinMoves) {
    using V = std::vector<Shown>;
    // The frame, which takes no drops, clear of the menu's window.
    frame->MoveWindow(400, 300, 300, 200);
    ShowWindow(frame->m_hWnd, SW_SHOWNOACTIVATE);
    COXBitmapMenu* menu = Show({{ID_OPEN, "&Open"}, {ID_SAVE, "&Save"}, {ID_CLOSE, "&Close"}});
    Pump();
    auto screen = [&](POINT client) {
        ClientToScreen(window->m_hWnd, &client);
        return client;
    };
    auto drag = [&](int position, POINT to) {
        POINT from = screen(Inside(position, true));
        SetCursorPos(from.x, from.y);
        PostMouseInput(WM_MOUSEMOVE, POINT{from.x, from.y + 1}, MK_LBUTTON);
        PostMouseInput(WM_MOUSEMOVE, to, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, to, 0);
        menu->SetCustomizeSelection(position);
        menu->BeginDragItem(position);
        Pump();
    };
    // Within the menu: Open below Close.
    drag(0, screen(Inside(2, false)));
    EXPECT_EQ(Items(menu->m_hMenu), (V{{ID_SAVE, "&Save"}, {ID_CLOSE, "&Close"}, {ID_OPEN, "&Open"}}));
    EXPECT_FALSE(menu->IsDraggingOut());
    EXPECT_EQ(menu->GetDraggedItem(), -1);
    // Let go where nothing takes it: gone, after the owner was told.
    g_notified.clear();
    drag(1, POINT{550, 400});
    EXPECT_EQ(Items(menu->m_hMenu), (V{{ID_SAVE, "&Save"}, {ID_OPEN, "&Open"}}));
    EXPECT_NE(std::find(g_notified.begin(), g_notified.end(), (UINT)OX_CUSTOMIZE_ITEM_DRAGGED_OFF), g_notified.end());
}
}  // namespace ox_bitmap_menu_customize_test
