// Invalid regions, WM_PAINT, window DCs over the top-level backing surface, the non-client area,
// and handing new pixels to the display.
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/user/DesktopDC.h"
#include "platform/user/Display.h"
#include "platform/user/DragImage.h"
#include "platform/user/UserInternal.h"
#include "platform/user/WindowRegion.h"

namespace user {
namespace {
std::mutex g_dcMutex;
std::set<HDC> g_windowDCs;

void InvalidateLocked(HWND hwnd, const Region& area, bool erase, bool children, bool frame) {
    WindowData* w = Find(hwnd);
    if (!w || w->destroying)
        return;
    RECT c = ClientRectInParent(*w);
    Region r = area;
    r.Intersect(RECT{0, 0, c.right - c.left, c.bottom - c.top});
    w->update.Union(r);
    if (erase && !r.IsEmpty())
        w->erasePending = true;
    if (frame)
        w->ncPaintPending = true;
    if (!children)
        return;
    for (HWND ch : w->children) {
        WindowData* cw = Find(ch);
        if (!cw || !(cw->style & WS_VISIBLE))
            continue;
        Region piece = area;
        piece.Intersect(cw->rect);
        if (piece.IsEmpty())
            continue;
        RECT cc = ClientRectInParent(*cw);
        Region inner = piece;
        inner.Intersect(cc);
        bool touchesFrame = inner.Rects().size() != piece.Rects().size() ||
                            (piece.Bounds().left < cc.left || piece.Bounds().top < cc.top ||
                             piece.Bounds().right > cc.right || piece.Bounds().bottom > cc.bottom);
        piece.Offset(-cc.left, -cc.top);
        InvalidateLocked(ch, piece, erase, !(cw->style & WS_CLIPCHILDREN) || frame, touchesFrame || frame);
    }
}

HDC MakeWindowDC(HWND hwnd, bool client, const Region* limit) {
    cairo_surface_t* surface;
    POINT off, surfaceOnScreen;
    Region clip;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        WindowData* top = Find(TopLevelOf(hwnd));
        if (!w || !top || !top->surface)
            return nullptr;
        surface = top->surface;
        surfaceOnScreen = POINT{top->rect.left, top->rect.top};
        off = SurfaceOffset(hwnd, client);
        clip = VisibleRegion(hwnd, client);
        if (limit) {
            Region l = *limit;
            l.Offset(off.x, off.y);
            clip.Intersect(l);
        }
    }
    LiftDragImage(surface);
    const auto& rects = clip.Rects();
    static const RECT none{0, 0, 0, 0};
    HDC dc = CreateSurfaceDC(surface, off, rects.empty() ? &none : rects.data(),
                             rects.empty() ? 1 : (int)rects.size());
    SetDCSurfaceScreenPos(dc, surfaceOnScreen);
    return dc;
}

// A DC for a window with no pixels yet (one under a top-level that has no surface): it measures text and
// selects objects as any DC does, and what is drawn on it goes nowhere.
HDC NowhereDC() {
    static const RECT none{0, 0, 0, 0};
    HDC dc = CreateSurfaceDC(CreateImageSurface(1, 1, 0), POINT{0, 0}, &none, 1);
    cairo_surface_destroy(GetDCSurface(dc));  // the DC keeps its own reference
    return dc;
}

// A transparent top-level window shows through what lies beneath it: before it paints, the part of its
// surface to be painted takes the pixels of the windows below it, so whatever it leaves unpainted shows
// the screen there, as on a desktop where it is drawn over its siblings' pixels.
void ShowWhatLiesBeneath(HWND hwnd, const Region& update) {
    cairo_surface_t* surface = nullptr;
    RECT rect{};
    POINT client{};
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || w->parent != Desktop() || !(w->exStyle & WS_EX_TRANSPARENT) || !w->surface)
            return;
        surface = cairo_surface_reference(w->surface);
        rect = w->rect;
        client = SurfaceOffset(hwnd, true);
    }
    if (HDC beneath = CreateDesktopSnapshotBeneathDC(hwnd)) {
        cairo_t* cr = cairo_create(surface);
        for (const RECT& r : update.Rects())
            cairo_rectangle(cr, r.left + client.x, r.top + client.y, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, GetDCSurface(beneath), -rect.left, -rect.top);
        cairo_paint(cr);
        cairo_destroy(cr);
        DeleteDC(beneath);
    }
    cairo_surface_destroy(surface);
}

std::string ScreenshotName(const WindowData& w) {
    std::string base = w.text.empty() ? (w.cls ? w.cls->name : std::string("window")) : w.text;
    std::string out;
    for (char c : base)
        out += (std::isalnum((unsigned char)c) || c == '-' || c == '_') ? c : '_';
    char id[32];
    std::snprintf(id, sizeof id, "-%08lx", (unsigned long)(uintptr_t)w.hwnd);
    return out + id + ".png";
}
}  // namespace

void InvalidateWindowArea(HWND hwnd, const RECT* clientRect, bool erase, bool children, bool frame) {
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return;
        if (hwnd == Desktop())
            return;  // top-level windows keep their own pixels
        RECT c = ClientRectInParent(*w);
        RECT all{0, 0, c.right - c.left, c.bottom - c.top};
        if (frame && !clientRect) {
            // The whole window: children are reached through the client area.
            InvalidateLocked(hwnd, Region(all), erase, children, true);
        } else {
            InvalidateLocked(hwnd, Region(clientRect ? *clientRect : all), erase, children, frame);
        }
    }
    Wake();
}

void InvalidateFrame(HWND hwnd) {
    static const RECT none{0, 0, 0, 0};
    InvalidateWindowArea(hwnd, &none, false, false, true);
}

void MarkDirty(HWND topLevel) {
    std::lock_guard<std::mutex> g(Lock());
    if (WindowData* w = Find(topLevel))
        w->dirty = true;
}

void FlushPresents(DWORD threadId) {
    RestoreDragImage();
    std::vector<std::pair<HWND, cairo_surface_t*>> ready;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* desk = Find(Desktop());
        for (HWND h : desk->children) {
            WindowData* w = Find(h);
            if (!w || !w->dirty || w->threadId != threadId || !w->surface)
                continue;
            w->dirty = false;
            if (!(w->style & WS_VISIBLE))
                continue;
            cairo_surface_reference(w->surface);
            ready.emplace_back(h, w->surface);
        }
    }
    if (ready.empty())
        return;
    auto display = GetDisplayBackendShared();
    const char* dir = std::getenv("VELTRIN_SCREENSHOT_DIR");
    for (auto& [h, s] : ready) {
        ApplyWindowShape(h, s);
        display->Present(h, s);
        if (dir && *dir) {
            std::string name;
            {
                std::lock_guard<std::mutex> g(Lock());
                if (WindowData* w = Find(h))
                    name = ScreenshotName(*w);
            }
            if (!name.empty())
                WriteSurfacePng(s, (std::string(dir) + "/" + name).c_str());
        }
        cairo_surface_destroy(s);
    }
}

void EnsureSurface(HWND topLevel) {
    bool created = false;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(topLevel);
        if (!w || w->parent != Desktop())
            return;
        int width = std::max<LONG>(1, w->rect.right - w->rect.left);
        int height = std::max<LONG>(1, w->rect.bottom - w->rect.top);
        if (w->surface && cairo_image_surface_get_width(w->surface) == width &&
            cairo_image_surface_get_height(w->surface) == height)
            return;
        cairo_surface_t* s = CreateImageSurface(width, height, GetSysColor(COLOR_3DFACE));
        if (!s)
            return;
        if (w->surface)
            cairo_surface_destroy(w->surface);
        w->surface = s;
        created = true;
    }
    if (created)
        InvalidateWindowArea(topLevel, nullptr, true, true, true);
}

}  // namespace user

using namespace user;

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase) {
    if (!hwnd)
        return FALSE;
    bool clipChildren;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        clipChildren = (w->style & WS_CLIPCHILDREN) != 0;
    }
    InvalidateWindowArea(hwnd, rc, erase != FALSE, !clipChildren, false);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    RECT box;
    HRGN part = CreateRectRgn(0, 0, 0, 0);
    // Each rectangle of the region is invalidated; the union is the region.
    int kind = GetRgnBox(rgn, &box);
    DeleteObject(part);
    if (kind == ERROR)
        return FALSE;
    if (kind == NULLREGION)
        return TRUE;
    return InvalidateRect(hwnd, &box, erase);
}

BOOL ValidateRect(HWND hwnd, const RECT* rc) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (rc)
        w->update.Subtract(*rc);
    else
        w->update.Clear();
    if (w->update.IsEmpty())
        w->erasePending = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase) {
    bool any;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        any = !w->update.IsEmpty();
        if (rc)
            *rc = w->update.Bounds();
    }
    if (any && erase) {
        HDC dc = GetDC(hwnd);
        SendMessage(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0);
        ReleaseDC(hwnd, dc);
    }
    return any;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL) {
    Region copy;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return ERROR;
        copy = w->update;
    }
    SetRectRgn(rgn, 0, 0, 0, 0);
    for (const RECT& r : copy.Rects()) {
        HRGN piece = CreateRectRgnIndirect(&r);
        CombineRgn(rgn, rgn, piece, RGN_OR);
        DeleteObject(piece);
    }
    return copy.Complexity();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    bool ncPending;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return nullptr;
        ncPending = w->ncPaintPending;
        w->ncPaintPending = false;
    }
    if (ncPending)
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
    Region update;
    bool erase;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return nullptr;
        update = w->update;
        erase = w->erasePending;
        w->update.Clear();
        w->erasePending = false;
        w->internalPaint = false;
    }
    ShowWhatLiesBeneath(hwnd, update);
    HDC dc = MakeWindowDC(hwnd, true, &update);
    if (!dc)
        dc = NowhereDC();  // the paint is still done
    ps->hdc = dc;
    ps->rcPaint = update.Bounds();
    if (erase)
        ps->fErase = !SendMessage(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0);
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps)
        return FALSE;
    DeleteDC(ps->hdc);
    HWND top;
    {
        std::lock_guard<std::mutex> g(Lock());
        top = TopLevelOf(hwnd);
    }
    MarkDirty(top);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    HDC dc;
    if (!hwnd) {
        static cairo_surface_t* screen = CreateImageSurface(16, 16, RGB(255, 255, 255));
        dc = CreateSurfaceDC(screen, POINT{0, 0}, nullptr, 0);
    } else if (hwnd == GetDesktopWindow()) {
        dc = CreateDesktopSnapshotDC();
    } else {
        dc = MakeWindowDC(hwnd, true, nullptr);
        if (!dc && IsWindow(hwnd))
            dc = NowhereDC();
    }
    if (dc) {
        std::lock_guard<std::mutex> g(g_dcMutex);
        g_windowDCs.insert(dc);
    }
    return dc;
}

HDC GetWindowDC(HWND hwnd) {
    HDC dc = !hwnd ? GetDC(nullptr) : hwnd == GetDesktopWindow() ? CreateDesktopSnapshotDC() : MakeWindowDC(hwnd, false, nullptr);
    if (!dc && hwnd && IsWindow(hwnd))
        dc = NowhereDC();
    if (dc) {
        std::lock_guard<std::mutex> g(g_dcMutex);
        g_windowDCs.insert(dc);
    }
    return dc;
}

HDC GetDCEx(HWND hwnd, HRGN, DWORD flags) {
    if ((flags & DCX_LOCKWINDOWUPDATE) && (!hwnd || hwnd == GetDesktopWindow())) {
        HDC dc = CreateDesktopOverlayDC();
        if (dc) {
            std::lock_guard<std::mutex> g(g_dcMutex);
            g_windowDCs.insert(dc);
        }
        return dc;
    }
    return (flags & DCX_WINDOW) ? GetWindowDC(hwnd) : GetDC(hwnd);
}

int ReleaseDC(HWND hwnd, HDC dc) {
    {
        std::lock_guard<std::mutex> g(g_dcMutex);
        if (!g_windowDCs.erase(dc))
            return 0;
    }
    DeleteDC(dc);
    if (hwnd) {
        HWND top;
        {
            std::lock_guard<std::mutex> g(Lock());
            top = TopLevelOf(hwnd);
        }
        MarkDirty(top);
    }
    return 1;
}

static void PaintNow(HWND hwnd, bool children) {
    bool needs;
    std::vector<HWND> kids;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w || w->threadId != GetCurrentThreadId())
            return;
        needs = IsVisibleChain(hwnd) && !IsPaintHeld(hwnd) &&
                (!w->update.IsEmpty() || w->ncPaintPending || w->internalPaint);
        kids = w->children;
    }
    if (needs)
        SendMessage(hwnd, WM_PAINT, 0, 0);
    if (children)
        for (HWND k : kids)
            PaintNow(k, true);
}

BOOL UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        return FALSE;
    PaintNow(hwnd, true);
    FlushPresents(GetCurrentThreadId());
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags) {
    if (!hwnd)
        return FALSE;
    bool clipChildren;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* w = Find(hwnd);
        if (!w)
            return FALSE;
        clipChildren = (w->style & WS_CLIPCHILDREN) != 0;
    }
    bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !clipChildren);
    RECT box;
    const RECT* area = rc;
    if (rgn && GetRgnBox(rgn, &box) != ERROR)
        area = &box;
    if (flags & RDW_INVALIDATE)
        InvalidateWindowArea(hwnd, area, (flags & RDW_ERASE) != 0, children, (flags & RDW_FRAME) != 0);
    if (flags & RDW_INTERNALPAINT) {
        std::lock_guard<std::mutex> g(Lock());
        if (WindowData* w = Find(hwnd))
            w->internalPaint = true;
    }
    if (flags & RDW_VALIDATE)
        ValidateRect(hwnd, area);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        PaintNow(hwnd, children);
        FlushPresents(GetCurrentThreadId());
    }
    return TRUE;
}

cairo_surface_t* GetWindowSurface(HWND topLevel) {
    std::lock_guard<std::mutex> g(Lock());
    WindowData* w = Find(topLevel);
    return w ? w->surface : nullptr;
}

COLORREF GetWindowPixel(HWND hwnd, int x, int y) {
    cairo_surface_t* s;
    POINT off;
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* top = Find(TopLevelOf(hwnd));
        if (!top || !top->surface)
            return CLR_INVALID;
        s = top->surface;
        off = SurfaceOffset(hwnd, false);
    }
    return GetSurfacePixel(s, off.x + x, off.y + y);
}
