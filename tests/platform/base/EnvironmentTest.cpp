#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/base/Environment.h"

namespace {

std::string Expand(const char* text) {
    DWORD n = ExpandEnvironmentStrings(text, nullptr, 0);
    std::string out(n, '\0');
    EXPECT_EQ(ExpandEnvironmentStrings(text, out.data(), n), n);
    out.resize(n - 1);
    return out;
}

TEST(Environment, ReferencesToSetVariablesAreReplacedOthersStay) {
    setenv("VELTRIN_ENV_A", "/home/a", 1);
    unsetenv("VELTRIN_ENV_UNSET");
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"%VELTRIN_ENV_A%/x", "/home/a/x"},
        {"%VELTRIN_ENV_UNSET%/x", "%VELTRIN_ENV_UNSET%/x"},
        {"a%%b", "a%%b"},
        {"50% off", "50% off"},
        {"%VELTRIN_ENV_UNSET%VELTRIN_ENV_A%", "%VELTRIN_ENV_UNSET/home/a"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Expand(c.in), c.out) << c.in;
    unsetenv("VELTRIN_ENV_A");
}

TEST(Environment, AShortBufferIsLeftAloneAndTheSizeAnswered) {
    char buffer[4] = "abc";
    EXPECT_EQ(ExpandEnvironmentStrings("longer text", buffer, sizeof(buffer)), 12u);
    EXPECT_STREQ(buffer, "abc");
}

}  // namespace
