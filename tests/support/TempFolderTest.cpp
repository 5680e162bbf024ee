#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/platform/base/DeepTree.h"

namespace fs = std::filesystem;

// The folder goes with everything in it: a chain past the path limit, a folder without rights, links.
TEST(TempFolderTest, RemovesDeepLockedAndLinkedTrees) {
    std::string path;
    {
        TempFolder folder("veltrin-support");
        path = folder.Path();
        EXPECT_TRUE(fs::is_directory(path));
        EXPECT_EQ(ReadFileBytes(folder.Write("a/b/file.txt", "bytes")), "bytes");
        EXPECT_GT(MakeDeepTree(path, 25, std::string(200, 'd'), {{"deep.txt", "x"}}).size(), 5000u);
        fs::create_directories(folder / "locked/inner");
        ASSERT_EQ(::chmod((folder / "locked/inner").c_str(), 0), 0);
        ASSERT_EQ(::chmod((folder / "locked").c_str(), 0), 0);
        fs::create_directory_symlink("/", folder / "root-link");  // removed as a link, never followed
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    EXPECT_TRUE(fs::exists("/etc"));
}
