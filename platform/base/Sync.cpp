#include "platform/base/Sync.h"

#include <chrono>
#include <thread>

ULONGLONG GetTickCount64() {
    using namespace std::chrono;
    return (ULONGLONG)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

DWORD GetTickCount() {
    return (DWORD)GetTickCount64();
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
