#include <gtest/gtest.h>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"

namespace {
// Fills the host's list with one row per given set of cells, 12 columns wide.
void FillRows(CRecordingHost& host, const std::vector<std::vector<const char*>>& rows) {
    gxListModel& list = host.GetList();
    list.ResetList();
    for (int c = 0; c < 12; ++c)
        list.m_csNames += "Col|", list.m_csTypes += "MCL_ALPHA|";
    list.SetColumns(12);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            list.AddItem((int)r, (int)c, rows[r][c]);
}

class LineLookupView : public CVeltrinAnalysis {
public:
    using CVeltrinAnalysis::CVeltrinAnalysis;
    int32_t GetLineNumber(LPCTSTR logName, LPCTSTR key1, LPCTSTR key2, LPCTSTR key3) override {
        asked = CString(logName) + "," + key1 + "," + key2 + "," + key3;
        return 4711;
    }
    CString asked;
};
}  // namespace

TEST(Dispatch, WaitForUpdateAndUnknownRequestsRunNothing) {
    CRecordingHost host;
    CVeltrinAnalysis view(&host);
    view.m_csLogType = "QSERVER";
    _csCommand = WAIT_FOR_UPDATE;
    EXPECT_EQ(view.OnViewData(0, 0), 0);
    EXPECT_EQ(host.Traces(), (std::vector<CString>{"CVeltrinView::OnViewData: _csCommand=WAIT_FOR_UPDATE"}));
    EXPECT_EQ(view.m_csCurAction, "");
    _csCommand = "NAME=x.log|TYPE=SUBITEM|EXE=ITEMIZE";
    EXPECT_EQ(view.OnViewData(0, 0), 0);
    EXPECT_EQ(view.m_csCurItemKind, "SUBITEM");
    EXPECT_EQ(view.m_csCurAction, "ITEMIZE");
    EXPECT_EQ(host.WaitDialogsOpened(), 0);
}

TEST(Dispatch, FollowUpReportsFromListRows) {
    struct Case {
        const char* listKey;
        std::vector<const char*> row;
        const char* command;
        const char* reportName;
        const char* reportType;
        const char* action;
        UINT message;  // 0: only the two trace lines
    } cases[] = {
        {"20230501QServer1_SQLSUMMARY",
         {"0001", "17", "", "", "", "", "12"},
         "NAME=summary.log|TYPE=0001:17|EXE=12",
         "SQLHISTOGRAM_0001:17",
         "SQLHISTOGRAM",
         "RUNSQLHISTOGRAMREPORT",
         WM_RUNSQLHISTOGRAMREPORT},
        {"TOP20_SQL_ALL",
         {"TOP20LOG", "Top20SqlStatements.log"},
         "NAME=Top20SqlStatements.log|TYPE=SUBITEM|EXE=TOP20_SQL_ALL",
         "SQLSUMMARY_ALL",
         "SQLSUMMARY",
         "RUNT20SQLSUMREPORT",
         WM_RUNT20SQLSUMREPORT},
        {"x_T20Sql", {"1", "a.log"}, "", "", "", "", 0},  // only the marker row starts the summary
        {"x_T20Xact",
         {"3", "q1.log", "120"},
         "NAME=q1.log|TYPE=SUBITEM|EXE=120",
         "XACT_IMZ_TR3",
         "XACT_IMZ_TR",
         "RUNXACTIMZREPORT",
         WM_RUNXACTIMZREPORT},
        {"x_T20Xact", {"TOP20LOG", "x_T20Xact.log"}, "", "", "", "", 0},  // the marker row does nothing
        {"20230501QBroker_TA",
         {"7", "88", "q2.log"},
         "NAME=q2.log|TYPE=SUBITEM|EXE=88",
         "XACT_IMZ_TA_7",
         "XACT_IMZ",
         "RUNXACTIMZREPORT",
         WM_RUNXACTIMZREPORT},
        {"NOTHING_HERE", {"1"}, "", "", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listKey);
        CRecordingHost host;
        CVeltrinAnalysis view(&host);
        view.m_csListKey = c.listKey;
        view.m_csSqlSummaryLogName = "summary.log";
        _csItemKind = "SUBITEM";
        _csCommand = "unchanged";
        FillRows(host, {c.row});
        view.OnRunSubitemItemize(0);
        EXPECT_EQ(host.Traces().front(), "Start CVeltrinView::OnRunSubitemItemize");
        EXPECT_EQ(host.Traces().back(), "End CVeltrinView::OnRunSubitemItemize");
        if (!c.message) {
            EXPECT_TRUE(host.PostedLog().empty());
            EXPECT_EQ(_csCommand, "unchanged");
            continue;
        }
        EXPECT_EQ(_csCommand, c.command);
        EXPECT_EQ(_csReportName, c.reportName);
        EXPECT_EQ(_csDocToOpen, c.reportName);
        EXPECT_EQ(_csListKey, c.reportName);
        EXPECT_EQ(_csReportType, c.reportType);
        EXPECT_EQ(_csAction, c.action);
        ASSERT_EQ(host.PostedLog().size(), 1u);
        EXPECT_TRUE(host.PostedLog()[0].toMainWindow);
        EXPECT_EQ(host.PostedLog()[0].message, c.message);
    }
}

TEST(Dispatch, StatisticsRowAsksForTheLineNumberWhenItsCellIsEmpty) {
    CRecordingHost host;
    LineLookupView view(&host);
    view.m_csListKey = "STATS_CM2";
    _csItemKind = "SUBITEM";
    FillRows(host, {{"MACH01", "c1", "Payment", "c3", "10:00:01", "c5", "c6", "q7.log", "", "2023/05/01"}});
    view.OnRunSubitemItemize(0);
    EXPECT_EQ(view.asked, "q7.log,Payment,2023/05/01,10:00:01");
    EXPECT_EQ(host.GetList().GetItemText(0, 8), "4711");
    EXPECT_EQ(_csCommand, "NAME=q7.log|TYPE=SUBITEM|EXE=4711");
    EXPECT_EQ(_csReportName, "XACT_IMZ_CM2_MACH01");
}
