#include "guilib/frame/OXRectTracker.h"

#include <algorithm>

#include "platform/framework/window/Wnd.h"

int COXRectTracker::HandleOfHitTest(int hitTest) {
    switch (hitTest) {
        case HTTOPLEFT: return hitTopLeft;
        case HTTOPRIGHT: return hitTopRight;
        case HTBOTTOMRIGHT: return hitBottomRight;
        case HTBOTTOMLEFT: return hitBottomLeft;
        case HTTOP: return hitTop;
        case HTRIGHT: return hitRight;
        case HTBOTTOM: return hitBottom;
        case HTLEFT: return hitLeft;
        default: return hitMiddle;
    }
}

BOOL COXRectTracker::TrackRect(int hitTest, CWnd* wnd, POINT point, CWnd* clipTo) {
    m_rectStart = m_rect;
    // A splitter moves as a whole whichever edge was grabbed.
    (void)hitTest;
    return TrackHandle(hitMiddle, wnd, point, clipTo);
}

void COXRectTracker::AdjustRect(int handle, LPRECT rect) {
    if (!IsRectEmpty(&m_rectLimit)) {
        if (handle == hitMiddle) {
            int w = rect->right - rect->left, h = rect->bottom - rect->top;
            int left = std::clamp<int>(rect->left, m_rectLimit.left, std::max(m_rectLimit.left, m_rectLimit.right));
            int top = std::clamp<int>(rect->top, m_rectLimit.top,
                                      std::max(m_rectLimit.top, m_rectLimit.bottom - 10));
            *rect = RECT{left, top, left + w, top + h};
        } else {
            IntersectRect(rect, rect, &m_rectLimit);
        }
    }
    CRectTracker::AdjustRect(handle, rect);
    if (m_nStyle & lockVertical) {
        rect->top = m_rectStart.top;
        rect->bottom = m_rectStart.bottom;
    }
    if (m_nStyle & lockHorizontal) {
        rect->left = m_rectStart.left;
        rect->right = m_rectStart.right;
    }
}

void COXRectTracker::DrawTrackerRect(const RECT* rect, CWnd* clipTo, HDC dc, CWnd* wnd) {
    RECT r = *rect;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    if (clipTo && wnd && clipTo != wnd)
        ::MapWindowPoints(wnd->m_hWnd, clipTo->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    SIZE size = m_bFinalErase ? SIZE{0, 0} : SIZE{2, 2};
    AfxDrawDragRect(dc, &r, size, IsRectEmpty(&m_rectLast) ? nullptr : &m_rectLast, m_sizeLast);
    m_rectLast = r;
    m_sizeLast = size;
}
