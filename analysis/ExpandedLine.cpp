#include "analysis/ExpandedLine.h"

#include "core/TextHelpers.h"

#include <algorithm>
#include <cstring>

BOOL CExpandedLine::IsPrintable(std::string_view text) {
    return IsPrintableText(text);
}

std::string_view CExpandedLine::Expand(std::string_view raw) {
    return ExpandedTabs(raw, m_buffer);
}

BOOL CExpandedLine::MayHoldBarWord(std::string_view raw, std::string_view word, std::string_view other) {
    for (size_t bar = FindText(raw, "|"); bar != std::string_view::npos; bar = FindText(raw, "|", bar + 1)) {
        std::string_view after = raw.substr(std::min(bar + 2, raw.size()));
        if (after.substr(0, word.size()) == word ||
            (!other.empty() && after.substr(0, other.size()) == other))
            return TRUE;
    }
    return FALSE;
}

// memchr finds the first byte (it is the fastest scan the C library has), the rest is compared in place.
size_t FindText(std::string_view text, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    if (m == 0)
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < m)
        return std::string_view::npos;
    const char* base = text.data();
    const char* p = base + from;
    const char* last = base + text.size() - m;  // the last possible start
    const char first = needle[0];
    while (p <= last) {
        p = (const char*)std::memchr(p, first, (size_t)(last - p) + 1);
        if (!p)
            return std::string_view::npos;
        size_t k = 1;
        while (k < m && p[k] == needle[k])
            ++k;
        if (k == m)
            return (size_t)(p - base);
        ++p;
    }
    return std::string_view::npos;
}
