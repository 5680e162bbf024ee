// Veltrin's frame in each look with its File popup open, as a user sees it: the frame, the open
// menu-bar item's window and the popup composed from the screen, written as PNG and checked at pixels
// computed from the bar's button and the popup's items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/user/DesktopDC.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace main_frame_looks_test {

const ResourceModule* const kModules[] = {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(),
                                          &VeltrinPadResources()};

HWND OpenPopupWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM out) -> BOOL {
            char name[16] = {};
            GetClassName(h, name, sizeof name);
            if (std::string(name) != WC_MENU || !IsWindowVisible(h))
                return TRUE;
            *reinterpret_cast<HWND*>(out) = h;
            return FALSE;
        },
        (LPARAM)&found);
    return found;
}

// The rows of the popup that show item `index` (screen coordinates), found by hit-testing the popup
// down its middle; its right edge is found along the first of those rows.
RECT ItemRect(HMENU menu, const RECT& popup, int index) {
    RECT r{0, 0, 0, 0};
    int x = (popup.left + popup.right) / 2;
    for (int y = popup.top; y < popup.bottom; ++y) {
        if (MenuItemFromPoint(nullptr, menu, POINT{x, y}) != index)
            continue;
        if (r.bottom == 0)
            r.top = y;
        r.bottom = y + 1;
    }
    r.left = r.right = x;
    while (r.left > popup.left && MenuItemFromPoint(nullptr, menu, POINT{r.left - 1, r.top}) == index)
        --r.left;
    while (r.right < popup.right && MenuItemFromPoint(nullptr, menu, POINT{r.right, r.top}) == index)
        ++r.right;
    return r;
}

// The first item of the popup whose state has `flag`, or -1.
int ItemWith(HMENU menu, UINT flag) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & flag)
            return i;
    return -1;
}

// Steps run while the popup's loop idles (WM_ENTERIDLE to its owner, the frame), one per idle time.
std::vector<std::function<void()>> g_idleSteps;
size_t g_nextStep = 0;
WNDPROC g_frameProc = nullptr;
LRESULT IdleStepsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && g_nextStep < g_idleSteps.size())
        g_idleSteps[g_nextStep++]();
    return CallWindowProc(g_frameProc, hwnd, message, wParam, lParam);
}

// What the steps inside the popup's loop saw.
struct Seen {
    RECT button{}, popup{}, selected{}, separator{};
    COLORREF buttonEdgeLeft = 0, buttonEdgeRight = 0, selectedFill = 0;
    bool buttonText = false, separatorLine = false;
    std::string shot;
};

class MainFrameLooks : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        for (const ResourceModule* m : kModules)
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.LoadStdProfileSettings(4);
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        m_previousEnd = g_endVeltrinProcess;
        g_endVeltrinProcess = [](int) {};
        ASSERT_TRUE(app.SetCurrentSkin(GetParam()));
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = frame;
        frame->SetWindowPos(nullptr, 10, 10, 640, 440, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        Pump();
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        g_endVeltrinProcess = m_previousEnd;
        for (const ResourceModule* m : kModules)
            RemoveResourceModule(m);
    }

    TempRegistry registry;
    COXSkinnedApp app;
    MessageBoxRecorder boxes;
    CMainFrame* frame = nullptr;
    std::function<void(int)> m_previousEnd;
};

TEST_P(MainFrameLooks, FilePopupShowsThePressedButtonTheSelectedItemAndAnEtchedSeparator) {
    COXMenuBar& bar = frame->GetMenuBar();
    HMENU file = GetSubMenu(bar.GetMenuHandle(), 0);
    ASSERT_TRUE(file);
    const std::string look = GetParam();
    Seen seen;
    // In the loop, once an item is selected: the screen as a user sees it.
    auto inspect = [&] {
        HWND popup = OpenPopupWindow();
        ASSERT_TRUE(popup) << "no popup open";
        UpdateWindow(bar.m_hWnd);
        bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&seen.button);
        MapWindowPoints(bar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&seen.button), 2);
        GetWindowRect(popup, &seen.popup);
        seen.selected = ItemRect(file, seen.popup, ItemWith(file, MF_HILITE));
        seen.separator = ItemRect(file, seen.popup, ItemWith(file, MF_SEPARATOR));
        HDC screen = user::CreateDesktopSnapshotDC();
        ASSERT_TRUE(screen);
        const RECT& b = seen.button;
        const int mid = (b.top + b.bottom) / 2;
        seen.buttonEdgeLeft = GetPixel(screen, b.left, mid);
        seen.buttonEdgeRight = GetPixel(screen, b.right - 1, mid);
        // Text: ink well apart from the face the button shows inside its edges.
        const COLORREF face = GetPixel(screen, b.left + 3, b.top + 3);
        auto distance = [](COLORREF a, COLORREF c) {
            return std::abs(GetRValue(a) - GetRValue(c)) + std::abs(GetGValue(a) - GetGValue(c)) +
                   std::abs(GetBValue(a) - GetBValue(c));
        };
        for (int y = b.top + 3; y < b.bottom - 3 && !seen.buttonText; ++y)
            for (int x = b.left + 3; x < b.right - 3 && !seen.buttonText; ++x)
                seen.buttonText = distance(GetPixel(screen, x, y), face) > 150;
        seen.selectedFill = GetPixel(screen, seen.selected.right - 5, seen.selected.top + 2);
        // The separator's line: a shadow row (with a highlight row under it in Classic).
        auto* xp = dynamic_cast<COXSkinXP*>(app.GetCurrentSkin());
        const int x = seen.separator.right - 8;
        for (int y = seen.separator.top; y < seen.separator.bottom && !seen.separatorLine; ++y) {
            COLORREF c = GetPixel(screen, x, y);
            seen.separatorLine = xp ? c == xp->GetLightShadowColor()
                                    : c == GetSysColor(COLOR_BTNSHADOW) &&
                                          GetPixel(screen, x, y + 1) == GetSysColor(COLOR_BTNHIGHLIGHT);
        }
        RECT frameRect{};
        GetWindowRect(frame->m_hWnd, &frameRect);
        seen.shot = WriteScreenAreaShot(screen, frameRect, SpacesToUnderscores("VeltrinFilePopup_" + look));
        DeleteDC(screen);
    };
    g_idleSteps = {[] { SimulateKey(VK_DOWN); }, [&] {
                       inspect();
                       EndMenu();
                   }};
    g_nextStep = 0;
    g_frameProc = (WNDPROC)SetWindowLongPtr(frame->m_hWnd, GWLP_WNDPROC, (LONG_PTR)IdleStepsProc);
    bar.TrackMenu(0);
    SetWindowLongPtr(frame->m_hWnd, GWLP_WNDPROC, (LONG_PTR)g_frameProc);
    g_idleSteps.clear();

    EXPECT_FALSE(seen.shot.empty()) << "no picture written";
    EXPECT_TRUE(seen.buttonText) << "the open File button shows no text";
    ASSERT_GT(seen.selected.bottom, seen.selected.top) << "no item selected";
    ASSERT_GT(seen.separator.bottom, seen.separator.top) << "no separator shown";
    EXPECT_TRUE(seen.separatorLine);
    if (look == "Classic") {
        // Pressed in: dark on the left, light on the right; the selection in the highlight colour.
        EXPECT_EQ(seen.buttonEdgeLeft, GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(seen.buttonEdgeRight, GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(seen.selectedFill, GetSysColor(COLOR_HIGHLIGHT));
    } else {
        // Outlined on both sides by the open item's window; the selection in the look's hot colour.
        auto* xp = dynamic_cast<COXSkinXP*>(app.GetCurrentSkin());
        ASSERT_TRUE(xp);
        EXPECT_EQ(seen.buttonEdgeLeft, GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(seen.buttonEdgeRight, GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(seen.selectedFill, xp->GetHotItemColor());
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, MainFrameLooks, ::testing::Values("Classic", "Office XP", "Office 2003"),
                         [](const auto& info) { return SpacesToUnderscores(info.param); });

}  // namespace main_frame_looks_test
