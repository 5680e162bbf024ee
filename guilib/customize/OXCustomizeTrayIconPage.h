// The customize page of the application's icon in the taskbar's notification area: whether it shows,
// its tooltip, its icon (the default one or one from an icon file) and the mouse button that opens its
// context menu. It owns the taskbar icon.
#pragma once

#include "guilib/controls/OXHistoryCombo.h"
#include "guilib/controls/OXImageListBox.h"
#include "guilib/controls/OXSeparator.h"
#include "guilib/customize/OXCustomizePage.h"
#include "guilib/frame/OXTaskbarIcon.h"
#include "platform/framework/controls/Static.h"
#include "platform/framework/window/Menu.h"

class COXCustomizeTrayIconPage;

// The page's taskbar icon: a button release opens the page's context menu when it is the chosen button.
class COXCustomizeTaskbarIcon : public COXTaskbarIcon {
    DECLARE_DYNAMIC(COXCustomizeTaskbarIcon)
public:
    explicit COXCustomizeTaskbarIcon(COXCustomizeTrayIconPage* pPage = nullptr) : m_pPage(pPage) {}

protected:
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnRButtonUp(UINT nFlags, POINT point);

    COXCustomizeTrayIconPage* m_pPage;
    DECLARE_MESSAGE_MAP()
};

class COXCustomizeTrayIconPage : public COXCustomizePage {
    DECLARE_DYNAMIC(COXCustomizeTrayIconPage)

public:
    COXCustomizeTrayIconPage();
    ~COXCustomizeTrayIconPage() override;

    BOOL OnManagerClose(BOOL bIsOk) override;
    BOOL ApplySettings() override;
    CString GetPageTitle() override;
    UINT GetImageId() override;
    CString GetPageTooltip() override;
    void InitControls() override;
    // The icon is not owned; the menu is loaded from its resource. An empty file name stands for the
    // program's own file.
    virtual BOOL SetupPage(HICON hDefaultIcon, UINT nContextMenuID, LPCTSTR lpszTooltipText = nullptr,
                           BOOL bShowTrayIcon = TRUE, BOOL bUseRightClick = TRUE,
                           LPCTSTR lpszIconSourceFileName = nullptr, LPCTSTR lpszProfileName = nullptr);
    virtual void ShowContextMenu();
    virtual void RemoveTrayIcon();
    virtual void UpdateTrayIcon();

    COXCustomizeTaskbarIcon* GetTaskbarIcon() { return &m_taskbarIcon; }
    // The button that opens the menu: 0 left, 1 right.
    int GetClickChoice() const { return m_nClickChoice; }

    void DoDataExchange(CDataExchange* pDX) override;

    BOOL m_bShowTrayIcon = TRUE;
    CString m_sTooltipText;
    int m_nClickChoice = 1;
    BOOL m_bUseRightClick = TRUE;
    int m_nIconSourceChoice = 0;
    BOOL m_bUseDefaultIcon = TRUE;
    CString m_sIconSourceFileName;
    int m_nIconIndex = -1;

protected:
    // Tracks the context menu's first popup; a test records what would show.
    virtual void TrackContextMenu(CMenu* pPopup, POINT point, CWnd* pOwner);
    void ReadProfile();
    // Fills the icon list from the file and selects its first icon.
    void LoadIconList(const CString& file);
    void SetIconChoiceControls();

    void OnClickChoice();
    void OnDefaultIcon();
    void OnIconFromFile();
    void OnComboSelChange();
    void OnComboEditChange();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    HICON m_hDefaultIcon = nullptr;
    HICON m_hExtractedIcon = nullptr;
    CMenu m_menu;
    COXCustomizeTaskbarIcon m_taskbarIcon;
    CStatic m_staticDefaultIcon;
    COXSeparator m_sepDisplaySettings;
    COXSeparator m_sepIconList;
    COXImageListBox m_listIcons;
    COXHistoryCombo m_comboIconSource;

    DECLARE_MESSAGE_MAP()
};
