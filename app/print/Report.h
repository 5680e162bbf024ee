// Report: lays out the pages of a print script. It keeps the vertical position (inches from the page
// top), breaks pages when a line feed passes the bottom margin and asks its subclass for each page's
// header and for the body.
#pragma once

#include "platform/base/String.h"

class PrintEngine;

class Report {
public:
    explicit Report(PrintEngine* engine) : m_pEngine(engine) {}
    virtual ~Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // Moves down n lines of 0.15 inch; past the bottom margin a new page starts.
    virtual void LineFeed(int lines);
    virtual int Body() = 0;
    // Adds the report's fonts.
    virtual void Begin() {}
    virtual void AfterBody() {}
    virtual void PageHeader() {}
    virtual void PageFooter() {}

    // Writes the whole script; the body's result.
    int Generate();
    void SetLandscape();

    double m_dBottomMargin = 0.25;
    double m_dPageHeight = 10.0;
    double m_dY = 0;
    PrintEngine* m_pEngine;

protected:
    void StartPage();
    void EndPage();
    void PageBreak();
};

// Landscape for the next report when not 0; the report view sets it from its printer definition.
extern int _bLandscape;
// Face of the report fonts.
extern CString _csPrintFontFace;
