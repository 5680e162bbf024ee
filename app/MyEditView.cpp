#include "app/MyEditView.h"

#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNCREATE(CMyEditView, COXNotesEditView)

CMyEditView::CMyEditView() : COXTabViewPage<COXNotesEditView>(COXNotesEditView::NotesLeft, -1, COXNotesEditView::NotesImages) {
    m_clrText = RGB(0, 0, 255);
}

CMyEditView::~CMyEditView() {
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

void CMyEditView::OnUpdate(CView*, LPARAM, CObject*) {
    if (!m_hFont)
        m_hFont = ::CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN,
                               "Courier New");
    ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)m_hFont, FALSE);
    if (m_hTextBrush)
        ::DeleteObject(m_hTextBrush);
    m_hTextBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    m_clrText = RGB(0, 0, 255);
    Invalidate(TRUE);
}

// Redrawing is switched off and on so that the page repaints whole.
void CMyEditView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {
    if (activate && activateView == this) {
        SendMessage(WM_SETREDRAW, FALSE, 0);
        SendMessage(WM_SETREDRAW, TRUE, 0);
        Invalidate(TRUE);
    }
    COXTabViewPage<COXNotesEditView>::OnActivateView(activate, activateView, deactiveView);
}

LRESULT CMyEditView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL && !(LOWORD(wParam) & (MK_SHIFT | MK_CONTROL))) {
        // Three lines per wheel message, down towards the user.
        WPARAM code = (short)HIWORD(wParam) < 0 ? SB_LINEDOWN : SB_LINEUP;
        for (int i = 0; i < 3; ++i)
            ::PostMessage(m_hWnd, WM_VSCROLL, code, 0);
        return 0;
    }
    return COXTabViewPage<COXNotesEditView>::WindowProc(message, wParam, lParam);
}
