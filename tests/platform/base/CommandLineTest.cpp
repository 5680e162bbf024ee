#include <gtest/gtest.h>

#include "platform/base/CommandLine.h"

namespace {
using Args = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Args args;
};

const SplitCase kSplitCases[] = {
    {"prog a b", {"prog", "a", "b"}},
    {"  prog\ta \t b  ", {"prog", "a", "b"}},
    {"", {}},
    {" \t ", {}},
    {"prog \"a b\" c", {"prog", "a b", "c"}},
    {"prog \"\" x \"\"", {"prog", "", "x", ""}},
    {"prog a\"b c\"d", {"prog", "ab cd"}},
    {"prog \"unterminated  part", {"prog", "unterminated  part"}},
    {"prog a\"", {"prog", "a"}},
    // Backslashes are literal unless they come before a quote.
    {"prog a\\b c\\\\d e\\", {"prog", "a\\b", "c\\\\d", "e\\"}},
    {"prog \\\"a", {"prog", "\"a"}},          // 1 backslash + quote: literal quote
    {"prog \\\\\"a b\"", {"prog", "\\a b"}},  // 2 backslashes + quote: one backslash, quote toggles
    {"prog \\\\\\\"a", {"prog", "\\\"a"}},    // 3 backslashes + quote: one backslash and a quote
    {"prog \"x y\\\\\" z", {"prog", "x y\\", "z"}},
    // "" inside a quoted part is a literal quote and the part stays quoted.
    {"prog \"a\"\"b c\"", {"prog", "a\"b c"}},
    {"prog \"\"\"\"", {"prog", "\""}},
    {"prog \"\"\"a b\"\"\"", {"prog", "\"a b\""}},
    // The program name: quotes toggle, backslashes are plain.
    {"\"/opt/my tools/prog\" arg", {"/opt/my tools/prog", "arg"}},
    {"\"C:\\Program Files\\x\\\" y", {"C:\\Program Files\\x\\", "y"}},
    {"a\"b c\"d e", {"ab cd", "e"}},
    {"\"\" a", {"", "a"}},
    // Shell syntax is plain text.
    {"prog; touch x | y $(z) `w` > out", {"prog;", "touch", "x", "|", "y", "$(z)", "`w`", ">", "out"}},
};
}  // namespace

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    for (const SplitCase& c : kSplitCases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << "line: [" << c.line << "]";
}

TEST(BuildCommandLine, QuotesOnlyWhatNeedsItAndSplitsBack) {
    EXPECT_EQ(BuildCommandLine({"prog", "a", "b"}), "prog a b");
    EXPECT_EQ(BuildCommandLine({"my prog", "a b", "", "x\\y"}), "\"my prog\" \"a b\" \"\" x\\y");
    EXPECT_EQ(BuildCommandLine({"p", "say \"hi\"", "end\\ x\\"}), "p \"say \\\"hi\\\"\" \"end\\ x\\\\\"");

    const Args cases[] = {
        {"prog"},
        {"/a b/prog", "", "\t", "\"", "\\", "\\\"", "a\\\\\"b", "tail\\\\", "x y\\"},
        {"C:\\dir\\prog", "\"\"", "a\"\"b", " lead", "trail "},
    };
    for (const Args& args : cases)
        EXPECT_EQ(SplitCommandLine(BuildCommandLine(args)), args);
}

TEST(QuoteArgument, AnyNameStaysOneArgument) {
    const char* const names[] = {
        "plain.log",
        "/My Logs/a.log",
        "a\" GOTOLINE=99 \"b.log",
        "q\"uote.log",
        "\"wrapped\".log",
        "back\\\" q.log",
        "tab\there.log",
        "a.",
        "",
        " ",
        "\"",
        "\\",
        "trail\\",
        "trail space\\",
        "two\\\\\"q",
        "end\\\\",
        "\"\"",
        "SEARCH=a  &&  b",
        "; rm -rf x | y $(z) `w`",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string line = "prog " + QuoteArgument(name) + " SEARCH=x";
        EXPECT_EQ(SplitCommandLine(line), (Args{"prog", name, "SEARCH=x"})) << line;
    }
    // Only what needs quoting is quoted.
    EXPECT_EQ(QuoteArgument("a\\b.log"), "a\\b.log");
    EXPECT_EQ(QuoteArgument("SEARCH=timeout"), "SEARCH=timeout");
    EXPECT_EQ(QuoteArgument("/My Logs/a.log"), "\"/My Logs/a.log\"");
    EXPECT_EQ(QuoteArgument("q\"uote"), "\"q\\\"uote\"");
}
