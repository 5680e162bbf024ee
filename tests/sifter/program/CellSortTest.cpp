#include <gtest/gtest.h>

#include "sifter/program/CellSort.h"

namespace {
std::vector<int> Order(int type, std::vector<CString> cells, bool ascending = true) {
    return SortedRowOrder(type, cells, ascending);
}
}  // namespace

TEST(CellSortTest, TypeWords) {
    EXPECT_EQ(ColumnTypeCode("MCL_NUM"), MCL_NUM);
    EXPECT_EQ(ColumnTypeCode("MCL_DDMMYYYY"), MCL_DDMMYYYY);
    EXPECT_EQ(ColumnTypeCode("MCL_MMDDYY"), MCL_MMDDYY);
    EXPECT_EQ(ColumnTypeCode("MCL_WHATEVER"), MCL_ALPHA);
}

TEST(CellSortTest, PairsCompareByTheirType) {
    const struct {
        int type;
        const char* first;  // sorts strictly before `second`
        const char* second;
    } cases[] = {
        {MCL_DDMMYYYY, "06-11-2011 09:00 AM", "05-12-2011 03:07 PM"},
        {MCL_DDMMYYYY, "05-12-2011 12:30 AM", "05-12-2011 01:15 AM"},
        {MCL_DDMMYYYY, "05-12-2011 12:05 PM", "05-12-2011 01:00 PM"},
        {MCL_DDMMYYYY, "05-12-2011 11:59 AM", "05-12-2011 12:00 PM"},
        {MCL_DDMMYY, "01-01-91", "01-01-89"},  // 1991 before 2089
        {MCL_MMDDYYYY, "12-05-2011", "11-06-2012"},
        {MCL_MMDDYY, "01-31-11 10:00 AM", "02-01-11 09:00 AM"},
        {MCL_NUM, "9999 B", "10 KB"},
        {MCL_NUM, "1000 B", "1 KB"},  // a kilobyte is 1,024 bytes
        {MCL_ALPHA, "abc", "ABD"},
        {MCL_ALPHA, "Z", "_"},
        {MCL_DDMMYYYY, "", "01-01-0001"},  // damaged cells count as zero
        {MCL_DDMMYYYY, "x", "01-01-2000 garbage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " < " + c.second);
        EXPECT_LT(CompareCells(c.type, c.first, c.second), 0);
        EXPECT_GT(CompareCells(c.type, c.second, c.first), 0);
    }
    EXPECT_EQ(CompareCells(MCL_DDMMYYYY, "01-01-2000", "01-01-2000 12:00 AM"), 0);
    EXPECT_EQ(CompareCells(MCL_ALPHA, "Name", "nAME"), 0);
}

TEST(CellSortTest, SortIsStableBothWays) {
    std::vector<CString> sizes{"5 B", "10 KB", "5 B", "1 B", "10 KB"};
    EXPECT_EQ(Order(MCL_NUM, sizes), (std::vector<int>{3, 0, 2, 1, 4}));
    EXPECT_EQ(Order(MCL_NUM, sizes, false), (std::vector<int>{1, 4, 0, 2, 3}));
    EXPECT_TRUE(Order(MCL_ALPHA, {}).empty());
}
