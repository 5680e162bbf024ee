#include "core/TraceLog.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/Time.h"

CString _csTraceLogPath;
BOOL g_bTraceEnabled = TRUE;

namespace {
std::mutex g_traceLock;
// Lines written so far to the file at g_numberedPath; -1 until known.
long g_lineCount = -1;
CString g_numberedPath;

void MakeParents(const std::string& path) {
    for (size_t p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1))
        ::mkdir(path.substr(0, p).c_str(), 0700);
}

// Lines already in a file that was not started by us: counted once, then the counter takes over.
long CountExistingLines(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return 0;
    long lines = 0;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        for (size_t i = 0; i < n; ++i)
            if (buf[i] == '\n')
                ++lines;
    std::fclose(f);
    return lines;
}
}  // namespace

CString DefaultTraceLogPath() {
    const char* explicitPath = std::getenv("VELTRIN_TRACE_LOG");
    if (explicitPath && *explicitPath)
        return explicitPath;
    const char* state = std::getenv("XDG_STATE_HOME");
    CString dir;
    if (state && *state) {
        dir = state;
    } else {
        const char* home = std::getenv("HOME");
        dir = CString(home && *home ? home : "/tmp") + "/.local/state";
    }
    return dir + "/veltrin/Veltrin.log";
}

void RestartTraceLogAt(LPCTSTR path) {
    std::lock_guard<std::mutex> g(g_traceLock);
    _csTraceLogPath = path;
    if (!_csTraceLogPath.IsEmpty()) {
        MakeParents(_csTraceLogPath.str());
        ::unlink(_csTraceLogPath);
    }
    g_numberedPath = _csTraceLogPath;
    g_lineCount = 0;
}

void RestartTraceLog() {
    RestartTraceLogAt(DefaultTraceLogPath());
}

int AppendTraceLine(LPCTSTR path, LPCTSTR text) {
    if (!g_bTraceEnabled)
        return 0;
    if (!text || std::char_traits<char>::length(text) >= (size_t)TRACE_TEXT_LIMIT)
        return 0;
    if (!path || !*path)
        return 1;

    SYSTEMTIME st;
    GetLocalTime(&st);

    std::lock_guard<std::mutex> g(g_traceLock);
    if (g_lineCount < 0 || g_numberedPath != path) {
        g_numberedPath = path;
        g_lineCount = CountExistingLines(path);
    }
    int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return 1;
    std::string line = FormatString("%ld %02d/%02d/%d %02d:%02d:%02d %s\n", g_lineCount + 1, st.wMonth,
                                    st.wDay, st.wYear, st.wHour, st.wMinute, st.wSecond, text);
    // One write per line: O_APPEND keeps lines whole even with other writers of the file.
    ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
    if (written == (ssize_t)line.size())
        ++g_lineCount;
    return 1;
}

void TraceLog(const char* fmt, ...) {
    if (!g_bTraceEnabled || !fmt)
        return;
    va_list args;
    va_start(args, fmt);
    std::string text = FormatStringV(fmt, args);
    va_end(args);
    CString path;
    {
        std::lock_guard<std::mutex> g(g_traceLock);
        if (_csTraceLogPath.IsEmpty())
            _csTraceLogPath = DefaultTraceLogPath();
        path = _csTraceLogPath;
    }
    AppendTraceLine(path, text.c_str());
}
