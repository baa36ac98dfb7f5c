// The calendar window as built, and its behaviour.
#include "controls/tCheckButton.h"
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tGenderButton.h"
#include "controls/tHideButton.h"
#include "controls/tLabel.h"
#include "controls/tMonthButton.h"
#include "controls/tOkButton.h"
#include "controls/tPictureStepButton.h"
#include "controls/tWeekdayHeader.h"
#include "layout/tLayoutDeck.h"
#include "platform/Clock.h"
#include "support/ErrorLog.h"
#include "support/tLanguageString.h"
#include "tests/support/AppTestSupport.h"

#include <QShortcut>
#include <QTest>

using TestSupport::ReadFile;
using TestSupport::Recorder;
using TestSupport::tFrameTest;
using TestSupport::WriteFile;

namespace {

template <class T>
std::vector<T*> All(QWidget* window) {
    std::vector<T*> found;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (T* control = dynamic_cast<T*>(child))
            found.push_back(control);
    return found;
}

class MainFrameTest : public tFrameTest {};

TEST_F(MainFrameTest, InEnglishTheButtonsReadTheInitials) {
    CreateFrame();
    std::string months, days;
    for (int i = 1; i <= 12; ++i)
        months += Calendar().m_MonthButtons[i]->GetWindowText();
    for (int i = 1; i <= 7; ++i)
        days += Calendar().m_WeekdayHeaders[i]->GetWindowText();
    EXPECT_EQ(months, "JFMAMJJASOND");
    EXPECT_EQ(days, "SMTWTFS");
    EXPECT_EQ(m_Frame->windowTitle(), "Zembrola");
}

TEST_F(MainFrameTest, WithoutSettingsTheDefaults) {
    CreateFrame();
    EXPECT_TRUE(Calendar().m_NotifyAdvance);
    EXPECT_TRUE(Calendar().m_AlarmCheckBox->m_Checked);
    EXPECT_EQ(Calendar().m_NotifyDays, 3);
    EXPECT_EQ(Calendar().m_DaysUnitLabel->GetWindowText(), "days");
    EXPECT_EQ(m_Frame->pos(), QPoint(100, 100));
    m_Frame->Measure();
    EXPECT_EQ(m_Frame->size(), QSize(m_Frame->m_MeasuredSize[0], m_Frame->m_MeasuredSize[1]))
        << "the size of its content";
    EXPECT_EQ(g_LanguageString.GetLanguage(), 1);
}

TEST_F(MainFrameTest, StoredSettingsAreApplied) {
    CreateFrame("[settings]\nnotify_advance=2\nnotify_days=9\nwp.NormPos.l=300\nwp.NormPos.t=40\n"
                "language=3\n");
    EXPECT_FALSE(Calendar().m_NotifyAdvance) << "2 reads as off";
    EXPECT_EQ(Calendar().m_NotifyDays, 9);
    EXPECT_EQ(m_Frame->pos(), QPoint(300, 40));
    EXPECT_EQ(Calendar().m_MonthButtons[1]->GetWindowText(), "j");
}

TEST_F(MainFrameTest, AfterCreationTheFirstPageAndTheDefaultPicture) {
    CreateFrame();
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(m_Frame->m_Deck->GetChild(page)->IsVisible(), page == 0);
    EXPECT_EQ(Calendar().m_SelectedDay, -1);
    tDib reference;
    reference.Load("Cal_Data\\DefImage.bmp");
    EXPECT_EQ(Calendar().m_PictureView->m_Picture.GetPixelColour(90, 90),
              reference.GetPixelColour(90, 90));
    EXPECT_TRUE(Calendar().m_NameEdit->isReadOnly());
    EXPECT_TRUE(App().m_AlarmsArmed);
    EXPECT_TRUE(m_Frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ((m_Frame->windowFlags() & Qt::WindowType_Mask), Qt::Tool) << "no task-bar entry";
}

TEST_F(MainFrameTest, TheWholeRoadOfANewBirthday) {
    CreateFrame("[20-06]\nAnna=f002\n");
    QApplication::setDoubleClickInterval(500);
    tDayCell* cell = Calendar().m_DayCells[20 + Calendar().m_FirstWeekday];
    Clock::SetTickCount(1000);
    QTest::mouseClick(cell, Qt::LeftButton);
    Clock::SetTickCount(1200);
    QTest::mouseClick(cell, Qt::LeftButton);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeGender);
    EXPECT_TRUE(m_Frame->m_Deck->GetChild(1)->IsVisible());
    QTest::keyClicks(Calendar().m_NameEdit, "Bert Smith");
    for (tGenderButton* gender : All<tGenderButton>(m_Frame.get()))
        if (gender->GetDlgCtrlID() == 1)
            QTest::mouseClick(gender, Qt::LeftButton);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    for (tPictureStepButton* step : All<tPictureStepButton>(m_Frame.get()))
        if (step->GetDlgCtrlID() == 1) {
            Clock::SetTickCount(5000);
            QTest::mouseClick(step, Qt::LeftButton);
            Clock::SetTickCount(5100);
            QTest::mouseClick(step, Qt::LeftButton);
        }
    QTest::mouseClick(All<tOkButton>(m_Frame.get()).front(), Qt::LeftButton);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\nBert Smith=m002\n");
    EXPECT_EQ(cell->m_Kind, tDayCell::kBirthday);
    EXPECT_EQ(Calendar().m_NameEdit->GetWindowText(), "Bert Smith");
}

TEST_F(MainFrameTest, AnUnknownModeChangesOnlyTheMode) {
    CreateFrame();
    m_Frame->SetMode(tMainFrame::kModeGender);
    m_Frame->SetMode(5);
    EXPECT_EQ(m_Frame->m_Mode, 5);
    EXPECT_TRUE(m_Frame->m_Deck->GetChild(1)->IsVisible());
    EXPECT_FALSE(Calendar().m_NameEdit->isReadOnly());
}

TEST_F(MainFrameTest, ClosingSavesThePlacementTheSwitchAndTheDays) {
    CreateFrame("[settings]\nnotify_advance=2\n");
    Calendar().SetNotifyDays(6);
    m_Frame->move(150, 120);
    m_Frame->hide(); // the placement of the hidden window is saved all the same
    m_Frame->close();
    const std::string file = DataFile();
    EXPECT_NE(file.find("notify_advance=0\n"), std::string::npos);
    EXPECT_NE(file.find("notify_days=6\n"), std::string::npos);
    EXPECT_NE(file.find("wp.ShowCmd=1\n"), std::string::npos);
    EXPECT_NE(file.find("wp.NormPos.l=150\nwp.NormPos.t=120\n"), std::string::npos);
    EXPECT_NE(file.find("wp.NormPos.r=" + std::to_string(150 + m_Frame->width())),
              std::string::npos);
}

TEST_F(MainFrameTest, HelpOpensTheDocumentOfTheLanguage) {
    CreateFrame("[settings]\nlanguage=4\n");
    m_Frame->OnHelpInfo();
    EXPECT_EQ(Recorder().m_ShellOpened, std::vector<std::string>{"Cal_Data\\Ger.rtf"});
    auto* shortcut = m_Frame->findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::Key_F1));
}

TEST_F(MainFrameTest, HideAndShowFromTheHideButtonAndTheTray) {
    CreateFrame();
    ASSERT_TRUE(m_Frame->isVisible());
    for (tHideButton* hide : All<tHideButton>(m_Frame.get()))
        if (hide->parentWidget() == m_Frame.get())
            QTest::mouseClick(hide, Qt::LeftButton);
    EXPECT_FALSE(m_Frame->isVisible());
    EXPECT_EQ(DataFile(), "") << "hiding only hides";
    SendMessage(m_Frame.get(), WM_COMMAND, tMainFrame::kCommandShow, 0);
    EXPECT_TRUE(m_Frame->isVisible());
}

TEST_F(MainFrameTest, AMissingTextEndsTheProgramWithoutTouchingTheData) {
    CreateFrame("[14-06]\nAnna=f001\n");
    const std::string before = DataFile();
    std::string language = ReadFile("Cal_Data/Language.txt");
    language.replace(language.find("Show=Show"), 9, "Shown=Show");
    WriteFile("Cal_Data/Language.txt", language);
    SendMessage(m_Frame.get(), tMainFrame::kTrayMessage, 101, WM_RBUTTONUP);
    ASSERT_TRUE(App().m_FatalError.has_value());
    EXPECT_EQ(*App().m_FatalError, "String not found in textfile: Show\n");
    EXPECT_FALSE(App().m_AlarmsArmed);
    EXPECT_EQ(ReadFile(ErrorLogPath()), "String not found in textfile: Show\n\n");
    App().ReportFatalError();
    ASSERT_EQ(Recorder().m_Messages.size(), 1u);
    EXPECT_NE(Recorder().m_Messages[0].find("String not found in textfile: Show"),
              std::string::npos);
    EXPECT_NE(Recorder().m_Messages[0].find(m_Scratch->Path() + "/Cal_Data/Language.txt"),
              std::string::npos);
    EXPECT_EQ(DataFile(), before);
    App().m_FatalError.reset();
}

} // namespace
