#include <utility>

#include "platform/user/Accelerators.h"
#include "platform/user/Menu.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"

// The pictures, embedded at build time (res/veltrin/images).
#define VELTRIN_IMAGE(name)                        \
    extern const unsigned char veltrin_##name##_png[]; \
    extern const size_t veltrin_##name##_png_size;
VELTRIN_IMAGE(toolbar132)
VELTRIN_IMAGE(toolbar133)
VELTRIN_IMAGE(tabs140)
VELTRIN_IMAGE(tree146)
VELTRIN_IMAGE(splash4000)
VELTRIN_IMAGE(background158)
VELTRIN_IMAGE(icon131)
VELTRIN_IMAGE(icon160)
VELTRIN_IMAGE(icon161)
VELTRIN_IMAGE(cursor30980)
#undef VELTRIN_IMAGE

namespace {
// The framework's standard command ids.
constexpr UINT kFileOpen = 57601, kPrintSetup = 57606, kPrint = 57607, kPrintPreview = 57609, kMruFile1 = 57616,
               kEditCopy = 57634, kEditFind = 57636, kEditRepeat = 57640, kAppAbout = 57664, kAppExit = 57665,
               kWindowCascade = 57650, kWindowTileHorz = 57651, kWindowArrange = 57649, kViewToolbar = 59392,
               kViewStatusBar = 59393, kFilePageSetup = 57605;

const DialogTemplate kAboutBox{
    IDD_ABOUTBOX,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0, 0, 0, 235, 100,
    "About Veltrin",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "#160", IDC_ABOUT_ICON, 11, 17, 20, 20, SS_ICON | WS_VISIBLE, 0},
        {WC_STATIC, "", IDC_ABOUT_VERSION, 40, 10, 185, 8, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
        {WC_STATIC,
         "Log analyser for QBroker and QServer logs.\n\n"
         "Written by the Veltrin team. Free to use and to pass on.",
         IDC_ABOUT_TEXT, 40, 25, 185, 48, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
        {WC_BUTTON, "OK", IDOK, 178, 79, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0},
    }};

const DialogTemplate kGotoLine{
    IDD_GOTOLINE,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0, 0, 0, 154, 46,
    "Goto Line",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "        Line #:", -1, 7, 9, 48, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_GOTO_LINE, 58, 7, 89, 12, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE,
         0},
        {WC_BUTTON, "&Go", IDOK, 43, 26, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 97, 26, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

const DialogTemplate kFindText{
    IDD_FINDTEXT,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0, 0, 0, 236, 62,
    "Find",
    "MS Sans Serif",
    8,
    {
        {WC_STATIC, "Fi&nd what:", -1, 4, 8, 42, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_FIND_TEXT, 47, 7, 128, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP,
         0},
        {WC_BUTTON, "Match &whole word only", IDC_FIND_WHOLE_WORD, 4, 26, 100, 12,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0},
        {WC_BUTTON, "Match &case", IDC_FIND_MATCH_CASE, 4, 42, 64, 12, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
        {WC_BUTTON, "Direction", -1, 107, 26, 68, 28, BS_GROUPBOX | WS_GROUP, 0},
        {WC_BUTTON, "&Up", IDC_FIND_UP, 111, 38, 25, 12, BS_AUTORADIOBUTTON | WS_GROUP, 0},
        {WC_BUTTON, "&Down", IDC_FIND_DOWN, 138, 38, 35, 12, BS_AUTORADIOBUTTON, 0},
        {WC_BUTTON, "&Find Next", IDOK, 182, 5, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 182, 23, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

const DialogTemplate kOptions{
    IDD_OPTIONS,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0, 0, 0, 330, 250,
    "Options",
    "MS Sans Serif",
    8,
    {
        {WC_BUTTON, "Set Milliseconds Ignore Limit", -1, 7, 7, 316, 30, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_STATIC,
         "Enter the Minimum Number of Millisecond digits to process (1 - 6) ............................", -1, 14,
         20, 270, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_MIN_MILLISECONDS, 290, 18, 24, 12,
         ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "View Options", -1, 7, 42, 316, 92, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_BUTTON, "Auto start One-Line Itemize on Open", IDC_START_ITEMIZE_ON_OPEN, 14, 54, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Auto start SQL Sum report on Top 20 report", IDC_START_SQLSUM_ON_T20, 14, 67, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Auto launch Excel on Export of ListView", IDC_LAUNCH_EXCEL_ON_EXPORT, 14, 80, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Link Lower Tab with Upper Tab on Activate", IDC_LINK_LOWER_TAB, 14, 93, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Enable QTrace Filter for Itemize QBroker Logs", IDC_FILTER_QTRACE, 14, 106, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Enable Elapsed Time Calculations in STATS", IDC_ET_IN_STATS, 14, 119, 300, 10,
         BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 0},
        {WC_BUTTON, "Import Options", -1, 7, 139, 316, 28, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_STATIC, "Import Delimiter Character (T = Tab)", -1, 14, 151, 200, 8, SS_LEFT | WS_VISIBLE, 0},
        {WC_EDIT, "", IDC_IMPORT_DELIMITER, 290, 149, 24, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE,
         0},
        {WC_BUTTON, "Treeview Search Options", -1, 7, 172, 316, 44, BS_GROUPBOX | WS_VISIBLE, 0},
        {WC_BUTTON, "Use Sifter to search the logs (external program)", IDC_SEARCH_WITH_SIFTER, 14, 185, 300, 10,
         BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP | WS_VISIBLE, 0},
        {WC_BUTTON, "Use Internal Search (internal logic)", IDC_SEARCH_INTERNAL, 14, 199, 300, 10,
         BS_AUTORADIOBUTTON | WS_VISIBLE, 0},
        {WC_BUTTON, "Set", IDOK, 219, 227, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0},
        {WC_BUTTON, "Cancel", IDCANCEL, 273, 227, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    }};

MenuItemTemplate Item(const char* text, UINT id) { return {text, id, 0, {}}; }
MenuItemTemplate Separator() { return {nullptr, 0, MF_SEPARATOR, {}}; }
MenuItemTemplate Popup(const char* text, std::vector<MenuItemTemplate> items) {
    return {text, 0, MF_POPUP, std::move(items)};
}

const MenuTemplate kMainMenu{IDR_VELTRINTYPE,
                             {Popup("&File", {Item("&Open...\tCtrl+O", kFileOpen),
                                              Separator(),
                                              Item("Print Pre&view", kPrintPreview),
                                              Item("P&rint Setup...", kPrintSetup),
                                              Item("Page Set&up...", kFilePageSetup),
                                              Separator(),
                                              Item("Recent File", kMruFile1),
                                              Separator(),
                                              Item("E&xit", kAppExit)}),
                              Popup("&Edit", {Item("&Copy Pad Text", kEditCopy),
                                              Item("Save Column &Layout", ID_SAVE_COLUMN_LAYOUT),
                                              Separator(),
                                              Item("Find in &Tree...", kEditFind),
                                              Item("&Find in List...\tCtrl+F", ID_FIND_IN_LIST),
                                              Item("Find &Next\tF3", kEditRepeat)}),
                              Popup("&View", {Item("&Toolbar", kViewToolbar),
                                              Item("&Window Bar", ID_VIEW_WINDOWBAR_CMD),
                                              Item("&Status Bar", kViewStatusBar),
                                              Item("&Logs TreeView", ID_VIEW_TREEBAR_CMD),
                                              Item("&Edit Pad", ID_VIEW_PADBAR_CMD),
                                              Item("&Hide Edit Pad", ID_HIDE_OUTPUT_PAD),
                                              Separator(),
                                              Item("&Options...", ID_OPTIONS),
                                              Item("C&ustomize...", ID_CUSTOMIZE)}),
                              Popup("&Tools", {Item("Run (TA) SQL time analysis on entire Tree", ID_RUN_TA_ENTIRE_TREE),
                                               Item("Run (T20) TOP 20 report on entire Tree", ID_RUN_T20_ENTIRE_TREE),
                                               Item("Run (TIC) Transaction Integrity Check on entire Tree",
                                                    ID_RUN_TIC_ENTIRE_TREE),
                                               Separator(),
                                               Item("&Stats...", ID_STATS),
                                               Item("&Import...", ID_IMPORT),
                                               Item("&Export list...", ID_EXPORT_LIST)}),
                              Popup("&Window", {Item("&Cascade", kWindowCascade),
                                                Item("&Tile", kWindowTileHorz),
                                                Item("&Arrange Icons", kWindowArrange)}),
                              Popup("&Help", {Item("&About Veltrin...", kAppAbout)})}};

const MenuTemplate kQBrokerMenu{
    IDR_QBROKER_MENU,
    {Popup("QBroker", {Item("Open", ID_BROKER_OPEN),
                       Item("Remove", ID_BROKER_REMOVE),
                       Separator(),
                       Item("Itemize to One-Liners", ID_BROKER_ITEMIZE),
                       Item("Find in File ...", ID_BROKER_FIND_IN_FILE),
                       Item("Goto Line in List...", ID_BROKER_GOTO_LINE),
                       Item("Run (TA) SQL time analysis on this QBroker.log", ID_BROKER_RUN_TA),
                       Item("Run (T20) Top 20 report on this QBroker log", ID_BROKER_RUN_T20),
                       Item("Run (TIC) Transaction Integrity Check on this QBroker.log", ID_BROKER_RUN_TIC)})}};

const MenuTemplate kQServerMenu{
    IDR_QSERVER_MENU,
    {Popup("QServer", {Item("Open", ID_SERVER_OPEN),
                       Item("Remove", ID_SERVER_REMOVE),
                       Separator(),
                       Item("Itemize to One-Liners", ID_SERVER_ITEMIZE),
                       Item("Find in File ...", ID_SERVER_FIND_IN_FILE),
                       Item("Goto Line in List...", ID_SERVER_GOTO_LINE),
                       Item("Run (TA) SQL time analysis on this QServer.log", ID_SERVER_RUN_TA),
                       Item("Run (T20) Top 20 report on this QServer.log", ID_SERVER_RUN_T20),
                       Item("Run (TIC) Transaction Integrity Check on this QServer.log", ID_SERVER_RUN_TIC)})}};

// The report view's menus: one pop-up each.
const MenuTemplate kListMenu{IDR_LIST_MENU,
                             {Popup("List", {Item("Open Log ...", ID_OPEN_LOG), Separator(),
                                             Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kItemizeMenu{IDR_ITEMIZE_MENU,
                                {Popup("Itemize", {Item("Goto Log ...", ID_GOTO_LOG), Separator(),
                                                   Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kT20XactMenu{
    IDR_T20XACT_MENU,
    {Popup("Transactions", {Item("Open Log ...", ID_OPEN_LOG), Separator(),
                            Item("Run Transaction Top20 SQL Report...", ID_RUN_SUBITEM_T20),
                            Item("Run Transaction Itemize SQL Report...", ID_RUN_SUBITEM_ITEMIZE),
                            Item("Run Transaction SQL Sums Report...", ID_RUN_SUBITEM_SQLSUM), Separator(),
                            Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kStatsMenu{
    IDR_STATS_MENU,
    {Popup("Stats", {Item("Open QBroker Log ...", ID_OPEN_QBROKER_LOG),
                     Item("Open QServer Log ...", ID_OPEN_QSERVER_LOG), Separator(),
                     Item("Run Transaction Itemize SQL with GAP Report...", ID_RUN_SUBITEM_ITEMIZE), Separator(),
                     Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kImportMenu{IDR_IMPORT_MENU,
                               {Popup("Import", {Item("Open File ...", ID_OPEN_LOG), Separator(),
                                                 Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kT20SqlMenu{IDR_T20SQL_MENU,
                               {Popup("SQL", {Item("Open Log ...", ID_OPEN_LOG),
                                              Item("Run SQL Summary Report", ID_RUN_SQL_SUMMARY), Separator(),
                                              Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};
const MenuTemplate kSqlSummaryMenu{IDR_SQLSUMMARY_MENU,
                                   {Popup("SQL Summary", {Item("Run SQL Histogram Report", ID_RUN_SQL_HISTOGRAM),
                                                          Separator(),
                                                          Item("Copy to Clipboard", ID_COPY_TO_CLIPBOARD)})}};

// What each command of the menus does (shown as its description), then its short name.
const std::pair<UINT, const char*> kCommandStrings[] = {
    {kFileOpen, "Opens QBroker logs\nOpen"},
    {kPrintPreview, "Shows the report list as it will be printed\nPrint Preview"},
    {kPrintSetup, "Chooses the printer and its options\nPrint Setup"},
    {kFilePageSetup, "Sets the page margins\nPage Setup"},
    {kAppExit, "Quits Veltrin\nExit"},
    {kEditCopy, "Copies the text of the active pad page\nCopy Pad Text"},
    {ID_SAVE_COLUMN_LAYOUT, "Saves the report list's column layout\nSave Column Layout"},
    {kEditFind, "Searches the logs of the tree for a text\nFind in Tree"},
    {ID_FIND_IN_LIST, "Searches the report list for a text\nFind in List"},
    {kEditRepeat, "Finds the next row holding the text\nFind Next"},
    {kViewToolbar, "Shows or hides the toolbar\nToolbar"},
    {ID_VIEW_WINDOWBAR_CMD, "Shows or hides the window bar\nWindow Bar"},
    {kViewStatusBar, "Shows or hides the status bar\nStatus Bar"},
    {ID_VIEW_TREEBAR_CMD, "Shows or hides the logs tree\nLogs TreeView"},
    {ID_VIEW_PADBAR_CMD, "Shows or hides the edit pad\nEdit Pad"},
    {ID_HIDE_OUTPUT_PAD, "Hides the edit pad\nHide Edit Pad"},
    {ID_OPTIONS, "Changes Veltrin's options\nOptions"},
    {ID_CUSTOMIZE, "Customizes menus, toolbars, keys and more\nCustomize"},
    {ID_RUN_TA_ENTIRE_TREE, "Runs the SQL time analysis on every log of the tree\nTA on Entire Tree"},
    {ID_RUN_T20_ENTIRE_TREE, "Runs the top 20 report on every log of the tree\nT20 on Entire Tree"},
    {ID_RUN_TIC_ENTIRE_TREE, "Runs the transaction integrity check on every log of the tree\nTIC on Entire Tree"},
    {ID_STATS, "Shows statistics of the loaded QBroker logs\nStats"},
    {ID_IMPORT, "Imports a CSV file as a report\nImport"},
    {ID_EXPORT_LIST, "Exports the report list as CSV\nExport List"},
    {kWindowCascade, "Arranges the windows overlapped\nCascade"},
    {kWindowTileHorz, "Arranges the windows side by side\nTile"},
    {kWindowArrange, "Arranges the icons of minimised windows\nArrange Icons"},
    {kAppAbout, "Shows Veltrin's version\nAbout"},
};

const AcceleratorTemplate kAccelerators{IDR_VELTRINTYPE,
                                        {{FVIRTKEY | FCONTROL, 'O', (WORD)kFileOpen},
                                         {FVIRTKEY | FCONTROL, 'F', (WORD)ID_FIND_IN_LIST},
                                         {FVIRTKEY, 0x72 /* F3 */, (WORD)kEditRepeat}}};

const ToolbarTemplate kToolbar{IDR_TOOLBAR,
                               16,
                               16,
                               {kFileOpen, 0, kEditCopy, 0, kEditFind, ID_FIND_IN_LIST, kEditRepeat, 0, ID_OPTIONS,
                                ID_STATS, ID_EXPORT_LIST, 0, kAppAbout}};
const ToolbarTemplate kWindowBar{IDR_WINDOWBAR,
                                 16,
                                 16,
                                 {ID_VIEW_PADBAR_CMD, ID_VIEW_TREEBAR_CMD, 0, kWindowCascade, kWindowTileHorz}};

const BitmapResource kBitmaps[] = {
    {IDR_WINDOWBAR, veltrin_toolbar132_png, veltrin_toolbar132_png_size},
    {IDR_TOOLBAR, veltrin_toolbar133_png, veltrin_toolbar133_png_size},
    {IDB_TAB_IMAGES, veltrin_tabs140_png, veltrin_tabs140_png_size},
    {IDB_TREE_IMAGES, veltrin_tree146_png, veltrin_tree146_png_size},
    {IDB_SPLASH, veltrin_splash4000_png, veltrin_splash4000_png_size},
    {IDB_MDI_BACKGROUND, veltrin_background158_png, veltrin_background158_png_size},
};
const BitmapResource kIcons[] = {
    {IDI_VELTRIN, veltrin_icon131_png, veltrin_icon131_png_size},
    {IDI_ABOUT, veltrin_icon160_png, veltrin_icon160_png_size},
    {IDI_VELTRIN_SMALL, veltrin_icon161_png, veltrin_icon161_png_size},
    // The tray icon takes the frame's id.
    {IDR_VELTRINTYPE, veltrin_icon131_png, veltrin_icon131_png_size},
};
const BitmapResource kCursors[] = {
    {IDC_TAB_SPLITTER_CURSOR, veltrin_cursor30980_png, veltrin_cursor30980_png_size},
};

template <size_t N>
const BitmapResource* FindIn(const BitmapResource (&table)[N], UINT id) {
    for (const BitmapResource& b : table)
        if (b.id == id)
            return &b;
    return nullptr;
}

class FrameResourceModule : public ResourceModule {
public:
    const DialogTemplate* FindDialog(UINT id) const override {
        switch (id) {
            case IDD_ABOUTBOX:
                return &kAboutBox;
            case IDD_GOTOLINE:
                return &kGotoLine;
            case IDD_FINDTEXT:
                return &kFindText;
            case IDD_OPTIONS:
                return &kOptions;
        }
        return nullptr;
    }
    const char* FindString(UINT id) const override {
        // The frame's title and the document template's strings; the commands' descriptions.
        if (id == IDR_VELTRINTYPE)
            return "Veltrin\nVeltrin\nVeltrin\n\n\nVeltrin.Document\nVeltrin Document";
        for (const auto& [command, text] : kCommandStrings)
            if (command == id)
                return text;
        return nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override {
        for (const MenuTemplate* m : {&kMainMenu, &kQBrokerMenu, &kQServerMenu, &kListMenu, &kItemizeMenu,
                                      &kT20XactMenu, &kStatsMenu, &kImportMenu, &kT20SqlMenu, &kSqlSummaryMenu})
            if (m->id == id)
                return m;
        return nullptr;
    }
    const AcceleratorTemplate* FindAccelerators(UINT id) const override {
        return id == IDR_VELTRINTYPE ? &kAccelerators : nullptr;
    }
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        return id == IDR_TOOLBAR ? &kToolbar : id == IDR_WINDOWBAR ? &kWindowBar : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override { return FindIn(kBitmaps, id); }
    const BitmapResource* FindIcon(UINT id) const override { return FindIn(kIcons, id); }
    const BitmapResource* FindCursor(UINT id) const override { return FindIn(kCursors, id); }
};
}  // namespace

const ResourceModule& VeltrinFrameResources() {
    static const FrameResourceModule module;
    return module;
}
