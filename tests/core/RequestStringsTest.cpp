#include <gtest/gtest.h>

#include "core/RequestStrings.h"

TEST(ExtractAfter, ReadsOneFieldOfTheRequestLine) {
    CString line = MakeRequestLine("20230501QServer1.log", "SUBITEM", "ANALYZETA");
    EXPECT_EQ(line, "NAME=20230501QServer1.log|TYPE=SUBITEM|EXE=ANALYZETA");
    EXPECT_EQ(ExtractAfter(line, "TYPE=", '|'), CString("SUBITEM"));
    EXPECT_EQ(ExtractAfter(line, "EXE=", '|'), CString("ANALYZETA"));  // last field: the rest
    EXPECT_FALSE(ExtractAfter(line, "SEARCH=", '|').has_value());
    auto empty = ExtractAfter("NAME=|TYPE=x", "NAME=", '|');
    ASSERT_TRUE(empty.has_value());  // present but empty stays distinct from absent
    EXPECT_EQ(*empty, "");
    // A key inside a value is found at its first occurrence.
    EXPECT_EQ(ExtractAfter("NAME=aEXE=b|TYPE=t|EXE=c", "EXE=", '|'), CString("b"));
    std::string huge(100000, 'v');
    EXPECT_EQ(ExtractAfter(("NAME=" + huge).c_str(), "NAME=", '|')->GetLength(), 100000);
    EXPECT_FALSE(ExtractAfter(nullptr, "NAME=", '|').has_value());
}

TEST(RequestField, TheSearchedTextKeepsItsBars) {
    CString kept = _csCommand;
    _csCommand = "NAME=a.log|TYPE=ROOTITEM|EXE=ITEMIZE|SEARCH=select a|b";
    EXPECT_EQ(RequestField(REQ_EXE), CString("ITEMIZE"));
    EXPECT_EQ(RequestField(REQ_SEARCH), CString("select a|b"));
    _csCommand = kept;
}
