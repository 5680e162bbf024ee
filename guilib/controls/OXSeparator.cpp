#include "guilib/controls/OXSeparator.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/gdi/DC.h"
#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(COXSeparator, CStatic)

namespace {
// Borders a separator never shows: WS_EX_STATICEDGE, WS_EX_CLIENTEDGE, WS_EX_WINDOWEDGE, WS_EX_DLGMODALFRAME.
const DWORD kNoExStyles = 0x20301;
// The gap between the caption and the line on each side.
const int kCaptionGap = 6;
}  // namespace

COXSeparator::COXSeparator()
    : m_clrText(::GetSysColor(COLOR_WINDOWTEXT)), m_clrShadow(::GetSysColor(COLOR_BTNSHADOW)),
      m_clrHilight(::GetSysColor(COLOR_BTNHIGHLIGHT)), m_bVertOriented(FALSE) {}

void COXSeparator::SetTextColor(COLORREF colour, BOOL bRedraw) {
    m_clrText = colour;
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
}

void COXSeparator::SetVertOriented(BOOL bVert, BOOL bRedraw) {
    m_bVertOriented = bVert;
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
}

void COXSeparator::Redraw() {
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void COXSeparator::PreSubclassWindow() {
    DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    DWORD exStyle = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE);
    if ((style & WS_BORDER) || (exStyle & kNoExStyles)) {
        ::SetWindowLongPtr(m_hWnd, GWL_STYLE, (LONG_PTR)(style & ~WS_BORDER));
        ::SetWindowLongPtr(m_hWnd, GWL_EXSTYLE, (LONG_PTR)(exStyle & ~kNoExStyles));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    int len = ::GetWindowTextLength(m_hWnd);
    CString text;
    if (len > 0) {
        std::string buf((size_t)len + 1, '\0');
        ::GetWindowText(m_hWnd, buf.data(), len + 1);
        text = buf.c_str();
    }
    m_sCaption = text;
    CStatic::PreSubclassWindow();
}

LRESULT COXSeparator::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            cs->style &= ~WS_BORDER;
            cs->dwExStyle &= ~kNoExStyles;
            LRESULT result = CStatic::WindowProc(message, wParam, lParam);
            if (result != -1)
                m_sCaption = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
            return result;
        }
        case WM_SETTEXT:
            m_sCaption = lParam ? (LPCTSTR)lParam : "";
            Redraw();
            return TRUE;
        case WM_GETTEXTLENGTH:
            return m_sCaption.GetLength();
        case WM_GETTEXT: {
            int size = (int)wParam;
            auto* buffer = reinterpret_cast<char*>(lParam);
            if (size <= 0 || !buffer)
                return 0;
            int count = std::min(size - 1, m_sCaption.GetLength());
            std::memcpy(buffer, (LPCTSTR)m_sCaption, (size_t)count);
            buffer[count] = '\0';
            return count;
        }
        case WM_PAINT:
            OnPaint();
            return 0;
        default:
            return CStatic::WindowProc(message, wParam, lParam);
    }
}

void COXSeparator::OnPaint() {
    CPaintDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;

    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_clrText);
    HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    if (!hFont)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HFONT hVertFont = nullptr;
    if (m_bVertOriented) {
        LOGFONT lf{};
        ::GetObject(hFont, sizeof(lf), &lf);
        lf.lfEscapement = lf.lfOrientation = 900;
        hVertFont = ::CreateFontIndirect(&lf);
    }
    HGDIOBJ oldFont = ::SelectObject(hdc, hVertFont ? hVertFont : hFont);

    // The extent of the line along its direction, and where the caption interrupts it.
    int length = m_bVertOriented ? height : width;
    int gapStart = length, gapEnd = length;  // no caption: no gap
    DWORD align = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE) & 0x0F;
    if (!m_sCaption.IsEmpty()) {
        RECT rcText{0, 0, 0, 0};
        ::DrawText(hdc, m_sCaption, m_sCaption.GetLength(), &rcText, DT_CALCRECT | DT_SINGLELINE);
        int along = rcText.right - rcText.left, across = rcText.bottom - rcText.top;
        int start = 0;
        if (align == SS_CENTER)
            start = (length - along) / 2;
        else if (align == SS_RIGHT)
            start = length - along;
        gapStart = start - kCaptionGap;
        gapEnd = start + along + kCaptionGap;
        if (m_bVertOriented) {
            // Turned text runs upwards from its reference point.
            int x = (width - across) / 2;
            ::TextOut(hdc, x, start + along, m_sCaption, m_sCaption.GetLength());
        } else {
            RECT rcDraw{start, (height - across) / 2, start + along, (height - across) / 2 + across};
            ::DrawText(hdc, m_sCaption, m_sCaption.GetLength(), &rcDraw, DT_SINGLELINE | DT_NOCLIP);
        }
    }
    ::SelectObject(hdc, oldFont);
    if (hVertFont)
        ::DeleteObject(hVertFont);

    auto drawLine = [&](int from, int to) {
        if (to <= from)
            return;
        if (m_bVertOriented)
            dc.Draw3dRect((width - 2) / 2, from, 2, to - from, m_clrShadow, m_clrHilight);
        else
            dc.Draw3dRect(from, (height - 2) / 2, to - from, 2, m_clrShadow, m_clrHilight);
    };
    if (m_sCaption.IsEmpty()) {
        drawLine(0, length);
    } else {
        if (align != SS_RIGHT)
            drawLine(std::max(0, gapEnd), length);
        if (align == SS_CENTER || align == SS_RIGHT)
            drawLine(0, std::min(length, gapStart));
    }
}
