// CStatusBarCtrl: the status bar control's wrapper.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/StatusBar.h"

class CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)
public:
    CStatusBarCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(STATUSCLASSNAME, nullptr, style, rect, parent, id);
    }
    BOOL SetText(LPCTSTR text, int pane, int type) {
        return (BOOL)::SendMessage(m_hWnd, SB_SETTEXT, (WPARAM)(pane | type), (LPARAM)text);
    }
    CString GetText(int pane, int* type = nullptr) const;
    int GetTextLength(int pane, int* type = nullptr) const;
    BOOL SetParts(int count, const int* rights) {
        return (BOOL)::SendMessage(m_hWnd, SB_SETPARTS, (WPARAM)count, (LPARAM)rights);
    }
    int GetParts(int count, int* rights) const {
        return (int)::SendMessage(m_hWnd, SB_GETPARTS, (WPARAM)count, (LPARAM)rights);
    }
    BOOL GetBorders(int* borders) const { return (BOOL)::SendMessage(m_hWnd, SB_GETBORDERS, 0, (LPARAM)borders); }
    void SetMinHeight(int height) { ::SendMessage(m_hWnd, SB_SETMINHEIGHT, (WPARAM)height, 0); }
    BOOL SetSimple(BOOL simple = TRUE) { return (BOOL)::SendMessage(m_hWnd, SB_SIMPLE, (WPARAM)simple, 0); }
    BOOL IsSimple() const { return (BOOL)::SendMessage(m_hWnd, SB_ISSIMPLE, 0, 0); }
    BOOL GetRect(int pane, LPRECT rect) const { return (BOOL)::SendMessage(m_hWnd, SB_GETRECT, (WPARAM)pane, (LPARAM)rect); }
    BOOL SetIcon(int pane, HICON icon) { return (BOOL)::SendMessage(m_hWnd, SB_SETICON, (WPARAM)pane, (LPARAM)icon); }
    void SetTipText(int pane, LPCTSTR tip) { ::SendMessage(m_hWnd, SB_SETTIPTEXT, (WPARAM)pane, (LPARAM)tip); }
    COLORREF SetBkColor(COLORREF color) { return (COLORREF)::SendMessage(m_hWnd, SB_SETBKCOLOR, 0, (LPARAM)color); }
};
