#include "platform/framework/controls/StatusBarCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

int CStatusBarCtrl::GetTextLength(int pane, int* type) const {
    DWORD r = (DWORD)::SendMessage(m_hWnd, SB_GETTEXTLENGTH, (WPARAM)pane, 0);
    if (type)
        *type = HIWORD(r);
    return LOWORD(r);
}

CString CStatusBarCtrl::GetText(int pane, int* type) const {
    int length = GetTextLength(pane, type);
    if (type && (*type & SBT_OWNERDRAW))
        return CString();
    std::string text((size_t)length + 1, '\0');
    ::SendMessage(m_hWnd, SB_GETTEXT, (WPARAM)pane, (LPARAM)text.data());
    text.resize((size_t)length);
    return CString(text.c_str());
}
