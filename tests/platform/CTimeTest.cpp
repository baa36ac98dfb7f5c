#include "platform/CTime.h"
#include "tests/support/TestSupport.h"

using TestSupport::tZone;

namespace {

TEST(CTimeTest, DatesAfter2038Work) {
    tZone zone("UTC");
    const CTime time(2040, 2, 29, 6, 0, 0);
    EXPECT_GT(time.GetTime(), int64_t{1} << 31);
    EXPECT_EQ(time.GetDay(), 29);
    EXPECT_EQ((time + CTimeSpan(1, 0, 0, 0)).GetMonth(), 3);
}

TEST(CTimeTest, SixInTheMorningAcrossADaylightSavingChange) {
    tZone zone("Europe/Amsterdam");
    // Clocks go forward at 02:00 on 26 March 2023; a day is still 86400 seconds.
    const CTime before(2023, 3, 25, 6, 0, 0);
    const CTime after(2023, 3, 26, 6, 0, 0);
    EXPECT_EQ((after - before).GetTotalSeconds(), 86400 - 3600);
    EXPECT_EQ(after.GetHour(), 6);
    EXPECT_EQ((before + CTimeSpan(1, 0, 0, 0)).GetHour(), 7);
}

// The local time is counted without asking the C library's mktime (which reads the zone file
// at every call): it must give what mktime gives, on the days the clocks change too.
TEST(CTimeTest, LocalTimesCountAsTheCLibraryCountsThem) {
    const struct {
        const char* m_Zone;
        int m_Year, m_Month, m_Day, m_Hour, m_Minute;
    } rows[] = {
        {"Europe/Amsterdam", 2023, 3, 26, 1, 59},  // before the clocks go forward
        {"Europe/Amsterdam", 2023, 3, 26, 2, 30},  // a time the clocks skip
        {"Europe/Amsterdam", 2023, 3, 26, 3, 0},   // just after
        {"Europe/Amsterdam", 2023, 10, 29, 3, 0},  // after the clocks go back
        {"Europe/Amsterdam", 2024, 2, 29, 6, 0},   // a leap day
        {"Europe/Amsterdam", 2026, 13, 1, 6, 0},   // month 13: January of the next year
        {"Europe/Amsterdam", 2026, 0, 1, 6, 0},    // month 0: December before
        {"Europe/Amsterdam", 2026, -13, 1, 6, 0},  // November, two years before
        {"Europe/Amsterdam", 2026, 4, 31, 6, 0},   // 31 April: 1 May
        {"Europe/Amsterdam", 2026, 3, 0, 6, 0},    // day 0: the last of February
        {"America/New_York", 2026, 3, 8, 2, 30},   // skipped there
        {"America/New_York", 2026, 11, 1, 0, 30},  // before the clocks go back
        {"Australia/Lord_Howe", 2026, 4, 5, 6, 0}, // a half-hour change
        {"Asia/Kolkata", 1969, 12, 31, 23, 0},     // before 1970
        {"Pacific/Kiritimati", 2040, 2, 29, 6, 0}, // +14 hours, after 2038
        {"UTC", 2026, 12, 31, 23, 59},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.m_Zone) + " " + std::to_string(row.m_Year) + "-" +
                     std::to_string(row.m_Month) + "-" + std::to_string(row.m_Day) + " " +
                     std::to_string(row.m_Hour) + ":" + std::to_string(row.m_Minute));
        tZone zone(row.m_Zone);
        struct tm fields {};
        fields.tm_year = row.m_Year - 1900;
        fields.tm_mon = row.m_Month - 1;
        fields.tm_mday = row.m_Day;
        fields.tm_hour = row.m_Hour;
        fields.tm_min = row.m_Minute;
        fields.tm_isdst = -1;
        const int64_t expected = static_cast<int64_t>(mktime(&fields));
        EXPECT_EQ(CTime(row.m_Year, row.m_Month, row.m_Day, row.m_Hour, row.m_Minute, 0).GetTime(),
                  expected);
    }
}

} // namespace
