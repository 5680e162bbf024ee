#include "controls/model/ReportCtrlModel.h"

#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <numeric>
#include <string>

namespace {
std::vector<std::string> SplitDroppingEmpty(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(sep, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool ReadHex(const char* s, unsigned long long& value) {
    if (!*s)
        return false;
    for (const char* p = s; *p; ++p)
        if (!std::isxdigit((unsigned char)*p))
            return false;
    value = (uint32_t)std::strtoull(s, nullptr, 16);
    return true;
}

bool ReadDecimal(const char* s, double& value) {
    size_t len = std::strlen(s);
    if (len && s[len - 1] == '%')
        --len;
    if (!len)
        return false;
    for (size_t i = 0; i < len; ++i)
        if (!std::strchr("0123456789+-.eE", s[i]))
            return false;
    auto result = std::from_chars(s, s + len, value);
    return result.ec == std::errc() && result.ptr == s + len;
}

bool ReadWithFormat(const char* s, const char* format, time_t& when) {
    if (!format || !*format)
        return false;
    struct tm tm{};
    tm.tm_isdst = -1;
    const char* end = strptime(s, format, &tm);
    if (!end)
        return false;
    while (*end == ' ')
        ++end;
    if (*end)
        return false;
    when = mktime(&tm);
    return true;
}

// A whole text that the locale's date-time or date format reads.
bool ReadDate(const char* s, time_t& when) {
    if (!*s)
        return false;
    return ReadWithFormat(s, nl_langinfo(D_T_FMT), when) || ReadWithFormat(s, nl_langinfo(D_FMT), when);
}

template <class T>
int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
}  // namespace

std::vector<ReportColumnHeading> ParseColumnHeader(LPCTSTR headings) {
    std::vector<ReportColumnHeading> columns;
    for (const std::string& entry : SplitDroppingEmpty(headings ? headings : "", ';')) {
        std::vector<std::string> fields = SplitDroppingEmpty(entry, ',');
        if (fields.empty())
            continue;
        ReportColumnHeading column;
        column.caption = fields[0].c_str();
        if (fields.size() > 1)
            column.width = std::atoi(fields[1].c_str());
        if (fields.size() > 2) {
            int align = std::atoi(fields[2].c_str());
            column.alignment = (align == 1 || align == 2) ? align : 0;
        }
        columns.push_back(column);
    }
    return columns;
}

int CompareReportTexts(LPCTSTR a, LPCTSTR b) {
    a = a ? a : "";
    b = b ? b : "";
    unsigned long long ha = 0, hb = 0;
    if (ReadHex(a, ha) && ReadHex(b, hb))
        return Order(ha, hb);
    double da = 0, db = 0;
    if (ReadDecimal(a, da) && ReadDecimal(b, db))
        return Order(da, db);
    time_t ta = 0, tb = 0;
    if (ReadDate(a, ta) && ReadDate(b, tb))
        return Order(ta, tb);
    int c = std::strcmp(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int ReportRowStateBits(bool selected, bool checked, bool focused) {
    return (selected ? RC_ITEM_SELECTED : RC_ITEM_UNSELECTED) | (checked ? RC_ITEM_CHECKED : RC_ITEM_UNCHECKED) |
           (focused ? RC_ITEM_FOCUSED : RC_ITEM_UNFOCUSED);
}

bool ReportRowMatches(int rowBits, int filter) {
    if (filter & RC_ITEM_ALL)
        return true;
    return filter != 0 && (rowBits & filter) == filter;
}

std::vector<int> ReportSortOrder(const std::vector<CString>& texts, bool ascending) {
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        int c = CompareReportTexts(texts[(size_t)x], texts[(size_t)y]);
        return ascending ? c < 0 : c > 0;
    });
    return order;
}
