// Customisation of a bitmap menu: selection, insert mark, context menu, dragging items out, dropping
// commands in, the default edits and the tool window that shows the menu meanwhile.
#include <algorithm>

#include "guilib/controls/OXLibraryResources.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "guilib/skins/OXBitmapMenuPopupWnd.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/Resources.h"

namespace {
// The texts of the context menu's commands, in the order of their ids.
CString CustomizeText(UINT command) {
    char text[128] = "";
    ::LoadString(OXGetLibraryResourceHandle(), IDS_OX_CUSTOMIZE_DELETE + (command - ID_OX_CUSTOMIZE_DELETE), text,
                 (int)sizeof text);
    return text;
}

COXBitmapMenuOrganizer* MainOrganizer() {
    CWnd* main = AfxGetMainWnd();
    return main ? COXBitmapMenuOrganizer::FindOrganizer(main->m_hWnd) : nullptr;
}

BOOL IsSeparatorAt(HMENU menu, int position) {
    return position >= 0 && position < ::GetMenuItemCount(menu) &&
           (::GetMenuState(menu, (UINT)position, MF_BYPOSITION) & MF_SEPARATOR) && !::GetSubMenu(menu, position);
}
}  // namespace

void COXBitmapMenu::DetachPopupWnd() {
    if (m_pPopupWnd)
        m_pPopupWnd->ForgetMenu(this);
    m_pPopupWnd = nullptr;
}

void COXBitmapMenu::RepaintItem(int position) {
    if (!m_pPopupWnd || !::IsWindow(m_pPopupWnd->m_hWnd))
        return;
    const std::vector<RECT>& rects = m_pPopupWnd->GetItemRects();
    if (position >= 0 && position < (int)rects.size())
        ::InvalidateRect(m_pPopupWnd->m_hWnd, &rects[(size_t)position], TRUE);
}

LRESULT COXBitmapMenu::NotifyCustomize(UINT value) {
    HWND owner = m_hNotifyOwner;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    if (!owner || !::IsWindow(owner))
        return 0;
    NMBMCUSTOMIZE record{};
    record.nmhdr.hwndFrom = m_pPopupWnd ? m_pPopupWnd->m_hWnd : nullptr;
    record.nmhdr.idFrom = (UINT_PTR)::GetDlgCtrlID(owner);
    record.nmhdr.code = OX_CUSTOMIZE_NOTIFY;
    record.nCustomizeEventID = value;
    return ::SendMessage(owner, WM_NOTIFY, record.nmhdr.idFrom, (LPARAM)&record);
}

int COXBitmapMenu::SetCustomizeSelection(int position) {
    int old = m_nCustomizedItem;
    m_nCustomizedItem = position;
    RepaintItem(old);
    RepaintItem(position);
    NotifyCustomize(OX_CUSTOMIZE_SELECTION_CHANGED);
    return old;
}

int COXBitmapMenu::SetInsertMark(int position) {
    int old = m_nInsertMark;
    m_nInsertMark = position;
    for (int p : {old - 1, old, position - 1, position})
        RepaintItem(p);
    NotifyCustomize(OX_CUSTOMIZE_INSERT_MARK_CHANGED);
    return old;
}

BOOL COXBitmapMenu::IsItemCustomizable(int position) const {
    if (!m_hMenu || position < 0 || position >= ::GetMenuItemCount(m_hMenu))
        return FALSE;
    UINT id = ::GetMenuItemID(m_hMenu, position);
    if (id >= 57616 && id <= 57631)
        return FALSE;
    return !(id >= 0xFF00 && id != (UINT)-1 && !::GetSubMenu(m_hMenu, position));
}

HMENU COXBitmapMenu::CreateCustomizeContextMenu(int position) {
    if (!IsItemCustomizable(position))
        return nullptr;
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenu(popup, MF_STRING, ID_OX_CUSTOMIZE_DELETE, CustomizeText(ID_OX_CUSTOMIZE_DELETE));
    if (IsSeparatorAt(m_hMenu, position))
        return popup;
    ::AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(popup, MF_STRING, ID_OX_CUSTOMIZE_APPEARANCE, CustomizeText(ID_OX_CUSTOMIZE_APPEARANCE));
    ::AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    COXBitmapMenuOrganizer* organizer = MainOrganizer();
    if (organizer && organizer->GetShowOnlyRecentlyUsed()) {
        BOOL used = organizer->IsRecentlyUsed(this, position);
        ::AppendMenu(popup, MF_STRING | (used ? MF_CHECKED : 0), ID_OX_CUSTOMIZE_RECENTLY_USED,
                     CustomizeText(ID_OX_CUSTOMIZE_RECENTLY_USED));
        ::AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    }
    int count = ::GetMenuItemCount(m_hMenu);
    BOOL before = position > 0 && !IsSeparatorAt(m_hMenu, position - 1);
    BOOL after = position < count - 1 && !IsSeparatorAt(m_hMenu, position + 1);
    ::AppendMenu(popup, MF_STRING | (before ? 0 : MF_GRAYED), ID_OX_CUSTOMIZE_SEPARATOR_BEFORE,
                 CustomizeText(ID_OX_CUSTOMIZE_SEPARATOR_BEFORE));
    ::AppendMenu(popup, MF_STRING | (after ? 0 : MF_GRAYED), ID_OX_CUSTOMIZE_SEPARATOR_AFTER,
                 CustomizeText(ID_OX_CUSTOMIZE_SEPARATOR_AFTER));
    return popup;
}

BOOL COXBitmapMenu::ShowCustomizeContextMenu(int position, int x, int y) {
    HMENU popup = CreateCustomizeContextMenu(position);
    if (!popup)
        return FALSE;
    HWND owner = m_pPopupWnd ? m_pPopupWnd->m_hWnd : nullptr;
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    ::DestroyMenu(popup);
    return TRUE;
}

COXSHBDropSource* COXBitmapMenu::GetDropSource(CWnd* owner) {
    m_dropSource.SetOwner(owner);
    return &m_dropSource;
}

void COXBitmapMenu::BeginDragItem(int position) {
    // Draggability first, so that a refused item leaves no drag-out mark behind.
    if (!IsItemCustomizable(position))
        return;
    m_bDraggingOut = TRUE;
    HMENU submenu = ::GetSubMenu(m_hMenu, position);
    if (auto* sub = submenu ? dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(submenu)) : nullptr)
        if (COXBitmapMenuPopupWnd* peer = sub->GetPopupWnd(); peer && ::IsWindowVisible(peer->m_hWnd))
            peer->Hide();
    COXItemInfo* info = ItemInfoAt(position);
    CString text = info ? info->GetText() : CString();
    if (!info) {
        char buffer[512] = "";
        ::GetMenuString(m_hMenu, (UINT)position, buffer, (int)sizeof buffer, MF_BYPOSITION);
        text = buffer;
    }
    COXImageInfo* image = info ? info->GetImageInfo() : nullptr;
    int imageIndex = image && !image->defaultImage ? image->index : -1;
    UINT id = submenu ? (UINT)-1 : ::GetMenuItemID(m_hMenu, position);
    COleDataSource* source = CreateCommandDataSource(text, imageIndex, id, 0, submenu);
    if (!source) {
        m_bDraggingOut = FALSE;
        return;
    }
    m_bDragOver = TRUE;
    m_nDraggedItem = position;
    DROPEFFECT effect = StartCommandDragDrop(source, GetDropSource(m_pPopupWnd));
    if (effect == DROPEFFECT_MOVE ||
        (effect == DROPEFFECT_NONE && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000) && !m_bDragOver)) {
        if (!NotifyCustomize(OX_CUSTOMIZE_ITEM_DRAGGED_OFF) && m_nDraggedItem >= 0) {
            ::DeleteMenu(m_hMenu, (UINT)m_nDraggedItem, MF_BYPOSITION);
            m_nCustomizedItem = -1;
            RecalcLayout();
        }
    }
    m_nDraggedItem = -1;
    delete source;
    m_bDraggingOut = FALSE;
}

DROPEFFECT COXBitmapMenu::OnDragEnter(COleDataObject* data, DWORD keyState, POINT point) {
    if (!IsCustomizing())
        return DROPEFFECT_NONE;
    m_bDragOver = TRUE;
    return OnDragOver(data, keyState, point);
}

DROPEFFECT COXBitmapMenu::OnDragOver(COleDataObject* data, DWORD keyState, POINT point) {
    if (!IsCustomizing() || !ReadCommandDragData(data))
        return DROPEFFECT_NONE;
    BOOL upper = FALSE;
    int position = HitTest(point, &upper);
    int mark = position < 0 ? -1 : upper ? position : position + 1;
    if (mark != m_nInsertMark)
        SetInsertMark(mark);
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void COXBitmapMenu::OnDragLeave() {
    if (m_nInsertMark != -1)
        SetInsertMark(-1);
    m_bDragOver = FALSE;
}

BOOL COXBitmapMenu::OnDrop(COleDataObject* data, DROPEFFECT effect, POINT) {
    if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE)
        return FALSE;
    int mark = m_nInsertMark;
    if (mark == -1 && ::GetMenuItemCount(m_hMenu) > 0)
        return FALSE;
    std::vector<OXCommandDragItem> items;
    if (!ReadCommandDragData(data, &items))
        return FALSE;
    if (!NotifyCustomize(OX_CUSTOMIZE_DROP))
        InsertDragData(items, m_hMenu, mark);
    if (m_bDraggingOut && mark >= 0 && m_nCustomizedItem >= mark) {
        ++m_nDraggedItem;
        ++m_nCustomizedItem;
    }
    SetInsertMark(-1);
    return TRUE;
}

void COXBitmapMenu::InsertDragData(const std::vector<OXCommandDragItem>& items, HMENU target, int position) {
    COXBitmapMenuOrganizer* organizer = MainOrganizer();
    for (const OXCommandDragItem& item : items) {
        CString text = item.sText;
        if (text.IsEmpty() && !item.IsPopup() && item.nCommandID > 0) {
            char buffer[512] = "";
            ::LoadString(nullptr, item.nCommandID, buffer, (int)sizeof buffer);
            CString entry = buffer;
            int newline = entry.Find('\n');
            text = newline >= 0 ? entry.Mid(newline + 1) : entry;
        }
        UINT at = (UINT)position;
        if (item.IsPopup()) {
            HMENU popup = ::CreatePopupMenu();
            if (organizer)
                organizer->KeepCreatedMenu(popup);
            if (!item.items.empty())
                InsertDragData(item.items, popup, 0);
            ::InsertMenu(target, at, MF_BYPOSITION | MF_POPUP, (UINT_PTR)popup, text);
        } else if (item.IsSeparator()) {
            ::InsertMenu(target, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else {
            ::InsertMenu(target, at, MF_BYPOSITION | MF_STRING, item.nCommandID, text);
        }
        if (position >= 0)
            ++position;
    }
    if (organizer && !dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(target)))
        organizer->OnInitMenuPopup(CMenu::FromHandle(target), 0, FALSE);
    if (auto* menu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(target)))
        menu->RecalcLayout();
}

void COXBitmapMenu::OnDeleteItem() {
    int selected = m_nCustomizedItem;
    if (NotifyCustomize(ID_OX_CUSTOMIZE_DELETE) || selected < 0)
        return;
    ::DeleteMenu(m_hMenu, (UINT)selected, MF_BYPOSITION);
    m_nCustomizedItem = -1;
    RecalcLayout();
}

void COXBitmapMenu::OnAppearance() { NotifyCustomize(ID_OX_CUSTOMIZE_APPEARANCE); }

void COXBitmapMenu::OnSeparatorBefore() {
    int selected = m_nCustomizedItem;
    if (NotifyCustomize(ID_OX_CUSTOMIZE_SEPARATOR_BEFORE) || selected < 0)
        return;
    ::InsertMenu(m_hMenu, (UINT)selected, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    m_nCustomizedItem = selected + 1;
    RecalcLayout();
}

void COXBitmapMenu::OnSeparatorAfter() {
    int selected = m_nCustomizedItem;
    if (NotifyCustomize(ID_OX_CUSTOMIZE_SEPARATOR_AFTER) || selected < 0)
        return;
    ::InsertMenu(m_hMenu, (UINT)(selected + 1), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    RecalcLayout();
}

void COXBitmapMenu::OnRecentlyUsed() {
    int selected = m_nCustomizedItem;
    if (NotifyCustomize(ID_OX_CUSTOMIZE_RECENTLY_USED) || selected < 0)
        return;
    COXBitmapMenuOrganizer* organizer = MainOrganizer();
    if (!organizer)
        return;
    if (HMENU sub = ::GetSubMenu(m_hMenu, selected)) {
        if (organizer->IsPopupRecentlyUsed(sub))
            organizer->ExcludePopupFromRecentlyUsed(sub);
        else
            organizer->AddPopupToRecentlyUsed(sub);
    } else {
        UINT id = ::GetMenuItemID(m_hMenu, selected);
        if (organizer->IsCommandRecentlyUsed(id))
            organizer->ExcludeFromRecentlyUsed(id);
        else
            organizer->AddToRecentlyUsed(id);
    }
    RecalcLayout();
}

void COXBitmapMenu::RecalcLayout() {
    if (COXBitmapMenuOrganizer* organizer = MainOrganizer())
        organizer->ConvertMenu(this, FALSE);
    if (m_pPopupWnd)
        m_pPopupWnd->RecalcLayout();
}

// ---- the tool window ----

namespace {
const char kPopupWndClass[] = "OXBitmapMenuPopupWnd";
}

COXBitmapMenuPopupWnd::~COXBitmapMenuPopupWnd() {
    if (m_pBitmapMenu && m_pBitmapMenu->GetPopupWnd() == this)
        m_pBitmapMenu->SetPopupWnd(nullptr);
    if (m_hWnd)
        DestroyWindow();
}

void COXBitmapMenuPopupWnd::ForgetMenu(COXBitmapMenu* menu) {
    if (m_pBitmapMenu == menu) {
        m_pBitmapMenu = nullptr;
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void COXBitmapMenuPopupWnd::CreateMenuFont() {
    if (m_font.GetSafeHandle())
        m_font.DeleteObject();
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMenuFont);
}

BOOL COXBitmapMenuPopupWnd::TrackPopupMenu(COXBitmapMenu* menu, UINT flags, int x, int y, CWnd* owner) {
    if (!menu)
        return FALSE;
    if (m_pBitmapMenu && m_pBitmapMenu != menu && m_pBitmapMenu->GetPopupWnd() == this)
        m_pBitmapMenu->SetPopupWnd(nullptr);
    m_pBitmapMenu = menu;
    menu->SetPopupWnd(this);
    if (!m_hWnd) {
        static const bool registered = [] {
            WNDCLASS wc{};
            wc.style = CS_DBLCLKS | CS_SAVEBITS;
            wc.lpfnWndProc = ::DefWindowProc;
            wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
            wc.lpszClassName = kPopupWndClass;
            return ::RegisterClass(&wc) != 0;
        }();
        (void)registered;
        if (!CreateEx(WS_EX_DLGMODALFRAME, kPopupWndClass, "", WS_POPUP, RECT{0, 0, 50, 18},
                      owner, 0))
            return FALSE;
    }
    menu->GetDropTarget()->Revoke();
    menu->GetDropTarget()->Register(this);
    if (!menu->IsCustomizing())
        menu->SetCustomizing(TRUE);
    menu->SetNotifyOwner(owner ? owner->m_hWnd : nullptr);
    menu->SetCustomizableInWindow(TRUE);
    CreateMenuFont();
    menu->CalcExtents();
    CalcLayout(flags, x, y);
    ::SetWindowPos(m_hWnd, HWND_TOP, m_rectWindow.left, m_rectWindow.top, m_rectWindow.right - m_rectWindow.left,
                   m_rectWindow.bottom - m_rectWindow.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

void COXBitmapMenuPopupWnd::Hide() {
    if (m_pBitmapMenu && !m_pBitmapMenu->IsDraggingOut()) {
        if (m_pBitmapMenu->GetCustomizeSelection() != -1)
            m_pBitmapMenu->SetCustomizeSelection(-1);
        m_pBitmapMenu->SetPopupWnd(nullptr);
        m_pBitmapMenu = nullptr;
    }
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void COXBitmapMenuPopupWnd::RecalcLayout() {
    if (!m_pBitmapMenu || !m_hWnd)
        return;
    m_pBitmapMenu->CalcExtents();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    CalcLayout(0, origin.x, origin.y);
    if (!::IsWindowVisible(m_hWnd))
        return;
    ::SetWindowPos(m_hWnd, nullptr, m_rectWindow.left, m_rectWindow.top, m_rectWindow.right - m_rectWindow.left,
                   m_rectWindow.bottom - m_rectWindow.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void COXBitmapMenuPopupWnd::CalcLayout(UINT flags, int x, int y) {
    m_itemRects.clear();
    int width = 0, height = 0;
    int count = m_pBitmapMenu ? m_pBitmapMenu->GetMenuItemCount() : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        ::GetMenuItemInfo(m_pBitmapMenu->m_hMenu, (UINT)i, TRUE, &info);
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = info.hSubMenu ? (UINT)-1 : info.wID;
        measure.itemData = info.dwItemData;
        m_pBitmapMenu->MeasureItem(&measure);
        m_itemRects.push_back(RECT{0, height, (int)measure.itemWidth, height + (int)measure.itemHeight});
        width = std::max(width, (int)measure.itemWidth);
        height += (int)measure.itemHeight;
    }
    if (count == 0 || width == 0 || height == 0) {
        width = 50;
        height = 18;
    }
    int left = flags & TPM_RIGHTALIGN ? x - width : flags & TPM_CENTERALIGN ? x - width / 2 : x;
    RECT client{left, y, left + width, y + height};
    RECT window = client;
    if (m_hWnd)
        CalcWindowRect(&window);
    // The client area keeps its place; the border goes around it.
    m_rectWindow = window;
    for (RECT& r : m_itemRects)
        r.right = width;
}

int COXBitmapMenuPopupWnd::ItemAt(POINT point) const {
    for (size_t i = 0; i < m_itemRects.size(); ++i)
        if (::PtInRect(&m_itemRects[i], point))
            return (int)i;
    return -1;
}

void COXBitmapMenuPopupWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_pBitmapMenu) {
        HGDIOBJ oldFont = ::SelectObject(dc, m_font.GetSafeHandle());
        ::SetTextColor(dc, ::GetSysColor(COLOR_MENUTEXT));
        for (size_t i = 0; i < m_itemRects.size(); ++i) {
            MENUITEMINFO info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STATE;
            ::GetMenuItemInfo(m_pBitmapMenu->m_hMenu, (UINT)i, TRUE, &info);
            DRAWITEMSTRUCT draw{};
            draw.CtlType = ODT_MENU;
            draw.itemID = info.hSubMenu ? (UINT)-1 : info.wID;
            draw.itemData = info.dwItemData;
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = (info.fState & MFS_GRAYED) ? ODS_GRAYED : 0;
            draw.hDC = dc;
            draw.rcItem = m_itemRects[i];
            m_pBitmapMenu->DrawItem(&draw);
        }
        ::SelectObject(dc, oldFont);
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT COXBitmapMenuPopupWnd::OnDragEnter(WPARAM, LPARAM lParam) { return OnDragOver(0, lParam); }

LRESULT COXBitmapMenuPopupWnd::OnDragOver(WPARAM, LPARAM lParam) {
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!Customizable() || !action)
        return 0;
    action->result = m_pBitmapMenu->OnDragOver(action->pDataObject, action->dwKeyState, action->point);
    return 1;
}

LRESULT COXBitmapMenuPopupWnd::OnDragLeave(WPARAM, LPARAM) {
    if (Customizable())
        m_pBitmapMenu->OnDragLeave();
    return 0;
}

LRESULT COXBitmapMenuPopupWnd::OnDrop(WPARAM, LPARAM lParam) {
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!Customizable() || !action)
        return 0;
    action->result = m_pBitmapMenu->OnDrop(action->pDataObject, action->dropEffect, action->point);
    return 1;
}

LRESULT COXBitmapMenuPopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETTINGCHANGE:
        CreateMenuFont();
        RecalcLayout();
        break;
    case WM_LBUTTONDOWN:
        if (Customizable() && !m_nTimerID) {
            m_pBitmapMenu->SetCustomizeSelection(ItemAt(point));
            m_nTimerID = ::SetTimer(m_hWnd, OX_POPUPWND_DRAG_TIMER, 200, nullptr);
        }
        return 0;
    case WM_TIMER:
        if (wParam == OX_POPUPWND_DRAG_TIMER) {
            ::KillTimer(m_hWnd, OX_POPUPWND_DRAG_TIMER);
            m_nTimerID = 0;
            if (::IsWindow(m_hWnd) && Customizable() && (::GetAsyncKeyState(VK_LBUTTON) & 0x8000))
                m_pBitmapMenu->BeginDragItem(m_pBitmapMenu->GetCustomizeSelection());
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (m_nTimerID && !(wParam & MK_LBUTTON)) {
            ::KillTimer(m_hWnd, OX_POPUPWND_DRAG_TIMER);
            m_nTimerID = 0;
        }
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (Customizable())
            m_pBitmapMenu->SetCustomizeSelection(ItemAt(point));
        return 0;
    case WM_RBUTTONUP:
        if (Customizable() && m_pBitmapMenu->GetCustomizeSelection() >= 0) {
            ::ClientToScreen(m_hWnd, &point);
            m_pBitmapMenu->ShowCustomizeContextMenu(m_pBitmapMenu->GetCustomizeSelection(), point.x, point.y);
        }
        return 0;
    case WM_COMMAND:
        if (m_pBitmapMenu) {
            switch (LOWORD(wParam)) {
            case ID_OX_CUSTOMIZE_DELETE: m_pBitmapMenu->OnDeleteItem(); return 0;
            case ID_OX_CUSTOMIZE_APPEARANCE: m_pBitmapMenu->OnAppearance(); return 0;
            case ID_OX_CUSTOMIZE_SEPARATOR_BEFORE: m_pBitmapMenu->OnSeparatorBefore(); return 0;
            case ID_OX_CUSTOMIZE_SEPARATOR_AFTER: m_pBitmapMenu->OnSeparatorAfter(); return 0;
            case ID_OX_CUSTOMIZE_RECENTLY_USED: m_pBitmapMenu->OnRecentlyUsed(); return 0;
            }
        }
        break;
    case SHBDTM_DRAGENTER:
        return OnDragEnter(wParam, lParam);
    case SHBDTM_DRAGOVER:
        return OnDragOver(wParam, lParam);
    case SHBDTM_DRAGLEAVE:
        return OnDragLeave(wParam, lParam);
    case SHBDTM_DROP:
        return OnDrop(wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
