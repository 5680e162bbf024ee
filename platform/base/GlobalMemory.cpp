#include "platform/base/GlobalMemory.h"

#include <exception>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/HandleTable.h"

namespace {
// The storage has at least one byte, so even a block of size 0 has an address to lock.
struct Block {
    std::vector<char> bytes;
    SIZE_T size = 0;
    int locks = 0;
};

std::mutex g_mutex;
// Apart from the kernel handles, which are HANDLEs too.
HandleTable<std::unique_ptr<Block>, HGLOBAL> g_blocks{0x30000};  // guarded by g_mutex

Block* Find(HGLOBAL h) {
    auto* b = g_blocks.Find(h);
    return b ? b->get() : nullptr;
}
}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    try {
        block->bytes.assign(bytes ? bytes : 1, 0);
    } catch (const std::exception&) {
        return nullptr;
    }
    block->size = bytes;
    std::lock_guard<std::mutex> g(g_mutex);
    return g_blocks.Add(std::move(block));
}

HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT) {
    std::lock_guard<std::mutex> g(g_mutex);
    Block* b = Find(h);
    // A locked block stays where its user's pointer points.
    if (!b || b->locks > 0)
        return nullptr;
    try {
        b->bytes.resize(bytes ? bytes : 1, 0);
    } catch (const std::exception&) {
        return nullptr;
    }
    b->size = bytes;
    return h;
}

LPVOID GlobalLock(HGLOBAL h) {
    std::lock_guard<std::mutex> g(g_mutex);
    Block* b = Find(h);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
    std::lock_guard<std::mutex> g(g_mutex);
    Block* b = Find(h);
    if (!b || b->locks == 0)
        return FALSE;
    return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL h) {
    std::lock_guard<std::mutex> g(g_mutex);
    Block* b = Find(h);
    return b ? b->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
    std::unique_ptr<Block> freed;  // destroyed outside the lock
    std::lock_guard<std::mutex> g(g_mutex);
    auto taken = g_blocks.Take(h);
    if (!taken)
        return h;
    freed = std::move(*taken);
    return nullptr;
}
