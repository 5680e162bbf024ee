// COXSizeViewBar: the sizing bar that carries a dockable MDI child docked at a frame edge. While the child
// is docked its view lives in the bar (in a wrapper window while the bar is docked, in the bar itself
// while it floats) and the child window stays hidden.
#pragma once

#include <memory>

#include "guilib/frame/OXSizeCtrlBar.h"

class COXMDIChildWndSizeDock;
class COXSizeBarWrapper;
class CView;

class COXSizeViewBar : public COXSizeControlBar {
    DECLARE_DYNAMIC(COXSizeViewBar)
public:
    COXSizeViewBar();
    ~COXSizeViewBar() override;

    // Docks the child as this bar on `side` (a CBRS_ALIGN_ side), beside the frame's last bar when asked.
    BOOL DockChild(COXMDIChildWndSizeDock* child, DWORD side, BOOL besideLast);
    // Gives the child its view back; with `show` the bar hides and the child shows.
    void UndockChild(BOOL show);
    // TRUE when the bar, its view or its child is gone; else the view's document decides for the child.
    BOOL CanCloseFrame();

    void OnSizedOrDocked(int cx, int cy, BOOL floating, int changeFlags) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    INT_PTR OnToolHitTest(POINT, TOOLINFO*) const override { return -1; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The control id of every view bar: the saved bar layout leaves these bars out.
    static constexpr UINT kBarId = 0xE8FE;

    COXMDIChildWndSizeDock* m_pChildWnd = nullptr;
    CView* m_pView = nullptr;
    std::unique_ptr<COXSizeBarWrapper> m_pWrapper;
    BOOL m_bMaximized = FALSE;
    BOOL m_bDestroying = FALSE;

    // Puts the view where the bar's state wants it and sizes it.
    void PlaceView();
    // Puts the view back into its child window (the framework finds a document's frames through the
    // views' parents).
    void ReturnView();

protected:
    BOOL IsLiveChild() const;
};
