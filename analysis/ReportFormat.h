// Fixed-width report-log lines without printf: the formats of the report logs use only "%-Ns" (padded on
// the right to N, never cut), "%s" and literal characters, and a report line is built from them many
// million times on a large log.
#pragma once

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/DecimalText.h"
#include "platform/base/String.h"

// A report-line format parsed once: literal runs and fields, so that a line is built by one resize and
// block copies. Lines come out as printf would write them, except that each "\n" is written as "\r\n",
// the bytes that a text-mode file holds. A field is taken up to its first NUL, as "%s" takes it; a field
// that is not given is empty.
class CReportLayout {
public:
    explicit CReportLayout(const char* format);

    void Append(std::string& out, std::initializer_list<std::string_view> fields) const;

    // What a format is made of, in order: onText(text) for literal bytes, onField(width, leftAligned) for
    // a "%s" field. Walked once by the layout, and by AppendReportLine for a line formatted once.
    template <class TEXT, class FIELD>
    static void Parse(const char* format, TEXT onText, FIELD onField);

private:
    struct Piece {
        uint32_t textEnd;  // the literal bytes before the field end here in m_text
        uint32_t width;
        bool left;
        bool blanks;  // the literal bytes before the field are all blanks
    };
    std::string m_text;           // every literal byte, in order
    std::vector<Piece> m_fields;  // one per field, in order
    bool m_tailBlanks = true;     // the literal bytes after the last field are all blanks
};

// Appends one line of the format with its fields, as CReportLayout does (for a format used once).
void AppendReportLine(std::string& out, const char* format, std::initializer_list<std::string_view> fields);

// "%02d:%02d:%02d" of the hours, minutes and seconds in ms (hours not limited).
void AppendHms(std::string& out, int32_t ms);
// "%02d:%02d:%02d (%d msec)" of ms.
void AppendElapsedMs(std::string& out, int32_t ms);

// "%ld" of a number as a text.
inline CString NumberString(long value) {
    return CString(CDecimalText(value).View());
}

template <class TEXT, class FIELD>
void CReportLayout::Parse(const char* format, TEXT onText, FIELD onField) {
    for (const char* p = format; *p; ++p) {
        if (*p == '\n') {
            onText(std::string_view("\r\n"));
            continue;
        }
        if (*p != '%') {  // a run of literal characters
            const char* run = p;
            while (p[1] && p[1] != '%' && p[1] != '\n')
                ++p;
            onText(std::string_view(run, (size_t)(p - run) + 1));
            continue;
        }
        ++p;
        bool left = *p == '-';
        if (left)
            ++p;
        size_t width = 0;
        while (*p >= '0' && *p <= '9')
            width = width * 10 + (size_t)(*p++ - '0');
        if (*p != 's') {  // the formats hold nothing else; keep the text as it stands
            if (!*p)
                break;
            onText(std::string_view(p, 1));
            continue;
        }
        onField(width, left);
    }
}
