// COXSizableMiniDockFrameWnd: the floating frame of sizing bars. It is resizable; its size becomes the
// floating size of the sizing bar inside. Its caption and frame are drawn by the mini-frame skin.
#pragma once

#include <memory>

#include "guilib/skins/OXMiniFrameSkin.h"
#include "platform/framework/bars/MiniDockFrameWnd.h"

class COXMDIChildWndSizeDock;

class COXSizableMiniDockFrameWnd : public CMiniDockFrameWnd, public COXMiniFrameView {
    DECLARE_DYNCREATE(COXSizableMiniDockFrameWnd)
public:
    COXSizableMiniDockFrameWnd();
    ~COXSizableMiniDockFrameWnd() override;

    BOOL Create(CWnd* parent, DWORD barStyle) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The mouse hook shared by every sizable mini frame (null when none exists).
    static HHOOK GetMouseHook();
    COXMiniFrameSkin* GetMiniFrameSkin();
    // The caption-menu state: 0 undecided, 1 plain floating frame, 2 frame of one sizing bar.
    int m_nContainedBarType = 0;
    BOOL m_bBeingClosed = FALSE;

    // COXMiniFrameView.
    HWND GetFrameHwnd() const override { return m_hWnd; }
    LRESULT Default() override { return CWnd::Default(); }
    BOOL DefaultNcActivate(BOOL active) override;
    HWND GetViewBarChild() const override;
    HWND GetActiveMDIChild() const override;

protected:
    // The docked MDI child whose view bar is the first bar here, while its window exists.
    COXMDIChildWndSizeDock* ViewBarChild() const;
    // Decides the caption menu and the frame style from the bars inside.
    void SettleFrame();
    // Opens the window menu at a screen point and carries out the command chosen.
    void TrackWindowMenu(POINT screen, UINT flags);
    // Sends SC_CLOSE when the window menu has items.
    void CloseFromButton(LPARAM screenPoint);
    // The close button pressed and the mouse captured until the button is released.
    BOOL m_bCloseButtonDown = FALSE;
    std::unique_ptr<COXMiniFrameSkinClassic> m_pMiniFrameSkin;
    static LRESULT MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
};
