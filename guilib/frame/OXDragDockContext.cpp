#include "guilib/frame/OXDragDockContext.h"

#include <algorithm>

#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXSizeCtrlBar.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "platform/framework/bars/DockBar.h"

COXDragDockContext::COXDragDockContext(CControlBar* bar) : CDockContext(bar) {}

BOOL COXDragDockContext::InMdiFloat() const {
    auto* frame = dynamic_cast<COXMDIFrameWndSizeDock*>(m_pBar->m_pDockSite);
    return frame && frame->IsInMDIFloat(m_pBar);
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
        RECT area{};
        if (m_pDockSite) {
            ::GetClientRect(m_pDockSite->m_hWnd, &area);
            ::MapWindowPoints(m_pDockSite->m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
        }
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
    DWORD side = m_dwOverDockStyle;
    bool moved = m_ptLast.x != m_ptStart.x || m_ptLast.y != m_ptStart.y;
    CDockBar* oldDockBar = m_pBar->m_pDockBar;
    auto* target = dynamic_cast<COXSizeDockBar*>(m_pTargetDockBar);
    unsigned oldSignature = target ? target->CalcRowSignature() : 0;
    if (moved && side && sizeBar) {
        RECT r = (side & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
        SIZE s{r.right - r.left, r.bottom - r.top};
        if (side & CBRS_ORIENT_HORZ)
            sizeBar->m_HorzDockSize = s;
        else
            sizeBar->m_VertDockSize = s;
    }
    CDockContext::EndDrag();
    if (!moved || !sizeBar)
        return;
    if (side) {
        if (target && (oldDockBar != target || target->CalcRowSignature() != oldSignature)) {
            target->MakeRoomInRow(sizeBar);
            if (m_pDockSite)
                m_pDockSite->RecalcLayout();
        }
    } else if (m_pBar->m_hWnd) {
        ::SendMessage(m_pBar->m_hWnd, WM_OX_SETTLEFLOATFRAME, 0, 0);
    }
}

void COXDragDockContext::ToggleDocking() {
    if (InMdiFloat())
        return;
    CDockContext::ToggleDocking();
}
