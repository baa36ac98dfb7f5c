#include "data/tBirthdayDate.h"

#include <algorithm>
#include <cctype>

namespace {

// Whether text has the shape of pattern, where "9" stands for a digit.
bool Shaped(std::string_view text, std::string_view pattern) {
    return text.size() == pattern.size() &&
           std::equal(text.begin(), text.end(), pattern.begin(), [](char c, char p) {
               return p == '9' ? std::isdigit(static_cast<unsigned char>(c)) != 0 : c == p;
           });
}

int Number(std::string_view digits) {
    int number = 0;
    for (char digit : digits)
        number = number * 10 + (digit - '0');
    return number;
}

} // namespace

std::optional<tBirthdayDate> tBirthdayDate::Parse(std::string_view value, bool valueIsText,
                                                  int omittedYear) {
    if (valueIsText)
        return std::nullopt;
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())))
        value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
        value.remove_suffix(1);
    value = value.substr(0, value.find_first_of("Tt"));
    std::optional<int> year;
    std::string_view monthDay;
    if (Shaped(value, "99999999")) {
        year = Number(value.substr(0, 4));
        monthDay = value.substr(4);
    } else if (Shaped(value, "9999-99-99")) {
        year = Number(value.substr(0, 4));
        monthDay = value.substr(5);
    } else if (Shaped(value, "--9999") || Shaped(value, "--99-99")) {
        monthDay = value.substr(2);
    } else {
        return std::nullopt;
    }
    tBirthdayDate date;
    date.m_Month = Number(monthDay.substr(0, 2));
    date.m_Day = Number(monthDay.substr(monthDay.size() - 2));
    // Address books that keep no year write one that stands for none: 1604 (Apple, and
    // Android's), 1900 (Outlook and its servers), or the one X-APPLE-OMIT-YEAR names.
    if (year && (*year == 1604 || *year == 1900 || *year == omittedYear || *year == 0))
        year.reset();
    static constexpr int kLengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.m_Month < 1 || date.m_Month > 12 || date.m_Day < 1 ||
        date.m_Day > kLengths[date.m_Month - 1])
        return std::nullopt;
    if (year && date.m_Month == 2 && date.m_Day == 29 && !tBirthdayDate::IsLeapYear(*year))
        return std::nullopt; // a day that year did not have
    date.m_Year = year;
    return date;
}

bool tBirthdayDate::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
