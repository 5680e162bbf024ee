// Fills the report list model with 1,000,000 rows of 6 columns through AddItem, as a time-analysis pass
// does, and sorts it by a numeric column. Prints the time of each and the memory per row: the rise of the
// peak resident size over the fill, divided by the rows, beside the cell text per row.
//   VELTRIN_BENCH_ROWS to change the row count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

#include "controls/gxListModel.h"

namespace {
long Rows() {
    const char* rows = std::getenv("VELTRIN_BENCH_ROWS");
    return rows ? std::atol(rows) : 1000000;
}

// Resident and peak resident size in bytes, from /proc/self/status.
long StatusBytes(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long kb = 0;
    size_t len = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, len) == 0)
            kb = std::atol(line + len);
    std::fclose(f);
    return kb * 1024;
}

// Starts a new peak at the present resident size.
void ResetPeak() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// The cells of every row, made once from a fixed seed: records, line, tag, content, elapsed, gap.
struct Cells {
    std::string text;
    std::vector<uint32_t> starts;  // 6 per row, then one end
    const char* Cell(long row, int col, char* buf) const {
        size_t i = (size_t)row * 6 + (size_t)col;
        size_t n = starts[i + 1] - starts[i];
        std::memcpy(buf, text.data() + starts[i], n);
        buf[n] = '\0';
        return buf;
    }
};

const Cells& TheCells() {
    static Cells cells = [] {
        Cells c;
        std::mt19937 rng(20110304);
        const char* tags[] = {"Start", "SQL", "SQL Time", "End"};
        const char* words[] = {"SELECT", "ACCOUNT", "FROM", "WHERE", "ID", "=", "?", "ORDER", "BY", "UPDATE"};
        long rows = Rows();
        c.starts.reserve((size_t)rows * 6 + 1);
        char buf[128];
        for (long r = 0; r < rows; ++r) {
            auto add = [&](const char* s) {
                c.starts.push_back((uint32_t)c.text.size());
                c.text += s;
            };
            std::snprintf(buf, sizeof buf, "%ld", r + 1);
            add(buf);
            std::snprintf(buf, sizeof buf, "%u", (unsigned)(rng() % 50000000u));
            add(buf);
            add(tags[rng() % 4]);
            std::string content = "   ";
            for (int w = 0, n = 4 + (int)(rng() % 8); w < n; ++w)
                (content += words[rng() % 10]) += ' ';
            add(content.c_str());
            unsigned ms = rng() % 100000;
            std::snprintf(buf, sizeof buf, "%02u:%02u:%02u (%u msec)", ms / 3600000, ms / 60000 % 60,
                          ms / 1000 % 60, ms);
            add(buf);
            std::snprintf(buf, sizeof buf, "%u", (unsigned)(rng() % 1000));
            add(buf);
        }
        c.starts.push_back((uint32_t)c.text.size());
        return c;
    }();
    return cells;
}

void Fill(gxListModel& list, const Cells& cells, long rows) {
    list.ResetList();
    list.m_csTitle = "ANALYZETA";
    list.m_csNames =
        " Records  | Line  | Tag   |        Analyzed Time Latency Content               |"
        "  Elapsed  (CT)  |   Gap   |";
    list.m_csTypes = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
    list.SetColumns(6);
    char buf[256];
    for (long r = 0; r < rows; ++r) {
        int row = list.AddItem((int)r, 0, cells.Cell(r, 0, buf));
        for (int c = 1; c < 6; ++c)
            list.AddItem(row, c, cells.Cell(r, c, buf));
    }
}

void BM_FillMillionRows(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    double overhead = 0, total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* list = new gxListModel;
        // Memory freed by an earlier iteration goes back first, so the rise is the fill's own.
        malloc_trim(0);
        ResetPeak();
        long before = StatusBytes("VmRSS:");
        state.ResumeTiming();

        Fill(*list, cells, rows);

        state.PauseTiming();
        long peak = StatusBytes("VmHWM:");
        total = std::max(total, (double)(peak - before) / (double)rows);
        overhead = total - (double)cells.text.size() / (double)rows;
        benchmark::DoNotOptimize(list->GetItemCount());
        delete list;
        state.ResumeTiming();
    }
    state.counters["rows"] = (double)rows;
    state.counters["text_B_per_row"] = (double)cells.text.size() / (double)rows;
    state.counters["peak_B_per_row"] = total;
    state.counters["beyond_text_B_per_row"] = overhead;
}

// Sorts by Line (numeric keys through zero fill), then clicks the header again for descending.
void BM_SortMillionRowsByLine(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    gxListModel list;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(list, cells, rows);
        state.ResumeTiming();
        list.SortTextItems(1, TRUE);
    }
    state.counters["rows"] = (double)rows;
    // A quick check that the order is numeric.
    if (list.GetSortKey(0, 1) > list.GetSortKey(list.GetItemCount() - 1, 1))
        state.SkipWithError("not sorted");
}

void BM_SortMillionRowsByElapsedDescending(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    gxListModel list;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(list, cells, rows);
        state.ResumeTiming();
        list.SortTextItems(4, FALSE);
    }
    state.counters["rows"] = (double)rows;
}
// A batch pass over two logs: the second log's rows go in above the first log's, one counter position
// after another.
void BM_BatchSecondLogAboveTheFirst(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    long half = rows / 2;
    gxListModel list;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(list, cells, half);
        state.ResumeTiming();
        char buf[256];
        for (long r = 0; r < rows - half; ++r) {
            int row = list.AddItem((int)r, 0, cells.Cell(half + r, 0, buf));
            for (int c = 1; c < 6; ++c)
                list.AddItem(row, c, cells.Cell(half + r, c, buf));
        }
    }
    state.counters["rows"] = (double)rows;
}
}  // namespace

BENCHMARK(BM_FillMillionRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SortMillionRowsByLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SortMillionRowsByElapsedDescending)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BatchSecondLogAboveTheFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_MAIN();
