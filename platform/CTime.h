// A moment as seconds since 1970-01-01 00:00 UTC, broken down in local time on demand (the
// TZ environment applies).  The count is 64 bits wide, so dates after January 2038 work.
#pragma once

#include "platform/CTimeSpan.h"

#include <cstdint>
#include <ctime>

class CTime {
public:
    constexpr CTime() = default;
    constexpr explicit CTime(int64_t seconds) : m_Time(seconds) {}
    // Local date and time; fields out of range are normalised as mktime does (day 31 of a
    // 30-day month is the 1st of the next).  dst < 0 lets the C library decide.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    static CTime GetCurrentTime();

    constexpr int64_t GetTime() const { return m_Time; }
    struct tm GetLocalTm() const;
    int GetYear() const;
    int GetMonth() const; // 1-12
    int GetDay() const;   // 1-31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday .. 7 = Saturday

    constexpr CTime operator+(CTimeSpan span) const {
        return CTime(m_Time + span.GetTotalSeconds());
    }
    constexpr CTime operator-(CTimeSpan span) const {
        return CTime(m_Time - span.GetTotalSeconds());
    }
    constexpr CTimeSpan operator-(CTime other) const { return CTimeSpan(m_Time - other.m_Time); }
    constexpr auto operator<=>(const CTime&) const = default;

private:
    int64_t m_Time = 0;
};
