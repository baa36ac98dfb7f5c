// BDAY in every form address books and servers write it.
#include "data/tBirthdayDate.h"

#include <gtest/gtest.h>

namespace {

TEST(BirthdayDateTest, EveryFormServersSend) {
    constexpr int kNoYear = 0;
    const struct {
        const char* m_Value;
        bool m_Text;
        int m_Omitted;
        int m_Month, m_Day, m_Year; // month 0: no date; year 0: no year
    } rows[] = {
        {"19930102", false, 0, 1, 2, 1993},
        {"1993-01-02", false, 0, 1, 2, 1993},
        {"--0102", false, 0, 1, 2, kNoYear},
        {"--01-02", false, 0, 1, 2, kNoYear},
        {"--1224", false, 0, 12, 24, kNoYear}, // what Evolution's own reading loses
        {"1993-01-02T00:00:00Z", false, 0, 1, 2, 1993},
        {"19930102T120000", false, 0, 1, 2, 1993},
        // The date as written: never moved to another day through UTC.
        {"1993-01-02T23:30:00-05:00", false, 0, 1, 2, 1993},
        {"1993-01-02T00:30:00+14:00", false, 0, 1, 2, 1993},
        {"1993-01-02t08:00:00", false, 0, 1, 2, 1993},
        {" 1993-01-02 ", false, 0, 1, 2, 1993},
        // Years that stand for none.
        {"1604-12-24", false, 1604, 12, 24, kNoYear},
        {"1604-12-24", false, 0, 12, 24, kNoYear},
        {"19001224", false, 0, 12, 24, kNoYear},
        {"2000-12-24", false, 2000, 12, 24, kNoYear},
        {"0000-12-24", false, 0, 12, 24, kNoYear},
        // 29 February.
        {"2000-02-29", false, 0, 2, 29, 2000},
        {"--0229", false, 0, 2, 29, kNoYear},
        {"1604-02-29", false, 1604, 2, 29, kNoYear},
        {"1900-02-29", false, 0, 2, 29, kNoYear}, // no leap year, but no year either
        {"2001-02-29", false, 0, 0, 0, 0},        // a day 2001 did not have
        // No day of a month.
        {"1993-04-31", false, 0, 0, 0, 0},
        {"1993-13-01", false, 0, 0, 0, 0},
        {"1993-00-10", false, 0, 0, 0, 0},
        {"--0100", false, 0, 0, 0, 0},
        {"1980", false, 0, 0, 0, 0},
        {"1980-05", false, 0, 0, 0, 0},
        {"---12", false, 0, 0, 0, 0},
        {"circa 1980", true, 0, 0, 0, 0},
        {"1993-01-02", true, 0, 0, 0, 0}, // VALUE=text: a text, whatever it looks like
        {"", false, 0, 0, 0, 0},
        {"1993-0a-02", false, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.m_Value) + (row.m_Text ? " (text)" : ""));
        const std::optional<tBirthdayDate> date =
            tBirthdayDate::Parse(row.m_Value, row.m_Text, row.m_Omitted);
        if (row.m_Month == 0) {
            EXPECT_FALSE(date);
            continue;
        }
        ASSERT_TRUE(date);
        EXPECT_EQ(date->m_Month, row.m_Month);
        EXPECT_EQ(date->m_Day, row.m_Day);
        EXPECT_EQ(date->m_Year.value_or(kNoYear), row.m_Year);
    }
}

} // namespace
