#include "analysis/FileWriterThread.h"

#include "platform/base/File.h"

CFileWriterThread::CFileWriterThread(CStdioFile& file) : m_file(file), m_thread([this] { Run(); }) {
    m_pending.reserve(kBufferSize + 4096);
}

CFileWriterThread::~CFileWriterThread() {
    Hand();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool CFileWriterThread::Add(std::string_view text) {
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

bool CFileWriterThread::AddRaw(std::string_view bytes) {
    m_pending.append(bytes);
    if (m_pending.size() >= kBufferSize)
        Hand();
    return !Failed();
}

bool CFileWriterThread::Drain() {
    Hand();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    return !m_failed;
}

CFileException CFileWriterThread::Failure() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failure;
}

bool CFileWriterThread::Failed() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failed;
}

void CFileWriterThread::Hand() {
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

void CFileWriterThread::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        std::string buffer = std::move(m_queue.front());
        m_queue.pop_front();
        const bool skip = m_failed;  // after a failure nothing more is written, so nothing lands out of order
        m_busy = true;
        lock.unlock();
        m_changed.notify_all();
        CFileException failure(CFileException::none);
        if (!skip) {
            try {
                m_file.Write(buffer.data(), (UINT)buffer.size());
            } catch (CFileException* e) {
                failure = *e;
                e->Delete();
            } catch (CException* e) {
                e->Delete();
                failure = CFileException(CFileException::genericException);
            }
        }
        buffer.clear();
        lock.lock();
        m_spare.push_back(std::move(buffer));
        m_busy = false;
        if (failure.m_cause != CFileException::none && !m_failed) {
            m_failed = true;
            m_failure = failure;
        }
        m_changed.notify_all();
    }
}
