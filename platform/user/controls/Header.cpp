// The "SysHeader32" class: a row of column captions as raised buttons (Classic look). A click on a caption
// tells the parent HDN_ITEMCLICK; dragging a divider resizes the item with HDN_BEGINTRACK, HDN_TRACK,
// HDN_ITEMCHANGING/HDN_ITEMCHANGED and HDN_ENDTRACK; a double click on a divider tells HDN_DIVIDERDBLCLICK.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr int kDividerSlop = 4;  // pixels either side of a divider that grab it

struct HeaderItem {
    std::string text;
    int width = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int image = 0;
};

class Header : public user::Control {
public:
    explicit Header(HWND h) : Control(h, kPaints | kPrints | kKeepsFont) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT NotifyItem(UINT code, int item, HDITEM* pitem, int button = 0);
    RECT ItemRect(int i);
    int HitItem(int x, bool* onDivider) const;
    void Paint(HDC dc) override;
    void TrackTo(int width);
    void OnButtonDown(UINT msg, int x);
    void OnMouseMove(POINT p);
    void OnButtonUp();
    LRESULT Layout(HDLAYOUT* layout);
    HeaderItem* Item(WPARAM i) { return i < m_items.size() ? &m_items[i] : nullptr; }

    std::vector<HeaderItem> m_items;
    int m_pressed = -1;  // item held down by the mouse
    bool m_pressedIn = false;
    int m_tracking = -1;  // item whose divider is dragged
    int m_trackStartX = 0;
    int m_trackStartWidth = 0;
};

LRESULT Header::NotifyItem(UINT code, int item, HDITEM* pitem, int button) {
    NMHEADER nm{};
    nm.iItem = item;
    nm.iButton = button;
    nm.pitem = pitem;
    return Notify(&nm.hdr, code);
}

RECT Header::ItemRect(int i) {
    RECT rc;
    GetClientRect(m_h, &rc);
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += m_items[(size_t)k].width;
    return RECT{x, 0, x + m_items[(size_t)i].width, rc.bottom};
}

// Item under x and whether x is on the divider at its right edge.
int Header::HitItem(int x, bool* onDivider) const {
    int left = 0;
    *onDivider = false;
    int n = (int)m_items.size();
    for (int i = 0; i < n; ++i) {
        int right = left + m_items[(size_t)i].width;
        if (x >= right - kDividerSlop && x < right + kDividerSlop) {
            // The last divider a zero-width run ends at wins, so hidden columns can be pulled open.
            int j = i;
            while (j + 1 < n && m_items[(size_t)j + 1].width == 0)
                ++j;
            *onDivider = true;
            return j;
        }
        if (x >= left && x < right)
            return i;
        left = right;
    }
    return -1;
}

void Header::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    HGDIOBJ oldFont = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT clip;
    GetClipBox(dc, &clip);
    int x = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const HeaderItem& it = m_items[i];
        RECT r{x, 0, x + it.width, rc.bottom};
        x += it.width;
        if (it.width <= 0 || r.right <= clip.left || r.left >= clip.right)
            continue;
        bool down = m_pressed == (int)i && m_pressedIn;
        if (down) {
            RECT f = r;
            FrameRect(dc, &f, GetSysColorBrush(COLOR_3DSHADOW));
        } else {
            RECT e = r;
            DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
        }
        RECT t{r.left + 6 + (down ? 1 : 0), r.top + (down ? 1 : 0), r.right - 6, r.bottom};
        UINT align = (it.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (it.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                : DT_LEFT;
        if (t.right > t.left)
            DrawText(dc, it.text.c_str(), (int)it.text.size(), &t,
                     align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    // The space right of the last caption is one more (empty) raised button.
    if (x < rc.right) {
        RECT e{x, 0, rc.right, rc.bottom};
        DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    }
    SelectObject(dc, oldFont);
}

void CopyOut(const HeaderItem& it, HDITEM* out) {
    if (out->mask & HDI_WIDTH)
        out->cxy = it.width;
    if (out->mask & HDI_FORMAT)
        out->fmt = it.fmt;
    if (out->mask & HDI_LPARAM)
        out->lParam = it.lParam;
    if (out->mask & HDI_IMAGE)
        out->iImage = it.image;
    if ((out->mask & HDI_TEXT) && out->pszText && out->cchTextMax > 0) {
        size_t n = std::min(it.text.size(), (size_t)out->cchTextMax - 1);
        it.text.copy(out->pszText, n);
        out->pszText[n] = 0;
    }
}

void CopyIn(const HDITEM& in, HeaderItem& it) {
    if (in.mask & HDI_WIDTH)
        it.width = std::max(0, in.cxy);
    if (in.mask & HDI_FORMAT)
        it.fmt = in.fmt;
    if (in.mask & HDI_LPARAM)
        it.lParam = in.lParam;
    if (in.mask & HDI_IMAGE)
        it.image = in.iImage;
    if ((in.mask & HDI_TEXT) && in.pszText != LPSTR_TEXTCALLBACK)
        it.text = in.pszText ? in.pszText : "";
}

// Sets an item's width as the user drags, asking the parent first.
void Header::TrackTo(int width) {
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = std::max(0, width);
    if (NotifyItem(HDN_ITEMCHANGING, m_tracking, &hi))
        return;
    m_items[(size_t)m_tracking].width = hi.cxy;
    InvalidateRect(m_h, nullptr, TRUE);
    NotifyItem(HDN_ITEMCHANGED, m_tracking, &hi);
}

void Header::OnButtonDown(UINT msg, int x) {
    bool onDivider;
    int i = HitItem(x, &onDivider);
    if (i < 0)
        return;
    if (onDivider) {
        if (msg == WM_LBUTTONDBLCLK) {
            NotifyItem(HDN_DIVIDERDBLCLICK, i, nullptr);
            return;
        }
        HDITEM hi{};
        hi.mask = HDI_WIDTH;
        hi.cxy = m_items[(size_t)i].width;
        if (NotifyItem(HDN_BEGINTRACK, i, &hi))
            return;
        m_tracking = i;
        m_trackStartX = x;
        m_trackStartWidth = m_items[(size_t)i].width;
    } else if (Style() & HDS_BUTTONS) {
        m_pressed = i;
        m_pressedIn = true;
        InvalidateRect(m_h, nullptr, TRUE);
    }
    SetCapture(m_h);
}

void Header::OnMouseMove(POINT p) {
    if (GetCapture() != m_h)
        return;
    if (m_tracking >= 0) {
        HDITEM hi{};
        hi.mask = HDI_WIDTH;
        hi.cxy = std::max(0, m_trackStartWidth + p.x - m_trackStartX);
        if (!NotifyItem(HDN_TRACK, m_tracking, &hi))
            TrackTo(hi.cxy);
    } else if (m_pressed >= 0) {
        RECT r = ItemRect(m_pressed);
        bool in = PtInRect(&r, p);
        if (in != m_pressedIn) {
            m_pressedIn = in;
            InvalidateRect(m_h, nullptr, TRUE);
        }
    }
}

void Header::OnButtonUp() {
    int tracking = m_tracking, pressed = m_pressed;
    bool in = m_pressedIn;
    m_tracking = m_pressed = -1;
    m_pressedIn = false;
    if (GetCapture() == m_h)
        ReleaseCapture();
    if (tracking >= 0) {
        HDITEM hi{};
        hi.mask = HDI_WIDTH;
        hi.cxy = m_items[(size_t)tracking].width;
        NotifyItem(HDN_ENDTRACK, tracking, &hi);
    } else if (pressed >= 0) {
        InvalidateRect(m_h, nullptr, TRUE);
        if (in)
            NotifyItem(HDN_ITEMCLICK, pressed, nullptr);
    }
}

LRESULT Header::Layout(HDLAYOUT* layout) {
    if (!layout || !layout->prc || !layout->pwpos)
        return FALSE;
    HDC dc = GetDC(m_h);
    HGDIOBJ old = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_h, dc);
    int height = (Style() & HDS_HIDDEN) ? 0 : tm.tmHeight + 7;
    RECT* rc = layout->prc;
    *layout->pwpos = WINDOWPOS{m_h, nullptr, rc->left, rc->top, rc->right - rc->left, height, SWP_NOZORDER};
    rc->top += height;
    return TRUE;
}

LRESULT Header::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(msg, GET_X_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            if (m_pressed >= 0)
                InvalidateRect(m_h, nullptr, TRUE);
            m_tracking = m_pressed = -1;
            return 0;
        case HDM_GETITEMCOUNT:
            return (LRESULT)m_items.size();
        case HDM_INSERTITEM: {
            auto* in = reinterpret_cast<const HDITEM*>(lParam);
            if (!in)
                return -1;
            int at = std::clamp((int)wParam, 0, (int)m_items.size());
            HeaderItem it;
            CopyIn(*in, it);
            m_items.insert(m_items.begin() + at, std::move(it));
            InvalidateRect(m_h, nullptr, TRUE);
            return at;
        }
        case HDM_DELETEITEM:
            if (!Item(wParam))
                return FALSE;
            m_items.erase(m_items.begin() + (ptrdiff_t)wParam);
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        case HDM_GETITEM:
            if (!lParam || !Item(wParam))
                return FALSE;
            CopyOut(*Item(wParam), reinterpret_cast<HDITEM*>(lParam));
            return TRUE;
        case HDM_SETITEM:
            if (!lParam || !Item(wParam))
                return FALSE;
            CopyIn(*reinterpret_cast<const HDITEM*>(lParam), *Item(wParam));
            InvalidateRect(m_h, nullptr, TRUE);
            return TRUE;
        case HDM_GETITEMRECT:
            if (!lParam || !Item(wParam))
                return FALSE;
            *reinterpret_cast<RECT*>(lParam) = ItemRect((int)wParam);
            return TRUE;
        case HDM_HITTEST: {
            auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
            if (!info)
                return -1;
            bool onDivider;
            info->iItem = HitItem(info->pt.x, &onDivider);
            info->flags = info->iItem < 0 ? HHT_NOWHERE : onDivider ? HHT_ONDIVIDER : HHT_ONHEADER;
            return info->iItem;
        }
        case HDM_LAYOUT:
            return Layout(reinterpret_cast<HDLAYOUT*>(lParam));
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

void user::RegisterHeaderClass() {
    RegisterControlClass(WC_HEADER, user::ControlWindowProc<Header>, CS_DBLCLKS | CS_PARENTDC);
}
