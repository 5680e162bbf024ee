// Icons read from icon files (.ico): the directory of images, each a PNG or a device-independent bitmap
// (its height doubled, an AND mask after the colours), made into a 32-bit surface with alpha.
#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/Shell.h"

namespace {
constexpr std::streamoff kMaxIconFile = 16 << 20;

uint16_t U16(const std::vector<unsigned char>& b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }
uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
    return (uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

struct Entry {
    int width;
    size_t offset, size;
};

// The directory of a .ico file; empty when the bytes are not one.
std::vector<Entry> ReadDirectory(const std::vector<unsigned char>& bytes) {
    std::vector<Entry> entries;
    if (bytes.size() < 6 || U16(bytes, 0) != 0 || U16(bytes, 2) != 1)
        return entries;
    size_t count = U16(bytes, 4);
    if (bytes.size() < 6 + 16 * count)
        return entries;
    for (size_t i = 0; i < count; ++i) {
        size_t at = 6 + 16 * i;
        Entry e{bytes[at] ? bytes[at] : 256, U32(bytes, at + 12), U32(bytes, at + 8)};
        if (e.offset < bytes.size() && e.size <= bytes.size() - e.offset && e.size >= 8)
            entries.push_back(e);
    }
    return entries;
}

struct Reader {
    const unsigned char* data;
    size_t size, at = 0;
};
cairo_status_t ReadPng(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (length > r->size - r->at)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

// A bitmap image of the directory: 1, 4, 8, 24 or 32 bits, bottom-up, with its mask; null when damaged.
cairo_surface_t* DecodeBitmap(const unsigned char* p, size_t size) {
    std::vector<unsigned char> b(p, p + size);
    if (size < 40)
        return nullptr;
    uint32_t header = U32(b, 0);
    int width = (int)U32(b, 4), height = (int)U32(b, 8) / 2, bits = U16(b, 14);
    if (header < 40 || header > size || width <= 0 || height <= 0 || width > 256 || height > 256 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return nullptr;
    size_t colours = bits <= 8 ? (U32(b, 32) ? U32(b, 32) : 1u << bits) : 0;
    size_t table = header, pixels = table + 4 * colours;
    size_t stride = ((size_t)width * bits + 31) / 32 * 4, maskStride = ((size_t)width + 31) / 32 * 4;
    size_t mask = pixels + stride * height;
    bool hasMask = mask + maskStride * height <= size;
    if (colours > 256 || mask > size)
        return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* out = cairo_image_surface_get_data(s);
    int outStride = cairo_image_surface_get_stride(s);
    bool anyAlpha = false;
    if (bits == 32)
        for (int y = 0; y < height && !anyAlpha; ++y)
            for (int x = 0; x < width && !anyAlpha; ++x)
                anyAlpha = b[pixels + y * stride + 4 * x + 3] != 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = &b[pixels + (size_t)(height - 1 - y) * stride];
        uint32_t* dst = reinterpret_cast<uint32_t*>(out + (size_t)y * outStride);
        for (int x = 0; x < width; ++x) {
            uint32_t r, g, bl, a = 255;
            if (bits >= 24) {
                const unsigned char* px = row + x * (bits / 8);
                bl = px[0], g = px[1], r = px[2];
                if (bits == 32 && anyAlpha)
                    a = px[3];
            } else {
                size_t bit = (size_t)x * bits;
                unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= colours)
                    index = 0;
                const unsigned char* c = &b[table + 4 * index];
                bl = c[0], g = c[1], r = c[2];
            }
            if (hasMask && !(bits == 32 && anyAlpha)) {
                const unsigned char* m = &b[mask + (size_t)(height - 1 - y) * maskStride];
                if ((m[x / 8] >> (7 - x % 8)) & 1)
                    a = 0;
            }
            // Premultiplied, as cairo keeps it.
            dst[x] = a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (bl * a / 255);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// The icon of the file's directory made from the image nearest `size` pixels wide.
HICON IconOfFile(const std::vector<unsigned char>& bytes, const std::vector<Entry>& entries, int size) {
    const Entry* best = nullptr;
    for (const Entry& e : entries)
        if (!best || std::abs(e.width - size) < std::abs(best->width - size))
            best = &e;
    if (!best)
        return nullptr;
    const unsigned char* p = bytes.data() + best->offset;
    cairo_surface_t* image = nullptr;
    if (best->size >= 8 && std::memcmp(p, "\x89PNG", 4) == 0) {
        Reader reader{p, best->size};
        image = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
    } else {
        image = DecodeBitmap(p, best->size);
    }
    HICON icon = nullptr;
    if (image && cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        icon = CreateIconFromSurface(image);
    if (image)
        cairo_surface_destroy(image);
    return icon;
}
}  // namespace

UINT ExtractIconEx(LPCTSTR file, int index, HICON* large, HICON* small, UINT count) {
    if (!file || !*file)
        return 0;
    // Only an icon file is read whole: a program file or any other is told by its first bytes.
    std::ifstream in(file, std::ios::binary);
    unsigned char head[4] = {};
    std::vector<unsigned char> bytes;
    if (in.read(reinterpret_cast<char*>(head), 4) && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0) {
        in.seekg(0, std::ios::end);
        std::streamoff size = in.tellg();
        if (size > 0 && size <= kMaxIconFile) {
            bytes.resize((size_t)size);
            in.seekg(0);
            in.read(reinterpret_cast<char*>(bytes.data()), size);
        }
    }
    std::vector<Entry> entries = ReadDirectory(bytes);
    // An icon file is one icon, however many sizes it carries.
    const UINT icons = entries.empty() ? 0 : 1;
    if (index == -1 && !large && !small)
        return icons;
    if (index < 0 || (UINT)index >= icons || count == 0)
        return 0;
    UINT made = 0;
    if (large && (*large = IconOfFile(bytes, entries, GetSystemMetrics(SM_CXICON))))
        made = 1;
    if (small && (*small = IconOfFile(bytes, entries, GetSystemMetrics(SM_CXSMICON))))
        made = 1;
    return made;
}

HICON ExtractIcon(HINSTANCE /*instance*/, LPCTSTR file, UINT index) {
    if (index == (UINT)-1)
        return (HICON)(uintptr_t)ExtractIconEx(file, -1, nullptr, nullptr, 0);
    HICON icon = nullptr;
    return ExtractIconEx(file, (int)index, &icon, nullptr, 1) ? icon : nullptr;
}
