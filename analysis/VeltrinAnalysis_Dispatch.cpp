#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "controls/model/gxListModel.h"

LRESULT CVeltrinAnalysis::OnViewData(WPARAM, LPARAM) {
    TraceF("CVeltrinView::OnViewData: _csCommand=%s", (LPCTSTR)_csCommand);
    if (_csCommand == WAIT_FOR_UPDATE)
        return 0;

    CString name = RequestField(REQ_NAME);
    CString type = RequestField(REQ_TYPE);
    CString exe = RequestField(REQ_EXE);
    CString search = RequestField(REQ_SEARCH);
    m_csCurListKey = m_csListKey;
    m_csCurItemKind = type;
    m_csCurAction = exe;

    const bool root = type == "ROOTITEM";
    const bool sub = type == "SUBITEM";
    const bool broker = m_csLogType == "QBROKER";
    const bool server = m_csLogType == "QSERVER";
    if (root && exe == "ITEMIZE") {
        if (broker)
            return PopulateGridQBrokerItemizeEx(name, type, exe, search);
        if (server)
            return PopulateGridQServerItemizeEx(name, type, "QSVRITEMIZE", search);
        return 0;
    }
    if (root && exe == "ANALYZETA") {
        if (broker)
            return PerformTimeAnalysisAll(name, type, "ANALYZETAALL");
        if (server)
            return PerformTimeAnalysis(name, type, exe);
        return 0;
    }
    if (root && exe == "ANALYZETIC") {
        if (broker)
            return PerformTICAnalysisAll(name, type, "ANALYZETICALL");
        if (server)
            return PerformTICAnalysis(name, type, exe);
        return 0;
    }
    if (root || sub) {
        if (exe == "QSVRITEMIZE")
            return PopulateGridQServerItemizeEx(name, type, exe, search);
        if (exe == "ANALYZETAALL")
            return PerformTimeAnalysisAll(name, type, exe);
        if (exe == "ANALYZETICALL")
            return PerformTICAnalysisAll(name, type, exe);
    }
    if (sub) {
        if (exe == "ANALYZETA")
            return PerformTimeAnalysis(name, type, exe);
        if (exe == "ANALYZETIC")
            return PerformTICAnalysis(name, type, exe);
    }
    return 0;
}

int32_t CVeltrinAnalysis::OnRunSubitemItemize(int row) {
    Trace("Start CVeltrinView::OnRunSubitemItemize");
    gxListModel& list = List();
    auto cell = [&](int column) { return list.GetItemText(row, column); };
    const CString& key = m_csListKey;

    CString name, type, exe, reportName, reportType, action;
    UINT message = 0;
    if (key.Find("_SQLSUMMARY") >= 0 || key.Find("SQLSUMMARY_ALL") >= 0) {
        name = m_csSqlSummaryLogName;
        type.Format("%s:%s", (LPCTSTR)cell(0), (LPCTSTR)cell(1));
        exe = cell(6);
        reportName.Format("SQLHISTOGRAM_%s", (LPCTSTR)type);
        reportType = "SQLHISTOGRAM";
        action = "RUNSQLHISTOGRAMREPORT";
        message = WM_RUNSQLHISTOGRAMREPORT;
    } else if (key.Find("TOP20_SQL_ALL") >= 0 || key.Find("_T20Sql") >= 0) {
        if (cell(0) == "TOP20LOG") {
            name = cell(1);
            type = _csItemKind;
            exe = m_csListKey;
            if (key.Find("_ALL") >= 0)
                reportName = "SQLSUMMARY_ALL";
            else
                reportName.Format("%s_SQLSUMMARY", (LPCTSTR)cell(1));
            reportType = "SQLSUMMARY";
            action = "RUNT20SQLSUMREPORT";
            message = WM_RUNT20SQLSUMREPORT;
        }
    } else if (key.Find("TOP20_XACT_ALL") >= 0 || key.Find("_T20Xact") >= 0) {
        if (cell(0) != "TOP20LOG") {
            name = cell(1);
            type = _csItemKind;
            exe = cell(2);
            reportName.Format("XACT_IMZ_TR%s", (LPCTSTR)cell(0));
            reportType = "XACT_IMZ_TR";
            action = "RUNXACTIMZREPORT";
            message = WM_RUNXACTIMZREPORT;
        }
    } else {
        bool statsCM = key.Find("STATS_CM") >= 0;
        bool statsHS = !statsCM && key.Find("STATS_HS") >= 0;
        bool ta =
            !statsCM && !statsHS &&
            ((key.Find("_TA") >= 0 && key.Find("QBroker") >= 0) || key.Find("SQL_ANALYSIS_ALL_TA") >= 0);
        if (statsCM || statsHS || ta) {
            if (statsCM || statsHS) {
                int nameCol = statsCM ? 7 : 8;
                int lineCol = statsCM ? 8 : 9;
                name = cell(nameCol);
                exe = cell(lineCol);
                if (exe.IsEmpty()) {
                    int32_t line = statsCM ? GetLineNumber(name, cell(2), cell(9), cell(4))
                                           : GetLineNumber(name, cell(2), cell(10), cell(5));
                    if (line != 0) {
                        exe.Format("%ld", (long)line);
                        list.AddItem(row, lineCol, exe);
                    }
                }
            } else {
                name = cell(2);
                exe = cell(1);
            }
            type = _csItemKind;
            int underscore = key.Find('_');
            CString afterKey = underscore >= 0 ? key.Mid(underscore + 1) : CString();
            reportName.Format("XACT_IMZ_%s_%s", (LPCTSTR)afterKey, (LPCTSTR)cell(0));
            reportType = "XACT_IMZ";
            action = "RUNXACTIMZREPORT";
            message = WM_RUNXACTIMZREPORT;
        }
    }

    if (message) {
        _csCommand = MakeRequestLine(name, type, exe);
        _csReportName = reportName;
        _csReportType = reportType;
        if (message != WM_RUNT20SQLSUMREPORT)
            m_csReportType = reportType;
        _csAction = action;
        _csDocToOpen = reportName;
        _csListKey = reportName;
        m_pHost->PostToMainWindow(message, 0, 0);
    }
    Trace("End CVeltrinView::OnRunSubitemItemize");
    return 0;
}
