// Named kernel objects shared between processes: mutexes and memory mappings, over POSIX shared memory.
//
// A named object lives while any process holds a handle to it, as the system's does: every handle keeps a
// shared lock on the object's memory, so a process that ends (or is killed) lets go of it, and the next
// creator of the name starts it afresh. A mutex whose owner ended without releasing it goes to the next
// waiter, whose wait answers WAIT_ABANDONED. Names are per user; "Global\" and "Local\" prefixes are
// accepted and mean the same.
#pragma once

#include "platform/base/Handles.h"

#define WAIT_ABANDONED WAIT_ABANDONED_0
#define ERROR_NOT_OWNER 288L

#define SYNCHRONIZE 0x00100000L
#define MUTEX_ALL_ACCESS 0x001F0001L
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define SEC_COMMIT 0x08000000
#define FILE_MAP_COPY 0x0001
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define FILE_MAP_ALL_ACCESS 0x000F001F

// A new mutex, or the existing one of that name (GetLastError() then says ERROR_ALREADY_EXISTS and
// `initialOwner` is ignored).
HANDLE CreateMutex(LPVOID security, BOOL initialOwner, LPCTSTR name);
// The existing mutex of that name, or null (ERROR_FILE_NOT_FOUND).
HANDLE OpenMutex(DWORD access, BOOL inherit, LPCTSTR name);
// FALSE (ERROR_NOT_OWNER) unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE mutex);

// Memory shared by name (or unnamed, for this process), backed by the paging file only: `file` must be
// INVALID_HANDLE_VALUE. An existing mapping keeps its size and contents (ERROR_ALREADY_EXISTS).
HANDLE CreateFileMapping(HANDLE file, LPVOID security, DWORD protect, DWORD sizeHigh, DWORD sizeLow,
                         LPCTSTR name);
HANDLE OpenFileMapping(DWORD access, BOOL inherit, LPCTSTR name);
// A view of `bytes` bytes (0: to the end) from the offset, a multiple of the allocation granularity.
LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, size_t bytes);
BOOL UnmapViewOfFile(const void* view);
BOOL FlushViewOfFile(const void* view, size_t bytes);

// Removes every named object of the session that the runtime folder names (VELTRIN_RUNTIME_DIR): a
// session that ends for good, such as a test's, leaves nothing behind.
void DeleteSessionObjects(const char* runtimeDir);

struct SYSTEM_INFO {
    DWORD dwOemId;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    ULONG_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};
typedef SYSTEM_INFO* LPSYSTEM_INFO;
void GetSystemInfo(LPSYSTEM_INFO info);

// CMutex and the framework's lock over any object that can be locked.
class CSyncObject {
public:
    virtual ~CSyncObject();
    virtual BOOL Lock(DWORD timeout = INFINITE);
    virtual BOOL Unlock() = 0;
    HANDLE m_hObject = nullptr;
    operator HANDLE() const { return m_hObject; }
};

class CMutex : public CSyncObject {
public:
    explicit CMutex(BOOL initiallyOwn = FALSE, LPCTSTR name = nullptr, LPVOID security = nullptr);
    BOOL Unlock() override { return ReleaseMutex(m_hObject); }
};
