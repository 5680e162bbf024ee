#include "platform/base/ToolHelp.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace {

class Snapshot : public KernelObject {
public:
    bool IsSignalled() const override { return false; }
    bool IsWaitable() const override { return false; }
    std::vector<PROCESSENTRY32> processes;
    std::vector<MODULEENTRY32> modules;

    // Walks one of the lists: the first entry, or the one after the last given.
    template <class Entry>
    BOOL Walk(std::vector<Entry>& list, size_t& next, Entry* entry, bool first) {
        if (!entry || entry->dwSize < sizeof(Entry)) {
            SetLastError(ERROR_BAD_LENGTH);
            return FALSE;
        }
        std::lock_guard<std::mutex> guard(lock);
        if (first)
            next = 0;
        if (next >= list.size()) {
            SetLastError(ERROR_NO_MORE_FILES);
            return FALSE;
        }
        DWORD size = entry->dwSize;
        *entry = list[next++];
        entry->dwSize = size;
        return TRUE;
    }

    size_t nextProcess = 0;
    size_t nextModule = 0;

private:
    std::mutex lock;
};

template <size_t N>
void CopyText(char (&target)[N], const std::string& text) {
    size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

std::string FileName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The whole of a /proc file; false when it cannot be read. A process can end while it is read, and then
// the read fails (ESRCH): that is a plain "no", never an exception.
bool ReadProcFile(const std::string& path, std::string& text) {
    text.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        text.append(buf, (size_t)n);
    }
    ::close(fd);
    return true;
}

// One process's entry from /proc/<pid>/stat; false when it cannot be read (it may just have ended).
bool ReadProcess(DWORD pid, PROCESSENTRY32& entry) {
    std::string stat;
    if (!ReadProcFile("/proc/" + std::to_string(pid) + "/stat", stat))
        return false;
    // "pid (name) state ppid ..." where the name may hold blanks and parentheses.
    size_t open = stat.find('(');
    size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return false;
    std::vector<std::string> fields;  // fields from the state on
    size_t pos = close + 1;
    while (pos < stat.size()) {
        while (pos < stat.size() && stat[pos] == ' ')
            ++pos;
        size_t end = stat.find_first_of(" \n", pos);
        if (end == std::string::npos)
            end = stat.size();
        if (end > pos)
            fields.push_back(stat.substr(pos, end - pos));
        pos = end + 1;
    }
    if (fields.size() < 18)
        return false;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    entry.th32ProcessID = pid;
    entry.th32ParentProcessID = (DWORD)std::strtoul(fields[1].c_str(), nullptr, 10);
    entry.cntThreads = (DWORD)std::strtoul(fields[17].c_str(), nullptr, 10);
    entry.pcPriClassBase = 8;
    std::string program = GetProcessProgramPath(pid);
    CopyText(entry.szExeFile, program.empty() ? stat.substr(open + 1, close - open - 1) : FileName(program));
    return true;
}

bool IsNumber(const char* text) {
    if (!*text)
        return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9')
            return false;
    return true;
}

bool ReadProcesses(std::vector<PROCESSENTRY32>& list) {
    DIR* dir = ::opendir("/proc");
    if (!dir) {
        SetLastError(WinErrorFromErrno(errno));
        return false;
    }
    while (dirent* item = ::readdir(dir)) {
        if (!IsNumber(item->d_name))
            continue;
        unsigned long pid = std::strtoul(item->d_name, nullptr, 10);
        if (pid > 0xFFFFFFFFul)
            continue;
        PROCESSENTRY32 entry;
        if (ReadProcess((DWORD)pid, entry))
            list.push_back(entry);
    }
    ::closedir(dir);
    return true;
}

bool ReadModules(DWORD pid, std::vector<MODULEENTRY32>& list) {
    std::string program = GetProcessProgramPath(pid);
    if (program.empty()) {
        bool exists = ::kill((pid_t)pid, 0) == 0 || errno == EPERM;
        SetLastError(exists ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
        return false;
    }
    MODULEENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    entry.th32ModuleID = 1;
    entry.th32ProcessID = pid;
    entry.GlblcntUsage = 1;
    entry.ProccntUsage = 1;
    CopyText(entry.szModule, FileName(program));
    CopyText(entry.szExePath, program);
    list.push_back(entry);
    return true;
}

std::shared_ptr<Snapshot> LookupSnapshot(HANDLE handle) {
    std::shared_ptr<Snapshot> snapshot = LookupKernelObjectAs<Snapshot>(handle);
    if (!snapshot)
        SetLastError(ERROR_INVALID_HANDLE);
    return snapshot;
}
}  // namespace

std::string GetProcessProgramPath(DWORD processId) {
    char buffer[PATH_MAX];
    std::string link =
        processId == 0 ? std::string("/proc/self/exe") : "/proc/" + std::to_string(processId) + "/exe";
    ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (n <= 0)
        return std::string();
    std::string target(buffer, (size_t)n);
    const std::string deleted = " (deleted)";  // the program file was replaced while running
    if (target.size() > deleted.size() &&
        target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
        target.resize(target.size() - deleted.size());
    return target;
}

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
    auto snapshot = std::make_shared<Snapshot>();
    if ((flags & TH32CS_SNAPPROCESS) && !ReadProcesses(snapshot->processes))
        return INVALID_HANDLE_VALUE;
    if (flags & (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32)) {
        if (processId == 0)
            processId = (DWORD)::getpid();
        if (!ReadModules(processId, snapshot->modules))
            return INVALID_HANDLE_VALUE;
    }
    return RegisterKernelObject(snapshot);
}

BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) {
    auto s = LookupSnapshot(snapshot);
    return s ? s->Walk(s->processes, s->nextProcess, entry, true) : FALSE;
}

BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) {
    auto s = LookupSnapshot(snapshot);
    return s ? s->Walk(s->processes, s->nextProcess, entry, false) : FALSE;
}

BOOL Module32First(HANDLE snapshot, LPMODULEENTRY32 entry) {
    auto s = LookupSnapshot(snapshot);
    return s ? s->Walk(s->modules, s->nextModule, entry, true) : FALSE;
}

BOOL Module32Next(HANDLE snapshot, LPMODULEENTRY32 entry) {
    auto s = LookupSnapshot(snapshot);
    return s ? s->Walk(s->modules, s->nextModule, entry, false) : FALSE;
}
