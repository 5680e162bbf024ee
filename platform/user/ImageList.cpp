#include "platform/user/ImageList.h"

#include <cairo.h>

#include <mutex>
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/user/Controls.h"
#include "platform/user/Shell.h"

namespace {
struct ImageListData {
    int cx = 16, cy = 16;
    std::vector<HICON> images;  // each image kept as an icon of the list's size
};
std::mutex g_listMutex;
HandleTable<ImageListData, HIMAGELIST> g_lists{0x20000};  // guarded by g_listMutex

ImageListData* Find(HIMAGELIST list) {
    return g_lists.Find(list);
}

int AddSurface(HIMAGELIST list, cairo_surface_t* image) {
    HICON icon = CreateIconFromSurface(image);
    std::lock_guard<std::mutex> g(g_listMutex);
    ImageListData* data = Find(list);
    if (!data || !icon)
        return -1;
    data->images.push_back(icon);
    return (int)data->images.size() - 1;
}
}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT, int, int) {
    if (cx <= 0 || cy <= 0)
        return nullptr;
    std::lock_guard<std::mutex> g(g_listMutex);
    return g_lists.Add(ImageListData{cx, cy, {}});
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    std::vector<HICON> images;
    {
        std::lock_guard<std::mutex> g(g_listMutex);
        ImageListData* data = Find(list);
        if (!data)
            return FALSE;
        images.swap(data->images);
        g_lists.Remove(list);
    }
    for (HICON icon : images)
        DestroyIcon(icon);
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
    // A new icon over the same pixels: the caller's DestroyIcon leaves the list's image alone.
    return CreateIconFromSurface(user::ImageListImage(list, index));
}

int ImageList_GetImageCount(HIMAGELIST list) {
    std::lock_guard<std::mutex> g(g_listMutex);
    ImageListData* data = Find(list);
    return data ? (int)data->images.size() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    std::lock_guard<std::mutex> g(g_listMutex);
    ImageListData* data = Find(list);
    if (!data)
        return FALSE;
    if (cx)
        *cx = data->cx;
    if (cy)
        *cy = data->cy;
    return TRUE;
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    int cx, cy;
    cairo_surface_t* source = user::IconSurface(icon);
    if (!source || !ImageList_GetIconSize(list, &cx, &cy))
        return -1;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cx, cy);
    cairo_t* cr = cairo_create(image);
    int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
    cairo_scale(cr, (double)cx / w, (double)cy / h);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    int index = AddSurface(list, image);
    cairo_surface_destroy(image);
    return index;
}

namespace {
// Cuts a bitmap into images of the list's width; `clear(x, y, colour)` says which pixels are transparent.
template <class Clear>
int AddStrip(HIMAGELIST list, HBITMAP bitmap, Clear clear) {
    int cx, cy;
    cairo_surface_t* strip = GetBitmapSurface(bitmap);
    if (!strip || !ImageList_GetIconSize(list, &cx, &cy))
        return -1;
    int width = cairo_image_surface_get_width(strip);
    int first = -1;
    for (int left = 0; left + cx <= width; left += cx) {
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cx, cy);
        cairo_surface_flush(image);
        unsigned char* pixels = cairo_image_surface_get_data(image);
        int stride = cairo_image_surface_get_stride(image);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                COLORREF c = GetSurfacePixel(strip, left + x, y);
                uint32_t argb = c == CLR_INVALID || clear(left + x, y, c)
                                    ? 0
                                    : (0xFF000000u | ((uint32_t)GetRValue(c) << 16) |
                                       ((uint32_t)GetGValue(c) << 8) | GetBValue(c));
                *reinterpret_cast<uint32_t*>(pixels + y * stride + x * 4) = argb;
            }
        cairo_surface_mark_dirty(image);
        int index = AddSurface(list, image);
        cairo_surface_destroy(image);
        if (first < 0)
            first = index;
    }
    return first;
}
}  // namespace

int ImageList_Add(HIMAGELIST list, HBITMAP bitmap, HBITMAP mask) {
    cairo_surface_t* maskSurface = mask ? GetBitmapSurface(mask) : nullptr;
    return AddStrip(list, bitmap, [&](int x, int y, COLORREF) {
        return maskSurface && GetSurfacePixel(maskSurface, x, y) == RGB(255, 255, 255);
    });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
    return AddStrip(list, bitmap, [&](int, int, COLORREF c) { return c == mask; });
}

cairo_surface_t* user::ImageListImage(HIMAGELIST list, int index) {
    HICON icon = nullptr;
    {
        std::lock_guard<std::mutex> g(g_listMutex);
        ImageListData* data = Find(list);
        if (!data || index < 0 || index >= (int)data->images.size())
            return nullptr;
        icon = data->images[(size_t)index];
    }
    return user::IconSurface(icon);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT) {
    HICON icon = nullptr;
    {
        std::lock_guard<std::mutex> g(g_listMutex);
        ImageListData* data = Find(list);
        if (!data || index < 0 || index >= (int)data->images.size())
            return FALSE;
        icon = data->images[index];
    }
    return DrawIcon(dc, x, y, icon);
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    std::vector<HICON> removed;
    {
        std::lock_guard<std::mutex> g(g_listMutex);
        ImageListData* data = Find(list);
        if (!data || index < -1 || index >= (int)data->images.size())
            return FALSE;
        if (index == -1) {
            removed.swap(data->images);
        } else {
            removed.push_back(data->images[(size_t)index]);
            data->images.erase(data->images.begin() + index);
        }
    }
    for (HICON icon : removed)
        DestroyIcon(icon);
    return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST list) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(list, &cx, &cy))
        return nullptr;
    HIMAGELIST copy = ImageList_Create(cx, cy, 0, 0, 0);
    for (int i = 0, n = ImageList_GetImageCount(list); i < n; ++i)
        if (cairo_surface_t* image = user::ImageListImage(list, i))
            AddSurface(copy, image);
    return copy;
}
