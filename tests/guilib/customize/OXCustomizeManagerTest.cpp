// The customize dialog with test pages: the shortcut bar sorted by title, page switching and Apply,
// OK refused by a page, the pages closed as Cancel once when the owner goes, the minimum size and the
// layout after a resize, the item tooltips, and a frame accelerator reaching the frame from a page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/customize/OXCustomizeManager.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Accelerators.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

// One namespace per test file: the test program compiles its files in batches.
namespace ox_customize_manager_test {
namespace {
constexpr UINT IDD_TEST_PAGE = 700, IDB_PAGE_ICON = 701, IDB_MISSING = 702;
constexpr int IDC_VALUE = 710;
constexpr WORD ID_TEST_OPEN = 0xE101;

class Resources : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        static const DialogTemplate page{IDD_TEST_PAGE, WS_POPUP | WS_CAPTION, WS_EX_CLIENTEDGE, 0, 0, 150, 100, "", nullptr,
                                         0, {{"Edit", "", IDC_VALUE, 7, 7, 100, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0}}};
        return id == IDD_TEST_PAGE ? &page : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource icon{IDB_PAGE_ICON, test_toolbar3_png, test_toolbar3_png_size};
        return id == IDB_PAGE_ICON ? &icon : nullptr;
    }
};

using CloseLog = std::vector<std::pair<std::string, BOOL>>;

class TestPage : public COXCustomizePage {
public:
    TestPage(const char* title, CloseLog& log, UINT imageId = 0, const char* tooltip = "")
        : m_title(title), m_tooltip(tooltip), m_imageId(imageId), m_log(log) {
        m_nDialogID = IDD_TEST_PAGE;
    }
    CString GetPageTitle() override { return m_title; }
    CString GetPageTooltip() override { return m_tooltip; }
    UINT GetImageId() override { return m_imageId; }
    BOOL CanApply() override { return m_canApply; }
    BOOL ApplySettings() override {
        ++applied;
        return TRUE;
    }
    BOOL SaveState() override {
        ++saved;
        return TRUE;
    }
    BOOL OnManagerClose(BOOL bIsOk) override {
        m_log.emplace_back((const char*)m_title, bIsOk);
        return !(bIsOk && refuseOk);
    }
    void InitControls() override {
        COXCustomizePage::InitControls();
        m_bInitialized = TRUE;
    }
    CString m_title, m_tooltip;
    UINT m_imageId;
    BOOL m_canApply = TRUE;
    BOOL refuseOk = FALSE;
    int applied = 0, saved = 0;
    CloseLog& m_log;
};

// Three pages under indexes 1, 4 and 5, registered out of their titles' order.
class TestManager : public COXCustomizeManager {
public:
    TestManager() {
        // These tests look at the dialog with test pages only.
        m_mapPages.RemoveAll();
        commands.m_canApply = FALSE;
        m_mapPages.SetAt(&toolbars, 5);
        m_mapPages.SetAt(&commands, 4);
        m_mapPages.SetAt(&background, 1);
    }
    CloseLog log;
    TestPage toolbars{"Toolbars", log, 0, "Customize the appearance of application's toolbars"};
    TestPage commands{"Commands", log, IDB_PAGE_ICON, "Customize the contents of the toolbars and menus"};
    TestPage background{"Background Painter", log, 0, ""};
};

class FrameWithCommands : public CFrameWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    std::vector<UINT> commands;
};

void PumpAsProgram() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxGetThread()->PreTranslateMessage(&m)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }
}

RECT ClientRectOf(HWND dialog, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, (LPPOINT)&r, 2);
    return r;
}

class CustomizeManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        frame = new FrameWithCommands;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 600}));
        ACCEL open{FCONTROL | FVIRTKEY, 'O', ID_TEST_OPEN};
        frame->m_hAccelTable = CreateAcceleratorTable(&open, 1);
        app.m_pMainWnd = frame;
    }
    void TearDown() override {
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        RemoveResourceModule(&resources);
    }
    void Open() {
        ASSERT_TRUE(manager.Create(IDD_CUSTOMIZEMANAGER, frame));
        manager.ShowWindow(SW_SHOW);
    }
    COXSHBListCtrl* List() {
        return manager.GetShortcutBar().GetGroupListCtrl(manager.GetShortcutBar().FindGroupByText("Customize"));
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        COXSHBListCtrl* list = List();
        for (int i = 0; list && i < list->GetItemCount(); ++i)
            titles.push_back((const char*)list->GetItemText(i, 0));
        return titles;
    }
    int ItemOf(COXCustomizePage& page) {
        HSHBGROUP group = nullptr;
        int item = -1;
        return manager.FindPageInShortcutBar(&page, group, item) ? item : -1;
    }
    // Selecting an item in the bar as a click does: the list notifies the dialog.
    void Choose(COXCustomizePage& page) { List()->SelectItem(ItemOf(page)); }
    std::string Title() {
        char text[64] = {};
        ::GetDlgItemText(manager.m_hWnd, IDC_OX_STATIC_TITLE, text, sizeof text);
        return text;
    }
    BOOL ApplyEnabled() { return ::IsWindowEnabled(::GetDlgItem(manager.m_hWnd, IDC_OX_BUTTON_APPLY)); }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"ManagerApp"};
    FrameWithCommands* frame = nullptr;
    TestManager manager;
};
}  // namespace

TEST_F(CustomizeManagerTest, OpensOnTheFirstTitleAndSwitchesPagesMakingEachWindowOncePerOpening) {
    Open();
    EXPECT_EQ(::GetWindow(manager.m_hWnd, GW_OWNER), frame->m_hWnd);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Background Painter", "Commands", "Toolbars"}));
    EXPECT_EQ(manager.GetActivePage(), &manager.background);
    EXPECT_EQ(Title(), "Background Painter");
    EXPECT_TRUE(ApplyEnabled());
    // Only the page with an icon bitmap has an image.
    EXPECT_EQ(List()->GetItemCount(), 3);
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = ItemOf(manager.commands);
    List()->SendMessage(LVM_GETITEM, 0, (LPARAM)&item);
    EXPECT_EQ(item.iImage, 0);
    item.iItem = ItemOf(manager.toolbars);
    List()->SendMessage(LVM_GETITEM, 0, (LPARAM)&item);
    EXPECT_EQ(item.iImage, -1);

    // The page fills the rectangle between the separators.
    RECT pageRect = ClientRectOf(manager.m_hWnd, manager.background.m_hWnd);
    EXPECT_TRUE(::EqualRect(&pageRect, &manager.GetPageRect()));
    EXPECT_FALSE(::IsRectEmpty(&pageRect));

    Choose(manager.commands);
    EXPECT_EQ(manager.GetActivePage(), &manager.commands);
    EXPECT_EQ(Title(), "Commands");
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(::IsWindowVisible(manager.background.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(manager.commands.m_hWnd));
    EXPECT_EQ(::GetParent(manager.commands.m_hWnd), manager.m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(manager.commands.m_hWnd), 1000);

    HWND background = manager.background.m_hWnd;
    Choose(manager.background);
    EXPECT_EQ(manager.background.m_hWnd, background);
    EXPECT_TRUE(ApplyEnabled());
    ::SendMessage(manager.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_BUTTON_APPLY, BN_CLICKED),
                  (LPARAM)::GetDlgItem(manager.m_hWnd, IDC_OX_BUTTON_APPLY));
    EXPECT_EQ(manager.background.applied, 1);
    EXPECT_EQ(manager.commands.applied, 0);

    // Indexes of no page change nothing.
    EXPECT_FALSE(manager.ActivatePage(0));
    EXPECT_FALSE(manager.ActivatePage(2));
    EXPECT_EQ(manager.GetActivePage(), &manager.background);
    EXPECT_TRUE(manager.ActivatePage(5));
    EXPECT_EQ(manager.GetActivePage(), &manager.toolbars);

    // OK closes the two shown pages with TRUE; the toolbars page, shown too, as well; the next
    // opening builds the bar again and opens on the first title with new page windows.
    manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(manager.m_hWnd, nullptr);
    EXPECT_EQ(manager.log.size(), 3u);
    for (const auto& [title, ok] : manager.log)
        EXPECT_TRUE(ok) << title;
    EXPECT_EQ(manager.commands.m_hWnd, nullptr);
    EXPECT_FALSE(manager.IsInitialized());

    manager.log.clear();
    Open();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Background Painter", "Commands", "Toolbars"}));
    EXPECT_EQ(manager.GetActivePage(), &manager.background);
    EXPECT_TRUE(::IsWindow(manager.background.m_hWnd));
    EXPECT_EQ(manager.commands.m_hWnd, nullptr);

    // Saving reaches every page, shown or not.
    EXPECT_TRUE(manager.SaveAllPagesState());
    EXPECT_EQ(manager.background.saved + manager.commands.saved + manager.toolbars.saved, 3);
}

TEST_F(CustomizeManagerTest, APageRefusingOkKeepsTheDialogOnItAndCancelStillCloses) {
    Open();
    Choose(manager.commands);
    Choose(manager.toolbars);
    manager.commands.refuseOk = TRUE;
    HWND toolbars = manager.toolbars.m_hWnd;

    manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(::IsWindow(manager.m_hWnd));
    EXPECT_EQ(manager.GetActivePage(), &manager.commands);
    EXPECT_EQ(Title(), "Commands");
    EXPECT_EQ(manager.toolbars.m_hWnd, toolbars);
    EXPECT_TRUE(manager.IsInitialized());

    manager.log.clear();
    manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(manager.m_hWnd, nullptr);
    EXPECT_EQ(manager.log.size(), 3u);
    for (const auto& [title, ok] : manager.log)
        EXPECT_FALSE(ok) << title;
}

TEST_F(CustomizeManagerTest, DestroyingTheFrameClosesTheShownPagesAsCancelOnce) {
    Open();
    Choose(manager.commands);
    frame->DestroyWindow();  // the frame deletes itself
    frame = nullptr;
    EXPECT_EQ(manager.m_hWnd, nullptr);
    std::sort(manager.log.begin(), manager.log.end());  // in the registry's order, which means nothing
    EXPECT_EQ(manager.log, (CloseLog{{"Background Painter", FALSE}, {"Commands", FALSE}}));
}

TEST_F(CustomizeManagerTest, ResizingKeepsTheMinimumAndMovesButtonsBarAndPage) {
    Open();
    MINMAXINFO info{};
    manager.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(info.ptMinTrackSize.x, 520);
    EXPECT_EQ(info.ptMinTrackSize.y, 450);

    auto place = [&](int id) { return ClientRectOf(manager.m_hWnd, ::GetDlgItem(manager.m_hWnd, id)); };
    RECT client{};
    manager.GetClientRect(&client);
    RECT ok = place(IDOK), bar = place(IDC_OX_SHB_PAGES), page = manager.GetPageRect();

    RECT window{};
    manager.GetWindowRect(&window);
    manager.SetWindowPos(nullptr, 0, 0, window.right - window.left + 100, window.bottom - window.top + 60,
                         SWP_NOMOVE | SWP_NOZORDER);
    RECT client2{};
    manager.GetClientRect(&client2);
    ASSERT_EQ(client2.right - client.right, 100);
    ASSERT_EQ(client2.bottom - client.bottom, 60);

    RECT ok2 = place(IDOK), bar2 = place(IDC_OX_SHB_PAGES), page2 = manager.GetPageRect();
    EXPECT_EQ(ok2.left - ok.left, 100);
    EXPECT_EQ(ok2.top - ok.top, 60);
    EXPECT_EQ(bar2.bottom - bar.bottom, 60);
    EXPECT_EQ(bar2.left, bar.left);
    EXPECT_EQ(page2.right - page.right, 100);
    EXPECT_EQ(page2.bottom - page.bottom, 60);
    EXPECT_EQ(page2.left, page.left);
    RECT shown = ClientRectOf(manager.m_hWnd, manager.background.m_hWnd);
    EXPECT_TRUE(::EqualRect(&shown, &page2));
}

TEST_F(CustomizeManagerTest, ItemTooltipsFitTheBufferAndAPageWithoutOneGivesEmptyText) {
    manager.toolbars.m_tooltip = CString('x', 100);
    Open();
    struct Case {
        COXCustomizePage* page;
        std::string expected;
    } cases[] = {{&manager.toolbars, std::string(79, 'x')},
                 {&manager.commands, "Customize the contents of the toolbars and menus"},
                 {&manager.background, ""}};
    for (const Case& c : cases) {
        SHBINFOTIP request{};
        memset(request.szText, '?', sizeof request.szText);
        NMSHORTCUTBAR nm{};
        nm.hdr.hwndFrom = manager.GetShortcutBar().m_hWnd;
        nm.hdr.idFrom = IDC_OX_SHB_PAGES;
        nm.hdr.code = OXNotifyShortcutBarGetItemTip;
        nm.hGroup = manager.GetShortcutBar().FindGroupByText("Customize");
        nm.nItem = ItemOf(*c.page);
        nm.lParam = (LPARAM)&request;
        EXPECT_EQ(manager.SendMessage(WM_NOTIFY, IDC_OX_SHB_PAGES, (LPARAM)&nm), 1);
        EXPECT_EQ(std::string(request.lpszText), c.expected);

        // The bar's list asks the dialog when its tooltip needs the item's text.
        NMTTDISPINFO tip{};
        tip.hdr.code = TTN_NEEDTEXT;
        tip.hdr.idFrom = (UINT_PTR)(ItemOf(*c.page) + 1);
        List()->SendMessage(WM_NOTIFY, 0, (LPARAM)&tip);
        EXPECT_EQ(std::string(tip.lpszText ? tip.lpszText : "<none>"), c.expected);
    }
}

TEST_F(CustomizeManagerTest, APageWhoseIconCannotLoadIsLeftOutAndItsGroupRemoved) {
    manager.commands.m_imageId = IDB_MISSING;
    Open();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Background Painter", "Toolbars"}));
    EXPECT_FALSE(manager.ActivatePage(4));
    EXPECT_EQ(manager.GetShortcutBar().GetGroupCount(), 1);
}

TEST_F(CustomizeManagerTest, TheFramesAcceleratorReachesTheFrameWhileAPageHasTheFocus) {
    Open();
    ::SetActiveWindow(manager.m_hWnd);
    HWND edit = ::GetDlgItem(manager.background.m_hWnd, IDC_VALUE);
    ::SetFocus(edit);
    ASSERT_EQ(::GetFocus(), edit);
    PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
    SimulateKey('O');
    PostKeyInput(WM_KEYUP, VK_CONTROL, 1);
    PumpAsProgram();
    EXPECT_EQ(frame->commands, std::vector<UINT>{ID_TEST_OPEN});
    EXPECT_TRUE(::IsWindow(manager.m_hWnd));
}

namespace {
class ManagerWithRegistry : public COXCustomizeManager {
public:
    bool Registers(DWORD index) const {
        for (POSITION pos = m_mapPages.GetStartPosition(); pos;) {
            COXCustomizePage* page = nullptr;
            DWORD registered = 0;
            m_mapPages.GetNextAssoc(pos, page, registered);
            if (registered == index)
                return true;
        }
        return false;
    }
};

class ManagerWithItsPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 600}));
        app.m_pMainWnd = frame;
    }
    void TearDown() override {
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
    }
    TempRegistry registry;
    CWinApp app{"ManagerPagesApp"};
    CFrameWnd* frame = nullptr;
    ManagerWithRegistry manager;
};
}  // namespace

TEST_F(ManagerWithItsPagesTest, OneIconPerPageSortedByTitleAndTheDialogOpensOnTheFirst) {
    ASSERT_TRUE(manager.Create(IDD_CUSTOMIZEMANAGER, frame));
    COXSHBListCtrl* list =
        manager.GetShortcutBar().GetGroupListCtrl(manager.GetShortcutBar().FindGroupByText("Customize"));
    ASSERT_NE(list, nullptr);
    std::vector<std::string> titles;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        titles.push_back((const char*)list->GetItemText(i, 0));
        LVITEM item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list->SendMessage(LVM_GETITEM, 0, (LPARAM)&item);
        EXPECT_GE(item.iImage, 0) << titles.back();
    }
    // The nine pages in the bar's order, by title; every registered one shows.
    const std::pair<DWORD, const char*> order[] = {
        {BACKGROUND_PAINTER, "Background Painter"}, {COMMANDS, "Commands"},     {COOLCONTROLS, "Cool Controls"},
        {INSTANCE_MANAGER, "Instance Manager"},     {SHORTKEYS, "Shortkeys"},   {SPLASHWINDOW, "Splash Window"},
        {TABBEDMDI, "Tabbed MDI"},                  {TOOLBARS, "Toolbars"},     {TRAYICON, "Tray Icon"}};
    std::vector<std::string> expected;
    for (const auto& [index, title] : order)
        if (manager.Registers(index))
            expected.push_back(title);
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(manager.GetActivePage(), manager.GetBackgroundPage());
    CString shown;
    manager.GetDlgItem(IDC_OX_STATIC_TITLE)->GetWindowText(shown);
    EXPECT_EQ(shown, "Background Painter");

    // Each index reaches its page; 0, 2 and 10 belong to none.
    struct Case {
        DWORD index;
        COXCustomizePage* page;
    } cases[] = {{INSTANCE_MANAGER, manager.GetInstanceManagerPage()},
                 {TRAYICON, manager.GetTrayIconPage()},
                 {SPLASHWINDOW, manager.GetSplashWindowPage()},
                 {SHORTKEYS, manager.GetShortkeysPage()},
                 {COOLCONTROLS, manager.GetCoolControlsPage()},
                 {BACKGROUND_PAINTER, manager.GetBackgroundPage()},
                 {TABBEDMDI, manager.GetTabbedMDIPage()},
                 {TOOLBARS, manager.GetToolbarsPage()},
                 {COMMANDS, manager.GetCommandsPage()}};
    for (const Case& c : cases) {
        EXPECT_TRUE(manager.ActivatePage(c.index)) << c.index;
        EXPECT_EQ(manager.GetActivePage(), c.page) << c.index;
    }
    for (DWORD none : {0u, 2u, 10u}) {
        EXPECT_FALSE(manager.ActivatePage(none)) << none;
        EXPECT_EQ(manager.GetActivePage(), manager.GetCommandsPage()) << none;
    }
}

TEST_F(ManagerWithItsPagesTest, TheAccessorsReachThePagesObjectsWhileTheDialogIsClosed) {
    EXPECT_EQ(manager.GetBitmapMenuOrganizer(), manager.GetCommandsPage()->GetBitmapMenuOrganizer());
    EXPECT_EQ(manager.GetInstanceManager(), manager.GetInstanceManagerPage()->GetInstanceManager());
    EXPECT_EQ(manager.GetCoolControlOrganizer(), manager.GetCoolControlsPage()->GetCoolControlOrganizer());
    EXPECT_EQ(manager.GetTabClientWnd(), manager.GetTabbedMDIPage()->GetTabClientWnd());
    EXPECT_EQ(manager.GetTaskbarIcon(), manager.GetTrayIconPage()->GetTaskbarIcon());
    EXPECT_EQ(manager.GetSplashWnd(), manager.GetSplashWindowPage()->GetSplashWnd());
    EXPECT_EQ(manager.GetBackgroundPainterOrganizer(), manager.GetBackgroundPage()->GetBackgroundPainterOrganizer());
    EXPECT_EQ(manager.GetShortkeysOrganizer(), manager.GetShortkeysPage()->GetShortkeysOrganizer());

    // The background's bitmap by resource name: an integer resource or "#<id>" (the page's own icon strip
    // stands in for a picture here); 0 sets up without one; other names and missing bitmaps set nothing up.
    struct Named {
        LPCTSTR name;
        BOOL result;
        bool image;
    } named[] = {{MAKEINTRESOURCE(26033), TRUE, true}, {"#26033", TRUE, true}, {MAKEINTRESOURCE(0), TRUE, false},
                 {"#", FALSE, true},  {"#0", FALSE, true}, {"#26033x", FALSE, true}, {"Picture", FALSE, true},
                 {"#60999", FALSE, true}};
    for (const Named& n : named) {
        // Each case starts from a set-up with a picture, so a refused one is seen to keep it.
        ASSERT_TRUE(manager.SetupBackgroundPageFromResourceId(FALSE, TRUE, 26033, Tile, CLR_DEFAULT));
        bool byId = IS_INTRESOURCE(n.name);
        std::string what = byId ? std::to_string((UINT_PTR)n.name) : std::string(n.name);
        EXPECT_EQ(manager.SetupBackgroundPageFromResource(FALSE, TRUE, n.name, Center, RGB(1, 2, 3)), n.result) << what;
        EXPECT_EQ(!manager.GetBackgroundPage()->GetDefaultImage().IsEmpty(), n.image) << what;
        EXPECT_EQ(manager.GetBackgroundPage()->m_nPaintType, n.result ? (int)Center : (int)Tile) << what;
    }

    // No limit: never too many copies.
    EXPECT_TRUE(manager.SetupInstanceManagerPage(COXInstanceManager::kMaxInstances, "CustomizeInstanceManager"));
    EXPECT_FALSE(manager.CheckMaxAllowedInstances(FALSE));
    EXPECT_EQ(manager.GetInstanceManagerPage()->GetMaxAllowedInstances(), COXInstanceManager::kMaxInstances);

    // An icon that does not load sets nothing up.
    EXPECT_FALSE(manager.SetupTrayIconPage(UINT(60999), 127, "Tooltip", TRUE, TRUE, nullptr, "CustomizeTrayIcon"));
    EXPECT_EQ(manager.GetTrayIconPage()->GetProfileName(), CString());
    EXPECT_TRUE(manager.SaveAllPagesState());
}
}  // namespace ox_customize_manager_test
