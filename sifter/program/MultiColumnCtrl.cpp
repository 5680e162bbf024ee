#include "sifter/program/MultiColumnCtrl.h"

#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(CMultiColumnCtrl, CBaseListCtrl)

BEGIN_MESSAGE_MAP(CMultiColumnCtrl, CBaseListCtrl)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

CString CMultiColumnCtrl::SplitList(CString& list) {
    int comma = list.Find(',');
    if (comma < 0) {
        CString whole = list;
        list.Empty();
        return whole;
    }
    CString first = list.Left(comma);
    list = list.Mid(comma + 1);
    return first;
}

BOOL CMultiColumnCtrl::SetColumns(LPCTSTR title, int count, LPCTSTR types, LPCTSTR names) {
    CString typeList = types ? types : "";
    CString nameList = names ? names : "";
    for (int i = 0; i < count; ++i) {
        CString type = SplitList(typeList);
        CString name = SplitList(nameList);
        if (!InsertTypedColumn(i, name, type))
            return FALSE;
    }
    m_nColumns = count;
    m_sTitle = title ? title : "";
    return TRUE;
}

BOOL CMultiColumnCtrl::InsertTypedColumn(int index, LPCTSTR title, LPCTSTR typeWord) {
    if (index < 0 || index >= kMaxColumns)
        return FALSE;
    CString text = title ? title : "";
    if (InsertColumn(index, text, LVCFMT_LEFT, 6 * text.GetLength() + 6) < 0)
        return FALSE;
    int type = ColumnTypeCode(typeWord ? typeWord : "");
    if (index > (int)m_aTypes.size())
        index = (int)m_aTypes.size();
    m_aTitles.insert(m_aTitles.begin() + index, text);
    m_aTypes.insert(m_aTypes.begin() + index, type);
    return TRUE;
}

void CMultiColumnCtrl::DeleteAllColumns() {
    DeleteAllItems();
    for (int i = (int)m_aTypes.size() - 1; i >= 0; --i)
        DeleteColumn(i);
    m_aTitles.clear();
    m_aTypes.clear();
    m_nColumns = 0;
}

void CMultiColumnCtrl::SetOwnerDraw(BOOL on) {
    m_bOwnerDraw = on;
    SendMessage(WM_SETREDRAW, FALSE, 0);
    DWORD before = GetStyle();
    if (on)
        ModifyStyle(0, LVS_REPORT | LVS_OWNERDRAWFIXED);
    else
        ModifyStyle(LVS_OWNERDRAWFIXED, 0);
    SendMessage(WM_SETREDRAW, TRUE, 0);
    DWORD after = GetStyle();
    if (before != after && (after & LVS_TYPEMASK) == LVS_REPORT)
        Invalidate();
}

void CMultiColumnCtrl::SetCell(int row, int column, LPCTSTR text) {
    if (column == 0)
        InsertItem(row, text);
    else
        SetItemText(row, column, text);
}

int CMultiColumnCtrl::InsertRow(int row, LPCTSTR text, int image) {
    return InsertItem(row, text, image);
}

CString CMultiColumnCtrl::FitText(HDC dc, const CString& text, int width) const {
    auto widthOf = [&](const CString& s) {
        SIZE size{};
        GetTextExtentPoint32(dc, s, s.GetLength(), &size);
        return (int)size.cx;
    };
    int room = width - 4;
    if (widthOf(text) <= room)
        return text;
    CString rest = text;
    while (!rest.IsEmpty()) {
        rest = rest.Left(rest.GetLength() - 1);
        if (m_bEllipsis) {
            if (widthOf(rest + "...") <= room)
                return rest + "...";
        } else if (widthOf(rest) <= room) {
            return rest;
        }
    }
    return CString();
}

void CMultiColumnCtrl::DrawRow(LPDRAWITEMSTRUCT item) {
    if (!item || (int)item->itemID < 0)
        return;
    HDC dc = item->hDC;
    int row = (int)item->itemID;
    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        int saved = SaveDC(dc);
        bool selected = (item->itemState & ODS_SELECTED) != 0;
        COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        RECT fill = item->rcItem;
        InflateRect(&fill, -1, -1);
        HBRUSH brush = CreateSolidBrush(back);
        FillRect(dc, &fill, brush);
        DeleteObject(brush);
        ::SetTextColor(dc, fore);
        ::SetBkMode(dc, TRANSPARENT);
        int left = item->rcItem.left;
        for (int column = 0; column < m_nColumns; ++column) {
            int width = GetColumnWidth(column);
            if (width > 7) {
                CString text = GetItemText(row, column);
                if (text.GetLength() > 255)
                    text = text.Left(255);
                CString fitted = FitText(dc, text, width);
                if (!fitted.IsEmpty())
                    TextOut(dc, left + 2, item->rcItem.top, fitted, fitted.GetLength());
            }
            left += width;
        }
        RestoreDC(dc, saved);
    }
    if (item->itemAction & ODA_FOCUS)
        DrawFocusRect(dc, &item->rcItem);
}

BOOL CMultiColumnCtrl::SortColumn(int column, BOOL ascending) {
    int rows = GetItemCount();
    int columns = m_nColumns;
    struct Row {
        std::vector<CString> cells;
        UINT state;
        DWORD_PTR data;
        int image;
    };
    std::vector<Row> saved((size_t)rows);
    std::vector<CString> keys((size_t)rows);
    for (int i = 0; i < rows; ++i) {
        Row& r = saved[(size_t)i];
        for (int c = 0; c < columns; ++c)
            r.cells.push_back(GetItemText(i, c));
        r.state = GetItemState(i, LVIS_SELECTED);
        r.data = GetItemData(i);
        LVITEM li{};
        li.mask = LVIF_IMAGE;
        li.iItem = i;
        GetItem(&li);
        r.image = li.iImage;
        keys[(size_t)i] = column >= 0 && column < columns ? r.cells[(size_t)column] : CString();
    }
    std::vector<int> order = SortedRowOrder(GetColumnType(column), keys, ascending != FALSE);
    SendMessage(WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < rows; ++i) {
        const Row& r = saved[(size_t)order[(size_t)i]];
        for (int c = 0; c < columns; ++c)
            SetItemText(i, c, r.cells[(size_t)c]);
        SetItemState(i, r.state, LVIS_SELECTED);
        SetItemData(i, r.data);
        LVITEM li{};
        li.mask = LVIF_IMAGE;
        li.iItem = i;
        li.iImage = r.image;
        SetItem(&li);
    }
    SendMessage(WM_SETREDRAW, TRUE, 0);
    Invalidate();
    m_nSortedColumn = column;
    m_bSortAscending = ascending;
    return ascending;
}

void CMultiColumnCtrl::OnColumnClick(NMHDR* hdr, LRESULT* result) {
    auto* list = reinterpret_cast<NMLISTVIEW*>(hdr);
    int column = list->iSubItem;
    BOOL ascending = !(column == m_nSortedColumn && m_bSortAscending);
    SortColumn(column, ascending);
    *result = 0;
}
