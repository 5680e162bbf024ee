#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/EditorLaunch.h"
#include "app/VeltrinView.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "platform/base/Clock.h"
#include "platform/base/GlobalMemory.h"
#include "platform/user/Clipboard.h"
#include "res/veltrin/VeltrinResources.h"
#include "tests/app/RecordingFrameLink.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
using Rows = std::vector<std::vector<const char*>>;

class VeltrinViewOpenLogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        app.SetRegistryKey("VeltrinTest");
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
        app.m_pMainWnd = &main;
        frame.CreateEx(0, nullptr, "Child", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, main.m_hWnd, nullptr);
        g_launchEditor = [this](LPCTSTR line) {
            launched.push_back(line);
            return 1;
        };
        folder = dir.Path();
    }
    void TearDown() override {
        if (view && view->m_hWnd)
            view->DestroyWindow();
        frame.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        g_launchEditor = [](LPCTSTR) { return 1; };
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // A view over the list key with the request of a report: its folder is the test's folder.
    CVeltrinView* Make(const char* listKey, const char* reportName, const char* reportType, const char* type = "",
                       const char* exe = "") {
        if (view && view->m_hWnd)
            view->DestroyWindow();
        _csListKey = listKey;
        _csReportName = reportName;
        _csReportType = reportType;
        _csBaseFolder = folder.c_str();
        view = new CVeltrinView;
        RECT rc{0, 0, 600, 400};
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, &frame, 0xE900))
            view = nullptr;
        if (view) {
            view->m_csType = type;
            view->m_csExe = exe;
        }
        return view;
    }
    void Fill(int columns, const Rows& rows, const char* caption = "") {
        gxListModel& list = view->GetList();
        list.ResetList();
        list.m_csTitle = caption;
        for (int c = 0; c < columns; ++c) {
            list.m_csNames.AppendFormat("C%d|", c);
            list.m_csTypes += "S|";
        }
        list.SetColumns(columns);
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                list.AddItem((int)r, (int)c, rows[r][c]);
    }
    std::string Quoted(const std::string& file) const { return "Scrivel \"" + folder + "/" + file + "\""; }
    std::vector<int> Selected() const {
        std::vector<int> out;
        for (int r = view->m_List.GetNextSelected(-1); r >= 0; r = view->m_List.GetNextSelected(r))
            out.push_back(r);
        return out;
    }

    TempRegistry registry;
    CWinApp app{"Veltrin"};
    RecordingMainWnd main;
    CWnd frame;
    RecordingFrameLink link;
    MessageBoxRecorder boxes;
    DrivenClock clock;
    TempFolder dir;
    std::string folder;
    CVeltrinView* view = nullptr;
    std::vector<std::string> launched;
};

TEST_F(VeltrinViewOpenLogsTest, OpenLogByListKind) {
    dir.Write("20230502QServer7001.log", "line\n");
    dir.Write("20230502QServer7001_T20Xact.log", "report\n");
    dir.Write("a.log", "line\n");
    struct Case {
        const char* key;
        const char* layout;
        const char* type;
        const char* exe;
        const char* caption;
        std::vector<const char*> row;
        std::string command;
    } cases[] = {
        {"20230502QBroker.log_T20Xact", "TOP20XACT", "", "", "TOP20XACT",
         {"1", "20230502QServer7001.log", "120", "x", "44"}, Quoted("20230502QServer7001.log") + " GOTOLINE=120"},
        {"20230502QBroker.log_T20Xact", "TOP20XACT", "", "", "TOP20XACT",
         {"TOP20LOG", "20230502QServer7001_T20Xact.log", "", "", ""}, Quoted("20230502QServer7001_T20Xact.log")},
        {"TOP20_SQL_ALL", "TOP20SQL", "", "", "TOP20SQL",
         {"2", "20230502QServer7001.log", "5", "x", "77"}, Quoted("20230502QServer7001.log") + " GOTOLINE=77"},
        {"20230502QServer7001", "QSVRITEMIZE", "SUBITEM", "QSVRITEMIZE", "",
         {"3", "40", "content", "", ""}, Quoted("20230502QServer7001.log") + " GOTOLINE=40"},
        {"20230502QServer7001_TA", "ANALYZETA", "", "", "", {"4", "9", "t", "c", ""},
         Quoted("20230502QServer7001.log") + " GOTOLINE=9"},
        {"SQL_ANALYSIS_ALL_TIC", "ANALYZETICALL", "", "", "", {"5", "11", "a.log", "tag", ""},
         Quoted("a.log") + " GOTOLINE=11"},
        {"a_TA", "other", "", "", "", {"6", "1", "two", "three words", ""}, Quoted("a") + ""},
        {"a", "other", "", "", "", {"7", "1", "two words", "three", ""}, Quoted("a.log") + " SEARCH_ETX=two words"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Make(c.key, c.key, c.layout, c.type, c.exe));
        Fill(5, {c.row}, c.caption);
        launched.clear();
        boxes.Clear();
        view->OpenLog(0);
        if (std::string(c.key) == "a_TA") {
            // The log the key names ("a") is not there: the message, no editor.
            EXPECT_TRUE(launched.empty());
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text, CString("a file not available!!!"));
            continue;
        }
        EXPECT_EQ(launched, std::vector<std::string>{c.command}) << c.key << " " << c.row[0];
        EXPECT_TRUE(boxes.Calls().empty()) << c.key;
    }
}

TEST_F(VeltrinViewOpenLogsTest, BrokerLineLeadsToItsServerLogAndLine) {
    dir.Write("20230502QServer7003.log",
              "2023/05/02 08:00:00 100 | Start LOGIN_QUILLAN /pt_QClient://WS0999/1\n"
              "2023/05/02 08:00:00 764 | Start LOGIN_QUILLAN /pt_QClient://WS0104/10505\n"
              "-- CLIENT //WS0104/10505 USER jsmith\n"
              "2023/05/02 08:00:00 777 | End LOGIN_QUILLAN /pt_QClient://WS0104/10505 TRANSACTION TIME (msec): 13\n"
              "2023/05/02 08:00:01 000 | Start OTHER /pt_QClient://WS0104/10505\n");
    dir.Write("20230502QServer7003_TA.log", "report\n");
    const char* line =
        "HandleClientRequest(): On Request - 08:00:00 ID  : /pt_QClient://WS0104/10505#4 Type: LOGIN_QUILLAN "
        "User  : jsmith Action : sent to /pt_QServer://APPSRV2/7003";
    ASSERT_TRUE(Make("20230502QBroker.log", "20230502QBroker.log", "QBROKERITEMIZE", "ROOTITEM", "ITEMIZE"));
    Fill(3, {{"1", "20", line}, {"2", "24", "HandleServerRequest(): On Request - 07:59:57 ID : x"}});

    view->OpenLog(0);
    EXPECT_EQ(launched, std::vector<std::string>{Quoted("20230502QServer7003.log") +
                                                 " SEARCH_ETX=LOGIN_QUILLAN   /pt_QClient://WS0104/10505"});

    // A click puts the transaction's lines on the pad.
    view->OnShowListItem(0, TRUE);
    EXPECT_EQ(view->m_csPadText,
              CString("2023/05/02 08:00:00 764 | Start LOGIN_QUILLAN /pt_QClient://WS0104/10505\r\n"
                      "-- CLIENT //WS0104/10505 USER jsmith\r\n"
                      "2023/05/02 08:00:00 777 | End LOGIN_QUILLAN /pt_QClient://WS0104/10505 TRANSACTION TIME "
                      "(msec): 13\r\n"));
    EXPECT_EQ(_csLastGotoLine, CString("2"));

    // Goto Log asks the frame for the server's itemize view at that line.
    view->m_List.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    main.TakePosted();
    _csLastFindText = "";
    view->OnGotoLog();
    EXPECT_EQ(main.TakePosted(), std::vector<UINT>{WM_GOTOLINEREQUEST});
    EXPECT_EQ(_csGotoLogLine, CString("2"));
    EXPECT_EQ(_csReportName, CString("20230502QServer7003.log"));
    EXPECT_EQ(_csCommand, CString("NAME=20230502QServer7003.log|TYPE=SUBITEM|EXE=QSVRITEMIZE|SEARCH="));

    // A line the broker did not send anywhere: nothing opens, the pad says why.
    launched.clear();
    view->OpenLog(1);
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(view->m_csPadText, CString("<N/A> - QServer Log information not available."));
}

TEST_F(VeltrinViewOpenLogsTest, DoubleClickQuotesOnlyPathsWithBlanks) {
    dir.Write("a.log", "x\n");
    dir.Write("b c.log", "x\n");
    ASSERT_TRUE(Make("SQL_ANALYSIS_ALL_TA", "SQL_ANALYSIS_ALL_TA", "ANALYZETAALL"));
    Fill(5, {{"1", "3", "a.log", "", ""}, {"2", "4", "b c.log", "", ""}, {"3", "5", "gone.log", "", ""}});
    view->OnOpenInEditor(0);
    view->OnOpenInEditor(1);
    EXPECT_EQ(launched, (std::vector<std::string>{"Scrivel " + folder + "/a.log GOTOLINE=3",
                                                  "Scrivel \"" + folder + "/b c.log\" GOTOLINE=4"}));
    view->OnOpenInEditor(2);
    EXPECT_EQ(launched.size(), 2u);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("gone.log file not available!!!"));
}

TEST_F(VeltrinViewOpenLogsTest, LineNumberSearchNeedsKeyAndTimeInOneLine) {
    dir.Write("s.log",
              "2023/05/02 08:00:00 | Start A /pt_QClient://X\n"
              "2023/05/02 08:00:05 | Start LOGIN /pt_QClient://X\n"
              "\tfiller\n"
              "2023/05/02 08:00:05 | Start LOGIN /pt_QClient://Y\n");
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1", "STATS_CM1"));
    struct Case {
        const char* file;
        const char* key1;
        const char* key2;
        const char* time;
        int line;
        const char* pad;
    } cases[] = {
        {"s.log", "LOGIN(3)", "//Y", "08:00:05", 4, "2023/05/02 08:00:05 | Start LOGIN /pt_QClient://Y\r\n"},
        {"s.log", "LOGIN#2", "", "08:00:05", 2, "2023/05/02 08:00:05 | Start LOGIN /pt_QClient://X\r\n"},
        {"s.log", "", "//X", "08:00:00", 0,
         "<N/A> - No associated QServer Log file information found for the selected list item"},
        {"s.log", "NONE", "", "08:00:05", 0,
         "<N/A> - No associated QServer Log file information found for the selected list item"},
        {"s9 - N/A.log", "LOGIN", "", "08:00:05", 0, "This file is not available!\r\ns9 - N/A.log"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view->GetLineNumber(c.file, c.key1, c.key2, c.time), c.line) << c.key1;
        EXPECT_EQ(view->m_csPadText, CString(c.pad)) << c.key1;
    }
}

TEST_F(VeltrinViewOpenLogsTest, StatisticsRowsOpenTheirServerLogAtTheTransactionsLine) {
    dir.Write("s.log",
              "2023/05/02 08:00:03.457 | Start LOGIN_QUILLAN /pt_QClient://BATCH01/26890\n"
              "2023/05/02 08:00:03.466 | End LOGIN_QUILLAN /pt_QClient://BATCH01/26890\n"
              "2023/05/02 08:00:09.100 | Start PAYMENT /pt_QClient://WS0101/18362\n");
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1", "STATS_CM1"));
    // Records, ClientMachine, Transaction, Date, Time, ElapsedTime, QBroker Line, QServer Filename,
    // QServerLine, TID: a login names its user, every client id its request count.
    Fill(10, {{"1", "BATCH01", "LOGIN_QUILLAN : batch", "2023/05/02", "08:00:03", "", "b.log: 25", "s.log", "",
               "//BATCH01/26890(1)"},
              {"2", "WS0101", "PAYMENT", "2023/05/02", "08:00:09", "", "b.log: 40", "s.log", "", "//WS0101/18362(1)"}});
    for (int row : {0, 1}) {
        const std::string line = row == 0 ? "1" : "3";
        launched.clear();
        view->OpenServerLog(row);
        view->OnOpenInEditor(row);
        EXPECT_EQ(launched, (std::vector<std::string>{Quoted("s.log") + " GOTOLINE=" + line,
                                                      Quoted("s.log") + " GOTOLINE=" + line}))
            << row;
        EXPECT_EQ(view->m_List.GetItemText(row, 8), CString(line.c_str())) << row;
    }
}

TEST_F(VeltrinViewOpenLogsTest, ARowsRequestCountPicksItsTransactionAmongThoseOfTheSameSecond) {
    // One client sends the same request twice in one second: the statistics rows count them "(1)", "(2)".
    dir.Write(
        "s.log",
        "2023/05/02 08:00:09.100 | Start PAYMENT /pt_QClient://WS0101/18362\n"
        "2023/05/02 08:00:09.120 | End   PAYMENT /pt_QClient://WS0101/18362 TRANSACTION TIME (msec): 20\n"
        "2023/05/02 08:00:09.500 | Start PAYMENT /pt_QClient://WS0101/18362\n"
        "-- second request\n"
        "2023/05/02 08:00:09.900 | End   PAYMENT /pt_QClient://WS0101/18362 TRANSACTION TIME (msec): 400\n");
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1", "STATS_CM1"));
    Fill(10, {{"1", "WS0101", "PAYMENT", "2023/05/02", "08:00:09", "", "b.log: 40", "s.log", "",
               "//WS0101/18362(1)"},
              {"2", "WS0101", "PAYMENT", "2023/05/02", "08:00:09", "", "b.log: 44", "s.log", "",
               "//WS0101/18362(2)"}});
    struct Case {
        int row;
        const char* line;
        const char* elapsed;
        const char* padStart;
        const char* padEnd;
    } cases[] = {
        {0, "1", "00:00:00 (120 msec)", "2023/05/02 08:00:09.100 | Start", "(msec): 20\r\n"},
        {1, "3", "00:00:00 (900 msec)", "2023/05/02 08:00:09.500 | Start", "(msec): 400\r\n"},
    };
    for (const Case& c : cases) {
        // Open QServer Log, and the double click on a row whose line is not known yet.
        launched.clear();
        view->OpenServerLog(c.row);
        view->OnOpenInEditor(c.row);
        const std::string opened = Quoted("s.log") + " GOTOLINE=" + c.line;
        EXPECT_EQ(launched, (std::vector<std::string>{opened, opened})) << c.row;
        view->m_List.SetItemText(c.row, 8, "");

        view->OnShowListItem(c.row, TRUE);
        EXPECT_EQ(view->m_List.GetItemText(c.row, 5), CString(c.elapsed)) << c.row;
        EXPECT_EQ(view->m_List.GetItemText(c.row, 8), CString(c.line)) << c.row;
        const std::string pad = view->m_csPadText.GetString();
        EXPECT_EQ(pad.rfind(c.padStart, 0), 0u) << pad;
        EXPECT_EQ(pad.substr(pad.size() - std::min(pad.size(), std::strlen(c.padEnd))), c.padEnd) << pad;
    }
}

TEST_F(VeltrinViewOpenLogsTest, LoginRowOfStatisticsFindsItsTransactionInTheSampleServerLog) {
    const char kLog[] = "20230502QServer7001.log";
    std::ifstream in(std::string(VELTRIN_SAMPLES) + "/" + kLog, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_FALSE(text.str().empty());
    dir.Write(kLog, text.str());
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1", "STATS_CM1"));
    // As the statistics pass writes it: the login names its user, the client id its request count.
    Fill(10, {{"1", "WS0109", "LOGIN_QUILLAN : oberg", "2023/05/02", "08:00:06", "", "b.log: 25", kLog, "",
               "//WS0109/53817(1)"}});

    // The worker threads' lookup; the elapsed time counts from the row's whole second.
    CString line;
    EXPECT_EQ(CVeltrinAnalysis::ThreadGetElapsedTime(view, nullptr, "1", folder.c_str(), kLog,
                                                     "LOGIN_QUILLAN : oberg", "//WS0109/53817(1)", "2023/05/02",
                                                     "08:00:06", line),
              CString("00:00:00 (203 msec)"));
    EXPECT_EQ(line, CString("5"));

    // A click fills the elapsed time and the line and puts the whole transaction on the pad.
    view->OnShowListItem(0, TRUE);
    EXPECT_EQ(view->m_List.GetItemText(0, 5), CString("00:00:00 (203 msec)"));
    EXPECT_EQ(view->m_List.GetItemText(0, 8), CString("5"));
    const std::string pad = view->m_csPadText.GetString();
    EXPECT_EQ(pad.rfind("2023/05/02 08:00:06.195 | Start LOGIN_QUILLAN /pt_QClient://WS0109/53817\r\n", 0), 0u)
        << pad;
    const std::string end =
        "2023/05/02 08:00:06.203 | End LOGIN_QUILLAN /pt_QClient://WS0109/53817 TRANSACTION TIME (msec): 8\r\n";
    ASSERT_GE(pad.size(), end.size());
    EXPECT_EQ(pad.substr(pad.size() - end.size()), end);
}

TEST_F(VeltrinViewOpenLogsTest, TransactionOnThePadStopsAfterTwoThousandLines) {
    std::string log = "08:00:05 | Start LOGIN /pt_QClient://Y\n";
    for (int i = 0; i < 2500; ++i)
        log += "-- line\n";
    dir.Write("s.log", log);
    ASSERT_TRUE(Make("STATS_CM1", "STATS_CM1", "STATS_CM1"));
    view->SearchLogToPad("s.log", "LOGIN", "//Y", "08:00:05");
    std::string pad = view->m_csPadText.GetString();
    EXPECT_EQ(pad.rfind("08:00:05 | Start LOGIN", 0), 0u);
    EXPECT_EQ(pad.size(), std::string("08:00:05 | Start LOGIN /pt_QClient://Y\r\n").size() + 1999 * 9 +
                              std::string("\r\n    :\r\n    :\r\n    :\r\n").size());
    view->SearchLogToPad("s.log", "LOGIN", "", "08:00:05");
    EXPECT_EQ(view->m_csPadText,
              CString("<N/A> - No associated QServer Log file information found for the selected list item"));
    view->SearchLogToPad("missing.log", "LOGIN", "//Y", "08:00:05");
    EXPECT_EQ(view->m_csPadText, CString("QServer Log file not available"));
}

TEST_F(VeltrinViewOpenLogsTest, SearchLooksFromColumnTwoOnAndDoesNotWrap) {
    ASSERT_TRUE(Make("a", "a", "x"));
    Fill(4, {{"LOGIN", "WS0104", "none", "x"},
             {"1", "2", "LOGIN", "WS0104"},
             {"2", "3", "login at ws0104", "x"},
             {"3", "4", "x", "LOGIN WS0104 again"}});
    struct Case {
        const char* text;
        BOOL next;
        std::vector<int> selected;
        const char* nav;
    } cases[] = {
        {"LOGIN&&WS0104", FALSE, {2}, "WM_SEARCH"},  // row 1 has the words in two cells
        {"LOGIN&&WS0104", TRUE, {3}, "WM_SEARCH"},
        {"again", TRUE, {}, nullptr},  // after row 3 nothing is left: no wrap
    };
    for (const Case& c : cases) {
        boxes.Clear();
        BOOL found = (BOOL)view->SendMessage(c.next ? WM_SEARCHF3 : WM_SEARCH, 0, (LPARAM)c.text);
        EXPECT_EQ(found, c.nav != nullptr) << c.text;
        if (c.nav) {
            EXPECT_EQ(Selected(), c.selected) << c.text;
            EXPECT_EQ(view->m_csLastNav, CString(c.nav));
            EXPECT_TRUE(boxes.Calls().empty());
        } else {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text, CString("End of Search"));
            EXPECT_EQ(boxes.Calls()[0].caption, CString("Search"));
        }
    }
    // "2" stands only in columns 0 and 1, which are never searched.
    view->m_List.DeselectAll();
    EXPECT_FALSE(view->SearchList("2", FALSE));
}

TEST_F(VeltrinViewOpenLogsTest, GotoLineSelectsTheRowOfTheLine) {
    ASSERT_TRUE(Make("a", "a", "x"));
    Fill(3, {{"1", "100", "a"}, {"2", "120", "b"}, {"3", "140", "c"}});
    for (const char* text : {"NAME=a.log|TYPE=SUBITEM|EXE=GOTOLINE:120", "120", "x:120  "}) {
        view->m_List.DeselectAll();
        EXPECT_TRUE(view->SendMessage(WM_GOTOLINE, (WPARAM)text, 0)) << text;
        EXPECT_EQ(Selected(), std::vector<int>{1}) << text;
        EXPECT_EQ(view->m_csLastNav, CString("WM_GOTOLINE"));
    }
    EXPECT_FALSE(view->GotoLine("GOTOLINE:999"));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(view->m_nHighlightRow, -1);
}

TEST_F(VeltrinViewOpenLogsTest, CopyPutsTheSelectedRowsOnTheClipboard) {
    ASSERT_TRUE(Make("a", "a", "x"));
    Fill(3, {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
    view->m_List.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    view->m_List.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    view->SendMessage(WM_COMMAND, 32786, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(data);
    EXPECT_STREQ((const char*)GlobalLock(data), "1 | 2 | 3 | \r\n7 | 8 | 9 | \r\n");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(VeltrinViewOpenLogsTest, ColumnWidthsComeBackFromTheLayoutsSection) {
    ASSERT_TRUE(Make("a", "a", ""));
    view->m_csLayout = "";
    Fill(3, {{"1", "2", "3"}});
    view->m_List.SetColumnWidth(0, 80);
    view->m_List.SetColumnWidth(1, 90);
    view->m_List.SetColumnWidth(2, 100);
    view->SendMessage(WM_SAVECOLUMNLAYOUT, 0, 0);
    EXPECT_EQ(app.GetProfileInt("BlankList", "ColumnCount", 0), 3);
    EXPECT_EQ(app.GetProfileInt("BlankList", "1", 0), 90);

    const int defaultWidth = view->m_List.GetColumnDefaultWidth(1);
    app.WriteProfileInt("BlankList", "0", 10000);
    app.WriteProfileInt("BlankList", "1", -5);
    app.WriteProfileInt("BlankList", "2", 33);
    view->m_List.SetColumnWidth(0, 1);
    view->SendMessage(WM_REFRESHVIEW, 0, 0);
    EXPECT_EQ(view->m_List.GetColumnWidth(0), view->m_List.GetColumnDefaultWidth(0));
    EXPECT_EQ(view->m_List.GetColumnWidth(1), defaultWidth);
    EXPECT_EQ(view->m_List.GetColumnWidth(2), 33);

    app.WriteProfileInt("BlankList", "ColumnCount", 0);
    view->m_List.SetColumnWidth(2, 7);
    view->RestoreColumnWidths("");
    EXPECT_EQ(view->m_List.GetColumnWidth(2), 7);
}
}  // namespace
