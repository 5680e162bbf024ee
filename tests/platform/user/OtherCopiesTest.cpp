// Another running copy's windows: found by process id among all top-level windows, told things by posted
// messages, brought forward and restored, through the copies' own channel.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/user/User.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace {
// The peer program with its standard output on a pipe; lines are read with a time limit.
class Peer {
public:
    Peer() {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::string program = std::string(VELTRIN_BIN_DIR) + "/veltrin_window_peer";
        char* argv[] = {program.data(), nullptr};
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_out = fds[0];
    }
    ~Peer() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }
    pid_t Pid() const { return m_pid; }
    // The next line, or "" after 10 seconds or at the end of the output.
    std::string Line() {
        std::string line;
        for (;;) {
            pollfd p{m_out, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0)
                return "";
            char c;
            if (read(m_out, &c, 1) != 1)
                return "";
            if (c == '\n')
                return line;
            line += c;
        }
    }
    // Exits normally: its window closed.
    bool Ended() {
        int status = 0;
        bool ok = waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status);
        m_pid = -1;
        return ok;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
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
