// SQL time analysis (TA) of QServer logs: the single-log pass lists every transaction start, SQL start,
// SQL time line and transaction end; the batch pass lists one row per completed transaction over the
// logs of a batch. Both write a fixed-width report log and a summary of the long times on the pad.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/DecimalText.h"
#include "analysis/LogPass.h"
#include "analysis/ReportFormat.h"
#include "analysis/ReportLog.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"

namespace {
const char kMissingStart[] = "Unable to Calculate - Missing StartTime";
const char kNoSqlNote[] = "\r\nNo SQL data found, suspect QServer logging level < 4.\r\n\r\n";

const char kSqlMarker[] = "**** SQL ";
const char kSqlSecondsMarker[] = "**** SQL Seconds: ";
const char kXactMarker[] = "TRANSACTION TIME";
const char kXactSecForm[] = "TRANSACTION TIME (sec): ";
const char kXactMsecForm[] = "TRANSACTION TIME (msec): ";
const char kXactPlainForm[] = "TRANSACTION TIME: ";
// Where the time stands behind the start of its marker.
constexpr size_t kSqlMsOffset = 23;    // "**** SQL Milliseconds: "
constexpr size_t kSqlSecOffset = 18;   // "**** SQL Seconds: "
constexpr size_t kXactSecOffset = 24;  // "TRANSACTION TIME (sec): "
constexpr size_t kXactMsOffset = 25;   // "TRANSACTION TIME (msec): "
constexpr size_t kXactOffset = 18;     // "TRANSACTION TIME: "

inline bool Holds(std::string_view line, std::string_view marker) {
    return line.find(marker) != std::string_view::npos;
}

// The text from offset on; a short line reads as empty there.
inline std::string_view From(std::string_view text, size_t offset) {
    return offset < text.size() ? text.substr(offset) : std::string_view();
}

inline std::string_view TrimRightBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

inline std::string_view TrimLeftBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

// The leading whole number of a text as atoi reads it (white space, a sign, digits), kept within 32 bits.
int32_t LeadingInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            return negative ? INT32_MIN : INT32_MAX;
    }
    return (int32_t)(negative ? -value : value);
}

// The leading decimal number of a text (white space and a sign first), in the C locale; 0 when there is
// none.
double LeadingDouble(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    double value = 0.0;
    std::from_chars_result r = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (r.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

// The time stamp of a line: the text before its first '|', trailing blanks removed.
inline std::string_view StampBefore(std::string_view line, size_t bar) {
    return TrimRightBlanks(line.substr(0, bar));
}

// What both passes track over one log.
struct TimeState {
    int minDigits = 4;
    bool seconds = false;
    long sqlStarts = 0;
    std::string startStamp;   // of the last transaction start; empty until the first
    std::string endStamp;     // of the last transaction end; empty until the first
    std::string timeText;     // of the last SQL or transaction time line
    std::string elapsedText;  // "%.0f" of the last elapsed milliseconds
    std::string xactElapsed;  // "%02d:%02d:%02d (%d msec)" of the transaction, or kMissingStart
    std::string gapText;
    std::string longestSql = "0";
    std::string longestXact = "0";
    std::string longestElapsed;  // read as 0 while empty
    // LeadingInt of the three texts above, so that a line compares with a number only.
    int32_t longestSqlValue = 0, longestXactValue = 0, longestElapsedValue = 0;

    void TestSeconds(std::string_view line) {
        if (!seconds && (Holds(line, kSqlSecondsMarker) || Holds(line, kXactSecForm)))
            seconds = true;
    }

    // Milliseconds of a time text, for the "%02d:%02d:%02d" texts: in seconds mode the text counts
    // seconds (fractions too).
    int32_t TimeMs(const std::string& text) const {
        if (!seconds)
            return LeadingInt(text);
        double ms = std::round(LeadingDouble(text) * 1000.0);
        return (int32_t)std::clamp(ms, (double)INT32_MIN, (double)INT32_MAX);
    }

    // A transaction start at the stamp: the gap since the last end.
    void Start(std::string_view stamp) {
        startStamp.assign(stamp);
        if (endStamp.empty()) {
            gapText = "00:00:00";
            return;
        }
        int32_t ms = Elapsed(endStamp, startStamp);
        gapText = CVeltrinAnalysis::FormatHms(ms).str();
    }

    // A transaction end; hasStamp is false for a line without '|', which has no time to measure.
    void End(bool hasStamp, std::string_view stamp) {
        if (hasStamp)
            endStamp.assign(stamp);
        if (!hasStamp || startStamp.empty()) {
            xactElapsed = kMissingStart;
            elapsedText.clear();
            return;
        }
        int32_t ms = Elapsed(startStamp, endStamp);
        xactElapsed = CVeltrinAnalysis::FormatElapsedMs(ms).str();
        if (ms > longestElapsedValue) {
            longestElapsed = std::to_string(ms);
            longestElapsedValue = ms;
        }
    }

    // A SQL time line whose "**** SQL " starts at p: the time text, the longest SQL time. True when
    // the time text is long.
    bool SqlTime(std::string_view line, size_t p) {
        TestSeconds(line);
        timeText.assign(TrimRightBlanks(From(line, p + (seconds ? kSqlSecOffset : kSqlMsOffset))));
        if (int32_t value = LeadingInt(timeText); value > longestSqlValue) {
            longestSql = timeText;
            longestSqlValue = value;
        }
        return (int)timeText.size() > minDigits;
    }

    // The time text of a transaction time line; empty when the line gives none of the three forms.
    void XactTime(std::string_view line) {
        TestSeconds(line);
        timeText.clear();
        size_t p = line.find(kXactMarker);
        if (p == std::string_view::npos)
            return;
        size_t offset;
        if (seconds)
            offset = kXactSecOffset;
        else if (Holds(line, kXactMsecForm))
            offset = kXactMsOffset;
        else if (Holds(line, kXactPlainForm))
            offset = kXactOffset;
        else
            return;
        timeText.assign(TrimRightBlanks(From(line, p + offset)));
    }

    void UpdateLongestXact() {
        if (int32_t value = LeadingInt(timeText); value > longestXactValue) {
            longestXact = timeText;
            longestXactValue = value;
        }
    }

    bool ElapsedIsLong() const { return (int)elapsedText.size() > minDigits; }

private:
    // Whole milliseconds from one stamp to another; their "%.0f" text is kept as the elapsed text. The
    // stamps hold whole milliseconds, so that text is the integer's.
    int32_t Elapsed(const std::string& from, const std::string& to) {
        double ms = std::nearbyint(CVeltrinAnalysis::ElapsedMs(from.c_str(), to.c_str()));
        char buf[64];
        if (ms >= 0.0 && ms < 1e15) {
            std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, (long long)ms);
            elapsedText.assign(buf, r.ptr);
        } else {
            std::snprintf(buf, sizeof buf, "%.0f", ms);
            elapsedText = buf;
        }
        return LeadingInt(elapsedText);
    }
};

// ---- Single pass ----
const char kSingleCaptions[] =
    " Records  | Line  | Tag   |        Analyzed Time Latency Content               |"
    "  Elapsed  (CT)  |   Gap   |";
const char kSingleTypes[] = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
const char kSingleFormat[] = "%-10s  %-10s  %-12s  %-90s  %-24s  %s\n";

// ---- Batch pass ----
const char kBatchCaptions[] =
    " Records  |   Line    |           File          |    Transaction      |   Client  |"
    " Port |   Start Date  |   End Date  |  Elapsed  (CT) |   Gap   |";
const char kBatchTypes[] =
    "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
const char kBatchFormat[] = "%-10s  %-10s  %-28s  %-24s  %-24s  %-10s  %-24s  %-24s  %-24s  %s\n";
const size_t kBatchWidths[9] = {10, 10, 28, 24, 24, 10, 24, 24, 24};

const char kBrokerMarker[] = "/pt_QBroker://";
const char kClientMarker[] = "/pt_QClient://";
constexpr size_t kClientMarkerLength = 14;

void AppendSummary(CString& pad, const TimeState& st, bool batch) {
    pad += "\r\nLog Summary:";
    const char* sqlFormat;
    if (batch)
        sqlFormat = st.seconds ? "\r\nLongest                  **** SQL Seconds:  %-10s %s"
                               : "\r\nLongest             **** SQL Milliseconds:  %-10s %s";
    else
        sqlFormat = st.seconds ? "\r\nLongest                **** SQL Seconds:  %-10s %s"
                               : "\r\nLongest                **** SQL Milliseconds:  %-10s %s";
    pad += FormatString(sqlFormat, st.longestSql.c_str(),
                        (LPCTSTR)CVeltrinAnalysis::FormatHms(st.TimeMs(st.longestSql)));
    pad +=
        FormatString(batch ? "\r\nLongest                  TRANSACTION TIME:  %-10s %s"
                           : "\r\nLongest                     TRANSACTION TIME:  %-10s %s",
                     st.longestXact.c_str(), (LPCTSTR)CVeltrinAnalysis::FormatHms(st.TimeMs(st.longestXact)));
    pad += FormatString(batch ? "\r\nLongest                                CT:  %-10s %s\r\n"
                              : "\r\nLongest                                   CT:  %-10s %s\r\n",
                        st.longestElapsed.c_str(),
                        (LPCTSTR)CVeltrinAnalysis::FormatHms(LeadingInt(st.longestElapsed)));
    if (st.sqlStarts == 0)
        pad += kNoSqlNote;
}
}  // namespace

CString CVeltrinAnalysis::SingleReportLogName(LPCTSTR name, LPCTSTR suffix) {
    CString base(name);
    int dot = base.Find('.');
    if (dot >= 0)
        base = base.Left(dot);
    return base + suffix;
}

CString CVeltrinAnalysis::BatchReportLogName(LPCTSTR docToOpen, LPCTSTR listKey, LPCTSTR suffix) {
    CString text = (docToOpen && *docToOpen) ? CString(docToOpen) + "." : CString(listKey);
    int dot = text.Find('.');
    if (dot < 0)
        return text;
    return text.Left(dot) + suffix;
}

int32_t CVeltrinAnalysis::PerformTimeAnalysis(LPCTSTR name, LPCTSTR, LPCTSTR exe) {
    CLogPass pass(*this, "CVeltrinView::PerformTimeAnalysis (TA)", "Processing (TA) Time Analysis Report...",
                  "Itemizing QServer Content...");
    const int minDigits = Host().GetProfileInt("Settings", "MinMilliseconds", 4);
    pass.SetUpList(exe, kSingleCaptions, kSingleTypes);
    CString path = JoinPath(m_csBaseFolder, name);
    if (!pass.CheckAvailable(path))
        return 0;
    pass.SetProgressText("Analyzing Time Latency (TA)...\n%ld", true);
    // Which of them a line holds is found beside the pass, as the lines are read ahead.
    enum : uint32_t { kStart = 1, kSqlStart = 2, kSql = 4, kXact = 8 };
    pass.SetMarkers({"| Start", "-- START:", kSqlMarker, kXactMarker}, true);

    return pass.Run([&]() -> int32_t {
        CReportLog report(JoinPath(m_csBaseFolder, SingleReportLogName(name, "_TA.log")));
        report.Delete();
        if (!report.Open())
            return 0;
        report.AppendFormat(kSingleFormat, "Records", "Line", "Tag", "Analyzed Time Latency Content",
                            "Elapsed (CT)", "Gap");

        m_csPadText = name;
        TimeState st;
        st.minDigits = minDigits;
        if (!pass.Open(path))
            return 0;  // the report log keeps its header line

        gxListModel& list = List();
        int32_t rows = 0;
        std::string_view text;  // the line up to a NUL byte, as the list shows it
        CDecimalText lineText;
        // One row and its report line, laid out as kSingleFormat.
        auto addRow = [&](std::string_view tag, std::string_view elapsed, std::string_view gap) {
            const CDecimalText recordsText((long)rows + 1);
            const std::string_view cells[6] = {recordsText.View(), lineText.View(), tag, text, elapsed, gap};
            int item = list.AddRow(rows, cells, 6);
            list.SetItemBkColor(item, gxListModel::kEvenRowColor, true);
            report.AppendLine({{cells[0], 10}, {cells[1], 10}, {tag, 12}, {text, " ^", 90},
                               {elapsed, " ^", 24}},  // " ^" alone for all but end rows
                              gap);
            ++rows;
        };
        auto setText = [&](std::string_view line) { text = line.substr(0, line.find('\0')); };

        std::string_view line;
        while (pass.NextLine(line)) {
            if (!line.empty()) {
                lineText.Set(pass.LineNumber());
                size_t p;
                const uint32_t holds = pass.LineMarkers();
                if ((holds & kStart) && !Holds(line, "PEC_TRACE")) {
                    st.Start(StampBefore(line, line.find('|')));
                    setText(line);
                    addRow("START:", "", st.gapText);
                } else if (holds & kSqlStart) {
                    ++st.sqlStarts;
                    setText(line);
                    addRow("", "", "");
                } else if ((holds & kSql) && (p = line.find(kSqlMarker)) != std::string_view::npos) {
                    if (st.SqlTime(line, p)) {
                        int32_t ms = st.TimeMs(st.timeText);
                        m_csPadText.AppendFormat(st.seconds
                                                     ? "\r\nLine  %-12s  **** SQL Seconds:  %-10s %s"
                                                     : "\r\nLine  %-12s  **** SQL Milliseconds:  %-10s %s",
                                                 lineText.c_str(), st.timeText.c_str(),
                                                 (LPCTSTR)FormatElapsedMs(ms));
                    }
                    setText(line);
                    addRow("", "", "");
                } else if (holds & kXact) {
                    size_t bar = line.find('|');
                    st.End(bar != std::string_view::npos,
                           bar != std::string_view::npos ? StampBefore(line, bar) : std::string_view());
                    st.XactTime(line);
                    if (st.ElapsedIsLong())
                        m_csPadText.AppendFormat("\r\nLine  %-12s          TRANSACTION TIME:  %-10s %s",
                                                 lineText.c_str(), st.timeText.c_str(),
                                                 st.xactElapsed.c_str());
                    st.UpdateLongestXact();
                    setText(line);
                    addRow("END:", st.xactElapsed, "");
                }
            }
            pass.Step(rows);
        }

        report.Close();
        if (pass.ReadFailed())
            return pass.FinishOwn(rows, rows);
        if (rows == 0)
            report.Delete();
        AppendSummary(m_csPadText, st, false);
        ShowPadText(m_csPadText);
        Host().PostToMainWindow(WM_HIGHLIGHTROW, 0, 0);
        return pass.FinishOwn(rows, rows);
    });
}

int32_t CVeltrinAnalysis::PerformTimeAnalysisAll(LPCTSTR name, LPCTSTR, LPCTSTR exe) {
    CLogPass pass(*this, "CVeltrinView::PerformTimeAnalysisAll", "Processing Time Analysis Report...",
                  "Itemizing QServer Content...");
    const int minDigits = Host().GetProfileInt("Settings", "MinMilliseconds", 4);
    const bool fresh = g_bWaitForUpdate != 0;
    if (fresh) {
        pass.SetUpList(exe, kBatchCaptions, kBatchTypes);
        List().SetColumnWidth(0, 0);
    }
    RestoreColumnWidths(m_csReportType);

    CString path = JoinPath(m_csBaseFolder, name);
    m_csPadText += path;
    if (path.Find(" - N/A") >= 0) {
        m_csPadText += " No Data Available\r\n\r\n";
        ShowPadText(m_csPadText);
        return 0;
    }
    pass.SetFixedStep(1000);
    pass.SetProgressText("Time Analysis...\n%ld");
    pass.SetMarkers({"| Start", "-- START:", kSqlMarker, "| End"});

    return pass.Run([&]() -> int32_t {
        pass.BeginWait(path);
        CString header = FormatString(kBatchFormat, "Records", "Line", "File", "Transaction", "Client",
                                      "Port", "Start Date", "End Date", "Elapsed (CT)", "Gap");
        CReportLog report(JoinPath(m_csBaseFolder, BatchReportLogName(_csDocToOpen, _csListKey, "_TA.log")));
        if (fresh)
            report.Delete();
        if (!report.OpenWithHeader(header))
            return 0;

        TimeState st;
        st.minDigits = minDigits;
        int32_t counter = 0;  // transactions ended, with or without a time
        int32_t rows = 0;     // rows added: what the records pane counts
        if (!pass.OpenLog()) {
            report.CloseDeletingHeaderOnly(header);
            return 0;
        }

        gxListModel& list = List();
        std::string startLine, transaction, client, port;
        CDecimalText recordsText, lineText;
        std::string_view line;
        while (pass.NextLine(line)) {
            if (!line.empty()) {
                lineText.Set(pass.LineNumber());
                size_t s;
                if ((s = line.find("| Start")) != std::string_view::npos && !Holds(line, "PEC_TRACE")) {
                    startLine = lineText.View();
                    st.Start(TrimRightBlanks(line.substr(0, s)));
                    transaction.clear();
                    client.clear();
                    port.clear();
                    std::string_view rest = TrimLeftBlanks(From(line, s + 8));
                    size_t p = rest.find(kBrokerMarker);
                    if (p == std::string_view::npos)
                        p = rest.find(kClientMarker);
                    if (p != std::string_view::npos) {
                        transaction.assign(TrimRightBlanks(rest.substr(0, p)));
                        for (char& c : transaction)
                            c = AsciiUpper(c);
                        std::string_view clientPart = rest.substr(p + kClientMarkerLength);
                        size_t slash = clientPart.find('/');
                        if (slash != std::string_view::npos) {
                            port.assign(clientPart.substr(slash + 1));
                            client.assign(clientPart.substr(0, slash));
                        } else {
                            client.assign(clientPart);
                        }
                    }
                } else if (Holds(line, "-- START:")) {
                    ++st.sqlStarts;
                } else if ((s = line.find(kSqlMarker)) != std::string_view::npos) {
                    if (st.SqlTime(line, s)) {
                        int32_t ms = st.TimeMs(st.timeText);
                        if (st.seconds)
                            m_csPadText.AppendFormat("\r\nLine  %-12s  **** SQL Seconds:  %s",
                                                     lineText.c_str(), (LPCTSTR)FormatElapsedMs(ms));
                        else
                            m_csPadText.AppendFormat("\r\nLine  %-12s  **** SQL Milliseconds:  %-10s %s",
                                                     lineText.c_str(), st.timeText.c_str(),
                                                     (LPCTSTR)FormatElapsedMs(ms));
                    }
                } else if (Holds(line, "| End")) {
                    st.End(true, StampBefore(line, line.find('|')));
                    st.XactTime(line);
                    if (st.ElapsedIsLong())
                        m_csPadText.AppendFormat("\r\nLine  %-12s            TRANSACTION TIME:  %-10s CT: %s",
                                                 lineText.c_str(), st.timeText.c_str(),
                                                 st.xactElapsed.c_str());
                    if (!st.timeText.empty()) {
                        st.UpdateLongestXact();
                        recordsText.Set((long)counter + 1);
                        const char* cells[10] = {
                            recordsText.c_str(),   startLine.c_str(),   name,
                            transaction.c_str(),   client.c_str(),      port.c_str(),
                            st.startStamp.c_str(), st.endStamp.c_str(), st.xactElapsed.c_str(),
                            st.gapText.c_str()};
                        std::string_view rowCells[10];
                        std::copy(cells, cells + 10, rowCells);
                        list.AddRow(std::min(counter, (int32_t)list.GetItemCount()), rowCells, 10);
                        // The report line, laid out as kBatchFormat.
                        CReportLog::Field fields[9];
                        for (int c = 0; c < 9; ++c)
                            fields[c] = {rowCells[c], kBatchWidths[c]};
                        report.AppendLine(fields, rowCells[9]);
                        ++rows;
                    }
                    ++counter;
                }
            }
            pass.Step(counter);
        }

        report.CloseDeletingHeaderOnly(header);
        if (pass.ReadFailed())
            return pass.FinishOwn(0, 0);
        AppendSummary(m_csPadText, st, true);
        ShowPadText(m_csPadText);
        ActivatePadTab();
        // The records pane shows the list's rows: a transaction without a time has none.
        g_nBatchRecordCount += rows;
        ShowLogNamePane("");
        return pass.FinishOwn(counter, 0);
    });
}
