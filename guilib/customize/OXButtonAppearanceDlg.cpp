#include "guilib/customize/OXButtonAppearanceDlg.h"

#include "guilib/customize/OXCommandsPageResources.h"
#include "platform/framework/window/DataExchange.h"

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
    DDX_Control(pDX, IDC_OX_SEPARATOR_TEXT, m_sepText);
    DDX_Control(pDX, IDC_OX_SEPARATOR_IMAGES, m_sepImages);
    DDX_Control(pDX, IDC_OX_SEPARATOR_CUSTOM_SIZES, m_sepCustomButtonSizes);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DISPLAY_CUSTOM, m_sepDisplayCustomButton);
    DDX_Control(pDX, IDC_OX_LIST_IMAGES, m_listImages);
    DDX_Control(pDX, IDC_OX_COMBO_ACCELERATOR, m_comboAccelerator);
    DDX_Control(pDX, IDC_OX_SPIN_HEIGHT, m_spinHeight);
    DDX_Control(pDX, IDC_OX_SPIN_WIDTH, m_spinWidth);
    DDX_Text(pDX, IDC_OX_EDIT_TEXT, m_sText);
    DDX_LBIndex(pDX, IDC_OX_LIST_IMAGES, m_nImageIndex);
    DDX_Radio(pDX, IDC_OX_RADIO_IMAGE_ONLY, m_nDisplay);
    DDX_Check(pDX, IDC_OX_CHECK_DROPDOWN, m_bDropDown);
    DDX_CBIndex(pDX, IDC_OX_COMBO_ACCELERATOR, m_nAcceleratorIndex);
    DDX_Check(pDX, IDC_OX_CHECK_HORZ_DOCKED, m_bHorzDocked);
    DDX_Check(pDX, IDC_OX_CHECK_VERT_DOCKED, m_bVertDocked);
    DDX_Check(pDX, IDC_OX_CHECK_FLOATING, m_bFloating);
    DDX_Text(pDX, IDC_OX_EDIT_HEIGHT, m_nHeight);
    DDV_MinMaxInt(pDX, m_nHeight, 0, 1000);
    DDX_Text(pDX, IDC_OX_EDIT_WIDTH, m_nWidth);
    DDV_MinMaxInt(pDX, m_nWidth, 0, 1000);
}

BOOL COXButtonAppearanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_listImages.SetImageList(m_hImageList);
    m_listImages.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    if (m_listImages.m_hWnd)
        ::RedrawWindow(m_listImages.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    for (int i = 0; i < m_arrAccelerators.GetSize(); ++i)
        ::SendMessage(m_comboAccelerator.m_hWnd, CB_ADDSTRING, 0, (LPARAM)(LPCTSTR)m_arrAccelerators[i]);
    UpdateData(FALSE);
    m_spinHeight.SetRange32(0, 1000);
    m_spinWidth.SetRange32(0, 1000);
    UpdateEnabledState();
    return TRUE;
}

void COXButtonAppearanceDlg::OnDisplayChanged() { UpdateEnabledState(); }

void COXButtonAppearanceDlg::UpdateEnabledState() {
    if (!UpdateData(TRUE))
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
