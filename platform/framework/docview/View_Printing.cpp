// The print protocol of a view and its standard print command.
#include "platform/base/MessageBox.h"
#include "platform/framework/docview/PrintInfo.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/AfxRes.h"

BOOL CView::OnPreparePrinting(CPrintInfo*) {
    return TRUE;
}

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
    if (!info)
        return FALSE;
    CWinApp* app = AfxGetApp();
    CPrintDialog* pd = info->m_pPD;
    if (pd->m_pd.nMinPage > pd->m_pd.nMaxPage)
        pd->m_pd.nMaxPage = pd->m_pd.nMinPage;
    if (info->m_bPreview || info->m_bDirect) {
        // The application's printer without a dialog.
        if (app) {
            if (!app->GetPrinterDeviceDefaults(&pd->m_pd))
                return FALSE;
        } else if (!pd->GetDefaults()) {
            return FALSE;
        }
        if (!pd->m_pd.hDC && !pd->CreatePrinterDC())
            return FALSE;
    } else {
        pd->m_pd.hwndOwner = m_hWnd;
        pd->m_pd.Flags |= PD_RETURNDC;
        INT_PTR result = app ? app->DoPrintDialog(pd) : pd->DoModal();
        if (result != IDOK || !pd->m_pd.hDC)
            return FALSE;
    }
    info->m_nNumPreviewPages = 1;
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
    // A view that does not know its page count prints one page.
    if (info && dc && dc->IsPrinting())
        info->m_bContinuePrinting = info->GetMaxPage() != 0xFFFF || info->m_nCurPage == 1;
}

void CView::OnPrint(CDC* dc, CPrintInfo*) {
    if (dc)
        OnDraw(dc->m_hDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnFilePrint() {
    CPrintInfo info;
    info.m_bDirect = m_nCommandRouted == ID_FILE_PRINT_DIRECT;
    if (!OnPreparePrinting(&info))
        return;
    HDC hdc = info.m_pPD->m_pd.hDC;
    if (!hdc)
        return;  // prepared without a printer: nothing to print on
    CDC dc;
    dc.Attach(hdc);
    info.m_pPD->m_pd.hDC = nullptr;  // the DC is this printout's now
    dc.m_bPrinting = TRUE;

    CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    DOCINFO doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title;

    OnBeginPrinting(&dc, &info);
    int job = ::StartDoc(dc.m_hDC, &doc);
    bool failed = job <= 0;
    if (!failed) {
        info.m_nJobNumber = job;
        UINT from = info.GetFromPage(), to = info.GetToPage();
        for (UINT page = from; page <= to && info.m_bContinuePrinting; ++page) {
            info.m_nCurPage = page;
            OnPrepareDC(&dc, &info);
            if (!info.m_bContinuePrinting)
                break;
            info.m_rectDraw = RECT{0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)};
            ::DPtoLP(dc.m_hDC, reinterpret_cast<POINT*>(&info.m_rectDraw), 2);
            if (::StartPage(dc.m_hDC) <= 0) {
                failed = true;
                break;
            }
            OnPrint(&dc, &info);
            if (::EndPage(dc.m_hDC) <= 0) {
                failed = true;
                break;
            }
            if (page == 0xFFFF)
                break;
        }
        if (failed)
            ::AbortDoc(dc.m_hDC);
        else if (::EndDoc(dc.m_hDC) <= 0) {
            // The printer did not take the document; it is kept where the user can find it.
            CString text;
            text.Format("The document could not be handed to the printer.\nIt was saved as %s.",
                        GetPrinterDocumentPath(dc.m_hDC).GetString());
            AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
            failed = false;  // told already
        }
    }
    OnEndPrinting(&dc, &info);
    if (job <= 0 || failed)
        AfxMessageBox("Failed to start print job.", MB_OK | MB_ICONEXCLAMATION);
    ::DeleteDC(dc.Detach());
}
