// A gallery window drawn in each look: a tool bar on the platform's tool bar control, a docked sizable
// bar over a dock bar with a splitter, a tab control overflowing into its spin, menu items and a popup
// frame with its shadow over white, a status bar with its grip, a mini-frame caption and a shortcut-bar
// header and item frame. Each look is written as a PNG and checked at computed pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "guilib/skins/OXDockbarSkin.h"
#include "guilib/skins/OXMenuSkin.h"
#include "guilib/skins/OXMiniFrameSkin.h"
#include "guilib/skins/OXShortcutBarSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "guilib/skins/OXStatusbarSkin.h"
#include "guilib/skins/OXToolbarSkin.h"
#include "platform/user/Controls.h"
#include "platform/user/Modules.h"
#include "platform/user/StatusBar.h"
#include "tests/guilib/skins/SkinTestSupport.h"
#include "tests/support/Gui.h"

namespace {

COXSkin* Look() {
    auto* app = dynamic_cast<COXSkinnedApp*>(AfxGetApp());
    return app ? app->GetCurrentSkin() : nullptr;
}

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
    void DrawSeparator(CDC* dc, RECT& rect) override { Look()->GetToolbarSkin()->DrawSeparator(dc, rect, this); }
    void DrawCustomizedButton(CDC*, RECT&) override {}
    LRESULT Default() override { return 0; }
};

GalleryBar* g_bar = nullptr;

LRESULT GalleryProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && g_bar && reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW &&
        reinterpret_cast<NMHDR*>(lParam)->hwndFrom == g_bar->hwnd) {
        LRESULT result = CDRF_DODEFAULT;
        Look()->GetToolbarSkin()->OnCustomDraw(reinterpret_cast<NMHDR*>(lParam), &result, g_bar);
        return result;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

// A dock bar holding one sizable bar, with a splitter at its right.
class GalleryDockBar : public COXSizeDockBarView {
public:
    HWND hwnd = nullptr;
    HWND GetDockBarHwnd() const override { return hwnd; }
    BOOL HoldsSizeBar() const override { return TRUE; }
    LRESULT Default() override { return DefWindowProc(hwnd, WM_NCPAINT, 1, 0); }
};

GalleryDockBar* g_dockBar = nullptr;
SizeBarDouble* g_sizeBar = nullptr;
RECT g_splitter{150, 0, 156, 160};

LRESULT DockBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    COXDockbarSkin* skin = Look()->GetDockbarSkin();
    switch (msg) {
    case WM_ERASEBKGND:
        skin->EraseDockBarBackground(CDC::FromHandle((HDC)wParam), g_dockBar);
        return 1;
    case WM_PAINT: {
        CPaintDC dc(CWnd::FromHandle(h));
        skin->DrawSplitter(&dc, OXSplitter{g_splitter, 1}, g_dockBar);
        return 0;
    }
    case WM_NCPAINT:
        skin->DrawDockBarNonClient(g_dockBar);
        return 0;
    default:
        return DefWindowProc(h, msg, wParam, lParam);
    }
}

// A docked sizable bar's non-client area: caption, gripper and both buttons, as the docking library
// paints it.
LRESULT SizeBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    COXDockbarSkin* skin = Look()->GetDockbarSkin();
    switch (msg) {
    case WM_NCCALCSIZE: {
        DefWindowProc(h, msg, wParam, lParam);
        skin->CalcNonClientSize(wParam, *reinterpret_cast<RECT*>(lParam), g_sizeBar);
        return 0;
    }
    case WM_NCPAINT: {
        CWindowDC dc(CWnd::FromHandle(h));
        RECT window{}, client{};
        OXGetWindowRects(h, window, client);
        dc.ExcludeClipRect(&client);
        skin->DrawBackground(&dc, window, g_sizeBar);
        skin->CalcCaptionRects(g_sizeBar);
        skin->DrawGripper(&dc, g_sizeBar);
        skin->DrawCloseButton(&dc, g_sizeBar);
        skin->DrawSecondButton(&dc, g_sizeBar);
        return 0;
    }
    default:
        return DefWindowProc(h, msg, wParam, lParam);
    }
}

// A floating frame's caption.
class GalleryMiniFrame : public COXMiniFrameView {
public:
    HWND hwnd = nullptr;
    HWND GetFrameHwnd() const override { return hwnd; }
    LRESULT Default() override { return DefWindowProc(hwnd, WM_NCPAINT, 1, 0); }
    BOOL DefaultNcActivate(BOOL active) override { return (BOOL)DefWindowProc(hwnd, WM_NCACTIVATE, active, 0); }
};
GalleryMiniFrame* g_miniFrame = nullptr;

LRESULT MiniFrameProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCPAINT && g_miniFrame) {
        Look()->GetMiniFrameSkin()->OnNcPaint(g_miniFrame);
        return 0;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

// The status bar: the platform's control, painted through the status-bar skin.
class GalleryStatusBar : public COXStatusBarView {
public:
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    OXStatusPane panes[2];
    HWND GetBarHwnd() const override { return hwnd; }
    int GetPaneCount() const override { return 2; }
    OXStatusPane* GetPaneRecord(int index) override { return index >= 0 && index < 2 ? &panes[index] : nullptr; }
    OXPaneBitmap* GetPaneBitmap(int) override { return nullptr; }
    HFONT GetPaneFont(int) override { return nullptr; }
    OXPaneProgress* GetPaneProgress(int) override { return nullptr; }
    int GetInsideWidth() override { return 0; }
    void SetPaneText(int index, const CString& text) override {
        ::SendMessage(hwnd, SB_SETTEXT, (WPARAM)index, (LPARAM)(LPCTSTR)text);
    }
    void DrawItem(DRAWITEMSTRUCT* item) override {
        CDC* dc = CDC::FromHandle(item->hDC);
        int mode = dc->SetBkMode(TRANSPARENT);
        RECT r = item->rcItem;
        r.left += 3;
        dc->DrawText(panes[item->itemID].text, &r, DT_SINGLELINE | DT_VCENTER);
        dc->SetBkMode(mode);
    }
    LRESULT Default() override { return ::CallWindowProc(original, hwnd, WM_PAINT, 0, 0); }
};
GalleryStatusBar* g_statusBar = nullptr;

LRESULT StatusBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT && g_statusBar) {
        Look()->GetStatusbarSkin()->DrawStatusBar(g_statusBar);
        return 0;
    }
    return ::CallWindowProc(g_statusBar->original, h, msg, wParam, lParam);
}

// A shortcut bar with one group, hot.
class GalleryShortcutBar : public COXShortcutBarView {
public:
    HWND GetBarHwnd() const override { return nullptr; }
    COLORREF GetGroupBkColor(HANDLE) const override { return GetSysColor(COLOR_BTNFACE); }
    COLORREF GetGroupTextColor(HANDLE) const override { return GetSysColor(COLOR_BTNTEXT); }
    CString GetGroupText(HANDLE) const override { return "Shortcuts"; }
    HFONT GetGroupHeaderFont(HANDLE) const override { return nullptr; }
    UINT GetGroupHeaderFormat(HANDLE) const override { return DT_VCENTER; }
    int GetGroupImage(HANDLE, BOOL) const override { return -1; }
    HIMAGELIST GetHeaderImageList() const override { return nullptr; }
    HANDLE GetExpandedGroup() const override { return nullptr; }
    HANDLE GetHotGroup() const override { return nullptr; }
    HANDLE GetPressedGroup() const override { return nullptr; }
    HANDLE GetDraggedGroup() const override { return nullptr; }
    HANDLE GetDropTargetGroup() const override { return nullptr; }
    int GetGroupOrder(HANDLE) const override { return 0; }
    DWORD GetBarStyle() const override { return 0; }
    BOOL IsPaintingDragImage() const override { return FALSE; }
};

// The popup of an open bitmap menu: every message through the menu skin.
LRESULT PopupProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Look()->GetMenuSkin()->PopupWindowProc(DefWindowProc, h, msg, wParam, lParam);
}

// The window over a menu-bar item whose menu is open below it.
class ShadowedItem : public CWnd, public COXShadowedItemView {
public:
    COXCoolToolBarView* bar = nullptr;
    int button = -1;
    int GetOpenSide() const override { return 1; }
    COXCoolToolBarView* GetToolBarView() const override { return bar; }
    int GetButtonIndex() const override { return button; }
};
ShadowedItem* g_item = nullptr;

LRESULT ShadowedItemProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT && g_item && g_item->GetSafeHwnd() == h) {
        Look()->GetMenuSkin()->OnPaintShadowedItem(g_item);
        return 0;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

constexpr int kHot = 101;
constexpr int kDisabled = 104;
constexpr int kDropDown = 6;
// Where the parts lie, in the gallery's coordinates.
const RECT kDockBar{0, 40, 240, 200};
const RECT kMiniFrame{10, 210, 230, 290};
const RECT kHeader{10, 300, 230, 326};
const RECT kItemFrame{10, 332, 90, 362};
const RECT kTab{250, 40, 470, 72};
const POINT kMenuAt{250, 80};
const RECT kWhite{250, 240, 510, 340};
const RECT kPopup{262, 250, 362, 300};  // before the shadow's room is added
const RECT kStatusHost{0, 370, 520, 410};
constexpr int kMenuWidth = 200;

enum MenuRow { kNormal, kSelected, kChecked, kGreyed, kSeparator, kSubmenu, kExpansion, kRows };

// The rectangle of a menu row, in the gallery's coordinates.
RECT MenuRowRect(int row) {
    int top = kMenuAt.y;
    for (int i = 0; i < row; ++i)
        top += i == kSeparator ? 9 : 20;
    return RECT{kMenuAt.x, top, kMenuAt.x + kMenuWidth, top + (row == kSeparator ? 9 : 20)};
}

class SkinGallery : public SystemColourTable, public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        RegisterTestWindowClass("SkinGallery", GalleryProc, COLOR_BTNFACE);
        RegisterTestWindowClass("SkinGalleryDockBar", DockBarProc, COLOR_BTNFACE);
        RegisterTestWindowClass("SkinGallerySizeBar", SizeBarProc, COLOR_BTNFACE);
        RegisterTestWindowClass("SkinGalleryMiniFrame", MiniFrameProc, COLOR_BTNFACE);
        RegisterTestWindowClass("SkinGalleryStatusHost", DefWindowProc, COLOR_BTNFACE);
        RegisterTestWindowClass("SkinGalleryPopup", PopupProc, COLOR_MENU);
        RegisterTestWindowClass("SkinGalleryShadowedItem", ShadowedItemProc, COLOR_MENU);
        std::string look = GetParam();
        if (look == "Office 2003 themed") {
            SetThemeActiveForTest(TRUE);
            SetThemeSysColorForTest(COLOR_HIGHLIGHT, RGB(49, 106, 197));
            look = "Office 2003";
        }
        app = std::make_unique<COXSkinnedApp>();
        ASSERT_TRUE(app->SetCurrentSkin(look.c_str()));
        window = CreateWindowEx(0, "SkinGallery", "gallery", WS_POPUP | WS_VISIBLE, 0, 0, 520, 410, nullptr, nullptr,
                                nullptr, nullptr);
        g_bar = &bar;
        MakeToolBar();
        MakeDockedBar();
        MakeMiniFrame();
        MakeTab();
        MakeStatusBar();
        Pump();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        DrawOntoGallery();
        OpenPopup();
        OpenShadowedItem();
    }
    void TearDown() override {
        WriteScreenshot(window, SpacesToUnderscores(std::string("SkinGallery_") + GetParam()));
        COXMenuSkin::SetTrackingBitmapMenu(nullptr);
        if (popup)
            DestroyWindow(popup);
        if (item.GetSafeHwnd())
            DestroyWindow(item.Detach());
        g_item = nullptr;
        tab.reset();
        DestroyWindow(window);
        g_bar = nullptr;
        g_dockBar = nullptr;
        g_sizeBar = nullptr;
        g_miniFrame = nullptr;
        g_statusBar = nullptr;
        if (images)
            ImageList_Destroy(images);
        app.reset();
        ResetModulesForTest();
    }

    // A 16 x 16 image: a black 8 x 8 square in the middle, the rest transparent.
    void MakeImages() {
        images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
        CClientDC screen(CWnd::FromHandle(window));
        MemoryCanvas strip(16, 16, RGB(255, 0, 255));
        strip.dc()->FillSolidRect(4, 4, 8, 8, RGB(0, 0, 0));
        std::unique_ptr<CBitmap> bitmap(strip.Detach());
        ImageList_AddMasked(images, (HBITMAP)bitmap->GetSafeHandle(), RGB(255, 0, 255));
    }

    void MakeToolBar() {
        MakeImages();
        bar.hwnd = CreateWindowEx(0, TOOLBARCLASSNAME, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 320, 30,
                                  window, (HMENU)1, nullptr, nullptr);
        ::SendMessage(bar.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        ::SendMessage(bar.hwnd, TB_SETIMAGELIST, 0, (LPARAM)images);
        TBBUTTON buttons[] = {
            {0, 100, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {0, kHot, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {-1, 102, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 0},
            {-1, 103, TBSTATE_ENABLED | TBSTATE_PRESSED, TBSTYLE_BUTTON, {}, 0, 0},
            {0, kDisabled, 0, TBSTYLE_BUTTON, {}, 0, 0},
            {8, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
            {-1, 105, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, {}, 0, 0},
        };
        ::SendMessage(bar.hwnd, TB_ADDBUTTONS, 7, (LPARAM)buttons);
        ::SendMessage(bar.hwnd, TB_SETHOTITEM, 1, 0);
    }

    void MakeDockedBar() {
        dockBar.hwnd = CreateWindowEx(0, "SkinGalleryDockBar", nullptr, WS_CHILD | WS_VISIBLE, kDockBar.left,
                                      kDockBar.top, kDockBar.right - kDockBar.left, kDockBar.bottom - kDockBar.top,
                                      window, nullptr, nullptr, nullptr);
        g_dockBar = &dockBar;
        g_sizeBar = &sizeBar;
        sizeBar.style = CBRS_ALIGN_LEFT;
        sizeBar.hwnd = CreateWindowEx(0, "SkinGallerySizeBar", "Output", WS_CHILD | WS_VISIBLE, 0, 0, g_splitter.left,
                                      kDockBar.bottom - kDockBar.top, dockBar.hwnd, nullptr, nullptr, nullptr);
    }

    void MakeMiniFrame() {
        g_miniFrame = &miniFrame;
        miniFrame.hwnd = CreateWindowEx(WS_EX_TOOLWINDOW, "SkinGalleryMiniFrame", "Floating",
                                        WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, kMiniFrame.left,
                                        kMiniFrame.top, kMiniFrame.right - kMiniFrame.left,
                                        kMiniFrame.bottom - kMiniFrame.top, window, nullptr, nullptr, nullptr);
    }

    void MakeTab() {
        tab = std::make_unique<COXSkinnedTabCtrl>();
        tab->Create(WS_CHILD | WS_VISIBLE, kTab, CWnd::FromHandle(window), 2);
        for (int i = 0; i < 8; ++i) {
            CString label;
            label.Format("Page %d", i + 1);
            tab->InsertItem(i, label);
        }
        tab->SetCurSel(0);
    }

    void MakeStatusBar() {
        HWND host = CreateWindowEx(0, "SkinGalleryStatusHost", nullptr, WS_CHILD | WS_VISIBLE | WS_THICKFRAME,
                                   kStatusHost.left, kStatusHost.top, kStatusHost.right - kStatusHost.left,
                                   kStatusHost.bottom - kStatusHost.top, window, nullptr, nullptr, nullptr);
        RECT inside{};
        ::GetClientRect(host, &inside);
        statusBar.hwnd = CreateWindowEx(0, STATUSCLASSNAME, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                                        inside.right, inside.bottom, host, nullptr, nullptr, nullptr);
        statusBar.panes[0] = OXStatusPane{0, 200, 0, 0, "Ready"};
        statusBar.panes[1] = OXStatusPane{1, 60, 0, 0, "Line 1"};
        int parts[] = {206, 272};
        ::SendMessage(statusBar.hwnd, SB_SETPARTS, 2, (LPARAM)parts);
        for (int i = 0; i < 2; ++i)
            statusBar.SetPaneText(i, statusBar.panes[i].text);
        statusBar.original = (WNDPROC)::GetWindowLongPtr(statusBar.hwnd, GWLP_WNDPROC);
        g_statusBar = &statusBar;
        ::SetWindowLongPtr(statusBar.hwnd, GWLP_WNDPROC, (LONG_PTR)StatusBarProc);
    }

    // Menu items, a shortcut-bar header and item frame, and a white ground for the popup.
    void DrawOntoGallery() {
        CClientDC dc(CWnd::FromHandle(window));
        COXMenuSkin* skin = Look()->GetMenuSkin();
        COXImageInfo image{images, 0, FALSE, -1};
        const struct {
            const char* text;
            UINT state;
            COXImageInfo* image;
        } rows[kRows] = {
            {"Open\tCtrl+O", 0, &image},
            {"Save\tCtrl+S", ODS_SELECTED, &image},
            {"Bold", ODS_CHECKED, &image},
            {"Print", ODS_DISABLED, nullptr},
            {"", 0, nullptr},
            {"Recent", 0, nullptr},
            {"", 0, nullptr},
        };
        dc.SetViewportOrg(kMenuAt.x, kMenuAt.y);
        for (int row = 0; row < kRows; ++row) {
            RECT item = MenuRowRect(row);
            OffsetRect(&item, -kMenuAt.x, -kMenuAt.y);
            RECT frame{}, imageRect{}, text{}, accel{};
            skin->CalcItemLayout(&dc, rows[row].image, item, frame, imageRect, text, accel, &menu);
            UINT state = rows[row].state;
            if (row == kSeparator) {
                skin->DrawSeparator(&dc, item, &menu);
            } else if (row == kSubmenu) {
                skin->DrawSubmenuItem(&dc, state, rows[row].text, nullptr, item, frame, text, accel, &menu);
            } else if (row == kExpansion) {
                skin->DrawBackground(&dc, state, nullptr, item, frame, &menu);
                skin->DrawExpansionItem(&dc, item, state, &menu);
            } else {
                skin->DrawBackground(&dc, state, rows[row].image, item, frame, &menu);
                skin->DrawImageFrame(&dc, state, rows[row].image, frame, &menu);
                skin->DrawImage(&dc, state, rows[row].image, imageRect, &menu);
                skin->DrawText(&dc, state, rows[row].text, text, accel, &menu);
            }
        }
        dc.SetViewportOrg(0, 0);

        COXShortcutBarSkin* shortcuts = Look()->GetShortcutBarSkin();
        DRAWITEMSTRUCT header{};
        header.itemID = 1;
        header.hDC = dc.GetSafeHdc();
        header.rcItem = kHeader;
        shortcuts->DrawGroupHeader(&header, &shortcutBar);
        shortcuts->FillListBackground(&dc, RECT{kItemFrame.left, kItemFrame.top, kHeader.right, kItemFrame.bottom},
                                      nullptr, FALSE, 0);
        shortcuts->DrawItemFrame(&dc, kItemFrame, TRUE, FALSE, nullptr);

        dc.FillSolidRect(&kWhite, RGB(255, 255, 255));
    }

    // A bitmap menu's popup over the white ground, dropped from a menu-bar item just above it; once
    // painted, it is copied into the gallery as the screen shows it.
    void OpenPopup() {
        menu.exclude = RECT{kPopup.left, kPopup.top - 18, kPopup.left + 40, kPopup.top - 1};
        COXMenuSkin::SetTrackingBitmapMenu(&menu);
        popup = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, "SkinGalleryPopup", nullptr, WS_POPUP, kPopup.left, kPopup.top, 0, 0,
                               window, nullptr, nullptr, nullptr);
        SetWindowPos(popup, HWND_TOPMOST, kPopup.left, kPopup.top, kPopup.right - kPopup.left,
                     kPopup.bottom - kPopup.top, SWP_NOACTIVATE);
        ShowWindow(popup, SW_SHOWNA);
        RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        RECT r{};
        GetWindowRect(popup, &r);
        CWindowDC from(CWnd::FromHandle(popup));
        CClientDC to(CWnd::FromHandle(window));
        to.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &from, 0, 0, SRCCOPY);
    }

    // The drop-down button shadowed as while its menu is open below it, copied into the gallery.
    void OpenShadowedItem() {
        RECT r = Item(kDropDown);
        r.top += 1;
        r.bottom -= 1;
        itemRect = r;
        item.bar = &bar;
        item.button = kDropDown;
        g_item = &item;
        HWND h = CreateWindowEx(WS_EX_TOOLWINDOW, "SkinGalleryShadowedItem", nullptr, WS_POPUP, r.left, r.top,
                                r.right - r.left + 4, r.bottom - r.top + 4, window, nullptr, nullptr, nullptr);
        item.Attach(h);
        ShowWindow(h, SW_SHOWNA);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        CWindowDC from(&item);
        CClientDC to(CWnd::FromHandle(window));
        to.BitBlt(r.left, r.top, r.right - r.left + 4, r.bottom - r.top + 4, &from, 0, 0, SRCCOPY);
    }

    RECT Item(int index) {
        RECT r{};
        ::SendMessage(bar.hwnd, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&r);
        return r;
    }
    // A window's rectangle in the gallery's coordinates.
    RECT InGallery(HWND h) {
        RECT r{};
        ::GetWindowRect(h, &r);
        RECT g{};
        ::GetWindowRect(window, &g);
        OffsetRect(&r, -g.left, -g.top);
        return r;
    }
    // A rectangle of a window's client coordinates in the gallery's coordinates.
    RECT ClientInGallery(HWND h, RECT r) {
        POINT origin{0, 0};
        ::ClientToScreen(h, &origin);
        RECT g{};
        ::GetWindowRect(window, &g);
        OffsetRect(&r, origin.x - g.left, origin.y - g.top);
        return r;
    }

    std::unique_ptr<COXSkinnedApp> app;
    HWND window = nullptr;
    HWND popup = nullptr;
    HIMAGELIST images = nullptr;
    GalleryBar bar;
    GalleryDockBar dockBar;
    SizeBarDouble sizeBar;
    GalleryMiniFrame miniFrame;
    std::unique_ptr<COXSkinnedTabCtrl> tab;
    GalleryStatusBar statusBar;
    GalleryShortcutBar shortcutBar;
    MenuDouble menu;
    ShadowedItem item;
    RECT itemRect{};  // the item without its shadow
};

TEST_P(SkinGallery, ShowsTheLooksColoursAtComputedPixels) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT hot = Item(1), separator = Item(5);
    int mid = (separator.left + separator.right) / 2;
    RECT splitter = g_splitter;
    OffsetRect(&splitter, kDockBar.left, kDockBar.top);
    if (look == "Classic") {
        EXPECT_EQ(probe.At(mid - 1, 15), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(probe.At(mid, 15), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(probe.At(splitter.left + 1, 100), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(probe.At(splitter.left + 2, 100), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(probe.At(splitter.right - 2, 100), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(probe.At(splitter.right - 1, 100), GetSysColor(COLOR_WINDOWFRAME));
    } else if (look == "Office XP") {
        EXPECT_EQ(probe.At(hot.left + 4, hot.top + 3), RGB(181, 189, 210));
        EXPECT_EQ(probe.At(hot.left, (hot.top + hot.bottom) / 2), RGB(10, 36, 106));
        EXPECT_EQ(probe.At(mid - 1, 15), COXSkinXP::AdjustColor(GetSysColor(COLOR_BTNSHADOW), 38, 38, 38));
        EXPECT_EQ(probe.At(318, 15), RGB(218, 215, 208));
        EXPECT_EQ(probe.At((splitter.left + splitter.right) / 2, 100),
                  dynamic_cast<COXSkinXP*>(Look())->GetLightShadowColor());
    } else if (look == "Office 2003") {
        EXPECT_EQ(probe.At(318, 0), RGB(245, 244, 242));
        EXPECT_EQ(probe.At(318, 29), RGB(213, 209, 202));
    } else {
        EXPECT_EQ(probe.At(hot.left + 4, hot.top + 1), RGB(255, 244, 204));
    }
}

TEST_P(SkinGallery, ToolBarImagesAreRaisedWhenHotAndMonochromeWhenDisabled) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT hot = Item(1), normal = Item(0), disabled = Item(kDisabled - 100);
    // The image's square sits centred, 3 below the top; hot, it moves up and left over its shadow.
    auto square = [](const RECT& r) { return POINT{r.left + (r.right - r.left - 16) / 2 + 4, r.top + 3 + 4}; };
    POINT n = square(normal), h = square(hot), d = square(disabled);
    EXPECT_EQ(probe.At(n.x, n.y), RGB(0, 0, 0));
    if (look == "Classic")
        return;
    EXPECT_EQ(probe.At(h.x - 1, h.y - 1), RGB(0, 0, 0));
    EXPECT_EQ(probe.At(h.x + 8, h.y + 8), GetSysColor(COLOR_BTNSHADOW));  // the shadow's bottom-right corner
    EXPECT_EQ(probe.At(d.x + 3, d.y + 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_NE(probe.At(d.x - 1, d.y + 3), GetSysColor(COLOR_BTNSHADOW));  // transparent around it
}

TEST_P(SkinGallery, DockedBarShowsItsCaptionWithBothButtons) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT close = ClientInGallery(sizeBar.hwnd, sizeBar.close), second = ClientInGallery(sizeBar.hwnd, sizeBar.second);
    ASSERT_FALSE(IsRectEmpty(&sizeBar.close));
    ASSERT_FALSE(IsRectEmpty(&sizeBar.second));
    EXPECT_LT(second.right, close.left);
    auto dark = [](COLORREF c) { return PixelProbe::Dark(c); };
    EXPECT_TRUE(probe.Any(close, dark)) << "close glyph";
    EXPECT_TRUE(probe.Any(second, dark)) << "second glyph";
    RECT caption = ClientInGallery(sizeBar.hwnd, sizeBar.caption);
    if (look == "Office XP") {
        // Gripper lines every second row, right of the title, in the soft shadow colour.
        COLORREF soft = dynamic_cast<COXSkinXP*>(Look())->GetSoftShadowColor();
        RECT strip{caption.right - 20, caption.top, caption.right - 2, caption.bottom};
        EXPECT_TRUE(probe.Any(strip, [&](COLORREF c) { return c == soft; }));
    } else if (look != "Classic") {
        auto* look2003 = dynamic_cast<COXSkin2003*>(Look());
        EXPECT_EQ(probe.At(caption.left + 1, caption.top), look2003->GetCaptionLightColor());
    }
}

TEST_P(SkinGallery, TabControlOverflowsIntoItsSpin) {
    PixelProbe probe(window);
    std::string look = GetParam();
    CWnd* spin = COXSkinnedTabCtrl::GetEmbeddedSpin(tab.get());
    HWND upDown = ::GetWindow(tab->GetSafeHwnd(), GW_CHILD);
    ASSERT_NE(upDown, nullptr);
    EXPECT_TRUE(::IsWindowVisible(upDown));
    RECT spinRect = InGallery(upDown);
    // The last item lies under the spin: the spin shows, not the item.
    RECT last{};
    tab->GetItemRect(7, &last);
    EXPECT_GT(ClientInGallery(tab->GetSafeHwnd(), last).right, spinRect.left);
    if (look == "Classic")
        return;
    EXPECT_EQ(spin->GetSafeHwnd(), upDown);
    // Arrows are outlined in the dark text colour.
    COLORREF darkText = dynamic_cast<COXSkinXP*>(Look())->GetDarkTextColor();
    EXPECT_TRUE(probe.Any(spinRect, [&](COLORREF c) { return c == darkText; }));
    if (look == "Office XP") {
        RECT tabRect = InGallery(tab->GetSafeHwnd());
        EXPECT_EQ(probe.At(spinRect.left - 1, tabRect.top), RGB(254, 249, 240));
    }
}

TEST_P(SkinGallery, MenuItemsAndPopupFrameWithItsShadowOverWhite) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT selected = MenuRowRect(kSelected), normal = MenuRowRect(kNormal), separator = MenuRowRect(kSeparator);
    RECT r{};
    GetWindowRect(popup, &r);
    if (look == "Classic") {
        EXPECT_EQ(probe.At(selected.right - 5, selected.top + 2), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(probe.At(normal.right - 5, normal.top + 2), GetSysColor(COLOR_MENU));
        // No frame of the skin's: the popup keeps its own size.
        EXPECT_EQ(r.right - r.left, kPopup.right - kPopup.left);
        return;
    }
    auto* xp = dynamic_cast<COXSkinXP*>(Look());
    EXPECT_EQ(probe.At(selected.left, selected.top + 5), xp->GetHighlightBorderColor());
    EXPECT_EQ(probe.At(selected.right - 5, selected.top + 2), xp->GetHotItemColor());
    EXPECT_EQ(probe.At(normal.right - 5, normal.top + 2), xp->GetMenuBackgroundColor());
    EXPECT_EQ(probe.At(separator.right - 2, (separator.top + separator.bottom) / 2), xp->GetLightShadowColor());
    if (look == "Office XP") {
        EXPECT_EQ(probe.At(normal.left + 2, normal.top + 2), xp->GetBarBackgroundColor());
    }
    if (look == "Office 2003 themed") {
        EXPECT_EQ(xp->GetHotItemColor(), RGB(255, 238, 194));
        EXPECT_EQ(xp->GetMenuBackgroundColor(), RGB(246, 246, 246));
    }

    // The popup grew by 4 for its shadow; it shows the white beneath, darkened.
    ASSERT_EQ(r.right - r.left, kPopup.right - kPopup.left + 4);
    int right = r.right - 1, bottom = r.bottom - 1;
    for (int y = r.top; y < r.top + 4; ++y)
        EXPECT_EQ(probe.At(right, y), RGB(255, 255, 255)) << y;
    EXPECT_EQ(probe.At(right, r.top + 30), RGB(240, 240, 240));
    EXPECT_EQ(probe.At(right - 3, r.top + 30), RGB(195, 195, 195));
    EXPECT_EQ(probe.At(r.left + 20, bottom), RGB(240, 240, 240));
    EXPECT_EQ(probe.At(r.left + 2, bottom), RGB(255, 255, 255));
    // The frame, open where the menu-bar item meets it.
    EXPECT_EQ(probe.At(r.left, r.top + 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(probe.At(r.left + 60, r.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(probe.At(r.left + 20, r.top), xp->GetMenuBackgroundColor());
}

TEST_P(SkinGallery, OpenMenuBarItemIsOutlinedAndShadowedExceptTowardsItsMenu) {
    PixelProbe probe(window);
    std::string look = GetParam();
    if (look == "Classic")
        return;  // the item window paints as any window
    const RECT& r = itemRect;
    COLORREF outline = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(probe.At(r.left + 5, r.top), outline);
    EXPECT_EQ(probe.At(r.left, r.top + 5), outline);
    EXPECT_EQ(probe.At(r.right - 1, r.top + 5), outline);
    EXPECT_NE(probe.At(r.left + 5, r.bottom - 1), outline);  // open towards the menu below
    // The right band darkens what lies beneath (the bar) from row 4; no bottom band.
    COLORREF beneath = probe.At(r.right + 8, r.top + 8);
    EXPECT_EQ(probe.At(r.right + 3, r.top + 8), COXSkinXP::DarkenColor(15, beneath));
    EXPECT_EQ(probe.At(r.right + 3, r.top + 2), probe.At(r.right + 8, r.top + 2));
    COLORREF below = probe.At(r.right + 8, r.bottom + 2);
    EXPECT_EQ(probe.At(r.left + 8, r.bottom + 2), below);
    EXPECT_EQ(probe.At(r.right + 3, r.bottom + 2), below);  // nor the right band's bottom corner
    if (look == "Office XP") {
        EXPECT_EQ(probe.At(r.left + 3, r.top + 3), dynamic_cast<COXSkinXP*>(Look())->GetMenuBackgroundColor());
    } else {
        // The item continues the bar's gradient.
        EXPECT_EQ(probe.At(r.left + 2, r.top + 2), probe.At(318, r.top + 2));
    }
}

TEST_P(SkinGallery, StatusBarShowsItsGrip) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT client{};
    ::GetClientRect(statusBar.hwnd, &client);
    RECT bar = ClientInGallery(statusBar.hwnd, client);
    RECT firstPane{};
    ::SendMessage(statusBar.hwnd, SB_GETRECT, 0, (LPARAM)&firstPane);
    RECT pane = ClientInGallery(statusBar.hwnd, firstPane);
    if (look == "Classic") {
        auto dark = [](COLORREF c) { return c == GetSysColor(COLOR_BTNSHADOW); };
        EXPECT_TRUE(probe.Any(RECT{bar.right - 12, bar.bottom - 12, bar.right, bar.bottom}, dark));
    } else if (look == "Office XP") {
        EXPECT_EQ(probe.At(pane.left, (pane.top + pane.bottom) / 2), RGB(229, 220, 216));
        EXPECT_EQ(probe.At(bar.right - 2, bar.bottom - 2), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(probe.At(bar.right - 3, bar.bottom - 2), RGB(255, 255, 255));
    } else {
        auto* look2003 = dynamic_cast<COXSkin2003*>(Look());
        EXPECT_EQ(probe.At(pane.left + 100, (bar.top + bar.bottom) / 2), look2003->GetStatusBarMidColor());
        if (look == "Office 2003") {
            EXPECT_EQ(look2003->GetStatusBarMidColor(), RGB(233, 231, 227));
        }
        // The grip's dots: soft shadow over a window-coloured one 1 right and down.
        int side = (client.bottom - client.top) & ~1;
        int x = bar.right - side + 7 + 8, y = bar.bottom - side + 7 + 8;
        EXPECT_EQ(probe.At(x - 1, y - 1), look2003->GetSoftShadowColor());
        EXPECT_EQ(probe.At(x + 1, y + 1), GetSysColor(COLOR_WINDOW));
    }
}

TEST_P(SkinGallery, MiniFrameCaptionAndShortcutBarHeader) {
    PixelProbe probe(window);
    std::string look = GetParam();
    RECT frame = InGallery(miniFrame.hwnd);
    if (look != "Classic") {
        auto* xp = dynamic_cast<COXSkinXP*>(Look());
        RECT caption = COXMiniFrameSkinXP::GetCaptionRect(miniFrame.hwnd);
        OffsetRect(&caption, frame.left, frame.top);
        EXPECT_EQ(probe.At(frame.left, frame.top + 30), xp->GetDarkShadowColor());
        EXPECT_EQ(probe.At(caption.left + 1, caption.top + 1), xp->GetEdgeColor());
        // The close button's cross in the caption text colour.
        RECT button{caption.right - (caption.bottom - caption.top), caption.top, caption.right, caption.bottom};
        EXPECT_TRUE(probe.Any(button, [&](COLORREF c) { return c == xp->GetCaptionTextColor(); }));
    }
    if (look == "Office 2003" || look == "Office 2003 themed") {
        EXPECT_EQ(probe.At(kHeader.left + 5, kHeader.bottom - 1), RGB(0, 45, 150));
    } else {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(probe.At(kHeader.left + 5, kHeader.top), COXSkinXP::AdjustColor(face, 64, 64, 64));
    }
    if (look == "Classic") {
        COLORREF list = GetSysColor(COLOR_BTNSHADOW);
        EXPECT_EQ(probe.At(kItemFrame.left + 5, kItemFrame.top), COXSkinXP::AdjustColor(list, 64, 64, 64));
    } else {
        auto* xp = dynamic_cast<COXSkinXP*>(Look());
        EXPECT_EQ(probe.At(kItemFrame.left + 5, kItemFrame.top), xp->GetHighlightBorderColor());
        EXPECT_EQ(probe.At(kItemFrame.left + 5, kItemFrame.top + 5), xp->GetHotItemColor());
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, SkinGallery,
                         ::testing::Values("Classic", "Office XP", "Office 2003", "Office 2003 themed"),
                         [](const auto& info) { return SpacesToUnderscores(info.param); });

}  // namespace
