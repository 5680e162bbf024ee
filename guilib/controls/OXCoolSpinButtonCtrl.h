// The cool up-down control: flat arrow buttons while neither hot nor focused; attached to a cool
// edit, it also draws the part of the edit's border that it covers.
#pragma once

#include "guilib/controls/OXCoolClientCtrl.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

class COXCoolSpinButtonCtrl : public COXCoolClientCtrl<CSpinButtonCtrl> {
protected:
    void OnPaint() override;
};
