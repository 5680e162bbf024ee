// The commands page's answers to what the customised tool bars, the menu bar and the bitmap menu popups
// report: the selection behind "Modify selection", menus opened from the menu bar and their submenus,
// and the appearance dialog for buttons, menu-bar items and menu items.
#include "guilib/customize/OXButtonAppearanceDlg.h"
#include "guilib/customize/OXCommandsPageResources.h"
#include "guilib/customize/OXCustomizeCommandsPage.h"
#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/frame/OXShortkeysOrganizer.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/docview/Document.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/framework/frames/MDIFrameWnd.h"
#include "platform/user/ImageList.h"

namespace {

// A selection change that the page itself causes (a bar dropping its mark) is not a user's click.
struct SelectionGuard {
    explicit SelectionGuard(BOOL& flag) : m_flag(flag), m_old(flag) { m_flag = TRUE; }
    ~SelectionGuard() { m_flag = m_old; }
    BOOL& m_flag;
    BOOL m_old;
};

BOOL s_bDroppingSelection = FALSE;

void DropSelection(COXCoolToolBar* bar) {
    if (!bar || !bar->m_hWnd)
        return;
    SelectionGuard guard(s_bDroppingSelection);
    bar->SetCustomizedButton(-1);
}

// The record of a bitmap menu's item; other menus keep none.
COXItemInfo* ItemRecord(HMENU menu, int position) {
    if (!dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(menu)))
        return nullptr;
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!menu || position < 0 || !::GetMenuItemInfo(menu, (UINT)position, TRUE, &info))
        return nullptr;
    return reinterpret_cast<COXItemInfo*>(info.dwItemData);
}

}  // namespace

void COXCustomizeCommandsPage::ClearSelection() {
    COXCoolToolBar* selected = m_pSelectedToolbar;
    m_pSelectedToolbar = nullptr;
    DropSelection(selected);
    m_nOpenMenuBarItem = -1;
    if (m_btnModifySelection.m_hWnd)
        m_btnModifySelection.EnableWindow(FALSE);
}

COXBitmapMenuPopupWnd* COXCustomizeCommandsPage::CreatePopupWnd(int nLevel) {
    auto* popup = new COXBitmapMenuPopupWnd;
    m_mapPopupWnds[popup] = nLevel;
    return popup;
}

int COXCustomizeCommandsPage::GetPopupLevel(COXBitmapMenuPopupWnd* pPopupWnd) const {
    auto it = m_mapPopupWnds.find(pPopupWnd);
    if (it == m_mapPopupWnds.end() || !pPopupWnd->m_hWnd || !::IsWindow(pPopupWnd->m_hWnd))
        return -1;
    return it->second;
}

void COXCustomizeCommandsPage::CloseOpenPopups(int nLevel) {
    for (auto it = m_mapPopupWnds.begin(); it != m_mapPopupWnds.end();) {
        COXBitmapMenuPopupWnd* popup = it->first;
        if (it->second >= nLevel && popup->m_hWnd && ::IsWindowVisible(popup->m_hWnd))
            popup->Hide();
        // A closed popup goes once it shows no menu (an item being dragged out of it keeps its menu).
        if (it->second >= nLevel && (!popup->m_hWnd || !::IsWindowVisible(popup->m_hWnd)) && !popup->GetBitmapMenu()) {
            it = m_mapPopupWnds.erase(it);
            delete popup;
        } else {
            ++it;
        }
    }
}

COXBitmapMenu* COXCustomizeCommandsPage::GetBitmapMenu(HMENU hMenu) {
    if (!hMenu)
        return nullptr;
    if (auto* menu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(hMenu)))
        return menu;
    m_bitmapMenuOrganizer.OnInitMenuPopup(CMenu::FromHandle(hMenu), 0, FALSE);
    return dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(hMenu));
}

void COXCustomizeCommandsPage::MarkMenuBarMenuChanged() {
    if (COXMenuBar* menuBar = GetFrameMenuBar())
        menuBar->MarkMenuChanged();
}

// ---- Tool bars and the menu bar

void COXCustomizeCommandsPage::OnToolbarButtonCustomize(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    auto* record = reinterpret_cast<NMCTBCUSTOMIZE*>(pNMHDR);
    auto* bar = dynamic_cast<COXCoolToolBar*>(CWnd::FromHandlePermanent(pNMHDR->hwndFrom));
    if (!bar)
        return;
    auto* menuBar = dynamic_cast<COXMenuBar*>(bar);
    int index = bar->GetCustomizedButton();
    if (menuBar)
        CloseOpenPopups(0);
    switch (record->nCustomizeEventID) {
        case OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED:
            if (s_bDroppingSelection)
                break;
            if (index == -1) {
                COXCoolToolBar* selected = m_pSelectedToolbar;
                m_pSelectedToolbar = nullptr;
                if (selected && selected != bar)
                    DropSelection(selected);
            } else if (bar != m_pSelectedToolbar) {
                COXCoolToolBar* previous = m_pSelectedToolbar;
                m_pSelectedToolbar = bar;
                DropSelection(previous);
            }
            if (m_btnModifySelection.m_hWnd)
                m_btnModifySelection.EnableWindow(m_pSelectedToolbar != nullptr);
            break;
        case ID_OXCUSTTB_DELETE:
            if (menuBar && index == m_nOpenMenuBarItem)
                m_nOpenMenuBarItem = -1;
            break;
        case ID_OXCUSTTB_APPEARANCE:
            if (menuBar)
                MenuBarItemAppearance(menuBar, index);
            else
                ToolbarButtonAppearance(bar, index);
            break;
        case ID_OXCUSTTB_MENU_REQUESTED: {
            auto* info = reinterpret_cast<OXMENUBARPOPUP*>(record->lParam);
            int item = info ? info->nItem : index;
            HMENU menu = menuBar ? menuBar->GetMenuHandle() : nullptr;
            if (!menu || item < 0 || item >= ::GetMenuItemCount(menu) || !m_bitmapMenuOrganizer.GetFrameWnd())
                break;
            if (item == m_nOpenMenuBarItem) {
                m_nOpenMenuBarItem = -1;
                break;
            }
            HMENU sub = info && info->hPopup ? info->hPopup : ::GetSubMenu(menu, item);
            COXBitmapMenu* bitmapMenu = GetBitmapMenu(sub);
            if (!bitmapMenu)
                break;
            COXBitmapMenuPopupWnd* popup = CreatePopupWnd(0);
            m_nOpenMenuBarItem = item;
            POINT at = info ? info->ptPosition : POINT{0, 0};
            popup->TrackPopupMenu(bitmapMenu, info ? info->nFlags : 0, at.x, at.y, this);
            break;
        }
        default:
            break;
    }
}

HIMAGELIST COXCustomizeCommandsPage::CreateAppearanceImages(HIMAGELIST hCurrentList, int nCurrent) const {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    if (!list)
        return nullptr;
    HICON current = hCurrentList && nCurrent >= 0 ? ImageList_GetIcon(hCurrentList, nCurrent, ILD_NORMAL) : nullptr;
    if (current) {
        ImageList_AddIcon(list, current);
        ::DestroyIcon(current);
    } else {
        ImageList_AddIcon(list, LoadIconResource(IDI_OX_CUSTOMIZE_COMMAND));
    }
    int count = m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
    for (int i = OX_CMDPAGE_FIRST_IMAGE; i < count; ++i)
        if (HICON icon = ImageList_GetIcon(m_hImageList, i, ILD_NORMAL)) {
            ImageList_AddIcon(list, icon);
            ::DestroyIcon(icon);
        }
    return list;
}

INT_PTR COXCustomizeCommandsPage::RunAppearanceDialog(COXButtonAppearanceDlg& dlg) { return dlg.DoModal(); }

int COXCustomizeCommandsPage::ChosenSharedImage(int nChosen, int nCurrent) const {
    // Image k of the dialog is shared image k + 4; 0, or one past the shared list, keeps the current image.
    if (nChosen > 0 && m_hImageList && nChosen + 4 < ImageList_GetImageCount(m_hImageList))
        return nChosen + 4;
    return nCurrent;
}

void COXCustomizeCommandsPage::ToolbarButtonAppearance(COXCoolToolBar* pToolbar, int nIndex) {
    TBBUTTON button{};
    if (nIndex < 0 || !::SendMessage(pToolbar->m_hWnd, TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return;
    // A custom button shows its entry's image and offers its sizes and where it is shown.
    const OXCUSTOMBUTTONDESCRIPTOR* custom = pToolbar->GetCustomButton(nIndex);
    COXButtonAppearanceDlg dlg(this);
    HIMAGELIST images = CreateAppearanceImages(m_hImageList, custom ? custom->m_nImageIndex : button.iBitmap);
    dlg.m_hImageList = images;
    dlg.m_nImageIndex = 0;
    if (custom) {
        OXCUSTOMBUTTONDESCRIPTOR settings = *custom;
        dlg.m_bCustomButton = TRUE;
        dlg.m_nHeight = settings.m_nHeight;
        dlg.m_nWidth = settings.m_nWidth;
        dlg.m_bHorzDocked = (settings.m_nFlags & OXCBD_SHOWHORZ) != 0;
        dlg.m_bVertDocked = (settings.m_nFlags & OXCBD_SHOWVERT) != 0;
        dlg.m_bFloating = (settings.m_nFlags & OXCBD_SHOWFLOAT) != 0;
        INT_PTR result = RunAppearanceDialog(dlg);
        if (images)
            ImageList_Destroy(images);
        if (result != IDOK)
            return;
        int flags = (dlg.m_bHorzDocked ? OXCBD_SHOWHORZ : 0) | (dlg.m_bVertDocked ? OXCBD_SHOWVERT : 0) |
                    (dlg.m_bFloating ? OXCBD_SHOWFLOAT : 0);
        int image = ChosenSharedImage(dlg.m_nImageIndex, settings.m_nImageIndex);
        if (dlg.m_nHeight == settings.m_nHeight && dlg.m_nWidth == settings.m_nWidth &&
            flags == settings.m_nFlags && image == settings.m_nImageIndex)
            return;
        settings.m_nHeight = dlg.m_nHeight;
        settings.m_nWidth = dlg.m_nWidth;
        settings.m_nFlags = flags;
        settings.m_nImageIndex = image;
        COXCoolToolBar::ApplyCustomButtonSettings(COXCoolToolBar::FindCustomButton((UINT)settings.m_nID), settings);
        return;
    }
    dlg.m_bDropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;
    CString shown = pToolbar->GetButtonText(nIndex);
    dlg.m_sText = shown;
    if (dlg.m_sText.IsEmpty())
        dlg.m_sText = pToolbar->GetStoredButtonText((UINT)button.idCommand);
    if (dlg.m_sText.IsEmpty())
        dlg.m_sText = CommandTooltipText((UINT)button.idCommand);
    dlg.m_nDisplay = shown.IsEmpty() ? 0 : 1;
    INT_PTR result = RunAppearanceDialog(dlg);
    if (images)
        ImageList_Destroy(images);
    if (result != IDOK || !::IsWindow(pToolbar->m_hWnd))
        return;
    UINT id = 0, style = 0;
    int image = 0;
    pToolbar->GetButtonInfo(nIndex, id, style, image);
    if (dlg.m_bDropDown)
        style |= TBSTYLE_DROPDOWN;
    else
        style &= ~(UINT)TBSTYLE_DROPDOWN;
    image = ChosenSharedImage(dlg.m_nImageIndex, image);
    pToolbar->SetButtonInfo(nIndex, id, style, image);
    pToolbar->SetButtonText(nIndex, dlg.m_nDisplay == 1 ? (LPCTSTR)dlg.m_sText : "");
    pToolbar->RedrawToolBar(TRUE, TRUE);
}

void COXCustomizeCommandsPage::MenuBarItemAppearance(COXMenuBar* pMenuBar, int nIndex) {
    HMENU menu = pMenuBar->GetMenuHandle();
    if (!menu || nIndex < 0 || nIndex >= ::GetMenuItemCount(menu))
        return;
    COXButtonAppearanceDlg dlg(this);
    dlg.m_sText = OXGetMenuItemText(menu, nIndex);
    dlg.m_bTextOnly = TRUE;
    dlg.m_bNoDropDown = TRUE;
    dlg.m_nDisplay = -1;
    if (RunAppearanceDialog(dlg) != IDOK || !::IsWindow(pMenuBar->m_hWnd))
        return;
    if (COXItemInfo* record = ItemRecord(menu, nIndex))
        record->SetText(dlg.m_sText);
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<LPTSTR>((LPCTSTR)dlg.m_sText);
    ::SetMenuItemInfo(menu, (UINT)nIndex, TRUE, &info);
    pMenuBar->MarkMenuChanged();
    CloseOpenPopups(0);
    m_nOpenMenuBarItem = -1;
    pMenuBar->InsertMenuItems(TRUE);
}

// ---- Bitmap menu popups

void COXCustomizeCommandsPage::OpenSubmenuPopup(COXBitmapMenuPopupWnd* pSender, int nPosition) {
    COXBitmapMenu* menu = pSender->GetBitmapMenu();
    int level = GetPopupLevel(pSender);
    if (!menu || level < 0 || nPosition < 0)
        return;
    HMENU sub = ::GetSubMenu(menu->m_hMenu, nPosition);
    if (!sub)
        return;
    for (auto& [popup, popupLevel] : m_mapPopupWnds) {
        (void)popupLevel;
        COXBitmapMenu* shown = popup->GetBitmapMenu();
        if (shown && shown->m_hMenu == sub && popup->m_hWnd && ::IsWindowVisible(popup->m_hWnd))
            return;
    }
    CloseOpenPopups(level + 1);
    COXBitmapMenu* bitmapMenu = GetBitmapMenu(sub);
    if (!bitmapMenu)
        return;
    const std::vector<RECT>& rects = pSender->GetItemRects();
    RECT item = nPosition < (int)rects.size() ? rects[(size_t)nPosition] : RECT{0, 0, 0, 0};
    POINT corner{item.right, item.top};
    ::ClientToScreen(pSender->m_hWnd, &corner);
    CreatePopupWnd(level + 1)->TrackPopupMenu(bitmapMenu, 0, corner.x, corner.y, this);
}

void COXCustomizeCommandsPage::OnMenuItemCustomize(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    auto* record = reinterpret_cast<NMBMCUSTOMIZE*>(pNMHDR);
    auto* sender = dynamic_cast<COXBitmapMenuPopupWnd*>(CWnd::FromHandlePermanent(pNMHDR->hwndFrom));
    if (!sender || !m_mapPopupWnds.count(sender))
        return;
    UINT event = record->nCustomizeEventID;
    int level = GetPopupLevel(sender);
    if (event != OX_CUSTOMIZE_SELECTION_CHANGED && event != OX_CUSTOMIZE_INSERT_MARK_CHANGED && level >= 0)
        CloseOpenPopups(level + 1);
    COXBitmapMenu* menu = sender->GetBitmapMenu();
    switch (event) {
        case OX_CUSTOMIZE_SELECTION_CHANGED:
            if (menu)
                OpenSubmenuPopup(sender, menu->GetCustomizeSelection());
            break;
        case OX_CUSTOMIZE_INSERT_MARK_CHANGED:
            if (menu && sender->m_hWnd) {
                POINT cursor{};
                ::GetCursorPos(&cursor);
                ::ScreenToClient(sender->m_hWnd, &cursor);
                OpenSubmenuPopup(sender, menu->HitTest(cursor));
            }
            break;
        case ID_OX_CUSTOMIZE_APPEARANCE:
            MenuItemAppearance(sender);
            break;
        case OX_CUSTOMIZE_ITEM_DRAGGED_OFF:
        case OX_CUSTOMIZE_DROP:
        case ID_OX_CUSTOMIZE_DELETE:
        case ID_OX_CUSTOMIZE_SEPARATOR_BEFORE:
        case ID_OX_CUSTOMIZE_SEPARATOR_AFTER:
            // The menu does the edit itself; the menu bar keeps the changed menu at its next save.
            MarkMenuBarMenuChanged();
            break;
        default:
            break;
    }
}

void COXCustomizeCommandsPage::AddCommandAccelerators(COXButtonAppearanceDlg& dlg, WORD command,
                                                      const CString& current) {
    COXShortkeysOrganizer* organizer = m_pCustomizeManager ? m_pCustomizeManager->GetShortkeysOrganizer() : nullptr;
    if (organizer && command) {
        // The keys of the table in force: the active document's template in an MDI frame, else the frame's.
        CMultiDocTemplate* docTemplate = nullptr;
        if (auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()))
            if (CMDIChildWnd* child = frame->MDIGetActive())
                if (CDocument* document = child->GetActiveDocument())
                    docTemplate = dynamic_cast<CMultiDocTemplate*>(document->GetDocTemplate());
        std::vector<ACCEL> keys;
        organizer->GetCommandAccelerators(command, docTemplate, keys);
        for (const ACCEL& key : keys) {
            CString text = COXShortkeysOrganizer::GetKeyText(&key);
            dlg.m_arrAccelerators.Add(text);
            if (text == current)
                dlg.m_nAcceleratorIndex = (int)dlg.m_arrAccelerators.GetSize() - 1;
        }
    }
    if (!current.IsEmpty() && dlg.m_nAcceleratorIndex == 0) {
        dlg.m_arrAccelerators.Add(current);
        dlg.m_nAcceleratorIndex = (int)dlg.m_arrAccelerators.GetSize() - 1;
    }
}

void COXCustomizeCommandsPage::MenuItemAppearance(COXBitmapMenuPopupWnd* pPopupWnd) {
    COXBitmapMenu* menu = pPopupWnd->GetBitmapMenu();
    int position = menu ? menu->GetCustomizeSelection() : -1;
    COXItemInfo* record = menu ? ItemRecord(menu->m_hMenu, position) : nullptr;
    if (!record)
        return;  // an item without its record opens no dialog
    CString text = record->GetText(), accelerator;
    int tab = text.Find('\t');
    if (tab >= 0) {
        accelerator = text.Mid(tab + 1);
        text = text.Left(tab);
    }
    COXImageInfo* image = record->GetImageInfo();
    COXButtonAppearanceDlg dlg(this);
    HIMAGELIST images = CreateAppearanceImages(image ? image->imageList : nullptr, image ? image->index : -1);
    dlg.m_hImageList = images;
    dlg.m_nImageIndex = 0;
    dlg.m_sText = text;
    dlg.m_bTextOnly = TRUE;
    dlg.m_bNoDropDown = TRUE;
    dlg.m_bNoAccelerator = FALSE;
    AddCommandAccelerators(dlg, (WORD)::GetMenuItemID(menu->m_hMenu, position), accelerator);
    INT_PTR result = RunAppearanceDialog(dlg);
    if (images)
        ImageList_Destroy(images);
    if (result != IDOK || pPopupWnd->GetBitmapMenu() != menu)
        return;
    CString chosen = dlg.GetAcceleratorText();
    record->SetText(chosen.IsEmpty() ? dlg.m_sText : dlg.m_sText + "\t" + chosen);
    MarkMenuBarMenuChanged();
    menu->RecalcLayout();
}

// ---- "Modify selection"

void COXCustomizeCommandsPage::OnModifySelection(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (!m_pSelectedToolbar || !m_pSelectedToolbar->m_hWnd || !m_btnModifySelection.m_hWnd)
        return;
    RECT button{};
    m_btnModifySelection.GetWindowRect(&button);
    m_pSelectedToolbar->ShowButtonMenu(m_pSelectedToolbar->GetCustomizedButton(), button.left, button.bottom + 1);
}
