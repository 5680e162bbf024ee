#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/BlockReader.h"
#include "platform/base/DirWalk.h"
#include "platform/base/LongPath.h"
#include "tests/platform/base/DeepTree.h"
#include "tests/support/TempFolder.h"

namespace {
// 25 folders of 200-byte names: the deepest path is past 5,000 bytes.
class DeepFolders : public ::testing::Test {
protected:
    void SetUp() override {
        root = tmp_.Path();
        deep = MakeDeepTree(root, 25, std::string(200, 'd'), {{"target.txt", "deep text\n"}, {"Sub", ""}});
        ASSERT_GT(deep.size(), 5000u);
    }
    void TearDown() override {
        EXPECT_TRUE(TempFolder::RemoveTree(root));
        EXPECT_NE(::access(root.c_str(), F_OK), 0);
    }
    TempFolder tmp_{"veltrin_longpath"};
    std::string root, deep;
};
}  // namespace

TEST_F(DeepFolders, OpensAndReadsPastThePathLimit) {
    const std::string file = deep + "/target.txt";
    int fd = ::open(file.c_str(), O_RDONLY);  // what the system does with the whole path at once
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(errno, ENAMETOOLONG);

    fd = OpenLongPath(AT_FDCWD, file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buf[16] = {};
    EXPECT_EQ(::read(fd, buf, sizeof buf), 10);
    EXPECT_STREQ(buf, "deep text\n");
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    ::close(fd);

    // A long path relative to an open folder.
    int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(rootFd, 0);
    fd = OpenLongPath(rootFd, file.substr(root.size() + 1).c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    ::close(fd);
    CBlockReader reader;
    EXPECT_TRUE(reader.OpenAt(rootFd, file.substr(root.size() + 1).c_str()));
    ::close(rootFd);

    ASSERT_TRUE(reader.Open(file.c_str()));
    EXPECT_EQ(reader.Read(buf, sizeof buf), 10u);
    reader.Close();
    EXPECT_FALSE(reader.Open(deep.c_str()));  // a folder is refused, long or short

    std::vector<DirEntry> entries;
    ASSERT_TRUE(ReadFolder(deep.c_str(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Sub");
    EXPECT_EQ(entries[1].name, "target.txt");
    EXPECT_EQ(entries[1].size, 10u);
    ASSERT_TRUE(ReadFolder((deep + "/").c_str(), entries));  // a trailing '/' still names the folder
    EXPECT_EQ(entries.size(), 2u);
}

TEST_F(DeepFolders, LongPathFailuresKeepTheirCause) {
    struct Case {
        std::string path;
        int flags;
        int err;
    } cases[] = {
        {deep + "/missing.txt", O_RDONLY, ENOENT},
        {deep + "/target.txt/", O_RDONLY, ENOTDIR},                    // a trailing '/' asks for a folder
        {deep + "/target.txt/x", O_RDONLY, ENOTDIR},                   // a file on the way
        {deep + "/" + std::string(300, 'n'), O_RDONLY, ENAMETOOLONG},  // one name past 255 bytes
        {deep + "/target.txt", O_RDONLY | O_DIRECTORY, ENOTDIR},       // the caller's flags hold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(deep.size()));
        errno = 0;
        EXPECT_EQ(OpenLongPath(AT_FDCWD, c.path.c_str(), c.flags), -1);
        EXPECT_EQ(errno, c.err);
    }
    std::vector<DirEntry> entries(1);
    EXPECT_FALSE(ReadFolder((deep + "/missing").c_str(), entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

TEST_F(DeepFolders, AWalkStepsDownByDescriptorAndNeverThroughALink) {
    // From the root, one sub-folder at a time, to the file at the bottom.
    int fd = OpenFolder(root.c_str());
    ASSERT_GE(fd, 0);
    for (int level = 0; level < 25; ++level) {
        std::vector<DirEntry> entries;
        ASSERT_TRUE(ReadFolderAt(fd, entries));
        ASSERT_EQ(entries.size(), 1u) << level;
        ASSERT_TRUE(entries[0].isFolder);
        int sub = OpenSubFolder(fd, entries[0].name);
        ::close(fd);
        ASSERT_GE(sub, 0) << level;
        fd = sub;
    }
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ReadFolderAt(fd, entries));
    ASSERT_TRUE(ReadFolderAt(fd, entries));  // a second read starts from the top again
    EXPECT_EQ(entries.size(), 2u);
    CBlockReader reader;
    EXPECT_TRUE(reader.OpenAt(fd, "target.txt"));

    ASSERT_EQ(::symlinkat(".", fd, "loop"), 0);
    EXPECT_EQ(OpenSubFolder(fd, "loop"), -1);
    EXPECT_EQ(OpenSubFolder(fd, "target.txt"), -1);
    ::close(fd);
    EXPECT_FALSE(ReadFolderAt(-1, entries));
}
