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
// The desktop's DC while its window updates are locked (drag frames). There is no shared screen surface
// here: every fill it makes is applied as an exclusive-or into the visible top-level windows it crosses,
// so drawing the same inverted frame again erases it from them. Meant for inverting fills (PATINVERT,
// DSTINVERT); a plain fill shows as its difference from black.
HDC CreateDesktopOverlayDC();
}
