#include "platform/base/Time.h"

#include <sys/time.h>

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
    struct tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    m_time = mktime(&t);
}

CTime CTime::GetCurrentTime() {
    return CTime(time(nullptr));
}

struct tm CTime::Local() const {
    struct tm t {};
    localtime_r(&m_time, &t);
    return t;
}

CString CTime::Format(const char* fmt) const {
    struct tm t = Local();
    char buf[256];
    size_t n = strftime(buf, sizeof buf, fmt ? fmt : "", &t);
    return CString(buf, (int)n);
}

void GetLocalTime(SYSTEMTIME* st) {
    struct timeval tv {};
    gettimeofday(&tv, nullptr);
    time_t secs = tv.tv_sec;
    struct tm t {};
    localtime_r(&secs, &t);
    st->wYear = (WORD)(t.tm_year + 1900);
    st->wMonth = (WORD)(t.tm_mon + 1);
    st->wDayOfWeek = (WORD)t.tm_wday;
    st->wDay = (WORD)t.tm_mday;
    st->wHour = (WORD)t.tm_hour;
    st->wMinute = (WORD)t.tm_min;
    st->wSecond = (WORD)t.tm_sec;
    st->wMilliseconds = (WORD)(tv.tv_usec / 1000);
}
