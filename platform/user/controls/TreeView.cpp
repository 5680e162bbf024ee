// The "SysTreeView32" class: items with a text, a parameter and a "has children" flag, expanded and
// collapsed with TVN_ITEMEXPANDING / TVN_ITEMEXPANDED (so a parent can fill an item's children when it is
// first opened), one selection with TVN_SELCHANGING / TVN_SELCHANGED, drawn in the Classic look with
// +/- buttons and dotted lines, scrolled vertically by a scroll bar control of its own. Labels are edited
// in place (TVM_EDITLABEL, F2 with TVS_EDITLABELS), the parent allowing the edit and its text.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/user/ImageList.h"
#include "platform/user/controls/ControlProc.h"
#include "platform/user/TreeView.h"
#include "platform/user/UserInternal.h"

namespace {
typedef uintptr_t Id;  // 0 is the hidden root whose children are the top-level items

struct Node {
    std::string text;
    LPARAM param = 0;
    Id parent = 0;
    std::vector<Id> children;
    UINT state = 0;            // TVIS_ bits (TVIS_SELECTED mirrors the selection)
    int image = 0;             // indexes into the normal image list
    int selectedImage = 0;
    bool hasChildren = false;  // shows a button before its children are there
};

const int kMinIndent = 5;

// A parent may destroy the tree while it is being told something: the object then lives until the
// outermost message returns (see ControlWindowProc), and the handlers stop at the next check of m_dead.
class TreeView : public user::Control {
public:
    explicit TreeView(HWND h) : Control(h, kPaints) { m_nodes[0].state = TVIS_EXPANDED; }
    ~TreeView() override {
        if (m_boldFont)
            DeleteObject(m_boldFont);
    }
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Valid(Id id) const { return id != 0 && m_nodes.count(id) != 0; }
    Id FromHandle(HTREEITEM h) const {
        Id id = (Id)h;
        return Valid(id) ? id : 0;
    }
    bool HasButton(Id id) const {
        const Node& n = m_nodes.at(id);
        return n.hasChildren || !n.children.empty();
    }
    int Depth(Id id) const {
        int d = 0;
        for (Id p = m_nodes.at(id).parent; p != 0; p = m_nodes.at(p).parent)
            ++d;
        return d;
    }
    bool IsAncestor(Id ancestor, Id id) const {
        for (Id p = id; p != 0; p = m_nodes.at(p).parent)
            if (p == ancestor)
                return true;
        return false;
    }
    Id Sibling(Id id, int step) const {
        const auto& list = m_nodes.at(m_nodes.at(id).parent).children;
        auto it = std::find(list.begin(), list.end(), id);
        long i = (long)(it - list.begin()) + step;
        return i >= 0 && i < (long)list.size() ? list[(size_t)i] : 0;
    }

    // Notifications.
    void FillItem(TVITEM& item, Id id) const;
    LRESULT NotifyTree(UINT code, UINT action, Id oldItem, Id newItem);

    // Items.
    HTREEITEM Insert(const TVINSERTSTRUCT* ins);
    void Delete(Id id);
    void DeleteSubtree(Id id, std::vector<std::pair<Id, LPARAM>>& gone);
    bool Expand(Id id, UINT code, bool byUser);
    bool Select(Id id, UINT cause);
    HTREEITEM Next(UINT code, Id id);
    BOOL GetItem(TVITEM* item) const;
    BOOL SetItem(const TVITEM* item);

    // Rows as shown.
    const std::vector<Id>& Visible();
    int RowOf(Id id);  // -1 when a collapsed ancestor hides it
    void Changed();    // the shown rows changed
    void Measure();
    void Layout();
    int PerPage();
    void SetTop(int top);
    bool EnsureVisible(Id id);
    int ItemLeft(Id id);  // where the state icon (else the icon, else the label) starts
    int StateIconWidth(Id id) const;
    int IconWidth() const;
    HGDIOBJ FontOf(Id id);  // the bold font for TVIS_BOLD items
    int LabelWidth(Id id);
    bool ItemRect(Id id, bool textOnly, RECT* out);
    Id HitTest(POINT p, UINT* flags);

    // Painting and input.
    void Paint(HDC dc) override;
    void OnButtonDown(UINT msg, POINT p);
    // A move with the left button held beyond the drag distance from the press on an item begins a drag.
    void OnMouseMove(WPARAM keys, POINT p);
    void OnKeyDown(UINT vk);

    // Label editing.
    HWND EditLabel(Id id);
    void EndEdit(bool commit);
    void OnLabelEditEnd(HWND edit, bool commit) override {
        if (edit == m_edit)
            EndEdit(commit);
    }

    HWND m_vbar = nullptr;
    HWND m_edit = nullptr;
    Id m_editItem = 0;
    HIMAGELIST m_normalImages = nullptr;
    HIMAGELIST m_stateImages = nullptr;
    HFONT m_boldFont = nullptr;
    bool m_vbarShown = false;
    std::unordered_map<Id, Node> m_nodes;
    Id m_nextId = 1;
    Id m_sel = 0;
    int m_top = 0;
    int m_indent = 19;
    COLORREF m_bkColor = (COLORREF)-1;  // -1: the system's window colour
    int m_rowHeight = 16;
    bool m_measured = false;
    std::vector<Id> m_visible;
    std::unordered_map<Id, int> m_rowOf;
    bool m_visibleDirty = true;
    RECT m_area{};
    Id m_dragItem = 0;  // the item pressed with the left button, until it is dragged or released
    POINT m_dragStart{};
};

// ---------------------------------------------------------------------------------------------------------
// Notifications.

void TreeView::FillItem(TVITEM& item, Id id) const {
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = (HTREEITEM)id;
    if (!Valid(id))
        return;
    const Node& n = m_nodes.at(id);
    item.state = n.state;
    item.stateMask = 0xFFFF;
    item.lParam = n.param;
}

LRESULT TreeView::NotifyTree(UINT code, UINT action, Id oldItem, Id newItem) {
    NMTREEVIEW nm{};
    nm.action = action;
    if (oldItem)
        FillItem(nm.itemOld, oldItem);
    if (newItem)
        FillItem(nm.itemNew, newItem);
    DWORD pos = GetMessagePos();
    nm.ptDrag = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ScreenToClient(m_h, &nm.ptDrag);
    return Notify(&nm.hdr, code);
}

// ---------------------------------------------------------------------------------------------------------
// Items.

HTREEITEM TreeView::Insert(const TVINSERTSTRUCT* ins) {
    if (!ins)
        return nullptr;
    Id parent = 0;
    if (ins->hParent && ins->hParent != TVI_ROOT) {
        parent = FromHandle(ins->hParent);
        if (!parent)
            return nullptr;
    }
    Node n;
    n.parent = parent;
    const TVITEM& it = ins->item;
    if ((it.mask & TVIF_TEXT) && it.pszText && it.pszText != LPSTR_TEXTCALLBACK)
        n.text = it.pszText;
    if (it.mask & TVIF_PARAM)
        n.param = it.lParam;
    if (it.mask & TVIF_CHILDREN)
        n.hasChildren = it.cChildren != 0;
    if (it.mask & TVIF_IMAGE)
        n.image = it.iImage;
    if (it.mask & TVIF_SELECTEDIMAGE)
        n.selectedImage = it.iSelectedImage;
    if (it.mask & TVIF_STATE)
        n.state = it.state & it.stateMask & (TVIS_BOLD | TVIS_CUT | TVIS_STATEIMAGEMASK | TVIS_EXPANDED);
    Id id = m_nextId++;
    std::vector<Id>& list = m_nodes[parent].children;
    size_t at = list.size();
    HTREEITEM after = ins->hInsertAfter;
    if (after == TVI_FIRST) {
        at = 0;
    } else if (after == TVI_SORT) {
        at = 0;
        while (at < list.size() && AsciiCompareNoCase(m_nodes[list[at]].text.c_str(), n.text.c_str()) <= 0)
            ++at;
    } else if (after && after != TVI_LAST) {
        auto found = std::find(list.begin(), list.end(), (Id)after);
        if (found != list.end())
            at = (size_t)(found - list.begin()) + 1;
    }
    list.insert(list.begin() + (long)at, id);
    m_nodes.emplace(id, std::move(n));
    Node& p = m_nodes[parent];
    if (parent == 0 || (p.state & TVIS_EXPANDED))
        Changed();
    else if (RowOf(parent) >= 0)
        InvalidateRect(m_h, nullptr, TRUE);  // its button may appear
    return (HTREEITEM)id;
}

void TreeView::DeleteSubtree(Id id, std::vector<std::pair<Id, LPARAM>>& gone) {
    std::vector<Id> children = m_nodes[id].children;
    for (Id c : children)
        DeleteSubtree(c, gone);
    if (id != 0) {
        gone.emplace_back(id, m_nodes[id].param);
        m_nodes.erase(id);
    } else {
        m_nodes[0].children.clear();
    }
}

void TreeView::Delete(Id id) {
    if (m_edit && (id == 0 || IsAncestor(id, m_editItem)))
        EndEdit(false);
    Id newSel = 0;
    bool selGone = m_sel && IsAncestor(id, m_sel);
    if (selGone && id != 0) {
        // The selection moves to a neighbour, else to the parent.
        newSel = Sibling(id, 1);
        if (!newSel)
            newSel = Sibling(id, -1);
        if (!newSel)
            newSel = m_nodes[id].parent;
    }
    Id parent = id ? m_nodes[id].parent : 0;
    if (id != 0) {
        auto& list = m_nodes[parent].children;
        list.erase(std::remove(list.begin(), list.end(), id), list.end());
    }
    std::vector<std::pair<Id, LPARAM>> gone;
    DeleteSubtree(id, gone);
    Id oldSel = m_sel;
    if (selGone)
        m_sel = 0;
    Changed();
    for (auto& [g, param] : gone) {
        NMTREEVIEW nm{};
        nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
        nm.itemOld.hItem = (HTREEITEM)g;
        nm.itemOld.lParam = param;
        Notify(&nm.hdr, TVN_DELETEITEM);
    }
    if (m_dead)
        return;
    if (selGone && Valid(newSel) && m_sel == 0) {
        m_sel = newSel;
        m_nodes[newSel].state |= TVIS_SELECTED;
        EnsureVisible(newSel);
        NotifyTree(TVN_SELCHANGED, TVC_UNKNOWN, 0, newSel);
    }
    (void)oldSel;
}

bool TreeView::Expand(Id id, UINT code, bool byUser) {
    if (!Valid(id))
        return false;
    UINT action = code & TVE_TOGGLE;
    bool expanded = (m_nodes[id].state & TVIS_EXPANDED) != 0;
    if (action == TVE_TOGGLE)
        action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    // A program's own TVM_EXPAND is told to the parent only until the item has been opened once.
    bool notify = byUser || !(m_nodes[id].state & TVIS_EXPANDEDONCE);
    if (action == TVE_EXPAND) {
        if (expanded)
            return true;
        if (!HasButton(id))
            return false;
        if (notify && NotifyTree(TVN_ITEMEXPANDING, TVE_EXPAND, 0, id))
            return false;
        if (m_dead || !Valid(id))
            return false;
        Node& n = m_nodes[id];
        n.state |= TVIS_EXPANDEDONCE;
        if (n.children.empty()) {
            n.hasChildren = false;  // nothing to show after all: the button goes
        } else {
            n.state |= TVIS_EXPANDED;
        }
        Changed();
        if (notify)
            NotifyTree(TVN_ITEMEXPANDED, TVE_EXPAND, 0, id);
        return true;
    }
    if (action != TVE_COLLAPSE)
        return false;
    bool reset = (code & TVE_COLLAPSERESET) != 0;
    if (!expanded && !reset)
        return true;
    if (notify && NotifyTree(TVN_ITEMEXPANDING, TVE_COLLAPSE, 0, id))
        return false;
    if (m_dead || !Valid(id))
        return false;
    m_nodes[id].state &= ~TVIS_EXPANDED;
    if (m_sel && m_sel != id && IsAncestor(id, m_sel))
        Select(id, TVC_UNKNOWN);
    if (reset && Valid(id)) {
        std::vector<Id> children = m_nodes[id].children;
        for (Id c : children)
            if (Valid(c))
                Delete(c);
        if (Valid(id)) {
            m_nodes[id].state &= ~TVIS_EXPANDEDONCE;
            m_nodes[id].hasChildren = true;
        }
    }
    Changed();
    if (notify && Valid(id))
        NotifyTree(TVN_ITEMEXPANDED, TVE_COLLAPSE, 0, id);
    return true;
}

bool TreeView::Select(Id id, UINT cause) {
    if (id && !Valid(id))
        return false;
    if (id == m_sel) {
        if (id)
            EnsureVisible(id);
        return true;
    }
    if (NotifyTree(TVN_SELCHANGING, cause, m_sel, id))
        return false;
    if (m_dead || (id && !Valid(id)))
        return false;
    Id old = Valid(m_sel) ? m_sel : 0;
    if (old)
        m_nodes[old].state &= ~TVIS_SELECTED;
    m_sel = id;
    if (id) {
        m_nodes[id].state |= TVIS_SELECTED;
        EnsureVisible(id);
    }
    InvalidateRect(m_h, nullptr, TRUE);
    NotifyTree(TVN_SELCHANGED, cause, old, id);
    // One branch open at a time: a selection by the user opens the new item and closes the old one
    // unless it holds the new one.
    if ((Style() & TVS_SINGLEEXPAND) && (cause == TVC_BYMOUSE || cause == TVC_BYKEYBOARD) && !m_dead) {
        if (old && Valid(old) && !(id && IsAncestor(old, id)))
            Expand(old, TVE_COLLAPSE, true);
        if (id && Valid(id) && !m_dead)
            Expand(id, TVE_EXPAND, true);
    }
    return true;
}

HTREEITEM TreeView::Next(UINT code, Id id) {
    switch (code) {
        case TVGN_ROOT:
            return m_nodes[0].children.empty() ? nullptr : (HTREEITEM)m_nodes[0].children.front();
        case TVGN_CARET:
            return (HTREEITEM)m_sel;
        case TVGN_DROPHILITE:
            return nullptr;
        case TVGN_FIRSTVISIBLE: {
            const auto& v = Visible();
            return m_top < (int)v.size() ? (HTREEITEM)v[(size_t)m_top] : nullptr;
        }
        case TVGN_LASTVISIBLE: {
            const auto& v = Visible();
            return v.empty() ? nullptr : (HTREEITEM)v.back();
        }
        default:
            break;
    }
    if (code == TVGN_CHILD && id == 0)
        return Next(TVGN_ROOT, 0);
    if (!Valid(id))
        return nullptr;
    switch (code) {
        case TVGN_NEXT:
            return (HTREEITEM)Sibling(id, 1);
        case TVGN_PREVIOUS:
            return (HTREEITEM)Sibling(id, -1);
        case TVGN_PARENT:
            return (HTREEITEM)m_nodes[id].parent;
        case TVGN_CHILD:
            return m_nodes[id].children.empty() ? nullptr : (HTREEITEM)m_nodes[id].children.front();
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            int row = RowOf(id);
            if (row < 0)
                return nullptr;
            row += code == TVGN_NEXTVISIBLE ? 1 : -1;
            const auto& v = Visible();
            return row >= 0 && row < (int)v.size() ? (HTREEITEM)v[(size_t)row] : nullptr;
        }
        default:
            return nullptr;
    }
}

BOOL TreeView::GetItem(TVITEM* item) const {
    if (!item || !Valid((Id)item->hItem))
        return FALSE;
    const Node& n = m_nodes.at((Id)item->hItem);
    if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t len = std::min(n.text.size(), (size_t)item->cchTextMax - 1);
        std::memcpy(item->pszText, n.text.data(), len);
        item->pszText[len] = 0;
    }
    if (item->mask & TVIF_PARAM)
        item->lParam = n.param;
    if (item->mask & TVIF_STATE)
        item->state = n.state & item->stateMask;
    if (item->mask & TVIF_CHILDREN)
        item->cChildren = HasButton((Id)item->hItem) ? 1 : 0;
    if (item->mask & TVIF_IMAGE)
        item->iImage = n.image;
    if (item->mask & TVIF_SELECTEDIMAGE)
        item->iSelectedImage = n.selectedImage;
    return TRUE;
}

BOOL TreeView::SetItem(const TVITEM* item) {
    if (!item || !Valid((Id)item->hItem))
        return FALSE;
    Node& n = m_nodes[(Id)item->hItem];
    if ((item->mask & TVIF_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACK)
        n.text = item->pszText;
    if (item->mask & TVIF_PARAM)
        n.param = item->lParam;
    if (item->mask & TVIF_CHILDREN)
        n.hasChildren = item->cChildren != 0;
    if (item->mask & TVIF_IMAGE)
        n.image = item->iImage;
    if (item->mask & TVIF_SELECTEDIMAGE)
        n.selectedImage = item->iSelectedImage;
    if (item->mask & TVIF_STATE) {
        UINT mask = item->stateMask &
                    (TVIS_BOLD | TVIS_CUT | TVIS_EXPANDED | TVIS_EXPANDEDONCE | TVIS_STATEIMAGEMASK);
        // Only the bits in the mask change: an item opened before its children come stays open.
        n.state = (n.state & ~mask) | (item->state & mask);
    }
    Changed();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// Rows as shown.

const std::vector<Id>& TreeView::Visible() {
    if (!m_visibleDirty)
        return m_visible;
    m_visibleDirty = false;
    m_visible.clear();
    m_rowOf.clear();
    std::vector<Id> stack(m_nodes[0].children.rbegin(), m_nodes[0].children.rend());
    while (!stack.empty()) {
        Id id = stack.back();
        stack.pop_back();
        m_rowOf[id] = (int)m_visible.size();
        m_visible.push_back(id);
        const Node& n = m_nodes[id];
        if (n.state & TVIS_EXPANDED)
            stack.insert(stack.end(), n.children.rbegin(), n.children.rend());
    }
    return m_visible;
}

int TreeView::RowOf(Id id) {
    Visible();
    auto it = m_rowOf.find(id);
    return it == m_rowOf.end() ? -1 : it->second;
}

void TreeView::Changed() {
    m_visibleDirty = true;
    Layout();
    InvalidateRect(m_h, nullptr, TRUE);
}

void TreeView::Measure() {
    if (m_measured)
        return;
    // A window whose top-level has no surface yet (one made while its frame is being created) has no
    // DC: a memory DC gives the font's metrics as well.
    HDC windowDc = GetDC(m_h);
    HDC dc = windowDc ? windowDc : CreateCompatibleDC(nullptr);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, m_font ? (HGDIOBJ)m_font : GetStockObject(SYSTEM_FONT));
    TEXTMETRIC tm{};
    BOOL measured = GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    if (windowDc)
        ReleaseDC(m_h, windowDc);
    else
        DeleteDC(dc);
    if (!measured)
        return;
    m_measured = true;
    m_rowHeight = std::max<int>(tm.tmHeight + 3, 16);
}

int TreeView::PerPage() {
    return std::max(1, (int)(m_area.bottom - m_area.top) / m_rowHeight);
}

void TreeView::Layout() {
    Measure();
    RECT rc;
    GetClientRect(m_h, &rc);
    int count = (int)Visible().size();
    int sb = GetSystemMetrics(SM_CXVSCROLL);
    bool needV = (long long)count * m_rowHeight > rc.bottom;
    m_area = RECT{0, 0, std::max<LONG>(0, rc.right - (needV ? sb : 0)), rc.bottom};
    int perPage = PerPage();
    m_top = std::clamp(m_top, 0, std::max(0, count - perPage));
    if (!m_vbar)
        return;
    if (needV) {
        SetWindowPos(m_vbar, nullptr, rc.right - sb, 0, sb, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        SCROLLINFO si{sizeof si, SIF_ALL, 0, std::max(0, count - 1), (UINT)perPage, m_top, m_top};
        SetScrollInfo(m_vbar, SB_CTL, &si, TRUE);
    }
    if (needV != m_vbarShown) {
        ShowWindow(m_vbar, needV ? SW_SHOWNA : SW_HIDE);
        m_vbarShown = needV;
    }
}

void TreeView::SetTop(int top) {
    Layout();
    int count = (int)Visible().size();
    top = std::clamp(top, 0, std::max(0, count - PerPage()));
    if (top == m_top)
        return;
    m_top = top;
    if (m_vbarShown) {
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, m_top, 0};
        SetScrollInfo(m_vbar, SB_CTL, &si, TRUE);
    }
    if (m_edit)
        EndEdit(true);  // the label moved from under it
    InvalidateRect(m_h, &m_area, TRUE);
}

bool TreeView::EnsureVisible(Id id) {
    if (!Valid(id))
        return false;
    // Its ancestors open first.
    std::vector<Id> path;
    for (Id p = m_nodes[id].parent; p != 0; p = m_nodes[p].parent)
        path.push_back(p);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        if (Valid(*it) && !(m_nodes[*it].state & TVIS_EXPANDED))
            Expand(*it, TVE_EXPAND, false);
    int row = RowOf(id);
    if (row < 0)
        return false;
    Layout();
    if (row < m_top)
        SetTop(row);
    else if (row >= m_top + PerPage())
        SetTop(row - PerPage() + 1);
    return true;
}

int TreeView::ItemLeft(Id id) {
    bool atRoot = (Style() & (TVS_LINESATROOT)) && (Style() & (TVS_HASLINES | TVS_HASBUTTONS));
    return (Depth(id) + (atRoot ? 1 : 0)) * m_indent;
}

int TreeView::LabelWidth(Id id) {
    const std::string& text = m_nodes[id].text;
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, FontOf(id));
    SIZE size{0, 0};
    GetTextExtentPoint32(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return size.cx + 4;
}

int TreeView::StateIconWidth(Id id) const {
    int cx = 0, cy = 0;
    if (!m_stateImages || ((m_nodes.at(id).state & TVIS_STATEIMAGEMASK) >> 12) == 0 ||
        !ImageList_GetIconSize(m_stateImages, &cx, &cy))
        return 0;
    return cx;
}

int TreeView::IconWidth() const {
    int cx = 0, cy = 0;
    if (!m_normalImages || !ImageList_GetIconSize(m_normalImages, &cx, &cy))
        return 0;
    return cx + 3;
}

HGDIOBJ TreeView::FontOf(Id id) {
    HGDIOBJ normal = m_font ? (HGDIOBJ)m_font : GetStockObject(SYSTEM_FONT);
    if (!Valid(id) || !(m_nodes[id].state & TVIS_BOLD))
        return normal;
    if (!m_boldFont) {
        LOGFONT lf{};
        if (!GetObject(normal, sizeof lf, &lf))
            return normal;
        lf.lfWeight = FW_BOLD;
        m_boldFont = CreateFontIndirect(&lf);
    }
    return m_boldFont ? (HGDIOBJ)m_boldFont : normal;
}

bool TreeView::ItemRect(Id id, bool textOnly, RECT* out) {
    int row = Valid(id) ? RowOf(id) : -1;
    if (row < 0 || !out)
        return false;
    Layout();
    int y = m_area.top + (row - m_top) * m_rowHeight;
    if (textOnly) {
        int left = ItemLeft(id) + StateIconWidth(id) + IconWidth();
        *out = RECT{left, y, left + LabelWidth(id), y + m_rowHeight};
    } else {
        *out = RECT{0, y, m_area.right, y + m_rowHeight};
    }
    return true;
}

Id TreeView::HitTest(POINT p, UINT* flags) {
    Layout();
    RECT rc;
    GetClientRect(m_h, &rc);
    *flags = 0;
    if (p.y < 0)
        *flags |= TVHT_ABOVE;
    if (p.y >= rc.bottom)
        *flags |= TVHT_BELOW;
    if (p.x < 0)
        *flags |= TVHT_TOLEFT;
    if (p.x >= rc.right)
        *flags |= TVHT_TORIGHT;
    if (*flags)
        return 0;
    const auto& v = Visible();
    long long row = m_top + (p.y - m_area.top) / m_rowHeight;
    if (p.x >= m_area.right || row >= (long long)v.size()) {
        *flags = TVHT_NOWHERE;
        return 0;
    }
    Id id = v[(size_t)row];
    int left = ItemLeft(id);
    if (p.x < left) {
        bool button = (Style() & TVS_HASBUTTONS) && HasButton(id) && p.x >= left - m_indent &&
                      (Depth(id) > 0 || left >= m_indent);
        *flags = button ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    } else if (p.x < left + StateIconWidth(id)) {
        *flags = TVHT_ONITEMSTATEICON;
    } else if (p.x < left + StateIconWidth(id) + IconWidth()) {
        *flags = TVHT_ONITEMICON;
    } else {
        int label = left + StateIconWidth(id) + IconWidth();
        *flags = p.x < label + LabelWidth(id) ? TVHT_ONITEMLABEL : TVHT_ONITEMRIGHT;
    }
    return id;
}

// ---------------------------------------------------------------------------------------------------------
// Painting.

// Classic dotted lines: every other pixel.
void DotsH(HDC dc, int x0, int x1, int y, COLORREF c) {
    for (int x = x0 + ((x0 + y) & 1); x < x1; x += 2)
        SetPixel(dc, x, y, c);
}
void DotsV(HDC dc, int x, int y0, int y1, COLORREF c) {
    for (int y = y0 + ((x + y0) & 1); y < y1; y += 2)
        SetPixel(dc, x, y, c);
}

void TreeView::Paint(HDC dc) {
    Layout();
    HBRUSH own = m_bkColor == (COLORREF)-1 ? nullptr : CreateSolidBrush(m_bkColor);
    HBRUSH bk = own ? own : GetSysColorBrush(COLOR_WINDOW);
    FillRect(dc, &m_area, bk);
    HGDIOBJ oldFont = SelectObject(dc, m_font ? (HGDIOBJ)m_font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    DWORD style = Style();
    bool focused = GetFocus() == m_h;
    bool enabled = IsWindowEnabled(m_h) != FALSE;
    bool atRoot = (style & TVS_LINESATROOT) && (style & (TVS_HASLINES | TVS_HASBUTTONS));
    COLORREF lineColor = GetSysColor(COLOR_GRAYTEXT);
    const std::vector<Id> v = Visible();  // a copy: nothing here may change it, but stay safe
    int perPage = PerPage() + 1;
    for (int row = m_top; row < (int)v.size() && row < m_top + perPage; ++row) {
        Id id = v[(size_t)row];
        if (!Valid(id))
            continue;
        int y = m_area.top + (row - m_top) * m_rowHeight;
        int depth = Depth(id);
        int left = ItemLeft(id);
        int cy = y + m_rowHeight / 2;
        bool hasColumn = depth > 0 || atRoot;
        int cx = left - m_indent / 2 - 1;
        if ((style & TVS_HASLINES) && hasColumn) {
            // Its own branch, then the trunks of the ancestors that have siblings below.
            bool first = Sibling(id, -1) == 0 && depth == 0;
            DotsH(dc, cx, left, cy, lineColor);
            DotsV(dc, cx, first ? cy : y, Sibling(id, 1) ? y + m_rowHeight : cy + 1, lineColor);
            int ax = cx - m_indent;
            for (Id a = m_nodes[id].parent; a != 0 && (ax >= 0); a = m_nodes[a].parent, ax -= m_indent)
                if (Sibling(a, 1) && (Depth(a) > 0 || atRoot))
                    DotsV(dc, ax, y, y + m_rowHeight, lineColor);
        }
        if ((style & TVS_HASBUTTONS) && hasColumn && HasButton(id)) {
            RECT box{cx - 4, cy - 4, cx + 5, cy + 5};
            FillRect(dc, &box, bk);
            FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));
            HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
            RECT minus{cx - 2, cy, cx + 3, cy + 1};
            FillRect(dc, &minus, ink);
            if (!(m_nodes[id].state & TVIS_EXPANDED)) {
                RECT plus{cx, cy - 2, cx + 1, cy + 3};
                FillRect(dc, &plus, ink);
            }
        }
        bool selected = id == m_sel;
        int x = left;
        if (int sw = StateIconWidth(id)) {
            ImageList_Draw(m_stateImages, (int)((m_nodes[id].state & TVIS_STATEIMAGEMASK) >> 12), dc, x,
                           y + (m_rowHeight - 16) / 2, ILD_TRANSPARENT);
            x += sw;
        }
        if (int iw = IconWidth()) {
            int index = selected ? m_nodes[id].selectedImage : m_nodes[id].image;
            int cx = 0, cy = 0;
            ImageList_GetIconSize(m_normalImages, &cx, &cy);
            ImageList_Draw(m_normalImages, index, dc, x, y + (m_rowHeight - cy) / 2, ILD_TRANSPARENT);
            x += iw;
        }
        SelectObject(dc, FontOf(id));
        RECT label{x, y, x + LabelWidth(id), y + m_rowHeight};
        COLORREF text = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        if (selected && (focused || (style & TVS_SHOWSELALWAYS))) {
            FillRect(dc, &label, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_3DFACE));
            if (focused)
                text = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        SetTextColor(dc, text);
        RECT textRect{label.left + 2, label.top, label.right, label.bottom};
        DrawText(dc, m_nodes[id].text.c_str(), (int)m_nodes[id].text.size(), &textRect,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        if (selected && focused)
            DrawFocusRect(dc, &label);
        SelectObject(dc, m_font ? (HGDIOBJ)m_font : GetStockObject(SYSTEM_FONT));
    }
    SelectObject(dc, oldFont);
    if (own)
        DeleteObject(own);
}

// ---------------------------------------------------------------------------------------------------------
// Input.

void TreeView::OnButtonDown(UINT msg, POINT p) {
    if (GetFocus() != m_h)
        SetFocus(m_h);
    if (m_dead)
        return;
    UINT flags = 0;
    Id id = HitTest(p, &flags);
    if (msg == WM_RBUTTONDOWN) {
        Notify(NM_RCLICK);
        return;
    }
    if (!id)
        return;
    if (flags & TVHT_ONITEMBUTTON) {
        Expand(id, TVE_TOGGLE, true);
        return;
    }
    bool onItem = (flags & TVHT_ONITEM) || (Style() & TVS_FULLROWSELECT);
    if (!onItem)
        return;
    Select(id, TVC_BYMOUSE);
    if (m_dead)
        return;
    if (msg == WM_LBUTTONDOWN && !(Style() & TVS_DISABLEDRAGDROP) && Valid(id)) {
        m_dragItem = id;
        m_dragStart = p;
    }
    if (msg == WM_LBUTTONDBLCLK) {
        if (!Notify(NM_DBLCLK) && !m_dead && Valid(id))
            Expand(id, TVE_TOGGLE, true);
    } else {
        Notify(NM_CLICK);
    }
}

void TreeView::OnMouseMove(WPARAM keys, POINT p) {
    if (!m_dragItem)
        return;
    if (!(keys & MK_LBUTTON) || !Valid(m_dragItem)) {
        m_dragItem = 0;
        return;
    }
    if (std::abs(p.x - m_dragStart.x) < GetSystemMetrics(SM_CXDRAG) &&
        std::abs(p.y - m_dragStart.y) < GetSystemMetrics(SM_CYDRAG))
        return;
    Id item = m_dragItem;
    m_dragItem = 0;
    NotifyTree(TVN_BEGINDRAG, 0, 0, item);
}

void TreeView::OnKeyDown(UINT vk) {
    NMTVKEYDOWN kd{};
    kd.wVKey = (WORD)vk;
    Notify(&kd.hdr, TVN_KEYDOWN);
    if (m_dead)
        return;
    const std::vector<Id> v = Visible();
    if (v.empty())
        return;
    int row = Valid(m_sel) ? RowOf(m_sel) : -1;
    int perPage = PerPage();
    auto go = [&](int to) { Select(v[(size_t)std::clamp(to, 0, (int)v.size() - 1)], TVC_BYKEYBOARD); };
    if (row < 0) {
        if (vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT)
            go(vk == VK_END ? (int)v.size() - 1 : m_top);
        return;
    }
    Id sel = m_sel;
    switch (vk) {
        case VK_UP:
            go(row - 1);
            break;
        case VK_DOWN:
            go(row + 1);
            break;
        case VK_PRIOR:
            go(row - std::max(1, perPage - 1));
            break;
        case VK_NEXT:
            go(row + std::max(1, perPage - 1));
            break;
        case VK_HOME:
            go(0);
            break;
        case VK_END:
            go((int)v.size() - 1);
            break;
        case VK_LEFT:
            if (m_nodes[sel].state & TVIS_EXPANDED)
                Expand(sel, TVE_COLLAPSE, true);
            else if (m_nodes[sel].parent)
                Select(m_nodes[sel].parent, TVC_BYKEYBOARD);
            break;
        case VK_RIGHT:
            if (!HasButton(sel))
                break;
            if (!(m_nodes[sel].state & TVIS_EXPANDED))
                Expand(sel, TVE_EXPAND, true);
            else if (!m_nodes[sel].children.empty())
                Select(m_nodes[sel].children.front(), TVC_BYKEYBOARD);
            break;
        case 0x6B:  // VK_ADD
            Expand(sel, TVE_EXPAND, true);
            break;
        case 0x6D:  // VK_SUBTRACT
            Expand(sel, TVE_COLLAPSE, true);
            break;
        case VK_RETURN: {
            Notify(NM_RETURN);
            break;
        }
        case VK_F2:
            if (Style() & TVS_EDITLABELS)
                EditLabel(sel);
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Label editing.

HWND TreeView::EditLabel(Id id) {
    if (m_edit)
        EndEdit(true);
    if (!Valid(id) || m_dead)
        return nullptr;
    EnsureVisible(id);
    NMTVDISPINFO di{};
    FillItem(di.item, id);
    std::string text = m_nodes[id].text;
    di.item.mask |= TVIF_TEXT;
    di.item.pszText = text.data();
    di.item.cchTextMax = (int)text.size() + 1;
    if (Notify(&di.hdr, TVN_BEGINLABELEDIT) || m_dead || !Valid(id))
        return nullptr;
    RECT label{};
    if (!ItemRect(id, true, &label))
        return nullptr;
    label.right = std::max<LONG>(label.right + 8, label.left + 40);
    HWND e = OpenLabelEdit(label, m_nodes[id].text);
    if (!e)
        return nullptr;
    m_edit = e;
    m_editItem = id;
    return e;
}

void TreeView::EndEdit(bool commit) {
    HWND e = m_edit;
    if (!e)
        return;
    m_edit = nullptr;
    Id id = m_editItem;
    m_editItem = 0;
    std::string text = CloseLabelEdit(e);
    if (!Valid(id) || m_dead)
        return;
    NMTVDISPINFO di{};
    FillItem(di.item, id);
    di.item.mask |= TVIF_TEXT;
    di.item.pszText = commit ? text.data() : nullptr;
    di.item.cchTextMax = commit ? (int)text.size() + 1 : 0;
    LRESULT accepted = Notify(&di.hdr, TVN_ENDLABELEDIT);
    if (commit && accepted && !m_dead && Valid(id)) {
        m_nodes[id].text = text;
        Changed();
    }
    if (!m_dead)
        InvalidateRect(m_h, nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------------------
// Messages.

LRESULT TreeView::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            m_vbar = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_h, nullptr,
                                    nullptr, nullptr);
            Changed();
            return 0;
        case WM_DESTROY:
            EndEdit(false);
            Delete(0);
            return 0;
        case WM_SETFONT:
            m_font = (HFONT)wParam;
            if (m_boldFont) {
                DeleteObject(m_boldFont);
                m_boldFont = nullptr;
            }
            m_measured = false;
            Changed();
            return 0;
        case WM_GETFONT:
            return (LRESULT)m_font;
        case WM_SIZE:
        case WM_STYLECHANGED:
            Changed();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills every pixel
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            InvalidateRect(m_h, nullptr, TRUE);
            Notify(msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
            return 0;
        }
        case WM_KEYDOWN:
            OnKeyDown((UINT)wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
            OnButtonDown(msg, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            m_dragItem = 0;
            return 0;
        case WM_MOUSEWHEEL:
            SetTop(m_top - (short)HIWORD(wParam) / 120 * 3);
            return 0;
        case WM_VSCROLL: {
            int top = 0;
            if (ScrollTarget(LOWORD(wParam), m_top, 1, PerPage(), (int)Visible().size(), m_vbar, top))
                SetTop(top);
            return 0;
        }
        case TVM_INSERTITEM:
            return (LRESULT)Insert(reinterpret_cast<const TVINSERTSTRUCT*>(lParam));
        case TVM_DELETEITEM: {
            HTREEITEM h = (HTREEITEM)lParam;
            if (!h || h == TVI_ROOT) {
                Delete(0);
                return TRUE;
            }
            Id id = FromHandle(h);
            if (!id)
                return FALSE;
            Delete(id);
            return TRUE;
        }
        case TVM_EXPAND:
            return Expand(FromHandle((HTREEITEM)lParam), (UINT)wParam, false);
        case TVM_GETITEMRECT: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            if (!rc)
                return FALSE;
            HTREEITEM h;
            std::memcpy(&h, rc, sizeof h);
            return ItemRect(FromHandle(h), wParam != 0, rc);
        }
        case TVM_GETIMAGELIST:
            return (LRESULT)(wParam == TVSIL_STATE ? m_stateImages : wParam == TVSIL_NORMAL ? m_normalImages : nullptr);
        case TVM_SETIMAGELIST: {
            HIMAGELIST* slot = wParam == TVSIL_STATE ? &m_stateImages : wParam == TVSIL_NORMAL ? &m_normalImages : nullptr;
            if (!slot)
                return 0;
            HIMAGELIST old = *slot;
            *slot = (HIMAGELIST)lParam;
            Changed();
            return (LRESULT)old;
        }
        case TVM_SETBKCOLOR: {
            COLORREF old = m_bkColor;
            m_bkColor = (COLORREF)lParam;
            InvalidateRect(m_h, nullptr, TRUE);
            return (LRESULT)old;
        }
        case TVM_GETBKCOLOR:
            return (LRESULT)m_bkColor;
        case TVM_GETCOUNT:
            return (LRESULT)m_nodes.size() - 1;
        case TVM_GETINDENT:
            return m_indent;
        case TVM_SETINDENT:
            m_indent = std::max(kMinIndent, (int)wParam);
            Changed();
            return 0;
        case TVM_GETNEXTITEM: {
            HTREEITEM h = (HTREEITEM)lParam;
            return (LRESULT)Next((UINT)wParam, h == TVI_ROOT ? 0 : (Id)h);
        }
        case TVM_SELECTITEM: {
            Id id = FromHandle((HTREEITEM)lParam);
            if (lParam && !id)
                return FALSE;
            switch (wParam) {
                case TVGN_CARET:
                    return Select(id, TVC_UNKNOWN);
                case TVGN_FIRSTVISIBLE:
                    if (!EnsureVisible(id))
                        return FALSE;
                    SetTop(RowOf(id));
                    return TRUE;
                case TVGN_DROPHILITE:
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        case TVM_GETITEM:
            return GetItem(reinterpret_cast<TVITEM*>(lParam));
        case TVM_SETITEM:
            return SetItem(reinterpret_cast<const TVITEM*>(lParam));
        case TVM_GETVISIBLECOUNT:
            Layout();
            return (m_area.bottom - m_area.top) / m_rowHeight;
        case TVM_HITTEST: {
            auto* ht = reinterpret_cast<TVHITTESTINFO*>(lParam);
            if (!ht)
                return 0;
            ht->hItem = (HTREEITEM)HitTest(ht->pt, &ht->flags);
            return (LRESULT)ht->hItem;
        }
        case TVM_ENSUREVISIBLE:
            return EnsureVisible(FromHandle((HTREEITEM)lParam));
        case TVM_GETITEMHEIGHT:
            Measure();
            return m_rowHeight;
        case TVM_EDITLABEL:
            return (LRESULT)EditLabel(FromHandle((HTREEITEM)lParam));
        case TVM_GETEDITCONTROL:
            return (LRESULT)m_edit;
        case TVM_ENDEDITLABELNOW: {
            bool editing = m_edit != nullptr;
            EndEdit(wParam == 0);
            return editing;
        }
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterTreeViewClass() {
    RegisterControlClass(WC_TREEVIEW, user::ControlWindowProc<TreeView>, CS_DBLCLKS);
}
