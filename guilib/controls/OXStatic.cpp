#include "guilib/controls/OXStatic.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(COXStatic, CStatic)

namespace {
const UINT_PTR kToolId = 1;

COLORREF BandColour(COLORREF colour, long long d, long long D) {
    auto fade = [&](int c) { return (int)(c - c * d * d / (D * D)); };
    return RGB(fade(GetRValue(colour)), fade(GetGValue(colour)), fade(GetBValue(colour)));
}

void Band(HDC dc, int x, int width, int height, COLORREF colour) {
    if (width <= 0)
        return;
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::PatBlt(dc, x, 0, width, height, PATCOPY);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
}
}  // namespace

COXStatic::COXStatic()
    : m_clrBack(::GetSysColor(COLOR_BTNFACE)), m_nFillType(OXSTATIC_SOLID), m_clrText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_bToolTipActive(FALSE), m_bFitToText(FALSE), m_rectBeforeFit{}, m_bOwnToolTipText(FALSE),
      m_bCreatedByCreate(FALSE), m_bInitialized(FALSE), m_bFitting(FALSE) {}

COXStatic::~COXStatic() = default;

BOOL COXStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    m_bCreatedByCreate = TRUE;
    if (!CStatic::Create(text, style, rect, parent, id))
        return FALSE;
    return Initialize();
}

void COXStatic::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    if (!m_bCreatedByCreate)
        Initialize();
}

BOOL COXStatic::IsTextStatic() const {
    DWORD kind = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE) & 0xFF;
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
           kind == SS_LEFTNOWORDWRAP;
}

RECT COXStatic::WindowRectInParent() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::MapWindowPoints(nullptr, parent, (LPPOINT)&rc, 2);
    return rc;
}

CString COXStatic::WindowText() const {
    int len = (int)::SendMessage(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    if (len <= 0)
        return CString();
    std::string buf((size_t)len + 1, '\0');
    ::SendMessage(m_hWnd, WM_GETTEXT, (WPARAM)(len + 1), (LPARAM)buf.data());
    return CString(buf.c_str());
}

BOOL COXStatic::Initialize() {
    m_rectBeforeFit = WindowRectInParent();
    if (!::IsWindow(m_ttc.GetSafeHwnd()) && m_ttc.Create(this)) {
        RECT rc{};
        ::GetClientRect(m_hWnd, &rc);
        m_ttc.AddTool(this, m_sToolTip, &rc, kToolId);
    }
    UpdateTooltipText();
    if (!m_bInitialized) {
        SetFontFromWindow();
        m_bInitialized = TRUE;
    }
    return TRUE;
}

void COXStatic::UpdateTooltipText() {
    if (!m_bToolTipActive || m_bOwnToolTipText || !::IsWindow(m_hWnd))
        return;
    m_sToolTip = IsTextStatic() ? WindowText() : CString();
    if (::IsWindow(m_ttc.GetSafeHwnd()))
        m_ttc.UpdateTipText(m_sToolTip, this, kToolId);
}

void COXStatic::SetToolTipText(LPCTSTR text) {
    m_sToolTip = text ? text : "";
    m_bOwnToolTipText = TRUE;
    if (::IsWindow(m_ttc.GetSafeHwnd()))
        m_ttc.UpdateTipText(m_sToolTip, this, kToolId);
}

void COXStatic::SetFitToText(BOOL bFit) {
    m_bFitToText = bFit;
    if (::IsWindow(m_hWnd))
        FitToText();
}

BOOL COXStatic::SetFontFromWindow() {
    if (!::IsWindow(m_hWnd) || !IsTextStatic())
        return FALSE;
    HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    if (hFont && hFont != (HFONT)m_font.GetSafeHandle()) {
        LOGFONT lf{};
        if (!::GetObject(hFont, sizeof(lf), &lf))
            return FALSE;
        m_font.DeleteObject();
        if (!m_font.CreateFontIndirect(&lf))
            return FALSE;
    }
    if (m_bFitToText)
        FitToText();
    return TRUE;
}

BOOL COXStatic::SetTextFont(CFont* pFont, BOOL bRedraw) {
    if (!pFont || !pFont->GetSafeHandle())
        return FALSE;
    if (pFont != &m_font && pFont->GetSafeHandle() != m_font.GetSafeHandle()) {
        LOGFONT lf{};
        if (!::GetObject(pFont->GetSafeHandle(), sizeof(lf), &lf))
            return FALSE;
        m_font.DeleteObject();
        if (!m_font.CreateFontIndirect(&lf))
            return FALSE;
    }
    // The static draws its text in the font it was given.
    if (::IsWindow(m_hWnd))
        ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), FALSE);
    if (m_bFitToText && ::IsWindow(m_hWnd))
        FitToText();
    else if (bRedraw && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void COXStatic::SetBkColor(COLORREF colour, BOOL bRedraw) {
    m_clrBack = colour;
    if (bRedraw && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void COXStatic::SetDisplayFlag(int nFillType, BOOL bRedraw) {
    m_nFillType = nFillType;
    if (bRedraw && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void COXStatic::SetTextColor(COLORREF colour, BOOL bRedraw) {
    m_clrText = colour;
    if (bRedraw && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

HBRUSH COXStatic::CtlColor(HDC dc, UINT /*nCtlColor*/) {
    LONG_PTR style = ::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, style | SS_NOTIFY);
    if (!IsTextStatic())
        return nullptr;
    if (m_font.GetSafeHandle())
        ::SelectObject(dc, m_font.GetSafeHandle());
    ::SetTextColor(dc, m_clrText);
    ::SetBkMode(dc, TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL COXStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_CTLCOLORSTATIC) {
        HBRUSH brush = CtlColor((HDC)wParam, message);
        if (!brush)
            return FALSE;
        if (pResult)
            *pResult = (LRESULT)brush;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL COXStatic::PreTranslateMessage(MSG* pMsg) {
    if (::IsWindow(m_ttc.GetSafeHwnd())) {
        m_ttc.Activate(m_bToolTipActive);
        m_ttc.RelayEvent(pMsg);
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void COXStatic::FillBackground(HDC dc) {
    if (m_clrBack == CLR_NONE)
        return;
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    switch (m_nFillType) {
        case OXSTATIC_SOLID: {
            HBRUSH brush = ::CreateSolidBrush(m_clrBack);
            ::FillRect(dc, &rc, brush);
            ::DeleteObject(brush);
            break;
        }
        case OXSTATIC_GRADIENT_LEFT:
        case OXSTATIC_GRADIENT_RIGHT: {
            int D = std::max(1, width);
            int band = std::max(1, width / 128);
            int d = 0;
            for (; d + band <= width; d += band) {
                int x = m_nFillType == OXSTATIC_GRADIENT_RIGHT ? d : width - d - band;
                Band(dc, x, band, height, BandColour(m_clrBack, d, D));
            }
            // What the bands leave at the black end.
            if (m_nFillType == OXSTATIC_GRADIENT_RIGHT)
                Band(dc, d, width - d, height, RGB(0, 0, 0));
            else
                Band(dc, 0, width - d, height, RGB(0, 0, 0));
            break;
        }
        case OXSTATIC_GRADIENT_CENTER: {
            int half = width / 2;
            int D = std::max(1, half);
            int band = std::max(1, width / 2 / 256);
            int d = 0;
            for (; d + band <= half; d += band) {
                COLORREF colour = BandColour(m_clrBack, d, D);
                Band(dc, half + d, band, height, colour);
                Band(dc, half - d - band, band, height, colour);
            }
            Band(dc, 0, half - d, height, RGB(0, 0, 0));
            Band(dc, half + d, width - half - d, height, RGB(0, 0, 0));
            break;
        }
        default:
            break;
    }
}

void COXStatic::FitToText() {
    if (m_bFitting || !::IsWindow(m_hWnd))
        return;
    m_bFitting = TRUE;
    RECT rc = m_rectBeforeFit;
    if (m_bFitToText && IsTextStatic()) {
        CString text = WindowText();
        HDC dc = ::GetDC(m_hWnd);
        HGDIOBJ old = nullptr;
        HFONT hFont = m_font.GetSafeHandle() ? (HFONT)m_font.GetSafeHandle()
                                             : (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
        if (hFont)
            old = ::SelectObject(dc, hFont);
        SIZE size{0, 0};
        ::GetTextExtentPoint32(dc, text, text.GetLength(), &size);
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
        RECT rcParent{0, 0, size.cx, size.cy};
        if (HWND parent = ::GetParent(m_hWnd))
            ::GetClientRect(parent, &rcParent);
        size.cx = std::min<LONG>(size.cx, rcParent.right - rcParent.left);
        size.cy = std::min<LONG>(size.cy, rcParent.bottom - rcParent.top);

        RECT old_rc = WindowRectInParent();
        DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
        if (style & SS_CENTERIMAGE) {
            int middle = (old_rc.top + old_rc.bottom) / 2;
            rc.top = middle - size.cy / 2;
        } else {
            rc.top = old_rc.top;
        }
        rc.bottom = rc.top + size.cy;
        DWORD kind = style & 0xFF;
        if (kind == SS_CENTER) {
            int middle = (old_rc.left + old_rc.right) / 2;
            rc.left = middle - size.cx / 2;
        } else if (kind == SS_RIGHT) {
            rc.left = old_rc.right - size.cx;
        } else {
            rc.left = old_rc.left;
        }
        rc.right = rc.left + size.cx;
    }
    if (::IsWindow(m_ttc.GetSafeHwnd())) {
        RECT rcTool{0, 0, rc.right - rc.left, rc.bottom - rc.top};
        m_ttc.SetToolRect(this, kToolId, &rcTool);
    }
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_bFitting = FALSE;
}

LRESULT COXStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            FillBackground((HDC)wParam);
            return TRUE;
        case WM_SIZE: {
            LRESULT result = CStatic::WindowProc(message, wParam, lParam);
            if (m_bFitToText)
                FitToText();
            else if (!m_bFitting)
                m_rectBeforeFit = WindowRectInParent();
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return result;
        }
        case WM_SETTEXT: {
            LRESULT result = CStatic::WindowProc(message, wParam, lParam);
            UpdateTooltipText();
            if (m_bFitToText)
                FitToText();
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
            return result;
        }
        case WM_DESTROY:
            if (::IsWindow(m_ttc.GetSafeHwnd())) {
                m_ttc.DelTool(this, kToolId);
                m_ttc.DestroyWindow();
            }
            return CStatic::WindowProc(message, wParam, lParam);
        default:
            return CStatic::WindowProc(message, wParam, lParam);
    }
}
