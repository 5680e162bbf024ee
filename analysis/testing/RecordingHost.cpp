#include "analysis/testing/RecordingHost.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/base/MessageBox.h"

class CRecordingHost::Wait : public IAnalysisWait {
public:
    Wait(CRecordingHost& host, BOOL* continueFlag) : m_host(host), m_continue(continueFlag) {
        ++m_host.m_waitOpen;
    }
    ~Wait() override { Close(); }
    void SetMessageText(LPCTSTR text) override {
        m_text = text;
        m_host.m_waitTexts.push_back(text);
    }
    BOOL SetProgress(int32_t done) override {
        if (m_closed)
            return FALSE;
        m_host.OnProgress(*this, done);
        return *m_continue ? TRUE : FALSE;
    }
    void SetTotal(int32_t total) override { m_host.m_waitTotal = total; }
    void Close() override {
        if (m_closed)
            return;
        m_closed = true;
        --m_host.m_waitOpen;
    }
    void Cancel() {
        m_text = "CANCELLED";
        *m_continue = FALSE;
        Close();
    }
    const CString& Text() const { return m_text; }

private:
    CRecordingHost& m_host;
    BOOL* m_continue;
    CString m_text;
    bool m_closed = false;
};

class CRecordingHost::Worker : public IAnalysisWorker {
public:
    ~Worker() override {
        if (m_thread.joinable())
            m_thread.join();
    }
    std::thread m_thread;
    bool m_ended = false;  // under the host's m_mutex
};

CRecordingHost::CRecordingHost() : m_viewThread(std::this_thread::get_id()) {}

CRecordingHost::~CRecordingHost() {
    // Nothing may stay blocked in a send to a host that is gone.
    CloseView();
}

std::unique_ptr<IAnalysisWait> CRecordingHost::OpenWaitDialog(BOOL* continueFlag, int32_t total) {
    ++m_waitOpened;
    m_waitTotal = total;
    return std::make_unique<Wait>(*this, continueFlag);
}

void CRecordingHost::OnProgress(Wait& wait, int32_t done) {
    m_progress.push_back({done, wait.Text()});
    int n = (int)m_progress.size();
    if (n == m_deliverAt && !m_queue.empty()) {
        Posted p = m_queue.front();
        m_queue.erase(m_queue.begin());
        if (m_deliver)
            m_deliver(p);
    }
    if (n == m_cancelAt)
        wait.Cancel();
}

int CRecordingHost::MessageBox(LPCTSTR text, UINT type) {
    m_boxes.push_back({text, type});
    if (m_nextAnswer < m_answers.size())
        return m_answers[m_nextAnswer++];
    return DefaultMessageBoxAnswer(type);
}

int CRecordingHost::QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) {
    m_truncateQuestions.push_back({recordNumber, countText});
    if (m_nextTruncateAnswer >= m_truncateAnswers.size())
        return IDOK;
    const auto& answer = m_truncateAnswers[m_nextTruncateAnswer++];
    if (answer.first == IDOK && !answer.second.IsEmpty())
        countText = answer.second;
    return answer.first;
}

std::string CRecordingHost::Key(LPCTSTR section, LPCTSTR entry) {
    return std::string(section ? section : "") + "\n" + (entry ? entry : "");
}

int CRecordingHost::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    auto it = m_profile.find(Key(section, entry));
    return it == m_profile.end() ? defaultValue : std::atoi(it->second);
}

CString CRecordingHost::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
    auto it = m_profile.find(Key(section, entry));
    return it == m_profile.end() ? CString(defaultValue) : it->second;
}

BOOL CRecordingHost::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    m_profile[Key(section, entry)].Format("%d", value);
    return TRUE;
}

BOOL CRecordingHost::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    m_profile[Key(section, entry)] = value;
    return TRUE;
}

BOOL CRecordingHost::PostToView(UINT message, WPARAM wParam, LPARAM lParam) {
    Posted p{false, message, wParam, lParam};
    m_postedLog.push_back(p);
    m_queue.push_back(p);
    return TRUE;
}

BOOL CRecordingHost::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    Posted p{true, message, wParam, lParam};
    m_postedLog.push_back(p);
    m_queue.push_back(p);
    return TRUE;
}

int CRecordingHost::DeliverAll() {
    int n = 0;
    while (!m_queue.empty()) {
        Posted p = m_queue.front();
        m_queue.erase(m_queue.begin());
        if (m_deliver)
            m_deliver(p);
        ++n;
    }
    return n;
}

std::vector<std::vector<std::string>> CRecordingHost::Rows() const {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < m_list.GetItemCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < m_list.GetColumnCount(); ++c)
            cells.push_back(m_list.GetItemText(r, c).str());
        rows.push_back(std::move(cells));
    }
    return rows;
}

void CRecordingHost::ClearRecords() {
    m_boxes.clear();
    m_padTexts.clear();
    m_statusTexts.clear();
    m_recordsTexts.clear();
    m_logNameTexts.clear();
    m_traces.clear();
    m_waitTexts.clear();
    m_postedLog.clear();
    m_queue.clear();
    m_progress.clear();
    m_fileCalls.clear();
    m_openCalls.clear();
    m_treeSelections.clear();
    m_timerCalls.clear();
    m_sentLog.clear();
    m_truncateQuestions.clear();
    m_redraws.clear();
}

BOOL CRecordingHost::ChooseCsvFile(LPCTSTR initialFolder, CString& path) {
    m_fileCalls.push_back({initialFolder, path});
    if (m_nextFileAnswer >= m_fileAnswers.size())
        return FALSE;
    const auto& answer = m_fileAnswers[m_nextFileAnswer++];
    if (!answer.first)
        return FALSE;
    path = answer.second;
    return TRUE;
}

BOOL CRecordingHost::OpenWithAssociatedApp(LPCTSTR path, BOOL wait) {
    m_openCalls.push_back({path, wait});
    return m_openResult;
}

std::unique_ptr<IAnalysisWorker> CRecordingHost::StartWorker(std::function<void()> body) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_failStartsFrom > 0 && m_started + 1 >= m_failStartsFrom)
            return nullptr;
        ++m_started;
        ++m_unfinished;
        m_peak = std::max(m_peak, m_unfinished);
    }
    auto worker = std::make_unique<Worker>();
    Worker* w = worker.get();
    auto run = [this, w, body = std::move(body)] {
        body();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_unfinished;
            w->m_ended = true;
        }
        m_changed.notify_all();
    };
    if (m_workerMode == SynchronousWorkers) {
        run();
        return worker;
    }
    try {
        w->m_thread = std::thread(std::move(run));
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_started;
        --m_unfinished;
        return nullptr;
    }
    return worker;
}

void CRecordingHost::WaitForWorkers(IAnalysisWorker* const* workers, int count) {
    auto allEnded = [&] {
        for (int i = 0; i < count; ++i)
            if (workers[i] && !static_cast<Worker*>(workers[i])->m_ended)
                return false;
        return true;
    };
    for (;;) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return allEnded() || !m_sends.empty(); });
        if (m_sends.empty())
            break;
        lock.unlock();
        HandleSends();
    }
    for (int i = 0; i < count; ++i)
        if (auto* w = static_cast<Worker*>(workers[i]); w && w->m_thread.joinable())
            w->m_thread.join();
}

BOOL CRecordingHost::SendToView(UINT message, WPARAM wParam, LPARAM lParam) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_viewClosed) {
        ++m_sendsFailed;
        ++m_sendsAfterClose;
        return FALSE;
    }
    if (std::this_thread::get_id() == m_viewThread) {  // a send on the window's own thread is a call
        lock.unlock();
        if (DeliverSend(message, wParam, lParam))
            return TRUE;
        lock.lock();
        ++m_sendsFailed;
        return FALSE;
    }
    PendingSend send{message, wParam, lParam};
    m_sends.push_back(&send);
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return send.done; });
    if (!send.handled)
        ++m_sendsFailed;
    return send.handled ? TRUE : FALSE;
}

LRESULT CRecordingHost::DeliverSend(UINT message, WPARAM wParam, LPARAM lParam) {
    m_sentLog.push_back(message);
    return m_deliver ? m_deliver(Posted{false, message, wParam, lParam}) : 0;
}

int CRecordingHost::HandleSends() {
    int n = 0;
    for (;;) {
        PendingSend* send;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_sends.empty())
                break;
            send = m_sends.front();
            m_sends.pop_front();
        }
        const bool taken = DeliverSend(send->message, send->wParam, send->lParam) != 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            send->done = true;
            send->handled = taken;
        }
        m_changed.notify_all();
        ++n;
    }
    return n;
}

void CRecordingHost::PumpWaitingMessages() {
    ++m_pumpCalls;
    HandleSends();
}

void CRecordingHost::CloseView() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_viewClosed = true;
        for (PendingSend* send : m_sends)
            send->done = true;
        m_sends.clear();
    }
    m_changed.notify_all();
}

BOOL CRecordingHost::WaitForSend() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_sends.empty() || m_unfinished == 0; });
    return m_sends.empty() ? FALSE : TRUE;
}

void CRecordingHost::WaitForAllWorkers() {
    for (;;) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_unfinished == 0 || !m_sends.empty(); });
        if (m_sends.empty())
            return;
        lock.unlock();
        HandleSends();
    }
}

int CRecordingHost::WorkersStarted() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_started;
}
int CRecordingHost::UnfinishedWorkers() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unfinished;
}
int CRecordingHost::PeakWorkers() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_peak;
}
int CRecordingHost::SendsFailed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sendsFailed;
}
int CRecordingHost::SendsAfterClose() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sendsAfterClose;
}
