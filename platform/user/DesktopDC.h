// The desktop window's DC: a snapshot of the screen as the visible top-level windows show it (on the
// headless display: their surfaces, bottom to top, over the desktop colour). Drawing into it changes the
// snapshot only.
#pragma once

#include "platform/gdi/Gdi.h"

namespace user {
HDC CreateDesktopSnapshotDC();
}
