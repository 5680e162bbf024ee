#include "platform/user/Shell.h"

#include <cstring>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"

namespace {
// Starts xdg-open on the file: SE_ERR_ code or 42, and the process handle when asked for.
int StartOpener(LPCTSTR verb, LPCTSTR file, int show, HANDLE* process, DWORD* error) {
    *error = 0;
    if (verb && std::strcmp(verb, "open") != 0) {
        *error = ERROR_NO_ASSOCIATION;
        return SE_ERR_NOASSOC;
    }
    std::string name = file ? file : "";
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    if (name.empty()) {
        *error = ERROR_FILE_NOT_FOUND;
        return SE_ERR_FNF;
    }
    std::string line = BuildCommandLine({"xdg-open", name});
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)show;
    PROCESS_INFORMATION info{};
    if (!CreateProcess(nullptr, line.c_str(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                       &startup, &info)) {
        DWORD e = GetLastError();
        *error = e == ERROR_ACCESS_DENIED ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
        return e == ERROR_ACCESS_DENIED ? SE_ERR_ACCESSDENIED : SE_ERR_FNF;
    }
    CloseHandle(info.hThread);
    if (process)
        *process = info.hProcess;
    else
        CloseHandle(info.hProcess);
    return 42;
}
}  // namespace

HINSTANCE ShellExecute(HWND, LPCTSTR verb, LPCTSTR file, LPCTSTR, LPCTSTR, int show) {
    DWORD error = 0;
    return reinterpret_cast<HINSTANCE>((intptr_t)StartOpener(verb, file, show, nullptr, &error));
}

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    DWORD error = 0;
    HANDLE process = nullptr;
    int code = StartOpener(info->lpVerb, info->lpFile, info->nShow, &process, &error);
    info->hInstApp = reinterpret_cast<HINSTANCE>((intptr_t)code);
    if (code <= 32) {
        SetLastError(error);
        return FALSE;
    }
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = process;
    else
        CloseHandle(process);
    return TRUE;
}
