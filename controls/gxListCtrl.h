// The report list window: a list view in report mode over its own gxListModel. The model holds every row,
// column, colour and selection (analysis code fills it through gxListModel&); the window shows it as a
// virtual list (LVS_OWNERDATA), striped, sorts it on header clicks and tells its owner about clicks.
#pragma once

#include "controls/model/gxListModel.h"
#include "platform/framework/controls/ListCtrl.h"

#ifndef WM_SHOWLISTITEM
#define WM_SHOWLISTITEM (WM_USER + 0x0f)
#endif
#ifndef WM_OPENINEDITOR
#define WM_OPENINEDITOR (WM_USER + 0x10)
#endif
#ifndef ID_LISTSELCHANGE
#define ID_LISTSELCHANGE 3010
#endif

class gxListCtrl : public CListCtrl, public gxListModel, private gxListModelObserver {
public:
    gxListCtrl();
    ~gxListCtrl() override;

    // Where the list view and the model share a name, the model's operation is the list's.
    using gxListModel::DeleteAllItems;
    using gxListModel::GetItemCount;
    using gxListModel::GetItemData;
    using gxListModel::GetItemState;
    using gxListModel::GetItemText;
    using gxListModel::InsertColumn;
    using gxListModel::SetItemData;
    using gxListModel::SetItemState;
    using gxListModel::SetItemText;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The cell under a point (client coordinates): selects and returns its row and puts its column in
    // *pCol; -1 when no cell is there.
    int HitTestEx(POINT point, int* pCol);
    // Fills (0, 0, cx, cy) of the parent and sizes column 2 to its contents and caption.
    void ResizeList(int cx, int cy);
    // A width, or LVSCW_AUTOSIZE / LVSCW_AUTOSIZE_USEHEADER measured by the window.
    BOOL SetColumnWidth(int nCol, int nWidth);
    int GetColumnWidth(int nCol) const { return gxListModel::GetColumnWidth(nCol); }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, POINT point);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // gxListModelObserver
    void OnColumnsChanged() override;
    void OnColumnWidthChanged(int nCol) override;
    void OnItemInserted(int nItem) override;
    void OnItemTextChanged(int nItem, int nSubItem) override;
    void OnItemChanged(int nItem, bool bRedraw) override;
    void OnAllItemsDeleted() override;
    void OnItemSelected(int nItem) override;
    void OnSelectionCleared() override;
    void OnItemsSorted(int nLow, int nHigh) override;
    void OnLongOperation(bool bStart) override;

    // The window is behind the model: it catches up before it handles its next message.
    void MarkDirty();
    void Sync();
    void RebuildColumns();
    void FocusFromModel(int nItem);
    void PostToOwner(UINT message, WPARAM wParam, LPARAM lParam);
    bool HasWindow() const { return m_hWnd && m_bCreated; }

    bool m_bCreated = false;
    bool m_bPendingSync = false;
    int m_nSyncing = 0;  // > 0 while the window writes its own changes into the model
    int m_nWaitDepth = 0;
    HCURSOR m_hOldCursor = nullptr;
};
