#include "platform/base/Registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <set>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/base/RegistryFormat.h"

namespace {

using regfile::FindKey;
using regfile::Key;
using regfile::kMaxKeyDepth;
using regfile::kRootCount;
using regfile::kRootNames;
using regfile::NewTree;
using regfile::Value;

// A file larger than kMaxFileSize is not loaded, so none is ever written.
constexpr size_t kMaxFileSize = size_t(256) << 20;

// Index of a predefined key handle, or -1.
int RootIndex(HKEY key) {
    uintptr_t v = (uintptr_t)key;
    uintptr_t first = (uintptr_t)HKEY_CLASSES_ROOT;
    if (v < first || v - first >= kRootCount)
        return -1;
    return (int)(v - first);
}

// Splits a sub-key path at backslashes. One trailing backslash is allowed; an empty component is not;
// a name the file could not hold is refused.
LONG SplitSubKey(LPCSTR subKey, std::vector<std::string>& out) {
    out.clear();
    if (!subKey || !*subKey)
        return ERROR_SUCCESS;
    std::string_view s(subKey);
    if (s.back() == '\\')
        s.remove_suffix(1);
    size_t start = 0;
    for (;;) {
        size_t end = s.find('\\', start);
        std::string_view part =
            s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part.empty())
            return ERROR_BAD_PATHNAME;
        if (!regfile::IsKeyNameAccepted(part))
            return ERROR_INVALID_PARAMETER;
        out.emplace_back(part);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------------
// The file on disk

struct Files {
    std::string path, lock, bad, temp, dir;
};

Files CurrentFiles() {
    Files f;
    f.path = RegistryFilePath().str();
    if (f.path.empty())
        return f;
    f.lock = f.path + ".lock";
    f.bad = f.path + ".bad";
    f.temp = f.path + ".tmp";
    size_t slash = f.path.rfind('/');
    f.dir = slash == std::string::npos ? "." : slash == 0 ? "/" : f.path.substr(0, slash);
    return f;
}

// Creates the folder and its missing parents, each with mode 0700.
bool MakeFolders(const std::string& dir) {
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        errno = ENOTDIR;
        return false;
    }
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos < dir.size() && dir[pos] != '/')
            continue;
        std::string part = dir.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { Unlock(); }

    // exclusive: for a change (creates the lock file); shared: for a read (without a lock when the
    // lock file cannot be had: a read sees a whole file anyway, as every write is a rename).
    bool Lock(const std::string& path, bool exclusive) {
        Unlock();
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return false;
        int rc;
        do {
            rc = flock(m_fd, exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            int err = errno;
            Unlock();
            errno = err;
            return false;
        }
        return true;
    }
    void Unlock() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// What the file holds. error != 0: it could not be read. damaged: it could not be parsed.
struct Snapshot {
    LONG error = ERROR_SUCCESS;
    bool exists = false;
    bool damaged = false;
    std::string reason;
    std::shared_ptr<const std::string> bytes;
    std::shared_ptr<const Key> tree;  // an empty registry when the file is missing or damaged
};

std::mutex g_storeMutex;
std::set<std::string> g_reportedStuck;  // damaged files that could not be set aside, already reported

// The last file read or written. A read reuses its tree when the bytes on disk are the same bytes, so
// the file is read at every call but parsed only when it changed (time stamps are too coarse to tell).
struct Cache {
    std::string path;
    std::shared_ptr<const std::string> bytes;
    std::shared_ptr<const Key> tree;
};
Cache g_cache;

void RememberFile(const std::string& path, std::shared_ptr<const std::string> bytes,
                  std::shared_ptr<const Key> tree) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    g_cache = Cache{path, std::move(bytes), std::move(tree)};
}

// Fills the snapshot from the cache when it holds these bytes of this file.
bool FromCache(const std::string& path, const std::string& bytes, Snapshot& s) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    if (!g_cache.tree || g_cache.path != path || *g_cache.bytes != bytes)
        return false;
    s.bytes = g_cache.bytes;
    s.tree = g_cache.tree;
    return true;
}

// Reads the whole file; false with the error when it cannot be read.
bool ReadBytes(const std::string& path, Snapshot& s, std::string& bytes) {
    // Non-blocking, so that a FIFO in the file's place cannot hang the program; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            s.error = (LONG)WinErrorFromErrno(errno);
        return s.error == ERROR_SUCCESS;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        s.error = S_ISDIR(st.st_mode) ? ERROR_ACCESS_DENIED : ERROR_CANTREAD;
        ::close(fd);
        return false;
    }
    s.exists = true;
    bytes.resize(std::min((size_t)st.st_size, kMaxFileSize + 1));
    size_t got = 0;
    while (got <= kMaxFileSize) {
        if (got == bytes.size())
            bytes.resize(got + 4096);  // the file may have grown
        ssize_t n = ::read(fd, &bytes[got], bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            s.error = (LONG)WinErrorFromErrno(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        got += (size_t)n;
    }
    ::close(fd);
    bytes.resize(got);
    return true;
}

Snapshot ReadFile(const std::string& path) {
    Snapshot s;
    std::string bytes;
    if (!ReadBytes(path, s, bytes))
        return s;
    if (!s.exists) {
        s.tree = NewTree();
        return s;
    }
    if (FromCache(path, bytes, s))
        return s;
    auto tree = NewTree();
    if (bytes.size() > kMaxFileSize) {
        s.damaged = true;
        s.reason = "it is larger than 256 MB";
    } else {
        regfile::ParseResult parsed = regfile::Parse(bytes, *tree);
        if (!parsed.ok) {
            s.damaged = true;
            s.reason = parsed.error;
        } else {
            // Said once for these bytes: the parsed tree is remembered below.
            for (const std::string& line : parsed.skipped)
                fprintf(stderr, "%s: the registry file %s, %s\n", program_invocation_short_name, path.c_str(),
                        line.c_str());
        }
    }
    s.bytes = std::make_shared<const std::string>(std::move(bytes));
    if (s.damaged) {
        s.tree = NewTree();
    } else {
        s.tree = std::move(tree);
        RememberFile(path, s.bytes, s.tree);
    }
    return s;
}

// Says once per file that a damaged file stays where it is.
void ReportStuck(const Files& f, const Snapshot& s, int err) {
    std::lock_guard<std::mutex> guard(g_storeMutex);
    if (g_reportedStuck.insert(f.path).second)
        fprintf(stderr,
                "%s: the registry file %s is damaged (%s) and could not be moved to %s (%s); the settings "
                "start from defaults and are not saved\n",
                program_invocation_short_name, f.path.c_str(), s.reason.c_str(), f.bad.c_str(),
                strerror(err));
}

// Moves a damaged file aside (called with the exclusive lock held). FALSE when it could not be moved:
// the registry then runs on defaults and changes are refused, so the damaged file is not overwritten.
bool SetAside(const Files& f, const Snapshot& s) {
    // An earlier damaged file already kept aside stays: this one goes to the first free ".bad.N".
    std::string bad = f.bad;
    struct stat st {};
    for (int n = 1; ::lstat(bad.c_str(), &st) == 0 && n < 100; ++n)
        bad = f.bad + "." + std::to_string(n);
    if (::rename(f.path.c_str(), bad.c_str()) != 0) {
        ReportStuck(f, s, errno);
        return false;
    }
    fprintf(
        stderr,
        "%s: the registry file %s is damaged (%s); it was moved to %s and the settings start from defaults\n",
        program_invocation_short_name, f.path.c_str(), s.reason.c_str(), bad.c_str());
    return true;
}

void (*g_writeObserver)(char step) = nullptr;

void Observe(char step) {
    if (g_writeObserver)
        g_writeObserver(step);
}

// Writes in chunks of 64 KB.
bool WriteAll(int fd, const std::string& bytes) {
    constexpr size_t kChunk = 64 * 1024;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, std::min(kChunk, bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += (size_t)n;
        Observe('c');
    }
    return true;
}

void SyncFolder(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    ::close(fd);
}

// Temporary file, fsync, rename over the registry file, fsync the folder (exclusive lock held).
LONG WriteAtomically(const Files& f, const std::string& bytes) {
    if (bytes.size() > kMaxFileSize)
        return ERROR_CANTWRITE;
    ::unlink(f.temp.c_str());  // left by a writer that died: no other writer can be busy now
    int fd = ::open(f.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return (LONG)WinErrorFromErrno(errno);
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok)
        Observe('s');
    if (ok && ::rename(f.temp.c_str(), f.path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(f.temp.c_str());
        return err == ENOSPC || err == EIO ? ERROR_CANTWRITE : (LONG)WinErrorFromErrno(err);
    }
    Observe('r');
    SyncFolder(f.dir);
    return ERROR_SUCCESS;
}

// Runs fn over the registry as it is on disk now.
LONG ReadStore(const std::function<LONG(const Key&)>& fn) {
    Files f = CurrentFiles();
    if (f.path.empty())
        return fn(*NewTree());
    FileLock lock;
    lock.Lock(f.lock, false);
    Snapshot s = ReadFile(f.path);
    if (s.damaged) {
        // Set aside under the exclusive lock, after a second look: someone may have mended it.
        lock.Unlock();
        if (lock.Lock(f.lock, true)) {
            s = ReadFile(f.path);
            if (s.damaged)
                SetAside(f, s);
        } else {
            ReportStuck(f, s, errno);
        }
    }
    if (s.error != ERROR_SUCCESS)
        return s.error;
    return fn(*s.tree);
}

// Applies fn to the registry on disk and writes the result through (only when something changed).
LONG ChangeStore(const std::function<LONG(Key&)>& fn) {
    Files f = CurrentFiles();
    if (f.path.empty())
        return ERROR_PATH_NOT_FOUND;
    if (!MakeFolders(f.dir))
        return (LONG)WinErrorFromErrno(errno);
    FileLock lock;
    if (!lock.Lock(f.lock, true))
        return (LONG)WinErrorFromErrno(errno);
    Snapshot s = ReadFile(f.path);
    if (s.error != ERROR_SUCCESS)
        return s.error;
    if (s.damaged) {
        if (!SetAside(f, s))
            return ERROR_BADDB;
        s.exists = false;
    }
    std::unique_ptr<Key> tree = s.tree->Clone();
    LONG rc = fn(*tree);
    if (rc != ERROR_SUCCESS)
        return rc;
    auto bytes = std::make_shared<const std::string>(regfile::Serialize(*tree));
    if (s.exists && *bytes == *s.bytes)
        return ERROR_SUCCESS;
    rc = WriteAtomically(f, *bytes);
    if (rc == ERROR_SUCCESS)
        RememberFile(f.path, std::move(bytes), std::move(tree));
    return rc;
}

// ---------------------------------------------------------------------------------------------------
// Handles

struct OpenKey {
    std::vector<std::string> path;  // root name first
    REGSAM access = 0;
};

LockedHandleTable<OpenKey, HKEY> g_handles{0x100};

LONG ResolveHandle(HKEY key, OpenKey& out) {
    int root = RootIndex(key);
    if (root >= 0) {
        out.path.assign(1, kRootNames[root]);
        out.access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    std::optional<OpenKey> open = g_handles.Get(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    out = std::move(*open);
    return ERROR_SUCCESS;
}

// The open key a handle names and the parts of a sub-key path below it, within the depth limit.
LONG ResolveSubKey(HKEY key, LPCSTR subKey, OpenKey& base, std::vector<std::string>& parts) {
    LONG rc = ResolveHandle(key, base);
    if (rc != ERROR_SUCCESS)
        return rc;
    if ((rc = SplitSubKey(subKey, parts)) != ERROR_SUCCESS)
        return rc;
    if (base.path.size() - 1 + parts.size() > kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

HKEY NewHandle(std::vector<std::string> path, REGSAM access) {
    return g_handles.Add(OpenKey{std::move(path), access});
}

// The key of an open handle in a tree (ERROR_KEY_DELETED when it is gone), checking an access right.
LONG KeyOf(const Key& top, const OpenKey& open, REGSAM need, Key*& out) {
    if (need && (open.access & need) != need)
        return ERROR_ACCESS_DENIED;
    out = FindKey(top, open.path);
    return out ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// The key's path with the names' stored case.
std::vector<std::string> StoredPath(const Key& top, const std::vector<std::string>& path) {
    std::vector<std::string> out;
    const Key* k = &top;
    for (const std::string& part : path) {
        auto it = k->subkeys.find(part);
        if (it == k->subkeys.end())
            return path;
        out.push_back(it->first);
        k = it->second.get();
    }
    return out;
}

// Copies data to a caller's buffer by the Windows rules: no buffer asks the size; too small a buffer
// answers ERROR_MORE_DATA with the size needed.
LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size) {
    if (buffer && !size)
        return ERROR_INVALID_PARAMETER;
    if (!size)
        return ERROR_SUCCESS;
    DWORD have = *size;
    *size = (DWORD)data.size();
    if (!buffer)
        return ERROR_SUCCESS;
    if (have < data.size())
        return ERROR_MORE_DATA;
    if (!data.empty())
        memcpy(buffer, data.data(), data.size());
    return ERROR_SUCCESS;
}

// Copies a name with its terminating zero; the count is in characters, without the zero on return.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD count) {
    if (!buffer || !count)
        return ERROR_INVALID_PARAMETER;
    if (*count <= name.size())
        return ERROR_MORE_DATA;
    memcpy(buffer, name.c_str(), name.size() + 1);
    *count = (DWORD)name.size();
    return ERROR_SUCCESS;
}

void ClearTime(PFILETIME time) {
    if (time)
        *time = FILETIME{0, 0};
}

}  // namespace

// -------------------------------------------------------------------------------------------------------
// The API

CString RegistryFilePath() {
    const char* explicitPath = getenv("VELTRIN_REGISTRY");
    if (explicitPath && *explicitPath)
        return CString(explicitPath);
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return CString(std::string(config) + "/veltrin/registry.reg");
    std::string home;
    const char* envHome = getenv("HOME");
    if (envHome && *envHome) {
        home = envHome;
    } else {
        struct passwd pw {};
        struct passwd* found = nullptr;
        char buffer[4096];
        if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
            home = found->pw_dir;
    }
    if (home.empty())
        return CString();
    return CString(home + "/.config/veltrin/registry.reg");
}

void RegistrySetWriteObserverForTesting(void (*observer)(char step)) {
    g_writeObserver = observer;
}

LONG RegOpenKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    std::vector<std::string> parts;
    LONG rc = ResolveSubKey(hKey, lpSubKey, base, parts);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path;
    rc = ReadStore([&](const Key& top) -> LONG {
        if (!FindKey(top, base.path))
            return ERROR_KEY_DELETED;
        path = base.path;
        path.insert(path.end(), parts.begin(), parts.end());
        if (!FindKey(top, path))
            return ERROR_FILE_NOT_FOUND;
        path = StoredPath(top, path);
        return ERROR_SUCCESS;
    });
    if (rc == ERROR_SUCCESS)
        *phkResult = NewHandle(std::move(path), samDesired);
    return rc;
}

LONG RegCreateKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                    const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult || !lpSubKey)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    std::vector<std::string> parts;
    LONG rc = ResolveSubKey(hKey, lpSubKey, base, parts);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path = base.path;
    path.insert(path.end(), parts.begin(), parts.end());

    // Most calls find the key in place: no need for the exclusive lock then.
    bool exists = false;
    rc = ReadStore([&](const Key& top) -> LONG {
        if (!FindKey(top, base.path))
            return ERROR_KEY_DELETED;
        exists = FindKey(top, path) != nullptr;
        if (exists)
            path = StoredPath(top, path);
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS)
        return rc;
    bool created = false;
    if (!exists) {
        rc = ChangeStore([&](Key& top) -> LONG {
            Key* k = nullptr;
            LONG r = KeyOf(top, base, 0, k);
            if (r != ERROR_SUCCESS)
                return r;
            for (const std::string& part : parts) {
                Key* next = k->FindSubkey(part);
                if (!next) {
                    if (!(base.access & KEY_CREATE_SUB_KEY))
                        return ERROR_ACCESS_DENIED;
                    next = &k->Subkey(part);
                    created = true;
                }
                k = next;
            }
            path = StoredPath(top, path);
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS)
            return rc;
    }
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = NewHandle(std::move(path), samDesired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (RootIndex(hKey) >= 0)
        return ERROR_SUCCESS;
    return g_handles.Take(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueEx(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                     LPDWORD lpcbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    std::string_view name = lpValueName ? lpValueName : "";
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        const Value* v = k->FindValue(name);
        if (!v)
            return ERROR_FILE_NOT_FOUND;
        if (lpType)
            *lpType = v->type;
        return CopyData(v->data, lpData, lpcbData);
    });
}

LONG RegSetValueEx(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::string_view name = lpValueName ? lpValueName : "";
    if ((!lpData && cbData) || !regfile::IsValueNameAccepted(name))
        return ERROR_INVALID_PARAMETER;
    if ((open.access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    std::string data = cbData ? std::string((const char*)lpData, cbData) : std::string();
    return ChangeStore([&](Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_SET_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        k->SetValue(name, dwType, data);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY hKey, LPCSTR lpValueName) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if ((open.access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    std::string_view name = lpValueName ? lpValueName : "";
    return ChangeStore([&](Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_SET_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        return k->DeleteValue(name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegDeleteKey(HKEY hKey, LPCSTR lpSubKey) {
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> parts;
    if ((rc = SplitSubKey(lpSubKey, parts)) != ERROR_SUCCESS)
        return rc;
    std::vector<std::string> path = open.path;
    path.insert(path.end(), parts.begin(), parts.end());
    if (path.size() < 2)
        return ERROR_ACCESS_DENIED;  // a predefined root
    std::string last = path.back();
    path.pop_back();
    return ChangeStore([&](Key& top) -> LONG {
        if (!FindKey(top, open.path))
            return ERROR_KEY_DELETED;
        Key* parent = FindKey(top, path);
        Key* victim = parent ? parent->FindSubkey(last) : nullptr;
        if (!victim)
            return ERROR_FILE_NOT_FOUND;
        if (!victim->subkeys.empty())
            return ERROR_ACCESS_DENIED;
        parent->subkeys.erase(parent->subkeys.find(last));
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                  LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (!lpName || !lpcchName)
        return ERROR_INVALID_PARAMETER;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_ENUMERATE_SUB_KEYS, k);
        if (r != ERROR_SUCCESS)
            return r;
        if (dwIndex >= k->subkeys.size())
            return ERROR_NO_MORE_ITEMS;
        auto it = k->subkeys.begin();
        std::advance(it, dwIndex);
        if ((r = CopyName(it->first, lpName, lpcchName)) != ERROR_SUCCESS)
            return r;
        if (lpClass && lpcchClass && *lpcchClass > 0) {
            lpClass[0] = '\0';
            *lpcchClass = 0;
        }
        ClearTime(lpftLastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                  LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        if (dwIndex >= k->values.size())
            return ERROR_NO_MORE_ITEMS;
        const Value& v = k->values[dwIndex];
        if ((r = CopyName(v.name, lpValueName, lpcchValueName)) != ERROR_SUCCESS)
            return r;
        if (lpType)
            *lpType = v.type;
        return CopyData(v.data, lpData, lpcbData);
    });
}

LONG RegQueryInfoKey(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                     LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                     LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                     PFILETIME lpftLastWriteTime) {
    OpenKey open;
    LONG rc = ResolveHandle(hKey, open);
    if (rc != ERROR_SUCCESS)
        return rc;
    return ReadStore([&](const Key& top) -> LONG {
        Key* k = nullptr;
        LONG r = KeyOf(top, open, KEY_QUERY_VALUE, k);
        if (r != ERROR_SUCCESS)
            return r;
        DWORD maxSub = 0, maxName = 0, maxData = 0;
        for (const auto& entry : k->subkeys)
            maxSub = std::max(maxSub, (DWORD)entry.first.size());
        for (const Value& v : k->values) {
            maxName = std::max(maxName, (DWORD)v.name.size());
            maxData = std::max(maxData, (DWORD)v.data.size());
        }
        if (lpClass && lpcchClass && *lpcchClass > 0)
            lpClass[0] = '\0';
        if (lpcchClass)
            *lpcchClass = 0;
        if (lpcSubKeys)
            *lpcSubKeys = (DWORD)k->subkeys.size();
        if (lpcbMaxSubKeyLen)
            *lpcbMaxSubKeyLen = maxSub;
        if (lpcbMaxClassLen)
            *lpcbMaxClassLen = 0;
        if (lpcValues)
            *lpcValues = (DWORD)k->values.size();
        if (lpcbMaxValueNameLen)
            *lpcbMaxValueNameLen = maxName;
        if (lpcbMaxValueLen)
            *lpcbMaxValueLen = maxData;
        if (lpcbSecurityDescriptor)
            *lpcbSecurityDescriptor = 0;
        ClearTime(lpftLastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegFlushKey(HKEY hKey) {
    OpenKey open;
    return ResolveHandle(hKey, open);
}

LONG RegConnectRegistry(LPCSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (lpMachineName && *lpMachineName)
        return ERROR_BAD_NETPATH;
    if (RootIndex(hKey) < 0)
        return ERROR_INVALID_HANDLE;
    *phkResult = hKey;
    return ERROR_SUCCESS;
}
