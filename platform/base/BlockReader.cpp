#include "platform/base/BlockReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/LongPath.h"

BOOL CBlockReader::Open(const char* path) {
    return OpenAt(AT_FDCWD, path);
}

BOOL CBlockReader::OpenAt(int dirFd, const char* path) {
    Close();
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Non-blocking open, so that a FIFO without a writer cannot hang the caller before it is refused.
    int fd = OpenLongPath(dirFd, path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        SetLastError(WinErrorFromErrno(errno));
        return FALSE;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // O_NONBLOCK stays: a file that would block a read (a kernel message file, say) is not waited on.
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
    m_failed = false;
    return TRUE;
}

size_t CBlockReader::Read(void* buffer, size_t count) {
    if (m_fd < 0)
        return 0;
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, (char*)buffer + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            m_failed = true;
        if (n <= 0)
            break;
        done += (size_t)n;
    }
    return done;
}

void CBlockReader::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
