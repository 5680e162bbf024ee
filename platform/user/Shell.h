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
