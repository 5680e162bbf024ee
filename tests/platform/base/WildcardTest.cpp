#include <gtest/gtest.h>

#include "platform/base/Wildcard.h"

TEST(MatchWildcard, StarsQuestionMarksAndAsciiCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.*", "README", true},
        {"*.*", ".profile", true},
        {"*.*", "a.b.c", true},
        {"*.log", "QServer.LOG", true},
        {"*.log", "QServer.log.1", false},
        {"*.log", ".log", true},
        {".log", ".log", true},
        {".log", "a.log", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a*b*c", "aXXbYYbZc", true},
        {"a*b*c", "aXXbYYbZ", false},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"*x", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxy", false},
        {"\xc3\xa9*", "\xc3\x89t\xc3\xa9", false},
        {"a\\b", "a\\b", true},
        {"A\\B", "a\\b", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}
