#include "app/MyTreeView.h"

BEGIN_MESSAGE_MAP(CMyTreeCtrl, CTreeCtrl)
END_MESSAGE_MAP()

HTREEITEM CMyTreeCtrl::FindItemByText(LPCTSTR) { return nullptr; }
HTREEITEM CMyTreeCtrl::FindAndSelectItem(LPCTSTR) { return nullptr; }
HTREEITEM CMyTreeCtrl::HitTestItem(POINT) { return nullptr; }
void CMyTreeCtrl::SetRequestFromItem(HTREEITEM) {}
void CMyTreeCtrl::RemoveSelectedLog(HTREEITEM) {}
void CMyTreeCtrl::OnItemize() {}
void CMyTreeCtrl::OnRunTABroker() {}
void CMyTreeCtrl::OnRunTAServer() {}
void CMyTreeCtrl::RunTimeAnalysisOnEntireTree() {}
void CMyTreeCtrl::RunTop20OnEntireTree() {}
void CMyTreeCtrl::RunIntegrityCheckOnEntireTree() {}
int CMyTreeCtrl::QueryExistingReport(LPCTSTR) { return 0; }
void CMyTreeCtrl::OnLButtonDown(UINT, POINT) { Default(); }
void CMyTreeCtrl::OnRButtonDown(UINT, POINT) {}
int CMyTreeCtrl::ItemImage(HTREEITEM) const { return -1; }
void CMyTreeCtrl::BoldLoadedRoots() {}
void CMyTreeCtrl::DispatchRequest() {}
BOOL CMyTreeCtrl::UseExistingTa(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, UINT) { return FALSE; }

IMPLEMENT_DYNAMIC(CMyTreeView, CControlBar)

BEGIN_MESSAGE_MAP(CMyTreeView, CControlBar)
END_MESSAGE_MAP()

CMyTreeView::CMyTreeView() = default;
CMyTreeView::~CMyTreeView() = default;
BOOL CMyTreeView::Create(CWnd*, LPCTSTR, UINT) { return FALSE; }
void CMyTreeView::PopulateTreeEx(LPCTSTR) {}
void CMyTreeView::RebuildTree() {}
HTREEITEM CMyTreeView::SelectLogItem(LPCTSTR name) { return m_TreeCtrl.FindAndSelectItem(name); }
void CMyTreeView::RunTimeAnalysisOnEntireTree() { m_TreeCtrl.RunTimeAnalysisOnEntireTree(); }
void CMyTreeView::RunTop20OnEntireTree() { m_TreeCtrl.RunTop20OnEntireTree(); }
void CMyTreeView::RunIntegrityCheckOnEntireTree() { m_TreeCtrl.RunIntegrityCheckOnEntireTree(); }
BOOL CMyTreeView::GetLogTimeStamp(LPCTSTR, CString&) { return FALSE; }
BOOL CMyTreeView::FindLogFile(LPCTSTR) { return FALSE; }
void CMyTreeView::OnSizedOrDocked(int, int, BOOL, int) {}
void CMyTreeView::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
SIZE CMyTreeView::CalcFixedLayout(BOOL stretch, BOOL horz) { return CControlBar::CalcFixedLayout(stretch, horz); }
int CMyTreeView::OnCreate(LPCREATESTRUCT) { return 0; }
void CMyTreeView::OnSize(UINT, int, int) {}
BOOL CMyTreeView::OnEraseBkgnd(HDC) { return TRUE; }
LRESULT CMyTreeView::OnLoadLog(WPARAM, LPARAM) { return 0; }
