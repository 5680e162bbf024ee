#include "platform/framework/dialogs/ColorDialog.h"

#include "platform/framework/app/WinThread.h"

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
    m_pParentWnd = parent;
    m_cc.lStructSize = sizeof m_cc;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = flags;
    if (initial != 0)
        SetCurrentColor(initial);
}

COLORREF* CColorDialog::GetSavedCustomColors() {
    static COLORREF colors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return colors;
}

INT_PTR CColorDialog::DoModal() {
    m_cc.hwndOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!m_cc.hwndOwner)
        if (CWnd* main = AfxGetMainWnd())
            m_cc.hwndOwner = main->GetSafeHwnd();
    return ::ChooseColor(&m_cc) ? IDOK : IDCANCEL;
}
