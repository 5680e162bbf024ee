// The toolbars page on a frame with a menu bar and two cool toolbars: the user's toolbars recreated from
// the profile (a bad stored id passed over), New Toolbar's id, caption, place and label edit, Delete and
// reuse, renaming, the four looks, the buttons' states, Reset, and what OK writes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/customize/OXCustomizeToolbarsPage.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Resources.h"
#include "platform/user/TreeView.h"
#include "platform/user/UpDown.h"
#include "tests/guilib/customize/PageTestManager.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace toolbars_page_test {
namespace {
constexpr const char* kSection = "CustomizeToolbars";
constexpr UINT ID_NEW = 0xE100, ID_OPEN = 0xE101, ID_CLOSE = 0xE102, ID_CASCADE = 0xE130;
constexpr UINT IDR_BAR1 = 310, IDR_BAR2 = 311;
constexpr UINT kBar1 = 0xE800, kBar2 = 0xE801, kMenuBar = 0xE81F;

class Resources : public ResourceModule {
public:
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
};

std::string WindowText(HWND h) { return (LPCTSTR)GetWindowTextString(h); }

class ToolbarsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 640, 480}));
        app.m_pMainWnd = frame;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(menuBar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, kMenuBar));
        struct {
            COXCoolToolBar& bar;
            UINT id, resource;
            const char* title;
        } bars[] = {{bar1, kBar1, IDR_BAR1, "Standard"}, {bar2, kBar2, IDR_BAR2, "Window"}};
        for (auto& b : bars) {
            ASSERT_TRUE(b.bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, b.id));
            ASSERT_TRUE(b.bar.LoadToolBar(b.resource));
            b.bar.SetWindowText(b.title);
            b.bar.EnableDocking(CBRS_ALIGN_ANY);
            frame->DockControlBar(&b.bar);
        }
    }
    void TearDown() override {
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
        app.m_pMainWnd = nullptr;
        RemoveResourceModule(&resources);
    }
    COXCustomizeToolbarsPage& Page() { return *manager.GetToolbarsPage(); }
    void ShowPage() {
        ASSERT_TRUE(manager.Open(frame, TRUE));
        ASSERT_TRUE(Page().ShowInManager(&manager));
    }
    HWND Item(int id) { return ::GetDlgItem(Page().m_hWnd, id); }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    void SaveCustom(int n, int id, const char* title) {
        CString name = Page().GetNewToolbarName(n);
        app.WriteProfileInt(kSection, name + "_ID", id);
        app.WriteProfileString(kSection, name + "_Title", title);
    }
    // The stored user's toolbars as "id title", read as set-up reads them.
    std::vector<std::string> Stored() {
        std::vector<std::string> out;
        for (int n = 0;; ++n) {
            CString name = Page().GetNewToolbarName(n);
            int id = (int)app.GetProfileInt(kSection, name + "_ID", 0);
            if (!id)
                return out;
            out.push_back(std::to_string(id) + " " + (LPCTSTR)app.GetProfileString(kSection, name + "_Title", "?"));
        }
    }
    HTREEITEM TreeItem(UINT barId) { return Page().GetToolbarsTree().GetItemFromID((int)barId); }
    void Select(UINT barId) {
        ASSERT_TRUE(Page().GetToolbarsTree().SelectItem(TreeItem(barId)));
        Pump();
    }
    CControlBar* Bar(UINT id) { return frame->GetControlBar(id); }
    bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != FALSE; }
    // Ends the label edit the page started with Enter, after typing `text` over the label.
    void TypeLabel(const char* text) {
        HWND edit = (HWND)Page().GetToolbarsTree().SendMessage(TVM_GETEDITCONTROL);
        ASSERT_NE(edit, nullptr);
        ::SetWindowText(edit, text);
        SimulateKey(VK_RETURN);
        Pump();
    }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"ToolbarsPageApp"};
    CFrameWnd* frame = nullptr;
    COXMenuBar menuBar;
    COXCoolToolBar bar1, bar2;
    PageTestManager manager;
};
}  // namespace

TEST_F(ToolbarsPageTest, SetupRecreatesTheSavedToolbarsHiddenAndPassesOverABadId) {
    SaveCustom(0, 59640, "Mine");
    SaveCustom(1, 100, "Outside");        // below the range
    SaveCustom(2, (int)kBar2, "Taken");  // a bar of the frame
    SaveCustom(3, 59700, "Above");        // above the range
    SaveCustom(4, 59500, "Second");
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));

    ASSERT_EQ(Page().GetCreatedToolbarCount(), 2);
    struct Case {
        UINT id;
        const char* title;
    } cases[] = {{59640, "Mine"}, {59500, "Second"}};
    for (int i = 0; i < 2; ++i) {
        COXCoolToolBar* bar = Page().GetCreatedToolbar(i);
        EXPECT_EQ((UINT)bar->GetDlgCtrlID(), cases[i].id);
        EXPECT_EQ(WindowText(bar->m_hWnd), cases[i].title);
        EXPECT_FALSE(bar->GetStyle() & WS_VISIBLE);
        EXPECT_EQ(frame->GetControlBar(cases[i].id), bar);
    }
    // The frame's bars first, in its order, the menu bar among them, then the user's.
    std::vector<std::pair<UINT, BOOL>> records;
    for (int i = 0; i < Page().GetToolbarCount(); ++i)
        records.emplace_back(Page().GetToolbarInfo(i).pToolbar->GetDlgCtrlID(), Page().GetToolbarInfo(i).bCustomMade);
    EXPECT_EQ(records, (std::vector<std::pair<UINT, BOOL>>{
                           {kMenuBar, FALSE}, {kBar1, FALSE}, {kBar2, FALSE}, {59640, TRUE}, {59500, TRUE}}));
    // The taken id still belongs to the frame's own bar alone.
    EXPECT_EQ(frame->GetControlBar(kBar2), &bar2);

    // The tree: one check box per toolbar, ticked while it shows.
    ShowPage();
    COXOptionTreeCtrl& tree = Page().GetToolbarsTree();
    EXPECT_EQ(tree.GetCount(), 5u);
    EXPECT_EQ(tree.GetItemText(TreeItem(kBar1)), "Standard");
    EXPECT_EQ(tree.GetItemState(TreeItem(kBar1)), 1);
    EXPECT_EQ(tree.GetItemState(TreeItem(59640)), 0);
    EXPECT_EQ(tree.GetItemData(TreeItem(59500)), (DWORD_PTR)Page().GetCreatedToolbar(1));
}

TEST_F(ToolbarsPageTest, TheTreesBoxesShowAndHideAndCancelLeavesThemSo) {
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    Page().GetToolbarsTree().SetOptionState((int)kBar2, 0);
    Pump();
    EXPECT_FALSE(bar2.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(Page().OnManagerClose(FALSE));
    EXPECT_FALSE(bar2.GetStyle() & WS_VISIBLE);
    Page().GetToolbarsTree().SetOptionState((int)kBar2, 1);
    EXPECT_TRUE(bar2.GetStyle() & WS_VISIBLE);
}

TEST_F(ToolbarsPageTest, NewToolbarTakesTheHighestFreeIdFloatsAndStartsItsLabelEdit) {
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    auto* first = dynamic_cast<COXCoolToolBar*>(Bar(59647));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(WindowText(first->m_hWnd), "Custom Toolbar 1");
    EXPECT_TRUE(first->IsFloating());
    RECT floating{};
    ::GetWindowRect(first->GetParentFrame()->m_hWnd, &floating);
    EXPECT_EQ(floating.left, 100);
    EXPECT_EQ(floating.top, 100);
    EXPECT_TRUE(first->GetStyle() & WS_VISIBLE);
    // Prepared for customisation by the commands page.
    EXPECT_TRUE(first->GetStyle() & TBSTYLE_LIST);
    // Checked, selected, its label in edit.
    COXOptionTreeCtrl& tree = Page().GetToolbarsTree();
    EXPECT_EQ(tree.GetSelectedItem(), TreeItem(59647));
    EXPECT_EQ(tree.GetItemState(TreeItem(59647)), 1);
    HWND edit = (HWND)tree.SendMessage(TVM_GETEDITCONTROL);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowText(edit), "Custom Toolbar 1");
    EXPECT_TRUE(Enabled(IDC_OX_BUTTON_DELETE_TOOLBAR));
    TypeLabel("Tools");
    EXPECT_EQ(WindowText(first->m_hWnd), "Tools");

    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    ASSERT_NE(Bar(59646), nullptr);
    EXPECT_EQ(WindowText(Bar(59646)->m_hWnd), "Custom Toolbar 2");
    TypeLabel("Custom Toolbar 2");

    // Delete, then New: the same object and the freed id; the number counts objects, not bars.
    Select(59647);
    Click(IDC_OX_BUTTON_DELETE_TOOLBAR);
    EXPECT_EQ(Bar(59647), nullptr);
    EXPECT_FALSE(::IsWindow(first->m_hWnd));
    EXPECT_EQ(TreeItem(59647), nullptr);
    EXPECT_EQ(Page().FindToolbar(first), -1);
    EXPECT_EQ(Page().GetCreatedToolbarCount(), 2);
    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    EXPECT_EQ(Bar(59647), first);
    EXPECT_EQ(Page().GetCreatedToolbarCount(), 2);
    EXPECT_EQ(WindowText(first->m_hWnd), "Custom Toolbar 2");
    TypeLabel("Again");
}

TEST_F(ToolbarsPageTest, OnlyTheUsersToolbarsAreRenamedAndNeverToAnEmptyName) {
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    TypeLabel("Tools");
    CControlBar* mine = Bar(59647);
    ASSERT_NE(mine, nullptr);
    CFrameWnd* floating = mine->GetParentFrame();
    ASSERT_NE(floating, frame);
    EXPECT_EQ(WindowText(floating->m_hWnd), "Tools");

    struct Case {
        const char* typed;
        const char* kept;
    } cases[] = {{"", "Tools"}, {"Utilities", "Utilities"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Click(IDC_OX_BUTTON_RENAME_TOOLBAR);
        TypeLabel(c.typed);
        EXPECT_EQ(WindowText(mine->m_hWnd), c.kept);
        EXPECT_EQ(WindowText(floating->m_hWnd), c.kept);
        EXPECT_EQ(Page().GetToolbarsTree().GetItemText(TreeItem(59647)), c.kept);
    }
    // A frame's toolbar refuses the edit.
    Select(kBar1);
    EXPECT_EQ(Page().GetToolbarsTree().EditLabel(TreeItem(kBar1)), nullptr);
}

TEST_F(ToolbarsPageTest, ButtonsFollowTheSelection) {
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    TypeLabel("Tools");
    struct Case {
        UINT selected;  // 0: none
        bool remove, rename, reset;
    } cases[] = {{0, false, false, false}, {kBar1, false, false, true}, {kMenuBar, false, false, true},
                 {59647, true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        ASSERT_TRUE(Page().GetToolbarsTree().SelectItem(c.selected ? TreeItem(c.selected) : nullptr));
        Pump();
        EXPECT_EQ(Enabled(IDC_OX_BUTTON_DELETE_TOOLBAR), c.remove);
        EXPECT_EQ(Enabled(IDC_OX_BUTTON_RENAME_TOOLBAR), c.rename);
        EXPECT_EQ(Enabled(IDC_OX_BUTTON_RESET_TOOLBAR), c.reset);
    }
    EXPECT_TRUE(Enabled(IDC_OX_BUTTON_NEW_TOOLBAR));
    EXPECT_TRUE(Enabled(IDC_OX_BUTTON_RESET_ALL));
}

TEST_F(ToolbarsPageTest, TheLooksActOnEveryToolbarButTheMenuBar) {
    app.WriteProfileInt(kSection, "ShowTooltips", 0);
    app.WriteProfileInt(kSection, "BorderSize", 3);
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    DWORD menuBarStyle = menuBar.GetBarStyle();
    for (COXCoolToolBar* bar : {&bar1, &bar2}) {
        EXPECT_FALSE(bar->GetBarStyle() & CBRS_TOOLTIPS);
        EXPECT_TRUE(bar->GetBarStyle() & CBRS_GRIPPER);
        EXPECT_TRUE(bar->GetStyle() & TBSTYLE_FLAT);
        EXPECT_EQ(bar->GetBorders().left, 3);
        EXPECT_EQ(bar->GetBorders().bottom, 3);
    }
    ShowPage();
    EXPECT_TRUE(Enabled(IDC_OX_CHECK_SHOW_GRIPPER));

    // Cool look off: no flat style but on the menu bar, and no gripper choice.
    Click(IDC_OX_CHECK_COOL_LOOK);
    EXPECT_FALSE(Page().GetCoolLook());
    EXPECT_FALSE(bar1.GetStyle() & TBSTYLE_FLAT);
    EXPECT_FALSE(bar2.GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(menuBar.GetStyle() & TBSTYLE_FLAT);
    EXPECT_FALSE(Enabled(IDC_OX_CHECK_SHOW_GRIPPER));
    Click(IDC_OX_CHECK_COOL_LOOK);
    EXPECT_TRUE(bar1.GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(Enabled(IDC_OX_CHECK_SHOW_GRIPPER));

    Click(IDC_OX_CHECK_SHOW_GRIPPER);
    Click(IDC_OX_CHECK_SHOW_TOOLTIPS);
    ::SetWindowText(Item(IDC_OX_EDIT_BORDER_SIZE), "5");
    for (COXCoolToolBar* bar : {&bar1, &bar2}) {
        EXPECT_FALSE(bar->GetBarStyle() & CBRS_GRIPPER);
        EXPECT_TRUE(bar->GetBarStyle() & CBRS_TOOLTIPS);
        EXPECT_EQ(bar->GetBorders().top, 5);
    }
    EXPECT_EQ(menuBar.GetBarStyle(), menuBarStyle);
}

TEST_F(ToolbarsPageTest, ABorderAbove100IsRefusedWithThePromptAndKeepsTheDialogOpen) {
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    // The up-down goes to 1000 although only 100 passes.
    int lower = 0, upper = 0;
    ::SendMessage(Item(IDC_OX_SPIN_BORDER_SIZE), UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper);
    EXPECT_EQ(upper, 1000);
    struct Case {
        const char* typed;
        bool accepted;
        int border;
    } cases[] = {{"100", true, 100}, {"101", false, 100}, {"7", true, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        MessageBoxRecorder boxes;
        ::SetWindowText(Item(IDC_OX_EDIT_BORDER_SIZE), c.typed);
        EXPECT_EQ(boxes.Calls().size(), c.accepted ? 0u : 1u);
        EXPECT_EQ(bar1.GetBorders().left, c.border);
        EXPECT_EQ(Page().OnManagerClose(TRUE), c.accepted);
    }
    EXPECT_EQ(app.GetProfileInt(kSection, "BorderSize", -1), 7u);
}

TEST_F(ToolbarsPageTest, ResetBringsTheSavedButtonsBack) {
    UINT pool[] = {ID_NEW, ID_OPEN, ID_CLOSE, ID_CASCADE};
    for (COXCoolToolBar* bar : {&bar1, &bar2}) {
        bar->SetAvailableButtons(pool, 4);
        ASSERT_TRUE(manager.GetCommandsPage()->SaveToolbarState(bar));
    }
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    auto commands = [](COXCoolToolBar& bar) {
        std::vector<int> ids;
        for (int i = 0; i < bar.GetToolBarCtrl().GetButtonCount(); ++i) {
            TBBUTTON b{};
            bar.GetToolBarCtrl().GetButton(i, &b);
            ids.push_back(b.idCommand);
        }
        return ids;
    };
    std::vector<int> saved1 = commands(bar1), saved2 = commands(bar2);
    // A command the bar lacks dropped on each bar while it is customised.
    struct {
        COXCoolToolBar* bar;
        UINT command;
    } drops[] = {{&bar1, ID_CASCADE}, {&bar2, ID_NEW}};
    for (auto [bar, command] : drops) {
        std::unique_ptr<COleDataSource> data(CreateCommandDataSource("Dropped", 2, command, TBSTYLE_BUTTON));
        bar->SetCustomizeMode(TRUE, &Page());
        COleDataObject object;
        object.Attach(data.get());
        SHBDROPTARGETACTION action;
        action.pWnd = bar;
        action.pDataObject = &object;
        RECT first{};
        bar->GetItemRect(0, &first);
        action.point = POINT{first.left + 2, (first.top + first.bottom) / 2};
        bar->SendMessage(SHBDTM_DRAGENTER, 0, (LPARAM)&action);
        ASSERT_NE(action.result, (DWORD)DROPEFFECT_NONE);
        action.dropEffect = action.result;
        action.result = 0;
        bar->SendMessage(SHBDTM_DROP, 0, (LPARAM)&action);
        bar->SetCustomizeMode(FALSE);
    }
    ASSERT_NE(commands(bar1), saved1);

    Select(kBar1);
    Click(IDC_OX_BUTTON_RESET_TOOLBAR);
    EXPECT_EQ(commands(bar1), saved1);
    EXPECT_NE(commands(bar2), saved2);
    Click(IDC_OX_BUTTON_RESET_ALL);
    EXPECT_EQ(commands(bar2), saved2);
}

TEST_F(ToolbarsPageTest, OkWritesTheLooksAndTheUsersToolbarsNumberedFromZero) {
    SaveCustom(0, 59640, "First");
    SaveCustom(1, 59641, "Second");
    ASSERT_TRUE(Page().SetupPage(TRUE, TRUE, TRUE, 0, kSection));
    ShowPage();
    Click(IDC_OX_BUTTON_NEW_TOOLBAR);
    TypeLabel("Third");
    Select(59640);
    Click(IDC_OX_BUTTON_DELETE_TOOLBAR);
    Click(IDC_OX_CHECK_SHOW_TOOLTIPS);

    ASSERT_TRUE(Page().OnManagerClose(TRUE));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"59641 Second", "59647 Third"}));
    EXPECT_EQ(app.GetProfileString(kSection, Page().GetNewToolbarName(2) + "_Title", "(none)"), "(none)");
    struct Case {
        const char* name;
        UINT value;
    } cases[] = {{"CoolLook", 1}, {"ShowTooltips", 0}, {"ShowGripper", 1}, {"BorderSize", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(app.GetProfileInt(kSection, c.name, 99), c.value) << c.name;
}

TEST(ToolbarsPageSkinTest, UnderTheOfficeXPLookTheCoolLookIsCheckedAndFixed) {
    TempRegistry registry;
    COXSkinnedApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 640, 480}));
    app.m_pMainWnd = frame;
    PageTestManager manager;
    ASSERT_TRUE(manager.Open(frame, TRUE));
    struct Case {
        const char* skin;
        bool checked, enabled;
    } cases[] = {{"Office XP", true, false}, {"Office 2003", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        ASSERT_TRUE(app.SetCurrentSkin(c.skin));
        COXCustomizeToolbarsPage page;
        ASSERT_TRUE(page.SetupPage(FALSE));
        ASSERT_TRUE(page.ShowInManager(&manager));
        HWND box = ::GetDlgItem(page.m_hWnd, IDC_OX_CHECK_COOL_LOOK);
        EXPECT_EQ(::SendMessage(box, BM_GETCHECK, 0, 0) == BST_CHECKED, c.checked);
        EXPECT_EQ(::IsWindowEnabled(box) != FALSE, c.enabled);
        page.DestroyWindow();
    }
    manager.DestroyWindow();
    frame->DestroyWindow();
    Pump();
    app.m_pMainWnd = nullptr;
}

}  // namespace toolbars_page_test
