// Snapshots of the running processes and of a process's modules, read from /proc. A snapshot is taken
// once and then walked; it does not change while it is walked.
#pragma once

#include <string>

#include "platform/base/Handles.h"
#include "platform/base/Types.h"

#define TH32CS_SNAPHEAPLIST 0x00000001
#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPTHREAD 0x00000004
#define TH32CS_SNAPMODULE 0x00000008
#define TH32CS_SNAPMODULE32 0x00000010
#define TH32CS_SNAPALL (TH32CS_SNAPHEAPLIST | TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD | TH32CS_SNAPMODULE)

#define MAX_MODULE_NAME32 255

typedef struct HINSTANCE__* HMODULE;

struct PROCESSENTRY32 {
    DWORD dwSize;  // set by the caller to sizeof(PROCESSENTRY32)
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];  // the program's file name, without its folder
};
typedef PROCESSENTRY32* LPPROCESSENTRY32;

struct MODULEENTRY32 {
    DWORD dwSize;  // set by the caller to sizeof(MODULEENTRY32)
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    char szModule[MAX_MODULE_NAME32 + 1];  // the program's file name
    char szExePath[MAX_PATH];              // its full path
};
typedef MODULEENTRY32* LPMODULEENTRY32;

// TH32CS_SNAPPROCESS lists every process whose status can be read. TH32CS_SNAPMODULE lists the modules of
// the process processId (0: this one); the only module is the program itself. When that program cannot
// be read (another user's process, a kernel thread, an ended process) the snapshot fails with
// ERROR_ACCESS_DENIED, or ERROR_INVALID_PARAMETER when there is no such process.
// Returns INVALID_HANDLE_VALUE on failure; close the snapshot with CloseHandle.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);

// First and next entries; FALSE with ERROR_NO_MORE_FILES after the last one, ERROR_BAD_LENGTH when
// dwSize is too small.
BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL Module32First(HANDLE snapshot, LPMODULEENTRY32 entry);
BOOL Module32Next(HANDLE snapshot, LPMODULEENTRY32 entry);

// The program file a process runs (0: this one), or empty when it cannot be read.
std::string GetProcessProgramPath(DWORD processId);
