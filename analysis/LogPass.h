// The frame every log-reading pass shares: the Start and End trace lines, the list set-up, the wait
// dialog with its progress step, the status texts, the " - N/A", missing-file and exception handling,
// and the "No Data Available" pad text. A pass drives it like this:
//
//   CLogPass pass(*this, "CVeltrinView::PopulateGridQServerItemizeEx", status, waitText);
//   pass.SetUpList(exe, captions, types);
//   CString path = pass.LogPath(name);
//   if (!pass.CheckAvailable(path)) return 0;
//   return pass.Run([&] {
//       if (!pass.Open(path)) return 0;
//       while (pass.NextLine(line)) { ...; pass.Step(rows); }
//       return pass.Finish(rows);
//   });
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/AnalysisHost.h"
#include "analysis/LogLineReader.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Exceptions.h"

class CVeltrinAnalysis;

class CLogPass {
public:
    // traceStart: FALSE for a pass whose handler writes its own entry trace instead of "Start <method>".
    CLogPass(CVeltrinAnalysis& view, LPCTSTR method, LPCTSTR statusText, LPCTSTR waitText,
             BOOL traceStart = TRUE);
    ~CLogPass();
    CLogPass(const CLogPass&) = delete;
    CLogPass& operator=(const CLogPass&) = delete;

    // Resets the list, gives it the title, the '|'-terminated captions and type words, creates the
    // columns and restores the widths saved for the view's report type. Returns the column count.
    int SetUpList(LPCTSTR title, LPCTSTR captions, LPCTSTR types);
    // "%s\%s" of the view's base folder and the name, with ".log" appended when the path has no '.'.
    CString LogPath(LPCTSTR name) const;
    // FALSE, after the message and the post to the main window, for a log marked " - N/A".
    BOOL CheckAvailable(LPCTSTR path);
    // Has the lines counted (a long log beside the pass), shows the status text, opens the wait dialog
    // and the log. FALSE (wait dialog
    // closed, "Ready" shown) when the log cannot be opened or read.
    BOOL Open(LPCTSTR path);
    // Open in two steps, for a pass that does its own work between them: BeginWait counts the lines,
    // shows the status text and opens the wait dialog (closing one left open by an earlier log);
    // OpenLog opens the log as Open does.
    void BeginWait(LPCTSTR path);
    BOOL OpenLog();
    // The next line; FALSE at the end, on Cancel, or on a read failure. With markers set, only the lines
    // that hold one, and the lines at which Step reports progress.
    BOOL NextLine(std::string_view& line);
    // The texts without which a line does nothing in the pass (set before Open): NextLine passes the
    // other lines over, found by one scan per read block. Step must then be called after every line.
    // With `classify`, LineMarkers gives the markers each delivered line holds (bit i: the i-th).
    void SetMarkers(std::vector<std::string> markers, bool classify = false) {
        m_reader.SetMarkers(std::move(markers), classify);
    }
    uint32_t LineMarkers() { return m_reader.LineMarkers(); }
    long LineNumber() const { return m_reader.GetLineNumber(); }
    // The progress step after a line: every 1,000 lines (100 for files under 1,000 lines).
    void Step(int32_t rows) {
        if (m_reader.GetLineNumber() >= m_nextStep)  // inline: most lines are no step
            StepReached(rows);
    }
    // Ends a pass normally: last progress, the "No Data Available" pad text when no row was added,
    // the bar to the total, wait dialog closed, "Ready", the row count, the End trace. Returns rows.
    int32_t Finish(int32_t rows);
    // Ends a pass that writes its own pad text and ends without a last progress step at the final line:
    // the bar to the total, wait dialog closed, "Ready", `records` in the records pane, the End trace.
    // After a read failure: wait dialog closed, "Ready", result 0. Returns rows.
    int32_t FinishOwn(int32_t rows, int32_t records);

    // A pass's own progress text: a format with one "%ld", filled with the line number, or with the
    // count handed to Step when countInText is set. Without one: "<wait text>\n%ld lines processed".
    void SetProgressText(LPCTSTR format, bool countInText = false);
    // Progress every `step` lines whatever the length of the log (instead of 1,000, or 100 for files
    // under 1,000 lines).
    void SetFixedStep(long step) { m_fixedStep = step; }

    // As Finish, for a pass whose records-pane count is not what decides "no data".
    int32_t Finish(int32_t shown, BOOL noData);

    // Options of passes whose frame differs:
    // the status text is shown again at every progress step;
    void SetStatusEachStep(BOOL each) { m_statusEachStep = each; }
    // the pad text shown when nothing was found ("%s" takes the path);
    void SetNoDataText(LPCTSTR format) { m_noDataFormat = format; }
    // the message a memory failure shows instead of "Unable to read the file!".
    void SetMemoryFailureText(LPCTSTR text) { m_memoryFailureText = text; }
    // Runs the guarded part of a pass. A memory or file exception ends it with the wait dialog closed,
    // the message "Unable to read the file!" and "Ready"; any other failure ends it quietly (traced).
    // Either way the rows already added stay and the result is 0.
    int32_t Run(const std::function<int32_t()>& body);

    BOOL ReadFailed() const { return m_reader.GetStatus() == LogLineReader::ReadFailed; }
    const CString& Path() const { return m_path; }
    int32_t Total() const { return m_total; }
    BOOL* ContinueFlag() { return &m_bContinue; }
    IAnalysisWait* Wait() const { return m_wait.get(); }

    // ---- Frames that differ from the model pass: passes over several logs, and the importers ----
    // The progress step of files under 1,000 lines (100 unless set).
    void SetShortFileStep(long step) { m_shortStep = step > 0 ? step : 100; }
    // BeginWait and the wait cursor, without opening a log: the importers read their file themselves.
    void OpenWait(LPCTSTR path);
    // TRUE when the line number is one at which Step reports progress.
    BOOL IsStep(long lineNumber) const { return lineNumber % m_step == 0; }
    // A progress call with its own message text: the text, the row count, the bar, the wait cursor.
    void ShowProgress(LPCTSTR text, long lineNumber, int32_t rows);
    // Finish for one log of a pass over several: all of Finish but the End trace. FALSE (wait dialog
    // closed, "Ready" shown) when a later block could not be read.
    BOOL FinishLog(int32_t rows, BOOL noData);
    BOOL FinishLog(int32_t rows) { return FinishLog(rows, rows == 0); }
    // The last steps of a pass: the bar to the total, the wait dialog closed, "Ready", the row count.
    void Complete(int32_t rows);
    void TraceEnd();
    // Ends a pass early: the wait dialog closed, the message box (when a text is given), "Ready".
    void Abandon(LPCTSTR message, UINT type = MB_OK | MB_ICONEXCLAMATION);

private:
    // Step once the line number has reached the next step.
    void StepReached(int32_t rows);
    // The progress call itself, for the line number given.
    void Progress(long lineNumber, int32_t rows);
    void CloseWait();
    void BeginWaitCursor();
    void EndWaitCursor();

    CVeltrinAnalysis& m_view;
    CString m_method;
    CString m_status;
    CString m_waitText;
    CString m_path;
    BOOL m_bContinue = TRUE;
    int32_t m_total = 0;
    long m_step = 1000;
    long m_fixedStep = 0;
    long m_shortStep = 100;
    CString m_progressFormat;
    bool m_countInText = false;
    long m_nextStep = 1000;  // the next line number that is a multiple of the step
    std::unique_ptr<IAnalysisWait> m_wait;
    std::unique_ptr<LineCountAhead> m_count;  // the bar's total, counted beside the pass
    LogLineReader m_reader;
    bool m_waitCursor = false;
    BOOL m_statusEachStep = FALSE;
    CString m_noDataFormat = "\r\n No Data Available in %s for Itemize Criteria.";
    CString m_memoryFailureText;
};
