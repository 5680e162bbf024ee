#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/DirWalk.h"
#include "tests/support/TempFolder.h"

TEST(ReadFolder, ListsFilesAndFoldersInCaseBlindOrderAndNothingElse) {
    TempFolder folder("veltrin_dirwalk");
    const std::string root = folder.Path();
    auto at = [&](const char* name) { return root + "/" + name; };
    for (const char* name : {"b.log", "B.log", "a.txt", "C.txt"})
        std::ofstream(at(name)) << name;
    ::mkdir(at("Sub").c_str(), 0755);
    ::mkdir(at("locked").c_str(), 0);
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink(".", at("loop").c_str()), 0);      // a linked folder
    ASSERT_EQ(::symlink("a.txt", at("link").c_str()), 0);  // a linked file
    ASSERT_EQ(::symlink("missing", at("dangling").c_str()), 0);

    std::vector<DirEntry> entries;
    ASSERT_TRUE(ReadFolder(root.c_str(), entries));
    std::vector<std::string> names;
    for (const DirEntry& e : entries)
        names.push_back(e.name.str() + (e.isFolder ? "/" : ""));
    EXPECT_EQ(names,
              (std::vector<std::string>{"a.txt", "B.log", "b.log", "C.txt", "link", "locked/", "Sub/"}));
    EXPECT_EQ(entries[0].size, 5u);
    EXPECT_EQ(entries[4].size, 5u);  // the link gives its file's size
    EXPECT_GT(entries[0].modified, 0);
    EXPECT_GE(entries[0].created, entries[0].modified - 1);

    // chmod does not keep the superuser out, so the refusal is checked only where it holds.
    DIR* probe = ::opendir(at("locked").c_str());
    if (probe) {
        ::closedir(probe);
    } else {
        entries.push_back(DirEntry());
        EXPECT_FALSE(ReadFolder(at("locked").c_str(), entries));
        EXPECT_TRUE(entries.empty());
    }
    EXPECT_FALSE(ReadFolder(at("missing").c_str(), entries));
    EXPECT_FALSE(ReadFolder(at("a.txt").c_str(), entries));

    ::chmod(at("locked").c_str(), 0755);
    EXPECT_TRUE(TempFolder::RemoveTree(root));
}
