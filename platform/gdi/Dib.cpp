#include "platform/gdi/Dib.h"

#include <cstring>

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {

struct DibFormat {
    int width = 0;
    int height = 0;  // rows, positive
    bool topDown = false;
    int bpp = 0;
    bool bitfields = false;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<uint32_t> table;  // 0xFFRRGGBB
    size_t stride = 0;
};

int MaskShift(uint32_t m) {
    int s = 0;
    while (m && !(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}

int MaskBits(uint32_t m) {
    m >>= MaskShift(m);
    int n = 0;
    while (m & 1) {
        m >>= 1;
        ++n;
    }
    return n;
}

// A masked component scaled to 8 bits.
uint32_t Component(uint32_t v, uint32_t mask) {
    if (!mask)
        return 0;
    int bits = MaskBits(mask);
    uint32_t c = (v & mask) >> MaskShift(mask);
    if (bits >= 8)
        return c >> (bits - 8);
    uint32_t max = (1u << bits) - 1;
    return max ? c * 255 / max : 0;
}

bool Parse(const BITMAPINFO* info, UINT usage, const DeviceContext* dc, DibFormat& f) {
    if (!info)
        return false;
    const BYTE* raw = reinterpret_cast<const BYTE*>(info);
    DWORD size = info->bmiHeader.biSize;
    size_t colors = 0;
    const BYTE* table = nullptr;
    int entry = 4;
    if (size == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(info);
        f.width = core->bcWidth;
        f.height = core->bcHeight;
        f.bpp = core->bcBitCount;
        colors = f.bpp <= 8 ? (size_t)1 << f.bpp : 0;
        table = raw + size;
        entry = 3;
    } else if (size >= sizeof(BITMAPINFOHEADER)) {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)
            return false;
        f.width = h.biWidth;
        f.height = h.biHeight < 0 ? -(long long)h.biHeight > INT32_MAX ? 0 : -h.biHeight : h.biHeight;
        f.topDown = h.biHeight < 0;
        f.bpp = h.biBitCount;
        f.bitfields = h.biCompression == BI_BITFIELDS;
        if (f.bitfields && f.bpp != 16 && f.bpp != 32)
            return false;
        if (f.bitfields)
            std::memcpy(f.masks, raw + size, sizeof(f.masks));
        else if (f.bpp <= 8)
            colors = h.biClrUsed ? std::min<DWORD>(h.biClrUsed, 1u << f.bpp) : 1u << f.bpp;
        table = raw + size;
    } else {
        return false;
    }
    if (f.width <= 0 || f.height <= 0 || (long long)f.width * f.height > (1LL << 28))
        return false;
    if (f.bpp != 1 && f.bpp != 4 && f.bpp != 8 && f.bpp != 16 && f.bpp != 24 && f.bpp != 32)
        return false;
    if (!f.bitfields && f.bpp == 16) {
        f.masks[0] = 0x7C00;
        f.masks[1] = 0x03E0;
        f.masks[2] = 0x001F;
        f.bitfields = true;
    }
    f.stride = (((size_t)f.width * f.bpp + 31) / 32) * 4;
    std::vector<PALETTEENTRY> palette;
    if (usage == DIB_PAL_COLORS) {
        HGDIOBJ pal = dc && dc->m_state.palette ? dc->m_state.palette : GetStockObject(DEFAULT_PALETTE);
        if (auto p = Find<PaletteObject>(pal))
            palette = p->m_entries;
    }
    f.table.assign((size_t)1 << std::min(f.bpp, 8), 0xFF000000u);
    for (size_t i = 0; i < colors && i < f.table.size(); ++i) {
        if (usage == DIB_PAL_COLORS) {
            WORD index;
            std::memcpy(&index, table + i * 2, 2);
            if (index < palette.size())
                f.table[i] = PixelFromColor(RGB(palette[index].peRed, palette[index].peGreen, palette[index].peBlue));
        } else {
            const BYTE* e = table + i * entry;
            f.table[i] = 0xFF000000u | ((uint32_t)e[2] << 16) | ((uint32_t)e[1] << 8) | e[0];
        }
    }
    return true;
}

// The pixel at column x of a row's bytes.
uint32_t Pixel(const DibFormat& f, const BYTE* row, int x) {
    switch (f.bpp) {
        case 1:
            return f.table[(row[x / 8] >> (7 - x % 8)) & 1];
        case 4:
            return f.table[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
        case 8:
            return f.table[row[x]];
        case 16: {
            uint32_t v = (uint32_t)row[x * 2] | ((uint32_t)row[x * 2 + 1] << 8);
            return 0xFF000000u | (Component(v, f.masks[0]) << 16) | (Component(v, f.masks[1]) << 8) |
                   Component(v, f.masks[2]);
        }
        case 24:
            return 0xFF000000u | ((uint32_t)row[x * 3 + 2] << 16) | ((uint32_t)row[x * 3 + 1] << 8) | row[x * 3];
        default: {
            uint32_t v;
            std::memcpy(&v, row + (size_t)x * 4, 4);
            if (!f.bitfields)
                return 0xFF000000u | (v & 0x00FFFFFFu);
            return 0xFF000000u | (Component(v, f.masks[0]) << 16) | (Component(v, f.masks[1]) << 8) |
                   Component(v, f.masks[2]);
        }
    }
}

// The bytes of the row `bottomIndex` rows up from the DIB's bottom, when `bits` holds it.
const BYTE* RowFromBottom(const DibFormat& f, const void* bits, int bottomIndex, UINT startScan, UINT lines) {
    if (bottomIndex < 0 || bottomIndex >= f.height)
        return nullptr;
    size_t memRow;
    if (f.topDown) {
        memRow = (size_t)(f.height - 1 - bottomIndex);
    } else {
        if ((UINT)bottomIndex < startScan || (UINT)bottomIndex >= startScan + lines)
            return nullptr;
        memRow = (size_t)(bottomIndex - (int)startScan);
    }
    return static_cast<const BYTE*>(bits) + memRow * f.stride;
}

// A 32-bit bitmap holding the source rectangle (y counted from the DIB's bottom row), top row first.
HBITMAP DecodeRect(const DibFormat& f, const void* bits, int xSrc, int ySrc, int w, int h, UINT startScan,
                   UINT lines) {
    HBITMAP bmp = CreateBitmap(w, h, 1, 32, nullptr);
    cairo_surface_t* s = GetBitmapSurface(bmp);
    if (!s)
        return bmp;
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int j = 0; j < h; ++j) {
        uint32_t* out = reinterpret_cast<uint32_t*>(data + (size_t)j * stride);
        const BYTE* row = RowFromBottom(f, bits, ySrc + h - 1 - j, startScan, lines);
        for (int i = 0; i < w; ++i) {
            int x = xSrc + i;
            out[i] = row && x >= 0 && x < f.width ? Pixel(f, row, x) : 0xFF000000u;
        }
    }
    cairo_surface_mark_dirty(s);
    return bmp;
}

BOOL BlitDecoded(HDC dc, HBITMAP bmp, int x, int y, int w, int h, int sw, int sh, DWORD rop) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BOOL ok = StretchBlt(dc, x, y, w, h, mem, 0, 0, sw, sh, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok;
}

}  // namespace

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT colorUse) {
    auto dc = FindDC(hdc);
    DibFormat f;
    if (!dc || !bits || !Parse(info, colorUse, dc.get(), f) || width == 0 || height == 0 ||
        (long long)width * height > (1LL << 28))
        return 0;
    HBITMAP bmp = DecodeRect(f, bits, xSrc, ySrc, (int)width, (int)height, startScan, lines);
    BOOL ok = bmp && BlitDecoded(hdc, bmp, x, y, (int)width, (int)height, (int)width, (int)height, SRCCOPY);
    DeleteObject(bmp);
    return ok ? (int)(f.topDown ? height : std::min<UINT>(lines, (UINT)f.height)) : 0;
}

int StretchDIBits(HDC hdc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    auto dc = FindDC(hdc);
    DibFormat f;
    if (!dc || !bits || !Parse(info, usage, dc.get(), f) || srcWidth <= 0 || srcHeight <= 0 ||
        (long long)srcWidth * srcHeight > (1LL << 28))
        return 0;
    HBITMAP bmp = DecodeRect(f, bits, xSrc, ySrc, srcWidth, srcHeight, 0, (UINT)f.height);
    BOOL ok = bmp && BlitDecoded(hdc, bmp, x, y, width, height, srcWidth, srcHeight, rop);
    DeleteObject(bmp);
    return ok ? srcHeight : 0;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT) {
    cairo_surface_t* s = GetBitmapSurface(bitmap);
    if (!s || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    int w = cairo_image_surface_get_width(s), ht = cairo_image_surface_get_height(s);
    if (!bits && h.biBitCount == 0) {
        h.biWidth = w;
        h.biHeight = ht;
        h.biPlanes = 1;
        h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = (DWORD)((size_t)w * ht * 4);
        h.biClrUsed = 0;
        return ht;
    }
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 24 && bpp != 32)
        return 0;
    if (h.biWidth != w || (h.biHeight != ht && h.biHeight != -ht))
        return 0;
    size_t stride = (((size_t)w * bpp + 31) / 32) * 4;
    h.biPlanes = 1;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)(stride * ht);
    if (bpp == 1) {
        info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
        reinterpret_cast<RGBQUAD*>(info->bmiColors)[1] = RGBQUAD{255, 255, 255, 0};
    }
    if (!bits)
        return ht;
    if (startScan >= (UINT)ht)
        return 0;
    lines = std::min(lines, (UINT)ht - startScan);
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int sstride = cairo_image_surface_get_stride(s);
    BYTE* out = static_cast<BYTE*>(bits);
    bool topDown = h.biHeight < 0;
    for (UINT r = 0; r < lines; ++r) {
        int scan = (int)(startScan + r);
        int srcRow = topDown ? scan : ht - 1 - scan;
        const uint32_t* in = reinterpret_cast<const uint32_t*>(data + (size_t)srcRow * sstride);
        BYTE* row = out + (size_t)r * stride;
        std::memset(row, 0, stride);
        for (int x = 0; x < w; ++x) {
            uint32_t p = in[x];
            BYTE red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
            if (bpp == 1) {
                if ((red * 30 + green * 59 + blue * 11) / 100 >= 128)
                    row[x / 8] |= (BYTE)(0x80 >> (x % 8));
            } else if (bpp == 24) {
                row[x * 3] = blue;
                row[x * 3 + 1] = green;
                row[x * 3 + 2] = red;
            } else {
                row[x * 4] = blue;
                row[x * 4 + 1] = green;
                row[x * 4 + 2] = red;
                row[x * 4 + 3] = 0;
            }
        }
    }
    return (int)lines;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header)
        return nullptr;
    int w, h;
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        w = core->bcWidth;
        h = core->bcHeight;
    } else {
        w = header->biWidth;
        h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    }
    if (w <= 0 || h <= 0 || (long long)w * h > (1LL << 28))
        return nullptr;
    if (!(init & CBM_INIT) || !bits || !info)
        return CreateBitmap(w, h, 1, 32, nullptr);
    auto dc = FindDC(hdc);
    DibFormat f;
    if (!Parse(info, usage, dc.get(), f))
        return nullptr;
    return DecodeRect(f, bits, 0, 0, std::min(w, f.width), std::min(h, f.height), 0, (UINT)f.height);
}

HPALETTE CreateHalftonePalette(HDC) {
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 256;
    PALETTEENTRY* e = lp->palPalEntry;
    int n = 0;
    // The 6 x 6 x 6 cube, then a ramp of 40 greys between its steps.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                e[n++] = PALETTEENTRY{(BYTE)(r * 51), (BYTE)(g * 51), (BYTE)(b * 51), 0};
    for (int i = 0; n < 256; ++i) {
        BYTE v = (BYTE)((i + 1) * 255 / 41);
        e[n++] = PALETTEENTRY{v, v, v, 0};
    }
    return CreatePalette(lp);
}
