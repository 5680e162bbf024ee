// CControlBar: a bar along a side of its frame (tool bar, status bar, dock bar) that takes its share of
// the frame's client area when the frame lays itself out (WM_SIZEPARENT), updates its items at idle time,
// may dock at the frame's sides or float in a small frame of its own, and draws its borders and gripper
// around its client area.
#pragma once

#include "platform/framework/frames/FrameWnd.h"

// Bar styles (m_dwStyle).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class CDockBar;
class CDockContext;
class CControlBarInfo;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // How many items the bar has (buttons, panes, docked bars).
    int GetCount() const { return m_nCount; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    void SetBorders(int left = 0, int top = 0, int right = 0, int bottom = 0);
    RECT GetBorders() const { return RECT{m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder}; }
    // The frame the bar docks in (its floating frame while it floats).
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    // Visible, or about to be shown by a delayed show.
    virtual BOOL IsVisible() const;
    virtual BOOL IsDockBar() const { return FALSE; }

    // The sides the bar may dock at (CBRS_ALIGN_*, CBRS_FLOAT_MULTI); 0 keeps it where it is.
    void EnableDocking(DWORD dockStyle);
    // Shows or hides the bar at the frame's next layout (idle time).
    void DelayShow(BOOL show);

    // Sizes: the bar's size with its borders, stretched to the whole side or not.
    virtual SIZE CalcFixedLayout(BOOL stretch, BOOL horz);
    virtual SIZE CalcDynamicLayout(int length, DWORD mode);
    // The client area less the borders and gripper.
    virtual void CalcInsideRect(RECT& rect, BOOL horz) const;
    virtual void DoPaint(HDC dc);
    virtual void DrawBorders(HDC dc, RECT& rect);
    virtual void DrawGripper(HDC dc, const RECT& rect);
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) { (void)oldStyle, (void)newStyle; }
    // The command of the item at `point` (client coordinates), or -1 when there is none; `info`, when
    // given, gets the item as a tool of the bar's tooltips.
    INT_PTR OnToolHitTest(POINT point, TOOLINFO* info) const override;
    // With CBRS_TOOLTIPS the bar's items show tips (their strings' text after "\n").
    BOOL PreTranslateMessage(MSG* msg) override;
    // What the dock state keeps of the bar, and the bar set from it.
    virtual void GetBarInfo(CControlBarInfo* info);
    virtual void SetBarInfo(CControlBarInfo* info, CFrameWnd* frame);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // State (public as the docking classes share it).
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;
    BOOL m_bAutoDelete = FALSE;
    int m_nMRUWidth = 32767;
    int m_cxLeftBorder = 6, m_cxRightBorder = 6, m_cyTopBorder = 2, m_cyBottomBorder = 2;
    int m_cxDefaultGap = 2;
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4 };
    UINT m_nStateFlags = 0;

protected:
    int m_nCount = 0;
    UINT m_nFlyById = 0;  // the item whose prompt the frame shows (CBRS_FLYBY)

    // The window style after the delayed show or hide of this layout (applied unless a query).
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout);
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    LRESULT OnSizeParent(WPARAM, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM);
    LRESULT OnHelpHitTest(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()
};

// The drag and gripper sizes of the Classic look.
constexpr int AFX_CX_BORDER = 1;
constexpr int AFX_CY_BORDER = 1;
constexpr int AFX_CX_GRIPPER = 3;
constexpr int AFX_CY_GRIPPER = 3;
constexpr int AFX_CX_BORDER_GRIPPER = 2;
constexpr int AFX_CY_BORDER_GRIPPER = 2;
