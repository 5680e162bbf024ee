#include <gtest/gtest.h>

#include "core/Launcher.h"
#include "core/ProcessEnum.h"
#include "platform/base/Process.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

TEST(CProcessEnum, WalksProcessesWithTheirModuleNames) {
    CProcessEnum processes;
    ASSERT_TRUE(processes.TakeSnapshot());
    bool foundSelf = false;
    for (BOOL ok = processes.First(); ok; ok = processes.Next()) {
        EXPECT_FALSE(processes.GetModuleName().IsEmpty());
        if (processes.GetProcessId() == (DWORD)::getpid()) {
            foundSelf = true;
            EXPECT_EQ(processes.GetModuleName(), "core_tests");
        }
    }
    EXPECT_TRUE(foundSelf);
}

TEST(FindProcessIdByName, MatchesAModuleNamePrefixWithoutRegardToCase) {
    // A program of a name no other process has, held running until the test ends.
    TempDir temp;
    std::string name = "VeltrinFindMe_" + std::to_string(::getpid()) + "_z";  // no other run shares a prefix
    CopyProbe(temp / name);
    ProbeGate gate(temp / "gate");
    ScopedEnv out("VELTRIN_PROBE_OUT", std::nullopt);
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());
    DWORD pid = 0;
    ASSERT_EQ(LaunchProcess((temp / name).c_str(), "T", 1, FALSE, &pid), 1);
    HANDLE watch = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(gate.Open());  // the probe runs its own program now

    std::string lower = name, upper = name;
    for (char& c : lower)
        c = AsciiLower(c);
    for (char& c : upper)
        c = AsciiUpper(c);
    EXPECT_EQ(FindProcessIdByName(name.c_str()), (int)pid);
    EXPECT_EQ(FindProcessIdByName(lower.c_str()), (int)pid);
    EXPECT_EQ(FindProcessIdByName(upper.substr(0, upper.size() - 1).c_str()), (int)pid);
    EXPECT_EQ(FindProcessIdByName((name + "x").c_str()), 0);  // longer than the module name
    EXPECT_EQ(FindProcessIdByName(""), 0);

    gate.Release();
    WaitForSingleObject(watch, INFINITE);
    CloseHandle(watch);
    EXPECT_EQ(FindProcessIdByName(name.c_str()), 0);
}
