// The statistics dialog: the user picks the QBroker logs, the client machines or QServer ids, and the
// transactions over which the statistics report runs; OK opens the report's view and asks it to run.
#pragma once

#include "controls/MySuperGrid.h"
#include "controls/ReportCtrl.h"
#include "platform/framework/window/Dialog.h"

class CStatsDlg : public CDialog {
public:
    explicit CStatsDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    CMySuperGrid& GetLogGrid() { return m_grid; }
    CReportCtrl& GetIdList() { return m_listIds; }
    CReportCtrl& GetTransactionList() { return m_listTransactions; }
    // The name of the report OK opened ("STATS_CM%d" or "STATS_HS%d").
    const CString& GetReportName() const { return m_csReportName; }

    BOOL m_bSelectClientMachines = TRUE;
    BOOL m_bSelectQServers = FALSE;
    BOOL m_bSelectAll = TRUE;
    BOOL m_bSelectAllCM = TRUE;
    BOOL m_bSelectAllT = TRUE;
    BOOL m_bEnableET = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitButtons(WPARAM wParam, LPARAM lParam);
    LRESULT OnClearLists(WPARAM wParam, LPARAM lParam);
    LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);

private:
    void CreateLogGrid();
    void SetColumns();
    void FillLists();
    void SetToggle(int selectId, int deselectId, BOOL selectAll);
    void TickAll(CReportCtrl& list, BOOL tick);
    int Ticked(CReportCtrl& list, std::vector<CString>& keys);

    CMySuperGrid m_grid;
    CReportCtrl m_listIds;
    CReportCtrl m_listTransactions;
    int m_nLogRows = 0;
    bool m_bInitDone = false;
    CString m_csReportName;
};
