#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/MyTreeView.h"
#include "app/QueryExistingReportDlg.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

namespace {
std::string SentTo(const std::string& port) {
    return "Action : sent to /pt_QServer://APPSRV1/" + port + "\n";
}

class MyTreeCtrlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        AddResourceModule(&VeltrinTreeResources());
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

    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    ModalSteps modal;
    TempFolder dir;
    CMyTreeView bar;
    std::string broker, lone;
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
