#include "guilib/controls/OXCoolScrollBar.h"

void COXCoolScrollBar::OnPaint() {
    if (!m_bCoolState || m_bFocusState || !m_hWnd)
        return;
    CClientDC dc(this);
    RECT client;
    GetClientRect(&client);
    DrawScrollBar(&dc, client, (GetStyle() & SBS_VERT) == 0);
}
