#include "platform/base/Sync.h"

#include <chrono>
#include <thread>

#include "platform/base/Clock.h"

ULONGLONG GetTickCount64() {
    return PlatformClockNow();
}

DWORD GetTickCount() {
    return (DWORD)GetTickCount64();
}

void Sleep(DWORD milliseconds) {
    if (platform_clock_detail::SleepOnDrivenClock(milliseconds))
        return;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
