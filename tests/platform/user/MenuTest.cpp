#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/user/Menu.h"
#include "platform/user/Resources.h"

namespace {
const MenuTemplate kMenu{
    700,
    {{"Popup",
      0,
      MF_POPUP,
      {{"&Hex", 701, 0, {}}, {nullptr, 0, 0, {}}, {"Text", 702, MF_GRAYED, {}}, {"Other", 703, 0, {}}}}}};

class MenuModule : public ResourceModule {
public:
    const MenuTemplate* FindMenu(UINT id) const override { return id == kMenu.id ? &kMenu : nullptr; }
};

std::function<void()> g_drive;
std::vector<int> g_filterCodes;
HHOOK g_filter = nullptr;

LRESULT FilterHook(int code, WPARAM wp, LPARAM lp) {
    g_filterCodes.push_back(code);
    if (g_drive) {
        auto drive = g_drive;
        g_drive = nullptr;
        drive();
    }
    return CallNextHookEx(g_filter, code, wp, lp);
}

std::vector<UINT> g_ownerMessages;
LRESULT OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERMENULOOP || msg == WM_INITMENUPOPUP || msg == WM_EXITMENULOOP || msg == WM_COMMAND)
        g_ownerMessages.push_back(msg == WM_COMMAND ? 0x10000 + LOWORD(wp) : msg);
    return DefWindowProc(h, msg, wp, lp);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&module);
        WNDCLASS wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "MenuOwner";
        RegisterClass(&wc);
        owner = CreateWindowEx(0, "MenuOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
        g_filter = SetWindowsHookEx(WH_MSGFILTER, FilterHook, nullptr, 0);
        g_filterCodes.clear();
        g_ownerMessages.clear();
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_filter);
        DestroyWindow(owner);
        RemoveResourceModule(&module);
    }
    // Tracks the popup; `drive` runs inside its loop once the first message arrives.
    BOOL Track(HMENU popup, UINT flags, std::function<void()> drive) {
        g_drive = std::move(drive);
        PostMessage(owner, WM_NULL, 0, 0);
        return TrackPopupMenu(popup, flags, 50, 40, 0, owner, nullptr);
    }
    static void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
    }
    MenuModule module;
    HWND owner = nullptr;
};
}  // namespace

TEST_F(MenuTest, LoadedMenuHasItsItemsAndStates) {
    HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(700));
    ASSERT_TRUE(menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_TRUE(popup);
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(GetMenuItemID(popup, 3), 703u);
    EXPECT_EQ(GetMenuState(popup, 702, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(menu, 702, MF_ENABLED), (UINT)MF_GRAYED);  // found through the sub-menu
    EXPECT_EQ(GetMenuState(popup, 702, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(EnableMenuItem(popup, 999, MF_GRAYED), (UINT)-1);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(MenuTest, ClickChoosesAnItemAndPostsItsCommand) {
    HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(700));
    HMENU popup = GetSubMenu(menu, 0);
    // Item rows: 2..22 "Hex", separator, "Text", "Other".
    int otherY = 2 + 2 * MenuItemHeight(false) + MenuItemHeight(true) + 5;
    BOOL result = Track(popup, TPM_RIGHTBUTTON, [&] { SimulateClick(GetTrackedPopupWindow(), 20, otherY); });
    EXPECT_TRUE(result);
    EXPECT_FALSE(g_filterCodes.empty());
    EXPECT_EQ(g_filterCodes[0], MSGF_MENU);
    EXPECT_EQ(GetTrackedPopupWindow(), nullptr);
    Pump();
    EXPECT_EQ(g_ownerMessages,
              (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP, 0x10000 + 703}));
    DestroyMenu(menu);
}

TEST_F(MenuTest, KeysSkipDisabledItemsAndEscapeCancels) {
    HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCE(700));
    HMENU popup = GetSubMenu(menu, 0);
    // Down twice: "Hex", then past the separator and the grayed "Text" to "Other".
    UINT chosen = (UINT)Track(popup, TPM_RETURNCMD, [] {
        SimulateKey(VK_DOWN);
        SimulateKey(VK_DOWN);
        SimulateKey(VK_RETURN);
    });
    EXPECT_EQ(chosen, 703u);
    EXPECT_EQ(Track(popup, TPM_RETURNCMD, [] { SimulateKey(VK_ESCAPE); }), 0);
    // A click on a grayed item chooses nothing; a click outside then dismisses the menu.
    int textY = 2 + MenuItemHeight(false) + MenuItemHeight(true) + 5;
    EXPECT_EQ(Track(popup, TPM_RETURNCMD,
                    [&] {
                        SimulateClick(GetTrackedPopupWindow(), 20, textY);
                        SimulateClick(owner, 5, 5);
                    }),
              0);
    Pump();
    for (UINT m : g_ownerMessages)
        EXPECT_LT(m, 0x10000u);  // no command posted with TPM_RETURNCMD
    DestroyMenu(menu);
}
