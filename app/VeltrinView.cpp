#include "app/VeltrinView.h"

#include "app/VeltrinDoc.h"

IMPLEMENT_DYNCREATE(CVeltrinView, CView)

BEGIN_MESSAGE_MAP(CVeltrinView, CView)
END_MESSAGE_MAP()

CVeltrinView::CVeltrinView() : CVeltrinAnalysis(nullptr) {
    SetHost(this);
}

CVeltrinView::~CVeltrinView() = default;

CVeltrinDoc* CVeltrinView::GetDocument() const {
    return static_cast<CVeltrinDoc*>(m_pDocument);
}

BOOL CVeltrinView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id, LPVOID context) {
    return CView::Create(className, windowName, style, rect, parent, id, context);
}
BOOL CVeltrinView::DestroyWindow() { return CView::DestroyWindow(); }
BOOL CVeltrinView::PreCreateWindow(CREATESTRUCT& cs) { return CView::PreCreateWindow(cs); }
void CVeltrinView::OnInitialUpdate() { CView::OnInitialUpdate(); }
void CVeltrinView::OnActivateView(BOOL a, CView* v1, CView* v2) { CView::OnActivateView(a, v1, v2); }
void CVeltrinView::OnDraw(HDC) {}
LRESULT CVeltrinView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CView::WindowProc(message, wParam, lParam);
}
void CVeltrinView::SetHighlightRow(int row) { m_nHighlightRow = row; }
int CVeltrinView::GetFocusedItem() const { return -1; }
void CVeltrinView::OnRunSubitemT20(int) {}
void CVeltrinView::OnRunSubitemSQLSum(int) {}
UINT CVeltrinView::ChooseContextMenu(int, std::vector<UINT>&) const { return 0; }
void CVeltrinView::StartPumpTimer() {}
void CVeltrinView::StopPumpTimer() {}
BOOL CVeltrinView::CanCloseForMissingLog() const { return FALSE; }
BOOL CVeltrinView::IsRunningPass() const { return FALSE; }
std::unique_ptr<IAnalysisWait> CVeltrinView::OpenWaitDialog(BOOL*, int32_t) { return nullptr; }
void CVeltrinView::BeginWaitCursor() {}
void CVeltrinView::EndWaitCursor() {}
void CVeltrinView::RestoreWaitCursor() {}
void CVeltrinView::SetRecordsPane(LPCTSTR) {}
void CVeltrinView::SetStatusPane(LPCTSTR) {}
void CVeltrinView::SetLogNamePane(LPCTSTR) {}
void CVeltrinView::SetPadPageText(LPCTSTR) {}
void CVeltrinView::ClearPadPage() {}
void CVeltrinView::ActivatePadPage() {}
void CVeltrinView::ShowOutputBar() {}
int CVeltrinView::MessageBox(LPCTSTR, UINT) { return 0; }
int CVeltrinView::GetProfileInt(LPCTSTR, LPCTSTR, int d) { return d; }
CString CVeltrinView::GetProfileString(LPCTSTR, LPCTSTR, LPCTSTR d) { return d; }
BOOL CVeltrinView::WriteProfileInt(LPCTSTR, LPCTSTR, int) { return FALSE; }
BOOL CVeltrinView::WriteProfileString(LPCTSTR, LPCTSTR, LPCTSTR) { return FALSE; }
BOOL CVeltrinView::PostToView(UINT, WPARAM, LPARAM) { return FALSE; }
BOOL CVeltrinView::PostToMainWindow(UINT, WPARAM, LPARAM) { return FALSE; }
void CVeltrinView::Trace(LPCTSTR) {}
DWORD CVeltrinView::GetTickCount() { return 0; }
void CVeltrinView::Pause(DWORD) {}
BOOL CVeltrinView::ChooseCsvFile(LPCTSTR, CString&) { return FALSE; }
BOOL CVeltrinView::OpenWithAssociatedApp(LPCTSTR, BOOL) { return FALSE; }
void CVeltrinView::HideOutputBar() {}
void CVeltrinView::SelectTreeItem(LPCTSTR) {}
std::unique_ptr<IAnalysisWorker> CVeltrinView::StartWorker(std::function<void()>) { return nullptr; }
void CVeltrinView::WaitForWorkers(IAnalysisWorker* const*, int) {}
BOOL CVeltrinView::SendToView(UINT, WPARAM, LPARAM) { return FALSE; }
void CVeltrinView::PumpWaitingMessages() {}
void CVeltrinView::SetViewTimer(UINT, UINT) {}
void CVeltrinView::KillViewTimer(UINT) {}
void CVeltrinView::SetListRedraw(BOOL) {}
int CVeltrinView::QueryTruncateHistogram(LPCTSTR, CString&) { return 0; }
BOOL CVeltrinView::InitListCtrl() { return FALSE; }
void CVeltrinView::OnSize(UINT, int, int) {}
void CVeltrinView::OnTimer(UINT_PTR) {}
void CVeltrinView::OnContextMenu(CWnd*, POINT) {}
void CVeltrinView::OnDestroy() {}
LRESULT CVeltrinView::OnRestoreColumnWidths(WPARAM, LPARAM) { return 0; }
LRESULT CVeltrinView::OnHighlightRow(WPARAM, LPARAM) { return 0; }
LRESULT CVeltrinView::OnClearHighlight(WPARAM, LPARAM) { return 0; }
LRESULT CVeltrinView::OnSetItemCount(WPARAM, LPARAM) { return 0; }
void CVeltrinView::OnCmdRunSubitemT20() {}
void CVeltrinView::OnCmdRunSubitemSQLSum() {}
void CVeltrinView::OnCmdRunSubitemItemize() {}
void CVeltrinView::OnUpdateAlwaysEnabled(CCmdUI*) {}
void CVeltrinView::HighlightRow() {}
