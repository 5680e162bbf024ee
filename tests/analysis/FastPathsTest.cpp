#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "analysis/ExpandedLine.h"
#include "analysis/LineTokens.h"
#include "analysis/LogLineReader.h"
#include "analysis/ReportFormat.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/TextHelpers.h"

namespace {
void WriteFileBytes(const char* path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
}  // namespace

// The fast paths must give what ExpandTabs and a plain search give, whatever the bytes.
TEST(FastPaths, MatchesThePlainFunctionsOnRandomLines) {
    std::mt19937 rng(11);
    const char alphabet[] = {'a', '-', ' ', '|', '\t', '\0', '\x7f', '\x80', '\xff', 'S', 'E', '\r'};
    CExpandedLine expander;
    for (int round = 0; round < 3000; ++round) {
        std::string line(rng() % 200, ' ');
        const unsigned rare = 2 + round % 40;  // from mostly special bytes to long plain runs
        for (char& c : line)
            c = rng() % rare ? (char)('a' + rng() % 3) : alphabet[rng() % sizeof alphabet];
        CString expected(line);
        ExpandTabs(expected);
        ASSERT_EQ(std::string(expander.Expand(line)), expected.str());
        for (std::string_view needle : {"--", "| E", "a", "aa-", "\x80"}) {
            ASSERT_EQ(FindText(line, needle), std::string_view(line).find(needle)) << round;
            ASSERT_EQ(FindText(line, needle, 3), std::string_view(line).find(needle, 3)) << round;
        }
    }
}

TEST(FastPaths, TokensReadPastTheEndAsEmpty) {
    CLineTokens t;
    EXPECT_EQ(t.Split("  a | b||c  ", " |"), 3);
    EXPECT_EQ(t[0], "a");
    EXPECT_EQ(t[2], "c");
    EXPECT_EQ(t[3], "");
    EXPECT_EQ(t[-1], "");
    EXPECT_EQ(t.EndOf(1), 7u);
    EXPECT_EQ(t.Split("a b c d e f", " ", 4), 4);
    EXPECT_EQ(t.EndOf(3), 7u);
    EXPECT_EQ(t.Split("", " "), 0);
}

// The tokens are the ones a byte-by-byte walk finds, across 64-byte blocks and at any limit.
TEST(FastPaths, TokensMatchAByteWalk) {
    std::mt19937 rng(17);
    const char alphabet[] = {'a', 'b', ' ', '|', '\t', '\0', '\xff'};
    const std::string_view delimiterSets[] = {" ", " |", std::string_view("\0\t", 2), "\xff", ""};
    CLineTokens tokens;
    for (int round = 0; round < 4000; ++round) {
        std::string line(rng() % 300, 'a');
        const unsigned rare = 2 + round % 30;
        for (char& c : line)
            if (rng() % rare == 0)
                c = alphabet[rng() % sizeof alphabet];
        const std::string_view delimiters = delimiterSets[round % 5];
        const int limit = (int)(rng() % 20) - 1;
        std::vector<std::string_view> expected;
        for (size_t i = 0;
             i < line.size() && (int)expected.size() < std::min(limit, CLineTokens::kMaxTokens);) {
            if (delimiters.find(line[i]) != std::string_view::npos) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < line.size() && delimiters.find(line[end]) == std::string_view::npos)
                ++end;
            expected.push_back(std::string_view(line).substr(i, end - i));
            i = end;
        }
        ASSERT_EQ(tokens.Split(line, delimiters, limit), (int)expected.size()) << round;
        for (size_t k = 0; k < expected.size(); ++k) {
            ASSERT_EQ(tokens[(int)k], expected[k]) << round;
            ASSERT_EQ(tokens.EndOf((int)k), (size_t)(expected[k].data() - line.data()) + expected[k].size());
        }
    }
}

// The masks and the pair walk find what a byte walk finds, over texts held in buffers of their exact
// size (so that a load past either end of the text is an address-sanitizer error).
TEST(FastPaths, ByteMasksAndPairsMatchAByteWalk) {
    std::mt19937 rng(23);
    const char alphabet[] = {'-', '-', ' ', 'a', '\t', '\0'};
    for (int round = 0; round < 3000; ++round) {
        const size_t size = rng() % 200;
        std::unique_ptr<char[]> bytes(new char[size ? size : 1]);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = alphabet[rng() % sizeof alphabet];
        const std::string_view text(bytes.get(), size);
        for (size_t from = 0; from < size + 70; from += 1 + rng() % 40) {
            for (std::string_view set :
                 {std::string_view("-"), std::string_view(" \t", 2), std::string_view("\0", 1)}) {
                uint64_t expected = 0;
                for (size_t i = 0; i < 64 && from + i < size; ++i)
                    if (set.find(text[from + i]) != std::string_view::npos)
                        expected |= 1ull << i;
                ASSERT_EQ(ByteMask64(text, from, set), expected) << round << " " << from;
            }
        }
        std::vector<size_t> pairs, expected;
        ForEachPair(text, '-', ' ', [&](size_t at) {
            pairs.push_back(at);
            return true;
        });
        for (size_t at = text.find("- "); at != std::string_view::npos; at = text.find("- ", at + 1))
            expected.push_back(at);
        ASSERT_EQ(pairs, expected) << round;
        pairs.clear();
        ForEachPair(text, '-', '-', [&](size_t at) {
            pairs.push_back(at);
            return pairs.size() < 2;  // the walk stops when told to
        });
        expected.clear();
        for (size_t at = text.find("--"); at != std::string_view::npos && expected.size() < 2;
             at = text.find("--", at + 1))
            expected.push_back(at);
        ASSERT_EQ(pairs, expected) << round;
    }
}

// The line count is the number of lines the reader delivers, whatever the bytes and the read sizes.
TEST(FastPaths, CountFileLinesAgreesWithTheReader) {
    std::mt19937 rng(5);
    char path[] = "/tmp/veltrin_count_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    const size_t sizes[] = {0,     1, 2, 3, 100, 8191, 8192, 8193, 256 * 1024 - 1, 256 * 1024, 256 * 1024 + 1,
                            600000};
    const char* heads[] = {"a\r\n", "a\n\r", "a\n", "aaaa"};  // picks each terminator
    for (size_t size : sizes) {
        for (const char* head : heads) {
            for (unsigned stray : {8u, 2000u}) {  // many stray terminator bytes, or lines with a few
                std::string bytes = std::string(head).substr(0, size);
                const std::string term =
                    std::string(head).substr(1, 2) == "aa" ? "\n" : std::string(head).substr(1);
                while (bytes.size() < size) {
                    unsigned r = rng() % stray;
                    if (r == 0)
                        bytes += '\r';
                    else if (r == 1)
                        bytes += '\n';
                    else if (r < 8)
                        bytes += term;
                    else
                        bytes += 'x';
                }
                bytes.resize(size);
                WriteFileBytes(path, bytes);
                LogLineReader reader;
                std::string_view line;
                long delivered = 0;
                if (reader.Open(path))
                    while (reader.NextLine(line))
                        ++delivered;
                ASSERT_EQ(CountFileLines(path), delivered) << size << " " << head << " " << stray;
            }
        }
    }
    unlink(path);
}

// The cheap test before expanding never says no to a line whose expanded form holds the marker.
TEST(FastPaths, BarWordTestNeverMissesAMarker) {
    std::mt19937 rng(3);
    const char* pieces[] = {"|", " ", "\t", "Start", "End", "Sta", "x", "\x01", "| Start ", "|\tEnd "};
    CExpandedLine expander;
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        for (int k = rng() % 12; k > 0; --k)
            line += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        std::string_view expanded = expander.Expand(line);
        bool start = HasText(expanded, "| Start");
        bool end = HasText(expanded, "| End");
        if (start || end) {
            ASSERT_TRUE(CExpandedLine::MayHoldBarWord(line, "Start", "End")) << line;
        }
        if (end) {
            ASSERT_TRUE(CExpandedLine::MayHoldBarWord(line, "End")) << line;
        }
        ASSERT_EQ((bool)CExpandedLine::MayHoldBarWord(line, "Start"), [&] {
            for (size_t p = line.find('|'); p != std::string::npos; p = line.find('|', p + 1))
                if (line.compare(p + std::min<size_t>(2, line.size() - p), 5, "Start") == 0)
                    return true;
            return false;
        }()) << line;
    }
}

// Report lines built without printf are the bytes printf and a text-mode file give.
TEST(FastPaths, ReportLinesMatchPrintf) {
    const char* format = "%-27s  %-10s  %-13s %s\n";
    const char* fields[][4] = {{"f.log", "12", "08:00:00 PM", "SELECT 1"},
                               {"", "", "", ""},
                               {"a-file-name-longer-than-twenty-seven.log", "12345678901", "x", "tail"}};
    for (const auto& f : fields) {
        std::string line;
        AppendReportLine(line, format, {f[0], f[1], f[2], f[3]});
        std::string expected = FormatString(format, f[0], f[1], f[2], f[3]);
        expected.insert(expected.size() - 1, "\r");
        EXPECT_EQ(line, expected);
    }
    std::string line;
    AppendReportLine(line, "%s|%-4s|%s", {std::string_view("a\0b", 3)});
    EXPECT_EQ(line, "a|    |");  // a field stops at a NUL; a missing field is empty
}

// A parsed layout writes what the format walked on every line writes, appended to what is there.
TEST(FastPaths, ReportLayoutMatchesTheFormatWalk) {
    const char* formats[] = {
        "%-27s  %-10s  %-13s %s\n", "%s|%-4s|%s", "\n%5s%%x%-3d%s\nend\n", "%-2s%", "plain", ""};
    const std::string_view fields[][4] = {
        {"f.log", "12", "08:00:00 PM", "SELECT 1"},
        {"", "", "", ""},
        {"a-name-longer-than-27-bytes-at-least.log", "123456789012", "x", "t"},
        {std::string_view("a\0b", 3), "\t", "\n", std::string_view("\0", 1)}};
    for (const char* format : formats) {
        const CReportLayout layout(format);
        for (const auto& f : fields) {
            std::string walked = "before|", laid = "before|";
            AppendReportLine(walked, format, {f[0], f[1], f[2], f[3]});
            layout.Append(laid, {f[0], f[1], f[2], f[3]});
            EXPECT_EQ(laid, walked) << format;
            walked.resize(7);
            laid.resize(7);
            AppendReportLine(walked, format, {f[0]});
            layout.Append(laid, {f[0]});
            EXPECT_EQ(laid, walked) << format;
        }
    }
    std::string line;
    CReportLayout("%5s|%-5s|\n").Append(line, {"ab", "cd"});
    EXPECT_EQ(line, "   ab|cd   |\r\n");
}

namespace {
// The time arithmetic as first written, with printf and atol, to compare the faster one with.
double ReferenceParse(const char* stampText) {
    std::string stamp(stampText);
    auto field = [&](size_t pos, size_t len) -> long {
        return pos >= stamp.size() ? 0 : std::atol(stamp.substr(pos, len).c_str());
    };
    long month = field(5, 2), day = field(8, 2), hour = field(11, 2), minute = field(14, 2),
         second = field(17, 2);
    long millis = 0;
    if (stamp.size() >= 21) {
        std::string frac = stamp.substr(20);
        while (!frac.empty() && frac.back() == ' ')
            frac.pop_back();
        millis = std::atol(frac.c_str());
    }
    int feb = CVeltrinAnalysis::IsLeapYear(stamp.substr(0, 4).c_str()) ? 29 : 28;
    static const int before[13] = {0, 0, 31, 31, 62, 92, 123, 153, 184, 215, 245, 276, 306};
    long dayOfYear = month >= 1 && month <= 12 ? day + before[month] + (month >= 3 ? feb : 0) : 0;
    return (double)hour * 3600000.0 + (double)dayOfYear * 86400000.0 + (double)minute * 60000.0 +
           (double)second * 1000.0 + (double)millis;
}
}  // namespace

TEST(FastPaths, TimeArithmeticAgreesWithPrintfAndAtol) {
    std::mt19937 rng(9);
    const char chars[] = "0123456789 -+/:.\tPMx";
    const char* stamps[] = {"2023/05/01 08:00:00.123", "2024-02-29 23:59:59.999  ", "2023/05/01 01:00:00 PM",
                            "2023-05-01 08:00:00.99999999999999999999", " 2023- 5-+1 -8:00:00.-12"};
    for (const char* s : stamps)
        EXPECT_DOUBLE_EQ(CVeltrinAnalysis::ParseLogTimeMs(s), ReferenceParse(s)) << s;
    for (int round = 0; round < 20000; ++round) {
        std::string stamp = "2023/05/01 08:00:00.000";
        stamp.resize(rng() % 30, '0');
        for (int k = rng() % 4; k > 0; --k)
            if (!stamp.empty())
                stamp[rng() % stamp.size()] = chars[rng() % (sizeof chars - 1)];
        ASSERT_DOUBLE_EQ(CVeltrinAnalysis::ParseLogTimeMs(stamp.c_str()), ReferenceParse(stamp.c_str()))
            << stamp;
    }
    for (int32_t ms : {0, 1, 9, 10, 59999, 3723004, -1, -5, -12, -3723004, INT32_MAX, INT32_MIN}) {
        int32_t h = ms / 3600000, rest = ms - h * 3600000;
        EXPECT_EQ(CVeltrinAnalysis::FormatElapsedMs(ms).str(),
                  FormatString("%02d:%02d:%02d (%d msec)", h, rest / 60000, (rest % 60000) / 1000, ms));
    }
}
