#include "guilib/customize/OXCustomizeShortkeysPage.h"

#include "guilib/customize/OXCustomizePagesResources.h"
#include "guilib/skins/MFCToolBar.h"
#include "guilib/skins/OXBitmapMenu.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/controls/ComboBox.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/framework/window/DataExchange.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/ImageList.h"
#include "platform/user/Shell.h"
#include "platform/user/TreeView.h"

LRESULT COXInteractiveHotKeyCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHotKeyCtrl::WindowProc(message, wParam, lParam);
    if (message != WM_SETFOCUS && message != WM_KILLFOCUS && message != WM_KEYDOWN)
        return result;
    HWND self = m_hWnd;
    HWND parent = self && ::IsWindow(self) ? ::GetParent(self) : nullptr;
    if (!parent)
        return result;
    const UINT id = (UINT)::GetDlgCtrlID(self);
    if (message == WM_KEYDOWN) {
        NMKEY key{};
        key.hdr = NMHDR{self, id, (UINT)NM_KEYDOWN};
        key.nVKey = (UINT)wParam;
        key.uFlags = HIWORD(lParam);
        ::SendMessage(parent, WM_NOTIFY, id, (LPARAM)&key);
    } else {
        NMHDR hdr{self, id, (UINT)(message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS)};
        ::SendMessage(parent, WM_NOTIFY, id, (LPARAM)&hdr);
    }
    return result;
}

IMPLEMENT_DYNAMIC(COXCustomizeShortkeysPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeShortkeysPage, COXCustomizePage)
ON_CONTROL(CBN_SELCHANGE, IDC_OX_COMBO_TABLES, OnTableChange)
ON_NOTIFY(TVN_SELCHANGED, IDC_OX_TREE_COMMANDS, OnTreeSelChanged)
ON_NOTIFY(NM_KEYDOWN, IDC_OX_HOTKEY, OnHotKeyDown)
ON_CONTROL(LBN_SELCHANGE, IDC_OX_LIST_KEYS, OnKeySelChange)
ON_BN_CLICKED(IDC_OX_BUTTON_ASSIGN, OnAssign)
ON_BN_CLICKED(IDC_OX_BUTTON_REMOVE, OnRemove)
ON_BN_CLICKED(IDC_OX_BUTTON_REMOVE_ALL, OnRemoveAll)
ON_BN_CLICKED(IDC_OX_BUTTON_RESET_ALL, OnResetAll)
END_MESSAGE_MAP()

namespace {
constexpr UINT kGroupData = 0xFFFFFFFF;
constexpr UINT kMenuResource = 127;
constexpr UINT kFirstRecentFile = 57616, kLastRecentFile = 57631, kFirstMDIChild = 65280;

// The command's string resource, FALSE when no module has it.
BOOL CommandString(UINT id, CString& text) {
    char buffer[1024] = {};
    if (::LoadString(nullptr, id, buffer, sizeof buffer) <= 0)
        return FALSE;
    text = buffer;
    return TRUE;
}

bool IsMDIMain() { return dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()) != nullptr; }

// Every multi-document template that has a shared menu, in the application's order.
std::vector<CMultiDocTemplate*> MenuTemplates() {
    std::vector<CMultiDocTemplate*> found;
    CWinApp* app = AfxGetApp();
    if (!app)
        return found;
    POSITION pos = app->GetFirstDocTemplatePosition();
    while (pos)
        if (auto* tmpl = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos)); tmpl && tmpl->m_hMenuShared)
            found.push_back(tmpl);
    return found;
}

// The text a menu item shows: a bitmap menu's own text for its owner-drawn items, else the menu string.
CString MenuItemText(HMENU menu, int position) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    if (::GetMenuItemInfo(menu, (UINT)position, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) && mii.dwItemData)
        if (auto* bitmapMenu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(menu)))
            for (COXItemInfo* info : bitmapMenu->GetItemInfos())
                if ((ULONG_PTR)info == mii.dwItemData)
                    return info->GetText();
    char buffer[512] = {};
    ::GetMenuString(menu, (UINT)position, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}
}  // namespace

COXCustomizeShortkeysPage::COXCustomizeShortkeysPage() {
    OXRegisterCustomizePagesResources();
    m_nDialogID = IDD_OX_PAGE_SHORTKEYS;
    m_mapCommands.InitHashTable(17);
}

COXCustomizeShortkeysPage::~COXCustomizeShortkeysPage() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
}

CString COXCustomizeShortkeysPage::GetPageTitle() { return AfxLoadString(IDS_OX_PAGE_SHORTKEYS_TITLE); }
UINT COXCustomizeShortkeysPage::GetImageId() { return IDB_OX_PAGE_SHORTKEYS; }
CString COXCustomizeShortkeysPage::GetPageTooltip() { return AfxLoadString(IDS_OX_PAGE_SHORTKEYS_TOOLTIP); }

BYTE COXCustomizeShortkeysPage::HotKeyToAccelFlags(WORD modifiers) {
    BYTE flags = FVIRTKEY;
    if (modifiers & HOTKEYF_SHIFT)
        flags |= FSHIFT;
    if (modifiers & HOTKEYF_CONTROL)
        flags |= FCONTROL;
    if (modifiers & HOTKEYF_ALT)
        flags |= FALT;
    return flags;
}

BOOL COXCustomizeShortkeysPage::IsCommand(UINT id) const {
    if (id == 0 || (id >= kFirstRecentFile && id <= kLastRecentFile) || (id >= kFirstMDIChild && IsMDIMain()))
        return FALSE;
    CString text;
    return CommandString(id, text);
}

void COXCustomizeShortkeysPage::CollectMenuCommands(HMENU menu) {
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            CollectMenuCommands(sub);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if (IsCommand(id))
            m_mapCommands.SetAt(id, -1);
    }
}

BOOL COXCustomizeShortkeysPage::SetupPage(CFrameWnd* pFrameWnd, LPCTSTR lpszProfileName) {
    m_mapCommands.RemoveAll();
    if (IsMDIMain())
        for (CMultiDocTemplate* tmpl : MenuTemplates())
            CollectMenuCommands(tmpl->m_hMenuShared);
    if (HMENU menu = ::LoadMenu(nullptr, MAKEINTRESOURCE(kMenuResource))) {
        CollectMenuCommands(menu);
        ::DestroyMenu(menu);
    }
    std::vector<CMFCToolBar*> toolbars;
    if (pFrameWnd)
        for (POSITION pos = pFrameWnd->m_listControlBars.GetHeadPosition(); pos;)
            if (auto* bar = dynamic_cast<CMFCToolBar*>((CObject*)pFrameWnd->m_listControlBars.GetNext(pos)))
                toolbars.push_back(bar);
    for (CMFCToolBar* bar : toolbars) {
        const int count = bar->m_hWnd ? bar->GetToolBarCtrl().GetButtonCount() : 0;
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            if (bar->GetToolBarCtrl().GetButton(i, &button) && !(button.fsStyle & TBSTYLE_SEP) && button.idCommand)
                m_mapCommands.SetAt((UINT)button.idCommand, -1);
        }
    }

    // The toolbar images, then the group's and the plain command's icons.
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 10);
    for (CMFCToolBar* bar : toolbars) {
        HIMAGELIST images = bar->m_hWnd ? bar->GetToolBarCtrl().GetImageList() : nullptr;
        const int before = ImageList_GetImageCount(m_hImageList);
        const int imageCount = images ? ImageList_GetImageCount(images) : 0;
        for (int i = 0; i < imageCount; ++i)
            if (HICON icon = ImageList_GetIcon(images, i, 0)) {
                ImageList_AddIcon(m_hImageList, icon);
                ::DestroyIcon(icon);
            }
        const int count = bar->GetToolBarCtrl().GetButtonCount();
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            if (!bar->GetToolBarCtrl().GetButton(i, &button) || (button.fsStyle & TBSTYLE_SEP))
                continue;
            int image = -1;
            if (m_mapCommands.Lookup((UINT)button.idCommand, image) && image == -1 && button.iBitmap >= 0 &&
                button.iBitmap < imageCount)
                m_mapCommands.SetAt((UINT)button.idCommand, button.iBitmap + before);
        }
    }
    ImageList_AddIcon(m_hImageList, ::LoadIcon(nullptr, MAKEINTRESOURCE(IDI_OX_SHORTKEYS_GROUP)));
    ImageList_AddIcon(m_hImageList, ::LoadIcon(nullptr, MAKEINTRESOURCE(IDI_OX_SHORTKEYS_COMMAND)));

    if (!m_shortkeysOrganizer.GetFrameWnd() && pFrameWnd)
        m_shortkeysOrganizer.Attach(pFrameWnd, TRUE);
    if (lpszProfileName && *lpszProfileName) {
        m_sProfileName = lpszProfileName;
        m_shortkeysOrganizer.LoadState(m_sProfileName, TRUE);
    }
    return TRUE;
}

BOOL COXCustomizeShortkeysPage::PreTranslateMessage(MSG* pMsg) {
    if (m_shortkeysOrganizer.GetFrameWnd() && pMsg->message >= WM_KEYDOWN && pMsg->message <= 0x109) {
        BYTE flags = FVIRTKEY;
        if (::GetKeyState(VK_SHIFT) < 0)
            flags |= FSHIFT;
        if (::GetKeyState(VK_CONTROL) < 0)
            flags |= FCONTROL;
        if (::GetKeyState(VK_MENU) < 0)
            flags |= FALT;
        const WORD key = (WORD)pMsg->wParam;
        if (m_shortkeysOrganizer.FindKeyInTables(flags, key) || m_shortkeysOrganizer.FindKeyInRemovedKeys(flags, key))
            return FALSE;
    }
    return COXCustomizePage::PreTranslateMessage(pMsg);
}

void COXCustomizeShortkeysPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_TREE_COMMANDS, m_treeCommands);
    DDX_Control(pDX, IDC_OX_LIST_KEYS, m_listKeys);
    DDX_Control(pDX, IDC_OX_HOTKEY, m_hotKey);
    DDX_Control(pDX, IDC_OX_STATIC_DESCRIPTION, m_staticDescription);
    DDX_Control(pDX, IDC_OX_SEPARATOR_COMMANDS, m_sepCommands);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DESCRIPTION, m_sepDescription);
    DDX_Control(pDX, IDC_OX_SEPARATOR_SHORTKEYS, m_sepShortkeys);
    DDX_Control(pDX, IDC_OX_SEPARATOR_CONFLICT, m_sepConflict);
    DDX_Text(pDX, IDC_OX_STATIC_CONFLICT, m_sConflict);
    DDX_Text(pDX, IDC_OX_STATIC_DESCRIPTION, m_sDescription);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_OX_COMBO_TABLES);
    if (pDX->m_bSaveAndValidate) {
        m_nAccelTableIndex = (int)::SendMessage(combo, CB_GETCURSEL, 0, 0);
        m_nShortkeyIndex = m_listKeys.m_hWnd ? m_listKeys.GetCurSel() : -1;
    } else {
        ::SendMessage(combo, CB_SETCURSEL, (WPARAM)m_nAccelTableIndex, 0);
        if (m_listKeys.m_hWnd)
            m_listKeys.SetCurSel(m_nShortkeyIndex);
    }
}

HTREEITEM COXCustomizeShortkeysPage::FindChild(HTREEITEM parent, const CString& text) const {
    for (HTREEITEM child = m_treeCommands.GetChildItem(parent); child; child = m_treeCommands.GetNextSiblingItem(child))
        if (m_treeCommands.GetItemText(child).CompareNoCase(text) == 0)
            return child;
    return nullptr;
}

void COXCustomizeShortkeysPage::WalkMenu(HMENU menu, HTREEITEM parent) {
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    const int groupImage = m_hImageList ? ImageList_GetImageCount(m_hImageList) - 2 : -1;
    const int commandImage = groupImage + 1;
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        const UINT id = sub ? 0 : ::GetMenuItemID(menu, i);
        if (!sub && !IsCommand(id))
            continue;  // separators among them
        CString text = MenuItemText(menu, i);
        if (int tab = text.Find('\t'); tab >= 0)
            text = text.Left(tab);
        if (int amp = text.Find('&'); amp >= 0)
            text.Delete(amp);
        HTREEITEM item = FindChild(parent, text);
        if (!item) {
            int image = commandImage;
            if (sub)
                image = groupImage;
            else if (int mapped = -1; m_mapCommands.Lookup(id, mapped) && mapped >= 0)
                image = mapped;
            item = m_treeCommands.InsertItem(text, image, image, parent);
            m_treeCommands.SetItemData(item, sub ? kGroupData : id);
        }
        if (sub) {
            m_treeCommands.SetItemState(item, TVIS_BOLD, TVIS_BOLD);
            WalkMenu(sub, item);
        }
    }
}

void COXCustomizeShortkeysPage::InitControls() {
    COXCustomizePage::InitControls();
    m_pComboTables = dynamic_cast<CComboBox*>(CWnd::FromHandle(::GetDlgItem(m_hWnd, IDC_OX_COMBO_TABLES)));
    for (COXSeparator* sep : {&m_sepCommands, &m_sepDescription, &m_sepShortkeys, &m_sepConflict})
        sep->SetTextColor(::GetSysColor(COLOR_WINDOW));

    m_treeCommands.DeleteAllItems();
    m_treeCommands.SetImageList(m_hImageList, TVSIL_NORMAL);
    if (HMENU menu = ::LoadMenu(nullptr, MAKEINTRESOURCE(kMenuResource))) {
        WalkMenu(menu, TVI_ROOT);
        ::DestroyMenu(menu);
    }
    if (IsMDIMain())
        for (CMultiDocTemplate* tmpl : MenuTemplates())
            WalkMenu(tmpl->m_hMenuShared, TVI_ROOT);

    HWND combo = ::GetDlgItem(m_hWnd, IDC_OX_COMBO_TABLES);
    ::SendMessage(combo, CB_RESETCONTENT, 0, 0);
    const std::vector<OXACCELTABLE>& tables = m_shortkeysOrganizer.GetAccelTables();
    if (tables.empty()) {
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::EnableWindow(child, FALSE);
        m_bPageDisabled = TRUE;
    } else {
        for (const OXACCELTABLE& table : tables) {
            CString name = "Main";
            if (table.m_pDocTemplate)
                table.m_pDocTemplate->GetDocString(name, CDocTemplate::docName);
            ::SendMessage(combo, CB_ADDSTRING, 0, (LPARAM)(LPCTSTR)name);
        }
    }
    m_nAccelTableIndex = tables.empty() ? -1 : 0;

    m_listKeys.SetBkColor(::GetSysColor(COLOR_WINDOW));
    for (int side : {OX_LMS_LEFT, OX_LMS_RIGHT, OX_LMS_TOP, OX_LMS_BOTTOM})
        m_LayoutManager.ConstrainChild(IDC_OX_TREE_COMMANDS, side, OX_LMT_SAME);
    for (int id : {IDC_OX_SEPARATOR_COMMANDS, IDC_OX_SEPARATOR_DESCRIPTION, IDC_OX_STATIC_DESCRIPTION}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_LEFT, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }
    for (int id : {IDC_OX_SEPARATOR_DESCRIPTION, IDC_OX_STATIC_DESCRIPTION})
        m_LayoutManager.ConstrainChild(id, OX_LMS_BOTTOM, OX_LMT_SAME);
    for (int id : {IDC_OX_SEPARATOR_SHORTKEYS, IDC_OX_STATIC_FOR, IDC_OX_COMBO_TABLES, IDC_OX_STATIC_CURRENT_KEYS,
                   IDC_OX_BUTTON_ASSIGN, IDC_OX_BUTTON_REMOVE, IDC_OX_BUTTON_REMOVE_ALL, IDC_OX_BUTTON_RESET_ALL})
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    for (int side : {OX_LMS_TOP, OX_LMS_BOTTOM, OX_LMS_RIGHT})
        m_LayoutManager.ConstrainChild(IDC_OX_LIST_KEYS, side, OX_LMT_SAME);
    for (int id : {IDC_OX_STATIC_NEW_KEY, IDC_OX_HOTKEY, IDC_OX_SEPARATOR_CONFLICT, IDC_OX_STATIC_CONFLICT}) {
        m_LayoutManager.ConstrainChild(id, OX_LMS_BOTTOM, OX_LMT_SAME);
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    }

    UpdateData(FALSE);
    RefreshKeyList();
    m_bInitialized = TRUE;
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::ReadControls() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        UpdateData(TRUE);
}

CMultiDocTemplate* COXCustomizeShortkeysPage::GetChosenTemplate() const {
    const std::vector<OXACCELTABLE>& tables = m_shortkeysOrganizer.GetAccelTables();
    if (m_nAccelTableIndex < 0 || m_nAccelTableIndex >= (int)tables.size())
        return nullptr;
    return tables[(size_t)m_nAccelTableIndex].m_pDocTemplate;
}

WORD COXCustomizeShortkeysPage::GetSelectedCommand() const {
    HTREEITEM item = m_treeCommands.m_hWnd ? m_treeCommands.GetSelectedItem() : nullptr;
    if (!item)
        return 0;
    const DWORD_PTR data = m_treeCommands.GetItemData(item);
    return data == kGroupData ? 0 : (WORD)data;
}

void COXCustomizeShortkeysPage::RefreshKeyList() {
    ReadControls();
    m_listKeys.ResetContent();
    const std::vector<OXACCELTABLE>& tables = m_shortkeysOrganizer.GetAccelTables();
    const WORD command = GetSelectedCommand();
    if (m_nAccelTableIndex < 0 || m_nAccelTableIndex >= (int)tables.size() || !command)
        return;
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), highlight = ::GetSysColor(COLOR_HIGHLIGHT),
                   highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    auto list = [&](CMultiDocTemplate* tmpl, COLORREF text, DWORD_PTR data) {
        std::vector<ACCEL> keys;
        m_shortkeysOrganizer.GetCommandAccelerators(command, tmpl, keys);
        for (const ACCEL& accel : keys) {
            const int index = m_listKeys.AddItem(COXShortkeysOrganizer::GetKeyText(&accel), OXLBI_ALL & ~(OXLBI_FONT | OXLBI_TOOLTIP | OXLBI_IMAGE | OXLBI_INDENT),
                                                 nullptr, text, window, nullptr, -1, 0, highlightText, highlight);
            if (index >= 0)
                m_listKeys.SetItemData(index, data);
        }
    };
    CMultiDocTemplate* chosen = tables[(size_t)m_nAccelTableIndex].m_pDocTemplate;
    // A document's table works over the main one: its keys show first, grey, and stay out of reach here.
    if (chosen)
        list(nullptr, RGB(128, 128, 128), (DWORD_PTR)-1);
    list(chosen, ::GetSysColor(COLOR_WINDOWTEXT), 0);
    m_nShortkeyIndex = -1;
}

void COXCustomizeShortkeysPage::UpdateEnabledStates() {
    if (m_bPageDisabled || !m_hWnd)
        return;
    const bool command = GetSelectedCommand() != 0;
    auto enable = [this](int id, bool on) {
        if (HWND h = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(h, on);
    };
    enable(IDC_OX_HOTKEY, command);
    enable(IDC_OX_BUTTON_REMOVE_ALL, command && m_listKeys.GetCount() > 0);
    enable(IDC_OX_BUTTON_RESET_ALL, !m_sProfileName.IsEmpty());
    enable(IDC_OX_BUTTON_ASSIGN, LOBYTE(LOWORD(m_hotKey.GetHotKey())) != 0);
    const int selected = m_listKeys.GetCurSel();
    enable(IDC_OX_BUTTON_REMOVE, selected >= 0 && m_listKeys.GetItemData(selected) == 0);
}

void COXCustomizeShortkeysPage::OnTableChange() {
    RefreshKeyList();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnTreeSelChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    HTREEITEM item = m_treeCommands.GetSelectedItem();
    m_sDescription.Empty();
    if (item) {
        const DWORD_PTR data = m_treeCommands.GetItemData(item);
        if (data == kGroupData) {
            m_sDescription.Format(AfxLoadString(IDS_OX_SHORTKEYS_GROUP), (LPCTSTR)m_treeCommands.GetItemText(item));
        } else if (CString text; CommandString((UINT)data, text)) {
            const int newline = text.Find('\n');
            m_sDescription = newline >= 0 ? text.Left(newline) : text;
        }
    }
    ::SetDlgItemText(m_hWnd, IDC_OX_STATIC_DESCRIPTION, m_sDescription);
    m_hotKey.SetHotKey(0, 0);
    m_sConflict.Empty();
    ::SetDlgItemText(m_hWnd, IDC_OX_STATIC_CONFLICT, m_sConflict);
    RefreshKeyList();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnHotKeyDown(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    UpdateEnabledStates();
    WORD key = 0, modifiers = 0;
    m_hotKey.GetHotKey(key, modifiers);
    m_sConflict.Empty();
    if (key) {
        const WORD command =
            m_shortkeysOrganizer.FindAccelerator(HotKeyToAccelFlags(modifiers), key, GetChosenTemplate());
        if (command) {
            if (CString text; CommandString(command, text)) {
                const int newline = text.Find('\n');
                m_sConflict.Format(AfxLoadString(IDS_OX_SHORTKEYS_ASSIGNED),
                                   (LPCTSTR)(newline >= 0 ? text.Mid(newline + 1) : text));
            } else {
                m_sConflict.Format(AfxLoadString(IDS_OX_SHORTKEYS_ASSIGNED_ID), (int)command);
            }
        }
    }
    ::SetDlgItemText(m_hWnd, IDC_OX_STATIC_CONFLICT, m_sConflict);
}

void COXCustomizeShortkeysPage::OnKeySelChange() {
    m_nShortkeyIndex = m_listKeys.GetCurSel();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnAssign() {
    ReadControls();
    WORD key = 0, modifiers = 0;
    m_hotKey.GetHotKey(key, modifiers);
    const WORD command = GetSelectedCommand();
    if (key && command)
        m_shortkeysOrganizer.SetAccelerator(HotKeyToAccelFlags(modifiers), key, command, GetChosenTemplate(), TRUE);
    m_hotKey.SetHotKey(0, 0);
    m_sConflict.Empty();
    ::SetDlgItemText(m_hWnd, IDC_OX_STATIC_CONFLICT, m_sConflict);
    RefreshKeyList();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnRemove() {
    const int selected = m_listKeys.GetCurSel();
    const WORD command = GetSelectedCommand();
    if (selected >= 0 && command && m_listKeys.GetItemData(selected) == 0) {
        CString text;
        m_listKeys.GetText(selected, text);
        ACCEL accel{};
        if (COXShortkeysOrganizer::ParseKeyText(text, &accel))
            m_shortkeysOrganizer.RemoveAccelerator(accel.fVirt, accel.key, command, GetChosenTemplate());
    }
    RefreshKeyList();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnRemoveAll() {
    if (const WORD command = GetSelectedCommand())
        m_shortkeysOrganizer.RemoveCommand(command, GetChosenTemplate());
    RefreshKeyList();
    UpdateEnabledStates();
}

void COXCustomizeShortkeysPage::OnResetAll() {
    if (m_sProfileName.IsEmpty())
        return;
    m_shortkeysOrganizer.LoadState(m_sProfileName, TRUE);
    RefreshKeyList();
    UpdateEnabledStates();
}

BOOL COXCustomizeShortkeysPage::ApplySettings() {
    if (m_hWnd && ::IsWindow(m_hWnd) && !UpdateData(TRUE))
        return FALSE;
    m_shortkeysOrganizer.Apply();
    return TRUE;
}

BOOL COXCustomizeShortkeysPage::OnManagerClose(BOOL bIsOk) {
    if (bIsOk) {
        if (!ApplySettings())
            return FALSE;
        if (!m_sProfileName.IsEmpty())
            m_shortkeysOrganizer.SaveState(m_sProfileName);
        return TRUE;
    }
    if (!m_sProfileName.IsEmpty()) {
        m_shortkeysOrganizer.LoadState(m_sProfileName, TRUE);
        if (m_bInitialized && m_hWnd && ::IsWindow(m_hWnd)) {
            RefreshKeyList();
            UpdateEnabledStates();
        }
    }
    return TRUE;
}
