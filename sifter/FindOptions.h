// CFindOptions: what one search looks for. Copied by value.
#pragma once

#include "platform/base/String.h"
#include "platform/base/Time.h"

// Which tests a search applies.
#define FIND_SIZE 0x01
#define FIND_DATEMODIFIED 0x02
#define FIND_DATECREATED 0x04
#define FIND_DATEACCESSED 0x08
#define FIND_ATTRIBUTES 0x10  // set by callers with the attribute mask; the finder tests nothing for it
#define FIND_TEXT 0x20

class CFindOptions {
public:
    CFindOptions() { Reset(); }
    // Defaults: no folder, every name, no sub-folders, no tests, every time now. The text is kept.
    void Reset();

    CString sBaseFolder;  // the search appends a '/' to it
    CString sFileMask;    // masks separated by blanks, commas or semicolons
    CString sFindText;    // searched when FIND_TEXT is set
    BOOL bSubfolders = FALSE;
    DWORD dwOptionsFlags = 0;
    LONGLONG nMinSize = 0;  // bytes, inclusive
    LONGLONG nMaxSize = 0;
    CTime tMinCreated, tMaxCreated;  // inclusive ranges
    CTime tMinModified, tMaxModified;
    CTime tMinAccessed, tMaxAccessed;
    DWORD dwFileAttributes = 0;
};
