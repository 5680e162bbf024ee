#include "analysis/LogLineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/base/File.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {
constexpr size_t kBlockSize = LogLineReader::kBlockSize;
constexpr size_t kAheadBlockSize = LogLineReader::kAheadBlockSize;
// Room after the block, so a 64-byte window, and a 16-byte window at a marker's last byte, never read
// outside the buffer.
constexpr size_t kMaxMarkerReach = 192;
constexpr size_t kSlack = 64 + kMaxMarkerReach;
static_assert(kSlack >= 32 + kMaxMarkerReach, "a 32-byte round at a marker's last byte stays in the buffer");

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

// The blocks of read-ahead: a thread reads them into spare buffers and finds their line ends, a second
// finds their marker hits, and the caller takes them in order. The caller hands a used buffer back as it
// takes the next, and wakes the reading thread only once several are spare, so most blocks cost no
// system call.
struct LogLineReader::ReadAhead {
    static constexpr size_t kBlocksAhead = 8;
    static constexpr size_t kRefillAt = 4;

    // Blocks passed on from one side to the next, and whether that side sleeps until one comes.
    struct Queue {
        std::deque<std::unique_ptr<Block>> blocks;
        bool waits = false;
    };

    // The first block of the queue, after waiting for one; null once stopped.
    std::unique_ptr<Block> Take(Queue& q) {
        std::unique_lock lock(mutex);
        q.waits = true;
        wake.wait(lock, [&] { return stop || !q.blocks.empty(); });
        q.waits = false;
        if (stop)
            return nullptr;
        std::unique_ptr<Block> b = std::move(q.blocks.front());
        q.blocks.pop_front();
        return b;
    }
    // Adds a block to the queue; its taker is woken when it sleeps and the queue holds `wakeAt`.
    void Put(Queue& q, std::unique_ptr<Block> b, size_t wakeAt = 1) {
        std::lock_guard lock(mutex);
        q.blocks.push_back(std::move(b));
        if (q.waits && q.blocks.size() >= wakeAt)
            wake.notify_all();
    }

    std::mutex mutex;
    std::condition_variable wake;  // one for all three sides: each waits on its own condition
    Queue spare, read, ready;
    bool stop = false;
    std::thread reader, scanner;
};

LogLineReader::LogLineReader(const BOOL* continueFlag) : m_continue(continueFlag) {}

LogLineReader::~LogLineReader() {
    Close();
}

void LogLineReader::Close() {
    StopReadAhead();
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

bool LogLineReader::ReadInto(int fd, Block& b, size_t size) {
    b.end = 0;
    b.last = false;
    b.failed = false;
    if (b.data.size() != size + kSlack)
        b.data.assign(size + kSlack, '\0');
    while (b.end < size) {
        ssize_t n = ::read(fd, b.data.data() + b.end, size - b.end);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            b.failed = true;
            return false;
        }
        if (n == 0) {
            b.last = true;
            break;
        }
        b.end += (size_t)n;
    }
    return true;
}

BOOL LogLineReader::ReadBlock() {
    m_pos = 0;
    m_endIdx = 0;
    m_hitIdx = 0;
    if (!m_ahead) {
        if (!ReadInto(m_fd, *m_cur, kBlockSize))
            return FALSE;
        ComputeMasks(*m_cur, m_term[0]);
        m_cur->hitsFrom = SIZE_MAX;
    } else {
        // A used block goes back; the reading thread is woken only once several are spare.
        m_ahead->Put(m_ahead->spare, std::move(m_cur), ReadAhead::kRefillAt);
        m_cur = m_ahead->Take(m_ahead->ready);
        if (m_cur->error) {  // as a failure on the caller's thread would have been: raised there
            m_status = ReadFailed;
            std::rethrow_exception(std::exchange(m_cur->error, nullptr));
        }
        if (m_cur->failed)
            return FALSE;
    }
    m_bytesRead += m_cur->end;
    return TRUE;
}

void LogLineReader::ComputeMasks(Block& b, char first) {
    size_t words = (b.end + 63) / 64;
    b.masks.resize(words);
    const char* base = b.data.data();
    for (size_t w = 0; w < words; ++w)
        b.masks[w] = MatchMask(base + w * 64, first);
    if (b.end & 63)
        b.masks[words - 1] &= (1ull << (b.end & 63)) - 1;
}

BOOL LogLineReader::Open(LPCTSTR path) {
    Close();
    m_status = OpenFailed;
    m_lineNumber = 0;
    m_line.clear();
    m_bytesRead = 0;
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
    m_pos = 0;
    m_endIdx = 0;
    m_hitIdx = 0;
    if (!ReadInto(m_fd, *m_cur, kBlockSize)) {
        Close();
        return FALSE;
    }
    m_bytesRead = m_cur->end;
    m_term = ChooseTerminator(m_cur->data.data(), m_cur->end);
    m_termLen = (int)std::strlen(m_term);
    ComputeMasks(*m_cur, m_term[0]);
    ComputeEnds(*m_cur, 0, m_term);
    m_cur->hitsFrom = SIZE_MAX;
    if (m_readAhead && !m_cur->last) {
        if (!m_markers.empty())
            ComputeHits(*m_cur, 0, 0);
        StartReadAhead();
    }
    m_status = Reading;
    return TRUE;
}

void LogLineReader::StartReadAhead() {
    m_ahead = std::make_unique<ReadAhead>();
    ReadAhead& ra = *m_ahead;
    for (size_t i = 0; i < ReadAhead::kBlocksAhead; ++i)
        ra.spare.blocks.push_back(std::make_unique<Block>());
    // Without markers there is no scan: the reading thread hands its blocks to the caller at once.
    const bool scan = !m_markers.empty();
    // The first block's last byte decides where the second block's terminators may start, and so on.
    ra.reader = std::thread([this, &ra, scan, pending = m_cur->pendingFirst]() mutable {
        for (;;) {
            std::unique_ptr<Block> b = ra.Take(ra.spare);
            if (!b)
                return;
            try {
                b->hits.clear();
                b->hitMarkers.clear();
                b->hitsFrom = SIZE_MAX;
                // The terminators while the bytes are still in this core's cache.
                if (ReadInto(m_fd, *b, kAheadBlockSize)) {
                    ComputeMasks(*b, m_term[0]);
                    // A terminator's second byte that the previous block's last byte began never starts
                    // one.
                    b->split = pending;
                    ComputeEnds(*b, pending ? 1 : 0, m_term);
                    pending = b->pendingFirst;
                }
            } catch (...) {  // no memory for the block: the caller learns of it
                b->error = std::current_exception();
            }
            const bool end = b->last || b->failed || b->error;
            ra.Put(scan ? ra.read : ra.ready, std::move(b));
            if (end)
                return;
        }
    });
    if (!scan)
        return;
    ra.scanner = std::thread([this, &ra] {
        for (;;) {
            std::unique_ptr<Block> b = ra.Take(ra.read);
            if (!b)
                return;
            // The block's first line is tested on its own when it began in an earlier block; after a
            // terminator split across the two blocks it starts at the second byte.
            if (!b->failed && !b->error) {
                try {
                    if (b->split && b->end > 0 && b->data[0] == m_term[1])
                        ComputeHits(*b, 0, 1);
                    else if (b->ends.size() > 1)
                        ComputeHits(*b, 1, b->ends[0] + (size_t)m_termLen);
                } catch (...) {
                    b->error = std::current_exception();
                }
            }
            const bool end = b->last || b->failed || b->error;
            ra.Put(ra.ready, std::move(b));
            if (end)
                return;
        }
    });
}

void LogLineReader::StopReadAhead() {
    if (!m_ahead)
        return;
    {
        std::lock_guard lock(m_ahead->mutex);
        m_ahead->stop = true;
    }
    m_ahead->wake.notify_all();
    m_ahead->reader.join();
    if (m_ahead->scanner.joinable())
        m_ahead->scanner.join();
    m_ahead.reset();
}

bool LogLineReader::AppendToLine(const char* data, size_t size) {
    size_t room = m_line.size() < kMaxLine ? kMaxLine - m_line.size() : 0;
    m_line.append(data, std::min(size, room));
    return size <= room;
}

void LogLineReader::ComputeEnds(Block& b, size_t from, const char* term) {
    b.ends.clear();
    b.pendingFirst = false;
    const char t1 = term[1];
    const char* base = b.data.data();
    const size_t blockEnd = b.end;
    size_t next = from;  // the first position that may start a terminator
    for (size_t w = from >> 6; w < b.masks.size(); ++w) {
        uint64_t mask = b.masks[w];
        const size_t wordStart = w << 6;
        if (next > wordStart)
            mask &= (next - wordStart >= 64) ? 0 : ~0ull << (next - wordStart);
        if (!mask)
            continue;
        if (!t1) {
            while (mask) {
                b.ends.push_back((uint32_t)(wordStart + (size_t)__builtin_ctzll(mask)));
                mask &= mask - 1;
            }
            continue;
        }
        if ((mask & (mask << 1)) == 0 && wordStart + 64 < blockEnd) {
            // No two first bytes side by side: each starts a match; the ends are those followed by the
            // second byte.
            uint64_t second = MatchMask(base + wordStart, t1) >> 1;
            if (base[wordStart + 64] == t1)
                second |= 1ull << 63;
            next = wordStart + (size_t)(63 - __builtin_clzll(mask)) + 2;
            for (uint64_t ends = mask & second; ends; ends &= ends - 1)
                b.ends.push_back((uint32_t)(wordStart + (size_t)__builtin_ctzll(ends)));
            continue;
        }
        while (mask) {
            size_t i = wordStart + (size_t)__builtin_ctzll(mask);
            mask &= mask - 1;
            if (i < next)
                continue;
            if (i + 1 >= blockEnd) {  // its second byte is in the next block
                b.pendingFirst = true;
                break;
            }
            if (base[i + 1] == t1)
                b.ends.push_back((uint32_t)i);
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
        Block& b = *m_cur;
        const char* base = b.data.data();
        if (m_endIdx < b.ends.size()) {
            size_t i = b.ends[m_endIdx++];
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
        bool pending = b.pendingFirst;
        firstKept = AppendToLine(base + m_pos, b.end - m_pos);
        carried = true;
        m_pos = b.end;
        if (b.last) {
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
        Block& next = *m_cur;
        if (next.end == 0) {
            m_status = EndOfFile;
            return FALSE;
        }
        // Read-ahead found the block's ends already, from the same starting byte.
        const bool found = (bool)m_ahead;
        if (pending) {
            if (!found)
                ComputeEnds(next, 1, m_term);
            if (next.data[0] == m_term[1]) {
                if (firstKept)
                    m_line.pop_back();  // the first terminator byte
                m_pos = 1;
                ++m_lineNumber;
                out = m_line;
                return TRUE;
            }
            // Otherwise it breaks the match; it stays in the line and is not tested as a first byte.
        } else if (!found) {
            ComputeEnds(next, 0, m_term);
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

long LogLineReader::CountRemainingLines(long atLeast, const std::atomic<bool>* stop) {
    if (m_status != Reading)
        return m_status == EndOfFile ? 0 : -1;
    const char t1 = m_term[1];
    long lines = 0;
    size_t from = m_pos;        // a line already begun is counted when its end is met
    bool pendingFirst = false;  // a first terminator byte ended the previous block
    for (;;) {
        const Block& b = *m_cur;
        const char* base = b.data.data();
        const size_t blockEnd = b.end;
        if (pendingFirst && from < blockEnd) {
            pendingFirst = false;
            if (base[from] == t1)
                ++lines;
            ++from;  // matched or not, this byte never starts a terminator
        }
        if (!t1) {
            for (size_t w = from >> 6; w < b.masks.size(); ++w) {
                uint64_t mask = b.masks[w];
                if (w == (from >> 6))
                    mask &= ~0ull << (from & 63);
                lines += __builtin_popcountll(mask);
            }
        } else {
            size_t next = from;  // the first position that may start a terminator
            for (size_t w = from >> 6; w < b.masks.size(); ++w) {
                const size_t wordStart = w << 6;
                uint64_t mask = b.masks[w];
                if (next > wordStart)
                    mask &= (next - wordStart >= 64) ? 0 : ~0ull << (next - wordStart);
                if (!mask)
                    continue;
                if ((mask & (mask << 1)) == 0 && wordStart + 64 < blockEnd) {
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
                    if (i < next || i >= blockEnd)
                        continue;
                    if (i + 1 >= blockEnd) {
                        pendingFirst = true;
                        next = blockEnd;
                        continue;
                    }
                    if (base[i + 1] == t1)
                        ++lines;
                    next = i + 2;
                }
            }
        }
        m_pos = blockEnd;
        if (b.last)
            break;
        if ((m_continue && !*m_continue) || (stop && stop->load(std::memory_order_relaxed)) ||
            lines >= atLeast) {
            m_status = Stopped;
            m_lineNumber += lines;
            return lines;
        }
        if (!ReadBlock()) {
            m_status = ReadFailed;
            m_lineNumber += lines;  // what was counted stands
            return -1;
        }
        if (m_cur->end == 0)
            break;
        from = 0;
    }
    m_status = EndOfFile;
    m_lineNumber += lines;
    return lines;
}

namespace {
// The count is 32-bit for its callers; a log of more lines reports the largest count.
LONG ClampCount(long long lines) {
    return (LONG)std::clamp<long long>(lines, 0, INT32_MAX);
}
}  // namespace

LONG CountFileLines(LPCTSTR path) {
    LogLineReader reader;
    if (!reader.Open(path))
        return 0;
    reader.CountRemainingLines();
    return ClampCount(reader.GetLineNumber());
}

LineCountAhead::LineCountAhead(LPCTSTR path) {
    LogLineReader probe;
    if (!probe.Open(path))
        return;  // missing or unreadable: 0, as CountFileLines gives
    probe.CountRemainingLines(kSyncLines);
    m_total = ClampCount(probe.GetLineNumber());
    if (probe.GetStatus() != LogLineReader::Stopped)
        return;  // counted to the end (or a read failed: what was counted, as CountFileLines gives)
    // A long log: estimated from the blocks counted so far until the count arrives.
    struct stat st {};
    const long long read = (long long)probe.BytesRead();
    if (::stat(path, &st) == 0 && read > 0 && st.st_size > read)
        m_total = ClampCount(std::max<long long>(m_total + 1, (long long)((double)m_total * st.st_size / read)));
    m_exact = false;
    m_thread = std::thread([this, file = std::string(path)] {
        LogLineReader reader;
        long long lines = 0;
        if (reader.Open(file.c_str())) {
            reader.CountRemainingLines(LONG_MAX, &m_stop);
            lines = reader.GetLineNumber();
            if (reader.GetStatus() == LogLineReader::Stopped)
                return;
        }
        m_count.store(ClampCount(lines), std::memory_order_relaxed);
        m_counted.store(true, std::memory_order_release);
    });
}

LineCountAhead::~LineCountAhead() {
    m_stop.store(true, std::memory_order_relaxed);
    if (m_thread.joinable())
        m_thread.join();
}

bool LineCountAhead::Arrived() {
    if (m_exact || !m_counted.load(std::memory_order_acquire))
        return false;
    m_total = m_count.load(std::memory_order_relaxed);
    m_exact = true;
    return true;
}

void LogLineReader::SetMarkers(std::vector<std::string> markers, bool classify) {
    m_markers.clear();
    m_markerLast.clear();
    m_markerBits.clear();
    m_classify = classify;
    for (size_t i = 0; i < markers.size(); ++i) {
        std::string& m = markers[i];
        if (m.empty())
            continue;
        m_markerLast.push_back(std::min(m.size() - 1, kMaxMarkerReach));
        if (m_markers.size() < kVecMarkers) {
            std::memset(m_firstVec[m_markers.size()], m[0], 16);
            std::memset(m_lastVec[m_markers.size()], m[m_markerLast.back()], 16);
        }
        m_markerBits.push_back(i < 32 ? 1u << i : 0);
        m_markers.push_back(std::move(m));
    }
}

uint32_t LogLineReader::MarkersIn(std::string_view text) const {
    uint32_t bits = 0;
    for (size_t i = 0; i < m_markers.size(); ++i)
        if (text.find(m_markers[i]) != std::string_view::npos)
            bits |= m_markerBits[i];
    return bits;
}

uint32_t LogLineReader::FindLineMarkers() {
    m_lineMarkers = MarkersIn(m_hitLine);
    m_lineMarkersKnown = true;
    return m_lineMarkers;
}

BOOL LogLineReader::HoldsMarker(std::string_view text) const {
    for (const std::string& m : m_markers)
        if (text.find(m) != std::string_view::npos)
            return TRUE;
    return m_markers.empty();
}

namespace {
#if defined(__SSE2__)
// The first candidate at or after `from` and before `to` where some marker's first byte stands and its
// last byte stands at the marker's distance; `accept` compares it in full. N markers, their bytes kept
// in registers, 32 bytes a round.
template <size_t N, typename Accept>
size_t ScanCandidates(const char* base, size_t from, size_t to, const char (*firstVec)[16],
                      const char (*lastVec)[16], const size_t* lastOffsets, Accept accept) {
    __m128i first[N], last[N];
    size_t off[N];
    for (size_t i = 0; i < N; ++i) {
        first[i] = _mm_loadu_si128((const __m128i*)firstVec[i]);
        last[i] = _mm_loadu_si128((const __m128i*)lastVec[i]);
        off[i] = lastOffsets[i];
    }
    for (size_t p = from; p < to; p += 32) {
        const __m128i a = _mm_loadu_si128((const __m128i*)(base + p));
        const __m128i b = _mm_loadu_si128((const __m128i*)(base + p + 16));
        __m128i anyA = _mm_setzero_si128(), anyB = _mm_setzero_si128();
        for (size_t i = 0; i < N; ++i) {
            const __m128i la = _mm_loadu_si128((const __m128i*)(base + p + off[i]));
            const __m128i lb = _mm_loadu_si128((const __m128i*)(base + p + 16 + off[i]));
            anyA =
                _mm_or_si128(anyA, _mm_and_si128(_mm_cmpeq_epi8(a, first[i]), _mm_cmpeq_epi8(la, last[i])));
            anyB =
                _mm_or_si128(anyB, _mm_and_si128(_mm_cmpeq_epi8(b, first[i]), _mm_cmpeq_epi8(lb, last[i])));
        }
        uint32_t mask = (uint32_t)_mm_movemask_epi8(anyA) | ((uint32_t)_mm_movemask_epi8(anyB) << 16);
        for (; mask; mask &= mask - 1) {
            size_t at = p + (size_t)__builtin_ctz(mask);
            if (at >= to)
                return std::string_view::npos;
            if (accept(at))
                return at;
        }
    }
    return std::string_view::npos;
}
#endif
}  // namespace

size_t LogLineReader::FindMarker(const char* base, size_t from, size_t to) const {
    auto verify = [&](size_t at) {
        for (const std::string& m : m_markers)
            if (base[at] == m[0] && at + m.size() <= to && std::memcmp(base + at, m.data(), m.size()) == 0)
                return true;
        return false;
    };
#if defined(__SSE2__)
    const size_t* offsets = m_markerLast.data();
    const char(*firstBytes)[16] = m_firstVec;
    const char(*lastBytes)[16] = m_lastVec;
    switch (m_markers.size()) {
        case 1:
            return ScanCandidates<1>(base, from, to, firstBytes, lastBytes, offsets, verify);
        case 2:
            return ScanCandidates<2>(base, from, to, firstBytes, lastBytes, offsets, verify);
        case 3:
            return ScanCandidates<3>(base, from, to, firstBytes, lastBytes, offsets, verify);
        case 4:
            return ScanCandidates<4>(base, from, to, firstBytes, lastBytes, offsets, verify);
        case 5:
            return ScanCandidates<5>(base, from, to, firstBytes, lastBytes, offsets, verify);
        case 6:
            return ScanCandidates<6>(base, from, to, firstBytes, lastBytes, offsets, verify);
        default:
            break;  // more than the registers hold: byte by byte below
    }
#endif
    for (size_t at = from; at < to; ++at)
        if (verify(at))
            return at;
    return std::string_view::npos;
}

size_t LogLineReader::LineEndAfter(const Block& b, size_t from, size_t at) {
    // Hits stand a few lines apart: step over the near ends, search the rest by halves.
    size_t i = from;
    for (const size_t near = std::min(b.ends.size(), i + 16); i < near; ++i)
        if (b.ends[i] > at)
            return i;
    return (size_t)(std::upper_bound(b.ends.begin() + (long)i, b.ends.end(), (uint32_t)at) - b.ends.begin());
}

void LogLineReader::ComputeHits(Block& b, size_t fromLine, size_t fromPos) const {
    b.hits.clear();
    b.hitMarkers.clear();
    b.hitsFrom = fromLine;
    const char* base = b.data.data();
    for (size_t line = fromLine, pos = fromPos; line < b.ends.size();) {
        const size_t hit = FindMarker(base, pos, b.ends.back());
        if (hit == std::string_view::npos)
            break;
        const size_t start = line;
        line = LineEndAfter(b, line, hit);
        b.hits.push_back((uint32_t)line);
        if (m_classify) {
            const size_t lineStart = line == start ? pos : b.ends[line - 1] + (size_t)m_termLen;
            b.hitMarkers.push_back(MarkersIn(std::string_view(base + lineStart, b.ends[line] - lineStart)));
        }
        pos = b.ends[line] + (size_t)m_termLen;
        ++line;
    }
}

size_t LogLineReader::NextHitIndex() {
    const Block& b = *m_cur;
    if (m_endIdx >= b.hitsFrom) {  // found ahead
        while (m_hitIdx < b.hits.size() && b.hits[m_hitIdx] < m_endIdx)
            ++m_hitIdx;
        return m_hitIdx < b.hits.size() ? b.hits[m_hitIdx] : b.ends.size();
    }
    const size_t hit = FindMarker(b.data.data(), m_pos, b.ends.back());
    return hit == std::string_view::npos ? b.ends.size() : LineEndAfter(b, m_endIdx, hit);
}

BOOL LogLineReader::NextHitLine(std::string_view& line, long stopAt) {
    m_lineMarkersKnown = false;
    if (m_markers.empty()) {
        BOOL got = NextLine(line);
        m_hitLine = line;
        return got;
    }
    for (;;) {
        const Block& b = *m_cur;
        if (m_endIdx < b.ends.size() && m_status == Reading && (!m_continue || *m_continue)) {
            // The lines that end inside this block: find the next one with a marker.
            const bool ahead = m_endIdx >= b.hitsFrom;
            size_t target = NextHitIndex();
            if (stopAt > m_lineNumber && (unsigned long)(stopAt - m_lineNumber - 1) < target - m_endIdx)
                target = m_endIdx + (size_t)(stopAt - m_lineNumber - 1);
            if (target < b.ends.size()) {
                size_t start = target == m_endIdx ? m_pos : b.ends[target - 1] + (size_t)m_termLen;
                size_t end = b.ends[target];
                // From the local, not read back from `line`: a read of the two words just written
                // stalls.
                const std::string_view hitLine(b.data.data() + start, end - start);
                line = hitLine;
                m_hitLine = hitLine;
                if (ahead && m_classify && m_hitIdx < b.hitMarkers.size() && b.hits[m_hitIdx] == target) {
                    m_lineMarkers = b.hitMarkers[m_hitIdx];
                    m_lineMarkersKnown = true;
                }
                m_lineNumber += (long)(target - m_endIdx) + 1;
                m_endIdx = target + 1;
                m_pos = end + (size_t)m_termLen;
                return TRUE;
            }
            // None: every line that ends here is passed over.
            m_lineNumber += (long)(b.ends.size() - m_endIdx);
            m_pos = b.ends.back() + (size_t)m_termLen;
            m_endIdx = b.ends.size();
        }
        // A line that spans blocks, or the end of the reading: tested on its own.
        if (!NextLineSlow(line))
            return FALSE;
        m_hitLine = line;
        if (m_lineNumber == stopAt || HoldsMarker(line))
            return TRUE;
    }
}
