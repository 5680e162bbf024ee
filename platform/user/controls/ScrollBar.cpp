// The "ScrollBar" class: a horizontal or vertical scroll bar control in the Classic look. It tells its
// parent through WM_HSCROLL / WM_VSCROLL with its own handle in lParam; the thumb's 32-bit track position
// is read back with GetScrollInfo(SIF_TRACKPOS).
#include <algorithm>

#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

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

class ScrollBar : public user::Control {
public:
    explicit ScrollBar(HWND h) : Control(h, kPaints | kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Vertical() const { return (Style() & SBS_VERT) != 0; }
    Geometry Measure(int pos) const;
    RECT Along(int from, int to) const;
    void Paint(HDC dc) override;
    Part HitPart(POINT p) const;
    void Tell(int code, int pos);
    int SetInfo(const SCROLLINFO& in, BOOL redraw);
    LRESULT GetInfo(SCROLLINFO* out) const;
    void OnButtonDown(POINT p);
    void OnMouseMove(int along);
    void OnButtonUp();
    void OnKey(UINT vk, bool down);

    ScrollState m_s;
};

Geometry ScrollBar::Measure(int pos) const {
    const ScrollState& s = m_s;
    RECT rc;
    GetClientRect(m_h, &rc);
    bool vert = Vertical();
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

RECT ScrollBar::Along(int from, int to) const {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (Vertical())
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

void ScrollBar::Paint(HDC dc) {
    ScrollState* s = &m_s;
    RECT rc;
    GetClientRect(m_h, &rc);
    bool vert = Vertical();
    bool enabled = IsWindowEnabled(m_h) && s->max > s->min &&
                   (!s->page || (long long)s->page <= (long long)s->max - s->min);
    int pos = s->pressed == kThumb ? s->trackPos : s->pos;
    Geometry g = Measure(pos);
    // The track: the Classic dither of face and highlight.
    RECT track = Along(g.arrow, g.length - g.arrow);
    FillRect(dc, &track, TrackBrush());
    if (s->pressed == kPageUp || s->pressed == kPageDown) {
        RECT part = s->pressed == kPageUp ? Along(g.arrow, g.thumbStart)
                                          : Along(g.thumbStart + g.thumb, g.length - g.arrow);
        FillRect(dc, &part, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    Arrow(dc, Along(0, g.arrow), vert, true, s->pressed == kArrowUp, enabled);
    Arrow(dc, Along(g.length - g.arrow, g.length), vert, false, s->pressed == kArrowDown, enabled);
    if (enabled && g.thumb > 0) {
        RECT thumb = Along(g.thumbStart, g.thumbStart + g.thumb);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

Part ScrollBar::HitPart(POINT p) const {
    Geometry g = Measure(m_s.pos);
    int at = Vertical() ? p.y : p.x;
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

void ScrollBar::Tell(int code, int pos) {
    HWND parent = GetParent(m_h);
    if (!parent)
        return;
    SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(code, (WORD)std::clamp(pos, 0, 0xFFFF)), (LPARAM)m_h);
}

int ScrollBar::SetInfo(const SCROLLINFO& in, BOOL redraw) {
    ScrollState* s = &m_s;
    if (in.fMask & SIF_RANGE) {
        // A minimum above the maximum is no range at all.
        bool valid = in.nMin <= in.nMax;
        s->min = valid ? in.nMin : 0;
        s->max = valid ? in.nMax : 0;
    }
    if (in.fMask & SIF_PAGE)
        s->page = in.nPage;
    // A page never exceeds the range it pages through.
    s->page = (UINT)std::min<long long>(s->page, (long long)s->max - s->min + 1);
    if (in.fMask & SIF_POS)
        s->pos = in.nPos;
    s->pos = Clamp(*s, s->pos);
    if (s->pressed != kThumb)
        s->trackPos = s->pos;
    if (redraw)
        InvalidateRect(m_h, nullptr, FALSE);
    return s->pos;
}

void ScrollBar::OnButtonDown(POINT p) {
    ScrollState* s = &m_s;
    Part part = HitPart(p);
    if (part == kNone)
        return;
    s->pressed = part;
    SetCapture(m_h);
    if (part == kThumb) {
        Geometry g = Measure(s->pos);
        s->dragOffset = (Vertical() ? p.y : p.x) - g.thumbStart;
        s->trackPos = s->pos;
    } else {
        int code = part == kArrowUp     ? SB_LINEUP
                   : part == kArrowDown ? SB_LINEDOWN
                   : part == kPageUp    ? SB_PAGEUP
                                        : SB_PAGEDOWN;
        Tell(code, s->pos);
    }
    InvalidateRect(m_h, nullptr, FALSE);
}

void ScrollBar::OnMouseMove(int along) {
    ScrollState* s = &m_s;
    if (s->pressed != kThumb || GetCapture() != m_h)
        return;
    Geometry g = Measure(s->pos);
    int at = along - s->dragOffset;
    int room = g.track - g.thumb;
    int span = MaxPos(*s) - s->min;
    int pos = room > 0 ? s->min + (int)((long long)std::clamp(at - g.arrow, 0, room) * span / room) : s->min;
    if (pos != s->trackPos) {
        s->trackPos = pos;
        Tell(SB_THUMBTRACK, pos);
        InvalidateRect(m_h, nullptr, FALSE);
    }
}

void ScrollBar::OnButtonUp() {
    ScrollState* s = &m_s;
    if (s->pressed == kNone)
        return;
    Part was = s->pressed;
    if (GetCapture() == m_h)
        ReleaseCapture();
    if (was == kThumb)
        Tell(SB_THUMBPOSITION, s->trackPos);
    s->pressed = kNone;
    Tell(SB_ENDSCROLL, 0);
    InvalidateRect(m_h, nullptr, FALSE);
}

// The keys scroll as the parts do: the parent is asked to move, and moves the bar itself.
void ScrollBar::OnKey(UINT vk, bool down) {
    int code;
    switch (vk) {
        case VK_UP:
        case VK_LEFT:
            code = SB_LINEUP;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            code = SB_LINEDOWN;
            break;
        case VK_PRIOR:
            code = SB_PAGEUP;
            break;
        case VK_NEXT:
            code = SB_PAGEDOWN;
            break;
        case VK_HOME:
            code = SB_TOP;
            break;
        case VK_END:
            code = SB_BOTTOM;
            break;
        default:
            return;
    }
    Tell(down ? code : SB_ENDSCROLL, 0);
}

LRESULT ScrollBar::GetInfo(SCROLLINFO* out) const {
    if (!out)
        return FALSE;
    if (out->fMask & SIF_RANGE) {
        out->nMin = m_s.min;
        out->nMax = m_s.max;
    }
    if (out->fMask & SIF_PAGE)
        out->nPage = m_s.page;
    if (out->fMask & SIF_POS)
        out->nPos = m_s.pos;
    if (out->fMask & SIF_TRACKPOS)
        out->nTrackPos = m_s.trackPos;
    return TRUE;
}

LRESULT ScrollBar::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(Vertical() ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp();
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            OnKey((UINT)wParam, msg == WM_KEYDOWN);
            return 0;
        case WM_CAPTURECHANGED:
            m_s.pressed = kNone;
            return 0;
        case WM_ENABLE:
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case SBM_SETSCROLLINFO:
            if (!lParam)
                return m_s.pos;
            return SetInfo(*reinterpret_cast<const SCROLLINFO*>(lParam), (BOOL)wParam);
        case SBM_GETSCROLLINFO:
            return GetInfo(reinterpret_cast<SCROLLINFO*>(lParam));
        case SBM_SETPOS: {
            int old = m_s.pos;
            SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, (int)wParam, 0};
            SetInfo(si, (BOOL)lParam);
            return old;
        }
        case SBM_GETPOS:
            return m_s.pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            SCROLLINFO si{sizeof si, SIF_RANGE, (int)wParam, (int)lParam, 0, 0, 0};
            SetInfo(si, msg == SBM_SETRANGEREDRAW);
            return m_s.pos;
        }
        case SBM_GETRANGE:
            if (wParam)
                *reinterpret_cast<int*>(wParam) = m_s.min;
            if (lParam)
                *reinterpret_cast<int*>(lParam) = m_s.max;
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
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

void user::RegisterScrollBarClass() {
    RegisterControlClass(WC_SCROLLBAR, user::ControlWindowProc<ScrollBar>, CS_DBLCLKS | CS_PARENTDC);
}
