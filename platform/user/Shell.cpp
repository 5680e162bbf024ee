#include "platform/user/Shell.h"

#include <cstring>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"

HINSTANCE ShellExecute(HWND, LPCTSTR verb, LPCTSTR file, LPCTSTR, LPCTSTR, int show) {
    if (verb && std::strcmp(verb, "open") != 0)
        return reinterpret_cast<HINSTANCE>((intptr_t)SE_ERR_NOASSOC);
    if (!file || !*file)
        return reinterpret_cast<HINSTANCE>((intptr_t)SE_ERR_FNF);
    std::string line = BuildCommandLine({"xdg-open", file});
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)show;
    PROCESS_INFORMATION info{};
    if (!CreateProcess(nullptr, line.c_str(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                       &startup, &info)) {
        DWORD error = GetLastError();
        return reinterpret_cast<HINSTANCE>(
            (intptr_t)(error == ERROR_ACCESS_DENIED ? SE_ERR_ACCESSDENIED : SE_ERR_FNF));
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return reinterpret_cast<HINSTANCE>((intptr_t)42);
}
