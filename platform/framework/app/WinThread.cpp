#include "platform/framework/app/WinThread.h"

#include "platform/framework/app/DocManager.h"
#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/gdi/DC.h"

#include <mutex>

#include "platform/framework/window/Menu.h"
#include "platform/user/CloseSignals.h"
#include "platform/user/Controls.h"
#include "platform/user/MessageBoxDialog.h"

#if __has_include("platform/display/DisplayFactory.h")
#include "platform/display/DisplayFactory.h"
#define VELTRIN_HAVE_DISPLAY 1
#endif

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
thread_local CWinThread* t_thread = nullptr;
CWinApp* g_app = nullptr;

DWORD ThreadEntry(LPVOID p) {
    auto* thread = static_cast<CWinThread*>(p);
    t_thread = thread;
    DWORD result;
    if (thread->m_pfnThreadProc) {
        result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } else {
        result = thread->InitInstance() ? (DWORD)thread->Run() : (DWORD)thread->ExitInstance();
    }
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    thread->Delete();
    t_thread = nullptr;
    return result;
}
}  // namespace

CWinThread::CWinThread() = default;
CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}

CWinThread::~CWinThread() {
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPVOID security) {
    m_hThread =
        ::CreateThread(security, stackSize, ThreadEntry, this, flags | CREATE_SUSPENDED, &m_nThreadID);
    if (!m_hThread)
        return FALSE;
    if (!(flags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

BOOL CWinThread::IsIdleMessage(MSG* msg) {
    return msg->message != WM_PAINT && msg->message != WM_TIMER && msg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG count) {
    if (count == 0) {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    // From the target window up through its parents, then the main window.
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandlePermanent(h))
            if (w->PreTranslateMessage(msg))
                return TRUE;
        if (!(::GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessage(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessage(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run() {
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessage(&peek, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(idleCount++))
                idle = false;
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessage(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

CWinApp::CWinApp(LPCTSTR appName) : m_pszAppName(appName ? appName : "") {
    g_app = this;
    t_thread = this;
    m_nThreadID = GetCurrentThreadId();
    m_bAutoDelete = FALSE;
    // A message box without a caption takes the program's title.
    m_sPreviousBoxCaption = GetMessageBoxDefaultCaption();
    if (!m_pszAppName.IsEmpty())
        SetMessageBoxDefaultCaption(m_pszAppName);
}

CWinApp::~CWinApp() {
    FreePrinterBlocks();
    delete m_pDocManager;
    delete m_pRecentFileList;
    if (g_app == this) {
        g_app = nullptr;
        SetMessageBoxDefaultCaption(m_sPreviousBoxCaption);
    }
    if (t_thread == this)
        t_thread = nullptr;
}

void CWinApp::DoWaitCursor(int code) {
    m_nWaitCursor += code;
    if (m_nWaitCursor < 0)
        m_nWaitCursor = 0;
    SetCursor(LoadCursor(nullptr, m_nWaitCursor > 0 ? IDC_WAIT : IDC_ARROW));
}

CWinThread* AfxGetThread() {
    return t_thread ? t_thread : g_app;
}
CWinApp* AfxGetApp() {
    return g_app;
}
void AfxSetCurrentThread(CWinThread* thread) {
    t_thread = thread;
}

CWnd* AfxGetMainWnd() {
    CWinThread* t = AfxGetThread();
    return t ? t->GetMainWnd() : nullptr;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int, UINT stackSize, DWORD flags,
                           LPVOID security) {
    auto* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(flags, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

BOOL AfxPumpMessage() {
    CWinThread* t = AfxGetThread();
    if (t)
        return t->PumpMessage();
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0))
        return FALSE;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    return TRUE;
}

BOOL AfxInitUserInterface() {
#ifdef VELTRIN_HAVE_DISPLAY
    InitDisplayFromEnvironment();
#endif
    InstallMessageBoxDialogPresenter();
    // A termination signal closes the program as its close box does.
    HandleCloseSignals([] {
        CWnd* main = AfxGetMainWnd();
        return main ? main->GetSafeHwnd() : nullptr;
    });
    return TRUE;
}

CWaitCursor::CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}
CWaitCursor::~CWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}
void CWaitCursor::Restore() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

// ---- Modal loops --------------------------------------------------------------------------------

int CWnd::RunModalLoop(DWORD) {
    m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
    HWND self = m_hWnd;
    CWinThread* thread = AfxGetThread();
    while (ContinueModal()) {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            // The quit goes on to the outer loop.
            ::PostQuitMessage((int)msg.wParam);
            m_nModalResult = -1;
            break;
        }
        if (::CallMsgFilter(&msg, MSGF_DIALOGBOX))
            continue;
        bool handled = thread ? thread->PreTranslateMessage(&msg) : false;
        if (!handled) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (!::IsWindow(self))
            break;
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal() {
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int result) {
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessage(m_hWnd, WM_NULL, 0, 0);
    }
}
