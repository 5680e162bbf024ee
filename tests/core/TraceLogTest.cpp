#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/TraceLog.h"

namespace {
std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}
std::string TracePath() {
    return "/tmp/veltrin_trace_" + std::to_string(getpid()) + ".log";
}
}  // namespace

TEST(TraceLog, NumbersLinesFromOneAndWritesTextUnchanged) {
    std::string path = TracePath();
    RestartTraceLogAt(path.c_str());
    TraceLog("Start %s", "CVeltrinView::OnViewData");
    TraceLog("%s", "100% done %d %s");
    auto lines = Lines(path);
    ASSERT_EQ(lines.size(), 2u);
    std::regex shape(R"(1 \d\d/\d\d/\d{4} \d\d:\d\d:\d\d Start CVeltrinView::OnViewData)");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
    EXPECT_EQ(lines[1].substr(0, 2), "2 ");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 15), "100% done %d %s");
    EXPECT_EQ(AppendTraceLine(path.c_str(), std::string(TRACE_TEXT_LIMIT, 'x').c_str()), 0);  // too long
    EXPECT_EQ(Lines(path).size(), 2u);
    EXPECT_EQ(AppendTraceLine("/nonexistent/dir/trace.log", "x"), 1);  // silent failure
    unlink(path.c_str());
}

TEST(TraceLog, TenThreadsWriteIntactUniquelyNumberedLines) {
    std::string path = TracePath();
    RestartTraceLogAt(path.c_str());
    constexpr int kThreads = 10, kPerThread = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kPerThread; ++i)
                TraceLog("worker %d line %d %s", t, i, std::string(100, 'p').c_str());
        });
    for (auto& th : threads)
        th.join();
    auto lines = Lines(path);
    ASSERT_EQ(lines.size(), (size_t)kThreads * kPerThread);
    std::regex shape(R"((\d+) \d\d/\d\d/\d{4} \d\d:\d\d:\d\d worker (\d) line (\d+) p{100})");
    std::set<long> numbers;
    std::set<std::pair<int, int>> texts;
    for (const auto& l : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l, m, shape)) << l;
        numbers.insert(std::stol(m[1]));
        texts.insert({std::stoi(m[2]), std::stoi(m[3])});
    }
    EXPECT_EQ(numbers.size(), lines.size());
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), (long)lines.size());
    EXPECT_EQ(texts.size(), lines.size());
    unlink(path.c_str());
}
