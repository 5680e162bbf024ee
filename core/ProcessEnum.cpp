#include "core/ProcessEnum.h"

#include <cstring>
#include <string_view>

CProcessEnum::CProcessEnum() : m_snapshot(INVALID_HANDLE_VALUE) {
    std::memset(&m_process, 0, sizeof m_process);
    std::memset(&m_module, 0, sizeof m_module);
}

CProcessEnum::~CProcessEnum() {
    CloseSnapshot();
}

void CProcessEnum::CloseSnapshot() {
    if (m_snapshot != INVALID_HANDLE_VALUE)
        CloseHandle(m_snapshot);
    m_snapshot = INVALID_HANDLE_VALUE;
}

BOOL CProcessEnum::TakeSnapshot() {
    CloseSnapshot();
    m_snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    return m_snapshot != INVALID_HANDLE_VALUE;
}

BOOL CProcessEnum::First() {
    m_process.dwSize = sizeof m_process;
    return SkipToReadable(Process32First(m_snapshot, &m_process));
}

BOOL CProcessEnum::Next() {
    m_process.dwSize = sizeof m_process;
    return SkipToReadable(Process32Next(m_snapshot, &m_process));
}

BOOL CProcessEnum::SkipToReadable(BOOL found) {
    while (found) {
        if (ReadModule())
            return TRUE;
        found = Process32Next(m_snapshot, &m_process);
    }
    std::memset(&m_module, 0, sizeof m_module);
    return FALSE;
}

BOOL CProcessEnum::ReadModule() {
    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, m_process.th32ProcessID);
    if (modules == INVALID_HANDLE_VALUE)
        return FALSE;
    m_module.dwSize = sizeof m_module;
    BOOL ok = Module32First(modules, &m_module);
    CloseHandle(modules);
    return ok;
}

int FindProcessIdByName(LPCTSTR name) {
    std::string_view wanted(name ? name : "");
    CProcessEnum processes;
    if (!processes.TakeSnapshot())
        return -1;
    if (wanted.empty())
        return 0;
    for (BOOL found = processes.First(); found; found = processes.Next()) {
        std::string_view module(processes.GetModuleEntry().szModule);
        if (AsciiCompareNoCase(module.substr(0, wanted.size()), wanted) == 0)
            return (int)processes.GetProcessId();
    }
    return 0;
}
