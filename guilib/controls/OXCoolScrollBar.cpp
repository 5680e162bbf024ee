#include "guilib/controls/OXCoolScrollBar.h"

void COXCoolScrollBar::SetFocusState(BOOL bActive) {
    COXCoolCtrl<CScrollBar>::SetFocusState(bActive);
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT COXCoolScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT)
        return CScrollBar::WindowProc(message, wParam, lParam);
    LRESULT result = COXCoolCtrl<CScrollBar>::WindowProc(message, wParam, lParam);
    if (message == WM_PAINT)
        OnPaint();
    return result;
}

void COXCoolScrollBar::OnPaint() {
    if (!m_bCoolState || m_bFocusState || !m_hWnd)
        return;
    CClientDC dc(this);
    RECT client;
    GetClientRect(&client);
    DrawScrollBar(&dc, client, (GetStyle() & SBS_VERT) == 0);
}
