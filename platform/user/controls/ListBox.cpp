// The "ListBox" class: a column of items (strings or owner-drawn data), sorted or not, single or multiple
// selection, fixed or variable item heights, or items in columns; Classic look.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/SearchNoCase.h"
#include "platform/user/Controls.h"
#include "platform/user/ListBox.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
    for (size_t i = 0;; ++i) {
        if (i == a.size() || i == b.size())
            return (int)(a.size() > i) - (int)(b.size() > i);
        int ca = (unsigned char)a[i], cb = (unsigned char)b[i];
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
}

class ListBox : public user::Control {
public:
    explicit ListBox(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    struct Item {
        std::string text;
        ULONG_PTR data = 0;
        bool selected = false;
        int height = 0;
    };

    bool OwnerDraw() const { return Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
    bool Variable() const { return (Style() & LBS_OWNERDRAWVARIABLE) && !(Style() & LBS_MULTICOLUMN); }
    bool HasStrings() const { return !OwnerDraw() || (Style() & LBS_HASSTRINGS); }
    bool MultiSel() const { return Style() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
    int Count() const { return (int)m_items.size(); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    int DefaultHeight() const;
    int RowsPerColumn() const;
    RECT ItemRect(int index) const;
    int ItemAt(POINT pt) const;
    int Insert(int index, LPARAM value, bool sorted);
    int Delete(int index);
    void Reset();
    void SendDelete(int index);
    int Compare(const Item& a, const Item& b);
    int FindExact(int start, LPARAM value, bool prefix) const;
    void SetTop(int top);
    void Select(int index, bool notify);
    void Paint(HDC dc) override;
    void NotifyParent(WORD code) {
        if (Style() & LBS_NOTIFY)
            Command(code);
    }
    void Redraw() { InvalidateRect(m_h, nullptr, TRUE); }

    std::vector<Item> m_items;
    int m_top = 0;
    int m_caret = -1;
    int m_cursel = -1;
    int m_itemHeight = 0;  // 0: not measured yet
    int m_columnWidth = 0;
    int m_extent = 0;
};

int ListBox::DefaultHeight() const {
    if (m_itemHeight > 0)
        return m_itemHeight;
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return std::max<int>(1, tm.tmHeight);
}

int ListBox::RowsPerColumn() const {
    RECT rc{};
    GetClientRect(m_h, &rc);
    return std::max(1, (int)(rc.bottom - rc.top) / std::max(1, DefaultHeight()));
}

RECT ListBox::ItemRect(int index) const {
    RECT rc{};
    GetClientRect(m_h, &rc);
    if (Style() & LBS_MULTICOLUMN) {
        int rows = RowsPerColumn(), h = DefaultHeight();
        int width = m_columnWidth > 0 ? m_columnWidth : std::max(1, (int)rc.right / 2);
        int topColumn = m_top / rows, column = index / rows - topColumn, row = index % rows;
        return RECT{column * width, row * h, column * width + width, row * h + h};
    }
    int y = 0;
    if (index >= m_top) {
        for (int i = m_top; i < index; ++i)
            y += Variable() ? m_items[(size_t)i].height : DefaultHeight();
    } else {
        for (int i = index; i < m_top; ++i)
            y -= Variable() ? m_items[(size_t)i].height : DefaultHeight();
    }
    int h = Valid(index) && Variable() ? m_items[(size_t)index].height : DefaultHeight();
    int width = std::max<int>(rc.right, m_extent);
    return RECT{0, y, width, y + h};
}

int ListBox::ItemAt(POINT pt) const {
    RECT client{};
    GetClientRect(m_h, &client);
    for (int i = m_top; i < Count(); ++i) {
        RECT r = ItemRect(i);
        if (r.top >= client.bottom && !(Style() & LBS_MULTICOLUMN))
            break;
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom)
            return i;
    }
    return -1;
}

int ListBox::Compare(const Item& a, const Item& b) {
    if (HasStrings())
        return CompareNoCase(a.text, b.text);
    COMPAREITEMSTRUCT cis{};
    cis.CtlType = ODT_LISTBOX;
    cis.CtlID = (UINT)GetDlgCtrlID(m_h);
    cis.hwndItem = m_h;
    cis.itemID1 = (UINT)-1;
    cis.itemData1 = a.data;
    cis.itemID2 = 0;
    cis.itemData2 = b.data;
    HWND parent = GetParent(m_h);
    return parent ? (int)SendMessage(parent, WM_COMPAREITEM, cis.CtlID, (LPARAM)&cis) : 0;
}

int ListBox::Insert(int index, LPARAM value, bool sorted) {
    Item item;
    if (HasStrings())
        item.text = value ? reinterpret_cast<LPCTSTR>(value) : "";
    else
        item.data = (ULONG_PTR)value;
    if (index < 0 || index > Count())
        index = Count();
    if (sorted && (Style() & LBS_SORT)) {
        index = 0;
        while (index < Count() && Compare(m_items[(size_t)index], item) <= 0)
            ++index;
    }
    m_items.insert(m_items.begin() + index, item);
    if (m_cursel >= index)
        ++m_cursel;
    if (m_caret >= index)
        ++m_caret;
    if (Variable()) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_LISTBOX;
        mis.CtlID = (UINT)GetDlgCtrlID(m_h);
        mis.itemID = (UINT)index;
        mis.itemHeight = (UINT)DefaultHeight();
        mis.itemData = HasStrings() ? (ULONG_PTR)m_items[(size_t)index].text.c_str() : item.data;
        if (HWND parent = GetParent(m_h))
            SendMessage(parent, WM_MEASUREITEM, mis.CtlID, (LPARAM)&mis);
        m_items[(size_t)index].height = std::max(1, (int)mis.itemHeight);
    }
    Redraw();
    return index;
}

void ListBox::SendDelete(int index) {
    if (!OwnerDraw())
        return;
    DELETEITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = (UINT)GetDlgCtrlID(m_h);
    dis.itemID = (UINT)index;
    dis.hwndItem = m_h;
    dis.itemData = m_items[(size_t)index].data;
    if (HWND parent = GetParent(m_h))
        SendMessage(parent, WM_DELETEITEM, dis.CtlID, (LPARAM)&dis);
}

int ListBox::Delete(int index) {
    if (!Valid(index))
        return LB_ERR;
    SendDelete(index);
    if (!Valid(index))  // the parent changed the list meanwhile
        return Count();
    m_items.erase(m_items.begin() + index);
    if (m_cursel == index)
        m_cursel = -1;
    else if (m_cursel > index)
        --m_cursel;
    if (m_caret >= Count())
        m_caret = Count() - 1;
    if (m_top >= Count())
        m_top = std::max(0, Count() - 1);
    Redraw();
    return Count();
}

void ListBox::Reset() {
    // Last first, so an owner that renumbers its records on each deletion stays in step.
    for (int i = Count() - 1; i >= 0; --i)
        SendDelete(i);
    m_items.clear();
    m_top = 0;
    m_caret = m_cursel = -1;
    Redraw();
}

int ListBox::FindExact(int start, LPARAM value, bool prefix) const {
    int n = Count();
    if (n == 0)
        return LB_ERR;
    std::string wanted = HasStrings() && value ? reinterpret_cast<LPCTSTR>(value) : "";
    for (int k = 1; k <= n; ++k) {
        int i = ((start < 0 ? -1 : start) + k) % n;
        const Item& item = m_items[(size_t)i];
        if (!HasStrings()) {
            if (item.data == (ULONG_PTR)value)
                return i;
            continue;
        }
        std::string text = prefix ? item.text.substr(0, wanted.size()) : item.text;
        if (text.size() == wanted.size() && CompareNoCase(text, wanted) == 0)
            return i;
    }
    return LB_ERR;
}

void ListBox::SetTop(int top) {
    top = std::max(0, std::min(top, std::max(0, Count() - 1)));
    if (top != m_top) {
        m_top = top;
        Redraw();
    }
}

void ListBox::Select(int index, bool notify) {
    if (MultiSel()) {
        if (Valid(index))
            m_items[(size_t)index].selected = !m_items[(size_t)index].selected;
    } else {
        m_cursel = index;
    }
    m_caret = index;
    Redraw();
    if (notify)
        NotifyParent(LBN_SELCHANGE);
}

void ListBox::Paint(HDC dc) {
    RECT client{};
    GetClientRect(m_h, &client);
    // The background was erased (WM_ERASEBKGND); owner-drawn items paint their own.
    HBRUSH bg = OwnerDraw() ? nullptr : user::ControlColor(m_h, dc, WM_CTLCOLORLISTBOX);
    HGDIOBJ oldFont = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    bool focused = GetFocus() == m_h;
    HWND parent = GetParent(m_h);
    for (int i = m_top; i < Count(); ++i) {
        RECT r = ItemRect(i);
        if (r.left >= client.right || (r.top >= client.bottom && !(Style() & LBS_MULTICOLUMN)))
            break;
        bool selected = MultiSel() ? m_items[(size_t)i].selected : i == m_cursel;
        if (OwnerDraw()) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_LISTBOX;
            dis.CtlID = (UINT)GetDlgCtrlID(m_h);
            dis.itemID = (UINT)i;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = (selected ? ODS_SELECTED : 0) | (focused && i == m_caret ? ODS_FOCUS : 0) |
                            (IsWindowEnabled(m_h) ? 0 : ODS_DISABLED);
            dis.hwndItem = m_h;
            dis.hDC = dc;
            dis.rcItem = r;
            dis.itemData = m_items[(size_t)i].data;
            if (parent)
                SendMessage(parent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
            continue;
        }
        if (selected)
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        else if (bg)
            FillRect(dc, &r, bg);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = r;
        text.left += 2;
        const std::string& s = m_items[(size_t)i].text;
        DrawText(dc, s.c_str(), (int)s.size(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (focused && i == m_caret)
            DrawFocusRect(dc, &r);
    }
    SelectObject(dc, oldFont);
}

LRESULT ListBox::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            if ((Style() & LBS_OWNERDRAWFIXED) || (Style() & LBS_MULTICOLUMN && OwnerDraw())) {
                MEASUREITEMSTRUCT mis{};
                mis.CtlType = ODT_LISTBOX;
                mis.CtlID = (UINT)GetDlgCtrlID(m_h);
                mis.itemHeight = (UINT)DefaultHeight();
                if (HWND parent = GetParent(m_h))
                    SendMessage(parent, WM_MEASUREITEM, mis.CtlID, (LPARAM)&mis);
                m_itemHeight = std::max(1, (int)mis.itemHeight);
            }
            return 0;
        case WM_DESTROY:
            for (int i = Count() - 1; i >= 0; --i)
                SendDelete(i);
            m_items.clear();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(m_h, &client);
            if (HBRUSH brush = user::ControlColor(m_h, (HDC)wParam, WM_CTLCOLORLISTBOX))
                FillRect((HDC)wParam, &client, brush);
            return TRUE;
        }
        case LB_ADDSTRING:
            return Insert(-1, lParam, true);
        case LB_INSERTSTRING:
            return Insert((int)wParam < 0 ? Count() : std::min((int)wParam, Count()), lParam, false);
        case LB_DELETESTRING:
            return Delete((int)wParam);
        case LB_RESETCONTENT:
            Reset();
            return 0;
        case LB_GETCOUNT:
            return Count();
        case LB_GETTEXTLEN:
            if (!Valid((int)wParam))
                return LB_ERR;
            return HasStrings() ? (LRESULT)m_items[wParam].text.size() : (LRESULT)sizeof(ULONG_PTR);
        case LB_GETTEXT: {
            if (!Valid((int)wParam) || !lParam)
                return LB_ERR;
            if (!HasStrings()) {
                std::memcpy(reinterpret_cast<void*>(lParam), &m_items[wParam].data, sizeof(ULONG_PTR));
                return sizeof(ULONG_PTR);
            }
            const std::string& s = m_items[wParam].text;
            std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
            return (LRESULT)s.size();
        }
        case LB_GETITEMDATA:
            return Valid((int)wParam) ? (LRESULT)m_items[wParam].data : LB_ERR;
        case LB_SETITEMDATA:
            if (!Valid((int)wParam))
                return LB_ERR;
            m_items[wParam].data = (ULONG_PTR)lParam;
            return 0;
        case LB_SETCURSEL:
            if (MultiSel())
                return LB_ERR;
            m_cursel = Valid((int)wParam) ? (int)wParam : -1;
            if (m_cursel >= 0)
                m_caret = m_cursel;
            Redraw();
            return m_cursel >= 0 ? m_cursel : LB_ERR;
        case LB_GETCURSEL:
            return MultiSel() ? m_caret : m_cursel;
        case LB_GETSEL:
            if (!Valid((int)wParam))
                return LB_ERR;
            return MultiSel() ? m_items[wParam].selected : (int)wParam == m_cursel;
        case LB_SETSEL: {
            if (!MultiSel())
                return LB_ERR;
            int index = (int)lParam;
            if (index == -1) {
                for (Item& item : m_items)
                    item.selected = wParam != 0;
            } else if (Valid(index)) {
                m_items[(size_t)index].selected = wParam != 0;
                m_caret = index;
            } else {
                return LB_ERR;
            }
            Redraw();
            return 0;
        }
        case LB_GETSELCOUNT: {
            if (!MultiSel())
                return LB_ERR;
            return std::count_if(m_items.begin(), m_items.end(), [](const Item& i) { return i.selected; });
        }
        case LB_SETCARETINDEX:
            if (!Valid((int)wParam))
                return LB_ERR;
            m_caret = (int)wParam;
            Redraw();
            return 0;
        case LB_GETCARETINDEX:
            return m_caret >= 0 ? m_caret : (Count() ? 0 : LB_ERR);
        case LB_GETTOPINDEX:
            return m_top;
        case LB_SETTOPINDEX:
            if (Count() && !Valid((int)wParam))
                return LB_ERR;
            SetTop((int)wParam);
            return 0;
        case LB_SETITEMHEIGHT: {
            int height = LOWORD(lParam);
            if (height < 1 || height > 255)
                return LB_ERR;
            if (Variable()) {
                if (!Valid((int)wParam))
                    return LB_ERR;
                m_items[wParam].height = height;
            } else {
                m_itemHeight = height;
            }
            Redraw();
            return 0;
        }
        case LB_GETITEMHEIGHT:
            if (Variable())
                return Valid((int)wParam) ? m_items[wParam].height : LB_ERR;
            return DefaultHeight();
        case LB_GETITEMRECT: {
            if (!lParam || (!Valid((int)wParam) && !(wParam == 0 && Count() == 0)))
                return LB_ERR;
            *reinterpret_cast<RECT*>(lParam) = ItemRect((int)wParam);
            return 0;
        }
        case LB_FINDSTRINGEXACT:
            return FindExact((int)wParam, lParam, false);
        case LB_FINDSTRING:
            return FindExact((int)wParam, lParam, true);
        case LB_SELECTSTRING: {
            int found = FindExact((int)wParam, lParam, true);
            if (found >= 0 && !MultiSel())
                Select(found, false);
            return found;
        }
        case LB_GETHORIZONTALEXTENT:
            return m_extent;
        case LB_SETHORIZONTALEXTENT:
            m_extent = (int)wParam;
            Redraw();
            return 0;
        case LB_SETCOLUMNWIDTH:
            m_columnWidth = (int)wParam;
            Redraw();
            return 0;
        case LB_ITEMFROMPOINT: {
            int index = ItemAt(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
            return index >= 0 ? MAKELONG(index, 0) : MAKELONG(std::max(0, Count() - 1), 1);
        }
        case WM_MOUSEWHEEL: {
            short delta = (short)HIWORD(wParam);
            SetTop(m_top + (delta > 0 ? -3 : 3));
            return 0;
        }
        case WM_VSCROLL: {
            int target = m_top;
            if (ScrollTarget(LOWORD(wParam), m_top, 1, RowsPerColumn(), Count() - 1, (HWND)lParam, target,
                             lParam ? SB_CTL : SB_VERT))
                SetTop(target);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            SetFocus(m_h);
            int index = ItemAt(POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)});
            if (index >= 0)
                Select(index, true);
            if (msg == WM_LBUTTONDBLCLK && index >= 0)
                NotifyParent(LBN_DBLCLK);
            return 0;
        }
        case WM_KEYDOWN: {
            int next = m_caret;
            if (wParam == VK_DOWN)
                next = std::min(Count() - 1, m_caret + 1);
            else if (wParam == VK_UP)
                next = std::max(0, m_caret - 1);
            else if (wParam == VK_HOME)
                next = 0;
            else if (wParam == VK_END)
                next = Count() - 1;
            else
                return 0;
            if (Valid(next) && next != m_caret) {
                if (MultiSel()) {
                    m_caret = next;
                    Redraw();
                } else {
                    Select(next, true);
                }
                if (next < m_top)
                    SetTop(next);
            }
            return 0;
        }
        case WM_SETFOCUS:
            Redraw();
            NotifyParent(LBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            Redraw();
            NotifyParent(LBN_KILLFOCUS);
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace

namespace user {
void RegisterListBoxClass() {
    RegisterControlClass(WC_LISTBOX, user::ControlWindowProc<ListBox>, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
