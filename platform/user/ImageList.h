// Image lists: images of one size, added from icons or from a bitmap strip with a mask, drawn by index.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

typedef struct HIMAGELIST__* HIMAGELIST;

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020
#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds the icon scaled to the list's size; the index of the new image, or -1.
int ImageList_AddIcon(HIMAGELIST list, HICON icon);
// Adds the bitmap as a strip of images of the list's width; where the mask is white the image is
// transparent. The index of the first new image, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Adds the bitmap as a strip of images; pixels of the mask colour are transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

namespace user {
// The image at `index` (owned by the list), or null.
cairo_surface_t* ImageListImage(HIMAGELIST list, int index);
}  // namespace user
