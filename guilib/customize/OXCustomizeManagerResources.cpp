#include "guilib/customize/OXCustomizeManagerResources.h"

#include "guilib/customize/OXCustomizeManager.h"
#include "platform/user/Resources.h"

namespace {

class CustomizeManagerResources : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        // A sizable pop-up with caption, system menu and the (inert) context-help button, centred.
        static const DialogTemplate manager{
            IDD_CUSTOMIZEMANAGER,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_CENTER | DS_CONTEXTHELP | DS_SETFONT,
            WS_EX_CONTEXTHELP,
            0, 0, 382, 257, "Customize", "MS Sans Serif", 8,
            {{WC_STATIC, "", IDC_OX_SHB_PAGES, 7, 3, 91, 225, WS_CHILD | WS_VISIBLE | WS_BORDER, 0},
             {WC_STATIC, "", IDC_OX_STATIC_TITLE, 110, 3, 265, 11, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, 0},
             {WC_STATIC, "", IDC_OX_SEPARATOR_TOP, 110, 15, 265, 8, WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0},
             {WC_STATIC, "", IDC_OX_SEPARATOR_BOTTOM, 7, 231, 368, 8, WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0},
             {WC_BUTTON, "OK", IDOK, 211, 240, 50, 14,
              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0},
             {WC_BUTTON, "Cancel", IDCANCEL, 265, 240, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0},
             {WC_BUTTON, "Apply", IDC_OX_BUTTON_APPLY, 319, 240, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0}}};
        return id == IDD_CUSTOMIZEMANAGER ? &manager : nullptr;
    }
};

}  // namespace

void OXRegisterCustomizeManagerResources() {
    static CustomizeManagerResources module;
    static const bool registered = (AddResourceModule(&module), true);
    (void)registered;
}
