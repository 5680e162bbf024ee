// Window regions: a window's shape, in window coordinates. Outside it the window is not hit by the mouse
// and a top-level window's pixels are transparent when presented.
#pragma once

#include <cairo.h>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"
#include "platform/user/User.h"

// The window takes the region over (it deletes it); null makes the window rectangular again. Returns
// non-zero on success.
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
// Copies the window's shape into `rgn`: the region's complexity, or ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN rgn);

namespace user {
// The window's shape; false when it has none.
bool WindowShape(HWND hwnd, Region& shape);
void ForgetWindowShape(HWND hwnd);
// Clears the pixels of a top-level window's surface that lie outside its shape.
void ApplyWindowShape(HWND hwnd, cairo_surface_t* surface);
}  // namespace user
