// Veltrin's application object: the start-up in its fixed order, opening logs by path, its own
// recent-file rules, and the end of the process when the main window closes.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/app/WinThread.h"

#define VELTRIN_PROGRAM_NAME "Veltrin"
#define VELTRIN_VERSION "4.21b"
// The key of the "Version" value and of every stored setting.
#define VELTRIN_PROFILE_KEY "VeltrinEx"

class CVeltrinApp : public CWinApp {
public:
    CVeltrinApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Recent files: a matching entry (case-blind) moves to the top, else everything moves down one.
    void AddToRecentFileList(LPCTSTR path) override;
    // Removes the generated report logs (names holding "_") from the recent-file list.
    void PruneRecentFileList();

    void OnFileOpen() override;
    BOOL OnOpenRecentFile(UINT id) override;
    void OnAppExit();
    void OnAppAbout();

    // The version check of the start: stored settings of another version are removed where they hold
    // no sections; "Version" stays from the second start on.
    static void CheckStoredVersion();

    // "Veltrin 4.21b".
    CString m_csTitle;
    // How long the splash stays at start, in milliseconds.
    DWORD m_nSplashMilliseconds = 2000;

protected:
    // Print Setup without a report view: the application's printer.
    void OnAppPrintSetup() { OnFilePrintSetup(); }
    DECLARE_MESSAGE_MAP()
};

// Opens one log by path: TRUE when the path was accepted (the main frame loads it).
BOOL MyShellFileOpen(LPCTSTR path);
// The last step of closing the main window: ends the process with status 0; returns -1 only when the
// process could not be ended.
int StopVeltrin();
// How StopVeltrin ends the process; tests put a recorder here. Returns only when it could not end it.
extern std::function<void(int)> g_endVeltrinProcess;

// The open dialog of File Open: the chosen paths, none when cancelled.
extern std::function<std::vector<CString>(LPCTSTR initialFolder)> g_chooseLogsToOpen;

CVeltrinApp* GetTheApp();

// The working directory at start.
extern CString _csStartDir;
