// Windows of the program's other running copies. Every process that makes a top-level window answers on
// a Unix socket of its own, named after its process id in one folder per user: it lists its top-level
// windows and carries out posts, shows and activations on them. Another process sees those windows as
// handles of a range of their own (see IsForeignWindow), which the window calls below accept.
//
// The answering thread never waits on a window procedure for a list or a post; a show or an activation is
// sent to the window's own thread, and the asking side gives up after a short time, so a hung copy never
// hangs another.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/user/UserInternal.h"

using namespace user;

namespace {
// Local windows take handles from 0x10000 up; foreign ones start far above any table of local windows.
constexpr uint32_t kForeignFirst = 0xC00000;
constexpr int kReplyTimeoutMs = 2000;

enum Op : uint32_t { OpList = 1, OpPost = 2, OpShow = 3, OpForeground = 4 };

struct Request {
    uint32_t op;
    uint32_t hwnd;
    uint32_t msg;
    uint32_t pad;
    uint64_t wParam;
    uint64_t lParam;
};

// One top-level window as a list reply carries it; handles are the answering process's own.
struct WireWindow {
    uint32_t hwnd;
    uint32_t owner;
    uint32_t style;
    uint32_t exStyle;
};

struct Foreign {
    pid_t pid;
    uint32_t remote;
};

std::mutex g_foreignMutex;
HandleTable<Foreign, HWND> g_foreign{kForeignFirst};  // guarded by g_foreignMutex
std::map<std::pair<pid_t, uint32_t>, HWND> g_foreignByRemote;

std::string ChannelFolder() {
    if (const char* dir = std::getenv("VELTRIN_RUNTIME_DIR"); dir && *dir)
        return dir;
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir)
        return std::string(dir) + "/veltrin";
    return "/tmp/veltrin-" + std::to_string(getuid());
}

std::string SocketPath(const std::string& folder, pid_t pid) {
    return folder + "/w" + std::to_string(pid);
}

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    if (path.size() >= sizeof addr.sun_path)
        return false;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size());
    return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
    auto* p = static_cast<const char*>(data);
    while (size) {
        ssize_t n = send(fd, p, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= (size_t)n;
    }
    return true;
}

bool ReadAll(int fd, void* data, size_t size, int timeoutMs) {
    auto* p = static_cast<char*>(data);
    while (size) {
        pollfd pfd{fd, POLLIN, 0};
        int r = poll(&pfd, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        ssize_t n = recv(fd, p, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= (size_t)n;
    }
    return true;
}

// ---- The answering side

std::vector<WireWindow> ListOwnWindows() {
    std::vector<WireWindow> out;
    std::lock_guard<std::mutex> g(Lock());
    for (HWND h : Find(Desktop())->children) {
        const WindowData* w = Find(h);
        if (!w || w->destroying)
            continue;
        out.push_back(WireWindow{(uint32_t)(uintptr_t)h, (uint32_t)(uintptr_t)w->owner, (uint32_t)w->style,
                                 (uint32_t)w->exStyle});
    }
    return out;
}

bool IsOwnTopLevel(HWND h) {
    std::lock_guard<std::mutex> g(Lock());
    const WindowData* w = Find(h);
    return w && w->parent == Desktop() && !w->destroying;
}

void Answer(int fd) {
    Request req{};
    if (!ReadAll(fd, &req, sizeof req, kReplyTimeoutMs))
        return;
    HWND target = (HWND)(uintptr_t)req.hwnd;
    if (req.op == OpList) {
        std::vector<WireWindow> list = ListOwnWindows();
        uint32_t count = (uint32_t)list.size();
        if (WriteAll(fd, &count, sizeof count))
            WriteAll(fd, list.data(), list.size() * sizeof(WireWindow));
        return;
    }
    int32_t result = 0;
    if (IsOwnTopLevel(target)) {
        switch (req.op) {
            case OpPost:
                result = PostMessage(target, req.msg, (WPARAM)req.wParam, (LPARAM)req.lParam);
                break;
            case OpShow:
                result = (int32_t)SendMessage(target, WM_REMOTEWINDOWCALL, RemoteShow, (LPARAM)req.wParam);
                break;
            case OpForeground:
                result = (int32_t)SendMessage(target, WM_REMOTEWINDOWCALL, RemoteForeground, 0);
                break;
            default:
                break;
        }
    }
    WriteAll(fd, &result, sizeof result);
}

std::string g_ownSocket;

void RemoveOwnSocket() {
    if (!g_ownSocket.empty())
        unlink(g_ownSocket.c_str());
}

// ---- The asking side

int Connect(pid_t pid) {
    std::string path = SocketPath(ChannelFolder(), pid);
    sockaddr_un addr;
    if (!MakeAddress(path, addr))
        return -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        // Nobody listens: a copy that ended without removing its socket.
        if (errno == ECONNREFUSED)
            unlink(path.c_str());
        close(fd);
        return -1;
    }
    return fd;
}

bool List(pid_t pid, std::vector<WireWindow>& out) {
    out.clear();
    int fd = Connect(pid);
    if (fd < 0)
        return false;
    Request req{OpList, 0, 0, 0, 0, 0};
    uint32_t count = 0;
    bool ok = WriteAll(fd, &req, sizeof req) && ReadAll(fd, &count, sizeof count, kReplyTimeoutMs) &&
              count <= 100000;
    if (ok) {
        out.resize(count);
        ok = ReadAll(fd, out.data(), count * sizeof(WireWindow), kReplyTimeoutMs);
    }
    close(fd);
    if (!ok)
        out.clear();
    return ok;
}

int32_t Call(pid_t pid, const Request& req) {
    int fd = Connect(pid);
    if (fd < 0)
        return 0;
    int32_t result = 0;
    if (!WriteAll(fd, &req, sizeof req) || !ReadAll(fd, &result, sizeof result, kReplyTimeoutMs))
        result = 0;
    close(fd);
    return result;
}

HWND HandleFor(pid_t pid, uint32_t remote) {
    if (!remote)
        return nullptr;
    std::lock_guard<std::mutex> g(g_foreignMutex);
    HWND& h = g_foreignByRemote[{pid, remote}];
    if (!h)
        h = g_foreign.Add(Foreign{pid, remote});
    return h;
}

bool Resolve(HWND hwnd, Foreign& out) {
    std::lock_guard<std::mutex> g(g_foreignMutex);
    const Foreign* f = g_foreign.Find(hwnd);
    if (!f)
        return false;
    out = *f;
    return true;
}

std::vector<pid_t> OtherCopies() {
    std::vector<pid_t> pids;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ChannelFolder(), ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() < 2 || name[0] != 'w')
            continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + 1, &end, 10);
        if (*end || pid <= 0 || pid == getpid())
            continue;
        pids.push_back((pid_t)pid);
    }
    return pids;
}
}  // namespace

namespace user {
void StartWindowChannel() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::string folder = ChannelFolder();
        mkdir(folder.c_str(), 0700);
        struct stat st;
        // Only a folder of this user's, closed to others, is trusted.
        if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
            (st.st_mode & 077))
            return;
        std::string path = SocketPath(folder, getpid());
        sockaddr_un addr;
        if (!MakeAddress(path, addr))
            return;
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return;
        unlink(path.c_str());  // a socket of an earlier process of this id
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
            close(fd);
            return;
        }
        g_ownSocket = path;
        std::atexit(RemoveOwnSocket);
        std::thread([fd] {
            for (;;) {
                int client = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0) {
                    if (errno == EINTR || errno == ECONNABORTED)
                        continue;
                    return;
                }
                Answer(client);
                close(client);
            }
        }).detach();
    });
}

bool IsForeignWindow(HWND hwnd) {
    uintptr_t v = (uintptr_t)hwnd;
    return v && v <= 0x7FFFFFFF && (v & 0xFFFFFF) >= kForeignFirst;
}

bool QueryForeignWindow(HWND hwnd, ForeignWindowInfo* info) {
    Foreign f;
    if (!Resolve(hwnd, f))
        return false;
    std::vector<WireWindow> list;
    if (!List(f.pid, list))
        return false;
    for (const WireWindow& w : list)
        if (w.hwnd == f.remote) {
            if (info)
                *info = ForeignWindowInfo{(DWORD)f.pid, HandleFor(f.pid, w.owner), w.style, w.exStyle};
            return true;
        }
    return false;
}

BOOL PostForeignMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Foreign f;
    if (!Resolve(hwnd, f))
        return FALSE;
    return Call(f.pid, Request{OpPost, f.remote, msg, 0, (uint64_t)wParam, (uint64_t)lParam}) != 0;
}

BOOL ShowForeignWindow(HWND hwnd, int cmd) {
    Foreign f;
    if (!Resolve(hwnd, f))
        return FALSE;
    return Call(f.pid, Request{OpShow, f.remote, 0, 0, (uint64_t)(int64_t)cmd, 0}) != 0;
}

BOOL SetForeignForeground(HWND hwnd) {
    Foreign f;
    if (!Resolve(hwnd, f))
        return FALSE;
    return Call(f.pid, Request{OpForeground, f.remote, 0, 0, 0, 0}) != 0;
}

}  // namespace user

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
    if (!proc)
        return FALSE;
    std::vector<HWND> own;
    {
        std::lock_guard<std::mutex> g(Lock());
        own = Find(Desktop())->children;
    }
    for (HWND h : own)
        if (IsWindow(h) && !proc(h, param))
            return TRUE;
    std::vector<WireWindow> list;
    for (pid_t pid : OtherCopies()) {
        if (!List(pid, list))
            continue;
        for (const WireWindow& w : list)
            if (!proc(HandleFor(pid, w.hwnd), param))
                return TRUE;
    }
    return TRUE;
}
