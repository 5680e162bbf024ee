// The grid window's drawing: background, fixed cells, cells and grid lines, and redrawing single cells.
#include <algorithm>

#include "controls/GridCtrl.h"
#include "controls/MemDC.h"

void CGridCtrl::OnPaint() {
    CPaintDC dc(this);
    if (m_bDoubleBuffer) {
        CMemDC memDC(&dc);
        OnDraw(&memDC);
    } else {
        OnDraw(&dc);
    }
}

BOOL CGridCtrl::OnEraseBkgnd(HDC) {
    return TRUE;  // everything is drawn by OnDraw
}

void CGridCtrl::FillBackground(CDC* pDC, const RECT& clipRect, const RECT& visRect) {
    const int fixedColWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();
    CBrush fixedBack(m_crFixedBkColour), textBack(m_crTextBkColour), back(m_crBkColour);
    RECT rect;
    // The fixed columns' strip, down to the bottom of the cells.
    rect = RECT{clipRect.left, clipRect.top, fixedColWidth, visRect.bottom};
    if (rect.right > rect.left && rect.bottom > rect.top)
        pDC->FillRect(&rect, &fixedBack);
    // The fixed rows' strip, across to the right end of the cells.
    if (clipRect.top < fixedRowHeight) {
        rect = RECT{fixedColWidth - 1, clipRect.top, visRect.right, fixedRowHeight};
        if (rect.right > rect.left && rect.bottom > rect.top)
            pDC->FillRect(&rect, &fixedBack);
    }
    // The cells' area.
    rect = RECT{std::max<int>(fixedColWidth, clipRect.left), std::max<int>(fixedRowHeight, clipRect.top),
                std::min<int>(visRect.right, clipRect.right), std::min<int>(visRect.bottom, clipRect.bottom)};
    if (rect.right > rect.left && rect.bottom > rect.top)
        pDC->FillRect(&rect, &textBack);
    // Beyond the last column and below the last row.
    if (visRect.right < clipRect.right) {
        rect = RECT{visRect.right, clipRect.top, clipRect.right, clipRect.bottom};
        pDC->FillRect(&rect, &back);
    }
    if (visRect.bottom < clipRect.bottom) {
        rect = RECT{clipRect.left, visRect.bottom, visRect.right, clipRect.bottom};
        if (rect.right > rect.left)
            pDC->FillRect(&rect, &back);
    }
}

void CGridCtrl::OnDraw(CDC* pDC) {
    RECT clipRect;
    if (pDC->GetClipBox(&clipRect) == ERROR)
        return;
    RECT visRect;
    const CCellRange visCellRange = GetVisibleNonFixedCellRange(&visRect);
    FillBackground(pDC, clipRect, visRect);

    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    const int minVisibleRow = visCellRange.nMinRow, minVisibleCol = visCellRange.nMinCol;
    const int maxVisibleRow = visCellRange.nMaxRow, maxVisibleCol = visCellRange.nMaxCol;

    // The top-left fixed cells, the fixed columns of the visible rows, the fixed rows of the visible
    // columns, then the cells.
    DrawCellBlock(pDC, clipRect, 0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0, true);
    DrawCellBlock(pDC, clipRect, minVisibleRow, maxVisibleRow, fixedRowHeight, 0, m_nFixedCols - 1, 0, true);
    DrawCellBlock(pDC, clipRect, 0, m_nFixedRows - 1, 0, minVisibleCol, maxVisibleCol, fixedColWidth, true);
    DrawCellBlock(pDC, clipRect, minVisibleRow, maxVisibleRow, fixedRowHeight, minVisibleCol, maxVisibleCol,
                  fixedColWidth, false);

    // Grid lines over the cells: each cell's last column and last row of pixels.
    CPen pen(PS_SOLID, 0, m_crGridColour);
    CPen* oldPen = pDC->SelectObject(&pen);
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
        int x = fixedColWidth;
        for (int col = minVisibleCol; col <= maxVisibleCol && col >= 0; ++col) {
            x += GetColumnWidth(col);
            pDC->MoveTo(x - 1, fixedRowHeight);
            pDC->LineTo(x - 1, visRect.bottom);
        }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
        int y = fixedRowHeight;
        for (int row = minVisibleRow; row <= maxVisibleRow && row >= 0; ++row) {
            y += GetRowHeight(row);
            pDC->MoveTo(fixedColWidth, y - 1);
            pDC->LineTo(visRect.right, y - 1);
        }
    }
    pDC->SelectObject(oldPen);
}

void CGridCtrl::DrawCellBlock(CDC* pDC, const RECT& clipRect, int minRow, int maxRow, int top, int minCol,
                              int maxCol, int left, bool fixed) {
    RECT rect;
    rect.bottom = top - 1;
    for (int row = minRow; row <= maxRow && row >= 0; ++row) {
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (rect.top > clipRect.bottom)
            break;
        if (rect.bottom < clipRect.top)
            continue;
        rect.right = left - 1;
        for (int col = minCol; col <= maxCol && col >= 0; ++col) {
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (rect.left > clipRect.right)
                break;
            if (rect.right < clipRect.left)
                continue;
            if (fixed)
                DrawFixedCell(pDC, row, col, rect);
            else
                DrawCell(pDC, row, col, rect);
        }
    }
}

// Draws a cell's text with its format and font into `rect` (inside its margins).
static void DrawCellText(CDC* pDC, const CGridCell* cell, RECT rect, int margin) {
    if (!cell || cell->szText.IsEmpty())
        return;
    CFont font;
    font.CreateFontIndirect(&cell->lfFont);
    CFont* oldFont = pDC->SelectObject(&font);
    rect.left += margin;
    rect.right -= margin;
    pDC->DrawText(cell->szText, &rect, cell->nFormat | DT_NOPREFIX);
    pDC->SelectObject(oldFont);
}

BOOL CGridCtrl::DrawFixedCell(CDC* pDC, int nRow, int nCol, RECT rect, BOOL bEraseBk) {
    if (!m_bAllowDraw)
        return FALSE;
    const CGridCell* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    if (bEraseBk) {
        CBrush brush(cell->crBkClr == CLR_DEFAULT ? m_crFixedBkColour : cell->crBkClr);
        RECT fill{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
        pDC->FillRect(&fill, &brush);
    }
    pDC->SetTextColor(cell->crFgClr == CLR_DEFAULT ? m_crFixedTextColour : cell->crFgClr);
    const int saved = pDC->SaveDC();
    // A fixed cell in the focus cell's row or column is drawn pressed, else raised.
    const CCellID focus = GetFocusCell();
    const bool pressed = !pDC->IsPrinting() && focus.IsValid() &&
                         ((nRow < m_nFixedRows && focus.col == nCol) || (nCol < m_nFixedCols && focus.row == nRow));
    RECT edge{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    if (!pDC->IsPrinting())
        pDC->DrawEdge(&edge, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
    RECT text{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    pDC->SetBkMode(TRANSPARENT);
    DrawCellText(pDC, cell, text, m_nMargin);
    pDC->RestoreDC(saved);
    return TRUE;
}

BOOL CGridCtrl::DrawCell(CDC* pDC, int nRow, int nCol, RECT rect, BOOL bEraseBk) {
    if (!m_bAllowDraw)
        return FALSE;
    const CGridCell* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    RECT fill{rect.left, rect.top, rect.right, rect.bottom};
    const bool focused = (cell->state & GVIS_FOCUSED) && !pDC->IsPrinting();
    const bool selected = (cell->state & (GVIS_SELECTED | GVIS_DROPHILITED)) && !pDC->IsPrinting();
    if (focused) {
        // The focus cell: its own background framed in the text colour.
        if (bEraseBk) {
            CBrush brush(cell->crBkClr == CLR_DEFAULT ? m_crTextBkColour : cell->crBkClr);
            pDC->FillRect(&fill, &brush);
        }
        CBrush frame(m_crTextColour);
        pDC->FrameRect(&fill, &frame);
        pDC->SetTextColor(cell->crFgClr == CLR_DEFAULT ? m_crTextColour : cell->crFgClr);
    } else if (selected) {
        CBrush brush(::GetSysColor(COLOR_HIGHLIGHT));
        pDC->FillRect(&fill, &brush);
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        if (bEraseBk) {
            CBrush brush(cell->crBkClr == CLR_DEFAULT ? m_crTextBkColour : cell->crBkClr);
            pDC->FillRect(&fill, &brush);
        }
        pDC->SetTextColor(cell->crFgClr == CLR_DEFAULT ? m_crTextColour : cell->crFgClr);
    }
    DrawCellText(pDC, cell, rect, m_nMargin);
    pDC->RestoreDC(saved);
    return TRUE;
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC) {
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    RECT rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return FALSE;
    bool ownDC = false;
    CDC* dc = pDC;
    if (!dc) {
        dc = new CClientDC(this);
        ownDC = dc->m_hDC != nullptr;
        if (!ownDC) {
            delete dc;
            RECT invalid{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
            InvalidateRect(&invalid, TRUE);
            return TRUE;
        }
    }
    if (IsCellFixed(nRow, nCol)) {
        DrawFixedCell(dc, nRow, nCol, rect, TRUE);
    } else {
        DrawCell(dc, nRow, nCol, rect, TRUE);
        CPen pen;
        if (pen.CreatePen(PS_SOLID, 0, m_crGridColour)) {
            CPen* oldPen = dc->SelectObject(&pen);
            if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
                dc->MoveTo(rect.left, rect.bottom);
                dc->LineTo(rect.right + 1, rect.bottom);
            }
            if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
                dc->MoveTo(rect.right, rect.top);
                dc->LineTo(rect.right, rect.bottom + 1);
            }
            dc->SelectObject(oldPen);
        }
    }
    if (ownDC)
        delete dc;
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRect(int nRow, int nCol) {
    if (!m_hWnd || !m_bAllowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    RECT rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
    return TRUE;
}
