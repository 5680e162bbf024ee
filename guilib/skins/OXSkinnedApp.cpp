#include "guilib/skins/OXSkinnedApp.h"

IMPLEMENT_DYNCREATE(COXSkinnedApp, CWinApp)

COXSkinnedApp::COXSkinnedApp() : CWinApp(nullptr) {
    AddSkin(new COXSkinClassic);
    AddSkin(new COXSkinXP);
    AddSkin(new COXSkin2003);
    SetCurrentSkin("Office XP");
}

COXSkinnedApp::~COXSkinnedApp() {
    POSITION pos = m_mapSkins.GetStartPosition();
    while (pos) {
        CString name;
        void* skin = nullptr;
        m_mapSkins.GetNextAssoc(pos, name, skin);
        delete static_cast<COXSkin*>(skin);
    }
    m_mapSkins.RemoveAll();
    m_pCurrentSkin = nullptr;
}

void COXSkinnedApp::AddSkin(COXSkin* skin) {
    if (!skin)
        return;
    CString name = skin->GetName();
    void* old = nullptr;
    if (m_mapSkins.Lookup(name, old) && old != skin) {
        // The replaced look goes; nothing may keep pointing at it.
        if (m_pCurrentSkin == old)
            m_pCurrentSkin = nullptr;
        delete static_cast<COXSkin*>(old);
    }
    m_mapSkins.SetAt(name, skin);
}

BOOL COXSkinnedApp::SetCurrentSkin(LPCTSTR name) {
    void* found = nullptr;
    if (!name || !m_mapSkins.Lookup(name, found)) {
        m_pCurrentSkin = nullptr;
        return FALSE;
    }
    m_pCurrentSkin = static_cast<COXSkin*>(found);
    m_nCurrentSkinType = m_pCurrentSkin->GetSkinType();
    CWinThread* thread = AfxGetThread();
    CWnd* main = thread ? thread->m_pMainWnd : nullptr;
    if (main && ::IsWindow(main->GetSafeHwnd())) {
        RefreshFloatingFrames(main->GetSafeHwnd());
        RefreshWindowTree(main->GetSafeHwnd());
    }
    return TRUE;
}

void COXSkinnedApp::RefreshWindowTree(HWND window) {
    if (!::IsWindow(window))
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    if (!(::GetWindowLong(window, GWL_STYLE) & WS_MAXIMIZE))
        ::SendMessage(window, WM_SIZE, 0, MAKELPARAM(client.right - client.left, client.bottom - client.top));
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        RefreshWindowTree(child);
}

namespace {
// Whether `window` is owned, directly or through its owners and parents, by `owner`.
BOOL IsOwnedBy(HWND owner, HWND window) {
    for (HWND w = window; w; w = ::GetWindow(w, GW_OWNER) ? ::GetWindow(w, GW_OWNER) : ::GetParent(w))
        if (w == owner)
            return TRUE;
    return FALSE;
}
}  // namespace

void COXSkinnedApp::RefreshFloatingFrames(HWND mainWindow) {
    for (HWND top = ::GetWindow(::GetDesktopWindow(), GW_CHILD); top; top = ::GetWindow(top, GW_HWNDNEXT)) {
        CWnd* object = CWnd::FromHandlePermanent(top);
        if (!object || top == mainWindow || !IsOwnedBy(mainWindow, top))
            continue;
        if (OXIsKindOf(object, "COXSizableMiniDockFrameWnd"))
            RefreshWindowTree(top);
    }
}

COXSkin* OXGetCurrentSkin() {
    auto* app = DYNAMIC_DOWNCAST(COXSkinnedApp, AfxGetApp());
    return app ? app->GetCurrentSkin() : nullptr;
}
