#include "guilib/skins/OXMiniFrameSkin.h"

#include "guilib/skins/OXSkin.h"

BOOL COXMiniFrameSkinClassic::OnNcActivate(BOOL active, COXMiniFrameView* frame) {
    HWND child = frame->GetViewBarChild();
    if (!child)
        return frame->DefaultNcActivate(active);
    if (!active || frame->GetActiveMDIChild() == child)
        return (BOOL)frame->Default();
    return FALSE;
}

COXMiniFrameSkinXP::COXMiniFrameSkinXP(COXSkinXP* skin) : m_pSkin(skin) {
    m_fontCaption.CreatePointFont(85, "Tahoma BOLD");
}

RECT COXMiniFrameSkinXP::GetCaptionRect(HWND frame) {
    RECT window{};
    ::GetWindowRect(frame, &window);
    POINT origin{0, 0};
    ::ClientToScreen(frame, &origin);
    return RECT{3, 3, (window.right - window.left) - 3, (origin.y - window.top) - 2};
}

RECT COXMiniFrameSkinXP::GetCloseButtonRect(HWND frame) {
    HMENU menu = ::GetSystemMenu(frame, FALSE);
    if (!menu || ::GetMenuItemCount(menu) <= 0)
        return RECT{};
    RECT caption = GetCaptionRect(frame);
    int side = caption.bottom - caption.top;
    if (side <= 0)
        return RECT{};
    return RECT{caption.right - side, caption.top, caption.right, caption.bottom};
}

LRESULT COXMiniFrameSkinXP::HitTest(COXMiniFrameView* frame, POINT screen, LRESULT frameHit) {
    HWND h = frame->GetFrameHwnd();
    RECT window{};
    ::GetWindowRect(h, &window);
    POINT p{screen.x - window.left, screen.y - window.top};
    RECT button = GetCloseButtonRect(h);
    if (PtInRect(&button, p))
        return HTCLOSE;
    // The frame's own close button lies elsewhere in this caption.
    return frameHit == HTCLOSE ? HTCAPTION : frameHit;
}

void COXMiniFrameSkinXP::OnNcPaint(COXMiniFrameView* frame) {
    HWND h = frame->GetFrameHwnd();
    CWindowDC dc(CWnd::FromHandle(h));
    RECT window{}, client{};
    OXGetWindowRects(h, window, client);
    dc.ExcludeClipRect(&client);
    COLORREF dark = m_pSkin->GetDarkShadowColor();
    dc.FillSolidRect(&window, dark);
    RECT inner = window;
    InflateRect(&inner, -2, -2);
    dc.FillSolidRect(&inner, m_pSkin->GetAltBarBackgroundColor());
    dc.SetPixel(inner.left, inner.top, dark);
    dc.SetPixel(inner.right - 1, inner.top, dark);
    dc.SetPixel(inner.left, inner.bottom - 1, dark);
    dc.SetPixel(inner.right - 1, inner.bottom - 1, dark);
    DrawCaption(frame);
}

void COXMiniFrameSkinXP::DrawCaption(COXMiniFrameView* frame) {
    HWND h = frame->GetFrameHwnd();
    CWindowDC dc(CWnd::FromHandle(h));
    RECT caption = GetCaptionRect(h);
    dc.FillSolidRect(&caption, m_pSkin->GetEdgeColor());
    char text[256] = {};
    ::GetWindowText(h, text, sizeof text);
    RECT t = caption;
    t.left += 3;
    t.right -= 3;
    CFont* old = dc.SelectObject(&m_fontCaption);
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc.SetTextColor(m_pSkin->GetCaptionTextColor());
    dc.DrawText(text, -1, &t, DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(old);
    DrawCloseButton(frame);
}

void COXMiniFrameSkinXP::DrawCloseButton(COXMiniFrameView* frame) {
    HWND h = frame->GetFrameHwnd();
    RECT button = GetCloseButtonRect(h);
    if (IsRectEmpty(&button))
        return;
    int side = button.right - button.left;
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    ::GetWindowRect(h, &window);
    cursor.x -= window.left;
    cursor.y -= window.top;
    BOOL hot = PtInRect(&button, cursor);
    BOOL pressed = hot && GetKeyState(VK_LBUTTON) < 0;
    CWindowDC dc(CWnd::FromHandle(h));
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, side, side);
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    RECT all{0, 0, side, side};
    COLORREF glyph;
    if (!hot) {
        mem.FillSolidRect(&all, m_pSkin->GetEdgeColor());
        glyph = m_pSkin->GetCaptionTextColor();
    } else {
        CPen pen(PS_SOLID, 1, m_pSkin->GetHighlightBorderColor());
        CBrush brush(pressed ? m_pSkin->GetPressedItemColor() : m_pSkin->GetHotItemColor());
        CPen* oldPen = mem.SelectObject(&pen);
        CBrush* oldBrush = mem.SelectObject(&brush);
        mem.Rectangle(&all);
        mem.SelectObject(oldBrush);
        mem.SelectObject(oldPen);
        glyph = GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    CPen pen(PS_SOLID, 1, glyph);
    CPen* oldPen = mem.SelectObject(&pen);
    RECT x{4, 4, side - 5, side - 5};
    for (int shift = 0; shift < 2; ++shift) {
        mem.MoveTo(x.left + shift, x.top);
        mem.LineTo(x.right + shift, x.bottom);
        mem.MoveTo(x.left + shift, x.bottom - 1);
        mem.LineTo(x.right + shift, x.top - 1);
    }
    mem.SelectObject(oldPen);
    dc.BitBlt(button.left, button.top, side, side, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}
