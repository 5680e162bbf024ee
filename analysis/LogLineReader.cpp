#include "analysis/LogLineReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/File.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {
// Large reads keep the system-call count low on multi-gigabyte logs; the terminator is still chosen
// from the first 8,192 bytes only.
constexpr size_t kBlockSize = 64 * 1024;
// Zeroed room after the block, so a 64-byte window never reads outside the buffer.
constexpr size_t kSlack = 64;

// One bit per byte of the 64 bytes at p that equals c.
inline uint64_t MatchMask(const char* p, char c) {
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi8(c);
    uint64_t m0 = (uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)p), needle));
    uint64_t m1 =
        (uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(p + 16)), needle));
    uint64_t m2 =
        (uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(p + 32)), needle));
    uint64_t m3 =
        (uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(p + 48)), needle));
    return m0 | (m1 << 16) | (m2 << 32) | (m3 << 48);
#else
    uint64_t m = 0;
    for (int i = 0; i < 64; ++i)
        if (p[i] == c)
            m |= 1ull << i;
    return m;
#endif
}
}  // namespace

LogLineReader::LogLineReader(const BOOL* continueFlag) : m_continue(continueFlag) {}

LogLineReader::~LogLineReader() {
    Close();
}

void LogLineReader::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

const char* LogLineReader::ChooseTerminator(const char* block, size_t size) {
    size = std::min(size, kFirstBlock);
    const char* lf = (const char*)std::memchr(block, '\n', size);
    if (!lf)
        return "\r\n";
    size_t i = (size_t)(lf - block);
    if (i > 0 && block[i - 1] == '\r')
        return "\r\n";
    if (i + 1 < size && block[i + 1] == '\r')
        return "\n\r";
    return "\n";
}

inline size_t LogLineReader::FindNext(size_t from) {
    if (from >= m_end)
        return m_end;
    size_t word = from >> 6;
    uint64_t mask = m_masks[word] & (~0ull << (from & 63));
    while (!mask) {
        if (++word >= m_masks.size())
            return m_end;
        mask = m_masks[word];
    }
    size_t i = (word << 6) + (size_t)__builtin_ctzll(mask);
    return i < m_end ? i : m_end;
}

BOOL LogLineReader::ReadBlock() {
    m_pos = 0;
    m_end = 0;

    while (m_end < kBlockSize) {
        ssize_t n = ::read(m_fd, m_block.data() + m_end, kBlockSize - m_end);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return FALSE;
        }
        if (n == 0) {
            m_lastBlock = true;
            break;
        }
        m_end += (size_t)n;
    }
    ComputeMasks();
    return TRUE;
}

void LogLineReader::ComputeMasks() {
    size_t words = (m_end + 63) / 64;
    m_masks.resize(words);
    const char* base = m_block.data();
    const char first = m_term[0];
    for (size_t w = 0; w < words; ++w)
        m_masks[w] = MatchMask(base + w * 64, first);
    if (m_end & 63)
        m_masks[words - 1] &= (1ull << (m_end & 63)) - 1;
}

BOOL LogLineReader::Open(LPCTSTR path) {
    Close();
    m_status = OpenFailed;
    m_lineNumber = 0;
    m_line.clear();
    m_lastBlock = false;
    if (!path || GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    // Non-blocking open so that a FIFO cannot hang the pass; only regular files are read.
    m_fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return FALSE;
    struct stat st {};
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return FALSE;
    }
    posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_block.assign(kBlockSize + kSlack, '\0');
    if (!ReadBlock()) {
        Close();
        return FALSE;
    }
    m_term = ChooseTerminator(m_block.data(), m_end);
    m_termLen = (int)std::strlen(m_term);
    ComputeMasks();
    m_status = Reading;
    return TRUE;
}

BOOL LogLineReader::NextLine(std::string_view& out) {
    if (m_status != Reading)
        return FALSE;
    if (m_continue && !*m_continue) {
        m_status = Stopped;
        return FALSE;
    }
    const char t1 = m_term[1];  // '\0' for a one-byte terminator
    m_line.clear();
    // A first terminator byte seen at the end of the previous block, waiting for its second byte.
    bool pendingFirst = false;
    for (;;) {
        if (m_pos >= m_end) {
            if (m_lastBlock) {
                m_status = EndOfFile;
                return FALSE;
            }
            if (!ReadBlock()) {
                m_status = ReadFailed;
                return FALSE;
            }
            if (m_end == 0) {
                m_status = EndOfFile;
                return FALSE;
            }
        }
        const char* base = m_block.data();
        if (pendingFirst) {
            pendingFirst = false;
            char c = base[m_pos++];
            if (c == t1) {
                m_line.pop_back();  // the first terminator byte
                ++m_lineNumber;
                out = m_line;
                return TRUE;
            }
            m_line += c;  // breaks the match; not tested as a first byte
            continue;
        }
        size_t start = m_pos;
        size_t scan = m_pos;
        for (;;) {
            size_t i = FindNext(scan);
            if (i >= m_end) {
                m_line.append(base + start, m_end - start);
                m_pos = m_end;
                break;
            }
            if (!t1) {  // one-byte terminator
                m_pos = i + 1;
                ++m_lineNumber;
                if (m_line.empty()) {
                    out = std::string_view(base + start, i - start);
                } else {
                    m_line.append(base + start, i - start);
                    out = m_line;
                }
                return TRUE;
            }
            if (i + 1 >= m_end) {  // the second byte is in the next block
                m_line.append(base + start, i + 1 - start);
                m_pos = m_end;
                pendingFirst = true;
                break;
            }
            if (base[i + 1] == t1) {
                m_pos = i + 2;
                ++m_lineNumber;
                if (m_line.empty()) {
                    out = std::string_view(base + start, i - start);
                } else {
                    m_line.append(base + start, i - start);
                    out = m_line;
                }
                return TRUE;
            }
            scan = i + 2;  // the byte after a broken match stays in the line untested
            if (scan > m_end)
                scan = m_end;
        }
    }
}

BOOL LogLineReader::NextLine(CString& line) {
    std::string_view v;
    if (!NextLine(v))
        return FALSE;
    line = CString(v);
    return TRUE;
}

namespace {
// The terminators NextLine would match in a block, given whether the previous block ended in a first
// byte (updated for the next block). A first byte not followed by the second breaks the match, and the
// byte after it is not tested.
long CountTerminatorsScalar(const char* p, const char* end, char t0, char t1, bool& pendingFirst) {
    long lines = 0;
    while (p < end) {
        p = (const char*)std::memchr(p, t0, (size_t)(end - p));
        if (!p)
            break;
        if (!t1) {
            ++lines;
            ++p;
            continue;
        }
        if (p + 1 >= end) {
            pendingFirst = true;
            break;
        }
        if (p[1] == t1)
            ++lines;
        p += 2;
    }
    return lines;
}

// Terminators in a block by bit masks, 64 bytes at a time: `matches` counts first bytes (from `start`
// on) followed by the second byte, `pairs` collects first bytes followed by another first byte. With a
// one-byte terminator every first byte is a match. The block needs 64 zero bytes after its end.
void CountMasked(const char* block, size_t n, size_t start, char t0, char t1, long& matches,
                 uint64_t& pairs) {
    const size_t words = (n + 63) / 64;
    const uint64_t tail = (n & 63) ? (1ull << (n & 63)) - 1 : ~0ull;
    uint64_t m0 = MatchMask(block, t0), m1 = t1 ? MatchMask(block, t1) : 0;
    if (words == 1)
        m0 &= tail, m1 &= tail;
    if (start)
        m0 &= ~1ull, m1 &= ~1ull;
    for (size_t w = 0; w < words; ++w) {
        uint64_t n0 = 0, n1 = 0;
        if (w + 1 < words) {
            n0 = MatchMask(block + (w + 1) * 64, t0);
            n1 = t1 ? MatchMask(block + (w + 1) * 64, t1) : 0;
            if (w + 2 == words)
                n0 &= tail, n1 &= tail;
        }
        if (!t1) {
            matches += __builtin_popcountll(m0);
        } else {
            pairs |= m0 & ((m0 >> 1) | (n0 << 63));
            matches += __builtin_popcountll(m0 & ((m1 >> 1) | (n1 << 63)));
        }
        m0 = n0;
        m1 = n1;
    }
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) inline uint64_t MatchMaskAvx2(const char* p, __m256i needle) {
    uint64_t lo =
        (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)p), needle));
    uint64_t hi = (uint32_t)_mm256_movemask_epi8(
        _mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)(p + 32)), needle));
    return lo | (hi << 32);
}

// CountMasked with 32-byte vectors.
__attribute__((target("avx2"))) void CountMaskedAvx2(const char* block, size_t n, size_t start, char t0,
                                                     char t1, long& matches, uint64_t& pairs) {
    const size_t words = (n + 63) / 64;
    const uint64_t tail = (n & 63) ? (1ull << (n & 63)) - 1 : ~0ull;
    const __m256i v0 = _mm256_set1_epi8(t0), v1 = _mm256_set1_epi8(t1);
    uint64_t m0 = MatchMaskAvx2(block, v0), m1 = t1 ? MatchMaskAvx2(block, v1) : 0;
    if (words == 1)
        m0 &= tail, m1 &= tail;
    if (start)
        m0 &= ~1ull, m1 &= ~1ull;
    for (size_t w = 0; w < words; ++w) {
        uint64_t n0 = 0, n1 = 0;
        if (w + 1 < words) {
            n0 = MatchMaskAvx2(block + (w + 1) * 64, v0);
            n1 = t1 ? MatchMaskAvx2(block + (w + 1) * 64, v1) : 0;
            if (w + 2 == words)
                n0 &= tail, n1 &= tail;
        }
        if (!t1) {
            matches += __builtin_popcountll(m0);
        } else {
            pairs |= m0 & ((m0 >> 1) | (n0 << 63));
            matches += __builtin_popcountll(m0 & ((m1 >> 1) | (n1 << 63)));
        }
        m0 = n0;
        m1 = n1;
    }
}
const bool kHaveAvx2 = __builtin_cpu_supports("avx2");
#endif

// The same as the byte-by-byte count. A match is a first byte followed by the second where the first
// byte is tested; that is plain unless two first bytes stand side by side (the second of them is then
// not tested), and such blocks are counted byte by byte.
long CountTerminators(const char* block, size_t n, char t0, char t1, bool& pendingFirst, bool avx2) {
    const char* p = block;
    long lines = 0;
    if (pendingFirst) {  // this byte completes the terminator or breaks it; either way it is not tested
        pendingFirst = false;
        if (*p == t1)
            ++lines;
        ++p;
    }
    const size_t start = (size_t)(p - block);
    long matches = 0;
    uint64_t pairs = 0;
#if defined(__x86_64__)
    if (avx2)
        CountMaskedAvx2(block, n, start, t0, t1, matches, pairs);
    else
#else
    (void)avx2;
#endif
        CountMasked(block, n, start, t0, t1, matches, pairs);
    if (pairs)  // first bytes side by side: count byte by byte
        return lines + CountTerminatorsScalar(p, block + n, t0, t1, pendingFirst);
    if (t1 && block[n - 1] == t0 && n - 1 >= start)  // its second byte is in the next block
        pendingFirst = true;
    return lines + matches;
}
}  // namespace

LONG CountFileLines(LPCTSTR path) {
#if defined(__x86_64__)
    return CountFileLinesWith(path, kHaveAvx2 ? 32 : 16);
#else
    return CountFileLinesWith(path, 16);
#endif
}

LONG CountFileLinesWith(LPCTSTR path, int vectorBytes) {
#if defined(__x86_64__)
    const bool avx2 = vectorBytes >= 32 && kHaveAvx2;
#else
    const bool avx2 = false;
    (void)vectorBytes;
#endif
    // The reader's line count without assembling lines: the terminators it would match, counted over
    // large reads.
    if (!path || GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES)
        return 0;
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return 0;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    constexpr size_t kCountBlock = 256 * 1024;
    std::string block(kCountBlock + kSlack, '\0');
    const char* term = nullptr;
    char t0 = 0, t1 = 0;
    bool pendingFirst = false;  // the previous block ended in a first terminator byte
    long lines = 0;
    for (;;) {
        size_t n = 0;
        while (n < kCountBlock) {
            ssize_t r = ::read(fd, block.data() + n, kCountBlock - n);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                break;
            n += (size_t)r;
        }
        if (n == 0)
            break;
        if (!term) {
            term = LogLineReader::ChooseTerminator(block.data(), n);
            t0 = term[0];
            t1 = term[1];
        }
        lines += CountTerminators(block.data(), n, t0, t1, pendingFirst, avx2);
        if (n < kCountBlock)
            break;
    }
    ::close(fd);
    return (LONG)lines;
}
