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
    // Opens the file-open dialog with a preview pane on the current text; on OK the chosen path becomes
    // the text and the parent is told of an edit change. TRUE on OK.
    BOOL Browse() override;

protected:
    CString m_sFileFilter;
};
