#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/AppMaps.h"
#include "controls/MySuperGrid.h"
#include "platform/base/MessageBox.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<std::string> Keys(const CMapStrToTObj& map) {
    std::vector<std::string> out;
    map.ForEach([&](const CString& k, const TObj&) { out.push_back(k.GetString()); });
    return out;
}

// The dialog's stand-in: counts the loaded-log messages.
class Owner : public CWnd {
public:
    int loaded = 0;
    std::vector<std::string> edits;  // the end-of-edit texts, "<none>" after Escape
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_STATSLOGLOADED)
            ++loaded;
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_ENDLABELEDIT) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
            edits.push_back(info->item.pszText ? info->item.pszText : "<none>");
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

class MySuperGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_mapLoadedLogs.RemoveAll();
        ASSERT_TRUE(owner.CreateEx(0, AfxWndClassName(), "Stats", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                   nullptr));
    }
    void TearDown() override {
        owner.DestroyWindow();
        g_mapLoadedLogs.RemoveAll();
        g_mapImportedLists.RemoveAll();
        Pump();
    }
    void Load(const std::string& name, const char* type, const std::string& text) {
        if (!text.empty())
            dir.Write(name, text);
        HObj rec;
        rec.m_csName = name.c_str();
        rec.m_csFolder = dir.Path().c_str();
        rec.m_csLogType = type;
        rec.m_bChosen = 1;
        g_mapLoadedLogs.Add(name.c_str(), rec);
    }
    void Create(CMySuperGrid& grid) {
        ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{0, 0, 300, 200}, &owner, 4097));
        grid.SetOwnerDialog(owner.m_hWnd);
    }
    TempFolder dir;
    Owner owner;
    MessageBoxRecorder boxes;
};

const char kBroker[] =
    "HandleClientRequest(): On Request - 08:00:00\n"
    "ID  : /pt_QClient://WS0104/10505#4\n"
    "Type: LOGIN_QUILLAN\n"
    "Action : sent to /pt_QServer://APPSRV1/7002\n"
    "HandleClientEvent(): On Client Unregister - 08:00:54\r\n"
    "MonitorServers() - On Process Dies - 08:01:43\n"
    "ID  : /pt_QClient://BATCH01/26890#9\n"
    "Type: LOGIN_QUILLAN";  // no line end: the last line still counts
}  // namespace

TEST(BrokerLogLines, EachMarkerGivesItsId) {
    struct Case {
        const char* line;
        const char* transaction;
        const char* client;
        const char* server;
    } cases[] = {
        {"Type: NEW_ORDER", "NEW_ORDER", "", ""},
        {"type: new_order", "new_order", "", ""},  // markers upper-cased, ids as written
        {"ID  : /pt_QClient://WS0104/10505#4", "", "WS0104", ""},
        {"ID  : /pt_QClient:", "", "", ""},  // nothing after the marker: no id, no crash
        {"Action : sent to /pt_QServer://APPSRV2/7003", "", "", "7003"},
        {"HandleClientEvent(): On Client Unregister - 08:00:54", "On Client Unregister", "", ""},
        {"MonitorServers() - On Process Dies - 08:01:43", "On Process Dies", "", ""},
        {"ID : /pt_QServer://APPSRV1/7001", "", "", ""},  // one blank before ':' is not the client marker
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        BrokerLogFinds finds;
        ScanBrokerLogLine(c.line, finds);
        EXPECT_EQ(finds.transaction, c.transaction) << c.line;
        EXPECT_EQ(finds.clientId, c.client) << c.line;
        EXPECT_EQ(finds.serverId, c.server) << c.line;
    }
    BrokerLogFinds finds;
    ScanBrokerLogLine("2023/05/02 08:00:00 QBroker | 4711", finds);
    ScanBrokerLogLine("HandleServerRequest(): On Request - 07:59:57", finds);
    EXPECT_EQ(finds.stamp, "4711");
    EXPECT_EQ(finds.request, "07:59:57");
}

TEST_F(MySuperGridTest, NoBrokerLogGivesTheTreeColumnAndNoRows) {
    Load("20230502QServer1.log", "QSERVER", "x\n");
    CMySuperGrid grid;
    Create(grid);
    EXPECT_EQ(grid.AddBrokerLogRows(), 0);
    EXPECT_EQ(grid.GetItemCount(), 0);
    ASSERT_EQ(grid.GetHeaderCtrl()->GetItemCount(), 1);
    LVCOLUMN col{};
    char caption[32] = "";
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = caption;
    col.cchTextMax = sizeof caption;
    grid.GetColumn(0, &col);
    EXPECT_STREQ(caption, "Tree");
    EXPECT_EQ(col.cx, 236);
    HObj rec;
    ASSERT_TRUE(g_mapLoadedLogs.Get("20230502QServer1.log", rec));
    EXPECT_EQ(rec.m_bChosen, 0);  // every chosen flag starts clear
}

TEST_F(MySuperGridTest, CheckingAllRootsReadsEachLogAndTellsTheDialogAfterEach) {
    Load("20230502QBroker.log", "QBROKER", kBroker);
    Load("20230503QBroker.log", "QBROKER", "Type: PAYMENT\nAction : sent to /pt_QServer://APPSRV1/7001\n");
    Load("20230502QServer1.log", "QSERVER", "x\n");
    IMPObj imported;
    g_mapImportedLists.Add("Import_1", imported);
    g_mapStatsTransactions.Add("STALE", TObj());
    CMySuperGrid grid;
    EXPECT_EQ(Keys(g_mapStatsTransactions).size(), 0u);  // a new grid starts the statistics maps empty
    EXPECT_TRUE(g_mapImportedLists.Contains("Import_1"));  // but leaves the imported lists alone
    Create(grid);
    ASSERT_EQ(grid.AddBrokerLogRows(), 2);

    grid.CheckAllRoots(true);
    Pump();
    EXPECT_EQ(owner.loaded, 2);
    EXPECT_EQ(Keys(g_mapStatsTransactions),
              (std::vector<std::string>{"LOGIN_QUILLAN", "On Client Unregister", "On Process Dies", "PAYMENT"}));
    EXPECT_TRUE(g_mapStatsClientIds.Contains("WS0104"));
    EXPECT_TRUE(g_mapStatsClientIds.Contains("BATCH01"));
    EXPECT_EQ(g_mapStatsServerIds.GetCount(), 2);
    EXPECT_EQ(grid.GetStatusText(), "2 lines loaded");
    EXPECT_TRUE(grid.GetTreeItem(0)->GetData()->GetCheck());

    EXPECT_EQ(grid.MarkCheckedLogs(), 2);
    HObj rec;
    g_mapLoadedLogs.Get("20230503QBroker.log", rec);
    EXPECT_EQ(rec.m_bChosen, 1);
    grid.SetCheck(1, FALSE);
    EXPECT_EQ(grid.MarkCheckedLogs(), 1);
    g_mapLoadedLogs.Get("20230503QBroker.log", rec);
    EXPECT_EQ(rec.m_bChosen, 0);  // unticked since: unmarked
}

TEST_F(MySuperGridTest, ADeletedLogGivesItsMessageAndPostsNothing) {
    Load("20230502QBroker.log", "QBROKER", "");  // never written
    CMySuperGrid grid;
    Create(grid);
    ASSERT_EQ(grid.AddBrokerLogRows(), 1);
    grid.SetCheck(0, TRUE);
    Pump();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("File not available !!!\n") + (dir / "20230502QBroker.log").c_str());
    EXPECT_EQ(owner.loaded, 0);
}

TEST_F(MySuperGridTest, NotAvailableRowsRefuseColumnZeroAndImagesFollowTheNode) {
    CMySuperGrid grid;
    Create(grid);
    auto* na = new CItemInfo;
    na->SetItemText("20230502QBroker.log - N/A");
    grid.InsertRootItem(na);
    auto* ok = new CItemInfo;
    ok->SetItemText("20230503QBroker.log");
    CTreeItem* parent = grid.InsertRootItem(ok);
    EXPECT_FALSE(grid.CanClickItem(0, 0));
    EXPECT_TRUE(grid.CanClickItem(0, 1));
    EXPECT_TRUE(grid.CanClickItem(1, 0));

    EXPECT_EQ(grid.GetItemImage(parent), 2);  // no image, no children
    grid.InsertItem(parent, new CItemInfo);
    EXPECT_EQ(grid.GetItemImage(parent), 0);  // collapsed
    grid.Expand(parent, 1);
    EXPECT_EQ(grid.GetItemImage(parent), 1);
    EXPECT_EQ(grid.GetItemCount(), 3);

    grid.OnUpdateItemText(parent, 0, "Bugs: Impossible");
    EXPECT_EQ(grid.GetItemText(1, 0), "Bugs: Impossible (selfconfidence allright)");
}

TEST_F(MySuperGridTest, LongTextsAreCutWithDots) {
    HDC dc = ::GetDC(owner.m_hWnd);
    SIZE whole{};
    CString text = "20230502QBroker.log with a long tail";
    ::GetTextExtentPoint32(dc, text, text.GetLength(), &whole);
    EXPECT_EQ(CSuperGridCtrl::CutTextToWidth(dc, text, whole.cx), text);
    CString cut = CSuperGridCtrl::CutTextToWidth(dc, text, whole.cx / 2);
    EXPECT_EQ(cut.Right(3), "...");
    EXPECT_LT(cut.GetLength(), text.GetLength());
    SIZE size{};
    ::GetTextExtentPoint32(dc, cut, cut.GetLength(), &size);
    EXPECT_LE(size.cx, whole.cx / 2);
    // One more character would not fit.
    CString longer = text.Left(cut.GetLength() - 2) + "...";
    ::GetTextExtentPoint32(dc, longer, longer.GetLength(), &size);
    EXPECT_GT(size.cx, whole.cx / 2);
    ::ReleaseDC(owner.m_hWnd, dc);
}

TEST_F(MySuperGridTest, TheCellEditorEndsWithItsTextOrWithoutOneAfterEscape) {
    CSuperGridCtrl grid;  // the base control opens an editor on every cell
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, &owner, 4097));
    grid.InsertColumn(0, "Tree", LVCFMT_LEFT, 200);
    auto* info = new CItemInfo;
    info->SetItemText("old");
    CTreeItem* node = grid.InsertRootItem(info);

    struct Case {
        UINT key;
        const char* typed;
        const char* reported;
        const char* stored;
    } cases[] = {{VK_ESCAPE, "ignored", "<none>", "old"}, {VK_RETURN, "new", "new", "new"}};
    for (const Case& c : cases) {
        owner.edits.clear();
        grid.EditCell(0, 0);
        HWND editor = ::GetFocus();
        ASSERT_NE(editor, grid.m_hWnd);
        ASSERT_EQ(::GetParent(editor), grid.m_hWnd);
        ::SetWindowText(editor, c.typed);
        ::SendMessage(editor, WM_KEYDOWN, c.key, 0);
        Pump();
        EXPECT_FALSE(::IsWindow(editor)) << c.typed;
        EXPECT_EQ(owner.edits, (std::vector<std::string>{c.reported}));
        EXPECT_EQ(node->GetData()->GetItemText(), c.stored);
        EXPECT_EQ(grid.GetItemText(0, 0), c.stored);
    }
}
