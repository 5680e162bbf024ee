#include "guilib/skins/MFCToolBar.h"

IMPLEMENT_DYNAMIC(CMFCToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CMFCToolBar, CToolBar)
END_MESSAGE_MAP()

BOOL CMFCToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, RECT borders, UINT id) {
    style = (style & ~(DWORD)(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) | CBRS_ALIGN_TOP;
    return CToolBar::CreateEx(parent, ctrlStyle, style, borders, id);
}

void CMFCToolBar::SetBarStyle(DWORD style) {
    if (m_hWnd)
        EnableToolTips((style & CBRS_TOOLTIPS) != 0);
    CControlBar::SetBarStyle(style);
}
