#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/print/PrintEngine.h"
#include "app/print/TopsReport.h"
#include "controls/model/gxListModel.h"
#include "tests/support/TempFolder.h"

namespace {
class TopsReportTest : public ::testing::Test {
protected:
    void TearDown() override { _bLandscape = 0; }

    // A list of `rows` rows: "Rec", " Log File ", "Time" with the widths given.
    void Fill(int rows, std::vector<int> widths = {50, 60, 40}) {
        list.ResetList();
        list.m_csNames = "Rec| Log File |Time|";
        list.m_csTypes = "N|S|N|";
        list.SetColumns(3);
        for (int r = 0; r < rows; ++r) {
            list.AddItem(r, 0, std::to_string(r + 1).c_str());
            list.AddItem(r, 1, ("/var/log/app/server" + std::to_string(r) + ".log").c_str());
            list.AddItem(r, 2, "12.5");
        }
        for (int c = 0; c < 3; ++c)
            list.SetColumnWidth(c, widths[c]);
    }
    std::vector<std::string> Lines() {
        CTopsReport report(&list, &engine, "Top 20", "file text");
        EXPECT_EQ(report.Generate(), 1);
        std::vector<std::string> lines;
        std::string script = ReadFileBytes(engine.GetPathName().GetString());
        size_t from = 0;
        for (size_t end; (end = script.find('\n', from)) != std::string::npos; from = end + 1)
            lines.push_back(script.substr(from, end - from));
        lines.push_back(script.substr(from));
        return lines;
    }
    static int Count(const std::vector<std::string>& lines, const std::string& part) {
        int n = 0;
        for (const auto& l : lines)
            n += l.find(part) != std::string::npos;
        return n;
    }
    static std::string Find(const std::vector<std::string>& lines, const std::string& part) {
        for (const auto& l : lines)
            if (l.find(part) != std::string::npos)
                return l;
        return "";
    }
    gxListModel list;
    PrintEngine engine;
};
}  // namespace

TEST_F(TopsReportTest, SelectedRowsAloneArePrintedButAllAreCounted) {
    Fill(10);
    list.SetItemState(3, gxListModel::kSelected, gxListModel::kSelected);
    list.SetItemState(7, gxListModel::kSelected, gxListModel::kSelected);
    auto lines = Lines();
    EXPECT_EQ(Count(lines, ".log\","), 2);
    EXPECT_EQ(Count(lines, "\"4\",normal10"), 1);
    EXPECT_EQ(Count(lines, "\"8\",normal10"), 1);
    EXPECT_EQ(Count(lines, "\"Records: 10\""), 1);
    EXPECT_EQ(Count(lines, "\"file text\""), 1);
    EXPECT_EQ(lines[0], "<START>");
    EXPECT_EQ(lines[1], "<FONT><normal,Arial,8,0>");
    EXPECT_EQ(lines[2], "<FONT><normal10,Arial,10,0>");
    EXPECT_EQ(lines[3], "<FONT><header,Arial,14,0>");
    EXPECT_NE(Find(lines, "\"Top 20\",header,2").find("<Text,4.000000,0.230000"), std::string::npos);
}

TEST_F(TopsReportTest, PortraitPagesBreakAtTheBottomMarginAndNumberTheHeader) {
    Fill(70);
    auto lines = Lines();
    EXPECT_EQ(Count(lines, "<Page2>"), 1);
    EXPECT_EQ(Count(lines, "<Page3>"), 0);
    EXPECT_EQ(Count(lines, "\"Page 002\""), 1);
    // Right-aligned at the page width less the margin; the table spans the page less both margins.
    EXPECT_EQ(Find(lines, "\"Page 001\""), "<Text,7.900000,0.000000,0,0,\"Page 001\",normal,3>");
    EXPECT_EQ(Find(lines, "<Line,0.100000,0.680000,"), "<Line,0.100000,0.680000,7.900000,0.680000>");
    EXPECT_EQ(Count(lines, "Date Printed: "), 2);
    // No row reaches below the bottom margin.
    for (const auto& l : lines) {
        if (l.rfind("<Line,", 0) == 0) {
            EXPECT_LE(std::stod(l.substr(l.rfind(',') + 1)), 9.75 + 0.15) << l;
        }
    }
}

TEST_F(TopsReportTest, LandscapeWidensThePage) {
    _bLandscape = 1;
    Fill(70);
    auto lines = Lines();
    EXPECT_TRUE(engine.m_bLandscape);
    EXPECT_EQ(Find(lines, "\"Page 001\""), "<Text,9.900000,0.000000,0,0,\"Page 001\",normal,3>");
    EXPECT_EQ(Count(lines, "\"12.5\",normal>"), 70);
    EXPECT_EQ(Count(lines, "<Page2>"), 1);  // 8 inches tall now
    EXPECT_NE(Find(lines, "<Line,0.100000,0.680000,9.900000,0.680000>"), "");
}

TEST_F(TopsReportTest, CellTextsAreCutByColumn) {
    Fill(1, {50, 60, 0});
    auto lines = Lines();
    // A path in a " File " column 60 pixels wide keeps "..." and its last 7 characters.
    EXPECT_EQ(Count(lines, "\"...er0.log\""), 1);
    EXPECT_EQ(Count(lines, "\"1\",normal10"), 1);
    // The 0-width column gets its borders and no text.
    EXPECT_EQ(Count(lines, "12.5"), 0);
    EXPECT_EQ(Count(lines, "\"Time\""), 0);
    EXPECT_EQ(Count(lines, "<Line,7.900000,0.680000,7.900000,0.830000>"), 3);
}

TEST_F(TopsReportTest, ANarrowFileColumnShowsTheEllipsisAlone) {
    Fill(1, {50, 12, 40});
    EXPECT_EQ(Count(Lines(), "\"...\",normal10"), 1);
}

TEST_F(TopsReportTest, NoWidthLeavesTheTableOutButKeepsHeaderAndTexts) {
    Fill(3, {0, 0, 0});
    auto lines = Lines();
    for (const auto& l : lines) {
        EXPECT_EQ(l.find("nan"), std::string::npos) << l;
        EXPECT_EQ(l.find("inf"), std::string::npos) << l;
    }
    EXPECT_EQ(Count(lines, "<Line"), 0);
    EXPECT_EQ(Count(lines, "<TextRect"), 0);
    EXPECT_EQ(Count(lines, "\"Records: 3\""), 1);
    EXPECT_EQ(Count(lines, "\"file text\""), 1);
    EXPECT_EQ(Count(lines, "\"Page 001\""), 1);
}

TEST_F(TopsReportTest, LongTextsWrapAtBlanksAndReturns) {
    Fill(0);
    std::string word(20, 'w');
    std::string text = word + " " + word + " " + word + " " + word + " " + word + " tail\rnext line";
    CTopsReport report(&list, &engine, "", text.c_str());
    report.Generate();
    std::string script = ReadFileBytes(engine.GetPathName().GetString());
    std::string fourWords = word + " " + word + " " + word + " " + word + " ";
    EXPECT_NE(script.find("\"" + fourWords + "\""), std::string::npos);
    EXPECT_NE(script.find("\"" + word + " tail\""), std::string::npos);
    EXPECT_NE(script.find("\"next line\""), std::string::npos);
    // No title: nothing in the header font.
    EXPECT_EQ(script.find(",header,"), std::string::npos);
}
