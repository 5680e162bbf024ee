// The instance manager across real processes: copies of this test program started as peers register in
// the shared list, hear of each other by posted messages, are limited, asked to close, and a killed copy
// stops counting.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "guilib/frame/OXInstanceManager.h"
#include "platform/base/Process.h"
#include "tests/support/Gui.h"
#include "tests/support/PeerProcess.h"


namespace {
// Peer mode: this program started again with VELTRIN_INSTANCE_PEER=<name> is a copy with a main window
// (minimised) and a manager of that name; it says on standard output what reaches its main window and
// ends when the window closes. It runs before the tests are set up and never returns to them.
HWND g_peerMain = nullptr;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

LRESULT PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (h == g_peerMain) {
        switch (m) {
            case OXIM_INSTANCE_ADDED:
                Say("added " + std::to_string((DWORD)l));
                return 0;
            case OXIM_INSTANCE_REMOVED:
                Say("removed " + std::to_string((DWORD)l));
                return 0;
            case WM_SIZE:
                if (w == SIZE_RESTORED)
                    Say("restored");
                break;
            case WM_CLOSE:
                Say("close");
                break;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
    }
    return DefWindowProc(h, m, w, l);
}

// The body of peer mode; returns only when this program is not a peer.
void RunAsPeer() {
    const char* name = std::getenv("VELTRIN_INSTANCE_PEER");
    if (!name)
        return;
    WNDCLASS wc{};
    wc.lpfnWndProc = PeerProc;
    wc.lpszClassName = "InstancePeer";
    RegisterClass(&wc);
    g_peerMain = CreateWindowEx(0, "InstancePeer", "Peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    ShowWindow(g_peerMain, SW_MINIMIZE);
    {
        COXInstanceManager manager(name);
        Say("ready " + std::to_string(getpid()));
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0) > 0)
            DispatchMessage(&m);
    }
    std::_Exit(0);
}

// This test program again, as a peer copy in `name`'s list.
class Peer : public PeerProcess {
public:
    explicit Peer(const std::string& name)
        : PeerProcess("/proc/self/exe", {"/proc/self/exe", "--gtest_filter=InstancePeerMode.*"},
                      {"VELTRIN_INSTANCE_PEER=" + name}) {
        // The test framework's own lines come first.
        while (!m_ready) {
            std::string line = Line();
            if (line.empty())
                break;
            m_ready = line == "ready " + std::to_string(PeerProcess::Pid());
        }
    }
    bool Ready() const { return m_ready; }
    DWORD Pid() const { return (DWORD)PeerProcess::Pid(); }

private:
    bool m_ready = false;
};

// A name of its own per test, holding '/' as a program's path does.
std::string UniqueName() {
    static int n = 0;
    return "/work/test/instances_" + std::to_string(getpid()) + "_" + std::to_string(++n);
}

class InstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("InstanceTestMain", DefWindowProc, COLOR_WINDOW);
        main = CreateWindowEx(0, "InstanceTestMain", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(main); }
    std::string self = std::to_string(getpid());
    HWND main = nullptr;
};
}  // namespace

// Started as a peer, this is the whole program; otherwise it does nothing.
TEST(InstancePeerMode, RunsOnlyWhenStartedAsAPeer) {
    RunAsPeer();
}

TEST_F(InstanceTest, CopiesHearOfEachOtherAndTheLimitBringsTheFirstForward) {
    std::string name = UniqueName();
    Peer first(name);
    ASSERT_TRUE(first.Ready());
    {
        COXInstanceManager manager(name.c_str());
        EXPECT_EQ(first.Line(), "added " + self);
        CDWordArray ids;
        ASSERT_TRUE(manager.GetInstanceList(ids));
        EXPECT_EQ(ids.vec(), (std::vector<DWORD>{first.Pid(), GetCurrentProcessId()}));
        EXPECT_EQ(manager.GetMaxAllowedInstances(), 1u);
        // Exceeded: the first copy comes forward and is restored.
        EXPECT_TRUE(manager.ActivateInstance(TRUE));
        EXPECT_FALSE(first.Until("restored").empty());
        EXPECT_FALSE(manager.RemoveInstance(12345678));
        manager.SetMaxAllowedInstances(2);
        EXPECT_FALSE(manager.ActivateInstance(TRUE));
    }
    EXPECT_EQ(first.Line(), "removed " + self);
}

TEST_F(InstanceTest, LoweringTheLimitClosesTheNewestOthers) {
    std::string name = UniqueName();
    Peer a(name), b(name), c(name);
    ASSERT_TRUE(a.Ready() && b.Ready() && c.Ready());
    COXInstanceManager manager(name.c_str());
    ASSERT_EQ(manager.GetInstanceCount(), 4);
    manager.SetMaxAllowedInstances(3);
    // Four copies, two allowed: the two started last are asked to close, the first stays.
    manager.SetMaxAllowedInstances(2, TRUE);
    EXPECT_FALSE(c.Until("close").empty());
    EXPECT_FALSE(b.Until("close").empty());
    DWORD bPid = b.Pid(), cPid = c.Pid();
    EXPECT_TRUE(c.Ended());
    EXPECT_TRUE(b.Ended());
    // The first copy hears of both ending, in the order they unregistered.
    std::set<std::string> heard;
    while (heard.size() < 2) {
        std::string line = a.Line();
        if (line.empty())
            break;
        if (line.rfind("removed ", 0) == 0)
            heard.insert(line);
    }
    EXPECT_EQ(heard, (std::set<std::string>{"removed " + std::to_string(bPid), "removed " + std::to_string(cPid)}));
    // Both unregistered as they ended; the first copy stays.
    EXPECT_EQ(manager.GetInstanceCount(), 2);
    CDWordArray ids;
    manager.GetInstanceList(ids);
    EXPECT_EQ(ids.vec(), (std::vector<DWORD>{a.Pid(), GetCurrentProcessId()}));
}

TEST_F(InstanceTest, TheThousandAndFirstIsRefusedAndAKilledCopyStopsCounting) {
    std::string name = UniqueName();
    Peer a(name), b(name);
    ASSERT_TRUE(a.Ready() && b.Ready());
    b.Kill();
    COXInstanceManager manager(name.c_str());
    CDWordArray ids;
    manager.GetInstanceList(ids);
    EXPECT_EQ(ids.vec(), (std::vector<DWORD>{a.Pid(), GetCurrentProcessId()}));
    ASSERT_FALSE(a.Until("added " + self).empty());

    for (DWORD id = 1; id <= 998; ++id)
        ASSERT_TRUE(manager.AddInstance(4000000 + id));
    EXPECT_EQ(manager.GetInstanceCount(), 1000);
    EXPECT_FALSE(manager.AddInstance(5000000));
    EXPECT_TRUE(manager.RemoveInstance(4000001));
    std::vector<std::string> lines = a.Until("removed 4000001");
    ASSERT_EQ(lines.size(), 999u);
    EXPECT_EQ(lines[997], "added 4000998");
}
