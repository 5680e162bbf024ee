// The log tree bar: a bar on the left of the main frame holding a tab container with one page, the tree
// of loaded logs. A QBroker log is a bold root whose children are the QServer logs it names; a QServer
// log loaded alone is a root without children. The tree's commands start the reports of a log.
#pragma once

#include "guilib/frame/OXSizeCtrlBar.h"
#include "platform/framework/controls/TabCtrl.h"
#include "platform/framework/controls/TreeCtrl.h"
#include "sifter/FileFinder.h"

class CMyTreeView;
struct TreeAnalysisKind;

class CMyTreeCtrl : public CTreeCtrl {
public:
    CMyTreeCtrl() = default;
    ~CMyTreeCtrl() override = default;

    // The first root whose text equals text, else the first child whose text (or it with ".log")
    // equals it; null when none.
    HTREEITEM FindItemByText(LPCTSTR text);
    // The same search; the match also becomes the selected item.
    HTREEITEM FindAndSelectItem(LPCTSTR text);
    // The item whose label, icon or state icon lies under the point (client coordinates); it becomes
    // the current item and fills the request strings. Null when no item is there.
    HTREEITEM HitTestItem(POINT point);
    // Fills _csReportName, _csBaseFolder, _csLogType and _csItemKind from the item.
    void SetRequestFromItem(HTREEITEM item);
    // Deletes the item with its children and drops the log's key from the map of loaded logs.
    void RemoveSelectedLog(HTREEITEM item);

    // ---- Commands ----
    void OnItemize();
    void OnOpenInEditor();
    void OnRemove();
    void OnFindInFile();
    void OnGotoLineInList();
    void OnRunTABroker();
    void OnRunTAServer();
    void OnRunTICBroker();
    void OnRunTICServer();
    // The QServer integrity check without the question about an existing report log.
    void OnRunTICServerNow();
    void OnRunT20Broker();
    void OnRunT20Server();
    void RunTimeAnalysisOnEntireTree();
    void RunTop20OnEntireTree();
    void RunIntegrityCheckOnEntireTree();

    HTREEITEM GetCurrentItem() const { return m_hCurrentItem; }
    void SetCurrentItem(HTREEITEM item) { m_hCurrentItem = item; }

    // The report-log question: 0 when the report log is missing or empty (no question), else the
    // answer of the question dialog (1 use existing, 0 generate new, -1 cancel).
    static int QueryExistingReport(LPCTSTR reportLogPath);
    // The same for the two report logs of a top-20 run: asked only when both hold data.
    static int QueryExistingTop20(LPCTSTR transactionsLog, LPCTSTR sqlLog);

protected:
    void OnLButtonDown(UINT flags, POINT point);
    void OnRButtonDown(UINT flags, POINT point);
    void OnLButtonDblClk(UINT flags, POINT point);
    DECLARE_MESSAGE_MAP()

private:
    // The image of an item (-1 when it cannot be read).
    int ItemImage(HTREEITEM item) const;
    // Sets every root item of the map of loaded logs bold again.
    void BoldLoadedRoots();
    // Opens the report document, sends the request and posts WM_REFRESHVIEW unless the pad shows the
    // report already.
    void DispatchRequest();
    // The "Use Existing" step of a TA report: reports the log at reportLog into a view under listKey.
    BOOL UseExistingTa(LPCTSTR reportLog, LPCTSTR listKey, LPCTSTR docToOpen, LPCTSTR reportType, UINT message);
    // The "Use Existing" steps of a top-20 report: the transactions, the SQL statements and, when the
    // settings ask for it, the SQL summary report logs each into its view. An empty title names the
    // whole-tree reports. FALSE when a view did not come.
    BOOL UseExistingTop20(LPCTSTR folder, LPCTSTR title);
    // Selects the item, fills the request from it, sends the message and clears g_bWaitForUpdate.
    void SendCurrentRequest(HTREEITEM item, UINT message);
    // Sends every log of the tree (children of QBroker roots, other roots themselves); returns how many.
    int SendEveryLog(UINT message, bool showRecords);
    void ShowRecordsAndClearLogName();
    void RunServerAnalysis(const TreeAnalysisKind& kind);
    void RunBrokerAnalysis(const TreeAnalysisKind& kind);
    void RunAnalysisOnEntireTree(const TreeAnalysisKind& kind);
    void RunTop20(BOOL brokerMenu);

    HTREEITEM m_hCurrentItem = nullptr;
    CString m_csText1, m_csText2, m_csText3, m_csText4;
};

class CMyTreeView : public COXSizeControlBar {
    DECLARE_DYNAMIC(CMyTreeView)
public:
    CMyTreeView();
    ~CMyTreeView() override;

    BOOL Create(CWnd* parent, LPCTSTR title, UINT id);

    // Loads one log into the tree and the map of loaded logs.
    void PopulateTreeEx(LPCTSTR path);
    // Rebuilds every root from the map of loaded logs, ordered by time stamp.
    void RebuildTree();
    HTREEITEM SelectLogItem(LPCTSTR name);
    void RunTimeAnalysisOnEntireTree();
    void RunTop20OnEntireTree();
    void RunIntegrityCheckOnEntireTree();

    // The log's first time stamp "YYYYMMDDHHMMSS"; FALSE when none was read.
    BOOL GetLogTimeStamp(LPCTSTR fileName, CString& stamp);
    // Looks for the server log in the log folder; the files found stay in the bar's finder.
    BOOL FindLogFile(LPCTSTR name);

    CMyTreeCtrl& GetTreeCtrl() { return m_TreeCtrl; }
    // Moves the tab container over the bar's client area.
    void OnSizedOrDocked(int cx, int cy, BOOL floating, int flags) override;

    // State.
    CTabCtrl m_TabViewContainer;
    HIMAGELIST m_hTabImages = nullptr;
    CMyTreeCtrl m_TreeCtrl;
    HIMAGELIST m_hTreeImages = nullptr;
    BOOL m_bFilesPageAdded = FALSE;
    HTREEITEM m_hLastRootItem = nullptr;
    CString m_csLastSought;
    CString m_csDatePrefix;
    BOOL m_bSearchSubFolders = FALSE;
    CString m_csSearchText;
    CFileFinder m_Finder;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(HDC dc);
    LRESULT OnLoadLog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Which of the files the finder found stands for the server log: the one titled as sought, else
    // the last found unless its name holds '_' (then the first without one). -1 when none was found.
    int ChooseFoundFile(LPCTSTR name) const;
};
