// Menus: handles to item lists built in code or loaded from a program's menu resources, and popup menus
// tracked in a modal loop that calls the thread's message-filter hooks (MSGF_MENU).
#pragma once

#include <vector>

#include "platform/user/User.h"

#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_BYCOMMAND 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_SEPARATOR 0x00000800L
#define MF_BYPOSITION 0x00000400L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

#define WC_MENU "#32768"

// One item of a menu resource; a popup item holds its sub-items.
struct MenuItemTemplate {
    const char* text;  // null for a separator
    UINT id;
    UINT flags;
    std::vector<MenuItemTemplate> popup;
};
struct MenuTemplate {
    UINT id;
    std::vector<MenuItemTemplate> items;
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus; a stale handle fails.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
int GetMenuString(HMENU menu, UINT item, LPTSTR buffer, int size, UINT flags);
// Returns the previous state (MF_GRAYED | MF_DISABLED bits), or -1 when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Editing items, by command (searched through the sub-menus) or by position. InsertMenu puts the item
// before the one named (at the end when there is none, by position); DeleteMenu also destroys a
// sub-menu the item opens, RemoveMenu keeps it.
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// A menu resource of the installed modules, built anew; null when there is none.
HMENU LoadMenu(HINSTANCE instance, LPCTSTR name);
HMENU LoadMenuIndirect(const MenuTemplate* tmpl);

// The menu bar of a top-level window (drawn in its non-client area, above the client). SetMenu
// replaces it (the old menu is not destroyed); DrawMenuBar redraws it after items changed.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

// Shows the popup at (x, y) in screen coordinates and runs its modal loop until an item is chosen or the
// menu is dismissed (Esc, a click outside, a quit message, which is posted again). The owner gets
// WM_ENTERMENULOOP, WM_INITMENUPOPUP and WM_EXITMENULOOP. The chosen id is returned with
// TPM_RETURNCMD; otherwise it is posted to the owner as WM_COMMAND and TRUE is returned. 0 when nothing
// was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
// The window of the popup being tracked on this thread, or null (tests drive it).
HWND GetTrackedPopupWindow();
// Height of one item and of a separator in a popup, in pixels.
int MenuItemHeight(bool separator);

namespace user {
void RegisterMenuClass();
}
