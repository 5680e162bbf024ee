#include "platform/base/String.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
bool InSet(const char* set, char c) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

int AsciiCompareNoCase(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = (unsigned char)AsciiLower(a[i]);
        unsigned char cb = (unsigned char)AsciiLower(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string FormatStringV(const char* fmt, va_list args) {
    if (!fmt)
        return std::string();
    va_list copy;
    va_copy(copy, args);
    char small[512];
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if ((size_t)n < sizeof small)
        return std::string(small, (size_t)n);
    std::string out((size_t)n, '\0');
    std::vsnprintf(out.data(), (size_t)n + 1, fmt, args);
    return out;
}

std::string FormatString(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = FormatStringV(fmt, args);
    va_end(args);
    return s;
}

int CString::Compare(const char* s) const {
    int r = std::strcmp(m_s.c_str(), s ? s : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* s) const {
    // Compare up to the first NUL, as the C string view of the text does.
    return AsciiCompareNoCase(std::string_view(m_s.c_str()), std::string_view(s ? s : ""));
}

CString CString::Left(int count) const {
    if (count <= 0)
        return CString();
    return CString(m_s.substr(0, std::min((size_t)count, m_s.size())));
}

CString CString::Right(int count) const {
    if (count <= 0)
        return CString();
    size_t n = std::min((size_t)count, m_s.size());
    return CString(m_s.substr(m_s.size() - n));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if ((size_t)first >= m_s.size())
        return CString();
    return CString(m_s.substr((size_t)first, (size_t)count));
}

CString CString::SpanIncluding(const char* set) const {
    size_t i = 0;
    while (i < m_s.size() && InSet(set, m_s[i]))
        ++i;
    return Left((int)i);
}

CString CString::SpanExcluding(const char* set) const {
    size_t i = 0;
    while (i < m_s.size() && !InSet(set, m_s[i]))
        ++i;
    return Left((int)i);
}

int CString::Find(char ch, int start) const {
    if (start < 0 || (size_t)start >= m_s.size())
        return -1;
    size_t p = m_s.find(ch, (size_t)start);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || (size_t)start > m_s.size())
        return -1;
    size_t p = m_s.find(sub, (size_t)start);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::ReverseFind(char ch) const {
    size_t p = m_s.rfind(ch);
    return p == std::string::npos ? -1 : (int)p;
}

int CString::FindOneOf(const char* set) const {
    if (!set)
        return -1;
    size_t p = m_s.find_first_of(set);
    return p == std::string::npos ? -1 : (int)p;
}

CString& CString::MakeUpper() {
    for (char& c : m_s)
        c = AsciiUpper(c);
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : m_s)
        c = AsciiLower(c);
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(char ch) {
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(const char* set) {
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char ch) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == ch)
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const char* set) {
    size_t i = 0;
    while (i < m_s.size() && InSet(set, m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_s.empty() && IsSpace(m_s.back()))
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(char ch) {
    while (!m_s.empty() && m_s.back() == ch)
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(const char* set) {
    while (!m_s.empty() && InSet(set, m_s.back()))
        m_s.pop_back();
    return *this;
}

int CString::Replace(char from, char to) {
    int n = 0;
    for (char& c : m_s)
        if (c == from) {
            c = to;
            ++n;
        }
    return n;
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from)
        return 0;
    std::string f(from), t(to ? to : "");
    std::string out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t p = m_s.find(f, pos);
        if (p == std::string::npos)
            break;
        out.append(m_s, pos, p - pos);
        out += t;
        pos = p + f.size();
        ++n;
    }
    if (n) {
        out.append(m_s, pos, std::string::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(char ch) {
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return (int)(before - m_s.size());
}

int CString::Insert(int index, char ch) {
    if (index < 0)
        index = 0;
    if ((size_t)index > m_s.size())
        index = (int)m_s.size();
    m_s.insert(m_s.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, const char* s) {
    if (index < 0)
        index = 0;
    if ((size_t)index > m_s.size())
        index = (int)m_s.size();
    if (s)
        m_s.insert((size_t)index, s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index < 0)
        index = 0;
    if (count > 0 && (size_t)index < m_s.size())
        m_s.erase((size_t)index, (size_t)count);
    return GetLength();
}

CString CString::Tokenize(const char* set, int& start) const {
    if (start < 0)
        return CString();
    size_t i = (size_t)start;
    while (i < m_s.size() && InSet(set, m_s[i]))
        ++i;
    if (i >= m_s.size()) {
        start = -1;
        return CString();
    }
    size_t j = i;
    while (j < m_s.size() && !InSet(set, m_s[j]))
        ++j;
    start = (int)(j < m_s.size() ? j + 1 : j);
    return CString(m_s.substr(i, j - i));
}

void CString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    m_s = FormatStringV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    m_s += FormatStringV(fmt, args);
    va_end(args);
}

void CString::FormatV(const char* fmt, va_list args) {
    m_s = FormatStringV(fmt, args);
}
void CString::AppendFormatV(const char* fmt, va_list args) {
    m_s += FormatStringV(fmt, args);
}

char* CString::GetBuffer(int minLength) {
    if (minLength > 0 && (size_t)minLength > m_s.size())
        m_s.resize((size_t)minLength, '\0');
    return m_s.data();
}

char* CString::GetBufferSetLength(int length) {
    m_s.resize(length > 0 ? (size_t)length : 0, '\0');
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        m_s.resize(std::strlen(m_s.c_str()));
    } else if ((size_t)newLength <= m_s.size()) {
        m_s.resize((size_t)newLength);
    }
}
