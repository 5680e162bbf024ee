// The hot-key control: an edit-like field that takes any key with its modifiers and shows it by the
// keyboard's key names ("Ctrl + Shift + F9"), "None" while empty.
#pragma once

#include "platform/user/ListView.h"
#include "platform/user/User.h"

#ifndef MAKEWORD
#define MAKEWORD(low, high) ((WORD)(((BYTE)((low) & 0xFF)) | ((WORD)((BYTE)((high) & 0xFF))) << 8))
#endif
#ifndef LOBYTE
#define LOBYTE(w) ((BYTE)((w) & 0xFF))
#endif
#ifndef HIBYTE
#define HIBYTE(w) ((BYTE)(((WORD)(w) >> 8) & 0xFF))
#endif

#define HOTKEY_CLASS "msctls_hotkey32"

#define HKM_SETHOTKEY (WM_USER + 1)
#define HKM_GETHOTKEY (WM_USER + 2)

// The modifiers, in the high byte of the control's value (the virtual key is the low byte).
#define HOTKEYF_SHIFT 0x01
#define HOTKEYF_CONTROL 0x02
#define HOTKEYF_ALT 0x04
#define HOTKEYF_EXT 0x08

// A key pressed in a control, as its parent is told of it.
#ifndef NM_KEYDOWN
#define NM_KEYDOWN (NM_FIRST - 15)
#endif
struct NMKEY {
    NMHDR hdr;
    UINT nVKey;
    UINT uFlags;
};

namespace user {
// The text the control shows for a value (key in the low byte, HOTKEYF_ modifiers in the high byte).
CString HotKeyText(WORD value);
}  // namespace user
