// The cool scroll bar control: flat arrow boxes and thumb while neither hot nor focused.
#pragma once

#include "guilib/controls/OXCoolCtrl.h"
#include "platform/framework/controls/ScrollBar.h"

class COXCoolScrollBar : public COXCoolCtrl<CScrollBar> {
public:
    void SetFocusState(BOOL bActive) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint();
};
