// CMDIChildWnd: a frame inside an MDI frame's MDICLIENT, showing one document's view.
#pragma once

#include "platform/framework/frames/MDIFrameWnd.h"

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() = default;

    // The template's menu and accelerators shown while this child is active.
    HMENU m_hMenuShared = nullptr;

    virtual BOOL Create(LPCTSTR className, LPCTSTR title,
                        DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CMDIFrameWnd* parent = nullptr,
                        CCreateContext* context = nullptr);
    BOOL LoadFrame(UINT resourceId,
                   DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL DestroyWindow() override;
    void ActivateFrame(int showCmd = -1) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void OnUpdateFrameTitle(BOOL addToTitle) override;
    virtual void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt);
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
