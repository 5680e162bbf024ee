#include <gtest/gtest.h>

#include <spawn.h>

#include "platform/base/CommandLine.h"
#include "platform/base/Process.h"
#include "tests/platform/base/ProcessTestSupport.h"

extern char** environ;

using namespace process_test;

namespace {

// Starts a command line; returns the process handle (the thread handle is closed) or NULL.
HANDLE Start(const std::string& line, STARTUPINFO* startup = nullptr, DWORD* pid = nullptr) {
    PROCESS_INFORMATION info{};
    if (!CreateProcess(nullptr, line.c_str(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    if (pid)
        *pid = info.dwProcessId;
    return info.hProcess;
}

DWORD RunToEnd(HANDLE process) {
    EXPECT_EQ(WaitForSingleObject(process, INFINITE), (DWORD)WAIT_OBJECT_0);
    DWORD code = 0xDEAD;
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    CloseHandle(process);
    return code;
}

class ProcessTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string outPath = temp / "probe.out";
    ScopedEnv out{"VELTRIN_PROBE_OUT", outPath};
    ScopedEnv exitCode{"VELTRIN_PROBE_EXIT", std::nullopt};
    ScopedEnv fifo{"VELTRIN_PROBE_FIFO", std::nullopt};
};

}  // namespace

TEST_F(ProcessTest, ChildGetsTheWindowsSplitAndTheExactCommandLine) {
    ScopedEnv code("VELTRIN_PROBE_EXIT", "3");
    const std::string line =
        "veltrin_process_probe   \"two  words\" \"say \"\"hi\"\"\" back\\slash \\\"lit\\\" \"\" \"tail\\\\\" "
        "'$HOME'";
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    std::string title = "Probe title";
    startup.lpTitle = title.data();
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    int open = ::open(outPath.c_str(), O_WRONLY | O_CREAT, 0600);  // not close-on-exec, still not inherited
    HANDLE process = Start(line, &startup);
    ::close(open);
    ASSERT_NE(process, nullptr) << GetLastError();
    EXPECT_EQ(RunToEnd(process), 3u);

    auto record = ReadProbe(outPath);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->args, (std::vector<std::string>{"veltrin_process_probe", "two  words", "say \"hi\"",
                                                      "back\\slash", "\"lit\"", "", "tail\\", "'$HOME'"}));
    EXPECT_EQ(record->Get("cmdline"), line);
    EXPECT_EQ(record->Get("handed"), "yes");
    EXPECT_EQ(record->Get("exe"), ProbePath());  // found in the starting program's own folder
    EXPECT_EQ(record->Get("title"), "Probe title");
    EXPECT_EQ(record->Get("show"), "7");
    EXPECT_FALSE(record->Has("fd")) << record->Get("fd");
}

TEST_F(ProcessTest, ShellSyntaxIsNeverInterpreted) {
    ScopedChdir cwd(temp.Path());
    HANDLE process = Start("veltrin_process_probe \"a\" ; touch x && touch y | touch z $(touch w) `touch v`");
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(RunToEnd(process), 0u);
    auto record = ReadProbe(outPath);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->args,
              (std::vector<std::string>{"veltrin_process_probe", "a", ";", "touch", "x", "&&", "touch", "y",
                                        "|", "touch", "z", "$(touch", "w)", "`touch", "v`"}));
    for (const char* name : {"x", "y", "z", "w", "v", "$(touch"})
        EXPECT_FALSE(std::filesystem::exists(temp / name)) << name;
}

TEST_F(ProcessTest, BareNamesAreFoundInOwnFolderThenPathButNeverTheWorkingFolder) {
    TempDir onPath, cwd;
    CopyProbe(onPath / kProbeName);  // must lose against the one beside the test program
    std::string pathOnly = "veltrin_path_probe_" + std::to_string(::getpid());
    CopyProbe(onPath / pathOnly);
    std::string cwdOnly = "veltrin_cwd_probe_" + std::to_string(::getpid());
    CopyProbe(cwd / cwdOnly);
    ScopedChdir inCwd(cwd.Path());
    // Empty, "." and relative entries all name the working folder.
    ScopedEnv path("PATH", "::.:./:../" + std::string(std::filesystem::path(cwd.Path()).filename()) + ":" +
                               onPath.Path() + ":/usr/bin:/bin");

    HANDLE process = Start(kProbeName);
    ASSERT_NE(process, nullptr);
    RunToEnd(process);
    EXPECT_EQ(ReadProbe(outPath)->Get("exe"), ProbePath());

    process = Start(pathOnly + " x");
    ASSERT_NE(process, nullptr);
    RunToEnd(process);
    EXPECT_EQ(ReadProbe(outPath)->Get("exe"), onPath / pathOnly);

    EXPECT_EQ(Start(cwdOnly), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    // Named with a folder, a program in the working folder is the caller's explicit choice.
    process = Start("./" + cwdOnly);
    ASSERT_NE(process, nullptr);
    RunToEnd(process);
    EXPECT_EQ(ReadProbe(outPath)->Get("exe"), cwd / cwdOnly);
}

TEST_F(ProcessTest, FailuresGiveWindowsErrorNumbers) {
    WriteFile(temp / "plain.txt", "text\n", 0644);
    // Executable but no program: it must not be handed to a shell either.
    WriteFile(temp / "script", "touch " + (temp / "ran") + "\n", 0755);
    ::mkdir((temp / "folder").c_str(), 0755);
    const struct {
        std::string line;
        DWORD error;
    } cases[] = {
        {"", ERROR_FILE_NOT_FOUND},
        {"   ", ERROR_FILE_NOT_FOUND},
        {"veltrin_no_such_program_x9 arg", ERROR_FILE_NOT_FOUND},
        {temp / "missing", ERROR_FILE_NOT_FOUND},
        {"/veltrin_no_such_folder/prog", ERROR_PATH_NOT_FOUND},
        {temp / "plain.txt/prog", ERROR_PATH_NOT_FOUND},
        {temp / "plain.txt", ERROR_ACCESS_DENIED},
        {temp / "folder", ERROR_ACCESS_DENIED},
        {temp / "script", ERROR_BAD_EXE_FORMAT},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(Start(c.line), nullptr) << c.line;
        EXPECT_EQ(GetLastError(), c.error) << c.line;
    }
    EXPECT_FALSE(std::filesystem::exists(temp / "ran"));

    PROCESS_INFORMATION info{};
    EXPECT_FALSE(CreateProcess(nullptr, "veltrin_process_probe", nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(ProcessTest, WaitTerminateAndExitCode) {
    ProbeGate gate(temp / "gate");
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());
    DWORD pid = 0;
    HANDLE process = Start("veltrin_process_probe", nullptr, &pid);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), (DWORD)WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, (DWORD)STILL_ACTIVE);

    EXPECT_TRUE(TerminateProcess(process, 7));
    EXPECT_EQ(WaitForSingleObject(process, INFINITE), (DWORD)WAIT_OBJECT_0);
    EXPECT_TRUE(IsReaped((pid_t)pid));
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(TerminateProcess(process, 1));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);

    EXPECT_TRUE(CloseHandle(process));
    EXPECT_FALSE(CloseHandle(process));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_FAILED);
    EXPECT_FALSE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, pid), nullptr);
}

TEST_F(ProcessTest, ChildNobodyWaitsForIsReapedWhenItEnds) {
    ProbeGate gate(temp / "gate");
    ScopedEnv hold("VELTRIN_PROBE_FIFO", gate.Path());
    DWORD pid = 0;
    HANDLE process = Start("veltrin_process_probe", nullptr, &pid);
    ASSERT_NE(process, nullptr);
    CloseHandle(process);  // nobody holds the child any more
    HANDLE watch = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(gate.Open());
    gate.Release();  // the probe exits
    EXPECT_EQ(WaitForSingleObject(watch, INFINITE), (DWORD)WAIT_OBJECT_0);
    EXPECT_TRUE(IsReaped((pid_t)pid));
    CloseHandle(watch);

    EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, ::getpid()), nullptr);  // not a child of ours
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
}

TEST_F(ProcessTest, CommandLineFromAnotherStarterIsTheQuotedArguments) {
    // Started without CreateProcess but with a left-over command line of some other program.
    ScopedEnv stale("VELTRIN_COMMAND_LINE", std::string("other \"line\""));
    ScopedEnv title("VELTRIN_STARTUP_TITLE", std::string("stale"));
    std::string probe = ProbePath();
    std::vector<std::string> args{probe, "a b", "c", "say \"hi\""};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);

    auto record = ReadProbe(outPath);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Get("cmdline"), probe + " \"a b\" c \"say \\\"hi\\\"\"");
    EXPECT_EQ(record->Get("handed"), "no");
    EXPECT_EQ(record->Get("joined"), probe + " a b c say \"hi\"");  // as a shell line reads back
    EXPECT_FALSE(record->Has("title"));
    EXPECT_FALSE(record->Has("show"));
}
