#include "platform/base/DirWalk.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/LongPath.h"

namespace {
constexpr unsigned kStatMask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_BTIME;

// Fills the entry from a statx record; false for anything but a regular file or a folder.
bool FromStatx(const struct statx& sx, DirEntry& entry) {
    const bool folder = S_ISDIR(sx.stx_mode);
    if (!folder && !S_ISREG(sx.stx_mode))
        return false;
    entry.isFolder = folder;
    entry.size = folder ? 0 : (ULONGLONG)sx.stx_size;
    entry.modified = (time_t)sx.stx_mtime.tv_sec;
    entry.accessed = (time_t)sx.stx_atime.tv_sec;
    entry.created = (sx.stx_mask & STATX_BTIME) ? (time_t)sx.stx_btime.tv_sec : entry.modified;
    return true;
}

// Stats a name relative to a folder descriptor: a link is followed only to a regular file.
bool StatEntry(int dirFd, const char* name, DirEntry& entry) {
    struct statx sx {};
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatMask, &sx) != 0)
        return false;
    if (S_ISLNK(sx.stx_mode)) {
        if (statx(dirFd, name, AT_NO_AUTOMOUNT, kStatMask, &sx) != 0 || !S_ISREG(sx.stx_mode))
            return false;
    }
    return FromStatx(sx, entry);
}
}  // namespace

BOOL ReadFolder(LPCTSTR folder, std::vector<DirEntry>& entries) {
    entries.clear();
    int fd = OpenFolder(folder);
    if (fd < 0)
        return FALSE;
    BOOL read = ReadFolderAt(fd, entries);
    ::close(fd);
    return read;
}

BOOL ReadFolderAt(int dirFd, std::vector<DirEntry>& entries) {
    entries.clear();
    // The directory stream takes its own descriptor; it shares the position, so it starts from the top.
    int fd = dirFd >= 0 ? fcntl(dirFd, F_DUPFD_CLOEXEC, 0) : -1;
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        SetLastError(dirFd >= 0 ? WinErrorFromErrno(errno) : ERROR_INVALID_HANDLE);
        if (fd >= 0)
            ::close(fd);
        return FALSE;
    }
    rewinddir(dir);
    while (struct dirent* d = readdir(dir)) {
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        switch (d->d_type) {  // leave out what can never qualify without a stat call
            case DT_FIFO:
            case DT_SOCK:
            case DT_CHR:
            case DT_BLK:
                continue;
            default:
                break;
        }
        DirEntry entry;
        if (!StatEntry(dirFd, name, entry))
            continue;  // vanished, unreadable or of another kind
        entry.name = name;
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        int c = AsciiCompareNoCase(a.name.str(), b.name.str());
        return c != 0 ? c < 0 : a.name.str() < b.name.str();
    });
    return TRUE;
}

int OpenFolder(LPCTSTR folder) {
    int fd = OpenLongPath(AT_FDCWD, (folder && *folder) ? folder : ".", O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        SetLastError(WinErrorFromErrno(errno));
    return fd;
}

int OpenSubFolder(int dirFd, LPCTSTR name) {
    int fd = name ? ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
    if (fd < 0)
        SetLastError(name ? WinErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return fd;
}
