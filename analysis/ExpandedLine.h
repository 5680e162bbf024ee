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

// Position of the first occurrence of needle in text (case-sensitive), or npos. Inline: most calls are
// on short lines, where a call costs as much as the search. memchr finds the first byte (the fastest
// scan the C library has), the rest is compared in place.
inline size_t FindText(std::string_view text, std::string_view needle, size_t from = 0) {
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
inline bool HasText(std::string_view text, std::string_view needle) {
    return FindText(text, needle) != std::string_view::npos;
}

// Bit i set when text[from + i] is one of the bytes, for the 64 bytes from `from`; the bytes past the
// end of the text are never set. Nothing outside the text is read: a last partial 16 bytes is taken from
// the 16 that end the text (a text shorter than that byte by byte).
inline uint64_t ByteMask64(std::string_view text, size_t from, std::string_view bytes) {
    const size_t size = text.size();
    const size_t n = from < size ? std::min<size_t>(64, size - from) : 0;
    const char* p = text.data() + from;
    uint64_t mask = 0;
    size_t i = 0;
#if defined(__SSE2__)
    auto match16 = [&](const char* at) {
        const __m128i v = _mm_loadu_si128((const __m128i*)at);
        __m128i hit = _mm_setzero_si128();
        for (char b : bytes)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(b)));
        return (uint64_t)(unsigned)_mm_movemask_epi8(hit);
    };
    for (; i + 16 <= n; i += 16)
        mask |= match16(p + i) << i;
    if (i < n && size >= 16)
        return mask | (match16(text.data() + size - 16) >> (16 - (n - i))) << i;
#endif
    for (; i < n; ++i)
        for (char b : bytes)
            if (p[i] == b) {
                mask |= 1ull << i;
                break;
            }
    return mask;
}

// Calls found(at) for each position at which the two bytes first, second stand in the text (overlapping
// ones too), in order, as long as found returns true: one mask per 64 bytes instead of a search per
// occurrence.
template <class FOUND>
void ForEachPair(std::string_view text, char first, char second, FOUND found) {
    for (size_t base = 0; base < text.size(); base += 64) {
        const uint64_t firsts = ByteMask64(text, base, std::string_view(&first, 1));
        if (!firsts)
            continue;
        const uint64_t seconds =
            first == second ? firsts : ByteMask64(text, base, std::string_view(&second, 1));
        uint64_t pairs = firsts & (seconds >> 1);
        if ((firsts >> 63) && base + 64 < text.size() && text[base + 64] == second)
            pairs |= 1ull << 63;
        for (; pairs; pairs &= pairs - 1)
            if (!found(base + (size_t)__builtin_ctzll(pairs)))
                return;
    }
}
