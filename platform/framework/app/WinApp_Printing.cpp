// The application's printer, kept as DEVMODE and DEVNAMES blocks for every print command.
#include "platform/framework/app/WinThread.h"
#include "platform/framework/dialogs/PrintDialog.h"

void CWinApp::FreePrinterBlocks() {
    if (m_hDevMode)
        GlobalFree(m_hDevMode);
    if (m_hDevNames)
        GlobalFree(m_hDevNames);
    m_hDevMode = m_hDevNames = nullptr;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* dialog) {
    // Blocks too short for our layout are no printer chosen: the dialog starts on the default.
    std::string driver, device, output;
    DEVMODE mode{};
    if (!ReadDevNames(m_hDevNames, driver, device, output) || !ReadDevMode(m_hDevMode, mode))
        FreePrinterBlocks();
    dialog->m_pd.hDevMode = m_hDevMode;
    dialog->m_pd.hDevNames = m_hDevNames;
    INT_PTR result = dialog->DoModal();
    // The dialog replaces the blocks it was given (or leaves them when cancelled): they stay the app's.
    m_hDevMode = dialog->m_pd.hDevMode;
    m_hDevNames = dialog->m_pd.hDevNames;
    return result;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pd) {
    if (!pd)
        return FALSE;
    std::string driver, device, output;
    DEVMODE mode{};
    if (!ReadDevNames(m_hDevNames, driver, device, output) || !ReadDevMode(m_hDevMode, mode)) {
        FreePrinterBlocks();
        PRINTDLG defaults{};
        defaults.lStructSize = sizeof defaults;
        defaults.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlg(&defaults))
            return FALSE;
        m_hDevMode = defaults.hDevMode;
        m_hDevNames = defaults.hDevNames;
    }
    pd->hDevMode = m_hDevMode;
    pd->hDevNames = m_hDevNames;
    return TRUE;
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog dialog(TRUE);
    DoPrintDialog(&dialog);
}
