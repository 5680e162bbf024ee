// CButton: the button control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"

#ifndef BS_USERBUTTON
#define BS_USERBUTTON 0x00000008L
#endif
#ifndef BS_PUSHLIKE
#define BS_PUSHLIKE 0x00001000L
#endif

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("Button", caption, style, rect, parent, id);
    }
    int GetCheck() const { return (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int check) { ::SendMessage(m_hWnd, BM_SETCHECK, (WPARAM)check, 0); }
    UINT GetState() const { return (UINT)::SendMessage(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL highlight) { ::SendMessage(m_hWnd, BM_SETSTATE, (WPARAM)highlight, 0); }
    UINT GetButtonStyle() const { return (UINT)::GetWindowLongPtr(m_hWnd, GWL_STYLE) & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) {
        ::SendMessage(m_hWnd, BM_SETSTYLE, (WPARAM)style, (LPARAM)redraw);
    }
};
