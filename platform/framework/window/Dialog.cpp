#include "platform/framework/window/Dialog.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR AfxDlgProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
    return dlg ? dlg->OnInitDialog() : TRUE;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BOOL CDialog::CreateIndirect(const DialogTemplate* tmpl, CWnd* parent) {
    if (!tmpl)
        return FALSE;
    if (parent)
        m_pParentWnd = parent;
    AfxHookWindowCreate(this);
    HWND h = CreateDialogIndirectParam(nullptr, tmpl, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
                                       AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!h) {
        if (m_hWnd && !::IsWindow(m_hWnd))
            Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    if (!m_nIDHelp)
        m_nIDHelp = templateId;
    return CreateIndirect(FindDialogTemplate(templateId), parent);
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* tmpl = FindDialogTemplate(m_nIDTemplate);
    if (!tmpl)
        return -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND ownerTop = parent && parent->m_hWnd ? GetAncestor(parent->m_hWnd, GA_ROOT) : nullptr;
    bool disabled = false;
    if (ownerTop && ::IsWindowEnabled(ownerTop)) {
        ::EnableWindow(ownerTop, FALSE);
        disabled = true;
    }
    m_pParentWnd = parent;
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateIndirect(tmpl, parent)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            ShowWindow(SW_SHOWNORMAL);
            RunModalLoop();
        }
        if (m_hWnd)
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disabled && ::IsWindow(ownerTop))
        ::EnableWindow(ownerTop, TRUE);
    if (ownerTop && ::IsWindow(ownerTop))
        ::SetActiveWindow(ownerTop);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL save) {
    return AfxRunDataExchange(this, save, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(result);
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return ::IsDialogMessage(m_hWnd, msg);
    return FALSE;
}
