// CTreeCtrl: the tree view control's wrapper.
#pragma once

#include <cstring>

#include "platform/framework/window/Wnd.h"
#include "platform/user/ImageList.h"
#include "platform/user/TreeView.h"

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_TREEVIEW, nullptr, style, rect, parent, id);
    }

    HTREEITEM InsertItem(LPTVINSERTSTRUCT insert) {
        return (HTREEITEM)Send(TVM_INSERTITEM, 0, (LPARAM)insert);
    }
    HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCT tvi{};
        tvi.hParent = parent;
        tvi.hInsertAfter = after;
        tvi.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tvi.item.pszText = const_cast<LPTSTR>(text);
        tvi.item.iImage = image;
        tvi.item.iSelectedImage = selectedImage;
        return InsertItem(&tvi);
    }
    HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCT tvi{};
        tvi.hParent = parent;
        tvi.hInsertAfter = after;
        tvi.item.mask = TVIF_TEXT;
        tvi.item.pszText = const_cast<LPTSTR>(text);
        return InsertItem(&tvi);
    }
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)Send(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)Send(TVM_EXPAND, code, (LPARAM)item); }
    UINT GetCount() const { return (UINT)Send(TVM_GETCOUNT, 0, 0); }

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return (HTREEITEM)Send(TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }

    BOOL Select(HTREEITEM item, UINT code) { return (BOOL)Send(TVM_SELECTITEM, code, (LPARAM)item); }
    BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)Send(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    // Starts editing the item's label in place (TVS_EDITLABELS); the edit, or null when refused.
    CWnd* EditLabel(HTREEITEM item) { return CWnd::FromHandle((HWND)Send(TVM_EDITLABEL, 0, (LPARAM)item)); }
    CWnd* GetEditControl() const { return CWnd::FromHandle((HWND)Send(TVM_GETEDITCONTROL, 0, 0)); }
    BOOL EndEditLabelNow(BOOL cancel) { return (BOOL)Send(TVM_ENDEDITLABELNOW, (WPARAM)cancel, 0); }

    BOOL GetItem(TVITEM* item) const { return (BOOL)Send(TVM_GETITEM, 0, (LPARAM)item); }
    BOOL SetItem(TVITEM* item) { return (BOOL)Send(TVM_SETITEM, 0, (LPARAM)item); }
    CString GetItemText(HTREEITEM item) const {
        char buffer[1024] = {};
        TVITEM tvi{};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.pszText = buffer;
        tvi.cchTextMax = (int)sizeof(buffer);
        return GetItem(&tvi) ? CString(buffer) : CString();
    }
    BOOL SetItemText(HTREEITEM item, LPCTSTR text) {
        TVITEM tvi{};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.pszText = const_cast<LPTSTR>(text);
        return SetItem(&tvi);
    }
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
        TVITEM tvi{};
        tvi.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        tvi.hItem = item;
        if (!GetItem(&tvi))
            return FALSE;
        image = tvi.iImage;
        selectedImage = tvi.iSelectedImage;
        return TRUE;
    }
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage) {
        TVITEM tvi{};
        tvi.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.iImage = image;
        tvi.iSelectedImage = selectedImage;
        return SetItem(&tvi);
    }
    UINT GetItemState(HTREEITEM item, UINT mask) const {
        TVITEM tvi{};
        tvi.mask = TVIF_STATE | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.stateMask = mask;
        return GetItem(&tvi) ? (tvi.state & mask) : 0;
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask) {
        TVITEM tvi{};
        tvi.mask = TVIF_STATE | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.state = state;
        tvi.stateMask = mask;
        return SetItem(&tvi);
    }
    DWORD_PTR GetItemData(HTREEITEM item) const {
        TVITEM tvi{};
        tvi.mask = TVIF_PARAM | TVIF_HANDLE;
        tvi.hItem = item;
        return GetItem(&tvi) ? (DWORD_PTR)tvi.lParam : 0;
    }
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data) {
        TVITEM tvi{};
        tvi.mask = TVIF_PARAM | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.lParam = (LPARAM)data;
        return SetItem(&tvi);
    }
    // The item's whole row (textOnly FALSE) or its label's rectangle.
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
        std::memcpy(rect, &item, sizeof item);
        return (BOOL)Send(TVM_GETITEMRECT, (WPARAM)textOnly, (LPARAM)rect);
    }
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const {
        TVHITTESTINFO info{};
        info.pt = point;
        HTREEITEM item = HitTest(&info);
        if (flags)
            *flags = info.flags;
        return item;
    }
    HTREEITEM HitTest(TVHITTESTINFO* info) const { return (HTREEITEM)Send(TVM_HITTEST, 0, (LPARAM)info); }
    HIMAGELIST GetImageList(int which) const { return (HIMAGELIST)Send(TVM_GETIMAGELIST, (WPARAM)which, 0); }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) {
        return (HIMAGELIST)Send(TVM_SETIMAGELIST, (WPARAM)which, (LPARAM)list);
    }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
