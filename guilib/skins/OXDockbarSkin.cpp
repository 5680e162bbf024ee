#include "guilib/skins/OXDockbarSkin.h"

#include <algorithm>

#include "guilib/skins/OXSkin.h"

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

constexpr int kCaptionClassic = 16;
constexpr int kCaption2003 = 24;
constexpr int kButton = 11;

BOOL Flag(COXSizeControlBarView* bar, DWORD flag) {
    return (bar->GetSizeBarFlags() & flag) != 0;
}

RECT Moved(RECT r, POINT by) {
    OffsetRect(&r, by.x, by.y);
    return r;
}

// The font turned 90 degrees, reading upward.
void CreateTurnedFont(CFont& turned, CFont* font) {
    LOGFONT lf{};
    font->GetLogFont(&lf);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    turned.CreateFontIndirect(&lf);
}

// The title of a docked bar in the caption; returns the text rectangle (empty without a title).
RECT DrawTitle(CDC* dc, const RECT& caption, COXSizeControlBarView* bar, CFont* font, COLORREF colour, BOOL horizontal,
               int inset) {
    RECT text{};
    if (Flag(bar, OXSCB_NOTITLE))
        return text;
    char buffer[256] = {};
    ::GetWindowText(bar->GetBarHwnd(), buffer, sizeof buffer);
    CString title(buffer);
    if (title.IsEmpty())
        return text;
    CFont turned;
    CFont* use = font;
    if (horizontal) {
        CreateTurnedFont(turned, font);
        use = &turned;
    }
    CFont* oldFont = dc->SelectObject(font);
    RECT measure{};
    dc->DrawText(title, &measure, DT_SINGLELINE | DT_CALCRECT);
    int length = measure.right - measure.left, height = measure.bottom - measure.top;
    dc->SelectObject(use);
    COLORREF oldColour = dc->SetTextColor(colour);
    if (!horizontal) {
        text.left = caption.left + inset;
        text.right = std::min<int>(text.left + length, caption.right);
        int spare = (caption.bottom - caption.top) - height;
        text.top = caption.top + (spare + 1) / 2;
        text.bottom = text.top + height;
        if (text.right > text.left)
            dc->DrawText(title, &text, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS);
    } else {
        int room = (caption.bottom - caption.top) - inset;
        length = std::min(length, std::max(room, 0));
        int spare = (caption.right - caption.left) - height;
        int x0 = caption.left + spare / 2;
        int bottom = caption.bottom - inset;
        RECT draw{x0, bottom - length, x0 + height + length, bottom + height};
        if (length > 0)
            dc->DrawText(title, &draw, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS);
        text = RECT{x0, bottom - length, x0 + height, bottom};
    }
    dc->SetTextColor(oldColour);
    dc->SelectObject(oldFont);
    return text;
}

}  // namespace

BOOL COXDockbarSkin::IsCaptionShown(COXSizeControlBarView* bar) {
    return !Flag(bar, OXSCB_NOCAPTION) && !(bar->GetBarStyle() & CBRS_FLOATING);
}

BOOL COXDockbarSkin::IsHorizontal(COXSizeControlBarView* bar) {
    return (bar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
}

void COXDockbarSkin::CalcInsetClient(RECT& client, int captionSize, COXSizeControlBarView* bar) {
    InflateRect(&client, -5, -5);
    if (IsCaptionShown(bar)) {
        if (IsHorizontal(bar))
            client.left = std::min(client.left + captionSize, client.right);
        else
            client.top = std::min(client.top + captionSize, client.bottom);
        bar->SetLayoutFlag(TRUE);
    }
}

RECT COXDockbarSkin::WindowRectInClient(COXSizeControlBarView* bar) {
    RECT window{};
    ::GetWindowRect(bar->GetBarHwnd(), &window);
    POINT origin{0, 0};
    ::ClientToScreen(bar->GetBarHwnd(), &origin);
    OffsetRect(&window, -origin.x, -origin.y);
    return window;
}

POINT COXDockbarSkin::ClientToWindowOffset(COXSizeControlBarView* bar) {
    RECT window = WindowRectInClient(bar);
    return POINT{-window.left, -window.top};
}

// Classic.

COXDockbarSkinClassic::COXDockbarSkinClassic() {
    m_fontTitle.CreatePointFont(100, "Arial");
    m_fontSmallTitle.CreatePointFont(80, "Arial");
}

void COXDockbarSkinClassic::CalcNonClientSize(BOOL, RECT& client, COXSizeControlBarView* bar) {
    CalcInsetClient(client, kCaptionClassic, bar);
}

void COXDockbarSkinClassic::CalcCaptionRects(COXSizeControlBarView* bar) {
    RECT caption = WindowRectInClient(bar);
    InflateRect(&caption, -5, -5);
    RECT& close = bar->CloseRect();
    RECT& second = bar->SecondRect();
    if (IsCaptionShown(bar)) {
        int gap = GetButtonGap();
        if (IsHorizontal(bar)) {
            caption.right = caption.left + kButton;
            if (!Flag(bar, OXSCB_NOCLOSEBUTTON)) {
                close = caption;
                close.bottom = close.top + kButton;
                caption.top += kButton + gap;
            }
            if (!Flag(bar, OXSCB_NOSECONDBUTTON)) {
                second = caption;
                second.bottom = second.top + kButton;
                caption.top += kButton + gap;
            }
        } else {
            caption.bottom = caption.top + kButton;
            if (!Flag(bar, OXSCB_NOCLOSEBUTTON)) {
                close = caption;
                close.left = close.right - kButton;
                caption.right -= kButton + gap;
            }
            if (!Flag(bar, OXSCB_NOSECONDBUTTON)) {
                second = caption;
                second.left = second.right - kButton;
                caption.right -= kButton + gap;
            }
        }
    }
    bar->CaptionRect() = caption;
    bar->SetLayoutFlag(FALSE);
}

void COXDockbarSkinClassic::DrawGripper(CDC* dc, COXSizeControlBarView* bar) {
    if (!IsCaptionShown(bar))
        return;
    BOOL solid = Flag(bar, OXSCB_SOLIDCAPTION);
    BOOL active = bar->IsCaptionActive();
    BOOL horizontal = IsHorizontal(bar);
    RECT cr = Moved(bar->CaptionRect(), ClientToWindowOffset(bar));
    if (!solid)
        InflateRect(&cr, -2, -2);
    else
        dc->FillSolidRect(&cr, Sys(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    COLORREF colour = solid ? Sys(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT)
                            : Sys(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    int oldMode = solid ? dc->SetBkMode(TRANSPARENT) : dc->GetBkMode();
    RECT text = DrawTitle(dc, cr, bar, solid ? &m_fontSmallTitle : &m_fontTitle, colour, horizontal, 6);
    dc->SetBkMode(oldMode);
    if (solid)
        return;
    COLORREF hi = Sys(COLOR_BTNHIGHLIGHT), sh = Sys(COLOR_BTNSHADOW);
    if (!horizontal) {
        int start = IsRectEmpty(&text) ? cr.left : text.right + 3;
        if (cr.right - start > 5) {
            int top = cr.top + (cr.bottom - cr.top - 7) / 2;
            RECT line{start, top, cr.right, top + 3};
            dc->Draw3dRect(&line, hi, sh);
            OffsetRect(&line, 0, 4);
            dc->Draw3dRect(&line, hi, sh);
        }
    } else {
        int end = IsRectEmpty(&text) ? cr.bottom : text.top - 3;
        if (end - cr.top > 5) {
            int left = cr.left + (cr.right - cr.left - 7) / 2;
            RECT line{left, cr.top, left + 3, end};
            dc->Draw3dRect(&line, hi, sh);
            OffsetRect(&line, 4, 0);
            dc->Draw3dRect(&line, hi, sh);
        }
    }
}

namespace {
void DrawClassicCaptionGlyph(CDC* dc, const RECT& rect, UINT state) {
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, w, h);
    CBitmap* old = mem.SelectObject(&bitmap);
    RECT all{0, 0, w, h};
    mem.FillSolidRect(&all, Sys(COLOR_BTNFACE));
    mem.DrawFrameControl(&all, DFC_CAPTION, state);
    dc->BitBlt(rect.left, rect.top, w, h, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}
}  // namespace

void COXDockbarSkinClassic::DrawCloseButton(CDC* dc, COXSizeControlBarView* bar) {
    if (Flag(bar, OXSCB_NOCLOSEBUTTON) || (bar->GetBarStyle() & CBRS_FLOATING))
        return;
    UINT state = DFCS_CAPTIONCLOSE | (bar->GetPressedButton() == -3 ? DFCS_PUSHED : 0);
    DrawClassicCaptionGlyph(dc, Moved(bar->CloseRect(), ClientToWindowOffset(bar)), state);
}

void COXDockbarSkinClassic::DrawSecondButton(CDC* dc, COXSizeControlBarView* bar) {
    if (Flag(bar, OXSCB_NOSECONDBUTTON) || (bar->GetBarStyle() & CBRS_FLOATING))
        return;
    UINT state = bar->IsMaximizedInRow() ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX;
    if (bar->GetPressedButton() == -2)
        state |= DFCS_PUSHED;
    if (!bar->CanDockAsTab())
        state |= DFCS_INACTIVE;
    DrawClassicCaptionGlyph(dc, Moved(bar->SecondRect(), ClientToWindowOffset(bar)), state);
}

void COXDockbarSkinClassic::DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView* bar) {
    RECT copy = rect;
    bar->DrawBorders(dc, copy);
    dc->FillSolidRect(&rect, Sys(COLOR_BTNFACE));
}

void COXDockbarSkinClassic::DrawSplitter(CDC* dc, const OXSplitter& s, COXSizeDockBarView*) {
    const RECT& r = s.rect;
    if (s.kind == 1) {
        dc->FillSolidRect(r.left + 1, r.top, 1, r.bottom - r.top, Sys(COLOR_BTNFACE));
        dc->FillSolidRect(r.left + 2, r.top, 1, r.bottom - r.top, Sys(COLOR_BTNHIGHLIGHT));
        dc->FillSolidRect(r.right - 1, r.top, 1, r.bottom - r.top, Sys(COLOR_WINDOWFRAME));
        dc->FillSolidRect(r.right - 2, r.top, 1, r.bottom - r.top, Sys(COLOR_BTNSHADOW));
    } else if (s.kind == 2) {
        dc->FillSolidRect(r.left, r.top + 1, r.right - r.left, 1, Sys(COLOR_BTNFACE));
        dc->FillSolidRect(r.left, r.top + 2, r.right - r.left, 1, Sys(COLOR_BTNHIGHLIGHT));
        dc->FillSolidRect(r.left, r.bottom - 1, r.right - r.left, 1, Sys(COLOR_WINDOWFRAME));
        dc->FillSolidRect(r.left, r.bottom - 2, r.right - r.left, 1, Sys(COLOR_BTNSHADOW));
    }
}

void COXDockbarSkinClassic::DrawDockBarNonClient(COXSizeDockBarView* dockBar) {
    dockBar->Default();
}

void COXDockbarSkinClassic::EraseDockBarBackground(CDC* dc, COXSizeDockBarView* dockBar) {
    RECT client{};
    ::GetClientRect(dockBar->GetDockBarHwnd(), &client);
    dc->FillSolidRect(&client, Sys(COLOR_BTNFACE));
}

COLORREF COXDockbarSkinClassic::GetActiveFrameColor() {
    return Sys(COLOR_WINDOWFRAME);
}

// Office XP.

COXDockbarSkinXP::COXDockbarSkinXP(COXSkinXP* skin) : m_pSkin(skin) {
    m_nButtonGap = 3;
    m_fontBold.CreatePointFont(85, "Tahoma BOLD");
}

void COXDockbarSkinXP::DrawGripper(CDC* dc, COXSizeControlBarView* bar) {
    if (!IsCaptionShown(bar))
        return;
    BOOL solid = Flag(bar, OXSCB_SOLIDCAPTION);
    BOOL horizontal = IsHorizontal(bar);
    RECT cr = bar->CaptionRect();
    if (solid) {
        UnionRect(&cr, &cr, &bar->CloseRect());
        UnionRect(&cr, &cr, &bar->SecondRect());
    }
    InflateRect(&cr, 3, 3);
    cr = Moved(cr, ClientToWindowOffset(bar));
    if (!solid) {
        if (!horizontal)
            InflateRect(&cr, -4, -2);
        else
            InflateRect(&cr, -2, 0);
    } else {
        RECT fill{cr.left + (horizontal ? 2 : 1), cr.top + 2, cr.right - 1, cr.bottom - 1};
        dc->FillSolidRect(&fill, Sys(COLOR_INACTIVECAPTION));
    }
    int oldMode = solid ? dc->SetBkMode(TRANSPARENT) : dc->GetBkMode();
    RECT text = DrawTitle(dc, cr, bar, &m_fontBold, Sys(solid ? COLOR_CAPTIONTEXT : COLOR_WINDOWTEXT), horizontal,
                          solid ? 4 : 6);
    dc->SetBkMode(oldMode);
    if (solid)
        return;
    CPen pen(PS_SOLID, 1, m_pSkin->GetSoftShadowColor());
    CPen* old = dc->SelectObject(&pen);
    if (!horizontal) {
        int start = IsRectEmpty(&text) ? cr.left : text.right + 3;
        int top = cr.top + 3;
        if (cr.right - 1 - start > 5)
            for (int k = 0; k <= 6; k += 2) {
                dc->MoveTo(start, top + k);
                dc->LineTo(cr.right - 1, top + k);
            }
    } else {
        int end = IsRectEmpty(&text) ? cr.bottom - 1 : text.top - 3;
        int left = cr.left + 3;
        if (end - cr.top > 5)
            for (int k = 0; k <= 6; k += 2) {
                dc->MoveTo(left + k, cr.top);
                dc->LineTo(left + k, end);
            }
    }
    dc->SelectObject(old);
}

COLORREF COXDockbarSkinXP::ButtonBackground(COXSizeControlBarView* bar) {
    return Sys(Flag(bar, OXSCB_SOLIDCAPTION) ? COLOR_INACTIVECAPTION : COLOR_BTNFACE);
}

BOOL COXDockbarSkinXP::ButtonOnSolidCaption(COXSizeControlBarView* bar) {
    return Flag(bar, OXSCB_SOLIDCAPTION);
}

void COXDockbarSkinXP::DrawCloseButton(CDC* dc, COXSizeControlBarView* bar) {
    if (Flag(bar, OXSCB_NOCLOSEBUTTON) || (bar->GetBarStyle() & CBRS_FLOATING))
        return;
    RECT r = Moved(bar->CloseRect(), ClientToWindowOffset(bar));
    ButtonRect(r);
    m_pSkin->DrawCaptionButton(dc, r, DFCS_CAPTIONCLOSE, FALSE, ButtonOnSolidCaption(bar), ButtonBackground(bar),
                               bar->GetBarHwnd());
}

void COXDockbarSkinXP::DrawSecondButton(CDC* dc, COXSizeControlBarView* bar) {
    if (Flag(bar, OXSCB_NOSECONDBUTTON) || (bar->GetBarStyle() & CBRS_FLOATING))
        return;
    RECT r = Moved(bar->SecondRect(), ClientToWindowOffset(bar));
    ButtonRect(r);
    m_pSkin->DrawCaptionButton(dc, r, bar->IsMaximizedInRow() ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX, !bar->CanDockAsTab(),
                               ButtonOnSolidCaption(bar), ButtonBackground(bar), bar->GetBarHwnd());
}

void COXDockbarSkinXP::DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView*) {
    dc->FillSolidRect(&rect, Sys(COLOR_BTNFACE));
}

void COXDockbarSkinXP::DrawSplitter(CDC* dc, const OXSplitter& s, COXSizeDockBarView*) {
    RECT r = s.rect;
    r.bottom = std::min<LONG>(r.bottom, 8000);
    dc->FillSolidRect(&r, Sys(COLOR_BTNFACE));
    if (s.kind == 1)
        dc->FillSolidRect((r.left + r.right) / 2, r.top, 1, r.bottom - r.top, m_pSkin->GetLightShadowColor());
    else
        dc->FillSolidRect(r.left, (r.top + r.bottom) / 2, r.right - r.left, 1, m_pSkin->GetLightShadowColor());
}


void COXDockbarSkinXP::DrawDockBarNonClient(COXSizeDockBarView* dockBar) {
    CWindowDC dc(CWnd::FromHandle(dockBar->GetDockBarHwnd()));
    RECT window{}, client{};
    OXGetWindowRects(dockBar->GetDockBarHwnd(), window, client);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, m_pSkin->GetFaceColor());
}

COLORREF COXDockbarSkinXP::GetActiveFrameColor() {
    return m_pSkin->GetFrameShadowColor();
}

// Office 2003.

COXDockbarSkin2003::COXDockbarSkin2003(COXSkin2003* skin) : COXDockbarSkinXP(skin), m_pSkin2003(skin) {}

void COXDockbarSkin2003::CalcNonClientSize(BOOL, RECT& client, COXSizeControlBarView* bar) {
    CalcInsetClient(client, kCaption2003, bar);
}

void COXDockbarSkin2003::CalcCaptionRects(COXSizeControlBarView* bar) {
    RECT caption = WindowRectInClient(bar);
    if (IsCaptionShown(bar)) {
        BOOL closeShown = !Flag(bar, OXSCB_NOCLOSEBUTTON);
        BOOL secondShown = !Flag(bar, OXSCB_NOSECONDBUTTON);
        RECT square{};
        if (!IsHorizontal(bar)) {
            InflateRect(&caption, -2, 0);
            caption.bottom = caption.top + kCaption2003;
            square = caption;
            square.left = square.right - (caption.bottom - caption.top);
        } else {
            InflateRect(&caption, 0, -2);
            caption.right = caption.left + kCaption2003;
            square = caption;
            square.bottom = square.top + (caption.right - caption.left);
        }
        square.left += 7;
        square.top += 7;
        square.right -= 6;
        square.bottom -= 6;
        if (closeShown)
            bar->CloseRect() = square;
        if (secondShown) {
            RECT second = square;
            if (closeShown) {
                if (!IsHorizontal(bar))
                    OffsetRect(&second, -((square.right - square.left) + 3), 0);
                else
                    OffsetRect(&second, 0, (square.bottom - square.top) + 3);
            }
            bar->SecondRect() = second;
        }
    }
    bar->CaptionRect() = caption;
    bar->SetLayoutFlag(FALSE);
}

void COXDockbarSkin2003::DrawGripper(CDC* dc, COXSizeControlBarView* bar) {
    if (!IsCaptionShown(bar))
        return;
    RECT cr = Moved(bar->CaptionRect(), ClientToWindowOffset(bar));
    BOOL horizontal = IsHorizontal(bar);
    m_pSkin2003->FillGradient(dc, cr, m_pSkin2003->GetCaptionLightColor(), m_pSkin2003->GetCaptionDarkColor(),
                                  horizontal ? 0 : 1);
    COLORREF dot = m_pSkin2003->GetSoftShadowColor(), light = Sys(COLOR_WINDOW);
    char buffer[256] = {};
    ::GetWindowText(bar->GetBarHwnd(), buffer, sizeof buffer);
    CString title(buffer);
    BOOL closeShown = !Flag(bar, OXSCB_NOCLOSEBUTTON), secondShown = !Flag(bar, OXSCB_NOSECONDBUTTON);
    CFont* oldFont = nullptr;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    if (!horizontal) {
        RECT g = cr;
        InflateRect(&g, -3, -6);
        g.right = g.left + 2;
        for (int y = g.top; y + 2 <= g.bottom; y += 4) {
            dc->FillSolidRect(g.left + 1, y + 1, 2, 2, light);
            dc->FillSolidRect(g.left, y, 2, 2, dot);
        }
        if (!Flag(bar, OXSCB_NOTITLE) && !title.IsEmpty()) {
            RECT t = cr;
            OffsetRect(&t, 13, 2);
            POINT off = ClientToWindowOffset(bar);
            if (secondShown)
                t.right = bar->SecondRect().left + off.x - 1;
            else if (closeShown)
                t.right = bar->CloseRect().left + off.x - 1;
            oldFont = dc->SelectObject(&m_fontBold);
            dc->DrawText(title, &t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        }
    } else {
        RECT g = cr;
        InflateRect(&g, -5, -5);
        g.top = g.bottom - 2;
        for (int x = g.left; x + 2 <= g.right; x += 4) {
            dc->FillSolidRect(x + 1, g.top + 1, 2, 2, light);
            dc->FillSolidRect(x, g.top, 2, 2, dot);
        }
        if (!Flag(bar, OXSCB_NOTITLE) && !title.IsEmpty()) {
            POINT off = ClientToWindowOffset(bar);
            int top = 0;
            if (secondShown)
                top = bar->SecondRect().bottom + off.y + 1;
            else if (closeShown)
                top = bar->CloseRect().bottom + off.y + 1;
            RECT t{6, top, cr.right - cr.left, cr.bottom + 2};
            CFont turned;
            CreateTurnedFont(turned, &m_fontBold);
            oldFont = dc->SelectObject(&turned);
            dc->DrawText(title, &t, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS);
            dc->SelectObject(oldFont);
            oldFont = nullptr;
        }
    }
    if (oldFont)
        dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
}

COLORREF COXDockbarSkin2003::ButtonBackground(COXSizeControlBarView*) {
    return Sys(COLOR_BTNFACE);
}

void COXDockbarSkin2003::DrawBackground(CDC* dc, const RECT& rect, COXSizeControlBarView*) {
    dc->FillSolidRect(&rect, m_pSkin2003->GetFaceColor());
}

void COXDockbarSkin2003::DrawSplitter(CDC* dc, const OXSplitter& s, COXSizeDockBarView*) {
    RECT r = s.rect;
    r.bottom = std::min<LONG>(r.bottom, 8000);
    dc->FillSolidRect(&r, m_pSkin2003->GetFaceColor());
    COLORREF line = m_pSkin2003->GetSplitterColor();
    if (s.kind == 1)
        dc->FillSolidRect((r.left + r.right) / 2, r.top, 1, r.bottom - r.top, line);
    else
        dc->FillSolidRect(r.left, (r.top + r.bottom) / 2, r.right - r.left, 1, line);
}

void COXDockbarSkin2003::DrawDockBarNonClient(COXSizeDockBarView* dockBar) {
    HWND h = dockBar->GetDockBarHwnd();
    CWindowDC dc(CWnd::FromHandle(h));
    RECT window{}, client{};
    OXGetWindowRects(h, window, client);
    dc.ExcludeClipRect(&client);
    if (dockBar->HoldsSizeBar()) {
        dc.FillSolidRect(&window, m_pSkin2003->GetFaceColor());
        return;
    }
    HWND parent = ::GetParent(h);
    RECT parentRect{}, mine{};
    ::GetWindowRect(parent, &parentRect);
    ::GetWindowRect(h, &mine);
    int x = parentRect.left - mine.left;
    int width = std::max<int>(GetSystemMetrics(SM_CXSCREEN), parentRect.right - parentRect.left);
    m_pSkin2003->DrawDockBand(&dc, RECT{x, window.top, x + width, window.bottom});
}

void COXDockbarSkin2003::EraseDockBarBackground(CDC* dc, COXSizeDockBarView* dockBar) {
    RECT client{};
    ::GetClientRect(dockBar->GetDockBarHwnd(), &client);
    int width = std::max<int>(GetSystemMetrics(SM_CXSCREEN), client.right - client.left);
    m_pSkin2003->DrawDockBand(dc, RECT{client.left, client.top, client.left + width, client.bottom});
}
