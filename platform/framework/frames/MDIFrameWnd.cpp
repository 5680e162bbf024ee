#include "platform/framework/frames/MDIFrameWnd.h"

#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIChildWnd.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    // "App - Doc": the application's name stays first in an MDI frame.
    cs.style &= ~FWS_PREFIXTITLE;
    cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

BOOL CMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    if (!CFrameWnd::LoadFrame(resourceId, style, parent, context))
        return FALSE;
    // The frame's own menu shows while no child is active.
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT cs, CCreateContext*) {
    HMENU popup = GetWindowMenuPopup(::GetMenu(m_hWnd));
    return CreateClient(cs, CMenu::FromHandle(popup));
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* windowMenu) {
    CLIENTCREATESTRUCT ccs{windowMenu ? windowMenu->m_hMenu : nullptr, AFX_IDM_FIRST_MDICHILD};
    m_hWndMDIClient =
        ::CreateWindowEx(WS_EX_CLIENTEDGE, MDICLIENT_CLASS, nullptr,
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES, 0,
                         0, 0, 0, m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, nullptr, &ccs);
    if (!m_hWndMDIClient)
        return FALSE;
    // Below every bar, so the bars are laid out first.
    ::SetWindowPos(m_hWndMDIClient, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return TRUE;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProc(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
    BOOL max = FALSE;
    HWND h =
        m_hWndMDIClient ? (HWND)::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&max) : nullptr;
    if (maximized)
        *maximized = h ? max : FALSE;
    CWnd* w = FromHandlePermanent(h);
    return w && w->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(w) : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* child) {
    if (child)
        ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->m_hWnd, 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child) {
    if (child)
        ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child->m_hWnd, 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* child) {
    if (child)
        ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child->m_hWnd, 0);
}

HMENU CMDIFrameWnd::MDISetMenu(HMENU frameMenu, HMENU windowMenu) {
    if (!windowMenu && frameMenu)
        windowMenu = GetWindowMenuPopup(frameMenu);
    HMENU old = (HMENU)::SendMessage(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)frameMenu, (LPARAM)windowMenu);
    ::DrawMenuBar(m_hWnd);
    return old;
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu) {
    return CMenu::FromHandle(
        MDISetMenu(frameMenu ? frameMenu->m_hMenu : nullptr, windowMenu ? windowMenu->m_hMenu : nullptr));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU menuAlt) {
    if (CMDIChildWnd* child = MDIGetActive())
        child->OnUpdateFrameMenu(TRUE, child, menuAlt);
    else
        MDISetMenu(menuAlt ? menuAlt : m_hMenuDefault, nullptr);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CMDIChildWnd* child = MDIGetActive();
    CDocument* doc = GetActiveDocument();
    bool maximized = child && (child->GetStyle() & WS_MAXIMIZE);
    if (addToTitle && child && !maximized && (doc || (doc = child->GetActiveDocument()))) {
        UpdateFrameTitleForDocument(doc->GetTitle());
        return;
    }
    // A maximised child's name is added by the MDI frame itself: "App - [Doc]".
    CString title;
    if (child && !maximized)
        title = child->GetTitle();
    UpdateFrameTitleForDocument(title.IsEmpty() ? nullptr : title.GetString());
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    if (CMDIChildWnd* child = MDIGetActive()) {
        BOOL saved = m_bRoutingToChild;
        m_bRoutingToChild = TRUE;
        BOOL handled = child->OnCmdMsg(id, code, extra, handlerInfo);
        m_bRoutingToChild = saved;
        if (handled)
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator() {
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->m_hAccelTable)
        return child->m_hAccelTable;
    return m_hAccelTable;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->PreTranslateMessage(msg))
        return TRUE;
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        // The active child's template table came first (in the child); the frame's own table next.
        if (m_hAccelTable && ::TranslateAccelerator(m_hWnd, m_hAccelTable, msg))
            return TRUE;
        // The MDI keys (Ctrl+F6, Ctrl+F4) last.
        if (!GetActiveView() && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
            ::TranslateMDISysAccel(m_hWndMDIClient, msg))
            return TRUE;
    }
    return FALSE;
}

LRESULT CMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    if (m_nIdleFlags & idleMenu)
        OnUpdateFrameMenu(nullptr);
    return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT id) {
    switch (id) {
        case ID_WINDOW_ARRANGE:
            MDIIconArrange();
            return TRUE;
        case ID_WINDOW_CASCADE:
            MDICascade();
            return TRUE;
        case ID_WINDOW_TILE_HORZ:
            MDITile(MDITILE_HORIZONTAL);
            return TRUE;
        case ID_WINDOW_TILE_VERT:
            MDITile(MDITILE_VERTICAL);
            return TRUE;
        default:
            return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* ui) {
    ui->Enable(MDIGetActive() != nullptr);
}

void CMDIFrameWnd::OnWindowNew() {
    // Another frame on the active document.
    CMDIChildWnd* active = MDIGetActive();
    CDocument* doc = active ? active->GetActiveDocument() : nullptr;
    CDocTemplate* tmpl = doc ? doc->GetDocTemplate() : nullptr;
    if (!tmpl)
        return;
    CFrameWnd* frame = tmpl->CreateNewFrame(doc, active);
    if (frame)
        tmpl->InitialUpdateFrame(frame, doc);
}
