// CListBox: the list box's wrapper, for kind tests and the calls on a list box window.
#pragma once

#include "platform/framework/window/Wnd.h"

#ifndef LB_GETCOUNT
#define LB_GETCOUNT 0x018B
#define LB_GETTOPINDEX 0x018E
#define LB_SETTOPINDEX 0x0197
#endif

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    int GetCount() const { return (int)::SendMessage(m_hWnd, LB_GETCOUNT, 0, 0); }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return (int)::SendMessage(m_hWnd, LB_SETTOPINDEX, (WPARAM)index, 0); }
};
