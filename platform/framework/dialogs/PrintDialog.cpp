#include "platform/framework/dialogs/PrintDialog.h"

#include <string>

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) {
    m_pParentWnd = parent;
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : (DWORD)PD_RETURNDC);
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
    // The DC is the caller's once returned; the blocks belong to whoever put them in m_pd.
}

INT_PTR CPrintDialog::DoModal() {
    m_pd.hwndOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!m_pd.hwndOwner)
        if (CWnd* main = AfxGetMainWnd())
            m_pd.hwndOwner = main->GetSafeHwnd();
    return ::PrintDlg(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
    DWORD flags = m_pd.Flags;
    m_pd.Flags = (flags | PD_RETURNDEFAULT) & ~(DWORD)PD_RETURNDC;
    BOOL ok = ::PrintDlg(&m_pd);
    m_pd.Flags = flags;
    return ok;
}

HDC CPrintDialog::CreatePrinterDC() {
    m_pd.hDC = CreatePrinterDCFromBlocks(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

BOOL CPrintDialog::GetDevMode(DEVMODE& mode) const {
    return ReadDevMode(m_pd.hDevMode, mode);
}

namespace {
CString Name(HGLOBAL block, int which) {
    std::string texts[3];
    if (!ReadDevNames(block, texts[0], texts[1], texts[2]))
        return CString();
    return CString(texts[which].c_str());
}
}  // namespace

CString CPrintDialog::GetDriverName() const {
    return Name(m_pd.hDevNames, 0);
}

CString CPrintDialog::GetDeviceName() const {
    return Name(m_pd.hDevNames, 1);
}

CString CPrintDialog::GetPortName() const {
    return Name(m_pd.hDevNames, 2);
}

int CPrintDialog::GetCopies() const {
    DEVMODE mode{};
    if ((m_pd.Flags & PD_USEDEVMODECOPIESANDCOLLATE) && GetDevMode(mode))
        return mode.dmCopies;
    return m_pd.nCopies;
}
