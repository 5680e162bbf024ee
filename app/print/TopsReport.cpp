#include "app/print/TopsReport.h"

#include <algorithm>
#include <ctime>

#include "app/print/PrintEngine.h"
#include "controls/model/gxListModel.h"

namespace {
constexpr double kRowHeight = 0.15;
constexpr int kMaxCellText = 256;
constexpr int kWrapWidth = 98;
}  // namespace

CTopsReport::CTopsReport(const gxListModel* list, PrintEngine* engine, LPCTSTR title, LPCTSTR fileText)
    : Report(engine), m_pList(list), m_csTitle(title), m_csFileText(fileText) {
    m_nColumns = list ? list->GetColumnCount() : 0;
    for (int c = 0; c < m_nColumns; ++c)
        m_nTotalWidth += std::max(0, list->GetColumnWidth(c));
    if (_bLandscape) {
        m_dPageWidth = 10.0;
        SetLandscape();
    }
    // Without any width the table is left out (no scale to divide by).
    m_dScale = m_nTotalWidth > 0 ? (m_dPageWidth - 2 * m_dLeftMargin) / m_nTotalWidth : 0;
}

CString CTopsReport::TableFont() const {
    return m_pEngine->m_bLandscape ? "normal" : "normal10";
}

void CTopsReport::Begin() {
    m_pEngine->AddFont("normal", _csPrintFontFace, 8, 0);
    m_pEngine->AddFont("normal10", _csPrintFontFace, 10, 0);
    m_pEngine->AddFont("header", _csPrintFontFace, 14, 0);
    m_pEngine->SetCurrentFont("normal");
}

void CTopsReport::PageHeader() {
    ++m_nPage;
    m_pEngine->SetCurrentFont("normal");
    m_pEngine->SetTextAlignment(1);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CString text;
    text.Format("Date Printed: %02d/%02d/%d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    m_pEngine->Text(m_dLeftMargin, m_dY, text, "DEFAULT");
    m_pEngine->SetTextAlignment(3);
    text.Format("Page %03d", m_nPage);
    m_pEngine->Text(m_dPageWidth - m_dLeftMargin, m_dY, text, "DEFAULT");
    LineFeed(1);
    m_dY += 0.03;
    m_pEngine->SetCurrentFont("header");
    m_pEngine->SetTextAlignment(2);
    if (!m_csTitle.IsEmpty()) {
        m_dY += 0.05;
        m_pEngine->Text(m_dPageWidth * 0.5, m_dY, m_csTitle, "DEFAULT");
    }
    LineFeed(2);

    CString font = TableFont();
    m_pEngine->SetCurrentFont(font);
    m_pEngine->SetTextAlignment(1);
    if (m_nTotalWidth <= 0)
        return;
    int x0 = 0;
    for (int c = 0; c < m_nColumns; ++c) {
        int w = std::max(0, m_pList->GetColumnWidth(c));
        if (w > 1)
            m_pEngine->TextRect(x0 * m_dScale + m_dLeftMargin, m_dY, (x0 + w) * m_dScale + m_dLeftMargin, m_dY + 0.4,
                                m_pList->GetColumnName(c), font);
        x0 += w;
    }
}

void CTopsReport::PrintRow(int row) {
    CString font = TableFont();
    double right = m_nTotalWidth * m_dScale + m_dLeftMargin;
    m_pEngine->Line(m_dLeftMargin, m_dY, right, m_dY);
    m_pEngine->Line(m_dLeftMargin, m_dY + kRowHeight, right, m_dY + kRowHeight);
    int x0 = 0;
    for (int c = 0; c < m_nColumns; ++c) {
        int w = std::max(0, m_pList->GetColumnWidth(c));
        double left = x0 * m_dScale + m_dLeftMargin, cellRight = (x0 + w) * m_dScale + m_dLeftMargin;
        m_pEngine->Line(left, m_dY, left, m_dY + kRowHeight);
        m_pEngine->Line(cellRight, m_dY, cellRight, m_dY + kRowHeight);
        if (w > 1) {
            CString text = m_pList->GetItemText(row, c).Left(kMaxCellText);
            // A path is cut from the left so that its file name shows.
            int fits = w / 6;
            if (m_pList->GetColumnName(c).Find(" File ") != -1 && text.GetLength() > fits)
                text = "..." + (fits > 3 ? text.Right(fits - 3) : CString());
            m_pEngine->TextRect(left + 0.01, m_dY, cellRight - 0.01, m_dY + kRowHeight, text, font);
        }
        x0 += w;
    }
    LineFeed(1);
}

int CTopsReport::Body() {
    m_pEngine->SetCurrentFont(TableFont());
    m_pEngine->SetTextAlignment(1);
    if (m_pList && m_nTotalWidth > 0) {
        if (m_pList->GetNextSelected(-1) != -1) {
            for (int row = m_pList->GetNextSelected(-1); row != -1; row = m_pList->GetNextSelected(row))
                PrintRow(row);
        } else {
            for (int row = 0; row < m_pList->GetItemCount(); ++row)
                PrintRow(row);
        }
    }
    LineFeed(2);
    CString records;
    records.Format("Records: %d", m_pList ? m_pList->GetItemCount() : 0);
    PrintWrapped(records);
    LineFeed(2);
    PrintWrapped(m_csFileText);
    return 1;
}

void CTopsReport::PrintWrapped(const CString& text) {
    double x = m_dLeftMargin * m_dScale + 0.05;
    CString line;
    auto flush = [&]() {
        m_pEngine->Text(x, m_dY, line, "DEFAULT");
        LineFeed(1);
        line.Empty();
    };
    int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\r') {
            flush();
            continue;
        }
        line += c;
        if (c == ' ') {
            int word = 0;
            while (i + 1 + word < length && text[i + 1 + word] != ' ' && text[i + 1 + word] != '\r')
                ++word;
            if (line.GetLength() + word >= kWrapWidth)
                flush();
        } else if (line.GetLength() >= kWrapWidth) {
            flush();
        }
    }
    if (!line.IsEmpty())
        m_pEngine->Text(x, m_dY, line, "DEFAULT");
}
