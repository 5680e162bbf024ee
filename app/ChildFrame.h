// The MDI child frame around each report view: the framework's own, with its window style.
#pragma once

#include "platform/framework/frames/MDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame() = default;
};
