// What the analysis engine needs of the window that runs it: the report list, the wait dialog, the
// status panes, the pad page, message boxes, profile values, posting messages and the clock. The report
// view implements it over its real windows; the recording host of the tests records every call.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/String.h"

class gxListModel;

// The modeless wait dialog of one pass.
class IAnalysisWait {
public:
    virtual ~IAnalysisWait() = default;
    virtual void SetMessageText(LPCTSTR text) = 0;
    // Moves the bar to done/total and handles at most one waiting message; FALSE when the pass must stop
    // (the caller's continue flag is then clear).
    virtual BOOL SetProgress(int32_t done) = 0;
    // The bar's total, when it becomes known after the dialog opened.
    virtual void SetTotal(int32_t total) = 0;
    // Safe to call twice.
    virtual void Close() = 0;
};

// A worker thread the host started. Destroying it releases the handle; the view waits for the worker
// before that.
class IAnalysisWorker {
public:
    virtual ~IAnalysisWorker() = default;
};

class IAnalysisHost {
public:
    virtual ~IAnalysisHost() = default;

    virtual gxListModel& GetList() = 0;

    // Opens the wait dialog over the view; continueFlag belongs to the caller, who sets it TRUE first.
    virtual std::unique_ptr<IAnalysisWait> OpenWaitDialog(BOOL* continueFlag, int32_t total) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void RestoreWaitCursor() = 0;

    // Status panes: the records pane, pane 0 and the log-name pane show these texts.
    virtual void SetRecordsPane(LPCTSTR text) = 0;
    virtual void SetStatusPane(LPCTSTR text) = 0;
    virtual void SetLogNamePane(LPCTSTR text) = 0;

    // The view's page of the output pad (named by the view's list key).
    virtual void SetPadPageText(LPCTSTR text) = 0;
    virtual void ClearPadPage() = 0;
    virtual void ActivatePadPage() = 0;
    virtual void ShowOutputBar() = 0;

    // A message box owned by the view's window; returns the button chosen.
    virtual int MessageBox(LPCTSTR text, UINT type) = 0;

    // The application profile.
    virtual int GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) = 0;
    virtual CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) = 0;
    virtual BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) = 0;
    virtual BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) = 0;

    // Posting to the view itself and to the main window.
    virtual BOOL PostToView(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // One trace line (the real view appends it to the trace log). Called from worker threads too.
    virtual void Trace(LPCTSTR text) = 0;
    // Milliseconds on the program's clock, and a pause on it.
    virtual DWORD GetTickCount() = 0;
    virtual void Pause(DWORD milliseconds) = 0;

    // ---- CSV export and import ----
    // The system file dialog of the open kind with hide-read-only and prompt-on-overwrite, the newer
    // look and the one filter "CSV Files (*.csv)" / "*.csv", starting in initialFolder. path holds the
    // proposed file name (may be empty) and receives the full chosen path. TRUE when the user chose OK.
    virtual BOOL ChooseCsvFile(LPCTSTR initialFolder, CString& path) = 0;
    // Opens the file with the application the desktop associates with it (the view's
    // OpenWithAssociatedApp: its messages on failure, waiting for that application when asked).
    virtual BOOL OpenWithAssociatedApp(LPCTSTR path, BOOL wait) = 0;
    // The main frame hides its output pad bar.
    virtual void HideOutputBar() = 0;

    // ---- Statistics ----
    // The main frame has the log tree select the item of the log file name.
    virtual void SelectTreeItem(LPCTSTR logName) = 0;

    // ---- Elapsed-time workers ----
    // Starts body on a worker thread; null when no thread could be started (body is then never run).
    virtual std::unique_ptr<IAnalysisWorker> StartWorker(std::function<void()> body) = 0;
    // Waits until every given worker (null entries are skipped) has ended, meanwhile handling the
    // messages workers send to the view, so that none stays blocked in its send.
    virtual void WaitForWorkers(IAnalysisWorker* const* workers, int count) = 0;
    // Called on a worker thread: sends the message to the view's window and returns once the view's
    // thread has handled it. TRUE when the view took the message (its handler answered non-zero);
    // FALSE when it could not be delivered (the window is gone) or nothing in the view took it: the
    // parameters then still belong to the caller.
    virtual BOOL SendToView(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Dispatches the window messages waiting for the view's thread.
    virtual void PumpWaitingMessages() = 0;
    // The view's window timers; the view hands each WM_TIMER of the pump timer to OnPumpTimer.
    virtual void SetViewTimer(UINT id, UINT milliseconds) = 0;
    virtual void KillViewTimer(UINT id) = 0;
    // ---- Report population and the SQL histogram ----
    // Switches the report list's redrawing off (FALSE) and on again (TRUE) around a long fill.
    virtual void SetListRedraw(BOOL /*redraw*/) {}
    // The question shown when a statement ran more than 100,000 times (dialog template 170): shows the
    // record number's count, lets the user type a lower number of lines and returns IDOK or IDCANCEL.
    // On IDOK with a number typed, countText holds that number; otherwise it keeps the count.
    virtual int QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) = 0;
};
