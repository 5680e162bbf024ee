// COXTabViewContainer: a child window showing one of its pages at a time, chosen by sheet tabs along its
// bottom edge; its own scroll bars stand in for those of the active page.
#pragma once

#include "platform/framework/window/Wnd.h"

class COXTabViewContainer : public CWnd {
    DECLARE_DYNAMIC(COXTabViewContainer)
public:
    COXTabViewContainer() = default;
    ~COXTabViewContainer() override = default;
};
