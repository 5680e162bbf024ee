#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/FileWriterThread.h"
#include "analysis/ReportLog.h"
#include "platform/base/File.h"
#include "tests/analysis/ImportTestSupport.h"

using importtest::ReadFile;
using importtest::WriteFile;

// A report log is deleted at its close only when it holds exactly the header as written (CR LF
// included); any other content, however short, is a user's file and stays as it was.
TEST(ReportLog, CloseDeletesOnlyAFileHoldingJustTheHeader) {
    const char header[] = "Records     Line        File\n";  // 30 bytes on disk
    const struct {
        const char* what;
        bool existed;
        std::string before;
        bool deleted;
    } cases[] = {
        {"a new file: the header only", false, "", true},
        {"an empty file gets the header", true, "", true},
        {"two short rows", true, "row one\r\nrow two\r\n", false},
        {"as many bytes as the header", true, std::string(30, 'x'), false},
        {"the header with a bare line end", true, "Records     Line        File\n", false},
        {"one byte", true, "x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        importtest::TempFolder dir;
        const std::string path = dir / "r_TA.log";
        if (c.existed)
            WriteFile(path, c.before);
        CReportLog log(path.c_str());
        ASSERT_TRUE(log.OpenWithHeader(header));
        EXPECT_TRUE(log.CloseDeletingHeaderOnly(header));
        EXPECT_EQ(access(path.c_str(), F_OK) != 0, c.deleted);
        if (!c.deleted) {
            EXPECT_EQ(ReadFile(path), c.before.empty() ? "Records     Line        File\r\n" : c.before);
        }
    }

    // A file of rows after the header stays.
    importtest::TempFolder dir;
    const std::string path = dir / "rows.log";
    CReportLog log(path.c_str());
    ASSERT_TRUE(log.OpenWithHeader(header));
    log.AppendText("1  2  a.log\n");
    log.CloseDeletingHeaderOnly(header);
    EXPECT_EQ(ReadFile(path), "Records     Line        File\r\n1  2  a.log\r\n");
}

// A fixed-width line as "%-Ns  " lays out each field, whether the file is held open (laid out in the
// writer's buffer) or opened for the one line.
TEST(ReportLog, AppendLinePadsFieldsNeverCutsAndEndsInCrLf) {
    const struct {
        const char* what;
        std::vector<CReportLog::Field> fields;
        std::string last;
        std::string written;
    } cases[] = {
        {"padded to the widths", {{"1", 3}, {"ab", 4}}, "gap", "1    ab    gap\r\n"},
        {"a field at or over its width is not cut", {{"abc", 3}, {"abcdef", 2}}, "", "abc  abcdef  \r\n"},
        {"a head and a tail count together", {{"text", " ^", 8}, {"", " ^", 3}}, "x", "text ^     ^   x\r\n"},
        {"no fields", {}, "only", "only\r\n"},
        {"a line end inside a field", {{"a\nb", 4}}, "", "a\r\nb   \r\n"},
    };
    for (bool open : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (open ? ", held open" : ", opened per line"));
            importtest::TempFolder dir;
            const std::string path = dir / "r_TA.log";
            CReportLog log(path.c_str());
            if (open) {
                ASSERT_TRUE(log.Open());
            }
            EXPECT_TRUE(log.AppendLine(c.fields, c.last));
            EXPECT_TRUE(log.Close());
            EXPECT_EQ(ReadFile(path), c.written);
        }
    }
}

// Text (each "\n" written as CR LF by the writer's thread) and raw bytes keep their order across
// buffers, a text larger than a buffer included.
TEST(FileWriterThread, TextAndRawBytesKeepTheirOrderAcrossBuffers) {
    importtest::TempFolder dir;
    const std::string path = dir / "out.log";
    std::string expected;
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        CFileWriterThread writer(file);
        for (int i = 0; i < 30000; ++i) {
            const std::string line = "line " + std::to_string(i) + std::string((size_t)i % 90, '.') + "\n";
            if (i % 7 == 0) {
                ASSERT_TRUE(writer.AddRaw(line));
                expected += line;
            } else {
                ASSERT_TRUE(writer.Add(line));
                expected += line.substr(0, line.size() - 1) + "\r\n";
            }
            if (i == 20000) {  // one text larger than a whole buffer
                const std::string big(CFileWriterThread::kBufferSize + 10, '\n');
                ASSERT_TRUE(writer.Add(big));
                for (size_t k = 0; k < big.size(); ++k)
                    expected += "\r\n";
            }
        }
        ASSERT_TRUE(writer.Drain());
        file.Close();
    }
    const std::string written = ReadFile(path);
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}
