#include "guilib/customize/OXCustomizeCommandsPage.h"

#include <algorithm>

#include "guilib/customize/OXButtonAppearanceDlg.h"
#include "guilib/customize/OXCommandsPageResources.h"
#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/ImageList.h"

IMPLEMENT_DYNCREATE(COXCustomizeCommandsPage, COXCustomizePage)

BEGIN_MESSAGE_MAP(COXCustomizeCommandsPage, COXCustomizePage)
ON_NOTIFY(TVN_SELCHANGED, IDC_OX_TREE_COMMANDS, OnTreeSelChanged)
ON_NOTIFY(TVN_BEGINDRAG, IDC_OX_TREE_COMMANDS, OnTreeBeginDrag)
ON_NOTIFY(OXBBN_DROPDOWN, IDC_OX_BUTTON_MODIFY_SELECTION, OnModifySelection)
ON_NOTIFY_RANGE(OX_TOOLBAR_CUSTOMIZE_NOTIFY, 0, 0xFFFF, OnToolbarButtonCustomize)
ON_NOTIFY_RANGE(OX_CUSTOMIZE_NOTIFY, 0, 0xFFFF, OnMenuItemCustomize)
ON_BN_CLICKED(IDC_OX_CHECK_SHOW_ICONS, OnCheckOption)
ON_BN_CLICKED(IDC_OX_CHECK_RECENTLY_USED, OnCheckOption)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr UINT kCommandsMenu = 127;
const char kToolbarsSection[] = "Toolbars State";
const char kRecentlyUsedSection[] = "RecentlyUsedMenuItems";
const char kShowIconsEntry[] = "ShowIconsInMenu";
const char kRecentlyUsedEntry[] = "ShowOnlyRecentlyUsedMenuItems";

CString ToolbarValueName(CToolBar* bar) {
    CString name;
    name.Format("Toolbar_ID_%d", ::GetDlgCtrlID(bar->m_hWnd));
    return name;
}

// The registry key under which a tool bar that is no cool tool bar keeps its state; FALSE when the
// application has no registry profile.
BOOL ToolbarStateKey(CString& key) {
    CWinApp* app = AfxGetApp();
    if (!app || app->m_pszRegistryKey.IsEmpty())
        return FALSE;
    key.Format("Software\\%s\\%s\\%s", (LPCTSTR)app->m_pszRegistryKey, (LPCTSTR)app->m_pszProfileName,
               kToolbarsSection);
    return TRUE;
}

// A menu text as the tree shows it: up to its first '\t', without its first '&'.
CString TreeText(CString text) {
    int tab = text.Find('\t');
    if (tab >= 0)
        text = text.Left(tab);
    int amp = text.Find('&');
    if (amp >= 0)
        text.Delete(amp, 1);
    return text;
}

// The part of a command's string after its first '\n' (empty when there is none).
CString AfterNewline(const CString& text) {
    int nl = text.Find('\n');
    return nl >= 0 ? text.Mid(nl + 1) : CString();
}

CString BeforeNewline(const CString& text) {
    int nl = text.Find('\n');
    return nl >= 0 ? text.Left(nl) : text;
}

}  // namespace

COXCustomizeCommandsPage::COXCustomizeCommandsPage() {
    OXRegisterCommandsPageResources();
    m_nDialogID = IDD_OX_PAGE_COMMANDS;
}

COXCustomizeCommandsPage::~COXCustomizeCommandsPage() {
    for (auto& [popup, level] : m_mapPopupWnds) {
        (void)level;
        delete popup;
    }
    m_mapPopupWnds.clear();
    DestroyPreviewWnd();
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_hCommandsImages)
        ImageList_Destroy(m_hCommandsImages);
    // The shared list stays with the tool bars that show it until the process ends: they may outlive
    // the page, and a bar never destroys a list it was given.
    if (m_hBoldFont)
        ::DeleteObject(m_hBoldFont);
}

UINT COXCustomizeCommandsPage::GetImageId() { return IDB_OX_CUSTOMIZE_COMMANDS; }

CFrameWnd* COXCustomizeCommandsPage::GetMainFrame() const { return dynamic_cast<CFrameWnd*>(AfxGetMainWnd()); }

std::vector<CToolBar*> COXCustomizeCommandsPage::GetFrameToolbars() const {
    std::vector<CToolBar*> bars;
    CFrameWnd* frame = GetMainFrame();
    if (!frame)
        return bars;
    POSITION pos = frame->m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* bar = dynamic_cast<CToolBar*>(static_cast<CObject*>(frame->m_listControlBars.GetNext(pos)));
        if (bar && bar->m_hWnd)
            bars.push_back(bar);
    }
    return bars;
}

std::vector<COXCoolToolBar*> COXCustomizeCommandsPage::GetFrameCoolToolbars() const {
    std::vector<COXCoolToolBar*> bars;
    for (CToolBar* bar : GetFrameToolbars())
        if (auto* cool = dynamic_cast<COXCoolToolBar*>(bar))
            bars.push_back(cool);
    return bars;
}

COXMenuBar* COXCustomizeCommandsPage::GetFrameMenuBar() const {
    for (CToolBar* bar : GetFrameToolbars())
        if (auto* menuBar = dynamic_cast<COXMenuBar*>(bar))
            return menuBar;
    return nullptr;
}

std::vector<HMENU> COXCustomizeCommandsPage::GetCommandMenus(HMENU& loaded) const {
    std::vector<HMENU> menus;
    loaded = ::LoadMenu(nullptr, MAKEINTRESOURCE(kCommandsMenu));
    if (loaded)
        menus.push_back(loaded);
    if (dynamic_cast<CMDIFrameWnd*>(GetMainFrame()) && AfxGetApp()) {
        POSITION pos = AfxGetApp()->GetFirstDocTemplatePosition();
        while (pos) {
            auto* tmpl = dynamic_cast<CMultiDocTemplate*>(AfxGetApp()->GetNextDocTemplate(pos));
            if (tmpl && tmpl->m_hMenuShared)
                menus.push_back(tmpl->m_hMenuShared);
        }
    }
    return menus;
}

BOOL COXCustomizeCommandsPage::IsSkippedCommand(UINT nCmdID) const {
    if (nCmdID >= 0xE110 && nCmdID <= 0xE11F)
        return TRUE;  // the recent files
    return nCmdID >= 0xFF00 && dynamic_cast<CMDIFrameWnd*>(GetMainFrame()) != nullptr;  // the window list
}

void COXCustomizeCommandsPage::CollectMenuCommands(HMENU hMenu) {
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(hMenu, i)) {
            CollectMenuCommands(sub);
            continue;
        }
        UINT id = ::GetMenuItemID(hMenu, i);
        if (id == 0 || id == (UINT)-1 || IsSkippedCommand(id) || m_mapCommands.count(id))
            continue;
        m_mapCommands[id] = -1;
        m_arrCommandOrder.push_back(id);
    }
}

int COXCustomizeCommandsPage::GetCommandImage(UINT nCmdID) const {
    auto it = m_mapCommands.find(nCmdID);
    return it == m_mapCommands.end() ? -1 : it->second;
}

BOOL COXCustomizeCommandsPage::SetupPage(UINT nBitmapID, COLORREF clrMask, BOOL bShowIconsInMenu,
                                         BOOL bShowOnlyRecentlyUsed, LPCTSTR lpszProfileName) {
    CFrameWnd* frame = GetMainFrame();
    if (!frame)
        return FALSE;
    // 1. The commands of the menus: the document menus first, then the frame's menu resource.
    HMENU loaded = nullptr;
    std::vector<HMENU> menus = GetCommandMenus(loaded);
    if (loaded)
        std::rotate(menus.begin(), menus.begin() + 1, menus.end());
    for (HMENU menu : menus)
        CollectMenuCommands(menu);
    if (loaded)
        ::DestroyMenu(loaded);
    // 2. The commands of the tool bars (the menu bar's buttons are menu positions, not commands).
    std::vector<CToolBar*> toolbars = GetFrameToolbars();
    for (CToolBar* bar : toolbars) {
        if (!dynamic_cast<CMFCToolBar*>(bar) || dynamic_cast<COXMenuBar*>(bar))
            continue;
        int count = (int)::SendMessage(bar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            if (!::SendMessage(bar->m_hWnd, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b) || (b.fsStyle & TBSTYLE_SEP))
                continue;
            if (!m_mapCommands.count((UINT)b.idCommand)) {
                m_mapCommands[(UINT)b.idCommand] = -1;
                m_arrCommandOrder.push_back((UINT)b.idCommand);
            }
        }
    }
    // 3. The options, the commands bitmap and the shared list with the tree's icons.
    m_bShowIconsInMenu = bShowIconsInMenu;
    m_bShowOnlyRecentlyUsed = bShowOnlyRecentlyUsed;
    if (m_hCommandsImages)
        ImageList_Destroy(m_hCommandsImages);
    m_hCommandsImages = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(nBitmapID), 16, 0, clrMask);
    if (!m_hImageList)
        m_hImageList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    else
        ImageList_Remove(m_hImageList, -1);
    if (!m_hImageList)
        return FALSE;
    for (UINT icon : {IDI_OX_CUSTOMIZE_MENU_GROUP, IDI_OX_CUSTOMIZE_NEW_MENU, IDI_OX_CUSTOMIZE_SEPARATOR,
                      IDI_OX_CUSTOMIZE_COMMAND, IDI_OX_CUSTOMIZE_CUSTOM_BUTTONS})
        ImageList_AddIcon(m_hImageList, LoadIconResource(icon));
    // 4. Every tool bar's images join the shared list; a command keeps the first image found for it.
    for (CToolBar* bar : toolbars) {
        HIMAGELIST list = (HIMAGELIST)::SendMessage(bar->m_hWnd, TB_GETIMAGELIST, 0, 0);
        if (!list || list == m_hImageList)
            continue;
        int start = ImageList_GetImageCount(m_hImageList);
        int images = ImageList_GetImageCount(list);
        for (int i = 0; i < images; ++i) {
            HICON icon = ImageList_GetIcon(list, i, ILD_NORMAL);
            if (!icon)
                return FALSE;
            ImageList_AddIcon(m_hImageList, icon);
            ::DestroyIcon(icon);
        }
        int count = (int)::SendMessage(bar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            if (!::SendMessage(bar->m_hWnd, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b) || (b.fsStyle & TBSTYLE_SEP) ||
                b.iBitmap < 0 || b.iBitmap >= images)
                continue;
            int& image = m_mapCommands[(UINT)b.idCommand];
            if (image < 0)
                image = b.iBitmap + start;
            ::SendMessage(bar->m_hWnd, TB_CHANGEBITMAP, (WPARAM)b.idCommand, MAKELPARAM(image, 0));
        }
        ::SendMessage(bar->m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)m_hImageList);
    }
    // 5. The commands bitmap's images.
    if (m_hCommandsImages)
        for (int i = 0; i < ImageList_GetImageCount(m_hCommandsImages); ++i)
            if (HICON icon = ImageList_GetIcon(m_hCommandsImages, i, ILD_NORMAL)) {
                ImageList_AddIcon(m_hImageList, icon);
                ::DestroyIcon(icon);
            }
    // 6, 7. The available buttons, the bars' styles and their saved states.
    BuildAvailableButtons();
    for (CToolBar* bar : toolbars) {
        if (auto* cool = dynamic_cast<COXCoolToolBar*>(bar)) {
            cool->SetAvailableButtons(m_arrAvailableButtons.data(), (int)m_arrAvailableButtons.size());
            cool->ModifyStyle(0, TBSTYLE_LIST);
        }
        LoadToolbarState(bar);
        int count = (int)::SendMessage(bar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            if (::SendMessage(bar->m_hWnd, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b) && !(b.fsStyle & TBSTYLE_SEP) &&
                !(b.fsStyle & TBSTYLE_AUTOSIZE))
                bar->SetButtonStyle(i, (UINT)(b.fsStyle | TBSTYLE_AUTOSIZE) | ((UINT)b.fsState << 16));
        }
    }
    // 8. The section and the options saved there.
    if (lpszProfileName && *lpszProfileName)
        m_sProfileName = lpszProfileName;
    if (!m_sProfileName.IsEmpty() && AfxGetApp()) {
        m_bShowIconsInMenu = (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kShowIconsEntry, m_bShowIconsInMenu);
        m_bShowOnlyRecentlyUsed =
            (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kRecentlyUsedEntry, m_bShowOnlyRecentlyUsed);
    }
    // 9, 10. The organizer and the recently used items.
    if (m_bShowIconsInMenu && m_bitmapMenuOrganizer.AttachFrameWnd(frame)) {
        m_bitmapMenuOrganizer.CollectToolbarImages();
        m_bitmapMenuOrganizer.SetShowOnlyRecentlyUsed(m_bShowOnlyRecentlyUsed);
    }
    m_bitmapMenuOrganizer.LoadRUState(kRecentlyUsedSection);
    return TRUE;
}

void COXCustomizeCommandsPage::BuildAvailableButtons() {
    // A command with image i goes to i - 5 when that slot is inside and free, else to the next free
    // slot; commands without an image fill the array from its end backwards. Each command is there once.
    size_t size = m_arrCommandOrder.size();
    std::vector<UINT> slots(size, 0);
    std::vector<bool> used(size, false);
    std::vector<UINT> displaced, imageless;
    for (UINT id : m_arrCommandOrder) {
        int image = GetCommandImage(id);
        if (image < 0) {
            imageless.push_back(id);
            continue;
        }
        int at = image - OX_CMDPAGE_FIRST_IMAGE;
        if (at >= 0 && at < (int)size && !used[(size_t)at]) {
            slots[(size_t)at] = id;
            used[(size_t)at] = true;
        } else {
            displaced.push_back(id);
        }
    }
    for (UINT id : displaced) {
        int image = GetCommandImage(id) - OX_CMDPAGE_FIRST_IMAGE;
        size_t start = image < 0 ? 0 : std::min((size_t)image, size);
        for (size_t n = 0; n < size; ++n) {
            size_t at = (start + n) % size;
            if (!used[at]) {
                slots[at] = id;
                used[at] = true;
                break;
            }
        }
    }
    size_t back = size;
    for (UINT id : imageless) {
        while (back > 0 && used[back - 1])
            --back;
        if (back == 0)
            break;
        slots[--back] = id;
        used[back] = true;
    }
    m_arrAvailableButtons = slots;
}

void COXCustomizeCommandsPage::SetAvailableButtonsOnToolbars() {
    for (COXCoolToolBar* bar : GetFrameCoolToolbars())
        bar->SetAvailableButtons(m_arrAvailableButtons.data(), (int)m_arrAvailableButtons.size());
}

BOOL COXCustomizeCommandsPage::SaveToolbarState(CToolBar* pToolbar) {
    if (!pToolbar || !pToolbar->m_hWnd)
        return FALSE;
    if (auto* cool = dynamic_cast<COXCoolToolBar*>(pToolbar))
        return cool->SaveBarState(kToolbarsSection, ToolbarValueName(pToolbar), TRUE);
    CString key;
    if (!ToolbarStateKey(key))
        return FALSE;
    pToolbar->GetToolBarCtrl().SaveState(HKEY_CURRENT_USER, key, ToolbarValueName(pToolbar));
    return TRUE;
}

BOOL COXCustomizeCommandsPage::LoadToolbarState(CToolBar* pToolbar) {
    if (!pToolbar || !pToolbar->m_hWnd)
        return FALSE;
    if (auto* cool = dynamic_cast<COXCoolToolBar*>(pToolbar))
        return cool->LoadBarState(kToolbarsSection, ToolbarValueName(pToolbar), TRUE);
    CString key;
    if (!ToolbarStateKey(key))
        return FALSE;
    pToolbar->GetToolBarCtrl().RestoreState(HKEY_CURRENT_USER, key, ToolbarValueName(pToolbar));
    return TRUE;
}

void COXCustomizeCommandsPage::PrepareToolbarForCustomize(CToolBar* pToolbar) {
    if (!pToolbar || !pToolbar->m_hWnd)
        return;
    ::SendMessage(pToolbar->m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)m_hImageList);
    if (auto* cool = dynamic_cast<COXCoolToolBar*>(pToolbar)) {
        cool->SetAvailableButtons(m_arrAvailableButtons.data(), (int)m_arrAvailableButtons.size());
        cool->ModifyStyle(0, TBSTYLE_LIST);
        cool->SetSizes(SIZE{23, 22}, SIZE{16, 16});
        ::SendMessage(cool->m_hWnd, TB_AUTOSIZE, 0, 0);
    }
}

BOOL COXCustomizeCommandsPage::AddCommandFromResource(UINT nCmdID, UINT nTextID, int nImageIndex,
                                                      UINT nDescriptionID) {
    return AddCommand(nCmdID, AfxLoadString(nTextID), nImageIndex, AfxLoadString(nDescriptionID));
}

BOOL COXCustomizeCommandsPage::AddCommand(UINT nCmdID, LPCTSTR lpszText, int nImageIndex, LPCTSTR lpszDescription) {
    m_mapCommandText[nCmdID] = lpszText ? lpszText : "";
    m_mapCommandDescription[nCmdID] = lpszDescription ? lpszDescription : "";
    auto it = m_mapCommands.find(nCmdID);
    if (it == m_mapCommands.end()) {
        m_mapCommands[nCmdID] = nImageIndex;
        m_arrCommandOrder.push_back(nCmdID);
    } else if (it->second < 0) {
        it->second = nImageIndex;
    }
    BuildAvailableButtons();
    SetAvailableButtonsOnToolbars();
    return TRUE;
}

BOOL COXCustomizeCommandsPage::HasCommand(UINT nCmdID) { return m_mapCommandText.count(nCmdID) != 0; }

BOOL COXCustomizeCommandsPage::GetCommandInfo(UINT nCmdID, CString& sText, int& nImageIndex, CString& sDescription) {
    if (!HasCommand(nCmdID)) {
        sText.Empty();
        sDescription.Empty();
        nImageIndex = -1;
        return FALSE;
    }
    sText = m_mapCommandText[nCmdID];
    sDescription = m_mapCommandDescription[nCmdID];
    nImageIndex = GetCommandImage(nCmdID);
    return TRUE;
}

// ---- The page window

void COXCustomizeCommandsPage::DoDataExchange(CDataExchange* pDX) {
    COXCustomizePage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_SEPARATOR_DESCRIPTION, m_sepDescription);
    DDX_Control(pDX, IDC_OX_SEPARATOR_COMMANDS, m_sepCommands);
    DDX_Control(pDX, IDC_OX_SEPARATOR_OPTIONS, m_sepOptions);
    DDX_Control(pDX, IDC_OX_BUTTON_MODIFY_SELECTION, m_btnModifySelection);
    DDX_Control(pDX, IDC_OX_TREE_COMMANDS, m_treeCommands);
    DDX_Text(pDX, IDC_OX_STATIC_DESCRIPTION, m_sDescription);
    DDX_Check(pDX, IDC_OX_CHECK_SHOW_ICONS, m_bShowIconsInMenu);
    DDX_Check(pDX, IDC_OX_CHECK_RECENTLY_USED, m_bShowOnlyRecentlyUsed);
}

void COXCustomizeCommandsPage::InitControls() {
    if (!m_sProfileName.IsEmpty() && AfxGetApp()) {
        m_bShowIconsInMenu = (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kShowIconsEntry, m_bShowIconsInMenu);
        m_bShowOnlyRecentlyUsed =
            (BOOL)AfxGetApp()->GetProfileInt(m_sProfileName, kRecentlyUsedEntry, m_bShowOnlyRecentlyUsed);
    }
    COXCustomizePage::InitControls();
    for (COXSeparator* sep : {&m_sepDescription, &m_sepCommands, &m_sepOptions})
        if (sep->m_hWnd)
            sep->SetTextColor(::GetSysColor(COLOR_WINDOW));
    if (m_btnModifySelection.m_hWnd) {
        m_btnModifySelection.SetStyleEx(OXBB_EX_DROPDOWN);
        m_btnModifySelection.EnableWindow(FALSE);
        LOGFONT lf{};
        HFONT font = (HFONT)::SendMessage(m_btnModifySelection.m_hWnd, WM_GETFONT, 0, 0);
        if (!font)
            font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        if (::GetObject(font, sizeof lf, &lf)) {
            lf.lfWeight = 700;
            if (m_hBoldFont)
                ::DeleteObject(m_hBoldFont);
            m_hBoldFont = ::CreateFontIndirect(&lf);
            ::SendMessage(m_btnModifySelection.m_hWnd, WM_SETFONT, (WPARAM)m_hBoldFont, TRUE);
        }
    }
    FillCommandsTree();
    m_LayoutManager.ConstrainChild(IDC_OX_TREE_COMMANDS, OX_LMS_ANY, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_COMMANDS, OX_LMS_LEFT | OX_LMS_RIGHT, OX_LMT_SAME);
    for (int id : {IDC_OX_SEPARATOR_DESCRIPTION, IDC_OX_SEPARATOR_OPTIONS, IDC_OX_STATIC_DESCRIPTION,
                   IDC_OX_BUTTON_MODIFY_SELECTION, IDC_OX_CHECK_SHOW_ICONS, IDC_OX_CHECK_RECENTLY_USED})
        m_LayoutManager.ConstrainChild(id, OX_LMS_RIGHT, OX_LMT_SAME);
    // The preview box moves with the column above it: held by its left side too, it would grow over the
    // tree, which takes the page's extra width.
    m_LayoutManager.ConstrainChild(IDC_OX_STATIC_CUSTOM_BUTTON_PREVIEW, OX_LMS_BOTTOM | OX_LMS_RIGHT, OX_LMT_SAME);
    m_bInitialized = TRUE;
}

HTREEITEM COXCustomizeCommandsPage::InsertTreeItem(const CString& sText, int nImage, DWORD_PTR nData, BOOL bBold,
                                                   HTREEITEM hParent) {
    TVINSERTSTRUCT tvi{};
    tvi.hParent = hParent;
    tvi.hInsertAfter = TVI_LAST;
    tvi.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    tvi.item.pszText = const_cast<LPTSTR>((LPCTSTR)sText);
    tvi.item.iImage = tvi.item.iSelectedImage = nImage;
    tvi.item.lParam = (LPARAM)nData;
    tvi.item.state = bBold ? TVIS_BOLD : 0;
    tvi.item.stateMask = TVIS_BOLD;
    return m_treeCommands.InsertItem(&tvi);
}

HTREEITEM COXCustomizeCommandsPage::FindChildItem(HTREEITEM hParent, const CString& sText) const {
    HTREEITEM child = hParent == TVI_ROOT ? m_treeCommands.GetRootItem() : m_treeCommands.GetChildItem(hParent);
    for (; child; child = m_treeCommands.GetNextSiblingItem(child))
        if (m_treeCommands.GetItemText(child).CompareNoCase(sText) == 0)
            return child;
    return nullptr;
}

void COXCustomizeCommandsPage::AddMenuToTree(HMENU hMenu, HTREEITEM hParent) {
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(hMenu, i);
        UINT id = sub ? (UINT)-1 : ::GetMenuItemID(hMenu, i);
        if (!sub && (id == 0 || IsSkippedCommand(id)))
            continue;
        CString text = TreeText(OXGetMenuItemText(hMenu, i));
        HTREEITEM item = FindChildItem(hParent, text);
        if (!item) {
            if (sub)
                item = InsertTreeItem(text, OX_CMDPAGE_IMAGE_GROUP, OX_CMDPAGE_MENU_GROUP, TRUE, hParent);
            else {
                int image = GetCommandImage(id);
                item = InsertTreeItem(text, image >= 0 ? image : OX_CMDPAGE_IMAGE_COMMAND, id, FALSE, hParent);
            }
        }
        if (sub && item)
            AddMenuToTree(sub, item);
    }
}

void COXCustomizeCommandsPage::FillCommandsTree() {
    if (!m_treeCommands.m_hWnd)
        return;
    m_treeCommands.DeleteAllItems();
    m_treeCommands.SetImageList(m_hImageList, TVSIL_NORMAL);
    HMENU loaded = nullptr;
    for (HMENU menu : GetCommandMenus(loaded))
        AddMenuToTree(menu, TVI_ROOT);
    if (loaded)
        ::DestroyMenu(loaded);
    AddCustomButtonsToTree();
    // Commands added by the program that no menu holds: under a group of their own.
    for (auto& [id, text] : m_mapCommandText) {
        BOOL found = FALSE;
        std::vector<HTREEITEM> stack{m_treeCommands.GetRootItem()};
        while (!stack.empty() && !found) {
            HTREEITEM item = stack.back();
            stack.pop_back();
            for (; item && !found; item = m_treeCommands.GetNextSiblingItem(item)) {
                found = m_treeCommands.GetItemData(item) == (DWORD_PTR)id;
                if (HTREEITEM child = m_treeCommands.GetChildItem(item))
                    stack.push_back(child);
            }
        }
        if (found)
            continue;
        const CString group("Commands");
        HTREEITEM parent = FindChildItem(TVI_ROOT, group);
        if (!parent)
            parent = InsertTreeItem(group, OX_CMDPAGE_IMAGE_GROUP, OX_CMDPAGE_MENU_GROUP, TRUE, TVI_ROOT);
        int image = GetCommandImage(id);
        InsertTreeItem(TreeText(text), image >= 0 ? image : OX_CMDPAGE_IMAGE_COMMAND, id, FALSE, parent);
    }
    InsertTreeItem("New Menu", OX_CMDPAGE_IMAGE_NEW_MENU, OX_CMDPAGE_NEW_MENU, TRUE, TVI_ROOT);
    InsertTreeItem("Separator", OX_CMDPAGE_IMAGE_SEPARATOR, OX_CMDPAGE_SEPARATOR, TRUE, TVI_ROOT);
}

void COXCustomizeCommandsPage::AddCustomButtonsToTree() {
    HTREEITEM group = nullptr;
    for (int i = 0; i < COXCoolToolBar::GetRegisteredCustomButtonCount(); ++i) {
        const OXCUSTOMBUTTONDESCRIPTOR* button = COXCoolToolBar::GetRegisteredCustomButton(i);
        HWND window = button ? COXCoolToolBar::CustomButtonWindow(*button) : nullptr;
        if (!window)
            continue;
        CString text = TreeText(CommandTooltipText((UINT)button->m_nID));
        if (text.IsEmpty()) {
            char className[256] = "";
            ::GetClassName(window, className, (int)sizeof className);
            text.Format("Window class '%s'", className);
        }
        if (!group)
            group = InsertTreeItem("Custom Buttons", OX_CMDPAGE_IMAGE_CUSTOM_BUTTONS, OX_CMDPAGE_CUSTOM_BUTTONS, TRUE,
                                   TVI_ROOT);
        InsertTreeItem(text, OX_CMDPAGE_IMAGE_CUSTOM_BUTTONS, (DWORD_PTR)(UINT)button->m_nID, FALSE, group);
    }
}

void COXCustomizeCommandsPage::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (!m_bInitialized)
        return;
    HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
    DestroyPreviewWnd();
    CString description;
    if (item) {
        DWORD_PTR data = m_treeCommands.GetItemData(item);
        if (data == OX_CMDPAGE_SEPARATOR)
            description = "Menu or toolbar separator";
        else if (data == OX_CMDPAGE_MENU_GROUP)
            description.Format("%s group", (LPCTSTR)m_treeCommands.GetItemText(item));
        else if (data == OX_CMDPAGE_NEW_MENU)
            description = "New menu group";
        else if (data == OX_CMDPAGE_CUSTOM_BUTTONS)
            description = "Set of toolbars' Custom Buttons";
        else
            description = BeforeNewline(AfxLoadString((UINT)data));
        HTREEITEM parent = m_treeCommands.GetParentItem(item);
        if (description.IsEmpty() && parent && m_treeCommands.GetItemData(parent) == OX_CMDPAGE_CUSTOM_BUTTONS)
            description = "Custom Button";
    }
    m_sDescription = description;
    ::SetDlgItemText(m_hWnd, IDC_OX_STATIC_DESCRIPTION, m_sDescription);
}

CString COXCustomizeCommandsPage::CommandTooltipText(UINT nCmdID) const {
    return AfterNewline(AfxLoadString(nCmdID));
}

HMENU COXCustomizeCommandsPage::BuildGroupMenu(HTREEITEM hGroup) {
    HMENU menu = ::CreatePopupMenu();
    for (HTREEITEM child = m_treeCommands.GetChildItem(hGroup); child;
         child = m_treeCommands.GetNextSiblingItem(child)) {
        DWORD_PTR data = m_treeCommands.GetItemData(child);
        CString text = m_treeCommands.GetItemText(child);
        if (data == OX_CMDPAGE_SEPARATOR) {
            ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        } else if (data == OX_CMDPAGE_MENU_GROUP) {
            ::AppendMenu(menu, MF_POPUP | MF_STRING, (UINT_PTR)BuildGroupMenu(child), text);
        } else if (data != OX_CMDPAGE_NEW_MENU && data != OX_CMDPAGE_CUSTOM_BUTTONS) {
            CString itemText = CommandTooltipText((UINT)data);
            ::AppendMenu(menu, MF_STRING, (UINT_PTR)data, itemText.IsEmpty() ? text : itemText);
        }
    }
    return menu;
}

COleDataSource* COXCustomizeCommandsPage::CreateDragDataSource(HTREEITEM hItem) {
    if (!hItem)
        return nullptr;
    DWORD_PTR data = m_treeCommands.GetItemData(hItem);
    CString text = m_treeCommands.GetItemText(hItem);
    const BYTE menuStyle = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
    if (data == OX_CMDPAGE_CUSTOM_BUTTONS)
        return nullptr;
    if (data == OX_CMDPAGE_SEPARATOR)
        return CreateCommandDataSource("", -1, 0, TBSTYLE_SEP);
    if (data == OX_CMDPAGE_NEW_MENU)
        return CreateCommandDataSource("New Menu", -1, OX_DRAG_POPUP, menuStyle);
    if (data == OX_CMDPAGE_MENU_GROUP) {
        HMENU menu = BuildGroupMenu(hItem);
        COleDataSource* source = CreateCommandDataSource(text, -1, OX_DRAG_POPUP, menuStyle, menu);
        ::DestroyMenu(menu);
        return source;
    }
    CString itemText = CommandTooltipText((UINT)data);
    return CreateCommandDataSource(itemText.IsEmpty() ? text : itemText, GetCommandImage((UINT)data), (UINT)data, 0);
}

void COXCustomizeCommandsPage::OnTreeBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
    if (!item)
        return;
    m_treeCommands.SelectItem(item);
    COleDataSource* source = CreateDragDataSource(item);
    if (!source)
        return;
    COleDropSource dropSource;
    StartCommandDragDrop(source, &dropSource);
    delete source;
}

void COXCustomizeCommandsPage::OnCheckOption() { UpdateData(TRUE); }

void COXCustomizeCommandsPage::OnSize(UINT, int, int) {
    Default();
}

void COXCustomizeCommandsPage::DestroyPreviewWnd() {
    if (!m_pPreviewWnd)
        return;
    if (m_pPreviewWnd->m_hWnd)
        m_pPreviewWnd->DestroyWindow();
    delete m_pPreviewWnd;
    m_pPreviewWnd = nullptr;
}

// ---- Showing, hiding, closing

BOOL COXCustomizeCommandsPage::ShowInManager(COXCustomizeManager* pCustomizeManager) {
    if (!COXCustomizePage::ShowInManager(pCustomizeManager))
        return FALSE;
    for (COXCoolToolBar* bar : GetFrameCoolToolbars())
        bar->SetCustomizeMode(TRUE, this);
    m_bitmapMenuOrganizer.SetCustomizeMode(TRUE, this);
    ClearSelection();
    return TRUE;
}

void COXCustomizeCommandsPage::HidePage() {
    for (COXCoolToolBar* bar : GetFrameCoolToolbars())
        bar->SetCustomizeMode(FALSE);
    CloseOpenPopups(0);
    ClearSelection();
    m_bitmapMenuOrganizer.SetCustomizeMode(FALSE, nullptr);
    COXCustomizePage::HidePage();
}

BOOL COXCustomizeCommandsPage::SaveState() {
    m_bitmapMenuOrganizer.SaveRUState(kRecentlyUsedSection);
    m_bitmapMenuOrganizer.Empty(TRUE);
    for (CToolBar* bar : GetFrameToolbars())
        if (dynamic_cast<CMFCToolBar*>(bar))
            SaveToolbarState(bar);
    return TRUE;
}

BOOL COXCustomizeCommandsPage::OnManagerClose(BOOL bIsOk) {
    CloseOpenPopups(0);
    ClearSelection();
    SaveState();
    if (!bIsOk) {
        // Saving emptied the organizer's images: the menus get them back.
        if (m_bitmapMenuOrganizer.GetFrameWnd())
            m_bitmapMenuOrganizer.CollectToolbarImages();
        return TRUE;
    }
    if (m_hWnd && !UpdateData(TRUE))
        return FALSE;
    if (!m_sProfileName.IsEmpty() && AfxGetApp()) {
        AfxGetApp()->WriteProfileInt(m_sProfileName, kShowIconsEntry, m_bShowIconsInMenu);
        AfxGetApp()->WriteProfileInt(m_sProfileName, kRecentlyUsedEntry, m_bShowOnlyRecentlyUsed);
    }
    if (m_bitmapMenuOrganizer.GetFrameWnd())
        m_bitmapMenuOrganizer.DetachFrameWnd();
    if (m_bShowIconsInMenu && m_bitmapMenuOrganizer.AttachFrameWnd(GetMainFrame())) {
        m_bitmapMenuOrganizer.CollectToolbarImages();
        m_bitmapMenuOrganizer.SetShowOnlyRecentlyUsed(m_bShowOnlyRecentlyUsed);
    }
    return TRUE;
}
