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
    ComputeEnds(0);
    m_status = Reading;
    return TRUE;
}

bool LogLineReader::AppendToLine(const char* data, size_t size) {
    size_t room = m_line.size() < kMaxLine ? kMaxLine - m_line.size() : 0;
    m_line.append(data, std::min(size, room));
    return size <= room;
}

void LogLineReader::ComputeEnds(size_t from) {
    m_ends.clear();
    m_endIdx = 0;
    m_pendingFirst = false;
    const char t1 = m_term[1];
    const char* base = m_block.data();
    size_t next = from;  // the first position that may start a terminator
    for (size_t w = from >> 6; w < m_masks.size(); ++w) {
        uint64_t mask = m_masks[w];
        const size_t wordStart = w << 6;
        if (next > wordStart)
            mask &= (next - wordStart >= 64) ? 0 : ~0ull << (next - wordStart);
        if (!mask)
            continue;
        if (!t1) {
            while (mask) {
                m_ends.push_back((uint32_t)(wordStart + (size_t)__builtin_ctzll(mask)));
                mask &= mask - 1;
            }
            continue;
        }
        if ((mask & (mask << 1)) == 0 && wordStart + 64 < m_end) {
            // No two first bytes side by side: each starts a match; the ends are those followed by the
            // second byte.
            uint64_t second = MatchMask(base + wordStart, t1) >> 1;
            if (base[wordStart + 64] == t1)
                second |= 1ull << 63;
            next = wordStart + (size_t)(63 - __builtin_clzll(mask)) + 2;
            for (uint64_t ends = mask & second; ends; ends &= ends - 1)
                m_ends.push_back((uint32_t)(wordStart + (size_t)__builtin_ctzll(ends)));
            continue;
        }
        while (mask) {
            size_t i = wordStart + (size_t)__builtin_ctzll(mask);
            mask &= mask - 1;
            if (i < next)
                continue;
            if (!t1) {
                m_ends.push_back((uint32_t)i);
                continue;
            }
            if (i + 1 >= m_end) {  // its second byte is in the next block
                m_pendingFirst = true;
                break;
            }
            if (base[i + 1] == t1)
                m_ends.push_back((uint32_t)i);
            next = i + 2;  // matched, or the byte after a broken match: never a first byte
        }
    }
}

BOOL LogLineReader::NextLineSlow(std::string_view& out) {
    if (m_status != Reading)
        return FALSE;
    if (m_continue && !*m_continue) {
        m_status = Stopped;
        return FALSE;
    }
    m_line.clear();
    bool carried = false;    // part of the line came from earlier blocks (it is in m_line)
    bool firstKept = false;  // the pending first terminator byte was kept in m_line
    for (;;) {
        const char* base = m_block.data();
        if (m_endIdx < m_ends.size()) {
            size_t i = m_ends[m_endIdx++];
            size_t start = m_pos;
            m_pos = i + (size_t)m_termLen;
            ++m_lineNumber;
            if (!carried) {
                out = std::string_view(base + start, i - start);
            } else {
                AppendToLine(base + start, i - start);
                out = m_line;
            }
            return TRUE;
        }
        // No terminator left in this block: the rest belongs to the line (with a pending first byte).
        bool pending = m_pendingFirst;
        firstKept = AppendToLine(base + m_pos, m_end - m_pos);
        carried = true;
        m_pos = m_end;
        if (m_lastBlock) {
            m_status = EndOfFile;
            return FALSE;
        }
        // A line that spans blocks is where a cancel must still be seen.
        if (m_continue && !*m_continue) {
            m_status = Stopped;
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
        size_t from = 0;
        if (pending) {
            if (m_block[0] == m_term[1]) {
                if (firstKept)
                    m_line.pop_back();  // the first terminator byte
                m_pos = 1;
                ComputeEnds(1);
                ++m_lineNumber;
                out = m_line;
                return TRUE;
            }
            from = 1;  // breaks the match; stays in the line and is not tested as a first byte
        }
        ComputeEnds(from);
    }
}

BOOL LogLineReader::NextLine(CString& line) {
    std::string_view v;
    if (!NextLine(v))
        return FALSE;
    line = CString(v);
    return TRUE;
}

long LogLineReader::CountRemainingLines() {
    if (m_status != Reading)
        return m_status == EndOfFile ? 0 : -1;
    const char t1 = m_term[1];
    long lines = 0;
    size_t from = m_pos;        // a line already begun is counted when its end is met
    bool pendingFirst = false;  // a first terminator byte ended the previous block
    for (;;) {
        const char* base = m_block.data();
        if (pendingFirst && from < m_end) {
            pendingFirst = false;
            if (base[from] == t1)
                ++lines;
            ++from;  // matched or not, this byte never starts a terminator
        }
        if (!t1) {
            for (size_t w = from >> 6; w < m_masks.size(); ++w) {
                uint64_t mask = m_masks[w];
                if (w == (from >> 6))
                    mask &= ~0ull << (from & 63);
                lines += __builtin_popcountll(mask);
            }
        } else {
            size_t next = from;  // the first position that may start a terminator
            for (size_t w = from >> 6; w < m_masks.size(); ++w) {
                const size_t wordStart = w << 6;
                uint64_t mask = m_masks[w];
                if (next > wordStart)
                    mask &= (next - wordStart >= 64) ? 0 : ~0ull << (next - wordStart);
                if (!mask)
                    continue;
                if ((mask & (mask << 1)) == 0 && wordStart + 64 < m_end) {
                    // No two first bytes side by side: each starts a match; count those followed by the
                    // second byte.
                    uint64_t second = MatchMask(base + wordStart, t1) >> 1;
                    if (base[wordStart + 64] == t1)
                        second |= 1ull << 63;
                    lines += __builtin_popcountll(mask & second);
                    next = wordStart + (size_t)(63 - __builtin_clzll(mask)) + 2;
                    continue;
                }
                while (mask) {  // runs of first bytes, or the block's end: one by one
                    size_t i = wordStart + (size_t)__builtin_ctzll(mask);
                    mask &= mask - 1;
                    if (i < next || i >= m_end)
                        continue;
                    if (i + 1 >= m_end) {
                        pendingFirst = true;
                        next = m_end;
                        continue;
                    }
                    if (base[i + 1] == t1)
                        ++lines;
                    next = i + 2;
                }
            }
        }
        m_pos = m_end;
        if (m_lastBlock)
            break;
        if (m_continue && !*m_continue) {
            m_status = Stopped;
            m_lineNumber += lines;
            return lines;
        }
        if (!ReadBlock()) {
            m_status = ReadFailed;
            m_lineNumber += lines;  // what was counted stands
            return -1;
        }
        if (m_end == 0)
            break;
        from = 0;
    }
    m_status = EndOfFile;
    m_lineNumber += lines;
    return lines;
}

LONG CountFileLines(LPCTSTR path) {
    LogLineReader reader;
    if (!reader.Open(path))
        return 0;
    reader.CountRemainingLines();
    // The count is 32-bit for its callers; a log of more lines reports the largest count.
    return (LONG)std::min<long>(reader.GetLineNumber(), INT32_MAX);
}
