// The clipboard: one per process, opened by one window at a time. CF_TEXT also goes to and comes from
// the display's text clipboard (leaving as UTF-8, arriving as the bytes given); other formats,
// registered private ones included, stay in the process. When the desktop's text changes under us,
// another program has taken the clipboard: what this process put there is gone.
#pragma once

#include "platform/base/GlobalMemory.h"
#include "platform/user/User.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_OEMTEXT 7
#define CF_DIB 8
#define CF_UNICODETEXT 13

// Fails while another thread has it open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every format; the opener becomes the owner. Needs the clipboard open.
BOOL EmptyClipboard();
// The clipboard owns the block from then on (and frees it when it is replaced or emptied). Needs the
// clipboard open; null on failure, when the caller keeps the block.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The clipboard's own block: read it, never free it. Needs the clipboard open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// A number from 0xC000 up, the same for the same name in any case (the table of registered messages).
UINT RegisterClipboardFormat(LPCTSTR name);
HWND GetClipboardOwner();
