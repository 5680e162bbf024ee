#include "analysis/ExpandedLine.h"

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
    auto holds = [&](size_t bar) {
        std::string_view after = raw.substr(bar + 2);
        return after.substr(0, word.size()) == word ||
               (!other.empty() && after.substr(0, other.size()) == other);
    };
    const char* p = raw.data();
    const size_t n = raw.size();
    size_t i = 0;
#if defined(__SSE2__)
    // One pass: a candidate is a '|' with the first letter of a word two bytes after it.
    const __m128i bar = _mm_set1_epi8('|');
    const __m128i w0 = _mm_set1_epi8(word.empty() ? '\0' : word[0]);
    const __m128i w1 = _mm_set1_epi8(other.empty() ? (word.empty() ? '\0' : word[0]) : other[0]);
    for (; i + 18 <= n; i += 16) {
        __m128i a = _mm_loadu_si128((const __m128i*)(p + i));
        __m128i c = _mm_loadu_si128((const __m128i*)(p + i + 2));
        __m128i first = _mm_or_si128(_mm_cmpeq_epi8(c, w0), _mm_cmpeq_epi8(c, w1));
        unsigned mask = (unsigned)_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, bar), first));
        for (; mask; mask &= mask - 1)
            if (holds(i + (size_t)__builtin_ctz(mask)))
                return TRUE;
    }
#endif
    for (; i + 2 <= n; ++i)
        if (p[i] == '|' && holds(i))
            return TRUE;
    return FALSE;
}

size_t FindText(std::string_view text, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    if (m == 0)
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < m)
        return std::string_view::npos;
    const char* base = text.data();
    const size_t n = text.size();
    if (m == 1) {
        const void* hit = std::memchr(base + from, needle[0], n - from);
        return hit ? (size_t)((const char*)hit - base) : std::string_view::npos;
    }
    size_t i = from;
#if defined(__SSE2__)
    // Sixteen start positions at a time: a candidate has the needle's first and last byte in place.
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[m - 1]);
    for (; i + 16 + m - 1 <= n; i += 16) {
        __m128i a = _mm_loadu_si128((const __m128i*)(base + i));
        __m128i b = _mm_loadu_si128((const __m128i*)(base + i + m - 1));
        unsigned mask =
            (unsigned)_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last)));
        while (mask) {
            size_t at = i + (size_t)__builtin_ctz(mask);
            if (m <= 2 || std::memcmp(base + at + 1, needle.data() + 1, m - 2) == 0)
                return at;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + m <= n; ++i)
        if (base[i] == needle[0] && std::memcmp(base + i + 1, needle.data() + 1, m - 1) == 0)
            return i;
    return std::string_view::npos;
}
