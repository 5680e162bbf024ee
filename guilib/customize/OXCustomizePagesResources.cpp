#include "guilib/customize/OXCustomizePagesResources.h"

#include "platform/user/ComboBox.h"
#include "platform/user/Controls.h"
#include "platform/user/HotKey.h"
#include "platform/user/ListBox.h"
#include "platform/user/ListView.h"
#include "platform/user/Resources.h"
#include "platform/user/TreeView.h"
#include "platform/user/UpDown.h"

extern const unsigned char customize_pages26020_png[];
extern const size_t customize_pages26020_png_size;
extern const unsigned char customize_pages26026_png[];
extern const size_t customize_pages26026_png_size;
extern const unsigned char customize_pages26039_png[];
extern const size_t customize_pages26039_png_size;
extern const unsigned char customize_pages26033_png[];
extern const size_t customize_pages26033_png_size;
extern const unsigned char customize_pages26034_png[];
extern const size_t customize_pages26034_png_size;
extern const unsigned char customize_pages26035_png[];
extern const size_t customize_pages26035_png_size;
extern const unsigned char customize_pages26036_png[];
extern const size_t customize_pages26036_png_size;
extern const unsigned char customize_pages26037_png[];
extern const size_t customize_pages26037_png_size;
extern const unsigned char customize_pages26025_png[];
extern const size_t customize_pages26025_png_size;
extern const unsigned char customize_pages26038_png[];
extern const size_t customize_pages26038_png_size;
extern const unsigned char customize_pages26007_png[];
extern const size_t customize_pages26007_png_size;
extern const unsigned char customize_pages26009_png[];
extern const size_t customize_pages26009_png_size;
extern const unsigned char customize_pages26011_png[];
extern const size_t customize_pages26011_png_size;
extern const unsigned char customize_pages26013_png[];
extern const size_t customize_pages26013_png_size;
extern const unsigned char customize_pages26015_png[];
extern const size_t customize_pages26015_png_size;
extern const unsigned char customize_pages26017_png[];
extern const size_t customize_pages26017_png_size;

namespace {

constexpr DWORD kPage = WS_CHILD | DS_SETFONT;
constexpr DWORD kVis = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kVis | BS_AUTORADIOBUTTON;
constexpr DWORD kButton = kVis | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kEdit = kVis | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kUpDown = kVis | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

const DialogTemplate kInstanceManager{
    IDD_OX_PAGE_INSTANCE_MANAGER, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Static", "Options", IDC_OX_SEPARATOR_OPTIONS, 0, 2, 265, 10, kVis, 0},
     {"Button", "No limit for the number of running instances", IDC_OX_RADIO_NO_LIMIT, 10, 15, 220, 10,
      kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Button", "Run only one instance", IDC_OX_RADIO_ONE_INSTANCE, 10, 27, 220, 10, kRadio, 0},
     {"Button", "Limit to", IDC_OX_RADIO_LIMIT_TO, 10, 39, 42, 10, kRadio, 0},
     {"Edit", "", IDC_OX_EDIT_MAX_INSTANCES, 54, 38, 36, 12, kEdit | ES_NUMBER | WS_GROUP, 0},
     {UPDOWN_CLASS, "", IDC_OX_SPIN_MAX_INSTANCES, 90, 38, 10, 12, kUpDown, 0},
     {"Static", "instances running simultaneously", -1, 96, 40, 160, 8, kVis, 0},
     {"Static", "Currently running", -1, 10, 56, 60, 8, kVis, 0},
     {"Static", "", IDC_OX_STATIC_INSTANCE_COUNT, 72, 52, 30, 14, kVis | SS_CENTERIMAGE, 0},
     {"Static", "instance(s) of the application", -1, 104, 56, 150, 8, kVis, 0},
     {"Static", "Running instances", IDC_OX_SEPARATOR_INSTANCES, 0, 72, 200, 10, kVis, 0},
     {WC_LISTVIEW, "", IDC_OX_LIST_INSTANCES, 0, 84, 200, 124,
      kVis | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0},
     {"Static", "Operations", IDC_OX_SEPARATOR_OPERATIONS, 208, 72, 57, 10, kVis, 0},
     {"Button", "Close", IDC_OX_BUTTON_CLOSE, 212, 84, 53, 14, kButton, 0},
     {"Button", "Switch To...", IDC_OX_BUTTON_SWITCH_TO, 212, 102, 53, 14, kButton, 0},
     {"Button", "Bring To Front", IDC_OX_BUTTON_BRING_TO_FRONT, 212, 120, 53, 14, kButton, 0},
     {"Button", "Maximize", IDC_OX_BUTTON_MAXIMIZE, 212, 138, 53, 14, kButton, 0},
     {"Button", "Minimize", IDC_OX_BUTTON_MINIMIZE, 212, 156, 53, 14, kButton, 0},
     {"Button", "Restore", IDC_OX_BUTTON_RESTORE, 212, 174, 53, 14, kButton, 0}}};

constexpr DWORD kCheck = kVis | WS_TABSTOP | BS_AUTOCHECKBOX;

// The radio groups run to the next WS_GROUP: the edits and pickers between their buttons carry none.
const DialogTemplate kSplashWindow{
    IDD_OX_PAGE_SPLASH_WINDOW, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Button", "Display splash window at the start of application", IDC_OX_CHECK_DISPLAY_SPLASH, 0, 0, 260, 10,
      kCheck | WS_GROUP, 0},
     {"Static", "Display Settings", IDC_OX_SEPARATOR_DISPLAY_SETTINGS, 0, 14, 265, 10, kVis, 0},
     {"Button", "Show image for", IDC_OX_RADIO_SHOW_FOR, 10, 28, 64, 10, kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Edit", "", IDC_OX_EDIT_SHOW_DELAY, 76, 27, 40, 12, kEdit | ES_NUMBER, 0},
     {UPDOWN_CLASS, "", IDC_OX_SPIN_SHOW_DELAY, 116, 27, 10, 12, kUpDown, 0},
     {"Static", "millisecond(s)", -1, 122, 29, 60, 8, kVis, 0},
     {"Button", "Show infinitely", IDC_OX_RADIO_SHOW_INFINITELY, 10, 42, 100, 10, kRadio, 0},
     {"Button", "Hide splash window if mouse or keyboard button has been pressed", IDC_OX_CHECK_INTERRUPTABLE, 10,
      56, 250, 10, kCheck | WS_GROUP, 0},
     {"Button", "Display default image", IDC_OX_RADIO_DEFAULT_IMAGE, 10, 72, 90, 10, kRadio | WS_GROUP | WS_TABSTOP,
      0},
     {"Static", "", IDC_OX_SEPARATOR_DEFAULT_IMAGE, 102, 72, 100, 10, kVis, 0},
     {"Button", "Preview...", IDC_OX_BUTTON_PREVIEW, 210, 70, 55, 14, kButton, 0},
     {"Button", "Open image file", IDC_OX_RADIO_IMAGE_FILE, 10, 88, 70, 10, kRadio, 0},
     {"Static", "", IDC_OX_SEPARATOR_IMAGE_FILE, 82, 88, 183, 10, kVis, 0},
     {WC_COMBOBOX, "", IDC_OX_COMBO_IMAGE_FILE, 20, 100, 193, 80, kVis | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
      0},
     {"Static", "Transparent color", IDC_OX_SEPARATOR_TRANSPARENT_COLOR, 0, 120, 265, 10, kVis | WS_GROUP, 0},
     {"Button", "Color", IDC_OX_RADIO_COLOR, 10, 136, 40, 10, kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Button", "\nChoose color that will be treated as transparent", IDC_OX_BUTTON_COLOR, 52, 133, 36, 16, kVis | WS_TABSTOP | BS_OWNERDRAW, 0},
     {"Static", "Color tolerance", -1, 100, 137, 56, 8, kVis, 0},
     {"Edit", "", IDC_OX_EDIT_TOLERANCE, 158, 135, 36, 12, kEdit | ES_NUMBER, 0},
     {UPDOWN_CLASS, "", IDC_OX_SPIN_TOLERANCE, 194, 135, 10, 12, kUpDown, 0},
     {"Button", "None", IDC_OX_RADIO_NO_COLOR, 10, 154, 40, 10, kRadio, 0},
     {"Button", "Color at point", IDC_OX_RADIO_COLOR_AT_POINT, 10, 170, 60, 10, kRadio, 0},
     {"Static", "X", -1, 76, 171, 8, 8, kVis, 0},
     {"Edit", "", IDC_OX_EDIT_POINT_X, 86, 169, 36, 12, kEdit, 0},
     {"Static", "Y", -1, 130, 171, 8, 8, kVis, 0},
     {"Edit", "", IDC_OX_EDIT_POINT_Y, 140, 169, 36, 12, kEdit, 0}}};

const DialogTemplate kTrayIcon{
    IDD_OX_PAGE_TRAY_ICON, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Button", "Display tray icon", IDC_OX_CHECK_SHOW_TRAY_ICON, 0, 0, 200, 10, kCheck | WS_GROUP, 0},
     {"Static", "Display Settings", IDC_OX_SEPARATOR_DISPLAY_SETTINGS, 0, 14, 265, 10, kVis, 0},
     {"Static", "Activate context menu:", -1, 10, 29, 80, 8, kVis, 0},
     {"Button", "On left click", IDC_OX_RADIO_LEFT_CLICK, 92, 28, 60, 10, kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Button", "On right click", IDC_OX_RADIO_RIGHT_CLICK, 156, 28, 64, 10, kRadio, 0},
     {"Static", "Tooltip", -1, 10, 45, 30, 8, kVis | WS_GROUP, 0},
     {"Edit", "", IDC_OX_EDIT_TOOLTIP, 44, 43, 221, 12, kEdit, 0},
     {"Button", "Display default icon", IDC_OX_RADIO_DEFAULT_ICON, 10, 64, 90, 10, kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Static", "", IDC_OX_STATIC_DEFAULT_ICON, 104, 60, 20, 20, kVis | SS_ICON, 0},
     {"Button", "Select icon from the specified source file", IDC_OX_RADIO_ICON_FROM_FILE, 10, 84, 200, 10, kRadio,
      0},
     {WC_COMBOBOX, "", IDC_OX_COMBO_ICON_SOURCE, 20, 97, 193, 80,
      kVis | WS_TABSTOP | WS_GROUP | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0},
     {"Static", "", IDC_OX_SEPARATOR_ICON_LIST, 0, 116, 265, 10, kVis, 0},
     {"ListBox", "", IDC_OX_LIST_ICONS, 0, 128, 265, 80,
      kVis | WS_TABSTOP | WS_BORDER | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED, 0}}};

const DialogTemplate kCoolControls{
    IDD_OX_PAGE_COOL_CONTROLS, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Button", "Convert common controls to cool controls", IDC_OX_CHECK_CONVERT_TO_COOL, 0, 2, 200, 10,
      kCheck | WS_GROUP, 0},
     {"Button", "Convert All", IDC_OX_BUTTON_CONVERT_ALL, 210, 0, 55, 14, kButton, 0},
     {WC_TREEVIEW, "", IDC_OX_TREE_CONTROL_TYPES, 0, 18, 265, 190,
      kVis | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0}}};

// The eleven paint types in three columns, the right-hand one 26122, 26125, 26128, 26131.
const DialogTemplate kBackgroundPainter{
    IDD_OX_PAGE_BACKGROUND_PAINTER, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Button", "Paint the background of windows in the framework", IDC_OX_CHECK_PAINT_BACKGROUND, 0, 0, 260, 10,
      kCheck | WS_GROUP, 0},
     {"Button", "Paint only the client area", IDC_OX_CHECK_ONLY_CLIENT_AREA, 10, 13, 200, 10, kCheck | WS_GROUP, 0},
     {"Button", "Image painting type", IDC_OX_GROUP_PAINT_TYPE, 0, 26, 265, 64, kVis | BS_GROUPBOX, 0},
     {"Button", "&Tile", 26121, 8, 38, 80, 10, kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Button", "&Stretch", 26122, 180, 38, 80, 10, kRadio, 0},
     {"Static", "", IDC_OX_SEPARATOR_PAINT_TYPE, 8, 50, 252, 4, kVis, 0},
     {"Button", "T&opLeft", 26123, 8, 55, 80, 10, kRadio, 0},
     {"Button", "To&pCenter", 26124, 94, 55, 80, 10, kRadio, 0},
     {"Button", "TopR&ight", 26125, 180, 55, 80, 10, kRadio, 0},
     {"Button", "C&enterLeft", 26126, 8, 66, 80, 10, kRadio, 0},
     {"Button", "&Center", 26127, 94, 66, 80, 10, kRadio, 0},
     {"Button", "Ce&nterRight", 26128, 180, 66, 80, 10, kRadio, 0},
     {"Button", "Botto&mLeft", 26129, 8, 77, 80, 10, kRadio, 0},
     {"Button", "BottomCente&r", 26130, 94, 77, 80, 10, kRadio, 0},
     {"Button", "BottomRig&ht", 26131, 180, 77, 80, 10, kRadio, 0},
     {"Button", "Use default image", IDC_OX_RADIO_BACKGROUND_DEFAULT_IMAGE, 0, 95, 100, 10,
      kRadio | WS_GROUP | WS_TABSTOP, 0},
     {"Button", "Open image with file name", IDC_OX_RADIO_BACKGROUND_IMAGE_FILE, 0, 107, 120, 10, kRadio, 0},
     {WC_COMBOBOX, "", IDC_OX_COMBO_BACKGROUND_FILE, 10, 119, 203, 80,
      kVis | WS_TABSTOP | WS_GROUP | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0},
     {"Static", "Background color:", IDC_OX_STATIC_BACKGROUND_COLOR, 150, 97, 70, 8, kVis, 0},
     {"Button", "\nChoose color to fill the background", IDC_OX_COLOR_BACKGROUND, 225, 94, 40, 16,
      kVis | WS_TABSTOP | BS_OWNERDRAW, 0},
     {"Static", "Preview", IDC_OX_SEPARATOR_PREVIEW, 0, 137, 265, 10, kVis, 0},
     {"Static", "", IDC_OX_PREVIEW, 0, 149, 265, 59, kVis, 0}}};

const DialogTemplate kShortkeys{
    IDD_OX_PAGE_SHORTKEYS, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Static", "Commands", IDC_OX_SEPARATOR_COMMANDS, 0, 0, 130, 10, kVis, 0},
     {WC_TREEVIEW, "", IDC_OX_TREE_COMMANDS, 0, 12, 130, 146,
      kVis | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0},
     {"Static", "Description", IDC_OX_SEPARATOR_DESCRIPTION, 0, 162, 265, 10, kVis, 0},
     {"Static", "", IDC_OX_STATIC_DESCRIPTION, 0, 174, 265, 34, kVis, 0},
     {"Static", "Shortkeys", IDC_OX_SEPARATOR_SHORTKEYS, 136, 0, 129, 10, kVis, 0},
     {"Static", "for", IDC_OX_STATIC_FOR, 140, 14, 14, 8, kVis, 0},
     {WC_COMBOBOX, "", IDC_OX_COMBO_TABLES, 156, 12, 109, 80, kVis | WS_TABSTOP | CBS_DROPDOWNLIST, 0},
     {"Static", "Current keys", IDC_OX_STATIC_CURRENT_KEYS, 140, 28, 60, 8, kVis, 0},
     {"ListBox", "", IDC_OX_LIST_KEYS, 140, 38, 70, 60,
      kVis | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 0},
     {"Button", "Assign", IDC_OX_BUTTON_ASSIGN, 214, 38, 51, 14, kButton, 0},
     {"Button", "Remove", IDC_OX_BUTTON_REMOVE, 214, 55, 51, 14, kButton, 0},
     {"Button", "Remove All", IDC_OX_BUTTON_REMOVE_ALL, 214, 72, 51, 14, kButton, 0},
     {"Button", "Reset All", IDC_OX_BUTTON_RESET_ALL, 214, 89, 51, 14, kButton, 0},
     {"Static", "Press new shortcut key", IDC_OX_STATIC_NEW_KEY, 140, 104, 120, 8, kVis, 0},
     {HOTKEY_CLASS, "", IDC_OX_HOTKEY, 140, 114, 125, 12, kVis | WS_TABSTOP | WS_BORDER, 0},
     {"Static", "Conflict", IDC_OX_SEPARATOR_CONFLICT, 136, 130, 129, 10, kVis, 0},
     {"Static", "", IDC_OX_STATIC_CONFLICT, 140, 142, 125, 16, kVis, 0}}};

// The toolbars on the left, the operations and the looks on the right.
const DialogTemplate kToolbars{
    IDD_OX_PAGE_TOOLBARS, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Static", "Toolbars", IDC_OX_SEPARATOR_TOOLBARS, 0, 0, 178, 10, kVis, 0},
     {WC_TREEVIEW, "", IDC_OX_TREE_TOOLBARS, 0, 12, 178, 196,
      kVis | WS_TABSTOP | WS_BORDER | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP, 0},
     {"Static", "Operations", IDC_OX_SEPARATOR_OPERATIONS, 186, 0, 79, 10, kVis, 0},
     {"Button", "New Toolbar", IDC_OX_BUTTON_NEW_TOOLBAR, 192, 12, 73, 14, kButton, 0},
     {"Button", "Delete", IDC_OX_BUTTON_DELETE_TOOLBAR, 192, 29, 73, 14, kButton, 0},
     {"Button", "Rename", IDC_OX_BUTTON_RENAME_TOOLBAR, 192, 46, 73, 14, kButton, 0},
     {"Button", "Reset", IDC_OX_BUTTON_RESET_TOOLBAR, 192, 63, 73, 14, kButton, 0},
     {"Button", "Reset All", IDC_OX_BUTTON_RESET_ALL, 192, 80, 73, 14, kButton, 0},
     {"Static", "Options", IDC_OX_SEPARATOR_OPTIONS, 186, 102, 79, 10, kVis, 0},
     {"Button", "Show Tooltips", IDC_OX_CHECK_SHOW_TOOLTIPS, 192, 115, 73, 10, kCheck | WS_GROUP, 0},
     {"Button", "Cool look", IDC_OX_CHECK_COOL_LOOK, 192, 128, 73, 10, kCheck, 0},
     {"Button", "Show Gripper", IDC_OX_CHECK_SHOW_GRIPPER, 192, 141, 73, 10, kCheck, 0},
     {"Static", "Border size", IDC_OX_STATIC_BORDER_SIZE, 192, 158, 40, 8, kVis, 0},
     {"Edit", "", IDC_OX_EDIT_BORDER_SIZE, 232, 156, 23, 12, kEdit | ES_NUMBER | WS_GROUP, 0},
     {UPDOWN_CLASS, "", IDC_OX_SPIN_BORDER_SIZE, 255, 156, 10, 12, kUpDown, 0}}};
const DialogTemplate kTabbedMDI{
    IDD_OX_PAGE_TABBED_MDI, kPage, 0, 0, 0, 265, 210, "", "MS Sans Serif", 8,
    {{"Button", "Support Tabbed MDI", IDC_OX_CHECK_SUPPORT_TABBED_MDI, 0, 0, 200, 10, kCheck | WS_GROUP, 0},
     {WC_TREEVIEW, "", IDC_OX_TREE_TAB_SETTINGS, 0, 14, 265, 168,
      kVis | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0},
     {"Static", "The distance between the tab control and parent frame borders", IDC_OX_STATIC_OFFSET, 0, 190, 222,
      8, kVis, 0},
     {"Edit", "", IDC_OX_EDIT_OFFSET, 224, 188, 30, 12, kEdit | ES_NUMBER, 0},
     {UPDOWN_CLASS, "", IDC_OX_SPIN_OFFSET, 254, 188, 11, 12, kUpDown, 0}}};

class PagesResources : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        switch (id) {
            case IDD_OX_PAGE_INSTANCE_MANAGER: return &kInstanceManager;
            case IDD_OX_PAGE_SPLASH_WINDOW: return &kSplashWindow;
            case IDD_OX_PAGE_TRAY_ICON: return &kTrayIcon;
            case IDD_OX_PAGE_COOL_CONTROLS: return &kCoolControls;
            case IDD_OX_PAGE_BACKGROUND_PAINTER: return &kBackgroundPainter;
            case IDD_OX_PAGE_SHORTKEYS: return &kShortkeys;
            case IDD_OX_PAGE_TOOLBARS: return &kToolbars;
            case IDD_OX_PAGE_TABBED_MDI: return &kTabbedMDI;
            default: return nullptr;
        }
    }
    const char* FindString(UINT id) const override {
        switch (id) {
            case IDS_OX_PAGE_INSTANCE_MANAGER_TITLE: return "Instance Manager";
            case IDS_OX_PAGE_INSTANCE_MANAGER_TOOLTIP:
                return "Instance Manager allows you to limit the number of running instances";
            case IDS_OX_INSTANCE_COLUMN_INSTANCE: return "Instance";
            case IDS_OX_INSTANCE_COLUMN_PID: return "PID";
            case IDS_OX_INSTANCE_COLUMN_STATUS: return "Status";
            case IDS_OX_INSTANCE_ROW: return "Instance %d";
            case IDS_OX_INSTANCE_CURRENT: return "Current";
            case IDS_OX_PAGE_SPLASH_WINDOW_TITLE: return "Splash Window";
            case IDS_OX_PAGE_SPLASH_WINDOW_TOOLTIP: return "Tooltip for Splash Window";
            case IDS_OX_PAGE_TRAY_ICON_TITLE: return "Tray Icon";
            case IDS_OX_PAGE_TRAY_ICON_TOOLTIP: return "Customize TrayIcon";
            case IDS_OX_PAGE_COOL_CONTROLS_TITLE: return "Cool Controls";
            case IDS_OX_PAGE_COOL_CONTROLS_TOOLTIP: return "Tooltip for Cool Controls";
            case IDS_OX_COOL_CONTROLS_ROOT: return "Convert the following common controls";
            case IDS_OX_PAGE_BACKGROUND_PAINTER_TITLE: return "Background Painter";
            case IDS_OX_PAGE_BACKGROUND_PAINTER_TOOLTIP: return "Customize Background Painter";
            case IDS_OX_BACKGROUND_FILE_FILTER: return "Bitmap file (*.bmp;*.dib)|*.bmp; *.dib||";
            case IDS_OX_BACKGROUND_COLOR_DEFAULT: return "Default";
            case IDS_OX_BACKGROUND_COLOR_CUSTOM: return "Custom...";
            case IDS_OX_PAGE_SHORTKEYS_TITLE: return "Shortkeys";
            case IDS_OX_PAGE_SHORTKEYS_TOOLTIP: return "Customize accelerator tables";
            case IDS_OX_SHORTKEYS_GROUP: return "%s group";
            case IDS_OX_SHORTKEYS_ASSIGNED_ID: return "Currently assigned to the command:\nwith ID=%d";
            case IDS_OX_SHORTKEYS_ASSIGNED: return "Currently assigned to the command:\n<%s>";
            case IDS_OX_PAGE_TOOLBARS_TITLE: return "Toolbars";
            case IDS_OX_PAGE_TOOLBARS_TOOLTIP: return "Customize the appearance of application's toolbars";
            case IDS_OX_CUSTOM_TOOLBAR: return "Custom Toolbar %d";
            case IDS_OX_PAGE_TABBED_MDI_TITLE: return "Tabbed MDI";
            case IDS_OX_PAGE_TABBED_MDI_TOOLTIP: return "Customize Tabbed MDI settings";
            case IDS_OX_TABBED_MDI_ROOT: return "Tab control settings";
            case IDS_OX_TABBED_MDI_ORIENTATION: return "Orientation";
            case IDS_OX_TABBED_MDI_APPEARANCE: return "Appearance";
            case IDS_OX_TABBED_MDI_DISPLAY: return "Display";
            case IDS_OX_TABBED_MDI_POSITIONING: return "Positioning";
            default: return nullptr;
        }
    }
    const BitmapResource* FindIcon(UINT id) const override {
        static const BitmapResource icons[] = {
            {IDI_OX_SHORTKEYS_GROUP, customize_pages26020_png, customize_pages26020_png_size},
            {IDI_OX_SHORTKEYS_COMMAND, customize_pages26026_png, customize_pages26026_png_size}};
        for (const BitmapResource& b : icons)
            if (b.id == id)
                return &b;
        return nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource bitmaps[] = {
            {IDB_OX_PAGE_SHORTKEYS, customize_pages26039_png, customize_pages26039_png_size},
            {IDB_OX_PAGE_TOOLBARS, customize_pages26025_png, customize_pages26025_png_size},
            {IDB_OX_PAGE_BACKGROUND_PAINTER, customize_pages26033_png, customize_pages26033_png_size},
            {IDB_OX_PAGE_COOL_CONTROLS, customize_pages26034_png, customize_pages26034_png_size},
            {IDB_OX_COOL_CONTROLS_STATES, customize_pages26035_png, customize_pages26035_png_size},
            {IDB_OX_PAGE_TRAY_ICON, customize_pages26036_png, customize_pages26036_png_size},
            {IDB_OX_PAGE_INSTANCE_MANAGER, customize_pages26037_png, customize_pages26037_png_size},
            {IDB_OX_PAGE_SPLASH_WINDOW, customize_pages26038_png, customize_pages26038_png_size},
            {IDB_OX_PAGE_TABBED_MDI, customize_pages26007_png, customize_pages26007_png_size},
            {IDB_OX_TABBED_MDI_ORIENTATION, customize_pages26009_png, customize_pages26009_png_size},
            {IDB_OX_TABBED_MDI_TAB_CONTROL, customize_pages26011_png, customize_pages26011_png_size},
            {IDB_OX_TABBED_MDI_APPEARANCE, customize_pages26013_png, customize_pages26013_png_size},
            {IDB_OX_TABBED_MDI_DISPLAY, customize_pages26015_png, customize_pages26015_png_size},
            {IDB_OX_TABBED_MDI_POSITIONING, customize_pages26017_png, customize_pages26017_png_size}};
        for (const BitmapResource& b : bitmaps)
            if (b.id == id)
                return &b;
        return nullptr;
    }
};

}  // namespace

void OXRegisterCustomizePagesResources() {
    static PagesResources module;
    static const bool registered = (AddResourceModule(&module), true);
    (void)registered;
}
