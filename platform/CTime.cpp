#include "platform/CTime.h"

#include "platform/Clock.h"

#include <algorithm>

namespace {

// Days from 1970-01-01 to a day of the proleptic Gregorian calendar; month 1-12, any day
// (day 0 is the last of the month before).
int64_t DaysFromCivil(int64_t year, int month, int64_t day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t ofEra = year - era * 400;
    const int64_t ofYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
    const int64_t ofEraDay = ofEra * 365 + ofEra / 4 - ofEra / 100 + ofYear;
    return era * 146097 + ofEraDay - 719468 + day - 1;
}

long OffsetAt(time_t moment) {
    struct tm fields {};
    localtime_r(&moment, &fields);
    return fields.tm_gmtoff;
}

// The C library reads the zone again (a stat of /etc/localtime) at every mktime; localtime_r
// keeps what it read.  The zone is looked at again once a minute, when the program asks the
// time: a changed zone is followed within a minute, as the clock shows it.
void FollowZoneChanges(int64_t now) {
    static int64_t checkedMinute = -1;
    if (now / 60 != checkedMinute) {
        checkedMinute = now / 60;
        tzset();
    }
}

} // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    if (dst >= 0) {
        // Daylight saving time stated, not decided: only the C library knows the rules.
        struct tm fields {};
        fields.tm_year = year - 1900;
        fields.tm_mon = month - 1;
        fields.tm_mday = day;
        fields.tm_hour = hour;
        fields.tm_min = minute;
        fields.tm_sec = second;
        fields.tm_isdst = dst;
        m_Time = static_cast<int64_t>(mktime(&fields));
        return;
    }
    // Fields out of range carry over as mktime's do.
    const int64_t months = static_cast<int64_t>(month) - 1;
    const int64_t yearCarry = months >= 0 ? months / 12 : (months - 11) / 12;
    const int64_t local =
        DaysFromCivil(year + yearCarry, static_cast<int>(months - yearCarry * 12) + 1, day) *
            86400 +
        static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
    // The offset in force at that local time: taken at the moment it would be with the offset
    // of the local reading, then once more.  A time the clocks skip (02:30 when they go
    // forward at 02:00) counts with the offset before the change, as mktime counts it.
    const long before = OffsetAt(static_cast<time_t>(local));
    const int64_t first = local - before;
    const long at = OffsetAt(static_cast<time_t>(first));
    if (at == before) {
        m_Time = first;
        return;
    }
    const int64_t retried = local - at;
    m_Time = OffsetAt(static_cast<time_t>(retried)) == at ? retried : std::max(first, retried);
}

CTime CTime::GetCurrentTime() {
    const CTime now(Clock::Now());
    FollowZoneChanges(now.m_Time);
    return now;
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
