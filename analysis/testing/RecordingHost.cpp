#include "analysis/testing/RecordingHost.h"

#include <cstdlib>

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

CRecordingHost::CRecordingHost() = default;
CRecordingHost::~CRecordingHost() = default;

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
    m_truncateQuestions.clear();
    m_redraws.clear();
}
