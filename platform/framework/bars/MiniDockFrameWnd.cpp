#include "platform/framework/bars/MiniDockFrameWnd.h"

#include "platform/framework/bars/DockContext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

DWORD CMiniDockFrameWnd::FrameStyle(DWORD barStyle) {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (barStyle & CBRS_SIZE_DYNAMIC)
        style |= WS_THICKFRAME;
    return style;
}

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle) {
    RECT rc{0, 0, 10, 10};
    if (!CreateEx(0, nullptr, "", FrameStyle(barStyle), rc, parent, 0))
        return FALSE;
    // The dock bar belongs to the frame the bars dock in, so the dock state sees it.
    m_wndDockBar.m_pDockSite = parent && parent->IsFrameWnd() ? static_cast<CFrameWnd*>(parent) : nullptr;
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | (barStyle & (CBRS_ALIGN_ANY | CBRS_SIZE_DYNAMIC)),
                             AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

CControlBar* CMiniDockFrameWnd::SingleBar() const {
    CControlBar* found = nullptr;
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = m_wndDockBar.GetBar(i)) {
            if (found)
                return nullptr;
            found = bar;
        }
    return found;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
    if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(UINT)idleLayout;
    // The frame fits its dock bar, which fits its bars.
    m_wndDockBar.m_rectLayout = RECT{};
    SIZE size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
    RECT rc{0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&rc, GetStyle(), FALSE, GetExStyle());
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    m_bInRecalcLayout = FALSE;
}

LRESULT CMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: {
            // Closing hides the bars; the frame stays for them to come back.
            for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
                if (CControlBar* bar = m_wndDockBar.GetBar(i); bar && bar->m_pDockSite)
                    bar->m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
            return 0;
        }
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION) {
                if (CControlBar* bar = SingleBar(); bar && bar->m_pDockContext) {
                    ::SetActiveWindow(m_hWnd);
                    bar->m_pDockContext->StartDrag(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                    return 0;
                }
            } else if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) {
                if (CControlBar* bar = SingleBar(); bar && bar->m_pDockContext && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                    bar->m_pDockContext->StartResize((int)wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                    return 0;
                }
            }
            break;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION) {
                if (CControlBar* bar = SingleBar(); bar && bar->m_pDockContext) {
                    bar->m_pDockContext->ToggleDocking();
                    return 0;
                }
            }
            break;
        case WM_FLOATINGFRAMEEMPTY:
            if (m_wndDockBar.GetDockedCount() == 0)
                DestroyWindow();
            return 0;
        default:
            break;
    }
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}
