// CComboBox: the combo box's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/ComboBox.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_COMBOBOX, nullptr, style, rect, parent, id);
    }
    int GetCount() const { return (int)Send(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)Send(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int select) { return (int)Send(CB_SETCURSEL, (WPARAM)select, 0); }
    DWORD GetEditSel() const { return (DWORD)Send(CB_GETEDITSEL, 0, 0); }
    BOOL LimitText(int maxChars) { return (BOOL)Send(CB_LIMITTEXT, (WPARAM)maxChars, 0); }
    BOOL SetEditSel(int start, int end) { return (BOOL)Send(CB_SETEDITSEL, 0, MAKELPARAM(start, end)); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)Send(CB_GETITEMDATA, (WPARAM)index, 0); }
    int SetItemData(int index, DWORD_PTR data) { return (int)Send(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
    int GetLBText(int index, LPTSTR text) const { return (int)Send(CB_GETLBTEXT, (WPARAM)index, (LPARAM)text); }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return (int)Send(CB_GETLBTEXTLEN, (WPARAM)index, 0); }
    int SetItemHeight(int index, UINT height) { return (int)Send(CB_SETITEMHEIGHT, (WPARAM)index, (LPARAM)height); }
    int GetItemHeight(int index) const { return (int)Send(CB_GETITEMHEIGHT, (WPARAM)index, 0); }
    int FindStringExact(int startAfter, LPCTSTR text) const {
        return (int)Send(CB_FINDSTRINGEXACT, (WPARAM)startAfter, (LPARAM)text);
    }
    int SetExtendedUI(BOOL extended = TRUE) { return (int)Send(CB_SETEXTENDEDUI, (WPARAM)extended, 0); }
    BOOL GetExtendedUI() const { return (BOOL)Send(CB_GETEXTENDEDUI, 0, 0); }
    void GetDroppedControlRect(LPRECT rect) const { Send(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)rect); }
    BOOL GetDroppedState() const { return (BOOL)Send(CB_GETDROPPEDSTATE, 0, 0); }
    int GetDroppedWidth() const { return (int)Send(CB_GETDROPPEDWIDTH, 0, 0); }
    int SetDroppedWidth(UINT width) { return (int)Send(CB_SETDROPPEDWIDTH, (WPARAM)width, 0); }
    UINT GetHorizontalExtent() const { return (UINT)Send(CB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(UINT extent) { Send(CB_SETHORIZONTALEXTENT, (WPARAM)extent, 0); }
    int GetTopIndex() const { return (int)Send(CB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return (int)Send(CB_SETTOPINDEX, (WPARAM)index, 0); }
    BOOL GetComboBoxInfo(PCOMBOBOXINFO info) const { return (BOOL)Send(CB_GETCOMBOBOXINFO, 0, (LPARAM)info); }
    int AddString(LPCTSTR text) { return (int)Send(CB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)Send(CB_DELETESTRING, (WPARAM)index, 0); }
    int InsertString(int index, LPCTSTR text) { return (int)Send(CB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    void ResetContent() { Send(CB_RESETCONTENT, 0, 0); }
    int FindString(int startAfter, LPCTSTR text) const {
        return (int)Send(CB_FINDSTRING, (WPARAM)startAfter, (LPARAM)text);
    }
    int SelectString(int startAfter, LPCTSTR text) {
        return (int)Send(CB_SELECTSTRING, (WPARAM)startAfter, (LPARAM)text);
    }
    void ShowDropDown(BOOL show = TRUE) { Send(CB_SHOWDROPDOWN, (WPARAM)show, 0); }
    void Clear() { Send(WM_CLEAR, 0, 0); }
    void Copy() { Send(WM_COPY, 0, 0); }
    void Cut() { Send(WM_CUT, 0, 0); }
    void Paste() { Send(WM_PASTE, 0, 0); }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
