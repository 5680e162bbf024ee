#include "platform/user/DesktopDC.h"

#include <cairo.h>

#include "platform/user/UserInternal.h"

namespace user {

HDC CreateDesktopSnapshotDC() {
    int w = std::max(1, GetSystemMetrics(SM_CXSCREEN)), h = std::max(1, GetSystemMetrics(SM_CYSCREEN));
    cairo_surface_t* screen = CreateImageSurface(w, h, GetSysColor(COLOR_DESKTOP));
    if (!screen)
        return nullptr;
    cairo_t* cr = cairo_create(screen);
    {
        std::lock_guard<std::mutex> g(Lock());
        WindowData* desktop = Find(Desktop());
        std::vector<HWND> order = desktop ? desktop->children : std::vector<HWND>();
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

}  // namespace user
