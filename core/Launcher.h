// Starting external programs (the editor, the hex viewer, Sifter) by command line.
#pragma once

#include "platform/base/Types.h"

// Starts a command line; the program is searched for as the platform searches for a command line's first
// word. The window title and show command go to the new program's start-up information (show 0 becomes
// minimised without activation, 3 and 9 stay, anything else is normal). With wait the call returns only
// when the program has ended. The process id goes to processId when it is given.
// Returns 1 started, 0 started and waited for, -2 program not found, -32 any other failure.
int LaunchProcess(LPCTSTR commandLine, LPCTSTR windowTitle, int showCommand, BOOL wait, DWORD* processId);

// Starts a command line in the foreground without waiting; a failure is shown in a message box.
// Returns the launcher's result.
int LaunchWinAppFg(LPCTSTR commandLine);
