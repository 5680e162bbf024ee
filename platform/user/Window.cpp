// The window table, creation and destruction, hierarchy, geometry, state and focus.
#include <cairo.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/base/HandleTable.h"
#include "platform/base/String.h"
#include "platform/user/Controls.h"
#include "platform/user/Display.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowRegion.h"

namespace user {
namespace {
// Guarded by Lock(). Never destroyed: a thread that ends after the program's static objects are gone
// still takes its windows with it.
HandleTable<std::unique_ptr<WindowData>, HWND>& g_windows = *new HandleTable<std::unique_ptr<WindowData>, HWND>{0x10000};
HWND g_desktop = nullptr;

void EnsureDesktop() {
    if (g_desktop)
        return;
    auto d = std::make_unique<WindowData>();
    SIZE s = GetDisplayBackend()->ScreenSize();
    d->rect = RECT{0, 0, s.cx, s.cy};
    d->style = WS_VISIBLE | WS_CLIPCHILDREN;
    WindowData* desktop = d.get();
    g_desktop = g_windows.Add(std::move(d));
    desktop->hwnd = g_desktop;
}
}  // namespace

std::mutex& Lock() {
    return HandleWaitMutex();
}

WindowData* Find(HWND hwnd) {
    std::unique_ptr<WindowData>* w = g_windows.Find(hwnd);
    return w ? w->get() : nullptr;
}

HWND Allocate(std::unique_ptr<WindowData> data) {
    EnsureDesktop();
    WindowData* w = data.get();
    HWND h = g_windows.Add(std::move(data));
    if (h)
        w->hwnd = h;
    return h;
}

void Free(HWND hwnd) {
    if (hwnd == g_desktop)
        return;
    std::optional<std::unique_ptr<WindowData>> w = g_windows.Take(hwnd);
    if (w && (*w)->surface)
        cairo_surface_destroy((*w)->surface);
}

HWND Desktop() {
    EnsureDesktop();
    return g_desktop;
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> out;
    g_windows.ForEach([&](HWND h, std::unique_ptr<WindowData>&) {
        if (h != g_desktop)
            out.push_back(h);
    });
    return out;
}

RECT NonClientInsets(const WindowData& w) {
    if (w.hwnd && w.hwnd == g_desktop)
        return RECT{0, 0, 0, 0};
    // A desktop-drawn frame still has our menu bar inside it.
    int menuBar = (w.menu && !(w.style & WS_CHILD)) ? w.menuBarHeight : 0;
    if (w.nativeFrame)
        return RECT{0, menuBar, 0, 0};
    int frame = 0;
    if (w.style & WS_THICKFRAME)
        frame = 4;
    else if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME))
        frame = 3;
    else if (w.style & WS_BORDER)
        frame = 1;
    int caption = (w.style & WS_CAPTION) == WS_CAPTION ? ((w.exStyle & WS_EX_TOOLWINDOW) ? 16 : 19) : 0;
    int edge = (w.exStyle & WS_EX_CLIENTEDGE) ? 2 : (w.exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    // The frame's scroll bars lie inside the edge, right and below the client area.
    int vscroll = (w.style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    int hscroll = (w.style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    return RECT{frame + edge, frame + caption + menuBar + edge, frame + edge + vscroll, frame + edge + hscroll};
}

RECT ClientRectInParent(const WindowData& w) {
    const RECT& in = w.clientInsets;
    RECT r{w.rect.left + in.left, w.rect.top + in.top, w.rect.right - in.right, w.rect.bottom - in.bottom};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

static POINT OriginOnScreen(HWND hwnd, bool client) {
    POINT p{0, 0};
    WindowData* w = Find(hwnd);
    bool first = true;
    while (w && w->hwnd != g_desktop) {
        RECT r = (first && !client) ? w->rect : ClientRectInParent(*w);
        p.x += r.left;
        p.y += r.top;
        first = false;
        w = Find(w->parent);
    }
    return p;
}

POINT ClientOriginOnScreen(HWND hwnd) {
    return OriginOnScreen(hwnd, true);
}
POINT WindowOriginOnScreen(HWND hwnd) {
    return OriginOnScreen(hwnd, false);
}

HWND TopLevelOf(HWND hwnd) {
    WindowData* w = Find(hwnd);
    while (w && w->parent && w->parent != g_desktop)
        w = Find(w->parent);
    return w && w->hwnd != g_desktop ? w->hwnd : nullptr;
}

bool IsVisibleChain(HWND hwnd) {
    WindowData* w = Find(hwnd);
    while (w && w->hwnd != g_desktop) {
        if (!(w->style & WS_VISIBLE))
            return false;
        w = Find(w->parent);
    }
    return w != nullptr;
}

POINT SurfaceOffset(HWND hwnd, bool client) {
    POINT o = OriginOnScreen(hwnd, client);
    POINT t = WindowOriginOnScreen(TopLevelOf(hwnd));
    return POINT{o.x - t.x, o.y - t.y};
}

Region VisibleRegion(HWND hwnd, bool client) {
    Region out;
    WindowData* w = Find(hwnd);
    HWND top = TopLevelOf(hwnd);
    WindowData* tw = Find(top);
    if (!w || !tw || !IsVisibleChain(hwnd))
        return out;
    POINT off = SurfaceOffset(hwnd, client);
    RECT size = client ? ClientRectInParent(*w) : w->rect;
    out.Union(RECT{off.x, off.y, off.x + (size.right - size.left), off.y + (size.bottom - size.top)});
    out.Intersect(RECT{0, 0, tw->rect.right - tw->rect.left, tw->rect.bottom - tw->rect.top});
    // Ancestors' client areas clip, and so do siblings above a window that clips its siblings.
    WindowData* cur = w;
    while (cur && cur->hwnd != top) {
        WindowData* p = Find(cur->parent);
        if (!p)
            break;
        POINT po = SurfaceOffset(p->hwnd, true);
        RECT pc = ClientRectInParent(*p);
        out.Intersect(RECT{po.x, po.y, po.x + (pc.right - pc.left), po.y + (pc.bottom - pc.top)});
        if (cur->style & WS_CLIPSIBLINGS) {
            for (HWND sib : p->children) {
                if (sib == cur->hwnd)
                    break;
                WindowData* s = Find(sib);
                if (!s || !(s->style & WS_VISIBLE))
                    continue;
                out.Subtract(RECT{po.x + s->rect.left, po.y + s->rect.top, po.x + s->rect.right,
                                  po.y + s->rect.bottom});
            }
        }
        cur = p;
    }
    if (w->style & WS_CLIPCHILDREN) {
        POINT co = SurfaceOffset(hwnd, true);
        for (HWND c : w->children) {
            WindowData* cw = Find(c);
            if (!cw || !(cw->style & WS_VISIBLE))
                continue;
            out.Subtract(RECT{co.x + cw->rect.left, co.y + cw->rect.top, co.x + cw->rect.right,
                              co.y + cw->rect.bottom});
        }
    }
    return out;
}

}  // namespace user

using namespace user;

namespace {
int g_beeps = 0;

// Runs f on the window's data under the lock; `fallback` when the handle is stale.
template <class R, class F>
R WithWindow(HWND hwnd, R fallback, F f) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || hwnd == Desktop()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return fallback;
    }
    return f(*w);
}

bool IsOwnThread(HWND hwnd) {
    return WithWindow(hwnd, false, [](WindowData& w) { return w.threadId == GetCurrentThreadId(); });
}

void CollectSubtree(HWND hwnd, std::vector<HWND>& out) {
    WindowData* w = Find(hwnd);
    if (!w)
        return;
    out.push_back(hwnd);
    for (HWND c : w->children)
        CollectSubtree(c, out);
}

bool InSubtree(HWND root, HWND hwnd) {
    WindowData* w = Find(hwnd);
    while (w) {
        if (w->hwnd == root)
            return true;
        if (w->hwnd == Desktop())
            return false;
        w = Find(w->parent);
    }
    return false;
}

void SendDestroy(HWND hwnd) {
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd))
            children = w->children;
    }
    for (HWND c : children) {
        {
            std::lock_guard<std::mutex> g(Lock());
            if (WindowData* cw = Find(c))
                cw->destroying = true;
        }
        SendDestroy(c);
    }
}

void FinalDestroy(HWND hwnd) {
    std::vector<HWND> children;
    {
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd))
            children = w->children;
    }
    for (HWND c : children)
        FinalDestroy(c);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    ForgetWindowShape(hwnd);
    bool topLevel = false;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return;
        topLevel = w->parent == Desktop();
        if (WindowData* p = Find(w->parent)) {
            auto& sib = p->children;
            sib.erase(std::remove(sib.begin(), sib.end(), hwnd), sib.end());
        }
        if (auto q = QueueOf(w->threadId)) {
            auto& t = q->timers;
            t.erase(std::remove_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd; }),
                    t.end());
            auto& posted = q->posted;
            posted.erase(
                std::remove_if(posted.begin(), posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                posted.end());
            if (q->focus == hwnd)
                q->focus = nullptr;
            if (q->active == hwnd)
                q->active = nullptr;
            if (q->capture == hwnd)
                q->capture = nullptr;
        }
        Free(hwnd);
    }
    if (topLevel)
        GetDisplayBackend()->WindowDestroyed(hwnd);
    Wake();
}
}  // namespace

namespace {
MINMAXINFO QueryMinMaxInfo(HWND hwnd) {
    MINMAXINFO info{};
    info.ptMaxTrackSize = POINT{1 << 15, 1 << 15};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    return info;
}

void ClampToTracking(const MINMAXINFO& info, int& cx, int& cy) {
    int maxX = std::max((int)info.ptMinTrackSize.x, (int)info.ptMaxTrackSize.x);
    int maxY = std::max((int)info.ptMinTrackSize.y, (int)info.ptMaxTrackSize.y);
    cx = std::clamp(cx, (int)info.ptMinTrackSize.x, maxX);
    cy = std::clamp(cy, (int)info.ptMinTrackSize.y, maxY);
}

// Asks the window for its client rectangle in `proposed` (a window rectangle in `proposed`'s own
// coordinates) and keeps the answer as insets. `params` carries the old rectangles on a change.
void CalcClientArea(HWND hwnd, RECT proposed, NCCALCSIZE_PARAMS* params) {
    RECT answer;
    if (params) {
        params->rgrc[0] = proposed;
        SendMessage(hwnd, WM_NCCALCSIZE, TRUE, (LPARAM)params);
        answer = params->rgrc[0];
    } else {
        answer = proposed;
        SendMessage(hwnd, WM_NCCALCSIZE, FALSE, (LPARAM)&answer);
    }
    // The client area lies within the window and has no negative size.
    answer.left = std::clamp(answer.left, proposed.left, proposed.right);
    answer.top = std::clamp(answer.top, proposed.top, proposed.bottom);
    answer.right = std::clamp(answer.right, answer.left, proposed.right);
    answer.bottom = std::clamp(answer.bottom, answer.top, proposed.bottom);
    std::lock_guard<std::mutex> g(Lock());
    if (WindowData* w = Find(hwnd))
        w->clientInsets = RECT{answer.left - proposed.left, answer.top - proposed.top,
                               proposed.right - answer.right, proposed.bottom - answer.bottom};
}

// The window that becomes active when the active `hwnd` hides or goes: its owner when that can take
// it, else the topmost visible, enabled top-level window of the thread; none leaves the program
// inactive.
HWND NextActiveWindow(HWND hwnd) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return nullptr;
    auto canTake = [&](WindowData* o) {
        return o && o->hwnd != hwnd && !o->destroying && (o->style & WS_VISIBLE) &&
               !(o->style & WS_DISABLED) && o->threadId == w->threadId;
    };
    if (WindowData* owner = Find(w->owner); canTake(owner))
        return owner->hwnd;
    for (HWND h : Find(Desktop())->children)
        if (WindowData* o = Find(h); canTake(o) && !(o->exStyle & WS_EX_TOOLWINDOW))
            return h;
    return nullptr;
}

int ZIndex(HWND hwnd) {
    WindowData* w = Find(hwnd);
    WindowData* p = w ? Find(w->parent) : nullptr;
    if (!p)
        return -1;
    auto it = std::find(p->children.begin(), p->children.end(), hwnd);
    return (int)(it - p->children.begin());
}
}  // namespace

bool user::HasMinMaxInfo(DWORD style) {
    return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));
}

HWND GetDesktopWindow() {
    std::lock_guard<std::mutex> g(Lock());
    return Desktop();
}

HWND CreateWindowEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    EnsureSystemClasses();
    CurrentQueue();
    std::string name;
    if (className && IS_INTRESOURCE(className)) {
        name = "#" + std::to_string((uintptr_t)className);
    } else {
        name = className ? className : "";
    }
    auto cls = FindClass(name);
    if (!cls) {
        SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
        return nullptr;
    }
    if (parent == HWND_MESSAGE)
        parent = nullptr;
    bool child = (style & WS_CHILD) != 0;
    if (!child)
        StartWindowChannel();  // other running copies can see this process's windows from now on
    HWND owner = nullptr;
    HWND hwnd;
    auto display = GetDisplayBackendShared();
    // A top-level window's menu bar takes rows of its own (measured before the window table is locked).
    int menuBarHeight = (!child && menu) ? MenuBarHeight(menu, width == CW_USEDEFAULT ? 640 : width) : 0;
    {
        std::lock_guard<std::mutex> g(Lock());
        if (parent && !Find(parent)) {
            SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
            return nullptr;
        }
        if (child && !parent) {
            SetLastError(1406);  // ERROR_TLW_WITH_WSCHILD
            return nullptr;
        }
        if (!child) {
            owner = parent ? TopLevelOf(parent) : nullptr;
            parent = Desktop();
            if (!(style & WS_POPUP))
                style |= WS_CLIPSIBLINGS | WS_CAPTION;
        }
        if (x == CW_USEDEFAULT)
            x = 40;
        if (y == CW_USEDEFAULT)
            y = 40;
        if (width == CW_USEDEFAULT)
            width = 640, height = height == CW_USEDEFAULT ? 480 : height;
        if (height == CW_USEDEFAULT)
            height = 480;
        auto w = std::make_unique<WindowData>();
        w->cls = cls;
        w->proc = cls->wc.lpfnWndProc;
        w->style = style & ~WS_VISIBLE;
        w->exStyle = exStyle;
        w->id = child ? (LONG_PTR)menu : 0;
        w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
        w->parent = parent;
        w->owner = owner;
        w->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
        w->extra.assign((size_t)std::max(0, cls->wc.cbWndExtra), 0);
        w->threadId = GetCurrentThreadId();
        w->nativeFrame = !child && display->DrawsFrame(style, exStyle, owner);
        if (!child && menu) {
            w->menu = menu;
            w->menuBarHeight = menuBarHeight;
        }
        w->clientInsets = NonClientInsets(*w);
        hwnd = Allocate(std::move(w));
        if (!hwnd) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        WindowData* p = Find(parent);
        if (child)
            p->children.push_back(hwnd);
        else
            p->children.insert(p->children.begin(), hwnd);
    }
    CREATESTRUCT cs{param,      instance,  menu,   child ? parent : owner, height, width, y, x, (LONG)style,
                    windowName, className, exStyle};
    CBT_CREATEWND cbt{&cs, HWND_TOP};
    auto fail = [&] {
        {
            std::lock_guard<std::mutex> g(Lock());
            if (WindowData* w = Find(hwnd))
                w->destroying = true;
        }
        FinalDestroy(hwnd);
        return (HWND) nullptr;
    };
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_CREATEWND, (WPARAM)hwnd, (LPARAM)&cbt) != 0)
        return fail();
    if (!IsWindow(hwnd))
        return nullptr;
    if (HasMinMaxInfo(style)) {
        // The first size keeps within the tracking sizes the window gives.
        MINMAXINFO info = QueryMinMaxInfo(hwnd);
        if (!IsWindow(hwnd))
            return nullptr;
        int cx = cs.cx, cy = cs.cy;
        ClampToTracking(info, cx, cy);
        if (cx != cs.cx || cy != cs.cy) {
            cs.cx = cx;
            cs.cy = cy;
            std::lock_guard<std::mutex> g(Lock());
            if (WindowData* w = Find(hwnd)) {
                w->rect.right = w->rect.left + std::max(0, cx);
                w->rect.bottom = w->rect.top + std::max(0, cy);
            }
        }
    }
    if (!SendMessage(hwnd, WM_NCCREATE, 0, (LPARAM)&cs))
        return fail();
    if (!IsWindow(hwnd))
        return nullptr;
    // The first client area is asked for with the window rectangle on the screen.
    RECT onScreen{};
    GetWindowRect(hwnd, &onScreen);
    CalcClientArea(hwnd, onScreen, nullptr);
    if (!IsWindow(hwnd))
        return nullptr;
    if (SendMessage(hwnd, WM_CREATE, 0, (LPARAM)&cs) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    if (!child) {
        EnsureSurface(hwnd);
        display->WindowCreated(hwnd);
    }
    if (!(style & (WS_POPUP | WS_CHILD))) {
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd))
            w->sizeMovePending = true;
    } else {
        RECT client{};
        GetClientRect(hwnd, &client);
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        POINT origin;
        {
            std::lock_guard<std::mutex> g(Lock());
            WindowData* w = Find(hwnd);
            if (!w)
                return nullptr;
            RECT cr = ClientRectInParent(*w);
            origin = POINT{cr.left, cr.top};
        }
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (child && !(exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, (WORD)(uintptr_t)menu), (LPARAM)hwnd);
    if ((style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateWindow(LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu, instance,
                          param);
}

BOOL DestroyWindow(HWND hwnd) {
    HWND parent = nullptr;
    bool visible = false, topLevel = false;
    RECT rect{};
    std::vector<HWND> owned;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || hwnd == Desktop() || w->destroying) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_DESTROYWND, (WPARAM)hwnd, 0) != 0)
        return FALSE;
    // A shown window hides first, so it hears of it and the activation moves on while it still exists.
    if (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_VISIBLE)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (IsWindow(hwnd) && GetActiveWindow() == hwnd)
        SetActiveWindow(NextActiveWindow(hwnd));
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || w->destroying)
            return FALSE;
        w->destroying = true;
        parent = w->parent;
        visible = IsVisibleChain(hwnd);
        topLevel = parent == Desktop();
        rect = w->rect;
        for (HWND other : AllWindows()) {
            WindowData* o = Find(other);
            if (o && o->owner == hwnd && !o->destroying)
                owned.push_back(other);
        }
        if (auto q = QueueOf(w->threadId)) {
            std::vector<HWND> subtree;
            CollectSubtree(hwnd, subtree);
            for (HWND s : subtree) {
                if (q->focus == s)
                    q->focus = nullptr;
                if (q->capture == s)
                    q->capture = nullptr;
            }
            if (q->active == hwnd)
                q->active = nullptr;
        }
        w->style &= ~WS_VISIBLE;
    }
    for (HWND o : owned)
        DestroyWindow(o);
    if (visible) {
        if (topLevel) {
            GetDisplayBackend()->WindowShown(hwnd, false);
        } else {
            InvalidateWindowArea(parent, &rect, true, true, false);
        }
    }
    SendDestroy(hwnd);
    FinalDestroy(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    if (IsForeignWindow(hwnd))
        return QueryForeignWindow(hwnd, nullptr);
    std::lock_guard<std::mutex> g(Lock());
    return Find(hwnd) != nullptr && hwnd != nullptr;
}

BOOL IsWindowVisible(HWND hwnd) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd))
        return QueryForeignWindow(hwnd, &f) && (f.style & WS_VISIBLE);
    std::lock_guard<std::mutex> g(Lock());
    return Find(hwnd) && IsVisibleChain(hwnd);
}

BOOL IsWindowEnabled(HWND hwnd) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd))
        return QueryForeignWindow(hwnd, &f) && !(f.style & WS_DISABLED);
    return WithWindow(hwnd, FALSE, [](WindowData& w) -> BOOL { return !(w.style & WS_DISABLED); });
}

BOOL IsChild(HWND parent, HWND hwnd) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    while (w && (w->style & WS_CHILD)) {
        if (w->parent == parent)
            return TRUE;
        w = Find(w->parent);
    }
    return FALSE;
}

BOOL IsIconic(HWND hwnd) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd))
        return QueryForeignWindow(hwnd, &f) && (f.style & WS_MINIMIZE);
    return WithWindow(hwnd, FALSE, [](WindowData& w) -> BOOL { return (w.style & WS_MINIMIZE) != 0; });
}
BOOL IsZoomed(HWND hwnd) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd))
        return QueryForeignWindow(hwnd, &f) && (f.style & WS_MAXIMIZE);
    return WithWindow(hwnd, FALSE, [](WindowData& w) -> BOOL { return (w.style & WS_MAXIMIZE) != 0; });
}

HWND GetParent(HWND hwnd) {
    return WithWindow(hwnd, (HWND) nullptr, [](WindowData& w) -> HWND {
        if (w.style & WS_CHILD)
            return w.parent;
        return (w.style & WS_POPUP) ? w.owner : nullptr;
    });
}

HWND SetParent(HWND hwnd, HWND parent) {
    HWND old;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || (parent && !Find(parent)) || hwnd == Desktop())
            return nullptr;
        if (!parent)
            parent = Desktop();
        old = w->parent;
        if (WindowData* op = Find(old)) {
            auto& sib = op->children;
            sib.erase(std::remove(sib.begin(), sib.end(), hwnd), sib.end());
        }
        w->parent = parent;
        Find(parent)->children.insert(Find(parent)->children.begin(), hwnd);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return old == GetDesktopWindow() ? nullptr : old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w || hwnd == Desktop())
        return nullptr;
    if (flags == GA_PARENT)
        return w->parent;
    HWND top = TopLevelOf(hwnd);
    if (flags == GA_ROOT)
        return top;
    WindowData* t = Find(top);
    while (t && t->owner && Find(t->owner))
        t = Find(t->owner);
    return t ? t->hwnd : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd))
        return cmd == GW_OWNER && QueryForeignWindow(hwnd, &f) ? f.owner : nullptr;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    WindowData* p = Find(w->parent);
    if (!p)
        return nullptr;
    auto& sib = p->children;
    auto it = std::find(sib.begin(), sib.end(), hwnd);
    switch (cmd) {
        case GW_HWNDFIRST:
            return sib.front();
        case GW_HWNDLAST:
            return sib.back();
        case GW_HWNDNEXT:
            return (it == sib.end() || it + 1 == sib.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return (it == sib.begin() || it == sib.end()) ? nullptr : *(it - 1);
        default:
            return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD);
}
HWND GetNextWindow(HWND hwnd, UINT cmd) {
    return GetWindow(hwnd, cmd);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
    std::vector<HWND> all;
    {
        std::lock_guard<std::mutex> g(Lock());
        if (!Find(parent ? parent : Desktop()))
            return FALSE;
        CollectSubtree(parent ? parent : Desktop(), all);
    }
    for (size_t i = 1; i < all.size(); ++i)
        if (IsWindow(all[i]) && !proc(all[i], param))
            break;
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM param) {
    std::vector<HWND> list;
    {
        std::lock_guard<std::mutex> g(Lock());
        for (HWND h : Find(Desktop())->children)
            if (Find(h)->threadId == threadId)
                list.push_back(h);
    }
    for (HWND h : list)
        if (IsWindow(h) && !proc(h, param))
            break;
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
    if (IsForeignWindow(hwnd)) {
        // Another process's threads are not ours to name: its process id only.
        ForeignWindowInfo f;
        bool known = QueryForeignWindow(hwnd, &f);
        if (processId)
            *processId = known ? f.processId : 0;
        return 0;
    }
    DWORD thread = WithWindow(hwnd, (DWORD)0, [](WindowData& w) { return w.threadId; });
    if (processId)
        *processId = thread ? (DWORD)getpid() : 0;
    return thread;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    ForeignWindowInfo f;
    if (IsForeignWindow(hwnd)) {
        if (!QueryForeignWindow(hwnd, &f))
            return 0;
        return index == GWL_STYLE ? (LONG_PTR)f.style : index == GWL_EXSTYLE ? (LONG_PTR)f.exStyle : 0;
    }
    return WithWindow(hwnd, (LONG_PTR)0, [&](WindowData& w) -> LONG_PTR {
        switch (index) {
            case GWLP_WNDPROC:
                return (LONG_PTR)w.proc;
            case GWLP_HINSTANCE:
                return 0;
            case GWLP_HWNDPARENT:
                return (LONG_PTR)((w.style & WS_CHILD) ? w.parent : w.owner);
            case GWLP_ID:
                return w.id;
            case GWL_STYLE:
                return (LONG_PTR)(LONG)w.style;
            case GWL_EXSTYLE:
                return (LONG_PTR)(LONG)w.exStyle;
            case GWLP_USERDATA:
                return w.userData;
            default:
                if (index < 0 || (size_t)index + sizeof(LONG_PTR) > w.extra.size()) {
                    SetLastError(1413);  // ERROR_INVALID_INDEX
                    return 0;
                }
                LONG_PTR v;
                std::memcpy(&v, w.extra.data() + index, sizeof v);
                return v;
        }
    });
}

namespace {
LONG_PTR SetWindowLongRaw(HWND hwnd, int index, LONG_PTR value);
}  // namespace

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    if ((index == GWL_STYLE || index == GWL_EXSTYLE) && IsWindow(hwnd)) {
        // A style change is announced first: the window may amend the new style.
        STYLESTRUCT change{(DWORD)GetWindowLongPtr(hwnd, index), (DWORD)value};
        if (change.styleOld != change.styleNew) {
            SendMessage(hwnd, WM_STYLECHANGING, (WPARAM)index, (LPARAM)&change);
            return SetWindowLongRaw(hwnd, index, (LONG_PTR)change.styleNew);
        }
    }
    return SetWindowLongRaw(hwnd, index, value);
}

namespace {
LONG_PTR SetWindowLongRaw(HWND hwnd, int index, LONG_PTR value) {
    return WithWindow(hwnd, (LONG_PTR)0, [&](WindowData& w) -> LONG_PTR {
        LONG_PTR old = 0;
        switch (index) {
            case GWLP_WNDPROC:
                old = (LONG_PTR)w.proc;
                w.proc = (WNDPROC)value;
                break;
            case GWLP_HWNDPARENT:
                old = (LONG_PTR)w.owner;
                w.owner = (HWND)value;
                break;
            case GWLP_ID:
                old = w.id;
                w.id = value;
                break;
            case GWL_STYLE:
                old = (LONG)w.style;
                w.style = (DWORD)value;
                break;
            case GWL_EXSTYLE:
                old = (LONG)w.exStyle;
                w.exStyle = (DWORD)value;
                break;
            case GWLP_USERDATA:
                old = w.userData;
                w.userData = value;
                break;
            default:
                if (index < 0 || (size_t)index + sizeof(LONG_PTR) > w.extra.size()) {
                    SetLastError(1413);
                    return 0;
                }
                std::memcpy(&old, w.extra.data() + index, sizeof old);
                std::memcpy(w.extra.data() + index, &value, sizeof value);
        }
        return old;
    });
}
}  // namespace

LONG GetWindowLong(HWND hwnd, int index) {
    return (LONG)GetWindowLongPtr(hwnd, index);
}
LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return (LONG)SetWindowLongPtr(hwnd, index, value);
}

int GetDlgCtrlID(HWND hwnd) {
    return (int)GetWindowLongPtr(hwnd, GWLP_ID);
}

HWND GetDlgItem(HWND dialog, int id) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(dialog);
    if (!w)
        return nullptr;
    for (HWND c : w->children)
        if (WindowData* cw = Find(c); cw && (int)cw->id == id)
            return c;
    return nullptr;
}

BOOL SetWindowText(HWND hwnd, LPCTSTR text) {
    return (BOOL)SendMessage(hwnd, WM_SETTEXT, 0, (LPARAM)text);
}

int GetWindowText(HWND hwnd, LPTSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    return (int)SendMessage(hwnd, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer);
}

int GetWindowTextLength(HWND hwnd) {
    return (int)SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
}

CString StoredWindowText(HWND hwnd) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    return w ? CString(w->text) : CString();
}

CString GetWindowTextString(HWND hwnd) {
    int n = GetWindowTextLength(hwnd);
    std::string s((size_t)n + 1, '\0');
    int got = GetWindowText(hwnd, s.data(), n + 1);
    s.resize((size_t)std::max(0, got));
    return CString(s);
}

static std::string PropKey(LPCTSTR name) {
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string((uintptr_t)name);
    return name;
}

BOOL SetProp(HWND hwnd, LPCTSTR name, HANDLE data) {
    if (!name)
        return FALSE;
    return WithWindow(hwnd, FALSE, [&](WindowData& w) -> BOOL {
        w.props[PropKey(name)] = data;
        return TRUE;
    });
}
HANDLE GetProp(HWND hwnd, LPCTSTR name) {
    if (!name)
        return nullptr;
    return WithWindow(hwnd, (HANDLE) nullptr, [&](WindowData& w) -> HANDLE {
        auto it = w.props.find(PropKey(name));
        return it == w.props.end() ? nullptr : it->second;
    });
}
HANDLE RemoveProp(HWND hwnd, LPCTSTR name) {
    if (!name)
        return nullptr;
    return WithWindow(hwnd, (HANDLE) nullptr, [&](WindowData& w) -> HANDLE {
        auto it = w.props.find(PropKey(name));
        if (it == w.props.end())
            return nullptr;
        HANDLE h = it->second;
        w.props.erase(it);
        return h;
    });
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    if (IsForeignWindow(hwnd))
        return ShowForeignWindow(hwnd, cmd);
    // Minimising, maximising and restoring change the window's place first; showing follows.
    ApplyShowState(hwnd, cmd);
    bool wasVisible, topLevel, parentShown, sizeMovePending;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || hwnd == Desktop() || w->destroying)
            return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        topLevel = w->parent == Desktop();
        parentShown = topLevel || IsVisibleChain(w->parent);
        sizeMovePending = w->sizeMovePending;
    }
    bool show = cmd != SW_HIDE;
    bool activate =
        topLevel && show && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE;
    if (show == wasVisible) {
        if (activate)
            SetActiveWindow(hwnd);
        return wasVisible;
    }
    SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
    if (!IsWindow(hwnd))
        return wasVisible;
    if (!parentShown) {
        // A child of a hidden window only changes its style: nothing shows or hides on the screen.
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd)) {
            if (show)
                w->style |= WS_VISIBLE;
            else
                w->style &= ~WS_VISIBLE;
        }
    } else {
        UINT flags = SWP_NOSIZE | SWP_NOMOVE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        if (!topLevel)
            flags |= SWP_NOZORDER | SWP_NOACTIVATE;
        else if (!activate)
            flags |= show ? SWP_NOACTIVATE | SWP_NOZORDER : 0;
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    }
    if (show && sizeMovePending && IsWindow(hwnd)) {
        // An overlapped window hears of its size and place when first shown.
        POINT origin{0, 0};
        {
            std::lock_guard<std::mutex> g(Lock());
            WindowData* w = Find(hwnd);
            if (!w)
                return wasVisible;
            w->sizeMovePending = false;
            RECT c = ClientRectInParent(*w);
            origin = POINT{c.left, c.top};
        }
        RECT rc;
        GetClientRect(hwnd, &rc);
        SendMessage(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(rc.right, rc.bottom));
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    return wasVisible;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (IsForeignWindow(hwnd)) {
        // Another copy's window can only be shown and raised, by its own process; placing it behind one of
        // ours raises it, then ours.
        if ((flags & SWP_SHOWWINDOW) && !ShowForeignWindow(hwnd, SW_SHOWNA))
            return FALSE;
        if (flags & SWP_NOZORDER)
            return TRUE;
        BOOL raised = SetForeignForeground(hwnd);
        if (insertAfter && insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && !IsForeignWindow(insertAfter) &&
            IsWindow(insertAfter))
            SetForegroundWindow(insertAfter);
        return raised;
    }
    bool wasVisible;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || hwnd == Desktop())
            return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
    }
    flags &= ~(UINT)(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    if (wasVisible)
        flags &= ~(UINT)SWP_SHOWWINDOW;
    else
        flags &= ~(UINT)SWP_HIDEWINDOW;
    // The window may change the new place and size before anything moves.
    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
    flags = (pos.flags & ~(UINT)(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE)) |
            (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
    RECT oldRect, newRect, oldClient;
    HWND parent;
    bool topLevel;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        oldRect = w->rect;
        oldClient = ClientRectInParent(*w);
        parent = w->parent;
        topLevel = parent == Desktop();
        newRect = oldRect;
        if (!(flags & SWP_NOMOVE))
            OffsetRect(&newRect, pos.x - oldRect.left, pos.y - oldRect.top);
        if (!(flags & SWP_NOSIZE)) {
            newRect.right = newRect.left + std::max(0, pos.cx);
            newRect.bottom = newRect.top + std::max(0, pos.cy);
        }
    }
    bool moved = oldRect.left != newRect.left || oldRect.top != newRect.top;
    bool sized = (oldRect.right - oldRect.left) != (newRect.right - newRect.left) ||
                 (oldRect.bottom - oldRect.top) != (newRect.bottom - newRect.top);
    WINDOWPOS changed{hwnd,        pos.hwndInsertAfter,          newRect.left,
                      newRect.top, newRect.right - newRect.left, newRect.bottom - newRect.top,
                      flags};
    if (sized || (flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params{{newRect, oldRect, oldClient}, &changed};
        CalcClientArea(hwnd, newRect, &params);
    }
    bool show = (flags & SWP_SHOWWINDOW) != 0, hide = (flags & SWP_HIDEWINDOW) != 0;
    bool zChanged = false;
    RECT newClient;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        w->rect = newRect;
        newClient = ClientRectInParent(*w);
        if (!(flags & SWP_NOZORDER)) {
            WindowData* p = Find(parent);
            int before = ZIndex(hwnd);
            auto& sib = p->children;
            HWND after = pos.hwndInsertAfter;
            sib.erase(std::remove(sib.begin(), sib.end(), hwnd), sib.end());
            if (after == HWND_BOTTOM) {
                sib.push_back(hwnd);
            } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
                sib.insert(sib.begin(), hwnd);
            } else {
                auto it = std::find(sib.begin(), sib.end(), after);
                sib.insert(it == sib.end() ? sib.begin() : it + 1, hwnd);
            }
            zChanged = ZIndex(hwnd) != before;
        }
        if (show)
            w->style |= WS_VISIBLE;
        if (hide)
            w->style &= ~WS_VISIBLE;
    }
    bool clientMoved = newClient.left - newRect.left != oldClient.left - oldRect.left ||
                       newClient.top - newRect.top != oldClient.top - oldRect.top || moved;
    bool clientSized = newClient.right - newClient.left != oldClient.right - oldClient.left ||
                       newClient.bottom - newClient.top != oldClient.bottom - oldClient.top;
    if (topLevel) {
        if (show || sized)
            EnsureSurface(hwnd);
        if (moved || sized || (flags & SWP_FRAMECHANGED))
            GetDisplayBackend()->WindowMoved(hwnd, newRect);
        if (show || hide)
            GetDisplayBackend()->WindowShown(hwnd, show);
    }
    if (show) {
        InvalidateWindowArea(hwnd, nullptr, true, true, true);
    } else if (hide) {
        if (!topLevel)
            InvalidateWindowArea(parent, &oldRect, true, true, false);
    } else if (!(flags & SWP_NOREDRAW) && (moved || sized || (flags & SWP_FRAMECHANGED) || zChanged)) {
        if (!topLevel && (moved || sized))
            InvalidateWindowArea(parent, &oldRect, true, true, false);
        if (sized || (flags & SWP_FRAMECHANGED) || !topLevel)
            InvalidateWindowArea(hwnd, nullptr, true, true, true);
    }
    if (topLevel && !(flags & SWP_NOACTIVATE) && !hide && IsWindowVisible(hwnd))
        SetActiveWindow(hwnd);
    if (moved || sized || show || hide || zChanged || (flags & SWP_FRAMECHANGED)) {
        changed.flags = flags | (moved ? 0u : (UINT)SWP_NOMOVE) | (sized ? 0u : (UINT)SWP_NOSIZE) |
                        (zChanged ? 0u : (UINT)SWP_NOZORDER) | (clientMoved ? 0u : (UINT)SWP_NOCLIENTMOVE) |
                        (clientSized ? 0u : (UINT)SWP_NOCLIENTSIZE);
        SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, (LPARAM)&changed);
    }
    if (hide && IsWindow(hwnd)) {
        bool focusInside = false, wasActive = false;
        {
            std::lock_guard<std::mutex> g(Lock());
            if (auto q = QueueOf(GetCurrentThreadId())) {
                focusInside = q->focus && InSubtree(hwnd, q->focus);
                wasActive = q->active == hwnd;
            }
        }
        if (wasActive)
            SetActiveWindow(NextActiveWindow(hwnd));
        else if (focusInside)
            SetFocus(topLevel ? nullptr : parent);
    }
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
    if (!rc)
        return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return FALSE;
    POINT o = WindowOriginOnScreen(hwnd);
    *rc = RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
    if (!rc)
        return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return FALSE;
    RECT c = ClientRectInParent(*w);
    *rc = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
    if (!pt)
        return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    if (!Find(hwnd))
        return FALSE;
    POINT o = ClientOriginOnScreen(hwnd);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
    if (!pt)
        return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    if (!Find(hwnd))
        return FALSE;
    POINT o = ClientOriginOnScreen(hwnd);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    std::lock_guard<std::mutex> g(Lock());
    POINT a = from ? ClientOriginOnScreen(from) : POINT{0, 0};
    POINT b = to ? ClientOriginOnScreen(to) : POINT{0, 0};
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(dx, dy);
}

BOOL user::AdjustWindowRectForOwner(LPRECT rc, DWORD style, DWORD exStyle, HWND owner) {
    if (!rc)
        return FALSE;
    WindowData w;
    w.style = style;
    w.exStyle = exStyle;
    // Where the display frames a top-level window itself, the window is all client area.
    w.nativeFrame = !(style & WS_CHILD) && GetDisplayBackend()->DrawsFrame(style, exStyle, owner);
    RECT in = NonClientInsets(w);
    rc->left -= in.left;
    rc->top -= in.top;
    rc->right += in.right;
    rc->bottom += in.bottom;
    return TRUE;
}

// Without an owner to go by, as for the main window of a program.
BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL, DWORD exStyle) {
    return AdjustWindowRectForOwner(rc, style, exStyle, nullptr);
}

static HWND ChildAt(HWND parent, POINT screen, bool skipDisabled) {
    WindowData* p = Find(parent);
    if (!p)
        return nullptr;
    for (HWND c : p->children) {
        WindowData* cw = Find(c);
        if (!cw || !(cw->style & WS_VISIBLE))
            continue;
        POINT o = WindowOriginOnScreen(c);
        RECT r{o.x, o.y, o.x + (cw->rect.right - cw->rect.left), o.y + (cw->rect.bottom - cw->rect.top)};
        if (!PtInRect(&r, screen))
            continue;
        // Outside its shape the window lets the mouse through.
        Region shape;
        if (WindowShape(c, shape) && !shape.Contains(screen.x - o.x, screen.y - o.y))
            continue;
        // A group box is transparent to the mouse: the controls it frames lie under it in z-order.
        if (cw->cls && AsciiCompareNoCase(cw->cls->name.c_str(), "Button") == 0 &&
            (cw->style & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        if (skipDisabled && (cw->style & WS_DISABLED) && (cw->style & WS_CHILD))
            return parent;
        HWND deeper = ChildAt(c, screen, skipDisabled);
        return deeper ? deeper : c;
    }
    return nullptr;
}

HWND WindowFromPoint(POINT pt) {
    std::lock_guard<std::mutex> g(Lock());
    return ChildAt(Desktop(), pt, true);
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* p = Find(parent);
    if (!p)
        return nullptr;
    POINT o = ClientOriginOnScreen(parent);
    POINT screen{pt.x + o.x, pt.y + o.y};
    for (HWND c : p->children) {
        WindowData* cw = Find(c);
        if (!cw)
            continue;
        if (PtInRect(&cw->rect, pt))
            return c;
    }
    RECT client = ClientRectInParent(*p);
    (void)screen;
    return (pt.x >= 0 && pt.y >= 0 && pt.x < client.right - client.left && pt.y < client.bottom - client.top)
               ? parent
               : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* p = Find(parent);
    if (!p)
        return nullptr;
    RECT client = ClientRectInParent(*p);
    if (pt.x < 0 || pt.y < 0 || pt.x >= client.right - client.left || pt.y >= client.bottom - client.top)
        return nullptr;
    for (HWND c : p->children) {
        WindowData* cw = Find(c);
        if (!cw || !PtInRect(&cw->rect, pt))
            continue;
        if ((flags & CWP_SKIPINVISIBLE) && !(cw->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (cw->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (cw->exStyle & WS_EX_TRANSPARENT))
            continue;
        return c;
    }
    return parent;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled, focusInside = false;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (enable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
        if (!enable)
            if (auto q = QueueOf(w->threadId))
                focusInside = q->focus && InSubtree(hwnd, q->focus);
    }
    if (wasDisabled == !enable)
        return wasDisabled;
    if (focusInside)
        SetFocus(nullptr);
    SendMessage(hwnd, WM_ENABLE, enable, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    return wasDisabled;
}

HWND GetFocus() {
    return CurrentQueue().focus;
}
HWND GetActiveWindow() {
    return CurrentQueue().active;
}
HWND GetForegroundWindow() {
    return CurrentQueue().active;
}
BOOL SetForegroundWindow(HWND hwnd) {
    if (IsForeignWindow(hwnd))
        return SetForeignForeground(hwnd);
    return SetActiveWindow(hwnd) != nullptr || GetActiveWindow() == hwnd;
}
HWND GetCapture() {
    return CurrentQueue().capture;
}

HWND SetFocus(HWND hwnd) {
    ThreadQueue& q = CurrentQueue();
    if (hwnd) {
        if (!IsOwnThread(hwnd))
            return nullptr;
        HWND old;
        {
            std::lock_guard<std::mutex> g(Lock());
            old = q.focus;
        }
        if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SETFOCUS, (WPARAM)hwnd, (LPARAM)old) != 0)
            return nullptr;
        HWND top;
        {
            std::lock_guard<std::mutex> g(Lock());
            top = TopLevelOf(hwnd);
        }
        if (GetActiveWindow() != top)
            SetActiveWindow(top);
        if (!IsWindow(hwnd))
            return nullptr;
    }
    HWND old;
    bool sendKill;
    {
        std::lock_guard<std::mutex> g(Lock());
        old = q.focus;
        if (old == hwnd)
            return old;
        q.focus = nullptr;
        WindowData* ow = Find(old);
        sendKill = ow && !ow->destroying;
    }
    if (sendKill)
        SendMessage(old, WM_KILLFOCUS, (WPARAM)hwnd, 0);
    {
        std::lock_guard<std::mutex> g(Lock());
        // A handler of WM_KILLFOCUS that took the focus itself wins.
        if (q.focus != nullptr)
            return old;
        if (hwnd && !Find(hwnd))
            return old;
        q.focus = hwnd;
    }
    if (hwnd)
        SendMessage(hwnd, WM_SETFOCUS, (WPARAM)old, 0);
    return old;
}

HWND SetActiveWindow(HWND hwnd) {
    ThreadQueue& q = CurrentQueue();
    if (hwnd) {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || w->threadId != GetCurrentThreadId() || w->destroying)
            return nullptr;
        hwnd = TopLevelOf(hwnd);
    }
    HWND old;
    {
        std::lock_guard<std::mutex> g(Lock());
        old = q.active;
    }
    if (old == hwnd)
        return old;
    if (hwnd && HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_ACTIVATE, (WPARAM)hwnd, 0) != 0)
        return nullptr;
    bool oldAlive;
    std::vector<HWND> topLevels;  // told when the program gains or loses the activation
    {
        std::lock_guard<std::mutex> g(Lock());
        q.active = hwnd;
        WindowData* ow = Find(old);
        oldAlive = ow && !ow->destroying;
        if (!old || !hwnd)
            for (HWND h : Find(Desktop())->children)
                if (WindowData* t = Find(h); t && t->threadId == q.threadId && !t->destroying)
                    topLevels.push_back(h);
    }
    if (oldAlive) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), (LPARAM)hwnd);
    }
    for (HWND h : topLevels)
        if (IsWindow(h))
            SendMessage(h, WM_ACTIVATEAPP, hwnd != nullptr, 0);
    if (!hwnd) {
        SetFocus(nullptr);
        return old;
    }
    if (IsWindow(hwnd)) {
        SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
        SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd)), (LPARAM)old);
    }
    return old;
}

HWND SetCapture(HWND hwnd) {
    ThreadQueue& q = CurrentQueue();
    HWND old;
    {
        std::lock_guard<std::mutex> g(Lock());
        old = q.capture;
        q.capture = Find(hwnd) ? hwnd : nullptr;
    }
    if (old && old != hwnd)
        SendMessage(old, WM_CAPTURECHANGED, 0, (LPARAM)hwnd);
    return old;
}

BOOL ReleaseCapture() {
    ThreadQueue& q = CurrentQueue();
    HWND old;
    {
        std::lock_guard<std::mutex> g(Lock());
        old = q.capture;
        q.capture = nullptr;
    }
    if (old)
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND FindWindow(LPCTSTR className, LPCTSTR windowName) {
    std::lock_guard<std::mutex> g(Lock());
    for (HWND h : Find(Desktop())->children) {
        WindowData* w = Find(h);
        if (!w)
            continue;
        if (className && AsciiCompareNoCase(w->cls->name.c_str(), className) != 0)
            continue;
        if (windowName && w->text != windowName)
            continue;
        return h;
    }
    return nullptr;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
        case SM_CXVIRTUALSCREEN:
        case SM_CXMAXIMIZED:
            return GetDisplayBackend()->ScreenSize().cx;
        case SM_CYSCREEN:
        case SM_CYFULLSCREEN:
        case SM_CYVIRTUALSCREEN:
        case SM_CYMAXIMIZED:
            return GetDisplayBackend()->ScreenSize().cy;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return 16;
        case SM_CYCAPTION:
            return 19;
        case SM_CYSMCAPTION:
            return 16;
        case SM_CXBORDER:
        case SM_CYBORDER:
        case SM_CXFOCUSBORDER:
        case SM_CYFOCUSBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CYMENU:
            return 19;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return 18;
        case SM_CXMIN:
            return 112;
        case SM_CYMIN:
            return 27;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CXDRAG:
        case SM_CYDRAG:
            return 4;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        case SM_CXICONSPACING:
            return 75;
        case SM_CMONITORS:
            return 1;
        default:
            return 0;
    }
}

BOOL MessageBeep(UINT) {
    ++g_beeps;
    return TRUE;
}
int GetMessageBeepCount() {
    return g_beeps;
}
