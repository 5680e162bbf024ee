// CHeaderCtrl: the header control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/ListView.h"

class CHeaderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_HEADER, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return (int)::SendMessage(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    int InsertItem(int pos, HDITEM* item) {
        return (int)SendMessage(HDM_INSERTITEM, (WPARAM)pos, (LPARAM)item);
    }
    BOOL DeleteItem(int pos) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)pos, 0); }
    BOOL GetItem(int pos, HDITEM* item) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEM, (WPARAM)pos, (LPARAM)item);
    }
    BOOL SetItem(int pos, HDITEM* item) { return (BOOL)SendMessage(HDM_SETITEM, (WPARAM)pos, (LPARAM)item); }
    BOOL GetItemRect(int index, LPRECT rect) const {
        return (BOOL)::SendMessage(m_hWnd, HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
    int HitTest(HDHITTESTINFO* info) { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)info); }
    BOOL Layout(HDLAYOUT* layout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)layout); }
};
