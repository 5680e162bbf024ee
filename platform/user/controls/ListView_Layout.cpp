// The list view's geometry: row height, where the header, rows and scroll bars go, scrolling, hit tests.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {

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
    // The first column's label follows the state image (the check box).
    int label = sub == 0 ? std::min<int>(cell.left + StateImageWidth(), cell.right) : cell.left;
    switch (code) {
        case LVIR_BOUNDS:
            *out = sub == 0 ? row : cell;
            return true;
        case LVIR_ICON:
            *out = RECT{label, cell.top, label, cell.bottom};
            return true;
        case LVIR_LABEL:
            *out = RECT{label, cell.top, cell.right, cell.bottom};
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
    // Beyond the first column a full-row hit is on the item as a whole, not on its label.
    *flags = col > 0 && !anyColumn ? LVHT_ONITEM : LVHT_ONITEMLABEL;
    if (col == 0 && x - left < StateImageWidth() && (State((int)row, LVIS_STATEIMAGEMASK) >> 12) > 0)
        *flags = LVHT_ONITEMSTATEICON;
    *sub = col;
    return (int)row;
}

// The width that shows a column's widest text (the rows', and with useHeader its caption's); the last
// column, sized by its header, takes up what the view has left.
int ListView::AutosizeWidth(int col, bool useHeader) {
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
    if (useHeader)
        measure(m_cols[(size_t)col].text);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    int cx = widest + 2 * kCellMargin;
    if (useHeader && col == (int)m_cols.size() - 1) {
        RECT area = ItemsArea();
        int others = TotalWidth() - m_cols[(size_t)col].width;
        cx = std::max<int>(cx, area.right - area.left - others);
    }
    return cx;
}

int ListView::StringWidth(LPCTSTR text) {
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

// LVM_SCROLL: dy in pixels, moving whole rows (at least one); dx in pixels.
bool ListView::Scroll(int dx, int dy) {
    if (dy) {
        int rows = dy / m_rowHeight;
        if (rows == 0)
            rows = dy > 0 ? 1 : -1;
        SetTop(m_top + rows);
    }
    if (dx)
        SetScrollX(m_scrollX + dx);
    return true;
}
}  // namespace user::listview
