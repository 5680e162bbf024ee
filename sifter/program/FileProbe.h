// Tells a text file from a binary one by its bytes.
#pragma once

#include "platform/base/String.h"

#define PROBE_UNREADABLE 0
#define PROBE_TEXT 1
#define PROBE_BINARY 2

// Text when every byte is printable ASCII, TAB, LF, CR, NUL (text in 16-bit units holds them) or part of
// a valid UTF-8 sequence; any other control character or an invalid byte of 128 and above means binary.
// PROBE_UNREADABLE when the file cannot be opened or read (no message).
int ProbeFileBytes(LPCTSTR path);
