// Which stored days' people are celebrated on a day of the calendar: the day itself and, in a
// year without 29 February, 29 February's people on the 28th.  The reminder, the tray's tip,
// "--next" and the exported calendar all follow this one rule.
#pragma once

#include <chrono>
#include <cstdint>

struct tCelebratedDays {
    int32_t m_Count = 0;
    struct {
        int32_t m_Month = 0;
        int32_t m_Day = 0;
    } m_Days[2];

    const auto* begin() const { return m_Days; }
    const auto* end() const { return m_Days + m_Count; }
};

inline tCelebratedDays CelebratedDays(int32_t year, int32_t month, int32_t day) {
    tCelebratedDays days;
    days.m_Days[days.m_Count++] = {month, day};
    if (month == 2 && day == 28 && !std::chrono::year{year}.is_leap())
        days.m_Days[days.m_Count++] = {2, 29};
    return days;
}
