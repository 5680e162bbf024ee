// The shortcut-key organizer: key texts both ways, its tables built from the frame and the template,
// editing and applying them, and "AcceleratorsState" in the registry.
#include <gtest/gtest.h>

#include <string>

#include "guilib/frame/OXRegistryValFile.h"
#include "guilib/frame/OXShortkeysOrganizer.h"
#include "tests/guilib/frame/WorkspaceTestSupport.h"
#include "tests/support/TempRegistry.h"

using namespace mdi_test;

TEST(ShortkeyTexts, ParseAndSpell) {
    struct Case {
        const char* text;
        BOOL ok;
        BYTE flags;
        WORD key;
        const char* spelled;  // GetKeyText of the parsed key
    } cases[] = {
        {"ctrl+shift+F3", TRUE, FVIRTKEY | FSHIFT | FCONTROL, 114, "Shift+Ctrl+F3"},
        {"Alt+Num 5", TRUE, FVIRTKEY | FALT, 101, "Alt+Num 5"},
        {"Ctrl+Backspace", FALSE, 0, 0, nullptr},
        {"Ctrl++", TRUE, FVIRTKEY | FCONTROL, VK_OEM_PLUS, nullptr},
        {"Ctrl+/", TRUE, FVIRTKEY | FCONTROL, 111, "Ctrl+/"},
        {"  Shift+a ", TRUE, FVIRTKEY | FSHIFT, 'A', "Shift+A"},
        {"Hyper+Del", TRUE, FVIRTKEY, 46, "Del"},
        {"Num 10", FALSE, 0, 0, nullptr},
        {"   ", FALSE, 0, 0, nullptr},
        {"Ctrl+\xB5", FALSE, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        ACCEL a{};
        EXPECT_EQ(COXShortkeysOrganizer::ParseKeyText(c.text, &a), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_EQ(a.fVirt, c.flags) << c.text;
        EXPECT_EQ(a.key, c.key) << c.text;
        if (c.spelled) {
            EXPECT_EQ(COXShortkeysOrganizer::GetKeyText(&a), CString(c.spelled)) << c.text;
        }
    }
    // A character key is spelled as itself; the key 191 as "Slash".
    ACCEL character{FCONTROL, 'q', 0}, slash{FVIRTKEY, 191, 0};
    EXPECT_EQ(COXShortkeysOrganizer::GetKeyText(&character), CString("Ctrl+q"));
    EXPECT_EQ(COXShortkeysOrganizer::GetKeyText(&slash), CString("Slash"));
}

TEST(ShortkeyTexts, EveryNameOfTheTableRoundTrips) {
    std::vector<std::string> names = {"Slash", "Enter", "End", "Insert", "Del", "Home", "Page Up", "Page Down",
                                      "Esc", "Num /", "Num *", "Num -", "Num +", "Up", "Down", "Right", "Left"};
    for (int i = 1; i <= 12; ++i)
        names.push_back("F" + std::to_string(i));
    for (int i = 0; i <= 9; ++i)
        names.push_back("Num " + std::to_string(i));
    for (const std::string& name : names) {
        ACCEL a{};
        ASSERT_TRUE(COXShortkeysOrganizer::ParseKeyText(("Alt+" + name).c_str(), &a)) << name;
        // The keypad's divide key is spelled as its character, which parses back to it.
        std::string spelled = name == "Num /" ? "/" : name;
        CString text = COXShortkeysOrganizer::GetKeyText(&a);
        EXPECT_EQ(text, CString(("Alt+" + spelled).c_str())) << name;
        ACCEL back{};
        ASSERT_TRUE(COXShortkeysOrganizer::ParseKeyText(text, &back)) << name;
        EXPECT_EQ(back.key, a.key) << name;
        EXPECT_EQ(back.fVirt, a.fVirt) << name;
    }
}

class ShortkeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.app.SetRegistryKey("Test");
        ASSERT_TRUE(organizer.Attach(env.frame));
    }
    TempRegistry registry;
    App env;
    COXShortkeysOrganizer organizer;
};

TEST_F(ShortkeysTest, TablesAreBuiltEditedAndApplied) {
    EXPECT_FALSE(organizer.Attach(env.frame));
    ASSERT_EQ(organizer.GetAccelTables().size(), 2u);
    EXPECT_EQ(organizer.GetAccelTables()[1].m_pDocTemplate, env.tmpl);
    EXPECT_EQ(organizer.FindAccelerator(FVIRTKEY | FCONTROL | FNOINVERT, 'O'), (WORD)ID_FILE_OPEN);
    EXPECT_EQ(organizer.FindAccelerator(FVIRTKEY | FCONTROL, 'E', env.tmpl), (WORD)ID_CMD_A);

    // A taken key is refused unless replaced; the replaced binding is kept among the removed ones.
    EXPECT_FALSE(organizer.SetAccelerator(FVIRTKEY | FCONTROL, 'O', ID_CMD_B));
    EXPECT_TRUE(organizer.SetAccelerator(FVIRTKEY | FCONTROL, 'O', ID_CMD_B, nullptr, TRUE));
    EXPECT_TRUE(organizer.SetAccelerator(FVIRTKEY, VK_F3, ID_CMD_B, env.tmpl));
    ASSERT_EQ(organizer.GetRemovedAccelerators().size(), 1u);
    EXPECT_EQ(organizer.GetRemovedAccelerators()[0].m_accelerators[0].cmd, (WORD)ID_FILE_OPEN);
    std::vector<ACCEL> found;
    EXPECT_TRUE(organizer.GetCommandAccelerators(ID_CMD_B, nullptr, found));
    EXPECT_EQ(found.size(), 1u);

    CDocument* doc = env.Open("");
    ASSERT_TRUE(doc);
    HACCEL old = env.tmpl->m_hAccelTable;
    ASSERT_TRUE(organizer.Apply());
    EXPECT_NE(env.tmpl->m_hAccelTable, old);
    CMDIChildWnd* child = env.frame->MDIGetActive();
    ASSERT_TRUE(child);
    EXPECT_EQ(child->m_hAccelTable, env.tmpl->m_hAccelTable);

    // The new keys send their commands in the frame and in the open child.
    env.frame->commands.clear();
    env.Key('O', true);
    env.Key(VK_F3);
    EXPECT_EQ(env.frame->commands, (std::vector<UINT>{ID_CMD_B, ID_CMD_B}));
    child->SendMessage(WM_CLOSE);
    env.Pump();
    ASSERT_FALSE(env.frame->MDIGetActive());
    env.frame->commands.clear();
    env.Key(VK_F3);
    env.Key('O', true);
    EXPECT_EQ(env.frame->commands, (std::vector<UINT>{ID_CMD_B}));

    EXPECT_TRUE(organizer.RemoveCommand(ID_CMD_B, env.tmpl));
    EXPECT_EQ(organizer.FindAccelerator(FVIRTKEY, VK_F3, env.tmpl), 0);
    EXPECT_TRUE(organizer.Detach());
    EXPECT_EQ(organizer.FindAccelerator(FVIRTKEY | FCONTROL, 'O'), 0);
    EXPECT_FALSE(organizer.SetAccelerator(FVIRTKEY, VK_F4, ID_CMD_A));
}

TEST_F(ShortkeysTest, StateIsSavedAsItsBytesAndLoadedOnlyWhenItFits) {
    organizer.RemoveCommand(ID_CMD_A, env.tmpl);
    organizer.SetAccelerator(FVIRTKEY | FSHIFT, VK_F2, 0x1234, env.tmpl);
    ASSERT_TRUE(organizer.SaveState("Keys"));
    std::string expected = std::string("\x02\x00\x00\x00", 4) + std::string("\x01\x00\x00\x00", 4) +
                           std::string("\x09\x4F\x00", 3) + std::string("\x01\xE1", 2) +
                           std::string("\x01\x00\x00\x00", 4) + std::string("\x05\x71\x00\x34\x12", 5);
    std::string stored;
    {
        COXRegistryValFile file(HKEY_CURRENT_USER, "Software\\Test\\WorkApp\\Keys", "AcceleratorsState");
        stored.resize((size_t)file.GetLength());
        file.Read(stored.data(), (UINT)stored.size());
        EXPECT_EQ(stored, expected);
    }
    // A fresh organizer takes the saved tables and applies them.
    COXShortkeysOrganizer other;
    organizer.Detach();
    ASSERT_TRUE(other.Attach(env.frame));
    EXPECT_EQ(other.FindAccelerator(FVIRTKEY | FCONTROL, 'E', env.tmpl), (WORD)ID_CMD_A);
    ASSERT_TRUE(other.LoadState("Keys"));
    EXPECT_EQ(other.FindAccelerator(FVIRTKEY | FCONTROL, 'E', env.tmpl), 0);
    EXPECT_EQ(other.FindAccelerator(FVIRTKEY | FSHIFT, VK_F2, env.tmpl), 0x1234);

    // Damaged or mismatched states change nothing: truncations, three tables, a count beyond the data.
    auto write = [](const std::string& bytes) {
        COXRegistryValFile file(HKEY_CURRENT_USER, "Software\\Test\\WorkApp\\Keys", "AcceleratorsState");
        file.SetLength(0);
        file.Write(bytes.data(), (UINT)bytes.size());
        file.Close();
    };
    std::vector<std::string> bad;
    for (size_t cut = 1; cut < expected.size(); ++cut)
        bad.push_back(expected.substr(0, cut));
    bad.push_back(std::string("\x03\x00\x00\x00", 4) + std::string(12, '\0'));
    bad.push_back(std::string("\x02\x00\x00\x00", 4) + std::string("\xFF\xFF\x00\x00", 4) +
                  std::string("\x0B\x4F\x00\xE1\x00", 5) + std::string("\x0B\x50\x00\xE1\x00", 5) +
                  std::string("\x0B\x51\x00\xE1\x00", 5));
    for (const std::string& bytes : bad) {
        write(bytes);
        other.LoadState("Keys");
        EXPECT_EQ(other.FindAccelerator(FVIRTKEY | FSHIFT, VK_F2, env.tmpl), 0x1234) << bytes.size();
        EXPECT_EQ(other.GetAccelTables()[0].m_accelerators.size(), 1u);
    }
    // Without a profile nothing is written.
    env.app.m_pszRegistryKey.Empty();
    EXPECT_FALSE(other.SaveState("Keys"));
    other.Detach();
}
