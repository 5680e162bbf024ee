// The customize dialog: a modeless dialog that shows one customize page at a time.
#pragma once

#include "guilib/customize/OXCustomizePage.h"

class COXCustomizeManager : public CDialog {
    DECLARE_DYNAMIC(COXCustomizeManager)

public:
    COXCustomizeManager() = default;

    // The window that the pages use as the parent of theirs: the dialog itself.
    virtual CWnd* GetManagerWnd() { return this; }
};
