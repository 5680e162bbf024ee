// COXCustomizeCommandsPage: the "Commands" page of the customize dialog. A tree of every command of the
// frame's menus and tool bars, grouped like the menus, from which the user drags commands, separators,
// new menus and whole menu groups onto the tool bars and into the menus. While the page shows, the
// cool tool bars and the bitmap menus are in customisation mode with the page as their owner, and the
// page answers their notifications (selection, menus opened from the menu bar, the appearance dialog).
// The page owns the frame's bitmap menu organizer and makes every tool bar of the frame share one image
// list, so a command has one image index on every bar, in the tree and in the drag data.
#pragma once

#include <map>
#include <vector>

#include "guilib/controls/OXBitmapButton.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/frame/OXMenuBar.h"  // OXMENUBARPOPUP, ID_OXCUSTTB_MENU_REQUESTED
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/framework/controls/TreeCtrl.h"
#include "platform/framework/ole/OleDataSource.h"

class COXBitmapMenuPopupWnd;
class COXCoolToolBar;
class COXButtonAppearanceDlg;

// Item data of the tree's items.
#define OX_CMDPAGE_SEPARATOR 0
#define OX_CMDPAGE_MENU_GROUP ((DWORD_PTR)-1)
#define OX_CMDPAGE_NEW_MENU ((DWORD_PTR)-2)
#define OX_CMDPAGE_CUSTOM_BUTTONS ((DWORD_PTR)-3)

// The shared image list starts with the tree's five icons; tool bar and command images follow.
#define OX_CMDPAGE_IMAGE_GROUP 0
#define OX_CMDPAGE_IMAGE_NEW_MENU 1
#define OX_CMDPAGE_IMAGE_SEPARATOR 2
#define OX_CMDPAGE_IMAGE_COMMAND 3
#define OX_CMDPAGE_IMAGE_CUSTOM_BUTTONS 4
#define OX_CMDPAGE_FIRST_IMAGE 5

class COXCustomizeCommandsPage : public COXCustomizePage {
    DECLARE_DYNCREATE(COXCustomizeCommandsPage)

public:
    COXCustomizeCommandsPage();
    ~COXCustomizeCommandsPage() override;

    BOOL ShowInManager(COXCustomizeManager* pCustomizeManager) override;
    void HidePage() override;
    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL SaveState() override;
    BOOL CanApply() override { return FALSE; }
    CString GetPageTitle() override { return CString("Commands"); }
    UINT GetImageId() override;
    CString GetPageTooltip() override { return CString("Customize the contents of the toolbars and menus"); }
    void InitControls() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Collects the commands of the frame's menus and tool bars, gives every tool bar the shared image
    // list, loads the bars' saved states and the recently used menu items, and attaches the organizer
    // when images in menus are on.
    virtual BOOL SetupPage(UINT nBitmapID, COLORREF clrMask, BOOL bShowIconsInMenu, BOOL bShowOnlyRecentlyUsed,
                           LPCTSTR lpszProfileName);
    virtual COXBitmapMenuOrganizer* GetBitmapMenuOrganizer() { return &m_bitmapMenuOrganizer; }
    virtual BOOL SaveToolbarState(CToolBar* pToolbar);
    virtual BOOL LoadToolbarState(CToolBar* pToolbar);
    // Gives a tool bar made later the shared images and the customisation settings.
    virtual void PrepareToolbarForCustomize(CToolBar* pToolbar);
    virtual BOOL AddCommandFromResource(UINT nCmdID, UINT nTextID, int nImageIndex, UINT nDescriptionID);
    virtual BOOL AddCommand(UINT nCmdID, LPCTSTR lpszText, int nImageIndex, LPCTSTR lpszDescription);
    virtual BOOL HasCommand(UINT nCmdID);
    virtual BOOL GetCommandInfo(UINT nCmdID, CString& sText, int& nImageIndex, CString& sDescription);

    // What the page holds, for its callers and tests.
    HIMAGELIST GetImageList() const { return m_hImageList; }
    const std::vector<UINT>& GetAvailableButtons() const { return m_arrAvailableButtons; }
    // The command's image in the shared list; -1 without one or when the command is unknown.
    int GetCommandImage(UINT nCmdID) const;
    BOOL IsCommandKnown(UINT nCmdID) const { return m_mapCommands.count(nCmdID) != 0; }
    BOOL GetShowIconsInMenu() const { return m_bShowIconsInMenu; }
    BOOL GetShowOnlyRecentlyUsed() const { return m_bShowOnlyRecentlyUsed; }
    CTreeCtrl& GetCommandsTree() { return m_treeCommands; }
    COXCoolToolBar* GetSelectedToolbar() const { return m_pSelectedToolbar; }
    int GetOpenMenuBarItem() const { return m_nOpenMenuBarItem; }
    const std::map<COXBitmapMenuPopupWnd*, int>& GetPopupWnds() const { return m_mapPopupWnds; }
    CString GetDescription() const { return m_sDescription; }
    // The drag data of a tree item (null for "Custom Buttons"); the caller owns it.
    COleDataSource* CreateDragDataSource(HTREEITEM hItem);

    // The customisation notifications of the tool bars, the menu bar and the bitmap menu popups.
    void OnToolbarButtonCustomize(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    void OnMenuItemCustomize(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    // Closes the recorded popups at `nLevel` and deeper (0: all).
    void CloseOpenPopups(int nLevel = 0);
    // The recorded level of a popup whose window exists, else -1.
    int GetPopupLevel(COXBitmapMenuPopupWnd* pPopupWnd) const;

    // The appearance dialog is run through this, so a test can answer it.
    virtual INT_PTR RunAppearanceDialog(COXButtonAppearanceDlg& dlg);

protected:
    // The main window as a frame, or null.
    CFrameWnd* GetMainFrame() const;
    std::vector<CToolBar*> GetFrameToolbars() const;
    std::vector<COXCoolToolBar*> GetFrameCoolToolbars() const;
    COXMenuBar* GetFrameMenuBar() const;
    // The menus whose commands the page offers: the menu resource 127 (loaded, destroyed by the
    // caller when `loaded`), then in an MDI frame the shared menu of every document template.
    std::vector<HMENU> GetCommandMenus(HMENU& loaded) const;
    BOOL IsSkippedCommand(UINT nCmdID) const;
    void CollectMenuCommands(HMENU hMenu);
    void BuildAvailableButtons();
    void SetAvailableButtonsOnToolbars();
    void FillCommandsTree();
    // The group "Custom Buttons": a child for each registered custom button whose window exists.
    void AddCustomButtonsToTree();
    // The shared image for the appearance dialog's image `nChosen`, else `nCurrent`.
    int ChosenSharedImage(int nChosen, int nCurrent) const;
    void AddMenuToTree(HMENU hMenu, HTREEITEM hParent);
    HTREEITEM FindChildItem(HTREEITEM hParent, const CString& sText) const;
    HTREEITEM InsertTreeItem(const CString& sText, int nImage, DWORD_PTR nData, BOOL bBold, HTREEITEM hParent);
    // The popup of a menu group's children, built for dragging; the caller destroys it.
    HMENU BuildGroupMenu(HTREEITEM hGroup);
    CString CommandTooltipText(UINT nCmdID) const;
    void ClearSelection();
    void DestroyPreviewWnd();
    COXBitmapMenuPopupWnd* CreatePopupWnd(int nLevel);
    // Wraps a submenu into a bitmap menu of the organizer when it is not one yet.
    COXBitmapMenu* GetBitmapMenu(HMENU hMenu);
    void OpenSubmenuPopup(COXBitmapMenuPopupWnd* pSender, int nPosition);
    void MarkMenuBarMenuChanged();
    void ToolbarButtonAppearance(COXCoolToolBar* pToolbar, int nIndex);
    void MenuBarItemAppearance(COXMenuBar* pMenuBar, int nIndex);
    void MenuItemAppearance(COXBitmapMenuPopupWnd* pPopupWnd);
    // After "None": the command's keys from the manager's shortcut-key organizer, the current key text
    // selected; the current text added last when it is none of them.
    void AddCommandAccelerators(COXButtonAppearanceDlg& dlg, WORD command, const CString& current);
    // The dialog's images: `nCurrent` of the shared list first, then the shared list from image 5 on.
    HIMAGELIST CreateAppearanceImages(HIMAGELIST hCurrentList, int nCurrent) const;

    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnModifySelection(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCheckOption();
    void OnSize(UINT nType, int cx, int cy);

    COXSeparator m_sepDescription;
    COXSeparator m_sepCommands;
    COXSeparator m_sepOptions;
    COXBitmapButton m_btnModifySelection;
    CTreeCtrl m_treeCommands;
    CString m_sDescription;
    BOOL m_bShowIconsInMenu = FALSE;
    BOOL m_bShowOnlyRecentlyUsed = FALSE;
    COXBitmapMenuOrganizer m_bitmapMenuOrganizer;
    std::map<COXBitmapMenuPopupWnd*, int> m_mapPopupWnds;
    std::map<UINT, int> m_mapCommands;
    std::vector<UINT> m_arrCommandOrder;  // the commands in the order they were met
    std::map<UINT, CString> m_mapCommandText;
    std::map<UINT, CString> m_mapCommandDescription;
    std::vector<UINT> m_arrAvailableButtons;
    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST m_hCommandsImages = nullptr;
    COXCoolToolBar* m_pSelectedToolbar = nullptr;
    int m_nOpenMenuBarItem = -1;
    CWnd* m_pPreviewWnd = nullptr;
    HFONT m_hBoldFont = nullptr;

    DECLARE_MESSAGE_MAP()
};
