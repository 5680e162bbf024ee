// Forwarding helpers of drag and drop: a drop target and a drop source that turn the platform's
// callbacks into window messages 0x80AD-0x80B5, so that the window itself decides.
#pragma once

#include "platform/framework/ole/OleDropSource.h"
#include "platform/framework/ole/OleDropTarget.h"

#define SHBDTM_DRAGENTER 0x80AD
#define SHBDTM_DRAGLEAVE 0x80AE
#define SHBDTM_DRAGOVER 0x80AF
#define SHBDTM_DRAGSCROLL 0x80B0
#define SHBDTM_DROP 0x80B1
#define SHBDTM_DROPEX 0x80B2
#define SHBDSM_GIVEFEEDBACK 0x80B3
#define SHBDSM_BEGINDRAG 0x80B4
#define SHBDSM_QUERYCONTINUEDRAG 0x80B5

// The record of the drop-target messages (lParam).
struct SHBDROPTARGETACTION {
    CWnd* pWnd = nullptr;
    COleDataObject* pDataObject = nullptr;
    DWORD dwKeyState = 0;
    POINT point{};
    DROPEFFECT dropEffect = DROPEFFECT_NONE;
    DROPEFFECT dropEffectList = DROPEFFECT_NONE;
    DWORD result = 0;
};

// The record of the drag-source messages (lParam).
struct SHBDROPSOURCEACTION {
    CWnd* pWnd = nullptr;
    DWORD dwKeyState = 0;
    BOOL bEscapePressed = FALSE;
    DROPEFFECT dropEffect = DROPEFFECT_NONE;
    DWORD result = 0;
};

class COXSHBDropTarget : public COleDropTarget {
    DECLARE_DYNAMIC(COXSHBDropTarget)
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point) override;
    DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        POINT point) override;
    void OnDragLeave(CWnd* wnd) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, POINT point) override;

protected:
    LRESULT Forward(UINT message, SHBDROPTARGETACTION& action) const;
    // The scroll value of a point in the band inside the window's edges: high byte horizontal, low byte
    // vertical (0 back, 1 forward, 0xFF none); 0xFFFF outside the band.
    static UINT ScrollValueAt(HWND hwnd, POINT point);

    COleDataObject* m_pLastData = nullptr;
    UINT m_nScrollValue = 0xFFFF;
    DWORD m_dwScrollDue = 0;
};

class COXSHBDropSource : public COleDropSource {
    DECLARE_DYNAMIC(COXSHBDropSource)
public:
    SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    SCODE GiveFeedback(DROPEFFECT effect) override;
    BOOL OnBeginDrag(CWnd* wnd) override;

    // The window that the messages go to; its user sets it before a drag.
    void SetOwner(CWnd* owner) { m_pOwner = owner; }
    CWnd* GetOwner() const { return m_pOwner; }

protected:
    CWnd* m_pOwner = nullptr;
};
