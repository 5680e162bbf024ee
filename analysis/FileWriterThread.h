// Writes an open file on a thread of its own. Text gathers in a buffer; a full one goes to a bounded queue
// that the thread writes in order, so the caller does not wait for the disk and memory stays at a few
// buffers (the caller waits when the queue is full). The first write that fails is kept: later text is
// dropped, and the caller learns of it from the next Add or from Drain, with the error the write raised.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
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
    bool Add(std::string_view text);
    // The bytes as they stand. FALSE once a write has failed.
    bool AddRaw(std::string_view bytes);
    // Waits until everything added is written; FALSE when any write failed.
    bool Drain();
    // The error of the first failed write (a CFileException's cause, OS error and file name); the generic
    // cause when the write raised another exception.
    CFileException Failure() const;

private:
    bool Failed();
    void Hand();
    void Run();

    CStdioFile& m_file;
    std::string m_pending;  // not yet handed over (the producer's alone)
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_queue;
    std::vector<std::string> m_spare;  // written buffers for the producer to fill again
    bool m_busy = false;
    bool m_failed = false;
    bool m_stop = false;
    CFileException m_failure;
    std::thread m_thread;  // last: starts when the rest is ready
};
