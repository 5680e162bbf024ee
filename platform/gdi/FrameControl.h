// Frame controls (caption, scroll, button and menu glyphs) and SetPixelV, in our Classic look.
#pragma once

#include "platform/gdi/Gdi.h"

#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFC_POPUPMENU 5

#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_CAPTIONHELP 0x0004

#define DFCS_MENUARROW 0x0000
#define DFCS_MENUCHECK 0x0001
#define DFCS_MENUBULLET 0x0002
#define DFCS_MENUARROWRIGHT 0x0004

#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_SCROLLCOMBOBOX 0x0005
#define DFCS_SCROLLSIZEGRIP 0x0008
#define DFCS_SCROLLSIZEGRIPRIGHT 0x0010

#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIOIMAGE 0x0001
#define DFCS_BUTTONRADIOMASK 0x0002
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTON3STATE 0x0008
#define DFCS_BUTTONPUSH 0x0010

#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_TRANSPARENT 0x0800
#define DFCS_HOT 0x1000
#define DFCS_ADJUSTRECT 0x2000
#define DFCS_FLAT 0x4000
#define DFCS_MONO 0x8000

// Draws the frame control of `type` and `state` into `rc` in the system colours:
// - buttons (caption, scroll arrows, push buttons) get a raised edge, sunken when DFCS_PUSHED (or
//   DFCS_CHECKED for push buttons), a one-pixel shadow frame with DFCS_FLAT, a black one with DFCS_MONO;
//   their face is COLOR_BTNFACE and their glyph COLOR_BTNTEXT, moved one pixel right and down when pushed;
//   DFCS_INACTIVE draws the glyph in COLOR_BTNHIGHLIGHT one pixel down-right under COLOR_BTNSHADOW;
// - glyphs sit centred in a square of min(width, height) less the edges, scaled to it;
// - DFC_MENU draws its glyph in black on white (a mask, as menus use it).
// With DFCS_ADJUSTRECT `rc` comes back without the edge. FALSE for a bad DC, rectangle or type.
BOOL DrawFrameControl(HDC dc, LPRECT rc, UINT type, UINT state);

// SetPixel without the answer: TRUE when the pixel was set.
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
