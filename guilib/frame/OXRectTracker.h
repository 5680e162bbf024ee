// COXRectTracker: a rectangle tracker that keeps a moved rectangle inside limits and may lock it to one
// axis (the splitters of a sizing dock bar move this way).
#pragma once

#include "platform/framework/bars/RectTracker.h"

class COXRectTracker : public CRectTracker {
public:
    // Style bits of its own: the rectangle moves only horizontally, or only vertically.
    enum { lockVertical = 0x100, lockHorizontal = 0x200 };

    COXRectTracker() = default;
    // Tracks the handle that the window hit-test value `hitTest` names (HTLEFT...; others move).
    BOOL TrackRect(int hitTest, CWnd* wnd, POINT point, CWnd* clipTo);
    // The handle of a window hit-test value.
    static int HandleOfHitTest(int hitTest);

    void AdjustRect(int handle, LPRECT rect) override;
    void DrawTrackerRect(const RECT* rect, CWnd* clipTo, HDC dc, CWnd* wnd) override;

    RECT m_rectLimit{};  // empty: no limit
    RECT m_rectStart{};
};
