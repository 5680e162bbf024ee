#include "controls/TitleTip.h"

#include "platform/user/Keyboard.h"

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CTitleTip::~CTitleTip() {
    if (m_hWnd)
        DestroyWindow();
}

BOOL CTitleTip::Create(CWnd* pParentWnd) {
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, TITLETIP_CLASSNAME, &wc)) {
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_INFOBK + 1);
        wc.lpszClassName = TITLETIP_CLASSNAME;
        if (!::RegisterClass(&wc))
            return FALSE;
    }
    m_pParentWnd = pParentWnd;
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TITLETIP_CLASSNAME, nullptr, WS_BORDER | WS_POPUP, 0, 0, 0, 0,
                    pParentWnd->GetSafeHwnd(), nullptr);
}

void CTitleTip::Show(RECT rectTitle, LPCTSTR lpszTitleText, int xoffset, LPCRECT lpHoverRect,
                     const LOGFONT* lpLogFont) {
    if (!m_hWnd || ::IsRectEmpty(&rectTitle) || IsWindowVisible() || !::GetFocus())
        return;
    m_rectHover = lpHoverRect ? *lpHoverRect : rectTitle;
    m_pParentWnd->ClientToScreen(reinterpret_cast<LPPOINT>(&m_rectHover));
    m_pParentWnd->ClientToScreen(reinterpret_cast<LPPOINT>(&m_rectHover) + 1);
    POINT origin{rectTitle.left, rectTitle.top};
    m_pParentWnd->ClientToScreen(&origin);
    // The hover rectangle is kept in the tip's client coordinates: the tip's client starts one border
    // pixel inside its window at the cell's origin.
    ::OffsetRect(&m_rectHover, -(origin.x + 1), -(origin.y + 1));

    m_strText = lpszTitleText;
    m_xoffset = xoffset;
    m_bHasFont = lpLogFont != nullptr;
    if (lpLogFont)
        m_logFont = *lpLogFont;

    CClientDC dc(this);
    CFont font;
    HGDIOBJ oldFont = nullptr;
    if (m_bHasFont && font.CreateFontIndirect(&m_logFont))
        oldFont = ::SelectObject(dc.m_hDC, font.m_hObject);
    else
        oldFont = ::SelectObject(dc.m_hDC, m_pParentWnd->SendMessage(WM_GETFONT) ? (HGDIOBJ)m_pParentWnd->SendMessage(WM_GETFONT)
                                                                                 : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = dc.GetTextExtent(" " + m_strText + " ");
    ::SelectObject(dc.m_hDC, oldFont);

    const int cellWidth = rectTitle.right - rectTitle.left;
    if (size.cx + xoffset <= cellWidth)
        return;
    const int width = size.cx + xoffset + 2;
    const int height = rectTitle.bottom - rectTitle.top + 2;
    SetWindowPos(nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
    ::SetCapture(m_hWnd);
}

void CTitleTip::Hide() {
    if (!m_hWnd)
        return;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ShowWindow(SW_HIDE);
}

void CTitleTip::OnPaint() {
    CPaintDC dc(this);
    RECT rect;
    GetClientRect(&rect);
    CBrush back(GetSysColor(COLOR_INFOBK));
    dc.FillRect(&rect, &back);
    CFont font;
    HGDIOBJ oldFont = nullptr;
    if (m_bHasFont && font.CreateFontIndirect(&m_logFont))
        oldFont = ::SelectObject(dc.m_hDC, font.m_hObject);
    else if (m_pParentWnd && m_pParentWnd->SendMessage(WM_GETFONT))
        oldFont = ::SelectObject(dc.m_hDC, (HGDIOBJ)m_pParentWnd->SendMessage(WM_GETFONT));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    rect.left += m_xoffset;
    dc.DrawText(" " + m_strText + " ", &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        ::SelectObject(dc.m_hDC, oldFont);
}

void CTitleTip::OnMouseMove(UINT nFlags, POINT point) {
    if (::PtInRect(&m_rectHover, point))
        return;
    Hide();
    ForwardMouse(WM_MOUSEMOVE, nFlags, point);
}

BOOL CTitleTip::ForwardMouse(UINT message, WPARAM wParam, POINT clientPoint) {
    POINT screen = clientPoint;
    ClientToScreen(&screen);
    HWND target = ::WindowFromPoint(screen);
    if (!target || target == m_hWnd)
        target = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!target)
        return FALSE;
    const LRESULT hitTest = ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hitTest == HTCLIENT) {
        POINT client = screen;
        ::ScreenToClient(target, &client);
        ::PostMessage(target, message, wParam, MAKELPARAM(client.x, client.y));
    } else {
        UINT ncMessage = WM_NCMOUSEMOVE;
        switch (message) {
            case WM_LBUTTONDOWN:
                ncMessage = WM_NCLBUTTONDOWN;
                break;
            case WM_RBUTTONDOWN:
                ncMessage = WM_NCRBUTTONDOWN;
                break;
            case WM_MBUTTONDOWN:
                ncMessage = WM_NCMBUTTONDOWN;
                break;
            default:
                break;
        }
        ::PostMessage(target, ncMessage, (WPARAM)hitTest, MAKELPARAM(screen.x, screen.y));
    }
    return TRUE;
}

BOOL CTitleTip::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            POINT point{(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
            // The point is in the client coordinates of the window the message is for.
            ::ClientToScreen(pMsg->hwnd, &point);
            ScreenToClient(&point);
            Hide();
            ForwardMouse(pMsg->message, pMsg->wParam, point);
            return TRUE;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Hide();
            if (m_pParentWnd)
                m_pParentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
            return TRUE;
        default:
            break;
    }
    // Moves are judged against the hover rectangle by the tip itself; painting leaves it as it is.
    if (pMsg->message != WM_MOUSEMOVE && pMsg->message != WM_PAINT && pMsg->message != WM_NCPAINT &&
        pMsg->message != WM_TIMER) {
        Hide();
        if (!::GetFocus())
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CTitleTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages that reach the tip without going through a program loop's pre-translation (the mouse it
    // holds, keys sent to it) are treated as that pre-translation would treat them.
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            MSG msg{m_hWnd, message, wParam, lParam, 0, POINT{0, 0}};
            PreTranslateMessage(&msg);
            return 0;
        }
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}
