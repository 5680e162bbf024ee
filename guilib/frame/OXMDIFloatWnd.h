// COXMDIFloatWnd: an MDI child window that holds a floating sizing bar inside the MDI client ("Float as
// MDI Window"). It hosts no view: only its floating dock bar.
#pragma once

#include "platform/framework/bars/DockBar.h"
#include "platform/framework/frames/MDIChildWnd.h"

class COXMDIFloatWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(COXMDIFloatWnd)
public:
    COXMDIFloatWnd();

    virtual BOOL Create(CMDIFrameWnd* parent, DWORD style);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The one bar it holds, or null.
    CControlBar* GetSingleBar() const;
    // The window's top-left corner on the screen becomes its bar's most recent floating position.
    void RememberFloatPos();

    CDockBar m_wndDockBar;
    BOOL m_bCreating = FALSE;
};
