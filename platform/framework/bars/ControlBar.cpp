#include "platform/framework/bars/ControlBar.h"

#include <algorithm>

#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/DockContext.h"
#include "platform/framework/bars/DockState.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    delete m_pDockContext;
    m_pDockContext = nullptr;
    if (m_hWnd)
        DestroyWindow();
}

void CControlBar::PostNcDestroy() {
    // The window is gone: the object belongs to no frame and no dock bar any more (it may be created again).
    m_pDockSite = nullptr;
    m_pDockBar = nullptr;
    if (m_pDockContext)
        m_pDockContext->m_pDockSite = nullptr;
    if (m_bAutoDelete)
        delete this;
}

int CControlBar::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1)
        return -1;
    (void)cs;
    // A bar created in a frame belongs to that frame's list of bars (a dock bar of a floating frame is
    // put in its owner's list by the floating frame).
    if (!m_pDockSite) {
        CWnd* parent = GetParent();
        if (parent && parent->IsFrameWnd())
            m_pDockSite = static_cast<CFrameWnd*>(parent);
    }
    if (m_pDockSite && !m_pDockSite->m_listControlBars.Find(this))
        m_pDockSite->m_listControlBars.AddTail(this);
    return 0;
}

void CControlBar::OnDestroy() {
    if (m_pDockSite) {
        if (POSITION pos = m_pDockSite->m_listControlBars.Find(this))
            m_pDockSite->m_listControlBars.RemoveAt(pos);
    }
    if (m_pDockBar && !m_pDockBar->IsKindOf(RUNTIME_CLASS(CDockBar)))
        m_pDockBar = nullptr;
    if (m_pDockBar && ::IsWindow(m_pDockBar->m_hWnd))
        m_pDockBar->RemoveControlBar(this, -1, 0);
    m_pDockBar = nullptr;
    Default();
}

void CControlBar::SetBarStyle(DWORD style) {
    DWORD old = m_dwStyle;
    m_dwStyle = style & CBRS_ALL;
    if (old != m_dwStyle) {
        OnBarStyleChange(old, m_dwStyle);
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void CControlBar::SetBorders(int left, int top, int right, int bottom) {
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
    CFrameWnd* frame = GetParentFrame();
    return frame ? frame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const {
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

void CControlBar::EnableDocking(DWORD dockStyle) {
    m_dwDockStyle = dockStyle;
    if (!m_pDockContext)
        m_pDockContext = new CDockContext(this);
    if (m_hWnd && !::GetWindow(m_hWnd, GW_OWNER) && GetParent())
        ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)GetParent()->m_hWnd);
}

void CControlBar::DelayShow(BOOL show) {
    m_nStateFlags &= ~(delayHide | delayShow);
    if (show && !(GetStyle() & WS_VISIBLE))
        m_nStateFlags |= delayShow;
    else if (!show && (GetStyle() & WS_VISIBLE))
        m_nStateFlags |= delayHide;
    if (CFrameWnd* frame = GetDockingFrame())
        frame->DelayRecalcLayout();
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout) {
    DWORD style = GetStyle();
    if (!(m_nStateFlags & (delayHide | delayShow)))
        return style;
    bool show = (m_nStateFlags & delayShow) != 0;
    if (layout && !layout->hDWP)  // a query: as it will be
        return show ? (style | WS_VISIBLE) : (style & ~WS_VISIBLE);
    m_nStateFlags &= ~(delayHide | delayShow);
    ::ShowWindow(m_hWnd, show ? SW_SHOWNA : SW_HIDE);
    // A floating bar's frame follows its bars.
    if (m_pDockBar && m_pDockBar->m_bFloating)
        m_pDockBar->ShowAll(show);
    return GetStyle();
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD style = RecalcDelayShow(layout);
    if (!(style & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY))
        return 0;
    RECT rect = layout->rect;
    SIZE avail{rect.right - rect.left, rect.bottom - rect.top};
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    SIZE size = CalcDynamicLayout(-1, mode);
    size.cx = std::min(size.cx, std::max<LONG>(0, avail.cx));
    size.cy = std::min(size.cy, std::max<LONG>(0, avail.cy));
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (layout->hDWP)
        AfxRepositionWindow(layout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!(GetStyle() & WS_VISIBLE) && !(m_nStateFlags & delayShow))
        return 0;
    // The commands are asked of the frame that owns the bar (a floating bar's owner, not its mini frame).
    CFrameWnd* target = nullptr;
    if (CWnd* owner = GetOwner(); owner && owner->IsFrameWnd())
        target = static_cast<CFrameWnd*>(owner);
    if (!target)
        target = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (target)
        OnUpdateCmdUI(target, (BOOL)wParam);
    return 0;
}

SIZE CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size{0, 0};
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, horz);
    // The inside rectangle of an empty one is the borders turned inside out.
    size.cx -= inside.right - inside.left;
    size.cy -= inside.bottom - inside.top;
    size.cx = std::min<LONG>(size.cx, 32767);
    size.cy = std::min<LONG>(size.cy, 32767);
    return size;
}

SIZE CControlBar::CalcDynamicLayout(int length, DWORD mode) {
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(RECT& rect, BOOL horz) const {
    DWORD style = m_dwStyle;
    if (style & CBRS_BORDER_LEFT)
        rect.left += AFX_CX_BORDER;
    if (style & CBRS_BORDER_TOP)
        rect.top += AFX_CY_BORDER;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= AFX_CX_BORDER;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= AFX_CY_BORDER;
    // Inner margins; the gripper sits before the first item across the bar's length.
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if ((style & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER) {
        if (horz)
            rect.left += AFX_CX_GRIPPER + AFX_CX_BORDER_GRIPPER * 2;
        else
            rect.top += AFX_CY_GRIPPER + AFX_CY_BORDER_GRIPPER * 2;
    }
}

void CControlBar::DrawBorders(HDC dc, RECT& rect) {
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY))
        return;
    HBRUSH shadow = GetSysColorBrush(COLOR_3DSHADOW), light = GetSysColorBrush(COLOR_3DHILIGHT);
    auto line = [&](int l, int t, int r, int b, HBRUSH brush) {
        RECT x{l, t, r, b};
        FillRect(dc, &x, brush);
    };
    // A shadow line on each bordered side, and with CBRS_BORDER_3D a highlight line inside it.
    if (style & CBRS_BORDER_LEFT)
        line(rect.left, rect.top, rect.left + 1, rect.bottom, shadow);
    if (style & CBRS_BORDER_TOP)
        line(rect.left, rect.top, rect.right, rect.top + 1, shadow);
    if (style & CBRS_BORDER_RIGHT)
        line(rect.right - 1, rect.top, rect.right, rect.bottom, shadow);
    if (style & CBRS_BORDER_BOTTOM)
        line(rect.left, rect.bottom - 1, rect.right, rect.bottom, shadow);
    if (style & CBRS_BORDER_3D) {
        if (style & CBRS_BORDER_LEFT)
            line(rect.left + 1, rect.top, rect.left + 2, rect.bottom, light);
        if (style & CBRS_BORDER_TOP)
            line(rect.left, rect.top + 1, rect.right, rect.top + 2, light);
    }
    if (style & CBRS_BORDER_LEFT)
        rect.left += AFX_CX_BORDER;
    if (style & CBRS_BORDER_TOP)
        rect.top += AFX_CY_BORDER;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= AFX_CX_BORDER;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= AFX_CY_BORDER;
}

void CControlBar::DrawGripper(HDC dc, const RECT& rect) {
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    // A raised bar across the bar's thickness, before its first item.
    RECT g;
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        g = RECT{rect.left + AFX_CX_BORDER_GRIPPER, rect.top + m_cyTopBorder,
                 rect.left + AFX_CX_BORDER_GRIPPER + AFX_CX_GRIPPER, rect.bottom - m_cyBottomBorder};
    else
        g = RECT{rect.left + m_cxLeftBorder, rect.top + AFX_CY_BORDER_GRIPPER, rect.right - m_cxRightBorder,
                 rect.top + AFX_CY_BORDER_GRIPPER + AFX_CY_GRIPPER};
    DrawEdge(dc, &g, BDR_RAISEDINNER, BF_RECT);
}

void CControlBar::DoPaint(HDC dc) {
    (void)dc;
}

INT_PTR CControlBar::OnToolHitTest(POINT, TOOLINFO*) const {
    return -1;
}

BOOL CControlBar::PreTranslateMessage(MSG* msg) {
    if ((m_dwStyle & CBRS_TOOLTIPS) && !(m_nFlags & WF_TOOLTIPS))
        FilterToolTipMessage(msg);
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            // The whole bar answers as client area, so a press on the gripper or a border reaches the
            // mouse handlers (with coordinates outside the client rectangle) and drags or toggles docking.
            return HTCLIENT;
        case WM_NCCALCSIZE: {
            // The borders, margins and gripper lie outside the client area, so items start at (0, 0).
            LRESULT r = CWnd::WindowProc(message, wParam, lParam);
            auto* rc = reinterpret_cast<RECT*>(lParam);  // the first rectangle of either form
            RECT inside{0, 0, 0, 0};
            CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
            rc->left += inside.left;
            rc->top += inside.top;
            rc->right += inside.right;
            rc->bottom += inside.bottom;
            if (rc->right < rc->left)
                rc->right = rc->left;
            if (rc->bottom < rc->top)
                rc->bottom = rc->top;
            return r;
        }
        case WM_NCPAINT: {
            HDC dc = ::GetWindowDC(m_hWnd);
            RECT window;
            ::GetWindowRect(m_hWnd, &window);
            OffsetRect(&window, -window.left, -window.top);
            RECT client;
            ::GetClientRect(m_hWnd, &client);
            POINT origin{0, 0};
            ::ClientToScreen(m_hWnd, &origin);
            RECT screen;
            ::GetWindowRect(m_hWnd, &screen);
            OffsetRect(&client, origin.x - screen.left, origin.y - screen.top);
            // The ring outside the client area: face, borders, gripper.
            RECT parts[4] = {{window.left, window.top, window.right, client.top},
                             {window.left, client.bottom, window.right, window.bottom},
                             {window.left, client.top, client.left, client.bottom},
                             {client.right, client.top, window.right, client.bottom}};
            for (const RECT& p : parts)
                if (!IsRectEmpty(&p))
                    FillRect(dc, &p, GetSysColorBrush(COLOR_3DFACE));
            RECT rest = window;
            DrawBorders(dc, rest);
            DrawGripper(dc, rest);
            ::ReleaseDC(m_hWnd, dc);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_pDockBar && m_pDockContext && OnToolHitTest(p, nullptr) == -1) {
                ::ClientToScreen(m_hWnd, &p);
                m_pDockContext->StartDrag(p);
                return 0;
            }
            break;
        }
        case WM_LBUTTONDBLCLK: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_pDockBar && m_pDockContext && OnToolHitTest(p, nullptr) == -1) {
                m_pDockContext->ToggleDocking();
                return 0;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (m_dwStyle & CBRS_FLYBY) {
                // The frame shows the prompt of the item under the mouse, and its idle text off the items.
                INT_PTR id = OnToolHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, nullptr);
                UINT show = id > 0 ? (UINT)id : 0;
                if (show != m_nFlyById) {
                    m_nFlyById = show;
                    if (CFrameWnd* frame = m_pDockSite ? m_pDockSite : GetParentFrame())
                        frame->SendMessage(WM_SETMESSAGESTRING, show ? show : AFX_IDS_IDLEMESSAGE, 0);
                }
            }
            break;
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::GetBarInfo(CControlBarInfo* info) {
    info->m_nBarID = (UINT)GetDlgCtrlID();
    info->m_pBar = this;
    info->m_bVisible = IsVisible();
    info->m_bFloating = FALSE;
    info->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    info->m_bDockBar = IsDockBar();
    info->m_nMRUWidth = m_nMRUWidth;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (m_pDockBar && ::IsWindow(m_pDockBar->m_hWnd))
        ::ScreenToClient(m_pDockBar->m_hWnd, reinterpret_cast<POINT*>(&rc));
    info->m_pointPos = POINT{rc.left, rc.top};
    if (m_pDockContext) {
        info->m_bDocking = TRUE;
        info->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        info->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        info->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        info->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    } else {
        info->m_bDocking = FALSE;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* info, CFrameWnd* frame) {
    (void)frame;
    // Shown or hidden at the frame's next layout; the place comes with the dock bar's list.
    DelayShow(info->m_bVisible);
    m_nMRUWidth = info->m_nMRUWidth;
    if (info->m_bDocking) {
        if (!m_pDockContext)
            m_pDockContext = new CDockContext(this);
        m_pDockContext->m_uMRUDockID = info->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = info->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = info->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = info->m_ptMRUFloatPos;
    }
}
