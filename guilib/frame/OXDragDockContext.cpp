#include "guilib/frame/OXDragDockContext.h"

#include <algorithm>

#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/RectTracker.h"

COXDragDockContext::COXDragDockContext(CControlBar* bar) : CDockContext(bar) {}

BOOL COXDragDockContext::InMdiFloat() const {
    auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pBar->m_pDockSite);
    return frame && frame->IsInMDIFloat(m_pBar);
}

RECT COXDragDockContext::GetDockingArea() const {
    RECT area{};
    if (!m_pDockSite)
        return area;
    // What the bars leave of the client area: the window laid out in the rest (the MDI client or the view).
    HWND rest = ::GetDlgItem(m_pDockSite->m_hWnd, AFX_IDW_PANE_FIRST);
    if (rest && ::IsWindowVisible(rest)) {
        ::GetWindowRect(rest, &area);
    } else {
        ::GetClientRect(m_pDockSite->m_hWnd, &area);
        ::MapWindowPoints(m_pDockSite->m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    }
    for (UINT id : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CControlBar* dockBar = m_pDockSite->GetControlBar(id);
        if (!dockBar || !dockBar->m_hWnd || !dockBar->IsWindowVisible())
            continue;
        RECT r;
        ::GetWindowRect(dockBar->m_hWnd, &r);
        area.left = std::min(area.left, r.left);
        area.right = std::max(area.right, r.right);
    }
    return area;
}

void COXDragDockContext::StartDrag(POINT screen) {
    if (InMdiFloat() || !m_pBar->m_pDockSite)
        return;
    CFrameWnd* frame = m_pBar->m_pDockSite;
    if ((m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) == CBRS_ALIGN_ANY)
        frame->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM) "Press Ctrl to prevent docking\n");
    MSG paint;
    while (::PeekMessage(&paint, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessage(&paint);
    m_ptDragStart = screen;
    m_bFirstTest = TRUE;
    CDockContext::StartDrag(screen);
    frame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
}

DWORD COXDragDockContext::CanDock() {
    if (m_bFirstTest) {
        // A docked length that fills the docking area shrinks to a third of it.
        m_bFirstTest = FALSE;
        RECT area = GetDockingArea();
        int w = area.right - area.left, h = area.bottom - area.top;
        if (m_rectDragHorz.right - m_rectDragHorz.left >= w - 16)
            m_rectDragHorz.right = m_rectDragHorz.left + w / 3;
        if (m_rectDragVert.bottom - m_rectDragVert.top >= h - 16)
            m_rectDragVert.bottom = m_rectDragVert.top + h / 3;
        m_sizeHorz = SIZE{m_rectDragHorz.right - m_rectDragHorz.left, m_rectDragHorz.bottom - m_rectDragHorz.top};
        m_sizeVert = SIZE{m_rectDragVert.right - m_rectDragVert.left, m_rectDragVert.bottom - m_rectDragVert.top};
    }
    // Each test starts from the bar's own sizes.
    m_rectDragHorz.right = m_rectDragHorz.left + m_sizeHorz.cx;
    m_rectDragHorz.bottom = m_rectDragHorz.top + m_sizeHorz.cy;
    m_rectDragVert.right = m_rectDragVert.left + m_sizeVert.cx;
    m_rectDragVert.bottom = m_rectDragVert.top + m_sizeVert.cy;
    m_pTargetDockBar = nullptr;
    DWORD side = CDockContext::CanDock();
    if (!side)
        return 0;
    m_pTargetDockBar = GetDockBar(side);
    RECT& rect = (side & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
    auto* sizeBar = dynamic_cast<COXSizeControlBar*>(m_pBar);
    if (auto* dockBar = dynamic_cast<COXSizeDockBar*>(m_pTargetDockBar); dockBar && sizeBar) {
        int others = dockBar->CountBarsInRow(sizeBar, rect);
        if (others > 0) {
            // The share of the row it would join.
            RECT row;
            ::GetWindowRect(dockBar->m_hWnd, &row);
            if (side & CBRS_ORIENT_HORZ)
                rect.right = rect.left + (row.right - row.left) / (others + 1);
            else
                rect.bottom = rect.top + (row.bottom - row.top) / (others + 1);
        }
    }
    m_rectDragDock = rect;
    return side;
}

void COXDragDockContext::EndDrag() {
    auto* sizeBar = dynamic_cast<COXSizeControlBar*>(m_pBar);
    if (!sizeBar) {
        CDockContext::EndDrag();
        return;
    }
    CancelLoop();
    m_bDragging = FALSE;
    if (m_ptLast.x == m_ptStart.x && m_ptLast.y == m_ptStart.y)
        return;  // a click without a move changes nothing
    DWORD side = m_dwOverDockStyle;
    if (side) {
        CDockBar* dockBar = m_pTargetDockBar ? m_pTargetDockBar : GetDockBar(side);
        if (!dockBar || !m_pDockSite)
            return;
        CDockBar* oldDockBar = m_pBar->m_pDockBar;
        auto* target = dynamic_cast<COXSizeDockBar*>(dockBar);
        unsigned oldSignature = target ? target->CalcRowSignature() : 0;
        RECT r = m_rectDragDock;
        SIZE s{r.right - r.left, r.bottom - r.top};
        (side & CBRS_ORIENT_HORZ ? sizeBar->m_HorzDockSize : sizeBar->m_VertDockSize) = s;
        m_pDockSite->DockControlBar(m_pBar, dockBar, &r);
        // The bar comes with the preview's size; the others of its row make room for it before the one
        // layout that follows (a layout in between would share the row by the bar's old size).
        ::SetWindowPos(m_pBar->m_hWnd, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (target && (oldDockBar != target || target->CalcRowSignature() != oldSignature))
            target->MakeRoomInRow(sizeBar);
        m_pDockSite->RecalcLayout();
    } else {
        RECT r = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING) ? m_rectFrameDragVert
                                                                               : m_rectFrameDragHorz;
        m_ptMRUFloatPos = POINT{r.left, r.top};
        m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI));
        if (m_pBar->m_hWnd) {
            ::SendMessage(m_pBar->m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
            // The floating frame is marked as one a drag has floated.
            if (CFrameWnd* floating = m_pBar->GetParentFrame(); floating && floating != m_pDockSite)
                floating->ModifyStyle(0, kDraggedFloatStyle);
        }
    }
    m_bDropped = TRUE;
}

void COXDragDockContext::ToggleDocking() {
    if (InMdiFloat())
        return;
    CDockContext::ToggleDocking();
}

namespace {
// Inverts a frame of `thickness` inside `r` through `brush`.
void InvertFrame(HDC dc, const RECT& r, int thickness, HBRUSH brush) {
    if (thickness <= 0 || IsRectEmpty(&r))
        return;
    HGDIOBJ old = ::SelectObject(dc, brush);
    int w = r.right - r.left, h = r.bottom - r.top;
    ::PatBlt(dc, r.left, r.top, w, thickness, PATINVERT);
    ::PatBlt(dc, r.left, r.bottom - thickness, w, thickness, PATINVERT);
    ::PatBlt(dc, r.left, r.top + thickness, thickness, h - 2 * thickness, PATINVERT);
    ::PatBlt(dc, r.right - thickness, r.top + thickness, thickness, h - 2 * thickness, PATINVERT);
    ::SelectObject(dc, old);
}
}  // namespace

void COXDragDockContext::DrawFocusRect(BOOL removeRect) {
    if (!m_pDC)
        return;
    RECT rect{};
    int thickness = 0;
    BOOL dither = FALSE;
    if (!removeRect) {
        if (m_dwOverDockStyle) {
            rect = m_rectDragDock;
            InflateRect(&rect, -1, -1);
            thickness = 1;
        } else {
            rect = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING) ? m_rectFrameDragVert
                                                                                : m_rectFrameDragHorz;
            thickness = std::max(1, ::GetSystemMetrics(SM_CXFRAME) - 1);
            dither = TRUE;
        }
    }
    if (!removeRect && EqualRect(&rect, &m_rectLast) && m_sizeLast.cx == thickness && m_bDitherLast == dither)
        return;  // unchanged: drawing it again would erase it
    if (!IsRectEmpty(&m_rectLast))
        InvertFrame(m_pDC, m_rectLast, m_sizeLast.cx,
                    m_bDitherLast ? AfxGetHalftoneBrush() : (HBRUSH)::GetStockObject(WHITE_BRUSH));
    InvertFrame(m_pDC, rect, thickness, dither ? AfxGetHalftoneBrush() : (HBRUSH)::GetStockObject(WHITE_BRUSH));
    m_rectLast = removeRect ? RECT{} : rect;
    m_sizeLast = SIZE{thickness, thickness};
    m_bDitherLast = dither;
}
