// Searching a generated tree (about 20,000 files, 500 MB) for one term and for "a&&b", beside the same
// searches by grep (and rg when installed) on the same tree, with a ratio table at the end.
// The tree is made on first use by tools/make_search_tree under the build tree, or in $VELTRIN_BENCH_TREE.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "sifter/FileFinder.h"

namespace {
const char* const kSeedArgs = "20000 500 42";
const char* const kOneTerm = "deadlock victim";
const char* const kLeft = "login failed";
const char* const kRight = "retry limit";

const std::string& Tree() {
    static const std::string tree = [] {
        const char* env = std::getenv("VELTRIN_BENCH_TREE");
        std::string dir = env && *env ? env : std::string(VELTRIN_BENCH_DATA) + "/search_tree";
        std::ifstream stamp(dir + "/.complete");
        std::string have;
        std::getline(stamp, have);
        if (have != kSeedArgs) {
            std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir +
                              "' && '" VELTRIN_BIN_DIR "/make_search_tree' '" + dir + "' " + kSeedArgs;
            if (std::system(cmd.c_str()) != 0) {
                std::fprintf(stderr, "cannot generate the tree: %s\n", cmd.c_str());
                std::exit(1);
            }
        }
        return dir;
    }();
    return tree;
}

bool Have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell pipeline that prints one matching file per line; returns the number of lines.
long CountLines(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    long lines = 0;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe))
        if (std::strchr(buf, '\n'))
            ++lines;
    ::pclose(pipe);
    return lines;
}

void Finder(benchmark::State& state, const char* text) {
    CFileFinder finder;
    for (auto _ : state) {
        CFindOptions options;
        options.sBaseFolder = Tree().c_str();
        options.bSubfolders = TRUE;
        options.dwOptionsFlags = FIND_TEXT;
        options.sFindText = text;
        finder.RemoveAll();
        finder.Search(&options);
    }
    state.counters["files"] = finder.GetFileCount();
}

void Tool(benchmark::State& state, const std::string& command, const char* tool) {
    if (!Have(tool)) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    long files = 0;
    for (auto _ : state)
        files = CountLines(command);
    state.counters["files"] = (double)files;
}

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

void BM_Finder_OneTerm(benchmark::State& s) {
    Finder(s, kOneTerm);
}
void BM_Grep_OneTerm(benchmark::State& s) {
    Tool(s, "LC_ALL=C grep -r -l -i -F -e " + Q(kOneTerm) + " " + Q(Tree()), "grep");
}
void BM_Rg_OneTerm(benchmark::State& s) {
    Tool(s, "rg -uu -l -i -F -e " + Q(kOneTerm) + " " + Q(Tree()), "rg");
}

// "a&&b": the right operand first, then the left in the files that hold it, as the finder does.
const std::string kAndText = std::string(kLeft) + "&&" + kRight;
void BM_Finder_AndTerms(benchmark::State& s) {
    Finder(s, kAndText.c_str());
}
void BM_Grep_AndTerms(benchmark::State& s) {
    Tool(s,
         "LC_ALL=C grep -r -l -i -F -e " + Q(kRight) + " " + Q(Tree()) +
             " | LC_ALL=C xargs -r -d '\\n' grep -l -i -F -e " + Q(kLeft),
         "grep");
}
void BM_Rg_AndTerms(benchmark::State& s) {
    Tool(s,
         "rg -uu -l -i -F -e " + Q(kRight) + " " + Q(Tree()) + " | xargs -r -d '\\n' rg -l -i -F -e " +
             Q(kLeft),
         "rg");
}

BENCHMARK(BM_Finder_OneTerm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Grep_OneTerm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Rg_OneTerm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Finder_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Grep_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Rg_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Console output as usual, then each peer's time divided by the finder's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nPeer time / finder time (above 1: the finder is faster)\n");
        for (const char* search : {"OneTerm", "AndTerms"}) {
            auto finder = times.find(std::string("BM_Finder_") + search + "/iterations:5/real_time");
            if (finder == times.end())
                continue;
            for (const char* peer : {"Grep", "Rg"}) {
                auto other = times.find(std::string("BM_") + peer + "_" + search + "/iterations:5/real_time");
                if (other != times.end())
                    std::printf("  %-8s %-4s %6.2f\n", search, peer, other->second / finder->second);
            }
        }
    }
    std::map<std::string, double> times;
};
}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Tree();
    // One untimed pass so every search starts with the same (warm) page cache.
    CountLines("find " + Q(Tree()) + " -type f -exec cat {} + >/dev/null 2>&1; echo");
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
