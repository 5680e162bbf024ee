// Fixed-width report-log lines without printf: the formats of the report logs use only "%-Ns" (padded on
// the right to N, never cut), "%s" and literal characters, and a report line is built from them many
// million times on a large log.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Appends the format with its fields as printf would, except that each "\n" is written as "\r\n", the
// bytes that a text-mode file holds. A field is taken up to its first NUL, as "%s" takes it.
void AppendReportLine(std::string& out, const char* format, std::initializer_list<std::string_view> fields);
