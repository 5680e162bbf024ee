// What the cool scroll bar, spin and slider share: their flat look lies in the client area, so no cool
// border is drawn, the control paints itself first and the class overpaints it (`OnPaint`), and a
// change of the active look repaints the client area at once.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"

template <class T>
class COXCoolClientCtrl : public COXCoolCtrl<T> {
public:
    void SetFocusState(BOOL bActive) override {
        COXCoolCtrl<T>::SetFocusState(bActive);
        if (this->m_hWnd)
            ::RedrawWindow(this->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCPAINT)
            return T::WindowProc(message, wParam, lParam);
        LRESULT result = COXCoolCtrl<T>::WindowProc(message, wParam, lParam);
        if (message == WM_PAINT)
            OnPaint();
        return result;
    }

protected:
    // The flat overpainting after the control's own painting.
    virtual void OnPaint() = 0;
};
