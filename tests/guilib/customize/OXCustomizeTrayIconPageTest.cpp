// The tray icon page over the platform's notification icons: its defaults, the icon from a source file
// with its fallbacks, showing and hiding with Apply and Cancel, and the context menu opened by the chosen
// mouse button with every item while the menus show only recent ones.
#include <gtest/gtest.h>

#include <fstream>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/customize/OXCustomizeTrayIconPage.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/base/Process.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Menu.h"
#include "platform/user/Shell.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace tray_page_test {
constexpr const char* kSection = "CustomizeTrayIcon";
constexpr UINT IDR_TRAY_MENU = 940;

class Resources : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override {
        static const MenuTemplate menu{
            IDR_TRAY_MENU,
            {{"Tray", 0, MF_POPUP, {{"Open", 0xE101, 0, {}}, {"Find", 0xE102, 0, {}}, {"Exit", 0xE141, 0, {}}}},
             {"Other", 0, MF_POPUP, {{"Unused", 0xE103, 0, {}}}}}};
        return id == IDR_TRAY_MENU ? &menu : nullptr;
    }
};

// An icon file of one 32 x 32 image, 24-bit with a mask whose left half is transparent.
std::string IconFile(const std::string& path) {
    std::string b;
    auto u16 = [&](int v) { b += (char)(v & 0xFF), b += (char)(v >> 8 & 0xFF); };
    auto u32 = [&](uint32_t v) { u16((int)(v & 0xFFFF)), u16((int)(v >> 16)); };
    const int size = 32, stride = size * 3, maskStride = 4;
    const uint32_t image = 40 + stride * size + maskStride * size;
    u16(0), u16(1), u16(1);
    b += (char)size, b += (char)size, b += '\0', b += '\0';
    u16(1), u16(24), u32(image), u32(22);
    u32(40), u32(size), u32(size * 2), u16(1), u16(24), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
    for (int i = 0; i < size * size; ++i)
        b += '\x20', b += '\x80', b += '\xF0';  // blue, green, red
    for (int y = 0; y < size; ++y)
        b += '\xFF', b += '\xFF', b += '\0', b += '\0';
    std::ofstream(path, std::ios::binary) << b;
    return path;
}

std::string ModulePath() {
    char path[261] = {};
    ::GetModuleFileName(nullptr, path, 260);
    return path;
}

class TestTrayPage : public COXCustomizeTrayIconPage {
public:
    void TrackContextMenu(CMenu* pPopup, POINT, CWnd* pOwner) override {
        tracked.push_back(pPopup->GetMenuItemCount());
        owner = pOwner;
        COXBitmapMenuOrganizer* organizer =
            pOwner ? COXBitmapMenuOrganizer::FindOrganizer(pOwner->m_hWnd) : nullptr;
        recentOnlyWhileTracking = organizer && organizer->GetShowOnlyRecentlyUsed();
    }
    std::vector<int> tracked;
    CWnd* owner = nullptr;
    bool recentOnlyWhileTracking = true;
};

class TrayPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        ASSERT_TRUE(manager.Open(frame));
        defaultIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        RemoveResourceModule(&resources);
    }
    BOOL Setup(LPCTSTR tooltip = "Tooltip") {
        return page->SetupPage(defaultIcon, IDR_TRAY_MENU, tooltip, TRUE, TRUE, nullptr, kSection);
    }
    HWND IconWnd() { return page->GetTaskbarIcon()->m_hWnd; }
    bool Shown(NOTIFYICONDATA* data = nullptr) {
        NOTIFYICONDATA d{};
        bool found = FindNotifyIcon(IconWnd(), 0, &d);
        if (data)
            *data = d;
        return found;
    }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }

    Resources resources;
    TempRegistry registry;
    TempFolder folder{"tray-page"};
    CWinApp app{"TrayPageApp"};
    CFrameWnd* frame = nullptr;
    PageTestManager manager;
    HICON defaultIcon = nullptr;
    std::unique_ptr<TestTrayPage> page = std::make_unique<TestTrayPage>();
};

TEST_F(TrayPageTest, WithNothingStoredTheDefaultIconShowsWithItsTooltipAndACutLongOne) {
    ASSERT_TRUE(Setup());
    NOTIFYICONDATA data{};
    ASSERT_TRUE(Shown(&data));
    EXPECT_STREQ(data.szTip, "Tooltip");
    EXPECT_EQ(data.hIcon, defaultIcon);
    char path[261] = {};
    ::GetModuleFileName(nullptr, path, 260);
    EXPECT_EQ(page->m_sIconSourceFileName, path);
    EXPECT_EQ(page->GetClickChoice(), 1);
    EXPECT_EQ(page->m_nIconIndex, -1);

    std::string longTip(200, 'x');
    ASSERT_TRUE(Setup(longTip.c_str()));
    ASSERT_TRUE(Shown(&data));
    EXPECT_EQ(std::string(data.szTip), longTip.substr(0, 127));
    page->RemoveTrayIcon();
    EXPECT_FALSE(Shown());
}

TEST_F(TrayPageTest, AnIndexWithoutAnIconFallsBackToTheDefaultIcon) {
    std::string ico = IconFile(folder.Path() + "/one.ico");
    EXPECT_EQ((uintptr_t)::ExtractIcon(nullptr, ico.c_str(), (UINT)-1), 1u);
    struct Case {
        std::string file;
        int index;
        bool extracted;
    } cases[] = {{ico, 0, true}, {ico, 1, false}, {ico, -1, false}, {ico, -7, false},
                 {folder.Path() + "/missing.ico", 0, false}, {ModulePath(), 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + std::to_string(c.index));
        app.WriteProfileInt(kSection, "UseDefaultIcon", 0);
        app.WriteProfileString(kSection, "TrayIconSourceFileName", c.file.c_str());
        app.WriteProfileInt(kSection, "IconIndexFromSourceFile", c.index);
        ASSERT_TRUE(Setup());
        NOTIFYICONDATA data{};
        ASSERT_TRUE(Shown(&data));
        EXPECT_EQ(data.hIcon != defaultIcon, c.extracted);
        EXPECT_EQ(page->m_bUseDefaultIcon, !c.extracted);
        EXPECT_EQ(page->m_nIconSourceChoice, c.extracted ? 1 : 0);
        EXPECT_EQ(page->m_nIconIndex, c.extracted ? c.index : -1);
    }
    // The page lists the file's one icon, selected.
    app.WriteProfileInt(kSection, "UseDefaultIcon", 0);
    app.WriteProfileString(kSection, "TrayIconSourceFileName", ico.c_str());
    app.WriteProfileInt(kSection, "IconIndexFromSourceFile", 0);
    ASSERT_TRUE(Setup());
    ASSERT_TRUE(page->ShowInManager(&manager));
    HWND list = Item(IDC_OX_LIST_ICONS);
    EXPECT_TRUE(::IsWindowEnabled(list));
    EXPECT_EQ(::SendMessage(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessage(list, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(TrayPageTest, ApplyHidesTheIconAndCancelShowsItAgainAsStored) {
    ASSERT_TRUE(Setup());
    ASSERT_TRUE(page->ShowInManager(&manager));
    EXPECT_EQ(::IsDlgButtonChecked(page->m_hWnd, IDC_OX_RADIO_RIGHT_CLICK), BST_CHECKED);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_LIST_ICONS)));
    ::SetWindowText(Item(IDC_OX_EDIT_TOOLTIP), "Veltrin");
    ASSERT_TRUE(page->OnManagerClose(TRUE));
    EXPECT_EQ(app.GetProfileString(kSection, "TrayIconTooltip"), "Veltrin");
    EXPECT_EQ(app.GetProfileInt(kSection, "ShowTrayIcon", 7), 1u);
    EXPECT_EQ(app.GetProfileInt(kSection, "IconIndexFromSourceFile", 7), (UINT)-1);

    Click(IDC_OX_CHECK_SHOW_TRAY_ICON);
    ::SetWindowText(Item(IDC_OX_EDIT_TOOLTIP), "Changed");
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_FALSE(Shown());
    ASSERT_TRUE(page->OnManagerClose(FALSE));
    NOTIFYICONDATA data{};
    ASSERT_TRUE(Shown(&data));
    EXPECT_STREQ(data.szTip, "Veltrin");
}

TEST_F(TrayPageTest, TheChosenButtonOpensTheFirstPopupWithEveryItem) {
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(frame));
    organizer.SetShowOnlyRecentlyUsed(TRUE);
    struct Case {
        int storedRightClick;
        UINT opening, other;
    } cases[] = {{1, WM_RBUTTONUP, WM_LBUTTONUP}, {0, WM_LBUTTONUP, WM_RBUTTONUP}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedRightClick);
        page = std::make_unique<TestTrayPage>();
        app.WriteProfileInt(kSection, "UseRightClick", c.storedRightClick);
        ASSERT_TRUE(Setup());
        ASSERT_TRUE(SimulateNotifyIconMouse(IconWnd(), 0, c.other));
        Pump();
        EXPECT_TRUE(page->tracked.empty());
        ASSERT_TRUE(SimulateNotifyIconMouse(IconWnd(), 0, c.opening));
        Pump();
        ASSERT_EQ(page->tracked, std::vector<int>{3});
        EXPECT_EQ(page->owner, frame);
        EXPECT_FALSE(page->recentOnlyWhileTracking);
        EXPECT_TRUE(organizer.GetShowOnlyRecentlyUsed());
    }
}
}  // namespace tray_page_test
