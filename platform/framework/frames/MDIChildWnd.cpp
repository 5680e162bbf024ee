#include "platform/framework/frames/MDIChildWnd.h"

#include "platform/framework/docview/DocTemplate.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_MDIACTIVATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~FWS_PREFIXTITLE;
    cs.style |= WS_CHILD;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect,
                          CMDIFrameWnd* parent, CCreateContext* context) {
    if (!parent) {
        CWnd* main = AfxGetMainWnd();
        if (!main || !main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            return FALSE;
        parent = static_cast<CMDIFrameWnd*>(main);
    }
    if (!parent->m_hWndMDIClient)
        return FALSE;
    bool byDefault = rect.left == CW_USEDEFAULT && rect.right == 0 && rect.bottom == 0;
    CREATESTRUCT cs{context,
                    nullptr,
                    nullptr,
                    parent->m_hWndMDIClient,
                    byDefault ? CW_USEDEFAULT : (int)(rect.bottom - rect.top),
                    byDefault ? CW_USEDEFAULT : (int)(rect.right - rect.left),
                    byDefault ? CW_USEDEFAULT : (int)rect.top,
                    byDefault ? CW_USEDEFAULT : (int)rect.left,
                    (LONG)(style | WS_CHILD),
                    title,
                    className,
                    WS_EX_MDICHILD};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = title ? title : "";
    MDICREATESTRUCT mcs{cs.lpszClass,
                        cs.lpszName,
                        nullptr,
                        cs.x,
                        cs.y,
                        cs.cx,
                        cs.cy,
                        (DWORD)cs.style & ~(DWORD)(WS_MAXIMIZE | WS_VISIBLE),
                        (LPARAM)cs.lpCreateParams};
    AfxHookWindowCreate(this);
    HWND hwnd = (HWND)::SendMessage(parent->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    if (!AfxUnhookWindowCreate()) {
        // The window was never made: nothing else will delete this object.
        PostNcDestroy();
        return FALSE;
    }
    if (!hwnd)
        return FALSE;
    if (cs.style & WS_VISIBLE) {
        if (cs.style & WS_MINIMIZE)
            ShowWindow(SW_SHOWMINIMIZED);
        else if (cs.style & WS_MAXIMIZE)
            ShowWindow(SW_SHOWMAXIMIZED);
        else
            ShowWindow(SW_SHOWNORMAL);
        parent->MDIActivate(this);
        ::SendMessage(parent->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    m_nIDHelp = resourceId;
    if (context && context->m_pNewDocTemplate) {
        m_hMenuShared = context->m_pNewDocTemplate->m_hMenuShared;
        m_hAccelTable = context->m_pNewDocTemplate->m_hAccelTable;
    }
    CString strings = AfxLoadString(resourceId);
    int nl = strings.Find('\n');
    CString title = nl >= 0 ? strings.Left(nl) : strings;
    CMDIFrameWnd* frame = nullptr;
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        frame = static_cast<CMDIFrameWnd*>(parent);
    return Create(nullptr, title, style, rectDefault, frame, context);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT cs) {
    auto* mcs = cs ? static_cast<MDICREATESTRUCT*>(cs->lpCreateParams) : nullptr;
    auto* context = mcs ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr;
    return OnCreateHelper(cs, context) ? 0 : -1;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = client ? FromHandlePermanent(::GetParent(client)) : nullptr;
    return frame && frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(frame)
                                                                 : nullptr;
}

void CMDIChildWnd::MDIDestroy() {
    ::SendMessage(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}
void CMDIChildWnd::MDIActivate() {
    ::SendMessage(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}
void CMDIChildWnd::MDIMaximize() {
    ::SendMessage(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}
void CMDIChildWnd::MDIRestore() {
    ::SendMessage(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame)
        return CFrameWnd::DestroyWindow();
    // The frame's title is not rebuilt for every step of the destruction, only once after.
    HWND frameHwnd = frame->m_hWnd;
    LONG_PTR style = ::GetWindowLongPtr(frameHwnd, GWL_STYLE);
    ::SetWindowLongPtr(frameHwnd, GWL_STYLE, style & ~(LONG_PTR)FWS_ADDTOTITLE);
    MDIDestroy();
    if (::IsWindow(frameHwnd)) {
        ::SetWindowLongPtr(frameHwnd, GWL_STYLE, style);
        frame->OnUpdateFrameTitle(TRUE);
    }
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int showCmd) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame)
        return;
    if (showCmd == -1) {
        BOOL maximized = FALSE;
        frame->MDIGetActive(&maximized);
        DWORD style = GetStyle();
        if (maximized || (style & WS_MAXIMIZE))
            showCmd = SW_SHOWMAXIMIZED;
        else if (style & WS_MINIMIZE)
            showCmd = SW_SHOWMINIMIZED;
        else if (!IsWindowVisible())
            showCmd = SW_SHOWNORMAL;
    }
    if (showCmd != -1)
        ShowWindow(showCmd);
    MDIActivate();
    ::SendMessage(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnUpdateFrameTitle(addToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* doc = GetActiveDocument();
    if (addToTitle && doc) {
        CString text = doc->GetTitle();
        if (m_nWindow > 0)
            text.AppendFormat(":%u", m_nWindow);
        if (GetWindowTextString(m_hWnd) != text)
            ::SetWindowText(m_hWnd, text);
    }
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame)
        return;
    if (!menuAlt && activate)
        menuAlt = m_hMenuShared;
    if (menuAlt && activate)
        frame->MDISetMenu(menuAlt, nullptr);
    else if (!activate && !activateWnd)
        frame->MDISetMenu(frame->m_hMenuDefault, nullptr);  // the last child went: the frame's own menu
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd*) {
    CView* view = GetActiveView();
    if (!activate && view)
        view->OnActivateView(FALSE, view, view);
    OnUpdateFrameTitle(activate || activateWnd != nullptr);
    if (activate && view && GetMDIFrame() && ::GetActiveWindow() == GetMDIFrame()->m_hWnd)
        view->OnActivateView(TRUE, view, view);
    OnUpdateFrameMenu(activate, activateWnd, nullptr);
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->DrawMenuBar();
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy) {
    CFrameWnd::OnSize(type, cx, cy);
    // A child maximised or restored changes the frame's title.
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnUpdateFrameTitle(TRUE);
}

BOOL CMDIChildWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    // Through the MDI frame, the frame and then the application come next; asked directly, the
    // application does.
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame && frame->m_bRoutingToChild)
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* msg) {
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    // The child's table (its template's) sends its commands to the MDI frame, which routes them back
    // through the active child.
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame && m_hAccelTable && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAccelerator(frame->m_hWnd, m_hAccelTable, msg) != 0;
    return FALSE;
}
