#include "res/veltrin/VeltrinResources.h"

#include "res/veltrin/resource.h"

namespace {
const DialogTemplate kWaitDialog{
    IDD_WAIT_DIALOG,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION,
    0,
    0,
    0,
    186,
    62,
    "Please Wait...",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "#128", IDC_WAIT_ICON, 7, 7, 21, 20, SS_ICON | WS_VISIBLE, 0},
        {WC_STATIC, "Working.", IDC_WAIT_MESSAGE, 36, 9, 143, 16, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
        {PROGRESS_CLASS, "", IDC_WAIT_PROGRESS, 36, 29, 143, 10, WS_VISIBLE, 0},
        // Not visible: the Escape key still reaches it as the Cancel command.
        {WC_BUTTON, "Cancel", IDCANCEL, 68, 43, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
    }};

// The question of the SQL histogram when a statement ran more than 100,000 times.
const DialogTemplate kQueryTruncateHistogram{
    IDD_QUERY_TRUNCATE_HISTOGRAM,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    0,
    281,
    133,
    "Question",
    "MS Shell Dlg",
    8,
    {
        {WC_BUTTON, "Continue", IDOK, 224, 112, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 168, 112, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_STATIC,
         "The process detected that this Sql statement exceeded 100,000 lines.\n\n"
         "To prevent  an \"out-of-memory\" condition from happening, you may want to\n"
         "lower the total number of lines for the histogram.",
         -1, 7, 7, 267, 39, SS_LEFT | WS_VISIBLE, 0},
        {WC_STATIC,
         "Enter a lower number of lines to process and click the Continue button.\n"
         "Note: Clicking the Continue button and leaving the editbox blank will use the\n"
         "Total Recs number by default.",
         -1, 7, 49, 267, 26, SS_LEFT | WS_VISIBLE, 0},
        {WC_STATIC, "Total Recs", IDC_TOTAL_RECS, 29, 86, 74, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_LINE_LIMIT, 27, 105, 66, 17,
         ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 0},
    }};

class VeltrinResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        switch (id) {
            case IDD_WAIT_DIALOG:
                return &kWaitDialog;
            case IDD_QUERY_TRUNCATE_HISTOGRAM:
                return &kQueryTruncateHistogram;
            default:
                return nullptr;
        }
    }
};
}  // namespace

const ResourceModule& VeltrinResources() {
    static const VeltrinResourceModule module;
    return module;
}
