// Gradient fills of rectangles and triangles (the platform's GradientFill).
#pragma once

#include "platform/gdi/Gdi.h"

typedef unsigned short COLOR16;
struct TRIVERTEX {
    LONG x;
    LONG y;
    COLOR16 Red;
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};
typedef TRIVERTEX* PTRIVERTEX;
struct GRADIENT_RECT {
    ULONG UpperLeft;
    ULONG LowerRight;
};
struct GRADIENT_TRIANGLE {
    ULONG Vertex1;
    ULONG Vertex2;
    ULONG Vertex3;
};
#define GRADIENT_FILL_RECT_H 0x00000000
#define GRADIENT_FILL_RECT_V 0x00000001
#define GRADIENT_FILL_TRIANGLE 0x00000002

// A vertex's 8-bit component is its 16-bit one divided by 255.5 and rounded, so both encodings in use
// (c * 256 and c * 255) give c back; alpha is ignored (surfaces are opaque).
// A rectangle runs from the smaller to the larger of its two vertices' coordinates (right and bottom
// excluded). Across its n columns (RECT_H) or rows (RECT_V), step i of 0..n-1 takes, per component,
//     c(i) = (a * (n - 1 - i) + b * i + (n - 1) / 2) / (n - 1)        (integer division; c = a when n = 1)
// where a belongs to the vertex at the left (top) and b to the one at the right (bottom): the first and
// the last column (row) are exactly the vertex colours.
// A triangle covers the pixels whose integer point lies inside or on it; each takes the barycentric mix
// of the three vertex colours at that point, rounded, so a vertex pixel has exactly its vertex's colour.
// `mesh` holds GRADIENT_RECT or GRADIENT_TRIANGLE entries as `mode` says. FALSE for a bad DC, mode or
// vertex index.
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode);
