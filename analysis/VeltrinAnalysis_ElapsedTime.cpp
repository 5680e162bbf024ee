#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>

#include "analysis/LogLineReader.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"
#include "platform/base/MessageBox.h"

int g_nRunningWorkers = 0;

namespace {
std::atomic<int> g_liveResultBuffers{0};

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

bool Has(std::string_view line, LPCTSTR text) {
    return line.find(text) != std::string_view::npos;
}

// The first two blank-separated fields of a line.
void FirstTwoFields(std::string_view line, CString& first, CString& second) {
    CString* out[] = {&first, &second};
    size_t pos = 0;
    for (CString* field : out) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        size_t end = std::min(line.find(' ', pos), line.size());
        *field = CString(line.substr(pos, end - pos));
        pos = end;
    }
}

// Finds the start line of the request's transaction (the n-th candidate for an id "(n)"; a login's user
// name is no part of the server's line) and the first end line after it. Returns the elapsed text, empty
// when either is missing; startLine receives the start line's number. perLine sees every line number;
// the scan ends early when stop is set.
CString ScanForElapsed(LPCTSTR path, CString clientId, LPCTSTR transaction, LPCTSTR date, LPCTSTR time,
                       const std::atomic<bool>* stop, bool expandTabs, CString& startLine,
                       const std::function<void(long)>& perLine) {
    const int32_t wanted = CVeltrinAnalysis::SplitIdNumber(clientId);
    CString startText;
    startText.Format("Start %s", CVeltrinAnalysis::ServerTransaction(transaction).GetString());
    LogLineReader reader;
    if (!reader.Open(path))
        return CString();
    long candidates = 0;
    bool started = false;
    CString elapsed, expanded;
    std::string_view line;
    while (reader.NextLine(line)) {
        if (Stopped(stop))
            break;
        const long number = reader.GetLineNumber();
        perLine(number);
        if (line.empty())
            continue;
        if (expandTabs)
            line = ExpandedTabs(line, expanded.str());
        if (!started) {
            if (Has(line, date) && Has(line, time) && Has(line, clientId) && Has(line, startText)) {
                ++candidates;
                if (wanted <= 0 || candidates == wanted) {
                    started = true;
                    startLine.Format("%ld", number);
                }
            }
        } else if (Has(line, "| End ")) {
            CString endDate, endTime, startStamp, endStamp, ms;
            FirstTwoFields(line, endDate, endTime);
            startStamp.Format("%s %s", date, time);
            endStamp.Format("%s %s", (LPCTSTR)endDate, (LPCTSTR)endTime);
            ms.Format("%.0f", CVeltrinAnalysis::ElapsedMs(startStamp, endStamp));
            elapsed = CVeltrinAnalysis::FormatElapsedMs((int32_t)std::atol(ms));
            break;
        }
    }
    reader.Close();
    return elapsed;
}

// Sends one result message; the view frees both buffers, or they are freed here when no view took it.
void SendResult(IAnalysisHost* window, LPCTSTR records, LPCTSTR text) {
    char* first = CVeltrinAnalysis::NewResultBuffer(records);
    char* second = CVeltrinAnalysis::NewResultBuffer(text);
    if (!window->SendToView(WM_ELAPSEDTIMERESULT, (WPARAM)first, (LPARAM)second)) {
        CVeltrinAnalysis::FreeResultBuffer(first);
        CVeltrinAnalysis::FreeResultBuffer(second);
    }
}
}  // namespace

CVeltrinAnalysis::~CVeltrinAnalysis() {
    // The view stops its workers while its window still takes their messages (StopWorkerThreads); any
    // still running see this at their next line, and their handles wait for them.
    m_bStopWorkers = true;
}

char* CVeltrinAnalysis::NewResultBuffer(LPCTSTR text) {
    char* buffer = new char[kResultBufferSize];
    std::snprintf(buffer, kResultBufferSize, "%s", text ? text : "");
    ++g_liveResultBuffers;
    return buffer;
}

void CVeltrinAnalysis::FreeResultBuffer(char* buffer) {
    if (!buffer)
        return;
    delete[] buffer;
    --g_liveResultBuffers;
}

int CVeltrinAnalysis::LiveResultBuffers() {
    return g_liveResultBuffers.load();
}

CString CVeltrinAnalysis::RetryTime(LPCTSTR timeText) {
    std::string_view text(timeText ? timeText : "");
    // One field of one or two digits, ended by `end` (or by the end of the text when end is 0).
    auto field = [&text](char end, int& out) {
        size_t n = 0;
        while (n < text.size() && n < 3 && text[n] >= '0' && text[n] <= '9')
            ++n;
        if (n == 0 || n > 2 || (end ? n == text.size() || text[n] != end : n < text.size()))
            return false;
        out = n == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
        text.remove_prefix(end ? n + 1 : n);
        return true;
    };
    // A fraction of the seconds is dropped.
    size_t dot = text.find('.');
    if (dot != std::string_view::npos) {
        std::string_view fraction = text.substr(dot + 1);
        if (fraction.empty() || fraction.find_first_not_of("0123456789") != std::string_view::npos)
            return CString();
        text = text.substr(0, dot);
    }
    int hours = 0, minutes = 0, seconds = 0;
    if (!field(':', hours) || !field(':', minutes) || !field('\0', seconds) || minutes > 59 || seconds > 59)
        return CString();
    ++seconds;
    minutes += seconds / 60;
    seconds %= 60;
    hours += minutes / 60;
    minutes %= 60;
    CString later;
    later.Format("%02d:%02d:%02d", hours, minutes, seconds);
    return later;
}

void CVeltrinAnalysis::StartPumpTimer() {
    m_pHost->SetViewTimer(kPumpTimerId, 1000);
}

void CVeltrinAnalysis::OnPumpTimer() {
    m_pHost->KillViewTimer(kPumpTimerId);
    m_pHost->PumpWaitingMessages();
    if (!m_bRunFinished)
        m_pHost->SetViewTimer(kPumpTimerId, 1000);
}

void CVeltrinAnalysis::WaitForAllWorkerSlots() {
    IAnalysisWorker* workers[kMaxWorkers];
    bool any = false;
    for (int i = 0; i < kMaxWorkers; ++i) {
        workers[i] = m_workerSlots[i].get();
        any = any || workers[i];
    }
    if (!any)
        return;
    m_pHost->BeginWaitCursor();
    m_pHost->WaitForWorkers(workers, kMaxWorkers);
    for (auto& slot : m_workerSlots)
        slot.reset();
    m_pHost->EndWaitCursor();
}

LRESULT CVeltrinAnalysis::OnRunETCalculationThreads(WPARAM, LPARAM) {
    Trace("Start CVeltrinView::OnRunETCalculationThreads");
    gxListModel& list = List();
    const int n = list.GetItemCount();
    ShowStatusText("Running Elapsed Time Worker Threads");
    // A slot holds one worker at a time: workers of an earlier run that are still alive end first.
    WaitForAllWorkerSlots();
    m_nRunningCount = 0;
    m_bRunFinished = FALSE;
    StartPumpTimer();
    int started = 0;
    int closed = 0;

    const bool cm = m_csListKey.Find("STATS_CM") >= 0;
    const bool hs = !cm && m_csListKey.Find("STATS_HS") >= 0;
    // Columns: QServer log, elapsed, records, transaction, date, time, TID.
    const int cmColumns[] = {7, 5, 0, 2, 3, 4, 9};
    const int hsColumns[] = {8, 6, 0, 2, 4, 5, 10};
    const int* col = cm ? cmColumns : hsColumns;

    for (int row = 0; row < n; ++row) {
        int slot = 0;
        while (slot < kMaxWorkers && m_workerSlots[slot])
            ++slot;
        if (slot == kMaxWorkers) {  // a full batch: wait for all of it
            closed += kMaxWorkers;
            IAnalysisWorker* workers[kMaxWorkers];
            for (int i = 0; i < kMaxWorkers; ++i)
                workers[i] = m_workerSlots[i].get();
            m_pHost->BeginWaitCursor();
            m_pHost->WaitForWorkers(workers, kMaxWorkers);
            for (auto& worker : m_workerSlots) {
                worker.reset();
                if (m_nRunningCount > 0)
                    --m_nRunningCount;
                m_pHost->PumpWaitingMessages();
            }
            m_pHost->EndWaitCursor();
            slot = 0;
        }
        if (!(cm || hs) || list.GetItemTextView(row, col[0]).empty())
            continue;

        list.SetItemText(row, col[1], "computing");
        auto* request = new ElapsedTimeRequest{m_pHost,
                                               list.GetItemText(row, col[2]),
                                               m_csBaseFolder,
                                               list.GetItemText(row, col[0]),
                                               list.GetItemText(row, col[4]),
                                               list.GetItemText(row, col[5]),
                                               list.GetItemText(row, col[6]),
                                               list.GetItemText(row, col[3]),
                                               &m_bStopWorkers};
        std::unique_ptr<IAnalysisWorker> worker =
            m_pHost->StartWorker([request] { ElapsedTimeThreadProc(request); });
        if (!worker) {  // the row stays "computing"
            delete request;
            continue;
        }
        m_workerSlots[slot] = std::move(worker);
        ++m_nRunningCount;
        CString status;
        if (cm)
            status.Format("Running ElapsedTime Threads: %d   Closed: %d", started, closed);
        else
            status.Format("Running ElapsedTime Worker Threads %d", started);
        ShowStatusText(status);
        ++started;
        g_nRunningWorkers = started;
    }

    ShowStatusText("Ready");
    m_bRunFinished = TRUE;
    Trace("End CVeltrinView::OnRunETCalculationThreads");
    return 0;
}

UINT CVeltrinAnalysis::ElapsedTimeThreadProc(LPVOID param) {
    std::unique_ptr<ElapsedTimeRequest> request(static_cast<ElapsedTimeRequest*>(param));
    const ElapsedTimeRequest& r = *request;
    CString line;
    CString result = ThreadGetElapsedTime(r.window, r.stop, r.records, r.folder, r.qserverLog, r.transaction,
                                          r.clientId, r.date, r.time, line);
    // The retry: the id without its suffix, one second later. A time that is not a time has none.
    const CString later = RetryTime(r.time);
    if (result == "N/A" && !Stopped(r.stop) && !later.IsEmpty()) {
        CString id = r.clientId;
        StripIdSuffix(id);
        line.Empty();
        result = ThreadGetElapsedTime(r.window, r.stop, r.records, r.folder, r.qserverLog, r.transaction, id,
                                      r.date, later, line);
    }
    if (Stopped(r.stop))  // the view is going: nothing more is sent
        return 0;
    CString text;
    text.Format("%s|%s", (LPCTSTR)result, (LPCTSTR)line);
    SendResult(r.window, r.records, text);
    return 0;
}

CString CVeltrinAnalysis::ThreadGetElapsedTime(IAnalysisHost* window, const std::atomic<bool>* stop,
                                               LPCTSTR records, LPCTSTR folder, LPCTSTR qserverLog,
                                               LPCTSTR transaction, LPCTSTR clientId, LPCTSTR date,
                                               LPCTSTR time, CString& qserverLine) {
    CString path = JoinPath(folder, qserverLog);
    window->Trace("Start CVeltrinView::ThreadGetElapsedTime");
    auto empty = [](LPCTSTR s) { return !s || !*s; };
    if (empty(qserverLog) || empty(transaction) || empty(clientId) || empty(date) || empty(time)) {
        window->Trace("Abort CVeltrinView::ThreadGetElapsedTime");
        return "N/A";
    }
    if (path.Find(" - N/A") >= 0)
        return "N/A";
    CString dots = ".";
    CString elapsed =
        ScanForElapsed(path, clientId, transaction, date, time, stop, false, qserverLine, [&](long number) {
            if (number % 50000 != 0 || Stopped(stop))
                return;
            dots += ".";
            SendResult(window, records, dots);
        });
    window->Trace("End CVeltrinView::ThreadGetElapsedTime");
    return elapsed.IsEmpty() ? CString("N/A") : elapsed;
}

LRESULT CVeltrinAnalysis::OnThreadElapsedResult(WPARAM wParam, LPARAM lParam) {
    char* recordsText = reinterpret_cast<char*>(wParam);
    char* resultText = reinterpret_cast<char*>(lParam);
    bool final = true;
    if (recordsText && resultText) {
        const long number = std::atol(recordsText);
        CString elapsed(resultText), line;
        int bar = elapsed.Find('|');
        final = bar >= 0;  // "elapsed|line" ends a lookup; dots without '|' only show it is going on
        if (final) {
            line = elapsed.Mid(bar + 1);
            elapsed = elapsed.Left(bar);
        }
        const bool cm = m_csListKey.Find("STATS_CM") >= 0;
        const bool hs = !cm && m_csListKey.Find("STATS_HS") >= 0;
        if (number >= 0 && (cm || hs)) {
            CString key;
            key.Format("%ld", number);
            gxListModel& list = List();
            for (int row = 0; row < list.GetItemCount(); ++row) {
                if (list.GetItemTextView(row, 0) != key.str())
                    continue;
                list.SetItemText(row, cm ? 5 : 6, elapsed);
                if (final)
                    list.SetItemText(row, cm ? 8 : 9, line);
                if (cm)
                    break;
            }
        }
    }
    FreeResultBuffer(recordsText);
    FreeResultBuffer(resultText);
    if (final && m_nRunningCount > 0)  // one worker is done
        --m_nRunningCount;
    return TRUE;
}

CString CVeltrinAnalysis::GetElapsedTime(LPCTSTR qserverLog, LPCTSTR transaction, LPCTSTR clientId,
                                         LPCTSTR date, LPCTSTR time) {
    _csLastQServerLine.Empty();
    CString path = JoinPath(m_csBaseFolder, qserverLog);
    Trace("Start CVeltrinView::GetElapsedTime");
    ShowRecordCount(0);
    auto empty = [](LPCTSTR s) { return !s || !*s; };
    if (empty(qserverLog) || empty(transaction) || empty(clientId) || empty(date) || empty(time)) {
        Trace("Abort CVeltrinView::GetElapsedTime");
        return "N/A";
    }
    if (path.Find(" - N/A") >= 0) {
        CString text;
        text.Format("This file is not available!\r\n%s", (LPCTSTR)path);
        m_pHost->MessageBox(text, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        m_pHost->PostToMainWindow(WM_LOGNOTAVAILABLE, 0, 0);
        return "N/A";
    }
    m_pHost->BeginWaitCursor();
    CString line;
    CString elapsed =
        ScanForElapsed(path, clientId, transaction, date, time, nullptr, true, line, [&](long number) {
            if (number % 1000 == 0)
                ShowRecordCount((int32_t)number);
        });
    m_pHost->EndWaitCursor();
    if (!line.IsEmpty())
        _csLastQServerLine = line;
    Trace("End CVeltrinView::GetElapsedTime");
    return elapsed.IsEmpty() ? CString("N/A") : elapsed;
}

LRESULT CVeltrinAnalysis::OnStopWorkerThreads(WPARAM, LPARAM) {
    WaitForAllWorkerSlots();
    g_nRunningWorkers = 0;
    return 0;
}

void CVeltrinAnalysis::StopWorkerThreads() {
    m_bStopWorkers = true;
    OnStopWorkerThreads(0, 0);
}

CString CVeltrinAnalysis::ServerTransaction(LPCTSTR transaction) {
    CString text(transaction ? transaction : "");
    const int at = text.Find(" : ");
    return at >= 0 ? text.Left(at) : text;
}
