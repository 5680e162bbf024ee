// CPrintDialog: the print and print-setup dialog over PRINTDLG; the printer it returns as a DC.
#pragma once

#include "platform/framework/window/Dialog.h"
#include "platform/user/CommonDialogs.h"

class CPrintDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    ~CPrintDialog() override;

    INT_PTR DoModal() override;
    // The default printer's blocks, without a dialog.
    BOOL GetDefaults();
    // A printer DC for the chosen blocks, kept in m_pd.hDC (the caller deletes it).
    HDC CreatePrinterDC();
    HDC GetPrinterDC() const { return m_pd.hDC; }

    // A copy of the chosen device mode; FALSE when there is none (or it is too short for our layout).
    BOOL GetDevMode(DEVMODE& mode) const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    int GetCopies() const;
    int GetFromPage() const { return m_pd.nFromPage; }
    int GetToPage() const { return m_pd.nToPage; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }

    PRINTDLG m_pd{};
};
