#include "app/EditorLaunch.h"

#include "core/Launcher.h"
#include "core/TextHelpers.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"
#include "platform/user/User.h"

std::function<int(LPCTSTR commandLine)> g_launchEditor = [](LPCTSTR commandLine) {
    return LaunchWinAppFg(commandLine);
};

CString EditorCommandLine(LPCTSTR folder, LPCTSTR file, LPCTSTR keyword, LPCTSTR value) {
    CString line;
    line.Format("Scrivel \"%s\"", JoinPath(folder ? folder : "", file ? file : "").GetString());
    if (keyword && *keyword) {
        line += " ";
        line += keyword;
        line += "=";
        line += value ? value : "";
    }
    return line;
}

BOOL IsFileAvailable(HWND owner, LPCTSTR folder, LPCTSTR file) {
    if (GetFileSizeByName(JoinPath(folder ? folder : "", file ? file : "")) > 0)
        return TRUE;
    MessageBeep(MB_ICONEXCLAMATION);
    CString text;
    text.Format("%s file not available!!!", file ? file : "");
    PlatformMessageBox(owner, text, nullptr, MB_ICONSTOP | MB_SETFOREGROUND);
    return FALSE;
}

BOOL OpenInEditor(HWND owner, LPCTSTR folder, LPCTSTR file, LPCTSTR keyword, LPCTSTR value) {
    if (!IsFileAvailable(owner, folder, file))
        return FALSE;
    g_launchEditor(EditorCommandLine(folder, file, keyword, value));
    return TRUE;
}
