// CHotKeyCtrl: the hot-key control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"
#include "platform/user/HotKey.h"

class CHotKeyCtrl : public CWnd {
    DECLARE_DYNAMIC(CHotKeyCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(HOTKEY_CLASS, nullptr, style, rect, parent, id);
    }
    // `modifiers` are HOTKEYF_ flags.
    void SetHotKey(WORD virtualKey, WORD modifiers) {
        ::SendMessage(m_hWnd, HKM_SETHOTKEY, MAKEWORD(LOBYTE(virtualKey), LOBYTE(modifiers)), 0);
    }
    DWORD GetHotKey() const { return (DWORD)::SendMessage(m_hWnd, HKM_GETHOTKEY, 0, 0); }
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const {
        const DWORD value = GetHotKey();
        virtualKey = LOBYTE(LOWORD(value));
        modifiers = HIBYTE(LOWORD(value));
    }
    CString GetHotKeyName() const { return user::HotKeyText((WORD)GetHotKey()); }
};
