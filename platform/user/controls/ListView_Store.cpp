// The list view's rows, cells, columns and states: the store and the notifications of its changes.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {
namespace {
size_t PutVarint(char* p, uint32_t v) {
    size_t n = 0;
    while (v >= 0x80) {
        p[n++] = (char)((v & 0x7F) | 0x80);
        v >>= 7;
    }
    p[n++] = (char)v;
    return n;
}

uint32_t GetVarint(const char*& p) {
    uint32_t v = 0;
    for (int shift = 0;; shift += 7) {
        auto b = (unsigned char)*p++;
        v |= (uint32_t)(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
    }
}
}  // namespace

CellRef CellOf(const Row& r, int sub) {
    if (sub < 0 || sub >= r.count)
        return {};
    const char* p = r.cells;
    for (int c = 0;; ++c) {
        uint32_t n = GetVarint(p);
        uint32_t len = n ? n - 1 : 0;
        if (c == sub)
            return CellRef{n == 0, std::string_view(p, len)};
        p += len;
    }
}

bool SetCell(Row& r, int sub, LPCTSTR text) {
    if (sub < 0 || sub > 0xFFFE)
        return false;
    bool callback = text == LPSTR_TEXTCALLBACK;
    std::string_view value = callback || !text ? std::string_view() : std::string_view(text);
    if (value.size() > 0x3FFFFFFF)
        return false;
    int cells = std::max<int>(r.count, sub + 1);
    std::string block;
    block.reserve(r.size + value.size() + 8);
    char len[5];
    for (int c = 0; c < cells; ++c) {
        CellRef old = CellOf(r, c);
        bool cb = c == sub ? callback : old.callback;
        std::string_view t = c == sub ? value : old.text;
        block.append(len, PutVarint(len, cb ? 0 : (uint32_t)t.size() + 1));
        block.append(t);
    }
    char* p = static_cast<char*>(std::malloc(block.size() ? block.size() : 1));
    if (!p)
        return false;
    std::memcpy(p, block.data(), block.size());
    std::free(r.cells);
    r.cells = p;
    r.size = (uint32_t)block.size();
    r.count = (uint16_t)cells;
    return true;
}

ListView::~ListView() {
    for (Row& r : m_rows)
        std::free(r.cells);
}

LRESULT ListView::NotifyItem(UINT code, int item, int sub, UINT newState, UINT oldState, UINT changed,
                             POINT pt, LPARAM lParam) {
    NMITEMACTIVATE nm{};
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = pt;
    nm.lParam = lParam;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        nm.uKeyFlags |= 0x0004;  // LVKF_SHIFT
    if (GetKeyState(VK_CONTROL) & 0x8000)
        nm.uKeyFlags |= 0x0002;  // LVKF_CONTROL
    return Notify(&nm.hdr, code);
}

// ---------------------------------------------------------------------------------------------------------
// Items as shown.

std::string_view ListView::Text(int item, int sub, char* buf) {
    if (!Valid(item))
        return {};
    if (!OwnerData()) {
        CellRef c = CellOf(m_rows[(size_t)item], sub);
        if (!c.callback)
            return c.text;
    }
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = item;
    di.item.iSubItem = sub;
    di.item.pszText = buf;
    di.item.cchTextMax = kTextBuffer;
    di.item.lParam = Param(item);
    buf[0] = 0;
    Notify(&di.hdr, LVN_GETDISPINFO);
    if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACK)
        return {};
    if (di.item.pszText == buf)
        buf[kTextBuffer - 1] = 0;
    return std::string_view(di.item.pszText);
}

UINT ListView::State(int item, UINT mask) {
    if (!Valid(item))
        return 0;
    UINT state;
    if (OwnerData())
        state = (m_odSelected.count(item) ? LVIS_SELECTED : 0) | (m_focus == item ? LVIS_FOCUSED : 0);
    else
        state = m_rows[(size_t)item].state;
    if (UINT ask = m_callbackMask & mask) {
        NMLVDISPINFO di{};
        di.item.mask = LVIF_STATE;
        di.item.iItem = item;
        di.item.stateMask = ask;
        di.item.lParam = Param(item);
        Notify(&di.hdr, LVN_GETDISPINFO);
        state = (state & ~ask) | (di.item.state & ask);
    }
    return state & mask;
}

// One row's state, with LVN_ITEMCHANGING before and LVN_ITEMCHANGED after a change.
bool ListView::SetOneState(int item, UINT state, UINT mask) {
    UINT old = State(item, 0xFFFF);
    UINT next = (old & ~mask) | (state & mask);
    if (next == old)
        return true;
    POINT none{0, 0};
    if (NotifyItem(LVN_ITEMCHANGING, item, 0, next, old, LVIF_STATE, none, Param(item)))
        return false;
    if ((next & LVIS_FOCUSED) && m_focus != item && Valid(m_focus))
        SetOneState(m_focus, 0, LVIS_FOCUSED);
    if (OwnerData()) {
        if ((mask & LVIS_SELECTED) && !(m_callbackMask & LVIS_SELECTED)) {
            if (next & LVIS_SELECTED)
                m_odSelected.insert(item);
            else
                m_odSelected.erase(item);
        }
    } else {
        Row& r = m_rows[(size_t)item];
        if ((r.state ^ next) & LVIS_SELECTED)
            m_selected += (next & LVIS_SELECTED) ? 1 : -1;
        r.state = next & ~(m_callbackMask);
        r.state |= next & LVIS_FOCUSED & m_callbackMask;  // focus is always known here as well
    }
    if (next & LVIS_FOCUSED)
        m_focus = item;
    else if (m_focus == item && (mask & LVIS_FOCUSED))
        m_focus = -1;
    InvalidateItem(item);
    NotifyItem(LVN_ITEMCHANGED, item, 0, next, old, LVIF_STATE, none, Param(item));
    return true;
}

bool ListView::SetState(int item, UINT state, UINT mask) {
    if (item >= 0) {
        if (!Valid(item))
            return false;
        if ((state & mask & LVIS_SELECTED) && (Style() & LVS_SINGLESEL))
            DeselectAllBut(item);
        return SetOneState(item, state, mask);
    }
    // Every row. An owner-data list tells its owner once, with item -1.
    if (OwnerData()) {
        if (mask & LVIS_SELECTED) {
            if (state & LVIS_SELECTED)
                return false;  // selecting every row of a virtual list is not offered
            m_odSelected.clear();
        }
        if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED))
            m_focus = -1;
        Invalidate();
        NotifyItem(LVN_ITEMCHANGED, -1, 0, state & mask, mask, LVIF_STATE);
        return true;
    }
    bool onlyClearSelection = (mask & ~(UINT)LVIS_SELECTED) == 0 && !(state & LVIS_SELECTED);
    if (onlyClearSelection && m_selected == 0 && !(m_callbackMask & LVIS_SELECTED))
        return true;
    for (int i = 0; i < Count(); ++i)
        SetOneState(i, state, mask);
    return true;
}

void ListView::DeselectAllBut(int keep) {
    if (!OwnerData() &&
        (m_selected == 0 || (m_selected == 1 && Valid(keep) && (m_rows[(size_t)keep].state & LVIS_SELECTED))))
        return;
    DeselectOutside(keep, keep);
}

void ListView::DeselectOutside(int first, int last) {
    auto outside = [first, last](int i) { return i < first || i > last; };
    if (OwnerData()) {
        if (m_callbackMask & LVIS_SELECTED) {
            Invalidate();
            NotifyItem(LVN_ITEMCHANGED, -1, 0, 0, LVIS_SELECTED, LVIF_STATE);
            return;
        }
        std::vector<int> drop;
        for (int i : m_odSelected)
            if (outside(i))
                drop.push_back(i);
        for (int i : drop)
            SetOneState(i, 0, LVIS_SELECTED);
        return;
    }
    for (int i = 0; i < Count() && m_selected > 0; ++i)
        if (outside(i) && (m_rows[(size_t)i].state & LVIS_SELECTED))
            SetOneState(i, 0, LVIS_SELECTED);
}

int ListView::SelectedCount() {
    if (OwnerData() && !(m_callbackMask & LVIS_SELECTED))
        return (int)m_odSelected.size();
    if (!OwnerData() && !(m_callbackMask & LVIS_SELECTED))
        return m_selected;
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (State(i, LVIS_SELECTED))
            ++n;
    return n;
}

int ListView::NextItem(int start, UINT flags) {
    int n = Count();
    if (flags & LVNI_ABOVE)
        return start > 0 ? start - 1 : -1;
    if (flags & LVNI_BELOW)
        return start + 1 < n ? start + 1 : -1;
    if (flags & (LVNI_TOLEFT | LVNI_TORIGHT))
        return -1;
    UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    int from = std::max(start + 1, 0);
    if (want == 0)
        return from < n ? from : -1;
    if (want == LVNI_FOCUSED)
        return m_focus >= from && m_focus < n ? m_focus : -1;
    if (want == LVNI_SELECTED && OwnerData() && !(m_callbackMask & LVIS_SELECTED)) {
        auto it = m_odSelected.lower_bound(from);
        return it == m_odSelected.end() || *it >= n ? -1 : *it;
    }
    if (want == LVNI_SELECTED && !OwnerData() && !(m_callbackMask & LVIS_SELECTED) && m_selected == 0)
        return -1;
    UINT mask = 0;
    if (want & LVNI_FOCUSED)
        mask |= LVIS_FOCUSED;
    if (want & LVNI_SELECTED)
        mask |= LVIS_SELECTED;
    if (want & LVNI_CUT)
        mask |= LVIS_CUT;
    if (want & LVNI_DROPHILITED)
        mask |= LVIS_DROPHILITED;
    for (int i = from; i < n; ++i)
        if (State(i, mask) == mask)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------------------------------------
// Columns and rows.

int ListView::InsertColumn(int at, const LVCOLUMN& lc) {
    if (at < 0)
        return -1;
    at = std::min(at, (int)m_cols.size());
    Column c;
    if ((lc.mask & LVCF_TEXT) && lc.pszText && lc.pszText != LPSTR_TEXTCALLBACK)
        c.text = lc.pszText;
    if (lc.mask & LVCF_WIDTH)
        c.width = std::max(0, lc.cx);
    if (lc.mask & LVCF_FMT)
        c.fmt = lc.fmt;
    c.subItem = (lc.mask & LVCF_SUBITEM) ? lc.iSubItem : at;
    if (lc.mask & LVCF_IMAGE)
        c.image = lc.iImage;
    m_cols.insert(m_cols.begin() + at, std::move(c));
    const Column& added = m_cols[(size_t)at];
    HDITEM hi{};
    hi.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    hi.pszText = const_cast<LPTSTR>(added.text.c_str());
    hi.cxy = added.width;
    hi.fmt = (added.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
    if (m_header)
        SendMessage(m_header, HDM_INSERTITEM, (WPARAM)at, (LPARAM)&hi);
    Invalidate();
    return at;
}

bool ListView::DeleteColumn(int col) {
    if (col < 0 || col >= (int)m_cols.size())
        return false;
    m_cols.erase(m_cols.begin() + col);
    if (m_header)
        SendMessage(m_header, HDM_DELETEITEM, (WPARAM)col, 0);
    Invalidate();
    return true;
}

int ListView::InsertItem(const LVITEM& li) {
    if (OwnerData() || li.iItem < 0 || li.iSubItem != 0)
        return -1;
    int at = std::min(li.iItem, Count());
    Row r;
    if (!SetCell(r, 0, (li.mask & LVIF_TEXT) ? li.pszText : ""))
        return -1;
    if (li.mask & LVIF_IMAGE)
        r.image = li.iImage;
    if (li.mask & LVIF_PARAM)
        r.lParam = li.lParam;
    UINT state = (li.mask & LVIF_STATE) ? (li.state & li.stateMask) : 0;
    r.state = state & ~LVIS_FOCUSED;
    if (CheckBoxes() && !(r.state & LVIS_STATEIMAGEMASK))
        r.state |= INDEXTOSTATEIMAGEMASK(1);
    if (r.state & LVIS_SELECTED)
        ++m_selected;
    m_rows.insert(m_rows.begin() + at, r);
    if (m_focus >= at)
        ++m_focus;
    if (m_mark >= at)
        ++m_mark;
    if (m_editItem >= at)
        ++m_editItem;
    if (state & LVIS_FOCUSED)
        SetOneState(at, LVIS_FOCUSED, LVIS_FOCUSED);
    NotifyItem(LVN_INSERTITEM, at, 0, 0, 0, 0, POINT{0, 0}, r.lParam);
    Invalidate();
    return at;
}

bool ListView::DeleteItem(int item) {
    if (!Valid(item))
        return false;
    if (m_edit && m_editItem == item)
        EndEdit(false);
    if (OwnerData()) {
        SetCount(m_count - 1, 0);
        return true;
    }
    NotifyItem(LVN_DELETEITEM, item, 0, 0, 0, 0, POINT{0, 0}, m_rows[(size_t)item].lParam);
    if (!Valid(item))
        return false;  // the owner changed the list meanwhile
    Row& r = m_rows[(size_t)item];
    if (r.state & LVIS_SELECTED)
        --m_selected;
    std::free(r.cells);
    m_rows.erase(m_rows.begin() + item);
    if (m_focus == item)
        m_focus = -1;
    else if (m_focus > item)
        --m_focus;
    if (m_mark == item)
        m_mark = -1;
    else if (m_mark > item)
        --m_mark;
    if (m_editItem > item)
        --m_editItem;
    Invalidate();
    return true;
}

bool ListView::DeleteAll(bool notify) {
    if (m_edit)
        EndEdit(false);
    if (OwnerData()) {
        m_count = 0;
        m_odSelected.clear();
    } else {
        bool each = notify && !m_rows.empty();
        if (each) {
            NMLISTVIEW nm{};
            nm.iItem = -1;
            each = !Notify(&nm.hdr, LVN_DELETEALLITEMS);
        }
        if (each)
            for (size_t i = 0; i < m_rows.size(); ++i)
                NotifyItem(LVN_DELETEITEM, (int)i, 0, 0, 0, 0, POINT{0, 0}, m_rows[i].lParam);
        for (Row& r : m_rows)
            std::free(r.cells);
        std::vector<Row>().swap(m_rows);
        m_selected = 0;
    }
    m_focus = m_mark = -1;
    m_top = 0;
    Invalidate();
    return true;
}

bool ListView::SetItem(const LVITEM& li) {
    if (!Valid(li.iItem))
        return false;
    if (OwnerData()) {
        if (li.mask & LVIF_STATE)
            return SetState(li.iItem, li.state, li.stateMask);
        return false;
    }
    Row& r = m_rows[(size_t)li.iItem];
    if ((li.mask & LVIF_TEXT) && !SetCell(r, li.iSubItem, li.pszText))
        return false;
    if (li.iSubItem == 0) {
        if (li.mask & LVIF_IMAGE)
            r.image = li.iImage;
        if (li.mask & LVIF_PARAM)
            r.lParam = li.lParam;
        if (li.mask & LVIF_STATE)
            SetState(li.iItem, li.state, li.stateMask);
    }
    InvalidateItem(li.iItem);
    return true;
}

bool ListView::GetItem(LVITEM& li) {
    if (!Valid(li.iItem))
        return false;
    if (li.mask & LVIF_TEXT) {
        char buf[kTextBuffer];
        std::string_view t = Text(li.iItem, li.iSubItem, buf);
        if (li.pszText && li.cchTextMax > 0) {
            size_t n = std::min(t.size(), (size_t)li.cchTextMax - 1);
            if (n)
                std::memmove(li.pszText, t.data(), n);
            li.pszText[n] = 0;
        }
    }
    if (li.mask & LVIF_STATE)
        li.state = State(li.iItem, li.stateMask);
    if (!OwnerData()) {
        const Row& r = m_rows[(size_t)li.iItem];
        if (li.mask & LVIF_IMAGE)
            li.iImage = r.image;
        if (li.mask & LVIF_PARAM)
            li.lParam = r.lParam;
    } else {
        if (li.mask & LVIF_IMAGE)
            li.iImage = 0;
        if (li.mask & LVIF_PARAM)
            li.lParam = 0;
    }
    return true;
}

void ListView::SetCount(int n, DWORD flags) {
    n = std::max(0, n);
    if (!OwnerData()) {
        m_rows.reserve((size_t)n);
        return;
    }
    if (n == m_count)
        return;
    int old = m_count;
    m_count = n;
    m_odSelected.erase(m_odSelected.lower_bound(n), m_odSelected.end());
    if (m_focus >= n)
        m_focus = -1;
    if (m_mark >= n)
        m_mark = -1;
    if (m_edit && m_editItem >= n)
        EndEdit(false);
    m_layoutDirty = true;
    // Rows added below the screen change only the scroll bar: no repaint of the rows.
    bool visibleChange = std::min(old, n) < m_top + PerPage() + 1;
    if (!(flags & LVSICF_NOINVALIDATEALL) || visibleChange)
        Invalidate();
    else if (m_vbarShown || n > PerPage())
        Layout();
}

bool ListView::Sort(PFNLVCOMPARE compare, LPARAM data) {
    if (OwnerData() || !compare)
        return false;
    if (m_edit)
        EndEdit(false);
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [&](const Row& a, const Row& b) { return compare(a.lParam, b.lParam, data) < 0; });
    m_focus = -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].state & LVIS_FOCUSED)
            m_focus = (int)i;
    Invalidate();
    return true;
}

bool ListView::SetColumnWidth(int col, int cx) {
    if (col < 0 || col >= (int)m_cols.size())
        return false;
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER)
        cx = AutosizeWidth(col, cx == LVSCW_AUTOSIZE_USEHEADER);
    if (cx < 0)
        return false;
    m_cols[(size_t)col].width = cx;
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = cx;
    if (m_header)
        SendMessage(m_header, HDM_SETITEM, (WPARAM)col, (LPARAM)&hi);
    Invalidate();
    return true;
}

bool ListView::GetColumn(int col, LVCOLUMN& lc) const {
    if (col < 0 || col >= (int)m_cols.size())
        return false;
    const Column& c = m_cols[(size_t)col];
    if (lc.mask & LVCF_FMT)
        lc.fmt = c.fmt;
    if (lc.mask & LVCF_WIDTH)
        lc.cx = c.width;
    if (lc.mask & LVCF_SUBITEM)
        lc.iSubItem = c.subItem;
    if (lc.mask & LVCF_IMAGE)
        lc.iImage = c.image;
    if (lc.mask & LVCF_ORDER)
        lc.iOrder = col;
    if ((lc.mask & LVCF_TEXT) && lc.pszText && lc.cchTextMax > 0) {
        size_t n = std::min(c.text.size(), (size_t)lc.cchTextMax - 1);
        c.text.copy(lc.pszText, n);
        lc.pszText[n] = 0;
    }
    return true;
}

bool ListView::SetColumn(int col, const LVCOLUMN& lc) {
    if (col < 0 || col >= (int)m_cols.size())
        return false;
    Column& c = m_cols[(size_t)col];
    HDITEM hi{};
    if ((lc.mask & LVCF_TEXT) && lc.pszText && lc.pszText != LPSTR_TEXTCALLBACK) {
        c.text = lc.pszText;
        hi.mask |= HDI_TEXT;
        hi.pszText = const_cast<LPTSTR>(c.text.c_str());
    }
    if (lc.mask & LVCF_FMT) {
        c.fmt = lc.fmt;
        hi.mask |= HDI_FORMAT;
        hi.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
    }
    if (lc.mask & LVCF_SUBITEM)
        c.subItem = lc.iSubItem;
    if (lc.mask & LVCF_IMAGE)
        c.image = lc.iImage;
    if (hi.mask && m_header)
        SendMessage(m_header, HDM_SETITEM, (WPARAM)col, (LPARAM)&hi);
    if (lc.mask & LVCF_WIDTH)
        SetColumnWidth(col, lc.cx);
    Invalidate();
    return true;
}

// LVM_GETITEMTEXT: the text's length, with an empty text for a row that is not there.
int ListView::GetItemText(int item, LVITEM& li) {
    if (!li.pszText || li.cchTextMax <= 0)
        return 0;
    li.iItem = item;
    li.mask = LVIF_TEXT;
    if (!GetItem(li)) {
        li.pszText[0] = 0;
        return 0;
    }
    return (int)std::strlen(li.pszText);
}
}  // namespace user::listview
