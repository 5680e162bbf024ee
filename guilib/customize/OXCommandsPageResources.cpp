#include "guilib/customize/OXCommandsPageResources.h"

#include "platform/user/ComboBox.h"
#include "platform/user/ListBox.h"
#include "platform/user/Resources.h"
#include "platform/user/TreeView.h"
#include "platform/user/UpDown.h"

extern const unsigned char customize_icon26020_png[];
extern const size_t customize_icon26020_png_size;
extern const unsigned char customize_icon26023_png[];
extern const size_t customize_icon26023_png_size;
extern const unsigned char customize_icon26026_png[];
extern const size_t customize_icon26026_png_size;
extern const unsigned char customize_icon26029_png[];
extern const size_t customize_icon26029_png_size;
extern const unsigned char customize_icon26032_png[];
extern const size_t customize_icon26032_png_size;
extern const unsigned char customize_bitmap26028_png[];
extern const size_t customize_bitmap26028_png_size;
extern const unsigned char customize_bitmap26031_png[];
extern const size_t customize_bitmap26031_png_size;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;

class CommandsPageResources : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        static const DialogTemplate commands{
            IDD_OX_PAGE_COMMANDS, WS_CHILD | DS_SETFONT | DS_CONTROL, 0, 0, 0, 236, 207, "Commands",
            "MS Sans Serif", 8,
            {{WC_STATIC, "Commands", IDC_OX_SEPARATOR_COMMANDS, 7, 7, 122, 8, kChild, 0},
             {WC_TREEVIEW, "", IDC_OX_TREE_COMMANDS, 7, 18, 122, 182,
              kChild | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
              0},
             {WC_STATIC, "Description", IDC_OX_SEPARATOR_DESCRIPTION, 134, 7, 95, 8, kChild, 0},
             {WC_STATIC, "", IDC_OX_STATIC_DESCRIPTION, 134, 18, 95, 40, kChild, 0},
             {WC_BUTTON, "Modify selection", IDC_OX_BUTTON_MODIFY_SELECTION, 134, 62, 95, 16,
              kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
             {WC_STATIC, "Options", IDC_OX_SEPARATOR_OPTIONS, 134, 84, 95, 8, kChild, 0},
             {WC_BUTTON, "Icons in menu", IDC_OX_CHECK_SHOW_ICONS, 134, 95, 95, 10, kCheck, 0},
             {WC_BUTTON, "Show only recently used items in menu", IDC_OX_CHECK_RECENTLY_USED, 134, 108, 95, 20,
              kCheck | BS_MULTILINE, 0},
             {WC_BUTTON, "Custom Button Preview", IDC_OX_STATIC_CUSTOM_BUTTON_PREVIEW, 134, 150, 95, 50,
              kChild | BS_GROUPBOX, 0}}};
        static const DialogTemplate appearance{
            IDD_OX_BUTTON_APPEARANCE, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 234,
            249, "Button Appearance", "MS Sans Serif", 8,
            {{WC_BUTTON, "Image Only", IDC_OX_RADIO_IMAGE_ONLY, 7, 7, 90, 10,
              kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
             {WC_BUTTON, "Image and Text", IDC_OX_RADIO_IMAGE_TEXT, 7, 19, 90, 10, kChild | BS_AUTORADIOBUTTON, 0},
             {WC_BUTTON, "OK", IDOK, 177, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
             {WC_BUTTON, "Cancel", IDCANCEL, 177, 24, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0},
             {WC_STATIC, "Text", IDC_OX_SEPARATOR_TEXT, 7, 42, 220, 8, kChild, 0},
             {WC_EDIT, "", IDC_OX_EDIT_TEXT, 7, 53, 220, 12, kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0},
             {WC_STATIC, "Accelerator key string", -1, 7, 71, 100, 8, kChild, 0},
             {WC_COMBOBOX, "", IDC_OX_COMBO_ACCELERATOR, 110, 69, 117, 80,
              kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
             {WC_STATIC, "Custom button sizes", IDC_OX_SEPARATOR_CUSTOM_SIZES, 7, 88, 220, 8, kChild, 0},
             {WC_STATIC, "Height", -1, 7, 101, 30, 8, kChild, 0},
             {WC_EDIT, "", IDC_OX_EDIT_HEIGHT, 40, 99, 45, 12, kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0},
             {UPDOWN_CLASS, "", IDC_OX_SPIN_HEIGHT, 85, 99, 10, 12,
              kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0},
             {WC_STATIC, "Width", -1, 117, 101, 30, 8, kChild, 0},
             {WC_EDIT, "", IDC_OX_EDIT_WIDTH, 150, 99, 45, 12, kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0},
             {UPDOWN_CLASS, "", IDC_OX_SPIN_WIDTH, 195, 99, 10, 12,
              kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0},
             {WC_STATIC, "Display custom button", IDC_OX_SEPARATOR_DISPLAY_CUSTOM, 7, 118, 220, 8, kChild, 0},
             {WC_BUTTON, "Horizontally docked", IDC_OX_CHECK_HORZ_DOCKED, 7, 129, 80, 10, kCheck, 0},
             {WC_BUTTON, "Vertically docked", IDC_OX_CHECK_VERT_DOCKED, 90, 129, 75, 10, kCheck, 0},
             {WC_BUTTON, "Floating", IDC_OX_CHECK_FLOATING, 170, 129, 57, 10, kCheck, 0},
             {WC_STATIC, "Images", IDC_OX_SEPARATOR_IMAGES, 7, 145, 220, 8, kChild, 0},
             {WC_LISTBOX, "", IDC_OX_LIST_IMAGES, 7, 156, 220, 72,
              kChild | WS_BORDER | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_MULTICOLUMN |
                  LBS_NOINTEGRALHEIGHT,
              0},
             {WC_BUTTON, "Display as dropdown button", IDC_OX_CHECK_DROPDOWN, 7, 233, 150, 10, kCheck, 0}}};
        return id == IDD_OX_PAGE_COMMANDS ? &commands : id == IDD_OX_BUTTON_APPEARANCE ? &appearance : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource page{IDB_OX_CUSTOMIZE_COMMANDS, customize_bitmap26028_png,
                                         customize_bitmap26028_png_size};
        static const BitmapResource strip{IDB_OX_COMMANDS_STRIP, customize_bitmap26031_png,
                                          customize_bitmap26031_png_size};
        return id == IDB_OX_CUSTOMIZE_COMMANDS ? &page : id == IDB_OX_COMMANDS_STRIP ? &strip : nullptr;
    }
    const BitmapResource* FindIcon(UINT id) const override {
        static const BitmapResource icons[] = {
            {IDI_OX_CUSTOMIZE_MENU_GROUP, customize_icon26020_png, customize_icon26020_png_size},
            {IDI_OX_CUSTOMIZE_SEPARATOR, customize_icon26023_png, customize_icon26023_png_size},
            {IDI_OX_CUSTOMIZE_COMMAND, customize_icon26026_png, customize_icon26026_png_size},
            {IDI_OX_CUSTOMIZE_NEW_MENU, customize_icon26029_png, customize_icon26029_png_size},
            {IDI_OX_CUSTOMIZE_CUSTOM_BUTTONS, customize_icon26032_png, customize_icon26032_png_size}};
        for (const BitmapResource& icon : icons)
            if (icon.id == id)
                return &icon;
        return nullptr;
    }
};

}  // namespace

void OXRegisterCommandsPageResources() {
    static CommandsPageResources module;
    static const bool registered = (AddResourceModule(&module), true);
    (void)registered;
}
