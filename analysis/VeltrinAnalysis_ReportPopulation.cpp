// The populate handlers: each turns a compiled data set into the view's report list, finishes or writes
// the report log where the report has one, and ends the list with its marker row.
#include <memory>
#include <string>

#include "analysis/ReportFormat.h"
#include "analysis/ReportLog.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"

namespace {

CString AlphaTypes(int columns) {
    CString types;
    for (int i = 0; i < columns; ++i)
        types += "MCL_ALPHA|";
    return types;
}

// The wait dialog of a populate walk: it shows how many rows were added every `step` rows. The walk
// runs to its end; the continue flag is not read.
class PopulateWait {
public:
    PopulateWait(CVeltrinAnalysis& view, int32_t total, LPCTSTR firstText, LPCTSTR stepLine, int32_t step,
                 LPCTSTR statusEachStep)
        : m_view(view), m_stepLine(stepLine), m_step(step), m_status(statusEachStep ? statusEachStep : "") {
        m_wait = view.Host().OpenWaitDialog(&m_continue, total);
        m_wait->SetMessageText(firstText);
        view.Host().BeginWaitCursor();
    }
    ~PopulateWait() {
        Close();
        m_view.Host().EndWaitCursor();
    }
    void Row(int32_t rows) {
        if (rows % m_step == 0)
            Update(m_stepLine, rows);
    }
    void Update(const CString& firstLine, int32_t rows) {
        CString text = firstLine;
        text.AppendFormat("%ld lines processed", (long)rows);
        m_wait->SetMessageText(text);
        m_view.ShowRecordCount(rows);
        if (!m_status.IsEmpty())
            m_view.ShowStatusText(m_status);
        m_wait->SetProgress(rows);
        m_view.Host().RestoreWaitCursor();
    }
    void Close() { m_wait->Close(); }

private:
    CVeltrinAnalysis& m_view;
    CString m_stepLine;
    int32_t m_step;
    CString m_status;
    BOOL m_continue = TRUE;
    std::unique_ptr<IAnalysisWait> m_wait;
};

// The report log a summary list writes beside its rows: a new file with a header line. After a write
// error it says so once and writes nothing more; the list is still filled.
class SummaryLog {
public:
    SummaryLog(CVeltrinAnalysis& view, const CString& path) : m_view(view), m_path(path) {}
    BOOL Open() {
        CReportLog(m_path).Delete();
        m_open = m_view.OpenReportLog(m_file, m_path);
        return m_open;
    }
    void Write(const std::string& line) {
        if (!m_open)
            return;
        try {
            m_file.WriteString(line.c_str());
        } catch (CFileException* e) {
            e->Delete();
            Fail();
        }
    }
    void Close() {
        if (!m_open)
            return;
        try {
            m_file.Close();
        } catch (CFileException* e) {
            e->Delete();
            Fail();
        }
        m_open = false;
    }

private:
    void Fail() {
        m_file.Abort();
        m_open = false;
        m_view.Host().MessageBox(FormatString("Unable to write to the file: \n %s", (LPCTSTR)m_path).c_str(),
                                 MB_OK | MB_ICONEXCLAMATION);
    }
    CVeltrinAnalysis& m_view;
    CString m_path;
    CStdioFile m_file;
    bool m_open = false;
};

// The average of a summary row: integer division where it means something, else "n/c".

CString Average(int32_t total, int32_t count) {
    if (total > 0 && count > 0)
        return NumberString(total / count);
    if (total > 0 && count == 0)
        return NumberString(total);
    if (total == 0 && count > 0)
        return NumberString(0);
    return "n/c";
}

// The statement count summary in rank order, into the list and the report log (with its header line);
// the average column only in the top-20 summary. Returns the rows.
int FillSqlSumRows(CMapStrToObjSqlSum& set, gxListModel& list, SummaryLog& log, PopulateWait& wait,
                   bool withAverage) {
    static const char kFormat[] = "%-10s  %-24s  %-10s  %-10s  %s\n";
    static const char kAverageFormat[] = "%-10s  %-24s  %-10s  %-10s  %-10s  %s\n";
    if (withAverage)
        log.Write(FormatString(kAverageFormat, "Count", "TotalMillis", "MinMillis", "MaxMillis", "AvgMillis",
                               "Statement"));
    else
        log.Write(FormatString(kFormat, "Count", "TotalMillis", "MinMillis", "MaxMillis", "Statement"));
    const int32_t count = set.GetCount();
    int row = 0;
    CString key;
    for (int32_t k = 1; k <= count; ++k) {
        CSqlSum r;
        key.Format("%d", k);
        if (!set.Get(key, r))
            continue;
        const CString total = CVeltrinAnalysis::FormatElapsedMs(r.m_nTotalMs);
        const CString cnt = NumberString(r.m_nCount), mn = NumberString(r.m_nMinMs),
                      mx = NumberString(r.m_nMaxMs);
        list.AddItem(row, 0, key);
        list.AddItem(row, 1, cnt);
        list.AddItem(row, 2, total);
        list.AddItem(row, 3, mn);
        list.AddItem(row, 4, mx);
        if (withAverage) {
            const CString avg = Average(r.m_nTotalMs, r.m_nCount);
            list.AddItem(row, 5, avg);
            list.AddItem(row, 6, r.m_csStatement);
            log.Write(FormatString(kAverageFormat, (LPCTSTR)cnt, (LPCTSTR)total, (LPCTSTR)mn, (LPCTSTR)mx,
                                   (LPCTSTR)avg, (LPCTSTR)r.m_csStatement));
        } else {
            list.AddItem(row, 5, r.m_csStatement);
            log.Write(FormatString(kFormat, (LPCTSTR)cnt, (LPCTSTR)total, (LPCTSTR)mn, (LPCTSTR)mx,
                                   (LPCTSTR)r.m_csStatement));
        }
        ++row;
        wait.Row(row);
    }
    return row;
}
}  // namespace

CString CVeltrinAnalysis::TakeCurrentRequest() {
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = RequestField(REQ_TYPE);
    m_csCurAction = RequestField(REQ_EXE);
    return m_csCurAction;
}

void CVeltrinAnalysis::SetUpReportList(LPCTSTR title, LPCTSTR captions, LPCTSTR types, int hiddenColumn) {
    gxListModel& list = List();
    list.ResetList();
    list.m_csTitle = title;
    list.m_csNames = captions;
    list.m_csTypes = types;
    int columns = 0;
    for (const char* p = captions; *p; ++p)
        if (*p == '|')
            ++columns;
    list.SetColumns(columns);
    if (hiddenColumn >= 0)
        list.SetColumnWidth(hiddenColumn, 0);  // a saved layout may show it again
    RestoreColumnWidths(m_csReportType);
}

// Closes the SQL report log of a top-20 or transaction report: the count line, the ranking, and the
// count summary and top-20 sections.
BOOL CVeltrinAnalysis::FinishSqlReportLog() {
    CStdioFile report;
    if (!OpenReportLog(report, m_csSqlReportLog))
        return FALSE;
    try {
        report.WriteString(FormatString("There were %d SQL statements.\n\n", m_nSqlCount).c_str());
        report.WriteString(" \n");
        report.Close();
    } catch (CFileException* e) {
        e->Delete();
        report.Abort();
        Host().MessageBox(
            FormatString("Unable to write to the file: \n %s", (LPCTSTR)m_csSqlReportLog).c_str(),
            MB_OK | MB_ICONEXCLAMATION);
    }
    ReorderTop20SqlList();
    WriteSqlCountSummary();
    WriteTop20SqlList();
    return TRUE;
}

LRESULT CVeltrinAnalysis::OnPopulateXactImzSqlReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateXactImzSqlReport: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString name = RequestField(REQ_NAME);
    const CString exe = TakeCurrentRequest();
    ShowStatusText("Final Processing Transaction Itemize SQL Report...");
    SetUpReportList(
        exe,
        " SQL #    |  StartRow   |   EndRow   | StartBindRow |    Date    | StartTime |  EndTime  |   "
        "ElapsedTime   |   Gap    |          SQL Statement          | File |",
        AlphaTypes(11), 10);

    gxListModel& list = List();
    const int32_t count = m_aSqlDetail.GetCount();
    PopulateWait wait(*this, count, name + "...", name + "...\n", count < 1000 ? 100 : 1000, nullptr);
    int row = 0;
    CString key;
    for (int32_t k = 1; k <= count; ++k) {
        CSqlDetail r;
        key.Format("%d", k);
        if (!m_aSqlDetail.Get(key, r))
            continue;
        list.AddItem(row, 0, key);
        list.AddItem(row, 1, NumberString(r.m_nStartRow));
        list.AddItem(row, 2, NumberString(r.m_nEndRow));
        list.AddItem(row, 3, NumberString(r.m_nStartBindRow));
        list.AddItem(row, 4, r.m_csDate);
        list.AddItem(row, 5, r.m_csStartTime);
        list.AddItem(row, 6, r.m_csEndTime);
        list.AddItem(row, 7, FormatElapsedMs(MsFromText(r.m_csElapsedMs)));
        list.AddItem(row, 8, r.m_csTimeText);
        list.AddItem(row, 9, r.m_csStatement);
        list.AddItem(row, 10, name);
        ++row;
        wait.Row(row);
    }
    wait.Update(name + "...\n", row);
    if (row > 0) {
        list.AddItem(row, 0, "XACTIMZSQL");
        list.AddItem(row, 1, m_csSqlReportFile);
    }
    wait.Close();
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateXactImzSqlReport");
    return row;
}

LRESULT CVeltrinAnalysis::OnPopulateXactSqlSumReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateXactSqlSumReport: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString name = RequestField(REQ_NAME);
    const CString exe = TakeCurrentRequest();
    SetUpReportList(
        exe,
        " Record    |  Count  |   Elapsed Time   | MinMillis | MaxMillis |           SQL Statement     "
        "       |",
        AlphaTypes(6), -1);

    SummaryLog log(*this, m_csSqlReportLog);
    if (!log.Open())
        return 0;
    gxListModel& list = List();
    PopulateWait wait(*this, m_aSqlSum.GetCount(), name + "...", name + "...\n", 10, nullptr);
    const int row = FillSqlSumRows(m_aSqlSum, list, log, wait, false);
    wait.Update(name + "...\n", row);
    if (row > 0) {
        list.AddItem(row, 0, "XACTSQLSUM");
        list.AddItem(row, 1, m_csSqlReportFile);
    }
    log.Close();
    wait.Close();
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateXactSqlSumReport");
    return row;
}

LRESULT CVeltrinAnalysis::OnPopulateT20SqlSumReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateT20SqlSumReport: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString name = RequestField(REQ_NAME);
    const CString exe = TakeCurrentRequest();
    SetUpReportList(
        exe,
        " Record    |   Count   |     TotalMillis     | MinMillis | MaxMillis | AvgMillis |            "
        "        SQL Statement                     |",
        AlphaTypes(7), 0);

    SummaryLog log(*this, m_csSqlReportLog);
    if (!log.Open())
        return 0;
    gxListModel& list = List();
    PopulateWait wait(*this, m_aSqlSum.GetCount(), name + "...", name + "...\n", 10, nullptr);
    const int row = FillSqlSumRows(m_aSqlSum, list, log, wait, true);
    wait.Update(name + "...\n", row);
    log.Close();
    wait.Close();
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateT20SqlSumReport");
    return row;
}

int CVeltrinAnalysis::AddTop20SqlRows(gxListModel& list, bool withGap) {
    const int32_t count = m_aTop20Sql.GetCount();
    int row = 0;
    CString key;
    for (int32_t k = 1; k <= count; ++k) {
        CSqlDetail r;
        key.Format("%d", k);
        if (!m_aTop20Sql.Get(key, r))
            continue;
        list.AddItem(row, 0, NumberString(row + 1));
        list.AddItem(row, 1, r.m_csFile);
        list.AddItem(row, 2, NumberString(r.m_nStartRow));
        list.AddItem(row, 3, NumberString(r.m_nEndRow));
        list.AddItem(row, 4, NumberString(r.m_nStartBindRow));
        list.AddItem(row, 5, r.m_csDate);
        list.AddItem(row, 6, r.m_csStartTime);
        list.AddItem(row, 7, r.m_csEndTime);
        list.AddItem(row, 8, FormatElapsedMs(MsFromText(r.m_csElapsedMs)));
        int column = 9;
        if (withGap)
            list.AddItem(row, column++, r.m_csTimeText);
        list.AddItem(row, column, r.m_csStatement);
        ++row;
    }
    return row;
}

LRESULT CVeltrinAnalysis::OnPopulateXactReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateXactReport: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString exe = TakeCurrentRequest();
    if (!FinishSqlReportLog())
        return 0;
    SetUpReportList(
        exe,
        " Records  |         Filename                     |  StartRow   |   EndRow   | StartBindRow |   "
        " Date    | StartTime |  EndTime  |   ElapsedTime   |   Gap   |          SQL Statement          |",
        AlphaTypes(11), -1);
    gxListModel& list = List();
    const int row = AddTop20SqlRows(list, true);
    if (row > 0) {
        list.AddItem(row, 0, m_csListKey + "_LOG");
        list.AddItem(row, 1, m_csSqlReportFile);
    } else {
        m_csPadText = "\r\n No SQL Transactions Found in this Transaction.";
        ShowPadText(m_csPadText);
    }
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateXactReport");
    return row;
}

LRESULT CVeltrinAnalysis::OnPopulateTop20SqlSummary(WPARAM, LPARAM) {
    // These two trace texts are the ones the trace log has always shown for this list.
    TraceF("CVeltrinView::OnPopulateTop20TransxSummary: _csCommand=%s", (LPCTSTR)_csCommand);
    const CString exe = TakeCurrentRequest();
    if (!FinishSqlReportLog())
        return 0;
    SetUpReportList(
        exe,
        " Records  |         Filename                     |  StartRow   |   EndRow   | StartBindRow |   "
        " Date    | StartTime |  EndTime  |    ElapsedTime       |          SQL Statement          |",
        AlphaTypes(10), -1);
    gxListModel& list = List();
    const int row = AddTop20SqlRows(list, false);
    if (row > 0) {
        list.AddItem(row, 0, "TOP20LOG");
        list.AddItem(row, 1, m_csSqlReportFile);
        // The SQL statement count summary of this report can follow by itself.
        if (Host().GetProfileInt("Settings", "StartSqlSumRptOnT20", 0) == 1)
            OnRunSubitemItemize(row);
    }
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateTop20TransxSummary");
    return row;
}

LRESULT CVeltrinAnalysis::OnPopulateSqlHistogramReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnPopulateSqlHistogramReport: _csCommand=%s", (LPCTSTR)_csCommand);
    CString name = RequestField(REQ_NAME);
    int slash = name.ReverseFind('/');
    if (slash >= 0)
        name = name.Mid(slash + 1);
    const CString exe = TakeCurrentRequest();
    static const char kStatus[] = "Loading SQL Histogram Report...";
    ShowStatusText(kStatus);
    SetUpReportList(
        exe,
        " SQL #    |   Filename    |  StartRow   |   EndRow   | StartBindRow |    Date    | StartTime |  "
        "EndTime  |   ElapsedTime   |          SQL Statement          |",
        AlphaTypes(10), 2);
    Host().SetListRedraw(FALSE);

    gxListModel& list = List();
    const int32_t count = m_aSqlDetail.GetCount();
    PopulateWait wait(*this, count, "Loading SQL Histogram...", CString(kStatus) + "\n",
                      count < 1000 ? 100 : 1000, kStatus);
    int row = 0;
    CString key;
    for (int32_t k = 1; k <= count; ++k) {
        CSqlDetail r;
        key.Format("%d", k);
        if (!m_aSqlDetail.Get(key, r))
            continue;
        list.AddItem(row, 0, key);
        list.AddItem(row, 1, r.m_csFile);
        list.AddItem(row, 2, NumberString(r.m_nStartRow));
        list.AddItem(row, 3, NumberString(r.m_nEndRow));
        list.AddItem(row, 4, NumberString(r.m_nStartBindRow));
        list.AddItem(row, 5, r.m_csDate);
        list.AddItem(row, 6, r.m_csStartTime);
        list.AddItem(row, 7, r.m_csEndTime);
        list.AddItem(row, 8, FormatElapsedMs(MsFromText(r.m_csElapsedMs)));
        list.AddItem(row, 9, r.m_csStatement);
        ++row;
        wait.Row(row);
    }
    wait.Update(name + "...\n", row);
    wait.Close();
    Host().SetListRedraw(TRUE);
    ShowStatusText("Ready");
    Trace("End CVeltrinView::OnPopulateSqlHistogramReport");
    return row;
}
