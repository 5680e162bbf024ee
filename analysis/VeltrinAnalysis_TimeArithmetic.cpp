#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "analysis/ReportFormat.h"
#include "analysis/VeltrinAnalysis.h"

namespace {
// atol of text[pos, pos+len) without copying it: leading white space, a sign, then digits (the value
// is held at the limits of long, as strtol holds it). What lies past the text reads as empty.
long FieldValue(std::string_view text, size_t pos, size_t len) {
    if (pos >= text.size())
        return 0;
    std::string_view f = text.substr(pos, len);
    size_t i = 0;
    while (i < f.size() && (f[i] == ' ' || (f[i] >= '\t' && f[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < f.size() && (f[i] == '+' || f[i] == '-'))
        negative = f[i++] == '-';
    unsigned long value = 0;
    const unsigned long limit = negative ? (unsigned long)LONG_MAX + 1 : (unsigned long)LONG_MAX;
    for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) {
        unsigned digit = (unsigned)(f[i] - '0');
        if (value > (limit - digit) / 10) {
            value = limit;
            for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) {
            }
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? (long)(0 - value) : (long)value;
}
}  // namespace

double CVeltrinAnalysis::ParseLogTimeMs(LPCTSTR stampText) {
    const std::string_view stamp(stampText ? stampText : "");
    long month = FieldValue(stamp, 5, 2);
    long day = FieldValue(stamp, 8, 2);
    long hour = FieldValue(stamp, 11, 2);
    long minute = FieldValue(stamp, 14, 2);
    long second = FieldValue(stamp, 17, 2);
    long millis = 0;
    if (stamp.size() >= 21)  // trailing blanks do not change what the digits read
        millis = FieldValue(stamp, 20, std::string_view::npos);
    char year[5] = {0};
    stamp.substr(0, 4).copy(year, 4);
    int feb = IsLeapYear(year) ? 29 : 28;
    static const int before[13] = {0, 0, 31, 31, 62, 92, 123, 153, 184, 215, 245, 276, 306};
    long dayOfYear = 0;
    if (month >= 1 && month <= 12)
        dayOfYear = day + before[month] + (month >= 3 ? feb : 0);
    return (double)hour * 3600000.0 + (double)dayOfYear * 86400000.0 + (double)minute * 60000.0 +
           (double)second * 1000.0 + (double)millis;
}

double CVeltrinAnalysis::ElapsedMs(LPCTSTR startStamp, LPCTSTR endStamp) {
    double start = ParseLogTimeMs(startStamp);
    double end = ParseLogTimeMs(endStamp);
    return start <= end ? end - start : 0.0;
}

CString CVeltrinAnalysis::FormatHms(int32_t ms) {
    std::string s;
    AppendHms(s, ms);
    return CString(std::move(s));
}

CString CVeltrinAnalysis::FormatElapsedMs(int32_t ms) {
    std::string s;
    AppendElapsedMs(s, ms);
    return CString(std::move(s));
}

BOOL CVeltrinAnalysis::IsWholeNumber(float value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%f", (double)value);
    const char* dot = std::strchr(buf, '.');
    if (!dot)
        return TRUE;
    return std::atol(dot + 1) == 0;
}

BOOL CVeltrinAnalysis::IsLeapYear(LPCTSTR yearText) {
    const char* text = yearText ? yearText : "";
    // A plain year of up to four digits (every log stamp): y/100 and y/400 are whole only for multiples,
    // so the float test below reduces to the calendar rule. Anything else takes the float test.
    size_t n = std::strlen(text);
    if (n >= 1 && n <= 4 && std::strspn(text, "0123456789") == n) {
        int y = std::atoi(text);
        return (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? TRUE : FALSE;
    }
    float y = (float)std::atof(text);
    return IsWholeNumber(y / 4.0f) && (!IsWholeNumber(y / 100.0f) || IsWholeNumber(y / 400.0f));
}
