// A plain child window that scrolls and zooms a logical drawing area: a total size under a mapping mode,
// a zoom from 10 to 1000 percent, an alignment of content smaller than the window, keyboard, wheel and
// optional smooth scrolling, an optional zoom to a dragged rectangle, and a context menu of zoom commands.
#pragma once

#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/Menu.h"
#include "platform/framework/window/Wnd.h"

#define ID_OXSCROLLWND_ZOOM_10 26790
#define ID_OXSCROLLWND_ZOOM_1000 26802
#define ID_OXSCROLLWND_ZOOM_TO_FIT 26803
#define ID_OXSCROLLWND_ALWAYSFIT 26804
#define ID_OXSCROLLWND_TRACKZOOM 26805
#define ID_OXSCROLLWND_SMOOTHSCROLL 26806

class CPrintInfo;

class COXScrollWnd : public CWnd {
    DECLARE_DYNAMIC(COXScrollWnd)
public:
    enum ZoomAnchor { ZA_TOPLEFT = 1, ZA_BOTTOMLEFT = 2, ZA_CENTER = 3 };
    enum ContentAlignment {
        CA_TOPLEFT, CA_TOPCENTER, CA_TOPRIGHT, CA_CENTERLEFT, CA_CENTER, CA_CENTERRIGHT,
        CA_BOTTOMLEFT, CA_BOTTOMCENTER, CA_BOTTOMRIGHT
    };

    COXScrollWnd() = default;

    virtual void FillOutsideRect(CDC* dc, CBrush* brush);
    virtual BOOL Initialize();
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual BOOL OnScroll(UINT scrollCode, UINT pos, BOOL doScroll = TRUE);
    virtual BOOL OnScrollBy(SIZE scrollSize, BOOL doScroll = TRUE);
    virtual BOOL OnSmoothScroll(UINT scrollCode, UINT pos, BOOL doScroll = TRUE);
    virtual BOOL OnContextMenuShow(CMenu* menu, POINT point);
    virtual BOOL OnKeyScroll(UINT virtualKey);

    void SetScrollSizes(int mapMode, SIZE total, SIZE page = SIZE{0, 0}, SIZE line = SIZE{0, 0});
    // Page and line as percentages of the client size.
    void SetPercentSizes(SIZE pagePercent, SIZE linePercent);
    // The old zoom.
    int SetZoom(int percent, int anchor = 0);
    int GetZoom() const { return m_nZoom; }
    // The zoom at which the whole total fits the client area; applied.
    int ZoomToFit();
    void ScrollToPosition(POINT logical, int anchor = 0);
    POINT GetScrollPosition() const;
    void UpdateBars();
    // The viewport origin: minus the scroll position, moved for small content by the alignment.
    POINT GetContentOffset() const;

    void SetContentAlignment(int alignment) { m_nContentAlignment = alignment; }
    void SetZoomAnchor(int anchor) { m_nZoomAnchor = anchor; }
    void SetSmoothScrolling(BOOL on) { m_bSmoothScroll = on; }
    void SetAlwaysFitWindow(BOOL on);
    void SetTrackZoom(BOOL on) { m_bTrackZoom = on; }
    void SetUseContextMenu(BOOL on) { m_bUseContextMenu = on; }
    BOOL IsSmoothScrolling() const { return m_bSmoothScroll; }
    BOOL IsAlwaysFitWindow() const { return m_bAlwaysFitWindow; }
    BOOL IsTrackZoom() const { return m_bTrackZoom; }
    SIZE GetTotalDeviceSize() const { return m_totalDev; }
    SIZE GetPageDeviceSize() const { return m_pageDev; }
    SIZE GetLineDeviceSize() const { return m_lineDev; }
    int GetMapMode() const { return m_nMapMode; }
    // The context menu as it would show now (the caller destroys it).
    HMENU BuildContextMenu();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CalcWindowRect(LPRECT rc, UINT adjustType = adjustBorder) override;

    static constexpr int kSmoothLineSteps = 4;
    static constexpr int kSmoothPageSteps = 12;
    static constexpr int kSmoothStepMs = 10;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    void OnMouseWheelMessage(WPARAM wParam);
    void TrackZoom(POINT point);
    void ShowContextMenu(POINT point);
    // Device units of a logical size under the current mode and zoom.
    SIZE LogicalToDevice(SIZE logical) const;
    void ComputeDeviceSizes();
    bool HasBar(int bar) const;
    void ScrollToDevicePosition(POINT device);

    int m_nMapMode = 0;
    SIZE m_totalLog{0, 0};
    SIZE m_pageLog{0, 0};
    SIZE m_lineLog{0, 0};
    POINT m_windowOrigin{0, 0};
    SIZE m_totalDev{0, 0};
    SIZE m_pageDev{0, 0};
    SIZE m_lineDev{0, 0};
    SIZE m_pagePercent{0, 0};
    SIZE m_linePercent{0, 0};
    BOOL m_bUsePercent = FALSE;
    int m_nZoom = 100;
    int m_nZoomAnchor = ZA_TOPLEFT;
    int m_nContentAlignment = CA_TOPLEFT;
    BOOL m_bSmoothScroll = FALSE;
    BOOL m_bSmoothRunning = FALSE;
    BOOL m_bAlwaysFitWindow = FALSE;
    BOOL m_bUseContextMenu = TRUE;
    BOOL m_bTrackZoom = FALSE;
    BOOL m_bInsideUpdate = FALSE;
};
