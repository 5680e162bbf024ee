// The cool push button, check box and radio button: the button paints itself, then its 3D edges are
// painted over flat while it is neither hot nor focused.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/framework/controls/Button.h"

class COXCoolButton : public COXCoolCtrl<CButton> {
public:
    void SetFocusState(BOOL bActive) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint();
    BOOL IsRadio() const;
};
