#include "guilib/customize/OXCustomizeInstanceManagerPage.h"

#include <cstdlib>

#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/base/Process.h"
#include "platform/framework/window/DataExchange.h"

IMPLEMENT_DYNAMIC(COXCustomizeInstanceManagerPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeInstanceManagerPage, COXCustomizePage)
ON_WM_DESTROY()
ON_WM_TIMER()
ON_BN_CLICKED(IDC_OX_RADIO_NO_LIMIT, OnRadioChoice)
ON_BN_CLICKED(IDC_OX_RADIO_ONE_INSTANCE, OnRadioChoice)
ON_BN_CLICKED(IDC_OX_RADIO_LIMIT_TO, OnRadioChoice)
ON_EN_CHANGE(IDC_OX_EDIT_MAX_INSTANCES, OnChangeMaxInstances)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_OX_LIST_INSTANCES, OnInstanceListChanged)
ON_BN_CLICKED(IDC_OX_BUTTON_CLOSE, OnButtonClose)
ON_BN_CLICKED(IDC_OX_BUTTON_SWITCH_TO, OnButtonSwitchTo)
ON_BN_CLICKED(IDC_OX_BUTTON_BRING_TO_FRONT, OnButtonBringToFront)
ON_BN_CLICKED(IDC_OX_BUTTON_MAXIMIZE, OnButtonMaximize)
ON_BN_CLICKED(IDC_OX_BUTTON_MINIMIZE, OnButtonMinimize)
ON_BN_CLICKED(IDC_OX_BUTTON_RESTORE, OnButtonRestore)
END_MESSAGE_MAP()

namespace {
constexpr const char* kMaxAllowedEntry = "MaxAllowedInstanceNumber";
constexpr UINT kMaximum = COXInstanceManager::kMaxInstances;
}  // namespace

CString COXCustomizeInstanceManagerPage::GetInstanceManagerName() {
    char path[260 + 1] = {};
    ::GetModuleFileName(nullptr, path, 260);
    CString name(path);
    name.Replace("\\", "");
    return name;
}

COXCustomizeInstanceManagerPage::COXCustomizeInstanceManagerPage()
    : COXCustomizeInstanceManagerPage(GetInstanceManagerName()) {}

COXCustomizeInstanceManagerPage::COXCustomizeInstanceManagerPage(LPCTSTR lpszInstanceManagerName)
    : m_instanceManager(lpszInstanceManagerName, 0) {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_INSTANCE_MANAGER;
}

COXCustomizeInstanceManagerPage::~COXCustomizeInstanceManagerPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString COXCustomizeInstanceManagerPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_INSTANCE_MANAGER_TITLE); }
UINT COXCustomizeInstanceManagerPage::GetImageId() { return IDB_OX_PAGE_INSTANCE_MANAGER; }
CString COXCustomizeInstanceManagerPage::GetPageTooltip() {
    return AfxLoadString(IDS_OX_PAGE_INSTANCE_MANAGER_TOOLTIP);
}

int COXCustomizeInstanceManagerPage::ChoiceFor(UINT nMaximum) {
    return nMaximum == kMaximum ? 0 : nMaximum == 1 ? 1 : 2;
}

UINT COXCustomizeInstanceManagerPage::ReadStoredMaximum(UINT nDefault) {
    UINT stored = AfxGetApp()->GetProfileInt(m_sProfileName, kMaxAllowedEntry, (int)nDefault);
    // 0 (or anything else out of range) would close every copy, this one too, at each start.
    return stored >= 1 && stored <= kMaximum ? stored : m_nSetupMaximum;
}

BOOL COXCustomizeInstanceManagerPage::SetupPage(UINT nMaxAllowedInstances, LPCTSTR lpszProfileName) {
    if (nMaxAllowedInstances < 1 || nMaxAllowedInstances > kMaximum)
        return FALSE;
    m_nSetupMaximum = nMaxAllowedInstances;
    m_nMaxAllowedInstances = nMaxAllowedInstances;
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        m_nMaxAllowedInstances = ReadStoredMaximum(nMaxAllowedInstances);
    }
    m_instanceManager.SetMaxAllowedInstances(m_nMaxAllowedInstances, TRUE);
    m_nLimitChoice = ChoiceFor(m_nMaxAllowedInstances);
    return TRUE;
}

void COXCustomizeInstanceManagerPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_SPIN_MAX_INSTANCES, m_spinMaxInstances);
    DDX_Control(pDX, IDC_OX_LIST_INSTANCES, m_listInstances);
    DDX_Control(pDX, IDC_OX_STATIC_INSTANCE_COUNT, m_staticInstanceCount);
    DDX_Control(pDX, IDC_OX_SEPARATOR_OPTIONS, m_sepOptions);
    DDX_Control(pDX, IDC_OX_SEPARATOR_OPERATIONS, m_sepOperations);
    DDX_Control(pDX, IDC_OX_SEPARATOR_INSTANCES, m_sepInstances);
    DDX_Radio(pDX, IDC_OX_RADIO_NO_LIMIT, m_nLimitChoice);
    DDX_Text(pDX, IDC_OX_EDIT_MAX_INSTANCES, m_nMaxAllowedInstances);
    DDV_MinMaxUInt(pDX, m_nMaxAllowedInstances, 1, kMaximum);
}

BOOL COXCustomizeInstanceManagerPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    if (m_nLimitChoice == 0)
        m_nMaxAllowedInstances = kMaximum;
    else if (m_nLimitChoice == 1)
        m_nMaxAllowedInstances = 1;
    m_instanceManager.SetMaxAllowedInstances(m_nMaxAllowedInstances, TRUE);
    return TRUE;
}

BOOL COXCustomizeInstanceManagerPage::OnManagerClose(BOOL bIsOk) {
    if (bIsOk) {
        if (!ApplySettings())
            return FALSE;
        if (!m_sProfileName.IsEmpty())
            AfxGetApp()->WriteProfileInt(m_sProfileName, kMaxAllowedEntry, (int)m_nMaxAllowedInstances);
        return TRUE;
    }
    if (!m_sProfileName.IsEmpty()) {
        m_nMaxAllowedInstances = ReadStoredMaximum(m_nMaxAllowedInstances);
        m_nLimitChoice = ChoiceFor(m_nMaxAllowedInstances);
        m_instanceManager.SetMaxAllowedInstances(m_nMaxAllowedInstances, TRUE);
    }
    return TRUE;
}

void COXCustomizeInstanceManagerPage::InitControls() {
    COXCustomizePage::InitControls();
    m_nTimerID = SetTimer(IDT_OX_INSTANCE_REFRESH, 1000, nullptr);
    m_spinMaxInstances.SetRange(1, (short)kMaximum);

    m_listInstances.InsertColumn(0, AfxLoadString(IDS_OX_INSTANCE_COLUMN_INSTANCE), LVCFMT_LEFT, 100);
    m_listInstances.InsertColumn(1, AfxLoadString(IDS_OX_INSTANCE_COLUMN_PID), LVCFMT_CENTER, 40);
    m_listInstances.InsertColumn(2, AfxLoadString(IDS_OX_INSTANCE_COLUMN_STATUS), LVCFMT_CENTER, 50);
    RefreshInstanceList();

    m_staticInstanceCount.SetTextColor(RGB(0, 0, 128));
    if (!m_fontCount.GetSafeHandle())
        m_fontCount.CreatePointFont(140, "Times New Roman");
    m_staticInstanceCount.SetTextFont(&m_fontCount);

    for (int id : {IDC_OX_SEPARATOR_OPTIONS, IDC_OX_SEPARATOR_INSTANCES}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_LEFT, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }
    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_LIST_INSTANCES, side, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_OPERATIONS, OX_LMS_RIGHT, OX_LMT_SAME);
    for (int id = IDC_OX_BUTTON_CLOSE; id <= IDC_OX_BUTTON_RESTORE; ++id)
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);

    m_bInitialized = TRUE;
    UpdateData(FALSE);
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::RefreshInstanceList() {
    if (!m_listInstances.m_hWnd)
        return;
    CString count;
    count.Format("%d", m_instanceManager.GetInstanceCount());
    m_staticInstanceCount.SetWindowText(count);

    m_listInstances.DeleteAllItems();
    CDWordArray ids;
    m_instanceManager.GetInstanceList(ids);
    const DWORD self = ::GetCurrentProcessId();
    const CString rowFormat = AfxLoadString(IDS_OX_INSTANCE_ROW);
    for (int i = 0; i < (int)ids.GetSize(); ++i) {
        CString number, pid;
        number.Format("%d", i + 1);
        pid.Format("%d", (int)ids[i]);
        CString row = rowFormat;
        row.Replace("%d", number);
        int item = m_listInstances.InsertItem(LVIF_TEXT | LVIF_PARAM, i, row, 0, 0, 0, (LPARAM)ids[i]);
        m_listInstances.SetItemText(item, 1, pid);
        m_listInstances.SetItemText(item, 2, ids[i] == self ? AfxLoadString(IDS_OX_INSTANCE_CURRENT) : CString());
    }
    UpdateEnabledStates();
}

DWORD COXCustomizeInstanceManagerPage::GetSelectedProcess(HWND* phWnd) {
    if (phWnd)
        *phWnd = nullptr;
    if (!m_listInstances.m_hWnd)
        return 0;
    int item = m_listInstances.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0)
        return 0;
    DWORD pid = (DWORD)m_listInstances.GetItemData(item);
    if (phWnd)
        *phWnd = m_instanceManager.FindInstanceWindow(pid);
    return pid;
}

void COXCustomizeInstanceManagerPage::UpdateEnabledStates() {
    if (!m_bInitialized)
        return;
    auto enable = [this](int id, bool on) {
        if (HWND h = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(h, on);
    };
    enable(IDC_OX_EDIT_MAX_INSTANCES, m_nLimitChoice == 2);
    enable(IDC_OX_SPIN_MAX_INSTANCES, m_nLimitChoice == 2);

    HWND window = nullptr;
    DWORD pid = GetSelectedProcess(&window);
    bool close = pid != 0, other = pid != 0 && pid != ::GetCurrentProcessId();
    bool maximize = false, minimize = false, restore = false;
    if (pid && window) {
        DWORD style = (DWORD)::GetWindowLongPtr(window, GWL_STYLE);
        bool sysMenu = (style & WS_SYSMENU) != 0;
        bool zoomed = ::IsZoomed(window) != FALSE;
        maximize = sysMenu && (style & WS_MAXIMIZEBOX) && !zoomed;
        minimize = sysMenu && (style & WS_MINIMIZEBOX) && !::IsIconic(window);
        restore = sysMenu && (!minimize || ((style & WS_MAXIMIZEBOX) && zoomed));
    }
    enable(IDC_OX_BUTTON_CLOSE, close);
    enable(IDC_OX_BUTTON_SWITCH_TO, other);
    enable(IDC_OX_BUTTON_BRING_TO_FRONT, other);
    enable(IDC_OX_BUTTON_MAXIMIZE, maximize);
    enable(IDC_OX_BUTTON_MINIMIZE, minimize);
    enable(IDC_OX_BUTTON_RESTORE, restore);
}

void COXCustomizeInstanceManagerPage::OnDestroy() {
    if (m_nTimerID) {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    COXCustomizePage::OnDestroy();
}

void COXCustomizeInstanceManagerPage::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != m_nTimerID || !m_listInstances.m_hWnd)
        return;
    if (m_instanceManager.GetInstanceCount() != m_listInstances.GetItemCount())
        RefreshInstanceList();
}

void COXCustomizeInstanceManagerPage::OnRadioChoice() {
    if (!m_bInitialized)
        return;
    // Only the choice is read: the number being typed is checked by Apply and OK.
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_OX_RADIO_NO_LIMIT, m_nLimitChoice);
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnChangeMaxInstances() {
    if (!m_bInitialized)
        return;
    // Read without prompting: a half-typed number is no error yet.
    char text[16] = {};
    ::GetDlgItemText(m_hWnd, IDC_OX_EDIT_MAX_INSTANCES, text, sizeof text);
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    if (end != text && *end == '\0')
        m_nMaxAllowedInstances = (UINT)value;
}

void COXCustomizeInstanceManagerPage::OnInstanceListChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    UpdateEnabledStates();
    *pResult = 0;
}

void COXCustomizeInstanceManagerPage::ActivateMainWindow() {
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        ::SetForegroundWindow(main->m_hWnd);
}

void COXCustomizeInstanceManagerPage::OnButtonClose() {
    if (DWORD pid = GetSelectedProcess())
        m_instanceManager.CloseInstance(pid);
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnButtonSwitchTo() {
    HWND window = nullptr;
    if (GetSelectedProcess(&window) && window) {
        ::SetForegroundWindow(window);
        if (::IsIconic(window))
            ::SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnButtonBringToFront() {
    HWND window = nullptr;
    if (GetSelectedProcess(&window) && window) {
        if (::IsIconic(window)) {
            ::SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            ActivateMainWindow();
        } else {
            CWnd* main = AfxGetMainWnd();
            HWND after = main && main->m_hWnd ? main->m_hWnd : HWND_TOP;
            ::SetWindowPos(window, after, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS);
        }
    }
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnButtonMaximize() {
    HWND window = nullptr;
    if (GetSelectedProcess(&window) && window) {
        BOOL wasIconic = ::IsIconic(window);
        ::SendMessage(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        if (wasIconic)
            ActivateMainWindow();
    }
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnButtonMinimize() {
    HWND window = nullptr;
    if (GetSelectedProcess(&window) && window)
        ::SendMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    UpdateEnabledStates();
}

void COXCustomizeInstanceManagerPage::OnButtonRestore() {
    HWND window = nullptr;
    if (GetSelectedProcess(&window) && window) {
        BOOL wasIconic = ::IsIconic(window);
        ::SendMessage(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        if (wasIconic)
            ActivateMainWindow();
    }
    UpdateEnabledStates();
}
