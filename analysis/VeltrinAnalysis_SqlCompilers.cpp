// The SQL report compilers: four read the SQL statements of a QServer log (a whole log, or one
// transaction from its start line), the fifth reads a statement count summary back from a report log.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "analysis/ExpandedLine.h"
#include "analysis/FileWriterThread.h"
#include "analysis/LineTokens.h"
#include "analysis/LogPass.h"
#include "analysis/ReportFormat.h"
#include "analysis/ReportLog.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/File.h"
#include "platform/base/JoinPath.h"

namespace {
// A statement stops growing here: a START line whose END never comes must not gather the rest of a
// multi-gigabyte log.
constexpr size_t kMaxStatement = 1 << 20;

const char kFormatA[] = "%-27s  %-10s  %-10s  %-10s  %-10s  %-13s %-13s  %-13s %s\n";
const char kFormatB[] = "%-13s  %-10s  %-10s  %-10s  %-10s  %-13s %-13s %-13s  %-13s %s\n";
const CReportLayout kLineA(kFormatA);
const CReportLayout kLineB(kFormatB);
const char kNoData[] = "\r\n No Data Available in %s for Itemize Criteria.";
const char kNoSqlData[] =
    "\r\n No Data Available in %s for Itemize Criteria.\r\n\r\n No SQL data found, suspect QServer logging "
    "level < 4.";

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}
// The statement tags that follow a "-- " somewhere in a line, from one pass over its "-- " rather than
// one search of the line per tag.
struct DashTags {
    bool bind = false;   // "-- Bind"
    bool start = false;  // "-- START:"
    bool end = false;    // "-- END:"
    bool Any() const { return bind || start || end; }
};

// The milliseconds of an END line's time in seconds ("0.002"), as a whole-number text; a text that
// is no number reads 0.
CString SecondsAsMsText(const CString& seconds) {
    double value = 0;
    std::from_chars(seconds.GetString(), seconds.GetString() + seconds.GetLength(), value);
    return CVeltrinAnalysis::FormatMsText(std::isfinite(value) && value > 0 ? std::round(value * 1000) : 0);
}

DashTags FindDashTags(std::string_view line) {
    DashTags tags;
    for (size_t at = FindText(line, "-- "); at != std::string_view::npos;
         at = FindText(line, "-- ", at + 1)) {
        const std::string_view tail = line.substr(at + 3);
        tags.bind = tags.bind || tail.starts_with("Bind");
        tags.start = tags.start || tail.starts_with("START:");
        tags.end = tags.end || tail.starts_with("END:");
    }
    return tags;
}

// What the "--" of a raw line say, as they would on its expanded line: "--" survives the expansion
// unchanged, and a printable byte is the same byte once expanded, so a "--", a blank and a tag word on the
// raw line are that tag on the expanded line, and a "--" followed by another printable byte is none. Only
// a "--" followed by a tab or control byte (which becomes blanks) leaves the expanded line to decide.
struct RawDashes {
    bool any = false;  // a "--" anywhere
    DashTags tags;
};
RawDashes ReadDashes(std::string_view raw, CExpandedLine& expander) {
    bool any = false, bind = false, start = false, end = false, expand = false;
    const char* const bytes = raw.data();  // taken apart, so that the line stays in registers
    const size_t size = raw.size();
    ForEachPair(raw, '-', '-', [&](size_t at) {
        any = true;
        if (at + 2 >= size)
            return false;
        const unsigned char after = (unsigned char)bytes[at + 2];
        if (after == ' ') {
            const std::string_view tail(bytes + at + 3, size - at - 3);
            bind = bind || tail.starts_with("Bind");
            start = start || tail.starts_with("START:");
            end = end || tail.starts_with("END:");
        } else if (after < 32 || after > 126) {
            expand = true;
            return false;
        }
        return true;
    });
    if (expand)
        return {true, FindDashTags(expander.Expand(raw))};
    return {any, {bind, start, end}};
}
}  // namespace

LRESULT CVeltrinAnalysis::OnCompileTop20SQL(WPARAM, LPARAM) {
    return CompileQServerSql(SqlCompile::Top20);
}
LRESULT CVeltrinAnalysis::OnRunXactReport(WPARAM, LPARAM) {
    return CompileQServerSql(SqlCompile::XactReport);
}
LRESULT CVeltrinAnalysis::OnRunXactImzSqlReport(WPARAM, LPARAM) {
    return CompileQServerSql(SqlCompile::XactImz);
}
LRESULT CVeltrinAnalysis::OnRunXactSqlSumReport(WPARAM, LPARAM) {
    return CompileQServerSql(SqlCompile::XactSqlSum);
}

LRESULT CVeltrinAnalysis::CompileQServerSql(SqlCompile kind) {
    static const struct {
        const char* method;
        const char* status;
    } kSpecs[] = {
        {"CVeltrinView::OnCompileTop20SQL", "Compiling Top20 SQL Report..."},
        {"CVeltrinView::OnRunXactReport", "Processing Transaction Report..."},
        {"CVeltrinView::OnRunXactImzSqlReport", "Compiling Transaction Itemize SQL Report..."},
        {"CVeltrinView::OnRunXactSqlSumReport", "Compiling Transaction SQL Summary Report..."},
    };
    const auto& spec = kSpecs[(int)kind];
    TraceF("%s: _csCommand=%s", spec.method, (LPCTSTR)_csCommand);
    if (_csCommand == WAIT_FOR_UPDATE)
        return 0;
    const CString name = RequestField(REQ_NAME);
    const CString type = RequestField(REQ_TYPE);
    const CString exe = RequestField(REQ_EXE);
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = type;
    m_csCurAction = exe;
    const CString path = JoinPath(m_csBaseFolder, name);
    // One transaction is read from its start line on; the top-20 compile reads the whole log.
    const long startLine = kind == SqlCompile::Top20 ? 1 : std::atol(exe);
    const bool oneTransaction = kind != SqlCompile::Top20;
    const bool writesLog = kind != SqlCompile::XactSqlSum;

    CStdioFile report;
    // Writes the open report log on its own thread; declared after the file, so it ends first.
    std::unique_ptr<CFileWriterThread> writer;
    // A write that failed ends the pass as a failing write of the file itself does.
    auto write = [&](std::string_view text, bool textMode) {
        if (!(textMode ? writer->Add(text) : writer->AddRaw(text)))
            throw new CFileException(writer->Failure());
    };
    // Everything written, then the file closed; a failed write gets the file-error message.
    auto closeReport = [&]() {
        const bool written = writer->Drain();
        const CFileException failure = writer->Failure();
        writer.reset();
        if (written)
            return CloseReportLog(report);
        ReportFileError(failure);
        report.Abort();
        return FALSE;
    };
    if (kind == SqlCompile::XactSqlSum) {
        m_aSqlSum.DeleteAll();
        // The summary's report log is named now; its populate request writes it.
        m_csSqlReportFile = _csDocToOpen + ".log";
        m_csSqlReportLog = JoinPath(m_csBaseFolder, m_csSqlReportFile);
    } else {
        if (g_bWaitForUpdate) {
            m_csSqlReportFile = _csDocToOpen + ".log";
            m_csSqlReportLog = JoinPath(m_csBaseFolder, m_csSqlReportFile);
            CReportLog(m_csSqlReportLog).Delete();
            if (kind == SqlCompile::XactImz) {
                m_aSqlDetail.DeleteAll();
            } else {
                m_aSqlXact.DeleteAll();
                m_aTop20Sql.DeleteAll();
            }
        }
        if (!OpenReportLog(report, m_csSqlReportLog))
            return 0;
        writer = std::make_unique<CFileWriterThread>(report);
        if (g_bWaitForUpdate) {
            m_nSqlCount = 0;
            std::string header =
                kind == SqlCompile::XactImz
                    ? FormatString(kFormatB, "SQL #", "StartRow", "EndRow", "BindRow", "Date", "StartTime",
                                   "EndTime", "Milliseconds", "Gap", "Statement")
                    : FormatString(kFormatA, "Filename", "StartRow", "EndRow", "BindRow", "Date", "StartTime",
                                   "EndTime", kind == SqlCompile::Top20 ? "ElapsedTime" : "Milliseconds",
                                   "Statement");
            if (!writer->Add(header)) {
                closeReport();
                return 0;
            }
        }
    }
    m_nXactCount = 0;

    CLogPass pass(*this, spec.method, spec.status, name + "...", FALSE);
    pass.SetStatusEachStep(TRUE);
    return pass.Run([&]() -> int32_t {
        if (!pass.Open(path)) {
            if (writesLog)
                closeReport();
            return 0;
        }
        CExpandedLine expander;
        CLineTokens tokens;
        std::string statement;
        CString startDate, startTime, extraTime, endDate, endTime, msText, gap;
        CString endRowText, number, upper;
        std::string detail;
        std::string elapsedText;
        long startRow = 0, bindRow = 0;
        bool collecting = false;
        int32_t statementNumber = 0;
        int32_t recorded = 0;
        int32_t endsMet = 0;  // END lines with a START before them
        std::string_view next;
        auto append = [&](std::string_view text) {
            if (statement.empty())
                text = text.substr(std::min(text.size(), text.find_first_not_of(' ')));
            statement.append(text.substr(0, kMaxStatement - std::min(kMaxStatement, statement.size())));
        };
        while (pass.NextLine(next)) {
            // Taken apart as the reader stored it: one wide load of the two just-stored halves waits.
            const std::string_view raw(next.data(), next.size());
            const long lineNumber = pass.LineNumber();
            if (lineNumber < startLine) {
                pass.Step((int32_t)lineNumber);
                continue;
            }
            // "--" survives the expansion unchanged, so most lines are settled on their raw bytes.
            // A statement at its longest takes nothing more, so it needs no expanded line either.
            const RawDashes read = ReadDashes(raw, expander);
            const bool dashes = read.any;
            const DashTags& tags = read.tags;
            const bool appending = collecting && statement.size() < kMaxStatement;
            if (!appending && !dashes && !(oneTransaction && CExpandedLine::MayHoldBarWord(raw, "End"))) {
                pass.Step((int32_t)lineNumber);
                continue;
            }
            // Most "--" lines are neither a tag nor part of a statement: over a whole log they only end
            // the statement being collected.
            if (dashes && !oneTransaction && !tags.Any()) {
                collecting = false;
                pass.Step((int32_t)lineNumber);
                continue;
            }
            // The expanded line, made only when its text is used: appended, searched or split.
            std::string_view expanded;
            bool expandedMade = false;
            auto line = [&]() {
                if (!expandedMade) {
                    expanded = expander.Expand(raw);
                    expandedMade = true;
                }
                return expanded;
            };
            if (collecting) {
                if (!dashes)
                    append(line());
                else if (oneTransaction && statement.empty())
                    append(line());  // a leading comment line belongs to the statement
                else
                    collecting = false;
            }
            if (oneTransaction && HasText(line(), "| End "))
                break;
            const bool inMs = tags.end && HasText(line(), "**** SQL Milliseconds:");
            if (tags.bind) {
                bindRow = lineNumber;
            } else if (tags.start) {
                if (tokens.Split(line(), " ", 7) < 5) {
                    TraceF("%s: START line %ld skipped: too few fields", spec.method, lineNumber);
                } else {
                    startRow = lineNumber;
                    collecting = true;
                    if (bindRow == 0)
                        bindRow = startRow;
                    // Copied in place: the texts keep their buffers from one statement to the next.
                    startDate.str().assign(tokens[3]);
                    startTime.str().assign(tokens[4]);
                    extraTime.Empty();
                    if (tokens[6] == "DB") {
                        startTime.str().append(1, ' ').append(tokens[5]);
                        extraTime.str().assign(tokens[5]);
                    }
                    if (kind == SqlCompile::XactImz) {
                        size_t at = FindText(line(), "SQL: ");
                        if (at != std::string_view::npos)
                            gap = FormatElapsedMs(MsFromText(CString(line().substr(at + 5))));
                    }
                }
            } else if (tags.end && (inMs || HasText(line(), "**** SQL Seconds:"))) {
                if (startRow != 0) {
                    ++endsMet;
                    // A server that logs its SQL times in seconds ends its statements the same way.
                    const bool seconds = !inMs;
                    int count = tokens.Split(line(), " ", 10);
                    const bool msWord = tokens[8] == (seconds ? "Seconds:" : "Milliseconds:");
                    if (count < (msWord ? 10 : 9)) {
                        TraceF("%s: END line %ld skipped: too few fields", spec.method, lineNumber);
                    } else {
                        ++m_nSqlCount;
                        endDate.str().assign(tokens[3]);
                        endTime.str().assign(tokens[4]);
                        msText.str().assign(tokens[msWord ? 9 : 8]);
                        if (msWord)
                            endTime.str().append(1, ' ').append(tokens[5]);
                        if (seconds)
                            msText = SecondsAsMsText(msText);
                        if (!extraTime.IsEmpty()) {
                            msText =
                                FormatMsText(ElapsedMs(startDate + ' ' + startTime, endDate + ' ' + endTime));
                        }
                        const int32_t ms = MsFromText(msText);
                        const CDecimalText row(startRow), endRowNumber(lineNumber), bind(bindRow);
                        const std::string_view rowText = row.View(), endRow = endRowNumber.View(),
                                               bindText = bind.View();
                        LPCTSTR text = statement.c_str();  // the record sets take it up to a NUL
                        detail.clear();
                        switch (kind) {
                            case SqlCompile::Top20:
                            case SqlCompile::XactReport:
                                AddSqlXact(text, ms);
                                AddTop20Sql(name, (int32_t)startRow, (int32_t)lineNumber, (int32_t)bindRow,
                                            startDate, startTime, endTime, msText, text);
                                elapsedText.clear();
                                if (kind == SqlCompile::Top20)
                                    AppendElapsedMs(elapsedText, ms);
                                kLineA.Append(
                                    detail,
                                    {name.str(), rowText, endRow, bindText, startDate.str(), startTime.str(),
                                     endTime.str(),
                                     kind == SqlCompile::Top20 ? std::string_view(elapsedText) : msText.str(),
                                     statement});
                                break;
                            case SqlCompile::XactImz:
                                ++statementNumber;
                                number.Format("%d", statementNumber);
                                AddSqlDetail(number, (int32_t)startRow, (int32_t)lineNumber, (int32_t)bindRow,
                                             startDate, startTime, endTime, msText, gap, text);
                                kLineB.Append(detail, {number.str(), rowText, endRow, bindText,
                                                       startDate.str(), startTime.str(), endTime.str(),
                                                       msText.str(), gap.str(), statement});
                                break;
                            case SqlCompile::XactSqlSum:
                                upper = text;
                                upper.MakeUpper();
                                endRowText = endRowNumber.c_str();
                                AccumulateSqlSum(endRowText, upper, ms);
                                break;
                        }
                        if (!detail.empty())  // the line ends in CR LF already
                            write(detail, false);
                        ++recorded;
                    }
                }
                collecting = false;
                statement.clear();
                startDate.Empty();
                startTime.Empty();
                extraTime.Empty();
                endDate.Empty();
                endTime.Empty();
                msText.Empty();
                gap.Empty();
                startRow = 0;
                bindRow = 0;
            }
            pass.Step((int32_t)lineNumber);
        }
        if (pass.ReadFailed()) {  // a later block could not be read: nothing more is written or posted
            if (writesLog)
                closeReport();
            return pass.Finish(0, FALSE);
        }
        if (kind == SqlCompile::XactImz) {
            write(FormatString("\nThere were %d SQL statements.\n\n", m_nSqlCount), true);
            write(" \n", true);
        }
        if (writesLog)
            closeReport();
        pass.SetNoDataText(endsMet == 0 ? kNoSqlData : kNoData);
        const int32_t lines = (int32_t)pass.LineNumber();
        pass.Finish(lines, recorded == 0);
        static const UINT kPopulate[] = {0, WM_POPULATEXACTREPORT, WM_POPULATEXACTIMZSQLREPORT,
                                         WM_POPULATEXACTSQLSUMREPORT};
        if (kind == SqlCompile::XactSqlSum)
            ReorderSqlSummary();
        if (kPopulate[(int)kind])
            Host().PostToView(kPopulate[(int)kind], 0, 0);
        return lines;
    });
}

LRESULT CVeltrinAnalysis::OnRunT20SqlSumReport(WPARAM, LPARAM) {
    const char* const method = "CVeltrinView::OnRunT20SqlSumReport";
    TraceF("%s: _csCommand=%s", method, (LPCTSTR)_csCommand);
    if (_csCommand == WAIT_FOR_UPDATE)
        return 0;
    const CString name = RequestField(REQ_NAME);
    TakeCurrentRequest();
    const CString path = JoinPath(m_csBaseFolder, name);
    m_csSqlSummaryLogName = path;  // the histogram reads the same report log
    m_aSqlSum.DeleteAll();
    // The summary's report log is named now; its populate request writes it.
    m_csSqlReportFile = _csDocToOpen + ".log";
    m_csSqlReportLog = JoinPath(m_csBaseFolder, m_csSqlReportFile);

    TraceF("%s: Popup Wait modaless", method);
    CLogPass pass(*this, method, "Compiling SQL Summary Report...", name + "...", FALSE);
    pass.SetStatusEachStep(TRUE);
    return pass.Run([&]() -> int32_t {
        if (!pass.Open(path)) {
            TraceF("%s: %s", method,
                   GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES ? "GetFileAttributes failed"
                                                                      : "ReadFile failed");
            return 0;
        }
        CExpandedLine expander;
        CLineTokens tokens;
        bool inSummary = false;
        bool captionsNext = false;
        int32_t added = 0;
        CString key;
        std::string_view raw;
        while (pass.NextLine(raw)) {
            std::string_view line = expander.Expand(raw);
            if (!line.empty()) {
                if (HasText(line, "Top 20 SQL Statements:"))
                    break;
                if (HasText(line, "SQL Statement Count Summary:")) {
                    TraceF("%s: Found Title - SQL Statement Count Summary", method);
                    inSummary = true;
                    captionsNext = true;
                } else if (captionsNext) {
                    captionsNext = false;
                } else if (inSummary && tokens.Split(line, " ", 5) == 5) {
                    // count, total, minimum, maximum, then the statement; shorter lines are not summary lines
                    key.Format("%ld", pass.LineNumber());
                    const CString statement(TrimBlanks(line.substr(tokens.EndOf(3))));
                    AddSqlSum(key, statement, MsFromText(tokens.Text(0)), MsFromText(tokens.Text(1)),
                              MsFromText(tokens.Text(2)), MsFromText(tokens.Text(3)));
                    ++added;
                }
            }
            pass.Step((int32_t)pass.LineNumber());
        }
        if (pass.ReadFailed()) {
            TraceF("%s: ReadFile failed in While loop", method);
            return pass.Finish(0, FALSE);
        }
        const int32_t lines = (int32_t)pass.LineNumber();
        pass.Finish(lines, added == 0);
        ReorderSqlSummary();
        Host().PostToView(WM_POPULATET20SQLSUMREPORT, 0, 0);
        return lines;
    });
}
