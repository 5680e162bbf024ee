// Advance widths of single characters in the DC's font.
#pragma once

#include "platform/gdi/Gdi.h"

#ifndef SYMBOL_CHARSET
#define SYMBOL_CHARSET 2
#endif
typedef int* LPINT;

// The advance of each character first..last (at most 256 of them) into `widths`; FALSE for a bad DC,
// a reversed range or a null buffer.
BOOL GetCharWidth(HDC dc, UINT first, UINT last, LPINT widths);
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, LPINT widths);
