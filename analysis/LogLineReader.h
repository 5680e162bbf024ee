// Reads a QBroker or QServer log line by line. The line terminator ("\r\n", "\n\r" or "\n") is chosen
// once from the first 8,192 bytes; each complete line is delivered without its terminator, with its
// 1-based number. Bytes after the last terminator are not a line. A terminator's second byte that does
// not follow its first breaks the match, and that byte stays in the line without being tested as a
// new first byte (so with "\r\n", "a\r\r\nb\r\n" is the one line "a\r\r\nb").
#pragma once

#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/base/String.h"

class LogLineReader {
public:
    enum Status { NotOpen, Reading, EndOfFile, Stopped, OpenFailed, ReadFailed };
    static constexpr size_t kFirstBlock = 8192;
    // Large reads keep the system-call count low on multi-gigabyte logs; the terminator is still chosen
    // from the first kFirstBlock bytes only. Read ahead, the blocks after the first are larger: fewer
    // hand-overs between the threads.
    static constexpr size_t kBlockSize = 64 * 1024;
    static constexpr size_t kAheadBlockSize = 256 * 1024;
    // A line longer than this keeps only its first kMaxLine bytes: memory stays bounded whatever the file
    // (a log without its terminator is one endless line).
    static constexpr size_t kMaxLine = 64u * 1024 * 1024;

    // continueFlag: the pass's flag; when it is cleared the reader delivers nothing more.
    explicit LogLineReader(const BOOL* continueFlag = nullptr);
    ~LogLineReader();
    LogLineReader(const LogLineReader&) = delete;
    LogLineReader& operator=(const LogLineReader&) = delete;

    // With read-ahead (set before Open), threads of the reader's own read the next blocks and find
    // their line ends and marker hits while the caller works on the current one. What is delivered is
    // exactly what the reader delivers without it.
    void SetReadAhead(bool on) { m_readAhead = on; }
    // Checks the file, opens it for reading and reads its first block. FALSE on any failure.
    BOOL Open(LPCTSTR path);
    void Close();
    // The next line; FALSE at the end of the file, when stopped, or on a read failure (see GetStatus).
    // The view stays valid until the next call.
    BOOL NextLine(std::string_view& line) {
        // The common case inline: a whole line inside the current block.
        Block& b = *m_cur;
        if (m_endIdx < b.ends.size() && m_status == Reading && (!m_continue || *m_continue)) {
            size_t end = b.ends[m_endIdx++];
            line = std::string_view(b.data.data() + m_pos, end - m_pos);
            m_pos = end + (size_t)m_termLen;
            ++m_lineNumber;
            return TRUE;
        }
        return NextLineSlow(line);
    }
    // As NextLine, into a text.
    BOOL NextLine(CString& line);

    // The marker texts NextHitLine looks for (none: every line is a hit); set before Open. A marker holds
    // neither '\r' nor '\n', so a match never spans a terminator. With `classify`, LineMarkers tells
    // which of them a delivered line holds, found beside the pass when reading ahead.
    void SetMarkers(std::vector<std::string> markers, bool classify = false);
    // Bit i is set when the line NextHitLine delivered last holds the i-th marker (of the first 32).
    uint32_t LineMarkers() { return m_lineMarkersKnown ? m_lineMarkers : FindLineMarkers(); }
    // The next line that holds any marker anywhere, or whose number is stopAt (so that a caller's
    // progress step still meets that line); the lines in between are counted, not delivered. Lines
    // wholly inside a block are found by one scan of the block for all markers at once; a line that
    // spans blocks is tested on its own. Status, terminators and numbers are exactly NextLine's.
    BOOL NextHitLine(std::string_view& line, long stopAt = 0);
    // TRUE when the text holds any of the markers.
    BOOL HoldsMarker(std::string_view text) const;
    // Counts the lines left without delivering them (same terminator rule); the reader is then at the
    // end of the file. -1 when a read fails. It stops (status Stopped) after the block in which at
    // least `atLeast` lines were counted, or once `stop` is set.
    long CountRemainingLines(long atLeast = LONG_MAX, const std::atomic<bool>* stop = nullptr);
    // The bytes of the blocks taken into use so far.
    uint64_t BytesRead() const { return m_bytesRead; }

    long GetLineNumber() const { return m_lineNumber; }
    Status GetStatus() const { return m_status; }
    const char* GetTerminator() const { return m_term; }
    int GetTerminatorLength() const { return m_termLen; }

    // The terminator a first block implies.
    static const char* ChooseTerminator(const char* block, size_t size);

private:
    // One read block and what is found in it.
    struct Block {
        std::string data;  // the bytes, then room for scans that read past the end
        size_t end = 0;    // bytes read
        bool last = false;
        bool failed = false;
        // One bit per byte that equals the terminator's first byte.
        std::vector<uint64_t> masks;
        std::vector<uint32_t> ends;  // where each complete terminator of the block starts
        bool pendingFirst = false;   // the last byte starts a terminator the next block completes
        bool split = false;          // the previous block's last byte started one (read ahead)
        std::exception_ptr error;    // what a reading thread failed with (memory), raised to the caller
        // With markers and read-ahead: the indexes in `ends` of the lines, from `hitsFrom` on, that
        // hold a marker.
        std::vector<uint32_t> hits;
        std::vector<uint32_t> hitMarkers;  // with classify: LineMarkers of each hit line
        size_t hitsFrom = SIZE_MAX;
    };
    struct ReadAhead;

    BOOL ReadBlock();
    // NextLine when the line starts or ends in another block, or the reading has ended.
    BOOL NextLineSlow(std::string_view& line);
    // Appends to the line being built up to kMaxLine; FALSE when something was left out.
    bool AppendToLine(const char* data, size_t size);
    // Reads the next `size` bytes of the file (fewer at its end) into b; FALSE on a read failure.
    static bool ReadInto(int fd, Block& b, size_t size);
    static void ComputeMasks(Block& b, char first);
    // The terminators that end within the block from position `from` on, and whether the block's last
    // byte starts one that the next block completes.
    static void ComputeEnds(Block& b, size_t from, const char* term);
    // The lines from index `fromLine` on, the first starting at `fromPos`, that hold a marker.
    void ComputeHits(Block& b, size_t fromLine, size_t fromPos) const;
    // LineMarkers when the scan ahead has not found them.
    uint32_t FindLineMarkers();
    // The markers a text holds, as LineMarkers gives them.
    uint32_t MarkersIn(std::string_view text) const;
    // The first position in [from, to) of base where a marker starts and ends before `to`; npos when
    // none.
    size_t FindMarker(const char* base, size_t from, size_t to) const;
    // The index in b.ends, from `from` on, of the first terminator after position `at`.
    static size_t LineEndAfter(const Block& b, size_t from, size_t at);
    // The scan of the current block from the caller's position: the next line index at or after
    // m_endIdx that holds a marker; ends.size() when none.
    size_t NextHitIndex();
    // The threads of read-ahead, started once the first block is the current one.
    void StartReadAhead();
    void StopReadAhead();

    const BOOL* m_continue;
    int m_fd = -1;
    Status m_status = NotOpen;
    std::unique_ptr<Block> m_cur = std::make_unique<Block>();
    size_t m_pos = 0;
    size_t m_endIdx = 0;
    size_t m_hitIdx = 0;  // the first entry of m_cur->hits not yet passed
    const char* m_term = "\r\n";
    int m_termLen = 2;
    std::string m_line;
    long m_lineNumber = 0;
    uint64_t m_bytesRead = 0;
    bool m_readAhead = false;
    std::unique_ptr<ReadAhead> m_ahead;
    std::vector<std::string> m_markers;
    std::vector<uint32_t> m_markerBits;  // each marker's bit in LineMarkers
    bool m_classify = false;
    std::string_view m_hitLine;  // the line NextHitLine delivered last
    uint32_t m_lineMarkers = 0;
    bool m_lineMarkersKnown = false;
    // For each marker, the offset of the second byte the block scan compares (its last byte, within
    // the buffer's slack).
    std::vector<size_t> m_markerLast;
    // The first and last compared byte of the first markers, each repeated across a vector register.
    static constexpr size_t kVecMarkers = 8;
    char m_firstVec[kVecMarkers][16] = {};
    char m_lastVec[kVecMarkers][16] = {};
};

// The number of lines of a text file as the reader delivers them; 0 when it is missing or unreadable.
LONG CountFileLines(LPCTSTR path);

// The line count of a log for a progress bar, without holding up the pass that reads it: a log of up
// to kSyncLines lines is counted at once, exactly as CountFileLines counts; a longer one on a thread of
// its own, with an estimate from its first blocks until that count arrives.
class LineCountAhead {
public:
    static constexpr long kSyncLines = 100000;
    explicit LineCountAhead(LPCTSTR path);
    ~LineCountAhead();  // stops a count still running
    LineCountAhead(const LineCountAhead&) = delete;
    LineCountAhead& operator=(const LineCountAhead&) = delete;

    // The exact count once known, the estimate before.
    LONG Total() const { return m_total; }
    bool Exact() const { return m_exact; }
    // TRUE once, when the thread's count has arrived: Total is then exact.
    bool Arrived();

private:
    LONG m_total = 0;
    bool m_exact = true;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_counted{false};
    std::atomic<LONG> m_count{0};
    std::thread m_thread;
};
