#include "platform/base/Wildcard.h"

#include "platform/base/String.h"

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    if (pattern.compare("*.*") == 0)
        return true;
    // Greedy scan with one backtrack point: linear for patterns with a single '*', never exponential.
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
