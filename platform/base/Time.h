// CTime: a point in local time, seconds since the epoch.
#pragma once

#include <ctime>

#include "platform/base/String.h"

class CTime {
public:
    CTime() = default;
    explicit CTime(time_t t) : m_time(t) {}
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();
    time_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }
    // strftime format in local time.
    CString Format(const char* fmt) const;

    bool operator==(const CTime& o) const { return m_time == o.m_time; }
    bool operator!=(const CTime& o) const { return m_time != o.m_time; }
    bool operator<(const CTime& o) const { return m_time < o.m_time; }
    bool operator>(const CTime& o) const { return m_time > o.m_time; }
    bool operator<=(const CTime& o) const { return m_time <= o.m_time; }
    bool operator>=(const CTime& o) const { return m_time >= o.m_time; }

private:
    struct tm Local() const;
    time_t m_time = 0;
};

// Local date and time broken down, as the kernel's GetLocalTime gives it.
struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
void GetLocalTime(SYSTEMTIME* st);

// A time stamp in 100-nanosecond intervals since 1601, split in two 32-bit halves.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef FILETIME* PFILETIME;
typedef FILETIME* LPFILETIME;
