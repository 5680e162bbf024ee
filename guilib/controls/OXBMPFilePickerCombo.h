// A history combo box for the name of a bitmap file: its browse button opens the file-open dialog with a
// preview pane, filtered to bitmap files, and the chosen path becomes the combo's text.
#pragma once

#include "guilib/controls/OXHistoryCombo.h"
#include "guilib/controls/OXLibraryResources.h"

class COXBMPFilePickerCombo : public COXHistoryCombo {
    DECLARE_DYNAMIC(COXBMPFilePickerCombo)
public:
    // `nFilterID` names the string of the dialog's filter ("description|patterns||").
    explicit COXBMPFilePickerCombo(UINT nFilterID = IDS_OX_BMPFILEFILTER);

    CString GetFileFilter() const { return m_sFileFilter; }

protected:
    CString m_sFileFilter;
};
