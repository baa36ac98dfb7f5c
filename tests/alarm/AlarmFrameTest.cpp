// The alarm window, its notice on the desktop, and its sound.
#include "controls/tLabel.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "platform/WindowMessage.h"
#include "support/tLanguageString.h"
#include "tests/support/AppTestSupport.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QSettings>

using TestSupport::Recorder;
using TestSupport::tFrameTest;

namespace {

// The user's sound setting, as the desktop keeps it.
void SetSoundSetting(const QVariant& value) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Zembrola", "Zembrola");
    const QString key = QString(tAlarmFrame::kSoundKey).replace('\\', '/') + "/Default";
    if (value.isValid())
        store.setValue(key, value);
    else
        store.clear();
    store.sync();
}

class AlarmFrameTest : public tFrameTest {
protected:
    void SetUp() override { SetSoundSetting(QVariant()); }
    void TearDown() override {
        SetSoundSetting(QVariant());
        tFrameTest::TearDown();
    }
    void Raise(int month, int day, const char* name, const char* picture) {
        Calendar().RaiseAlarm(month, day, name, picture);
    }
    tAlarmFrame& Alarm() { return m_Frame->m_AlarmFrame; }
};

TEST_F(AlarmFrameTest, ATopMostToolWindowCentredAtCreation) {
    CreateFrame();
    EXPECT_FALSE(Alarm().isVisible());
    EXPECT_TRUE(Alarm().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Alarm().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ((Alarm().windowFlags() & Qt::WindowType_Mask), Qt::Window);
    EXPECT_FALSE(Alarm().m_InTaskbar);
    const QRect frame = Alarm().geometry();
    EXPECT_EQ(frame.x(), (GetSystemMetrics(SM_CXSCREEN) - frame.width()) / 2);
    EXPECT_EQ(frame.y(), (GetSystemMetrics(SM_CYSCREEN) - frame.height()) / 2);
    EXPECT_GE(frame.width(), 180);
    EXPECT_GE(frame.height(), 180 + 12 + 12);
    // One size only, so that tiling window managers float both windows.
    for (const QWidget* window :
         {static_cast<QWidget*>(&Alarm()), static_cast<QWidget*>(m_Frame.get())})
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
}

// Each alarm is also a notice of the desktop, whose "OK" acknowledges as the window's button.
TEST_F(AlarmFrameTest, TheDesktopsNoticeShowsAndAcknowledges) {
    CreateFrame();
    g_LanguageString.SetLanguage(6);
    Raise(6, 14, "Ana", "f001");
    const std::string folder = m_Scratch->Path() + "/Cal_Data/";
    EXPECT_EQ(Recorder().m_Notices,
              std::vector<std::string>{"Cumplea\xF1os: Ana|14 junio|" + folder +
                                       "Images/f001.bmp|Aceptar|M\xE1s tarde"});
    Alarm().hide();
    Alarm().m_Notifier.OnActionInvoked(1, "default");
    EXPECT_TRUE(Alarm().isVisible()) << "the notice itself shows the window";
    App().m_AlarmsArmed = false;
    Alarm().m_Notifier.OnActionInvoked(1, "ok");
    EXPECT_FALSE(Alarm().isVisible());
    EXPECT_TRUE(App().m_AlarmsArmed);
    EXPECT_NE(DataFile().find("last_alarm_day=14\n"), std::string::npos);
    Alarm().m_Notifier.OnActionInvoked(1, "ok");
    EXPECT_EQ(Recorder().m_Notices.back(), "") << "acknowledged: the notice goes";

    // A missing picture: the notice shows the default one, as the window does.  Where an
    // address book gives the year, the notice says the age.
    TestSupport::WriteFile(
        folder + "AddressBooks.json",
        R"({"books": [{"url": "http://127.0.0.1:1/b/", "contacts": {)"
        R"("/b/1.vcf": {"name": "Ghost", "month": 6, "day": 15, "year": 1986}}}]})");
    Raise(6, 15, "Ghost", "m998");
    EXPECT_EQ(Recorder().m_Notices.back(), "Cumplea\xF1os: Ghost cumple 40 a\xF1os|15 junio|" +
                                               folder + "DefImage.bmp|Aceptar|M\xE1s tarde");
}

// Closed by the window manager (Alt+F4) as by its own button: acknowledged, the next one comes.
TEST_F(AlarmFrameTest, AWindowManagerCloseAcknowledges) {
    CreateFrame();
    Raise(6, 14, "Anna", "f001");
    App().m_AlarmsArmed = false;
    Alarm().close();
    EXPECT_FALSE(Alarm().isVisible());
    EXPECT_TRUE(App().m_AlarmsArmed);
    EXPECT_NE(DataFile().find("last_alarm_day=14\nlast_alarm_month=6\nlast_alarm_year=2026\n"),
              std::string::npos);
}

// Only a deliberate key on the reminder acknowledges it: not keys typed in the moment it comes
// (meant for the window the user works in), nor a key held down, nor the release of a key
// pressed before.
TEST_F(AlarmFrameTest, OnlyADeliberateKeyAcknowledges) {
    struct tKey {
        uint32_t m_At; // ms after the reminder appeared
        bool m_Press;
        Qt::Key m_Key;
        bool m_Repeat = false;
    };
    constexpr auto kGrace = tAlarmFrame::kKeyGraceMs;
    const struct {
        const char* m_Name;
        std::vector<tKey> m_Keys;
        bool m_Acknowledged;
    } rows[] = {
        {"Enter after the grace",
         {{kGrace, true, Qt::Key_Return}, {kGrace + 80, false, Qt::Key_Return}},
         true},
        {"Space after the grace",
         {{kGrace + 9, true, Qt::Key_Space}, {kGrace + 90, false, Qt::Key_Space}},
         true},
        {"typing on as it appears",
         {{100, true, Qt::Key_H},
          {180, false, Qt::Key_H},
          {700, true, Qt::Key_Space},
          {760, false, Qt::Key_Space},
          {1400, true, Qt::Key_Return},
          {1450, false, Qt::Key_Return},
          {2600, true, Qt::Key_Return},
          {2650, false, Qt::Key_Return}},
         false},
        {"a key released that was pressed before", {{kGrace + 10, false, Qt::Key_Return}}, false},
        {"a key held down",
         {{kGrace + 10, true, Qt::Key_Space, true}, {kGrace + 40, false, Qt::Key_Space, true}},
         false},
        {"another key", {{kGrace, true, Qt::Key_A}, {kGrace + 50, false, Qt::Key_A}}, false},
    };
    CreateFrame();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        Clock::SetTickCount(10000);
        App().m_AlarmsArmed = false;
        Raise(6, 14, "Anna", "f001");
        for (const tKey& key : row.m_Keys) {
            Clock::SetTickCount(10000 + key.m_At);
            QKeyEvent event(key.m_Press ? QEvent::KeyPress : QEvent::KeyRelease, key.m_Key,
                            Qt::NoModifier, QString(), key.m_Repeat);
            QApplication::sendEvent(&Alarm(), &event);
        }
        EXPECT_EQ(!Alarm().isVisible(), row.m_Acknowledged);
        EXPECT_EQ(App().m_AlarmsArmed, row.m_Acknowledged);
    }
}

// "Later", from the reminder's menu or its notice: gone for an hour, not acknowledged.
TEST_F(AlarmFrameTest, LaterPutsTheReminderOffForAnHour) {
    CreateFrame();
    Raise(6, 14, "Anna", "f001");
    App().m_AlarmsArmed = false;
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(20, 20),
                           Alarm().mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(&Alarm(), &menu);
    ASSERT_FALSE(Recorder().m_Menus.empty());
    EXPECT_EQ(Recorder().m_Menus.back(), (std::vector<std::string>{"Later", "OK"}));
    for (const char* way : {"menu", "notice"}) {
        SCOPED_TRACE(way);
        Recorder().m_Notices.clear();
        Raise(6, 14, "Anna", "f001");
        if (std::string(way) == "menu")
            SendMessage(&Alarm(), WM_COMMAND, tAlarmFrame::kCommandLater, 0);
        else
            Alarm().m_Notifier.OnActionInvoked(1, "later");
        EXPECT_FALSE(Alarm().isVisible());
        EXPECT_FALSE(App().m_AlarmsArmed) << "nothing else comes meanwhile";
        EXPECT_EQ(DataFile().find("last_alarm"), std::string::npos) << "not acknowledged";
        EXPECT_EQ(Recorder().m_Notices.back(), "") << "the notice goes too";
        EXPECT_TRUE(Alarm().m_LaterTimer.isActive());
        EXPECT_EQ(Alarm().m_LaterTimer.interval(), 60 * 60 * 1000);
        Alarm().m_Notifier.OnActionInvoked(1, "default");
        EXPECT_FALSE(Alarm().isVisible()) << "the old notice does not bring it back early";
        QMetaObject::invokeMethod(&Alarm().m_LaterTimer, "timeout", Qt::DirectConnection);
        EXPECT_TRUE(Alarm().isVisible()) << "back after the hour";
        EXPECT_EQ(Alarm().m_NameLabel->GetWindowText(), "Anna");
    }
}

TEST_F(AlarmFrameTest, TheDateInTheLanguagesOrder) {
    CreateFrame();
    Raise(3, 5, "Lena", "f011");
    EXPECT_EQ(Alarm().m_DateLabel->GetWindowText(), "March 5");
    EXPECT_EQ(Alarm().m_NameLabel->GetWindowText(), "Lena");
    EXPECT_EQ(Alarm().m_PicturePath, "Cal_Data\\Images\\f011.bmp");
    EXPECT_TRUE(Alarm().isVisible());
    g_LanguageString.SetLanguage(2);
    Raise(3, 5, "Lena", "f011");
    EXPECT_EQ(Alarm().m_DateLabel->GetWindowText(), "5 maart");
}

TEST_F(AlarmFrameTest, AMissingPictureIsReportedAndTheAlarmStillComes) {
    CreateFrame();
    Alarm().m_PictureView->LoadPicture(tCalendar::kDefaultPicture);
    const QImage standIn = Alarm().m_PictureView->grab().toImage();
    Raise(6, 14, "Anna", "f001");
    Recorder().m_Messages.clear();
    Raise(6, 15, "Ghost", "m999");
    EXPECT_EQ(Recorder().m_Messages,
              std::vector<std::string>{"The picture Cal_Data/Images/m999.bmp is missing; the "
                                       "default picture is shown instead."});
    EXPECT_TRUE(Alarm().isVisible());
    EXPECT_EQ(Alarm().m_NameLabel->GetWindowText(), "Ghost");
    EXPECT_TRUE(Alarm().m_PictureView->grab().toImage() == standIn)
        << "the default picture, never Anna's";
}

TEST_F(AlarmFrameTest, ALongNameDoesNotResizeTheWindow) {
    CreateFrame();
    const QSize size = Alarm().size();
    Raise(6, 14, "Maria de los Angeles Fernandez Garcia", "f001");
    QApplication::processEvents();
    EXPECT_EQ(Alarm().size(), size);
}

TEST_F(AlarmFrameTest, TheSoundComesFromTheUsersSettingElseTheInstalledChime) {
    CreateFrame();
    struct {
        const char* name;
        QVariant setting;
        std::string played;
    } const rows[] = {
        {"no setting", QVariant(), "Cal_Data\\Alarm01.wav"},
        {"the user's file", QString("/home/me/bell.wav"), "/home/me/bell.wav"},
        {"an empty setting, as it is", QString(""), ""},
        {"a setting longer than a path", QString(400, 'x'), "Cal_Data\\Alarm01.wav"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetSoundSetting(row.setting);
        Recorder().m_Sounds.clear();
        Raise(6, 14, "Anna", "f001");
        EXPECT_EQ(Recorder().m_Sounds, std::vector<std::string>{row.played});
    }
}

} // namespace
