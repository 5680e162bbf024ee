// Environment strings with %NAME% references.
#pragma once

#include "platform/base/Types.h"

// Replaces each %NAME% whose variable is set by its value; an unset name or a lone '%' stays as written.
// Returns the characters the result needs with its terminating zero; the result is written only when
// `size` holds them all (a null or short buffer is left alone, so a caller can ask for the size first).
DWORD ExpandEnvironmentStrings(LPCTSTR source, LPTSTR destination, DWORD size);
