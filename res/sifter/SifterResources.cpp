#include "res/sifter/SifterResources.h"

#include "platform/user/ListView.h"
#include "platform/user/Menu.h"
#include "res/sifter/resource.h"

namespace {
// The list view's class and styles (report view, one selection shown always, fixed owner-drawn rows).
constexpr const char* kListViewClass = WC_LISTVIEW;
constexpr DWORD kListStyles = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const DialogTemplate kSifterDialog{
    IDD_SIFTER_DIALOG,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    0,
    0,
    0,
    400,
    262,
    "Sifter",
    "MS Sans Serif",
    8,
    {
        {WC_BUTTON, "Define search", -1, 7, 3, 270, 80, kChild | BS_GROUPBOX, 0},
        {WC_STATIC, "Look in", -1, 14, 16, 54, 8, kChild, 0},
        {WC_EDIT, "", IDC_BASEFOLDER, 70, 14, 150, 12, kEdit, 0},
        {WC_BUTTON, "Browse ...", IDC_BROWSE, 224, 13, 48, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
        {WC_STATIC, "For files named", -1, 14, 32, 54, 8, kChild, 0},
        {WC_EDIT, "", IDC_FILEMASK, 70, 30, 202, 12, kEdit, 0},
        {WC_STATIC, "Containing text", -1, 14, 48, 54, 8, kChild, 0},
        {WC_EDIT, "", IDC_FINDTEXT, 70, 46, 202, 12, kEdit, 0},
        {WC_BUTTON, "Search in subdirectories", IDC_SUBFOLDERS, 14, 64, 120, 10,
         kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0},

        {WC_BUTTON, "Search options", -1, 283, 3, 110, 80, kChild | BS_GROUPBOX, 0},
        {WC_BUTTON, "Size between (in KB) ...", IDC_SIZEFILTER, 290, 14, 98, 10,
         kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
        {WC_EDIT, "", IDC_MINSIZE, 290, 27, 38, 12, kEdit | ES_NUMBER | WS_DISABLED, 0},
        {WC_STATIC, "and", -1, 332, 29, 14, 8, kChild, 0},
        {WC_EDIT, "", IDC_MAXSIZE, 348, 27, 38, 12, kEdit | ES_NUMBER | WS_DISABLED, 0},
        {WC_BUTTON, "Replace list", IDC_REPLACELIST, 290, 44, 96, 10,
         kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "Add to list", IDC_ADDTOLIST, 290, 56, 96, 10, kChild | BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "Remove from list", IDC_REMOVEFROMLIST, 290, 68, 96, 10, kChild | BS_AUTORADIOBUTTON, 0},

        {WC_BUTTON, "Search", IDOK, 7, 90, 50, 14, kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0},
        {WC_STATIC, "0 items found", IDC_STATUS, 62, 93, 160, 8, kChild | SS_NOPREFIX, 0},
        {WC_BUTTON, "Dbl-Clk View Options", -1, 230, 85, 163, 24, kChild | BS_GROUPBOX, 0},
        {WC_BUTTON, "View is by associative viewer", IDC_USEDEFVIEWER, 236, 95, 150, 10,
         kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
        {WC_BUTTON, "Hidden Files", IDC_HIDDENFILES, 140, 64, 60, 10,
         WS_CHILD | WS_DISABLED | BS_AUTOCHECKBOX, 0},
        {kListViewClass, "", IDC_RESULTS, 7, 114, 386, 141, kChild | WS_BORDER | WS_TABSTOP | kListStyles, 0},
    }};

const MenuTemplate kViewerMenu{IDR_VIEWERMENU,
                               {{"Viewers",
                                 0,
                                 MF_POPUP,
                                 {{"Binary Viewer", ID_BINARYVIEWER, 0, {}},
                                  {"Text Viewer", ID_TEXTVIEWER, 0, {}},
                                  {"Default Viewer", ID_DEFAULTVIEWER, 0, {}}}}}};

class SifterResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        return id == IDD_SIFTER_DIALOG ? &kSifterDialog : nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override {
        return id == IDR_VIEWERMENU ? &kViewerMenu : nullptr;
    }
};
}  // namespace

const ResourceModule& SifterResources() {
    static const SifterResourceModule module;
    return module;
}
