#include "app/VeltrinApp.h"

#include <unistd.h>

#include <climits>
#include <clocale>
#include <cstring>

#include "analysis/AppMaps.h"
#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/SplashWnd.h"
#include "app/VeltrinDialogs.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "app/print/PageSetupDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "core/TraceLog.h"
#include "guilib/controls/OXRegistryItem.h"
#include "platform/base/ProcessExit.h"
#include "platform/base/Registry.h"
#include "platform/framework/app/CommandLineInfo.h"
#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/dialogs/FileDialog.h"
#include "platform/framework/docview/DocTemplate.h"
#include "res/veltrin/resource.h"

CString _csStartDir;
std::function<void(int)> g_endVeltrinProcess = [](int status) { ExitProcess((UINT)status); };
std::function<std::vector<CString>(LPCTSTR)> g_chooseLogsToOpen = [](LPCTSTR folder) {
    std::vector<CString> paths;
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_EXPLORER,
                       "Files (*QBroker*.*)|*QBroker*.*||");
    dialog.m_ofn.lpstrTitle = "Select QBroker Files to Load...";
    dialog.m_ofn.lpstrInitialDir = folder;
    if (dialog.DoModal() != IDOK)
        return paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(dialog.GetNextPathName(pos));
    return paths;
};

namespace {
const char kVersionKey[] = "Software\\" VELTRIN_PROFILE_KEY;

// An absolute path on the command line starts with '/', which the framework takes for a flag and drops:
// a "flag" holding a '/' is such a path.
class CVeltrinCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, BOOL flag, BOOL last) override {
        if (flag && std::strchr(param, '/')) {
            CString path = CString("/") + param;
            CCommandLineInfo::ParseParam(path, FALSE, last);
            return;
        }
        CCommandLineInfo::ParseParam(param, flag, last);
    }
};

void Refuse(LPCTSTR text) { AfxMessageBox(text, MB_ICONEXCLAMATION | MB_SETFOREGROUND); }

CString WorkingDirectory() {
    char buffer[PATH_MAX] = {};
    return getcwd(buffer, sizeof buffer) ? CString(buffer) : CString();
}
}  // namespace

BEGIN_MESSAGE_MAP(CVeltrinApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnAppPrintSetup)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE8, OnOpenRecentFile)
END_MESSAGE_MAP()

CVeltrinApp::CVeltrinApp() : CWinApp(VELTRIN_PROGRAM_NAME) {
    g_mapLoadedLogs.RemoveAll();
    m_csTitle.Format("%s %s", VELTRIN_PROGRAM_NAME, VELTRIN_VERSION);
    setlocale(LC_ALL, "");
    // Numbers in files are read and written in the C locale whatever the user's is.
    setlocale(LC_NUMERIC, "C");
}

void CVeltrinApp::CheckStoredVersion() {
    const CString key = "\\CurrentUser\\" + CString(kVersionKey) + "\\";
    g_registryItem.SetFullRegistryItem(key);
    if (g_registryItem.GetStringValue("Version") != VELTRIN_VERSION) {
        CString first = g_registryItem.EnumerateSubkey(0);
        if (!first.IsEmpty()) {
            // Single-level deletion: a sub-key holding sections of its own stays.
            COXRegistryItem subKey(key + first + "\\");
            subKey.Delete();
        }
        g_registryItem.SetFullRegistryItem(key);
        g_registryItem.SetStringValue(VELTRIN_VERSION, "Version");
        g_registryItem.Delete();
    }
    g_registryItem.Close();
}

BOOL CVeltrinApp::InitInstance() {
    CheckStoredVersion();
    if (!AfxOleInit())
        return FALSE;
    AfxInitRichEdit2();
    AfxEnableControlContainer();
    CWinApp::InitInstance();
    SetRegistryKey(VELTRIN_PROFILE_KEY);
    LoadStdProfileSettings(8);

    CSplashWnd::EnableSplashScreen(TRUE);
    CSplashWnd::ShowSplashScreen(nullptr, m_csTitle);
    if (m_nSplashMilliseconds)
        usleep(m_nSplashMilliseconds * 1000);
    CSplashWnd::HideSplashScreen();

    AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CVeltrinView)));
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    _csStartDir = WorkingDirectory();
    RestartTraceLog();
    TraceLog("Start Veltrin");

    CVeltrinCommandLineInfo info;
    ParseCommandLine(info);
    LoadPageSetupSettings();
    if (info.m_nShellCommand == CCommandLineInfo::FileNew)
        info.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!info.m_strFileName.IsEmpty())
        _csFileOpenName = info.m_strFileName;
    if (_csFileOpenName.IsEmpty() && !ProcessShellCommand(info))
        return FALSE;
    frame->LoadWorkspace();
    frame->ShowWithSavedPlacement(m_nCmdShow);
    frame->UpdateWindow();
    if (HICON icon = LoadIcon(nullptr, MAKEINTRESOURCE(IDI_VELTRIN_SMALL)))
        frame->SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)icon);
    TraceLog("_csFileOpenName=%s", (LPCTSTR)_csFileOpenName);
    CString upper = _csFileOpenName;
    upper.MakeUpper();
    if (!_csFileOpenName.IsEmpty() && upper.Find(".LOG") >= 0)
        MyShellFileOpen(_csFileOpenName);
    return TRUE;
}

int CVeltrinApp::ExitInstance() {
    SavePageSetupSettings();
    if (!_csStartDir.IsEmpty() && chdir(_csStartDir) != 0)
        TraceLog("Cannot return to %s", (LPCTSTR)_csStartDir);
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kVersionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueEx(key, "Version", 0, REG_SZ, (const BYTE*)VELTRIN_VERSION, sizeof VELTRIN_VERSION);
        RegCloseKey(key);
    }
    return CWinApp::ExitInstance();
}

void CVeltrinApp::AddToRecentFileList(LPCTSTR path) {
    if (!m_pRecentFileList || !path)
        return;
    CRecentFileList& list = *m_pRecentFileList;
    int size = list.GetSize(), found = size - 1;
    for (int i = 0; i < size; ++i)
        if (list[i].CompareNoCase(path) == 0) {
            found = i;
            break;
        }
    for (int i = found; i > 0; --i)
        list[i] = list[i - 1];
    list[0] = path;
}

void CVeltrinApp::PruneRecentFileList() {
    if (!m_pRecentFileList)
        return;
    CRecentFileList& list = *m_pRecentFileList;
    // Generated report logs join the log's name and the report with "_"; a folder's "_" does not count.
    for (int i = list.GetSize() - 1; i >= 0; --i) {
        CString name = list[i];
        int slash = name.ReverseFind('/');
        if (slash >= 0)
            name = name.Mid(slash + 1);
        if (!list[i].IsEmpty() && name.Find('_') >= 0)
            list.Remove(i);
    }
}

void CVeltrinApp::OnFileOpen() {
    CString folder = GetProfileString("OpenFileDirectory", "Directory", "");
    if (folder.IsEmpty())
        folder = WorkingDirectory();
    _csBaseFolder = folder;
    std::vector<CString> paths = g_chooseLogsToOpen(folder);
    if (paths.empty())
        return;
    PumpWaitingMessages();
    CWaitCursor wait;
    for (size_t i = 0; i < paths.size(); ++i)
        if (!MyShellFileOpen(paths[i]) && i + 1 < paths.size()) {
            CString text;
            text.Format("Failed to Process: %s", (LPCTSTR)paths[i]);
            Refuse(text);
        }
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_REBUILDTREE, 0, 0);
}

BOOL CVeltrinApp::OnOpenRecentFile(UINT id) {
    if (!m_pRecentFileList)
        return FALSE;
    int index = (int)id - ID_FILE_MRU_FILE1;
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty())
        return FALSE;
    if (!MyShellFileOpen((*m_pRecentFileList)[index]))
        m_pRecentFileList->Remove(index);
    return TRUE;
}

void CVeltrinApp::OnAppExit() {
    PruneRecentFileList();
    SaveStdProfileSettings();
    if (CMainFrame* frame = GetMainFrame())
        frame->OnClose();
    CWinApp::OnAppExit();
}

void CVeltrinApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

BOOL MyShellFileOpen(LPCTSTR path) {
    CString file = path ? path : "";
    TraceLog("MyShellFileOpen:  strFile=%s", (LPCTSTR)file);
    if (file.IsEmpty()) {
        PumpWaitingMessages();
        return FALSE;
    }
    // A relative path is made absolute first, so its folder can become the working directory.
    if (file[0] != '/') {
        CString cwd = WorkingDirectory();
        if (!cwd.IsEmpty())
            file = cwd + "/" + file;
    }
    int slash = file.ReverseFind('/');
    if (slash >= 0) {
        CString folder = slash == 0 ? CString("/") : file.Left(slash);
        AfxGetApp()->WriteProfileString("OpenFileDirectory", "Directory", folder);
        _csBaseFolder = folder;
        if (chdir(folder) != 0)
            TraceLog("Cannot change to %s", (LPCTSTR)folder);
    }
    // The kind of log is told by its file name, not by the folders above it.
    CString name = file.Mid(slash + 1);
    name.MakeUpper();
    BOOL broker = name.Find("QBROKER") >= 0, server = name.Find("QSERVER") >= 0;
    if (broker)
        AfxGetApp()->AddToRecentFileList(file);
    if (!broker && !server) {
        Refuse("This Studio can only work with QBroker or QServer logs!");
        PumpWaitingMessages();
        return FALSE;
    }
    _csReportName = file;
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        main->SendMessage(WM_LOADLOG, 0, 0);
    return TRUE;
}

int StopVeltrin() {
    TraceLog("Stop Veltrin");
    if (!_csStartDir.IsEmpty() && chdir(_csStartDir) != 0)
        TraceLog("Cannot return to %s", (LPCTSTR)_csStartDir);
    g_endVeltrinProcess(0);
    return -1;
}

CVeltrinApp* GetTheApp() { return dynamic_cast<CVeltrinApp*>(AfxGetApp()); }
