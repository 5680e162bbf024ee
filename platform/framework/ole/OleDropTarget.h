// COleDropTarget: a window's side of drag and drop. Registered on a window, it is told when a drag
// enters, moves over (or scrolls), leaves, or drops on it; points are in that window's client
// coordinates and key states are MK_ bits.
#pragma once

#include "platform/framework/ole/Ole.h"
#include "platform/framework/window/Wnd.h"

class COleDataObject;

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget() = default;
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // FALSE when the window is gone or has a target already.
    BOOL Register(CWnd* wnd);
    void Revoke();
    HWND GetRegisteredWindow() const { return m_hWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point);
    // Asked first on a drop; (DROPEFFECT)-1 (the default) passes it to OnDrop.
    virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault, DROPEFFECT dropList,
                                POINT point);
    // Asked before OnDragOver; an answer with DROPEFFECT_SCROLL stands for it (the window scrolled).
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, POINT point);

    // The target registered on the window, or null.
    static COleDropTarget* FromWindow(HWND hwnd);

    // Drag scrolling: the band inside a window's edges that scrolls it (pixels), the rest before the
    // first step and the time between steps (milliseconds).
    static int nScrollInset;
    static UINT nScrollDelay;
    static UINT nScrollInterval;

private:
    HWND m_hWnd = nullptr;
};
