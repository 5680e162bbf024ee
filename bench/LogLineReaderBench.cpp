// Reads a generated 1 GiB QServer-style log with LogLineReader (every line; only the lines holding the
// time analysis's markers; the line count alone), and times `wc -l` on the same file in the same run;
// the ratios to `wc -l` follow the table. The reading runs go with and without read-ahead.
//   VELTRIN_BENCH_LOG=<path> to use another file; VELTRIN_BENCH_MB to change the generated size.
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include "analysis/LogLineReader.h"
#include "platform/base/File.h"

extern char** environ;

namespace {
using namespace benchsupport;

std::string LogPath() {
    if (const char* p = std::getenv("VELTRIN_BENCH_LOG"))
        return p;
    ::mkdir(VELTRIN_BENCH_DATA, 0755);
    return std::string(VELTRIN_BENCH_DATA) + "/qserver_1g.log";
}

const std::string& EnsureLog() {
    static std::string path = [] {
        std::string p = LogPath();
        struct stat st {};
        off_t want = (off_t)Megabytes() * 1024 * 1024;
        if (stat(p.c_str(), &st) != 0 || st.st_size < want) {
            std::string gen = std::string(VELTRIN_BIN_DIR) + "/loggen";
            std::string mb = std::to_string(Megabytes());
            const char* argv[] = {gen.c_str(), "qserver", p.c_str(), mb.c_str(), "7", nullptr};
            if (RunProgram(argv) != 0)
                std::fprintf(stderr, "could not generate %s\n", p.c_str());
        }
        return p;
    }();
    return path;
}

void BM_LogLineReader(benchmark::State& state) {
    const std::string& path = EnsureLog();
    long lines = 0;
    for (auto _ : state) {
        LogLineReader reader;
        reader.SetReadAhead(state.range(0) != 0);
        if (!reader.Open(path.c_str())) {
            state.SkipWithError("cannot open the log");
            return;
        }
        std::string_view line;
        size_t bytes = 0;
        while (reader.NextLine(line))
            bytes += line.size();
        benchmark::DoNotOptimize(bytes);
        lines = reader.GetLineNumber();
    }
    state.counters["lines"] = (double)lines;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(path.c_str()));
}

void BM_HitLines(benchmark::State& state) {
    const std::string& path = EnsureLog();
    long lines = 0, hits = 0;
    for (auto _ : state) {
        LogLineReader reader;
        reader.SetReadAhead(state.range(0) != 0);
        reader.SetMarkers({"| Start", "-- START:", "**** SQL ", "TRANSACTION TIME"});
        if (!reader.Open(path.c_str())) {
            state.SkipWithError("cannot open the log");
            return;
        }
        std::string_view line;
        hits = 0;
        while (reader.NextHitLine(line))
            ++hits;
        lines = reader.GetLineNumber();
    }
    state.counters["lines"] = (double)lines;
    state.counters["hits"] = (double)hits;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(path.c_str()));
}

void BM_CountLines(benchmark::State& state) {
    const std::string& path = EnsureLog();
    long lines = 0;
    for (auto _ : state)
        lines = CountFileLines(path.c_str());
    state.counters["lines"] = (double)lines;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(path.c_str()));
}

void BM_WcL(benchmark::State& state) {
    const std::string& path = EnsureLog();
    for (auto _ : state) {
        const char* argv[] = {"wc", "-l", path.c_str(), nullptr};
        if (RunProgram(argv) != 0) {
            state.SkipWithError("wc -l failed");
            return;
        }
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)GetFileSize64(path.c_str()));
}
// Console output as usual, then each run's time over that of `wc -l`.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                times[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto wc = times.find("BM_WcL");
        if (wc == times.end() || wc->second <= 0)
            return;
        std::printf("\nTime / time of wc -l (same run)\n");
        for (const auto& [name, time] : times)
            if (name != "BM_WcL")
                std::printf("  %-20s %6.2f\n", name.c_str(), time / wc->second);
    }
    std::map<std::string, double> times;
};
}  // namespace

BENCHMARK(BM_WcL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
// Argument 1: with read-ahead, as the passes read.
BENCHMARK(BM_LogLineReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_HitLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_CountLines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    EnsureLog();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
