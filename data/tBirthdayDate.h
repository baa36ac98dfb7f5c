// A birthday as address books write it in a card's BDAY: the month and the day, and the year
// where the card gives a real one.
#pragma once

#include <optional>
#include <string_view>

class tBirthdayDate {
public:
    int m_Month = 0; // 1-12
    int m_Day = 0;   // 1-31
    std::optional<int> m_Year;

    // Reads a BDAY value: 19930102, 1993-01-02, --0102, --01-02, and any of these with a time
    // after "T" (with or without an offset: the date as written, never moved through UTC).
    // A year written as a stand-in (1604, Apple's X-APPLE-OMIT-YEAR, 1900) is no year.  None
    // for a value that is no day of a month (VALUE=text, "circa 1980", 31 April).
    static std::optional<tBirthdayDate> Parse(std::string_view value, bool valueIsText = false,
                                              int omittedYear = 0);

    static bool IsLeapYear(int year);

    bool operator==(const tBirthdayDate&) const = default;
};
