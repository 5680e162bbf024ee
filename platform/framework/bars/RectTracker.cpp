#include "platform/framework/bars/RectTracker.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace {
RECT Normalized(RECT r) {
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

// For each handle: which x and y edge it moves (0 none, 1 left/top, 2 right/bottom).
struct HandleEdges {
    int x, y;
};
constexpr HandleEdges kEdges[] = {
    {1, 1}, {2, 1}, {2, 2}, {1, 2},  // corners
    {0, 1}, {2, 0}, {0, 2}, {1, 0},  // sides
};

void InvertFrame(HDC dc, const RECT& r, SIZE size) {
    if (size.cx <= 0 && size.cy <= 0)
        return;
    RECT n = Normalized(r);
    int w = n.right - n.left, h = n.bottom - n.top;
    PatBlt(dc, n.left, n.top, w, size.cy, PATINVERT);
    PatBlt(dc, n.left, n.bottom - size.cy, w, size.cy, PATINVERT);
    PatBlt(dc, n.left, n.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
    PatBlt(dc, n.right - size.cx, n.top + size.cy, size.cx, h - 2 * size.cy, PATINVERT);
}
}  // namespace

HBRUSH AfxGetHalftoneBrush() {
    static HBRUSH brush = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        SetPixel(mem, 0, 0, RGB(255, 255, 255));
        SetPixel(mem, 1, 1, RGB(255, 255, 255));
        SetPixel(mem, 1, 0, RGB(0, 0, 0));
        SetPixel(mem, 0, 1, RGB(0, 0, 0));
        SelectObject(mem, old);
        DeleteDC(mem);
        brush = CreatePatternBrush(bitmap);
    });
    return brush;
}

void AfxDrawDragRect(HDC dc, const RECT* rect, SIZE size, const RECT* last, SIZE sizeLast) {
    HGDIOBJ old = SelectObject(dc, AfxGetHalftoneBrush());
    if (last)
        InvertFrame(dc, *last, sizeLast);
    if (rect)
        InvertFrame(dc, *rect, size);
    SelectObject(dc, old);
}

int CRectTracker::GetHandleSize(const RECT* rect) const {
    RECT r = Normalized(rect ? *rect : m_rect);
    int size = m_nHandleSize;
    if (!(m_nStyle & resizeOutside)) {
        // Inside handles never take more than a third of the rectangle.
        int limit = std::min(r.right - r.left, r.bottom - r.top) / 3;
        size = std::max(0, std::min(size, limit));
    }
    return size;
}

UINT CRectTracker::GetHandleMask() const {
    UINT mask = 0x0F;  // the corners
    RECT r = Normalized(m_rect);
    int size = m_nHandleSize * 3;
    if (r.right - r.left > size)
        mask |= 0x50;  // top and bottom
    if (r.bottom - r.top > size)
        mask |= 0xA0;  // left and right
    return mask;
}

void CRectTracker::GetHandleRect(int handle, RECT* out) const {
    RECT r = Normalized(m_rect);
    int size = GetHandleSize();
    if (m_nStyle & resizeOutside)
        InflateRect(&r, size - 1, size - 1);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = 0, y = 0;
    const HandleEdges& e = kEdges[handle];
    x = e.x == 1 ? r.left : e.x == 2 ? r.right - size : r.left + w / 2 - size / 2;
    y = e.y == 1 ? r.top : e.y == 2 ? r.bottom - size : r.top + h / 2 - size / 2;
    *out = RECT{x, y, x + size, y + size};
}

void CRectTracker::GetTrueRect(LPRECT out) const {
    RECT r = Normalized(m_rect);
    if (m_nStyle & (resizeOutside | hatchedBorder)) {
        int size = GetHandleSize();
        InflateRect(&r, size - 1, size - 1);
    }
    *out = r;
}

int CRectTracker::HitTestHandles(POINT point) const {
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (!(mask & (1u << i)))
                continue;
            RECT h;
            GetHandleRect(i, &h);
            if (PtInRect(&h, point))
                return NormalizeHit(i);
        }
    }
    RECT r;
    GetTrueRect(&r);
    if (!PtInRect(&r, point))
        return hitNothing;
    return hitMiddle;
}

int CRectTracker::HitTest(POINT point) const {
    return HitTestHandles(point);
}

int CRectTracker::NormalizeHit(int handle) const {
    if (handle < 0 || handle == hitMiddle)
        return handle;
    // A handle of an inverted rectangle is the mirror one of the normalised rectangle.
    bool flipX = m_rect.left > m_rect.right, flipY = m_rect.top > m_rect.bottom;
    HandleEdges e = kEdges[handle];
    if (flipX && e.x)
        e.x = 3 - e.x;
    if (flipY && e.y)
        e.y = 3 - e.y;
    for (int i = 0; i < 8; ++i)
        if (kEdges[i].x == e.x && kEdges[i].y == e.y)
            return i;
    return handle;
}

BOOL CRectTracker::SetCursor(CWnd* wnd, UINT hitTest) const {
    if (!wnd || hitTest != HTCLIENT)
        return FALSE;
    DWORD pos = GetMessagePos();
    POINT p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ::ScreenToClient(wnd->m_hWnd, &p);
    int hit = HitTestHandles(p);
    if (hit < 0)
        return FALSE;
    static const LPCTSTR cursors[] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENS,
                                      IDC_SIZEWE,   IDC_SIZENS,   IDC_SIZEWE,   IDC_SIZEALL};
    ::SetCursor(LoadCursor(nullptr, cursors[hit]));
    return TRUE;
}

void CRectTracker::Draw(HDC dc) const {
    RECT r = Normalized(m_rect);
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (m_nStyle & (solidLine | dottedLine)) {
        HPEN pen = CreatePen((m_nStyle & dottedLine) ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    if (m_nStyle & (hatchInside | hatchedBorder)) {
        HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0));
        if (m_nStyle & hatchInside) {
            RECT in = r;
            InflateRect(&in, -1, -1);
            FillRect(dc, &in, hatch);
        }
        if (m_nStyle & hatchedBorder) {
            RECT out;
            GetTrueRect(&out);
            RECT parts[4] = {{out.left, out.top, out.right, r.top},
                             {out.left, r.bottom, out.right, out.bottom},
                             {out.left, r.top, r.left, r.bottom},
                             {r.right, r.top, out.right, r.bottom}};
            for (const RECT& p : parts)
                FillRect(dc, &p, hatch);
        }
        DeleteObject(hatch);
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
        for (int i = 0; i < 8; ++i)
            if (mask & (1u << i)) {
                RECT h;
                GetHandleRect(i, &h);
                FillRect(dc, &h, black);
            }
    }
    RestoreDC(dc, saved);
}

void CRectTracker::AdjustRect(int handle, LPRECT rect) {
    if (handle == hitMiddle || handle < 0)
        return;
    const HandleEdges& e = kEdges[handle];
    // The moving edge stops where the rectangle would get smaller than the minimum (in its own direction).
    auto keep = [](LONG& moving, LONG fixed, int minimum, bool movingIsHigh) {
        int length = movingIsHigh ? moving - fixed : fixed - moving;
        if (std::abs(length) < minimum) {
            int sign = length < 0 ? -1 : 1;
            moving = movingIsHigh ? fixed + sign * minimum : fixed - sign * minimum;
        }
    };
    if (e.x == 1)
        keep(rect->left, rect->right, m_sizeMin.cx, false);
    else if (e.x == 2)
        keep(rect->right, rect->left, m_sizeMin.cx, true);
    if (e.y == 1)
        keep(rect->top, rect->bottom, m_sizeMin.cy, false);
    else if (e.y == 2)
        keep(rect->bottom, rect->top, m_sizeMin.cy, true);
}

void CRectTracker::DrawTrackerRect(const RECT* rect, CWnd* clipTo, HDC dc, CWnd* wnd) {
    RECT r = Normalized(*rect);
    // From the tracked window's client coordinates to those of the window drawn in (or the screen).
    MapWindowPoints(wnd ? wnd->m_hWnd : nullptr, clipTo ? clipTo->m_hWnd : nullptr, reinterpret_cast<POINT*>(&r),
                    2);
    SIZE size{0, 0};
    if (!m_bFinalErase) {
        size = (m_nStyle & hatchedBorder) ? SIZE{std::max(1, GetHandleSize(rect) - 1), std::max(1, GetHandleSize(rect) - 1)}
                                          : SIZE{1, 1};
        if (IsRectEmpty(&r))
            size = SIZE{1, 1};
    }
    AfxDrawDragRect(dc, &r, size, m_bErase ? &m_rectLast : nullptr, m_sizeLast);
    m_rectLast = r;
    m_sizeLast = size;
}

BOOL CRectTracker::Track(CWnd* wnd, POINT point, BOOL allowInvert, CWnd* clipTo) {
    int handle = HitTestHandles(point);
    if (handle < 0)
        return FALSE;
    m_bAllowInvert = allowInvert;
    return TrackHandle(handle, wnd, point, clipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* wnd, POINT point, BOOL allowInvert) {
    m_bAllowInvert = allowInvert;
    m_rect = RECT{point.x, point.y, point.x, point.y};
    return TrackHandle(hitBottomRight, wnd, point, nullptr);
}

BOOL CRectTracker::TrackHandle(int handle, CWnd* wnd, POINT point, CWnd* clipTo) {
    if (!wnd || !::IsWindow(wnd->m_hWnd) || ::GetCapture())
        return FALSE;
    HWND hwnd = wnd->m_hWnd;
    ::UpdateWindow(hwnd);
    const RECT saved = m_rect;
    // The distance from the point to the edges the handle moves, so they keep it while the mouse moves.
    const HandleEdges edges = handle == hitMiddle ? HandleEdges{1, 1} : kEdges[handle];
    int dx = edges.x == 1 ? point.x - m_rect.left : edges.x == 2 ? point.x - m_rect.right : 0;
    int dy = edges.y == 1 ? point.y - m_rect.top : edges.y == 2 ? point.y - m_rect.bottom : 0;
    int width = m_rect.right - m_rect.left, height = m_rect.bottom - m_rect.top;

    ::SetCapture(hwnd);
    HDC dc = ::GetDC(clipTo ? clipTo->m_hWnd : nullptr);
    m_bErase = m_bFinalErase = FALSE;
    bool drawn = false, cancelled = false;
    for (;;) {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);  // the application's loop still has to end
            cancelled = true;
            break;
        }
        if (::GetCapture() != hwnd) {
            cancelled = true;
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_MOUSEMOVE) {
            RECT old = m_rect;
            POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            if (msg.hwnd != hwnd)
                ::MapWindowPoints(msg.hwnd, hwnd, &p, 1);
            if (handle == hitMiddle) {
                m_rect.left = p.x - dx;
                m_rect.top = p.y - dy;
                m_rect.right = m_rect.left + width;
                m_rect.bottom = m_rect.top + height;
            } else {
                if (edges.x == 1)
                    m_rect.left = p.x - dx;
                else if (edges.x == 2)
                    m_rect.right = p.x - dx;
                if (edges.y == 1)
                    m_rect.top = p.y - dy;
                else if (edges.y == 2)
                    m_rect.bottom = p.y - dy;
            }
            AdjustRect(handle, &m_rect);
            bool last = msg.message == WM_LBUTTONUP;
            bool changed = !EqualRect(&old, &m_rect);
            if (changed || last) {
                if (drawn && last) {
                    m_bErase = m_bFinalErase = TRUE;
                    DrawTrackerRect(&old, clipTo, dc, wnd);
                    drawn = false;
                }
                if (changed)
                    OnChangedRect(old);
            }
            if (last)
                break;
            if (changed) {
                m_bErase = drawn;
                m_bFinalErase = FALSE;
                DrawTrackerRect(&m_rect, clipTo, dc, wnd);
                drawn = true;
            }
            continue;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            cancelled = true;
            break;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR)
            continue;  // the keyboard belongs to the loop while it runs
        ::DispatchMessage(&msg);
    }
    if (drawn) {
        m_bErase = m_bFinalErase = TRUE;
        DrawTrackerRect(&m_rect, clipTo, dc, wnd);
    }
    ::ReleaseDC(clipTo ? clipTo->m_hWnd : nullptr, dc);
    if (::GetCapture() == hwnd)
        ::ReleaseCapture();
    m_bErase = m_bFinalErase = FALSE;
    if (cancelled) {
        m_rect = saved;
        return FALSE;
    }
    if (!m_bAllowInvert)
        m_rect = Normalized(m_rect);
    return TRUE;
}
