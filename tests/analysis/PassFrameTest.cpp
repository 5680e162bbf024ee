#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

#include "analysis/LogPass.h"
#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "platform/base/MessageBox.h"
#include "tests/support/TempFolder.h"

namespace {
// A minimal pass on the frame: one row per line that holds "X"; throws on a line "THROW".
class FramePassView : public CVeltrinAnalysis {
public:
    explicit FramePassView(IAnalysisHost* host) : CVeltrinAnalysis(host) {}
    int32_t Run(LPCTSTR name) {
        CLogPass pass(*this, "CTest::Run", "Processing test content...", "Testing Content...");
        pass.SetUpList("TESTEXE", " Records  | Line  |  Text  |", "MCL_ALPHA|MCL_ALPHA|MCL_ALPHA|");
        CString path = pass.LogPath(name);
        if (!pass.CheckAvailable(path))
            return 0;
        return pass.Run([&] {
            if (!pass.Open(path))
                return 0;
            int32_t rows = 0;
            std::string_view line;
            while (pass.NextLine(line)) {
                if (line == "THROW")
                    AfxThrowMemoryException();
                if (line.find('X') != std::string_view::npos) {
                    CString n;
                    n.Format("%ld", (long)rows + 1);
                    List().AddItem(rows, 0, n);
                    n.Format("%ld", pass.LineNumber());
                    List().AddItem(rows, 1, n);
                    List().AddItem(rows, 2, CString(line));
                    ++rows;
                }
                pass.Step(rows);
            }
            return pass.Finish(rows);
        });
    }
};

class PassFrame : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = tmp_.Path();
        view_.m_csBaseFolder = dir_.c_str();
        view_.m_csReportType = "TESTLAYOUT";
    }
    void Write(const std::string& name, int lines, const std::string& extra = "") {
        std::ofstream out(dir_ + "/" + name, std::ios::binary);
        for (int i = 1; i <= lines; ++i)
            out << (i % 2 ? "X line " : "plain ") << i << "\r\n";
        out << extra;
    }
    std::vector<int32_t> ProgressLines() const {
        std::vector<int32_t> v;
        for (const auto& c : host_.ProgressCalls())
            v.push_back(c.done);
        return v;
    }
    TempFolder tmp_{"veltrin_frame"};
    std::string dir_;
    CRecordingHost host_;
    FramePassView view_{&host_};
};
}  // namespace

TEST_F(PassFrame, ProgressStepDependsOnTheLineCount) {
    Write("short.log", 999);
    EXPECT_EQ(view_.Run("short.log"), 500);
    // Every 100 lines for a file under 1,000 lines, once more at the end, then the bar to the total.
    EXPECT_EQ(ProgressLines(), (std::vector<int32_t>{100, 200, 300, 400, 500, 600, 700, 800, 900, 999, 999}));
    EXPECT_EQ(host_.ProgressCalls()[0].text, "Testing Content...\n100 lines processed");
    EXPECT_EQ(host_.LastWaitTotal(), 999);
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(host_.Traces().front(), "Start CTest::Run");
    EXPECT_EQ(host_.Traces().back(), "End CTest::Run");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
    EXPECT_EQ(host_.RecordsTexts().back(), " Records: 500");
    EXPECT_EQ(host_.GetList().GetCaption(), "TESTEXE");

    host_.ClearRecords();
    Write("thousand.log", 1000);
    view_.Run("thousand");  // no '.': ".log" is appended
    EXPECT_EQ(ProgressLines(), (std::vector<int32_t>{1000, 1000, 1000}));
}

TEST_F(PassFrame, ALongLogsBarEndsOnItsExactLineCount) {
    // Counted beside the pass: the dialog opens on an estimate, the bar ends on the count.
    const int lines = (int)LineCountAhead::kSyncLines * 2 + 1;
    Write("long.log", lines);
    EXPECT_EQ(view_.Run("long.log"), lines / 2 + 1);
    EXPECT_EQ(host_.LastWaitTotal(), lines);
    EXPECT_EQ(ProgressLines().back(), lines);
    EXPECT_EQ(ProgressLines().front(), 1000);
}

TEST_F(PassFrame, FailureTable) {
    MessageBoxRecorder unexpected;  // the frame shows boxes through the host only
    // Not available: message, post to the main window, no end trace.
    EXPECT_EQ(view_.Run("20230501QServer3 - N/A"), 0);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "This file is not available!\r\n" + dir_ + "/20230501QServer3 - N/A");
    EXPECT_EQ(host_.Boxes()[0].type, (UINT)(MB_ICONEXCLAMATION | MB_SETFOREGROUND));
    ASSERT_EQ(host_.PostedLog().size(), 1u);
    EXPECT_TRUE(host_.PostedLog()[0].toMainWindow);
    EXPECT_EQ(host_.PostedLog()[0].message, (UINT)WM_LOGNOTAVAILABLE);
    EXPECT_EQ(host_.Traces().back(), "Start CTest::Run");

    // Missing file: wait dialog closed, "Ready", no message.
    host_.ClearRecords();
    EXPECT_EQ(view_.Run("missing.log"), 0);
    EXPECT_TRUE(host_.Boxes().empty());
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");

    // A memory exception mid-pass: rows so far stay, the frame's message, 0 rows.
    host_.ClearRecords();
    Write("throws.log", 10, "THROW\r\nX after\r\n");
    EXPECT_EQ(view_.Run("throws.log"), 0);
    EXPECT_EQ(host_.GetList().GetItemCount(), 5);
    ASSERT_EQ(host_.Boxes().size(), 1u);
    EXPECT_EQ(host_.Boxes()[0].text, "Unable to read the file!\r\n" + dir_ + "/throws.log");
    EXPECT_EQ(host_.WaitDialogsOpen(), 0);
    EXPECT_TRUE(unexpected.Calls().empty());

    // Nothing matched: the "No Data Available" pad text.
    host_.ClearRecords();
    {
        std::ofstream out(dir_ + "/empty.log", std::ios::binary);
        out << "plain\r\nplain\r\n";
    }
    EXPECT_EQ(view_.Run("empty.log"), 0);
    EXPECT_EQ(host_.LastPadText(), "\r\n No Data Available in " + dir_ + "/empty.log for Itemize Criteria.");
}

TEST_F(PassFrame, CancelStopsReadingAndKeepsTheRows) {
    Write("long.log", 5000);
    host_.CancelAtProgress(2);
    EXPECT_EQ(view_.Run("long.log"), 1000);  // rows of the first 2,000 lines
    EXPECT_EQ(host_.Traces().back(), "End CTest::Run");
    EXPECT_EQ(host_.StatusTexts().back(), "Ready");
}
