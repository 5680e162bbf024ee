// A tree in the first column of an owner-drawn report list: each shown node is one row, indented by its
// depth, with tree lines and a plus/minus box; further columns hold the node's sub-item texts. Cells are
// edited in place. The tree itself (nodes, shown rows) is the windowless CSuperGridTree.
#pragma once

#include <vector>

#include "controls/model/SuperGridTree.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/controls/ListCtrl.h"
#include "platform/user/ImageList.h"

class CSuperGridCtrl : public CListCtrl, protected SuperGridTreeObserver {
public:
    using CTreeItem = ::CTreeItem;

    CSuperGridCtrl();
    ~CSuperGridCtrl() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Tree operations; each keeps the list's rows in step.
    CTreeItem* InsertRootItem(CItemInfo* lpInfo);
    CTreeItem* InsertItem(CTreeItem* pParent, CItemInfo* lpInfo);
    void DeleteItemEx(CTreeItem* pItem);
    int Expand(CTreeItem* pItem, int nIndex);
    void Collapse(CTreeItem* pItem);
    void ExpandAll(CTreeItem* pItem);
    void CollapseAll(CTreeItem* pItem);
    int NodeToIndex(CTreeItem* pItem) const { return m_tree.GetRow(pItem); }
    CTreeItem* GetTreeItem(int nIndex) const { return m_tree.GetNodeAt(nIndex); }
    const std::vector<std::unique_ptr<CTreeItem>>& GetRootItems() const { return m_tree.GetRoots(); }
    void DeleteAll();
    int GetCurrentColumn() const { return m_nCurrentColumn; }
    // Ends a running in-place editor (it reports the end to the list's parent).
    void CancelEdit();

    // The 16 overridables, base behaviour in the comments.
    virtual CItemInfo* CloneItemInfo(CTreeItem* pItem);                       // nothing
    virtual int GetItemImage(CTreeItem* pItem);                               // the stored image
    virtual COLORREF GetCellRGB();                                            // dark red
    virtual void OnUpdateItemText(CTreeItem* pItem, int nColumn, LPCTSTR text);  // stores the text
    virtual void EditCell(int nItem, int nCol);                               // CListEditCtrl
    virtual HIMAGELIST CreateDragImage(int nItem);                            // none
    virtual BOOL OnItemExpanding(CTreeItem*, int) { return TRUE; }
    virtual BOOL OnItemExpanded(CTreeItem*, int) { return TRUE; }
    virtual BOOL OnCollapsing(CTreeItem*) { return TRUE; }
    virtual BOOL OnItemCollapsed(CTreeItem*) { return TRUE; }
    virtual BOOL OnDeleteItem(CTreeItem*, int) { return TRUE; }
    virtual BOOL OnVKMultiply(CTreeItem*, int) { return TRUE; }
    virtual BOOL OnVkSubTract(CTreeItem*, int) { return TRUE; }
    virtual BOOL OnVKAdd(CTreeItem*, int) { return TRUE; }
    virtual void OnEditKey(int /*nItem*/, int /*nCol*/) {}
    virtual BOOL CanClickItem(int /*nItem*/, int /*nCol*/) { return TRUE; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The text cut to fit a width, ending in "..." (as many characters as fit with it); whole when it fits.
    static CString CutTextToWidth(HDC dc, const CString& text, int width);
    // Where column 0 of a row at that depth puts its parts (client x, from the cell's left edge).
    struct RowLayout {
        RECT plusMinus;
        RECT check;
        RECT image;
        int textLeft;
    };
    RowLayout LayoutRow(const RECT& cell, int indent) const;
    // The row and column under a client point; -1 for none.
    int HitTestCell(POINT pt, int* pCol) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRowInserted(int row, CTreeItem* node) override;
    void OnRowDeleted(int row) override;
    bool HasCheckBoxes() const { return (GetExtendedStyle() & LVS_EX_CHECKBOXES) != 0; }
    void OnLButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnKeyNotify(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    // Mirrors a check change of the list into the node's data.
    void SyncCheck(int nItem);
    void MakeCellVisible(int nItem, int nCol, RECT& cell);
    // WM_SETREDRAW, and a repaint when switched back on.
    void SetRedrawing(BOOL on);
    DECLARE_MESSAGE_MAP()

    int m_cxImage = 16, m_cyImage = 16;
    int m_nDragItem = -1, m_nDragTarget = -1;
    bool m_bIsDragging = false;
    int m_nCurrentColumn = 0;

private:
    CSuperGridTree m_tree;
    int m_nMirroring = 0;  // > 0 while the list's rows follow the tree
};

// An in-place editor's end: LVN_ENDLABELEDIT from the editor's list to the list's parent, with the cell,
// the text (none after Escape) and the chosen entry's data.
void NotifyEndLabelEdit(HWND editor, int item, int subItem, LPCTSTR text, LPARAM data);

// The edit box over a cell: Enter ends the edit, Escape cancels it; on losing the focus it reports the
// end to the list's parent as LVN_ENDLABELEDIT and destroys itself.
class CListEditCtrl : public CWnd {
public:
    CListEditCtrl(int iItem, int iSubItem, LPCTSTR initText);
    BOOL CreateOver(CWnd* list, const RECT& rect, UINT id);
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    int m_iItem, m_iSubItem;
    CString m_sInitText;
    bool m_bVK_ESCAPE = false;
    bool m_bEnded = false;
};
