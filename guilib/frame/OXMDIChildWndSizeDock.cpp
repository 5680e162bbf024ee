#include "guilib/frame/OXMDIChildWndSizeDock.h"

#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXSizeBarWrapper.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/Document.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/window/Menu.h"

IMPLEMENT_DYNCREATE(COXMDIChildWndSizeDock, CMDIChildWnd)

UINT COXMDIChildWndSizeDock::GetDockCommand() {
    static const UINT command = ::RegisterWindowMessage("_DOCK_MDICHILD_");
    return command;
}

COXMDIChildWndSizeDock::COXMDIChildWndSizeDock() {
    m_sMenuCaption = AfxLoadString(IDS_OX_DOCKWINDOW);
    if (m_sMenuCaption.IsEmpty())
        m_sMenuCaption = "Dock window";
    GetDockCommand();
}

COXMDIChildWndSizeDock::~COXMDIChildWndSizeDock() = default;

void COXMDIChildWndSizeDock::BuildDockMenu(CMenu* popup) {
    if (popup)
        popup->AppendMenu(MF_STRING | (m_bDocked ? MF_CHECKED : MF_UNCHECKED), GetDockCommand(), m_sMenuCaption);
}

void COXMDIChildWndSizeDock::AppendDockMenuItems(CMenu* menu) {
    if (!menu)
        return;
    menu->AppendMenu(MF_SEPARATOR, 0, (LPCTSTR) nullptr);
    BuildDockMenu(menu);
}

BOOL COXMDIChildWndSizeDock::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect,
                                    CMDIFrameWnd* parent, CCreateContext* context) {
    if (!parent)
        parent = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!CMDIChildWnd::Create(className, title, style & ~(WS_VISIBLE | WS_MAXIMIZE), rect, parent, context))
        return FALSE;
    if (style & WS_VISIBLE) {
        ::BringWindowToTop(m_hWnd);
        ::ShowWindow(m_hWnd, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                             : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                     : SW_SHOWNORMAL);
        if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(parent))
            dock->ActivateChild(this);
        else
            ::SendMessage(parent->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
    }
    RefreshWindowMenu();
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
        AppendDockMenuItems(CMenu::FromHandle(system));
    return TRUE;
}

void COXMDIChildWndSizeDock::RefreshWindowMenu() {
    if (CMDIFrameWnd* frame = GetMDIFrame(); frame && frame->m_hWndMDIClient)
        ::SendMessage(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

void COXMDIChildWndSizeDock::ToggleDockState() {
    SetDocked(!m_bDocked, CBRS_ALIGN_TOP, FALSE);
}

BOOL COXMDIChildWndSizeDock::SetDocked(BOOL dock, DWORD side, BOOL besideLast) {
    if (!dynamic_cast<COXMDIFrameWndSizeDock*>(GetMDIFrame()))
        return FALSE;
    if ((dock != FALSE) == (m_bDocked != FALSE))
        return TRUE;
    if (dock) {
        m_bDocked = TRUE;
        if (!m_wndViewBar.DockChild(this, side, besideLast)) {
            m_bDocked = FALSE;
            return FALSE;
        }
    } else {
        m_wndViewBar.UndockChild(TRUE);
        m_bDocked = FALSE;
    }
    RecalcLayout();
    return TRUE;
}

CMDIChildWnd* COXMDIChildWndSizeDock::GetActiveMDIChild() {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(frame))
        return dock->MDIGetActive();
    return frame ? frame->MDIGetActive() : nullptr;
}

void COXMDIChildWndSizeDock::ActivateFrame(int showCmd) {
    if (m_bDocked) {
        // The child shows as its bar.
        if (m_wndViewBar.m_hWnd)
            if (CFrameWnd* frame = GetMDIFrame())
                frame->ShowControlBar(&m_wndViewBar, TRUE, FALSE);
        RefreshWindowMenu();
        return;
    }
    if (showCmd == -1) {
        BOOL maximized = FALSE;
        CMDIFrameWnd* frame = GetMDIFrame();
        if (frame && frame->MDIGetActive(&maximized) && maximized)
            showCmd = SW_SHOWMAXIMIZED;
        else if (GetStyle() & WS_MAXIMIZE)
            showCmd = SW_SHOWMAXIMIZED;
        else if (GetStyle() & WS_MINIMIZE)
            showCmd = SW_SHOWMINIMIZED;
    }
    const bool visibleBefore = (GetStyle() & WS_VISIBLE) != 0;
    CMDIChildWnd::ActivateFrame(showCmd);
    RefreshWindowMenu();
    const bool visibleNow = (GetStyle() & WS_VISIBLE) != 0;
    if (visibleNow == visibleBefore)
        return;
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame || !frame->m_hWndMDIClient)
        return;
    if (!visibleNow) {
        // MDI keeps a hidden child active while no other is visible: it lets go of the menus and the
        // commands itself, and the frame reports no active child.
        if ((HWND)::SendMessage(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) != m_hWnd) {
            m_bPseudoInactive = FALSE;
            return;
        }
        ::SendMessage(frame->m_hWndMDIClient, WM_MDINEXT, 0, 0);
        if ((HWND)::SendMessage(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) == m_hWnd) {
            OnMDIActivate(FALSE, nullptr, this);
            m_bPseudoInactive = TRUE;
        }
    } else if (m_bPseudoInactive) {
        m_bPseudoInactive = FALSE;
        OnMDIActivate(TRUE, this, nullptr);
    }
}

BOOL COXMDIChildWndSizeDock::DestroyWindow() {
    m_bClosing = TRUE;
    if (m_wndViewBar.m_hWnd && !m_wndViewBar.m_bDestroying) {
        m_wndViewBar.m_bDestroying = TRUE;
        m_wndViewBar.DestroyWindow();
    }
    CMDIFrameWnd* frame = GetMDIFrame();
    HWND frameHwnd = frame ? frame->m_hWnd : nullptr;
    DWORD frameStyle = frame ? frame->GetStyle() : 0;
    if (frame) {
        // The frame's title is set once, after the child is gone.
        frame->ModifyStyle(FWS_ADDTOTITLE, 0);
        frame->SetActiveView(nullptr, FALSE);
        if (auto* dock = dynamic_cast<COXMDIFrameWndSizeDock*>(frame); dock && dock->m_pActiveDockChild == this)
            dock->SetActiveDockedChild(nullptr);
    }
    BOOL ok = CMDIChildWnd::DestroyWindow();
    if (frameHwnd && ::IsWindow(frameHwnd) && CWnd::FromHandlePermanent(frameHwnd) == frame) {
        frame->ModifyStyle(0, frameStyle & FWS_ADDTOTITLE);
        frame->OnUpdateFrameTitle(TRUE);
    }
    return ok;
}

void COXMDIChildWndSizeDock::OnUpdateFrameTitle(BOOL addToTitle) {
    CMDIChildWnd::OnUpdateFrameTitle(addToTitle);
    if (m_bDocked && m_wndViewBar.m_hWnd)
        m_wndViewBar.SetWindowText(GetWindowTextString(m_hWnd));
}

void COXMDIChildWndSizeDock::OnClose() {
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    HWND self = m_hWnd;
    // The framework's close finds the document's frames through the views' parents: a docked view goes
    // home first, or closing it would close the main frame (or skip the save prompt).
    BOOL docked = m_bDocked;
    if (docked)
        m_wndViewBar.ReturnView();
    CMDIChildWnd::WindowProc(WM_CLOSE, 0, 0);
    if (::IsWindow(self) && CWnd::FromHandlePermanent(self) == this) {
        m_bClosing = FALSE;
        if (docked && m_bDocked && m_wndViewBar.m_hWnd) {
            m_wndViewBar.PlaceView();
        } else if (m_bDocked) {
            // Its bar is gone and its document stays: it shows as an MDI window again.
            m_bDocked = FALSE;
            ::ShowWindow(m_hWnd, SW_SHOW);
            if (CMDIFrameWnd* frame = GetMDIFrame())
                ::SendMessage(frame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
        }
    }
}

LRESULT COXMDIChildWndSizeDock::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT dockCommand = GetDockCommand();
    switch (message) {
        case WM_MDIACTIVATE:
            // MDI itself activates or deactivates the child: any pseudo-deactivation is over.
            m_bPseudoInactive = FALSE;
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_CONTEXTMENU: {
            CMenu menu;
            menu.CreatePopupMenu();
            BuildDockMenu(&menu);
            menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), this);
            return 0;
        }
        case WM_NCRBUTTONDOWN:
            if (wParam == HTCAPTION && !(GetStyle() & WS_SYSMENU)) {
                CMenu menu;
                menu.CreatePopupMenu();
                BuildDockMenu(&menu);
                menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                                    this);
                return 0;
            }
            break;
        case WM_PARENTNOTIFY:
            if (LOWORD(wParam) == WM_DESTROY) {
                // A view going away is no longer anybody's active view.
                auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent((HWND)lParam));
                if (view && GetActiveView() == view)
                    SetActiveView(nullptr, FALSE);
                if (CFrameWnd* frame = GetMDIFrame(); view && frame && frame->GetActiveView() == view)
                    frame->SetActiveView(nullptr, FALSE);
            }
            break;
        case WM_SYSCOMMAND:
            if (wParam == dockCommand) {
                ToggleDockState();
                return 0;
            }
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == (dockCommand & 0xFFFF) && lParam == 0) {
                ToggleDockState();
                return 0;
            }
            break;
        case WM_STYLECHANGING:
            // A docked child never shows as an MDI window.
            if (wParam == (WPARAM)GWL_STYLE && m_bDocked && lParam)
                reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew &= ~WS_VISIBLE;
            return 0;
        case WM_SETTEXT: {
            LRESULT r = CMDIChildWnd::WindowProc(message, wParam, lParam);
            if (m_bDocked && m_wndViewBar.m_pWrapper && m_wndViewBar.m_pWrapper->m_hWnd)
                ::SetWindowText(m_wndViewBar.m_pWrapper->m_hWnd, (LPCTSTR)lParam);
            return r;
        }
        default:
            break;
    }
    return CMDIChildWnd::WindowProc(message, wParam, lParam);
}
