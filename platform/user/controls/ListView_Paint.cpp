// The list view's drawing: rows with custom draw and owner draw, grid lines, the focus, WM_PRINT.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {

void ListView::EraseBackground(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (m_bk == CLR_NONE)
        return;
    HBRUSH b = CreateSolidBrush(m_bk);
    FillRect(dc, &rc, b);
    DeleteObject(b);
}

// A row of an LVS_OWNERDRAWFIXED list: the parent draws it (WM_DRAWITEM).
void ListView::DrawOwnerRow(HDC dc, int item, const RECT& row, UINT state) {
    HWND parent = GetParent(m_h);
    DRAWITEMSTRUCT dis{ODT_LISTVIEW, (UINT)GetDlgCtrlID(m_h), (UINT)item, ODA_DRAWENTIRE, 0, m_h, dc,
                       row,          (ULONG_PTR)Param(item)};
    if (state & LVIS_SELECTED)
        dis.itemState |= ODS_SELECTED;
    if ((state & LVIS_FOCUSED) && GetFocus() == m_h)
        dis.itemState |= ODS_FOCUS;
    if (!parent)
        return;
    SendMessage(parent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    // The focused row of a list that has the focus: the owner draws the focus rectangle as well.
    if ((dis.itemState & ODS_FOCUS) && IsWindow(m_h)) {
        dis.itemAction = ODA_FOCUS;
        SendMessage(parent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    }
}

void ListView::DrawRow(HDC dc, int item, int y, bool notifyItems, const RECT& clip) {
    char buf[kTextBuffer];
    UINT state = State(item, LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED);
    bool focused = GetFocus() == m_h;
    bool showSelection = focused || (Style() & LVS_SHOWSELALWAYS);
    int gridline = (m_exStyle & LVS_EX_GRIDLINES) ? 1 : 0;
    RECT row{-m_scrollX, y, TotalWidth() - m_scrollX, y + m_rowHeight};

    if (Style() & LVS_OWNERDRAWFIXED) {
        DrawOwnerRow(dc, item, row, state);
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
    if (itemResult & CDRF_SKIPDEFAULT) {
        // The parent drew the whole row, its focus included.
        if (item == m_focus)
            m_focusDrawnByParent = true;
        return;
    }
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
            cd.nmcd.rc = c == 0 ? row : cell;  // the first sub-item is told the whole row
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
        // A drop target's row shows as selected in a focused list, whatever has the focus.
        bool dropTarget = (state & LVIS_DROPHILITED) != 0 && (c == 0 || FullRow());
        bool selected = (itemState & CDIS_SELECTED) && showSelection && (c == 0 || FullRow());
        if (dropTarget) {
            selected = false;
            bk = GetSysColor(COLOR_HIGHLIGHT);
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
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
        int stateWidth = c == 0 ? StateImageWidth() : 0;
        if (stateWidth > 0) {
            RECT icon{cell.left, cell.top, cell.left + stateWidth, cell.bottom - gridline};
            SetBkColor(dc, m_bk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_bk);
            ExtTextOut(dc, 0, 0, ETO_OPAQUE, &icon, nullptr, 0, nullptr);
            DrawStateImage(dc, item, icon);
        }
        std::string_view t = Text(item, col.subItem, buf);
        if (t.empty())
            continue;
        RECT tr{cell.left + stateWidth + kCellMargin, cell.top, cell.right - kCellMargin,
                cell.bottom - gridline};
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

void ListView::DrawGridlines(HDC dc, const RECT& clip) {
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

// The dotted focus rectangle around the focused row (its first cell without full-row select).
void ListView::DrawFocus(HDC dc) {
    RECT r = RowRect(m_focus);
    if (!FullRow() && !m_cols.empty())
        r.right = r.left + m_cols[0].width;
    r.bottom -= (m_exStyle & LVS_EX_GRIDLINES) ? 1 : 0;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
}

void ListView::PaintItems(HDC dc) {
    Layout();
    // Between the two scroll bars: the size box area, in the button face.
    if (m_vbarShown && m_hbarShown) {
        RECT whole;
        GetClientRect(m_h, &whole);
        RECT corner{m_area.right, m_area.bottom, whole.right, whole.bottom};
        FillRect(dc, &corner, GetSysColorBrush(COLOR_3DFACE));
    }
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
        m_focusDrawnByParent = false;
        for (int i = first; i <= last; ++i)
            DrawRow(dc, i, m_area.top + (i - m_top) * m_rowHeight, (pre & CDRF_NOTIFYITEMDRAW) != 0, clip);
        if (m_exStyle & LVS_EX_GRIDLINES)
            DrawGridlines(dc, clip);
        if (GetFocus() == m_h && m_focus >= first && m_focus <= last && !ownerDraw && !m_focusDrawnByParent)
            DrawFocus(dc);
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

}  // namespace user::listview
