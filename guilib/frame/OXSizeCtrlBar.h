// COXSizeControlBar: a control bar whose size the user sets. It keeps a floating size and a docked size
// for each orientation, shares the rows of a sizing dock bar with splitters between bars, can be
// maximized in its row, floats in a sizable mini frame, and draws a caption with a gripper, a close
// button and a maximize-in-row button through the dock-bar skin.
#pragma once

#include <memory>

#include "guilib/skins/OXSkinViews.h"
#include "platform/framework/bars/ControlBar.h"

class COXDockbarSkin;
class COXDockbarSkinClassic;
class COXSizeDockBar;
class COXDockTabCtrl;

// Size-bar flags.
#define SZBAR_DELETE_ON_CLOSE 0x001
#define SZBAR_DYNAMIC 0x002
#define SZBAR_CONTEXT_MENU 0x004
#define SZBAR_MDI_FLOAT 0x010
#define SZBAR_NO_GRIPPER 0x020
#define SZBAR_NO_CLOSE 0x040
#define SZBAR_NO_MAXIMIZE 0x080
#define SZBAR_SKIN_CAPTION 0x200

// Context-menu commands and their texts.
#define ID_OX_SHOWRESIZEBAR_PROMPT 26430
#define ID_OX_SHOWRESIZEBAR_ALLOWDOCKING 26431
#define ID_OX_SHOWRESIZEBAR_HIDE 26432
#define ID_OX_SHOWRESIZEBAR_MDIFLOAT 26433

// Private messages of the docking library.
#define WM_OX_QUERYLIVEDRAG (WM_USER + 0x5C)      // answered by the docking frame: live dragging on
#define WM_OX_ACTIVATEDOCKEDCHILD (WM_APP + 0xB6)  // wParam activate, lParam reason 1..3
#define WM_OX_APPENDCONTEXTMENU (WM_APP + 0xCC)    // lParam: a menu the bar appends its items to
#define WM_OX_SETTLEFLOATFRAME (WM_APP + 0xCD)     // the bar now floats: its mini frame settles

class COXSizeControlBar : public CControlBar, public COXSizeControlBarView {
    DECLARE_DYNAMIC(COXSizeControlBar)
public:
    explicit COXSizeControlBar(int sizeBarFlags = 0);
    ~COXSizeControlBar() override;

    virtual BOOL Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        CCreateContext* context = nullptr);
    BOOL CreateBar(CWnd* parent, LPCTSTR title, UINT id, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                   const RECT& rect = CFrameWnd::rectDefault);
    void EnableDocking(DWORD dockStyle);
    // Destroys the listed dynamic bars of `frame` and deletes every listed bar whose window is gone.
    static void TidyUp(CFrameWnd* frame);

    void SetActive(BOOL active, BOOL deactivateOthers);
    void ShowBar(BOOL show);

    // Own virtuals.
    virtual BOOL CanMaximizeInRow();
    virtual void DrawNonClient();
    virtual void OnSizedOrDocked(int cx, int cy, BOOL floating, int changeFlags);
    virtual void DrawGripper(CDC* dc);
    virtual void DrawCloseButton(CDC* dc);
    virtual void DrawSecondButton(CDC* dc);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The dock bar's kind (docked in a sizing dock bar), or null.
    COXSizeDockBar* GetSizeDockBar() const;
    // The tab strip of the sizing dock bar holding the bar, or null.
    COXDockTabCtrl* GetDockTabCtrl() const;
    // Takes the bar's tab (if any) out of its dock bar's strip.
    void RemoveFromTabs();
    BOOL IsMaximized() const { return m_bMaximized; }
    // The mouse hook shared by every sizing bar (null when no bar window exists).
    static HHOOK GetMouseHook();
    COXDockbarSkin* GetDockbarSkin();

    // COXSizeControlBarView.
    HWND GetBarHwnd() const override { return m_hWnd; }
    DWORD GetBarStyle() const override { return m_dwStyle; }
    DWORD GetSizeBarFlags() const override { return (DWORD)m_nSizeBarFlags; }
    RECT& CaptionRect() override { return m_rectGripper; }
    RECT& CloseRect() override { return m_rectCloseBtn; }
    RECT& SecondRect() override { return m_rectSecondBtn; }
    int GetPressedButton() const override { return m_nPressedButton; }
    BOOL IsMaximizedInRow() const override { return m_bMaximized; }
    BOOL IsCaptionActive() const override { return m_bActive; }
    BOOL IsActiveFrame() const override { return m_bActive; }
    void SetLayoutFlag(BOOL set) override { m_bCaptionLaidOut = set; }
    BOOL CanDockAsTab() override { return CanMaximizeInRow(); }
    void DrawBorders(CDC* dc, RECT& rect) override;

    // State (public: the dock bar, the drag context and the docking frame share it).
    SIZE m_sizeLast{65535, 65535};
    BOOL m_bLastFloating = 3;
    BOOL m_bDragging = FALSE;
    BOOL m_bDragPending = FALSE;
    int m_nTabIndex = -1;
    RECT m_rectGripper{}, m_rectCloseBtn{}, m_rectSecondBtn{};
    POINT m_ptOffset{};
    BOOL m_bFrameHighlight = FALSE;
    BOOL m_bCaptionLaidOut = FALSE;
    int m_nPressedButton = -1;
    int m_nCapturedButton = -1;  // the button pressed while the mouse is captured
    BOOL m_bMaximized = FALSE;
    BOOL m_bActive = FALSE;
    POINT m_ptButtonDown{};
    std::unique_ptr<COXDockbarSkinClassic> m_pDockbarSkin;
    int m_nSizeBarFlags;
    DWORD m_dwSavedDockStyle = 0;
    SIZE m_FloatSize{}, m_HorzDockSize{}, m_VertDockSize{}, m_SavedDockSize{};

    // The grab offset of a docked bar torn off at `screen`.
    POINT CalcGrabOffset(POINT screen) const;
    // Starts the live drag at `screen` with the grab offset computed.
    void BeginLiveDrag(POINT screen);

protected:
    BOOL IsLiveDragging() const;
    void LiveDragTo(POINT screen);
    void EndLiveDrag();
    // Which caption button (-3 close, -2 second, -1 none) lies at a client point.
    int HitButton(POINT client) const;
    void RedrawButtons();
    void OnContextMenu(POINT screen);
    void OnAllowDocking();
    void OnHideBar();
    void OnMdiFloat();
    void PostNcDestroy() override;

    static LRESULT MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
};
