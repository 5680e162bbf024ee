// The menu-bar host: the frame's menu moves into the bar, keys reach the bar through the thread's
// keyboard hook, and the hooks live as long as a host does.
#include <gtest/gtest.h>

#include "guilib/frame/OXMenuBarHost.h"
#include "platform/base/Profile.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
const MenuTemplate kMenu{700,
                         {{"&File", 0, MF_POPUP, {{"&New", 100, 0, {}}}},
                          {"&Edit", 0, MF_POPUP, {{"&Undo", 101, 0, {}}}},
                          {"&Help", 0, MF_POPUP, {{"&About", 102, 0, {}}}}}};

class Resources : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override { return id == 700 ? &kMenu : nullptr; }
};

class CHostFrame : public COXMenuBarHost<CFrameWnd> {};

class MenuBarHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        AfxGetProfile().SetRegistryKey("Tests");
        AfxGetProfile().SetProfileName("Host");
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        RemoveResourceModule(&resources);
    }
    CHostFrame* Make(bool withMenu) {
        auto* frame = new CHostFrame;
        EXPECT_TRUE(frame->Create(nullptr, "Host", WS_OVERLAPPEDWINDOW, RECT{0, 0, 500, 300}, nullptr,
                                  withMenu ? MAKEINTRESOURCE(700) : nullptr));
        return frame;
    }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"HostApp"};
};
}  // namespace

TEST_F(MenuBarHostTest, TheFramesMenuMovesIntoTheBar) {
    CHostFrame* frame = Make(true);
    EXPECT_EQ(app.m_pMainWnd, frame);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    COXMenuBar& bar = frame->GetMenuBar();
    ASSERT_TRUE(bar.m_hWnd);
    EXPECT_EQ(bar.GetMenuHandle(), frame->GetSavedMenu());
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 3);
    ASSERT_TRUE(frame->GetMenu());
    EXPECT_EQ(frame->GetMenu()->m_hMenu, bar.GetMenuHandle());
    EXPECT_EQ(COXMenuBarHostBase::FindHost(frame->m_hWnd), frame);
    EXPECT_TRUE(COXMenuBarHostBase::HooksInstalled());

    // A menu-changed message from the organizer marks the bar's menu for saving.
    SendMessage(frame->m_hWnd, WM_OX_RECENTLY_USED_CHANGED, 0, 0);
    HMENU menu = bar.GetMenuHandle();
    frame->DestroyWindow();
    EXPECT_FALSE(COXMenuBarHostBase::HooksInstalled());
    EXPECT_EQ(COXMenuBarHostBase::FindHost(nullptr), nullptr);
    DestroyMenu(menu);
}

TEST_F(MenuBarHostTest, AFrameWithoutAMenuHasAHiddenBarUntilItGetsOne) {
    CHostFrame* frame = Make(false);
    COXMenuBar& bar = frame->GetMenuBar();
    ASSERT_TRUE(bar.m_hWnd);
    EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(frame->GetMenu(), nullptr);
    CMenu menu;
    menu.LoadMenu(700);
    EXPECT_TRUE(frame->SetMenu(&menu));
    EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 3);

    // Two hosts, one pair of hooks; they go with the last host.
    CHostFrame* second = Make(false);
    EXPECT_TRUE(COXMenuBarHostBase::HooksInstalled());
    second->DestroyWindow();
    EXPECT_TRUE(COXMenuBarHostBase::HooksInstalled());
    frame->DestroyWindow();
    EXPECT_FALSE(COXMenuBarHostBase::HooksInstalled());
}

TEST_F(MenuBarHostTest, AltAloneTogglesKeyboardModeAndAltF4IsNeverTaken) {
    CHostFrame* frame = Make(true);
    frame->ShowWindow(SW_SHOW);
    ::SetActiveWindow(frame->m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), frame->m_hWnd);
    COXMenuBar& bar = frame->GetMenuBar();
    EXPECT_TRUE(frame->HandleKeyboardHook(0, VK_MENU, 0x00380001));
    EXPECT_FALSE(bar.IsKeyboardMode());
    EXPECT_TRUE(frame->HandleKeyboardHook(0, VK_MENU, (LPARAM)0xC0380001));
    EXPECT_TRUE(bar.IsKeyboardMode());
    EXPECT_FALSE(frame->HandleKeyboardHook(0, VK_F4, 0x003E0001));
    EXPECT_TRUE(frame->HandleKeyboardHook(0, VK_RIGHT, 0x014D0001));
    EXPECT_EQ(bar.GetToolBarCtrl().GetHotItem(), 1);
    EXPECT_TRUE(frame->HandleKeyboardHook(0, VK_ESCAPE, 0x00010001));
    EXPECT_FALSE(bar.IsKeyboardMode());
    // Alt down, another key, Alt up: no keyboard mode.
    EXPECT_TRUE(frame->HandleKeyboardHook(0, VK_MENU, 0x00380001));
    frame->HandleKeyboardHook(0, 'X', 0x002D0001);
    EXPECT_FALSE(frame->HandleKeyboardHook(0, VK_MENU, (LPARAM)0xC0380001) && bar.IsKeyboardMode());
    HMENU menu = bar.GetMenuHandle();
    frame->DestroyWindow();
    DestroyMenu(menu);
}
