// The tree of the tree-in-list control without its window: nodes with their data, which of them are
// shown as rows, and the row changes that expanding, collapsing, deleting and moving make. The window
// mirrors each row change into its list.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/String.h"
#include "platform/base/Types.h"

// The data of one node: its texts, its cells' editors and choices, check state, image and colours.
class CItemInfo {
public:
    enum CONTROLTYPE { edit = 0, combobox = 1 };

    void SetItemText(LPCTSTR text) { m_strItemName = text; }
    const CString& GetItemText() const { return m_strItemName; }
    void AddSubItemText(LPCTSTR text) { m_subItems.emplace_back(text); }
    // Sets the text of sub-item i (column i + 1), adding empty ones before it as needed.
    void SetSubItemText(int i, LPCTSTR text);
    CString GetSubItemText(int i) const {
        return i >= 0 && i < GetSubItemCount() ? m_subItems[(size_t)i] : CString();
    }
    int GetSubItemCount() const { return (int)m_subItems.size(); }
    // The text of a column: 0 the main text, c the sub-item c - 1.
    CString GetColumnText(int column) const { return column == 0 ? m_strItemName : GetSubItemText(column - 1); }
    void SetColumnText(int column, LPCTSTR text);

    void SetControlType(int column, CONTROLTYPE type) { m_controlType[column] = type; }
    bool GetControlType(int column, CONTROLTYPE& type) const;
    void SetListData(int column, const std::vector<CString>& choices) { m_choices[column] = choices; }
    const std::vector<CString>* GetListData(int column) const;
    void SetCellColor(int column, COLORREF color) { m_colors[column] = color; }

    void SetCheck(bool check) { m_bCheck = check; }
    bool GetCheck() const { return m_bCheck; }
    void SetImage(int image) { m_nImage = image; }
    int GetImage() const { return m_nImage; }
    void SetItemData(DWORD data) { m_lParam = data; }
    DWORD GetItemData() const { return m_lParam; }
    void SetRowColor(COLORREF color) { m_clf = color; }
    COLORREF GetRowColor() const { return m_clf; }

private:
    DWORD m_lParam = 0;
    std::map<int, CONTROLTYPE> m_controlType;
    std::map<int, COLORREF> m_colors;
    std::map<int, std::vector<CString>> m_choices;
    CString m_strItemName;
    std::vector<CString> m_subItems;
    bool m_bCheck = false;
    int m_nImage = -1;
    COLORREF m_clf = (COLORREF)-1;
};

// One node: its children (owned), its parent, its data (owned), whether its children are hidden, its row
// (when shown) and its depth (1 for a root).
class CTreeItem {
public:
    std::vector<std::unique_ptr<CTreeItem>> m_listChild;
    CTreeItem* m_pParent = nullptr;
    std::unique_ptr<CItemInfo> m_lpNodeInfo;
    bool m_bHideChildren = false;
    int m_nIndex = -1;
    int m_nIndent = 1;

    bool HasChildren() const { return !m_listChild.empty(); }
    CItemInfo* GetData() const { return m_lpNodeInfo.get(); }
};

// What the window over the tree hears: a row of that node was inserted at, or deleted from, a position.
class SuperGridTreeObserver {
public:
    virtual ~SuperGridTreeObserver() = default;
    virtual void OnRowInserted(int row, CTreeItem* node) = 0;
    virtual void OnRowDeleted(int row) = 0;
};

// Invariant: a shown node that is not collapsed shows all its children right below it (each followed by
// its own shown descendants); a node that is not shown and has children is collapsed.
class CSuperGridTree {
public:
    explicit CSuperGridTree(SuperGridTreeObserver* observer = nullptr) : m_pObserver(observer) {}
    void SetObserver(SuperGridTreeObserver* observer) { m_pObserver = observer; }

    // A new root (with new empty data when none is given) shown as the last row.
    CTreeItem* InsertRootItem(CItemInfo* info);
    // A new last child of parent; its row is shown when the parent is shown and expanded.
    CTreeItem* InsertItem(CTreeItem* parent, CItemInfo* info);
    // Removes the node with its descendants and their rows; FALSE for a node of another tree.
    bool DeleteItem(CTreeItem* node);
    // Shows the children of a collapsed node with children that is shown; the last row inserted, or -1.
    int Expand(CTreeItem* node);
    // Hides the descendants of an expanded node with children (collapsing them too).
    void Collapse(CTreeItem* node);
    // Expands the node and then each of its descendants, depth first.
    void ExpandAll(CTreeItem* node);
    // Makes the node the last child of newParent (shown collapsed when newParent is expanded); refused (false)
    // when newParent is the node or one of its descendants.
    bool MoveItem(CTreeItem* node, CTreeItem* newParent);

    int GetRowCount() const { return (int)m_rows.size(); }
    CTreeItem* GetNodeAt(int row) const { return row >= 0 && row < GetRowCount() ? m_rows[(size_t)row] : nullptr; }
    // The node's row, -1 when it is not shown.
    int GetRow(const CTreeItem* node) const;
    const std::vector<std::unique_ptr<CTreeItem>>& GetRoots() const { return m_roots; }
    static bool IsDescendant(const CTreeItem* node, const CTreeItem* ancestor);
    void DeleteAll();

private:
    void InsertRow(int row, CTreeItem* node);
    void DeleteRow(int row);
    void Renumber();
    // The row after the node's last shown descendant.
    int RowAfterSubtree(const CTreeItem* node) const;
    void SetIndents(CTreeItem* node, int indent);
    // Makes the node the last child of parent, showing its row when the parent shows its children.
    CTreeItem* Attach(CTreeItem* parent, std::unique_ptr<CTreeItem> node);

    std::vector<std::unique_ptr<CTreeItem>> m_roots;
    std::vector<CTreeItem*> m_rows;
    SuperGridTreeObserver* m_pObserver = nullptr;
};
