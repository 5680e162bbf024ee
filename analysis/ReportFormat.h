// Fixed-width report-log lines without printf: the formats of the report logs use only "%-Ns" (padded on
// the right to N, never cut), "%s" and literal characters, and a report line is built from them many
// million times on a large log.
#pragma once

#include <charconv>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/base/String.h"

// Appends the format with its fields as printf would, except that each "\n" is written as "\r\n", the
// bytes that a text-mode file holds. A field is taken up to its first NUL, as "%s" takes it.
void AppendReportLine(std::string& out, const char* format, std::initializer_list<std::string_view> fields);

// "%ld" of a number into a buffer, without printf's cost on every line.
inline void NumberText(char (&buf)[24], long value) {
    *std::to_chars(buf, buf + sizeof buf - 1, value).ptr = '\0';
}
// "%ld" of a number as a text.
inline CString NumberString(long value) {
    char buf[24];
    NumberText(buf, value);
    return CString(buf);
}
