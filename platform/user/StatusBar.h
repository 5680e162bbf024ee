// The status bar common control ("msctls_statusbar32"): class name, styles, messages and notifications,
// with their Windows values.
#pragma once

#include "platform/user/Toolbar.h"

#define STATUSCLASSNAME "msctls_statusbar32"

#define SBARS_SIZEGRIP 0x0100
#define SBARS_TOOLTIPS 0x0800

#define SB_SETTEXT (WM_USER + 1)
#define SB_GETTEXT (WM_USER + 2)
#define SB_GETTEXTLENGTH (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_GETBORDERS (WM_USER + 7)
#define SB_SETMINHEIGHT (WM_USER + 8)
#define SB_SIMPLE (WM_USER + 9)
#define SB_GETRECT (WM_USER + 10)
#define SB_ISSIMPLE (WM_USER + 14)
#define SB_SETICON (WM_USER + 15)
#define SB_SETTIPTEXT (WM_USER + 16)
#define SB_GETTIPTEXT (WM_USER + 18)
#define SB_GETICON (WM_USER + 20)
#define SB_SETBKCOLOR CCM_SETBKCOLOR

// Text types: the high byte of SB_SETTEXT's wParam, the high word of SB_GETTEXT's result.
#define SBT_OWNERDRAW 0x1000
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
#define SBT_RTLREADING 0x0400
#define SBT_NOTABPARSING 0x0800
#define SB_SIMPLEID 0x00FF

#define SBN_FIRST (0U - 880U)
#define SBN_SIMPLEMODECHANGE (SBN_FIRST - 0)
