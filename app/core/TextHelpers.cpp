#include "app/core/TextHelpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/core/RequestStrings.h"

namespace {
MessagePumpFunc g_pump = nullptr;
}

void ExpandTabs(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size() + 16);
    int column = 1;
    for (char ch : in) {
        unsigned char c = (unsigned char)ch;
        if (c >= 32 && c <= 126) {
            out += ch;
            if (++column % 8 == 0)
                column = 1;
        } else if (c == '\t') {
            do {
                ++column;
                out += ' ';
            } while (column % 8 != 0);
            column = 1;
        } else {
            out += ' ';
        }
    }
}

void ExpandTabs(CString& text) {
    thread_local std::string scratch;
    ExpandTabs(std::string_view(text.str()), scratch);
    text.str().assign(scratch);
}

ULONGLONG GetFileSizeByName(LPCTSTR path) {
    if (!path)
        return 0;
    CString clean(path);
    clean.Remove('"');
    // Non-blocking, so a FIFO named by mistake cannot hang the caller.
    int fd = ::open(clean, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat st {};
    ULONGLONG size = 0;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        size = (ULONGLONG)st.st_size;
    ::close(fd);
    return size;
}

void SetLogTypeFromName(LPCTSTR path) {
    CString upper(path);
    upper.MakeUpper();
    if (upper.Find("QBROKER") >= 0)
        _csLogType = "QBROKER";
    else if (upper.Find("QSERVER") >= 0)
        _csLogType = "QSERVER";
}

void PumpWaitingMessages() {
    if (g_pump)
        g_pump();
}

void SetMessagePump(MessagePumpFunc pump) {
    g_pump = pump;
}
