// CWnd's layout of bars and the helpers that walk a window's descendants.
#include <algorithm>

#include "platform/framework/frames/FrameWnd.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hwnd, LPCRECT rc) {
    if (!rc || !::IsWindow(hwnd))
        return;
    if (layout && !layout->hDWP)
        return;  // query mode
    HWND parent = ::GetParent(hwnd);
    RECT old;
    ::GetWindowRect(hwnd, &old);
    POINT tl{old.left, old.top}, br{old.right, old.bottom};
    ::ScreenToClient(parent, &tl);
    ::ScreenToClient(parent, &br);
    if (tl.x == rc->left && tl.y == rc->top && br.x == rc->right && br.y == rc->bottom)
        return;
    int cx = std::max<LONG>(0, rc->right - rc->left), cy = std::max<LONG>(0, rc->bottom - rc->top);
    if (layout)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, hwnd, nullptr, rc->left, rc->top, cx, cy,
                                        SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hwnd, nullptr, rc->left, rc->top, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags, LPRECT rectParam,
                          LPCRECT rectClient, BOOL stretch) {
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = stretch;
    if (rectClient)
        layout.rect = *rectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    UINT mode = flags & ~(UINT)reposNoPosLeftOver;
    layout.hDWP = mode == reposQuery ? nullptr : ::BeginDeferWindowPos(8);
    HWND leftOverWnd = nullptr;
    // In z-order: the bars created first take the outer places.
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        UINT id = (UINT)::GetDlgCtrlID(child);
        if (id == leftOver && leftOver != 0)
            leftOverWnd = child;
        else if (id >= first && id <= last && FromHandlePermanent(child))
            ::SendMessage(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }
    if (mode == reposQuery) {
        if (rectParam) {
            if (stretch)
                *rectParam = layout.rect;
            else
                *rectParam = RECT{0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy};
        }
        return;
    }
    if (mode == reposExtra && rectParam) {
        layout.rect.left += rectParam->left;
        layout.rect.top += rectParam->top;
        layout.rect.right -= rectParam->right;
        layout.rect.bottom -= rectParam->bottom;
    }
    if (leftOverWnd && !(flags & reposNoPosLeftOver)) {
        CWnd* wnd = FromHandle(leftOverWnd);
        wnd->CalcWindowRect(&layout.rect);
        AfxRepositionWindow(&layout, leftOverWnd, &layout.rect);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

void CWnd::CalcWindowRect(LPRECT rc, UINT adjustType) {
    DWORD exStyle = GetExStyle();
    if (adjustType == adjustBorder)
        exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(rc, GetStyle(), FALSE, exStyle);
}

namespace {
void SendToDescendants(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL permanentOnly) {
    for (HWND child = ::GetTopWindow(hwnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (!permanentOnly)
            ::SendMessage(child, message, wParam, lParam);
        else if (CWnd* w = CWnd::FromHandlePermanent(child))
            w->SendMessage(message, wParam, lParam);
        if (deep && ::GetTopWindow(child))
            SendToDescendants(child, message, wParam, lParam, deep, permanentOnly);
    }
}

HWND FindDescendant(HWND hwnd, int id) {
    for (HWND child = ::GetTopWindow(hwnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) == id) {
            // A child of the same id inside it wins: a splitter in the first pane's place gives its first pane.
            HWND inner = FindDescendant(child, id);
            return inner ? inner : child;
        }
    for (HWND child = ::GetTopWindow(hwnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
        if (HWND found = FindDescendant(child, id))
            return found;
    return nullptr;
}
}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep,
                                    BOOL permanentOnly) {
    SendToDescendants(m_hWnd, message, wParam, lParam, deep, permanentOnly);
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL permanentOnly) const {
    HWND found = FindDescendant(m_hWnd, id);
    if (!found)
        return nullptr;
    return permanentOnly ? FromHandlePermanent(found) : FromHandle(found);
}

BOOL CWnd::IsFrameWnd() const {
    return IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

CFrameWnd* CWnd::GetParentFrame() const {
    if (!m_hWnd)
        return nullptr;
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h); w && w->IsFrameWnd())
            return static_cast<CFrameWnd*>(w);
        if (!(::GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    if (!m_hWnd)
        return nullptr;
    CFrameWnd* frame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    while (frame && (frame->GetStyle() & WS_CHILD)) {
        CFrameWnd* up = frame->GetParentFrame();
        if (!up)
            break;
        frame = up;
    }
    return frame;
}

CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* menu) {
    return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr);
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler) {
    CCmdUI state;
    CWnd temp;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        state.m_nID = (UINT)::GetDlgCtrlID(child);
        // A control of a permanent object may update itself; others are updated through `target`.
        CWnd* wnd = FromHandlePermanent(child);
        if (!wnd) {
            temp.m_hWnd = child;
            wnd = &temp;
        }
        state.m_pOther = wnd;
        // Only buttons are greyed for want of a handler; labels and fields stay as they are.
        bool button = (::SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0;
        state.DoUpdate(target, disableIfNoHandler && button);
    }
    temp.m_hWnd = nullptr;
}
