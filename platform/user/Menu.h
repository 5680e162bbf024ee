// Menus: handles to item lists built in code or loaded from a program's menu resources, and popup menus
// tracked in a modal loop that calls the thread's message-filter hooks (MSGF_MENU).
#pragma once

#include <vector>

#include "platform/user/ListView.h"  // the owner-draw structures
#include "platform/user/User.h"

#define MF_INSERT 0x00000000L
#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_UNHILITE 0x00000000L
#define MF_BYCOMMAND 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_BITMAP 0x00000004L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_HILITE 0x00000080L
#define MF_OWNERDRAW 0x00000100L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000L
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY
#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

// WM_MENUCHAR answers (high word; the low word is an item position).
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

#define WM_MENUCHAR 0x0120
#define SC_NEXTWINDOW 0xF040
#define ODS_DEFAULT 0x0020

#define WC_MENU "#32768"

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPTSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
typedef MENUITEMINFO* LPMENUITEMINFO;
typedef const MENUITEMINFO* LPCMENUITEMINFO;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

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

// A menu handle is never reused: a destroyed (stale) handle fails every call harmlessly.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus; a stale handle fails.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Items are named by position (MF_BYPOSITION) or by command; a command is searched depth-first through
// the sub-menus, and an item that opens a sub-menu answers to its own id only when nothing else does.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
// Inserts before the item named; by position, a place past the end (or -1) appends.
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
// Replaces the item; a sub-menu it opened and no longer opens is destroyed.
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text);
// Takes the item out; DeleteMenu also destroys a sub-menu it opens, RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
// MIIM_STRING/MIIM_TYPE copy the text into dwTypeData (cch bytes with the terminator) and set cch to the
// text's length; with no buffer only cch is set.
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
// -1 for an item that opens a sub-menu.
UINT GetMenuItemID(HMENU menu, int position);
int GetMenuString(HMENU menu, UINT item, LPTSTR buffer, int size, UINT flags);
// Returns the previous state (MF_GRAYED | MF_DISABLED bits), or -1 when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// The item's flags; for an item that opens a sub-menu also MF_POPUP and the sub-menu's item count in the
// high byte. -1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Sets or clears MF_HILITE on an item.
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
// The window's own copy of the system menu (Restore, Move, Size, Minimize, Maximize, Close; an MDI
// child's closes with Ctrl+F4 and has Next). With `revert` the copy is destroyed and null returned.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// A menu resource of the installed modules, built anew; null when there is none.
HMENU LoadMenu(HINSTANCE instance, LPCTSTR name);
HMENU LoadMenuIndirect(const MenuTemplate* tmpl);

// The menu bar of a top-level window (drawn in its non-client area, above the client). SetMenu
// replaces it (the old menu is not destroyed); DrawMenuBar redraws it after items changed.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);

// Shows the popup at (x, y) in screen coordinates, aligned as the TPM_ flags say and kept on the screen,
// and runs the modal menu loop until an item is chosen or the menu is dismissed (Escape on the first
// popup, a click on another window, which then receives that click, a quit message, which is posted
// again, EndMenu). Every message of the loop goes first to the WH_MSGFILTER hooks (MSGF_MENU); the
// retrieval calls the WH_MOUSE and WH_KEYBOARD hooks, and a key they consume never reaches the menu.
// Unless TPM_NONOTIFY, the owner gets WM_ENTERMENULOOP (TRUE), WM_INITMENU, WM_INITMENUPOPUP for each
// popup opened (position, system-menu flag), WM_MENUSELECT as the selection moves and the closing form
// (0xFFFF, null menu) at the end, WM_MENUCHAR for a character no item answers to, WM_ENTERIDLE and
// WM_EXITMENULOOP (TRUE). Owner-drawn items get WM_MEASUREITEM when first shown and WM_DRAWITEM.
// Items that open sub-menus cascade (hover, Right or Enter open them, Left or Escape close them).
// The popups are top-level windows of the class "#32768" as registered when they open, so a program
// can register its own class of that name; each popup obeys WM_KEYDOWN (arrows, Enter, Escape) and
// WM_CHAR sent or posted to it. The chosen id is returned with TPM_RETURNCMD; otherwise it is posted to
// the owner as WM_COMMAND (WM_SYSCOMMAND for a system menu) and TRUE is returned. 0 when nothing was
// chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
// As TrackPopupMenu; the popup avoids `params->rcExclude` (below or above it with TPM_VERTICAL, beside it
// otherwise).
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the menu loop running on this thread, choosing nothing.
BOOL EndMenu();
// The position of the item of an open popup of `menu` under `screen`, or -1.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen);
// The window of the innermost popup being tracked on this thread, or null (tests drive it).
HWND GetTrackedPopupWindow();
// The menu of the innermost popup being tracked on this thread (while its items are measured and its
// window is made, too), or null.
HMENU GetTrackedPopupMenu();
// The owner of the menu loop running on this thread and the menu it was started with; null when none.
HWND GetMenuLoopOwner();
HMENU GetMenuLoopMenu();
// Height of a text item and of a separator in a popup, in pixels.
int MenuItemHeight(bool separator);

namespace user {
void RegisterMenuClass();
}
