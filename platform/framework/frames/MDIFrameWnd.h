// CMDIFrameWnd: a frame whose client area is an MDICLIENT window holding CMDIChildWnd frames.
#pragma once

#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Mdi.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() = default;

    HWND m_hWndMDIClient = nullptr;
    // Set while a command goes through the active child, so the child leaves the application to us.
    BOOL m_bRoutingToChild = FALSE;

    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    // Makes the MDICLIENT window, listing the children in `windowMenu`.
    virtual BOOL CreateClient(LPCREATESTRUCT cs, CMenu* windowMenu);

    // Virtual: a frame may count a child outside the client (a docked one) as the active child.
    virtual CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDINext() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    void MDIPrev() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
    void MDIMaximize(CWnd* child);
    void MDIRestore(CWnd* child);
    void MDICascade() { ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
    void MDITile(int how = MDITILE_HORIZONTAL) { ::SendMessage(m_hWndMDIClient, WM_MDITILE, (WPARAM)how, 0); }
    void MDIIconArrange() { ::SendMessage(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
    // Shows `frameMenu` in the menu bar with the child list in `windowMenu` (found in the menu when null).
    CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);
    HMENU MDISetMenu(HMENU frameMenu, HMENU windowMenu);

    CFrameWnd* GetActiveFrame() override;
    // The menu of the active child's template, or the frame's own when no child is active.
    virtual void OnUpdateFrameMenu(HMENU menuAlt);
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HACCEL GetDefaultAccelerator() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    BOOL OnMDIWindowCmd(UINT id);
    void OnUpdateMDIWindowCmd(CCmdUI* ui);
    void OnWindowNew();
    DECLARE_MESSAGE_MAP()
};
