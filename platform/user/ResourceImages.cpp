// Icons and cursors of the program's resources (PNG files with alpha, embedded at build time), and
// image lists loaded from a bitmap strip.
#include <cairo.h>

#include <cstring>
#include <map>
#include <mutex>

#include "platform/user/ImageList.h"
#include "platform/user/Resources.h"

namespace {
struct PngBytes {
    const unsigned char* data;
    size_t size;
    size_t at = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<PngBytes*>(closure);
    if (length > r->size - r->at)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

// Decodes once per id and keeps the handle for the life of the process, as resources are.
HICON LoadCached(std::map<UINT, HICON>& cache, UINT id, const BitmapResource* res) {
    static std::mutex m;
    std::lock_guard<std::mutex> g(m);
    auto it = cache.find(id);
    if (it != cache.end())
        return it->second;
    if (!res || !res->data)
        return nullptr;
    PngBytes reader{res->data, res->size};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadBytes, &reader);
    HICON icon = nullptr;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        icon = CreateIconFromSurface(image);
    cairo_surface_destroy(image);
    if (icon)
        cache[id] = icon;
    return icon;
}
}  // namespace

HICON LoadIconResource(UINT id) {
    static std::map<UINT, HICON> cache;
    return LoadCached(cache, id, FindIconResource(id));
}

HCURSOR LoadCursorResource(UINT id) {
    static std::map<UINT, HICON> cache;
    return LoadCached(cache, id, FindCursorResource(id));
}

HIMAGELIST ImageList_LoadImage(HINSTANCE instance, LPCTSTR name, int cx, int grow, COLORREF mask, UINT type,
                               UINT /*flags*/) {
    if (type != IMAGE_BITMAP || cx <= 0)
        return nullptr;
    HBITMAP bitmap = LoadBitmap(instance, name);
    cairo_surface_t* surface = bitmap ? GetBitmapSurface(bitmap) : nullptr;
    if (!surface) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    int count = width / cx;
    HIMAGELIST list = ImageList_Create(cx, height, ILC_COLOR32 | (mask == CLR_NONE ? 0 : ILC_MASK),
                                       count > 0 ? count : 1, grow);
    if (list && count > 0) {
        if (mask == CLR_DEFAULT)
            mask = GetSurfacePixel(surface, 0, 0);
        int added = mask == CLR_NONE ? ImageList_Add(list, bitmap, nullptr) : ImageList_AddMasked(list, bitmap, mask);
        if (added < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    DeleteObject(bitmap);
    return list;
}
