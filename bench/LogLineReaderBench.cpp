// Reads a generated 1 GiB QServer-style log with LogLineReader, and times `wc -l` on the same file in
// the same run, so the ratio is read from one output.
//   VELTRIN_BENCH_LOG=<path> to use another file; VELTRIN_BENCH_MB to change the generated size.
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"

#include <cstdlib>
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
}  // namespace

BENCHMARK(BM_LogLineReader)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_WcL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK_MAIN();
