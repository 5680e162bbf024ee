#include "res/veltrin/VeltrinResources.h"

#include "res/veltrin/resource.h"

namespace {
// The question before a report is generated anew when its report log exists.
const DialogTemplate kQueryExistingReport{
    IDD_QUERY_EXISTING_REPORT,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    0,
    300,
    106,
    "Question",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC,
         "An existing report log already exists, do you wish to use this existing dataset or generate a new "
         "dataset report?",
         -1, 7, 7, 286, 20, SS_LEFT | WS_VISIBLE, 0},
        {WC_STATIC, "The existing logs: ", -1, 7, 32, 286, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_STATIC, "", IDC_EXISTING_LOG1, 15, 44, 278, 10, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
        {WC_STATIC, "", IDC_EXISTING_LOG2, 15, 56, 278, 10, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
        {WC_BUTTON, "Use Existing", IDC_USE_EXISTING, 69, 85, 60, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 135, 85, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Generate New", IDC_GENERATE_NEW, 191, 85, 60, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

class TreeResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        return id == IDD_QUERY_EXISTING_REPORT ? &kQueryExistingReport : nullptr;
    }
};
}  // namespace

const ResourceModule& VeltrinTreeResources() {
    static const TreeResourceModule module;
    return module;
}
