// The itemize passes: one list row per event of a QBroker or QServer log, each row keeping its log
// line number so that the user can go from the row to the line.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/DecimalText.h"
#include "analysis/LogPass.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"

namespace {
constexpr COLORREF kMatchColor = 0x0000C0;  // rows that hold the search text
constexpr std::string_view::size_type npos = std::string_view::npos;

const char kQBrokerCaptions[] = " Records  | Line  |        Itemized One-Line Content               |";
const char kQBrokerTypes[] = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
const char kQServerCaptions[] =
    " Records  | Line  |        Itemized One-Line Content               |   Elapsed  (CT)  |   Gap   |";
const char kQServerTypes[] = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
constexpr int kElapsedColumn = 3;
constexpr int kGapColumn = 4;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != npos;
}

bool ContainsAny(std::string_view text, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts)
        if (text.find(part) != npos)
            return true;
    return false;
}

std::string_view TrimLeftBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    return first == npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRightBlanks(std::string_view text) {
    size_t last = text.find_last_not_of(' ');
    return last == npos ? std::string_view() : text.substr(0, last + 1);
}

std::string AsciiUpperCopy(LPCTSTR text) {
    std::string upper(text ? text : "");
    for (char& ch : upper)
        ch = AsciiUpper(ch);
    return upper;
}

// Case-blind search: the line is upper-cased into scratch (reused, so no allocation per line).
bool MatchesSearch(std::string_view line, const std::string& upperSearch, std::string& scratch) {
    scratch.assign(line);
    for (char& ch : scratch)
        ch = AsciiUpper(ch);
    return scratch.find(upperSearch) != std::string::npos;
}

// A duration in whole milliseconds, as "%.0f" of the double reads back (halves to even; "nan" and "inf"
// read as 0); beyond the 32-bit range it stays at the largest value instead of wrapping.
int32_t WholeMs(double ms) {
    if (!std::isfinite(ms))
        return 0;
    double value = std::nearbyint(ms);
    if (value > (double)INT32_MAX)
        return INT32_MAX;
    if (value < (double)INT32_MIN)
        return INT32_MIN;
    return (int32_t)value;
}

// The rows of an itemize list: row number, log line number and item text in columns 0, 1 and 2.
class ItemRows {
public:
    explicit ItemRows(gxListModel& list) : m_list(list) {}
    int32_t Count() const { return m_count; }

    // Adds a row and returns its index.
    int Add(long line, std::string_view text) { return AddText(line, text); }
    // Adds a row with the item text followed by more; the item is then emptied. An empty item (the
    // usual case) is not copied into.
    int Emit(long line, std::string& item, std::string_view more) {
        if (item.empty())
            return AddText(line, more);
        item += more;
        int row = AddText(line, item);
        item.clear();
        return row;
    }
    void SetCell(int row, int column, LPCTSTR text) { m_list.AddItem(row, column, text); }

private:
    // The item cell ends at a NUL byte, as a C text would.
    int AddText(long line, std::string_view text) {
        const CDecimalText record((long)m_count + 1), number(line);
        const std::string_view cells[3] = {record.View(), number.View(), text.substr(0, text.find('\0'))};
        int row = m_list.AddRow(m_count, cells, 3);
        ++m_count;
        return row;
    }

    gxListModel& m_list;
    int32_t m_count = 0;
};

// ---- QBroker ----

// Server-count and trace lines that the filter leaves out of the list.
bool IsFilteredTrace(std::string_view line) {
    if (line.size() > 4 && line.starts_with("*** "))
        return true;
    if (line.size() > 12 && line.starts_with("/pt_QServer:"))
        return true;
    return ContainsAny(
        line,
        {"Free Server Count:", "Active Server Count:", "Atypical Server Count:", "Pending Request Count:"});
}

// The header of a request block: everything up to and including the first " -", then one blank when
// blanks followed it, then the rest without its leading blanks.
std::string RebuildBlockHeader(std::string_view line) {
    size_t dash = line.find(" -");
    if (dash == npos)
        return std::string(line);
    std::string header(line.substr(0, dash + 2));
    std::string_view rest = line.substr(dash + 2);
    if (!rest.empty() && rest.front() == ' ') {
        header += ' ';
        rest = TrimLeftBlanks(rest);
    }
    header += rest;
    return header;
}

// ---- QServer ----

// What the words after the "-- " of a QServer line make of it, found in one pass over its "-- "s.
struct DashWords {
    bool detail = false;      // an SQL detail ("-- Bind", "-- FETCH TIME:", ...): the line is never listed
    bool end = false;         // "-- END"
    bool returnCode = false;  // "-- RETURN CODE:"
    bool start = false;       // "-- START"
};

DashWords FindDashWords(std::string_view line) {
    DashWords found;
    for (size_t at = line.find("-- "); at != npos; at = line.find("-- ", at + 1)) {
        const std::string_view w = line.substr(at + 3);
        if (w.empty())
            break;
        // By the first letter, so that each word is compared where it can match.
        switch (w.front()) {
        case 'B':
            found.detail = w.starts_with("Bind");
            break;
        case 'C':
            found.detail = w.starts_with("CLIENT") || w.starts_with("CONTAINER CONTENTS");
            break;
        case 'F':
            found.detail = w.starts_with("FETCH TIME:");
            break;
        case 'R':
            found.detail = w.starts_with("ROWS FETCHED:");
            found.returnCode = found.returnCode || w.starts_with("RETURN CODE:");
            break;
        case 'S':
            found.detail = w.starts_with("SQLFreeStmt") || w.starts_with("SQLAlloc") ||
                           w.starts_with("SINCE LAST SQL:") || w.starts_with("SEND CONTAINER") ||
                           w.starts_with("SEND TIME:") || w.starts_with("SEND O") || w.starts_with("SEND M");
            found.start = found.start || w.starts_with("START");
            break;
        case 'E':
            found.end = found.end || w.starts_with("END");
            break;
        }
        if (found.detail)
            return found;  // nothing else matters for a line that is left out
    }
    return found;
}

// The markers of a QServer line that sit next to a '|', found in one scan of its bars.
struct BarMarkers {
    bool serverTrace = false;  // "QServer |" or "PEC_TRACE |"
    bool start = false;        // "| Start "
    bool end = false;          // "| End "
};

BarMarkers FindBarMarkers(std::string_view line) {
    BarMarkers m;
    for (size_t bar = line.find('|'); bar != npos; bar = line.find('|', bar + 1)) {
        std::string_view from = line.substr(bar);
        std::string_view upto = line.substr(0, bar + 1);
        m.start = m.start || from.starts_with("| Start ");
        m.end = m.end || from.starts_with("| End ");
        m.serverTrace = m.serverTrace || upto.ends_with("QServer |") || upto.ends_with("PEC_TRACE |");
    }
    return m;
}

// The time stamp of a transaction line: the text before its first '|', without trailing blanks.
std::string_view StampOf(std::string_view line) {
    return TrimRightBlanks(line.substr(0, line.find('|')));
}
}  // namespace

int32_t CVeltrinAnalysis::PopulateGridQBrokerItemizeEx(LPCTSTR name, LPCTSTR, LPCTSTR exe, LPCTSTR search) {
    CLogPass pass(*this, "CVeltrinView::PopulateGridQBrokerItemizeEx", "Processing QBroker content...",
                  "Itemizing QBroker Content...");
    pass.SetUpList(exe, kQBrokerCaptions, kQBrokerTypes);
    // The broker log is named exactly as the tree holds it: no " - N/A" test and no ".log" added.
    const CString path = JoinPath(m_csBaseFolder, name);
    const std::string upperSearch = AsciiUpperCopy(search);
    const bool filter = g_nFilterQTrace != 0;

    return pass.Run([&]() -> int32_t {
        if (!pass.Open(path))
            return 0;
        ItemRows rows(List());
        CString expanded;
        std::string scratch;
        std::string item;
        bool inBlock = false;
        long blockLine = 0;
        std::string_view raw;
        while (pass.NextLine(raw)) {
            pass.Step(rows.Count());
            std::string_view line = ExpandedTabs(raw, expanded.str());
            if (line.empty() || line == ".." || line == ".")
                continue;
            if (filter && IsFilteredTrace(line))
                continue;
            const long number = pass.LineNumber();
            const bool matches = !upperSearch.empty() && MatchesSearch(line, upperSearch, scratch);

            if (inBlock) {
                if (ContainsAny(line, {"ID  :", "ID : /pt_", "Type:", "From  :", "User  :"})) {
                    item += ' ';
                    item += line;
                } else if (Contains(line, "Action :")) {
                    item += "  ";
                    item += line;
                    // A server registering is no request: its block gives no row.
                    if (!Contains(item, "On Server Register"))
                        rows.Add(blockLine, item);
                    item.clear();
                    inBlock = false;
                } else if (matches) {
                    List().SetItemTextColor(rows.Emit(number, item, line), kMatchColor, true);
                }
                continue;
            }
            if (matches) {
                List().SetItemTextColor(rows.Emit(number, item, line), kMatchColor, true);
            } else if (Contains(line, ": On Request -") && !Contains(line, "ShutdownTempServers()")) {
                item = RebuildBlockHeader(line);
                blockLine = number;
                inBlock = true;
            } else {
                rows.Emit(number, item, line);
            }
        }
        return pass.Finish(rows.Count());
    });
}

int32_t CVeltrinAnalysis::PopulateGridQServerItemizeEx(LPCTSTR name, LPCTSTR, LPCTSTR exe, LPCTSTR search) {
    CLogPass pass(*this, "CVeltrinView::PopulateGridQServerItemizeEx", "Processing QServer content...",
                  "Itemizing QServer Content...");
    pass.SetUpList(exe, kQServerCaptions, kQServerTypes);
    const CString path = pass.LogPath(name);
    if (!pass.CheckAvailable(path))
        return 0;
    const std::string upperSearch = AsciiUpperCopy(search);

    return pass.Run([&]() -> int32_t {
        if (!pass.Open(path))
            return 0;
        ItemRows rows(List());
        std::string scratch;
        std::string item;
        CString startStamp, endStamp;
        bool inStatement = false;
        int statementLines = 0;  // lines since the "-- START" line, that one included; stops at 2
        long statementLine = 0;  // line of the statement's first text line
        std::string_view line;
        while (pass.NextLine(line)) {
            if (line.empty())
                continue;
            const long number = pass.LineNumber();
            if (!upperSearch.empty() && MatchesSearch(line, upperSearch, scratch)) {
                List().SetItemBkColor(rows.Emit(number, item, line), kMatchColor, true);
                continue;
            }
            const BarMarkers bars = FindBarMarkers(line);
            // A line that would list nothing matters only to the statement count and the progress step,
            // so the "-- " words are looked for only where they can change what happens (a line
            // starting with "-- " is always such a line).
            const bool listed = bars.serverTrace || bars.start || bars.end || line.front() == '-';
            DashWords dash;
            if (listed || (inStatement && statementLines < 2) || pass.IsStep(pass.LineNumber())) {
                dash = FindDashWords(line);
                if (dash.detail)
                    continue;
            }

            bool statementText = true;  // the line may be the first line of a statement's text
            if (bars.serverTrace) {
                rows.Emit(number, item, line);
            } else if (bars.start) {
                inStatement = false;
                statementLines = 0;
                statementText = false;
                // Taken from the line itself: the item text may still hold an unfinished statement.
                startStamp = CString(StampOf(line));
                CString gap = endStamp.IsEmpty() ? CString("00:00:00")
                                                 : FormatHms(WholeMs(ElapsedMs(endStamp, startStamp)));
                rows.SetCell(rows.Emit(number, item, line), kGapColumn, gap);
            } else if (bars.end) {
                inStatement = false;
                statementLines = 0;
                statementText = false;
                endStamp = CString(StampOf(line));
                // The start stays: a second end without a new start is measured from the same start.
                CString elapsed = startStamp.IsEmpty()
                                      ? CString("Unable to Calculate - Missing StartTime")
                                      : FormatElapsedMs(WholeMs(ElapsedMs(startStamp, endStamp)));
                rows.SetCell(rows.Emit(number, item, line), kElapsedColumn, elapsed);
            } else if (line.starts_with("-- ")) {
                if (dash.end) {
                    inStatement = false;
                    statementLines = 0;
                    statementText = false;
                    item.clear();  // a preview not shown yet is dropped
                    rows.Emit(number, item, line);
                } else if (dash.returnCode) {
                    inStatement = false;
                    statementLines = 0;
                    statementText = false;
                    rows.Add(statementLine, TrimRightBlanks(item));
                    // The item keeps the return-code line; the "-- END" line that follows replaces it.
                    item.assign(line);
                    rows.Add(number, item);
                } else if (dash.start) {
                    // A new statement starts its own count, even when the last one never ended.
                    inStatement = true;
                    statementLines = 0;
                    rows.Emit(number, item, line);
                } else {
                    rows.Emit(number, item, line);
                }
            } else if (line.front() == '-') {
                rows.Emit(number, item, line);
            }

            if (statementText && inStatement && statementLines < 2 && ++statementLines == 2) {
                // The first line after "-- START" previews the statement until its return code.
                statementLine = number;
                std::string_view text = TrimLeftBlanks(line);
                item.assign(8, ' ');
                item += text;
                if (text.find(' ') != npos)
                    item += ". . .";
            }
            pass.Step(rows.Count());
        }
        return pass.Finish(rows.Count());
    });
}
