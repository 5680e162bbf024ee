#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "app/MyTreeView.h"
#include "core/RequestStrings.h"
#include "platform/base/Clock.h"
#include "platform/user/ImageList.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/TempFolder.h"

namespace {
const char kBrokerHead[] =
    "*** QBroker starting ***\n"
    "HandleServerRequest(): On Request - 07:59:57\n";

std::string SentTo(const std::string& port) {
    return "Action : sent to /pt_QServer://APPSRV1/" + port + "\n";
}

std::string ServerLog(const std::string& clock) {
    return "banner line\n2023/05/02 " + clock + ".000 QServer | starting\n";
}

class MyTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        AddResourceModule(&VeltrinFrameResources());
        main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr);
        app.m_pMainWnd = &main;
        g_mapLoadedLogs.RemoveAll();
        ASSERT_TRUE(bar.Create(&main, "MyTreeView", 0xE900));
    }
    void TearDown() override {
        bar.DestroyWindow();
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        g_mapLoadedLogs.RemoveAll();
        RemoveResourceModule(&VeltrinFrameResources());
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    CMyTreeCtrl& Tree() { return bar.GetTreeCtrl(); }
    // Each root as "text" followed by its children as "  text/image".
    std::vector<std::string> Shape() {
        std::vector<std::string> out;
        for (HTREEITEM r = Tree().GetRootItem(); r; r = Tree().GetNextSiblingItem(r)) {
            out.push_back(Tree().GetItemText(r).GetString());
            for (HTREEITEM c = Tree().GetChildItem(r); c; c = Tree().GetNextSiblingItem(c)) {
                int image = -1, sel = -1;
                Tree().GetItemImage(c, image, sel);
                out.push_back("  " + std::string(Tree().GetItemText(c).GetString()) + "/" + std::to_string(image));
            }
        }
        return out;
    }
    HObj Record(const char* key) {
        HObj rec;
        EXPECT_TRUE(g_mapLoadedLogs.Lookup(key, rec)) << key;
        return rec;
    }

    CWinApp app{"Veltrin"};
    CWnd main;
    CMyTreeView bar;
    DrivenClock clock;
    MessageBoxRecorder boxes;
    TempFolder dir;
};

TEST_F(MyTreeViewTest, TreeAndTabsShowTheSixteenPixelImagesOfTheirStrips) {
    HIMAGELIST tree = (HIMAGELIST)Tree().SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL, 0);
    ASSERT_NE(tree, nullptr);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(tree, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_GT(ImageList_GetImageCount(tree), 1);
}

TEST_F(MyTreeViewTest, BrokerGetsOneChildPerNamedServer) {
    dir.Write("20230502QServer12.log", ServerLog("08:01:02"));
    dir.Write("20230502QServer1.log", ServerLog("08:00:05"));
    dir.Write("20230502QServer1_TA.log", "a report log\n");
    std::string broker = dir.Write("20230502QBroker.log", std::string(kBrokerHead) + SentTo("12") + SentTo("1") +
                                                              SentTo("1") + SentTo("7"));
    bar.PopulateTreeEx(broker.c_str());
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(Shape(), (std::vector<std::string>{"20230502QBroker.log", "  20230502QServer12/5", "  20230502QServer1/5",
                                                 "  20230502QServer7 - N/A/4"}));
    HObj rec = Record("20230502QBroker.log");
    EXPECT_EQ(rec.m_csFolder, CString(dir.Path().c_str()));
    EXPECT_EQ(rec.m_csLogType, CString("QBROKER"));
    EXPECT_EQ(rec.m_csTimeStamp, CString("20230502075957"));
    EXPECT_EQ(rec.m_csServerList, CString("20230502QServer12>20230502080102|20230502QServer1>20230502080005|"
                                          "20230502QServer7 - N/A>YYYYMMDDHHMMSS|"));
    EXPECT_EQ(rec.m_nServerCount, 3);
    HTREEITEM root = Tree().GetRootItem();
    EXPECT_EQ(Tree().GetItemState(root, TVIS_BOLD), (UINT)TVIS_BOLD);
    EXPECT_EQ(Tree().GetSelectedItem(), root);

    // The request from a child reads the folder of its broker.
    HTREEITEM child = Tree().FindItemByText("20230502QServer1.log");
    ASSERT_TRUE(child);
    Tree().SetRequestFromItem(child);
    EXPECT_EQ(_csReportName, CString("20230502QServer1.log"));
    EXPECT_EQ(_csBaseFolder, CString(dir.Path().c_str()));
    EXPECT_EQ(_csLogType, CString("QSERVER"));
    EXPECT_EQ(_csItemKind, CString("SUBITEM"));

    // Loaded once per process, whatever the folder.
    TempFolder other;
    std::string again = other.Write("20230502QBroker.log", std::string(kBrokerHead) + SentTo("9"));
    bar.PopulateTreeEx(again.c_str());
    EXPECT_EQ(Shape().size(), 4u);
    EXPECT_EQ(g_mapLoadedLogs.GetCount(), 1);
}

TEST_F(MyTreeViewTest, RefusedAndEmptyLogsChangeNothing) {
    struct Case {
        const char* name;
        const char* bytes;
        const char* message;
    } cases[] = {
        {"notes.log", "text\n", "This application can only read QBroker or QServer logs !!!\nnotes.log"},
        {"20230502QServer3.log", "", "File is Empty !!!\n%s"},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        std::string path = dir.Write(c.name, c.bytes);
        bar.PopulateTreeEx(path.c_str());
        ASSERT_EQ(boxes.Calls().size(), 1u) << c.name;
        CString expected;
        expected.Format(c.message, path.c_str());
        EXPECT_EQ(boxes.Calls()[0].text, expected);
        EXPECT_EQ(g_mapLoadedLogs.GetCount(), 0);
        EXPECT_EQ(Tree().GetRootItem(), nullptr);
    }
    // A folder holding the type word does not make a log of another name acceptable.
    boxes.Clear();
    std::string inFolder = dir.Write("QBROKER/readme.txt", "text\n");
    bar.PopulateTreeEx(inFolder.c_str());
    EXPECT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(g_mapLoadedLogs.GetCount(), 0);
}

TEST_F(MyTreeViewTest, ServerLogAloneIsABoldRootWithItsStamp) {
    std::string path = dir.Write("20230502QServer7001.log", ServerLog("07:59:57"));
    bar.PopulateTreeEx(path.c_str());
    EXPECT_EQ(Shape(), (std::vector<std::string>{"20230502QServer7001.log"}));
    EXPECT_EQ(Record("20230502QServer7001.log").m_csTimeStamp, CString("20230502075957"));
    Tree().SetRequestFromItem(Tree().GetRootItem());
    EXPECT_EQ(_csItemKind, CString("ROOTITEM"));
    EXPECT_EQ(_csLogType, CString("QSERVER"));
}

TEST_F(MyTreeViewTest, TimeStampsOfTheMarkersAndShortClocks) {
    struct Case {
        const char* body;
        BOOL found;
        const char* stamp;
    } cases[] = {
        {"x\n-- START: 2023/05/02 10:11:12\n", TRUE, "20230502101112"},
        {"\n\n-- END: 09:08:07 trailing\n", TRUE, "20230502090807"},
        {"no clock | here\nA | 1:2\n", FALSE, ""},
        {"A | 23:59:5", FALSE, ""},
    };
    for (const Case& c : cases) {
        std::string path = dir.Write("20230502QServer5.log", c.body);
        CString stamp;
        EXPECT_EQ(bar.GetLogTimeStamp(path.c_str(), stamp), c.found) << c.body;
        EXPECT_EQ(stamp, CString(c.stamp)) << c.body;
    }
    CString stamp;
    EXPECT_FALSE(bar.GetLogTimeStamp("20230502QServer7 - N/A", stamp));
    EXPECT_EQ(stamp, CString("YYYYMMDDHHMMSS"));
}

TEST_F(MyTreeViewTest, RebuildOrdersRootsAndServersByStamp) {
    dir.Write("20230502QServer2.log", ServerLog("09:00:00"));
    dir.Write("20230502QServer3.log", ServerLog("08:00:00"));
    std::string broker =
        dir.Write("20230502QBroker.log", std::string(kBrokerHead) + SentTo("9") + SentTo("2") + SentTo("3"));
    std::string lone = dir.Write("20230501QServer4.log", ServerLog("06:00:00"));
    std::string undated = dir.Write("20230502QServer5.log", "no time here\n");
    bar.PopulateTreeEx(broker.c_str());
    bar.PopulateTreeEx(lone.c_str());
    bar.PopulateTreeEx(undated.c_str());
    bar.RebuildTree();
    EXPECT_EQ(Shape(), (std::vector<std::string>{"20230502QServer5.log", "20230501QServer4.log", "20230502QBroker.log",
                                                 "  20230502QServer3/5", "  20230502QServer2/5",
                                                 "  20230502QServer9 - N/A/4"}));
    HObj rec = Record("20230502QBroker.log");
    EXPECT_EQ((HTREEITEM)rec.m_hRootItem, Tree().FindItemByText("20230502QBroker.log"));

    // A removed server child comes back at the next rebuild: its broker still names it.
    Tree().RemoveSelectedLog(Tree().FindItemByText("20230502QServer3"));
    EXPECT_EQ(Shape().size(), 5u);
    bar.RebuildTree();
    EXPECT_EQ(Shape().size(), 6u);
}


TEST_F(MyTreeViewTest, CancelKeepsTheServersFoundSoFar) {
    std::string body = kBrokerHead;
    for (int i = 0; i < 3000; ++i)
        body += i == 10 ? SentTo("1") : i == 2500 ? SentTo("2") : "filler line of the broker log\n";
    std::string broker = dir.Write("20230502QBroker.log", body);
    // A closing message waiting in the queue cancels the wait dialog at its first pump: the report of
    // the first server found.
    CWnd other;
    other.CreateEx(0, nullptr, "Other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    other.PostMessage(WM_CLOSE);
    bar.PopulateTreeEx(broker.c_str());
    HObj rec = Record("20230502QBroker.log");
    EXPECT_EQ(rec.m_nServerCount, 1);
    EXPECT_EQ(rec.m_csServerList, CString("20230502QServer1 - N/A>YYYYMMDDHHMMSS|"));
    EXPECT_EQ(Shape(), (std::vector<std::string>{"20230502QBroker.log", "  20230502QServer1 - N/A/4"}));
    other.DestroyWindow();
}

TEST_F(MyTreeViewTest, OnlyTheLabelOrIconMakesAnItemCurrent) {
    std::string path = dir.Write("20230502QServer7001.log", ServerLog("07:59:57"));
    bar.PopulateTreeEx(path.c_str());
    HTREEITEM root = Tree().GetRootItem();
    RECT label{};
    Tree().GetItemRect(root, &label, TRUE);
    int y = (label.top + label.bottom) / 2;
    EXPECT_EQ(Tree().HitTestItem(POINT{label.right + 30, y}), nullptr);
    EXPECT_EQ(Tree().GetCurrentItem(), nullptr);
    EXPECT_EQ(Tree().HitTestItem(POINT{label.left + 2, y}), root);
    EXPECT_EQ(Tree().GetCurrentItem(), root);
    EXPECT_EQ(_csReportName, CString("20230502QServer7001.log"));
}
}  // namespace
