#include "controls/model/SuperGridTree.h"

#include <algorithm>

void CItemInfo::SetSubItemText(int i, LPCTSTR text) {
    if (i < 0)
        return;
    if ((size_t)i >= m_subItems.size())
        m_subItems.resize((size_t)i + 1);
    m_subItems[(size_t)i] = text;
}

void CItemInfo::SetColumnText(int column, LPCTSTR text) {
    if (column == 0)
        m_strItemName = text;
    else
        SetSubItemText(column - 1, text);
}

bool CItemInfo::GetControlType(int column, CONTROLTYPE& type) const {
    auto it = m_controlType.find(column);
    if (it == m_controlType.end())
        return false;
    type = it->second;
    return true;
}

const std::vector<CString>* CItemInfo::GetListData(int column) const {
    auto it = m_choices.find(column);
    return it == m_choices.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------------------------------------------------

void CSuperGridTree::InsertRow(int row, CTreeItem* node) {
    m_rows.insert(m_rows.begin() + row, node);
    Renumber();
    if (m_pObserver)
        m_pObserver->OnRowInserted(row, node);
}

void CSuperGridTree::DeleteRow(int row) {
    m_rows[(size_t)row]->m_nIndex = -1;
    m_rows.erase(m_rows.begin() + row);
    Renumber();
    if (m_pObserver)
        m_pObserver->OnRowDeleted(row);
}

void CSuperGridTree::Renumber() {
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->m_nIndex = (int)i;
}

int CSuperGridTree::GetRow(const CTreeItem* node) const {
    // The row index is kept current by every row change; checked against the rows so that a node of
    // another tree is never taken for one of ours.
    if (node && node->m_nIndex >= 0 && node->m_nIndex < GetRowCount() && m_rows[(size_t)node->m_nIndex] == node)
        return node->m_nIndex;
    return -1;
}

int CSuperGridTree::RowAfterSubtree(const CTreeItem* node) const {
    int row = GetRow(node);
    if (row < 0)
        return -1;
    int next = row + 1;
    while (next < GetRowCount() && IsDescendant(m_rows[(size_t)next], node))
        ++next;
    return next;
}

bool CSuperGridTree::IsDescendant(const CTreeItem* node, const CTreeItem* ancestor) {
    for (const CTreeItem* p = node ? node->m_pParent : nullptr; p; p = p->m_pParent)
        if (p == ancestor)
            return true;
    return false;
}

void CSuperGridTree::SetIndents(CTreeItem* node, int indent) {
    node->m_nIndent = indent;
    for (auto& child : node->m_listChild)
        SetIndents(child.get(), indent + 1);
}

CTreeItem* CSuperGridTree::InsertRootItem(CItemInfo* info) {
    auto node = std::make_unique<CTreeItem>();
    node->m_lpNodeInfo.reset(info ? info : new CItemInfo);
    node->m_nIndent = 1;
    CTreeItem* raw = node.get();
    m_roots.push_back(std::move(node));
    InsertRow(GetRowCount(), raw);
    return raw;
}

CTreeItem* CSuperGridTree::InsertItem(CTreeItem* parent, CItemInfo* info) {
    if (!parent)
        return InsertRootItem(info);
    auto node = std::make_unique<CTreeItem>();
    node->m_lpNodeInfo.reset(info ? info : new CItemInfo);
    return Attach(parent, std::move(node));
}

CTreeItem* CSuperGridTree::Attach(CTreeItem* parent, std::unique_ptr<CTreeItem> node) {
    CTreeItem* raw = node.get();
    raw->m_pParent = parent;
    SetIndents(raw, parent->m_nIndent + 1);
    const bool hadChildren = parent->HasChildren();
    const bool shownOpen = GetRow(parent) >= 0 && hadChildren && !parent->m_bHideChildren;
    int row = shownOpen ? RowAfterSubtree(parent) : -1;
    parent->m_listChild.push_back(std::move(node));
    if (shownOpen)
        InsertRow(row, raw);
    else if (!hadChildren)
        parent->m_bHideChildren = true;
    return raw;
}

int CSuperGridTree::Expand(CTreeItem* node) {
    int row = GetRow(node);
    if (row < 0 || !node->HasChildren() || !node->m_bHideChildren)
        return -1;
    node->m_bHideChildren = false;
    int last = row;
    for (auto& child : node->m_listChild)
        InsertRow(++last, child.get());
    return last;
}

void CSuperGridTree::Collapse(CTreeItem* node) {
    if (!node || !node->HasChildren() || node->m_bHideChildren)
        return;
    node->m_bHideChildren = true;
    for (auto& child : node->m_listChild) {
        Collapse(child.get());
        int row = GetRow(child.get());
        if (row >= 0)
            DeleteRow(row);
    }
}

void CSuperGridTree::ExpandAll(CTreeItem* node) {
    if (!node)
        return;
    if (node->HasChildren())
        Expand(node);
    for (auto& child : node->m_listChild)
        ExpandAll(child.get());
}

namespace {
// Takes the node out of its parent's children (or the roots) and hands it over.
std::unique_ptr<CTreeItem> Detach(std::vector<std::unique_ptr<CTreeItem>>& roots, CTreeItem* node) {
    auto& list = node->m_pParent ? node->m_pParent->m_listChild : roots;
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == node; });
    if (it == list.end())
        return nullptr;
    std::unique_ptr<CTreeItem> owned = std::move(*it);
    list.erase(it);
    return owned;
}

bool InTree(const std::vector<std::unique_ptr<CTreeItem>>& roots, const CTreeItem* node) {
    const CTreeItem* top = node;
    while (top && top->m_pParent)
        top = top->m_pParent;
    return std::any_of(roots.begin(), roots.end(), [&](const auto& p) { return p.get() == top; });
}
}  // namespace

bool CSuperGridTree::DeleteItem(CTreeItem* node) {
    if (!node || !InTree(m_roots, node))
        return false;
    Collapse(node);
    int row = GetRow(node);
    if (row >= 0)
        DeleteRow(row);
    std::unique_ptr<CTreeItem> owned = Detach(m_roots, node);
    return owned != nullptr;
}

bool CSuperGridTree::MoveItem(CTreeItem* node, CTreeItem* newParent) {
    if (!node || !newParent || node == newParent || IsDescendant(newParent, node) || !InTree(m_roots, node) ||
        !InTree(m_roots, newParent))
        return false;
    Collapse(node);
    int row = GetRow(node);
    if (row >= 0)
        DeleteRow(row);
    Attach(newParent, Detach(m_roots, node));
    return true;
}

void CSuperGridTree::DeleteAll() {
    while (GetRowCount())
        DeleteRow(GetRowCount() - 1);
    m_roots.clear();
}
