// Starting the viewers: Sifter's launch-option words, and the launcher call with its failure messages.
#pragma once

#include "platform/base/String.h"

// The launch options of Sifter.
extern CString g_sLaunchOptions;

// Applies the option words (each found anywhere in the text, case kept). FALSE for the OS/2 words,
// which refuse the options. The title is the prefix and the command, cut to 255 characters.
BOOL ParseLaunchOptions(LPCTSTR command, LPCTSTR options, CString& title, int& showCommand, BOOL& wait);
// -7 when the options are refused, else the launcher's result.
int LaunchWithOptions(LPCTSTR command, LPCTSTR options, DWORD* out);
// Runs a command with Sifter's options; a negative result is shown in a message box and returned.
int LaunchTask(LPCTSTR command);
// The command line of a viewer: "<program> <path> SEARCH=<text>". The path and the "SEARCH=" argument
// are each quoted as one argument when they need it (a blank, a tab, a quote), so any file name and any
// text reach the viewer whole.
CString ViewerCommand(LPCTSTR program, const CString& path, const CString& text);
