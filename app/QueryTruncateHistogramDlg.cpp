#include "app/QueryTruncateHistogramDlg.h"

#include "res/veltrin/resource.h"

CQueryTruncateHistogramDlg::CQueryTruncateHistogramDlg(LPCTSTR recordNumber, LPCTSTR count, CWnd* pParent)
    : CDialog(IDD_QUERY_TRUNCATE_HISTOGRAM, pParent), m_csRecordNumber(recordNumber), m_csCount(count) {}

BOOL CQueryTruncateHistogramDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_TOTAL_RECS, m_csCount);
    HWND edit = ::GetDlgItem(m_hWnd, IDC_LINE_LIMIT);
    ::SetWindowText(edit, "");
    ::SetFocus(edit);
    return FALSE;  // the focus is set above
}

void CQueryTruncateHistogramDlg::OnOK() {
    char text[64] = "";
    ::GetDlgItemText(m_hWnd, IDC_LINE_LIMIT, text, sizeof text);
    if (text[0])
        m_csCount = text;
    CDialog::OnOK();
}

void CQueryTruncateHistogramDlg::OnCancel() {
    CDialog::OnCancel();
}
