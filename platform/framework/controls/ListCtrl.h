// CListCtrl: the list view control's wrapper.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/controls/HeaderCtrl.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/ListView.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Rows.
    int GetItemCount() const { return (int)Send(LVM_GETITEMCOUNT, 0, 0); }
    BOOL SetItemCount(int count) { return (BOOL)Send(LVM_SETITEMCOUNT, (WPARAM)count, 0); }
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL) {
        return (BOOL)Send(LVM_SETITEMCOUNT, (WPARAM)count, (LPARAM)flags);
    }
    int InsertItem(const LVITEM* item) { return (int)Send(LVM_INSERTITEM, 0, (LPARAM)item); }
    int InsertItem(int item, LPCTSTR text);
    int InsertItem(int item, LPCTSTR text, int image);
    int InsertItem(UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM lParam);
    BOOL DeleteItem(int item) { return (BOOL)Send(LVM_DELETEITEM, (WPARAM)item, 0); }
    BOOL DeleteAllItems() { return (BOOL)Send(LVM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(LVITEM* item) const { return (BOOL)Send(LVM_GETITEM, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEM* item) { return (BOOL)Send(LVM_SETITEM, 0, (LPARAM)item); }
    BOOL SetItem(int item, int subItem, UINT mask, LPCTSTR text, int image, UINT state, UINT stateMask,
                 LPARAM lParam);
    BOOL SetItemText(int item, int subItem, LPCTSTR text);
    CString GetItemText(int item, int subItem) const;
    int GetItemText(int item, int subItem, LPTSTR buffer, int size) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL SetItemState(int item, LVITEM* item2) {
        return (BOOL)Send(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)item2);
    }
    UINT GetItemState(int item, UINT mask) const {
        return (UINT)Send(LVM_GETITEMSTATE, (WPARAM)item, (LPARAM)mask);
    }
    // Check boxes (LVS_EX_CHECKBOXES): state image 2 is ticked, 1 clear.
    BOOL GetCheck(int item) const { return (GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    BOOL SetCheck(int item, BOOL check = TRUE) {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    int GetNextItem(int item, int flags) const {
        return (int)Send(LVM_GETNEXTITEM, (WPARAM)item, MAKELPARAM(flags, 0));
    }
    UINT GetSelectedCount() const { return (UINT)Send(LVM_GETSELECTEDCOUNT, 0, 0); }
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetSelectionMark() const { return (int)Send(LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int index) { return (int)Send(LVM_SETSELECTIONMARK, 0, (LPARAM)index); }
    UINT GetCallbackMask() const { return (UINT)Send(LVM_GETCALLBACKMASK, 0, 0); }
    BOOL SetCallbackMask(UINT mask) { return (BOOL)Send(LVM_SETCALLBACKMASK, (WPARAM)mask, 0); }
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
        return (BOOL)Send(LVM_SORTITEMS, (WPARAM)data, (LPARAM)compare);
    }
    BOOL Update(int item) { return (BOOL)Send(LVM_UPDATE, (WPARAM)item, 0); }
    BOOL RedrawItems(int first, int last) { return (BOOL)Send(LVM_REDRAWITEMS, (WPARAM)first, (LPARAM)last); }

    // Columns.
    int InsertColumn(int col, const LVCOLUMN* column) {
        return (int)Send(LVM_INSERTCOLUMN, (WPARAM)col, (LPARAM)column);
    }
    int InsertColumn(int col, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int col) { return (BOOL)Send(LVM_DELETECOLUMN, (WPARAM)col, 0); }
    BOOL GetColumn(int col, LVCOLUMN* column) const {
        return (BOOL)Send(LVM_GETCOLUMN, (WPARAM)col, (LPARAM)column);
    }
    BOOL SetColumn(int col, const LVCOLUMN* column) {
        return (BOOL)Send(LVM_SETCOLUMN, (WPARAM)col, (LPARAM)column);
    }
    int GetColumnWidth(int col) const { return (int)Send(LVM_GETCOLUMNWIDTH, (WPARAM)col, 0); }
    BOOL SetColumnWidth(int col, int cx) {
        return (BOOL)Send(LVM_SETCOLUMNWIDTH, (WPARAM)col, MAKELPARAM(cx, 0));
    }
    CHeaderCtrl* GetHeaderCtrl() const;

    // Geometry and scrolling.
    int HitTest(LVHITTESTINFO* info) const { return (int)Send(LVM_HITTEST, 0, (LPARAM)info); }
    int HitTest(POINT pt, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)Send(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int item, int subItem, int area, RECT& rect) const;
    int GetTopIndex() const { return (int)Send(LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)Send(LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL EnsureVisible(int item, BOOL partialOk) {
        return (BOOL)Send(LVM_ENSUREVISIBLE, (WPARAM)item, (LPARAM)partialOk);
    }
    BOOL Scroll(SIZE size) { return (BOOL)Send(LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy); }
    int GetStringWidth(LPCTSTR text) const { return (int)Send(LVM_GETSTRINGWIDTH, 0, (LPARAM)text); }

    // Look.
    DWORD GetExtendedStyle() const { return (DWORD)Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    DWORD SetExtendedStyle(DWORD exStyle) {
        return (DWORD)Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)exStyle);
    }
    COLORREF GetBkColor() const { return (COLORREF)Send(LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)Send(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
    COLORREF GetTextColor() const { return (COLORREF)Send(LVM_GETTEXTCOLOR, 0, 0); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)Send(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)Send(LVM_GETTEXTBKCOLOR, 0, 0); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)Send(LVM_SETTEXTBKCOLOR, 0, (LPARAM)cr); }

    // Label editing.
    CWnd* EditLabel(int item);
    CWnd* GetEditControl() const;

    // Owner drawing (LVS_OWNERDRAWFIXED), reflected from the parent: a class that overrides these draws
    // and measures its rows itself; otherwise the parent is asked as usual.
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return ::SendMessage(m_hWnd, msg, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()

private:
    // Stands for the header window when no CHeaderCtrl of the program is attached to it.
    mutable CHeaderCtrl m_headerWrapper;
    bool m_ownerDrawLeft = false;  // the default DrawItem / MeasureItem ran: the parent's turn
};
