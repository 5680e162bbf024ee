#include "platform/base/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/base/CommandLine.h"
#include "platform/base/ToolHelp.h"

extern char** environ;

namespace {

// How a starter hands a child what a Windows child finds in its process parameters.
const char kCommandLineVar[] = "VELTRIN_COMMAND_LINE";
const char kTitleVar[] = "VELTRIN_STARTUP_TITLE";
const char kShowVar[] = "VELTRIN_STARTUP_SHOW";

class ProcessObject;
std::shared_ptr<ProcessObject> LookupProcess(HANDLE handle);

class ProcessObject : public KernelObject {
public:
    explicit ProcessObject(pid_t pid) : m_pid(pid) {}
    pid_t Pid() const { return m_pid; }

    bool IsSignalled() const override { return m_reaped; }

    DWORD ExitCode() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_exitCode;
    }

    BOOL Terminate(UINT exitCode) {
        std::lock_guard<std::mutex> guard(m_lock);
        // Until the reaper has seen the end the pid still belongs to our child (at worst a zombie),
        // so the signal cannot reach another process that was given the same id.
        if (m_exited || ::kill(m_pid, SIGKILL) != 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        m_terminated = true;
        m_terminateCode = exitCode;
        return TRUE;
    }

    // Blocks until the child ends, leaving it a zombie so that its id is not given away yet.
    // Returns false when there is nothing to collect (the system reaped it: SIGCHLD is ignored).
    bool WaitForEnd() {
        siginfo_t info{};
        int rc;
        do {
            rc = ::waitid(P_PID, (id_t)m_pid, &info, WEXITED | WNOWAIT);
        } while (rc == -1 && errno == EINTR);
        return rc == 0;
    }

    // Collects the ended child's status, so that it never lingers as a zombie, and signals waiters.
    void Collect(bool ended) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_exited = true;
        DWORD code = 0;  // unknown when the system collected the child itself
        if (ended) {
            int status = 0;
            pid_t done;
            do {
                done = ::waitpid(m_pid, &status, 0);
            } while (done == -1 && errno == EINTR);
            if (done == m_pid && WIFEXITED(status)) {
                code = (DWORD)WEXITSTATUS(status);
            } else if (done == m_pid && WIFSIGNALED(status)) {
                code = (m_terminated && WTERMSIG(status) == SIGKILL) ? m_terminateCode
                                                                     : (DWORD)(128 + WTERMSIG(status));
            }
        }
        m_exitCode = code;
        {
            std::lock_guard<std::mutex> wait(HandleWaitMutex());
            m_reaped = true;
        }
        NotifyHandleWaiters();
    }

private:
    const pid_t m_pid;
    std::mutex m_lock;
    bool m_exited = false;
    std::atomic<bool> m_reaped{false};  // the signalled state, changed under HandleWaitMutex
    bool m_terminated = false;
    DWORD m_terminateCode = 0;
    DWORD m_exitCode = STILL_ACTIVE;
};

// Children not yet reaped, for OpenProcess. Never destroyed: reapers may finish after main returns.
struct ChildTable {
    std::mutex lock;
    std::unordered_map<pid_t, std::weak_ptr<ProcessObject>> children;
};
ChildTable& Children() {
    static ChildTable* table = new ChildTable;
    return *table;
}

void ForgetChild(const std::shared_ptr<ProcessObject>& child) {
    ChildTable& table = Children();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.children.find(child->Pid());
    // The id may already name a newer child of ours.
    if (it != table.children.end() && it->second.lock() == child)
        table.children.erase(it);
}

std::string OwnFolder() {
    std::string exe = GetProcessProgramPath(0);
    size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Checks a program named by path: 0, or the Windows error for why it cannot be started.
DWORD CheckProgramPath(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        int err = errno;
        if (err == ENOENT) {
            size_t slash = path.rfind('/');
            std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
            return IsFolder(folder) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        }
        if (err == ENOTDIR || err == ENAMETOOLONG || err == ELOOP)
            return ERROR_PATH_NOT_FOUND;
        return WinErrorFromErrno(err);
    }
    if (!S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// Finds the program a command line's first word names; 0 or a Windows error.
DWORD FindProgram(const std::string& word, std::string& path) {
    if (word.empty())
        return ERROR_FILE_NOT_FOUND;
    if (word.find('/') != std::string::npos) {
        path = word;
        return CheckProgramPath(word);
    }
    std::vector<std::string> folders{OwnFolder()};
    const char* searchPath = std::getenv("PATH");
    std::string pathList = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= pathList.size()) {
        size_t end = pathList.find(':', start);
        if (end == std::string::npos)
            end = pathList.size();
        std::string folder = pathList.substr(start, end - start);
        // Empty, "." and other relative entries would name the working folder: never searched.
        if (!folder.empty() && folder[0] == '/')
            folders.push_back(folder);
        start = end + 1;
    }
    bool sawDenied = false;
    for (const std::string& folder : folders) {
        std::string candidate = folder + "/" + word;
        struct stat st;
        if (::stat(candidate.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::access(candidate.c_str(), X_OK) == 0) {
            path = candidate;
            return ERROR_SUCCESS;
        }
        sawDenied = true;
    }
    return sawDenied ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
}

bool HasPrefix(const char* entry, const char* name) {
    size_t n = std::strlen(name);
    return std::strncmp(entry, name, n) == 0 && entry[n] == '=';
}

struct StartState {
    std::string commandLine;
    bool handedOver = false;  // the exact line came from the program that started us
    bool hasTitle = false;
    std::string title;
    bool hasShow = false;
    WORD show = 0;
};

std::vector<std::string> OwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos)
            end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

StartState ReadStartState() {
    StartState state;
    std::vector<std::string> args = OwnArguments();
    const char* given = std::getenv(kCommandLineVar);
    // The variable is trusted only when it still describes our own arguments: a program that did not
    // go through CreateProcess may have passed on an older one.
    if (!given || SplitCommandLine(given) != args) {
        state.commandLine = BuildCommandLine(args);
        return state;
    }
    state.commandLine = given;
    state.handedOver = true;
    if (const char* title = std::getenv(kTitleVar)) {
        state.hasTitle = true;
        state.title = title;
    }
    if (const char* show = std::getenv(kShowVar)) {
        char* end = nullptr;
        unsigned long value = std::strtoul(show, &end, 10);
        if (*show >= '0' && *show <= '9' && *end == '\0' && value <= 0xFFFF) {
            state.hasShow = true;
            state.show = (WORD)value;
        }
    }
    return state;
}

StartState& Start() {
    static StartState state = ReadStartState();
    return state;
}

std::shared_ptr<ProcessObject> LookupProcess(HANDLE handle) {
    std::shared_ptr<ProcessObject> process = LookupKernelObjectAs<ProcessObject>(handle);
    if (!process)
        SetLastError(ERROR_INVALID_HANDLE);
    return process;
}
}  // namespace

namespace {
// Starts a program; with `stdoutFd` at 0 or above the child's standard output goes there.
BOOL SpawnProcess(LPCTSTR applicationName, LPCTSTR commandLine, DWORD creationFlags, LPVOID environment,
                  LPCTSTR currentDirectory, LPSTARTUPINFO startupInfo, LPPROCESS_INFORMATION processInformation,
                  int stdoutFd) {
    const DWORD knownFlags = DETACHED_PROCESS | CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS |
                             IDLE_PRIORITY_CLASS | HIGH_PRIORITY_CLASS | REALTIME_PRIORITY_CLASS |
                             CREATE_NEW_PROCESS_GROUP | BELOW_NORMAL_PRIORITY_CLASS |
                             ABOVE_NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW;
    if (!processInformation || environment || currentDirectory || (creationFlags & ~knownFlags) ||
        (!applicationName && !commandLine)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Without a command line the program's own name is all there is.
    std::string line = commandLine ? std::string(commandLine) : BuildCommandLine({applicationName});
    std::vector<std::string> args = SplitCommandLine(line);

    std::string path = applicationName ? applicationName : "";
    DWORD error =
        applicationName ? CheckProgramPath(path) : FindProgram(args.empty() ? std::string() : args[0], path);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }

    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> envText;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (HasPrefix(*entry, kCommandLineVar) || HasPrefix(*entry, kTitleVar) || HasPrefix(*entry, kShowVar))
            continue;
        envText.push_back(*entry);
    }
    envText.push_back(std::string(kCommandLineVar) + "=" + line);
    if (startupInfo && startupInfo->lpTitle)
        envText.push_back(std::string(kTitleVar) + "=" + startupInfo->lpTitle);
    if (startupInfo && (startupInfo->dwFlags & STARTF_USESHOWWINDOW))
        envText.push_back(std::string(kShowVar) + "=" + std::to_string(startupInfo->wShowWindow));
    std::vector<char*> envp;
    for (std::string& entry : envText)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    // Only the standard streams are passed on; signals start with their default actions, none blocked.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    short spawnFlags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (creationFlags & CREATE_NEW_PROCESS_GROUP) {
        spawnFlags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    posix_spawnattr_setflags(&attributes, spawnFlags);

    pid_t pid = 0;
    int rc = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        SetLastError(rc == ENOEXEC ? ERROR_BAD_EXE_FORMAT : WinErrorFromErrno(rc));
        return FALSE;
    }

    auto child = std::make_shared<ProcessObject>(pid);
    {
        ChildTable& table = Children();
        std::lock_guard<std::mutex> guard(table.lock);
        table.children[pid] = child;
    }
    try {
        std::thread([child] {
            bool ended = child->WaitForEnd();
            ForgetChild(child);  // an ended process cannot be opened any more
            child->Collect(ended);
        }).detach();
    } catch (const std::system_error&) {
        // Without a reaper nobody would collect the child: stop it rather than leave a zombie.
        ::kill(pid, SIGKILL);
        bool ended = child->WaitForEnd();
        ForgetChild(child);
        child->Collect(ended);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    processInformation->hProcess = RegisterKernelObject(child);
    processInformation->hThread = RegisterKernelObject(child);
    processInformation->dwProcessId = (DWORD)pid;
    processInformation->dwThreadId = (DWORD)pid;
    return TRUE;
}
}  // namespace

BOOL CreateProcess(LPCTSTR applicationName, LPCTSTR commandLine, LPSECURITY_ATTRIBUTES /*processAttributes*/,
                   LPSECURITY_ATTRIBUTES /*threadAttributes*/, BOOL /*inheritHandles*/, DWORD creationFlags,
                   LPVOID environment, LPCTSTR currentDirectory, LPSTARTUPINFO startupInfo,
                   LPPROCESS_INFORMATION processInformation) {
    return SpawnProcess(applicationName, commandLine, creationFlags, environment, currentDirectory, startupInfo,
                        processInformation, -1);
}

BOOL RunProgramForOutput(LPCTSTR commandLine, std::string& output, DWORD& exitCode) {
    output.clear();
    exitCode = STILL_ACTIVE;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        SetLastError(WinErrorFromErrno(errno));
        return FALSE;
    }
    PROCESS_INFORMATION pi{};
    BOOL started = SpawnProcess(nullptr, commandLine, 0, nullptr, nullptr, nullptr, &pi, fds[1]);
    ::close(fds[1]);
    if (!started) {
        DWORD error = GetLastError();
        ::close(fds[0]);
        SetLastError(error);
        return FALSE;
    }
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            output.append(buffer, (size_t)n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fds[0]);
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return TRUE;
}

HANDLE OpenProcess(DWORD /*desiredAccess*/, BOOL /*inheritHandle*/, DWORD processId) {
    std::shared_ptr<ProcessObject> child;
    {
        ChildTable& table = Children();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.children.find((pid_t)processId);
        if (it != table.children.end())
            child = it->second.lock();
    }
    if (!child) {
        bool exists = processId != 0 && (::kill((pid_t)processId, 0) == 0 || errno == EPERM);
        SetLastError(exists ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return RegisterKernelObject(child);
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    auto child = LookupProcess(process);
    if (!child)
        return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *exitCode = child->ExitCode();
    return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    auto child = LookupProcess(process);
    return child ? child->Terminate(exitCode) : FALSE;
}

DWORD GetCurrentProcessId() {
    return (DWORD)::getpid();
}

DWORD GetModuleFileName(struct HINSTANCE__* module, LPTSTR buffer, DWORD size) {
    if (module || !buffer || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char path[4096];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        buffer[0] = 0;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    DWORD length = (DWORD)n;
    if (length >= size) {
        memcpy(buffer, path, size - 1);
        buffer[size - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size - 1;
    }
    memcpy(buffer, path, length);
    buffer[length] = 0;
    return length;
}

LPTSTR GetCommandLine() {
    return Start().commandLine.data();
}

BOOL CommandLineWasHandedOver() {
    return Start().handedOver ? TRUE : FALSE;
}

std::string ArgumentsJoinedWithBlanks() {
    std::vector<std::string> args = OwnArguments();
    std::string line = args.empty() ? std::string() : BuildCommandLine({args[0]});
    for (size_t i = 1; i < args.size(); ++i)
        line += " " + args[i];
    return line;
}

void GetStartupInfo(LPSTARTUPINFO startupInfo) {
    if (!startupInfo)
        return;
    std::memset(startupInfo, 0, sizeof *startupInfo);
    startupInfo->cb = sizeof *startupInfo;
    StartState& state = Start();
    if (state.hasTitle)
        startupInfo->lpTitle = state.title.data();
    if (state.hasShow) {
        startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        startupInfo->wShowWindow = state.show;
    }
}
