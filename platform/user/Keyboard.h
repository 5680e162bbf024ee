// The keyboard layout: a US keyboard's scan codes, key names and characters.
#pragma once

#include "platform/user/User.h"

#define MAPVK_VK_TO_VSC 0
#define MAPVK_VSC_TO_VK 1
#define MAPVK_VK_TO_CHAR 2
#define MAPVK_VSC_TO_VK_EX 3

// The name of the key in bits 16-23 (scan code) and 24 (extended key) of `lParam`, as a key message
// carries them. 0 when the key has no name.
int GetKeyNameText(LONG lParam, LPTSTR buffer, int size);
// Translates between virtual keys, scan codes and characters; 0 when there is no translation.
UINT MapVirtualKey(UINT code, UINT mapType);
// The virtual key in the low byte and the shift state (1 Shift, 2 Ctrl, 4 Alt) in the high byte
// that type `ch`; -1 when no key does.
SHORT VkKeyScan(TCHAR ch);
