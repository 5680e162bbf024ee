// Named mutexes and memory mappings over POSIX shared memory.
//
// Each named object is one shared memory object "/veltrin.<uid>.[s<session>.]<kind>.<name>". A handle holds its own
// descriptor with a shared flock on it. Creating or opening happens under one exclusive lock of the user
// (a lock file in the shared memory folder), and there an exclusive flock that succeeds at once tells that
// nobody holds the object any more: it is (re)initialised as new. The objects' files are never removed;
// a later creator reuses them.
#include "platform/base/SharedObjects.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "platform/base/String.h"

namespace {
constexpr DWORD kGranularity = 65536;

// Named objects belong to the session that VELTRIN_RUNTIME_DIR names, as the windows of other copies do:
// a copy sees only the objects of the copies whose windows it can reach.
std::string SessionPrefix(const char* runtimeDir) {
    std::string prefix = "/veltrin." + std::to_string(getuid()) + ".";
    if (!runtimeDir || !*runtimeDir)
        return prefix;
    uint64_t h = 1469598103934665603ull;  // FNV-1a: the same in every process
    for (const char* p = runtimeDir; *p; ++p)
        h = (h ^ (unsigned char)*p) * 1099511628211ull;
    char buf[24];
    snprintf(buf, sizeof buf, "s%016llx.", (unsigned long long)h);
    return prefix + buf;
}

std::string SessionPrefix() {
    return SessionPrefix(std::getenv("VELTRIN_RUNTIME_DIR"));
}

// The name as a shared memory object's name: one leading '/', no other, bounded length.
std::string ObjectName(const char* kind, const std::string& name) {
    std::string n = name;
    for (const char* prefix : {"Global\\", "Local\\"})
        if (n.compare(0, std::strlen(prefix), prefix) == 0)
            n.erase(0, std::strlen(prefix));
    std::string encoded;
    for (char c : n) {
        if (c == '/' || c == '%' || (unsigned char)c < 0x20) {
            char buf[4];
            snprintf(buf, sizeof buf, "%%%02X", (unsigned char)c);
            encoded += buf;
        } else {
            encoded += c;
        }
    }
    std::string full = SessionPrefix() + kind + "." + encoded;
    if (full.size() > 200) {
        // A long name keeps its start and a hash of the whole.
        size_t h = std::hash<std::string>()(encoded);
        full = full.substr(0, 180) + "." + std::to_string(h);
    }
    return full;
}

// The user's lock around creating and opening named objects.
class NamesLock {
public:
    NamesLock() {
        std::string name = "/veltrin." + std::to_string(getuid()) + ".names.lock";
        m_fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0)
            while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~NamesLock() {
        if (m_fd >= 0)
            close(m_fd);
    }
    NamesLock(const NamesLock&) = delete;
    NamesLock& operator=(const NamesLock&) = delete;

private:
    int m_fd = -1;
};

// A named object's descriptor with its shared lock held; `fresh` when nobody held it before.
struct Opened {
    int fd = -1;
    bool fresh = false;
};

// Opens (creating with `create`) the object and takes the handle's shared lock. `init` runs on a fresh
// object before anyone else can see it.
template <class Init>
Opened OpenNamed(const std::string& name, bool create, Init init) {
    NamesLock lock;
    Opened o;
    o.fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (o.fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        return o;
    }
    if (flock(o.fd, LOCK_EX | LOCK_NB) == 0) {
        // Nobody holds it: a left-over of ended processes, or new.
        if (!create) {
            close(o.fd);
            o.fd = -1;
            SetLastError(ERROR_FILE_NOT_FOUND);
            return o;
        }
        o.fresh = true;
        if (!init(o.fd)) {
            close(o.fd);
            o.fd = -1;
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return o;
        }
    }
    flock(o.fd, LOCK_SH);
    SetLastError(o.fresh ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return o;
}

// ---- Mutexes ----

struct SharedMutex {
    pthread_mutex_t mutex;
};

bool InitMutex(SharedMutex* m, bool shared) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    if (shared)
        pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    bool ok = pthread_mutex_init(&m->mutex, &attr) == 0;
    pthread_mutexattr_destroy(&attr);
    return ok;
}

class MutexObject : public KernelObject {
public:
    ~MutexObject() override {
        if (m_mutex && m_fd >= 0)
            munmap(m_mutex, sizeof(SharedMutex));
        else if (m_mutex) {
            pthread_mutex_destroy(&m_mutex->mutex);
            delete m_mutex;
        }
        if (m_fd >= 0)
            close(m_fd);
    }
    bool IsSignalled() const override { return false; }
    bool IsWaitable() const override { return true; }
    long long WaitAlone(DWORD milliseconds) override {
        int r;
        if (milliseconds == INFINITE) {
            r = pthread_mutex_lock(&m_mutex->mutex);
        } else if (milliseconds == 0) {
            r = pthread_mutex_trylock(&m_mutex->mutex);
        } else {
            timespec deadline;
            clock_gettime(CLOCK_REALTIME, &deadline);
            deadline.tv_sec += milliseconds / 1000;
            deadline.tv_nsec += (long)(milliseconds % 1000) * 1000000L;
            if (deadline.tv_nsec >= 1000000000L) {
                ++deadline.tv_sec;
                deadline.tv_nsec -= 1000000000L;
            }
            r = pthread_mutex_timedlock(&m_mutex->mutex, &deadline);
        }
        switch (r) {
            case 0:
                return WAIT_OBJECT_0;
            case EOWNERDEAD:
                // The owner ended holding it: it is this waiter's now, and the wait says so.
                pthread_mutex_consistent(&m_mutex->mutex);
                return WAIT_ABANDONED;
            case EBUSY:
            case ETIMEDOUT:
                return WAIT_TIMEOUT;
            default:
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
        }
    }
    bool Release() { return pthread_mutex_unlock(&m_mutex->mutex) == 0; }

    SharedMutex* m_mutex = nullptr;
    int m_fd = -1;
};

HANDLE MakeMutex(BOOL initialOwner, LPCTSTR name, bool create) {
    auto object = std::make_shared<MutexObject>();
    if (!name || !*name) {
        if (!create)
            return nullptr;
        object->m_mutex = new SharedMutex;
        if (!InitMutex(object->m_mutex, false))
            return nullptr;
    } else {
        Opened o = OpenNamed(ObjectName("mutex", name), create, [](int fd) {
            if (ftruncate(fd, 0) != 0 || ftruncate(fd, sizeof(SharedMutex)) != 0)
                return false;
            void* p = mmap(nullptr, sizeof(SharedMutex), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (p == MAP_FAILED)
                return false;
            bool ok = InitMutex(static_cast<SharedMutex*>(p), true);
            munmap(p, sizeof(SharedMutex));
            return ok;
        });
        if (o.fd < 0)
            return nullptr;
        DWORD error = GetLastError();
        void* p = mmap(nullptr, sizeof(SharedMutex), PROT_READ | PROT_WRITE, MAP_SHARED, o.fd, 0);
        if (p == MAP_FAILED) {
            close(o.fd);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        object->m_fd = o.fd;
        object->m_mutex = static_cast<SharedMutex*>(p);
        initialOwner = initialOwner && o.fresh;
        SetLastError(error);
    }
    DWORD error = GetLastError();
    if (initialOwner)
        object->WaitAlone(INFINITE);
    HANDLE h = RegisterKernelObject(object);
    SetLastError(error);
    return h;
}

// ---- Mappings ----

class MappingObject : public KernelObject {
public:
    ~MappingObject() override {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool IsSignalled() const override { return false; }
    bool IsWaitable() const override { return false; }
    int m_fd = -1;
    unsigned long long m_size = 0;
};

std::mutex g_viewsMutex;
std::map<const void*, size_t> g_views;  // view address -> mapped length
}  // namespace

HANDLE CreateMutex(LPVOID, BOOL initialOwner, LPCTSTR name) {
    return MakeMutex(initialOwner, name, true);
}

HANDLE OpenMutex(DWORD, BOOL, LPCTSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return MakeMutex(FALSE, name, false);
}

BOOL ReleaseMutex(HANDLE mutex) {
    auto m = LookupKernelObjectAs<MutexObject>(mutex);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!m->Release()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

HANDLE CreateFileMapping(HANDLE file, LPVOID, DWORD, DWORD sizeHigh, DWORD sizeLow, LPCTSTR name) {
    if (file != INVALID_HANDLE_VALUE) {
        // Mappings of files are not needed by the system's code.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    unsigned long long size = ((unsigned long long)sizeHigh << 32) | sizeLow;
    if (size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<MappingObject>();
    if (!name || !*name) {
        // Unnamed: memory of this process only.
        int fd = memfd_create("veltrin-mapping", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, (off_t)size) != 0) {
            if (fd >= 0)
                close(fd);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        object->m_fd = fd;
        object->m_size = size;
        SetLastError(ERROR_SUCCESS);
        return RegisterKernelObject(object);
    }
    Opened o = OpenNamed(ObjectName("map", name), true, [size](int fd) {
        // Fresh memory is zeroed, as committed pages are.
        return ftruncate(fd, 0) == 0 && ftruncate(fd, (off_t)size) == 0;
    });
    if (o.fd < 0)
        return nullptr;
    DWORD error = GetLastError();
    struct stat st {};
    fstat(o.fd, &st);
    object->m_fd = o.fd;
    object->m_size = (unsigned long long)st.st_size;
    HANDLE h = RegisterKernelObject(object);
    SetLastError(error);
    return h;
}

HANDLE OpenFileMapping(DWORD, BOOL, LPCTSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Opened o = OpenNamed(ObjectName("map", name), false, [](int) { return true; });
    if (o.fd < 0)
        return nullptr;
    auto object = std::make_shared<MappingObject>();
    struct stat st {};
    fstat(o.fd, &st);
    object->m_fd = o.fd;
    object->m_size = (unsigned long long)st.st_size;
    HANDLE h = RegisterKernelObject(object);
    SetLastError(ERROR_SUCCESS);
    return h;
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, size_t bytes) {
    auto m = LookupKernelObjectAs<MappingObject>(mapping);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    unsigned long long offset = ((unsigned long long)offsetHigh << 32) | offsetLow;
    if (offset % kGranularity || offset > m->m_size || (bytes && offset + bytes > m->m_size)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t length = bytes ? bytes : (size_t)(m->m_size - offset);
    if (length == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int prot = (access & (FILE_MAP_WRITE | FILE_MAP_COPY)) || access == FILE_MAP_ALL_ACCESS ? PROT_READ | PROT_WRITE
                                                                                           : PROT_READ;
    int flags = access == FILE_MAP_COPY ? MAP_PRIVATE : MAP_SHARED;
    void* p = mmap(nullptr, length, prot, flags, m->m_fd, (off_t)offset);
    if (p == MAP_FAILED) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::lock_guard<std::mutex> g(g_viewsMutex);
    g_views[p] = length;
    return p;
}

BOOL UnmapViewOfFile(const void* view) {
    size_t length;
    {
        std::lock_guard<std::mutex> g(g_viewsMutex);
        auto it = g_views.find(view);
        if (it == g_views.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        length = it->second;
        g_views.erase(it);
    }
    return munmap(const_cast<void*>(view), length) == 0;
}

BOOL FlushViewOfFile(const void* view, size_t) {
    std::lock_guard<std::mutex> g(g_viewsMutex);
    return g_views.count(view) ? TRUE : FALSE;
}

void GetSystemInfo(LPSYSTEM_INFO info) {
    if (!info)
        return;
    *info = SYSTEM_INFO{};
    info->dwPageSize = (DWORD)sysconf(_SC_PAGESIZE);
    info->dwAllocationGranularity = kGranularity;
    long cpus = sysconf(_SC_NPROCESSORS_ONLN);
    info->dwNumberOfProcessors = cpus > 0 ? (DWORD)cpus : 1;
    info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
    info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFFEFFFFull);
}

CSyncObject::~CSyncObject() {
    if (m_hObject)
        CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD timeout) {
    DWORD r = WaitForSingleObject(m_hObject, timeout);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

CMutex::CMutex(BOOL initiallyOwn, LPCTSTR name, LPVOID security) {
    m_hObject = CreateMutex(security, initiallyOwn, name);
}

void DeleteSessionObjects(const char* runtimeDir) {
    if (!runtimeDir || !*runtimeDir)
        return;
    std::string prefix = SessionPrefix(runtimeDir).substr(1);
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/dev/shm", ec))
        if (std::string name = e.path().filename().string(); name.compare(0, prefix.size(), prefix) == 0)
            shm_unlink(("/" + name).c_str());
}
