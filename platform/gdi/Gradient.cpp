#include "platform/gdi/Gradient.h"

#include <cmath>

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {

struct Rgb {
    int c[3];
};

// A 16-bit component divided by 255.5 and rounded: c * 256 and c * 255 both give c back.
int Component(COLOR16 c) {
    return std::min(255, ((int)c * 2 + 255) / 511);
}

Rgb VertexColor(const TRIVERTEX& v) {
    return Rgb{{Component(v.Red), Component(v.Green), Component(v.Blue)}};
}

uint32_t Pack(const Rgb& c) {
    return 0xFF000000u | ((uint32_t)c.c[0] << 16) | ((uint32_t)c.c[1] << 8) | (uint32_t)c.c[2];
}

// Step i of n between a and b, exact at both ends.
Rgb Step(const Rgb& a, const Rgb& b, long long i, long long n) {
    if (n <= 1)
        return a;
    Rgb r;
    for (int k = 0; k < 3; ++k)
        r.c[k] = (int)(((long long)a.c[k] * (n - 1 - i) + (long long)b.c[k] * i + (n - 1) / 2) / (n - 1));
    return r;
}

void FillRectGradient(DeviceContext& dc, PixelTarget& t, const TRIVERTEX& v1, const TRIVERTEX& v2, bool vertical) {
    int x1 = dc.DevX(v1.x), y1 = dc.DevY(v1.y), x2 = dc.DevX(v2.x), y2 = dc.DevY(v2.y);
    RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    // The colour at the left (top) belongs to the vertex with the smaller coordinate there.
    bool swap = vertical ? y1 > y2 : x1 > x2;
    Rgb a = VertexColor(swap ? v2 : v1), b = VertexColor(swap ? v1 : v2);
    if (vertical) {
        long long n = r.bottom - r.top;
        t.ForSpans(r, [&](int x0, int xe, int y) {
            uint32_t px = Pack(Step(a, b, y - r.top, n));
            std::fill(t.Row(y) + x0, t.Row(y) + xe, px);
        });
    } else {
        long long n = r.right - r.left;
        std::vector<uint32_t> columns((size_t)n);
        for (long long i = 0; i < n; ++i)
            columns[(size_t)i] = Pack(Step(a, b, i, n));
        t.ForSpans(r, [&](int x0, int xe, int y) {
            uint32_t* row = t.Row(y);
            for (int x = x0; x < xe; ++x)
                row[x] = columns[(size_t)(x - r.left)];
        });
    }
}

void FillTriangle(DeviceContext& dc, PixelTarget& t, const TRIVERTEX& a, const TRIVERTEX& b, const TRIVERTEX& c) {
    double ax = dc.DevX(a.x), ay = dc.DevY(a.y), bx = dc.DevX(b.x), by = dc.DevY(b.y);
    double cx = dc.DevX(c.x), cy = dc.DevY(c.y);
    double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    if (area == 0)
        return;
    Rgb ca = VertexColor(a), cb = VertexColor(b), cc = VertexColor(c);
    RECT box{(LONG)std::min({ax, bx, cx}), (LONG)std::min({ay, by, cy}), (LONG)std::max({ax, bx, cx}) + 1,
             (LONG)std::max({ay, by, cy}) + 1};
    t.ForSpans(box, [&](int x0, int xe, int y) {
        uint32_t* row = t.Row(y);
        for (int x = x0; x < xe; ++x) {
            // Barycentric weights of the point (x, y).
            double wa = ((bx - x) * (cy - y) - (by - y) * (cx - x)) / area;
            double wb = ((cx - x) * (ay - y) - (cy - y) * (ax - x)) / area;
            double wc = 1.0 - wa - wb;
            const double eps = -1e-9;
            if (wa < eps || wb < eps || wc < eps)
                continue;
            Rgb r;
            for (int k = 0; k < 3; ++k)
                r.c[k] = std::clamp((int)std::lround(wa * ca.c[k] + wb * cb.c[k] + wc * cc.c[k]), 0, 255);
            row[x] = Pack(r);
        }
    });
}

}  // namespace

BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode) {
    auto dc = FindDC(hdc);
    if (!dc || !vertices || !mesh || mode > GRADIENT_FILL_TRIANGLE)
        return FALSE;
    PixelTarget t(dc->m_surface, dc->EffectiveClip());
    if (!t.Valid())
        return FALSE;
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (ULONG i = 0; i < meshCount; ++i)
            if (tri[i].Vertex1 >= vertexCount || tri[i].Vertex2 >= vertexCount || tri[i].Vertex3 >= vertexCount)
                return FALSE;
        for (ULONG i = 0; i < meshCount; ++i)
            FillTriangle(*dc, t, vertices[tri[i].Vertex1], vertices[tri[i].Vertex2], vertices[tri[i].Vertex3]);
        return TRUE;
    }
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i)
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount)
            return FALSE;
    for (ULONG i = 0; i < meshCount; ++i)
        FillRectGradient(*dc, t, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight],
                         mode == GRADIENT_FILL_RECT_V);
    return TRUE;
}
