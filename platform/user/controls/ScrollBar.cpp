// The "ScrollBar" class: a horizontal or vertical scroll bar control in the Classic look. It tells its
// parent through WM_HSCROLL / WM_VSCROLL with its own handle in lParam; the thumb's 32-bit track position
// is read back with GetScrollInfo(SIF_TRACKPOS).
#include <algorithm>

#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"

namespace {
enum Part { kNone, kArrowUp, kPageUp, kThumb, kPageDown, kArrowDown };

struct ScrollState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    Part pressed = kNone;
    int dragOffset = 0;  // from the thumb's start to the mouse when dragging began
};

ScrollState* State(HWND h) {
    return reinterpret_cast<ScrollState*>(GetWindowLongPtr(h, 0));
}
bool Vertical(HWND h) {
    return (GetWindowLongPtr(h, GWL_STYLE) & SBS_VERT) != 0;
}

int MaxPos(const ScrollState& s) {
    int top = s.max - std::max<int>(0, (int)s.page - 1);
    return std::max(s.min, top);
}

int Clamp(const ScrollState& s, int pos) {
    return std::clamp(pos, s.min, MaxPos(s));
}

// Lengths along the bar: the arrow buttons, the track between them and the thumb in it.
struct Geometry {
    int length = 0;  // whole bar
    int arrow = 0;
    int track = 0;  // between the arrows
    int thumb = 0;
    int thumbStart = 0;  // from the bar's start
};

Geometry Measure(HWND h, const ScrollState& s, int pos) {
    RECT rc;
    GetClientRect(h, &rc);
    bool vert = Vertical(h);
    Geometry g;
    g.length = vert ? rc.bottom : rc.right;
    int breadth = vert ? rc.right : rc.bottom;
    g.arrow = std::min(breadth, g.length / 2);
    g.track = std::max(0, g.length - 2 * g.arrow);
    long long range = (long long)s.max - s.min + 1;
    if (range <= 0 || (s.page && (long long)s.page >= range) || g.track < 8) {
        g.thumb = 0;
        return g;
    }
    long long page = s.page ? s.page : 1;
    g.thumb = (int)std::max<long long>(8, g.track * page / range);
    g.thumb = std::min(g.thumb, g.track);
    int span = MaxPos(s) - s.min;
    int room = g.track - g.thumb;
    g.thumbStart = g.arrow + (span > 0 ? (int)((long long)room * (pos - s.min) / span) : 0);
    return g;
}

RECT Along(HWND h, int from, int to) {
    RECT rc;
    GetClientRect(h, &rc);
    if (Vertical(h))
        return RECT{0, from, rc.right, to};
    return RECT{from, 0, to, rc.bottom};
}

// The checkerboard of face and highlight pixels the Classic track shows.
HBRUSH TrackBrush() {
    static HBRUSH brush = [] {
        uint32_t bits[64];
        COLORREF a = GetSysColor(COLOR_3DFACE), b = GetSysColor(COLOR_3DHILIGHT);
        auto argb = [](COLORREF c) {
            return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        };
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                bits[y * 8 + x] = ((x + y) & 1) ? argb(b) : argb(a);
        HBITMAP bmp = CreateBitmap(8, 8, 1, 32, bits);
        HBRUSH br = CreatePatternBrush(bmp);
        DeleteObject(bmp);
        return br;
    }();
    return brush;
}

void Arrow(HDC dc, const RECT& r, bool vert, bool first, bool pressed, bool enabled) {
    RECT b = r;
    FillRect(dc, &b, GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(dc, &b, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int cx = (r.left + r.right) / 2 + (pressed ? 1 : 0), cy = (r.top + r.bottom) / 2 + (pressed ? 1 : 0);
    HBRUSH fill = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    // A solid triangle four pixels deep.
    for (int i = 0; i < 4; ++i) {
        RECT line;
        int d = first ? i : 3 - i;
        if (vert)
            line = RECT{cx - d, cy - 2 + i, cx + d + 1, cy - 1 + i};
        else
            line = RECT{cx - 2 + i, cy - d, cx - 1 + i, cy + d + 1};
        FillRect(dc, &line, fill);
    }
}

void Paint(HWND h, HDC dc) {
    ScrollState* s = State(h);
    RECT rc;
    GetClientRect(h, &rc);
    bool vert = Vertical(h);
    bool enabled = IsWindowEnabled(h) && s->max > s->min &&
                   (!s->page || (long long)s->page <= (long long)s->max - s->min);
    int pos = s->pressed == kThumb ? s->trackPos : s->pos;
    Geometry g = Measure(h, *s, pos);
    // The track: the Classic dither of face and highlight.
    RECT track = Along(h, g.arrow, g.length - g.arrow);
    FillRect(dc, &track, TrackBrush());
    if (s->pressed == kPageUp || s->pressed == kPageDown) {
        RECT part = s->pressed == kPageUp ? Along(h, g.arrow, g.thumbStart)
                                          : Along(h, g.thumbStart + g.thumb, g.length - g.arrow);
        FillRect(dc, &part, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    Arrow(dc, Along(h, 0, g.arrow), vert, true, s->pressed == kArrowUp, enabled);
    Arrow(dc, Along(h, g.length - g.arrow, g.length), vert, false, s->pressed == kArrowDown, enabled);
    if (enabled && g.thumb > 0) {
        RECT thumb = Along(h, g.thumbStart, g.thumbStart + g.thumb);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

Part HitPart(HWND h, const ScrollState& s, POINT p) {
    Geometry g = Measure(h, s, s.pos);
    int at = Vertical(h) ? p.y : p.x;
    if (at < g.arrow)
        return kArrowUp;
    if (at >= g.length - g.arrow)
        return kArrowDown;
    if (g.thumb == 0)
        return kNone;
    if (at < g.thumbStart)
        return kPageUp;
    if (at < g.thumbStart + g.thumb)
        return kThumb;
    return kPageDown;
}

void Tell(HWND h, int code, int pos) {
    HWND parent = GetParent(h);
    if (!parent)
        return;
    SendMessage(parent, Vertical(h) ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(code, (WORD)std::clamp(pos, 0, 0xFFFF)), (LPARAM)h);
}

int SetInfo(HWND h, const SCROLLINFO& in, BOOL redraw) {
    ScrollState* s = State(h);
    if (in.fMask & SIF_RANGE) {
        s->min = in.nMin;
        s->max = std::max(in.nMin, in.nMax);
    }
    if (in.fMask & SIF_PAGE)
        s->page = in.nPage;
    if (in.fMask & SIF_POS)
        s->pos = in.nPos;
    s->pos = Clamp(*s, s->pos);
    if (s->pressed != kThumb)
        s->trackPos = s->pos;
    if (redraw)
        InvalidateRect(h, nullptr, FALSE);
    return s->pos;
}

LRESULT ScrollBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ScrollState* s = State(h);
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtr(h, 0, (LONG_PTR) new ScrollState);
            break;
        case WM_NCDESTROY:
            delete s;
            SetWindowLongPtr(h, 0, 0);
            break;
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
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            Part part = HitPart(h, *s, p);
            if (part == kNone)
                return 0;
            s->pressed = part;
            SetCapture(h);
            if (part == kThumb) {
                Geometry g = Measure(h, *s, s->pos);
                s->dragOffset = (Vertical(h) ? p.y : p.x) - g.thumbStart;
                s->trackPos = s->pos;
            } else {
                int code = part == kArrowUp     ? SB_LINEUP
                           : part == kArrowDown ? SB_LINEDOWN
                           : part == kPageUp    ? SB_PAGEUP
                                                : SB_PAGEDOWN;
                Tell(h, code, s->pos);
            }
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (s->pressed == kThumb && GetCapture() == h) {
                Geometry g = Measure(h, *s, s->pos);
                int at = (Vertical(h) ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam)) - s->dragOffset;
                int room = g.track - g.thumb;
                int span = MaxPos(*s) - s->min;
                int pos = room > 0
                              ? s->min + (int)((long long)std::clamp(at - g.arrow, 0, room) * span / room)
                              : s->min;
                if (pos != s->trackPos) {
                    s->trackPos = pos;
                    Tell(h, SB_THUMBTRACK, pos);
                    InvalidateRect(h, nullptr, FALSE);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (s->pressed != kNone) {
                Part was = s->pressed;
                if (GetCapture() == h)
                    ReleaseCapture();
                if (was == kThumb)
                    Tell(h, SB_THUMBPOSITION, s->trackPos);
                s->pressed = kNone;
                Tell(h, SB_ENDSCROLL, 0);
                InvalidateRect(h, nullptr, FALSE);
            }
            return 0;
        case WM_CAPTURECHANGED:
            s->pressed = kNone;
            return 0;
        case WM_ENABLE:
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        case SBM_SETSCROLLINFO:
            if (!lParam)
                return s->pos;
            return SetInfo(h, *reinterpret_cast<const SCROLLINFO*>(lParam), (BOOL)wParam);
        case SBM_GETSCROLLINFO: {
            auto* out = reinterpret_cast<SCROLLINFO*>(lParam);
            if (!out)
                return FALSE;
            if (out->fMask & SIF_RANGE) {
                out->nMin = s->min;
                out->nMax = s->max;
            }
            if (out->fMask & SIF_PAGE)
                out->nPage = s->page;
            if (out->fMask & SIF_POS)
                out->nPos = s->pos;
            if (out->fMask & SIF_TRACKPOS)
                out->nTrackPos = s->trackPos;
            return TRUE;
        }
        case SBM_SETPOS: {
            int old = s->pos;
            SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, (int)wParam, 0};
            SetInfo(h, si, (BOOL)lParam);
            return old;
        }
        case SBM_GETPOS:
            return s->pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            SCROLLINFO si{sizeof si, SIF_RANGE, (int)wParam, (int)lParam, 0, 0, 0};
            SetInfo(h, si, msg == SBM_SETRANGEREDRAW);
            return s->pos;
        }
        case SBM_GETRANGE:
            if (wParam)
                *reinterpret_cast<int*>(wParam) = s->min;
            if (lParam)
                *reinterpret_cast<int*>(lParam) = s->max;
            return 0;
        default:
            break;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

bool IsScrollBarControl(HWND hwnd, int bar) {
    if (bar != SB_CTL || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}
}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (!info || !IsScrollBarControl(hwnd, bar))
        return 0;
    return (int)SendMessage(hwnd, SBM_SETSCROLLINFO, (WPARAM)redraw, (LPARAM)info);
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (!info || !IsScrollBarControl(hwnd, bar))
        return FALSE;
    return (BOOL)SendMessage(hwnd, SBM_GETSCROLLINFO, 0, (LPARAM)info);
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (!IsScrollBarControl(hwnd, bar))
        return 0;
    return (int)SendMessage(hwnd, SBM_SETPOS, (WPARAM)pos, redraw);
}

int GetScrollPos(HWND hwnd, int bar) {
    if (!IsScrollBarControl(hwnd, bar))
        return 0;
    return (int)SendMessage(hwnd, SBM_GETPOS, 0, 0);
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (!IsScrollBarControl(hwnd, bar))
        return FALSE;
    SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, (WPARAM)minPos, (LPARAM)maxPos);
    return TRUE;
}

namespace user {
void RegisterScrollBarClass() {
    RegisterControlClass(WC_SCROLLBAR, ScrollBarProc, CS_DBLCLKS | CS_PARENTDC);
}
}  // namespace user
