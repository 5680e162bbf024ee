// The instance manager page on real instance lists: its limit choice from set-up and the profile, the
// list of running copies with their refresh, Apply closing surplus copies started as peers of this test
// program, Cancel and OK, and the buttons' enabled states and actions on a copy's main window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "guilib/customize/OXCustomizeInstanceManagerPage.h"
#include "guilib/customize/OXCustomizePagesResources.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Process.h"
#include "platform/framework/frames/FrameWnd.h"
#include "tests/support/Gui.h"
#include "tests/support/PeerProcess.h"
#include "tests/support/TempRegistry.h"
#include "tests/guilib/customize/PageTestManager.h"

namespace instance_page_test {
constexpr const char* kSection = "CustomizeInstanceManager";

// Peer mode: this program started with VELTRIN_PAGE_PEER=<name> is another copy with an enabled main
// window in that list; it says "close" when asked to close and ends then.
LRESULT PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    const char* said = m == WM_CLOSE                          ? "close"
                       : m == WM_SIZE && w == SIZE_MAXIMIZED ? "maximized"
                       : m == WM_SIZE && w == SIZE_MINIMIZED ? "minimized"
                       : m == WM_SIZE && w == SIZE_RESTORED  ? "restored"
                                                             : nullptr;
    if (said) {
        std::printf("%s\n", said);
        std::fflush(stdout);
    } else if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

void RunAsPeer() {
    const char* name = std::getenv("VELTRIN_PAGE_PEER");
    if (!name)
        return;
    WNDCLASS wc{};
    wc.lpfnWndProc = PeerProc;
    wc.lpszClassName = "PagePeer";
    RegisterClass(&wc);
    CreateWindowEx(0, "PagePeer", "Peer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                   nullptr, nullptr);
    {
        COXInstanceManager manager(name);
        std::printf("ready %d\n", (int)getpid());
        std::fflush(stdout);
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0) > 0)
            DispatchMessage(&m);
    }
    std::_Exit(0);
}

class Peer : public PeerProcess {
public:
    explicit Peer(const std::string& name)
        : PeerProcess("/proc/self/exe", {"/proc/self/exe", "--gtest_filter=InstancePagePeerMode.*"},
                      {"VELTRIN_PAGE_PEER=" + name}) {
        m_ready = !Until("ready " + std::to_string(PeerProcess::Pid())).empty();
    }
    bool Ready() const { return m_ready; }

private:
    bool m_ready = false;
};

// A list of the test's own, so test processes running side by side never meet in one.
std::string UniqueName() {
    static int n = 0;
    return "/work/test/instance_page_" + std::to_string(getpid()) + "_" + std::to_string(++n);
}

class TestInstancePage : public COXCustomizeInstanceManagerPage {
public:
    explicit TestInstancePage(const std::string& name) : COXCustomizeInstanceManagerPage(name.c_str()) {}
    using COXCustomizeInstanceManagerPage::m_listInstances;
};

class InstancePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        ASSERT_TRUE(manager.Open(frame));
    }
    void TearDown() override {
        page.reset();
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
    }
    TestInstancePage& MakePage() {
        page = std::make_unique<TestInstancePage>(name);
        return *page;
    }
    TestInstancePage& ShowPage() {
        EXPECT_TRUE(page->ShowInManager(&manager));
        return *page;
    }
    HWND Item(int id) { return ::GetDlgItem(page->m_hWnd, id); }
    void Click(int id) {
        ::SendMessage(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
    std::string Text(int id) {
        char buf[64] = {};
        ::GetWindowText(Item(id), buf, sizeof buf);
        return buf;
    }
    void SelectRow(int row) {
        LVITEM item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = row < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessage(Item(IDC_OX_LIST_INSTANCES), LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
        Pump();
    }

    TempRegistry registry;
    CWinApp app{"InstancePageApp"};
    CFrameWnd* frame = nullptr;
    PageTestManager manager;
    std::string name = UniqueName();
    std::unique_ptr<TestInstancePage> page;
};

// Started as a peer, this is the whole program; otherwise it does nothing.
TEST(InstancePagePeerMode, RunsOnlyWhenStartedAsAPeer) {
    RunAsPeer();
}

TEST_F(InstancePageTest, SetUpTakesTheStoredMaximumAndCountsOneOutOfRangeAsTheGivenOne) {
    EXPECT_FALSE(MakePage().SetupPage(0, kSection));
    EXPECT_FALSE(page->SetupPage(1001, kSection));
    EXPECT_EQ(page->GetProfileName(), "");

    struct Case {
        int stored;
        int choice;
        UINT maximum;
    } cases[] = {{1000, 0, 1000}, {1, 1, 1}, {5, 2, 5}, {0, 0, 1000}, {1001, 0, 1000}, {-3, 0, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        app.WriteProfileInt(kSection, "MaxAllowedInstanceNumber", c.stored);
        MakePage();
        ASSERT_TRUE(page->SetupPage(1000, kSection));
        EXPECT_EQ(page->GetLimitChoice(), c.choice);
        EXPECT_EQ(page->GetMaxAllowedInstances(), c.maximum);
        EXPECT_EQ(page->GetInstanceManager()->GetMaxAllowedInstances(), c.maximum);
    }
    // The default name is the program's path as it stands.
    char path[261] = {};
    ::GetModuleFileName(nullptr, path, 260);
    EXPECT_EQ(COXCustomizeInstanceManagerPage::GetInstanceManagerName(), path);
}

TEST_F(InstancePageTest, ListsTheRunningCopiesAndANewOneAtTheNextTick) {
    app.WriteProfileInt(kSection, "MaxAllowedInstanceNumber", 5);
    ASSERT_TRUE(MakePage().SetupPage(1000, kSection));
    ShowPage();
    EXPECT_EQ(::IsDlgButtonChecked(page->m_hWnd, IDC_OX_RADIO_LIMIT_TO), BST_CHECKED);
    EXPECT_EQ(Text(IDC_OX_EDIT_MAX_INSTANCES), "5");
    EXPECT_EQ(Text(IDC_OX_STATIC_INSTANCE_COUNT), "1");
    CListCtrl& list = page->m_listInstances;
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), "Instance 1");
    EXPECT_EQ(list.GetItemText(0, 1), std::to_string(getpid()).c_str());
    EXPECT_EQ(list.GetItemText(0, 2), "Current");

    Peer peer(name);
    ASSERT_TRUE(peer.Ready());
    ::SendMessage(page->m_hWnd, WM_TIMER, IDT_OX_INSTANCE_REFRESH, 0);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 0), "Instance 2");
    EXPECT_EQ(list.GetItemText(1, 1), std::to_string(peer.Pid()).c_str());
    EXPECT_EQ(list.GetItemText(1, 2), "");
    EXPECT_EQ(Text(IDC_OX_STATIC_INSTANCE_COUNT), "2");
}

TEST_F(InstancePageTest, ApplyingOneInstanceClosesTheOtherCopiesAndCancelReadsTheProfileAgain) {
    Peer a(name), b(name);
    ASSERT_TRUE(a.Ready() && b.Ready());
    app.WriteProfileInt(kSection, "MaxAllowedInstanceNumber", 5);
    ASSERT_TRUE(MakePage().SetupPage(1000, kSection));
    ShowPage();
    ASSERT_EQ(page->GetInstanceManager()->GetInstanceCount(), 3);
    Click(IDC_OX_RADIO_ONE_INSTANCE);
    ASSERT_TRUE(page->ApplySettings());
    EXPECT_EQ(page->GetInstanceManager()->GetMaxAllowedInstances(), 1u);
    EXPECT_FALSE(b.Until("close").empty());
    EXPECT_FALSE(a.Until("close").empty());
    EXPECT_TRUE(a.Ended() && b.Ended());
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));

    EXPECT_TRUE(page->OnManagerClose(FALSE));
    EXPECT_EQ(page->GetInstanceManager()->GetMaxAllowedInstances(), 5u);
    EXPECT_EQ(page->GetLimitChoice(), 2);
    EXPECT_EQ(app.GetProfileInt(kSection, "MaxAllowedInstanceNumber", 0), 5u);
}

TEST_F(InstancePageTest, OkWritesTheMaximumAndABadNumberKeepsTheDialogOpen) {
    ASSERT_TRUE(MakePage().SetupPage(1000, kSection));
    ShowPage();
    Click(IDC_OX_RADIO_LIMIT_TO);
    struct Case {
        const char* typed;
        BOOL ok;
        UINT written;
    } cases[] = {{"0", FALSE, 1000}, {"1001", FALSE, 1000}, {"", FALSE, 1000}, {"7", TRUE, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        MessageBoxRecorder boxes;
        ::SetWindowText(Item(IDC_OX_EDIT_MAX_INSTANCES), c.typed);
        EXPECT_EQ(page->OnManagerClose(TRUE), c.ok);
        EXPECT_EQ(boxes.Calls().size(), c.ok ? 0u : 1u);
        EXPECT_EQ(app.GetProfileInt(kSection, "MaxAllowedInstanceNumber", 1000), c.written);
    }
    EXPECT_EQ(page->GetInstanceManager()->GetMaxAllowedInstances(), 7u);
    // Choices 0 and 1 stand for their maximum whatever the edit holds.
    Click(IDC_OX_RADIO_NO_LIMIT);
    EXPECT_TRUE(page->OnManagerClose(TRUE));
    EXPECT_EQ(app.GetProfileInt(kSection, "MaxAllowedInstanceNumber", 0), 1000u);
}

TEST_F(InstancePageTest, ButtonsFollowTheSelectedCopysWindowAndActOnIt) {
    ASSERT_TRUE(MakePage().SetupPage(1000));
    ShowPage();
    const int buttons[] = {IDC_OX_BUTTON_CLOSE,    IDC_OX_BUTTON_SWITCH_TO, IDC_OX_BUTTON_BRING_TO_FRONT,
                           IDC_OX_BUTTON_MAXIMIZE, IDC_OX_BUTTON_MINIMIZE,  IDC_OX_BUTTON_RESTORE};
    auto enabled = [&] {
        std::string s;
        for (int id : buttons)
            s += ::IsWindowEnabled(Item(id)) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(enabled(), "000000");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_EDIT_MAX_INSTANCES)));
    Click(IDC_OX_RADIO_LIMIT_TO);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_EDIT_MAX_INSTANCES)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_SPIN_MAX_INSTANCES)));

    // This copy's row: its main window is the frame.
    SelectRow(0);
    EXPECT_EQ(enabled(), "100110");
    struct Step {
        int button;
        bool zoomed, iconic;
        const char* states;
    } steps[] = {{IDC_OX_BUTTON_MAXIMIZE, true, false, "100011"},
                 {IDC_OX_BUTTON_RESTORE, false, false, "100110"},
                 {IDC_OX_BUTTON_MINIMIZE, false, true, "100101"},
                 {IDC_OX_BUTTON_RESTORE, false, false, "100110"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        Click(s.button);
        EXPECT_EQ(::IsZoomed(frame->m_hWnd) != FALSE, s.zoomed);
        EXPECT_EQ(::IsIconic(frame->m_hWnd) != FALSE, s.iconic);
        EXPECT_EQ(enabled(), s.states);
    }
    // A window without the boxes offers neither.
    frame->ModifyStyle(WS_MAXIMIZEBOX | WS_MINIMIZEBOX, 0);
    SelectRow(-1);
    SelectRow(0);
    EXPECT_EQ(enabled(), "100001");
    // The refresh drops the selection.
    page->RefreshInstanceList();
    EXPECT_EQ(enabled(), "000000");
}

TEST_F(InstancePageTest, ButtonsReachAnotherCopysWindowThroughItsProcess) {
    Peer peer(name);
    ASSERT_TRUE(peer.Ready());
    ASSERT_TRUE(MakePage().SetupPage(1000));
    ShowPage();
    ASSERT_EQ(page->m_listInstances.GetItemCount(), 2);
    HWND other = page->GetInstanceManager()->FindInstanceWindow(peer.Pid());
    ASSERT_NE(other, nullptr);
    // The peer registered first.
    ASSERT_EQ(page->m_listInstances.GetItemData(0), (DWORD_PTR)peer.Pid());
    SelectRow(0);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_SWITCH_TO)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_BRING_TO_FRONT)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_MAXIMIZE)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_BUTTON_RESTORE)));

    Click(IDC_OX_BUTTON_MAXIMIZE);
    EXPECT_FALSE(peer.Until("maximized").empty());
    EXPECT_TRUE(::IsZoomed(other));
    SelectRow(-1);
    SelectRow(0);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_OX_BUTTON_MAXIMIZE)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_OX_BUTTON_RESTORE)));
    Click(IDC_OX_BUTTON_MINIMIZE);
    EXPECT_FALSE(peer.Until("minimized").empty());
    // Bringing a minimised copy forward restores it; this copy's frame stays in front.
    Click(IDC_OX_BUTTON_BRING_TO_FRONT);
    EXPECT_FALSE(peer.Until("maximized").empty());
    EXPECT_FALSE(::IsIconic(other));
    Click(IDC_OX_BUTTON_CLOSE);
    EXPECT_FALSE(peer.Until("close").empty());
    EXPECT_TRUE(peer.Ended());
}
}  // namespace instance_page_test
