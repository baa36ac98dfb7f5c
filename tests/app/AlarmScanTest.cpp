// The daily scan, driven through the application's idle calls with the clock set by the test.
#include "controls/tHideButton.h"
#include "controls/tLabel.h"
#include "platform/Clock.h"
#include "tests/support/AppTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QTest>
#include <sys/stat.h>

using TestSupport::LocalTime;
using TestSupport::Recorder;
using TestSupport::tFrameTest;

namespace {

std::string LastAlarm(int day, int month, int year) {
    return "last_alarm_day=" + std::to_string(day) + "\nlast_alarm_month=" + std::to_string(month) +
           "\nlast_alarm_year=" + std::to_string(year) + "\n";
}

class AlarmScanTest : public tFrameTest {
protected:
    // One idle period: the count starts at 0 and the scan may run twice.
    void Idle() {
        long count = 0;
        while (App().OnIdle(count++)) {
        }
    }
    // Who the alarm window shows, or "" while it is hidden.
    std::string Shown() {
        const tAlarmFrame& alarm = m_Frame->m_AlarmFrame;
        if (!alarm.isVisible())
            return "";
        return alarm.m_Name + " " + std::to_string(alarm.m_Day) + "/" +
               std::to_string(alarm.m_Month);
    }
    void Acknowledge() {
        for (QWidget* child : m_Frame->m_AlarmFrame.findChildren<QWidget*>())
            if (auto* hide = dynamic_cast<tHideButton*>(child))
                QTest::mouseClick(hide, Qt::LeftButton);
    }
    std::vector<std::string> Queued() {
        std::vector<std::string> names;
        for (const auto& birthday : App().m_AlarmQueue)
            names.push_back(birthday->m_Name);
        return names;
    }
};

TEST_F(AlarmScanTest, NothingBeforeTheWindowArmsTheScan) {
    CreateFrame("[14-06]\nAnna=f001\n");
    EXPECT_TRUE(App().m_AlarmsArmed) << "armed at the end of the main window's creation";
    App().m_AlarmsArmed = false;
    Idle();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(DataFile(), "[14-06]\nAnna=f001\n");
}

TEST_F(AlarmScanTest, TheFirstStartScansFromTheSecondOfTheMonth) {
    CreateFrame(
        "[01-06]\nJune1=f001\n[02-06]\nJune2=f002\n[17-06]\nJune17=m001\n[18-06]\nJune18=m002\n",
        LocalTime(2026, 6, 14, 10, 0));
    Idle();
    EXPECT_EQ(Shown(), "June2 2/6");
    EXPECT_EQ(Queued(), std::vector<std::string>{"June17"});
    EXPECT_FALSE(App().m_AlarmsArmed);
    EXPECT_EQ(Recorder().m_Sounds, std::vector<std::string>{"Cal_Data\\Alarm01.wav"});
    EXPECT_EQ(DataFile().find("last_alarm"), std::string::npos) << "written when acknowledged";
}

TEST_F(AlarmScanTest, AScanThatFindsNobodyStoresToday) {
    CreateFrame("[20-06]\nLater=f001\n", LocalTime(2026, 6, 14, 10, 0));
    Idle();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(DataFile(), "[20-06]\nLater=f001\n[settings]\n" + LastAlarm(14, 6, 2026));
}

TEST_F(AlarmScanTest, TheFirstOfTheMonthIsNeverScannedOnAFirstStart) {
    CreateFrame("[01-06]\nJune1=f001\n", LocalTime(2026, 6, 1, 23, 0));
    Idle();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(DataFile(), "[01-06]\nJune1=f001\n") << "nothing scanned, nothing written";
}

TEST_F(AlarmScanTest, ANewDayIsScannedAtSixInTheMorning) {
    CreateFrame("[17-06]\nJune17=m001\n[settings]\n" + LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 0, 30));
    Idle();
    EXPECT_EQ(Shown(), "") << "at 00:30 the day after a scan, nothing yet";
    Clock::SetNow(LocalTime(2026, 6, 14, 5, 59));
    Idle();
    EXPECT_EQ(Shown(), "");
    Clock::SetNow(LocalTime(2026, 6, 14, 6, 0));
    Idle();
    EXPECT_EQ(Shown(), "June17 17/6") << "today + 3";
}

TEST_F(AlarmScanTest, FourteenDaysOfNoticeCoverFifteenDays) {
    CreateFrame("[14-06]\nToday=f001\n[28-06]\nIn14=f002\n[29-06]\nIn15=f003\n[settings]\nnotify_"
                "days=14\n" +
                    LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 7, 0));
    Idle();
    EXPECT_EQ(Shown(), "Today 14/6");
    EXPECT_EQ(Queued(), std::vector<std::string>{"In14"});
}

TEST_F(AlarmScanTest, ThreePeopleComeOneAfterAnotherAsEachIsAcknowledged) {
    CreateFrame("[15-06]\nAnna=f001\nBert=m001\n[16-06]\nCarl=m002\n[settings]\n" +
                    LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    Idle();
    EXPECT_EQ(Shown(), "Anna 15/6");
    Idle();
    EXPECT_EQ(Shown(), "Anna 15/6") << "one alarm at a time";
    Clock::SetNow(LocalTime(2026, 6, 14, 9, 5));
    Acknowledge();
    EXPECT_EQ(Shown(), "");
    EXPECT_TRUE(App().m_AlarmsArmed);
    EXPECT_NE(DataFile().find(LastAlarm(14, 6, 2026)), std::string::npos);
    Idle();
    EXPECT_EQ(Shown(), "Bert 15/6") << "the next record, without a new scan";
    Acknowledge();
    Idle();
    EXPECT_EQ(Shown(), "Carl 16/6");
    Acknowledge();
    Idle();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Recorder().m_Sounds.size(), 3u);
}

TEST_F(AlarmScanTest, TheSwitchSuspendsEvenQueuedRecords) {
    CreateFrame("[15-06]\nAnna=f001\nBert=m001\n[settings]\n" + LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    Idle();
    Acknowledge();
    Calendar().OnCheckChanged(1, false);
    Idle();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Queued(), std::vector<std::string>{"Bert"});
    Calendar().OnCheckChanged(1, true);
    Idle();
    EXPECT_EQ(Shown(), "Bert 15/6");
}

TEST_F(AlarmScanTest, AnAlarmLeftOverSeveralDaysStoresTheDayItIsAcknowledged) {
    CreateFrame("[15-06]\nAnna=f001\n[18-06]\nLate=f002\n[settings]\nnotify_days=1\n" +
                    LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    Idle();
    EXPECT_EQ(Shown(), "Anna 15/6");
    Clock::SetNow(LocalTime(2026, 6, 17, 20, 0));
    Idle();
    EXPECT_EQ(Shown(), "Anna 15/6") << "nothing new while an alarm is shown";
    Acknowledge();
    EXPECT_NE(DataFile().find(LastAlarm(17, 6, 2026)), std::string::npos);
    Idle();
    EXPECT_EQ(Shown(), "");
    Clock::SetNow(LocalTime(2026, 6, 18, 6, 30));
    Idle();
    EXPECT_EQ(Shown(), "Late 18/6") << "the days in between are not scanned again";
}

TEST_F(AlarmScanTest, ADateMoreThanAYearBackIsQueuedForEachOccurrence) {
    CreateFrame("[20-06]\nAnna=f001\n[settings]\nnotify_days=1\n" + LastAlarm(10, 6, 2025),
                LocalTime(2026, 6, 20, 9, 0));
    Idle();
    EXPECT_EQ(Shown(), "Anna 20/6");
    EXPECT_EQ(Queued(), std::vector<std::string>{"Anna"});
}

TEST_F(AlarmScanTest, The29thOfFebruaryOnlyInLeapYears) {
    for (int year : {2027, 2028}) {
        SCOPED_TRACE(year);
        CreateFrame("[29-02]\nLeap=f001\n[settings]\nnotify_days=1\n" + LastAlarm(27, 2, year),
                    LocalTime(year, 3, 1, 9, 0));
        Idle();
        EXPECT_EQ(Shown(), year == 2028 ? "Leap 29/2" : "");
        TearDown();
    }
}

TEST_F(AlarmScanTest, AClockSetBackWaitsForTheStoredDay) {
    CreateFrame("[14-06]\nAnna=f001\n[settings]\n" + LastAlarm(20, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    Idle();
    EXPECT_EQ(Shown(), "");
    Clock::SetNow(LocalTime(2026, 6, 21, 5, 0));
    Idle();
    EXPECT_EQ(Shown(), "");
    Clock::SetNow(LocalTime(2026, 6, 21, 6, 0));
    Idle();
    EXPECT_NE(DataFile().find(LastAlarm(21, 6, 2026)), std::string::npos);
}

TEST_F(AlarmScanTest, AnUnwritableFileDoesNotBringTheSameAlarmBack) {
    CreateFrame("[15-06]\nAnna=f001\n[settings]\n" + LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    chmod("Cal_Data/DataFile.txt", 0444);
    Idle();
    EXPECT_EQ(Shown(), "Anna 15/6");
    Acknowledge();
    Idle();
    Idle();
    EXPECT_EQ(Shown(), "") << "acknowledged for the rest of the run";
}

TEST_F(AlarmScanTest, TheEventLoopScansWhenItsQueueRunsEmptyAndThenRests) {
    CreateFrame("[15-06]\nAnna=f001\n[settings]\n" + LastAlarm(13, 6, 2026),
                LocalTime(2026, 6, 14, 9, 0));
    QCoreApplication::postEvent(&App(), new QEvent(QEvent::User));
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), "Anna 15/6") << "no user input needed, only an event";
    for (const QAbstractEventDispatcher::TimerInfo& timer :
         QAbstractEventDispatcher::instance()->registeredTimers(&App()))
        EXPECT_NE(timer.interval, 0) << "the idle period has ended: the loop may sleep";
}

TEST_F(AlarmScanTest, TheBaseIdleAsksForOneMoreCall) {
    CreateFrame();
    EXPECT_TRUE(App().OnIdle(0));
    EXPECT_FALSE(App().OnIdle(1));
    EXPECT_FALSE(App().OnIdle(2));
}

} // namespace
