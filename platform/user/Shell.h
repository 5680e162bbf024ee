// The shell's verbs on a file: "open" hands the file to the desktop's opener, xdg-open.
#pragma once

#include "platform/user/User.h"

#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

// Opens the file (or folder, or URL) with the program the desktop associates with it: xdg-open with the
// file as its one argument, never through a shell. The verb must be null or "open"; parameters are not
// passed on. Returns a value above 32 once the opener has started, else an error code (SE_ERR_FNF
// when no opener is installed, SE_ERR_NOASSOC for another verb). The opener runs on its own.
HINSTANCE ShellExecute(HWND owner, LPCTSTR verb, LPCTSTR file, LPCTSTR parameters, LPCTSTR folder, int show);

// The extended form: with SEE_MASK_NOCLOSEPROCESS the opener's process handle comes back in hProcess (the
// caller closes it; waiting on it waits for the opener). A file given in double quotes is opened without
// them. FALSE on failure, with GetLastError ERROR_FILE_NOT_FOUND (no opener installed),
// ERROR_ACCESS_DENIED or ERROR_NO_ASSOCIATION (a verb other than "open"); hInstApp holds the SE_ERR_ code.
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_FLAG_NO_UI 0x00000400
#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif
struct SHELLEXECUTEINFO {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCTSTR lpVerb;
    LPCTSTR lpFile;
    LPCTSTR lpParameters;
    LPCTSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);

// Notification icons. There is no tray every desktop has, so no icon is shown: the platform keeps each
// icon's window, id, callback message, icon, tip and state, and answers as the shell does. A test (or a
// display that grows a tray) reads them with FindNotifyIcon and clicks with SimulateNotifyIconMouse.
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIM_SETFOCUS 0x00000003
#define NIM_SETVERSION 0x00000004
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
#define NIF_STATE 0x00000008
#define NIF_INFO 0x00000010
#define NIS_HIDDEN 0x00000001
#define NIS_SHAREDICON 0x00000002

struct NOTIFYICONDATA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    CHAR szInfo[256];
    UINT uTimeout;
    CHAR szInfoTitle[64];
    DWORD dwInfoFlags;
};
typedef NOTIFYICONDATA* PNOTIFYICONDATA;

// NIM_ADD fails for an icon (window and id) already there, NIM_MODIFY and NIM_DELETE for one that is not.
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data);
// The icon as kept (false when there is none).
bool FindNotifyIcon(HWND hwnd, UINT id, NOTIFYICONDATA* out);
// Posts the icon's callback message to its window as a mouse message over the icon does (wParam the id,
// lParam the mouse message); false when there is no such icon or it has no callback.
bool SimulateNotifyIconMouse(HWND hwnd, UINT id, UINT mouseMessage);

// Icons of an icon file (.ico: one icon, of the image nearest the wanted size). The program's own file
// holds none here. ExtractIconEx with index -1 and no arrays gives the count; otherwise it fills up to
// `count` icons from `index` on (32-pixel into `large`, small-icon size into `small`) and returns how
// many it made. ExtractIcon gives the icon at `index`, the count for -1, null when there is none; the
// caller destroys an icon it got (DestroyIcon).
// Frees an icon made by CreateIconFromSurface or ExtractIcon; never one of the program's resources.
BOOL DestroyIcon(HICON icon);
UINT ExtractIconEx(LPCTSTR file, int index, HICON* large, HICON* small, UINT count);
HICON ExtractIcon(HINSTANCE instance, LPCTSTR file, UINT index);
