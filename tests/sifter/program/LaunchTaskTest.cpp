#include <gtest/gtest.h>

#include "platform/base/CommandLine.h"
#include "platform/base/MessageBox.h"
#include "sifter/program/FileProbe.h"
#include "sifter/program/LaunchTask.h"
#include "tests/platform/base/ProcessTestSupport.h"

using namespace process_test;

TEST(LaunchTaskTest, OptionWords) {
    const struct {
        const char* options;
        BOOL accepted;
        const char* prefix;
        int show;
        BOOL wait;
    } cases[] = {
        {"FOREGROUND, INDEPENDENT, WINSESSIONCHILD", TRUE, "LaunchWinAppFg-->", 1, FALSE},
        {"", TRUE, "", 1, TRUE},
        {"FOREGROUND BACKGROUND", TRUE, "LaunchWinAppBg-->", 0, TRUE},
        {"MAXIMIZE", TRUE, "", 3, TRUE},
        {"foreground", TRUE, "", 1, TRUE},  // words keep their case
        {"FOREGROUND PMWINDOW", FALSE, "", 1, TRUE},
        {"PMDEFAULT", FALSE, "", 1, TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        CString title;
        int show = -1;
        BOOL wait = -1;
        EXPECT_EQ(ParseLaunchOptions("Scrivel a.log", c.options, title, show, wait), c.accepted);
        if (!c.accepted)
            continue;
        EXPECT_EQ(std::string(title), std::string(c.prefix) + "Scrivel a.log");
        EXPECT_EQ(show, c.show);
        EXPECT_EQ(wait, c.wait);
    }
    CString title;
    int show;
    BOOL wait;
    ParseLaunchOptions(CString('x', 400), "FOREGROUND", title, show, wait);
    EXPECT_EQ(title.GetLength(), 255);
}

TEST(LaunchTaskTest, ViewerCommandQuotesOnlyWhatNeedsIt) {
    EXPECT_STREQ(ViewerCommand("Scrivel", "/My Logs/a.log", "timeout"),
                 "Scrivel \"/My Logs/a.log\" SEARCH=timeout");
    EXPECT_STREQ(ViewerCommand("Scrivel", "/l/a.log", "timeout"), "Scrivel /l/a.log SEARCH=timeout");
    EXPECT_STREQ(ViewerCommand("Bytescope", "/l/b.bin", "a && b"), "Bytescope /l/b.bin \"SEARCH=a && b\"");
}

TEST(LaunchTaskTest, ViewerCommandKeepsAwkwardPathsAndTextsWhole) {
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"/l/a\" GOTOLINE=99 \"b.log", "x"},
        {"/l/q\"uote.log", "x"},
        {"/l/\"wrapped\".log", "x"},
        {"/l/back\\\" q.log", "x"},
        {"/l/tab\there.log", "x"},
        {"/l/a.", "x"},
        {"/l/dir\\", "two  blanks"},
        {"/l/a.log", "say \"hi\" GOTOLINE=1"},
        {"/l/a.log", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CString line = ViewerCommand("Scrivel", c.path, c.text);
        EXPECT_EQ(SplitCommandLine(line.GetString()),
                  (std::vector<std::string>{"Scrivel", c.path, std::string("SEARCH=") + c.text}))
            << line.GetString();
    }
}

TEST(LaunchTaskTest, FailuresAreReported) {
    MessageBoxRecorder boxes;
    CString saved = g_sLaunchOptions;
    g_sLaunchOptions = "FOREGROUND PMWINDOW";
    EXPECT_EQ(LaunchTask("Scrivel x"), -7);
    g_sLaunchOptions = saved;
    EXPECT_EQ(LaunchTask("no_such_program_here x"), -2);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_STREQ(boxes.Calls()[0].text, "Failed to Launch Task 'Scrivel x, FOREGROUND PMWINDOW' Err=-7\n");
    EXPECT_STREQ(
        boxes.Calls()[1].text,
        "Executable Not Found: 'no_such_program_here x'\n\nThis executable must be installed\nto the "
        "same directory as this application.\n");
    EXPECT_EQ(boxes.Calls()[1].type, (UINT)(MB_ICONEXCLAMATION | MB_SETFOREGROUND));
}

TEST(LaunchTaskTest, ProbeTellsTextFromBinary) {
    TempDir dir;
    const struct {
        std::string bytes;
        int kind;
    } cases[] = {
        {"", PROBE_TEXT},
        {"plain\ttext\r\nline\n", PROBE_TEXT},
        {"caf\xc3\xa9 \xe2\x82\xac", PROBE_TEXT},  // UTF-8
        {std::string("a\0b", 3), PROBE_TEXT},      // 16-bit text holds NULs
        {"\x01"
         "abc",
         PROBE_BINARY},
        {"text then \x1b escape", PROBE_BINARY},
        {"caf\xe9", PROBE_BINARY},                           // not UTF-8
        {"cut \xe2\x82", PROBE_BINARY},                      // sequence cut off by the end
        {"\xc0\xaf", PROBE_BINARY},                          // overlong form
        {std::string(16384, 'a') + "\x02", PROBE_BINARY},    // past the first block
        {std::string(16383, 'a') + "\xc3\xa9", PROBE_TEXT},  // sequence across two blocks
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(i);
        std::string path = dir / ("f" + std::to_string(i++));
        WriteFile(path, c.bytes, 0644);
        EXPECT_EQ(ProbeFileBytes(path.c_str()), c.kind);
    }
    EXPECT_EQ(ProbeFileBytes((dir / "missing").c_str()), PROBE_UNREADABLE);
    EXPECT_EQ(ProbeFileBytes(dir.Path().c_str()), PROBE_UNREADABLE);
}
