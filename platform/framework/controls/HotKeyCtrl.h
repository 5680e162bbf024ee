// CHotKeyCtrl: the hot-key control's wrapper (what the library's code uses of it: the window).
#pragma once

#include "platform/framework/window/Wnd.h"

class CHotKeyCtrl : public CWnd {
    DECLARE_DYNAMIC(CHotKeyCtrl)
};
