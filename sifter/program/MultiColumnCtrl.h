// CMultiColumnCtrl: the result list. Columns are typed; a click on a header sorts by that column's
// rule; rows are drawn by the list itself, cells too long for their column shortened.
#pragma once

#include <vector>

#include "sifter/program/BaseListCtrl.h"
#include "sifter/program/CellSort.h"

class CMultiColumnCtrl : public CBaseListCtrl {
    DECLARE_DYNAMIC(CMultiColumnCtrl)
public:
    static constexpr int kMaxColumns = 255;

    CMultiColumnCtrl() = default;

    // Inserts `count` columns, taking one item of each comma-separated list per column. FALSE at the
    // first column the control refuses.
    BOOL SetColumns(LPCTSTR title, int count, LPCTSTR types, LPCTSTR names);
    // A left-aligned column 6 pixels per character of its title wide, plus 6.
    BOOL InsertTypedColumn(int index, LPCTSTR title, LPCTSTR typeWord);
    void DeleteAllColumns();
    void SetEllipsis(BOOL on) { m_bEllipsis = on; }
    void SetOwnerDraw(BOOL on);
    // Column 0 inserts a row at `row`; other columns set the cell.
    void SetCell(int row, int column, LPCTSTR text);
    int InsertRow(int row, LPCTSTR text, int image);
    void DrawRow(LPDRAWITEMSTRUCT item);
    // Sorts the rows by the column's rule (equal cells keep their order); returns `ascending`.
    BOOL SortColumn(int column, BOOL ascending);
    // The text cut so that it fits `width` - 4 pixels, with "..." at its end in ellipsis mode.
    CString FitText(HDC dc, const CString& text, int width) const;
    // The text before the first comma, which is taken off the list with it; a list without a comma
    // gives itself and becomes empty.
    static CString SplitList(CString& list);

    int GetColumnCount() const { return m_nColumns; }
    int GetColumnType(int column) const {
        return column >= 0 && column < (int)m_aTypes.size() ? m_aTypes[column] : MCL_ALPHA;
    }
    const CString& GetListTitle() const { return m_sTitle; }
    int GetSortedColumn() const { return m_nSortedColumn; }
    BOOL IsSortedAscending() const { return m_bSortAscending; }

protected:
    void OnColumnClick(NMHDR* hdr, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    int m_nColumns = 0;
    CString m_sTitle;
    std::vector<CString> m_aTitles;
    std::vector<int> m_aTypes;
    BOOL m_bEllipsis = FALSE;
    BOOL m_bOwnerDraw = FALSE;
    int m_nSortedColumn = -1;
    BOOL m_bSortAscending = FALSE;
};
