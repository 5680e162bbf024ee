#include "analysis/ExpandedLine.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

BOOL CExpandedLine::IsPrintable(std::string_view text) {
    return PrintableRun(text.data(), text.size()) == text.size();
}

std::string_view CExpandedLine::Expand(std::string_view raw) {
    size_t run = PrintableRun(raw.data(), raw.size());
    if (run == raw.size())
        return raw;
    // The walk of ExpandTabs: a column counter in 1..7 that each printable byte advances (from 7 back
    // to 1); a tab adds blanks up to the next multiple of 8 and returns it to 1; any other byte is one
    // blank that leaves it.
    m_buffer.clear();
    size_t column = 1;
    size_t i = 0;
    for (;;) {
        m_buffer.append(raw.data() + i, run);
        column = (column - 1 + run) % 7 + 1;
        i += run;
        if (i >= raw.size())
            break;
        if (raw[i] == '\t') {
            m_buffer.append(8 - column, ' ');
            column = 1;
        } else {
            m_buffer += ' ';
        }
        ++i;
        run = PrintableRun(raw.data() + i, raw.size() - i);
    }
    return m_buffer;
}

BOOL CExpandedLine::MayHoldBarWord(std::string_view raw, std::string_view word, std::string_view other) {
    for (size_t bar = FindText(raw, "|"); bar != std::string_view::npos; bar = FindText(raw, "|", bar + 1)) {
        std::string_view after = raw.substr(std::min(bar + 2, raw.size()));
        if (after.substr(0, word.size()) == word ||
            (!other.empty() && after.substr(0, other.size()) == other))
            return TRUE;
    }
    return FALSE;
}

// memchr finds the first byte (it is the fastest scan the C library has), the rest is compared in place.
size_t FindText(std::string_view text, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    if (m == 0)
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < m)
        return std::string_view::npos;
    const char* base = text.data();
    const char* p = base + from;
    const char* last = base + text.size() - m;  // the last possible start
    const char first = needle[0];
    while (p <= last) {
        p = (const char*)std::memchr(p, first, (size_t)(last - p) + 1);
        if (!p)
            return std::string_view::npos;
        size_t k = 1;
        while (k < m && p[k] == needle[k])
            ++k;
        if (k == m)
            return (size_t)(p - base);
        ++p;
    }
    return std::string_view::npos;
}
