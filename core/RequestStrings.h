// The process-wide request strings that a sender fills just before it sends or posts a private
// message, and that the receiving handler reads back. User-interface thread only.
#pragma once

#include <optional>

#include "platform/base/String.h"

extern CString _csCommand;  // "NAME=%s|TYPE=%s|EXE=%s" [ "|SEARCH=%s" ], or WAIT_FOR_UPDATE
extern CString _csAction;
extern CString _csReportName;
extern CString _csDocToOpen;
extern CString _csListKey;
extern CString _csItemKind;  // "ROOTITEM", "SUBITEM"
extern CString _csLogType;   // "QBROKER", "QSERVER"
extern CString _csReportType;
extern CString _csBaseFolder;
extern CString _csFileOpenName;
extern CString _csLastFindText;
extern CString _csLastGotoLine;
extern CString _csGotoLogLine;  // "0" at start
extern CString _csStatusText;
extern CString _csRecordsText;
extern CString _csLogNameText;
extern CString _csImportDelimiter;
extern CString _csLastQServerLine;
extern CString _csAction2;  // the second action word

extern int g_bWaitForUpdate;
extern int g_nImportCount;
extern int g_nBatchRecordCount;
extern int g_bPostOpenCommand;
extern int g_nFilterQTrace;  // the QBroker itemize filter: on at start, set by the Options dialog's OK

#define WAIT_FOR_UPDATE "WAIT_FOR_UPDATE"

// Request line keys.
#define REQ_NAME "NAME="
#define REQ_TYPE "TYPE="
#define REQ_EXE "EXE="
#define REQ_SEARCH "SEARCH="

// The text after the first occurrence of key in text (case-sensitive), up to (not including) the first
// stop character, or all of the rest when there is none; nothing when the key is absent, so an absent
// key and an empty value stay distinct.
std::optional<CString> ExtractAfter(LPCTSTR text, LPCTSTR key, char stop);

// The value of a key of _csCommand ("NAME=", "TYPE=", "EXE=", "SEARCH="), empty when absent. "SEARCH="
// comes last and takes the rest of the line, '|' included.
CString RequestField(LPCTSTR key);

// Builds "NAME=%s|TYPE=%s|EXE=%s".
CString MakeRequestLine(LPCTSTR name, LPCTSTR type, LPCTSTR exe);
