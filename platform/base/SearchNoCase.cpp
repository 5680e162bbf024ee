#include "platform/base/SearchNoCase.h"

#include <cstring>

#include "platform/base/String.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
inline bool EqualFolded(const char* bytes, const char* upperNeedle, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (AsciiUpper(bytes[i]) != upperNeedle[i])
            return false;
    return true;
}

size_t FindScalar(const char* bytes, size_t size, size_t from, std::string_view needle) {
    const size_t len = needle.size();
    const char first = needle[0];
    for (size_t i = from; i + len <= size; ++i)
        if (AsciiUpper(bytes[i]) == first && EqualFolded(bytes + i + 1, needle.data() + 1, len - 1))
            return i;
    return kNotFound;
}

#if defined(__SSE2__)
// Upper-cases the ASCII letters of 16 bytes.
inline __m128i Fold(__m128i x) {
    const __m128i belowA = _mm_set1_epi8('a' - 1);
    const __m128i aboveZ = _mm_set1_epi8('z' + 1);
    const __m128i caseBit = _mm_set1_epi8(0x20);
    // Bytes of 0x80 and above compare negative, so they are never taken for letters.
    __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(x, belowA), _mm_cmplt_epi8(x, aboveZ));
    return _mm_sub_epi8(x, _mm_and_si128(lower, caseBit));
}
#endif
}  // namespace

size_t FindNoCase(const char* bytes, size_t size, std::string_view upperNeedle) {
    const size_t len = upperNeedle.size();
    if (len == 0)
        return 0;
    if (size < len)
        return kNotFound;
    size_t i = 0;
#if defined(__SSE2__)
    // Candidates are positions whose first and last bytes both match; only those are compared in full.
    const __m128i first = _mm_set1_epi8(upperNeedle[0]);
    const __m128i last = _mm_set1_epi8(upperNeedle[len - 1]);
    const char* middle = upperNeedle.data() + 1;
    const size_t middleLen = len >= 2 ? len - 2 : 0;
    for (; i + len - 1 + 16 <= size; i += 16) {
        __m128i a = Fold(_mm_loadu_si128((const __m128i*)(bytes + i)));
        __m128i b = Fold(_mm_loadu_si128((const __m128i*)(bytes + i + len - 1)));
        unsigned mask =
            (unsigned)_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last)));
        while (mask) {
            unsigned bit = (unsigned)__builtin_ctz(mask);
            if (EqualFolded(bytes + i + bit + 1, middle, middleLen))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    return FindScalar(bytes, size, i, upperNeedle);
}
