#include "platform/user/DesktopDC.h"

#include <cairo.h>

#include <algorithm>
#include <memory>
#include <vector>

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

HDC CreateDesktopOverlayDC() {
    int w = std::max(1, GetSystemMetrics(SM_CXSCREEN)), h = std::max(1, GetSystemMetrics(SM_CYSCREEN));
    // The DC draws into a black screen-sized sheet; what it changed there since the last fill is the
    // difference to apply (by exclusive-or) to the windows under it.
    cairo_surface_t* sheet = CreateImageSurface(w, h, RGB(0, 0, 0));
    if (!sheet)
        return nullptr;
    HDC dc = CreateSurfaceDC(sheet, POINT{0, 0}, nullptr, 0);
    auto applied = std::make_shared<std::vector<uint32_t>>((size_t)w * h, 0u);
    SetDCFillHook(dc, [sheet, applied, w, h](const RECT& filled) {
        RECT area{std::max<LONG>(filled.left, 0), std::max<LONG>(filled.top, 0), std::min<LONG>(filled.right, w),
                  std::min<LONG>(filled.bottom, h)};
        if (area.left >= area.right || area.top >= area.bottom)
            return;
        cairo_surface_flush(sheet);
        const unsigned char* sheetData = cairo_image_surface_get_data(sheet);
        const int sheetStride = cairo_image_surface_get_stride(sheet);
        auto sheetPixel = [&](int x, int y) {
            return reinterpret_cast<const uint32_t*>(sheetData + (size_t)y * sheetStride)[x] & 0x00FFFFFFu;
        };
        std::vector<HWND> touched;
        {
            std::lock_guard<std::mutex> g(Lock());
            WindowData* desktop = Find(Desktop());
            for (HWND top : desktop ? desktop->children : std::vector<HWND>()) {
                WindowData* win = Find(top);
                if (!win || !win->surface || !(win->style & WS_VISIBLE))
                    continue;
                RECT part;
                if (!IntersectRect(&part, &area, &win->rect))
                    continue;
                cairo_surface_flush(win->surface);
                unsigned char* data = cairo_image_surface_get_data(win->surface);
                int stride = cairo_image_surface_get_stride(win->surface);
                int sw = cairo_image_surface_get_width(win->surface), sh = cairo_image_surface_get_height(win->surface);
                for (int y = part.top; y < part.bottom; ++y) {
                    int wy = y - win->rect.top;
                    if (wy < 0 || wy >= sh)
                        continue;
                    auto* row = reinterpret_cast<uint32_t*>(data + (size_t)wy * stride);
                    for (int x = part.left; x < part.right; ++x) {
                        int wx = x - win->rect.left;
                        if (wx >= 0 && wx < sw)
                            row[wx] ^= sheetPixel(x, y) ^ (*applied)[(size_t)y * w + x];
                    }
                }
                cairo_surface_mark_dirty(win->surface);
                touched.push_back(top);
            }
        }
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                (*applied)[(size_t)y * w + x] = sheetPixel(x, y);
        for (HWND top : touched)
            MarkDirty(top);
    });
    cairo_surface_destroy(sheet);  // the DC keeps its own reference (the hook goes with the DC)
    return dc;
}

HDC CreateDesktopSnapshotDC() {
    return Snapshot(nullptr);
}

HDC CreateDesktopSnapshotBeneathDC(HWND window) {
    return Snapshot(window);
}

}  // namespace user
