// A fixed-width report log beside the analysed logs. Each append opens the file (created when missing,
// never truncated), writes whole lines at its end in text mode (each "\n" becomes CR LF) and closes it
// again. Fields are padded by the callers' "%-Ns" formats and never cut. While the file is held open, the
// lines collect in buffers that a writer thread of their own writes in order, so the pass does not wait
// for the disk; a write that fails makes the next append and Close answer FALSE.
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/String.h"

class CFileWriterThread;
class CStdioFile;

class CReportLog {
public:
    explicit CReportLog(LPCTSTR path);
    ~CReportLog();
    CReportLog(CReportLog&&) noexcept;
    CReportLog& operator=(CReportLog&&) noexcept;

    // A pass that writes a line per row keeps the file open from Open to Close (created when missing,
    // never truncated, positioned at its end); Append then writes into the open file. FALSE when it
    // cannot be opened.
    BOOL Open();
    // Flushes and closes; FALSE when the buffered lines could not be written. Safe to call twice.
    BOOL Close();
    BOOL IsOpen() const { return m_file != nullptr; }
    // Open, then the header line when the file is empty (a report that starts now).
    BOOL OpenWithHeader(LPCTSTR header);
    // Close, then delete the file when it holds exactly the header line as written (CR LF included).
    BOOL CloseDeletingHeaderOnly(LPCTSTR header);

    // FALSE when the file cannot be opened or written; nothing is then written.
    BOOL Append(LPCTSTR text) const;
    BOOL AppendFormat(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    // As Append, for a text that need not end in a NUL.
    BOOL AppendText(std::string_view text) const;
    // One field of a fixed-width line, laid out as "%-Ns  " lays it out: its text (the head, then the
    // tail) padded with blanks on the right to the width, never cut, then two blanks.
    struct Field {
        Field() = default;
        Field(std::string_view text, size_t width) : head(text), width(width) {}
        Field(std::string_view head, std::string_view tail, size_t width)
            : head(head), tail(tail), width(width) {}
        std::string_view head;
        std::string_view tail;
        size_t width = 0;
    };
    // A line of such fields, then the last text as it is, then "\n": for passes that write a line per row,
    // where printf is slow. Into an open file the line is laid out once, in place in the writer's buffer.
    // As AppendText otherwise.
    BOOL AppendLine(std::span<const Field> fields, std::string_view last) const;
    BOOL AppendLine(std::initializer_list<Field> fields, std::string_view last) const {
        return AppendLine(std::span<const Field>(fields.begin(), fields.size()), last);
    }
    // Deletes the file; TRUE when it is gone afterwards.
    BOOL Delete() const;
    // Size in bytes; 0 when missing.
    ULONGLONG Size() const;
    const CString& Path() const { return m_path; }

private:
    BOOL WriteOpen(std::string_view text) const;

    CString m_path;
    std::unique_ptr<CStdioFile> m_file;
    std::unique_ptr<CFileWriterThread> m_writer;  // writes the open file's filled buffers on its own thread
};
