// Starting the editor Scrivel on a log: its command lines, the test that the file is there first, and
// the launch itself (replaceable, so tests record the command line instead of starting a program).
#pragma once

#include <functional>

#include "platform/base/MessageBox.h"
#include "platform/base/String.h"

// Starts a command line in the foreground without waiting; by default the program launcher.
extern std::function<int(LPCTSTR commandLine)> g_launchEditor;

// "Scrivel \"folder/file\"" and, with a keyword, "Scrivel \"folder/file\" KEYWORD=value".
CString EditorCommandLine(LPCTSTR folder, LPCTSTR file, LPCTSTR keyword = nullptr, LPCTSTR value = nullptr);

// TRUE when folder/file holds data; otherwise a beep and "%s file not available!!!" in a message box
// owned by owner, and FALSE.
BOOL IsFileAvailable(HWND owner, LPCTSTR folder, LPCTSTR file);

// Starts Scrivel on folder/file (at the keyword's place when one is given) after the existence test.
// FALSE when the file is not there.
BOOL OpenInEditor(HWND owner, LPCTSTR folder, LPCTSTR file, LPCTSTR keyword = nullptr, LPCTSTR value = nullptr);
