#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "sifter/FileFinder.h"
#include "tests/platform/base/DeepTree.h"
#include "tests/support/TempFolder.h"

namespace {
void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

void SetTimes(const std::string& path, time_t accessed, time_t modified) {
    struct timespec times[2] = {{accessed, 0}, {modified, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// A tree with nested folders, a FIFO, a link loop, an unreadable folder, boundary sizes, NUL bytes, a
// needle across the read boundary and names for several masks.
class FinderTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = tmp_.Path() + "/";
        for (const char* dir : {"Alpha", "Alpha/deep", "beta", "locked"})
            ::mkdir((root + dir).c_str(), 0755);
        WriteFile(root + "Alpha/deep/d1.log", "some ERROR text\n");
        WriteFile(root + "Alpha/a1.log", "alpha only\n");
        ASSERT_EQ(::symlink("..", (root + "Alpha/loop").c_str()), 0);
        WriteFile(root + "beta/b1.txt", "Error and beta\n");
        ASSERT_EQ(::mkfifo((root + "beta/fifo.log").c_str(), 0644), 0);
        WriteFile(root + "locked/l1.log", "error\n");
        WriteFile(root + ".log", "hidden error\n");
        WriteFile(root + "a.log", "Error: disk full\nalpha beta\n");
        WriteFile(root + "b.TXT", "nothing\n");
        WriteFile(root + "c.txt", "ERROR at start\n");
        WriteFile(root + "exact1024.dat", std::string(1024, 'x'));
        WriteFile(root + "exact2048.dat", std::string(2048, 'x'));
        WriteFile(root + "size1023.dat", std::string(1023, 'x'));
        WriteFile(root + "size2049.dat", std::string(2049, 'x'));
        WriteFile(root + "nul.bin", std::string("E\0R\0R\0", 6));
        std::string straddle(CFileFinder::kReadBlock + 100, '.');
        straddle.replace(CFileFinder::kReadBlock - 3, 6, "NEEDLE");
        WriteFile(root + "straddle.log", straddle);
        ASSERT_EQ(::symlink("a.log", (root + "link.log").c_str()), 0);
        ::chmod((root + "locked").c_str(), 0);
        // chmod does not keep the superuser out.
        DIR* d = ::opendir((root + "locked").c_str());
        lockedReadable = d != nullptr;
        if (d)
            ::closedir(d);
    }
    void TearDown() override {
        ::chmod((root + "locked").c_str(), 0755);
        EXPECT_TRUE(TempFolder::RemoveTree(tmp_.Path()));
    }

    // Names of the files found, relative to the root.
    std::vector<std::string> Run(CFindOptions options) {
        options.sBaseFolder = root.substr(0, root.size() - 1).c_str();  // the search adds the '/'
        finder.RemoveAll();
        finder.Search(&options);
        EXPECT_EQ(options.sBaseFolder, root.c_str());
        std::vector<std::string> names;
        for (int i = 0; i < finder.GetFileCount(); ++i) {
            std::string path = finder.GetFilePath(i).GetFullPath().str();
            EXPECT_EQ(path.rfind(root, 0), 0u) << path;
            names.push_back(path.substr(root.size()));
        }
        return names;
    }
    static CFindOptions Options(const char* masks, bool sub, DWORD flags = 0, const char* text = "") {
        CFindOptions o;
        o.sFileMask = masks;
        o.bSubfolders = sub;
        o.dwOptionsFlags = flags;
        o.sFindText = text;
        return o;
    }
    std::vector<std::string> WithLocked(std::vector<std::string> names, const char* lockedName) {
        if (!lockedReadable)
            names.erase(std::find(names.begin(), names.end(), lockedName));
        return names;
    }

    TempFolder tmp_{"veltrin_finder"};
    std::string root;
    bool lockedReadable = false;
    CFileFinder finder;
};

using Names = std::vector<std::string>;
const Names kRootFiles{".log",          "a.log",         "b.TXT",       "c.txt",
                       "exact1024.dat", "exact2048.dat", "link.log",    "nul.bin",
                       "size1023.dat",  "size2049.dat",  "straddle.log"};
}  // namespace

TEST_F(FinderTree, ListsSubFoldersFirstInNameOrderAndSkipsWhatCannotBeRead) {
    Names expected{"Alpha/deep/d1.log", "Alpha/a1.log", "beta/b1.txt", "locked/l1.log"};
    expected.insert(expected.end(), kRootFiles.begin(), kRootFiles.end());
    EXPECT_EQ(Run(Options("*.*", true)), WithLocked(expected, "locked/l1.log"));
    EXPECT_EQ(Run(Options("*.*", false)), kRootFiles);

    CFindOptions missing = Options("*.*", true);
    missing.sBaseFolder = (root + "nowhere").c_str();
    finder.RemoveAll();
    EXPECT_EQ(finder.Search(&missing), 0);
}

TEST_F(FinderTree, ReportsAFileOnceForEachMaskItMatches) {
    // The first token is taken as written (".log" is that name); later ".txt" means "*.txt".
    EXPECT_EQ(Run(Options(".log,.txt;b*", false)), (Names{".log", "b.TXT", "c.txt", "b.TXT"}));
    EXPECT_EQ(Run(Options("*.LOG  *.dat", false)),
              (Names{".log", "a.log", "link.log", "straddle.log", "exact1024.dat", "exact2048.dat",
                     "size1023.dat", "size2049.dat"}));
    EXPECT_EQ(Run(Options("size????.dat", false)), (Names{"size1023.dat", "size2049.dat"}));
    EXPECT_EQ(Run(Options("", false)), Names{});
}

TEST_F(FinderTree, SizeAndDateRanges) {
    CFindOptions size = Options("*.*", true, FIND_SIZE);
    size.nMinSize = 1024;
    size.nMaxSize = 2048;
    EXPECT_EQ(Run(size), (Names{"exact1024.dat", "exact2048.dat"}));

    const time_t y2011 = CTime(2011, 6, 1, 12, 0, 0).GetTime();
    SetTimes(root + "a.log", time(nullptr), y2011);
    SetTimes(root + "beta/b1.txt", time(nullptr), y2011 + 86400);
    SetTimes(root + "c.txt", CTime(2009, 1, 1, 0, 0, 0).GetTime(), time(nullptr));
    CFindOptions modified = Options("*.*", true, FIND_DATEMODIFIED);
    modified.tMinModified = CTime(y2011);
    modified.tMaxModified = CTime(y2011 + 86400);  // both ends inclusive
    EXPECT_EQ(Run(modified), (Names{"beta/b1.txt", "a.log", "link.log"}));

    CFindOptions accessed = Options("*.*", false, FIND_DATEACCESSED);
    accessed.tMinAccessed = CTime(2008, 1, 1, 0, 0, 0);
    accessed.tMaxAccessed = CTime(2010, 1, 1, 0, 0, 0);
    EXPECT_EQ(Run(accessed), (Names{"c.txt"}));

    // Creation is the birth time, or the modification time where the file system keeps none.
    CFindOptions created = Options("*.dat", false, FIND_DATECREATED);
    created.tMinCreated = CTime(0);
    created.tMaxCreated = CTime(time(nullptr) + 86400);
    EXPECT_EQ(Run(created).size(), 4u);
    created.tMinCreated = CTime(time(nullptr) + 86400);
    created.tMaxCreated = CTime(time(nullptr) + 2 * 86400);
    EXPECT_EQ(Run(created), Names{});
}

TEST_F(FinderTree, TextTermsAndMatchedText) {
    struct Case {
        const char* text;
        Names found;
        const char* matched;
    } cases[] = {
        {"error",
         {"Alpha/deep/d1.log", "beta/b1.txt", "locked/l1.log", ".log", "a.log", "c.txt", "link.log"},
         "error"},
        {"ERR",
         {"Alpha/deep/d1.log", "beta/b1.txt", "locked/l1.log", ".log", "a.log", "c.txt", "link.log",
          "nul.bin"},
         "ERR"},
        {"needle", {"straddle.log"}, "needle"},
        {"alpha&&beta", {"a.log", "link.log"}, "alpha"},
        {" 'Alpha' && \"BETA\" ", {"a.log", "link.log"}, "Alpha"},
        {"zzz||beta", {"beta/b1.txt", "a.log", "link.log"}, "beta"},
        {"disk full||zzz", {"a.log", "link.log"}, "disk full"},
        {"alpha&&zzz", {}, ""},
    };
    std::set<std::string> matchedTexts;  // as the callback sees them for each file found
    finder.SetCallback(
        [](CFileFinder* f, DWORD code, void* user) {
            if (code == FF_FOUND)
                static_cast<std::set<std::string>*>(user)->insert(f->GetMatchedText().str());
        },
        &matchedTexts);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Names expected = c.found;
        if (!lockedReadable)
            expected.erase(std::remove(expected.begin(), expected.end(), "locked/l1.log"), expected.end());
        matchedTexts.clear();
        EXPECT_EQ(Run(Options("*.*", true, FIND_TEXT, c.text)), expected);
        if (!expected.empty()) {
            EXPECT_EQ(matchedTexts, std::set<std::string>{c.matched});
        }
    }
    finder.SetCallback(nullptr, nullptr);

    CString matched = "stale";
    EXPECT_FALSE(finder.MatchText((root + "a.log").c_str(), nullptr, matched));
    EXPECT_EQ(matched, "");
    EXPECT_FALSE(finder.FindTextInFile((root + "missing.log").c_str(), ""));
    EXPECT_FALSE(finder.FindTextInFile((root + "beta/fifo.log").c_str(), ""));  // refused, not waited on
    // A blank or empty needle is found in every file that can be opened, an empty file too.
    WriteFile(root + "empty.log", "");
    EXPECT_TRUE(finder.FindTextInFile((root + "empty.log").c_str(), " "));
    EXPECT_TRUE(finder.FindTextInFile((root + "empty.log").c_str(), ""));
}

TEST_F(FinderTree, NoMatchBeginsBeforeTheFirstByte) {
    const std::string nuls(CFileFinder::kReadBlock, '\0');  // a first block that keeps no byte
    const struct {
        std::string content;
        const char* needle;
        bool found;
    } cases[] = {
        {"ab", " ab", false},
        {"ab", "  AB", false},
        {" ab", " ab", true},
        {"x ab", " ab", true},
        {"ab", "ab ", false},
        {nuls + "ab", " ab", false},
        {nuls + " ab", " ab", true},
        {std::string(CFileFinder::kReadBlock - 1, 'x') + " ab", " ab", true},  // across the block end
        // A needle of blanks only is found in every file that can be opened.
        {"ab", "  ", true},
        {"", "   ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.needle + "] in " + std::to_string(c.content.size()) + " bytes");
        WriteFile(root + "probe.log", c.content);
        EXPECT_EQ(finder.FindTextInFile((root + "probe.log").c_str(), c.needle), c.found);
    }
}

TEST_F(FinderTree, APipeWhoseWriterNeverWritesNeverStallsTheSearch) {
    // The writer end stays open and silent, so a blocking read would wait for ever. No regular path that
    // blocks can be made here without privileges; the pipe takes its place.
    std::string fifo = root + "beta/fifo.log";
    int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_FALSE(finder.FindTextInFile(fifo.c_str(), " "));
    EXPECT_EQ(Run(Options("*.log", true, FIND_TEXT, "error")),
              WithLocked(Names{"Alpha/deep/d1.log", "locked/l1.log", ".log", "a.log", "link.log"},
                         "locked/l1.log"));
    ::close(writer);
}

TEST_F(FinderTree, FindsFilesPastThePathLimit) {
    // 25 folders of 200-byte names: the file's path is past 5,000 bytes. Beside it a FIFO and a link to
    // the top of the tree, which the search must neither open nor enter.
    ASSERT_EQ(::mkdir((root + "long").c_str(), 0755), 0);
    const std::string part(200, 'f');
    const std::string deep =
        MakeDeepTree(root + "long", 25, part, {{"target.txt", "deep ERROR\n"}}, [&](int fd) {
            return ::mkfifoat(fd, "fifo.txt", 0644) == 0 &&
                   ::symlinkat((root + "long").c_str(), fd, "up") == 0;
        });
    ASSERT_GT(deep.size(), 5000u);
    std::string relative = "long";
    for (int i = 0; i < 25; ++i)
        relative += "/" + part;
    relative += "/target.txt";

    // Name, size, dates and text: every test reaches the file.
    CFindOptions all = Options("*.txt", true, FIND_SIZE | FIND_DATEMODIFIED | FIND_TEXT, "error");
    all.nMinSize = all.nMaxSize = 11;
    all.tMinModified = CTime(time(nullptr) - 86400);
    all.tMaxModified = CTime(time(nullptr) + 86400);
    EXPECT_EQ(Run(Options("*.txt", true)), (Names{"beta/b1.txt", relative, "b.TXT", "c.txt"}));
    EXPECT_EQ(Run(all), Names{relative});
    ASSERT_EQ(finder.GetFileCount(), 1);
    EXPECT_EQ(finder.GetFilePath(0).GetFullPath(), (root + relative).c_str());

    // A search that starts below the limit's reach, and the text test given the whole path.
    CFindOptions below = all;
    below.sBaseFolder = deep.c_str();
    finder.RemoveAll();
    ASSERT_EQ(finder.Search(&below), 1);
    EXPECT_EQ(finder.GetFilePath(0).GetFullPath(), (deep + "/target.txt").c_str());
    CString matched;
    EXPECT_TRUE(finder.MatchText((deep + "/target.txt").c_str(), "zzz||deep", matched));
    EXPECT_EQ(matched, "deep");
}

TEST_F(FinderTree, AndSearchesTheRightOperandFirst) {
    struct Rounds {
        int count = 0;
    } rounds;
    finder.SetCallback(
        [](CFileFinder*, DWORD code, void* user) {
            if (code == FF_FINDTEXT)
                ++static_cast<Rounds*>(user)->count;
        },
        &rounds);
    CString matched;
    // Right operand absent: the left is never read.
    EXPECT_FALSE(finder.MatchText((root + "Alpha/a1.log").c_str(), "alpha&&beta", matched));
    EXPECT_EQ(rounds.count, 1);
    // Right operand present, left absent: both are read.
    rounds.count = 0;
    EXPECT_FALSE(finder.MatchText((root + "beta/b1.txt").c_str(), "alpha&&beta", matched));
    EXPECT_EQ(rounds.count, 2);
}

TEST(FileFinder, TrimOperandRemovesBlanksOnlyAroundQuotedOperands) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"error ", "error "}, {" x", " x"},          {"  'two words'  ", "two words"},
                 {"\"q\"", "q"},       {"\" open", "open"},   {"'", ""},
                 {"  ", "  "},         {" b && c", " b && c"}};
    for (const Case& c : cases) {
        CString s = c.in;
        CFileFinder::TrimOperand(s);
        EXPECT_EQ(s, c.out) << "[" << c.in << "]";
    }
}

TEST_F(FinderTree, ProgressCodesInOrder) {
    struct Event {
        DWORD code;
        std::string detail;
    };
    struct Log {
        std::vector<Event> events;
    } log;
    finder.SetCallback(
        [](CFileFinder* f, DWORD code, void* user) {
            std::string detail;
            if (code == FF_FOLDER)
                detail = f->GetCurrentFolder().str();
            if (code == FF_FINDTEXT)
                detail = f->GetCurrentFile().str();
            if (code == FF_FOUND)
                detail = f->GetFilePath(f->GetFileCount() - 1).GetFullPath().str() + "|" +
                         f->GetMatchedText().str();
            static_cast<Log*>(user)->events.push_back({code, detail});
        },
        &log);
    Run(Options("*.log", true, FIND_TEXT, "error"));

    std::vector<std::string> folders;
    int found = 0, discarded = 0, rounds = 0;
    for (const Event& e : log.events) {
        if (e.code == FF_FOLDER)
            folders.push_back(e.detail.substr(root.size()));
        if (e.code == FF_FOUND) {
            ++found;
            EXPECT_EQ(e.detail.substr(e.detail.size() - 6), "|error");
        }
        if (e.code == FF_DISCARDED)
            ++discarded;
        if (e.code == FF_FINDTEXT)
            ++rounds;
    }
    EXPECT_EQ(folders, (std::vector<std::string>{"Alpha/deep/", "Alpha/", "beta/", "locked/", ""}));
    EXPECT_EQ(found, finder.GetFileCount());
    EXPECT_EQ(found, lockedReadable ? 5 : 4);  // d1, l1, .log, a.log, link.log
    EXPECT_EQ(discarded, 2);                   // a1.log, straddle.log (fifo.log is never listed)
    EXPECT_EQ(rounds, found + discarded + 1);  // straddle.log takes two rounds
    // The first events: the deepest folder, then its file read and found.
    ASSERT_GE(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].code, (DWORD)FF_FOLDER);
    EXPECT_EQ(log.events[1].code, (DWORD)FF_FINDTEXT);
    EXPECT_EQ(log.events[1].detail, root + "Alpha/deep/d1.log");
    EXPECT_EQ(log.events[2].code, (DWORD)FF_FOUND);
}

TEST_F(FinderTree, StopFromTheCallbackEndsTheWholeSearch) {
    struct Stop {
        DWORD onCode;
        int calls = 0;
    };
    auto stopper = [](CFileFinder* f, DWORD code, void* user) {
        auto* s = static_cast<Stop*>(user);
        ++s->calls;
        if (code == s->onCode)
            f->StopSearch();
    };

    Stop onFound{FF_FOUND};
    finder.SetCallback(stopper, &onFound);
    EXPECT_EQ(Run(Options("*.*", true)), (Names{"Alpha/deep/d1.log"}));
    EXPECT_EQ(onFound.calls, 2);  // the folder, then the file

    // A stop during the first block of a file whose needle lies in the second: not found, and nothing more.
    Stop onRound{FF_FINDTEXT};
    finder.SetCallback(stopper, &onRound);
    EXPECT_EQ(Run(Options("straddle.log a.log", false, FIND_TEXT, "needle")), Names{});
    EXPECT_EQ(onRound.calls, 3);  // folder, one round, the file discarded

    // "a||b" stopped in the left operand's first block: the right one is still searched in its first
    // block, and is found there.
    Stop inLeft{FF_FINDTEXT};
    finder.SetCallback(stopper, &inLeft);
    EXPECT_EQ(Run(Options("straddle.log", false, FIND_TEXT, "needle||...")), Names{"straddle.log"});
    EXPECT_EQ(inLeft.calls, 4);  // folder, the left's round, the right's round, the file found
    EXPECT_EQ(finder.GetMatchedText(), "...");

    // A stop during the round that holds the needle still counts the file.
    Stop again{FF_FINDTEXT};
    finder.SetCallback(stopper, &again);
    EXPECT_EQ(Run(Options("*.log", false, FIND_TEXT, "error")), (Names{".log"}));

    // The next search starts with the stop cleared.
    finder.SetCallback(nullptr, nullptr);
    EXPECT_EQ(Run(Options("*.txt", false)).size(), 2u);
}

namespace {
bool HaveTool(const char* name) {
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}
std::set<std::string> Lines(const std::string& command) {
    std::set<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe)) {
        std::string line(buf);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (line.rfind("./", 0) == 0)
            line = line.substr(2);
        lines.insert(line);
    }
    ::pclose(pipe);
    return lines;
}
}  // namespace

TEST_F(FinderTree, FindsTheSameFilesAsFindAndGrep) {
    if (!HaveTool("find") || !HaveTool("grep") || !HaveTool("xargs"))
        GTEST_SKIP() << "find, grep or xargs missing";
    for (const char* term : {"error", "alpha", "needle", "disk full", "Beta", "zzz"}) {
        SCOPED_TRACE(term);
        Names ours = Run(Options("*.*", true, FIND_TEXT, term));
        std::set<std::string> mine(ours.begin(), ours.end());
        std::string cmd =
            "cd '" + root +
            "' && find . -xtype f -print0 2>/dev/null | LC_ALL=C xargs -0 -r grep -l -i -F -e '" + term +
            "' -- 2>/dev/null";
        EXPECT_EQ(mine, Lines(cmd));
    }
}
