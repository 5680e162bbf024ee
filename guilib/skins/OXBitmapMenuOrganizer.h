// COXBitmapMenuOrganizer: gives a frame window bitmap menus. It subclasses the frame, wraps every popup
// the frame opens into a COXBitmapMenu with owner-drawn items and the images of the frame's tool bars,
// can show only the recently used commands (with an item that expands the menu), and keeps that state
// in the profile.
#pragma once

#include <list>
#include <map>
#include <set>
#include <vector>

#include "guilib/skins/OXBitmapMenu.h"
#include "platform/base/Archive.h"
#include "platform/framework/frames/FrameWnd.h"

// Save and load the recently used state of a root menu's submenus (wParam the root, lParam a name);
// the organizer tells its frame that an item became recently used.
#define WM_OX_SAVE_RU_SUBMENUS 0x8073
#define WM_OX_LOAD_RU_SUBMENUS 0x8074
#define WM_OX_RECENTLY_USED_CHANGED 0x8075

// The ids that converted system commands get in a bitmap menu.
#define ID_OX_SC_RESTORE 28137
#define ID_OX_SC_MINIMIZE 28138
#define ID_OX_SC_CLOSE 28139

class COXBitmapMenuOrganizer : public CObject, public COXBitmapMenu::RecentlyUsedQuery {
public:
    COXBitmapMenuOrganizer();
    ~COXBitmapMenuOrganizer() override;
    COXBitmapMenuOrganizer(const COXBitmapMenuOrganizer&) = delete;
    COXBitmapMenuOrganizer& operator=(const COXBitmapMenuOrganizer&) = delete;
    // Gives every converted menu its own items and texts back (all but `except`).
    void RestoreAll(BOOL restoreText, HMENU except = nullptr);

    // FALSE when a frame is attached already or none is given.
    BOOL AttachFrameWnd(CWnd* frame);
    CWnd* DetachFrameWnd();
    CWnd* GetFrameWnd() const { return m_pFrameWnd; }
    static COXBitmapMenuOrganizer* FindOrganizer(HWND frame);

    // Deletes the collected images and restores every converted menu.
    void Empty(BOOL restoreText = TRUE);
    // One image record per command from the frame's tool bars (the bar met last wins).
    BOOL CollectToolbarImages();
    BOOL CreateDefaultImages(int width = 0, int height = 0, UINT checkBitmap = 0, UINT bulletBitmap = 0);
    COXImageInfo* GetImageInfo(UINT id) const;
    void SetCustomizeMode(BOOL on, CWnd* owner);
    // The permanent menu object below `menu` that directly holds the item (a command id or a submenu
    // handle; -1 any).
    CMenu* FindMenuOf(HMENU menu, UINT_PTR item);
    // A deep copy of a submenu, destroyed with the organizer.
    HMENU CopyPopupMenu(HMENU submenu);
    // A popup made for a dropped menu: destroyed with the organizer, last first.
    void KeepCreatedMenu(HMENU menu) { m_createdMenus.push_back(menu); }
    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }

    virtual void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    virtual LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
    virtual LRESULT OnMeasureItem(int controlId, LPMEASUREITEMSTRUCT measure);
    virtual void ConvertMenu(COXBitmapMenu* menu, BOOL hide);
    virtual void RestoreMenu(COXBitmapMenu* menu, BOOL restoreText);

    // Recently used items. The sets hold what is NOT recently used.
    virtual void SetShowOnlyRecentlyUsed(BOOL on);
    virtual BOOL ExcludeFromRecentlyUsed(UINT id);
    virtual BOOL ExcludePopupFromRecentlyUsed(HMENU popup);
    virtual BOOL AddToRecentlyUsed(UINT id);
    virtual BOOL AddPopupToRecentlyUsed(HMENU popup);
    virtual void SaveRUContents(CArchive& ar);
    // Reads the whole set before replacing the current one; a damaged set leaves it unchanged.
    virtual void LoadRUContents(CArchive& ar);
    virtual void SaveRUSubmenuContents(HMENU root, CArchive& ar);
    virtual void LoadRUSubmenuContents(HMENU root, CArchive& ar);
    BOOL IsRecentlyUsed(COXBitmapMenu* menu, int position) const;
    BOOL IsCommandRecentlyUsed(UINT id) const { return m_hiddenCommands.count(id) == 0; }
    BOOL IsPopupRecentlyUsed(HMENU popup) const { return m_hiddenPopups.count(popup) == 0; }
    BOOL SaveRUState(LPCTSTR section = "RecentlyUsedMenuItems");
    BOOL LoadRUState(LPCTSTR section = "RecentlyUsedMenuItems");
    BOOL SaveRUSubmenuState(HMENU root, LPCTSTR section = "RecentlyUsedSubmenuItems");
    BOOL LoadRUSubmenuState(HMENU root, LPCTSTR section = "RecentlyUsedSubmenuItems");
    BOOL GetShowOnlyRecentlyUsed() const { return m_bShowOnlyRecentlyUsed; }
    BOOL IsExpanded() const { return m_bExpanded; }
    const std::list<COXBitmapMenu*>& GetConvertedMenus() const { return m_convertedMenus; }

    // RecentlyUsedQuery, for the bitmap menus' drawing.
    BOOL ShowsOnlyRecentlyUsed() const override { return m_bShowOnlyRecentlyUsed; }
    BOOL IsRecentlyUsed(HMENU menu, int position) const override;

protected:
    struct SavedItem {
        int position;
        MENUITEMINFO info;
        CString text;
    };
    struct PopupTrace {
        HMENU menu;
        POINT position;
    };

    LRESULT FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT OrganizerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK_MouseHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK_KeyboardHook(int code, WPARAM wParam, LPARAM lParam);
    void SubclassFrame(HWND frame);
    void UnsubclassFrame();
    BOOL Filtering() const { return m_bShowOnlyRecentlyUsed && !m_bExpanded && !m_bCustomizeMode; }
    void OnCommandChosen(UINT id);
    void ExpandMenus();
    void OnExitMenuLoop(BOOL popupMenu);
    void RemoveHooks();

    std::map<CString, HIMAGELIST> m_imageLists;
    std::map<UINT, COXImageInfo*> m_images;
    CWnd* m_pFrameWnd = nullptr;
    HWND m_hFrameWnd = nullptr;
    WNDPROC m_pfnOldProc = nullptr;
    HIMAGELIST m_hDefaultImages = nullptr;
    BOOL m_bCustomizeMode = FALSE;
    CWnd* m_pCustomizeOwner = nullptr;
    std::list<COXBitmapMenu*> m_convertedMenus;
    COXBitmapMenu* m_pKeptMenu = nullptr;
    std::vector<HMENU> m_createdMenus;

    BOOL m_bShowOnlyRecentlyUsed = TRUE;
    std::set<UINT> m_hiddenCommands;
    std::set<HMENU> m_hiddenPopups;
    std::map<COXBitmapMenu*, std::vector<SavedItem>> m_savedItems;
    BOOL m_bExpanded = FALSE;
    BOOL m_bMenuLoop = FALSE;
    int m_nPopupDepth = 0;
    std::vector<PopupTrace> m_trace;
    std::map<HMENU, HWND> m_popupWindows;

    static HHOOK s_hMouseHook;
    static HHOOK s_hKeyboardHook;
};
