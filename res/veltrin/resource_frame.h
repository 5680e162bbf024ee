// Resource identifiers of Veltrin's frame area: the application, the main frame and its dialogs.
#pragma once

// The document template and the main frame (menu, accelerators, title strings).
#define IDR_VELTRINTYPE 127

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_GOTOLINE 152
#define IDD_OPTIONS 1010
#define IDD_FINDTEXT 4300

// About.
#define IDC_ABOUT_ICON 3029
#define IDC_ABOUT_VERSION 3030
#define IDC_ABOUT_TEXT 3031

// Goto line.
#define IDC_GOTO_LINE 1001

// Options.
#define IDC_MIN_MILLISECONDS 1000
#define IDC_START_ITEMIZE_ON_OPEN 1002
#define IDC_LAUNCH_EXCEL_ON_EXPORT 1003
#define IDC_LINK_LOWER_TAB 1004
#define IDC_START_SQLSUM_ON_T20 1005
#define IDC_FILTER_QTRACE 1188
#define IDC_IMPORT_DELIMITER 1189
#define IDC_SEARCH_WITH_SIFTER 1190
#define IDC_SEARCH_INTERNAL 1191
#define IDC_ET_IN_STATS 1192

// Find.
#define IDC_FIND_UP 4301
#define IDC_FIND_MATCH_CASE 4302
#define IDC_FIND_TEXT 4303
#define IDC_FIND_WHOLE_WORD 4304
#define IDC_FIND_DOWN 4305

// Menus.
#define IDR_QSERVER_MENU 150
#define IDR_LIST_MENU 151
#define IDR_ITEMIZE_MENU 162
#define IDR_T20XACT_MENU 163
#define IDR_STATS_MENU 164
#define IDR_IMPORT_MENU 165
#define IDR_T20SQL_MENU 166
#define IDR_QBROKER_MENU 190
#define IDR_SQLSUMMARY_MENU 191

// Toolbars (each with the bitmap of its id).
#define IDR_WINDOWBAR 132
#define IDR_TOOLBAR 133

// Bitmaps.
#define IDB_TAB_IMAGES 140
#define IDB_TREE_IMAGES 146
#define IDB_SPLASH 4000
// The picture the MDI client is painted with.
#define IDB_MDI_BACKGROUND 158

// Icons.
#define IDI_VELTRIN 131
#define IDI_ABOUT 160
#define IDI_VELTRIN_SMALL 161

// Cursors.
#define IDC_TAB_SPLITTER_CURSOR 30980

// Commands of the frame's menus.
#define ID_TOGGLE_OUTPUT_PAD 2000
#define ID_HIDE_OUTPUT_PAD 2010
#define ID_EXPORT_LIST 2011
#define ID_STATS 2012
#define ID_OPTIONS 4010
#define ID_IMPORT 4050
#define ID_SAVE_COLUMN_LAYOUT 32778
#define ID_FIND_IN_FILES 32780
#define ID_CUSTOMIZE 32781
#define ID_FIND_IN_LIST 32784
#define ID_RUN_T20_ENTIRE_TREE 32789
#define ID_RUN_TA_ENTIRE_TREE 32791
#define ID_RUN_TIC_ENTIRE_TREE 32806

// Commands of the tree's menus (190: a QBroker root, 150: a QServer log).
#define ID_BROKER_OPEN 198
#define ID_BROKER_FIND_IN_FILE 4000
#define ID_BROKER_ITEMIZE 4001
#define ID_SERVER_FIND_IN_FILE 4003
#define ID_SERVER_OPEN 4004
#define ID_SERVER_RUN_TA 4006
#define ID_SERVER_ITEMIZE 4007
#define ID_BROKER_RUN_TA 4008
#define ID_SERVER_GOTO_LINE 4011
#define ID_BROKER_GOTO_LINE 4012
#define ID_BROKER_REMOVE 32785
#define ID_BROKER_RUN_T20 32788
#define ID_SERVER_RUN_T20 32790
#define ID_SERVER_REMOVE 32792
#define ID_BROKER_RUN_TIC 32802
#define ID_SERVER_RUN_TIC 32805

// Commands of the report view's menus.
#define ID_RUN_SQL_HISTOGRAM 1101
#define ID_OPEN_LOG 4009
#define ID_OPEN_QBROKER_LOG 4013
#define ID_OPEN_QSERVER_LOG 4014
#define ID_COPY_TO_CLIPBOARD 32786
#define ID_GOTO_LOG 32787
#define ID_RUN_SUBITEM_T20 32793
#define ID_RUN_SUBITEM_ITEMIZE 32794
#define ID_RUN_SUBITEM_SQLSUM 32795
#define ID_RUN_SQL_SUMMARY 32796

// The bars' show/hide commands are their control-bar identifiers.
#define ID_VIEW_WINDOWBAR_CMD 59402
#define ID_VIEW_PADBAR_CMD 59522
#define ID_VIEW_TREEBAR_CMD 59523
