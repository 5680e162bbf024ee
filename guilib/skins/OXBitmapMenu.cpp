#include "guilib/skins/OXBitmapMenu.h"

#include <algorithm>
#include <memory>

#include "guilib/skins/OXSkin.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/bars/ToolBar.h"

IMPLEMENT_DYNAMIC(COXBitmapMenu, CMenu)

COXBitmapMenu::RecentlyUsedQuery* COXBitmapMenu::s_pRecentlyUsed = nullptr;

#ifndef CS_DROPSHADOW
#define CS_DROPSHADOW 0x00020000
#endif

namespace {
WNDPROC g_previousPopupProc = nullptr;
bool g_popupClassTakenOver = false;

LRESULT PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return COXBitmapMenu::GetMenuSkin()->PopupWindowProc(g_previousPopupProc, hwnd, message, wParam, lParam);
}

// Every popup menu window of the process goes through the menu skin from now on.
void TakeOverPopupClass() {
    if (g_popupClassTakenOver)
        return;
    g_popupClassTakenOver = true;
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, WC_MENU, &wc))
        return;
    g_previousPopupProc = wc.lpfnWndProc;
    wc.lpfnWndProc = PopupProc;
    wc.style = (wc.style & ~(UINT)CS_DROPSHADOW) | CS_SAVEBITS;
    wc.lpszClassName = WC_MENU;
    RegisterClass(&wc);
}

// The process-wide Classic skin of bitmap menus; it lives to the end of the process.
COXMenuSkinClassic* DefaultSkin() {
    static std::unique_ptr<COXMenuSkinClassic> skin = std::make_unique<COXMenuSkinClassic>();
    return skin.get();
}

bool IsSeparatorId(UINT id) {
    return id == 0 || id == 0xFFFF;
}

void SplitAtTab(const CString& text, CString& label, CString& accel) {
    int tab = text.Find('\t');
    if (tab < 0) {
        label = text;
        accel.Empty();
    } else {
        label = text.Left(tab);
        accel = text.Mid(tab + 1);
    }
}

int TextWidth(HDC dc, const CString& text) {
    RECT r{0, 0, 0, 0};
    ::DrawText(dc, text, text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
    return (int)(r.right - r.left);
}

SIZE ImageSize(const COXImageInfo* image) {
    int cx = 0, cy = 0;
    if (image && image->imageList)
        ImageList_GetIconSize(image->imageList, &cx, &cy);
    return SIZE{cx, cy};
}
}  // namespace

COXBitmapMenu::COXBitmapMenu() {
    TakeOverPopupClass();
}

COXBitmapMenu::~COXBitmapMenu() {
    m_mnemonics.clear();
    RemoveAllItemInfo();
    m_dropTarget.Revoke();
    DetachPopupWnd();
    DestroyMenu();
}

COXMenuSkin* COXBitmapMenu::GetMenuSkin() {
    if (COXSkin* look = OXGetCurrentSkin())
        return look->GetMenuSkin();
    return DefaultSkin();
}

COXItemInfo* COXBitmapMenu::AddItemInfo(COXImageInfo* image, const CString& text) {
    auto* info = new COXItemInfo(image, text);
    m_itemInfos.push_back(info);
    return info;
}

void COXBitmapMenu::RemoveAllItemInfo() {
    for (COXItemInfo* info : m_itemInfos)
        delete info;
    m_itemInfos.clear();
}

COXItemInfo* COXBitmapMenu::ItemInfoAt(int position) const {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!::GetMenuItemInfo(m_hMenu, (UINT)position, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
        return nullptr;
    auto* info = reinterpret_cast<COXItemInfo*>(mii.dwItemData);
    // Only records of this menu count.
    return std::find(m_itemInfos.begin(), m_itemInfos.end(), info) != m_itemInfos.end() ? info : nullptr;
}

void COXBitmapMenu::CalcExtents() {
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = ::CreateFontIndirect(&ncm.lfMenuFont);
    LOGFONT boldFace = ncm.lfMenuFont;
    boldFace.lfWeight = FW_BOLD;
    HFONT bold = ::CreateFontIndirect(&boldFace);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);

    COXMenuSkin* skin = GetMenuSkin();
    int minImage = skin->GetMetrics()->values[8];
    m_nBitmapExtent = m_nAcceleratorExtent = m_nStringExtent = 0;
    int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        UINT state = ::GetMenuState(m_hMenu, (UINT)i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            continue;
        COXItemInfo* info = ItemInfoAt(i);
        if (!info)
            continue;
        m_nBitmapExtent = std::max(m_nBitmapExtent, std::max((int)ImageSize(info->GetImageInfo()).cx, minImage));
        CString label, accel;
        SplitAtTab(info->GetText(), label, accel);
        bool submenu = ::GetSubMenu(m_hMenu, i) != nullptr;
        if (accel.IsEmpty() && submenu && info->GetText().Find('\t') < 0)
            accel = "W";
        ::SelectObject(dc, (state & MF_DEFAULT) ? bold : font);
        m_nStringExtent = std::max(m_nStringExtent, TextWidth(dc, label));
        if (!accel.IsEmpty())
            m_nAcceleratorExtent = std::max(m_nAcceleratorExtent, TextWidth(dc, accel));
    }
    ::SelectObject(dc, font);
    SIZE a{0, 0};
    ::GetTextExtentPoint32(dc, "A", 1, &a);
    m_nTextHeight = (int)a.cy;
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    ::DeleteObject(bold);
}

void COXBitmapMenu::MeasureItem(LPMEASUREITEMSTRUCT measure) {
    const int* m = GetMenuSkin()->GetMetrics()->values;
    auto* info = reinterpret_cast<COXItemInfo*>(measure->itemData);
    if (info && std::find(m_itemInfos.begin(), m_itemInfos.end(), info) == m_itemInfos.end())
        info = nullptr;
    if (!info) {
        // Only a popup item without a record gets a height.
        if (measure->itemID == (UINT)-1 || HasSubmenu(measure->itemID))
            measure->itemHeight = (UINT)(m_nTextHeight + m[5]);
        return;
    }
    int imageHeight = info->GetImageInfo() && info->GetImageInfo()->imageList
                          ? (int)ImageSize(info->GetImageInfo()).cy + 2
                          : 0;
    int width = m_nStringExtent + m_nBitmapExtent + m_nAcceleratorExtent + m[0] + m[2] + m[4];
    if (m_nAcceleratorExtent != 0)
        width += m[3];
    measure->itemWidth = (UINT)width;
    if (IsSeparatorId(measure->itemID)) {
        measure->itemHeight = (UINT)m[7];
    } else if (measure->itemID == ID_OX_SHOWALLITEMS) {
        UINT height = (UINT)std::max(m_nTextHeight + m[5], imageHeight + m[6]);
        GetMenuSkin()->AdjustExpansionItemHeight(&height, this);
        measure->itemHeight = height;
    } else {
        measure->itemHeight = (UINT)std::max(m_nTextHeight + m[5], imageHeight + m[6]);
    }
}

int COXBitmapMenu::HitTest(POINT point, BOOL* upperHalf) {
    int count = ::GetMenuItemCount(m_hMenu);
    int top = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        ::GetMenuItemInfo(m_hMenu, (UINT)i, TRUE, &mii);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, mii.hSubMenu ? (UINT)-1 : mii.wID, 0, 0, mii.dwItemData};
        MeasureItem(&mis);
        int bottom = top + (int)mis.itemHeight;
        if (point.y <= bottom && mis.itemHeight > 0) {
            if (upperHalf)
                *upperHalf = point.y < top + (int)mis.itemHeight / 2;
            return i;
        }
        top = bottom;
    }
    return -1;
}

BOOL COXBitmapMenu::HasSubmenu(UINT id) const {
    if (id == (UINT)-1)
        return TRUE;
    int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        if (::GetSubMenu(m_hMenu, i) && ::GetMenuItemID(m_hMenu, i) == id)
            return TRUE;
        MENUITEMINFO mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_SUBMENU;
        if (::GetMenuItemInfo(m_hMenu, (UINT)i, TRUE, &mii) && mii.hSubMenu && mii.wID == id)
            return TRUE;
    }
    return FALSE;
}

// ---- Drawing, each step through the skin

void COXBitmapMenu::DistributeSpace(CDC* dc, COXImageInfo* image, const RECT& item, RECT& button, RECT& imageRect,
                                    RECT& text, RECT& accel) {
    GetMenuSkin()->CalcItemLayout(dc, image, item, button, imageRect, text, accel, this);
}
void COXBitmapMenu::DrawBackground(CDC* dc, UINT state, COXImageInfo* image, const RECT& item, const RECT& button) {
    GetMenuSkin()->DrawBackground(dc, state, image, item, button, this);
}
void COXBitmapMenu::DrawButton(CDC* dc, UINT state, COXImageInfo* image, const RECT& button) {
    GetMenuSkin()->DrawImageFrame(dc, state, image, button, this);
}
void COXBitmapMenu::DrawImage(CDC* dc, UINT state, COXImageInfo* image, const RECT& imageRect) {
    GetMenuSkin()->DrawImage(dc, state, image, imageRect, this);
}
void COXBitmapMenu::DrawText(CDC* dc, UINT state, const CString& text, const RECT& textRect, const RECT& accel) {
    GetMenuSkin()->DrawText(dc, state, text, textRect, accel, this);
}
void COXBitmapMenu::DrawSeparator(CDC* dc, const RECT& rect) {
    GetMenuSkin()->DrawSeparator(dc, rect, this);
}
void COXBitmapMenu::DrawCustomizeSelection(CDC* dc, const RECT& rect) {
    GetMenuSkin()->DrawCustomizedItem(dc, rect, this);
}
void COXBitmapMenu::DrawInsertMark(CDC* dc, const RECT& rect, BOOL before) {
    GetMenuSkin()->DrawInsertMark(dc, rect, before, this);
}
void COXBitmapMenu::DrawSubmenuItem(CDC* dc, UINT state, const CString& text, COXImageInfo* image, const RECT& item,
                                    const RECT& button, const RECT& textRect, const RECT& accel) {
    GetMenuSkin()->DrawSubmenuItem(dc, state, text, image, item, button, textRect, accel, this);
}
void COXBitmapMenu::DrawExpandItem(CDC* dc, const RECT& rect, UINT state) {
    GetMenuSkin()->DrawExpansionItem(dc, rect, state, this);
}

void COXBitmapMenu::DrawItem(LPDRAWITEMSTRUCT draw) {
    auto* info = reinterpret_cast<COXItemInfo*>(draw->itemData);
    if (info && std::find(m_itemInfos.begin(), m_itemInfos.end(), info) == m_itemInfos.end())
        info = nullptr;
    CDC dc;
    dc.Attach(draw->hDC);
    const RECT& item = draw->rcItem;
    bool separator = IsSeparatorId(draw->itemID);
    COXImageInfo* image = info ? info->GetImageInfo() : nullptr;
    RECT button{}, imageRect{}, text{}, accel{};
    if (!separator)
        DistributeSpace(&dc, image, item, button, imageRect, text, accel);

    // The item's position: the item carrying this record (and id).
    int position = -1;
    int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count && position < 0; ++i) {
        MENUITEMINFO mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        ::GetMenuItemInfo(m_hMenu, (UINT)i, TRUE, &mii);
        if (mii.dwItemData == draw->itemData && (mii.hSubMenu ? (UINT)-1 : mii.wID) == draw->itemID)
            position = i;
    }
    UINT state = draw->itemState;
    if (s_pRecentlyUsed && s_pRecentlyUsed->ShowsOnlyRecentlyUsed() && position >= 0 &&
        !s_pRecentlyUsed->IsRecentlyUsed(m_hMenu, position)) {
        state |= OXODS_RARELYUSED;
        if (position > 0 && s_pRecentlyUsed->IsRecentlyUsed(m_hMenu, position - 1))
            state |= OXODS_FIRSTOFRUN;
        if (position + 1 < count && s_pRecentlyUsed->IsRecentlyUsed(m_hMenu, position + 1))
            state |= OXODS_LASTOFRUN;
    }
    CString label = info ? info->GetText() : CString();
    if (separator) {
        DrawSeparator(&dc, item);
    } else if (draw->itemID != (UINT)-1 && !HasSubmenu(draw->itemID)) {
        DrawBackground(&dc, state, image, item, button);
        DrawButton(&dc, state, image, button);
        DrawImage(&dc, state, image, imageRect);
        if (draw->itemID == ID_OX_SHOWALLITEMS)
            DrawExpandItem(&dc, item, state);
        else
            DrawText(&dc, state, label, text, accel);
    } else {
        DrawSubmenuItem(&dc, state, label, image, item, button, text, accel);
    }
    if (m_nCustomizedItem >= 0 && position == m_nCustomizedItem)
        DrawCustomizeSelection(&dc, item);
    if (m_nInsertMark >= 0) {
        int mark = std::min(m_nInsertMark, count - 1);
        if (mark == position)
            DrawInsertMark(&dc, item, m_nInsertMark < count);
    }
    dc.Detach();
}

HBRUSH COXBitmapMenu::CreateDitherBrush(COLORREF first, COLORREF second) {
    HBITMAP bitmap = ::CreateCompatibleBitmap(nullptr, 8, 8);
    if (!bitmap) {
        HDC screen = ::GetDC(nullptr);
        bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
        ::ReleaseDC(nullptr, screen);
    }
    if (!bitmap)
        return nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < 8; ++y) {
        BYTE row = (y % 2 == 0) ? 0xAA : 0x55;
        for (int x = 0; x < 8; ++x)
            ::SetPixel(dc, x, y, (row & (0x80 >> x)) ? second : first);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    HBRUSH brush = ::CreatePatternBrush(bitmap);
    ::DeleteObject(bitmap);
    return brush;
}

// ---- Opening under a tool bar button

SIZE COXBitmapMenu::CalcPopupSize() {
    int count = ::GetMenuItemCount(m_hMenu);
    int width = 0, height = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_FTYPE;
        ::GetMenuItemInfo(m_hMenu, (UINT)i, TRUE, &mii);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, mii.hSubMenu ? (UINT)-1 : mii.wID, 0, 0, mii.dwItemData};
        MeasureItem(&mis);
        int h = (int)mis.itemHeight;
        if (h == 0)
            h = (mii.fType & MFT_SEPARATOR) ? 8 : 17;
        width = std::max(width, (int)mis.itemWidth);
        height += h;
    }
    return SIZE{width + 18, height + 6};
}

POINT COXBitmapMenu::CalcPopupPosition(CToolBar* toolBar, const RECT& button, UINT& flags, int& side) {
    SIZE size = CalcPopupSize();
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfo(::MonitorFromRect(&button, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& bounds = mi.rcMonitor;
    POINT p{0, 0};
    if (toolBar->GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) {
        p.y = button.bottom - 1;
        side = 1;
        if (p.y + size.cy > bounds.bottom) {
            flags |= TPM_BOTTOMALIGN;
            p.y = button.top + 1;
            side = 8;
        }
        p.x = std::max<LONG>(bounds.left, std::min<LONG>(button.left, bounds.right - size.cx));
    } else {
        p.x = button.right;
        side = 2;
        if (p.x + size.cx > bounds.right) {
            flags |= TPM_RIGHTALIGN;
            p.x = button.left;
            side = 4;
        }
        p.y = std::max<LONG>(bounds.top, button.top + 1);
        if (p.y + size.cy > bounds.bottom)
            p.y = bounds.bottom - size.cy - 1;
    }
    return p;
}

BOOL COXBitmapMenu::TrackPopupFromToolBar(CToolBar* toolBar, UINT flags, CWnd* owner) {
    CToolBarCtrl& ctrl = toolBar->GetToolBarCtrl();
    int index = -1;
    int count = ctrl.GetButtonCount();
    for (int i = 0; i < count && index < 0; ++i) {
        TBBUTTON b{};
        if (ctrl.GetButton(i, &b) && (b.fsState & TBSTATE_PRESSED))
            index = i;
    }
    RECT rect{};
    if (index < 0) {
        int hot = ctrl.GetHotItem();
        if (hot >= 0 && hot < count)
            index = hot;
    }
    if (index >= 0)
        ctrl.GetItemRect(index, &rect);
    InflateRect(&rect, 3, 3);
    ::MapWindowPoints(toolBar->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    int side = 1;
    POINT at = CalcPopupPosition(toolBar, rect, flags, side);

    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }

    auto shadow = std::make_unique<COXShadowedItemWnd>(toolBar, index, side);
    RECT exclude{};
    if (index >= 0)
        ctrl.GetItemRect(index, &exclude);
    exclude.top += 1;
    exclude.bottom -= 1;
    ::MapWindowPoints(toolBar->m_hWnd, nullptr, reinterpret_cast<POINT*>(&exclude), 2);
    m_rectExclude = exclude;
    RECT shadowRect{exclude.left, exclude.top, exclude.right + 4, exclude.bottom + 4};
    shadow->CreateEx(WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW, nullptr, nullptr, WS_CHILD | WS_VISIBLE, shadowRect,
                     CWnd::FromHandle(::GetDesktopWindow()), 0);
    BOOL result = TrackPopupMenu(flags, at.x, at.y, owner);
    if (shadow->m_hWnd)
        shadow->DestroyWindow();
    m_rectExclude = RECT{0, 0, 0, 0};
    return result;
}

COXCoolToolBarView* COXShadowedItemWnd::GetToolBarView() const {
    return dynamic_cast<COXCoolToolBarView*>(m_pToolBar);
}

LRESULT COXShadowedItemWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        COXBitmapMenu::GetMenuSkin()->OnPaintShadowedItem(this);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CBitmapMenuCmdUI::SetText(LPCTSTR text) {
    if (m_pMenu) {
        if (auto* bitmapMenu = dynamic_cast<COXBitmapMenu*>(m_pMenu)) {
            MENUITEMINFO mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_DATA | MIIM_FTYPE;
            if (::GetMenuItemInfo(bitmapMenu->m_hMenu, m_nIndex, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) &&
                mii.dwItemData) {
                for (COXItemInfo* info : bitmapMenu->GetItemInfos()) {
                    if ((ULONG_PTR)info == mii.dwItemData) {
                        info->SetText(text);
                        return;
                    }
                }
            }
        }
    }
    CCmdUI::SetText(text);
}
