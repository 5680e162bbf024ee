// Customisation of a cool tool bar: selecting buttons, the button menu and its edits, dragging buttons
// within a bar, to another bar or off it, dropping commands onto it, and keeping the bar's indexes in
// step with the control's buttons.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "guilib/controls/OXLibraryResources.h"
#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/user/Resources.h"

namespace {
CString MenuText(UINT command) {
    char text[128] = "";
    ::LoadString(OXGetLibraryResourceHandle(), IDS_OX_TOOLBAR_DELETE + (command - ID_OXCUSTTB_DELETE), text,
                 (int)sizeof text);
    return text;
}

// The part of a command's string after its first newline; the whole string without one.
CString CommandText(UINT id, BOOL wholeWithoutNewline) {
    char buffer[512] = "";
    if (!::LoadString(nullptr, id, buffer, (int)sizeof buffer))
        return CString();
    CString entry = buffer;
    int newline = entry.Find('\n');
    if (newline < 0)
        return wholeWithoutNewline ? entry : CString();
    return entry.Mid(newline + 1);
}
}  // namespace

void COXCoolToolBar::SetCustomizeMode(BOOL on, CWnd* owner) {
    if (!on)
        SetCustomizedButton(-1);
    else if (!IsCustomizable(TRUE))
        SetCustomizable(TRUE, TRUE);
    m_pCustomizeOwner = owner;
    m_bCustomizeMode = on;
    for (auto& entry : m_mapCustomButtons)
        if (entry.second.m_pCBTemplate)
            entry.second.m_pCBTemplate->CBSetCustomizeMode(on);
}

int COXCoolToolBar::SetCustomizedButton(int index) {
    int old = m_nCustomizedIndex;
    m_nCustomizedIndex = index;
    if (old != index && old >= 0)
        RedrawButton(old);
    if (index >= 0 && m_hWnd) {
        TBBUTTON button{};
        if (GetToolBarCtrl().GetButton(index, &button)) {
            int state = GetToolBarCtrl().GetState(button.idCommand);
            if (state != -1 && (state & TBSTATE_PRESSED))
                GetToolBarCtrl().SetState(button.idCommand, (UINT)state & ~(UINT)TBSTATE_PRESSED);
            else
                RedrawButton(index);
        }
    }
    NotifyCustomizeOwner(OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED);
    return old;
}

LRESULT COXCoolToolBar::NotifyCustomizeOwner(int command, LPARAM parameter) {
    HWND owner = m_pCustomizeOwner ? m_pCustomizeOwner->m_hWnd : (m_hWnd ? ::GetParent(m_hWnd) : nullptr);
    if (!owner || !::IsWindow(owner))
        return 0;
    NMCTBCUSTOMIZE record{};
    record.nmhdr.hwndFrom = m_hWnd;
    record.nmhdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    record.nmhdr.code = OX_TOOLBAR_CUSTOMIZE_NOTIFY;
    record.nCustomizeEventID = command;
    record.lParam = parameter;
    return ::SendMessage(owner, WM_NOTIFY, record.nmhdr.idFrom, (LPARAM)&record);
}

HMENU COXCoolToolBar::CreateButtonMenu(int index) {
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    int count = ctrl.GetButtonCount();
    TBBUTTON button{};
    if (index < 0 || index >= count || !ctrl.GetButton(index, &button))
        return nullptr;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    auto plainSeparator = [&](int i) {
        TBBUTTON b{};
        return ctrl.GetButton(i, &b) && (b.fsStyle & TBSTYLE_SEP) && !IsCustomButton(i);
    };
    ::AppendMenu(menu, MF_STRING, ID_OXCUSTTB_DELETE, MenuText(ID_OXCUSTTB_DELETE));
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenu(menu, MF_STRING, ID_OXCUSTTB_APPEARANCE, MenuText(ID_OXCUSTTB_APPEARANCE));
    if (!(button.fsStyle & TBSTYLE_SEP) && !IsCustomButton(index)) {
        BOOL hasText = !GetButtonText(index).IsEmpty();
        ::AppendMenu(menu, MF_STRING | (hasText ? 0 : MF_CHECKED), ID_OXCUSTTB_IMAGEONLY,
                     MenuText(ID_OXCUSTTB_IMAGEONLY));
        ::AppendMenu(menu, MF_STRING | (hasText && button.iBitmap != -1 ? MF_CHECKED : 0), ID_OXCUSTTB_IMAGETEXT,
                     MenuText(ID_OXCUSTTB_IMAGETEXT));
    }
    ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    BOOL before = index > 0 && !plainSeparator(index - 1);
    BOOL after = index < count - 1 && !plainSeparator(index + 1);
    ::AppendMenu(menu, MF_STRING | (before ? 0 : MF_GRAYED), ID_OXCUSTTB_SEPARATOR_BEFORE,
                 MenuText(ID_OXCUSTTB_SEPARATOR_BEFORE));
    ::AppendMenu(menu, MF_STRING | (after ? 0 : MF_GRAYED), ID_OXCUSTTB_SEPARATOR_AFTER,
                 MenuText(ID_OXCUSTTB_SEPARATOR_AFTER));
    return menu;
}

BOOL COXCoolToolBar::ShowButtonMenu(int index, int x, int y) {
    HMENU menu = CreateButtonMenu(index);
    if (!menu)
        return FALSE;
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    return TRUE;
}

BOOL COXCoolToolBar::MoveButton(int from, int to) {
    if (!GetToolBarCtrl().MoveButton((UINT)from, (UINT)to))
        return FALSE;
    if (IsCustomButton(to))
        RedrawToolBar(FALSE, TRUE);
    return TRUE;
}

void COXCoolToolBar::OnCustomizeCommand(UINT command) {
    int index = m_nCustomizedIndex;
    if (NotifyCustomizeOwner((int)command) || index < 0)
        return;
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    TBBUTTON button{};
    if (!ctrl.GetButton(index, &button))
        return;
    switch (command) {
        case ID_OXCUSTTB_DELETE:
            ctrl.DeleteButton(index);
            break;
        case ID_OXCUSTTB_IMAGEONLY: {
            CString text = GetButtonText(index);
            if (!text.IsEmpty()) {
                m_mapHiddenText.SetAt((UINT)button.idCommand, text);
                SetButtonText(index, "");
                RedrawToolBar(TRUE, TRUE);
            }
            break;
        }
        case ID_OXCUSTTB_IMAGETEXT:
            if (GetButtonText(index).IsEmpty()) {
                CString text = GetStoredButtonText((UINT)button.idCommand);
                if (text.IsEmpty())
                    text = CommandText((UINT)button.idCommand, TRUE);
                if (!text.IsEmpty())
                    SetButtonText(index, text);
                RedrawToolBar(TRUE, TRUE);
            }
            break;
        case ID_OXCUSTTB_SEPARATOR_BEFORE:
        case ID_OXCUSTTB_SEPARATOR_AFTER: {
            TBBUTTON separator{};
            separator.iBitmap = -1;
            separator.fsStyle = TBSTYLE_SEP;
            separator.iString = -1;
            ctrl.InsertButton(command == ID_OXCUSTTB_SEPARATOR_BEFORE ? index : index + 1, &separator);
            break;
        }
        default:
            break;
    }
}

BOOL COXCoolToolBar::OnGetButtonInfo(NMTOOLBAR* notify) {
    if (!notify || !m_pAvailableButtons || notify->iItem < 0 || notify->iItem >= m_nAvailableButtons)
        return FALSE;
    UINT id = m_pAvailableButtons[notify->iItem];
    notify->tbButton = TBBUTTON{};
    notify->tbButton.iBitmap = notify->iItem;
    notify->tbButton.idCommand = (int)id;
    notify->tbButton.fsState = TBSTATE_ENABLED;
    notify->tbButton.iString = -1;
    if (notify->pszText && notify->cchText > 0) {
        CString text = CommandText(id, FALSE);
        if (text.IsEmpty())
            text = "???";
        // Cut to the notification's buffer.
        int length = std::min(text.GetLength(), notify->cchText - 1);
        std::memcpy(notify->pszText, text.GetString(), (size_t)length);
        notify->pszText[length] = '\0';
    }
    return TRUE;
}

LRESULT COXCoolToolBar::QueryParent(UINT code, int index) {
    HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (!parent)
        return TRUE;
    NMTOOLBAR notify{};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    notify.hdr.code = code;
    notify.iItem = index;
    return ::SendMessage(parent, WM_NOTIFY, notify.hdr.idFrom, (LPARAM)&notify);
}

LRESULT COXCoolToolBar::OnBeginDragButton(NMTOOLBAR* notify) {
    if (!notify)
        return 0;
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    int index = FindCustomButtonSlot((UINT)notify->iItem);
    if (index < 0)
        index = (int)ctrl.CommandToIndex((UINT)notify->iItem);
    if (index < 0)
        return 0;
    BOOL wasCustomizing = m_bCustomizeMode;
    if (!m_bCustomizeMode) {
        if (!m_bAdvancedCustomizable)
            return 0;
        BOOL key = (GetStyle() & TBSTYLE_ALTDRAG) ? (::GetKeyState(VK_MENU) & 0x8000) != 0
                                                  : (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (!key)
            return 0;
    }
    TBBUTTON button{};
    if (!ctrl.GetButton(index, &button))
        return 0;
    if (!IsCustomButton(index) && (button.fsState & TBSTATE_PRESSED))
        ctrl.SetState(button.idCommand, button.fsState & ~TBSTATE_PRESSED);
    if (!QueryParent(TBN_QUERYDELETE, index))
        return 0;
    if (m_nCustomizedIndex != index)
        SetCustomizedButton(index);
    m_nDraggedButton = index;
    m_bDragging = TRUE;
    CString text = GetButtonText(index);
    COleDataSource* source =
        CreateCommandDataSource(text, button.iBitmap, (UINT)button.idCommand, button.fsStyle, nullptr);
    if (!source) {
        m_nDraggedButton = -1;
        m_bDragging = FALSE;
        return 0;
    }
    POINT cursor;
    ::GetCursorPos(&cursor);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    if (!::PtInRect(&window, cursor))
        m_bMayRemoveSource = TRUE;
    ::ReleaseCapture();
    m_dropSource.SetOwner(this);
    DROPEFFECT effect = StartCommandDragDrop(source, &m_dropSource);
    if ((effect == DROPEFFECT_MOVE && m_bMayRemoveSource) ||
        (effect == DROPEFFECT_NONE && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000) && m_bMayRemoveSource)) {
        if (m_nDraggedButton >= 0)
            DeleteButton(m_nDraggedButton);
    }
    m_nDraggedButton = -1;
    m_bDragging = FALSE;
    m_bMayRemoveSource = FALSE;
    delete source;
    if (!wasCustomizing)
        SetCustomizedButton(-1);
    return 0;
}

void COXCoolToolBar::OnDragEnter(SHBDROPTARGETACTION* action) {
    if (!m_bAdvancedCustomizable)
        return;
    m_bMayRemoveSource = TRUE;
    OnDragOver(action);
}

void COXCoolToolBar::OnDragOver(SHBDROPTARGETACTION* action) {
    if (!m_bAdvancedCustomizable || !action)
        return;
    action->result = DROPEFFECT_NONE;
    std::vector<OXCommandDragItem> items;
    if (!ReadCommandDragData(action->pDataObject, &items) || items.empty())
        return;
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    TBINSERTMARK none{-1, 0};
    BOOL copy = (action->dwKeyState & MK_CONTROL) != 0;
    if (m_bDragging && copy) {
        ctrl.SetInsertMark(&none);
        return;
    }
    if (!m_bDragging) {
        int id = (int)items[0].nCommandID;
        if (id < 0 || (id != 0 && (int)ctrl.CommandToIndex((UINT)id) >= 0)) {
            ctrl.SetInsertMark(&none);
            return;
        }
    }
    POINT point = action->point;
    TBINSERTMARK hit{};
    ctrl.InsertMarkHitTest(&point, &hit);
    int index = std::abs(hit.iButton);
    int count = ctrl.GetButtonCount();
    if (index > count && count > 0) {
        ctrl.SetInsertMark(&none);
        return;
    }
    RECT item{};
    BOOL inside = ::SendMessage(m_hWnd, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&item) && ::PtInRect(&item, point);
    if (!inside && index > 0 && IsCustomButton(index - 1))
        --index;
    if (!QueryParent(TBN_QUERYINSERT, index)) {
        ctrl.SetInsertMark(&none);
        return;
    }
    TBINSERTMARK mark{index, 0};
    if (index == count && count > 0) {
        mark = TBINSERTMARK{count - 1, TBIMHT_AFTER};
    } else if (::SendMessage(m_hWnd, TB_GETITEMRECT, (WPARAM)index, (LPARAM)&item)) {
        if (point.x >= (item.left + item.right) / 2 || point.x < 0)
            mark.dwFlags = TBIMHT_AFTER;
    }
    ctrl.SetInsertMark(&mark);
    action->result = copy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void COXCoolToolBar::OnDragLeave(SHBDROPTARGETACTION*) {
    if (!m_bAdvancedCustomizable)
        return;
    TBINSERTMARK none{-1, 0};
    GetToolBarCtrl().SetInsertMark(&none);
    if (!m_bDragging)
        m_bMayRemoveSource = FALSE;
}

void COXCoolToolBar::OnDrop(SHBDROPTARGETACTION* action) {
    if (!m_bAdvancedCustomizable || !action)
        return;
    action->result = DROPEFFECT_NONE;
    if (action->dropEffect != DROPEFFECT_COPY && action->dropEffect != DROPEFFECT_MOVE)
        return;
    CToolBarCtrl& ctrl = GetToolBarCtrl();
    int count = ctrl.GetButtonCount();
    TBINSERTMARK mark{-1, 0};
    ctrl.GetInsertMark(&mark);
    if (mark.iButton == -1 && count > 0)
        return;
    auto plainSeparator = [&](int i) {
        TBBUTTON b{};
        return i >= 0 && i < ctrl.GetButtonCount() && ctrl.GetButton(i, &b) && (b.fsStyle & TBSTYLE_SEP) &&
               !IsCustomButton(i);
    };
    BOOL within = m_bDragging && action->dropEffect != DROPEFFECT_COPY;
    int k = m_nDraggedButton;
    int b = mark.iButton;
    BOOL after = (mark.dwFlags & TBIMHT_AFTER) != 0;
    auto at = [&](int button, bool markAfter) { return b == button && (after != 0) == markAfter; };
    BOOL done = FALSE;
    if (within && k >= 0) {
        TBBUTTON separator{};
        separator.iBitmap = -1;
        separator.fsStyle = TBSTYLE_SEP;
        separator.iString = -1;
        if ((at(k, false) || at(k - 1, true)) && k < count - 1) {
            if (!plainSeparator(k + 1))
                ctrl.InsertButton(k + 1, &separator);
            done = TRUE;
        } else if ((at(k + 1, false) || at(k, true)) && k > 0) {
            if (!plainSeparator(k - 1))
                ctrl.InsertButton(k, &separator);
            done = TRUE;
        } else if ((at(k + 2, false) || at(k + 1, true)) && plainSeparator(k + 1)) {
            ctrl.DeleteButton(k + 1);
            done = TRUE;
        } else if ((at(k - 2, true) || at(k - 1, false)) && plainSeparator(k - 1)) {
            ctrl.DeleteButton(k - 1);
            done = TRUE;
        }
    }
    TBINSERTMARK none{-1, 0};
    ctrl.SetInsertMark(&none);
    if (done) {
        m_bMayRemoveSource = FALSE;
        action->result = DROPEFFECT_COPY;
        return;
    }
    count = ctrl.GetButtonCount();
    int target = std::clamp(b + (after ? 1 : 0), 0, count);
    if (within && k >= 0) {
        int to = target > k ? target - 1 : target;
        if (to != k) {
            MoveButton(k, to);
            SetCustomizedButton(to);
        }
        m_bMayRemoveSource = FALSE;
        action->result = DROPEFFECT_COPY;
        return;
    }
    std::vector<OXCommandDragItem> items;
    if (ReadCommandDragData(action->pDataObject, &items) && !items.empty()) {
        const OXCommandDragItem& item = items[0];
        int id = (int)item.nCommandID;
        int registration = id > 0 ? FindCustomButton((UINT)id) : -1;
        if (registration >= 0) {
            if (InsertCustomButton(target, registration, WS_CHILD | WS_VISIBLE, nullptr, CustomButtonWindowClass(),
                                   "") &&
                m_bCustomizeMode)
                if (const OXCUSTOMBUTTONDESCRIPTOR* entry = GetCustomButton(target); entry && entry->m_pCBTemplate)
                    entry->m_pCBTemplate->CBSetCustomizeMode(TRUE);
        } else if (id > 0 || (id == 0 && count > 0)) {
            CString text = item.sText;
            int tab = text.Find('\t');
            if (tab >= 0)
                text = text.Left(tab);
            TBBUTTON button{};
            button.iBitmap = item.nImageIndex;
            button.idCommand = id;
            button.fsStyle = id == 0 ? (BYTE)(item.nStyle & ~TBSTYLE_AUTOSIZE) : (BYTE)(item.nStyle | TBSTYLE_AUTOSIZE);
            button.iString = -1;
            BOOL suspended = m_bSuspendRedraw;
            m_bSuspendRedraw = TRUE;
            ctrl.InsertButton(target, &button);
            if (!text.IsEmpty())
                SetButtonText(target, text);
            m_bSuspendRedraw = suspended;
            RedrawToolBar(TRUE, TRUE);
        }
        action->result = DROPEFFECT_COPY;
    }
    m_bMayRemoveSource = FALSE;
}

int COXCoolToolBar::CustomizeHitTest(POINT point) {
    int hit = GetToolBarCtrl().HitTest(&point);
    int count = GetToolBarCtrl().GetButtonCount();
    if (hit >= 0 && hit < count)
        return hit;
    if (hit < 0 && IsCustomButton(-(hit + 1)))
        return -(hit + 1);
    return -1;
}

BOOL COXCoolToolBar::CustomizeWindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    BOOL customizing = m_bCustomizeMode && m_bAdvancedCustomizable;
    switch (message) {
        case SHBDTM_DRAGENTER:
        case SHBDTM_DRAGOVER:
        case SHBDTM_DRAGLEAVE:
        case SHBDTM_DROP: {
            auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
            if (message == SHBDTM_DRAGENTER)
                OnDragEnter(action);
            else if (message == SHBDTM_DRAGOVER)
                OnDragOver(action);
            else if (message == SHBDTM_DRAGLEAVE)
                OnDragLeave(action);
            else
                OnDrop(action);
            result = message == SHBDTM_DRAGLEAVE ? 0 : 1;
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            if (!customizing)
                return FALSE;
            {
                int selection = CustomizeHitTest(point);
                SetCustomizedButton(selection);
                HWND self = m_hWnd;
                result = CMFCToolBar::WindowProc(message, wParam, lParam);
                TBBUTTON button{};
                if (::IsWindow(self) && selection >= 0 && GetToolBarCtrl().GetButton(selection, &button) &&
                    (button.fsState & TBSTATE_PRESSED))
                    GetToolBarCtrl().SetState(button.idCommand, button.fsState & ~TBSTATE_PRESSED);
            }
            return TRUE;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!customizing)
                return FALSE;
            SetCustomizedButton(CustomizeHitTest(point));
            result = 0;
            return TRUE;
        case WM_RBUTTONUP:
            if (!customizing || m_nCustomizedIndex < 0)
                return FALSE;
            ::ClientToScreen(m_hWnd, &point);
            ShowButtonMenu(m_nCustomizedIndex, point.x, point.y);
            result = 0;
            return TRUE;
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            if (!customizing)
                return FALSE;
            if (message == WM_LBUTTONUP && ::GetCapture() == m_hWnd)
                ::ReleaseCapture();
            result = 0;
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && LOWORD(wParam) >= ID_OXCUSTTB_DELETE &&
                LOWORD(wParam) <= ID_OXCUSTTB_SEPARATOR_AFTER && lParam == 0) {
                OnCustomizeCommand(LOWORD(wParam));
                result = 0;
                return TRUE;
            }
            return FALSE;
        case TB_INSERTBUTTON: {
            int before = GetToolBarCtrl().GetButtonCount();
            result = CMFCToolBar::WindowProc(message, wParam, lParam);
            if (!result)
                return TRUE;
            int i = (int)wParam < 0 || (int)wParam > before ? before : (int)wParam;
            ::ValidateRect(m_hWnd, nullptr);
            if (m_nCustomizedIndex >= i)
                SetCustomizedButton(m_nCustomizedIndex + 1);
            if (m_nDraggedButton >= i)
                ++m_nDraggedButton;
            OnCustomButtonInserted(i);
            RedrawToolBar(TRUE, TRUE);
            return TRUE;
        }
        case TB_DELETEBUTTON: {
            int i = (int)wParam;
            int before = GetToolBarCtrl().GetButtonCount();
            result = CMFCToolBar::WindowProc(message, wParam, lParam);
            if (!result)
                return TRUE;
            ::ValidateRect(m_hWnd, nullptr);
            OnCustomButtonDeleted(i);
            if (m_nCustomizedIndex == i)
                SetCustomizedButton(-1);
            else if (m_nCustomizedIndex > i)
                SetCustomizedButton(m_nCustomizedIndex - 1);
            if (m_nDraggedButton == i)
                m_nDraggedButton = -1;
            else if (m_nDraggedButton > i)
                --m_nDraggedButton;
            // No separator is left at either end.
            int count = before - 1;
            auto plainSeparator = [&](int at) {
                TBBUTTON b{};
                return GetToolBarCtrl().GetButton(at, &b) && (b.fsStyle & TBSTYLE_SEP) && !IsCustomButton(at);
            };
            BOOL suspended = m_bSuspendRedraw;
            m_bSuspendRedraw = TRUE;
            if (count > 0 && i == count && plainSeparator(count - 1))
                GetToolBarCtrl().DeleteButton(count - 1);
            else if (count > 0 && i == 0 && plainSeparator(0))
                GetToolBarCtrl().DeleteButton(0);
            m_bSuspendRedraw = suspended;
            RedrawToolBar(TRUE, TRUE);
            return TRUE;
        }
        case TB_MOVEBUTTON: {
            result = CMFCToolBar::WindowProc(message, wParam, lParam);
            if (result)
                OnCustomButtonMoved((int)wParam, (int)lParam);
            return TRUE;
        }
        default:
            return FALSE;
    }
}
