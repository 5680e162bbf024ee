#include "guilib/skins/OXTabSkin.h"

#include <algorithm>

#include "guilib/controls/OXSkinnedTabCtrl.h"
#include "guilib/skins/OXSkin.h"
#include "platform/user/Modules.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

COLORREF LightFace() {
    return COXSkinXP::ScaleColor(Sys(COLOR_BTNFACE), 1.2f, 1.2f, 1.2f);
}

DWORD StyleOf(CWnd* wnd) {
    return (DWORD)::GetWindowLong(wnd->GetSafeHwnd(), GWL_STYLE);
}

void Line(CDC* dc, int x0, int y0, int x1, int y1) {
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
}

}  // namespace

// Classic.

BOOL COXTabSkinClassic::IsVisualStyleActive() {
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionEx(&version) || version.dwMajorVersion != 5 || version.dwMinorVersion != 1)
        return FALSE;
    BOOL themed = FALSE;
    if (HMODULE theme = LoadLibrary("uxtheme.dll")) {
        auto appThemed = reinterpret_cast<ISTHEMEACTIVEPROC>(GetProcAddress(theme, "IsAppThemed"));
        auto active = reinterpret_cast<ISTHEMEACTIVEPROC>(GetProcAddress(theme, "IsThemeActive"));
        themed = appThemed && active && appThemed() && active();
        FreeLibrary(theme);
    }
    if (!themed)
        return FALSE;
    BOOL six = FALSE;
    if (HMODULE comctl = LoadLibrary("comctl32.dll")) {
        auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(comctl, "DllGetVersion"));
        DLLVERSIONINFO info{};
        info.cbSize = 20;
        six = get && get(&info) == S_OK && info.dwMajorVersion >= 6;
        FreeLibrary(comctl);
    }
    return six;
}

void COXTabSkinClassic::DrawTabCtrl(CTabCtrl* tab) {
    if (DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tab))
        tab->Default();
    if (!IsVisualStyleActive() || !(StyleOf(tab) & TCS_VERTICAL))
        return;
    // The themed control draws no vertical labels: draw them turned 90 degrees.
    CClientDC dc(tab);
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = 344;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    for (int i = 0; i < tab->GetItemCount(); ++i) {
        RECT r{};
        tab->GetItemRect(i, &r);
        char text[256] = {};
        TCITEM item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.cchTextMax = 255;
        tab->GetItem(i, &item);
        int height = r.bottom - r.top;
        int down = height;
        HIMAGELIST images = tab->GetImageList();
        if (images && item.iImage >= 0) {
            int iw = 0, ih = 0;
            ImageList_GetIconSize(images, &iw, &ih);
            down = height - 10;
            if (!(StyleOf(tab) & TCS_RIGHT))
                down -= ih;
        }
        OffsetRect(&r, 0, down);
        LOGFONT lf = ncm.lfMenuFont;
        lf.lfEscapement = 900;
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* old = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(text, -1, &r, DT_NOCLIP);
        dc.SelectObject(old);
    }
}

void COXTabSkinClassic::DrawSpinCtrl(CSpinButtonCtrl* spin) {
    spin->Default();
}

void COXTabSkinClassic::DrawPageBorder(CDC* dc, const RECT& rect, CWnd*) {
    dc->Draw3dRect(&rect, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
}

void COXTabSkinClassic::DrawNonClient(CWnd* tab) {
    tab->Default();
}

// Office XP.

COXTabSkinXP::COXTabSkinXP(COXSkinXP* skin) : m_pSkin(skin) {
    m_penShadow.CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = 344;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    m_fontItem.CreateFontIndirect(&ncm.lfMenuFont);
    m_brushDark.CreateSolidBrush(skin->GetDarkTextColor());
    m_penDark.CreatePen(PS_SOLID, 1, skin->GetDarkTextColor());
}

COXTabSkinXP::~COXTabSkinXP() = default;

BOOL COXTabSkinXP::ClipItemToSpin(int, RECT& rect, CTabCtrl* tab) {
    COXSkinnedSpinCtrl* spin = COXSkinnedTabCtrl::GetEmbeddedSpin(tab);
    if (!spin || !spin->GetSafeHwnd() || !::IsWindowVisible(spin->GetSafeHwnd()))
        return TRUE;
    RECT spinRect{}, client{};
    ::GetWindowRect(spin->GetSafeHwnd(), &spinRect);
    ::GetClientRect(tab->GetSafeHwnd(), &client);
    int w = spinRect.right - spinRect.left;
    int limit = client.right - w;
    if (rect.left > limit || rect.right <= client.left + 3)
        return FALSE;
    if (rect.right > limit)
        rect.right = limit;
    return TRUE;
}

BOOL COXTabSkinXP::IsNextItemPressed(int index, CTabCtrl* tab) {
    if (index + 1 >= tab->GetItemCount())
        return FALSE;
    TCITEM item{};
    item.mask = TCIF_STATE;
    item.dwStateMask = TCIS_BUTTONPRESSED;
    tab->GetItem(index + 1, &item);
    return (item.dwState & TCIS_BUTTONPRESSED) != 0;
}

void COXTabSkinXP::FillStrip(CDC* dc, const RECT& rect, BOOL) {
    dc->FillSolidRect(&rect, LightFace());
}

void COXTabSkinXP::FillItem(CDC* dc, const RECT& rect, BOOL selected, BOOL) {
    dc->FillSolidRect(&rect, selected ? Sys(COLOR_BTNFACE) : LightFace());
}

void COXTabSkinXP::DrawSeparatorLine(CDC* dc, int x, int top, int bottom) {
    CPen* old = dc->SelectObject(&m_penShadow);
    Line(dc, x, top, x, bottom);
    dc->SelectObject(old);
}

void COXTabSkinXP::DrawTabCtrl(CTabCtrl* tab) {
    CPaintDC paint(tab);
    RECT client{};
    tab->GetClientRect(&client);
    int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0)
        return;
    CDC control, items;
    control.CreateCompatibleDC(&paint);
    items.CreateCompatibleDC(&paint);
    CBitmap controlBitmap, itemsBitmap;
    controlBitmap.CreateCompatibleBitmap(&paint, w, h);
    itemsBitmap.CreateCompatibleBitmap(&paint, w, h);
    CBitmap* oldControl = control.SelectObject(&controlBitmap);
    CBitmap* oldItems = items.SelectObject(&itemsBitmap);

    COXSkinnedSpinCtrl* spin = COXSkinnedTabCtrl::GetEmbeddedSpin(tab);
    if (spin && !spin->GetSafeHwnd()) {
        for (HWND child = ::GetWindow(tab->GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char name[17] = {};
            ::GetClassName(child, name, sizeof name);
            if (strcmp(name, UPDOWN_CLASS) == 0) {
                spin->SubclassWindow(child);
                break;
            }
        }
    }

    FillTabBackground(&control, client, tab);
    RECT display = client;
    tab->AdjustRect(FALSE, &display);
    RECT frame = display;
    auto* skinned = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tab);
    RECT page{};
    if (skinned && skinned->GetPageRect(&page)) {
        frame = page;
        InflateRect(&frame, 1, 1);
    } else {
        frame.bottom -= 1;
    }
    CBrush shadow(Sys(COLOR_BTNSHADOW));
    control.FrameRect(&frame, &shadow);

    BOOL bottom = (StyleOf(tab) & TCS_BOTTOM) != 0;
    if (tab->GetRowCount() < 2) {
        if (!bottom) {
            RECT strip{client.left, client.top, client.right, display.top - 3};
            FillStrip(&control, strip, FALSE);
            HGDIOBJ old = control.SelectObject(GetStockObject(WHITE_PEN));
            Line(&control, client.left, display.top - 3, client.right, display.top - 3);
            control.SelectObject(old);
        } else {
            RECT strip{client.left, display.bottom + 3, client.right, client.bottom};
            FillStrip(&control, strip, TRUE);
            HGDIOBJ old = control.SelectObject(GetStockObject(BLACK_PEN));
            Line(&control, client.left, display.bottom + 2, client.right, display.bottom + 2);
            control.SelectObject(old);
        }
    }

    int count = tab->GetItemCount();
    int selected = tab->GetCurSel();
    auto drawOne = [&](int i) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_TAB;
        dis.CtlID = (UINT)::GetDlgCtrlID(tab->GetSafeHwnd());
        dis.itemID = (UINT)i;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = i == selected ? 1 : 0;
        dis.hwndItem = tab->GetSafeHwnd();
        dis.hDC = items.GetSafeHdc();
        tab->GetItemRect(i, &dis.rcItem);
        DrawItemContent(&dis, tab);
        DrawItemBorder(&dis, tab);
        RECT shown = dis.rcItem;
        if (ClipItemToSpin(i, shown, tab))
            control.BitBlt(shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, &items, shown.left,
                           shown.top, SRCCOPY);
    };
    for (int i = 0; i < count; ++i)
        if (i != selected)
            drawOne(i);
    if (selected >= 0 && selected < count)
        drawOne(selected);

    paint.BitBlt(0, 0, w, h, &control, 0, 0, SRCCOPY);
    control.SelectObject(oldControl);
    items.SelectObject(oldItems);
    if (spin && spin->GetSafeHwnd() && ::IsWindowVisible(spin->GetSafeHwnd()))
        spin->Invalidate(TRUE);
}

void COXTabSkinXP::DrawItemContent(DRAWITEMSTRUCT* item, CTabCtrl* tab) {
    CDC* dc = CDC::FromHandle(item->hDC);
    BOOL selected = item->itemState == 1;
    BOOL bottom = (StyleOf(tab) & TCS_BOTTOM) != 0;
    RECT r = item->rcItem;
    FillItem(dc, r, selected, bottom);
    char text[256] = {};
    TCITEM info{};
    info.mask = TCIF_TEXT | TCIF_IMAGE;
    info.pszText = text;
    info.cchTextMax = 255;
    tab->GetItem((int)item->itemID, &info);
    RECT textRect = r;
    HIMAGELIST images = tab->GetImageList();
    if (images && info.iImage >= 0) {
        int iw = 0, ih = 0;
        ImageList_GetIconSize(images, &iw, &ih);
        ImageList_Draw(images, info.iImage, item->hDC, r.left + 3, r.top + 2, ILD_TRANSPARENT);
        textRect.left = r.left + 3 + iw;
    }
    OffsetRect(&textRect, 0, 3);
    CFont* oldFont = dc->SelectObject(&m_fontItem);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(selected ? Sys(COLOR_BTNTEXT) : m_pSkin->GetDarkTextColor());
    dc->DrawText(text, -1, &textRect, DT_CENTER);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
    if (selected && !(StyleOf(tab) & TCS_FOCUSNEVER)) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        dc->DrawFocusRect(&focus);
    }
}

void COXTabSkinXP::DrawItemBorder(DRAWITEMSTRUCT* item, CTabCtrl* tab) {
    CDC* dc = CDC::FromHandle(item->hDC);
    RECT r = item->rcItem;
    BOOL selected = item->itemState == 1;
    RECT client{};
    tab->GetClientRect(&client);
    RECT display = client;
    tab->AdjustRect(FALSE, &display);
    HGDIOBJ white = GetStockObject(WHITE_PEN), black = GetStockObject(BLACK_PEN);
    if (!(StyleOf(tab) & TCS_BOTTOM)) {
        if (selected) {
            HGDIOBJ old = dc->SelectObject(white);
            dc->MoveTo(r.left, r.bottom - 1);
            dc->LineTo(r.left, r.top);
            dc->LineTo(r.right - 1, r.top);
            dc->SelectObject(black);
            Line(dc, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
            dc->SelectObject(old);
            return;
        }
        if (!IsNextItemPressed((int)item->itemID, tab))
            DrawSeparatorLine(dc, r.right - 1, r.top + 3, r.bottom - 3);
        int d = display.top - r.top;
        int height = r.bottom - r.top;
        CGdiObject* old = nullptr;
        if (d > height + 3) {
            old = dc->SelectObject(&m_penShadow);
            Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
        } else if (d > 0) {
            old = CGdiObject::FromHandle(dc->SelectObject(white));
            Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
        } else {
            old = dc->SelectObject(&m_penShadow);
            Line(dc, r.left, r.top, r.right, r.top);
        }
        dc->SelectObject(old);
    } else {
        if (selected) {
            HGDIOBJ old = dc->SelectObject(white);
            Line(dc, r.left, r.top, r.left, r.bottom - 1);
            dc->SelectObject(black);
            dc->LineTo(r.right - 1, r.bottom - 1);
            Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
            dc->SelectObject(old);
            return;
        }
        if (!IsNextItemPressed((int)item->itemID, tab))
            DrawSeparatorLine(dc, r.right - 1, r.top + 3, r.bottom - 3);
        int d = r.top - display.bottom;
        CGdiObject* old = nullptr;
        if (d < 0) {
            old = dc->SelectObject(&m_penShadow);
            Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1);
        } else if (d <= 3) {
            old = CGdiObject::FromHandle(dc->SelectObject(black));
            Line(dc, r.left, r.top, r.right, r.top);
        } else {
            old = dc->SelectObject(&m_penShadow);
            Line(dc, r.left, r.top, r.right, r.top);
        }
        dc->SelectObject(old);
    }
}

void COXTabSkinXP::DrawLeftArrow(CDC* dc, const RECT& box, BOOL canScroll) {
    int x0 = box.left + (box.right - box.left - 4) / 2, y0 = box.top + (box.bottom - box.top - 8) / 2;
    POINT p[4] = {{x0, y0 + 3}, {x0 + 4, y0 - 1}, {x0 + 4, y0 + 7}, {x0, y0 + 3}};
    CPen* oldPen = dc->SelectObject(&m_penDark);
    CBrush* oldBrush = canScroll ? dc->SelectObject(&m_brushDark) : nullptr;
    dc->Polygon(p, 4);
    if (oldBrush)
        dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void COXTabSkinXP::DrawRightArrow(CDC* dc, const RECT& box, BOOL canScroll) {
    int x0 = box.left + (box.right - box.left - 4) / 2, y0 = box.top + (box.bottom - box.top - 8) / 2;
    POINT p[4] = {{x0 + 4, y0 + 3}, {x0, y0 - 1}, {x0, y0 + 7}, {x0 + 4, y0 + 3}};
    CPen* oldPen = dc->SelectObject(&m_penDark);
    CBrush* oldBrush = canScroll ? dc->SelectObject(&m_brushDark) : nullptr;
    dc->Polygon(p, 4);
    if (oldBrush)
        dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void COXTabSkinXP::DrawHotFrame(CDC* dc, const RECT& box) {
    RECT r = box;
    InflateRect(&r, -1, -1);
    COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    if (GetKeyState(VK_LBUTTON) >= 0)
        dc->Draw3dRect(&r, white, black);
    else
        dc->Draw3dRect(&r, black, white);
}

void COXTabSkinXP::DrawSpinCtrl(CSpinButtonCtrl* spin) {
    CPaintDC paint(spin);
    RECT client{};
    spin->GetClientRect(&client);
    int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0)
        return;
    CDC mem;
    mem.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, w, h);
    CBitmap* old = mem.SelectObject(&bitmap);
    CWnd* parent = spin->GetParent();
    BOOL bottom = parent && (StyleOf(parent) & TCS_BOTTOM);
    FillStrip(&mem, client, bottom);
    RECT area = client;
    if (bottom)
        area.bottom -= 2;
    else
        area.top += 2;
    area.right -= 2;
    int half = (area.right - (area.left + 2)) / 2;
    RECT leftBox{area.left + 2, area.top, half + 1, area.bottom};
    RECT rightBox{half, area.top, 2 * half - 1, area.bottom};
    int lower = 0, upper = 0;
    spin->GetRange32(lower, upper);
    int pos = LOWORD(::SendMessage(spin->GetSafeHwnd(), UDM_GETPOS, 0, 0));
    BOOL canLeft = pos != 0, canRight = pos != upper;
    DrawLeftArrow(&mem, leftBox, canLeft);
    DrawRightArrow(&mem, rightBox, canRight);
    POINT cursor{};
    GetCursorPos(&cursor);
    ::ScreenToClient(spin->GetSafeHwnd(), &cursor);
    if (PtInRect(&rightBox, cursor) && canRight)
        DrawHotFrame(&mem, rightBox);
    else if (PtInRect(&leftBox, cursor) && canLeft)
        DrawHotFrame(&mem, leftBox);
    paint.BitBlt(0, 0, w, h, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

void COXTabSkinXP::DrawPageBorder(CDC* dc, const RECT& rect, CWnd*) {
    dc->Draw3dRect(&rect, m_pSkin->GetFrameShadowColor(), m_pSkin->GetFrameShadowColor());
}

void COXTabSkinXP::DrawNonClient(CWnd* tab) {
    tab->Default();
    CWindowDC dc(tab);
    HWND h = tab->GetSafeHwnd();
    RECT window{}, client{};
    OXGetWindowRects(h, window, client);
    dc.ExcludeClipRect(&client);
    CBrush face(Sys(COLOR_BTNFACE)), dark(Sys(COLOR_3DDKSHADOW));
    dc.FrameRect(&window, &face);
    InflateRect(&window, -1, -1);
    dc.FrameRect(&window, &dark);
}

int COXTabSkinXP::AdjustDisplayRect(RECT& rect, int amount, CTabCtrl* tab) {
    RECT client{};
    tab->GetClientRect(&client);
    if (IsRectEmpty(&client))
        return amount;
    RECT display = client;
    tab->AdjustRect(FALSE, &display);
    if (display.left - client.left < 8)
        rect.left -= amount;
    if (display.top - client.top < 8)
        rect.top -= amount;
    if (client.right - display.right < 8)
        rect.right += amount;
    if (client.bottom - display.bottom < 8)
        rect.bottom += amount;
    return amount;
}

void COXTabSkinXP::FillTabBackground(CDC* dc, const RECT& rect, CTabCtrl*) {
    dc->FillSolidRect(&rect, Sys(COLOR_BTNFACE));
}

// Office 2003.

COXTabSkin2003::COXTabSkin2003(COXSkin2003* skin) : COXTabSkinXP(skin), m_pSkin2003(skin) {}

void COXTabSkin2003::FillStrip(CDC* dc, const RECT& rect, BOOL tabsAtBottom) {
    COLORREF dark = m_pSkin2003->GetBarGradientDarkColor(), light = m_pSkin2003->GetBarGradientLightColor();
    if (tabsAtBottom)
        m_pSkin2003->FillGradient(dc, rect, light, dark, 1);
    else
        m_pSkin2003->FillGradient(dc, rect, dark, light, 1);
}

void COXTabSkin2003::FillItem(CDC* dc, const RECT& rect, BOOL selected, BOOL tabsAtBottom) {
    if (!selected) {
        FillStrip(dc, rect, tabsAtBottom);
        return;
    }
    COLORREF light = m_pSkin2003->GetCaptionLightColor(), face = m_pSkin2003->GetFaceColor();
    if (tabsAtBottom)
        m_pSkin2003->FillGradient(dc, rect, face, light, 1);
    else
        m_pSkin2003->FillGradient(dc, rect, light, face, 1);
}

void COXTabSkin2003::DrawSeparatorLine(CDC* dc, int x, int top, int bottom) {
    dc->FillSolidRect(x, top, 1, bottom - top, m_pSkin2003->GetFrameShadowColor());
}

void COXTabSkin2003::DrawTabCtrl(CTabCtrl* tab) {
    COXTabSkinXP::DrawTabCtrl(tab);
}

void COXTabSkin2003::DrawSpinCtrl(CSpinButtonCtrl* spin) {
    COXTabSkinXP::DrawSpinCtrl(spin);
}

void COXTabSkin2003::DrawItemContent(DRAWITEMSTRUCT* item, CTabCtrl* tab) {
    COXTabSkinXP::DrawItemContent(item, tab);
}

void COXTabSkin2003::FillTabBackground(CDC* dc, const RECT& rect, CTabCtrl*) {
    dc->FillSolidRect(&rect, m_pSkin2003->GetFaceColor());
}

void COXTabSkin2003::DrawItemBorder(DRAWITEMSTRUCT* item, CTabCtrl* tab) {
    COXTabSkinXP::DrawItemBorder(item, tab);
}
