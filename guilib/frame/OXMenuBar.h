// COXMenuBar: a frame's menu shown as a dockable tool bar, one text button per top-level item. Clicks,
// the mnemonics and the arrow keys open the popups; a top-level command runs at once. Menus changed by
// customisation are kept in the profile per document type.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXCoolToolBar.h"

class CDocTemplate;

// Opens the popup of a top-level position (wParam); only the last one queued is opened.
#define WM_OX_MENUBAR_OPEN 0x808D

// In customisation mode the bar does not open an item's menu itself: it asks its customisation owner
// with this event of OX_TOOLBAR_CUSTOMIZE_NOTIFY, the record's lParam pointing to an OXMENUBARPOPUP.
#define ID_OXCUSTTB_MENU_REQUESTED 32910
struct OXMENUBARPOPUP {
    int nItem;         // the menu-bar item
    HMENU hPopup;      // its submenu
    POINT ptPosition;  // where the menu goes, screen coordinates
    UINT nFlags;       // its alignment (TPM_ flags)
    RECT rectItem;     // the item's rectangle, screen coordinates
};

// The delayed start of an item's drag in customisation mode.
#define OX_MENUBAR_DRAG_TIMER 412

class COXMenuBar : public COXCoolToolBar, public COXMenuBarView {
    DECLARE_DYNAMIC(COXMenuBar)
public:
    COXMenuBar();
    ~COXMenuBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR) override;
    BOOL SetFrameMenu(HMENU menu);
    // The menu shown (not owned), or null.
    HMENU GetMenuHandle() const { return m_hMenu; }
    HMENU GetWindowMenu() const { return m_hWindowMenu; }
    // Rebuilds the buttons from the menu: button i has id i + 1, style BTNS_DROPDOWN | BTNS_AUTOSIZE.
    BOOL InsertMenuItems(BOOL relayout = TRUE);
    // Mode 0 client, 1 screen, 2 window coordinates: -5 system icon, -4 close, -3 restore, -2 minimise,
    // -1 nothing, else the button index.
    int HitTest(POINT point, int mode = 0) const;
    BOOL ProcessMenuKey(UINT vk);
    void TrackMenu(int position);
    BOOL SaveMenuState(HMENU menu, LPCTSTR className);
    BOOL LoadMenuState(HMENU menu, LPCTSTR className);
    void MarkMenuChanged();
    static COXMenuBar* FindMenuBar(CWnd* window = nullptr);
    CString CopyMenuString(int position) const;
    // The upper-case mnemonic's button, or -1.
    int FindMnemonic(char letter) const;
    BOOL IsKeyboardMode() const { return m_bKeyboardMode; }
    void SetKeyboardMode(BOOL on, int position = 0);
    int GetTrackedIndex() const { return m_nTrackedIndex; }
    // The position to open once the open popup has closed; the click that closes a popup opens nothing.
    void RequestReopen(int position) { m_nReopenIndex = position; }
    void SetClosingClick(int position) { m_nClosingClick = position; }
    // Whether the bar claims the whole length of its dock row; the menu dock bar sets the in-layout flag
    // around its layout pass, so the bar reports that length.
    BOOL IsWholeRow() const { return m_bWholeRow; }
    // The active MDI child of the parent frame when it is maximised, else null.
    HWND GetMaximizedChild() const;
    // The maximised child's icon shown before the buttons (null when no child is maximised).
    HICON GetSystemIcon() const { return m_hChildIcon; }
    RECT GetIconRect() const { return m_rectIcon; }
    // Follows the active child: its icon, and the close, restore and minimise buttons at the bar's end.
    void UpdateSystemIcon();
    void LayoutMDIButtons();
    virtual void DrawMDIButtons(CDC* dc);
    void SetInLayout(BOOL on) { m_bInLayout = on; }

    BOOL IsCustomizable(BOOL advanced) const override { return advanced; }
    BOOL SaveBarState(LPCTSTR section, LPCTSTR name, BOOL withProperties = TRUE) override;
    BOOL LoadBarState(LPCTSTR, LPCTSTR, BOOL = TRUE) override { return TRUE; }
    BOOL DeleteButton(int index) override;
    // Customisation: the dragged item's block, the drop target's records, and the item's menu.
    void OnDragEnter(SHBDROPTARGETACTION* action) override;
    void OnDragOver(SHBDROPTARGETACTION* action) override;
    void OnDragLeave(SHBDROPTARGETACTION* action) override;
    void OnDrop(SHBDROPTARGETACTION* action) override;
    // Inserts dropped items into `menu` at `position` (-1 the end): commands, separators (id 0) and
    // popups made and filled from their nested items.
    virtual void InsertDroppedItems(const std::vector<OXCommandDragItem>& items, HMENU menu, int position);
    // "Delete" and "Button Appearance..." for the customised item; null when there is none.
    HMENU CreateCustomizeMenu(int index);
    SIZE CalcLayout(DWORD mode, int length = -1) override;
    BOOL IsMenuBar() const override { return TRUE; }
    CString GetMenuItemText(int position) const override { return CopyMenuString(position); }
    HWND GetBandReferenceWindow() const override { return m_pParent ? m_pParent->m_hWnd : ::GetParent(m_hWnd); }

    // What the skins read.
    HWND GetMenuBarHwnd() const override { return m_hWnd; }
    HWND GetMDIFrameHwnd() const override { return m_pParent ? m_pParent->m_hWnd : nullptr; }
    RECT GetCloseRect() const override { return m_rectClose; }
    RECT GetRestoreRect() const override { return m_rectRestore; }
    RECT GetMinimizeRect() const override { return m_rectMinimize; }
    int GetPressedMDIButton() const override { return m_nPressedMDIButton; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void EndTracking();
    void SaveCurrentMenu();
    CString SectionOf(LPCTSTR className) const;
    bool IsCommandItem(int position) const;
    HWND FrameHwnd() const { return m_pParent ? m_pParent->m_hWnd : ::GetParent(m_hWnd); }

    HMENU m_hMenu = nullptr;
    HMENU m_hWindowMenu = nullptr;
    int m_nTrackedIndex = -1;
    int m_nReopenIndex = -1;
    int m_nClosingClick = -1;
    BOOL m_bInLayout = FALSE;
    BOOL m_bEscape = FALSE;
    BOOL m_bWholeRow = TRUE;
    CWnd* m_pParent = nullptr;
    std::map<char, int> m_mnemonics;
    RECT m_rectClose{0, 0, 0, 0}, m_rectRestore{0, 0, 0, 0}, m_rectMinimize{0, 0, 0, 0}, m_rectIcon{0, 0, 0, 0};
    int m_nPressedMDIButton = -1;
    int m_nCapturedMDIButton = -1;  // the MDI button pressed while the mouse is captured
    HICON m_hChildIcon = nullptr;
    void OnMDIButtonUp(POINT point);
    // TBN_BEGINDRAG of item `position`: the owner may refuse; a move or a drop over nothing deletes it.
    void BeginDragItem(int position);
    BOOL CustomizeMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Asks the owner to open the item's menu (customisation mode): the position rule of the bitmap menu.
    void RequestMenu(int position, HMENU popup, RECT button);
    UINT_PTR m_nDragTimer = 0;
    int m_nDragButton = -1;
    int m_nDragOpenIndex = -1;  // the item opened by hovering during a drag
    BOOL m_bKeyboardMode = FALSE;
    HWND m_hFocusBefore = nullptr;
    HFONT m_hFont = nullptr;
    std::map<HMENU, CDocTemplate*> m_templates;
    std::set<HMENU> m_changedMenus;
    std::vector<HMENU> m_createdPopups;
    std::vector<CString> m_texts;  // the buttons' texts while they are shown
};
