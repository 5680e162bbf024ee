// CMenu: a C++ object over a menu handle. An attached object is the handle's permanent object (owner
// drawing reaches its DrawItem and MeasureItem); FromHandle makes temporary ones that live until the
// thread's next idle time.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/String.h"
#include "platform/user/Menu.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    // Destroys the menu it holds.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU menu);
    static CMenu* FromHandlePermanent(HMENU menu);
    static void DeleteTempMap();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id) { return Attach(::LoadMenu(nullptr, MAKEINTRESOURCE(id))); }
    BOOL LoadMenu(LPCTSTR name) { return Attach(::LoadMenu(nullptr, name)); }
    BOOL LoadMenuIndirect(const MenuTemplate* tmpl) { return Attach(::LoadMenuIndirect(tmpl)); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr) {
        return ::AppendMenu(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr) {
        return ::InsertMenu(m_hMenu, position, flags, id, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr) {
        return ::ModifyMenu(m_hMenu, position, flags, id, text);
    }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL InsertMenuItem(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE) {
        return ::InsertMenuItem(m_hMenu, item, byPosition, info);
    }
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE) const {
        return ::GetMenuItemInfo(m_hMenu, item, byPosition, info);
    }
    BOOL SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE) {
        return ::SetMenuItemInfo(m_hMenu, item, byPosition, info);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, LPTSTR buffer, int size, UINT flags) const {
        return ::GetMenuString(m_hMenu, item, buffer, size, flags);
    }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    UINT EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
    UINT CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params);

    // Owner drawing of the menu's MFT_OWNERDRAW items; nothing here.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

    // The permanent object of the popup under `menu` (or `menu` itself) that holds the command `id`
    // directly; null when none.
    static CMenu* FindPopupMenuFromID(HMENU menu, UINT id);
    // Owner-draw messages about menu items (id 0, ODT_MENU) for the permanent menu objects; TRUE when an
    // object took it. The window's own handlers come first; CWnd calls this when it has none.
    static BOOL HandleOwnerDraw(UINT message, LPARAM lParam);
};
