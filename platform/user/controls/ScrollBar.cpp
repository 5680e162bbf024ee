// The "ScrollBar" class: a horizontal or vertical scroll bar control in the Classic look. It tells its
// parent through WM_HSCROLL / WM_VSCROLL with its own handle in lParam; the thumb's 32-bit track position
// is read back with GetScrollInfo(SIF_TRACKPOS).
#include <algorithm>

#include "platform/user/ListView.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"
#include "platform/user/controls/ScrollBarParts.h"

namespace user {

int ScrollMaxPos(const ScrollBarState& s) {
    int top = s.max - std::max<int>(0, (int)s.page - 1);
    return std::max(s.min, top);
}

int ClampScrollPos(const ScrollBarState& s, int pos) {
    return std::clamp(pos, s.min, ScrollMaxPos(s));
}

bool ScrollBarUseful(const ScrollBarState& s) {
    return s.max > s.min && (!s.page || (long long)s.page <= (long long)s.max - s.min);
}

ScrollBarGeometry MeasureScrollBar(const ScrollBarState& s, int length, int breadth, int pos) {
    ScrollBarGeometry g;
    g.length = length;
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
    int span = ScrollMaxPos(s) - s.min;
    int room = g.track - g.thumb;
    g.thumbStart = g.arrow + (span > 0 ? (int)((long long)room * (pos - s.min) / span) : 0);
    return g;
}

ScrollBarPart HitScrollBar(const ScrollBarState& s, int length, int breadth, int along) {
    ScrollBarGeometry g = MeasureScrollBar(s, length, breadth, s.pos);
    if (along < g.arrow)
        return kPartArrowUp;
    if (along >= g.length - g.arrow)
        return kPartArrowDown;
    if (g.thumb == 0)
        return kPartNone;
    if (along < g.thumbStart)
        return kPartPageUp;
    if (along < g.thumbStart + g.thumb)
        return kPartThumb;
    return kPartPageDown;
}

int ScrollTrackPosition(const ScrollBarState& s, int length, int breadth, int along, int dragOffset) {
    ScrollBarGeometry g = MeasureScrollBar(s, length, breadth, s.pos);
    int at = along - dragOffset;
    int room = g.track - g.thumb;
    int span = ScrollMaxPos(s) - s.min;
    return room > 0 ? s.min + (int)((long long)std::clamp(at - g.arrow, 0, room) * span / room) : s.min;
}

int ScrollCodeOf(ScrollBarPart part) {
    switch (part) {
        case kPartArrowUp:
            return SB_LINEUP;
        case kPartArrowDown:
            return SB_LINEDOWN;
        case kPartPageUp:
            return SB_PAGEUP;
        case kPartPageDown:
            return SB_PAGEDOWN;
        default:
            return SB_ENDSCROLL;
    }
}

namespace {
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
}  // namespace

void PaintScrollBar(HDC dc, const RECT& bar, bool vert, const ScrollBarState& s, ScrollBarPart pressed,
                    bool enabled) {
    int length = vert ? bar.bottom - bar.top : bar.right - bar.left;
    int breadth = vert ? bar.right - bar.left : bar.bottom - bar.top;
    auto along = [&](int from, int to) {
        return vert ? RECT{bar.left, bar.top + from, bar.right, bar.top + to}
                    : RECT{bar.left + from, bar.top, bar.left + to, bar.bottom};
    };
    enabled = enabled && ScrollBarUseful(s);
    int pos = pressed == kPartThumb ? s.trackPos : s.pos;
    ScrollBarGeometry g = MeasureScrollBar(s, length, breadth, pos);
    RECT track = along(g.arrow, g.length - g.arrow);
    FillRect(dc, &track, TrackBrush());
    if (pressed == kPartPageUp || pressed == kPartPageDown) {
        RECT part = pressed == kPartPageUp ? along(g.arrow, g.thumbStart)
                                           : along(g.thumbStart + g.thumb, g.length - g.arrow);
        FillRect(dc, &part, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    DrawArrowButton(dc, along(0, g.arrow), vert ? kArrowUp : kArrowLeft, pressed == kPartArrowUp,
                    enabled && !(s.disabledArrows & 1));
    DrawArrowButton(dc, along(g.length - g.arrow, g.length), vert ? kArrowDown : kArrowRight,
                    pressed == kPartArrowDown, enabled && !(s.disabledArrows & 2));
    if (enabled && g.thumb > 0) {
        RECT thumb = along(g.thumbStart, g.thumbStart + g.thumb);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

}  // namespace user

namespace {
using user::ScrollBarPart;

class ScrollBar : public user::Control {
public:
    explicit ScrollBar(HWND h) : Control(h, kPaints | kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool Vertical() const { return (Style() & SBS_VERT) != 0; }
    int Length() const {
        RECT rc;
        GetClientRect(m_h, &rc);
        return Vertical() ? rc.bottom : rc.right;
    }
    int Breadth() const {
        RECT rc;
        GetClientRect(m_h, &rc);
        return Vertical() ? rc.right : rc.bottom;
    }
    void Paint(HDC dc) override;
    void Tell(int code, int pos);
    int SetInfo(const SCROLLINFO& in, BOOL redraw);
    LRESULT GetInfo(SCROLLINFO* out) const;
    void OnButtonDown(POINT p);
    void OnMouseMove(int along);
    void OnButtonUp();
    void OnKey(UINT vk, bool down);

    user::ScrollBarState m_s;
    ScrollBarPart m_pressed = user::kPartNone;
    int m_dragOffset = 0;  // from the thumb's start to the mouse when dragging began
};

void ScrollBar::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    user::PaintScrollBar(dc, rc, Vertical(), m_s, m_pressed, IsWindowEnabled(m_h));
}

void ScrollBar::Tell(int code, int pos) {
    HWND parent = GetParent(m_h);
    if (!parent)
        return;
    SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(code, (WORD)std::clamp(pos, 0, 0xFFFF)), (LPARAM)m_h);
}

int ScrollBar::SetInfo(const SCROLLINFO& in, BOOL redraw) {
    user::ScrollBarState* s = &m_s;
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
    s->pos = user::ClampScrollPos(*s, s->pos);
    if (m_pressed != user::kPartThumb)
        s->trackPos = s->pos;
    if (redraw)
        InvalidateRect(m_h, nullptr, FALSE);
    return s->pos;
}

void ScrollBar::OnButtonDown(POINT p) {
    int along = Vertical() ? p.y : p.x;
    ScrollBarPart part = user::HitScrollBar(m_s, Length(), Breadth(), along);
    if (part == user::kPartNone)
        return;
    // A disabled arrow does nothing.
    if ((part == user::kPartArrowUp && (m_s.disabledArrows & ESB_DISABLE_LTUP)) ||
        (part == user::kPartArrowDown && (m_s.disabledArrows & ESB_DISABLE_RTDN)))
        return;
    m_pressed = part;
    SetCapture(m_h);
    if (part == user::kPartThumb) {
        user::ScrollBarGeometry g = user::MeasureScrollBar(m_s, Length(), Breadth(), m_s.pos);
        m_dragOffset = along - g.thumbStart;
        m_s.trackPos = m_s.pos;
    } else {
        Tell(user::ScrollCodeOf(part), m_s.pos);
    }
    InvalidateRect(m_h, nullptr, FALSE);
}

void ScrollBar::OnMouseMove(int along) {
    if (m_pressed != user::kPartThumb || GetCapture() != m_h)
        return;
    int pos = user::ScrollTrackPosition(m_s, Length(), Breadth(), along, m_dragOffset);
    if (pos != m_s.trackPos) {
        m_s.trackPos = pos;
        Tell(SB_THUMBTRACK, pos);
        InvalidateRect(m_h, nullptr, FALSE);
    }
}

void ScrollBar::OnButtonUp() {
    if (m_pressed == user::kPartNone)
        return;
    ScrollBarPart was = m_pressed;
    if (GetCapture() == m_h)
        ReleaseCapture();
    if (was == user::kPartThumb)
        Tell(SB_THUMBPOSITION, m_s.trackPos);
    m_pressed = user::kPartNone;
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
            m_pressed = user::kPartNone;
            return 0;
        case SBM_ENABLE_ARROWS: {
            UINT old = m_s.disabledArrows;
            m_s.disabledArrows = (UINT)wParam & ESB_DISABLE_BOTH;
            InvalidateRect(m_h, nullptr, FALSE);
            return old != m_s.disabledArrows;
        }
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

}  // namespace

void user::RegisterScrollBarClass() {
    RegisterControlClass(WC_SCROLLBAR, user::ControlWindowProc<ScrollBar>, CS_DBLCLKS | CS_PARENTDC);
}
