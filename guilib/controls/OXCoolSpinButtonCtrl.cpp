#include "guilib/controls/OXCoolSpinButtonCtrl.h"

#include <cstring>

#include "platform/framework/controls/Edit.h"

void COXCoolSpinButtonCtrl::OnPaint() {
    if (!m_bCoolState || !m_hWnd)
        return;
    const DWORD style = GetStyle();
    const bool horizontal = (style & UDS_HORZ) != 0;
    const bool alignRight = (style & UDS_ALIGNRIGHT) != 0;
    const bool aligned = alignRight || (style & UDS_ALIGNLEFT) != 0;
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW),
                   face = ::GetSysColor(COLOR_BTNFACE), dark = ::GetSysColor(COLOR_3DDKSHADOW);

    CClientDC dc(this);
    RECT r;
    GetClientRect(&r);
    HWND buddy = aligned ? (HWND)::SendMessage(m_hWnd, UDM_GETBUDDY, 0, 0) : nullptr;
    char cls[256] = "";
    if (buddy && ::IsWindow(buddy))
        ::GetClassName(buddy, cls, (int)sizeof(cls));
    if (buddy && std::strcmp(cls, "Edit") == 0) {
        RECT bw, bc;
        ::GetWindowRect(buddy, &bw);
        ::GetClientRect(buddy, &bc);
        ::MapWindowPoints(buddy, nullptr, reinterpret_cast<LPPOINT>(&bc), 2);
        const int d = bc.top - bw.top;
        r.top += d;
        r.bottom -= d;
        if (alignRight)
            r.right -= d;
        else
            r.left += d;
        if (auto* coolBuddy = dynamic_cast<COXCoolCtrl<CEdit>*>(CWnd::FromHandlePermanent(buddy))) {
            // The part of the edit's border under the spin, drawn as the edit draws the rest.
            RECT ring = r;
            ::InflateRect(&ring, d, d);
            if (!coolBuddy->IsInFocusState() && !m_bFocusState) {
                dc.Draw3dRect(&ring, highlight, highlight);
                ::InflateRect(&ring, -1, -1);
                COLORREF inner = ::IsWindowEnabled(buddy) ? highlight : face;
                dc.Draw3dRect(&ring, inner, inner);
            } else {
                dc.Draw3dRect(&ring, shadow, highlight);
                ::InflateRect(&ring, -1, -1);
                dc.Draw3dRect(&ring, dark, face);
            }
        }
    }
    if (m_bFocusState)
        return;
    const int half = horizontal ? (r.right - r.left) / 2 : (r.bottom - r.top) / 2;
    if (half < 4)
        return;
    RECT first = r, second = r;
    if (horizontal) {
        first.right = first.left + half;
        second.left = second.right - half;
    } else {
        first.bottom = first.top + half;
        second.top = second.bottom - half;
    }
    oxcool::DrawFlatBox(&dc, first);
    oxcool::DrawFlatBox(&dc, second);
}
