// CWnd's scrolling calls, routed to a scroll bar control of the window's choosing or to its frame's bars.
#include "platform/framework/controls/ScrollBar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {
int Limit(HWND hwnd, int bar) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(hwnd, bar, &si))
        return 0;
    return std::max(si.nMin, si.nMax - std::max(0, (int)si.nPage - 1));
}
}  // namespace

int CScrollBar::GetScrollLimit() {
    return Limit(m_hWnd, SB_CTL);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const {
    return nullptr;
}

BOOL CWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw) {
    if (!info)
        return FALSE;
    info->cbSize = sizeof(SCROLLINFO);
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->SetScrollInfo(info, redraw);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) {
    if (!info)
        return FALSE;
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->GetScrollInfo(info, mask);
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->SetScrollPos(pos, redraw);
    return ::SetScrollPos(m_hWnd, bar, pos, redraw);
}

int CWnd::GetScrollPos(int bar) const {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->GetScrollPos();
    return ::GetScrollPos(m_hWnd, bar);
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        control->SetScrollRange(minPos, maxPos, redraw);
    else
        ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}

void CWnd::GetScrollRange(int bar, int* minPos, int* maxPos) const {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        control->GetScrollRange(minPos, maxPos);
    else
        ::GetScrollRange(m_hWnd, bar, minPos, maxPos);
}

int CWnd::GetScrollLimit(int bar) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->GetScrollLimit();
    return Limit(m_hWnd, bar);
}

void CWnd::ShowScrollBar(UINT bar, BOOL show) {
    ::ShowScrollBar(m_hWnd, (int)bar, show);
}

void CWnd::EnableScrollBarCtrl(int bar, BOOL enable) {
    if (bar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, enable);
        EnableScrollBarCtrl(SB_VERT, enable);
        return;
    }
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        control->EnableWindow(enable);
    else
        ::ShowScrollBar(m_hWnd, bar, enable);
}

BOOL CWnd::EnableScrollBar(int bar, UINT arrows) {
    if (CScrollBar* control = GetScrollBarCtrl(bar))
        return control->EnableScrollBar(arrows);
    return ::EnableScrollBar(m_hWnd, (UINT)bar, arrows);
}

void CWnd::ScrollWindow(int dx, int dy, const RECT* scroll, const RECT* clip) {
    ::ScrollWindow(m_hWnd, dx, dy, scroll, clip);
}

int CWnd::ScrollWindowEx(int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                         UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip, update, updateRect, flags);
}
