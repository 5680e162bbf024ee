#include <gtest/gtest.h>

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
