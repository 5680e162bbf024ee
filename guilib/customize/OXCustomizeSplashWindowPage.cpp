#include "guilib/customize/OXCustomizeSplashWindowPage.h"

#include "guilib/controls/OXLibraryResources.h"
#include "guilib/customize/OXCustomizePageControls.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/framework/window/DataExchange.h"

IMPLEMENT_DYNAMIC(COXCustomizeSplashWindowPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeSplashWindowPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_RADIO_SHOW_FOR, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_SHOW_INFINITELY, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_DEFAULT_IMAGE, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_IMAGE_FILE, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_COLOR, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_NO_COLOR, OnChoice)
ON_BN_CLICKED(IDC_OX_RADIO_COLOR_AT_POINT, OnChoice)
ON_BN_CLICKED(IDC_OX_BUTTON_PREVIEW, OnPreview)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

namespace {
constexpr const char* kDisplay = "DisplaySplashWindow";
constexpr const char* kInterruptable = "SplashWindow_Interruptable";
constexpr const char* kShowDelay = "SplashWindowShowDelay";
constexpr const char* kPointX = "TransparentColorPoint_CoordX";
constexpr const char* kPointY = "TransparentColorPoint_CoordY";
constexpr const char* kColorType = "TransparentColorType";
constexpr const char* kUseDefault = "UseDefaultImage";
constexpr const char* kInfinitely = "SplashWindowShowInfinitely";
constexpr const char* kFileName = "SplashImageFileName";
constexpr const char* kColor = "TransparentColor";
constexpr const char* kTolerance = "ColorTolerance";
}  // namespace

COXCustomizeSplashWindowPage::COXCustomizeSplashWindowPage()
    : m_clrTransparent(::GetSysColor(COLOR_WINDOW)),
      m_comboImageFile(IDS_OX_BMPFILEFILTER),
      m_btnColor(40, 4, 0xFFFFFFFF, 18, 18) {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_SPLASH_WINDOW;
    m_btnColor.GetColorPickerCtrl()->SetDefaultButtonText("Default");
    m_btnColor.GetColorPickerCtrl()->SetCustomButtonText("Custom...");
}

COXCustomizeSplashWindowPage::~COXCustomizeSplashWindowPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString COXCustomizeSplashWindowPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_SPLASH_WINDOW_TITLE); }
UINT COXCustomizeSplashWindowPage::GetImageId() { return IDB_OX_PAGE_SPLASH_WINDOW; }
CString COXCustomizeSplashWindowPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_SPLASH_WINDOW_TOOLTIP); }

COLORREF COXCustomizeSplashWindowPage::GetTransparentColorForSplash() const {
    return m_nTransparentColorType == 0   ? m_clrTransparent
           : m_nTransparentColorType == 1 ? OXSPLASH_KEY_NONE
                                          : OXSPLASH_KEY_FROM_POINT;
}

BOOL COXCustomizeSplashWindowPage::SetupPage(UINT nBitmapResourceID, BOOL bDisplaySplashWindow, int nShowDelay,
                                             BOOL bInterruptable, COLORREF clrTransparent, LPPOINT pPoint,
                                             BYTE nColorTolerance, LPCTSTR lpszProfileName) {
    m_nDefaultImageResourceID = nBitmapResourceID;
    m_bDisplaySplashWindow = bDisplaySplashWindow;
    m_bShowInfinitely = nShowDelay == -1;
    m_nShowDelay = nShowDelay < 0 ? 0 : nShowDelay;
    m_bInterruptable = bInterruptable;
    m_nPointX = pPoint ? pPoint->x : 0;
    m_nPointY = pPoint ? pPoint->y : 0;
    if (clrTransparent == OXSPLASH_KEY_FROM_POINT) {
        m_nTransparentColorType = 2;
    } else if (clrTransparent == OXSPLASH_KEY_NONE) {
        m_nTransparentColorType = 1;
    } else {
        m_nTransparentColorType = 0;
        m_clrTransparent = clrTransparent;
    }
    m_nColorTolerance = nColorTolerance;
    m_bUseDefaultImage = TRUE;
    m_sImageFileName.Empty();

    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        CWinApp* app = AfxGetApp();
        m_bDisplaySplashWindow = (BOOL)app->GetProfileInt(m_sProfileName, kDisplay, m_bDisplaySplashWindow);
        m_bInterruptable = (BOOL)app->GetProfileInt(m_sProfileName, kInterruptable, m_bInterruptable);
        m_nShowDelay = (int)app->GetProfileInt(m_sProfileName, kShowDelay, m_nShowDelay);
        m_nPointX = (int)app->GetProfileInt(m_sProfileName, kPointX, m_nPointX);
        m_nPointY = (int)app->GetProfileInt(m_sProfileName, kPointY, m_nPointY);
        m_nTransparentColorType = (int)app->GetProfileInt(m_sProfileName, kColorType, m_nTransparentColorType);
        m_bUseDefaultImage = (BOOL)app->GetProfileInt(m_sProfileName, kUseDefault, m_bUseDefaultImage);
        m_bShowInfinitely = (BOOL)app->GetProfileInt(m_sProfileName, kInfinitely, m_bShowInfinitely);
        m_sImageFileName = app->GetProfileString(m_sProfileName, kFileName, m_sImageFileName);
        m_clrTransparent = (COLORREF)app->GetProfileInt(m_sProfileName, kColor, (int)m_clrTransparent);
        m_nColorTolerance = app->GetProfileInt(m_sProfileName, kTolerance, (int)m_nColorTolerance);
    }
    m_nImageSourceChoice = m_bUseDefaultImage ? 0 : 1;
    m_nDisplayTimeChoice = m_bShowInfinitely ? 1 : 0;
    if (m_bDisplaySplashWindow)
        ShowSplashWindow(m_splashWnd, FALSE);
    return TRUE;
}

BOOL COXCustomizeSplashWindowPage::ShowSplashWindow(COXSplashWnd& splash, BOOL bPreview) {
    POINT point{m_nPointX, m_nPointY};
    BYTE tolerance = (BYTE)(m_nColorTolerance > 255 ? 255 : m_nColorTolerance);
    COLORREF key = GetTransparentColorForSplash();
    BOOL loaded = m_nImageSourceChoice == 1
                      ? splash.LoadBitmapFile(m_sImageFileName, key, &point, tolerance)
                      : splash.LoadBitmap(m_nDefaultImageResourceID, key, &point, tolerance);
    if (!loaded)
        return FALSE;
    splash.SetUserCancel(m_bInterruptable || bPreview);
    return splash.Show(m_nDisplayTimeChoice == 1 ? -1 : m_nShowDelay);
}

void COXCustomizeSplashWindowPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_SPIN_SHOW_DELAY, m_spinShowDelay);
    DDX_Control(pDX, IDC_OX_SPIN_TOLERANCE, m_spinTolerance);
    DDX_Control(pDX, IDC_OX_COMBO_IMAGE_FILE, m_comboImageFile);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DISPLAY_SETTINGS, m_sepDisplaySettings);
    DDX_Control(pDX, IDC_OX_SEPARATOR_TRANSPARENT_COLOR, m_sepTransparentColor);
    DDX_Control(pDX, IDC_OX_SEPARATOR_IMAGE_FILE, m_sepImageFile);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DEFAULT_IMAGE, m_sepDefaultImage);
    DDX_Control(pDX, IDC_OX_BUTTON_COLOR, m_btnColor);
    DDX_Check(pDX, IDC_OX_CHECK_DISPLAY_SPLASH, m_bDisplaySplashWindow);
    DDX_Check(pDX, IDC_OX_CHECK_INTERRUPTABLE, m_bInterruptable);
    DDX_Radio(pDX, IDC_OX_RADIO_SHOW_FOR, m_nDisplayTimeChoice);
    DDX_Text(pDX, IDC_OX_EDIT_SHOW_DELAY, m_nShowDelay);
    DDX_Radio(pDX, IDC_OX_RADIO_DEFAULT_IMAGE, m_nImageSourceChoice);
    DDX_Text(pDX, IDC_OX_COMBO_IMAGE_FILE, m_sImageFileName);
    DDX_Radio(pDX, IDC_OX_RADIO_COLOR, m_nTransparentColorType);
    DDX_ColorPicker(pDX, IDC_OX_BUTTON_COLOR, m_clrTransparent);
    DDX_Text(pDX, IDC_OX_EDIT_POINT_X, m_nPointX);
    DDX_Text(pDX, IDC_OX_EDIT_POINT_Y, m_nPointY);
    DDX_Text(pDX, IDC_OX_EDIT_TOLERANCE, m_nColorTolerance);
    DDV_MinMaxUInt(pDX, m_nColorTolerance, 0, 255);
}

void COXCustomizeSplashWindowPage::InitControls() {
    COXCustomizePage::InitControls();
    OXInitPageFilePicker(m_comboImageFile, "CustomizeSplashWindow_ImageFileName");
    OXInitPageColorPicker(m_btnColor);

    m_nImageSourceChoice = m_bUseDefaultImage ? 0 : 1;
    m_nDisplayTimeChoice = m_bShowInfinitely ? 1 : 0;
    m_spinShowDelay.SetRange(0, 32000);
    m_spinTolerance.SetRange(0, 255);

    for (int id : {IDC_OX_SEPARATOR_DISPLAY_SETTINGS, IDC_OX_SEPARATOR_TRANSPARENT_COLOR, IDC_OX_SEPARATOR_IMAGE_FILE,
                   IDC_OX_SEPARATOR_DEFAULT_IMAGE, IDC_OX_COMBO_IMAGE_FILE}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_LEFT, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }
    m_LayoutManager.ConstrainChild(IDC_OX_BUTTON_PREVIEW, OX_LMS_RIGHT, OX_LMT_SAME);

    m_bInitialized = TRUE;
    UpdateData(FALSE);
    UpdateEnabledStates();
}

void COXCustomizeSplashWindowPage::UpdateEnabledStates() {
    if (!m_bInitialized)
        return;
    auto enable = [this](int id, bool on) {
        if (HWND h = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(h, on);
    };
    enable(IDC_OX_EDIT_SHOW_DELAY, m_nDisplayTimeChoice == 0);
    enable(IDC_OX_SPIN_SHOW_DELAY, m_nDisplayTimeChoice == 0);
    enable(IDC_OX_COMBO_IMAGE_FILE, m_nImageSourceChoice == 1);
    m_comboImageFile.RefreshToolbar();
    enable(IDC_OX_BUTTON_COLOR, m_nTransparentColorType == 0);
    enable(IDC_OX_EDIT_POINT_X, m_nTransparentColorType == 2);
    enable(IDC_OX_EDIT_POINT_Y, m_nTransparentColorType == 2);
    enable(IDC_OX_EDIT_TOLERANCE, m_nTransparentColorType != 1);
    enable(IDC_OX_SPIN_TOLERANCE, m_nTransparentColorType != 1);
}

void COXCustomizeSplashWindowPage::OnChoice() {
    if (!m_bInitialized)
        return;
    // The choices alone: numbers being typed are checked by OK.
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_OX_RADIO_SHOW_FOR, m_nDisplayTimeChoice);
    DDX_Radio(&dx, IDC_OX_RADIO_DEFAULT_IMAGE, m_nImageSourceChoice);
    DDX_Radio(&dx, IDC_OX_RADIO_COLOR, m_nTransparentColorType);
    if (m_nImageSourceChoice == 0) {
        m_sImageFileName.Empty();
        CDataExchange fill(this, FALSE);
        DDX_Text(&fill, IDC_OX_COMBO_IMAGE_FILE, m_sImageFileName);
    }
    UpdateEnabledStates();
}

BOOL COXCustomizeSplashWindowPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    m_bUseDefaultImage = m_nImageSourceChoice == 0;
    m_bShowInfinitely = m_nDisplayTimeChoice == 1;
    return TRUE;
}

void COXCustomizeSplashWindowPage::OnPreview() {
    if (!ApplySettings())
        return;
    ShowSplashWindow(m_splashWndPreview, TRUE);
}

BOOL COXCustomizeSplashWindowPage::OnManagerClose(BOOL bIsOk) {
    if (!bIsOk)
        return TRUE;
    if (!ApplySettings())
        return FALSE;
    if (!m_sProfileName.IsEmpty()) {
        CWinApp* app = AfxGetApp();
        app->WriteProfileInt(m_sProfileName, kDisplay, m_bDisplaySplashWindow);
        app->WriteProfileInt(m_sProfileName, kInterruptable, m_bInterruptable);
        app->WriteProfileInt(m_sProfileName, kShowDelay, m_nShowDelay);
        app->WriteProfileInt(m_sProfileName, kPointX, m_nPointX);
        app->WriteProfileInt(m_sProfileName, kPointY, m_nPointY);
        app->WriteProfileInt(m_sProfileName, kColorType, m_nTransparentColorType);
        app->WriteProfileInt(m_sProfileName, kUseDefault, m_bUseDefaultImage);
        app->WriteProfileInt(m_sProfileName, kInfinitely, m_bShowInfinitely);
        app->WriteProfileString(m_sProfileName, kFileName, m_sImageFileName);
        app->WriteProfileInt(m_sProfileName, kColor, (int)m_clrTransparent);
        app->WriteProfileInt(m_sProfileName, kTolerance, (int)m_nColorTolerance);
    }
    return TRUE;
}

LRESULT COXCustomizeSplashWindowPage::OnKickIdle(WPARAM /*wParam*/, LPARAM lParam) {
    if (m_comboImageFile.m_hWnd)
        m_comboImageFile.OnIdleUpdate((LONG)lParam);
    return 0;
}
