// The report view: one report list filling an MDI child, the analysis state of the report it shows and
// the host the analysis engine runs over (the list, the wait dialog, the main frame's panes and pad, the
// application profile, threads and timers of this window).
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "analysis/VeltrinAnalysis.h"
#include "app/MyDataArray.h"
#include "controls/gxListCtrl.h"
#include "controls/model/PrinterDef.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/window/CmdUI.h"

class CVeltrinDoc;
class CMenu;

class CVeltrinView : public CView, public CVeltrinAnalysis, public IAnalysisHost {
    DECLARE_DYNCREATE(CVeltrinView)
public:
    CVeltrinView();
    ~CVeltrinView() override;

    CVeltrinDoc* GetDocument() const;

    // ---- Framework overrides ----
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                LPVOID context = nullptr) override;
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    void OnDraw(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // ---- Status and pad routines (the engine's, reached through the host) ----
    using CVeltrinAnalysis::ActivatePadTab;
    using CVeltrinAnalysis::ClearPadText;
    using CVeltrinAnalysis::ShowLogNamePane;
    using CVeltrinAnalysis::ShowOutputBarOnce;
    using CVeltrinAnalysis::ShowPadText;
    using CVeltrinAnalysis::ShowRecordCount;
    using CVeltrinAnalysis::ShowStatusText;
    using CVeltrinAnalysis::Trace;
    void SetHighlightRow(int row);

    // ---- Row commands ----
    // The focused row of the list, -1 when none.
    int GetFocusedItem() const;
    // The same as a test: FALSE when the list has no rows or none is focused.
    BOOL GetFocusedItem(int& row) const;

    // ---- Opening logs and lines ----
    // Goto Log on the focused row: the log and line the row names, in its own itemize view or Scrivel.
    void OnGotoLog();
    // Open Log / Open File on a row: the row's log at its line, or a report log whole.
    void OpenLog(int row);
    // Statistics rows: the QBroker log at the row's line, the QServer log at its transaction's line.
    void OnOpenQBrokerLogAtLine(int row);
    void OpenServerLog(int row);
    // A double click on a row.
    void OnOpenInEditor(int row);
    // A click on a row: the row's content (log excerpt, statement or server lines) on the pad page.
    void OnShowListItem(int row, BOOL flag);
    // Completes name to the last file of the view's folder whose name holds it (preferring one whose
    // title equals it); FALSE and an empty name when there is none.
    BOOL FindLogFile(CString& name);
    // The first line of the log holding the time and both keys: its number (0 when none); its text goes
    // to the pad and its number to _csLastGotoLine.
    int32_t GetLineNumber(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR key3) override;
    // The lines of one transaction of a server log (opened by "Start " with the keys and time, up to its
    // "End" line, at most 2,000) onto the pad page.
    void SearchLogToPad(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR time);

    // ---- List search, clipboard and column widths ----
    // The first row from the selection on (Find) or after it (Find Next) whose columns from 2 on hold
    // the text (or both halves of "a&&b" in one cell); "End of Search" when none. No wrap.
    BOOL SearchList(LPCTSTR text, BOOL next);
    // Selects the row whose line column holds the line ("GOTOLINE:n" or "n").
    BOOL GotoLine(LPCTSTR text);
    void OnCopyToClipboard();
    // The selected rows as text: every cell followed by " | ", each row ended by CR LF.
    CString SelectedRowsText() const;
    void RestoreColumnWidths(LPCTSTR layout);
    void SaveColumnWidths(LPCTSTR layout);
    // Lays an SQL statement out for reading: a line break before each keyword.
    static void NormalizeSql(CString& text);
    void OnRunSubitemT20(int row);
    void OnRunSubitemSQLSum(int row);

    // The list's context menu for the list key and the focused row: its resource id (0: no menu) and
    // the items it enables.
    UINT ChooseContextMenu(int focusedRow, std::vector<UINT>& enabled) const;

    // ---- The pump timer ----
    void StartPumpTimer();
    void StopPumpTimer();

    // The main frame's test for WM_LOGNOTAVAILABLE: the view runs no pass and its list has no rows, so
    // closing it loses nothing.
    BOOL CanCloseForMissingLog() const;
    // TRUE while a pass of the engine runs in this view (its handler has not returned, or its workers run).
    BOOL IsRunningPass() const;

    // ---- IAnalysisHost ----
    gxListModel& GetList() override { return m_List; }
    std::unique_ptr<IAnalysisWait> OpenWaitDialog(BOOL* continueFlag, int32_t total) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void RestoreWaitCursor() override;
    void SetRecordsPane(LPCTSTR text) override;
    void SetStatusPane(LPCTSTR text) override;
    void SetLogNamePane(LPCTSTR text) override;
    void SetPadPageText(LPCTSTR text) override;
    void ClearPadPage() override;
    void ActivatePadPage() override;
    void ShowOutputBar() override;
    int MessageBox(LPCTSTR text, UINT type) override;
    int GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) override;
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) override;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) override;
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override;
    BOOL PostToView(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Trace(LPCTSTR text) override;
    DWORD GetTickCount() override;
    void Pause(DWORD milliseconds) override;
    BOOL ChooseCsvFile(LPCTSTR initialFolder, CString& path) override;
    BOOL OpenWithAssociatedApp(LPCTSTR path, BOOL wait) override;
    void HideOutputBar() override;
    void SelectTreeItem(LPCTSTR logName) override;
    std::unique_ptr<IAnalysisWorker> StartWorker(std::function<void()> body) override;
    void WaitForWorkers(IAnalysisWorker* const* workers, int count) override;
    BOOL SendToView(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PumpWaitingMessages() override;
    void SetViewTimer(UINT id, UINT milliseconds) override;
    void KillViewTimer(UINT id) override;
    void SetListRedraw(BOOL redraw) override;
    int QueryTruncateHistogram(LPCTSTR recordNumber, CString& countText) override;

    // ---- State (the engine keeps the request copies, the data sets and the worker slots) ----
    gxListCtrl m_List;
    CString& m_csName = m_csCurListKey;  // list key of the current request
    CString& m_csExe = m_csCurAction;    // EXE= of the current request
    CString& m_csType = m_csCurItemKind; // TYPE= of the current request
    CString& m_csLayout = m_csReportType;  // the column-layout name
    CString m_csLastNav;
    CString m_csLastLine;
    int m_nPadPage = -1;
    int m_nHighlightRow = -1;
    BOOL m_bInitialized = FALSE;
    UINT m_nTimerId = 0;
    BYTE m_bTimerRunning = 0;
    int m_nWorkersInBatch = 0;
    CMyDataArray m_aData;
    CPrinterDef m_PrinterDef;

    // ---- Printing ----
    // Print Preview: the printer definition's dialog, then the list's report in the preview.
    LRESULT OnPrintList(WPARAM, LPARAM);
    // Print Setup: the printer definition's dialog; the orientation chosen is the next report's.
    void OnFilePrintSetup();

protected:
    BOOL InitListCtrl();
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnContextMenu(CWnd* wnd, POINT point);
    void OnDestroy();
    LRESULT OnRestoreColumnWidths(WPARAM, LPARAM);
    LRESULT OnHighlightRow(WPARAM, LPARAM);
    LRESULT OnClearHighlight(WPARAM, LPARAM);
    LRESULT OnSetItemCount(WPARAM, LPARAM);
    LRESULT OnSearch(WPARAM, LPARAM);
    LRESULT OnSearchNext(WPARAM, LPARAM);
    LRESULT OnGotoLine(WPARAM, LPARAM);
    LRESULT OnSaveColumnLayout(WPARAM, LPARAM);
    LRESULT OnGotoLogMessage(WPARAM, LPARAM);
    LRESULT OnOpenInEditorMessage(WPARAM, LPARAM);
    LRESULT OnShowListItemMessage(WPARAM, LPARAM);
    void OnCmdOpenLog();
    void OnCmdOpenQBrokerLog();
    void OnCmdOpenServerLog();
    void OnCmdRunSubitemT20();
    void OnCmdRunSubitemSQLSum();
    void OnCmdRunSubitemItemize();
    void OnUpdateAlwaysEnabled(CCmdUI* cmdUI);
    // Print and Print Direct: the list's report to the printer, through the print dialog or straight.
    BOOL OnPrintReport(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void HighlightRow();
    // Writes the list's report into a script; FALSE when the script file could not be made.
    BOOL MakeReportScript(class PrintEngine& engine);
    // Where a row leads (Open Log's table); see VeltrinView_OpenLogs.cpp.
    struct RowTarget;
    RowTarget ResolveRow(int row);
    // The server log and keys of a QBroker itemize row; FALSE when the row names none.
    BOOL BrokerLineTarget(int row, CString& serverLog, CString& clientType, CString& clientMachine,
                          CString& time);
    // Statistics rows: the server log at the transaction's line, searched and written back when the row
    // has none. FALSE when the row is not of a statistics list.
    BOOL OpenStatsServerLine(int row);
    // The server log line where a statistics row's transaction starts (0 when not found), with the pad
    // showing what was found. A client id counted "(n)" names the n-th such transaction in that second.
    int32_t FindStatsTransactionLine(int row);
    void ShowNotAvailable(LPCTSTR text);

    int m_nPassDepth = 0;
    std::shared_ptr<std::atomic<bool>> m_alive;
};
