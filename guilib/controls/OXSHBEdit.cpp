#include "guilib/controls/OXSHBEdit.h"

#include <algorithm>

#include "platform/framework/gdi/DC.h"

IMPLEMENT_DYNAMIC(COXSHBEdit, CEdit)

namespace {

BOOL RectInside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

BOOL IsEditorMouseMessage(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

COXSHBEdit::COXSHBEdit() {
    m_brush.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
}

COXSHBEdit::~COXSHBEdit() {
    delete m_pSHBED;
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXSHBEdit::IsValidDisplay(const SHBE_DISPLAY* d) const {
    if (!d)
        return TRUE;
    if (d->nMask > 0x3FF)
        return FALSE;
    if ((d->nMask & SHBEIF_ENLARGE) && !(d->nMask & SHBEIF_RECTMAX))
        return FALSE;
    if (d->nMask & SHBEIF_SELRANGE) {
        int start = d->ptSelRange[0], end = d->ptSelRange[1];
        if (!(start == 0 && end == -1)) {
            int length = 0;
            if (d->nMask & SHBEIF_TEXT)
                length = d->lpText ? (int)strlen(d->lpText) : 0;
            else if (m_hWnd)
                length = ::GetWindowTextLength(m_hWnd);
            if (start < 0 || end < 0 || start >= length || end >= length)
                return FALSE;
        }
    }
    RECT display{};
    if (d->nMask & SHBEIF_RECTDISPLAY)
        display = d->rectDisplay;
    else if (m_hWnd)
        ::GetClientRect(m_hWnd, &display);
    if (::IsRectEmpty(&display))
        return FALSE;
    if ((d->nMask & SHBEIF_RECTMAX) && !RectInside(display, d->rectMax))
        return FALSE;
    if (d->nMask & SHBEIF_RECTMIN) {
        if (::IsRectEmpty(&d->rectMin))
            return FALSE;
        if ((d->nMask & SHBEIF_RECTMAX) && !RectInside(d->rectMin, d->rectMax))
            return FALSE;
    }
    return TRUE;
}

BOOL COXSHBEdit::StartEdit(LPSHBE_DISPLAY pSHBED) {
    if (!m_hWnd || !IsValidDisplay(pSHBED))
        return FALSE;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return FALSE;
    DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
    CString text;
    GetWindowText(text);
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, parent, (LPPOINT)&rect, 2);
    UINT id = (UINT)::GetDlgCtrlID(m_hWnd);

    if (pSHBED) {
        if (!m_pSHBED)
            m_pSHBED = new SHBE_DISPLAY;
        *m_pSHBED = *pSHBED;
        if (pSHBED->nMask & SHBEIF_TEXT)
            text = pSHBED->lpText ? pSHBED->lpText : "";
        // The copy does not keep the caller's text pointer.
        m_pSHBED->lpText = nullptr;
        if (pSHBED->nMask & SHBEIF_RECTDISPLAY)
            rect = pSHBED->rectDisplay;
        else
            m_pSHBED->rectDisplay = rect;
        if (pSHBED->nMask & SHBEIF_STYLE)
            style = pSHBED->dwStyle;
        if ((pSHBED->nMask & SHBEIF_FONT) && pSHBED->pFont && pSHBED->pFont->GetSafeHandle()) {
            LOGFONT lf{};
            pSHBED->pFont->GetLogFont(&lf);
            m_font.DeleteObject();
            m_font.CreateFontIndirect(&lf);
        }
        m_pSHBED->pFont = nullptr;
        if (pSHBED->nMask & SHBEIF_RECTMIN)
            ::UnionRect(&rect, &rect, &pSHBED->rectMin);
        if (pSHBED->nMask & SHBEIF_CLRBACK) {
            m_brush.DeleteObject();
            m_brush.CreateSolidBrush(pSHBED->clrBack);
        }
    } else {
        delete m_pSHBED;
        m_pSHBED = nullptr;
    }

    // The window is made again so that the new style holds.
    m_bIsEditing = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    DestroyWindow();
    style = (style & ~WS_VISIBLE) | WS_CHILD;
    if (!CEdit::Create(style, rect, CWnd::FromHandle(parent), id))
        return FALSE;
    if (m_font.GetSafeHandle())
        SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), FALSE);
    SetWindowText(text);
    if (m_pSHBED && (m_pSHBED->nMask & SHBEIF_SELRANGE))
        SendMessage(EM_SETSEL, (WPARAM)m_pSHBED->ptSelRange[0], (LPARAM)m_pSHBED->ptSelRange[1]);
    RECT client{};
    GetClientRect(&client);
    SendMessage(EM_SETRECTNP, 0, (LPARAM)&client);
    m_bIsEditing = TRUE;
    ShowWindow(SW_SHOW);
    SetFocus();
    if (::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    return TRUE;
}

void COXSHBEdit::FinishEdit(BOOL bOK) {
    m_bIsEditing = FALSE;
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!m_hWnd)
        return;
    HWND parent = ::GetParent(m_hWnd);
    NMSHBEDIT nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    nm.hdr.code = SHBEN_FINISHEDIT;
    nm.bOK = bOK;
    if (parent)
        ::SendMessage(parent, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

BOOL COXSHBEdit::ForwardOutside(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT client{};
    GetClientRect(&client);
    if (::PtInRect(&client, pt)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
        return FALSE;
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    ::ClientToScreen(m_hWnd, &pt);
    if (message != WM_MOUSEMOVE)
        FinishEdit(TRUE);
    HWND target = ::WindowFromPoint(pt);
    if (!target || target == m_hWnd)
        return TRUE;
    LRESULT hit = ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    if (hit != HTCLIENT) {
        ::SendMessage(target, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, (WPARAM)hit, MAKELPARAM(pt.x, pt.y));
    } else {
        POINT local = pt;
        ::ScreenToClient(target, &local);
        ::SendMessage(target, message, wParam, MAKELPARAM(local.x, local.y));
    }
    if (::IsWindow(target))
        ::SendMessage(target, WM_SETCURSOR, (WPARAM)target, MAKELPARAM((WORD)hit, message));
    return TRUE;
}

LRESULT COXSHBEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                FinishEdit(wParam == VK_RETURN);
                return 1;
            }
            break;
        case WM_CHAR:
            // The characters of the keys that end an edit are not typed into it.
            if (wParam == '\r' || wParam == 27)
                return 0;
            break;
        case WM_SETFOCUS: {
            LRESULT r = CEdit::WindowProc(message, wParam, lParam);
            if (m_bIsEditing && m_hWnd && ::GetCapture() != m_hWnd)
                ::SetCapture(m_hWnd);
            return r;
        }
        case WM_KILLFOCUS: {
            BOOL held = m_hWnd && ::GetCapture() == m_hWnd;
            LRESULT r = CEdit::WindowProc(message, wParam, lParam);
            if (held && m_bIsEditing)
                FinishEdit(TRUE);
            return r;
        }
        default:
            if (m_bIsEditing && IsEditorMouseMessage(message) && ForwardOutside(message, wParam, lParam))
                return 1;
            break;
    }
    LRESULT r = CEdit::WindowProc(message, wParam, lParam);
    if (m_bIsEditing && m_hWnd && ::IsWindow(m_hWnd) && ::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    return r;
}

BOOL COXSHBEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_CTLCOLOREDIT) {
        HDC dc = (HDC)wParam;
        ::SetBkColor(dc, m_pSHBED && (m_pSHBED->nMask & SHBEIF_CLRBACK) ? m_pSHBED->clrBack
                                                                        : ::GetSysColor(COLOR_WINDOW));
        if (m_pSHBED && (m_pSHBED->nMask & SHBEIF_CLRTEXT))
            ::SetTextColor(dc, m_pSHBED->clrText);
        if (result)
            *result = (LRESULT)(HBRUSH)m_brush;
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) {
        EnlargeToFit();
        if (result)
            *result = 0;
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, result);
}

void COXSHBEdit::EnlargeToFit() {
    if (!m_pSHBED || !m_hWnd)
        return;
    const UINT need = SHBEIF_ENLARGE | SHBEIF_RECTMAX;
    if ((m_pSHBED->nMask & need) != need || !m_pSHBED->bEnlargeAsTyping)
        return;
    const RECT& display = m_pSHBED->rectDisplay;
    const RECT& bound = m_pSHBED->rectMax;
    RECT placed = display;
    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        RECT window{}, client{}, format{};
        ::GetWindowRect(m_hWnd, &window);
        GetClientRect(&client);
        SendMessage(EM_GETRECT, 0, (LPARAM)&format);
        int borderX = (window.right - window.left) - (client.right - client.left);
        int borderY = (window.bottom - window.top) - (client.bottom - client.top);
        int marginX = (client.right - client.left) - (format.right - format.left);
        int marginY = (client.bottom - client.top) - (format.bottom - format.top);
        DWORD style = (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE);
        UINT flags = (style & ES_MULTILINE) ? (DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL)
                                            : (DT_CENTER | DT_VCENTER);
        RECT measured{0, 0, std::max(0, (int)(bound.right - bound.left) - borderX - marginX), 0};
        CClientDC dc(this);
        HGDIOBJ old = m_font.GetSafeHandle() ? ::SelectObject(dc, m_font.GetSafeHandle()) : nullptr;
        ::DrawText(dc, text, text.GetLength(), &measured, flags | DT_CALCRECT);
        if (old)
            ::SelectObject(dc, old);
        int width = (measured.right - measured.left) + borderX + marginX;
        int height = (measured.bottom - measured.top) + borderY + marginY;
        width = std::min(std::max(width, (int)(display.right - display.left)), (int)(bound.right - bound.left));
        height = std::min(std::max(height, (int)(display.bottom - display.top)), (int)(bound.bottom - bound.top));
        int left = bound.left;
        if (style & ES_RIGHT)
            left = bound.right - width;
        else if (style & ES_CENTER)
            left = bound.left + ((bound.right - bound.left) - width) / 2;
        placed = RECT{left, bound.top, left + width, bound.top + height};
    }
    MoveWindow(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
    RECT client{};
    GetClientRect(&client);
    SendMessage(EM_SETRECT, 0, (LPARAM)&client);
}
