// The report view's way from a row to its log: Goto Log, Open Log, the statistics rows' logs, the double
// click, the row click's pad text, the search for a server log by name and the line searches.
#include <cstdlib>
#include <string_view>

#include "analysis/AppMaps.h"
#include "analysis/LogLineReader.h"
#include "app/EditorLaunch.h"
#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "platform/base/JoinPath.h"
#include "platform/framework/app/WinThread.h"
#include "sifter/FileFinder.h"

namespace {
const char kServerNotAvailable[] = "<N/A> - QServer Log information not available.";
const char kNoServerInfo[] = "<N/A> - No associated QServer Log file information found for the selected list item";
const char kSentMarker[] = "Action : sent to /pt_QServer:";
constexpr int kMaxTransactionLines = 2000;

bool Has(const CString& text, const char* part) {
    return text.Find(part) >= 0;
}

// The text before the first occurrence of part (the whole text when it has none).
CString Before(const CString& text, const char* part) {
    int at = text.Find(part);
    return at < 0 ? text : text.Left(at);
}

bool Contains(std::string_view line, const CString& part) {
    return line.find(std::string_view(part.GetString(), (size_t)part.GetLength())) != std::string_view::npos;
}

// A statistics row's client id as its server log writes it: without the request count ("(n)").
CString StatsClientId(CString cell) {
    CVeltrinAnalysis::StripIdSuffix(cell);
    return cell;
}

// The keys a statistics row's transaction is searched by: the transaction as the server log writes it,
// carrying the client id's count "(n)" when it is above 1 (the n-th request of that client in that
// second), and the client id without it.
struct StatsKeys {
    CString transaction;
    CString clientId;
    int32_t nth;
};
StatsKeys StatsRowKeys(LPCTSTR transaction, LPCTSTR tid) {
    StatsKeys keys{CVeltrinAnalysis::ServerTransaction(transaction), tid, 0};
    keys.nth = CVeltrinAnalysis::SplitIdNumber(keys.clientId);
    if (keys.nth > 1)
        keys.transaction.AppendFormat("(%d)", (int)keys.nth);
    return keys;
}
}  // namespace

// Where a row leads.
struct CVeltrinView::RowTarget {
    enum Kind { Nothing, WholeFile, AtLine, AtText, NotAvailable } kind = Nothing;
    CString folder;  // the folder of the file
    CString file;
    CString value;   // the line (AtLine) or the search text (AtText)
    bool bare = false;  // the whole-tree time and integrity lists: the keyword form of a double click
};

BOOL CVeltrinView::GetFocusedItem(int& row) const {
    if (m_List.GetItemCount() == 0)
        return FALSE;
    int focused = m_List.GetFocusedItem();
    if (focused < 0)
        return FALSE;
    row = focused;
    return TRUE;
}

BOOL CVeltrinView::FindLogFile(CString& name) {
    CFileFinder finder;
    CFindOptions options;
    options.sBaseFolder = m_csBaseFolder;
    options.sFileMask.Format("*%s*.*", name.GetString());
    options.dwOptionsFlags = 0x10;
    options.dwFileAttributes = 0x20;
    options.bSubfolders = FALSE;
    finder.Search(&options);
    const int count = finder.GetFileCount();
    if (count > 0) {
        int chosen = count - 1;
        // A file titled as sought wins over others that merely hold the name.
        for (int i = 0; i < count; ++i) {
            CString fileName = finder.GetFilePath(i).GetFileName();
            if (Before(fileName, ".") == name)
                chosen = i;
        }
        CString fileName = finder.GetFilePath(chosen).GetFileName();
        if (fileName.Find(name) >= 0) {
            name = fileName;
            return TRUE;
        }
    }
    name.Empty();
    return FALSE;
}

BOOL CVeltrinView::BrokerLineTarget(int row, CString& serverLog, CString& clientType, CString& clientMachine,
                                    CString& time) {
    const CString content = m_List.GetItemText(row, 2);
    const int marker = content.Find(kSentMarker);
    if (marker < 0)
        return FALSE;
    CString id = content.Mid(marker + (int)sizeof(kSentMarker) - 1);
    id = Before(id, " ");
    id = id.Mid(id.ReverseFind('/') + 1);
    serverLog.Format("%sQServer%s", m_csReportName.Left(8).GetString(), id.GetString());
    if (!FindLogFile(serverLog))
        return FALSE;
    int at = content.Find("Type: ");
    clientType = at < 0 ? CString() : Before(content.Mid(at + 6), " ");
    at = content.Find("/pt_QClient:");
    clientMachine.Empty();
    if (at >= 0) {
        CString rest = content.Mid(at + 12);
        clientMachine = rest.Find('#') >= 0 ? Before(rest, "#") : Before(rest, " ");
    }
    at = content.Find(" ID ");
    time = at >= 8 ? content.Mid(at - 8, 8) : CString();
    return TRUE;
}

void CVeltrinView::ShowNotAvailable(LPCTSTR text) {
    ClearPadText();
    Host().Pause(500);
    m_csPadText = text;
    ShowPadText(m_csPadText);
}

CVeltrinView::RowTarget CVeltrinView::ResolveRow(int row) {
    RowTarget t;
    t.folder = m_csBaseFolder;
    auto cell = [&](int col) { return m_List.GetItemText(row, col); };
    const CString key = m_csListKey;
    const CString caption = m_List.GetCaption();
    const CString c0 = cell(0);
    // A marker row opens its report log whole; other rows the log of fileCol at lineCol.
    auto rowOrMarker = [&](bool isMarker, int fileCol, int lineCol) {
        if (isMarker) {
            t.kind = RowTarget::WholeFile;
            t.file = cell(1);
        } else {
            t.kind = RowTarget::AtLine;
            t.file = cell(fileCol);
            t.value = cell(lineCol);
        }
    };
    const bool top20Marker = Has(c0, "TOP20LOG");
    if (Has(key, "Import_")) {
        IMPObj rec;
        if (g_mapImportedLists.Lookup(key, rec)) {
            t.kind = RowTarget::WholeFile;
            t.folder = rec.m_csFolder;
            t.file = rec.m_csFile;
        }
    } else if (Has(key, "XACT_IMZ_")) {
        rowOrMarker(Has(c0, "XACTIMZ"), 10, 3);
    } else if (m_csType == "ROOTITEM" && m_csExe == "ITEMIZE") {
        CString server, type, machine, time;
        if (BrokerLineTarget(row, server, type, machine, time) && !type.IsEmpty() && !machine.IsEmpty() &&
            !time.IsEmpty()) {
            t.kind = RowTarget::AtText;
            t.file = server;
            t.value.Format("%s   /pt_QClient:%s", type.GetString(), machine.GetString());
        } else {
            t.kind = RowTarget::NotAvailable;
        }
    } else if ((m_csType == "SUBITEM" || m_csType == "ROOTITEM") && m_csExe == "QSVRITEMIZE") {
        t.kind = RowTarget::AtLine;
        t.file = m_csReportName.Find('.') < 0 ? m_csReportName + ".log" : m_csReportName;
        t.value = cell(1);
    } else if ((Has(key, "_TA") && Has(key, "QBroker") && caption == "ANALYZETAALL") ||
               Has(key, "SQL_ANALYSIS_ALL_TA") || m_csLayout == "ANALYZETAALL" || m_csLayout == "ANALYZETICALL") {
        rowOrMarker(false, 2, 1);
        t.bare = true;
    } else if (m_csLayout == "ANALYZETA" || m_csLayout == "ANALYZETIC") {
        t.kind = RowTarget::AtLine;
        t.file = Before(key, "_") + ".log";
        t.value = cell(1);
    } else if (Has(key, "TOP20_XACT_ALL")) {
        rowOrMarker(top20Marker, 1, 2);
    } else if (Has(key, "TOP20_SQL_ALL")) {
        rowOrMarker(top20Marker, 1, 4);
    } else if (caption == "TOP20XACT" || Has(key, "_T20Xact")) {
        rowOrMarker(c0 == "TOP20LOG", 1, 2);
    } else if (caption == "TOP20SQL") {
        rowOrMarker(c0 == "TOP20LOG", 1, 4);
    } else if (Has(key, "XACT_T20SQL")) {
        rowOrMarker(Has(c0, "XACT_T20SQL"), 1, 2);
    } else if (Has(key, "_T20Sql")) {
        rowOrMarker(c0 == "TOP20LOG", 1, 4);
    } else if (Has(key, "SQLHISTOGRAM")) {
        rowOrMarker(false, 1, 4);
    } else if (Has(key, "_TIC")) {
        t.kind = RowTarget::AtLine;
        t.file = Before(key, "_TIC");
        t.value = cell(1);
    } else {
        t.kind = RowTarget::AtText;
        if (Has(key, "_TA")) {
            t.file = Before(key, "_TA");
            t.value = cell(3);
        } else {
            t.file = Has(key, ".log") ? key : key + ".log";
            t.value = cell(2);
        }
    }
    // A file column that holds a path stands alone; a bare name lies in the view's folder.
    if (t.file.Find('/') >= 0)
        t.folder.Empty();
    return t;
}

void CVeltrinView::OpenLog(int row) {
    if (row < 0 || row >= m_List.GetItemCount())
        return;
    RowTarget t = ResolveRow(row);
    switch (t.kind) {
        case RowTarget::WholeFile:
            OpenInEditor(m_hWnd, t.folder, t.file);
            break;
        case RowTarget::AtLine:
            OpenInEditor(m_hWnd, t.folder, t.file, "GOTOLINE", t.value);
            break;
        case RowTarget::AtText:
            OpenInEditor(m_hWnd, t.folder, t.file, "SEARCH_ETX", t.value);
            break;
        case RowTarget::NotAvailable:
            ShowNotAvailable(kServerNotAvailable);
            break;
        case RowTarget::Nothing:
            break;
    }
}

BOOL CVeltrinView::OpenStatsServerLine(int row) {
    const bool cm = Has(m_csListKey, "STATS_CM");
    if (!cm && !Has(m_csListKey, "STATS_HS"))
        return FALSE;
    const int fileCol = cm ? 7 : 8, lineCol = cm ? 8 : 9;
    CString file = m_List.GetItemText(row, fileCol);
    CString line = m_List.GetItemText(row, lineCol);
    if (line.IsEmpty()) {
        int32_t found = FindStatsTransactionLine(row);
        if (found > 0) {
            line.Format("%ld", (long)found);
            m_List.SetItemText(row, lineCol, line);
        }
    }
    OpenInEditor(m_hWnd, m_csBaseFolder, file, "GOTOLINE", line);
    return TRUE;
}

void CVeltrinView::OnGotoLog() {
    int row = -1;
    if (!GetFocusedItem(row))
        return;
    auto cell = [&](int col) { return m_List.GetItemText(row, col); };
    if (m_csExe == "ITEMIZE") {
        CString server, type, machine, time;
        if (!BrokerLineTarget(row, server, type, machine, time)) {
            ShowNotAvailable(kServerNotAvailable);
            return;
        }
        if (GetLineNumber(server, type, machine, time) <= 0)
            return;
        _csGotoLogLine = _csLastGotoLine;
        _csReportName = server;
        _csItemKind = "SUBITEM";
        _csAction = "QSVRITEMIZE";
        _csCommand.Format("NAME=%s|TYPE=%s|EXE=%s|SEARCH=%s", _csReportName.GetString(), _csItemKind.GetString(),
                          _csAction.GetString(), _csLastFindText.GetString());
        PostToMainWindow(WM_GOTOLINEREQUEST, 0, 0);
        return;
    }
    if (m_csExe == "ANALYZETAALL" || m_csExe == "ANALYZETICALL") {
        const bool ta = m_csExe == "ANALYZETAALL";
        if (Has(m_csListKey, ta ? "_TA" : "_TIC") && Has(m_csListKey, "QBroker") &&
            m_List.GetCaption() == m_csExe)
            OpenInEditor(m_hWnd, cell(2).Find('/') >= 0 ? "" : m_csBaseFolder.GetString(), cell(2), "GOTOLINE",
                         cell(1));
        return;
    }
    if (m_csExe == "TOP20XACT" || m_csExe == "TOP20SQL") {
        if (cell(0) == "TOP20LOG")
            OpenInEditor(m_hWnd, m_csBaseFolder, cell(1));
        else
            OpenInEditor(m_hWnd, m_csBaseFolder, cell(1), "GOTOLINE", cell(m_csExe == "TOP20XACT" ? 2 : 4));
        return;
    }
    if (m_csExe == "QSVRITEMIZE") {
        CString file = m_csReportName.Find('.') < 0 ? m_csReportName + ".log" : m_csReportName;
        OpenInEditor(m_hWnd, m_csBaseFolder, file, "GOTOLINE", cell(1));
        return;
    }
    if (OpenStatsServerLine(row))
        return;
    CString file = m_csListKey;
    CString text = cell(2);
    if (Has(file, "_TA")) {
        file = Before(file, "_TA");
        text = cell(3);
    }
    OpenInEditor(m_hWnd, m_csBaseFolder, file, "SEARCH_ETX", text);
}

int32_t CVeltrinView::FindStatsTransactionLine(int row) {
    const bool cm = Has(m_csListKey, "STATS_CM");
    const int fileCol = cm ? 7 : 8, tidCol = cm ? 9 : 10, timeCol = cm ? 4 : 5;
    auto cell = [&](int col) { return m_List.GetItemText(row, col); };
    const StatsKeys keys = StatsRowKeys(cell(2), cell(tidCol));
    if (keys.nth <= 1)
        return GetLineNumber(cell(fileCol), keys.transaction, keys.clientId, cell(timeCol));
    // Only the transaction search counts the opening lines.
    SearchLogToPad(cell(fileCol), keys.transaction, keys.clientId, cell(timeCol));
    return (int32_t)std::atol(_csLastGotoLine);
}

void CVeltrinView::OnOpenQBrokerLogAtLine(int row) {
    const bool cm = Has(m_csListKey, "STATS_CM");
    if ((!cm && !Has(m_csListKey, "STATS_HS")) || row < 0 || row >= m_List.GetItemCount())
        return;
    // "file: line"
    CString text = m_List.GetItemText(row, cm ? 6 : 7);
    int colon = text.Find(':');
    if (colon < 0)
        return;
    CString file = Before(text, ": ");
    CString line = text.Mid(colon + 1);
    line.Trim();
    OpenInEditor(m_hWnd, m_csBaseFolder, file, "GOTOLINE", line);
}

void CVeltrinView::OpenServerLog(int row) {
    const bool cm = Has(m_csListKey, "STATS_CM");
    if ((!cm && !Has(m_csListKey, "STATS_HS")) || row < 0 || row >= m_List.GetItemCount())
        return;
    CString file = m_List.GetItemText(row, cm ? 7 : 8);
    int32_t found = FindStatsTransactionLine(row);
    CString line;
    line.Format("%ld", (long)found);
    OpenInEditor(m_hWnd, m_csBaseFolder, file, "GOTOLINE", line);
}

void CVeltrinView::OnOpenInEditor(int row) {
    if (row < 0 || row >= m_List.GetItemCount())
        return;
    if (OpenStatsServerLine(row))
        return;
    RowTarget t = ResolveRow(row);
    if (t.kind == RowTarget::AtLine && (t.bare || Has(m_csListKey, "QBroker"))) {
        // The keyword form: the path in double quotes only when it holds a blank.
        if (!IsFileAvailable(m_hWnd, t.folder, t.file))
            return;
        CString path = JoinPath(t.folder, t.file);
        CString line;
        line.Format(path.Find(' ') >= 0 ? "Scrivel \"%s\" %s=%s" : "Scrivel %s %s=%s", path.GetString(), "GOTOLINE",
                    t.value.GetString());
        g_launchEditor(line);
        return;
    }
    OpenLog(row);
}

void CVeltrinView::OnShowListItem(int row, BOOL) {
    if (row < 0 || row >= m_List.GetItemCount())
        return;
    CWaitCursor wait;
    auto cell = [&](int col) { return m_List.GetItemText(row, col); };
    const CString& key = m_csListKey;
    m_csLastLine = cell(1);
    if (Has(key, "STATS_CM") || Has(key, "STATS_HS")) {
        const bool cm = Has(key, "STATS_CM");
        const int elapsedCol = cm ? 5 : 6, fileCol = cm ? 7 : 8, lineCol = cm ? 8 : 9, tidCol = cm ? 9 : 10;
        const int dateCol = cm ? 3 : 4, timeCol = cm ? 4 : 5;
        if (cell(elapsedCol).IsEmpty()) {
            CString elapsed = GetElapsedTime(cell(fileCol), cell(2), cell(tidCol), cell(dateCol), cell(timeCol));
            // The retry of the worker threads: the id without its suffix, one second later.
            const CString later = RetryTime(cell(timeCol));
            if (elapsed == "N/A" && !later.IsEmpty())
                elapsed = GetElapsedTime(cell(fileCol), cell(2), StatsClientId(cell(tidCol)), cell(dateCol), later);
            m_List.SetItemText(row, elapsedCol, elapsed);
        }
        // The id's count "(n)" picks the n-th transaction of that client in that second, as the elapsed
        // time scan does; the pad search reads it from the first key.
        const StatsKeys keys = StatsRowKeys(cell(2), cell(tidCol));
        SearchLogToPad(cell(fileCol), keys.transaction, keys.clientId, cell(timeCol));
        m_List.SetItemText(row, lineCol, _csLastGotoLine);
    } else if (Has(key, "XACT_SUM")) {
        if (cell(0) != "XACTSQLSUM") {
            CString sql = cell(2);
            NormalizeSql(sql);
            ShowOutputBarOnce();
            m_csPadText = sql;
            ShowPadText(m_csPadText);
        }
    } else if (m_csType == "ROOTITEM" && m_csExe == "ITEMIZE") {
        CString server, type, machine, time;
        ShowOutputBar();
        if (BrokerLineTarget(row, server, type, machine, time))
            SearchLogToPad(server, type, machine, time);
        else
            ShowNotAvailable(kServerNotAvailable);
    } else {
        RowTarget t = ResolveRow(row);
        if (t.kind == RowTarget::AtLine) {
            CString folder = m_csBaseFolder;
            m_csBaseFolder = t.folder;
            LoadQServerExcerpt(t.file, t.value);
            m_csBaseFolder = folder;
        }
    }
    m_List.DeselectAll();
    SetHighlightRow(row);
}

int32_t CVeltrinView::GetLineNumber(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR time) {
    Trace("Start CVeltrinView::GetLineNumber");
    _csLastGotoLine = "";
    const CString file(logName ? logName : "");
    if (file.Find(" - N/A") >= 0) {
        Trace("Abort CVeltrinView::GetLineNumber");
        m_csPadText.Format("This file is not available!\r\n%s", file.GetString());
        ShowPadText(m_csPadText);
        return 0;
    }
    CString first(key1 ? key1 : "");
    StripIdSuffix(first);
    const CString second(key2 ? key2 : "");
    const CString when(time ? time : "");
    if (first.IsEmpty() || when.IsEmpty()) {
        // Nothing to look for: an empty key would match the first timed line.
        m_csPadText = kNoServerInfo;
        ShowPadText(m_csPadText);
        Trace("End CVeltrinView::GetLineNumber");
        return 0;
    }
    const CString path = JoinPath(m_csBaseFolder, file);
    LineCountAhead count(path);  // a long log is counted beside the search
    ShowStatusText("Processing QServer content...");
    BOOL go = TRUE;
    auto wait = Host().OpenWaitDialog(&go, count.Total());
    wait->SetMessageText("Itemizing QServer Content...");
    LogLineReader reader(&go);
    std::string buffer;
    std::string_view line;
    if (reader.Open(path)) {
        while (reader.NextLine(line)) {
            const long number = reader.GetLineNumber();
            std::string_view text = ExpandedTabs(line, buffer);
            if (!text.empty() && Contains(text, when) && Contains(text, first) && Contains(text, second)) {
                m_csPadText = CString(std::string(text).c_str()) + "\r\n";
                ShowPadText(m_csPadText);
                _csLastGotoLine.Format("%ld", number);
                CString message;
                message.Format("Searching ...\r\n%ld", number);
                wait->SetMessageText(message);
                break;
            }
            if (number % 1000 == 0) {
                ShowRecordCount((int32_t)number);
                if (count.Arrived())
                    wait->SetTotal(count.Total());
                if (!wait->SetProgress((int32_t)number))
                    break;
            }
        }
    }
    wait->Close();
    if (_csLastGotoLine.IsEmpty()) {
        m_csPadText = kNoServerInfo;
        ShowPadText(m_csPadText);
    }
    ShowStatusText("Ready");
    Trace("End CVeltrinView::GetLineNumber");
    return (int32_t)std::atol(_csLastGotoLine);
}

void CVeltrinView::SearchLogToPad(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR time) {
    const CString file(logName ? logName : "");
    const CString path = JoinPath(m_csBaseFolder, file);
    TraceF("Start %s", path.GetString());
    _csLastGotoLine = "";
    ClearPadText();
    Host().Pause(100);
    CString first(key1 ? key1 : "");
    const CString second(key2 ? key2 : "");
    const CString when(time ? time : "");
    if (file.IsEmpty() || first.IsEmpty() || second.IsEmpty() || when.IsEmpty()) {
        m_csPadText = kNoServerInfo;
        ShowPadText(m_csPadText);
        return;
    }
    LineCountAhead count(path);  // a long log is counted beside the search
    if (count.Total() <= 0) {
        m_csPadText = "QServer Log file not available";
        ShowPadText(m_csPadText);
        return;
    }
    // A count "(n)" on the first key: the n-th opening line that matches, else the first.
    const int32_t wanted = SplitIdNumber(first);
    long candidates = 0;
    const CString opening = "Start " + first;
    ShowStatusText("Processing Padview content...");
    BOOL go = TRUE;
    auto wait = Host().OpenWaitDialog(&go, count.Total());
    wait->SetMessageText("Searching...");
    LogLineReader reader(&go);
    std::string buffer;
    std::string_view line;
    CString pad;
    bool inside = false;
    int copied = 0;
    if (reader.Open(path)) {
        while (reader.NextLine(line)) {
            const long number = reader.GetLineNumber();
            std::string_view text = ExpandedTabs(line, buffer);
            if (!inside) {
                if (Contains(text, opening) && Contains(text, second) && Contains(text, when) &&
                    ++candidates >= wanted) {
                    inside = true;
                    _csLastGotoLine.Format("%ld", number);
                    pad += CString(std::string(text).c_str()) + "\r\n";
                    ++copied;
                } else if (number % 1000 == 0) {
                    if (count.Arrived())
                        wait->SetTotal(count.Total());
                    if (!wait->SetProgress((int32_t)number))
                        break;
                }
                continue;
            }
            pad += CString(std::string(text).c_str()) + "\r\n";
            // The transaction ends at "End" and blanks before its key.
            size_t end = text.find("End ");
            if (end != std::string_view::npos) {
                std::string_view rest = text.substr(end + 3);
                while (!rest.empty() && rest.front() == ' ')
                    rest.remove_prefix(1);
                if (rest.substr(0, (size_t)first.GetLength()) == std::string_view(first.GetString()))
                    break;
            }
            if (++copied >= kMaxTransactionLines) {
                pad += "\r\n    :\r\n    :\r\n    :\r\n";
                break;
            }
        }
    }
    wait->Close();
    m_csPadText = inside ? pad : CString(kNoServerInfo);
    ShowPadText(m_csPadText);
    ShowStatusText("Ready");
}

// ---- Message and command entries ----

LRESULT CVeltrinView::OnGotoLogMessage(WPARAM, LPARAM) {
    OnGotoLog();
    return 0;
}

LRESULT CVeltrinView::OnOpenInEditorMessage(WPARAM wParam, LPARAM) {
    OnOpenInEditor((int)wParam);
    return 0;
}

LRESULT CVeltrinView::OnShowListItemMessage(WPARAM wParam, LPARAM lParam) {
    OnShowListItem((int)wParam, (BOOL)lParam);
    return 0;
}

void CVeltrinView::OnCmdOpenLog() {
    int row = -1;
    if (GetFocusedItem(row))
        OpenLog(row);
}

void CVeltrinView::OnCmdOpenQBrokerLog() {
    int row = -1;
    if (GetFocusedItem(row))
        OnOpenQBrokerLogAtLine(row);
}

void CVeltrinView::OnCmdOpenServerLog() {
    int row = -1;
    if (GetFocusedItem(row))
        OpenServerLog(row);
}
