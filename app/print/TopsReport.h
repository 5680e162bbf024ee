// CTopsReport: the rows of a report list as a ruled table whose columns keep the list's width
// proportions, under a header with the print date, the page number, the title and the captions,
// followed by the record count and a wrapped text.
#pragma once

#include "app/print/Report.h"

class gxListModel;

class CTopsReport : public Report {
public:
    CTopsReport(const gxListModel* list, PrintEngine* engine, LPCTSTR title, LPCTSTR fileText);

    int Body() override;
    void Begin() override;
    void PageHeader() override;

    // Prints a text in lines of at most 98 characters, each followed by a line feed.
    void PrintWrapped(const CString& text);

    const gxListModel* m_pList;
    CString m_csTitle;
    CString m_csFileText;
    int m_nColumns = 0;
    int m_nPage = 0;
    double m_dPageWidth = 8.0;
    int m_nTotalWidth = 0;  // pixels
    double m_dScale = 0;    // inches per pixel
    double m_dLeftMargin = 0.1;

private:
    // The table font: "normal" in landscape, "normal10" in portrait.
    CString TableFont() const;
    void PrintRow(int row);
};
