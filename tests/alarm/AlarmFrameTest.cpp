// The alarm window, its notice on the desktop, and its sound.
#include "controls/tLabel.h"
#include "platform/Screen.h"
#include "support/tLanguageString.h"
#include "tests/support/AppTestSupport.h"

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
              std::vector<std::string>{"Ana|14 junio|" + folder + "Images/f001.bmp|Aceptar"});
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

    // A missing picture: the notice shows the default one, as the window does.
    Raise(6, 15, "Ghost", "m998");
    EXPECT_EQ(Recorder().m_Notices.back(), "Ghost|15 junio|" + folder + "DefImage.bmp|Aceptar");
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
