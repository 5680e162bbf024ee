#include "app/print/Report.h"

#include "app/print/PrintEngine.h"

int _bLandscape = 0;
CString _csPrintFontFace = "Arial";

void Report::LineFeed(int lines) {
    m_dY += lines * 0.15;
    if (m_dY > m_dPageHeight - m_dBottomMargin)
        PageBreak();
}

int Report::Generate() {
    m_pEngine->Start();
    Begin();
    StartPage();
    int result = Body();
    EndPage();
    AfterBody();
    m_pEngine->End();
    return result;
}

void Report::SetLandscape() {
    m_dPageHeight = 8.0;
    m_pEngine->m_bLandscape = TRUE;
}

void Report::StartPage() {
    m_dY = 0;
    PageHeader();
    LineFeed(1);
}

void Report::EndPage() {
    m_dY = m_dPageHeight - m_dBottomMargin;
    PageFooter();
}

void Report::PageBreak() {
    EndPage();
    m_pEngine->NewPage();
    StartPage();
}
