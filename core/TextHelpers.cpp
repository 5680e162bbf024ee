#include "core/TextHelpers.h"

#include <fcntl.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include "core/RequestStrings.h"

namespace {
MessagePumpFunc g_pump = nullptr;
}

namespace {
// Length of the run of printable bytes (32..126) at the start of p.
size_t PrintableRun(const char* p, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    // Signed compare: bytes 0x80..0xFF are negative and so below the blank as well.
    const __m128i blank = _mm_set1_epi8(32);
    const __m128i del = _mm_set1_epi8(127);
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128((const __m128i*)(p + i));
        int bad = _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, blank), _mm_cmpeq_epi8(v, del)));
        if (bad)
            return i + (size_t)__builtin_ctz((unsigned)bad);
    }
#endif
    for (; i < n; ++i) {
        unsigned char c = (unsigned char)p[i];
        if (c < 32 || c > 126)
            return i;
    }
    return n;
}
}  // namespace

BOOL IsPrintableText(std::string_view text) {
    return PrintableRun(text.data(), text.size()) == text.size();
}

void ExpandTabs(std::string_view in, std::string& out) {
    // A column counter in 1..7 that each printable byte advances (from 7 back to 1); a tab adds blanks up
    // to the next multiple of 8 and returns it to 1; any other byte is one blank that leaves it.
    out.clear();
    out.reserve(in.size() + 16);
    size_t column = 1;
    size_t i = 0;
    size_t run = PrintableRun(in.data(), in.size());
    for (;;) {
        out.append(in.data() + i, run);
        column = (column - 1 + run) % 7 + 1;
        i += run;
        if (i >= in.size())
            break;
        if (in[i] == '\t') {
            out.append(8 - column, ' ');
            column = 1;
        } else {
            out += ' ';
        }
        ++i;
        run = PrintableRun(in.data() + i, in.size() - i);
    }
}

std::string_view ExpandedTabs(std::string_view line, std::string& buffer) {
    if (IsPrintableText(line))
        return line;
    ExpandTabs(line, buffer);
    return buffer;
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
