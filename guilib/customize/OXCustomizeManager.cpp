#include "guilib/customize/OXCustomizeManager.h"

#include <cstdlib>
#include <cstring>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/customize/OXCustomizeManagerResources.h"
#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(COXCustomizeManager, CDialog)

BEGIN_MESSAGE_MAP(COXCustomizeManager, CDialog)
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_OX_BUTTON_APPLY, OnButtonApply)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
ON_NOTIFY(OXNotifyShortcutBarSelectItem, IDC_OX_SHB_PAGES, OnSelectItem)
ON_NOTIFY(OXNotifyShortcutBarGetItemTip, IDC_OX_SHB_PAGES, OnGetItemTip)
END_MESSAGE_MAP()

namespace {
constexpr int kMinTrackWidth = 520;
constexpr int kMinTrackHeight = 450;
constexpr DWORD kShortcutBarStyle = 0x5D3;

// Moves a page window into the page rectangle, with repaint.
void MoveIntoRect(CWnd* page, const RECT& rect) {
    page->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

DWORD PagePosition(HSHBGROUP group, int item) {
    return (DWORD)(((UINT_PTR)group << 16) + (UINT_PTR)item);
}
}  // namespace

COXCustomizeManager::COXCustomizeManager() : CDialog(IDD_CUSTOMIZEMANAGER) {
    OXRegisterCustomizeManagerResources();
    m_ilShortcutBar = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 0, 0);
    m_mapPages.SetAt(&m_tabbedMDIPage, TABBEDMDI);
    m_mapPages.SetAt(&m_toolbarsPage, TOOLBARS);
    m_mapPages.SetAt(&m_commandsPage, COMMANDS);
    m_mapPages.SetAt(&m_backgroundPage, BACKGROUND_PAINTER);
    m_mapPages.SetAt(&m_coolControlsPage, COOLCONTROLS);
    m_mapPages.SetAt(&m_trayIconPage, TRAYICON);
    m_mapPages.SetAt(&m_instanceManagerPage, INSTANCE_MANAGER);
    m_mapPages.SetAt(&m_splashWindowPage, SPLASHWINDOW);
    m_mapPages.SetAt(&m_shortkeysPage, SHORTKEYS);
}

BOOL COXCustomizeManager::SetupTrayIconPage(UINT nDefaultIconID, UINT nContextMenuID, LPCTSTR lpszTooltipText,
                                            BOOL bShowTrayIcon, BOOL bUseRightClick,
                                            LPCTSTR lpszIconSourceFileName, LPCTSTR lpszProfileName) {
    // The program's own icon resource; the platform's LoadIcon would stand a system icon in for it.
    HICON icon = LoadIconResource(nDefaultIconID);
    if (!icon)
        return FALSE;
    return SetupTrayIconPage(icon, nContextMenuID, lpszTooltipText, bShowTrayIcon, bUseRightClick,
                             lpszIconSourceFileName, lpszProfileName);
}

BOOL COXCustomizeManager::SetupBackgroundPageFromResource(BOOL bPaintBackground, BOOL bOnlyClientArea,
                                                          LPCTSTR lpszResourceName, PaintType paintType,
                                                          COLORREF clrBk, LPCTSTR lpszProfileName) {
    UINT id = 0;
    if (IS_INTRESOURCE(lpszResourceName)) {
        id = (UINT)(UINT_PTR)lpszResourceName;
    } else if (lpszResourceName[0] == '#') {
        char* end = nullptr;
        unsigned long number = std::strtoul(lpszResourceName + 1, &end, 10);
        if (end == lpszResourceName + 1 || *end || number == 0 || number > 0xFFFF)
            return FALSE;
        id = (UINT)number;
    } else {
        return FALSE;
    }
    return SetupBackgroundPageFromResourceId(bPaintBackground, bOnlyClientArea, id, paintType, clrBk,
                                             lpszProfileName);
}

COXCustomizeManager::~COXCustomizeManager() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_ilShortcutBar)
        ImageList_Destroy(m_ilShortcutBar);
}

void COXCustomizeManager::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OX_SEPARATOR_TOP, m_sepTop);
    DDX_Control(pDX, IDC_OX_SEPARATOR_BOTTOM, m_sepBottom);
    DDX_Control(pDX, IDC_OX_SHB_PAGES, m_shb);
    DDX_Control(pDX, IDC_OX_STATIC_TITLE, m_title);
}

BOOL COXCustomizeManager::OnInitDialog() {
    CDialog::OnInitDialog();

    m_shb.SetBarStyle(kShortcutBarStyle);

    m_title.SetTextColor(::GetSysColor(COLOR_CAPTIONTEXT));
    m_title.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    m_title.SetDisplayFlag(1);
    if (!m_fontTitle.GetSafeHandle())
        m_fontTitle.CreatePointFont(120, "MS Sans Serif");
    m_title.SetTextFont(&m_fontTitle);

    if (m_LayoutManager.GetContainer())
        m_LayoutManager.Detach();
    m_LayoutManager.Attach(this);
    m_LayoutManager.ConstrainChild(IDC_OX_SHB_PAGES, OX_LMS_TOP | OX_LMS_BOTTOM, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_STATIC_TITLE, OX_LMS_LEFT | OX_LMS_RIGHT, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_TOP, OX_LMS_LEFT | OX_LMS_RIGHT, OX_LMT_SAME);
    m_LayoutManager.ConstrainChild(IDC_OX_SEPARATOR_BOTTOM, OX_LMS_BOTTOM | OX_LMS_LEFT | OX_LMS_RIGHT,
                                   OX_LMT_SAME);
    for (int id : {IDOK, IDCANCEL, IDC_OX_BUTTON_APPLY})
        m_LayoutManager.ConstrainChild(id, OX_LMS_BOTTOM | OX_LMS_RIGHT, OX_LMT_SAME);

    PopulateShortcutBar();

    for (int order = 0; order < m_shb.GetGroupCount(); ++order)
        if (HSHBGROUP group = m_shb.FindGroupByOrder(order))
            m_shb.SortGroupItems(group);

    if (HSHBGROUP first = m_shb.FindGroupByOrder(0))
        if (COXCustomizePage* page = GetPageAt(first, 0))
            ActivatePageObject(page);

    // The activation placed the page by the rectangle of the previous opening: put it right.
    CalcPageRect();
    if (m_pActivePage && m_pActivePage->GetSafeHwnd())
        MoveIntoRect(m_pActivePage, m_rectPage);

    m_bInitialized = TRUE;
    return FALSE;
}

BOOL COXCustomizeManager::PopulateShortcutBar() {
    POSITION pos = m_mapPages.GetStartPosition();
    while (pos) {
        COXCustomizePage* page = nullptr;
        DWORD index = 0;
        m_mapPages.GetNextAssoc(pos, page, index);
        if (!IsPageIncluded(index))
            continue;
        HSHBGROUP group = m_shb.FindGroupByText(page->GetGroupName());
        int item = group ? m_shb.GetGroupItemCount(group) : 0;
        AddPageToShortcutBar(page, item < 0 ? 0 : item);
    }
    return TRUE;
}

BOOL COXCustomizeManager::AddPageToShortcutBar(COXCustomizePage* pCustomizePage, int nItem) {
    if (!pCustomizePage || !m_shb.GetSafeHwnd())
        return FALSE;
    CString title = pCustomizePage->GetPageTitle();
    UINT imageId = pCustomizePage->GetImageId();
    COLORREF mask = pCustomizePage->GetImageMaskColor();
    CString tooltip = pCustomizePage->GetPageTooltip();
    CString groupName = pCustomizePage->GetGroupName();

    HSHBGROUP group = m_shb.FindGroupByText(groupName);
    bool created = false;
    if (!group) {
        group = m_shb.InsertGroup(groupName);
        if (!group)
            return FALSE;
        created = true;
    }
    auto fail = [&] {
        if (created)
            m_shb.DeleteGroup(group);
        return FALSE;
    };
    m_shb.SetGroupImageList(group, m_ilShortcutBar, LVSIL_NORMAL);

    int image = -1;
    if (imageId != 0) {
        HIMAGELIST strip = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(imageId), 32, 0, mask);
        if (!strip)
            return fail();
        HICON icon = ImageList_GetIcon(strip, 0, ILD_NORMAL);
        image = icon ? ImageList_AddIcon(m_ilShortcutBar, icon) : -1;
        if (icon)
            ::DestroyIcon(icon);
        ImageList_Destroy(strip);
    }

    int inserted = m_shb.InsertGroupItem(group, LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, nItem, title, 0, 0, image,
                                         (LPARAM)pCustomizePage);
    if (inserted < 0)
        return fail();
    m_mapPageItems.SetAt(pCustomizePage, PagePosition(group, inserted));
    m_mapTooltips.SetAt(pCustomizePage, tooltip);
    return TRUE;
}

BOOL COXCustomizeManager::RemovePageFromShortcutBar(COXCustomizePage* pCustomizePage) {
    HSHBGROUP group = nullptr;
    int item = -1;
    if (!FindPageInShortcutBar(pCustomizePage, group, item))
        return FALSE;
    if (!m_shb.DeleteGroupItem(group, item))
        return FALSE;
    m_mapTooltips.RemoveKey(pCustomizePage);
    return TRUE;
}

COXCustomizePage* COXCustomizeManager::GetPageAt(HSHBGROUP hGroup, int nItem) const {
    COXSHBListCtrl* list = m_shb.GetGroupListCtrl(hGroup);
    if (!list || !list->GetSafeHwnd() || nItem < 0 || nItem >= list->GetItemCount())
        return nullptr;
    return reinterpret_cast<COXCustomizePage*>(list->GetItemData(nItem));
}

BOOL COXCustomizeManager::FindPageInShortcutBar(COXCustomizePage* pCustomizePage, HSHBGROUP& hGroup,
                                                int& nItem) const {
    if (!m_shb.GetSafeHwnd())
        return FALSE;
    for (int order = 0; order < m_shb.GetGroupCount(); ++order) {
        HSHBGROUP group = m_shb.FindGroupByOrder(order);
        COXSHBListCtrl* list = group ? m_shb.GetGroupListCtrl(group) : nullptr;
        if (!list || !list->GetSafeHwnd())
            continue;
        LVFINDINFO find{};
        find.flags = LVFI_PARAM;
        find.lParam = (LPARAM)pCustomizePage;
        int found = (int)list->SendMessage(LVM_FINDITEM, (WPARAM)-1, (LPARAM)&find);
        if (found >= 0) {
            hGroup = group;
            nItem = found;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL COXCustomizeManager::ActivatePageObject(COXCustomizePage* pCustomizePage) {
    HSHBGROUP group = nullptr;
    int item = -1;
    if (!FindPageInShortcutBar(pCustomizePage, group, item))
        return FALSE;
    return ActivatePageAt(group, item);
}

BOOL COXCustomizeManager::ActivatePage(DWORD index) {
    POSITION pos = m_mapPages.GetStartPosition();
    while (pos) {
        COXCustomizePage* page = nullptr;
        DWORD pageIndex = 0;
        m_mapPages.GetNextAssoc(pos, page, pageIndex);
        if (pageIndex == index)
            return ActivatePageObject(page);
    }
    return FALSE;
}

BOOL COXCustomizeManager::ActivatePageAt(HSHBGROUP hGroup, int nItem) {
    COXCustomizePage* page = GetPageAt(hGroup, nItem);
    if (!page)
        return FALSE;
    if (page == m_pActivePage)
        return TRUE;

    if (m_pActivePage) {
        HSHBGROUP oldGroup = nullptr;
        int oldItem = -1;
        if (FindPageInShortcutBar(m_pActivePage, oldGroup, oldItem) && oldGroup != hGroup)
            if (COXSHBListCtrl* oldList = m_shb.GetGroupListCtrl(oldGroup))
                oldList->SelectItem(-1);
        m_pActivePage->HidePage();
        m_pActivePage = nullptr;
    }

    if (!page->ShowInManager(this))
        return FALSE;
    MoveIntoRect(page, m_rectPage);
    page->SetFocus();
    m_pActivePage = page;

    COXSHBListCtrl* list = m_shb.GetGroupListCtrl(hGroup);
    m_shb.ExpandGroup(hGroup);
    if (list) {
        list->SelectItem(nItem);
        list->EnsureVisible(nItem);
        SetDlgItemText(IDC_OX_STATIC_TITLE, list->GetItemText(nItem, 0));
    }
    if (CWnd* apply = GetDlgItem(IDC_OX_BUTTON_APPLY))
        apply->EnableWindow(page->CanApply());
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, 0, 0, TRUE, TRUE);
    return list && list->GetSelectedItem() == nItem;
}

BOOL COXCustomizeManager::SaveAllPagesState() {
    POSITION pos = m_mapPages.GetStartPosition();
    while (pos) {
        COXCustomizePage* page = nullptr;
        DWORD index = 0;
        m_mapPages.GetNextAssoc(pos, page, index);
        page->SaveState();
    }
    return TRUE;
}

BOOL COXCustomizeManager::CloseManager(BOOL bIsOk) {
    auto shown = [](COXCustomizePage* page) { return page->GetSafeHwnd() && ::IsWindow(page->m_hWnd); };
    POSITION pos = m_mapPageItems.GetStartPosition();
    while (pos) {
        COXCustomizePage* page = nullptr;
        DWORD position = 0;
        m_mapPageItems.GetNextAssoc(pos, page, position);
        if (shown(page) && !page->OnManagerClose(bIsOk)) {
            ActivatePageObject(page);
            return FALSE;
        }
    }

    if (m_pActivePage)
        m_pActivePage->HidePage();
    m_pActivePage = nullptr;
    if (m_shb.GetSafeHwnd())
        m_shb.DeleteAllGroups();

    pos = m_mapPageItems.GetStartPosition();
    while (pos) {
        COXCustomizePage* page = nullptr;
        DWORD position = 0;
        m_mapPageItems.GetNextAssoc(pos, page, position);
        if (shown(page) && !page->DestroyWindow())
            return FALSE;
    }

    m_mapPageItems.RemoveAll();
    m_mapTooltips.RemoveAll();
    m_bInitialized = FALSE;
    return TRUE;
}

void COXCustomizeManager::OnOK() {
    if (CloseManager(TRUE))
        DestroyWindow();
}

void COXCustomizeManager::OnCancel() {
    if (CloseManager(FALSE))
        DestroyWindow();
}

void COXCustomizeManager::OnButtonApply() {
    if (m_pActivePage)
        m_pActivePage->ApplySettings();
}

void COXCustomizeManager::CalcPageRect() {
    CWnd* top = GetDlgItem(IDC_OX_SEPARATOR_TOP);
    CWnd* bottom = GetDlgItem(IDC_OX_SEPARATOR_BOTTOM);
    if (!top || !bottom)
        return;
    RECT rectTop{}, rectBottom{};
    top->GetWindowRect(&rectTop);
    ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)&rectTop, 2);
    bottom->GetWindowRect(&rectBottom);
    ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)&rectBottom, 2);
    m_rectPage = RECT{rectTop.left, rectTop.bottom, rectTop.right, rectBottom.top};
}

void COXCustomizeManager::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    if (!m_bInitialized)
        return;
    CalcPageRect();
    if (m_pActivePage && m_pActivePage->GetSafeHwnd())
        MoveIntoRect(m_pActivePage, m_rectPage);
}

void COXCustomizeManager::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    CDialog::OnGetMinMaxInfo(lpMMI);
    lpMMI->ptMinTrackSize.x = kMinTrackWidth;
    lpMMI->ptMinTrackSize.y = kMinTrackHeight;
}

void COXCustomizeManager::OnDestroy() {
    CDialog::OnDestroy();
    // Destroyed without OK or Cancel (with the main frame): the shown pages close as by Cancel.
    if (m_bInitialized)
        CloseManager(FALSE);
}

LRESULT COXCustomizeManager::OnKickIdle(WPARAM wParam, LPARAM lParam) {
    if (!m_pActivePage || !m_pActivePage->GetSafeHwnd())
        return 0;
    return m_pActivePage->SendMessage(WM_KICKIDLE, wParam, lParam);
}

void COXCustomizeManager::OnSelectItem(NMHDR* pNotifyStruct, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMSHORTCUTBAR*>(pNotifyStruct);
    if (nm->nItem >= 0)
        ActivatePageAt(nm->hGroup, nm->nItem);
    *pResult = 0;
}

void COXCustomizeManager::OnGetItemTip(NMHDR* pNotifyStruct, LRESULT* pResult) {
    auto* nm = reinterpret_cast<NMSHORTCUTBAR*>(pNotifyStruct);
    auto* request = reinterpret_cast<SHBINFOTIP*>(nm->lParam);
    CString tooltip;
    if (COXCustomizePage* page = GetPageAt(nm->hGroup, nm->nItem))
        m_mapTooltips.Lookup(page, tooltip);
    if (request) {
        // At most 79 characters and the NUL in the 80-character buffer.
        size_t length = std::min<size_t>((size_t)tooltip.GetLength(), sizeof request->szText - 1);
        std::memcpy(request->szText, (LPCTSTR)tooltip, length);
        request->szText[length] = '\0';
        request->lpszText = request->szText;
    }
    *pResult = 1;
}
