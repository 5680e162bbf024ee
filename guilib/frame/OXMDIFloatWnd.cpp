#include "guilib/frame/OXMDIFloatWnd.h"

#include "guilib/frame/OXSizeCtrlBar.h"
#include "platform/framework/bars/DockContext.h"

IMPLEMENT_DYNCREATE(COXMDIFloatWnd, CMDIChildWnd)

COXMDIFloatWnd::COXMDIFloatWnd() : m_wndDockBar(TRUE) {}

BOOL COXMDIFloatWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL COXMDIFloatWnd::Create(CMDIFrameWnd* parent, DWORD style) {
    m_bCreating = TRUE;
    BOOL ok = CMDIChildWnd::Create(nullptr, "", WS_CHILD | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW, rectDefault,
                                   parent, nullptr);
    if (ok) {
        m_wndDockBar.m_pDockSite = parent;
        DWORD align = (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
        ok = m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | align | (style & CBRS_FLOAT_MULTI),
                                 AFX_IDW_DOCKBAR_FLOAT);
        if (!ok)
            DestroyWindow();
    }
    m_bCreating = FALSE;
    return ok;
}

CControlBar* COXMDIFloatWnd::GetSingleBar() const {
    CControlBar* found = nullptr;
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = m_wndDockBar.GetBar(i)) {
            if (found)
                return nullptr;
            found = bar;
        }
    return found;
}

void COXMDIFloatWnd::RecalcLayout(BOOL) {
    if (m_bCreating || m_bInRecalcLayout || !m_wndDockBar.m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    m_wndDockBar.m_rectLayout = client;
    m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
    ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    CString title = GetWindowTextString(m_wndDockBar.m_hWnd);
    if (CControlBar* bar = GetSingleBar())
        title = GetWindowTextString(bar->m_hWnd);
    if (title != GetWindowTextString(m_hWnd))
        SetWindowText(title);
    m_bInRecalcLayout = FALSE;
}

LRESULT COXMDIFloatWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            LRESULT r = CMDIChildWnd::WindowProc(message, wParam, lParam);
            int cx = LOWORD(lParam), cy = HIWORD(lParam);
            auto* bar = dynamic_cast<COXSizeControlBar*>(GetSingleBar());
            if (cx > 0 && cy > 0 && bar && bar->IsVisible())
                bar->m_FloatSize = SIZE{cx, cy};
            RecalcLayout();
            return r;
        }
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = CMDIChildWnd::WindowProc(message, wParam, lParam);
            RememberFloatPos();
            return r;
        }
        case WM_CLOSE: {
            CControlBar* single = GetSingleBar();
            auto* sizeBar = dynamic_cast<COXSizeControlBar*>(single);
            if (sizeBar && (sizeBar->GetSizeBarFlags() & SZBAR_DELETE_ON_CLOSE)) {
                sizeBar->DestroyWindow();
                delete sizeBar;
                return CMDIChildWnd::WindowProc(message, wParam, lParam);
            }
            if (m_wndDockBar.GetDockedCount() > 0) {
                // Closing hides the bars; the window stays for them to come back.
                for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
                    if (CControlBar* bar = m_wndDockBar.GetBar(i); bar && bar->m_pDockSite)
                        bar->m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
                ::ShowWindow(m_hWnd, SW_HIDE);
                ::SendMessage(::GetParent(m_hWnd), WM_MDINEXT, 0, 0);
            }
            return 0;
        }
        case WM_FLOATINGFRAMEEMPTY:
            if (m_wndDockBar.GetDockedCount() == 0)
                DestroyWindow();
            return 0;
        default:
            break;
    }
    return CMDIChildWnd::WindowProc(message, wParam, lParam);
}

void COXMDIFloatWnd::RememberFloatPos() {
    if (CControlBar* bar = GetSingleBar(); bar && bar->m_pDockContext) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        bar->m_pDockContext->m_ptMRUFloatPos = POINT{rc.left, rc.top};
    }
}
