// The report list window over a million rows: fills a gxListCtrl with 1,000,000 rows of 6 columns through
// AddItem (the window shown all along), sorts it by a numeric column and paints one screen of it on the
// headless display. Prints the time of each, the peak memory per row beyond the cell text, and the same for
// the plain list view keeping its own rows (InsertItem / SetItemText).
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

#include "controls/gxListCtrl.h"

namespace {
using namespace listbench;

void Pump() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&m);
}

// A 1024 x 768 view with the list over all of it, as the report view makes it.
struct Window {
    CWnd host;
    gxListCtrl list;
    Window() {
        host.CreateEx(0, AfxWndClassName(), "Report", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1024,
                      768, nullptr, nullptr);
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                    RECT{0, 0, 1024, 768}, &host, 1018);
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE |
                              LVS_EX_TWOCLICKACTIVATE);
        list.ResetList();
        Pump();
    }
    ~Window() {
        list.DestroyWindow();
        host.DestroyWindow();
        Pump();
    }
};

void BM_WindowFillMillionRows(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* w = new Window;
        malloc_trim(0);
        ResetPeak();
        long before = StatusBytes("VmRSS:");
        state.ResumeTiming();

        Fill(w->list, cells, rows);
        Pump();  // the window catches up and paints

        state.PauseTiming();
        long peak = StatusBytes("VmHWM:");
        total = std::max(total, (double)(peak - before) / (double)rows);
        if (w->list.CListCtrl::GetItemCount() != rows)
            state.SkipWithError("window behind the model");
        delete w;
        state.ResumeTiming();
    }
    state.counters["rows"] = (double)rows;
    state.counters["text_B_per_row"] = (double)cells.text.size() / (double)rows;
    state.counters["peak_B_per_row"] = total;
    state.counters["beyond_text_B_per_row"] = total - (double)cells.text.size() / (double)rows;
}

// A header click on Line: sorted ascending by its numeric keys, then shown.
void BM_WindowSortMillionRowsByLine(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(w.list, cells, rows);
        Pump();
        state.ResumeTiming();
        w.list.SortByColumn(1);
        Pump();
    }
    state.counters["rows"] = (double)rows;
    if (w.list.GetSortKey(0, 1) > w.list.GetSortKey(w.list.GetItemCount() - 1, 1))
        state.SkipWithError("not sorted");
}

// One whole screen of a sorted million-row list painted (off-screen and copied), with a selected row.
void BM_WindowPaintOneScreen(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    Window w;
    Fill(w.list, cells, rows);
    w.list.SortByColumn(1);
    w.list.SetFocus();
    w.list.SelectItem((int)(rows / 2));
    Pump();
    for (auto _ : state) {
        w.list.Invalidate(FALSE);
        w.list.UpdateWindow();
    }
    state.counters["rows"] = (double)rows;
    state.counters["rows_on_screen"] = (double)w.list.GetCountPerPage();
}

// Scrolling a page down in the middle of the list and painting it.
void BM_WindowPageDownAndPaint(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    Window w;
    Fill(w.list, cells, rows);
    w.list.EnsureVisible((int)(rows / 2), FALSE);
    Pump();
    for (auto _ : state) {
        w.list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
        w.list.UpdateWindow();
    }
    state.counters["rows"] = (double)rows;
}

// The list view keeping its own rows: a million InsertItem and SetItemText calls.
void BM_ListViewOwnRowsMillion(benchmark::State& state) {
    const Cells& cells = TheCells();
    long rows = Rows();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* host = new CWnd;
        host->CreateEx(0, AfxWndClassName(), "Plain", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                       nullptr);
        auto* list = new CListCtrl;
        list->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 1024, 768}, host, 1);
        for (int c = 0; c < 6; ++c)
            list->InsertColumn(c, "Column", LVCFMT_LEFT, 120);
        Pump();
        malloc_trim(0);
        ResetPeak();
        long before = StatusBytes("VmRSS:");
        state.ResumeTiming();

        char buf[256];
        for (long r = 0; r < rows; ++r) {
            int row = list->InsertItem((int)r, cells.Cell(r, 0, buf));
            for (int c = 1; c < 6; ++c)
                list->SetItemText(row, c, cells.Cell(r, c, buf));
        }
        Pump();

        state.PauseTiming();
        long peak = StatusBytes("VmHWM:");
        total = std::max(total, (double)(peak - before) / (double)rows);
        list->DestroyWindow();
        host->DestroyWindow();
        Pump();
        delete list;
        delete host;
        state.ResumeTiming();
    }
    state.counters["rows"] = (double)rows;
    state.counters["peak_B_per_row"] = total;
    state.counters["beyond_text_B_per_row"] = total - (double)cells.text.size() / (double)rows;
}
}  // namespace

BENCHMARK(BM_WindowFillMillionRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_WindowSortMillionRowsByLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_WindowPaintOneScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_WindowPageDownAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_ListViewOwnRowsMillion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_MAIN();
