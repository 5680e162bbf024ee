// Printing's resources: the page-setup dialog, the print preview's bar and the framework strings the
// preview shows.
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource_print.h"

namespace {
const DialogTemplate kPageSetup{
    IDD_PAGE_SETUP,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    0,
    236,
    122,
    "Page Setup",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "&Header:", -1, 7, 9, 30, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_PAGE_HEADER, 40, 7, 189, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "File Time", IDC_HEADER_FILE_TIME, 40, 25, 60, 10,
         BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "System Time", IDC_HEADER_SYSTEM_TIME, 110, 25, 60, 10, BS_AUTORADIOBUTTON | WS_VISIBLE, 0},
        {WC_STATIC, "&Footer:", -1, 7, 47, 30, 8, SS_LEFT | WS_GROUP | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_PAGE_FOOTER, 40, 45, 189, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "File Time", IDC_FOOTER_FILE_TIME, 40, 63, 60, 10,
         BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "System Time", IDC_FOOTER_SYSTEM_TIME, 110, 63, 60, 10, BS_AUTORADIOBUTTON | WS_VISIBLE, 0},
        {WC_BUTTON, "OK", IDOK, 125, 101, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 179, 101, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

// One row of buttons; the framework names the one-page/two-page button.
const DialogTemplate kPreviewBar{
    IDD_PRINT_PREVIEW_BAR,
    WS_CHILD | DS_SETFONT,
    0,
    0,
    0,
    380,
    18,
    "",
    "MS Shell Dlg",
    8,
    {
        {WC_BUTTON, "&Print...", 58116, 2, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "&Next Page", 58114, 48, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "Pre&v Page", 58115, 100, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "", 58113, 152, 2, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "Zoom &In", 58117, 204, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "Zoom &Out", 58118, 250, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
        {WC_BUTTON, "&Close", 58112, 296, 2, 44, 14, WS_VISIBLE | WS_TABSTOP, 0},
    }};

class VeltrinPrintResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        switch (id) {
            case IDD_PAGE_SETUP:
                return &kPageSetup;
            case IDD_PRINT_PREVIEW_BAR:
                return &kPreviewBar;
            default:
                return nullptr;
        }
    }
    const char* FindString(UINT id) const override {
        switch (id) {
            case 57344:  // the application's title
                return "Veltrin";
            case 61705:
                return "Command failed.";
            default:
                return nullptr;
        }
    }
};
}  // namespace

const ResourceModule& VeltrinPrintResources() {
    static const VeltrinPrintResourceModule module;
    return module;
}
