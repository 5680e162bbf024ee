// The control library's own resources (its strings), a resource module of their own that registers on
// first use, so every string loads whatever program links the library.
#pragma once

#include "platform/user/User.h"

#define IDS_OX_BMPFILEFILTER 26530  // the bitmap file picker's filter
#define IDS_OX_CUSTOMIZE_DELETE 26531  // a customised menu's context menu, in the order of its commands
#define IDS_OX_CUSTOMIZE_APPEARANCE 26532
#define IDS_OX_CUSTOMIZE_SEPARATOR_BEFORE 26533
#define IDS_OX_CUSTOMIZE_SEPARATOR_AFTER 26534
#define IDS_OX_CUSTOMIZE_RECENTLY_USED 26535
#define IDS_OX_MENUBAR_DELETE 26585  // a customised menu bar's item menu
#define IDS_OX_MENUBAR_APPEARANCE 26586
#define IDS_OX_TOOLBAR_DELETE 26590  // a customised tool bar's button menu, in the order of its commands
#define IDS_OX_TOOLBAR_SEPARATOR_AFTER 26595
#define IDS_OX_COLOR_FIRST 26540    // the 40 colour names of the colour picker, in its table order
#define IDS_OX_COLOR_LAST 26579

// The history combo's toolbar (and its bitmap): Add, Delete, Browse and two reserved buttons.
#define IDR_OX_HISTORY_COMBO_TOOLS 28022
#define ID_OX_HISTORY_COMBO_NEW 26391
#define ID_OX_HISTORY_COMBO_DELETE 26392
#define ID_OX_HISTORY_COMBO_BROWSE 26393
#define ID_OX_HISTORY_COMBO_RESERVED_1 26394
#define ID_OX_HISTORY_COMBO_RESERVED_2 26395

// The west-east splitter cursor of the preview dialog, the sizing dock bars and the tab view container.
#define IDC_OX_SPLITTER_CURSOR 30980

// The library's resource module as an instance handle (LoadString takes it); registered on first call.
HINSTANCE OXGetLibraryResourceHandle();
