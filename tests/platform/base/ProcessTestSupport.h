// Shared by the process tests: temporary folders, scoped environment and working folder, the probe
// program (probe/ProcessProbe.cpp) and what it wrote down.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace process_test {

inline const std::string kProbeName = "veltrin_process_probe";
inline std::string ProbePath() {
    return std::string(VELTRIN_BIN_DIR) + "/" + kProbeName;
}

using TempDir = ::TempFolder;
using ::ScopedEnv;

class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& folder) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedChdir() {
        std::error_code ignored;
        std::filesystem::current_path(m_old, ignored);
    }
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::filesystem::path m_old;
};

inline void WriteFile(const std::string& path, const std::string& bytes, mode_t mode) {
    std::ofstream(path, std::ios::binary) << bytes;
    ::chmod(path.c_str(), mode);
}

// A copy of the probe under another name or in another folder; its records name the copy's path.
inline void CopyProbe(const std::string& target) {
    std::filesystem::copy_file(ProbePath(), target, std::filesystem::copy_options::overwrite_existing);
    ::chmod(target.c_str(), 0755);
}

// What one run of the probe wrote down.
struct ProbeRecord {
    std::multimap<std::string, std::string> items;
    std::vector<std::string> args;
    bool Has(const std::string& name) const { return items.count(name) != 0; }
    std::string Get(const std::string& name) const {
        auto it = items.find(name);
        return it == items.end() ? std::string() : it->second;
    }
};

inline std::optional<ProbeRecord> ReadProbe(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProbeRecord record;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t blank = all.find(' ', pos);
        size_t blank2 = blank == std::string::npos ? blank : all.find(' ', blank + 1);
        if (blank2 == std::string::npos)
            return std::nullopt;
        std::string name = all.substr(pos, blank - pos);
        size_t length = std::stoul(all.substr(blank + 1, blank2 - blank - 1));
        if (blank2 + 1 + length + 1 > all.size())
            return std::nullopt;
        std::string value = all.substr(blank2 + 1, length);
        if (name == "arg")
            record.args.push_back(value);
        record.items.emplace(name, value);
        pos = blank2 + 1 + length + 1;
    }
    return record;
}

// True when the process is no child of ours any more, not even a zombie waiting to be collected.
inline bool IsReaped(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, (id_t)pid, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

// A named pipe that holds a probe until the test lets it go. Open() returns once the probe is reading
// (so it has written its records); Release() lets it exit.
class ProbeGate {
public:
    explicit ProbeGate(const std::string& path) : m_path(path) { ::mkfifo(path.c_str(), 0600); }
    ~ProbeGate() {
        // A probe still waiting to read (the test stopped early) is let go as well.
        if (m_fd < 0)
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
        Release();
        ::unlink(m_path.c_str());
    }
    ProbeGate(const ProbeGate&) = delete;
    ProbeGate& operator=(const ProbeGate&) = delete;
    const std::string& Path() const { return m_path; }
    bool Open() {
        if (m_fd < 0)
            m_fd = ::open(m_path.c_str(), O_WRONLY);
        return m_fd >= 0;
    }
    void Release() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    std::string m_path;
    int m_fd = -1;
};

}  // namespace process_test
