#include "controls/GridDropTarget.h"

#include "controls/GridCtrl.h"

BOOL CGridDropTarget::Register(CGridCtrl* pGridCtrl) {
    if (m_bRegistered || !pGridCtrl || !pGridCtrl->GetSafeHwnd())
        return FALSE;
    m_pGridCtrl = pGridCtrl;
    m_bRegistered = COleDropTarget::Register(pGridCtrl);
    return m_bRegistered;
}

void CGridDropTarget::Revoke() {
    m_bRegistered = FALSE;
    COleDropTarget::Revoke();
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) {
    return m_pGridCtrl ? m_pGridCtrl->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) {
    return m_pGridCtrl ? m_pGridCtrl->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void CGridDropTarget::OnDragLeave(CWnd*) {
    if (m_pGridCtrl)
        m_pGridCtrl->OnDragLeave();
}

BOOL CGridDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point) {
    return m_pGridCtrl ? m_pGridCtrl->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, POINT point) {
    return COleDropTarget::OnDragScroll(pWnd, dwKeyState, point);
}
