// CRichEditCtrl: the rich edit control's wrapper, for kind tests.
#pragma once

#include "platform/framework/window/Wnd.h"

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;
};
