#include "sifter/program/LaunchTask.h"

#include <cstring>

#include "core/Launcher.h"
#include "platform/base/CommandLine.h"
#include "platform/base/MessageBox.h"

CString g_sLaunchOptions = "FOREGROUND, INDEPENDENT, WINSESSIONCHILD";

namespace {
bool Has(LPCTSTR options, LPCTSTR word) {
    return std::strstr(options, word) != nullptr;
}
}  // namespace

BOOL ParseLaunchOptions(LPCTSTR command, LPCTSTR options, CString& title, int& showCommand, BOOL& wait) {
    if (!options)
        options = "";
    CString prefix;
    showCommand = 1;
    wait = TRUE;
    if (Has(options, "PMDEFAULT") || Has(options, "PMFULLSCREEN") || Has(options, "PMWINDOW"))
        return FALSE;
    if (Has(options, "FOREGROUND"))
        prefix = "LaunchWinAppFg-->";
    if (Has(options, "BACKGROUND")) {
        prefix = "LaunchWinAppBg-->";
        showCommand = 0;
    }
    if (Has(options, "INDEPENDENT"))
        wait = FALSE;
    if (Has(options, "MAXIMIZE"))
        showCommand = 3;
    title = prefix + (command ? command : "");
    if (title.GetLength() > 255)
        title = title.Left(255);
    return TRUE;
}

int LaunchWithOptions(LPCTSTR command, LPCTSTR options, DWORD* out) {
    CString title;
    int show = 1;
    BOOL wait = TRUE;
    if (!ParseLaunchOptions(command, options, title, show, wait))
        return -7;
    return LaunchProcess(command, title, show, wait, out);
}

int LaunchTask(LPCTSTR command) {
    DWORD out = 0;
    int result = LaunchWithOptions(command, g_sLaunchOptions, &out);
    if (result >= 0)
        return result;
    CString message;
    if (result == -2)
        message.Format(
            "Executable Not Found: '%s'\n\nThis executable must be installed\nto the same directory "
            "as this application.\n",
            command);
    else
        message.Format("Failed to Launch Task '%s, %s' Err=%d\n", command, g_sLaunchOptions.GetString(),
                       result);
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    return result;
}

CString ViewerCommand(LPCTSTR program, const CString& path, const CString& text) {
    std::string command = program ? program : "";
    command += ' ';
    command += QuoteArgument(path.str());
    command += ' ';
    command += QuoteArgument("SEARCH=" + text.str());
    return CString(command);
}
