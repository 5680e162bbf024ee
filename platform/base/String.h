// CString: an 8-bit byte string with the framework's operations, over std::string.
// Text is bytes; case changes are ASCII only; Format is printf-checked.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/base/Types.h"

class CString {
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}
    CString(const char* s, int len) : m_s(s ? std::string(s, len < 0 ? 0 : (size_t)len) : std::string()) {}
    CString(char ch, int repeat = 1) : m_s(repeat > 0 ? (size_t)repeat : 0, ch) {}
    CString(const std::string& s) : m_s(s) {}
    CString(std::string&& s) : m_s(std::move(s)) {}
    explicit CString(std::string_view s) : m_s(s) {}

    CString& operator=(const char* s) {
        m_s = s ? s : "";
        return *this;
    }
    CString& operator=(char ch) {
        m_s.assign(1, ch);
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const char* s) {
        if (s)
            m_s += s;
        return *this;
    }
    CString& operator+=(char ch) {
        m_s += ch;
        return *this;
    }

    operator LPCTSTR() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    std::string& str() { return m_s; }

    int GetLength() const { return (int)m_s.size(); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int i) const { return m_s[(size_t)i]; }
    char operator[](int i) const { return m_s[(size_t)i]; }
    void SetAt(int i, char ch) { m_s[(size_t)i] = ch; }

    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
    int Collate(const char* s) const { return Compare(s); }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(const char* set);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);

    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* s);
    int Delete(int index, int count = 1);
    CString Tokenize(const char* set, int& start) const;

    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* fmt, va_list args);
    void AppendFormatV(const char* fmt, va_list args);

    // Direct buffer access: GetBuffer gives room for at least minLength bytes plus the end mark;
    // ReleaseBuffer(-1) takes the length up to the first NUL.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}
inline bool operator==(const CString& a, const char* b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const char* a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
inline bool operator!=(const CString& a, const char* b) {
    return !(a == b);
}
inline bool operator!=(const char* a, const CString& b) {
    return !(b == a);
}
inline bool operator<(const CString& a, const CString& b) {
    return a.str() < b.str();
}
inline bool operator>(const CString& a, const CString& b) {
    return a.str() > b.str();
}
inline bool operator<=(const CString& a, const CString& b) {
    return a.str() <= b.str();
}
inline bool operator>=(const CString& a, const CString& b) {
    return a.str() >= b.str();
}
inline bool operator<(const CString& a, const char* b) {
    return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const char* b) {
    return a.Compare(b) > 0;
}

inline CString operator+(const CString& a, const CString& b) {
    return CString(a.str() + b.str());
}
inline CString operator+(const CString& a, const char* b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const char* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(char a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};

// ASCII-only helpers shared by the string class and the rest of the platform.
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}
int AsciiCompareNoCase(std::string_view a, std::string_view b);
// printf into a std::string, any length.
std::string FormatStringV(const char* fmt, va_list args);
std::string FormatString(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
