// The "msctls_hotkey32" class: takes any key with Shift, Ctrl and Alt and shows it by key names.
#include "platform/user/Controls.h"
#include "platform/user/HotKey.h"
#include "platform/user/Keyboard.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
bool IsModifier(UINT vk) {
    switch (vk) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
        case VK_MENU: case VK_LMENU: case VK_RMENU:
            return true;
        default:
            return false;
    }
}

// Keys whose plain name belongs to the extended scan code (the keypad owns the other).
bool IsExtendedKey(UINT vk) {
    switch (vk) {
        case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_DIVIDE:
            return true;
        default:
            return false;
    }
}

CString KeyName(UINT vk, bool extended) {
    char name[64] = {};
    LONG lParam = (LONG)((MapVirtualKey(vk, MAPVK_VK_TO_VSC) & 0xFF) << 16);
    if (extended || IsExtendedKey(vk))
        lParam |= 1L << 24;
    if (GetKeyNameText(lParam, name, sizeof name) > 0)
        return name;
    CString code;
    code.Format("0x%02X", vk);
    return code;
}

BYTE CurrentModifiers() {
    BYTE mods = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= HOTKEYF_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        mods |= HOTKEYF_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        mods |= HOTKEYF_ALT;
    return mods;
}

class HotKey : public user::Control {
public:
    explicit HotKey(HWND h) : Control(h, kPaints | kKeepsFont | kRepaints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc) override;
    void Set(BYTE vk, BYTE mods, bool notify);
    void OnKey(UINT vk, LPARAM lParam, bool down);

    BYTE m_vk = 0;
    BYTE m_mods = 0;
    // Modifiers held while no key has been taken yet: shown, not kept.
    BYTE m_pending = 0;
};

void HotKey::Set(BYTE vk, BYTE mods, bool notify) {
    m_vk = vk;
    m_mods = mods;
    m_pending = 0;
    InvalidateRect(m_h, nullptr, TRUE);
    if (notify)
        Command(EN_CHANGE);
}

void HotKey::OnKey(UINT vk, LPARAM lParam, bool down) {
    if (IsModifier(vk)) {
        // Modifiers alone show while held; a key taken earlier is replaced by the next one.
        m_pending = CurrentModifiers();
        if (down && m_vk) {
            m_vk = 0;
            m_mods = 0;
            Command(EN_CHANGE);
        }
        InvalidateRect(m_h, nullptr, TRUE);
        return;
    }
    if (!down)
        return;
    const BYTE mods = CurrentModifiers();
    if (vk == VK_BACK && mods == 0) {
        Set(0, 0, true);
        return;
    }
    Set((BYTE)vk, (BYTE)(mods | ((lParam >> 24) & 1 ? HOTKEYF_EXT : 0)), true);
}

void HotKey::Paint(HDC dc) {
    RECT rc;
    GetClientRect(m_h, &rc);
    const bool enabled = IsWindowEnabled(m_h);
    FillRect(dc, &rc, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_3DFACE));
    CString text = m_vk ? user::HotKeyText(MAKEWORD(m_vk, m_mods)) : CString();
    if (!m_vk && m_pending)
        text = user::HotKeyText(MAKEWORD(0, m_pending));
    if (text.IsEmpty())
        text = "None";
    HGDIOBJ old = SelectObject(dc, FontOr(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    rc.left += 2;
    DrawText(dc, text, text.GetLength(), &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

LRESULT HotKey::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_GETDLGCODE:
            // Characters and arrows come here; Tab, Enter and Escape stay with the dialog.
            return DLGC_WANTCHARS | DLGC_WANTARROWS;
        case HKM_SETHOTKEY:
            Set(LOBYTE(LOWORD(wParam)), HIBYTE(LOWORD(wParam)), false);
            return 0;
        case HKM_GETHOTKEY:
            return MAKEWORD(m_vk, m_mods);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            OnKey((UINT)wParam, lParam, true);
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            OnKey((UINT)wParam, lParam, false);
            return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
            return 0;  // the key itself was taken at key-down; Alt+key opens no menu
        case WM_LBUTTONDOWN:
            SetFocus(m_h);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            m_pending = 0;
            InvalidateRect(m_h, nullptr, TRUE);
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}
}  // namespace

CString user::HotKeyText(WORD value) {
    const BYTE vk = LOBYTE(value), mods = HIBYTE(value);
    CString text;
    if (mods & HOTKEYF_CONTROL)
        text += KeyName(VK_CONTROL, false) + " + ";
    if (mods & HOTKEYF_SHIFT)
        text += KeyName(VK_SHIFT, false) + " + ";
    if (mods & HOTKEYF_ALT)
        text += KeyName(VK_MENU, false) + " + ";
    if (vk)
        text += KeyName(vk, (mods & HOTKEYF_EXT) != 0);
    return text;
}

namespace user {
void RegisterHotKeyClass() {
    RegisterControlClass(HOTKEY_CLASS, ControlWindowProc<HotKey>, CS_HREDRAW | CS_VREDRAW);
}
}  // namespace user
