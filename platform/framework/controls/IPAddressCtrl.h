// CIPAddressCtrl: the IP address control's wrapper (what the library's code uses of it: the window).
#pragma once

#include "platform/framework/window/Wnd.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)
};
