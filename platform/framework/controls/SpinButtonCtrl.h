// CSpinButtonCtrl: the up-down control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/UpDown.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(UPDOWN_CLASS, nullptr, style, rect, parent, id);
    }
    int GetPos() const { return (int)(short)LOWORD(Send(UDM_GETPOS, 0, 0)); }
    int SetPos(int pos) { return (int)(short)LOWORD(Send(UDM_SETPOS, 0, MAKELPARAM(pos, 0))); }
    int GetPos32(BOOL* error = nullptr) const { return (int)Send(UDM_GETPOS32, 0, (LPARAM)error); }
    int SetPos32(int pos) { return (int)Send(UDM_SETPOS32, 0, (LPARAM)pos); }
    DWORD GetRange() const { return (DWORD)Send(UDM_GETRANGE, 0, 0); }
    void GetRange(int& lower, int& upper) const {
        DWORD r = GetRange();
        lower = (short)HIWORD(r);
        upper = (short)LOWORD(r);
    }
    void GetRange32(int& lower, int& upper) const { Send(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
    void SetRange(short lower, short upper) { Send(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
    void SetRange32(int lower, int upper) { Send(UDM_SETRANGE32, (WPARAM)lower, (LPARAM)upper); }
    CWnd* GetBuddy() const { return FromHandle((HWND)Send(UDM_GETBUDDY, 0, 0)); }
    CWnd* SetBuddy(CWnd* buddy) {
        return FromHandle((HWND)Send(UDM_SETBUDDY, (WPARAM)(buddy ? buddy->m_hWnd : nullptr), 0));
    }
    BOOL SetAccel(int count, UDACCEL* accel) { return (BOOL)Send(UDM_SETACCEL, (WPARAM)count, (LPARAM)accel); }
    UINT GetAccel(int count, UDACCEL* accel) const {
        UINT n = (UINT)count;
        return (UINT)Send(UDM_GETACCEL, (WPARAM)&n, (LPARAM)accel);
    }
    int SetBase(int base) { return (int)Send(UDM_SETBASE, (WPARAM)base, 0); }
    UINT GetBase() const { return (UINT)Send(UDM_GETBASE, 0, 0); }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
