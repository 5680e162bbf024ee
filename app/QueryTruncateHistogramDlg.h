// The SQL histogram's question when a statement ran more than 100,000 times: shows the count and lets
// the user type a lower number of lines to take.
#pragma once

#include "platform/framework/window/Dialog.h"

class CQueryTruncateHistogramDlg : public CDialog {
public:
    CQueryTruncateHistogramDlg(LPCTSTR recordNumber, LPCTSTR count, CWnd* pParent = nullptr);

    const CString& GetRecordNumber() const { return m_csRecordNumber; }
    // The count shown; after Continue, the number typed when one was typed.
    const CString& GetCount() const { return m_csCount; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString m_csRecordNumber;
    CString m_csCount;
};
