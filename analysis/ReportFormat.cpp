#include "analysis/ReportFormat.h"

#include <algorithm>
#include <cstring>

namespace {
// The field's text as "%s" takes it: up to its first NUL.
inline std::string_view FieldText(std::initializer_list<std::string_view> fields, size_t i) {
    if (i >= fields.size())
        return {};
    const std::string_view text = fields.begin()[i];
    if (text.size() <= 16) {  // most fields: a call of memchr costs more than their bytes
        for (size_t k = 0; k < text.size(); ++k)
            if (text[k] == '\0')
                return text.substr(0, k);
        return text;
    }
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? text.substr(0, (size_t)((const char*)nul - text.data())) : text;
}

// "%02d" and "%d" of a number, without printf, written at p; returns the end.
char* PutNumber(char* p, int64_t n, bool twoDigits) {
    if (twoDigits && n >= 0 && n < 10)
        *p++ = '0';
    return std::to_chars(p, p + 24, n).ptr;
}
}  // namespace

CReportLayout::CReportLayout(const char* format) {
    size_t runStart = 0;
    auto allBlanks = [&](size_t from) { return m_text.find_first_not_of(' ', from) == std::string::npos; };
    Parse(
        format, [&](std::string_view text) { m_text.append(text); },
        [&](size_t width, bool left) {
            m_fields.push_back({(uint32_t)m_text.size(), (uint32_t)width, left, allBlanks(runStart)});
            runStart = m_text.size();
        });
    m_tailBlanks = allBlanks(runStart);
}

void CReportLayout::Append(std::string& out, std::initializer_list<std::string_view> fields) const {
    // The field texts are cut at their NUL once; a layout with more fields than kept here (none of the
    // reports has) cuts the rest again when it copies them.
    constexpr size_t kKept = 16;
    size_t kept[kKept];  // the lengths, left uninitialised: each is written before it is read
    size_t size = m_text.size();
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const std::string_view value = FieldText(fields, i);
        if (i < kKept)
            kept[i] = value.size();
        size += std::max<size_t>(m_fields[i].width, value.size());
    }
    // The line starts as blanks, written as one block: the padding and the blank literal runs (most of
    // a fixed-width line) need no copy of their own.
    const size_t at = out.size();
    out.resize(at + size, ' ');
    char* p = out.data() + at;
    const char* text = m_text.data();
    size_t textAt = 0;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const Piece& field = m_fields[i];
        if (!field.blanks)
            std::memcpy(p, text + textAt, field.textEnd - textAt);
        p += field.textEnd - textAt;
        textAt = field.textEnd;
        const std::string_view value =
            i < kKept ? (i < fields.size() ? fields.begin()[i].substr(0, kept[i]) : std::string_view())
                      : FieldText(fields, i);
        const size_t pad = field.width > value.size() ? field.width - value.size() : 0;
        if (!value.empty())  // a field not given has no bytes at all
            std::memcpy(p + (field.left ? 0 : pad), value.data(), value.size());
        p += pad + value.size();
    }
    if (!m_tailBlanks)
        std::memcpy(p, text + textAt, m_text.size() - textAt);
}

void AppendReportLine(std::string& out, const char* format, std::initializer_list<std::string_view> fields) {
    size_t i = 0;
    CReportLayout::Parse(
        format, [&](std::string_view text) { out.append(text); },
        [&](size_t width, bool left) {
            const std::string_view value = FieldText(fields, i++);
            const size_t pad = width > value.size() ? width - value.size() : 0;
            if (!left)
                out.append(pad, ' ');
            out.append(value);
            if (left)
                out.append(pad, ' ');
        });
}

namespace {
char* PutHms(char* p, int32_t ms) {
    const int32_t h = ms / 3600000;
    const int32_t rest = ms - h * 3600000;
    p = PutNumber(p, h, true);
    *p++ = ':';
    p = PutNumber(p, rest / 60000, true);
    *p++ = ':';
    return PutNumber(p, (rest % 60000) / 1000, true);
}
}  // namespace

void AppendHms(std::string& out, int32_t ms) {
    char buf[96];
    out.append(buf, PutHms(buf, ms));
}

void AppendElapsedMs(std::string& out, int32_t ms) {
    char buf[96];
    char* p = PutHms(buf, ms);
    std::memcpy(p, " (", 2);
    p = PutNumber(p + 2, ms, false);
    std::memcpy(p, " msec)", 6);
    out.append(buf, p + 6);
}
