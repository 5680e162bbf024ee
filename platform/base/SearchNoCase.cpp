#include "platform/base/SearchNoCase.h"

#include "platform/base/String.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELTRIN_X86_SIMD 1
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

// A byte test that ignores ASCII case with one OR: a letter is compared with its case bit set on both
// sides, any other byte exactly (so '@' never passes for '`').
struct ByteProbe {
    char orMask;
    char target;
    explicit ByteProbe(char upper) {
        const bool letter = upper >= 'A' && upper <= 'Z';
        orMask = letter ? 0x20 : 0;
        target = (char)(upper | orMask);
    }
};

#ifdef VELTRIN_X86_SIMD
// Candidates are the positions whose first and last bytes both match; only those are compared in full.
size_t FindSse2(const char* bytes, size_t size, std::string_view needle, size_t& next) {
    const size_t len = needle.size();
    const ByteProbe f(needle[0]), l(needle[len - 1]);
    const __m128i fOr = _mm_set1_epi8(f.orMask), fEq = _mm_set1_epi8(f.target);
    const __m128i lOr = _mm_set1_epi8(l.orMask), lEq = _mm_set1_epi8(l.target);
    const char* middle = needle.data() + 1;
    const size_t middleLen = len >= 2 ? len - 2 : 0;
    size_t i = 0;
    for (; i + len - 1 + 16 <= size; i += 16) {
        __m128i a = _mm_or_si128(_mm_loadu_si128((const __m128i*)(bytes + i)), fOr);
        __m128i b = _mm_or_si128(_mm_loadu_si128((const __m128i*)(bytes + i + len - 1)), lOr);
        unsigned mask =
            (unsigned)_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, fEq), _mm_cmpeq_epi8(b, lEq)));
        while (mask) {
            const unsigned bit = (unsigned)__builtin_ctz(mask);
            if (EqualFolded(bytes + i + bit + 1, middle, middleLen))
                return i + bit;
            mask &= mask - 1;
        }
    }
    next = i;
    return kNotFound;
}

__attribute__((target("avx2"))) size_t FindAvx2(const char* bytes, size_t size, std::string_view needle,
                                                size_t& next) {
    const size_t len = needle.size();
    const ByteProbe f(needle[0]), l(needle[len - 1]);
    const __m256i fOr = _mm256_set1_epi8(f.orMask), fEq = _mm256_set1_epi8(f.target);
    const __m256i lOr = _mm256_set1_epi8(l.orMask), lEq = _mm256_set1_epi8(l.target);
    const char* middle = needle.data() + 1;
    const size_t middleLen = len >= 2 ? len - 2 : 0;
    size_t i = 0;
    for (; i + len - 1 + 32 <= size; i += 32) {
        __m256i a = _mm256_or_si256(_mm256_loadu_si256((const __m256i*)(bytes + i)), fOr);
        __m256i b = _mm256_or_si256(_mm256_loadu_si256((const __m256i*)(bytes + i + len - 1)), lOr);
        unsigned mask = (unsigned)_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, fEq), _mm256_cmpeq_epi8(b, lEq)));
        while (mask) {
            const unsigned bit = (unsigned)__builtin_ctz(mask);
            if (EqualFolded(bytes + i + bit + 1, middle, middleLen))
                return i + bit;
            mask &= mask - 1;
        }
    }
    next = i;
    return kNotFound;
}

const bool kHaveAvx2 = __builtin_cpu_supports("avx2");
#endif
}  // namespace

size_t FindNoCaseWith(const char* bytes, size_t size, std::string_view upperNeedle, int vectorBytes) {
    const size_t len = upperNeedle.size();
    if (len == 0)
        return 0;
    if (size < len)
        return kNotFound;
    size_t next = 0;
#ifdef VELTRIN_X86_SIMD
    size_t at = kNotFound;
    if (vectorBytes >= 32 && kHaveAvx2)
        at = FindAvx2(bytes, size, upperNeedle, next);
    else if (vectorBytes >= 16)
        at = FindSse2(bytes, size, upperNeedle, next);
    if (at != kNotFound)
        return at;
#else
    (void)vectorBytes;
#endif
    return FindScalar(bytes, size, next, upperNeedle);
}

size_t FindNoCase(const char* bytes, size_t size, std::string_view upperNeedle) {
    return FindNoCaseWith(bytes, size, upperNeedle, 32);
}
