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

class VeltrinResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        switch (id) {
            case IDD_WAIT_DIALOG:
                return &kWaitDialog;
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
