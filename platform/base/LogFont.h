// LOGFONT: the description of a font, with the platform's field layout and sizes. It lives in base
// because windowless objects (grid cells) keep font descriptions before any drawing exists.
#pragma once

#include "platform/base/Types.h"

#ifndef LF_FACESIZE
#define LF_FACESIZE 32
#endif

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONT* LPLOGFONT;
typedef const LOGFONT* LPCLOGFONT;
