#include "platform/base/Handles.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <vector>
#include <thread>

#include "platform/base/Clock.h"
#include "platform/base/HandleTable.h"

namespace {
// Never destroyed: detached threads (process reapers) may still wake waiters while the program exits.
struct HandleState {
    std::mutex waitMutex;
    std::condition_variable waitCv;
    LockedHandleTable<std::shared_ptr<KernelObject>> table{0x100};
};
HandleState& State() {
    static HandleState* state = new HandleState;
    return *state;
}
#define g_waitMutex (State().waitMutex)
#define g_waitCv (State().waitCv)
#define g_table (State().table)

std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD t_threadId = 0;

class EventObject : public KernelObject {
public:
    EventObject(bool manual, bool initial) : m_manual(manual), m_signalled(initial) {}
    bool IsSignalled() const override { return m_signalled; }
    void OnWaitSatisfied() override {
        if (!m_manual)
            m_signalled = false;
    }
    bool m_manual;
    bool m_signalled;
};

class ThreadObject : public KernelObject {
public:
    bool IsSignalled() const override { return m_finished; }
    bool m_finished = false;
    bool m_suspended = false;
    DWORD m_exitCode = STILL_ACTIVE;
    DWORD m_id = 0;
};
}  // namespace

std::mutex& HandleWaitMutex() {
    return g_waitMutex;
}

void NotifyHandleWaiters() {
    // Taking the lock orders this wake-up after any state change made under it.
    { std::lock_guard<std::mutex> g(g_waitMutex); }
    g_waitCv.notify_all();
}

HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object) {
    return g_table.Add(std::move(object));
}

std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle) {
    return g_table.Get(handle).value_or(nullptr);
}

BOOL CloseHandle(HANDLE handle) {
    // The object goes after the table's lock is released: its destructor may use handles.
    if (!g_table.Take(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HANDLE CreateEvent(LPVOID, BOOL manualReset, BOOL initialState, LPCTSTR) {
    return RegisterKernelObject(std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE));
}

static BOOL ChangeEvent(HANDLE event, bool state) {
    auto ev = LookupKernelObjectAs<EventObject>(event);
    if (!ev) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> g(g_waitMutex);
        ev->m_signalled = state;
    }
    if (state)
        g_waitCv.notify_all();
    return TRUE;
}

BOOL SetEvent(HANDLE event) {
    return ChangeEvent(event, true);
}
BOOL ResetEvent(HANDLE event) {
    return ChangeEvent(event, false);
}

DWORD WaitForHandlesEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                       const WaitExtras& extras) {
    if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<KernelObject>> objects;
    for (DWORD i = 0; i < count; ++i) {
        auto obj = LookupKernelObject(handles[i]);
        if (!obj || !obj->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(obj));
    }
    const ULONGLONG start = PlatformClockNow();
    ULONGLONG lastPoll = start;
    std::unique_lock<std::mutex> lock(g_waitMutex);
    for (;;) {
        if (count > 0) {
            if (waitAll) {
                bool all = true;
                for (auto& o : objects)
                    all = all && o->IsSignalled();
                if (all) {
                    for (auto& o : objects)
                        o->OnWaitSatisfied();
                    return WAIT_OBJECT_0;
                }
            } else {
                for (DWORD i = 0; i < count; ++i) {
                    if (objects[i]->IsSignalled()) {
                        objects[i]->OnWaitSatisfied();
                        return WAIT_OBJECT_0 + i;
                    }
                }
            }
        }
        if (extras.ready && extras.ready())
            return WAIT_OBJECT_0 + count;
        ULONGLONG now = PlatformClockNow();
        bool poll = extras.pollMs > 0 && now - lastPoll >= extras.pollMs;
        if ((extras.hasWork && extras.hasWork()) || poll) {
            lastPoll = now;
            lock.unlock();
            if (extras.doWork)
                extras.doWork();
            lock.lock();
            continue;
        }
        if (milliseconds != INFINITE && now - start >= milliseconds)
            return WAIT_TIMEOUT;
        // A driven clock wakes every wait when it moves; the real one needs a deadline.
        long long waitMs = -1;
        if (milliseconds != INFINITE && !PlatformClockIsDriven())
            waitMs = (long long)(start + milliseconds - now);
        if (extras.pollMs > 0) {
            long long untilPoll = (long long)extras.pollMs;
            waitMs = waitMs < 0 ? untilPoll : std::min(waitMs, untilPoll);
        }
        if (PlatformClockIsDriven() && waitMs < 0 && milliseconds != INFINITE)
            waitMs = 50;  // re-check the clock
        if (waitMs < 0)
            g_waitCv.wait(lock);
        else
            g_waitCv.wait_for(lock, std::chrono::milliseconds(waitMs));
    }
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    if (auto object = LookupKernelObject(handle)) {
        long long own = object->WaitAlone(milliseconds);
        if (own >= 0)
            return (DWORD)own;
    }
    return WaitForHandlesEx(1, &handle, FALSE, milliseconds, WaitExtras{});
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return WaitForHandlesEx(count, handles, waitAll, milliseconds, WaitExtras{});
}

DWORD GetCurrentThreadId() {
    if (t_threadId == 0)
        t_threadId = g_nextThreadId++;
    return t_threadId;
}

HANDLE CreateThread(LPVOID, size_t, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    DWORD* threadId) {
    auto obj = std::make_shared<ThreadObject>();
    obj->m_suspended = (flags & CREATE_SUSPENDED) != 0;
    obj->m_id = g_nextThreadId++;
    HANDLE h = RegisterKernelObject(obj);
    if (threadId)
        *threadId = obj->m_id;
    try {
        std::thread([obj, start, parameter] {
            t_threadId = obj->m_id;
            {
                std::unique_lock<std::mutex> lock(g_waitMutex);
                g_waitCv.wait(lock, [&] { return !obj->m_suspended; });
            }
            DWORD code = start(parameter);
            {
                std::lock_guard<std::mutex> g(g_waitMutex);
                obj->m_exitCode = code;
                obj->m_finished = true;
            }
            g_waitCv.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        CloseHandle(h);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return h;
}

DWORD ResumeThread(HANDLE thread) {
    auto t = LookupKernelObjectAs<ThreadObject>(thread);
    if (!t) {
        SetLastError(ERROR_INVALID_HANDLE);
        return (DWORD)-1;
    }
    DWORD previous;
    {
        std::lock_guard<std::mutex> g(g_waitMutex);
        previous = t->m_suspended ? 1 : 0;
        t->m_suspended = false;
    }
    g_waitCv.notify_all();
    return previous;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode) {
    auto t = LookupKernelObjectAs<ThreadObject>(thread);
    if (!t || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(g_waitMutex);
    *exitCode = t->m_exitCode;
    return TRUE;
}
