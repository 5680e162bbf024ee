// Small text and file helpers of the application module.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/String.h"

// Replaces tabs by blanks and every other non-printable byte by one blank. The column counter starts
// at 1, advances with each printable byte and returns to 1 when it reaches a multiple of 8; a tab adds
// blanks, advancing the counter, until it reaches a multiple of 8, then returns it to 1.
void ExpandTabs(CString& text);
// The same from a view into out (its storage is reused from call to call).
void ExpandTabs(std::string_view in, std::string& out);
// TRUE when every byte is printable (32..126): ExpandTabs then leaves the text as it is.
BOOL IsPrintableText(std::string_view text);
// The line with its tabs expanded: the line itself when it is plain (most log lines), else its expansion
// in buffer. The view is valid while line and buffer are.
std::string_view ExpandedTabs(std::string_view line, std::string& buffer);

// Size of a file in bytes, 64-bit; double quotes in the path are removed first. 0 when it cannot be
// opened or sized.
ULONGLONG GetFileSizeByName(LPCTSTR path);

// Sets _csLogType to "QBROKER" or "QSERVER" when the upper-case path holds that word (QBROKER first);
// otherwise leaves it.
void SetLogTypeFromName(LPCTSTR path);

// Takes, translates and dispatches waiting window messages until the queue is empty or WM_QUIT is seen.
// The window layer installs the pump; without one this does nothing.
void PumpWaitingMessages();
typedef void (*MessagePumpFunc)();
void SetMessagePump(MessagePumpFunc pump);
