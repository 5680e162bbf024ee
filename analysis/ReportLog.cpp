#include "analysis/ReportLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <unistd.h>

#include "analysis/FileWriterThread.h"
#include "platform/base/File.h"

CReportLog::CReportLog(LPCTSTR path) : m_path(path) {}
CReportLog::~CReportLog() {
    Close();
}
CReportLog::CReportLog(CReportLog&&) noexcept = default;
CReportLog& CReportLog::operator=(CReportLog&& other) noexcept {
    if (this != &other) {
        Close();  // what this one holds is written before its file goes
        m_path = std::move(other.m_path);
        m_file = std::move(other.m_file);
        m_writer = std::move(other.m_writer);
    }
    return *this;
}

BOOL CReportLog::Open() {
    if (m_file)
        return TRUE;
    auto file = std::make_unique<CStdioFile>();
    if (!file->Open(m_path,
                    CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeText))
        return FALSE;
    try {
        file->SeekToEnd();
    } catch (CException* e) {
        e->Delete();
        file->Abort();
        return FALSE;
    }
    m_file = std::move(file);
    m_writer = std::make_unique<CFileWriterThread>(*m_file);
    return TRUE;
}

BOOL CReportLog::Close() {
    if (!m_file)
        return TRUE;
    const bool written = m_writer->Drain();
    m_writer.reset();
    std::unique_ptr<CStdioFile> file = std::move(m_file);
    try {
        file->Close();
    } catch (CException* e) {
        e->Delete();
        file->Abort();
        return FALSE;
    }
    return written ? TRUE : FALSE;
}

BOOL CReportLog::OpenWithHeader(LPCTSTR header) {
    if (!Open())
        return FALSE;
    if (Size() == 0)
        return WriteOpen(header);
    return TRUE;
}

BOOL CReportLog::CloseDeletingHeaderOnly(LPCTSTR header) {
    BOOL ok = Close();
    // The header as it is on disk: text mode writes each "\n" as CR LF. Only a file holding exactly
    // that is a report that got no row; anything else (a user's short file among them) stays.
    std::string expected;
    for (const char* p = header; p && *p; ++p) {
        if (*p == '\n')
            expected += '\r';
        expected += *p;
    }
    if (expected.empty() || Size() != expected.size())
        return ok;
    CFile file;
    if (!file.Open(m_path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return ok;
    std::string content(expected.size() + 1, '\0');
    UINT got = 0;
    try {
        got = file.Read(content.data(), (UINT)content.size());
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        return ok;
    }
    content.resize(got);
    if (content == expected)
        Delete();
    return ok;
}

BOOL CReportLog::WriteOpen(std::string_view text) const {
    return m_writer->Add(text) ? TRUE : FALSE;
}

BOOL CReportLog::AppendText(std::string_view text) const {
    if (m_file)
        return WriteOpen(text);
    return Append(std::string(text).c_str());
}

namespace {
char* Put(char* to, std::string_view text) {
    if (!text.empty())
        std::memcpy(to, text.data(), text.size());
    return to + text.size();
}
}  // namespace

BOOL CReportLog::AppendLine(std::span<const Field> fields, std::string_view last) const {
    size_t size = last.size() + 1;
    for (const Field& f : fields)
        size += std::max(f.head.size() + f.tail.size(), f.width) + 2;
    // Blanks first, then each text over them: one fill for the line instead of one per field.
    auto layOut = [&](char* p) {
        std::memset(p, ' ', size - last.size() - 1);
        for (const Field& f : fields) {
            const size_t used = f.head.size() + f.tail.size();
            Put(Put(p, f.head), f.tail);
            p += std::max(used, f.width) + 2;
        }
        p = Put(p, last);
        *p++ = '\n';
        return p;
    };
    if (m_file)
        return m_writer->Commit(layOut(m_writer->Claim(size, true))) ? TRUE : FALSE;
    std::string line(size, '\0');
    layOut(line.data());
    return AppendText(line);
}

BOOL CReportLog::Append(LPCTSTR text) const {
    if (m_file)
        return WriteOpen(text ? std::string_view(text) : std::string_view());
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
    if (m_file)
        return FALSE;  // close it first
    return ::unlink(m_path) == 0 || errno == ENOENT;
}

ULONGLONG CReportLog::Size() const {
    if (m_file) {
        m_writer->Drain();
        try {
            m_file->Flush();
        } catch (CException* e) {
            e->Delete();
        }
    }
    LONGLONG size = GetFileSize64(m_path);
    return size < 0 ? 0 : (ULONGLONG)size;
}
