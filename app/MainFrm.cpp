#include "app/MainFrm.h"

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

void CMainFrame::LoadWorkspace() {}
BOOL CMainFrame::ShowWithSavedPlacement(int showCmd) {
    ShowWindow(showCmd);
    return FALSE;
}
void CMainFrame::OnClose() {}
CView* CMainFrame::GetActiveLogView() { return nullptr; }
CView* CMainFrame::FindDocumentView(LPCTSTR) { return nullptr; }
int CMainFrame::AddPadPage(LPCTSTR) { return -1; }
void CMainFrame::ActivatePadPage(LPCTSTR) {}
void CMainFrame::SetPadPageText(LPCTSTR, LPCTSTR) {}
void CMainFrame::ClearPadPage(LPCTSTR) {}
void CMainFrame::ReplacePadPageText(LPCTSTR, LPCTSTR) {}
void CMainFrame::ClosePadPage(LPCTSTR) {}
BOOL CMainFrame::IsPadPage(LPCTSTR) { return FALSE; }
void CMainFrame::ShowPadPage(LPCTSTR) {}
void CMainFrame::ShowOutputBar() {}
void CMainFrame::HideOutputBar() {}
BOOL CMainFrame::SelectTreeItem(LPCTSTR) { return FALSE; }
void CMainFrame::UpdateStatusPane0() {}
void CMainFrame::UpdateStatusPane3200() {}
void CMainFrame::UpdateStatusPane3201() {}
void CMainFrame::UpdateTitle() {}
void CMainFrame::OnFindInTree() {}
void CMainFrame::OnFindInList() {}
void CMainFrame::OnFindNext() {}
void CMainFrame::OnOptions() {}
void CMainFrame::OnToggleOutputPad() {}
void CMainFrame::OnHideOutputPad() {}
BOOL CMainFrame::OnSendViewAction(UINT) { return TRUE; }
void CMainFrame::OnCustomize() {}
void CMainFrame::OnImport() {}
void CMainFrame::OnStats() {}
void CMainFrame::OnCopyPad() {}
void CMainFrame::OnRunT20OnEntireTree() {}
void CMainFrame::OnRunTAOnEntireTree() {}
void CMainFrame::OnRunTICOnEntireTree() {}
void CMainFrame::OnPrintPreview() {}
BOOL CMainFrame::OnToggleControlBar(UINT) { return TRUE; }
LRESULT CMainFrame::OnViewData(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnTreeItemRequest(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnGotoLineRequest(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnLogNotAvailable(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnLoadLog(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnRebuildTree(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnAddPadPage(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnSetPadText(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnSavePadAs(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnRefreshView(WPARAM, LPARAM) { return 0; }
LRESULT CMainFrame::OnRelayToView(WPARAM, LPARAM) { return 0; }
int CMainFrame::OnCreate(LPCREATESTRUCT cs) { return CMDIFrameWnd::OnCreate(cs); }
void CMainFrame::OnPaint() { Default(); }
void CMainFrame::OnContextMenu(CWnd*, POINT) {}
void CMainFrame::OnUpdateLogNamePane(CCmdUI*) {}
void CMainFrame::OnUpdateRecordsPane(CCmdUI*) {}
void CMainFrame::OnUpdateNeedsLoadedLog(CCmdUI*) {}
void CMainFrame::OnUpdateGreyed(CCmdUI*) {}
BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    return CMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}
void CMainFrame::SetToolbarButtonSizes(CToolBar&, int, int) {}
CView* CMainFrame::OpenReportView(LPCTSTR) { return nullptr; }
BOOL CMainFrame::SearchLogsInternal(LPCTSTR) { return FALSE; }
BOOL CMainFrame::SearchWithSifter(LPCTSTR) { return FALSE; }

CMainFrame* GetMainFrame() { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }
