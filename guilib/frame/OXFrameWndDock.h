// COXMDIFrameWndSizeDock: the MDI frame on which sizing bars work. Its dock bars are sizing dock bars,
// its floating frames sizable mini frames; it keeps the sizing bar that holds the focus and saves and
// restores the bar layout (dock state plus each sizing bar's sizes) in a profile section.
#pragma once

#include "platform/framework/frames/MDIFrameWnd.h"

class CDockState;
class COXSizeControlBar;
class COXMDIChildWndSizeDock;

class COXMDIFrameWndSizeDock : public CMDIFrameWnd {
    DECLARE_DYNCREATE(COXMDIFrameWndSizeDock)
public:
    COXMDIFrameWndSizeDock();
    ~COXMDIFrameWndSizeDock() override;

    // Sizing dock bars on the sides of `dockStyle`; floating frames are sizable mini frames.
    void EnableDocking(DWORD dockStyle);

    void SaveSizeBarState(LPCTSTR section);
    // Takes the bars of docked MDI children (and floating frames left empty) out of a dock state.
    static void LeaveOutViewBars(CDockState& state);
    void LoadSizeBarState(LPCTSTR section);
    // Floats the bar in an MDI float window at `screen` inside the MDI client.
    void FloatControlBarInMDIChild(CControlBar* bar, POINT screen, DWORD style, BOOL show = TRUE);
    using CFrameWnd::FloatControlBar;
    // Whether the bar floats in an MDI float window.
    BOOL IsInMDIFloat(CControlBar* bar) const;

    // The 28-byte size record of a sizing bar: seven little-endian int32.
    static void PackBarSizes(const COXSizeControlBar* bar, BOOL mdiFloat, BYTE out[28]);
    // FALSE (nothing changed) unless `bytes` is 28 and no size is negative.
    static BOOL UnpackBarSizes(const BYTE* data, UINT bytes, COXSizeControlBar* bar, BOOL* mdiFloat);

    // The docked child that counts as the active MDI child, else the client's active child (null when
    // that window is gone). The framework's routing, menus, titles and accelerators ask this one.
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const override;
    // A command no target handles leaves the view that was active before it was routed.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Keeps a live child as the active docked child; anything else clears it.
    void SetActiveDockedChild(COXMDIChildWndSizeDock* child);
    // Activates a child: a docked one is kept as the active docked child, another goes through the client.
    void ActivateChild(CMDIChildWnd* child);
    CFrameWnd* GetActiveFrame() override;
    // The active view is let go first: a docked view may already be gone with its bar.
    BOOL DestroyWindow() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COXSizeControlBar* m_pActiveSizeBar = nullptr;
    COXMDIChildWndSizeDock* m_pActiveDockChild = nullptr;
    HWND m_hActiveDockChild = nullptr;  // its window, to tell a child that is gone
    BOOL m_bBeingClosed = FALSE;
    // The answer to WM_USER+0x5C: non-zero drags sizing bars live instead of with a tracking rectangle.
    int m_nLiveDragging = 0;

protected:
    // Tells every dockable child whether it is the active one, makes the active child's view the frame's
    // and updates the title.
    void RefreshActivation();
};
