// Tabbed MDI: one tab per visible MDI child with its title and icon, kept current by the timer; clicks
// activate, double clicks maximize and restore; attaching, and the three profile values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/frame/OXTabClientWnd.h"
#include "platform/base/Profile.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {
class TabClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxGetProfile().SetRegistryKey("Test");
        AfxGetProfile().SetProfileName("TabApp");
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Tabs", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 600}));
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (tabs.IsAttached())
            tabs.Detach();
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        AfxGetProfile().SetRegistryKey("");
    }
    HWND AddChild(const char* title) {
        auto* child = new CMDIChildWnd;
        EXPECT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200},
                                  frame));
        return child->m_hWnd;
    }
    void Tick() { SendMessage(tabs.m_tab.m_hWnd, WM_TIMER, COXTabWorkspace::kTimerId, 0); }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (int i = 0; i < tabs.m_tab.GetItemCount(); ++i) {
            char text[64] = {};
            TCITEM item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 63;
            tabs.m_tab.GetItem(i, &item);
            texts.push_back(text);
        }
        return texts;
    }
    LPARAM AtTab(int index) {
        RECT r;
        tabs.m_tab.GetItemRect(index, &r);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HWND Active(BOOL* maximized = nullptr) {
        return (HWND)SendMessage(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)maximized);
    }

    TempRegistry registry;
    CWinApp app{"TabApp"};
    CMDIFrameWnd* frame = nullptr;
    COXTabClientWnd tabs;
};
}  // namespace

TEST_F(TabClientTest, TabsFollowTheChildrenTheirTitlesAndIconsAndDriveActivation) {
    HWND one = AddChild("A&B");
    ASSERT_TRUE(tabs.Attach(frame));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"A&&B"}));
    // New children get their tabs at the end at the next tick.
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    HWND two = AddChild("Two");
    SendMessage(two, WM_SETICON, ICON_SMALL, (LPARAM)icon);
    Tick();
    HWND three = AddChild("Three");
    Tick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"A&&B", "Two", "Three"}));
    TCITEM item{};
    item.mask = TCIF_IMAGE;
    tabs.m_tab.GetItem(1, &item);
    auto& images = tabs.m_tab.m_arrImage;
    ASSERT_GE(item.iImage, 0);
    ASSERT_LT(item.iImage, (int)images.size());
    EXPECT_EQ(images[item.iImage], icon);
    EXPECT_EQ(tabs.m_tab.GetCurSel(), 2);  // the active child's

    // The client lies inside the strip, which covers the frame's client area.
    RECT strip, client, frameClient;
    GetWindowRect(tabs.m_tab.m_hWnd, &strip);
    GetWindowRect(frame->m_hWndMDIClient, &client);
    GetClientRect(frame->m_hWnd, &frameClient);
    EXPECT_EQ(strip.right - strip.left, frameClient.right);
    EXPECT_TRUE(client.left > strip.left && client.right < strip.right && client.bottom < strip.bottom);
    RECT tab;
    tabs.m_tab.GetItemRect(0, &tab);
    MapWindowPoints(tabs.m_tab.m_hWnd, nullptr, reinterpret_cast<POINT*>(&tab), 2);
    EXPECT_LE(tab.bottom, client.top);

    // A title change shows at the next tick; a hidden child loses its tab, shown again it comes last.
    SetWindowText(one, "One");
    ShowWindow(two, SW_HIDE);
    Tick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"One", "Three"}));
    ShowWindow(two, SW_SHOW);
    Tick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"One", "Three", "Two"}));

    // A click activates; a double click maximizes, a second restores.
    SendMessage(tabs.m_tab.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, AtTab(0));
    SendMessage(tabs.m_tab.m_hWnd, WM_LBUTTONUP, 0, AtTab(0));
    EXPECT_EQ(Active(), one);
    BOOL maximized = FALSE;
    SendMessage(tabs.m_tab.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, AtTab(0));
    EXPECT_EQ(Active(&maximized), one);
    EXPECT_TRUE(maximized);
    SendMessage(tabs.m_tab.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, AtTab(0));
    Active(&maximized);
    EXPECT_FALSE(maximized);

    // A destroyed child's tab goes with it.
    SendMessage(frame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)three, 0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"One", "Two"}));
}

TEST_F(TabClientTest, AttachRefusesASecondAttachANonMdiFrameAndATakenClient) {
    auto* plain = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(plain->Create(nullptr, "Plain", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200}));
    EXPECT_FALSE(tabs.Attach(plain));
    EXPECT_FALSE(tabs.IsAttached());
    plain->DestroyWindow();

    CWnd taker;
    ASSERT_TRUE(taker.SubclassWindow(frame->m_hWndMDIClient));
    EXPECT_FALSE(tabs.Attach(frame));
    EXPECT_EQ(CWnd::FromHandlePermanent(frame->m_hWndMDIClient), &taker);
    taker.UnsubclassWindow();

    ASSERT_TRUE(tabs.Attach(frame));
    COXTabClientWnd second;
    EXPECT_FALSE(second.Attach(frame));
    EXPECT_FALSE(tabs.Attach(frame));
    EXPECT_EQ(CWnd::FromHandlePermanent(frame->m_hWndMDIClient), &tabs);
    EXPECT_TRUE(tabs.Detach());
    EXPECT_EQ(CWnd::FromHandlePermanent(frame->m_hWndMDIClient), nullptr);
}

TEST_F(TabClientTest, TheProfileKeepsAttachmentOffsetAndStyleWithDefaultsOneAndHotTrack) {
    const CProfile& profile = AfxGetProfile();
    // Nothing stored: a detached client stays detached (the caller attaches first).
    EXPECT_FALSE(tabs.LoadState("Tabbed"));
    ASSERT_TRUE(tabs.Attach(frame, TCS_BUTTONS));
    EXPECT_TRUE(tabs.LoadState("Tabbed"));
    EXPECT_TRUE(tabs.IsAttached());
    EXPECT_EQ(tabs.m_tab.GetStyle() & (TCS_BUTTONS | TCS_HOTTRACK), (DWORD)TCS_HOTTRACK);
    EXPECT_EQ(tabs.m_tab.m_dwOffset, 1u);

    tabs.m_tab.m_dwOffset = 4;
    tabs.SaveState("Tabbed");
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "IsAttached", 9), 1u);
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "Offset", 9), 4u);
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "Style", 9), tabs.m_tab.GetStyle());
    tabs.m_tab.m_dwOffset = 1;
    EXPECT_TRUE(tabs.LoadState("Tabbed"));
    EXPECT_EQ(tabs.m_tab.m_dwOffset, 4u);
    // The offset is the margin around the client area of the strip.
    RECT window, client;
    GetWindowRect(tabs.m_tab.m_hWnd, &window);
    GetClientRect(tabs.m_tab.m_hWnd, &client);
    EXPECT_EQ(window.right - window.left - client.right, 8);

    tabs.Detach();
    tabs.SaveState("Tabbed");
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "IsAttached", 9), 0u);
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "Offset", 9), 1u);
    EXPECT_EQ(profile.GetProfileInt("Tabbed", "Style", 9), (UINT)TCS_HOTTRACK);
    ASSERT_TRUE(tabs.Attach(frame));
    EXPECT_TRUE(tabs.LoadState("Tabbed"));  // stored detached: detaches
    EXPECT_FALSE(tabs.IsAttached());
}

TEST_F(TabClientTest, TheClientLiesBesideTheTabsOnEverySideTheStyleGives) {
    enum Side { Top, Bottom, Left, Right };
    struct Case {
        const char* name;
        DWORD style;
        Side side;
    } cases[] = {
        {"top tabs", TCS_HOTTRACK, Top},
        {"bottom buttons", TCS_BUTTONS | TCS_BOTTOM, Bottom},
        {"vertical buttons", TCS_BUTTONS | TCS_VERTICAL | TCS_MULTILINE, Left},
        {"vertical buttons on the right", TCS_BUTTONS | TCS_VERTICAL | TCS_MULTILINE | TCS_RIGHT, Right},
    };
    AddChild("First");
    AddChild("Second");
    AddChild("Third");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(tabs.Attach(frame, c.style));
        Pump();
        ASSERT_EQ(tabs.m_tab.GetItemCount(), 3);
        RECT strip, client;
        GetWindowRect(tabs.m_tab.m_hWnd, &strip);
        GetWindowRect(frame->m_hWndMDIClient, &client);
        EXPECT_FALSE(IsRectEmpty(&client));
        // The client shows over the strip, in its own colour and within its sunken edge.
        RedrawWindow(frame->m_hWnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        RECT frameRect;
        GetWindowRect(frame->m_hWnd, &frameRect);
        PixelProbe pixels(frame->m_hWnd);
        int midY = (client.top + client.bottom) / 2 - frameRect.top;
        EXPECT_EQ(pixels.At(client.right - 20 - frameRect.left, midY), GetSysColor(COLOR_APPWORKSPACE));
        EXPECT_EQ(pixels.At(client.left - frameRect.left, midY), GetSysColor(COLOR_BTNSHADOW));
        RECT inStrip;
        EXPECT_TRUE(IntersectRect(&inStrip, &client, &strip) && EqualRect(&inStrip, &client))
            << "client " << client.left << "," << client.top << " " << client.right << "," << client.bottom;
        for (int i = 0; i < 3; ++i) {
            RECT tab, overlap;
            tabs.m_tab.GetItemRect(i, &tab);
            MapWindowPoints(tabs.m_tab.m_hWnd, nullptr, reinterpret_cast<POINT*>(&tab), 2);
            EXPECT_FALSE(IntersectRect(&overlap, &tab, &client)) << "tab " << i;
            switch (c.side) {
                case Top: EXPECT_LE(tab.bottom, client.top); break;
                case Bottom: EXPECT_GE(tab.top, client.bottom); break;
                case Left: EXPECT_LE(tab.right, client.left); break;
                case Right: EXPECT_GE(tab.left, client.right); break;
            }
        }
        tabs.Detach();
    }
}
