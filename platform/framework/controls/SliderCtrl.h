// CSliderCtrl: the trackbar's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/Trackbar.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(TRACKBAR_CLASS, nullptr, style, rect, parent, id);
    }
    int GetPos() const { return (int)Send(TBM_GETPOS, 0, 0); }
    void SetPos(int pos) { Send(TBM_SETPOS, TRUE, (LPARAM)pos); }
    int GetRangeMin() const { return (int)Send(TBM_GETRANGEMIN, 0, 0); }
    int GetRangeMax() const { return (int)Send(TBM_GETRANGEMAX, 0, 0); }
    void GetRange(int& minimum, int& maximum) const {
        minimum = GetRangeMin();
        maximum = GetRangeMax();
    }
    void SetRangeMin(int minimum, BOOL redraw = FALSE) { Send(TBM_SETRANGEMIN, redraw, (LPARAM)minimum); }
    void SetRangeMax(int maximum, BOOL redraw = FALSE) { Send(TBM_SETRANGEMAX, redraw, (LPARAM)maximum); }
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE) {
        SetRangeMin(minimum, FALSE);
        SetRangeMax(maximum, redraw);
    }
    int GetPageSize() const { return (int)Send(TBM_GETPAGESIZE, 0, 0); }
    int SetPageSize(int size) { return (int)Send(TBM_SETPAGESIZE, 0, (LPARAM)size); }
    int GetLineSize() const { return (int)Send(TBM_GETLINESIZE, 0, 0); }
    int SetLineSize(int size) { return (int)Send(TBM_SETLINESIZE, 0, (LPARAM)size); }
    void GetThumbRect(LPRECT rc) const { Send(TBM_GETTHUMBRECT, 0, (LPARAM)rc); }
    void GetChannelRect(LPRECT rc) const { Send(TBM_GETCHANNELRECT, 0, (LPARAM)rc); }
    int GetThumbLength() const { return (int)Send(TBM_GETTHUMBLENGTH, 0, 0); }
    void SetThumbLength(int length) { Send(TBM_SETTHUMBLENGTH, (WPARAM)length, 0); }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
