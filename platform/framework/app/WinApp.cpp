// CWinApp: profile, recent files, document templates, command line, idle-time updates.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "platform/base/Profile.h"

#include "platform/framework/app/CommandLineInfo.h"
#include "platform/framework/app/DocManager.h"
#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/gdi/DC.h"
#include "platform/user/Resources.h"

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {
const char kRecentSection[] = "Recent File List";
const char kRecentEntry[] = "File%d";
}  // namespace

CString AfxLoadString(UINT id) {
    std::string buffer(4096, '\0');
    int n = ::LoadString(nullptr, id, buffer.data(), (int)buffer.size());
    buffer.resize((size_t)std::max(0, n));
    // The framework's own strings, unless the program's resources give them.
    if (n <= 0 && id == AFX_IDS_HIDE)
        return CString("&Hide");
    return CString(buffer.c_str());
}

BOOL AfxOleInit() {
    return TRUE;
}
BOOL AfxInitRichEdit2() {
    return TRUE;
}
void AfxEnableControlContainer() {}

int CWinApp::ExitInstance() {
    if (m_pRecentFileList)
        SaveStdProfileSettings();
    return (int)m_msgCur.wParam;
}

BOOL CWinApp::OnIdle(LONG count) {
    if (count <= 0) {
        // Command items of the main frame and of every window in it are updated once per idle time.
        CWnd* main = m_pMainWnd;
        if (main && main->m_hWnd && main->IsWindowVisible()) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            // Floating bars live in frames the main window owns, outside its descendants.
            struct Owned {
                HWND owner;
                std::vector<HWND> windows;
            } owned{main->m_hWnd, {}};
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND h, LPARAM p) -> BOOL {
                    auto* o = reinterpret_cast<Owned*>(p);
                    if (::GetWindow(h, GW_OWNER) == o->owner && ::IsWindowVisible(h))
                        o->windows.push_back(h);
                    return TRUE;
                },
                (LPARAM)&owned);
            for (HWND h : owned.windows) {
                if (!::IsWindow(h))
                    continue;  // an earlier update closed it
                ::SendMessage(h, WM_IDLEUPDATECMDUI, TRUE, 0);
                if (CWnd* w = CWnd::FromHandle(h))
                    w->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            }
        }
        return TRUE;
    }
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    return FALSE;
}

// ---- Profile

void CWinApp::SetRegistryKey(LPCTSTR key) {
    m_pszRegistryKey = key ? key : "";
    m_pszProfileName = m_pszAppName;
    AfxGetProfile().SetRegistryKey(m_pszRegistryKey);
    AfxGetProfile().SetProfileName(m_pszProfileName);
}

void CWinApp::SetRegistryKey(UINT stringId) {
    SetRegistryKey(AfxLoadString(stringId));
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault) {
    return AfxGetProfile().GetProfileInt(section, entry, nDefault);
}
BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    return AfxGetProfile().WriteProfileInt(section, entry, value);
}
CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR lpszDefault) {
    return AfxGetProfile().GetProfileString(section, entry, lpszDefault);
}
BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    return AfxGetProfile().WriteProfileString(section, entry, value);
}
BOOL CWinApp::GetProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE** data, UINT* bytes) {
    return AfxGetProfile().GetProfileBinary(section, entry, data, bytes);
}
BOOL CWinApp::WriteProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE* data, UINT bytes) {
    return AfxGetProfile().WriteProfileBinary(section, entry, data, bytes);
}

// ---- Recent files

void CWinApp::LoadStdProfileSettings(UINT maxMRU) {
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (maxMRU == 0)
        return;
    m_pRecentFileList =
        new CRecentFileList(ID_FILE_MRU_FILE1, kRecentSection, kRecentEntry, (int)std::min<UINT>(maxMRU, 16));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCTSTR path) {
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    if (m_pRecentFileList)
        m_pRecentFileList->UpdateMenu(ui);
    else
        ui->Enable(FALSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
    if (!m_pRecentFileList)
        return FALSE;
    int index = (int)id - ID_FILE_MRU_FILE1;
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty())
        return FALSE;
    CString path = (*m_pRecentFileList)[index];
    // A file that no longer opens leaves the list.
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(index);
    return TRUE;
}

// ---- Documents

void CWinApp::AddDocTemplate(CDocTemplate* tmpl) {
    if (!m_pDocManager)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(tmpl);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return m_pDocManager ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR path) {
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(path) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(endSession);
}

int CWinApp::GetOpenDocumentCount() {
    return m_pDocManager ? m_pDocManager->GetDocumentCount() : 0;
}

void CWinApp::OnFileNew() {
    if (m_pDocManager)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
    // There is no file dialog of the framework's own here; programs choose their files themselves.
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    return CWinThread::OnCmdMsg(id, code, extra, handlerInfo);
}

// ---- Command line

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    std::vector<std::string> args;
    if (!m_lpCmdLine.IsEmpty()) {
        // The arguments alone, after a placeholder program name.
        args = SplitCommandLine(std::string("x ") + m_lpCmdLine.GetString());
    } else if (LPTSTR line = GetCommandLine()) {
        args = SplitCommandLine(line);
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool flag = !a.empty() && (a[0] == '-' || a[0] == '/');
        info.ParseParam(flag ? a.c_str() + 1 : a.c_str(), flag, i + 1 == args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
        case CCommandLineInfo::FileNew:
            // The program's own New command when it has one.
            if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
                OnFileNew();
            return TRUE;
        case CCommandLineInfo::FileOpen:
            return OpenDocumentFile(info.m_strFileName) != nullptr;
        case CCommandLineInfo::AppRegister:
        case CCommandLineInfo::AppUnregister:
            return FALSE;  // nothing to register; the program ends
        default:
            return TRUE;
    }
}
