// The colour dialog (ChooseColor), Classic: 48 basic colours, 16 custom colours and, opened fully, the
// Red, Green and Blue fields of the colour being defined.
#pragma once

#include "platform/user/User.h"

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SHOWHELP 0x00000008
#define CC_ENABLEHOOK 0x00000010
#define CC_SOLIDCOLOR 0x00000080
#define CC_ANYCOLOR 0x00000100

struct CHOOSECOLOR {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;
    COLORREF* lpCustColors;  // 16 colours, read and written back
    DWORD Flags;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};
typedef CHOOSECOLOR* LPCHOOSECOLOR;

// TRUE with the chosen colour in rgbResult (and the custom colours written back); FALSE when the user
// cancels or the structure is wrong (CommDlgExtendedError CDERR_STRUCTSIZE), leaving both as they were.
BOOL ChooseColor(LPCHOOSECOLOR cc);

// The dialog's control ids (tests drive it by them).
#define COLOR_RED 706
#define COLOR_GREEN 707
#define COLOR_BLUE 708
#define COLOR_CURRENT 709  // the sample of the colour being defined
#define COLOR_ADD 712      // "Add to Custom Colors"
#define COLOR_MIX 719      // "Define Custom Colors >>"
#define IDC_COLOR_BASIC_FIRST 1536   // the 48 basic colour cells, row by row
#define IDC_COLOR_CUSTOM_FIRST 1600  // the 16 custom colour cells
