// The "SysTabControl32" class in the Classic look. Tabs lie along one side (top; bottom with TCS_BOTTOM;
// left with TCS_VERTICAL; right with TCS_VERTICAL | TCS_RIGHT) in rows; with several rows the selected
// tab's row is the one next to the display area. A single row of tabs too long for the control scrolls
// with a horizontal up-down child whose position is the first tab shown.
//
// Geometry works in two axes: "along" the tabs' side and "across" it, measured inwards from that side;
// one mapping turns them into client rectangles for each of the four sides.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/Tab.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr int kMargin = 2;       // from the side to the first row, and before the first tab
constexpr int kPaneInset = 4;    // from the pane's outside to the display area: edge and margin
constexpr int kButtonGap = 3;    // between buttons of TCS_BUTTONS, along and across
constexpr int kImageGap = 3;     // between an image and the label
constexpr UINT kUpDownId = 1;

struct Item {
    std::string text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct Layout {
    int rowHeight = 0;
    int rows = 1;
    std::vector<RECT> rects;  // per item, client coordinates
    bool scrolls = false;     // a single row longer than the control
    int maxFirst = 0;         // the last useful scroll position
    RECT upDown{};            // where the up-down goes when the row scrolls
};

class Tab : public user::Control {
public:
    explicit Tab(HWND h) : Control(h, kPaints | kPrints | kKeepsFont) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    enum Side { kTop, kBottom, kLeft, kRight };
    Side TabSide() const {
        DWORD s = Style();
        if (s & TCS_VERTICAL)
            return (s & TCS_RIGHT) ? kRight : kLeft;
        return (s & TCS_BOTTOM) ? kBottom : kTop;
    }
    bool Buttons() const { return (Style() & TCS_BUTTONS) != 0; }
    bool Multiline() const { return (Style() & (TCS_MULTILINE | TCS_VERTICAL)) != 0; }
    // A rectangle given along/across the tab side, in client coordinates.
    RECT Map(int a0, int a1, int c0, int c1) const;
    SIZE TextSize(const std::string& text) const;
    int ItemLength(const Item& item) const;
    Layout Measure() const;
    // The pane's rectangle in client coordinates for `rows` rows, and the display area inside a rectangle.
    int PaneOffset(const Layout& l) const {
        return Buttons() ? l.rows * (l.rowHeight + kButtonGap) : kMargin + l.rows * l.rowHeight;
    }
    void AdjustRect(BOOL larger, RECT* rc) const;
    int HitTest(POINT p, UINT* flags) const;
    void Relayout();
    void EnsureVisible(int item);
    // Selects an item as a user does: TCN_SELCHANGING (refusable), then TCN_SELCHANGE.
    void UserSelect(int item);
    void SetCurSel(int item);
    void Paint(HDC dc) override;
    void DrawTabFrame(HDC dc, RECT r, bool selected) const;
    void DrawLabel(HDC dc, const Item& item, RECT r, bool selected, bool hot) const;
    LRESULT GetItem(int index, TCITEM* out) const;
    LRESULT SetItem(int index, const TCITEM* in);
    void ShowState() { InvalidateRect(m_h, nullptr, TRUE); }

    std::vector<Item> m_items;
    int m_sel = -1;
    int m_first = 0;  // first tab shown of a scrolled row
    int m_hot = -1;
    HIMAGELIST m_images = nullptr;
    SIZE m_fixed{0, 0};  // TCM_SETITEMSIZE
    SIZE m_padding{6, 3};
    int m_minWidth = 0;
    HWND m_upDown = nullptr;
};

RECT Tab::Map(int a0, int a1, int c0, int c1) const {
    RECT rc;
    GetClientRect(m_h, &rc);
    switch (TabSide()) {
        case kBottom:
            return RECT{a0, rc.bottom - c1, a1, rc.bottom - c0};
        case kLeft:
            return RECT{c0, a0, c1, a1};
        case kRight:
            return RECT{rc.right - c1, a0, rc.right - c0, a1};
        default:
            return RECT{a0, c0, a1, c1};
    }
}

SIZE Tab::TextSize(const std::string& text) const {
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, user::ControlFont(m_h));
    SIZE s{0, 0};
    GetTextExtentPoint32(dc, text.c_str(), (int)text.size(), &s);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    s.cy = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    return s;
}

int Tab::ItemLength(const Item& item) const {
    if ((Style() & TCS_FIXEDWIDTH) && m_fixed.cx > 0)
        return m_fixed.cx;
    int len = TextSize(item.text).cx + 2 * m_padding.cx;
    int ix = 0, iy = 0;
    if (item.image >= 0 && m_images && ImageList_GetIconSize(m_images, &ix, &iy))
        len += ix + kImageGap;
    return std::max(len, m_minWidth);
}

Layout Tab::Measure() const {
    Layout l;
    int ix = 0, iy = 0;
    if (m_images)
        ImageList_GetIconSize(m_images, &ix, &iy);
    l.rowHeight = m_fixed.cy > 0 ? m_fixed.cy : std::max<int>(TextSize("Ag").cy, iy) + 2 * m_padding.cy;
    RECT rc;
    GetClientRect(m_h, &rc);
    bool vertical = TabSide() == kLeft || TabSide() == kRight;
    int length = (vertical ? rc.bottom : rc.right) - 2 * kMargin;
    bool buttons = Buttons();
    int gap = buttons ? kButtonGap : 0;
    size_t n = m_items.size();
    std::vector<int> lens(n);
    for (size_t i = 0; i < n; ++i)
        lens[i] = ItemLength(m_items[i]);
    l.rects.assign(n, RECT{});
    // Rows of item ranges [start, end).
    std::vector<std::pair<size_t, size_t>> rows;
    if (Multiline()) {
        size_t start = 0;
        int at = 0;
        for (size_t i = 0; i < n; ++i) {
            if (i > start && at + lens[i] > length) {
                rows.push_back({start, i});
                start = i;
                at = 0;
            }
            at += lens[i] + gap;
        }
        rows.push_back({start, n});
    } else {
        rows.push_back({0, n});
    }
    l.rows = std::max<int>(1, (int)rows.size());
    // With several rows each row is stretched over the whole length, unless the rows may stay ragged.
    bool stretch = rows.size() > 1 && !(Style() & TCS_RAGGEDRIGHT) && !buttons;
    int selRow = 0;
    for (size_t r = 0; r < rows.size(); ++r)
        if (m_sel >= (int)rows[r].first && m_sel < (int)rows[r].second)
            selRow = (int)r;
    int pitch = l.rowHeight + gap;
    // The scrolled single row: where it starts and how far it may scroll.
    int shift = 0;
    if (!Multiline()) {
        int total = 0;
        for (int len : lens)
            total += len + gap;
        if (total > length && n > 1) {
            l.scrolls = true;
            int udHeight = std::max(8, l.rowHeight - 2);
            int udWidth = 2 * udHeight;
            int available = length - udWidth;
            int tail = 0;
            l.maxFirst = (int)n - 1;
            for (int i = (int)n - 1; i >= 0; --i) {
                tail += lens[(size_t)i] + gap;
                if (tail > available)
                    break;
                l.maxFirst = i;
            }
            int along = (vertical ? rc.bottom : rc.right) - udWidth;
            l.upDown = Map(along, along + udWidth, kMargin, kMargin + udHeight);
            int first = std::clamp(m_first, 0, l.maxFirst);
            for (int i = 0; i < first; ++i)
                shift += lens[(size_t)i] + gap;
        }
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        auto [start, end] = rows[r];
        int used = 0;
        for (size_t i = start; i < end; ++i)
            used += lens[i];
        int extra = stretch ? std::max(0, length - used) : 0;
        size_t count = end - start;
        // Rows turn so the selected one lies next to the pane; buttons keep their order.
        int display = buttons ? (int)r : ((int)r - selRow + 2 * l.rows - 1) % l.rows;
        int c0 = (buttons ? 0 : kMargin) + display * pitch;
        int at = kMargin - shift;
        for (size_t i = start; i < end; ++i) {
            int len = lens[i] + (count ? extra / (int)count + ((int)(i - start) < extra % (int)count ? 1 : 0) : 0);
            l.rects[i] = Map(at, at + len, c0, c0 + l.rowHeight);
            at += len + gap;
        }
    }
    return l;
}

void Tab::AdjustRect(BOOL larger, RECT* rc) const {
    Layout l = Measure();
    int offset = PaneOffset(l);
    int inset = Buttons() ? 0 : kPaneInset;
    Side side = TabSide();
    if (larger) {
        InflateRect(rc, inset, inset);
        (side == kTop ? rc->top : side == kBottom ? rc->bottom : side == kLeft ? rc->left : rc->right) +=
            (side == kTop || side == kLeft) ? -offset : offset;
    } else {
        (side == kTop ? rc->top : side == kBottom ? rc->bottom : side == kLeft ? rc->left : rc->right) +=
            (side == kTop || side == kLeft) ? offset : -offset;
        InflateRect(rc, -inset, -inset);
    }
}

int Tab::HitTest(POINT p, UINT* flags) const {
    Layout l = Measure();
    RECT rc;
    GetClientRect(m_h, &rc);
    for (size_t i = 0; i < l.rects.size(); ++i) {
        RECT r = l.rects[i];
        if (!PtInRect(&r, p) || !PtInRect(&rc, p))
            continue;
        if (l.scrolls && PtInRect(&l.upDown, p))
            break;
        if (flags) {
            *flags = TCHT_ONITEMLABEL;
            int ix = 0, iy = 0;
            if (m_items[i].image >= 0 && m_images && ImageList_GetIconSize(m_images, &ix, &iy)) {
                bool vertical = TabSide() == kLeft || TabSide() == kRight;
                int at = vertical ? p.y - r.top : p.x - r.left;
                if (at >= m_padding.cx && at < m_padding.cx + ix)
                    *flags = TCHT_ONITEMICON;
            }
        }
        return (int)i;
    }
    if (flags)
        *flags = TCHT_NOWHERE;
    return -1;
}

void Tab::Relayout() {
    Layout l = Measure();
    if (l.scrolls) {
        m_first = std::clamp(m_first, 0, l.maxFirst);
        if (!IsWindow(m_upDown))
            m_upDown = CreateWindowEx(0, UPDOWN_CLASS, nullptr, WS_CHILD | WS_VISIBLE | UDS_HORZ, 0, 0, 0, 0, m_h,
                                      (HMENU)(UINT_PTR)kUpDownId, nullptr, nullptr);
        MoveWindow(m_upDown, l.upDown.left, l.upDown.top, l.upDown.right - l.upDown.left,
                   l.upDown.bottom - l.upDown.top, TRUE);
        SendMessage(m_upDown, UDM_SETRANGE32, 0, l.maxFirst);
        SendMessage(m_upDown, UDM_SETPOS32, 0, m_first);
    } else {
        m_first = 0;
        if (IsWindow(m_upDown))
            DestroyWindow(m_upDown);
        m_upDown = nullptr;
    }
    ShowState();
}

void Tab::EnsureVisible(int item) {
    Layout l = Measure();
    if (!l.scrolls || item < 0 || item >= (int)m_items.size())
        return;
    RECT rc;
    GetClientRect(m_h, &rc);
    bool vertical = TabSide() == kLeft || TabSide() == kRight;
    int limit = vertical ? l.upDown.top : l.upDown.left;
    if (item < m_first) {
        m_first = item;
    } else {
        // Scroll on while the item's far end is hidden under the up-down.
        while (m_first < std::min(item, l.maxFirst)) {
            RECT r = Measure().rects[(size_t)item];
            if ((vertical ? r.bottom : r.right) <= limit)
                break;
            ++m_first;
        }
    }
    Relayout();
}

void Tab::UserSelect(int item) {
    if (item < 0 || item >= (int)m_items.size() || item == m_sel)
        return;
    if (Notify(TCN_SELCHANGING) || !IsWindow(m_h))
        return;
    SetCurSel(item);
    Notify(TCN_SELCHANGE);
}

void Tab::SetCurSel(int item) {
    m_sel = item;
    EnsureVisible(item);
    ShowState();
}

// The Classic tab: highlight on the outer side and the leading edge, shadow and dark shadow on the
// trailing edge, the two outer corners cut; the inner side stays open towards the pane.
void Tab::DrawTabFrame(HDC dc, RECT r, bool selected) const {
    HBRUSH face = GetSysColorBrush(COLOR_3DFACE), light = GetSysColorBrush(COLOR_3DHILIGHT),
           shadow = GetSysColorBrush(COLOR_3DSHADOW), dark = GetSysColorBrush(COLOR_3DDKSHADOW);
    if (Buttons()) {
        FillRect(dc, &r, face);
        if (selected || !(Style() & TCS_FLATBUTTONS))
            DrawEdge(dc, &r, selected ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        return;
    }
    FillRect(dc, &r, face);
    auto fill = [&](int l, int t, int rr, int b, HBRUSH br) {
        RECT x{l, t, rr, b};
        FillRect(dc, &x, br);
    };
    (void)selected;
    switch (TabSide()) {
        case kTop:
            fill(r.left, r.top + 2, r.left + 1, r.bottom, light);
            fill(r.left + 1, r.top + 1, r.left + 2, r.top + 2, light);
            fill(r.left + 2, r.top, r.right - 2, r.top + 1, light);
            fill(r.right - 2, r.top + 2, r.right - 1, r.bottom, shadow);
            fill(r.right - 1, r.top + 2, r.right, r.bottom, dark);
            fill(r.right - 2, r.top + 1, r.right - 1, r.top + 2, dark);
            break;
        case kBottom:
            fill(r.left, r.top, r.left + 1, r.bottom - 2, light);
            fill(r.left + 1, r.bottom - 2, r.left + 2, r.bottom - 1, dark);
            fill(r.left + 2, r.bottom - 1, r.right - 2, r.bottom, dark);
            fill(r.left + 2, r.bottom - 2, r.right - 2, r.bottom - 1, shadow);
            fill(r.right - 2, r.top, r.right - 1, r.bottom - 2, shadow);
            fill(r.right - 1, r.top, r.right, r.bottom - 2, dark);
            fill(r.right - 2, r.bottom - 2, r.right - 1, r.bottom - 1, dark);
            break;
        case kLeft:
            fill(r.left + 2, r.top, r.right, r.top + 1, light);
            fill(r.left + 1, r.top + 1, r.left + 2, r.top + 2, light);
            fill(r.left, r.top + 2, r.left + 1, r.bottom - 2, light);
            fill(r.left + 2, r.bottom - 2, r.right, r.bottom - 1, shadow);
            fill(r.left + 2, r.bottom - 1, r.right, r.bottom, dark);
            fill(r.left + 1, r.bottom - 2, r.left + 2, r.bottom - 1, dark);
            break;
        case kRight:
            fill(r.left, r.top, r.right - 2, r.top + 1, light);
            fill(r.right - 2, r.top + 1, r.right - 1, r.top + 2, dark);
            fill(r.right - 1, r.top + 2, r.right, r.bottom - 2, dark);
            fill(r.right - 2, r.top + 2, r.right - 1, r.bottom - 2, shadow);
            fill(r.left, r.bottom - 2, r.right - 2, r.bottom - 1, shadow);
            fill(r.left, r.bottom - 1, r.right - 2, r.bottom, dark);
            fill(r.right - 2, r.bottom - 2, r.right - 1, r.bottom - 1, dark);
            break;
    }
}

void Tab::DrawLabel(HDC dc, const Item& item, RECT r, bool selected, bool hot) const {
    Side side = TabSide();
    bool vertical = side == kLeft || side == kRight;
    COLORREF color = !IsWindowEnabled(m_h) ? GetSysColor(COLOR_GRAYTEXT)
                     : hot                 ? GetSysColor(COLOR_HOTLIGHT)
                                           : GetSysColor(COLOR_BTNTEXT);
    int ix = 0, iy = 0;
    bool image = item.image >= 0 && m_images && ImageList_GetIconSize(m_images, &ix, &iy);
    SIZE text = TextSize(item.text);
    int length = text.cx + (image ? ix + kImageGap : 0);
    int span = vertical ? r.bottom - r.top : r.right - r.left;
    int start = (vertical ? r.top : r.left) + std::max(0, (span - length) / 2);
    if (selected && Buttons())
        start += 1;
    if (!vertical) {
        if (image) {
            ImageList_Draw(m_images, item.image, dc, start, (r.top + r.bottom - iy) / 2, ILD_TRANSPARENT);
            start += ix + kImageGap;
        }
        RECT t{start, r.top, r.right, r.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        HGDIOBJ old = SelectObject(dc, user::ControlFont(m_h));
        DrawText(dc, item.text.c_str(), (int)item.text.size(), &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        return;
    }
    // Labels on a vertical side read upwards (left) or downwards (right): drawn level into a bitmap,
    // then turned a quarter into place.
    if (image) {
        ImageList_Draw(m_images, item.image, dc, (r.left + r.right - ix) / 2, side == kLeft ? r.bottom - start + r.top - ix : start,
                       ILD_TRANSPARENT);
        start += ix + kImageGap;
    }
    int w = std::max<int>(1, text.cx), h = std::max<int>(1, text.cy);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    RECT all{0, 0, w, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_3DFACE));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, color);
    HGDIOBJ oldFont = SelectObject(mem, user::ControlFont(m_h));
    TextOut(mem, 0, 0, item.text.c_str(), (int)item.text.size());
    SelectObject(mem, oldFont);
    COLORREF face = GetSysColor(COLOR_3DFACE);
    int x0 = (r.left + r.right - h) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = GetPixel(mem, x, y);
            if (c == face)
                continue;
            if (side == kLeft)
                SetPixel(dc, x0 + y, r.bottom - (start - r.top) - 1 - x, c);
            else
                SetPixel(dc, x0 + h - 1 - y, start + x, c);
        }
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void Tab::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    HBRUSH bg = user::ControlColor(m_h, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_3DFACE));
    Layout l = Measure();
    Side side = TabSide();
    bool buttons = Buttons();
    if (!buttons) {
        // The pane: highlight on the top and left, shadow and dark shadow on the right and bottom.
        RECT pane = rc;
        int offset = PaneOffset(l);
        (side == kTop ? pane.top : side == kBottom ? pane.bottom : side == kLeft ? pane.left : pane.right) +=
            (side == kTop || side == kLeft) ? offset : -offset;
        DrawEdge(dc, &pane, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
    }
    bool focused = GetFocus() == m_h;
    auto drawItem = [&](size_t i) {
        RECT r = l.rects[i];
        bool selected = (int)i == m_sel;
        if (selected && !buttons) {
            // The selected tab stands out two pixels and opens into the pane.
            switch (side) {
                case kTop:
                    r = RECT{r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};
                    break;
                case kBottom:
                    r = RECT{r.left - 2, r.top - 1, r.right + 2, r.bottom + 2};
                    break;
                case kLeft:
                    r = RECT{r.left - 2, r.top - 2, r.right + 1, r.bottom + 2};
                    break;
                case kRight:
                    r = RECT{r.left - 1, r.top - 2, r.right + 2, r.bottom + 2};
                    break;
            }
        }
        DrawTabFrame(dc, r, selected);
        DrawLabel(dc, m_items[i], r, selected, (Style() & TCS_HOTTRACK) && (int)i == m_hot);
        if (selected && focused && !(Style() & TCS_FOCUSNEVER)) {
            RECT f = r;
            InflateRect(&f, -3, -3);
            DrawFocusRect(dc, &f);
        }
    };
    for (size_t i = 0; i < l.rects.size(); ++i)
        if ((int)i != m_sel)
            drawItem(i);
    if (m_sel >= 0 && m_sel < (int)l.rects.size())
        drawItem((size_t)m_sel);
}

LRESULT Tab::GetItem(int index, TCITEM* out) const {
    if (!out || index < 0 || index >= (int)m_items.size())
        return FALSE;
    const Item& it = m_items[(size_t)index];
    if ((out->mask & TCIF_TEXT) && out->pszText && out->cchTextMax > 0) {
        size_t n = std::min(it.text.size(), (size_t)out->cchTextMax - 1);
        it.text.copy(out->pszText, n);
        out->pszText[n] = 0;
    }
    if (out->mask & TCIF_IMAGE)
        out->iImage = it.image;
    if (out->mask & TCIF_PARAM)
        out->lParam = it.param;
    if (out->mask & TCIF_STATE)
        out->dwState = it.state & out->dwStateMask;
    return TRUE;
}

LRESULT Tab::SetItem(int index, const TCITEM* in) {
    if (!in || index < 0 || index >= (int)m_items.size())
        return FALSE;
    Item& it = m_items[(size_t)index];
    if ((in->mask & TCIF_TEXT) && in->pszText)
        it.text = in->pszText;
    if (in->mask & TCIF_IMAGE)
        it.image = in->iImage;
    if (in->mask & TCIF_PARAM)
        it.param = in->lParam;
    if (in->mask & TCIF_STATE)
        it.state = (it.state & ~in->dwStateMask) | (in->dwState & in->dwStateMask);
    Relayout();
    return TRUE;
}

LRESULT Tab::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case TCM_GETITEMCOUNT:
            return (LRESULT)m_items.size();
        case TCM_INSERTITEM: {
            const auto* in = reinterpret_cast<const TCITEM*>(lParam);
            if (!in || (int)wParam < 0)
                return -1;
            size_t at = std::min((size_t)wParam, m_items.size());
            Item it;
            if ((in->mask & TCIF_TEXT) && in->pszText)
                it.text = in->pszText;
            if (in->mask & TCIF_IMAGE)
                it.image = in->iImage;
            if (in->mask & TCIF_PARAM)
                it.param = in->lParam;
            if (in->mask & TCIF_STATE)
                it.state = in->dwState & in->dwStateMask;
            m_items.insert(m_items.begin() + (ptrdiff_t)at, it);
            // The first tab inserted becomes the selection; later ones keep the selected tab selected.
            if (m_sel < 0)
                m_sel = 0;
            else if ((int)at <= m_sel)
                ++m_sel;
            Relayout();
            return (LRESULT)at;
        }
        case TCM_DELETEITEM: {
            int i = (int)wParam;
            if (i < 0 || i >= (int)m_items.size())
                return FALSE;
            m_items.erase(m_items.begin() + i);
            if (m_sel == i)
                m_sel = -1;
            else if (m_sel > i)
                --m_sel;
            if (m_hot >= (int)m_items.size())
                m_hot = -1;
            Relayout();
            return TRUE;
        }
        case TCM_DELETEALLITEMS:
            m_items.clear();
            m_sel = m_hot = -1;
            Relayout();
            return TRUE;
        case TCM_GETITEM:
            return GetItem((int)wParam, reinterpret_cast<TCITEM*>(lParam));
        case TCM_SETITEM:
            return SetItem((int)wParam, reinterpret_cast<const TCITEM*>(lParam));
        case TCM_GETCURSEL:
        case TCM_GETCURFOCUS:
            return m_sel;
        case TCM_SETCURSEL:
        case TCM_SETCURFOCUS: {
            int old = m_sel;
            int i = (int)wParam;
            if (i >= (int)m_items.size())
                return -1;
            if (msg == TCM_SETCURFOCUS) {
                UserSelect(i);
                return 0;
            }
            SetCurSel(i < 0 ? -1 : i);
            return old;
        }
        case TCM_GETITEMRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            Layout l = Measure();
            if (!out || (int)wParam < 0 || (int)wParam >= (int)l.rects.size())
                return FALSE;
            *out = l.rects[wParam];
            return TRUE;
        }
        case TCM_HITTEST: {
            auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
            return info ? HitTest(info->pt, &info->flags) : -1;
        }
        case TCM_ADJUSTRECT:
            if (lParam)
                AdjustRect((BOOL)wParam, reinterpret_cast<RECT*>(lParam));
            return 0;
        case TCM_GETROWCOUNT:
            return Measure().rows;
        case TCM_GETIMAGELIST:
            return (LRESULT)m_images;
        case TCM_SETIMAGELIST: {
            HIMAGELIST old = m_images;
            m_images = (HIMAGELIST)lParam;
            Relayout();
            return (LRESULT)old;
        }
        case TCM_SETITEMSIZE: {
            LRESULT old = MAKELRESULT(m_fixed.cx, m_fixed.cy);
            m_fixed = SIZE{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            Relayout();
            return old;
        }
        case TCM_SETPADDING:
            m_padding = SIZE{(short)LOWORD(lParam), (short)HIWORD(lParam)};
            Relayout();
            return 0;
        case TCM_SETMINTABWIDTH: {
            int old = m_minWidth;
            m_minWidth = std::max(0, (int)lParam);
            Relayout();
            return old;
        }
        case TCM_REMOVEIMAGE: {
            int gone = (int)wParam;
            for (Item& it : m_items)
                if (it.image == gone)
                    it.image = -1;
                else if (it.image > gone)
                    --it.image;
            Relayout();
            return 0;
        }
        case WM_HSCROLL:
            // The up-down's position is the first tab shown.
            if ((HWND)lParam == m_upDown && m_upDown && LOWORD(wParam) == SB_THUMBPOSITION) {
                m_first = (short)HIWORD(wParam);
                Relayout();
            }
            return 0;
        case WM_SIZE:
        case WM_STYLECHANGED:
            Relayout();
            return 0;
        case WM_SETFONT: {
            LRESULT r = Default(msg, wParam, lParam);
            Relayout();
            return r;
        }
        case WM_LBUTTONDOWN: {
            int item = HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, nullptr);
            if (!(Style() & TCS_FOCUSNEVER) && GetFocus() != m_h)
                SetFocus(m_h);
            if (item >= 0)
                UserSelect(item);
            return 0;
        }
        case WM_LBUTTONUP:
            Notify(NM_CLICK);
            return 0;
        case WM_RBUTTONUP:
            Notify(NM_RCLICK);
            return 0;
        case WM_MOUSEMOVE:
            if (Style() & TCS_HOTTRACK) {
                int item = HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, nullptr);
                if (item != m_hot) {
                    m_hot = item;
                    ShowState();
                }
            }
            return 0;
        case WM_MOUSELEAVE:
            if (m_hot >= 0) {
                m_hot = -1;
                ShowState();
            }
            return 0;
        case WM_KEYDOWN: {
            NMTCKEYDOWN kd{};
            kd.wVKey = (WORD)wParam;
            kd.flags = (UINT)lParam;
            Notify(&kd.hdr, TCN_KEYDOWN);
            if (!IsWindow(m_h) || m_items.empty())
                return 0;
            bool vertical = TabSide() == kLeft || TabSide() == kRight;
            int step = 0;
            if (wParam == (vertical ? VK_UP : VK_LEFT))
                step = -1;
            else if (wParam == (vertical ? VK_DOWN : VK_RIGHT))
                step = 1;
            if (step)
                UserSelect(std::clamp(m_sel + step, 0, (int)m_items.size() - 1));
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ShowState();
            Notify(msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            ShowState();
            return 0;
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

void user::RegisterTabClass() {
    RegisterControlClass(WC_TABCONTROL, user::ControlWindowProc<Tab>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
