// COXDragDockContext: the drag-and-dock context of a sizing bar. Over a sizing dock bar the preview
// shows the bar's share of the row it would join; a drop makes room for it in that row.
#pragma once

#include "platform/framework/bars/DockContext.h"

class COXDragDockContext : public CDockContext {
public:
    // The style bit a floating frame gets when a drag ends with its bar floating.
    static constexpr DWORD kDraggedFloatStyle = 0x1;

    explicit COXDragDockContext(CControlBar* bar);

    void StartDrag(POINT screen) override;
    void ToggleDocking() override;
    DWORD CanDock() override;
    void EndDrag() override;
    // Over a dock position the preview, 1 pixel thick inside its rectangle; floating, the floating frame
    // as thick as a sizing border less 1 in the halftone; each draw inverts the last one back first.
    void DrawFocusRect(BOOL removeRect = FALSE) override;

    RECT m_rectDragDock{};                 // the rectangle the bar takes when dropped now
    class CDockBar* m_pTargetDockBar = nullptr;
    POINT m_ptDragStart{};

protected:
    // Whether the bar floats in an MDI float window (it is not dragged or toggled this way).
    BOOL InMdiFloat() const;
    // The frame's client area less its bars, widened over the visible left and right dock bars (screen).
    RECT GetDockingArea() const;
    SIZE m_sizeHorz{}, m_sizeVert{};       // the drag rectangles' sizes before any row preview
    BOOL m_bFirstTest = FALSE;
};
