#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>

#include "platform/base/MessageBox.h"
#include "standins/StandinArgs.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

extern char** environ;

namespace {
// Runs a stand-in from bin/ with the arguments; its standard error goes to `errPath`. The exit code.
int RunStandin(const std::vector<std::string>& args, const std::string& errPath) {
    std::string program = std::string(VELTRIN_BIN_DIR) + "/" + args[0];
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class StandinsTest : public ::testing::Test {
protected:
    void SetUp() override {
        CopyProbe(editor);
        WriteFile(file, "first\nsecond line\nThe TIMEOUT here\nlast\n", 0644);
    }
    TempDir temp;
    std::string editor = temp / "editor";
    std::string file = temp / "my log.txt";
    std::string outPath = temp / "probe.out";
    ScopedEnv out{"VELTRIN_PROBE_OUT", outPath};
    ScopedEnv visual{"VISUAL", std::nullopt};
    ScopedEnv editorVar{"EDITOR", editor + " -w"};
};
}  // namespace

TEST_F(StandinsTest, ScrivelOpensTheEditorAtTheLine) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> editorArgs;
    } cases[] = {
        {{"GOTOLINE=2"}, {"-w", "+2"}},
        {{"SEARCH=timeout"}, {"-w", "+3"}},
        {{"SEARCH_ETX=nothing", "||", "second"}, {"-w", "+2"}},  // an unquoted text runs to the end
        {{"SEARCH=absent"}, {"-w"}},
        {{}, {"-w"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "" : c.args[0]);
        std::vector<std::string> args{"Scrivel", file};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ASSERT_EQ(RunStandin(args, temp / "err"), 0);
        auto record = ReadProbe(outPath);
        ASSERT_TRUE(record);
        std::vector<std::string> expected{editor};
        expected.insert(expected.end(), c.editorArgs.begin(), c.editorArgs.end());
        expected.push_back(file);
        EXPECT_EQ(record->args, expected);
    }
}

TEST_F(StandinsTest, BytescopeDumpsTheFileInTheEditorAndRemovesItWhenTheEditorEnds) {
    // The editor stays open until the test lets it go through the pipe, so the dump is read meanwhile.
    std::string fifo = temp / "hold";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ScopedEnv hold{"VELTRIN_PROBE_FIFO", fifo};
    ScopedEnv tmp{"TMPDIR", temp.Path()};
    std::string program = std::string(VELTRIN_BIN_DIR) + "/Bytescope";
    std::string search = "SEARCH=timeout";
    char* argv[] = {program.data(), file.data(), search.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int release = ::open(fifo.c_str(), O_WRONLY);  // returns once the editor has opened its end
    ASSERT_GE(release, 0);
    auto record = ReadProbe(outPath);  // written before the editor waits
    ASSERT_TRUE(record);
    ASSERT_EQ(record->args.size(), 3u);
    std::string dumpPath = record->args[2];
    EXPECT_EQ(dumpPath.rfind(temp.Path(), 0), 0u) << dumpPath;
    std::string dump = ReadAll(dumpPath);
    ::close(release);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(dump.find("text found at offset 0x16"), std::string::npos) << dump;
    // The dump starts at the row that holds the text.
    EXPECT_NE(dump.find("00000010  "), std::string::npos) << dump;
    EXPECT_EQ(dump.find("00000000  "), std::string::npos) << dump;
    EXPECT_FALSE(std::filesystem::exists(dumpPath)) << "the dump is left behind";
}

TEST_F(StandinsTest, WithoutAnyEditorAMessageSaysWhatWasTriedAndTheExitIsNotZero) {
    ScopedEnv noEditor{"EDITOR", std::nullopt};
    ScopedEnv path{"PATH", temp.Path()};  // no xdg-open there
    {
        MessageBoxRecorder boxes;
        EXPECT_NE(OpenInEditor("Scrivel", file, 3), 0);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].caption, CString("Scrivel"));
        EXPECT_EQ(boxes.Calls()[0].text, CString(("No editor could open\n" + file +
                                                  "\n\nTried:\n- $VISUAL is not set\n- $EDITOR is not set\n"
                                                  "- xdg-open is not on PATH\n\n"
                                                  "Set VISUAL or EDITOR to an editor, or install xdg-utils.")
                                                     .c_str()));
        EXPECT_EQ(boxes.Calls()[0].type, (UINT)(MB_OK | MB_ICONEXCLAMATION));
    }
    // The program itself, without a desktop: the message on standard error, a failing exit.
    ScopedEnv display{"DISPLAY", std::nullopt};
    ScopedEnv wayland{"WAYLAND_DISPLAY", std::nullopt};
    EXPECT_EQ(RunStandin({"Scrivel", file, "GOTOLINE=2"}, temp / "err"), 1);
    EXPECT_NE(ReadAll(temp / "err").find("xdg-open is not on PATH"), std::string::npos);
}

TEST_F(StandinsTest, ArgumentsNotUnderstoodGiveTheUsageLine) {
    const struct {
        std::vector<std::string> args;
        const char* usage;
    } cases[] = {
        {{"Scrivel"}, "usage: Scrivel FILE"},
        {{"Scrivel", "a.txt", "b.txt"}, "usage: Scrivel FILE"},
        {{"Scrivel", "a.txt", "GOTOLINE=x"}, "usage: Scrivel FILE"},
        {{"Bytescope", "a.bin", "GOTOLINE=3"}, "usage: Bytescope FILE [SEARCH=text]"},
        {{"Bytescope", "--help"}, "usage: Bytescope FILE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.size());
        EXPECT_EQ(RunStandin(c.args, temp / "err"), 2);
        EXPECT_NE(ReadAll(temp / "err").find(c.usage), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(outPath));
    }
}
