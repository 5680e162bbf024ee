#include "platform/framework/window/CmdUI.h"

#include "platform/framework/window/Menu.h"
#include "platform/framework/window/Wnd.h"

void CCmdUI::Enable(BOOL on) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;  // a popup item stays as it is
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        HWND h = m_pOther->GetSafeHwnd();
        // Disabling the window that has the focus moves the focus on first.
        if (!on && h && ::GetFocus() == h) {
            HWND parent = ::GetParent(h);
            if (parent)
                ::SendMessage(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        if (h)
            ::EnableWindow(h, on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && m_pOther->GetSafeHwnd()) {
        if (::SendMessage(m_pOther->GetSafeHwnd(), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessage(m_pOther->GetSafeHwnd(), BM_SETCHECK, (WPARAM)check, 0);
    }
}

void CCmdUI::SetRadio(BOOL on) {
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR text) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        // The item keeps its state and becomes a string item: an owner-drawn item would take the text's
        // address as its item data.
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & ~(MF_POPUP | MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR);
        ::ModifyMenu(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
    } else if (m_pOther && m_pOther->GetSafeHwnd()) {
        if (GetWindowTextString(m_pOther->GetSafeHwnd()) != text)
            ::SetWindowText(m_pOther->GetSafeHwnd(), text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!target || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and popups are not commands
    m_bEnableChanged = FALSE;
    BOOL result = target->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        BOOL handler = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(handler);
    }
    return result;
}
