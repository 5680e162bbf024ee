// The search dialog driven as a user drives it: typing into the fields, clicking buttons, headers and
// rows, on the headless display. Viewers are recorded by the probe program standing in for them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <set>

#include "platform/base/Clock.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Profile.h"
#include "res/sifter/SifterResources.h"
#include "sifter/program/SifterApp.h"
#include "sifter/program/SifterDlg.h"
#include "tests/platform/base/ProcessTestSupport.h"
#include "tests/support/Gui.h"

using namespace process_test;

namespace {
struct Row {
    std::string name, folder, size, modified, text;
    bool operator<(const Row& o) const { return folder + name < o.folder + o.name; }
    bool operator==(const Row& o) const {
        return name == o.name && folder == o.folder && size == o.size && modified == o.modified &&
               text == o.text;
    }
};
std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "[" << r.name << "|" << r.folder << "|" << r.size << "|" << r.modified << "|" << r.text
               << "]";
}

// Tells when the dialog ends (a modeless dialog stays visible until its owner destroys it).
class TestDlg : public CSifterDlg {
public:
    using CSifterDlg::CSifterDlg;
    void OnCancel() override {
        if (!IsSearching())
            ended = true;
        CSifterDlg::OnCancel();
    }
    bool ended = false;
};

class SifterDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&SifterResources());
        AfxGetProfile().SetRegistryKey("Ardwick");
        AfxGetProfile().SetProfileName("Sifter");
        logs = root / "my logs";
        std::filesystem::create_directories(logs + "/sub");
        Put("a.log", "start\nerror and then a timeout\n");
        Put("sub/b.log", "ERROR: TIMEOUT\n");
        Put("c.log", "error only\n");
        Put("d.txt", "error timeout\n");
        Put("bin.log", std::string("\x01\x02 error timeout ", 17) + std::string(12000, 'x'));
    }
    void TearDown() override {
        if (dlg && ::IsWindow(dlg->m_hWnd))
            dlg->DestroyWindow();
        dlg.reset();
        Pump(true);
    }
    void Put(const std::string& name, const std::string& bytes) {
        WriteFile(logs + "/" + name, bytes, 0644);
        // A fixed modification time, so the modified column is known.
        struct utimbuf times {
            kModified, kModified
        };
        ::utime((logs + "/" + name).c_str(), &times);
    }
    void Open() {
        dlg = std::make_unique<TestDlg>(&app);
        ASSERT_TRUE(dlg->Create(IDD_SIFTER_DIALOG));
        dlg->ShowWindow(SW_SHOW);
        Pump(true);
    }
    HWND Item(int id) { return ::GetDlgItem(dlg->m_hWnd, id); }
    void Type(int id, const std::string& text) {
        ::SetFocus(Item(id));
        ::SendMessage(Item(id), EM_SETSEL, 0, -1);
        SimulateKey(VK_DELETE);
        SimulateChars(text.c_str());
        Pump(true);
    }
    void Click(int id) {
        RECT r;
        ::GetClientRect(Item(id), &r);
        SimulateClick(Item(id), r.right / 2, r.bottom / 2);
        Pump(true);
    }
    void ClickHeader(int column) {
        HWND header = (HWND)::SendMessage(Item(IDC_RESULTS), LVM_GETHEADER, 0, 0);
        RECT r;
        ::SendMessage(header, HDM_GETITEMRECT, (WPARAM)column, (LPARAM)&r);
        SimulateClick(header, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Pump(true);
    }
    void DoubleClickRow(int row) {
        RECT r;
        dlg->GetResultList().GetItemRect(row, &r, LVIR_BOUNDS);
        SimulateClick(Item(IDC_RESULTS), r.left + 20, (r.top + r.bottom) / 2);
        SimulateMouseButton(Item(IDC_RESULTS), r.left + 20, (r.top + r.bottom) / 2, WM_LBUTTONDBLCLK,
                            WM_LBUTTONUP);
        Pump(true);
    }
    void Search(const std::string& folder, const std::string& masks, const std::string& text) {
        Type(IDC_BASEFOLDER, folder);
        Type(IDC_FILEMASK, masks);
        Type(IDC_FINDTEXT, text);
        Click(IDOK);
    }
    std::vector<Row> Rows() {
        CListCtrl& list = dlg->GetResultList();
        std::vector<Row> rows;
        for (int i = 0; i < list.GetItemCount(); ++i)
            rows.push_back({list.GetItemText(i, 0).GetString(), list.GetItemText(i, 1).GetString(),
                            list.GetItemText(i, 2).GetString(), list.GetItemText(i, 3).GetString(),
                            list.GetItemText(i, 4).GetString()});
        return rows;
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (const Row& r : Rows())
            out.push_back(column == 0 ? r.name : column == 2 ? r.size : r.modified);
        return out;
    }
    std::string Status() { return GetWindowTextString(Item(IDC_STATUS)).GetString(); }
    std::string Modified() { return CTime(kModified).Format("%d-%m-%Y %I:%M %p").GetString(); }
    CString Setting(LPCTSTR name) { return AfxGetProfile().GetProfileString("Settings", name, "<none>"); }

    static constexpr time_t kModified = 1321000000;  // 11 November 2011
    TempDir root;
    ScopedEnv registry{"VELTRIN_REGISTRY", root / "registry.reg"};
    std::string logs;
    CSifterApp app;
    std::unique_ptr<TestDlg> dlg;
};

TEST_F(SifterDlgTest, SearchListsExactlyTheHitsWithTheirColumnsAndSavesTheSettingsOnClose) {
    Open();
    EXPECT_EQ(GetWindowTextString(dlg->m_hWnd), CString("Sifter V2.08"));
    EXPECT_EQ(Status(), "0 items found");
    Search(logs, "log", "error&&timeout");
    std::vector<Row> rows = Rows();
    std::sort(rows.begin(), rows.end());
    std::string folder = logs + "/";
    std::vector<Row> expected = {
        {"a.log", folder, "31 B", Modified(), "error"},
        {"bin.log", folder, "11 KB", Modified(), "error"},
        {"b.log", folder + "sub/", "15 B", Modified(), "error"},
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(Status(), "3 items found");
    EXPECT_EQ(GetWindowTextString(Item(IDOK)), CString("Search"));
    EXPECT_EQ(app.m_sFindText, CString("error&&timeout"));

    // The header's titles and widths.
    const int widths[] = {168, 240, 66, 108, 138};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(dlg->GetResultList().GetColumnWidth(c), widths[c]) << c;

    Click(IDC_SUBFOLDERS);  // off
    ::SendMessage(dlg->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(Setting("LastBaseFolder"), CString(logs.c_str()));
    EXPECT_EQ(Setting("SubFolders"), CString("NO"));
    EXPECT_EQ(Setting("UseDefaultViewer"), CString("NO"));
    EXPECT_EQ(Setting("HiddenFiles"), CString("YES"));

    // The next start takes them back.
    CSifterDlg again(&app);
    EXPECT_EQ(again.m_sBaseFolder, CString(logs.c_str()));
    EXPECT_FALSE(again.m_bSubFolders);
}

TEST_F(SifterDlgTest, TheFrameSizesDownToItsFirstShownSizeOnlyAndTheListFollows) {
    Open();
    EXPECT_TRUE(dlg->GetStyle() & WS_THICKFRAME);
    RECT first, list;
    dlg->GetWindowRect(&first);
    ::GetWindowRect(Item(IDC_RESULTS), &list);
    int w = first.right - first.left, h = first.bottom - first.top;
    dlg->SetWindowPos(nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT now;
    dlg->GetWindowRect(&now);
    EXPECT_EQ(now.right - now.left, w);
    EXPECT_EQ(now.bottom - now.top, h);
    dlg->SetWindowPos(nullptr, 0, 0, w + 200, h + 50, SWP_NOMOVE | SWP_NOZORDER);
    // The list keeps its place; its margins right and below are its left margin.
    RECT grown, client;
    ::GetWindowRect(Item(IDC_RESULTS), &grown);
    dlg->GetClientRect(&client);
    POINT at{grown.left, grown.top};
    dlg->ScreenToClient(&at);
    EXPECT_EQ(grown.right - grown.left, client.right - 2 * at.x);
    EXPECT_EQ(grown.bottom - grown.top, client.bottom - at.y - at.x);
    EXPECT_GT(grown.right - grown.left, list.right - list.left + 190);
}

TEST_F(SifterDlgTest, EachMaskIsWrappedAndTwoMasksOfOneFileGiveTwoRows) {
    EXPECT_EQ(CSifterDlg::WrapMasks("log, .txt;a*"), CString("*log* *.txt* a*"));
    EXPECT_EQ(CSifterDlg::WrapMasks(""), CString("*"));
    Open();
    Click(IDC_SUBFOLDERS);  // off
    Search(logs, "a.log a.l", "");
    std::vector<std::string> names = Column(0);
    EXPECT_EQ(names, (std::vector<std::string>{"a.log", "a.log"}));
    EXPECT_EQ(Rows()[0].text, " ");  // masks without a text search one blank
}

TEST_F(SifterDlgTest, AddAndRemoveModesChangeTheRowsAsTheyFindFiles) {
    Open();
    Search(logs, "log", "timeout");
    EXPECT_EQ(Rows().size(), 3u);
    Click(IDC_ADDTOLIST);
    Click(IDOK);
    EXPECT_EQ(Rows().size(), 3u) << "no row twice";
    Put("e.log", "timeout\n");
    Click(IDOK);
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Rows().back().name, "e.log");
    Click(IDC_REMOVEFROMLIST);
    Type(IDC_FILEMASK, "e.log");
    Click(IDOK);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(Status(), "1 items found");
    Type(IDC_FILEMASK, "log");
    Click(IDOK);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(SifterDlgTest, SizeFilterInKilobytes) {
    Open();
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_MINSIZE)));
    Click(IDC_SIZEFILTER);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_MINSIZE)));
    Put("empty.log", "");
    Type(IDC_MINSIZE, "0");
    Type(IDC_MAXSIZE, "0");
    Search(logs, "log", "");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"empty.log"}));
    Type(IDC_MINSIZE, "1");
    Type(IDC_MAXSIZE, "4000000");  // past 4 GB in bytes: computed in 64 bits
    Click(IDOK);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"bin.log"}));
}

TEST_F(SifterDlgTest, AndWithOrIsASyntaxErrorAndNothingIsSearched) {
    MessageBoxRecorder boxes;
    Open();
    Search(logs, "log", "error && timeout || x");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_STREQ(boxes.Calls()[0].text,
                 "Syntax Error: Cannot have AND ('&&') and OR ('||') search operators combined!!!");
    EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_ICONEXCLAMATION | MB_SETFOREGROUND));
    EXPECT_EQ(boxes.Calls()[0].caption, CString("Sifter"));  // the program's own title
    EXPECT_EQ(::GetFocus(), Item(IDC_FINDTEXT));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Status(), "0 items found");
}

TEST_F(SifterDlgTest, AColumnClickSortsAscendingThenDescending) {
    Put("big.log", std::string(20000, 'e'));
    Open();
    Click(IDC_SUBFOLDERS);
    Search(logs, "log", "");
    ClickHeader(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"11 B", "31 B", "11 KB", "19 KB"}));
    ClickHeader(2);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"19 KB", "11 KB", "31 B", "11 B"}));
    ClickHeader(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a.log", "big.log", "bin.log", "c.log"}));
}

class SifterViewerTest : public SifterDlgTest {
protected:
    void SetUp() override {
        SifterDlgTest::SetUp();
        CopyProbe(bin / "Scrivel");
        CopyProbe(bin / "Bytescope");
    }
    // The command line and arguments the viewer was started with.
    std::optional<ProbeRecord> Launched(const std::function<void()>& action) {
        std::string out = root / "probe.out";
        std::remove(out.c_str());
        ProbeGate gate(root / "gate");
        ScopedEnv o("VELTRIN_PROBE_OUT", out);
        ScopedEnv f("VELTRIN_PROBE_FIFO", gate.Path());
        action();
        if (!gate.Open())
            return std::nullopt;
        auto record = ReadProbe(out);
        gate.Release();
        return record;
    }
    TempDir bin;
    ScopedEnv path{"PATH", bin.Path() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin")};
};

TEST_F(SifterViewerTest, DoubleClickStartsScrivelOnTextAndBytescopeOnBinary) {
    Open();
    Click(IDC_SUBFOLDERS);
    Search(logs, "a.log bin.log", "timeout");
    ClickHeader(0);
    ASSERT_EQ(Column(0), (std::vector<std::string>{"a.log", "bin.log"}));
    auto text = Launched([&] { DoubleClickRow(0); });
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Get("cmdline"), "Scrivel \"" + logs + "/a.log\" SEARCH=timeout");
    EXPECT_EQ(text->args, (std::vector<std::string>{"Scrivel", logs + "/a.log", "SEARCH=timeout"}));
    EXPECT_EQ(text->Get("title"), "LaunchWinAppFg-->" + text->Get("cmdline"));
    auto binary = Launched([&] { DoubleClickRow(1); });
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->Get("cmdline"), "Bytescope \"" + logs + "/bin.log\" SEARCH=timeout");

    // The menu's viewers take the text field, whatever the row found.
    Type(IDC_FINDTEXT, "other words");
    auto menu = Launched([&] { ::SendMessage(dlg->m_hWnd, WM_COMMAND, ID_TEXTVIEWER, 0); });
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->args, (std::vector<std::string>{"Scrivel", logs + "/bin.log", "SEARCH=other words"}));
}

TEST_F(SifterViewerTest, AwkwardNamesAreListedAndHandedOverWhole) {
    const std::set<std::string> names = {
        "a.", "q\"uote.log", "\"wrapped\".log", "back\\\" q.log", "tab\there.log", "a\" GOTOLINE=99 \"b.log"};
    const std::string odd = root / "odd";
    std::filesystem::create_directories(odd);
    for (const std::string& name : names)
        WriteFile(odd + "/" + name, "first line\nthe timeout is here\n", 0644);
    // Whatever a double click starts is recorded, and a message box does not wait for a user.
    CopyProbe(bin / "xdg-open");
    MessageBoxRecorder boxes;
    Open();
    Search(odd, "*", "timeout");
    std::set<std::string> listed;
    for (const Row& row : Rows()) {
        listed.insert(row.name);
        EXPECT_EQ(row.folder, odd + "/") << row.name;
    }
    EXPECT_EQ(listed, names);
    for (int i = 0; i < (int)names.size(); ++i) {
        const std::string name = Rows()[(size_t)i].name;
        SCOPED_TRACE(name);
        auto viewer = Launched([&] { DoubleClickRow(i); });
        ASSERT_TRUE(viewer);
        EXPECT_EQ(viewer->args, (std::vector<std::string>{"Scrivel", odd + "/" + name, "SEARCH=timeout"}));
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SifterViewerTest, WithoutASelectedRowNothingStarts) {
    MessageBoxRecorder boxes;
    Open();
    Search(logs, "a.log", "timeout");
    ASSERT_EQ(Rows().size(), 1u);
    ASSERT_EQ(dlg->GetResultList().GetSelectionMark(), -1);
    std::string out = root / "probe.out";
    ScopedEnv o("VELTRIN_PROBE_OUT", out);
    for (UINT id : {ID_BINARYVIEWER, ID_TEXTVIEWER, ID_DEFAULTVIEWER})
        ::SendMessage(dlg->m_hWnd, WM_COMMAND, id, 0);
    NMITEMACTIVATE dbl{};
    dbl.hdr = {Item(IDC_RESULTS), IDC_RESULTS, (UINT)NM_DBLCLK};
    dbl.iItem = -1;
    ::SendMessage(dlg->m_hWnd, WM_NOTIFY, IDC_RESULTS, (LPARAM)&dbl);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_FALSE(std::filesystem::exists(out));  // spawned children write before any pump returns
}

TEST_F(SifterDlgTest, RunNowWithVeltrinsLineAndListFile) {
    WriteFile(logs + "/_FF_.lst", "a.log,bin.log,", 0644);
    app.ReadCommandLine(
        ("Sifter BASEPATH=" + logs + "|FILEMASK=_FF_.lst|FINDTEXT=Timeout|SUBDIRS=N|EXECNOW=Y|").c_str());
    EXPECT_EQ(app.m_sCommandLine, CString(("\"" + logs + "\"").c_str()));
    Open();  // the search starts from the queue
    EXPECT_EQ(GetWindowTextString(Item(IDC_FILEMASK)), CString("a.log,bin.log,"));
    std::vector<std::string> names = Column(0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.log", "bin.log"}));
    EXPECT_EQ(Rows()[0].text, "Timeout");
    ::SendMessage(dlg->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(Setting("LastBaseFolder"), CString("<none>")) << "run-now saves only the hidden-files value";
    EXPECT_EQ(Setting("HiddenFiles"), CString("YES"));
}

TEST_F(SifterDlgTest, AnEmptyMaskFieldSearchesEveryFileAlsoAfterACommandLineMask) {
    app.ReadCommandLine(("Sifter BASEPATH=" + logs + "|FILEMASK=*.log|SUBDIRS=N").c_str());
    Open();
    for (const char* field : {"", " ,"}) {
        SCOPED_TRACE(field);
        Search(logs, field, "");
        std::vector<std::string> names = Column(0);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"a.log", "bin.log", "c.log", "d.txt"}));
    }
}

TEST_F(SifterDlgTest, AMissingListFileIsReported) {
    MessageBoxRecorder boxes;
    app.ReadCommandLine(("Sifter BASEPATH=" + logs + "/none|FILEMASK=_FF_.lst").c_str());
    Open();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(std::string(boxes.Calls()[0].text), "Unable to open file: " + logs + "/none/_FF_.lst");
    EXPECT_EQ(GetWindowTextString(Item(IDC_FILEMASK)), CString(""));
}

TEST_F(SifterDlgTest, AQuotedFolderLosesItsQuotesAndALoneQuoteIsSafe) {
    app.ReadCommandLine(("Sifter BASEPATH=' " + logs + " '").c_str());
    Open();
    EXPECT_EQ(GetWindowTextString(Item(IDC_BASEFOLDER)), CString(logs.c_str()));
    dlg->DestroyWindow();
    app.ReadCommandLine("Sifter BASEPATH=\"");
    Open();
    EXPECT_EQ(GetWindowTextString(Item(IDC_BASEFOLDER)), CString(""));
}

// Keys for the folder picker, one per timer tick inside its modal loop.
std::vector<UINT> g_pickerKeys;
CString g_pickerField;
DrivenClock* g_pickerClock = nullptr;
void PickerStep(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_pickerKeys.empty()) {
        KillTimer(nullptr, id);
        return;
    }
    HWND picker = GetActiveWindow();
    for (HWND c = GetWindow(picker, GW_CHILD); c && g_pickerField.IsEmpty(); c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32];
        GetClassName(c, cls, sizeof cls);
        if (AsciiCompareNoCase(cls, WC_EDIT) == 0)
            g_pickerField = GetWindowTextString(c);  // the picker's folder field as it opened
    }
    SimulateKey(g_pickerKeys.front());
    g_pickerKeys.erase(g_pickerKeys.begin());
    g_pickerClock->Advance(10);
}

TEST_F(SifterDlgTest, BrowseFillsTheFolderFieldWithTheChosenFolderAndCancelLeavesIt) {
    DrivenClock clock;
    g_pickerClock = &clock;
    Open();
    Type(IDC_BASEFOLDER, logs);
    for (bool cancel : {false, true}) {
        g_pickerField = "";
        g_pickerKeys = {VK_DOWN, UINT(cancel ? VK_ESCAPE : VK_RETURN)};  // from the folder to "sub"
        SetTimer(nullptr, 0, 10, PickerStep);
        clock.Advance(10);
        Click(IDC_BROWSE);
        EXPECT_TRUE(g_pickerKeys.empty());
        std::string field = cancel ? logs + "/sub" : logs;
        EXPECT_EQ(g_pickerField, CString(std::filesystem::canonical(field).c_str()));
        EXPECT_EQ(GetWindowTextString(Item(IDC_BASEFOLDER)),
                  CString(std::filesystem::canonical(logs + "/sub").c_str()));
    }
    g_pickerClock = nullptr;
}

TEST_F(SifterDlgTest, CloseDuringASearchStopsItAndClosesWhenItHasReturned) {
    Open();
    Type(IDC_BASEFOLDER, logs);
    Type(IDC_FILEMASK, "log");
    ::PostMessage(dlg->m_hWnd, WM_CLOSE, 0, 0);
    ::SendMessage(dlg->m_hWnd, WM_COMMAND, IDOK, 0);  // the search's pump takes the close
    EXPECT_FALSE(dlg->IsSearching());
    EXPECT_LT(Rows().size(), 4u);
    EXPECT_TRUE(dlg->ended);
    EXPECT_EQ(Setting("LastBaseFolder"), CString(logs.c_str()));
}

TEST_F(SifterDlgTest, AQuitDuringASearchStopsItAndIsPostedAgain) {
    Open();
    Type(IDC_BASEFOLDER, logs);
    Type(IDC_FILEMASK, "log");
    PostQuitMessage(7);
    ::SendMessage(dlg->m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_LT(Rows().size(), 4u);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 7u);
}
}  // namespace
