#include "analysis/LineTokens.h"

#include <cstdint>

int CLineTokens::Split(std::string_view line, std::string_view delimiters, int limit) {
    m_line = line;
    m_count = 0;
    if (limit > kMaxTokens)
        limit = kMaxTokens;
    uint64_t set[4] = {0, 0, 0, 0};  // one bit per byte value
    for (char d : delimiters)
        set[(unsigned char)d >> 6] |= 1ull << ((unsigned char)d & 63);
    auto isDelimiter = [&](char c) { return (set[(unsigned char)c >> 6] >> ((unsigned char)c & 63)) & 1; };
    size_t i = 0;
    const size_t n = line.size();
    while (m_count < limit) {
        while (i < n && isDelimiter(line[i]))
            ++i;
        if (i >= n)
            break;
        size_t start = i;
        while (i < n && !isDelimiter(line[i]))
            ++i;
        m_start[m_count] = start;
        m_length[m_count] = i - start;
        ++m_count;
    }
    return m_count;
}
