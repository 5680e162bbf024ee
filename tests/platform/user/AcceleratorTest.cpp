#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/Accelerators.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Resources.h"

namespace {
const AcceleratorTemplate kTable{128,
                                 {{FVIRTKEY | FCONTROL, 'O', 57601},
                                  {FVIRTKEY | FCONTROL | FSHIFT, 'O', 501},
                                  {FVIRTKEY, VK_F5, 502},
                                  {FVIRTKEY | FALT, VK_RETURN, 503},
                                  {0, '?', 504},
                                  {FVIRTKEY, VK_F10, 505}}};

class AccelModule : public ResourceModule {
public:
    const AcceleratorTemplate* FindAccelerators(UINT id) const override {
        return id == kTable.id ? &kTable : nullptr;
    }
};

std::vector<WPARAM> g_commands;
LRESULT TargetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_commands.push_back(wp);
    return DefWindowProc(h, msg, wp, lp);
}

class AcceleratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&module);
        WNDCLASS wc{};
        wc.lpfnWndProc = TargetProc;
        wc.lpszClassName = "AccelTarget";
        RegisterClass(&wc);
        target = CreateWindowEx(0, "AccelTarget", "t", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
        SetActiveWindow(target);
        SetFocus(target);
        g_commands.clear();
    }
    void TearDown() override {
        DestroyWindow(target);
        UnregisterClass("AccelTarget", nullptr);
        RemoveResourceModule(&module);
    }
    // The application's loop: an accelerator replaces the message.
    void Pump(HACCEL table) {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            if (!TranslateAccelerator(target, table, &m))
                DispatchMessage(&m);
    }
    // Presses `vk` with the modifiers held, releasing them afterwards.
    void Press(HACCEL table, std::vector<UINT> held, UINT vk, UINT down = WM_KEYDOWN) {
        for (UINT h : held)
            PostKeyInput(down, h, 1);
        PostKeyInput(down, vk, 1);
        Pump(table);
        PostKeyInput(down == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, vk, (LPARAM)0xC0000001);
        for (UINT h : held)
            PostKeyInput(down == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, h, (LPARAM)0xC0000001);
        Pump(table);
    }
    AccelModule module;
    HWND target = nullptr;
};
}  // namespace

TEST_F(AcceleratorTest, ResourceTableTurnsKeysIntoCommands) {
    HACCEL table = LoadAccelerators(nullptr, MAKEINTRESOURCE(128));
    ASSERT_TRUE(table);
    EXPECT_EQ(LoadAccelerators(nullptr, MAKEINTRESOURCE(128)), table);  // one handle per resource
    EXPECT_EQ(LoadAccelerators(nullptr, MAKEINTRESOURCE(129)), nullptr);

    Press(table, {VK_CONTROL}, 'O');
    Press(table, {VK_CONTROL, VK_SHIFT}, 'O');
    Press(table, {}, 'O');            // no modifier: an ordinary key
    Press(table, {VK_SHIFT}, VK_F5);  // an extra modifier does not match
    Press(table, {}, VK_F5);
    Press(table, {VK_MENU}, VK_RETURN, WM_SYSKEYDOWN);
    Press(table, {}, VK_F10, WM_SYSKEYDOWN);  // a system key without Alt
    PostKeyInput(WM_CHAR, '?', 1);
    Pump(table);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(57601, 1), MAKEWPARAM(501, 1), MAKEWPARAM(502, 1),
                                               MAKEWPARAM(503, 1), MAKEWPARAM(505, 1), MAKEWPARAM(504, 1)}));
    EXPECT_TRUE(DestroyAcceleratorTable(table));  // a loaded table stays for its other users
    EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 6);
}

TEST_F(AcceleratorTest, CreatedTablesCopyAndDestroy) {
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'C', 10}, {FVIRTKEY, VK_DELETE, 11}};
    HACCEL table = CreateAcceleratorTable(entries, 2);
    ASSERT_TRUE(table);
    EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 2);
    ACCEL copy[3]{};
    EXPECT_EQ(CopyAcceleratorTable(table, copy, 1), 1);
    EXPECT_EQ(copy[0].key, 'C');
    EXPECT_EQ(copy[0].cmd, 10);
    EXPECT_EQ(copy[1].cmd, 0);
    Press(table, {}, VK_DELETE);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(11, 1)}));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 0);
    MSG m{target, WM_KEYDOWN, VK_DELETE, 1, 0, {}};
    EXPECT_EQ(TranslateAccelerator(target, table, &m), 0);  // a stale table translates nothing
    EXPECT_EQ(CreateAcceleratorTable(entries, 0), nullptr);
}

TEST(KeyboardLayout, KeyNamesScanCodesAndCharacters) {
    auto name = [](UINT vk, bool extended) {
        char buf[32];
        LONG lp = (LONG)((MapVirtualKey(vk, MAPVK_VK_TO_VSC) << 16) | (extended ? 1u << 24 : 0));
        GetKeyNameText(lp, buf, sizeof buf);
        return std::string(buf);
    };
    struct Case {
        UINT vk;
        bool extended;
        const char* name;
    } cases[] = {
        {'A', false, "A"},
        {'7', false, "7"},
        {VK_F5, false, "F5"},
        {VK_F12, false, "F12"},
        {VK_CONTROL, false, "Ctrl"},
        {VK_SHIFT, false, "Shift"},
        {VK_MENU, false, "Alt"},
        {VK_DELETE, true, "Del"},
        {VK_DELETE, false, "Num Del"},
        {VK_INSERT, true, "Insert"},
        {VK_PRIOR, true, "Page Up"},
        {VK_LEFT, true, "Left"},
        {VK_SPACE, true, "Space"},
        {VK_BACK, true, "Backspace"},
        {VK_RETURN, false, "Enter"},
        {VK_ESCAPE, false, "Esc"},
        {VK_OEM_2, false, "/"},
        {VK_OEM_PLUS, false, "="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(name(c.vk, c.extended), c.name) << c.vk;

    char small[3];
    EXPECT_EQ(GetKeyNameText(0x49 << 16 | 1 << 24, small, sizeof small), 2);  // cut to the buffer
    EXPECT_STREQ(small, "Pa");
    EXPECT_EQ(GetKeyNameText(0x7F << 16, small, sizeof small), 0);

    EXPECT_EQ(MapVirtualKey(0x1E, MAPVK_VSC_TO_VK), (UINT)'A');
    EXPECT_EQ(MapVirtualKey(0x36, MAPVK_VSC_TO_VK), (UINT)VK_SHIFT);
    EXPECT_EQ(MapVirtualKey(0x36, MAPVK_VSC_TO_VK_EX), (UINT)VK_RSHIFT);
    EXPECT_EQ(MapVirtualKey(0x53, MAPVK_VSC_TO_VK), (UINT)VK_DELETE);
    EXPECT_EQ(MapVirtualKey(0x37, MAPVK_VSC_TO_VK), (UINT)VK_MULTIPLY);
    EXPECT_EQ(MapVirtualKey('Q', MAPVK_VK_TO_CHAR), (UINT)'Q');
    EXPECT_EQ(MapVirtualKey(VK_OEM_1, MAPVK_VK_TO_CHAR), (UINT)';');
    EXPECT_EQ(MapVirtualKey(VK_F1, MAPVK_VK_TO_CHAR), 0u);

    EXPECT_EQ(VkKeyScan('a'), 'A');
    EXPECT_EQ(VkKeyScan('A'), 0x100 | 'A');
    EXPECT_EQ(VkKeyScan('!'), 0x100 | '1');
    EXPECT_EQ(VkKeyScan('/'), VK_OEM_2);
    EXPECT_EQ(VkKeyScan('?'), 0x100 | VK_OEM_2);
    EXPECT_EQ(VkKeyScan('\r'), VK_RETURN);
    EXPECT_EQ(VkKeyScan('\x03'), 0x200 | 'C');
    EXPECT_EQ(VkKeyScan('\xE9'), -1);
}
