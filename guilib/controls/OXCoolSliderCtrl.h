// The cool slider: a flat thumb and channel while neither hot nor focused.
#pragma once

#include "guilib/controls/OXCoolClientCtrl.h"
#include "platform/framework/controls/SliderCtrl.h"

class COXCoolSliderCtrl : public COXCoolClientCtrl<CSliderCtrl> {
protected:
    void OnPaint() override;
};
