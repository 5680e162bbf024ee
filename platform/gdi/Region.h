// A set of pixels as disjoint rectangles: the update regions of windows and the clip of DCs.
#pragma once

#include <vector>

#include "platform/base/Types.h"

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rc) { Union(rc); }

    static bool RectEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rc) const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;

    void Clear() { m_rects.clear(); }
    void Union(const RECT& rc);
    void Union(const Region& other);
    void Subtract(const RECT& rc);
    void Subtract(const Region& other);
    void Intersect(const RECT& rc);
    void Intersect(const Region& other);
    void Offset(int dx, int dy);

private:
    std::vector<RECT> m_rects;
};
