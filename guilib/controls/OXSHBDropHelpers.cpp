#include "guilib/controls/OXSHBDropHelpers.h"

#include "platform/base/Sync.h"

IMPLEMENT_DYNAMIC(COXSHBDropTarget, COleDropTarget)
IMPLEMENT_DYNAMIC(COXSHBDropSource, COleDropSource)

namespace {

// Whether a window can scroll in one direction: with its scroll-bar style when the range is not
// empty, without it when the maximum is above 0 and at least the page.
BOOL CanScroll(HWND hwnd, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(hwnd, bar, &info))
        return FALSE;
    DWORD style = (DWORD)::GetWindowLongPtr(hwnd, GWL_STYLE);
    if (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))
        return info.nMax > info.nMin;
    return info.nMax > 0 && info.nMax >= (int)info.nPage;
}

}  // namespace

LRESULT COXSHBDropTarget::Forward(UINT message, SHBDROPTARGETACTION& action) const {
    HWND hwnd = GetRegisteredWindow();
    if (!hwnd || !::IsWindow(hwnd))
        return 0;
    return ::SendMessage(hwnd, message, 0, (LPARAM)&action);
}

DROPEFFECT COXSHBDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) {
    m_pLastData = data;
    SHBDROPTARGETACTION action{wnd, data, keyState, point, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
    return Forward(SHBDTM_DRAGENTER, action) ? (DROPEFFECT)action.result : DROPEFFECT_NONE;
}

DROPEFFECT COXSHBDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) {
    m_pLastData = data;
    SHBDROPTARGETACTION action{wnd, data, keyState, point, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
    return Forward(SHBDTM_DRAGOVER, action) ? (DROPEFFECT)action.result : DROPEFFECT_NONE;
}

BOOL COXSHBDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point) {
    SHBDROPTARGETACTION action{wnd, data, 0, point, effect, DROPEFFECT_NONE, 0};
    m_pLastData = nullptr;
    m_nScrollValue = 0xFFFF;
    return Forward(SHBDTM_DROP, action) ? (BOOL)action.result : FALSE;
}

DROPEFFECT COXSHBDropTarget::OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault,
                                      DROPEFFECT dropList, POINT point) {
    SHBDROPTARGETACTION action{wnd, data, 0, point, dropDefault, dropList, 0};
    if (Forward(SHBDTM_DROPEX, action))
        return (DROPEFFECT)action.result;
    return COleDropTarget::OnDropEx(wnd, data, dropDefault, dropList, point);
}

void COXSHBDropTarget::OnDragLeave(CWnd* wnd) {
    SHBDROPTARGETACTION action{wnd, nullptr, 0, POINT{0, 0}, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
    if (!Forward(SHBDTM_DRAGLEAVE, action))
        COleDropTarget::OnDragLeave(wnd);
}

UINT COXSHBDropTarget::ScrollValueAt(HWND hwnd, POINT point) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    RECT inner = client;
    ::InflateRect(&inner, -nScrollInset, -nScrollInset);
    if (!::PtInRect(&client, point) || ::PtInRect(&inner, point))
        return 0xFFFF;
    UINT vertical = 0xFF, horizontal = 0xFF;
    if (CanScroll(hwnd, SB_VERT)) {
        if (point.y < inner.top)
            vertical = 0;
        else if (point.y >= inner.bottom)
            vertical = 1;
    }
    if (CanScroll(hwnd, SB_HORZ)) {
        if (point.x < inner.left)
            horizontal = 0;
        else if (point.x >= inner.right)
            horizontal = 1;
    }
    return (horizontal << 8) | vertical;
}

DROPEFFECT COXSHBDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, POINT point) {
    SHBDROPTARGETACTION action{wnd, m_pLastData, keyState, point, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
    Forward(SHBDTM_DRAGSCROLL, action);
    if (action.result != DROPEFFECT_SCROLL)
        return (DROPEFFECT)action.result;
    HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return DROPEFFECT_NONE;
    UINT value = ScrollValueAt(hwnd, point);
    if (value == 0xFFFF) {
        if (m_nScrollValue != 0xFFFF) {
            // Out of the band again: the drag comes back as if it entered.
            m_nScrollValue = 0xFFFF;
            if (m_pLastData)
                OnDragEnter(wnd, m_pLastData, keyState, point);
        }
        return DROPEFFECT_NONE;
    }
    DWORD now = ::GetTickCount();
    if (m_nScrollValue == 0xFFFF)
        OnDragLeave(wnd);
    if (value != m_nScrollValue) {
        m_nScrollValue = value;
        m_dwScrollDue = now + nScrollDelay;
    } else if ((LONG)(now - m_dwScrollDue) >= 0) {
        UINT vertical = value & 0xFF, horizontal = (value >> 8) & 0xFF;
        if (vertical != 0xFF)
            ::SendMessage(hwnd, WM_VSCROLL, vertical == 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        else
            ::SendMessage(hwnd, WM_HSCROLL, horizontal == 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
        m_dwScrollDue = now + nScrollInterval;
    }
    DROPEFFECT effect = DROPEFFECT_SCROLL;
    BOOL control = (keyState & MK_CONTROL) != 0, shift = (keyState & MK_SHIFT) != 0;
    if (control && shift)
        effect |= DROPEFFECT_LINK;
    else if (control)
        effect |= DROPEFFECT_COPY;
    else if (shift || (keyState & MK_ALT))
        effect |= DROPEFFECT_MOVE;
    return effect;
}

SCODE COXSHBDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
    if (owner) {
        SHBDROPSOURCEACTION action{m_pOwner, keyState, escapePressed, DROPEFFECT_NONE, 0};
        if (::SendMessage(owner, SHBDSM_QUERYCONTINUEDRAG, 0, (LPARAM)&action))
            return (SCODE)action.result;
    }
    return COleDropSource::QueryContinueDrag(escapePressed, keyState);
}

SCODE COXSHBDropSource::GiveFeedback(DROPEFFECT effect) {
    HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
    if (owner) {
        SHBDROPSOURCEACTION action{m_pOwner, 0, FALSE, effect, 0};
        if (::SendMessage(owner, SHBDSM_GIVEFEEDBACK, 0, (LPARAM)&action))
            return (SCODE)action.result;
    }
    return COleDropSource::GiveFeedback(effect);
}

BOOL COXSHBDropSource::OnBeginDrag(CWnd* wnd) {
    HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
    if (owner) {
        SHBDROPSOURCEACTION action{m_pOwner, 0, FALSE, DROPEFFECT_NONE, 0};
        if (::SendMessage(owner, SHBDSM_BEGINDRAG, 0, (LPARAM)&action))
            return (BOOL)action.result;
    }
    return COleDropSource::OnBeginDrag(wnd);
}
