// CListBox: the list box's wrapper. Owner-drawn list boxes draw, measure, compare and delete their items
// through the virtual members, reflected from the parent.
#pragma once

#include "platform/base/String.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/ListBox.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    using CWnd::Create;
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_LISTBOX, nullptr, style, rect, parent, id);
    }
    int GetCount() const { return (int)Send(LB_GETCOUNT, 0, 0); }
    int GetTopIndex() const { return (int)Send(LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return (int)Send(LB_SETTOPINDEX, (WPARAM)index, 0); }
    int AddString(LPCTSTR text) { return (int)Send(LB_ADDSTRING, 0, (LPARAM)text); }
    int InsertString(int index, LPCTSTR text) { return (int)Send(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)Send(LB_DELETESTRING, index, 0); }
    void ResetContent() { Send(LB_RESETCONTENT, 0, 0); }
    int GetText(int index, LPTSTR buffer) const { return (int)Send(LB_GETTEXT, (WPARAM)index, (LPARAM)buffer); }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const { return (int)Send(LB_GETTEXTLEN, (WPARAM)index, 0); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)Send(LB_GETITEMDATA, (WPARAM)index, 0); }
    int SetItemData(int index, DWORD_PTR data) { return (int)Send(LB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    int GetCurSel() const { return (int)Send(LB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)Send(LB_SETCURSEL, (WPARAM)index, 0); }
    int GetSel(int index) const { return (int)Send(LB_GETSEL, (WPARAM)index, 0); }
    int SetSel(int index, BOOL select = TRUE) { return (int)Send(LB_SETSEL, (WPARAM)select, (LPARAM)index); }
    int GetCaretIndex() const { return (int)Send(LB_GETCARETINDEX, 0, 0); }
    int SetCaretIndex(int index, BOOL scroll = TRUE) { return (int)Send(LB_SETCARETINDEX, (WPARAM)index, scroll); }
    int GetItemHeight(int index) const { return (int)Send(LB_GETITEMHEIGHT, (WPARAM)index, 0); }
    int SetItemHeight(int index, UINT height) {
        return (int)Send(LB_SETITEMHEIGHT, (WPARAM)index, MAKELPARAM(height, 0));
    }
    int GetItemRect(int index, LPRECT rect) const { return (int)Send(LB_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    int FindStringExact(int start, LPCTSTR text) const {
        return (int)Send(LB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    int FindString(int start, LPCTSTR text) const { return (int)Send(LB_FINDSTRING, (WPARAM)start, (LPARAM)text); }
    int GetHorizontalExtent() const { return (int)Send(LB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(int extent) { Send(LB_SETHORIZONTALEXTENT, (WPARAM)extent, 0); }
    void SetColumnWidth(int width) { Send(LB_SETCOLUMNWIDTH, (WPARAM)width, 0); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
