// CFileDialog: the file open and save dialog with the framework's filter strings ("Logs (*.log)|*.log||").
#pragma once

#include "platform/framework/window/Dialog.h"
#include "platform/user/CommonDialogs.h"

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                         CWnd* parent = nullptr);

    // IDOK or IDCANCEL (also when the dialog fails: CommDlgExtendedError says why).
    INT_PTR DoModal() override;

    CString GetPathName() const;   // the chosen file's path (the first of several)
    CString GetFileName() const;   // its name
    CString GetFileExt() const;    // its extension without the dot
    CString GetFileTitle() const;  // its name without the extension
    CString GetFolderPath() const;
    // The chosen paths one by one (a multi-selection gives each).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAME m_ofn{};
    BOOL m_bOpenFileDialog;

private:
    CString m_strFilter;  // with '\0' in place of '|'
    CString m_strDefExt;
    char m_szFileName[4096] = "";
    char m_szFileTitle[512] = "";
};
