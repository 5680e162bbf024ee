#include "guilib/skins/OXStatusbarSkin.h"

#include <algorithm>

#include "guilib/skins/OXSkin.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/user/Controls.h"
#include "platform/user/StatusBar.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

// Width of "999%" in the pane's font.
int PercentWidth(COXStatusBarView* bar, int index) {
    HWND h = bar->GetBarHwnd();
    HDC dc = ::GetDC(h);
    HFONT font = bar->GetPaneFont(index);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    RECT r{};
    ::DrawText(dc, "999%", 4, &r, DT_SINGLELINE | DT_CALCRECT);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(h, dc);
    return r.right - r.left;
}

// Copies the bitmap stretched to the destination, leaving out its transparent colour.
void DrawTransparentStretch(CDC* dc, const OXPaneBitmap& record, const RECT& dst, SIZE source) {
    int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    if (dw <= 0 || dh <= 0 || source.cx <= 0 || source.cy <= 0)
        return;
    CDC image;
    image.CreateCompatibleDC(dc);
    HGDIOBJ oldImage = image.SelectObject((HGDIOBJ)record.bitmap);
    // Work bitmap at the destination size: destination, then the bitmap over it where not transparent.
    CDC work;
    work.CreateCompatibleDC(dc);
    CBitmap workBitmap;
    workBitmap.CreateCompatibleBitmap(dc, dw, dh);
    CBitmap* oldWork = work.SelectObject(&workBitmap);
    work.BitBlt(0, 0, dw, dh, dc, dst.left, dst.top, SRCCOPY);
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            COLORREF c = image.GetPixel(x * source.cx / dw, y * source.cy / dh);
            if (c != record.transparent)
                work.SetPixel(x, y, c);
        }
    dc->BitBlt(dst.left, dst.top, dw, dh, &work, 0, 0, SRCCOPY);
    work.SelectObject(oldWork);
    image.SelectObject(oldImage);
}

}  // namespace

std::vector<int> OXShareStretchRoom(int room, int stretchingPanes) {
    std::vector<int> widths;
    int left = std::max(room, 0);
    for (int i = 0; i < stretchingPanes; ++i) {
        int take = left / (stretchingPanes - i);
        widths.push_back(take);
        left -= take;
    }
    return widths;
}

BOOL COXStatusbarSkin::GetPaneInnerRect(COXStatusBarView* bar, int index, RECT& rect, BOOL shrinkBottom) {
    HWND h = bar->GetBarHwnd();
    int borders[3] = {};
    ::SendMessage(h, SB_GETBORDERS, 0, (LPARAM)borders);
    ::SendMessage(h, SB_GETRECT, (WPARAM)index, (LPARAM)&rect);
    if (IsRectEmpty(&rect))
        return FALSE;
    InflateRect(&rect, -borders[2], -(borders[0] + 1));
    if (shrinkBottom)
        rect.bottom -= 1;
    return TRUE;
}

void COXStatusbarSkin::RecalcStatusPanes(COXStatusBarView* bar, BOOL relayout, BOOL refreshTexts) {
    int count = bar->GetPaneCount();
    HWND h = bar->GetBarHwnd();
    if (relayout && count > 0) {
        int borders[3] = {};
        ::SendMessage(h, SB_GETBORDERS, 0, (LPARAM)borders);
        int room = bar->GetInsideWidth();
        int stretching = 0;
        for (int i = 0; i < count; ++i) {
            OXStatusPane* pane = bar->GetPaneRecord(i);
            room -= pane->width + 6 + borders[2];
            if (pane->style & OXSBPS_STRETCH)
                ++stretching;
        }
        std::vector<int> shares = OXShareStretchRoom(room, stretching);
        std::vector<int> rights((size_t)count);
        int x = 0, next = 0;
        for (int i = 0; i < count; ++i) {
            OXStatusPane* pane = bar->GetPaneRecord(i);
            x += pane->width + 6 + borders[2];
            if (pane->style & OXSBPS_STRETCH)
                x += shares[(size_t)next++];
            rights[(size_t)i] = x;
        }
        ::SendMessage(h, SB_SETPARTS, (WPARAM)count, (LPARAM)rights.data());
        for (int i = 0; i < count; ++i) {
            OXStatusPane* pane = bar->GetPaneRecord(i);
            OXPaneProgress* progress = bar->GetPaneProgress(i);
            if (!(pane->style & OXSBPS_PROGRESS) || !progress)
                continue;
            int percent = progress->showPercent ? PercentWidth(bar, i) : 0;
            if (!progress->control && !CreatePaneProgress(bar, i, progress))
                continue;
            RECT inner{};
            GetPaneInnerRect(bar, i, inner, FALSE);
            inner.left += percent;
            ::SetWindowPos(progress->control, nullptr, inner.left, inner.top, inner.right - inner.left,
                           inner.bottom - inner.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
    if (refreshTexts)
        for (int i = 0; i < count; ++i) {
            OXStatusPane* pane = bar->GetPaneRecord(i);
            if (pane->flags & OXSBPF_UPDATE)
                bar->SetPaneText(i, pane->text);
        }
}

BOOL COXStatusbarSkin::CreatePaneProgress(COXStatusBarView* bar, int index, OXPaneProgress* record) {
    if (!record)
        return FALSE;
    if (record->control)
        return TRUE;
    RECT r{};
    GetPaneInnerRect(bar, index, r, TRUE);
    if (record->showPercent)
        r.left += PercentWidth(bar, index);
    bar->SetPaneText(index, "");
    HWND control = ::CreateWindowEx(0, PROGRESS_CLASS, nullptr, WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, bar->GetBarHwnd(), nullptr, nullptr, nullptr);
    if (!control)
        return FALSE;
    ::SetWindowLong(control, GWL_EXSTYLE, ::GetWindowLong(control, GWL_EXSTYLE) & ~WS_EX_STATICEDGE);
    ::SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    record->control = control;
    record->rect = r;
    return TRUE;
}

void COXStatusbarSkin::DrawPaneBitmap(COXStatusBarView* bar, CDC* dc, int index, UINT style) {
    OXPaneBitmap* record = bar->GetPaneBitmap(index);
    if (!record || !record->bitmap || (style & OXSBPS_NOBITMAP))
        return;
    RECT inner{};
    if (!GetPaneInnerRect(bar, index, inner, FALSE))
        return;
    int iw = inner.right - inner.left, ih = inner.bottom - inner.top;
    int bw = std::min(record->width, iw), bh = std::min(record->height, ih);
    RECT dst = inner;
    if (record->height < ih) {
        int spare = ih - record->height;
        dst.top = inner.top + spare / 2;
        dst.bottom = dst.top + record->height;
    } else {
        dst.bottom = dst.top + bh;
    }
    SIZE source{record->width, record->height};
    int align = record->alignment;
    BOOL cut = align >= 5;
    if (cut)
        align -= 3;
    switch (align) {
    case 1:
        dst.left = inner.left;
        dst.right = inner.right;
        break;
    case 2:
        dst.right = dst.left + bw;
        break;
    case 3:
        dst.left = inner.left + (iw - bw) / 2;
        dst.right = dst.left + bw;
        break;
    default:
        dst.left = inner.right - bw;
        dst.right = inner.right;
        break;
    }
    if (cut || record->height > ih || record->width > iw)
        source = SIZE{std::min<int>(dst.right - dst.left, record->width), std::min<int>(dst.bottom - dst.top, record->height)};
    DrawTransparentStretch(dc, *record, dst, source);
}

void COXStatusbarSkin::PaintBitmaps(CDC* dc, COXStatusBarView* bar) {
    for (int i = 0; i < bar->GetPaneCount(); ++i) {
        OXStatusPane* pane = bar->GetPaneRecord(i);
        if (!(pane->style & OXSBPS_NOBITMAP) && bar->GetPaneBitmap(i))
            DrawPaneBitmap(bar, dc, i, pane->style);
    }
}

void COXStatusbarSkinClassic::DrawStatusBar(COXStatusBarView* bar) {
    bar->Default();
    CClientDC dc(CWnd::FromHandle(bar->GetBarHwnd()));
    RecalcStatusPanes(bar, FALSE, TRUE);
    PaintBitmaps(&dc, bar);
}

// Office XP.

RECT COXStatusbarSkinXP::PaneRect(COXStatusBarView* bar, int index) {
    RECT r{};
    ::SendMessage(bar->GetBarHwnd(), SB_GETRECT, (WPARAM)index, (LPARAM)&r);
    if (index == bar->GetPaneCount() - 1)
        r.right = r.left + 6 + bar->GetPaneRecord(index)->width;
    return r;
}

BOOL COXStatusbarSkinXP::HasGrip(COXStatusBarView* bar) {
    HWND parent = ::GetParent(bar->GetBarHwnd());
    if (!parent)
        return TRUE;
    DWORD style = (DWORD)::GetWindowLong(parent, GWL_STYLE);
    return (style & WS_THICKFRAME) && !(style & WS_MAXIMIZE);
}

void COXStatusbarSkinXP::DrawStatusBar(COXStatusBarView* bar) {
    CPaintDC dc(CWnd::FromHandle(bar->GetBarHwnd()));
    RecalcStatusPanes(bar, FALSE, TRUE);
    DrawPanes(&dc, bar);
    DrawPaneBorders(&dc, bar);
    DrawSizeGrip(&dc, bar);
    PaintBitmaps(&dc, bar);
}

void COXStatusbarSkinXP::FillPanesBackground(CDC* dc, const RECT& client) {
    dc->FillSolidRect(&client, Sys(COLOR_BTNFACE));
}

void COXStatusbarSkinXP::DrawPanes(CDC* dc, COXStatusBarView* bar) {
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    FillPanesBackground(dc, client);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    for (int i = 0; i < bar->GetPaneCount(); ++i) {
        RECT r = PaneRect(bar, i);
        UINT id = bar->GetPaneRecord(i)->id;
        int vk = id == ID_INDICATOR_CAPS ? VK_CAPITAL : id == ID_INDICATOR_NUM ? VK_NUMLOCK : id == ID_INDICATOR_SCRL ? VK_SCROLL : 0;
        if (vk) {
            DrawIndicatorPane(dc, r, bar, i, keys[vk] & 1);
            continue;
        }
        DRAWITEMSTRUCT dis{};
        dis.itemID = (UINT)i;
        dis.hDC = dc->GetSafeHdc();
        dis.rcItem = r;
        dis.hwndItem = bar->GetBarHwnd();
        bar->DrawItem(&dis);
    }
}

void COXStatusbarSkinXP::DrawIndicatorPane(CDC* dc, const RECT& rect, COXStatusBarView* bar, int index, BOOL on) {
    HFONT font = (HFONT)::SendMessage(bar->GetBarHwnd(), WM_GETFONT, 0, 0);
    HGDIOBJ old = font ? dc->SelectObject((HGDIOBJ)font) : nullptr;
    COLORREF oldColour = dc->SetTextColor(on ? Sys(COLOR_BTNTEXT) : m_pSkin->GetGrayTextColor());
    int oldMode = dc->SetBkMode(TRANSPARENT);
    RECT r = rect;
    dc->DrawText(bar->GetPaneRecord(index)->text, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColour);
    if (old)
        dc->SelectObject(old);
}

void COXStatusbarSkinXP::DrawPaneBorders(CDC* dc, COXStatusBarView* bar) {
    CBrush brush(COXSkinXP::AdjustColor(Sys(COLOR_BTNFACE), 17, 12, 16));
    for (int i = 0; i < bar->GetPaneCount(); ++i) {
        RECT r = PaneRect(bar, i);
        dc->FrameRect(&r, &brush);
    }
}

void COXStatusbarSkinXP::DrawSizeGrip(CDC* dc, COXStatusBarView* bar) {
    if (!HasGrip(bar))
        return;
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    int side = (client.bottom - client.top) & ~1;
    RECT grip{client.right - side, client.bottom - side, client.right, client.bottom};
    dc->FillSolidRect(&grip, Sys(COLOR_BTNFACE));
    CPen shadow(PS_SOLID, 1, Sys(COLOR_BTNSHADOW)), white(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* old = dc->SelectObject(&shadow);
    for (int i = 0; i < side; i += 4) {
        dc->SelectObject(&shadow);
        dc->MoveTo(grip.right - i, grip.bottom);
        dc->LineTo(grip.right, grip.bottom - i);
        dc->SelectObject(&white);
        dc->MoveTo(grip.right - i - 1, grip.bottom);
        dc->LineTo(grip.right, grip.bottom - i - 1);
    }
    dc->SelectObject(old);
}

// Office 2003.

COXStatusbarSkin2003::COXStatusbarSkin2003(COXSkin2003* skin) : COXStatusbarSkinXP(skin), m_pSkin2003(skin) {}

void COXStatusbarSkin2003::DrawStatusBackground(CDC* dc, const RECT& rect) {
    RECT top = rect, bottom = rect, mid = rect;
    top.bottom = std::min<LONG>(rect.top + 3, rect.bottom);
    bottom.top = std::max<LONG>(rect.bottom - 5, top.bottom);
    mid.top = top.bottom;
    mid.bottom = bottom.top;
    m_pSkin2003->FillGradient(dc, top, m_pSkin2003->GetStatusBarDarkColor(), m_pSkin2003->GetStatusBarMidColor(), 1);
    if (mid.bottom > mid.top)
        dc->FillSolidRect(&mid, m_pSkin2003->GetStatusBarMidColor());
    m_pSkin2003->FillGradient(dc, bottom, m_pSkin2003->GetStatusBarMidColor(), m_pSkin2003->GetStatusBarLightColor(), 1);
}

void COXStatusbarSkin2003::DrawPaneBorders(CDC* dc, COXStatusBarView* bar) {
    for (int i = 0; i < bar->GetPaneCount(); ++i) {
        RECT r = PaneRect(bar, i);
        dc->FillSolidRect(r.right, r.top + 2, 1, r.bottom - r.top - 4, m_pSkin2003->GetLightShadowColor());
        dc->FillSolidRect(r.right + 1, r.top + 3, 1, r.bottom - r.top - 4, RGB(255, 255, 255));
    }
}

void COXStatusbarSkin2003::DrawSizeGrip(CDC* dc, COXStatusBarView* bar) {
    if (!HasGrip(bar))
        return;
    RECT client{};
    ::GetClientRect(bar->GetBarHwnd(), &client);
    int side = (client.bottom - client.top) & ~1;
    RECT grip{client.right - side, client.bottom - side, client.right, client.bottom};
    RECT back = grip;
    back.left += 3;
    DrawStatusBackground(dc, back);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            if (row + column < 2)
                continue;
            int x = grip.left + 7 + 4 * row, y = grip.top + 7 + 4 * column;
            dc->FillSolidRect(x, y, 2, 2, Sys(COLOR_WINDOW));
            dc->FillSolidRect(x - 1, y - 1, 2, 2, m_pSkin2003->GetSoftShadowColor());
        }
}

// Frame skins.

COLORREF COXFrameSkinClassic::GetFrameFaceColor() {
    return Sys(COLOR_BTNFACE);
}

COLORREF COXFrameSkinClassic::GetFrameBorderColor() {
    return Sys(COLOR_BTNSHADOW);
}

void COXFrameSkinXP::DrawFrameBorder(CWnd* window) {
    CWindowDC dc(window);
    RECT r{};
    window->GetWindowRect(&r);
    OffsetRect(&r, -r.left, -r.top);
    CBrush brush(m_pSkin->GetFrameShadowColor());
    dc.FrameRect(&r, &brush);
}

void COXFrameSkinXP::InflateFrameRect(RECT& rect, CWnd*) {
    InflateRect(&rect, 1, 1);
}

COLORREF COXFrameSkinXP::GetFrameFaceColor() {
    return Sys(COLOR_BTNFACE);
}

COLORREF COXFrameSkinXP::GetFrameBorderColor() {
    return Sys(COLOR_BTNSHADOW);
}

COXFrameSkin2003::COXFrameSkin2003(COXSkin2003* skin) : COXFrameSkinXP(skin), m_pSkin2003(skin) {}

COLORREF COXFrameSkin2003::GetFrameFaceColor() {
    return m_pSkin2003->GetFaceColor();
}

COLORREF COXFrameSkin2003::GetFrameBorderColor() {
    return m_pSkin2003->GetFrameShadowColor();
}
