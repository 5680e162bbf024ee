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
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
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
