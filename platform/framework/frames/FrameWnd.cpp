#include "platform/framework/frames/FrameWnd.h"

#include <algorithm>
#include <mutex>

#include "platform/framework/docview/DocTemplate.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
// The View menu's tool bar and status bar items show and hide the bars of those ids.
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

// Suppresses the pop of a prompt after a menu item set it (see OnMenuSelect).
#define WF_NOPOPMSG 0x0040

LPCTSTR AfxFrameOrViewClassName() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = "AfxFrameOrView";
        RegisterClass(&wc);
    });
    return "AfxFrameOrView";
}

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClassName();
    // A plain frame shows the document's name first ("Doc - App"); MDI frames take the flag off again.
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       LPCTSTR menuName, DWORD exStyle, CCreateContext* context) {
    HMENU menu = nullptr;
    if (menuName) {
        menu = ::LoadMenu(nullptr, menuName);
        if (!menu)
            return FALSE;
    }
    m_strTitle = title ? title : "";
    int x = rect.left, y = rect.top, cx, cy;
    if (rect.left == CW_USEDEFAULT && rect.right == 0 && rect.bottom == 0) {
        cx = cy = CW_USEDEFAULT;
    } else {
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    }
    if (!CreateEx(exStyle, className, title, style, x, y, cx, cy, parent ? parent->m_hWnd : nullptr, menu,
                  context)) {
        if (menu && ::IsMenu(menu))
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    m_nIDHelp = resourceId;
    CString strings = AfxLoadString(resourceId);
    int nl = strings.Find('\n');
    m_strTitle = nl >= 0 ? strings.Left(nl) : strings;
    LPCTSTR menuName = FindMenuTemplate(resourceId) ? MAKEINTRESOURCE(resourceId) : nullptr;
    CString title = m_strTitle;
    if (!Create(nullptr, title, style, rectDefault, parent, menuName, 0, context))
        return FALSE;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    if (!m_hAccelTable)
        LoadAccelTable(MAKEINTRESOURCE(resourceId));
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
    return OnCreateHelper(cs, cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context) {
    if (Default() == -1)
        return FALSE;
    if (!OnCreateClient(cs, context))
        return FALSE;
    // The status bar says "Ready" once the loop runs.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
    if (context && context->m_pNewViewClass)
        return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CObject* made = context->m_pNewViewClass->CreateObject();
    if (!made || !made->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete made;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(made);
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT{0, 0, 0, 0}, this, id, context))
        return nullptr;  // the view deleted itself with its window
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
    CView* view = nullptr;
    if (!GetActiveView()) {
        CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) {
            view = static_cast<CView*>(pane);
            SetActiveView(view, FALSE);
        }
    }
    if (makeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (view)
            view->OnActivateFrame(WA_INACTIVE, this);
        int show = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            show = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(show);
        if (view)
            view->OnActivateView(TRUE, view, view);
    }
    if (doc)
        doc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int showCmd) {
    if (showCmd == -1) {
        if (!IsWindowVisible())
            showCmd = SW_SHOWNORMAL;
        else if (IsIconic())
            showCmd = SW_RESTORE;
    }
    if (showCmd != -1)
        ShowWindow(showCmd);
    if (!(GetStyle() & WS_CHILD) && !IsIconic())
        ::SetForegroundWindow(m_hWnd);
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
    CView* old = m_pViewActive;
    if (view == old)
        return;
    // No view is active while the old one hears it lost.
    m_pViewActive = nullptr;
    if (notify && old)
        old->OnActivateView(FALSE, view, old);
    m_pViewActive = view;
    if (notify && view)
        view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

// ---- Layout

void CFrameWnd::RecalcLayout(BOOL notify) {
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    if (m_nIdleFlags & idleNotify)
        notify = TRUE;
    (void)notify;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (GetStyle() & FWS_SNAPTOBARS) {
        // A floating frame takes the size its bars need.
        RECT rc{0, 0, 32767, 32767};
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rc, &rc, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rc, TRUE);
        CalcWindowRect(&rc);
        SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL notify) {
    m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0);
}

void CFrameWnd::OnSize(UINT type, int, int) {
    Default();
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_nIdleFlags & idleLayout)
        RecalcLayout(m_nIdleFlags & idleNotify);
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    m_nIdleFlags = 0;
    return 0;
}

// ---- Title

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    if (addToTitle && doc)
        UpdateFrameTitleForDocument(doc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR docName) {
    CString text;
    CString doc;
    if (docName && *docName) {
        doc = docName;
        if (m_nWindow > 0)
            doc.AppendFormat(":%u", m_nWindow);
    }
    if (GetStyle() & FWS_ADDTOTITLE) {
        if (GetStyle() & FWS_PREFIXTITLE) {
            text = doc.IsEmpty() ? m_strTitle : (m_strTitle.IsEmpty() ? doc : doc + " - " + m_strTitle);
        } else {
            text = doc.IsEmpty() ? m_strTitle : (m_strTitle.IsEmpty() ? doc : m_strTitle + " - " + doc);
        }
    } else {
        text = m_strTitle;
    }
    if (GetWindowTextString(m_hWnd) != text)
        ::SetWindowText(m_hWnd, text);
}

// ---- Prompts

void CFrameWnd::GetMessageString(UINT id, CString& message) const {
    CString s = AfxLoadString(id);
    int nl = s.Find('\n');
    message = nl >= 0 ? s.Left(nl) : s;
    if (message.IsEmpty() && id == AFX_IDS_IDLEMESSAGE)
        message = "Ready";
    if (message.IsEmpty() && id == AFX_IDS_HELPMODEMESSAGE)
        message = "Select an object on which to get Help";
}

CWnd* CFrameWnd::GetMessageBar() {
    return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

void CFrameWnd::SetMessageText(LPCTSTR text) {
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)text);
}

void CFrameWnd::SetMessageText(UINT id) {
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)id);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    UINT last = m_nIDLastMessage;
    m_nFlags &= ~WF_NOPOPMSG;
    if (CWnd* bar = GetMessageBar()) {
        CString message;
        if (lParam)
            message = reinterpret_cast<LPCTSTR>(lParam);
        else if (wParam)
            GetMessageString((UINT)wParam, message);
        bar->SetWindowText(message);
        if (CFrameWnd* owner = bar->GetParentFrame()) {
            owner->m_nIDLastMessage = (UINT)wParam;
            owner->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return last;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    CFrameWnd* top = GetTopLevelFrame();
    if (!top)
        top = this;
    if (flags == 0xFFFF && !menu) {
        // The menu closed: back to the idle prompt.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    } else if (id == 0 || (flags & (MF_SEPARATOR | MF_POPUP))) {
        m_nIDTracking = 0;
    } else if (id >= 0xF000 && id < 0xF1F0) {
        m_nIDTracking = 0xEF00 + ((id - 0xF000) >> 4);  // the prompt of a system command
    } else if (id >= AFX_IDM_FIRST_MDICHILD) {
        m_nIDTracking = 0xEF1F;  // "Activate this window"
    } else {
        m_nIDTracking = id;
    }
    if (m_nIDTracking != m_nIDLastMessage)
        top->SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
    top->m_nFlags |= WF_NOPOPMSG;
}

// ---- Menus

HMENU CFrameWnd::GetWindowMenuPopup(HMENU menuBar) {
    if (!menuBar)
        return nullptr;
    // The Window menu is the last popup that holds a window-arrangement command.
    for (int i = ::GetMenuItemCount(menuBar) - 1; i >= 0; --i) {
        HMENU popup = ::GetSubMenu(menuBar, i);
        if (!popup)
            continue;
        int n = ::GetMenuItemCount(popup);
        for (int k = 0; k < n; ++k) {
            UINT id = ::GetMenuItemID(popup, k);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT)
                return popup;
        }
    }
    return nullptr;
}

void CFrameWnd::OnInitMenuPopup(CMenu* menu, UINT, BOOL sysMenu) {
    if (sysMenu || !menu)
        return;
    CCmdUI state;
    state.m_pMenu = menu;
    state.m_nIndexMax = (UINT)std::max(0, menu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = menu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;  // separator
        if (state.m_nID == (UINT)-1) {
            // A popup: its state follows its first item's command.
            state.m_pSubMenu = menu->GetSubMenu((int)state.m_nIndex);
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, TRUE);
        } else {
            state.m_pSubMenu = nullptr;
            // System commands and the window list are not disabled for want of a handler.
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // Items the update added or took away move the loop.
        UINT count = (UINT)std::max(0, menu->GetMenuItemCount());
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= std::min(state.m_nIndex, state.m_nIndexMax - count);
            while (state.m_nIndex < count && menu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

// ---- Commands

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // In context-help mode a command chosen from a menu or by a key gives help on itself instead of running.
    const UINT id = LOWORD(wParam);
    CFrameWnd* top = GetTopLevelFrame();
    if (!top)
        top = this;
    if (top->m_bHelpMode == HELP_ACTIVE && !lParam && id != ID_CONTEXT_HELP && id != ID_DEFAULT_HELP) {
        top->ExitHelpMode();
        if (CWinApp* app = AfxGetApp())
            app->WinHelp(HID_BASE_COMMAND + id);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// ---- Context help

void CFrameWnd::OnContextHelp() {
    if (m_bHelpMode == HELP_ACTIVE)
        return;
    if (!CanEnterHelpMode()) {
        m_bHelpMode = HELP_INACTIVE;
        return;
    }
    MSG msg;
    // An exit asked for while the mode was being entered: it is not entered.
    if (::PeekMessage(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_REMOVE)) {
        m_bHelpMode = HELP_INACTIVE;
        return;
    }
    if (m_bHelpMode == HELP_INACTIVE) {
        m_bHelpMode = HELP_ENTERING;
        PostMessage(WM_COMMAND, ID_CONTEXT_HELP);
        return;
    }
    m_bHelpMode = HELP_ACTIVE;
    const HWND self = m_hWnd;
    UINT prompt = (UINT)SendMessage(WM_SETMESSAGESTRING, AFX_IDS_HELPMODEMESSAGE);
    if (!prompt)
        prompt = AFX_IDS_IDLEMESSAGE;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    SetHelpCapture(cursor, nullptr);
    DWORD context = 0;
    LONG idle = 0;
    CWinApp* app = AfxGetApp();
    // A frame destroyed by a message handled here is not touched again.
    while (::IsWindow(self) && m_bHelpMode == HELP_ACTIVE) {
        if (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT || !ProcessHelpMsg(msg, &context))
                break;
        } else if (!app || !app->OnIdle(idle++)) {
            idle = 0;
            ::WaitMessage();
        }
    }
    if (!::IsWindow(self))
        return;
    m_bHelpMode = HELP_INACTIVE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    SendMessage(WM_SETMESSAGESTRING, prompt);
    if (context == (DWORD)-1)
        SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
    else if (context && app)
        app->WinHelp(context);
    PostMessage(WM_KICKIDLE);
}

void CFrameWnd::ExitHelpMode() {
    if (m_bHelpMode == HELP_INACTIVE)
        return;
    m_bHelpMode = HELP_INACTIVE;
    MSG msg;
    if (!::PeekMessage(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_NOREMOVE))
        PostMessage(WM_EXITHELPMODE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

HWND CFrameWnd::SetHelpCapture(POINT point, BOOL* descendant) {
    HWND hit = ::WindowFromPoint(point);
    if (descendant) {
        *descendant = FALSE;
        // Up through parents and, for top-level windows, owners (floating bars, dialogs).
        for (HWND h = hit; h && !*descendant;
             h = (::GetWindowLong(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER))
            *descendant = h == m_hWnd;
    }
    if (::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    return hit;
}

DWORD CFrameWnd::MapClientArea(HWND hit, POINT point) {
    for (HWND h = hit; h; h = (h == m_hWnd || !(::GetWindowLong(h, GWL_STYLE) & WS_CHILD)) ? nullptr : ::GetParent(h)) {
        POINT client = point;
        ::ScreenToClient(h, &client);
        if (DWORD context = (DWORD)::SendMessage(h, WM_HELPHITTEST, 0, MAKELPARAM(client.x, client.y)))
            return context;
    }
    return (DWORD)-1;
}

BOOL CFrameWnd::ProcessHelpMsg(MSG& msg, DWORD* context) {
    if (msg.message == WM_EXITHELPMODE || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
        ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
        return FALSE;
    }
    const bool mouse = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                       (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK);
    if (mouse) {
        BOOL ours = FALSE;
        HWND hit = SetHelpCapture(msg.pt, &ours);
        if (!hit)
            return TRUE;
        ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
        if (!ours) {
            // Another program's window, or the desktop: the message goes where it was going.
            ::DispatchMessage(&msg);
            return TRUE;
        }
        if (msg.message != WM_LBUTTONDOWN && msg.message != WM_NCLBUTTONDOWN)
            return TRUE;
        if (context)
            *context = MapClientArea(hit, msg.pt);
        return FALSE;
    }
    if (msg.message == WM_SYSCOMMAND || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) {
        // Keys reach the accelerators (a command then gives help on itself); only system keys and
        // commands are handled as such, other keys are dropped.
        if (::GetCapture())
            ::ReleaseCapture();
        ::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            if (msg.message == WM_SYSCOMMAND || (msg.message >= WM_SYSKEYDOWN && msg.message <= WM_SYSDEADCHAR))
                ::DispatchMessage(&msg);
        }
        if (::IsWindow(m_hWnd) && m_bHelpMode == HELP_ACTIVE) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            SetHelpCapture(cursor, nullptr);
        }
        return TRUE;
    }
    if (::PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE))
        ::DispatchMessage(&msg);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR name) {
    m_hAccelTable = ::LoadAccelerators(nullptr, name);
    return m_hAccelTable != nullptr;
}

HACCEL CFrameWnd::GetDefaultAccelerator() {
    return m_hAccelTable;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HACCEL table = GetDefaultAccelerator();
        if (table && ::TranslateAccelerator(m_hWnd, table, msg))
            return TRUE;
    }
    return FALSE;
}

// ---- Closing

BOOL CFrameWnd::CanCloseFrame() {
    CDocument* doc = GetActiveDocument();
    return !doc || doc->CanCloseFrame(this);
}

void CFrameWnd::OnClose() {
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The main window asks about every document, then closes them all.
        if (!doc && !app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (!::IsWindow(m_hWnd))
            return;
    }
    if (doc && doc->m_bAutoDelete && ::IsWindow(m_hWnd)) {
        // The last frame of a document closes the document, which destroys this frame.
        bool otherFrame = false;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            if (doc->GetNextView(pos)->GetParentFrame() != this) {
                otherFrame = true;
                break;
            }
        if (!otherFrame) {
            doc->OnCloseDocument();
            return;
        }
        doc->PreCloseFrame(this);
    }
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    // The frame's own menu goes with it; a shared menu of a template stays.
    HMENU shown = ::GetMenu(m_hWnd);
    if (shown)
        ::SetMenu(m_hWnd, nullptr);
    if (m_hMenuDefault && ::IsMenu(m_hMenuDefault))
        ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
    Default();
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

void CFrameWnd::OnSetFocus(CWnd* old) {
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(old);
}

BOOL CFrameWnd::OnEraseBkgnd(HDC dc) {
    // The view covers the client area.
    if (m_pViewActive)
        return TRUE;
    return CWnd::OnEraseBkgnd(dc);
}
