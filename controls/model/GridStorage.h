// CGridStorage: a grid of rows and columns of owned cells with fixed (heading) rows and columns: the
// storage side, which works without a window (the log tree sorts with it). The grid window CGridCtrl
// (controls/) is built over it and adds drawing, scrolling, mouse and keyboard, editing, clipboard and
// printing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "controls/model/CellID.h"
#include "controls/model/GridCell.h"
#include "controls/model/PrinterDef.h"
#include "platform/base/LogFont.h"
#include "platform/base/String.h"

class CGridStorage {
public:
    explicit CGridStorage(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    virtual ~CGridStorage();
    CGridStorage(const CGridStorage&) = delete;
    CGridStorage& operator=(const CGridStorage&) = delete;

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    // Grows or shrinks the grid; removed cells are emptied and deleted, new ones made by CreateCell.
    bool SetRowCount(int nRows);
    bool SetColumnCount(int nCols);
    // Grows the grid first when needed.
    bool SetFixedRowCount(int nFixedRows);
    bool SetFixedColumnCount(int nFixedCols);
    // Removes every cell, row and column.
    bool DeleteAllItems();

    bool IsValid(int nRow, int nCol) const {
        return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
    }
    // The cell, or null outside the grid.
    CGridCell* GetCell(int nRow, int nCol) const;

    virtual CString GetItemText(int nRow, int nCol) const;
    // Sets the text and makes the cell single-line, vertically centred; false outside the grid.
    bool SetItemText(int nRow, int nCol, LPCTSTR text);
    UINT GetItemState(int nRow, int nCol) const;
    // Keeps the selection in step with the selected bit.
    bool SetItemState(int nRow, int nCol, UINT state);
    UINT GetItemFormat(int nRow, int nCol) const;
    bool SetItemFormat(int nRow, int nCol, UINT nFormat);
    int GetItemImage(int nRow, int nCol) const;
    bool SetItemImage(int nRow, int nCol, int iImage);
    const LOGFONT* GetItemFont(int nRow, int nCol) const;
    bool SetItemFont(int nRow, int nCol, const LOGFONT* font);

    void SetEditable(bool editable = true) { m_bEditable = editable; }
    bool IsEditable() const { return m_bEditable; }
    bool IsCellEditable(int nRow, int nCol) const;

    int GetDefaultRowHeight() const { return m_nDefRowHeight; }
    int GetDefaultColumnWidth() const { return m_nDefColWidth; }
    int GetRowHeight(int nRow) const;
    int GetColumnWidth(int nCol) const;
    const LOGFONT& GetDefaultFont() const { return m_Logfont; }

    // The focus cell, (-1, -1) when none. Setting it moves the focused bit.
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    virtual void SetFocusCell(int nRow, int nCol);
    int GetSelectedCount() const { return (int)m_SelectedCellMap.size(); }
    // Clears the selection (selected bits included) and the focus.
    void ResetSelectedRange();

    // Sorts the non-fixed rows by the column's text, ASCII case-blind; rows with equal texts keep their
    // order. Resets the selection and focus. False for a column outside the grid or no non-fixed row.
    bool SortTextItems(int nCol, bool ascending);

    // The printer definition used when the grid prints; nothing in the grid fills it.
    CPrinterDef& GetPrinterDef() { return m_PrinterDef; }

protected:
    // A new cell: empty, no image, default colours and the grid's default font; below row 0 it takes
    // the format of the cell above.
    virtual CGridCell* CreateCell(int nRow, int nCol);
    // Empties a cell that is about to go.
    virtual void EmptyCell(CGridCell* cell, int nRow, int nCol);

protected:
    using GridRow = std::vector<std::unique_ptr<CGridCell>>;
    // Selection keys hold the whole row and column, so no two cells share one.
    static uint64_t CellKey(int nRow, int nCol) { return ((uint64_t)(uint32_t)nRow << 32) | (uint32_t)nCol; }
    void ForgetSelectedOutside(int nRows, int nCols);

    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    std::vector<UINT> m_arRowHeights;
    std::vector<UINT> m_arColWidths;
    std::vector<GridRow> m_RowData;
    LOGFONT m_Logfont{};  // the window side sets it from the system's message font
    int m_nDefRowHeight = 10;
    int m_nDefColWidth = 30;
    bool m_bEditable = true;
    CCellID m_idCurrentCell;
    std::map<uint64_t, CCellID> m_SelectedCellMap;
    std::map<uint64_t, CCellID> m_PrevSelectedCellMap;
    CPrinterDef m_PrinterDef;
};
