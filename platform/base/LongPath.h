// Opening a path of any length. The system refuses a path longer than its limit (4,096 bytes) in a
// single call, while files below such a path exist and are reachable one folder at a time.
#pragma once

#include <sys/types.h>

// Opens `path` relative to the folder `dirFd` (AT_FDCWD for the current folder; ignored for an absolute
// path) as openat(2) would, O_CLOEXEC always added. A path the system finds too long is walked one
// folder at a time with openat, following links in the folders on the way as an ordinary lookup does;
// `flags` apply to the last part only. The descriptor, or -1 with errno set.
int OpenLongPath(int dirFd, const char* path, int flags, mode_t mode = 0);
