// CGridDropTarget: registers a grid window as a drop target and hands the drag's events to the grid.
#pragma once

#include "platform/framework/ole/OleDropTarget.h"

class CGridCtrl;

class CGridDropTarget : public COleDropTarget {
public:
    CGridDropTarget() = default;

    BOOL Register(CGridCtrl* pGridCtrl);
    // Clears the registered flag, then revokes the registration.
    void Revoke();
    BOOL IsRegistered() const { return m_bRegistered; }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, POINT point) override;

    CGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;
};
