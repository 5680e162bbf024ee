// The flat ("cool") look with hot tracking for a standard control: while the mouse is away and the
// control has no focus, its border and its standard scroll bars are drawn flat; under the mouse or
// with the focus the sunken 3D look returns. Used by subclassing an existing control window. Each
// control carries its own tooltip with one tool (1000) over its client area.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/controls/ToolTipCtrl.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Wnd.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/UpDown.h"
#include "platform/user/User.h"

#define ID_OXCOOLCTRL_TOOLTIP 1000
#define ID_OXCOOLCTRL_HOVERTIMER 210
#define OXCOOLCTRL_HOVERPERIOD 150

// What the cool controls share, without object state.
namespace oxcool {
BOOL IsEditWindow(HWND hwnd);
BOOL IsSpinWindow(HWND hwnd);
BOOL IsComboBoxWindow(HWND hwnd);
BOOL IsChildOrOwned(CWnd* pControl, CWnd* pWnd);
HWND GetAttachedSpin(HWND hEdit);
// Where a flat scroll bar's thumb lies in a track of `trackLength` pixels: FALSE when there is none
// (track under 8 pixels, no page, a page larger than the maximum). Computed in 64 bits.
BOOL CalcThumb(int trackLength, const SCROLLINFO& info, int& offset, int& length);
// Draws a box of a flat scroll bar: a raised one-pixel frame, face inside it.
void DrawFlatBox(CDC* pDC, const RECT& box);
// Whether the framework is creating a window on this thread right now.
BOOL IsCreatingWindow();
}  // namespace oxcool

template <class T>
class COXCoolCtrl : public T {
public:
    COXCoolCtrl() = default;

    // ---- Own virtual operations ----
    virtual BOOL IsInCoolState() const { return m_bCoolState; }
    virtual void SetCoolState(BOOL bCool);
    virtual void CheckMouseOver(BOOL bCheckChildren);
    virtual BOOL InitializeCoolControl();
    virtual void SetFocusState(BOOL bActive);
    virtual void OnChangeFocus(CWnd* pWndGainFocus, CWnd* pWndLoseFocus);
    virtual BOOL HandleKey(UINT /*nVirtKey*/) { return FALSE; }
    virtual void OnMouseEnter(const POINT* /*pptCursor*/) {
        if (!m_bFocusState)
            SetFocusState(TRUE);
    }
    virtual void OnMouseLeave(const POINT* /*pptCursor*/) {
        if (m_bFocusState)
            SetFocusState(FALSE);
    }
    virtual BOOL OnChangeTooltipText(const CString& /*sText*/) { return TRUE; }

    BOOL IsInFocusState() const { return m_bFocusState; }
    BOOL IsMouseOver() const { return m_bMouseOver; }
    BOOL GetTooltipText(CString& sText) const;
    BOOL SetTooltipText(const CString& sText);
    void DrawBorder();
    void DrawScrollBar(CDC* pDC, RECT rect, BOOL bHorizontal);
    CToolTipCtrl& GetToolTip() { return m_tooltip; }

    static BOOL IsEditWindow(HWND hwnd) { return oxcool::IsEditWindow(hwnd); }
    static BOOL IsSpinWindow(HWND hwnd) { return oxcool::IsSpinWindow(hwnd); }
    static BOOL IsComboBoxWindow(HWND hwnd) { return oxcool::IsComboBoxWindow(hwnd); }
    static BOOL IsChildOrOwned(CWnd* pControl, CWnd* pWnd) { return oxcool::IsChildOrOwned(pControl, pWnd); }
    static HWND GetAttachedSpin(HWND hEdit) { return oxcool::GetAttachedSpin(hEdit); }

    // ---- Framework overrides ----
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL m_bCoolState = TRUE;
    UINT_PTR m_nHoverTimer = 0;
    BOOL m_bMouseOver = FALSE;
    BOOL m_bFocusState = FALSE;
    CToolTipCtrl m_tooltip;
    BOOL m_bInitialized = FALSE;

    BOOL HasToolTip() const { return m_tooltip.GetSafeHwnd() && ::IsWindow(m_tooltip.GetSafeHwnd()); }
    void RedrawFrame(UINT extra) {
        ::RedrawWindow(this->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | extra);
    }

    // The border pens, made once per control class from the colours of their first use.
    static HPEN PenHighlight() { static HPEN p = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)); return p; }
    static HPEN PenShadow() { static HPEN p = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)); return p; }
    static HPEN PenFace() { static HPEN p = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)); return p; }
    static HPEN PenDarkShadow() { static HPEN p = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW)); return p; }
};

// ---- Implementation -------------------------------------------------------------------------------

template <class T>
void COXCoolCtrl<T>::SetCoolState(BOOL bCool) {
    if (m_bCoolState == bCool)
        return;
    m_bCoolState = bCool;
    if (bCool) {
        CheckMouseOver(TRUE);
        if (!m_bFocusState && IsChildOrOwned(this, CWnd::GetFocus()))
            SetFocusState(TRUE);
    }
    RedrawFrame(RDW_UPDATENOW);
}

template <class T>
void COXCoolCtrl<T>::CheckMouseOver(BOOL bCheckChildren) {
    HWND hwnd = this->m_hWnd;
    if (!hwnd)
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    HWND under = ::WindowFromPoint(cursor);
    BOOL over = under == hwnd;
    if (!over && bCheckChildren)
        over = IsChildOrOwned(this, under ? CWnd::FromHandle(under) : nullptr);
    if (IsEditWindow(hwnd) && under && IsSpinWindow(under) && (HWND)::SendMessage(under, UDM_GETBUDDY, 0, 0) == hwnd)
        over = TRUE;
    if (IsSpinWindow(hwnd) && under && IsSpinWindow(under)) {
        HWND buddy = (HWND)::SendMessage(under, UDM_GETBUDDY, 0, 0);
        if (buddy && IsEditWindow(buddy))
            ::SendMessage(buddy, WM_TIMER, ID_OXCOOLCTRL_HOVERTIMER, 0);
    }
    if (over == m_bMouseOver)
        return;
    m_bMouseOver = over;
    if (over)
        OnMouseEnter(&cursor);
    else
        OnMouseLeave(&cursor);
    if (!this->m_hWnd)
        return;
    if (!over) {
        if (m_nHoverTimer) {
            ::KillTimer(this->m_hWnd, m_nHoverTimer);
            m_nHoverTimer = 0;
        }
    } else if (!m_nHoverTimer) {
        m_nHoverTimer = ::SetTimer(this->m_hWnd, ID_OXCOOLCTRL_HOVERTIMER, OXCOOLCTRL_HOVERPERIOD, nullptr);
    }
}

template <class T>
BOOL COXCoolCtrl<T>::InitializeCoolControl() {
    SetFocusState(IsChildOrOwned(this, CWnd::GetFocus()));
    if (!m_tooltip.Create(this, 0))
        return FALSE;
    m_tooltip.Activate(TRUE);
    return TRUE;
}

template <class T>
void COXCoolCtrl<T>::SetFocusState(BOOL bActive) {
    if (!bActive && IsChildOrOwned(this, CWnd::GetFocus()))
        return;
    if (m_bFocusState == bActive)
        return;
    m_bFocusState = bActive;
    if (!this->m_hWnd)
        return;
    RedrawFrame(0);
    if (HWND spin = GetAttachedSpin(this->m_hWnd))
        ::RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

template <class T>
void COXCoolCtrl<T>::OnChangeFocus(CWnd* pWndGainFocus, CWnd* pWndLoseFocus) {
    bool gaining = pWndGainFocus == this && !m_bFocusState;
    bool losing = pWndLoseFocus == this && m_bFocusState;
    if (!gaining && !losing)
        return;
    if (pWndGainFocus && pWndLoseFocus) {
        if (pWndGainFocus->GetSafeHwnd() && pWndGainFocus->GetSafeHwnd() == GetAttachedSpin(pWndLoseFocus->GetSafeHwnd()))
            return;
        if (IsChildOrOwned(pWndLoseFocus, pWndGainFocus))
            return;
    }
    SetFocusState(!m_bFocusState);
}

template <class T>
BOOL COXCoolCtrl<T>::GetTooltipText(CString& sText) const {
    if (!HasToolTip())
        return FALSE;
    TOOLINFO info;
    if (m_tooltip.GetToolInfo(info, const_cast<COXCoolCtrl*>(this), ID_OXCOOLCTRL_TOOLTIP))
        m_tooltip.GetText(sText, const_cast<COXCoolCtrl*>(this), ID_OXCOOLCTRL_TOOLTIP);
    else
        sText.Empty();
    return TRUE;
}

template <class T>
BOOL COXCoolCtrl<T>::SetTooltipText(const CString& sText) {
    if (!HasToolTip() || !OnChangeTooltipText(sText))
        return FALSE;
    if (sText.IsEmpty()) {
        m_tooltip.DelTool(this, ID_OXCOOLCTRL_TOOLTIP);
        return TRUE;
    }
    CString current;
    GetTooltipText(current);
    if (current.Collate(sText) == 0)
        return TRUE;
    m_tooltip.DelTool(this, ID_OXCOOLCTRL_TOOLTIP);
    RECT client;
    ::GetClientRect(this->m_hWnd, &client);
    m_tooltip.AddTool(this, sText, &client, ID_OXCOOLCTRL_TOOLTIP);
    return TRUE;
}

template <class T>
void COXCoolCtrl<T>::DrawBorder() {
    HWND hwnd = this->m_hWnd;
    if (!m_bCoolState || !hwnd)
        return;
    RECT client, window;
    ::GetClientRect(hwnd, &client);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<LPPOINT>(&client), 2);
    ::GetWindowRect(hwnd, &window);
    if (::EqualRect(&client, &window))
        return;
    HWND spin = GetAttachedSpin(hwnd);
    RECT spinRect{0, 0, 0, 0};
    if (spin)
        ::GetWindowRect(spin, &spinRect);
    ::OffsetRect(&client, -window.left, -window.top);
    if (!::IsRectEmpty(&spinRect))
        ::OffsetRect(&spinRect, -window.left, -window.top);
    ::OffsetRect(&window, -window.left, -window.top);
    ::IntersectRect(&spinRect, &spinRect, &window);

    BOOL enabled = ::IsWindowEnabled(hwnd);
    BOOL active = enabled && m_bFocusState;

    CWindowDC dc(this);
    DWORD style = (DWORD)::GetWindowLongPtr(hwnd, GWL_STYLE);
    RECT hscroll{0, 0, 0, 0}, vscroll{0, 0, 0, 0};
    if (style & WS_HSCROLL) {
        hscroll = RECT{client.left, client.bottom, client.right, client.bottom + ::GetSystemMetrics(SM_CYHSCROLL)};
        DrawScrollBar(&dc, hscroll, TRUE);
    }
    if (style & WS_VSCROLL) {
        vscroll = RECT{client.right, client.top, client.right + ::GetSystemMetrics(SM_CXVSCROLL), client.bottom};
        DrawScrollBar(&dc, vscroll, FALSE);
    }
    HDC h = dc.GetSafeHdc();
    ::SelectClipRgn(h, nullptr);
    for (const RECT* r : {&spinRect, &client, &hscroll, &vscroll})
        if (!::IsRectEmpty(r))
            ::ExcludeClipRect(h, r->left, r->top, r->right, r->bottom);
    RECT ring = window;
    if (!active) {
        HGDIOBJ oldPen = ::SelectObject(h, enabled ? PenHighlight() : PenShadow());
        ::Rectangle(h, ring.left, ring.top, ring.right, ring.bottom);
        ::InflateRect(&ring, -1, -1);
        ::Rectangle(h, ring.left, ring.top, ring.right, ring.bottom);
        ::SelectObject(h, oldPen);
    } else {
        dc.Draw3dRect(&ring, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::InflateRect(&ring, -1, -1);
        dc.Draw3dRect(&ring, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_BTNFACE));
    }
    ::SelectClipRgn(h, nullptr);
    if (!enabled) {
        HGDIOBJ oldPen = ::SelectObject(h, PenHighlight());
        HGDIOBJ oldBrush = ::SelectObject(h, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(h, window.left, window.top, window.right, window.bottom);
        ::SelectObject(h, oldBrush);
        ::SelectObject(h, oldPen);
    }
    if (spin)
        ::RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

template <class T>
void COXCoolCtrl<T>::DrawScrollBar(CDC* pDC, RECT rect, BOOL bHorizontal) {
    if (!m_bCoolState || m_bFocusState || !pDC)
        return;
    int length = bHorizontal ? rect.right - rect.left : rect.bottom - rect.top;
    int arrow = ::GetSystemMetrics(bHorizontal ? SM_CXHSCROLL : SM_CYVSCROLL);
    if (2 * arrow > length)
        arrow = length / 2;
    RECT first = rect, second = rect;
    if (bHorizontal) {
        first.right = first.left + arrow;
        second.left = second.right - arrow;
    } else {
        first.bottom = first.top + arrow;
        second.top = second.bottom - arrow;
    }
    int trackStart = (bHorizontal ? rect.left : rect.top) + arrow;
    int trackLength = length - 2 * arrow;
    oxcool::DrawFlatBox(pDC, first);
    oxcool::DrawFlatBox(pDC, second);

    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(this->m_hWnd, bHorizontal ? SB_HORZ : SB_VERT, &si))
        ::SendMessage(this->m_hWnd, SBM_GETSCROLLINFO, 0, (LPARAM)&si);
    int offset = 0, thumb = 0;
    if (!oxcool::CalcThumb(trackLength, si, offset, thumb))
        return;
    RECT box = rect;
    if (bHorizontal) {
        box.left = trackStart + offset;
        box.right = box.left + thumb;
    } else {
        box.top = trackStart + offset;
        box.bottom = box.top + thumb;
    }
    oxcool::DrawFlatBox(pDC, box);
}

template <class T>
void COXCoolCtrl<T>::PreSubclassWindow() {
    if (!oxcool::IsCreatingWindow() && !m_bInitialized) {
        m_bInitialized = TRUE;
        InitializeCoolControl();
    }
    T::PreSubclassWindow();
}

template <class T>
BOOL COXCoolCtrl<T>::PreTranslateMessage(MSG* pMsg) {
    if (HasToolTip()) {
        m_tooltip.Activate(TRUE);
        m_tooltip.RelayEvent(pMsg);
    }
    if (pMsg->message == WM_KEYDOWN && HandleKey((UINT)pMsg->wParam))
        return TRUE;
    return T::PreTranslateMessage(pMsg);
}

template <class T>
LRESULT COXCoolCtrl<T>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE && !m_bInitialized) {
        m_bInitialized = TRUE;
        InitializeCoolControl();
    }
    switch (message) {
        case WM_DESTROY:
            if (m_nHoverTimer) {
                ::KillTimer(this->m_hWnd, m_nHoverTimer);
                m_nHoverTimer = 0;
            }
            if (HasToolTip())
                m_tooltip.DestroyWindow();
            return T::WindowProc(message, wParam, lParam);
        case WM_NCDESTROY: {
            LRESULT result = T::WindowProc(message, wParam, lParam);
            m_nHoverTimer = 0;
            m_bMouseOver = FALSE;
            m_bInitialized = FALSE;
            return result;
        }
        case WM_SIZE: {
            LRESULT result = T::WindowProc(message, wParam, lParam);
            if (HasToolTip()) {
                CString text;
                GetTooltipText(text);
                m_tooltip.DelTool(this, ID_OXCOOLCTRL_TOOLTIP);
                RECT client;
                ::GetClientRect(this->m_hWnd, &client);
                m_tooltip.AddTool(this, text, &client, ID_OXCOOLCTRL_TOOLTIP);
            }
            return result;
        }
        case WM_SETFOCUS:
            if (m_bCoolState)
                OnChangeFocus(this, wParam ? CWnd::FromHandle((HWND)wParam) : nullptr);
            return T::WindowProc(message, wParam, lParam);
        case WM_KILLFOCUS:
            if (m_bCoolState)
                OnChangeFocus(wParam ? CWnd::FromHandle((HWND)wParam) : nullptr, this);
            return T::WindowProc(message, wParam, lParam);
        case WM_ENABLE:
            if (m_bCoolState) {
                LRESULT result = T::WindowProc(message, wParam, lParam);
                RedrawFrame(RDW_UPDATENOW);
                return result;
            }
            return T::WindowProc(message, wParam, lParam);
        case WM_NCPAINT: {
            LRESULT result = T::WindowProc(message, wParam, lParam);
            DrawBorder();
            return result;
        }
        case WM_TIMER:
            if (wParam == ID_OXCOOLCTRL_HOVERTIMER) {
                if (m_bCoolState)
                    CheckMouseOver(TRUE);
                return 0;
            }
            return T::WindowProc(message, wParam, lParam);
        default:
            if (!m_bMouseOver && m_bCoolState &&
                ((message >= WM_MOUSEFIRST && message <= 0x020E) || (message >= WM_NCMOUSEMOVE && message <= 0x00A9)))
                CheckMouseOver(TRUE);
            return T::WindowProc(message, wParam, lParam);
    }
}
