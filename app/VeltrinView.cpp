#include "app/VeltrinView.h"

#include "app/QueryTruncateHistogramDlg.h"
#include "app/ReportFrameLink.h"
#include "app/VeltrinDoc.h"
#include "app/WaitDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "core/TraceLog.h"
#include "platform/base/Handles.h"
#include "platform/base/Sync.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/dialogs/FileDialog.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/Menu.h"
#include "platform/user/Shell.h"

namespace {
constexpr UINT kListId = 1018;
constexpr DWORD kListExStyles = 0xE1;  // grid lines, full-row select, one- and two-click activation

// A platform thread running one body; the handle is released with the object.
class ViewWorker : public IAnalysisWorker {
public:
    explicit ViewWorker(HANDLE thread) : m_thread(thread) {}
    ~ViewWorker() override { CloseHandle(m_thread); }
    HANDLE Handle() const { return m_thread; }

private:
    HANDLE m_thread;
};

DWORD RunWorkerBody(LPVOID param) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
    (*body)();
    return 0;
}

// The open dialog for a CSV file, for the export and the import: the open kind, offering the name the
// caller proposes in `path` (the export's "<action>.csv"; the import proposes none).
BOOL ChooseCsvFileWithDialog(CWnd* parent, LPCTSTR initialFolder, CString& path) {
    CString proposed = path;
    CFileDialog dialog(TRUE, nullptr, proposed.IsEmpty() ? nullptr : (LPCTSTR)proposed, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "CSV Files (*.csv)|*.csv||",
                       parent);
    dialog.m_ofn.lpstrInitialDir = initialFolder;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

CWnd* MainWindow() {
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd ? main : nullptr;
}
}  // namespace

IMPLEMENT_DYNCREATE(CVeltrinView, CView)

BEGIN_MESSAGE_MAP(CVeltrinView, CView)
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_CONTEXTMENU()
ON_WM_DESTROY()
ON_MESSAGE(WM_REFRESHVIEW, CVeltrinView::OnRestoreColumnWidths)
ON_MESSAGE(WM_HIGHLIGHTROW, CVeltrinView::OnHighlightRow)
ON_MESSAGE(WM_CLEARHIGHLIGHT, CVeltrinView::OnClearHighlight)
ON_MESSAGE(WM_SETITEMCOUNT, CVeltrinView::OnSetItemCount)
ON_MESSAGE(WM_SEARCH, CVeltrinView::OnSearch)
ON_MESSAGE(WM_SEARCHF3, CVeltrinView::OnSearchNext)
ON_MESSAGE(WM_GOTOLINE, CVeltrinView::OnGotoLine)
ON_MESSAGE(WM_SAVECOLUMNLAYOUT, CVeltrinView::OnSaveColumnLayout)
ON_MESSAGE(WM_GOTOLOG, CVeltrinView::OnGotoLogMessage)
ON_MESSAGE(WM_OPENINEDITOR, CVeltrinView::OnOpenInEditorMessage)
ON_MESSAGE(WM_SHOWLISTITEM, CVeltrinView::OnShowListItemMessage)
ON_COMMAND(32787, CVeltrinView::OnGotoLog)
ON_COMMAND(4009, CVeltrinView::OnCmdOpenLog)
ON_COMMAND(4013, CVeltrinView::OnCmdOpenQBrokerLog)
ON_COMMAND(4014, CVeltrinView::OnCmdOpenServerLog)
ON_COMMAND(32786, CVeltrinView::OnCopyToClipboard)
ON_COMMAND(32793, CVeltrinView::OnCmdRunSubitemT20)
ON_COMMAND(32795, CVeltrinView::OnCmdRunSubitemSQLSum)
ON_COMMAND(32794, CVeltrinView::OnCmdRunSubitemItemize)
ON_COMMAND(32796, CVeltrinView::OnCmdRunSubitemItemize)
ON_COMMAND(1101, CVeltrinView::OnCmdRunSubitemItemize)
ON_UPDATE_COMMAND_UI(57636, CVeltrinView::OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(32780, CVeltrinView::OnUpdateAlwaysEnabled)
ON_MESSAGE(WM_PRINTLIST, CVeltrinView::OnPrintList)
ON_COMMAND(ID_FILE_PRINT_SETUP, CVeltrinView::OnFilePrintSetup)
ON_COMMAND_EX(ID_FILE_PRINT, CVeltrinView::OnPrintReport)
ON_COMMAND_EX(ID_FILE_PRINT_DIRECT, CVeltrinView::OnPrintReport)
END_MESSAGE_MAP()

CVeltrinView::CVeltrinView() : CVeltrinAnalysis(nullptr) {
    SetHost(this);
}

CVeltrinView::~CVeltrinView() {
    if (m_hWnd)
        DestroyWindow();
}

CVeltrinDoc* CVeltrinView::GetDocument() const {
    return static_cast<CVeltrinDoc*>(m_pDocument);
}

// ---------------------------------------------------------------------------------------------------------
// Life cycle.

BOOL CVeltrinView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id, LPVOID context) {
    if (!CWnd::Create(className, windowName, style, rect, parent, id, context)) {
        MessageBox("Failed to initialize the VeltrinView", MB_ICONSTOP | MB_SETFOREGROUND);
        return FALSE;
    }
    CopyRequestStrings();
    m_csReportType = _csReportType;
    m_csLastNav = "";
    if (m_csListKey.IsEmpty() && m_csReportName.IsEmpty()) {
        CView::DestroyWindow();
        return FALSE;
    }
    if (m_csListKey.IsEmpty())
        m_csListKey = m_csReportName;
    if (m_csLayout.IsEmpty())
        m_csLayout = m_csListKey;
    if (CWnd* frame = GetParent()) {
        if (HICON icon = ::LoadIcon(nullptr, MAKEINTRESOURCE(131)))
            frame->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)icon);
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    }
    m_nPadPage = -1;
    if (!InitListCtrl()) {
        CView::DestroyWindow();
        return FALSE;
    }
    m_nPadPage = CReportFrameLink::Get().AddPadPage(m_csListKey);
    return TRUE;
}

BOOL CVeltrinView::InitListCtrl() {
    TraceLog("Start CVeltrinView::InitListCtrl");
    RECT rc;
    GetClientRect(&rc);
    if (!m_List.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS, rc, this, kListId)) {
        TraceLog("CVeltrinView::InitListCtrl: Create Failed");
        MessageBox("Failed to create the ListCtrl!!!", MB_ICONSTOP | MB_SETFOREGROUND);
        return FALSE;
    }
    m_List.SetExtendedStyle(kListExStyles);
    m_List.ResetList();
    TraceLog("End CVeltrinView::InitListCtrl");
    return TRUE;
}

BOOL CVeltrinView::DestroyWindow() {
    return CView::DestroyWindow();
}

void CVeltrinView::OnDestroy() {
    // The workers stop while the window still takes their messages; nothing reaches the view later.
    StopWorkerThreads();
    StopPumpTimer();
    // The pad page goes with the view however its window ends (a closed child frame destroys it without
    // DestroyWindow), so the report can be made again; once only.
    if (m_nPadPage >= 0) {
        CReportFrameLink::Get().ClosePadPage(m_csListKey);
        m_nPadPage = -1;
    }
    CView::OnDestroy();
}

BOOL CVeltrinView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CView::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~(DWORD)(WS_HSCROLL | 0x80);
    return TRUE;
}

void CVeltrinView::OnInitialUpdate() {
    TraceLog("CVeltrinView::OnInitialUpdate");
    CView::OnInitialUpdate();
    m_bInitialized = TRUE;
}

void CVeltrinView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {
    TraceLog("CVeltrinView::OnActivateView %s bActive=%d", m_csListKey.GetString(), activate);
    CView::OnActivateView(activate, activateView, deactiveView);
    if (!activate)
        return;
    if (GetProfileInt("Settings", "LinkLowerTabWithUpperTabOnActivate", 1) == 1) {
        CReportFrameLink::Get().ActivatePadPage(m_csListKey);
        CReportFrameLink::Get().SelectTreeItem(m_csListKey);
    }
    RestoreColumnWidths(m_csLayout);
    ShowLogNamePane(m_csListKey);
    ShowRecordCount(m_List.GetItemCount());
    HighlightRow();
}

void CVeltrinView::OnDraw(HDC) {}

LRESULT CVeltrinView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER && message < WM_USER + 0x100 && m_hWnd) {
        bool handled = false;
        ++m_nPassDepth;
        LRESULT result = HandleViewMessage(message, wParam, lParam, handled);
        --m_nPassDepth;
        if (handled)
            return result;
    }
    return CView::WindowProc(message, wParam, lParam);
}

BOOL CVeltrinView::IsRunningPass() const {
    return m_nPassDepth > 0 || !m_bRunFinished;
}

BOOL CVeltrinView::CanCloseForMissingLog() const {
    return !IsRunningPass() && m_List.GetItemCount() == 0;
}

// ---------------------------------------------------------------------------------------------------------
// Messages.

void CVeltrinView::OnSize(UINT type, int cx, int cy) {
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CView::OnSize(type, cx, cy);
    if (m_List.m_hWnd)
        m_List.ResizeList(cx, cy);
}

void CVeltrinView::StartPumpTimer() {
    m_nTimerId = (UINT)SetTimer(kPumpTimerId, 1000, nullptr);
    m_bTimerRunning = 1;
}

void CVeltrinView::StopPumpTimer() {
    if (m_hWnd)
        KillTimer(kPumpTimerId);
    m_bTimerRunning = 0;
}

void CVeltrinView::OnTimer(UINT_PTR id) {
    if (id == kPumpTimerId)
        OnPumpTimer();
    CView::OnTimer(id);
}

LRESULT CVeltrinView::OnRestoreColumnWidths(WPARAM, LPARAM) {
    RestoreColumnWidths(m_csLayout);
    return 0;
}

void CVeltrinView::HighlightRow() {
    if (m_nHighlightRow != -1)
        m_List.SelectItem(m_nHighlightRow);
    if (m_List.m_hWnd)
        m_List.SetFocus();
}

void CVeltrinView::SetHighlightRow(int row) {
    m_nHighlightRow = row;
    HighlightRow();
}

LRESULT CVeltrinView::OnHighlightRow(WPARAM, LPARAM) {
    HighlightRow();
    return 0;
}

LRESULT CVeltrinView::OnClearHighlight(WPARAM, LPARAM) {
    if (m_nHighlightRow != -1)
        m_List.DeselectAll();
    m_nHighlightRow = -1;
    return 0;
}

LRESULT CVeltrinView::OnSetItemCount(WPARAM, LPARAM) {
    if (m_List.m_hWnd)
        ::SendMessage(m_List.m_hWnd, LVM_SETITEMCOUNT, (WPARAM)m_aData.GetSize(), 0);
    return 0;
}

void CVeltrinView::OnUpdateAlwaysEnabled(CCmdUI* cmdUI) {
    cmdUI->Enable(TRUE);
}

// ---------------------------------------------------------------------------------------------------------
// Context menu and row commands.

int CVeltrinView::GetFocusedItem() const {
    return m_List.GetFocusedItem();
}

UINT CVeltrinView::ChooseContextMenu(int row, std::vector<UINT>& enabled) const {
    enabled.clear();
    const CString& key = m_csListKey;
    auto has = [&](const char* text) { return key.Find(text) >= 0; };
    bool selected = m_List.GetNextSelected(-1) >= 0;
    bool marker = row >= 0 && m_List.GetItemText(row, 0) == "TOP20LOG";
    UINT menu = 0;
    if (has("QBroker") && m_csExe == "ITEMIZE") {
        menu = 162;
        enabled = {32787};
    } else if (has("TOP20_XACT_ALL") || has("_T20Xact")) {
        if (row < 0)
            return 0;
        if (marker) {
            menu = 151;
            enabled = {4009};
        } else {
            menu = 163;
            enabled = {4009};
            if (selected)
                enabled.insert(enabled.end(), {32793, 32794, 32795});
        }
    } else if (has("SQLHISTOGRAM")) {
        if (row < 0)
            return 0;
        menu = 151;
        enabled = {4009};
    } else if (has("SQLSUMMARY")) {
        if (row < 0)
            return 0;
        menu = 191;
        enabled = {1101};
    } else if (has("TOP20_SQL_ALL") || has("_T20Sql")) {
        if (row < 0)
            return 0;
        menu = marker ? 166 : 151;
        enabled = marker ? std::vector<UINT>{4009, 32796} : std::vector<UINT>{4009};
    } else if (has("STATS_")) {
        menu = 164;
        enabled = {4013, 4014};
        if (selected)
            enabled.push_back(32794);
    } else if (has("Import_")) {
        menu = 165;
        enabled = {4009};
    } else if ((has("_TA") && has("QBroker")) || has("SQL_ANALYSIS_ALL_TA")) {
        if (row < 0)
            return 0;
        menu = 163;
        enabled = {4009};
        if (selected)
            enabled.insert(enabled.end(), {32793, 32794, 32795});
    } else {
        menu = 151;
        enabled = {4009};
    }
    if (selected)
        enabled.push_back(32786);
    return menu;
}

void CVeltrinView::OnContextMenu(CWnd*, POINT point) {
    std::vector<UINT> enabled;
    UINT id = ChooseContextMenu(GetFocusedItem(), enabled);
    if (!id)
        return;
    CMenu menu;
    if (!menu.LoadMenu(id))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup) {
        for (int i = 0; i < ::GetMenuItemCount(popup->m_hMenu); ++i) {
            UINT item = popup->GetMenuItemID(i);
            if (item != 0 && item != (UINT)-1)
                popup->EnableMenuItem(item, MF_BYCOMMAND | MF_GRAYED);
        }
        for (UINT item : enabled)
            popup->EnableMenuItem(item, MF_BYCOMMAND | MF_ENABLED);
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    }
    menu.DestroyMenu();
}

namespace {
void RunSubitemReport(CVeltrinView& view, int row, bool sqlSum) {
    const CString& key = view.m_csListKey;
    bool top20 = key.Find("TOP20_XACT_ALL") >= 0 || key.Find("_T20Xact") >= 0;
    bool timeAnalysis = (key.Find("_TA") >= 0 && key.Find("QBroker") >= 0) || key.Find("SQL_ANALYSIS_ALL_TA") >= 0;
    CString record = view.m_List.GetItemText(row, 0);
    CString prefix;
    if (top20) {
        if (record == "TOP20LOG")
            return;
        _csCommand = MakeRequestLine(view.m_List.GetItemText(row, 1), _csItemKind, view.m_List.GetItemText(row, 2));
        prefix = sqlSum ? "XACT_SUM" : "XACT_T20SQL";
    } else if (timeAnalysis) {
        _csCommand = MakeRequestLine(view.m_List.GetItemText(row, 2), _csItemKind, view.m_List.GetItemText(row, 1));
        prefix = sqlSum ? "XACT_TA_SUM" : "XACT_TA_T20SQL";
    } else {
        return;
    }
    _csReportName = prefix + record;
    _csDocToOpen = _csReportName;
    _csListKey = _csReportName;
    // The new view takes its layout from the report type; this list keeps its own, so its widths are
    // neither saved over the new report's nor replaced by them when it is active again.
    _csReportType = prefix;
    _csAction = sqlSum ? "RUNXACTSQLSUMREPORT" : "RUNXACTREPORT";
    view.PostToMainWindow(sqlSum ? WM_RUNXACTSQLSUMREPORT : WM_RUNXACTREPORT, 0, 0);
}
}  // namespace

void CVeltrinView::OnRunSubitemT20(int row) {
    TraceLog("Start CVeltrinView::OnRunSubitemT20");
    RunSubitemReport(*this, row, false);
    TraceLog("End CVeltrinView::OnRunSubitemT20");
}

void CVeltrinView::OnRunSubitemSQLSum(int row) {
    TraceLog("Start CVeltrinView::OnRunSubitemSQLSum");
    RunSubitemReport(*this, row, true);
    TraceLog("End CVeltrinView::OnRunSubitemSQLSum");
}

void CVeltrinView::OnCmdRunSubitemT20() {
    int row = GetFocusedItem();
    if (row >= 0)
        OnRunSubitemT20(row);
}

void CVeltrinView::OnCmdRunSubitemSQLSum() {
    int row = GetFocusedItem();
    if (row >= 0)
        OnRunSubitemSQLSum(row);
}

void CVeltrinView::OnCmdRunSubitemItemize() {
    int row = GetFocusedItem();
    if (row >= 0)
        OnRunSubitemItemize(row);
}

// ---------------------------------------------------------------------------------------------------------
// The engine's host over this window.

std::unique_ptr<IAnalysisWait> CVeltrinView::OpenWaitDialog(BOOL* continueFlag, int32_t total) {
    return OpenAnalysisWait(continueFlag, total, this);
}

void CVeltrinView::BeginWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}
void CVeltrinView::EndWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}
void CVeltrinView::RestoreWaitCursor() {
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

void CVeltrinView::SetRecordsPane(LPCTSTR) {
    if (MainWindow())
        CReportFrameLink::Get().UpdateStatusPane3201();
}
void CVeltrinView::SetStatusPane(LPCTSTR) {
    if (MainWindow())
        CReportFrameLink::Get().UpdateStatusPane0();
}
void CVeltrinView::SetLogNamePane(LPCTSTR) {
    if (MainWindow())
        CReportFrameLink::Get().UpdateStatusPane3200();
}
void CVeltrinView::SetPadPageText(LPCTSTR text) {
    CReportFrameLink::Get().ReplacePadPageText(m_csListKey, text);
}
void CVeltrinView::ClearPadPage() {
    CReportFrameLink::Get().ClearPadPage(m_csListKey);
}
void CVeltrinView::ActivatePadPage() {
    CReportFrameLink::Get().ShowPadPage(m_csListKey);
}
void CVeltrinView::ShowOutputBar() {
    CReportFrameLink::Get().ShowOutputBar();
}
void CVeltrinView::HideOutputBar() {
    CReportFrameLink::Get().HideOutputBar();
}
void CVeltrinView::SelectTreeItem(LPCTSTR logName) {
    CReportFrameLink::Get().SelectTreeItem(logName);
}

int CVeltrinView::MessageBox(LPCTSTR text, UINT type) {
    return PlatformMessageBox(m_hWnd, text, nullptr, type);
}

int CVeltrinView::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    CWinApp* app = AfxGetApp();
    return app ? (int)app->GetProfileInt(section, entry, defaultValue) : defaultValue;
}
CString CVeltrinView::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(section, entry, defaultValue) : CString(defaultValue ? defaultValue : "");
}
BOOL CVeltrinView::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    CWinApp* app = AfxGetApp();
    return app ? app->WriteProfileInt(section, entry, value) : FALSE;
}
BOOL CVeltrinView::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    CWinApp* app = AfxGetApp();
    return app ? app->WriteProfileString(section, entry, value) : FALSE;
}

BOOL CVeltrinView::PostToView(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd ? ::PostMessage(m_hWnd, message, wParam, lParam) : FALSE;
}
BOOL CVeltrinView::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* main = MainWindow();
    return main ? main->PostMessage(message, wParam, lParam) : FALSE;
}

void CVeltrinView::Trace(LPCTSTR text) {
    TraceLog("%s", text ? text : "");
}
DWORD CVeltrinView::GetTickCount() {
    return ::GetTickCount();
}
void CVeltrinView::Pause(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

BOOL CVeltrinView::ChooseCsvFile(LPCTSTR initialFolder, CString& path) {
    return ChooseCsvFileWithDialog(this, initialFolder, path);
}

BOOL CVeltrinView::OpenWithAssociatedApp(LPCTSTR path, BOOL wait) {
    CWaitCursor cursor;
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    info.hwnd = m_hWnd;
    info.lpVerb = "open";
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteEx(&info)) {
        DWORD error = ::GetLastError();
        ::MessageBeep(MB_ICONEXCLAMATION);
        CString text;
        text.Format("System Can Not Find Any Associated Application For This File!\nErr=%d\n", (int)error);
        MessageBox(text, MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!info.hProcess) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        MessageBox("System Failed to Launch the Associated Application Properly For This File!\n",
                   MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (wait)
        ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hProcess);
    if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetActiveWindow(m_hWnd);
    }
    return TRUE;
}

std::unique_ptr<IAnalysisWorker> CVeltrinView::StartWorker(std::function<void()> body) {
    auto* held = new std::function<void()>(std::move(body));
    HANDLE thread = ::CreateThread(nullptr, 0, RunWorkerBody, held, 0, nullptr);
    if (!thread) {
        delete held;
        return nullptr;
    }
    return std::make_unique<ViewWorker>(thread);
}

void CVeltrinView::WaitForWorkers(IAnalysisWorker* const* workers, int count) {
    for (int i = 0; i < count; ++i) {
        if (!workers[i])
            continue;
        HANDLE h = static_cast<ViewWorker*>(workers[i])->Handle();
        // The wait handles the messages the workers send meanwhile.
        while (::MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
        }
    }
}

BOOL CVeltrinView::SendToView(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = m_hWnd;
    if (!hwnd || !::IsWindow(hwnd))
        return FALSE;
    return ::SendMessage(hwnd, message, wParam, lParam) != 0;
}

void CVeltrinView::PumpWaitingMessages() {
    ::PumpWaitingMessages();
}

void CVeltrinView::SetViewTimer(UINT id, UINT milliseconds) {
    if (!m_hWnd)
        return;
    SetTimer(id, milliseconds, nullptr);
    if (id == kPumpTimerId) {
        m_nTimerId = id;
        m_bTimerRunning = 1;
    }
}

void CVeltrinView::KillViewTimer(UINT id) {
    if (m_hWnd)
        KillTimer(id);
    if (id == kPumpTimerId)
        m_bTimerRunning = 0;
}

void CVeltrinView::SetListRedraw(BOOL redraw) {
    if (m_List.m_hWnd)
        ::SendMessage(m_List.m_hWnd, WM_SETREDRAW, (WPARAM)redraw, 0);
}

int CVeltrinView::QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) {
    CQueryTruncateHistogramDlg dlg(recordNumber, countText, this);
    INT_PTR answer = dlg.DoModal();
    if (answer == IDOK)
        countText = dlg.GetCount();
    return (int)answer;
}
