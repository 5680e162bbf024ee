// The report view's printing: its printer definition, the list's report as a print script, the preview
// and the print commands.
#include "app/VeltrinView.h"
#include "app/print/PrintEngine.h"
#include "app/print/PrintEngineImpl.h"
#include "app/print/TopsReport.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/AfxRes.h"

BOOL CVeltrinView::MakeReportScript(PrintEngine& engine) {
    if (!engine.IsOpen())
        return FALSE;  // the file error has been shown
    _bLandscape = m_PrinterDef.IsLandscape();
    // The list's caption is the report's title; the list key names what it was made from.
    CString title = m_List.GetCaption().IsEmpty() ? m_csListKey : m_List.GetCaption();
    CTopsReport report(&m_List, &engine, title, m_csListKey);
    report.Generate();
    return TRUE;
}

void CVeltrinView::OnFilePrintSetup() {
    if (m_PrinterDef.DoPrintDialog())
        _bLandscape = m_PrinterDef.IsLandscape();
}

LRESULT CVeltrinView::OnPrintList(WPARAM, LPARAM) {
    if (_bPreviewOpen)
        return 0;  // one preview at a time
    int remembered = m_List.GetNextSelected(-1);
    if (!m_PrinterDef.DoPrintDialog())
        return 0;
    PrintEngine engine;
    if (!MakeReportScript(engine))
        return 0;
    CWnd* main = AfxGetMainWnd();
    BOOL wasZoomed = main && main->m_hWnd && main->IsZoomed();
    if (main && main->m_hWnd && !wasZoomed)
        main->ShowWindow(SW_SHOWMAXIMIZED);
    PrintEngineImpl::CreateAndPreview(&engine, &m_PrinterDef);
    if (main && ::IsWindow(main->m_hWnd) && !wasZoomed)
        main->ShowWindow(SW_RESTORE);
    if (!m_hWnd)
        return 0;  // the program is closing
    RestoreColumnWidths(m_csLayout);
    if (remembered != -1)
        m_List.SelectItem(remembered);
    return 0;
}

BOOL CVeltrinView::OnPrintReport(UINT id) {
    PrintEngine engine;
    if (MakeReportScript(engine))
        PrintEngineImpl::Print(&engine, &m_PrinterDef, id == ID_FILE_PRINT_DIRECT);
    return TRUE;
}
