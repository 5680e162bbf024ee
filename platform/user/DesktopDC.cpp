#include "platform/user/DesktopDC.h"

#include <cairo.h>

#include <algorithm>

#include "platform/user/UserInternal.h"

namespace user {

namespace {

// Paints the visible top-level windows from the bottom up, stopping below `beneath` when given.
HDC Snapshot(HWND beneath) {
    int w = std::max(1, GetSystemMetrics(SM_CXSCREEN)), h = std::max(1, GetSystemMetrics(SM_CYSCREEN));
    cairo_surface_t* screen = CreateImageSurface(w, h, GetSysColor(COLOR_DESKTOP));
    if (!screen)
        return nullptr;
    cairo_t* cr = cairo_create(screen);
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* desktop = Find(Desktop());
        std::vector<HWND> order = desktop ? desktop->children : std::vector<HWND>();
        if (beneath) {
            HWND top = TopLevelOf(beneath);
            auto at = std::find(order.begin(), order.end(), top);
            // Children run topmost first: what lies beneath comes after the window.
            order.erase(order.begin(), at == order.end() ? at : at + 1);
        }
        // Children run topmost first: paint from the bottom up.
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            WindowData* win = Find(*it);
            if (!win || !win->surface || !(win->style & WS_VISIBLE))
                continue;
            cairo_surface_flush(win->surface);
            cairo_set_source_surface(cr, win->surface, win->rect.left, win->rect.top);
            cairo_paint(cr);
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(screen);
    HDC dc = CreateSurfaceDC(screen, POINT{0, 0}, nullptr, 0);
    cairo_surface_destroy(screen);  // the DC keeps its own reference
    return dc;
}

}  // namespace

HDC CreateDesktopSnapshotDC() {
    return Snapshot(nullptr);
}

HDC CreateDesktopSnapshotBeneathDC(HWND window) {
    return Snapshot(window);
}

}  // namespace user
