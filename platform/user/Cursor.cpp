// The pointer's position: where the last mouse input went, as a display or a test delivered it.
#include <atomic>

#include "platform/user/User.h"

namespace {
std::atomic<long long> g_cursor{0};
}

BOOL GetCursorPos(LPPOINT pt) {
    if (!pt)
        return FALSE;
    long long v = g_cursor.load();
    pt->x = (LONG)(int32_t)(v >> 32);
    pt->y = (LONG)(int32_t)(v & 0xFFFFFFFF);
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    g_cursor.store(((long long)(uint32_t)x << 32) | (uint32_t)y);
    return TRUE;
}
