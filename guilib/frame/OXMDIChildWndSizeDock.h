// COXMDIChildWndSizeDock: an MDI child that can leave the MDI client and dock at a frame edge as a sizing
// bar (its COXSizeViewBar), and come back. "Dock window" in its window menu and context menu toggles it;
// the command is the registered message "_DOCK_MDICHILD_".
#pragma once

#include "guilib/frame/OXSizeViewBar.h"
#include "platform/framework/frames/MDIChildWnd.h"

class CMenu;

// The caption of the dock item.
#define IDS_OX_DOCKWINDOW 26965

class COXMDIChildWndSizeDock : public CMDIChildWnd {
    DECLARE_DYNCREATE(COXMDIChildWndSizeDock)
public:
    COXMDIChildWndSizeDock();
    ~COXMDIChildWndSizeDock() override;

    // The registered message "_DOCK_MDICHILD_": the dock item's command and system-command id.
    static UINT GetDockCommand();

    virtual void BuildDockMenu(CMenu* popup);
    virtual void AppendDockMenuItems(CMenu* menu);

    BOOL Create(LPCTSTR className, LPCTSTR title, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CMDIFrameWnd* parent = nullptr,
                CCreateContext* context = nullptr) override;
    void ToggleDockState();
    // Docks (through the view bar) or undocks when the frame is a docking frame and the state differs.
    BOOL SetDocked(BOOL dock, DWORD side = CBRS_ALIGN_TOP, BOOL besideLast = FALSE);
    BOOL IsDocked() const { return m_bDocked; }
    CMDIChildWnd* GetActiveMDIChild();

    void ActivateFrame(int showCmd = -1) override;
    BOOL DestroyWindow() override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COXSizeViewBar m_wndViewBar;
    BOOL m_bDocked = FALSE;
    CString m_sMenuCaption;
    DWORD m_dwAllowedDockSides = CBRS_ALIGN_ANY;
    BOOL m_bClosing = FALSE;
    // Hidden while MDI still holds it active (no other child was visible): not the frame's active child.
    BOOL m_bPseudoInactive = FALSE;

protected:
    void OnClose();
    void RefreshWindowMenu();
};
