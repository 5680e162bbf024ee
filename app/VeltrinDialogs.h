// Veltrin's small dialogs: options, find text, goto line and about.
#pragma once

#include "platform/framework/window/Dialog.h"

// Reads and writes the "Settings" values of the application's profile.
class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Asks for a text to search; OK enabled only while the text is not empty.
class CFindTextDlg : public CDialog {
public:
    explicit CFindTextDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
    CString m_csFindText;
    int m_nDirection = 1;
    BOOL m_bMatchCase = FALSE;
    BOOL m_bWholeWord = FALSE;

protected:
    void OnTextChange();
    DECLARE_MESSAGE_MAP()
};

// Asks for a line number (digits only); OK enabled only while the text is not empty.
class CGotoLineDlg : public CDialog {
public:
    explicit CGotoLineDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
    CString m_csLineNumber;

protected:
    void OnTextChange();
    DECLARE_MESSAGE_MAP()
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    BOOL OnInitDialog() override;
};
