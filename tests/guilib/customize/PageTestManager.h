// The customize dialog the page tests show their pages in: an empty popup owned by the test's frame.
#pragma once

#include "guilib/customize/OXCustomizeManager.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"

class PageTestManager : public COXCustomizeManager {
public:
    // Visible at once for tests that type into the page; else resizable and shown by the test.
    BOOL Open(CWnd* owner, BOOL bVisible = FALSE) {
        static const DialogTemplate resizable{600, WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 0, 0, 400, 300,
                                              "Customize", nullptr, 0, {}};
        static const DialogTemplate visible{600, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 0, 400, 300,
                                            "Customize", nullptr, 0, {}};
        return CreateIndirect(bVisible ? &visible : &resizable, owner);
    }
    // Shows the dialog and in it the page, over its whole client area; FALSE when the page does not show.
    BOOL ShowFilling(COXCustomizePage* page) {
        ShowWindow(SW_SHOW);
        if (!page->ShowInManager(this))
            return FALSE;
        RECT client{};
        GetClientRect(&client);
        page->MoveWindow(0, 0, client.right, client.bottom);
        Pump();
        return TRUE;
    }
};
