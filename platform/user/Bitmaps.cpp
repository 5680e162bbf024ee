// Bitmaps of the program's resources: image files embedded at build time, decoded on load.
#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/user/Resources.h"

namespace {
struct PngReader {
    const unsigned char* data;
    size_t size;
    size_t at = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<PngReader*>(closure);
    if (length > r->size - r->at)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}
}  // namespace

HBITMAP LoadBitmap(HINSTANCE, LPCTSTR name) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    const BitmapResource* res = FindBitmapResource((UINT)(uintptr_t)name);
    if (!res || !res->data)
        return nullptr;
    PngReader reader{res->data, res->size};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    HBITMAP bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    if (cairo_surface_t* target = bitmap ? GetBitmapSurface(bitmap) : nullptr) {
        // Bitmaps have no alpha: transparent pixels of the file become the light grey that toolbars
        // and image lists take as their mask colour.
        cairo_t* cr = cairo_create(target);
        cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
        cairo_paint(cr);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
    }
    cairo_surface_destroy(image);
    return bitmap;
}
