#include "guilib/customize/OXCustomizeTrayIconPage.h"

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/skins/MFCToolBar.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "platform/base/Process.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/user/ComboBox.h"
#include "platform/user/Shell.h"
#include "platform/user/Toolbar.h"

IMPLEMENT_DYNAMIC(COXCustomizeTaskbarIcon, COXTaskbarIcon)

BEGIN_MESSAGE_MAP(COXCustomizeTaskbarIcon, COXTaskbarIcon)
ON_WM_LBUTTONUP()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

void COXCustomizeTaskbarIcon::OnLButtonUp(UINT /*nFlags*/, POINT /*point*/) {
    Default();
    if (m_pPage && m_pPage->GetClickChoice() == 0)
        m_pPage->ShowContextMenu();
}

void COXCustomizeTaskbarIcon::OnRButtonUp(UINT /*nFlags*/, POINT /*point*/) {
    Default();
    if (m_pPage && m_pPage->GetClickChoice() == 1)
        m_pPage->ShowContextMenu();
}

IMPLEMENT_DYNAMIC(COXCustomizeTrayIconPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeTrayIconPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_RADIO_LEFT_CLICK, OnClickChoice)
ON_BN_CLICKED(IDC_OX_RADIO_RIGHT_CLICK, OnClickChoice)
ON_BN_CLICKED(IDC_OX_RADIO_DEFAULT_ICON, OnDefaultIcon)
ON_BN_CLICKED(IDC_OX_RADIO_ICON_FROM_FILE, OnIconFromFile)
ON_CONTROL(CBN_SELCHANGE, IDC_OX_COMBO_ICON_SOURCE, OnComboSelChange)
ON_CONTROL(CBN_EDITCHANGE, IDC_OX_COMBO_ICON_SOURCE, OnComboEditChange)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

namespace {
constexpr const char* kTooltip = "TrayIconTooltip";
constexpr const char* kShow = "ShowTrayIcon";
constexpr const char* kRightClick = "UseRightClick";
constexpr const char* kUseDefault = "UseDefaultIcon";
constexpr const char* kFileName = "TrayIconSourceFileName";
constexpr const char* kIndex = "IconIndexFromSourceFile";
// The notification area shows at most this many characters of a tooltip.
constexpr int kMaxTooltip = 127;

CString ModuleFileName() {
    char path[260 + 1] = {};
    ::GetModuleFileName(nullptr, path, 260);
    return CString(path);
}
}  // namespace

COXCustomizeTrayIconPage::COXCustomizeTrayIconPage()
    : m_taskbarIcon(this),
      m_listIcons(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), ILC_COLOR24 | ILC_MASK),
      m_comboIconSource(12, 0, IDR_OX_HISTORY_COMBO_TOOLS) {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_TRAY_ICON;
    m_taskbarIcon.Create();
}

COXCustomizeTrayIconPage::~COXCustomizeTrayIconPage() {
    RemoveTrayIcon();
    m_taskbarIcon.Destroy();
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString COXCustomizeTrayIconPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_TRAY_ICON_TITLE); }
UINT COXCustomizeTrayIconPage::GetImageId() { return IDB_OX_PAGE_TRAY_ICON; }
CString COXCustomizeTrayIconPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_TRAY_ICON_TOOLTIP); }

void COXCustomizeTrayIconPage::ReadProfile() {
    CWinApp* app = AfxGetApp();
    m_sTooltipText = app->GetProfileString(m_sProfileName, kTooltip, m_sTooltipText);
    m_bShowTrayIcon = (BOOL)app->GetProfileInt(m_sProfileName, kShow, m_bShowTrayIcon);
    m_bUseRightClick = (BOOL)app->GetProfileInt(m_sProfileName, kRightClick, m_bUseRightClick);
    m_bUseDefaultIcon = (BOOL)app->GetProfileInt(m_sProfileName, kUseDefault, m_bUseDefaultIcon);
    m_sIconSourceFileName = app->GetProfileString(m_sProfileName, kFileName, m_sIconSourceFileName);
    m_nIconIndex = (int)app->GetProfileInt(m_sProfileName, kIndex, m_nIconIndex);
}

BOOL COXCustomizeTrayIconPage::SetupPage(HICON hDefaultIcon, UINT nContextMenuID, LPCTSTR lpszTooltipText,
                                         BOOL bShowTrayIcon, BOOL bUseRightClick, LPCTSTR lpszIconSourceFileName,
                                         LPCTSTR lpszProfileName) {
    m_hDefaultIcon = hDefaultIcon;
    if (m_menu.m_hMenu)
        m_menu.DestroyMenu();
    m_menu.LoadMenu(nContextMenuID);
    m_sTooltipText = lpszTooltipText ? lpszTooltipText : "";
    m_bShowTrayIcon = bShowTrayIcon;
    m_bUseRightClick = bUseRightClick;
    m_sIconSourceFileName = lpszIconSourceFileName ? lpszIconSourceFileName : "";
    m_bUseDefaultIcon = TRUE;
    m_nIconIndex = -1;
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        ReadProfile();
    }
    if (m_sIconSourceFileName.IsEmpty())
        m_sIconSourceFileName = ModuleFileName();
    // The menu opens on the stored button from the start, not only once the page has been shown.
    m_nClickChoice = m_bUseRightClick ? 1 : 0;
    m_nIconSourceChoice = m_bUseDefaultIcon ? 0 : 1;
    UpdateTrayIcon();
    return TRUE;
}

void COXCustomizeTrayIconPage::UpdateTrayIcon() {
    m_taskbarIcon.SetTooltipText(m_sTooltipText.Left(kMaxTooltip));
    if (m_bShowTrayIcon)
        m_taskbarIcon.Show();
    else
        m_taskbarIcon.Hide();
    if (m_bUseDefaultIcon) {
        m_taskbarIcon.SetIcon(m_hDefaultIcon);
        return;
    }
    HICON previous = m_hExtractedIcon;
    m_hExtractedIcon = nullptr;
    // A negative index names no icon (-1 would ask for the count).
    HICON icon = m_nIconIndex >= 0 ? ::ExtractIcon(nullptr, m_sIconSourceFileName, (UINT)m_nIconIndex) : nullptr;
    if (icon && icon != (HICON)1) {
        m_hExtractedIcon = icon;
        m_taskbarIcon.SetIcon(icon);
    } else {
        m_taskbarIcon.SetIcon(m_hDefaultIcon);
        m_bUseDefaultIcon = TRUE;
        m_nIconSourceChoice = 0;
        m_nIconIndex = -1;
    }
    if (previous)
        ::DestroyIcon(previous);
}

void COXCustomizeTrayIconPage::RemoveTrayIcon() {
    if (m_taskbarIcon.m_hWnd && m_taskbarIcon.IsShowing())
        m_taskbarIcon.Hide();
    if (m_hExtractedIcon) {
        if (m_taskbarIcon.m_hWnd && m_taskbarIcon.GetIcon() == m_hExtractedIcon)
            m_taskbarIcon.SetIcon(m_hDefaultIcon, FALSE);
        ::DestroyIcon(m_hExtractedIcon);
        m_hExtractedIcon = nullptr;
    }
}

void COXCustomizeTrayIconPage::ShowContextMenu() {
    CMenu* popup = m_menu.m_hMenu ? m_menu.GetSubMenu(0) : nullptr;
    if (!popup)
        return;
    CWnd* main = AfxGetMainWnd();
    COXBitmapMenuOrganizer* organizer =
        main && main->m_hWnd ? COXBitmapMenuOrganizer::FindOrganizer(main->m_hWnd) : nullptr;
    BOOL recentOnly = organizer && organizer->GetShowOnlyRecentlyUsed();
    if (recentOnly)
        organizer->SetShowOnlyRecentlyUsed(FALSE);
    if (main && main->m_hWnd)
        ::SetForegroundWindow(main->m_hWnd);
    POINT point{};
    ::GetCursorPos(&point);
    TrackContextMenu(popup, point, main);
    if (recentOnly)
        organizer->SetShowOnlyRecentlyUsed(TRUE);
}

void COXCustomizeTrayIconPage::TrackContextMenu(CMenu* pPopup, POINT point, CWnd* pOwner) {
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, pOwner);
}

void COXCustomizeTrayIconPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_STATIC_DEFAULT_ICON, m_staticDefaultIcon);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DISPLAY_SETTINGS, m_sepDisplaySettings);
    DDX_Control(pDX, IDC_OX_SEPARATOR_ICON_LIST, m_sepIconList);
    DDX_Control(pDX, IDC_OX_LIST_ICONS, m_listIcons);
    DDX_Control(pDX, IDC_OX_COMBO_ICON_SOURCE, m_comboIconSource);
    DDX_Check(pDX, IDC_OX_CHECK_SHOW_TRAY_ICON, m_bShowTrayIcon);
    DDX_Radio(pDX, IDC_OX_RADIO_LEFT_CLICK, m_nClickChoice);
    DDX_Text(pDX, IDC_OX_EDIT_TOOLTIP, m_sTooltipText);
    DDX_Radio(pDX, IDC_OX_RADIO_DEFAULT_ICON, m_nIconSourceChoice);
    DDX_Text(pDX, IDC_OX_COMBO_ICON_SOURCE, m_sIconSourceFileName);
}

void COXCustomizeTrayIconPage::InitControls() {
    COXCustomizePage::InitControls();
    m_comboIconSource.SetAutoPersistent("CustomizeTrayIcon_IconSourceFileName");
    for (int button = 4; button <= 9; ++button)
        m_comboIconSource.ShowButton(button, FALSE);
    if (CMFCToolBar* bar = m_comboIconSource.GetToolbar(); bar && bar->m_hWnd)
        bar->GetToolBarCtrl().ModifyStyle(0, TBSTYLE_FLAT);
    m_comboIconSource.RefreshToolbar();

    m_nClickChoice = m_bUseRightClick ? 1 : 0;
    m_nIconSourceChoice = m_bUseDefaultIcon ? 0 : 1;
    m_staticDefaultIcon.SetIcon(m_hDefaultIcon);

    for (int id : {IDC_OX_SEPARATOR_DISPLAY_SETTINGS, IDC_OX_SEPARATOR_ICON_LIST, IDC_OX_EDIT_TOOLTIP,
                   IDC_OX_COMBO_ICON_SOURCE}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_LEFT, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }
    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_LIST_ICONS, side, OX_LMT_SAME);

    m_bInitialized = TRUE;
    UpdateData(FALSE);
    SetIconChoiceControls();
    if (m_comboIconSource.GetCurSel() >= 0) {
        CString file;
        m_comboIconSource.GetLBText(m_comboIconSource.GetCurSel(), file);
        LoadIconList(file);
    } else if (!m_bUseDefaultIcon) {
        LoadIconList(m_sIconSourceFileName);
    }
    if (m_nIconIndex >= 0)
        m_listIcons.SetCurSel(m_nIconIndex);
}

void COXCustomizeTrayIconPage::SetIconChoiceControls() {
    BOOL fromFile = !m_bUseDefaultIcon;
    m_listIcons.EnableWindow(fromFile);
    m_comboIconSource.EnableWindow(fromFile);
}

void COXCustomizeTrayIconPage::LoadIconList(const CString& file) {
    m_listIcons.LoadImagesFromFile(file.IsEmpty() ? nullptr : (LPCTSTR)file, TRUE);
    if (m_listIcons.GetCount() > 0)
        m_listIcons.SetCurSel(0);
}

BOOL COXCustomizeTrayIconPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        if (!UpdateData(TRUE))
            return FALSE;
        m_nIconIndex = m_listIcons.GetCurSel();
    }
    m_bUseRightClick = m_nClickChoice == 1;
    m_bUseDefaultIcon = m_nIconSourceChoice == 0;
    UpdateTrayIcon();
    return TRUE;
}

BOOL COXCustomizeTrayIconPage::OnManagerClose(BOOL bIsOk) {
    if (bIsOk) {
        if (!ApplySettings())
            return FALSE;
        if (!m_sProfileName.IsEmpty()) {
            CWinApp* app = AfxGetApp();
            app->WriteProfileString(m_sProfileName, kTooltip, m_sTooltipText);
            app->WriteProfileInt(m_sProfileName, kShow, m_bShowTrayIcon);
            app->WriteProfileInt(m_sProfileName, kRightClick, m_bUseRightClick);
            app->WriteProfileInt(m_sProfileName, kUseDefault, m_bUseDefaultIcon);
            app->WriteProfileString(m_sProfileName, kFileName, m_sIconSourceFileName);
            app->WriteProfileInt(m_sProfileName, kIndex, m_nIconIndex);
        }
        return TRUE;
    }
    if (!m_sProfileName.IsEmpty()) {
        ReadProfile();
        if (m_sIconSourceFileName.IsEmpty())
            m_sIconSourceFileName = ModuleFileName();
        m_nClickChoice = m_bUseRightClick ? 1 : 0;
        m_nIconSourceChoice = m_bUseDefaultIcon ? 0 : 1;
        UpdateTrayIcon();
    }
    return TRUE;
}

void COXCustomizeTrayIconPage::OnClickChoice() {
    if (!m_bInitialized)
        return;
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_OX_RADIO_LEFT_CLICK, m_nClickChoice);
}

void COXCustomizeTrayIconPage::OnDefaultIcon() {
    if (!m_bInitialized)
        return;
    UpdateData(TRUE);
    m_listIcons.EnableWindow(FALSE);
    m_comboIconSource.EnableWindow(FALSE);
    m_sIconSourceFileName.Empty();
    m_bUseDefaultIcon = TRUE;
    UpdateData(FALSE);
}

void COXCustomizeTrayIconPage::OnIconFromFile() {
    if (!m_bInitialized)
        return;
    m_listIcons.EnableWindow(TRUE);
    m_comboIconSource.EnableWindow(TRUE);
    m_comboIconSource.RefreshToolbar();
}

void COXCustomizeTrayIconPage::OnComboSelChange() {
    if (!m_bInitialized)
        return;
    int sel = m_comboIconSource.GetCurSel();
    if (sel < 0)
        return;
    m_comboIconSource.GetLBText(sel, m_sIconSourceFileName);
    LoadIconList(m_sIconSourceFileName);
}

void COXCustomizeTrayIconPage::OnComboEditChange() {
    if (!m_bInitialized)
        return;
    CDataExchange dx(this, TRUE);
    DDX_Text(&dx, IDC_OX_COMBO_ICON_SOURCE, m_sIconSourceFileName);
    LoadIconList(m_sIconSourceFileName);
}

LRESULT COXCustomizeTrayIconPage::OnKickIdle(WPARAM /*wParam*/, LPARAM lParam) {
    if (m_comboIconSource.m_hWnd)
        m_comboIconSource.OnIdleUpdate((LONG)lParam);
    return 0;
}
