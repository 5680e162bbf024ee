// Handle tables, drawing objects, device contexts and their state.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "platform/base/HandleTable.h"
#include "platform/gdi/GdiInternal.h"

namespace gdi {
namespace {
// From 0x10000: a brush below that is a system colour index plus one.
LockedHandleTable<std::shared_ptr<GdiObject>, HGDIOBJ> g_objects{0x10000};

HGDIOBJ g_stock[DEFAULT_GUI_FONT + 1];
std::once_flag g_stockOnce;

HGDIOBJ MakeStockBrush(int style, COLORREF color) {
    auto b = std::make_shared<BrushObject>();
    b->m_style = style;
    b->m_color = color;
    b->m_stock = true;
    return AddObject(b);
}
HGDIOBJ MakeStockPen(int style, COLORREF color) {
    auto p = std::make_shared<PenObject>();
    p->m_style = style;
    p->m_color = color;
    p->m_stock = true;
    return AddObject(p);
}
HGDIOBJ MakeStockFont(int height, const char* face, int pitch) {
    auto f = std::make_shared<FontObject>();
    f->m_logfont.lfHeight = height;
    f->m_logfont.lfWeight = FW_NORMAL;
    f->m_logfont.lfPitchAndFamily = (BYTE)pitch;
    std::strncpy(f->m_logfont.lfFaceName, face, LF_FACESIZE - 1);
    f->m_stock = true;
    return AddObject(f);
}
void MakeStock() {
    g_stock[WHITE_BRUSH] = MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
    g_stock[LTGRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
    g_stock[GRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
    g_stock[DKGRAY_BRUSH] = MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
    g_stock[BLACK_BRUSH] = MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
    g_stock[NULL_BRUSH] = MakeStockBrush(BS_NULL, 0);
    g_stock[WHITE_PEN] = MakeStockPen(PS_SOLID, RGB(255, 255, 255));
    g_stock[BLACK_PEN] = MakeStockPen(PS_SOLID, RGB(0, 0, 0));
    g_stock[NULL_PEN] = MakeStockPen(PS_NULL, 0);
    g_stock[OEM_FIXED_FONT] = MakeStockFont(-12, "Courier New", FIXED_PITCH | FF_MODERN);
    g_stock[ANSI_FIXED_FONT] = MakeStockFont(-12, "Courier New", FIXED_PITCH | FF_MODERN);
    g_stock[ANSI_VAR_FONT] = MakeStockFont(-11, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS);
    g_stock[SYSTEM_FONT] = MakeStockFont(-13, "System", VARIABLE_PITCH | FF_SWISS);
    g_stock[DEVICE_DEFAULT_FONT] = g_stock[SYSTEM_FONT];
    g_stock[SYSTEM_FIXED_FONT] = MakeStockFont(-13, "Fixedsys", FIXED_PITCH | FF_MODERN);
    g_stock[DEFAULT_GUI_FONT] = MakeStockFont(-11, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS);
    // The default palette: the sixteen colours every display has.
    auto pal = std::make_shared<PaletteObject>();
    for (COLORREF c : {RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0), RGB(0, 0, 128),
                       RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0),
                       RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 255, 255),
                       RGB(255, 255, 255)})
        pal->m_entries.push_back(PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0});
    pal->m_stock = true;
    g_stock[DEFAULT_PALETTE] = AddObject(pal);
}
HGDIOBJ Stock(int index) {
    std::call_once(g_stockOnce, MakeStock);
    return g_stock[index];
}
}  // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    return g_objects.Add(std::move(object));
}

std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle) {
    return g_objects.Get(handle).value_or(nullptr);
}

bool RemoveObject(HGDIOBJ handle) {
    // The object goes after the table's lock is released: a DC's destructor looks up its bitmap.
    return g_objects.Take(handle).has_value();
}

std::shared_ptr<DeviceContext> FindDC(HDC dc) {
    return Find<DeviceContext>((HGDIOBJ)dc);
}
HDC AddDC(std::shared_ptr<DeviceContext> dc) {
    return (HDC)AddObject(std::move(dc));
}

DeviceContext::~DeviceContext() {
    if (m_surface)
        cairo_surface_destroy(m_surface);
    if (auto bmp = Find<BitmapObject>(m_bitmap))
        bmp->m_selected = false;
}

void DeviceContext::SetSurface(cairo_surface_t* surface) {
    if (surface)
        cairo_surface_reference(surface);
    if (m_surface)
        cairo_surface_destroy(m_surface);
    m_surface = surface;
}

Region DeviceContext::EffectiveClip() const {
    Region clip = m_baseClip;
    if (m_state.hasUserClip) {
        Region user = m_state.userClip;
        user.Offset(m_origin.x, m_origin.y);
        clip.Intersect(user);
    }
    return clip;
}

PenObject* DeviceContext::Pen() const {
    auto p = Find<PenObject>(m_state.pen);
    return p ? p.get() : Find<PenObject>(Stock(BLACK_PEN)).get();
}
BrushObject* DeviceContext::Brush() const {
    auto b = Find<BrushObject>(m_state.brush);
    return b ? b.get() : Find<BrushObject>(Stock(WHITE_BRUSH)).get();
}
FontObject* DeviceContext::Font() const {
    auto f = Find<FontObject>(m_state.font);
    FontObject* font = f ? f.get() : Find<FontObject>(Stock(SYSTEM_FONT)).get();
    font->Realize();
    return font;
}

}  // namespace gdi

using namespace gdi;

// ---- Rectangles -------------------------------------------------------------------------------

BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom) {
    if (!rc)
        return FALSE;
    *rc = RECT{left, top, right, bottom};
    return TRUE;
}
BOOL SetRectEmpty(LPRECT rc) {
    return SetRect(rc, 0, 0, 0, 0);
}
BOOL CopyRect(LPRECT dst, const RECT* src) {
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}
BOOL IsRectEmpty(const RECT* rc) {
    return !rc || rc->right <= rc->left || rc->bottom <= rc->top;
}
BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL PtInRect(const RECT* rc, POINT pt) {
    return rc && pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}
BOOL OffsetRect(LPRECT rc, int dx, int dy) {
    if (!rc)
        return FALSE;
    rc->left += dx;
    rc->right += dx;
    rc->top += dy;
    rc->bottom += dy;
    return TRUE;
}
BOOL InflateRect(LPRECT rc, int dx, int dy) {
    if (!rc)
        return FALSE;
    rc->left -= dx;
    rc->right += dx;
    rc->top -= dy;
    rc->bottom += dy;
    return TRUE;
}
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dst);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    if (IsRectEmpty(a)) {
        *dst = *b;
    } else if (IsRectEmpty(b)) {
        *dst = *a;
    } else {
        *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                    std::max(a->bottom, b->bottom)};
    }
    return !IsRectEmpty(dst);
}
BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    Region r(*a);
    r.Subtract(*b);
    if (r.Complexity() != SIMPLEREGION) {
        *dst = r.IsEmpty() ? RECT{0, 0, 0, 0} : *a;
        return !r.IsEmpty();
    }
    *dst = r.Bounds();
    return TRUE;
}
int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    long long v = (long long)number * numerator;
    // Rounds half away from zero.
    long long q = (v + (((v < 0) != (denominator < 0)) ? -(long long)std::abs(denominator) / 2
                                                       : (long long)std::abs(denominator) / 2)) /
                  denominator;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return (int)q;
}

// ---- Objects ----------------------------------------------------------------------------------

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palNumEntries == 0)
        return nullptr;
    auto p = std::make_shared<PaletteObject>();
    p->m_entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return (HPALETTE)AddObject(p);
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    auto p = Find<PaletteObject>(palette);
    if (!p)
        return 0;
    if (!entries)
        return (UINT)p->m_entries.size();
    UINT n = start < p->m_entries.size() ? std::min<UINT>(count, (UINT)p->m_entries.size() - start) : 0;
    std::copy(p->m_entries.begin() + start, p->m_entries.begin() + start + n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
    auto p = Find<PaletteObject>(palette);
    if (!p || !entries || p->m_stock)
        return 0;
    UINT n = start < p->m_entries.size() ? std::min<UINT>(count, (UINT)p->m_entries.size() - start) : 0;
    std::copy(entries, entries + n, p->m_entries.begin() + start);
    return n;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
    auto p = Find<PaletteObject>(palette);
    if (!p || p->m_entries.empty())
        return CLR_INVALID;
    UINT best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < p->m_entries.size(); ++i) {
        const PALETTEENTRY& e = p->m_entries[i];
        long dr = e.peRed - GetRValue(color), dg = e.peGreen - GetGValue(color), db = e.peBlue - GetBValue(color);
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = (UINT)i;
        }
    }
    return best;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
    auto dc = FindDC(hdc);
    if (!dc || !Find<PaletteObject>(palette))
        return nullptr;
    HGDIOBJ old = dc->m_state.palette ? dc->m_state.palette : GetStockObject(DEFAULT_PALETTE);
    dc->m_state.palette = palette;
    return (HPALETTE)old;
}

UINT RealizePalette(HDC hdc) {
    return FindDC(hdc) ? 0 : GDI_ERROR;
}

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT || index == 9)
        return nullptr;
    return Stock(index);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_shared<PenObject>();
    p->m_style = style & PS_STYLE_MASK;
    p->m_width = std::max(1, width);
    p->m_color = color;
    return (HPEN)AddObject(p);
}
HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen ? CreatePen((int)pen->lopnStyle, pen->lopnWidth.x, pen->lopnColor) : nullptr;
}
HBRUSH CreateSolidBrush(COLORREF color) {
    auto b = std::make_shared<BrushObject>();
    b->m_color = color;
    return (HBRUSH)AddObject(b);
}
HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto b = std::make_shared<BrushObject>();
    b->m_style = BS_HATCHED;
    b->m_hatch = hatch;
    b->m_color = color;
    return (HBRUSH)AddObject(b);
}
HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    auto bmp = Find<BitmapObject>(bitmap);
    if (!bmp)
        return nullptr;
    auto b = std::make_shared<BrushObject>();
    b->m_style = BS_PATTERN;
    cairo_surface_flush(bmp->m_surface);
    int w = cairo_image_surface_get_width(bmp->m_surface), h = cairo_image_surface_get_height(bmp->m_surface);
    int stride = cairo_image_surface_get_stride(bmp->m_surface);
    unsigned char* data = cairo_image_surface_get_data(bmp->m_surface);
    b->m_patternWidth = w;
    b->m_patternHeight = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->m_pattern.push_back(reinterpret_cast<uint32_t*>(data + y * stride)[x]);
    return (HBRUSH)AddObject(b);
}
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush)
        return nullptr;
    if (brush->lbStyle == BS_NULL)
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    if (brush->lbStyle == BS_HATCHED)
        return CreateHatchBrush((int)brush->lbHatch, brush->lbColor);
    if (brush->lbStyle == BS_PATTERN)
        return CreatePatternBrush((HBITMAP)brush->lbHatch);
    return CreateSolidBrush(brush->lbColor);
}
HFONT CreateFontIndirect(const LOGFONT* font) {
    if (!font)
        return nullptr;
    auto f = std::make_shared<FontObject>();
    f->m_logfont = *font;
    f->m_logfont.lfFaceName[LF_FACESIZE - 1] = 0;
    return (HFONT)AddObject(f);
}
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCTSTR face) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = (BYTE)italic;
    lf.lfUnderline = (BYTE)underline;
    lf.lfStrikeOut = (BYTE)strikeOut;
    lf.lfCharSet = (BYTE)charSet;
    lf.lfOutPrecision = (BYTE)outPrecision;
    lf.lfClipPrecision = (BYTE)clipPrecision;
    lf.lfQuality = (BYTE)quality;
    lf.lfPitchAndFamily = (BYTE)pitchAndFamily;
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

cairo_surface_t* CreateImageSurface(int width, int height, COLORREF fill) {
    width = std::max(1, width);
    height = std::max(1, height);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    uint32_t px = PixelFromColor(fill);
    for (int y = 0; y < height; ++y)
        std::fill_n(reinterpret_cast<uint32_t*>(data + y * stride), width, px);
    cairo_surface_mark_dirty(s);
    return s;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void* bits) {
    if (width <= 0 || height <= 0 || (long long)width * height > (1LL << 28))
        return nullptr;
    auto b = std::make_shared<BitmapObject>();
    b->m_surface = CreateImageSurface(width, height, RGB(0, 0, 0));
    if (!b->m_surface)
        return nullptr;
    b->m_bitsPixel = bitsPerPixel == 1 ? 1 : 32;
    if (bits) {
        cairo_surface_flush(b->m_surface);
        unsigned char* data = cairo_image_surface_get_data(b->m_surface);
        int stride = cairo_image_surface_get_stride(b->m_surface);
        const unsigned char* src = static_cast<const unsigned char*>(bits);
        if (bitsPerPixel == 1) {
            int srcStride = ((width + 15) / 16) * 2;  // word-aligned rows
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    bool set = (src[y * srcStride + x / 8] >> (7 - x % 8)) & 1;
                    reinterpret_cast<uint32_t*>(data + y * stride)[x] = set ? 0xFFFFFFFFu : 0xFF000000u;
                }
        } else if (bitsPerPixel == 32) {
            for (int y = 0; y < height; ++y)
                std::memcpy(data + y * stride, src + (size_t)y * width * 4, (size_t)width * 4);
        }
        cairo_surface_mark_dirty(b->m_surface);
    }
    return (HBITMAP)AddObject(b);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    return CreateBitmap(width, height, 1, 32, nullptr);
}

cairo_surface_t* GetBitmapSurface(HBITMAP bitmap) {
    auto b = Find<BitmapObject>(bitmap);
    return b ? b->m_surface : nullptr;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto r = std::make_shared<RegionObject>();
    r->m_region.Union(
        RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    return (HRGN)AddObject(r);
}
HRGN CreateRectRgnIndirect(const RECT* rc) {
    return rc ? CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom) : nullptr;
}
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
    auto d = Find<RegionObject>(dst), ra = Find<RegionObject>(a), rb = Find<RegionObject>(b);
    if (!d || !ra || (mode != RGN_COPY && !rb))
        return ERROR;
    Region result = ra->m_region;
    switch (mode) {
        case RGN_AND:
            result.Intersect(rb->m_region);
            break;
        case RGN_OR:
            result.Union(rb->m_region);
            break;
        case RGN_DIFF:
            result.Subtract(rb->m_region);
            break;
        case RGN_XOR: {
            Region both = ra->m_region;
            both.Intersect(rb->m_region);
            result.Union(rb->m_region);
            result.Subtract(both);
            break;
        }
        case RGN_COPY:
            break;
        default:
            return ERROR;
    }
    d->m_region = result;
    return d->m_region.Complexity();
}
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto r = Find<RegionObject>(rgn);
    if (!r)
        return FALSE;
    r->m_region = Region(RECT{left, top, right, bottom});
    return TRUE;
}
int GetRgnBox(HRGN rgn, LPRECT rc) {
    auto r = Find<RegionObject>(rgn);
    if (!r || !rc)
        return ERROR;
    *rc = r->m_region.Bounds();
    return r->m_region.Complexity();
}
BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto r = Find<RegionObject>(rgn);
    return r && r->m_region.Contains(x, y);
}
int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto r = Find<RegionObject>(rgn);
    if (!r)
        return ERROR;
    r->m_region.Offset(dx, dy);
    return r->m_region.Complexity();
}

BOOL DeleteObject(HGDIOBJ object) {
    auto obj = FindObject(object);
    if (!obj || dynamic_cast<DeviceContext*>(obj.get()))
        return FALSE;
    if (obj->m_stock)
        return TRUE;
    if (auto bmp = std::dynamic_pointer_cast<BitmapObject>(obj); bmp && bmp->m_selected)
        return FALSE;
    return RemoveObject(object);
}

DWORD GetObjectType(HGDIOBJ object) {
    auto obj = FindObject(object);
    return obj ? obj->Type() : 0;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    auto obj = FindObject(object);
    if (!obj)
        return 0;
    if (auto f = std::dynamic_pointer_cast<FontObject>(obj)) {
        if (!buffer)
            return sizeof(LOGFONT);
        if (size < (int)sizeof(LOGFONT))
            return 0;
        std::memcpy(buffer, &f->m_logfont, sizeof(LOGFONT));
        return sizeof(LOGFONT);
    }
    if (auto b = std::dynamic_pointer_cast<BitmapObject>(obj)) {
        if (!buffer)
            return sizeof(BITMAP);
        if (size < (int)sizeof(BITMAP))
            return 0;
        BITMAP bm{};
        bm.bmWidth = cairo_image_surface_get_width(b->m_surface);
        bm.bmHeight = cairo_image_surface_get_height(b->m_surface);
        bm.bmBitsPixel = (WORD)b->m_bitsPixel;
        bm.bmPlanes = 1;
        bm.bmWidthBytes = bm.bmWidth * 4;
        std::memcpy(buffer, &bm, sizeof(BITMAP));
        return sizeof(BITMAP);
    }
    if (auto p = std::dynamic_pointer_cast<PenObject>(obj)) {
        if (!buffer)
            return sizeof(LOGPEN);
        if (size < (int)sizeof(LOGPEN))
            return 0;
        LOGPEN lp{(UINT)p->m_style, POINT{p->m_width, 0}, p->m_color};
        std::memcpy(buffer, &lp, sizeof(LOGPEN));
        return sizeof(LOGPEN);
    }
    if (auto b = std::dynamic_pointer_cast<BrushObject>(obj)) {
        if (!buffer)
            return sizeof(LOGBRUSH);
        if (size < (int)sizeof(LOGBRUSH))
            return 0;
        LOGBRUSH lb{(UINT)b->m_style, b->m_color, (ULONG_PTR)b->m_hatch};
        std::memcpy(buffer, &lb, sizeof(LOGBRUSH));
        return sizeof(LOGBRUSH);
    }
    return 0;
}

// ---- Device contexts ---------------------------------------------------------------------------

static void InitState(DeviceContext& dc) {
    dc.m_state.pen = GetStockObject(BLACK_PEN);
    dc.m_state.brush = GetStockObject(WHITE_BRUSH);
    dc.m_state.font = GetStockObject(SYSTEM_FONT);
}

void SetDCFillHook(HDC hdc, std::function<void(const RECT&)> filled) {
    if (auto dc = FindDC(hdc))
        dc->m_onFilled = std::move(filled);
}

void SetDCSurfaceScreenPos(HDC hdc, POINT screen) {
    if (auto dc = FindDC(hdc))
        dc->m_surfaceOnScreen = screen;
}

BOOL GetDCOrgEx(HDC hdc, LPPOINT pt) {
    auto dc = FindDC(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = POINT{dc->m_surfaceOnScreen.x + dc->m_origin.x, dc->m_surfaceOnScreen.y + dc->m_origin.y};
    return TRUE;
}

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const RECT* clip, int clipCount) {
    if (!surface)
        return nullptr;
    auto dc = std::make_shared<DeviceContext>();
    InitState(*dc);
    dc->SetSurface(surface);
    dc->m_origin = origin;
    RECT whole{0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    if (clip) {
        for (int i = 0; i < clipCount; ++i)
            dc->m_baseClip.Union(clip[i]);
        dc->m_baseClip.Intersect(whole);
    } else {
        dc->m_baseClip = Region(whole);
    }
    return AddDC(dc);
}

cairo_surface_t* GetDCSurface(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_surface : nullptr;
}

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_shared<DeviceContext>();
    InitState(*dc);
    dc->m_memory = true;
    // A new memory DC holds a 1x1 bitmap until the caller selects one.
    HBITMAP one = CreateBitmap(1, 1, 1, 32, nullptr);
    auto bmp = Find<BitmapObject>(one);
    bmp->m_stock = true;
    dc->m_bitmap = one;
    dc->SetSurface(bmp->m_surface);
    dc->m_baseClip = Region(RECT{0, 0, 1, 1});
    return AddDC(dc);
}

BOOL DeleteDC(HDC hdc) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    return RemoveObject((HGDIOBJ)hdc);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    auto dc = FindDC(hdc);
    auto obj = FindObject(object);
    if (!dc || !obj)
        return nullptr;
    HGDIOBJ old = nullptr;
    switch (obj->Type()) {
        case OBJ_PEN:
            old = dc->m_state.pen;
            dc->m_state.pen = object;
            break;
        case OBJ_BRUSH:
            old = dc->m_state.brush;
            dc->m_state.brush = object;
            break;
        case OBJ_FONT:
            old = dc->m_state.font;
            dc->m_state.font = object;
            break;
        case OBJ_BITMAP: {
            if (!dc->m_memory)
                return nullptr;
            auto bmp = std::static_pointer_cast<BitmapObject>(obj);
            if (bmp->m_selected && dc->m_bitmap != object)
                return nullptr;
            old = dc->m_bitmap;
            if (auto prev = Find<BitmapObject>(old))
                prev->m_selected = false;
            bmp->m_selected = true;
            dc->m_bitmap = object;
            dc->SetSurface(bmp->m_surface);
            dc->m_baseClip = Region(RECT{0, 0, cairo_image_surface_get_width(bmp->m_surface),
                                         cairo_image_surface_get_height(bmp->m_surface)});
            break;
        }
        case OBJ_REGION:
            return (HGDIOBJ)(LONG_PTR)SelectClipRgn(hdc, (HRGN)object);
        default:
            return nullptr;
    }
    return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    auto dc = FindDC(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
        case OBJ_PEN:
            return dc->m_state.pen;
        case OBJ_BRUSH:
            return dc->m_state.brush;
        case OBJ_FONT:
            return dc->m_state.font;
        case OBJ_BITMAP:
            return dc->m_bitmap;
        default:
            return nullptr;
    }
}

int SaveDC(HDC hdc) {
    auto dc = FindDC(hdc);
    if (!dc)
        return 0;
    dc->m_saved.push_back(dc->m_state);
    return (int)dc->m_saved.size();
}

BOOL RestoreDC(HDC hdc, int saved) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    int n = (int)dc->m_saved.size();
    int index = saved < 0 ? n + saved : saved - 1;
    if (index < 0 || index >= n)
        return FALSE;
    dc->m_state = dc->m_saved[(size_t)index];
    dc->m_saved.resize((size_t)index);
    return TRUE;
}

#define DC_FIELD(name, type, field)         \
    type Set##name(HDC hdc, type value) {   \
        auto dc = FindDC(hdc);              \
        if (!dc)                            \
            return (type)0;                 \
        type old = (type)dc->m_state.field; \
        dc->m_state.field = value;          \
        return old;                         \
    }
DC_FIELD(TextColor, COLORREF, textColor)
DC_FIELD(BkColor, COLORREF, bkColor)
DC_FIELD(BkMode, int, bkMode)
DC_FIELD(ROP2, int, rop2)
DC_FIELD(TextAlign, UINT, textAlign)
#undef DC_FIELD

COLORREF GetTextColor(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_state.textColor : CLR_INVALID;
}
COLORREF GetBkColor(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_state.bkColor : CLR_INVALID;
}
int GetBkMode(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_state.bkMode : 0;
}
int SetMapMode(HDC hdc, int mode) {
    auto dc = FindDC(hdc);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    DCState& st = dc->m_state;
    int old = st.mapMode;
    st.mapMode = mode;
    // The fixed modes are so many units to the inch, y growing upwards; the free ones keep the extents
    // they had.
    int perInch = 0;
    switch (mode) {
        case MM_TEXT:
            st.windowExt = SIZE{1, 1};
            st.viewportExt = SIZE{1, 1};
            return old;
        case MM_LOMETRIC:
            perInch = 254;
            break;
        case MM_HIMETRIC:
            perInch = 2540;
            break;
        case MM_LOENGLISH:
            perInch = 100;
            break;
        case MM_HIENGLISH:
            perInch = 1000;
            break;
        case MM_TWIPS:
            perInch = 1440;
            break;
        default:
            return old;
    }
    st.windowExt = SIZE{perInch, perInch};
    st.viewportExt = SIZE{GetDeviceCaps(hdc, LOGPIXELSX), -GetDeviceCaps(hdc, LOGPIXELSY)};
    return old;
}
int GetMapMode(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_state.mapMode : 0;
}

namespace {
// In MM_ISOTROPIC one logical unit is as long on both axes: the viewport extent giving more units per
// pixel than the other is shortened to match, keeping its sign.
void MakeIsotropic(DCState& st) {
    if (st.mapMode != MM_ISOTROPIC || !st.windowExt.cx || !st.windowExt.cy)
        return;
    double sx = std::abs((double)st.viewportExt.cx / st.windowExt.cx);
    double sy = std::abs((double)st.viewportExt.cy / st.windowExt.cy);
    if (sx > sy)
        st.viewportExt.cx = (LONG)std::lround(std::copysign(sy * std::abs(st.windowExt.cx), (double)st.viewportExt.cx));
    else if (sy > sx)
        st.viewportExt.cy = (LONG)std::lround(std::copysign(sx * std::abs(st.windowExt.cy), (double)st.viewportExt.cy));
}

BOOL SetExtent(HDC hdc, SIZE DCState::*field, int x, int y, LPSIZE old) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    DCState& st = dc->m_state;
    if (old)
        *old = st.*field;
    // Only the free modes take extents; zero is no extent.
    if (st.mapMode != MM_ISOTROPIC && st.mapMode != MM_ANISOTROPIC)
        return TRUE;
    if (x == 0 || y == 0)
        return FALSE;
    st.*field = SIZE{x, y};
    MakeIsotropic(st);
    return TRUE;
}
}  // namespace

BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old) {
    return SetExtent(dc, &DCState::windowExt, x, y, old);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old) {
    return SetExtent(dc, &DCState::viewportExt, x, y, old);
}
BOOL GetWindowExtEx(HDC hdc, LPSIZE size) {
    auto dc = FindDC(hdc);
    if (!dc || !size)
        return FALSE;
    *size = dc->m_state.windowExt;
    return TRUE;
}
BOOL GetViewportExtEx(HDC hdc, LPSIZE size) {
    auto dc = FindDC(hdc);
    if (!dc || !size)
        return FALSE;
    *size = dc->m_state.viewportExt;
    return TRUE;
}
BOOL ScaleViewportExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old) {
    auto dc = FindDC(hdc);
    if (!dc || !xDenom || !yDenom)
        return FALSE;
    SIZE e = dc->m_state.viewportExt;
    return SetViewportExtEx(hdc, MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom), old);
}
BOOL ScaleWindowExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old) {
    auto dc = FindDC(hdc);
    if (!dc || !xDenom || !yDenom)
        return FALSE;
    SIZE e = dc->m_state.windowExt;
    return SetWindowExtEx(hdc, MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom), old);
}

BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
    auto dc = FindDC(hdc);
    if (!dc || (!points && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = POINT{dc->DevX(points[i].x) - dc->m_origin.x, dc->DevY(points[i].y) - dc->m_origin.y};
    return TRUE;
}
BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
    auto dc = FindDC(hdc);
    if (!dc || (!points && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = POINT{dc->LogX(points[i].x + dc->m_origin.x), dc->LogY(points[i].y + dc->m_origin.y)};
    return TRUE;
}
int SetStretchBltMode(HDC hdc, int mode) {
    auto dc = FindDC(hdc);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    int old = dc->m_state.stretchMode;
    dc->m_state.stretchMode = mode;
    return old;
}
int GetStretchBltMode(HDC hdc) {
    auto dc = FindDC(hdc);
    return dc ? dc->m_state.stretchMode : 0;
}

static BOOL SetOrigin(HDC hdc, POINT DCState::*field, int x, int y, LPPOINT old, bool offset) {
    auto dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    POINT& p = dc->m_state.*field;
    if (old)
        *old = p;
    if (offset) {
        p.x += x;
        p.y += y;
    } else {
        p = POINT{x, y};
    }
    return TRUE;
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old) {
    return SetOrigin(dc, &DCState::viewportOrg, x, y, old, false);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
    return SetOrigin(dc, &DCState::viewportOrg, dx, dy, old, true);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) {
    return SetOrigin(dc, &DCState::windowOrg, x, y, old, false);
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
    return SetOrigin(dc, &DCState::windowOrg, dx, dy, old, true);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old) {
    return SetOrigin(dc, &DCState::brushOrg, x, y, old, false);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt) {
    auto dc = FindDC(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = dc->m_state.viewportOrg;
    return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt) {
    auto dc = FindDC(hdc);
    if (!dc || !pt)
        return FALSE;
    *pt = dc->m_state.windowOrg;
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
    auto dc = FindDC(hdc);
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dc ? dc->m_logPixels : 96;
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case SIZEPALETTE:  // true colour: no palette
            return 0;
        case COLORRES:
            return 24;
        case RASTERCAPS:
            return RC_BITBLT | RC_STRETCHBLT;
        case HORZRES:
            return dc && dc->m_surface ? cairo_image_surface_get_width(dc->m_surface) : 0;
        case VERTRES:
            return dc && dc->m_surface ? cairo_image_surface_get_height(dc->m_surface) : 0;
        case HORZSIZE:
            return dc && dc->m_surface ? cairo_image_surface_get_width(dc->m_surface) * 254 / (dc->m_logPixels * 10) : 0;
        case VERTSIZE:
            return dc && dc->m_surface ? cairo_image_surface_get_height(dc->m_surface) * 254 / (dc->m_logPixels * 10) : 0;
        default:
            return 0;
    }
}

// Clip rectangles given in logical units are kept relative to the DC origin, like Windows' device units.
static RECT LogicalToOriginRelative(const DeviceContext& dc, int left, int top, int right, int bottom) {
    RECT r = dc.DevRect(left, top, right, bottom);
    OffsetRect(&r, -dc.m_origin.x, -dc.m_origin.y);
    return r;
}

int GetClipBox(HDC hdc, LPRECT rc) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return ERROR;
    Region clip = dc->EffectiveClip();
    RECT b = clip.Bounds();
    // Back to logical units, corners in order.
    int l = dc->LogX(b.left), r = dc->LogX(b.right), t = dc->LogY(b.top), bt = dc->LogY(b.bottom);
    *rc = RECT{std::min(l, r), std::min(t, bt), std::max(l, r), std::max(t, bt)};
    return clip.Complexity();
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDC(hdc);
    if (!dc)
        return ERROR;
    RECT r = LogicalToOriginRelative(*dc, left, top, right, bottom);
    if (!dc->m_state.hasUserClip) {
        Region base = dc->m_baseClip;
        base.Offset(-dc->m_origin.x, -dc->m_origin.y);
        dc->m_state.userClip = base;
        dc->m_state.hasUserClip = true;
    }
    dc->m_state.userClip.Intersect(r);
    return dc->EffectiveClip().Complexity();
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    auto dc = FindDC(hdc);
    if (!dc)
        return ERROR;
    RECT r = LogicalToOriginRelative(*dc, left, top, right, bottom);
    if (!dc->m_state.hasUserClip) {
        Region base = dc->m_baseClip;
        base.Offset(-dc->m_origin.x, -dc->m_origin.y);
        dc->m_state.userClip = base;
        dc->m_state.hasUserClip = true;
    }
    dc->m_state.userClip.Subtract(r);
    return dc->EffectiveClip().Complexity();
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
    auto dc = FindDC(hdc);
    if (!dc)
        return ERROR;
    if (!rgn) {
        dc->m_state.hasUserClip = false;
        dc->m_state.userClip.Clear();
    } else {
        auto r = Find<RegionObject>(rgn);
        if (!r)
            return ERROR;
        dc->m_state.userClip = r->m_region;  // device units, relative to the DC origin
        dc->m_state.hasUserClip = true;
    }
    return dc->EffectiveClip().Complexity();
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
    auto dc = FindDC(hdc);
    if (!dc || !rc)
        return FALSE;
    return dc->EffectiveClip().Intersects(
        dc->DevRect(rc->left, rc->top, rc->right, rc->bottom));
}

BOOL PtVisible(HDC hdc, int x, int y) {
    auto dc = FindDC(hdc);
    return dc && dc->EffectiveClip().Contains(dc->DevX(x), dc->DevY(y));
}

// ---- System colours ---------------------------------------------------------------------------

namespace {
const COLORREF kClassic[31] = {RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
                               RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
                               RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
                               RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
                               RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
                               RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
                               RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
                               RGB(192, 192, 192), RGB(10, 36, 106),   RGB(212, 208, 200)};
std::mutex g_colorMutex;
COLORREF g_colors[31];
HBRUSH g_colorBrushes[31];
bool g_colorsInit = false;

void InitColors() {
    if (g_colorsInit)
        return;
    std::copy(std::begin(kClassic), std::end(kClassic), g_colors);
    g_colorsInit = true;
}
}  // namespace

DWORD GetSysColor(int index) {
    std::lock_guard<std::mutex> g(g_colorMutex);
    InitColors();
    return index >= 0 && index < 31 ? g_colors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    std::lock_guard<std::mutex> g(g_colorMutex);
    InitColors();
    if (index < 0 || index >= 31)
        return nullptr;
    if (!g_colorBrushes[index]) {
        auto b = std::make_shared<BrushObject>();
        b->m_color = g_colors[index];
        b->m_stock = true;
        g_colorBrushes[index] = (HBRUSH)AddObject(b);
    }
    return g_colorBrushes[index];
}

void SetSysColorForTest(int index, COLORREF color) {
    std::lock_guard<std::mutex> g(g_colorMutex);
    InitColors();
    if (index < 0 || index >= 31)
        return;
    g_colors[index] = color;
    if (auto b = Find<BrushObject>(g_colorBrushes[index]))
        b->m_color = color;
}

void ResetSysColors() {
    for (int i = 0; i < 31; ++i)
        SetSysColorForTest(i, kClassic[i]);
}
