// COXSizeBarWrapper: the window of class "MDIChildWndDockWrapper" that holds a docked MDI child's view
// inside its view bar, standing in for the hidden child window.
#pragma once

#include "platform/framework/window/Wnd.h"

class COXSizeViewBar;
class CView;

class COXSizeBarWrapper : public CWnd {
    DECLARE_DYNAMIC(COXSizeBarWrapper)
public:
    explicit COXSizeBarWrapper(COXSizeViewBar* bar) : m_pBar(bar) {}

    // A visible child of the bar over its client area, with the bar's title. Raises the framework's
    // memory exception when the window cannot be made.
    void Create();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static constexpr const char* kClassName = "MDIChildWndDockWrapper";

    COXSizeViewBar* m_pBar;
    CView* m_pView = nullptr;
    BOOL m_bDestroying = FALSE;
};
