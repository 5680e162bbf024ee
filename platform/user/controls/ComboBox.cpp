// The "ComboBox" class and its drop-down list "ComboLBox", Classic look.
//
// The combo keeps the items; its window is as high as the selection field, and the height it was created
// (or last sized) with is what the dropped list may take. The list is a popup that never takes the
// activation: while it shows it has the capture, a click on an item chooses it, a click anywhere else
// closes it. The keyboard stays with the combo (or its edit child, which the combo subclasses for the
// keys that move through the list), so closing leaves the focus where it was.
//
// Notifications, all WM_COMMAND to the parent: CBN_DROPDOWN before the list shows; choosing an item sends
// CBN_SELCHANGE (when it changed), CBN_SELENDOK and CBN_CLOSEUP; Escape or a click elsewhere sends
// CBN_SELENDCANCEL and CBN_CLOSEUP; arrows move the selection with CBN_SELCHANGE; typing in the edit sends
// CBN_EDITUPDATE and CBN_EDITCHANGE.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/ComboBox.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr UINT kEditId = 1001;
constexpr UINT kListId = 1000;
// The list tells the combo it chose (wParam TRUE, lParam the item) or was dismissed; through the combo's
// window, so a parent destroying the combo while it tells does not pull the combo from under the call.
constexpr UINT kCloseUpMessage = WM_USER + 0x3F00;

struct ComboItem {
    std::string text;
    LPARAM data = 0;
};

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    return true;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = (unsigned char)AsciiLower(a[i]) - (unsigned char)AsciiLower(b[i]);
        if (d)
            return d;
    }
    return (int)a.size() - (int)b.size();
}

class ComboList;

class Combo : public user::Control {
public:
    explicit Combo(HWND h) : Control(h, kPaints | kPrints | kKeepsFont) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

    // For the list.
    const std::vector<ComboItem>& Items() const { return m_items; }
    int ItemHeight() const { return m_itemHeight; }
    int Selection() const { return m_sel; }
    HWND Handle() const { return m_h; }
    HFONT Font() const { return user::ControlFont(m_h); }
    // The list chose an item (ok) or was dismissed.
    void CloseUp(bool ok, int chosen);
    void ListGone() { m_list = nullptr; }
    int m_top = 0;  // first item the list shows
    int m_hot = -1;  // the list's highlighted item

    static LRESULT EditHook(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    DWORD Kind() const { return Style() & 3; }
    bool HasEdit() const { return Kind() == CBS_DROPDOWN || Kind() == CBS_SIMPLE; }
    RECT ButtonRect() const;
    RECT FieldRect() const;
    void Create(const CREATESTRUCT* cs);
    void Measure();
    void KeepFieldHeight();
    void Paint(HDC dc) override;
    int Find(int start, LPCTSTR text, bool exact) const;
    // Makes `index` the selection and shows it in the field; no notification.
    void Select(int index);
    // Moves the selection as a key does: CBN_SELCHANGE when it moved.
    void KeySelect(int index);
    void Drop(bool show);
    int VisibleRows() const;
    void PlaceList();
    void EnsureListShows(int item);
    // The keys every kind shares, from the combo or its edit; true when handled.
    bool Key(UINT msg, WPARAM vk);
    void SetEditText(const std::string& text, bool selectAll);
    void OnEditCommand(WORD code);
    bool FocusInside() const {
        HWND f = GetFocus();
        return f && (f == m_h || (m_edit && f == m_edit));
    }
    LRESULT Info(COMBOBOXINFO* info) const;

    std::vector<ComboItem> m_items;
    int m_sel = -1;
    HWND m_edit = nullptr;
    WNDPROC m_editProc = nullptr;
    HWND m_list = nullptr;
    bool m_dropped = false;
    bool m_settingEdit = false;
    bool m_extendedUI = false;
    int m_itemHeight = 0;
    int m_fieldHeight = 0;
    int m_droppedHeight = 100;  // the whole height asked for: field and list
    int m_droppedWidth = 0;
    int m_hExtent = 0;
    bool m_sizing = false;
};

// ---- The drop-down list ----

class ComboList : public user::Control {
public:
    explicit ComboList(HWND h) : Control(h, kPaints | kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);
    Combo* m_combo = nullptr;

private:
    int ItemAt(POINT p) const;
    void Paint(HDC dc) override;
};

int ComboList::ItemAt(POINT p) const {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (!m_combo || !PtInRect(&rc, p))
        return -1;
    int i = m_combo->m_top + p.y / std::max(1, m_combo->ItemHeight());
    return i < (int)m_combo->Items().size() ? i : -1;
}

void ComboList::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    // The list asks its combo box, which passes the request on to its parent.
    HBRUSH bg = m_combo ? (HBRUSH)SendMessage(m_combo->Handle(), WM_CTLCOLORLISTBOX, (WPARAM)dc, (LPARAM)m_h)
                        : user::ControlColor(m_h, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_WINDOW));
    if (!m_combo)
        return;
    HGDIOBJ old = SelectObject(dc, m_combo->Font());
    SetBkMode(dc, TRANSPARENT);
    int h = m_combo->ItemHeight();
    const auto& items = m_combo->Items();
    for (int i = m_combo->m_top, y = 0; i < (int)items.size() && y < rc.bottom; ++i, y += h) {
        RECT r{0, y, rc.right, y + h};
        bool hot = i == m_combo->m_hot;
        if (hot)
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT t{r.left + 2, r.top, r.right - 2, r.bottom};
        DrawText(dc, items[(size_t)i].text.c_str(), (int)items[(size_t)i].text.size(), &t,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
}

LRESULT ComboList::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            m_combo = static_cast<Combo*>(reinterpret_cast<CREATESTRUCT*>(lParam)->lpCreateParams);
            break;
        case WM_DESTROY:
            if (m_combo)
                m_combo->ListGone();
            m_combo = nullptr;
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE: {
            int i = ItemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (m_combo && i >= 0 && i != m_combo->m_hot) {
                m_combo->m_hot = i;
                InvalidateRect(m_h, nullptr, FALSE);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT rc;
            GetClientRect(m_h, &rc);
            if (!PtInRect(&rc, p) && m_combo) {
                // A press anywhere else dismisses the list; the press itself goes no further.
                SendMessage(m_combo->Handle(), kCloseUpMessage, FALSE, -1);
                return 0;
            }
            int i = ItemAt(p);
            if (m_combo && i >= 0) {
                m_combo->m_hot = i;
                InvalidateRect(m_h, nullptr, FALSE);
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            // A release outside is the end of the press that opened the list: it stays open.
            int i = ItemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (m_combo && i >= 0)
                SendMessage(m_combo->Handle(), kCloseUpMessage, TRUE, i);
            return 0;
        }
        case WM_MOUSEWHEEL:
            if (m_combo) {
                int rows = (int)(short)HIWORD(wParam) / 120;
                RECT rc;
                GetClientRect(m_h, &rc);
                int shown = rc.bottom / std::max(1, m_combo->ItemHeight());
                int last = std::max(0, (int)m_combo->Items().size() - shown);
                m_combo->m_top = std::clamp(m_combo->m_top - 3 * rows, 0, last);
                InvalidateRect(m_h, nullptr, FALSE);
            }
            return 0;
        case WM_CAPTURECHANGED:
            // Losing the capture to another window (a menu, a dialog) ends the drop-down.
            if ((HWND)lParam != m_h && m_combo && IsWindowVisible(m_h))
                SendMessage(m_combo->Handle(), kCloseUpMessage, FALSE, -1);
            return 0;
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}

// ---- The combo ----

RECT Combo::ButtonRect() const {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (Kind() == CBS_SIMPLE)
        return RECT{0, 0, 0, 0};
    int w = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{std::max<LONG>(0, rc.right - 2 - w), 2, std::max<LONG>(0, rc.right - 2), m_fieldHeight - 2};
}

RECT Combo::FieldRect() const {
    RECT rc;
    GetClientRect(m_h, &rc);
    RECT b = ButtonRect();
    return RECT{2, 2, Kind() == CBS_SIMPLE ? rc.right - 2 : b.left, m_fieldHeight - 2};
}

void Combo::Measure() {
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, user::ControlFont(m_h));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    m_itemHeight = tm.tmHeight;
    m_fieldHeight = m_itemHeight + 8;
}

void Combo::KeepFieldHeight() {
    if (m_sizing || Kind() == CBS_SIMPLE)
        return;
    RECT wr;
    GetWindowRect(m_h, &wr);
    int height = wr.bottom - wr.top;
    if (height == m_fieldHeight)
        return;
    // A height other than the field's is the dropped height; the window itself stays the field's.
    if (height > m_fieldHeight)
        m_droppedHeight = height;
    m_sizing = true;
    SetWindowPos(m_h, nullptr, 0, 0, wr.right - wr.left, m_fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_sizing = false;
}

void Combo::Create(const CREATESTRUCT* cs) {
    Measure();
    m_droppedHeight = std::max(cs->cy, m_fieldHeight);
    KeepFieldHeight();
    if (HasEdit()) {
        RECT f = FieldRect();
        DWORD style = WS_CHILD | WS_VISIBLE | ((Style() & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0);
        if (Style() & CBS_UPPERCASE)
            style |= ES_UPPERCASE;
        if (Style() & CBS_LOWERCASE)
            style |= ES_LOWERCASE;
        m_edit = CreateWindowEx(0, WC_EDIT, "", style, f.left + 1, f.top + 1, f.right - f.left - 2,
                                f.bottom - f.top - 2, m_h, (HMENU)(UINT_PTR)kEditId, nullptr, nullptr);
        if (m_edit) {
            m_editProc = (WNDPROC)GetWindowLongPtr(m_edit, GWLP_WNDPROC);
            SetWindowLongPtr(m_edit, GWLP_WNDPROC, (LONG_PTR)&Combo::EditHook);
        }
    }
}

void Combo::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    RECT frame{0, 0, rc.right, std::min<LONG>(rc.bottom, m_fieldHeight)};
    bool enabled = IsWindowEnabled(m_h);
    HBRUSH field = user::ControlColor(m_h, dc, HasEdit() ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    FillRect(dc, &frame, enabled ? (field ? field : GetSysColorBrush(COLOR_WINDOW)) : GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    if (Kind() != CBS_SIMPLE)
        user::DrawArrowButton(dc, ButtonRect(), user::kArrowDown, false, enabled);
    if (HasEdit())
        return;
    RECT f = FieldRect();
    InflateRect(&f, -1, -1);
    bool focused = GetFocus() == m_h && !m_dropped;
    if (focused)
        FillRect(dc, &f, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (m_sel >= 0 && m_sel < (int)m_items.size()) {
        HGDIOBJ old = SelectObject(dc, user::ControlFont(m_h));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT t{f.left + 2, f.top, f.right - 1, f.bottom};
        const std::string& s = m_items[(size_t)m_sel].text;
        DrawText(dc, s.c_str(), (int)s.size(), &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    if (focused)
        DrawFocusRect(dc, &f);
}

int Combo::Find(int start, LPCTSTR text, bool exact) const {
    int n = (int)m_items.size();
    if (!text || n == 0)
        return CB_ERR;
    std::string want = text;
    // The search starts after `start` and wraps round to it; -1 searches from the first item.
    int from = (start < -1 || start >= n) ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
        int i = (from + k) % n;
        const std::string& s = m_items[(size_t)i].text;
        if (exact ? CompareNoCase(s, want) == 0 : StartsWithNoCase(s, want))
            return i;
    }
    return CB_ERR;
}

void Combo::SetEditText(const std::string& text, bool selectAll) {
    if (!m_edit)
        return;
    m_settingEdit = true;
    SetWindowText(m_edit, text.c_str());
    m_settingEdit = false;
    if (selectAll)
        SendMessage(m_edit, EM_SETSEL, 0, -1);
}

void Combo::Select(int index) {
    m_sel = (index >= 0 && index < (int)m_items.size()) ? index : -1;
    m_hot = m_sel;
    if (m_edit)
        SetEditText(m_sel >= 0 ? m_items[(size_t)m_sel].text : "", FocusInside());
    if (m_list) {
        EnsureListShows(m_sel);
        InvalidateRect(m_list, nullptr, FALSE);
    }
    InvalidateRect(m_h, nullptr, FALSE);
}

void Combo::KeySelect(int index) {
    if (m_items.empty())
        return;
    index = std::clamp(index, 0, (int)m_items.size() - 1);
    if (index == m_sel)
        return;
    Select(index);
    Command(CBN_SELCHANGE);
}

int Combo::VisibleRows() const {
    int rows = (m_droppedHeight - m_fieldHeight - 2) / std::max(1, m_itemHeight);
    return std::max(1, std::min(rows, std::max(1, (int)m_items.size())));
}

void Combo::EnsureListShows(int item) {
    int rows = VisibleRows();
    if (item < 0)
        return;
    if (item < m_top)
        m_top = item;
    else if (item >= m_top + rows)
        m_top = item - rows + 1;
    m_top = std::clamp(m_top, 0, std::max(0, (int)m_items.size() - rows));
}

void Combo::PlaceList() {
    RECT wr;
    GetWindowRect(m_h, &wr);
    int width = std::max<int>(wr.right - wr.left, m_droppedWidth);
    int height = VisibleRows() * m_itemHeight + 2;
    int y = wr.top + m_fieldHeight;
    // Below the field when it fits on the screen, else above it.
    if (y + height > GetSystemMetrics(SM_CYSCREEN) && wr.top - height >= 0)
        y = wr.top - height;
    SetWindowPos(m_list, HWND_TOPMOST, wr.left, y, width, height, SWP_NOACTIVATE);
}

void Combo::Drop(bool show) {
    if (show == m_dropped || Kind() == CBS_SIMPLE)
        return;
    if (!show) {
        CloseUp(false, -1);
        return;
    }
    Command(CBN_DROPDOWN);
    if (!IsWindow(m_h))
        return;
    if (!IsWindow(m_list))
        m_list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WC_COMBOLBOX, nullptr,
                                WS_POPUP | WS_BORDER, 0, 0, 10, 10, m_h, (HMENU)(UINT_PTR)kListId, nullptr, this);
    if (!m_list)
        return;
    SendMessage(m_list, WM_SETFONT, (WPARAM)m_font, FALSE);
    m_dropped = true;
    m_hot = m_sel;
    EnsureListShows(m_sel);
    PlaceList();
    ShowWindow(m_list, SW_SHOWNA);
    SetCapture(m_list);
    InvalidateRect(m_h, nullptr, FALSE);
}

void Combo::CloseUp(bool ok, int chosen) {
    if (!m_dropped)
        return;
    m_dropped = false;
    HWND list = m_list;
    if (GetCapture() == list)
        ReleaseCapture();
    ShowWindow(list, SW_HIDE);
    InvalidateRect(m_h, nullptr, FALSE);
    // The focus comes back to the combo (its edit) if the list's clicks took it away.
    if (!FocusInside() && IsWindowVisible(m_h))
        SetFocus(m_edit ? m_edit : m_h);
    HWND self = m_h;
    if (ok && chosen >= 0 && chosen != m_sel) {
        Select(chosen);
        Command(CBN_SELCHANGE);
        if (!IsWindow(self))
            return;
    } else if (ok && chosen >= 0 && m_edit) {
        Select(chosen);  // the edit shows the item again even when the selection stayed
    }
    Command(ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (IsWindow(self))
        Command(CBN_CLOSEUP);
}

bool Combo::Key(UINT msg, WPARAM vk) {
    bool alt = msg == WM_SYSKEYDOWN;
    if (alt) {
        if (vk != VK_DOWN && vk != VK_UP)
            return false;
        if (m_dropped)
            CloseUp(true, m_hot);
        else
            Drop(true);
        return true;
    }
    int page = std::max(1, VisibleRows() - 1);
    int cur = m_sel;
    switch (vk) {
        case VK_F4:
            if (m_dropped)
                CloseUp(true, m_hot);
            else
                Drop(true);
            return true;
        case VK_RETURN:
            if (!m_dropped)
                return false;
            CloseUp(true, m_hot);
            return true;
        case VK_ESCAPE:
            if (!m_dropped)
                return false;
            CloseUp(false, -1);
            return true;
        case VK_DOWN:
            if (m_extendedUI && !m_dropped) {
                Drop(true);
                return true;
            }
            KeySelect(cur < 0 ? 0 : cur + 1);
            return true;
        case VK_UP:
            KeySelect(cur < 0 ? 0 : cur - 1);
            return true;
        case VK_NEXT:
            KeySelect(cur < 0 ? 0 : cur + page);
            return true;
        case VK_PRIOR:
            KeySelect(cur < 0 ? 0 : cur - page);
            return true;
        case VK_HOME:
            if (m_edit)
                return false;
            KeySelect(0);
            return true;
        case VK_END:
            if (m_edit)
                return false;
            KeySelect((int)m_items.size() - 1);
            return true;
        default:
            return false;
    }
}

LRESULT Combo::EditHook(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(edit);
    Combo* self = reinterpret_cast<Combo*>(GetWindowLongPtr(combo, 0));
    WNDPROC original = self ? self->m_editProc : nullptr;
    if (!self || !original)
        return DefWindowProc(edit, msg, wParam, lParam);
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // The combo counts as busy while it handles the key, as in its own procedure.
            ++self->m_depth;
            bool handled = self->Key(msg, wParam);
            bool dead = --self->m_depth == 0 && self->m_dead;
            if (dead)
                delete self;
            if (handled || dead)
                return dead && !handled ? CallWindowProc(original, edit, msg, wParam, lParam) : 0;
            break;
        }
        case WM_CHAR:
            // Enter and Escape close a dropped list; their characters go nowhere.
            if ((wParam == '\r' || wParam == 27) && self->m_dropped)
                return 0;
            break;
        case WM_GETDLGCODE:
            return CallWindowProc(original, edit, msg, wParam, lParam) | (self->m_dropped ? DLGC_WANTALLKEYS : 0);
        default:
            break;
    }
    return CallWindowProc(original, edit, msg, wParam, lParam);
}

void Combo::OnEditCommand(WORD code) {
    switch (code) {
        case EN_UPDATE:
            if (!m_settingEdit)
                Command(CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (m_settingEdit)
                break;
            // While the list shows, the first item starting with the typed text is highlighted.
            if (m_dropped) {
                int i = Find(-1, GetWindowTextString(m_edit), false);
                if (i >= 0) {
                    m_sel = m_hot = i;
                    EnsureListShows(i);
                    InvalidateRect(m_list, nullptr, FALSE);
                }
            }
            Command(CBN_EDITCHANGE);
            break;
        case EN_SETFOCUS:
            Command(CBN_SETFOCUS);
            break;
        case EN_KILLFOCUS:
            if (GetFocus() != m_h) {
                CloseUp(false, -1);
                if (IsWindow(m_h))
                    Command(CBN_KILLFOCUS);
            }
            break;
        default:
            break;
    }
}

LRESULT Combo::Info(COMBOBOXINFO* info) const {
    if (!info)
        return FALSE;
    info->rcItem = FieldRect();
    info->rcButton = ButtonRect();
    info->stateButton = Kind() == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE : m_dropped ? STATE_SYSTEM_PRESSED : 0;
    info->hwndCombo = m_h;
    info->hwndItem = m_edit;
    info->hwndList = m_list;
    return TRUE;
}

LRESULT Combo::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            Create(reinterpret_cast<CREATESTRUCT*>(lParam));
            return 0;
        case WM_DESTROY:
            if (IsWindow(m_list))
                DestroyWindow(m_list);
            m_list = nullptr;
            return 0;
        case WM_CTLCOLORLISTBOX:
            // From the drop-down list: the parent answers, as for the combo box itself.
            if (HWND parent = GetParent(m_h))
                if (LRESULT brush = SendMessage(parent, msg, wParam, lParam))
                    return brush;
            return DefWindowProc(m_h, msg, wParam, lParam);
        case WM_SIZE:
            KeepFieldHeight();
            if (m_edit) {
                RECT f = FieldRect();
                MoveWindow(m_edit, f.left + 1, f.top + 1, f.right - f.left - 2, f.bottom - f.top - 2, TRUE);
            }
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case WM_SETFONT:
            m_font = (HFONT)wParam;
            Measure();
            if (m_edit)
                SendMessage(m_edit, WM_SETFONT, wParam, lParam);
            KeepFieldHeight();
            SendMessage(m_h, WM_SIZE, 0, 0);
            return 0;
        case WM_ENABLE:
            if (m_edit)
                EnableWindow(m_edit, (BOOL)wParam);
            if (!wParam)
                CloseUp(false, -1);
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
            if (m_edit) {
                SetFocus(m_edit);
                SendMessage(m_edit, EM_SETSEL, 0, -1);
                return 0;
            }
            InvalidateRect(m_h, nullptr, FALSE);
            Command(CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (m_edit && (HWND)wParam == m_edit)
                return 0;
            InvalidateRect(m_h, nullptr, FALSE);
            CloseUp(false, -1);
            if (IsWindow(m_h))
                Command(CBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT b = ButtonRect();
            if (!FocusInside())
                SetFocus(m_edit ? m_edit : m_h);
            if (Kind() == CBS_DROPDOWNLIST || PtInRect(&b, p))
                Drop(!m_dropped);
            return 0;
        }
        case WM_COMMAND:
            if ((HWND)lParam == m_edit && m_edit)
                OnEditCommand(HIWORD(wParam));
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (Key(msg, wParam))
                return 0;
            break;
        case WM_CHAR:
            if (!m_edit && wParam >= ' ') {
                // A letter selects the next item starting with it.
                char s[2] = {(char)wParam, 0};
                int i = Find(m_sel, s, false);
                if (i >= 0)
                    KeySelect(i);
                return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            if (!m_dropped && !m_items.empty())
                KeySelect(m_sel - (int)(short)HIWORD(wParam) / 120);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_dropped ? DLGC_WANTALLKEYS : 0);
        case WM_SETTEXT:
            if (m_edit) {
                SetEditText(lParam ? reinterpret_cast<LPCTSTR>(lParam) : "", false);
                return TRUE;
            }
            {
                int i = Find(-1, reinterpret_cast<LPCTSTR>(lParam), true);
                if (i < 0)
                    return CB_ERR;
                Select(i);
                return TRUE;
            }
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: {
            std::string text = m_edit                                        ? std::string(GetWindowTextString(m_edit))
                               : (m_sel >= 0 && m_sel < (int)m_items.size()) ? m_items[(size_t)m_sel].text
                                                                             : std::string();
            if (msg == WM_GETTEXTLENGTH)
                return (LRESULT)text.size();
            if (!lParam || wParam == 0)
                return 0;
            size_t n = std::min(text.size(), (size_t)wParam - 1);
            text.copy(reinterpret_cast<char*>(lParam), n);
            reinterpret_cast<char*>(lParam)[n] = 0;
            return (LRESULT)n;
        }
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
            return m_edit ? SendMessage(m_edit, msg, wParam, lParam) : 0;
        case CB_ADDSTRING:
        case CB_INSERTSTRING: {
            ComboItem item;
            item.text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : "";
            int at;
            if (msg == CB_ADDSTRING && (Style() & CBS_SORT)) {
                at = (int)(std::upper_bound(m_items.begin(), m_items.end(), item,
                                            [](const ComboItem& a, const ComboItem& b) {
                                                return CompareNoCase(a.text, b.text) < 0;
                                            }) -
                           m_items.begin());
            } else if (msg == CB_ADDSTRING || (int)wParam < 0) {
                at = (int)m_items.size();
            } else if ((int)wParam > (int)m_items.size()) {
                return CB_ERR;
            } else {
                at = (int)wParam;
            }
            m_items.insert(m_items.begin() + at, item);
            if (m_sel >= at)
                ++m_sel;
            if (m_list)
                InvalidateRect(m_list, nullptr, FALSE);
            return at;
        }
        case CB_DELETESTRING: {
            int i = (int)wParam;
            if (i < 0 || i >= (int)m_items.size())
                return CB_ERR;
            m_items.erase(m_items.begin() + i);
            if (m_sel == i)
                Select(-1);
            else if (m_sel > i)
                --m_sel;
            if (m_list)
                InvalidateRect(m_list, nullptr, FALSE);
            InvalidateRect(m_h, nullptr, FALSE);
            return (LRESULT)m_items.size();
        }
        case CB_RESETCONTENT:
            m_items.clear();
            m_top = 0;
            Select(-1);
            return CB_OKAY;
        case CB_GETCOUNT:
            return (LRESULT)m_items.size();
        case CB_GETCURSEL:
            return m_sel;
        case CB_SETCURSEL: {
            int i = (int)wParam;
            if (i < 0 || i >= (int)m_items.size()) {
                Select(-1);
                return CB_ERR;
            }
            Select(i);
            return i;
        }
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN: {
            int i = (int)wParam;
            if (i < 0 || i >= (int)m_items.size())
                return CB_ERR;
            const std::string& s = m_items[(size_t)i].text;
            if (msg == CB_GETLBTEXT && lParam) {
                s.copy(reinterpret_cast<char*>(lParam), s.size());
                reinterpret_cast<char*>(lParam)[s.size()] = 0;
            }
            return (LRESULT)s.size();
        }
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return Find((int)wParam, reinterpret_cast<LPCTSTR>(lParam), msg == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING: {
            int i = Find((int)wParam, reinterpret_cast<LPCTSTR>(lParam), false);
            if (i >= 0)
                Select(i);
            return i;
        }
        case CB_GETITEMDATA:
            if ((int)wParam < 0 || (int)wParam >= (int)m_items.size())
                return CB_ERR;
            return m_items[wParam].data;
        case CB_SETITEMDATA:
            if ((int)wParam < 0 || (int)wParam >= (int)m_items.size())
                return CB_ERR;
            m_items[wParam].data = lParam;
            return CB_OKAY;
        case CB_SHOWDROPDOWN:
            Drop(wParam != 0);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return m_dropped;
        case CB_GETDROPPEDCONTROLRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out)
                return CB_ERR;
            GetWindowRect(m_h, out);
            out->right = std::max<LONG>(out->right, out->left + m_droppedWidth);
            out->bottom = out->top + m_droppedHeight;
            return CB_OKAY;
        }
        case CB_SETITEMHEIGHT:
            if ((int)lParam <= 0 || (int)lParam > 255)
                return CB_ERR;
            if ((int)wParam == -1) {
                m_fieldHeight = (int)lParam + 8;
                KeepFieldHeight();
                SendMessage(m_h, WM_SIZE, 0, 0);
            } else {
                m_itemHeight = (int)lParam;
            }
            return CB_OKAY;
        case CB_GETITEMHEIGHT:
            return (int)wParam == -1 ? m_fieldHeight - 8 : m_itemHeight;
        case CB_SETEXTENDEDUI:
            m_extendedUI = wParam != 0;
            return CB_OKAY;
        case CB_GETEXTENDEDUI:
            return m_extendedUI;
        case CB_GETTOPINDEX:
            return m_top;
        case CB_SETTOPINDEX:
            if ((int)wParam < 0 || (int)wParam >= (int)m_items.size())
                return CB_ERR;
            m_top = (int)wParam;
            return CB_OKAY;
        case CB_GETHORIZONTALEXTENT:
            return m_hExtent;
        case CB_SETHORIZONTALEXTENT:
            m_hExtent = (int)wParam;
            return 0;
        case CB_GETDROPPEDWIDTH: {
            RECT wr;
            GetWindowRect(m_h, &wr);
            return std::max<int>(m_droppedWidth, wr.right - wr.left);
        }
        case CB_SETDROPPEDWIDTH:
            m_droppedWidth = std::max(0, (int)wParam);
            return std::max<int>(m_droppedWidth, 0);
        case CB_LIMITTEXT:
            if (m_edit)
                SendMessage(m_edit, EM_LIMITTEXT, wParam, 0);
            return TRUE;
        case CB_GETEDITSEL:
            return m_edit ? SendMessage(m_edit, EM_GETSEL, wParam, lParam) : CB_ERR;
        case CB_SETEDITSEL:
            if (!m_edit)
                return CB_ERR;
            SendMessage(m_edit, EM_SETSEL, (WPARAM)(int)(short)LOWORD(lParam), (LPARAM)(int)(short)HIWORD(lParam));
            return TRUE;
        case kCloseUpMessage:
            CloseUp(wParam != 0, (int)lParam);
            return 0;
        case CB_GETCOMBOBOXINFO:
            return Info(reinterpret_cast<COMBOBOXINFO*>(lParam));
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
    return (BOOL)SendMessage(combo, CB_GETCOMBOBOXINFO, 0, (LPARAM)info);
}

void user::RegisterComboBoxClass() {
    RegisterControlClass(WC_COMBOBOX, user::ControlWindowProc<Combo>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC);
    RegisterControlClass(WC_COMBOLBOX, user::ControlWindowProc<ComboList>, CS_DBLCLKS | CS_SAVEBITS);
}
