// Fills the report list model with 1,000,000 rows of 6 columns, cell by cell through AddItem and whole
// rows through AddRow, and sorts it by a numeric column. Prints the time of each and the memory per
// row: the rise of the peak resident size over the fill, divided by the rows, beside the cell text per
// row.
//   VELTRIN_BENCH_ROWS to change the row count.
#include <benchmark/benchmark.h>

#include "bench/ListBenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

#include "controls/model/gxListModel.h"

namespace {
using namespace listbench;

void FillMillionRows(benchmark::State& state, bool wholeRows) {
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

        Fill(*list, cells, rows, wholeRows);

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

// Cell by cell through AddItem, as most callers fill.
void BM_FillMillionRows(benchmark::State& state) {
    FillMillionRows(state, false);
}

// A whole row per AddRow call, as the time analysis and itemize passes fill.
void BM_FillMillionWholeRows(benchmark::State& state) {
    FillMillionRows(state, true);
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
BENCHMARK(BM_FillMillionWholeRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SortMillionRowsByLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SortMillionRowsByElapsedDescending)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BatchSecondLogAboveTheFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_MAIN();
