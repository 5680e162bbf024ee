// Fills, frames, lines, pixels and block transfers, computed on the pixels so that every
// raster operation and every Windows pixel rule holds exactly.
#include <algorithm>
#include <cstring>
#include <cmath>
#include <numbers>
#include <cstdlib>
#include <vector>

#include "platform/gdi/GdiInternal.h"

namespace gdi {

PixelTarget::PixelTarget(cairo_surface_t* surface, const Region& clip) : m_surface(surface), m_clip(clip) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    cairo_surface_flush(surface);
    m_data = cairo_image_surface_get_data(surface);
    m_width = cairo_image_surface_get_width(surface);
    m_height = cairo_image_surface_get_height(surface);
    m_stride = cairo_image_surface_get_stride(surface);
    m_clip.Intersect(RECT{0, 0, m_width, m_height});
}

PixelTarget::~PixelTarget() {
    if (m_data)
        cairo_surface_mark_dirty(m_surface);
}

static bool HatchBit(int hatch, int x, int y) {
    x &= 7;
    y &= 7;
    switch (hatch) {
        case HS_HORIZONTAL:
            return y == 3;
        case HS_VERTICAL:
            return x == 3;
        case HS_FDIAGONAL:
            return x == y;
        case HS_BDIAGONAL:
            return x + y == 7;
        case HS_CROSS:
            return x == 3 || y == 3;
        case HS_DIAGCROSS:
            return x == y || x + y == 7;
        default:
            return false;
    }
}

bool BrushPixel(const BrushObject& brush, const DCState& state, int x, int y, uint32_t& out) {
    switch (brush.m_style) {
        case BS_SOLID:
            out = PixelFromColor(brush.m_color);
            return true;
        case BS_HATCHED:
            if (HatchBit(brush.m_hatch, x - state.brushOrg.x, y - state.brushOrg.y)) {
                out = PixelFromColor(brush.m_color);
                return true;
            }
            if (state.bkMode == OPAQUE) {
                out = PixelFromColor(state.bkColor);
                return true;
            }
            return false;
        case BS_PATTERN: {
            if (brush.m_patternWidth <= 0 || brush.m_patternHeight <= 0)
                return false;
            int px =
                ((x - state.brushOrg.x) % brush.m_patternWidth + brush.m_patternWidth) % brush.m_patternWidth;
            int py = ((y - state.brushOrg.y) % brush.m_patternHeight + brush.m_patternHeight) %
                     brush.m_patternHeight;
            out = brush.m_pattern[(size_t)py * brush.m_patternWidth + px] | 0xFF000000u;
            return true;
        }
        default:
            return false;
    }
}

uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    unsigned code = (rop >> 16) & 0xFF;
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (code & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return (r & 0x00FFFFFFu) | 0xFF000000u;
}

static uint32_t Rop2(int rop2, uint32_t p, uint32_t d) {
    unsigned code = (unsigned)(rop2 - 1) & 15;
    uint32_t r = 0;
    for (unsigned i = 0; i < 4; ++i)
        if (code & (1u << i))
            r |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
    return (r & 0x00FFFFFFu) | 0xFF000000u;
}

static bool RopUsesSource(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}
static bool RopUsesPattern(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// Whether a DC draws into a one-bit bitmap.
static bool IsMonoDC(const DeviceContext& dc) {
    if (!dc.m_memory || !dc.m_bitmap)
        return false;
    auto b = Find<BitmapObject>(dc.m_bitmap);
    return b && b->m_bitsPixel == 1;
}

// The nearer of black and white.
static uint32_t MonoPixel(uint32_t v) {
    unsigned lum = (((v >> 16) & 0xFF) * 30 + ((v >> 8) & 0xFF) * 59 + (v & 0xFF) * 11) / 100;
    return lum >= 128 ? 0xFFFFFFFFu : 0xFF000000u;
}

}  // namespace gdi

using namespace gdi;

namespace {

HBRUSH ResolveBrush(HBRUSH brush) {
    // A system colour index plus one stands for that colour's brush.
    if ((uintptr_t)brush > 0 && (uintptr_t)brush <= 31)
        return GetSysColorBrush((int)(uintptr_t)brush - 1);
    return brush;
}

RECT DevRect(const DeviceContext& dc, const RECT& rc) {
    return dc.DevRect(rc.left, rc.top, rc.right, rc.bottom);
}

void Filled(DeviceContext& dc, const RECT& dev) {
    if (dc.m_onFilled)
        dc.m_onFilled(dev);
}

// Fills a surface rectangle with a brush under a ternary raster operation (source unused).
void FillDev(DeviceContext& dc, const RECT& dev, const BrushObject* brush, DWORD rop) {
    PixelTarget t(dc.m_surface, dc.EffectiveClip());
    if (!t.Valid())
        return;
    DCState state = dc.m_state;
    state.brushOrg.x += dc.m_origin.x;
    state.brushOrg.y += dc.m_origin.y;
    bool pattern = RopUsesPattern(rop);
    if (pattern && (!brush || brush->m_style == BS_NULL))
        return;
    if (rop == PATCOPY && brush->m_style == BS_SOLID) {
        // The common case, a plain fill, a span at a time.
        uint32_t p = PixelFromColor(brush->m_color);
        t.ForSpans(dev, [&](int x0, int x1, int y) { std::fill(t.Row(y) + x0, t.Row(y) + x1, p); });
        Filled(dc, dev);
        return;
    }
    t.ForSpans(dev, [&](int x0, int x1, int y) {
        uint32_t* row = t.Row(y);
        for (int x = x0; x < x1; ++x) {
            uint32_t p = 0;
            if (pattern && !BrushPixel(*brush, state, x, y, p))
                continue;
            row[x] = rop == PATCOPY ? p : Rop3(rop, p, 0, row[x]);
        }
    });
    Filled(dc, dev);
}

// Pixels of a pen stroke, without its last point (Bresenham).
template <class F>
void WalkLine(int x0, int y0, int x1, int y1, F plot) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int step = 0;
    while (!(x0 == x1 && y0 == y1)) {
        plot(x0, y0, step++);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

bool PenDotOn(int style, int step) {
    switch (style) {
        case PS_DOT:
            return (step % 2) == 0;
        case PS_DASH:
            return (step % 24) < 18;
        case PS_DASHDOT:
            return (step % 30) < 18 || ((step % 30) >= 24 && (step % 30) < 27);
        case PS_DASHDOTDOT:
            return (step % 36) < 18 || ((step % 36) % 6 == 0);
        default:
            return true;
    }
}

void StrokeDev(DeviceContext& dc, int x0, int y0, int x1, int y1) {
    PenObject* pen = dc.Pen();
    if (pen->m_style == PS_NULL)
        return;
    PixelTarget t(dc.m_surface, dc.EffectiveClip());
    if (!t.Valid())
        return;
    uint32_t color = PixelFromColor(pen->m_color);
    int rop2 = dc.m_state.rop2;
    int w = pen->m_width;
    auto put = [&](int x, int y) {
        if (t.Clip().Contains(x, y)) {
            uint32_t& d = t.Row(y)[x];
            d = rop2 == R2_COPYPEN ? color : Rop2(rop2, color, d);
        }
    };
    if (w <= 1) {
        WalkLine(x0, y0, x1, y1, [&](int x, int y, int step) {
            if (PenDotOn(pen->m_style, step))
                put(x, y);
        });
        return;
    }
    // A wide pen is a round brush moved along the line, end points included: round joins and round
    // caps centred on the points. The brush holds the pixels whose centres lie within the pen's
    // radius less a quarter pixel, so a 3-pixel pen is a plus sign.
    int lo = -(w - 1) / 2, hi = w / 2, mid = lo + hi;
    std::vector<POINT> brush;
    for (int dy = lo; dy <= hi; ++dy)
        for (int dx = lo; dx <= hi; ++dx) {
            int ex = 2 * dx - mid, ey = 2 * dy - mid;
            if (ex * ex + ey * ey < w * w - 1)
                brush.push_back(POINT{dx, dy});
        }
    // Each pixel once, so raster operations that invert do not undo themselves.
    std::vector<std::pair<int, int>> covered;
    auto stamp = [&](int x, int y) {
        for (const POINT& b : brush)
            covered.emplace_back(y + b.y, x + b.x);
    };
    WalkLine(x0, y0, x1, y1, [&](int x, int y, int) { stamp(x, y); });
    stamp(x1, y1);
    std::sort(covered.begin(), covered.end());
    covered.erase(std::unique(covered.begin(), covered.end()), covered.end());
    for (const auto& [y, x] : covered)
        put(x, y);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
    auto dc = FindDC(hdc);
    auto b = Find<BrushObject>(ResolveBrush(brush));
    if (!dc || !rc || !b)
        return 0;
    FillDev(*dc, DevRect(*dc, *rc), b.get(), PATCOPY);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
    auto dc = FindDC(hdc);
    auto b = Find<BrushObject>(ResolveBrush(brush));
    if (!dc || !rc || !b)
        return 0;
    if (IsRectEmpty(rc))
        return 1;
    RECT d = DevRect(*dc, *rc);
    FillDev(*dc, RECT{d.left, d.top, d.right, d.top + 1}, b.get(), PATCOPY);
    FillDev(*dc, RECT{d.left, d.bottom - 1, d.right, d.bottom}, b.get(), PATCOPY);
    FillDev(*dc, RECT{d.left, d.top, d.left + 1, d.bottom}, b.get(), PATCOPY);
    FillDev(*dc, RECT{d.right - 1, d.top, d.right, d.bottom}, b.get(), PATCOPY);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return FALSE;
    FillDev(*dc, DevRect(*dc, *rc), nullptr, DSTINVERT);
    return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    RECT r{x, y, x + width, y + height};
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    FillDev(*dc, DevRect(*dc, r), dc->Brush(), rop);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    PenObject* pen = dc->Pen();
    RECT dev = DevRect(*dc, RECT{left, top, right, bottom});
    if (pen->m_style == PS_NULL) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        FillDev(*dc, RECT{dev.left, dev.top, dev.right - 1, dev.bottom - 1}, dc->Brush(), PATCOPY);
        return TRUE;
    }
    int w = pen->m_width;
    FillDev(
        *dc,
        RECT{dev.left + (w + 1) / 2, dev.top + (w + 1) / 2, dev.right - 1 - w / 2, dev.bottom - 1 - w / 2},
        dc->Brush(), PATCOPY);
    if (right - left < 1 || bottom - top < 1)
        return TRUE;
    int l = dev.left, t = dev.top, r = dev.right - 1, b = dev.bottom - 1;
    if (r == l || b == t) {
        StrokeDev(*dc, l, t, r + 1, t);
        return TRUE;
    }
    StrokeDev(*dc, l, t, r, t);
    StrokeDev(*dc, r, t, r, b);
    StrokeDev(*dc, r, b, l, b);
    StrokeDev(*dc, l, b, l, t);
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->m_state.position;
    dc->m_state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    POINT from = dc->m_state.position;
    StrokeDev(*dc, dc->DevX(from.x), dc->DevY(from.y), dc->DevX(x), dc->DevY(y));
    dc->m_state.position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt) {
    auto dc = FindDC(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = dc->m_state.position;
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    auto dc = FindDC(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    for (int i = 1; i < count; ++i)
        StrokeDev(*dc, dc->DevX(points[i - 1].x), dc->DevY(points[i - 1].y), dc->DevX(points[i].x),
                  dc->DevY(points[i].y));
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    auto dc = FindDC(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    // Interior by the even-odd rule on pixel centres, then the outline.
    BrushObject* brush = dc->Brush();
    if (brush->m_style != BS_NULL) {
        int minY = INT32_MAX, maxY = INT32_MIN;
        for (int i = 0; i < count; ++i) {
            minY = std::min(minY, (int)points[i].y);
            maxY = std::max(maxY, (int)points[i].y);
        }
        for (int y = minY; y < maxY; ++y) {
            double cy = y + 0.5;
            std::vector<double> xs;
            for (int i = 0; i < count; ++i) {
                POINT a = points[i], b = points[(i + 1) % count];
                if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                    xs.push_back(a.x + (cy - a.y) * (double)(b.x - a.x) / (double)(b.y - a.y));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                int x0 = (int)std::ceil(xs[k] - 0.5), x1 = (int)std::ceil(xs[k + 1] - 0.5);
                FillDev(*dc, RECT{dc->DevX(x0), dc->DevY(y), dc->DevX(x1), dc->DevY(y + 1)}, brush, PATCOPY);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        POINT a = points[i], b = points[(i + 1) % count];
        StrokeDev(*dc, dc->DevX(a.x), dc->DevY(a.y), dc->DevX(b.x), dc->DevY(b.y));
    }
    return TRUE;
}

namespace {

// The outline of the ellipse inside left..right-1 x top..bottom-1, from angle `from` counter-clockwise
// (as seen on the screen) through `sweep` radians, as logical pixel points in order.
std::vector<POINT> EllipseOutline(int left, int top, int right, int bottom, double from, double sweep) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
    const double rx = (right - left - 1) / 2.0, ry = (bottom - top - 1) / 2.0;
    const int steps = std::max(16, (int)std::ceil(4 * (rx + ry) * sweep / (2 * std::numbers::pi)));
    std::vector<POINT> points;
    for (int i = 0; i <= steps; ++i) {
        double a = from + sweep * i / steps;
        POINT p{(LONG)std::lround(cx + rx * std::cos(a)), (LONG)std::lround(cy - ry * std::sin(a))};
        if (points.empty() || points.back().x != p.x || points.back().y != p.y)
            points.push_back(p);
    }
    return points;
}

// The screen angle of the radial from the ellipse's centre through (x, y).
double RadialAngle(int left, int top, int right, int bottom, int x, int y) {
    double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
    return std::atan2(cy - y, x - cx);
}

void StrokeOutline(DeviceContext& dc, const std::vector<POINT>& points) {
    for (size_t i = 1; i < points.size(); ++i)
        StrokeDev(dc, dc.DevX(points[i - 1].x), dc.DevY(points[i - 1].y), dc.DevX(points[i].x),
                  dc.DevY(points[i].y));
    if (points.size() == 1)
        StrokeDev(dc, dc.DevX(points[0].x), dc.DevY(points[0].y), dc.DevX(points[0].x) + 1, dc.DevY(points[0].y));
}

}  // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1)
        return TRUE;
    // The inside: each row's span of pixel centres within the ellipse, then the outline over it.
    BrushObject* brush = dc->Brush();
    if (brush->m_style != BS_NULL) {
        const double cx = (left + right - 1) / 2.0, cy = (top + bottom - 1) / 2.0;
        const double rx = (right - left - 1) / 2.0, ry = (bottom - top - 1) / 2.0;
        for (int y = top; y < bottom; ++y) {
            double v = ry > 0 ? (y - cy) / ry : 0;
            if (v * v > 1)
                continue;
            double half = rx * std::sqrt(1 - v * v);
            int x0 = (int)std::ceil(cx - half), x1 = (int)std::floor(cx + half) + 1;
            if (x0 < x1)
                FillDev(*dc, RECT{dc->DevX(x0), dc->DevY(y), dc->DevX(x1), dc->DevY(y + 1)}, brush, PATCOPY);
        }
    }
    if (dc->Pen()->m_style != PS_NULL)
        StrokeOutline(*dc, EllipseOutline(left, top, right, bottom, 0, 2 * std::numbers::pi));
    return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (right - left == 0 || bottom - top == 0)
        return TRUE;
    double from = RadialAngle(left, top, right, bottom, xStart, yStart);
    double to = RadialAngle(left, top, right, bottom, xEnd, yEnd);
    double sweep = to - from;
    while (sweep <= 0)
        sweep += 2 * std::numbers::pi;  // counter-clockwise; equal radials draw the whole ellipse
    StrokeOutline(*dc, EllipseOutline(left, top, right, bottom, from, sweep));
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    auto dc = FindDC(hdc);
    if (!dc)
        return CLR_INVALID;
    PixelTarget t(dc->m_surface, dc->EffectiveClip());
    int dx = dc->DevX(x), dy = dc->DevY(y);
    if (!t.Valid() || !t.Clip().Contains(dx, dy))
        return CLR_INVALID;
    t.Row(dy)[dx] = PixelFromColor(color);
    return color & 0x00FFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    auto dc = FindDC(hdc);
    if (!dc)
        return CLR_INVALID;
    int dx = dc->DevX(x), dy = dc->DevY(y);
    if (!dc->EffectiveClip().Contains(dx, dy))
        return CLR_INVALID;
    return GetSurfacePixel(dc->m_surface, dx, dy);
}

COLORREF GetSurfacePixel(cairo_surface_t* surface, int x, int y) {
    if (!surface)
        return CLR_INVALID;
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return CLR_INVALID;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    return ColorFromPixel(reinterpret_cast<const uint32_t*>(data + (size_t)y * stride)[x]);
}

BOOL WriteSurfacePng(cairo_surface_t* surface, LPCTSTR path) {
    if (!surface || !path)
        return FALSE;
    return cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
}

BOOL StretchBlt(HDC hdst, int x, int y, int width, int height, HDC hsrc, int sx, int sy, int swidth,
                int sheight, DWORD rop) {
    auto dst = FindDC(hdst);
    if (!dst)
        return FALSE;
    bool useSource = RopUsesSource(rop);
    auto src = useSource ? FindDC(hsrc) : nullptr;
    if (useSource && (!src || !src->m_surface))
        return FALSE;
    if (width == 0 || height == 0 || (useSource && (swidth == 0 || sheight == 0)))
        return TRUE;

    // Source pixels are read first, so a blit within one surface sees the pixels as they were.
    std::vector<uint32_t> source;
    int sw = std::abs(swidth), sh = std::abs(sheight);
    if (useSource) {
        cairo_surface_flush(src->m_surface);
        const unsigned char* data = cairo_image_surface_get_data(src->m_surface);
        int stride = cairo_image_surface_get_stride(src->m_surface);
        int w = cairo_image_surface_get_width(src->m_surface),
            h = cairo_image_surface_get_height(src->m_surface);
        // The source rectangle in its device pixels (its mapping may scale it).
        RECT sr = src->DevRect(sx, sy, sx + swidth, sy + sheight);
        sw = sr.right - sr.left;
        sh = sr.bottom - sr.top;
        if (sw == 0 || sh == 0)
            return TRUE;
        source.assign((size_t)sw * sh, 0);
        int ox = sr.left, oy = sr.top;
        for (int j = 0; j < sh; ++j) {
            int py = oy + j;
            uint32_t* out = &source[(size_t)j * sw];
            // Pixels outside the source read as black; the rest is copied a row at a time.
            int from = std::clamp(-ox, 0, sw), to = std::clamp(w - ox, from, sw);
            if (py < 0 || py >= h)
                from = to = sw;
            std::fill(out, out + from, 0xFF000000u);
            if (to > from)
                std::memcpy(out + from,
                            reinterpret_cast<const uint32_t*>(data + (size_t)py * stride) + ox + from,
                            (size_t)(to - from) * sizeof(uint32_t));
            std::fill(out + to, out + sw, 0xFF000000u);
        }
    }
    RECT dr = dst->DevRect(x, y, x + width, y + height);
    int dw = dr.right - dr.left, dh = dr.bottom - dr.top;
    if (dw == 0 || dh == 0)
        return TRUE;
    int ox = dr.left, oy = dr.top;
    PixelTarget t(dst->m_surface, dst->EffectiveClip());
    if (!t.Valid())
        return FALSE;
    BrushObject* brush = dst->Brush();
    bool pattern = RopUsesPattern(rop);
    DCState state = dst->m_state;
    state.brushOrg.x += dst->m_origin.x;
    state.brushOrg.y += dst->m_origin.y;
    // Mirrored where the source and destination run opposite ways on their devices.
    bool dstFlipX = dst->DevX(x + width) < dst->DevX(x), dstFlipY = dst->DevY(y + height) < dst->DevY(y);
    bool srcFlipX = src ? src->DevX(sx + swidth) < src->DevX(sx) : false;
    bool srcFlipY = src ? src->DevY(sy + sheight) < src->DevY(sy) : false;
    bool mirrorX = dstFlipX != srcFlipX, mirrorY = dstFlipY != srcFlipY;
    // One-bit bitmaps: a colour source reaches a mono destination as white where it has the source DC's
    // background colour and black elsewhere; a mono source reaches a colour destination as the
    // destination DC's background colour for white and its text colour for black. A mono destination
    // keeps black and white only.
    bool srcMono = src && IsMonoDC(*src), dstMono = IsMonoDC(*dst);
    bool convert = useSource && srcMono != dstMono;
    uint32_t srcBk = src ? PixelFromColor(src->m_state.bkColor) : 0;
    uint32_t dstBk = PixelFromColor(dst->m_state.bkColor), dstText = PixelFromColor(dst->m_state.textColor);
    auto convertSource = [&](uint32_t v) -> uint32_t {
        if (!convert)
            return v;
        if (dstMono)
            return ((v | 0xFF000000u) == srcBk) ? 0xFFFFFFFFu : 0xFF000000u;
        return (v & 0x00FFFFFFu) == 0x00FFFFFFu ? dstBk : dstText;
    };
    bool plainCopy = rop == SRCCOPY && useSource && !convert && !dstMono && sw == dw && sh == dh && !mirrorX && !mirrorY;
    t.ForSpans(RECT{ox, oy, ox + dw, oy + dh}, [&](int x0, int x1, int yy) {
        uint32_t* row = t.Row(yy);
        int j = yy - oy;
        if (plainCopy) {
            const uint32_t* from = &source[(size_t)j * sw + (size_t)(x0 - ox)];
            for (int xx = x0; xx < x1; ++xx)
                row[xx] = from[xx - x0] | 0xFF000000u;
            return;
        }
        int srcJ = useSource ? (int)((long long)j * sh / dh) : 0;
        if (mirrorY)
            srcJ = sh - 1 - srcJ;
        for (int xx = x0; xx < x1; ++xx) {
            int i = xx - ox;
            uint32_t s = 0;
            if (useSource) {
                int srcI = (int)((long long)i * sw / dw);
                if (mirrorX)
                    srcI = sw - 1 - srcI;
                s = convertSource(source[(size_t)srcJ * sw + srcI]);
            }
            uint32_t p = 0;
            if (pattern && !BrushPixel(*brush, state, xx, yy, p))
                continue;
            uint32_t out = rop == SRCCOPY ? (s | 0xFF000000u) : Rop3(rop, dstMono ? MonoPixel(p) : p, s, row[xx]);
            row[xx] = dstMono ? MonoPixel(out) : out;
        }
    });
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop) {
    if (width < 0 || height < 0)
        return FALSE;
    return StretchBlt(dst, x, y, width, height, src, sx, sy, width, height, rop);
}

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return FALSE;
    RECT r = *rc;
    struct Ring {
        int topLeft, bottomRight;
    };
    std::vector<Ring> rings;
    bool mono = (flags & BF_MONO) != 0, flat = (flags & BF_FLAT) != 0;
    UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    auto ringFor = [&](UINT bits, bool isOuter) -> Ring {
        if (mono)
            return Ring{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
        if (flat)
            return isOuter ? Ring{COLOR_3DSHADOW, COLOR_3DSHADOW} : Ring{COLOR_3DFACE, COLOR_3DFACE};
        bool soft = (flags & BF_SOFT) != 0;
        if (isOuter) {
            if (bits & BDR_RAISEDOUTER)
                return soft ? Ring{COLOR_3DHILIGHT, COLOR_3DDKSHADOW} : Ring{COLOR_3DLIGHT, COLOR_3DDKSHADOW};
            return soft ? Ring{COLOR_3DSHADOW, COLOR_3DHILIGHT} : Ring{COLOR_3DSHADOW, COLOR_3DHILIGHT};
        }
        if (bits & BDR_RAISEDINNER)
            return soft ? Ring{COLOR_3DLIGHT, COLOR_3DSHADOW} : Ring{COLOR_3DHILIGHT, COLOR_3DSHADOW};
        return soft ? Ring{COLOR_3DDKSHADOW, COLOR_3DLIGHT} : Ring{COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    };
    if (outer)
        rings.push_back(ringFor(outer, true));
    if (inner)
        rings.push_back(ringFor(inner, false));
    for (const Ring& ring : rings) {
        if (IsRectEmpty(&r))
            break;
        HBRUSH tl = GetSysColorBrush(ring.topLeft), br = GetSysColorBrush(ring.bottomRight);
        // The bottom and right lines run the full length, so the top-right and bottom-left corners
        // take their colour.
        if (flags & BF_TOP) {
            RECT line{r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top + 1};
            FillRect(hdc, &line, tl);
        }
        if (flags & BF_LEFT) {
            RECT line{r.left, r.top, r.left + 1, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
            FillRect(hdc, &line, tl);
        }
        if (flags & BF_RIGHT) {
            RECT line{r.right - 1, r.top, r.right, r.bottom};
            FillRect(hdc, &line, br);
        }
        if (flags & BF_BOTTOM) {
            RECT line{r.left, r.bottom - 1, r.right, r.bottom};
            FillRect(hdc, &line, br);
        }
        if (flags & BF_LEFT)
            r.left++;
        if (flags & BF_TOP)
            r.top++;
        if (flags & BF_RIGHT)
            r.right--;
        if (flags & BF_BOTTOM)
            r.bottom--;
    }
    if ((flags & BF_MIDDLE) && !IsRectEmpty(&r))
        FillRect(hdc, &r, GetSysColorBrush(mono ? COLOR_WINDOW : COLOR_3DFACE));
    if (flags & BF_ADJUST)
        *rc = r;
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return FALSE;
    if (IsRectEmpty(rc))
        return TRUE;
    RECT d = DevRect(*dc, *rc);
    PixelTarget t(dc->m_surface, dc->EffectiveClip());
    if (!t.Valid())
        return FALSE;
    // Every other pixel of a one-pixel frame is inverted: those where x + y is odd in the DC's device
    // coordinates.
    auto invert = [&](int x, int y) {
        if (!(((x - dc->m_origin.x) + (y - dc->m_origin.y)) & 1))
            return;
        if (t.Clip().Contains(x, y))
            t.Row(y)[x] ^= 0x00FFFFFFu;
    };
    for (int x = d.left; x < d.right; ++x) {
        invert(x, d.top);
        if (d.bottom - 1 > d.top)
            invert(x, d.bottom - 1);
    }
    for (int y = d.top + 1; y < d.bottom - 1; ++y) {
        invert(d.left, y);
        if (d.right - 1 > d.left)
            invert(d.right - 1, y);
    }
    return TRUE;
}
