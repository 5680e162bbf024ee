#include "app/MyTreeView.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <vector>

#include "analysis/AppMaps.h"
#include "analysis/LogLineReader.h"
#include "analysis/ReportLog.h"
#include "app/EditorLaunch.h"
#include "app/QueryExistingReportDlg.h"
#include "app/QueryExistingTop20Dlg.h"
#include "app/ReportFrameLink.h"
#include "app/VeltrinDialogs.h"
#include "app/WaitDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "core/TraceLog.h"
#include "platform/base/JoinPath.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/ImageList.h"
#include "res/veltrin/resource_frame.h"

namespace {
const char kNoStamp[] = "YYYYMMDDHHMMSS";
constexpr int kImageRoot = 0;
constexpr int kImageMissing = 4;
constexpr int kImageServer = 5;

// The text after the last '/' (the whole text when there is none).
CString FileNameOf(const CString& path) {
    int slash = path.ReverseFind('/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

// A log's title: its name up to the first '.'.
CString TitleOf(const CString& name) {
    int dot = name.Find('.');
    return dot < 0 ? name : name.Left(dot);
}

// "HHMMSS" from a clock in text: the first ':' must be followed three places later by another; the
// text from two characters before the first, without leading blanks, gives the hours (its first two
// characters), the minutes (the two after its first ':') and the seconds (the two after its second).
bool ParseClock(std::string_view text, CString& hhmmss) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || colon + 3 >= text.size() || text[colon + 3] != ':')
        return false;
    std::string_view t = text.substr(colon - 2);
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    size_t first = t.find(':');
    if (first == std::string_view::npos || first + 3 > t.size())
        return false;
    size_t second = t.find(':', first + 1);
    if (second == std::string_view::npos || second + 3 > t.size() || t.size() < 2)
        return false;
    std::string out;
    out.append(t.substr(0, 2)).append(t.substr(first + 1, 2)).append(t.substr(second + 1, 2));
    hhmmss = out.c_str();
    return true;
}

struct ServerEntry {
    CString name;
    CString stamp;
};

std::vector<ServerEntry> ParseServerList(const CString& list) {
    std::vector<ServerEntry> entries;
    std::string_view rest(list.GetString(), (size_t)list.GetLength());
    while (!rest.empty()) {
        size_t bar = rest.find('|');
        std::string_view entry = rest.substr(0, bar);
        size_t gt = entry.rfind('>');
        ServerEntry e;
        e.name = CString(std::string(entry.substr(0, gt)).c_str());
        if (gt != std::string_view::npos)
            e.stamp = CString(std::string(entry.substr(gt + 1)).c_str());
        if (!entry.empty())
            entries.push_back(e);
        if (bar == std::string_view::npos)
            break;
        rest.remove_prefix(bar + 1);
    }
    return entries;
}

bool StampLess(const CString& a, const CString& b) {
    return AsciiCompareNoCase(std::string_view(a.GetString(), (size_t)a.GetLength()),
                              std::string_view(b.GetString(), (size_t)b.GetLength())) < 0;
}

CWnd* MainWindow() {
    return AfxGetMainWnd();
}

LRESULT SendToMain(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    CWnd* main = MainWindow();
    return main && main->m_hWnd ? main->SendMessage(message, wParam, lParam) : 0;
}

void PostToMain(UINT message) {
    CWnd* main = MainWindow();
    if (main && main->m_hWnd)
        main->PostMessage(message, 0, 0);
}

int Box(LPCTSTR text, UINT type) {
    CWnd* main = MainWindow();
    return PlatformMessageBox(main ? main->m_hWnd : nullptr, text, "Veltrin", type);
}

// Adds 1 to the scale until the total fits the wait dialog's int range.
int Scaled(ULONGLONG value, ULONGLONG scale) {
    return (int)std::min<ULONGLONG>(value / scale, INT_MAX);
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------
// The tree control.

BEGIN_MESSAGE_MAP(CMyTreeCtrl, CTreeCtrl)
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_COMMAND(4001, CMyTreeCtrl::OnItemize)
ON_COMMAND(4007, CMyTreeCtrl::OnItemize)
ON_WM_LBUTTONDBLCLK()
ON_COMMAND(4008, CMyTreeCtrl::OnRunTABroker)
ON_COMMAND(4006, CMyTreeCtrl::OnRunTAServer)
ON_COMMAND(198, CMyTreeCtrl::OnOpenInEditor)
ON_COMMAND(4004, CMyTreeCtrl::OnOpenInEditor)
ON_COMMAND(32785, CMyTreeCtrl::OnRemove)
ON_COMMAND(32792, CMyTreeCtrl::OnRemove)
ON_COMMAND(4000, CMyTreeCtrl::OnFindInFile)
ON_COMMAND(4003, CMyTreeCtrl::OnFindInFile)
ON_COMMAND(4012, CMyTreeCtrl::OnGotoLineInList)
ON_COMMAND(4011, CMyTreeCtrl::OnGotoLineInList)
ON_COMMAND(32802, CMyTreeCtrl::OnRunTICBroker)
ON_COMMAND(32805, CMyTreeCtrl::OnRunTICServer)
ON_COMMAND(32799, CMyTreeCtrl::OnRunTICServerNow)
ON_COMMAND(32788, CMyTreeCtrl::OnRunT20Broker)
ON_COMMAND(32790, CMyTreeCtrl::OnRunT20Server)
END_MESSAGE_MAP()

int CMyTreeCtrl::ItemImage(HTREEITEM item) const {
    int image = -1, selected = -1;
    if (!item || !GetItemImage(item, image, selected))
        return -1;
    return image;
}

HTREEITEM CMyTreeCtrl::FindItemByText(LPCTSTR text) {
    CString wanted(text ? text : "");
    for (HTREEITEM root = GetRootItem(); root; root = GetNextSiblingItem(root)) {
        if (GetItemText(root) == wanted)
            return root;
        for (HTREEITEM child = GetChildItem(root); child; child = GetNextSiblingItem(child)) {
            CString childText = GetItemText(child);
            if (childText == wanted || childText + ".log" == wanted)
                return child;
        }
    }
    return nullptr;
}

HTREEITEM CMyTreeCtrl::FindAndSelectItem(LPCTSTR text) {
    HTREEITEM item = FindItemByText(text);
    if (item)
        Select(item, TVGN_CARET);
    return item;
}

void CMyTreeCtrl::BoldLoadedRoots() {
    g_mapLoadedLogs.ForEach([&](const CString&, const HObj& rec) {
        if (rec.m_hRootItem)
            SetItemState((HTREEITEM)rec.m_hRootItem, TVIS_BOLD, TVIS_BOLD);
    });
}

HTREEITEM CMyTreeCtrl::HitTestItem(POINT point) {
    UINT flags = 0;
    HTREEITEM item = HitTest(point, &flags);
    if (!item || !(flags & TVHT_ONITEM))
        return nullptr;
    EnsureVisible(item);
    BoldLoadedRoots();
    m_hCurrentItem = item;
    SetRequestFromItem(item);
    return item;
}

void CMyTreeCtrl::SetRequestFromItem(HTREEITEM item) {
    CString name = GetItemText(item);
    if (name.Find('.') < 0)
        name += ".log";
    _csReportName = name;
    CString key = name;
    if (name.Find("QBroker") < 0) {
        HTREEITEM parent = GetParentItem(item);
        if (parent)
            key = GetItemText(parent);
    }
    HObj rec;
    _csBaseFolder = g_mapLoadedLogs.Lookup(key, rec) ? rec.m_csFolder : CString();
    CString upper = name;
    upper.MakeUpper();
    _csLogType = upper.Find("QBROKER") >= 0 ? "QBROKER" : "QSERVER";
    int image = ItemImage(item);
    if (image == kImageRoot)
        _csItemKind = "ROOTITEM";
    else if (image == kImageMissing || image == kImageServer)
        _csItemKind = "SUBITEM";
    else
        _csItemKind = "";
}

void CMyTreeCtrl::RemoveSelectedLog(HTREEITEM item) {
    SetRequestFromItem(item);
    if (DeleteItem(item)) {
        m_hCurrentItem = nullptr;
        g_mapLoadedLogs.Remove(_csReportName);
    }
}

void CMyTreeCtrl::OnLButtonDown(UINT, POINT point) {
    HitTestItem(point);
    Default();
}

void CMyTreeCtrl::OnRButtonDown(UINT, POINT point) {
    HTREEITEM item = HitTestItem(point);
    if (!item)
        return;
    UINT menuId = 0;
    switch (ItemImage(item)) {
        case kImageServer:
            menuId = 150;
            break;
        case kImageRoot:
            menuId = _csLogType == "QBROKER" ? 190 : 150;
            break;
        default:
            return;
    }
    CMenu menu;
    if (!menu.LoadMenu(menuId))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup) {
        POINT screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, this);
    }
    menu.DestroyMenu();
}

void CMyTreeCtrl::DispatchRequest() {
    CReportFrameLink& link = CReportFrameLink::Get();
    if (link.IsPadPage(_csReportName))
        return;
    link.OpenReportDocument(_csReportName);
    link.PruneRecentFileList();
    SendToMain(WM_VIEWDATA);
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnItemize() {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    _csListKey = _csReportName;
    if (_csLogType == "QBROKER") {
        _csAction = "ITEMIZE";
        _csReportType = "QBROKERITEMIZE";
    } else if (_csLogType == "QSERVER") {
        _csAction = "QSVRITEMIZE";
        _csReportType = "QSVRITEMIZE";
    } else {
        return;
    }
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    DispatchRequest();
}

// What tells a time analysis from an integrity check: the suffix of its list keys and report logs,
// its action words, its "Use Existing" messages and the names of its whole-tree report.
struct TreeAnalysisKind {
    const char* suffix;        // "_TA", "_TIC"
    const char* serverAction;  // action word of a single QServer log
    const char* batchAction;   // action word of a QBroker log and of the whole tree
    bool serverKeyFromName;    // a new QServer run is named after the log's name (else its title)
    UINT serverImport, brokerImport, treeImport;
    const char* treeDoc;  // _csDocToOpen of the whole-tree run, also its report log's title
    const char* treeKey;  // list key of the whole-tree run
};

namespace {
const TreeAnalysisKind kTimeAnalysis{"_TA",           "ANALYZETA",          "ANALYZETAALL",
                                     true,            WM_IMPORTANALYZEDLOG, WM_IMPORTTALOG,
                                     WM_IMPORTTAALLLOG, "SQLTimeAnalysisAllTreeview", "SQL_ANALYSIS_ALL_TA"};
const TreeAnalysisKind kIntegrityCheck{"_TIC",          "ANALYZETIC",          "ANALYZETICALL",
                                       false,           WM_IMPORTTICREPORTLOG, WM_IMPORTTICLOG,
                                       WM_IMPORTTICALLLOG, "TICAnalysisAllTreeview", "SQL_ANALYSIS_ALL_TIC"};

// One half of a top-20 run: its action word, list-key suffixes, report logs and messages.
struct Top20Half {
    const char* action;       // "TOP20XACT", "TOP20SQL"
    const char* suffix;       // list key and report log of one log: name or title + suffix
    const char* treeKey;      // list key of the whole-tree run
    const char* treeDoc;      // _csDocToOpen of the whole-tree run, also its report log's title
    UINT compile, populate;
};
const Top20Half kTop20Halves[] = {
    {"TOP20XACT", "_T20Xact", "TOP20_XACT_ALL", "Top20Transactions", WM_COMPILETOP20XACT, WM_POPULATETOP20XACT},
    {"TOP20SQL", "_T20Sql", "TOP20_SQL_ALL", "Top20SqlStatements", WM_COMPILETOP20SQL, WM_POPULATETOP20SQL},
};
}  // namespace

int CMyTreeCtrl::QueryExistingReport(LPCTSTR reportLogPath) {
    if (GetFileSizeByName(reportLogPath) == 0)
        return 0;
    CQueryExistingReportDlg dlg(reportLogPath, "", MainWindow());
    dlg.DoModal();
    // A new report starts its log afresh here: the engine empties it only with a batch's first request,
    // which leaves the old rows in front of the new ones when that request's log is not available.
    if (dlg.GetChoice() == 0)
        CReportLog(reportLogPath).Delete();
    return dlg.GetChoice();
}

int CMyTreeCtrl::QueryExistingTop20(LPCTSTR transactionsLog, LPCTSTR sqlLog) {
    if (GetFileSizeByName(transactionsLog) == 0 || GetFileSizeByName(sqlLog) == 0)
        return 0;
    CQueryExistingTop20Dlg dlg(transactionsLog, sqlLog, MainWindow());
    dlg.DoModal();
    return dlg.GetChoice();
}

BOOL CMyTreeCtrl::UseExistingTa(LPCTSTR reportLog, LPCTSTR listKey, LPCTSTR docToOpen, LPCTSTR reportType,
                                UINT message) {
    _csReportName = reportLog;
    _csListKey = listKey;
    _csDocToOpen = docToOpen;
    _csReportType = reportType;
    SendToMain(message);
    if (!CReportFrameLink::Get().IsPadPage(listKey))
        return FALSE;
    PostToMain(WM_REFRESHVIEW);
    return TRUE;
}

BOOL CMyTreeCtrl::UseExistingTop20(LPCTSTR folder, LPCTSTR title) {
    const bool wholeTree = !title || !*title;
    const CString t(title ? title : "");
    struct Step {
        CString key, log;
        const char* type;
        UINT message;
    } steps[] = {
        {wholeTree ? CString("TOP20_XACT_ALL") : t + "_T20Xact",
         wholeTree ? CString("Top20Transactions.log") : t + "_T20Xact.log", "TOP20XACT", WM_IMPORTTOP20XACTLOG},
        {wholeTree ? CString("TOP20_SQL_ALL") : t + "_T20Sql",
         wholeTree ? CString("Top20SqlStatements.log") : t + "_T20Sql.log", "TOP20SQL", WM_IMPORTTOP20SQLLOG},
        {wholeTree ? CString("SQLSUMMARY_ALL") : t + "_T20Sql.log_SQLSUMMARY",
         wholeTree ? CString("SQLSUMMARY_ALL.log") : t + "_T20Sql.log_SQLSUMMARY.log", "SQLSUMMARY",
         WM_IMPORTSQLSUMMARYLOG},
    };
    CWinApp* app = AfxGetApp();
    const bool withSummary = app && app->GetProfileInt("Settings", "StartSqlSumRptOnT20", 0) == 1;
    const CString base(folder ? folder : "");
    for (size_t i = 0; i < (withSummary ? 3u : 2u); ++i) {
        _csListKey = steps[i].key;
        _csDocToOpen = steps[i].key;
        _csReportName = JoinPath(base, steps[i].log);
        _csReportType = steps[i].type;
        SendToMain(steps[i].message);
        if (!CReportFrameLink::Get().IsPadPage(steps[i].key))
            return FALSE;
    }
    PostToMain(WM_REFRESHVIEW);
    return TRUE;
}

void CMyTreeCtrl::SendCurrentRequest(HTREEITEM item, UINT message) {
    Select(item, TVGN_CARET);
    SetRequestFromItem(item);
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    SendToMain(message);
    g_bWaitForUpdate = 0;
}

void CMyTreeCtrl::ShowRecordsAndClearLogName() {
    CReportFrameLink& link = CReportFrameLink::Get();
    _csRecordsText.Format(" Records: %d", g_nBatchRecordCount);
    link.UpdateStatusPane3201();
    _csLogNameText = "";
    link.UpdateStatusPane3200();
}

void CMyTreeCtrl::RunServerAnalysis(const TreeAnalysisKind& kind) {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    CString name = _csReportName;
    CString title = TitleOf(name);
    CString listKey = (kind.serverKeyFromName ? name : title) + kind.suffix;
    _csReportName = listKey;
    _csListKey = listKey;
    _csAction = kind.serverAction;
    _csReportType = kind.serverAction;
    if (CReportFrameLink::Get().IsPadPage(listKey))
        return;
    _csReportName = name;
    CString reportLog = JoinPath(_csBaseFolder, title + kind.suffix + ".log");
    int choice = QueryExistingReport(reportLog);
    if (choice < 0)
        return;
    if (choice == 1) {
        UseExistingTa(reportLog, title + kind.suffix, "", kind.serverAction, kind.serverImport);
        return;
    }
    CReportFrameLink::Get().OpenReportDocument(listKey);
    _csReportName = name;
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    SendToMain(WM_VIEWDATA);
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnRunTAServer() {
    RunServerAnalysis(kTimeAnalysis);
}

void CMyTreeCtrl::OnRunTICServer() {
    RunServerAnalysis(kIntegrityCheck);
}

void CMyTreeCtrl::OnRunTICServerNow() {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    CString listKey = _csReportName + "_TIC";
    _csListKey = listKey;
    _csAction = "ANALYZETIC";
    _csReportType = "ANALYZETIC";
    CReportFrameLink& link = CReportFrameLink::Get();
    if (link.IsPadPage(listKey))
        return;
    link.OpenReportDocument(listKey);
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    SendToMain(WM_VIEWDATA);
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::RunBrokerAnalysis(const TreeAnalysisKind& kind) {
    HTREEITEM root = m_hCurrentItem;
    if (!root)
        return;
    SetRequestFromItem(root);
    if (!ItemHasChildren(root))
        return;
    CReportFrameLink& link = CReportFrameLink::Get();
    _csAction = kind.batchAction;
    _csReportType = kind.batchAction;
    g_nBatchRecordCount = 0;
    _csCommand = WAIT_FOR_UPDATE;
    g_bWaitForUpdate = 1;
    // The engine names the batch's report log after the list key only while this is empty.
    _csDocToOpen = "";
    CString listKey = _csReportName + kind.suffix;
    _csReportName = listKey;
    _csListKey = listKey;
    if (link.IsPadPage(listKey))
        return;
    CString title = TitleOf(listKey);
    CString reportLog = JoinPath(_csBaseFolder, title + kind.suffix + ".log");
    int choice = QueryExistingReport(reportLog);
    if (choice < 0)
        return;
    if (choice == 1) {
        UseExistingTa(reportLog, title + kind.suffix, title + kind.suffix, kind.batchAction, kind.brokerImport);
        return;
    }
    link.OpenReportDocument(listKey);
    for (HTREEITEM child = GetChildItem(root); child; child = GetNextSiblingItem(child))
        SendCurrentRequest(child, WM_VIEWDATA);
    Select(root, TVGN_CARET);
    ShowRecordsAndClearLogName();
    link.PruneRecentFileList();
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnRunTABroker() {
    RunBrokerAnalysis(kTimeAnalysis);
}

void CMyTreeCtrl::OnRunTICBroker() {
    RunBrokerAnalysis(kIntegrityCheck);
}

int CMyTreeCtrl::SendEveryLog(UINT message, bool showRecords) {
    int sent = 0;
    for (HTREEITEM root = GetRootItem(); root; root = GetNextSiblingItem(root)) {
        SetRequestFromItem(root);
        if (ItemHasChildren(root)) {
            for (HTREEITEM child = GetChildItem(root); child; child = GetNextSiblingItem(child), ++sent)
                SendCurrentRequest(child, message);
        } else {
            if (_csLogType == "QSERVER") {
                Select(root, TVGN_CARET);
                SetRequestFromItem(root);
            }
            _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
            SendToMain(message);
            g_bWaitForUpdate = 0;
            ++sent;
        }
        if (showRecords) {
            _csRecordsText.Format(" Records: %d", g_nBatchRecordCount);
            CReportFrameLink::Get().UpdateStatusPane3201();
        }
    }
    return sent;
}

void CMyTreeCtrl::RunAnalysisOnEntireTree(const TreeAnalysisKind& kind) {
    g_nBatchRecordCount = 0;
    HTREEITEM first = GetRootItem();
    if (!first)
        return;
    CReportFrameLink& link = CReportFrameLink::Get();
    _csCommand = WAIT_FOR_UPDATE;
    g_bWaitForUpdate = 1;
    _csDocToOpen = kind.treeDoc;
    _csAction = kind.batchAction;
    _csReportType = kind.batchAction;
    _csListKey = kind.treeKey;
    if (link.IsPadPage(_csListKey))
        return;
    // Asked before the view opens: a cancelled question leaves no empty report behind.
    CString reportLog = JoinPath(_csBaseFolder, CString(kind.treeDoc) + kind.suffix + ".log");
    int choice = QueryExistingReport(reportLog);
    if (choice < 0)
        return;
    if (choice == 1) {
        UseExistingTa(reportLog, kind.treeKey, kind.treeKey, kind.batchAction, kind.treeImport);
        return;
    }
    link.OpenReportDocument(_csListKey);
    SendEveryLog(WM_VIEWDATA, true);
    Select(first, TVGN_CARET);
    _csLogNameText = "";
    link.UpdateStatusPane3200();
    link.PruneRecentFileList();
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::RunTimeAnalysisOnEntireTree() {
    RunAnalysisOnEntireTree(kTimeAnalysis);
}

void CMyTreeCtrl::RunIntegrityCheckOnEntireTree() {
    RunAnalysisOnEntireTree(kIntegrityCheck);
}

void CMyTreeCtrl::RunTop20(BOOL brokerMenu) {
    HTREEITEM item = m_hCurrentItem;
    if (!item)
        return;
    SetRequestFromItem(item);
    if (brokerMenu && !ItemHasChildren(item))
        return;
    CReportFrameLink& link = CReportFrameLink::Get();
    const CString name = _csReportName;
    const CString title = TitleOf(name);
    const CString folder = _csBaseFolder;
    for (const Top20Half& half : kTop20Halves) {
        const bool transactions = &half == &kTop20Halves[0];
        _csAction = half.action;
        _csReportType = half.action;
        g_nBatchRecordCount = 0;
        _csCommand = WAIT_FOR_UPDATE;
        g_bWaitForUpdate = 1;
        _csListKey = name + half.suffix;
        _csDocToOpen = title + half.suffix;
        if (link.IsPadPage(_csListKey))
            return;
        if (transactions && brokerMenu) {
            int choice = QueryExistingTop20(JoinPath(folder, title + "_T20Xact.log"),
                                            JoinPath(folder, title + "_T20Sql.log"));
            if (choice < 0)
                return;
            if (choice == 1) {
                UseExistingTop20(folder, title);
                return;
            }
        }
        link.OpenReportDocument(_csListKey);
        if (brokerMenu) {
            for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child))
                SendCurrentRequest(child, half.compile);
        } else {
            SendCurrentRequest(item, half.compile);
        }
        SendToMain(half.populate);
        Select(item, TVGN_CARET);
        ShowRecordsAndClearLogName();
        link.PruneRecentFileList();
        if (transactions)
            SetRequestFromItem(item);
    }
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnRunT20Broker() {
    RunTop20(TRUE);
}

void CMyTreeCtrl::OnRunT20Server() {
    RunTop20(FALSE);
}

void CMyTreeCtrl::RunTop20OnEntireTree() {
    if (!GetRootItem())
        return;
    CReportFrameLink& link = CReportFrameLink::Get();
    for (const Top20Half& half : kTop20Halves) {
        const bool transactions = &half == &kTop20Halves[0];
        _csCommand = WAIT_FOR_UPDATE;
        g_bWaitForUpdate = 1;
        _csDocToOpen = half.treeDoc;
        _csAction = half.action;
        _csReportType = half.action;
        _csListKey = half.treeKey;
        if (link.IsPadPage(_csListKey))
            return;
        if (transactions) {
            int choice = QueryExistingTop20(JoinPath(_csBaseFolder, "Top20Transactions.log"),
                                            JoinPath(_csBaseFolder, "Top20SqlStatements.log"));
            if (choice < 0)
                return;
            if (choice == 1) {
                UseExistingTop20(_csBaseFolder, "");
                return;
            }
        }
        link.OpenReportDocument(_csListKey);
        if (SendEveryLog(half.compile, false) > 0)
            SendToMain(half.populate);
        link.PruneRecentFileList();
    }
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnOpenInEditor() {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    OpenInEditor(m_hWnd, _csBaseFolder, _csReportName);
}

void CMyTreeCtrl::OnRemove() {
    if (m_hCurrentItem)
        RemoveSelectedLog(m_hCurrentItem);
}

void CMyTreeCtrl::OnFindInFile() {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    _csListKey = _csReportName;
    CFindTextDlg dlg(MainWindow());
    if (dlg.DoModal() != IDOK)
        return;
    _csLastFindText = dlg.m_csFindText;
    OpenInEditor(m_hWnd, _csBaseFolder, _csReportName, "SEARCH_ETX", _csLastFindText);
}

void CMyTreeCtrl::OnGotoLineInList() {
    if (!m_hCurrentItem)
        return;
    SetRequestFromItem(m_hCurrentItem);
    _csListKey = _csReportName;
    CGotoLineDlg dlg(MainWindow());
    if (dlg.DoModal() != IDOK)
        return;
    _csLastGotoLine = dlg.m_csLineNumber;
    _csAction = "GOTOLINE:" + _csLastGotoLine;
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    // Both menus hand the frame the request text: the view selects the line it names. A copy, since the
    // frame rewrites _csCommand before it passes the text on.
    const CString request = _csCommand;
    SendToMain(WM_GOTOLINE, (WPARAM)request.GetString());
    PostToMain(WM_REFRESHVIEW);
}

void CMyTreeCtrl::OnLButtonDblClk(UINT, POINT point) {
    if (HTREEITEM item = HitTestItem(point)) {
        _csReportName = GetItemText(item);
        SetLogTypeFromName(_csReportName);
        OnOpenInEditor();
    }
    Default();
}

// ---------------------------------------------------------------------------------------------------------
// The bar.

IMPLEMENT_DYNAMIC(CMyTreeView, COXSizeControlBar)

BEGIN_MESSAGE_MAP(CMyTreeView, COXSizeControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_LOADLOG, CMyTreeView::OnLoadLog)
END_MESSAGE_MAP()

CMyTreeView::CMyTreeView() : COXSizeControlBar(0x214) {}

CMyTreeView::~CMyTreeView() {
    if (m_hTabImages)
        ImageList_Destroy(m_hTabImages);
    if (m_hTreeImages)
        ImageList_Destroy(m_hTreeImages);
}

BOOL CMyTreeView::Create(CWnd* parent, LPCTSTR title, UINT id) {
    static std::once_flag once;
    static const char className[] = "VeltrinLogTreeBar";
    std::call_once(once, [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.lpszClassName = className;
        RegisterClass(&wc);
    });
    return COXSizeControlBar::Create(className, title,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CBRS_BORDER_TOP | CBRS_FLYBY,
                                     CFrameWnd::rectDefault, parent, id);
}

int CMyTreeView::OnCreate(LPCREATESTRUCT cs) {
    if (CControlBar::OnCreate(cs) == -1)
        return -1;
    RECT rc;
    GetClientRect(&rc);
    if (!m_TabViewContainer.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, this, 59648))
        return -1;
    // Both strips are 16-pixel images on a light grey mask.
    if (!m_hTabImages)
        m_hTabImages = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_TAB_IMAGES), 16, 0,
                                            RGB(0xC0, 0xC0, 0xC0));
    if (!m_hTreeImages)
        m_hTreeImages = ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(IDB_TREE_IMAGES), 16, 0,
                                             RGB(0xC0, 0xC0, 0xC0));
    if (m_hTabImages)
        m_TabViewContainer.SetImageList(m_hTabImages);
    if (!m_TreeCtrl.Create(WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                               TVS_SINGLEEXPAND,
                           rc, &m_TabViewContainer, 3))
        return -1;
    if (m_hTreeImages)
        m_TreeCtrl.SetImageList(m_hTreeImages, TVSIL_NORMAL);
    SetWindowText("Logs TreeView");
    return 0;
}

void CMyTreeView::OnSizedOrDocked(int, int, BOOL, int) {
    if (!m_TabViewContainer.m_hWnd)
        return;
    // The container covers the client rectangle (the notification gives the window's size).
    RECT client;
    GetClientRect(&client);
    int cx = client.right, cy = client.bottom;
    m_TabViewContainer.MoveWindow(0, 0, cx, cy);
    if (m_TreeCtrl.m_hWnd) {
        RECT rc{0, 0, cx, cy};
        m_TabViewContainer.AdjustRect(FALSE, &rc);
        m_TreeCtrl.MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
}

void CMyTreeView::OnSize(UINT, int cx, int cy) {
    OnSizedOrDocked(cx, cy, IsFloating(), 0);
}

BOOL CMyTreeView::OnEraseBkgnd(HDC) {
    return TRUE;
}

LRESULT CMyTreeView::OnLoadLog(WPARAM wParam, LPARAM) {
    if (wParam)
        PopulateTreeEx((LPCTSTR)wParam);
    return 0;
}

HTREEITEM CMyTreeView::SelectLogItem(LPCTSTR name) {
    return m_TreeCtrl.FindAndSelectItem(name);
}
void CMyTreeView::RunTimeAnalysisOnEntireTree() {
    m_TreeCtrl.RunTimeAnalysisOnEntireTree();
}
void CMyTreeView::RunTop20OnEntireTree() {
    m_TreeCtrl.RunTop20OnEntireTree();
}
void CMyTreeView::RunIntegrityCheckOnEntireTree() {
    m_TreeCtrl.RunIntegrityCheckOnEntireTree();
}

BOOL CMyTreeView::GetLogTimeStamp(LPCTSTR fileName, CString& stamp) {
    CString path(fileName ? fileName : "");
    CString upper = FileNameOf(path);
    upper.MakeUpper();
    if (upper.Find("N/A") >= 0 || path.Find(" - N/A") >= 0) {
        stamp = kNoStamp;
        return FALSE;
    }
    LogLineReader reader;
    if (!reader.Open(path))
        return FALSE;
    std::string_view line;
    while (reader.NextLine(line)) {
        if (line.empty())
            continue;
        std::string_view text;
        size_t at;
        if (line.find(" | ") != std::string_view::npos)
            text = line;
        else if ((at = line.find("-- START:")) != std::string_view::npos)
            text = line.substr(at + 9);
        else if ((at = line.find("-- END:")) != std::string_view::npos)
            text = line.substr(at + 7);
        else
            continue;
        CString clock;
        if (!ParseClock(text, clock))
            continue;
        stamp = upper.Left(8) + clock;
        return TRUE;
    }
    return FALSE;
}

int CMyTreeView::ChooseFoundFile(LPCTSTR name) const {
    int count = m_Finder.GetFileCount();
    if (count == 0)
        return -1;
    CString wanted(name ? name : "");
    for (int i = 0; i < count; ++i)
        if (TitleOf(m_Finder.GetFilePath(i).GetFileName()) == wanted)
            return i;
    int chosen = count - 1;
    if (m_Finder.GetFilePath(chosen).GetFileName().Find('_') >= 0 && count > 1) {
        for (int i = 0; i < count; ++i) {
            chosen = i;
            if (m_Finder.GetFilePath(i).GetFileName().Find('_') < 0)
                break;
        }
    }
    return chosen;
}

BOOL CMyTreeView::FindLogFile(LPCTSTR name) {
    CFindOptions options;
    options.sBaseFolder = _csBaseFolder;
    options.sFileMask.Format("*%s*.*", name);
    options.dwOptionsFlags = FIND_ATTRIBUTES;
    options.dwFileAttributes = 0x20;
    options.bSubfolders = m_bSearchSubFolders;
    if (!m_csSearchText.IsEmpty()) {
        options.sFindText = m_csSearchText;
        options.dwOptionsFlags |= FIND_TEXT;
    }
    m_Finder.RemoveAll();
    m_Finder.Search(&options);
    int chosen = ChooseFoundFile(name);
    if (chosen < 0)
        return FALSE;
    return m_Finder.GetFilePath(chosen).GetFileName().Find(name) >= 0;
}

void CMyTreeView::PopulateTreeEx(LPCTSTR pathText) {
    CString path(pathText ? pathText : "");
    if (path.IsEmpty())
        return;
    HObj rec;
    CString fileName = path;
    int slash = path.ReverseFind('/');
    if (slash >= 0) {
        rec.m_csFolder = path.Left(slash);
        _csBaseFolder = rec.m_csFolder;
        fileName = path.Mid(slash + 1);
        m_csDatePrefix = fileName.Left(8);
    }
    ULONGLONG size = GetFileSizeByName(path);
    if (size == 0) {
        CString text;
        text.Format("File is Empty !!!\n%s", path.GetString());
        Box(text, MB_OK);
        return;
    }
    int step = size < 1000 ? 100 : 1000;
    ULONGLONG scale = size / INT_MAX + 1;
    BOOL go = TRUE;
    auto wait = std::make_unique<CWaitDlg>(&go, Scaled(size, scale), this);
    TraceLog("CMyTreeView::PopulateTreeEx: csFile=%s", path.GetString());

    CString upperName = fileName;
    upperName.MakeUpper();
    if (upperName.Find("QBROKER") >= 0) {
        _csLogType = "QBROKER";
        wait->SetMessageText("Determining QServer Logs...");
    } else if (upperName.Find("QSERVER") >= 0) {
        _csLogType = "QSERVER";
        wait->SetMessageText("Determining Log(s)...");
    } else {
        wait->Close();
        CString text;
        text.Format("This application can only read QBroker or QServer logs !!!\n%s", fileName.GetString());
        Box(text, MB_OK);
        return;
    }
    _csReportName = fileName;
    rec.m_csName = fileName;
    rec.m_csLogType = _csLogType;
    if (g_mapLoadedLogs.Contains(fileName)) {
        wait->Close();
        return;
    }
    if (!m_bFilesPageAdded && m_TabViewContainer.m_hWnd) {
        m_TabViewContainer.InsertItem(0, "Files", 2);
        m_TabViewContainer.SetCurSel(0);
        m_bFilesPageAdded = TRUE;
        // The tree is the page of the tab: shown, and placed below the tab now that there is one.
        RECT client;
        GetClientRect(&client);
        OnSizedOrDocked(client.right, client.bottom, IsFloating(), 0);
        m_TreeCtrl.ShowWindow(SW_SHOW);
    }
    HTREEITEM root = m_TreeCtrl.InsertItem(fileName, kImageRoot, kImageRoot, TVI_ROOT, TVI_LAST);
    if (!root) {
        wait->Close();
        Box("Unable to Add RootItem!", MB_ICONSTOP | MB_SETFOREGROUND);
        return;
    }
    m_TreeCtrl.SetItemState(root, TVIS_BOLD, TVIS_BOLD);
    m_hLastRootItem = root;
    rec.m_hRootItem = (UINT_PTR)root;
    g_mapLoadedLogs.Add(fileName, rec);

    if (_csLogType == "QSERVER") {
        wait->Close();
        m_TreeCtrl.Select(root, TVGN_CARET);
        CString stamp;
        if (GetLogTimeStamp(path, stamp)) {
            rec.m_csTimeStamp = stamp;
            g_mapLoadedLogs.Add(fileName, rec);
        }
        return;
    }

    LogLineReader reader(&go);
    auto fail = [&](const char* what) {
        wait->Close();
        m_TreeCtrl.RemoveSelectedLog(root);
        g_mapLoadedLogs.Remove(fileName);
        CString text;
        if (*what)
            text.Format("Unable to Add RootItem! %s failed: %s", what, fileName.GetString());
        else
            text = "Unable to Add RootItem! GetFileAttributes failed.";
        Box(text, MB_ICONSTOP | MB_SETFOREGROUND);
    };
    if (!reader.Open(path)) {
        fail(GetFileSizeByName(path) == 0 ? "" : "CreateFile");
        return;
    }
    bool haveStamp = false;
    long lines = 0;
    ULONGLONG done = 0;
    std::set<CString> sought;
    auto report = [&]() {
        CString text;
        text.Format("Determining QServer Logs... %d\n%ld lines loaded", rec.m_nServerCount, lines);
        wait->SetMessageText(text);
        wait->SetProgress(Scaled(done, scale));
    };
    std::string_view line;
    static const char* const kMarkers[] = {"equest -", "egister -", "ies -", " | "};
    while (reader.NextLine(line)) {
        ++lines;
        done += line.size() + (ULONGLONG)reader.GetTerminatorLength();
        if (!haveStamp) {
            for (const char* marker : kMarkers) {
                size_t at = line.find(marker);
                if (at == std::string_view::npos)
                    continue;
                size_t from = at + std::string_view(marker).size() + 1;
                CString clock;
                if (from <= line.size() && ParseClock(line.substr(from), clock)) {
                    rec.m_csTimeStamp = fileName.Left(8) + clock;
                    haveStamp = true;
                }
                break;
            }
        }
        if (line.size() >= 29) {
            std::string upper(line);
            for (char& c : upper)
                if (c >= 'a' && c <= 'z')
                    c = (char)(c - 'a' + 'A');
            size_t slashAt = line.rfind('/');
            if (upper.find("ACTION : SENT TO /PT_QSERVER:") != std::string::npos && slashAt != std::string_view::npos) {
                CString name = m_csDatePrefix + "QServer" + CString(std::string(line.substr(slashAt + 1)).c_str());
                m_csLastSought = name;
                bool listed = sought.count(name) != 0;
                for (const ServerEntry& e : ParseServerList(rec.m_csServerList))
                    listed = listed || e.name == name || e.name == name + " - N/A";
                if (!listed) {
                    sought.insert(name);
                    bool added = false;
                    if (FindLogFile(name)) {
                        CPath found = m_Finder.GetFilePath(ChooseFoundFile(name));
                        CString foundName = found.GetFileName();
                        if (foundName.Find('_') < 0) {
                            CString title = TitleOf(foundName);
                            m_TreeCtrl.InsertItem(title, kImageServer, kImageServer, root, TVI_LAST);
                            CString stamp;
                            if (!GetLogTimeStamp(found.GetPath(), stamp))
                                stamp = kNoStamp;
                            rec.m_csServerList += title + ">" + stamp + "|";
                            added = true;
                        }
                    } else {
                        CString missing = name + " - N/A";
                        m_TreeCtrl.InsertItem(missing, kImageMissing, kImageMissing, root, TVI_LAST);
                        rec.m_csServerList += missing + ">" + kNoStamp + "|";
                        added = true;
                    }
                    if (added) {
                        TraceLog("%s", rec.m_csServerList.GetString());
                        ++rec.m_nServerCount;
                        report();
                    }
                }
            }
        }
        if (lines % step == 0)
            report();
    }
    if (reader.GetStatus() == LogLineReader::ReadFailed) {
        fail("ReadFile");
        return;
    }
    g_mapLoadedLogs.Add(fileName, rec);
    reader.Close();
    m_TreeCtrl.Select(root, TVGN_CARET);
    wait->Close();
}

void CMyTreeView::RebuildTree() {
    std::vector<std::pair<CString, CString>> rows;
    g_mapLoadedLogs.ForEach([&](const CString& key, const HObj& rec) {
        rows.emplace_back(key, rec.m_csTimeStamp);
    });
    for (const auto& row : rows)
        if (HTREEITEM item = m_TreeCtrl.FindItemByText(row.first))
            m_TreeCtrl.DeleteItem(item);
    PumpWaitingMessages();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return StampLess(a.second, b.second); });
    HTREEITEM first = nullptr;
    for (const auto& row : rows) {
        HObj rec;
        if (!g_mapLoadedLogs.Lookup(row.first, rec))
            continue;
        HTREEITEM root = m_TreeCtrl.InsertItem(rec.m_csName, kImageRoot, kImageRoot, TVI_ROOT, TVI_LAST);
        if (!root)
            continue;
        m_TreeCtrl.SetItemState(root, TVIS_BOLD, TVIS_BOLD);
        if (!first)
            first = root;
        rec.m_hRootItem = (UINT_PTR)root;
        if (rec.m_csLogType == "QBROKER" && rec.m_nServerCount > 0) {
            std::vector<ServerEntry> entries = ParseServerList(rec.m_csServerList);
            std::stable_sort(entries.begin(), entries.end(),
                             [](const ServerEntry& a, const ServerEntry& b) { return StampLess(a.stamp, b.stamp); });
            rec.m_csServerList = "";
            for (const ServerEntry& e : entries) {
                rec.m_csServerList += e.name + ">" + e.stamp + "|";
                int image = e.name.Find("- N/A") >= 0 ? kImageMissing : kImageServer;
                m_TreeCtrl.InsertItem(e.name, image, image, root, TVI_LAST);
            }
        }
        g_mapLoadedLogs.Add(row.first, rec);
    }
    if (first)
        m_TreeCtrl.Expand(first, TVE_EXPAND);
}
