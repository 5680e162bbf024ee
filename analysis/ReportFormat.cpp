#include "analysis/ReportFormat.h"

#include <cstdlib>

void AppendReportLine(std::string& out, const char* format, std::initializer_list<std::string_view> fields) {
    auto field = fields.begin();
    for (const char* p = format; *p; ++p) {
        if (*p == '\n') {
            out += "\r\n";
            continue;
        }
        if (*p != '%') {  // a run of literal characters
            const char* run = p;
            while (p[1] && p[1] != '%' && p[1] != '\n')
                ++p;
            out.append(run, (size_t)(p - run) + 1);
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
            out += *p;
            continue;
        }
        std::string_view text;
        if (field != fields.end())
            text = *field++;
        text = text.substr(0, text.find('\0'));
        const size_t pad = width > text.size() ? width - text.size() : 0;
        if (!left)
            out.append(pad, ' ');
        out.append(text);
        if (left)
            out.append(pad, ' ');
    }
}
