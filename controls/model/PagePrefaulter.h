// Maps in the pages of memory its owner is about to fill, on a thread of its own: a list filling a
// chunk of fresh memory otherwise takes a page fault per 4 KiB page on its own thread. The owner hands
// over a block it does not use yet and waits for that request before it writes there, so the two never
// touch the same memory at once. The thread starts with the first request; the destructor waits for the
// work in hand and joins it, so an owner declares this after the memory it hands over.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

class CPagePrefaulter {
public:
    CPagePrefaulter() = default;
    ~CPagePrefaulter();
    CPagePrefaulter(const CPagePrefaulter&) = delete;
    CPagePrefaulter& operator=(const CPagePrefaulter&) = delete;

    // Queues the pages of the block to be mapped in for writing; the block must stay until the
    // request's Wait has returned. Returns the request's ticket.
    uint64_t Request(void* p, size_t nBytes);
    // Waits until the request of the ticket and every earlier one are done.
    void Wait(uint64_t ticket);
    // Waits until every request is done.
    void WaitAll();

    // Maps in the whole pages of a block for writing: with one call where the kernel has it, else by
    // writing each page's first byte back as it is. Done in the calling thread.
    static void Populate(void* p, size_t nBytes);

private:
    struct Block {
        char* p;
        size_t nBytes;
    };
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_queue;
    uint64_t m_requested = 0;  // tickets given
    uint64_t m_done = 0;       // requests done, in order
    bool m_stop = false;
    std::thread m_thread;
};
