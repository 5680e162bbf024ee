#include "guilib/customize/OXCustomizeCoolControlsPage.h"

#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/base/Process.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/user/TreeView.h"

BOOL COXCustomizeCoolControlOrganizer::CanConvert(HWND hWnd, LPCTSTR lpszClassName) {
    return COXCoolControlOrganizer::CanConvert(hWnd, lpszClassName) &&
           (!m_pPage || m_pPage->IsTypeEnabled(hWnd, lpszClassName));
}

IMPLEMENT_DYNAMIC(COXCustomizeCoolControlsPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeCoolControlsPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_CHECK_CONVERT_TO_COOL, OnConvertToCool)
ON_BN_CLICKED(IDC_OX_BUTTON_CONVERT_ALL, OnConvertAll)
END_MESSAGE_MAP()

namespace {
constexpr const char* kConvert = "ConvertCommonToCool";
constexpr const char* kTreeState = "TreeControlTypes";

struct ControlType {
    const char* name;
    const char* className;
};
const ControlType kTypes[COXCustomizeCoolControlsPage::kTypeCount] = {
    {"Edit box", "Edit"},
    {"Button", "Button"},
    {"Combo box", "ComboBox"},
    {"Tree control", "SysTreeView32"},
    {"List control", "SysListView32"},
    {"List box", "LISTBOX"},
    {"Spin button", "msctls_updown32"},
    {"Scroll bar", "ScrollBar"},
    {"Progress bar", "msctls_progress32"},
    {"Slider control", "msctls_trackbar32"},
    {"Hot key control", "msctls_hotkey32"},
    {"Rich edit control", "RICHEDIT"},
    {"Date-time picker", "SysDateTimePick32"},
    {"Month calendar", "SysMonthCal32"},
    {"IP address edit box", "SysIPAddress32"}};

CString StateEntry(int type) {
    CString entry;
    entry.Format("ControlTypeState_%d", type);
    return entry;
}

CString ClassKey(LPCTSTR className) {
    CString key(className ? className : "");
    key.MakeUpper();
    return key;
}
}  // namespace

COXCustomizeCoolControlsPage::COXCustomizeCoolControlsPage() : m_organizer(this) {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_COOL_CONTROLS;
    for (int i = 0; i < kTypeCount; ++i) {
        m_mapTypeNames.SetAt(i, kTypes[i].name);
        m_mapTypeStates.SetAt(i, 1);
        m_mapClassTypes.SetAt(ClassKey(kTypes[i].className), i);
    }
}

COXCustomizeCoolControlsPage::~COXCustomizeCoolControlsPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CString COXCustomizeCoolControlsPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_COOL_CONTROLS_TITLE); }
UINT COXCustomizeCoolControlsPage::GetImageId() { return IDB_OX_PAGE_COOL_CONTROLS; }
CString COXCustomizeCoolControlsPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_COOL_CONTROLS_TOOLTIP); }

int COXCustomizeCoolControlsPage::GetTypeState(int nType) const {
    int state = 1;
    return m_mapTypeStates.Lookup(nType, state) ? state : 1;
}

void COXCustomizeCoolControlsPage::ReadTypeStates() {
    for (int i = 0; i < kTypeCount; ++i)
        m_mapTypeStates.SetAt(i, (int)AfxGetApp()->GetProfileInt(m_sProfileName, StateEntry(i), GetTypeState(i)));
}

BOOL COXCustomizeCoolControlsPage::SetupPage(BOOL bConvertToCool, LPCTSTR lpszProfileName) {
    m_bConvertToCool = bConvertToCool;
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        m_bConvertToCool = (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kConvert, m_bConvertToCool);
    }
    if (!m_bConvertToCool)
        return TRUE;
    if (m_organizer.IsAttached())
        return FALSE;
    // The states first: attaching converts the windows that exist already, judged by them.
    if (!m_sProfileName.IsEmpty())
        ReadTypeStates();
    return m_organizer.AttachToThread(::GetCurrentThreadId());
}

BOOL COXCustomizeCoolControlsPage::IsTypeEnabled(HWND /*hWnd*/, LPCTSTR lpszClassName) {
    int type = 0;
    if (!m_mapClassTypes.Lookup(ClassKey(lpszClassName), type))
        return TRUE;
    return GetTypeState(type) != 0;
}

void COXCustomizeCoolControlsPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_TREE_CONTROL_TYPES, m_treeTypes);
    DDX_Check(pDX, IDC_OX_CHECK_CONVERT_TO_COOL, m_bConvertToCool);
}

void COXCustomizeCoolControlsPage::InitControls() {
    COXCustomizePage::InitControls();
    m_treeTypes.DeleteAllOptions();
    m_treeTypes.LoadStateImages(MAKEINTRESOURCE(IDB_OX_COOL_CONTROLS_STATES), RGB(192, 192, 192));
    HTREEITEM root = m_treeTypes.InsertOptionItem(AfxLoadString(IDS_OX_COOL_CONTROLS_ROOT));
    TVITEM bold{};
    bold.mask = TVIF_STATE;
    bold.hItem = root;
    bold.state = bold.stateMask = TVIS_BOLD;
    ::SendMessage(m_treeTypes.m_hWnd, TVM_SETITEM, 0, (LPARAM)&bold);
    for (int i = 0; i < kTypeCount; ++i) {
        CString name;
        m_mapTypeNames.Lookup(i, name);
        m_treeTypes.AddCheckBox(i + 1, name, root, GetTypeState(i) ? 1 : 0, TVI_SORT);
    }
    if (!m_sProfileName.IsEmpty())
        m_treeTypes.LoadState(m_sProfileName, kTreeState);

    m_LayoutManager.ConstrainChild(IDC_OX_BUTTON_CONVERT_ALL, OX_LMS_RIGHT, OX_LMT_SAME);
    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_TREE_CONTROL_TYPES, side, OX_LMT_SAME);

    m_bInitialized = TRUE;
    UpdateData(FALSE);
    UpdateEnabledStates();
}

void COXCustomizeCoolControlsPage::UpdateEnabledStates() {
    if (!m_bInitialized)
        return;
    m_treeTypes.EnableWindow(m_bConvertToCool);
    if (HWND all = ::GetDlgItem(m_hWnd, IDC_OX_BUTTON_CONVERT_ALL))
        ::EnableWindow(all, m_bConvertToCool);
}

void COXCustomizeCoolControlsPage::OnConvertToCool() {
    if (!m_bInitialized)
        return;
    UpdateData(TRUE);
    UpdateEnabledStates();
}

void COXCustomizeCoolControlsPage::OnConvertAll() {
    if (!m_bInitialized)
        return;
    for (int id = 1; id <= kTypeCount; ++id)
        m_treeTypes.SetOptionState(id, 1);
}

BOOL COXCustomizeCoolControlsPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        if (!UpdateData(TRUE))
            return FALSE;
        for (int i = 0; i < kTypeCount; ++i)
            m_mapTypeStates.SetAt(i, m_treeTypes.GetOptionState(i + 1));
    }
    if (m_organizer.IsAttached() && !m_organizer.DetachFromThread())
        return FALSE;
    return m_bConvertToCool ? m_organizer.AttachToThread(::GetCurrentThreadId()) : TRUE;
}

BOOL COXCustomizeCoolControlsPage::OnManagerClose(BOOL bIsOk) {
    if (bIsOk) {
        if (!ApplySettings())
            return FALSE;
        if (!m_sProfileName.IsEmpty()) {
            CWinApp* app = AfxGetApp();
            app->WriteProfileInt(m_sProfileName, kConvert, m_bConvertToCool);
            for (int i = 0; i < kTypeCount; ++i)
                app->WriteProfileInt(m_sProfileName, StateEntry(i),
                                     m_treeTypes.m_hWnd ? m_treeTypes.GetOptionState(i + 1) : GetTypeState(i));
            if (m_treeTypes.m_hWnd)
                m_treeTypes.SaveState(m_sProfileName, kTreeState);
        }
        return TRUE;
    }
    if (!m_sProfileName.IsEmpty()) {
        m_bConvertToCool = (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kConvert, m_bConvertToCool);
        if (m_hWnd && ::IsWindow(m_hWnd)) {
            UpdateData(FALSE);
            m_treeTypes.LoadState(m_sProfileName, kTreeState);
            UpdateEnabledStates();
        }
        ApplySettings();
    }
    return TRUE;
}
