#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "analysis/VeltrinAnalysis.h"

namespace {
// atol of the field [pos, pos+len) of text (whole rest when len is npos): leading blanks, a sign, then
// digits. What lies past the text reads as empty.
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
    long value = 0;
    for (; i < f.size() && f[i] >= '0' && f[i] <= '9'; ++i) {
        if (value > 100000000000L)
            break;  // far beyond any field; keeps the arithmetic defined
        value = value * 10 + (f[i] - '0');
    }
    return negative ? -value : value;
}
}  // namespace

double CVeltrinAnalysis::ParseLogTimeMs(LPCTSTR stampText) {
    std::string_view stamp(stampText ? stampText : "");
    long month = FieldValue(stamp, 5, 2);
    long day = FieldValue(stamp, 8, 2);
    long hour = FieldValue(stamp, 11, 2);
    long minute = FieldValue(stamp, 14, 2);
    long second = FieldValue(stamp, 17, 2);
    // The fraction: the rest from character 20, trailing blanks removed, read whole.
    long millis = stamp.size() >= 21 ? FieldValue(stamp, 20, std::string_view::npos) : 0;
    char year[5] = {0};
    stamp.copy(year, 4);
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
    int32_t h = ms / 3600000;
    int32_t rest = ms - h * 3600000;
    CString s;
    s.Format("%02d:%02d:%02d", h, rest / 60000, (rest % 60000) / 1000);
    return s;
}

CString CVeltrinAnalysis::FormatElapsedMs(int32_t ms) {
    CString s = FormatHms(ms);
    s.AppendFormat(" (%d msec)", ms);
    return s;
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
