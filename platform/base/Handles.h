// Kernel handles: a table of waitable objects (events, threads; other kinds join by deriving from
// KernelObject), the waits over them, and thread identity. A stale or closed handle fails with
// ERROR_INVALID_HANDLE, never a crash.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "platform/base/Types.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 259u
#define CREATE_SUSPENDED 0x00000004u
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define ERROR_TIMEOUT 1460L

// A waitable object. Its state is read and changed only under HandleWaitMutex(); whoever changes it
// calls NotifyHandleWaiters() afterwards.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    virtual bool IsSignalled() const = 0;
    // Objects that only carry data (a process snapshot) cannot be waited for.
    virtual bool IsWaitable() const { return true; }
    // A wait was satisfied by this object (an auto-reset event resets here).
    virtual void OnWaitSatisfied() {}
    // Objects shared with other processes wait their own way: the result of a wait on this object alone,
    // or -1 to wait as every other object does.
    virtual long long WaitAlone(DWORD /*milliseconds*/) { return -1; }
};

// The lock of every waitable state and of the message queues built on it.
std::mutex& HandleWaitMutex();
// Wakes every wait so it looks at its objects (and the clock) again.
void NotifyHandleWaiters();

HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle);
template <class T>
std::shared_ptr<T> LookupKernelObjectAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupKernelObject(handle));
}
BOOL CloseHandle(HANDLE handle);

HANDLE CreateEvent(LPVOID security, BOOL manualReset, BOOL initialState, LPCTSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// The general wait under the waits above and the message waits of the window layer.
// `ready` (checked under the lock) ends the wait with WAIT_OBJECT_0 + count; `hasWork` (under the
// lock) asks for `doWork` to run without the lock before waiting again; with pollMs > 0 `doWork`
// also runs at least that often. Timeouts follow the platform clock.
struct WaitExtras {
    std::function<bool()> ready;
    std::function<bool()> hasWork;
    std::function<void()> doWork;
    DWORD pollMs = 0;
};
DWORD WaitForHandlesEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                       const WaitExtras& extras);

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID);
HANDLE CreateThread(LPVOID security, size_t stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
// A small number per thread, never 0, never reused.
DWORD GetCurrentThreadId();
