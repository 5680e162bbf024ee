// CPageSetupDlg: the header and footer texts of printed pages and which time each shows, kept in the
// profile section "PageSetup". One instance lives for the whole process.
#pragma once

#include "platform/framework/window/Dialog.h"

class CPageSetupDlg : public CDialog {
public:
    explicit CPageSetupDlg(CWnd* parent = nullptr);

    CString m_csHeader;
    CString m_csFooter;
    int m_nHeaderTime = -1;  // 0 the file's time, 1 the system time
    int m_nFooterTime = -1;

    // The values as loaded, so that only changed ones are written back.
    CString m_csHeaderLoaded;
    CString m_csFooterLoaded;
    int m_nHeaderTimeLoaded = -1;
    int m_nFooterTimeLoaded = -1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

extern CPageSetupDlg _PageSetupDlg;

// Reads the four values of "PageSetup" (with their defaults) into the global dialog.
void LoadPageSetupSettings();
// Writes back each value that differs from what was loaded.
void SavePageSetupSettings();
