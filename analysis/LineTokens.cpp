#include "analysis/LineTokens.h"

int CLineTokens::Split(std::string_view line, std::string_view delimiters, int limit) {
    m_line = line;
    m_count = 0;
    if (limit > kMaxTokens)
        limit = kMaxTokens;
    bool isDelimiter[256] = {};
    for (char d : delimiters)
        isDelimiter[(unsigned char)d] = true;
    size_t i = 0;
    const size_t n = line.size();
    while (m_count < limit) {
        while (i < n && isDelimiter[(unsigned char)line[i]])
            ++i;
        if (i >= n)
            break;
        size_t start = i;
        while (i < n && !isDelimiter[(unsigned char)line[i]])
            ++i;
        m_start[m_count] = start;
        m_length[m_count] = i - start;
        ++m_count;
    }
    return m_count;
}
