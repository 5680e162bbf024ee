// The thread hooks an organizer sets: the first hook a process sets stands in for every thread whose
// organizer is gone, so it is forgotten when it is removed.
#pragma once

#include "platform/user/User.h"

inline void OXRemoveThreadHook(HHOOK& hook, HHOOK& firstHook) {
    if (!hook)
        return;
    ::UnhookWindowsHookEx(hook);
    if (firstHook == hook)
        firstHook = nullptr;
    hook = nullptr;
}
