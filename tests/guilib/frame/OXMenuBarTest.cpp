// The menu bar: buttons and mnemonics from a menu, opening popups and running top-level commands,
// keyboard mode, the whole row, and menus kept in the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/base/Profile.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
constexpr UINT ID_NEW = 100, ID_ABOUT = 101, ID_RUN = 102;

// A frame that records the menu messages it gets and ends every popup loop as soon as it idles.
class CRecordingFrame : public CFrameWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> seen;
    std::vector<UINT> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ENTERMENULOOP:
            case WM_EXITMENULOOP:
            case WM_INITMENU:
            case WM_MENUSELECT:
            case WM_INITMENUPOPUP:
            case WM_OX_SAVE_RU_SUBMENUS:
            case WM_OX_LOAD_RU_SUBMENUS:
                seen.emplace_back(message, wParam);
                break;
            case WM_ENTERIDLE:
                ::EndMenu();
                break;
            case WM_COMMAND:
                if (HIWORD(wParam) == 0)
                    commands.push_back(LOWORD(wParam));
                return 0;
            default:
                break;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

HMENU MakeMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, ID_NEW, "&New");
    HMENU edit = CreatePopupMenu();
    AppendMenu(edit, MF_STRING, ID_NEW + 10, "&Undo");
    HMENU window = CreatePopupMenu();
    AppendMenu(window, MF_STRING, ID_NEW + 20, "&Cascade");
    HMENU help = CreatePopupMenu();
    AppendMenu(help, MF_STRING, ID_ABOUT, "&About");
    HMENU menu = CreateMenu();
    AppendMenu(menu, MF_POPUP, (UINT_PTR)file, "&File");
    AppendMenu(menu, MF_POPUP, (UINT_PTR)edit, "&Edit");
    AppendMenu(menu, MF_POPUP, (UINT_PTR)window, "&Window");
    AppendMenu(menu, MF_POPUP, (UINT_PTR)help, "&Help");
    return menu;
}

std::string Int(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[(size_t)i] = (char)((uint32_t)v >> (8 * i));
    return s;
}
std::string Str(const std::string& s) {
    return std::string(1, (char)s.size()) + s;
}

std::string Blob(const char* section, const char* entry) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (!AfxGetProfile().GetProfileBinary(section, entry, &data, &size))
        return "<none>";
    std::string bytes(reinterpret_cast<char*>(data), size);
    delete[] data;
    return bytes;
}

std::string Shape(HMENU menu) {
    std::string s;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuString(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        s += std::string("[") + text + ":" + std::to_string((int)GetMenuItemID(menu, i));
        if (HMENU sub = GetSubMenu(menu, i))
            s += "{" + Shape(sub) + "}";
        s += "]";
    }
    return s;
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetProfile().SetRegistryKey("Tests");
        AfxGetProfile().SetProfileName("MenuBar");
        frame = new CRecordingFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 640, 400}));
        app.m_pMainWnd = frame;
        menu = MakeMenu();
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE81F));
        bar.SetFrameMenu(menu);
        frame->seen.clear();
    }
    void TearDown() override {
        bar.DestroyWindow();
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow();
        DestroyMenu(menu);
    }
    std::vector<UINT> Messages() const {
        std::vector<UINT> m;
        for (auto& [message, wParam] : frame->seen)
            m.push_back(message);
        return m;
    }

    TempRegistry registry;
    CWinApp app{"MenuBarApp"};
    CRecordingFrame* frame = nullptr;
    COXMenuBar bar;
    HMENU menu = nullptr;
};
}  // namespace

TEST_F(MenuBarTest, ButtonsAndMnemonicsComeFromTheTopLevelItems) {
    ASSERT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 4);
    for (int i = 0; i < 4; ++i) {
        TBBUTTON b{};
        bar.GetToolBarCtrl().GetButton(i, &b);
        EXPECT_EQ(b.idCommand, i + 1);
        EXPECT_EQ(b.fsStyle, 0x18);
        EXPECT_EQ(b.dwData, (DWORD_PTR)i);
    }
    EXPECT_STREQ(bar.GetToolBarCtrl().GetButtonText(3), "&Window");
    EXPECT_EQ(bar.FindMnemonic('f'), 0);
    EXPECT_EQ(bar.FindMnemonic('E'), 1);
    EXPECT_EQ(bar.FindMnemonic('W'), 2);
    EXPECT_EQ(bar.FindMnemonic('H'), 3);
    EXPECT_EQ(bar.FindMnemonic('X'), -1);
    EXPECT_EQ(COXMenuBar::FindMenuBar(), &bar);

    // Deleting the first button renumbers the rest and takes the item out of the menu.
    ASSERT_TRUE(bar.DeleteButton(0));
    ASSERT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 3);
    for (int i = 0; i < 3; ++i) {
        TBBUTTON b{};
        bar.GetToolBarCtrl().GetButton(i, &b);
        EXPECT_EQ(b.idCommand, i + 1);
    }
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(bar.FindMnemonic('E'), 0);
    EXPECT_EQ(bar.FindMnemonic('F'), -1);
}

TEST_F(MenuBarTest, TrackMenuTellsTheFrameInOrderAndQueuedOpensOnlyTheLast) {
    bar.TrackMenu(1);
    std::vector<UINT> expected{WM_ENTERMENULOOP, WM_INITMENU, WM_MENUSELECT};
    std::vector<UINT> got = Messages();
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(std::vector<UINT>(got.begin(), got.begin() + 3), expected);
    EXPECT_EQ(frame->seen[2].second, MAKEWPARAM(1, 0x90));
    EXPECT_EQ(got.back(), (UINT)WM_EXITMENULOOP);
    EXPECT_EQ(bar.GetTrackedIndex(), -1);

    frame->seen.clear();
    for (int position : {0, 3, 2})
        PostMessage(bar.m_hWnd, WM_OX_MENUBAR_OPEN, (WPARAM)position, 0);
    Pump();
    std::vector<WPARAM> selected;
    for (auto& [message, wParam] : frame->seen)
        if (message == WM_MENUSELECT && HIWORD(wParam) == 0x90)
            selected.push_back(LOWORD(wParam));
    EXPECT_EQ(selected, (std::vector<WPARAM>{2}));
}

TEST_F(MenuBarTest, ATopLevelCommandRunsWithoutAPopup) {
    HMENU commands = CreateMenu();
    AppendMenu(commands, MF_STRING, ID_RUN, "&Run");
    bar.SetFrameMenu(commands);
    frame->seen.clear();
    NMTOOLBAR nm{};
    nm.hdr.hwndFrom = bar.m_hWnd;
    nm.hdr.idFrom = 0xE81F;
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = 1;
    SendMessage(frame->m_hWnd, WM_NOTIFY, 0xE81F, (LPARAM)&nm);
    EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_RUN}));
    for (UINT m : Messages())
        EXPECT_NE(m, (UINT)WM_INITMENUPOPUP);
    bar.SetFrameMenu(menu);
    DestroyMenu(commands);
}

TEST_F(MenuBarTest, AltTogglesKeyboardModeAndEscapeLeavesIt) {
    EXPECT_TRUE(bar.ProcessMenuKey(0));
    EXPECT_TRUE(bar.IsKeyboardMode());
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_MENUSELECT}));
    EXPECT_TRUE(bar.ProcessMenuKey(VK_RIGHT));
    EXPECT_EQ(bar.GetToolBarCtrl().GetHotItem(), 1);
    EXPECT_TRUE(bar.ProcessMenuKey(VK_LEFT));
    EXPECT_TRUE(bar.ProcessMenuKey(VK_LEFT));
    EXPECT_EQ(bar.GetToolBarCtrl().GetHotItem(), 3);  // round to the last
    EXPECT_TRUE(bar.ProcessMenuKey(VK_ESCAPE));
    EXPECT_FALSE(bar.IsKeyboardMode());
    EXPECT_EQ(Messages().back(), (UINT)WM_EXITMENULOOP);

    EXPECT_TRUE(bar.ProcessMenuKey(0));
    EXPECT_TRUE(bar.ProcessMenuKey(0));
    EXPECT_FALSE(bar.IsKeyboardMode());
    EXPECT_EQ(Messages().back(), (UINT)WM_EXITMENULOOP);
    // Alt+F4 is not the bar's.
    EXPECT_FALSE(bar.ProcessMenuKey(VK_F4));
}

TEST_F(MenuBarTest, TheBarTakesAWholeRow) {
    RECT client;
    GetClientRect(frame->m_hWnd, &client);
    SIZE docked = bar.CalcLayout(LM_HORZ | LM_HORZDOCK, -1);
    EXPECT_EQ(docked.cx, client.right - client.left);
    SIZE floating = bar.CalcLayout(LM_HORZ, -1);
    EXPECT_LT(floating.cx, docked.cx);
}

TEST_F(MenuBarTest, AChangedMenuIsSavedAndLoadedWhole) {
    HMENU small = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, ID_NEW, "&New");
    AppendMenu(small, MF_POPUP, (UINT_PTR)file, "&File");
    ASSERT_TRUE(bar.SaveMenuState(small, nullptr));
    const std::string golden = Int(1) + Int(0) + Int(1) + Int(-1) + Str("&File") + Int(1) + Int(0) + Int(0) +
                               Int(ID_NEW) + Str("&New");
    EXPECT_EQ(Blob("Main_Menu_Default", "MenuItems"), golden);
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("Main_Menu_Default", "MenuDataSize", -1), (int)golden.size());
    ASSERT_FALSE(frame->seen.empty());
    EXPECT_EQ(frame->seen.back().first, (UINT)WM_OX_SAVE_RU_SUBMENUS);

    // Loading replaces the items of the menu it is given.
    HMENU target = MakeMenu();
    ASSERT_TRUE(bar.LoadMenuState(target, nullptr));
    EXPECT_EQ(Shape(target), Shape(small));
    EXPECT_EQ(frame->seen.back().first, (UINT)WM_OX_LOAD_RU_SUBMENUS);

    // Window entries are never inserted; a document type has a section of its own.
    const std::string withWindows = Int(2) + Int(0) + Int(0) + Int(ID_RUN) + Str("&Run") + Int(0) + Int(0) +
                                    Int(0xFF00) + Str("&1 Doc");
    AfxGetProfile().WriteProfileBinary("Menu_CDoc", "MenuItems", (BYTE*)withWindows.data(), (UINT)withWindows.size());
    AfxGetProfile().WriteProfileInt("Menu_CDoc", "MenuDataSize", (int)withWindows.size());
    ASSERT_TRUE(bar.LoadMenuState(target, "CDoc"));
    EXPECT_EQ(Shape(target), "[&Run:102]");

    // Damaged records leave the menu as it is.
    std::string before = Shape(target);
    const std::string damaged[] = {
        golden.substr(0, golden.size() - 3),                  // cut in a text
        Int(100000) + golden.substr(4),                       // a count beyond the bytes
        Int(1) + Int(0) + Int(1) + Int(-1) + Str("x") + Int(-5),  // a negative count inside
    };
    for (const std::string& bytes : damaged) {
        AfxGetProfile().WriteProfileBinary("Main_Menu_Default", "MenuItems", (BYTE*)bytes.data(), (UINT)bytes.size());
        EXPECT_TRUE(bar.LoadMenuState(target, nullptr));
        EXPECT_EQ(Shape(target), before);
    }
    // Nested deeper than any menu: refused whole.
    std::string deep;
    for (int i = 0; i < 20; ++i)
        deep += Int(1) + Int(0) + Int(1) + Int(-1) + Str("p");
    deep += Int(0);
    AfxGetProfile().WriteProfileBinary("Main_Menu_Default", "MenuItems", (BYTE*)deep.data(), (UINT)deep.size());
    EXPECT_TRUE(bar.LoadMenuState(target, nullptr));
    EXPECT_EQ(Shape(target), before);
    DestroyMenu(target);
    DestroyMenu(small);
}

// With an organizer on the frame, the bar's popup becomes the organizer's bitmap menu at its first
// opening and shows only the recently used commands, then the expand item.
TEST_F(MenuBarTest, APopupOpenedWithAnOrganizerShowsOnlyTheRecentlyUsedCommands) {
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(frame));
    organizer.SetShowOnlyRecentlyUsed(TRUE);
    organizer.ExcludeFromRecentlyUsed(ID_NEW);
    HMENU file = GetSubMenu(menu, 0);
    bar.TrackMenu(0);
    auto* converted = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(file));
    ASSERT_NE(converted, nullptr);
    const auto& owned = organizer.GetConvertedMenus();
    EXPECT_NE(std::find(owned.begin(), owned.end(), converted), owned.end());
    ASSERT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(GetMenuItemID(file, 0), (UINT)ID_OX_SHOWALLITEMS);
    organizer.Empty();
    EXPECT_EQ(GetMenuItemID(file, 0), (UINT)ID_NEW);
    organizer.DetachFrameWnd();
}

TEST_F(MenuBarTest, ThePressedButtonKeepsItsTextWhileItsPopupIsOpen) {
    frame->ShowWindow(SW_SHOW);
    UpdateWindow(frame->m_hWnd);
    Pump();
    RECT button{};
    bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&button);
    auto dark = [](COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; };
    RECT inside = button;
    InflateRect(&inside, -2, -2);
    PixelProbe probe(bar.m_hWnd);
    EXPECT_TRUE(probe.Any(inside, dark)) << "no text on the button at rest";
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(frame));
    organizer.SetShowOnlyRecentlyUsed(TRUE);
    bool textWhileOpen = false;
    ModalSteps steps;
    steps.Start({[&](HWND) {
                     UpdateWindow(bar.m_hWnd);
                     textWhileOpen = probe.Any(inside, dark);
                     WriteScreenshot(frame->m_hWnd, "MenuBar_PressedFile");
                 },
                 ModalSteps::Key(VK_ESCAPE)});
    bar.TrackMenu(0);
    EXPECT_TRUE(textWhileOpen);
    organizer.Empty();
    organizer.DetachFrameWnd();
}

// The recent-file item of an empty list is updated with its own text while the popup is converted and
// filtered: it keeps that text open and after restoring (it lost it, and showed as a second separator).
TEST_F(MenuBarTest, TheRecentFileItemKeepsItsTextThroughAFilteredPopup) {
    app.LoadStdProfileSettings(4);
    HMENU file = GetSubMenu(menu, 0);
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_STRING, ID_RUN, "&Run");
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_STRING, ID_ABOUT, "E&xit");
    const std::string original = Shape(file);
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(frame));
    organizer.SetShowOnlyRecentlyUsed(TRUE);
    organizer.ExcludeFromRecentlyUsed(ID_NEW);
    std::string open;
    UINT recentState = 0;
    ModalSteps steps;
    steps.Start({[&](HWND) {
                     open = Shape(file);
                     recentState = GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND);
                 },
                 ModalSteps::Key(VK_ESCAPE)});
    bar.TrackMenu(0);
    EXPECT_EQ(open, "[&Run:102][:0][Recent File:57616][:0][E&xit:101][:" + std::to_string(ID_OX_SHOWALLITEMS) + "]");
    EXPECT_TRUE(recentState & MF_GRAYED);
    organizer.Empty();
    EXPECT_EQ(Shape(file), original);
    organizer.DetachFrameWnd();
}

namespace {
// The customisation owner: records the bar's events (and the items whose menus it is asked to open),
// answers them with `answer` and lets every drag begin.
struct OwnerLog {
    std::vector<int> events;
    std::vector<int> menusRequested;
    LRESULT answer = 0;
} g_owner;
LRESULT CustomizeOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TBN_QUERYDELETE)
            return TRUE;
        if (hdr->code == OX_TOOLBAR_CUSTOMIZE_NOTIFY) {
            auto* record = reinterpret_cast<NMCTBCUSTOMIZE*>(lParam);
            g_owner.events.push_back(record->nCustomizeEventID);
            if (record->nCustomizeEventID == ID_OXCUSTTB_MENU_REQUESTED)
                g_owner.menusRequested.push_back(reinterpret_cast<OXMENUBARPOPUP*>(record->lParam)->nItem);
            return g_owner.answer;
        }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class MenuBarCustomizeTest : public MenuBarTest {
protected:
    void SetUp() override {
        MenuBarTest::SetUp();
        g_owner = OwnerLog{};
        RegisterTestWindowClass("MenuBarOwner", CustomizeOwnerProc, COLOR_WINDOW);
        owner = CreateWindow("MenuBarOwner", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        bar.SetCustomizeMode(TRUE, CWnd::FromHandle(owner));
        Pump();
        g_owner = OwnerLog{};
    }
    void TearDown() override {
        bar.SetCustomizeMode(FALSE, nullptr);
        DestroyWindow(owner);
        MenuBarTest::TearDown();
    }
    // A point of button `index`, `dx` in from its left edge (from its right edge when negative).
    POINT Screen(int index, int dx) {
        RECT r;
        bar.GetToolBarCtrl().GetItemRect(index, &r);
        POINT p{(dx < 0 ? r.right : r.left) + dx, (r.top + r.bottom) / 2};
        ClientToScreen(bar.m_hWnd, &p);
        return p;
    }
    // A drag block over the bar at `point` (client coordinates) and dropped there; the drop's result.
    DWORD Drop(COleDataSource* source, POINT point) {
        COleDataObject data;
        data.Attach(source);
        SHBDROPTARGETACTION action;
        action.pWnd = &bar;
        action.pDataObject = &data;
        action.point = point;
        SendMessage(bar.m_hWnd, SHBDTM_DRAGENTER, 0, (LPARAM)&action);
        if (action.result == DROPEFFECT_NONE)
            return DROPEFFECT_NONE;
        action.dropEffect = action.result;
        action.result = 0;
        SendMessage(bar.m_hWnd, SHBDTM_DROP, 0, (LPARAM)&action);
        return action.result;
    }
    POINT Client(int index, int dx) {
        RECT r;
        bar.GetToolBarCtrl().GetItemRect(index, &r);
        return POINT{(dx < 0 ? r.right : r.left) + dx, (r.top + r.bottom) / 2};
    }
    HWND owner = nullptr;
};
}  // namespace

TEST_F(MenuBarCustomizeTest, AnItemHeldDownIsDraggedWithinTheBar) {
    HMENU help = GetSubMenu(menu, 3);
    // The press asks the owner for Help's menu; held for 200 ms it starts the drag, which goes over
    // File (its menu requested in turn) and lets go at File's left edge.
    POINT from = Screen(3, 6), to = Screen(0, 2);
    ModalSteps steps;  // drives the clock from before the press
    SetCursorPos(from.x, from.y);
    PostMouseInput(WM_LBUTTONDOWN, from, MK_LBUTTON);
    Pump();
    auto move = [](POINT p) { return [p](HWND) { PostMouseInput(WM_MOUSEMOVE, p, MK_LBUTTON); }; };
    steps.Start({[](HWND) {}, [](HWND) {}, move(POINT{from.x - 2, from.y}), move(Screen(0, 8)), move(to),
                 [to](HWND) { PostMouseInput(WM_LBUTTONUP, to, 0); }});
    steps.Clock().Advance(200);
    Pump();
    EXPECT_EQ(Shape(menu), "[&Help:-1{[&About:101]}][&File:-1{[&New:100]}][&Edit:-1{[&Undo:110]}][&Window:-1{[&Cascade:120]}]");
    EXPECT_EQ(GetSubMenu(menu, 0), help);  // the popup itself moved
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 4);
    EXPECT_EQ(bar.CopyMenuString(0), "&Help");
    EXPECT_EQ(g_owner.menusRequested, (std::vector<int>{3, 0}));
    EXPECT_EQ(bar.GetDraggedButton(), -1);
    // The change is saved with the bar's state.
    bar.SaveBarState("", "");
    EXPECT_NE(Blob("Main_Menu_Default", "MenuItems"), "<none>");
}

TEST_F(MenuBarCustomizeTest, CommandsAndPopupsDroppedIntoTheBarAndTheItemMenu) {
    std::unique_ptr<COleDataSource> run(CreateCommandDataSource("&Run", -1, ID_RUN, 0));
    EXPECT_EQ(Drop(run.get(), Client(1, -2)), (DWORD)DROPEFFECT_MOVE);  // right of Edit's middle: after it
    HMENU tools = CreatePopupMenu();
    AppendMenu(tools, MF_STRING, ID_NEW + 30, "&Options");
    AppendMenu(tools, MF_SEPARATOR, 0, nullptr);
    AppendMenu(tools, MF_STRING, ID_NEW + 31, "&Macros");
    std::unique_ptr<COleDataSource> popup(CreateCommandDataSource("&Tools", -1, OX_DRAG_POPUP, 0, tools));
    EXPECT_EQ(Drop(popup.get(), Client(0, 2)), (DWORD)DROPEFFECT_MOVE);
    DestroyMenu(tools);
    EXPECT_EQ(Shape(menu), "[&Tools:-1{[&Options:130][:0][&Macros:131]}][&File:-1{[&New:100]}][&Edit:-1{[&Undo:110]}]"
                           "[&Run:102][&Window:-1{[&Cascade:120]}][&Help:-1{[&About:101]}]");
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 6);
    EXPECT_EQ(bar.FindMnemonic('R'), 3);
    // A command the bar has is not taken twice; a malformed block is not the format at all.
    EXPECT_EQ(Drop(run.get(), Client(0, -2)), (DWORD)DROPEFFECT_NONE);
    COleDataSource damaged;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 6);
    memcpy(GlobalLock(block), "\x66\0\0\0Ru", 6);  // a text without its NUL
    GlobalUnlock(block);
    damaged.CacheGlobalData(CommandDragFormat, block);
    EXPECT_EQ(Drop(&damaged, Client(0, 2)), (DWORD)DROPEFFECT_NONE);
    TBINSERTMARK mark{};
    bar.SendMessage(TB_GETINSERTMARK, 0, (LPARAM)&mark);
    EXPECT_EQ(mark.iButton, -1);
    EXPECT_EQ(GetMenuItemCount(menu), 6);

    // The item menu: "Delete" goes to the owner first; left to the bar it removes the item.
    HMENU items = bar.CreateCustomizeMenu(3);
    ASSERT_TRUE(items);
    char text[64];
    GetMenuString(items, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Delete");
    GetMenuString(items, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Button Appearance...");
    DestroyMenu(items);
    g_owner.events.clear();
    bar.SetCustomizedButton(3);
    g_owner.answer = 1;
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(GetMenuItemCount(menu), 6);
    g_owner.answer = 0;
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(bar.CopyMenuString(3), "&Window");
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 5);
    EXPECT_EQ(g_owner.events, (std::vector<int>{OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED, ID_OXCUSTTB_DELETE,
                                                ID_OXCUSTTB_DELETE, OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED}));
}
