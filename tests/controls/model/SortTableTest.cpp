#include <gtest/gtest.h>

#include "controls/model/SortTable.h"

TEST(SortTable, OrdersPairsByStampAndKeepsWhatIsNotAPair) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"b>2|a>1|", "a>1|b>2|"},
        {"x.log>0900|y.log>0800|z.log>1000|", "y.log>0800|x.log>0900|z.log>1000|"},
        {"one>1|", "one>1|"},
        {"", ""},
        {"no pair here", "no pair here"},
        {"a>1", "a>1"},                  // no complete pair: untouched
        {"b>2|a>1|c>0", "a>1|b>2|c>0"},  // unterminated tail kept at the end
        {"b>2|a>1|tail", "a>1|b>2|tail"},
        {"first>A|second>a|third>0|", "third>0|first>A|second>a|"},  // case-blind and stable
        {"second>a|first>A|", "second>a|first>A|"},
        {"p>x>y|q>a|", "q>a|p>x>y|"},  // a '>' inside the stamp stays in it
        {"n>|m>b|", "n>|m>b|"},        // empty stamp sorts first
    };
    for (const Case& c : cases)
        EXPECT_EQ(SortPairsByStamp(c.in), c.out) << "input: " << c.in;
}

TEST(SortTable, EqualStampsKeepTheirOrderInLongLists) {
    // A selection sort that swaps would move equal rows past each other.
    CString in, expected;
    for (int i = 0; i < 50; ++i)
        in += FormatString("n%02d>%c|", i, i % 2 ? 'B' : 'a').c_str();
    for (int i = 0; i < 50; i += 2)
        expected += FormatString("n%02d>a|", i).c_str();
    for (int i = 1; i < 50; i += 2)
        expected += FormatString("n%02d>B|", i).c_str();
    EXPECT_EQ(SortPairsByStamp(in), expected);
}
