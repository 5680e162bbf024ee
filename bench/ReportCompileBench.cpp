// The top-20 transaction compile and the top-20 SQL compile over a generated 1 GiB QServer log, each
// with the time of `wc -l` on the same file beside it (counters wc_ms and x_wc), so the ratio is read
// from one run.
//   VELTRIN_BENCH_LOG=<path> to use another file; VELTRIN_BENCH_MB to change the generated size.
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"

extern char** environ;

namespace {
using namespace benchsupport;

const std::string kDataDir = VELTRIN_BENCH_DATA;
const char kLogName[] = "qserver_reports_1g.log";

// The log, generated when missing, too small, or older than the generator.
const std::string& LogPath() {
    static const std::string path = [] {
        if (const char* p = std::getenv("VELTRIN_BENCH_LOG"))
            return std::string(p);
        ::mkdir(kDataDir.c_str(), 0755);
        std::string p = kDataDir + "/" + kLogName;
        std::string gen = std::string(VELTRIN_BIN_DIR) + "/loggen";
        struct stat log {
        }, tool{};
        bool stale = stat(p.c_str(), &log) != 0 || log.st_size < (off_t)Megabytes() * 1024 * 1024 ||
                     (stat(gen.c_str(), &tool) == 0 && tool.st_mtime > log.st_mtime);
        if (stale) {
            std::string mb = std::to_string(Megabytes());
            const char* argv[] = {gen.c_str(), "qserver", p.c_str(), mb.c_str(), "7", nullptr};
            if (RunProgram(argv) != 0)
                std::fprintf(stderr, "could not generate %s\n", p.c_str());
        }
        return p;
    }();
    return path;
}

double TimeWcMs() {
    auto start = std::chrono::steady_clock::now();
    const char* argv[] = {"wc", "-l", LogPath().c_str(), nullptr};
    if (RunProgram(argv) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One compile request of a new report over the log, in a view of its own.
void Compile(benchmark::State& state, UINT message, const char* docName) {
    const std::string& path = LogPath();
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string name = path.substr(path.rfind('/') + 1);
    double wcMs = 0;
    double compileMs = 0;
    LRESULT lines = 0;
    int32_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        wcMs += TimeWcMs();
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        view.m_csBaseFolder = folder.c_str();
        view.m_csListKey = docName;
        _csDocToOpen = docName;
        _csCommand = MakeRequestLine(name.c_str(), "SUBITEM", "TOP20");
        g_bWaitForUpdate = 1;
        bool handled = false;
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        lines = view.HandleViewMessage(message, 0, 0, handled);
        compileMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        g_bWaitForUpdate = 0;
        records = message == WM_COMPILETOP20XACT ? view.m_nXactCount : view.m_nSqlCount;
        state.ResumeTiming();
    }
    if (lines == 0)
        state.SkipWithError("the compile read nothing");
    const double n = (double)state.iterations();
    state.counters["lines"] = (double)lines;
    state.counters["found"] = (double)records;
    state.counters["wc_ms"] = wcMs / n;
    state.counters["x_wc"] = (compileMs / n) / (wcMs / n);
    struct stat st {};
    stat(path.c_str(), &st);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)st.st_size);
}

void BM_CompileTop20Transactions(benchmark::State& state) {
    Compile(state, WM_COMPILETOP20XACT, "bench_T20Xact");
}

void BM_CompileTop20Sql(benchmark::State& state) {
    Compile(state, WM_COMPILETOP20SQL, "bench_T20Sql");
}

void BM_WcL(benchmark::State& state) {
    for (auto _ : state) {
        const char* argv[] = {"wc", "-l", LogPath().c_str(), nullptr};
        if (RunProgram(argv) != 0) {
            state.SkipWithError("wc -l failed");
            return;
        }
    }
    struct stat st {};
    stat(LogPath().c_str(), &st);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)st.st_size);
}
}  // namespace

BENCHMARK(BM_WcL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_CompileTop20Transactions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CompileTop20Sql)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
