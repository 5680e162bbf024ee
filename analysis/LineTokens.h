// The blank- or delimiter-separated tokens at the start of a line, as views into it. Runs of delimiters
// count as one and no token is empty. A token past the last one reads as empty, so a short line never
// reads outside itself.
#pragma once

#include <string_view>

#include "platform/base/String.h"

class CLineTokens {
public:
    static constexpr int kMaxTokens = 16;

    // Splits the first `limit` tokens (at most kMaxTokens) of the line; returns how many there are.
    int Split(std::string_view line, std::string_view delimiters, int limit = kMaxTokens);
    int Count() const { return m_count; }
    std::string_view operator[](int i) const {
        return (i >= 0 && i < m_count) ? m_line.substr(m_start[i], m_length[i]) : std::string_view();
    }
    CString Text(int i) const { return CString((*this)[i]); }
    // Offset of the first character after token i (the line's length when it does not exist).
    size_t EndOf(int i) const { return (i >= 0 && i < m_count) ? m_start[i] + m_length[i] : m_line.size(); }

private:
    std::string_view m_line;
    int m_count = 0;
    size_t m_start[kMaxTokens] = {};
    size_t m_length[kMaxTokens] = {};
};
