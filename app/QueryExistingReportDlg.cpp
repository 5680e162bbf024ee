#include "app/QueryExistingReportDlg.h"

BEGIN_MESSAGE_MAP(CQueryExistingReportDlg, CDialog)
END_MESSAGE_MAP()

CQueryExistingReportDlg::CQueryExistingReportDlg(LPCTSTR reportLog1, LPCTSTR reportLog2, CWnd* pParent)
    : CDialog(169, pParent), m_csReportLog1(reportLog1 ? reportLog1 : ""), m_csReportLog2(reportLog2 ? reportLog2 : "") {}

BOOL CQueryExistingReportDlg::FormatReportLogLine(LPCTSTR, CString&) { return FALSE; }
BOOL CQueryExistingReportDlg::OnInitDialog() { return CDialog::OnInitDialog(); }
void CQueryExistingReportDlg::OnCancel() { m_nChoice = -1; CDialog::OnCancel(); }
void CQueryExistingReportDlg::OnUseExisting() {}
void CQueryExistingReportDlg::OnGenerateNew() {}
