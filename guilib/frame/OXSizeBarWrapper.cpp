#include "guilib/frame/OXSizeBarWrapper.h"

#include "guilib/frame/OXMDIChildWndSizeDock.h"
#include "guilib/frame/OXSizeViewBar.h"
#include "platform/framework/docview/View.h"

IMPLEMENT_DYNAMIC(COXSizeBarWrapper, CWnd)

void COXSizeBarWrapper::Create() {
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        ::RegisterClass(&wc);
    }
    RECT client;
    ::GetClientRect(m_pBar->m_hWnd, &client);
    if (!CreateEx(0, kClassName, GetWindowTextString(m_pBar->m_hWnd), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  client, m_pBar, 0))
        AfxThrowMemoryException();
    ::SendMessage(m_hWnd, WM_NCACTIVATE, TRUE, 0);
}

LRESULT COXSizeBarWrapper::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: {
            LRESULT hit = CWnd::WindowProc(message, wParam, lParam);
            if (hit == HTCLIENT || hit == HTCAPTION)
                return ::SendMessage(m_pBar->m_hWnd, WM_NCHITTEST, wParam, lParam);
            return hit;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ::MapWindowPoints(m_hWnd, m_pBar->m_hWnd, &p, 1);
            return ::SendMessage(m_pBar->m_hWnd, message, wParam, MAKELPARAM(p.x, p.y));
        }
        case WM_MOUSEACTIVATE: {
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT)
                ::SendMessage(m_pBar->m_hWnd, WM_OX_ACTIVATEDOCKEDCHILD, TRUE, 2);
            return r;
        }
        case WM_CLOSE:
            // Closing stands for closing the docked child, whose close asks the document once.
            if (m_pBar->m_pChildWnd && ::IsWindow(m_pBar->m_pChildWnd->m_hWnd))
                ::SendMessage(m_pBar->m_pChildWnd->m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_NCACTIVATE:
            if (wParam && m_pBar->m_pChildWnd && m_pBar->m_pChildWnd->GetActiveMDIChild() != m_pBar->m_pChildWnd)
                return 0;
            break;
        case WM_DESTROY:
            m_bDestroying = TRUE;
            // The view stays with the bar.
            if (m_pView && ::IsWindow(m_pView->m_hWnd) && ::GetParent(m_pView->m_hWnd) == m_hWnd &&
                !m_pBar->IsFloating() && m_pBar->m_hWnd)
                ::SetParent(m_pView->m_hWnd, m_pBar->m_hWnd);
            break;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
