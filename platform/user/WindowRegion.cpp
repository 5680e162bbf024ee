#include "platform/user/WindowRegion.h"

#include <map>
#include <mutex>

#include "platform/gdi/GdiInternal.h"
#include "platform/user/User.h"

namespace {

std::mutex& ShapeLock() {
    static std::mutex m;
    return m;
}

std::map<HWND, Region>& Shapes() {
    static std::map<HWND, Region> shapes;
    return shapes;
}

}  // namespace

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
    if (!IsWindow(hwnd))
        return 0;
    {
        std::lock_guard<std::mutex> g(ShapeLock());
        if (rgn) {
            auto object = gdi::Find<gdi::RegionObject>(rgn);
            if (!object)
                return 0;
            Shapes()[hwnd] = object->m_region;
        } else {
            Shapes().erase(hwnd);
        }
    }
    if (rgn)
        DeleteObject(rgn);
    if (redraw)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
    Region shape;
    if (!user::WindowShape(hwnd, shape))
        return ERROR;
    auto object = gdi::Find<gdi::RegionObject>(rgn);
    if (!object)
        return ERROR;
    object->m_region = shape;
    return shape.Complexity();
}

namespace user {

bool WindowShape(HWND hwnd, Region& shape) {
    std::lock_guard<std::mutex> g(ShapeLock());
    auto it = Shapes().find(hwnd);
    if (it == Shapes().end())
        return false;
    shape = it->second;
    return true;
}

void ForgetWindowShape(HWND hwnd) {
    std::lock_guard<std::mutex> g(ShapeLock());
    Shapes().erase(hwnd);
}

void ApplyWindowShape(HWND hwnd, cairo_surface_t* surface) {
    Region shape;
    if (!surface || !WindowShape(hwnd, shape) || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return;
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
        for (int x = 0; x < w; ++x)
            if (!shape.Contains(x, y))
                row[x] = 0;
    }
    cairo_surface_mark_dirty(surface);
}

}  // namespace user
