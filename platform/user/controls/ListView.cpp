// The "SysListView32" class in report mode: columns in a header control, rows of cells, selection and
// focus, custom draw and owner draw, label editing, keyboard and mouse, and scroll bar controls of its own.
//
// Rows are kept compactly: one 32-byte record per row and one heap block holding all its cells as
// (varint length, bytes) pairs. With LVS_OWNERDATA the control keeps no rows at all: it asks its parent for
// what it shows (LVN_GETDISPINFO). Painting and hit testing only ever look at the rows on screen.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/controls/ControlProc.h"
#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"

namespace {
constexpr int kTextBuffer = 260;         // what a display request offers the owner (as Windows does)
constexpr int kCellMargin = 6;           // text inset from a cell's edges
constexpr int kHScrollStep = 30;         // pixels per horizontal line scroll
constexpr UINT_PTR kEditTimer = 0x4C56;  // the delayed label edit after a click on the focused row
constexpr UINT kEditDelay = 500;
constexpr int kAutosizeAllRowsLimit = 50000;  // beyond this, autosize measures the rows on screen only
constexpr const char* kEditListProp = "SysListView32.List";

// ---------------------------------------------------------------------------------------------------------
// Cell blocks.

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

// A cell is stored as varint(length + 1) and its bytes; varint 0 marks a text the owner supplies.
struct CellRef {
    bool callback = false;
    std::string_view text;
};

struct Row {
    char* cells = nullptr;  // malloc'd block
    uint32_t size = 0;
    uint16_t count = 0;
    uint16_t pad = 0;
    UINT state = 0;
    int image = 0;
    LPARAM lParam = 0;
};
static_assert(sizeof(Row) <= 32, "rows stay compact");

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

struct Column {
    std::string text;
    int width = 0;
    int fmt = LVCFMT_LEFT;
    int subItem = 0;
    int image = 0;
};

// ---------------------------------------------------------------------------------------------------------
// The control.

class ListView {
public:
    explicit ListView(HWND h) : m_h(h) {}
    // Kept alive through a destroy inside one of its own messages (see ControlWindowProc).
    int m_depth = 0;
    bool m_dead = false;
    ~ListView() {
        for (Row& r : m_rows)
            std::free(r.cells);
    }
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    DWORD Style() const { return (DWORD)GetWindowLongPtr(m_h, GWL_STYLE); }
    bool OwnerData() const { return (Style() & LVS_OWNERDATA) != 0; }
    bool FullRow() const { return (m_exStyle & LVS_EX_FULLROWSELECT) != 0; }
    int Count() const { return OwnerData() ? m_count : (int)m_rows.size(); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    int TotalWidth() const {
        int w = 0;
        for (const Column& c : m_cols)
            w += c.width;
        return w;
    }
    HFONT Font() const { return m_font ? m_font : (HFONT)GetStockObject(DEFAULT_GUI_FONT); }

    LRESULT Notify(NMHDR* hdr, UINT code);
    LRESULT NotifyItem(UINT code, int item, int sub, UINT newState = 0, UINT oldState = 0, UINT changed = 0,
                       POINT pt = POINT{0, 0}, LPARAM lParam = 0);

    // Texts, states and data as shown (asking the owner where it keeps them).
    std::string_view Text(int item, int sub, char* buf);
    UINT State(int item, UINT mask);
    LPARAM Param(int item) const { return !OwnerData() && Valid(item) ? m_rows[(size_t)item].lParam : 0; }
    bool SetState(int item, UINT state, UINT mask);
    bool SetOneState(int item, UINT state, UINT mask);
    void DeselectAllBut(int keep);
    int SelectedCount();
    int NextItem(int start, UINT flags);

    // Layout and scrolling.
    void Measure();
    void Layout();
    RECT ItemsArea() {
        Layout();
        return m_area;
    }
    int PerPage() {
        Layout();
        return std::max(1, (int)(m_area.bottom - m_area.top) / m_rowHeight);
    }
    void SetTop(int top);
    void SetScrollX(int x);
    bool EnsureVisible(int item, bool partialOk);
    bool WholeInvalid();
    void Invalidate();
    void InvalidateItem(int item);
    RECT RowRect(int item);
    bool ItemRect(int item, int sub, UINT code, RECT* out);
    int HitTest(POINT p, UINT* flags, int* sub, bool anyColumn);

    // Painting.
    void EraseBackground(HDC dc);
    void PaintItems(HDC dc);
    void DrawRow(HDC dc, int item, int y, bool notifyItems, const RECT& clip);
    void Print(HDC dc, LPARAM flags);

    // Input.
    void OnButtonDown(UINT msg, WPARAM keys, POINT p);
    void OnKeyDown(UINT vk);
    void MoveFocus(int item, bool shift, bool ctrl);
    void OnScroll(bool vertical, int code, HWND bar);

    // Columns and rows.
    int InsertColumn(int at, const LVCOLUMN& col);
    bool DeleteColumn(int col);
    bool SetColumnWidth(int col, int cx);
    int InsertItem(const LVITEM& item);
    bool DeleteItem(int item);
    bool DeleteAll(bool notify);
    bool SetItem(const LVITEM& item);
    bool GetItem(LVITEM& item);
    void SetCount(int n, DWORD flags);
    bool Sort(PFNLVCOMPARE compare, LPARAM data);

    // Label editing.
    HWND EditLabel(int item);
    static LRESULT EditProc(HWND e, UINT msg, WPARAM wParam, LPARAM lParam);

public:
    void EndEdit(bool commit);

private:
    HWND m_h;
    HWND m_header = nullptr;
    HWND m_vbar = nullptr;
    HWND m_hbar = nullptr;
    HWND m_edit = nullptr;
    int m_editItem = -1;
    HFONT m_font = nullptr;
    std::vector<Column> m_cols;
    std::vector<Row> m_rows;
    int m_count = 0;             // owner data
    std::set<int> m_odSelected;  // owner data, when the owner does not keep the selection
    int m_selected = 0;          // selected rows (not owner data)
    int m_focus = -1;
    int m_mark = -1;
    DWORD m_exStyle = 0;
    COLORREF m_bk = GetSysColor(COLOR_WINDOW);
    COLORREF m_text = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF m_textBk = GetSysColor(COLOR_WINDOW);
    UINT m_callbackMask = 0;
    HANDLE m_imageLists[3] = {};
    int m_top = 0;
    int m_scrollX = 0;
    int m_rowHeight = 16;
    int m_ownerDrawHeight = 0;
    bool m_measured = false;
    bool m_metricsDirty = true;
    bool m_layoutDirty = true;
    bool m_paintPending = false;
    bool m_redraw = true;
    bool m_inLayout = false;
    RECT m_area{};
    RECT m_headerRect{};
    RECT m_vbarRect{};
    RECT m_hbarRect{};
    bool m_vbarShown = false;
    bool m_hbarShown = false;
    int m_dragItem = -1;
    POINT m_dragStart{};
    int m_editTimerItem = -1;
};

ListView* Get(HWND h) {
    return reinterpret_cast<ListView*>(GetWindowLongPtr(h, 0));
}

LRESULT ListView::Notify(NMHDR* hdr, UINT code) {
    HWND parent = GetParent(m_h);
    if (!parent)
        return 0;
    hdr->hwndFrom = m_h;
    hdr->idFrom = (UINT_PTR)GetDlgCtrlID(m_h);
    hdr->code = code;
    return SendMessage(parent, WM_NOTIFY, hdr->idFrom, (LPARAM)hdr);
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
    if (OwnerData()) {
        if (m_callbackMask & LVIS_SELECTED) {
            Invalidate();
            NotifyItem(LVN_ITEMCHANGED, -1, 0, 0, LVIS_SELECTED, LVIF_STATE);
            return;
        }
        std::vector<int> drop;
        for (int i : m_odSelected)
            if (i != keep)
                drop.push_back(i);
        for (int i : drop)
            SetOneState(i, 0, LVIS_SELECTED);
        return;
    }
    if (m_selected == 0 || (m_selected == 1 && Valid(keep) && (m_rows[(size_t)keep].state & LVIS_SELECTED)))
        return;
    for (int i = 0; i < Count() && m_selected > 0; ++i)
        if (i != keep && (m_rows[(size_t)i].state & LVIS_SELECTED))
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
// Layout.

void ListView::Measure() {
    if (!m_metricsDirty)
        return;
    m_metricsDirty = false;
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    int height = std::max<int>(tm.tmHeight + 3, 16);
    if ((Style() & LVS_OWNERDRAWFIXED) && !m_measured) {
        m_measured = true;
        HWND parent = GetParent(m_h);
        MEASUREITEMSTRUCT mi{ODT_LISTVIEW, (UINT)GetDlgCtrlID(m_h), 0, 0, (UINT)height, 0};
        if (parent)
            SendMessage(parent, WM_MEASUREITEM, mi.CtlID, (LPARAM)&mi);
        m_ownerDrawHeight = std::max<int>(1, (int)mi.itemHeight);
    }
    if (Style() & LVS_OWNERDRAWFIXED)
        height = m_ownerDrawHeight;
    else if (m_exStyle & LVS_EX_GRIDLINES)
        height += 1;
    m_rowHeight = height;
}

void ListView::Layout() {
    if (!m_layoutDirty || m_inLayout)
        return;
    m_inLayout = true;
    m_layoutDirty = false;
    Measure();
    RECT rc;
    GetClientRect(m_h, &rc);
    int headerHeight = 0;
    if (m_header && !(Style() & LVS_NOCOLUMNHEADER)) {
        RECT hr = rc;
        WINDOWPOS wp{};
        HDLAYOUT hl{&hr, &wp};
        SendMessage(m_header, HDM_LAYOUT, 0, (LPARAM)&hl);
        headerHeight = wp.cy;
    }
    int sb = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
    int total = TotalWidth();
    int count = Count();
    bool noScroll = (Style() & LVS_NOSCROLL) != 0;
    bool needV = false, needH = false;
    for (int pass = 0; pass < 2 && !noScroll; ++pass) {
        int availW = rc.right - (needV ? sb : 0);
        int availH = rc.bottom - headerHeight - (needH ? sbh : 0);
        needH = total > availW;
        needV = (long long)count * m_rowHeight > std::max(0, availH);
    }
    m_area = RECT{0, headerHeight, std::max<LONG>(0, rc.right - (needV ? sb : 0)),
                  std::max<LONG>(headerHeight, rc.bottom - (needH ? sbh : 0))};
    int perPage = std::max(1, (int)(m_area.bottom - m_area.top) / m_rowHeight);
    m_top = std::clamp(m_top, 0, std::max(0, count - perPage));
    int areaW = m_area.right - m_area.left;
    m_scrollX = std::clamp(m_scrollX, 0, std::max(0, total - areaW));

    auto place = [&](HWND w, RECT want, RECT& have, bool show, bool& shown) {
        if (!w)
            return;
        if (show && !EqualRect(&want, &have)) {
            SetWindowPos(w, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            have = want;
        }
        if (show != shown) {
            ShowWindow(w, show ? SW_SHOWNA : SW_HIDE);
            shown = show;
        }
    };
    bool headerShown = headerHeight > 0;
    bool headerVisible = IsWindowVisible(m_header) || !IsWindowVisible(m_h);
    RECT headerWant{-m_scrollX, 0, std::max<LONG>(total, m_area.right) + (m_vbarShown || needV ? sb : 0),
                    headerHeight};
    headerWant.right = std::max<LONG>(headerWant.right, rc.right);
    place(m_header, headerWant, m_headerRect, headerShown, headerVisible);
    place(m_vbar, RECT{rc.right - sb, headerHeight, rc.right, m_area.bottom}, m_vbarRect, needV, m_vbarShown);
    place(m_hbar, RECT{0, rc.bottom - sbh, m_area.right, rc.bottom}, m_hbarRect, needH, m_hbarShown);
    if (needV) {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, std::max(0, count - 1), (UINT)perPage, m_top, m_top};
        SetScrollInfo(m_vbar, SB_CTL, &si, TRUE);
    }
    if (needH) {
        SCROLLINFO si{sizeof si, SIF_ALL,  0, std::max(0, total - 1), (UINT)std::max(1, areaW),
                      m_scrollX, m_scrollX};
        SetScrollInfo(m_hbar, SB_CTL, &si, TRUE);
    }
    m_inLayout = false;
}

// Whether the whole client area already waits for a paint (so more invalidation adds nothing).
bool ListView::WholeInvalid() {
    if (!m_paintPending)
        return false;
    RECT u, c;
    GetClientRect(m_h, &c);
    if (GetUpdateRect(m_h, &u, FALSE) && u.left <= 0 && u.top <= 0 && u.right >= c.right &&
        u.bottom >= c.bottom)
        return true;
    m_paintPending = false;
    return false;
}

void ListView::Invalidate() {
    m_layoutDirty = true;
    if (!m_redraw || WholeInvalid())
        return;
    m_paintPending = true;
    InvalidateRect(m_h, nullptr, TRUE);
}

void ListView::InvalidateItem(int item) {
    if (!m_redraw || WholeInvalid())
        return;
    if (m_layoutDirty) {
        Invalidate();
        return;
    }
    if (item < m_top || item > m_top + PerPage())
        return;
    RECT r = RowRect(item);
    r.left = m_area.left;
    r.right = m_area.right;
    InvalidateRect(m_h, &r, TRUE);
}

void ListView::SetTop(int top) {
    Layout();
    int perPage = PerPage();
    top = std::clamp(top, 0, std::max(0, Count() - perPage));
    if (top == m_top)
        return;
    m_top = top;
    if (m_vbarShown) {
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, m_top, 0};
        SetScrollInfo(m_vbar, SB_CTL, &si, TRUE);
    }
    if (m_edit)
        EndEdit(true);
    if (m_redraw)
        InvalidateRect(m_h, &m_area, TRUE);
}

void ListView::SetScrollX(int x) {
    Layout();
    int areaW = m_area.right - m_area.left;
    x = std::clamp(x, 0, std::max(0, TotalWidth() - areaW));
    if (x == m_scrollX)
        return;
    m_scrollX = x;
    if (m_edit)
        EndEdit(true);
    Invalidate();
    m_layoutDirty = true;
    Layout();  // moves the header with the rows
}

bool ListView::EnsureVisible(int item, bool partialOk) {
    if (!Valid(item))
        return false;
    Layout();
    int perPage = PerPage();
    int areaH = m_area.bottom - m_area.top;
    if (item < m_top) {
        SetTop(item);
    } else if (item >= m_top + perPage) {
        // A row cut off at the bottom is visible enough when partialOk.
        bool partly = item == m_top + perPage && (long long)(item - m_top) * m_rowHeight < areaH;
        if (!(partialOk && partly))
            SetTop(item - perPage + 1);
    }
    return true;
}

RECT ListView::RowRect(int item) {
    Layout();
    int y = m_area.top + (item - m_top) * m_rowHeight;
    return RECT{-m_scrollX, y, TotalWidth() - m_scrollX, y + m_rowHeight};
}

bool ListView::ItemRect(int item, int sub, UINT code, RECT* out) {
    if (!Valid(item) || !out)
        return false;
    RECT row = RowRect(item);
    if (sub < 0 || sub >= std::max<int>(1, (int)m_cols.size()))
        return false;
    int left = row.left;
    for (int c = 0; c < sub; ++c)
        left += m_cols[(size_t)c].width;
    int width = m_cols.empty() ? 0 : m_cols[(size_t)sub].width;
    RECT cell{left, row.top, left + width, row.bottom};
    switch (code) {
        case LVIR_BOUNDS:
            *out = sub == 0 ? row : cell;
            return true;
        case LVIR_ICON:
            *out = RECT{cell.left, cell.top, cell.left, cell.bottom};
            return true;
        case LVIR_LABEL:
            *out = cell;
            return true;
        case LVIR_SELECTBOUNDS:
            *out = FullRow() ? row : cell;
            return true;
        default:
            return false;
    }
}

int ListView::HitTest(POINT p, UINT* flags, int* sub, bool anyColumn) {
    Layout();
    *flags = 0;
    *sub = -1;
    if (p.y < m_area.top)
        *flags |= LVHT_ABOVE;
    if (p.y >= m_area.bottom)
        *flags |= LVHT_BELOW;
    if (p.x < m_area.left)
        *flags |= LVHT_TOLEFT;
    if (p.x >= m_area.right)
        *flags |= LVHT_TORIGHT;
    if (*flags)
        return -1;
    long long row = m_top + (p.y - m_area.top) / m_rowHeight;
    int x = p.x + m_scrollX, left = 0, col = -1;
    for (int c = 0; c < (int)m_cols.size(); ++c) {
        if (x >= left && x < left + m_cols[(size_t)c].width) {
            col = c;
            break;
        }
        left += m_cols[(size_t)c].width;
    }
    if (row >= Count() || col < 0 || (col > 0 && !anyColumn && !FullRow())) {
        *flags = LVHT_NOWHERE;
        return -1;
    }
    *flags = LVHT_ONITEMLABEL;
    *sub = col;
    return (int)row;
}

// ---------------------------------------------------------------------------------------------------------
// Painting.

void ListView::EraseBackground(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (m_bk == CLR_NONE)
        return;
    HBRUSH b = CreateSolidBrush(m_bk);
    FillRect(dc, &rc, b);
    DeleteObject(b);
}

void ListView::DrawRow(HDC dc, int item, int y, bool notifyItems, const RECT& clip) {
    char buf[kTextBuffer];
    UINT state = State(item, LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED);
    bool focused = GetFocus() == m_h;
    bool showSelection = focused || (Style() & LVS_SHOWSELALWAYS);
    int gridline = (m_exStyle & LVS_EX_GRIDLINES) ? 1 : 0;
    RECT row{-m_scrollX, y, TotalWidth() - m_scrollX, y + m_rowHeight};

    if (Style() & LVS_OWNERDRAWFIXED) {
        HWND parent = GetParent(m_h);
        DRAWITEMSTRUCT dis{ODT_LISTVIEW, (UINT)GetDlgCtrlID(m_h), (UINT)item, ODA_DRAWENTIRE, 0, m_h, dc,
                           row,          (ULONG_PTR)Param(item)};
        if (state & LVIS_SELECTED)
            dis.itemState |= ODS_SELECTED;
        if ((state & LVIS_FOCUSED) && focused)
            dis.itemState |= ODS_FOCUS;
        if (parent)
            SendMessage(parent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
        return;
    }

    NMLVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = row;
    cd.nmcd.dwItemSpec = (DWORD_PTR)item;
    cd.nmcd.uItemState =
        ((state & LVIS_SELECTED) ? CDIS_SELECTED : 0) | ((state & LVIS_FOCUSED) ? CDIS_FOCUS : 0);
    cd.nmcd.lItemlParam = Param(item);
    cd.clrText = m_text;
    cd.clrTextBk = m_textBk;
    LRESULT itemResult = notifyItems ? Notify(&cd.nmcd.hdr, NM_CUSTOMDRAW) : CDRF_DODEFAULT;
    if (itemResult & CDRF_SKIPDEFAULT)
        return;
    if (!(itemResult & CDRF_NEWFONT))
        SelectObject(dc, Font());
    COLORREF itemText = cd.clrText, itemBk = cd.clrTextBk;
    UINT itemState = cd.nmcd.uItemState;

    int x = row.left;
    for (int c = 0; c < (int)m_cols.size(); ++c) {
        const Column& col = m_cols[(size_t)c];
        RECT cell{x, y, x + col.width, y + m_rowHeight};
        x += col.width;
        if (col.width <= 0 || cell.right <= clip.left || cell.left >= clip.right)
            continue;
        COLORREF text = itemText, bk = itemBk;
        if (itemResult & CDRF_NOTIFYSUBITEMDRAW) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
            cd.nmcd.rc = cell;
            cd.nmcd.uItemState = itemState;
            cd.iSubItem = c;
            cd.clrText = itemText;
            cd.clrTextBk = itemBk;
            LRESULT r = Notify(&cd.nmcd.hdr, NM_CUSTOMDRAW);
            if (r & CDRF_SKIPDEFAULT)
                continue;
            if (!(r & CDRF_NEWFONT))
                SelectObject(dc, Font());
            text = cd.clrText;
            bk = cd.clrTextBk;
        }
        bool selected = (itemState & CDIS_SELECTED) && showSelection && (c == 0 || FullRow());
        if (selected) {
            bk = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_3DFACE);
            text = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        }
        if (bk == CLR_NONE || bk == CLR_DEFAULT)
            bk = m_bk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_bk;
        if (text == CLR_DEFAULT)
            text = GetSysColor(COLOR_WINDOWTEXT);
        RECT fill{cell.left, cell.top, cell.right - gridline, cell.bottom - gridline};
        SetBkColor(dc, bk);
        ExtTextOut(dc, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
        std::string_view t = Text(item, col.subItem, buf);
        if (t.empty())
            continue;
        RECT tr{cell.left + kCellMargin, cell.top, cell.right - kCellMargin, cell.bottom - gridline};
        if (tr.right <= tr.left)
            continue;
        UINT align = (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? DT_RIGHT
                     : (col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER
                                                                       : DT_LEFT;
        SetTextColor(dc, text);
        SetBkMode(dc, TRANSPARENT);
        DrawText(dc, t.data(), (int)t.size(), &tr,
                 align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (itemResult & CDRF_NOTIFYPOSTPAINT) {
        cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
        cd.nmcd.rc = row;
        cd.iSubItem = 0;
        Notify(&cd.nmcd.hdr, NM_CUSTOMDRAW);
    }
}

void ListView::PaintItems(HDC dc) {
    Layout();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, m_area.left, m_area.top, m_area.right, m_area.bottom);
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION) {
        RestoreDC(dc, saved);
        return;
    }
    SelectObject(dc, Font());
    RECT client;
    GetClientRect(m_h, &client);
    bool ownerDraw = (Style() & LVS_OWNERDRAWFIXED) != 0;
    LRESULT pre = CDRF_DODEFAULT;
    NMLVCUSTOMDRAW cd{};
    if (!ownerDraw) {
        cd.nmcd.dwDrawStage = CDDS_PREPAINT;
        cd.nmcd.hdc = dc;
        cd.nmcd.rc = client;
        cd.clrText = m_text;
        cd.clrTextBk = m_textBk;
        pre = Notify(&cd.nmcd.hdr, NM_CUSTOMDRAW);
    }
    if (!(pre & CDRF_SKIPDEFAULT)) {
        int first = m_top + std::max(0, (int)(clip.top - m_area.top) / m_rowHeight);
        int last = std::min(Count() - 1, m_top + (int)(clip.bottom - 1 - m_area.top) / m_rowHeight);
        if (OwnerData() && first <= last) {
            NMLVCACHEHINT hint{};
            hint.iFrom = first;
            hint.iTo = last;
            Notify(&hint.hdr, LVN_ODCACHEHINT);
        }
        for (int i = first; i <= last; ++i)
            DrawRow(dc, i, m_area.top + (i - m_top) * m_rowHeight, (pre & CDRF_NOTIFYITEMDRAW) != 0, clip);
        if (m_exStyle & LVS_EX_GRIDLINES) {
            HBRUSH grid = GetSysColorBrush(COLOR_3DFACE);
            for (int y = m_area.top + m_rowHeight - 1; y < m_area.bottom; y += m_rowHeight) {
                if (y < clip.top - 1 || y > clip.bottom)
                    continue;
                RECT line{m_area.left, y, m_area.right, y + 1};
                FillRect(dc, &line, grid);
            }
            int x = -m_scrollX;
            for (const Column& c : m_cols) {
                x += c.width;
                RECT line{x - 1, m_area.top, x, m_area.bottom};
                if (x - 1 >= clip.left && x - 1 < clip.right)
                    FillRect(dc, &line, grid);
            }
        }
        if (GetFocus() == m_h && m_focus >= first && m_focus <= last && !ownerDraw) {
            RECT r = RowRect(m_focus);
            if (!FullRow() && !m_cols.empty())
                r.right = r.left + m_cols[0].width;
            r.bottom -= (m_exStyle & LVS_EX_GRIDLINES) ? 1 : 0;
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &r);
        }
        if (pre & CDRF_NOTIFYPOSTPAINT) {
            cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
            Notify(&cd.nmcd.hdr, NM_CUSTOMDRAW);
        }
    }
    RestoreDC(dc, saved);
}

void ListView::Print(HDC dc, LPARAM flags) {
    if (flags & PRF_ERASEBKGND)
        SendMessage(m_h, WM_ERASEBKGND, (WPARAM)dc, 0);
    if (flags & PRF_CLIENT)
        PaintItems(dc);
    if (flags & PRF_CHILDREN) {
        for (HWND child = GetWindow(m_h, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child))
                continue;
            RECT r;
            GetWindowRect(child, &r);
            POINT o{r.left, r.top};
            ScreenToClient(m_h, &o);
            int saved = SaveDC(dc);
            OffsetViewportOrgEx(dc, o.x, o.y, nullptr);
            IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
            SendMessage(child, WM_PRINT, (WPARAM)dc, flags);
            RestoreDC(dc, saved);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Input.

void ListView::MoveFocus(int item, bool shift, bool ctrl) {
    if (!Valid(item))
        return;
    if (ctrl) {
        SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (shift && !(Style() & LVS_SINGLESEL) && Valid(m_mark)) {
        int a = std::min(m_mark, item), b = std::max(m_mark, item);
        DeselectAllBut(-1);
        for (int i = a; i <= b; ++i)
            SetOneState(i, LVIS_SELECTED, LVIS_SELECTED);
        SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        DeselectAllBut(item);
        SetState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    }
    EnsureVisible(item, false);
}

void ListView::OnKeyDown(UINT vk) {
    NMLVKEYDOWN kd{};
    kd.wVKey = (WORD)vk;
    Notify(&kd.hdr, LVN_KEYDOWN);
    int n = Count();
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0, ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    int cur = m_focus;
    int perPage = PerPage();
    int next;
    switch (vk) {
        case VK_UP:
            next = cur < 0 ? 0 : cur - 1;
            break;
        case VK_DOWN:
            next = cur < 0 ? 0 : cur + 1;
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = n - 1;
            break;
        case VK_PRIOR:
            next = cur < 0 ? 0 : cur != m_top ? m_top : cur - perPage + 1;
            break;
        case VK_NEXT: {
            int bottom = m_top + perPage - 1;
            next = cur < 0 ? 0 : cur != bottom ? bottom : cur + perPage - 1;
            break;
        }
        case VK_LEFT:
            SetScrollX(m_scrollX - kHScrollStep);
            return;
        case VK_RIGHT:
            SetScrollX(m_scrollX + kHScrollStep);
            return;
        case VK_SPACE:
            if (Valid(cur)) {
                UINT sel = State(cur, LVIS_SELECTED);
                SetState(cur, ctrl ? (sel ^ LVIS_SELECTED) : LVIS_SELECTED, LVIS_SELECTED);
            }
            return;
        case VK_F2:
            if ((Style() & LVS_EDITLABELS) && Valid(cur))
                EditLabel(cur);
            return;
        case VK_RETURN: {
            NMHDR hdr{};
            Notify(&hdr, NM_RETURN);
            if (Valid(cur))
                NotifyItem(LVN_ITEMACTIVATE, cur, 0);
            return;
        }
        default:
            return;
    }
    if (n == 0)
        return;
    MoveFocus(std::clamp(next, 0, n - 1), shift, ctrl);
}

void ListView::OnButtonDown(UINT msg, WPARAM keys, POINT p) {
    if (m_edit)
        EndEdit(true);
    if (GetFocus() != m_h)
        SetFocus(m_h);
    KillTimer(m_h, kEditTimer);
    UINT flags;
    int sub;
    int item = HitTest(p, &flags, &sub, false);
    bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
    bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
    if (item < 0) {
        if (!shift && !ctrl && left)
            DeselectAllBut(-1);
        if (msg == WM_LBUTTONDOWN)
            NotifyItem(NM_CLICK, -1, -1, 0, 0, 0, p);
        if (msg == WM_LBUTTONDBLCLK)
            NotifyItem(NM_DBLCLK, -1, -1, 0, 0, 0, p);
        if (msg == WM_RBUTTONDOWN)
            NotifyItem(NM_RCLICK, -1, -1, 0, 0, 0, p);
        return;
    }
    UINT was = State(item, LVIS_SELECTED | LVIS_FOCUSED);
    bool onlySelection = SelectedCount() == 1;
    if (ctrl && left && !(Style() & LVS_SINGLESEL)) {
        SetState(item, (was & LVIS_SELECTED) ? LVIS_FOCUSED : (LVIS_SELECTED | LVIS_FOCUSED),
                 LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    } else if (shift && left) {
        MoveFocus(item, true, false);
    } else if (!(msg == WM_RBUTTONDOWN && (was & LVIS_SELECTED))) {
        DeselectAllBut(item);
        SetState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    }
    int subHit;
    UINT anyFlags;
    HitTest(p, &anyFlags, &subHit, true);
    switch (msg) {
        case WM_LBUTTONDOWN:
            m_dragItem = item;
            m_dragStart = p;
            SetCapture(m_h);
            if ((Style() & LVS_EDITLABELS) && was == (LVIS_SELECTED | LVIS_FOCUSED) && onlySelection &&
                subHit == 0 && !shift && !ctrl) {
                m_editTimerItem = item;
                SetTimer(m_h, kEditTimer, kEditDelay, nullptr);
            }
            NotifyItem(NM_CLICK, item, subHit, 0, 0, 0, p);
            if ((m_exStyle & LVS_EX_ONECLICKACTIVATE) ||
                ((m_exStyle & LVS_EX_TWOCLICKACTIVATE) && (was & LVIS_SELECTED)))
                NotifyItem(LVN_ITEMACTIVATE, item, subHit, 0, 0, 0, p);
            break;
        case WM_LBUTTONDBLCLK:
            NotifyItem(NM_DBLCLK, item, subHit, 0, 0, 0, p);
            if (!(m_exStyle & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)))
                NotifyItem(LVN_ITEMACTIVATE, item, subHit, 0, 0, 0, p);
            break;
        case WM_RBUTTONDOWN:
            NotifyItem(NM_RCLICK, item, subHit, 0, 0, 0, p);
            break;
        case WM_RBUTTONDBLCLK:
            NotifyItem(NM_RDBLCLK, item, subHit, 0, 0, 0, p);
            break;
        default:
            break;
    }
}

void ListView::OnScroll(bool vertical, int code, HWND bar) {
    int target = 0;
    if (vertical) {
        if (ScrollTarget(code, m_top, 1, PerPage(), Count(), bar ? bar : m_vbar, target))
            SetTop(target);
    } else {
        int page = std::max<int>(1, m_area.right - m_area.left);
        if (ScrollTarget(code, m_scrollX, kHScrollStep, page, TotalWidth(), bar ? bar : m_hbar, target))
            SetScrollX(target);
    }
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

bool ListView::SetColumnWidth(int col, int cx) {
    if (col < 0 || col >= (int)m_cols.size())
        return false;
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER) {
        HDC dc = GetDC(m_h);
        HGDIOBJ old = SelectObject(dc, Font());
        char buf[kTextBuffer];
        int widest = 0;
        auto measure = [&](std::string_view t) {
            SIZE s{0, 0};
            if (!t.empty())
                GetTextExtentPoint32(dc, t.data(), (int)t.size(), &s);
            widest = std::max<int>(widest, s.cx);
        };
        int n = Count(), from = 0, to = n;
        if (OwnerData() || n > kAutosizeAllRowsLimit) {
            from = m_top;
            to = std::min(n, m_top + PerPage() + 1);
        }
        for (int i = from; i < to; ++i)
            measure(Text(i, m_cols[(size_t)col].subItem, buf));
        if (cx == LVSCW_AUTOSIZE_USEHEADER)
            measure(m_cols[(size_t)col].text);
        SelectObject(dc, old);
        ReleaseDC(m_h, dc);
        bool useHeader = cx == LVSCW_AUTOSIZE_USEHEADER;
        cx = widest + 2 * kCellMargin;
        // The last column, sized by its header, takes up what the view has left.
        if (useHeader && col == (int)m_cols.size() - 1) {
            RECT area = ItemsArea();
            int others = TotalWidth() - m_cols[(size_t)col].width;
            cx = std::max<int>(cx, area.right - area.left - others);
        }
    }
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

// ---------------------------------------------------------------------------------------------------------
// Label editing.

HWND ListView::EditLabel(int item) {
    if (m_edit)
        EndEdit(true);
    if (!Valid(item) || m_cols.empty())
        return nullptr;
    EnsureVisible(item, false);
    char buf[kTextBuffer];
    std::string text(Text(item, 0, buf));
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    di.item.iItem = item;
    di.item.pszText = text.data();
    di.item.cchTextMax = (int)text.size() + 1;
    di.item.lParam = Param(item);
    di.item.state = State(item, 0xFFFF);
    if (Notify(&di.hdr, LVN_BEGINLABELEDIT))
        return nullptr;
    RECT cell{};
    ItemRect(item, 0, LVIR_LABEL, &cell);
    cell.right = std::max<LONG>(cell.right, cell.left + 40);
    HWND e = CreateWindowEx(0, WC_EDIT, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, m_h, nullptr,
                            nullptr, nullptr);
    if (!e)
        return nullptr;
    SendMessage(e, WM_SETFONT, (WPARAM)Font(), FALSE);
    SetProp(e, kEditListProp, (HANDLE)m_h);
    WNDPROC super = (WNDPROC)SetWindowLongPtr(e, GWLP_WNDPROC, (LONG_PTR)EditProc);
    SetProp(e, "SysListView32.Super", (HANDLE)super);
    m_edit = e;
    m_editItem = item;
    SendMessage(e, EM_SETSEL, 0, -1);
    SetFocus(e);
    return e;
}

void ListView::EndEdit(bool commit) {
    HWND e = m_edit;
    if (!e)
        return;
    m_edit = nullptr;
    int item = m_editItem;
    m_editItem = -1;
    std::string text = GetWindowTextString(e).GetString();
    if (GetFocus() == e)
        SetFocus(m_h);
    ShowWindow(e, SW_HIDE);
    // The edit may be in the middle of one of its own messages: it goes once that is done.
    PostMessage(e, WM_CLOSE, 0, 0);
    if (!Valid(item))
        return;
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = item;
    di.item.pszText = commit ? text.data() : nullptr;
    di.item.cchTextMax = commit ? (int)text.size() + 1 : 0;
    di.item.lParam = Param(item);
    LRESULT accepted = Notify(&di.hdr, LVN_ENDLABELEDIT);
    if (commit && accepted && !OwnerData() && Valid(item))
        SetCell(m_rows[(size_t)item], 0, text.c_str());
    InvalidateItem(item);
}

LRESULT ListView::EditProc(HWND e, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND list = (HWND)GetProp(e, kEditListProp);
    WNDPROC super = (WNDPROC)GetProp(e, "SysListView32.Super");
    ListView* lv = list && IsWindow(list) ? Get(list) : nullptr;
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && lv && lv->m_edit == e) {
                lv->EndEdit(wParam == VK_RETURN);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || wParam == 0x1B)
                return 0;
            break;
        case WM_KILLFOCUS: {
            LRESULT r = super ? CallWindowProc(super, e, msg, wParam, lParam) : 0;
            if (lv && lv->m_edit == e)
                lv->EndEdit(true);
            return r;
        }
        case WM_NCDESTROY:
            RemoveProp(e, kEditListProp);
            RemoveProp(e, "SysListView32.Super");
            if (super)
                SetWindowLongPtr(e, GWLP_WNDPROC, (LONG_PTR)super);
            return super ? CallWindowProc(super, e, msg, wParam, lParam) : 0;
        default:
            break;
    }
    return super ? CallWindowProc(super, e, msg, wParam, lParam) : DefWindowProc(e, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------
// Messages.

LRESULT ListView::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            DWORD style = Style();
            DWORD hs = WS_CHILD | HDS_HORZ | (style & LVS_NOSORTHEADER ? 0 : HDS_BUTTONS) |
                       (style & LVS_NOCOLUMNHEADER ? HDS_HIDDEN : WS_VISIBLE);
            m_header = CreateWindowEx(0, WC_HEADER, "", hs, 0, 0, 0, 0, m_h, nullptr, nullptr, nullptr);
            m_vbar = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_h, nullptr,
                                    nullptr, nullptr);
            m_hbar = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_HORZ, 0, 0, 0, 0, m_h, nullptr,
                                    nullptr, nullptr);
            if (m_header)
                SendMessage(m_header, WM_SETFONT, (WPARAM)Font(), FALSE);
            m_layoutDirty = true;
            return 0;
        }
        case WM_DESTROY:
            KillTimer(m_h, kEditTimer);
            if (m_edit)
                EndEdit(false);
            DeleteAll(true);
            return 0;
        case WM_SETFONT:
            m_font = (HFONT)wParam;
            if (m_header)
                SendMessage(m_header, WM_SETFONT, wParam, lParam);
            m_measured = false;
            m_metricsDirty = true;
            Invalidate();
            return 0;
        case WM_GETFONT:
            return (LRESULT)m_font;
        case WM_STYLECHANGED:
            m_metricsDirty = true;
            Invalidate();
            return 0;
        case WM_SIZE:
            Invalidate();
            return 0;
        case WM_SETREDRAW:
            m_redraw = wParam != 0;
            if (m_redraw) {
                m_paintPending = false;
                m_layoutDirty = true;
                RedrawWindow(m_h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            return 0;
        case WM_ERASEBKGND:
            EraseBackground((HDC)wParam);
            return 1;
        case WM_PAINT: {
            m_paintPending = false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_h, &ps);
            if (m_redraw)
                PaintItems(dc);
            EndPaint(m_h, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            Print((HDC)wParam, PRF_CLIENT);
            return 0;
        case WM_PRINT:
            Print((HDC)wParam, lParam);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            Invalidate();
            NMHDR hdr{};
            Notify(&hdr, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
            return 0;
        }
        case WM_KEYDOWN:
            OnKeyDown((UINT)wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            OnButtonDown(msg, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            if (m_dragItem >= 0 && GetCapture() == m_h && (wParam & MK_LBUTTON)) {
                int dx = GET_X_LPARAM(lParam) - m_dragStart.x, dy = GET_Y_LPARAM(lParam) - m_dragStart.y;
                if (std::abs(dx) > GetSystemMetrics(SM_CXDRAG) ||
                    std::abs(dy) > GetSystemMetrics(SM_CYDRAG)) {
                    int item = m_dragItem;
                    m_dragItem = -1;
                    KillTimer(m_h, kEditTimer);
                    ReleaseCapture();
                    NotifyItem(LVN_BEGINDRAG, item, 0, 0, 0, 0, m_dragStart, Param(item));
                }
            }
            return 0;
        case WM_LBUTTONUP:
            m_dragItem = -1;
            if (GetCapture() == m_h)
                ReleaseCapture();
            return 0;
        case WM_TIMER:
            if (wParam == kEditTimer) {
                KillTimer(m_h, kEditTimer);
                if (m_editTimerItem == m_focus && Valid(m_focus))
                    EditLabel(m_focus);
                m_editTimerItem = -1;
                return 0;
            }
            break;
        case WM_MOUSEWHEEL: {
            int delta = (short)HIWORD(wParam);
            SetTop(m_top - delta / 120 * 3);
            return 0;
        }
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(msg == WM_VSCROLL, LOWORD(wParam), (HWND)lParam);
            return 0;
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMHEADER*>(lParam);
            if (!nm || nm->hdr.hwndFrom != m_header)
                return 0;
            HWND parent = GetParent(m_h);
            // The list's owner hears its header too, and may veto a resize.
            LRESULT r = parent ? SendMessage(parent, WM_NOTIFY, nm->hdr.idFrom, lParam) : 0;
            switch (nm->hdr.code) {
                case HDN_ITEMCLICK: {
                    NMLISTVIEW lv{};
                    lv.iItem = -1;
                    lv.iSubItem = nm->iItem;
                    Notify(&lv.hdr, LVN_COLUMNCLICK);
                    return 0;
                }
                case HDN_ITEMCHANGED:
                    if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 &&
                        nm->iItem < (int)m_cols.size()) {
                        m_cols[(size_t)nm->iItem].width = nm->pitem->cxy;
                        Invalidate();
                    }
                    return 0;
                case HDN_DIVIDERDBLCLICK:
                    SetColumnWidth(nm->iItem, LVSCW_AUTOSIZE);
                    return 0;
                default:
                    return r;
            }
        }
        case LVM_GETBKCOLOR:
            return m_bk;
        case LVM_SETBKCOLOR:
            m_bk = (COLORREF)lParam;
            Invalidate();
            return TRUE;
        case LVM_GETTEXTCOLOR:
            return m_text;
        case LVM_SETTEXTCOLOR:
            m_text = (COLORREF)lParam;
            Invalidate();
            return TRUE;
        case LVM_GETTEXTBKCOLOR:
            return m_textBk;
        case LVM_SETTEXTBKCOLOR:
            m_textBk = (COLORREF)lParam;
            Invalidate();
            return TRUE;
        case LVM_GETIMAGELIST:
            return wParam < 3 ? (LRESULT)m_imageLists[wParam] : 0;
        case LVM_SETIMAGELIST: {
            if (wParam >= 3)
                return 0;
            HANDLE old = m_imageLists[wParam];
            m_imageLists[wParam] = (HANDLE)lParam;
            return (LRESULT)old;
        }
        case LVM_GETITEMCOUNT:
            return Count();
        case LVM_SETITEMCOUNT:
            SetCount((int)wParam, (DWORD)lParam);
            return TRUE;
        case LVM_GETITEM:
            return lParam ? GetItem(*reinterpret_cast<LVITEM*>(lParam)) : FALSE;
        case LVM_SETITEM:
            return lParam ? SetItem(*reinterpret_cast<const LVITEM*>(lParam)) : FALSE;
        case LVM_INSERTITEM:
            return lParam ? InsertItem(*reinterpret_cast<const LVITEM*>(lParam)) : -1;
        case LVM_DELETEITEM:
            return DeleteItem((int)wParam);
        case LVM_DELETEALLITEMS:
            return DeleteAll(true);
        case LVM_GETCALLBACKMASK:
            return m_callbackMask;
        case LVM_SETCALLBACKMASK:
            m_callbackMask = (UINT)wParam;
            return TRUE;
        case LVM_GETNEXTITEM:
            return NextItem((int)wParam, (UINT)LOWORD(lParam));
        case LVM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            return r ? ItemRect((int)wParam, 0, (UINT)r->left, r) : FALSE;
        }
        case LVM_GETSUBITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            return r ? ItemRect((int)wParam, (int)r->top, (UINT)r->left, r) : FALSE;
        }
        case LVM_GETSTRINGWIDTH: {
            auto* text = reinterpret_cast<LPCTSTR>(lParam);
            if (!text)
                return 0;
            HDC dc = GetDC(m_h);
            HGDIOBJ old = SelectObject(dc, Font());
            SIZE s{0, 0};
            GetTextExtentPoint32(dc, text, (int)std::strlen(text), &s);
            SelectObject(dc, old);
            ReleaseDC(m_h, dc);
            return s.cx;
        }
        case LVM_HITTEST:
        case LVM_SUBITEMHITTEST: {
            auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
            if (!info)
                return -1;
            int sub;
            info->iItem = HitTest(info->pt, &info->flags, &sub, msg == LVM_SUBITEMHITTEST);
            if (msg == LVM_SUBITEMHITTEST)
                info->iSubItem = info->iItem >= 0 ? sub : -1;
            return info->iItem;
        }
        case LVM_ENSUREVISIBLE:
            return EnsureVisible((int)wParam, lParam != 0);
        case LVM_SCROLL: {
            int dy = (int)lParam;
            if (dy) {
                int rows = dy / m_rowHeight;
                if (rows == 0)
                    rows = dy > 0 ? 1 : -1;
                SetTop(m_top + rows);
            }
            if ((int)wParam)
                SetScrollX(m_scrollX + (int)wParam);
            return TRUE;
        }
        case LVM_UPDATE:
            InvalidateItem((int)wParam);
            return TRUE;
        case LVM_REDRAWITEMS: {
            int a = std::max((int)wParam, m_top), b = std::min((int)lParam, m_top + PerPage());
            for (int i = a; i <= b; ++i)
                InvalidateItem(i);
            return TRUE;
        }
        case LVM_EDITLABEL:
            return (LRESULT)EditLabel((int)wParam);
        case LVM_GETEDITCONTROL:
            return (LRESULT)m_edit;
        case LVM_GETCOLUMN: {
            auto* lc = reinterpret_cast<LVCOLUMN*>(lParam);
            int i = (int)wParam;
            if (!lc || i < 0 || i >= (int)m_cols.size())
                return FALSE;
            const Column& c = m_cols[(size_t)i];
            if (lc->mask & LVCF_FMT)
                lc->fmt = c.fmt;
            if (lc->mask & LVCF_WIDTH)
                lc->cx = c.width;
            if (lc->mask & LVCF_SUBITEM)
                lc->iSubItem = c.subItem;
            if (lc->mask & LVCF_IMAGE)
                lc->iImage = c.image;
            if (lc->mask & LVCF_ORDER)
                lc->iOrder = i;
            if ((lc->mask & LVCF_TEXT) && lc->pszText && lc->cchTextMax > 0) {
                size_t n = std::min(c.text.size(), (size_t)lc->cchTextMax - 1);
                c.text.copy(lc->pszText, n);
                lc->pszText[n] = 0;
            }
            return TRUE;
        }
        case LVM_SETCOLUMN: {
            auto* lc = reinterpret_cast<const LVCOLUMN*>(lParam);
            int i = (int)wParam;
            if (!lc || i < 0 || i >= (int)m_cols.size())
                return FALSE;
            Column& c = m_cols[(size_t)i];
            HDITEM hi{};
            if ((lc->mask & LVCF_TEXT) && lc->pszText && lc->pszText != LPSTR_TEXTCALLBACK) {
                c.text = lc->pszText;
                hi.mask |= HDI_TEXT;
                hi.pszText = const_cast<LPTSTR>(c.text.c_str());
            }
            if (lc->mask & LVCF_FMT) {
                c.fmt = lc->fmt;
                hi.mask |= HDI_FORMAT;
                hi.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
            }
            if (lc->mask & LVCF_SUBITEM)
                c.subItem = lc->iSubItem;
            if (lc->mask & LVCF_IMAGE)
                c.image = lc->iImage;
            if (hi.mask && m_header)
                SendMessage(m_header, HDM_SETITEM, (WPARAM)i, (LPARAM)&hi);
            if (lc->mask & LVCF_WIDTH)
                SetColumnWidth(i, lc->cx);
            Invalidate();
            return TRUE;
        }
        case LVM_INSERTCOLUMN:
            return lParam ? InsertColumn((int)wParam, *reinterpret_cast<const LVCOLUMN*>(lParam)) : -1;
        case LVM_DELETECOLUMN:
            return DeleteColumn((int)wParam);
        case LVM_GETCOLUMNWIDTH: {
            int i = (int)wParam;
            return i >= 0 && i < (int)m_cols.size() ? m_cols[(size_t)i].width : 0;
        }
        case LVM_SETCOLUMNWIDTH:
            return SetColumnWidth((int)wParam, (int)(short)LOWORD(lParam));
        case LVM_GETHEADER:
            return (LRESULT)m_header;
        case LVM_GETVIEWRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (!r)
                return FALSE;
            Layout();
            *r = RECT{-m_scrollX, m_area.top - m_top * m_rowHeight, TotalWidth() - m_scrollX,
                      m_area.top + (Count() - m_top) * m_rowHeight};
            return TRUE;
        }
        case LVM_GETTOPINDEX:
            Layout();
            return m_top;
        case LVM_GETCOUNTPERPAGE:
            return PerPage();
        case LVM_GETORIGIN: {
            auto* p = reinterpret_cast<POINT*>(lParam);
            if (!p)
                return FALSE;
            *p = POINT{m_scrollX, 0};
            return TRUE;
        }
        case LVM_SETITEMSTATE: {
            auto* li = reinterpret_cast<const LVITEM*>(lParam);
            return li ? SetState((int)wParam, li->state, li->stateMask) : FALSE;
        }
        case LVM_GETITEMSTATE:
            return State((int)wParam, (UINT)lParam);
        case LVM_GETITEMTEXT: {
            auto* li = reinterpret_cast<LVITEM*>(lParam);
            if (!li || !li->pszText || li->cchTextMax <= 0)
                return 0;
            li->iItem = (int)wParam;
            li->mask = LVIF_TEXT;
            if (!GetItem(*li)) {
                li->pszText[0] = 0;
                return 0;
            }
            return (LRESULT)std::strlen(li->pszText);
        }
        case LVM_SETITEMTEXT: {
            auto* li = reinterpret_cast<const LVITEM*>(lParam);
            if (!li)
                return FALSE;
            LVITEM copy = *li;
            copy.iItem = (int)wParam;
            copy.mask = LVIF_TEXT;
            return SetItem(copy);
        }
        case LVM_SORTITEMS:
            return Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), (LPARAM)wParam);
        case LVM_GETSELECTEDCOUNT:
            return SelectedCount();
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            DWORD old = m_exStyle;
            DWORD mask = wParam ? (DWORD)wParam : 0xFFFFFFFF;
            m_exStyle = (m_exStyle & ~mask) | ((DWORD)lParam & mask);
            if (old != m_exStyle) {
                m_metricsDirty = true;
                Invalidate();
            }
            return old;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return m_exStyle;
        case LVM_GETSELECTIONMARK:
            return m_mark;
        case LVM_SETSELECTIONMARK: {
            int old = m_mark;
            m_mark = (int)lParam;
            return old;
        }
        default:
            break;
    }
    return DefWindowProc(m_h, msg, wParam, lParam);
}

LRESULT ListViewProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlWindowProc<ListView>(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterListViewClass() {
    RegisterControlClass(WC_LISTVIEW, ListViewProc, CS_DBLCLKS);
}
}  // namespace user
