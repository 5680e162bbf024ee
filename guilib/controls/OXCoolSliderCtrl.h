// The cool slider: a flat thumb and channel while neither hot nor focused.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/framework/controls/SliderCtrl.h"

class COXCoolSliderCtrl : public COXCoolCtrl<CSliderCtrl> {
public:
    void SetFocusState(BOOL bActive) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint();
};
