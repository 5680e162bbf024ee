// The one clock of the platform. By default it follows the steady clock; a test installs a
// DrivenClock and moves time forward itself, so timers, tick counts and Sleep never wait for real.
#pragma once

#include "platform/base/Types.h"

// Milliseconds on the platform clock.
ULONGLONG PlatformClockNow();
// True while a DrivenClock is installed.
bool PlatformClockIsDriven();

// While it lives, the platform clock stands still until Advance moves it. Sleep advances it.
class DrivenClock {
public:
    explicit DrivenClock(ULONGLONG start = 1000000);
    ~DrivenClock();
    DrivenClock(const DrivenClock&) = delete;
    DrivenClock& operator=(const DrivenClock&) = delete;

    void Advance(ULONGLONG milliseconds);
    ULONGLONG Now() const;
    // Total time moved forward by Sleep calls while installed.
    ULONGLONG SleptMilliseconds() const;
};

namespace platform_clock_detail {
// Called by Sleep: advances a driven clock and returns true, or returns false for the real clock.
bool SleepOnDrivenClock(DWORD milliseconds);
}  // namespace platform_clock_detail
