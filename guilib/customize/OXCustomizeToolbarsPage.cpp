#include "guilib/customize/OXCustomizeToolbarsPage.h"

#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/user/TreeView.h"

IMPLEMENT_DYNAMIC(COXCustomizeToolbarsPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeToolbarsPage, COXCustomizePage)
ON_BN_CLICKED(IDC_OX_BUTTON_NEW_TOOLBAR, OnButtonNewToolbar)
ON_BN_CLICKED(IDC_OX_BUTTON_DELETE_TOOLBAR, OnButtonDelete)
ON_BN_CLICKED(IDC_OX_BUTTON_RENAME_TOOLBAR, OnButtonRename)
ON_BN_CLICKED(IDC_OX_BUTTON_RESET_TOOLBAR, OnButtonReset)
ON_BN_CLICKED(IDC_OX_BUTTON_RESET_ALL, OnButtonResetAll)
ON_BN_CLICKED(IDC_OX_CHECK_SHOW_TOOLTIPS, OnCheckShowTooltips)
ON_BN_CLICKED(IDC_OX_CHECK_COOL_LOOK, OnCheckCoolLook)
ON_BN_CLICKED(IDC_OX_CHECK_SHOW_GRIPPER, OnCheckShowGripper)
ON_EN_CHANGE(IDC_OX_EDIT_BORDER_SIZE, OnChangeBorderSize)
ON_NOTIFY(OTN_OPTIONCHANGED, IDC_OX_TREE_TOOLBARS, OnOptionChanged)
ON_NOTIFY(TVN_SELCHANGED, IDC_OX_TREE_TOOLBARS, OnSelChanged)
ON_NOTIFY(TVN_BEGINLABELEDIT, IDC_OX_TREE_TOOLBARS, OnBeginLabelEdit)
ON_NOTIFY(TVN_ENDLABELEDIT, IDC_OX_TREE_TOOLBARS, OnEndLabelEdit)
END_MESSAGE_MAP()

namespace {
constexpr const char* kCoolLook = "CoolLook";
constexpr const char* kShowTooltips = "ShowTooltips";
constexpr const char* kShowGripper = "ShowGripper";
constexpr const char* kBorderSize = "BorderSize";
constexpr DWORD kMaxBorderSize = 100;
constexpr int kMaxSpinBorderSize = 1000;
constexpr DWORD kCustomToolbarStyle =
    WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr POINT kFloatPoint{100, 100};

CString ValueName(const CString& toolbarName, const char* suffix) { return toolbarName + suffix; }

void SetBarStyleFlag(CMFCToolBar* bar, DWORD flag, BOOL on) {
    DWORD style = bar->GetBarStyle();
    bar->SetBarStyle(on ? (style | flag) : (style & ~flag));
}
}  // namespace

COXCustomizeToolbarsPage::COXCustomizeToolbarsPage() {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_TOOLBARS;
}

COXCustomizeToolbarsPage::~COXCustomizeToolbarsPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    for (INT_PTR i = 0; i < m_arrCreatedToolbars.GetSize(); ++i)
        delete m_arrCreatedToolbars[i];
}

CString COXCustomizeToolbarsPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_TOOLBARS_TITLE); }
UINT COXCustomizeToolbarsPage::GetImageId() { return IDB_OX_PAGE_TOOLBARS; }
CString COXCustomizeToolbarsPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_TOOLBARS_TOOLTIP); }

CString COXCustomizeToolbarsPage::GetNewToolbarName(int nIndex) const {
    CString name;
    name.Format("%d~!@#$CustomMadeToolbar", nIndex);
    return name;
}

int COXCustomizeToolbarsPage::FindToolbar(CMFCToolBar* pToolbar) const {
    int index = -1;
    return m_mapToolbars.Lookup(pToolbar, index) ? index : -1;
}

BOOL COXCustomizeToolbarsPage::IsCustomMade(CMFCToolBar* pToolbar) const {
    int index = FindToolbar(pToolbar);
    return index >= 0 && m_arrToolbars[index].bCustomMade;
}

BOOL COXCustomizeToolbarsPage::IsMenuBar(CMFCToolBar* pToolbar) {
    return dynamic_cast<COXMenuBar*>(pToolbar) != nullptr;
}

COXCustomizeCommandsPage* COXCustomizeToolbarsPage::GetCommandsPage() const {
    return m_pCustomizeManager ? m_pCustomizeManager->GetCommandsPage() : nullptr;
}

void COXCustomizeToolbarsPage::AddToolbarRecord(CMFCToolBar* pToolbar, BOOL bCustomMade) {
    OXCUSTOMIZE_TOOLBARINFO info;
    info.pToolbar = pToolbar;
    info.bCustomMade = bCustomMade;
    m_mapToolbars.SetAt(pToolbar, (int)m_arrToolbars.Add(info));
}

BOOL COXCustomizeToolbarsPage::CreateCustomToolbar(COXCoolToolBar* pToolbar, UINT nID) {
    if (!pToolbar->Create(m_pFrameWnd, kCustomToolbarStyle, nID))
        return FALSE;
    pToolbar->SetSizes(SIZE{23, 22}, SIZE{16, 16});
    pToolbar->GetToolBarCtrl().AutoSize();
    // The control may need larger buttons than asked for: take its size, keeping the images'.
    pToolbar->SetSizes(pToolbar->GetToolBarCtrl().GetButtonSize(), SIZE{16, 16});
    pToolbar->GetToolBarCtrl().AutoSize();
    return TRUE;
}

BOOL COXCustomizeToolbarsPage::SetupPage(BOOL bCoolLook, BOOL bShowGripper, BOOL bShowTooltips, int nBorderSize,
                                         LPCTSTR lpszProfileName) {
    m_pFrameWnd = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    m_bCoolLook = bCoolLook;
    m_bShowGripper = bShowGripper;
    m_bShowTooltips = bShowTooltips;
    m_nBorderSize = (DWORD)nBorderSize;

    if (m_pFrameWnd)
        for (POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition(); pos;) {
            auto* bar = dynamic_cast<CMFCToolBar*>(static_cast<CControlBar*>(m_pFrameWnd->m_listControlBars.GetNext(pos)));
            if (bar && FindToolbar(bar) < 0)
                AddToolbarRecord(bar, FALSE);
        }

    if (lpszProfileName && *lpszProfileName)
        m_sProfileName = lpszProfileName;
    if (!m_sProfileName.IsEmpty()) {
        CWinApp* app = AfxGetApp();
        m_bCoolLook = (BOOL)app->GetProfileInt(m_sProfileName, kCoolLook, m_bCoolLook);
        m_bShowTooltips = (BOOL)app->GetProfileInt(m_sProfileName, kShowTooltips, m_bShowTooltips);
        m_bShowGripper = (BOOL)app->GetProfileInt(m_sProfileName, kShowGripper, m_bShowGripper);
        m_nBorderSize = (DWORD)app->GetProfileInt(m_sProfileName, kBorderSize, (int)m_nBorderSize);
        for (int n = 0; m_pFrameWnd; ++n) {
            CString name = GetNewToolbarName(n);
            UINT id = app->GetProfileInt(m_sProfileName, ValueName(name, "_ID"), 0);
            if (id == 0)
                break;
            // An id outside the range of the user's toolbars, or one a bar of the frame holds, would
            // make a second bar under a taken id: that entry is passed over.
            if (id < kFirstCustomToolbarID || id > kLastCustomToolbarID || m_pFrameWnd->GetControlBar(id))
                continue;
            CString title = app->GetProfileString(m_sProfileName, ValueName(name, "_Title"), "");
            auto* bar = new COXCoolToolBar;
            m_arrCreatedToolbars.Add(bar);
            if (!CreateCustomToolbar(bar, id))
                continue;
            bar->SetWindowText(title);
            bar->EnableDocking(CBRS_ALIGN_ANY);
            m_pFrameWnd->ShowControlBar(bar, FALSE, FALSE);
            AddToolbarRecord(bar, TRUE);
        }
    }

    for (INT_PTR i = 0; i < m_arrToolbars.GetSize(); ++i) {
        CMFCToolBar* bar = m_arrToolbars[i].pToolbar;
        if (IsMenuBar(bar))
            continue;
        ApplyTooltips(bar);
        ApplyBorderSize(bar, dynamic_cast<COXCoolToolBar*>(bar) == nullptr);
        ApplyCoolLook(bar);
        ApplyGripper(bar);
    }
    return TRUE;
}

void COXCustomizeToolbarsPage::ApplyTooltips(CMFCToolBar* pToolbar) {
    if (pToolbar->m_hWnd && !IsMenuBar(pToolbar))
        SetBarStyleFlag(pToolbar, CBRS_TOOLTIPS, m_bShowTooltips);
}

void COXCustomizeToolbarsPage::ApplyBorderSize(CMFCToolBar* pToolbar, BOOL bRefresh) {
    if (!pToolbar->m_hWnd || IsMenuBar(pToolbar))
        return;
    int border = (int)m_nBorderSize;
    pToolbar->SetBorders(border, border, border, border);
    if (!bRefresh)
        return;
    pToolbar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(pToolbar->m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (CFrameWnd* frame = pToolbar->GetDockingFrame())
        frame->RecalcLayout();
}

void COXCustomizeToolbarsPage::ApplyCoolLook(CMFCToolBar* pToolbar) {
    auto* cool = dynamic_cast<COXCoolToolBar*>(pToolbar);
    if (!cool || !cool->m_hWnd || IsMenuBar(cool))
        return;
    if (m_bCoolLook)
        cool->ModifyStyle(0, TBSTYLE_FLAT);
    else
        cool->ModifyStyle(TBSTYLE_FLAT, 0);
    cool->RedrawToolBar(TRUE);
}

void COXCustomizeToolbarsPage::ApplyGripper(CMFCToolBar* pToolbar) {
    auto* cool = dynamic_cast<COXCoolToolBar*>(pToolbar);
    if (!cool || !cool->m_hWnd || IsMenuBar(cool))
        return;
    SetBarStyleFlag(cool, CBRS_GRIPPER, m_bShowGripper);
    cool->RedrawToolBar(TRUE);
}

void COXCustomizeToolbarsPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_TREE_TOOLBARS, m_treeToolbars);
    DDX_Control(pDX, IDC_OX_SPIN_BORDER_SIZE, m_spinBorderSize);
    DDX_Control(pDX, IDC_OX_SEPARATOR_TOOLBARS, m_sepToolbars);
    DDX_Control(pDX, IDC_OX_SEPARATOR_OPTIONS, m_sepOptions);
    DDX_Control(pDX, IDC_OX_SEPARATOR_OPERATIONS, m_sepOperations);
    DDX_Check(pDX, IDC_OX_CHECK_COOL_LOOK, m_bCoolLook);
    DDX_Check(pDX, IDC_OX_CHECK_SHOW_TOOLTIPS, m_bShowTooltips);
    DDX_Text(pDX, IDC_OX_EDIT_BORDER_SIZE, m_nBorderSize);
    DDV_MinMaxDWord(pDX, m_nBorderSize, 0, kMaxBorderSize);
    DDX_Check(pDX, IDC_OX_CHECK_SHOW_GRIPPER, m_bShowGripper);
}

HTREEITEM COXCustomizeToolbarsPage::AddToolbarItem(CMFCToolBar* pToolbar) {
    CString text;
    pToolbar->GetWindowText(text);
    BOOL visible = (pToolbar->GetStyle() & WS_VISIBLE) != 0;
    HTREEITEM item = m_treeToolbars.AddCheckBox(pToolbar->GetDlgCtrlID(), text, TVI_ROOT, visible ? 1 : 0);
    if (item)
        m_treeToolbars.SetItemData(item, (DWORD_PTR)pToolbar);
    return item;
}

void COXCustomizeToolbarsPage::InitControls() {
    COXCustomizePage::InitControls();
    for (COXSeparator* sep : {&m_sepToolbars, &m_sepOptions, &m_sepOperations})
        sep->SetTextColor(::GetSysColor(COLOR_WINDOW));
    m_spinBorderSize.SetRange(0, (short)kMaxSpinBorderSize);

    m_treeToolbars.DeleteAllOptions();
    for (INT_PTR i = 0; i < m_arrToolbars.GetSize(); ++i)
        if (m_arrToolbars[i].pToolbar->m_hWnd)
            AddToolbarItem(m_arrToolbars[i].pToolbar);

    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_TREE_TOOLBARS, side, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_TOOLBARS, OX_LMS_LEFT, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_TOOLBARS, OX_LMS_RIGHT, OX_LMT_SAME);
    for (int id : {IDC_OX_SEPARATOR_OPERATIONS, IDC_OX_SEPARATOR_OPTIONS, IDC_OX_BUTTON_NEW_TOOLBAR,
                   IDC_OX_BUTTON_DELETE_TOOLBAR, IDC_OX_BUTTON_RENAME_TOOLBAR, IDC_OX_BUTTON_RESET_TOOLBAR,
                   IDC_OX_BUTTON_RESET_ALL, IDC_OX_CHECK_SHOW_TOOLTIPS, IDC_OX_CHECK_COOL_LOOK,
                   IDC_OX_CHECK_SHOW_GRIPPER, IDC_OX_STATIC_BORDER_SIZE, IDC_OX_EDIT_BORDER_SIZE,
                   IDC_OX_SPIN_BORDER_SIZE})
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);

    // The Office XP look is flat by nature: its cool look cannot be switched off.
    auto* skinned = dynamic_cast<COXSkinnedApp*>(AfxGetApp());
    COXSkin* skin = skinned ? skinned->GetCurrentSkin() : nullptr;
    if (skin && skin->GetName() == "Office XP") {
        ::CheckDlgButton(m_hWnd, IDC_OX_CHECK_COOL_LOOK, BST_CHECKED);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OX_CHECK_COOL_LOOK), FALSE);
    }

    m_bInitialized = TRUE;
    UpdateButtons();
}

CMFCToolBar* COXCustomizeToolbarsPage::GetSelectedToolbar() const {
    if (!m_treeToolbars.m_hWnd)
        return nullptr;
    HTREEITEM item = m_treeToolbars.GetSelectedItem();
    return item ? reinterpret_cast<CMFCToolBar*>(m_treeToolbars.GetItemData(item)) : nullptr;
}

void COXCustomizeToolbarsPage::UpdateButtons() {
    if (!m_bInitialized)
        return;
    CMFCToolBar* bar = GetSelectedToolbar();
    BOOL custom = bar && IsCustomMade(bar);
    auto enable = [this](int id, BOOL on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on); };
    enable(IDC_OX_BUTTON_DELETE_TOOLBAR, custom);
    enable(IDC_OX_BUTTON_RENAME_TOOLBAR, custom);
    enable(IDC_OX_BUTTON_RESET_TOOLBAR, bar && !custom);
    enable(IDC_OX_CHECK_SHOW_GRIPPER, m_bCoolLook);
}

BOOL COXCustomizeToolbarsPage::ReadControls() { return m_bInitialized && UpdateData(TRUE); }

void COXCustomizeToolbarsPage::ApplyToAll(void (COXCustomizeToolbarsPage::*apply)(CMFCToolBar*)) {
    if (!ReadControls())
        return;
    for (INT_PTR i = 0; i < m_arrToolbars.GetSize(); ++i)
        (this->*apply)(m_arrToolbars[i].pToolbar);
}

void COXCustomizeToolbarsPage::OnCheckShowTooltips() { ApplyToAll(&COXCustomizeToolbarsPage::ApplyTooltips); }
void COXCustomizeToolbarsPage::OnCheckShowGripper() { ApplyToAll(&COXCustomizeToolbarsPage::ApplyGripper); }
void COXCustomizeToolbarsPage::OnChangeBorderSize() { ApplyToAll(&COXCustomizeToolbarsPage::RefreshBorderSize); }

void COXCustomizeToolbarsPage::OnCheckCoolLook() {
    ApplyToAll(&COXCustomizeToolbarsPage::ApplyCoolLook);
    UpdateButtons();
}

void COXCustomizeToolbarsPage::OnOptionChanged(NMHDR* pNotifyStruct, LRESULT* pResult) {
    *pResult = 0;
    auto* nm = reinterpret_cast<NMOPTIONTREE*>(pNotifyStruct);
    auto* bar = reinterpret_cast<CMFCToolBar*>(m_treeToolbars.GetItemData(nm->hItem));
    if (m_pFrameWnd && bar && FindToolbar(bar) >= 0)
        m_pFrameWnd->ShowControlBar(bar, nm->nNewCheck == 1, FALSE);
}

void COXCustomizeToolbarsPage::OnSelChanged(NMHDR* /*pNotifyStruct*/, LRESULT* pResult) {
    *pResult = 0;
    UpdateButtons();
}

void COXCustomizeToolbarsPage::OnBeginLabelEdit(NMHDR* pNotifyStruct, LRESULT* pResult) {
    auto* di = reinterpret_cast<NMTVDISPINFO*>(pNotifyStruct);
    auto* bar = reinterpret_cast<CMFCToolBar*>(m_treeToolbars.GetItemData(di->item.hItem));
    // Only the user's own toolbars are renamed.
    *pResult = IsCustomMade(bar) ? 0 : 1;
}

void COXCustomizeToolbarsPage::OnEndLabelEdit(NMHDR* pNotifyStruct, LRESULT* pResult) {
    auto* di = reinterpret_cast<NMTVDISPINFO*>(pNotifyStruct);
    auto* bar = reinterpret_cast<CMFCToolBar*>(m_treeToolbars.GetItemData(di->item.hItem));
    *pResult = FALSE;
    if (!di->item.pszText || !*di->item.pszText || !IsCustomMade(bar) || !bar->m_hWnd)
        return;
    bar->SetWindowText(di->item.pszText);
    if (bar->IsFloating())
        if (CFrameWnd* floating = bar->GetParentFrame(); floating && floating != m_pFrameWnd)
            floating->SetWindowText(di->item.pszText);
    *pResult = TRUE;
}

void COXCustomizeToolbarsPage::OnButtonNewToolbar() {
    if (!m_pFrameWnd)
        return;
    UINT id = kLastCustomToolbarID;
    while (id >= kFirstCustomToolbarID && m_pFrameWnd->GetControlBar(id))
        --id;
    if (id < kFirstCustomToolbarID)
        return;

    COXCoolToolBar* bar = nullptr;
    for (INT_PTR i = 0; i < m_arrCreatedToolbars.GetSize() && !bar; ++i)
        if (FindToolbar(m_arrCreatedToolbars[i]) < 0)
            bar = m_arrCreatedToolbars[i];
    if (!bar) {
        bar = new COXCoolToolBar;
        m_arrCreatedToolbars.Add(bar);
    }
    if (bar->m_hWnd || !CreateCustomToolbar(bar, id))
        return;
    if (COXCustomizeCommandsPage* commands = GetCommandsPage())
        commands->PrepareToolbarForCustomize(bar);

    CString caption;
    caption.Format(AfxLoadString(IDS_OX_CUSTOM_TOOLBAR), (int)m_arrCreatedToolbars.GetSize());
    bar->SetWindowText(caption);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrameWnd->FloatControlBar(bar, kFloatPoint, CBRS_ALIGN_TOP);

    ApplyTooltips(bar);
    ApplyBorderSize(bar, TRUE);
    ApplyCoolLook(bar);
    ApplyGripper(bar);
    bar->RedrawToolBar(TRUE);

    AddToolbarRecord(bar, TRUE);
    if (!m_treeToolbars.m_hWnd)
        return;
    if (HTREEITEM item = AddToolbarItem(bar)) {
        m_treeToolbars.SelectItem(item);
        m_treeToolbars.SetFocus();
        m_treeToolbars.EditLabel(item);
    }
}

void COXCustomizeToolbarsPage::OnButtonDelete() {
    CMFCToolBar* bar = GetSelectedToolbar();
    if (!IsCustomMade(bar))
        return;
    HTREEITEM item = m_treeToolbars.GetSelectedItem();
    BOOL floating = bar->IsFloating();
    bar->DestroyWindow();
    if (m_pFrameWnd)
        if (POSITION pos = m_pFrameWnd->m_listControlBars.Find(bar))
            m_pFrameWnd->m_listControlBars.RemoveAt(pos);

    int removed = FindToolbar(bar);
    m_mapToolbars.RemoveKey(bar);
    for (INT_PTR i = removed + 1; i < m_arrToolbars.GetSize(); ++i)
        m_mapToolbars.SetAt(m_arrToolbars[i].pToolbar, (int)i - 1);
    m_arrToolbars.RemoveAt(removed);
    m_treeToolbars.DeleteItem(item);
    if (!floating && m_pFrameWnd)
        m_pFrameWnd->RecalcLayout();
    UpdateButtons();
}

void COXCustomizeToolbarsPage::OnButtonRename() {
    if (HTREEITEM item = m_treeToolbars.m_hWnd ? m_treeToolbars.GetSelectedItem() : nullptr) {
        m_treeToolbars.SetFocus();
        m_treeToolbars.EditLabel(item);
    }
}

void COXCustomizeToolbarsPage::OnButtonReset() {
    CMFCToolBar* bar = GetSelectedToolbar();
    COXCustomizeCommandsPage* commands = GetCommandsPage();
    if (bar && commands)
        commands->LoadToolbarState(bar);
}

void COXCustomizeToolbarsPage::OnButtonResetAll() {
    COXCustomizeCommandsPage* commands = GetCommandsPage();
    if (!commands)
        return;
    for (INT_PTR i = 0; i < m_arrToolbars.GetSize(); ++i)
        commands->LoadToolbarState(m_arrToolbars[i].pToolbar);
}

BOOL COXCustomizeToolbarsPage::OnManagerClose(BOOL bIsOk) {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    if (!bIsOk || m_sProfileName.IsEmpty())
        return TRUE;
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt(m_sProfileName, kCoolLook, m_bCoolLook);
    app->WriteProfileInt(m_sProfileName, kShowTooltips, m_bShowTooltips);
    app->WriteProfileInt(m_sProfileName, kShowGripper, m_bShowGripper);
    app->WriteProfileInt(m_sProfileName, kBorderSize, (int)m_nBorderSize);
    for (int n = 0;; ++n) {
        CString name = GetNewToolbarName(n);
        if (app->GetProfileInt(m_sProfileName, ValueName(name, "_ID"), 0) == 0)
            break;
        app->WriteProfileString(m_sProfileName, ValueName(name, "_ID"), nullptr);
        app->WriteProfileString(m_sProfileName, ValueName(name, "_Title"), nullptr);
    }
    int number = 0;
    for (INT_PTR i = 0; i < m_arrToolbars.GetSize(); ++i) {
        if (!m_arrToolbars[i].bCustomMade)
            continue;
        CMFCToolBar* bar = m_arrToolbars[i].pToolbar;
        CString name = GetNewToolbarName(number++);
        CString title;
        bar->GetWindowText(title);
        app->WriteProfileInt(m_sProfileName, ValueName(name, "_ID"), bar->GetDlgCtrlID());
        app->WriteProfileString(m_sProfileName, ValueName(name, "_Title"), title);
    }
    return TRUE;
}
