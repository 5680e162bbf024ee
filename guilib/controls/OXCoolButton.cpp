#include "guilib/controls/OXCoolButton.h"

namespace {
const UINT kRedraw = RDW_INVALIDATE | RDW_UPDATENOW;
}

BOOL COXCoolButton::IsRadio() const {
    UINT type = (UINT)GetStyle() & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void COXCoolButton::SetFocusState(BOOL bActive) {
    if (!IsRadio()) {
        COXCoolCtrl<CButton>::SetFocusState(bActive);
        if (m_hWnd)
            ::RedrawWindow(m_hWnd, nullptr, nullptr, kRedraw);
        return;
    }
    // A radio button is active only under the mouse; it turns flat as soon as the mouse leaves,
    // focused or not.
    if (m_bFocusState == bActive)
        return;
    if (bActive && !m_bMouseOver)
        return;
    m_bFocusState = bActive;
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, kRedraw);
}

LRESULT COXCoolButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT:
            return CButton::WindowProc(message, wParam, lParam);
        case WM_PAINT: {
            LRESULT result = COXCoolCtrl<CButton>::WindowProc(message, wParam, lParam);
            OnPaint();
            return result;
        }
        case BM_SETCHECK: {
            LRESULT result = COXCoolCtrl<CButton>::WindowProc(message, wParam, lParam);
            if (wParam == 0 && IsRadio() && m_hWnd)
                ::RedrawWindow(m_hWnd, nullptr, nullptr, kRedraw);
            return result;
        }
        default:
            return COXCoolCtrl<CButton>::WindowProc(message, wParam, lParam);
    }
}

void COXCoolButton::OnPaint() {
    if (!m_bCoolState || !m_hWnd)
        return;
    DWORD style = GetStyle();
    BOOL enabled = IsWindowEnabled();
    if (enabled && m_bFocusState)
        return;
    UINT type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW || type == BS_GROUPBOX || type == BS_USERBUTTON || (style & BS_FLAT))
        return;
    const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    const bool defPush = type == BS_DEFPUSHBUTTON;
    const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW),
                   face = ::GetSysColor(COLOR_BTNFACE), dark = ::GetSysColor(COLOR_3DDKSHADOW);

    CClientDC dc(this);
    RECT client;
    GetClientRect(&client);
    if (push || pushLike) {
        RECT inner = client;
        int inset = pushLike ? 2 : 3;
        ::InflateRect(&inner, -inset, -inset);
        dc.ExcludeClipRect(&inner);
        HBRUSH brush = ::CreateSolidBrush(face);
        ::FillRect(dc.GetSafeHdc(), &client, brush);
        ::DeleteObject(brush);
        RECT r = client;
        if (defPush) {
            dc.Draw3dRect(&r, dark, dark);
            ::InflateRect(&r, -1, -1);
        }
        if (push && !pushLike)
            dc.Draw3dRect(&r, highlight, shadow);
        else if (GetCheck() != 0)
            dc.Draw3dRect(&r, shadow, highlight);
        else
            dc.Draw3dRect(&r, highlight, shadow);
    } else if (check || radio) {
        RECT box;
        box.left = leftText ? client.right - 13 : client.left;
        box.top = (client.top + client.bottom - 13) / 2;
        box.right = box.left + 13;
        box.bottom = box.top + 13;
        if (check) {
            ::InflateRect(&box, -1, -1);
            dc.Draw3dRect(&box, highlight, highlight);
        } else {
            // A 2-pixel highlight arc over the dark upper-left half of the circle.
            const int w = box.right - box.left, h = box.bottom - box.top;
            const int midX = (box.left + box.right) / 2, midY = (box.top + box.bottom) / 2;
            HPEN pen = ::CreatePen(PS_SOLID, 2, highlight);
            HGDIOBJ oldPen = dc.SelectObject(pen);
            dc.Arc(box.left + 2, box.top + 1, box.right, box.bottom - 1, midX + w / 4 + 1, box.top + h / 4 + 1,
                   box.left + w / 4 + 1, midY + h / 4 + 1);
            dc.SelectObject(oldPen);
            ::DeleteObject(pen);
        }
    }
    dc.SelectClipRgn(nullptr);
}
