// Veltrin's frame with its customize manager: the pages set up in order at creation, at the workspace's
// load and at close; the commands page over the frame's menus and bars, "Customize..." with OK and
// Cancel, commands dragged onto the bars and into a menu with the mouse, what a close writes into the
// registry file, and damaged saved states falling back to the resource layout; the toolbars page over
// the frame's bars and the user's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "platform/base/MessageBox.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "platform/base/Profile.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/user/Resources.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/app/CustomizeStateBytes.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
using namespace customize_state_bytes;

class CustomizingFrame : public CMainFrame {
public:
    CustomizingFrame() = default;
    explicit CustomizingFrame(COXCustomizeManager* manager) : CMainFrame(manager) {}
    using CMainFrame::m_customizeManager;
    // Commands that reach the frame are recorded; "Open" goes no further (its dialog would wait).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return LOWORD(wParam) == ID_FILE_OPEN ? TRUE : CMainFrame::OnCommand(wParam, lParam);
    }
    std::vector<UINT> commands;
};

std::string Text(LPCTSTR text) { return text ? text : "null"; }

class ThrowingTrayIconPage : public COXCustomizeTrayIconPage {
public:
    explicit ThrowingTrayIconPage(std::vector<std::string>& trace) : trace(trace) {}
    void RemoveTrayIcon() override {
        trace.push_back("RemoveTrayIcon throws");
        throw std::runtime_error("no tray");
    }
    std::vector<std::string>& trace;
};

// Writes each call the frame makes to its customize manager as a line, then makes it.
class TracingManager : public COXCustomizeManager {
public:
    explicit TracingManager(std::vector<std::string>& trace) : trace(trace), throwingTrayPage(trace) {}

    BOOL CheckMaxAllowedInstances(BOOL bActivate) override {
        auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
        Log("CheckMaxAllowedInstances %d, %s", bActivate,
            frame && !frame->m_hWndMDIClient ? "no MDI client yet" : "MDI client made");
        return COXCustomizeManager::CheckMaxAllowedInstances(bActivate);
    }
    BOOL SetupInstanceManagerPage(UINT nMax, LPCTSTR profile) override {
        Log("SetupInstanceManagerPage %u, %s", nMax, Text(profile).c_str());
        return COXCustomizeManager::SetupInstanceManagerPage(nMax, profile);
    }
    BOOL SetupCommandsPage(UINT nBitmapID, COLORREF clrMask, BOOL bIcons, BOOL bRecent, LPCTSTR profile) override {
        Log("SetupCommandsPage %u, 0x%06X, %d, %d, %s", nBitmapID, clrMask, bIcons, bRecent, Text(profile).c_str());
        return COXCustomizeManager::SetupCommandsPage(nBitmapID, clrMask, bIcons, bRecent, profile);
    }
    BOOL SetupCoolControlsPage(BOOL bConvert, LPCTSTR profile) override {
        Log("SetupCoolControlsPage %d, %s", bConvert, Text(profile).c_str());
        return COXCustomizeManager::SetupCoolControlsPage(bConvert, profile);
    }
    BOOL SetupTrayIconPage(HICON icon, UINT nMenu, LPCTSTR tooltip, BOOL bShow, BOOL bRight, LPCTSTR file,
                           LPCTSTR profile) override {
        Log("SetupTrayIconPage %s, %u, %s, %d, %d, %s, %s",
            icon && icon == LoadIconResource(IDR_VELTRINTYPE) ? "icon 127" : "another icon", nMenu,
            Text(tooltip).c_str(), bShow, bRight, Text(file).c_str(), Text(profile).c_str());
        return COXCustomizeManager::SetupTrayIconPage(icon, nMenu, tooltip, bShow, bRight, file, profile);
    }
    using COXCustomizeManager::SetupTrayIconPage;
    BOOL SetupShortkeysPage(CFrameWnd* frame, LPCTSTR profile) override {
        Log("SetupShortkeysPage %s, %s", frame == AfxGetMainWnd() ? "the frame" : "another frame",
            Text(profile).c_str());
        return COXCustomizeManager::SetupShortkeysPage(frame, profile);
    }
    BOOL SetupBackgroundPageFromResourceId(BOOL bPaint, BOOL bClientOnly, UINT nBitmapID, PaintType type,
                                           COLORREF clrBk, LPCTSTR profile) override {
        Log("SetupBackgroundPageFromResourceId %d, %d, %u, %d, 0x%08X, %s", bPaint, bClientOnly, nBitmapID, (int)type,
            clrBk, Text(profile).c_str());
        return COXCustomizeManager::SetupBackgroundPageFromResourceId(bPaint, bClientOnly, nBitmapID, type, clrBk,
                                                                      profile);
    }
    BOOL SaveAllPagesState() override {
        Log("SaveAllPagesState");
        return COXCustomizeManager::SaveAllPagesState();
    }
    COXCustomizeTrayIconPage* GetTrayIconPage() override {
        Log("GetTrayIconPage");
        return throwOnRemove ? &throwingTrayPage : COXCustomizeManager::GetTrayIconPage();
    }

    template <typename... Args>
    void Log(const char* format, Args... args) {
        char line[256];
        std::snprintf(line, sizeof line, format, args...);
        trace.push_back(line);
    }
    std::vector<std::string>& trace;
    ThrowingTrayIconPage throwingTrayPage;
    bool throwOnRemove = true;
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
    void NewFrame(COXCustomizeManager* manager = nullptr) {
        frame = manager ? new CustomizingFrame(manager) : new CustomizingFrame;
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

    // ---- The customize dialog driven with the mouse

    // Opens the customize dialog beside the frame, clear of its bars and menus.
    void OpenCustomize() {
        frame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        Pump();
        frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
        ASSERT_TRUE(::IsWindow(Manager().m_hWnd));
        // The dialog opens on the background page; the drags start from the commands page.
        ASSERT_TRUE(Manager().ActivatePage(COMMANDS));
        Manager().SetWindowPos(nullptr, 720, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Pump();
    }
    COXCustomizeCommandsPage& Page() { return *Manager().GetCommandsPage(); }
    // The commands tree's item of that text in that group, on the screen.
    POINT TreeItem(const char* group, const char* text) {
        CTreeCtrl& tree = Page().GetCommandsTree();
        for (HTREEITEM g = tree.GetRootItem(); g; g = tree.GetNextSiblingItem(g)) {
            if (tree.GetItemText(g) != group)
                continue;
            tree.Expand(g, TVE_EXPAND);
            for (HTREEITEM item = tree.GetChildItem(g); item; item = tree.GetNextSiblingItem(item))
                if (tree.GetItemText(item) == text) {
                    tree.EnsureVisible(item);
                    Pump();
                    RECT r{};
                    tree.GetItemRect(item, &r, TRUE);
                    POINT p{r.left + 6, (r.top + r.bottom) / 2};
                    ::ClientToScreen(tree.m_hWnd, &p);
                    return p;
                }
        }
        ADD_FAILURE() << "no tree item " << group << "/" << text;
        return POINT{-100, -100};
    }
    // A point on a bar's button, `dx` from its left edge, on the screen.
    static POINT OnButton(COXCoolToolBar& bar, int index, int dx) {
        RECT r{};
        bar.GetItemRect(index, &r);
        POINT p{r.left + dx, (r.top + r.bottom) / 2};
        ::ClientToScreen(bar.m_hWnd, &p);
        return p;
    }
    // Presses at `from`, moves there in steps and lets go: the drag runs as the program runs it.
    void Drag(POINT from, POINT to) {
        SetCursorPos(from.x, from.y);
        PostMouseInput(WM_LBUTTONDOWN, from, MK_LBUTTON);
        // A few pixels within the source first, as a hand moves: that begins the drag.
        PostMouseInput(WM_MOUSEMOVE, POINT{from.x + 8, from.y}, MK_LBUTTON);
        for (int k = 1; k <= 8; ++k)
            PostMouseInput(WM_MOUSEMOVE, POINT{from.x + (to.x - from.x) * k / 8, from.y + (to.y - from.y) * k / 8},
                           MK_LBUTTON);
        PostMouseInput(WM_MOUSEMOVE, POINT{to.x, to.y + 1}, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, POINT{to.x, to.y + 1}, 0);
        PumpAsProgram();
    }
    void PumpAsProgram() {
        MSG m;
        while (::PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            if (!AfxGetThread()->PreTranslateMessage(&m)) {
                ::TranslateMessage(&m);
                ::DispatchMessage(&m);
            }
    }
    // Opens a menu of the menu bar with a click; its customisation window.
    COXBitmapMenuPopupWnd* OpenMenuOfBar(int position) {
        COXMenuBar& bar = frame->GetMenuBar();
        RECT r{};
        bar.SendMessage(TB_GETITEMRECT, (WPARAM)position, (LPARAM)&r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(bar.m_hWnd, &p);
        SetCursorPos(p.x, p.y);
        PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, p, 0);
        PumpAsProgram();
        for (auto& [popup, level] : Page().GetPopupWnds())
            if (level == 0 && ::IsWindowVisible(popup->m_hWnd))
                return popup;
        ADD_FAILURE() << "no menu opened";
        return nullptr;
    }
    // The lower half of a menu window's item, on the screen.
    static POINT BelowMiddleOf(COXBitmapMenuPopupWnd* popup, int position) {
        const RECT& r = popup->GetItemRects()[(size_t)position];
        POINT p{r.left + 20, r.bottom - 2};
        ::ClientToScreen(popup->m_hWnd, &p);
        return p;
    }
    // A point of the MDI client, away from every bar.
    POINT InTheMdiClient() {
        RECT r{};
        ::GetWindowRect(frame->m_hWndMDIClient, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The texts of a menu's items, popups with their items after a '>'.
    static std::vector<std::string> TextsOf(HMENU menu) {
        std::vector<std::string> texts;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            char text[256] = "";
            ::GetMenuString(menu, (UINT)i, text, (int)sizeof text, MF_BYPOSITION);
            texts.push_back(text);
        }
        return texts;
    }

    // A customised session: "Arrange Icons" (on no bar) dropped from the tree before the first button
    // of "Toolbar", "About" dragged off that bar, "Save Column Layout" dropped under "Open" in File
    // opened from the menu bar; OK, and the frame closed.
    void CustomizeAndClose() {
        NewFrame();
        OpenCustomize();
        COXCoolToolBar& toolbar = frame->GetToolBar();
        std::vector<int> expected = ButtonsOf(toolbar);
        Drag(TreeItem("Window", "Arrange Icons"), OnButton(toolbar, 0, 3));
        expected.insert(expected.begin(), ID_WINDOW_ARRANGE);
        ASSERT_EQ(ButtonsOf(toolbar), expected);
        // The separator left last goes with the button.
        Drag(OnButton(toolbar, (int)expected.size() - 1, 8), InTheMdiClient());
        expected.resize(expected.size() - 2);
        ASSERT_EQ(ButtonsOf(toolbar), expected);
        COXBitmapMenuPopupWnd* file = OpenMenuOfBar(0);
        ASSERT_TRUE(file);
        Drag(TreeItem("Edit", "Save Column Layout"), BelowMiddleOf(file, 0));
        HMENU fileMenu = ::GetSubMenu(frame->GetMenuBar().GetMenuHandle(), 0);
        ASSERT_EQ(TextsOf(fileMenu)[1], "Save Column Layout");
        Manager().SendMessage(WM_COMMAND, IDOK, 0);
        Close();
    }

    // ---- The registry file itself

    std::string FileValue(const char* section, const char* entry) {
        EXPECT_EQ(AfxGetProfile().GetProfileName(), CString("Veltrin"));
        return RegistryFileValue(TempRegistry::Read(registry.Path()), section, entry);
    }

    TempRegistry registry;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    CustomizingFrame* frame = nullptr;
    std::function<void(int)> previousEnd;
};
}  // namespace

TEST_F(MainFrmCustomizeTest, TheFrameSetsItsPagesUpInOrderAndATrayIconFailureDoesNotStopTheClose) {
    std::vector<std::string> trace;
    g_endVeltrinProcess = [&trace](int) { trace.push_back("StopVeltrin"); };
    NewFrame(new TracingManager(trace));
    frame->LoadWorkspace();
    Close();
    EXPECT_EQ(trace, (std::vector<std::string>{
                         "CheckMaxAllowedInstances 1, no MDI client yet",
                         "SetupInstanceManagerPage 1000, CustomizeInstanceManager",
                         "SetupCommandsPage 26031, 0xC0C0C0, 1, 1, CustomizeCommands",
                         "SetupCoolControlsPage 0, CustomizeCoolControls",
                         "SetupTrayIconPage icon 127, 127, Tooltip, 1, 1, null, CustomizeTrayIcon",
                         "SetupCoolControlsPage 0, CustomizeCoolControls",
                         "SetupShortkeysPage the frame, CustomizeShortkeys",
                         "SetupBackgroundPageFromResourceId 1, 1, 158, 0, 0xFF000000, CustomizeBackgroundPainter",
                         "SaveAllPagesState",
                         "GetTrayIconPage",
                         "RemoveTrayIcon throws",
                         "StopVeltrin",
                     }));
}

TEST_F(MainFrmCustomizeTest, TheFramesKeysPictureAndTrayIconAreThePagesOwn) {
    NewFrame();
    frame->LoadWorkspace();
    // The shortcut keys are the page's organizer's, working on this frame.
    EXPECT_EQ(&frame->GetShortkeysOrganizer(), Manager().GetShortkeysOrganizer());
    EXPECT_EQ(frame->GetShortkeysOrganizer().GetFrameWnd(), frame);
    // The MDI client alone is painted, tiled with bitmap 158 over no colour of its own.
    COXBackgroundPainterOrganizer* painters = Manager().GetBackgroundPainterOrganizer();
    EXPECT_FALSE(painters->IsWindowAttached(frame->m_hWnd));
    COXBackgroundPainter* painter = painters->GetPainter(frame->m_hWndMDIClient);
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->GetPaintType(), Tile);
    EXPECT_EQ(painter->GetBkColor(), CLR_DEFAULT);
    BITMAP picture{};
    ::GetObject(LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_MDI_BACKGROUND)), sizeof picture, &picture);
    ASSERT_GT(picture.bmWidth, 0);
    EXPECT_EQ(painter->GetWallpaper().GetSize().cx, picture.bmWidth);
    EXPECT_EQ(painter->GetWallpaper().GetSize().cy, picture.bmHeight);
    // The tray icon shows with the frame's icon and its tooltip.
    COXCustomizeTaskbarIcon* tray = Manager().GetTaskbarIcon();
    EXPECT_TRUE(tray->IsShowing());
    EXPECT_EQ(tray->GetIcon(), LoadIconResource(IDR_VELTRINTYPE));
}

TEST_F(MainFrmCustomizeTest, TheBarsKeepTheirButtonImagesOnceTheKeysPageHasListedThem) {
    NewFrame();
    frame->LoadWorkspace();
    for (COXCoolToolBar* bar : {&frame->GetToolBar(), &frame->GetWindowBar()}) {
        HIMAGELIST images = (HIMAGELIST)bar->SendMessage(TB_GETIMAGELIST, 0, 0);
        ASSERT_TRUE(images);
        for (int i = 0, count = (int)bar->SendMessage(TB_BUTTONCOUNT, 0, 0); i < count; ++i) {
            TBBUTTON b{};
            bar->SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
            if (!(b.fsStyle & TBSTYLE_SEP)) {
                EXPECT_TRUE(user::ImageListImage(images, b.iBitmap)) << "button " << b.idCommand;
            }
        }
    }
}

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

TEST_F(MainFrmCustomizeTest, CustomizeOpensOnTheBackgroundCancelKeepsTheImagesAndOkWritesTheOptions) {
    NewFrame();
    frame->ShowWindow(SW_SHOW);
    frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
    ASSERT_TRUE(::IsWindow(Manager().m_hWnd));
    EXPECT_EQ(Manager().GetActivePage(), Manager().GetBackgroundPage());
    ASSERT_TRUE(Manager().ActivatePage(COMMANDS));

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
    ASSERT_TRUE(Manager().ActivatePage(COMMANDS));
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

TEST_F(MainFrmCustomizeTest, DropsAndADragOffReachTheRegistryFileByteForByteAtTheClose) {
    CustomizeAndClose();

    // "Toolbar": the dropped command first, as text (it has no image), then the resource's buttons
    // with the shared list's images (five tree icons first) up to "About" and its separator, gone.
    struct Button {
        UINT id;
        int image;
        BYTE state, style;
        std::string text;
    };
    std::vector<Button> buttons{{ID_WINDOW_ARRANGE, -1, 0, TBSTYLE_AUTOSIZE, "Arrange Icons"}};
    int image = 5;
    for (UINT id : FindToolbarTemplate(IDR_TOOLBAR)->items)
        buttons.push_back(id ? Button{id, image++, TBSTATE_ENABLED, TBSTYLE_AUTOSIZE, ""}
                             : Button{0, 6, 0, TBSTYLE_SEP, ""});  // a separator keeps its width there
    buttons.resize(buttons.size() - 2);
    std::string settings = Dword((uint32_t)buttons.size()), control = "VTBR" + Word(1) + settings;
    for (const Button& b : buttons) {
        settings += Dword(b.id) + Dword((uint32_t)b.image) + std::string(1, (char)b.style) +
                    Dword(b.text.empty() ? 0 : 1) + Archived(b.text);
        control += Dword((uint32_t)b.image) + Dword(b.id) + std::string{(char)b.state, (char)b.style} +
                   Word((uint16_t)b.text.size()) + b.text;
    }
    EXPECT_EQ(FileValue("Toolbars State", "Toolbar_ID_59392_ButtonsSettings"), settings);
    EXPECT_EQ(FileValue("Toolbars State", "Toolbar_ID_59392_ButtonsSettings_Size"), Dword((uint32_t)settings.size()));
    EXPECT_EQ(FileValue("Toolbars State", "Toolbar_ID_59392"), control);

    // The menu as the resource has it, with the dropped command (the tree's text) under "Open".
    std::vector<MenuItemTemplate> menu = FindMenuTemplate(IDR_VELTRINTYPE)->items;
    menu[0].popup.insert(menu[0].popup.begin() + 1, MenuItemTemplate{"Save Column Layout", ID_SAVE_COLUMN_LAYOUT, 0, {}});
    const std::string items = ArchivedMenu(menu);
    EXPECT_EQ(FileValue("Main_Menu_Default", "MenuItems"), items);
    EXPECT_EQ(FileValue("Main_Menu_Default", "MenuDataSize"), Dword((uint32_t)items.size()));

    // The four commands kept behind the expand item, in the set's order; both options on.
    const std::string hidden = Dword(4) + Dword(57601) + Dword(57606) + Dword(58114) + Dword(58118);
    EXPECT_EQ(FileValue("RecentlyUsedMenuItems", "RUContents"), hidden);
    EXPECT_EQ(FileValue("RecentlyUsedMenuItems", "RUItemsDataSize"), Dword((uint32_t)hidden.size()));
    EXPECT_EQ(FileValue("CustomizeCommands", "ShowIconsInMenu"), Dword(1));
    EXPECT_EQ(FileValue("CustomizeCommands", "ShowOnlyRecentlyUsedMenuItems"), Dword(1));

    // The next start has them all back.
    NewFrame();
    EXPECT_EQ(ButtonsOf(frame->GetToolBar())[0], ID_WINDOW_ARRANGE);
    EXPECT_EQ(TextsOf(::GetSubMenu(frame->GetMenuBar().GetMenuHandle(), 0))[1], "Save Column Layout");
}

TEST_F(MainFrmCustomizeTest, ADamagedSavedStateStartsThatPartAsTheResourceHasItAndChangesNothingElse) {
    NewFrame();
    const std::vector<int> resourceBar = ButtonsOf(frame->GetToolBar());
    const std::vector<std::string> resourceFile = TextsOf(::GetSubMenu(frame->GetMenuBar().GetMenuHandle(), 0));
    frame->DestroyWindow();
    frame = nullptr;
    app.m_pMainWnd = nullptr;
    CustomizeAndClose();
    const std::string saved = TempRegistry::Read(registry.Path());

    struct Case {
        const char* section;
        const char* entry;
        std::vector<BYTE> bytes;
        bool barDamaged, menuDamaged;
    } cases[] = {
        // Cut inside the first button's record.
        {"Toolbars State", "Toolbar_ID_59392", {'V', 'T', 'B', 'R', 1, 0, 12, 0, 0, 0, 5, 0}, true, false},
        // A popup that claims more items than the block holds.
        {"Main_Menu_Default", "MenuItems", {6, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 5, '&', 'F', 'i', 'l', 'e', 0x40, 0, 0, 0}, false, true},
        // A count far beyond the block.
        {"RecentlyUsedMenuItems", "RUContents", {0xFF, 0xFF, 0xFF, 0x7F, 1, 0xE1, 0, 0}, false, false},
    };
    for (const Case& c : cases) {
        TempRegistry::Write(registry.Path(), saved);
        app.WriteProfileBinary(c.section, c.entry, (LPBYTE)c.bytes.data(), (UINT)c.bytes.size());
        const std::string damaged = TempRegistry::Read(registry.Path());
        NewFrame();
        std::vector<int> bar = ButtonsOf(frame->GetToolBar());
        std::vector<std::string> file = TextsOf(::GetSubMenu(frame->GetMenuBar().GetMenuHandle(), 0));
        if (c.barDamaged)
            EXPECT_EQ(bar, resourceBar) << c.entry;
        else
            EXPECT_EQ(bar.front(), ID_WINDOW_ARRANGE) << c.entry;
        if (c.menuDamaged)
            EXPECT_EQ(file, resourceFile) << c.entry;
        else
            EXPECT_EQ(file[1], "Save Column Layout") << c.entry;
        // The commands kept behind the expand item are the start-up ones whatever the file says.
        for (UINT id : {57606u, 57601u, 58118u, 58114u})
            EXPECT_FALSE(frame->GetBitmapMenuOrganizer().IsCommandRecentlyUsed(id)) << c.entry << " " << id;
        EXPECT_TRUE(frame->GetBitmapMenuOrganizer().IsCommandRecentlyUsed(ID_SAVE_COLUMN_LAYOUT)) << c.entry;
        EXPECT_EQ(TempRegistry::Read(registry.Path()), damaged) << c.entry;
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
}

TEST_F(MainFrmCustomizeTest, ACommandOnBothBarsShowsTheFirstBarsImageAndCtrlOReachesTheFrameFromAPage) {
    NewFrame();
    OpenCustomize();
    // "Open" from the tree onto "Window": the image of "Toolbar"'s "Open", now and at the next start.
    COXCoolToolBar &toolbar = frame->GetToolBar(), &windowBar = frame->GetWindowBar();
    Drag(TreeItem("File", "Open..."), OnButton(windowBar, 0, 3));
    ASSERT_EQ(ButtonsOf(windowBar).front(), ID_FILE_OPEN);
    auto imageOf = [](COXCoolToolBar& bar, UINT id) {
        TBBUTTON b{};
        bar.SendMessage(TB_GETBUTTON, (WPARAM)bar.CommandToIndex(id), (LPARAM)&b);
        return b.iBitmap;
    };
    const int image = imageOf(toolbar, ID_FILE_OPEN);
    EXPECT_EQ(imageOf(windowBar, ID_FILE_OPEN), image);

    // Ctrl+O while the commands tree has the focus: the frame's accelerator, the dialog stays.
    ::SetActiveWindow(Manager().m_hWnd);
    ::SetFocus(Page().GetCommandsTree().m_hWnd);
    frame->commands.clear();
    PostKeyInput(WM_KEYDOWN, VK_CONTROL, 1);
    SimulateKey('O');
    PostKeyInput(WM_KEYUP, VK_CONTROL, 1);
    PumpAsProgram();
    EXPECT_EQ(frame->commands, std::vector<UINT>{ID_FILE_OPEN});
    EXPECT_TRUE(::IsWindow(Manager().m_hWnd));

    Manager().SendMessage(WM_COMMAND, IDOK, 0);
    Close();
    NewFrame();
    ASSERT_EQ(ButtonsOf(frame->GetWindowBar()).front(), ID_FILE_OPEN);
    EXPECT_EQ(imageOf(frame->GetWindowBar(), ID_FILE_OPEN), imageOf(frame->GetToolBar(), ID_FILE_OPEN));
    EXPECT_EQ(imageOf(frame->GetToolBar(), ID_FILE_OPEN), image);
}
