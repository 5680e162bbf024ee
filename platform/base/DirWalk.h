// The one directory walk: the entries of a folder that a search may use, in a fixed order.
#pragma once

#include <ctime>
#include <vector>

#include "platform/base/String.h"

struct DirEntry {
    CString name;           // the entry's name, without folder
    bool isFolder = false;  // a real folder (never a link to one)
    ULONGLONG size = 0;
    time_t created = 0;  // the birth time when the file system keeps one, else the modification time
    time_t modified = 0;
    time_t accessed = 0;
};

// Reads one folder ("" is the current folder). Yields regular files (a link to a regular file counts as
// that file) and real folders only, sorted by name without regard to ASCII case (ties by the exact
// bytes); "." and "..", links to folders (so a walk never loops), FIFOs, sockets and devices are left
// out, so nothing listed can block when opened. FALSE, with the last error set and the list empty, when
// the folder cannot be read.
BOOL ReadFolder(LPCTSTR folder, std::vector<DirEntry>& entries);
// The same for a folder already open; the descriptor stays the caller's and may be read again.
BOOL ReadFolderAt(int dirFd, std::vector<DirEntry>& entries);

// A walk holds the descriptor of each folder on its way down and opens the next one from it, so no path
// ever grows past the system's limit. Both give a descriptor to close, or -1 with the last error set.
// The folder where a walk starts, by a path of any length ("" is the current folder).
int OpenFolder(LPCTSTR folder);
// A sub-folder of an open folder by its name; a link is never followed, so a walk cannot loop.
int OpenSubFolder(int dirFd, LPCTSTR name);
