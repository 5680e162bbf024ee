// COXMDIFrameWndSizeDock: the MDI frame on which sizing bars work. Its dock bars are sizing dock bars,
// its floating frames sizable mini frames; it keeps the sizing bar that holds the focus and saves and
// restores the bar layout (dock state plus each sizing bar's sizes) in a profile section.
#pragma once

#include "platform/framework/frames/MDIFrameWnd.h"

class COXSizeControlBar;

class COXMDIFrameWndSizeDock : public CMDIFrameWnd {
    DECLARE_DYNCREATE(COXMDIFrameWndSizeDock)
public:
    COXMDIFrameWndSizeDock();
    ~COXMDIFrameWndSizeDock() override;

    // Sizing dock bars on the sides of `dockStyle`; floating frames are sizable mini frames.
    void EnableDocking(DWORD dockStyle);

    void SaveSizeBarState(LPCTSTR section);
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

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COXSizeControlBar* m_pActiveSizeBar = nullptr;
    CWnd* m_pActiveDockChild = nullptr;
    BOOL m_bBeingClosed = FALSE;
    // The answer to WM_USER+0x5C: non-zero drags sizing bars live instead of with a tracking rectangle.
    int m_nLiveDragging = 0;
};
