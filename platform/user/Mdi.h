// Multiple-document interface: the "MDICLIENT" window that holds a frame's child windows, and the
// default procedures of MDI frames and children.
#pragma once

#include "platform/user/User.h"

#define MDICLIENT_CLASS "MDICLIENT"
#define MDIS_ALLCHILDSTYLES 0x0001
#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002

struct CLIENTCREATESTRUCT {
    HMENU hWindowMenu;  // the popup that lists the children
    UINT idFirstChild;  // the command of the first child in that list (and its window id)
};

struct MDICREATESTRUCT {
    LPCTSTR szClass;
    LPCTSTR szTitle;
    HANDLE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam;  // handed to the child's WM_CREATE through lpCreateParams (this structure)
};

LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
// Ctrl+F6 (Shift: back) and Ctrl+F4 for the active child; TRUE when the message was one of them.
BOOL TranslateMDISysAccel(HWND client, LPMSG msg);

namespace user {
void RegisterMdiClientClass();
}
