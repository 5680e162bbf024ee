// Another running copy's windows: found by process id among all top-level windows, told things by posted
// messages, brought forward and restored, through the copies' own channel.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/user/User.h"
#include "tests/support/PeerProcess.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"


namespace {
// The peer program, which reports on its standard output.
class Peer : public PeerProcess {
public:
    Peer() : PeerProcess(Program(), {Program()}) {}
    static std::string Program() { return std::string(VELTRIN_BIN_DIR) + "/veltrin_window_peer"; }
};

struct Seen {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL Collect(HWND h, LPARAM p) {
    auto* seen = reinterpret_cast<Seen*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == seen->pid)
        seen->windows.push_back(h);
    return TRUE;
}
}  // namespace

TEST(OtherCopiesTest, AnotherCopysMainWindowIsFoundToldBroughtForwardAndRestored) {
    TempFolder folder("copies");
    ScopedEnv channel("VELTRIN_RUNTIME_DIR", folder.Path().c_str());
    Peer peer;
    ASSERT_GT(peer.Pid(), 0);
    ASSERT_EQ(peer.Line(), "ready " + std::to_string(peer.Pid()));

    Seen seen{(DWORD)peer.Pid(), {}};
    EnumWindows(Collect, (LPARAM)&seen);
    ASSERT_EQ(seen.windows.size(), 3u);
    // The main window: no owner, not a tool window, visible; the popup's owner is that same window.
    HWND main = nullptr;
    for (HWND h : seen.windows)
        if (!GetWindow(h, GW_OWNER) && !(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && IsWindowVisible(h))
            main = h;
    ASSERT_NE(main, nullptr);
    int owned = 0;
    for (HWND h : seen.windows)
        owned += GetWindow(h, GW_OWNER) == main;
    EXPECT_EQ(owned, 1);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IsIconic(main));
    EXPECT_TRUE(IsWindowEnabled(main));

    EXPECT_TRUE(PostMessage(main, 0x80C8, 0, 4321));
    EXPECT_EQ(peer.Line(), "message 80c8 4321");
    EXPECT_TRUE(SetForegroundWindow(main));
    EXPECT_EQ(peer.Line(), "active");
    ShowWindow(main, SW_RESTORE);
    EXPECT_FALSE(IsIconic(main));

    // Closed, the copy ends; its windows are gone for the others.
    EXPECT_TRUE(PostMessage(main, WM_CLOSE, 0, 0));
    EXPECT_TRUE(peer.Ended());
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(PostMessage(main, 0x80C8, 0, 1));
    seen.windows.clear();
    EnumWindows(Collect, (LPARAM)&seen);
    EXPECT_TRUE(seen.windows.empty());
}
