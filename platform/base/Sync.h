// Critical sections and locks for the few places that share state across threads.
#pragma once

#include <mutex>

#include "platform/base/Types.h"

class CCriticalSection {
public:
    BOOL Lock() {
        m_mutex.lock();
        return TRUE;
    }
    BOOL Unlock() {
        m_mutex.unlock();
        return TRUE;
    }

private:
    std::recursive_mutex m_mutex;
};

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* cs, BOOL initialLock = FALSE) : m_cs(cs) {
        if (initialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    BOOL Lock() {
        if (!m_locked && m_cs) {
            m_cs->Lock();
            m_locked = true;
        }
        return TRUE;
    }
    BOOL Unlock() {
        if (m_locked) {
            m_cs->Unlock();
            m_locked = false;
        }
        return TRUE;
    }
    BOOL IsLocked() const { return m_locked; }

private:
    CCriticalSection* m_cs;
    bool m_locked = false;
};

// Milliseconds since an arbitrary start, as the kernel's tick count.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void Sleep(DWORD milliseconds);
