#include <string>
#include <string_view>
#include <unordered_set>

#include "analysis/AppMaps.h"
#include "analysis/LogPass.h"
#include "analysis/records/RecordMap.h"
#include "analysis/records/TObj.h"
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "controls/model/gxListModel.h"
#include "platform/base/JoinPath.h"

namespace {
const char kCMHeader[] =
    " Records  |    ClientMachine    |   Transaction            |   Date   |   Time   |   ElapsedTime   |"
    "    QBroker Line             |    QServer Filename            | QServerLine | TID |";
const char kHSHeader[] =
    " Records  |  QServer ID  |   Transaction            |  ClientMachine  |   Date   |   Time   |"
    "   ElapsedTime   |    QBroker Line             |    QServer Filename            | QServerLine | TID |";

bool Has(std::string_view line, const char* marker) {
    return line.find(marker) != std::string_view::npos;
}

CString Upper(LPCTSTR text) {
    CString s(text);
    s.MakeUpper();
    return s;
}

// The keys of a selection map, compared without regard to case.
class CaseBlindKeys {
public:
    template <class RECORD>
    explicit CaseBlindKeys(const CRecordMap<RECORD>& map) {
        for (POSITION pos = map.GetStartPosition(); pos;) {
            CString key;
            RECORD rec;
            pos = map.GetNext(pos, key, rec);
            m_keys.insert(Upper(key).str());
        }
    }
    bool Has(const CString& key) const { return m_keys.count(Upper(key).str()) != 0; }

private:
    std::unordered_set<std::string> m_keys;
};

// What one statistics pass keeps across the lines of one broker log: the block being read, the
// requests waiting in the broker's queue and the count of identical dispatches.
class StatsScanner {
public:
    StatsScanner(CVeltrinAnalysis& view, bool serverMode, bool elapsedEnabled,
                 const CaseBlindKeys& transactions, const CaseBlindKeys& servers, int32_t& rows)
        : m_view(view),
          m_hs(serverMode),
          m_et(elapsedEnabled),
          m_transactions(transactions),
          m_servers(servers),
          m_rows(rows) {}

    // A new broker log: its name gives the date parts; the queue and duplicate maps start empty.
    void StartLog(const CString& broker) {
        m_broker = broker;
        CString year = broker.Left(4), month = broker.Mid(4, 2), day = broker.Mid(6, 2);
        m_date.Format("%s/%s/%s", (LPCTSTR)year, (LPCTSTR)month, (LPCTSTR)day);
        m_dateKey.Format("%s%s%s", (LPCTSTR)year, (LPCTSTR)month, (LPCTSTR)day);
        m_queue.DeleteAll();
        m_dups.DeleteAll();
        ClearBlockFields();
        m_time.Empty();
        m_inBlock = false;
    }

    void Line(std::string_view line, long number) {
        if (m_inBlock) {
            if (Has(line, "ID  : /pt_") || Has(line, "ID : /pt_") || Has(line, "Type: ")) {
                Append(line);
                return;
            }
            if (Has(line, "put in waiting queue")) {
                QueueStep();
            } else if (Has(line, "Action : sent to ") || Has(line, "Action : process") ||
                       Has(line, "From  : /pt_QClient://") || Has(line, "Process: /pt_QClient://")) {
                Append(line);
                DispatchStep();
            }
        }
        HeaderCheck(line, number);
    }

private:
    void Append(std::string_view line) {
        m_block += " ";
        m_block += CString(line);
    }

    // Every block starts without the fields of the one before it (or of the previous log).
    void ClearBlockFields() {
        m_queueText.Empty();
        m_transaction.Empty();
        m_serverWord.Empty();
        m_serverId.Empty();
        m_clientMachine.Empty();
        m_clientId.Empty();
        m_block.Empty();
    }

    void HeaderCheck(std::string_view line, long number) {
        if (line == "." || line == "..")
            return;
        if (Has(line, ": On Request -") || Has(line, ": On Server ")) {
            size_t at = line.find("t -");
            if (at == std::string_view::npos)
                at = line.find("r -");
            if (at != std::string_view::npos)
                m_time = CString(line.substr(at + 3)).Trim();
            ClearBlockFields();
        } else if (Has(line, ": On Client Unregister -")) {
            ClearBlockFields();
            m_transaction = "ON CLIENT UNREGISTER";
            size_t at = line.find(": ");
            if (at != std::string_view::npos)
                m_time = CString(line.substr(at + 2)).Right(8).Trim();
        } else if (Has(line, "- On Process Dies -")) {
            ClearBlockFields();
            m_transaction = "ON PROCESS DIES";
            size_t at = line.find("- ");
            if (at != std::string_view::npos)
                m_time = CString(line.substr(std::min(at + 3, line.size()))).Right(8).Trim();
        } else {
            return;
        }
        m_header = number;
        m_inBlock = true;
    }

    void TakeClient(LPCTSTR marker) {
        CVeltrinAnalysis::ExtractMarkerValues(marker, m_block, m_clientMachine, m_clientId);
    }
    void TakeServer() {
        CVeltrinAnalysis::ExtractMarkerWordAndName("/pt_QServer://", m_block, m_serverWord, m_serverId);
    }
    void TakeTransaction() { CVeltrinAnalysis::ExtractMarkerWord("Type: ", m_block, m_transaction); }
    bool ClientChosen() const {
        CMObj rec;
        return g_mapStatsClientIds.Lookup(m_clientMachine, rec) != FALSE;
    }

    // A request waits in the broker's queue: remember its transaction (the block's own "Type: ", or the
    // header's) for its dispatch. The server-id list records it for every client, so that it pairs
    // there too.
    void QueueStep() {
        CString transaction = m_transaction;
        if (transaction.IsEmpty())
            CVeltrinAnalysis::ExtractMarkerWord("Type: ", m_block, transaction);
        if (!m_hs)
            m_transaction = transaction;
        if (!m_transactions.Has(transaction))
            return;
        TakeClient("/pt_QClient://");
        if (!m_hs && !ClientChosen())
            return;
        m_queueText.Format("%ld [Q]:%s", m_header, (LPCTSTR)transaction);
        CString key;
        key.Format("%s|%s", (LPCTSTR)m_clientMachine, (LPCTSTR)m_clientId);
        Count(m_queue, key, m_queueText);
    }

    static int32_t Count(CRecordMap<TObj>& map, const CString& key, const CString& text) {
        TObj rec;
        if (map.Get(key, rec)) {
            ++rec.m_nValue1;
            if (rec.m_nValue1 > rec.m_nValue2)
                rec.m_nValue2 = rec.m_nValue1;
        } else {
            rec.m_csText = text;
            rec.m_nValue1 = rec.m_nValue2 = 1;
        }
        map.Add(key, rec);
        return rec.m_nValue1;
    }

    void DispatchStep() {
        if (!m_hs) {
            if (m_clientMachine.IsEmpty())
                TakeClient("/pt_QClient://");
            if (m_transaction.IsEmpty())
                TakeTransaction();
            if (!ClientChosen())
                return;
        } else {
            if (m_clientMachine.IsEmpty())
                TakeClient("/pt_QClient://");
            if (m_clientMachine.IsEmpty())
                TakeClient("/pt_QBroker://");
            TakeServer();
            TakeTransaction();
            if (!m_servers.Has(m_serverId))
                return;
        }

        CString queueKey;
        queueKey.Format("%s|%s", (LPCTSTR)m_clientMachine, (LPCTSTR)m_clientId);
        TObj queued;
        if (m_queue.Get(queueKey, queued)) {
            m_queue.Remove(queueKey);
            int colon = queued.m_csText.Find(':');
            m_transaction = queued.m_csText.Mid(colon + 1);
            m_queueText = queued.m_csText.Left(colon);
        } else if (!m_transactions.Has(m_transaction)) {
            return;
        }

        if (m_serverId.IsEmpty())
            TakeServer();
        if (m_hs && (m_clientMachine.IsEmpty() || m_clientId.IsEmpty()))
            TakeClient("/pt_QClient://");
        m_qserverLog.Empty();
        if (!m_serverId.IsEmpty()) {
            CString search;
            search.Format("%sQServer%s", (LPCTSTR)m_dateKey, (LPCTSTR)m_serverId);
            CString found = CVeltrinAnalysis::FindInSettingList(m_broker, search);
            if (!found.IsEmpty())  // no entry for the server: no file, and "N/A" below
                m_qserverLog = found + ".log";
        }

        if (m_transaction == "LOGIN_QUILLAN") {
            int at = m_block.Find("User  : ");
            if (at >= 0) {
                CString user = m_block.Mid(at + 8);
                int blank = user.Find(' ');
                if (blank >= 0)
                    m_transaction.Format("LOGIN_QUILLAN : %s", (LPCTSTR)user.Left(blank));
            }
        }

        CString dupKey;
        dupKey.Format("%s|%s|%s|%s|%s", (LPCTSTR)m_transaction, (LPCTSTR)m_qserverLog, (LPCTSTR)m_clientId,
                      (LPCTSTR)m_date, (LPCTSTR)m_time);
        int32_t count = Count(m_dups, dupKey, m_transaction);

        CString records, tid, brokerLine;
        records.Format("%ld", (long)m_rows + 1);
        tid.Format("%s(%d)", (LPCTSTR)m_clientId, count);
        if (m_queueText.IsEmpty())
            brokerLine.Format("%s: %ld", (LPCTSTR)m_broker, m_header);
        else
            brokerLine.Format("%s: %s %ld", (LPCTSTR)m_broker, (LPCTSTR)m_queueText, m_header);
        const char* elapsed = !m_et ? "disabled" : m_qserverLog.IsEmpty() ? "N/A" : "";

        gxListModel& list = m_view.List();
        const int row = m_rows;
        const LPCTSTR cells[] = {records, m_hs ? (LPCTSTR)m_serverId : (LPCTSTR)m_clientMachine,
                                 m_transaction};
        int col = 0;
        for (LPCTSTR cell : cells)
            list.AddItem(row, col++, cell);
        if (m_hs)
            list.AddItem(row, col++, m_clientMachine);
        list.AddItem(row, col++, m_date);
        list.AddItem(row, col++, m_time);
        list.AddItem(row, col++, elapsed);
        list.AddItem(row, col++, brokerLine);
        list.AddItem(row, col++, m_qserverLog);
        list.AddItem(row, col++, _csLastQServerLine);
        list.AddItem(row, col++, tid);
        ++m_rows;

        m_clientMachine.Empty();
        m_transaction.Empty();
        m_clientId.Empty();
        m_queueText.Empty();
        m_serverWord.Empty();
        m_serverId.Empty();
        m_time.Empty();
        m_qserverLog.Empty();
        m_block.Empty();
        m_inBlock = false;
    }

    CVeltrinAnalysis& m_view;
    const bool m_hs;
    const bool m_et;
    const CaseBlindKeys& m_transactions;
    const CaseBlindKeys& m_servers;
    int32_t& m_rows;

    CString m_broker, m_date, m_dateKey;
    CRecordMap<TObj> m_queue;
    CRecordMap<TObj> m_dups;
    bool m_inBlock = false;
    long m_header = 0;
    CString m_block, m_time, m_transaction, m_clientMachine, m_clientId, m_serverWord, m_serverId;
    CString m_queueText, m_qserverLog;
};
}  // namespace

LRESULT CVeltrinAnalysis::OnRunStatsReport(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnRunStatsReport: _csCommand=%s", (LPCTSTR)_csCommand);
    ShowRecordCount(0);
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = ExtractAfter(_csCommand, REQ_TYPE, '|').value_or(CString());
    m_csListKind = _csReportName;
    if (m_csListKind.Find("STATS_CM") >= 0)
        return OnRunCMStatsReport();
    return OnRunHSStatsReport();
}

int32_t CVeltrinAnalysis::OnRunCMStatsReport() {
    return RunStatsReport(false);
}

int32_t CVeltrinAnalysis::OnRunHSStatsReport() {
    return RunStatsReport(true);
}

int32_t CVeltrinAnalysis::RunStatsReport(bool serverMode) {
    const char* method = serverMode ? "CVeltrinView::OnRunHSStatsReport" : "CVeltrinView::OnRunCMStatsReport";
    CLogPass pass(*this, method, "Processing QBroker content...", "Analyzing QBroker Content...");
    pass.SetShortFileStep(serverMode ? 100 : 30);
    _csLastQServerLine.Empty();
    const bool elapsed = m_pHost->GetProfileInt("Settings", "EnableETCalculationsInStats", 0) != 0;
    pass.SetUpList(m_csListKind, serverMode ? kHSHeader : kCMHeader,
                   serverMode
                       ? "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|"
                         "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|"
                       : "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|"
                         "MCL_ALPHA|MCL_ALPHA|");
    // The list's order after each log: by Time when one client machine (one server) was chosen, else by
    // the client machine (the server id).
    const int sortColumn = serverMode ? (g_mapStatsServerIds.GetCount() == 1 ? 5 : 1)
                                      : (g_mapStatsClientIds.GetCount() == 1 ? 4 : 1);

    const CaseBlindKeys transactions(g_mapStatsTransactions);
    const CaseBlindKeys servers(g_mapStatsServerIds);
    int32_t rows = 0;
    StatsScanner scanner(*this, serverMode, elapsed, transactions, servers, rows);
    return pass.Run([&]() -> int32_t {
        CString expanded;
        for (POSITION pos = g_mapLoadedLogs.GetStartPosition(); pos;) {
            CString broker;
            HObj log;
            pos = g_mapLoadedLogs.GetNext(pos, broker, log);
            if (log.m_bChosen != 1 || log.m_csLogType.Find("QBROKER") < 0)
                continue;
            CString path = JoinPath(log.m_csFolder, broker);
            scanner.StartLog(broker);
            m_pHost->SelectTreeItem(broker);
            pass.SetProgressText("Analysing QBroker Content...\n%ld lines processed");
            if (!pass.Open(path))
                return 0;
            std::string_view line;
            while (pass.NextLine(line)) {
                pass.Step(rows);
                if (line.empty())
                    continue;
                if (serverMode) {
                    scanner.Line(ExpandedTabs(line, expanded.str()), pass.LineNumber());
                } else {
                    scanner.Line(line, pass.LineNumber());
                }
            }
            pass.SetProgressText("Itemizing QBroker Content...\n%ld lines processed");
            if (!pass.FinishLog(rows))
                return 0;
            if (rows > 0)
                List().SortTextItems(sortColumn, TRUE);
        }
        if (rows > 0 && elapsed)
            m_pHost->PostToView(WM_RUNETTHREADS, 0, 0);
        ShowStatusText("Ready");
        pass.TraceEnd();
        return rows;
    });
}
