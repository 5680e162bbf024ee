// The desktop window's DC: a snapshot of the screen as the visible top-level windows show it (on the
// headless display: their surfaces, bottom to top, over the desktop colour). Drawing into it changes the
// snapshot only.
#pragma once

#include "platform/user/User.h"

namespace user {
HDC CreateDesktopSnapshotDC();
// The screen as it lies beneath a window: only the top-level windows below the window's top-level
// window in z-order (a shadow drawn over what the window covers).
HDC CreateDesktopSnapshotBeneathDC(HWND window);
}
