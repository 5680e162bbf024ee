#include <gtest/gtest.h>

#include "analysis/AppMaps.h"
#include "analysis/VeltrinAnalysis.h"

namespace {
constexpr double kDay = 86400000.0;
}

TEST(TimeArithmetic, ParseLogTimeMs) {
    struct Case {
        const char* stamp;
        double ms;
    } cases[] = {
        {"2023-03-01 00:00:00.000", 60 * kDay},
        {"2024-03-01 00:00:00.000", 61 * kDay},
        {"2024-01-01 00:00:00.000", 1 * kDay},
        {"2023-01-01 01:02:03.456", kDay + 3723456.0},
        {"2023-01-01 01:02:03.4  ", kDay + 3723004.0},  // trailing blanks removed, then read whole
        {"2023-01-01 01:02:03", kDay + 3723000.0},      // no fraction
        {"1900-03-01 00:00:00.000", 60 * kDay},         // 1900 is not a leap year
        {"2000-03-01 00:00:00.000", 61 * kDay},
        {"2023-13-05 10:00:00.000", 10 * 3600000.0},  // month out of range: day of year 0
        {"2023", 0.0},                                // short stamps read as 0
        {"", 0.0},
        {"20xx-ab-cd ef:gh:ij.kl", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stamp);
        EXPECT_DOUBLE_EQ(CVeltrinAnalysis::ParseLogTimeMs(c.stamp), c.ms);
    }
}

TEST(TimeArithmetic, ElapsedAndFormatting) {
    EXPECT_DOUBLE_EQ(CVeltrinAnalysis::ElapsedMs("2023-12-31 23:59:59.000", "2024-01-01 00:00:01.000"), 0.0);
    EXPECT_DOUBLE_EQ(CVeltrinAnalysis::ElapsedMs("2023-05-01 10:00:00.000", "2023-05-01 10:00:01.250"),
                     1250.0);
    EXPECT_DOUBLE_EQ(CVeltrinAnalysis::ElapsedMs("2023-05-01 10:00:01.000", "2023-05-01 10:00:00.000"), 0.0);
    EXPECT_EQ(CVeltrinAnalysis::FormatElapsedMs(0), "00:00:00 (0 msec)");
    EXPECT_EQ(CVeltrinAnalysis::FormatElapsedMs(3723004), "01:02:03 (3723004 msec)");
    EXPECT_EQ(CVeltrinAnalysis::FormatHms(90000000), "25:00:00");
    EXPECT_EQ(CVeltrinAnalysis::FormatHms(59999), "00:00:59");
}

TEST(TimeArithmetic, LeapYearsAndWholeNumbers) {
    EXPECT_FALSE(CVeltrinAnalysis::IsLeapYear("1900"));
    EXPECT_TRUE(CVeltrinAnalysis::IsLeapYear("2000"));
    EXPECT_TRUE(CVeltrinAnalysis::IsLeapYear("2024"));
    EXPECT_FALSE(CVeltrinAnalysis::IsLeapYear("2023"));
    EXPECT_TRUE(CVeltrinAnalysis::IsLeapYear(""));
    EXPECT_TRUE(CVeltrinAnalysis::IsWholeNumber(3.0f));
    EXPECT_FALSE(CVeltrinAnalysis::IsWholeNumber(3.5f));
}

TEST(TextExtraction, MarkerExtractors) {
    CString word = "untouched", name = "untouched";
    CVeltrinAnalysis::ExtractMarkerWord("Type: ", "x Type: BATCH rest", word);
    EXPECT_EQ(word, "BATCH");
    CVeltrinAnalysis::ExtractMarkerWord("Absent: ", "x Type: BATCH", word);
    EXPECT_EQ(word, "BATCH");  // absent marker leaves the output

    CVeltrinAnalysis::ExtractMarkerWordAndName("/pt_QServer://", "to /pt_QServer://host/QServer7 done", word,
                                               name);
    EXPECT_EQ(word, "host/QServer7");
    EXPECT_EQ(name, "QServer7");
    name = "keep";
    CVeltrinAnalysis::ExtractMarkerWordAndName("/pt_QServer://", "/pt_QServer://plain next", word, name);
    EXPECT_EQ(word, "plain");
    EXPECT_EQ(name, "keep");

    CString value, path;
    CVeltrinAnalysis::ExtractMarkerValues("/pt_QClient://", "from /pt_QClient://mach01/app x", value, path);
    EXPECT_EQ(value, "MACH01");
    EXPECT_EQ(path, "//mach01/app");
    CVeltrinAnalysis::ExtractMarkerValues("ab", "abname", value, path);  // marker at the very start
    EXPECT_EQ(value, "name");
    EXPECT_EQ(path, "abname");
}

TEST(TextExtraction, SplittersAndIds) {
    CStringArray tokens;
    tokens.Add("pre");
    EXPECT_EQ(CVeltrinAnalysis::SplitToArray("a>|b||c", tokens, ">|"), 3);
    ASSERT_EQ(tokens.GetSize(), 4);
    EXPECT_EQ(tokens[3], "c");
    EXPECT_EQ(CVeltrinAnalysis::SplitToArray("|||", tokens, "|"), 0);
    std::string huge(10000, 'k');
    EXPECT_EQ(CVeltrinAnalysis::SplitToArray((huge + "|x").c_str(), tokens, "|"), 2);

    CString id = "HOST01(42)#7";
    EXPECT_EQ(CVeltrinAnalysis::SplitIdNumber(id), 42);
    EXPECT_EQ(id, "HOST01");
    id = "HOST02#3";
    EXPECT_EQ(CVeltrinAnalysis::SplitIdNumber(id), 0);
    EXPECT_EQ(id, "HOST02");

    CString h = "x", m = "y", s = "z";
    CVeltrinAnalysis::SplitColonFields("12:34:56.789", h, m, s);
    EXPECT_EQ(h, "12");
    EXPECT_EQ(m, "34");
    EXPECT_EQ(s, "56");
    h = m = s = "u";
    CVeltrinAnalysis::SplitColonFields("12:34", h, m, s);
    EXPECT_EQ(h, "12");
    EXPECT_EQ(m, "u");
    EXPECT_TRUE(CVeltrinAnalysis::IsOneChar("|", '|'));
    EXPECT_FALSE(CVeltrinAnalysis::IsOneChar("||", '|'));
    EXPECT_FALSE(CVeltrinAnalysis::IsOneChar("", '|'));
}

TEST(TextExtraction, FindInSettingListPrefersTheEqualEntry) {
    HObj broker;
    broker.m_csName = "20230501QBroker.log";
    broker.m_csServerList =
        "20230501QServer12>20230501100000|20230501QServer1>20230501100500|"
        "20230501QServer3 - N/A>YYYYMMDDHHMMSS|";
    g_mapLoadedLogs.Add(broker.m_csName, broker);
    EXPECT_EQ(CVeltrinAnalysis::FindInSettingList(broker.m_csName, "20230501QServer1"), "20230501QServer1");
    EXPECT_EQ(CVeltrinAnalysis::FindInSettingList(broker.m_csName, "QServer12"), "20230501QServer12");
    EXPECT_EQ(CVeltrinAnalysis::FindInSettingList(broker.m_csName, "20230501QServer3"),
              "20230501QServer3 - N/A");
    EXPECT_EQ(CVeltrinAnalysis::FindInSettingList(broker.m_csName, "QServer9"), "");
    EXPECT_EQ(CVeltrinAnalysis::FindInSettingList("not loaded", "QServer1"), "");
    g_mapLoadedLogs.RemoveAll();
}

TEST(TimeArithmetic, PlainYearsAgreeWithTheFloatRule) {
    // The integer shortcut for plain years must give what the float test gives for every such year.
    for (int y = 0; y <= 9999; ++y) {
        float f = (float)y;
        BOOL floatRule =
            CVeltrinAnalysis::IsWholeNumber(f / 4.0f) &&
            (!CVeltrinAnalysis::IsWholeNumber(f / 100.0f) || CVeltrinAnalysis::IsWholeNumber(f / 400.0f));
        ASSERT_EQ(CVeltrinAnalysis::IsLeapYear(std::to_string(y).c_str()), floatRule) << y;
    }
    EXPECT_TRUE(CVeltrinAnalysis::IsLeapYear("x"));  // not a number reads 0
    EXPECT_TRUE(CVeltrinAnalysis::IsLeapYear(" 2024"));
    EXPECT_FALSE(CVeltrinAnalysis::IsLeapYear("2023.5"));
}
