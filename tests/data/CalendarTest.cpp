// The calendar logic with real controls over a data file in a scratch Cal_Data.
#include "controls/tColourEdit.h"
#include "controls/tDayCell.h"
#include "controls/tGenderButton.h"
#include "controls/tOkButton.h"
#include "controls/tPersonStepButton.h"
#include "controls/tWeekdayHeader.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "tests/support/AppTestSupport.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace TestSupport;

namespace {

class CalendarTest : public tFrameTest {
protected:
    int Kind(int cell) { return Calendar().m_DayCells[cell]->m_Kind; }
    std::string DateText() { return Calendar().m_DateLabel->GetWindowText(); }
    std::string Name() { return Calendar().m_NameEdit->GetWindowText(); }
    bool HeaderMarked(int weekday) {
        return Calendar().m_WeekdayHeaders[weekday]->m_Looks[tOwnerDrawButton::kDisabled].m_Frame;
    }
    // Enters a new person as a user does: a double click on the day, the name, the gender and
    // pictureSteps steps to later pictures.
    void Enter(int day, const QString& name, int gender, int pictureSteps) {
        QApplication::setDoubleClickInterval(500);
        for (uint32_t tick : {100000u, 100200u}) {
            Clock::SetTickCount(tick);
            QTest::mouseClick(Calendar().m_DayCells[day + Calendar().m_FirstWeekday],
                              Qt::LeftButton);
        }
        ASSERT_EQ(m_Frame->m_Mode, tMainFrame::kModeGender);
        Calendar().m_NameEdit->setText(name);
        QTest::mouseClick(Controls<tGenderButton>(m_Frame.get(), gender).front(), Qt::LeftButton);
        for (int i = 0; i < pictureSteps; ++i)
            Calendar().NextPicture();
    }
    void ClickOk() {
        QTest::mouseClick(Controls<tOkButton>(m_Frame.get()).front(), Qt::LeftButton);
    }
};

TEST_F(CalendarTest, TheGridOfAMonth) {
    CreateFrame();
    struct {
        const char* name;
        int month, firstWeekday, firstCell, lastCell;
    } const rows[] = {
        {"February 2026 begins on a Sunday and always has 29 days", 2, 0, 1, 29},
        {"August 2026 begins on a Saturday and has 31 days", 8, 6, 7, 37},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Calendar().SelectMonth(row.month);
        EXPECT_EQ(Calendar().m_FirstWeekday, row.firstWeekday);
        for (int cell = 1; cell <= 42; ++cell) {
            const bool day = cell >= row.firstCell && cell <= row.lastCell;
            const int number = cell - row.firstCell + 1;
            const std::string text = {char(day ? '0' + number / 10 : ' '),
                                      char(day ? '0' + number % 10 : ' ')};
            EXPECT_EQ(Calendar().m_DayCells[cell]->isEnabled(), day) << cell;
            EXPECT_EQ(Calendar().m_DayCells[cell]->m_Looks[0].m_Text, text);
        }
    }
}

TEST_F(CalendarTest, OneDayIsSelectedTheFirstCellIncluded) {
    CreateFrame();
    Calendar().SelectMonth(2); // February 2026 begins on a Sunday: the 1st is the first cell
    auto selected = [&] {
        std::string cells;
        for (int cell = 1; cell <= 42; ++cell)
            if (Calendar().m_DayCells[cell]->m_Selected)
                cells += std::to_string(cell) + " ";
        return cells;
    };
    Calendar().SelectDay(1);
    EXPECT_EQ(selected(), "1 ");
    Calendar().SelectDay(9);
    EXPECT_EQ(selected(), "9 ");
    Calendar().SelectDay(-1);
    EXPECT_EQ(selected(), "");
}

TEST_F(CalendarTest, TodayIsMarkedOnlyInTheCurrentMonth) {
    CreateFrame("[14-06]\nAnna=f001\n[15-06]\nBert=m002\n");
    // 14 June 2026 is a Sunday; June begins on a Monday.
    EXPECT_EQ(Kind(15), tDayCell::kTodayBirthday);
    EXPECT_EQ(Kind(16), tDayCell::kBirthday);
    EXPECT_EQ(Kind(17), tDayCell::kDay);
    for (int weekday = 1; weekday <= 7; ++weekday)
        EXPECT_EQ(HeaderMarked(weekday), weekday == 1);
    Calendar().SelectMonth(7);
    for (int cell = 1; cell <= 42; ++cell)
        EXPECT_NE(Kind(cell), tDayCell::kToday);
    for (int weekday = 1; weekday <= 7; ++weekday)
        EXPECT_FALSE(HeaderMarked(weekday));
}

TEST_F(CalendarTest, StepsThroughTheDaysPeopleBothWays) {
    CreateFrame("[03-06]\nAnna=f002\nBert=M001\nCarl=x\nDan=m004\n");
    Calendar().SelectDay(3);
    EXPECT_EQ(Name(), "Anna");
    EXPECT_TRUE(Calendar().m_NextPersonButton->isEnabled());
    Calendar().PreviousPerson();
    EXPECT_EQ(Name(), "Dan") << "back from the first is the last";
    EXPECT_EQ(Calendar().m_Gender + std::to_string(Calendar().m_PictureNumber), "m4");
    Calendar().PreviousPerson();
    EXPECT_EQ(Name(), "Carl");
    EXPECT_EQ(Calendar().m_Gender + std::to_string(Calendar().m_PictureNumber), "f0")
        << "a value that is no picture name reads as a woman";
    Calendar().NextPerson();
    Calendar().NextPerson();
    Calendar().NextPerson();
    EXPECT_EQ(Name(), "Bert") << "on from the last is the first, then the second";
    EXPECT_EQ(Calendar().m_Gender + std::to_string(Calendar().m_PictureNumber), "m1");
    EXPECT_EQ(DateText(), "June 3");
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
    EXPECT_EQ(Kind(4), tDayCell::kDay);
    // With nobody shown there is nothing to delete.
    Calendar().SelectDay(4);
    EXPECT_TRUE(Calendar().DeletePerson());
    EXPECT_EQ(DataFile(), "[settings]\nnotify_days=3\n");
    EXPECT_TRUE(Recorder().m_Messages.empty());
}

// Two names beyond the code page that read alike in it ("Zo?") are two people: each is
// shown as stored, with its own picture, and a delete takes only the one shown.
TEST_F(CalendarTest, LookAlikeNamesStayTwoPeople) {
    const std::string file = "[03-06]\nZo\u0119=f001\nZo\u0105=f002\nAnna=f003\n";
    const struct {
        int m_Index;
        const char* m_Shown; // UTF-8
        int m_Picture;
        const char* m_Left; // the file after deleting that person
    } rows[] = {
        {0, "Zo\u0119", 1, "[03-06]\nZo\u0105=f002\nAnna=f003\n"},
        {1, "Zo\u0105", 2, "[03-06]\nZo\u0119=f001\nAnna=f003\n"},
        {2, "Anna", 3, "[03-06]\nZo\u0119=f001\nZo\u0105=f002\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Shown);
        CreateFrame(file);
        Calendar().SelectDay(3);
        for (int step = 0; step < row.m_Index; ++step)
            Calendar().NextPerson();
        EXPECT_EQ(Calendar().m_NameEdit->text(), QString::fromUtf8(row.m_Shown));
        EXPECT_EQ(Calendar().m_PictureNumber, row.m_Picture);
        ASSERT_TRUE(Calendar().DeletePerson());
        EXPECT_EQ(DataFile(), row.m_Left);
        TearDown();
    }
    // The reminder shows the stored name too.
    CreateFrame(file);
    const std::vector<tDataFile::tEntry> people = Calendar().m_DataFile.ReadEntries(6, 3);
    ASSERT_EQ(people.size(), 3u);
    Calendar().RaiseAlarm(6, 3, people[1].m_Name, people[1].m_Picture, people[1].m_Exact);
    EXPECT_EQ(m_Frame->m_AlarmFrame.m_NameLabel->accessibleName(), QString::fromUtf8("Zo\u0105"));
    EXPECT_EQ(m_Frame->m_AlarmFrame.m_PicturePath, "Cal_Data\\Images\\f002.bmp");
}

TEST_F(CalendarTest, NamesThatAreRefused) {
    CreateFrame();
    Enter(20, "x", 1, 0);
    for (const auto& [text, valid] : {std::pair{"", false},
                                      {" Anna", false},
                                      {"#1", false}, // a day beginning with it reads as empty
                                      {"Jo=Ann", false},
                                      {"Anna Maria", true},
                                      {"Anna   ", true}}) {
        SCOPED_TRACE(text);
        Calendar().m_NameEdit->setText(text);
        EXPECT_EQ(Calendar().IsNameValid(), valid);
    }
    EXPECT_EQ(Name(), "Anna") << "trailing blanks are dropped";
    Calendar().m_NameEdit->setText(" Anna");
    Recorder().m_Beeps = 0;
    ClickOk();
    EXPECT_EQ(Recorder().m_Beeps, 1);
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    EXPECT_EQ(m_Frame->focusWidget(), Calendar().m_NameEdit);
    EXPECT_EQ(DataFile(), "");
}

TEST_F(CalendarTest, GenderAndOkAnswerOnlyInTheirMode) {
    CreateFrame();
    for (tGenderButton* gender : Controls<tGenderButton>(m_Frame.get())) {
        gender->show(); // hidden on its page; a click that reaches it still does nothing
        QTest::mouseClick(gender, Qt::LeftButton);
    }
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
    EXPECT_EQ(Calendar().m_Gender, "");
    ClickOk();
    EXPECT_EQ(Recorder().m_Beeps, 0);
}

TEST_F(CalendarTest, WhatTheFileRefusesIsReportedWithItsCauseAndNothingIsLost) {
    CreateFrame("[20-06]\nAnna=f002\n");
    const std::string file = m_Scratch->Path() + "/Cal_Data/DataFile.txt";
    Calendar().SelectDay(20);
    chmod("Cal_Data/DataFile.txt", 0444);
    EXPECT_FALSE(Calendar().DeletePerson());
    EXPECT_EQ(Name(), "Anna");
    Enter(20, "Bert", 1, 1);
    ClickOk();
    const std::string cause = "\n" + file + ", or its folder, may not be written.";
    EXPECT_EQ(Recorder().m_Messages,
              (std::vector<std::string>{"The birthday could not be deleted." + cause,
                                        "The birthday could not be saved." + cause}));
    EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModePicture);
    EXPECT_EQ(Name() + " " + std::to_string(Calendar().m_PictureNumber), "Bert 1");
    EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\n");
}

TEST_F(CalendarTest, EnteringAPersonCanBeLeftWithNothingWritten) {
    struct {
        const char* name;
        std::function<void()> leave;
        int month, selectedDay;
    } const rows[] = {
        {"Esc", [this] { QTest::keyClick(Calendar().m_NameEdit, Qt::Key_Escape); }, 6, 20},
        {"a month", [this] { Calendar().SelectMonth(7); }, 7, -1},
        {"another day",
         [this] {
             QTest::mouseClick(Calendar().m_DayCells[3 + Calendar().m_FirstWeekday],
                               Qt::LeftButton);
         },
         6, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CreateFrame("[20-06]\nAnna=f002\nBea=f001\n");
        Enter(20, "Bert", 1, 1);
        EXPECT_FALSE(Calendar().m_NextPersonButton->isEnabled()) << "no stepping while entering";
        Calendar().NextPerson();
        QTest::mouseClick(Calendar().m_NextPersonButton, Qt::LeftButton);
        EXPECT_EQ(Name(), "Bert");
        row.leave();
        EXPECT_EQ(m_Frame->m_Mode, tMainFrame::kModeBrowse);
        EXPECT_EQ(Calendar().m_Month, row.month);
        EXPECT_EQ(Calendar().m_SelectedDay, row.selectedDay);
        EXPECT_EQ(Name(), row.selectedDay == 20 ? "Anna" : "");
        EXPECT_EQ(DataFile(), "[20-06]\nAnna=f002\nBea=f001\n");
        EXPECT_TRUE(Recorder().m_Messages.empty());
        TearDown();
    }
}

TEST_F(CalendarTest, ReplacingAndDeletingAskFirst) {
    CreateFrame("[20-06]\nAnna=f002\n");
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "yes" : "no");
        Recorder().m_Answer = answer;
        Enter(20, "anna", 1, 3);
        ClickOk();
        EXPECT_EQ(Recorder().m_Questions.back(),
                  "Anna already has a birthday on June 20. Replace it with the new entry?");
        EXPECT_EQ(m_Frame->m_Mode, answer ? tMainFrame::kModeBrowse : tMainFrame::kModePicture);
        EXPECT_EQ(DataFile(), answer ? "[20-06]\nAnna=m003\n" : "[20-06]\nAnna=f002\n");
        Calendar().CancelEntry();
    }
    Calendar().SelectDay(20);
    for (bool answer : {false, true}) {
        Recorder().m_Answer = answer;
        EXPECT_EQ(Calendar().DeletePerson(), answer);
        EXPECT_EQ(Recorder().m_Questions.back(), "Delete the birthday of Anna on June 20?");
        EXPECT_EQ(DataFile(), answer ? "" : "[20-06]\nAnna=m003\n");
    }
}

TEST_F(CalendarTest, ALongNameShowsItsBeginningAndAllOfItInTheTip) {
    const std::string name = "Maria Dolores Fern\xE1ndez de la Cruz n\xE9"
                             "e M\xFCller N\xFA\xF1"
                             "ez";
    CreateFrame("[20-06]\n" + name + "=f002\n");
    Calendar().m_NameEdit->resize(60, 20);
    Calendar().SelectDay(20);
    EXPECT_EQ(Calendar().m_NameEdit->cursorPosition(), 0);
    EXPECT_EQ(FromQString(Calendar().m_NameEdit->toolTip()), name);
}

TEST_F(CalendarTest, ADayWhoseListIsFullTakesNoOneMore) {
    std::string file = "[20-06]\n";
    for (int i = 0; i < 21; ++i)
        file += std::string(45, 'a' + i) + "=f001\n"; // 21 x 46 = 966 bytes of names
    CreateFrame(file);
    Enter(20, QString(49, 'z'), 1, 0);
    EXPECT_FALSE(Calendar().SavePerson());
    EXPECT_EQ(DataFile(), file) << "the name that could not be seen is taken out again";
    EXPECT_EQ(Recorder().m_Messages,
              std::vector<std::string>{"There is no room for another name on this day."});
}

TEST_F(CalendarTest, PicturesWrapAroundPerGender) {
    CreateFrame();
    Calendar().SetGender("m");
    Calendar().SetPicture(0);
    Calendar().PreviousPicture();
    EXPECT_EQ(Calendar().m_PictureNumber, Calendar().m_MalePictures - 1);
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
    EXPECT_EQ(tCalendar().m_MalePictures, 0) << "counted again in a folder without pictures";
    Calendar().m_MalePictures = 0;
    Calendar().SetGender("");
    const QImage standIn = Calendar().m_PictureView->grab().toImage();
    for (int round = 0; round < 2; ++round) {
        Calendar().SetGender("m");
        Calendar().PreviousPicture();
    }
    EXPECT_EQ(Calendar().m_PictureNumber, -1);
    EXPECT_EQ(Recorder().m_Messages,
              (std::vector<std::string>{
                  "The picture Cal_Data/Images/m000.bmp is missing; the default picture is "
                  "shown instead.",
                  "The picture Cal_Data/Images/m-01.bmp is missing; the default picture is "
                  "shown instead."}))
        << "one message for each missing picture";
    EXPECT_TRUE(Calendar().m_PictureView->grab().toImage() == standIn)
        << "the default picture, never the one shown before";
}

TEST_F(CalendarTest, DaysOfNoticeAreClampedWithTheirUnit) {
    CreateFrame();
    for (const auto& [set, shown] :
         {std::pair{0, "1 day"}, {2, "2 days"}, {15, "14 days"}, {-5, "1 day"}}) {
        SCOPED_TRACE(set);
        Calendar().SetNotifyDays(set);
        EXPECT_EQ(Calendar().m_DaysNumberLabel->GetWindowText() + " " +
                      Calendar().m_DaysUnitLabel->GetWindowText(),
                  shown);
    }
}

} // namespace
