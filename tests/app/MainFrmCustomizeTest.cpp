// Veltrin's frame with its customize manager: the commands page set up at creation over the frame's
// menus and bars, "Customize..." opening on it, OK and Cancel, what a close saves, and damaged saved
// states falling back to the resource layout; the toolbars page over the frame's bars and the user's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/docview/DocTemplate.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
class CustomizingFrame : public CMainFrame {
public:
    using CMainFrame::m_customizeManager;
};

class MainFrmCustomizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m : Modules())
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.LoadStdProfileSettings(8);
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        previousEnd = g_endVeltrinProcess;
        g_endVeltrinProcess = [](int) {};
    }
    void TearDown() override {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        g_endVeltrinProcess = previousEnd;
        for (const ResourceModule* m : Modules())
            RemoveResourceModule(m);
    }
    static std::vector<const ResourceModule*> Modules() {
        return {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(), &VeltrinPadResources()};
    }
    void NewFrame() {
        frame = new CustomizingFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        EXPECT_EQ(app.m_pMainWnd, frame);
    }
    void Close() {
        frame->SendMessage(WM_CLOSE, 0, 0);
        Pump();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
    COXCustomizeManager& Manager() { return frame->m_customizeManager; }
    std::vector<BYTE> Binary(const char* section, const char* entry) {
        BYTE* data = nullptr;
        UINT size = 0;
        std::vector<BYTE> bytes;
        if (app.GetProfileBinary(section, entry, &data, &size) && data)
            bytes.assign(data, data + size);
        delete[] data;
        return bytes;
    }
    static std::vector<int> ButtonsOf(COXCoolToolBar& bar) {
        std::vector<int> ids;
        int count = (int)bar.SendMessage(TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            bar.SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
            ids.push_back(b.idCommand);
        }
        return ids;
    }

    TempRegistry registry;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    CustomizingFrame* frame = nullptr;
    std::function<void(int)> previousEnd;
};
}  // namespace

TEST_F(MainFrmCustomizeTest, TheCommandsPageIsSetUpOverTheFramesMenusAndBars) {
    NewFrame();
    COXCustomizeCommandsPage* page = Manager().GetCommandsPage();
    ASSERT_TRUE(page->GetImageList());
    for (COXCoolToolBar* bar : {&frame->GetToolBar(), &frame->GetWindowBar()})
        EXPECT_EQ((HIMAGELIST)bar->SendMessage(TB_GETIMAGELIST, 0, 0), page->GetImageList());
    EXPECT_TRUE(page->IsCommandKnown(ID_FILE_OPEN));
    EXPECT_TRUE(page->IsCommandKnown(ID_CUSTOMIZE));
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE1 + 15; ++id)
        EXPECT_FALSE(page->IsCommandKnown(id)) << id;
    EXPECT_FALSE(page->IsCommandKnown(AFX_IDM_FIRST_MDICHILD));

    std::vector<UINT> buttons = page->GetAvailableButtons();
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(std::adjacent_find(buttons.begin(), buttons.end()), buttons.end());

    // The organizer serves the frame: images in menus, only the recently used commands shown, the four
    // start-up commands behind the expand item.
    COXBitmapMenuOrganizer& organizer = frame->GetBitmapMenuOrganizer();
    EXPECT_EQ(&organizer, Manager().GetBitmapMenuOrganizer());
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(frame->m_hWnd), &organizer);
    EXPECT_TRUE(organizer.GetShowOnlyRecentlyUsed());
    EXPECT_TRUE(organizer.GetImageInfo(ID_FILE_OPEN));
    for (UINT id : {57606u, 57601u, 58118u, 58114u})
        EXPECT_FALSE(organizer.IsCommandRecentlyUsed(id)) << id;
}

TEST_F(MainFrmCustomizeTest, CustomizeOpensOnCommandsCancelKeepsTheImagesAndOkWritesTheOptions) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    ASSERT_TRUE(::IsWindow(Manager().m_hWnd));
    EXPECT_EQ(Manager().GetActivePage(), Manager().GetCommandsPage());

    // The tree groups the frame's menus once each, without mnemonics or accelerator texts, and ends with
    // the new menu and the separator.
    CTreeCtrl& tree = Manager().GetCommandsPage()->GetCommandsTree();
    std::vector<std::string> groups;
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
        groups.push_back((const char*)tree.GetItemText(group));
        for (HTREEITEM item = tree.GetChildItem(group); item; item = tree.GetNextSiblingItem(item)) {
            CString text = tree.GetItemText(item);
            EXPECT_LT(text.FindOneOf("&\t"), 0) << (const char*)text;
        }
    }
    ASSERT_GE(groups.size(), 3u);
    EXPECT_EQ(groups.front(), "File");
    EXPECT_EQ(std::count(groups.begin(), groups.end(), "File"), 1);
    EXPECT_EQ(std::vector<std::string>(groups.end() - 2, groups.end()),
              (std::vector<std::string>{"New Menu", "Separator"}));

    Manager().SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(::IsWindow(Manager().m_hWnd));
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowIconsInMenu", 7), 7);
    EXPECT_TRUE(frame->GetBitmapMenuOrganizer().GetImageInfo(ID_FILE_OPEN));

    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    Manager().SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(::IsWindow(Manager().m_hWnd));
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowIconsInMenu", 7), 1);
    EXPECT_EQ(app.GetProfileInt("CustomizeCommands", "ShowOnlyRecentlyUsedMenuItems", 7), 1);
    EXPECT_TRUE(frame->GetBitmapMenuOrganizer().GetImageInfo(ID_FILE_OPEN));
}

TEST_F(MainFrmCustomizeTest, ACloseSavesTheBarsAndTheRecentlyUsedItemsAndDamagedOnesAreIgnored) {
    NewFrame();
    const std::vector<int> toolbar = ButtonsOf(frame->GetToolBar()), windowBar = ButtonsOf(frame->GetWindowBar());
    Close();
    EXPECT_FALSE(Binary("Toolbars State", "Toolbar_ID_59392").empty());
    EXPECT_FALSE(Binary("Toolbars State", "Toolbar_ID_59402").empty());
    EXPECT_FALSE(Binary("RecentlyUsedMenuItems", "RUContents").empty());

    // Cut or garbled saved states: the next start has the resource layout.
    struct Case {
        const char* section;
        const char* entry;
        std::vector<BYTE> bytes;
    } cases[] = {{"Toolbars State", "Toolbar_ID_59392", {1, 2, 3}},
                 {"Toolbars State", "Toolbar_ID_59402", std::vector<BYTE>(64, 0xFF)},
                 {"RecentlyUsedMenuItems", "RUContents", {0xFF, 0xFF, 0xFF, 0x7F}}};
    for (const Case& c : cases) {
        app.WriteProfileBinary(c.section, c.entry, (LPBYTE)c.bytes.data(), (UINT)c.bytes.size());
        NewFrame();
        EXPECT_EQ(ButtonsOf(frame->GetToolBar()), toolbar) << c.entry;
        EXPECT_EQ(ButtonsOf(frame->GetWindowBar()), windowBar) << c.entry;
        EXPECT_FALSE(frame->GetBitmapMenuOrganizer().IsCommandRecentlyUsed(57606)) << c.entry;
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
}

TEST_F(MainFrmCustomizeTest, TheToolbarsPageListsTheFramesBarsAndBringsTheUsersOwnBackHidden) {
    const CString name = "0~!@#$CustomMadeToolbar";
    app.WriteProfileInt("CustomizeToolbars", name + "_ID", 59647);
    app.WriteProfileString("CustomizeToolbars", name + "_Title", "Mine");
    app.WriteProfileInt("CustomizeToolbars", "ShowGripper", 0);
    NewFrame();
    CControlBar* mine = frame->GetControlBar(59647);
    ASSERT_NE(mine, nullptr);
    EXPECT_FALSE(mine->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(std::string((const char*)GetWindowTextString(mine->m_hWnd)), "Mine");
    for (COXCoolToolBar* bar : {&frame->GetToolBar(), &frame->GetWindowBar()}) {
        EXPECT_FALSE(bar->GetBarStyle() & CBRS_GRIPPER);
        EXPECT_TRUE(bar->GetBarStyle() & CBRS_TOOLTIPS);
        EXPECT_TRUE(bar->GetStyle() & TBSTYLE_FLAT);
    }

    frame->ShowWindow(SW_SHOW);
    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    ASSERT_TRUE(Manager().ActivatePage(TOOLBARS));
    COXOptionTreeCtrl& tree = Manager().GetToolbarsPage()->GetToolbarsTree();
    std::vector<std::string> texts;
    for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        texts.push_back((const char*)tree.GetItemText(item));
    EXPECT_EQ(texts, (std::vector<std::string>{"Toolbar", "Window", "Mine"}));
    Manager().SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.GetProfileInt("CustomizeToolbars", name + "_ID", 0), 59647u);
    EXPECT_EQ(app.GetProfileInt("CustomizeToolbars", "ShowGripper", 7), 0u);
}
