// CMonthCalCtrl: the month calendar's wrapper (what the library's code uses of it: the window).
#pragma once

#include "platform/framework/window/Wnd.h"

class CMonthCalCtrl : public CWnd {
    DECLARE_DYNAMIC(CMonthCalCtrl)
};
