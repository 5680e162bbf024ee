#include <gtest/gtest.h>

#include <clocale>

#include "controls/model/ReportCtrlModel.h"

TEST(ReportCtrlModel, ColumnHeaderTexts) {
    auto one = ParseColumnHeader("ClientMachine ID, 292;");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_STREQ(one[0].caption, "ClientMachine ID");
    EXPECT_EQ(one[0].width, 292);
    EXPECT_EQ(one[0].alignment, 0);

    auto bare = ParseColumnHeader("Name");
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0].width, 100);

    // The second caption keeps the blank after ';'; empty pieces are dropped.
    auto two = ParseColumnHeader("A, 50, 1; B, 60, 2;;X,,7");
    ASSERT_EQ(two.size(), 3u);
    EXPECT_EQ(two[0].alignment, 1);
    EXPECT_STREQ(two[1].caption, " B");
    EXPECT_EQ(two[1].alignment, 2);
    EXPECT_EQ(two[2].width, 7);  // ",," is one empty piece: the 7 is the width
    EXPECT_EQ(two[2].alignment, 0);

    EXPECT_TRUE(ParseColumnHeader("").empty());
    EXPECT_TRUE(ParseColumnHeader(";;").empty());
}

TEST(ReportCtrlModel, ComparisonSensesTheTypeOfBothTexts) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"9", "A", -1},      // hexadecimal 9 < 10
        {"A", "10", -1},     // 10 < 16
        {"ff", "FF", 0},     // same value
        {"1.5%", "2", -1},   // decimals, one with '%'
        {"10.5", "9", 1},    // not hexadecimal: decimal values
        {"2%%", "10", 1},    // two '%': not a number, text order
        {"5", "abc", -1},    // both hexadecimal: 0x5 < 0xABC
        {"5", "xyz", -1},    // a number and a word: text
        {"12", "word", -1},  // number and word: text
        {"", "", 0},
        {"", "1", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareReportTexts(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareReportTexts("b", "B"), 0);   // one hexadecimal value
    EXPECT_GT(CompareReportTexts("bx", "Bx"), 0);  // words compare case-sensitively
}

TEST(ReportCtrlModel, DatesOfTheLocaleCompareAsTimes) {
    std::setlocale(LC_TIME, "C");  // date format %m/%d/%y
    EXPECT_LT(CompareReportTexts("12/31/98", "01/01/99"), 0);  // as text "12" > "01"
    EXPECT_GT(CompareReportTexts("12/31/98 x", "01/01/99"), 0);  // not a whole date: text
}

TEST(ReportCtrlModel, SortOrderIsStableBothWays) {
    std::vector<CString> texts = {"10", "9", "A", "9"};
    EXPECT_EQ(ReportSortOrder(texts, true), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(ReportSortOrder(texts, false), (std::vector<int>{0, 2, 1, 3}));
}

TEST(ReportCtrlModel, StateFilters) {
    const int checkedSelected = ReportRowStateBits(true, true, false);
    const int plain = ReportRowStateBits(false, false, false);
    struct Case {
        int bits;
        int filter;
        bool match;
    } cases[] = {
        {plain, RC_ITEM_ALL, true},
        {plain, 0, false},
        {checkedSelected, RC_ITEM_CHECKED, true},
        {checkedSelected, RC_ITEM_CHECKED | RC_ITEM_SELECTED, true},
        {checkedSelected, RC_ITEM_CHECKED | RC_ITEM_FOCUSED, false},
        {checkedSelected, RC_ITEM_UNFOCUSED, true},
        {plain, RC_ITEM_CHECKED, false},
        {plain, RC_ITEM_UNCHECKED | RC_ITEM_UNSELECTED, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportRowMatches(c.bits, c.filter), c.match) << c.bits << " / " << c.filter;
}
