#include "analysis/FileWriterThread.h"

#include <algorithm>
#include <cstring>

#include "platform/base/File.h"

// The conversion buffer is the caller's allocation, made here: the thread itself allocates nothing.
CFileWriterThread::CFileWriterThread(CStdioFile& file)
    : m_file(file),
      m_converted(std::make_unique_for_overwrite<char[]>(2 * kBufferSize)),
      m_thread([this] { Run(); }) {}

CFileWriterThread::~CFileWriterThread() {
    Hand();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

char* CFileWriterThread::Copy(char* to, std::string_view from) {
    if (!from.empty())
        std::memcpy(to, from.data(), from.size());
    return to + from.size();
}

char* CFileWriterThread::Claim(size_t size, bool text) {
    if (m_pending.size > 0 && (m_pending.text != text || m_pending.capacity - m_pending.size < size))
        Hand();
    if (m_pending.capacity < size) {  // the first buffer, or one of its own for a text larger than that
        m_pending.capacity = std::max(size, kBufferSize);
        m_pending.bytes = std::make_unique_for_overwrite<char[]>(m_pending.capacity);
    }
    m_pending.text = text;
    return m_pending.bytes.get() + m_pending.size;
}

bool CFileWriterThread::Commit(char* end) {
    m_pending.size = (size_t)(end - m_pending.bytes.get());
    if (m_pending.size >= kBufferSize)
        Hand();
    return !m_failed.load(std::memory_order_acquire);
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

void CFileWriterThread::Hand() {
    if (m_pending.size == 0)
        return;
    Buffer next;
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
    if (next.capacity < kBufferSize) {
        next.bytes = std::make_unique_for_overwrite<char[]>(kBufferSize);
        next.capacity = kBufferSize;
    }
    next.size = 0;
    m_pending = std::move(next);
}

void CFileWriterThread::Write(const Buffer& buffer) {
    if (!buffer.text) {
        m_file.Write(buffer.bytes.get(), (UINT)buffer.size);
        return;
    }
    // In pieces of at most kBufferSize bytes, each at most twice that once its line ends are CR LF, so
    // that a text of any size goes through the one conversion buffer.
    const char* from = buffer.bytes.get();
    const char* const end = from + buffer.size;
    while (from < end) {
        const char* const pieceEnd = from + std::min<size_t>(kBufferSize, (size_t)(end - from));
        char* to = m_converted.get();
        while (from < pieceEnd) {
            const char* lf = static_cast<const char*>(std::memchr(from, '\n', (size_t)(pieceEnd - from)));
            if (!lf) {
                to = Copy(to, {from, (size_t)(pieceEnd - from)});
                break;
            }
            to = Copy(to, {from, (size_t)(lf - from)});
            *to++ = '\r';
            *to++ = '\n';
            from = lf + 1;
        }
        from = pieceEnd;
        m_file.Write(m_converted.get(), (UINT)(to - m_converted.get()));
    }
}

void CFileWriterThread::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Buffer buffer = std::move(m_queue.front());
        m_queue.pop_front();
        const bool skip = m_failed;  // after a failure nothing more is written, so nothing lands out of order
        m_busy = true;
        lock.unlock();
        m_changed.notify_all();
        CFileException failure(CFileException::none);
        if (!skip) {
            try {
                Write(buffer);
            } catch (CFileException* e) {
                failure = *e;
                e->Delete();
            } catch (CException* e) {
                e->Delete();
                failure = CFileException(CFileException::genericException);
            } catch (...) {  // anything else is a failed write too, never the end of the program
                failure = CFileException(CFileException::genericException);
            }
        }
        lock.lock();
        if (buffer.capacity == kBufferSize)  // one of a size of its own is dropped
            m_spare.push_back(std::move(buffer));
        m_busy = false;
        if (failure.m_cause != CFileException::none && !m_failed) {
            m_failure = failure;
            m_failed.store(true, std::memory_order_release);
        }
        m_changed.notify_all();
    }
}
