// What the analysis engine needs of the window that runs it: the report list, the wait dialog, the
// status panes, the pad page, message boxes, profile values, posting messages and the clock. The report
// view implements it over its real windows; the recording host of the tests records every call.
#pragma once

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
    // Safe to call twice.
    virtual void Close() = 0;
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

    // One trace line (the real view appends it to the trace log).
    virtual void Trace(LPCTSTR text) = 0;
    // Milliseconds on the program's clock, and a pause on it.
    virtual DWORD GetTickCount() = 0;
    virtual void Pause(DWORD milliseconds) = 0;

    // ---- Report population and the SQL histogram ----
    // Switches the report list's redrawing off (FALSE) and on again (TRUE) around a long fill.
    virtual void SetListRedraw(BOOL /*redraw*/) {}
    // The question shown when a statement ran more than 100,000 times (dialog template 170): shows the
    // record number's count, lets the user type a lower number of lines and returns IDOK or IDCANCEL.
    // On IDOK with a number typed, countText holds that number; otherwise it keeps the count.
    virtual int QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) = 0;
};
