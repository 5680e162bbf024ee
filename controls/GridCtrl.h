// CGridCtrl: the grid window over the grid's storage (CGridStorage): drawing through an off-screen
// context, scrolling, hit testing, focus and selection, in-place editing, clipboard, drag and drop, the
// title tip over clipped texts and paged printing. Without a window it is storage alone.
#pragma once

#include <map>

#include "controls/GridDropTarget.h"
#include "controls/TitleTip.h"
#include "controls/model/GridStorage.h"
#include "platform/framework/docview/PrintInfo.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/framework/window/Wnd.h"
#include "platform/user/ListView.h"

#define GRIDCTRL_CLASSNAME "MFCGridCtrl"
#define IDC_INPLACE_EDIT 8

// Grid-line modes.
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// The selection timer.
#define GRID_SELECTION_TIMER 513

// What the grid sends its parent: the header, then the cell.
struct NM_GRIDVIEW {
    NMHDR hdr;
    int iRow;
    int iColumn;
};

// What the in-place editor sends the grid when it ends: the cell, its text and the key that ended it.
struct GV_DISPINFO {
    NMHDR hdr;
    int iRow;
    int iColumn;
    LPCTSTR pszText;
    UINT nLastChar;
};

// A range of cells, inclusive; (-1, -1, -1, -1) is none.
struct CCellRange {
    int nMinRow = -1, nMinCol = -1, nMaxRow = -1, nMaxCol = -1;
    CCellRange() = default;
    CCellRange(int minRow, int minCol, int maxRow, int maxCol)
        : nMinRow(minRow), nMinCol(minCol), nMaxRow(maxRow), nMaxCol(maxCol) {}
    bool IsValid() const { return nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= nMinRow && nMaxCol >= nMinCol; }
    bool InRange(int row, int col) const {
        return row >= nMinRow && row <= nMaxRow && col >= nMinCol && col <= nMaxCol;
    }
    CCellID GetTopLeft() const { return CCellID(nMinRow, nMinCol); }
};

class CGridCtrl : public CWnd, public CGridStorage {
    DECLARE_DYNAMIC(CGridCtrl)
public:
    enum MouseMode {
        MOUSE_NOTHING,
        MOUSE_SELECT_ALL,
        MOUSE_SELECT_COL,
        MOUSE_SELECT_ROW,
        MOUSE_SELECT_CELLS,
        MOUSE_SCROLLING_CELLS,
        MOUSE_OVER_ROW_DIVIDE,
        MOUSE_SIZING_ROW,
        MOUSE_OVER_COL_DIVIDE,
        MOUSE_SIZING_COL,
        MOUSE_PREPARE_EDIT,
        MOUSE_PREPARE_DRAG,
        MOUSE_DRAGGING
    };

    explicit CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    BOOL Create(const RECT& rect, CWnd* parent, UINT nID, DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

    // Storage operations that also keep the window in step.
    bool SetRowCount(int nRows);
    bool SetColumnCount(int nCols);
    bool SetFixedRowCount(int nFixedRows);
    bool SetFixedColumnCount(int nFixedCols);
    bool DeleteAllItems();
    bool SetRowHeight(int nRow, int height);
    bool SetColumnWidth(int nCol, int width);

    // Colours.
    void SetTextColor(COLORREF clr) { m_crTextColour = clr; }
    COLORREF GetTextColor() const { return m_crTextColour; }
    void SetTextBkColor(COLORREF clr) { m_crTextBkColour = clr; }
    COLORREF GetTextBkColor() const { return m_crTextBkColour; }
    void SetBkColor(COLORREF clr) { m_crBkColour = clr; }
    COLORREF GetBkColor() const { return m_crBkColour; }
    void SetFixedTextColor(COLORREF clr) { m_crFixedTextColour = clr; }
    COLORREF GetFixedTextColor() const { return m_crFixedTextColour; }
    void SetFixedBkColor(COLORREF clr) { m_crFixedBkColour = clr; }
    COLORREF GetFixedBkColor() const { return m_crFixedBkColour; }
    void SetGridColor(COLORREF clr) { m_crGridColour = clr; }
    COLORREF GetGridColor() const { return m_crGridColour; }

    // Settings.
    void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
    BOOL GetModified(int nRow = -1, int nCol = -1) const;
    void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetListMode(BOOL bEnableListMode = TRUE);
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
    void EnableSelection(BOOL bEnable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void SetGridLines(int nWhichLines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    int GetMouseScrollLines() const { return m_nRowsPerWheelNotch; }
    int GetMouseMode() const { return m_MouseMode; }
    int GetMargin() const { return m_nMargin; }
    int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
    void SetTitle(LPCTSTR title) { m_strTitle = title; }
    const CString& GetTitle() const { return m_strTitle; }

    // Sizes and positions.
    long GetVirtualWidth() const;
    long GetVirtualHeight() const;
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetHScrollMax() const { return m_nHScrollMax; }
    int GetVScrollMax() const { return m_nVScrollMax; }
    void ResetScrollBars();
    CCellID GetTopleftNonFixedCell();
    CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr);
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetTextRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect);
    CCellID GetCellFromPt(POINT point, BOOL bAllowFixedCellCheck = TRUE);
    BOOL IsCellVisible(int nRow, int nCol);
    void EnsureVisible(int nRow, int nCol);
    BOOL IsCellFixed(int nRow, int nCol) const { return nRow < m_nFixedRows || nCol < m_nFixedCols; }
    BOOL MouseOverRowResizeArea(POINT point);
    BOOL MouseOverColumnResizeArea(POINT point);
    BOOL AutoSizeRow(int nRow);
    BOOL AutoSizeColumn(int nCol);

    // Focus and selection.
    CCellID SetFocusCell(CCellID cell);
    void SetFocusCell(int nRow, int nCol) override { SetFocusCell(CCellID(nRow, nCol)); }
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE);
    void SetSelectedRange(const CCellRange& range, BOOL bForceRepaint = FALSE) {
        SetSelectedRange(range.nMinRow, range.nMinCol, range.nMaxRow, range.nMaxCol, bForceRepaint);
    }
    CCellRange GetSelectedCellRange() const;
    BOOL IsCellSelected(int nRow, int nCol) const { return (GetItemState(nRow, nCol) & GVIS_SELECTED) != 0; }
    // The cell where the selection started.
    CCellID GetSelectionStartCell() const { return m_SelectionStartCell; }

    // Drawing a cell again now (into `pDC`, or a context of the window), or invalidating it.
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
    BOOL InvalidateCellRect(int nRow, int nCol);

    // The grid's own virtual operations.
    virtual void CutSelectedText();
    virtual COleDataSource* CopyTextFromGrid();
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* pDataObject);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    virtual void BeginPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintPage(CDC* pDC, CPrintInfo* pInfo);
    virtual void EndPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnBeginDrag();
    virtual void OnFixedColumnClick(CCellID& cell);
    virtual void OnFixedRowClick(CCellID& cell);
    virtual SIZE GetCellExtent(int nRow, int nCol, CDC* pDC);
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    virtual void OnEditCell(int nRow, int nCol, UINT nChar);
    virtual void CreateInPlaceEditControl(const RECT& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                          LPCTSTR szText, int nChar);
    virtual void OnDraw(CDC* pDC);
    virtual BOOL DrawFixedCell(CDC* pDC, int nRow, int nCol, RECT rect, BOOL bEraseBk = FALSE);
    virtual BOOL DrawCell(CDC* pDC, int nRow, int nCol, RECT rect, BOOL bEraseBk = FALSE);

    // Drag and drop, as the drop target forwards it (points in client coordinates).
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, POINT point);
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, POINT point);
    void OnDragLeave();
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point);
    CCellID GetDragOverCell() const { return m_LastDragOverCell; }

    CTitleTip& GetTitleTip() { return m_TitleTip; }
    // The font the window draws with (null before it has one).
    CFont* GetFont() { return m_Font.m_hObject ? &m_Font : nullptr; }

protected:
    CGridCell* CreateCell(int nRow, int nCol) override;
    void EmptyCell(CGridCell* cell, int nRow, int nCol) override;
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, POINT pt);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnLButtonDblClk(UINT nFlags, POINT point);
    void OnRButtonDown(UINT nFlags, POINT point);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnUpdateEditCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    LRESULT SendMessageToParent(int nRow, int nCol, int nMessage);
    void OnSelecting(const CCellID& currentCell);
    void SelectAllCells();
    void SelectColumns(CCellID currentCell);
    void SelectRows(CCellID currentCell);
    void SelectCells(CCellID currentCell);
    BOOL IsValid(const CCellID& cell) const { return CGridStorage::IsValid(cell.row, cell.col); }
    using CGridStorage::IsValid;
    void ResetSelectedRange();
    void FillBackground(CDC* pDC, const RECT& clipRect, const RECT& visRect);
    // Draws the cells of rows minRow..maxRow and columns minCol..maxCol inside the clip box, the first
    // at (left, top).
    void DrawCellBlock(CDC* pDC, const RECT& clipRect, int minRow, int maxRow, int top, int minCol, int maxCol,
                       int left, bool fixed);
    // The column (or row) whose right (or bottom) border lies under the point, or -1.
    int BorderIndex(POINT point, bool column);
    // A scroll request along one bar (the SB_ requests of both bars share their values).
    void ScrollAlong(int nBar, UINT request);
    // After a change of the counts: the scroll bars and the window follow.
    void AfterCountChange();
    void RedrawFixedFor(const CCellID& cell, const CCellID& other);
    void SetGridFont(const LOGFONT& lf);
    void ReadWheelScrollLines();
    void PrintRows(CDC* pDC, int fromRow, int toRow, bool headings);
    CCellID NextCell(const CCellID& from, UINT nChar, bool& handled);

    // Working colours and the system colours they came from.
    COLORREF m_crTextColour, m_crTextBkColour, m_crBkColour, m_crFixedTextColour, m_crFixedBkColour,
        m_crGridColour;
    COLORREF m_crWindowText, m_crWindowColour, m_cr3DFace, m_crShadow;

    BOOL m_bModified = FALSE;
    BOOL m_bAllowDragAndDrop = FALSE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bAllowDraw = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bSortOnClick = TRUE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bDoubleBuffer = TRUE;
    int m_nGridLines = GVL_BOTH;
    int m_nResizeCaptureRange = 3;
    int m_nTimerInterval = 25;
    int m_MouseMode = MOUSE_NOTHING;
    int m_nMargin = 0;
    int m_nHScrollMax = 0;
    int m_nVScrollMax = 0;
    int m_nRowsPerWheelNotch = 3;
    CString m_strTitle;

    CCellID m_SelectionStartCell, m_LeftClickDownCell, m_LastDragOverCell;
    POINT m_LeftClickDownPoint{}, m_LastMousePoint{};
    UINT_PTR m_nTimerID = 0;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    int m_nResizeIndex = -1;  // the row or column being resized
    bool m_bInOnSize = false;

    CFont m_Font;  // the font of the window
    CTitleTip m_TitleTip;
    CGridDropTarget m_DropTarget;

    // Print state.
    CFont* m_pPrinterFont = nullptr;
    int m_CharSize_cx = 0, m_CharSize_cy = 0;
    int m_LogicalPageWidth = 0, m_LogicalPageHeight = 0;
    int m_nBodyHeight = 0;
    int m_PaperWidth = 0, m_PaperHeight = 0;
};
