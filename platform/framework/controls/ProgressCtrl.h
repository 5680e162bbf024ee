// CProgressCtrl: the progress bar control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/Controls.h"

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(PROGRESS_CLASS, nullptr, style, rect, parent, id);
    }
    void SetRange(short low, short high) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    void SetRange32(int low, int high) { SendMessage(PBM_SETRANGE32, (WPARAM)low, (LPARAM)high); }
    int SetPos(int pos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)pos, 0); }
    int GetPos() { return (int)SendMessage(PBM_GETPOS, 0, 0); }
    int OffsetPos(int pos) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)pos, 0); }
    int SetStep(int step) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)step, 0); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT, 0, 0); }
};
