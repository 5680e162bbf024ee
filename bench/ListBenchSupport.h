// What the report-list benchmarks share: the row count, memory readings, the seeded cells and the fill.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "controls/model/gxListModel.h"

namespace listbench {
inline long Rows() {
    const char* rows = std::getenv("VELTRIN_BENCH_ROWS");
    return rows ? std::atol(rows) : 1000000;
}

// Resident and peak resident size in bytes, from /proc/self/status.
inline long StatusBytes(const char* field) {
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
inline void ResetPeak() {
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

inline const Cells& TheCells() {
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

inline void Fill(gxListModel& list, const Cells& cells, long rows, bool wholeRows = false) {
    list.ResetList();
    list.m_csTitle = "ANALYZETA";
    list.m_csNames =
        " Records  | Line  | Tag   |        Analyzed Time Latency Content               |"
        "  Elapsed  (CT)  |   Gap   |";
    list.m_csTypes = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
    list.SetColumns(6);
    char buf[256];
    if (wholeRows) {
        for (long r = 0; r < rows; ++r) {
            std::string_view row[6];
            for (int c = 0; c < 6; ++c) {
                size_t i = (size_t)r * 6 + (size_t)c;
                row[c] = std::string_view(cells.text).substr(cells.starts[i], cells.starts[i + 1] - cells.starts[i]);
            }
            list.AddRow((int)r, row, 6);
        }
        return;
    }
    for (long r = 0; r < rows; ++r) {
        int row = list.AddItem((int)r, 0, cells.Cell(r, 0, buf));
        for (int c = 1; c < 6; ++c)
            list.AddItem(row, c, cells.Cell(r, c, buf));
    }
}
}  // namespace listbench
