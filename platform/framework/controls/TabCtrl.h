// CTabCtrl: the tab control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/Tab.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_TABCONTROL, nullptr, style, rect, parent, id);
    }
    int GetItemCount() const { return (int)Send(TCM_GETITEMCOUNT, 0, 0); }
    LONG InsertItem(int item, TCITEM* tab) { return (LONG)Send(TCM_INSERTITEM, (WPARAM)item, (LPARAM)tab); }
    LONG InsertItem(int item, LPCTSTR text) { return InsertItem(TCIF_TEXT, item, text, 0, 0); }
    LONG InsertItem(int item, LPCTSTR text, int image) {
        return InsertItem(TCIF_TEXT | TCIF_IMAGE, item, text, image, 0);
    }
    LONG InsertItem(UINT mask, int item, LPCTSTR text, int image, LPARAM lParam) {
        TCITEM t{};
        t.mask = mask;
        t.pszText = const_cast<LPSTR>(text);
        t.iImage = image;
        t.lParam = lParam;
        return InsertItem(item, &t);
    }
    BOOL DeleteItem(int item) { return (BOOL)Send(TCM_DELETEITEM, (WPARAM)item, 0); }
    BOOL DeleteAllItems() { return (BOOL)Send(TCM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(int item, TCITEM* tab) const { return (BOOL)Send(TCM_GETITEM, (WPARAM)item, (LPARAM)tab); }
    BOOL SetItem(int item, TCITEM* tab) { return (BOOL)Send(TCM_SETITEM, (WPARAM)item, (LPARAM)tab); }
    BOOL GetItemRect(int item, LPRECT rect) const {
        return (BOOL)Send(TCM_GETITEMRECT, (WPARAM)item, (LPARAM)rect);
    }
    int GetCurSel() const { return (int)Send(TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int item) { return (int)Send(TCM_SETCURSEL, (WPARAM)item, 0); }
    int GetCurFocus() const { return (int)Send(TCM_GETCURFOCUS, 0, 0); }
    void SetCurFocus(int item) { Send(TCM_SETCURFOCUS, (WPARAM)item, 0); }
    int HitTest(TCHITTESTINFO* info) const { return (int)Send(TCM_HITTEST, 0, (LPARAM)info); }
    void AdjustRect(BOOL larger, LPRECT rect) { Send(TCM_ADJUSTRECT, (WPARAM)larger, (LPARAM)rect); }
    int GetRowCount() const { return (int)Send(TCM_GETROWCOUNT, 0, 0); }
    HIMAGELIST GetImageList() const { return (HIMAGELIST)Send(TCM_GETIMAGELIST, 0, 0); }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)Send(TCM_SETIMAGELIST, 0, (LPARAM)list); }
    SIZE SetItemSize(SIZE size) {
        LRESULT old = Send(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
        return SIZE{(short)LOWORD(old), (short)HIWORD(old)};
    }
    void SetPadding(SIZE size) { Send(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int SetMinTabWidth(int cx) { return (int)Send(TCM_SETMINTABWIDTH, 0, (LPARAM)cx); }
    void RemoveImage(int image) { Send(TCM_REMOVEIMAGE, (WPARAM)image, 0); }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
