#include "platform/base/Clock.h"

#include <atomic>
#include <chrono>

#include "platform/base/Handles.h"

namespace {
std::atomic<bool> g_driven{false};
std::atomic<ULONGLONG> g_drivenNow{0};
std::atomic<ULONGLONG> g_slept{0};

ULONGLONG SteadyNow() {
    using namespace std::chrono;
    return (ULONGLONG)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

ULONGLONG PlatformClockNow() {
    return g_driven.load() ? g_drivenNow.load() : SteadyNow();
}

bool PlatformClockIsDriven() {
    return g_driven.load();
}

DrivenClock::DrivenClock(ULONGLONG start) {
    g_drivenNow = start;
    g_slept = 0;
    g_driven = true;
}

DrivenClock::~DrivenClock() {
    g_driven = false;
    NotifyHandleWaiters();
}

void DrivenClock::Advance(ULONGLONG milliseconds) {
    g_drivenNow += milliseconds;
    // Waits with a deadline and message loops with timers look at the clock again.
    NotifyHandleWaiters();
}

ULONGLONG DrivenClock::Now() const {
    return g_drivenNow.load();
}

ULONGLONG DrivenClock::SleptMilliseconds() const {
    return g_slept.load();
}

namespace platform_clock_detail {
bool SleepOnDrivenClock(DWORD milliseconds) {
    if (!g_driven.load())
        return false;
    g_slept += milliseconds;
    g_drivenNow += milliseconds;
    NotifyHandleWaiters();
    return true;
}
}  // namespace platform_clock_detail
