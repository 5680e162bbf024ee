#include "controls/model/PagePrefaulter.h"

#include <atomic>
#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

CPagePrefaulter::~CPagePrefaulter() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

uint64_t CPagePrefaulter::Request(void* p, size_t nBytes) {
    uint64_t ticket;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
        m_queue.push_back({static_cast<char*>(p), nBytes});
        ticket = ++m_requested;
    }
    m_changed.notify_all();
    return ticket;
}

void CPagePrefaulter::Wait(uint64_t ticket) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_done >= ticket; });
}

void CPagePrefaulter::WaitAll() {
    std::unique_lock<std::mutex> lock(m_mutex);
    const uint64_t last = m_requested;
    m_changed.wait(lock, [&] { return m_done >= last; });
}

void CPagePrefaulter::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        // Work in hand is finished before stopping: its owner may be waiting for it.
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        const Block block = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        Populate(block.p, block.nBytes);
        lock.lock();
        ++m_done;
        m_changed.notify_all();
    }
}

void CPagePrefaulter::Populate(void* p, size_t nBytes) {
    static const uintptr_t page = (uintptr_t)::sysconf(_SC_PAGESIZE);
    const uintptr_t first = ((uintptr_t)p + page - 1) & ~(page - 1);
    const uintptr_t end = ((uintptr_t)p + nBytes) & ~(page - 1);
    if (end <= first)
        return;
#ifdef MADV_POPULATE_WRITE
    // A kernel without the call refuses it as unknown; from then on the pages are touched instead.
    static std::atomic<bool> unknown = false;
    if (!unknown.load(std::memory_order_relaxed)) {
        if (::madvise((void*)first, end - first, MADV_POPULATE_WRITE) == 0)
            return;
        if (errno == EINVAL)
            unknown.store(true, std::memory_order_relaxed);
    }
#endif
    for (uintptr_t at = first; at < end; at += page) {
        volatile char* byte = reinterpret_cast<volatile char*>(at);
        *byte = *byte;
    }
}
