// Minimised, maximised and restored windows, and their placement.
#include <algorithm>

#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"

namespace user {
namespace {
enum class Target { None, Maximize, Minimize, Restore };

Target TargetOf(int cmd, DWORD style) {
    switch (cmd) {
        case SW_SHOWMAXIMIZED:
            return (style & WS_MAXIMIZE) ? Target::None : Target::Maximize;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
        case SW_FORCEMINIMIZE:
            return (style & WS_MINIMIZE) ? Target::None : Target::Minimize;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT:
        case SW_SHOWNOACTIVATE:
            return (style & (WS_MINIMIZE | WS_MAXIMIZE)) ? Target::Restore : Target::None;
        default:
            return Target::None;
    }
}

// Where a maximised window goes: its frame (and for a child its caption) just outside the area it fills.
RECT MaximizedRect(HWND hwnd) {
    RECT area{}, in{};
    bool child = false;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return area;
        child = (w->style & WS_CHILD) != 0;
        WindowData probe;
        probe.style = w->style | WS_MAXIMIZE;
        probe.exStyle = w->exStyle;
        probe.menu = w->menu;
        probe.menuBarHeight = w->menuBarHeight;
        probe.hwnd = hwnd;
        in = NonClientInsets(probe);
        if (child) {
            if (WindowData* p = Find(w->parent)) {
                RECT pc = ClientRectInParent(*p);
                area = RECT{0, 0, pc.right - pc.left, pc.bottom - pc.top};
            }
        }
    }
    if (!child) {
        SIZE screen = GetDisplayBackend()->ScreenSize();
        area = RECT{0, 0, screen.cx, screen.cy};
        // A top-level window keeps its caption and menu on the screen; only the sizing frame goes off.
        int frame = in.left;
        in = RECT{frame, frame, frame, frame};
    }
    MINMAXINFO info{};
    info.ptMaxSize =
        POINT{area.right - area.left + in.left + in.right, area.bottom - area.top + in.top + in.bottom};
    info.ptMaxPosition = POINT{area.left - in.left, area.top - in.top};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
    info.ptMaxTrackSize = POINT{1 << 15, 1 << 15};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    return RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                info.ptMaxPosition.y + info.ptMaxSize.y};
}

RECT MinimizedRect(HWND hwnd) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return RECT{};
    int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    if (!(w->style & WS_CHILD))
        return RECT{-32000, -32000, -32000 + 160, -32000 + height};
    // A minimised child sits in a row along the bottom of its parent, after the others.
    WindowData* p = Find(w->parent);
    if (!p)
        return RECT{};
    RECT pc = ClientRectInParent(*p);
    int slot = 0;
    for (HWND s : p->children)
        if (WindowData* sw = Find(s);
            sw && s != hwnd && (sw->style & WS_MINIMIZE) && (sw->style & WS_VISIBLE))
            ++slot;
    int x = slot * 160;
    int bottom = pc.bottom - pc.top;
    return RECT{x, bottom - height, x + 160, bottom};
}

void Place(HWND hwnd, const RECT& r) {
    RECT before{};
    {
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd))
            before = w->rect;
    }
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    bool same =
        before.right - before.left == r.right - r.left && before.bottom - before.top == r.bottom - r.top;
    if (same) {
        // The size stayed, but the state changed: the window still hears it.
        RECT rc;
        GetClientRect(hwnd, &rc);
        SendMessage(hwnd, WM_SIZE,
                    IsIconic(hwnd)   ? SIZE_MINIMIZED
                    : IsZoomed(hwnd) ? SIZE_MAXIMIZED
                                     : SIZE_RESTORED,
                    MAKELPARAM(rc.right, rc.bottom));
    }
    InvalidateWindowArea(hwnd, nullptr, true, true, true);
}

void SetStateStyle(HWND hwnd, DWORD add, DWORD remove, bool saveNormal) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return;
    if (saveNormal && !(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        w->normalRect = w->rect;
        w->hasNormalRect = true;
    }
    w->style = (w->style & ~remove) | add;
}
}  // namespace

bool ApplyShowState(HWND hwnd, int cmd) {
    DWORD style = (DWORD)GetWindowLongPtr(hwnd, GWL_STYLE);
    Target t = TargetOf(cmd, style);
    if (t == Target::None)
        return false;
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_MINMAX, (WPARAM)hwnd, (LPARAM)cmd) != 0)
        return false;
    switch (t) {
        case Target::Maximize: {
            SetStateStyle(hwnd, 0, 0, true);
            {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(hwnd))
                    w->restoreToMaximized = false;
            }
            RECT r = MaximizedRect(hwnd);
            SetStateStyle(hwnd, WS_MAXIMIZE, WS_MINIMIZE, false);
            Place(hwnd, r);
            break;
        }
        case Target::Minimize: {
            bool wasMax = (style & WS_MAXIMIZE) != 0;
            SetStateStyle(hwnd, 0, 0, true);
            RECT r = MinimizedRect(hwnd);
            {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(hwnd)) {
                    w->restoreToMaximized = wasMax;
                    w->minPosition = POINT{r.left, r.top};
                }
            }
            SetStateStyle(hwnd, WS_MINIMIZE, WS_MAXIMIZE, false);
            Place(hwnd, r);
            break;
        }
        case Target::Restore: {
            bool toMax = false;
            RECT normal{};
            bool hasNormal = false;
            {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(hwnd)) {
                    toMax = (w->style & WS_MINIMIZE) && w->restoreToMaximized && cmd == SW_RESTORE;
                    normal = w->normalRect;
                    hasNormal = w->hasNormalRect;
                    w->restoreToMaximized = false;
                }
            }
            if (toMax) {
                RECT r = MaximizedRect(hwnd);
                SetStateStyle(hwnd, WS_MAXIMIZE, WS_MINIMIZE, false);
                Place(hwnd, r);
            } else {
                SetStateStyle(hwnd, 0, WS_MINIMIZE | WS_MAXIMIZE, false);
                if (hasNormal)
                    Place(hwnd, normal);
            }
            break;
        }
        case Target::None:
            break;
    }
    return true;
}

}  // namespace user

using namespace user;

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp) {
    if (!wp)
        return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || hwnd == Desktop())
        return FALSE;
    bool iconic = (w->style & WS_MINIMIZE) != 0, zoomed = (w->style & WS_MAXIMIZE) != 0;
    wp->length = sizeof(WINDOWPLACEMENT);
    wp->flags = (iconic && w->restoreToMaximized) ? WPF_RESTORETOMAXIMIZED : 0;
    wp->showCmd = iconic ? SW_SHOWMINIMIZED : zoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    wp->ptMinPosition = iconic ? w->minPosition : POINT{-1, -1};
    wp->ptMaxPosition = zoomed ? POINT{w->rect.left, w->rect.top} : POINT{-1, -1};
    wp->rcNormalPosition = ((iconic || zoomed) && w->hasNormalRect) ? w->normalRect : w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp) {
    if (!wp || !IsWindow(hwnd))
        return FALSE;
    RECT normal = wp->rcNormalPosition;
    // A rectangle turned inside out (a damaged stored placement) keeps its corner and gets no size.
    normal.right = std::max(normal.right, normal.left);
    normal.bottom = std::max(normal.bottom, normal.top);
    bool normalNow;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        w->normalRect = normal;
        w->hasNormalRect = true;
        w->restoreToMaximized = (wp->flags & WPF_RESTORETOMAXIMIZED) != 0;
        normalNow = !(w->style & (WS_MINIMIZE | WS_MAXIMIZE));
    }
    if (normalNow)
        SetWindowPos(hwnd, nullptr, normal.left, normal.top, normal.right - normal.left,
                     normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UINT show = wp->showCmd;
    if (show > SW_FORCEMINIMIZE)
        show = SW_SHOWNORMAL;
    ShowWindow(hwnd, (int)show);
    return TRUE;
}

void user::Remaximize(HWND hwnd) {
    if (!IsZoomed(hwnd))
        return;
    RECT r = MaximizedRect(hwnd);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
