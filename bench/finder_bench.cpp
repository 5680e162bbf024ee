// Searching a generated tree (about 20,000 files, 500 MB) for one term and for "a&&b", and /usr/share for
// one term, beside the same searches by grep (and rg when installed, with its threads and with one) on
// the same tree, with a ratio table at the end and a check that the finder and grep list the same files
// (VELTRIN_BENCH_SHARE=<folder> searches another folder than /usr/share).
// The tree is made on first use by tools/make_search_tree under the build tree, or in $VELTRIN_BENCH_TREE.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
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

const std::string& Share() {
    static const std::string share = [] {
        const char* env = std::getenv("VELTRIN_BENCH_SHARE");
        return std::string(env && *env ? env : "/usr/share");
    }();
    return share;
}
const char* const kShareTerm = "free software";

// The files a search lists, one a line, as a set.
std::set<std::string> ListedFiles(const std::string& command) {
    std::set<std::string> files;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return files;
    char buf[8192];
    while (std::fgets(buf, sizeof buf, pipe)) {
        std::string line(buf);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        files.insert(line);
    }
    ::pclose(pipe);
    return files;
}

void Finder(benchmark::State& state, const char* text, const std::string& folder = Tree()) {
    CFileFinder finder;
    for (auto _ : state) {
        CFindOptions options;
        options.sBaseFolder = folder.c_str();
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
void BM_Rg1_OneTerm(benchmark::State& s) {
    Tool(s, "rg -j1 -uu -l -i -F -e " + Q(kOneTerm) + " " + Q(Tree()), "rg");
}

void BM_Finder_Share(benchmark::State& s) {
    Finder(s, kShareTerm, Share());
}
void BM_Grep_Share(benchmark::State& s) {
    Tool(s, "LC_ALL=C grep -r -l -i -F -e " + Q(kShareTerm) + " " + Q(Share()) + " 2>/dev/null", "grep");
}
void BM_Rg_Share(benchmark::State& s) {
    Tool(s, "rg -uu -l -i -F -e " + Q(kShareTerm) + " " + Q(Share()) + " 2>/dev/null", "rg");
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
BENCHMARK(BM_Rg1_OneTerm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Finder_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Grep_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Rg_AndTerms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Finder_Share)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Grep_Share)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Rg_Share)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
        for (const char* search : {"OneTerm", "AndTerms", "Share"}) {
            auto finder = times.find(std::string("BM_Finder_") + search + "/iterations:5/real_time");
            if (finder == times.end())
                continue;
            for (const char* peer : {"Grep", "Rg", "Rg1"}) {
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
    if (!Have("rg"))
        std::printf("\n(rg is not installed: its runs are skipped)\n");

    // The same files as grep: one term on the tree and on the shared folder.
    for (const auto& [folder, term] : {std::pair{Tree(), kOneTerm}, std::pair{Share(), kShareTerm}}) {
        CFileFinder finder;
        CFindOptions options;
        options.sBaseFolder = folder.c_str();
        options.bSubfolders = TRUE;
        options.dwOptionsFlags = FIND_TEXT;
        options.sFindText = term;
        finder.Search(&options);
        std::set<std::string> ours;
        for (int i = 0; i < finder.GetFileCount(); ++i) {
            std::string path = finder.GetFilePath(i).GetFullPath().str();
            if (path.size() > 1 && path.starts_with("//"))
                path.erase(0, 1);
            ours.insert(path);
        }
        std::string base = folder.ends_with("/") ? folder.substr(0, folder.size() - 1) : folder;
        std::set<std::string> greps =
            ListedFiles("LC_ALL=C grep -r -l -i -F -e " + Q(term) + " " + Q(base) + " 2>/dev/null");
        size_t onlyOurs = 0, onlyGrep = 0;
        for (const std::string& f : ours)
            onlyOurs += greps.count(f) == 0;
        for (const std::string& f : greps)
            onlyGrep += ours.count(f) == 0;
        std::printf("hit set on %s: finder %zu, grep %zu, finder only %zu, grep only %zu\n", folder.c_str(),
                    ours.size(), greps.size(), onlyOurs, onlyGrep);
    }
    benchmark::Shutdown();
    return 0;
}
