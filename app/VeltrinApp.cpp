#include "app/VeltrinApp.h"

#include <cstdlib>

CString _csStartDir;
std::function<void(int)> g_endVeltrinProcess = [](int status) { std::_Exit(status); };

BEGIN_MESSAGE_MAP(CVeltrinApp, CWinApp)
END_MESSAGE_MAP()

CVeltrinApp::CVeltrinApp() : CWinApp(VELTRIN_PROGRAM_NAME) {
    m_csTitle.Format("%s %s", VELTRIN_PROGRAM_NAME, VELTRIN_VERSION);
}

BOOL CVeltrinApp::InitInstance() { return TRUE; }
int CVeltrinApp::ExitInstance() { return CWinApp::ExitInstance(); }
void CVeltrinApp::AddToRecentFileList(LPCTSTR path) { CWinApp::AddToRecentFileList(path); }
void CVeltrinApp::PruneRecentFileList() {}
void CVeltrinApp::OnFileOpen() {}
BOOL CVeltrinApp::OnOpenRecentFile(UINT) { return TRUE; }
void CVeltrinApp::OnAppExit() {}
void CVeltrinApp::OnAppAbout() {}
void CVeltrinApp::CheckStoredVersion() {}

BOOL MyShellFileOpen(LPCTSTR) { return FALSE; }
int StopVeltrin() { return -1; }
CVeltrinApp* GetTheApp() { return dynamic_cast<CVeltrinApp*>(AfxGetApp()); }
