// CPrintInfo: what the print protocol of a view carries from preparing to the end of a printout.
#pragma once

#include <memory>

#include "platform/framework/dialogs/PrintDialog.h"

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = (WORD)page; }
    void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = (WORD)page; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The range to print: the dialog's pages when it asked for a range, else every page.
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetOffsetPage() const { return m_nOffsetPage; }

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE;   // printing without the dialog
    BOOL m_bPreview = FALSE;  // printing into the preview
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    UINT m_nOffsetPage = 0;
    CString m_strPageDesc;
    LPVOID m_lpUserData = nullptr;
    RECT m_rectDraw{0, 0, 0, 0};  // the page's printable area in logical units, set for each page
    int m_nJobNumber = 0;
};
