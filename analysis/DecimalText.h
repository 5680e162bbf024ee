// "%ld" of a number in a buffer of its own, its length known: a row's number cells without printf and
// without measuring the text again.
#pragma once

#include <charconv>
#include <string_view>

class CDecimalText {
public:
    CDecimalText() { Set(0); }
    explicit CDecimalText(long value) { Set(value); }
    void Set(long value) {
        char* end = std::to_chars(m_buf, m_buf + sizeof m_buf - 1, value).ptr;
        *end = '\0';
        m_size = (unsigned char)(end - m_buf);
    }
    std::string_view View() const { return {m_buf, m_size}; }
    const char* c_str() const { return m_buf; }

private:
    char m_buf[24];
    unsigned char m_size;  // a length, not a pointer: a copy stays valid
};
