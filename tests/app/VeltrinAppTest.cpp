#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "app/VeltrinApp.h"
#include "core/RequestStrings.h"
#include "core/TraceLog.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Registry.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/ListView.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {
const char kKey[] = "Software\\VeltrinEx";

CString ReadVersion() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    char buffer[64] = {};
    DWORD size = sizeof buffer - 1;
    LONG r = RegQueryValueEx(key, "Version", nullptr, nullptr, (LPBYTE)buffer, &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? CString(buffer) : CString("<none>");
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void MakeKey(const char* path, const char* version = nullptr) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (version)
        RegSetValueEx(key, "Version", 0, REG_SZ, (const BYTE*)version, (DWORD)strlen(version) + 1);
    RegCloseKey(key);
}

class VeltrinAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[PATH_MAX];
        m_cwd = getcwd(cwd, sizeof cwd);
        RestartTraceLogAt((dir / "trace.log").c_str());
        app.SetRegistryKey("VeltrinEx");
        app.LoadStdProfileSettings(8);
        _csReportName.Empty();
    }
    void TearDown() override {
        if (chdir(m_cwd.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << m_cwd;
    }
    std::vector<CString> Recent() {
        std::vector<CString> out;
        for (int i = 0; i < app.m_pRecentFileList->GetSize(); ++i)
            if (!(*app.m_pRecentFileList)[i].IsEmpty())
                out.push_back((*app.m_pRecentFileList)[i]);
        return out;
    }

    TempRegistry registry;
    TempFolder dir;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    std::string m_cwd;
};
}  // namespace

TEST_F(VeltrinAppTest, VersionCheckKeepsSectionsAndStoresTheVersionFromTheSecondStart) {
    // No key at all: created and removed again, so nothing is stored.
    CVeltrinApp::CheckStoredVersion();
    EXPECT_FALSE(KeyExists(kKey));
    // Once the program has stored its sections, the version stays.
    MakeKey("Software\\VeltrinEx\\Veltrin\\Settings");
    CVeltrinApp::CheckStoredVersion();
    EXPECT_EQ(ReadVersion(), CString("4.21b"));
    EXPECT_TRUE(KeyExists("Software\\VeltrinEx\\Veltrin\\Settings"));
}

TEST_F(VeltrinAppTest, VersionCheckOfAnEarlierVersion) {
    struct Case {
        const char* version;
        const char* subKey;      // the first sub-key
        const char* section;     // a sub-key of it, or null
        bool subKeyStays;
        const char* versionAfter;
    } cases[] = {
        {"4.20", "Old", nullptr, false, "<no key>"},         // an empty first sub-key goes, and the key with it
        {"4.20", "Old", "Settings", true, "4.21b"},          // one with sections stays
        {"4.21b", "Old", nullptr, true, "4.21b"},            // the current version changes nothing
    };
    for (const Case& c : cases) {
        RegDeleteKey(HKEY_CURRENT_USER, "Software\\VeltrinEx\\Old\\Settings");
        RegDeleteKey(HKEY_CURRENT_USER, "Software\\VeltrinEx\\Old");
        RegDeleteKey(HKEY_CURRENT_USER, kKey);
        MakeKey(kKey, c.version);
        CString sub = CString(kKey) + "\\" + c.subKey;
        MakeKey(sub);
        if (c.section)
            MakeKey(sub + "\\" + c.section);
        CVeltrinApp::CheckStoredVersion();
        EXPECT_EQ(KeyExists(sub), c.subKeyStays) << c.version << " " << (c.section ? c.section : "");
        EXPECT_EQ(ReadVersion(), CString(c.versionAfter)) << c.version;
    }
}

TEST_F(VeltrinAppTest, RecentFilesMoveToTheTopKeepEightAndArePruned) {
    for (int i = 1; i <= 9; ++i) {
        CString path;
        path.Format("/logs/%dQBroker.log", i);
        app.AddToRecentFileList(path);
    }
    std::vector<CString> list = Recent();
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], CString("/logs/9QBroker.log"));
    EXPECT_EQ(list[7], CString("/logs/2QBroker.log"));
    // A match, without regard to case, moves up; the entries above it move down one.
    app.AddToRecentFileList("/LOGS/5qbroker.log");
    list = Recent();
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], CString("/LOGS/5qbroker.log"));
    EXPECT_EQ(list[1], CString("/logs/9QBroker.log"));
    EXPECT_EQ(list[5], CString("/logs/4QBroker.log"));
    EXPECT_EQ(list[7], CString("/logs/2QBroker.log"));

    // Report logs go; a folder holding "_" does not count.
    app.AddToRecentFileList("/home/j_doe/1QBroker.log");
    app.AddToRecentFileList("/logs/1QBroker_TA.log");
    app.AddToRecentFileList("/logs/2QBroker_T20.log");
    app.PruneRecentFileList();
    list = Recent();
    ASSERT_GE(list.size(), 1u);
    EXPECT_EQ(list[0], CString("/home/j_doe/1QBroker.log"));
    for (const CString& e : list)
        EXPECT_LT(e.Mid(e.ReverseFind('/')).Find('_'), 0) << (LPCTSTR)e;
}

TEST_F(VeltrinAppTest, OpeningByPathRefusesOtherFilesAndRemembersBrokerLogs) {
    std::string logs = dir / "q_logs";
    struct Case {
        std::string path;
        BOOL accepted;
        bool recent;
    } cases[] = {
        {logs + "/notes.log", FALSE, false},
        {dir / "QBROKER_area/notes.log", FALSE, false},  // the folder's name does not count
        {logs + "/20230502QServer7001.log", TRUE, false},
        {logs + "/20230502QBroker.log", TRUE, true},
    };
    dir.Write("q_logs/x", "");
    dir.Write("QBROKER_area/x", "");
    for (const Case& c : cases) {
        boxes.Clear();
        _csReportName.Empty();
        EXPECT_EQ(MyShellFileOpen(c.path.c_str()), c.accepted) << c.path;
        if (c.accepted) {
            EXPECT_TRUE(boxes.Calls().empty());
            EXPECT_EQ(_csReportName, CString(c.path.c_str()));
        } else {
            ASSERT_EQ(boxes.Calls().size(), 1u) << c.path;
            EXPECT_EQ(boxes.Calls()[0].text, CString("This Studio can only work with QBroker or QServer logs!"));
            EXPECT_EQ(boxes.Calls()[0].type & MB_ICONEXCLAMATION, (UINT)MB_ICONEXCLAMATION);
        }
        bool inRecent = !Recent().empty() && Recent()[0] == CString(c.path.c_str());
        EXPECT_EQ(inRecent, c.recent) << c.path;
    }
    EXPECT_EQ(app.GetProfileString("OpenFileDirectory", "Directory", ""), CString(logs.c_str()));
    EXPECT_EQ(_csBaseFolder, CString(logs.c_str()));

    // A relative path is made absolute; its folder becomes the working directory.
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    EXPECT_TRUE(MyShellFileOpen("q_logs/20230502QServer7002.log"));
    EXPECT_EQ(_csReportName, CString((logs + "/20230502QServer7002.log").c_str()));
    char cwd[PATH_MAX];
    EXPECT_EQ(std::string(getcwd(cwd, sizeof cwd)), logs);

    boxes.Clear();
    EXPECT_FALSE(MyShellFileOpen(""));
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(VeltrinAppTest, ARefusedRecentEntryIsRemoved) {
    app.AddToRecentFileList("/logs/1QBroker.log");
    app.AddToRecentFileList("/logs/notes.txt");
    EXPECT_TRUE(app.OnOpenRecentFile(ID_FILE_MRU_FILE1));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    std::vector<CString> list = Recent();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], CString("/logs/1QBroker.log"));
}

TEST_F(VeltrinAppTest, StoppingEndsTheProcessWithStatusZero) {
    std::vector<int> ended;
    auto previous = g_endVeltrinProcess;
    g_endVeltrinProcess = [&](int status) { ended.push_back(status); };
    _csStartDir = m_cwd.c_str();
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    EXPECT_EQ(StopVeltrin(), -1);  // the recorder did not end it
    g_endVeltrinProcess = previous;
    _csStartDir.Empty();
    EXPECT_EQ(ended, std::vector<int>{0});
    char cwd[PATH_MAX];
    EXPECT_EQ(std::string(getcwd(cwd, sizeof cwd)), m_cwd);
}

TEST_F(VeltrinAppTest, FileOpenDialogOffersBrokerLogsAndReturnsEachChosenPath) {
    auto display = std::make_shared<HeadlessDisplay>();
    SetDisplayBackend(display);
    for (const char* name : {"QBroker_1.log", "QBroker_2.log", "QServer_1.log"})
        dir.Write(name, "x");
    ModalSteps modal;
    CString title;
    int rows = 0;
    modal.Start({[&](HWND d) {
                     char text[128] = "";
                     GetWindowText(d, text, sizeof text);
                     title = text;
                     HWND list = GetDlgItem(d, IDC_FILE_LIST);
                     rows = (int)SendMessage(list, LVM_GETITEMCOUNT, 0, 0);
                     for (int row : {1, 2}) {
                         LVITEM item{};
                         item.stateMask = LVIS_SELECTED;
                         item.state = LVIS_SELECTED;
                         SendMessage(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
                     }
                 },
                 ModalSteps::ClickItem(IDOK)});
    std::vector<CString> paths = g_chooseLogsToOpen(dir.Path().c_str());
    SetDisplayBackend(nullptr);
    EXPECT_EQ(title, "Select QBroker Files to Load...");
    EXPECT_EQ(rows, 3);  // "..", then the two broker logs
    EXPECT_EQ(paths, (std::vector<CString>{(dir / "QBroker_1.log").c_str(), (dir / "QBroker_2.log").c_str()}));
}
