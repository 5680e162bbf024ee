#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/EditorLaunch.h"
#include "app/MyTreeView.h"
#include "app/QueryExistingReportDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
std::string SentTo(const std::string& port) {
    return "Action : sent to /pt_QServer://APPSRV1/" + port + "\n";
}

class MyTreeCtrlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        AddResourceModule(&VeltrinTreeResources());
        AddResourceModule(&VeltrinFrameResources());  // the find and goto-line dialogs
        app.SetRegistryKey("VeltrinEx");
        g_launchEditor = [this](LPCTSTR line) {
            launched.push_back(line);
            return 1;
        };
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr);
        app.m_pMainWnd = &main;
        g_mapLoadedLogs.RemoveAll();
        ASSERT_TRUE(bar.Create(&main, "MyTreeView", 0xE900));
        dir.Write("20230502QServer1.log", "2023/05/02 08:00:05.000 QServer | start\n");
        dir.Write("20230502QServer2.log", "2023/05/02 08:00:06.000 QServer | start\n");
        broker = dir.Write("20230502QBroker.log", "HandleServerRequest(): On Request - 07:59:57\n" + SentTo("1") +
                                                      SentTo("2") + SentTo("3"));
        bar.PopulateTreeEx(broker.c_str());
        lone = dir.Write("20230502QServer9.log", "2023/05/02 09:00:00.000 QServer | start\n");
        bar.PopulateTreeEx(lone.c_str());
        main.TakePosted();
        main.messages.clear();
        link.calls.clear();
    }
    void TearDown() override {
        bar.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        g_mapLoadedLogs.RemoveAll();
        g_launchEditor = [](LPCTSTR) { return 1; };
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    CMyTreeCtrl& Tree() { return bar.GetTreeCtrl(); }
    void Use(const char* text) {
        HTREEITEM item = Tree().FindItemByText(text);
        ASSERT_TRUE(item) << text;
        Tree().SetCurrentItem(item);
    }
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const auto& m : main.messages)
            out.push_back(m.command);
        return out;
    }
    // Answers the next question dialog with the button of this id.
    void Answer(int id) { modal.Start({ModalSteps::ClickItem(id)}); }

    TempRegistry registry;
    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    ModalSteps modal;
    TempFolder dir;
    CMyTreeView bar;
    std::string broker, lone;
    std::vector<std::string> launched;
};

TEST_F(MyTreeCtrlCommandsTest, ItemizeOpensTheLogsReportOnce) {
    struct Case {
        const char* item;
        const char* command;
        const char* reportType;
    } cases[] = {
        {"20230502QBroker.log", "NAME=20230502QBroker.log|TYPE=ROOTITEM|EXE=ITEMIZE", "QBROKERITEMIZE"},
        {"20230502QServer1", "NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=QSVRITEMIZE", "QSVRITEMIZE"},
    };
    for (const Case& c : cases) {
        main.messages.clear();
        link.calls.clear();
        Use(c.item);
        Tree().OnItemize();
        EXPECT_EQ(main.Sent(), std::vector<UINT>{WM_VIEWDATA}) << c.item;
        EXPECT_EQ(Commands(), std::vector<std::string>{c.command});
        EXPECT_EQ(_csReportType, CString(c.reportType));
        EXPECT_EQ(_csBaseFolder, CString(dir.Path().c_str()));
        EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
        std::string name = std::string(c.command).substr(5, std::string(c.command).find('|') - 5);
        EXPECT_EQ(link.calls, (std::vector<std::string>{"OpenReportDocument:" + name, "PruneRecentFileList:"}));
        // Its pad page open: nothing more.
        link.pages.push_back(name);
        main.messages.clear();
        link.calls.clear();
        Tree().OnItemize();
        EXPECT_TRUE(main.messages.empty());
        EXPECT_TRUE(link.calls.empty());
        EXPECT_TRUE(main.TakePosted().empty());
    }
}

TEST_F(MyTreeCtrlCommandsTest, ServerTimeAnalysisAsksOnlyWhenItsReportLogHoldsData) {
    Use("20230502QServer9.log");
    dir.Write("20230502QServer9_TA.log", "");  // empty: counts as missing
    Tree().OnRunTAServer();
    EXPECT_EQ(link.calls, std::vector<std::string>{"OpenReportDocument:20230502QServer9.log_TA"});
    EXPECT_EQ(Commands(), std::vector<std::string>{"NAME=20230502QServer9.log|TYPE=ROOTITEM|EXE=ANALYZETA"});
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});

    // "Use Existing" loads the report log into a view named after the title.
    std::string reportLog = dir.Write("20230502QServer9_TA.log", "rows\n");
    main.messages.clear();
    link.calls.clear();
    link.pages.push_back("20230502QServer9_TA");  // the frame's relay made the view
    Answer(IDC_USE_EXISTING);
    Tree().OnRunTAServer();
    ASSERT_EQ(main.messages.size(), 1u);
    EXPECT_EQ(main.messages[0].message, (UINT)WM_IMPORTANALYZEDLOG);
    EXPECT_EQ(main.messages[0].reportName, reportLog);
    EXPECT_EQ(main.messages[0].listKey, "20230502QServer9_TA");
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
    EXPECT_TRUE(link.calls.empty());

    // Cancel changes nothing.
    main.messages.clear();
    Answer(IDCANCEL);
    Tree().OnRunTAServer();
    EXPECT_TRUE(main.messages.empty());
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(MyTreeCtrlCommandsTest, BrokerTimeAnalysisSendsEveryServer) {
    _csDocToOpen = "stale_report";
    Use("20230502QBroker.log");
    Tree().OnRunTABroker();
    EXPECT_EQ(link.calls[0], "OpenReportDocument:20230502QBroker.log_TA");
    EXPECT_EQ(_csDocToOpen, CString(""));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=ANALYZETAALL",
                                                    "NAME=20230502QServer2.log|TYPE=SUBITEM|EXE=ANALYZETAALL",
                                                    "NAME=20230502QServer3 - N/A.log|TYPE=SUBITEM|EXE=ANALYZETAALL"}));
    EXPECT_EQ(g_bWaitForUpdate, 0);
    EXPECT_EQ(Tree().GetSelectedItem(), Tree().FindItemByText("20230502QBroker.log"));
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
    EXPECT_EQ(link.calls.back(), "PruneRecentFileList:");

    // A server log loaded alone has no children: nothing runs.
    main.messages.clear();
    link.calls.clear();
    Use("20230502QServer9.log");
    Tree().OnRunTABroker();
    EXPECT_TRUE(main.messages.empty());
    EXPECT_TRUE(link.calls.empty());
}

TEST_F(MyTreeCtrlCommandsTest, WholeTreeTimeAnalysisAsksBeforeItOpensTheView) {
    std::string reportLog = dir.Write("SQLTimeAnalysisAllTreeview_TA.log", "rows\n");
    Answer(IDCANCEL);
    Tree().RunTimeAnalysisOnEntireTree();
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(main.messages.empty());

    Answer(IDC_GENERATE_NEW);
    Tree().RunTimeAnalysisOnEntireTree();
    ASSERT_FALSE(link.calls.empty());
    EXPECT_EQ(link.calls[0], "OpenReportDocument:SQL_ANALYSIS_ALL_TA");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=ANALYZETAALL",
                                                    "NAME=20230502QServer2.log|TYPE=SUBITEM|EXE=ANALYZETAALL",
                                                    "NAME=20230502QServer3 - N/A.log|TYPE=SUBITEM|EXE=ANALYZETAALL",
                                                    "NAME=20230502QServer9.log|TYPE=ROOTITEM|EXE=ANALYZETAALL"}));
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
    // The new run starts its report log afresh; here no engine writes it again.
    EXPECT_FALSE(std::ifstream(reportLog).good());
    dir.Write("SQLTimeAnalysisAllTreeview_TA.log", "rows\n");

    main.messages.clear();
    link.calls.clear();
    link.pages.push_back("SQL_ANALYSIS_ALL_TA");
    Tree().RunTimeAnalysisOnEntireTree();  // the report is open: nothing
    EXPECT_TRUE(main.messages.empty());
    link.pages.clear();
    link.pages.push_back("other");
    Answer(IDC_USE_EXISTING);
    Tree().RunTimeAnalysisOnEntireTree();
    ASSERT_EQ(main.messages.size(), 1u);
    EXPECT_EQ(main.messages[0].message, (UINT)WM_IMPORTTAALLLOG);
    EXPECT_EQ(main.messages[0].reportName, reportLog);
    EXPECT_TRUE(main.TakePosted().empty());  // the view did not come: no refresh
}

TEST_F(MyTreeCtrlCommandsTest, OpenAndDoubleClickStartTheEditorOnlyOnAFileThatIsThere) {
    const std::string folder = dir.Path();
    Use("20230502QBroker.log");
    Tree().OnOpenInEditor();
    Use("20230502QServer1");
    Tree().OnOpenInEditor();
    EXPECT_EQ(launched, (std::vector<std::string>{"Scrivel \"" + folder + "/20230502QBroker.log\"",
                                                  "Scrivel \"" + folder + "/20230502QServer1.log\""}));
    EXPECT_TRUE(boxes.Calls().empty());

    // A server log the broker names but the folder lacks: a message, no editor.
    launched.clear();
    Use("20230502QServer3 - N/A");
    Tree().OnOpenInEditor();
    EXPECT_TRUE(launched.empty());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("20230502QServer3 - N/A.log file not available!!!"));
    EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_ICONSTOP | MB_SETFOREGROUND));

    // A double click on an item opens it; beside every item nothing starts.
    launched.clear();
    RECT rc{};
    HTREEITEM lone9 = Tree().FindItemByText("20230502QServer9.log");
    ASSERT_TRUE(Tree().GetItemRect(lone9, &rc, TRUE));
    Tree().SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rc.left + 2, (rc.top + rc.bottom) / 2));
    EXPECT_EQ(launched, std::vector<std::string>{"Scrivel \"" + folder + "/20230502QServer9.log\""});
    EXPECT_EQ(Tree().GetCurrentItem(), lone9);
    launched.clear();
    Tree().SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(rc.left + 2, 390));
    EXPECT_TRUE(launched.empty());
}

TEST_F(MyTreeCtrlCommandsTest, FindInFileOpensTheEditorAtTheText) {
    Use("20230502QBroker.log");
    modal.Start({[](HWND dlg) { ::SetDlgItemText(dlg, IDC_FIND_TEXT, "LOGIN_QUILLAN"); },
                 [](HWND dlg) { ::SendMessage(dlg, WM_COMMAND, IDOK, 0); }});
    Tree().OnFindInFile();
    EXPECT_EQ(launched,
              std::vector<std::string>{"Scrivel \"" + dir.Path() + "/20230502QBroker.log\" SEARCH_ETX=LOGIN_QUILLAN"});
    EXPECT_EQ(_csLastFindText, CString("LOGIN_QUILLAN"));
    EXPECT_EQ(_csListKey, CString("20230502QBroker.log"));

    launched.clear();
    modal.Start({ModalSteps::ClickItem(IDCANCEL)});
    Tree().OnFindInFile();
    EXPECT_TRUE(launched.empty());
}

TEST_F(MyTreeCtrlCommandsTest, GotoLineInListHandsTheRequestTextFromBothMenus) {
    struct Case {
        const char* item;
        const char* request;
    } cases[] = {
        {"20230502QBroker.log", "NAME=20230502QBroker.log|TYPE=ROOTITEM|EXE=GOTOLINE:120"},
        {"20230502QServer2", "NAME=20230502QServer2.log|TYPE=SUBITEM|EXE=GOTOLINE:120"},
    };
    for (const Case& c : cases) {
        main.messages.clear();
        Use(c.item);
        modal.Start({[](HWND dlg) { ::SetDlgItemText(dlg, IDC_GOTO_LINE, "120"); },
                      [](HWND dlg) { ::SendMessage(dlg, WM_COMMAND, IDOK, 0); }});
        Tree().OnGotoLineInList();
        ASSERT_EQ(main.Sent(), std::vector<UINT>{WM_GOTOLINE}) << c.item;
        EXPECT_EQ(main.messages[0].command, c.request);
        EXPECT_EQ(main.messages[0].text, c.request);
        EXPECT_EQ(_csLastGotoLine, CString("120"));
        EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
    }
}

TEST_F(MyTreeCtrlCommandsTest, RemoveTakesTheLogOutOfTreeAndMap) {
    Use("20230502QBroker.log");
    Tree().OnRemove();
    EXPECT_EQ(Tree().FindItemByText("20230502QBroker.log"), nullptr);
    EXPECT_EQ(Tree().FindItemByText("20230502QServer1"), nullptr);
    EXPECT_FALSE(g_mapLoadedLogs.Contains("20230502QBroker.log"));
    EXPECT_TRUE(g_mapLoadedLogs.Contains("20230502QServer9.log"));
}

TEST_F(MyTreeCtrlCommandsTest, IntegrityChecksNameTheirReportsAndReuseTheirLogs) {
    // One server log: a new run is named after the title.
    Use("20230502QServer9.log");
    Tree().OnRunTICServer();
    EXPECT_EQ(link.calls, std::vector<std::string>{"OpenReportDocument:20230502QServer9_TIC"});
    EXPECT_EQ(Commands(), std::vector<std::string>{"NAME=20230502QServer9.log|TYPE=ROOTITEM|EXE=ANALYZETIC"});
    EXPECT_EQ(_csReportType, CString("ANALYZETIC"));

    // Without the question, the key keeps the name.
    main.messages.clear();
    link.calls.clear();
    dir.Write("20230502QServer9_TIC.log", "rows\n");
    Tree().OnRunTICServerNow();
    EXPECT_EQ(link.calls, std::vector<std::string>{"OpenReportDocument:20230502QServer9.log_TIC"});

    // The broker's run empties a stale document name and asks about its report log.
    main.messages.clear();
    link.calls.clear();
    main.TakePosted();
    std::string brokerLog = dir.Write("20230502QBroker_TIC.log", "rows\n");
    _csDocToOpen = "stale_report";
    Use("20230502QBroker.log");
    Answer(IDC_GENERATE_NEW);
    Tree().OnRunTICBroker();
    EXPECT_EQ(_csDocToOpen, CString(""));
    EXPECT_EQ(link.calls[0], "OpenReportDocument:20230502QBroker.log_TIC");
    EXPECT_EQ(Commands().size(), 3u);
    EXPECT_EQ(Commands()[0], "NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=ANALYZETICALL");
    EXPECT_FALSE(std::ifstream(brokerLog).good());
    dir.Write("20230502QBroker_TIC.log", "rows\n");

    main.TakePosted();
    main.messages.clear();
    link.calls.clear();
    link.pages.push_back("20230502QBroker_TIC");
    Answer(IDC_USE_EXISTING);
    Tree().OnRunTICBroker();
    ASSERT_EQ(main.messages.size(), 1u);
    EXPECT_EQ(main.messages[0].message, (UINT)WM_IMPORTTICLOG);
    EXPECT_EQ(main.messages[0].reportName, brokerLog);
    EXPECT_EQ(main.messages[0].listKey, "20230502QBroker_TIC");

    // The whole tree asks before its view opens; Cancel leaves nothing.
    main.TakePosted();
    main.messages.clear();
    link.calls.clear();
    dir.Write("TICAnalysisAllTreeview_TIC.log", "rows\n");
    Answer(IDCANCEL);
    Tree().RunIntegrityCheckOnEntireTree();
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(main.messages.empty());
    Answer(IDC_GENERATE_NEW);
    Tree().RunIntegrityCheckOnEntireTree();
    EXPECT_EQ(link.calls[0], "OpenReportDocument:SQL_ANALYSIS_ALL_TIC");
    EXPECT_EQ(Commands().back(), "NAME=20230502QServer9.log|TYPE=ROOTITEM|EXE=ANALYZETICALL");
    EXPECT_EQ(_csDocToOpen, CString("TICAnalysisAllTreeview"));
}

TEST_F(MyTreeCtrlCommandsTest, TopTwentyRunsCompileEveryLogThenPopulate) {
    Use("20230502QBroker.log");
    Tree().OnRunT20Broker();  // no report logs yet: no question
    const std::vector<UINT> expected = {WM_COMPILETOP20XACT, WM_COMPILETOP20XACT, WM_COMPILETOP20XACT,
                                        WM_POPULATETOP20XACT, WM_COMPILETOP20SQL,  WM_COMPILETOP20SQL,
                                        WM_COMPILETOP20SQL,  WM_POPULATETOP20SQL};
    EXPECT_EQ(main.Sent(), expected);
    EXPECT_EQ(main.messages[0].command, "NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=TOP20XACT");
    EXPECT_EQ(main.messages[0].docToOpen, "20230502QBroker_T20Xact");
    EXPECT_EQ(main.messages[4].command, "NAME=20230502QServer1.log|TYPE=SUBITEM|EXE=TOP20SQL");
    EXPECT_EQ(main.messages[4].docToOpen, "20230502QBroker_T20Sql");
    EXPECT_EQ(link.calls[0], "OpenReportDocument:20230502QBroker.log_T20Xact");
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});

    // A server log alone: itself, once per half, never a question.
    main.messages.clear();
    link.calls.clear();
    dir.Write("20230502QServer9_T20Xact.log", "rows\n");
    dir.Write("20230502QServer9_T20Sql.log", "rows\n");
    Use("20230502QServer9.log");
    Tree().OnRunT20Server();
    EXPECT_EQ(main.Sent(), (std::vector<UINT>{WM_COMPILETOP20XACT, WM_POPULATETOP20XACT, WM_COMPILETOP20SQL,
                                              WM_POPULATETOP20SQL}));
    EXPECT_EQ(main.messages[0].command, "NAME=20230502QServer9.log|TYPE=ROOTITEM|EXE=TOP20XACT");

    // The whole tree: every log, under its own names.
    main.messages.clear();
    link.calls.clear();
    Tree().RunTop20OnEntireTree();
    EXPECT_EQ(main.Sent().size(), 10u);
    EXPECT_EQ(main.messages[0].docToOpen, "Top20Transactions");
    EXPECT_EQ(main.messages[5].docToOpen, "Top20SqlStatements");
    EXPECT_EQ(link.calls[0], "OpenReportDocument:TOP20_XACT_ALL");
}

TEST_F(MyTreeCtrlCommandsTest, TopTwentyAsksOnlyWhenBothReportLogsHoldData) {
    struct Case {
        const char* transactions;
        const char* sql;
        bool asked;
    } cases[] = {{"rows\n", "", false}, {"", "rows\n", false}, {"rows\n", "rows\n", true}};
    for (const Case& c : cases) {
        dir.Write("20230502QBroker_T20Xact.log", c.transactions);
        dir.Write("20230502QBroker_T20Sql.log", c.sql);
        main.TakePosted();  // refreshes of the run before, so the question's loop does not take them
        main.messages.clear();
        link.calls.clear();
        Use("20230502QBroker.log");
        if (c.asked)
            Answer(IDCANCEL);
        Tree().OnRunT20Broker();
        EXPECT_EQ(main.messages.empty(), c.asked) << c.transactions << "/" << c.sql;
    }
}

TEST_F(MyTreeCtrlCommandsTest, TopTwentyUseExistingLoadsTwoListsOrThreeWithTheSummary) {
    const std::string folder = dir.Path();
    dir.Write("20230502QBroker_T20Xact.log", "rows\n");
    dir.Write("20230502QBroker_T20Sql.log", "rows\n");
    // The frame's relays made the views the report logs load into.
    link.pages = {"20230502QBroker_T20Xact", "20230502QBroker_T20Sql", "20230502QBroker_T20Sql.log_SQLSUMMARY"};
    for (int summary : {0, 1}) {
        app.WriteProfileInt("Settings", "StartSqlSumRptOnT20", summary);
        main.messages.clear();
        link.calls.clear();
        Use("20230502QBroker.log");
        Answer(IDC_USE_EXISTING);
        Tree().OnRunT20Broker();
        std::vector<UINT> expected = {WM_IMPORTTOP20XACTLOG, WM_IMPORTTOP20SQLLOG};
        if (summary)
            expected.push_back(WM_IMPORTSQLSUMMARYLOG);
        ASSERT_EQ(main.Sent(), expected) << summary;
        EXPECT_EQ(main.messages[0].reportName, folder + "/20230502QBroker_T20Xact.log");
        EXPECT_EQ(main.messages[0].docToOpen, "20230502QBroker_T20Xact");
        EXPECT_EQ(main.messages[1].reportName, folder + "/20230502QBroker_T20Sql.log");
        if (summary) {
            EXPECT_EQ(main.messages[2].reportName, folder + "/20230502QBroker_T20Sql.log_SQLSUMMARY.log");
        }
        EXPECT_TRUE(link.calls.empty());
        EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_REFRESHVIEW});
    }

    // The whole tree's report logs: a view that does not come ends the steps without a refresh.
    dir.Write("Top20Transactions.log", "rows\n");
    dir.Write("Top20SqlStatements.log", "rows\n");
    _csBaseFolder = folder.c_str();
    link.pages.clear();
    main.messages.clear();
    Answer(IDC_USE_EXISTING);
    Tree().RunTop20OnEntireTree();
    ASSERT_EQ(main.Sent(), std::vector<UINT>{WM_IMPORTTOP20XACTLOG});
    EXPECT_EQ(main.messages[0].reportName, folder + "/Top20Transactions.log");
    EXPECT_EQ(main.messages[0].docToOpen, "TOP20_XACT_ALL");
    EXPECT_TRUE(main.TakePosted().empty());
}

TEST(QueryExistingReportDlgTest, LineShowsNameAndLastWriteTime) {
    TempFolder dir;
    std::string path = dir.Write("a_TA.log", "x");
    CString line;
    ASSERT_TRUE(CQueryExistingReportDlg::FormatReportLogLine(path.c_str(), line));
    std::string text = line.GetString();
    EXPECT_EQ(text.rfind("a_TA.log\t\t", 0), 0u) << text;
    EXPECT_EQ(text.size(), std::string("a_TA.log\t\t01/02/2026  10:11").size()) << text;
    EXPECT_FALSE(CQueryExistingReportDlg::FormatReportLogLine((dir / "missing.log").c_str(), line));
}
}  // namespace
