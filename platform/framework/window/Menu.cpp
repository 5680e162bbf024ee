#include "platform/framework/window/Menu.h"

#include <map>
#include <string>

#include "platform/framework/window/Wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
thread_local std::map<HMENU, CMenu*>* t_permanent = nullptr;
thread_local std::map<HMENU, CMenu*>* t_temporary = nullptr;

std::map<HMENU, CMenu*>& Permanent() {
    if (!t_permanent)
        t_permanent = new std::map<HMENU, CMenu*>;
    return *t_permanent;
}
}  // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandlePermanent(HMENU menu) {
    if (!menu || !t_permanent)
        return nullptr;
    auto it = t_permanent->find(menu);
    return it == t_permanent->end() ? nullptr : it->second;
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (!menu)
        return nullptr;
    if (CMenu* permanent = FromHandlePermanent(menu))
        return permanent;
    if (!t_temporary)
        t_temporary = new std::map<HMENU, CMenu*>;
    CMenu*& temp = (*t_temporary)[menu];
    if (!temp) {
        temp = new CMenu;
        temp->m_hMenu = menu;
    }
    return temp;
}

void CMenu::DeleteTempMap() {
    if (!t_temporary)
        return;
    for (auto& [h, m] : *t_temporary) {
        m->m_hMenu = nullptr;  // the handle is not the temporary object's to destroy
        delete m;
    }
    t_temporary->clear();
}

BOOL CMenu::Attach(HMENU menu) {
    if (!menu || m_hMenu || !::IsMenu(menu))
        return FALSE;
    m_hMenu = menu;
    Permanent()[menu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    if (h && t_permanent) {
        auto it = t_permanent->find(h);
        if (it != t_permanent->end() && it->second == this)
            t_permanent->erase(it);
    }
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
    text = CString(std::move(s));
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->GetSafeHwnd() : nullptr, rect);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params) {
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, owner ? owner->GetSafeHwnd() : nullptr, params);
}

CMenu* CMenu::FindPopupMenuFromID(HMENU menu, UINT id) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (CMenu* found = FindPopupMenuFromID(sub, id))
                return found;
        } else if (::GetMenuItemID(menu, i) == id) {
            return FromHandlePermanent(menu);
        }
    }
    return nullptr;
}

BOOL CMenu::HandleOwnerDraw(UINT message, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (!dis || dis->CtlType != ODT_MENU)
            return FALSE;
        CMenu* menu = FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
        if (!menu)
            return FALSE;
        menu->DrawItem(dis);
        return TRUE;
    }
    if (message == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (!mis || mis->CtlType != ODT_MENU)
            return FALSE;
        // The popup being opened holds the item.
        HMENU tracked = ::GetTrackedPopupMenu();
        CMenu* menu = tracked ? FindPopupMenuFromID(tracked, mis->itemID) : nullptr;
        if (!menu)
            return FALSE;
        menu->MeasureItem(mis);
        return TRUE;
    }
    return FALSE;
}
