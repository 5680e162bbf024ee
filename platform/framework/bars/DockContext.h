// CDockContext: a bar's drag from its place to another side of the frame or into a floating frame. While
// the mouse moves, a frame shows where the bar would go (thin over a dock bar, thick where it would
// float); Ctrl forces floating, Escape or the right button cancel. It also remembers the bar's last
// docked and floating places, which a double click toggles between.
#pragma once

#include "platform/framework/bars/ControlBar.h"

class CDockContext {
public:
    explicit CDockContext(CControlBar* bar);
    virtual ~CDockContext() = default;

    virtual void StartDrag(POINT screen);
    virtual void ToggleDocking();
    // Resizes a floating dynamic bar from its frame's border `hitTest` (HTLEFT...).
    virtual void StartResize(int hitTest, POINT screen);

    void Move(POINT screen);
    virtual void EndDrag();
    void OnKey(int vk, BOOL down);
    virtual DWORD CanDock();
    CDockBar* GetDockBar(DWORD overDockStyle);
    virtual void DrawFocusRect(BOOL removeRect = FALSE);
    void CancelLoop();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;      // the sides the bar may dock at
    DWORD m_dwOverDockStyle = 0;  // the side under the drag now, 0 floating
    DWORD m_dwStyle = 0;          // the bar's style at the start
    BOOL m_bFlip = FALSE;
    BOOL m_bForceFrame = FALSE;
    BOOL m_bDragging = FALSE;
    HDC m_pDC = nullptr;
    POINT m_ptLast{};
    RECT m_rectLast{};
    SIZE m_sizeLast{};
    BOOL m_bDitherLast = FALSE;
    // The drag rectangles (screen): docked along a horizontal or vertical side, floating either way.
    RECT m_rectDragHorz{}, m_rectDragVert{}, m_rectFrameDragHorz{}, m_rectFrameDragVert{};
    POINT m_ptStart{};
    // The last places: the dock bar and the bar's rectangle there; the floating frame's style and place.
    UINT m_uMRUDockID = 0;
    RECT m_rectMRUDockPos{};
    DWORD m_dwMRUFloatStyle = 0;
    POINT m_ptMRUFloatPos{};
    // Set by the loop: whether it ended by docking or floating (FALSE when cancelled).
    BOOL m_bDropped = FALSE;

protected:
    BOOL Track();
    void InitLoop();
    void AdjustWindowForFloat(RECT& rect);
    BOOL m_bResizing = FALSE;
    int m_nHitTest = 0;
};
