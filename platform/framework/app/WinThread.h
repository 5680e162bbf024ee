// CWinThread and CWinApp: message loops with idle time, worker threads, the wait cursor.
#pragma once

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

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;
    CString m_pszAppName;
    int m_nWaitCursor = 0;
    // Shows the wait cursor (+1), takes it away (-1), or shows it again (0).
    virtual void DoWaitCursor(int code);

private:
    CString m_sPreviousBoxCaption;
};

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
