// The "SysHeader32" class: a row of column captions as raised buttons (Classic look). A click on a caption
// tells the parent HDN_ITEMCLICK; dragging a divider resizes the item with HDN_BEGINTRACK, HDN_TRACK,
// HDN_ITEMCHANGING/HDN_ITEMCHANGED and HDN_ENDTRACK; a double click on a divider tells HDN_DIVIDERDBLCLICK.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"

namespace {
constexpr int kDividerSlop = 4;  // pixels either side of a divider that grab it

struct HeaderItem {
    std::string text;
    int width = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int image = 0;
};

struct HeaderState {
    HFONT font = nullptr;
    std::vector<HeaderItem> items;
    int pressed = -1;  // item held down by the mouse
    bool pressedIn = false;
    int tracking = -1;  // item whose divider is dragged
    int trackStartX = 0;
    int trackStartWidth = 0;
};

HeaderState* State(HWND h) {
    return reinterpret_cast<HeaderState*>(GetWindowLongPtr(h, 0));
}

LRESULT Notify(HWND h, UINT code, int item, HDITEM* pitem, int button = 0) {
    HWND parent = GetParent(h);
    if (!parent)
        return 0;
    NMHEADER nm{};
    nm.hdr.hwndFrom = h;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(h);
    nm.hdr.code = code;
    nm.iItem = item;
    nm.iButton = button;
    nm.pitem = pitem;
    return SendMessage(parent, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

RECT ItemRect(HWND h, const HeaderState& s, int i) {
    RECT rc;
    GetClientRect(h, &rc);
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += s.items[(size_t)k].width;
    return RECT{x, 0, x + s.items[(size_t)i].width, rc.bottom};
}

// Item under x and whether x is on the divider at its right edge.
int HitItem(const HeaderState& s, int x, bool* onDivider) {
    int left = 0;
    *onDivider = false;
    int n = (int)s.items.size();
    for (int i = 0; i < n; ++i) {
        int right = left + s.items[(size_t)i].width;
        if (x >= right - kDividerSlop && x < right + kDividerSlop) {
            // The last divider a zero-width run ends at wins, so hidden columns can be pulled open.
            int j = i;
            while (j + 1 < n && s.items[(size_t)j + 1].width == 0)
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

void Paint(HWND h, HDC dc) {
    HeaderState* s = State(h);
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    HGDIOBJ oldFont = SelectObject(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT clip;
    GetClipBox(dc, &clip);
    int x = 0;
    for (size_t i = 0; i < s->items.size(); ++i) {
        const HeaderItem& it = s->items[i];
        RECT r{x, 0, x + it.width, rc.bottom};
        x += it.width;
        if (it.width <= 0 || r.right <= clip.left || r.left >= clip.right)
            continue;
        bool down = s->pressed == (int)i && s->pressedIn;
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
void TrackTo(HWND h, HeaderState* s, int width) {
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    hi.cxy = std::max(0, width);
    if (Notify(h, HDN_ITEMCHANGING, s->tracking, &hi))
        return;
    s->items[(size_t)s->tracking].width = hi.cxy;
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, HDN_ITEMCHANGED, s->tracking, &hi);
}

LRESULT HeaderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    HeaderState* s = State(h);
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtr(h, 0, (LONG_PTR) new HeaderState);
            break;
        case WM_NCDESTROY:
            delete s;
            SetWindowLongPtr(h, 0, 0);
            break;
        case WM_SETFONT:
            s->font = (HFONT)wParam;
            if (lParam)
                InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return (LRESULT)s->font;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            Paint(h, dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_PRINT:
        case WM_PRINTCLIENT:
            if (msg == WM_PRINTCLIENT || (lParam & PRF_CLIENT))
                Paint(h, (HDC)wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            bool onDivider;
            int x = GET_X_LPARAM(lParam);
            int i = HitItem(*s, x, &onDivider);
            if (i < 0)
                return 0;
            if (onDivider) {
                if (msg == WM_LBUTTONDBLCLK) {
                    Notify(h, HDN_DIVIDERDBLCLICK, i, nullptr);
                    return 0;
                }
                HDITEM hi{};
                hi.mask = HDI_WIDTH;
                hi.cxy = s->items[(size_t)i].width;
                if (Notify(h, HDN_BEGINTRACK, i, &hi))
                    return 0;
                s->tracking = i;
                s->trackStartX = x;
                s->trackStartWidth = s->items[(size_t)i].width;
            } else if (GetWindowLongPtr(h, GWL_STYLE) & HDS_BUTTONS) {
                s->pressed = i;
                s->pressedIn = true;
                InvalidateRect(h, nullptr, TRUE);
            }
            SetCapture(h);
            return 0;
        }
        case WM_MOUSEMOVE: {
            if (GetCapture() != h)
                return 0;
            int x = GET_X_LPARAM(lParam);
            if (s->tracking >= 0) {
                HDITEM hi{};
                hi.mask = HDI_WIDTH;
                hi.cxy = std::max(0, s->trackStartWidth + x - s->trackStartX);
                if (!Notify(h, HDN_TRACK, s->tracking, &hi))
                    TrackTo(h, s, hi.cxy);
            } else if (s->pressed >= 0) {
                RECT r = ItemRect(h, *s, s->pressed);
                bool in = PtInRect(&r, POINT{x, GET_Y_LPARAM(lParam)});
                if (in != s->pressedIn) {
                    s->pressedIn = in;
                    InvalidateRect(h, nullptr, TRUE);
                }
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            int tracking = s->tracking, pressed = s->pressed;
            bool in = s->pressedIn;
            s->tracking = s->pressed = -1;
            s->pressedIn = false;
            if (GetCapture() == h)
                ReleaseCapture();
            if (tracking >= 0) {
                HDITEM hi{};
                hi.mask = HDI_WIDTH;
                hi.cxy = s->items[(size_t)tracking].width;
                Notify(h, HDN_ENDTRACK, tracking, &hi);
            } else if (pressed >= 0) {
                InvalidateRect(h, nullptr, TRUE);
                if (in)
                    Notify(h, HDN_ITEMCLICK, pressed, nullptr);
            }
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (s->pressed >= 0)
                InvalidateRect(h, nullptr, TRUE);
            s->tracking = s->pressed = -1;
            return 0;
        case HDM_GETITEMCOUNT:
            return (LRESULT)s->items.size();
        case HDM_INSERTITEM: {
            auto* in = reinterpret_cast<const HDITEM*>(lParam);
            if (!in)
                return -1;
            int at = std::clamp((int)wParam, 0, (int)s->items.size());
            HeaderItem it;
            CopyIn(*in, it);
            s->items.insert(s->items.begin() + at, std::move(it));
            InvalidateRect(h, nullptr, TRUE);
            return at;
        }
        case HDM_DELETEITEM: {
            int i = (int)wParam;
            if (i < 0 || i >= (int)s->items.size())
                return FALSE;
            s->items.erase(s->items.begin() + i);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case HDM_GETITEM: {
            int i = (int)wParam;
            auto* out = reinterpret_cast<HDITEM*>(lParam);
            if (!out || i < 0 || i >= (int)s->items.size())
                return FALSE;
            CopyOut(s->items[(size_t)i], out);
            return TRUE;
        }
        case HDM_SETITEM: {
            int i = (int)wParam;
            auto* in = reinterpret_cast<const HDITEM*>(lParam);
            if (!in || i < 0 || i >= (int)s->items.size())
                return FALSE;
            CopyIn(*in, s->items[(size_t)i]);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case HDM_GETITEMRECT: {
            int i = (int)wParam;
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out || i < 0 || i >= (int)s->items.size())
                return FALSE;
            *out = ItemRect(h, *s, i);
            return TRUE;
        }
        case HDM_HITTEST: {
            auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
            if (!info)
                return -1;
            bool onDivider;
            info->iItem = HitItem(*s, info->pt.x, &onDivider);
            info->flags = info->iItem < 0 ? HHT_NOWHERE : onDivider ? HHT_ONDIVIDER : HHT_ONHEADER;
            return info->iItem;
        }
        case HDM_LAYOUT: {
            auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
            if (!layout || !layout->prc || !layout->pwpos)
                return FALSE;
            HDC dc = GetDC(h);
            HGDIOBJ old = SelectObject(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
            TEXTMETRIC tm;
            GetTextMetrics(dc, &tm);
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            int height = (GetWindowLongPtr(h, GWL_STYLE) & HDS_HIDDEN) ? 0 : tm.tmHeight + 7;
            RECT* rc = layout->prc;
            *layout->pwpos =
                WINDOWPOS{h, nullptr, rc->left, rc->top, rc->right - rc->left, height, SWP_NOZORDER};
            rc->top += height;
            return TRUE;
        }
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}
}  // namespace

namespace user {
void RegisterHeaderClass() {
    RegisterControlClass(WC_HEADER, HeaderProc, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
