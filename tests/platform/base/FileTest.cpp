#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/base/File.h"

namespace {
std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/veltrin_filetest_" +
                       std::to_string(::getpid()) + "_" + name;
    return path;
}
std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

TEST(CStdioFile, TextModeWritesCrLfAndReadsItBack) {
    std::string path = TempPath("text.txt");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        f.WriteString("one\ntwo\n");
        f.WriteString("three");
        f.Close();
    }
    EXPECT_EQ(Slurp(path), "one\r\ntwo\r\nthree");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
        f.SeekToEnd();
        f.WriteString("\nfour\n");
    }
    CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeText);
    std::vector<std::string> lines;
    CString line;
    while (f.ReadString(line))
        lines.push_back(line.str());
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four"}));
    std::remove(path.c_str());
}

TEST(CFile, FailuresAreReportedNotCrashed) {
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open("/nonexistent/dir/file", CFile::modeRead, &e));
    EXPECT_TRUE(e.m_cause == CFileException::badPath || e.m_cause == CFileException::fileNotFound);
    EXPECT_EQ(GetFileAttributes("/nonexistent"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_NE(GetFileAttributes("/tmp") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    bool thrown = false;
    try {
        CFile::Remove("/nonexistent/x");
    } catch (CFileException* ex) {
        thrown = true;
        ex->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(CFile, SizesAre64Bit) {
    std::string path = TempPath("sparse.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.SetLength(5ull * 1024 * 1024 * 1024);  // sparse: no disk used
        EXPECT_EQ(f.GetLength(), 5ull * 1024 * 1024 * 1024);
    }
    EXPECT_EQ(GetFileSize64(path.c_str()), 5ll * 1024 * 1024 * 1024);
    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), st));
    EXPECT_EQ(st.m_size, 5ull * 1024 * 1024 * 1024);
    std::remove(path.c_str());
}
