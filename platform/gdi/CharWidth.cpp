#include "platform/gdi/CharWidth.h"

BOOL GetCharWidth(HDC dc, UINT first, UINT last, LPINT widths) {
    if (!dc || !widths || last < first || last - first >= 256)
        return FALSE;
    for (UINT c = first; c <= last; ++c) {
        char ch = (char)(c & 0xFF);
        SIZE s{};
        if (!GetTextExtentPoint32(dc, &ch, 1, &s))
            return FALSE;
        widths[c - first] = s.cx;
    }
    return TRUE;
}

BOOL GetCharWidth32(HDC dc, UINT first, UINT last, LPINT widths) {
    return GetCharWidth(dc, first, last, widths);
}
