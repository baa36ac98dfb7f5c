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

} // namespace
