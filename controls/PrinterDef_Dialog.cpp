// The printer definition's dialog and its reading of the device mode, which need the window layers.
#include <cstring>

#include "controls/model/PrinterDef.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/dialogs/PrintDialog.h"

BOOL CPrinterDef::DoPrintDialog() {
    CPrintDialog dialog(TRUE, PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE);
    CopyToGlobal(dialog.m_pd.hDevNames, dialog.m_pd.hDevMode);
    BOOL confirmed = dialog.DoModal() == IDOK;
    if (confirmed)
        CopyFromGlobal(dialog.m_pd.hDevNames, dialog.m_pd.hDevMode);
    for (HGLOBAL block : {dialog.m_pd.hDevNames, dialog.m_pd.hDevMode})
        if (block)
            GlobalFree(block);
    return confirmed;
}

BOOL CPrinterDef::IsLandscape() const {
    if (!IsValidDevMode(m_devMode.data(), m_devMode.size()))
        return FALSE;
    DEVMODE mode;
    std::memcpy(&mode, m_devMode.data(), sizeof mode);
    return mode.dmOrientation == DMORIENT_LANDSCAPE;
}
