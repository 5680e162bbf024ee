// Global memory blocks: the handles the clipboard and data transfers hand around. A block is locked
// for its bytes and freed once; a stale or freed handle fails, never a crash.
#pragma once

#include "platform/base/Types.h"

typedef HANDLE HGLOBAL;
typedef size_t SIZE_T;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Every block starts zeroed; the flags are accepted.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Keeps the contents up to the new size; the handle stays the same. A locked block is not moved: null.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Null when freed; the block itself when the handle was not one.
HGLOBAL GlobalFree(HGLOBAL block);
