#include "data/tDataFile.h"
#include "platform/Clock.h"
#include "platform/tWorkStep.h"
#include "tests/support/TestSupport.h"

#include <cstdint>

using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { m_Data.SetFileName("Cal_Data\\DataFile.txt"); }
    void TearDown() override { Clock::SetNow(std::nullopt); }
    const std::string m_Path = "Cal_Data/DataFile.txt";
    TestSupport::tScratch m_Scratch;
    TestSupport::tZone m_Zone{"Europe/Amsterdam"};
    tDataFile m_Data;
};

TEST_F(SettingsTest, PlacementRoundTripsWithNegativeCoordinates) {
    WriteFile(m_Path, "[settings]\nWP.MAXPOS.X=7\nwp.Flags=2\n");
    WINDOWPLACEMENT placement;
    m_Data.ReadWindowPlacement(placement);
    EXPECT_EQ(placement.ptMaxPosition.x, 7);
    EXPECT_EQ(placement.flags, 2u);
    placement.flags = 0;
    placement.showCmd = 1;
    placement.ptMinPosition = {-1, -1};
    placement.ptMaxPosition = {-1, -1};
    placement.rcNormalPosition = {-120, 80, 520, 460};
    ASSERT_TRUE(m_Data.WriteWindowPlacement(placement));
    EXPECT_EQ(ReadFile(m_Path), "[settings]\nWP.MAXPOS.X=-1\nwp.Flags=0\nwp.ShowCmd=1\n"
                                "wp.MinPos.x=-1\nwp.MinPos.y=-1\nwp.maxpos.y=-1\n"
                                "wp.NormPos.l=-120\nwp.NormPos.t=80\nwp.NormPos.r=520\n"
                                "wp.NormPos.b=460\n");
    WINDOWPLACEMENT back;
    m_Data.ReadWindowPlacement(back);
    EXPECT_EQ(back.rcNormalPosition.left, -120);
    EXPECT_EQ(back.rcNormalPosition.bottom, 460);
    EXPECT_EQ(back.ptMaxPosition.y, -1);
}

TEST_F(SettingsTest, TheLastAlarmDateIsSixInTheMorningNormalised) {
    const CTime noneStored(2026, 6, 1, 6, 0, 0);
    struct {
        const char* name;
        int day, month, year;
        CTime expected;
    } const rows[] = {
        {"plain", 14, 5, 2026, CTime(2026, 5, 14, 6, 0, 0)},
        {"30 February", 30, 2, 2023, CTime(2023, 3, 2, 6, 0, 0)},
        {"30 February in a leap year", 30, 2, 2024, CTime(2024, 3, 1, 6, 0, 0)},
        {"the day daylight saving starts", 26, 3, 2023, CTime(2023, 3, 26, 6, 0, 0)},
        // A damaged date reads as none stored (the 1st of this month): no years to catch up.
        {"a damaged year", 3, 6, -5, noneStored},
        {"ten years back", 14, 6, 2016, CTime(2016, 6, 14, 6, 0, 0)},
        {"a day more than ten years back", 13, 6, 2016, noneStored},
        {"more than ten years back", 1, 6, 2016, noneStored},
        {"more than a year ahead", 20, 6, 2027, noneStored},
        {"the smallest numbers", INT32_MIN, INT32_MIN, 2026, noneStored},
        {"the largest numbers", INT32_MAX, INT32_MAX, INT32_MAX, noneStored},
    };
    Clock::SetNow(CTime(2026, 6, 14, 10, 0, 0).GetTime());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(m_Path, "[settings]\n" + TestSupport::LastAlarm(row.day, row.month, row.year));
        const CTime date = m_Data.ReadLastAlarmDate();
        EXPECT_EQ(date, row.expected);
        EXPECT_EQ(date.GetHour(), 6);
    }
}

// The date is kept between reads (the idle step asks for it all the time): the clock passing
// into another day, our own write and a change by another program are each seen.
TEST_F(SettingsTest, TheLastAlarmDateFollowsTheClockAndEveryChange) {
    WriteFile(m_Path, "[settings]\nnotify_days=3\n");
    Clock::SetNow(CTime(2026, 6, 30, 23, 59, 0).GetTime());
    EXPECT_EQ(m_Data.ReadLastAlarmDate(), CTime(2026, 6, 1, 6, 0, 0)) << "none stored: the 1st";
    Clock::SetNow(CTime(2026, 7, 1, 0, 0, 0).GetTime());
    EXPECT_EQ(m_Data.ReadLastAlarmDate(), CTime(2026, 7, 1, 6, 0, 0)) << "a minute later";
    ASSERT_TRUE(m_Data.WriteLastAlarmDate(CTime(2026, 6, 29, 12, 0, 0)));
    EXPECT_EQ(m_Data.ReadLastAlarmDate(), CTime(2026, 6, 29, 6, 0, 0)) << "our own write";
    {
        const tWorkStep step;
        EXPECT_EQ(m_Data.ReadLastAlarmDate(), CTime(2026, 6, 29, 6, 0, 0));
        WriteFile(m_Path, "[settings]\n" + TestSupport::LastAlarm(30, 6, 2026) + "alarm_hour=7\n");
    }
    EXPECT_EQ(m_Data.ReadLastAlarmDate(), CTime(2026, 6, 30, 7, 0, 0))
        << "another program's change, at the next look after the step";
}

} // namespace
