// Processes: starting programs from a Windows command line, waiting for them, their exit codes, and
// the command line and start-up information a program was started with.
//
// A program starts with posix_spawn, never through a shell. The command line is split by the Windows
// rules (CommandLine.h) and the child's argv is exactly that split. The program is the first word:
// a word holding '/' is a path; a bare name is looked for in the starting program's own folder, then in
// the absolute folders of PATH, never in the working folder. The child receives the exact command line
// (and the window title and show command asked for), so a program of ours reads them back unchanged.
// Every child is reaped when it ends, whether or not anybody waits for it.
#pragma once

#include "platform/base/Handles.h"
#include "platform/base/Types.h"

#include "platform/base/ShowCommands.h"

// Creation flags. The console flags and priority classes are accepted and have no effect here: a child
// shares the standard streams, and it runs at the normal priority (the real-time class needs rights a
// desktop program does not have).
#define DEBUG_PROCESS 0x00000001
#define DETACHED_PROCESS 0x00000008
#define CREATE_NEW_CONSOLE 0x00000010
#define NORMAL_PRIORITY_CLASS 0x00000020
#define IDLE_PRIORITY_CLASS 0x00000040
#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100
#define CREATE_NEW_PROCESS_GROUP 0x00000200
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000
#define CREATE_NO_WINDOW 0x08000000

#define STARTF_USESHOWWINDOW 0x00000001

#define SYNCHRONIZE 0x00100000L
#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define PROCESS_ALL_ACCESS 0x001FFFFF

struct STARTUPINFO {
    DWORD cb;
    LPTSTR lpReserved;
    LPTSTR lpDesktop;
    LPTSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
typedef STARTUPINFO STARTUPINFOA;
typedef STARTUPINFO* LPSTARTUPINFO;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

// Starts a program. With no application name the program is the first word of the command line, found
// as described above; an application name is used as the program's path as it is. Handles are never
// inherited (only the standard streams are); a separate environment block and a current folder other
// than the caller's are not supported (ERROR_INVALID_PARAMETER). Errors: ERROR_FILE_NOT_FOUND when the
// program is not there (also for an empty command line), ERROR_PATH_NOT_FOUND when its folder is not,
// ERROR_ACCESS_DENIED when it is not an executable file, ERROR_BAD_EXE_FORMAT when it cannot be run.
// hProcess and hThread both name the new process; hThread exists to be closed.
BOOL CreateProcess(LPCTSTR applicationName, LPCTSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                   LPVOID environment, LPCTSTR currentDirectory, LPSTARTUPINFO startupInfo,
                   LPPROCESS_INFORMATION processInformation);

// Starts a program as CreateProcess does, with its standard output read into `output`, and waits for it
// to end. FALSE (with the error of CreateProcess) when it cannot be started.
BOOL RunProgramForOutput(LPCTSTR commandLine, std::string& output, DWORD& exitCode);

// A handle to a process this program started and that has not ended yet; other processes give NULL
// with ERROR_ACCESS_DENIED (ERROR_INVALID_PARAMETER when there is no such process).
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);

// STILL_ACTIVE while the process runs; then its exit status, or 128 plus the signal that ended it
// (the code given to TerminateProcess when that ended it).
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
// Kills the process; fails with ERROR_ACCESS_DENIED once it has ended.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// Waiting on a process handle (WaitForSingleObject) returns once the process has ended and been reaped.

DWORD GetCurrentProcessId();
// The path of this program (from /proc/self/exe; `module` must be null, this program). The characters
// copied, without the terminating zero; the path cut to `size` - 1 characters when the buffer is short
// (ERROR_INSUFFICIENT_BUFFER); 0 when it cannot be read.
DWORD GetModuleFileName(struct HINSTANCE__* module, LPTSTR buffer, DWORD size);

// The command line this program was started with: the exact line when one of our programs started it,
// else the program's arguments joined with blanks (each quoted where the Windows rules need it).
// TRUE when GetCommandLine is the exact line the starting program handed over (one of ours started
// this one), FALSE when it was rebuilt from the arguments.
BOOL CommandLineWasHandedOver();
// The program (quoted when it holds a blank) and its arguments joined with single blanks, unquoted: how
// a line typed in a shell reads back as one text.
std::string ArgumentsJoinedWithBlanks();
LPTSTR GetCommandLine();
// The start-up information this program was started with: the title and show command its starter asked
// for (STARTF_USESHOWWINDOW set when a show command was given); zero fields otherwise.
void GetStartupInfo(LPSTARTUPINFO startupInfo);
