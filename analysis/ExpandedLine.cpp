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
