// The customize dialog: a modeless, sizable dialog owned by the main frame that shows one customize
// page at a time. A shortcut bar on the left holds one 32-pixel icon per page; choosing an icon shows
// that page in the rectangle between the two separators. The manager object lives as long as the
// frame and holds the page objects; their windows exist only while the dialog is open.
#pragma once

#include "guilib/controls/OXLayoutManager.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/controls/OXShortcutBar.h"
#include "guilib/controls/OXStatic.h"
#include "guilib/customize/OXCustomizeBackgroundPage.h"
#include "guilib/customize/OXCustomizeCommandsPage.h"
#include "guilib/customize/OXCustomizeCoolControlsPage.h"
#include "guilib/customize/OXCustomizeInstanceManagerPage.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/customize/OXCustomizeShortkeysPage.h"
#include "guilib/customize/OXCustomizeSplashWindowPage.h"
#include "guilib/customize/OXCustomizeTabbedMDIPage.h"
#include "guilib/customize/OXCustomizeToolbarsPage.h"
#include "guilib/customize/OXCustomizeTrayIconPage.h"
#include "platform/user/ImageList.h"

// The customize dialog's template and its controls.
#define IDD_CUSTOMIZEMANAGER 26002
#define IDC_OX_BUTTON_APPLY 26001
#define IDC_OX_SHB_PAGES 26043
#define IDC_OX_STATIC_TITLE 26045
#define IDC_OX_SEPARATOR_BOTTOM 26046
#define IDC_OX_SEPARATOR_TOP 26047

// The shortcut bar's notifications the dialog answers: an item was selected, an item's tooltip.
#define OXNotifyShortcutBarSelectItem SHBN_ACTIVATEITEM
#define OXNotifyShortcutBarGetItemTip SHBN_GETITEMINFOTIP

// Where each page stands in the manager's registry.
enum CustomizePageIndex : DWORD {
    TABBEDMDI = 1,
    TOOLBARS = 3,
    COMMANDS = 4,
    BACKGROUND_PAINTER = 5,
    COOLCONTROLS = 6,
    TRAYICON = 7,
    INSTANCE_MANAGER = 8,
    SPLASHWINDOW = 9,
    SHORTKEYS = 11,
};

class COXCustomizeManager : public CDialog {
    DECLARE_DYNAMIC(COXCustomizeManager)

public:
    COXCustomizeManager();
    ~COXCustomizeManager() override;

    // Puts every registered page that IsPageIncluded accepts into the shortcut bar.
    virtual BOOL PopulateShortcutBar();
    virtual BOOL IsPageIncluded(DWORD /*index*/) const { return TRUE; }
    // Asks every shown page to close (TRUE: OK, FALSE: Cancel), then tears the pages down; FALSE,
    // with that page activated, when a page refuses.
    virtual BOOL CloseManager(BOOL bIsOk);
    // The window that the pages use as the parent of theirs: the dialog itself.
    virtual CWnd* GetManagerWnd() { return this; }
    virtual BOOL AddPageToShortcutBar(COXCustomizePage* pCustomizePage, int nItem);
    virtual BOOL RemovePageFromShortcutBar(COXCustomizePage* pCustomizePage);
    virtual BOOL ActivatePageAt(HSHBGROUP hGroup, int nItem);
    // Asks every registered page to save its state, shown or not.
    virtual BOOL SaveAllPagesState();

    // Each page's set-up (its SetupPage, arguments passed unchanged), the library objects it owns and
    // the page itself, in the order of the page members below.
    virtual BOOL SetupTabbedMDIPage(DWORD dwTabCtrlStyle = TCS_HOTTRACK, DWORD dwOffset = 1,
                                    LPCTSTR lpszProfileName = nullptr, BOOL bAttach = TRUE) {
        return m_tabbedMDIPage.SetupPage(dwTabCtrlStyle, dwOffset, lpszProfileName, bAttach);
    }
    virtual COXTabClientWnd* GetTabClientWnd() { return m_tabbedMDIPage.GetTabClientWnd(); }
    virtual COXCustomizeTabbedMDIPage* GetTabbedMDIPage() { return &m_tabbedMDIPage; }
    virtual BOOL SetupToolbarsPage(BOOL bCoolLook = TRUE, BOOL bShowGripper = TRUE, BOOL bShowTooltips = TRUE,
                                   int nBorderSize = 0, LPCTSTR lpszProfileName = nullptr) {
        return m_toolbarsPage.SetupPage(bCoolLook, bShowGripper, bShowTooltips, nBorderSize, lpszProfileName);
    }
    virtual COXCustomizeToolbarsPage* GetToolbarsPage() { return &m_toolbarsPage; }

    virtual BOOL SetupCommandsPage(UINT nBitmapID, COLORREF clrMask, BOOL bShowIconsInMenu,
                                   BOOL bShowOnlyRecentlyUsed, LPCTSTR lpszProfileName) {
        return m_commandsPage.SetupPage(nBitmapID, clrMask, bShowIconsInMenu, bShowOnlyRecentlyUsed,
                                        lpszProfileName);
    }
    virtual COXCustomizeCommandsPage* GetCommandsPage() { return &m_commandsPage; }
    virtual COXBitmapMenuOrganizer* GetBitmapMenuOrganizer() { return m_commandsPage.GetBitmapMenuOrganizer(); }

    virtual BOOL SetupBackgroundPage(BOOL bPaintBackground = TRUE, BOOL bOnlyClientArea = TRUE,
                                     const COXDIB* pDIB = nullptr, PaintType paintType = Tile,
                                     COLORREF clrBk = ::GetSysColor(COLOR_WINDOW), LPCTSTR lpszProfileName = nullptr) {
        return m_backgroundPage.SetupPage(bPaintBackground, bOnlyClientArea, pDIB, paintType, clrBk, lpszProfileName);
    }
    virtual BOOL SetupBackgroundPageFromFile(BOOL bPaintBackground, BOOL bOnlyClientArea, LPCTSTR lpszFileName,
                                             PaintType paintType, COLORREF clrBk, LPCTSTR lpszProfileName = nullptr) {
        return m_backgroundPage.SetupPageFromFile(bPaintBackground, bOnlyClientArea, lpszFileName, paintType, clrBk,
                                                  lpszProfileName);
    }
    virtual BOOL SetupBackgroundPageFromResourceId(BOOL bPaintBackground, BOOL bOnlyClientArea, UINT nBitmapID,
                                                   PaintType paintType, COLORREF clrBk,
                                                   LPCTSTR lpszProfileName = nullptr) {
        return m_backgroundPage.SetupPage(bPaintBackground, bOnlyClientArea, nBitmapID, paintType, clrBk,
                                          lpszProfileName);
    }
    // The bitmap by its resource name: an integer resource (none for 0) or "#<id>"; FALSE for any other
    // name, which names no bitmap of the program.
    virtual BOOL SetupBackgroundPageFromResource(BOOL bPaintBackground, BOOL bOnlyClientArea,
                                                 LPCTSTR lpszResourceName, PaintType paintType, COLORREF clrBk,
                                                 LPCTSTR lpszProfileName = nullptr);
    virtual COXBackgroundPainterOrganizer* GetBackgroundPainterOrganizer() {
        return m_backgroundPage.GetBackgroundPainterOrganizer();
    }
    virtual COXCustomizeBackgroundPage* GetBackgroundPage() { return &m_backgroundPage; }

    virtual BOOL SetupCoolControlsPage(BOOL bConvertToCool = TRUE, LPCTSTR lpszProfileName = nullptr) {
        return m_coolControlsPage.SetupPage(bConvertToCool, lpszProfileName);
    }
    virtual COXCustomizeCoolControlOrganizer* GetCoolControlOrganizer() {
        return m_coolControlsPage.GetCoolControlOrganizer();
    }
    virtual COXCustomizeCoolControlsPage* GetCoolControlsPage() { return &m_coolControlsPage; }

    virtual BOOL SetupTrayIconPage(HICON hDefaultIcon, UINT nContextMenuID, LPCTSTR lpszTooltipText = nullptr,
                                   BOOL bShowTrayIcon = TRUE, BOOL bUseRightClick = TRUE,
                                   LPCTSTR lpszIconSourceFileName = nullptr, LPCTSTR lpszProfileName = nullptr) {
        return m_trayIconPage.SetupPage(hDefaultIcon, nContextMenuID, lpszTooltipText, bShowTrayIcon,
                                        bUseRightClick, lpszIconSourceFileName, lpszProfileName);
    }
    // The same with the icon loaded from the program's resources: FALSE, nothing set up, when it does
    // not load.
    BOOL SetupTrayIconPage(UINT nDefaultIconID, UINT nContextMenuID, LPCTSTR lpszTooltipText = nullptr,
                           BOOL bShowTrayIcon = TRUE, BOOL bUseRightClick = TRUE,
                           LPCTSTR lpszIconSourceFileName = nullptr, LPCTSTR lpszProfileName = nullptr);
    virtual COXCustomizeTaskbarIcon* GetTaskbarIcon() { return m_trayIconPage.GetTaskbarIcon(); }
    virtual COXCustomizeTrayIconPage* GetTrayIconPage() { return &m_trayIconPage; }

    virtual BOOL SetupInstanceManagerPage(UINT nMaxAllowedInstances = COXInstanceManager::kMaxInstances,
                                          LPCTSTR lpszProfileName = nullptr) {
        return m_instanceManagerPage.SetupPage(nMaxAllowedInstances, lpszProfileName);
    }
    virtual COXInstanceManager* GetInstanceManager() { return m_instanceManagerPage.GetInstanceManager(); }
    // TRUE when more copies run than allowed (with bActivate, another copy is brought forward).
    virtual BOOL CheckMaxAllowedInstances(BOOL bActivate = TRUE) {
        return GetInstanceManager()->ActivateInstance(bActivate);
    }
    virtual COXCustomizeInstanceManagerPage* GetInstanceManagerPage() { return &m_instanceManagerPage; }

    virtual BOOL SetupSplashWindowPage(UINT nBitmapResourceID, BOOL bDisplaySplashWindow = TRUE, int nShowDelay = -1,
                                       BOOL bInterruptable = TRUE, COLORREF clrTransparent = OXSPLASH_KEY_FROM_POINT,
                                       LPPOINT pPoint = nullptr, BYTE nColorTolerance = 0,
                                       LPCTSTR lpszProfileName = nullptr) {
        return m_splashWindowPage.SetupPage(nBitmapResourceID, bDisplaySplashWindow, nShowDelay, bInterruptable,
                                            clrTransparent, pPoint, nColorTolerance, lpszProfileName);
    }
    virtual COXSplashWnd* GetSplashWnd() { return m_splashWindowPage.GetSplashWnd(); }
    virtual COXCustomizeSplashWindowPage* GetSplashWindowPage() { return &m_splashWindowPage; }

    virtual BOOL SetupShortkeysPage(CFrameWnd* pFrameWnd, LPCTSTR lpszProfileName = nullptr) {
        return m_shortkeysPage.SetupPage(pFrameWnd, lpszProfileName);
    }
    virtual COXShortkeysOrganizer* GetShortkeysOrganizer() { return m_shortkeysPage.GetShortkeysOrganizer(); }
    virtual COXCustomizeShortkeysPage* GetShortkeysPage() { return &m_shortkeysPage; }

    BOOL ActivatePage(DWORD index);
    BOOL ActivatePageObject(COXCustomizePage* pCustomizePage);
    BOOL FindPageInShortcutBar(COXCustomizePage* pCustomizePage, HSHBGROUP& hGroup, int& nItem) const;
    COXCustomizePage* GetPageAt(HSHBGROUP hGroup, int nItem) const;
    void CalcPageRect();

    COXCustomizePage* GetActivePage() const { return m_pActivePage; }
    const RECT& GetPageRect() const { return m_rectPage; }
    BOOL IsInitialized() const { return m_bInitialized; }
    COXShortcutBar& GetShortcutBar() { return m_shb; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    COXSeparator m_sepTop;
    COXSeparator m_sepBottom;
    COXShortcutBar m_shb;
    COXStatic m_title;
    HIMAGELIST m_ilShortcutBar = nullptr;
    RECT m_rectPage{0, 0, 0, 0};
    COXCustomizePage* m_pActivePage = nullptr;
    COXLayoutManager m_LayoutManager;
    // Every page under its CustomizePageIndex, filled in the constructor.
    CMap<COXCustomizePage*, COXCustomizePage*, DWORD, DWORD> m_mapPages{10};
    // The pages put into the bar since the window was last initialised: (group << 16) + item.
    CMap<COXCustomizePage*, COXCustomizePage*, DWORD, DWORD> m_mapPageItems{10};
    CMap<COXCustomizePage*, COXCustomizePage*, CString, LPCTSTR> m_mapTooltips{10};
    BOOL m_bInitialized = FALSE;
    CFont m_fontTitle;

    // The pages, in this order, each registered under its index by the constructor: tabbed MDI,
    // toolbars, commands, background painter, cool controls, tray icon, instance manager, splash
    // window, shortkeys. Each page class adds its member here when it joins the library.
    COXCustomizeTabbedMDIPage m_tabbedMDIPage;
    COXCustomizeToolbarsPage m_toolbarsPage;
    COXCustomizeCommandsPage m_commandsPage;
    COXCustomizeBackgroundPage m_backgroundPage;
    COXCustomizeCoolControlsPage m_coolControlsPage;
    COXCustomizeTrayIconPage m_trayIconPage;
    COXCustomizeInstanceManagerPage m_instanceManagerPage;
    COXCustomizeSplashWindowPage m_splashWindowPage;
    COXCustomizeShortkeysPage m_shortkeysPage;

    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnDestroy();
    void OnButtonApply();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnSelectItem(NMHDR* pNotifyStruct, LRESULT* pResult);
    void OnGetItemTip(NMHDR* pNotifyStruct, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
