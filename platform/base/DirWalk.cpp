#include "platform/base/DirWalk.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const char* path = (folder && *folder) ? folder : ".";
    int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        SetLastError(WinErrorFromErrno(errno));
        if (fd >= 0)
            ::close(fd);
        return FALSE;
    }
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
        if (!StatEntry(fd, name, entry))
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
