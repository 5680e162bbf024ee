// A log line as the report passes match it: tabs expanded and other control bytes blanked as ExpandTabs
// does. A line of printable bytes only, by far the most common, is used as it is, without a copy.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/String.h"

class CExpandedLine {
public:
    // The expanded line; valid until the next call.
    std::string_view Expand(std::string_view raw);
    // TRUE when every byte is printable (32..126), so that ExpandTabs leaves the text as it is.
    static BOOL IsPrintable(std::string_view text);
    // FALSE when the expanded line cannot hold "| " followed by the word (or the other word): no '|' of
    // the raw line has it two bytes after it (the byte between becomes the blank). A cheap test before
    // Expand.
    static BOOL MayHoldBarWord(std::string_view raw, std::string_view word, std::string_view other = {});

private:
    std::string m_buffer;  // reused: expanding a line does not allocate once it is large enough
};

// Position of the first occurrence of needle in text (case-sensitive), or npos.
size_t FindText(std::string_view text, std::string_view needle, size_t from = 0);
inline bool HasText(std::string_view text, std::string_view needle) {
    return FindText(text, needle) != std::string_view::npos;
}
