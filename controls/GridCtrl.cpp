#include "controls/GridCtrl.h"

#include <algorithm>

#include "controls/InPlaceEdit.h"
#include "platform/base/Registry.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/CmdUI.h"

IMPLEMENT_DYNAMIC(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_MESSAGE(WM_HSCROLL, OnHScroll)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_WM_SETCURSOR()
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditCommand)
END_MESSAGE_MAP()

namespace {
bool RegisterGridClass() {
    WNDCLASS wc{};
    if (::GetClassInfo(nullptr, GRIDCTRL_CLASSNAME, &wc))
        return true;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_3DFACE + 1);
    wc.lpszClassName = GRIDCTRL_CLASSNAME;
    return ::RegisterClass(&wc) != 0;
}

RECT Rect(int l, int t, int r, int b) {
    return RECT{l, t, r, b};
}
}  // namespace

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols) {
    RegisterGridClass();
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
    m_crTextColour = m_crWindowText;
    m_crTextBkColour = m_crWindowColour;
    m_crBkColour = m_crShadow;
    m_crFixedTextColour = m_crWindowText;
    m_crFixedBkColour = m_cr3DFace;
    m_crGridColour = RGB(192, 192, 192);

    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        m_Logfont = ncm.lfMessageFont;
    ReadWheelScrollLines();

    CGridStorage::SetRowCount(nRows);
    CGridStorage::SetColumnCount(nCols);
    CGridStorage::SetFixedRowCount(nFixedRows);
    CGridStorage::SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl() {
    if (m_hWnd)
        DestroyWindow();
    DeleteAllItems();
    m_Font.DeleteObject();
    delete m_pPrinterFont;
}

void CGridCtrl::ReadWheelScrollLines() {
    m_nRowsPerWheelNotch = 3;
    HKEY key = nullptr;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        char buffer[32] = {};
        DWORD size = sizeof(buffer) - 1;
        DWORD type = 0;
        if (::RegQueryValueEx(key, "WheelScrollLines", nullptr, &type, (LPBYTE)buffer, &size) == ERROR_SUCCESS) {
            if (type == REG_SZ)
                m_nRowsPerWheelNotch = (int)std::strtoul(buffer, nullptr, 10);
            else if (type == REG_DWORD && size == 4)
                m_nRowsPerWheelNotch = (int)*reinterpret_cast<DWORD*>(buffer);
        }
        ::RegCloseKey(key);
    }
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* parent, UINT nID, DWORD dwStyle) {
    return CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, parent, nID);
}

int CGridCtrl::OnCreate(LPCREATESTRUCT) {
    m_TitleTip.Create(this);
    m_DropTarget.Register(this);
    // The window starts with the grid's default cell font, as when it is attached to a window.
    SetGridFont(m_Logfont);
    ResetScrollBars();
    return 0;
}

void CGridCtrl::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    if (AfxIsCreatingWindow())
        return;
    // Attached to an existing window: take the default cell font as the window's and lay out.
    SetGridFont(m_Logfont);
    ResetScrollBars();
}

void CGridCtrl::OnDestroy() {
    if (m_nTimerID)
        KillTimer(m_nTimerID);
    m_nTimerID = 0;
    if (m_DropTarget.IsRegistered())
        m_DropTarget.Revoke();
    if (m_TitleTip.GetSafeHwnd())
        m_TitleTip.DestroyWindow();
    CWnd::OnDestroy();
}

// ---- storage in step with the window ----

void CGridCtrl::AfterCountChange() {
    if (m_hWnd && m_bAllowDraw) {
        ResetScrollBars();
        Invalidate();
    }
}

bool CGridCtrl::SetRowCount(int nRows) {
    if (!CGridStorage::SetRowCount(nRows))
        return false;
    AfterCountChange();
    return true;
}

bool CGridCtrl::SetColumnCount(int nCols) {
    if (!CGridStorage::SetColumnCount(nCols))
        return false;
    AfterCountChange();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int nFixedRows) {
    if (!CGridStorage::SetFixedRowCount(nFixedRows))
        return false;
    AfterCountChange();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int nFixedCols) {
    if (!CGridStorage::SetFixedColumnCount(nFixedCols))
        return false;
    AfterCountChange();
    return true;
}

bool CGridCtrl::DeleteAllItems() {
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
    CGridStorage::DeleteAllItems();
    if (m_hWnd)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::SetRowHeight(int nRow, int height) {
    if (nRow < 0 || nRow >= m_nRows || height < 0)
        return false;
    m_arRowHeights[(size_t)nRow] = (UINT)height;
    return true;
}

bool CGridCtrl::SetColumnWidth(int nCol, int width) {
    if (nCol < 0 || nCol >= m_nCols || width < 0)
        return false;
    m_arColWidths[(size_t)nCol] = (UINT)width;
    return true;
}

CGridCell* CGridCtrl::CreateCell(int nRow, int nCol) {
    return CGridStorage::CreateCell(nRow, nCol);
}

void CGridCtrl::EmptyCell(CGridCell* cell, int nRow, int nCol) {
    // An editor over the cell ends first (its end finds the cell's text gone).
    if (m_hWnd)
        if (CWnd* edit = GetDlgItem(IDC_INPLACE_EDIT))
            if (auto* editor = dynamic_cast<CInPlaceEdit*>(CWnd::FromHandlePermanent(edit->m_hWnd));
                editor && editor->GetRow() == nRow && editor->GetColumn() == nCol)
                editor->SendMessage(WM_CLOSE);
    CGridStorage::EmptyCell(cell, nRow, nCol);
}

// ---- settings ----

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol) {
    if (nRow < 1 || nCol < 1) {
        m_bModified = bModified;
    } else if (CGridCell* cell = IsValid(nRow, nCol) ? GetCell(nRow, nCol) : nullptr) {
        if (bModified) {
            cell->state |= GVIS_MODIFIED;
            m_bModified = TRUE;
        } else {
            cell->state &= ~(UINT)GVIS_MODIFIED;
        }
    }
    if (!m_bModified)
        for (int row = 0; row < m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                if (CGridCell* cell = GetCell(row, col))
                    cell->state &= ~(UINT)GVIS_MODIFIED;
}

BOOL CGridCtrl::GetModified(int nRow, int nCol) const {
    if (nRow < 0 || nCol < 0)
        return m_bModified;
    return (GetItemState(nRow, nCol) & GVIS_MODIFIED) != 0;
}

void CGridCtrl::SetListMode(BOOL bEnableListMode) {
    ResetSelectedRange();
    m_nSortColumn = -1;
    m_bListMode = bEnableListMode;
    if (m_hWnd)
        Invalidate();
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars) {
    if (bAllowDraw && !m_bAllowDraw && m_hWnd)
        Invalidate();
    m_bAllowDraw = bAllowDraw;
    if (bResetScrollBars && m_hWnd)
        ResetScrollBars();
}

void CGridCtrl::EnableSelection(BOOL bEnable) {
    ResetSelectedRange();
    m_bEnableSelection = bEnable;
    ResetSelectedRange();
}

void CGridCtrl::SetGridLines(int nWhichLines) {
    m_nGridLines = nWhichLines;
    if (m_hWnd)
        Invalidate();
}

void CGridCtrl::ResetSelectedRange() {
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

// ---- sizes and positions ----

long CGridCtrl::GetVirtualWidth() const {
    long width = 0;
    for (int col = 0; col < m_nCols; ++col)
        width += (long)m_arColWidths[(size_t)col];
    return width;
}

long CGridCtrl::GetVirtualHeight() const {
    long height = 0;
    for (int row = 0; row < m_nRows; ++row)
        height += (long)m_arRowHeights[(size_t)row];
    return height;
}

int CGridCtrl::GetFixedRowHeight() const {
    int height = 0;
    for (int row = 0; row < m_nFixedRows; ++row)
        height += (int)m_arRowHeights[(size_t)row];
    return height;
}

int CGridCtrl::GetFixedColumnWidth() const {
    int width = 0;
    for (int col = 0; col < m_nFixedCols; ++col)
        width += (int)m_arColWidths[(size_t)col];
    return width;
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos) {
    if (!m_hWnd)
        return 0;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    if (bGetTrackPos) {
        if (CWnd::GetScrollInfo(nBar, &si, SIF_TRACKPOS))
            return si.nTrackPos;
    } else if (CWnd::GetScrollInfo(nBar, &si, SIF_POS)) {
        return si.nPos;
    }
    return 0;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw) {
    if (!m_hWnd)
        return FALSE;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = nPos;
    return CWnd::SetScrollInfo(nBar, &si, bRedraw);
}

void CGridCtrl::ResetScrollBars() {
    if (!m_bAllowDraw || !m_hWnd)
        return;
    RECT rect;
    GetClientRect(&rect);
    // The whole area the bars may take from.
    const DWORD style = GetStyle();
    if (style & WS_VSCROLL)
        rect.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL)
        rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    const long totalWidth = GetVirtualWidth();
    const long totalHeight = GetVirtualHeight();
    bool needV = totalHeight > rect.bottom - rect.top;
    bool needH = totalWidth > rect.right - rect.left - (needV ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
    if (needH && !needV)
        needV = totalHeight > rect.bottom - rect.top - ::GetSystemMetrics(SM_CYHSCROLL);
    if (needV)
        rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    if (needH)
        rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);

    m_nVScrollMax = needV ? (int)(totalHeight - (rect.bottom - rect.top)) : 0;
    m_nHScrollMax = needH ? (int)(totalWidth - (rect.right - rect.left)) : 0;

    if (needV != ((style & WS_VSCROLL) != 0))
        ShowScrollBar(SB_VERT, needV);
    if (needH != ((style & WS_HSCROLL) != 0))
        ShowScrollBar(SB_HORZ, needH);

    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    if (needV) {
        si.nMax = (int)totalHeight - 1;
        si.nPage = (UINT)(rect.bottom - rect.top);
        si.nPos = std::min(GetScrollPos32(SB_VERT), m_nVScrollMax);
        CWnd::SetScrollInfo(SB_VERT, &si, TRUE);
    } else if (style & WS_VSCROLL) {
        si.nMax = 0;
        si.nPage = 0;
        si.nPos = 0;
        CWnd::SetScrollInfo(SB_VERT, &si, TRUE);
    }
    if (needH) {
        si.nMax = (int)totalWidth - 1;
        si.nPage = (UINT)(rect.right - rect.left);
        si.nPos = std::min(GetScrollPos32(SB_HORZ), m_nHScrollMax);
        CWnd::SetScrollInfo(SB_HORZ, &si, TRUE);
    } else if (style & WS_HSCROLL) {
        si.nMax = 0;
        si.nPage = 0;
        si.nPos = 0;
        CWnd::SetScrollInfo(SB_HORZ, &si, TRUE);
    }
}

CCellID CGridCtrl::GetTopleftNonFixedCell() {
    const int nVertScroll = GetScrollPos32(SB_VERT), nHorzScroll = GetScrollPos32(SB_HORZ);
    int nColumn = m_nFixedCols, nRight = 0;
    while (nRight < nHorzScroll && nColumn < m_nCols - 1)
        nRight += GetColumnWidth(nColumn++);
    int nRow = m_nFixedRows, nTop = 0;
    while (nTop < nVertScroll && nRow < m_nRows - 1)
        nTop += GetRowHeight(nRow++);
    return CCellID(nRow, nColumn);
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect) {
    RECT rect{};
    if (m_hWnd)
        GetClientRect(&rect);
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    int bottom = GetFixedRowHeight();
    int i = idTopLeft.row;
    for (; i < m_nRows; ++i) {
        bottom += GetRowHeight(i);
        if (bottom >= rect.bottom) {
            bottom = rect.bottom;
            break;
        }
    }
    const int maxVisibleRow = std::min(i, m_nRows - 1);
    int right = GetFixedColumnWidth();
    for (i = idTopLeft.col; i < m_nCols; ++i) {
        right += GetColumnWidth(i);
        if (right >= rect.right) {
            right = rect.right;
            break;
        }
    }
    const int maxVisibleCol = std::min(i, m_nCols - 1);
    if (pRect)
        *pRect = Rect(rect.left, rect.top, right, bottom);
    return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) {
    if (!IsValid(nRow, nCol))
        return FALSE;
    CCellID idTopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows)
        idTopLeft = GetTopleftNonFixedCell();
    if ((nRow >= m_nFixedRows && nRow < idTopLeft.row) || (nCol >= m_nFixedCols && nCol < idTopLeft.col))
        return FALSE;
    p->x = 0;
    if (nCol < m_nFixedCols) {
        for (int i = 0; i < nCol; ++i)
            p->x += GetColumnWidth(i);
    } else {
        for (int i = 0; i < m_nFixedCols; ++i)
            p->x += GetColumnWidth(i);
        for (int i = idTopLeft.col; i < nCol; ++i)
            p->x += GetColumnWidth(i);
    }
    p->y = 0;
    if (nRow < m_nFixedRows) {
        for (int i = 0; i < nRow; ++i)
            p->y += GetRowHeight(i);
    } else {
        for (int i = 0; i < m_nFixedRows; ++i)
            p->y += GetRowHeight(i);
        for (int i = idTopLeft.row; i < nRow; ++i)
            p->y += GetRowHeight(i);
    }
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect) {
    POINT origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return FALSE;
    pRect->left = origin.x;
    pRect->top = origin.y;
    pRect->right = origin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

BOOL CGridCtrl::GetTextRect(int nRow, int nCol, LPRECT pRect) {
    // No image list here, so the text takes the whole cell.
    return GetCellRect(nRow, nCol, pRect);
}

BOOL CGridCtrl::GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect) {
    POINT minOrigin, maxOrigin;
    if (!GetCellOrigin(cellRange.nMinRow, cellRange.nMinCol, &minOrigin) ||
        !GetCellOrigin(cellRange.nMaxRow, cellRange.nMaxCol, &maxOrigin))
        return FALSE;
    lpRect->left = minOrigin.x;
    lpRect->top = minOrigin.y;
    lpRect->right = maxOrigin.x + GetColumnWidth(cellRange.nMaxCol) - 1;
    lpRect->bottom = maxOrigin.y + GetRowHeight(cellRange.nMaxRow) - 1;
    return TRUE;
}

CCellID CGridCtrl::GetCellFromPt(POINT point, BOOL bAllowFixedCellCheck) {
    CCellID idTopLeft = GetTopleftNonFixedCell();
    CCellID cellID;
    const int fixedColWidth = GetFixedColumnWidth();
    if (point.x < 0 || (!bAllowFixedCellCheck && point.x < fixedColWidth)) {
        cellID.col = -1;
    } else if (point.x < fixedColWidth) {
        int xpos = 0, col = 0;
        while (col < m_nFixedCols) {
            xpos += GetColumnWidth(col);
            if (xpos > point.x)
                break;
            ++col;
        }
        cellID.col = col;
    } else {
        int xpos = fixedColWidth, col = idTopLeft.col;
        while (col < m_nCols) {
            xpos += GetColumnWidth(col);
            if (xpos > point.x)
                break;
            ++col;
        }
        cellID.col = col >= m_nCols ? -1 : col;
    }
    const int fixedRowHeight = GetFixedRowHeight();
    if (point.y < 0 || (!bAllowFixedCellCheck && point.y < fixedRowHeight)) {
        cellID.row = -1;
    } else if (point.y < fixedRowHeight) {
        int ypos = 0, row = 0;
        while (row < m_nFixedRows) {
            ypos += GetRowHeight(row);
            if (ypos > point.y)
                break;
            ++row;
        }
        cellID.row = row;
    } else {
        int ypos = fixedRowHeight, row = idTopLeft.row;
        while (row < m_nRows) {
            ypos += GetRowHeight(row);
            if (ypos > point.y)
                break;
            ++row;
        }
        cellID.row = row >= m_nRows ? -1 : row;
    }
    return cellID;
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol) {
    if (!m_hWnd)
        return FALSE;
    RECT rect;
    GetClientRect(&rect);
    CCellID TopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows) {
        TopLeft = GetTopleftNonFixedCell();
        if (nCol >= m_nFixedCols && nCol < TopLeft.col)
            return FALSE;
        if (nRow >= m_nFixedRows && nRow < TopLeft.row)
            return FALSE;
    }
    int x = 0;
    if (nCol < m_nFixedCols) {
        for (int i = 0; i <= nCol; ++i) {
            if (x >= rect.right)
                return FALSE;
            x += GetColumnWidth(i);
        }
    } else {
        x = GetFixedColumnWidth();
        for (int i = TopLeft.col; i <= nCol; ++i) {
            if (x >= rect.right)
                return FALSE;
            x += GetColumnWidth(i);
        }
    }
    int y = 0;
    if (nRow < m_nFixedRows) {
        for (int i = 0; i <= nRow; ++i) {
            if (y >= rect.bottom)
                return FALSE;
            y += GetRowHeight(i);
        }
    } else {
        if (nRow < TopLeft.row)
            return FALSE;
        y = GetFixedRowHeight();
        for (int i = TopLeft.row; i <= nRow; ++i) {
            if (y >= rect.bottom)
                return FALSE;
            y += GetRowHeight(i);
        }
    }
    return TRUE;
}

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
    if (!m_hWnd || !IsValid(nRow, nCol))
        return;
    RECT client;
    GetClientRect(&client);
    // Vertically: the row's top must lie at or below the fixed rows, its bottom within the client area.
    if (nRow >= m_nFixedRows) {
        int rowTop = 0;
        for (int i = m_nFixedRows; i < nRow; ++i)
            rowTop += GetRowHeight(i);
        const int visibleHeight = client.bottom - GetFixedRowHeight();
        int pos = GetScrollPos32(SB_VERT);
        if (rowTop < pos)
            pos = rowTop;
        else if (rowTop + GetRowHeight(nRow) > pos + visibleHeight) {
            // Scroll by whole rows until the row's bottom fits.
            int top = 0, i = m_nFixedRows;
            while (i < nRow && rowTop + GetRowHeight(nRow) - top > visibleHeight)
                top += GetRowHeight(i++);
            pos = top;
        }
        pos = std::clamp(pos, 0, m_nVScrollMax);
        if (pos != GetScrollPos32(SB_VERT)) {
            SetScrollPos32(SB_VERT, pos);
            Invalidate();
        }
    }
    if (nCol >= m_nFixedCols) {
        int colLeft = 0;
        for (int i = m_nFixedCols; i < nCol; ++i)
            colLeft += GetColumnWidth(i);
        const int visibleWidth = client.right - GetFixedColumnWidth();
        int pos = GetScrollPos32(SB_HORZ);
        if (colLeft < pos)
            pos = colLeft;
        else if (colLeft + GetColumnWidth(nCol) > pos + visibleWidth) {
            int left = 0, i = m_nFixedCols;
            while (i < nCol && colLeft + GetColumnWidth(nCol) - left > visibleWidth)
                left += GetColumnWidth(i++);
            pos = left;
        }
        pos = std::clamp(pos, 0, m_nHScrollMax);
        if (pos != GetScrollPos32(SB_HORZ)) {
            SetScrollPos32(SB_HORZ, pos);
            Invalidate();
        }
    }
}

BOOL CGridCtrl::MouseOverRowResizeArea(POINT point) {
    if (point.x >= GetFixedColumnWidth())
        return FALSE;
    CCellID idCurrentCell = GetCellFromPt(point);
    POINT start;
    if (!GetCellOrigin(idCurrentCell.row, idCurrentCell.col, &start))
        return FALSE;
    const int endy = start.y + GetRowHeight(idCurrentCell.row);
    if ((point.y - start.y <= m_nResizeCaptureRange && idCurrentCell.row != 0) ||
        endy - point.y <= m_nResizeCaptureRange)
        return TRUE;
    return FALSE;
}

BOOL CGridCtrl::MouseOverColumnResizeArea(POINT point) {
    if (point.y >= GetFixedRowHeight())
        return FALSE;
    CCellID idCurrentCell = GetCellFromPt(point);
    POINT start;
    if (!GetCellOrigin(idCurrentCell.row, idCurrentCell.col, &start))
        return FALSE;
    const int endx = start.x + GetColumnWidth(idCurrentCell.col);
    if ((point.x - start.x <= m_nResizeCaptureRange && idCurrentCell.col != 0) ||
        endx - point.x <= m_nResizeCaptureRange)
        return TRUE;
    return FALSE;
}

SIZE CGridCtrl::GetCellExtent(int nRow, int nCol, CDC* pDC) {
    const LOGFONT* plf = GetItemFont(nRow, nCol);
    CFont font;
    font.CreateFontIndirect(plf);
    HGDIOBJ oldFont = ::SelectObject(pDC->m_hDC, font.m_hObject);
    SIZE size = pDC->GetTextExtent(GetItemText(nRow, nCol));
    ::SelectObject(pDC->m_hDC, oldFont);
    size.cx += 2 * m_nMargin;
    size.cy += 2 * m_nMargin;
    return size;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol) {
    if (nCol < 0 || nCol >= m_nCols || !m_hWnd)
        return FALSE;
    CClientDC dc(this);
    int width = 0;
    for (int row = 0; row < m_nRows; ++row)
        width = std::max<int>(width, GetCellExtent(row, nCol, &dc).cx);
    m_arColWidths[(size_t)nCol] = (UINT)width;
    ResetScrollBars();
    Invalidate();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow) {
    if (nRow < 0 || nRow >= m_nRows || !m_hWnd)
        return FALSE;
    CClientDC dc(this);
    int height = 0;
    for (int col = 0; col < m_nCols; ++col)
        height = std::max<int>(height, GetCellExtent(nRow, col, &dc).cy);
    m_arRowHeights[(size_t)nRow] = (UINT)height;
    ResetScrollBars();
    Invalidate();
    return TRUE;
}

// ---- font and colours ----

void CGridCtrl::SetGridFont(const LOGFONT& lf) {
    m_Logfont = lf;
    for (auto& row : m_RowData)
        for (auto& cell : row)
            if (cell)
                cell->lfFont = lf;
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(&m_Logfont);
    HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, m_Font.m_hObject);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nMargin = dc.GetTextExtent(" ", 1).cx;
    ::SelectObject(dc.m_hDC, oldFont);
    m_nDefRowHeight = tm.tmHeight + tm.tmExternalLeading + 2 * m_nMargin;
    m_nDefColWidth = 12 * tm.tmAveCharWidth + 2 * m_nMargin;
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM lParam) {
    LRESULT result = Default();
    LOGFONT lf{};
    if (hFont && ::GetObject((HGDIOBJ)hFont, sizeof(lf), &lf))
        SetGridFont(lf);
    (void)lParam;
    if (m_hWnd)
        Invalidate();
    return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM) {
    return (LRESULT)(m_Font.m_hObject ? m_Font.m_hObject : nullptr);
}

LRESULT CGridCtrl::OnSysColorChange(WPARAM, LPARAM) {
    Default();
    if (m_crTextColour == m_crWindowText)
        m_crTextColour = ::GetSysColor(COLOR_WINDOWTEXT);
    if (m_crTextBkColour == m_crWindowColour)
        m_crTextBkColour = ::GetSysColor(COLOR_WINDOW);
    if (m_crBkColour == m_crShadow)
        m_crBkColour = ::GetSysColor(COLOR_3DSHADOW);
    if (m_crFixedTextColour == m_crWindowText)
        m_crFixedTextColour = ::GetSysColor(COLOR_WINDOWTEXT);
    if (m_crFixedBkColour == m_cr3DFace)
        m_crFixedBkColour = ::GetSysColor(COLOR_3DFACE);
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
    return 0;
}
