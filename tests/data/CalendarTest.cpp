// The calendar logic with real controls over a data file in a scratch Cal_Data.
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tGenderButton.h"
#include "controls/tLabel.h"
#include "controls/tOkButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tWeekdayHeader.h"
#include "platform/Clock.h"
#include "support/tLanguageString.h"
#include "tests/support/AppTestSupport.h"

#include <QTest>
#include <filesystem>
#include <sys/stat.h>

using TestSupport::LocalTime;
using TestSupport::Recorder;
using TestSupport::tFrameTest;
using TestSupport::WriteFile;

namespace {

class CalendarTest : public tFrameTest {
protected:
    int Kind(int cell) { return Calendar().m_DayCells[cell]->m_Kind; }
    std::string CellText(int cell) {
        return Calendar().m_DayCells[cell]->m_Looks[tOwnerDrawButton::kNormal].m_Text;
    }
    std::string DateText() { return Calendar().m_DateLabel->GetWindowText(); }
    std::string Name() { return Calendar().m_NameEdit->GetWindowText(); }
    bool HeaderMarked(int weekday) {
        return Calendar().m_WeekdayHeaders[weekday]->m_Looks[tOwnerDrawButton::kDisabled].m_Frame !=
               nullptr;
    }
    // Enters a new person the way a user does: double click, name, gender, picture.
    void Enter(int day, const QString& name, int gender, int pictureSteps);
    // Confirms the person entered with the Ok button.
    void ClickOk() {
        for (QWidget* child : m_Frame->findChildren<QWidget*>())
            if (auto* ok = dynamic_cast<tOkButton*>(child))
                QTest::mouseClick(ok, Qt::LeftButton);
    }
};

void CalendarTest::Enter(int day, const QString& name, int gender, int pictureSteps) {
    QApplication::setDoubleClickInterval(500);
    tDayCell* cell = Calendar().m_DayCells[day + Calendar().m_FirstWeekday];
    Clock::SetTickCount(100000);
    QTest::mouseClick(cell, Qt::LeftButton);
    Clock::SetTickCount(100200);
    QTest::mouseClick(cell, Qt::LeftButton);
    ASSERT_EQ(m_Frame->m_Mode, tMainFrame::kModeGender);
    Calendar().m_NameEdit->setText(name);
    Calendar().SetGender(gender ? "m" : "f");
    Calendar().SetPicture(0);
    m_Frame->SetMode(tMainFrame::kModePicture);
    for (int i = 0; i < pictureSteps; ++i)
        Calendar().NextPicture();
}

TEST_F(CalendarTest, AMonthStartingOnSunday) {
    CreateFrame();
    Calendar().SelectMonth(2); // February 2026 begins on a Sunday
    EXPECT_EQ(Calendar().m_FirstWeekday, 0);
    EXPECT_EQ(CellText(1), "01");
    EXPECT_EQ(Kind(1), tDayCell::kDay);
    // February always has 29 days, also in a year without 29 February.
    EXPECT_EQ(CellText(29), "29");
    EXPECT_EQ(Kind(29), tDayCell::kDay);
    EXPECT_EQ(Kind(30), tDayCell::kEmpty);
    EXPECT_EQ(CellText(30), "  ");
}

TEST_F(CalendarTest, A31DayMonthStartingOnSaturday) {
    CreateFrame();
    Calendar().SelectMonth(8); // August 2026 begins on a Saturday
    EXPECT_EQ(Calendar().m_FirstWeekday, 6);
    for (int cell = 1; cell <= 42; ++cell) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(Kind(cell) != tDayCell::kEmpty, cell >= 7 && cell <= 37);
        EXPECT_EQ(Calendar().m_DayCells[cell]->isEnabled(), cell >= 7 && cell <= 37);
    }
    EXPECT_EQ(CellText(37), "31");
}

TEST_F(CalendarTest, TodayIsMarkedOnlyInTheCurrentMonth) {
    CreateFrame("[14-06]\nAnna=f001\n[15-06]\nBert=m002\n");
    // 14 June 2026 is a Sunday; June begins on a Monday.
    EXPECT_EQ(Calendar().m_Month, 6);
    EXPECT_EQ(Kind(15), tDayCell::kTodayBirthday);
    EXPECT_EQ(Kind(16), tDayCell::kBirthday);
    EXPECT_EQ(Kind(17), tDayCell::kDay);
    EXPECT_TRUE(HeaderMarked(1));
    for (int weekday = 2; weekday <= 7; ++weekday)
        EXPECT_FALSE(HeaderMarked(weekday));
    Calendar().SelectMonth(7);
    for (int cell = 1; cell <= 42; ++cell)
        EXPECT_NE(Kind(cell), tDayCell::kToday);
    for (int weekday = 1; weekday <= 7; ++weekday)
        EXPECT_FALSE(HeaderMarked(weekday));
    Calendar().SelectMonth(6);
    WriteFile("Cal_Data/DataFile.txt", "");
    Calendar().FillMonth(6);
    EXPECT_EQ(Kind(15), tDayCell::kToday);
}

TEST_F(CalendarTest, AfterCreationNobodyIsSelected) {
    CreateFrame("[14-06]\nAnna=f001\n");
    EXPECT_EQ(Calendar().m_SelectedDay, -1);
    EXPECT_EQ(Calendar().m_PersonIndex, -1);
    EXPECT_EQ(DateText(), "");
    EXPECT_EQ(Calendar().m_Gender, "");
    EXPECT_FALSE(Calendar().m_NextPersonButton->isEnabled());
}

TEST_F(CalendarTest, StepsThroughTheDaysPeopleBothWays) {
    CreateFrame("[03-06]\nAnna=f002\nBert=M001\nCarl=x\n");
    Calendar().SelectDay(3);
    EXPECT_EQ(Calendar().m_PeopleCount, 3);
    EXPECT_EQ(Name(), "Anna");
    EXPECT_TRUE(Calendar().m_NextPersonButton->isEnabled());
    Calendar().PreviousPerson();
    EXPECT_EQ(Name(), "Carl") << "back from the first is the last";
    EXPECT_EQ(Calendar().m_Gender, "f") << "a value that is no picture name reads as a woman";
    EXPECT_EQ(Calendar().m_PictureNumber, 0);
    Calendar().NextPerson();
    EXPECT_EQ(Name(), "Anna") << "on from the last is the first";
    Calendar().NextPerson();
    EXPECT_EQ(Name(), "Bert");
    EXPECT_EQ(Calendar().m_Gender, "m");
    EXPECT_EQ(Calendar().m_PictureNumber, 1);
    EXPECT_EQ(DateText(), "June 3");
}

TEST_F(CalendarTest, OnePersonDisablesBothButtons) {
    CreateFrame("[03-06]\nAnna=f002\n");
    Calendar().SelectDay(3);
    EXPECT_FALSE(Calendar().m_PreviousPersonButton->isEnabled());
    EXPECT_FALSE(Calendar().m_NextPersonButton->isEnabled());
}

TEST_F(CalendarTest, DeletingThePersonShown) {
    CreateFrame("[03-06]\nAnna=f002\nBert=m001\n[settings]\nnotify_days=3\n");
    Calendar().SelectDay(3);
    Calendar().NextPerson();
    ASSERT_TRUE(Calendar().DeletePerson());
    EXPECT_EQ(DataFile(), "[03-06]\nAnna=f002\n[settings]\nnotify_days=3\n");
    EXPECT_EQ(Name(), "Anna");
    EXPECT_FALSE(Calendar().m_NextPersonButton->isEnabled());
    ASSERT_TRUE(Calendar().DeletePerson());
    EXPECT_EQ(DataFile(), "[settings]\nnotify_days=3\n");
    EXPECT_EQ(DateText(), "");
    EXPECT_EQ(Kind(3 + Calendar().m_FirstWeekday), tDayCell::kDay);
}

TEST_F(CalendarTest, DeletingWithNobodyShownChangesNothing) {
    const std::string file = "[03-06]\nAnna=f002\n";
    CreateFrame(file);
    EXPECT_TRUE(Calendar().DeletePerson());
    Calendar().SelectDay(4);
    EXPECT_TRUE(Calendar().DeletePerson());
    EXPECT_EQ(DataFile(), file);
    EXPECT_TRUE(Recorder().m_Messages.empty());
}

TEST_F(CalendarTest, TheRoadOfANewBirthday) {
    CreateFrame("[20-06]\nAnna=f002\n");
    Enter(20, "Bert", 1, 2);
    EXPECT_EQ(Calendar().m_SelectedDay, 20) << "the first click selected the day";
    EXPECT_EQ(DateText(), "June 20");
    EXPECT_TRUE(Calendar().IsNameValid());
    ASSERT_TRUE(Calendar().SavePerson());
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\nBert=m002\n");
    // The saved person is shown, and the day's two people can be stepped through.
    EXPECT_EQ(Name(), "Bert");
    EXPECT_EQ(Calendar().m_PersonIndex, 1);
    EXPECT_EQ(Calendar().m_PeopleCount, 2);
    EXPECT_TRUE(Calendar().m_NextPersonButton->isEnabled());
}

TEST_F(CalendarTest, SavingTheFirstPersonMarksTheDay) {
    CreateFrame();
    Enter(14, "Zoe", 0, 0);
    ClickOk();
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    EXPECT_EQ(Kind(15), tDayCell::kTodayBirthday);
    Enter(20, "Yann", 1, 0);
    ClickOk();
    EXPECT_EQ(Kind(21), tDayCell::kBirthday);
    EXPECT_FALSE(Calendar().m_NextPersonButton->isEnabled());
}

TEST_F(CalendarTest, NamesThatAreRefused) {
    CreateFrame();
    Enter(20, "x", 1, 0);
    struct {
        const char* text;
        bool valid;
    } const rows[] = {{"", false},       {" Anna", false}, {"Anna Maria", true},
                      {"Anna   ", true}, {"#1", false},    {"Jo=Ann", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Calendar().m_NameEdit->setText(row.text);
        EXPECT_EQ(Calendar().IsNameValid(), row.valid);
    }
    EXPECT_EQ(Name(), "Jo=Ann") << "set here past the field's own rule";
    Calendar().m_NameEdit->setText("Anna   ");
    Calendar().IsNameValid();
    EXPECT_EQ(Name(), "Anna") << "trailing blanks are dropped";
}

TEST_F(CalendarTest, OkWithAnInvalidNameBeepsAndKeepsThePage) {
    CreateFrame();
    Enter(20, " Anna", 1, 0);
    ClickOk();
    EXPECT_EQ(Recorder().m_Beeps, 1);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    EXPECT_EQ(m_Frame->focusWidget(), Calendar().m_NameEdit);
    EXPECT_EQ(DataFile(), "");
}

TEST_F(CalendarTest, GenderAndOkAnswerOnlyInTheirMode) {
    CreateFrame();
    for (QWidget* child : m_Frame->findChildren<QWidget*>()) {
        if (auto* gender = dynamic_cast<tGenderButton*>(child)) {
            gender->show(); // hidden on its page; a click that reaches it still does nothing
            QTest::mouseClick(gender, Qt::LeftButton);
        }
    }
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    EXPECT_EQ(Calendar().m_Gender, "");
    ClickOk();
    EXPECT_EQ(Recorder().m_Beeps, 0);
}

TEST_F(CalendarTest, ASaveTheFileRefusesLosesNothing) {
    CreateFrame("[20-06]\nAnna=f002\n");
    chmod("Cal_Data/DataFile.txt", 0444);
    Enter(20, "Bert", 1, 1);
    EXPECT_FALSE(Calendar().SavePerson());
    ASSERT_EQ(Recorder().m_Messages.size(), 1u);
    EXPECT_NE(Recorder().m_Messages[0].find(m_Scratch->Path() + "/Cal_Data/DataFile.txt"),
              std::string::npos)
        << Recorder().m_Messages[0];
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    EXPECT_EQ(Name(), "Bert");
    EXPECT_EQ(Calendar().m_PictureNumber, 1);
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\n");
}

TEST_F(CalendarTest, ADeleteTheFileRefusesIsReported) {
    CreateFrame("[20-06]\nAnna=f002\n");
    Calendar().SelectDay(20);
    chmod("Cal_Data/DataFile.txt", 0444);
    EXPECT_FALSE(Calendar().DeletePerson());
    EXPECT_EQ(Recorder().m_Messages.size(), 1u);
    EXPECT_EQ(Name(), "Anna");
}

TEST_F(CalendarTest, ADayWhoseListIsFullTakesNoOneMore) {
    std::string file = "[20-06]\n";
    for (int i = 0; i < 21; ++i)
        file += std::string(45, 'a' + i) + "=f001\n"; // 21 x 46 = 966 bytes of names
    CreateFrame(file);
    Enter(20, QString(49, 'z'), 1, 0);
    EXPECT_FALSE(Calendar().SavePerson());
    EXPECT_EQ(DataFile(), file) << "the name that could not be seen is taken out again";
    ASSERT_EQ(Recorder().m_Messages.size(), 1u);
    EXPECT_EQ(Recorder().m_Messages[0], "There is no room for another name on this day.");
}

TEST_F(CalendarTest, PicturesWrapAroundPerGender) {
    CreateFrame();
    Calendar().SetGender("m");
    Calendar().SetPicture(0);
    const int men = Calendar().m_MalePictures;
    Calendar().PreviousPicture();
    EXPECT_EQ(Calendar().m_PictureNumber, men - 1);
    Calendar().NextPicture();
    EXPECT_EQ(Calendar().m_PictureNumber, 0);
    Calendar().SetGender("f");
    Calendar().SetPicture(Calendar().m_FemalePictures + 3);
    EXPECT_EQ(Calendar().m_PictureNumber, 0);
    EXPECT_TRUE(Recorder().m_Messages.empty());
}

TEST_F(CalendarTest, AGenderWithoutPicturesKeepsTheView) {
    CreateFrame();
    std::filesystem::remove_all("Cal_Data/Images");
    std::filesystem::create_directory("Cal_Data/Images");
    EXPECT_EQ(Calendar().m_MalePictures, 18) << "counted when the main window object was made";
    tCalendar calendar; // counts again, in a folder without pictures
    EXPECT_EQ(calendar.m_MalePictures, 0);
    EXPECT_EQ(calendar.CountPictures("m"), 0);
    Calendar().m_MalePictures = 0;
    const QImage before = Calendar().m_PictureView->grab().toImage();
    Calendar().SetGender("m");
    Calendar().PreviousPicture();
    EXPECT_EQ(Calendar().m_PictureNumber, -1);
    ASSERT_FALSE(Recorder().m_Messages.empty());
    EXPECT_EQ(Recorder().m_Messages.back(), "Failed to open file Cal_Data\\Images\\m-01.bmp\n");
    EXPECT_TRUE(Calendar().m_PictureView->grab().toImage() == before)
        << "the view keeps its picture";
}

TEST_F(CalendarTest, DaysOfNoticeAreClampedWithTheirUnit) {
    CreateFrame();
    struct {
        int set;
        int days;
        const char* unit;
    } const rows[] = {
        {0, 1, "day"}, {2, 2, "days"}, {15, 14, "days"}, {1, 1, "day"}, {-5, 1, "day"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.set);
        Calendar().SetNotifyDays(row.set);
        EXPECT_EQ(Calendar().m_NotifyDays, row.days);
        EXPECT_EQ(Calendar().m_DaysNumberLabel->GetWindowText(), std::to_string(row.days));
        EXPECT_EQ(Calendar().m_DaysUnitLabel->GetWindowText(), row.unit);
    }
}

TEST_F(CalendarTest, DatesFollowTheLanguage) {
    CreateFrame("[05-03]\nLena=f011\n[settings]\nlanguage=4\n");
    Calendar().SelectMonth(3);
    Calendar().SelectDay(5);
    EXPECT_EQ(DateText(), "5 M\xE4rz");
    g_LanguageString.SetLanguage(1);
    Calendar().SelectDay(5);
    EXPECT_EQ(DateText(), "March 5");
}

} // namespace
