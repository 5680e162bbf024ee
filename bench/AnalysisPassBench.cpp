// Runs the (TA) time analysis, the QServer itemize and the (TIC) integrity check over a generated
// 1 GiB QServer log with the recording host, and shows beside each pass the time of `wc -l` and of
// `grep -c "TRANSACTION TIME"` on the same file, measured in the same run, and the pass's peak memory.
//
//   VELTRIN_BENCH_LOG=<path>  another QServer log (its folder receives the report logs)
//   VELTRIN_BENCH_MB=<n>      size of the generated log (default 1024)
//   VELTRIN_BENCH_KEEP=1      keep the report logs after the run and print hashes of the list's rows
//                             (cells and colours) and of the pad texts on standard error, to compare
//                             two builds' results
//
// Counters of a pass: rows (its result), wc_l_ms and grep_c_ms (the peers' best of three), x_wc and
// x_grep (pass time over the peer's), base_MB (resident size before the pass) and peak_MB (the
// process's peak resident size during the pass, from getrusage after the peak was reset).
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "platform/base/File.h"

extern char** environ;

namespace {
using namespace benchsupport;

struct BenchLog {
    std::string folder;
    std::string name;
    std::string path;
    bool ok = false;
};

double Seconds(const std::function<void()>& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const BenchLog& Log() {
    static BenchLog log = [] {
        BenchLog l;
        if (const char* p = std::getenv("VELTRIN_BENCH_LOG")) {
            l.path = p;
            size_t slash = l.path.find_last_of('/');
            l.folder = slash == std::string::npos ? "." : l.path.substr(0, slash);
            l.name = slash == std::string::npos ? l.path : l.path.substr(slash + 1);
            l.ok = access(l.path.c_str(), R_OK) == 0;
            return l;
        }
        ::mkdir(VELTRIN_BENCH_DATA, 0755);
        l.folder = std::string(VELTRIN_BENCH_DATA) + "/analysis";
        ::mkdir(l.folder.c_str(), 0755);
        l.name = "20230502QServer7001.log";
        l.path = l.folder + "/" + l.name;
        // The size and seed are part of a stamp file, so a log of other arguments is made anew.
        std::string stamp = l.path + ".made";
        std::string want = "loggen qserver " + std::to_string(Megabytes()) + " 7\n";
        std::string have;
        {
            std::ifstream in(stamp);
            std::getline(in, have);
            have += "\n";
        }
        if (have != want || access(l.path.c_str(), R_OK) != 0) {
            std::string gen = std::string(VELTRIN_BIN_DIR) + "/loggen";
            std::string part = l.path + ".part";
            std::string mb = std::to_string(Megabytes());
            const char* argv[] = {gen.c_str(), "qserver", part.c_str(), mb.c_str(), "7", nullptr};
            std::fprintf(stderr, "generating %s (%s MB)...\n", l.path.c_str(), mb.c_str());
            if (RunProgram(argv) != 0 || std::rename(part.c_str(), l.path.c_str()) != 0) {
                std::fprintf(stderr, "could not generate %s\n", l.path.c_str());
                return l;
            }
            std::ofstream(stamp) << want;
        }
        l.ok = true;
        return l;
    }();
    return log;
}

// Best of three runs of a peer program on the log, in milliseconds (the first run also warms the
// page cache for everything after it).
double PeerMs(const char* const argv[]) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        int rc = 0;
        double s = Seconds([&] { rc = RunProgram(argv); });
        if (rc < 0)
            return 0;
        best = std::min(best, s);
    }
    return best * 1000;
}

double WcMs() {
    static double ms = [] {
        const char* argv[] = {"wc", "-l", Log().path.c_str(), nullptr};
        return PeerMs(argv);
    }();
    return ms;
}

double GrepMs() {
    static double ms = [] {
        const char* argv[] = {"grep", "-c", "TRANSACTION TIME", Log().path.c_str(), nullptr};
        return PeerMs(argv);
    }();
    return ms;
}

// Lets getrusage report the peak of what follows rather than of the whole process.
void ResetPeakRss() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double PeakMb() {
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return (double)ru.ru_maxrss / 1024.0;
}
double CurrentMb() {
    std::ifstream in("/proc/self/statm");
    long pages = 0, resident = 0;
    in >> pages >> resident;
    return (double)resident * (double)sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

bool KeepResults() {
    const char* keep = std::getenv("VELTRIN_BENCH_KEEP");
    return keep && std::atoi(keep) != 0;
}

// FNV-1a.
void AddToHash(uint64_t& h, std::string_view bytes) {
    for (char c : bytes)
        h = (h ^ (unsigned char)c) * 1099511628211ull;
}
constexpr uint64_t kHashStart = 14695981039346656037ull;

// Every row's cells (each ended by a 0 byte) and colours, in display order.
uint64_t RowsHash(const gxListModel& list) {
    uint64_t h = kHashStart;
    auto add = [&h](std::string_view bytes) { AddToHash(h, bytes); };
    for (int row = 0; row < list.GetItemCount(); ++row) {
        for (int col = 0; col < list.GetColumnCount(); ++col) {
            add(list.GetItemTextView(row, col));
            add(std::string_view("", 1));
        }
        const uint32_t colours[2] = {list.GetRowColor(row), list.GetRowTextColor(row)};
        add(std::string_view(reinterpret_cast<const char*>(colours), sizeof colours));
    }
    return h;
}

// Every pad text the pass showed, each ended by a 0 byte.
uint64_t PadHash(const CRecordingHost& host) {
    uint64_t h = kHashStart;
    for (const CString& text : host.PadTexts())
        AddToHash(h, std::string_view(text.str().c_str(), text.str().size() + 1));
    return h;
}

void RemoveReportLogs() {
    if (KeepResults())
        return;
    const BenchLog& l = Log();
    std::string title = l.name.substr(0, l.name.find('.'));
    for (const char* suffix : {"_TA.log", "_TIC.log"})
        std::remove((l.folder + "/" + title + suffix).c_str());
}

using Pass = int32_t (*)(CVeltrinAnalysis&, LPCTSTR name);

void RunPass(benchmark::State& state, Pass pass, LPCTSTR reportType) {
    const BenchLog& log = Log();
    if (!log.ok) {
        state.SkipWithError("no QServer log to analyse");
        return;
    }
    double wc = WcMs(), grep = GrepMs();
    int32_t rows = 0;
    double peak = 0, base = 0, ms = 0;
    for (auto _ : state) {
        double seconds;
        {
            CRecordingHost host;
            CVeltrinAnalysis view(&host);
            view.m_csBaseFolder = log.folder.c_str();
            view.m_csReportType = reportType;
            view.m_csLogType = "QSERVER";
            malloc_trim(0);
            base = CurrentMb();
            ResetPeakRss();
            seconds = Seconds([&] { rows = pass(view, log.name.c_str()); });
            peak = PeakMb();
            if (KeepResults())
                std::fprintf(stderr, "%s rows hash %016llx, pad hash %016llx\n", reportType,
                             (unsigned long long)RowsHash(host.GetList()), (unsigned long long)PadHash(host));
        }
        malloc_trim(0);
        RemoveReportLogs();
        state.SetIterationTime(seconds);
        ms = seconds * 1000;
    }
    state.counters["rows"] = rows;
    state.counters["wc_l_ms"] = wc;
    state.counters["grep_c_ms"] = grep;
    state.counters["x_wc"] = wc > 0 ? ms / wc : 0;
    state.counters["x_grep"] = grep > 0 ? ms / grep : 0;
    state.counters["base_MB"] = base;
    state.counters["peak_MB"] = peak;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(log.path.c_str()));
}

void BM_TimeAnalysis(benchmark::State& state) {
    RunPass(
        state,
        [](CVeltrinAnalysis& v, LPCTSTR name) {
            return v.PerformTimeAnalysis(name, "ROOTITEM", "ANALYZETA");
        },
        "ANALYZETA");
}

void BM_QServerItemize(benchmark::State& state) {
    RunPass(
        state,
        [](CVeltrinAnalysis& v, LPCTSTR name) {
            return v.PopulateGridQServerItemizeEx(name, "ROOTITEM", "ITEMIZE", "");
        },
        "ITEMIZE");
}

void BM_TICAnalysis(benchmark::State& state) {
    RunPass(
        state,
        [](CVeltrinAnalysis& v, LPCTSTR name) {
            return v.PerformTICAnalysis(name, "ROOTITEM", "ANALYZETIC");
        },
        "ANALYZETIC");
}

void RunPeer(benchmark::State& state, const char* const argv[]) {
    if (!Log().ok) {
        state.SkipWithError("no QServer log");
        return;
    }
    std::string out;
    for (auto _ : state) {
        if (RunProgram(argv, &out) < 0) {
            state.SkipWithError("the program could not be run");
            return;
        }
    }
    state.counters["count"] = (double)std::atoll(out.c_str());
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(Log().path.c_str()));
}

void BM_WcL(benchmark::State& state) {
    const char* argv[] = {"wc", "-l", Log().path.c_str(), nullptr};
    RunPeer(state, argv);
}

void BM_GrepCount(benchmark::State& state) {
    const char* argv[] = {"grep", "-c", "TRANSACTION TIME", Log().path.c_str(), nullptr};
    RunPeer(state, argv);
}
}  // namespace

BENCHMARK(BM_WcL)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TimeAnalysis)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_QServerItemize)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_TICAnalysis)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK_MAIN();
