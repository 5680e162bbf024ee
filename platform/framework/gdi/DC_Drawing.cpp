#include "platform/framework/bars/RectTracker.h"
#include "platform/framework/gdi/DC.h"

namespace {
void InvertFrame(HDC dc, HBRUSH brush, const RECT& rc, SIZE size) {
    HGDIOBJ old = SelectObject(dc, brush);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    PatBlt(dc, rc.left, rc.top, w, size.cy, PATINVERT);
    PatBlt(dc, rc.left, rc.bottom - size.cy, w, size.cy, PATINVERT);
    PatBlt(dc, rc.left, rc.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
    PatBlt(dc, rc.right - size.cx, rc.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
    SelectObject(dc, old);
}
}  // namespace

CBrush* CDC::GetHalftoneBrush() {
    return CBrush::FromHandle(AfxGetHalftoneBrush());
}

void CDC::DrawDragRect(LPCRECT rc, SIZE size, LPCRECT last, SIZE sizeLast, CBrush* brush, CBrush* brushLast) {
    HBRUSH halftone = AfxGetHalftoneBrush();
    HBRUSH b = brush ? (HBRUSH)brush->m_hObject : halftone;
    HBRUSH bl = brushLast ? (HBRUSH)brushLast->m_hObject : b;
    if (last)
        InvertFrame(m_hDC, bl, *last, sizeLast);
    if (rc)
        InvertFrame(m_hDC, b, *rc, size);
}
