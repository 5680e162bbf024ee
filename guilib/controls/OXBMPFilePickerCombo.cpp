#include "guilib/controls/OXBMPFilePickerCombo.h"

#include "guilib/controls/OXPreviewDialog.h"
#include "platform/framework/app/WinThread.h"

IMPLEMENT_DYNAMIC(COXBMPFilePickerCombo, COXHistoryCombo)

namespace {
// The history combo's toolbar resource.
constexpr int kToolbarId = 28022;
}  // namespace

COXBMPFilePickerCombo::COXBMPFilePickerCombo(UINT nFilterID) : COXHistoryCombo(12, 0, kToolbarId) {
    OXGetLibraryResourceHandle();  // the filter is one of the library's strings
    m_sFileFilter = AfxLoadString(nFilterID);
}

BOOL COXBMPFilePickerCombo::Browse() {
    CString fileName;
    GetWindowText(fileName);
    COXPreviewDialog dialog(TRUE, nullptr, fileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, m_sFileFilter, nullptr);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    TakeBrowsedPath(dialog.GetPathName());
    return TRUE;
}
