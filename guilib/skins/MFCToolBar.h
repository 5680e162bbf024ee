// CMFCToolBar: the library's thin tool bar over the framework's; it always aligns at the top when
// created and shows tool tips exactly while its bar style asks for them.
#pragma once

#include "platform/framework/bars/ToolBar.h"

class CMFCToolBar : public CToolBar {
    DECLARE_DYNAMIC(CMFCToolBar)
public:
    CMFCToolBar() = default;
    ~CMFCToolBar() override = default;

    // As CToolBar::CreateEx, with CBRS_ALIGN_TOP as the only alignment.
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  RECT borders = RECT{0, 0, 0, 0}, UINT id = AFX_IDW_TOOLBAR);
    void SetBarStyle(DWORD style);

protected:
    DECLARE_MESSAGE_MAP()
};
