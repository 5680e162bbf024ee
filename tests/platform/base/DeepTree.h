// Test support: a chain of nested folders whose full path passes the system's path limit (4,096 bytes),
// built one level at a time with mkdirat/openat, since no single call takes the whole path.
// TempFolder::RemoveTree removes such a tree.
#pragma once

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Makes `levels` nested folders named `part` inside the existing folder `root` and writes the files
// (name, content) into the deepest one; `more`, when given, adds to it through its descriptor. Returns
// that folder's full path, "" on failure.
inline std::string MakeDeepTree(const std::string& root, int levels, const std::string& part,
                                const std::vector<std::pair<std::string, std::string>>& files,
                                const std::function<bool(int)>& more = nullptr) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return "";
    std::string path = root;
    for (int i = 0; i < levels; ++i) {
        int next = -1;
        if (::mkdirat(fd, part.c_str(), 0755) == 0 || errno == EEXIST)
            next = ::openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        if (next < 0)
            return "";
        fd = next;
        path += "/" + part;
    }
    bool ok = true;
    for (const auto& [name, content] : files) {
        int out = ::openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ok = out >= 0 && ::write(out, content.data(), content.size()) == (ssize_t)content.size() && ok;
        if (out >= 0)
            ::close(out);
    }
    if (more)
        ok = more(fd) && ok;
    ::close(fd);
    return ok ? path : "";
}
