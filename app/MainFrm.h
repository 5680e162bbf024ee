// Veltrin's main window and message hub: bars, status panes, the pad and tree bars, relays of the
// private messages to the report views, Find in Tree, and the saved window placement.
#pragma once

#include <functional>
#include <memory>

#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/frame/OXFrameWndDock.h"
#include "guilib/frame/OXInstanceManager.h"
#include "guilib/frame/OXShortkeysOrganizer.h"
#include "guilib/frame/OXMenuBarFrame.h"
#include "guilib/frame/OXSizeDockBar.h"
#include "guilib/skins/OXBitmapMenuOrganizer.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/framework/bars/StatusBar.h"

class CMyPadView;
class CMyTreeView;
class CView;

// Control-bar identifiers of the frame.
#define ID_VIEW_PADBAR 59522
#define ID_VIEW_TREEBAR 59523
#define ID_VIEW_WINDOWBAR 59402
#define ID_INDICATOR_LOGNAME 3200
#define ID_INDICATOR_RECORDS 3201

// The frame's menu lives in a dockable menu bar over the docking MDI frame.
using CMainFrameBase = COXMenuBarFrame<COXMDIFrameWndSizeDock, COXSizeDockBar>;

class CMainFrame : public CMainFrameBase {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // Start-up, called by the application after the frame is created.
    void LoadWorkspace();
    // Shows the frame with the placement saved in "Settings"/"WindowPos" when there is one; TRUE when a
    // placement was restored (the four "Settings" values are then written back).
    BOOL ShowWithSavedPlacement(int showCmd);
    // Saves the workspace and the placement, then ends the process (StopVeltrin).
    void OnClose();

    // The active view of the active MDI child, or null.
    CView* GetActiveLogView();
    // Activates the child of the open document of that name and selects its tree item; its view, or
    // null when no such document is open.
    CView* FindDocumentView(LPCTSTR name);

    // Pad pages, by name.
    int AddPadPage(LPCTSTR name);
    void ActivatePadPage(LPCTSTR name);
    void SetPadPageText(LPCTSTR name, LPCTSTR text);
    void ClearPadPage(LPCTSTR name);
    void ReplacePadPageText(LPCTSTR name, LPCTSTR text);
    void ClosePadPage(LPCTSTR name);
    BOOL IsPadPage(LPCTSTR name);
    void ShowPadPage(LPCTSTR name);
    void ShowOutputBar();
    void HideOutputBar();

    // Selects the tree item of that name; FALSE when the tree has none.
    BOOL SelectTreeItem(LPCTSTR name);

    void UpdateStatusPane0();
    void UpdateStatusPane3200();
    void UpdateStatusPane3201();
    void UpdateTitle();

    CMyPadView* GetPadView() const { return m_pPadView; }
    // The program's copies, registered with the customize manager's instance manager page.
    COXInstanceManager& GetInstanceManager() { return *m_customizeManager.GetInstanceManager(); }
    // The shortcut keys, organized by the customize manager's shortcut-keys page.
    COXShortkeysOrganizer& GetShortkeysOrganizer() { return *m_customizeManager.GetShortkeysOrganizer(); }
    CMyTreeView* GetTreeView() const { return m_pTreeView; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    COXCoolToolBar& GetToolBar() { return m_wndToolBar; }
    COXCoolToolBar& GetWindowBar() { return m_wndWindowBar; }
    // The bitmap menus, organized by the customize manager's commands page.
    COXBitmapMenuOrganizer& GetBitmapMenuOrganizer() { return *m_customizeManager.GetBitmapMenuOrganizer(); }

    // The texts the status panes show now.
    CString m_csPane0Text = "Ready";
    CString m_csPane3200Text = "LogName";

    // Command handlers (public so the tests drive them as the menus do).
    void OnFindInTree();
    void OnFindInList();
    void OnFindNext();
    void OnOptions();
    void OnToggleOutputPad();
    void OnHideOutputPad();
    BOOL OnSendViewAction(UINT id);
    void OnCustomize();
    void OnImport();
    void OnStats();
    void OnCopyPad();
    void OnRunT20OnEntireTree();
    void OnRunTAOnEntireTree();
    void OnRunTICOnEntireTree();
    void OnPrintPreview();
    void OnUpdatePrintPreview(CCmdUI* ui);
    BOOL OnToggleControlBar(UINT id);

    // Private messages.
    LRESULT OnViewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreeItemRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnGotoLineRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnLogNotAvailable(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoadLog(WPARAM wParam, LPARAM lParam);
    LRESULT OnRebuildTree(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddPadPage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPadText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSavePadAs(WPARAM wParam, LPARAM lParam);
    LRESULT OnRefreshView(WPARAM wParam, LPARAM lParam);
    LRESULT OnRelayToView(WPARAM wParam, LPARAM lParam);
    // The top-20 relays: the message goes on to the active report view with the action word, when a
    // request is set.
    LRESULT RelayToActiveView(UINT message);
    template <UINT Message>
    LRESULT OnRelayMessage(WPARAM, LPARAM) {
        return RelayToActiveView(Message);
    }
    // The wait-for-update relays: the report document named by _csReportName is opened while the request
    // reads "WAIT_FOR_UPDATE" (so the new view runs nothing yet), then the kept request and the message go
    // to it.
    LRESULT RelayWaitForUpdate(UINT message);
    template <UINT Message>
    LRESULT OnWaitForUpdate(WPARAM, LPARAM) {
        return RelayWaitForUpdate(Message);
    }
    // The open-existing relays: open the report document that the request names (_csDocToOpen for the
    // top-20 and SQL summary logs, _csListKey for the others), then hand the message to its view, which
    // loads the report log.
    LRESULT RelayOpenExisting(UINT message);
    template <UINT Message>
    LRESULT OnOpenExisting(WPARAM, LPARAM) {
        return RelayOpenExisting(Message);
    }

protected:
    // A frame over a customize manager of the caller's making (which the frame then owns).
    explicit CMainFrame(COXCustomizeManager* customizeManager);
    int OnCreate(LPCREATESTRUCT cs);
    // The steps of OnCreate; -1 when one fails.
    int CreateFrame(LPCREATESTRUCT cs);
    void PostNcDestroy() override;
    void OnPaint();
    void OnContextMenu(CWnd* wnd, POINT point);
    void OnUpdateLogNamePane(CCmdUI* ui);
    void OnUpdateRecordsPane(CCmdUI* ui);
    void OnUpdateNeedsLoadedLog(CCmdUI* ui);
    void OnUpdateGreyed(CCmdUI* ui);
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // How a log of the saved workspace is reopened: with the request the tree's Itemize makes.
    static void SetReopenHandlers();
    // Button sizes: image width + 7, image height + 6.
    void SetToolbarButtonSizes(CToolBar& bar, int imageWidth, int imageHeight);
    // The customize pages, set up once the bars exist: the limit of running copies, the bitmap menus,
    // the shared toolbar images and the saved toolbar states.
    void SetupCustomizePages();
    // The tray icon page: icon and menu 127; FALSE, nothing set up, when the icon does not load.
    BOOL SetupTrayIcon();
    // Opens (or activates) the report of that name and completes its request; its view.
    CView* OpenReportView(LPCTSTR name);
    // The internal search of Find in Tree: opens every loaded log (and every server log a loaded broker
    // names) whose file holds the text, and searches its list; TRUE when a log was opened.
    BOOL SearchLogsInternal(LPCTSTR text);
    // Opens or activates the itemize report of a log the internal search found, when the tree holds it,
    // and searches its list; FALSE when the tree does not hold it.
    BOOL OpenFoundLog(LPCTSTR fileName, LPCTSTR logType, LPCTSTR itemKind, LPCTSTR action, LPCTSTR reportType,
                      LPCTSTR text);
    // Writes "_FF_.lst" and starts Sifter: FALSE when the list file cannot be written.
    BOOL SearchWithSifter(LPCTSTR text);

    CStatusBar m_wndStatusBar;
    COXCoolToolBar m_wndToolBar;
    COXCoolToolBar m_wndWindowBar;
    // The customize dialog and its pages; the window exists from "Customize..." until it closes, the
    // pages and the library objects they own live as long as the frame.
    std::unique_ptr<COXCustomizeManager> m_pCustomizeManager;
    COXCustomizeManager& m_customizeManager;
    // Owned by the frame; made in OnCreate.
    CMyPadView* m_pPadView = nullptr;
    CMyTreeView* m_pTreeView = nullptr;
    BOOL m_bCreateFailed = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The save dialog of "Save pad as": FALSE when cancelled, else the chosen path.
extern std::function<BOOL(LPCTSTR defaultName, CString& path)> g_choosePadSaveFile;

// How Find in Tree starts Sifter with its command line (tests put a recorder here).
extern std::function<int(LPCTSTR commandLine)> g_launchSifter;

// The main frame of the running program, or null.
CMainFrame* GetMainFrame();
