// The question before a report is generated anew when an earlier run left its report log: use that log
// ("Use Existing", 1), run the analysis again ("Generate New", 0) or do nothing (Cancel, -1).
#pragma once

#include "platform/framework/window/Dialog.h"

class CQueryExistingReportDlg : public CDialog {
public:
    CQueryExistingReportDlg(LPCTSTR reportLog1, LPCTSTR reportLog2, CWnd* pParent = nullptr);

    // 1 use existing, 0 generate new, -1 cancelled; -1 until the dialog ends.
    int GetChoice() const { return m_nChoice; }
    // The line shown for a report log: its file name and last-write time, or nothing when it cannot be
    // opened (unchanged is flagged by the return FALSE).
    static BOOL FormatReportLogLine(LPCTSTR path, CString& line);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnUseExisting();
    void OnGenerateNew();
    DECLARE_MESSAGE_MAP()

private:
    CString m_csReportLog1;
    CString m_csReportLog2;
    int m_nChoice = -1;
};
