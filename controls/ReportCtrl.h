// A report list with a header built from one heading text, check boxes in four modes, sorting by
// any column with a type-sensing comparison, per-cell colours, state filters for counting, finding and
// deleting rows, and in-place editing of any cell. The rules without a window are in ReportCtrlModel.
#pragma once

#include <vector>

#include "controls/model/ReportCtrlModel.h"
#include "platform/framework/controls/Edit.h"
#include "platform/framework/controls/ListCtrl.h"

#define WM_REPORTCTRLCHECKED 0xA710  // wParam the row, lParam the mouse message
#define WM_REPORTCTRLSORTED 0xA711   // wParam the sort column, lParam the ascending flag
#define WM_REPORTCTRLEDITED 0xA712   // wParam the row, lParam the column

#define RC_CHKBOX_NONE 0
#define RC_CHKBOX_NORMAL 1
#define RC_CHKBOX_SINGLE 2
#define RC_CHKBOX_DISABLED 3

class CReportCtrl : public CListCtrl {
public:
    CReportCtrl();
    ~CReportCtrl() override;

    virtual BOOL Create(CWnd* pParentWnd, UINT nID, LPCRECT lpRect = nullptr,
                        DWORD dwStyle = WS_BORDER | WS_TABSTOP);

    // Deletes every row and column and builds the columns the heading text names; TRUE when one was made.
    BOOL SetColumnHeader(LPCTSTR lpszHeadings);
    int InsertRow(int nIndex, LPCTSTR lpText);
    BOOL SetCellText(int nItem, int nSubItem, LPCTSTR lpText);
    int InsertColumn(int nCol, LPCTSTR lpHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL DeleteColumn(int nCol);
    int GetColumnCount() const;

    int DeleteRows(int nFilter);
    int CountItems(int nFilter) const;
    int FindNextItem(int nFilter, int nStart = -1) const;
    BOOL SetItemStates(int nItem, int nRequest);
    BOOL SetItemChecked(int nItem, BOOL bCheck);
    BOOL IsItemChecked(int nItem) const { return GetCheck(nItem); }
    DWORD GetRowData(int nItem) const;
    BOOL SetRowData(int nItem, DWORD dwData);
    BOOL SetCellColors(int nItem, int nSubItem, COLORREF text, COLORREF background);
    COLORREF GetCellTextColor(int nItem, int nSubItem) const;

    void SetCheckboxMode(int nMode);
    int GetCheckboxMode() const { return m_nChkStyle; }
    void SetEditable(BOOL bEditable = TRUE);
    BOOL IsEditable() const { return m_bAllowEdit; }
    void ShowGridLines(BOOL bShow = TRUE);

    int SortItems(int nColumn, BOOL bAscending);
    int GetSortedColumn() const { return m_nSortCol; }
    BOOL IsSortAscending() const { return m_bSortAscending; }

    BOOL StartEdit(int nItem, int nSubItem);
    BOOL EndEdit(BOOL bCommit = TRUE);
    BOOL IsEditing() const { return m_nEditItem >= 0; }
    CEdit* GetEditControl() { return &m_wndEdit; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnColumnClick(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    struct ROWINFO {
        DWORD dwData = 0;
        std::vector<COLORREF> text;
        std::vector<COLORREF> back;
    };
    ROWINFO* Row(int nItem) const;
    bool ValidItem(int nItem) const { return nItem >= 0 && nItem < GetItemCount(); }
    int RowBits(int nItem) const;
    LRESULT OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyCheckRule(int nItem, BOOL bWasChecked, UINT message);
    void KeepSingleCheck(int nItem);
    void UncheckAll();
    void AdjustStyle();
    void FreeAllRows();

    CEdit m_wndEdit;
    BOOL m_bAllowEdit = FALSE;
    int m_nEditItem = -1;
    int m_nEditSubItem = -1;
    int m_nChkStyle = RC_CHKBOX_NORMAL;
    DWORD m_dwEditAlign = 0;
    int m_nSortCol = -1;
    BOOL m_bSortAscending = TRUE;
    int m_nInternal = 0;  // > 0 while the control changes check boxes itself
};
