// CWinThread and CWinApp: message loops with idle time, worker threads, the wait cursor.
#pragma once

#include "platform/base/Collections.h"
#include "platform/framework/window/Wnd.h"

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    MSG m_msgCur{};

    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPVOID security = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Takes one message and handles it; FALSE when it was the quit message.
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual void Delete();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
};

// The help command that shows the topic of a context number.
#define HELP_CONTEXT 0x0001L

class CDocument;
class CDocTemplate;
class CDocManager;
class CRecentFileList;
class CCommandLineInfo;
class CCmdUI;
class CPrintDialog;
struct PRINTDLG;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;
    CString m_pszAppName;
    CString m_pszRegistryKey;
    CString m_pszProfileName;
    CString m_pszExeName;
    int m_nWaitCursor = 0;
    int m_nCmdShow = SW_SHOWNORMAL;
    HINSTANCE m_hInstance = nullptr;
    // Shows the wait cursor (+1), takes it away (-1), or shows it again (0).
    virtual void DoWaitCursor(int code);

    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;
    // Count 0 updates the command items of the main frame and its windows (WM_IDLEUPDATECMDUI); count 1
    // lets go of temporary objects. TRUE while there is more idle work.
    BOOL OnIdle(LONG count) override;

    // Help on a context (HELP_CONTEXT) chosen in a frame's context-help mode. There are no help files
    // here: nothing is shown.
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) {
        (void)data;
        (void)command;
    }

    // Profile: HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
    void SetRegistryKey(LPCTSTR key);
    void SetRegistryKey(UINT stringId);
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    BOOL GetProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE** data, UINT* bytes);
    BOOL WriteProfileBinary(LPCTSTR section, LPCTSTR entry, BYTE* data, UINT bytes);

    // Recent files: "Recent File List"/"File1".. in the profile, shown at ID_FILE_MRU_FILE1.. in menus.
    void LoadStdProfileSettings(UINT maxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR path);
    CRecentFileList* m_pRecentFileList = nullptr;

    // Documents.
    void AddDocTemplate(CDocTemplate* tmpl);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR path);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    int GetOpenDocumentCount();
    CDocManager* m_pDocManager = nullptr;

    // Command line.
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    CString m_lpCmdLine;

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // The application's printer: DEVMODE and DEVNAMES blocks shared by its views' print commands.
    HANDLE m_hDevMode = nullptr;
    HANDLE m_hDevNames = nullptr;
    // Runs the print (or print-setup) dialog on the application's printer and keeps what it returns.
    virtual INT_PTR DoPrintDialog(CPrintDialog* dialog);
    // Fills the blocks of `pd` with the application's printer (the default one until one is chosen).
    BOOL GetPrinterDeviceDefaults(PRINTDLG* pd);
    void OnFilePrintSetup();

    void OnFileNew();
    virtual void OnFileOpen();
    virtual BOOL OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    void OnAppExit();

protected:
    DECLARE_MESSAGE_MAP()
private:
    void FreePrinterBlocks();
    CString m_sPreviousBoxCaption;
};

// Start-up calls of the platform's libraries: nothing to do here, and they succeed.
BOOL AfxOleInit();
BOOL AfxInitRichEdit2();
void AfxEnableControlContainer();
// A string resource, empty when there is none.
CString AfxLoadString(UINT id);

CWinThread* AfxGetThread();
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = 0, UINT stackSize = 0,
                           DWORD flags = 0, LPVOID security = nullptr);
BOOL AfxPumpMessage();
// Makes `thread` the current thread object of the calling thread (the application's thread).
void AfxSetCurrentThread(CWinThread* thread);
// Sets up the window layer for a program: the display the environment asks for and message
// boxes shown as dialogs.
BOOL AfxInitUserInterface();

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();
};
