#include "core/Launcher.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Process.h"
#include "platform/base/String.h"

namespace {
WORD ShowWindowFor(int showCommand) {
    switch (showCommand) {
        case 0:
            return SW_SHOWMINNOACTIVE;
        case 3:
            return SW_MAXIMIZE;
        case 9:
            return SW_RESTORE;
        default:
            return SW_SHOWNORMAL;
    }
}
}  // namespace

int LaunchProcess(LPCTSTR commandLine, LPCTSTR windowTitle, int showCommand, BOOL wait, DWORD* processId) {
    CString title(windowTitle);
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.lpTitle = windowTitle ? title.GetBuffer() : nullptr;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowWindowFor(showCommand);

    DWORD flags =
        CREATE_NEW_PROCESS_GROUP | REALTIME_PRIORITY_CLASS | (wait ? CREATE_NEW_CONSOLE : DETACHED_PROCESS);
    PROCESS_INFORMATION info{};
    if (!CreateProcess(nullptr, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                       &info)) {
        DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
                   ? -2
                   : -32;
    }
    if (processId)
        *processId = info.dwProcessId;
    CloseHandle(info.hThread);
    if (!wait) {
        CloseHandle(info.hProcess);
        return 1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hProcess);
    return 0;
}

int LaunchWinAppFg(LPCTSTR commandLine) {
    int result = LaunchProcess(commandLine, "LaunchWinAppFg", 1, FALSE, nullptr);
    if (result >= 0)
        return result;

    CString line(commandLine);
    CString message;
    if (result == -2) {
        message.Format(
            "Executable Not Found: '%s'\n\nThis executable must be installed\nto the same directory as this "
            "application.\n",
            (LPCTSTR)line);
    } else {
        message.Format("Failed to Launch Task '%s, %s' Err=%d\n\n", (LPCTSTR)line,
                       "FOREGROUND, INDEPENDENT, WINSESSIONCHILD", result);
        int blank = line.Find(' ');
        if (result == -32 && blank >= 0)
            message += "File Not Found: " + line.Left(blank) + "\n\n";
    }
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    return result;
}
