// The SQL histogram: every execution of one statement, read back from the SQL report log its summary
// was compiled from.
#include <cstdlib>
#include <cstring>

#include "analysis/ExpandedLine.h"
#include "analysis/LineTokens.h"
#include "analysis/LogPass.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/File.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"
#include "platform/base/SearchNoCase.h"

namespace {
constexpr uint32_t kAskAbove = 100000;

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

bool HasDigit(std::string_view s) {
    for (char c : s)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

// One statement line of a SQL report log, in either layout: the eighth field is the milliseconds, or
// an "HH:MM:SS" time followed by "(N msec)". A time followed by a word such as "PM" is one time.
struct StatementLine {
    CString file, startRow, endRow, bindRow, date, startTime, endTime, ms;
    std::string_view statement;

    bool Parse(std::string_view line) {
        CLineTokens t;
        const int n = t.Split(line, " ", CLineTokens::kMaxTokens);
        int i = 0;
        auto next = [&]() { return i < n ? t.Text(i++) : CString(); };
        auto time = [&]() {
            CString value = next();
            if (i < n && t[i].find(':') == std::string_view::npos && !HasDigit(t[i]))
                value += ' ' + next();
            return value;
        };
        if (n < 2)
            return false;
        file = next();
        startRow = next();
        endRow = next();
        bindRow = next();
        date = next();
        startTime = time();
        endTime = time();
        if (i >= n)
            return false;
        const int eighth = i++;
        size_t rest = t.EndOf(eighth);
        ms = t.Text(eighth);
        if (t[eighth].find(':') != std::string_view::npos) {
            // "(N msec)" after the time holds the milliseconds; the statement follows it.
            std::string_view after = line.substr(rest);
            size_t open = after.find_first_not_of(' ');
            if (open != std::string_view::npos && after[open] == '(') {
                size_t close = after.find(" msec)", open);
                std::string_view digits = close == std::string_view::npos
                                              ? std::string_view()
                                              : after.substr(open + 1, close - open - 1);
                if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
                    ms = CString(digits);
                    rest += close + 6;
                }
            }
        }
        statement = TrimBlanks(line.substr(rest));
        return true;
    }
};
}  // namespace

uint32_t CVeltrinAnalysis::AskHistogramLimit(LPCTSTR recordNumber, LPCTSTR countText) {
    CString count(countText);
    if (Host().QueryTruncateHistogram(recordNumber, count) != IDOK)
        return 0;
    return (uint32_t)std::atol(count);
}

LRESULT CVeltrinAnalysis::OnRunSqlHistogramReport(WPARAM, LPARAM) {
    const char* const method = "CVeltrinView::OnRunSqlHistogramReport";
    TraceF("%s: _csCommand=%s", method, (LPCTSTR)_csCommand);
    if (_csCommand == WAIT_FOR_UPDATE)
        return 0;
    CString name = RequestField(REQ_NAME);
    CString record = RequestField(REQ_TYPE);
    const CString exe = RequestField(REQ_EXE);
    CString countText;
    int colon = record.Find(':');
    if (colon >= 0) {
        countText = record.Mid(colon + 1);
        record = record.Left(colon);
    }
    uint32_t limit = (uint32_t)std::atol(countText);
    if (limit > kAskAbove) {
        limit = AskHistogramLimit(record, countText);
        if (limit == 0)
            return 0;
    }
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = record;
    m_csCurAction = exe;
    const CString path = name.Find('/') >= 0 ? name : JoinPath(m_csBaseFolder, name);
    int slash = name.ReverseFind('/');
    if (slash >= 0)
        name = name.Mid(slash + 1);

    TraceF("%s: Popup Wait modaless", method);
    CLogPass pass(*this, method, "Compiling SQL Histogram Report...", name + "...", FALSE);
    pass.SetStatusEachStep(TRUE);
    pass.SetMemoryFailureText("Out of Memory!\nTry rerun the listview with limit on list lines.");
    return pass.Run([&]() -> int32_t {
        m_aSqlDetail.DeleteAll();
        TraceF("%s: Before GetFileAttributes - %s", method, (LPCTSTR)path);
        const bool exists = GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
        if (exists)
            TraceF("%s: Before CreateFile - %s", method, (LPCTSTR)path);
        if (!pass.Open(path)) {
            TraceF("%s: %s", method, exists ? "ReadFile failed" : "GetFileAttributes failed");
            return 0;
        }
        CExpandedLine expander;
        StatementLine parsed;
        uint32_t stored = 0;
        CString key;
        std::string_view raw;
        const std::string_view wanted = exe.str();
        CString upper = exe;
        for (int i = 0; i < upper.GetLength(); ++i)
            upper.SetAt(i, AsciiUpper(upper[i]));
        bool stop = false;
        while (!stop && pass.NextLine(raw)) {
            std::string_view line = expander.Expand(raw);
            if (line.empty()) {
                // passed over
            } else if (HasText(line, "There were ")) {
                stop = true;  // the count line closes the statement section
            } else if (HasText(line, "Filename                     StartRow")) {
                TraceF("%s: Found Title - Filename", method);
            } else if ((HasText(line, wanted) ||
                        FindNoCase(line.data(), line.size(), upper.str()) != kNotFound) &&
                       line.find(' ') != std::string_view::npos && parsed.Parse(line) &&
                       parsed.statement == wanted) {
                ++stored;
                key.Format("%u", stored);
                AddHistogramSql(key, std::atoi(parsed.startRow), std::atoi(parsed.endRow),
                                std::atoi(parsed.bindRow), parsed.date, parsed.startTime, parsed.endTime,
                                parsed.ms, parsed.file, CString(parsed.statement));
                stop = stored >= limit;
            }
            pass.Step((int32_t)stored);
        }
        if (pass.ReadFailed()) {
            TraceF("%s: ReadFile failed in While loop", method);
            return pass.Finish(0, FALSE);
        }
        const int32_t lines = (int32_t)pass.LineNumber();
        pass.Finish((int32_t)stored, stored == 0);
        Host().PostToView(WM_POPULATESQLHISTOGRAMREPORT, 0, 0);
        return lines;
    });
}

LRESULT CVeltrinAnalysis::OnReorderHistogram(WPARAM, LPARAM) {
    Host().BeginWaitCursor();
    if (m_csListKey.Find("HISTOGRAM") >= 0) {
        ReorderHistogramDataset();
        Host().PostToView(WM_POPULATESQLHISTOGRAMREPORT, 0, 0);
    }
    Host().EndWaitCursor();
    return 0;
}
