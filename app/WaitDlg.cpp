#include "app/WaitDlg.h"

#include "platform/base/Sync.h"
#include "res/veltrin/resource.h"

BEGIN_MESSAGE_MAP(CWaitDlg, CDialog)
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {
void EnableMainWindow(BOOL enable) {
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd)
        main->EnableWindow(enable);
}
}  // namespace

CWaitDlg::CWaitDlg(BOOL* pbContinue, int nTotal, CWnd* pParent)
    : CDialog(IDD_WAIT_DIALOG, pParent), m_pbContinue(pbContinue), m_nTotal(nTotal) {
    EnableMainWindow(FALSE);
    if (!Create(IDD_WAIT_DIALOG, pParent))
        return;
    CenterWindow();
    m_hWndFocus = ::GetFocus();
    ShowWindow(SW_SHOW);
    PumpPaintMessages();
}

CWaitDlg::~CWaitDlg() {
    Close();
    m_progress.Detach();
}

BOOL CWaitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.Attach(::GetDlgItem(m_hWnd, IDC_WAIT_PROGRESS));
    m_progress.SetRange(0, 100);
    return TRUE;
}

void CWaitDlg::SetMessageText(LPCTSTR text) {
    if (m_hWnd)
        SetDlgItemText(IDC_WAIT_MESSAGE, text);
}

BOOL CWaitDlg::SetProgress(int nDone) {
    if (m_nTotal >= 1)
        SetPercent((int)((double)nDone / (double)m_nTotal * 100.0));
    return Pump();
}

void CWaitDlg::SetPercent(int nPercent) {
    if (nPercent == 0 || !m_hWnd || !::IsWindow(m_hWnd))
        return;
    if (nPercent > 100)
        nPercent = 100;
    if (nPercent <= m_nLastPercent)
        return;
    m_nLastPercent = nPercent;
    m_progress.SetPos(nPercent);
    if (nPercent == 100) {
        // The full bar is painted before the pause, so it is seen.
        m_progress.UpdateWindow();
        Sleep(500);
    }
}

BOOL CWaitDlg::Pump() {
    MSG msg;
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        PumpPaintMessages();
        return TRUE;
    }
    switch (msg.message) {
        case WM_QUIT:
        case WM_CLOSE:
        case WM_DESTROY:
        case WM_NCDESTROY:
            // The closing message stays queued; the main loop handles it once the pass has stopped.
            OnCancel();
            return FALSE;
        default:
            break;
    }
    CWinThread* thread = AfxGetThread();
    if (thread && !thread->PumpMessage()) {
        ::PostQuitMessage((int)thread->m_msgCur.wParam);
        return FALSE;
    }
    PumpPaintMessages();
    return TRUE;
}

BOOL CWaitDlg::IsCancelled() const {
    return m_pbContinue && !*m_pbContinue;
}

void CWaitDlg::Close() {
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    EnableMainWindow(TRUE);
    DestroyWindow();
    m_progress.Detach();
}

void CWaitDlg::PumpPaintMessages() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessage(&msg);
}

void CWaitDlg::OnCancel() {
    SetMessageText("CANCELLED");
    PumpPaintMessages();
    if (m_pbContinue)
        *m_pbContinue = FALSE;
    Close();
}

void CWaitDlg::OnKillFocus(CWnd* pNewWnd) {
    CDialog::OnKillFocus(pNewWnd);
    if (m_hWnd && ::IsWindow(m_hWnd) && ::IsWindowVisible(m_hWnd))
        ::SetFocus(m_hWnd);
}

namespace {
class DialogWait : public IAnalysisWait {
public:
    DialogWait(BOOL* flag, int32_t total, CWnd* parent) : m_dlg(flag, total, parent) {}
    void SetMessageText(LPCTSTR text) override { m_dlg.SetMessageText(text); }
    BOOL SetProgress(int32_t done) override { return m_dlg.SetProgress(done); }
    void SetTotal(int32_t total) override { m_dlg.SetTotal(total); }
    void Close() override { m_dlg.Close(); }

private:
    CWaitDlg m_dlg;
};
}  // namespace

std::unique_ptr<IAnalysisWait> OpenAnalysisWait(BOOL* pbContinue, int32_t nTotal, CWnd* pParent) {
    return std::make_unique<DialogWait>(pbContinue, nTotal, pParent);
}
