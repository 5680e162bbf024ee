// CDialog: modal and modeless dialogs from the resource templates.
#pragma once

#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/user/Resources.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate* tmpl, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL save = TRUE);
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};

INT_PTR AfxDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
