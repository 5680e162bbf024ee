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
#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000u
#endif
#ifndef IMAGE_BITMAP
#define IMAGE_BITMAP 0
#endif
// An image list cut from the bitmap resource `name` in images `cx` wide; pixels of `mask` are
// transparent (CLR_DEFAULT: the colour of the top-left pixel; CLR_NONE: none). Null when there is no
// such bitmap.
HIMAGELIST ImageList_LoadImage(HINSTANCE instance, LPCTSTR name, int cx, int grow, COLORREF mask, UINT type,
                               UINT flags);
#define ImageList_LoadBitmap(instance, name, cx, grow, mask) \
    ImageList_LoadImage(instance, name, cx, grow, mask, IMAGE_BITMAP, 0)
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// Removes one image (-1: all of them); the later images move down. FALSE for a bad index.
BOOL ImageList_Remove(HIMAGELIST list, int index);
// A new list with copies of the images.
HIMAGELIST ImageList_Duplicate(HIMAGELIST list);
// A new icon of the image, of the list's size, or null; the caller destroys it (DestroyIcon).
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

namespace user {
// The image at `index` (owned by the list), or null.
cairo_surface_t* ImageListImage(HIMAGELIST list, int index);
}  // namespace user
