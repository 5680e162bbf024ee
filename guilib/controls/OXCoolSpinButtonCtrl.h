// The cool up-down control: flat arrow buttons while neither hot nor focused; attached to a cool
// edit, it also draws the part of the edit's border that it covers.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/framework/controls/SpinButtonCtrl.h"

class COXCoolSpinButtonCtrl : public COXCoolCtrl<CSpinButtonCtrl> {
public:
    void SetFocusState(BOOL bActive) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint();
};
