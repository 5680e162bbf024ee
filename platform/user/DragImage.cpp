#include "platform/user/DragImage.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/user/UserInternal.h"

namespace {
struct DragImage {
    cairo_surface_t* image = nullptr;  // our copy
    POINT hotspot{0, 0};
    bool entered = false;
    bool visible = false;  // what DragShowNolock asked
    HWND lock = nullptr;   // null: screen coordinates
    POINT at{0, 0};
    // Where it is drawn now: the surface, the rectangle in its pixels and the pixels it covers.
    cairo_surface_t* drawnOn = nullptr;
    HWND drawnTop = nullptr;
    RECT drawn{};
    cairo_surface_t* under = nullptr;
    bool lifted = false;  // stepped aside for a paint
};

std::mutex g_dragMutex;
DragImage g_drag;                      // guarded by g_dragMutex
std::atomic<bool> g_onSurface{false};  // quick test for painting calls

// Puts back the pixels under the image (under the lock).
void Erase(DragImage& d) {
    if (!d.drawnOn)
        return;
    HWND top = d.drawnTop;
    bool same;
    {
        // The window may have gone or got a new surface since: then there is nothing to put back.
        std::lock_guard<std::mutex> g(user::Lock());
        user::WindowData* w = user::Find(top);
        same = w && w->surface == d.drawnOn;
    }
    if (same && d.under) {
        cairo_t* cr = cairo_create(d.drawnOn);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, d.under, d.drawn.left, d.drawn.top);
        cairo_rectangle(cr, d.drawn.left, d.drawn.top, d.drawn.right - d.drawn.left,
                        d.drawn.bottom - d.drawn.top);
        cairo_fill(cr);
        cairo_destroy(cr);
        cairo_surface_flush(d.drawnOn);
        user::MarkDirty(top);
    }
    if (d.under)
        cairo_surface_destroy(d.under);
    cairo_surface_destroy(d.drawnOn);
    d.under = nullptr;
    d.drawnOn = nullptr;
    g_onSurface = false;
}

// Draws the image at its place, keeping the pixels it covers (under the lock, erased before).
void Draw(DragImage& d) {
    if (!d.image || !d.entered || !d.visible)
        return;
    HWND top;
    cairo_surface_t* surface;
    RECT bounds;  // the lock window (or the whole surface) in surface pixels
    POINT origin;
    HWND window = d.lock ? d.lock : WindowFromPoint(d.at);
    {
        std::lock_guard<std::mutex> g(user::Lock());
        top = window ? user::TopLevelOf(window) : nullptr;
        user::WindowData* w = user::Find(top);
        user::WindowData* lw = user::Find(window);
        if (!w || !lw || !w->surface)
            return;
        surface = w->surface;
        int sw = cairo_image_surface_get_width(surface), sh = cairo_image_surface_get_height(surface);
        if (d.lock) {
            POINT off = user::SurfaceOffset(d.lock, false);
            origin = off;
            bounds = RECT{off.x, off.y, off.x + (lw->rect.right - lw->rect.left),
                          off.y + (lw->rect.bottom - lw->rect.top)};
        } else {
            POINT win = user::WindowOriginOnScreen(top);
            origin = POINT{-win.x, -win.y};
            bounds = RECT{0, 0, sw, sh};
        }
        bounds.left = std::max<LONG>(bounds.left, 0);
        bounds.top = std::max<LONG>(bounds.top, 0);
        bounds.right = std::min<LONG>(bounds.right, sw);
        bounds.bottom = std::min<LONG>(bounds.bottom, sh);
    }
    int iw = cairo_image_surface_get_width(d.image), ih = cairo_image_surface_get_height(d.image);
    RECT r{origin.x + d.at.x - d.hotspot.x, origin.y + d.at.y - d.hotspot.y, 0, 0};
    r.right = r.left + iw;
    r.bottom = r.top + ih;
    RECT clip{std::max(r.left, bounds.left), std::max(r.top, bounds.top), std::min(r.right, bounds.right),
              std::min(r.bottom, bounds.bottom)};
    if (clip.right <= clip.left || clip.bottom <= clip.top)
        return;
    int cw = clip.right - clip.left, ch = clip.bottom - clip.top;
    cairo_surface_flush(surface);
    d.under = cairo_image_surface_create(cairo_image_surface_get_format(surface), cw, ch);
    cairo_t* save = cairo_create(d.under);
    cairo_set_operator(save, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(save, surface, -clip.left, -clip.top);
    cairo_paint(save);
    cairo_destroy(save);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, clip.left, clip.top, cw, ch);
    cairo_clip(cr);
    cairo_set_source_surface(cr, d.image, r.left, r.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_reference(surface);
    d.drawnOn = surface;
    d.drawnTop = top;
    d.drawn = clip;
    g_onSurface = true;
    user::MarkDirty(top);
}

void Redraw(DragImage& d) {
    Erase(d);
    d.lifted = false;
    Draw(d);
}
}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int dxHotspot, int dyHotspot) {
    cairo_surface_t* source = user::ImageListImage(track, index);
    if (!source)
        return FALSE;
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (g_drag.image)
        return FALSE;
    int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    g_drag = DragImage{};
    g_drag.image = copy;
    g_drag.hotspot = POINT{dxHotspot, dyHotspot};
    g_drag.visible = true;
    return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
    if (lock && !IsWindow(lock))
        return FALSE;
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (!g_drag.image)
        return FALSE;
    Erase(g_drag);
    g_drag.entered = true;
    g_drag.visible = true;
    g_drag.lock = lock;
    g_drag.at = POINT{x, y};
    Redraw(g_drag);
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (!g_drag.image || !g_drag.entered)
        return FALSE;
    g_drag.at = POINT{x, y};
    Redraw(g_drag);
    return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (!g_drag.image)
        return FALSE;
    Erase(g_drag);
    g_drag.entered = false;
    g_drag.lock = nullptr;
    return TRUE;
}

void ImageList_EndDrag() {
    std::lock_guard<std::mutex> g(g_dragMutex);
    Erase(g_drag);
    if (g_drag.image)
        cairo_surface_destroy(g_drag.image);
    g_drag = DragImage{};
}

BOOL ImageList_DragShowNolock(BOOL show) {
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (!g_drag.image)
        return FALSE;
    g_drag.visible = show != FALSE;
    if (g_drag.visible)
        Redraw(g_drag);
    else
        Erase(g_drag);
    return TRUE;
}

void user::LiftDragImage(cairo_surface_t* surface) {
    if (!g_onSurface)
        return;
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (g_drag.drawnOn != surface)
        return;
    Erase(g_drag);
    g_drag.lifted = true;
}

void user::RestoreDragImage() {
    std::lock_guard<std::mutex> g(g_dragMutex);
    if (g_drag.lifted)
        Redraw(g_drag);
}
