#include "platform/CTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Runs a block with TZ set, restoring the previous zone afterwards.
class tZone {
public:
    explicit tZone(const char* zone) {
        const char* previous = std::getenv("TZ");
        m_Had = previous != nullptr;
        if (m_Had)
            m_Previous = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~tZone() {
        if (m_Had)
            setenv("TZ", m_Previous.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_Had = false;
    std::string m_Previous;
};

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
