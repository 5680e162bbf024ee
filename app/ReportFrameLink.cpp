#include "app/ReportFrameLink.h"

#include "platform/framework/app/WinThread.h"

namespace {
CReportFrameLink g_programLink;
CReportFrameLink* g_link = nullptr;
}  // namespace

CReportFrameLink& CReportFrameLink::Get() {
    return g_link ? *g_link : g_programLink;
}

CReportFrameLink* CReportFrameLink::Set(CReportFrameLink* link) {
    CReportFrameLink* old = g_link;
    g_link = link;
    return old;
}

int CReportFrameLink::AddPadPage(LPCTSTR) { return -1; }
BOOL CReportFrameLink::IsPadPage(LPCTSTR) { return FALSE; }
void CReportFrameLink::ReplacePadPageText(LPCTSTR, LPCTSTR) {}
void CReportFrameLink::ClearPadPage(LPCTSTR) {}
void CReportFrameLink::ShowPadPage(LPCTSTR) {}
void CReportFrameLink::ActivatePadPage(LPCTSTR) {}
void CReportFrameLink::ClosePadPage(LPCTSTR) {}
void CReportFrameLink::ShowOutputBar() {}
void CReportFrameLink::HideOutputBar() {}
void CReportFrameLink::UpdateStatusPane0() {}
void CReportFrameLink::UpdateStatusPane3200() {}
void CReportFrameLink::UpdateStatusPane3201() {}
void CReportFrameLink::SelectTreeItem(LPCTSTR) {}

CDocument* CReportFrameLink::OpenReportDocument(LPCTSTR name) {
    CWinApp* app = AfxGetApp();
    return app ? app->OpenDocumentFile(name) : nullptr;
}

void CReportFrameLink::PruneRecentFileList() {}
