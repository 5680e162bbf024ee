#include "platform/base/KernelObject.h"

#include <mutex>
#include <unordered_map>

namespace {
struct HandleTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
    // Handle values are never reused, so a stale handle cannot reach a newer object.
    uintptr_t next = 4;
};

// Never destroyed: threads that outlive main (reapers) may still close handles at exit.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}
}  // namespace

DWORD KernelObject::Wait(DWORD /*milliseconds*/) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

HANDLE CreateKernelHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    uintptr_t value = table.next;
    table.next += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ReferenceKernelHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;  // released outside the lock
    HandleTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object = std::move(it->second);
    table.objects.erase(it);
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    std::shared_ptr<KernelObject> object = ReferenceKernelHandle(handle);
    if (!object)
        return WAIT_FAILED;
    return object->Wait(milliseconds);
}
