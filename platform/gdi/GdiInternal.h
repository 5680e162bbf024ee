// The objects behind GDI handles. Used inside platform/gdi (and by the window layer's painting).
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"

namespace gdi {

inline uint32_t PixelFromColor(COLORREF c) {
    return 0xFF000000u | ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}
inline COLORREF ColorFromPixel(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

class GdiObject {
public:
    virtual ~GdiObject() = default;
    virtual DWORD Type() const = 0;
    bool m_stock = false;
};

class PenObject : public GdiObject {
public:
    DWORD Type() const override { return OBJ_PEN; }
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = 0;
};

class BitmapObject : public GdiObject {
public:
    ~BitmapObject() override {
        if (m_surface)
            cairo_surface_destroy(m_surface);
    }
    DWORD Type() const override { return OBJ_BITMAP; }
    cairo_surface_t* m_surface = nullptr;
    int m_bitsPixel = 32;
    bool m_selected = false;
};

class BrushObject : public GdiObject {
public:
    DWORD Type() const override { return OBJ_BRUSH; }
    int m_style = BS_SOLID;
    COLORREF m_color = 0;
    int m_hatch = 0;
    // Pattern brushes keep their own 8x8 (or bitmap-sized) copy of the pixels.
    std::vector<uint32_t> m_pattern;
    int m_patternWidth = 0;
    int m_patternHeight = 0;
};

class FontObject : public GdiObject {
public:
    ~FontObject() override;
    DWORD Type() const override { return OBJ_FONT; }
    LOGFONT m_logfont{};
    cairo_font_face_t* m_face = nullptr;
    double m_emSize = 11;
    TEXTMETRIC m_metrics{};
    bool m_ready = false;
    // Loads the face and metrics once.
    void Realize();
    cairo_scaled_font_t* m_scaled = nullptr;
    // The "Marlett" stand-in: glyphs drawn as shapes, every character one em wide.
    bool m_marlett = false;
};

// Palettes are kept and answered; drawing is true colour and never goes through them.
class PaletteObject : public GdiObject {
public:
    DWORD Type() const override { return OBJ_PAL; }
    std::vector<PALETTEENTRY> m_entries;
};

class RegionObject : public GdiObject {
public:
    DWORD Type() const override { return OBJ_REGION; }
    Region m_region;
};

struct DCState {
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = 0;
    POINT viewportOrg{0, 0};
    POINT windowOrg{0, 0};
    // The mapping mode: logical units reach device pixels scaled by viewportExt / windowExt.
    int mapMode = MM_TEXT;
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    int stretchMode = 1;  // BLACKONWHITE
    HGDIOBJ palette = nullptr;
    POINT brushOrg{0, 0};
    POINT position{0, 0};
    bool hasUserClip = false;
    Region userClip;  // device coordinates relative to the DC origin
};

class DeviceContext : public GdiObject {
public:
    ~DeviceContext() override;
    DWORD Type() const override { return m_memory ? OBJ_MEMDC : OBJ_DC; }

    bool m_memory = false;
    cairo_surface_t* m_surface = nullptr;  // referenced
    HGDIOBJ m_bitmap = nullptr;            // memory DCs: the selected bitmap
    POINT m_origin{0, 0};                  // logical (0,0) before viewport/window origins, in surface pixels
    POINT m_surfaceOnScreen{0, 0};         // where the surface's pixel (0,0) lies on the screen
    Region m_baseClip;                     // surface pixels
    DCState m_state;
    std::vector<DCState> m_saved;
    int m_logPixels = 96;                    // dots per inch of the device
    std::shared_ptr<struct PrinterJob> m_printer;  // printer DCs: the document being printed
    std::function<void(const RECT&)> m_onFilled;     // told of each filled surface rectangle (may be empty)

    void SetSurface(cairo_surface_t* surface);
    // Surface pixel of a logical point.
    int DevX(int x) const { return Scale(x - m_state.windowOrg.x, m_state.viewportExt.cx, m_state.windowExt.cx) + m_state.viewportOrg.x + m_origin.x; }
    int DevY(int y) const { return Scale(y - m_state.windowOrg.y, m_state.viewportExt.cy, m_state.windowExt.cy) + m_state.viewportOrg.y + m_origin.y; }
    // The logical point of a surface pixel.
    int LogX(int dev) const { return Scale(dev - m_origin.x - m_state.viewportOrg.x, m_state.windowExt.cx, m_state.viewportExt.cx) + m_state.windowOrg.x; }
    int LogY(int dev) const { return Scale(dev - m_origin.y - m_state.viewportOrg.y, m_state.windowExt.cy, m_state.viewportExt.cy) + m_state.windowOrg.y; }
    // A device rectangle with its corners in order (mappings may turn an axis round).
    RECT DevRect(int left, int top, int right, int bottom) const {
        int l = DevX(left), r = DevX(right), t = DevY(top), b = DevY(bottom);
        return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    }
    // Text is measured in logical units (a font's height is in the units of the DC it draws on) and drawn
    // scaled by these factors; the signs say whether an axis runs the device's way.
    double TextScaleX() const { return std::abs((double)m_state.viewportExt.cx / m_state.windowExt.cx); }
    double TextScaleY() const { return std::abs((double)m_state.viewportExt.cy / m_state.windowExt.cy); }
    int XSign() const { return ((m_state.viewportExt.cx < 0) != (m_state.windowExt.cx < 0)) ? -1 : 1; }
    int YSign() const { return ((m_state.viewportExt.cy < 0) != (m_state.windowExt.cy < 0)) ? -1 : 1; }
    static int Scale(int v, int num, int den) {
        if (num == den)
            return v;
        long long p = (long long)v * num;
        long long half = std::abs((long long)den) / 2;
        return (int)(((p < 0) != (den < 0) ? p - half : p + half) / den);
    }
    // The pixels this DC may touch, in surface pixels.
    Region EffectiveClip() const;
    PenObject* Pen() const;
    BrushObject* Brush() const;
    FontObject* Font() const;
};

// Handle tables.
HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> Find(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(FindObject(handle));
}
std::shared_ptr<DeviceContext> FindDC(HDC dc);
HDC AddDC(std::shared_ptr<DeviceContext> dc);
bool RemoveObject(HGDIOBJ handle);

// Pixel operations on a DC's surface, all in surface pixels and inside `clip`.
class PixelTarget {
public:
    PixelTarget(cairo_surface_t* surface, const Region& clip);
    ~PixelTarget();
    bool Valid() const { return m_data != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t* Row(int y) { return reinterpret_cast<uint32_t*>(m_data + (size_t)y * m_stride); }
    const Region& Clip() const { return m_clip; }
    // Calls f(x0, x1, y) for every clipped span of the rectangle.
    template <class F>
    void ForSpans(const RECT& rc, F f) {
        for (const RECT& c : m_clip.Rects()) {
            LONG l = std::max(rc.left, c.left), r = std::min(rc.right, c.right);
            LONG t = std::max(rc.top, c.top), b = std::min(rc.bottom, c.bottom);
            if (l >= r || t >= b)
                continue;
            for (LONG y = t; y < b; ++y)
                f((int)l, (int)r, (int)y);
        }
    }
    void Plot(int x, int y, uint32_t pixel) {
        if (m_clip.Contains(x, y))
            Row(y)[x] = pixel;
    }

private:
    cairo_surface_t* m_surface;
    unsigned char* m_data = nullptr;
    int m_width = 0, m_height = 0, m_stride = 0;
    Region m_clip;
};

// The pixel a brush gives at a surface pixel, or false where it leaves the pixel alone.
bool BrushPixel(const BrushObject& brush, const DCState& state, int x, int y, uint32_t& out);
// A ternary raster operation on 24 bits of colour.
uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d);

// Text as UTF-8: kept when valid UTF-8, else read as Windows-1252.
std::string TextToUtf8(const char* text, int length);

// A printer DC keeps the texts drawn on its page, so that the page's PDF holds them as text beneath its
// picture (found and copied by PDF readers). `placement` takes the text's own units to surface pixels.
void RecordPrinterText(DeviceContext& dc, const cairo_matrix_t& placement, cairo_font_face_t* face, double em,
                       double baseline, const std::string& utf8);

}  // namespace gdi
