// CDateTimeCtrl: the date and time picker's wrapper (what the library's code uses of it: the window).
#pragma once

#include "platform/framework/window/Wnd.h"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
};
