// Polygon regions: the pixels whose centres lie inside the polygon, by the alternate (even-odd) or the
// winding rule. So a rectangle's right and bottom edges fall outside, as in GDI.
#include <algorithm>
#include <cmath>

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {

struct Crossing {
    double x;
    int dir;  // +1 downwards edge, -1 upwards
};

}  // namespace

HRGN CreatePolygonRgn(const POINT* points, int count, int mode) {
    if (!points || count < 0 || (mode != ALTERNATE && mode != WINDING))
        return nullptr;
    auto object = std::make_shared<RegionObject>();
    if (count >= 3) {
        int top = points[0].y, bottom = points[0].y;
        for (int i = 1; i < count; ++i) {
            top = std::min<int>(top, points[i].y);
            bottom = std::max<int>(bottom, points[i].y);
        }
        std::vector<Crossing> crossings;
        for (int y = top; y < bottom; ++y) {
            double yc = y + 0.5;
            crossings.clear();
            for (int i = 0; i < count; ++i) {
                const POINT& a = points[i];
                const POINT& b = points[(i + 1) % count];
                if (a.y == b.y)
                    continue;
                double lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
                if (yc < lo || yc >= hi)
                    continue;
                double x = a.x + (yc - a.y) * (double)(b.x - a.x) / (double)(b.y - a.y);
                crossings.push_back(Crossing{x, b.y > a.y ? 1 : -1});
            }
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
            int winding = 0;
            for (size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].dir;
                bool inside = mode == ALTERNATE ? (i % 2 == 0) : winding != 0;
                if (!inside)
                    continue;
                // Pixels whose centre x + 0.5 lies in [from, to).
                int left = (int)std::ceil(crossings[i].x - 0.5);
                int right = (int)std::ceil(crossings[i + 1].x - 0.5);
                if (right > left)
                    object->m_region.Union(RECT{left, y, right, y + 1});
            }
        }
    }
    return (HRGN)AddObject(object);
}
