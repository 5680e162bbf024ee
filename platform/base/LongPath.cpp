#include "platform/base/LongPath.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int OpenLongPath(int dirFd, const char* path, int flags, mode_t mode) {
    flags |= O_CLOEXEC;
    int fd = ::openat(dirFd, path, flags, mode);
    if (fd >= 0 || errno != ENAMETOOLONG || !path)
        return fd;

    // One part at a time; a single part longer than a name may be still fails as too long.
    int cur = dirFd;
    bool ownCur = false;
    const char* p = path;
    if (*p == '/') {
        cur = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (cur < 0)
            return -1;
        ownCur = true;
        while (*p == '/')
            ++p;
    }
    for (;;) {
        const char* end = p;
        while (*end && *end != '/')
            ++end;
        std::string part(p, end);
        const char* rest = end;
        while (*rest == '/')
            ++rest;
        const bool last = *rest == '\0';
        const char* name = part.empty() ? "." : part.c_str();
        int next;
        if (last)  // a trailing '/' asks for a folder, as in an ordinary lookup
            next = ::openat(cur, name, flags | (*end == '/' ? O_DIRECTORY : 0), mode);
        else
            next = ::openat(cur, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int err = errno;
        if (ownCur)
            ::close(cur);
        errno = err;
        if (next < 0 || last)
            return next;
        cur = next;
        ownCur = true;
        p = rest;
    }
}
