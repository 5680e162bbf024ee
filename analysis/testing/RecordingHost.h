// A host for the analysis engine that records everything a pass shows: the list (a real report list
// model), message boxes, pad texts, status, record and log-name texts, posted messages, wait-dialog
// calls and trace lines. Profile values come from a map, time from a driven clock. A test can cancel
// at a chosen progress call or deliver a queued message inside one.
//
// Workers run synchronously inside StartWorker or on real threads, as the test chooses. The thread that
// built the host plays the view's thread: a worker's send waits there until that thread handles it
// (in WaitForWorkers, PumpWaitingMessages, HandleSends or WaitForAllWorkers) or the view is closed.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <string>
#include <thread>
#include <vector>

#include "analysis/AnalysisHost.h"
#include "controls/model/gxListModel.h"

class CRecordingHost : public IAnalysisHost {
public:
    struct Box {
        CString text;
        UINT type;
    };
    struct Posted {
        bool toMainWindow;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    struct ProgressCall {
        int32_t done;
        CString text;  // the wait dialog's message line at the call
    };

    CRecordingHost();
    ~CRecordingHost() override;

    // ---- IAnalysisHost ----
    gxListModel& GetList() override { return m_list; }
    std::unique_ptr<IAnalysisWait> OpenWaitDialog(BOOL* continueFlag, int32_t total) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void RestoreWaitCursor() override {}
    void SetRecordsPane(LPCTSTR text) override { m_recordsTexts.push_back(text); }
    void SetStatusPane(LPCTSTR text) override { m_statusTexts.push_back(text); }
    void SetLogNamePane(LPCTSTR text) override { m_logNameTexts.push_back(text); }
    void SetPadPageText(LPCTSTR text) override { m_padTexts.push_back(text); }
    void ClearPadPage() override { m_padTexts.push_back(""); }
    void ActivatePadPage() override { ++m_padActivations; }
    void ShowOutputBar() override { ++m_outputBarShows; }
    int MessageBox(LPCTSTR text, UINT type) override;
    int GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) override;
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) override;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) override;
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override;
    BOOL PostToView(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Trace(LPCTSTR text) override {
        std::lock_guard<std::mutex> lock(m_traceMutex);
        m_traces.push_back(text);
    }
    DWORD GetTickCount() override { return m_tick; }
    void Pause(DWORD milliseconds) override { m_tick += milliseconds; }
    void SetListRedraw(BOOL redraw) override { m_redraws.push_back(redraw); }
    int QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) override;

    // ---- IAnalysisHost: CSV, statistics and workers ----
    BOOL ChooseCsvFile(LPCTSTR initialFolder, CString& path) override;
    BOOL OpenWithAssociatedApp(LPCTSTR path, BOOL wait) override;
    void HideOutputBar() override { ++m_outputBarHides; }
    void SelectTreeItem(LPCTSTR logName) override { m_treeSelections.push_back(logName); }
    std::unique_ptr<IAnalysisWorker> StartWorker(std::function<void()> body) override;
    void WaitForWorkers(IAnalysisWorker* const* workers, int count) override;
    BOOL SendToView(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PumpWaitingMessages() override;
    void SetViewTimer(UINT id, UINT milliseconds) override { m_timerCalls.push_back({id, milliseconds}); }
    void KillViewTimer(UINT id) override { m_timerCalls.push_back({id, 0}); }

    // ---- Scripting ----
    // The answer of the next message box (later boxes answer with their default button).
    void ScriptAnswer(int answer) { m_answers.push_back(answer); }
    // Clears the pass's continue flag during the n-th progress call (1-based), as Cancel does.
    void CancelAtProgress(int n) { m_cancelAt = n; }
    // Delivers the oldest queued posted message during the n-th progress call (1-based).
    void DeliverAtProgress(int n) { m_deliverAt = n; }
    // Who receives a delivered message; a message sent to the view counts as taken.
    void SetDeliverer(std::function<void(const Posted&)> deliver) {
        m_deliver = [deliver = std::move(deliver)](const Posted& p) -> LRESULT {
            deliver(p);
            return TRUE;
        };
    }
    // The view's window procedure: a sent message that it answers with 0 was not taken, and the
    // sender keeps its parameters (as a window that does not know a message answers it).
    void SetWindowProc(std::function<LRESULT(const Posted&)> proc) { m_deliver = std::move(proc); }
    // Delivers every queued message in order (those posted meanwhile too); returns how many.
    int DeliverAll();
    void SetProfile(LPCTSTR section, LPCTSTR entry, LPCTSTR value) { m_profile[Key(section, entry)] = value; }
    // The answers of the next file dialogs, in order: OK with the path, or Cancel. Unscripted dialogs
    // answer Cancel.
    void ScriptFileDialog(BOOL ok, LPCTSTR path = "") { m_fileAnswers.push_back({ok, path}); }
    void SetOpenWithAppResult(BOOL result) { m_openResult = result; }
    // Workers: run inside StartWorker (the default) or on threads of their own.
    enum WorkerMode { SynchronousWorkers, ThreadedWorkers };
    void SetWorkerMode(WorkerMode mode) { m_workerMode = mode; }
    // StartWorker fails (returns null) from its n-th call on (1-based; 0: never).
    void FailWorkerStartsFrom(int n) { m_failStartsFrom = n; }
    // The view's window is gone: pending and later sends fail at once.
    void CloseView();
    // Handles the pending sends, in order, on the calling (view) thread; returns how many.
    int HandleSends();
    // Blocks until a send is pending (TRUE) or no started worker is left (FALSE). Handles nothing.
    BOOL WaitForSend();
    // Handles sends until every started worker has ended.
    void WaitForAllWorkers();
    // The answer of the next histogram truncation question: the button and the text typed (empty: none).
    // Unscripted questions answer IDOK with nothing typed.
    void ScriptTruncateAnswer(int button, LPCTSTR typed) { m_truncateAnswers.push_back({button, typed}); }

    // ---- Records ----
    const std::vector<Box>& Boxes() const { return m_boxes; }
    const std::vector<CString>& PadTexts() const { return m_padTexts; }
    CString LastPadText() const { return m_padTexts.empty() ? CString() : m_padTexts.back(); }
    const std::vector<CString>& StatusTexts() const { return m_statusTexts; }
    const std::vector<CString>& RecordsTexts() const { return m_recordsTexts; }
    const std::vector<CString>& LogNameTexts() const { return m_logNameTexts; }
    const std::vector<Posted>& PostedLog() const { return m_postedLog; }
    const std::vector<Posted>& Queue() const { return m_queue; }
    const std::vector<ProgressCall>& ProgressCalls() const { return m_progress; }
    const std::vector<CString>& Traces() const { return m_traces; }
    const std::vector<CString>& WaitTexts() const { return m_waitTexts; }
    // Each truncation question as (record number, count shown).
    const std::vector<std::pair<CString, CString>>& TruncateQuestions() const { return m_truncateQuestions; }
    // Each SetListRedraw call in order.
    const std::vector<BOOL>& ListRedraws() const { return m_redraws; }
    int WaitDialogsOpened() const { return m_waitOpened; }
    int WaitDialogsOpen() const { return m_waitOpen; }
    int32_t LastWaitTotal() const { return m_waitTotal; }
    int PadActivations() const { return m_padActivations; }
    int OutputBarShows() const { return m_outputBarShows; }
    struct FileDialogCall {
        CString folder;
        CString name;
    };
    struct OpenCall {
        CString path;
        BOOL wait;
    };
    struct TimerCall {
        UINT id;
        UINT milliseconds;  // 0: killed
    };
    const std::vector<FileDialogCall>& FileDialogCalls() const { return m_fileCalls; }
    const std::vector<OpenCall>& OpenWithAppCalls() const { return m_openCalls; }
    int OutputBarHides() const { return m_outputBarHides; }
    const std::vector<CString>& TreeSelections() const { return m_treeSelections; }
    const std::vector<TimerCall>& TimerCalls() const { return m_timerCalls; }
    int PumpCalls() const { return m_pumpCalls; }
    // Messages sent by workers and handled, in order (their parameters are the handler's to free).
    const std::vector<UINT>& SentLog() const { return m_sentLog; }
    int WorkersStarted() const;
    // Workers started and not yet ended, and the most there ever were at once.
    int UnfinishedWorkers() const;
    int PeakWorkers() const;
    int SendsFailed() const;
    int SendsAfterClose() const;
    // Every row of the list as its cells, for comparing with expected rows.
    std::vector<std::vector<std::string>> Rows() const;
    void ClearRecords();

private:
    class Wait;
    friend class Wait;
    class Worker;
    struct PendingSend {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool done = false;
        bool handled = false;
    };
    LRESULT DeliverSend(UINT message, WPARAM wParam, LPARAM lParam);
    static std::string Key(LPCTSTR section, LPCTSTR entry);
    void OnProgress(Wait& wait, int32_t done);

    gxListModel m_list;
    std::vector<Box> m_boxes;
    std::vector<int> m_answers;
    size_t m_nextAnswer = 0;
    std::vector<CString> m_padTexts, m_statusTexts, m_recordsTexts, m_logNameTexts, m_traces, m_waitTexts;
    std::vector<Posted> m_postedLog, m_queue;
    std::vector<ProgressCall> m_progress;
    std::map<std::string, CString> m_profile;
    std::vector<std::pair<int, CString>> m_truncateAnswers;
    size_t m_nextTruncateAnswer = 0;
    std::vector<std::pair<CString, CString>> m_truncateQuestions;
    std::vector<BOOL> m_redraws;
    std::function<LRESULT(const Posted&)> m_deliver;
    int m_cancelAt = 0;
    int m_deliverAt = 0;
    int m_waitOpened = 0;
    int m_waitOpen = 0;
    int32_t m_waitTotal = 0;
    int m_padActivations = 0;
    int m_outputBarShows = 0;
    DWORD m_tick = 1000;

    std::vector<std::pair<BOOL, CString>> m_fileAnswers;
    size_t m_nextFileAnswer = 0;
    std::vector<FileDialogCall> m_fileCalls;
    std::vector<OpenCall> m_openCalls;
    BOOL m_openResult = TRUE;
    int m_outputBarHides = 0;
    std::vector<CString> m_treeSelections;
    std::vector<TimerCall> m_timerCalls;
    int m_pumpCalls = 0;
    std::vector<UINT> m_sentLog;

    std::mutex m_traceMutex;
    // Workers and sends: the state below m_mutex is shared with the worker threads.
    WorkerMode m_workerMode = SynchronousWorkers;
    int m_failStartsFrom = 0;
    std::thread::id m_viewThread;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PendingSend*> m_sends;
    bool m_viewClosed = false;
    int m_started = 0;
    int m_unfinished = 0;
    int m_peak = 0;
    int m_sendsFailed = 0;
    int m_sendsAfterClose = 0;
};
