#include "guilib/frame/OXSzMiniDockFrmWnd.h"

#include "guilib/frame/OXMDIChildWndSizeDock.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeViewBar.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/window/Menu.h"

IMPLEMENT_DYNCREATE(COXSizableMiniDockFrameWnd, CMiniDockFrameWnd)

namespace {
HHOOK g_miniHook = nullptr;
int g_miniHookUsers = 0;
HWND g_miniLast = nullptr;
}  // namespace

COXSizableMiniDockFrameWnd::COXSizableMiniDockFrameWnd() = default;
COXSizableMiniDockFrameWnd::~COXSizableMiniDockFrameWnd() = default;

HHOOK COXSizableMiniDockFrameWnd::GetMouseHook() {
    return g_miniHook;
}

COXMiniFrameSkin* COXSizableMiniDockFrameWnd::GetMiniFrameSkin() {
    return OXLookupSkin<COXMiniFrameSkin, COXMiniFrameSkinClassic>(&COXSkin::GetMiniFrameSkin, m_pMiniFrameSkin);
}

BOOL COXSizableMiniDockFrameWnd::DefaultNcActivate(BOOL active) {
    return (BOOL)CWnd::DefWindowProc(WM_NCACTIVATE, active, 0);
}

COXMDIChildWndSizeDock* COXSizableMiniDockFrameWnd::ViewBarChild() const {
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = m_wndDockBar.GetBar(i)) {
            auto* viewBar = dynamic_cast<COXSizeViewBar*>(bar);
            COXMDIChildWndSizeDock* child = viewBar ? viewBar->m_pChildWnd : nullptr;
            return child && ::IsWindow(child->m_hWnd) ? child : nullptr;
        }
    return nullptr;
}

HWND COXSizableMiniDockFrameWnd::GetViewBarChild() const {
    COXMDIChildWndSizeDock* child = ViewBarChild();
    return child ? child->m_hWnd : nullptr;
}

HWND COXSizableMiniDockFrameWnd::GetActiveMDIChild() const {
    COXMDIChildWndSizeDock* child = ViewBarChild();
    CMDIFrameWnd* frame = child ? child->GetMDIFrame() : nullptr;
    CMDIChildWnd* active = frame ? frame->MDIGetActive() : nullptr;
    return active ? active->m_hWnd : nullptr;
}

BOOL COXSizableMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    m_dwMiniStyle = (m_dwMiniStyle & ~(MFS_4THICKFRAME | MFS_MOVEFRAME)) | MFS_THICKFRAME;
    cs.style |= WS_THICKFRAME;
    return CMiniDockFrameWnd::PreCreateWindow(cs);
}

BOOL COXSizableMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle) {
    // Always resizable: the bar's floating size follows the frame.
    return CMiniDockFrameWnd::Create(parent, barStyle | CBRS_SIZE_DYNAMIC);
}

void COXSizableMiniDockFrameWnd::SettleFrame() {
    if (m_nContainedBarType != 0)
        return;
    CControlBar* bar = SingleBar();
    if (auto* sizeBar = dynamic_cast<COXSizeControlBar*>(bar)) {
        // One sizing bar: a window menu that moves, sizes and closes (or hides) it, nothing else.
        ::GetSystemMenu(m_hWnd, TRUE);
        HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
        for (UINT id : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_TASKLIST})
            ::DeleteMenu(menu, id, MF_BYCOMMAND);
        for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
            if (::GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR)
                ::DeleteMenu(menu, (UINT)i, MF_BYPOSITION);
        if (!(sizeBar->GetSizeBarFlags() & SZBAR_DELETE_ON_CLOSE)) {
            CString hide = AfxLoadString(AFX_IDS_HIDE);
            ::ModifyMenu(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, hide);
        }
        m_nContainedBarType = 2;
        return;
    }
    m_nContainedBarType = 1;
    if (bar && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
        m_dwMiniStyle |= MFS_4THICKFRAME;
    } else {
        // Several bars or a fixed one: the frame moves but does not resize.
        ModifyStyle(WS_THICKFRAME, 0, SWP_FRAMECHANGED);
        m_dwMiniStyle |= MFS_MOVEFRAME;
    }
}

void COXSizableMiniDockFrameWnd::TrackWindowMenu(POINT screen, UINT flags) {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    HWND self = m_hWnd;
    UINT command = (UINT)::TrackPopupMenu(menu, flags | TPM_RETURNCMD, screen.x, screen.y, 0, m_hWnd, nullptr);
    if (!command || !::IsWindow(self))
        return;
    // A move or size chosen here starts where the pointer is.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SendMessage(self, WM_SYSCOMMAND, command, MAKELPARAM(cursor.x, cursor.y));
}

void COXSizableMiniDockFrameWnd::CloseFromButton(LPARAM screenPoint) {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu && ::GetMenuItemCount(menu) > 0)
        ::SendMessage(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, screenPoint);
}

LRESULT COXSizableMiniDockFrameWnd::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE)) {
        auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        HWND now = info ? info->hwnd : nullptr;
        if (g_miniLast && now != g_miniLast && ::IsWindow(g_miniLast))
            if (auto* frame = dynamic_cast<COXSizableMiniDockFrameWnd*>(CWnd::FromHandlePermanent(g_miniLast)))
                frame->GetMiniFrameSkin()->DrawCloseButton(frame);
        g_miniLast = now;
    }
    return ::CallNextHookEx(g_miniHook, code, wParam, lParam);
}

LRESULT COXSizableMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
            if (r == -1)
                return r;
            m_nContainedBarType = 0;
            m_bBeingClosed = FALSE;
            if (!g_miniHook)
                g_miniHook = ::SetWindowsHookEx(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
            ++g_miniHookUsers;
            return r;
        }
        case WM_DESTROY:
            // The shared hook goes with the last mini frame.
            if (g_miniHookUsers > 0 && --g_miniHookUsers == 0 && g_miniHook) {
                ::UnhookWindowsHookEx(g_miniHook);
                g_miniHook = nullptr;
                g_miniLast = nullptr;
            }
            break;
        case WM_SIZE: {
            LRESULT r = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
            int cx = LOWORD(lParam), cy = HIWORD(lParam);
            auto* bar = dynamic_cast<COXSizeControlBar*>(SingleBar());
            if (cx > 0 && cy > 0 && bar && bar->IsVisible() && !m_bInRecalcLayout) {
                // The client size is the bar's floating size (the bar's own ring lies inside it).
                bar->m_FloatSize = SIZE{cx, cy};
                RecalcLayout();
            }
            return r;
        }
        case WM_NCHITTEST: {
            LRESULT hit = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
            return GetMiniFrameSkin()->HitTest(this, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, hit);
        }
        case WM_NCLBUTTONDOWN:
            SettleFrame();
            if (wParam == HTCLOSE) {
                // The button stays pressed while the mouse is held; the release decides.
                m_bCloseButtonDown = TRUE;
                ::SetCapture(m_hWnd);
                GetMiniFrameSkin()->DrawCloseButton(this);
                return 0;
            }
            if (m_nContainedBarType == 2 && wParam == HTSYSMENU) {
                POINT below{0, 0};  // the caption's left end, at its bottom
                ::ClientToScreen(m_hWnd, &below);
                TrackWindowMenu(below, TPM_LEFTALIGN | TPM_LEFTBUTTON);
                return 0;
            }
            if (m_nContainedBarType == 2 && wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) {
                // Resized by the window's own sizing loop; WM_SIZE takes the new size.
                if (CWnd* top = GetTopLevelParent())
                    ::SetActiveWindow(top->m_hWnd);
                return CWnd::DefWindowProc(message, wParam, lParam);
            }
            if (m_nContainedBarType == 2 && wParam == HTCAPTION) {
                auto* bar = dynamic_cast<COXSizeControlBar*>(SingleBar());
                CWnd* main = AfxGetMainWnd();
                if (bar && main && ::SendMessage(main->m_hWnd, WM_OX_QUERYLIVEDRAG, 0, 0)) {
                    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                    RECT r;
                    ::GetWindowRect(m_hWnd, &r);
                    bar->m_ptOffset = POINT{screen.x - r.left, screen.y - r.top};
                    bar->m_bDragging = TRUE;
                    ::SetCapture(bar->m_hWnd);
                    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
                    return 0;
                }
            }
            break;
        case WM_MOUSEMOVE:
            if (m_bCloseButtonDown) {
                GetMiniFrameSkin()->DrawCloseButton(this);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (m_bCloseButtonDown) {
                m_bCloseButtonDown = FALSE;
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ::ClientToScreen(m_hWnd, &at);
                if (::GetCapture() == m_hWnd)
                    ::ReleaseCapture();
                LPARAM screen = MAKELPARAM(at.x, at.y);
                if (::SendMessage(m_hWnd, WM_NCHITTEST, 0, screen) == HTCLOSE) {
                    CloseFromButton(screen);  // may destroy this frame
                    return 0;
                }
                GetMiniFrameSkin()->DrawCloseButton(this);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (m_bCloseButtonDown && (HWND)lParam != m_hWnd) {
                m_bCloseButtonDown = FALSE;
                GetMiniFrameSkin()->DrawCloseButton(this);
            }
            break;
        case WM_NCLBUTTONUP:
            if (wParam == HTCLOSE) {
                CloseFromButton(lParam);
                return 0;
            }
            break;
        case WM_NCRBUTTONDOWN:
            TrackWindowMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, TPM_LEFTALIGN | TPM_RIGHTBUTTON);
            return 0;
        case WM_NCMOUSEMOVE:
            // Hot states of the caption buttons.
            GetMiniFrameSkin()->DrawCloseButton(this);
            break;
        case WM_OX_SETTLEFLOATFRAME:
            SettleFrame();
            return 0;
        case WM_SETCURSOR: {
            // Only for the frame's own border and caption: windows inside keep their cursors.
            if ((HWND)wParam != m_hWnd)
                break;
            LPCTSTR cursor = IDC_ARROW;
            switch (LOWORD(lParam)) {
                case HTTOP: case HTBOTTOM: cursor = IDC_SIZENS; break;
                case HTTOPRIGHT: case HTBOTTOMLEFT: cursor = IDC_SIZENESW; break;
                case HTTOPLEFT: case HTBOTTOMRIGHT: cursor = IDC_SIZENWSE; break;
                case HTLEFT: case HTRIGHT: cursor = IDC_SIZEWE; break;
                default: break;
            }
            ::SetCursor(::LoadCursor(nullptr, cursor));
            return TRUE;
        }
        case WM_CLOSE: {
            if (m_bBeingClosed)
                return 0;
            auto* bar = dynamic_cast<COXSizeControlBar*>(SingleBar());
            if (bar && (bar->GetSizeBarFlags() & SZBAR_DELETE_ON_CLOSE)) {
                m_bBeingClosed = TRUE;
                bar->DestroyWindow();
                delete bar;
                m_bBeingClosed = FALSE;
                if (m_hWnd && m_wndDockBar.GetDockedCount() == 0)
                    DestroyWindow();
                return 0;
            }
            if (auto* viewBar = dynamic_cast<COXSizeViewBar*>(SingleBar())) {
                // A docked MDI child's bar: its document decides; the bar docks back hidden and the
                // child closes the framework's way.
                if (!viewBar->CanCloseFrame())
                    return 0;
                HWND self = m_hWnd;
                m_bBeingClosed = TRUE;
                HWND child = viewBar->m_pChildWnd ? viewBar->m_pChildWnd->m_hWnd : nullptr;
                if (viewBar->m_pDockSite)
                    viewBar->m_pDockSite->ShowControlBar(viewBar, FALSE, FALSE);
                if (viewBar->m_pDockContext)
                    viewBar->m_pDockContext->ToggleDocking();
                if (child && ::IsWindow(child))
                    ::SendMessage(child, WM_CLOSE, 0, 0);
                if (::IsWindow(self) && CWnd::FromHandlePermanent(self) == this)
                    m_bBeingClosed = FALSE;
                return 0;
            }
            break;
        }
        case WM_ACTIVATE:
        case WM_MOUSEACTIVATE:
        case WM_PARENTNOTIFY: {
            bool press = message != WM_PARENTNOTIFY || LOWORD(wParam) == WM_LBUTTONDOWN ||
                         LOWORD(wParam) == WM_RBUTTONDOWN || LOWORD(wParam) == WM_MBUTTONDOWN;
            LRESULT r = CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
            if (message == WM_MOUSEACTIVATE)
                SettleFrame();
            if (auto* viewBar = dynamic_cast<COXSizeViewBar*>(SingleBar()); press && viewBar && viewBar->m_hWnd) {
                BOOL activate = message != WM_ACTIVATE || LOWORD(wParam) != WA_INACTIVE;
                ::SendMessage(viewBar->m_hWnd, WM_OX_ACTIVATEDOCKEDCHILD, activate, 3);
            }
            return r;
        }
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam)) {
                // The window menu of a docked MDI child's bar carries the child's dock item.
                auto* viewBar = dynamic_cast<COXSizeViewBar*>(SingleBar());
                COXMDIChildWndSizeDock* child = viewBar ? viewBar->m_pChildWnd : nullptr;
                HMENU menu = (HMENU)wParam;
                const UINT dock = COXMDIChildWndSizeDock::GetDockCommand();
                if (child && child->m_hWnd && menu && ::GetMenuState(menu, dock, MF_BYCOMMAND) == (UINT)-1)
                    child->AppendDockMenuItems(CMenu::FromHandle(menu));
            }
            break;
        case WM_SYSCOMMAND:
            if (wParam == COXMDIChildWndSizeDock::GetDockCommand()) {
                auto* viewBar = dynamic_cast<COXSizeViewBar*>(SingleBar());
                if (viewBar && viewBar->m_pChildWnd && viewBar->m_pChildWnd->m_hWnd)
                    viewBar->m_pChildWnd->ToggleDockState();
                return 0;
            }
            GetMiniFrameSkin()->DrawCaption(this);
            break;
        case WM_NCPAINT:
            GetMiniFrameSkin()->OnNcPaint(this);
            return 0;
        case WM_NCACTIVATE:
            return GetMiniFrameSkin()->OnNcActivate((BOOL)wParam, this);
        default:
            break;
    }
    return CMiniDockFrameWnd::WindowProc(message, wParam, lParam);
}
