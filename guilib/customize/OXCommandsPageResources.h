// The resources of the commands page and the button appearance dialog (templates, the tree's icons,
// the page's picture and the commands strip), a resource module that registers on first use.
#pragma once

#include "platform/user/User.h"

// The commands page.
#define IDD_OX_PAGE_COMMANDS 26010
#define IDB_OX_CUSTOMIZE_COMMANDS 26028   // the page's 32-pixel picture
#define IDB_OX_COMMANDS_STRIP 26031       // 16-pixel pictures for commands that have none
#define IDI_OX_CUSTOMIZE_MENU_GROUP 26020
#define IDI_OX_CUSTOMIZE_SEPARATOR 26023
#define IDI_OX_CUSTOMIZE_COMMAND 26026
#define IDI_OX_CUSTOMIZE_NEW_MENU 26029
#define IDI_OX_CUSTOMIZE_CUSTOM_BUTTONS 26032
#define IDC_OX_SEPARATOR_OPTIONS 26088
#define IDC_OX_SEPARATOR_COMMANDS 26111
#define IDC_OX_TREE_COMMANDS 26112
#define IDC_OX_SEPARATOR_DESCRIPTION 26113
#define IDC_OX_STATIC_DESCRIPTION 26114
#define IDC_OX_BUTTON_MODIFY_SELECTION 26115
#define IDC_OX_CHECK_SHOW_ICONS 26117
#define IDC_OX_CHECK_RECENTLY_USED 26236
#define IDC_OX_STATIC_CUSTOM_BUTTON_PREVIEW 26247

// The button appearance dialog.
#define IDD_OX_BUTTON_APPEARANCE 26030
#define IDC_OX_RADIO_IMAGE_ONLY 26229
#define IDC_OX_RADIO_IMAGE_TEXT 26230
#define IDC_OX_LIST_IMAGES 26231
#define IDC_OX_SEPARATOR_IMAGES 26232
#define IDC_OX_SEPARATOR_TEXT 26233
#define IDC_OX_EDIT_TEXT 26234
#define IDC_OX_CHECK_DROPDOWN 26235
#define IDC_OX_COMBO_ACCELERATOR 26237
#define IDC_OX_EDIT_HEIGHT 26238
#define IDC_OX_SPIN_HEIGHT 26239
#define IDC_OX_EDIT_WIDTH 26240
#define IDC_OX_SPIN_WIDTH 26241
#define IDC_OX_CHECK_HORZ_DOCKED 26242
#define IDC_OX_SEPARATOR_DISPLAY_CUSTOM 26243
#define IDC_OX_CHECK_VERT_DOCKED 26244
#define IDC_OX_CHECK_FLOATING 26245
#define IDC_OX_SEPARATOR_CUSTOM_SIZES 26246

// Registers the module (once) so the templates, icons and bitmaps above load.
void OXRegisterCommandsPageResources();
