#include "app/MainFrm.h"

#include <cstdio>

#include "analysis/AppMaps.h"
#include "app/MyPadView.h"
#include "app/MyTreeView.h"
#include "app/StatsDlg.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDialogs.h"
#include "app/VeltrinView.h"
#include "app/print/PrintEngineImpl.h"
#include "core/Launcher.h"
#include "guilib/frame/OXSzMiniDockFrmWnd.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "core/TextHelpers.h"
#include "guilib/frame/OXWorkspaceState.h"
#include "platform/base/JoinPath.h"
#include "platform/base/Process.h"
#include "platform/framework/dialogs/FileDialog.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/docview/Document.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/user/Clipboard.h"
#include "res/veltrin/resource.h"

std::function<BOOL(LPCTSTR defaultName, CString& path)> g_choosePadSaveFile = [](LPCTSTR defaultName,
                                                                                   CString& path) {
    CFileDialog dialog(FALSE, "*.txt", defaultName, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                       "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
};

std::function<int(LPCTSTR commandLine)> g_launchSifter = [](LPCTSTR commandLine) {
    return LaunchWinAppFg(commandLine);
};

namespace {
const char kSettings[] = "Settings";
const UINT kIndicators[] = {ID_SEPARATOR,     ID_INDICATOR_LOGNAME, ID_INDICATOR_RECORDS,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,     ID_INDICATOR_SCRL};
}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, COXMDIFrameWndSizeDock)

BEGIN_MESSAGE_MAP(CMainFrame, CMainFrameBase)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_PAINT()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_EDIT_FIND, OnFindInTree)
ON_COMMAND(ID_FIND_IN_LIST, OnFindInList)
ON_COMMAND(0xE128 /* Find Next */, OnFindNext)
ON_COMMAND(ID_OPTIONS, OnOptions)
ON_COMMAND(ID_TOGGLE_OUTPUT_PAD, OnToggleOutputPad)
ON_COMMAND(ID_HIDE_OUTPUT_PAD, OnHideOutputPad)
ON_COMMAND_EX(ID_SAVE_COLUMN_LAYOUT, OnSendViewAction)
ON_COMMAND_EX(ID_EXPORT_LIST, OnSendViewAction)
ON_COMMAND(ID_CUSTOMIZE, OnCustomize)
ON_COMMAND(ID_IMPORT, OnImport)
ON_COMMAND(ID_STATS, OnStats)
ON_COMMAND(ID_EDIT_COPY, OnCopyPad)
ON_COMMAND(ID_RUN_T20_ENTIRE_TREE, OnRunT20OnEntireTree)
ON_COMMAND(ID_RUN_TA_ENTIRE_TREE, OnRunTAOnEntireTree)
ON_COMMAND(ID_RUN_TIC_ENTIRE_TREE, OnRunTICOnEntireTree)
ON_COMMAND_EX_RANGE(59392, 59492, OnToggleControlBar)
ON_COMMAND_EX(ID_VIEW_PADBAR, OnToggleControlBar)
ON_COMMAND_EX(ID_VIEW_TREEBAR, OnToggleControlBar)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_LOGNAME, OnUpdateLogNamePane)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_RECORDS, OnUpdateRecordsPane)
ON_UPDATE_COMMAND_UI(ID_RUN_T20_ENTIRE_TREE, OnUpdateNeedsLoadedLog)
ON_UPDATE_COMMAND_UI(ID_RUN_TA_ENTIRE_TREE, OnUpdateNeedsLoadedLog)
ON_UPDATE_COMMAND_UI(ID_RUN_TIC_ENTIRE_TREE, OnUpdateNeedsLoadedLog)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPrintPreview)
ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdatePrintPreview)
ON_UPDATE_COMMAND_UI(ID_FILE_PAGE_SETUP, OnUpdateGreyed)
ON_MESSAGE(WM_VIEWDATA, OnViewData)
ON_MESSAGE(WM_GOTOLINE, OnTreeItemRequest)
ON_MESSAGE(WM_GOTOLINEREQUEST, OnGotoLineRequest)
ON_MESSAGE(WM_LOGNOTAVAILABLE, OnLogNotAvailable)
ON_MESSAGE(WM_LOADLOG, OnLoadLog)
ON_MESSAGE(WM_REBUILDTREE, OnRebuildTree)
ON_MESSAGE(WM_ADDPADPAGE, OnAddPadPage)
ON_MESSAGE(WM_SETPADTEXT, OnSetPadText)
ON_MESSAGE(WM_SAVEPADAS, OnSavePadAs)
ON_MESSAGE(WM_REFRESHVIEW, OnRefreshView)
ON_MESSAGE(WM_COMPILETOP20XACT, OnRelayMessage<WM_COMPILETOP20XACT>)
ON_MESSAGE(WM_POPULATETOP20XACT, OnRelayMessage<WM_POPULATETOP20XACT>)
ON_MESSAGE(WM_COMPILETOP20SQL, OnRelayMessage<WM_COMPILETOP20SQL>)
ON_MESSAGE(WM_POPULATETOP20SQL, OnRelayMessage<WM_POPULATETOP20SQL>)
ON_MESSAGE(WM_RUNSTATSREPORT, OnRelayMessage<WM_RUNSTATSREPORT>)
ON_MESSAGE(WM_RUNXACTREPORT, OnWaitForUpdate<WM_RUNXACTREPORT>)
ON_MESSAGE(WM_RUNXACTIMZREPORT, OnWaitForUpdate<WM_RUNXACTIMZREPORT>)
ON_MESSAGE(WM_RUNXACTSQLSUMREPORT, OnWaitForUpdate<WM_RUNXACTSQLSUMREPORT>)
ON_MESSAGE(WM_RUNT20SQLSUMREPORT, OnWaitForUpdate<WM_RUNT20SQLSUMREPORT>)
ON_MESSAGE(WM_RUNSQLHISTOGRAMREPORT, OnWaitForUpdate<WM_RUNSQLHISTOGRAMREPORT>)
ON_MESSAGE(WM_IMPORTTOP20XACTLOG, OnOpenExisting<WM_IMPORTTOP20XACTLOG>)
ON_MESSAGE(WM_IMPORTTOP20SQLLOG, OnOpenExisting<WM_IMPORTTOP20SQLLOG>)
ON_MESSAGE(WM_IMPORTSQLSUMMARYLOG, OnOpenExisting<WM_IMPORTSQLSUMMARYLOG>)
ON_MESSAGE(WM_IMPORTTICALLLOG, OnOpenExisting<WM_IMPORTTICALLLOG>)
ON_MESSAGE(WM_IMPORTTICLOG, OnOpenExisting<WM_IMPORTTICLOG>)
ON_MESSAGE(WM_IMPORTTICREPORTLOG, OnOpenExisting<WM_IMPORTTICREPORTLOG>)
ON_MESSAGE(WM_IMPORTTAALLLOG, OnOpenExisting<WM_IMPORTTAALLLOG>)
ON_MESSAGE(WM_IMPORTTALOG, OnOpenExisting<WM_IMPORTTALOG>)
ON_MESSAGE(WM_IMPORTANALYZEDLOG, OnOpenExisting<WM_IMPORTANALYZEDLOG>)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : CMainFrame(new COXCustomizeManager) {}

CMainFrame::CMainFrame(COXCustomizeManager* customizeManager)
    : CMainFrameBase(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)),
      m_pCustomizeManager(customizeManager),
      m_customizeManager(*m_pCustomizeManager) {}

CMainFrame::~CMainFrame() {
    delete m_pPadView;
    delete m_pTreeView;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
    // The customize pages work on the main window: this frame is it from now on, unless its creation
    // fails.
    CWinApp* app = AfxGetApp();
    BOOL becameMain = app && !app->m_pMainWnd;
    if (becameMain)
        app->m_pMainWnd = this;
    int result = CreateFrame(cs);
    m_bCreateFailed = result == -1;
    if (m_bCreateFailed && becameMain && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    return result;
}

void CMainFrame::PostNcDestroy() {
    // A frame whose creation failed stays for its creator to delete when LoadFrame returns.
    if (m_bCreateFailed)
        return;
    COXMDIFrameWndSizeDock::PostNcDestroy();
}

int CMainFrame::CreateFrame(LPCREATESTRUCT cs) {
    // More copies than allowed: the earlier one comes forward and this start fails.
    if (m_customizeManager.CheckMaxAllowedInstances(TRUE))
        return -1;
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    struct {
        COXCoolToolBar& bar;
        UINT id, resource;
        const char* text;
    } bars[] = {{m_wndToolBar, AFX_IDW_TOOLBAR, IDR_TOOLBAR, "Toolbar"},
                {m_wndWindowBar, ID_VIEW_WINDOWBAR, IDR_WINDOWBAR, "Window"}};
    // The cool bar's own creation registers its drop target: commands are dropped onto the bars.
    for (auto& b : bars) {
        if (!b.bar.Create(this, barStyle, b.id) || !b.bar.LoadToolBar(b.resource))
            return -1;
        SetToolbarButtonSizes(b.bar, 16, 16);
        b.bar.SetWindowText(b.text);
    }
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 6))
        return -1;
    m_wndStatusBar.SetPaneText(0, m_csPane0Text);
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_LOGNAME, 0, 260);
    m_wndStatusBar.SetPaneText(1, m_csPane3200Text);
    m_wndStatusBar.SetPaneInfo(2, ID_INDICATOR_RECORDS, 0, 260);
    EnableDocking(CBRS_ALIGN_ANY);
    for (auto& b : bars) {
        b.bar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&b.bar);
    }
    m_pPadView = new CMyPadView;
    if (!m_pPadView->Create(this, "Edit Pad View", ID_VIEW_PADBAR))
        return -1;
    m_pPadView->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(m_pPadView, AFX_IDW_DOCKBAR_BOTTOM);
    m_pTreeView = new CMyTreeView;
    if (!m_pTreeView->Create(this, "MyTreeView", ID_VIEW_TREEBAR))
        return -1;
    m_pTreeView->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(m_pTreeView, AFX_IDW_DOCKBAR_LEFT);
    SetupCustomizePages();
    return 0;
}

namespace {
// Commands that never count as recently used: they stay behind the expand item until chosen.
const UINT kNotRecentlyUsed[] = {57606, 57601, 58118, 58114};
}  // namespace

void CMainFrame::SetupCustomizePages() {
    for (UINT id : kNotRecentlyUsed)
        m_customizeManager.GetBitmapMenuOrganizer()->ExcludeFromRecentlyUsed(id);
    // The saved limit of copies (1 to 1000); copies beyond it are asked to close.
    m_customizeManager.SetupInstanceManagerPage(1000, "CustomizeInstanceManager");
    // Cool look, gripper and tooltips on, no border; the user's own toolbars come back hidden.
    m_customizeManager.SetupToolbarsPage(1, 1, 1, 0, "CustomizeToolbars");
    // Images in menus, only the recently used commands shown; the bars' saved states.
    m_customizeManager.SetupCommandsPage(26031, 0xC0C0C0, TRUE, TRUE, "CustomizeCommands");
    // Controls stay standard unless the user turned them cool.
    m_customizeManager.SetupCoolControlsPage(FALSE, "CustomizeCoolControls");
    SetupTrayIcon();
    // The same set-up again; once the first has attached the organizer it changes nothing.
    m_customizeManager.SetupCoolControlsPage(FALSE, "CustomizeCoolControls");
}

BOOL CMainFrame::SetupTrayIcon() {
    return m_customizeManager.SetupTrayIconPage(UINT(IDR_VELTRINTYPE), IDR_VELTRINTYPE, "Tooltip", TRUE, TRUE,
                                                nullptr, "CustomizeTrayIcon");
}

void CMainFrame::SetToolbarButtonSizes(CToolBar& bar, int imageWidth, int imageHeight) {
    bar.SetSizes(SIZE{imageWidth + 7, imageHeight + 6}, SIZE{imageWidth, imageHeight});
    bar.GetToolBarCtrl().AutoSize();
}

void CMainFrame::LoadWorkspace() {
    // The saved shortcut keys are in force from the start.
    m_customizeManager.SetupShortkeysPage(this, "CustomizeShortkeys");
    // The MDI children show as tabs unless the user switched them off.
    m_customizeManager.SetupTabbedMDIPage(TCS_HOTTRACK, 1, "CustomizeTabbedMDI", TRUE);
    // The MDI client tiled with the program's picture, unless the user chose otherwise.
    m_customizeManager.SetupBackgroundPageFromResourceId(TRUE, TRUE, IDB_MDI_BACKGROUND, Tile, CLR_DEFAULT,
                                                         "CustomizeBackgroundPainter");
    LoadSizeBarState("SizeBarState");
    // The logs that were open come back at their places, the bars as they were left.
    SetReopenHandlers();
    COXWorkspaceState workspace;
    workspace.SetOptionFlag(TRUE);
    workspace.LoadFromRegistry("Main");
    if (m_pPadView)
        m_pPadView->LoadState("OutputWindow");
    for (COXCoolToolBar* bar : {&m_wndToolBar, &m_wndWindowBar})
        if (bar->m_hWnd)
            bar->UpdateCustomButtons(0, -1);
}

void CMainFrame::SetReopenHandlers() {
    // A reopened log is itemized as the tree's Itemize asks: the new view takes the request when it is
    // made, and fills itself when the request is relayed to it.
    COXChildFrameState::SetOpenHandlers(
        [](CDocTemplate*, const CString& path) {
            int slash = path.ReverseFind('/');
            CString name = path.Mid(slash + 1);
            CString upper = name;
            upper.MakeUpper();
            BOOL broker = upper.Find("QBROKER") >= 0;
            _csReportName = name;
            _csListKey = name;
            _csBaseFolder = slash > 0 ? path.Left(slash) : CString(slash == 0 ? "/" : "");
            _csLogType = broker ? "QBROKER" : "QSERVER";
            _csItemKind = broker ? "ROOTITEM" : "SUBITEM";
            _csAction = broker ? "ITEMIZE" : "QSVRITEMIZE";
            _csReportType = broker ? "QBROKERITEMIZE" : "QSVRITEMIZE";
            _csCommand = MakeRequestLine(name, _csItemKind, _csAction);
        },
        [](CView* view) {
            if (dynamic_cast<CVeltrinView*>(view))
                view->SendMessage(WM_VIEWDATA, 0, 0);
        });
}

BOOL CMainFrame::ShowWithSavedPlacement(int showCmd) {
    CWinApp* app = AfxGetApp();
    CString text = app->GetProfileString(kSettings, "WindowPos", "");
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    unsigned flags = 0, show = 0;
    int v[8] = {};
    int n = 0;
    if (!text.IsEmpty())
        n = std::sscanf(text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &flags, &show, &v[0], &v[1], &v[2], &v[3], &v[4],
                        &v[5], &v[6], &v[7]);
    wp.flags = flags;
    wp.showCmd = show;
    wp.ptMinPosition = POINT{v[0], v[1]};
    wp.ptMaxPosition = POINT{v[2], v[3]};
    wp.rcNormalPosition = RECT{v[4], v[5], v[6], v[7]};
    if (n != 10) {
        ShowWindow(showCmd);
        return FALSE;
    }
    if (showCmd != SW_SHOWNORMAL)
        wp.showCmd = (UINT)showCmd;
    // A placement saved while minimised comes back normal.
    if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
        wp.showCmd = SW_SHOWNORMAL;
    SetWindowPlacement(m_hWnd, &wp);
    ShowWindow((int)wp.showCmd);
    struct {
        const char* entry;
        int defaultValue;
    } values[] = {{"MinMilliseconds", 4},
                  {"StartSqlSumRptOnT20", 1},
                  {"LinkLowerTabWithUpperTabOnActivate", 1},
                  {"TreeViewUseSearchOption", 1}};
    for (auto& v : values)
        app->WriteProfileInt(kSettings, v.entry, (int)app->GetProfileInt(kSettings, v.entry, v.defaultValue));
    return TRUE;
}

void CMainFrame::OnClose() {
    // The recently used commands and the bars' states.
    m_customizeManager.SaveAllPagesState();
    if (m_pPadView)
        m_pPadView->SaveState("OutputWindow");
    SaveSizeBarState("SizeBarState");
    COXWorkspaceState workspace;
    workspace.SetOptionFlag(TRUE);
    workspace.StoreToRegistry("Main");
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (::GetWindowPlacement(m_hWnd, &wp)) {
        CString text;
        text.Format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", IsZoomed() ? 2u : 0u, wp.showCmd, (int)wp.ptMinPosition.x,
                    (int)wp.ptMinPosition.y, (int)wp.ptMaxPosition.x, (int)wp.ptMaxPosition.y,
                    (int)wp.rcNormalPosition.left, (int)wp.rcNormalPosition.top, (int)wp.rcNormalPosition.right,
                    (int)wp.rcNormalPosition.bottom);
        AfxGetApp()->WriteProfileString(kSettings, "WindowPos", text);
    }
    // The program ends next whatever the tray icon does.
    try {
        m_customizeManager.GetTrayIconPage()->RemoveTrayIcon();
    } catch (...) {
    }
    if (StopVeltrin() == -1)
        CMDIFrameWnd::OnClose();
}

CView* CMainFrame::GetActiveLogView() {
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveView() : nullptr;
}

CView* CMainFrame::FindDocumentView(LPCTSTR name) {
    CWinApp* app = AfxGetApp();
    for (POSITION tp = app->GetFirstDocTemplatePosition(); tp;) {
        CDocTemplate* tmpl = app->GetNextDocTemplate(tp);
        for (POSITION dp = tmpl->GetFirstDocPosition(); dp;) {
            CDocument* doc = tmpl->GetNextDoc(dp);
            if (doc->GetTitle() != name)
                continue;
            POSITION vp = doc->GetFirstViewPosition();
            CView* view = vp ? doc->GetNextView(vp) : nullptr;
            if (view) {
                if (CFrameWnd* frame = view->GetParentFrame())
                    MDIActivate(frame);
                SelectTreeItem(name);
            }
            return view;
        }
    }
    return nullptr;
}

int CMainFrame::AddPadPage(LPCTSTR name) { return m_pPadView ? m_pPadView->AddPad(name) : -1; }
void CMainFrame::ActivatePadPage(LPCTSTR name) {
    if (m_pPadView)
        m_pPadView->ActivatePad(name);
}
void CMainFrame::SetPadPageText(LPCTSTR name, LPCTSTR text) {
    if (m_pPadView)
        m_pPadView->SetPadText(name, text);
}
void CMainFrame::ClearPadPage(LPCTSTR name) {
    if (m_pPadView)
        m_pPadView->ClearPad(name);
}
void CMainFrame::ReplacePadPageText(LPCTSTR name, LPCTSTR text) {
    ClearPadPage(name);
    SetPadPageText(name, text);
}
void CMainFrame::ClosePadPage(LPCTSTR name) {
    ActivatePadPage(name);
    if (m_pPadView)
        m_pPadView->RemovePad(name);
}
BOOL CMainFrame::IsPadPage(LPCTSTR name) { return m_pPadView && m_pPadView->FindPad(name); }
void CMainFrame::ShowPadPage(LPCTSTR name) {
    ShowOutputBar();
    ActivatePadPage(name);
}
void CMainFrame::ShowOutputBar() {
    if (m_pPadView)
        ShowControlBar(m_pPadView, TRUE, FALSE);
}
void CMainFrame::HideOutputBar() {
    if (m_pPadView)
        ShowControlBar(m_pPadView, FALSE, FALSE);
}
BOOL CMainFrame::SelectTreeItem(LPCTSTR name) { return m_pTreeView && m_pTreeView->SelectLogItem(name) != nullptr; }

void CMainFrame::UpdateStatusPane0() {
    if (!m_wndStatusBar.m_hWnd)
        return;
    m_csPane0Text = _csStatusText;
    m_wndStatusBar.SetPaneText(0, m_csPane0Text);
}

void CMainFrame::UpdateStatusPane3200() {
    if (!m_wndStatusBar.m_hWnd || _csLogNameText == m_csPane3200Text || _csLogNameText.IsEmpty())
        return;
    m_csPane3200Text = _csLogNameText;
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_LOGNAME, 0, 260);
    m_wndStatusBar.SetPaneText(1, m_csPane3200Text);
}

void CMainFrame::UpdateStatusPane3201() {
    if (!m_wndStatusBar.m_hWnd)
        return;
    m_wndStatusBar.SetPaneInfo(2, ID_INDICATOR_RECORDS, 0, 260);
    m_wndStatusBar.SetPaneText(2, _csRecordsText);
    if (!_csStatusText.IsEmpty())
        UpdateStatusPane0();
}

void CMainFrame::UpdateTitle() {
    CString title;
    title.Format("%s V%s", VELTRIN_PROGRAM_NAME, VELTRIN_VERSION);
    CString now;
    GetWindowText(now);
    if (now != title && now.Find(" V") < 0)
        SetWindowText(title);
}

void CMainFrame::OnPaint() {
    UpdateTitle();
    UpdateStatusPane3201();
    Default();
}

void CMainFrame::OnContextMenu(CWnd*, POINT point) {
    HMENU menu = CreatePopupMenu();
    for (CToolBar* bar : {&m_wndToolBar, &m_wndWindowBar}) {
        CString text;
        bar->GetWindowText(text);
        AppendMenu(menu, MF_STRING | (bar->IsWindowVisible() ? MF_CHECKED : 0), bar->GetDlgCtrlID(), text);
    }
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, ID_CUSTOMIZE, "Customize...");
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
}

void CMainFrame::OnUpdateLogNamePane(CCmdUI* ui) { ui->Enable(TRUE); }
void CMainFrame::OnUpdateRecordsPane(CCmdUI* ui) { ui->Enable(TRUE); }
void CMainFrame::OnUpdateNeedsLoadedLog(CCmdUI* ui) { ui->Enable(g_mapLoadedLogs.GetCount() > 0); }
void CMainFrame::OnUpdateGreyed(CCmdUI* ui) { ui->Enable(FALSE); }

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
    return CMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMainFrame::OnToggleControlBar(UINT id) {
    CControlBar* bar = GetControlBar(id);
    if (!bar || bar == &GetMenuBar())
        return FALSE;
    // A sizing bar shows and hides itself, so that a bar stacked behind tabs leaves and takes back its tab.
    if (auto* sizeBar = dynamic_cast<COXSizeControlBar*>(bar)) {
        sizeBar->ShowBar(!sizeBar->IsVisible());
        RecalcLayout();
        return TRUE;
    }
    ShowControlBar(bar, !bar->IsWindowVisible(), FALSE);
    return TRUE;
}

void CMainFrame::OnToggleOutputPad() { PostMessage(WM_COMMAND, ID_VIEW_PADBAR, 0); }
void CMainFrame::OnHideOutputPad() { HideOutputBar(); }

BOOL CMainFrame::OnSendViewAction(UINT id) {
    // The action word is the proposed name: the view reads it from wParam.
    CView* view = GetActiveLogView();
    if (view && !_csAction.IsEmpty())
        view->SendMessage(id == ID_EXPORT_LIST ? WM_EXPORTLIST : WM_SAVECOLUMNLAYOUT, (WPARAM)(LPCTSTR)_csAction, 0);
    return TRUE;
}

void CMainFrame::OnCustomize() {
    // A second "Customize..." while the dialog is open only brings it forward.
    if (!m_customizeManager.GetSafeHwnd() && !m_customizeManager.Create(IDD_CUSTOMIZEMANAGER, this))
        return;
    m_customizeManager.ActivatePage(0);
    m_customizeManager.SetActiveWindow();
    m_customizeManager.ShowWindow(SW_SHOW);
}
void CMainFrame::OnPrintPreview() {
    if (CView* view = GetActiveLogView())
        view->SendMessage(WM_PRINTLIST, 0, 0);
}

void CMainFrame::OnUpdatePrintPreview(CCmdUI* ui) {
    // A second preview would end the first one's loop and delete its script.
    ui->Enable(!_bPreviewOpen && GetActiveLogView() != nullptr);
}

CView* CMainFrame::OpenReportView(LPCTSTR name) {
    if (IsPadPage(name))
        return FindDocumentView(name);
    AfxGetApp()->OpenDocumentFile(name);
    if (CVeltrinApp* app = GetTheApp())
        app->PruneRecentFileList();
    PumpWaitingMessages();
    return GetActiveLogView();
}

void CMainFrame::OnImport() {
    CString name;
    name.Format("Import_%d", ++g_nImportCount);
    // The new view is addressed by this name (its list key, pad page and layout), never by the request
    // of the report opened before it.
    _csReportName = name;
    _csListKey = name;
    _csReportType = "";
    AfxGetApp()->OpenDocumentFile(name);
    if (CVeltrinApp* app = GetTheApp())
        app->PruneRecentFileList();
    if (CView* view = GetActiveLogView())
        view->PostMessage(WM_IMPORTCSV, 0, 0);
}

void CMainFrame::OnStats() {
    if (g_mapLoadedLogs.GetCount() == 0) {
        MessageBeep(0);
        AfxMessageBox("One or More QBroker logs must be loaded\nin the TreeView in order to perform Stats.",
                      MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        return;
    }
    CStatsDlg dlg(this);
    dlg.DoModal();
}

void CMainFrame::OnCopyPad() {
    if (!m_pPadView)
        return;
    CString text = m_pPadView->GetActivePadText();
    if (OpenClipboard(m_hWnd)) {
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (size_t)text.GetLength() + 1);
        if (mem) {
            memcpy(GlobalLock(mem), (LPCTSTR)text, (size_t)text.GetLength() + 1);
            GlobalUnlock(mem);
            SetClipboardData(CF_TEXT, mem);
        }
        CloseClipboard();
    }
}

void CMainFrame::OnRunT20OnEntireTree() {
    CWaitCursor wait;
    if (m_pTreeView)
        m_pTreeView->RunTop20OnEntireTree();
}
void CMainFrame::OnRunTAOnEntireTree() {
    CWaitCursor wait;
    if (m_pTreeView)
        m_pTreeView->RunTimeAnalysisOnEntireTree();
}
void CMainFrame::OnRunTICOnEntireTree() {
    CWaitCursor wait;
    if (m_pTreeView)
        m_pTreeView->RunIntegrityCheckOnEntireTree();
}

LRESULT CMainFrame::OnViewData(WPARAM wParam, LPARAM lParam) {
    if (CView* view = GetActiveLogView())
        return view->SendMessage(WM_VIEWDATA, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnRelayToView(WPARAM wParam, LPARAM lParam) { return OnViewData(wParam, lParam); }

LRESULT CMainFrame::RelayToActiveView(UINT message) {
    auto* view = dynamic_cast<CVeltrinView*>(GetActiveLogView());
    if (_csAction.IsEmpty() || !view)
        return 0;
    return view->SendMessage(message, (WPARAM)_csAction.GetString(), 0);
}

LRESULT CMainFrame::RelayWaitForUpdate(UINT message) {
    const CString command = _csCommand;
    _csCommand = WAIT_FOR_UPDATE;
    g_bWaitForUpdate = 1;
    AfxGetApp()->OpenDocumentFile(_csReportName);
    if (CVeltrinApp* app = GetTheApp())
        app->PruneRecentFileList();
    _csCommand = command;
    LRESULT result = 0;
    auto* view = dynamic_cast<CVeltrinView*>(GetActiveLogView());
    if (!_csAction.IsEmpty() && view)
        result = view->SendMessage(message, (WPARAM)_csAction.GetString(), 0);
    g_bWaitForUpdate = 0;
    return result;
}

LRESULT CMainFrame::RelayOpenExisting(UINT message) {
    const bool byDocument = message >= WM_IMPORTTOP20XACTLOG && message <= WM_IMPORTSQLSUMMARYLOG;
    CString name = byDocument ? _csDocToOpen : _csListKey;
    if (name.IsEmpty())
        return 0;
    AfxGetApp()->OpenDocumentFile(name);
    if (CVeltrinApp* app = GetTheApp())
        app->PruneRecentFileList();
    if (auto* view = dynamic_cast<CVeltrinView*>(GetActiveLogView()))
        return view->SendMessage(message, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnTreeItemRequest(WPARAM wParam, LPARAM lParam) {
    CString name = RequestField(REQ_NAME);
    CView* view = nullptr;
    if (IsPadPage(name)) {
        view = FindDocumentView(name);
    } else {
        view = OpenReportView(name);
        CString kind = _csLogType == "QBROKER" ? "ROOTITEM" : "SUBITEM";
        CString action = _csLogType == "QBROKER" ? "ITEMIZE" : "QSVRITEMIZE";
        _csCommand = MakeRequestLine(_csReportName, kind, action);
        if (view)
            view->SendMessage(WM_VIEWDATA, 0, 0);
    }
    // The line text comes in wParam.
    if (view && dynamic_cast<CVeltrinView*>(view) && wParam)
        view->SendMessage(WM_GOTOLINE, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnGotoLineRequest(WPARAM, LPARAM) {
    // An open view loses its highlight; a view not yet open is opened and filled by the tree-item
    // request below, which then hands it the line.
    if (IsPadPage(_csReportName))
        if (auto* view = dynamic_cast<CVeltrinView*>(FindDocumentView(_csReportName)))
            view->SendMessage(WM_CLEARHIGHLIGHT, 0, 0);
    _csLastGotoLine = _csGotoLogLine;
    _csAction = "GOTOLINE:" + _csGotoLogLine;
    _csLogType = "QSERVER";
    _csCommand = MakeRequestLine(_csReportName, _csItemKind, _csAction);
    const CString line = _csAction;
    return OnTreeItemRequest((WPARAM)line.GetString(), 0);
}

LRESULT CMainFrame::OnLogNotAvailable(WPARAM, LPARAM) {
    CMDIChildWnd* child = MDIGetActive();
    if (!child)
        return 0;
    // A view that runs a pass or holds rows keeps its report.
    if (auto* view = dynamic_cast<CVeltrinView*>(child->GetActiveView()))
        if (!view->CanCloseForMissingLog())
            return 0;
    child->DestroyWindow();
    return 0;
}

LRESULT CMainFrame::OnLoadLog(WPARAM, LPARAM) {
    CWaitCursor wait;
    if (m_pTreeView)
        m_pTreeView->PopulateTreeEx(_csReportName);
    return 0;
}

LRESULT CMainFrame::OnRebuildTree(WPARAM, LPARAM) {
    CWaitCursor wait;
    if (m_pTreeView)
        m_pTreeView->RebuildTree();
    return 0;
}

LRESULT CMainFrame::OnAddPadPage(WPARAM, LPARAM lParam) {
    return AddPadPage(lParam ? (LPCTSTR)lParam : (LPCTSTR)_csListKey);
}

LRESULT CMainFrame::OnSetPadText(WPARAM wParam, LPARAM lParam) {
    LPCTSTR name = wParam ? (LPCTSTR)wParam : (LPCTSTR)_csListKey;
    ActivatePadPage(name);
    ReplacePadPageText(name, lParam ? (LPCTSTR)lParam : "");
    return 0;
}

LRESULT CMainFrame::OnSavePadAs(WPARAM, LPARAM) {
    CString text = m_pPadView ? m_pPadView->GetActivePadText() : CString();
    if (text.IsEmpty()) {
        AfxMessageBox("Nothing in the Edit Pane to Save!", MB_ICONINFORMATION | MB_SETFOREGROUND);
        return 0;
    }
    CString name = m_pPadView->GetActivePadName();
    int dot = name.ReverseFind('.');
    if (dot >= 0)
        name = name.Left(dot);
    CString defaultName;
    defaultName.Format("%s.txt", (LPCTSTR)name);
    CString path;
    if (!g_choosePadSaveFile(defaultName, path))
        return 0;
    FILE* f = std::fopen(path, "wb");
    if (!f || std::fwrite((LPCTSTR)text, 1, (size_t)text.GetLength(), f) != (size_t)text.GetLength()) {
        int error = errno;
        if (f)
            std::fclose(f);
        AfxMessageBox(std::strerror(error), MB_ICONSTOP | MB_SETFOREGROUND);
        return 0;
    }
    std::fclose(f);
    return 0;
}

LRESULT CMainFrame::OnRefreshView(WPARAM wParam, LPARAM lParam) {
    if (CView* view = GetActiveLogView(); view && dynamic_cast<CVeltrinView*>(view))
        view->PostMessage(WM_REFRESHVIEW, wParam, lParam);
    return 0;
}

void CMainFrame::OnFindInList() {
    CFindTextDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    _csLastFindText = dlg.m_csFindText;
    CView* view = nullptr;
    if (IsPadPage(_csReportName)) {
        view = FindDocumentView(_csReportName);
    } else if (_csReportName.Find("N/A") >= 0) {
        return;
    } else {
        CString keptCommand = _csCommand, keptAction = _csAction;
        view = OpenReportView(_csReportName);
        BOOL broker = _csLogType == "QBROKER";
        _csReportType = broker ? "QBROKERITEMIZE" : "QSVRITEMIZE";
        _csCommand = MakeRequestLine(_csReportName, broker ? "ROOTITEM" : "SUBITEM", broker ? "ITEMIZE" : "QSVRITEMIZE");
        if (view)
            view->SendMessage(WM_VIEWDATA, 0, 0);
        _csCommand = keptCommand;
        _csAction = keptAction;
    }
    view = GetActiveLogView();
    if (view && dynamic_cast<CVeltrinView*>(view)) {
        view->SendMessage(WM_CLEARHIGHLIGHT, 0, 0);
        view->SendMessage(WM_SEARCH, 0, (LPARAM)(LPCTSTR)_csLastFindText);
    }
}

void CMainFrame::OnFindNext() {
    if (_csLastFindText.IsEmpty()) {
        CFindTextDlg dlg(this);
        if (dlg.DoModal() != IDOK)
            return;
        _csLastFindText = dlg.m_csFindText;
    }
    if (CView* view = GetActiveLogView(); view && dynamic_cast<CVeltrinView*>(view))
        view->SendMessage(WM_SEARCHF3, 0, (LPARAM)(LPCTSTR)_csLastFindText);
}

void CMainFrame::OnOptions() {
    COptionsDlg dlg(this);
    dlg.DoModal();
}

BOOL CMainFrame::SearchWithSifter(LPCTSTR text) {
    CString line;
    for (POSITION pos = g_mapLoadedLogs.GetStartPosition(); pos;) {
        CString key;
        HObj rec;
        HObj* record = &rec;
        pos = g_mapLoadedLogs.GetNext(pos, key, rec);
        CString name = key;
        int dot = name.Find(".log");
        line += dot >= 0 ? name.Left(dot) + "|" + name.Mid(dot + 4) : name + "|";
        // A broker's record lists the server logs it names: "name>...|" entries.
        if (record && !record->m_csServerList.IsEmpty()) {
            CString list = record->m_csServerList;
            for (int at = 0; at < list.GetLength();) {
                int gt = list.Find('>', at);
                if (gt < 0)
                    break;
                line += list.Mid(at, gt - at) + "|";
                int bar = list.Find('|', gt);
                at = bar < 0 ? list.GetLength() : bar + 1;
            }
        }
    }
    line.Replace("|", ".log,");
    CString listPath = JoinPath(_csBaseFolder, "_FF_.lst");
    FILE* f = std::fopen(listPath, "wb");
    if (!f)
        return FALSE;
    BOOL written = std::fwrite((LPCTSTR)line, 1, (size_t)line.GetLength(), f) == (size_t)line.GetLength();
    written = std::fclose(f) == 0 && written;
    if (!written)
        return FALSE;
    CString command;
    command.Format("Sifter BASEPATH=%s|FILEMASK=_FF_.lst|FINDTEXT=%s|SUBDIRS=N|EXECNOW=Y|", (LPCTSTR)_csBaseFolder,
                   text);
    g_launchSifter(command);
    return TRUE;
}

void CMainFrame::OnFindInTree() {
    CFindTextDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    _csLastFindText = dlg.m_csFindText;
    CWaitCursor wait;
    // Sifter's line is cut at '|': such a text goes to the internal search.
    BOOL sifter = AfxGetApp()->GetProfileInt(kSettings, "TreeViewUseSearchOption", 0) == 1 &&
                  _csLastFindText.Find('|') < 0;
    if (sifter) {
        if (SearchWithSifter(_csLastFindText))
            return;
        AfxMessageBox("Unable to write file: _FF_.lst (switch to internal search logic).",
                      MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    if (!SearchLogsInternal(_csLastFindText))
        AfxMessageBox("End of TreeView Search.", MB_ICONINFORMATION | MB_SETFOREGROUND);
    if (CView* view = GetActiveLogView())
        view->PostMessage(WM_HIGHLIGHTROW, 0, 0);
}

CMainFrame* GetMainFrame() { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }
