// CGridCell: one cell of a grid, owned by its row.
#pragma once

#include "platform/base/LogFont.h"
#include "platform/base/String.h"

// Cell state bits.
#define GVIS_FOCUSED 0x0001
#define GVIS_SELECTED 0x0002
#define GVIS_DROPHILITED 0x0004
#define GVIS_READONLY 0x0008
#define GVIS_MODIFIED 0x0020

#ifndef CLR_DEFAULT
#define CLR_DEFAULT ((COLORREF)0xFF000000)  // the grid's own colour
#endif
#ifndef DT_SINGLELINE
#define DT_VCENTER 0x00000004
#define DT_SINGLELINE 0x00000020
#endif

class CGridCell {
public:
    CGridCell() = default;
    virtual ~CGridCell() = default;

    UINT state = 0;
    UINT nFormat = 0;  // text drawing flags
    CString szText;
    int iImage = -1;  // -1: none
    COLORREF crBkClr = CLR_DEFAULT;
    COLORREF crFgClr = CLR_DEFAULT;
    LOGFONT lfFont{};
    uint32_t lParam = 0;  // application data
};
