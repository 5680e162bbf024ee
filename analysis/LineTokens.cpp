#include "analysis/LineTokens.h"

#include <algorithm>

#include "analysis/ExpandedLine.h"

// 64 bytes at a time: a mask of the token bytes, and the tokens' edges found from its bits.
int CLineTokens::Split(std::string_view line, std::string_view delimiters, int limit) {
    m_line = line;
    m_count = 0;
    limit = std::min(limit, kMaxTokens);
    const size_t n = line.size();
    bool inToken = false;
    size_t start = 0;
    for (size_t base = 0; base < n && m_count < limit; base += 64) {
        const size_t valid = std::min<size_t>(64, n - base);
        const uint64_t token =
            ~ByteMask64(line, base, delimiters) & (valid == 64 ? ~0ull : (1ull << valid) - 1);
        unsigned pos = 0;
        while (pos < 64) {
            if (!inToken) {
                const uint64_t first = token & (~0ull << pos);
                if (!first)
                    break;
                pos = (unsigned)__builtin_ctzll(first);
                start = base + pos;
                inToken = true;
            }
            const uint64_t after = ~token & (~0ull << pos);
            if (!after)
                break;  // the token goes on into the next block
            pos = (unsigned)__builtin_ctzll(after);
            m_start[m_count] = start;
            m_length[m_count] = base + pos - start;
            inToken = false;
            if (++m_count == limit)
                return m_count;
        }
    }
    if (inToken && m_count < limit) {  // a token that ends with the line
        m_start[m_count] = start;
        m_length[m_count] = n - start;
        ++m_count;
    }
    return m_count;
}
