// The report logs that the time analysis and the integrity check write, read back by their importers:
// the re-imported rows match the rows the pass listed, as far as words can carry them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "QServerLogFixture.h"
#include "analysis/AppMaps.h"

namespace {
using Handler = LRESULT (CVeltrinAnalysis::*)(WPARAM, LPARAM);

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

class ReimportWritten : public QServerLogFixture {
protected:
    void TearDown() override {
        g_mapImportedLists.RemoveAll();
        QServerLogFixture::TearDown();
    }
    // Reads a report log of the log folder back into a fresh view.
    Rows Reimport(Handler handler, const std::string& file, const char* listKey) {
        _csReportName = InDir(file).c_str();
        _csDocToOpen = listKey;
        _csListKey = listKey;
        EXPECT_GT((reader_.*handler)(0, 0), 0);
        EXPECT_TRUE(readerHost_.Boxes().empty());
        return readerHost_.Rows();
    }

    CRecordingHost readerHost_;
    CVeltrinAnalysis reader_{&readerHost_};
};
}  // namespace

TEST_F(ReimportWritten, TimeAnalysisOfOneLog) {
    Copy("qserver_ta.log");
    ASSERT_EQ(view_.PerformTimeAnalysis("qserver_ta.log", "ROOTITEM", "ANALYZETA"), 21);
    const Rows written = host_.Rows();
    const Rows read =
        Reimport(&CVeltrinAnalysis::ImportAnalyzedLog, "qserver_ta_TA.log", "qserver_ta.log_TA");

    ASSERT_EQ(read.size(), written.size());
    for (size_t r = 0; r < read.size(); ++r) {
        const auto& w = written[r];
        const auto& i = read[r];
        EXPECT_EQ(i[0], w[0]);
        EXPECT_EQ(i[1], w[1]);
        // A row without a tag lends its first content word to the Tag column.
        if (!w[2].empty()) {
            EXPECT_EQ(i[2], w[2]) << r;
        }
        EXPECT_EQ(Words(i[2] + " " + i[3]), Words(w[2] + " " + w[3])) << r;
        EXPECT_EQ(Words(i[4]), Words(w[4])) << r;
        EXPECT_EQ(i[5], w[5]) << r;
    }
}

TEST_F(ReimportWritten, TimeAnalysisOfAllLogs) {
    Copy("qserver_ta.log");
    Copy("qserver_ta2.log");
    _csDocToOpen = "SQLTimeAnalysisAllTreeview";
    _csListKey = "SQL_ANALYSIS_ALL_TA";
    g_bWaitForUpdate = 1;
    view_.PerformTimeAnalysisAll("qserver_ta.log", "SUBITEM", "ANALYZETAALL");
    g_bWaitForUpdate = 0;
    view_.PerformTimeAnalysisAll("qserver_ta2.log", "SUBITEM", "ANALYZETAALL");
    const Rows written = host_.Rows();
    const Rows read = Reimport(&CVeltrinAnalysis::ImportTaAllLog, "SQLTimeAnalysisAllTreeview_TA.log",
                               "SQLTimeAnalysisAllTreeview");

    // The report log holds the rows in request order, the list the later log's first. A row whose every
    // cell holds text comes back whole; an empty cell leaves no word, so the words after it move left.
    ASSERT_EQ(read.size(), written.size());
    int whole = 0;
    for (const auto& w : written) {
        bool full = true;
        for (const auto& cell : w)
            full = full && !cell.empty();
        if (!full)
            continue;
        ++whole;
        bool found = false;
        for (const auto& i : read)
            found = found || (i[0] == w[0] && i[2] == w[2] && i == w);
        EXPECT_TRUE(found) << w[0] << " " << w[2];
    }
    EXPECT_EQ(whole, 4);
}

TEST_F(ReimportWritten, IntegrityChecks) {
    Copy("qserver_tic.log");
    view_.PerformTICAnalysis("qserver_tic.log", "ROOTITEM", "ANALYZETIC");
    Rows expected = host_.Rows();
    for (auto& row : expected)
        row.back() += " ";  // the error text is the rest of the words, each followed by a blank
    EXPECT_EQ(Reimport(&CVeltrinAnalysis::ImportTicReportLog, "qserver_tic_TIC.log", "qserver_tic.log_TIC"),
              expected);

    Copy("qserver_tic2.log");
    host_.ClearRecords();
    _csDocToOpen = "TICAnalysisAllTreeview";
    _csListKey = "SQL_ANALYSIS_ALL_TIC";
    g_bWaitForUpdate = 1;
    view_.PerformTICAnalysisAll("qserver_tic.log", "SUBITEM", "ANALYZETICALL");
    g_bWaitForUpdate = 0;
    view_.PerformTICAnalysisAll("qserver_tic2.log", "SUBITEM", "ANALYZETICALL");
    Rows written = host_.Rows();
    // The list shows the later log's row first; the report log keeps the order of the requests.
    Rows inLogOrder(written.begin() + 1, written.end());
    inLogOrder.push_back(written.front());
    for (auto& row : inLogOrder)
        row.back() += " ";
    CRecordingHost host;
    CVeltrinAnalysis reader(&host);
    _csReportName = InDir("TICAnalysisAllTreeview_TIC.log").c_str();
    _csDocToOpen = "TICAnalysisAllTreeview";
    EXPECT_EQ(reader.ImportTicAllLog(0, 0), 4);
    EXPECT_EQ(host.Rows(), inLogOrder);
}
