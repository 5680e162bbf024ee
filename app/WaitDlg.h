// The modeless "Please Wait..." dialog of the long passes: a message line, a progress bar that
// only moves forward, and a continue flag of the caller's that Cancel (or a closing message) clears.
#pragma once

#include <memory>

#include "analysis/AnalysisHost.h"
#include "platform/framework/window/Dialog.h"
#include "platform/framework/controls/ProgressCtrl.h"

class CWaitDlg : public CDialog {
public:
    CWaitDlg(BOOL* pbContinue, int nTotal, CWnd* pParent);
    ~CWaitDlg() override;

    void SetMessageText(LPCTSTR text);
    BOOL SetProgress(int nDone);
    // A total known only after the dialog opened (the bar never moves back).
    void SetTotal(int nTotal) { m_nTotal = nTotal; }
    void SetPercent(int nPercent);
    BOOL Pump();
    BOOL IsCancelled() const;
    void Close();
    void PumpPaintMessages();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    BOOL* m_pbContinue;
    int m_nTotal;
    HWND m_hWndFocus = nullptr;
    int m_nLastPercent = 0;
    CProgressCtrl m_progress;
};

// The wait dialog as the engine's wait of one pass (and of the statistics dialog's log reads).
std::unique_ptr<IAnalysisWait> OpenAnalysisWait(BOOL* pbContinue, int32_t nTotal, CWnd* pParent);
