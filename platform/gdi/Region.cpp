#include "platform/gdi/Region.h"

#include <algorithm>

namespace {
// The parts of `a` outside `b`, appended to `out` (at most four rectangles).
void SubtractRectFromRect(const RECT& a, const RECT& b, std::vector<RECT>& out) {
    if (b.left >= a.right || b.right <= a.left || b.top >= a.bottom || b.bottom <= a.top) {
        out.push_back(a);
        return;
    }
    if (b.top > a.top)
        out.push_back({a.left, a.top, a.right, b.top});
    if (b.bottom < a.bottom)
        out.push_back({a.left, b.bottom, a.right, a.bottom});
    LONG top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
    if (b.left > a.left)
        out.push_back({a.left, top, b.left, bottom});
    if (b.right < a.right)
        out.push_back({b.right, top, a.right, bottom});
}
}  // namespace

RECT Region::Bounds() const {
    if (m_rects.empty())
        return RECT{0, 0, 0, 0};
    RECT r = m_rects[0];
    for (const RECT& x : m_rects) {
        r.left = std::min(r.left, x.left);
        r.top = std::min(r.top, x.top);
        r.right = std::max(r.right, x.right);
        r.bottom = std::max(r.bottom, x.bottom);
    }
    return r;
}

bool Region::Contains(int x, int y) const {
    for (const RECT& r : m_rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

bool Region::Intersects(const RECT& rc) const {
    for (const RECT& r : m_rects)
        if (rc.left < r.right && rc.right > r.left && rc.top < r.bottom && rc.bottom > r.top)
            return true;
    return false;
}

int Region::Complexity() const {
    if (m_rects.empty())
        return 1;
    if (m_rects.size() == 1)
        return 2;
    // Disjoint pieces that fill their bounds exactly still form one rectangle.
    RECT b = Bounds();
    long long area = 0;
    for (const RECT& r : m_rects)
        area += (long long)(r.right - r.left) * (r.bottom - r.top);
    return area == (long long)(b.right - b.left) * (b.bottom - b.top) ? 2 : 3;
}

void Region::Union(const RECT& rc) {
    if (RectEmpty(rc))
        return;
    std::vector<RECT> pieces{rc};
    for (const RECT& existing : m_rects) {
        std::vector<RECT> next;
        for (const RECT& p : pieces)
            SubtractRectFromRect(p, existing, next);
        pieces.swap(next);
        if (pieces.empty())
            return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
}

void Region::Union(const Region& other) {
    for (const RECT& r : other.m_rects)
        Union(r);
}

void Region::Subtract(const RECT& rc) {
    if (RectEmpty(rc))
        return;
    std::vector<RECT> next;
    for (const RECT& r : m_rects)
        SubtractRectFromRect(r, rc, next);
    m_rects.swap(next);
}

void Region::Subtract(const Region& other) {
    for (const RECT& r : other.m_rects)
        Subtract(r);
}

void Region::Intersect(const RECT& rc) {
    std::vector<RECT> next;
    for (const RECT& r : m_rects) {
        RECT x{std::max(r.left, rc.left), std::max(r.top, rc.top), std::min(r.right, rc.right),
               std::min(r.bottom, rc.bottom)};
        if (!RectEmpty(x))
            next.push_back(x);
    }
    m_rects.swap(next);
}

void Region::Intersect(const Region& other) {
    std::vector<RECT> next;
    for (const RECT& a : m_rects)
        for (const RECT& b : other.m_rects) {
            RECT x{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
            if (!RectEmpty(x))
                next.push_back(x);
        }
    m_rects.swap(next);
}

void Region::Offset(int dx, int dy) {
    for (RECT& r : m_rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}
