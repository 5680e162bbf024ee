// CMiniDockFrameWnd: the floating frame of one or more bars. It holds a floating dock bar, sizes itself
// to it, moves its bars with its caption, sends them back to their side on a double click of its caption,
// and hides them when it is closed.
#pragma once

#include "platform/framework/bars/DockBar.h"
#include "platform/framework/bars/MiniFrameWnd.h"

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();
    // `barStyle`: CBRS_ALIGN_TOP or CBRS_ALIGN_LEFT for the bars' orientation, CBRS_SIZE_DYNAMIC.
    virtual BOOL Create(CWnd* parent, DWORD barStyle);
    void RecalcLayout(BOOL notify = TRUE) override;
    // The window style of a floating frame for bars of `barStyle`.
    static DWORD FrameStyle(DWORD barStyle);

    CDockBar m_wndDockBar;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The one bar this frame holds, or null when it holds several or none.
    CControlBar* SingleBar() const;
};
