// The report view's analysis side: its state and every analysis member. The view derives from this
// class, so the members keep their names (CVeltrinView::ParseLogTimeMs). The pure helpers are static.
#pragma once

#include <atomic>
#include <memory>

#include "analysis/AnalysisHost.h"
#include "platform/base/Collections.h"
#include "platform/base/String.h"

// The report data sets.
#include "analysis/records/MapStrToObjClient.h"
#include "analysis/records/MapStrToObjCltXact.h"
#include "analysis/records/MapStrToObjSqlDetail.h"
#include "analysis/records/MapStrToObjSqlSum.h"
#include "analysis/records/MapStrToObjSqlXact.h"
#include "analysis/records/MapStrToObjXact.h"
#include "analysis/records/MapStrToObjXactDetail.h"

class gxListModel;
class CFileException;
class CStdioFile;

// The number of elapsed-time workers started in the current run.
extern int g_nRunningWorkers;

class CVeltrinAnalysis {
public:
    explicit CVeltrinAnalysis(IAnalysisHost* host = nullptr) : m_pHost(host) {}
    virtual ~CVeltrinAnalysis();
    CVeltrinAnalysis(const CVeltrinAnalysis&) = delete;
    CVeltrinAnalysis& operator=(const CVeltrinAnalysis&) = delete;

    void SetHost(IAnalysisHost* host) { m_pHost = host; }
    IAnalysisHost& Host() const { return *m_pHost; }
    gxListModel& List() const;
    // Copies the request strings the view keeps for its life (at its creation).
    void CopyRequestStrings();

    // ---- Dispatch ----
    // WM_VIEWDATA / WM_VIEWDATAEX: runs itemize, TA or TIC for _csCommand.
    LRESULT OnViewData(WPARAM wParam, LPARAM lParam);
    // Follow-up report from a row of this view's list.
    int32_t OnRunSubitemItemize(int row);

    // ---- Passes ----
    int32_t PopulateGridQBrokerItemizeEx(LPCTSTR name, LPCTSTR type, LPCTSTR exe, LPCTSTR search);
    int32_t PopulateGridQServerItemizeEx(LPCTSTR name, LPCTSTR type, LPCTSTR exe, LPCTSTR search);
    int32_t PerformTimeAnalysis(LPCTSTR name, LPCTSTR type, LPCTSTR exe);
    int32_t PerformTimeAnalysisAll(LPCTSTR name, LPCTSTR type, LPCTSTR exe);
    int32_t PerformTICAnalysis(LPCTSTR name, LPCTSTR type, LPCTSTR exe);
    int32_t PerformTICAnalysisAll(LPCTSTR name, LPCTSTR type, LPCTSTR exe);

    // ---- SQL time analysis and transaction integrity check ----
    // Shows on the pad page the part of a QServer log from a row's line (decimal text) to the end of
    // its transaction, at most 2,000 lines.
    void LoadQServerExcerpt(LPCTSTR logName, LPCTSTR lineNumber);
    // Report log of a single-log pass: the log name up to its first '.' followed by the suffix.
    static CString SingleReportLogName(LPCTSTR name, LPCTSTR suffix);
    // Report log of a batch: docToOpen with "." appended, or listKey when docToOpen is empty, up to its
    // first '.' followed by the suffix; a text without '.' is the name as it stands.
    static CString BatchReportLogName(LPCTSTR docToOpen, LPCTSTR listKey, LPCTSTR suffix);

    // ---- The view's services the passes use ----
    void ShowRecordCount(int32_t count);  // " Records: %d" into _csRecordsText and the records pane
    void ShowStatusText(LPCTSTR text);    // into _csStatusText and pane 0
    void ShowLogNamePane(LPCTSTR text);   // into _csLogNameText and the log-name pane
    void ShowPadText(LPCTSTR text);
    void ClearPadText();
    void ActivatePadTab();
    void ShowOutputBarOnce();
    // Applies the column widths saved under the layout's profile section ("BlankList" for none).
    void RestoreColumnWidths(LPCTSTR layout);
    // The log line of a statistics row's transaction (0 when not found); the report view supplies it.
    virtual int32_t GetLineNumber(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR key3);
    // Trace line of the view's passes; the text is written unchanged.
    void Trace(LPCTSTR text) const;
    void TraceF(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

    // ---- Time arithmetic ----
    // Milliseconds since the start of the stamp's year of "YYYY-MM-DD HH:MM:SS.fff"; fields that are
    // missing or not digits read as 0; the year itself does not enter the value.
    static double ParseLogTimeMs(LPCTSTR stamp);
    // end - start when start is not after end, else 0.
    static double ElapsedMs(LPCTSTR startStamp, LPCTSTR endStamp);
    static CString FormatHms(int32_t ms);        // "%02d:%02d:%02d"; hours are not limited
    static CString FormatElapsedMs(int32_t ms);  // "%02d:%02d:%02d (%d msec)"
    static BOOL IsWholeNumber(float value);
    static BOOL IsLeapYear(LPCTSTR year);

    // ---- Text extraction ----
    static void ExtractMarkerWord(LPCTSTR marker, LPCTSTR text, CString& word);
    static void ExtractMarkerWordAndName(LPCTSTR marker, LPCTSTR text, CString& word, CString& name);
    static void ExtractMarkerValues(LPCTSTR marker, LPCTSTR text, CString& value, CString& path);
    // Appends the tokens of text between runs of delimiters; returns how many were appended.
    static int SplitToArray(LPCTSTR text, CStringArray& tokens, LPCTSTR delimiters);
    // The entry of the loaded log's setting list that equals the search text (or it followed by
    // " - N/A"), else the first that contains it; empty when none or when the log is not loaded.
    static CString FindInSettingList(LPCTSTR key, LPCTSTR search);
    static void StripIdSuffix(CString& text);
    // A statistics row's transaction as its server log writes it: a login's " : user" cut off.
    static CString ServerTransaction(LPCTSTR transaction);
    static int32_t SplitIdNumber(CString& text);
    static void SplitColonFields(LPCTSTR text, CString& first, CString& second, CString& third);
    static BOOL IsOneChar(LPCTSTR text, char ch);

    // ---- State the view keeps ----
    // Copies of the request strings taken when the view was created.
    CString m_csListKey;
    CString m_csReportName;
    CString m_csItemKind;
    CString m_csLogType;
    CString m_csReportType;  // also the column-layout name
    CString m_csBaseFolder;
    // The current request.
    CString m_csCurListKey;
    CString m_csCurItemKind;  // TYPE of the last request
    CString m_csCurAction;    // EXE of the last request
    // Text of the view's pad page, built by the passes.
    CString m_csPadText;
    bool m_bOutputBarShown = false;
    // The log name the SQL summary pass remembers for the histogram follow-up.
    CString m_csSqlSummaryLogName;

    // ---- CSV export and import ----
    // WM_EXPORTLIST: wParam the proposed file name without extension (a text). Returns 0.
    LRESULT ExportListViewToCsv(WPARAM wParam, LPARAM lParam);
    // WM_IMPORTCSV: loads a chosen CSV file, or any other text file, into the list; returns the rows.
    LRESULT ImportCsvToListView(WPARAM wParam, LPARAM lParam);
    // The export path: the proposed name before the dialog, the chosen path after it.
    CString m_csExportFileName;
    // The folder an import read its file from.
    CString m_csImportFolder;

    // ---- Statistics by client machine and server ----
    // WM_RUNSTATSREPORT: fills the statistics list that _csReportName names; returns its rows.
    LRESULT OnRunStatsReport(WPARAM wParam, LPARAM lParam);
    int32_t OnRunCMStatsReport();
    int32_t OnRunHSStatsReport();
    // "STATS_CM%d" or "STATS_HS%d": the list the statistics request asked for (also its title).
    CString m_csListKind;

    // ---- Elapsed-time workers ----
    // What one worker needs; created by the starter, owned and deleted by the worker.
    struct ElapsedTimeRequest {
        IAnalysisHost* window;  // the view's window: the results are sent there
        CString records;
        CString folder;
        CString qserverLog;
        CString date;
        CString time;
        CString clientId;
        CString transaction;
        const std::atomic<bool>* stop;  // set when the view goes; tested at every line
    };
    static constexpr int kMaxWorkers = 10;
    static constexpr UINT kPumpTimerId = 1;
    static constexpr int kResultBufferSize = 8192;

    // WM_RUNETTHREADS: a worker for every statistics row that names a QServer log, 10 at most at once.
    LRESULT OnRunETCalculationThreads(WPARAM wParam, LPARAM lParam);
    // The worker: the lookup, once more a second later without the id's suffix, then the result sent.
    static UINT ElapsedTimeThreadProc(LPVOID param);
    // The lookup on a worker thread; sends a progress message every 50,000 lines. Returns the elapsed
    // text or "N/A"; qserverLine receives the start line's number.
    static CString ThreadGetElapsedTime(IAnalysisHost* window, const std::atomic<bool>* stop, LPCTSTR records,
                                        LPCTSTR folder, LPCTSTR qserverLog, LPCTSTR transaction,
                                        LPCTSTR clientId, LPCTSTR date, LPCTSTR time, CString& qserverLine);
    // WM_ELAPSEDTIMERESULT: wParam the records text, lParam the result text; frees both buffers and
    // answers TRUE (taken), so that a sender whose message no view took frees them itself.
    LRESULT OnThreadElapsedResult(WPARAM wParam, LPARAM lParam);
    // The same lookup for one row on the view's thread; sets _csLastQServerLine.
    CString GetElapsedTime(LPCTSTR qserverLog, LPCTSTR transaction, LPCTSTR clientId, LPCTSTR date,
                           LPCTSTR time);
    // WM_STOPWORKERTHREADS: waits for every worker in the slots (handling their sends), empties them.
    LRESULT OnStopWorkerThreads(WPARAM wParam, LPARAM lParam);
    // The view's window is going: the workers stop at their next line, and the view waits for them
    // while it still takes their messages. Nothing is sent to the view after this returns.
    void StopWorkerThreads();
    // The one-second timer that keeps messages flowing during a run (WM_TIMER kPumpTimerId).
    void StartPumpTimer();
    void OnPumpTimer();
    // "hh:mm:ss" one second later, with two-digit fields, carried into the minutes and hours. The time
    // is "h:m:s" of one or two digits each (minutes and seconds below 60), the seconds optionally
    // followed by '.' and a fraction, which is dropped; any other text is not a time and gives an
    // empty text: no retry.
    static CString RetryTime(LPCTSTR time);
    // The 8,192-byte text buffers of the result messages, and how many are alive (not yet freed).
    static char* NewResultBuffer(LPCTSTR text);
    static void FreeResultBuffer(char* buffer);
    static int LiveResultBuffers();

    // Each slot is empty or holds a started worker until the view has waited for it.
    std::unique_ptr<IAnalysisWorker> m_workerSlots[kMaxWorkers];
    int m_nRunningCount = 0;  // shown only; results lower it
    BOOL m_bRunFinished = TRUE;
    std::atomic<bool> m_bStopWorkers{false};

    // ---- Report-log re-import ----
    // Each reads the report log at _csReportName back into the list; returns the rows set up.
    LRESULT ImportTaAllLog(WPARAM wParam, LPARAM lParam);              // WM_IMPORTTAALLLOG
    LRESULT ImportTaLog(WPARAM wParam, LPARAM lParam);                 // WM_IMPORTTALOG
    LRESULT ImportAnalyzedLog(WPARAM wParam, LPARAM lParam);           // WM_IMPORTANALYZEDLOG
    LRESULT ImportTicAllLog(WPARAM wParam, LPARAM lParam);             // WM_IMPORTTICALLLOG
    LRESULT ImportTicLog(WPARAM wParam, LPARAM lParam);                // WM_IMPORTTICLOG
    LRESULT ImportTicReportLog(WPARAM wParam, LPARAM lParam);          // WM_IMPORTTICREPORTLOG
    LRESULT ImportTop20TransactionsLog(WPARAM wParam, LPARAM lParam);  // WM_IMPORTTOP20XACTLOG
    LRESULT ImportTop20SqlLog(WPARAM wParam, LPARAM lParam);           // WM_IMPORTTOP20SQLLOG
    LRESULT ImportSqlSummaryLog(WPARAM wParam, LPARAM lParam);         // WM_IMPORTSQLSUMMARYLOG
    // ---- Report data sets and summary sections ----
    // Counting rules: one record per key with its count and smallest and largest elapsed time.
    void AddTransaction(LPCTSTR transaction, LPCTSTR elapsed);
    void AddClientTransaction(LPCTSTR machine, LPCTSTR clientType, LPCTSTR elapsed);
    void AddClientXact(LPCTSTR machine, LPCTSTR clientType, LPCTSTR transaction, LPCTSTR elapsed);
    void AddSqlXact(LPCTSTR statement, int32_t ms);
    void AccumulateSqlSum(LPCTSTR key, LPCTSTR statement, int32_t ms);
    void AddSqlSum(LPCTSTR key, LPCTSTR statement, int32_t count, int32_t total, int32_t minMs,
                   int32_t maxMs);
    // The top-20 rule: the 20 records with the most elapsed milliseconds.
    void AddTop20Transaction(LPCTSTR file, int32_t startRow, int32_t endRow, LPCTSTR date, LPCTSTR startTime,
                             LPCTSTR endTime, LPCTSTR elapsed, LPCTSTR elapsedMs, LPCTSTR transaction,
                             LPCTSTR clientType, LPCTSTR clientMachine);
    void AddTop20Sql(LPCTSTR file, int32_t startRow, int32_t endRow, int32_t bindRow, LPCTSTR date,
                     LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs, LPCTSTR statement);
    void AddSqlDetail(LPCTSTR key, int32_t startRow, int32_t endRow, int32_t bindRow, LPCTSTR date,
                      LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs, LPCTSTR gap, LPCTSTR statement);
    void AddHistogramSql(LPCTSTR key, int32_t startRow, int32_t endRow, int32_t bindRow, LPCTSTR date,
                         LPCTSTR startTime, LPCTSTR endTime, LPCTSTR elapsedMs, LPCTSTR file,
                         LPCTSTR statement);
    // Rankings: re-key the set "1".."N", largest first; ties keep their order.
    void ReorderTop20TransactionList();
    void ReorderTop20SqlList();
    void ReorderHistogramDataset();
    void ReorderSqlSummary();
    // Sections 1-4 into m_csXactReportLog, 5-6 into m_csSqlReportLog.
    void WriteTransactionCountSummary();
    void WriteMachineCountSummary();
    void WriteTransactionSummary();
    void WriteTop20TransactionList();
    void WriteSqlCountSummary();
    void WriteTop20SqlList();
    // Orders two elapsed texts "HH:MM:SS (N msec)" by their milliseconds (by text when either lacks
    // the number): <0, 0, >0.
    static int CompareElapsedTexts(LPCTSTR a, LPCTSTR b);
    // Value of the leading decimal digits (0 when the text does not start with one), saturated.
    static int64_t LeadingNumber(LPCTSTR text);
    // A millisecond count read back from text, limited to the 32-bit range the formatters take.
    static int32_t MsFromText(LPCTSTR text);
    // The "%.0f" text of a millisecond count from ElapsedMs.
    static CString FormatMsText(double ms);
    // Opens a report log to append (created when missing, never truncated, text mode) at its end;
    // FALSE after the file-error message when it cannot be opened.
    BOOL OpenReportLog(CStdioFile& file, LPCTSTR path);
    // Closes it; FALSE after the file-error message when what was buffered cannot be written.
    BOOL CloseReportLog(CStdioFile& file);
    // The framework's standard message for a file exception.
    void ReportFileError(const CFileException& error);

    CMapStrToObjXact m_aXact;
    CMapStrToObjClient m_aClient;
    CMapStrToObjCltXact m_aCltXact;
    CMapStrToObjSqlXact m_aSqlXact;
    CMapStrToObjXactDetail m_aTop20Xact;
    CMapStrToObjSqlDetail m_aTop20Sql;
    CMapStrToObjSqlDetail m_aSqlDetail;
    CMapStrToObjSqlSum m_aSqlSum;
    CString m_csXactReportLog;  // full path of the transaction report log
    CString m_csSqlReportLog;   // full path of the SQL report log
    // The report logs' file names as the marker rows show them, kept when the path is set.
    CString m_csXactReportFile;
    CString m_csSqlReportFile;

    // ---- Top-20 transaction report ----
    LRESULT OnCompileTop20Transx(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateTop20TransxSummary(WPARAM wParam, LPARAM lParam);
    int32_t m_nXactCount = 0;  // complete transactions of the series

    // ---- SQL report compilers ----
    LRESULT OnCompileTop20SQL(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunXactReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunXactImzSqlReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunXactSqlSumReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunT20SqlSumReport(WPARAM wParam, LPARAM lParam);
    int32_t m_nSqlCount = 0;  // SQL statements recorded

    // ---- Report population ----
    LRESULT OnPopulateXactImzSqlReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateXactSqlSumReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateT20SqlSumReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateXactReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateTop20SqlSummary(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopulateSqlHistogramReport(WPARAM wParam, LPARAM lParam);

    // ---- SQL histogram ----
    LRESULT OnRunSqlHistogramReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnReorderHistogram(WPARAM wParam, LPARAM lParam);
    // Asks for a lower number of lines to take; 0 when the user abandons the histogram.
    uint32_t AskHistogramLimit(LPCTSTR recordNumber, LPCTSTR countText);

    // ---- Message dispatch ----
    // Calls the handler of one of the view's private messages; handled is false for any other message.
    LRESULT HandleViewMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

protected:
    IAnalysisHost* m_pHost;

private:
    struct ReimportLayout;
    int32_t ReimportLog(const ReimportLayout& layout);
    void WaitForAllWorkerSlots();
    int32_t RunStatsReport(bool serverMode);
    // ---- SQL report compilers ----
    enum class SqlCompile { Top20, XactReport, XactImz, XactSqlSum };
    LRESULT CompileQServerSql(SqlCompile kind);
    // ---- Report data sets ----
    // The smallest elapsed milliseconds of a full top-20 set as last found, valid while the set's
    // generation is the one noted: most observations of a long log are dropped without a walk.
    struct Top20Floor {
        uint64_t generation = ~0ull;
        int64_t value = 0;
    };
    Top20Floor m_top20XactFloor;
    Top20Floor m_top20SqlFloor;
    // ---- Report population ----
    // Takes the current request from _csCommand (list key, TYPE and EXE); returns EXE.
    CString TakeCurrentRequest();
    // The rows of the top-20 SQL set in rank order (the gap column only in the transaction report's list);
    // returns how many.
    int AddTop20SqlRows(gxListModel& list, bool withGap);
    void SetUpReportList(LPCTSTR title, LPCTSTR captions, LPCTSTR types, int hiddenColumn);
    BOOL FinishSqlReportLog();
};
