#include "platform/base/File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int ErrnoToCause(int err) {
    return CFileException::OsErrorToException((LONG)WinErrorFromErrno(err));
}

void FillStatus(const struct stat& st, LPCTSTR path, CFileStatus& status) {
    status.m_mtime = CTime(st.st_mtime);
    status.m_atime = CTime(st.st_atime);
    status.m_ctime = CTime(st.st_mtime);
#ifdef STATX_BTIME
    struct statx sx {};
    if (path && statx(AT_FDCWD, path, 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        status.m_ctime = CTime((time_t)sx.stx_btime.tv_sec);
#endif
    status.m_size = (ULONGLONG)st.st_size;
    BYTE attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attr |= FILE_ATTRIBUTE_READONLY;
    if (attr == 0)
        attr = FILE_ATTRIBUTE_ARCHIVE;
    status.m_attribute = attr;
    if (path) {
        char* full = realpath(path, nullptr);
        const char* name = full ? full : path;
        std::strncpy(status.m_szFullName, name, sizeof status.m_szFullName - 1);
        status.m_szFullName[sizeof status.m_szFullName - 1] = '\0';
        free(full);
    }
}
}  // namespace

DWORD GetFileAttributes(LPCTSTR path) {
    struct stat st {};
    if (!path || stat(path, &st) != 0) {
        SetLastError(WinErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attr |= FILE_ATTRIBUTE_READONLY;
    if (attr == 0)
        attr = FILE_ATTRIBUTE_ARCHIVE;
    return attr;
}

LONGLONG GetFileSize64(LPCTSTR path) {
    struct stat st {};
    if (!path || stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return (LONGLONG)st.st_size;
}

CFile::CFile(LPCTSTR path, UINT flags) {
    CFileException e;
    if (!Open(path, flags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

BOOL CFile::Open(LPCTSTR path, UINT flags, CFileException* error) {
    if (m_fd >= 0)
        Close();
    int oflags = O_CLOEXEC;
    switch (flags & 3) {
        case modeWrite:
            oflags |= O_WRONLY;
            break;
        case modeReadWrite:
            oflags |= O_RDWR;
            break;
        default:
            oflags |= O_RDONLY;
            break;
    }
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    int fd = path ? ::open(path, oflags, 0666) : -1;
    if (fd >= 0) {
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        int err = path ? errno : EINVAL;
        SetLastError(WinErrorFromErrno(err));
        if (error) {
            error->m_cause = ErrnoToCause(err);
            error->m_lOsError = (LONG)WinErrorFromErrno(err);
            error->m_strFileName = path;
        }
        return FALSE;
    }
    if (flags & osSequentialScan)
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
    m_flags = flags;
    m_path = path;
    return TRUE;
}

void CFile::Close() {
    if (m_fd >= 0) {
        int r = ::close(m_fd);
        m_fd = -1;
        if (r != 0)
            ThrowErrno(errno);
    }
}

void CFile::Abort() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void CFile::ThrowErrno(int err) const {
    throw new CFileException(ErrnoToCause(err), (LONG)WinErrorFromErrno(err), m_path);
}

UINT CFile::Read(void* buffer, UINT count) {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, (char*)buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        if (n == 0)
            break;
        done += (size_t)n;
    }
    return (UINT)done;
}

void CFile::Write(const void* buffer, UINT count) {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, (const char*)buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        done += (size_t)n;
    }
}

void CFile::Flush() {}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
    off_t r = ::lseek(m_fd, (off_t)offset, whence);
    if (r < 0)
        ThrowErrno(errno);
    return (ULONGLONG)r;
}

ULONGLONG CFile::GetPosition() const {
    off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0)
        ThrowErrno(errno);
    return (ULONGLONG)r;
}

ULONGLONG CFile::GetLength() const {
    struct stat st {};
    if (fstat(m_fd, &st) != 0)
        ThrowErrno(errno);
    return (ULONGLONG)st.st_size;
}

void CFile::SetLength(ULONGLONG length) {
    if (ftruncate(m_fd, (off_t)length) != 0)
        ThrowErrno(errno);
}

CString CFile::GetFileName() const {
    int slash = m_path.ReverseFind('/');
    return slash < 0 ? m_path : m_path.Mid(slash + 1);
}

BOOL CFile::GetStatus(CFileStatus& status) const {
    struct stat st {};
    if (m_fd < 0 || fstat(m_fd, &st) != 0)
        return FALSE;
    FillStatus(st, m_path, status);
    return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR path, CFileStatus& status) {
    struct stat st {};
    if (!path || stat(path, &st) != 0)
        return FALSE;
    FillStatus(st, path, status);
    return TRUE;
}

void CFile::Remove(LPCTSTR path) {
    if (!path || ::unlink(path) != 0) {
        int err = path ? errno : EINVAL;
        throw new CFileException(ErrnoToCause(err), (LONG)WinErrorFromErrno(err), path);
    }
}

void CFile::Rename(LPCTSTR oldPath, LPCTSTR newPath) {
    if (!oldPath || !newPath || ::rename(oldPath, newPath) != 0) {
        int err = (oldPath && newPath) ? errno : EINVAL;
        throw new CFileException(ErrnoToCause(err), (LONG)WinErrorFromErrno(err), oldPath);
    }
}

// ---- CStdioFile ----

CStdioFile::CStdioFile(LPCTSTR path, UINT flags) {
    CFileException e;
    if (!Open(path, flags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile() {
    try {
        if (m_fd >= 0)
            FlushWrite();
    } catch (CException* e) {
        e->Delete();
    }
}

BOOL CStdioFile::Open(LPCTSTR path, UINT flags, CFileException* error) {
    m_rbuf.clear();
    m_rpos = 0;
    m_wbuf.clear();
    return CFile::Open(path, flags, error);
}

void CStdioFile::Close() {
    if (m_fd >= 0) {
        try {
            FlushWrite();
        } catch (CException*) {
            CFile::Abort();
            throw;
        }
    }
    m_rbuf.clear();
    m_rpos = 0;
    CFile::Close();
}

void CStdioFile::Abort() {
    m_wbuf.clear();
    m_rbuf.clear();
    m_rpos = 0;
    CFile::Abort();
}

BOOL CStdioFile::FillBuffer() {
    FlushWrite();
    m_rbuf.resize(65536);
    UINT n = CFile::Read(m_rbuf.data(), (UINT)m_rbuf.size());
    m_rbuf.resize(n);
    m_rpos = 0;
    return n > 0;
}

void CStdioFile::FlushWrite() {
    if (m_wbuf.empty())
        return;
    std::string out;
    out.swap(m_wbuf);
    CFile::Write(out.data(), (UINT)out.size());
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    // Raw bytes; text-mode translation applies to ReadString only.
    size_t done = 0;
    char* dst = (char*)buffer;
    while (done < count) {
        if (m_rpos >= m_rbuf.size() && !FillBuffer())
            break;
        size_t n = std::min((size_t)count - done, m_rbuf.size() - m_rpos);
        std::memcpy(dst + done, m_rbuf.data() + m_rpos, n);
        m_rpos += n;
        done += n;
    }
    return (UINT)done;
}

void CStdioFile::Write(const void* buffer, UINT count) {
    if (m_rpos < m_rbuf.size()) {  // drop read-ahead so the write lands where the caller is
        CFile::Seek(-(LONGLONG)(m_rbuf.size() - m_rpos), current);
    }
    m_rbuf.clear();
    m_rpos = 0;
    m_wbuf.append((const char*)buffer, count);
    if (m_wbuf.size() >= 65536)
        FlushWrite();
}

void CStdioFile::Flush() {
    FlushWrite();
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    FlushWrite();
    if (from == current)
        offset -= (LONGLONG)(m_rbuf.size() - m_rpos);
    m_rbuf.clear();
    m_rpos = 0;
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const {
    return CFile::GetPosition() + m_wbuf.size() - (m_rbuf.size() - m_rpos);
}

ULONGLONG CStdioFile::GetLength() const {
    ULONGLONG len = CFile::GetLength();
    ULONGLONG end = CFile::GetPosition() + m_wbuf.size();
    return end > len ? end : len;
}

BOOL CStdioFile::ReadString(CString& line) {
    std::string& out = line.str();
    out.clear();
    bool any = false;
    for (;;) {
        if (m_rpos >= m_rbuf.size() && !FillBuffer())
            break;
        const char* start = m_rbuf.data() + m_rpos;
        size_t avail = m_rbuf.size() - m_rpos;
        const char* nl = (const char*)std::memchr(start, '\n', avail);
        any = true;
        if (!nl) {
            out.append(start, avail);
            m_rpos = m_rbuf.size();
            continue;
        }
        out.append(start, (size_t)(nl - start));
        m_rpos += (size_t)(nl - start) + 1;
        if (Text() && !out.empty() && out.back() == '\r')
            out.pop_back();
        return TRUE;
    }
    if (Text() && !out.empty() && out.back() == '\r')
        out.pop_back();
    return any ? TRUE : FALSE;
}

void CStdioFile::WriteString(LPCTSTR text) {
    if (!text)
        return;
    if (!Text()) {
        Write(text, (UINT)std::strlen(text));
        return;
    }
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n')
            out += '\r';
        out += *p;
    }
    Write(out.data(), (UINT)out.size());
}
