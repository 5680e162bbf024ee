// COleDropSource: the dragging side's say in a drag: whether it goes on, and the feedback.
#pragma once

#include "platform/framework/ole/Ole.h"
#include "platform/framework/window/Wnd.h"

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource() = default;

    // S_OK to go on, DRAGDROP_S_DROP when the button that drags is up, DRAGDROP_S_CANCEL on Escape or
    // the other button.
    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    virtual SCODE GiveFeedback(DROPEFFECT effect);
    // Waits (mouse captured by `wnd`) until the mouse leaves m_rectStartDrag: TRUE; FALSE when the
    // button goes up or Escape comes first. An empty rectangle starts at once.
    virtual BOOL OnBeginDrag(CWnd* wnd);

    BOOL m_bDragStarted = FALSE;
    DWORD m_dwButtonCancel = MK_RBUTTON;
    DWORD m_dwButtonDrop = MK_LBUTTON;
    RECT m_rectStartDrag{};
};
