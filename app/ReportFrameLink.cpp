#include "app/ReportFrameLink.h"

#include "app/MainFrm.h"
#include "app/VeltrinApp.h"
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

namespace {
// The program's main frame, when it is the main window.
CMainFrame* Frame() {
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd ? dynamic_cast<CMainFrame*>(main) : nullptr;
}
}  // namespace

int CReportFrameLink::AddPadPage(LPCTSTR key) {
    CMainFrame* frame = Frame();
    return frame ? frame->AddPadPage(key) : -1;
}
BOOL CReportFrameLink::IsPadPage(LPCTSTR key) {
    CMainFrame* frame = Frame();
    return frame ? frame->IsPadPage(key) : FALSE;
}
void CReportFrameLink::ReplacePadPageText(LPCTSTR key, LPCTSTR text) {
    if (CMainFrame* frame = Frame())
        frame->ReplacePadPageText(key, text);
}
void CReportFrameLink::ClearPadPage(LPCTSTR key) {
    if (CMainFrame* frame = Frame())
        frame->ClearPadPage(key);
}
void CReportFrameLink::ShowPadPage(LPCTSTR key) {
    if (CMainFrame* frame = Frame())
        frame->ShowPadPage(key);
}
void CReportFrameLink::ActivatePadPage(LPCTSTR key) {
    if (CMainFrame* frame = Frame())
        frame->ActivatePadPage(key);
}
void CReportFrameLink::ClosePadPage(LPCTSTR key) {
    if (CMainFrame* frame = Frame())
        frame->ClosePadPage(key);
}
void CReportFrameLink::ShowOutputBar() {
    if (CMainFrame* frame = Frame())
        frame->ShowOutputBar();
}
void CReportFrameLink::HideOutputBar() {
    if (CMainFrame* frame = Frame())
        frame->HideOutputBar();
}
void CReportFrameLink::UpdateStatusPane0() {
    if (CMainFrame* frame = Frame())
        frame->UpdateStatusPane0();
}
void CReportFrameLink::UpdateStatusPane3200() {
    if (CMainFrame* frame = Frame())
        frame->UpdateStatusPane3200();
}
void CReportFrameLink::UpdateStatusPane3201() {
    if (CMainFrame* frame = Frame())
        frame->UpdateStatusPane3201();
}
void CReportFrameLink::SelectTreeItem(LPCTSTR name) {
    if (CMainFrame* frame = Frame())
        frame->SelectTreeItem(name);
}

CDocument* CReportFrameLink::OpenReportDocument(LPCTSTR name) {
    CWinApp* app = AfxGetApp();
    return app ? app->OpenDocumentFile(name) : nullptr;
}

void CReportFrameLink::PruneRecentFileList() {
    if (auto* app = dynamic_cast<CVeltrinApp*>(AfxGetApp()))
        app->PruneRecentFileList();
}
