#include <gtest/gtest.h>

#include <string>

#include "analysis/ReportLog.h"
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
