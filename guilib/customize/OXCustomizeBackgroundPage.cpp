#include "guilib/customize/OXCustomizeBackgroundPage.h"

#include "guilib/controls/OXPopupBarCtrl.h"
#include "guilib/customize/OXCustomizePageControls.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/framework/window/DataExchange.h"

IMPLEMENT_DYNAMIC(COXCustomizeBackgroundPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeBackgroundPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_CHECK_PAINT_BACKGROUND, OnPaintBackground)
ON_BN_CLICKED(26121, OnPaintType)
ON_BN_CLICKED(26122, OnPaintType)
ON_BN_CLICKED(26123, OnPaintType)
ON_BN_CLICKED(26124, OnPaintType)
ON_BN_CLICKED(26125, OnPaintType)
ON_BN_CLICKED(26126, OnPaintType)
ON_BN_CLICKED(26127, OnPaintType)
ON_BN_CLICKED(26128, OnPaintType)
ON_BN_CLICKED(26129, OnPaintType)
ON_BN_CLICKED(26130, OnPaintType)
ON_BN_CLICKED(26131, OnPaintType)
ON_BN_CLICKED(IDC_OX_RADIO_BACKGROUND_DEFAULT_IMAGE, OnDefaultImage)
ON_BN_CLICKED(IDC_OX_RADIO_BACKGROUND_IMAGE_FILE, OnImageFile)
ON_CONTROL(CBN_EDITCHANGE, IDC_OX_COMBO_BACKGROUND_FILE, OnFileEditChange)
ON_CONTROL(CBN_SELCHANGE, IDC_OX_COMBO_BACKGROUND_FILE, OnFileSelChange)
ON_MESSAGE(WM_POPUPBAR_PICKED, OnColorPicked)
ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

namespace {
constexpr const char* kPaintBackground = "PaintBackground";
constexpr const char* kOnlyClientArea = "OnlyClientArea";
constexpr const char* kPaintType = "PaintType";
constexpr const char* kBackgroundColor = "BackgroundColor";
constexpr const char* kUseDefaultImage = "UseDefaultImage";
constexpr const char* kImageFileName = "ImageFileName";

PaintType ToPaintType(int value) { return value >= Tile && value <= BottomRight ? (PaintType)value : Tile; }
}  // namespace

COXCustomizeBackgroundPage::COXCustomizeBackgroundPage()
    : m_clrBk(::GetSysColor(COLOR_WINDOW)),
      m_comboImageFile(IDS_OX_BACKGROUND_FILE_FILTER),
      m_btnColor(40, 4, 0xFFFFFFFF, 18, 18) {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_BACKGROUND_PAINTER;
    m_btnColor.GetColorPickerCtrl()->SetDefaultButtonText(AfxLoadString(IDS_OX_BACKGROUND_COLOR_DEFAULT));
    m_btnColor.GetColorPickerCtrl()->SetCustomButtonText(AfxLoadString(IDS_OX_BACKGROUND_COLOR_CUSTOM));
}

COXCustomizeBackgroundPage::~COXCustomizeBackgroundPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_pMDIClientWrapper && m_pMDIClientWrapper->m_hWnd)
        m_pMDIClientWrapper->Detach();
}

CString COXCustomizeBackgroundPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_BACKGROUND_PAINTER_TITLE); }
UINT COXCustomizeBackgroundPage::GetImageId() { return IDB_OX_PAGE_BACKGROUND_PAINTER; }
CString COXCustomizeBackgroundPage::GetPageTooltip() {
    return AfxLoadString(IDS_OX_PAGE_BACKGROUND_PAINTER_TOOLTIP);
}

void COXCustomizeBackgroundPage::ReadProfile() {
    CWinApp* app = AfxGetApp();
    m_bPaintBackground = (BOOL)app->GetProfileInt(m_sProfileName, kPaintBackground, m_bPaintBackground);
    m_bOnlyClientArea = (BOOL)app->GetProfileInt(m_sProfileName, kOnlyClientArea, m_bOnlyClientArea);
    m_sImageFileName = app->GetProfileString(m_sProfileName, kImageFileName, m_sImageFileName);
    m_nPaintType = (int)app->GetProfileInt(m_sProfileName, kPaintType, m_nPaintType);
    m_clrBk = (COLORREF)app->GetProfileInt(m_sProfileName, kBackgroundColor, (int)m_clrBk);
    m_bUseDefaultImage = (BOOL)app->GetProfileInt(m_sProfileName, kUseDefaultImage, m_bUseDefaultImage);
    m_nImageSourceChoice = m_bUseDefaultImage ? 0 : 1;
}

BOOL COXCustomizeBackgroundPage::SetupPage(BOOL bPaintBackground, BOOL bOnlyClientArea, const COXDIB* pDIB,
                                           PaintType paintType, COLORREF clrBk, LPCTSTR lpszProfileName) {
    m_bPaintBackground = bPaintBackground;
    m_bOnlyClientArea = bOnlyClientArea;
    m_nPaintType = paintType;
    m_clrBk = clrBk;
    m_bUseDefaultImage = TRUE;
    m_nImageSourceChoice = 0;
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        ReadProfile();
    }
    if (pDIB)
        m_dibDefault = *pDIB;
    else
        m_dibDefault.Empty();
    ApplyToApplication();
    return TRUE;
}

BOOL COXCustomizeBackgroundPage::SetupPage(BOOL bPaintBackground, BOOL bOnlyClientArea, UINT nBitmapResourceID,
                                           PaintType paintType, COLORREF clrBk, LPCTSTR lpszProfileName) {
    COXDIB dib;
    if (nBitmapResourceID != 0 && !dib.LoadResource(MAKEINTRESOURCE(nBitmapResourceID)))
        return FALSE;
    return SetupPage(bPaintBackground, bOnlyClientArea, dib.IsEmpty() ? nullptr : &dib, paintType, clrBk,
                     lpszProfileName);
}

BOOL COXCustomizeBackgroundPage::SetupPageFromFile(BOOL bPaintBackground, BOOL bOnlyClientArea,
                                                   LPCTSTR lpszFileName, PaintType paintType, COLORREF clrBk,
                                                   LPCTSTR lpszProfileName) {
    COXDIB dib;
    const bool named = lpszFileName && *lpszFileName;
    if (named && !dib.Read(lpszFileName))
        return FALSE;
    m_sImageFileName = named ? lpszFileName : "";
    return SetupPage(bPaintBackground, bOnlyClientArea, named ? &dib : nullptr, paintType, clrBk, lpszProfileName);
}

HWND COXCustomizeBackgroundPage::GetMDIClient() const {
    auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    return frame && ::IsWindow(frame->m_hWndMDIClient) ? frame->m_hWndMDIClient : nullptr;
}

void COXCustomizeBackgroundPage::ReplaceMDIClientWrapper() {
    if (m_pMDIClientWrapper && m_pMDIClientWrapper->m_hWnd)
        m_pMDIClientWrapper->Detach();
    m_pMDIClientWrapper = std::make_unique<COXHelperWnd>();
}

void COXCustomizeBackgroundPage::ApplyToApplication() {
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        ::RedrawWindow(main->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);

    const PaintType paintType = ToPaintType(m_nPaintType);
    const COXDIB* image = &m_dibDefault;
    POSITION pos = nullptr;
    if (!m_bUseDefaultImage)
        if (COXBackgroundPainter* first = m_backgroundOrganizer.GetFirstPainter(pos))
            image = &first->GetWallpaper();
    // The painters are about to change: the image is copied out of them first.
    const COXDIB dib = *image;
    const HWND preview = m_preview.GetSafeHwnd();
    const HWND client = GetMDIClient();

    if (!m_bPaintBackground) {
        if (m_backgroundOrganizer.IsAttachedToThread())
            m_backgroundOrganizer.DetachFromThread();
        else
            m_backgroundOrganizer.Detach(nullptr);
        // The preview shows what painting would look like.
        if (preview)
            m_backgroundOrganizer.Attach(preview, &dib, paintType, m_clrBk);
        return;
    }

    if (m_bOnlyClientArea) {
        if (m_backgroundOrganizer.IsAttachedToThread()) {
            m_backgroundOrganizer.DetachFromThread();
            if (preview)
                m_backgroundOrganizer.Attach(preview, &dib, paintType, m_clrBk);
            if (client)
                m_backgroundOrganizer.Attach(client, &dib, paintType, m_clrBk);
        } else {
            ReplaceMDIClientWrapper();
            if (client) {
                if (!CWnd::FromHandlePermanent(client))
                    m_pMDIClientWrapper->Attach(client);
                if (!m_backgroundOrganizer.IsWindowAttached(client))
                    m_backgroundOrganizer.Attach(client, &dib, paintType, m_clrBk);
            }
        }
    } else if (!m_backgroundOrganizer.IsAttachedToThread()) {
        if (client && m_backgroundOrganizer.IsWindowAttached(client))
            m_backgroundOrganizer.Detach(client);
        if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
            m_backgroundOrganizer.AttachToThread(frame, &dib, paintType, m_clrBk);
    } else {
        ReplaceMDIClientWrapper();
        if (client && !CWnd::FromHandlePermanent(client) && !m_backgroundOrganizer.IsWindowAttached(client))
            m_pMDIClientWrapper->Attach(client);
    }

    if (preview)
        m_backgroundOrganizer.SetOriginWnd(preview, nullptr, TRUE);
    if (!m_sImageFileName.IsEmpty() && !m_bUseDefaultImage) {
        // A file that cannot be read leaves the painters without an image.
        COXDIB fromFile;
        fromFile.Read(m_sImageFileName);
        m_backgroundOrganizer.SetWallpaper(nullptr, &fromFile, FALSE);
    } else {
        m_backgroundOrganizer.SetWallpaper(nullptr, &m_dibDefault, FALSE);
    }
    m_backgroundOrganizer.SetBkColor(nullptr, m_clrBk, FALSE);
    m_backgroundOrganizer.SetPaintType(nullptr, paintType, TRUE);
}

void COXCustomizeBackgroundPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_SEPARATOR_PREVIEW, m_sepPreview);
    DDX_Control(pDX, IDC_OX_SEPARATOR_PAINT_TYPE, m_sepPaintType);
    DDX_Control(pDX, IDC_OX_COMBO_BACKGROUND_FILE, m_comboImageFile);
    DDX_Control(pDX, IDC_OX_COLOR_BACKGROUND, m_btnColor);
    DDX_Check(pDX, IDC_OX_CHECK_PAINT_BACKGROUND, m_bPaintBackground);
    DDX_Check(pDX, IDC_OX_CHECK_ONLY_CLIENT_AREA, m_bOnlyClientArea);
    DDX_Radio(pDX, IDC_OX_RADIO_TILE, m_nPaintType);
    DDX_Text(pDX, IDC_OX_COMBO_BACKGROUND_FILE, m_sImageFileName);
    DDX_Radio(pDX, IDC_OX_RADIO_BACKGROUND_DEFAULT_IMAGE, m_nImageSourceChoice);
    DDX_ColorPicker(pDX, IDC_OX_COLOR_BACKGROUND, m_clrBk);
}

void COXCustomizeBackgroundPage::InitControls() {
    COXCustomizePage::InitControls();
    OXInitPageFilePicker(m_comboImageFile, "CustomizeBackgroundPainter_ImageFileName");
    OXInitPageColorPicker(m_btnColor);

    // The preview: a plain window of its own in the placeholder's place.
    if (HWND placeholder = ::GetDlgItem(m_hWnd, IDC_OX_PREVIEW)) {
        RECT rect{};
        ::GetWindowRect(placeholder, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&rect, 2);
        ::DestroyWindow(placeholder);
        if (m_preview.m_hWnd)
            m_preview.DestroyWindow();
        m_preview.CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this, IDC_OX_PREVIEW);
    }
    if (m_preview.m_hWnd) {
        const PaintType paintType = ToPaintType(m_nPaintType);
        m_backgroundOrganizer.Detach(m_preview.m_hWnd, FALSE);
        if (m_sImageFileName.IsEmpty() || m_bUseDefaultImage) {
            m_backgroundOrganizer.Attach(m_preview.m_hWnd, &m_dibDefault, paintType, m_clrBk);
        } else {
            COXDIB fromFile;
            fromFile.Read(m_sImageFileName);
            m_backgroundOrganizer.Attach(m_preview.m_hWnd, &fromFile, paintType, m_clrBk);
        }
        ::RedrawWindow(m_preview.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    }

    m_nImageSourceChoice = m_bUseDefaultImage ? 0 : 1;

    for (int id : {IDC_OX_SEPARATOR_PAINT_TYPE, IDC_OX_SEPARATOR_PREVIEW, IDC_OX_COMBO_BACKGROUND_FILE,
                   IDC_OX_GROUP_PAINT_TYPE}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_LEFT, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }
    for (int id : {26122, 26125, 26128, 26131, IDC_OX_STATIC_BACKGROUND_COLOR, IDC_OX_COLOR_BACKGROUND})
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_PREVIEW, side, OX_LMT_SAME);

    if (m_bUseDefaultImage)
        m_sImageFileName.Empty();
    UpdateData(FALSE);
    m_bInitialized = TRUE;
    UpdateEnabledStates();
}

void COXCustomizeBackgroundPage::UpdateEnabledStates() {
    if (!m_bInitialized)
        return;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id == IDC_OX_CHECK_PAINT_BACKGROUND || id == IDC_OX_COMBO_BACKGROUND_FILE || ::GetParent(child) != m_hWnd)
            continue;
        ::EnableWindow(child, m_bPaintBackground);
    }
    m_comboImageFile.EnableWindow(m_bPaintBackground && !m_bUseDefaultImage);
    m_comboImageFile.RefreshToolbar();
}

BOOL COXCustomizeBackgroundPage::ReadForPreview() {
    if (!m_bInitialized)
        return FALSE;
    return UpdateData(TRUE);
}

void COXCustomizeBackgroundPage::SetPreviewImageFile() {
    if (m_preview.m_hWnd)
        m_backgroundOrganizer.SetWallpaperFile(m_preview.m_hWnd, m_sImageFileName, TRUE);
}

void COXCustomizeBackgroundPage::OnPaintBackground() {
    if (!m_bInitialized)
        return;
    UpdateData(TRUE);
    UpdateEnabledStates();
}

void COXCustomizeBackgroundPage::OnPaintType() {
    if (ReadForPreview() && m_preview.m_hWnd)
        m_backgroundOrganizer.SetPaintType(m_preview.m_hWnd, ToPaintType(m_nPaintType), TRUE);
}

LRESULT COXCustomizeBackgroundPage::OnColorPicked(WPARAM /*wParam*/, LPARAM lParam) {
    if ((HWND)lParam == m_btnColor.m_hWnd && ReadForPreview() && m_preview.m_hWnd)
        m_backgroundOrganizer.SetBkColor(m_preview.m_hWnd, m_clrBk, TRUE);
    return 0;
}

void COXCustomizeBackgroundPage::OnFileEditChange() {
    if (ReadForPreview())
        SetPreviewImageFile();
}

void COXCustomizeBackgroundPage::OnFileSelChange() {
    if (!ReadForPreview())
        return;
    const int selected = m_comboImageFile.GetCurSel();
    if (selected >= 0)
        m_comboImageFile.GetLBText(selected, m_sImageFileName);
    SetPreviewImageFile();
}

void COXCustomizeBackgroundPage::OnDefaultImage() {
    if (!ReadForPreview())
        return;
    m_comboImageFile.EnableWindow(FALSE);
    m_bUseDefaultImage = TRUE;
    if (m_preview.m_hWnd)
        m_backgroundOrganizer.SetWallpaper(m_preview.m_hWnd, &m_dibDefault, TRUE);
    m_sImageFileName.Empty();
    CDataExchange fill(this, FALSE);
    DDX_Text(&fill, IDC_OX_COMBO_BACKGROUND_FILE, m_sImageFileName);
}

void COXCustomizeBackgroundPage::OnImageFile() {
    if (!ReadForPreview())
        return;
    m_comboImageFile.EnableWindow(TRUE);
    m_comboImageFile.RefreshToolbar();
    m_bUseDefaultImage = FALSE;
    SetPreviewImageFile();
}

BOOL COXCustomizeBackgroundPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    m_bUseDefaultImage = m_nImageSourceChoice == 0;
    // A name left in the combo does not count while the default image is chosen.
    if (m_bUseDefaultImage)
        m_sImageFileName.Empty();
    ApplyToApplication();
    return TRUE;
}

BOOL COXCustomizeBackgroundPage::OnManagerClose(BOOL bIsOk) {
    if (bIsOk) {
        if (!ApplySettings())
            return FALSE;
        if (!m_sProfileName.IsEmpty()) {
            CWinApp* app = AfxGetApp();
            app->WriteProfileInt(m_sProfileName, kPaintBackground, m_bPaintBackground);
            app->WriteProfileInt(m_sProfileName, kOnlyClientArea, m_bOnlyClientArea);
            app->WriteProfileInt(m_sProfileName, kPaintType, m_nPaintType);
            app->WriteProfileInt(m_sProfileName, kBackgroundColor, (int)m_clrBk);
            app->WriteProfileInt(m_sProfileName, kUseDefaultImage, m_bUseDefaultImage);
            app->WriteProfileString(m_sProfileName, kImageFileName, m_sImageFileName);
        }
        return TRUE;
    }
    if (!m_sProfileName.IsEmpty()) {
        ReadProfile();
        if (m_hWnd && ::IsWindow(m_hWnd) && m_bInitialized) {
            UpdateData(FALSE);
            UpdateEnabledStates();
        }
        ApplyToApplication();
    }
    return TRUE;
}

LRESULT COXCustomizeBackgroundPage::OnPaletteChanged(WPARAM wParam, LPARAM lParam) {
    LRESULT result = Default();
    SendMessageToDescendants(WM_PALETTECHANGED, wParam, lParam, TRUE);
    return result;
}

LRESULT COXCustomizeBackgroundPage::OnQueryNewPalette(WPARAM wParam, LPARAM lParam) {
    SendMessageToDescendants(WM_QUERYNEWPALETTE, wParam, lParam, TRUE);
    return Default();
}

LRESULT COXCustomizeBackgroundPage::OnKickIdle(WPARAM /*wParam*/, LPARAM lParam) {
    if (m_comboImageFile.m_hWnd)
        m_comboImageFile.OnIdleUpdate((LONG)lParam);
    return 0;
}
