// A log line as the report passes match it: tabs expanded and other control bytes blanked as ExpandTabs
// does. A line of printable bytes only, by far the most common, is used as it is, without a copy.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/base/String.h"

class CExpandedLine {
public:
    // The expanded line; valid until the next call.
    std::string_view Expand(std::string_view raw);
    // TRUE when every byte is printable (32..126), so that ExpandTabs leaves the text as it is.
    static BOOL IsPrintable(std::string_view text);
    // FALSE when the expanded line cannot hold "| " followed by the word (or the other word): no '|' of
    // the raw line has it two bytes after it (the byte between becomes the blank). A cheap test before
    // Expand.
    static BOOL MayHoldBarWord(std::string_view raw, std::string_view word, std::string_view other = {});

private:
    std::string m_buffer;  // reused: expanding a line does not allocate once it is large enough
};

// Position of the first occurrence of needle in text (case-sensitive), or npos.
size_t FindText(std::string_view text, std::string_view needle, size_t from = 0);
inline bool HasText(std::string_view text, std::string_view needle) {
    return FindText(text, needle) != std::string_view::npos;
}

// Bit i set when text[from + i] is one of the bytes, for the 64 bytes from `from`; the bytes past the
// end of the text are never set (and never read).
inline uint64_t ByteMask64(std::string_view text, size_t from, std::string_view bytes) {
    const size_t n = from < text.size() ? std::min<size_t>(64, text.size() - from) : 0;
    const char* p = text.data() + from;
#if defined(__SSE2__)
    alignas(16) char tail[64];
    if (n < 64) {  // a short block is compared in a copy, so nothing past the text is loaded
        if (n)
            std::memcpy(tail, p, n);
        std::memset(tail + n, 0, 64 - n);
        p = tail;
    }
    uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128((const __m128i*)(p + 16 * k));
        __m128i hit = _mm_setzero_si128();
        for (char b : bytes)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(b)));
        mask |= (uint64_t)(unsigned)_mm_movemask_epi8(hit) << (16 * k);
    }
    return n < 64 ? mask & ((1ull << n) - 1) : mask;
#else
    uint64_t mask = 0;
    for (size_t i = 0; i < n; ++i)
        if (bytes.find(p[i]) != std::string_view::npos)
            mask |= 1ull << i;
    return mask;
#endif
}
