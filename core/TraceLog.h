// The trace log: numbered, time-stamped lines that every pass writes ("Start ...", "End ...").
// Lines are "%d %02d/%02d/%d %02d:%02d:%02d %s\n" (number, month/day/year, time, text). Safe from
// several threads at once.
#pragma once

#include "platform/base/String.h"

// Longest text written, its end mark included; a longer text is not written.
constexpr int TRACE_TEXT_LIMIT = 16424;

extern CString _csTraceLogPath;
extern BOOL g_bTraceEnabled;

// The trace log's place: $VELTRIN_TRACE_LOG, else $XDG_STATE_HOME/veltrin/Veltrin.log, else
// ~/.local/state/veltrin/Veltrin.log.
CString DefaultTraceLogPath();
// Sets _csTraceLogPath to the default place, deletes the file and restarts the numbering at 1.
void RestartTraceLog();
// As RestartTraceLog, on a given file (tests).
void RestartTraceLogAt(LPCTSTR path);

// Formats the text and appends one trace line to _csTraceLogPath.
void TraceLog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Appends one trace line with the text unchanged. 0 when tracing is off or the text is too long, else 1
// (a file that cannot be opened counts as written).
int AppendTraceLine(LPCTSTR path, LPCTSTR text);
