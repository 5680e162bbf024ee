// The menu bar being customised: a held press drags an item (with its popup) out as a command drag
// block, commands and popups dropped on the bar become top-level items, hovering over an item during a
// drag opens its menu through the customisation owner, and the item menu deletes an item.
#include <algorithm>
#include <cstdlib>

#include "guilib/controls/OXLibraryResources.h"
#include "guilib/frame/OXMenuBar.h"
#include "guilib/skins/OXBitmapMenu.h"
#include "platform/user/Resources.h"

namespace {
// The top-level position of a command in the menu, or -1.
int FindCommand(HMENU menu, UINT id) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (!::GetSubMenu(menu, i) && ::GetMenuItemID(menu, i) == id)
            return i;
    return -1;
}
}  // namespace

BOOL COXMenuBar::CustomizeMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN:
            if (m_bCustomizeMode) {
                int hit = HitTest(point);
                if (hit >= 0) {
                    SetCustomizedButton(hit);
                    m_nDragButton = hit;
                    m_nDragTimer = ::SetTimer(m_hWnd, OX_MENUBAR_DRAG_TIMER, 200, nullptr);
                }
            }
            return FALSE;
        case WM_MOUSEMOVE:
            if (m_nDragTimer && !(wParam & MK_LBUTTON)) {
                ::KillTimer(m_hWnd, OX_MENUBAR_DRAG_TIMER);
                m_nDragTimer = 0;
            }
            return FALSE;
        case WM_TIMER:
            if (wParam != OX_MENUBAR_DRAG_TIMER)
                return FALSE;
            ::KillTimer(m_hWnd, OX_MENUBAR_DRAG_TIMER);
            m_nDragTimer = 0;
            if (IsCustomizable(TRUE) && m_bCustomizeMode && (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) &&
                m_nDragButton >= 0 && m_nDragButton < (int)SendMessage(TB_BUTTONCOUNT)) {
                NMTOOLBAR notify{};
                notify.hdr.hwndFrom = m_hWnd;
                notify.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
                notify.hdr.code = TBN_BEGINDRAG;
                notify.iItem = m_nDragButton + 1;
                if (HWND parent = ::GetParent(m_hWnd))
                    ::SendMessage(parent, WM_NOTIFY, notify.hdr.idFrom, (LPARAM)&notify);
            }
            result = 0;
            return TRUE;
        case WM_RBUTTONDOWN:
            if (!m_bCustomizeMode)
                return FALSE;
            SetCustomizedButton(HitTest(point));
            result = 0;
            return TRUE;
        case WM_RBUTTONUP:
            if (!m_bCustomizeMode || m_nCustomizedIndex < 0)
                return FALSE;
            if (HMENU menu = CreateCustomizeMenu(m_nCustomizedIndex)) {
                ::ClientToScreen(m_hWnd, &point);
                ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
                ::DestroyMenu(menu);
            }
            result = 0;
            return TRUE;
        case WM_COMMAND:
            if (lParam != 0 || HIWORD(wParam) != 0 ||
                (LOWORD(wParam) != ID_OXCUSTTB_DELETE && LOWORD(wParam) != ID_OXCUSTTB_APPEARANCE))
                return FALSE;
            {
                int index = m_nCustomizedIndex;
                if (!NotifyCustomizeOwner(LOWORD(wParam)) && LOWORD(wParam) == ID_OXCUSTTB_DELETE && index >= 0)
                    DeleteButton(index);
            }
            result = 0;
            return TRUE;
        case WM_DESTROY:
            if (m_nDragTimer) {
                ::KillTimer(m_hWnd, OX_MENUBAR_DRAG_TIMER);
                m_nDragTimer = 0;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

HMENU COXMenuBar::CreateCustomizeMenu(int index) {
    if (index < 0 || index >= (int)SendMessage(TB_BUTTONCOUNT))
        return nullptr;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    char text[64] = "";
    ::LoadString(OXGetLibraryResourceHandle(), IDS_OX_MENUBAR_DELETE, text, (int)sizeof text);
    ::AppendMenu(menu, MF_STRING, ID_OXCUSTTB_DELETE, text);
    ::LoadString(OXGetLibraryResourceHandle(), IDS_OX_MENUBAR_APPEARANCE, text, (int)sizeof text);
    ::AppendMenu(menu, MF_STRING, ID_OXCUSTTB_APPEARANCE, text);
    return menu;
}

void COXMenuBar::RequestMenu(int position, HMENU popup, RECT button) {
    OXMENUBARPOPUP info{};
    info.nItem = position;
    info.hPopup = popup;
    info.rectItem = button;
    info.nFlags = TPM_LEFTALIGN | TPM_LEFTBUTTON;
    RECT around = button;
    ::InflateRect(&around, 3, 3);
    if (auto* bitmapMenu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(popup))) {
        int side = 1;
        info.ptPosition = bitmapMenu->CalcPopupPosition(this, around, info.nFlags, side);
    } else if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) {
        info.ptPosition = POINT{around.left, around.bottom - 1};
    } else {
        info.ptPosition = POINT{around.right, around.top + 1};
    }
    NotifyCustomizeOwner(ID_OXCUSTTB_MENU_REQUESTED, (LPARAM)&info);
}

void COXMenuBar::BeginDragItem(int position) {
    if (!m_hMenu || position < 0 || position >= ::GetMenuItemCount(m_hMenu))
        return;
    // The owner may keep the item where it is.
    HWND owner = m_pCustomizeOwner ? m_pCustomizeOwner->m_hWnd : ::GetParent(m_hWnd);
    if (owner) {
        NMTOOLBAR ask{};
        ask.hdr.hwndFrom = m_hWnd;
        ask.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
        ask.hdr.code = TBN_QUERYDELETE;
        ask.iItem = position;
        if (!::SendMessage(owner, WM_NOTIFY, ask.hdr.idFrom, (LPARAM)&ask))
            return;
    }
    HMENU submenu = ::GetSubMenu(m_hMenu, position);
    UINT id = submenu ? OX_DRAG_POPUP : ::GetMenuItemID(m_hMenu, position);
    COleDataSource* source = CreateCommandDataSource(CopyMenuString(position), -1, id, 0, submenu);
    if (!source)
        return;  // no memory for the block: no drag
    m_nDraggedButton = position;
    m_bDragging = TRUE;
    m_bMayRemoveSource = FALSE;
    m_nDragOpenIndex = -1;
    ::ReleaseCapture();
    m_dropSource.SetOwner(this);
    DROPEFFECT effect = StartCommandDragDrop(source, &m_dropSource);
    BOOL released = !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    // Moved to another bar or menu, or let go where nothing takes it: the item leaves this bar. A move
    // within the bar was done by the drop and answered as a copy.
    if ((effect == DROPEFFECT_MOVE || (effect == DROPEFFECT_NONE && released && m_bMayRemoveSource)) &&
        m_nDraggedButton >= 0 && ::IsWindow(m_hWnd))
        DeleteButton(m_nDraggedButton);
    m_nDraggedButton = -1;
    m_bDragging = FALSE;
    m_bMayRemoveSource = FALSE;
    m_nDragOpenIndex = -1;
    delete source;
}

void COXMenuBar::OnDragEnter(SHBDROPTARGETACTION* action) {
    if (!action)
        return;
    m_bMayRemoveSource = FALSE;
    OnDragOver(action);
}

void COXMenuBar::OnDragOver(SHBDROPTARGETACTION* action) {
    if (!action)
        return;
    action->result = DROPEFFECT_NONE;
    TBINSERTMARK none{-1, 0};
    std::vector<OXCommandDragItem> items;
    if (!m_hMenu || !ReadCommandDragData(action->pDataObject, &items) || items.empty()) {
        SendMessage(TB_SETINSERTMARK, 0, (LPARAM)&none);
        return;
    }
    BOOL copy = (action->dwKeyState & MK_CONTROL) != 0;
    const OXCommandDragItem& item = items[0];
    if (!m_bDragging || copy) {
        // A command the bar shows already is not taken twice; outside customisation only named commands.
        BOOL refused = !item.IsPopup() && item.nCommandID != 0 && FindCommand(m_hMenu, item.nCommandID) >= 0;
        if (!m_bCustomizeMode && (item.nCommandID == 0 || item.sText.IsEmpty()))
            refused = TRUE;
        if (refused) {
            SendMessage(TB_SETINSERTMARK, 0, (LPARAM)&none);
            return;
        }
    }
    POINT point = action->point;
    TBINSERTMARK hit{};
    SendMessage(TB_INSERTMARKHITTEST, (WPARAM)&point, (LPARAM)&hit);
    int count = (int)SendMessage(TB_BUTTONCOUNT);
    int index = std::abs(hit.iButton);
    TBINSERTMARK mark{-1, 0};
    if (count > 0) {
        if (index >= count) {
            mark = TBINSERTMARK{count - 1, TBIMHT_AFTER};
        } else {
            RECT r{};
            SendMessage(TB_GETITEMRECT, (WPARAM)index, (LPARAM)&r);
            mark = TBINSERTMARK{index, point.x >= (r.left + r.right) / 2 ? (DWORD)TBIMHT_AFTER : 0};
        }
    } else {
        mark = TBINSERTMARK{0, 0};
    }
    SendMessage(TB_SETINSERTMARK, 0, (LPARAM)&mark);
    // Hovering over another item opens its menu, so that the command can be dropped inside.
    int over = (int)SendMessage(TB_HITTEST, 0, (LPARAM)&point);
    if (m_bCustomizeMode && over >= 0 && over < count && over != m_nDragOpenIndex &&
        !(m_bDragging && over == m_nDraggedButton) && ::GetSubMenu(m_hMenu, over)) {
        m_nDragOpenIndex = over;
        TrackMenu(over);
    }
    action->result = copy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void COXMenuBar::OnDragLeave(SHBDROPTARGETACTION*) {
    TBINSERTMARK none{-1, 0};
    SendMessage(TB_SETINSERTMARK, 0, (LPARAM)&none);
    if (m_bDragging)
        m_bMayRemoveSource = TRUE;  // the item left its bar
}

void COXMenuBar::OnDrop(SHBDROPTARGETACTION* action) {
    if (!action)
        return;
    action->result = DROPEFFECT_NONE;
    TBINSERTMARK mark{-1, 0};
    SendMessage(TB_GETINSERTMARK, 0, (LPARAM)&mark);
    TBINSERTMARK none{-1, 0};
    SendMessage(TB_SETINSERTMARK, 0, (LPARAM)&none);
    if (!m_hMenu || (action->dropEffect != DROPEFFECT_COPY && action->dropEffect != DROPEFFECT_MOVE))
        return;
    int count = ::GetMenuItemCount(m_hMenu);
    if (mark.iButton < 0 && count > 0)
        return;
    std::vector<OXCommandDragItem> items;
    if (!ReadCommandDragData(action->pDataObject, &items) || items.empty())
        return;
    int position = std::max(0, mark.iButton) + ((mark.dwFlags & TBIMHT_AFTER) ? 1 : 0);
    position = std::min(position, count);
    int k = m_nDraggedButton;
    if (m_bDragging && action->dropEffect == DROPEFFECT_MOVE && k >= 0 && k < count) {
        // Within the bar the item itself moves, its popup and that popup's items with it.
        int to = position > k ? position - 1 : position;
        if (to != k) {
            char text[1025] = "";
            ::GetMenuString(m_hMenu, (UINT)k, text, (int)sizeof text, MF_BYPOSITION);
            HMENU submenu = ::GetSubMenu(m_hMenu, k);
            UINT state = ::GetMenuState(m_hMenu, (UINT)k, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED);
            UINT id = submenu ? (UINT)(UINT_PTR)submenu : ::GetMenuItemID(m_hMenu, k);
            ::RemoveMenu(m_hMenu, (UINT)k, MF_BYPOSITION);
            ::InsertMenu(m_hMenu, (UINT)to, MF_BYPOSITION | MF_STRING | state | (submenu ? MF_POPUP : 0), id, text);
            MarkMenuChanged();
            InsertMenuItems(TRUE);
            SetCustomizedButton(to);
        }
        m_nDraggedButton = -1;  // moved, not to be deleted when the drag ends
        m_bMayRemoveSource = FALSE;
        action->result = DROPEFFECT_COPY;
        return;
    }
    InsertDroppedItems(items, m_hMenu, position);
    if (m_bDragging && k >= position)
        m_nDraggedButton = k + (int)items.size();
    MarkMenuChanged();
    InsertMenuItems(TRUE);
    m_bMayRemoveSource = FALSE;
    action->result = action->dropEffect;
}

void COXMenuBar::InsertDroppedItems(const std::vector<OXCommandDragItem>& items, HMENU menu, int position) {
    for (const OXCommandDragItem& item : items) {
        UINT at = position < 0 ? (UINT)-1 : (UINT)position;
        if (item.IsPopup()) {
            HMENU popup = ::CreatePopupMenu();
            m_createdPopups.push_back(popup);
            InsertDroppedItems(item.items, popup, -1);
            ::InsertMenu(menu, at, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup, item.sText);
        } else if (item.IsSeparator()) {
            ::InsertMenu(menu, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else {
            ::InsertMenu(menu, at, MF_BYPOSITION | MF_STRING, item.nCommandID, item.sText);
        }
        if (position >= 0)
            ++position;
    }
}
