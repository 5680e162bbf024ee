// The cool scroll bar control: flat arrow boxes and thumb while neither hot nor focused.
#pragma once

#include "guilib/controls/OXCoolClientCtrl.h"
#include "platform/framework/controls/ScrollBar.h"

class COXCoolScrollBar : public COXCoolClientCtrl<CScrollBar> {
protected:
    void OnPaint() override;
};
