// The report views' row commands and the tree's report runs through a real main frame, on a copy of the
// sample logs: each command opens the log it names or a view of its own with rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/ChildFrame.h"
#include "app/EditorLaunch.h"
#include "app/MainFrm.h"
#include "app/MyTreeView.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/docview/DocTemplate.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace report_row_commands {

const char kBroker[] = "20230502QBroker.log";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Line n (from 1) of a file, without its terminator; empty when the file is shorter.
std::string LineOf(const std::string& path, int n) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (int i = 1; i <= n && std::getline(in, line); ++i)
        if (i == n)
            return line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1);
    return "";
}

std::string Trimmed(CString text) {
    text.Trim();
    return text.GetString();
}

class ReportRowCommandsTest : public ::testing::Test {
protected:
    static std::vector<const ResourceModule*> Modules() {
        return {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(),
                &VeltrinPadResources()};
    }
    void SetUp() override {
        MSG stale;  // messages an earlier test left for windows now gone
        while (PeekMessage(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
        for (const ResourceModule* module : Modules())
            AddResourceModule(module);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        m_previousEnd = g_endVeltrinProcess;
        g_endVeltrinProcess = [](int) {};
        g_launchEditor = [this](LPCTSTR line) {
            launched.push_back(line);
            return 1;
        };
        g_mapLoadedLogs.RemoveAll();
        for (const char* log : {kBroker, "20230502QServer7001.log", "20230502QServer7002.log",
                                "20230502QServer7003.log", "20230502QServer7004.log"})
            dir.Write(log, ReadAll(std::string(VELTRIN_SAMPLES) + "/" + log));
        folder = dir.Path();
        app.WriteProfileInt("Settings", "StartSqlSumRptOnT20", 0);
        Start();
    }
    void TearDown() override {
        if (frame && IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        g_endVeltrinProcess = m_previousEnd;
        g_launchEditor = [](LPCTSTR) { return 1; };
        g_mapLoadedLogs.RemoveAll();
        for (const ResourceModule* module : Modules())
            RemoveResourceModule(module);
    }
    // A program start: a new frame with the broker log in its tree, the broker current.
    void Start() {
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        g_mapLoadedLogs.RemoveAll();
        frame->GetTreeView()->PopulateTreeEx((dir / kBroker).c_str());
        Pump();
        Use(kBroker);
    }
    void Close() {
        frame->SendMessage(WM_CLOSE, 0, 0);
        Pump();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
    }
    CMyTreeCtrl& Tree() { return frame->GetTreeView()->GetTreeCtrl(); }
    void Use(const char* item) {
        HTREEITEM found = Tree().FindItemByText(item);
        ASSERT_TRUE(found) << item;
        Tree().SetCurrentItem(found);
    }
    CVeltrinView* View(const CString& key) {
        return frame->IsPadPage(key) ? dynamic_cast<CVeltrinView*>(frame->FindDocumentView(key)) : nullptr;
    }
    // The row's command as the context menu gives it: the row focused and selected.
    void Command(CVeltrinView* view, int row, UINT id) {
        view->m_List.DeselectAll();
        view->m_List.SetItemState(row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        view->SendMessage(WM_COMMAND, id, 0);
        Pump();
    }
    int LastRow(CVeltrinView* view) { return view->m_List.GetItemCount() - 1; }

    TempRegistry registry;
    TempFolder dir;
    std::string folder;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    CMainFrame* frame = nullptr;
    std::vector<std::string> launched;
    std::function<void(int)> m_previousEnd;
};

TEST_F(ReportRowCommandsTest, OpenLogOnTopTwentyRowsOpensTheReportLogOrTheTransactionsLine) {
    Tree().OnRunT20Broker();
    Pump();
    struct Case {
        const char* key;
        const char* reportLog;
        int lineColumn;  // the row's start row (transactions) or start bind row (SQL statements)
    } cases[] = {
        {"20230502QBroker.log_T20Xact", "20230502QBroker_T20Xact.log", 2},
        {"20230502QBroker.log_T20Sql", "20230502QBroker_T20Sql.log", 4},
    };
    for (const Case& c : cases) {
        CVeltrinView* view = View(c.key);
        ASSERT_NE(view, nullptr) << c.key;
        ASSERT_GT(view->m_List.GetItemCount(), 1) << c.key;
        const int marker = LastRow(view);
        ASSERT_EQ(view->m_List.GetItemText(marker, 0), CString("TOP20LOG"));

        launched.clear();
        Command(view, marker, 4009);
        EXPECT_EQ(launched, std::vector<std::string>{"Scrivel \"" + folder + "/" + c.reportLog + "\""})
            << c.key;

        for (int row : {0, marker - 1}) {
            launched.clear();
            Command(view, row, 4009);
            const std::string file = Trimmed(view->m_List.GetItemText(row, 1));
            const std::string line = Trimmed(view->m_List.GetItemText(row, c.lineColumn));
            EXPECT_EQ(launched,
                      std::vector<std::string>{"Scrivel \"" + folder + "/" + file + "\" GOTOLINE=" + line})
                << c.key << " row " << row;
            // The line is the row's own: the transaction's start, or the statement's bind line.
            const std::string text = LineOf(folder + "/" + file, std::atoi(line.c_str()));
            if (c.lineColumn == 2) {
                const std::string transaction = Trimmed(view->m_List.GetItemText(row, 8));
                EXPECT_NE(text.find("Start " + transaction), std::string::npos) << text;
            } else {
                EXPECT_EQ(text.rfind("-- Bind ", 0), 0u) << text;
            }
        }
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ReportRowCommandsTest, RowsOfTopTwentyAndTimeAnalysisReportsRunTheirTransactionReports) {
    Tree().OnRunT20Broker();
    Pump();
    Use(kBroker);
    Tree().OnRunTABroker();
    Pump();
    struct Case {
        const char* source;
        int fileColumn;
        UINT command;  // Run Transaction Top20 SQL, SQL Sums
        const char* prefix;
        const char* marker;  // column 0 of the report's last row: prefix and record, then this
    } cases[] = {
        {"20230502QBroker.log_T20Xact", 1, 32793, "XACT_T20SQL", "_LOG"},
        {"20230502QBroker.log_T20Xact", 1, 32795, "XACT_SUM", ""},
        {"20230502QBroker.log_TA", 2, 32793, "XACT_TA_T20SQL", "_LOG"},
        {"20230502QBroker.log_TA", 2, 32795, "XACT_TA_SUM", ""},
    };
    for (const Case& c : cases) {
        CVeltrinView* source = View(c.source);
        ASSERT_NE(source, nullptr) << c.source;
        // A transaction of a log that times its statements in milliseconds, the form the compilers read.
        int row = 0;
        while (row < source->m_List.GetItemCount() &&
               source->m_List.GetItemText(row, c.fileColumn).Find("QServer7001.log") < 0)
            ++row;
        ASSERT_LT(row, source->m_List.GetItemCount()) << c.source;
        const CString record = source->m_List.GetItemText(row, 0);
        Command(source, row, c.command);
        const CString key = CString(c.prefix) + record;
        CVeltrinView* report = View(key);
        ASSERT_NE(report, nullptr) << key.GetString();
        EXPECT_EQ(frame->GetActiveLogView(), report);
        ASSERT_GT(report->m_List.GetItemCount(), 1) << key.GetString() << report->m_csPadText.GetString();
        if (*c.marker) {
            EXPECT_EQ(report->m_List.GetItemText(LastRow(report), 0), key + c.marker);
        }
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ReportRowCommandsTest, SqlSummaryThenHistogramOnTheSameReport) {
    Tree().OnRunT20Broker();
    Pump();
    CVeltrinView* sql = View("20230502QBroker.log_T20Sql");
    ASSERT_NE(sql, nullptr);
    ASSERT_GT(sql->m_List.GetItemCount(), 1);
    const int marker = LastRow(sql);
    Command(sql, marker, 32796);
    const CString summaryKey = sql->m_List.GetItemText(marker, 1) + "_SQLSUMMARY";
    CVeltrinView* summary = View(summaryKey);
    ASSERT_NE(summary, nullptr) << summaryKey.GetString();
    ASSERT_GT(summary->m_List.GetItemCount(), 0);

    Command(summary, 0, 1101);
    const CString histogramKey =
        "SQLHISTOGRAM_" + summary->m_List.GetItemText(0, 0) + ":" + summary->m_List.GetItemText(0, 1);
    CVeltrinView* histogram = View(histogramKey);
    ASSERT_NE(histogram, nullptr) << histogramKey.GetString();
    EXPECT_GT(histogram->m_List.GetItemCount(), 0);
    // The summary stays open beside it.
    EXPECT_EQ(View(summaryKey), summary);
    EXPECT_TRUE(boxes.Calls().empty());
}
}  // namespace report_row_commands

namespace report_row_commands {
TEST_F(ReportRowCommandsTest, SavedColumnWidthsComeBackAfterARestart) {
    Tree().OnItemize();
    Pump();
    CVeltrinView* view = View(kBroker);
    ASSERT_NE(view, nullptr);
    const int columns = view->m_List.GetColumnCount();
    ASSERT_GE(columns, 3);
    std::vector<int> widths;
    for (int c = 0; c < columns; ++c) {
        widths.push_back(40 + 7 * c);
        view->m_List.SetColumnWidth(c, widths.back());
    }
    // The frame's save-layout command, for the active view.
    frame->SendMessage(WM_COMMAND, ID_SAVE_COLUMN_LAYOUT, 0);
    Close();

    Start();
    Tree().OnItemize();
    Pump();
    view = View(kBroker);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->m_List.GetColumnCount(), columns);
    for (int c = 0; c < columns; ++c)
        EXPECT_EQ(view->m_List.GetColumnWidth(c), widths[c]) << "column " << c;
}

TEST_F(ReportRowCommandsTest, GenerateNewReplacesTheReportLogsAndLosesNothingElse) {
    // Report logs of an earlier run, and one of another report.
    const std::string xactLog = dir.Write("20230502QBroker_T20Xact.log", "old transactions\n");
    const std::string sqlLog = dir.Write("20230502QBroker_T20Sql.log", "old statements\n");
    const std::string taLog = dir.Write("20230502QBroker_TA.log", "old time analysis\n");
    const std::string ticLog = dir.Write("20230502QBroker_TIC.log", "another report\n");
    // The first server log the broker names is gone: the batch's first request, the one that starts a new
    // report log, finds no log.
    HTREEITEM root = Tree().FindItemByText(kBroker);
    ASSERT_TRUE(root);
    const std::string firstServer =
        folder + "/" + Tree().GetItemText(Tree().GetChildItem(root)).GetString() + ".log";
    ASSERT_EQ(std::remove(firstServer.c_str()), 0) << firstServer;
    Tree().OnRemove();
    frame->GetTreeView()->PopulateTreeEx((dir / kBroker).c_str());
    Pump();
    Use(kBroker);
    // A report open before.
    Tree().OnItemize();
    Pump();
    CVeltrinView* itemize = View(kBroker);
    ASSERT_NE(itemize, nullptr);
    const int itemizeRows = itemize->m_List.GetItemCount();
    ASSERT_GT(itemizeRows, 0);

    struct Case {
        void (CMyTreeCtrl::*run)();
        std::vector<std::string> replaced;
        std::vector<const char*> views;
    } cases[] = {
        {&CMyTreeCtrl::OnRunT20Broker,
         {xactLog, sqlLog},
         {"20230502QBroker.log_T20Xact", "20230502QBroker.log_T20Sql"}},
        {&CMyTreeCtrl::OnRunTABroker, {taLog}, {"20230502QBroker.log_TA"}},
    };
    for (const Case& c : cases) {
        Use(kBroker);
        {
            ModalSteps modal;
            modal.Start({ModalSteps::ClickItem(IDC_GENERATE_NEW)});
            (Tree().*c.run)();
        }
        Pump();
        for (const std::string& log : c.replaced) {
            const std::string text = ReadAll(log);
            EXPECT_EQ(text.find("old "), std::string::npos) << log;
            EXPECT_GT(text.size(), 100u) << log;
        }
        for (const char* key : c.views) {
            CVeltrinView* view = View(key);
            ASSERT_NE(view, nullptr) << key;
            EXPECT_GT(view->m_List.GetItemCount(), 0) << key;
        }
    }
    // Nothing else lost: the other report's log, the open report, the tree and its map.
    EXPECT_EQ(ReadAll(ticLog), "another report\n");
    EXPECT_EQ(View(kBroker), itemize);
    EXPECT_EQ(itemize->m_List.GetItemCount(), itemizeRows);
    EXPECT_TRUE(Tree().FindItemByText(kBroker));
    EXPECT_TRUE(g_mapLoadedLogs.Contains(kBroker));
    for (const char* log : {kBroker, "20230502QServer7001.log"})
        EXPECT_EQ(ReadAll(folder + "/" + log), ReadAll(std::string(VELTRIN_SAMPLES) + "/" + log)) << log;
}
}  // namespace report_row_commands
