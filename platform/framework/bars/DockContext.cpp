#include "platform/framework/bars/DockContext.h"

#include <algorithm>

#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"
#include "platform/framework/bars/RectTracker.h"

namespace {
void OffsetAll(POINT d, std::initializer_list<RECT*> rects) {
    for (RECT* r : rects)
        OffsetRect(r, d.x, d.y);
}

// Moves a rectangle along one axis so that it holds `p` on that axis.
void Cover(RECT& r, POINT p) {
    if (p.x < r.left || p.x >= r.right) {
        int w = r.right - r.left;
        r.left = std::max<LONG>(p.x - w / 2, p.x - w + 1);
        r.right = r.left + w;
    }
    if (p.y < r.top || p.y >= r.bottom) {
        int h = r.bottom - r.top;
        r.top = p.y - h / 2;
        r.bottom = r.top + h;
    }
}

POINT MessagePoint(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ::ClientToScreen(msg.hwnd, &p);
    return p;
}
}  // namespace

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pDockSite(bar ? bar->m_pDockSite : nullptr) {}

void CDockContext::AdjustWindowForFloat(RECT& rect) {
    ::AdjustWindowRectEx(&rect, CMiniDockFrameWnd::FrameStyle(m_pBar->m_dwStyle), FALSE, WS_EX_TOOLWINDOW);
}

void CDockContext::InitLoop() {
    m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle;
    m_rectLast = RECT{};
    m_sizeLast = SIZE{};
    m_bDitherLast = FALSE;
    m_bForceFrame = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    m_bFlip = FALSE;
    m_bDropped = FALSE;
    // The frame is drawn over everything; nothing repaints under it meanwhile.
    ::LockWindowUpdate(::GetDesktopWindow());
    m_pDC = ::GetDCEx(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
}

void CDockContext::CancelLoop() {
    DrawFocusRect(TRUE);
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    ::LockWindowUpdate(nullptr);
    if (m_pDC)
        ::ReleaseDC(::GetDesktopWindow(), m_pDC);
    m_pDC = nullptr;
}

void CDockContext::StartDrag(POINT pt) {
    if (!m_pBar->m_pDockSite)
        return;
    InitLoop();
    m_bDragging = TRUE;
    RECT rect;
    ::GetWindowRect(m_pBar->m_hWnd, &rect);
    m_ptStart = m_ptLast = pt;

    SIZE horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    SIZE vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectDragHorz = RECT{rect.left, rect.top, rect.left + horz.cx, rect.top + horz.cy};
    m_rectDragVert = RECT{rect.left, rect.top, rect.left + vert.cx, rect.top + vert.cy};
    // Floating: the bar's floating size in a floating frame's window.
    SIZE floatHorz = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)
                                                             : m_pBar->CalcFixedLayout(FALSE, TRUE);
    SIZE floatVert = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? m_pBar->CalcDynamicLayout(-1, LM_MRUWIDTH)
                                                             : m_pBar->CalcFixedLayout(FALSE, FALSE);
    m_rectFrameDragHorz = RECT{rect.left, rect.top, rect.left + floatHorz.cx, rect.top + floatHorz.cy};
    m_rectFrameDragVert = RECT{rect.left, rect.top, rect.left + floatVert.cx, rect.top + floatVert.cy};
    AdjustWindowForFloat(m_rectFrameDragHorz);
    AdjustWindowForFloat(m_rectFrameDragVert);
    if (m_pBar->IsFloating()) {
        // A floating bar drags from its frame's place.
        if (CWnd* frame = m_pBar->GetParentFrame()) {
            RECT fr;
            ::GetWindowRect(frame->m_hWnd, &fr);
            OffsetAll(POINT{fr.left - m_rectFrameDragHorz.left, fr.top - m_rectFrameDragHorz.top},
                      {&m_rectFrameDragHorz, &m_rectFrameDragVert});
        }
    }
    for (RECT* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert})
        Cover(*r, pt);
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
    Track();
}

void CDockContext::Move(POINT pt) {
    POINT d{pt.x - m_ptLast.x, pt.y - m_ptLast.y};
    OffsetAll(d, {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert});
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int vk, BOOL down) {
    if (vk != VK_CONTROL || m_bForceFrame == down)
        return;
    m_bForceFrame = down;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

DWORD CDockContext::CanDock() {
    if (!m_pDockSite)
        return 0;
    // The horizontal shape against the top and bottom, the vertical one against the sides.
    DWORD style = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & CBRS_ORIENT_HORZ);
    if (style)
        return style;
    return m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & CBRS_ORIENT_VERT);
}

CDockBar* CDockContext::GetDockBar(DWORD overDockStyle) {
    CDockBar* dockBar = nullptr;
    if (!m_pDockSite)
        return nullptr;
    const RECT& rect = (overDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
    m_pDockSite->CanDock(rect, overDockStyle, &dockBar);
    return dockBar;
}

void CDockContext::DrawFocusRect(BOOL removeRect) {
    if (!m_pDC)
        return;
    RECT rect{};
    SIZE size{0, 0};
    if (!removeRect) {
        if (m_dwOverDockStyle) {
            rect = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
            size = SIZE{1, 1};
        } else {
            rect = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING) ? m_rectFrameDragVert
                                                                                : m_rectFrameDragHorz;
            size = SIZE{3, 3};  // a floating place shows as a thick frame
        }
    }
    AfxDrawDragRect(m_pDC, removeRect ? nullptr : &rect, size, IsRectEmpty(&m_rectLast) ? nullptr : &m_rectLast,
                    m_sizeLast);
    m_rectLast = removeRect ? RECT{} : rect;
    m_sizeLast = size;
}

BOOL CDockContext::Track() {
    HWND hwnd = m_pBar->m_hWnd;
    ::SetCapture(hwnd);
    while (::GetCapture() == hwnd) {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
            case WM_MOUSEMOVE:
                if (m_bDragging)
                    Move(MessagePoint(msg));
                else
                    m_ptLast = MessagePoint(msg);
                break;
            case WM_LBUTTONUP:
                if (m_bDragging) {
                    m_ptLast = MessagePoint(msg);
                    EndDrag();
                } else {
                    m_ptLast = MessagePoint(msg);
                    CancelLoop();
                    // The new size from the moved border, committed.
                    RECT frame;
                    CWnd* mini = m_pBar->GetParentFrame();
                    if (mini) {
                        ::GetWindowRect(mini->m_hWnd, &frame);
                        bool horzEdge = m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT;
                        int length = horzEdge ? (m_nHitTest == HTRIGHT ? m_ptLast.x - frame.left : frame.right - m_ptLast.x)
                                              : (m_nHitTest == HTBOTTOM ? m_ptLast.y - frame.top : frame.bottom - m_ptLast.y);
                        RECT nc{0, 0, 0, 0};
                        AdjustWindowForFloat(nc);
                        length -= horzEdge ? nc.right - nc.left : nc.bottom - nc.top;
                        m_pBar->CalcDynamicLayout(std::max(length, 0),
                                                  LM_HORZ | LM_COMMIT | (horzEdge ? 0 : LM_LENGTHY));
                        static_cast<CFrameWnd*>(mini)->RecalcLayout();
                    }
                    m_bDropped = TRUE;
                }
                m_bDragging = m_bResizing = FALSE;
                return TRUE;
            case WM_KEYDOWN:
            case WM_KEYUP:
                if (msg.wParam == VK_CONTROL)
                    OnKey(VK_CONTROL, msg.message == WM_KEYDOWN);
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                    CancelLoop();
                    m_bDragging = m_bResizing = FALSE;
                    return FALSE;
                }
                break;
            case WM_RBUTTONDOWN:
                CancelLoop();
                m_bDragging = m_bResizing = FALSE;
                return FALSE;
            default:
                ::DispatchMessage(&msg);
                break;
        }
    }
    // The capture went elsewhere (or the program is ending): nothing changes.
    CancelLoop();
    m_bDragging = m_bResizing = FALSE;
    return FALSE;
}

void CDockContext::EndDrag() {
    CancelLoop();
    m_bDragging = FALSE;
    if (m_ptLast.x == m_ptStart.x && m_ptLast.y == m_ptStart.y)
        return;  // a click without a move changes nothing
    if (m_dwOverDockStyle) {
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (!dockBar)
            return;
        RECT rect = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
        m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
        m_pDockSite->RecalcLayout();
    } else {
        RECT rect = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING) ? m_rectFrameDragVert
                                                                                   : m_rectFrameDragHorz;
        POINT at{rect.left, rect.top};
        m_pDockSite->FloatControlBar(m_pBar, at, CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI));
    }
    m_bDropped = TRUE;
}

void CDockContext::ToggleDocking() {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite)
        return;
    if (m_pBar->IsFloating()) {
        // Back to the side it last docked at, in the place it had there.
        if (CWnd* frame = m_pBar->GetParentFrame()) {
            RECT fr;
            ::GetWindowRect(frame->m_hWnd, &fr);
            m_ptMRUFloatPos = POINT{fr.left, fr.top};
        }
        CDockBar* dockBar = nullptr;
        if (m_uMRUDockID)
            dockBar = dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
        for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
            if (dockBar)
                break;
            auto* candidate = dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(id));
            if (candidate && (candidate->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
                dockBar = candidate;
        }
        if (!dockBar)
            return;
        RECT rect = m_rectMRUDockPos;
        ::ClientToScreen(dockBar->m_hWnd, reinterpret_cast<POINT*>(&rect));
        ::ClientToScreen(dockBar->m_hWnd, reinterpret_cast<POINT*>(&rect) + 1);
        m_pDockSite->ReDockControlBar(m_pBar, dockBar, IsRectEmpty(&m_rectMRUDockPos) ? nullptr : &rect);
        m_pDockSite->RecalcLayout();
    } else {
        POINT at = m_ptMRUFloatPos;
        if (!m_dwMRUFloatStyle) {
            // Never floated: where the bar is now.
            RECT rc;
            ::GetWindowRect(m_pBar->m_hWnd, &rc);
            at = POINT{rc.left, rc.top};
        }
        DWORD style = m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP | (m_pBar->m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_pDockSite->FloatControlBar(m_pBar, at, style);
    }
}

void CDockContext::StartResize(int hitTest, POINT pt) {
    if (!m_pBar->IsFloating() || !(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return;
    InitLoop();
    m_bResizing = TRUE;
    m_bDragging = FALSE;
    m_nHitTest = hitTest;
    m_ptStart = m_ptLast = pt;
    Track();
}
