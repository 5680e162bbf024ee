// Drag and drop and data transfer within the process: drop effects, the drag loop's answers and the
// format record, with their Windows values.
#pragma once

#include "platform/base/GlobalMemory.h"
#include "platform/user/User.h"

typedef DWORD DROPEFFECT;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000u

#ifndef MK_ALT
#define MK_ALT 0x0020
#endif

#ifndef VELTRIN_HAVE_SCODE
#define VELTRIN_HAVE_SCODE
typedef LONG SCODE;
typedef LONG HRESULT;
#endif
#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#define DRAGDROP_S_DROP ((HRESULT)0x00040100L)
#define DRAGDROP_S_CANCEL ((HRESULT)0x00040101L)
#define DRAGDROP_S_USEDEFAULTCURSORS ((HRESULT)0x00040102L)

typedef WORD CLIPFORMAT;
#define DVASPECT_CONTENT 1
#define TYMED_HGLOBAL 1
struct FORMATETC {
    CLIPFORMAT cfFormat;
    void* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
typedef FORMATETC* LPFORMATETC;
