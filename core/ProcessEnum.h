// The running processes, walked one by one with each one's program module.
#pragma once

#include "platform/base/String.h"
#include "platform/base/ToolHelp.h"

class CProcessEnum {
public:
    CProcessEnum();
    ~CProcessEnum();
    CProcessEnum(const CProcessEnum&) = delete;
    CProcessEnum& operator=(const CProcessEnum&) = delete;

    // Takes a snapshot of all processes (replacing an earlier one); FALSE when that fails.
    BOOL TakeSnapshot();
    // Moves to the first / next process of the snapshot whose program module can be read; processes
    // whose module cannot be read are passed over. FALSE after the last one.
    BOOL First();
    BOOL Next();

    // The current process and its program module.
    const PROCESSENTRY32& GetProcessEntry() const { return m_process; }
    const MODULEENTRY32& GetModuleEntry() const { return m_module; }
    DWORD GetProcessId() const { return m_process.th32ProcessID; }
    // The program's file name.
    CString GetModuleName() const { return CString(m_module.szModule); }

private:
    BOOL SkipToReadable(BOOL found);
    BOOL ReadModule();
    void CloseSnapshot();

    HANDLE m_snapshot;
    PROCESSENTRY32 m_process;
    MODULEENTRY32 m_module;
};

// The id of the first process whose module name begins with the name (ASCII case-blind); 0 when none
// does or the name is empty, -1 when the processes cannot be listed.
int FindProcessIdByName(LPCTSTR name);
