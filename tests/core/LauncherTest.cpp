#include <gtest/gtest.h>

#include "core/Launcher.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Process.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

namespace {
class LauncherTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string outPath = temp / "probe.out";
    ScopedEnv out{"VELTRIN_PROBE_OUT", outPath};
    ScopedEnv exitCode{"VELTRIN_PROBE_EXIT", std::nullopt};
    ScopedEnv fifo{"VELTRIN_PROBE_FIFO", std::nullopt};
    MessageBoxRecorder boxes;
};

const char kNotFoundText[] =
    "Executable Not Found: '%s'\n\nThis executable must be installed\nto the same directory as this "
    "application.\n";
}  // namespace

TEST_F(LauncherTest, WaitingReturnsZeroAfterTheProgramEndedAndWasReaped) {
    ScopedEnv code("VELTRIN_PROBE_EXIT", "5");  // the exit code is not passed on
    DWORD pid = 0;
    EXPECT_EQ(LaunchProcess("veltrin_process_probe \"a b\" c", "Title", 1, TRUE, &pid), 0);
    EXPECT_NE(pid, 0u);
    EXPECT_TRUE(IsReaped((pid_t)pid));
    auto record = ReadProbe(outPath);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->args, (std::vector<std::string>{"veltrin_process_probe", "a b", "c"}));
    EXPECT_EQ(record->Get("cmdline"), "veltrin_process_probe \"a b\" c");
    EXPECT_EQ(record->Get("title"), "Title");
}

TEST_F(LauncherTest, ShowCommandsReachTheProgram) {
    const struct {
        int given;
        int shown;
    } cases[] = {{0, SW_SHOWMINNOACTIVE}, {1, SW_SHOWNORMAL},  {2, SW_SHOWNORMAL}, {3, SW_MAXIMIZE},
                 {9, SW_RESTORE},         {10, SW_SHOWNORMAL}, {-1, SW_SHOWNORMAL}};
    for (const auto& c : cases) {
        ASSERT_EQ(LaunchProcess("veltrin_process_probe", "T", c.given, TRUE, nullptr), 0);
        auto record = ReadProbe(outPath);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->Get("show"), std::to_string(c.shown)) << "show command " << c.given;
    }
}

TEST_F(LauncherTest, StartedWithoutWaitingReturnsOneAndLeavesNoZombie) {
    ProbeGate gate(temp / "gate");
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());
    DWORD pid = 0;
    ASSERT_EQ(LaunchProcess("veltrin_process_probe", "T", 1, FALSE, &pid), 1);
    HANDLE watch = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(gate.Open());
    gate.Release();
    EXPECT_EQ(WaitForSingleObject(watch, INFINITE), (DWORD)WAIT_OBJECT_0);
    EXPECT_TRUE(IsReaped((pid_t)pid));
    CloseHandle(watch);
}

TEST_F(LauncherTest, ForegroundLaunchUsesItsTitleAndShowsNoMessage) {
    ProbeGate gate(temp / "gate");
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());
    EXPECT_EQ(LaunchWinAppFg("veltrin_process_probe x"), 1);
    ASSERT_TRUE(gate.Open());  // the probe has written its records
    auto record = ReadProbe(outPath);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Get("title"), "LaunchWinAppFg");
    EXPECT_EQ(record->Get("show"), "1");
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(LauncherTest, MissingProgramOrFolderIsNotFound) {
    const std::string lines[] = {"veltrin_no_such_program_x9 \"some file\" GOTOLINE=3",
                                 "/veltrin_no_such_folder/prog", "", "prog%s%d"};
    for (const std::string& line : lines) {
        boxes.Clear();
        EXPECT_EQ(LaunchWinAppFg(line.c_str()), -2) << line;
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, CString(FormatString(kNotFoundText, line.c_str())));
        EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_ICONEXCLAMATION | MB_SETFOREGROUND));
    }
}

TEST_F(LauncherTest, ProgramInTheWorkingFolderIsNotFound) {
    std::string name = "veltrin_cwd_probe_" + std::to_string(::getpid());
    CopyProbe(temp / name);
    ScopedChdir cwd(temp.Path());
    ScopedEnv path("PATH", ":.:/usr/bin:/bin");
    EXPECT_EQ(LaunchProcess(name.c_str(), "T", 1, TRUE, nullptr), -2);
    EXPECT_FALSE(std::filesystem::exists(outPath));
}

TEST_F(LauncherTest, OtherFailuresNameTheProgramWhenTheLineHasArguments) {
    std::string program = temp / "notes.txt";
    WriteFile(program, "not a program\n", 0644);
    std::string line = program + " arg";
    EXPECT_EQ(LaunchWinAppFg(line.c_str()), -32);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("Failed to Launch Task '" + line +
                                             ", FOREGROUND, INDEPENDENT, WINSESSIONCHILD' Err=-32\n\n"
                                             "File Not Found: " +
                                             program + "\n\n"));
    EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_ICONEXCLAMATION | MB_SETFOREGROUND));

    boxes.Clear();
    EXPECT_EQ(LaunchWinAppFg(program.c_str()), -32);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("Failed to Launch Task '" + program +
                                             ", FOREGROUND, INDEPENDENT, WINSESSIONCHILD' Err=-32\n\n"));
}
