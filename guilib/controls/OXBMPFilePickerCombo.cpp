#include "guilib/controls/OXBMPFilePickerCombo.h"

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
