#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/base/SearchNoCase.h"
#include "platform/base/String.h"

namespace {
size_t Reference(const std::string& hay, const std::string& upperNeedle) {
    for (size_t i = 0; i + upperNeedle.size() <= hay.size(); ++i) {
        size_t k = 0;
        while (k < upperNeedle.size() && AsciiUpper(hay[i + k]) == upperNeedle[k])
            ++k;
        if (k == upperNeedle.size())
            return i;
    }
    return kNotFound;
}
}  // namespace

TEST(FindNoCase, AgreesWithAPlainScanAtEveryOffsetAndLength) {
    // Small alphabets make many near misses; high bytes must never fold.
    const std::string alphabet = "aAbB\xe1\xc1 \x80zZ{@`";
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string hay(rng() % 80, ' ');
        for (char& c : hay)
            c = alphabet[rng() % alphabet.size()];
        std::string needle(1 + rng() % 6, ' ');
        for (char& c : needle)
            c = AsciiUpper(alphabet[rng() % alphabet.size()]);
        ASSERT_EQ(FindNoCase(hay.data(), hay.size(), needle), Reference(hay, needle))
            << hay << " / " << needle;
    }
}

TEST(FindNoCase, EdgesOfTheBuffer) {
    std::string hay(100, '.');
    hay.replace(94, 6, "needle");
    EXPECT_EQ(FindNoCase(hay.data(), hay.size(), "NEEDLE"), 94u);
    EXPECT_EQ(FindNoCase(hay.data(), hay.size() - 1, "NEEDLE"), kNotFound);
    EXPECT_EQ(FindNoCase(hay.data(), 0, ""), 0u);
    EXPECT_EQ(FindNoCase(hay.data(), 3, "LONGER"), kNotFound);
    // "@" and "`" sit next to the letters and must not match them.
    EXPECT_EQ(FindNoCase("@`[{", 4, "A"), kNotFound);
}
