#include "platform/framework/window/Menu.h"

#include <map>
#include <string>

#include "platform/framework/window/Wnd.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
thread_local std::map<HMENU, CMenu*>* t_tempMenus = nullptr;
}

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (!menu)
        return nullptr;
    if (!t_tempMenus)
        t_tempMenus = new std::map<HMENU, CMenu*>;
    CMenu*& temp = (*t_tempMenus)[menu];
    if (!temp) {
        temp = new CMenu;
        temp->m_hMenu = menu;
    }
    return temp;
}

void CMenu::DeleteTempMap() {
    if (!t_tempMenus)
        return;
    for (auto& [h, m] : *t_tempMenus) {
        m->m_hMenu = nullptr;
        delete m;
    }
    t_tempMenus->clear();
}

BOOL CMenu::Attach(HMENU menu) {
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    int n = ::GetMenuString(m_hMenu, item, nullptr, 0, flags);
    std::string s((size_t)n + 1, '\0');
    n = ::GetMenuString(m_hMenu, item, s.data(), n + 1, flags);
    s.resize((size_t)n);
    text = CString(s.c_str());
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->GetSafeHwnd() : nullptr, rect);
}
