// The daily scan, driven through the application's idle calls with the clock set by the test.
#include "controls/tHideButton.h"
#include "platform/Clock.h"
#include "tests/support/AppTestSupport.h"

#include <QAbstractEventDispatcher>
#include <sys/stat.h>

using namespace TestSupport;

namespace {

class AlarmScanTest : public tFrameTest {
protected:
    // One idle period: the count starts at 0 and the scan may run twice.
    void Idle() {
        long count = 0;
        while (App().OnIdle(count++)) {
        }
    }
    // Who the alarm window shows ("name day/month"), or "" while it is hidden.
    std::string Shown() {
        const tAlarmFrame& alarm = m_Frame->m_AlarmFrame;
        return alarm.isVisible() ? alarm.m_Name + " " + std::to_string(alarm.m_Day) + "/" +
                                       std::to_string(alarm.m_Month)
                                 : "";
    }
    void Acknowledge() {
        QTest::mouseClick(Controls<tHideButton>(&m_Frame->m_AlarmFrame).front(), Qt::LeftButton);
    }
    std::string Queued() {
        std::string names;
        for (const auto& birthday : App().m_AlarmQueue)
            names += (names.empty() ? "" : " ") + birthday->m_Name;
        return names;
    }
};

enum class tAction { Idle, Acknowledge, SwitchOff, SwitchOn, Restart };

struct tStep {
    int64_t m_At; // the clock for this step
    tAction m_Action;
    const char* m_Shown;  // who the alarm window shows afterwards
    const char* m_Queued; // the names still queued, or null when it does not matter
};

struct tScenario {
    const char* m_Name;
    std::string m_DataFile;
    std::vector<tStep> m_Steps;
    const char* m_Stored; // the last alarm date stored at the end, or null
};

TEST_F(AlarmScanTest, Scenarios) {
    const auto at = LocalTime;
    const tScenario scenarios[] = {
        {"the first start scans from the 2nd of the month to today + 3",
         "[01-06]\nJune1=f001\n[02-06]\nJune2=f002\n[17-06]\nJune17=m001\n[18-06]\nJune18=m002\n",
         {{at(2026, 6, 14, 10, 0), tAction::Idle, "June2 2/6", "June17"}},
         nullptr},
        {"a scan that finds nobody stores today",
         "[20-06]\nLater=f001\n",
         {{at(2026, 6, 14, 10, 0), tAction::Idle, "", ""}},
         "14/6/2026"},
        {"the 1st of the month is never scanned on a first start",
         "[01-06]\nJune1=f001\n",
         {{at(2026, 6, 1, 23, 0), tAction::Idle, "", ""}},
         nullptr},
        {"a new day is scanned from six",
         "[17-06]\nJune17=m001\n[settings]\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 0, 30), tAction::Idle, "", ""},
          {at(2026, 6, 14, 5, 59), tAction::Idle, "", ""},
          {at(2026, 6, 14, 6, 0), tAction::Idle, "June17 17/6", ""}},
         nullptr},
        {"fourteen days of notice cover fifteen days",
         "[14-06]\nToday=f001\n[28-06]\nIn14=f002\n[29-06]\nIn15=f003\n[settings]\nnotify_days="
         "14\n" +
             LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 7, 0), tAction::Idle, "Today 14/6", "In14"}},
         nullptr},
        {"three people, one after another as each is acknowledged",
         "[15-06]\nAnna=f001\nBert=m001\n[16-06]\nCarl=m002\n[settings]\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", "Bert Carl"},
          {at(2026, 6, 14, 9, 1), tAction::Idle, "Anna 15/6", "Bert Carl"},
          {at(2026, 6, 14, 9, 5), tAction::Acknowledge, "", "Bert Carl"},
          {at(2026, 6, 14, 9, 5), tAction::Idle, "Bert 15/6", "Carl"},
          {at(2026, 6, 14, 9, 6), tAction::Acknowledge, "", "Carl"},
          {at(2026, 6, 14, 9, 6), tAction::Idle, "Carl 16/6", ""},
          {at(2026, 6, 14, 9, 7), tAction::Acknowledge, "", ""},
          {at(2026, 6, 14, 9, 8), tAction::Idle, "", ""}},
         "14/6/2026"},
        {"the switch suspends even queued records",
         "[15-06]\nAnna=f001\nBert=m001\n[settings]\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", "Bert"},
          {at(2026, 6, 14, 9, 1), tAction::Acknowledge, "", "Bert"},
          {at(2026, 6, 14, 9, 1), tAction::SwitchOff, "", "Bert"},
          {at(2026, 6, 14, 9, 2), tAction::Idle, "", "Bert"},
          {at(2026, 6, 14, 9, 2), tAction::SwitchOn, "", "Bert"},
          {at(2026, 6, 14, 9, 3), tAction::Idle, "Bert 15/6", ""}},
         nullptr},
        {"a new day's scan starts the queue afresh",
         "[15-06]\nAnna=f001\nBert=m001\n[16-06]\nCarl=m002\n[settings]\nnotify_days=1\n" +
             LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", "Bert"},
          {at(2026, 6, 14, 9, 1), tAction::Acknowledge, "", "Bert"},
          {at(2026, 6, 14, 9, 1), tAction::SwitchOff, "", "Bert"},
          {at(2026, 6, 15, 9, 0), tAction::SwitchOn, "", "Bert"},
          {at(2026, 6, 15, 9, 0), tAction::Idle, "Anna 15/6", "Bert Carl"}},
         nullptr},
        {"an alarm left for days stores the day it is acknowledged",
         "[15-06]\nAnna=f001\n[18-06]\nLate=f002\n[settings]\nnotify_days=1\n" +
             LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", ""},
          {at(2026, 6, 17, 20, 0), tAction::Idle, "Anna 15/6", ""},
          {at(2026, 6, 17, 20, 0), tAction::Acknowledge, "", ""},
          {at(2026, 6, 17, 20, 1), tAction::Idle, "", ""},
          {at(2026, 6, 18, 6, 30), tAction::Idle, "Late 18/6", ""}},
         "17/6/2026"},
        {"a date more than a year back is queued for each occurrence",
         "[20-06]\nAnna=f001\n[settings]\nnotify_days=1\n" + LastAlarm(10, 6, 2025),
         {{at(2026, 6, 20, 9, 0), tAction::Idle, "Anna 20/6", "Anna"}},
         nullptr},
        {"29 February in a leap year",
         "[29-02]\nLeap=f001\n[settings]\nnotify_days=1\n" + LastAlarm(27, 2, 2028),
         {{at(2028, 3, 1, 9, 0), tAction::Idle, "Leap 29/2", ""}},
         nullptr},
        {"29 February's people on 28 February in other years, and not again on 1 March",
         "[29-02]\nLeap=f001\n[28-02]\nFeb28=m001\n[settings]\nnotify_days=1\n" +
             LastAlarm(27, 2, 2027),
         {{at(2027, 2, 28, 9, 0), tAction::Idle, "Feb28 28/2", "Leap"},
          {at(2027, 2, 28, 9, 1), tAction::Acknowledge, "", "Leap"},
          {at(2027, 2, 28, 9, 1), tAction::Idle, "Leap 29/2", ""},
          {at(2027, 2, 28, 9, 2), tAction::Acknowledge, "", ""},
          {at(2027, 3, 1, 9, 0), tAction::Idle, "", ""}},
         "1/3/2027"},
        {"an exit with a reminder waiting brings it back, and not the one acknowledged",
         "[15-06]\nAnna=f001\nBert=m001\n[16-06]\nCarl=m002\n[settings]\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", "Bert Carl"},
          {at(2026, 6, 14, 9, 1), tAction::Acknowledge, "", nullptr},
          {at(2026, 6, 14, 9, 2), tAction::Restart, "", ""},
          {at(2026, 6, 14, 9, 2), tAction::Idle, "Bert 15/6", "Carl"},
          {at(2026, 6, 14, 9, 3), tAction::Acknowledge, "", nullptr},
          {at(2026, 6, 14, 9, 3), tAction::Restart, "", ""},
          {at(2026, 6, 14, 9, 3), tAction::Idle, "Carl 16/6", ""},
          {at(2026, 6, 14, 9, 4), tAction::Acknowledge, "", ""},
          {at(2026, 6, 14, 9, 5), tAction::Restart, "", ""},
          {at(2026, 6, 14, 9, 5), tAction::Idle, "", ""}},
         "14/6/2026"},
        {"after an exit, the next day announces the coming days anew but not a day that is over",
         "[14-06]\nAnna=f001\n[16-06]\nBert=m001\nCarl=m002\n[settings]\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 14/6", "Bert Carl"},
          {at(2026, 6, 14, 9, 1), tAction::Acknowledge, "", nullptr},
          {at(2026, 6, 14, 9, 1), tAction::Idle, "Bert 16/6", "Carl"},
          {at(2026, 6, 14, 9, 2), tAction::Acknowledge, "", nullptr},
          {at(2026, 6, 15, 9, 0), tAction::Restart, "", ""},
          {at(2026, 6, 15, 9, 0), tAction::Idle, "Bert 16/6", "Carl"}},
         nullptr},
        {"a damaged progress brings every reminder back",
         "[15-06]\nAnna=f001\n[settings]\nalarm_acknowledged=20260614 x 1\n" +
             LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "Anna 15/6", ""}},
         nullptr},
        {"the hour of the reminders is the user's",
         "[17-06]\nJune17=m001\n[settings]\nalarm_hour=20\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 19, 59), tAction::Idle, "", ""},
          {at(2026, 6, 14, 20, 0), tAction::Idle, "June17 17/6", ""}},
         nullptr},
        {"an hour that is no hour of the day is six",
         "[17-06]\nJune17=m001\n[settings]\nalarm_hour=24\n" + LastAlarm(13, 6, 2026),
         {{at(2026, 6, 14, 5, 59), tAction::Idle, "", ""},
          {at(2026, 6, 14, 6, 0), tAction::Idle, "June17 17/6", ""}},
         nullptr},
        {"a clock set back waits for the stored day",
         "[14-06]\nAnna=f001\n[settings]\n" + LastAlarm(20, 6, 2026),
         {{at(2026, 6, 14, 9, 0), tAction::Idle, "", ""},
          {at(2026, 6, 21, 5, 0), tAction::Idle, "", ""},
          {at(2026, 6, 21, 6, 0), tAction::Idle, "", ""}},
         "21/6/2026"},
    };
    for (const tScenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.m_Name);
        CreateFrame(scenario.m_DataFile, scenario.m_Steps.front().m_At);
        for (size_t i = 0; i < scenario.m_Steps.size(); ++i) {
            const tStep& step = scenario.m_Steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            Clock::SetNow(step.m_At);
            switch (step.m_Action) {
            case tAction::Idle:
                Idle();
                break;
            case tAction::Acknowledge:
                Acknowledge();
                EXPECT_TRUE(App().m_AlarmsArmed);
                break;
            case tAction::Restart:
                Restart(step.m_At);
                break;
            case tAction::SwitchOff:
            case tAction::SwitchOn:
                Calendar().OnCheckChanged(1, step.m_Action == tAction::SwitchOn);
                break;
            }
            EXPECT_EQ(Shown(), step.m_Shown);
            if (step.m_Queued) {
                EXPECT_EQ(Queued(), step.m_Queued);
            }
        }
        const std::string file = DataFile();
        if (scenario.m_Stored) {
            int day = 0, month = 0, year = 0;
            ASSERT_EQ(std::sscanf(scenario.m_Stored, "%d/%d/%d", &day, &month, &year), 3);
            EXPECT_NE(file.find(LastAlarm(day, month, year)), std::string::npos) << file;
            EXPECT_EQ(file.find("alarm_acknowledged"), std::string::npos)
                << "nothing waits: no progress kept";
        } else if (scenario.m_DataFile.find("last_alarm") == std::string::npos) {
            EXPECT_EQ(file.find("last_alarm"), std::string::npos) << "nothing stored: " << file;
        }
        TearDown();
    }
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
    EXPECT_TRUE(App().OnIdle(0)) << "the base asks for one more call";
    EXPECT_FALSE(App().OnIdle(1));
}

} // namespace
