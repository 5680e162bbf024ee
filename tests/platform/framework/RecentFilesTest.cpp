// The recent-file list: opens put paths first, nine opens keep eight, the list survives a restart
// through the profile, and the File menu shows it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/framework/app/RecentFileList.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/framework/window/Menu.h"
#include "tests/support/TempRegistry.h"

namespace {
std::vector<std::string> Names(const CRecentFileList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetSize(); ++i)
        out.push_back(list[i].GetString());
    return out;
}

std::string Path(int i) {
    return "/data/logs/QBroker" + std::to_string(i) + ".log";
}
}  // namespace

TEST(RecentFiles, NineOpensKeepEightNewestFirstAcrossARestart) {
    TempRegistry registry;
    {
        CWinApp app("RecentApp");
        app.SetRegistryKey("TestKey");
        app.LoadStdProfileSettings(8);
        ASSERT_NE(app.m_pRecentFileList, nullptr);
        for (int i = 1; i <= 9; ++i)
            app.AddToRecentFileList(Path(i).c_str());
        // Opening one already listed moves it to the top; paths are compared exactly.
        app.AddToRecentFileList(Path(5).c_str());
        app.AddToRecentFileList("/data/logs/qbroker9.log");
        std::vector<std::string> expected{
            "/data/logs/qbroker9.log", Path(5), Path(9), Path(8), Path(7), Path(6), Path(4), Path(3)};
        EXPECT_EQ(Names(*app.m_pRecentFileList), expected);
        EXPECT_EQ(app.ExitInstance(), 0);  // saves the list
        EXPECT_EQ(std::string(app.GetProfileString("Recent File List", "File1").GetString()),
                  "/data/logs/qbroker9.log");
        EXPECT_EQ(std::string(app.GetProfileString("Recent File List", "File8").GetString()), Path(3));
    }
    {
        CWinApp app("RecentApp");
        app.SetRegistryKey("TestKey");
        app.LoadStdProfileSettings(8);
        std::vector<std::string> expected{
            "/data/logs/qbroker9.log", Path(5), Path(9), Path(8), Path(7), Path(6), Path(4), Path(3)};
        EXPECT_EQ(Names(*app.m_pRecentFileList), expected);
        // A removed entry closes up the list; the next save drops the last stored entry.
        app.m_pRecentFileList->Remove(0);
        app.SaveStdProfileSettings();
        EXPECT_EQ(std::string(app.GetProfileString("Recent File List", "File1").GetString()), Path(5));
        EXPECT_TRUE(app.GetProfileString("Recent File List", "File8").IsEmpty());
    }
}

TEST(RecentFiles, TheMenuShowsTheListOrTheGreyedPlaceholder) {
    TempRegistry registry;
    CWinApp app("RecentMenuApp");
    app.SetRegistryKey("TestKey");
    app.LoadStdProfileSettings(4);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Open");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
    auto update = [&] {
        CCmdUI ui;
        ui.m_pMenu = &menu;
        ui.m_nIndex = 1;
        ui.m_nID = ID_FILE_MRU_FILE1;
        ui.m_nIndexMax = (UINT)menu.GetMenuItemCount();
        app.m_pRecentFileList->UpdateMenu(&ui);
    };
    update();
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_TRUE(menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    app.AddToRecentFileList("/a/one.log");
    app.AddToRecentFileList("/b/R&D.log");
    update();
    ASSERT_EQ(menu.GetMenuItemCount(), 4);
    CString text;
    menu.GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text.GetString()), "&1 /b/R&&D.log");
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text.GetString()), "&2 /a/one.log");
    EXPECT_EQ(menu.GetMenuItemID(2), (UINT)ID_FILE_MRU_FILE2);
    EXPECT_EQ(menu.GetMenuItemID(3), (UINT)ID_APP_EXIT);
}
