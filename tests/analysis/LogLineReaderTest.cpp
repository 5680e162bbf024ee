#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "analysis/LogLineReader.h"

namespace {
class TempFile {
public:
    explicit TempFile(const std::string& content) {
        char name[] = "/tmp/veltrin_reader_XXXXXX";
        int fd = mkstemp(name);
        path_ = name;
        if (fd >= 0) {
            ssize_t n = write(fd, content.data(), content.size());
            (void)n;
            close(fd);
        }
    }
    ~TempFile() { unlink(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

std::vector<std::string> ReadAll(const char* path, long* lastNumber = nullptr, std::string* term = nullptr) {
    LogLineReader reader;
    std::vector<std::string> lines;
    if (!reader.Open(path))
        return {"<open failed>"};
    std::string_view line;
    long expected = 0;
    while (reader.NextLine(line)) {
        lines.emplace_back(line);
        EXPECT_EQ(reader.GetLineNumber(), ++expected);
    }
    EXPECT_EQ(reader.GetStatus(), LogLineReader::EndOfFile);
    if (lastNumber)
        *lastNumber = reader.GetLineNumber();
    if (term)
        *term = reader.GetTerminator();
    return lines;
}
}  // namespace

TEST(LogLineReader, DeliversExactlyTheLinesOfEachTerminatorCase) {
    std::string longLine(300000, 'L');                    // longer than any read block
    std::string noLfStart(9000, 'x');                     // no line feed in the first 8,192 bytes
    std::string exact = std::string(8190, 'e') + "\r\n";  // exactly 8,192 bytes
    struct Case {
        const char* name;
        std::string content;
        std::string terminator;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "a\r\nbb\r\n", "\r\n", {"a", "bb"}},
        {"lf", "a\nbb\n\nc\n", "\n", {"a", "bb", "", "c"}},
        {"lf cr", "a\n\rbb\n\r", "\n\r", {"a", "bb"}},
        {"lf at end of first block",
         std::string(8191, 'z') + "\n" + "\rq\n",
         "\n",
         {std::string(8191, 'z'), "\rq"}},
        {"no lf in first block", noLfStart + "\r\ny\r\n", "\r\n", {noLfStart, "y"}},
        {"no lf in first block, lf lines after", noLfStart + "\nA\n", "\r\n", {}},
        {"cr cr lf breaks the match", std::string("a\r\r\nb\r\n"), "\r\n", {"a\r\r\nb"}},
        {"long line", longLine + "\r\nend\r\n", "\r\n", {longLine, "end"}},
        {"exactly 8192 bytes", exact, "\r\n", {std::string(8190, 'e')}},
        {"unterminated tail is not a line", "one\r\ntwo", "\r\n", {"one"}},
        {"empty lines", "\r\n\r\nx\r\n\r\n", "\r\n", {"", "", "x", ""}},
        {"empty file", "", "\r\n", {}},
        {"binary bytes", std::string("a\0b\r\n\xff\r\n", 8), "\r\n", {std::string("a\0b", 3), "\xff"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile f(c.content);
        std::string term;
        long last = 0;
        EXPECT_EQ(ReadAll(f.path(), &last, &term), c.lines);
        EXPECT_EQ(term, c.terminator);
        EXPECT_EQ(last, (long)c.lines.size());
        EXPECT_EQ(CountFileLines(f.path()), (LONG)c.lines.size());
    }
}

TEST(LogLineReader, TerminatorSplitAcrossReadBlocks) {
    // The CR of a CR LF falls on the last byte of a 256 KiB read and its LF on the next read.
    std::string first(256 * 1024 - 1, 'a');
    TempFile f("x\r\n" + first.substr(3) + "\r\nnext\r\n");
    auto lines = ReadAll(f.path());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), first.size() - 3);
    EXPECT_EQ(lines[2], "next");
}

TEST(LogLineReader, StopsAtOnceWhenTheContinueFlagIsCleared) {
    std::string content;
    for (int i = 0; i < 1000; ++i)
        content += "line " + std::to_string(i) + "\r\n";
    TempFile f(content);
    BOOL keepGoing = TRUE;
    LogLineReader reader(&keepGoing);
    ASSERT_TRUE(reader.Open(f.path()));
    std::string_view line;
    int delivered = 0;
    while (reader.NextLine(line)) {
        if (++delivered == 3)
            keepGoing = FALSE;
    }
    EXPECT_EQ(delivered, 3);
    EXPECT_EQ(reader.GetStatus(), LogLineReader::Stopped);
}

TEST(LogLineReader, OpenFailuresAreReportedNotHung) {
    LogLineReader reader;
    EXPECT_FALSE(reader.Open("/nonexistent/file.log"));
    EXPECT_EQ(reader.GetStatus(), LogLineReader::OpenFailed);
    EXPECT_FALSE(reader.Open("/tmp"));  // a folder
    std::string fifo = "/tmp/veltrin_reader_fifo_" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(reader.Open(fifo.c_str()));  // a FIFO must not block the pass
    unlink(fifo.c_str());
    EXPECT_EQ(CountFileLines("/nonexistent/file.log"), 0);
    std::string_view line;
    EXPECT_FALSE(reader.NextLine(line));
}

TEST(LogLineReader, CountAheadIsExactAtOnceForShortLogsAndArrivesLaterForLongOnes) {
    const long lines[] = {0, 5, LineCountAhead::kSyncLines, LineCountAhead::kSyncLines * 3 + 7};
    for (long n : lines) {
        std::string text;
        for (long i = 0; i < n; ++i)
            text += i % 3 ? "a line\r\n" : "a somewhat longer line of the log\r\n";
        text += "tail without terminator";
        TempFile file(text);
        LineCountAhead count(file.path());
        SCOPED_TRACE(n);
        if (n <= LineCountAhead::kSyncLines) {
            EXPECT_TRUE(count.Exact());
            EXPECT_EQ(count.Total(), n);
            EXPECT_FALSE(count.Arrived());  // nothing arrives later
            continue;
        }
        EXPECT_FALSE(count.Exact());
        EXPECT_GT(count.Total(), LineCountAhead::kSyncLines);  // the estimate keeps the 1,000-line step
        while (!count.Arrived())
            std::this_thread::yield();
        EXPECT_TRUE(count.Exact());
        EXPECT_EQ(count.Total(), n);
        EXPECT_EQ(count.Total(), CountFileLines(file.path()));
    }
    LineCountAhead missing("/nonexistent/file.log");
    EXPECT_EQ(missing.Total(), 0);
    EXPECT_TRUE(missing.Exact());
    {
        std::string text;
        for (long i = 0; i < LineCountAhead::kSyncLines * 4; ++i)
            text += "x\n";
        TempFile file(text);
        LineCountAhead abandoned(file.path());  // destroyed while counting: stops and joins
    }
}

TEST(LogLineReader, CountingAgreesWithReadingOnRandomTerminatorRuns) {
    // Runs of CR and LF in every order, across 64 KiB read blocks, for each terminator the first line picks.
    std::mt19937 rng(12345);
    const char* firstLines[] = {"head\r\n", "head\n", "head\n\r"};
    for (const char* first : firstLines) {
        for (int round = 0; round < 4; ++round) {
            std::string content = first;
            // Dense runs of CR and LF in the first rounds; later rounds mostly text with whole terminators
            // and a stray CR or LF now and then.
            const int spread = round < 2 ? 10 : 400;
            while (content.size() < 200000) {
                int r = (int)(rng() % (unsigned)spread);
                if (r < spread - 4)
                    content += r % 40 == 0 ? std::string(first + 4) : std::string("a");
                else
                    content += r % 2 ? '\r' : '\n';
            }
            TempFile f(content);
            LogLineReader reader;
            ASSERT_TRUE(reader.Open(f.path()));
            std::string_view line;
            while (reader.NextLine(line)) {
            }
            SCOPED_TRACE(round);
            EXPECT_EQ(CountFileLines(f.path()), (LONG)reader.GetLineNumber());
        }
    }
}

TEST(LogLineReader, AnOverlongLineKeepsItsStartAndTheNextLinesFollow) {
    // The CR of the overlong line's CR LF is the last byte of a read block, after the kept part is full.
    const size_t longLength = 65536 * 1025 - 1;
    ASSERT_GT(longLength, LogLineReader::kMaxLine);
    TempFile f(std::string(longLength, 'x') + "\r\nnext\r\n");
    LogLineReader reader;
    ASSERT_TRUE(reader.Open(f.path()));
    std::string_view line;
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line.size(), LogLineReader::kMaxLine);
    EXPECT_EQ(line.find_first_not_of('x'), std::string_view::npos);
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line, "next");
    EXPECT_EQ(reader.GetLineNumber(), 2);
    EXPECT_EQ(CountFileLines(f.path()), 2);
}

namespace {
// The reading rule byte by byte, as the log format defines it: the reference for the block scanner.
std::vector<std::string> ReferenceLines(const std::string& content) {
    std::string term = LogLineReader::ChooseTerminator(content.data(), content.size());
    std::vector<std::string> lines;
    std::string line;
    size_t matched = 0;
    for (char c : content) {
        line += c;
        if (c == term[matched]) {
            if (++matched == term.size()) {
                line.resize(line.size() - term.size());
                lines.push_back(line);
                line.clear();
                matched = 0;
            }
        } else {
            matched = 0;  // the byte stays in the line and is not tested as a first byte
        }
    }
    return lines;
}
}  // namespace

TEST(LogLineReader, DeliversWhatTheByteByByteRuleDelivers) {
    std::mt19937 rng(987);
    const char* firstLines[] = {"head\r\n", "head\n", "head\n\r"};
    for (const char* first : firstLines) {
        for (int round = 0; round < 3; ++round) {
            // Mostly text with terminators, stray CR and LF, and sizes around the 64 KiB read blocks.
            std::string content = first;
            size_t size = 65536 * (1 + round) + (rng() % 130) - 65;
            while (content.size() < size) {
                unsigned r = rng() % 100;
                if (r < 80)
                    content += (char)('a' + r % 26);
                else if (r < 92)
                    content += first + 4;
                else
                    content += r % 2 ? '\r' : '\n';
            }
            TempFile f(content);
            LogLineReader reader;
            ASSERT_TRUE(reader.Open(f.path()));
            std::vector<std::string> lines;
            std::string_view line;
            while (reader.NextLine(line))
                lines.emplace_back(line);
            SCOPED_TRACE(std::string(first) + " round " + std::to_string(round));
            EXPECT_EQ(lines, ReferenceLines(content));
        }
    }
}

namespace {
struct NumberedLine {
    long number;
    std::string text;
    uint32_t holds = 0;  // bit i: the line holds marker i
    bool operator==(const NumberedLine&) const = default;
};
void PrintTo(const NumberedLine& l, std::ostream* os) {
    *os << l.number << " (" << l.holds << "): " << l.text.substr(0, 60);
}
}  // namespace

namespace {
// Every line with its number, read one by one and tested against the markers; the stop lines (every
// 1,000th) too, and the last number.
std::vector<NumberedLine> PerLineHits(const char* path, const std::vector<std::string>& markers) {
    std::vector<NumberedLine> expected;
    LogLineReader reader;
    if (!reader.Open(path))
        return {{0, "<open failed>"}};
    std::string_view line;
    while (reader.NextLine(line)) {
        uint32_t holds = 0;
        for (size_t i = 0; i < markers.size(); ++i)
            if (line.find(markers[i]) != std::string_view::npos)
                holds |= 1u << i;
        if (holds || reader.GetLineNumber() % 1000 == 0)
            expected.push_back({reader.GetLineNumber(), std::string(line), holds});
    }
    expected.push_back({reader.GetLineNumber(), "<end>"});
    return expected;
}

// What the hit-line scan delivers, with a stop line every 1,000 lines; with `classify` the markers each
// line holds are found with the scan.
std::vector<NumberedLine> ScannedHits(const char* path, const std::vector<std::string>& markers, bool readAhead,
                                      bool classify = false) {
    std::vector<NumberedLine> scanned;
    LogLineReader reader;
    reader.SetReadAhead(readAhead);
    reader.SetMarkers(markers, classify);
    if (!reader.Open(path))
        return {{0, "<open failed>"}};
    std::string_view line;
    long stopAt = 1000;
    while (reader.NextHitLine(line, stopAt)) {
        scanned.push_back({reader.GetLineNumber(), std::string(line), reader.LineMarkers()});
        if (reader.GetLineNumber() == stopAt)
            stopAt += 1000;
    }
    EXPECT_EQ(reader.GetStatus(), LogLineReader::EndOfFile);
    scanned.push_back({reader.GetLineNumber(), "<end>"});
    return scanned;
}
}  // namespace

TEST(LogLineReader, HitLineScanDeliversWhatPerLineTestingDelivers) {
    // Generated logs with every marker of the passes, CR and LF mixed in, tabs, markers across read
    // block edges and lines longer than a block; the scan must pick the same lines with the same
    // numbers as reading every line and testing it, and the stop line must come too. One marker, a few
    // and many take different scanning paths.
    const std::vector<std::vector<std::string>> markerSets = {
        {"End"},
        {"| Start", "-- START:", "**** SQL ", "TRANSACTION TIME"},
        {"| Start", "| End", "-- START:", "-- END:", "**** SQL ", "TRANSACTION TIME", "Start", "End"}};
    const std::vector<std::string> pieces = {"| Start ",
                                             "| End ",
                                             "-- START: x",
                                             "-- END:",
                                             "**** SQL Milliseconds: 12",
                                             "TRANSACTION TIME: 5",
                                             "\t",
                                             "|\tStart",
                                             "-- START",
                                             "TRANSACTION TIM",
                                             "| En",
                                             "\r",
                                             "\n"};
    std::mt19937 rng(4242);
    const char* firstLines[] = {"head\r\n", "head\n", "head\n\r"};
    for (const char* first : firstLines) {
        std::string content = first;
        const size_t size = 65536 * 5 + rng() % 4000;
        while (content.size() < size) {
            unsigned r = rng() % 2000;
            if (r < 1400)
                content += (char)('a' + r % 26);
            else if (r < 1700)
                content += first + 4;
            else if (r < 1998)
                content += pieces[r % pieces.size()];
            else  // a line longer than a read block, with a marker at its far end now and then
                content += std::string(70000 + rng() % 200, 'w') + (r % 2 ? "| End" : "");
        }
        // A marker laid across the edge of the first read block.
        content.replace(65536 - 4, 9, "-- START:");
        TempFile f(content);

        for (const std::vector<std::string>& markers : markerSets) {
            const std::vector<NumberedLine> expected = PerLineHits(f.path(), markers);
            SCOPED_TRACE(std::string(first) + " with " + std::to_string(markers.size()) + " markers");
            ASSERT_GT(expected.size(), 20u);
            EXPECT_EQ(ScannedHits(f.path(), markers, false), expected);
            EXPECT_EQ(ScannedHits(f.path(), markers, true), expected);  // blocks scanned ahead
            EXPECT_EQ(ScannedHits(f.path(), markers, true, true), expected);
        }
    }
}

TEST(LogLineReader, ReadAheadDeliversWhatTheReaderDeliversAtEveryBlockEdge) {
    // Terminators and markers at and across each edge of the read-ahead blocks, in every position
    // around it, for each terminator; read ahead the lines, numbers, hits and counts are the reader's.
    const std::vector<std::string> markers = {"| End", "-- START:"};
    const char* terms[] = {"\r\n", "\n", "\n\r"};
    std::mt19937 rng(77);
    for (const char* term : terms) {
        std::string content = std::string("head") + term;
        const size_t edges = 12;
        while (content.size() < LogLineReader::kBlockSize + LogLineReader::kAheadBlockSize * edges) {
            unsigned r = rng() % 100;
            content += r < 30 ? "| End x" : r < 40 ? "-- START: y" : std::string(rng() % 60, 'a');
            content += term;
        }
        for (size_t k = 1; k < edges; ++k) {
            const size_t edge = LogLineReader::kBlockSize + LogLineReader::kAheadBlockSize * (k - 1);
            const size_t at = edge - 3 + k % 6;  // a terminator from 3 bytes before to 2 after the edge
            content.replace(at, std::strlen(term), term);
            if (k % 4 == 0)
                content.replace(at + std::strlen(term), 5, "| End");  // a hit line that begins there
            if (k % 4 == 1)
                content.replace(edge - 2, 5, "| End");  // a marker across the edge
        }
        TempFile f(content);
        SCOPED_TRACE(std::string("terminator length ") + std::to_string(std::strlen(term)));
        EXPECT_EQ(ScannedHits(f.path(), markers, true, true), PerLineHits(f.path(), markers));
        LogLineReader reader;
        reader.SetReadAhead(true);
        ASSERT_TRUE(reader.Open(f.path()));
        std::vector<std::string> lines;
        std::string_view line;
        while (lines.size() < 5000 && reader.NextLine(line))
            lines.emplace_back(line);
        const long counted = reader.CountRemainingLines();
        EXPECT_EQ(reader.GetLineNumber(), (long)lines.size() + counted);
        EXPECT_EQ(reader.GetLineNumber(), CountFileLines(f.path()));
        const std::vector<std::string> reference = ReferenceLines(content);
        ASSERT_GE(reference.size(), lines.size());
        EXPECT_TRUE(std::equal(lines.begin(), lines.end(), reference.begin()));
    }
}

TEST(LogLineReader, ReadAheadStopsOnCancelAndWhenClosedEarly) {
    std::string content;
    for (int i = 0; i < 200000; ++i)
        content += "line " + std::to_string(i) + (i % 7 ? "\r\n" : " | End\r\n");
    TempFile f(content);
    BOOL go = TRUE;
    {
        LogLineReader reader(&go);
        reader.SetReadAhead(true);
        reader.SetMarkers({"| End"});
        ASSERT_TRUE(reader.Open(f.path()));
        std::string_view line;
        long hits = 0;
        while (reader.NextHitLine(line))
            if (++hits == 20000)
                go = FALSE;
        EXPECT_EQ(hits, 20000);
        EXPECT_EQ(reader.GetStatus(), LogLineReader::Stopped);
        EXPECT_EQ(reader.GetLineNumber(), 7 * 19999 + 1);
    }
    // Closed (and opened again) while the threads are still reading ahead: they end, nothing hangs.
    LogLineReader reader;
    reader.SetReadAhead(true);
    ASSERT_TRUE(reader.Open(f.path()));
    ASSERT_TRUE(reader.Open(f.path()));
    std::string_view line;
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line, "line 0 | End");
    reader.Close();
}

TEST(LogLineReader, HitLineScanStopsWhenTheContinueFlagIsCleared) {
    BOOL go = TRUE;
    TempFile f("a\r\n| End\r\nb\r\n| End\r\n");
    LogLineReader reader(&go);
    reader.SetMarkers({"| End"});
    ASSERT_TRUE(reader.Open(f.path()));
    std::string_view line;
    ASSERT_TRUE(reader.NextHitLine(line));
    EXPECT_EQ(reader.GetLineNumber(), 2);
    go = FALSE;
    EXPECT_FALSE(reader.NextHitLine(line));
    EXPECT_EQ(reader.GetStatus(), LogLineReader::Stopped);
}
