#include "platform/user/Keyboard.h"

#include <cstring>
#include <string>

namespace {
// One key of the layout. `scan` is the set-1 scan code; an extended key is reached with the E0 prefix.
struct Key {
    UINT vk;
    UINT scan;
    bool extended;
    const char* name;
    char normal;  // the character typed without and with Shift (0: none)
    char shifted;
};

// Keys with a character, then the others. A virtual key met twice maps to its first entry.
const Key kKeys[] = {
    {'A', 0x1E, false, "A", 'a', 'A'},
    {'B', 0x30, false, "B", 'b', 'B'},
    {'C', 0x2E, false, "C", 'c', 'C'},
    {'D', 0x20, false, "D", 'd', 'D'},
    {'E', 0x12, false, "E", 'e', 'E'},
    {'F', 0x21, false, "F", 'f', 'F'},
    {'G', 0x22, false, "G", 'g', 'G'},
    {'H', 0x23, false, "H", 'h', 'H'},
    {'I', 0x17, false, "I", 'i', 'I'},
    {'J', 0x24, false, "J", 'j', 'J'},
    {'K', 0x25, false, "K", 'k', 'K'},
    {'L', 0x26, false, "L", 'l', 'L'},
    {'M', 0x32, false, "M", 'm', 'M'},
    {'N', 0x31, false, "N", 'n', 'N'},
    {'O', 0x18, false, "O", 'o', 'O'},
    {'P', 0x19, false, "P", 'p', 'P'},
    {'Q', 0x10, false, "Q", 'q', 'Q'},
    {'R', 0x13, false, "R", 'r', 'R'},
    {'S', 0x1F, false, "S", 's', 'S'},
    {'T', 0x14, false, "T", 't', 'T'},
    {'U', 0x16, false, "U", 'u', 'U'},
    {'V', 0x2F, false, "V", 'v', 'V'},
    {'W', 0x11, false, "W", 'w', 'W'},
    {'X', 0x2D, false, "X", 'x', 'X'},
    {'Y', 0x15, false, "Y", 'y', 'Y'},
    {'Z', 0x2C, false, "Z", 'z', 'Z'},
    {'1', 0x02, false, "1", '1', '!'},
    {'2', 0x03, false, "2", '2', '@'},
    {'3', 0x04, false, "3", '3', '#'},
    {'4', 0x05, false, "4", '4', '$'},
    {'5', 0x06, false, "5", '5', '%'},
    {'6', 0x07, false, "6", '6', '^'},
    {'7', 0x08, false, "7", '7', '&'},
    {'8', 0x09, false, "8", '8', '*'},
    {'9', 0x0A, false, "9", '9', '('},
    {'0', 0x0B, false, "0", '0', ')'},
    {VK_OEM_MINUS, 0x0C, false, "-", '-', '_'},
    {VK_OEM_PLUS, 0x0D, false, "=", '=', '+'},
    {VK_OEM_4, 0x1A, false, "[", '[', '{'},
    {VK_OEM_6, 0x1B, false, "]", ']', '}'},
    {VK_OEM_1, 0x27, false, ";", ';', ':'},
    {VK_OEM_7, 0x28, false, "'", '\'', '"'},
    {VK_OEM_3, 0x29, false, "`", '`', '~'},
    {VK_OEM_5, 0x2B, false, "\\", '\\', '|'},
    {VK_OEM_COMMA, 0x33, false, ",", ',', '<'},
    {VK_OEM_PERIOD, 0x34, false, ".", '.', '>'},
    {VK_OEM_2, 0x35, false, "/", '/', '?'},
    {VK_OEM_102, 0x56, false, "\\", '\\', '|'},
    {VK_SPACE, 0x39, false, "Space", ' ', ' '},
    {VK_RETURN, 0x1C, false, "Enter", '\r', '\r'},
    {VK_RETURN, 0x1C, true, "Num Enter", '\r', '\r'},
    {VK_TAB, 0x0F, false, "Tab", '\t', '\t'},
    {VK_BACK, 0x0E, false, "Backspace", '\b', '\b'},
    {VK_ESCAPE, 0x01, false, "Esc", 0x1B, 0x1B},
    {VK_MULTIPLY, 0x37, false, "Num *", '*', '*'},
    {VK_SUBTRACT, 0x4A, false, "Num -", '-', '-'},
    {VK_ADD, 0x4E, false, "Num +", '+', '+'},
    {VK_DIVIDE, 0x35, true, "Num /", '/', '/'},
    {VK_DECIMAL, 0x53, false, "Num Del", '.', '.'},
    {VK_NUMPAD0, 0x52, false, "Num 0", '0', '0'},
    {VK_NUMPAD1, 0x4F, false, "Num 1", '1', '1'},
    {VK_NUMPAD2, 0x50, false, "Num 2", '2', '2'},
    {VK_NUMPAD3, 0x51, false, "Num 3", '3', '3'},
    {VK_NUMPAD4, 0x4B, false, "Num 4", '4', '4'},
    {VK_NUMPAD5, 0x4C, false, "Num 5", '5', '5'},
    {VK_NUMPAD6, 0x4D, false, "Num 6", '6', '6'},
    {VK_NUMPAD7, 0x47, false, "Num 7", '7', '7'},
    {VK_NUMPAD8, 0x48, false, "Num 8", '8', '8'},
    {VK_NUMPAD9, 0x49, false, "Num 9", '9', '9'},
    // The cursor block: extended keys whose plain scan codes are the keypad's.
    {VK_HOME, 0x47, true, "Home", 0, 0},
    {VK_UP, 0x48, true, "Up", 0, 0},
    {VK_PRIOR, 0x49, true, "Page Up", 0, 0},
    {VK_LEFT, 0x4B, true, "Left", 0, 0},
    {VK_RIGHT, 0x4D, true, "Right", 0, 0},
    {VK_END, 0x4F, true, "End", 0, 0},
    {VK_DOWN, 0x50, true, "Down", 0, 0},
    {VK_NEXT, 0x51, true, "Page Down", 0, 0},
    {VK_INSERT, 0x52, true, "Insert", 0, 0},
    {VK_DELETE, 0x53, true, "Del", 0, 0},
    {VK_SHIFT, 0x2A, false, "Shift", 0, 0},
    {VK_LSHIFT, 0x2A, false, "Shift", 0, 0},
    {VK_RSHIFT, 0x36, false, "Right Shift", 0, 0},
    {VK_CONTROL, 0x1D, false, "Ctrl", 0, 0},
    {VK_LCONTROL, 0x1D, false, "Ctrl", 0, 0},
    {VK_RCONTROL, 0x1D, true, "Right Ctrl", 0, 0},
    {VK_MENU, 0x38, false, "Alt", 0, 0},
    {VK_LMENU, 0x38, false, "Alt", 0, 0},
    {VK_RMENU, 0x38, true, "Right Alt", 0, 0},
    {VK_CAPITAL, 0x3A, false, "Caps Lock", 0, 0},
    {VK_NUMLOCK, 0x45, true, "Num Lock", 0, 0},
    {VK_PAUSE, 0x45, false, "Pause", 0, 0},
    {VK_SCROLL, 0x46, false, "Scroll Lock", 0, 0},
    {VK_SNAPSHOT, 0x37, true, "Prnt Scrn", 0, 0},
    {VK_LWIN, 0x5B, true, "Left Windows", 0, 0},
    {VK_RWIN, 0x5C, true, "Right Windows", 0, 0},
    {VK_APPS, 0x5D, true, "Application", 0, 0},
    {VK_F1, 0x3B, false, "F1", 0, 0},
    {VK_F2, 0x3C, false, "F2", 0, 0},
    {VK_F3, 0x3D, false, "F3", 0, 0},
    {VK_F4, 0x3E, false, "F4", 0, 0},
    {VK_F5, 0x3F, false, "F5", 0, 0},
    {VK_F6, 0x40, false, "F6", 0, 0},
    {VK_F7, 0x41, false, "F7", 0, 0},
    {VK_F8, 0x42, false, "F8", 0, 0},
    {VK_F9, 0x43, false, "F9", 0, 0},
    {VK_F10, 0x44, false, "F10", 0, 0},
    {VK_F11, 0x57, false, "F11", 0, 0},
    {VK_F12, 0x58, false, "F12", 0, 0},
};

const Key* ByVk(UINT vk) {
    for (const Key& k : kKeys)
        if (k.vk == vk)
            return &k;
    return nullptr;
}

// The key of a scan code; an extended code without a key of its own is its plain key.
const Key* ByScan(UINT scan, bool extended) {
    for (const Key& k : kKeys)
        if (k.scan == scan && k.extended == extended)
            return &k;
    if (extended)
        return ByScan(scan, false);
    return nullptr;
}

bool IsCursorKey(UINT vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
}

// The key of a plain scan code. The keypad's digit codes give the cursor keys, as without Num Lock.
const Key* PlainKey(UINT scan) {
    for (const Key& k : kKeys)
        if (k.scan == scan && k.extended && IsCursorKey(k.vk))
            return &k;
    for (const Key& k : kKeys)
        if (k.scan == scan && !k.extended)
            return &k;
    return nullptr;
}

// Left and right variants as one key.
UINT Neutral(UINT vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return vk;
    }
}
}  // namespace

int GetKeyNameText(LONG lParam, LPTSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    const Key* k = ByScan(((DWORD)lParam >> 16) & 0xFF, ((DWORD)lParam >> 24) & 1);
    const char* name = k ? k->name : "";
    int n = std::min((int)std::strlen(name), size - 1);
    std::memcpy(buffer, name, (size_t)n);
    buffer[n] = 0;
    return n;
}

UINT MapVirtualKey(UINT code, UINT mapType) {
    switch (mapType) {
        case MAPVK_VK_TO_VSC: {
            const Key* k = ByVk(code);
            return k ? k->scan : 0;
        }
        case MAPVK_VSC_TO_VK:
        case MAPVK_VSC_TO_VK_EX: {
            const Key* k = PlainKey(code);
            if (!k)
                return 0;
            if (mapType == MAPVK_VSC_TO_VK)
                return Neutral(k->vk);
            switch (code) {
                case 0x2A:
                    return VK_LSHIFT;
                case 0x1D:
                    return VK_LCONTROL;
                case 0x38:
                    return VK_LMENU;
                default:
                    return k->vk;
            }
        }
        case MAPVK_VK_TO_CHAR: {
            const Key* k = ByVk(code);
            if (!k || !k->normal)
                return 0;
            // Letters map to their capitals.
            return (k->normal >= 'a' && k->normal <= 'z') ? (UINT)(k->normal - 'a' + 'A')
                                                          : (UINT)(BYTE)k->normal;
        }
        default:
            return 0;
    }
}

SHORT VkKeyScan(TCHAR ch) {
    unsigned char c = (unsigned char)ch;
    for (const Key& k : kKeys) {
        if (k.vk >= VK_MULTIPLY && k.vk <= VK_DIVIDE)
            continue;  // the keypad only repeats characters of the main block
        if (k.vk >= VK_NUMPAD0 && k.vk <= VK_NUMPAD9)
            continue;
        if (k.normal && (unsigned char)k.normal == c)
            return (SHORT)k.vk;
        if (k.shifted && (unsigned char)k.shifted == c && k.shifted != k.normal)
            return (SHORT)(0x100 | k.vk);
    }
    // Control characters are Ctrl with a letter or a bracket.
    if (c >= 1 && c <= 26)
        return (SHORT)(0x200 | ('A' + c - 1));
    if (c == 0x1C)
        return (SHORT)(0x200 | VK_OEM_5);
    if (c == 0x1D)
        return (SHORT)(0x200 | VK_OEM_6);
    return -1;
}
