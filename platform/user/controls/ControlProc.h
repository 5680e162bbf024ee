// Helpers shared by the controls' window procedures.
//
// The window procedure of a control whose state object lives in its window's extra bytes. A parent may
// destroy the control while it is telling the parent something (a dialog closing on a notification):
// the object then lives on until its outermost message returns, so no handler runs on freed memory.
// T needs a constructor from the HWND, Proc(msg, wParam, lParam), and the members m_depth and m_dead.
#pragma once

#include "platform/user/ListView.h"
#include "platform/user/User.h"

template <class T>
LRESULT ControlWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    T* control = reinterpret_cast<T*>(GetWindowLongPtr(h, 0));
    if (msg == WM_NCCREATE) {
        SetWindowLongPtr(h, 0, (LONG_PTR) new T(h));
        return DefWindowProc(h, msg, wParam, lParam);
    }
    if (!control)
        return DefWindowProc(h, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtr(h, 0, 0);
        if (control->m_depth > 0)
            control->m_dead = true;
        else
            delete control;
        return DefWindowProc(h, msg, wParam, lParam);
    }
    ++control->m_depth;
    LRESULT result = control->Proc(msg, wParam, lParam);
    if (--control->m_depth == 0 && control->m_dead)
        delete control;
    return result;
}

// Where a WM_VSCROLL or WM_HSCROLL request moves a scrolled position: a line, a page, an end, or the
// scroll bar's thumb. FALSE for a request that moves nothing (SB_ENDSCROLL).
inline BOOL ScrollTarget(int code, int position, int line, int page, int end, HWND bar, int& target) {
    switch (code) {
        case SB_LINEUP:
            target = position - line;
            return TRUE;
        case SB_LINEDOWN:
            target = position + line;
            return TRUE;
        case SB_PAGEUP:
            target = position - page;
            return TRUE;
        case SB_PAGEDOWN:
            target = position + page;
            return TRUE;
        case SB_TOP:
            target = 0;
            return TRUE;
        case SB_BOTTOM:
            target = end;
            return TRUE;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            target = GetScrollInfo(bar, SB_CTL, &si) ? si.nTrackPos : position;
            return TRUE;
        }
        default:
            return FALSE;
    }
}
