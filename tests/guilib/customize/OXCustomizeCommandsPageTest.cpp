// The commands page on an MDI frame with two cool tool bars and a menu bar: the commands it collects,
// the shared images, the tree, the drag data of each kind, customisation mode while it shows, closing
// with OK and Cancel, and its answers to the bars' and menus' notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/customize/OXButtonAppearanceDlg.h"
#include "guilib/customize/OXCommandsPageResources.h"
#include "guilib/customize/OXCustomizeCommandsPage.h"
#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"
#include "tests/guilib/customize/TestCustomButton.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

// One namespace per test file: the test program compiles its files in batches.
namespace ox_customize_commands_page_test {
namespace {
constexpr UINT ID_NEW = 0xE100, ID_OPEN = 0xE101, ID_CLOSE = 0xE102, ID_MRU = 0xE110, ID_ABOUT = 0xE140,
               ID_EXIT = 0xE141, ID_CASCADE = 0xE130, ID_WINDOW1 = 0xFF00, ID_FIND = 0x8001, ID_LEVEL = 0x9001,
               ID_PLAIN = 0x9002, ID_UNUSED = 0x9003;
constexpr UINT IDR_DOC = 128, IDR_BAR1 = 300, IDR_BAR2 = 301, IDD_MANAGER = 600;

class Resources : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override {
        static const MenuTemplate frameMenu{127,
                                            {{"&File",
                                              0,
                                              MF_POPUP,
                                              {{"&New\tCtrl+N", ID_NEW, 0, {}},
                                               {"&Open...\tCtrl+O", ID_OPEN, 0, {}},
                                               {nullptr, 0, MF_SEPARATOR, {}},
                                               {"Recent File", ID_MRU, 0, {}},
                                               {"E&xit", ID_EXIT, 0, {}}}},
                                             {"&Help", 0, MF_POPUP, {{"&About", ID_ABOUT, 0, {}}}}}};
        static const MenuTemplate docMenu{IDR_DOC,
                                          {{"&File",
                                            0,
                                            MF_POPUP,
                                            {{"&new", ID_NEW, 0, {}}, {"&Close", ID_CLOSE, 0, {}},
                                             {"Recent File", ID_MRU, 0, {}}}},
                                           {"&Edit", 0, MF_POPUP, {{"&Find", ID_FIND, 0, {}}}},
                                           {"&Window",
                                            0,
                                            MF_POPUP,
                                            {{"&Cascade", ID_CASCADE, 0, {}}, {"1 Log", ID_WINDOW1, 0, {}}}}}};
        return id == 127 ? &frameMenu : id == IDR_DOC ? &docMenu : nullptr;
    }
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate bar1{IDR_BAR1, 16, 15, {ID_NEW, 0, ID_OPEN, ID_CLOSE}};
        static const ToolbarTemplate bar2{IDR_BAR2, 16, 15, {ID_CLOSE, ID_CASCADE}};
        return id == IDR_BAR1 ? &bar1 : id == IDR_BAR2 ? &bar2 : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource strip1{IDR_BAR1, test_toolbar3_png, test_toolbar3_png_size};
        static const BitmapResource strip2{IDR_BAR2, test_toolbar3_png, test_toolbar3_png_size};
        return id == IDR_BAR1 ? &strip1 : id == IDR_BAR2 ? &strip2 : nullptr;
    }
    const char* FindString(UINT id) const override {
        switch (id) {
            case ID_OPEN: return "Opens a file\nOpen File";
            case ID_CLOSE: return "Closes the log\nClose";
            case ID_EXIT: return "Quits the program";
            case ID_LEVEL: return "Chooses the level\n&Level picker\tF4";
            default: return nullptr;
        }
    }
    const DialogTemplate* FindDialog(UINT id) const override {
        static const DialogTemplate manager{IDD_MANAGER, WS_POPUP | WS_CAPTION, 0, 0, 0, 400, 300, "Customize",
                                           nullptr, 0, {}};
        return id == IDD_MANAGER ? &manager : nullptr;
    }
};

class TestManager : public COXCustomizeManager {
public:
    BOOL Open(CWnd* owner) { return CreateIndirect(FindDialogTemplate(IDD_MANAGER), owner); }
};

// Answers the appearance dialog as a script says and remembers what it was filled with.
class TestPage : public COXCustomizeCommandsPage {
public:
    INT_PTR RunAppearanceDialog(COXButtonAppearanceDlg& dlg) override {
        ++runs;
        text = dlg.m_sText;
        display = dlg.m_nDisplay;
        dropDown = dlg.m_bDropDown;
        textOnly = dlg.m_bTextOnly;
        accelerators.clear();
        for (int i = 0; i < dlg.m_arrAccelerators.GetSize(); ++i)
            accelerators.push_back((LPCTSTR)dlg.m_arrAccelerators[i]);
        acceleratorIndex = dlg.m_nAcceleratorIndex;
        images = dlg.m_hImageList ? ImageList_GetImageCount(dlg.m_hImageList) : 0;
        if (answer)
            answer(dlg);
        return result;
    }
    int runs = 0;
    CString text;
    int display = -2, acceleratorIndex = -1, images = 0;
    BOOL dropDown = FALSE, textOnly = FALSE;
    std::vector<std::string> accelerators;
    INT_PTR result = IDCANCEL;
    std::function<void(COXButtonAppearanceDlg&)> answer;
};

class CommandsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        app.SetRegistryKey("Test");
        frame = new CMDIFrameWnd;
        app.m_pMainWnd = frame;
        ASSERT_TRUE(frame->LoadFrame(127, WS_OVERLAPPEDWINDOW));
        auto* tmpl = new CMultiDocTemplate(IDR_DOC, nullptr, nullptr, nullptr);
        app.AddDocTemplate(tmpl);
        ASSERT_TRUE(tmpl->m_hMenuShared);
        ASSERT_TRUE(menuBar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE81F));
        menuBar.SetFrameMenu(tmpl->m_hMenuShared);
        ASSERT_TRUE(bar1.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, 0xE800));
        ASSERT_TRUE(bar1.LoadToolBar(IDR_BAR1));
        ASSERT_TRUE(bar2.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, 0xE801));
        ASSERT_TRUE(bar2.LoadToolBar(IDR_BAR2));
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        if (page.m_hWnd)
            page.DestroyWindow();
        manager.DestroyWindow();
        page.GetBitmapMenuOrganizer()->DetachFrameWnd();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        RemoveResourceModule(&resources);
    }
    void SetUpPage() {
        ASSERT_TRUE(page.SetupPage(IDB_OX_COMMANDS_STRIP, RGB(192, 192, 192), TRUE, TRUE, "CustomizeCommands"));
    }
    void Show() {
        SetUpPage();
        manager.ShowWindow(SW_SHOW);
        ASSERT_TRUE(page.ShowInManager(&manager));
    }
    int Image(CToolBar& bar, int index) {
        UINT id = 0, style = 0;
        int image = -1;
        bar.GetButtonInfo(index, id, style, image);
        return image;
    }
    // The tree as "text(data)" lines, children indented.
    void TreeLines(HTREEITEM item, int depth, std::vector<std::string>& out) {
        CTreeCtrl& tree = page.GetCommandsTree();
        for (; item; item = tree.GetNextSiblingItem(item)) {
            out.push_back(std::string((size_t)depth * 2, ' ') + (LPCTSTR)tree.GetItemText(item));
            TreeLines(tree.GetChildItem(item), depth + 1, out);
        }
    }
    HTREEITEM Find(const char* path) {
        CTreeCtrl& tree = page.GetCommandsTree();
        HTREEITEM item = tree.GetRootItem();
        std::string rest = path;
        while (item) {
            size_t slash = rest.find('/');
            std::string name = rest.substr(0, slash);
            while (item && name != (LPCTSTR)tree.GetItemText(item))
                item = tree.GetNextSiblingItem(item);
            if (!item || slash == std::string::npos)
                return item;
            rest = rest.substr(slash + 1);
            item = tree.GetChildItem(item);
        }
        return nullptr;
    }
    std::vector<OXCommandDragItem> DragItems(HTREEITEM item) {
        std::vector<OXCommandDragItem> items;
        COleDataSource* source = page.CreateDragDataSource(item);
        if (!source)
            return items;
        EXPECT_TRUE(ParseCommandDragData(source->Block(CommandDragFormat), items));
        delete source;
        return items;
    }
    LRESULT NotifyToolbar(COXCoolToolBar& bar, int event, LPARAM lParam = 0) {
        return bar.NotifyCustomizeOwner(event, lParam);
    }
    // Shows the page and opens the menu bar's File menu, with "&Open...\tCtrl+O" added, selected in it.
    void OpenFileMenuOnOpen(HMENU& file, COXBitmapMenu*& menu) {
        Show();
        file = ::GetSubMenu(menuBar.GetMenuHandle(), 0);
        ::InsertMenu(file, 1, MF_BYPOSITION | MF_STRING, ID_OPEN, "&Open...\tCtrl+O");
        OXMENUBARPOPUP info{0, file, POINT{10, 30}, 0, RECT{10, 10, 40, 30}};
        NotifyToolbar(menuBar, ID_OXCUSTTB_MENU_REQUESTED, (LPARAM)&info);
        ASSERT_EQ(page.GetPopupWnds().size(), 1u);
        menu = page.GetPopupWnds().begin()->first->GetBitmapMenu();
        ASSERT_TRUE(menu);
        menu->SetCustomizeSelection(1);
    }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"PageApp"};
    CMDIFrameWnd* frame = nullptr;
    COXMenuBar menuBar;
    COXCoolToolBar bar1, bar2;
    TestManager manager;
    TestPage page;
};

}  // namespace

TEST_F(CommandsPageTest, SetupSharesOneImageListAndCollectsEachCommandOnce) {
    int before1 = ImageList_GetImageCount((HIMAGELIST)bar1.SendMessage(TB_GETIMAGELIST));
    int before2 = ImageList_GetImageCount((HIMAGELIST)bar2.SendMessage(TB_GETIMAGELIST));
    SetUpPage();
    HIMAGELIST shared = page.GetImageList();
    ASSERT_TRUE(shared);
    EXPECT_EQ((HIMAGELIST)bar1.SendMessage(TB_GETIMAGELIST), shared);
    EXPECT_EQ((HIMAGELIST)bar2.SendMessage(TB_GETIMAGELIST), shared);
    // The tree's five icons, bar 1's images, bar 2's images, the commands strip's eight.
    EXPECT_EQ(ImageList_GetImageCount(shared), 5 + before1 + before2 + 8);
    EXPECT_EQ(page.GetCommandImage(ID_NEW), 5);
    EXPECT_EQ(page.GetCommandImage(ID_OPEN), 6);
    // Close stands on both bars: both show the first bar's image.
    EXPECT_EQ(page.GetCommandImage(ID_CLOSE), 7);
    EXPECT_EQ(Image(bar1, 3), 7);
    EXPECT_EQ(Image(bar2, 0), 7);
    EXPECT_EQ(page.GetCommandImage(ID_CASCADE), 5 + before1 + 1);
    EXPECT_EQ(Image(bar2, 1), 5 + before1 + 1);
    // Recent files and the window list are no commands of the page; menu positions are none either.
    EXPECT_FALSE(page.IsCommandKnown(ID_MRU));
    EXPECT_FALSE(page.IsCommandKnown(ID_WINDOW1));
    EXPECT_FALSE(page.IsCommandKnown(1));
    EXPECT_EQ(page.GetCommandImage(ID_EXIT), -1);
    // Each known command stands once in the available buttons.
    std::vector<UINT> pool = page.GetAvailableButtons();
    std::vector<UINT> expected{ID_NEW, ID_CLOSE, ID_FIND, ID_CASCADE, ID_OPEN, ID_EXIT, ID_ABOUT};
    std::sort(pool.begin(), pool.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pool, expected);
    // Commands with images stand at image - 5 where that is free.
    EXPECT_EQ(page.GetAvailableButtons()[0], ID_NEW);
    EXPECT_EQ(page.GetAvailableButtons()[1], ID_OPEN);
    EXPECT_EQ(page.GetAvailableButtons()[2], ID_CLOSE);
    EXPECT_TRUE(bar1.IsCustomizable(TRUE));
    EXPECT_TRUE(bar1.GetStyle() & TBSTYLE_LIST);
    EXPECT_TRUE(bar1.GetButtonStyle(0) & TBSTYLE_AUTOSIZE);
    // Images in menus are on: the organizer serves the frame.
    EXPECT_EQ(page.GetBitmapMenuOrganizer()->GetFrameWnd(), frame);
    EXPECT_TRUE(page.GetBitmapMenuOrganizer()->GetImageInfo(ID_OPEN));
}

TEST_F(CommandsPageTest, TreeMergesGroupsCutsTextsAndEndsWithNewMenuAndSeparator) {
    Show();
    std::vector<std::string> lines;
    TreeLines(page.GetCommandsTree().GetRootItem(), 0, lines);
    std::vector<std::string> expected{"File", "  New", "  Open...", "  Exit", "  Close", "Help", "  About",
                                      "Edit", "  Find", "Window", "  Cascade", "New Menu", "Separator"};
    EXPECT_EQ(lines, expected);
    CTreeCtrl& tree = page.GetCommandsTree();
    int image = -1, selected = -1;
    tree.GetItemImage(Find("File/Exit"), image, selected);
    EXPECT_EQ(image, 3);  // no image of its own
    tree.GetItemImage(Find("File/Open..."), image, selected);
    EXPECT_EQ(image, 6);
    EXPECT_TRUE(tree.GetItemState(Find("File"), TVIS_BOLD) & TVIS_BOLD);
    EXPECT_TRUE(tree.GetItemState(Find("Separator"), TVIS_BOLD) & TVIS_BOLD);
    EXPECT_FALSE(tree.GetItemState(Find("File/New"), TVIS_BOLD) & TVIS_BOLD);
}

TEST_F(CommandsPageTest, SelectionShowsTheDescriptionOfEachKind) {
    Show();
    struct Case {
        const char* path;
        const char* description;
    } cases[] = {{"Separator", "Menu or toolbar separator"}, {"File", "File group"}, {"New Menu", "New menu group"},
                 {"File/Open...", "Opens a file"},           {"File/Exit", "Quits the program"},
                 {"File/New", ""}};
    for (const Case& c : cases) {
        ASSERT_TRUE(Find(c.path)) << c.path;
        page.GetCommandsTree().SelectItem(Find(c.path));
        EXPECT_EQ(page.GetDescription(), c.description) << c.path;
        char shown[128] = "";
        ::GetDlgItemText(page.m_hWnd, IDC_OX_STATIC_DESCRIPTION, shown, sizeof shown);
        EXPECT_STREQ(shown, c.description) << c.path;
    }
}

TEST_F(CommandsPageTest, EachKindOfTreeItemDragsItsBlock) {
    Show();
    std::vector<OXCommandDragItem> items = DragItems(Find("Separator"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].nCommandID, 0u);
    EXPECT_EQ(items[0].sText, "");
    EXPECT_EQ(items[0].nImageIndex, -1);
    EXPECT_EQ(items[0].nStyle, TBSTYLE_SEP);

    items = DragItems(Find("New Menu"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].nCommandID, OX_DRAG_POPUP);
    EXPECT_EQ(items[0].sText, "New Menu");
    EXPECT_EQ(items[0].nStyle, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE);
    EXPECT_TRUE(items[0].items.empty());

    // A command carries its tool tip text and its shared image; one without either its tree text and -1.
    items = DragItems(Find("File/Open..."));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].nCommandID, ID_OPEN);
    EXPECT_EQ(items[0].sText, "Open File");
    EXPECT_EQ(items[0].nImageIndex, 6);
    EXPECT_EQ(items[0].nStyle, 0);
    page.GetBitmapMenuOrganizer()->DetachFrameWnd();
    items = DragItems(Find("Help/About"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].sText, "About");
    EXPECT_EQ(items[0].nImageIndex, -1);

    // A group carries its commands, with the tool tip texts where there are some.
    items = DragItems(Find("File"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].nCommandID, OX_DRAG_POPUP);
    EXPECT_EQ(items[0].sText, "File");
    EXPECT_EQ(items[0].nStyle, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE);
    std::vector<std::pair<UINT, std::string>> children;
    for (const OXCommandDragItem& child : items[0].items)
        children.emplace_back(child.nCommandID, (LPCTSTR)child.sText);
    std::vector<std::pair<UINT, std::string>> expected{
        {ID_NEW, "New"}, {ID_OPEN, "Open File"}, {ID_EXIT, "Exit"}, {ID_CLOSE, "Close"}};
    EXPECT_EQ(children, expected);
}

TEST_F(CommandsPageTest, ShowingAndHidingSwitchBarsAndOrganizer) {
    Show();
    for (COXCoolToolBar* bar : {&bar1, &bar2, static_cast<COXCoolToolBar*>(&menuBar)}) {
        EXPECT_TRUE(bar->IsInCustomizeMode());
        EXPECT_EQ(bar->GetCustomizeOwner(), &page);
    }
    EXPECT_TRUE(page.GetBitmapMenuOrganizer()->IsCustomizeMode());
    page.HidePage();
    for (COXCoolToolBar* bar : {&bar1, &bar2, static_cast<COXCoolToolBar*>(&menuBar)})
        EXPECT_FALSE(bar->IsInCustomizeMode());
    EXPECT_FALSE(page.GetBitmapMenuOrganizer()->IsCustomizeMode());
    EXPECT_FALSE(::IsWindowVisible(page.m_hWnd));
}

TEST_F(CommandsPageTest, OkWritesBothOptionsAndCancelKeepsTheMenusImages) {
    Show();
    ::CheckDlgButton(page.m_hWnd, IDC_OX_CHECK_RECENTLY_USED, BST_UNCHECKED);
    ::SendMessage(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OX_CHECK_RECENTLY_USED, BN_CLICKED),
                  (LPARAM)::GetDlgItem(page.m_hWnd, IDC_OX_CHECK_RECENTLY_USED));
    // Cancel: nothing written, the organizer keeps serving images.
    ASSERT_TRUE(page.OnManagerClose(FALSE));
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowOnlyRecentlyUsedMenuItems", 7), 7);
    EXPECT_TRUE(page.GetBitmapMenuOrganizer()->GetImageInfo(ID_OPEN));
    EXPECT_TRUE(page.GetBitmapMenuOrganizer()->GetShowOnlyRecentlyUsed());
    // OK: both written and applied; the bars' states and the recently used items are saved.
    ASSERT_TRUE(page.OnManagerClose(TRUE));
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowIconsInMenu", 7), 1);
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowOnlyRecentlyUsedMenuItems", 7), 0);
    EXPECT_FALSE(page.GetBitmapMenuOrganizer()->GetShowOnlyRecentlyUsed());
    EXPECT_TRUE(page.GetBitmapMenuOrganizer()->GetImageInfo(ID_OPEN));
    BYTE* data = nullptr;
    UINT size = 0;
    EXPECT_TRUE(app.GetProfileBinary("Toolbars State", "Toolbar_ID_59392", &data, &size));
    delete[] data;
    // Icons off: the organizer lets the frame go.
    ::CheckDlgButton(page.m_hWnd, IDC_OX_CHECK_SHOW_ICONS, BST_UNCHECKED);
    ASSERT_TRUE(page.OnManagerClose(TRUE));
    EXPECT_EQ(page.GetBitmapMenuOrganizer()->GetFrameWnd(), nullptr);
}

TEST_F(CommandsPageTest, SelectionFollowsTheLastBarClicked) {
    Show();
    CWnd* modify = page.GetDlgItem(IDC_OX_BUTTON_MODIFY_SELECTION);
    EXPECT_FALSE(modify->IsWindowEnabled());
    bar1.SetCustomizedButton(0);
    EXPECT_EQ(page.GetSelectedToolbar(), &bar1);
    EXPECT_TRUE(modify->IsWindowEnabled());
    bar2.SetCustomizedButton(1);
    EXPECT_EQ(page.GetSelectedToolbar(), &bar2);
    EXPECT_EQ(bar1.GetCustomizedButton(), -1);
    EXPECT_EQ(bar2.GetCustomizedButton(), 1);
    EXPECT_TRUE(modify->IsWindowEnabled());
    // Empty space on the other bar: the selection goes.
    bar1.SetCustomizedButton(-1);
    EXPECT_EQ(page.GetSelectedToolbar(), nullptr);
    EXPECT_EQ(bar2.GetCustomizedButton(), -1);
    EXPECT_FALSE(modify->IsWindowEnabled());
}

TEST_F(CommandsPageTest, AMenuBarMenuRequestedTwiceClosesTheSecondTime) {
    Show();
    OXMENUBARPOPUP info{1, ::GetSubMenu(menuBar.GetMenuHandle(), 1), POINT{40, 60}, 0, RECT{40, 40, 80, 60}};
    NotifyToolbar(menuBar, ID_OXCUSTTB_MENU_REQUESTED, (LPARAM)&info);
    EXPECT_EQ(page.GetOpenMenuBarItem(), 1);
    ASSERT_EQ(page.GetPopupWnds().size(), 1u);
    COXBitmapMenuPopupWnd* popup = page.GetPopupWnds().begin()->first;
    EXPECT_TRUE(::IsWindowVisible(popup->m_hWnd));
    EXPECT_EQ(page.GetPopupLevel(popup), 0);
    ASSERT_TRUE(popup->GetBitmapMenu());
    EXPECT_EQ(popup->GetBitmapMenu()->m_hMenu, info.hPopup);
    NotifyToolbar(menuBar, ID_OXCUSTTB_MENU_REQUESTED, (LPARAM)&info);
    EXPECT_EQ(page.GetOpenMenuBarItem(), -1);
    EXPECT_TRUE(page.GetPopupWnds().empty());
}

TEST_F(CommandsPageTest, ButtonAppearanceIsPrefilledAndApplied) {
    Show();
    // Bar 1's Open shows no text: the dialog offers the tool tip text, image only.
    bar1.SetCustomizedButton(2);
    NotifyToolbar(bar1, ID_OXCUSTTB_APPEARANCE);
    ASSERT_EQ(page.runs, 1);
    EXPECT_EQ(page.text, "Open File");
    EXPECT_EQ(page.display, 0);
    EXPECT_FALSE(page.dropDown);
    // Its current image, then the shared images after the tree's icons.
    EXPECT_EQ(page.images, 1 + ImageList_GetImageCount(page.GetImageList()) - 5);
    // Cancel changes nothing.
    EXPECT_EQ(Image(bar1, 2), 6);
    EXPECT_EQ(bar1.GetButtonText(2), "");

    struct Case {
        const char* what;
        int display, image;
        BOOL dropDown;
        const char* text;
        int expectedImage;
        const char* expectedText;
    } cases[] = {
        {"image and text, image 3", 1, 3, TRUE, "Open it", 7, "Open it"},
        {"image only drops the text", 0, 0, FALSE, "typed", 7, ""},
        {"an image past the list keeps the current one", 1, 1000, FALSE, "Again", 7, "Again"},
    };
    for (const Case& c : cases) {
        page.result = IDOK;
        page.answer = [&c](COXButtonAppearanceDlg& dlg) {
            dlg.m_nDisplay = c.display;
            dlg.m_nImageIndex = c.image;
            dlg.m_bDropDown = c.dropDown;
            dlg.m_sText = c.text;
        };
        NotifyToolbar(bar1, ID_OXCUSTTB_APPEARANCE);
        EXPECT_EQ(Image(bar1, 2), c.expectedImage) << c.what;
        EXPECT_EQ(bar1.GetButtonText(2), c.expectedText) << c.what;
        EXPECT_EQ((bar1.GetButtonStyle(2) & TBSTYLE_DROPDOWN) != 0, c.dropDown != FALSE) << c.what;
    }
    // A button showing its text offers it, image and text.
    NotifyToolbar(bar1, ID_OXCUSTTB_APPEARANCE);
    EXPECT_EQ(page.text, "Again");
    EXPECT_EQ(page.display, 1);
}

TEST_F(CommandsPageTest, MenuItemAppearanceSplitsTheAcceleratorAndMarksTheMenuChanged) {
    HMENU file = nullptr;
    COXBitmapMenu* menu = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenFileMenuOnOpen(file, menu));
    page.result = IDOK;
    page.answer = [](COXButtonAppearanceDlg& dlg) {
        dlg.m_sText = "&Open a log";
        dlg.m_nAcceleratorIndex = 1;
    };
    menu->NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE);
    ASSERT_EQ(page.runs, 1);
    EXPECT_EQ(page.text, "&Open...");
    EXPECT_TRUE(page.textOnly);
    EXPECT_EQ(page.accelerators, (std::vector<std::string>{"None", "Ctrl+O"}));
    EXPECT_EQ(page.acceleratorIndex, 1);
    EXPECT_EQ(OXGetMenuItemText(file, 1), "&Open a log\tCtrl+O");
    // "None" leaves the text without an accelerator.
    page.answer = [](COXButtonAppearanceDlg& dlg) { dlg.m_nAcceleratorIndex = 0; };
    menu->NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE);
    EXPECT_EQ(OXGetMenuItemText(file, 1), "&Open a log");
    // The changed menu is saved with the bars' states, its items given back their texts first.
    ASSERT_TRUE(page.OnManagerClose(TRUE));
    BYTE* data = nullptr;
    UINT size = 0;
    EXPECT_TRUE(app.GetProfileBinary("Main_Menu_Default", "MenuItems", &data, &size));
    delete[] data;
    char text[64] = "";
    ::GetMenuString(file, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Open a log");
}

TEST_F(CommandsPageTest, MenuItemAppearanceOffersTheCommandsKeysOfTheManagersShortkeysOrganizer) {
    ACCEL open{FCONTROL | FVIRTKEY, 'O', (WORD)ID_OPEN};
    frame->m_hAccelTable = ::CreateAcceleratorTable(&open, 1);
    ASSERT_TRUE(manager.SetupShortkeysPage(frame));
    COXShortkeysOrganizer* keys = manager.GetShortkeysOrganizer();
    ASSERT_TRUE(keys->SetAccelerator(FALT | FVIRTKEY, VK_F2, ID_OPEN));
    ASSERT_TRUE(keys->SetAccelerator(FCONTROL | FVIRTKEY, 'N', ID_NEW));
    HMENU file = nullptr;
    COXBitmapMenu* menu = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenFileMenuOnOpen(file, menu));
    page.result = IDOK;

    // Each run offers Open's two keys with the item's current one selected, and the answer picks the next.
    const std::vector<std::string> offered{"None", "Ctrl+O", "Alt+F2"};
    struct Run {
        int selected, choice;
        const char* after;
    } runs[] = {{1, 2, "&Open...\tAlt+F2"}, {2, 0, "&Open..."}, {0, 1, "&Open...\tCtrl+O"}};
    for (const Run& r : runs) {
        page.answer = [&r](COXButtonAppearanceDlg& dlg) { dlg.m_nAcceleratorIndex = r.choice; };
        menu->NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE);
        EXPECT_EQ(page.accelerators, offered) << r.after;
        EXPECT_EQ(page.acceleratorIndex, r.selected) << r.after;
        EXPECT_EQ(OXGetMenuItemText(file, 1), r.after);
    }
}

TEST_F(CommandsPageTest, SubmenusOpenOneLevelDeeperAndADeleteIsSavedWithTheMenu) {
    Show();
    HMENU edit = ::GetSubMenu(menuBar.GetMenuHandle(), 1);
    HMENU more = ::CreatePopupMenu();
    ::AppendMenu(more, MF_STRING, ID_CASCADE, "&Cascade");
    ::AppendMenu(edit, MF_POPUP, (UINT_PTR)more, "&More");
    OXMENUBARPOPUP info{1, edit, POINT{40, 30}, 0, RECT{40, 10, 80, 30}};
    NotifyToolbar(menuBar, ID_OXCUSTTB_MENU_REQUESTED, (LPARAM)&info);
    ASSERT_EQ(page.GetPopupWnds().size(), 1u);
    COXBitmapMenuPopupWnd* top = page.GetPopupWnds().begin()->first;
    COXBitmapMenu* menu = top->GetBitmapMenu();
    ASSERT_TRUE(menu);
    // Selecting the submenu's item opens it beside the item, once.
    menu->SetCustomizeSelection(1);
    menu->NotifyCustomize(OX_CUSTOMIZE_SELECTION_CHANGED);
    ASSERT_EQ(page.GetPopupWnds().size(), 2u);
    COXBitmapMenuPopupWnd* sub = nullptr;
    for (auto& [popup, level] : page.GetPopupWnds())
        if (level == 1)
            sub = popup;
    ASSERT_TRUE(sub && sub->GetBitmapMenu());
    EXPECT_EQ(sub->GetBitmapMenu()->m_hMenu, more);
    EXPECT_TRUE(::IsWindowVisible(sub->m_hWnd));
    RECT topRect{}, subRect{};
    ::GetWindowRect(top->m_hWnd, &topRect);
    ::GetWindowRect(sub->m_hWnd, &subRect);
    EXPECT_GE(subRect.left, topRect.left + (topRect.right - topRect.left) / 2);
    menu->NotifyCustomize(OX_CUSTOMIZE_SELECTION_CHANGED);
    EXPECT_EQ(page.GetPopupWnds().size(), 2u);
    // Another event of the top menu closes the deeper popup; an item without its record opens no dialog.
    menu->SetCustomizeSelection(0);
    menu->NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE);
    EXPECT_EQ(page.GetPopupWnds().size(), 1u);
    EXPECT_EQ(page.runs, 1);
    MENUITEMINFO none{};
    none.cbSize = sizeof none;
    none.fMask = MIIM_DATA;
    ::SetMenuItemInfo(menu->m_hMenu, 0, TRUE, &none);
    menu->NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE);
    EXPECT_EQ(page.runs, 1);
    // A default edit: the menu bar saves the changed menu when the dialog closes.
    menu->SetCustomizeSelection(0);
    menu->OnDeleteItem();
    ASSERT_TRUE(page.OnManagerClose(TRUE));
    BYTE* data = nullptr;
    UINT size = 0;
    EXPECT_TRUE(app.GetProfileBinary("Main_Menu_Default", "MenuItems", &data, &size));
    delete[] data;
    EXPECT_EQ(::GetMenuItemCount(edit), 1);
}

TEST_F(CommandsPageTest, MenuBarItemAppearanceRenamesTheItem) {
    Show();
    menuBar.SetCustomizedButton(2);
    page.result = IDOK;
    page.answer = [](COXButtonAppearanceDlg& dlg) { dlg.m_sText = "&Windows"; };
    NotifyToolbar(menuBar, ID_OXCUSTTB_APPEARANCE);
    ASSERT_EQ(page.runs, 1);
    EXPECT_EQ(page.text, "&Window");
    EXPECT_TRUE(page.textOnly);
    EXPECT_EQ(page.display, -1);
    EXPECT_EQ(OXGetMenuItemText(menuBar.GetMenuHandle(), 2), "&Windows");
    EXPECT_EQ(menuBar.GetButtonText(2), "&Windows");
}

TEST_F(CommandsPageTest, AnAddedCommandIsOfferedAndDescribed) {
    SetUpPage();
    CString text, description;
    int image = 0;
    EXPECT_FALSE(page.GetCommandInfo(0x8100, text, image, description));
    EXPECT_EQ(image, -1);
    ASSERT_TRUE(page.AddCommand(0x8100, "&Replay", -1, "Replays the log"));
    EXPECT_TRUE(page.HasCommand(0x8100));
    ASSERT_TRUE(page.GetCommandInfo(0x8100, text, image, description));
    EXPECT_EQ(text, "&Replay");
    EXPECT_EQ(description, "Replays the log");
    EXPECT_EQ(image, -1);
    const std::vector<UINT>& pool = page.GetAvailableButtons();
    EXPECT_EQ(std::count(pool.begin(), pool.end(), 0x8100u), 1);
    manager.ShowWindow(SW_SHOW);
    ASSERT_TRUE(page.ShowInManager(&manager));
    EXPECT_TRUE(Find("Commands/Replay"));
}

namespace {
using custom_button_test::TestCustomButton;

// Three registered custom buttons: the level picker on both bars, a plain one on the first, one unused.
class CustomButtonsPageTest : public CommandsPageTest {
protected:
    void SetUp() override {
        CommandsPageTest::SetUp();
        OXCUSTOMBUTTONDESCRIPTOR descriptor;
        descriptor.m_nWidth = 80;
        descriptor.m_nHeight = 14;
        descriptor.m_nFlags = OXCBD_SHOWHORZ;
        descriptor.m_nImageIndex = 1;
        ASSERT_EQ(COXCoolToolBar::RegisterCustomButton(ID_LEVEL, &level, descriptor), 0);
        ASSERT_EQ(COXCoolToolBar::RegisterCustomButton(ID_PLAIN, &plain, descriptor), 1);
        ASSERT_EQ(COXCoolToolBar::RegisterCustomButton(ID_UNUSED, &unused, descriptor), 2);
        ASSERT_TRUE(bar1.InsertCustomButton(1, 0));
        ASSERT_TRUE(bar1.InsertCustomButton(2, 1));
        ASSERT_TRUE(bar2.InsertCustomButton(0, 0));
    }
    void TearDown() override {
        CommandsPageTest::TearDown();
        COXCoolToolBar::UnregisterCustomButtons();
        COXCoolToolBar::ResetCustomButtonTableFlags();
    }
    std::string DescriptionOf(const char* path) {
        HTREEITEM item = Find(path);
        EXPECT_TRUE(item) << path;
        page.GetCommandsTree().SelectItem(item);
        char text[256] = "";
        ::GetDlgItemText(page.m_hWnd, IDC_OX_STATIC_DESCRIPTION, text, (int)sizeof text);
        return text;
    }
    TestCustomButton level, plain, unused;
};
}  // namespace

TEST_F(CustomButtonsPageTest, TheTreeGroupsTheCustomButtonsThatHaveAWindow) {
    Show();
    std::vector<std::string> lines;
    TreeLines(Find("Custom Buttons"), 0, lines);
    lines.resize(std::min<size_t>(lines.size(), 3));
    EXPECT_EQ(lines, (std::vector<std::string>{"Custom Buttons", "  Level picker", "  Window class 'Edit'"}));
    EXPECT_EQ(page.GetCommandsTree().GetItemData(Find("Custom Buttons/Level picker")), (DWORD_PTR)ID_LEVEL);
    EXPECT_EQ(DescriptionOf("Custom Buttons"), "Set of toolbars' Custom Buttons");
    EXPECT_EQ(DescriptionOf("Custom Buttons/Level picker"), "Chooses the level");
    EXPECT_EQ(DescriptionOf("Custom Buttons/Window class 'Edit'"), "Custom Button");
    EXPECT_TRUE(DragItems(Find("Custom Buttons")).empty());
}

TEST_F(CustomButtonsPageTest, ACustomButtonsAppearanceGoesToEveryBarHostingIt) {
    Show();
    bar1.SetCustomizedButton(1);
    OXCUSTOMBUTTONDESCRIPTOR offered;
    BOOL custom = FALSE;
    page.answer = [&](COXButtonAppearanceDlg& dlg) {
        custom = dlg.m_bCustomButton;
        offered.m_nHeight = dlg.m_nHeight;
        offered.m_nWidth = dlg.m_nWidth;
        offered.m_nFlags = (dlg.m_bHorzDocked ? OXCBD_SHOWHORZ : 0) | (dlg.m_bVertDocked ? OXCBD_SHOWVERT : 0) |
                           (dlg.m_bFloating ? OXCBD_SHOWFLOAT : 0);
        dlg.m_nWidth = 100;
        dlg.m_bVertDocked = TRUE;
        dlg.m_nImageIndex = 2;
    };
    // Cancel: offered as the entry has it, nothing changes.
    NotifyToolbar(bar1, ID_OXCUSTTB_APPEARANCE);
    ASSERT_EQ(page.runs, 1);
    EXPECT_TRUE(custom);
    EXPECT_EQ(offered.m_nHeight, 14);
    EXPECT_EQ(offered.m_nWidth, 80);
    EXPECT_EQ(offered.m_nFlags, OXCBD_SHOWHORZ);
    EXPECT_EQ(bar1.GetCustomButton(1)->m_nWidth, 80);
    // OK: the width, the places it shows in and the image (k + 4) reach both bars and the registration.
    page.result = IDOK;
    NotifyToolbar(bar1, ID_OXCUSTTB_APPEARANCE);
    for (const OXCUSTOMBUTTONDESCRIPTOR* d :
         {bar1.GetCustomButton(1), bar2.GetCustomButton(0), COXCoolToolBar::GetRegisteredCustomButton(0)}) {
        ASSERT_TRUE(d);
        EXPECT_EQ(d->m_nWidth, 100);
        EXPECT_EQ(d->m_nHeight, 14);
        EXPECT_EQ(d->m_nFlags, OXCBD_SHOWHORZ | OXCBD_SHOWVERT);
        EXPECT_EQ(d->m_nImageIndex, 6);
    }
    // The other custom button keeps its settings.
    EXPECT_EQ(bar1.GetCustomButton(2)->m_nWidth, 80);
}
}  // namespace ox_customize_commands_page_test
