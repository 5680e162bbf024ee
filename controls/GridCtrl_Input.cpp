// The grid window's focus, selection, scrolling, mouse, keyboard, editing, clipboard and drag and drop.
#include <algorithm>
#include <vector>

#include "controls/GridCtrl.h"
#include "controls/InPlaceEdit.h"
#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/CmdUI.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Keyboard.h"

namespace {
bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}
bool CtrlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}
}  // namespace

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) {
    if (!::IsWindow(m_hWnd))
        return 0;
    NM_GRIDVIEW nmgv{};
    nmgv.iRow = nRow;
    nmgv.iColumn = nCol;
    nmgv.hdr.hwndFrom = m_hWnd;
    nmgv.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    nmgv.hdr.code = (UINT)nMessage;
    HWND target = ::GetWindow(m_hWnd, GW_OWNER);
    if (!target)
        target = ::GetParent(m_hWnd);
    if (!target || !::IsWindow(target))
        return 0;
    return ::SendMessage(target, WM_NOTIFY, nmgv.hdr.idFrom, (LPARAM)&nmgv);
}

// ---- focus and selection ----

void CGridCtrl::RedrawFixedFor(const CCellID& cell, const CCellID& other) {
    if (cell.col != other.col)
        for (int row = 0; row < m_nFixedRows; ++row)
            RedrawCell(row, cell.col);
    if (cell.row != other.row)
        for (int col = 0; col < m_nFixedCols; ++col)
            RedrawCell(cell.row, col);
}

CCellID CGridCtrl::SetFocusCell(CCellID cell) {
    if (cell == m_idCurrentCell)
        return m_idCurrentCell;
    const CCellID idPrev = m_idCurrentCell;
    m_idCurrentCell = cell;
    if (IsValid(idPrev)) {
        SendMessageToParent(idPrev.row, idPrev.col, LVN_ITEMCHANGING);
        SetItemState(idPrev.row, idPrev.col, GetItemState(idPrev.row, idPrev.col) & ~(UINT)GVIS_FOCUSED);
        RedrawCell(idPrev.row, idPrev.col);
        RedrawFixedFor(idPrev, cell);
    }
    if (IsValid(cell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_FOCUSED);
        RedrawCell(cell.row, cell.col);
        RedrawFixedFor(cell, idPrev);
        SendMessageToParent(cell.row, cell.col, LVN_ITEMCHANGED);
    }
    return idPrev;
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint) {
    if (!m_bEnableSelection)
        return;
    CClientDC* pDC = bForceRepaint && m_hWnd ? new CClientDC(this) : nullptr;
    if (pDC && !pDC->m_hDC) {
        delete pDC;
        pDC = nullptr;
    }
    const CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);
    auto redraw = [&](int row, int col) {
        if (pDC)
            RedrawCell(row, col, pDC);
        else
            InvalidateCellRect(row, col);
    };
    // Unselect what was selected; cells outside the new range are redrawn.
    const auto selected = m_SelectedCellMap;
    for (const auto& [key, cell] : selected) {
        if (!IsValid(cell)) {
            m_SelectedCellMap.erase(key);
            continue;
        }
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~(UINT)GVIS_SELECTED);
        if (!range.InRange(cell.row, cell.col))
            redraw(cell.row, cell.col);
    }
    // The kept previous selection comes back, unless a selection replaces it.
    if (!m_bSingleRowSelection) {
        for (const auto& [key, cell] : m_PrevSelectedCellMap) {
            if (!IsValid(cell))
                continue;
            const UINT state = GetItemState(cell.row, cell.col);
            SetItemState(cell.row, cell.col, state | GVIS_SELECTED);
            redraw(cell.row, cell.col);
        }
    }
    if (nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0 && nMaxRow < m_nRows && nMaxCol < m_nCols &&
        nMinRow <= nMaxRow && nMinCol <= nMaxCol) {
        for (int row = nMinRow; row <= nMaxRow; ++row)
            for (int col = nMinCol; col <= nMaxCol; ++col) {
                const UINT state = GetItemState(row, col);
                if (state & GVIS_SELECTED)
                    continue;
                SetItemState(row, col, state | GVIS_SELECTED);
                redraw(row, col);
            }
    }
    delete pDC;
}

CCellRange CGridCtrl::GetSelectedCellRange() const {
    if (m_SelectedCellMap.empty())
        return CCellRange();
    CCellRange range(m_nRows, m_nCols, -1, -1);
    for (const auto& [key, cell] : m_SelectedCellMap) {
        range.nMinRow = std::min(range.nMinRow, cell.row);
        range.nMinCol = std::min(range.nMinCol, cell.col);
        range.nMaxRow = std::max(range.nMaxRow, cell.row);
        range.nMaxCol = std::max(range.nMaxCol, cell.col);
    }
    return range;
}

void CGridCtrl::SelectAllCells() {
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectColumns(CCellID currentCell) {
    if (currentCell.col < m_nFixedCols)
        return;
    SetSelectedRange(m_nFixedRows, std::min(m_SelectionStartCell.col, currentCell.col), m_nRows - 1,
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void CGridCtrl::SelectRows(CCellID currentCell) {
    if (currentCell.row < m_nFixedRows)
        return;
    if (m_bListMode && m_bSingleRowSelection)
        SetSelectedRange(currentCell.row, m_nFixedCols, currentCell.row, m_nCols - 1);
    else
        SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row), m_nFixedCols,
                         std::max(m_SelectionStartCell.row, currentCell.row), m_nCols - 1);
}

void CGridCtrl::SelectCells(CCellID currentCell) {
    if (currentCell.row < m_nFixedRows || currentCell.col < m_nFixedCols || !IsValid(m_SelectionStartCell) ||
        m_SelectionStartCell.row < m_nFixedRows || m_SelectionStartCell.col < m_nFixedCols)
        return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row),
                     std::min(m_SelectionStartCell.col, currentCell.col),
                     std::max(m_SelectionStartCell.row, currentCell.row),
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void CGridCtrl::OnSelecting(const CCellID& currentCell) {
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
        case MOUSE_SELECT_ALL:
            SelectAllCells();
            break;
        case MOUSE_SELECT_COL:
            if (IsValid(currentCell))
                SelectColumns(currentCell);
            break;
        case MOUSE_SELECT_ROW:
            if (IsValid(currentCell))
                SelectRows(currentCell);
            break;
        case MOUSE_SELECT_CELLS:
            if (IsValid(currentCell))
                SelectCells(currentCell);
            break;
        default:
            break;
    }
}

// ---- scrolling ----

LRESULT CGridCtrl::OnHScroll(WPARAM wParam, LPARAM) {
    ScrollAlong(SB_HORZ, LOWORD(wParam));
    return 0;
}

LRESULT CGridCtrl::OnVScroll(WPARAM wParam, LPARAM) {
    ScrollAlong(SB_VERT, LOWORD(wParam));
    return 0;
}

void CGridCtrl::ScrollAlong(int nBar, UINT request) {
    if (::GetFocus() != m_hWnd)
        SetFocus();
    m_TitleTip.Hide();
    const bool horz = nBar == SB_HORZ;
    const int scrollPos = GetScrollPos32(nBar);
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    const int topLeft = horz ? idTopLeft.col : idTopLeft.row;
    const int firstNonFixed = horz ? m_nFixedCols : m_nFixedRows;
    const int maxPos = horz ? m_nHScrollMax : m_nVScrollMax;
    const int fixedSize = horz ? GetFixedColumnWidth() : GetFixedRowHeight();
    auto size = [&](int i) { return horz ? GetColumnWidth(i) : GetRowHeight(i); };
    auto scroll = [&](int by, const RECT* area) { ScrollWindow(horz ? by : 0, horz ? 0 : by, area); };
    // The rectangle's edges along the scrolled axis.
    RECT rect;
    GetClientRect(&rect);
    LONG& low = horz ? rect.left : rect.top;
    LONG& high = horz ? rect.right : rect.bottom;
    switch (request) {
        case SB_LINEDOWN:  // and SB_LINERIGHT
            if (scrollPos < maxPos) {
                const int step = size(topLeft);
                SetScrollPos32(nBar, scrollPos + step);
                if (GetScrollPos32(nBar) == scrollPos)
                    break;
                low = fixedSize + step;
                scroll(-step, &rect);
                low = high - step;
                InvalidateRect(&rect);
            }
            break;
        case SB_LINEUP:  // and SB_LINELEFT
            if (scrollPos > 0 && topLeft > firstNonFixed) {
                const int step = size(topLeft - 1);
                SetScrollPos32(nBar, std::max(0, scrollPos - step));
                low = fixedSize;
                scroll(step, &rect);
                high = low + step;
                InvalidateRect(&rect);
            }
            break;
        case SB_PAGEDOWN:
            if (scrollPos < maxPos) {
                low = fixedSize;
                SetScrollPos32(nBar, std::min(maxPos, scrollPos + (int)(high - low)));
                InvalidateRect(&rect);
            }
            break;
        case SB_PAGEUP:
            if (scrollPos > 0) {
                low = fixedSize;
                SetScrollPos32(nBar, std::max(0, scrollPos - (int)(high - low)));
                InvalidateRect(&rect);
            }
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
            if (GetTopleftNonFixedCell() != idTopLeft) {
                low = fixedSize;
                InvalidateRect(&rect);
            }
            break;
        case SB_TOP:  // and SB_LEFT
            if (scrollPos > 0) {
                SetScrollPos32(nBar, 0);
                Invalidate();
            }
            break;
        case SB_BOTTOM:  // and SB_RIGHT
            if (scrollPos < maxPos) {
                SetScrollPos32(nBar, maxPos);
                Invalidate();
            }
            break;
        default:
            break;
    }
}

BOOL CGridCtrl::OnMouseWheel(UINT, short zDelta, POINT) {
    if (m_nRowsPerWheelNotch == -1) {
        const int pages = zDelta / WHEEL_DELTA;
        for (int i = 0; i < std::abs(pages); ++i)
            PostMessage(WM_VSCROLL, MAKEWPARAM(pages > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0), 0);
    } else {
        const int lines = zDelta * m_nRowsPerWheelNotch / WHEEL_DELTA;
        for (int i = 0; i < std::abs(lines); ++i)
            PostMessage(WM_VSCROLL, MAKEWPARAM(lines > 0 ? SB_LINEUP : SB_LINEDOWN, 0), 0);
    }
    return TRUE;
}

void CGridCtrl::OnSize(UINT, int, int) {
    if (m_bInOnSize)
        return;
    m_bInOnSize = true;
    if (::GetFocus() != m_hWnd && ::IsWindowVisible(m_hWnd))
        SetFocus();
    ResetScrollBars();
    m_bInOnSize = false;
}

// ---- mouse ----

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == HTCLIENT) {
        switch (m_MouseMode) {
            case MOUSE_OVER_COL_DIVIDE:
            case MOUSE_SIZING_COL:
                ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            case MOUSE_OVER_ROW_DIVIDE:
            case MOUSE_SIZING_ROW:
                ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
                return TRUE;
            default:
                ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
                return TRUE;
        }
    }
    (void)pWnd;
    (void)message;
    return (BOOL)Default();
}

void CGridCtrl::OnMouseMove(UINT nFlags, POINT point) {
    RECT rect;
    GetClientRect(&rect);
    m_LastMousePoint = point;
    if (!(nFlags & MK_LBUTTON)) {
        // No button: borders show their sizing cursors; a clipped text shows in the title tip.
        if (MouseOverColumnResizeArea(point)) {
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        } else if (MouseOverRowResizeArea(point)) {
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
        } else {
            m_MouseMode = MOUSE_NOTHING;
            const CCellID cell = GetCellFromPt(point);
            RECT textRect, cellRect;
            if (IsValid(cell) && GetTextRect(cell.row, cell.col, &textRect) &&
                GetCellRect(cell.row, cell.col, &cellRect)) {
                const CString text = GetItemText(cell.row, cell.col);
                if (!text.IsEmpty())
                    m_TitleTip.Show(textRect, text, m_nMargin > 0 ? m_nMargin - 1 : 0, &cellRect,
                                    GetItemFont(cell.row, cell.col));
            }
        }
        return;
    }
    const CCellID currentCell = GetCellFromPt(point);
    switch (m_MouseMode) {
        case MOUSE_SELECT_ALL:
        case MOUSE_SELECT_COL:
        case MOUSE_SELECT_ROW:
        case MOUSE_SELECT_CELLS:
            OnSelecting(currentCell);
            if (IsValid(currentCell) && currentCell.row >= m_nFixedRows && currentCell.col >= m_nFixedCols)
                SetFocusCell(currentCell);
            break;
        case MOUSE_SIZING_COL:
            if (m_nResizeIndex >= 0) {
                POINT start;
                if (GetCellOrigin(0, m_nResizeIndex, &start)) {
                    SetColumnWidth(m_nResizeIndex, std::max<int>(1, point.x - start.x));
                    ResetScrollBars();
                    Invalidate();
                }
            }
            break;
        case MOUSE_SIZING_ROW:
            if (m_nResizeIndex >= 0) {
                POINT start;
                if (GetCellOrigin(m_nResizeIndex, 0, &start)) {
                    SetRowHeight(m_nResizeIndex, std::max<int>(1, point.y - start.y));
                    ResetScrollBars();
                    Invalidate();
                }
            }
            break;
        case MOUSE_PREPARE_DRAG:
            if (std::abs(point.x - m_LeftClickDownPoint.x) > 2 || std::abs(point.y - m_LeftClickDownPoint.y) > 2)
                OnBeginDrag();
            break;
        case MOUSE_PREPARE_EDIT:
            if (currentCell != m_LeftClickDownCell) {
                m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
                OnSelecting(currentCell);
            }
            break;
        default:
            break;
    }
}

int CGridCtrl::BorderIndex(POINT point, bool column) {
    const CCellID cell = GetCellFromPt(point);
    POINT start;
    if (!GetCellOrigin(cell.row, cell.col, &start))
        return -1;
    // Near the cell's leading edge the border is the previous column's or row's.
    const int index = column ? cell.col : cell.row;
    const int offset = column ? point.x - start.x : point.y - start.y;
    return offset <= m_nResizeCaptureRange && index > 0 ? index - 1 : index;
}

void CGridCtrl::OnLButtonDown(UINT nFlags, POINT point) {
    m_TitleTip.Hide();
    SetFocus();
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell))
        return;
    m_SelectionStartCell = ((nFlags & MK_SHIFT) || ShiftDown()) && IsValid(m_idCurrentCell) ? m_idCurrentCell
                                                                                               : m_LeftClickDownCell;

    // A press on a border starts resizing.
    if (MouseOverColumnResizeArea(point) || MouseOverRowResizeArea(point)) {
        const bool column = MouseOverColumnResizeArea(point) != FALSE;
        m_nResizeIndex = BorderIndex(point, column);
        m_MouseMode = column ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;
        SetCapture(m_hWnd);
        return;
    }

    // Fixed cells.
    if (m_LeftClickDownCell.row < m_nFixedRows && m_LeftClickDownCell.col < m_nFixedCols) {
        m_MouseMode = MOUSE_SELECT_ALL;
        OnSelecting(m_LeftClickDownCell);
        m_MouseMode = MOUSE_NOTHING;
        return;
    }
    if (m_LeftClickDownCell.row < m_nFixedRows) {
        OnFixedRowClick(m_LeftClickDownCell);
        return;
    }
    if (m_LeftClickDownCell.col < m_nFixedCols) {
        OnFixedColumnClick(m_LeftClickDownCell);
        return;
    }

    // A press on the focus cell prepares an edit; on a selected cell with drag and drop, a drag.
    if (m_LeftClickDownCell == m_idCurrentCell && IsCellEditable(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        return;
    }
    if (m_bAllowDragAndDrop && IsCellSelected(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        m_MouseMode = MOUSE_PREPARE_DRAG;
        SetCapture(m_hWnd);
        return;
    }

    // Else a selection starts here and follows the mouse.
    SetCapture(m_hWnd);
    if ((nFlags & MK_CONTROL) || CtrlDown())
        m_PrevSelectedCellMap = m_SelectedCellMap;
    else
        m_PrevSelectedCellMap.clear();
    SetFocusCell(m_LeftClickDownCell);
    m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
    OnSelecting(m_LeftClickDownCell);
    m_nTimerID = SetTimer(GRID_SELECTION_TIMER, (UINT)m_nTimerInterval, nullptr);
}

void CGridCtrl::OnLButtonUp(UINT, POINT point) {
    if (m_nTimerID) {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    const int mode = m_MouseMode;
    m_MouseMode = MOUSE_NOTHING;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (mode == MOUSE_PREPARE_EDIT) {
        const CCellID cell = GetCellFromPt(point);
        if (cell == m_LeftClickDownCell)
            OnEditCell(cell.row, cell.col, VK_LBUTTON);
    } else if (mode == MOUSE_PREPARE_DRAG) {
        // A press and release without moving: the cell becomes the focus and the selection.
        m_PrevSelectedCellMap.clear();
        SetFocusCell(m_LeftClickDownCell);
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        OnSelecting(m_LeftClickDownCell);
        m_MouseMode = MOUSE_NOTHING;
    } else if (mode == MOUSE_SIZING_COL || mode == MOUSE_SIZING_ROW) {
        ResetScrollBars();
        Invalidate();
    }
}

void CGridCtrl::OnLButtonDblClk(UINT, POINT point) {
    if (MouseOverColumnResizeArea(point))
        AutoSizeColumn(BorderIndex(point, true));
}

void CGridCtrl::OnRButtonDown(UINT nFlags, POINT point) {
    OnLButtonDown(nFlags, point);
    OnLButtonUp(nFlags, point);
    const CCellID focus = GetFocusCell();
    SendMessageToParent(focus.row, focus.col, NM_RCLICK);
}

LRESULT CGridCtrl::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if ((HWND)lParam != m_hWnd && m_nTimerID) {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    return 0;
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != GRID_SELECTION_TIMER)
        return;
    POINT pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    RECT rect;
    GetClientRect(&rect);
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    POINT origin{-1, -1};
    if (pt.y > rect.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        origin = POINT{std::clamp<int>(pt.x, 0, rect.right - 1), rect.bottom};
    } else if (pt.y < fixedRowHeight) {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        origin = POINT{pt.x, fixedRowHeight + 1};
    }
    if (origin.x >= 0 || origin.y >= 0)
        OnSelecting(GetCellFromPt(origin));
    origin = POINT{-1, -1};
    if (pt.x > rect.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        origin = POINT{rect.right, std::clamp<int>(pt.y, 0, rect.bottom - 1)};
    } else if (pt.x < fixedColWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        origin = POINT{fixedColWidth + 1, pt.y};
    }
    if (origin.x >= 0 || origin.y >= 0)
        OnSelecting(GetCellFromPt(origin));
}

void CGridCtrl::OnFixedRowClick(CCellID& cell) {
    if (!IsValid(cell) || !m_bSortOnClick)
        return;
    if (cell.col == m_nSortColumn) {
        m_bAscending = !m_bAscending;
    } else {
        m_bAscending = TRUE;
        m_nSortColumn = cell.col;
    }
    SortTextItems(cell.col, m_bAscending);
    Invalidate();
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell) {
    if (!IsValid(cell))
        return;
    m_SelectionStartCell = cell;
    m_MouseMode = MOUSE_SELECT_ROW;
    OnSelecting(cell);
    m_MouseMode = MOUSE_NOTHING;
}

// ---- keyboard ----

LRESULT CGridCtrl::OnGetDlgCode(WPARAM, LPARAM) {
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !CtrlDown())
        code |= DLGC_WANTTAB;
    return code;
}

CCellID CGridCtrl::NextCell(const CCellID& from, UINT nChar, bool& handled) {
    CCellID next = from;
    handled = true;
    switch (nChar) {
        case VK_DOWN:
            if (next.row < m_nRows - 1)
                next.row++;
            break;
        case VK_UP:
            if (next.row > m_nFixedRows)
                next.row--;
            break;
        case VK_RIGHT:
            if (next.col < m_nCols - 1)
                next.col++;
            break;
        case VK_LEFT:
            if (next.col > m_nFixedCols)
                next.col--;
            break;
        case VK_TAB:
            if (ShiftDown()) {
                if (next.col > m_nFixedCols) {
                    next.col--;
                } else if (next.row > m_nFixedRows) {
                    next.row--;
                    next.col = m_nCols - 1;
                }
            } else if (next.col < m_nCols - 1) {
                next.col++;
            } else if (next.row < m_nRows - 1) {
                next.row++;
                next.col = m_nFixedCols;
            }
            break;
        case VK_NEXT:
        case VK_PRIOR: {
            const CCellRange visible = GetVisibleNonFixedCellRange();
            const int step = std::max(1, visible.nMaxRow - visible.nMinRow);
            next.row = nChar == VK_NEXT ? std::min(m_nRows - 1, next.row + step)
                                        : std::max(m_nFixedRows, next.row - step);
            break;
        }
        case VK_HOME:
            if (CtrlDown())
                next.row = m_nFixedRows;
            next.col = m_nFixedCols;
            break;
        case VK_END:
            if (CtrlDown())
                next.row = m_nRows - 1;
            next.col = m_nCols - 1;
            break;
        default:
            handled = false;
    }
    return next;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_TitleTip.Hide();
    if (CtrlDown()) {
        switch (nChar) {
            case 'A':
                OnEditSelectAll();
                return;
            case 'C':
                OnEditCopy();
                return;
            case 'X':
                OnEditCut();
                return;
            case 'V':
                OnEditPaste();
                return;
            default:
                break;
        }
    }
    if (nChar == VK_DELETE) {
        CutSelectedText();
        return;
    }
    if (nChar == VK_TAB && (!m_bHandleTabKey || CtrlDown())) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (!IsValid(m_idCurrentCell)) {
        // With no focus cell, a navigation key gives the first cell the focus.
        bool handled = false;
        NextCell(m_idCurrentCell, nChar, handled);
        if (handled && m_nRows > m_nFixedRows && m_nCols > m_nFixedCols) {
            const CCellID first(m_nFixedRows, m_nFixedCols);
            m_SelectionStartCell = first;
            SetFocusCell(first);
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            OnSelecting(first);
            m_MouseMode = MOUSE_NOTHING;
            EnsureVisible(first.row, first.col);
            return;
        }
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    bool handled = false;
    const CCellID next = NextCell(m_idCurrentCell, nChar, handled);
    if (!handled) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (next != m_idCurrentCell) {
        if (m_MouseMode == MOUSE_NOTHING) {
            m_PrevSelectedCellMap.clear();
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            if (!ShiftDown() || nChar == VK_TAB)
                m_SelectionStartCell = next;
            OnSelecting(next);
            m_MouseMode = MOUSE_NOTHING;
        }
        SetFocusCell(next);
        EnsureVisible(next.row, next.col);
    }
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const bool printable = nChar >= 32 || nChar == VK_RETURN || nChar == VK_BACK;
    if (!CtrlDown() && m_MouseMode == MOUSE_NOTHING && printable && IsValid(m_idCurrentCell)) {
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, nChar);
        return;
    }
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

// ---- editing ----

void CGridCtrl::OnEditCell(int nRow, int nCol, UINT nChar) {
    if (!IsCellEditable(nRow, nCol) || !m_hWnd)
        return;
    EnsureVisible(nRow, nCol);
    RECT rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return;
    SendMessageToParent(nRow, nCol, LVN_BEGINLABELEDIT);
    const DWORD style = ES_AUTOHSCROLL | ES_LEFT;
    CreateInPlaceEditControl(rect, style, IDC_INPLACE_EDIT, nRow, nCol, GetItemText(nRow, nCol), (int)nChar);
}

void CGridCtrl::CreateInPlaceEditControl(const RECT& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                         LPCTSTR szText, int nChar) {
    // The editor owns itself once its window exists.
    auto* editor = new CInPlaceEdit(this, rect, dwStyle, nID, nRow, nCol, szText, (UINT)nChar);
    if (!editor->GetSafeHwnd())
        delete editor;
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
    if (GetItemText(nRow, nCol) != str) {
        SetItemText(nRow, nCol, str);
        SetModified(TRUE, nRow, nCol);
    }
}

BOOL CGridCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr && hdr->code == LVN_ENDLABELEDIT && wParam == IDC_INPLACE_EDIT) {
        auto* dispinfo = reinterpret_cast<GV_DISPINFO*>(lParam);
        OnEndEditCell(dispinfo->iRow, dispinfo->iColumn, dispinfo->pszText ? dispinfo->pszText : "");
        InvalidateCellRect(dispinfo->iRow, dispinfo->iColumn);
        SendMessageToParent(dispinfo->iRow, dispinfo->iColumn, LVN_ENDLABELEDIT);
        switch (dispinfo->nLastChar) {
            case VK_TAB:
            case VK_DOWN:
            case VK_UP:
            case VK_RIGHT:
            case VK_LEFT:
            case VK_NEXT:
            case VK_PRIOR:
            case VK_HOME:
            case VK_END: {
                // The key moves the focus; the next cell is edited as opened by a key, typing nothing.
                const CCellID before = m_idCurrentCell;
                OnKeyDown(dispinfo->nLastChar, 0, 0);
                if (m_idCurrentCell != before)
                    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, 0);
                break;
            }
            default:
                break;
        }
        if (result)
            *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

// ---- clipboard ----

BOOL CGridCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0 && lParam == 0) {
        switch (LOWORD(wParam)) {
            case ID_EDIT_COPY:
                OnEditCopy();
                return TRUE;
            case ID_EDIT_CUT:
                OnEditCut();
                return TRUE;
            case ID_EDIT_PASTE:
                OnEditPaste();
                return TRUE;
            case ID_EDIT_SELECT_ALL:
                OnEditSelectAll();
                return TRUE;
            default:
                break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CGridCtrl::OnUpdateEditCommand(CCmdUI* pCmdUI) {
    switch (pCmdUI->m_nID) {
        case ID_EDIT_COPY:
        case ID_EDIT_CUT:
            pCmdUI->Enable(GetSelectedCount() > 0);
            break;
        case ID_EDIT_SELECT_ALL:
            pCmdUI->Enable(m_bEnableSelection);
            break;
        case ID_EDIT_PASTE:
            pCmdUI->Enable(IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col) &&
                           ::IsClipboardFormatAvailable(CF_TEXT));
            break;
        default:
            break;
    }
}

void CGridCtrl::CutSelectedText() {
    if (!IsEditable())
        return;
    const auto selected = m_SelectedCellMap;
    for (const auto& [key, cell] : selected) {
        if (!IsCellEditable(cell.row, cell.col))
            continue;
        SendMessageToParent(cell.row, cell.col, LVN_BEGINLABELEDIT);
        SetItemText(cell.row, cell.col, "");
        SetModified(TRUE, cell.row, cell.col);
        SendMessageToParent(cell.row, cell.col, LVN_ENDLABELEDIT);
        InvalidateCellRect(cell.row, cell.col);
    }
}

COleDataSource* CGridCtrl::CopyTextFromGrid() {
    const CCellRange selection = GetSelectedCellRange();
    if (!selection.IsValid())
        return nullptr;
    CString text;
    for (int row = selection.nMinRow; row <= selection.nMaxRow; ++row) {
        for (int col = selection.nMinCol; col <= selection.nMaxCol; ++col) {
            if (IsCellSelected(row, col))
                text += GetItemText(row, col);
            if (col != selection.nMaxCol)
                text += "\t";
        }
        text += "\n";
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)text.GetLength() + 1);
    if (!block)
        return nullptr;
    if (char* bytes = static_cast<char*>(::GlobalLock(block))) {
        std::memcpy(bytes, (LPCTSTR)text, (size_t)text.GetLength() + 1);
        ::GlobalUnlock(block);
    }
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, block);
    return source;
}

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* pDataObject) {
    if (!IsValid(cell) || !IsCellEditable(cell.row, cell.col) || !pDataObject ||
        !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    HGLOBAL block = pDataObject->GetGlobalData(CF_TEXT);
    if (!block)
        return FALSE;
    CString text;
    if (const char* bytes = static_cast<const char*>(::GlobalLock(block))) {
        const size_t size = ::GlobalSize(block);
        text = CString(std::string(bytes, strnlen(bytes, size)).c_str());
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);

    // Rows at newlines (a CR before one is dropped), cells at tabs, written from the cell on.
    const std::string all = text.str();
    size_t start = 0;
    int row = cell.row;
    while (start < all.size() && row < m_nRows) {
        size_t end = all.find('\n', start);
        std::string line = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t from = 0;
        int col = cell.col;
        for (;;) {
            const size_t tab = line.find('\t', from);
            const std::string value = line.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
            if (col < m_nCols && IsCellEditable(row, col)) {
                SetItemText(row, col, value.c_str());
                SetModified(TRUE, row, col);
                InvalidateCellRect(row, col);
            }
            if (tab == std::string::npos)
                break;
            from = tab + 1;
            ++col;
        }
        ++row;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return TRUE;
}

void CGridCtrl::OnEditCut() {
    if (!IsEditable())
        return;
    COleDataSource* source = CopyTextFromGrid();
    if (!source)
        return;
    source->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditCopy() {
    if (COleDataSource* source = CopyTextFromGrid())
        source->SetClipboard();
}

void CGridCtrl::OnEditPaste() {
    if (!IsEditable())
        return;
    CCellID cell = GetFocusCell();
    if (!IsValid(cell))
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;
    COleDataObject data;
    if (data.AttachClipboard())
        PasteTextToGrid(cell, &data);
}

void CGridCtrl::OnEditSelectAll() {
    SelectAllCells();
}

// ---- drag and drop ----

void CGridCtrl::OnBeginDrag() {
    if (!m_bAllowDragAndDrop)
        return;
    COleDataSource* source = CopyTextFromGrid();
    m_MouseMode = MOUSE_NOTHING;
    if (!source)
        return;
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, LVN_BEGINDRAG);
    m_MouseMode = MOUSE_DRAGGING;
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if (effect & DROPEFFECT_MOVE)
        CutSelectedText();
    m_MouseMode = MOUSE_NOTHING;
    delete source;
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, POINT point) {
    if (!m_bAllowDragAndDrop || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    m_LastDragOverCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return DROPEFFECT_NONE;
    SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
                 GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) | GVIS_DROPHILITED);
    RedrawCell(m_LastDragOverCell.row, m_LastDragOverCell.col);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, POINT point) {
    if (!m_bAllowDragAndDrop || !IsEditable() || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_LastDragOverCell = CCellID();
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell.row, cell.col))
        return DROPEFFECT_NONE;
    if (cell != m_LastDragOverCell) {
        if (IsValid(m_LastDragOverCell)) {
            SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
                         GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~(UINT)GVIS_DROPHILITED);
            RedrawCell(m_LastDragOverCell.row, m_LastDragOverCell.col);
        }
        m_LastDragOverCell = cell;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_DROPHILITED);
        RedrawCell(cell.row, cell.col);
    }
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CGridCtrl::OnDragLeave() {
    if (IsValid(m_LastDragOverCell)) {
        SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
                     GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~(UINT)GVIS_DROPHILITED);
        RedrawCell(m_LastDragOverCell.row, m_LastDragOverCell.col);
    }
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT, POINT) {
    if (!m_bAllowDragAndDrop || !IsCellEditable(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return FALSE;
    m_MouseMode = MOUSE_NOTHING;
    OnDragLeave();
    return PasteTextToGrid(m_LastDragOverCell, pDataObject);
}
