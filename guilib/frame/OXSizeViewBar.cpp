#include "guilib/frame/OXSizeViewBar.h"

#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXMDIChildWndSizeDock.h"
#include "guilib/frame/OXSizeBarWrapper.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"
#include "platform/framework/docview/Document.h"
#include "platform/framework/docview/View.h"

IMPLEMENT_DYNAMIC(COXSizeViewBar, COXSizeControlBar)

#ifndef FS_ACTIVATE
#define FS_ACTIVATE 0x0004
#define FS_DEACTIVATE 0x0008
#endif

COXSizeViewBar::COXSizeViewBar() : COXSizeControlBar(SZBAR_CONTEXT_MENU | SZBAR_SKIN_CAPTION) {}

COXSizeViewBar::~COXSizeViewBar() {
    m_bDestroying = TRUE;
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXSizeViewBar::IsLiveChild() const {
    return m_pChildWnd && m_pChildWnd->m_hWnd && ::IsWindow(m_pChildWnd->m_hWnd);
}

BOOL COXSizeViewBar::DockChild(COXMDIChildWndSizeDock* child, DWORD side, BOOL besideLast) {
    auto* frame = child ? dynamic_cast<COXMDIFrameWndSizeDock*>(child->GetMDIFrame()) : nullptr;
    if (!frame)
        return FALSE;
    m_pChildWnd = child;
    if (!m_hWnd) {
        if (!CreateBar(frame, GetWindowTextString(child->m_hWnd), kBarId, WS_CHILD | WS_VISIBLE | 0x8200))
            return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
    }
    m_pView = child->GetActiveView();
    if (m_pView && m_pView->m_hWnd)
        ::SetParent(m_pView->m_hWnd, m_hWnd);
    HWND client = frame->m_hWndMDIClient;
    if ((HWND)::SendMessage(client, WM_MDIGETACTIVE, 0, 0) == child->m_hWnd)
        ::SendMessage(client, WM_MDINEXT, (WPARAM)child->m_hWnd, 0);
    ::ShowWindow(child->m_hWnd, SW_HIDE);
    frame->ShowControlBar(this, TRUE, FALSE);
    // The requested side when the child allows it, else the first it allows.
    static const struct {
        DWORD side;
        UINT dockBar;
    } kOrder[] = {{CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
                  {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
                  {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
                  {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT}};
    UINT dockBar = 0;
    for (const auto& o : kOrder)
        if ((side & o.side) && (child->m_dwAllowedDockSides & o.side)) {
            dockBar = o.dockBar;
            break;
        }
    for (const auto& o : kOrder)
        if (!dockBar && (child->m_dwAllowedDockSides & o.side))
            dockBar = o.dockBar;
    if (!dockBar)
        dockBar = AFX_IDW_DOCKBAR_TOP;
    CControlBar* last = nullptr;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;)
        last = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
    if (besideLast && last && last != this && last->m_hWnd) {
        RECT r;
        ::GetWindowRect(last->m_hWnd, &r);
        OffsetRect(&r, 1, 1);
        frame->DockControlBar(this, dockBar, &r);
    } else {
        frame->DockControlBar(this, dockBar);
    }
    frame->RecalcLayout();
    PlaceView();
    ::SendMessage(client, WM_MDIREFRESHMENU, 0, 0);
    return TRUE;
}

void COXSizeViewBar::UndockChild(BOOL show) {
    if (!IsLiveChild() || !m_pChildWnd->m_bDocked)
        return;
    auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pChildWnd->GetMDIFrame());
    if (!frame)
        return;
    if (m_pView && ::IsWindow(m_pView->m_hWnd)) {
        if (m_pWrapper && m_pWrapper->m_hWnd)
            m_pWrapper->m_pView = nullptr;
        ::SetParent(m_pView->m_hWnd, m_pChildWnd->m_hWnd);
        frame->SetActiveView(nullptr, FALSE);
        m_pChildWnd->SetActiveView(m_pView, FALSE);
    }
    if (show && m_hWnd) {
        frame->ShowControlBar(this, FALSE, FALSE);
        frame->RecalcLayout();
    }
    if (frame->MDIGetActive() == m_pChildWnd) {
        frame->SetActiveDockedChild(nullptr);
        ::SendMessage(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)m_pChildWnd->m_hWnd, 0);
    }
    if (show)
        ::ShowWindow(m_pChildWnd->m_hWnd, SW_SHOW);
    if (m_pView && ::IsWindow(m_pView->m_hWnd)) {
        RECT client;
        ::GetClientRect(m_pChildWnd->m_hWnd, &client);
        ::SetWindowPos(m_pView->m_hWnd, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SendMessage(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

BOOL COXSizeViewBar::CanCloseFrame() {
    if (!m_hWnd || !m_pView || !::IsWindow(m_pView->m_hWnd) || !IsLiveChild())
        return TRUE;
    CDocument* doc = m_pView->GetDocument();
    if (!doc)
        return TRUE;
    // Asked with the view in its child, so the document sees which frame shows it.
    HWND holder = ::GetParent(m_pView->m_hWnd);
    ReturnView();
    BOOL ok = doc->CanCloseFrame(m_pChildWnd);
    if (::IsWindow(m_pView->m_hWnd) && ::IsWindow(holder) && ::GetParent(m_pView->m_hWnd) != holder)
        ::SetParent(m_pView->m_hWnd, holder);
    return ok;
}

void COXSizeViewBar::ReturnView() {
    if (m_pView && ::IsWindow(m_pView->m_hWnd) && IsLiveChild() && ::GetParent(m_pView->m_hWnd) != m_pChildWnd->m_hWnd)
        ::SetParent(m_pView->m_hWnd, m_pChildWnd->m_hWnd);
}

void COXSizeViewBar::PlaceView() {
    if (!IsLiveChild() || !m_pChildWnd->m_bDocked || !m_hWnd || !m_pView || !::IsWindow(m_pView->m_hWnd))
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!IsFloating()) {
        if (!m_pWrapper || !m_pWrapper->m_hWnd) {
            m_pWrapper = std::make_unique<COXSizeBarWrapper>(this);
            m_pWrapper->Create();
        }
        m_pWrapper->m_pView = m_pView;
        ::SetWindowPos(m_pWrapper->m_hWnd, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetParent(m_pView->m_hWnd, m_pWrapper->m_hWnd);
        ::GetClientRect(m_pWrapper->m_hWnd, &client);
    } else {
        // Floating, the bar holds the view itself.
        ::SetParent(m_pView->m_hWnd, m_hWnd);
        if (m_pWrapper && m_pWrapper->m_hWnd) {
            m_pWrapper->m_pView = nullptr;
            m_pWrapper->DestroyWindow();
        }
        m_pWrapper.reset();
        if (CFrameWnd* mini = GetParentFrame(); mini && mini != m_pChildWnd->GetMDIFrame())
            mini->RecalcLayout();
    }
    ::SetWindowPos(m_pView->m_hWnd, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_pView->m_hWnd, SW_SHOWNA);
    if (m_pChildWnd->GetActiveMDIChild() == m_pChildWnd)
        ::SetFocus(m_pView->m_hWnd);
}

void COXSizeViewBar::OnSizedOrDocked(int, int, BOOL, int) {
    PlaceView();
}

void COXSizeViewBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    UpdateDialogControls(target, disableIfNoHandler);
}

LRESULT COXSizeViewBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY: {
            LRESULT r = COXSizeControlBar::WindowProc(message, wParam, lParam);
            m_bDestroying = TRUE;
            UndockChild(FALSE);
            return r;
        }
        case WM_NCDESTROY: {
            if (m_pView && ::IsWindow(m_pView->m_hWnd) && IsLiveChild() &&
                ::GetParent(m_pView->m_hWnd) != m_pChildWnd->m_hWnd)
                ::SetParent(m_pView->m_hWnd, m_pChildWnd->m_hWnd);
            COXMDIChildWndSizeDock* child = IsLiveChild() ? m_pChildWnd : nullptr;
            LRESULT r = COXSizeControlBar::WindowProc(message, wParam, lParam);
            m_pWrapper.reset();
            if (child && child->m_bDocked && !child->m_bClosing) {
                // Posted: the child owns this bar, and closing it now would delete the bar under us.
                ::PostMessage(child->m_hWnd, WM_CLOSE, 0, 0);
            } else if (child) {
                if (CFrameWnd* frame = child->GetMDIFrame())
                    frame->SetActiveView(nullptr, FALSE);
            }
            return r;
        }
        case WM_CONTEXTMENU:
            if ((GetSizeBarFlags() & SZBAR_CONTEXT_MENU) && IsLiveChild()) {
                CMenu menu;
                menu.CreatePopupMenu();
                m_pChildWnd->BuildDockMenu(&menu);
                menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                                    m_pChildWnd);
                return 0;
            }
            break;
        case WM_SETTEXT: {
            LRESULT r = COXSizeControlBar::WindowProc(message, wParam, lParam);
            if (m_pWrapper && m_pWrapper->m_hWnd)
                ::SetWindowText(m_pWrapper->m_hWnd, (LPCTSTR)lParam);
            else if (CFrameWnd* mini = GetParentFrame(); mini && IsFloating())
                mini->RecalcLayout();
            return r;
        }
        case WM_OX_APPENDCONTEXTMENU:
            if (IsLiveChild()) {
                CMenu* menu = CMenu::FromHandle((HMENU)lParam);
                m_pChildWnd->BuildDockMenu(menu);
            }
            return 0;
        case WM_OX_ACTIVATEDOCKEDCHILD: {
            BOOL activate = (BOOL)wParam;
            if (lParam == 1) {
                if (IsLiveChild() && m_pChildWnd->m_bDocked) {
                    if (IsFloating()) {
                        if (CFrameWnd* mini = GetParentFrame()) {
                            ::SendMessage(mini->m_hWnd, WM_NCACTIVATE, FALSE, 0);
                            ::SendMessage(mini->m_hWnd, WM_FLOATSTATUS, activate ? FS_ACTIVATE : FS_DEACTIVATE, 0);
                        }
                    } else if (m_pWrapper && m_pWrapper->m_hWnd) {
                        ::SendMessage(m_pWrapper->m_hWnd, WM_NCACTIVATE, activate, 0);
                    }
                }
            } else if (activate && IsLiveChild() && m_pChildWnd->m_bDocked) {
                // The docked child becomes the one commands, menus and the title go to.
                if (auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pChildWnd->GetMDIFrame()))
                    frame->ActivateChild(m_pChildWnd);
                if (m_pView && m_pView->m_hWnd)
                    ::SetFocus(m_pView->m_hWnd);
            }
            SetActive(activate, activate);
            return 0;
        }
        default:
            break;
    }
    return COXSizeControlBar::WindowProc(message, wParam, lParam);
}
