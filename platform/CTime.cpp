#include "platform/CTime.h"

#include "platform/Clock.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    struct tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst;
    m_Time = static_cast<int64_t>(mktime(&fields));
}

CTime CTime::GetCurrentTime() {
    return CTime(Clock::Now());
}

struct tm CTime::GetLocalTm() const {
    const time_t seconds = static_cast<time_t>(m_Time);
    struct tm fields {};
    localtime_r(&seconds, &fields);
    return fields;
}

int CTime::GetYear() const {
    return GetLocalTm().tm_year + 1900;
}
int CTime::GetMonth() const {
    return GetLocalTm().tm_mon + 1;
}
int CTime::GetDay() const {
    return GetLocalTm().tm_mday;
}
int CTime::GetHour() const {
    return GetLocalTm().tm_hour;
}
int CTime::GetMinute() const {
    return GetLocalTm().tm_min;
}
int CTime::GetSecond() const {
    return GetLocalTm().tm_sec;
}
int CTime::GetDayOfWeek() const {
    return GetLocalTm().tm_wday + 1;
}
