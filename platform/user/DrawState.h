// DrawState: text, prefixed text, icons, bitmaps or a caller's drawing, normal, embossed (disabled) or
// in one colour (mono).
#pragma once

#include "platform/user/User.h"

typedef BOOL (*DRAWSTATEPROC)(HDC dc, LPARAM data, WPARAM wData, int cx, int cy);

#define DST_COMPLEX 0x0000
#define DST_TEXT 0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DSS_NORMAL 0x0000
#define DSS_UNION 0x0010
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080
#define DSS_HIDEPREFIX 0x0200
#define DSS_PREFIXONLY 0x0400
#define DSS_RIGHT 0x8000

// The image is `data` (text: its characters, `wData` long or up to its zero when 0; DST_ICON: an HICON;
// DST_BITMAP: an HBITMAP; DST_COMPLEX: handed to `proc` with `wData`), drawn with its top-left at (x, y)
// in a box of cx x cy (0: the image's own size). Text is drawn in the DC's font and text colour without
// a background; DST_PREFIXTEXT underlines the letter after '&' (none with DSS_HIDEPREFIX).
// DSS_MONO and DSS_DISABLED draw the image's shape: its pixels that are not white once drawn on white
// (text and glyphs: darker than half grey). DSS_MONO fills the shape with `brush` (null: the text colour);
// DSS_DISABLED embosses it, COLOR_3DHILIGHT one pixel down-right under COLOR_3DSHADOW.
BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags);
