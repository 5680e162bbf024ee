// A fixed-width report log beside the analysed logs. Each append opens the file (created when missing,
// never truncated), writes whole lines at its end in text mode (each "\n" becomes CR LF) and closes it
// again. Fields are padded by the callers' "%-Ns" formats and never cut.
#pragma once

#include "platform/base/String.h"

class CReportLog {
public:
    explicit CReportLog(LPCTSTR path) : m_path(path) {}

    // FALSE when the file cannot be opened or written; nothing is then written.
    BOOL Append(LPCTSTR text) const;
    BOOL AppendFormat(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    // Deletes the file; TRUE when it is gone afterwards.
    BOOL Delete() const;
    // Size in bytes; 0 when missing.
    ULONGLONG Size() const;
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};
