// CRectTracker: a rectangle the user moves or resizes by its handles, or draws as a rubber band. The
// tracking loop takes the mouse until the left button comes up; Escape or the right button cancel and
// put the rectangle back. Coordinates are the client coordinates of the window given to Track.
#pragma once

#include "platform/framework/window/Wnd.h"

class CRectTracker {
public:
    enum StyleFlags {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    enum TrackerHit {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker() = default;
    CRectTracker(const RECT* rect, UINT style) : m_rect(*rect), m_nStyle(style) {}
    virtual ~CRectTracker() = default;

    RECT m_rect{};
    UINT m_nStyle = 0;
    int m_nHandleSize = 7;
    SIZE m_sizeMin{7, 7};  // the smallest width and height a resize leaves

    // The handles, border and hatching of the style.
    void Draw(HDC dc) const;
    // The rectangle with its outside handles and border.
    void GetTrueRect(LPRECT rect) const;
    // Sets the sizing cursor for the handle under the mouse; FALSE when the mouse is not on the tracker.
    BOOL SetCursor(CWnd* wnd, UINT hitTest) const;
    int HitTest(POINT point) const;
    // The hit code of the same handle of an inverted rectangle.
    int NormalizeHit(int handle) const;

    // Tracks from `point` on the handle (or inside) there; FALSE when the point is on no part of the
    // tracker or the tracking was cancelled. `clipTo` is the window the drag rectangle is drawn in (the
    // screen when null).
    BOOL Track(CWnd* wnd, POINT point, BOOL allowInvert = FALSE, CWnd* clipTo = nullptr);
    // Draws a new rectangle from `point` (its bottom-right corner follows the mouse).
    BOOL TrackRubberBand(CWnd* wnd, POINT point, BOOL allowInvert = TRUE);

    // Draws (or, with m_bErase, erases) the moving rectangle; `rect` is in `wnd`'s client coordinates.
    virtual void DrawTrackerRect(const RECT* rect, CWnd* clipTo, HDC dc, CWnd* wnd);
    // Where the rectangle may go while the handle moves; keeps the minimum size.
    virtual void AdjustRect(int handle, LPRECT rect);
    virtual void OnChangedRect(const RECT& rectOld) { (void)rectOld; }
    // Which handles show: bit n for handle n.
    virtual UINT GetHandleMask() const;

protected:
    BOOL TrackHandle(int handle, CWnd* wnd, POINT point, CWnd* clipTo);
    int HitTestHandles(POINT point) const;
    void GetHandleRect(int handle, RECT* rect) const;
    int GetHandleSize(const RECT* rect = nullptr) const;

    BOOL m_bAllowInvert = FALSE;
    RECT m_rectLast{};
    SIZE m_sizeLast{};
    BOOL m_bErase = FALSE;       // the next DrawTrackerRect erases
    BOOL m_bFinalErase = FALSE;  // ... for the last time
};

// Draws a drag frame of thickness `size` by inverting through the halftone pattern, first inverting the
// frame `last` of `sizeLast` back (either may be null or of size 0).
void AfxDrawDragRect(HDC dc, const RECT* rect, SIZE size, const RECT* last, SIZE sizeLast);
// The 50% grey checkerboard brush of drag frames (owned by the framework).
HBRUSH AfxGetHalftoneBrush();
