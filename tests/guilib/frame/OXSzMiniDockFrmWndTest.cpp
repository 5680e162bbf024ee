// A floating sizing bar: the sizable mini frame's non-client area (its close button, its window menu, its
// sizing border and cursors, the caption drawn and hit-tested by the skin of the current look) and the
// bar's context menu.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "guilib/skins/OXMiniFrameSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/user/Menu.h"
#include "tests/guilib/frame/DockFrameTestSupport.h"

namespace mini_frame_test {
constexpr UINT kBarId = 59522;

// Runs `drive` once from inside the next menu loop, as soon as its popup is open.
std::function<void()> g_drive;
HHOOK g_filter = nullptr;
LRESULT FilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && g_drive && GetTrackedPopupWindow()) {
        auto drive = std::move(g_drive);
        g_drive = nullptr;
        drive();
    }
    return CallNextHookEx(g_filter, code, wParam, lParam);
}

// What the open popup shows: its top-left corner and its item texts (a checked one marked "*").
struct Popup {
    POINT at{-1, -1};
    std::vector<std::string> items;
};
Popup ReadPopup() {
    Popup p;
    RECT r;
    GetWindowRect(GetTrackedPopupWindow(), &r);
    p.at = POINT{r.left, r.top};
    HMENU menu = GetTrackedPopupMenu();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuString(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        bool checked = GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_CHECKED;
        p.items.push_back(std::string(text) + (checked ? "*" : ""));
    }
    return p;
}

// The first point from the right along the caption's middle row where the window answers `hit`.
POINT FindHit(HWND hwnd, LRESULT hit) {
    RECT w;
    GetWindowRect(hwnd, &w);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    int y = (w.top + client.y) / 2;
    for (int x = w.right - 1; x >= w.left; --x)
        if (SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit)
            return POINT{x, y};
    return POINT{-1, -1};
}

class FloatingBarTest : public DockFrameTest {
protected:
    void SetUp() override {
        DockFrameTest::SetUp();
        g_filter = SetWindowsHookEx(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_filter);
        g_filter = nullptr;
        g_drive = nullptr;
        DockFrameTest::TearDown();
        bar.reset();
    }
    // A sizing bar floated in a sizable mini frame at (300, 200), its caption menu settled.
    COXSizableMiniDockFrameWnd* FloatBar(int flags = 0x214) {
        bar = std::make_unique<COXSizeControlBar>(flags);
        RECT r{0, 0, 240, 160};
        EXPECT_TRUE(bar->Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, r, frame, kBarId));
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->FloatControlBar(bar.get(), POINT{300, 200});
        auto* mini = dynamic_cast<COXSizableMiniDockFrameWnd*>(bar->GetParentFrame());
        EXPECT_NE(mini, nullptr);
        if (mini)
            SendMessage(mini->m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
        Pump();
        return mini;
    }
    std::unique_ptr<COXSizeControlBar> bar;
};
}  // namespace mini_frame_test

using mini_frame_test::FloatingBarTest;

TEST_F(FloatingBarTest, TheCloseButtonActsOnlyWhenReleasedOverIt) {
    enum class Outcome { Shown, Hidden, Deleted };
    struct Case {
        const char* name;
        int flags;
        bool releaseOver;
        Outcome outcome;
    } cases[] = {
        {"released over the main frame", 0x214, false, Outcome::Shown},
        {"released over it", 0x214, true, Outcome::Hidden},
        {"released over it, delete on close", 0x214 | SZBAR_DELETE_ON_CLOSE, true, Outcome::Deleted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COXSizableMiniDockFrameWnd* mini = FloatBar(c.flags);
        ASSERT_NE(mini, nullptr);
        HWND miniWnd = mini->m_hWnd, barWnd = bar->m_hWnd;
        POINT close = mini_frame_test::FindHit(miniWnd, HTCLOSE);
        ASSERT_GE(close.x, 0);
        RECT w;
        GetWindowRect(miniWnd, &w);
        POINT away{w.left - 60, w.top + 40};
        POINT release = c.releaseOver ? close : away;
        if (c.outcome == Outcome::Deleted)
            bar.release();  // the frame deletes it
        PostMouseInput(WM_LBUTTONDOWN, close, MK_LBUTTON);
        Pump();  // the mouse is captured from here on
        PostMouseInput(WM_MOUSEMOVE, away, MK_LBUTTON);
        PostMouseInput(WM_MOUSEMOVE, release, MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, release, 0);
        Pump();
        EXPECT_EQ(GetCapture(), nullptr);
        switch (c.outcome) {
            case Outcome::Shown:
                EXPECT_TRUE(IsWindowVisible(barWnd));
                EXPECT_TRUE(IsWindowVisible(miniWnd));
                break;
            case Outcome::Hidden:
                EXPECT_FALSE(IsWindowVisible(barWnd));
                EXPECT_FALSE(IsWindowVisible(miniWnd));
                EXPECT_TRUE(IsWindow(barWnd));
                break;
            case Outcome::Deleted:
                EXPECT_FALSE(IsWindow(barWnd));
                EXPECT_FALSE(IsWindow(miniWnd));
                break;
        }
        if (bar && bar->m_hWnd)
            bar->DestroyWindow();
        bar.reset();
    }
}

TEST_F(FloatingBarTest, TheWindowMenuOpensBelowTheMenuBoxAndUnderTheRightButton) {
    COXSizableMiniDockFrameWnd* mini = FloatBar();
    ASSERT_NE(mini, nullptr);
    const std::vector<std::string> items{"&Move", "&Size", "&Hide"};

    // A press on the menu box: the menu opens at the caption's left end, below it; Escape leaves all.
    mini_frame_test::Popup shown;
    mini_frame_test::g_drive = [&] {
        shown = mini_frame_test::ReadPopup();
        EndMenu();
    };
    PostMessage(mini->m_hWnd, WM_NULL, 0, 0);
    RECT w;
    GetWindowRect(mini->m_hWnd, &w);
    SendMessage(mini->m_hWnd, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(w.left + 4, w.top + 6));
    POINT below{0, 0};
    ClientToScreen(mini->m_hWnd, &below);
    EXPECT_EQ(shown.at.x, below.x);
    EXPECT_EQ(shown.at.y, below.y);
    EXPECT_EQ(shown.items, items);
    EXPECT_TRUE(bar->IsWindowVisible());

    // The right button on the caption: the menu opens under the cursor, and its command is carried out.
    POINT caption = mini_frame_test::FindHit(mini->m_hWnd, HTCAPTION);
    ASSERT_GE(caption.x, 0);
    shown = {};
    mini_frame_test::g_drive = [&] {
        shown = mini_frame_test::ReadPopup();
        SimulateChars("h");
    };
    PostMouseInput(WM_RBUTTONDOWN, caption, MK_RBUTTON);
    PostMessage(mini->m_hWnd, WM_NULL, 0, 0);
    Pump();
    PostMouseInput(WM_RBUTTONUP, caption, 0);
    Pump();
    EXPECT_EQ(shown.at.x, caption.x);
    EXPECT_EQ(shown.at.y, caption.y);
    EXPECT_EQ(shown.items, items);
    EXPECT_FALSE(bar->IsWindowVisible());
}

TEST_F(FloatingBarTest, DraggingTheSizingBorderSetsTheFloatingSizeUnderTheSizingCursors) {
    COXSizableMiniDockFrameWnd* mini = FloatBar();
    ASSERT_NE(mini, nullptr);
    RECT before, client;
    GetWindowRect(mini->m_hWnd, &before);
    POINT edge{before.right - 2, (before.top + before.bottom) / 2};
    ASSERT_EQ(SendMessage(mini->m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
    PostMouseInput(WM_LBUTTONDOWN, edge, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{edge.x + 30, edge.y}, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{edge.x + 60, edge.y}, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, POINT{edge.x + 60, edge.y}, 0);
    Pump();
    RECT after;
    GetWindowRect(mini->m_hWnd, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 60);
    GetClientRect(mini->m_hWnd, &client);
    EXPECT_EQ(bar->m_FloatSize.cx, client.right);
    EXPECT_EQ(bar->m_FloatSize.cy, client.bottom);
    EXPECT_EQ(GetCapture(), nullptr);

    struct Case {
        UINT hit;
        LPCTSTR cursor;
    } cases[] = {{HTTOP, IDC_SIZENS},         {HTBOTTOM, IDC_SIZENS},     {HTTOPRIGHT, IDC_SIZENESW},
                 {HTBOTTOMLEFT, IDC_SIZENESW}, {HTTOPLEFT, IDC_SIZENWSE}, {HTBOTTOMRIGHT, IDC_SIZENWSE},
                 {HTLEFT, IDC_SIZEWE},         {HTRIGHT, IDC_SIZEWE},     {HTCAPTION, IDC_ARROW}};
    for (const Case& c : cases) {
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessage(mini->m_hWnd, WM_SETCURSOR, (WPARAM)mini->m_hWnd, MAKELPARAM(c.hit, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.cursor)) << c.hit;
    }
    // Over a window inside, the frame leaves the cursor to that window.
    SetCursor(nullptr);
    EXPECT_FALSE(SendMessage(mini->m_hWnd, WM_SETCURSOR, (WPARAM)bar->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST(MiniFrameSkinTest, AnOfficeXpCaptionsCloseButtonIsHitAndLitWhereTheSkinDrawsIt) {
    TempRegistry registry;
    COXSkinnedApp app;
    ASSERT_TRUE(app.SetCurrentSkin("Office XP"));
    auto* skin = dynamic_cast<COXSkinXP*>(app.GetCurrentSkin());
    ASSERT_NE(skin, nullptr);
    COXSizeControlBar bar(0x214);
    auto* frame = new COXMDIFrameWndSizeDock;
    ASSERT_TRUE(frame->Create(nullptr, "Dock", WS_OVERLAPPEDWINDOW, RECT{0, 0, 1000, 700}));
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->ShowWindow(SW_SHOW);
    ASSERT_TRUE(bar.Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, RECT{0, 0, 240, 160}, frame,
                           mini_frame_test::kBarId));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&bar, POINT{300, 200});
    HWND mini = bar.GetParentFrame()->m_hWnd;
    Pump();
    RECT w;
    GetWindowRect(mini, &w);
    RECT square = COXMiniFrameSkinXP::GetCloseButtonRect(mini);
    ASSERT_FALSE(IsRectEmpty(&square));
    OffsetRect(&square, w.left, w.top);
    POINT inSquare{(square.left + square.right) / 2, (square.top + square.bottom) / 2};

    // The skin's square answers HTCLOSE; the rest of its caption is caption, wherever the frame's own
    // button would have been.
    EXPECT_EQ(SendMessage(mini, WM_NCHITTEST, 0, MAKELPARAM(inSquare.x, inSquare.y)), HTCLOSE);
    for (int x = w.left + 4; x < square.left; ++x)
        ASSERT_NE(SendMessage(mini, WM_NCHITTEST, 0, MAKELPARAM(x, inSquare.y)), HTCLOSE) << x;

    // Hot while the pointer is over it, plain again when the pointer goes to another window.
    POINT fill{square.left + 1 - w.left, square.top + 1 - w.top};  // inside the frame, clear of the glyph
    PostMouseInput(WM_MOUSEMOVE, inSquare, 0);
    Pump();
    EXPECT_EQ(GetWindowPixel(mini, fill.x, fill.y), skin->GetHotItemColor());
    PostMouseInput(WM_MOUSEMOVE, POINT{w.left - 100, w.top + 50}, 0);
    Pump();
    EXPECT_EQ(GetWindowPixel(mini, fill.x, fill.y), skin->GetEdgeColor());

    // A click on it hides the bar.
    PostMouseInput(WM_LBUTTONDOWN, inSquare, MK_LBUTTON);
    Pump();
    PostMouseInput(WM_LBUTTONUP, inSquare, 0);
    Pump();
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(GetCapture(), nullptr);
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    Pump();
}

TEST_F(FloatingBarTest, AllowingDockingAgainGivesBackTheSidesTheBarHad) {
    bar = std::make_unique<COXSizeControlBar>(0x214);
    ASSERT_TRUE(bar->Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE | CBRS_LEFT, RECT{0, 0, 160, 300}, frame,
                            mini_frame_test::kBarId));
    bar->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM);
    frame->DockControlBar(bar.get(), AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    Pump();
    // A right click on the bar opens its context menu; the second item is chosen with the keys.
    auto chooseSecond = [&] {
        mini_frame_test::Popup shown;
        mini_frame_test::g_drive = [&] {
            shown = mini_frame_test::ReadPopup();
            SimulateKey(VK_DOWN);
            SimulateKey(VK_DOWN);
            SimulateKey(VK_RETURN);
        };
        RECT r;
        GetWindowRect(bar->m_hWnd, &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        PostMouseInput(WM_RBUTTONDOWN, centre, MK_RBUTTON);
        PostMouseInput(WM_RBUTTONUP, centre, 0);
        PostMessage(bar->m_hWnd, WM_NULL, 0, 0);
        Pump();
        return shown.items;
    };
    EXPECT_EQ(chooseSecond(), (std::vector<std::string>{"Float as MDI Window", "Allow docking*", "Hide"}));
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);

    EXPECT_EQ(chooseSecond(), (std::vector<std::string>{"Float as MDI Window", "Allow docking", "Hide"}));
    EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, (DWORD)(CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM));
    // And it docks again where it was.
    bar->m_pDockContext->ToggleDocking();
    EXPECT_FALSE(bar->IsFloating());
    EXPECT_EQ(bar->m_pDockBar, frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
}
