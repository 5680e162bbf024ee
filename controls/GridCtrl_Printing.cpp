// The grid's paged printing: the whole grid width scaled to the paper's printable width, a title header,
// the fixed rows on every page, as many body rows as fit and a footer with the page number and the date.
#include <algorithm>

#include "controls/GridCtrl.h"
#include "platform/base/Time.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/gdi/Printing.h"

#ifndef OUT_CHARACTER_PRECIS
#define OUT_CHARACTER_PRECIS 2
#define CLIP_CHARACTER_PRECIS 1
#endif

namespace {
// Creates a bold copy of a font.
bool CreateBold(CFont* from, CFont& bold) {
    LOGFONT lf{};
    if (!from || !from->GetLogFont(&lf))
        return false;
    lf.lfWeight = FW_BOLD;
    return bold.CreateFontIndirect(&lf) != FALSE;
}
}  // namespace

void CGridCtrl::BeginPrint(CDC* pDC, CPrintInfo* pInfo) {
    if (!pDC || !pInfo)
        return;
    // With no body rows there is no page to count; the page still gets its geometry so that the header
    // and the headings print.
    const bool bodyRows = m_nRows > m_nFixedRows;
    if (!m_hWnd)
        return;
    CClientDC windowDC(this);
    if (!windowDC.m_hDC)
        return;
    if (bodyRows && ::IsPrinterDC(pDC->m_hDC) && IsValidDevMode(GetPrinterDef().m_devMode.data(),
                                                                  GetPrinterDef().m_devMode.size()))
        ::ResetDC(pDC->m_hDC, reinterpret_cast<const DEVMODE*>(GetPrinterDef().m_devMode.data()));

    delete m_pPrinterFont;
    m_pPrinterFont = new CFont;
    m_pPrinterFont->CreateFont(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                               CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Times New Roman");
    CFont* oldFont = pDC->SelectObject(m_pPrinterFont);

    const CString sample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
    const SIZE textSize = pDC->GetTextExtent(sample);
    m_CharSize_cx = textSize.cx / 52;
    m_CharSize_cy = textSize.cy;

    m_PaperWidth = pDC->GetDeviceCaps(HORZRES);
    m_PaperHeight = pDC->GetDeviceCaps(VERTRES);
    m_LogicalPageWidth = (int)GetVirtualWidth() + m_CharSize_cx * 8;
    m_LogicalPageHeight = m_PaperWidth > 0 ? ::MulDiv(m_LogicalPageWidth, m_PaperHeight, m_PaperWidth) : 0;
    m_nBodyHeight = m_LogicalPageHeight - 6 * m_CharSize_cy - GetFixedRowHeight();

    if (bodyRows) {
        int pages = 1;
        int running = 0;
        for (int row = m_nFixedRows; row < m_nRows; ++row) {
            running += GetRowHeight(row);
            if (running > m_nBodyHeight) {
                ++pages;
                running = GetRowHeight(row);
            }
        }
        pInfo->SetMaxPage((UINT)pages);
        pInfo->m_nCurPage = 1;
    }
    pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintRows(CDC* pDC, int fromRow, int toRow, bool headings) {
    int top = 0;
    for (int row = fromRow; row <= toRow; ++row) {
        const int height = GetRowHeight(row);
        int left = 0;
        for (int col = 0; col < m_nCols; ++col) {
            const int width = GetColumnWidth(col);
            const RECT rect{left, top, left + width - 1, top + height - 1};
            if (headings)
                DrawFixedCell(pDC, row, col, rect, FALSE);
            else
                DrawCell(pDC, row, col, rect, FALSE);
            if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
                pDC->MoveTo(col == 0 ? rect.left : rect.left - 1, rect.bottom);
                pDC->LineTo(rect.right, rect.bottom);
                if (row == 0) {
                    pDC->MoveTo(rect.left, rect.top);
                    pDC->LineTo(rect.right, rect.top);
                }
            }
            if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
                pDC->MoveTo(rect.right, row == fromRow ? rect.top : rect.top - 1);
                pDC->LineTo(rect.right, rect.bottom);
                if (col == 0) {
                    pDC->MoveTo(rect.left, row == fromRow ? rect.top : rect.top - 1);
                    pDC->LineTo(rect.left, rect.bottom);
                }
            }
            left += width;
        }
        top += height;
    }
}

void CGridCtrl::PrintPage(CDC* pDC, CPrintInfo* pInfo) {
    if (!pDC || !pInfo)
        return;
    CFont* oldFont = m_pPrinterFont ? pDC->SelectObject(m_pPrinterFont) : nullptr;

    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageWidth, m_LogicalPageHeight);
    pDC->SetViewportExt(m_PaperWidth, m_PaperHeight);

    // The header.
    pDC->SetWindowOrg(-m_CharSize_cx * 4, 0);
    pInfo->m_rectDraw = RECT{0, 0, m_LogicalPageWidth - m_CharSize_cx * 8, m_CharSize_cy * 2};
    PrintHeader(pDC, pInfo);

    // The fixed rows, below the header and a blank line.
    pDC->OffsetWindowOrg(0, -m_CharSize_cy * 2);
    pDC->OffsetWindowOrg(0, -m_CharSize_cy);
    pInfo->m_rectDraw.bottom = GetFixedRowHeight();
    PrintColumnHeadings(pDC, pInfo);
    pDC->OffsetWindowOrg(0, -GetFixedRowHeight());

    // The page's first row, by the counting of BeginPrint.
    int firstRow = -1;
    if (m_nRows > m_nFixedRows) {
        int page = 1;
        int running = 0;
        if (pInfo->m_nCurPage == 1)
            firstRow = m_nFixedRows;
        for (int row = m_nFixedRows; row < m_nRows && firstRow < 0; ++row) {
            running += GetRowHeight(row);
            if (running > m_nBodyHeight) {
                ++page;
                running = GetRowHeight(row);
                if (page == (int)pInfo->m_nCurPage)
                    firstRow = row;
            }
        }
    }
    if (firstRow < 0) {
        if (oldFont)
            pDC->SelectObject(oldFont);
        return;
    }

    // The body rows that fit; a row taller than the body goes alone, clipped at the body's bottom.
    int lastRow = firstRow;
    int running = GetRowHeight(firstRow);
    while (lastRow + 1 < m_nRows && running + GetRowHeight(lastRow + 1) <= m_nBodyHeight) {
        ++lastRow;
        running += GetRowHeight(lastRow);
    }
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(-m_CharSize_cx * 4, 0, m_LogicalPageWidth, std::max(0, m_nBodyHeight) + 1);
    PrintRows(pDC, firstRow, lastRow, false);
    pDC->RestoreDC(saved);

    // The footer on the last two character heights of the page.
    pInfo->m_rectDraw.top = 0;
    pInfo->m_rectDraw.bottom = m_CharSize_cy * 2;
    pDC->SetWindowOrg(-m_CharSize_cx * 4, m_CharSize_cy * 2 - m_LogicalPageHeight);
    PrintFooter(pDC, pInfo);
    pDC->SetWindowOrg(0, 0);
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo*) {
    CFont* oldFont = m_pPrinterFont ? pDC->SelectObject(m_pPrinterFont) : nullptr;
    if (m_nFixedRows > 0)
        PrintRows(pDC, 0, m_nFixedRows - 1, true);
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo) {
    RECT rc = pInfo->m_rectDraw;
    CString title = m_strTitle;
    if (title.IsEmpty()) {
        title = AfxLoadString(AFX_IDS_APP_TITLE);
        if (title.IsEmpty() && AfxGetApp())
            title = AfxGetApp()->m_pszAppName;
    }
    CFont boldFont;
    CFont* oldFont = nullptr;
    if (CreateBold(m_pPrinterFont, boldFont))
        oldFont = pDC->SelectObject(&boldFont);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(title, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(oldBkMode);
    if (oldFont)
        pDC->SelectObject(oldFont);
    boldFont.DeleteObject();

    pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rc.left, rc.bottom);
    pDC->LineTo(rc.right, rc.bottom);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo) {
    RECT rc = pInfo->m_rectDraw;
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right, rc.top);
    CFont boldFont;
    CFont* oldFont = nullptr;
    if (CreateBold(m_pPrinterFont, boldFont))
        oldFont = pDC->SelectObject(&boldFont);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    ::OffsetRect(&rc, 0, m_CharSize_cy / 2);
    CString page;
    page.Format("Page %d of %d", (int)pInfo->m_nCurPage, (int)pInfo->GetMaxPage());
    pDC->DrawText(page, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    const CString date = CTime::GetCurrentTime().Format("%c");
    pDC->DrawText(date, &rc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    pDC->SetBkMode(oldBkMode);
    if (oldFont)
        pDC->SelectObject(oldFont);
    boldFont.DeleteObject();
}

void CGridCtrl::EndPrint(CDC*, CPrintInfo*) {
    delete m_pPrinterFont;
    m_pPrinterFont = nullptr;
}
