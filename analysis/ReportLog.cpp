#include "analysis/ReportLog.h"

#include <cerrno>
#include <cstdarg>
#include <unistd.h>

#include "platform/base/File.h"

BOOL CReportLog::Append(LPCTSTR text) const {
    CStdioFile file;
    if (!file.Open(m_path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::typeText))
        return FALSE;
    try {
        file.SeekToEnd();
        file.WriteString(text);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

BOOL CReportLog::AppendFormat(const char* fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    std::string text = FormatStringV(fmt, args);
    va_end(args);
    return Append(text.c_str());
}

BOOL CReportLog::Delete() const {
    return ::unlink(m_path) == 0 || errno == ENOENT;
}

ULONGLONG CReportLog::Size() const {
    LONGLONG size = GetFileSize64(m_path);
    return size < 0 ? 0 : (ULONGLONG)size;
}
