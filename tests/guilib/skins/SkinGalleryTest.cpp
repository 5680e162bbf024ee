// A gallery window drawn in each look: a tool bar on the platform's tool bar control, dock-bar
// splitters and a menu shadow over white; each look is written as a PNG and checked at computed pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/user/Modules.h"
#include "tests/guilib/skins/SkinTestSupport.h"
#include "tests/support/Gui.h"

namespace {

// The gallery's tool bar: plain colours, a drop-down arrow, docked at the top.
class GalleryBar : public COXCoolToolBarView {
public:
    HWND hwnd = nullptr;
    HWND GetBarHwnd() const override { return hwnd; }
    UINT GetBarId() const override { return 1; }
    DWORD GetBarStyle() const override { return CBRS_ALIGN_TOP; }
    BOOL HasDockContext() const override { return TRUE; }
    int GetCustomizedButton() const override { return -1; }
    BOOL IsCustomButton(int) const override { return FALSE; }
    BOOL IsCool() const override { return TRUE; }
    BOOL HasSeparatorFlag() const override { return TRUE; }
    BOOL IsDropDownArrow() const override { return TRUE; }
    COLORREF GetCustomColor(OXToolbarState, OXToolbarColorPart) const override { return CLR_DEFAULT; }
    DWORD GetComCtlVersion() const override { return 0x50052; }
    BOOL IsMenuBar() const override { return FALSE; }
    int GetDroppedCommand() const override { return -1; }
    void ResetDroppedCommand() override {}
    CString GetMenuItemText(int) const override { return CString(); }
    HWND GetBandReferenceWindow() const override { return ::GetParent(hwnd); }
    void DrawBorders(CDC*, RECT&) override {}
    void DrawSeparator(CDC* dc, RECT& rect) override { skin->DrawSeparator(dc, rect, this); }
    void DrawCustomizedButton(CDC*, RECT&) override {}
    LRESULT Default() override { return 0; }
    COXToolbarSkin* skin = nullptr;
};

GalleryBar* g_bar = nullptr;

LRESULT GalleryProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && g_bar && reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW &&
        reinterpret_cast<NMHDR*>(lParam)->hwndFrom == g_bar->hwnd) {
        LRESULT result = CDRF_DODEFAULT;
        g_bar->skin->OnCustomDraw(reinterpret_cast<NMHDR*>(lParam), &result, g_bar);
        return result;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

constexpr int kHot = 101;
RECT g_splitter{100, 60, 106, 140};
POINT g_shadowAt{200, 60};

class SkinGallery : public SystemColourTable, public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        RegisterTestWindowClass("SkinGallery", GalleryProc, COLOR_BTNFACE);
        std::string look = GetParam();
        if (look == "Office 2003 themed") {
            SetThemeActiveForTest(TRUE);
            SetThemeSysColorForTest(COLOR_HIGHLIGHT, RGB(49, 106, 197));
            look = "Office 2003";
        }
        app = std::make_unique<COXSkinnedApp>();
        ASSERT_TRUE(app->SetCurrentSkin(look.c_str()));
        window = CreateWindowEx(0, "SkinGallery", "gallery", WS_POPUP | WS_VISIBLE, 0, 0, 320, 180, nullptr, nullptr,
                                nullptr, nullptr);
        bar.skin = app->GetCurrentSkin()->GetToolbarSkin();
        bar.hwnd = CreateWindowEx(0, TOOLBARCLASSNAME, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 320, 30,
                                  window, (HMENU)1, nullptr, nullptr);
        ::SendMessage(bar.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[] = {
            {-1, 100, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {-1, kHot, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {-1, 102, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 0},
            {-1, 103, TBSTATE_ENABLED | TBSTATE_PRESSED, TBSTYLE_BUTTON, {}, 0, 0},
            {-1, 104, 0, TBSTYLE_BUTTON, {}, 0, 0},
            {8, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
            {-1, 105, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, {}, 0, 0},
        };
        ::SendMessage(bar.hwnd, TB_ADDBUTTONS, 7, (LPARAM)buttons);
        ::SendMessage(bar.hwnd, TB_SETHOTITEM, 1, 0);
        g_bar = &bar;
        Pump();
        RedrawWindow(bar.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

        // The rest is drawn straight onto the gallery.
        CClientDC dc(CWnd::FromHandle(window));
        OXSplitter splitter{g_splitter, 1};
        app->GetCurrentSkin()->GetDockbarSkin()->DrawSplitter(&dc, splitter, nullptr);
        dc.FillSolidRect(g_shadowAt.x, g_shadowAt.y, 60, 60, RGB(255, 255, 255));
        dc.SetViewportOrg(g_shadowAt.x, g_shadowAt.y);
        COXMenuSkinXP::DrawShadow(&dc, 60, 60, 0);
        dc.SetViewportOrg(0, 0);
    }
    void TearDown() override {
        std::string name = std::string("SkinGallery_") + GetParam();
        for (char& c : name)
            if (c == ' ')
                c = '_';
        WriteScreenshot(window, name);
        g_bar = nullptr;
        DestroyWindow(window);
        app.reset();
        ResetModulesForTest();
    }
    RECT Item(int index) {
        RECT r{};
        ::SendMessage(bar.hwnd, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&r);
        return r;
    }

    std::unique_ptr<COXSkinnedApp> app;
    HWND window = nullptr;
    GalleryBar bar;
};

TEST_P(SkinGallery, ShowsTheLooksColoursAtComputedPixels) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT hot = Item(1), separator = Item(5);
    int mid = (separator.left + separator.right) / 2;
    if (look == "Classic") {
        EXPECT_EQ(probe.At(mid - 1, 15), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(probe.At(mid, 15), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(probe.At(g_splitter.left + 1, 100), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(probe.At(g_splitter.left + 2, 100), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(probe.At(g_splitter.right - 2, 100), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(probe.At(g_splitter.right - 1, 100), GetSysColor(COLOR_WINDOWFRAME));
    } else if (look == "Office XP") {
        EXPECT_EQ(probe.At(hot.left + 4, hot.top + 3), RGB(181, 189, 210));
        EXPECT_EQ(probe.At(hot.left, (hot.top + hot.bottom) / 2), RGB(10, 36, 106));
        EXPECT_EQ(probe.At(mid - 1, 15), COXSkinXP::AdjustColor(GetSysColor(COLOR_BTNSHADOW), 38, 38, 38));
        EXPECT_EQ(probe.At(318, 15), RGB(218, 215, 208));
    } else if (look == "Office 2003") {
        EXPECT_EQ(probe.At(318, 0), RGB(245, 244, 242));
        EXPECT_EQ(probe.At(318, 29), RGB(213, 209, 202));
    } else {
        EXPECT_EQ(probe.At(hot.left + 4, hot.top + 1), RGB(255, 244, 204));
    }
    // The menu shadow over white: rows 0-3 untouched, then 15 per column inwards.
    int right = g_shadowAt.x + 59;
    EXPECT_EQ(probe.At(right, g_shadowAt.y + 2), RGB(255, 255, 255));
    EXPECT_EQ(probe.At(right, g_shadowAt.y + 30), RGB(240, 240, 240));
    EXPECT_EQ(probe.At(right - 3, g_shadowAt.y + 30), RGB(195, 195, 195));
}

INSTANTIATE_TEST_SUITE_P(Looks, SkinGallery,
                         ::testing::Values("Classic", "Office XP", "Office 2003", "Office 2003 themed"),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (c == ' ')
                                     c = '_';
                             return n;
                         });

}  // namespace
