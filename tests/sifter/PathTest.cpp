#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "sifter/Path.h"

namespace {
std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/veltrin_pathtest_" + std::to_string(::getpid()) + "_" +
           name;
}
}  // namespace

TEST(CPath, SplitsAndRebuildsPaths) {
    struct Case {
        const char* given;
        BOOL folderOnly;
        const char* folder;
        const char* title;
        const char* ext;
        BOOL relative;
        std::vector<const char*> parts;
        const char* path;
    } cases[] = {
        {"/logs/QServer.log", FALSE, "/logs/", "QServer", "log", FALSE, {"logs"}, "/logs/QServer.log"},
        {"\"/my logs/a.b.log\"", FALSE, "/my logs/", "a.b", "log", FALSE, {"my logs"}, "/my logs/a.b.log"},
        {"logs/2011/x.txt", FALSE, "logs/2011/", "x", "txt", TRUE, {"logs", "2011"}, "logs/2011/x.txt"},
        {".profile", FALSE, "", ".profile", "", FALSE, {}, ".profile"},
        {"/home/u/.profile", FALSE, "/home/u/", ".profile", "", FALSE, {"home", "u"}, "/home/u/.profile"},
        {"x.txt", FALSE, "", "x", "txt", FALSE, {}, "x.txt"},
        {"a\\b.log", FALSE, "", "a\\b", "log", FALSE, {}, "a\\b.log"},  // a backslash is part of the name
        {"/var//log/", FALSE, "/var//log/", "", "", FALSE, {"var", "log"}, "/var//log/"},
        {"/logs/v1.2", TRUE, "/logs/v1.2/", "", "", FALSE, {"logs", "v1.2"}, "/logs/v1.2/"},
        {"logs", TRUE, "logs/", "", "", TRUE, {"logs"}, "logs/"},
        {"/a/b/", TRUE, "/a/b/", "", "", FALSE, {"a", "b"}, "/a/b/"},
        // A name ending in '.' keeps its dots and has no extension.
        {"/l/a.", FALSE, "/l/", "a.", "", FALSE, {"l"}, "/l/a."},
        {"/l/a..", FALSE, "/l/", "a..", "", FALSE, {"l"}, "/l/a.."},
        {"/l/a.b.", FALSE, "/l/", "a.b.", "", FALSE, {"l"}, "/l/a.b."},
        {"/l/..", FALSE, "/l/", "..", "", FALSE, {"l"}, "/l/.."},
        {"/l/.x.", FALSE, "/l/", ".x.", "", FALSE, {"l"}, "/l/.x."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        CPath p(c.given, c.folderOnly);
        EXPECT_EQ(p.GetDrive(), "");
        EXPECT_EQ(p.GetFolderPart(-1), c.folder);
        EXPECT_EQ(p.GetDriveAndFolder(), c.folder);
        EXPECT_EQ(p.GetTitle(), c.title);
        EXPECT_EQ(p.GetExtension(), c.ext);
        EXPECT_EQ(p.IsRelative(), c.relative);
        EXPECT_EQ(p.HasDriveAndRoot(), c.folder[0] == '/');
        ASSERT_EQ(p.GetFolderPartCount(), (int)c.parts.size());
        for (size_t i = 0; i < c.parts.size(); ++i)
            EXPECT_EQ(p.GetFolderPart((int)i), c.parts[i]);
        EXPECT_EQ(p.GetFolderPart(99), "");
        EXPECT_STREQ(p.GetPath(), c.path);
        EXPECT_EQ(p.GetFullPath(), c.path);
        EXPECT_EQ(p.GetFullPath(FALSE, TRUE), c.given);
    }
}

TEST(CPath, LongPathsAreNotCut) {
    std::string longPath = "/" + std::string(5000, 'd') + "/" + std::string(300, 'n') + ".log";
    CPath p(longPath.c_str());
    EXPECT_EQ(p.GetFullPath().str(), longPath);
    EXPECT_EQ(p.GetTitle().GetLength(), 300);
}

TEST(CPath, ReassigningForgetsThePreviousPath) {
    CPath p("\"/a/b.log\" -x 1", FALSE, TRUE);
    EXPECT_EQ(p.GetArgumentCount(), 1);
    p = "";
    EXPECT_EQ(p.GetFullPath(), "");
    EXPECT_EQ(p.GetArgument(-1), "");
    EXPECT_EQ(p.GetArgumentCount(), 0);
    p = "c/d.txt";
    EXPECT_EQ(p.GetFolderPartCount(), 1);
    EXPECT_EQ(p.GetFileName(), "d.txt");
    EXPECT_EQ(p.GetExtensionWithDot(), ".txt");
}

TEST(CPath, SplitsArgumentsIntoSwitchesNamesAndValues) {
    CPath p("\"/my logs/app.log\" -in a.log /title \"two words\" plain", FALSE, TRUE);
    EXPECT_EQ(p.GetFullPath(), "/my logs/app.log");
    EXPECT_EQ(p.GetTitle(), "app");
    EXPECT_EQ(p.GetArgument(-1), "-in a.log /title \"two words\" plain");
    ASSERT_EQ(p.GetArgumentCount(), 3);
    struct Arg {
        const char* name;
        const char* value;
    } expected[] = {{"in", "a.log"}, {"title", "two words"}, {"", "plain"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.GetArgument(i, TRUE), expected[i].name);
        EXPECT_EQ(p.GetArgument(i), expected[i].value);
    }
    EXPECT_EQ(p.GetArgument(3), "");
    EXPECT_EQ(p.GetFullPath(TRUE), "/my logs/app.log -in a.log /title \"two words\" plain");

    // A switch without a value stands alone; an unclosed quote ends the parse.
    CPath q("run -v -o out \"never closed", FALSE, TRUE);
    ASSERT_EQ(q.GetArgumentCount(), 2);
    EXPECT_EQ(q.GetArgument(0, TRUE), "v");
    EXPECT_EQ(q.GetArgument(0), "");
    EXPECT_EQ(q.GetArgument(1, TRUE), "o");
    EXPECT_EQ(q.GetArgument(1), "out");

    // Without the arguments flag, blanks belong to the path.
    CPath r("/my logs/a b.log", FALSE, FALSE);
    EXPECT_EQ(r.GetFileName(), "a b.log");
    EXPECT_EQ(r.GetArgumentCount(), 0);
}

TEST(CPathArgument, SetNameTakesTheSwitchFromTheTypedName) {
    struct Case {
        const char* typed;
        char sw;
        const char* name;
    } cases[] = {
        {"-out", '-', "out"}, {"/title", '/', "title"}, {"plain", '/', "plain"}, {"--a b", '-', "ab"}};
    for (const Case& c : cases) {
        CPath::CArgument arg;
        arg.SetName(c.typed);
        EXPECT_EQ(arg.m_cSwitch, c.sw) << c.typed;
        EXPECT_EQ(arg.m_sName, c.name) << c.typed;
    }
}

TEST(CPath, ReadsSizesAndTimesOfFiles) {
    std::string path = TempPath("big.bin");
    int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const off_t fiveGiB = 5LL * 1024 * 1024 * 1024;  // sparse: no disk space used
    ASSERT_EQ(::ftruncate(fd, fiveGiB), 0);
    ::close(fd);
    struct timespec times[2] = {{1300000000, 0}, {1300000100, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    CPath p(path.c_str());
    ULONGLONG size = 0;
    EXPECT_TRUE(p.GetFileSize(size));
    EXPECT_EQ(size, 5368709120ULL);
    CTime t;
    EXPECT_TRUE(p.GetFileTime(t, 2));
    EXPECT_EQ(t.GetTime(), 1300000100);
    EXPECT_TRUE(p.GetFileTime(t, 1));
    EXPECT_EQ(t.GetTime(), 1300000000);
    EXPECT_TRUE(p.GetFileTime(t, 0));
    EXPECT_GT(t.GetTime(), 0);
    ::unlink(path.c_str());

    CPath missing((path + ".missing").c_str());
    size = 7;
    EXPECT_FALSE(missing.GetFileSize(size));
    EXPECT_EQ(size, 0u);
    CPath folder("/tmp");
    EXPECT_FALSE(folder.GetFileInfo());
}
