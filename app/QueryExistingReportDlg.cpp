#include "app/QueryExistingReportDlg.h"

#include <sys/stat.h>

#include <ctime>

#include "res/veltrin/resource.h"

BEGIN_MESSAGE_MAP(CQueryExistingReportDlg, CDialog)
ON_BN_CLICKED(IDC_USE_EXISTING, CQueryExistingReportDlg::OnUseExisting)
ON_BN_CLICKED(IDC_GENERATE_NEW, CQueryExistingReportDlg::OnGenerateNew)
END_MESSAGE_MAP()

CQueryExistingReportDlg::CQueryExistingReportDlg(LPCTSTR reportLog1, LPCTSTR reportLog2, CWnd* pParent)
    : CDialog(IDD_QUERY_EXISTING_REPORT, pParent),
      m_csReportLog1(reportLog1 ? reportLog1 : ""),
      m_csReportLog2(reportLog2 ? reportLog2 : "") {}

BOOL CQueryExistingReportDlg::FormatReportLogLine(LPCTSTR path, CString& line) {
    struct stat st {};
    if (!path || !*path || ::stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return FALSE;
    std::tm local{};
    time_t when = st.st_mtime;
    localtime_r(&when, &local);
    CString name(path);
    int slash = name.ReverseFind('/');
    if (slash >= 0)
        name = name.Mid(slash + 1);
    line.Format("%s\t\t%02d/%02d/%d  %02d:%02d", name.GetString(), local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
    return TRUE;
}

BOOL CQueryExistingReportDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CString* paths[] = {&m_csReportLog1, &m_csReportLog2};
    const int ids[] = {IDC_EXISTING_LOG1, IDC_EXISTING_LOG2};
    for (int i = 0; i < 2; ++i) {
        CString line;
        if (paths[i]->IsEmpty())
            SetDlgItemText(ids[i], "");
        else if (FormatReportLogLine(*paths[i], line))
            SetDlgItemText(ids[i], line);
    }
    return TRUE;
}

void CQueryExistingReportDlg::OnUseExisting() {
    m_nChoice = 1;
    EndDialog(IDC_USE_EXISTING);
}

void CQueryExistingReportDlg::OnGenerateNew() {
    m_nChoice = 0;
    EndDialog(IDC_GENERATE_NEW);
}

void CQueryExistingReportDlg::OnCancel() {
    m_nChoice = -1;
    CDialog::OnCancel();
}
