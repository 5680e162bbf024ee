// Device-independent bitmaps: headers, colour tables and the calls that draw, read and create them.
// Rows are padded to 4 bytes and run bottom-up (top-down with a negative height). Pixel formats read:
// 1, 4 and 8 bits with a colour table (DIB_RGB_COLORS) or indices into the DC's palette (DIB_PAL_COLORS),
// 16 bits (5-5-5, or masks with BI_BITFIELDS), 24 bits, 32 bits (or masks with BI_BITFIELDS). The
// run-length encodings are not read: those calls fail.
#pragma once

#include "platform/gdi/Gdi.h"

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;
struct BITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
};
typedef BITMAPCOREHEADER* LPBITMAPCOREHEADER;
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct RGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;
static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(BITMAPCOREHEADER) == 12 && sizeof(RGBTRIPLE) == 3,
              "DIB headers keep the platform's layout");

// Copies lines of a DIB unscaled to (x, y): the source rectangle (xSrc, ySrc, width, height) has its y
// counted from the DIB's bottom row; `startScan` and `lines` say which rows `bits` holds (all: 0 and
// the height). Returns the lines copied, 0 on failure.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT colorUse);
// Stretches the source rectangle (its y counted from the DIB's bottom row, as above) onto the
// destination with a raster operation. Returns the source height, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// Reads a bitmap's rows. With `bits` null and biBitCount 0 only the header is filled (32 bits, BI_RGB,
// biSizeImage). Otherwise rows startScan.. of the bitmap (counted from its bottom) are written in the
// header's format: 1 (against the colour table's two entries, which are filled as black and white), 24 or
// 32 bits. Returns the lines written, 0 on failure.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);
// A 32-bit bitmap of the header's size; with CBM_INIT its pixels from `bits`.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// A palette of 256 colours spread over the colour cube.
HPALETTE CreateHalftonePalette(HDC dc);
