#include "guilib/controls/OXBitmapButton.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/user/DrawState.h"

IMPLEMENT_DYNAMIC(COXBitmapButton, CButton)

namespace {

constexpr UINT kRecheckHover = 0x8065;
#ifndef SYMBOL_CHARSET
#define SYMBOL_CHARSET 2
#endif

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// A zero-sized rectangle counts as none.
void EmptyIfFlat(RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top)
        r = RECT{};
}

struct CaptionDraw {
    const CString* text;
    UINT format;
};

BOOL DrawCaption(HDC dc, LPARAM data, WPARAM, int cx, int cy) {
    auto* c = reinterpret_cast<CaptionDraw*>(data);
    RECT r{0, 0, cx, cy};
    ::DrawText(dc, *c->text, c->text->GetLength(), &r, c->format);
    return TRUE;
}

HFONT MarlettFont() {
    LOGFONT lf{};
    lf.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SYMBOL_CHARSET;
    strcpy(lf.lfFaceName, "Marlett");
    return ::CreateFontIndirect(&lf);
}

}  // namespace

COXBitmapButton::COXBitmapButton() {
    m_buttonFace = ::GetSysColor(COLOR_BTNFACE);
    HDC screen = ::GetDC(nullptr);
    HFONT font = MarlettFont();
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE size{};
    ::GetTextExtentPoint32(screen, "6", 1, &size);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    m_nDropDownArrowWidth = size.cx;
}

COXBitmapButton::~COXBitmapButton() {
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXBitmapButton::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style = (cs.style & ~BS_TYPEMASK) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

BOOL COXBitmapButton::SetImageList(HIMAGELIST images) {
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    m_imageList = images ? ImageList_Duplicate(images) : nullptr;
    Redraw();
    return images == nullptr || m_imageList != nullptr;
}

CString COXBitmapButton::GetText() const {
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    int cut = text.Find('\n');
    return cut < 0 ? text : text.Left(cut);
}

CString COXBitmapButton::GetToolTipText() const {
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    int cut = text.Find('\n');
    return cut < 0 ? CString() : text.Mid(cut + 1);
}

CFont* COXBitmapButton::GetTextFont() {
    HFONT window = m_hWnd ? (HFONT)SendMessage(WM_GETFONT) : nullptr;
    if (!window) {
        m_font.DeleteObject();
        m_hCopiedFont = nullptr;
        return nullptr;
    }
    if (window != (HFONT)m_font.GetSafeHandle() && (window != m_hCopiedFont || !m_font.GetSafeHandle())) {
        LOGFONT lf{};
        ::GetObject(window, sizeof lf, &lf);
        m_font.DeleteObject();
        m_font.CreateFontIndirect(&lf);
        m_hCopiedFont = window;
    }
    return &m_font;
}

void COXBitmapButton::SetTextFont(CFont* font) {
    if (!font || !font->GetSafeHandle() || font == &m_font)
        return;
    LOGFONT lf{}, mine{};
    font->GetLogFont(&lf);
    if (m_font.GetSafeHandle()) {
        m_font.GetLogFont(&mine);
        if (std::memcmp(&lf, &mine, sizeof lf) == 0)
            return;
    }
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    if (m_hWnd)
        SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), TRUE);
}

BOOL COXBitmapButton::EnableToolTip(BOOL on) {
    if (on) {
        if (!m_toolTip.GetSafeHwnd()) {
            m_toolTip.Create(this);
            if (m_toolTip.GetSafeHwnd())
                ::SetWindowLongPtr(m_toolTip.GetSafeHwnd(), GWL_EXSTYLE,
                                   ::GetWindowLongPtr(m_toolTip.GetSafeHwnd(), GWL_EXSTYLE) | WS_EX_TOPMOST);
            CString tip = GetToolTipText();
            if (!tip.IsEmpty() && m_hWnd) {
                RECT client{};
                GetClientRect(&client);
                m_toolTip.AddTool(this, tip, &client, 1000);
            }
        }
        m_bToolTip = TRUE;
    } else {
        if (m_toolTip.GetSafeHwnd()) {
            m_toolTip.RemoveTool(this, 1000);
            m_toolTip.DestroyWindow();
        }
        m_bToolTip = FALSE;
    }
    return TRUE;
}

BOOL COXBitmapButton::IsWindowEnabled() const {
    if (m_bOwnEnabledState)
        return m_bEnabled;
    return m_hWnd && ::IsWindowEnabled(m_hWnd);
}

BOOL COXBitmapButton::EnableWindow(BOOL enable) {
    BOOL old = IsWindowEnabled();
    if (!m_bOwnEnabledState)
        return m_hWnd ? !::EnableWindow(m_hWnd, enable) && old : old;
    m_bEnabled = enable;
    if (m_bSetDisabledStyle && m_hWnd) {
        LONG_PTR style = ::GetWindowLongPtr(m_hWnd, GWL_STYLE);
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, enable ? (style & ~(LONG_PTR)WS_DISABLED) : (style | WS_DISABLED));
    }
    if (old != enable && m_hWnd)
        Invalidate();
    return old;
}

void COXBitmapButton::SetOwnEnabledState(BOOL own, BOOL alsoWindowStyle) {
    m_bOwnEnabledState = own;
    m_bSetDisabledStyle = alsoWindowStyle;
    if (own && m_hWnd)
        m_bEnabled = ::IsWindowEnabled(m_hWnd);
}

void COXBitmapButton::Redraw() {
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXBitmapButton::SetStyleEx(DWORD style, BOOL redraw) {
    m_dwStyleEx = style;
    if (redraw)
        Redraw();
}

void COXBitmapButton::SetStateEx(DWORD state, BOOL redraw) {
    m_dwStateEx = state;
    if (redraw)
        Redraw();
}

int COXBitmapButton::GetDropDownArrowWidth() {
    return m_nDropDownArrowWidth;
}

SIZE COXBitmapButton::GetDropDownArrowSize() {
    return HasDropDownArrow() ? SIZE{GetDropDownArrowWidth() + 2, 0} : SIZE{0, 0};
}

SIZE COXBitmapButton::GetImageSize() {
    int w = 0, h = 0;
    if (m_imageList && ImageList_GetImageCount(m_imageList) > 0)
        ImageList_GetIconSize(m_imageList, &w, &h);
    return SIZE{w, h};
}

SIZE COXBitmapButton::CalcTextSize(BOOL fitting, const SIZE& image) {
    CString caption = GetText();
    if (caption.IsEmpty() || !m_hWnd)
        return SIZE{0, 0};
    CClientDC dc(this);
    CFont* font = GetTextFont();
    HGDIOBJ old = font ? ::SelectObject(dc, font->GetSafeHandle()) : nullptr;
    RECT r{0, 0, 0, 0};
    ::DrawText(dc, caption, caption.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE);
    DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    if (style & BS_MULTILINE) {
        // Wrapped to a block below 2.6 times as wide as high and lower than wide; the measurements stop
        // when one repeats any earlier rectangle, and after 32 of them.
        std::vector<RECT> seen{r};
        for (int n = 0; n < 32; ++n) {
            int w = Width(r), h = Height(r);
            if (!(w >= 2.6 * h || h >= w) || w <= 0)
                break;
            int width = w >= 2 * h ? w - w / 3 : w + w / 4;
            RECT next{0, 0, std::max(1, width), 0};
            ::DrawText(dc, caption, caption.GetLength(), &next, DT_CALCRECT | DT_WORDBREAK);
            bool repeated = std::any_of(seen.begin(), seen.end(), [&](const RECT& s) { return ::EqualRect(&s, &next); });
            r = next;
            if (repeated)
                break;
            seen.push_back(next);
        }
    }
    if (old)
        ::SelectObject(dc, old);
    SIZE size{Width(r), Height(r)};
    if (!fitting) {
        RECT client{};
        GetClientRect(&client);
        int w = Width(client) - GetDropDownArrowSize().cx, h = Height(client);
        BOOL beside = (style & BS_VCENTER) == BS_VCENTER || !(style & BS_VCENTER);
        if (beside && image.cx > 0)
            w -= image.cx - 2 * m_imageMargin.x;
        else if (!beside && image.cy > 0)
            h -= image.cy - 2 * m_imageMargin.y;
        if (w <= 0 || h <= 0)
            return SIZE{0, 0};
        size.cx = std::min((int)size.cx, w);
        size.cy = std::min((int)size.cy, h);
    }
    return size;
}

void COXBitmapButton::CalcLayoutRects(UINT state, const RECT& rect, RECT& imageRect, RECT& textRect) {
    int W = Width(rect), H = Height(rect);
    DWORD style = m_hWnd ? (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE) : 0;
    DWORD horizontal = style & BS_CENTER, vertical = style & BS_VCENTER;
    if (horizontal == 0)
        horizontal = BS_CENTER;
    if (vertical == 0)
        vertical = BS_VCENTER;
    SIZE image = GetImageSize();
    SIZE text = CalcTextSize(FALSE, image);
    int iw = image.cx, ih = image.cy, tw = text.cx, th = text.cy;
    int imx = -2 * m_imageMargin.x, imy = -2 * m_imageMargin.y;  // 10, 10
    int tmx = -m_textMargin.x, tmy = -2 * m_textMargin.y;       // 7, 12
    bool hasImage = iw > 0 && ih > 0, hasText = tw > 0 && th > 0;
    int ix = 0, iy = 0, tx = 0, ty = 0;
    if (vertical == BS_VCENTER && hasImage && hasText) {
        int tbw = tw + tmx, tbh = th + tmy;
        if (tbw > W) {
            tbw = W;
            tw = std::max(0, W - tmx);
        }
        if (tbh > H) {
            tbh = H;
            th = std::max(0, H - tmy);
        }
        int ibw = std::min(iw + imx, W - tbw), ibh = std::min(ih + imy, H);
        iw = std::max(0, ibw - imx);
        ih = std::max(0, ibh - imy);
        if (iw == 0)
            tw = std::max(0, tbw - 2 * tmx);
        if (horizontal == BS_RIGHT) {
            tx = tmx;
            ix = tbw + imx / 2;
        } else {
            ix = imx / 2;
            tx = ibw;
        }
        iy = (H - ibh) / 2 + imy / 2;
        ty = (H - tbh) / 2 + tmy / 2;
    } else {
        int tbw = tw + 2 * tmx, tbh = th + (hasImage ? tmy / 2 : tmy);
        if (tbh > H) {
            tbh = H;
            th = std::max(0, H - (hasImage ? tmy / 2 : tmy));
        }
        if (tbw > W) {
            tbw = W;
            tw = std::max(0, W - 2 * tmx);
        }
        int ibw = std::min(iw + imx, W), ibh = std::min(ih + imy, H - (hasText ? tbh : 0));
        iw = hasImage ? std::max(0, ibw - imx) : 0;
        ih = hasImage ? std::max(0, ibh - imy) : 0;
        if (!hasImage)
            ibw = ibh = 0;
        if (horizontal == BS_LEFT) {
            tx = tmx;
            ix = imx / 2;
        } else if (horizontal == BS_RIGHT) {
            tx = W - tw - tmx;
            ix = W - iw - imx / 2;
        } else {
            tx = (W - tbw) / 2 + tmx;
            ix = (W - ibw) / 2 + imx / 2;
        }
        if (vertical == BS_TOP) {
            iy = imy / 2;
            ty = ibh + tmy / 2;
        } else if (vertical == BS_BOTTOM) {
            iy = H - ih - imy / 2;
            ty = hasImage ? tmy / 2 : H - th - tmy / 2;
        } else {
            int half = (H - ibh - (hasText ? tbh : 0)) / 2;
            iy = half + imy / 2;
            ty = half + (hasImage ? ibh : tmy / 2);
        }
    }
    imageRect = hasImage ? RECT{ix, iy, ix + iw, iy + ih} : RECT{};
    textRect = hasText ? RECT{tx, ty, tx + tw, ty + th} : RECT{};
    EmptyIfFlat(imageRect);
    EmptyIfFlat(textRect);
    POINT offset{0, 0};
    if (state & ODS_SELECTED)
        offset = m_pressedOffset;
    else if (IsChecked())
        offset = m_checkedOffset;
    else if (m_bTransparent && m_bHot && !(state & ODS_DISABLED))
        offset = m_hotOffset;
    if (!::IsRectEmpty(&imageRect))
        ::OffsetRect(&imageRect, offset.x + rect.left, offset.y + rect.top);
    if (!::IsRectEmpty(&textRect))
        ::OffsetRect(&textRect, offset.x + rect.left, offset.y + rect.top);
}

SIZE COXBitmapButton::GetFitButtonSize() {
    SIZE image = GetImageSize();
    SIZE text = CalcTextSize(TRUE, image);
    int imx = -2 * m_imageMargin.x, imy = -2 * m_imageMargin.y;
    int tmx = -m_textMargin.x, tmy = -2 * m_textMargin.y;
    bool hasImage = image.cx > 0 && image.cy > 0, hasText = text.cx > 0 && text.cy > 0;
    int ibw = hasImage ? image.cx + imx : 0, ibh = hasImage ? image.cy + imy : 0;
    DWORD style = m_hWnd ? (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE) : 0;
    DWORD vertical = style & BS_VCENTER;
    SIZE fit{};
    if ((vertical == BS_VCENTER || vertical == 0) && hasImage && hasText) {
        fit.cx = ibw + text.cx + tmx;
        fit.cy = std::max(ibh, (int)text.cy + tmy);
    } else {
        int tbw = hasText ? text.cx + 2 * tmx : 0, tbh = hasText ? text.cy + (hasImage ? tmy / 2 : tmy) : 0;
        fit.cx = std::max(ibw, tbw);
        fit.cy = ibh + tbh;
        if (fit.cx == 0)
            fit.cx = 14;
        if (fit.cy == 0)
            fit.cy = 12;
    }
    fit.cx += GetDropDownArrowSize().cx;
    return fit;
}

void COXBitmapButton::SizeToContent() {
    if (!m_hWnd)
        return;
    SIZE fit = GetFitButtonSize();
    RECT before{};
    ::GetWindowRect(m_hWnd, &before);
    HWND parent = ::GetParent(m_hWnd);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, fit.cx, fit.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    ::GetWindowRect(m_hWnd, &after);
    RECT both{};
    ::UnionRect(&both, &before, &after);
    if (parent) {
        ::MapWindowPoints(nullptr, parent, (LPPOINT)&both, 2);
        ::InvalidateRect(parent, &both, TRUE);
    }
}

void COXBitmapButton::SelectButtonPalette(CDC*) {}
void COXBitmapButton::RestoreButtonPalette(CDC*) {}

void COXBitmapButton::DrawButtonFrame(CDC* dc, UINT state, const RECT& rect) {
    RECT r = rect;
    if (m_bTransparent)
        return;
    if (IsIndeterminate()) {
        dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    } else if (IsChecked()) {
        if ((m_bTrackLook && m_bHot) || (m_dwStyleEx & OXBB_EX_DROPDOWN))
            dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
        else
            dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED);
    } else if (!(state & ODS_SELECTED)) {
        if (m_bTrackLook && (!m_bHot || (state & ODS_DISABLED))) {
            dc->FillSolidRect(&r, m_buttonFace);
        } else if (state & ODS_DISABLED) {
            dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_INACTIVE);
        } else if (state & ODS_FOCUS) {
            if (!m_bTrackLook)
                ::InflateRect(&r, -1, -1);
            dc->FillSolidRect(&rect, m_buttonFace);
            dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH);
        } else {
            dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
    } else {
        dc->DrawFrameControl(&r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    }
}

void COXBitmapButton::DrawButtonImage(CDC* dc, UINT state, HIMAGELIST images, const RECT& rect) {
    if (!images || ::IsRectEmpty(&rect))
        return;
    int index = 0;
    if ((state & ODS_DISABLED) && !m_bTransparent)
        index = 2;
    else if ((m_bTrackLook && !m_bHot && !(state & ODS_SELECTED) && !m_bTransparent) || IsIndeterminate())
        index = 1;
    if (index >= ImageList_GetImageCount(images))
        index = 0;
    ImageList_Draw(images, index, dc->GetSafeHdc(), rect.left, rect.top, ILD_TRANSPARENT);
}

void COXBitmapButton::DrawButtonText(CDC* dc, UINT state, const CString& caption, const RECT& rect) {
    if (caption.IsEmpty() || ::IsRectEmpty(&rect))
        return;
    DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    DWORD horizontal = style & BS_CENTER;
    UINT format = horizontal == BS_LEFT ? DT_LEFT : horizontal == BS_RIGHT ? DT_RIGHT : DT_CENTER;
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    format |= DT_VCENTER;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->GetTextColor();
    RECT r = rect;
    if ((state & ODS_DISABLED) && !m_bTransparent) {
        CaptionDraw draw{&caption, format};
        if (!::DrawState(dc->GetSafeHdc(), nullptr, DrawCaption, (LPARAM)&draw, 0, r.left, r.top, Width(r),
                         Height(r), DST_COMPLEX | DSS_DISABLED)) {
            dc->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
            dc->DrawText(caption, &r, format);
        }
    } else {
        COLORREF colour = m_textColor;
        if (IsIndeterminate())
            colour = ::GetSysColor(COLOR_BTNSHADOW);
        else if (!m_bTransparent && m_bTrackLook && !m_bHot)
            colour = RGB(0, 0, 0);
        dc->SetTextColor(colour);
        dc->DrawText(caption, &r, format);
    }
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

void COXBitmapButton::DrawButtonFocus(CDC* dc, UINT state, const RECT& rect, const RECT& textRect) {
    if (m_bTransparent) {
        const RECT& base = ::IsRectEmpty(&textRect) ? rect : textRect;
        int cx = (base.left + base.right) / 2, cy = (base.top + base.bottom) / 2;
        // A filled ellipse of the dot's size, row by row.
        int w = m_focusDot.cx, h = m_focusDot.cy, left = cx - w / 2, top = cy - h / 2;
        for (int y = 0; y < h; ++y) {
            double dy = (y + 0.5 - h / 2.0) / (h / 2.0);
            int half = (int)(w / 2.0 * std::sqrt(std::max(0.0, 1 - dy * dy)) + 0.5);
            dc->FillSolidRect(left + w / 2 - half, top + y, 2 * half, 1, RGB(0, 0, 0));
        }
        return;
    }
    RECT focus = rect;
    ::InflateRect(&focus, m_focusInflate.x, m_focusInflate.y);
    dc->DrawFocusRect(&focus);
    if (m_bTrackLook || IsChecked() || IsIndeterminate())
        return;
    RECT frame = rect;
    ::InflateRect(&frame, m_defaultFrameInflate.x, m_defaultFrameInflate.y);
    ::FrameRect(dc->GetSafeHdc(), &frame, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    if (state & ODS_SELECTED) {
        ::InflateRect(&frame, -1, -1);
        CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
        ::FrameRect(dc->GetSafeHdc(), &frame, shadow);
    }
}

void COXBitmapButton::DrawDropDownArrow(CDC* dc, UINT state, const RECT& rect) {
    RECT area = rect;
    if (m_bDrawDropDownSeparator && (!m_bTrackLook || m_bHot)) {
        RECT line{area.left - 3, area.top, area.left - 1, area.bottom};
        dc->Draw3dRect(&line, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        area.left -= 1;
    }
    if (state & ODS_SELECTED)
        ::OffsetRect(&area, m_pressedOffset.x, m_pressedOffset.y);
    else if (IsChecked())
        ::OffsetRect(&area, m_checkedOffset.x, m_checkedOffset.y);
    HFONT font = MarlettFont();
    HGDIOBJ old = ::SelectObject(dc->GetSafeHdc(), font);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor((state & ODS_DISABLED) ? ::GetSysColor(COLOR_BTNSHADOW) : RGB(0, 0, 0));
    const char* glyph = (m_dwStyleEx & OXBB_EX_DROPDOWNRIGHT) ? "8" : "6";
    ::DrawText(dc->GetSafeHdc(), glyph, 1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
    ::SelectObject(dc->GetSafeHdc(), old);
    ::DeleteObject(font);
}

void COXBitmapButton::DrawItem(LPDRAWITEMSTRUCT dis) {
    RECT item = dis->rcItem;
    int w = Width(item), h = Height(item);
    if (w <= 0 || h <= 0)
        return;
    CDC screen;
    screen.Attach(dis->hDC);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, w, h);
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    CFont* font = GetTextFont();
    HGDIOBJ oldFont = font ? ::SelectObject(memory.GetSafeHdc(), font->GetSafeHandle()) : nullptr;
    UINT state = dis->itemState;
    if (IsWindowEnabled())
        state &= ~(UINT)ODS_DISABLED;
    else
        state |= ODS_DISABLED;
    RECT whole{0, 0, w, h};
    RECT drawing = whole;
    drawing.right -= GetDropDownArrowSize().cx;
    RECT imageRect{}, textRect{};
    CalcLayoutRects(state, drawing, imageRect, textRect);
    SelectButtonPalette(&memory);
    DrawButtonFrame(&memory, state, whole);
    DrawButtonImage(&memory, state, m_imageList, imageRect);
    DrawButtonText(&memory, state, GetText(), textRect);
    if (HasDropDownArrow()) {
        RECT arrow{drawing.right, drawing.top + 5, drawing.right + GetDropDownArrowWidth(), drawing.bottom - 5};
        DrawDropDownArrow(&memory, state, arrow);
    }
    DrawUnderImage(&memory, state, !::IsRectEmpty(&imageRect) ? imageRect : textRect);
    if (state & ODS_FOCUS)
        DrawButtonFocus(&memory, state, whole, textRect);
    RestoreButtonPalette(&memory);
    screen.BitBlt(item.left, item.top, w, h, &memory, 0, 0, SRCCOPY);
    if (oldFont)
        ::SelectObject(memory.GetSafeHdc(), oldFont);
    memory.SelectObject(oldBitmap);
    screen.Detach();
}

LRESULT COXBitmapButton::Notify(UINT code) {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return 0;
    NMHDR nm{m_hWnd, (UINT_PTR)::GetDlgCtrlID(m_hWnd), code};
    return ::SendMessage(parent, WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
}

void COXBitmapButton::Toggle() {
    if (!(m_dwStyleEx & (OXBB_EX_TOGGLE | OXBB_EX_DROPDOWN)))
        return;
    DWORD state = m_dwStateEx & ~(DWORD)(OXBB_STATE_CHECKED | OXBB_STATE_INDETERMINATE);
    if (IsIndeterminate())
        ;  // back to unchecked
    else if (!IsChecked())
        state |= OXBB_STATE_CHECKED;
    else if ((m_dwStyleEx & OXBB_EX_TOGGLE3STATE) && IsToggleButton())
        state |= OXBB_STATE_INDETERMINATE;
    SetStateEx(state, TRUE);
}

void COXBitmapButton::OnClicked() {
    if (m_dwStyleEx & OXBB_EX_DROPDOWN) {
        if (!Notify(OXBBN_DROPDOWN))
            OnDropDown();
        Toggle();
        Redraw();
    } else if (IsToggleButton()) {
        if (!Notify(OXBBN_TOGGLE))
            OnToggle();
    }
}

BOOL COXBitmapButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnClicked();
        // The parent still hears of the click.
        return FALSE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

BOOL COXBitmapButton::PreTranslateMessage(MSG* msg) {
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void COXBitmapButton::TrackHover(POINT screen) {
    if (!m_bTrackLook)
        return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    BOOL down = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    if (::PtInRect(&window, screen)) {
        if (!down && ::GetCapture() != m_hWnd)
            ::SetCapture(m_hWnd);
        if (!m_bHot) {
            m_bHot = TRUE;
            Invalidate();
        }
    } else {
        if (!down && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        if (m_bHot) {
            m_bHot = FALSE;
            Invalidate();
        }
    }
}

LRESULT COXBitmapButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL enabled = IsWindowEnabled();
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (!enabled)
                return 0;
            break;
        default:
            break;
    }
    switch (message) {
        case WM_MOUSEMOVE: {
            LRESULT r = CButton::WindowProc(message, wParam, lParam);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::ClientToScreen(m_hWnd, &p);
            TrackHover(p);
            return r;
        }
        case WM_LBUTTONDOWN:
            m_bLButtonDown = TRUE;
            break;
        case WM_LBUTTONDBLCLK:
            SendMessage(WM_LBUTTONDOWN, wParam, lParam);
            return 0;
        case WM_LBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT client{};
            GetClientRect(&client);
            if (::PtInRect(&client, p) && (GetState() & BST_PUSHED))
                Toggle();
            LRESULT r = CButton::WindowProc(message, wParam, lParam);
            m_bLButtonDown = FALSE;
            if (m_bHot && ::GetCapture() != m_hWnd) {
                m_bHot = FALSE;
                PostMessage(kRecheckHover);
            }
            return r;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN)
                Toggle();
            break;
        case WM_KEYUP:
            if (wParam == VK_SPACE)
                Toggle();
            break;
        case kRecheckHover: {
            POINT p{};
            ::GetCursorPos(&p);
            TrackHover(p);
            return 0;
        }
        case WM_SETCURSOR: {
            HCURSOR cursor = enabled ? m_hCursorEnabled : m_hCursorDisabled;
            if (cursor) {
                ::SetCursor(cursor);
                return TRUE;
            }
            break;
        }
        case WM_SETTEXT: {
            LRESULT r = CButton::WindowProc(message, wParam, lParam);
            if (m_toolTip.GetSafeHwnd()) {
                m_toolTip.RemoveTool(this, 1000);
                CString tip = GetToolTipText();
                if (!tip.IsEmpty()) {
                    RECT client{};
                    GetClientRect(&client);
                    m_toolTip.AddTool(this, tip, &client, 1000);
                }
            }
            return r;
        }
        case WM_SYSCOLORCHANGE:
            m_buttonFace = ::GetSysColor(COLOR_BTNFACE);
            break;
        case WM_ERASEBKGND:
            if (m_bTransparent)
                return TRUE;
            break;
        default:
            break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}
