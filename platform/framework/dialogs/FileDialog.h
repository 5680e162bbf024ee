// CFileDialog: the file open and save dialog with the framework's filter strings ("Logs (*.log)|*.log||").
// While it runs the object is the dialog's hook window (a hidden child of the dialog) and hears of its
// changes through OnInitDone, OnFileNameChange and OnFolderChange.
#pragma once

#include "platform/framework/window/Dialog.h"
#include "platform/user/CommonDialogs.h"

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                         CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);

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

    // While the dialog runs: the path its name field names, and the folder it shows.
    CString GetDialogFilePath() const;
    CString GetDialogFolderPath() const;

    OPENFILENAME m_ofn{};
    BOOL m_bOpenFileDialog;
    BOOL m_bVistaStyle;  // accepted; the one dialog serves both styles

protected:
    virtual void OnInitDone() {}
    virtual void OnFileNameChange() {}
    virtual void OnFolderChange() {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static UINT_PTR HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    CString m_strFilter;  // with '\0' in place of '|'
    CString m_strDefExt;
    char m_szFileName[4096] = "";
    char m_szFileTitle[512] = "";
};
