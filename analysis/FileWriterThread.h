// Writes an open file on a thread of its own. Bytes gather in a buffer; a full one goes to a bounded queue
// that the thread writes in order, so the caller does not wait for the disk and memory stays at a few
// buffers (the caller waits when the queue is full). A buffer of text has its "\n" turned into CR LF by
// the thread as it writes it, so the caller only copies. The first write that fails is kept: later bytes
// are dropped, and the caller learns of it from the next Add or from Drain, with the error the write
// raised.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/base/Exceptions.h"

class CStdioFile;

class CFileWriterThread {
public:
    static constexpr size_t kBufferSize = 1u << 20;
    static constexpr size_t kQueued = 4;

    // The file stays the caller's; nothing else may use it until Drain has returned or this is destroyed.
    explicit CFileWriterThread(CStdioFile& file);
    // Writes what is left, then ends the thread.
    ~CFileWriterThread();
    CFileWriterThread(const CFileWriterThread&) = delete;
    CFileWriterThread& operator=(const CFileWriterThread&) = delete;

    // The text with each "\n" as CR LF, as a text-mode file writes it. FALSE once a write has failed.
    bool Add(std::string_view text) { return Commit(Copy(Claim(text.size(), true), text)); }
    // The bytes as they stand. FALSE once a write has failed.
    bool AddRaw(std::string_view bytes) { return Commit(Copy(Claim(bytes.size(), false), bytes)); }
    // Room for size bytes at the end of what is being gathered, for a caller that lays out a text (or raw
    // bytes) in place: it writes exactly size bytes there, then calls Commit before anything else is added.
    char* Claim(size_t size, bool text);
    // Adds the bytes written since Claim. FALSE once a write has failed.
    bool Commit(char* end);
    // Waits until everything added is written; FALSE when any write failed.
    bool Drain();
    // The error of the first failed write (a CFileException's cause, OS error and file name); the generic
    // cause when the write raised another exception.
    CFileException Failure() const;

private:
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        size_t capacity = 0;
        size_t size = 0;
        bool text = false;  // each "\n" is written as CR LF
    };
    static char* Copy(char* to, std::string_view from);
    void Hand();
    void Run();
    void Write(const Buffer& buffer);

    CStdioFile& m_file;
    Buffer m_pending;  // not yet handed over (the producer's alone)
    std::unique_ptr<char[]> m_converted;  // the writer thread's: a text piece with CR LF line ends
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Buffer> m_queue;
    std::vector<Buffer> m_spare;  // written buffers for the producer to fill again
    bool m_busy = false;
    std::atomic<bool> m_failed = false;  // set under the mutex once m_failure holds the error
    bool m_stop = false;
    CFileException m_failure;
    std::thread m_thread;  // last: starts when the rest is ready
};
