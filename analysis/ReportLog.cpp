#include "analysis/ReportLog.h"

#include <cerrno>
#include <condition_variable>
#include <cstdarg>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>
#include <unistd.h>

#include "platform/base/File.h"

// Text for the open file gathers in a buffer; a full one goes to a bounded queue that the thread writes
// in order. The producer waits when the queue is full, so memory stays at a few buffers.
class CReportLog::Writer {
public:
    static constexpr size_t kBufferSize = 1u << 20;
    static constexpr size_t kQueued = 4;

    explicit Writer(CStdioFile& file) : m_file(file), m_thread([this] { Run(); }) {
        m_pending.reserve(kBufferSize + 4096);
    }
    ~Writer() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    // The text with each "\n" as CR LF, after what came before. FALSE once a write has failed.
    bool Add(std::string_view text) {
        for (size_t from = 0; from < text.size();) {
            size_t lf = text.find('\n', from);
            if (lf == std::string_view::npos) {
                m_pending.append(text.substr(from));
                break;
            }
            m_pending.append(text.substr(from, lf - from)).append("\r\n");
            from = lf + 1;
        }
        if (m_pending.size() >= kBufferSize)
            Hand();
        return !Failed();
    }

    // Waits until everything added is written; FALSE when any write failed.
    bool Drain() {
        Hand();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
        return !m_failed;
    }

private:
    bool Failed() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_failed;
    }

    void Hand() {
        if (m_pending.empty())
            return;
        std::string next;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_queue.size() < kQueued; });
            m_queue.push_back(std::move(m_pending));
            if (!m_spare.empty()) {  // a written buffer again, its pages already in place
                next = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_changed.notify_all();
        if (next.capacity() < kBufferSize)
            next.reserve(kBufferSize + 4096);
        m_pending = std::move(next);
    }

    void Run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            std::string buffer = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
            lock.unlock();
            m_changed.notify_all();
            bool ok = true;
            try {
                m_file.Write(buffer.data(), (UINT)buffer.size());
            } catch (CException* e) {
                e->Delete();
                ok = false;
            }
            buffer.clear();
            lock.lock();
            m_spare.push_back(std::move(buffer));
            m_busy = false;
            m_failed = m_failed || !ok;
            m_changed.notify_all();
        }
    }

    CStdioFile& m_file;
    std::string m_pending;  // not yet handed over (the producer's alone)
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_queue;
    std::vector<std::string> m_spare;  // written buffers for the producer to fill again
    bool m_busy = false;
    bool m_failed = false;
    bool m_stop = false;
    std::thread m_thread;  // last: starts when the rest is ready
};

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
    m_writer = std::make_unique<Writer>(*m_file);
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

void CReportLog::AppendField(std::string& out, std::string_view field, size_t width) {
    out.append(field);
    if (field.size() < width)
        out.append(width - field.size(), ' ');
    out.append("  ");
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
