#include "analysis/ExpandedLine.h"

#include <cstring>

#include "app/core/TextHelpers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

BOOL CExpandedLine::IsPrintable(std::string_view text) {
    const char* p = text.data();
    size_t n = text.size();
    size_t i = 0;
#if defined(__SSE2__)
    // Signed compare: bytes 0x80..0xFF are negative and so below the blank as well.
    const __m128i blank = _mm_set1_epi8(32);
    const __m128i del = _mm_set1_epi8(127);
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128((const __m128i*)(p + i));
        __m128i bad = _mm_or_si128(_mm_cmplt_epi8(v, blank), _mm_cmpeq_epi8(v, del));
        if (_mm_movemask_epi8(bad))
            return FALSE;
    }
#endif
    for (; i < n; ++i) {
        unsigned char c = (unsigned char)p[i];
        if (c < 32 || c > 126)
            return FALSE;
    }
    return TRUE;
}

std::string_view CExpandedLine::Expand(std::string_view raw) {
    if (IsPrintable(raw))
        return raw;
    m_buffer = CString(raw);
    ExpandTabs(m_buffer);
    return m_buffer.str();
}

size_t FindText(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < needle.size())
        return std::string_view::npos;
    const char* base = text.data();
    const char* p = base + from;
    const char* last = base + text.size() - needle.size();  // last possible start
    const char first = needle[0];
    while (p <= last) {
        p = (const char*)std::memchr(p, first, (size_t)(last - p) + 1);
        if (!p)
            return std::string_view::npos;
        if (std::memcmp(p + 1, needle.data() + 1, needle.size() - 1) == 0)
            return (size_t)(p - base);
        ++p;
    }
    return std::string_view::npos;
}
