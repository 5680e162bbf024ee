#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "analysis/VeltrinAnalysis.h"

namespace {
// Leading-digits value of the field at [pos, pos+len) of text; what lies past the text reads as empty.
long FieldValue(const std::string& text, size_t pos, size_t len) {
    if (pos >= text.size())
        return 0;
    return std::atol(text.substr(pos, len).c_str());
}
}  // namespace

double CVeltrinAnalysis::ParseLogTimeMs(LPCTSTR stampText) {
    std::string stamp(stampText ? stampText : "");
    long month = FieldValue(stamp, 5, 2);
    long day = FieldValue(stamp, 8, 2);
    long hour = FieldValue(stamp, 11, 2);
    long minute = FieldValue(stamp, 14, 2);
    long second = FieldValue(stamp, 17, 2);
    long millis = 0;
    if (stamp.size() >= 21) {
        std::string frac = stamp.substr(20);
        while (!frac.empty() && frac.back() == ' ')
            frac.pop_back();
        millis = std::atol(frac.c_str());
    }
    int feb = IsLeapYear(stamp.substr(0, 4).c_str()) ? 29 : 28;
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
    // Every stamp of a log asks about the same year: remember the last answer (per thread, for the
    // elapsed-time workers).
    thread_local std::string lastText;
    thread_local BOOL lastAnswer = FALSE;
    thread_local bool known = false;
    const char* text = yearText ? yearText : "";
    if (known && lastText == text)
        return lastAnswer;
    lastText = text;
    known = true;
    float y = (float)std::atof(yearText ? yearText : "");
    lastAnswer = IsWholeNumber(y / 4.0f) && (!IsWholeNumber(y / 100.0f) || IsWholeNumber(y / 400.0f));
    return lastAnswer;
}
