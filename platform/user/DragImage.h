// The drag image: one image at a time follows the mouse over a window while something is dragged. It is
// drawn over the pixels of that window's top-level surface and takes them back when it moves or goes, so
// it leaves nothing behind; while a window under it paints, it steps aside and comes back when the new
// pixels are shown.
#pragma once

#include "platform/user/ImageList.h"

// Copies image `index` of `track` as the drag image; the hot spot is the point of the image that sits
// under the mouse. FALSE when a drag image exists already or the image does not.
BOOL ImageList_BeginDrag(HIMAGELIST track, int index, int dxHotspot, int dyHotspot);
// Shows the drag image over `lock` (null: the window under the point) with the hot spot at (x, y),
// in coordinates of `lock`'s window rectangle (null: the screen).
BOOL ImageList_DragEnter(HWND lock, int x, int y);
// Moves it, in the coordinates DragEnter was given.
BOOL ImageList_DragMove(int x, int y);
// Hides it and lets the window go.
BOOL ImageList_DragLeave(HWND lock);
// Hides it (when shown) and destroys it.
void ImageList_EndDrag();
// Hides or shows it while it stays entered (a window about to scroll hides it first).
BOOL ImageList_DragShowNolock(BOOL show);

namespace user {
// Painting calls: a DC is about to draw into `surface` (the image steps aside), and new pixels are
// about to be shown (the image comes back).
void LiftDragImage(cairo_surface_t* surface);
void RestoreDragImage();
}  // namespace user
