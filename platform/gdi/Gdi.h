// Device contexts and drawing objects over Cairo image surfaces, with the Windows pixel rules:
// fills and frames cover left..right-1, 1-pixel pens are crisp, lines leave out their last point.
// Only text is anti-aliased.
#pragma once

#include "platform/base/LogFont.h"

#include "platform/base/Handles.h"
#include "platform/base/String.h"
#include "platform/base/Types.h"

typedef struct HDC__* HDC;
typedef struct HPEN__* HPEN;
typedef struct HBRUSH__* HBRUSH;
typedef struct HFONT__* HFONT;
typedef struct HBITMAP__* HBITMAP;
typedef struct HRGN__* HRGN;
typedef struct HPALETTE__* HPALETTE;
typedef void* HGDIOBJ;
typedef struct _cairo_surface cairo_surface_t;

#define CLR_INVALID 0xFFFFFFFFu
#define CLR_NONE 0xFFFFFFFFu
#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)
#define GDI_ERROR 0xFFFFFFFFu

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Pens.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F

// Brushes.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Binary raster operations (SetROP2).
#define R2_BLACK 1
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_COPYPEN 13
#define R2_WHITE 16

// Ternary raster operations.
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// Text alignment.
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawText.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_WORD_ELLIPSIS 0x00040000
#define DT_HIDEPREFIX 0x00100000

// DrawEdge.
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Mapping modes: text (one logical unit is one pixel), fixed units to the inch with y upwards, and the
// free modes whose scale the window and viewport extents give.
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// StretchBlt modes (every mode takes the nearest source pixel).
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

// Device capabilities.
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define COLORRES 108
#define RC_BITBLT 1
#define RC_PALETTE 0x0100
#define RC_STRETCHBLT 0x0800

// Fonts.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRIC* LPTEXTMETRIC;

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

// Rectangle helpers.
BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rc);
BOOL CopyRect(LPRECT dst, const RECT* src);
BOOL IsRectEmpty(const RECT* rc);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rc, POINT pt);
BOOL OffsetRect(LPRECT rc, int dx, int dy);
BOOL InflateRect(LPRECT rc, int dx, int dy);
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b);
int MulDiv(int number, int numerator, int denominator);

// Objects.
HGDIOBJ GetStockObject(int index);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirect(const LOGFONT* font);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCTSTR face);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rc);
// The pixels inside a polygon by the fill mode (ALTERNATE or WINDING); right and bottom edges outside.
HRGN CreatePolygonRgn(const POINT* points, int count, int mode);
#ifndef ALTERNATE
#define ALTERNATE 1
#define WINDING 2
#endif
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int GetRgnBox(HRGN rgn, LPRECT rc);
BOOL PtInRegion(HRGN rgn, int x, int y);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_PAL 5
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Palettes: kept and answered; a true-colour device draws every colour as it is.
struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};
HPALETTE CreatePalette(const LOGPALETTE* palette);
// A colour matched in the selected palette: on a true-colour device, its RGB as it is.
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);

// Device contexts.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
UINT SetTextAlign(HDC dc, UINT align);
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL GetWindowExtEx(HDC dc, LPSIZE size);
BOOL GetViewportExtEx(HDC dc, LPSIZE size);
BOOL ScaleViewportExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old);
BOOL ScaleWindowExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old);
// Logical points to device points (relative to the DC's own origin) and back.
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL GetViewportOrgEx(HDC dc, LPPOINT pt);
BOOL GetWindowOrgEx(HDC dc, LPPOINT pt);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old);
int GetDeviceCaps(HDC dc, int index);
int GetClipBox(HDC dc, LPRECT rc);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC dc, HRGN rgn);
BOOL RectVisible(HDC dc, const RECT* rc);
BOOL PtVisible(HDC dc, int x, int y);

// Drawing.
int FillRect(HDC dc, const RECT* rc, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rc, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rc);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
// The ellipse inside the rectangle (right and bottom excluded), filled with the brush, outlined by the pen.
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Part of that ellipse's outline, counter-clockwise from the radial through the start point to the radial
// through the end point.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT pt);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int swidth,
                int sheight, DWORD rop);
BOOL DrawEdge(HDC dc, LPRECT rc, UINT edge, UINT flags);
BOOL DrawFocusRect(HDC dc, const RECT* rc);

// Text.
BOOL TextOut(HDC dc, int x, int y, LPCTSTR text, int length);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rc, LPCTSTR text, UINT length, const INT* dx);
int DrawText(HDC dc, LPCTSTR text, int length, LPRECT rc, UINT format);
BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC tm);
int GetTextFace(HDC dc, int count, LPTSTR face);

// System colours: the Classic table; tests may override one.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_DESKTOP 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_3DFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_3DSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DHILIGHT 20
#define COLOR_3DHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_HOTLIGHT 26
#define COLOR_GRADIENTACTIVECAPTION 27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define COLOR_MENUHILIGHT 29
#define COLOR_MENUBAR 30
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
// Replaces one system colour (tests); ResetSysColors restores the Classic table.
void SetSysColorForTest(int index, COLORREF color);
void ResetSysColors();

// Platform-side access for the window layer and the displays.
// A DC drawing into `surface` with logical (0,0) at device `origin`, clipped to `clip` (device
// rectangles of the surface; null for the whole surface).
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const RECT* clip, int clipCount);
// Calls `filled` with the surface rectangle of each fill the DC makes (PatBlt, FillRect, InvertRect...):
// the window layer mirrors a desktop DC's drawing into the windows it crosses.
void SetDCFillHook(HDC dc, std::function<void(const RECT& surfaceRect)> filled);
// Where the surface of a DC lies on the screen (windows' DCs; others stay at 0,0).
void SetDCSurfaceScreenPos(HDC dc, POINT screen);
// The screen position of the DC's device origin.
BOOL GetDCOrgEx(HDC dc, LPPOINT pt);
// The surface a DC draws into (a memory DC: its selected bitmap's), or null.
cairo_surface_t* GetDCSurface(HDC dc);
// The surface of a bitmap.
cairo_surface_t* GetBitmapSurface(HBITMAP bitmap);
// A new 32-bit image surface filled with `fill`.
cairo_surface_t* CreateImageSurface(int width, int height, COLORREF fill);
// A pixel of a surface as COLORREF (CLR_INVALID outside).
COLORREF GetSurfacePixel(cairo_surface_t* surface, int x, int y);
// Writes a surface as PNG; FALSE on failure.
BOOL WriteSurfacePng(cairo_surface_t* surface, LPCTSTR path);
// The dialog base units of a font (average width of the letters, height of a line).
SIZE GetFontBaseUnits(HFONT font);

// Further drawing: gradients, frame controls, device-independent bitmaps.
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/Gradient.h"
#include "platform/gdi/Dib.h"
