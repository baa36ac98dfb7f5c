// A span of seconds; a day is always 86400 seconds.
#pragma once

#include <compare>
#include <cstdint>

class CTimeSpan {
public:
    constexpr CTimeSpan() = default;
    constexpr explicit CTimeSpan(int64_t seconds) : m_Span(seconds) {}
    constexpr CTimeSpan(int64_t days, int hours, int minutes, int seconds)
        : m_Span(((days * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    constexpr int64_t GetTotalSeconds() const { return m_Span; }
    // Whole days, truncated toward zero.
    constexpr int64_t GetDays() const { return m_Span / 86400; }

    constexpr auto operator<=>(const CTimeSpan&) const = default;

private:
    int64_t m_Span = 0;
};
