#include "controls/model/GridStorage.h"

#include <algorithm>
#include <numeric>

CGridStorage::CGridStorage(int nRows, int nCols, int nFixedRows, int nFixedCols) {
    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridStorage::~CGridStorage() {
    DeleteAllItems();
}

CGridCell* CGridStorage::GetCell(int nRow, int nCol) const {
    // Checked against the storage, so cells being built can already see the row above.
    if (nRow < 0 || nCol < 0 || nRow >= (int)m_RowData.size() || nCol >= (int)m_RowData[(size_t)nRow].size())
        return nullptr;
    return m_RowData[(size_t)nRow][(size_t)nCol].get();
}

CGridCell* CGridStorage::CreateCell(int nRow, int nCol) {
    auto* cell = new CGridCell;
    cell->lfFont = m_Logfont;
    if (nRow > 0 && nCol >= 0 && nCol < m_nCols)
        if (const CGridCell* above = GetCell(nRow - 1, nCol))
            cell->nFormat = above->nFormat;
    return cell;
}

void CGridStorage::EmptyCell(CGridCell* cell, int /*nRow*/, int /*nCol*/) {
    if (cell)
        cell->szText.Empty();
}

void CGridStorage::ForgetSelectedOutside(int nRows, int nCols) {
    for (auto* map : {&m_SelectedCellMap, &m_PrevSelectedCellMap}) {
        for (auto it = map->begin(); it != map->end();) {
            if (it->second.row >= nRows || it->second.col >= nCols)
                it = map->erase(it);
            else
                ++it;
        }
    }
}

bool CGridStorage::SetRowCount(int nRows) {
    if (nRows < 0)
        return false;
    if (nRows == m_nRows)
        return true;
    if (m_nFixedRows > nRows)
        m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows)
        ResetSelectedRange();
    ForgetSelectedOutside(nRows, m_nCols);

    const int oldRows = m_nRows;
    for (int row = oldRows - 1; row >= nRows; --row) {
        GridRow& cells = m_RowData[(size_t)row];
        for (int col = 0; col < (int)cells.size(); ++col)
            EmptyCell(cells[(size_t)col].get(), row, col);
        m_RowData.pop_back();
    }
    m_arRowHeights.resize((size_t)nRows, (UINT)m_nDefRowHeight);
    m_nRows = nRows;
    for (int row = oldRows; row < nRows; ++row) {
        GridRow cells;
        cells.reserve((size_t)m_nCols);
        m_RowData.push_back(std::move(cells));
        for (int col = 0; col < m_nCols; ++col)
            m_RowData.back().emplace_back(CreateCell(row, col));
    }
    return true;
}

bool CGridStorage::SetColumnCount(int nCols) {
    if (nCols < 0)
        return false;
    if (nCols == m_nCols)
        return true;
    if (m_nFixedCols > nCols)
        m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols)
        ResetSelectedRange();
    ForgetSelectedOutside(m_nRows, nCols);

    const int oldCols = m_nCols;
    if (nCols < oldCols) {
        for (int row = 0; row < (int)m_RowData.size(); ++row) {
            GridRow& cells = m_RowData[(size_t)row];
            for (int col = oldCols - 1; col >= nCols; --col)
                EmptyCell(cells[(size_t)col].get(), row, col);
            cells.resize((size_t)nCols);
        }
    }
    m_arColWidths.resize((size_t)nCols, (UINT)m_nDefColWidth);
    m_nCols = nCols;
    for (int row = 0; row < (int)m_RowData.size(); ++row)
        for (int col = oldCols; col < nCols; ++col)
            m_RowData[(size_t)row].emplace_back(CreateCell(row, col));
    return true;
}

bool CGridStorage::SetFixedRowCount(int nFixedRows) {
    if (nFixedRows < 0)
        return false;
    if (nFixedRows > m_nRows && !SetRowCount(nFixedRows))
        return false;
    if (m_idCurrentCell.row >= 0 && m_idCurrentCell.row < nFixedRows)
        ResetSelectedRange();
    m_nFixedRows = nFixedRows;
    return true;
}

bool CGridStorage::SetFixedColumnCount(int nFixedCols) {
    if (nFixedCols < 0)
        return false;
    if (nFixedCols > m_nCols && !SetColumnCount(nFixedCols))
        return false;
    if (m_idCurrentCell.col >= 0 && m_idCurrentCell.col < nFixedCols)
        ResetSelectedRange();
    m_nFixedCols = nFixedCols;
    return true;
}

bool CGridStorage::DeleteAllItems() {
    ResetSelectedRange();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    for (int row = 0; row < (int)m_RowData.size(); ++row) {
        GridRow& cells = m_RowData[(size_t)row];
        for (int col = 0; col < (int)cells.size(); ++col)
            EmptyCell(cells[(size_t)col].get(), row, col);
    }
    m_RowData.clear();
    m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
    return true;
}

CString CGridStorage::GetItemText(int nRow, int nCol) const {
    const CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    return cell ? cell->szText : CString();
}

bool CGridStorage::SetItemText(int nRow, int nCol, LPCTSTR text) {
    CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    if (!cell)
        return false;
    cell->szText = text;
    cell->nFormat = DT_SINGLELINE | DT_VCENTER;
    return true;
}

UINT CGridStorage::GetItemState(int nRow, int nCol) const {
    const CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    return cell ? cell->state : 0;
}

bool CGridStorage::SetItemState(int nRow, int nCol, UINT state) {
    CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    if (!cell)
        return false;
    const uint64_t key = CellKey(nRow, nCol);
    if ((cell->state & GVIS_SELECTED) && !(state & GVIS_SELECTED))
        m_SelectedCellMap.erase(key);
    if (!(cell->state & GVIS_SELECTED) && (state & GVIS_SELECTED))
        m_SelectedCellMap[key] = CCellID(nRow, nCol);
    cell->state = state;
    return true;
}

UINT CGridStorage::GetItemFormat(int nRow, int nCol) const {
    const CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    return cell ? cell->nFormat : 0;
}

bool CGridStorage::SetItemFormat(int nRow, int nCol, UINT nFormat) {
    CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    if (!cell)
        return false;
    cell->nFormat = nFormat;
    return true;
}

int CGridStorage::GetItemImage(int nRow, int nCol) const {
    const CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    return cell ? cell->iImage : -1;
}

bool CGridStorage::SetItemImage(int nRow, int nCol, int iImage) {
    CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    if (!cell)
        return false;
    cell->iImage = iImage;
    return true;
}

const LOGFONT* CGridStorage::GetItemFont(int nRow, int nCol) const {
    const CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    return cell ? &cell->lfFont : &m_Logfont;
}

bool CGridStorage::SetItemFont(int nRow, int nCol, const LOGFONT* font) {
    CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr;
    if (!cell || !font)
        return false;
    cell->lfFont = *font;
    return true;
}

bool CGridStorage::IsCellEditable(int nRow, int nCol) const {
    return m_bEditable && IsValid(nRow, nCol) && !(GetItemState(nRow, nCol) & GVIS_READONLY);
}

int CGridStorage::GetRowHeight(int nRow) const {
    return nRow >= 0 && nRow < m_nRows ? (int)m_arRowHeights[(size_t)nRow] : -1;
}

int CGridStorage::GetColumnWidth(int nCol) const {
    return nCol >= 0 && nCol < m_nCols ? (int)m_arColWidths[(size_t)nCol] : -1;
}

void CGridStorage::SetFocusCell(int nRow, int nCol) {
    CCellID cell(nRow, nCol);
    if (cell == m_idCurrentCell)
        return;
    if (CGridCell* old = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        old->state &= ~(UINT)GVIS_FOCUSED;
    m_idCurrentCell = IsValid(nRow, nCol) ? cell : CCellID();
    if (CGridCell* now = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        now->state |= GVIS_FOCUSED;
}

void CGridStorage::ResetSelectedRange() {
    for (const auto& [key, id] : m_SelectedCellMap)
        if (CGridCell* cell = GetCell(id.row, id.col))
            cell->state &= ~(UINT)GVIS_SELECTED;
    m_SelectedCellMap.clear();
    m_PrevSelectedCellMap.clear();
    SetFocusCell(-1, -1);
}

bool CGridStorage::SortTextItems(int nCol, bool ascending) {
    if (nCol < 0 || nCol >= m_nCols || m_nFixedRows >= m_nRows)
        return false;
    ResetSelectedRange();
    std::vector<int> order((size_t)(m_nRows - m_nFixedRows));
    std::iota(order.begin(), order.end(), m_nFixedRows);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int c = AsciiCompareNoCase(m_RowData[(size_t)a][(size_t)nCol]->szText.str(),
                                   m_RowData[(size_t)b][(size_t)nCol]->szText.str());
        return ascending ? c < 0 : c > 0;
    });
    std::vector<GridRow> rows;
    std::vector<UINT> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (int from : order) {
        rows.push_back(std::move(m_RowData[(size_t)from]));
        heights.push_back(m_arRowHeights[(size_t)from]);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        m_RowData[(size_t)m_nFixedRows + i] = std::move(rows[i]);
        m_arRowHeights[(size_t)m_nFixedRows + i] = heights[i];
    }
    return true;
}
