#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/user/Controls.h"
#include "platform/user/Shell.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

TEST(ShellTest, OpenHandsTheRawPathToXdgOpen) {
    TempDir temp;
    CopyProbe(temp / "xdg-open");
    ScopedEnv path("PATH", temp.Path() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : ""));
    ScopedEnv out("VELTRIN_PROBE_OUT", temp / "probe.out");
    ProbeGate gate(temp / "gate");
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());

    const char* file = "/My Logs/a \"b\" $HOME;x.csv";
    EXPECT_GT((intptr_t)ShellExecute(nullptr, "open", file, nullptr, nullptr, SW_SHOW), 32);
    ASSERT_TRUE(gate.Open());  // the opener has written its record
    auto record = ReadProbe(temp / "probe.out");
    gate.Release();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->args, (std::vector<std::string>{"xdg-open", file}));

    EXPECT_EQ((intptr_t)ShellExecute(nullptr, "print", file, nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    ScopedEnv noPath("PATH", temp.Path() + "/none");
    EXPECT_EQ((intptr_t)ShellExecute(nullptr, nullptr, file, nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
}

namespace {
std::vector<std::pair<WPARAM, LPARAM>>* g_trayCalls = nullptr;
LRESULT TrayOwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 7 && g_trayCalls)
        g_trayCalls->push_back({wp, lp});
    return DefWindowProc(h, msg, wp, lp);
}

TEST(NotifyIconTest, IconsAreKeptAndAClickReachesTheCallback) {
    WNDCLASS wc{};
    wc.lpfnWndProc = TrayOwnerProc;
    wc.lpszClassName = "TrayOwner";
    RegisterClass(&wc);
    HWND owner = CreateWindowEx(0, "TrayOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::pair<WPARAM, LPARAM>> calls;
    g_trayCalls = &calls;
    NOTIFYICONDATA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 5;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_APP + 7;
    nid.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(nid.szTip, "Veltrin");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &nid));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &nid)) << "already there";
    NOTIFYICONDATA kept{};
    ASSERT_TRUE(FindNotifyIcon(owner, 5, &kept));
    EXPECT_STREQ(kept.szTip, "Veltrin");
    NOTIFYICONDATA tip{};
    tip.hWnd = owner;
    tip.uID = 5;
    tip.uFlags = NIF_TIP;
    std::strcpy(tip.szTip, "Veltrin - 3 logs");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &tip));
    FindNotifyIcon(owner, 5, &kept);
    EXPECT_STREQ(kept.szTip, "Veltrin - 3 logs");
    EXPECT_EQ(kept.hIcon, nid.hIcon) << "what a change leaves out stays";

    ASSERT_TRUE(SimulateNotifyIconMouse(owner, 5, WM_RBUTTONUP));
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&m);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::pair<WPARAM, LPARAM>{5, WM_RBUTTONUP}));

    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &nid));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &nid));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &tip));
    EXPECT_FALSE(SimulateNotifyIconMouse(owner, 5, WM_LBUTTONUP));
    g_trayCalls = nullptr;
    DestroyWindow(owner);
}
}  // namespace
