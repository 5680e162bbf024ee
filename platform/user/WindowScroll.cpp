// Scroll bars: the functions over scroll bar controls (SB_CTL) and the bars in windows' frames (SB_HORZ,
// SB_VERT), the frame bars' drawing and their press-and-track loop, and scrolling a window's pixels.
//
// A frame bar shows while its style bit is set; setting a range or page that leaves nothing to scroll
// clears the bit (SIF_DISABLENOSCROLL keeps it, drawn disabled) and one that does sets it. Either change
// alters the client area: the window gets WM_SIZE with the new client size.
#include <algorithm>

#include "platform/user/UserInternal.h"

namespace user {
namespace {
constexpr UINT_PTR kRepeatTimer = 0xFFF0;  // the track loop's own timer, never dispatched
constexpr UINT kFirstRepeat = 400;
constexpr UINT kRepeat = 100;

DWORD StyleBit(int bar) {
    return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

// The frame bar being pressed: which window and bar, and the part held.
struct Pressed {
    HWND hwnd = nullptr;
    int bar = -1;
    ScrollBarPart part = kPartNone;
};
thread_local Pressed t_pressed;

bool FrameBar(HWND hwnd, int bar) {
    if ((bar != SB_HORZ && bar != SB_VERT) || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

bool ScrollBarControl(HWND hwnd, int bar) {
    if (bar != SB_CTL || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// The frame's bars drawn again (at the next paint).
void RedrawBars(HWND hwnd) {
    RECT none{0, 0, 0, 0};
    InvalidateWindowArea(hwnd, &none, false, false, true);
}

// The client area changed with a bar showing or going: the frame is computed and drawn again, and the
// window gets WM_SIZE with its new client size.
void FrameChanged(HWND hwnd) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Sets a frame bar's style bit; true when it changed.
bool ShowBar(HWND hwnd, int bar, bool show) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return false;
    DWORD bit = StyleBit(bar);
    DWORD style = show ? (w->style | bit) : (w->style & ~bit);
    if (style == w->style)
        return false;
    w->style = style;
    return true;
}

int SetFrameInfo(HWND hwnd, int bar, const SCROLLINFO& in, BOOL redraw) {
    int pos;
    bool wantShown, shown;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return 0;
        ScrollBarState& s = w->scroll[bar];
        s.set = true;
        if (in.fMask & SIF_RANGE) {
            // A minimum above the maximum is no range at all.
            bool valid = in.nMin <= in.nMax;
            s.min = valid ? in.nMin : 0;
            s.max = valid ? in.nMax : 0;
        }
        if (in.fMask & SIF_PAGE)
            s.page = std::min<UINT>(in.nPage, (UINT)std::max(0, s.max - s.min + 1));
        if (in.fMask & SIF_POS)
            s.pos = in.nPos;
        s.pos = ClampScrollPos(s, s.pos);
        bool tracking = t_pressed.hwnd == hwnd && t_pressed.bar == bar && t_pressed.part == kPartThumb;
        if (!tracking)
            s.trackPos = s.pos;
        pos = s.pos;
        shown = (w->style & StyleBit(bar)) != 0;
        wantShown = shown;
        if (in.fMask & (SIF_RANGE | SIF_PAGE))
            wantShown = ScrollBarUseful(s) || (in.fMask & SIF_DISABLENOSCROLL);
    }
    if (wantShown != shown && ShowBar(hwnd, bar, wantShown))
        FrameChanged(hwnd);
    else if (redraw && shown)
        RedrawBars(hwnd);
    return pos;
}

BOOL GetFrameInfo(HWND hwnd, int bar, SCROLLINFO* out) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return FALSE;
    const ScrollBarState& s = w->scroll[bar];
    // A window that never had this bar (no style, no values given) has nothing to tell.
    if (!(w->style & StyleBit(bar)) && !s.set) {
        SetLastError(1447);  // ERROR_NO_SCROLLBARS
        return FALSE;
    }
    if (out->fMask & SIF_RANGE) {
        out->nMin = s.min;
        out->nMax = s.max;
    }
    if (out->fMask & SIF_PAGE)
        out->nPage = s.page;
    if (out->fMask & SIF_POS)
        out->nPos = s.pos;
    if (out->fMask & SIF_TRACKPOS)
        out->nTrackPos = s.trackPos;
    return TRUE;
}

// Which part of a frame bar a window point falls on, with the bar's length, breadth and the point along it.
struct BarPoint {
    int bar = -1;
    RECT rect{};
    ScrollBarState state;
    int length = 0, breadth = 0, along = 0;
};

BarPoint Locate(HWND hwnd, int bar, POINT screen) {
    BarPoint bp;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return bp;
    POINT origin = WindowOriginOnScreen(hwnd);
    bp.bar = bar;
    bp.rect = WindowScrollBarRect(*w, bar);
    bp.state = w->scroll[bar];
    bool vert = bar == SB_VERT;
    bp.length = vert ? bp.rect.bottom - bp.rect.top : bp.rect.right - bp.rect.left;
    bp.breadth = vert ? bp.rect.right - bp.rect.left : bp.rect.bottom - bp.rect.top;
    bp.along = vert ? screen.y - origin.y - bp.rect.top : screen.x - origin.x - bp.rect.left;
    return bp;
}

void SetTrackPos(HWND hwnd, int bar, int pos) {
    std::lock_guard<std::mutex> g(Lock());
    if (WindowData* w = Find(hwnd))
        w->scroll[bar].trackPos = pos;
}
}  // namespace

RECT WindowScrollBarRect(const WindowData& w, int bar) {
    if ((bar != SB_HORZ && bar != SB_VERT) || !(w.style & StyleBit(bar)))
        return RECT{0, 0, 0, 0};
    RECT in = NonClientInsets(w);
    int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
    if (bar == SB_VERT)
        return RECT{width - in.right, in.top, width - in.right + GetSystemMetrics(SM_CXVSCROLL), height - in.bottom};
    return RECT{in.left, height - in.bottom, width - in.right, height - in.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

void DrawWindowScrollBars(HWND hwnd, HDC dc) {
    RECT rects[2];
    ScrollBarState states[2];
    bool enabled;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || !(w->style & (WS_HSCROLL | WS_VSCROLL)))
            return;
        for (int bar : {SB_HORZ, SB_VERT}) {
            rects[bar] = WindowScrollBarRect(*w, bar);
            states[bar] = w->scroll[bar];
        }
        enabled = !(w->style & WS_DISABLED);
    }
    for (int bar : {SB_HORZ, SB_VERT}) {
        if (Region::RectEmpty(rects[bar]))
            continue;
        ScrollBarPart pressed = (t_pressed.hwnd == hwnd && t_pressed.bar == bar) ? t_pressed.part : kPartNone;
        PaintScrollBar(dc, rects[bar], bar == SB_VERT, states[bar], pressed, enabled);
    }
    if (!Region::RectEmpty(rects[SB_HORZ]) && !Region::RectEmpty(rects[SB_VERT])) {
        RECT corner{rects[SB_VERT].left, rects[SB_HORZ].top, rects[SB_VERT].right, rects[SB_HORZ].bottom};
        FillRect(dc, &corner, GetSysColorBrush(COLOR_3DFACE));
    }
}

LRESULT WindowScrollHitTest(HWND hwnd, POINT screen) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || !(w->style & (WS_HSCROLL | WS_VSCROLL)))
        return HTNOWHERE;
    POINT origin = WindowOriginOnScreen(hwnd);
    POINT p{screen.x - origin.x, screen.y - origin.y};
    for (int bar : {SB_VERT, SB_HORZ}) {
        RECT r = WindowScrollBarRect(*w, bar);
        if (PtInRect(&r, p))
            return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTNOWHERE;
}

void TrackWindowScrollBar(HWND hwnd, LRESULT hit, POINT screen) {
    int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
    UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    if (!IsWindowEnabled(hwnd) || t_pressed.hwnd)
        return;
    BarPoint bp = Locate(hwnd, bar, screen);
    ScrollBarPart part = HitScrollBar(bp.state, bp.length, bp.breadth, bp.along);
    if (part == kPartNone || !ScrollBarUseful(bp.state) ||
        (part == kPartArrowUp && (bp.state.disabledArrows & ESB_DISABLE_LTUP)) ||
        (part == kPartArrowDown && (bp.state.disabledArrows & ESB_DISABLE_RTDN)))
        return;
    t_pressed = Pressed{hwnd, bar, part};
    int dragOffset = 0;
    if (part == kPartThumb) {
        dragOffset = bp.along - MeasureScrollBar(bp.state, bp.length, bp.breadth, bp.state.pos).thumbStart;
        SetTrackPos(hwnd, bar, bp.state.pos);
    }
    RedrawBars(hwnd);
    SetCapture(hwnd);
    int code = ScrollCodeOf(part);
    if (part != kPartThumb) {
        SendMessage(hwnd, message, MAKEWPARAM(code, 0), 0);
        SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
    }
    int trackPos = bp.state.pos;
    bool onPart = true;
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        MSG m;
        if (!GetMessage(&m, nullptr, 0, 0)) {
            PostQuitMessage((int)m.wParam);
            break;
        }
        // Mouse input queued before the capture took hold went to whatever window was under the pointer,
        // some of it as non-client messages: all of it belongs to the track.
        if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP)
            break;
        if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
            BarPoint now = Locate(hwnd, bar, m.pt);
            if (part == kPartThumb) {
                int pos = ScrollTrackPosition(now.state, now.length, now.breadth, now.along, dragOffset);
                if (pos != trackPos) {
                    trackPos = pos;
                    SetTrackPos(hwnd, bar, pos);
                    SendMessage(hwnd, message, MAKEWPARAM(SB_THUMBTRACK, (WORD)std::clamp(pos, 0, 0xFFFF)), 0);
                    RedrawBars(hwnd);
                }
            } else {
                onPart = HitScrollBar(now.state, now.length, now.breadth, now.along) == part;
            }
            continue;
        }
        if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kRepeatTimer) {
            SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
            // The step repeats while the pointer stays on the pressed part (a page part ends at the thumb).
            POINT p;
            GetCursorPos(&p);
            BarPoint now = Locate(hwnd, bar, p);
            if (onPart && HitScrollBar(now.state, now.length, now.breadth, now.along) == part)
                SendMessage(hwnd, message, MAKEWPARAM(code, 0), 0);
            continue;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)
            break;
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    t_pressed = Pressed{};
    if (!IsWindow(hwnd))
        return;
    if (part == kPartThumb)
        SendMessage(hwnd, message, MAKEWPARAM(SB_THUMBPOSITION, (WORD)std::clamp(trackPos, 0, 0xFFFF)), 0);
    SendMessage(hwnd, message, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    RedrawBars(hwnd);
}

}  // namespace user

using namespace user;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (!info)
        return 0;
    if (bar == SB_CTL)
        return ScrollBarControl(hwnd, bar) ? (int)SendMessage(hwnd, SBM_SETSCROLLINFO, (WPARAM)redraw, (LPARAM)info)
                                           : 0;
    return FrameBar(hwnd, bar) ? SetFrameInfo(hwnd, bar, *info, redraw) : 0;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (!info)
        return FALSE;
    if (bar == SB_CTL)
        return ScrollBarControl(hwnd, bar) && SendMessage(hwnd, SBM_GETSCROLLINFO, 0, (LPARAM)info);
    return FrameBar(hwnd, bar) && GetFrameInfo(hwnd, bar, info);
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (bar == SB_CTL)
        return ScrollBarControl(hwnd, bar) ? (int)SendMessage(hwnd, SBM_SETPOS, (WPARAM)pos, redraw) : 0;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &si))
        return 0;
    int old = si.nPos;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (bar == SB_CTL) {
        if (!ScrollBarControl(hwnd, bar))
            return FALSE;
        SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, (WPARAM)minPos, (LPARAM)maxPos);
        return TRUE;
    }
    SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
    return FrameBar(hwnd, bar) ? (SetScrollInfo(hwnd, bar, &si, redraw), TRUE) : FALSE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &si))
        return FALSE;
    if (minPos)
        *minPos = si.nMin;
    if (maxPos)
        *maxPos = si.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    if (bar == SB_CTL)
        return ScrollBarControl(hwnd, bar) && ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE) >= 0;
    if (!IsWindow(hwnd) || bar < SB_HORZ || bar > SB_BOTH)
        return FALSE;
    bool changed = false;
    if (bar == SB_HORZ || bar == SB_BOTH)
        changed |= ShowBar(hwnd, SB_HORZ, show != 0);
    if (bar == SB_VERT || bar == SB_BOTH)
        changed |= ShowBar(hwnd, SB_VERT, show != 0);
    if (changed)
        FrameChanged(hwnd);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (bar == SB_CTL)
        return ScrollBarControl(hwnd, (int)bar) && SendMessage(hwnd, SBM_ENABLE_ARROWS, arrows, 0);
    if (!IsWindow(hwnd) || bar > SB_BOTH)
        return FALSE;
    bool changed = false;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        for (int b : {SB_HORZ, SB_VERT})
            if ((int)bar == b || bar == SB_BOTH) {
                UINT next = arrows & ESB_DISABLE_BOTH;
                changed |= w->scroll[b].disabledArrows != next;
                w->scroll[b].disabledArrows = next;
            }
    }
    if (changed)
        RedrawBars(hwnd);
    return changed;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags) {
    RECT client;
    if (!GetClientRect(hwnd, &client))
        return ERROR;
    RECT area = scroll ? *scroll : client;
    IntersectRect(&area, &area, &client);
    RECT limit = clip ? *clip : client;
    IntersectRect(&limit, &limit, &client);
    // The pixels move within the limit; what they leave uncovered is the update region.
    RECT moved = area;
    OffsetRect(&moved, dx, dy);
    RECT landed;
    IntersectRect(&landed, &moved, &limit);
    Region uncovered;
    RECT exposed;
    if (IntersectRect(&exposed, &area, &limit))
        uncovered.Union(exposed);
    uncovered.Subtract(landed);
    int w = area.right - area.left, h = area.bottom - area.top;
    if ((dx || dy) && w > 0 && h > 0 && IsWindowVisible(hwnd)) {
        HDC dc = GetDC(hwnd);
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
        IntersectClipRect(dc, limit.left, limit.top, limit.right, limit.bottom);
        BitBlt(dc, area.left + dx, area.top + dy, w, h, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(hwnd, dc);
    }
    {
        // A pending update inside the scrolled area moves with the pixels.
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* wd = Find(hwnd)) {
            Region inside = wd->update;
            inside.Intersect(area);
            if (!inside.IsEmpty()) {
                wd->update.Subtract(area);
                inside.Offset(dx, dy);
                inside.Intersect(limit);
                wd->update.Union(inside);
            }
        }
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
            if (!scroll || IntersectRect(&r, &r, &area)) {
                GetWindowRect(c, &r);
                MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(c, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    if (update) {
        HRGN tmp = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(update, tmp, tmp, RGN_COPY);
        for (const RECT& r : uncovered.Rects()) {
            SetRectRgn(tmp, r.left, r.top, r.right, r.bottom);
            CombineRgn(update, update, tmp, RGN_OR);
        }
        DeleteObject(tmp);
    }
    if (updateRect)
        *updateRect = uncovered.IsEmpty() ? RECT{0, 0, 0, 0} : uncovered.Bounds();
    if (flags & SW_INVALIDATE)
        for (const RECT& r : uncovered.Rects())
            InvalidateRect(hwnd, &r, (flags & SW_ERASE) != 0);
    return uncovered.IsEmpty() ? NULLREGION : uncovered.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}
