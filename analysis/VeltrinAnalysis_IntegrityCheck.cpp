// Transaction integrity check (TIC) of QServer logs: pairs transaction and SQL start tags with their end
// tags and lists every start that another start of its kind followed before its end came. The single
// pass checks one log; the batch pass checks each log of a batch into one list and one report log.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/ReportFormat.h"
#include "analysis/LogPass.h"
#include "analysis/ReportLog.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"

namespace {
const char kXactTag[] = "| START";
const char kXactError[] = "No '| End' Transaction tag found";
const char kSqlTag[] = "-- START";
const char kSqlError[] = "No '-- End' SQL tag found";

const char kSingleCaptions[] =
    " Records    |   Line    |     Tag           |        ErrorType                   |";
const char kSingleTypes[] = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
const char kSingleFormat[] = "%-10s  %-10s  %-24s  %s\n";

const char kBatchCaptions[] =
    " Records    |   Line      |                   File                     |      Tag      "
    "|        ErrorType           |";
const char kBatchTypes[] = "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|";
const char kBatchFormat[] = "%-10s  %-10s  %-48s  %-24s  %s\n";

inline bool Holds(std::string_view line, std::string_view marker) {
    return line.find(marker) != std::string_view::npos;
}

// The tags are matched on the line with its tabs expanded, where any control byte becomes blanks and
// every other byte stays: a tag's longest blank-free word is then in the raw line too, so lines without
// any of these words are passed over unexpanded.
std::vector<std::string> RawWords(std::initializer_list<std::string_view> tags) {
    std::vector<std::string> words;
    for (std::string_view tag : tags) {
        std::string_view longest;
        for (size_t at = 0; at < tag.size();) {
            size_t blank = std::min(tag.find(' ', at), tag.size());
            if (blank - at > longest.size())
                longest = tag.substr(at, blank - at);
            at = blank + 1;
        }
        words.emplace_back(longest);
    }
    return words;
}

// The pairing of start and end tags over one log. The end tags differ between the passes.
struct TagChecker {
    const char* sqlEnd;
    const char* xactEnd;
    bool xactClosed = true;
    long xactStartLine = 0;
    bool sqlClosed = true;
    long sqlStartLine = 0;
    long sqlStarts = 0;

    // An error found at this line: the tag, its type and the line of the start left open.
    struct Error {
        const char* tag;
        const char* type;
        long line;
    };

    // True with the error when the line reports one.
    bool Check(std::string_view line, long number, Error& error) {
        bool found = false;
        if (Holds(line, "| Start") && !Holds(line, "PEC_TRACE")) {
            if (!xactClosed) {
                error = {kXactTag, kXactError, xactStartLine};
                found = true;
            }
            xactStartLine = number;
            xactClosed = false;
        } else if (Holds(line, "-- START:")) {
            ++sqlStarts;
            if (!sqlClosed) {
                error = {kSqlTag, kSqlError, sqlStartLine};
                found = true;
            }
            sqlStartLine = number;
            sqlClosed = false;
        } else if (Holds(line, sqlEnd)) {
            sqlClosed = true;
        } else if (Holds(line, xactEnd)) {
            xactClosed = true;
        }
        return found;
    }
};

// The pad text after a log: errors are named whenever the list holds any, and the note on the logging
// level follows whenever the log held no SQL start.
CString PadSummary(int listRows, long sqlStarts) {
    CString pad = listRows > 0 ? "Integrity Check:  There were errors found.\r\n\r\n" : "No Errors found.";
    if (sqlStarts == 0)
        pad += "\r\nNo SQL data found, suspect QServer logging level < 4.\r\n\r\n";
    return pad;
}
}  // namespace

int32_t CVeltrinAnalysis::PerformTICAnalysis(LPCTSTR name, LPCTSTR, LPCTSTR exe) {
    CLogPass pass(*this, "CVeltrinView::PerformTICAnalysis", "Processing TIC Analysis Report...",
                  "Analyzing QServer Content...");
    pass.SetUpList(exe, kSingleCaptions, kSingleTypes);
    CString path = JoinPath(m_csBaseFolder, name);
    if (!pass.CheckAvailable(path))
        return 0;
    pass.SetProgressText("Analyzing TIC...\n%ld");
    pass.SetMarkers(RawWords({"| Start", "-- START:", "**** SQL ", "TRANSACTION TIME"}));

    return pass.Run([&]() -> int32_t {
        CReportLog report(JoinPath(m_csBaseFolder, SingleReportLogName(name, "_TIC.log")));
        report.Delete();
        if (!report.Open())
            return 0;
        report.AppendFormat(kSingleFormat, "Records", "Line", "Tag", "ErrorType");
        if (!pass.Open(path))
            return 0;  // the report log keeps its header line

        gxListModel& list = List();
        TagChecker checker{"**** SQL ", "TRANSACTION TIME"};
        int32_t errors = 0;
        CString buffer;
        std::string_view line;
        while (pass.NextLine(line)) {
            TagChecker::Error error;
            if (!line.empty() && checker.Check(ExpandedTabs(line, buffer.str()), pass.LineNumber(), error)) {
                const CDecimalText recordsText((long)errors + 1), lineText(error.line);
                const std::string_view cells[4] = {recordsText.View(), lineText.View(), error.tag,
                                                   error.type};
                int item = list.AddRow(errors, cells, 4);
                list.SetItemBkColor(item, gxListModel::kEvenRowColor, true);
                report.AppendFormat(kSingleFormat, recordsText.c_str(), lineText.c_str(), error.tag,
                                    error.type);
                ++errors;
            }
            // The records pane follows the lines read while the check runs.
            pass.Step(pass.LineNumber());
        }

        report.Close();
        if (pass.ReadFailed())
            return pass.FinishOwn(errors, errors);
        if (errors == 0)
            report.Delete();
        m_csPadText = PadSummary(list.GetItemCount(), checker.sqlStarts);
        ShowPadText(m_csPadText);
        Host().PostToMainWindow(WM_HIGHLIGHTROW, 0, 0);
        return pass.FinishOwn(errors, errors);
    });
}

int32_t CVeltrinAnalysis::PerformTICAnalysisAll(LPCTSTR name, LPCTSTR, LPCTSTR exe) {
    CLogPass pass(*this, "CVeltrinView::PerformTICAnalysisAll", "Processing Time Analysis Report...",
                  "Itemizing QServer Content...");
    const bool fresh = g_bWaitForUpdate != 0;
    if (fresh)
        pass.SetUpList(exe, kBatchCaptions, kBatchTypes);
    else
        RestoreColumnWidths(m_csReportType);

    CString path = JoinPath(m_csBaseFolder, name);
    m_csPadText += path;
    if (path.Find(" - N/A") >= 0) {
        m_csPadText += " No Data Available\r\n\r\n";
        ShowPadText(m_csPadText);
        return 0;
    }
    pass.SetFixedStep(1000);
    pass.SetProgressText("TIC Analysis...\n%ld");
    pass.SetMarkers(RawWords({"| Start", "-- START:", "-- END:", "| End"}));

    return pass.Run([&]() -> int32_t {
        CString header = FormatString(kBatchFormat, "Records", "Line", "File", "Tag", "ErrorType");
        CReportLog report(JoinPath(m_csBaseFolder, BatchReportLogName(_csDocToOpen, _csListKey, "_TIC.log")));
        if (fresh)
            report.Delete();
        if (!report.OpenWithHeader(header))
            return 0;
        if (!pass.Open(path)) {
            report.CloseDeletingHeaderOnly(header);
            return 0;
        }

        gxListModel& list = List();
        TagChecker checker{"-- END:", "| End"};
        int32_t errors = 0;
        CString buffer;
        std::string_view line;
        while (pass.NextLine(line)) {
            TagChecker::Error error;
            if (!line.empty() && checker.Check(ExpandedTabs(line, buffer.str()), pass.LineNumber(), error)) {
                const CDecimalText recordsText((long)errors + 1), lineText(error.line);
                // A later log's rows stand above those of the logs before it.
                const std::string_view cells[5] = {recordsText.View(), lineText.View(), name, error.tag,
                                                   error.type};
                list.AddRow(std::min(errors, (int32_t)list.GetItemCount()), cells, 5);
                report.AppendFormat(kBatchFormat, recordsText.c_str(), lineText.c_str(), name, error.tag,
                                    error.type);
                ++errors;
            }
            pass.Step(errors);
        }

        report.CloseDeletingHeaderOnly(header);
        if (pass.ReadFailed())
            return pass.FinishOwn(0, 0);
        m_csPadText = PadSummary(list.GetItemCount(), checker.sqlStarts);
        ShowPadText(m_csPadText);
        ActivatePadTab();
        g_nBatchRecordCount += errors;
        ShowLogNamePane("");
        return pass.FinishOwn(errors, 0);
    });
}
