#include "app/StatsDlg.h"

#include "analysis/AppMaps.h"
#include "app/ReportFrameLink.h"
#include "app/WaitDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "res/veltrin/resource.h"
#include "res/veltrin/resource_stats.h"

namespace {
const char kSettings[] = "Settings";
const char kClientColumn[] = "ClientMachine ID, 292;";
const char kServerColumn[] = "QServer ID, 292;";
const char kTransactionColumn[] = "Transaction ID, 292;";

int Profile(LPCTSTR entry, int defaultValue) {
    CWinApp* app = AfxGetApp();
    return app ? (int)app->GetProfileInt(kSettings, entry, defaultValue) : defaultValue;
}
void WriteProfile(LPCTSTR entry, int value) {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kSettings, entry, value);
}
}  // namespace

CStatsDlg::CStatsDlg(CWnd* pParent) : CDialog(IDD_STATS, pParent) {}

LRESULT CStatsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT r = CDialog::WindowProc(message, wParam, lParam);
            if (r != -1)
                CreateLogGrid();
            return r;
        }
        case WM_STATSINITBUTTONS:
            return OnInitButtons(wParam, lParam);
        case WM_STATSCLEARLISTS:
            return OnClearLists(wParam, lParam);
        case WM_STATSREFRESH:
            return OnRefresh(wParam, lParam);
        default:
            return CDialog::WindowProc(message, wParam, lParam);
    }
}

void CStatsDlg::CreateLogGrid() {
    if (m_grid.m_hWnd)
        return;
    if (!m_grid.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, RECT{0, 0, 10, 10}, this, IDC_STATS_LOG_GRID))
        return;
    m_grid.m_openWait = [this](BOOL* flag, int32_t total) -> std::unique_ptr<IAnalysisWait> {
        return OpenAnalysisWait(flag, total, this);
    };
    m_nLogRows = m_grid.AddBrokerLogRows();
    m_grid.SetOwnerDialog(m_hWnd);
}

BOOL CStatsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_bSelectClientMachines = Profile("SelectClientMachines", 1);
    m_bSelectQServers = Profile("SelectQServers", 0);
    m_bSelectAll = Profile("SelectAll", 1);
    m_bSelectAllCM = Profile("SelectAllCM", 1);
    m_bSelectAllT = Profile("SelectAllT", 1);
    m_bEnableET = Profile("EnableETCalculationsInStats", 0);
    // One filter at a time: the client machines unless only the server ids are chosen.
    m_bSelectQServers = !m_bSelectClientMachines;

    CreateLogGrid();
    ::SendMessage(m_grid.m_hWnd, WM_SETFONT, ::SendMessage(m_hWnd, WM_GETFONT, 0, 0), TRUE);
    if (HWND frame = ::GetDlgItem(m_hWnd, IDC_STATS_LOG_FRAME)) {
        RECT r{};
        ::GetWindowRect(frame, &r);
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        ::ScreenToClient(m_hWnd, &tl);
        ::ScreenToClient(m_hWnd, &br);
        ::MoveWindow(m_grid.m_hWnd, tl.x, tl.y, br.x - tl.x, br.y - tl.y, TRUE);
    }
    m_listIds.SubclassDlgItem(IDC_STATS_ID_LIST, this);
    m_listTransactions.SubclassDlgItem(IDC_STATS_XACT_LIST, this);
    for (CReportCtrl* list : {&m_listIds, &m_listTransactions}) {
        list->ShowGridLines(TRUE);
        list->SetCheckboxMode(RC_CHKBOX_NORMAL);
        list->SetEditable(FALSE);
    }
    SetColumns();
    FillLists();
    ::CheckDlgButton(m_hWnd, IDC_STATS_ENABLE_ET, m_bEnableET ? BST_CHECKED : 0);
    ::PostMessage(m_hWnd, WM_STATSINITBUTTONS, 1, 0);
    return TRUE;
}

void CStatsDlg::SetColumns() {
    m_listIds.SetColumnHeader(m_bSelectClientMachines ? kClientColumn : kServerColumn);
    m_listTransactions.SetColumnHeader(kTransactionColumn);
}

void CStatsDlg::SetToggle(int selectId, int deselectId, BOOL selectAll) {
    ::CheckDlgButton(m_hWnd, selectId, selectAll ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, deselectId, selectAll ? 0 : BST_CHECKED);
}

void CStatsDlg::TickAll(CReportCtrl& list, BOOL tick) {
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemChecked(i, tick);
}

void CStatsDlg::FillLists() {
    if (!m_listIds.m_hWnd)
        return;
    m_listIds.DeleteRows(RC_ITEM_ALL);
    m_listTransactions.DeleteRows(RC_ITEM_ALL);
    auto add = [](CReportCtrl& list, const CString& key) { list.InsertRow(list.GetItemCount(), key); };
    if (m_bSelectClientMachines)
        g_mapStatsClientIds.ForEach([&](const CString& key, const CMObj&) { add(m_listIds, key); });
    else
        g_mapStatsServerIds.ForEach([&](const CString& key, const HObj&) { add(m_listIds, key); });
    g_mapStatsTransactions.ForEach([&](const CString& key, const TObj&) { add(m_listTransactions, key); });
    m_listIds.SortItems(0, TRUE);
    m_listTransactions.SortItems(0, TRUE);
    CString count;
    count.Format("%d", m_listIds.GetItemCount());
    ::SetDlgItemText(m_hWnd, IDC_STATS_ID_COUNT, count);
    count.Format("%d", m_listTransactions.GetItemCount());
    ::SetDlgItemText(m_hWnd, IDC_STATS_XACT_COUNT, count);
    TickAll(m_listIds, m_bSelectAllCM);
    TickAll(m_listTransactions, m_bSelectAllT);
    SetToggle(IDC_STATS_SELECT_ALL_IDS, IDC_STATS_DESELECT_ALL_IDS, m_bSelectAllCM);
    SetToggle(IDC_STATS_SELECT_ALL_XACTS, IDC_STATS_DESELECT_ALL_XACTS, m_bSelectAllT);
}

LRESULT CStatsDlg::OnInitButtons(WPARAM wParam, LPARAM) {
    ::CheckDlgButton(m_hWnd, IDC_STATS_FILTER_CM, m_bSelectClientMachines ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, IDC_STATS_FILTER_HS, m_bSelectClientMachines ? 0 : BST_CHECKED);
    SetToggle(IDC_STATS_SELECT_ALL_LOGS, IDC_STATS_DESELECT_ALL_LOGS, m_bSelectAll);
    m_bInitDone = wParam != 0;
    m_grid.CheckAllRoots(m_bSelectAll != FALSE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), m_nLogRows > 0);
    return 0;
}

LRESULT CStatsDlg::OnClearLists(WPARAM, LPARAM) {
    m_listIds.DeleteRows(RC_ITEM_ALL);
    m_listTransactions.DeleteRows(RC_ITEM_ALL);
    return 0;
}

LRESULT CStatsDlg::OnRefresh(WPARAM, LPARAM) {
    if (!m_bInitDone)
        return 0;
    SetColumns();
    FillLists();
    return 0;
}

BOOL CStatsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
        case IDC_STATS_SELECT_ALL_LOGS:
        case IDC_STATS_DESELECT_ALL_LOGS:
            m_bSelectAll = !m_bSelectAll;
            SetToggle(IDC_STATS_SELECT_ALL_LOGS, IDC_STATS_DESELECT_ALL_LOGS, m_bSelectAll);
            m_grid.CheckAllRoots(m_bSelectAll != FALSE);
            ::PostMessage(m_hWnd, WM_STATSREFRESH, 0, 0);
            return TRUE;
        case IDC_STATS_SELECT_ALL_IDS:
        case IDC_STATS_DESELECT_ALL_IDS:
            m_bSelectAllCM = !m_bSelectAllCM;
            SetToggle(IDC_STATS_SELECT_ALL_IDS, IDC_STATS_DESELECT_ALL_IDS, m_bSelectAllCM);
            TickAll(m_listIds, m_bSelectAllCM);
            return TRUE;
        case IDC_STATS_SELECT_ALL_XACTS:
        case IDC_STATS_DESELECT_ALL_XACTS:
            m_bSelectAllT = !m_bSelectAllT;
            SetToggle(IDC_STATS_SELECT_ALL_XACTS, IDC_STATS_DESELECT_ALL_XACTS, m_bSelectAllT);
            TickAll(m_listTransactions, m_bSelectAllT);
            return TRUE;
        case IDC_STATS_FILTER_CM:
        case IDC_STATS_FILTER_HS:
            m_bSelectClientMachines = LOWORD(wParam) == IDC_STATS_FILTER_CM;
            m_bSelectQServers = !m_bSelectClientMachines;
            ::CheckDlgButton(m_hWnd, IDC_STATS_FILTER_CM, m_bSelectClientMachines ? BST_CHECKED : 0);
            ::CheckDlgButton(m_hWnd, IDC_STATS_FILTER_HS, m_bSelectClientMachines ? 0 : BST_CHECKED);
            ::PostMessage(m_hWnd, WM_STATSREFRESH, 0, 0);
            return TRUE;
        case IDC_STATS_ENABLE_ET:
            m_bEnableET = ::IsDlgButtonChecked(m_hWnd, IDC_STATS_ENABLE_ET) == BST_CHECKED;
            WriteProfile("EnableETCalculationsInStats", m_bEnableET ? 1 : 0);
            ::PostMessage(m_hWnd, WM_STATSREFRESH, 0, 0);
            return TRUE;
        default:
            return CDialog::OnCommand(wParam, lParam);
    }
}

int CStatsDlg::Ticked(CReportCtrl& list, std::vector<CString>& keys) {
    keys.clear();
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.IsItemChecked(i))
            keys.push_back(list.GetItemText(i, 0));
    return (int)keys.size();
}

void CStatsDlg::OnOK() {
    WriteProfile("SelectClientMachines", m_bSelectClientMachines ? 1 : 0);
    WriteProfile("SelectQServers", m_bSelectQServers ? 1 : 0);
    WriteProfile("SelectAll", m_bSelectAll ? 1 : 0);
    WriteProfile("SelectAllCM", m_bSelectAllCM ? 1 : 0);
    WriteProfile("SelectAllT", m_bSelectAllT ? 1 : 0);

    if (m_grid.MarkCheckedLogs() == 0) {
        AfxMessageBox("No QBroker logs were selected !!!", MB_OK);
        return;
    }
    // Every choice is checked before any map changes, so a refused OK leaves the maps as they were.
    std::vector<CString> ids, transactions;
    if (Ticked(m_listIds, ids) == 0) {
        AfxMessageBox(m_bSelectClientMachines ? "No ClientMachine selection data available !!!"
                                              : "No QServer IDs selection data available !!!",
                      MB_OK);
        return;
    }
    if (Ticked(m_listTransactions, transactions) == 0) {
        AfxMessageBox("No Transaction selection data available !!!", MB_OK);
        return;
    }
    if (m_bSelectClientMachines) {
        g_mapStatsClientIds.RemoveAll();
        for (const CString& id : ids)
            g_mapStatsClientIds.Add(id, CMObj());
    } else {
        g_mapStatsServerIds.RemoveAll();
        for (const CString& id : ids)
            g_mapStatsServerIds.Add(id, HObj());
    }
    g_mapStatsTransactions.RemoveAll();
    for (const CString& t : transactions)
        g_mapStatsTransactions.Add(t, TObj());

    const char* type = m_bSelectClientMachines ? "STATS_CM" : "STATS_HS";
    CReportFrameLink& link = CReportFrameLink::Get();
    int n = 1;
    for (;; ++n) {
        m_csReportName.Format("%s%d", type, n);
        if (!link.IsPadPage(m_csReportName))
            break;
    }
    _csReportType = type;
    _csReportName = m_csReportName;
    _csListKey = m_csReportName;
    // The report looks up its rows' logs (elapsed times, pad, editor) in its folder: the chosen logs'
    // folder, whatever report (an import from elsewhere) set the request's folder before.
    for (POSITION pos = g_mapLoadedLogs.GetStartPosition(); pos;) {
        CString name;
        HObj log;
        pos = g_mapLoadedLogs.GetNext(pos, name, log);
        if (log.m_bChosen == 1 && !log.m_csFolder.IsEmpty()) {
            _csBaseFolder = log.m_csFolder;
            break;
        }
    }
    link.OpenReportDocument(m_csReportName);
    _csAction = "RUNSTATSREPORT";
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_RUNSTATSREPORT, 0, 0);
    CDialog::OnOK();
}
