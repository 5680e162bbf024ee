// The list view's input: keys, mouse buttons, dragging, scroll requests and label editing.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/user/UserInternal.h"
#include "platform/user/controls/ListViewControl.h"

namespace user::listview {
void ListView::MoveFocus(int item, bool shift, bool ctrl) {
    if (!Valid(item))
        return;
    if (ctrl) {
        SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (shift && !(Style() & LVS_SINGLESEL) && Valid(m_mark)) {
        // Rows outside the range lose the selection, rows inside gain it; a row already selected in it
        // (the anchor among them) is left alone, so it is told nothing.
        int a = std::min(m_mark, item), b = std::max(m_mark, item);
        DeselectOutside(a, b);
        for (int i = a; i <= b; ++i)
            SetOneState(i, LVIS_SELECTED, LVIS_SELECTED);
        SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        DeselectAllBut(item);
        SetState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    }
    EnsureVisible(item, false);
}

void ListView::OnKeyDown(UINT vk) {
    NMLVKEYDOWN kd{};
    kd.wVKey = (WORD)vk;
    Notify(&kd.hdr, LVN_KEYDOWN);
    int n = Count();
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0, ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    int cur = m_focus;
    int perPage = PerPage();
    int next;
    switch (vk) {
        case VK_UP:
            next = cur < 0 ? 0 : cur - 1;
            break;
        case VK_DOWN:
            next = cur < 0 ? 0 : cur + 1;
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = n - 1;
            break;
        case VK_PRIOR:
            next = cur < 0 ? 0 : cur != m_top ? m_top : cur - perPage + 1;
            break;
        case VK_NEXT: {
            int bottom = m_top + perPage - 1;
            next = cur < 0 ? 0 : cur != bottom ? bottom : cur + perPage - 1;
            break;
        }
        case VK_LEFT:
            SetScrollX(m_scrollX - kHScrollStep);
            return;
        case VK_RIGHT:
            SetScrollX(m_scrollX + kHScrollStep);
            return;
        case VK_SPACE:
            if (CheckBoxes() && Valid(cur)) {
                ToggleCheck(cur);
                return;
            }
            if (Valid(cur)) {
                UINT sel = State(cur, LVIS_SELECTED);
                SetState(cur, ctrl ? (sel ^ LVIS_SELECTED) : LVIS_SELECTED, LVIS_SELECTED);
            }
            return;
        case VK_F2:
            if ((Style() & LVS_EDITLABELS) && Valid(cur))
                EditLabel(cur);
            return;
        case VK_RETURN: {
            Notify(NM_RETURN);
            if (Valid(cur))
                NotifyItem(LVN_ITEMACTIVATE, cur, 0);
            return;
        }
        default:
            return;
    }
    if (n == 0)
        return;
    MoveFocus(std::clamp(next, 0, n - 1), shift, ctrl);
}

// A left press is followed until the button goes up or the mouse leaves the drag rectangle, holding the
// capture; the parent hears NM_RELEASEDCAPTURE when it is let go. Other input waiting meanwhile is handled
// as usual, but Escape gives up the press.
ListView::Press ListView::TrackPress(POINT start) {
    SetCapture(m_h);
    Press result = Press::Released;
    int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    for (;;) {
        if (!IsWindow(m_h) || GetCapture() != m_h) {
            result = Press::Abandoned;
            break;
        }
        MSG m;
        if (PeekMessage(&m, m_h, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (m.message == WM_LBUTTONUP)
                break;
            if (m.message == WM_MOUSEMOVE) {
                POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
                if (std::abs(at.x - start.x) > cx || std::abs(at.y - start.y) > cy) {
                    result = Press::Dragged;
                    break;
                }
            }
            continue;
        }
        if (PeekMessage(&m, nullptr, 0, WM_MOUSEFIRST - 1, PM_REMOVE) ||
            PeekMessage(&m, nullptr, WM_MOUSELAST + 1, 0xFFFFFFFF, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage((int)m.wParam);
                result = Press::Abandoned;
                break;
            }
            if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
                result = Press::Abandoned;
                break;
            }
            TranslateMessage(&m);
            DispatchMessage(&m);
            continue;
        }
        // Nothing more for the press: it goes on only while the button is held (a press a program sent
        // ends here) and no other window's mouse input is waiting from before it.
        if (!(GetKeyState(VK_LBUTTON) & 0x8000) ||
            PeekMessage(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE))
            break;
        WaitMessage();
    }
    if (!IsWindow(m_h))
        return Press::Abandoned;
    if (GetCapture() == m_h)
        ReleaseCapture();
    Notify(NM_RELEASEDCAPTURE);
    return IsWindow(m_h) ? result : Press::Abandoned;
}

// A press: the left button's is followed first (TrackPress); then the selection changes, the list takes
// the focus, and the parent hears the click, in that order.
void ListView::OnButtonDown(UINT msg, WPARAM keys, POINT p) {
    if (m_edit)
        EndEdit(true);
    KillTimer(m_h, kEditTimer);
    bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
    if (left && CheckBoxes()) {
        UINT at;
        int sub;
        int hit = HitTest(p, &at, &sub, false);
        if (hit >= 0 && at == LVHT_ONITEMSTATEICON)
            ToggleCheck(hit);
    }
    Press press = left ? TrackPress(p) : Press::Released;
    if (press == Press::Abandoned)
        return;
    auto takeFocus = [this] {
        if (GetFocus() != m_h)
            SetFocus(m_h);
    };
    UINT flags;
    int sub;
    int item = HitTest(p, &flags, &sub, false);
    bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
    if (item < 0) {
        if (!shift && !ctrl && left)
            DeselectAllBut(-1);
        takeFocus();
        if (msg == WM_LBUTTONDOWN)
            NotifyItem(NM_CLICK, -1, -1, 0, 0, 0, p);
        if (msg == WM_LBUTTONDBLCLK)
            NotifyItem(NM_DBLCLK, -1, -1, 0, 0, 0, p);
        if (msg == WM_RBUTTONDOWN)
            NotifyItem(NM_RCLICK, -1, -1, 0, 0, 0, p);
        return;
    }
    UINT was = State(item, LVIS_SELECTED | LVIS_FOCUSED);
    bool onlySelection = SelectedCount() == 1;
    if (ctrl && left && !(Style() & LVS_SINGLESEL)) {
        SetState(item, (was & LVIS_SELECTED) ? LVIS_FOCUSED : (LVIS_SELECTED | LVIS_FOCUSED),
                 LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    } else if (shift && left) {
        MoveFocus(item, true, false);
    } else if (press == Press::Dragged && (was & LVIS_SELECTED)) {
        SetState(item, LVIS_FOCUSED, LVIS_FOCUSED);  // a selection is dragged whole
    } else if (!(msg == WM_RBUTTONDOWN && (was & LVIS_SELECTED))) {
        DeselectAllBut(item);
        SetState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_mark = item;
    }
    takeFocus();
    if (press == Press::Dragged) {
        NotifyItem(LVN_BEGINDRAG, item, 0, 0, 0, 0, p, Param(item));
        return;
    }
    int subHit;
    UINT anyFlags;
    HitTest(p, &anyFlags, &subHit, true);
    if (msg == WM_LBUTTONDOWN && (Style() & LVS_EDITLABELS) && was == (LVIS_SELECTED | LVIS_FOCUSED) &&
        onlySelection && subHit == 0 && !shift && !ctrl) {
        m_editTimerItem = item;
        SetTimer(m_h, kEditTimer, kEditDelay, nullptr);
    }
    NotifyButton(msg, item, subHit, p, was);
}

// What a button press on a row tells the parent: the click, and the activation the click styles ask for.
void ListView::NotifyButton(UINT msg, int item, int subHit, POINT p, UINT was) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            NotifyItem(NM_CLICK, item, subHit, 0, 0, 0, p);
            if ((m_exStyle & LVS_EX_ONECLICKACTIVATE) ||
                ((m_exStyle & LVS_EX_TWOCLICKACTIVATE) && (was & LVIS_SELECTED)))
                NotifyItem(LVN_ITEMACTIVATE, item, subHit, 0, 0, 0, p);
            break;
        case WM_LBUTTONDBLCLK:
            NotifyItem(NM_DBLCLK, item, subHit, 0, 0, 0, p);
            if (!(m_exStyle & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)))
                NotifyItem(LVN_ITEMACTIVATE, item, subHit, 0, 0, 0, p);
            break;
        case WM_RBUTTONDOWN:
            NotifyItem(NM_RCLICK, item, subHit, 0, 0, 0, p);
            break;
        case WM_RBUTTONDBLCLK:
            NotifyItem(NM_RDBLCLK, item, subHit, 0, 0, 0, p);
            break;
        default:
            break;
    }
}

void ListView::OnScroll(bool vertical, int code, HWND bar) {
    int target = 0;
    if (vertical) {
        if (ScrollTarget(code, m_top, 1, PerPage(), Count(), bar ? bar : m_vbar, target))
            SetTop(target);
    } else {
        int page = std::max<int>(1, m_area.right - m_area.left);
        if (ScrollTarget(code, m_scrollX, kHScrollStep, page, TotalWidth(), bar ? bar : m_hbar, target))
            SetScrollX(target);
    }
}

HWND ListView::EditLabel(int item) {
    if (m_edit)
        EndEdit(true);
    if (!Valid(item) || m_cols.empty())
        return nullptr;
    EnsureVisible(item, false);
    char buf[kTextBuffer];
    std::string text(Text(item, 0, buf));
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    di.item.iItem = item;
    di.item.pszText = text.data();
    di.item.cchTextMax = (int)text.size() + 1;
    di.item.lParam = Param(item);
    di.item.state = State(item, 0xFFFF);
    if (Notify(&di.hdr, LVN_BEGINLABELEDIT))
        return nullptr;
    RECT cell{};
    ItemRect(item, 0, LVIR_LABEL, &cell);
    cell.right = std::max<LONG>(cell.right, cell.left + 40);
    HWND e = OpenLabelEdit(cell, text);
    if (!e)
        return nullptr;
    m_edit = e;
    m_editItem = item;
    return e;
}

void ListView::EndEdit(bool commit) {
    HWND e = m_edit;
    if (!e)
        return;
    m_edit = nullptr;
    int item = m_editItem;
    m_editItem = -1;
    std::string text = CloseLabelEdit(e);
    if (!Valid(item))
        return;
    NMLVDISPINFO di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = item;
    di.item.pszText = commit ? text.data() : nullptr;
    di.item.cchTextMax = commit ? (int)text.size() + 1 : 0;
    di.item.lParam = Param(item);
    LRESULT accepted = Notify(&di.hdr, LVN_ENDLABELEDIT);
    if (commit && accepted && !OwnerData() && Valid(item))
        SetCell(m_rows[(size_t)item], 0, text.c_str());
    InvalidateItem(item);
}

void ListView::OnLabelEditEnd(HWND edit, bool commit) {
    if (m_edit == edit)
        EndEdit(commit);
}

// The header's notifications: the list's owner hears them too and may veto a resize; a click on a
// caption is LVN_COLUMNCLICK, a width the user set is the column's.
LRESULT ListView::OnHeaderNotify(NMHEADER* nm, LPARAM lParam) {
    HWND parent = GetParent(m_h);
    LRESULT r = parent ? SendMessage(parent, WM_NOTIFY, nm->hdr.idFrom, lParam) : 0;
    switch (nm->hdr.code) {
        case HDN_ITEMCLICK: {
            NMLISTVIEW lv{};
            lv.iItem = -1;
            lv.iSubItem = nm->iItem;
            Notify(&lv.hdr, LVN_COLUMNCLICK);
            return 0;
        }
        case HDN_ITEMCHANGED:
            if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 &&
                nm->iItem < (int)m_cols.size()) {
                m_cols[(size_t)nm->iItem].width = nm->pitem->cxy;
                Invalidate();
            }
            return 0;
        case HDN_DIVIDERDBLCLICK:
            SetColumnWidth(nm->iItem, LVSCW_AUTOSIZE);
            return 0;
        default:
            return r;
    }
}
}  // namespace user::listview
