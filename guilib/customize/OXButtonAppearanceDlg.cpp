#include "guilib/customize/OXButtonAppearanceDlg.h"

#include "guilib/customize/OXCommandsPageResources.h"
#include "guilib/customize/OXDialogExchange.h"

BEGIN_MESSAGE_MAP(COXButtonAppearanceDlg, CDialog)
ON_BN_CLICKED(IDC_OX_RADIO_IMAGE_ONLY, OnDisplayChanged)
ON_BN_CLICKED(IDC_OX_RADIO_IMAGE_TEXT, OnDisplayChanged)
END_MESSAGE_MAP()

COXButtonAppearanceDlg::COXButtonAppearanceDlg(CWnd* pParent)
    : CDialog(IDD_OX_BUTTON_APPEARANCE, pParent),
      m_listImages(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), ILC_COLOR24 | ILC_MASK) {
    OXRegisterCommandsPageResources();
    m_arrAccelerators.Add("None");
}

CString COXButtonAppearanceDlg::GetAcceleratorText() const {
    if (m_nAcceleratorIndex <= 0 || m_nAcceleratorIndex >= m_arrAccelerators.GetSize())
        return CString();
    return m_arrAccelerators[m_nAcceleratorIndex];
}

void COXButtonAppearanceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    // The controls become their objects on the first exchange.
    struct Control {
        CWnd& wnd;
        int id;
    };
    for (Control c : {Control{m_sepText, IDC_OX_SEPARATOR_TEXT}, Control{m_sepImages, IDC_OX_SEPARATOR_IMAGES},
                      Control{m_sepCustomButtonSizes, IDC_OX_SEPARATOR_CUSTOM_SIZES},
                      Control{m_sepDisplayCustomButton, IDC_OX_SEPARATOR_DISPLAY_CUSTOM},
                      Control{m_listImages, IDC_OX_LIST_IMAGES}, Control{m_comboAccelerator, IDC_OX_COMBO_ACCELERATOR},
                      Control{m_spinHeight, IDC_OX_SPIN_HEIGHT}, Control{m_spinWidth, IDC_OX_SPIN_WIDTH}})
        if (!c.wnd.m_hWnd && ::GetDlgItem(m_hWnd, c.id))
            c.wnd.SubclassDlgItem((UINT)c.id, this);
    OXExchangeText(pDX, IDC_OX_EDIT_TEXT, m_sText);
    OXExchangeLBIndex(pDX, IDC_OX_LIST_IMAGES, m_nImageIndex);
    OXExchangeRadio(pDX, {IDC_OX_RADIO_IMAGE_ONLY, IDC_OX_RADIO_IMAGE_TEXT}, m_nDisplay);
    OXExchangeCheck(pDX, IDC_OX_CHECK_DROPDOWN, m_bDropDown);
    OXExchangeCBIndex(pDX, IDC_OX_COMBO_ACCELERATOR, m_nAcceleratorIndex);
    OXExchangeCheck(pDX, IDC_OX_CHECK_HORZ_DOCKED, m_bHorzDocked);
    OXExchangeCheck(pDX, IDC_OX_CHECK_VERT_DOCKED, m_bVertDocked);
    OXExchangeCheck(pDX, IDC_OX_CHECK_FLOATING, m_bFloating);
    // A wrong number stops the exchange where it is, as the framework's validation does.
    if (!OXExchangeInt(pDX, IDC_OX_EDIT_HEIGHT, m_nHeight, 0, 1000) ||
        !OXExchangeInt(pDX, IDC_OX_EDIT_WIDTH, m_nWidth, 0, 1000))
        m_bExchangeFailed = TRUE;
}

BOOL COXButtonAppearanceDlg::ExchangeData(BOOL bSaveAndValidate) {
    m_bExchangeFailed = FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !m_bExchangeFailed;
}

BOOL COXButtonAppearanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_listImages.SetImageList(m_hImageList);
    m_listImages.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    if (m_listImages.m_hWnd)
        ::RedrawWindow(m_listImages.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    for (int i = 0; i < m_arrAccelerators.GetSize(); ++i)
        ::SendMessage(m_comboAccelerator.m_hWnd, CB_ADDSTRING, 0, (LPARAM)(LPCTSTR)m_arrAccelerators[i]);
    ExchangeData(FALSE);
    m_spinHeight.SetRange32(0, 1000);
    m_spinWidth.SetRange32(0, 1000);
    UpdateEnabledState();
    return TRUE;
}

void COXButtonAppearanceDlg::OnOK() {
    if (!ExchangeData(TRUE))
        return;
    EndDialog(IDOK);
}

void COXButtonAppearanceDlg::OnDisplayChanged() { UpdateEnabledState(); }

void COXButtonAppearanceDlg::UpdateEnabledState() {
    if (!ExchangeData(TRUE))
        return;
    auto enable = [this](int id, BOOL on) {
        if (HWND control = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(control, on);
    };
    enable(IDC_OX_EDIT_TEXT, !m_bCustomButton && (m_nDisplay == 1 || m_bTextOnly));
    enable(IDC_OX_RADIO_IMAGE_ONLY, !m_bTextOnly && !m_bCustomButton);
    enable(IDC_OX_RADIO_IMAGE_TEXT, !m_bTextOnly && !m_bCustomButton);
    enable(IDC_OX_LIST_IMAGES, !m_bTextOnly || m_bCustomButton);
    enable(IDC_OX_CHECK_DROPDOWN, !m_bNoDropDown && !m_bCustomButton);
    enable(IDC_OX_COMBO_ACCELERATOR, !m_bNoAccelerator && !m_bCustomButton);
    for (int id : {IDC_OX_EDIT_HEIGHT, IDC_OX_SPIN_HEIGHT, IDC_OX_EDIT_WIDTH, IDC_OX_SPIN_WIDTH,
                   IDC_OX_CHECK_HORZ_DOCKED, IDC_OX_CHECK_VERT_DOCKED, IDC_OX_CHECK_FLOATING})
        enable(id, m_bCustomButton);
}
